// The output file of a preset: the name rule on a real folder, the parameter routine's
// fields, the selected row's columns and the copy into a task's output options.
#include "presets/presets_support.h"

#include <filesystem>
#include <fstream>

using namespace presettest;
namespace fs = std::filesystem;

namespace {

class PresetOutputFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        String templ = (fs::temp_directory_path() / "vc_presets_XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        Dir = templ;
    }
    void TearDown() override { fs::remove_all(Dir); }
    void Touch(const String& AName) { std::ofstream(Dir + "/" + AName) << "x"; }

    String Dir;
};

struct TNameCase {
    const char* Input;
    const char* Ext;
    std::vector<const char*> Files;    // present in the output folder
    std::vector<const char*> Folders;  // present in the output folder
    bool Overwrite;
    const char* Expected;              // name in the output folder
};

const TNameCase NameCases[] = {
    {"/video/clip.avi", ".mp4", {}, {}, false, "clip.mp4"},
    {"/video/clip", ".mp4", {}, {}, false, "clip.mp4"},
    {"/video/a.b.c.avi", ".mp4", {}, {}, false, "a.b.c.mp4"},
    {"/video/a.b.c.avi", ".mp4", {"a.b.c.mp4"}, {}, false, "a.b.c_1.mp4"},
    {"/video/clip.", ".mp4", {}, {}, false, "clip.mp4"},
    {"/video/.clip", ".mp4", {}, {}, false, ".mp4"},
    {"/video/.clip", ".mp4", {".mp4"}, {}, false, "_1.mp4"},
    {"/my.video/clip", ".mp4", {}, {}, false, "clip.mp4"},
    {"/video/clip.avi", ".mp4", {"clip.mp4", "clip_1.mp4", "clip_2.mp4"}, {}, false, "clip_3.mp4"},
    {"/video/clip.avi", ".mp4", {"clip.mp4", "clip_1.mp4", "clip_3.mp4"}, {}, false, "clip_2.mp4"},
    {"/video/clip.avi", ".mp4", {"clip_1.mp4"}, {}, false, "clip.mp4"},
    {"/video/clip_1.avi", ".mp4", {"clip_1.mp4"}, {}, false, "clip_1_1.mp4"},
    {"/video/clip.avi", ".mp4", {"clip.mp4"}, {}, true, "clip.mp4"},
    {"/video/clip.avi", ".mp4", {}, {"clip.mp4"}, false, "clip.mp4"},
    {"/video/clip.avi", ".mp4", {"clip_1.mp4"}, {"clip.mp4"}, false, "clip.mp4"},
    {"/video/测试视频.avi", ".mp4", {"测试视频.mp4"}, {}, false, "测试视频_1.mp4"},
    {"/video/a:b.avi", ".aiff", {}, {}, false, "a:b.aiff"},
    {"clip.avi", ".ra", {"clip.ra"}, {}, false, "clip_1.ra"},
};

}  // namespace

TEST_F(PresetOutputFolder, NameRule)
{
    int n = 0;
    for (const TNameCase& c : NameCases) {
        String folder = Dir + "/case" + IntToStr(n++);
        fs::create_directory(folder);
        for (const char* f : c.Files) std::ofstream(folder + "/" + f) << "x";
        for (const char* d : c.Folders) fs::create_directory(folder + "/" + d);
        String first = ComposeOutputName(folder, c.Input, c.Ext);
        EXPECT_EQ(SettleOutputPath(first, folder, c.Overwrite), folder + "/" + c.Expected) << c.Input;
    }
}

