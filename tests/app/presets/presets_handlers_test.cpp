// The preset routines wired to a window's boxes as the main window wires them: the
// change chains of category, preset and option boxes, the selected job row, the option
// overrides and the copy into the preset dialog.
#include "presets/presets_support.h"

#include <algorithm>

using namespace presettest;

namespace {

class PresetHandlers : public ::testing::Test {
protected:
    void SetUp() override { Main.Start(); }

    // A row made the way an add does: code and option code from the boxes, then selected.
    void AddSelectedRow(const String& AOutputFile)
    {
        Main.Jobs.Selected = Main.Jobs.AddRow(AOutputFile, W().Routines->CurrentCode(), W().OptionCode());
    }
    // What selecting a row does to the boxes: category, preset, then the six options.
    void RestoreBoxes(int ACode, const String& AOptionCode)
    {
        W().Category.SetItemIndex(ACode / 100 - 1);
        W().Preset.SetItemIndex(ACode % 100);
        TOptionBox* boxes[] = {&W().Resolution, &W().VideoBitrate, &W().AudioBitrate, &W().Aspect, &W().FrameRate, &W().SampleRate};
        for (int i = 0; i < 6; ++i) boxes[i]->SetItemIndex(StrToInt(AOptionCode.substr(size_t(2 * i), 2)));
    }
    std::vector<String> ParamColumns() { return {Main.Jobs.Row().begin() + 16, Main.Jobs.Row().begin() + 22}; }
    TWindow& W() { return Main.Window; }

    TMainWindow Main;
};

}  // namespace

TEST_F(PresetHandlers, StartUpFillsTheFirstCategory)
{
    ASSERT_EQ(W().Preset.Items.size(), 15u);
    EXPECT_EQ(W().Preset.Items[0].Caption, "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(W().Preset.Index, 0);
    EXPECT_EQ(W().Texts(), (std::vector<String>{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}));
    EXPECT_EQ(W().Log, (std::vector<String>{"preset", "resolution", "video bitrate", "frame rate", "audio bitrate",
                                            "sample rate", "aspect"}));
    EXPECT_EQ(W().OptionCode(), "000310000904");
    EXPECT_EQ(Main.Jobs.Focused, 0);
}

TEST_F(PresetHandlers, CategoryChangeRunsThePresetChangeOnce)
{
    W().Log.clear();
    W().Category.SetItemIndex(11);
    EXPECT_EQ(W().Log[0], "category");
    EXPECT_EQ(std::count(W().Log.begin(), W().Log.end(), String("preset")), 1);
    EXPECT_EQ(W().Preset.Items.size(), 4u);
    EXPECT_EQ(W().Routines->CurrentCode(), 1200);
    EXPECT_EQ(W().SampleRate.Text(), "22050");
}

TEST_F(PresetHandlers, OptionChangesRewriteTheSelectedRow)
{
    AddSelectedRow("clip.avi");
    W().FrameRate.SetItemIndex(10);
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode], "000310001004");
    EXPECT_EQ(Main.Jobs.Row()[jcFrameRate], "29.97");
    EXPECT_EQ(Main.Fields.Video_FrameRate, "29.97");
    EXPECT_EQ(Main.Jobs.Focused, 1);

    W().VideoBitrate.SetItemIndex(4);
    EXPECT_EQ(Main.Fields.Video_VideoBitrate, 1200000);
    EXPECT_EQ(Main.Jobs.Row()[jcVideoBitrate], "1200000");
    W().Resolution.SetItemIndex(19);
    EXPECT_EQ(Main.Jobs.Row()[jcFrameSize], "1280*720");
    W().Resolution.SetItemIndex(0);
    EXPECT_EQ(Main.Jobs.Row()[jcFrameSize], "");
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode], "000410001004");
    W().Aspect.SetItemIndex(2);
    EXPECT_EQ(Main.Jobs.Row()[jcAspect], "16:9");
    W().SampleRate.SetItemIndex(5);
    EXPECT_EQ(Main.Jobs.Row()[jcAudioSampleRate], "48000");
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode], "000410021005");

    // The second copy of "1920*1200" shows the same text: no change, the digits stay.
    W().Resolution.SetItemIndex(24);
    W().Resolution.SetItemIndex(25);
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode].substr(0, 2), "24");

    // No selected row: nothing is written, the focus stays.
    Main.Jobs.Selected = -1;
    int focused = Main.Jobs.Focused;
    W().FrameRate.SetItemIndex(3);
    EXPECT_EQ(Main.Fields.Video_FrameRate, "29.97");
    EXPECT_EQ(Main.Jobs.Focused, focused);
}

