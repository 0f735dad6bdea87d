// The option dispatcher, its setters and their error texts.
#include "support/transcoder_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/system/Paths.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

using namespace transcodertest;
using enginetest::TLogCapture;

TEST(TranscoderOptions, BooleansAndFlags)
{
    auto t = NewTranscoder();
    t->SetOption("copyts", "0");
    EXPECT_TRUE(t->Fcopy_ts);
    t->SetOption("shortest", "1");
    EXPECT_TRUE(t->Fopt_shortest);
    t->SetOption("shortest", "0");
    EXPECT_FALSE(t->Fopt_shortest);
    t->SetOption("shortest", "");
    EXPECT_TRUE(t->Fopt_shortest);
    t->SetOption("xerror", "0");
    EXPECT_TRUE(t->Fexit_on_error);
    t->SetOption("an", "yes");
    EXPECT_TRUE(t->Faudio_disable);
    t->SetOption("vol", "-5");
    EXPECT_EQ(t->Faudio_volume, -5);
    t->SetOption("muxdelay", "0.25");
    EXPECT_FLOAT_EQ(t->Fmux_max_delay, 0.25f);
    t->SetOption("vframes", "12");
    EXPECT_EQ(t->Fmax_frames[AVMEDIA_TYPE_VIDEO], 12);
}

