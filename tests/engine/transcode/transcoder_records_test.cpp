// Task option records: defaults, text forms, and the exact sequence of transcoder calls
// that a record turns into (a recording transcoder stands in for the real one).
#include "engine/transcode/TaskOptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

class TRecorder : public TTaskOptionTarget {
public:
    std::vector<String> Calls;

    void SetOption(const String& N, const String& V) override { Add("opt " + N + "=" + V); }
    void SetTarget(const String& T, const String& N, const String& D) override { Add("target " + T + " " + N + " " + D); }
    void LoadPreset(const String& O, const String& N) override { Add("preset " + O + "=" + N); }
    void SetFormat(const String& V) override { Add("format " + V); }
    void SetFrameRate(const String& V) override { Add("rate " + V); }
    void SetAspectRatio(const String& V) override { Add("aspect " + V); }
    void SetCropTop(int N) override { Add("croptop " + std::to_string(N)); }
    void SetCropBottom(int N) override { Add("cropbottom " + std::to_string(N)); }
    void SetCropLeft(int N) override { Add("cropleft " + std::to_string(N)); }
    void SetCropRight(int N) override { Add("cropright " + std::to_string(N)); }
    void SetAudioTag(const String& V) override { Add("atag " + V); }
    void SetVideoTag(const String& V) override { Add("vtag " + V); }
    void SetAudioVolume(int N) override { Add("vol " + std::to_string(N)); }
    void SetAudioChannels(int N) override { Add("ac " + std::to_string(N)); }
    void SetAudioSampleRate(int N) override { Add("ar " + std::to_string(N)); }
    void SetAudioSyncMethod(int N) override { Add("async " + std::to_string(N)); }
    void SetVideoSyncMethod(int N) override { Add("vsync " + std::to_string(N)); }
    void SetMuxMaxDelay(double X) override { Add("muxdelay " + std::to_string(X)); }
    void SetMuxPreload(double X) override { Add("muxpreload " + std::to_string(X)); }
    void SetRecordingTime(int64_t T) override { Add("t " + std::to_string(T)); }
    void SetStartTime(int64_t T) override { Add("ss " + std::to_string(T)); }
    void SetProgramID(int N) override { Add("programid " + std::to_string(N)); }
    void SetAudioDisable(bool B) override { Add(String("an ") + (B ? "1" : "0")); }
    void SetVideoDisable(bool B) override { Add(String("vn ") + (B ? "1" : "0")); }
    void SetSubtitleDisable(bool B) override { Add(String("sn ") + (B ? "1" : "0")); }
    void SetAudioLanguage(const String& V) override { Add("alang " + V); }
    void SetVideoLanguage(const String& V) override { Add("vlang " + V); }
    void SetSubtitleLanguage(const String& V) override { Add("slang " + V); }
    void SetInputSync(bool B) override { Add(String("isync ") + (B ? "1" : "0")); }
    void SetCopyTimestamp(bool B) override { Add(String("copyts ") + (B ? "1" : "0")); }
    void SetRecordingTimestamp(int64_t S) override
    {
        Stamp = S;
        Add("timestamp");
    }
    void AddMetadataPair(const String& K, const String& V) override { Add("meta " + K + "=" + V); }

    int64_t Stamp = 0;

private:
    void Add(const String& S) { Calls.push_back(S); }
};

// The calls every output record makes whatever its fields hold.
const std::vector<String> AlwaysCalls = {"alang ", "async 0", "vsync -1", "vlang ", "slang ", "isync 0"};

}  // namespace

TEST(TaskRecords, DefaultsMarkEverythingUnset)
{
    TOutputOptions o;
    o.VideoBitrate = 5;
    o.Info.Title = "x";
    InitOutputOptions(o);
    EXPECT_EQ(o.VideoBitrate, -1);
    EXPECT_EQ(o.MuxDelay, -1.0f);
    EXPECT_EQ(o.TimeStart, NoTimeValue);
    EXPECT_EQ(o.TimeLength, NoTimeValue);
    EXPECT_EQ(o.Info.TimeStamp, -1.0);
    EXPECT_EQ(o.Info.Year, -1);
    EXPECT_TRUE(o.Info.Title.empty());
    EXPECT_EQ(o.AudioSyncMethod, 0);
    EXPECT_EQ(o.VideoSyncMethod, -1);
    EXPECT_EQ(o.TargetType, ttIgnore);
    EXPECT_EQ(o.NormType, ntAuto);
    EXPECT_EQ(o.NormDefault, ntPAL);
    TInputOptions i;
    i.ProgramID = 3;
    InitInputOptions(i);
    EXPECT_EQ(i.ProgramID, -1);
    EXPECT_EQ(i.TimeStart, NoTimeValue);
    EXPECT_EQ(sizeof(TOptionTargetType), 4u);
}

