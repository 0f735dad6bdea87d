// The application menu's item layout, scroll range, scroll bar, selection index, pages'
// placement and names.
#include "frame/appmenu_support.h"

using namespace appmenutest;

namespace {

struct TLayoutCase {
    const char* Name;
    std::vector<bool> Pages;         // one entry per item: whether it has a page
    std::vector<TRect> Rects;        // expected rectangles
    int Max;                         // expected scroll range maximum
};

class AppMenuLayout : public AppMenuTest, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(AppMenuLayout, ItemRectsAndRangeInTheDefaultLook)
{
    const TLayoutCase& C = GetParam();
    for (bool P : C.Pages) AddItem(P);
    Menu->CalcItemRects();
    for (size_t I = 0; I < C.Rects.size(); ++I) EXPECT_EQ(Menu->Items()->Items(int(I))->ItemRect, C.Rects[I]) << I;
    int Min = -1, Max = -1, Page = -1;
    Menu->CalcScrollInfo(Min, Max, Page);
    EXPECT_EQ(Min, 0);
    EXPECT_EQ(Max, C.Max);
    EXPECT_EQ(Page, Menu->Height());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppMenuLayout,
    ::testing::Values(
        TLayoutCase{"ThreePlain", {false, false, false},
                    {Rect(8, 7, 92, 35), Rect(8, 35, 92, 63), Rect(8, 63, 92, 91)}, 92},
        // a page item first starts at 30; page items 35 high with 8 between; 25 more at the end
        TLayoutCase{"TwoPages", {true, true}, {Rect(0, 30, 100, 65), Rect(0, 73, 100, 108)}, 30 + 43 + 43 + 25 + 1},
        // a page item after a plain one starts 8 lower
        TLayoutCase{"PlainThenPage", {false, true}, {Rect(8, 7, 92, 35), Rect(0, 43, 100, 78)}, 7 + 28 + 8 + 43 + 25 + 1},
        TLayoutCase{"PageThenPlain", {true, false}, {Rect(0, 30, 100, 65), Rect(8, 73, 92, 101)}, 30 + 43 + 28 + 1}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(AppMenuTest, HiddenItemsTakeNoRoomAndTheItemWidthIsAtLeastOneHundred)
{
    AddItem();
    AddItem()->SetVisible(false);
    AddItem();
    Menu->SetItemWidth(60);
    EXPECT_EQ(Menu->ItemWidth(), 100);
    Menu->SetItemWidth(140);
    Menu->CalcItemRects();
    EXPECT_EQ(Menu->Items()->Items(2)->ItemRect, Rect(8, 35, 132, 63));
}

TEST_F(AppMenuTest, ItemsGetNumberedCaptionsAndAssignCopiesTheirLook)
{
    TbsAppMenuItem* A = AddItem(true);
    TbsAppMenuItem* B = AddItem();
    EXPECT_EQ(A->Caption(), "TbsAppMenuItem0");
    EXPECT_EQ(B->Caption(), "TbsAppMenuItem1");
    A->SetCaption("打开");
    A->SetImageIndex(4);
    A->SetEnabled(false);
    B->Assign(A);
    EXPECT_EQ(B->Page(), A->Page());
    EXPECT_EQ(B->Caption(), "打开");
    EXPECT_EQ(B->ImageIndex(), 4);
    EXPECT_FALSE(B->Enabled());
    EXPECT_TRUE(B->Visible());
}

// A column taller than the menu gets the scroll bar; shrinking the column removes it.
TEST_F(AppMenuTest, TheScrollBarExistsExactlyWhileTheItemsDoNotFit)
{
    ShowMenu();
    for (int I = 0; I < 5; ++I) AddItem();
    Pump();
    EXPECT_EQ(Menu->ScrollBar(), nullptr);
    for (int I = 0; I < 10; ++I) AddItem();
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    EXPECT_EQ(Menu->ScrollBar()->Max(), 7 + 15 * 28 + 1);
    EXPECT_EQ(Menu->ScrollBar()->PageSize(), 300);
    EXPECT_EQ(Menu->ScrollBar()->Width(), 19);
    EXPECT_EQ(Menu->ScrollBar()->Left(), Menu->Width() - 19);
    while (Menu->Items()->Count() > 5) Menu->Items()->Delete(Menu->Items()->Count() - 1);
    Pump();
    EXPECT_EQ(Menu->ScrollBar(), nullptr);
}

// Growing the menu while scrolled lowers the offset by the growth, not below 0.
TEST_F(AppMenuTest, GrowingTheMenuLowersTheScrollOffset)
{
    struct {
        int Growth, Offset;
    } Cases[] = {{40, 10}, {80, 0}};
    ShowMenu();
    for (int I = 0; I < 15; ++I) AddItem();
    Menu->SetHeight(200);
    Pump();
    for (auto& C : Cases) {
        Menu->SetHeight(200);
        Pump();
        ASSERT_NE(Menu->ScrollBar(), nullptr);
        Menu->ScrollBar()->SetPosition(50);
        ASSERT_EQ(Menu->ScrollOffset(), 50);
        Menu->SetHeight(200 + C.Growth);
        Pump();
        EXPECT_EQ(Menu->ScrollOffset(), C.Offset) << C.Growth;
    }
}

// Growing the menu until everything fits takes the bar away and brings the column home,
// even from the end of the range.
TEST_F(AppMenuTest, GrowingUntilEverythingFitsBringsTheColumnHome)
{
    ShowMenu();
    for (int I = 0; I < 15; ++I) AddItem();
    Menu->SetHeight(200);
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    Menu->ScrollBar()->SetPosition(100000);
    const int End = Menu->ScrollOffset();
    ASSERT_EQ(End, 7 + 15 * 28 + 1 - 200 + 1);
    Menu->SetHeight(200 + End - 1);  // exactly the column's height
    Pump();
    EXPECT_EQ(Menu->ScrollBar(), nullptr);
    EXPECT_EQ(Menu->ScrollOffset(), 0);
    Menu->CalcItemRects();
    EXPECT_EQ(Menu->Items()->Items(0)->ItemRect.Top, 7);
}

// Selecting an item out of sight scrolls it in; the last item scrolls to the end.
TEST_F(AppMenuTest, SelectingScrollsTheItemIntoView)
{
    ShowMenu();
    for (int I = 0; I < 15; ++I) AddItem();
    Menu->SetHeight(200);
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    Menu->SetItemIndex(10);
    Menu->CalcItemRects();
    const TRect R = Menu->Items()->Items(10)->ItemRect;
    EXPECT_GE(R.Top, 0);
    EXPECT_LE(R.Bottom, Menu->Height());
    Menu->SetItemIndex(14);
    EXPECT_EQ(Menu->ScrollBar()->Position(), Menu->ScrollBar()->Max() - Menu->ScrollBar()->PageSize() + 1);
    Menu->SetItemIndex(0);
    EXPECT_EQ(Menu->ScrollOffset(), 0);
}

// An index outside the items is kept but selects nothing: no scrolling, keys, release or
// painting reads an item for it.
TEST_F(AppMenuTest, AnIndexOutsideTheItemsIsHarmless)
{
    ShowMenu();
    for (int I = 0; I < 15; ++I) AddItem();
    Menu->SetHeight(200);
    Pump();
    ASSERT_NE(Menu->ScrollBar(), nullptr);
    for (int Index : {15, 99, -5}) {
        Menu->SetItemIndex(Index);
        EXPECT_EQ(Menu->ItemIndex(), Index);
        EXPECT_EQ(Menu->SelectedItem(), nullptr);
        for (int VK : {VK_RETURN, VK_SPACE, VK_TAB, VK_DOWN, VK_UP}) Key(VK);
        EXPECT_EQ(Menu->ItemIndex(), Index);
        Menu->Invalidate();
        Pump();
        EXPECT_EQ(Menu->ItemLook(Index).Highlight, false);
    }
    Menu->Items()->Clear();
    Menu->SetItemIndex(0);
    Key(VK_RETURN);
    Click(50, 20);
    EXPECT_TRUE(Menu->Visible());
}

// The page area: left ItemWidth (+ the skin's offset), top 25, 25 short on the right, 50
// short in height; a page fills it, or takes its default width within it, at least 100.
TEST_F(AppMenuTest, PagesPlaceThemselvesInThePageArea)
{
    Menu->SetBounds(0, 0, 375, 130);  // a page area of 250 x 80
    TRect B;
    Menu->GetPageBounds(B);
    EXPECT_EQ(B, Rect(100, 25, 350, 105));
    struct {
        int DefaultWidth, Width;
    } Cases[] = {{300, 250}, {200, 200}, {0, 250}, {50, 100}};
    TbsAppMenuPage* P = Menu->CreatePage();
    for (auto& C : Cases) {
        P->SetDefaultWidth(C.DefaultWidth);
        P->UpDateSize();
        EXPECT_EQ(P->Width(), C.Width) << C.DefaultWidth;
        EXPECT_EQ(P->Height(), 100);
        EXPECT_EQ(P->Left(), 100);
        EXPECT_EQ(P->Top(), 25);
    }
}

TEST_F(AppMenuTest, CreatedPagesTakeTheFirstFreeNameAndBecomeActive)
{
    auto* Other = new TbsAppMenuPage(Form);
    Other->SetName("bsAppMenuPage1");
    int Changes = 0;
    Menu->OnChangePage = [&](TObject*) { ++Changes; };
    TbsAppMenuPage* P = Menu->CreatePage();
    EXPECT_EQ(P->Name(), "bsAppMenuPage2");
    EXPECT_EQ(P->Owner(), Form);
    EXPECT_EQ(P->Parent(), Menu);
    EXPECT_EQ(Menu->ActivePage(), P);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Menu->PageToItemIndex(P), -1);  // attached to no item yet
    TbsAppMenuItem* It = AddItem();
    It->SetPage(P);
    EXPECT_EQ(Menu->PageToItemIndex(P), 0);
    // A page that goes away leaves no item or menu pointing at it.
    delete P;
    EXPECT_EQ(It->Page(), nullptr);
    EXPECT_EQ(Menu->ActivePage(), nullptr);
}

// Selecting an item with a page swaps the page shown in the page area.
TEST_F(AppMenuTest, SelectingAPageItemShowsItsPage)
{
    ShowMenu();
    TbsAppMenuItem* A = AddItem(true);
    TbsAppMenuItem* B = AddItem(true);
    AddItem();
    Menu->SetItemIndex(0);
    EXPECT_EQ(Menu->ActivePage(), A->Page());
    EXPECT_TRUE(A->Page()->Visible());
    EXPECT_FALSE(B->Page()->Visible());
    Menu->SetItemIndex(1);
    EXPECT_EQ(Menu->ActivePage(), B->Page());
    EXPECT_FALSE(A->Page()->Visible());
    EXPECT_TRUE(A->Page()->FStopScroll);
    EXPECT_FALSE(B->Page()->FStopScroll);
    Menu->SetItemIndex(2);  // an acting item leaves the page where it is
    EXPECT_EQ(Menu->ActivePage(), B->Page());
}

}  // namespace

namespace {

// A page owned elsewhere than the menu's form still leaves no item pointing at it.
TEST_F(AppMenuTest, APageOfAnotherOwnerIsForgottenWhenItGoes)
{
    TComponent Other(nullptr);
    auto* P = new TbsAppMenuPage(&Other);
    TbsAppMenuItem* It = AddItem();
    It->SetPage(P);
    auto* Q = new TbsAppMenuPage(&Other);
    AddItem()->SetPage(Q);
    Menu->SetActivePage(Q);
    delete P;
    EXPECT_EQ(It->Page(), nullptr);
    EXPECT_EQ(Menu->ActivePage(), Q);
    Menu->CalcItemRects();
    Menu->Invalidate();
    Pump();
}

}  // namespace
