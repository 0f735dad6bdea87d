// Stream setup and the packet path: sources and maps, stream copy, bitstream filters,
// chapters, joining inputs, two-pass logs, video statistics and the progress figures.
#include "support/convert_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

using namespace converttest;
namespace fs = std::filesystem;

namespace {

int CountPackets(const String& AFile, const String& ASelect)
{
    return std::atoi(enginetest::FFprobe("-count_packets -select_streams " + ASelect +
                                             " -show_entries stream=nb_read_packets -of default=nw=1:nk=1",
                                         AFile)
                         .c_str());
}

}  // namespace

TEST(ConvertStreams, TheSourceIsTheStreamWithTheMostChannels)
{
    enginetest::TLogCapture log;
    TLogLevelScope level(llVerbose);
    const String out = enginetest::ScratchFolder() + "src.mkv";
    TOutputOptions o = AviOptions();
    o.AudioChannels = 2;
    auto run = Convert(Clip("two_audio.mkv"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    // Stream 2 (stereo) feeds the audio, not stream 1 (mono).
    EXPECT_TRUE(log.Contains("  Stream #0.2 -> #0.1 (Audio)"));
    EXPECT_TRUE(log.Contains("  Stream #0.0 -> #0.0 (Video)"));
}

TEST(ConvertStreams, MapsMustMatchTheOutputStreams)
{
    const String dir = enginetest::ScratchFolder();
    TOutputOptions o = AviOptions();
    o.ExtOptions = "map=0:0";
    auto run = Convert(Clip("clip.avi"), dir + "map.avi", o);
    ASSERT_TRUE(run);
    EXPECT_TRUE(run->Result().Exception);
    EXPECT_EQ(run->Result().ExceptionMsg, "Number of stream maps must match number of output streams");
    EXPECT_FALSE(fs::exists(dir + "map.avi"));
    // Maps naming the audio for the video fail on the type.
    o.ExtOptions = "map=0:1\nmap=0:0";
    auto wrong = Convert(Clip("clip.avi"), dir + "wrong.avi", o);
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->Result().ExceptionMsg, "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)");
    // Maps in the right order convert.
    o.ExtOptions = "map=0:0\nmap=0:1";
    auto right = Convert(Clip("clip.avi"), dir + "right.avi", o);
    ASSERT_TRUE(right);
    EXPECT_TRUE(right->Result().Finished) << right->Result().ExceptionMsg;
}

TEST(ConvertStreams, ScalerOnlyWhenSizeOrFormatDiffers)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    const String dir = enginetest::ScratchFolder();
    for (const char* size : {"", "80x60"}) {
        TTaskTranscoder t(4);
        t.Reset();
        ASSERT_TRUE(t.OpenInputFile(Clip("clip.avi")));
        TOutputOptions o = AviOptions();
        o.FrameSize = size;
        TCodecDefaults defaults;
        ApplyOutputRecord(t, o, defaults);
        ASSERT_GE(t.OpenOutputFile(dir + "s" + std::to_string(std::strlen(size)) + ".avi", false), 0);
        t.SetupTranscode();
        ASSERT_EQ(t.Fost_table.size(), 2u);
        const bool scales = *size != 0;
        EXPECT_EQ(t.Fost_table[0]->video_resample != 0, scales) << size;
        EXPECT_EQ(t.Fost_table[0]->img_resample_ctx != nullptr, scales) << size;
        t.TeardownTables();
    }
}

