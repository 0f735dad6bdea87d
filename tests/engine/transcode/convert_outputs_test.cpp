// The main kinds of output: a two-second clip (video with a tone) goes through the task
// list into each, and ffprobe confirms the container, the codecs, the frame size and
// rate, the frame count and the durations.
#include "support/convert_support.h"

#include <cmath>
#include <algorithm>
#include <cstring>

using namespace converttest;

namespace {

struct TOutputCase {
    const char* Name;
    const char* Ext;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameRate;
    const char* FrameSize;
    int VideoBitrate;
    const char* AudioCodec;
    int Channels, SampleRate, AudioBitrate;
    TOptionTargetType Target;
    bool NoVideo;
    // What ffprobe must find
    const char* Format;       // a part of format_name
    const char* VideoName;    // codec_name, empty without video
    int Width, Height;
    const char* Rate;         // r_frame_rate
    const char* AudioName;
    int OutRate, OutChannels;
    int AudioFrame;           // samples per frame of the audio encoder
};

const TOutputCase Cases[] = {
    {"mp4_h264_aac", ".mp4", "libx264", "", "25", "", 400000, "libfaac", 2, 44100, 96000, ttIgnore, false,
     "mp4", "h264", 160, 120, "25/1", "aac", 44100, 2, 1024},
    {"avi_mpeg4_mp3", ".avi", "mpeg4", "XVID", "25", "", 400000, "libmp3lame", 2, 44100, 128000, ttIgnore, false,
     "avi", "mpeg4", 160, 120, "25/1", "mp3", 44100, 2, 1152},
    {"vcd_mpeg1", ".mpg", "", "", "", "", -1, "", -1, -1, -1, ttVCD, false, "mpeg", "mpeg1video", 352, 288,
     "25/1", "mp2", 44100, 2, 1152},
    {"dvd_mpeg2_ac3", ".mpg", "", "", "", "", -1, "", -1, -1, -1, ttDVD, false, "mpeg", "mpeg2video", 720, 576,
     "25/1", "ac3", 48000, 2, 1536},
    {"wmv_wma", ".wmv", "wmv2", "", "25", "", 400000, "wmav2", 2, 44100, 64000, ttIgnore, false, "asf", "wmv2",
     160, 120, "25/1", "wmav2", 44100, 2, 2048},
    {"flv", ".flv", "", "", "25", "", 400000, "libmp3lame", 2, 22050, 64000, ttIgnore, false, "flv", "flv1", 160,
     120, "25/1", "mp3", 22050, 2, 576},
    {"3gp_h263_amr", ".3gp", "h263", "", "12", "176*144", 128000, "libopencore_amrnb", 1, 8000, 12200, ttIgnore,
     false, "3gp", "h263", 176, 144, "12/1", "amr_nb", 8000, 1, 160},
    {"mp3", ".mp3", "", "", "", "", -1, "libmp3lame", 2, 44100, 128000, ttIgnore, true, "mp3", "", 0, 0, "",
     "mp3", 44100, 2, 1152},
    {"wav", ".wav", "", "", "", "", -1, "", 2, 48000, -1, ttIgnore, true, "wav", "", 0, 0, "", "pcm_s16le", 48000,
     2, 1},
};

void PrintTo(const TOutputCase& C, std::ostream* AOut) { *AOut << C.Name; }

// The time the stream's content spans: from its first packet's start to the end of its
// last packet (containers disagree on what they store as a stream's duration).
double StreamDuration(const String& AFile, const String& ASelect)
{
    String out = enginetest::FFprobe("-select_streams " + ASelect +
                                         " -show_entries packet=pts_time,duration_time -of csv=p=0",
                                     AFile);
    double first = 1e30, last = -1e30;
    for (const String& line : SplitLines(out)) {
        size_t comma = line.find(',');
        if (comma == String::npos || line.substr(0, comma) == "N/A") continue;
        double pts = std::atof(line.c_str());
        double dur = line.substr(comma + 1) == "N/A" ? 0 : std::atof(line.c_str() + comma + 1);
        first = std::min(first, pts);
        last = std::max(last, pts + dur);
    }
    return last > first ? last - first : -1;
}

}  // namespace

class ConvertOutputs : public ::testing::TestWithParam<TOutputCase> {};

