// Office items, the office list box and the office combo box: layout and scroll bar,
// selection by mouse and keys, check boxes, headers, the drop-down with its events.
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinOffice : public SkinCtlTest {
protected:
    TbsSkinOfficeListBox* List(TRect R = Rect(10, 10, 160, 160))
    {
        auto* L = Make<TbsSkinOfficeListBox>(R);
        L->OnItemClick = [this](TObject*) { ++ItemClicks; };
        return L;
    }
    // Adds items; "#" makes a header, "-" a disabled item.
    void Fill(TbsSkinOfficeListBox* L, std::vector<std::string> Names)
    {
        for (auto& N : Names) {
            TbsSkinOfficeItem* It = L->Items()->Add();
            It->SetCaption(N);
            if (N[0] == '#') It->SetHeader(true);
            if (N[0] == '-') It->SetEnabled(false);
        }
        Pump();
    }
    TPoint ItemPoint(TbsSkinOfficeListBox* L, int I)
    {
        L->CalcItemRects();
        const TRect R = L->Items()->Items(I)->ItemRect;
        return Point(R.Left + 20, R.Top + R.Height() / 2);
    }
    int ItemClicks = 0;
};

TEST_F(SkinOffice, LayoutScrollBarAndHeights)
{
    auto* L = List();
    Pump();
    EXPECT_EQ(L->ScrollBar(), nullptr);
    Fill(L, {"a", "b", "c"});
    EXPECT_EQ(L->CalcHeight(7), 3 * 30 + 5);
    EXPECT_EQ(L->ScrollBar(), nullptr);
    L->CalcItemRects();
    EXPECT_EQ(L->Items()->Items(0)->ItemRect, Rect(2, 2, 148, 32));
    Fill(L, {"d", "e", "f", "g"});
    ASSERT_NE(L->ScrollBar(), nullptr);
    EXPECT_EQ(L->ScrollBar()->Kind(), sbVertical);
    EXPECT_EQ(L->ScrollBar()->Width(), 19);
    EXPECT_EQ(L->ScrollBar()->Max(), 7 * 30);
    L->CalcItemRects();
    EXPECT_EQ(L->ItemsRect().Right, 148 - 18);
    // the wheel scrolls the focused list by the small change (one item)
    L->SetFocus();
    Pump();
    Headless::Wheel(At(L, 50, 50), -120);
    Pump();
    EXPECT_EQ(L->ScrollOffset(), 30);
    L->Items()->Clear();
    Pump();
    EXPECT_EQ(L->ScrollBar(), nullptr);
}

TEST_F(SkinOffice, KeysSkipHeadersAndPageUpStopsAtThePreviousGroup)
{
    auto* L = List(Rect(10, 10, 160, 100));  // a page of two items
    Fill(L, {"#g1", "a", "b", "c", "#g2", "d", "-e", "f"});
    L->SetFocus();
    Pump();
    L->SetItemIndex(3);
    Key(VK_DOWN);
    EXPECT_EQ(L->ItemIndex(), 5);
    Key(VK_DOWN);
    EXPECT_EQ(L->ItemIndex(), 7);  // the disabled item is skipped
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(L->ItemIndex(), 3);
    L->SetItemIndex(5);
    Key(VK_PRIOR);
    EXPECT_EQ(L->ItemIndex(), 3);  // the last item of the previous group
    Key(VK_NEXT);
    EXPECT_EQ(L->ItemIndex(), 5);
}

