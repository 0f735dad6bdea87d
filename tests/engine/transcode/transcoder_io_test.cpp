// Opening inputs and outputs, and the transcoder's life cycle around them.
#include "support/transcoder_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <filesystem>

using namespace transcodertest;
namespace fs = std::filesystem;

TEST(TranscoderInput, OptionFieldsTakeTheInputsParameters)
{
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("vga.nut"))) << t->LastErrMsg();
    EXPECT_EQ(t->Fframe_width, 640);
    EXPECT_EQ(t->Fframe_height, 480);
    EXPECT_EQ(t->Fframe_rate.num, 25);
    EXPECT_EQ(t->Fframe_rate.den, 1);
    EXPECT_FLOAT_EQ(t->Fframe_aspect_ratio, 4.0f / 3.0f);
    EXPECT_EQ(t->Fframe_pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(t->Fnb_input_files, 1);

    ASSERT_TRUE(t->OpenInputFile(Media("tone.wav")));
    EXPECT_EQ(t->Faudio_sample_rate, 44100);
    EXPECT_EQ(t->Faudio_channels, 2);
    EXPECT_EQ(t->Faudio_sample_fmt, AV_SAMPLE_FMT_S16);
    // the longest input gives the total duration
    EXPECT_NEAR(double(t->FTotalOutputDuration), 300000.0, 50000.0);
}

TEST(TranscoderInput, StartTimeSeeksAndOffsets)
{
    auto t = NewTranscoder();
    t->SetOption("ss", "10");
    ASSERT_TRUE(t->OpenInputFile(Media("late.nut")));
    int64_t start = t->Finput_files[0]->start_time;
    EXPECT_NEAR(double(start), 1400000.0, 1.0);
    EXPECT_EQ(t->Finput_files_ts_offset[0], -(10000000 + start));
    EXPECT_EQ(t->Fstart_time, 0);
}

TEST(TranscoderInput, Failures)
{
    auto t = NewTranscoder();
    String missing = Folder() + "missing.avi";
    EXPECT_FALSE(t->OpenInputFile(missing));
    EXPECT_EQ(t->LastErrMsg(), missing + ": No such file or directory");

    t->SetOption("programid", "5");
    EXPECT_FALSE(t->OpenInputFile(Media("prog.ts")));
    EXPECT_EQ(t->LastErrMsg(), "Specified program id not found");
    EXPECT_EQ(t->Fnb_input_files, 0);
    t->SetOption("programid", "1");
    EXPECT_TRUE(t->OpenInputFile(Media("prog.ts"))) << t->LastErrMsg();

    t->SetOption("acodec", "nope");
    EXPECT_FALSE(t->OpenInputFile(Media("av.avi")));
    EXPECT_EQ(t->LastErrMsg(), "Unknown decoder 'nope'");
    EXPECT_EQ(t->Faudio_codec_name, "");  // freed by the failure

    t->SetOption("f", "nope");
    ExpectFails([&] { t->OpenInputFile(Media("av.avi")); }, "Unknown input format: \"nope\"");
    EXPECT_EQ(t->Fnb_input_files, 1);

    auto one = NewTranscoder(1);
    ASSERT_TRUE(one->OpenInputFile(Media("tone.wav")));
    EXPECT_FALSE(one->OpenInputFile(Media("tone.wav")));
    EXPECT_EQ(one->LastErrMsg(), "max input files 1 reached");
}

TEST(TranscoderInput, DecoderChoicesKeepStreamPositions)
{
    auto t = NewTranscoder();
    t->SetOption("acodec", "mp2");
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    ASSERT_EQ(t->Fnb_icodecs, 2);
    EXPECT_EQ(t->Finput_codecs[0], nullptr);
    ASSERT_NE(t->Finput_codecs[1], nullptr);
    EXPECT_STREQ(t->Finput_codecs[1]->name, "mp2");
}

