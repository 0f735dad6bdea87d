// The skinned check and radio box: state changes by click, keys and code, groups, grayed
// cycle, flat and skinned looks.
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinCheck : public SkinCtlTest {
protected:
    TbsSkinCheckRadioBox* Box(TRect R, const char* Name, bool Radio = false, int Group = 0)
    {
        auto* B = Make<TbsSkinCheckRadioBox>(R);
        B->SetRadio(Radio);
        B->SetGroupIndex(Group);
        B->OnClick = [this, Name](TObject*) { Log.push_back(Name); };
        return B;
    }
    std::vector<std::string> Log;
    TestSkin Skin;
};

TEST_F(SkinCheck, ClicksToggleAndRadioGroupsUncheckEachOther)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a", true, 1);
    auto* B = Box(Rect(10, 40, 160, 65), "b", true, 1);
    auto* Free = Box(Rect(10, 70, 160, 95), "free", true, 0);
    Free->SetChecked(true);
    Log.clear();
    Click(A, 10, 12);
    EXPECT_TRUE(A->Checked());
    Click(B, 10, 12);
    EXPECT_TRUE(B->Checked());
    EXPECT_FALSE(A->Checked());
    EXPECT_TRUE(Free->Checked());
    EXPECT_EQ(Log, (std::vector<std::string>{"a", "b"}));  // a radio unchecked by the group fires nothing
    Log.clear();
    Click(B, 10, 12);  // a checked radio clicked: stays checked, fires nothing
    EXPECT_TRUE(B->Checked());
    EXPECT_TRUE(Log.empty());
}

TEST_F(SkinCheck, GroupedCheckBoxUncheckedByTheGroupFiresItsClick)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a", false, 2);
    auto* B = Box(Rect(10, 40, 160, 65), "b", false, 2);
    A->SetChecked(true);
    B->SetChecked(true);
    EXPECT_FALSE(A->Checked());
    EXPECT_EQ(Log, (std::vector<std::string>{"a", "a", "b"}));
    Log.clear();
    B->SetState(cbChecked);  // the same state still fires
    EXPECT_EQ(Log, (std::vector<std::string>{"b"}));
}

TEST_F(SkinCheck, AllowGrayedCyclesThroughThreeStates)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a");
    A->SetAllowGrayed(true);
    Click(A, 10, 12);
    EXPECT_EQ(A->State(), cbGrayed);
    EXPECT_FALSE(A->Checked());
    Click(A, 10, 12);
    EXPECT_EQ(A->State(), cbChecked);
    Click(A, 10, 12);
    EXPECT_EQ(A->State(), cbUnchecked);
    EXPECT_EQ(Log.size(), 3u);
    // unchecking a grayed box by code keeps it grayed
    A->SetState(cbGrayed);
    A->SetChecked(false);
    EXPECT_EQ(A->State(), cbGrayed);
}

TEST_F(SkinCheck, PressLeaveReleaseChangesNothing)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a");
    Down(A, 10, 12);
    Move(A, 300, 200);
    Up(A, 300, 200);
    EXPECT_FALSE(A->Checked());
    EXPECT_TRUE(Log.empty());
}

TEST_F(SkinCheck, SpaceTogglesTheFocusedBox)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a");
    A->SetFocus();
    Pump();
    Key(VK_SPACE);
    EXPECT_TRUE(A->Checked());
    A->SetCanFocused(false);
    Key(VK_SPACE);
    EXPECT_TRUE(A->Checked());
}

TEST_F(SkinCheck, FlatDefaultLookDrawsTheBoxAndTheMark)
{
    auto* A = Box(Rect(10, 10, 160, 35), "a");
    A->SetCanFocused(false);
    Form->SetColor(clYellow);
    Move(Form, 300, 250);
    const int Y = 25 / 2;
    EXPECT_EQ(PixelOf(A, 3, Y), Sys(clBtnShadow));    // frame of the box
    EXPECT_EQ(PixelOf(A, 5, Y - 5), Sys(clWindow));   // inside the box
    EXPECT_EQ(PixelOf(A, 100, 2), clYellow);           // the parent's background around it
    Move(A, 10, Y);
    EXPECT_EQ(PixelOf(A, 3, Y), bsDefaultFrameColor);  // hot
    A->SetChecked(true);
    bool Marked = false;
    for (int X = 5; X < 16; ++X)
        for (int Yy = Y - 5; Yy < Y + 6; ++Yy)
            if (PixelOf(A, X, Yy) == clBlack) Marked = true;
    EXPECT_TRUE(Marked);
}

TEST_F(SkinCheck, FlatBoxKeepsItsSizeAndSkinnedBoxFollowsTheRecord)
{
    Skin.AddPicture(100, 40, clWhite);
    // check images drawn with their bottom-left colour (white) left out
    Skin.Paint(0, Rect(2, 22, 8, 28), clRed);     // checked image
    Skin.Paint(0, Rect(12, 22, 18, 28), clBlue);  // unchecked image
    auto* R = Skin.Add<TbsDataSkinCheckRadioControl>("checkbox");
    NinePiece(R, 60, 20, 2, true, false);
    R->CheckImageArea = Rect(0, 0, 20, 20);
    R->TextArea = Rect(20, 0, 58, 20);
    R->CheckImageRect = Rect(0, 20, 10, 30);
    R->UnCheckImageRect = Rect(10, 20, 20, 30);
    auto* Flat = Box(Rect(10, 10, 160, 40), "flat");
    Flat->SetCanFocused(false);
    Flat->SetSkinData(Skin.SD);
    EXPECT_EQ(Flat->BoundsRect(), Rect(10, 10, 160, 40));
    EXPECT_EQ(PixelOf(Flat, 8, 15), clBlue);
    EXPECT_NE(PixelOf(Flat, 4, 11), clWhite);  // the key colour is left out
    Flat->SetChecked(true);
    EXPECT_EQ(PixelOf(Flat, 8, 15), clRed);
    auto* Skinned = Box(Rect(10, 50, 160, 80), "skinned");
    Skinned->SetCanFocused(false);
    Skinned->SetFlat(false);
    Skinned->SetSkinData(Skin.SD);
    EXPECT_EQ(Skinned->Height(), 20);  // horizontal-only record
    EXPECT_EQ(Skinned->Width(), 150);
    EXPECT_EQ(Skinned->CIRect, Rect(5, 5, 15, 15));
    EXPECT_EQ(PixelOf(Skinned, 10, 10), clBlue);
}

}  // namespace