TEST(TaskRecords, SplitsTextsIntoNameValueLines)
{
    EXPECT_THAT(SplitOptionLines("  a=1\r\nb=x=y<CRLF>flag\nc=\n  "),
                ElementsAre(TOptionLine{"a", "1"}, TOptionLine{"b", "x=y"}, TOptionLine{"flag", ""},
                            TOptionLine{"c", ""}));
    EXPECT_TRUE(SplitOptionLines("   ").empty());
}

TEST(TaskRecords, DefaultRecordSetsOnlyTheAlwaysCopiedFields)
{
    TRecorder r;
    ApplyOutputOptions(r, TOutputOptions());
    EXPECT_THAT(r.Calls, ElementsAreArray(AlwaysCalls));
}

TEST(TaskRecords, OutputFieldsBecomeCallsInOrder)
{
    TOutputOptions o;
    o.FileFormat = "avi";
    o.PacketSize = 2324;
    o.MuxRate = 0;  // not above 0: left out
    o.MuxDelay = 0.5f;
    o.MuxPreload = 0;
    o.DisableAudio = true;
    o.AudioVolume = 0;
    o.AudioChannels = 2;
    o.AudioSampleRate = 44100;
    o.AudioBitrate = 128000;
    o.AudioLanguage = "chi";
    o.AudioTag = "mp3 ";
    o.DisableVideo = true;
    o.FrameRate = "25";
    o.FrameAspectRatio = "4:3";
    o.CropTop = 8;
    o.CropRight = 0;
    o.GroupPictureSize = 12;
    o.VideoBitrate = 816000;
    o.VideoBufSize = 100;
    o.VideoSyncMethod = 1;
    o.VideoTag = "XVID";
    o.DisableSubtitle = true;
    o.InputSync = true;
    o.CopyTimestamp = true;
    o.TimeStart = 1000000;
    o.TimeLength = 5000000;
    o.Info.Year = 2010;
    o.Info.Track = 0;
    o.Info.Title = "T";
    o.Info.Genre = "G";
    TRecorder r;
    ApplyOutputOptions(r, o);
    EXPECT_THAT(r.Calls,
                ElementsAre("format avi", "opt packetsize=2324", "muxdelay 0.500000", "an 1", "vol 0", "ac 2",
                            "ar 44100", "opt ab=128000", "alang chi", "async 0", "atag mp3 ", "vn 1", "rate 25",
                            "aspect 4:3", "croptop 8", "opt g=12", "opt vb=816000", "opt bufsize=100", "vsync 1",
                            "vtag XVID", "vlang ", "sn 1", "slang ", "isync 1", "copyts 1", "ss 1000000",
                            "t 5000000", "meta year=2010", "meta title=T", "meta genre=G"));
}

TEST(TaskRecords, TargetsAndNorms)
{
    struct {
        TOptionTargetType Target;
        TOptionNormType Norm;
        TOptionNormDefault Default;
        const char* Expected;
    } cases[] = {
        {ttDVD, ntNTSC, ntPAL, "target dvd ntsc pal"},
        {ttVCD, ntAuto, ntNTSC, "target vcd auto ntsc"},
        {ttSVCD, ntPAL, ntPAL, "target svcd pal pal"},
        {ttSVCD, TOptionNormType(7), ntPAL, "target svcd auto pal"},
    };
    for (const auto& c : cases) {
        TOutputOptions o;
        o.TargetType = c.Target;
        o.NormType = c.Norm;
        o.NormDefault = c.Default;
        TRecorder r;
        ApplyTarget(r, o);
        EXPECT_THAT(r.Calls, ElementsAre(c.Expected));
    }
    TRecorder none;
    ApplyTarget(none, TOutputOptions());
    EXPECT_TRUE(none.Calls.empty());
}

TEST(TaskRecords, TimeStampZeroStampsNowAndPositiveConverts)
{
    TOutputOptions o;
    o.Info.TimeStamp = 0;
    TRecorder r;
    int64_t before = LocalToUnixTime(LocalNow());
    ApplyOutputOptions(r, o);
    int64_t after = LocalToUnixTime(LocalNow());
    EXPECT_GE(r.Stamp, before);
    EXPECT_LE(r.Stamp, after);

    o.Info.TimeStamp = 40000.5;  // 2009-07-06 12:00 local standard time
    TRecorder r2;
    ApplyOutputOptions(r2, o);
    EXPECT_EQ(r2.Stamp, LocalToUnixTime(40000.5));
    EXPECT_EQ(LocalToUnixTime(25569.0) - LocalToUnixTime(25570.0), -86400);

    o.Info.TimeStamp = -1;
    TRecorder r3;
    ApplyOutputOptions(r3, o);
    EXPECT_EQ(std::count(r3.Calls.begin(), r3.Calls.end(), "timestamp"), 0);
}