TEST(ConvertStreams, CopyStartsAtTheFirstKeyFrameUnlessTold)
{
    // gop.ts begins in the middle of a group of pictures.
    const String dir = enginetest::ScratchFolder();
    const String in = Clip("gop.ts");
    int total = 0, firstKey = -1;
    for (const String& flags :
         SplitLines(enginetest::FFprobe("-select_streams v:0 -show_entries packet=flags -of csv=p=0", in))) {
        if (flags.empty()) continue;
        if (firstKey < 0 && flags[0] == 'K') firstKey = total;
        ++total;
    }
    ASSERT_GT(firstKey, 0) << "the fixture must not begin with a key frame";
    TOutputOptions o;
    o.VideoCodec = "copy";
    o.DisableAudio = true;
    auto run = Convert(in, dir + "copy.mkv", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(CountPackets(dir + "copy.mkv", "v:0"), total - firstKey);
    EXPECT_EQ(Probe(dir + "copy.mkv", "v:0", "stream=codec_name"), "h264");
    o.ExtOptions = "copyinkf=1";
    auto all = Convert(in, dir + "all.mkv", o);
    ASSERT_TRUE(all);
    EXPECT_EQ(CountPackets(dir + "all.mkv", "v:0"), total);
}

TEST(ConvertStreams, AFailingBitstreamFilterIsLoggedAndPacketsGoUnfiltered)
{
    enginetest::TLogCapture log;
    const String out = enginetest::ScratchFolder() + "bsf.avi";
    TOutputOptions o = AviOptions();
    o.ExtOptions = "vbsf=h264_mp4toannexb";
    auto run = Convert(Clip("clip.avi"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_TRUE(log.Contains("h264_mp4toannexb failed for stream 0, codec mpeg4"));
    EXPECT_EQ(CountFrames(out), 50);
}

TEST(ConvertStreams, ChaptersAreCutToTheConvertedPart)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TTaskTranscoder t(4);
    t.Reset();
    ASSERT_TRUE(t.OpenInputFile(Clip("ch.mkv")));
    const AVFormatContext* in = t.Finput_files[0];
    ASSERT_EQ(in->nb_chapters, 2u);
    struct TCase {
        int64_t Start, Length;
        std::vector<std::pair<int64_t, int64_t>> Chapters;  // milliseconds
    };
    const TCase cases[] = {
        {0, INT64_MAX, {{0, 1000}, {1000, 2000}}},
        {1500000, INT64_MAX, {{0, 500}}},              // the first ended before the start
        {500000, INT64_MAX, {{0, 500}, {500, 1500}}},  // the straddling one starts at 0
        {0, 500000, {{0, 500}}},                       // the second starts after the end
    };
    for (const TCase& c : cases) {
        AVFormatContext* out = nullptr;
        AV.avformat_alloc_output_context2(&out, nullptr, "matroska", nullptr);
        CopyChapters(in, out, c.Start, c.Length);
        ASSERT_EQ(out->nb_chapters, c.Chapters.size()) << c.Start << " " << c.Length;
        for (size_t i = 0; i < c.Chapters.size(); ++i) {
            AVRational ms{1, 1000};
            EXPECT_EQ(AV.av_rescale_q(out->chapters[i]->start, out->chapters[i]->time_base, ms), c.Chapters[i].first);
            EXPECT_EQ(AV.av_rescale_q(out->chapters[i]->end, out->chapters[i]->time_base, ms), c.Chapters[i].second);
        }
        AV.avformat_free_context(out);
    }
}

TEST(ConvertStreams, OneSourceCopiedToOneOutputAndEncodedForAnother)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
    TOutputOptions copy;
    copy.VideoCodec = "copy";
    copy.DisableAudio = true;
    ASSERT_TRUE(list->SetOutputFile(0, dir + "copy.avi", &copy)) << list->LastErrMsg();
    TOutputOptions encoded = AviOptions();
    encoded.DisableAudio = true;
    ASSERT_TRUE(list->SetOutputFile(0, dir + "encoded.avi", &encoded)) << list->LastErrMsg();
    list->Start(0);
    ASSERT_EQ(events.Terminates.size(), 2u);
    ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    EXPECT_EQ(CountPackets(dir + "copy.avi", "v:0"), CountPackets(Clip("clip.avi"), "v:0"));
    EXPECT_EQ(CountFrames(dir + "copy.avi"), 50);
    EXPECT_EQ(CountFrames(dir + "encoded.avi"), 50);
}

TEST(ConvertStreams, JoinedInputsContinueOneAnother)
{
    const String out = enginetest::ScratchFolder() + "join.avi";
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
    ASSERT_TRUE(list->AddInputFile(0, Clip("clip.avi")));
    TOutputOptions o = AviOptions();
    o.Join = true;
    ASSERT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
    list->Start(0);
    ASSERT_EQ(events.Terminates.size(), 2u);
    ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    EXPECT_NEAR(CountFrames(out), 100, 1);
    EXPECT_NEAR(ProbeDouble(out, "", "format=duration"), 4.0, 0.1);
    ASSERT_FALSE(events.Progress.empty());
    EXPECT_NEAR(double(events.Progress.back().TotalDuration), 4.0e6, 0.1e6);
    EXPECT_NEAR(double(events.Progress.back().CurrentDuration), 4.0e6, 0.1e6);
}

TEST(ConvertStreams, AStreamAddedAfterAJoinedOutputIsConverted)
{
    const String out = enginetest::ScratchFolder() + "join.mkv";
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("two_audio.mkv")), 0);
    ASSERT_TRUE(list->AddInputFile(0, Clip("two_audio.mkv")));
    TOutputOptions o = AviOptions();
    o.Join = true;
    o.ExtOptions = "newaudio=1";
    ASSERT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
    list->Start(0);
    ASSERT_EQ(events.Terminates.size(), 2u);
    ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    EXPECT_EQ(SplitLines(Probe(out, "a", "stream=index")).size(), 2u);
    EXPECT_NEAR(ProbeDouble(out, "", "format=duration"), 2.0, 0.15);
}