TEST_F(SkinOffice, ItemIndexFiresTheItemAndListEventsAndMinusOneOnlyRepaints)
{
    auto* L = List();
    Fill(L, {"a", "b"});
    int ItemOwn = 0;
    L->Items()->Items(1)->OnClick = [&](TObject* S) {
        ++ItemOwn;
        EXPECT_EQ(S, L);
    };
    L->SetItemIndex(1);
    EXPECT_EQ(ItemOwn, 1);
    EXPECT_EQ(ItemClicks, 1);
    EXPECT_TRUE(L->Items()->Items(1)->Active);
    L->SetItemIndex(-1);
    EXPECT_FALSE(L->Items()->Items(1)->Active);  // nothing stays highlighted
    EXPECT_EQ(ItemClicks, 1);
    // an index past the items selects nothing, raises nothing and clicks nothing
    L->SetItemIndex(1);
    for (int Bad : {3, 5, -7}) {
        EXPECT_NO_THROW(L->SetItemIndex(Bad)) << Bad;
        EXPECT_EQ(L->ItemIndex(), -1) << Bad;
        for (int I = 0; I < L->Items()->Count(); ++I) EXPECT_FALSE(L->Items()->Items(I)->Active) << Bad;
    }
    EXPECT_EQ(ItemOwn, 2);
    EXPECT_EQ(ItemClicks, 2);
}

TEST_F(SkinOffice, MouseSelectsOnReleaseHeadersAndDisabledItemsDoNot)
{
    auto* L = List();
    Fill(L, {"a", "#h", "-c", "d"});
    const TPoint A = ItemPoint(L, 0), H = ItemPoint(L, 1), D = ItemPoint(L, 3);
    EXPECT_EQ(L->ItemAtPos(ItemPoint(L, 2).X, ItemPoint(L, 2).Y), -1);
    Down(L, A.X, A.Y);
    EXPECT_EQ(L->ItemIndex(), 0);
    EXPECT_EQ(ItemClicks, 0);  // the press highlights only
    Move(L, D.X, D.Y);
    Up(L, D.X, D.Y);
    EXPECT_EQ(L->ItemIndex(), 3);
    EXPECT_EQ(ItemClicks, 1);
    Down(L, A.X, A.Y);
    Up(L, H.X, H.Y);
    EXPECT_EQ(ItemClicks, 1);
}

TEST_F(SkinOffice, CheckColumnTogglesOnlyTheSelectedItem)
{
    auto* L = List();
    L->SetShowCheckBoxes(true);
    Fill(L, {"a", "b"});
    int Checks = 0;
    L->OnItemCheckClick = [&](TObject*) { ++Checks; };
    L->CalcItemRects();
    const TRect R0 = L->Items()->Items(0)->ItemRect;
    PixelOf(L, 1, 1);  // painted once: the check column is known
    Click(L, R0.Left + 5, R0.Top + 10);
    EXPECT_EQ(L->ItemIndex(), 0);
    EXPECT_TRUE(L->Items()->Items(0)->Checked());
    EXPECT_EQ(Checks, 1);
    const TRect R1 = L->Items()->Items(1)->ItemRect;
    Click(L, R1.Left + 5, R1.Top + 10);  // selects first: checked as the selected item
    EXPECT_EQ(L->ItemIndex(), 1);
    L->SetFocus();
    Pump();
    Key(VK_SPACE);
    EXPECT_EQ(Checks, 3);
}

TEST_F(SkinOffice, HoverMovesTheHighlightWithoutEvents)
{
    auto* L = List();
    L->SetMouseMoveChangeIndex(true);
    Fill(L, {"a", "b"});
    const TPoint B = ItemPoint(L, 1);
    Move(L, B.X, B.Y);
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(ItemClicks, 0);
}

TEST_F(SkinOffice, DefaultLookFramesTheListAndHighlightsTheItem)
{
    auto* L = List();
    Fill(L, {"a", "b"});
    L->SetItemIndex(1);
    EXPECT_EQ(PixelOf(L, 0, 0), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(L, 140, 20), Sys(clWindow));
    EXPECT_EQ(PixelOf(L, 140, 45), Sys(clHighlight));
}

// ---- combo box ----------------------------------------------------------------------------------------

class SkinOfficeCombo : public SkinOffice {
protected:
    TbsSkinOfficeComboBox* Combo(TRect R = Rect(10, 10, 130, 51))
    {
        auto* C = Make<TbsSkinOfficeComboBox>(R);
        C->OnClick = [this](TObject*) { Log.push_back("click"); };
        C->OnChange = [this](TObject*) { Log.push_back("change"); };
        C->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
        for (const char* N : {"one", "two", "three", "four"}) C->Items()->Add()->SetCaption(N);
        Pump();
        return C;
    }
    std::vector<std::string> Log;
};

