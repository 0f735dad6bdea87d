// The settings dialog's own preset tables against the shared ones: the catalogue's
// titles and descriptions, the option rows (naming the shared value lists) and the
// parameter rows with their three cell states.
#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOutput.h"
#include "app/forms/Unit6.h"
#include "forms/settings_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using namespace settingstest;

namespace {

std::vector<int> CatalogueCodes()
{
    std::vector<int> codes;
    for (int c = 0; c < SettingsCategoryCount; ++c)
        for (size_t p = 0; p < SettingsCategory(c)->Presets.size(); ++p) codes.push_back(CategoryCode(c, int(p)));
    return codes;
}

const TSettingsPreset& Preset(int ACode)
{
    return SettingsCategory(CategoryIndexOfCode(ACode))->Presets[size_t(PresetIndexOfCode(ACode))];
}

const std::set<int> AudioOnlyCodes = {200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 708, 1202, 1203};

}  // namespace

TEST(SettingsTables, TwelveCategoriesOf109PresetsWithTheirPictures)
{
    const std::vector<size_t> counts = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
    const std::vector<String> captions = {"常用视频", "常用音频", "HD视频",  "iPod视频", "iPhone视频", "PSP视频",
                                          "3GP视频",  "APPLE视频", "XboX视频", "PMP视频",  "MP4视频",    "Flash视频"};
    size_t total = 0;
    for (int c = 0; c < SettingsCategoryCount; ++c) {
        const TSettingsCategory* category = SettingsCategory(c);
        ASSERT_NE(category, nullptr);
        EXPECT_EQ(category->Caption, captions[size_t(c)]);
        EXPECT_EQ(category->ImageIndex, c);
        EXPECT_EQ(category->Presets.size(), counts[size_t(c)]) << c;
        total += category->Presets.size();
    }
    EXPECT_EQ(total, size_t(SettingsPresetCount));
    EXPECT_EQ(SettingsCategory(-1), nullptr);
    EXPECT_EQ(SettingsCategory(12), nullptr);
}

TEST(SettingsTables, TitlesAreTheSharedCaptionsExceptThreeKeptAsStored)
{
    const std::map<int, String> own = {
        {202, "WAV - 波形音频格式(*.wav) "},
        {211, "ALAC-Apple Lossless无损音频格式(*.alac) "},
        {702, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))"},
    };
    for (int code : CatalogueCodes()) {
        auto it = own.find(code);
        if (it == own.end()) {
            EXPECT_EQ(Preset(code).Title, PresetCaption(code)) << code;
        } else {
            EXPECT_EQ(Preset(code).Title, it->second) << code;
            EXPECT_NE(Preset(code).Title, PresetCaption(code)) << code;
        }
    }
}

TEST(SettingsTables, EveryPresetHasAOneLineDescription)
{
    for (int code : CatalogueCodes()) {
        String d = Preset(code).Description;
        EXPECT_FALSE(d.empty()) << code;
        EXPECT_EQ(d.find('\n'), String::npos) << code;
    }
    // Stored texts as they stand, faults included.
    EXPECT_EQ(String(Preset(303).Description), "高清MPEG-4视频格式)");
    EXPECT_EQ(String(Preset(211).Description),
              "ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质");
    EXPECT_EQ(String(Preset(400).Description), "为iPod优化的MPEG-4视频预置方案.(320*240高质量)");
    EXPECT_EQ(Preset(901).Description, String(Preset(902).Description));
}

TEST(SettingsTables, OptionRowsCoverTheCatalogueAndSixteenAreAudioOnly)
{
    std::vector<int> codes;
    std::set<int> audio;
    for (const TSettingsOptionRow& row : SettingsOptionRows()) {
        codes.push_back(row.Code);
        if (row.AudioOnly) audio.insert(row.Code);
    }
    EXPECT_EQ(codes, CatalogueCodes());
    EXPECT_EQ(audio, AudioOnlyCodes);
    EXPECT_EQ(FindSettingsOptionRow(115), nullptr);
    EXPECT_EQ(FindSettingsOptionRow(99), nullptr);
    EXPECT_EQ(FindSettingsOptionRow(1204), nullptr);
}