TEST_F(PresetHandlers, AudioOnlyPresetWithASelectedRow)
{
    AddSelectedRow("clip.avi");
    W().Category.SetItemIndex(1);
    W().Preset.SetItemIndex(12);  // AMR
    EXPECT_EQ(Main.Jobs.Row()[jcOutputFile], "clip.amr");
    EXPECT_EQ(Main.Jobs.Row()[jcCategoryCode], "212");
    EXPECT_EQ(ParamColumns(), (std::vector<String>{"", "-1000", "", "7400", "8000", ""}));
    EXPECT_EQ(Main.Jobs.Row()[jcDisableVideo], "True");
    EXPECT_FALSE(W().Resolution.Enabled);
    // the overrides ran after the table: the boxes' texts are in the fields
    EXPECT_EQ(Main.Fields.Video_VideoBitrate, -1000);
    EXPECT_EQ(Main.Fields.Video_AudioBitrate, 7400);
    EXPECT_TRUE(Main.Fields.Video_DisableVideo);

    W().AudioBitrate.SetItemIndex(7);
    EXPECT_EQ(Main.Jobs.Row()[jcAudioBitrate], "12200");
    W().AudioBitrate.SetItemIndex(5);
    EXPECT_EQ(Main.Fields.Video_AudioBitrate, 7950);
}

TEST_F(PresetHandlers, PresetChangeGivesTheRowWhatTheBoxesShow)
{
    AddSelectedRow("clip_1.avi");
    const std::pair<std::pair<int, int>, const char*> cases[] = {
        {{0, 1}, "clip_1.mp4"}, {{1, 10}, "clip_1.flac"}, {{0, 14}, "clip_1.rm"}, {{1, 6}, "clip_1.ra"}, {{8, 1}, "clip_1.mpg"}};
    for (const auto& [choice, name] : cases) {
        W().Category.SetItemIndex(choice.first);
        W().Preset.SetItemIndex(choice.second);
        EXPECT_EQ(Main.Jobs.Row()[jcOutputFile], name);
        EXPECT_EQ(Main.Jobs.Row()[jcCategoryCode], IntToStr(CategoryCode(choice.first, choice.second)));
    }
    // The six option columns hold what the boxes show, not the table's values that the
    // boxes override: code 1100 shows "816 kbps" where its table entry has 528000.
    W().Category.SetItemIndex(10);
    EXPECT_EQ(W().Resolution.Text(), "320*240");
    EXPECT_EQ(W().VideoBitrate.Text(), "816 kbps");
    EXPECT_EQ(FindPresetParams(1100)->VideoBitrate, 528000);
    EXPECT_EQ(ParamColumns(), (std::vector<String>{"320*240", "816000", "25.00", "128000", "44100", ""}));
    W().Preset.SetItemIndex(1);
    EXPECT_EQ(W().VideoBitrate.Text(), "1200 kbps");
    EXPECT_EQ(ParamColumns(), (std::vector<String>{"", "1200000", "25.00", "128000", "44100", ""}));
}

TEST_F(PresetHandlers, OptionCodeFollowsTheBoxesAfterAPresetChange)
{
    W().Resolution.SetItemIndex(4);  // "320*240" before the row exists
    AddSelectedRow("clip.avi");
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode].substr(0, 2), "04");
    W().Category.SetItemIndex(3);  // code 400 offers "320*240" at index 3: the box raises no change
    EXPECT_EQ(W().Resolution.Index, 3);
    // The row still records the index selected, not the old list's "04" ("352*288" here).
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode], W().OptionCode());
    EXPECT_EQ(Main.Jobs.Row()[jcOptionCode].substr(0, 4), "0304");
    EXPECT_EQ(Main.Jobs.Row()[jcVideoBitrate], "1000000");  // the box's "1000 kbps", not the table's
    EXPECT_EQ(Main.Jobs.Row()[jcOutputFile], "clip.mp4");

    // Restoring the row's boxes from its code shows what was shown.
    String code = Main.Jobs.Row()[jcOptionCode];
    W().Category.SetItemIndex(0);
    RestoreBoxes(400, code);
    EXPECT_EQ(W().Resolution.Text(), "320*240");
}

