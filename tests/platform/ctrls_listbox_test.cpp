// The list box on the headless backend: items through the window procedure, the
// selection model, top index and scroll state, the erase cue, keys, type-ahead and
// prefix search, the mouse, owner drawing and columns.
#include "ctrls_support.h"
#include "platform/forms/StdCtrls.h"

namespace {

class ListBoxTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        List = Add<TListBox>({10, 10, 160, 10 + 4 + 5 * 20});  // five rows of 20 inside a 2-pixel edge
        List->SetItemHeight(20);
        List->OnClick = [this](TObject*) { ++Clicks; };
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        if (Hooked) List->WindowProc = Saved;
        CtrlsTest::TearDown();
    }
    void Fill(int N)
    {
        List->Items()->BeginUpdate();
        for (int I = 0; I < N; ++I) List->Items()->Add("item " + IntToStr(I));
        List->Items()->EndUpdate();
    }
    // Records the messages the list's window procedure sees.
    void Hook()
    {
        Saved = List->WindowProc;
        Hooked = true;
        List->WindowProc = [this](TMessage& M) {
            Seen.push_back(M.Msg);
            Saved(M);
        };
    }
    int Count(UINT Msg) { return int(std::count(Seen.begin(), Seen.end(), Msg)); }
    TPoint ItemPoint(int I)
    {
        TRect R = List->ItemRect(I);
        return At(List, {R.Left + 5, R.Top + R.Height() / 2});
    }
    TListBox* List = nullptr;
    int Clicks = 0;
    std::vector<UINT> Seen;
    TWndMethod Saved;
    bool Hooked = false;
};

}  // namespace

TEST_F(ListBoxTest, ItemChangesPassTheWindowProcedure)
{
    Hook();
    List->Items()->Add("b");
    List->Items()->Insert(0, "a");
    List->Items()->AddObject("c", Form);
    List->Items()->Delete(1);
    EXPECT_EQ(Count(LB_ADDSTRING), 2);
    EXPECT_EQ(Count(LB_INSERTSTRING), 1);
    EXPECT_EQ(Count(LB_DELETESTRING), 1);
    EXPECT_EQ(List->Items()->CommaText(), "a,c");
    EXPECT_EQ(List->Items()->Objects(1), Form);
    List->SetSorted(true);
    List->Items()->Add("B");
    List->Items()->Add("0");
    EXPECT_EQ(List->Items()->CommaText(), "0,a,B,c");
    EXPECT_EQ(List->Items()->IndexOf("b"), 2);
    EXPECT_EQ(List->Items()->Objects(3), Form);
}

TEST_F(ListBoxTest, ItemIndexSelectsScrollsAndFiresNoClick)
{
    Fill(20);
    EXPECT_EQ(List->ItemIndex(), -1);
    List->SetItemIndex(12);
    EXPECT_EQ(List->ItemIndex(), 12);
    EXPECT_TRUE(List->Selected(12));
    EXPECT_GE(12, List->TopIndex());
    EXPECT_LT(12, List->TopIndex() + 5);
    List->SetItemIndex(99);  // out of range: nothing selected
    EXPECT_EQ(List->ItemIndex(), -1);
    List->SetItemIndex(-1);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(List->SelCount(), -1);  // a single-selection list
    EXPECT_THROW(List->Selected(20), EListError);
}

TEST_F(ListBoxTest, TopIndexIsClampedToAFullLastPageAndIsTheScrollPosition)
{
    Fill(12);
    struct TCase { int Set, Top; };
    const TCase Cases[] = {{0, 0}, {3, 3}, {7, 7}, {8, 7}, {11, 7}, {50, 7}, {-3, 7}};
    for (const TCase& C : Cases) {
        List->SetTopIndex(C.Set);
        EXPECT_EQ(List->TopIndex(), C.Top) << C.Set;
    }
    List->SetTopIndex(2);
    SCROLLINFO I;
    I.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(List->Handle(), SB_VERT, &I));
    EXPECT_EQ(I.nMin, 0);
    EXPECT_EQ(I.nMax, 11);
    EXPECT_EQ(I.nPage, 5u);
    EXPECT_EQ(I.nPos, 2);
    List->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(List->TopIndex(), 3);
    List->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 6));
    EXPECT_EQ(List->TopIndex(), 6);
    List->Perform(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(GetScrollPos(List->Handle(), SB_VERT), 5);
    int Min = -1, Max = -1;
    EXPECT_TRUE(GetScrollRange(List->Handle(), SB_VERT, &Min, &Max));
    EXPECT_EQ(Max, 11);
    // the wheel does not move the list by itself
    Headless::Wheel(ItemPoint(1), -120);
    Pump();
    EXPECT_EQ(List->TopIndex(), 5);
}

