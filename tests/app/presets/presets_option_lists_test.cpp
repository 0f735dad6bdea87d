// The option-list table, its fill of the six option boxes, the text rules and the option
// code.
#include "presets/presets_support.h"

#include <set>

using namespace presettest;

namespace {

std::vector<String> ListOf(int ACode, TPresetOption AOption)
{
    const TPresetOptionEntry* e = FindPresetOptionLists(ACode);
    std::vector<String> items;
    if (e)
        for (const char* s : e->Options[AOption].Items) items.push_back(s);
    return items;
}

String DefaultText(int ACode, TPresetOption AOption)
{
    const TPresetOptionList& l = FindPresetOptionLists(ACode)->Options[AOption];
    return l.Items[size_t(l.Default)];
}

struct TBoxes {
    TOptionBox Resolution, VideoBitrate, AudioBitrate, Aspect, FrameRate, SampleRate;
    std::vector<String> Events;
    TPresetOptionBoxes All{&Resolution, &VideoBitrate, &AudioBitrate, &Aspect, &FrameRate, &SampleRate};
    TBoxes()
    {
        const std::pair<TOptionBox*, const char*> names[] = {
            {&Resolution, "resolution"}, {&VideoBitrate, "video bitrate"}, {&AudioBitrate, "audio bitrate"},
            {&Aspect, "aspect"},         {&FrameRate, "frame rate"},       {&SampleRate, "sample rate"}};
        for (const auto& [box, name] : names) {
            String n = name;
            TOptionBox* b = box;
            box->OnChange = [this, n, b] {
                // a handler sees its own box filled and the later ones still empty
                Events.push_back(n + " " + IntToStr(int(b->Items.size())));
            };
        }
    }
    std::vector<String> Texts() const
    {
        return {Resolution.Shown, VideoBitrate.Shown, FrameRate.Shown, AudioBitrate.Shown, SampleRate.Shown, Aspect.Shown};
    }
    std::vector<bool> Enabled() const
    {
        return {Resolution.Enabled, VideoBitrate.Enabled, FrameRate.Enabled, AudioBitrate.Enabled, SampleRate.Enabled, Aspect.Enabled};
    }
};

}  // namespace

TEST(PresetOptionLists, EveryCatalogueCodeHasOneEntry)
{
    std::set<int> codes;
    std::set<String> lists;
    for (const TPresetOptionEntry& e : PresetOptionTable()) {
        EXPECT_TRUE(IsPresetCode(e.Code)) << e.Code;
        EXPECT_TRUE(codes.insert(e.Code).second) << e.Code;
        for (const TPresetOptionList& l : e.Options) {
            ASSERT_FALSE(l.Items.empty());
            EXPECT_GE(l.Default, 0) << e.Code;
            EXPECT_LT(l.Default, int(l.Items.size())) << e.Code;
            String key;
            for (const char* s : l.Items) key += String(s) + "\n";
            lists.insert(key);
        }
    }
    EXPECT_EQ(codes.size(), size_t(PresetTotalCount));
    EXPECT_EQ(lists.size(), 53u);  // 55 lists, three of them the same one-value "无视频"
    EXPECT_EQ(FindPresetOptionLists(414), nullptr);
    EXPECT_EQ(FindPresetOptionLists(99), nullptr);
}

