// Targets and encoder presets.
#include "support/transcoder_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <fstream>

using namespace transcodertest;
using enginetest::TLogCapture;

namespace {
int64_t StoredInt(TCustomFFmpeg& T, const char* AName)
{
    int64_t v = -1;
    AV.av_opt_get_int(T.FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO], AName, 0, &v);
    return v;
}

void WriteFile(const String& AName, const String& AText)
{
    std::ofstream(AName, std::ios::binary) << AText;
}
}  // namespace

TEST(TranscoderPresets, BuiltinTableSpeaksTheCurrentWrapper)
{
    const auto& presets = BuiltinPresets();
    ASSERT_EQ(presets.size(), 36u);
    EXPECT_EQ(presets.front().Name, "libx264-baseline");
    EXPECT_EQ(presets.back().Name, "libx264-veryslow_firstpass");
    for (const auto& p : presets) {
        SCOPED_TRACE(p.Name);
        for (const char* gone : {"directpred", "flags2", "cqp=", "parti8x8", "partp8x8", "partb8x8", "mixed_refs"})
            EXPECT_EQ(p.Value.find(gone), String::npos) << gone;
    }
    String def = FindBuiltinPreset("LIBX264-Default");
    EXPECT_EQ(def.substr(0, 8), "coder=1\n");
    EXPECT_NE(def.find("partitions=i8x8,i4x4,p8x8,b8x8\n"), String::npos);
    EXPECT_NE(def.find("direct-pred=1\n"), String::npos);
    EXPECT_NE(def.find("mixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\n"), String::npos);
    String ultra = FindBuiltinPreset("libx264-ultrafast");
    EXPECT_NE(ultra.find("partitions=none\n"), String::npos);
    EXPECT_NE(ultra.find("b-pyramid=none\n"), String::npos);
    EXPECT_NE(ultra.find("mbtree=0\n"), String::npos);
    EXPECT_NE(FindBuiltinPreset("libx264-lossless_fast").find("qp=0\n"), String::npos);
    EXPECT_EQ(FindBuiltinPreset("medium"), "");
}

// Every built-in preset applies and libx264 opens with it.
TEST(TranscoderPresets, EveryBuiltinPresetOpensTheEncoder)
{
    for (const auto& p : BuiltinPresets()) {
        SCOPED_TRACE(p.Name);
        auto t = NewTranscoder();
        ASSERT_TRUE(t->OpenInputFile(Media("slow.nut"))) << t->LastErrMsg();
        t->SetOption("vcodec", "libx264");
        ASSERT_NO_THROW(t->LoadPreset("vpre", p.Name));
        t->SetOption("an", "1");
        String out = enginetest::ScratchFolder() + "x.mp4";
        ASSERT_EQ(t->OpenOutputFile(out, false), 1) << t->LastErrMsg();
        AVCodecContext* enc = t->Foutput_streams[0][0].enc;
        ASSERT_NE(enc, nullptr);
        TCriticalSectionGuard lock(CodecLock);
        int err = AV.avcodec_open2(enc, enc->codec, nullptr);
        EXPECT_GE(err, 0) << AVErrorText(p.Name, err);
    }
}

TEST(TranscoderPresets, LoadPresetLookupsAndErrors)
{
    String dir = enginetest::ScratchFolder();
    WriteFile(dir + "good.ffpreset", "  vcodec=mpeg4\r\n\r\n  qmin=3\ng=12\n");
    WriteFile(dir + "bad_syntax.ffpreset", "g=12\nnovalue\n");
    WriteFile(dir + "bad_option.ffpreset", "g=12\nzzz_unknown=1\n");
    WriteFile(dir + "empty.ffpreset", "");

    auto t = NewTranscoder();
    t->LoadPreset("vpre", "LIBX264-MEDIUM");
    EXPECT_EQ(StoredInt(*t, "g"), 250);
    ExpectFails([&] { t->LoadPreset("vpre", "medium"); }, "Preset \"medium\" not found");
    t->SetOption("vcodec", "libx264");
    t->LoadPreset("vpre", "fast");  // finds libx264-fast
    EXPECT_EQ(StoredInt(*t, "refs"), 2);
    ExpectFails([&] { t->LoadPreset("fpre", "libx264-fast"); }, "Preset \"libx264-fast\" not found");
    t->LoadPreset("", "libx264-fast");
    t->LoadPreset("vpre", "");

    t->LoadPreset("fpre", dir + "good.ffpreset");
    EXPECT_EQ(t->Fvideo_codec_name, "mpeg4");
    EXPECT_EQ(StoredInt(*t, "g"), 12);
    t->LoadPreset("apre", dir + "empty.ffpreset");
    ExpectFails([&] { t->LoadPreset("vpre", dir + "bad_syntax.ffpreset"); },
                dir + "bad_syntax.ffpreset: Invalid syntax: \"novalue\"");
    ExpectFails([&] { t->LoadPreset("vpre", dir + "bad_option.ffpreset"); },
                dir + "bad_option.ffpreset: Invalid option or argument: \"zzz_unknown=1\", parsed as \"zzz_unknown\" = \"1\"");
}