TEST_F(PresetHandlers, SelectingARowRestoresItsPreset)
{
    AddSelectedRow("clip.avi");
    W().Log.clear();
    RestoreBoxes(302, "030113000005");
    EXPECT_EQ(std::count(W().Log.begin(), W().Log.end(), String("preset")), 2);
    EXPECT_EQ(Main.Jobs.Row()[jcVideoCodec], "libx264");
    EXPECT_EQ(Main.Jobs.Row()[jcCategoryCode], "302");
    EXPECT_EQ(W().Routines->CurrentCode(), 302);
    EXPECT_EQ(W().OptionCode(), "030113000005");
    EXPECT_EQ(Main.Jobs.Row()[jcFrameSize], "1280*1024");  // the restored option rewrote it
}

TEST_F(PresetHandlers, AddRoadOverridesFromTheBoxes)
{
    Main.Fields.Video_AddFileName = "/in/movie.rmvb";
    W().Resolution.SetItemIndex(19);
    W().Aspect.SetItemIndex(4);
    W().Routines->Button5Click();
    EXPECT_EQ(Main.Fields.Video_FrameSize, "");
    W().Routines->Button13Click();
    EXPECT_EQ(Main.Fields.Video_OutPutFileName, "/out/movie.avi");
    EXPECT_EQ(Main.Fields.Video_FrameSize, "1280*720");
    EXPECT_EQ(Main.Fields.Video_FrameAspectRatio, "47:20");
    EXPECT_EQ(Main.Fields.Video_FrameRate, "25.00");
    EXPECT_EQ(Main.Fields.Video_VideoBitrate, 816000);
    EXPECT_EQ(Main.Fields.Video_AudioSampleRate, "44100");
    EXPECT_EQ(Main.Fields.Video_VideoCodec, "mpeg4");  // the rest stays the table's
    EXPECT_EQ(Main.Fields.Video_VideoTag, "XVID");

    W().Category.SetItemIndex(1);  // audio only: the video boxes say there is no video
    W().Routines->Button5Click();
    W().Routines->Button13Click();
    EXPECT_EQ(Main.Fields.Video_FrameSize + Main.Fields.Video_FrameRate + Main.Fields.Video_FrameAspectRatio, "");
    EXPECT_EQ(Main.Fields.Video_VideoBitrate, -1000);
    EXPECT_EQ(Main.Fields.Video_OutPutFileName, "/out/movie.mp3");
}

TEST_F(PresetHandlers, SettingsButtonCopiesTheChoiceIntoTheDialog)
{
    TWindow dialog(Main.Fields, Main.Jobs, &Main.Folder, &Main.Overwrite);
    dialog.Routines->Button2Click();
    W().Category.SetItemIndex(6);
    W().Preset.SetItemIndex(9);
    W().AudioBitrate.SetItemIndex(3);
    W().FrameRate.SetItemIndex(2);
    AddSelectedRow("clip.avi");
    int shown = 0;
    W().Routines->bsSkinButton24Click(*dialog.Routines, [&] { ++shown; });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialog.Routines->CurrentCode(), 709);
    EXPECT_EQ(dialog.OptionCode(), W().OptionCode());
    EXPECT_EQ(dialog.Texts(), W().Texts());
    // The dialog's handlers act on the main window's selected row.
    EXPECT_EQ(Main.Jobs.Row()[jcOutputFile], "clip.mp4");
    dialog.SampleRate.SetItemIndex(1);
    EXPECT_EQ(Main.Jobs.Row()[jcAudioSampleRate], "11025");
    EXPECT_EQ(Main.Fields.Video_AudioSampleRate, "11025");
}