TEST_F(SkinOfficeCombo, ItemIndexFiresClickAndChangeEveryTime)
{
    auto* C = Combo();
    C->SetItemIndex(1);
    C->SetItemIndex(1);
    C->SetItemIndex(-1);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "change", "click", "change", "click", "change"}));
}

TEST_F(SkinOfficeCombo, AnIndexPastTheItemsSelectsNothingAndStillFiresTheEvents)
{
    auto* C = Combo();
    C->SetItemIndex(2);
    Log.clear();
    EXPECT_NO_THROW(C->SetItemIndex(9));
    EXPECT_EQ(C->ItemIndex(), -1);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "change"}));
    for (int I = 0; I < C->Items()->Count(); ++I) EXPECT_FALSE(C->Items()->Items(I)->Active);
}

TEST_F(SkinOfficeCombo, ListBoxSettingsReachTheDropDownList)
{
    auto* C = Combo();
    C->SetListBoxItemHeight(24);
    C->SetListBoxHeaderHeight(18);
    C->SetListBoxHeaderLeftAlignment(true);
    C->SetListBoxShowItemTitles(false);
    C->SetListBoxShowLines(true);
    C->SetListBoxSkinDataName("officelistbox");
    C->SetListBoxUseSkinFont(false);
    TFont F;
    F.SetHeight(17);
    C->SetListBoxDefaultFont(&F);
    auto* L = C->ListBox();
    EXPECT_EQ(L->ItemHeight(), 24);
    EXPECT_EQ(C->ListBoxHeaderHeight(), 18);
    EXPECT_TRUE(L->HeaderLeftAlignment());
    EXPECT_FALSE(C->ListBoxShowItemTitles());
    EXPECT_TRUE(L->ShowLines());
    EXPECT_EQ(L->SkinDataName(), "officelistbox");
    EXPECT_FALSE(L->UseSkinFont());
    EXPECT_EQ(C->ListBoxDefaultFont()->Height(), 17);
}

TEST_F(SkinOfficeCombo, PressDragIntoTheListAndReleaseSelects)
{
    auto* C = Combo();
    C->SetItemIndex(0);
    Log.clear();
    Down(C, 60, 20);
    ASSERT_TRUE(C->IsPopupVisible());
    auto* L = C->ListBox();
    L->CalcItemRects();
    const TRect R2 = L->Items()->Items(2)->ItemRect;
    const TPoint P = L->ClientToScreen(Point(R2.Left + 10, R2.Top + 10));
    const TPoint InC = C->ScreenToClient(P);
    Move(C, InC.X, InC.Y);
    EXPECT_EQ(L->ItemIndex(), 2);  // the highlight follows
    Up(C, InC.X, InC.Y);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "change", "closeup"}));
}

TEST_F(SkinOfficeCombo, ClickInTheOpenListChoosesEvenTheSameItem)
{
    auto* C = Combo();
    C->SetItemIndex(1);
    Log.clear();
    Click(C, 60, 20);
    ASSERT_TRUE(C->IsPopupVisible());
    auto* L = C->ListBox();
    L->CalcItemRects();
    const TRect R1 = L->Items()->Items(1)->ItemRect;
    const TPoint P = L->ClientToScreen(Point(R1.Left + 10, R1.Top + 10));
    Headless::MouseMove(P);
    Headless::MouseDown(P);
    Headless::MouseUp(P);
    Pump();
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "change", "closeup"}));
}

TEST_F(SkinOfficeCombo, EscapeRestoresTheOldSelectionWithoutEvents)
{
    auto* C = Combo();
    C->SetItemIndex(0);
    Log.clear();
    C->SetFocus();
    Pump();
    C->DropDown();
    C->ListBox()->SetItemActive(3);
    Key(VK_ESCAPE);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 0);
    EXPECT_TRUE(Log.empty());
    // keys while closed: Down moves and fires; Alt+Down opens
    Key(VK_DOWN);
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "change"}));
    Headless::KeyDown(VK_MENU);
    Key(VK_DOWN);
    Headless::KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(C->IsPopupVisible());
    Key(VK_RETURN);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(Log.back(), "closeup");
}