TEST(TranscoderOptions, ErrorTexts)
{
    auto t = NewTranscoder();
    t->SetOption("s", "320x240");
    t->SetOption("r", "25");
    struct {
        const char* Name;
        const char* Value;
        const char* Message;
    } cases[] = {
        {"croptop", "240", "Vertical crop dimensions are outside the range of the original image.\n"
                           "Remember to crop first and scale second."},
        {"cropleft", "400", "Horizontal crop dimensions are outside the range of the original image.\n"
                            "Remember to crop first and scale second."},
        {"aspect", "16:0", "Incorrect aspect ratio specification."},
        {"aspect", "abc", "Incorrect aspect ratio specification."},
        {"metadata", "title", "Missing ="},
        {"itsscale", "20:2", "stream index over MAX_STREAMS(20)"},
        {"vtag", "XVI", "video tag parameter must be 4 chars"},
        {"atag", "mp3ab", "audio tag parameter must be 4 chars"},
        {"stag", "x", "subtitle tag parameter must be 4 chars"},
        {"r", "abc", "Incorrect frame rate"},
        {"s", "big", "Incorrect frame size"},
        {"pix_fmt", "nope", "Unknown pixel format requested: nope"},
        {"threads", "2", "TODO: option - threads"},
        {"padtop", "2", "Please use vfilters=pad"},
        {"padcolor", "2", "Please use vfilters=pad"},
        {"qscale", "0", "qscale must be > 0.0 and <= 255"},
        {"qscale", "256", "qscale must be > 0.0 and <= 255"},
        {"pass", "3", "pass number can be only 1 or 2"},
        {"streamid", "1", "Invalid value \"1\" for option \"streamid\", required syntax is \"index:value\""},
        {"streamid", ":5", "Invalid value \":5\" for option \"streamid\", required syntax is \"index:value\""},
        {"streamid", "20:5", "Invalid stream index 20 for option \"streamid\": it must be 0 to 19"},
        {"t", "abc", "Invalid duration specification for t: abc"},
        {"timestamp", "not a date", "Invalid date specification for timestamp: not a date"},
        {"absf", "nonexistent_bsf", "Unknown bitstream filter nonexistent_bsf"},
        {"newvideo", "", "At least one output file must be specified"},
        {"newaudio", "", "At least one output file must be specified"},
        {"vhook", "libnothing.so", "Failed to add video hook function: libnothing.so"},
        {"intra_matrix", "1,2,3", "Syntax error in matrix \"1,2,3\" at coeff 2"},
        {"target", "DVD", "Unknown target type"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectFails([&] { t->SetOption(c.Name, c.Value); }, c.Message);
    }
    EXPECT_EQ(t->Fframe_height, 240);  // failing options leave the fields alone
    EXPECT_EQ(t->Fframe_width, 320);
    ExpectFails([&] { t->SetOption("vframes", "many"); },
                "'many' is not a valid integer value");
}

TEST(TranscoderOptions, CropsReduceTheFrameSize)
{
    auto t = NewTranscoder();
    t->SetOption("s", "320*240");
    t->SetOption("croptop", "0");
    t->SetOption("cropbottom", "-4");
    EXPECT_EQ(t->Fframe_height, 240);
    t->SetOption("croptop", "8");
    t->SetOption("cropright", "20");
    EXPECT_EQ(t->Fframe_height, 232);
    EXPECT_EQ(t->Fframe_topBand, 8);
    EXPECT_EQ(t->Fframe_width, 300);
    EXPECT_EQ(t->Fframe_rightBand, 20);
}

TEST(TranscoderOptions, ParsedValues)
{
    auto t = NewTranscoder();
    t->SetOption("aspect", "16:9");
    EXPECT_FLOAT_EQ(t->Fframe_aspect_ratio, 16.0f / 9.0f);
    t->SetOption("aspect", "1.5");
    EXPECT_FLOAT_EQ(t->Fframe_aspect_ratio, 1.5f);
    t->SetOption("r", "ntsc");
    EXPECT_EQ(t->Fframe_rate.num, 30000);
    EXPECT_EQ(t->Fframe_rate.den, 1001);
    t->SetOption("r", "29.97");
    EXPECT_NEAR(double(t->Fframe_rate.num) / t->Fframe_rate.den, 29.97, 1e-6);
    t->SetOption("s", "vga");
    EXPECT_EQ(t->Fframe_width, 640);
    t->SetOption("itsscale", "19:2");
    EXPECT_EQ(t->Finput_files_ts_scale[0][19], 2.0);
    t->SetOption("vtag", "XVID");
    EXPECT_EQ(t->Fvideo_codec_tag, 0x44495658u);
    t->SetOption("t", "1:02:03.5");
    EXPECT_EQ(t->Frecording_time, 3723500000);
    EXPECT_EQ(t->FTotalOutputDuration, 3723500000);
    t->SetOption("ss", "2.5");
    EXPECT_EQ(t->Fstart_time, 2500000);
    t->SetOption("timestamp", "2010-01-02T03:04:05Z");
    EXPECT_EQ(t->Frecording_timestamp, 1262401445);
    t->SetOption("map", "0x1.2");
    t->SetOption("map", "0.1:1.0");
    ASSERT_EQ(t->Fnb_stream_maps, 2);
    EXPECT_EQ(t->Fstream_maps[0].file_index, 1);
    EXPECT_EQ(t->Fstream_maps[0].stream_index, 2);
    EXPECT_EQ(t->Fstream_maps[0].sync_file_index, 1);
    EXPECT_EQ(t->Fstream_maps[1].sync_file_index, 1);
    EXPECT_EQ(t->Fstream_maps[1].sync_stream_index, 0);
    t->SetOption("map_meta_data", "0:1");
    EXPECT_EQ(t->Fmeta_data_maps[0].in_file, 1);
    t->SetOption("streamid", "2:7");
    EXPECT_EQ(t->Fstreamid_map[2], 7);
    String m;
    for (int i = 0; i < 64; ++i) m += (i ? "," : "") + std::to_string(i + 1);
    t->SetOption("intra_matrix", m);
    ASSERT_EQ(t->Fintra_matrix.size(), 64u);
    EXPECT_EQ(t->Fintra_matrix[63], 64);
    t->SetOption("vbsf", "h264_mp4toannexb");
    EXPECT_EQ(t->Fvideo_bitstream_filters.size(), 1u);
    t->SetOption("metadata", "title=a=b");
    EXPECT_EQ(t->Fmetadata.back(), (std::pair<String, String>{"title", "a=b"}));
    t->SetOption("f", "pgmyuv");
    EXPECT_EQ(t->Flast_asked_format, "image2");
    EXPECT_EQ(t->Fpgmyuv_compatibility_hack, 1);
    t->SetOption("vstats", "0");
    EXPECT_NE(t->Fvstats_filename.find("vstats_"), String::npos);
}

TEST(TranscoderOptions, TheDefaultStatisticsFileIsNamedByTheTimeOfDayInAWritableFolder)
{
    auto t = NewTranscoder();
    // The program's folder cannot be written (here: it is not there at all): the home
    // folder takes the file.
    const String dir = enginetest::ScratchFolder();
    std::filesystem::create_directory(dir + "home");
    const char* oldHome = getenv("HOME");
    const String savedHome = oldHome ? oldHome : "";
    setenv("HOME", (dir + "home").c_str(), 1);
    SetProgramFolder(dir + "prog");
    std::time_t now = std::time(nullptr);
    t->SetOption("vstats", "1");
    SetProgramFolder("");
    setenv("HOME", savedHome.c_str(), 1);
    const String name = t->Fvstats_filename;
    ASSERT_EQ(name.rfind(dir + "home/vstats_", 0), 0u) << name;
    // hhnnss of the local time, within a few seconds of now.
    const String stamp = name.substr(name.size() - 10, 6);
    ASSERT_EQ(name.substr(name.size() - 4), ".log");
    EXPECT_NE(stamp, "000000");
    std::tm local{};
    localtime_r(&now, &local);
    const int got = std::stoi(stamp.substr(0, 2)) * 3600 + std::stoi(stamp.substr(2, 2)) * 60 + std::stoi(stamp.substr(4, 2));
    const int want = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    EXPECT_LE(std::abs(got - want) % (24 * 3600), 5) << stamp;
}

TEST(TranscoderOptions, CodecChoicesAndCopyFlags)
{
    auto t = NewTranscoder();
    t->SetOption("vcodec", "copy");
    t->SetOption("vcodec", "mpeg4");
    EXPECT_EQ(t->Fvideo_stream_copy, 1);
    EXPECT_EQ(t->Fvideo_codec_name, "mpeg4");
    t->SetOption("acodec", "");
    t->SetOption("acodec", "libfaac");
    EXPECT_EQ(t->Faudio_codec_name, "libfaac");
}

TEST(TranscoderOptions, ListsAndUnknownNames)
{
    auto t = NewTranscoder();
    TLogCapture log;
    t->SetOption("pix_fmt", "list");
    EXPECT_EQ(t->Fframe_pix_fmt, AV_PIX_FMT_NONE);
    auto lines = log.Lines();
    ASSERT_GT(lines.size(), 60u);
    EXPECT_TRUE(log.Contains("yuv420p"));
    size_t before = log.Lines().size();
    t->SetOption("no_such_option_anywhere", "1");
    t->SetOption("b", "800k");
    EXPECT_EQ(log.Lines().size(), before);
    t->SetOption("ab", "64");
    EXPECT_TRUE(log.Contains("WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s"));
    t->SetOption("formats", "");
    EXPECT_TRUE(log.Contains("Do nothing: option - formats"));
}

TEST(TranscoderOptions, FindCodecWithAliases)
{
    auto t = NewTranscoder();
    struct {
        const char* Name;
        AVMediaType Type;
        bool Encoder;
        int Strict;
        bool Result;
        AVCodecID Id;
        const char* Message;
    } cases[] = {
        {"", AVMEDIA_TYPE_VIDEO, true, 0, true, AV_CODEC_ID_NONE, ""},
        {"libfaac", AVMEDIA_TYPE_AUDIO, true, 0, true, AV_CODEC_ID_AAC, ""},
        {"libamr_nb", AVMEDIA_TYPE_AUDIO, true, 0, true, AV_CODEC_ID_AMR_NB, ""},
        {"msmpeg4v1", AVMEDIA_TYPE_VIDEO, true, 0, true, AV_CODEC_ID_MSMPEG4V2, ""},
        {"libx264", AVMEDIA_TYPE_VIDEO, true, 0, true, AV_CODEC_ID_H264, ""},
        {"msmpeg4v1", AVMEDIA_TYPE_VIDEO, false, 0, true, AV_CODEC_ID_MSMPEG4V1, ""},
        {"nope", AVMEDIA_TYPE_VIDEO, true, 0, false, AV_CODEC_ID_NONE, "Unknown encoder 'nope'"},
        {"libfaac", AVMEDIA_TYPE_AUDIO, false, 0, false, AV_CODEC_ID_NONE, "Unknown decoder 'libfaac'"},
        {"mp2", AVMEDIA_TYPE_VIDEO, true, 0, false, AV_CODEC_ID_NONE, "Invalid encoder type 'mp2'"},
        {"vorbis", AVMEDIA_TYPE_AUDIO, true, 0, false, AV_CODEC_ID_NONE,
         "encoder 'vorbis' is experimental and might produce bad results.\r\n"
         "Add '-strict experimental' if you want to use it.\r\n"
         "Or use the non experimental encoder 'libvorbis'."},
        {"vorbis", AVMEDIA_TYPE_AUDIO, true, -2, true, AV_CODEC_ID_VORBIS, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        AVCodecID id = AV_CODEC_ID_PROBE;
        t->FLastErrMsg.clear();
        EXPECT_EQ(t->FindCodec(c.Name, c.Type, id, c.Strict, c.Encoder), c.Result);
        EXPECT_EQ(id, c.Id);
        EXPECT_EQ(t->LastErrMsg(), c.Message);
    }
    EXPECT_EQ(CodecAlias("libfaac"), "aac");
    EXPECT_EQ(CodecAlias("mpeg4"), "mpeg4");
}
