// The preset parameter table: sample entries field by field, and what holds for the
// whole table.
#include "presets/presets_support.h"

#include "app/presets/PresetOptionLists.h"

#include <set>

using namespace presettest;

namespace {

// The fields after applying a code, as one comparable line.
String FieldsLine(const TPresetFields& F)
{
    return F.Video_FileExt + "|" + F.Video_VideoCodec + "|" + F.Video_VideoTag + "|" + F.Video_FrameRate + "|" +
           F.Video_FrameSize + "|" + F.Video_FrameAspectRatio + "|" + IntToStr(F.Video_VideoBitrate) + "|" +
           F.Video_AudioCodec + "|" + F.Video_AudioChannels + "|" + F.Video_AudioSampleRate + "|" +
           IntToStr(F.Video_AudioBitrate) + "|" + F.Video_TargetType + "|" + F.Video_NormType + "|" +
           (F.Video_DisableVideo ? "novideo" : "video");
}

struct TSample {
    int Code;
    const char* OutputExt;
    const char* Line;  // FileExt|vcodec|tag|rate|size|aspect|vbr|acodec|ch|sr|abr|target|norm|video
};

const TSample Samples[] = {
    {100, ".avi", ".avi|mpeg4|XVID|25|||816000|libmp3lame|2|44100|128000|||video"},
    {103, ".mov", ".mov|||25|||816000|libfaac|2|44100|128000|||video"},
    {109, ".3gp", ".3gp|mpeg4||12|176*144|4:3|128000|libfaac|1|8000|12000|||video"},
    {111, ".mpg", "||||||-1000||||-1000|dvd|PAL|video"},
    {112, ".mpg", "||||||-1000||||-1000|svcd|PAL|video"},
    {113, ".mpg", "||||||-1000||||-1000|vcd|PAL|video"},
    {114, ".rm", "|rv20|||320*240||-1||||-1|||video"},
    {200, ".mp3", ".mp3||||||-1|libmp3lame|2|48000|128000|||novideo"},
    {206, ".ra", ".rm||||||-1||2|48000|128000|||novideo"},
    {209, ".mp2", ".mp2||||||-1||2|44100|128000|||novideo"},
    {212, ".amr", ".amr||||||-1|libopencore_amrnb|1|8000|7400|||novideo"},
    {302, ".mp4", ".mp4|libx264||25|1280*720||1600000|libmp3lame|2|48000|256000|||video"},
    {306, ".wmv", ".asf|wmv2||25|1280*720||1600000|wmav2|2|48000|128000|||video"},
    {408, ".mp4", ".mp4|libxvid||25|640*480||7680000|libfaac|2|48000|128000|||video"},
    {409, ".mp4", ".mp4|libx264||25|640*480||1200000|libfaac|2|48000|128000|||video"},
    {411, ".mp4", ".mp4|libxvid||25|640*480|16:9|1200000|libfaac|2|48000|128000|||video"},
    {600, ".mp4", ".mp4|mpeg4||29.97|320*240||600000|libfaac|2|48000|128000|||video"},
    {700, ".3gp", ".3gp|mpeg4||12|176*144||128000|libopencore_amrnb|1|8000|10200|||video"},
    {708, ".amr", ".amr||||||-1|libopencore_amrnb|1|8000|7400|||novideo"},
    {901, ".mpeg", ".mpeg|mpeg2video||25|1280*720||1200000|ac3|2|48000|192000|||video"},
    {906, ".avi", ".avi|wmv2||25|1280*720||1200000|libmp3lame|2|48000|128000|||video"},
    {909, ".mp4", ".mp4|msmpeg4v1||25|1280*720||1200000|libmp3lame|2|48000|128000|||video"},
    {1201, ".swf", ".swf|||25|||528000|libmp3lame|2|22050|128000|||video"},
    {1202, ".flv", "||||||-1|libmp3lame|2|22050|128000|||novideo"},
    {1305, ".mp4", ".mp4|mpeg4|DX50|25|640*480||1200000|libfaac|2|24000|128000|||video"},
    {1410, ".mpg", "||||||-1000||||-1000|vcd|PAL|video"},
    {1505, ".swf", "||||||-1|libmp3lame|2|22050|128000|||novideo"},
    {1803, ".wmv", ".wmv|wmv2||25|1024*768||1000000|wmav2|2|44100|128000|||video"},
    {2008, ".amr", ".amr||||||-1|libopencore_amrnb|1|8000|7400|||novideo"},
    {2100, ".vob", ".vob|||29.97|1280*720||1200000|libfaac|2|48000|128000|||video"},
    {2207, ".3gp", ".3gp|mpeg4||12|176*144|4:3|128000|libfaac|1|8000|12000|||video"},
    {2411, ".vob", ".vob|||25|1280*720||1600000|libfaac|2|48000|128000|||video"},
    {2414, ".mpg", "||||||-1000||||-1000|vcd|PAL|video"},
};

}  // namespace

