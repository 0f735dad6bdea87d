// The skinned tool bar (children centred vertically) and the status bar's size grip.
#include "skin/controls/bsSkinExCtrls.h"
#include "skinctl_support.h"

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

// ---- the tool bar's scroll buttons ------------------------------------------------------------

class ToolBarScroll : public SkinCtlTest {
protected:
    // A scrolling bar 300 wide whose plain children (80 wide each) end at AEnd.
    TbsSkinToolBar* Bar(int AEnd)
    {
        T = Make<TbsSkinToolBar>(Rect(0, 0, 300, 30));
        for (int X = 0; X < AEnd; X += 80) Kids.push_back(Make<TCustomControl>(Rect(X, 5, std::min(X + 80, AEnd), 25), T));
        T->SetCanScroll(true);
        Pump();
        return T;
    }
    int ContentRight() { return Kids.back()->Left() + Kids.back()->Width(); }
    // client x of the middle of the left (0) or right (1) scroll button
    int ButtonX(int I) { return I == 0 ? -6 : T->ClientWidth() + 6; }
    TbsSkinToolBar* T = nullptr;
    std::vector<TControl*> Kids;
};

TEST_F(ToolBarScroll, ButtonsShowOnlyWhenTheContentReachesPastTheClientArea)
{
    Bar(300);
    EXPECT_FALSE(T->Buttons[1].Visible);
    EXPECT_EQ(T->ClientWidth(), 300);
    Kids.back()->SetWidth(Kids.back()->Width() + 1);
    T->UpdateScrollInfo();
    EXPECT_TRUE(T->Buttons[0].Visible);
    EXPECT_TRUE(T->Buttons[1].Visible);
    EXPECT_EQ(T->ClientWidth(), 300 - 24);
    EXPECT_EQ(T->Buttons[1].R, Rect(288, 0, 300, 30));
    // hit codes of the buttons, the client elsewhere
    EXPECT_EQ(SendMessage(T->Handle(), WM_NCHITTEST, 0, PointToLParam(At(T, ButtonX(0), 10))), 119);
    EXPECT_EQ(SendMessage(T->Handle(), WM_NCHITTEST, 0, PointToLParam(At(T, ButtonX(1), 10))), 120);
    EXPECT_EQ(SendMessage(T->Handle(), WM_NCHITTEST, 0, PointToLParam(At(T, 50, 10))), LRESULT(HTCLIENT));
    // the default look of a button: frame and face
    Pump();
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(288, 15)), Sys(clBtnShadow));
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(299, 15)), Sys(clBtnShadow));
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(290, 2)), Sys(clBtnFace));
    // the content fits again: the buttons go
    Kids.back()->SetWidth(Kids.back()->Width() - 30);
    T->UpdateScrollInfo();
    EXPECT_FALSE(T->Buttons[1].Visible);
    EXPECT_EQ(T->ClientWidth(), 300);
}

TEST_F(ToolBarScroll, ClickScrollsOneStepOnReleaseAndHeldButtonOnePerInterval)
{
    Bar(800);
    T->SetScrollOffset(10);
    Down(T, ButtonX(1), 10);
    EXPECT_TRUE(T->Buttons[1].Down);
    EXPECT_EQ(T->SPosition, 0);  // the first step comes with the release or the first tick
    Up(T, ButtonX(1), 10);
    EXPECT_EQ(T->SPosition, 10);
    EXPECT_EQ(Kids[0]->Left(), -10);
    Down(T, ButtonX(1), 10);
    Wait(50);
    Wait(50);
    EXPECT_EQ(T->SPosition, 30);
    Up(T, ButtonX(1), 10);
    EXPECT_EQ(T->SPosition, 40);
    EXPECT_FALSE(T->ScrollTimerRunning());
    Wait(200);
    EXPECT_EQ(T->SPosition, 40);
    Click(T, ButtonX(0), 10);
    EXPECT_EQ(T->SPosition, 30);
    EXPECT_EQ(Kids[0]->Left(), -30);
}

TEST_F(ToolBarScroll, ScrollingStopsAtBothEnds)
{
    Bar(320);
    // right: never past SMax - SPage + 1, which the client width after the buttons shows
    for (int I = 0; I < 4; ++I) T->ScrollStep(true);
    EXPECT_EQ(T->SPosition, T->SMax - T->SPage + 1);
    EXPECT_EQ(ContentRight(), T->ClientWidth());
    // a step that changes nothing stops the timer
    T->SetScrollOffset(5);
    Down(T, ButtonX(1), 10);
    Wait(50);
    EXPECT_FALSE(T->ScrollTimerRunning());
    Up(T, ButtonX(1), 10);
    for (int I = 0; I < 20; ++I) T->ScrollStep(false);
    EXPECT_EQ(T->SPosition, 0);
    EXPECT_EQ(Kids[0]->Left(), 0);
}

