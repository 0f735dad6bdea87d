// The skinned tool bar (children centred vertically) and the status bar's size grip.
#include "skinctl_helpers.h"

using namespace skinctl;

namespace {

class SkinBars : public SkinCtlTest {};

TEST_F(SkinBars, StatusBarGripTakesTheRightEndAndAnswersTheHitTest)
{
    auto* S = Make<TbsSkinStatusBar>(Rect(0, 0, 200, 21));
    EXPECT_EQ(S->Align(), alBottom);
    EXPECT_EQ(S->Height(), 21);
    const TRect Plain = S->SkinClientRect();
    S->SetSizeGrip(true);
    S->SetShowGrip(false);  // grip off: a plain panel
    EXPECT_EQ(S->SkinClientRect(), Plain);
    EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, PointToLParam(S->ClientToScreen(Point(395, 10)))),
              LRESULT(HTCLIENT));
    S->SetShowGrip(true);
    const TRect R = S->SkinClientRect();
    EXPECT_EQ(R.Right, Plain.Right - Plain.Height());
    const TRect G = S->GripRect();
    EXPECT_EQ(G, Rect(R.Right + 2, R.Top, R.Right + R.Height(), R.Bottom - 2));
    EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, PointToLParam(S->ClientToScreen(Point(G.Left + 1, G.Top + 1)))),
              LRESULT(HTBOTTOMRIGHT));
    EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, PointToLParam(S->ClientToScreen(Point(10, 10)))),
              LRESULT(HTCLIENT));
}

TEST_F(SkinBars, ToolBarCentresItsChildrenWhateverTopIsRequested)
{
    auto* T = Make<TbsSkinToolBar>(Rect(0, 0, 300, 40));
    auto* B = Make<TbsSkinButton>(Rect(10, 0, 60, 20), T);
    const TRect R = T->SkinClientRect();
    EXPECT_EQ(B->Top(), R.Height() / 2 + R.Top - 10);
    B->SetTop(1);
    EXPECT_EQ(B->Top(), R.Height() / 2 + R.Top - 10);
    auto* Plain = Make<TCustomControl>(Rect(70, 0, 90, 10), T);
    T->SetHeight(60);
    const TRect R2 = T->SkinClientRect();
    EXPECT_EQ(B->Top(), R2.Height() / 2 + R2.Top - 10);
    EXPECT_EQ(Plain->Top(), R2.Height() / 2 + R2.Top - 5);
    T->SetAdjustControls(false);
    B->SetTop(1);
    EXPECT_EQ(B->Top(), 1);
    T->SetScrollTimerInterval(0);
    T->SetScrollOffset(-3);
    EXPECT_EQ(T->ScrollTimerInterval(), 50);
    EXPECT_EQ(T->ScrollOffset(), 0);
}

}  // namespace
