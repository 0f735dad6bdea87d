// The preset catalogue: categories, captions, codes, extensions and the fill of a
// preset box.
#include "presets/presets_support.h"

#include <map>
#include <set>

using namespace presettest;

TEST(PresetCatalogue, CategoriesAndCounts)
{
    const std::pair<const char*, int> expected[] = {
        {"视频格式", 15},   {"音频格式", 13}, {"高清格式", 10},    {"iPod格式", 14},    {"iPhone格式", 6}, {"PSP格式", 5},
        {"3GP格式", 14},    {"APPLE格式", 5}, {"XboX格式", 10},    {"PMP格式", 8},      {"MP4格式", 5},    {"Flash格式", 4},
        {"iPad格式", 6},    {"MPG格式", 11},  {"SWF格式", 7},      {"AVI格式", 7},      {"MKV格式", 7},    {"WMV格式", 7},
        {"ASF格式", 7},     {"Android格式", 14}, {"VOB格式", 6},   {"MTS格式", 13},     {"MOD格式", 13},   {"RMVB格式", 15},
    };
    int total = 0;
    for (int i = 0; i < PresetCategoryCount; ++i) {
        ASSERT_NE(PresetCategory(i), nullptr);
        EXPECT_STREQ(PresetCategory(i)->Caption, expected[i].first);
        EXPECT_EQ(PresetCount(i), expected[i].second) << i;
        total += PresetCount(i);
    }
    EXPECT_EQ(total, PresetTotalCount);
    EXPECT_EQ(PresetCategory(-1), nullptr);
    EXPECT_EQ(PresetCategory(24), nullptr);
    EXPECT_EQ(PresetCount(24), 0);
}

TEST(PresetCatalogue, CodesRunFrom100To2414)
{
    std::set<int> codes;
    for (int c = -5; c < 2600; ++c)
        if (IsPresetCode(c)) codes.insert(c);
    EXPECT_EQ(codes.size(), 222u);
    EXPECT_EQ(*codes.begin(), 100);
    EXPECT_EQ(*codes.rbegin(), 2414);
    for (int code : {100, 114, 200, 212, 413, 505, 1203, 2013, 2414}) EXPECT_TRUE(IsPresetCode(code)) << code;
    for (int code : {99, 115, 213, 414, 506, 1204, 2014, 2415, 2500}) EXPECT_FALSE(IsPresetCode(code)) << code;
    EXPECT_EQ(CategoryCode(23, 14), 2414);
    EXPECT_EQ(CategoryIndexOfCode(2414), 23);
    EXPECT_EQ(PresetIndexOfCode(2414), 14);
}

TEST(PresetCatalogue, CaptionsAsListed)
{
    const std::pair<int, const char*> samples[] = {
        {100, "AVI - 音频视频交错格式(*.avi)"},
        {114, "RM - REAL视频格式(*.rm)"},
        {210, "FLAC-音频格式(*.flac)"},
        {300, "高清AVI视频格式(*.avi)"},
        {301, "高清AVI视频格式(*.avi)"},
        {700, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)"},  // two spaces after the hyphen
        {1200, "FLV在线网络视频(*.flv)"},
        {1302, "iPad MPEG-4视频格式 XviD编码 (*.mp4)"},          // space before the bracket
        {2302, "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)"},
        {2402, "RM视频格式，转换为AVI视频格式(*.avi)"},          // full-width comma
        {2414, "RMVB视频转换为VCD视频(*.mpg)"},
    };
    for (const auto& [code, caption] : samples) EXPECT_EQ(PresetCaption(code), caption) << code;
    EXPECT_EQ(PresetCaption(115), "");
}

TEST(PresetCatalogue, EqualCaptionsAcrossCategories)
{
    for (int i : {0, 1, 2, 3, 9, 10, 11, 12, 13}) EXPECT_EQ(PresetCaption(2000 + i), PresetCaption(700 + i)) << i;
    EXPECT_EQ(PresetCaption(1504), PresetCaption(1200));
    EXPECT_EQ(PresetCaption(1505), PresetCaption(1203));
    EXPECT_EQ(PresetCaption(1506), PresetCaption(1202));
    EXPECT_EQ(PresetCaption(2102), PresetCaption(307));
}