TEST_F(ToolBarScroll, WideningAScrolledBarBringsTheContentBackRight)
{
    Bar(320);
    T->ScrollStep(true);
    T->ScrollStep(true);
    ASSERT_EQ(T->SPosition, 44);
    T->SetWidth(330);
    EXPECT_EQ(T->SPosition, 14);  // grew by 30: back right by 30
    EXPECT_EQ(ContentRight(), T->ClientWidth());
    T->SetWidth(430);  // room for all: back right by the 14 still scrolled, buttons gone
    EXPECT_EQ(T->SPosition, 0);
    EXPECT_EQ(Kids[0]->Left(), 0);
    EXPECT_FALSE(T->Buttons[0].Visible);
}

TEST_F(ToolBarScroll, HotScrollScrollsOnHoverAndStopsAfterLeaving)
{
    Bar(2000);
    T->SetHotScroll(true);
    T->SetScrollOffset(10);
    Move(T, ButtonX(1), 10);
    EXPECT_TRUE(T->Buttons[1].MouseIn);
    Wait(50);
    EXPECT_EQ(T->SPosition, 10);
    Move(T, 100, 200);  // off the bar
    Wait(100);

    EXPECT_FALSE(T->ScrollTimerRunning());
    EXPECT_FALSE(T->MouseTracking());
    const int Pos = T->SPosition;
    Wait(300);
    EXPECT_EQ(T->SPosition, Pos);
    // a move over the client area takes the hot state away at once
    Move(T, ButtonX(0), 2);
    EXPECT_TRUE(T->Buttons[0].MouseIn);
    Move(T, 100, 2);  // the bar's own client area, above the children
    EXPECT_FALSE(T->Buttons[0].MouseIn);
    EXPECT_FALSE(T->ScrollTimerRunning());
}

TEST_F(ToolBarScroll, SkinButtonRecordDrawsTheButtons)
{
    TestSkin S;
    auto* R = S.Add<TbsDataSkinButtonControl>("resizebutton");
    NinePiece(R, 12, 12, 2);
    R->PictureIndex = S.AddPicture(24, 12, RGB(0, 120, 0));
    S.Paint(R->PictureIndex, Rect(12, 0, 24, 12), RGB(120, 0, 0));
    R->ActiveSkinRect = Rect(12, 0, 24, 12);
    Bar(400);
    T->SetSkinData(S.SD);
    RedrawWindow(T->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    Pump();
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(3, 2)), RGB(0, 120, 0));
    Move(T, ButtonX(0), 10);
    Pump();
    EXPECT_EQ(Headless::PixelColor(Form->Handle(), Point(3, 2)), RGB(120, 0, 0));  // hot
}

TEST_F(ToolBarScroll, ToolBarHandsItsSettingsToItsSpeedButtons)
{
    TestSkin S;
    auto* Tb = Make<TbsSkinToolBar>(Rect(0, 0, 300, 30));
    auto* B = new TbsSkinSpeedButton(Form);
    B->SetParent(Tb);
    Tb->SetFlat(true);
    EXPECT_TRUE(B->Flat());
    Tb->SetSkinData(S.SD);
    EXPECT_EQ(B->SkinData(), S.SD);
    Tb->SetAutoShowHideCaptions(true);
    Tb->SetWidthWithCaptions(250);
    Tb->SetWidthWithoutCaptions(120);
    Tb->SetShowCaptions(true);
    EXPECT_TRUE(B->ShowCaption());
    EXPECT_EQ(Tb->Width(), 250);
    Tb->SetShowCaptions(false);
    EXPECT_FALSE(B->ShowCaption());
    EXPECT_EQ(Tb->Width(), 120);
    Tb->SetDesigning(true);
    Tb->SetSkinDataName("bigtoolpanel");
    EXPECT_EQ(B->SkinDataName(), "bigtoolbutton");
    Tb->SetSkinDataName("resizetoolpanel");
    EXPECT_EQ(B->SkinDataName(), "resizetoolbutton");
}

}  // namespace