TEST_F(SkinOfficeCombo, DropDownOpensBelowOrAboveWithinTheWorkArea)
{
    auto* C = Combo();
    C->DropDown();
    const TPoint Below = C->ClientToScreen(Point(0, C->Height()));
    EXPECT_EQ(GetWindowRect(C->ListBox()->Handle()).Top, Below.Y);
    EXPECT_EQ(C->ListBox()->Height(), 4 * 30 + 5);
    C->CloseUp(false);
    Form->SetBounds(50, 900, 400, 90);
    Pump();
    C->DropDown();
    const TPoint Top = C->ClientToScreen(Point(0, 0));
    EXPECT_EQ(GetWindowRect(C->ListBox()->Handle()).Bottom, Top.Y);
    // no items: nothing opens
    C->CloseUp(false);
    C->Items()->Clear();
    int Drops = 0;
    C->OnDropDown = [&](TObject*) { ++Drops; };
    C->DropDown();
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(Drops, 0);
}

TEST_F(SkinOfficeCombo, TheFirstDropDownNearTheBottomOpensAbove)
{
    Form->SetBounds(50, 900, 400, 90);
    Pump();
    auto* C = Combo();
    C->DropDown();  // never opened before: the list's height is known only now
    EXPECT_EQ(C->ListBox()->Height(), 4 * 30 + 5);
    EXPECT_EQ(GetWindowRect(C->ListBox()->Handle()).Bottom, C->ClientToScreen(Point(0, 0)).Y);
}

TEST_F(SkinOfficeCombo, WheelMovesBackwardsForANegativeDelta)
{
    auto* C = Combo();
    C->SetItemIndex(2);
    C->SetFocus();
    Pump();
    Headless::Wheel(At(C, 20, 20), -120);
    Pump();
    EXPECT_EQ(C->ItemIndex(), 1);
}

TEST_F(SkinOfficeCombo, AnimatedDropDownFadesInInSteps)
{
    auto* C = Combo();
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    C->DropDown();
    const auto& S = C->ListBox()->FadeSteps;
    ASSERT_FALSE(S.empty());
    EXPECT_EQ(S.front(), 13);
    EXPECT_EQ(S.back(), 200);
    EXPECT_EQ(S.size(), 16u);
    EXPECT_EQ(C->ListBox()->AppliedAlpha(), 200);
}

TEST_F(SkinOfficeCombo, DraggingBelowTheListScrollsIt)
{
    auto* C = Combo();
    for (int I = 0; I < 10; ++I) C->Items()->Add()->SetCaption("more");
    Pump();
    C->SetDropDownCount(4);
    C->SetItemIndex(0);
    Down(C, 60, 20);
    auto* L = C->ListBox();
    ASSERT_NE(L->ScrollBar(), nullptr);
    L->CalcItemRects();
    const TPoint In = C->ScreenToClient(L->ClientToScreen(Point(20, 20)));
    Move(C, In.X, In.Y);
    const TPoint Below = C->ScreenToClient(L->ClientToScreen(Point(20, L->Height() + 10)));
    Move(C, Below.X, Below.Y);
    const int Start = L->ItemIndex();
    Wait(25);
    Wait(25);
    Wait(25);
    EXPECT_EQ(L->ItemIndex(), Start + 3);
    Up(C, Below.X, Below.Y);
}

}  // namespace

namespace {
class OfficeComboWithoutCompositor : public SkinOfficeCombo {
protected:
    THeadlessOptions HeadlessOptions() override
    {
        THeadlessOptions O;
        O.Compositing = false;
        return O;
    }
};
}  // namespace

TEST_F(OfficeComboWithoutCompositor, TheDropDownOpensAtOnceWithoutAFade)
{
    auto* C = Combo();
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    C->DropDown();
    EXPECT_TRUE(C->IsPopupVisible());
    EXPECT_TRUE(C->ListBox()->FadeSteps.empty());
}
