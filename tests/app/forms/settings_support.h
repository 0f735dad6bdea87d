// Helpers of the settings dialog tests: the preset fields as texts, a headless
// application that creates the dialog as the program does, and a decimal-comma locale.
#pragma once

#include "app/forms/Unit6.h"
#include "platform/forms/Forms.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Headless.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include "test_files.h"

namespace settingstest {

// Every preset field, in declaration order, as text.
inline std::vector<String> FieldTexts(const TPresetFields& F)
{
    return {F.Video_AddFileName,     F.Video_OutPutFileName,  F.Video_FileExt,       F.Video_VideoCodec,
            F.Video_AudioCodec,      F.Video_AudioChannels,   F.Video_VideoTag,      F.Video_FrameSize,
            F.Video_FrameRate,       F.Video_AudioSampleRate, F.Video_FrameAspectRatio, F.Video_TargetType,
            F.Video_NormType,        F.Video_VideoFilters,    F.Video_AudioVolume,   F.Video_CopyTimestamp,
            F.Video_FileFormat,      IntToStr(F.Video_VideoBitrate), IntToStr(F.Video_AudioBitrate),
            IntToStr(F.Video_TimeStart), IntToStr(F.Video_TimeLength), F.Video_DisableVideo ? "True" : "False"};
}

// The dialog created by the application on a headless backend, linked to fields, an
// output folder and an overwrite choice of the test's own.
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Fields.Video_DisableVideo = true;  // the creation clears it
        Form6Links.Fields = &Fields;
        Form6Links.OutputFolderText = [this] { return Folder; };
        Form6Links.OverwriteOutput = [this] { return Overwrite; };
        Form = Application->CreateForm<TForm6>(&Form6);
    }
    void TearDown() override
    {
        DoneForms();
        Form6Links = {};
    }

    // Chooses a category and a preset as the user would: each write raises the box's events.
    void Choose(int ACategory, int APreset)
    {
        Form->bsSkinOfficeComboBox2->SetItemIndex(ACategory);
        Form->bsSkinOfficeComboBox1->SetItemIndex(APreset);
    }
    // The six option boxes in fill order.
    std::vector<TbsSkinComboBox*> Boxes() const
    {
        return {Form->bsSkinComboBox1, Form->bsSkinComboBox2, Form->bsSkinComboBox9,
                Form->bsSkinComboBox3, Form->bsSkinComboBox10, Form->bsSkinComboBox4};
    }
    std::vector<String> Texts() const
    {
        std::vector<String> texts;
        for (TbsSkinComboBox* box : Boxes()) texts.push_back(box->Text());
        return texts;
    }
    std::vector<bool> Enabled() const
    {
        std::vector<bool> enabled;
        for (TbsSkinComboBox* box : Boxes()) enabled.push_back(box->Enabled());
        return enabled;
    }

    TPresetFields Fields;
    String Folder = "/nonexistent-out";
    bool Overwrite = false;
    TForm6* Form = nullptr;
};

// Switches the process to a German locale (decimal comma) built in a temporary folder;
// restores the "C" locale when it goes.  Available() is false where no locale can be made.
class TDecimalCommaLocale {
public:
    TDecimalCommaLocale()
    {
        FDir = vctest::ScratchDir("vc-locale-");
        if (FDir.empty()) return;
        String cmd = "localedef -i de_DE -f UTF-8 " + FDir + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (std::system(cmd.c_str()) > 1) return;  // 1: made, with warnings
        setenv("LOCPATH", FDir.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return;
        FOn = String(std::localeconv()->decimal_point) == ",";
    }
    ~TDecimalCommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
        if (!FDir.empty()) std::filesystem::remove_all(FDir);
    }
    bool Available() const { return FOn; }

private:
    String FDir;
    bool FOn = false;
};

}  // namespace settingstest
