// A menu level: measures in the default and the skinned look, item looks by state and
// kind, placement against the opening rectangle and the work area, scrolling limits and
// the fade-in.
#include "menus_support.h"
#include "skin/core/bsUtils.h"

using namespace menustest;

namespace {

class MenuWindow : public MenuTest {
protected:
    // The widest text of the items as the window measures it, in Font.
    int TextWidth(std::initializer_list<String> Texts, TFont* F)
    {
        TBitmap B(10, 10);
        B.Canvas()->SetFont(F);
        int T = 0;
        for (const String& S : Texts) {
            TRect R(0, 0, 0, 0);
            DrawWideText(B.Canvas(), S, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
            T = std::max(T, R.Width() + 2);
        }
        return T;
    }
    void AddMany(int N)
    {
        for (int I = 0; I < N; ++I) Add("Item " + IntToStr(I));
    }
};

TEST_F(MenuWindow, DefaultLookMeasuresFromTextAndItemHeights)
{
    Add("&Open")->SetShortCut(ShortCut('O', {ssCtrl}));
    Add("-");
    Add("Exit");
    Open();
    ASSERT_EQ(Chain->LevelCount(), 1);
    TbsSkinPopupWindow* W = Level(0);
    EXPECT_EQ(W->Height(), 20 + 4 + 20 + 4);
    const int T = TextWidth({"&Open  " + ShortCutToText(ShortCut('O', {ssCtrl})), "-", "Exit"}, Chain->DefaultMenuItemFont());
    EXPECT_EQ(W->Width(), T + 19 + 19 + 10);
    // below the point, left-aligned with it
    EXPECT_EQ(W->Left(), 120);
    EXPECT_EQ(W->Top(), 120);
    EXPECT_EQ(W->Item(1)->ObjectRect, Rect(2, 22, W->Width() - 2, 26));
}

TEST_F(MenuWindow, DefaultLookPaintsHighlightSeparatorAndFrame)
{
    Add("One");
    Add("-");
    Add("Two")->SetEnabled(false);
    Open();
    TbsSkinPopupWindow* W = Level(0);
    // the first usable item is highlighted as the level opens, image column included
    EXPECT_EQ(W->ActiveItem, 0);
    EXPECT_EQ(PixelOf(W, 3, 4), RGB(193, 212, 243));
    EXPECT_EQ(PixelOf(W, W->Width() - 4, 4), RGB(193, 212, 243));
    // the separator is a one-pixel line across the middle of its 4-pixel row
    EXPECT_EQ(PixelOf(W, 10, 22 + 2), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(W, 10, 22 + 1), Sys(clWindow));
    EXPECT_EQ(PixelOf(W, 3, 30), Sys(clWindow));
    // frame
    EXPECT_EQ(PixelOf(W, 0, 0), Sys(clBtnShadow));
}

TEST_F(MenuWindow, Show2ListsBothMenusAndIsTwoPixelsTaller)
{
    Add("A");
    auto* Other = new TPopupMenu(Form);
    for (const char* C : {"B", "C"}) {
        auto* I = new TMenuItem(Other);
        I->SetCaption(C);
        Other->Items()->Add(I);
    }
    Chain->Popup2(nullptr, nullptr, 0, Rect(10, 10, 10, 10), Menu->Items(), Other->Items(), false);
    ASSERT_EQ(Chain->LevelCount(), 1);
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_EQ(W->ItemCount(), 3);
    EXPECT_EQ(W->Item(2)->MenuItem->Caption(), "C");
    EXPECT_EQ(W->Height(), 3 * 20 + 6);
    // a start index beyond both lists opens nothing
    Chain->Hide();
    Chain->Popup2(nullptr, nullptr, 3, Rect(10, 10, 10, 10), Menu->Items(), Other->Items(), false);
    EXPECT_FALSE(Chain->Visible());
}

TEST_F(MenuWindow, InvisibleChildrenGetNoEntryAndSeparatorsAreNotHighlighted)
{
    Menu->SetAutoLineReduction(false);
    Add("-");
    Add("Hidden")->SetVisible(false);
    Add("Shown");
    Open();
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_EQ(W->ItemCount(), 2);
    EXPECT_EQ(W->ActiveItem, 1);
    // a menu of disabled items opens with nothing highlighted
    Chain->Hide();
    Menu->Items()->Clear();
    Add("X")->SetEnabled(false);
    Open();
    EXPECT_EQ(Level(0)->ActiveItem, -1);
}

TEST_F(MenuWindow, SkinnedLookTakesItemAndDividerHeightsAndFaces)
{
    Add("One");
    Add("-");
    Add("Two");
    Open(Rect(120, 120, 120, 120), Skin());
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_NE(W->PW, nullptr);
    ASSERT_NE(W->DSMI, nullptr);
    // window margin: picture height minus the items area's height
    EXPECT_EQ(W->Height(), SkinItemH * 2 + SkinDividerH + (40 - 32));
    TFont F;
    F.SetName("Tahoma");
    F.SetHeight(14);
    const int T = TextWidth({"One", "-", "Two"}, &F);
    EXPECT_EQ(W->Width(), T + 19 + 19 + 4 + (60 - 56) + 4 + (40 - 36));
    EXPECT_EQ(W->NewItemsRect, Rect(4, 4, W->Width() - 4, W->Height() - 4));
    EXPECT_EQ(PixelOf(W, 1, 1), WindowFrame);
    EXPECT_EQ(PixelOf(W, 5, 4 + 1), ItemActiveFace);                    // the first item, highlighted
    EXPECT_EQ(PixelOf(W, 5, 4 + SkinItemH + 2), DividerFace);           // the divider
    EXPECT_EQ(PixelOf(W, 5, 4 + SkinItemH + SkinDividerH + 1), ItemFace);
    // with skin sizes off the items take the default height and are stretched to it
    Chain->Hide();
    Chain->SetUseSkinSize(false);
    Open(Rect(120, 120, 120, 120), Skin());
    W = Level(0);
    EXPECT_EQ(W->Height(), 20 * 2 + SkinDividerH + 8);
    EXPECT_EQ(PixelOf(W, 5, 4 + 18), ItemActiveFace);
}

TEST_F(MenuWindow, MenuItemDataWithoutAPictureGivesTheDefaultItems)
{
    Skin();
    SkinItem->ActivePictureIndex = 9;
    Add("One");
    Add("Two");
    Open(Rect(120, 120, 120, 120), SD);
    TbsSkinPopupWindow* W = Level(0);
    EXPECT_EQ(W->DSMI, nullptr);
    // items keep their default height instead of collapsing to nothing
    EXPECT_EQ(W->Item(0)->ObjectRect.Height(), 20);
    EXPECT_EQ(PixelOf(W, 6, 6), RGB(193, 212, 243));
    // the shared record is left as it was
    EXPECT_EQ(SkinItem->SkinRect, Rect(0, 0, 60, SkinItemH));
}

struct TPlaceCase {
    const char* Name;
    int Items;
    TRect R;
    bool Up;
    int X, Y;  // -1: computed from the window's size by the case
};

TEST_F(MenuWindow, FirstLevelPlacementAgainstTheWorkArea)
{
    // work area (0, 0, 1280, 994); default items are 20 high, the window 4 more
    auto H = [](int N) { return N * 20 + 4; };
    const TPlaceCase Cases[] = {
        {"below the point", 3, Rect(100, 100, 100, 100), false, 100, 100},
        {"above near the bottom", 3, Rect(100, 990, 100, 990), false, 100, 990 - H(3)},
        {"asked upwards", 3, Rect(100, 500, 160, 520), true, 100, 500 - H(3)},
        {"upwards without room above", 3, Rect(100, 20, 160, 30), true, 100, 30},
        {"fits neither way, lower half: top and beside", 45, Rect(100, 600, 160, 620), false, 161, 0},
        {"fits neither way, upper half: bottom and beside", 45, Rect(100, 300, 160, 320), false, 161, 994 - H(45)},
        {"taller than the work area: cut, top, beside", 60, Rect(100, 300, 160, 320), false, 161, 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Menu->Items()->Clear();
        for (int I = 0; I < C.Items; ++I) Add("Item");
        Chain->Popup(nullptr, nullptr, 0, C.R, Menu->Items(), C.Up);
        ASSERT_EQ(Chain->LevelCount(), 1);
        EXPECT_EQ(Level(0)->Left(), C.X);
        EXPECT_EQ(Level(0)->Top(), C.Y);
        Chain->Hide();
    }
}

TEST_F(MenuWindow, WideMenuMovesLeftAndBesideFallsBackToTheLeft)
{
    Add("Item");
    Chain->Popup(nullptr, nullptr, 0, Rect(1270, 100, 1270, 100), Menu->Items(), false);
    TbsSkinPopupWindow* W = Level(0);
    EXPECT_EQ(W->Left(), 1280 - W->Width());
    Chain->Hide();
    // a cut level beside a rectangle at the right edge opens to its left
    Menu->Items()->Clear();
    for (int I = 0; I < 60; ++I) Add("Item");
    Chain->Popup(nullptr, nullptr, 0, Rect(1200, 300, 1270, 320), Menu->Items(), false);
    W = Level(0);
    EXPECT_EQ(W->Left(), 1200 - W->Width() - 1);
    EXPECT_TRUE(W->Scroll);
    EXPECT_FALSE(W->Scroll2);
    EXPECT_EQ(W->Height(), 994);
}

TEST_F(MenuWindow, MaxItemsInWindowLimitsTheHeightAndScrolls)
{
    AddMany(10);
    Chain->MaxMenuItemsInWindow = 4;
    Open();
    TbsSkinPopupWindow* W = Level(0);
    EXPECT_EQ(W->Height(), 4 * 20 + 4 + 20);
    EXPECT_TRUE(W->Scroll);
    EXPECT_TRUE(W->Scroll2);
    EXPECT_EQ(W->VisibleCount, 4);
    EXPECT_EQ(W->Item(0)->ObjectRect.Top, 2 + 10);
    EXPECT_FALSE(W->Item(4)->FVisible);
    // placed as an ordinary first level (not cut to the work area)
    EXPECT_EQ(W->Top(), 120);
}

TEST_F(MenuWindow, FadeInOnlyForTheFirstLevelOfAClosedChain)
{
    TMenuItem* Sub = Add("Sub");
    Add("Child", Sub);
    Add("Leaf");
    Chain->AlphaBlend = true;
    Chain->AlphaBlendAnimation = true;
    Chain->AlphaBlendValue = 150;
    Open();
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_EQ(W->FadeSteps.size(), 15u);
    EXPECT_EQ(W->FadeSteps.front(), 10);
    EXPECT_EQ(W->FadeSteps.back(), 150);
    EXPECT_EQ(W->AppliedAlpha(), 150);
    // the submenu is shown at its final opacity at once
    W->PopupKeyDown(VK_RIGHT);
    ASSERT_EQ(Chain->LevelCount(), 2);
    EXPECT_TRUE(Level(1)->FadeSteps.empty());
    EXPECT_EQ(Level(1)->AppliedAlpha(), 150);
    // without the animation every level shows at the value
    Chain->Hide();
    Chain->AlphaBlendAnimation = false;
    Chain->AlphaBlendValue = 200;
    Open();
    EXPECT_TRUE(Level(0)->FadeSteps.empty());
    EXPECT_EQ(Level(0)->AppliedAlpha(), 200);
    // an odd value takes one more step: 16 for 200
    Chain->Hide();
    Chain->AlphaBlendAnimation = true;
    Open();
    EXPECT_EQ(Level(0)->FadeSteps.size(), 16u);
}

}  // namespace