TEST(PresetParams, SampleEntries)
{
    for (const TSample& s : Samples) {
        const TPresetParams* p = FindPresetParams(s.Code);
        ASSERT_NE(p, nullptr) << s.Code;
        EXPECT_STREQ(p->OutputExt, s.OutputExt) << s.Code;
        TPresetFields f;
        ApplyPresetParams(*p, f);
        EXPECT_EQ(FieldsLine(f), s.Line) << s.Code;
        EXPECT_EQ(f.Video_AudioVolume, "256");
        EXPECT_EQ(f.Video_VideoFilters + f.Video_CopyTimestamp + f.Video_FileFormat, "");
    }
}

TEST(PresetParams, EveryCatalogueCodeHasOneEntry)
{
    std::set<int> codes;
    for (const TPresetParams& p : PresetParamsTable()) {
        EXPECT_TRUE(IsPresetCode(p.Code)) << p.Code;
        EXPECT_TRUE(codes.insert(p.Code).second) << "twice: " << p.Code;
        EXPECT_EQ(FindPresetParams(p.Code), &p);
    }
    EXPECT_EQ(codes.size(), size_t(PresetTotalCount));
    for (int code : {99, 115, 414, 506, 2415, -1}) EXPECT_EQ(FindPresetParams(code), nullptr) << code;
}

TEST(PresetParams, OutputExtensionIsTheCaptions)
{
    // Three Xbox entries give their files another extension than their captions name.
    const std::set<int> differing = {901, 906, 909};
    for (const TPresetParams& p : PresetParamsTable()) {
        String named = PresetExtFromCaption(PresetCaption(p.Code));
        if (differing.count(p.Code))
            EXPECT_NE(named, p.OutputExt) << p.Code;
        else
            EXPECT_EQ(named, p.OutputExt) << p.Code;
    }
}

TEST(PresetParams, KindsOfEntries)
{
    const std::set<int> disc = {111, 112, 113, 1408, 1409, 1410, 2210, 2211, 2212, 2310, 2311, 2312, 2412, 2413, 2414};
    const std::set<int> emptyFileExt = {114, 1202, 1203, 1505, 1506};
    int audioOnly = 0;
    for (const TPresetParams& p : PresetParamsTable()) {
        const TPresetOptionEntry* lists = FindPresetOptionLists(p.Code);
        ASSERT_NE(lists, nullptr) << p.Code;
        EXPECT_EQ(p.DisableVideo, lists->AudioOnly) << p.Code;  // the same 19 presets in both tables
        audioOnly += p.DisableVideo;
        bool isDisc = disc.count(p.Code) > 0;
        EXPECT_EQ(String(p.NormType), isDisc ? "PAL" : "") << p.Code;
        EXPECT_EQ(String(p.TargetType).empty(), !isDisc) << p.Code;
        if (isDisc) {
            EXPECT_EQ(p.VideoBitrate, PresetBitrateNotSet);
            EXPECT_EQ(p.AudioBitrate, PresetBitrateNotSet);
            EXPECT_STREQ(p.OutputExt, ".mpg");
        }
        if (p.DisableVideo) {
            EXPECT_EQ(p.VideoBitrate, -1) << p.Code;
            EXPECT_EQ(String(p.VideoCodec) + p.FrameSize + p.FrameRate + p.FrameAspectRatio + p.VideoTag, "");
        }
        if (isDisc || emptyFileExt.count(p.Code))
            EXPECT_STREQ(p.FileExt, "") << p.Code;
        else if (p.Code == 206)
            EXPECT_STREQ(p.FileExt, ".rm");
        else if (p.Code == 306)
            EXPECT_STREQ(p.FileExt, ".asf");
        else
            EXPECT_STREQ(p.FileExt, p.OutputExt) << p.Code;
    }
    EXPECT_EQ(audioOnly, 19);
}

TEST(PresetParams, ResetKeepsOnlyTheInputName)
{
    TPresetFields f;
    f.Video_AddFileName = "/in/clip.avi";
    ApplyPresetParams(*FindPresetParams(302), f);
    f.Video_OutPutFileName = "/out/clip.mp4";
    f.Video_TimeStart = 5;
    f.Video_TimeLength = 6;
    f.Video_VideoFilters = "hflip";
    f.Video_AudioVolume = "100";
    f.Reset();
    EXPECT_EQ(f.Video_AddFileName, "/in/clip.avi");
    TPresetFields fresh;
    fresh.Video_AddFileName = f.Video_AddFileName;
    EXPECT_EQ(FieldsLine(f), FieldsLine(fresh));
    EXPECT_EQ(FieldsLine(f), "||||||-1||||-1|||video");
    EXPECT_EQ(f.Video_OutPutFileName + f.Video_VideoFilters, "");
    EXPECT_EQ(f.Video_AudioVolume, "256");
    EXPECT_EQ(f.Video_TimeStart, -1);
    EXPECT_EQ(f.Video_TimeLength, -1);
}