TEST(TranscoderOutput, GuessedStreamsFollowTheInputs)
{
    String dir = enginetest::ScratchFolder();
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    ASSERT_EQ(t->OpenOutputFile(dir + "out.avi", false), 1) << t->LastErrMsg();
    AVFormatContext* oc = t->Foutput_files[0];
    ASSERT_EQ(oc->nb_streams, 2u);
    EXPECT_EQ(t->Foutput_streams[0][0].enc->codec_id, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(t->Foutput_streams[0][0].enc->width, 320);
    EXPECT_EQ(t->Foutput_streams[0][1].enc->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(t->Fframe_pix_fmt, AV_PIX_FMT_NONE);  // reset by the new video stream

    auto a = NewTranscoder();
    ASSERT_TRUE(a->OpenInputFile(Media("tone.wav")));
    ASSERT_EQ(a->OpenOutputFile(dir + "tone.avi", false), 1);
    ASSERT_EQ(a->Foutput_files[0]->nb_streams, 1u);
    EXPECT_EQ(a->Foutput_streams[0][0].enc->codec_type, AVMEDIA_TYPE_AUDIO);
}

TEST(TranscoderOutput, FailuresLeaveNothingBehind)
{
    String dir = enginetest::ScratchFolder();
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    struct {
        const char* Option;
        const char* Value;
        String Name;
        String Message;
    } cases[] = {
        {"", "", dir + "a.xyz", "Unable to find a suitable output format for '" + dir + "a.xyz'"},
        {"f", "ffm", dir + "a.ffm", "Requested output format 'ffm' is not a suitable output format"},
        {"vcodec", "nope", dir + "a.avi", "new_video_stream fail: Unknown encoder 'nope'"},
        {"acodec", "mpeg4", dir + "b.avi", "new_audio_stream fail: Invalid encoder type 'mpeg4'"},
        {"", "", dir + "no/such/folder/a.avi", dir + "no/such/folder/a.avi: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (*c.Option) t->SetOption(c.Option, c.Value);
        EXPECT_EQ(t->OpenOutputFile(c.Name, false), -1);
        EXPECT_EQ(t->LastErrMsg(), c.Message);
        EXPECT_EQ(t->Fnb_output_files, 0);
        EXPECT_FALSE(fs::exists(c.Name));
    }
}

TEST(TranscoderOutput, MetadataIdsLanguagesAndCopy)
{
    String dir = enginetest::ScratchFolder();
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    t->SetOption("metadata", "title=first");
    t->SetOption("metadata", "title=second");
    t->SetOption("streamid", "1:77");
    t->SetOption("alang", "chi");
    t->SetOption("vcodec", "copy");
    t->SetOption("vcodec", "mpeg4");
    t->SetOption("timestamp", "2010-01-02T03:04:05Z");
    ASSERT_EQ(t->OpenOutputFile(dir + "m.mkv", false), 1) << t->LastErrMsg();
    AVFormatContext* oc = t->Foutput_files[0];
    EXPECT_STREQ(AV.av_dict_get(oc->metadata, "title", nullptr, 0)->value, "first");
    EXPECT_STREQ(AV.av_dict_get(oc->metadata, "creation_time", nullptr, 0)->value, "2010-01-02T03:04:05.000000Z");
    EXPECT_TRUE(t->Foutput_streams[0][0].stream_copy);
    EXPECT_EQ(oc->streams[1]->id, 77);
    EXPECT_STREQ(AV.av_dict_get(oc->streams[1]->metadata, "language", nullptr, 0)->value, "chi");
    EXPECT_TRUE(t->Faudio_language.empty());
    EXPECT_EQ(t->Fstreamid_map[1], 0);
    EXPECT_EQ(t->Fvideo_stream_copy, 0);
    // a further stream of the last output
    t->SetOption("acodec", "mp2");
    t->SetOption("newaudio", "");
    EXPECT_EQ(oc->nb_streams, 3u);
    EXPECT_EQ(t->Foutput_streams[0][2].enc->codec_id, AV_CODEC_ID_MP2);
}

TEST(TranscoderOutput, JoinMode)
{
    String dir = enginetest::ScratchFolder();
    auto t = NewTranscoder();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    int64_t one = t->Finput_files[0]->duration;
    ASSERT_EQ(t->OpenOutputFile(dir + "j.avi", true), 3) << t->LastErrMsg();
    EXPECT_TRUE(t->FJoinMode);
    EXPECT_EQ(t->FTotalOutputDuration, 3 * one);
    EXPECT_EQ(t->Foutput_files[2], t->Foutput_files[0]);
    EXPECT_EQ(t->OpenOutputFile(dir + "k.avi", false), -1);
    EXPECT_EQ(t->LastErrMsg(), "Cannot join more than one output file.");
    t->CloseFiles();
    EXPECT_FALSE(fs::exists(dir + "j.avi"));  // left empty: deleted
}

TEST(TranscoderOutput, LongNamesAreKeptWhole)
{
    String dir = enginetest::ScratchFolder();
    for (int i = 0; i < 6; ++i) dir += String(200, char('a' + i)) + "/";
    fs::create_directories(dir);
    String name = dir + "输出文件.avi";
    ASSERT_GT(name.size(), 1100u);
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi")));
    ASSERT_EQ(t->OpenOutputFile(name, false), 1) << t->LastErrMsg();
    // Written beside the whole name until the conversion succeeds.
    std::vector<String> beside;
    for (const auto& e : fs::directory_iterator(dir)) beside.push_back(e.path().filename().string());
    ASSERT_EQ(beside.size(), 1u);
    EXPECT_EQ(beside[0].rfind(".输出文件.avi.", 0), 0u) << beside[0];
    t->CloseFiles();
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(TranscoderOutput, SampleRateChooser)
{
    const int rates[] = {44100, 48000, 0};
    EXPECT_EQ(NearestSampleRate(32000, rates), 44100);
    EXPECT_EQ(NearestSampleRate(46050, rates), 44100);
    EXPECT_EQ(NearestSampleRate(47000, rates), 48000);
    EXPECT_EQ(NearestSampleRate(48000, rates), 48000);
}

TEST(TranscoderOutput, BitRateChooser)
{
    struct {
        AVCodecID Id;
        int Rate;
        int64_t Asked, Got;
    } cases[] = {
        {AV_CODEC_ID_MP2, 48000, 144000, 128000},  // 128 and 160 equally near: the lower
        {AV_CODEC_ID_MP2, 44100, 150000, 160000},  {AV_CODEC_ID_MP2, 44100, 1000000, 384000},
        {AV_CODEC_ID_MP2, 24000, 144000, 144000},  // the halved rates have their own table
        {AV_CODEC_ID_MP2, 22050, 300000, 160000},  {AV_CODEC_ID_MP2, 48000, 0, 0},
        {AV_CODEC_ID_AC3, 48000, 150000, 150000},  // any rate: the encoder rounds it
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestAllowedBitRate(c.Id, c.Rate, c.Asked), c.Got) << c.Id << " " << c.Rate << " " << c.Asked;
}

TEST(TranscoderOutput, TheContainersOwnCodecGetsParametersItTakes)
{
    // A VOB cannot carry AAC: mp2 takes its place, with a bit rate and a channel layout it
    // takes instead of the ones chosen for AAC, and the output opens.
    enginetest::TLogCapture log;
    TOutputOptions o;
    o.FileName = enginetest::ScratchFolder() + "fit.vob";
    o.AudioCodec = "libfaac";
    o.AudioBitrate = 144000;
    o.AudioSampleRate = 48000;
    o.AudioChannels = 6;
    ExpectOutputOpens(o, 2);
    EXPECT_TRUE(log.Contains("Codec aac is not supported in svcd, using mp2"));  // ".vob" names svcd
    EXPECT_TRUE(log.Contains("channel layout 5.1 fitted to stereo for encoder mp2"));
    EXPECT_TRUE(log.Contains("bit rate 144000 fitted to 128000 for encoder mp2"));
}

// Each fitting rule with a value the encoder refuses and one it takes as it stands.
TEST(TranscoderOutput, FrameSizeFitsTheEncoder)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    struct {
        const char* Encoder;
        AVPixelFormat Format;
        int W, H, FitW, FitH;
    } cases[] = {
        {"h263", AV_PIX_FMT_YUV420P, 320, 240, 352, 288},   {"h263", AV_PIX_FMT_YUV420P, 160, 112, 128, 96},
        {"h263", AV_PIX_FMT_YUV420P, 176, 144, 176, 144},   {"mpeg4", AV_PIX_FMT_YUV420P, 640, 353, 640, 352},
        {"mpeg4", AV_PIX_FMT_YUV420P, 641, 480, 640, 480},  {"mpeg4", AV_PIX_FMT_YUV420P, 320, 240, 320, 240},
        {"rv20", AV_PIX_FMT_YUV420P, 852, 480, 848, 480},   {"ffv1", AV_PIX_FMT_YUV444P, 641, 353, 641, 353},
    };
    for (const auto& c : cases) {
        const AVCodec* codec = AV.avcodec_find_encoder_by_name(c.Encoder);
        ASSERT_NE(codec, nullptr) << c.Encoder;
        AVCodecContext* ctx = AV.avcodec_alloc_context3(codec);
        ctx->width = c.W;
        ctx->height = c.H;
        ctx->pix_fmt = c.Format;
        FitFrameSize(ctx, codec);
        EXPECT_EQ(ctx->width, c.FitW) << c.Encoder << " " << c.W << "x" << c.H;
        EXPECT_EQ(ctx->height, c.FitH) << c.Encoder << " " << c.W << "x" << c.H;
        AV.avcodec_free_context(&ctx);
    }
}

TEST(TranscoderOutput, FrameRateFitsTheEncoder)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    struct {
        const char* Encoder;
        AVRational Rate, Fit;
        int Strict;
    } cases[] = {
        {"mpeg1video", {10, 1}, {24000, 1001}, FF_COMPLIANCE_NORMAL},
        {"mpeg1video", {2997, 100}, {30000, 1001}, FF_COMPLIANCE_NORMAL},
        {"mpeg1video", {25, 1}, {25, 1}, FF_COMPLIANCE_NORMAL},
        {"mpeg1video", {12, 1}, {12, 1}, FF_COMPLIANCE_UNOFFICIAL},  // the encoder's own list
        {"mpeg4", {13, 1}, {13, 1}, FF_COMPLIANCE_NORMAL},           // any rate
    };
    for (const auto& c : cases) {
        const AVRational r = FitFrameRate(c.Rate, AV.avcodec_find_encoder_by_name(c.Encoder), c.Strict);
        EXPECT_EQ(av_cmp_q(r, c.Fit), 0) << c.Encoder << " " << c.Rate.num << "/" << c.Rate.den << " gave " << r.num
                                         << "/" << r.den;
    }
}

TEST(TranscoderOutput, BitRateFitsTheEncodersRange)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    struct {
        const char* Encoder;
        int Rate, Channels;
        int64_t Asked, Got;
    } cases[] = {
        {"libvorbis", 44100, 2, 16000, 45000}, {"libvorbis", 11025, 2, 128000, 99000},
        {"libvorbis", 44100, 2, 128000, 128000}, {"libvorbis", 22050, 1, 8000, 16000},
        {"wmav2", 44100, 2, 16000, 24000},     {"wmav2", 44100, 2, 64000, 64000},
        {"mp2", 44100, 2, 144000, 128000},     {"libmp3lame", 44100, 2, 16000, 16000},
    };
    for (const auto& c : cases) {
        const AVCodec* codec = AV.avcodec_find_encoder_by_name(c.Encoder);
        ASSERT_NE(codec, nullptr) << c.Encoder;
        EXPECT_EQ(AllowedBitRate(codec, c.Rate, c.Channels, c.Asked), c.Got) << c.Encoder << " " << c.Rate << " "
                                                                             << c.Asked;
    }
}

TEST(TranscoderOutput, ContainersTakeTheirParameters)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    // MP3 in MP4 at 16 kHz and above; RealMedia with whole frame rates and at most 720p's area.
    const AVCodec* mp3 = AV.avcodec_find_encoder_by_name("libmp3lame");
    ASSERT_NE(mp3, nullptr);
    AVCodecContext* a = AV.avcodec_alloc_context3(mp3);
    a->sample_rate = 11025;
    FitSampleRateToFormat(AV.av_guess_format("mp4", nullptr, nullptr), a, mp3);
    EXPECT_EQ(a->sample_rate, 16000);
    a->sample_rate = 11025;
    FitSampleRateToFormat(AV.av_guess_format("avi", nullptr, nullptr), a, mp3);
    EXPECT_EQ(a->sample_rate, 11025);
    AV.avcodec_free_context(&a);

    const AVCodec* rv20 = AV.avcodec_find_encoder_by_name("rv20");
    ASSERT_NE(rv20, nullptr);
    AVCodecContext* v = AV.avcodec_alloc_context3(rv20);
    v->width = 1920;
    v->height = 1072;
    AVRational rate{30000, 1001};
    FitVideoToFormat(AV.av_guess_format("rm", nullptr, nullptr), v, rate, rv20);
    EXPECT_EQ(v->width, 1280);
    EXPECT_EQ(v->height, 704);
    EXPECT_EQ(av_cmp_q(rate, AVRational{30, 1}), 0);
    v->width = 640;
    v->height = 480;
    FitVideoToFormat(AV.av_guess_format("rm", nullptr, nullptr), v, rate, rv20);
    EXPECT_EQ(v->width, 640);
    EXPECT_EQ(v->height, 480);
    AV.avcodec_free_context(&v);
}