TEST_F(ListBoxTest, TopIndexCountAndSizeChangesAreFollowedByAnErase)
{
    Fill(12);
    Pump();
    Hook();
    struct TCase { const char* Name; std::function<void()> Prepare, Act; bool Erase; };
    auto None = [] {};
    const TCase Cases[] = {
        {"top index", None, [&] { List->SetTopIndex(4); }, true},
        {"add", None, [&] { List->Items()->Add("x"); }, true},
        {"delete", None, [&] { List->Items()->Delete(0); }, true},
        {"size", None, [&] { List->SetHeight(List->Height() + 20); }, true},
        {"selection by keys", [&] { List->SetFocus(); List->SetItemIndex(List->TopIndex()); }, [&] { Key(VK_DOWN); }, false},
        {"keys that scroll", None, [&] { Key(VK_END); }, true},
        {"vscroll", None, [&] { List->Perform(WM_VSCROLL, SB_LINEUP); }, true},
    };
    for (const TCase& C : Cases) {
        C.Prepare();
        Pump();
        Seen.clear();
        C.Act();
        Pump();
        EXPECT_EQ(Count(WM_ERASEBKGND) > 0, C.Erase) << C.Name;
    }
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndClick)
{
    Fill(12);
    List->SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(List->ItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(List->ItemIndex(), 2);
    Key(VK_END);
    EXPECT_EQ(List->ItemIndex(), 11);
    EXPECT_EQ(List->TopIndex(), 7);
    Key(VK_PRIOR);
    EXPECT_EQ(List->ItemIndex(), 7);
    Key(VK_HOME);
    EXPECT_EQ(List->ItemIndex(), 0);
    EXPECT_EQ(List->TopIndex(), 0);
    EXPECT_EQ(Clicks, 6);
    Key(VK_UP);  // at the top: stays, still a keyboard move
    EXPECT_EQ(List->ItemIndex(), 0);
}

TEST_F(ListBoxTest, TypeAheadAndPrefixSearch)
{
    for (const char* S : {"Apple", "banana", "Blueberry", "cherry", "apricot"}) List->Items()->Add(S);
    struct TCase { int Start; const char* Text; LRESULT Found; };
    const TCase Cases[] = {
        {-1, "b", 1}, {1, "b", 2}, {2, "b", 1},  // after the start, wrapping
        {-1, "AP", 0}, {0, "ap", 4}, {4, "ap", 0}, {-1, "blue", 2}, {-1, "x", LB_ERR}, {-1, "", 0},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(List->Perform(LB_FINDSTRING, WPARAM(C.Start), LPARAM(C.Text)), C.Found) << C.Start << C.Text;
    EXPECT_EQ(List->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("BANANA")), 1);
    List->SetFocus();
    Type("c");
    EXPECT_EQ(List->ItemIndex(), 3);
    Type("b");
    Headless::AdvanceTime(2000);
    Type("b");
    EXPECT_EQ(List->ItemIndex(), 1);
    Type("l");  // "bl"
    EXPECT_EQ(List->ItemIndex(), 2);
}

TEST_F(ListBoxTest, MousePressSelectsDragsAndClicksOnRelease)
{
    Fill(12);
    Headless::MouseDown(ItemPoint(1));
    Pump();
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(GetCapture(), List->Handle());
    EXPECT_EQ(Clicks, 0);
    Headless::MouseMove(ItemPoint(3));
    Pump();
    EXPECT_EQ(List->ItemIndex(), 3);
    // dragging below the list scrolls it on the timer
    TPoint Below = At(List, {20, List->ClientHeight() + 15});
    Headless::MouseMove(Below);
    for (int I = 0; I < 4; ++I) {
        Headless::AdvanceTime(60);
        Pump();
    }
    EXPECT_GT(List->ItemIndex(), 4);
    EXPECT_GT(List->TopIndex(), 0);
    Headless::MouseUp(Below);
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(List->Focused());
    // a release after a press below the last item is no click
    List->Clear();
    List->Items()->Add("only");
    Headless::AdvanceTime(1000);
    Click(List, {20, 90});
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(List->ItemAtPos({20, 90}, true), -1);
    EXPECT_EQ(List->ItemAtPos({20, 90}, false), 1);
    EXPECT_EQ(List->ItemAtPos({20, 5}, true), 0);
}

TEST_F(ListBoxTest, MultipleAndExtendedSelection)
{
    Fill(8);
    List->SetMultiSelect(true);
    EXPECT_EQ(List->SelCount(), 0);
    Click(List, List->ScreenToClient(ItemPoint(1)));
    Headless::AdvanceTime(1000);
    Headless::KeyDown(VK_SHIFT);
    Headless::Click(ItemPoint(3));
    Headless::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(List->SelCount(), 3);
    Headless::AdvanceTime(1000);
    Headless::KeyDown(VK_CONTROL);
    Headless::Click(ItemPoint(2));
    Headless::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(List->SelCount(), 2);
    EXPECT_FALSE(List->Selected(2));
    EXPECT_TRUE(List->Selected(3));
    List->SelectAll();
    EXPECT_EQ(List->SelCount(), 8);
    List->SetSelected(0, false);
    EXPECT_EQ(List->SelCount(), 7);
    List->ClearSelection();
    EXPECT_EQ(List->SelCount(), 0);
}

TEST_F(ListBoxTest, OwnerDrawRequestsCarryTheItemAndItsState)
{
    Fill(3);
    List->SetStyle(lbOwnerDrawFixed);
    struct TDraw { UINT Id; TRect R; UINT State; bool DC; };
    std::vector<TDraw> Draws;
    Hook();
    List->WindowProc = [&](TMessage& M) {
        if (M.Msg == CN_DRAWITEM) {
            auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
            Draws.push_back({D->itemID, D->rcItem, D->itemState, D->hDC != nullptr});
        }
        Saved(M);
    };
    List->SetItemIndex(1);
    List->SetFocus();
    Pump();
    Draws.clear();
    List->Repaint();
    ASSERT_EQ(Draws.size(), 3u);
    EXPECT_EQ(Draws[1].Id, 1u);
    EXPECT_EQ(Draws[1].R, TRect(0, 20, List->ClientWidth(), 40));
    EXPECT_EQ(Draws[1].State, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(Draws[0].State, 0u);
    EXPECT_TRUE(Draws[0].DC);
    // the default drawing shows the selection in the highlight colour
    TRect R = List->ItemRect(1);
    EXPECT_EQ(Headless::PixelColor(List->Handle(), {R.Right - 3, R.Top + 3}), ColorToRGB(clHighlight));
    EXPECT_EQ(Headless::PixelColor(List->Handle(), {R.Right - 3, R.Bottom + 3}), ColorToRGB(clWindow));
}

TEST_F(ListBoxTest, GeometryAndColumns)
{
    List->SetItemHeight(0);  // ignored
    EXPECT_EQ(List->ItemHeight(), 20);
    Fill(23);
    EXPECT_EQ(List->ItemRect(2), TRect(0, 40, List->ClientWidth(), 60));
    List->SetColumns(2);
    int ColW = List->ClientWidth() / 2;
    EXPECT_EQ(List->ItemRect(6), TRect(ColW, 20, 2 * ColW, 40));
    SCROLLINFO I;
    I.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(List->Handle(), SB_HORZ, &I));
    EXPECT_EQ(I.nMax, 4);  // five columns of five
    EXPECT_EQ(I.nPos, 0);
    List->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2));
    EXPECT_EQ(List->TopIndex(), 10);
    List->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4));
    EXPECT_EQ(List->TopIndex(), 15);  // the last two columns fill the view
    EXPECT_EQ(GetScrollPos(List->Handle(), SB_HORZ), 3);
}

TEST_F(ListBoxTest, ModelWorksBeforeTheWindowExists)
{
    auto* L = new TListBox(Form);
    L->Items()->Add("one");
    L->Items()->Add("two");
    L->SetItemIndex(1);
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_FALSE(L->HandleAllocated());
    L->SetParent(Form);
    EXPECT_EQ(L->Perform(LB_GETCOUNT), 2);
    EXPECT_EQ(L->ItemIndex(), 1);
}