TEST(TranscoderTargets, DiscTargetsByNorm)
{
    struct {
        const char* Target;
        const char* Norm;
        int Width, Height, RateNum, RateDen, Gop, SampleRate;
    } cases[] = {
        {"vcd", "pal", 352, 288, 25, 1, 15, 44100},
        {"vcd", "ntsc", 352, 240, 30000, 1001, 18, 44100},
        {"vcd", "film", 352, 240, 24000, 1001, 18, 44100},
        {"svcd", "pal", 480, 576, 25, 1, 15, 44100},
        {"svcd", "ntsc", 480, 480, 30000, 1001, 18, 44100},
        {"dvd", "pal", 720, 576, 25, 1, 15, 48000},
        {"dvd", "ntsc", 720, 480, 30000, 1001, 18, 48000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(String(c.Target) + " " + c.Norm);
        auto t = NewTranscoder();
        t->SetTarget(c.Target, c.Norm, "pal");
        EXPECT_EQ(t->Fframe_width, c.Width);
        EXPECT_EQ(t->Fframe_height, c.Height);
        EXPECT_EQ(t->Fframe_rate.num, c.RateNum);
        EXPECT_EQ(t->Fframe_rate.den, c.RateDen);
        EXPECT_EQ(StoredInt(*t, "g"), c.Gop);
        EXPECT_EQ(t->Faudio_sample_rate, c.SampleRate);
        EXPECT_EQ(t->Flast_asked_format, c.Target);
    }
    auto t = NewTranscoder();
    t->SetTarget("dv50", "ntsc", "pal");
    EXPECT_EQ(t->Fframe_pix_fmt, AV_PIX_FMT_YUV422P);
    t->SetTarget("dv", "ntsc", "pal");
    EXPECT_EQ(t->Fframe_pix_fmt, AV_PIX_FMT_YUV411P);
    EXPECT_EQ(t->Flast_asked_format, "dv");
}

TEST(TranscoderTargets, NormGuesses)
{
    auto t = NewTranscoder();
    ExpectFails([&] { t->SetTarget("vcd", "auto", "pal"); }, "frame_rate is invalid.");
    t->SetOption("r", "25");
    t->SetTarget("vcd", "auto", "ntsc");
    EXPECT_EQ(t->Fframe_height, 288);

    auto p = NewTranscoder();  // rate 10 set after a 25 fps input: the input decides
    ASSERT_TRUE(p->OpenInputFile(Media("vga.nut")));
    p->SetOption("r", "10");
    p->SetTarget("vcd", "auto", "ntsc");
    EXPECT_EQ(p->Fframe_height, 288);

    auto s = NewTranscoder();  // a 15 fps input decides nothing: the default norm
    ASSERT_TRUE(s->OpenInputFile(Media("slow.nut")));
    s->SetTarget("vcd", "auto", "ntsc");
    EXPECT_EQ(s->Fframe_height, 240);
    auto f = NewTranscoder();
    ASSERT_TRUE(f->OpenInputFile(Media("slow.nut")));
    f->SetTarget("vcd", "", "film");
    EXPECT_EQ(f->Fframe_rate.num, 24000);

    auto o = NewTranscoder();
    o->SetOption("target", " pal-svcd ");
    EXPECT_EQ(o->Fframe_height, 576);
    o->SetOption("target", "ntsc-dvd");
    EXPECT_EQ(o->Fframe_height, 480);
    ExpectFails([&] { o->SetOption("target", "film-nothing"); }, "Unknown target type");
}

TEST(TranscoderTargets, AspectDefaults)
{
    auto t = NewTranscoder();
    TLogCapture log;
    t->SetTarget("dvd", "pal", "pal");
    EXPECT_FLOAT_EQ(t->Fframe_aspect_ratio, 16.0f / 9.0f);
    EXPECT_TRUE(log.Contains("Assuming 16:9 for aspect ratio"));
    auto k = NewTranscoder();
    k->SetOption("aspect", "4:3");
    k->SetTarget("dvd", "pal", "pal");
    EXPECT_FLOAT_EQ(k->Fframe_aspect_ratio, 4.0f / 3.0f);
    auto v = NewTranscoder();
    v->SetTarget("vcd", "pal", "pal");
    EXPECT_FLOAT_EQ(v->Fframe_aspect_ratio, 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(v->Fmux_preload, 0.44f);
}