TEST(TranscoderLife, StartWithoutFilesTerminatesOnce)
{
    auto t = NewTranscoder();
    int terminated = 0;
    t->FOnTerminate = [&](TObject*) { ++terminated; };
    EXPECT_EQ(t->StartConvert(true), nullptr);
    EXPECT_EQ(terminated, 1);
    EXPECT_TRUE(t->FFatalException);
    EXPECT_EQ(t->FFatalMessage, "At least one output file must be specified");
    EXPECT_EQ(t->StartConvert(true), nullptr);
    EXPECT_EQ(terminated, 1);

    auto u = NewTranscoder();
    u->FOnTerminate = [&](TObject*) { ++terminated; };
    String dir = enginetest::ScratchFolder();
    ASSERT_EQ(u->OpenOutputFile(dir + "x.avi", false), 1);
    EXPECT_EQ(u->StartConvert(false), nullptr);
    EXPECT_EQ(u->FFatalMessage, "At least one input file must be specified");
    EXPECT_FALSE(fs::exists(dir + "x.avi"));
}

TEST(TranscoderLife, TerminateWhileIdleRunsOnAnotherThreadOnce)
{
    auto t = NewTranscoder();
    std::atomic<int> count{0};
    std::atomic<uint32_t> thread{0};
    t->FOnTerminate = [&](TObject*) {
        ++count;
        thread = GetCurrentThreadId();
    };
    t->Stop(true);  // idle: returns at once
    t->Terminate(false);
    t->Terminate(false);  // still pending: no second termination
    t->Terminate(true);
    EXPECT_EQ(count.load(), 1);
    EXPECT_NE(thread.load(), GetCurrentThreadId());
    EXPECT_TRUE(t->FTerminated);
    t->Terminate(true);
    EXPECT_EQ(count.load(), 1);
}

