// Helpers of the preset dialog tests: the program's main window, options dialog and
// preset dialog created as the program creates them, in a scratch program folder and
// home; job rows; and a script of steps that runs while the dialog is modal.
#pragma once

#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit7.h"
#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Headless.h"
#include "forms/settings_support.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>
#include "test_files.h"

namespace presetdialog {

using settingstest::FieldTexts;

// The six option boxes of a window in fill order (resolution, video bitrate, frame rate,
// audio bitrate, sample rate, aspect).
template <class TWindow>
std::vector<TbsSkinComboBox*> OptionBoxes(TWindow* W)
{
    return {W->bsSkinComboBox1, W->bsSkinComboBox2, W->bsSkinComboBox9,
            W->bsSkinComboBox3, W->bsSkinComboBox10, W->bsSkinComboBox4};
}
template <class TWindow>
std::vector<String> OptionTexts(TWindow* W)
{
    std::vector<String> texts;
    for (TbsSkinComboBox* box : OptionBoxes(W)) texts.push_back(box->Text());
    return texts;
}
template <class TWindow>
std::vector<int> OptionIndices(TWindow* W)
{
    std::vector<int> indices;
    for (TbsSkinComboBox* box : OptionBoxes(W)) indices.push_back(box->ItemIndex());
    return indices;
}

// The program's windows on the headless backend, in a scratch program folder and home.
class PresetDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = vctest::ScratchDir("vc-presetdialog-");
        std::filesystem::create_directories(Root + "/prog");
        std::filesystem::create_directories(Root + "/home");
        if (const char* h = std::getenv("HOME")) OldHome = h, HadHome = true;
        setenv("HOME", (Root + "/home").c_str(), 1);
        SetProgramFolder(Root + "/prog/");
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm1>(&Form1);
        Application->CreateForm<TForm5>(&Form5);
        Main->Show();
        Headless::ProcessPending();
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        DoneForms();
        SetProgramFolder("");
        HadHome ? (void)setenv("HOME", OldHome.c_str(), 1) : (void)unsetenv("HOME");
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }

    // The preset dialog, created after the main window as the program does.
    TForm7* CreateDialog()
    {
        Dialog = Application->CreateForm<TForm7>(&Form7);
        return Dialog;
    }

    // A row as the add road leaves it: the output name, the preset's code and the option
    // code, then selected (which brings the row's preset back through the main window's
    // boxes and rewrites its settings from them).
    TListItem* AddSelectedRow(const String& AOutputFile, int ACode, const String& AOptionCode)
    {
        std::vector<String> columns(JobColumnCount);
        columns[0] = "/in/clip.mp4";
        columns[jcOutputFile] = AOutputFile;
        columns[jcCategoryCode] = IntToStr(ACode);
        columns[jcOptionCode] = AOptionCode;
        TListItem* row = Main->AddJobRow(columns);
        row->SetSelected(true);
        return row;
    }
    static std::vector<String> Columns(TListItem* ARow)
    {
        std::vector<String> texts;
        for (int c = 0; c < JobColumnCount; ++c) texts.push_back(TForm1::JobColumn(ARow, c));
        return texts;
    }

    // The screen point at the centre of a windowed control.
    static TPoint Centre(TWinControl* C) { return Headless::ScreenPoint(C->Handle(), {C->Width() / 2, C->Height() / 2}); }

    using TStep = std::function<void()>;
    // Clicks "设置..." and runs ASteps one per idle turn of the dialog's modal loop (the
    // last one should close it); returns when the click has been handled.
    void OpenDialog(std::vector<TStep> ASteps)
    {
        Steps = std::move(ASteps);
        Next = 0;
        Turns = 0;
        Application->OnIdle = [this](TObject*) {
            if (!Dialog->Visible()) return;
            if (++Turns == 1) {
                WhileOpen();
            } else if (Next < Steps.size()) {
                Steps[Next++]();
            } else if (Turns > 40) {
                ADD_FAILURE() << "the dialog did not close";
                Dialog->SetModalResult(mrAbort);
            }
            PostMessage(Dialog->Handle(), WM_NULL, 0, 0);
        };
        Headless::Click(Centre(Main->bsSkinButton24));
        Headless::ProcessPending();
        Application->OnIdle = nullptr;
    }
    // Called once the dialog is up, before the first step.
    std::function<void()> WhileOpen = [] {};

    String Root, OldHome;
    bool HadHome = false;
    TForm1* Main = nullptr;
    TForm7* Dialog = nullptr;
    std::vector<TStep> Steps;
    size_t Next = 0;
    int Turns = 0;
};

}  // namespace presetdialog
