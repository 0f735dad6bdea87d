// The frame's menu properties (kept by its skin menu), its hint link and the hints of the
// caption objects and quick buttons.
#include "frame_support.h"

#include "platform/forms/Menus.h"
#include "platform/graphics/ImgList.h"
#include "skin/menus/bsSkinHint.h"

using namespace frametest;

namespace {

class FrameMenuProperties : public FrameTest {};

TEST_F(FrameMenuProperties, MenuLooksAreTheSkinMenus)
{
    // the skin menu's own defaults show through
    EXPECT_TRUE(Frame->UseSkinFontInMenu());
    EXPECT_TRUE(Frame->UseSkinSizeInMenu());
    EXPECT_EQ(Frame->DefMenuItemHeight(), 20);
    EXPECT_EQ(Frame->DefMenuItemFont()->Name(), "Tahoma");
    // as the program's forms set them
    Frame->SetUseSkinFontInMenu(false);
    Frame->SetUseSkinSizeInMenu(false);
    Frame->SetDefMenuItemHeight(24);
    TFont F;
    F.SetName("Arial");
    F.SetHeight(14);
    F.SetColor(clWindowText);
    Frame->SetDefMenuItemFont(&F);
    EXPECT_FALSE(Frame->SkinMenu->UseSkinFont());
    EXPECT_FALSE(Frame->SkinMenu->UseSkinSize());
    EXPECT_EQ(Frame->SkinMenu->DefaultMenuItemHeight(), 24);
    EXPECT_EQ(Frame->SkinMenu->DefaultMenuItemFont()->Name(), "Arial");
    EXPECT_EQ(Frame->SkinMenu->DefaultMenuItemFont()->Height(), 14);
    // a copy is taken: the font given stays the caller's
    EXPECT_NE(Frame->DefMenuItemFont(), &F);
    // heights of 0 or less are ignored
    for (int Bad : {0, -5}) {
        Frame->SetDefMenuItemHeight(Bad);
        EXPECT_EQ(Frame->DefMenuItemHeight(), 24) << Bad;
    }
}

TEST_F(FrameMenuProperties, ItemHeightReachesTheOpenMenu)
{
    Frame->SetDefMenuItemHeight(30);
    Frame->SetUseSkinSizeInMenu(false);
    ShowForm();
    auto* Menu = new TPopupMenu(Form);
    for (const char* C : {"One", "Two"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        Menu->Items()->Add(I);
    }
    Frame->PopupSkinMenu(Menu, At(50, 50));
    ASSERT_TRUE(Frame->SkinMenu->Visible());
    TbsSkinPopupWindow* W = Frame->SkinMenu->LastLevel();
    ASSERT_NE(W, nullptr);
    ASSERT_EQ(W->ItemCount(), 2);
    EXPECT_EQ(W->Item(0)->ObjectRect.Height(), 30);
    Frame->CloseSkinMenu();
    Pump();
}

TEST_F(FrameMenuProperties, MenuWritersReachTheSkinMenu)
{
    Frame->SetMaxMenuItemsInWindow(7);
    Frame->SetMenusAlphaBlend(true);
    Frame->SetMenusAlphaBlendValue(120);
    Frame->SetMenusAlphaBlendAnimation(true);
    EXPECT_EQ(Frame->SkinMenu->MaxMenuItemsInWindow, 7);
    EXPECT_TRUE(Frame->SkinMenu->AlphaBlend);
    EXPECT_EQ(Frame->SkinMenu->AlphaBlendValue, 120);
    EXPECT_TRUE(Frame->SkinMenu->AlphaBlendAnimation);
    Frame->SetMaxMenuItemsInWindow(-1);
    EXPECT_EQ(Frame->MaxMenuItemsInWindow(), 7);
    EXPECT_EQ(Frame->SkinMenu->MaxMenuItemsInWindow, 7);
}

TEST_F(FrameMenuProperties, AMenuThatShowsNothingLeavesNoMenuState)
{
    ShowForm();
    auto* Empty = new TPopupMenu(Form);
    int Keys = 0;
    Form->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++Keys; };
    Form->SetKeyPreview(true);
    for (int Pass = 0; Pass < 2; ++Pass) {
        if (Pass == 0) Frame->PopupSkinMenu(Empty, At(50, 50));
        else Frame->PopupSkinMenu1(Empty, TRect(At(50, 50).X, At(50, 50).Y, At(60, 60).X, At(60, 60).Y), false);
        EXPECT_FALSE(Frame->SkinMenu->Visible());
        EXPECT_FALSE(Frame->InMenu()) << Pass;
        EXPECT_FALSE(Application->HasMessageFilter(Frame)) << Pass;
    }
    // the keys reach the form again
    SetFocus(H());
    Headless::Key('A');
    Pump();
    EXPECT_GE(Keys, 1);
}

class FrameHints : public FrameSkinTest {
protected:
    void SetUp() override
    {
        FrameSkinTest::SetUp();
        Hint = new TbsSkinHint(Main);
        Frame->SetSkinHint(Hint);
        Frame->SetSkinData(SD);
    }
    TRect ObjectRect(const char* Name) { return Frame->ObjectList[size_t(Frame->GetIndex(Name))]->ObjectRect(); }
    TPoint Middle(const TRect& R) { return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
    void MoveTo(TPoint P) { Move(P.X, P.Y); }
    // The hint is on its way or shown.
    bool HintOn() { return Hint->Pending() || Hint->IsVisible(); }
    TbsSkinHint* Hint = nullptr;
};

TEST_F(FrameHints, TheLinkGoesWithTheHintComponent)
{
    EXPECT_EQ(Frame->SkinHint(), Hint);
    delete Hint;
    Hint = nullptr;
    EXPECT_EQ(Frame->SkinHint(), nullptr);
    // hovering an object with a hint afterwards touches nothing
    Frame->SetShowObjectHint(true);
    ShowForm();
    MoveTo(Middle(ObjectRect("closebutton")));
    Wait(60);
    EXPECT_NE(Frame->ActiveObject, -1);
}

TEST_F(FrameHints, ObjectHintsFollowTheHover)
{
    ShowForm();
    TPoint Close = Middle(ObjectRect("closebutton"));
    // off by default
    MoveTo(Close);
    Wait(60);
    EXPECT_FALSE(HintOn());
    MoveTo(Point(150, 100));
    Wait(60);

    Frame->SetShowObjectHint(true);
    MoveTo(Close);
    Wait(60);
    EXPECT_TRUE(HintOn());
    Wait(uint64_t(Application->HintPause) + 50);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->Window()->Caption(), Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->Hint());
    EXPECT_FALSE(Hint->Window()->Caption().empty());
    // leaving the object hides it
    MoveTo(Point(150, 100));
    Wait(60);
    EXPECT_FALSE(HintOn());
    // a press anywhere on the form hides it too
    MoveTo(Close);
    Wait(60);
    EXPECT_TRUE(HintOn());
    SendMessage(H(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(HintOn());
}

TEST_F(FrameHints, QuickButtonHints)
{
    auto* Images = new TImageList(Main, 12, 12);
    TBitmap Img(12, 12);
    Images->Add(&Img, nullptr);
    Frame->SetQuickImageList(Images);
    TbsQuickButtonItem* Q = Frame->QuickButtons()->Add();
    Q->SetImageIndex(0);
    Q->SetHint("open a file");
    ShowForm();
    TPoint P = Middle(Q->ItemRect());
    // off by default
    MoveTo(P);
    Wait(60);
    EXPECT_FALSE(HintOn());
    MoveTo(Point(150, 13));
    Wait(60);

    Frame->SetQuickButtonsShowHint(true);
    MoveTo(P);
    Wait(60);
    EXPECT_TRUE(HintOn());
    Wait(uint64_t(Application->HintPause) + 50);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->Window()->Caption(), "open a file");
    // moving off the button within the caption hides it
    MoveTo(Point(150, 13));
    Wait(60);
    EXPECT_FALSE(HintOn());
    // and so does a press on the button
    MoveTo(P);
    Wait(60);
    EXPECT_TRUE(HintOn());
    Down(P.X, P.Y);
    EXPECT_FALSE(HintOn());
    Up(P.X, P.Y);
}

}  // namespace