TEST(SettingsTables, FiftySharedListsAreNamed)
{
    std::set<std::pair<int, int>> used;
    for (const TSettingsOptionRow& row : SettingsOptionRows())
        for (int o = 0; o < PresetOptionCount; ++o) {
            std::span<const char* const> list = PresetValueList(TPresetOption(o), row.Cells[o].List);
            ASSERT_FALSE(list.empty()) << row.Code << " box " << o;
            EXPECT_GE(row.Cells[o].Default, 0);
            EXPECT_LT(size_t(row.Cells[o].Default), list.size()) << row.Code << " box " << o;
            used.insert({o, row.Cells[o].List});
        }
    EXPECT_EQ(used.size(), 50u);
    std::map<int, int> perBox;
    for (auto [o, n] : used) ++perBox[o];
    EXPECT_EQ(perBox, (std::map<int, int>{{poResolution, 19}, {poVideoBitrate, 10}, {poFrameRate, 7},
                                          {poAudioBitrate, 6}, {poSampleRate, 5}, {poAspect, 3}}));
}

TEST(SettingsTables, OptionRowsEqualTheSharedRowsExceptTheAmrBitrates)
{
    for (const TSettingsOptionRow& row : SettingsOptionRows()) {
        const TPresetOptionEntry* shared = FindPresetOptionLists(row.Code);
        ASSERT_NE(shared, nullptr) << row.Code;
        TPresetOptionEntry own = SettingsOptionEntry(row);
        EXPECT_EQ(own.AudioOnly, shared->AudioOnly) << row.Code;
        for (int o = 0; o < PresetOptionCount; ++o) {
            std::vector<String> a(own.Options[o].Items.begin(), own.Options[o].Items.end());
            std::vector<String> b(shared->Options[o].Items.begin(), shared->Options[o].Items.end());
            bool amr = (row.Code == 700 || row.Code == 702 || row.Code == 704) && o == poAudioBitrate;
            if (!amr) {
                EXPECT_EQ(a, b) << row.Code << " box " << o;
                EXPECT_EQ(own.Options[o].Default, shared->Options[o].Default) << row.Code << " box " << o;
                continue;
            }
            EXPECT_EQ(a, (std::vector<String>{"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"}));
            EXPECT_EQ(own.Options[o].Default, 5);
            EXPECT_NE(a, b);
        }
    }
}

TEST(SettingsTables, ParameterRowsDifferFromTheSharedTableOnlyAtFourCodes)
{
    std::vector<int> differing;
    for (const TSettingsParams& row : SettingsParamsRows()) {
        TPresetFields own, shared;
        own.Video_AddFileName = shared.Video_AddFileName = "/in/clip.mkv";
        ApplySettingsCode(row.Code, own, "/nonexistent-out", false);
        ApplyPresetCode(row.Code, shared, "/nonexistent-out", false);
        if (FieldTexts(own) != FieldTexts(shared)) differing.push_back(row.Code);
    }
    EXPECT_EQ(differing, (std::vector<int>{211, 700, 702, 704}));
    std::vector<int> codes;
    for (const TSettingsParams& row : SettingsParamsRows()) codes.push_back(row.Code);
    EXPECT_EQ(codes, CatalogueCodes());
}