TEST(TaskRecords, ExtOptionsSkipStreamAndPresetLinesAndCodecsOfOutputs)
{
    const String text = "newvideo=\nvpre=x\nVF=scale\nacodec=mp2\nS=320x240\nAB=64000\nfoo=bar";
    TRecorder out, in;
    ApplyExtOptions(out, text, false);
    ApplyExtOptions(in, text, true);
    // Names in any case are the transcoder's lower-case ones.
    EXPECT_THAT(out.Calls, ElementsAre("opt ab=64000", "opt foo=bar"));
    EXPECT_THAT(in.Calls, ElementsAre("opt acodec=mp2", "opt s=320x240", "opt ab=64000", "opt foo=bar"));
}

TEST(TaskRecords, InputFieldsWinOverTextLines)
{
    TInputOptions i;
    i.ExtOptions = "ss=5<CRLF>f=avi";
    i.FileFormat = "mpeg";
    i.TimeStart = 2000000;
    i.ProgramID = 0;
    TRecorder r;
    ApplyInputOptions(r, i);
    EXPECT_THAT(r.Calls, ElementsAre("opt ss=5", "opt f=avi", "format mpeg", "ss 2000000", "programid 0"));
}

TEST(TaskRecords, QueuedCodecLinesFeedTheAddedStreams)
{
    TOutputOptions o;
    o.ExtOptions = "acodec=mp2\nnewaudio=\nacodec=aac\nnewaudio=";
    TCodecDefaults list;
    TRecorder r;
    ApplyOutputRecord(r, o, list);
    EXPECT_EQ(r.Calls[0], "opt acodec=mp2");  // the first stream's default
    r.Calls.clear();
    ApplyNewStreams(r, o.ExtOptions, list);
    EXPECT_THAT(r.Calls, ElementsAre("opt acodec=mp2", "opt apre=", "opt newaudio=", "opt acodec=aac", "opt apre=",
                                     "opt newaudio="));
}

TEST(TaskRecords, CodecDefaultsAndQueuedFilterLines)
{
    TOutputOptions o;
    o.VideoFilters = "hflip";
    o.VideoCodec = "mpeg4";
    o.ExtOptions = "vfilters=vflip\nvcodec=\nnewvideo=1";
    TCodecDefaults list;
    BuildCodecDefaults(list, o);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], (TOptionLine{"def_vcodec", "mpeg4"}));
    EXPECT_EQ(list[1], (TOptionLine{"def_vf", "hflip"}));
    EXPECT_EQ(list[2], (TOptionLine{"vf", "vflip"}));
    TRecorder r;
    ApplyNewStreams(r, o.ExtOptions, list);
    EXPECT_THAT(r.Calls, ElementsAre("opt vcodec=mpeg4", "opt vpre=", "opt s=", "opt vf=vflip", "opt newvideo=1"));
}

TEST(TaskRecords, OutputRecordRunsTheTaskListOrder)
{
    TOutputOptions o;
    o.AudioCodec = "libmp3lame";
    o.VideoCodec = "libx264";
    o.VideoPreset = "libx264-default";
    o.FrameSize = "320*240";
    o.TargetType = ttVCD;
    o.NormType = ntPAL;
    o.VideoBitrate = 816000;
    o.ExtOptions = "qmin=3";
    TCodecDefaults list;
    TRecorder r;
    ApplyOutputRecord(r, o, list);
    std::vector<String> expected = {"target vcd pal pal",    "opt acodec=libmp3lame", "opt vcodec=libx264",
                                    "opt scodec=",           "preset apre=",          "preset vpre=libx264-default",
                                    "preset spre=",          "opt qmin=3",            "opt vb=816000"};
    std::vector<String> got = r.Calls;
    got.erase(std::remove_if(got.begin(), got.end(),
                             [](const String& c) {
                                 return std::find(AlwaysCalls.begin(), AlwaysCalls.end(), c) != AlwaysCalls.end();
                             }),
              got.end());
    expected.push_back("opt s=320*240");
    expected.push_back("opt vf=");
    EXPECT_THAT(got, ElementsAreArray(expected));
}

TEST(TaskRecords, TextForms)
{
    TInputOptions i = InputOptionsFromText("TimeStart=abc<CRLF>f=avi");
    EXPECT_EQ(i.TimeStart, NoTimeValue);
    EXPECT_EQ(i.ExtOptions, "f=avi\n");
    EXPECT_EQ(InputOptionsFromText("timestart=1500000").TimeStart, 1500000);

    TOutputOptions o = OutputOptionsFromText("Hook=0\nJOIN\nTimeLength=20\nTimeStart=x\nvcodec=mpeg4");
    EXPECT_TRUE(o.CustomHook);
    EXPECT_TRUE(o.Join);
    EXPECT_EQ(o.TimeLength, 20);
    EXPECT_EQ(o.TimeStart, NoTimeValue);
    EXPECT_EQ(o.ExtOptions, "vcodec=mpeg4\n");
    EXPECT_TRUE(OutputOptionsFromText("customhook=").CustomHook);
}
