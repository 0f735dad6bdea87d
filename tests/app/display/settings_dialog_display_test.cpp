// The settings dialog on a real display as the program creates it: linked to the main
// window's skin, its whole client area inside the skin's frame with OK and Cancel in it,
// every skinned control drawn from the skin and the preset box's list dropped down.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/forms/Unit1.h"
#include "app/forms/Unit6.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

using namespace skinscreen;

namespace {

using SettingsDialogDisplay = ProgramFormsDisplay;

TEST_F(SettingsDialogDisplay, IsDrawnFromTheProgramSkinWithItsButtonsInside)
{
    ASSERT_NE(Form6, nullptr);
    TForm6* F = Form6;
    EXPECT_EQ(F->bsSkinFormFrame1->SkinData(), Form1->bsSkinData1);
    EXPECT_EQ(F->bsSkinButton2->SkinData(), Form1->bsSkinData1);
    EXPECT_EQ(F->bsSkinButton2->Name(), "bsSkinButton2");
    EXPECT_EQ(F->bsSkinComboBox10->Name(), "bsSkinComboBox10");
    F->Show();
    F->SetBounds(20, 20, F->Width(), F->Height());  // whole on the screen
    ASSERT_TRUE(Pump([&] { return At(F->Left() + 1, F->Top() + 1) == Accent; }, 400));
    Settle();
    EXPECT_EQ(F->ClientWidth(), 1078);
    EXPECT_EQ(F->ClientHeight(), 474);
    const TRect Win = GetWindowRect(F->Handle());
    Shot(Win, "settings_dialog.ppm");
    EXPECT_EQ(At(Win.Left + 1, Win.Top + Win.Height() / 2), Accent);
    EXPECT_GT(CaptionText(Win, 180), 30) << "the caption \"设置选项\" in white";
    // OK and Cancel lie inside the client area, drawn with their captions
    const TPoint O = F->ClientOrigin();
    const TRect Client = Bounds(O.X, O.Y, F->ClientWidth(), F->ClientHeight());
    for (TControl* C : std::initializer_list<TControl*>{F->bsSkinButton2, F->bsSkinButton3}) {
        const TRect B = OnScreen(C);
        EXPECT_TRUE(Client.Contains(B.TopLeft()) && B.Right <= Client.Right && B.Bottom <= Client.Bottom)
            << C->Name();
        EXPECT_GT(DarkIn(B), 25) << C->Name();
    }
    EXPECT_GT(DarkIn(Bounds(Win.Left + 3, Win.Top + 30, Win.Width() - 6, Win.Height() - 33)), 600)
        << "labels, tabs and boxes in Chinese";
    // (the routine panel on the right holds plain, unskinned controls by design)
    EXPECT_EQ(DefaultLookIn(Win) - DefaultLookIn(GetWindowRect(F->Panel1->Handle())), 0)
        << "no skinned control in the default look";
    EXPECT_EQ(Count(screentest::ScreenRect(Win.Left, Win.Top, Win.Width(), Win.Height()),
                    [](uint32_t C) { return C == 0xFF00FF; }),
              0)
        << "the pictures' key colour never shows";
    // the four tabs and the six option boxes, each showing its value
    EXPECT_EQ(F->bsSkinPageControl1->PageCount(), 4);
    const TRect Tabs = OnScreen(F->bsSkinPageControl1);
    EXPECT_GT(DarkIn(Bounds(Tabs.Left, Tabs.Top, Tabs.Width(), 24)), 150) << "four tab captions";
    for (TControl* C : std::initializer_list<TControl*>{F->bsSkinComboBox1, F->bsSkinComboBox2, F->bsSkinComboBox9,
                                                        F->bsSkinComboBox3, F->bsSkinComboBox10, F->bsSkinComboBox4})
        EXPECT_GT(DarkIn(OnScreen(C)), 15) << C->Name();
    // the preset box dropped down: titles and descriptions of the category's presets
    F->bsSkinOfficeComboBox1->DropDown();
    TWinControl* Drop = F->bsSkinOfficeComboBox1->ListBox();
    ASSERT_TRUE(Pump([&] { return Drop->HandleAllocated() && IsWindowVisible(Drop->Handle()); }, 400));
    Settle();
    const TRect L = GetWindowRect(Drop->Handle());
    EXPECT_GE(L.Height(), 100);
    EXPECT_GT(DarkIn(L), 1500) << "several presets, each with a title and a description";
    EXPECT_EQ(DefaultLookIn(L), 0);
    F->bsSkinOfficeComboBox1->CloseUp(false);
    Settle();
    F->Hide();
    Settle();
}

}  // namespace