TEST_F(PresetOutputFolder, FolderTextIsTakenAsItStands)
{
    // A trailing "/" stays: the separator is doubled, which the file system accepts.
    Touch("clip.mp4");
    String folder = Dir + "/";
    EXPECT_EQ(SettleOutputPath(ComposeOutputName(folder, "/v/clip.avi", ".mp4"), folder, false), Dir + "//clip_1.mp4");
    // A missing folder: nothing exists there, the candidate stays.
    String missing = Dir + "/missing";
    EXPECT_EQ(SettleOutputPath(ComposeOutputName(missing, "/v/clip.avi", ".mp4"), missing, false), missing + "/clip.mp4");
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(PresetOutputFolder, ExistenceTest)
{
    Touch("file");
    fs::create_directory(Dir + "/dir");
    fs::create_symlink(Dir + "/nowhere", Dir + "/dangling");
    fs::create_symlink(Dir + "/loop", Dir + "/loop");  // cannot be queried: the listing decides
    fs::create_symlink(Dir + "/dir", Dir + "/dirlink");
    EXPECT_TRUE(OutputFileExists(Dir + "/file"));
    EXPECT_FALSE(OutputFileExists(Dir + "/dir"));
    EXPECT_FALSE(OutputFileExists(Dir + "/dirlink"));
    EXPECT_TRUE(OutputFileExists(Dir + "/dangling"));
    EXPECT_TRUE(OutputFileExists(Dir + "/loop"));
    EXPECT_FALSE(OutputFileExists(Dir + "/none"));
    EXPECT_FALSE(OutputFileExists(Dir + "/file/below"));
    EXPECT_FALSE(OutputFileExists(""));
    EXPECT_FALSE(OutputFileExists(Dir + "/" + String(5000, 'a')));
    EXPECT_EQ(SettleOutputPath(Dir + "/loop", Dir, false), Dir + "/loop_1");
}

TEST_F(PresetOutputFolder, ParameterRoutineFields)
{
    TPresetFields f;
    f.Video_AddFileName = "/in/clip.mkv";
    f.Video_TimeStart = 7;
    ApplyPresetCode(100, f, Dir, false);
    EXPECT_EQ(f.Video_OutPutFileName, Dir + "/clip.avi");
    EXPECT_EQ(f.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(f.Video_TimeStart, -1);
    EXPECT_EQ(f.Video_AddFileName, "/in/clip.mkv");

    Touch("clip.ra");
    ApplyPresetCode(206, f, Dir, false);
    EXPECT_EQ(f.Video_OutPutFileName, Dir + "/clip_1.ra");
    EXPECT_EQ(f.Video_FileExt, ".rm");
    EXPECT_TRUE(f.Video_DisableVideo);

    ApplyPresetCode(901, f, Dir, false);  // the entry's extension, not the caption's
    EXPECT_EQ(f.Video_OutPutFileName, Dir + "/clip.mpeg");
    EXPECT_FALSE(f.Video_DisableVideo);

    // Applying twice gives the same fields: every run starts from the reset.
    TPresetFields again = f;
    ApplyPresetCode(901, again, Dir, false);
    EXPECT_EQ(again.Video_OutPutFileName, f.Video_OutPutFileName);
    EXPECT_EQ(again.Video_VideoBitrate, f.Video_VideoBitrate);

    // No entry: the fields stay reset and there is no output name.
    ApplyPresetCode(115, f, Dir, false);
    EXPECT_EQ(f.Video_OutPutFileName, "");
    EXPECT_EQ(f.Video_VideoCodec, "");
    EXPECT_EQ(f.Video_VideoBitrate, -1);
}

TEST(PresetOutput, ChangeOfExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"clip_1.mp4", "clip_1.avi"}, {"clip", "clip.avi"}, {"a.b.mp4", "a.b.avi"}, {"/x.y/clip", "clip.avi"},
        {".mp4", ".avi"}, {"视频.mp4", "视频.avi"}};
    for (const auto& [name, changed] : cases) EXPECT_EQ(ChangeOutputExt(name, ".avi"), changed) << name;
}