TEST(ConvertStreams, TwoPassWritesAndReadsItsLog)
{
    const String dir = enginetest::ScratchFolder();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    TOutputOptions o = AviOptions();
    o.ExtOptions = "pass=1";
    auto first = Convert(Clip("clip.avi"), dir + "p1.avi", o);
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->Result().Finished) << first->Result().ExceptionMsg;
    ASSERT_TRUE(fs::exists(dir + "ffmpeg2pass-0.log"));  // the first output stream's
    EXPECT_GT(fs::file_size(dir + "ffmpeg2pass-0.log"), 100u);
    // A prefix names the log; pass 2 reads it.
    fs::rename(dir + "ffmpeg2pass-0.log", dir + "mine-0.log");
    o.ExtOptions = "pass=2\npasslogfile=" + dir + "mine";
    auto second = Convert(Clip("clip.avi"), dir + "p2.avi", o);
    ASSERT_TRUE(second);
    ASSERT_TRUE(second->Result().Finished) << second->Result().ExceptionMsg;
    EXPECT_EQ(CountFrames(dir + "p2.avi"), 50);
    // Pass 2 without its log fails with the reason.
    o.ExtOptions = "pass=2\npasslogfile=" + dir + "none";
    auto missing = Convert(Clip("clip.avi"), dir + "p3.avi", o);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Result().ExceptionMsg,
              "Cannot read file: Error reading log file \"" + dir + "none-0.log\" for pass-2 encoding");
}

