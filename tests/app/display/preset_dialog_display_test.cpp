// The preset dialog on a real display: the program's forms created as the program creates
// them, "设置..." clicked on the main window through the server's synthetic input, the
// dialog photographed while modal (preset_dialog_open.ppm when screenshots are kept) and
// checked, then closed with its own buttons and opened again.
#include <gtest/gtest.h>

#include <functional>

#include "app/forms/Unit1.h"
#include "app/forms/Unit7.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace skinscreen;

namespace {

// A top-level window drawn whole: its top-left corner in the accent and no black inside
// (the skin has no black).
bool DrawnWhole(HWND AWnd)
{
    const TRect r = GetWindowRect(AWnd);
    if (r.IsEmpty() || At(r.Left + 1, r.Top + 1) != Accent) return false;
    return Count(screentest::ScreenRect(r.Left, r.Top, r.Width(), r.Height()), [](uint32_t c) { return c == 0; }) == 0;
}

class PresetDialogDisplay : public ProgramFormsDisplay {
protected:
    void SetUp() override
    {
        ProgramFormsDisplay::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_NE(Form7, nullptr);
        Form1->bsSkinButton24->OnClick = [this, old = Form1->bsSkinButton24->OnClick](TObject* Sender) {
            ++Opened24;
            old(Sender);
        };
    }

    // A step of the modal loop's script: true when it is done and the next may run.
    using TStep = std::function<bool()>;
    // Clicks "设置..." and runs ASteps on the idle turns of the dialog's modal loop; true
    // when every step ran and the click's handling has returned.
    bool OpenDialog(std::vector<TStep> ASteps)
    {
        size_t next = 0;
        int turns = 0;
        bool returned = false;
        // A timer wakes the modal loop now and then, and each wake-up ends in its idle
        // turn; the loop keeps waiting in between, so the window paints as it would.
        TTimer ticker(nullptr);
        ticker.SetInterval(10);
        ticker.SetOnTimer([](TObject*) {});
        Application->OnIdle = [&](TObject*) {
            if (!Form7->Visible()) return;
            if (next < ASteps.size()) {
                if (ASteps[next]()) ++next;
            }
            if (++turns > 1000) {
                ADD_FAILURE() << "the script stopped at step " << next;
                Form7->SetModalResult(mrAbort);
            }
        };
        const int before = Opened24;
        ClickOn(Form1->bsSkinButton24);
        // The click's handler returns once the dialog's modal loop has ended.
        const bool done = Pump([&] { return Opened24 > before && !Form7->Visible(); }, 2000);
        returned = done && next == ASteps.size();
        Application->OnIdle = nullptr;
        return returned;
    }
    // Waits some idle turns, letting input and painting settle.
    static TStep Turns(int N)
    {
        auto left = std::make_shared<int>(N);
        return [left] { return --*left <= 0; };
    }

    int Opened24 = 0;
};

TEST_F(PresetDialogDisplay, OpensModalCentredAndClosesWithItsButtons)
{
    bool mainEnabled = true;
    TRect dialog, main;
    std::vector<uint32_t> shot;
    ASSERT_TRUE(OpenDialog({
        [] { return DrawnWhole(Form7->Handle()); },
        [&] {
            mainEnabled = IsWindowEnabled(Form1->Handle());
            dialog = GetWindowRect(Form7->Handle());
            main = GetWindowRect(Form1->Handle());
            shot = Shot(dialog, "preset_dialog_open.ppm");
            EXPECT_EQ(At(dialog.Left + 1, dialog.Top + dialog.Height() / 2), Accent) << "the skin's frame";
            EXPECT_EQ(DefaultLookIn(dialog), 0) << "no control in the default look";

            // Chinese text drawn: both group captions, the six labels, the six boxes'
            // texts, the category and preset, the buttons and the window's caption.
            const TRect v = OnScreen(Form7->bsSkinPanel4), a = OnScreen(Form7->bsSkinPanel1);
            EXPECT_GT(DarkIn(Bounds(v.Left, v.Top, 140, 24)), 40) << "\"预置视频参数\"";
            EXPECT_GT(DarkIn(Bounds(a.Left, a.Top, 140, 24)), 40) << "\"预置音频参数\"";
            for (TControl* c : std::initializer_list<TControl*>{
                     Form7->bsSkinTextLabel1, Form7->bsSkinTextLabel2, Form7->bsSkinTextLabel3, Form7->bsSkinTextLabel4,
                     Form7->bsSkinTextLabel5, Form7->bsSkinTextLabel6, Form7->bsSkinComboBox1, Form7->bsSkinComboBox2,
                     Form7->bsSkinComboBox4, Form7->bsSkinComboBox9, Form7->bsSkinComboBox3, Form7->bsSkinComboBox10,
                     Form7->bsSkinOfficeComboBox2, Form7->bsSkinOfficeComboBox1, Form7->bsSkinButton2,
                     Form7->bsSkinButton3})
                EXPECT_GT(DarkIn(OnScreen(c)), 25) << c->Name();
            EXPECT_GT(CaptionText(dialog, 120), 30) << "\"选项设置\" in white";
            // Input to the main window is blocked while the dialog is up.
            ClickOn(Form1->bsSkinButton24);
            return true;
        },
        Turns(20),
        [] {
            Form7->bsSkinOfficeComboBox1->SetItemIndex(1);
            return true;
        },
        [] {
            ClickOn(Form7->bsSkinButton2);
            return true;
        },
    }));
    EXPECT_EQ(Opened24, 1) << "the click on the main window while the dialog was up";
    EXPECT_FALSE(mainEnabled);
    EXPECT_EQ(Form7->ClientWidth(), 513);
    EXPECT_EQ(Form7->ClientHeight(), 418);
    EXPECT_GE(dialog.Height(), 418 + 20) << "the skin's caption above the whole client area";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_LE(std::abs((dialog.Left - main.Left) - (main.Right - dialog.Right)), 1);
    EXPECT_LE(std::abs((dialog.Top - main.Top) - (main.Bottom - dialog.Bottom)), 1);
    EXPECT_FALSE(Form7->Visible());
    EXPECT_TRUE(Form7->Accepted());
    EXPECT_EQ(Form1->PresetRoutines().CurrentCode(), 101);

    // Opened again: the dialog shows the main window's choice; cancel hides it.
    int shownCode = 0;
    ASSERT_TRUE(OpenDialog({
        [] { return DrawnWhole(Form7->Handle()); },
        [&] {
            shownCode = Form7->PresetRoutines().CurrentCode();
            ClickOn(Form7->bsSkinButton3);
            return true;
        },
    }));
    EXPECT_EQ(Opened24, 2);
    EXPECT_EQ(shownCode, 101);
    EXPECT_FALSE(Form7->Accepted());
    EXPECT_FALSE(Form7->Visible());
    EXPECT_TRUE(Pump([] { return !IsWindowVisible(Form7->Handle()); }));
}

}  // namespace