TEST(PresetOptionLists, SampleListsAndDefaults)
{
    std::vector<String> r1 = ListOf(100, poResolution);
    ASSERT_EQ(r1.size(), 28u);
    EXPECT_EQ(r1[0], "保持原分辨率");
    EXPECT_EQ(r1[24], "1920*1200");
    EXPECT_EQ(r1[25], "1920*1200");
    EXPECT_EQ(r1[26], "2048*1536");
    EXPECT_EQ(r1[27], "2560*1600");

    std::vector<String> r19 = ListOf(1100, poResolution);
    EXPECT_EQ(r19.size(), 19u);
    EXPECT_EQ(r19.back(), "1024*768");
    EXPECT_EQ(DefaultText(1100, poResolution), "320*240");

    EXPECT_EQ(ListOf(400, poResolution),
              (std::vector<String>{"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480"}));
    EXPECT_EQ(ListOf(212, poAudioBitrate), (std::vector<String>{"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps",
                                                                "7.95 kbps", "10.2 kbps", "12.2 kbps"}));
    EXPECT_EQ(ListOf(109, poAspect), (std::vector<String>{"保持原视频模式", "普通视频4:3模式"}));
    EXPECT_EQ(ListOf(700, poFrameRate), (std::vector<String>{"1", "2", "3", "5", "10", "12", "15"}));
    EXPECT_EQ(ListOf(100, poFrameRate)[7], "23.97");
    EXPECT_EQ(ListOf(400, poFrameRate)[5], "23.98");
    EXPECT_EQ(ListOf(709, poAudioBitrate)[7], "116 kbps");
    EXPECT_EQ(ListOf(1300, poResolution)[3], "960*540");
    EXPECT_EQ(ListOf(502, poResolution).back(), "720*406");

    const std::pair<int, std::vector<String>> defaults[] = {
        {100, {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}},
        {101, {"保持原分辨率", "768 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}},
        {212, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}},
        {411, {"640*272", "768 kbps", "25.00", "128 kbps", "48000", "宽屏视频16:9模式"}},
        {1501, {"1280*720", "1600 kbps", "29.97", "128 kbps", "22050", "保持原视频模式"}},
        {2414, {"320*240", "528 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}},
    };
    for (const auto& [code, texts] : defaults) {
        std::vector<String> got;
        for (int o = 0; o < PresetOptionCount; ++o) got.push_back(DefaultText(code, TPresetOption(o)));
        EXPECT_EQ(got, texts) << code;
    }
}

TEST(PresetOptionLists, AudioOnlyEntries)
{
    const std::set<int> expected = {200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 708, 1202, 1203, 1505, 1506, 2008};
    std::set<int> audio;
    for (const TPresetOptionEntry& e : PresetOptionTable()) {
        if (!e.AudioOnly) continue;
        audio.insert(e.Code);
        EXPECT_EQ(ListOf(e.Code, poResolution), std::vector<String>{"该格式无视频"});
        for (TPresetOption o : {poVideoBitrate, poFrameRate, poAspect})
            EXPECT_EQ(ListOf(e.Code, o), std::vector<String>{"无视频"}) << e.Code;
    }
    EXPECT_EQ(audio, expected);
}

TEST(PresetOptionLists, FillSelectsDefaultsInFillOrder)
{
    TBoxes b;
    FillPresetOptions(b.All, 100);
    EXPECT_EQ(b.Texts(), (std::vector<String>{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}));
    EXPECT_EQ(b.Events, (std::vector<String>{"resolution 28", "video bitrate 8", "frame rate 12", "audio bitrate 17",
                                             "sample rate 6", "aspect 5"}));
    EXPECT_EQ(b.Enabled(), std::vector<bool>(6, true));
    EXPECT_EQ(BuildOptionCode(b.All), "000310000904");

    // Only the box whose shown text changes raises its change.
    b.Events.clear();
    FillPresetOptions(b.All, 101);
    EXPECT_EQ(b.Events, std::vector<String>{"video bitrate 9"});
    b.Events.clear();
    FillPresetOptions(b.All, 101);
    EXPECT_TRUE(b.Events.empty());
}

TEST(PresetOptionLists, AudioOnlyFillDisablesTheVideoBoxes)
{
    TBoxes b;
    FillPresetOptions(b.All, 212);
    EXPECT_EQ(b.Texts(), (std::vector<String>{"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}));
    EXPECT_EQ(b.Enabled(), (std::vector<bool>{false, false, false, true, true, false}));
    FillPresetOptions(b.All, 100);
    EXPECT_EQ(b.Enabled(), std::vector<bool>(6, true));
    EXPECT_EQ(b.Resolution.Items.size(), 28u);
}

TEST(PresetOptionLists, CodeWithoutEntryLeavesBoxesEmptyAndEnabled)
{
    TBoxes b;
    FillPresetOptions(b.All, 212);
    b.Events.clear();
    FillPresetOptions(b.All, 115);
    EXPECT_EQ(b.Enabled(), std::vector<bool>(6, true));
    for (TOptionBox* box : {&b.Resolution, &b.VideoBitrate, &b.AudioBitrate, &b.Aspect, &b.FrameRate, &b.SampleRate}) {
        EXPECT_TRUE(box->Items.empty());
        EXPECT_EQ(box->Index, -1);
    }
    EXPECT_EQ(b.Texts()[3], "7.4 kbps");  // shown texts stay
    EXPECT_TRUE(b.Events.empty());
}

TEST(PresetOptionLists, TextRules)
{
    EXPECT_EQ(FrameSizeFromText("保持原分辨率"), "");
    EXPECT_EQ(FrameSizeFromText("该格式无视频"), "");
    EXPECT_EQ(FrameSizeFromText("1280*720"), "1280*720");
    EXPECT_EQ(FrameRateFromText("保持原帧速率"), "");
    EXPECT_EQ(FrameRateFromText("无视频"), "");
    EXPECT_EQ(FrameRateFromText("29.97"), "29.97");
    EXPECT_EQ(FrameRateFromText("15"), "15");
    EXPECT_EQ(SampleRateFromText("8000"), "8000");

    const std::pair<const char*, int32_t> video[] = {{"无视频", -1000}, {"1200 kbps", 1200000}, {"8 kbps", 8000},
                                                     {"816 kbps", 816000}, {"kbps", -1}, {"abc", -1}};
    for (const auto& [text, bits] : video) EXPECT_EQ(VideoBitrateFromText(text), bits) << text;
    const std::pair<const char*, int32_t> audio[] = {
        {"128 kbps", 128000}, {"116 kbps", 116000}, {"4.75 kbps", 4750}, {"5.15 kbps", 5150}, {"5.9 kbps", 5900},
        {"6.7 kbps", 6700},   {"7.4 kbps", 7400},   {"7.95 kbps", 7950}, {"10.2 kbps", 10200}, {"12.2 kbps", 12200},
        {"无视频", -1},       {" kbps", -1},        {"9999999 kbps", -1}};
    for (const auto& [text, bits] : audio) EXPECT_EQ(AudioBitrateFromText(text), bits) << text;
    // every bitrate text of the table reads as a whole, positive number
    for (const TPresetOptionEntry& e : PresetOptionTable()) {
        for (const char* s : e.Options[poAudioBitrate].Items) EXPECT_GT(AudioBitrateFromText(s), 0) << s;
        for (const char* s : e.Options[poVideoBitrate].Items)
            EXPECT_TRUE(VideoBitrateFromText(s) > 0 || String(s) == "无视频") << s;
    }

    const std::pair<const char*, const char*> aspects[] = {
        {"保持原视频模式", ""}, {"普通视频4:3模式", "4:3"}, {"宽屏视频16:9模式", "16:9"}, {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"}, {"无视频", ""}, {"other", "keep"}};
    for (const auto& [text, aspect] : aspects) EXPECT_EQ(AspectFromText(text, "keep"), aspect) << text;
}

TEST(PresetOptionLists, OptionCodeDigits)
{
    EXPECT_EQ(OptionDigits(0), "00");
    EXPECT_EQ(OptionDigits(9), "09");
    EXPECT_EQ(OptionDigits(27), "27");
    EXPECT_EQ(OptionDigits(-1), "00");
    EXPECT_EQ(OptionDigits(123), "99");
    const std::pair<TPresetOption, const char*> cases[] = {
        {poResolution, "190310000904"}, {poVideoBitrate, "001910000904"}, {poAudioBitrate, "000319000904"},
        {poAspect, "000310190904"},     {poFrameRate, "000310001904"},    {poSampleRate, "000310000919"}};
    for (const auto& [option, code] : cases) EXPECT_EQ(SetOptionCodeDigits("000310000904", option, 19), code);
    EXPECT_EQ(SetOptionCodeDigits("0003", poSampleRate, 5), "000300000005");
    EXPECT_EQ(SetOptionCodeDigits("00031000090477", poResolution, 1), "010310000904");
}
