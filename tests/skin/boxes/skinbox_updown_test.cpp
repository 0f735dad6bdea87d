// The skinned up-down: layout, clicks, press-and-hold repeat, range, skinned buttons.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class UpDown : public SkinCtlTest {
protected:
    TbsSkinUpDown* MakeUD()
    {
        auto* U = Make<TbsSkinUpDown>(Rect(10, 10, 60, 35));
        U->OnChange = [this](TObject*) { ++Changes; };
        U->OnUpButtonClick = [this](TObject*) { ++UpClicks; };
        U->OnDownButtonClick = [this](TObject*) { ++DownClicks; };
        Pump();
        return U;
    }
    int Changes = 0, UpClicks = 0, DownClicks = 0;
};

TEST_F(UpDown, HorizontalLayoutLeftDecreasesRightIncreases)
{
    auto* U = MakeUD();
    EXPECT_EQ(U->Buttons[1].R, Rect(0, 0, 25, 25));
    EXPECT_EQ(U->Buttons[0].R, Rect(25, 0, 50, 25));
    U->SetPosition(10);
    Changes = 0;
    Click(U, 40, 10);
    EXPECT_EQ(U->Position(), 11);
    Click(U, 5, 10);
    Click(U, 5, 10);
    EXPECT_EQ(U->Position(), 9);
    EXPECT_EQ(UpClicks, 1);
    EXPECT_EQ(DownClicks, 2);
    EXPECT_EQ(Changes, 3);
    // the shared middle edge belongs to the up button
    Click(U, 25, 10);
    EXPECT_EQ(U->Position(), 10);
}

TEST_F(UpDown, VerticalLayoutAndArrowsPaintInTheDefaultLook)
{
    auto* U = MakeUD();
    U->SetOrientation(udVertical);
    EXPECT_EQ(U->SkinDataName(), "hupdown");  // the name changes only at design time
    Pump();
    EXPECT_EQ(PixelOf(U, 0, 0), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(U, 2, 2), Sys(clBtnFace));
    EXPECT_EQ(U->Buttons[0].R, Rect(0, 0, 50, 12));
    Move(U, 10, 5);
    EXPECT_TRUE(U->Buttons[0].MouseIn);
    EXPECT_EQ(PixelOf(U, 0, 0), bsDefaultFrameColor);
    EXPECT_EQ(PixelOf(U, 2, 2), bsDefaultHotColor);
    Down(U, 10, 5);
    EXPECT_EQ(PixelOf(U, 2, 2), bsDefaultDownColor);
    Up(U, 10, 5);
    EXPECT_EQ(U->Position(), 1);
}

TEST_F(UpDown, HoldingRepeatsAfterTheWaitAndReleaseStepsOnceMore)
{
    auto* U = MakeUD();
    Down(U, 40, 10);
    EXPECT_EQ(U->Position(), 0);
    Wait(500);  // the wait ends: no step yet
    EXPECT_EQ(U->Position(), 0);
    Wait(100);
    EXPECT_EQ(U->Position(), 1);
    Wait(100);
    Wait(100);
    EXPECT_EQ(U->Position(), 3);
    Up(U, 40, 10);
    EXPECT_EQ(U->Position(), 4);
    EXPECT_EQ(UpClicks, 1);
    Wait(300);
    EXPECT_EQ(U->Position(), 4);
}

TEST_F(UpDown, ReleaseOverTheOtherButtonStepsNothing)
{
    auto* U = MakeUD();
    Down(U, 40, 10);
    Move(U, 5, 10);
    EXPECT_FALSE(U->Buttons[1].MouseIn);  // the other button never hovers while one is held
    Up(U, 5, 10);
    EXPECT_EQ(U->Position(), 0);
    EXPECT_EQ(UpClicks + DownClicks, 0);
}

TEST_F(UpDown, RangeAndIncrementZero)
{
    auto* U = MakeUD();
    U->SetPosition(100);
    Changes = 0;
    Click(U, 40, 10);
    EXPECT_EQ(U->Position(), 100);
    EXPECT_EQ(UpClicks, 1);
    EXPECT_EQ(Changes, 0);
    U->SetMax(50);
    EXPECT_EQ(U->Position(), 50);
    EXPECT_EQ(Changes, 0);
    U->SetPosition(50);
    EXPECT_EQ(Changes, 1);  // writing the same value still reports
    U->SetIncrement(0);
    Down(U, 5, 10);
    Wait(1000);
    Up(U, 5, 10);
    EXPECT_EQ(U->Position(), 50);
    EXPECT_EQ(DownClicks, 1);
}

TEST_F(UpDown, SkinnedButtonsFromTheRecord)
{
    TestSkin Skin;
    Skin.AddPicture(40, 40, clSilver);
    Skin.Paint(0, Rect(0, 20, 20, 40), clYellow);  // hovered up button
    Skin.Paint(0, Rect(20, 20, 40, 40), clLime);   // pressed up button
    auto* R = Skin.Add<TbsDataSkinUpDownControl>("hupdown");
    R->PictureIndex = 0;
    R->MaskPictureIndex = -1;
    R->SkinRect = Rect(0, 0, 40, 20);
    R->UpButtonRect = Rect(20, 0, 40, 20);
    R->DownButtonRect = Rect(0, 0, 20, 20);
    R->ActiveUpButtonRect = Rect(0, 20, 20, 40);
    R->DownUpButtonRect = Rect(20, 20, 40, 40);
    auto* U = MakeUD();
    U->SetSkinData(Skin.SD);
    Pump();
    EXPECT_EQ(U->Width(), 40);
    EXPECT_EQ(U->Height(), 20);
    EXPECT_EQ(U->Buttons[0].R, Rect(20, 0, 40, 20));
    EXPECT_EQ(PixelOf(U, 30, 10), clSilver);
    Move(U, 30, 10);
    EXPECT_EQ(PixelOf(U, 30, 10), clYellow);
    Down(U, 30, 10);
    EXPECT_EQ(PixelOf(U, 30, 10), clLime);
    Up(U, 30, 10);
    EXPECT_EQ(U->Position(), 1);
    // without skin sizes the buttons follow the control and, lacking "resizebutton", are blank
    U->SetUseSkinSize(false);
    U->SetBounds(10, 10, 60, 30);
    U->ChangeSkinData();
    EXPECT_EQ(U->Buttons[0].R, Rect(30, 0, 60, 30));
}

}  // namespace
