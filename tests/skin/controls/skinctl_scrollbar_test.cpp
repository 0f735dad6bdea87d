// The skinned scroll bar: range and position writers, layout, buttons with repeat, paging,
// thumb dragging, wheel and keys, default and skinned looks.
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinScroll : public SkinCtlTest {
protected:
    TbsSkinScrollBar* Bar(TRect R = Rect(10, 10, 210, 29))
    {
        auto* B = Make<TbsSkinScrollBar>(R);
        B->OnChange = [this](TObject*) { ++Changes; };
        return B;
    }
    int Changes = 0;
};

TEST_F(SkinScroll, PositionWritersClampAndOnlyThePositionWriterFires)
{
    auto* B = Bar();
    B->SetPageSize(10);
    B->SetPosition(500);
    EXPECT_EQ(B->Position(), 91);  // Max - PageSize + 1
    EXPECT_EQ(Changes, 1);
    B->SetPosition(500);
    EXPECT_EQ(Changes, 1);
    B->SetRange(0, 50, 10, 45);
    EXPECT_EQ(B->Position(), 41);
    B->SetMin(42);
    EXPECT_EQ(B->Position(), 42);
    B->SimplySetPosition(0);
    EXPECT_EQ(B->Position(), 42);
    EXPECT_EQ(Changes, 1);
    B->SetPageSize(100);  // does not fit with the position: ignored
    EXPECT_EQ(B->PageSize(), 10);
}

TEST_F(SkinScroll, WithMinAboveZeroMaxAndPageClampToTheLastPage)
{
    auto* B = Bar();
    B->SetRange(10, 100, 20, 81);  // 81 = Max - PageSize + 1: the last page
    ASSERT_EQ(B->Position(), 81);
    B->SetMax(100);  // unchanged range: the position stays on the last page
    EXPECT_EQ(B->Position(), 81);
    B->SetMax(90);
    EXPECT_EQ(B->Position(), 71);
    B->SetMax(15);  // shorter than the page: at Min
    EXPECT_EQ(B->Position(), 10);
    B->SetRange(10, 100, 0, 80);
    B->SetPageSize(21);  // 80 is the last page of 21: taken
    EXPECT_EQ(B->PageSize(), 21);
    B->SetPageSize(22);  // 80 lies past the last page of 22: refused
    EXPECT_EQ(B->PageSize(), 21);
    EXPECT_EQ(Changes, 0);
}

TEST_F(SkinScroll, DefaultLayoutPlacesButtonsTrackAndThumb)
{
    auto* B = Bar();
    B->CalcThumbLayout();
    EXPECT_EQ(B->Buttons[2].R, Rect(1, 1, 17, 18));
    EXPECT_EQ(B->Buttons[1].R, Rect(183, 1, 199, 18));
    EXPECT_EQ(B->NewTrackArea, Rect(17, 1, 183, 18));
    EXPECT_EQ(B->Buttons[0].R, Rect(17, 1, 33, 18));  // Position 0: at the track start
    B->SetPosition(100);
    B->CalcThumbLayout();
    EXPECT_EQ(B->Buttons[0].R.Right, 183);
    // a page covering the whole range: horizontal thumb at the end, vertical at the start
    B->SetRange(0, 0, 1, 0);
    B->CalcThumbLayout();
    EXPECT_EQ(B->Buttons[0].R.Right, 183);
    auto* V = Bar(Rect(250, 10, 269, 210));
    V->SetKind(sbVertical);
    V->SetRange(0, 0, 1, 0);
    V->CalcThumbLayout();
    EXPECT_EQ(V->Buttons[0].R.Top, 17);
    // a page larger than the track makes a longer thumb; the minimum is 16
    B->SetRange(0, 99, 50, 0);
    B->CalcThumbLayout();
    EXPECT_EQ(B->Buttons[0].R.Width(), 82);  // 166 * 50 / 100, rounded to even
}

TEST_F(SkinScroll, HeldButtonStepsAtOnceThenAfter550MsThenEvery50)
{
    auto* B = Bar();
    Down(B, 190, 9);
    EXPECT_EQ(B->Position(), 1);
    Wait(500);
    EXPECT_EQ(B->Position(), 1);
    Wait(50);
    EXPECT_EQ(B->Position(), 2);
    Wait(50);
    EXPECT_EQ(B->Position(), 3);
    Move(B, 100, 9);  // off the button: the repeat pauses
    Wait(50);
    Wait(50);
    EXPECT_EQ(B->Position(), 3);
    Move(B, 190, 9);  // back: resumes at 50 ms
    Wait(50);
    EXPECT_EQ(B->Position(), 4);
    Up(B, 190, 9);
    Wait(200);
    EXPECT_EQ(B->Position(), 4);
    // the down button goes back; a handler replaces the change
    Click(B, 8, 9);
    EXPECT_EQ(B->Position(), 3);
    int Ups = 0;
    B->OnUpButtonClick = [&](TObject*) { ++Ups; };
    Click(B, 190, 9);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(B->Position(), 3);
}