TEST(SettingsTables, ParameterRowsOfTheOwnCodesKeepTheirValues)
{
    struct TCase {
        int Code;
        String OutputName, FileExt, VideoCodec, AudioCodec;
        int32_t AudioBitrate;
        bool DisableVideo;
    };
    const TCase cases[] = {
        {206, "/o/clip.ra", ".rm", "", "", 128000, true},
        {211, "/o/clip.m4a", ".alac", "", "alac", 128000, true},
        {306, "/o/clip.wmv", ".asf", "wmv2", "wmav2", 128000, false},
        {700, "/o/clip.3gp", ".3gp", "h263", "libamr_nb", 12000, false},
        {702, "/o/clip.3gp", ".3gp", "mpeg4", "libamr_nb", 12000, false},
        {704, "/o/clip.3gp", ".3gp", "mpeg4", "libamr_nb", 10200, false},
        {408, "/o/clip.mp4", ".mp4", "libxvid", "libfaac", 128000, false},
    };
    for (const TCase& c : cases) {
        TPresetFields f;
        f.Video_AddFileName = "/in/clip.mkv";
        ApplySettingsCode(c.Code, f, "/o", false);
        EXPECT_EQ(f.Video_OutPutFileName, c.OutputName) << c.Code;
        EXPECT_EQ(f.Video_FileExt, c.FileExt) << c.Code;
        EXPECT_EQ(f.Video_VideoCodec, c.VideoCodec) << c.Code;
        EXPECT_EQ(f.Video_AudioCodec, c.AudioCodec) << c.Code;
        EXPECT_EQ(f.Video_AudioBitrate, c.AudioBitrate) << c.Code;
        EXPECT_EQ(f.Video_DisableVideo, c.DisableVideo) << c.Code;
    }
    TPresetFields f;
    ApplySettingsCode(408, f, "/o", false);
    EXPECT_EQ(f.Video_VideoBitrate, 7680000);
}

// Written straight over filled fields, a row shows its three cell states: "—" writes
// the empty string, a blank cell leaves the field, "=" writes the output extension.
TEST(SettingsTables, CellStatesOverFilledFields)
{
    auto filled = [] {
        TPresetFields f;
        for (String* s : {&f.Video_FileExt, &f.Video_VideoCodec, &f.Video_VideoTag, &f.Video_FrameRate,
                          &f.Video_FrameAspectRatio, &f.Video_FrameSize, &f.Video_VideoFilters, &f.Video_AudioCodec,
                          &f.Video_AudioChannels, &f.Video_AudioSampleRate, &f.Video_AudioVolume,
                          &f.Video_NormType, &f.Video_CopyTimestamp, &f.Video_FileFormat, &f.Video_TargetType})
            *s = "old";
        f.Video_VideoBitrate = f.Video_AudioBitrate = 1;
        return f;
    };
    TPresetFields f = filled();
    ApplySettingsParams(*FindSettingsParams(101), f);
    EXPECT_EQ(f.Video_FileExt, ".mp4");     // "="
    EXPECT_EQ(f.Video_VideoTag, "");        // "—"
    EXPECT_EQ(f.Video_VideoFilters, "");    // written by every video row
    EXPECT_EQ(f.Video_AudioVolume, "256");

    f = filled();
    ApplySettingsParams(*FindSettingsParams(114), f);
    EXPECT_EQ(f.Video_VideoCodec, "rv20");
    EXPECT_EQ(f.Video_FrameSize, "320*240");
    EXPECT_EQ(f.Video_AudioCodec, "old");   // blank
    EXPECT_EQ(f.Video_AudioVolume, "old");
    EXPECT_EQ(f.Video_FileExt, "old");
    EXPECT_EQ(f.Video_AudioBitrate, 1);
    EXPECT_EQ(f.Video_TargetType, "");
    EXPECT_EQ(f.Video_CopyTimestamp, "");

    f = filled();
    ApplySettingsParams(*FindSettingsParams(111), f);
    EXPECT_EQ(f.Video_FileExt, "old");
    EXPECT_EQ(f.Video_VideoFilters, "old");
    EXPECT_EQ(f.Video_CopyTimestamp, "old");
    EXPECT_EQ(f.Video_NormType, "PAL");
    EXPECT_EQ(f.Video_TargetType, "dvd");
    EXPECT_EQ(f.Video_VideoBitrate, -1000);

    f = filled();
    ApplySettingsParams(*FindSettingsParams(1202), f);
    EXPECT_EQ(f.Video_FileExt, "old");
    EXPECT_EQ(f.Video_VideoCodec, "old");
    EXPECT_TRUE(f.Video_DisableVideo);
    EXPECT_EQ(f.Video_AudioCodec, "libmp3lame");
}