TEST(ConvertStreams, VideoStatisticsHaveOneLinePerFrame)
{
    const String dir = enginetest::ScratchFolder();
    TOutputOptions o = AviOptions();
    o.ExtOptions = "vstats_file=" + dir + "v.log";
    auto run = Convert(Clip("clip.avi"), dir + "v.avi", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    std::ifstream in(dir + "v.log");
    const std::regex line(
        R"(frame= +\d+ q= [0-9.]+ f_size= +\d+ s_size= +\d+kB time= [0-9.]+ br= +[0-9.]+kbits/s avg_br= +[0-9.]+kbits/s type= [IPB])");
    int count = 0;
    for (std::string s; std::getline(in, s); ++count) EXPECT_TRUE(std::regex_match(s, line)) << s;
    EXPECT_EQ(count, 50);
}

TEST(ConvertStreams, ProgressFiguresOfVideoAndAudioOnlyConversions)
{
    const String dir = enginetest::ScratchFolder();
    // Video: no report before the first picture; fps from the clock.
    auto video = Convert(Clip("clip.avi"), dir + "p.avi", AviOptions(), [](TTaskList& L, TTaskTranscoder& T) {
        L.SetProgressInterval(100);
        T.Clock = SteppingClock(200000);  // every packet is a report; 0.2 s per reading
    });
    ASSERT_TRUE(video);
    ASSERT_GT(video->Events.Progress.size(), 5u);
    for (const TProgressInfo& p : video->Events.Progress) {
        EXPECT_GE(p.FrameNumber, 1);
        EXPECT_GE(p.Quality, 0);
        EXPECT_GT(p.BitRate, 0);
    }
    EXPECT_GT(video->Events.Progress.back().FPS, 0);
    EXPECT_EQ(video->Events.Progress.back().FileIndex, -1);
    EXPECT_EQ(video->Events.Progress.back().FrameNumber, 50);
    // During the first second the speed is 0.
    auto quick = Convert(Clip("clip.avi"), dir + "q.avi", AviOptions(), [](TTaskList& L, TTaskTranscoder& T) {
        L.SetProgressInterval(100);
        T.Clock = SteppingClock(101000 / 8);
    });
    ASSERT_TRUE(quick);
    ASSERT_FALSE(quick->Events.Progress.empty());
    EXPECT_EQ(quick->Events.Progress.front().FPS, 0);
    // Audio only: -1 for the picture figures.
    TOutputOptions mp3;
    mp3.DisableVideo = true;
    mp3.AudioCodec = "libmp3lame";
    auto audio = Convert(Clip("clip.avi"), dir + "a.mp3", mp3);
    ASSERT_TRUE(audio);
    ASSERT_FALSE(audio->Events.Progress.empty());
    const TProgressInfo& last = audio->Events.Progress.back();
    EXPECT_EQ(last.FileIndex, -1);
    EXPECT_EQ(last.FrameNumber, -1);
    EXPECT_EQ(last.FPS, -1);
    EXPECT_EQ(last.Quality, -1);
    EXPECT_NEAR(double(last.CurrentDuration), 2.0e6, 0.1e6);
}

TEST(ConvertStreams, CopiedStreamsReportNoQuality)
{
    const String out = enginetest::ScratchFolder() + "c.avi";
    TOutputOptions o;
    o.VideoCodec = "copy";
    o.AudioCodec = "copy";
    auto run = Convert(Clip("clip.avi"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    ASSERT_FALSE(run->Events.Progress.empty());
    EXPECT_EQ(run->Events.Progress.back().Quality, -1);
    EXPECT_EQ(run->Events.Progress.back().FrameNumber, 50);
    EXPECT_EQ(CountFrames(out), 50);
    EXPECT_EQ(Probe(out, "a:0", "stream=codec_name"), "mp2");
}

TEST(ConvertStreams, PSNRAndQuantiserHistogram)
{
    const String dir = enginetest::ScratchFolder();
    int before = 0;
    for (auto& bin : QPHistogram) before += bin.load();
    TOutputOptions o = AviOptions();
    o.ExtOptions = "psnr=1\nqphist=1\nvstats_file=" + dir + "v.log";
    auto run = Convert(Clip("clip.avi"), dir + "p.avi", o, [](TTaskList& L, TTaskTranscoder& T) {
        L.SetProgressInterval(100);
        T.Clock = SteppingClock(200000);
    });
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    int after = 0;
    for (auto& bin : QPHistogram) after += bin.load();
    EXPECT_GT(after, before);  // one count per report with a picture
    // The first picture's error is not known yet (as with ffmpeg): "inf"; later ones have it.
    std::ifstream in(dir + "v.log");
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, std::regex(R"(PSNR= +([0-9.]+) )"))) << line;
    EXPECT_GT(std::atof(m[1].str().c_str()), 20.0);
}

TEST(ConvertStreams, TheSizeLimitEndsTheConversion)
{
    const String out = enginetest::ScratchFolder() + "fs.avi";
    TOutputOptions o = AviOptions();
    o.VideoBitrate = 2000000;
    o.ExtOptions = "fs=30000";
    auto run = Convert(Clip("clip.avi"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_LT(CountFrames(out), 50);
    EXPECT_LT(fs::file_size(out), 30000u + 40000u);  // the limit, plus what was under way
}

TEST(SubtitleOut, DVBSubtitlesAreEncodedTwice)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TTaskTranscoder t(4);
    t.Reset();
    AVFormatContext* oc = nullptr;
    AV.avformat_alloc_output_context2(&oc, nullptr, "null", nullptr);
    AVStream* st = AV.avformat_new_stream(oc, nullptr);
    const AVCodec* codec = AV.avcodec_find_encoder(AV_CODEC_ID_DVB_SUBTITLE);
    ASSERT_NE(codec, nullptr);
    AVCodecContext* enc = AV.avcodec_alloc_context3(codec);
    enc->width = 720;
    enc->height = 576;
    enc->time_base = AVRational{1, 90000};
    ASSERT_GE(AV.avcodec_open2(enc, codec, nullptr), 0);
    AV.avcodec_parameters_from_context(st->codecpar, enc);
    st->time_base = AVRational{1, 90000};
    ASSERT_GE(AV.avformat_write_header(oc, nullptr), 0);
    TAVOutputStream ost;
    ost.oc = oc;
    ost.st = st;
    ost.enc = enc;
    ost.encoding_needed = 1;
    AVStream in{};
    in.time_base = AVRational{1, 90000};
    TAVInputStream ist;
    ist.st = &in;
    // One 4x4 picture of two colours.
    AVSubtitle sub{};
    sub.start_display_time = 0;
    sub.end_display_time = 2000;
    sub.num_rects = 1;
    sub.rects = static_cast<AVSubtitleRect**>(AV.av_mallocz(sizeof(AVSubtitleRect*)));
    sub.rects[0] = static_cast<AVSubtitleRect*>(AV.av_mallocz(sizeof(AVSubtitleRect)));
    AVSubtitleRect* r = sub.rects[0];
    r->type = SUBTITLE_BITMAP;
    r->x = r->y = 10;
    r->w = r->h = 4;
    r->nb_colors = 4;
    r->data[0] = static_cast<uint8_t*>(AV.av_mallocz(16));
    r->linesize[0] = 4;
    r->data[1] = static_cast<uint8_t*>(AV.av_mallocz(4 * 4));
    for (int i = 0; i < 16; ++i) r->data[0][i] = uint8_t(i % 2);
    reinterpret_cast<uint32_t*>(r->data[1])[1] = 0xFFFFFFFF;
    t.SubtitleOut(&ost, &ist, &sub, 90000);
    EXPECT_EQ(ost.packets_written, 2);
    EXPECT_EQ(sub.num_rects, 1u);  // the clearing packet leaves the subtitle as it was
    // A subtitle without a time is dropped (and logged).
    t.SubtitleOut(&ost, &ist, &sub, AV_NOPTS_VALUE);
    EXPECT_EQ(ost.packets_written, 2);
    AV.avsubtitle_free(&sub);
    AV.avcodec_free_context(&enc);
    AV.avformat_free_context(oc);
}

TEST(ConvertStreams, ShortestEndsWithTheShortestInput)
{
    // Video from the 2 s clip, audio from the 1 s tone of a second input.
    const String dir = enginetest::ScratchFolder();
    for (bool shortest : {false, true}) {
        TEvents events;
        auto list = NewTaskList(events);
        ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
        ASSERT_TRUE(list->AddInputFile(0, Clip("mono.wav")));
        TOutputOptions o = AviOptions();
        o.ExtOptions = String("map=0:0\nmap=1:0") + (shortest ? "\nshortest=1" : "");
        const String out = dir + (shortest ? "short.avi" : "long.avi");
        ASSERT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
        list->Start(0);
        ASSERT_EQ(events.Terminates.size(), 2u);
        ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
        EXPECT_NEAR(CountFrames(out), shortest ? 25 : 50, 3) << out;
    }
}

TEST(ConvertStreams, SubtitlesTakeTheContainersCodecAndKeepTheirTimes)
{
    const String out = enginetest::ScratchFolder() + "sub.mkv";
    TOutputOptions o = AviOptions();
    auto run = Convert(Clip("sub.mkv"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(Probe(out, "s:0", "stream=codec_name"), "ass");
    std::vector<String> packets =
        SplitLines(enginetest::FFprobe("-select_streams s:0 -show_entries packet=pts_time,duration_time -of csv=p=0", out));
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0], "0.500000,1.000000");
    EXPECT_EQ(packets[1], "2.000000,1.000000");
}