TEST(PresetOutput, SelectedRowColumns)
{
    const std::pair<int, std::vector<String>> cases[] = {
        {100, {"mpeg4", "libmp3lame", "2", "XVID", ".avi", "", "816000", "25", "128000", "44100", "", "False", "", ""}},
        {206, {"", "", "2", "", ".rm", "", "-1", "", "128000", "48000", "", "True", "", ""}},
        {111, {"", "", "", "", "", "", "-1000", "", "-1000", "", "", "False", "dvd", "PAL"}},
        {109, {"mpeg4", "libfaac", "1", "", ".3gp", "176*144", "128000", "12", "12000", "8000", "4:3", "False", "", ""}},
    };
    for (const auto& [code, columns] : cases) {
        TJobList jobs;
        jobs.Selected = jobs.AddRow("clip.avi", 100, "000310000904");
        TPresetFields f;
        ApplyPresetParams(*FindPresetParams(code), f);
        WritePresetColumns(f, jobs);
        std::vector<String> got(jobs.Row().begin() + 11, jobs.Row().end());
        EXPECT_EQ(got, columns) << code;
        EXPECT_EQ(jobs.Row()[jcOutputFile], "clip.avi");
        EXPECT_EQ(jobs.Row()[jcOptionCode], "000310000904");
    }
    TJobList none;
    none.AddRow("clip.avi", 100, "000310000904");
    TPresetFields f;
    ApplyPresetParams(*FindPresetParams(100), f);
    WritePresetColumns(f, none);
    EXPECT_EQ(none.Rows[0][jcVideoCodec], "");
}

TEST(PresetOutput, FieldsIntoOutputOptions)
{
    auto optionsOf = [](int ACode) {
        TPresetFields f;
        ApplyPresetParams(*FindPresetParams(ACode), f);
        TOutputOptions o;
        PresetFieldsToOutputOptions(f, o);
        return o;
    };
    TOutputOptions o = optionsOf(302);
    EXPECT_EQ(o.VideoCodec, "libx264");
    EXPECT_EQ(o.VideoPreset, "libx264-default");
    EXPECT_EQ(o.FrameSize, "1280*720");
    EXPECT_EQ(o.FrameRate, "25");
    EXPECT_EQ(o.VideoBitrate, 1600000);
    EXPECT_EQ(o.AudioCodec, "libmp3lame");
    EXPECT_EQ(o.AudioChannels, 2);
    EXPECT_EQ(o.AudioSampleRate, 48000);
    EXPECT_EQ(o.AudioBitrate, 256000);
    EXPECT_EQ(o.AudioVolume, 256);
    EXPECT_EQ(o.TargetType, ttIgnore);
    EXPECT_EQ(o.NormType, ntAuto);
    EXPECT_FALSE(o.DisableVideo);

    o = optionsOf(100);
    EXPECT_EQ(o.VideoTag, "XVID");
    EXPECT_EQ(o.VideoPreset, "");

    o = optionsOf(1408);
    EXPECT_EQ(o.TargetType, ttDVD);
    EXPECT_EQ(o.NormType, ntPAL);
    EXPECT_EQ(o.VideoBitrate, -1);  // -1000: not set
    EXPECT_EQ(o.AudioBitrate, -1);
    EXPECT_EQ(o.VideoCodec, "");
    EXPECT_EQ(o.AudioChannels, -1);

    o = optionsOf(212);
    EXPECT_TRUE(o.DisableVideo);
    EXPECT_EQ(o.AudioCodec, "libopencore_amrnb");
    EXPECT_EQ(o.AudioBitrate, 7400);
    EXPECT_EQ(o.VideoBitrate, -1);

    TPresetFields f;
    f.Video_AudioCodec = "AUTO";
    f.Video_AudioSampleRate = "AUTO";
    f.Video_NormType = "NTSC";
    f.Video_TargetType = "dv";
    f.Video_AudioVolume = "100";
    f.Video_AudioBitrate = -2000;
    f.Video_FileFormat = "matroska";
    f.Video_VideoFilters = "hflip";
    TOutputOptions p;
    PresetFieldsToOutputOptions(f, p);
    EXPECT_EQ(p.AudioCodec, "");
    EXPECT_EQ(p.AudioSampleRate, -1);
    EXPECT_EQ(p.NormType, ntNTSC);
    EXPECT_EQ(p.TargetType, ttIgnore);
    EXPECT_EQ(p.AudioVolume, 100);
    EXPECT_EQ(p.AudioBitrate, -1);
    EXPECT_EQ(p.FileFormat, "matroska");
    EXPECT_EQ(p.VideoFilters, "hflip");
}