TEST(TranscoderLife, FreedWhileItsTerminationWaitsForTheGuiThread)
{
    // The termination runs on its own thread, and its handler waits for the GUI thread,
    // which is the one freeing the transcoder: the destructor serves it while it waits.
    auto t = NewTranscoder();
    std::atomic<bool> served{false};
    t->FOnTerminate = [&](TObject*) { TThread::Synchronize(nullptr, [&] { served = true; }); };
    t->Terminate(false);
    t.reset();
    EXPECT_TRUE(served.load());
}

TEST(TranscoderLife, ResetBeforeTheLibrariesLoadChangesNothing)
{
    // Whether or not the libraries are loaded, a fresh transcoder carries the defaults.
    TCustomFFmpeg t(5);
    EXPECT_EQ(t.FMaxFiles, 5);
    EXPECT_EQ(t.Faudio_sample_rate, 44100);
    EXPECT_EQ(t.Frecording_time, INT64_MAX);
    EXPECT_EQ(t.FTotalOutputDuration, -1);
    EXPECT_THROW(TCustomFFmpeg(0), EAssertionFailed);
    EXPECT_THROW(TCustomFFmpeg(513), EAssertionFailed);
}

TEST(TranscoderLife, PauseIsCooperative)
{
    auto t = NewTranscoder();
    t->Pause();  // not converting: nothing
    EXPECT_FALSE(t->Paused());
    t->WaitWhilePaused();  // returns at once
}
