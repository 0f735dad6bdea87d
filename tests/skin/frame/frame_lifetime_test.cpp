// The frame across the lives of what it links to and hooks: the skin data going away
// while the form lives on, the frame going away while the form and the application live
// on, window timer 1 of the show, and minimized bars without a size.
#include "frame_support.h"

using namespace frametest;

namespace {

class FrameLifetime : public FrameSkinTest {};

TEST_F(FrameLifetime, SkinDataGoingAwayLeavesAWorkingUnskinnedFrame)
{
    // a dialog's frame linked to the main window's skin data meets this at shutdown
    Frame->SetSkinData(SD);
    ShowForm();
    ASSERT_TRUE(Frame->SkinSupport());
    delete SD;
    SD = nullptr;
    // the frame is in the default look at once, before anyone clears the link
    EXPECT_FALSE(Frame->SkinSupport());
    EXPECT_EQ(SendMessage(H(), WM_NCHITTEST, 0, PointToLParam(At(150, 5))), HTCAPTION);
    EXPECT_EQ(Frame->GetMinWidth(), 120);
    EXPECT_GT(Frame->GetMinHeight(), 0);
    Form->Invalidate();
    Form->Repaint();
    EXPECT_EQ(WindowPixel(0, 0), Sys(cl3DDkShadow));
    EXPECT_EQ(WindowPixel(150, 100), Sys(clBtnFace));
}

TEST_F(FrameLifetime, FreedFrameLeavesNoHandlerBehind)
{
    // the main form's frame installs the application's restore handler when shown
    auto* MainFrame = new TbsSkinFormFrame(Main);
    Main->Show();
    Pump();
    ASSERT_TRUE(bool(Application->OnRestore));
    ASSERT_TRUE(bool(Main->OnShortCut));
    delete MainFrame;
    EXPECT_FALSE(bool(Application->OnRestore));
    EXPECT_FALSE(bool(Main->OnShortCut));
    // the test form's frame likewise gives back the form's shortcut handler
    delete Frame;
    Frame = nullptr;
    EXPECT_FALSE(bool(Form->OnShortCut));
    // a shortcut and a restore afterwards reach nothing freed
    ShowForm();
    SetFocus(H());
    Headless::KeyDown(VK_MENU);
    Headless::Key(VK_SPACE);
    Headless::KeyUp(VK_MENU);
    Pump();
    Application->Restore();
    Pump();
}

class FrameShowTimer : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        // count the ticks of window timer 1 that reach the form (the frame's procedure
        // runs inside)
        TWndMethod Inner = Form->WindowProc;
        Form->WindowProc = [this, Inner](TMessage& M) {
            if (M.Msg == WM_TIMER && M.WParam == 1) ++Ticks;
            Inner(M);
        };
    }
    int Ticks = 0;
};

TEST_F(FrameShowTimer, TheFirstTickEndsTheTimerWhenTheFadeNoLongerApplies)
{
    Frame->SetAlphaBlendAnimation(true);
    ShowForm();
    // the fade is called off before the timer first fires
    Frame->SetAlphaBlendAnimation(false);
    for (int I = 0; I < 10; ++I) Wait(20);
    EXPECT_EQ(Ticks, 1);
}

TEST_F(FrameShowTimer, AFadeRunsItsStepsAndStops)
{
    Frame->SetAlphaBlendAnimation(true);
    ShowForm();
    for (int I = 0; I < 40; ++I) Wait(20);
    // one start tick and 15 steps of 17
    EXPECT_EQ(Ticks, 16);
    EXPECT_FALSE(GetWindowLong(H(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(FrameLifetime, MinimizedBarsWithoutHeightTakeTheFirstSlot)
{
    // a skin whose client rectangle takes the picture's whole height: bars 0 high
    SD->ClRect = Rect(4, 0, 96, 60);
    Frame->SetSkinData(SD);
    auto* Form2 = new TForm(Application);
    Form2->AfterConstruction();
    auto* Frame2 = new TbsSkinFormFrame(Form2);
    Frame2->SetSkinData(SD);
    Form2->SetBounds(400, 100, 300, 200);
    ShowForm();
    Form2->Show();
    Pump();
    Frame->SetWindowState(wsMinimized);
    ASSERT_EQ(Frame->GetMinHeight(), 0);
    TPoint P1;
    Frame->GetMinimizedPosition(P1);
    // the second bar finds the first one's slot taken and no row to go on to
    Frame2->SetWindowState(wsMinimized);
    EXPECT_EQ(Frame2->WindowState(), wsMinimized);
    EXPECT_EQ(Form2->Left(), P1.X);
    EXPECT_EQ(Form2->Top(), P1.Y);
}

}  // namespace