TEST_F(SkinScroll, TrackClicksPageAndRepeatUntilTheThumbPasses)
{
    auto* B = Bar();
    B->SetLargeChange(10);
    int Ups = 0, Downs = 0;
    B->OnPageUp = [&](TObject*) { ++Ups; };
    B->OnPageDown = [&](TObject*) { ++Downs; };
    Down(B, 120, 9);
    EXPECT_EQ(B->Position(), 10);
    EXPECT_EQ(Downs, 1);
    for (int I = 0; I < 20; ++I) Wait(50);
    Up(B, 120, 9);
    // the thumb stopped at the mouse: no step took it past the point
    B->CalcThumbLayout();
    EXPECT_LE(B->Buttons[0].R.Left, 120);
    EXPECT_GE(B->Buttons[0].R.Right, 120 - 8);
    const int At = B->Position();
    Click(B, 20, 9);
    EXPECT_EQ(B->Position(), At - 10);
    EXPECT_EQ(Ups, 1);
}

TEST_F(SkinScroll, ThumbDragFollowsTheMouseAndEndsWithLastChange)
{
    auto* B = Bar();
    int Last = 0;
    B->OnLastChange = [&](TObject*) { ++Last; };
    Down(B, 25, 9);
    EXPECT_TRUE(B->Dragging());
    Move(B, 25 + 75, 9);  // half of the 150 pixels the thumb centre can travel
    EXPECT_EQ(B->Position(), 50);
    Move(B, 500, 9);
    EXPECT_EQ(B->Position(), 100);
    EXPECT_EQ(Last, 0);
    Up(B, 500, 9);
    EXPECT_EQ(Last, 1);
    EXPECT_FALSE(B->Dragging());
}

TEST_F(SkinScroll, RightClickRaisesMouseDownOnlyAndKeysNeedFocus)
{
    auto* B = Bar();
    int Downs = 0;
    B->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Down(B, 190, 9, 3);
    Up(B, 190, 9, 3);
    EXPECT_EQ(Downs, 1);
    EXPECT_EQ(B->Position(), 0);
    Key(VK_RIGHT);
    EXPECT_EQ(B->Position(), 0);
    B->SetCanFocused(true);
    B->SetFocus();
    Pump();
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(B->Position(), 1);
    Headless::Wheel(At(B, 100, 9), -120);
    Pump();
    EXPECT_EQ(B->Position(), 2);
    Headless::Wheel(At(B, 100, 9), 120);
    Pump();
    EXPECT_EQ(B->Position(), 1);
}

TEST_F(SkinScroll, DefaultLookShowsHotPressedAndNoThumbWhenDisabled)
{
    auto* B = Bar();
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 1, 1), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(B, 20, 9), Sys(clBtnFace));  // thumb fill
    Move(B, 190, 4);
    EXPECT_EQ(PixelOf(B, 183, 1), bsDefaultFrameColor);
    EXPECT_EQ(PixelOf(B, 186, 3), bsDefaultHotColor);
    Down(B, 190, 4);
    EXPECT_EQ(PixelOf(B, 186, 3), bsDefaultDownColor);
    Up(B, 190, 4);
    B->SetEnabled(false);
    EXPECT_EQ(PixelOf(B, 17 + 2, 1), Sys(clBtnFace));  // no thumb frame
}

TEST_F(SkinScroll, SkinnedBarDrawsItsPictureButtonsAndThumb)
{
    TestSkin Skin;
    Skin.AddPicture(100, 20, clGray);
    Skin.Paint(0, Rect(0, 20 - 20, 100, 20), clGray);
    auto* R = Skin.Add<TbsDataSkinScrollBarControl>("hscrollbar");
    R->PictureIndex = 0;
    R->MaskPictureIndex = -1;
    R->SkinRect = Rect(0, 0, 60, 16);
    R->LTPoint = Point(16, 0);
    R->RTPoint = Point(44, 0);
    R->ClRect = Rect(16, 0, 44, 16);
    R->TrackArea = Rect(16, 0, 44, 16);
    R->DownButtonRect = Rect(0, 0, 16, 16);
    R->UpButtonRect = Rect(44, 0, 60, 16);
    R->ActiveUpButtonRect = Rect(60, 0, 76, 16);
    Skin.Paint(0, Rect(60, 0, 76, 16), clLime);
    R->ThumbRect = Rect(80, 0, 90, 16);
    Skin.Paint(0, Rect(80, 0, 90, 16), clBlue);
    auto* B = Bar(Rect(10, 10, 210, 40));
    B->SetSkinData(Skin.SD);
    EXPECT_EQ(B->Height(), 16);
    B->CalcThumbLayout();
    EXPECT_EQ(B->Buttons[1].R, Rect(184, 0, 200, 16));
    EXPECT_EQ(B->NewTrackArea, Rect(16, 0, 184, 16));
    EXPECT_EQ(B->Buttons[0].R, Rect(16, 0, 26, 16));
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 20, 8), clBlue);
    EXPECT_EQ(PixelOf(B, 190, 8), clGray);
    Move(B, 190, 8);
    EXPECT_EQ(PixelOf(B, 190, 8), clLime);
}

}  // namespace
