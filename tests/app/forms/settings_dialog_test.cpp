// The settings dialog as the program creates it (headless): start-up state, the idle
// engine component, the catalogue, option-list, parameter, confirm and reset routines,
// and OK and cancel.
#include "app/presets/PresetOutput.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/tasks/TaskList.h"
#include "platform/graphics/ImgList.h"
#include "forms/settings_support.h"
#include "skin/boxes/bsSkinBoxCtrls.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include "test_files.h"

using namespace settingstest;

namespace {

int ThreadCount()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

const std::vector<String> Code100Texts = {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"};

}  // namespace

TEST_F(SettingsDialogTest, StartUpFillsTheFirstCategoryAndCode100AndStaysHidden)
{
    EXPECT_EQ(Form6, Form);
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Form->Caption(), "设置选项");
    EXPECT_EQ(Form->ClientWidth(), 1078);
    EXPECT_EQ(Form->ClientHeight(), 474);
    EXPECT_EQ(Form->BorderStyle(), bsSingle);
    EXPECT_EQ(Form->Position(), poMainFormCenter);

    EXPECT_EQ(Form->bsSkinOfficeComboBox2->Items()->Count(), 12);
    EXPECT_EQ(Form->bsSkinOfficeComboBox2->ItemIndex(), 0);
    TbsSkinOfficeItems* presets = Form->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(presets->Count(), 15);
    EXPECT_EQ(Form->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(presets->Items(0)->Title(), "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(presets->Items(0)->Caption(), "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式");
    EXPECT_EQ(presets->Items(0)->ImageIndex(), -1);
    EXPECT_EQ(Texts(), Code100Texts);
    EXPECT_EQ(Enabled(), std::vector<bool>(6, true));
    EXPECT_FALSE(Fields.Video_DisableVideo);
}

TEST_F(SettingsDialogTest, FormHoldsItsPagesButtonsAndPictureLists)
{
    TbsSkinPageControl* pages = Form->bsSkinPageControl1;
    ASSERT_EQ(pages->PageCount(), 4);
    EXPECT_EQ(pages->Pages(0)->Caption(), "标准参数设置");
    EXPECT_EQ(pages->Pages(1)->Caption(), "剪辑设置");
    EXPECT_EQ(pages->Pages(2)->Caption(), "滤镜设置");
    EXPECT_EQ(pages->Pages(2), Form->FilterSheet);
    EXPECT_EQ(pages->Pages(3)->Caption(), "文字水印");
    EXPECT_EQ(pages->ActivePage(), Form->bsSkinTabSheet1);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(pages->Pages(i)->ControlCount(), 0) << i;
    EXPECT_FALSE(Form->bsSkinButton1->Visible());
    EXPECT_EQ(Form->ImageList1->Count(), 12);
    EXPECT_EQ(Form->ImageList1->Width(), 32);
    EXPECT_EQ(Form->ImageList2->Count(), 0);
    EXPECT_EQ(Form->FFEngine->Owner(), Form);
    EXPECT_FALSE(Form->Button7->OnClick);
    EXPECT_FALSE(Form->Button11->OnClick);
    for (TbsSkinComboBox* box : Boxes()) {
        EXPECT_FALSE(box->OnChange);
        EXPECT_FALSE(box->OnClick);
    }
}

// The engine component stays idle: creating the dialog starts no thread and opens no library.
TEST(SettingsDialogEngine, CreationStartsNoThreadAndLoadsNoLibrary)
{
    Headless::Install();
    InitForms();
    int threads = ThreadCount();
    int opened = FFLoader().OpenCount();
    TForm6* form = Application->CreateForm<TForm6>();
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_EQ(FFLoader().OpenCount(), opened);
    EXPECT_NE(form->FFEngine, nullptr);
    DoneForms();
    EXPECT_EQ(ThreadCount(), threads);
}

TEST_F(SettingsDialogTest, ChoosingACategoryListsItsPresetsAndTheFirstPresetsOptions)
{
    Form->bsSkinOfficeComboBox2->SetItemIndex(11);
    TbsSkinOfficeItems* presets = Form->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(presets->Count(), 4);
    EXPECT_EQ(presets->Items(3)->Title(), "SWF动画视频FLASH动画音频格式(*.swf)");
    EXPECT_EQ(Form->CurrentCode(), 1200);
    EXPECT_EQ(Texts(), (std::vector<String>{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "22050", "保持原视频模式"}));

    // The same category again rebuilds the list once, not twice.
    Form->bsSkinOfficeComboBox2->SetItemIndex(11);
    EXPECT_EQ(presets->Count(), 4);
}

TEST_F(SettingsDialogTest, AudioOnlyPresetDisablesTheVideoBoxesAndTheNextPresetEnablesThem)
{
    Choose(1, 12);  // 212, AMR
    EXPECT_EQ(Texts(), (std::vector<String>{"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}));
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true, true, false}));
    EXPECT_EQ(Form->bsSkinComboBox3->Items()->Count(), 8);

    Choose(6, 0);  // 700: the settings dialog's own AMR bitrate list
    EXPECT_EQ(Texts(), (std::vector<String>{"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}));
    EXPECT_EQ(Enabled(), std::vector<bool>(6, true));
    EXPECT_EQ(Form->bsSkinComboBox3->Items()->Count(), 6);
}

TEST_F(SettingsDialogTest, ChoosingTheSamePresetRunsTheOptionListsAgain)
{
    Form->bsSkinComboBox2->SetItemIndex(0);
    EXPECT_EQ(Form->bsSkinComboBox2->Text(), "128 kbps");
    Fields.Video_DisableVideo = true;
    Form->bsSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(Texts(), Code100Texts);
    EXPECT_FALSE(Fields.Video_DisableVideo);
}

// A preset box without a selection gives a code without a row (the category's first
// code less one): the option boxes are left empty and enabled.
TEST_F(SettingsDialogTest, CodeWithoutARowLeavesTheBoxesEmptyAndEnabled)
{
    Choose(1, 12);  // audio-only first, so that the enabling shows
    Fields.Video_DisableVideo = true;
    Form->bsSkinOfficeComboBox1->SetItemIndex(-1);
    EXPECT_EQ(Form->CurrentCode(), 199);
    for (TbsSkinComboBox* box : Boxes()) {
        EXPECT_EQ(box->Items()->Count(), 0);
        EXPECT_EQ(box->ItemIndex(), -1);
    }
    EXPECT_EQ(Enabled(), std::vector<bool>(6, true));
    EXPECT_FALSE(Fields.Video_DisableVideo);
}

TEST_F(SettingsDialogTest, ConfirmRulesTable)
{
    struct TCase {
        TPresetOption Option;
        String Text;
        String Field;  // the field it writes, as text
    };
    const TCase cases[] = {
        {poResolution, "该格式无视频", ""},
        {poResolution, "1920*1080", "1920*1080"},
        {poFrameRate, "无视频", ""},
        {poFrameRate, "25.00", "25.00"},
        {poVideoBitrate, "无视频", "-1000"},
        {poVideoBitrate, "1200 kbps", "1200000"},
        {poSampleRate, "自动音频采样率", "AUTO"},
        {poSampleRate, "8000", "8000"},
        {poAudioBitrate, "自动音频比特率", "-1000"},
        {poAudioBitrate, "4.75 kbps", "4750"},
        {poAudioBitrate, "128 kbps", "128000"},
        {poAspect, "无视频", ""},
        {poAspect, "宽屏视频37:20模式", "37:20"},
        {poAspect, "旋转视频", "16:9"},  // unmatched: left as it was
    };
    auto field = [this](TPresetOption AOption) -> String {
        switch (AOption) {
        case poResolution: return Fields.Video_FrameSize;
        case poVideoBitrate: return IntToStr(Fields.Video_VideoBitrate);
        case poFrameRate: return Fields.Video_FrameRate;
        case poAudioBitrate: return IntToStr(Fields.Video_AudioBitrate);
        case poSampleRate: return Fields.Video_AudioSampleRate;
        case poAspect: return Fields.Video_FrameAspectRatio;
        }
        return String();
    };
    for (const TCase& c : cases) {
        Fields.Video_FrameAspectRatio = "16:9";
        Boxes()[size_t(c.Option)]->SetText(c.Text);
        Form->Button13->Click();
        EXPECT_EQ(field(c.Option), c.Field) << c.Text;
        Form->bsSkinOfficeComboBox1->SetItemIndex(0);  // back to code 100's texts
    }
}

// A fractional bitrate is read with "." whatever the user's locale says.
TEST_F(SettingsDialogTest, FractionalBitrateIgnoresADecimalCommaLocale)
{
    TDecimalCommaLocale locale;
    if (!locale.Available()) GTEST_SKIP() << "no decimal-comma locale can be made here";
    Form->bsSkinComboBox3->SetText("7.95 kbps");
    Form->bsSkinComboBox10->SetText("自动音频采样率");
    Form->Button13->Click();
    EXPECT_EQ(Fields.Video_AudioBitrate, 7950);
    EXPECT_EQ(Fields.Video_AudioSampleRate, "AUTO");  // the step after it ran too
    Form->bsSkinComboBox3->SetText("4.75 kbps");
    Form->Button13->Click();
    EXPECT_EQ(Fields.Video_AudioBitrate, 4750);
}

TEST_F(SettingsDialogTest, ResetLeavesTheInputNameAlone)
{
    Fields.Video_AddFileName = "/v/clip.mkv";
    Fields.Video_AudioVolume = "";
    Fields.Video_VideoCodec = "mpeg4";
    Fields.Video_TimeStart = 5;
    Fields.Video_DisableVideo = true;
    Form->Button6->Click();
    TPresetFields expected;
    expected.Video_AddFileName = "/v/clip.mkv";
    EXPECT_EQ(FieldTexts(Fields), FieldTexts(expected));
}

TEST_F(SettingsDialogTest, ParametersOfTheChosenPreset)
{
    struct TCase {
        int Category, Preset;
        String OutputName, FileExt;
    };
    const TCase cases[] = {
        {1, 6, "/o/clip.ra", ".rm"},
        {1, 11, "/o/clip.m4a", ".alac"},
        {2, 6, "/o/clip.wmv", ".asf"},
        {0, 0, "/o/clip.avi", ".avi"},
    };
    Folder = "/o";
    for (const TCase& c : cases) {
        Fields.Video_AddFileName = "/v/clip.mkv";
        Choose(c.Category, c.Preset);
        Form->Button5->Click();
        EXPECT_EQ(Fields.Video_OutPutFileName, c.OutputName);
        EXPECT_EQ(Fields.Video_FileExt, c.FileExt);
    }
}

// Each preset starts from the reset fields: nothing of the previous one leaks into it.
TEST_F(SettingsDialogTest, NoValuesLeakBetweenPresets)
{
    Choose(0, 11);  // 111, DVD
    Form->Button5->Click();
    EXPECT_EQ(Fields.Video_TargetType, "dvd");
    Choose(3, 4);  // 404, MP4 for the iPod
    Form->Button5->Click();
    EXPECT_EQ(Fields.Video_TargetType, "");
    EXPECT_EQ(Fields.Video_NormType, "");
    EXPECT_EQ(Fields.Video_VideoCodec, "mpeg4");

    Choose(0, 0);  // 100
    Form->Button5->Click();
    Choose(0, 14);  // 114, RM: writes no audio field
    Form->Button5->Click();
    EXPECT_EQ(Fields.Video_VideoCodec, "rv20");
    EXPECT_EQ(Fields.Video_AudioCodec, "");
    EXPECT_EQ(Fields.Video_AudioSampleRate, "");
    EXPECT_EQ(Fields.Video_AudioBitrate, -1);
    EXPECT_EQ(Fields.Video_FileExt, "");
}

TEST_F(SettingsDialogTest, OutputNamesFollowTheSharedRule)
{
    const vctest::TScratch scratch("vc-settings-");
    std::filesystem::path dir = scratch.Path;
    Folder = dir.string();
    Fields.Video_AddFileName = "/v/clip.mkv";
    auto name = [this] {
        Form->Button5->Click();
        return OutputNamePart(Fields.Video_OutPutFileName);
    };
    EXPECT_EQ(name(), "clip.avi");
    std::ofstream(dir / "clip.avi").put('x');
    EXPECT_EQ(name(), "clip_1.avi");
    std::ofstream(dir / "clip_2.avi").put('x');
    EXPECT_EQ(name(), "clip_1.avi");
    Overwrite = true;
    EXPECT_EQ(name(), "clip.avi");
    Overwrite = false;
    std::filesystem::remove(dir / "clip.avi");
    std::filesystem::create_directory(dir / "clip.avi");  // a folder is no file
    EXPECT_EQ(name(), "clip.avi");
    Fields.Video_AddFileName = "/v/a.b.mkv";
    EXPECT_EQ(name(), "a.b.avi");
    EXPECT_EQ(Fields.Video_OutPutFileName, Folder + "/a.b.avi");
}

TEST_F(SettingsDialogTest, OkWritesTheParametersThenTheBoxTextsAndHides)
{
    Form->Show();
    Fields.Video_AddFileName = "/v/clip.mkv";
    Folder = "/o";
    Choose(0, 9);  // 109, 3GP: the table says aspect "4:3", the aspect box "保持原视频模式"
    Form->bsSkinComboBox2->SetItemIndex(10);  // "160 kbps"
    Form->bsSkinButton2->Click();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Fields.Video_OutPutFileName, "/o/clip.3gp");
    EXPECT_EQ(Fields.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(Fields.Video_VideoBitrate, 160000);
    EXPECT_EQ(Fields.Video_FrameSize, "176*144");
    EXPECT_EQ(Fields.Video_FrameRate, "12");
    EXPECT_EQ(Fields.Video_AudioBitrate, 12000);
    EXPECT_EQ(Fields.Video_AudioSampleRate, "8000");
    EXPECT_EQ(Fields.Video_FrameAspectRatio, "");
}

TEST_F(SettingsDialogTest, CancelHidesAndChangesNothing)
{
    Form->Show();
    Fields.Video_AddFileName = "/v/clip.mkv";
    Fields.Video_VideoCodec = "kept";
    std::vector<String> before = FieldTexts(Fields);
    Form->bsSkinButton3->Click();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(FieldTexts(Fields), before);
}