TEST(PresetCatalogue, ExtensionsOfTheCaptions)
{
    std::map<String, int> counts;
    for (int c = 0; c < PresetCategoryCount; ++c)
        for (const char* caption : PresetCategory(c)->Presets) {
            String s = caption;
            ASSERT_EQ(s.back(), ')');
            size_t open = s.rfind("(*.");
            ASSERT_NE(open, String::npos) << s;
            String named = "." + s.substr(open + 3, s.size() - open - 4);
            EXPECT_EQ(PresetExtFromCaption(s), named) << s;
            ++counts[named];
        }
    const std::map<String, int> expected = {
        {".mp4", 63}, {".avi", 35}, {".mpg", 32}, {".wmv", 15}, {".3gp", 12}, {".mkv", 9},  {".asf", 9},
        {".vob", 8},  {".swf", 8},  {".flv", 7},  {".mov", 4},  {".3g2", 4},  {".amr", 3},  {".m4a", 2},
        {".rm", 1},   {".mp3", 1},  {".wma", 1},  {".wav", 1},  {".aac", 1},  {".ogg", 1},  {".ra", 1},
        {".ac3", 1},  {".aiff", 1}, {".mp2", 1},  {".flac", 1}};
    EXPECT_EQ(counts, expected);
}

TEST(PresetCatalogue, ExtensionRuleOfAnyCaption)
{
    const std::pair<const char*, const char*> cases[] = {
        {"RM - REAL视频格式(*.rm)", ".rm"}, {"RA - RealAudio音频格式(*.ra)", ".ra"},
        {"FLAC-音频格式(*.flac)", ".flac"}, {"AIFF - 音频交换文件格式(*.aiff)", ".aiff"},
        {"x(*.3g2)", ".3g2"},               {"短(*.ab)", "*.ab"},
        {"视频(*.视频格)", ".视频格"},            {"", ""}};
    for (const auto& [caption, ext] : cases) EXPECT_EQ(PresetExtFromCaption(caption), ext) << caption;
}

TEST(PresetCatalogue, FillReplacesEntriesAndSelectsTheFirst)
{
    TChoiceBox box;
    box.Items.push_back({"placeholder", 2});
    box.Index = 3;
    std::vector<int> seen;
    box.OnChange = [&] { seen.push_back(box.Index); };
    FillPresetCatalogue(box, 11);
    ASSERT_EQ(box.Items.size(), 4u);
    EXPECT_EQ(box.Items[0].Caption, "FLV在线网络视频(*.flv)");
    std::vector<int> images;
    for (const auto& item : box.Items) images.push_back(item.ImageIndex);
    EXPECT_EQ(images, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(seen, std::vector<int>{0});  // one change, for preset 0
    EXPECT_EQ(box.Refreshes, 2);

    FillPresetCatalogue(box, 23);
    ASSERT_EQ(box.Items.size(), 15u);
    EXPECT_EQ(box.Items[14].Caption, "RMVB视频转换为VCD视频(*.mpg)");
    EXPECT_EQ(box.Items[14].ImageIndex, 0);

    box.Index = 5;  // another preset chosen, then the same category again
    FillPresetCatalogue(box, 23);
    EXPECT_EQ(box.Items.size(), 15u);
    EXPECT_EQ(box.Index, 0);
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 0}));
}

TEST(PresetCatalogue, FillWithNoSuchCategoryLeavesTheBoxEmpty)
{
    TChoiceBox box;
    box.Items.push_back({"placeholder", 0});
    box.Index = 0;
    for (int category : {-1, 24}) {
        FillPresetCatalogue(box, category);
        EXPECT_TRUE(box.Items.empty());
        EXPECT_EQ(box.Changes, 0);
    }
}