TEST_P(ConvertOutputs, ClipBecomesTheOutputKind)
{
    const TOutputCase& c = GetParam();
    const String out = enginetest::ScratchFolder() + "out" + c.Ext;
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0) << list->LastErrMsg();
    TOutputOptions o;
    o.VideoCodec = c.VideoCodec;
    o.VideoTag = c.VideoTag;
    o.FrameRate = c.FrameRate;
    o.FrameSize = c.FrameSize;
    o.VideoBitrate = c.VideoBitrate;
    o.AudioCodec = c.AudioCodec;
    o.AudioChannels = c.Channels;
    o.AudioSampleRate = c.SampleRate;
    o.AudioBitrate = c.AudioBitrate;
    o.AudioVolume = 256;
    o.TargetType = c.Target;
    o.NormType = ntPAL;
    o.DisableVideo = c.NoVideo;
    if (o.VideoCodec == "libx264") o.VideoPreset = "libx264-default";
    ASSERT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
    list->Start(1);
    ASSERT_TRUE(WaitForFinal(events));
    ASSERT_EQ(events.Terminates.size(), 2u);
    EXPECT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    EXPECT_FALSE(events.Terminates[0].Exception) << events.Terminates[0].ExceptionMsg;

    EXPECT_NE(Probe(out, "", "format=format_name").find(c.Format), String::npos) << Probe(out, "", "format=format_name");
    if (*c.VideoName) {
        EXPECT_EQ(Probe(out, "v:0", "stream=codec_name"), c.VideoName);
        EXPECT_EQ(Probe(out, "v:0", "stream=width"), std::to_string(c.Width));
        EXPECT_EQ(Probe(out, "v:0", "stream=height"), std::to_string(c.Height));
        EXPECT_EQ(Probe(out, "v:0", "stream=r_frame_rate"), c.Rate);
        double fps = std::atof(c.Rate);
        const char* slash = std::strchr(c.Rate, '/');
        if (slash) fps /= std::atof(slash + 1);
        EXPECT_NEAR(StreamDuration(out, "v:0"), 2.0, 1.0 / fps + 0.001);
        EXPECT_NEAR(CountFrames(out), 2.0 * fps, 1.0);
    } else {
        EXPECT_EQ(Probe(out, "v", "stream=codec_name"), "");
    }
    EXPECT_EQ(Probe(out, "a:0", "stream=codec_name"), c.AudioName);
    EXPECT_EQ(Probe(out, "a:0", "stream=sample_rate"), std::to_string(c.OutRate));
    EXPECT_EQ(Probe(out, "a:0", "stream=channels"), std::to_string(c.OutChannels));
    // The audio lasts as long as the input's decoded audio (whole MP2 frames: a little over
    // 2 s), give or take the encoder's priming and the padding of its last frame: at most
    // two of its frames.
    static const double inputAudio = StreamDuration(Clip("clip.avi"), "a:0");
    EXPECT_NEAR(StreamDuration(out, "a:0"), inputAudio, 2.0 * c.AudioFrame / c.OutRate + 0.001);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConvertOutputs, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TOutputCase>& I) { return String(I.param.Name); });

TEST(ConvertStreamsOfTheHost, ReadsAndWritesTheHostsStreams)
{
    // The input and the output are the host's memory streams, named "stream:..." by the
    // task list; the output's private data gives the container by its extension.
    TMemoryStream in, out;
    in.LoadFromFile(Clip("clip.avi"));
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(&in, "clip"), 0) << list->LastErrMsg();
    EXPECT_EQ(list->GetAVProbes(0, 0)->VideoStreamCount(), 1);
    TOutputOptions o = AviOptions();
    ASSERT_TRUE(list->SetOutputStream(0, &out, "out.avi", &o)) << list->LastErrMsg();
    list->Start(0);
    ASSERT_EQ(events.Terminates.size(), 2u);
    ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    const String file = enginetest::ScratchFolder() + "out.avi";
    out.SaveToFile(file);
    EXPECT_EQ(CountFrames(file), 50);
    EXPECT_EQ(Probe(file, "a:0", "stream=codec_name"), "mp3");
}

TEST(ConvertStreamsOfTheHost, MalformedStreamNamesFailClearly)
{
    TEvents events;
    auto list = NewTaskList(events);
    for (const char* name : {"stream:", "stream::x", "stream:abc:x", "stream:0:x", "stream:123456789012345678901234:x"}) {
        EXPECT_EQ(list->AddTask(name), -1) << name;
        EXPECT_FALSE(list->LastErrMsg().empty()) << name;
    }
}
