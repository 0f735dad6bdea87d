// The list view on the headless backend: selection notices in pairs, hidden
// zero-width columns, owner data with fetching and finding, the column header
// (hit test, order, dragging, clicking, subclassing), scroll state, label editing,
// custom drawing and check boxes.
#include "ctrls_support.h"
#include "platform/forms/ComCtrls.h"
#include "solid_image_list.h"

namespace {

class ListViewTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        View = Add<TListView>({10, 10, 360, 210});
        View->SetViewStyle(vsReport);
        View->SetReadOnly(true);
        View->SetRowSelect(true);
        for (auto [Caption, Width] : {std::pair<const char*, int>{"名称", 100}, {"hidden", 0}, {"size", 80}, {"hidden2", 0}}) {
            TListColumn* C = View->Columns()->Add();
            C->SetCaption(Caption);
            C->SetWidth(Width);
            if (Width == 0) C->SetMaxWidth(1);
        }
        Form->Show();
        Pump();
    }
    void Fill(int N)
    {
        View->Items()->BeginUpdate();
        for (int I = 0; I < N; ++I) {
            TListItem* It = View->Items()->Add();
            It->SetCaption("row " + IntToStr(I));
            It->SubItems()->Add("h" + IntToStr(I));
            It->SubItems()->Add(IntToStr(I * 10));
            It->SubItems()->Add("x");
        }
        View->Items()->EndUpdate();
    }
    TPoint RowPoint(int Row, int X = 30)
    {
        TRect R = View->Items()->Item(Row)->DisplayRect(drBounds);
        return At(View, {X, R.Top + R.Height() / 2});
    }
    HWND Header() { return View->HeaderHandle(); }
    TPoint HeaderPoint(int X, int Y = 5)
    {
        TPoint P{X, Y};
        ClientToScreen(Header(), P);
        return P;
    }
    TListView* View = nullptr;
};

}  // namespace

TEST_F(ListViewTest, SelectionChangesNotifyTheDeselectedThenTheSelectedItem)
{
    Fill(5);
    std::vector<std::pair<int, bool>> Sel;
    View->OnSelectItem = [&](TObject*, TListItem* I, bool S) { Sel.push_back({I->Index(), S}); };
    Headless::Click(RowPoint(1));
    Pump();
    EXPECT_EQ(Sel, (std::vector<std::pair<int, bool>>{{1, true}}));
    Sel.clear();
    Headless::AdvanceTime(1000);
    Headless::Click(RowPoint(3));
    Pump();
    EXPECT_EQ(Sel, (std::vector<std::pair<int, bool>>{{1, false}, {3, true}}));
    Sel.clear();
    Key(VK_UP);
    EXPECT_EQ(Sel, (std::vector<std::pair<int, bool>>{{3, false}, {2, true}}));
    EXPECT_EQ(View->ItemIndex(), 2);
    EXPECT_EQ(View->Selected()->Index(), 2);
    EXPECT_EQ(View->ItemFocused()->Index(), 2);
    Sel.clear();
    View->SetItemIndex(4);  // from the program: the same pair
    EXPECT_EQ(Sel, (std::vector<std::pair<int, bool>>{{2, false}, {4, true}}));
    // a veto keeps the selection
    View->OnChanging = [](TObject*, TListItem*, TItemChange, bool& Allow) { Allow = false; };
    Sel.clear();
    Key(VK_HOME);
    EXPECT_TRUE(Sel.empty());
    EXPECT_EQ(View->ItemIndex(), 4);
    // clicking empty space clears it
    View->OnChanging = nullptr;
    Headless::AdvanceTime(1000);
    Click(View, {30, View->ClientHeight() - 3});
    EXPECT_EQ(View->ItemIndex(), -1);
}

TEST_F(ListViewTest, HiddenColumnsCannotBeSeenOrWidened)
{
    Fill(2);
    EXPECT_TRUE(View->GetSubItemRect(0, 1).IsEmpty());
    EXPECT_EQ(View->GetSubItemRect(0, 2).Left, 100);
    View->Column(1)->SetWidth(50);  // a hidden column keeps at most its maximum
    EXPECT_LE(View->Column(1)->Width(), 1);
    View->Column(1)->SetWidth(0);
    // the divider at x = 100 belongs to the visible column 0, not to the hidden one
    HDHITTESTINFO Info;
    Info.pt = {100, 5};
    SendMessage(Header(), HDM_HITTEST, 0, LPARAM(&Info));
    EXPECT_EQ(Info.flags, HHT_ONDIVIDER);
    EXPECT_EQ(Info.iItem, 0);
    Info.pt = {180, 5};  // column 2's right edge, where hidden column 3 also ends
    SendMessage(Header(), HDM_HITTEST, 0, LPARAM(&Info));
    EXPECT_EQ(Info.iItem, 2);
    // dragging it widens column 0 only
    Headless::MouseDown(HeaderPoint(100));
    Headless::MouseMove(HeaderPoint(130));
    Headless::MouseUp(HeaderPoint(130));
    Pump();
    EXPECT_EQ(View->Column(0)->Width(), 130);
    EXPECT_EQ(View->Column(1)->Width(), 0);
    EXPECT_EQ(View->Column(3)->Width(), 0);
    // sub-item texts still live in the hidden columns
    EXPECT_EQ(View->Items()->Item(1)->SubItems()->Strings(0), "h1");
}

TEST_F(ListViewTest, HeaderHitTestOrderAndClick)
{
    HDHITTESTINFO Info;
    struct TCase { int X, Y; UINT Flags; int Item; };
    const TCase Cases[] = {
        {50, 5, HHT_ONHEADER, 0}, {140, 5, HHT_ONHEADER, 2}, {98, 5, HHT_ONDIVIDER, 0},
        {300, 5, HHT_NOWHERE, -1}, {50, -2, HHT_ABOVE, -1}, {-3, 5, HHT_TOLEFT, -1},
    };
    for (const TCase& C : Cases) {
        Info.pt = {C.X, C.Y};
        SendMessage(Header(), HDM_HITTEST, 0, LPARAM(&Info));
        EXPECT_EQ(Info.flags, C.Flags) << C.X << "," << C.Y;
        EXPECT_EQ(Info.iItem, C.Item) << C.X << "," << C.Y;
    }
    EXPECT_EQ(SendMessage(Header(), HDM_GETITEMCOUNT), 4);
    int Order[4] = {2, 0, 1, 3};
    EXPECT_EQ(SendMessage(Header(), HDM_SETORDERARRAY, 4, LPARAM(Order)), 1);
    int Back[4] = {};
    SendMessage(Header(), HDM_GETORDERARRAY, 4, LPARAM(Back));
    EXPECT_EQ(std::vector<int>(Back, Back + 4), std::vector<int>(Order, Order + 4));
    TRect R;
    SendMessage(Header(), HDM_GETITEMRECT, 0, LPARAM(&R));
    EXPECT_EQ(R.Left, 80);
    SendMessage(Header(), HDM_GETITEMRECT, 2, LPARAM(&R));
    EXPECT_EQ(R.Left, 0);
    Fill(1);
    EXPECT_EQ(View->GetSubItemRect(0, 0).Left, 80);
    int Bad[4] = {0, 0, 1, 2};
    EXPECT_EQ(SendMessage(Header(), HDM_SETORDERARRAY, 4, LPARAM(Bad)), 0);
    // a click on a section is a column click
    std::vector<int> Clicked;
    View->OnColumnClick = [&](TObject*, TListColumn* C) { Clicked.push_back(C->Index()); };
    Headless::Click(HeaderPoint(40));
    Pump();
    EXPECT_EQ(Clicked, (std::vector<int>{2}));
    // a press that leaves the section before the release is no click
    Headless::AdvanceTime(1000);
    Headless::MouseDown(HeaderPoint(40));
    Headless::MouseMove(HeaderPoint(150));
    Headless::MouseUp(HeaderPoint(150));
    Pump();
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(ListViewTest, TheHeaderIsAnnouncedAndCanBeSubclassed)
{
    auto* V = new TListView(Form);
    V->SetViewStyle(vsReport);
    V->Columns()->Add()->SetWidth(60);
    V->SetBounds(10, 220, 200, 60);
    String ChildClass;
    V->WindowProc = [&, Old = V->WindowProc](TMessage& M) {
        if (M.Msg == WM_PARENTNOTIFY && LOWORD(M.WParam) == WM_CREATE) ChildClass = GetClassName(HWND(M.LParam));
        Old(M);
    };
    V->SetParent(Form);
    EXPECT_EQ(ChildClass, "SysHeader32");
    HWND H = V->HeaderHandle();
    // an owner takes the header over: its painting and a wider header
    static WNDPROC Saved = nullptr;
    static int Paints = 0;
    Saved = WNDPROC(GetWindowLong(H, GWL_WNDPROC));
    struct THook {
        static LRESULT Proc(HWND W, UINT Msg, WPARAM Wp, LPARAM Lp)
        {
            if (Msg == WM_WINDOWPOSCHANGING) {
                reinterpret_cast<WINDOWPOS*>(Lp)->cx += 25;
                return 0;
            }
            if (Msg == WM_PAINT) ++Paints;
            return CallWindowProc(Saved, W, Msg, Wp, Lp);
        }
    };
    SetWindowLong(H, GWL_WNDPROC, LONG_PTR(MakeProcInstance(&THook::Proc)));
    V->SetWidth(220);
    Pump();
    EXPECT_EQ(GetWindowRect(H).Width(), V->ClientWidth() + 25);
    EXPECT_GT(Paints, 0);
    V->WindowProc = TWndMethod([V](TMessage& M) { V->WndProc(M); });
}

// A repaint of the list view style costs the rows on screen, however many rows there are:
// counted by the rows the owner is asked for during one paint.
TEST_F(ListViewTest, AListRepaintAsksOnlyForTheRowsOnScreen)
{
    View->SetViewStyle(vsList);
    View->SetOwnerData(true);
    int Fetches = 0;
    View->OnData = [&](TObject*, TListItem* I) {
        ++Fetches;
        I->SetCaption("file " + IntToStr(I->Index()) + ".dat");
    };
    std::vector<int> PerPaint;
    for (int N : {120, 600}) {
        View->Items()->SetCount(N);
        Pump();
        Fetches = 0;
        InvalidateRect(View->Handle(), nullptr, true);
        Pump();
        PerPaint.push_back(Fetches);
    }
    EXPECT_GT(PerPaint[0], 3);
    EXPECT_EQ(PerPaint[0], PerPaint[1]);
    EXPECT_LE(PerPaint[1], 2 * View->VisibleRowCount());
}

TEST_F(ListViewTest, OwnerDataFetchesVisibleRowsAndFinds)
{
    View->SetOwnerData(true);
    std::vector<int> Fetched;
    View->OnData = [&](TObject*, TListItem* I) {
        Fetched.push_back(I->Index());
        I->SetCaption("item " + IntToStr(I->Index()));
        I->SubItems()->Add("-");
        I->SubItems()->Add(IntToStr(I->Index() * 2));
    };
    View->Items()->SetCount(500);
    Pump();
    int Visible = View->VisibleRowCount();
    EXPECT_GT(Visible, 3);
    EXPECT_FALSE(Fetched.empty());
    EXPECT_LE(*std::max_element(Fetched.begin(), Fetched.end()), Visible);  // only rows in view
    EXPECT_EQ(View->Items()->Item(321)->Caption(), "item 321");
    EXPECT_EQ(View->Items()->Item(321)->SubItems()->Strings(1), "642");
    EXPECT_THROW(View->Items()->Add(), EListError);
    // selection is kept per row
    View->SetItemIndex(400);
    EXPECT_EQ(View->ItemIndex(), 400);
    View->Items()->Item(400)->MakeVisible(false);
    EXPECT_GE(View->TopItem()->Index(), 400 - Visible + 1);
    // finding asks the owner
    struct TFind { TItemFind Kind; String Text; int Start; bool Wrap; };
    std::vector<TFind> Finds;
    View->OnDataFind = [&](TObject*, TItemFind Find, const String& S, TPoint, void*, int Start, TSearchDirection, bool Wrap,
                           int& Index) {
        Finds.push_back({Find, S, Start, Wrap});
        Index = S == "item 7" ? 7 : -1;
    };
    TListItem* F = View->FindCaption(0, "item 7", false, true, true);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(F->Index(), 7);
    EXPECT_EQ(Finds.back().Kind, ifExactString);
    EXPECT_TRUE(Finds.back().Wrap);
    EXPECT_EQ(View->FindCaption(0, "it", true, true, false), nullptr);
    EXPECT_EQ(Finds.back().Kind, ifPartialString);
    View->SetFocus();
    Type("i");
    EXPECT_EQ(Finds.back().Kind, ifPartialString);
    EXPECT_EQ(Finds.back().Text, "i");
    EXPECT_EQ(Finds.back().Start, 401);
}

TEST_F(ListViewTest, FindCaptionWrapsAndStartsAfterTheIndex)
{
    for (const char* S : {"Alpha", "beta", "Bravo", "alpine"}) View->Items()->Add()->SetCaption(S);
    struct TCase { int Start; const char* Text; bool Partial, Inclusive, Wrap; int Found; };
    const TCase Cases[] = {
        {0, "al", true, true, true, 0}, {0, "al", true, false, true, 3}, {3, "al", true, false, true, 0},
        {3, "al", true, false, false, -1}, {0, "BRAVO", false, true, true, 2}, {0, "bra", false, true, true, -1},
    };
    for (const TCase& C : Cases) {
        TListItem* I = View->FindCaption(C.Start, C.Text, C.Partial, C.Inclusive, C.Wrap);
        EXPECT_EQ(I ? I->Index() : -1, C.Found) << C.Start << " " << C.Text;
    }
}

TEST_F(ListViewTest, ScrollStateAndScrolling)
{
    Fill(50);
    int Visible = View->VisibleRowCount();
    EXPECT_EQ(View->Perform(LVM_GETCOUNTPERPAGE), Visible);
    SCROLLINFO I;
    I.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(View->Handle(), SB_VERT, &I));
    EXPECT_EQ(I.nMax, 49);
    EXPECT_EQ(int(I.nPage), Visible);
    View->Scroll(0, 3 * View->RowHeight());
    EXPECT_EQ(View->TopItem()->Index(), 3);
    EXPECT_EQ(GetScrollPos(View->Handle(), SB_VERT), 3);
    View->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20));
    EXPECT_EQ(View->TopItem()->Index(), 20);
    View->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60));
    EXPECT_EQ(View->TopItem()->Index(), 50 - Visible);
    // horizontal: pixels over all columns
    View->Column(2)->SetWidth(400);
    ASSERT_TRUE(GetScrollInfo(View->Handle(), SB_HORZ, &I));
    EXPECT_EQ(I.nMax, 499);
    View->Scroll(40, 0);
    EXPECT_EQ(GetScrollPos(View->Handle(), SB_HORZ), 40);
    EXPECT_EQ(View->Items()->Item(20)->DisplayRect(drBounds).Left, -40);
    // the list style scrolls by columns
    View->SetWidth(150);
    View->SetViewStyle(vsList);
    ASSERT_TRUE(GetScrollInfo(View->Handle(), SB_HORZ, &I));
    EXPECT_GT(I.nMax, 0);
    View->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1));
    EXPECT_EQ(GetScrollPos(View->Handle(), SB_HORZ), 1);
}

TEST_F(ListViewTest, SubItemWritesRedrawTheRow)
{
    Fill(5);
    Pump();
    ValidateRect(View->Handle(), nullptr);
    View->Items()->Item(2)->SubItems()->SetStrings(1, "changed");
    TRect U;
    ASSERT_TRUE(GetUpdateRect(View->Handle(), &U, false));
    TRect Row = View->Items()->Item(2)->DisplayRect(drBounds);
    EXPECT_LE(U.Top, Row.Top);
    EXPECT_GE(U.Bottom, Row.Bottom);
    EXPECT_LE(U.Bottom - U.Top, Row.Height() * 2);
}

TEST_F(ListViewTest, LabelEditingTakesOrDropsTheText)
{
    Fill(3);
    View->SetReadOnly(false);
    String Edited;
    View->OnEdited = [&](TObject*, TListItem*, String& S) {
        Edited = S;
        S += "!";
    };
    ASSERT_TRUE(View->Items()->Item(1)->EditCaption());
    EXPECT_TRUE(View->IsEditing());
    Type("new");
    Key(VK_RETURN);
    EXPECT_EQ(Edited, "new");
    EXPECT_EQ(View->Items()->Item(1)->Caption(), "new!");
    EXPECT_FALSE(View->IsEditing());
    ASSERT_TRUE(View->Items()->Item(0)->EditCaption());
    Type("zzz");
    View->CancelEdit();
    EXPECT_EQ(View->Items()->Item(0)->Caption(), "row 0");
    Pump();
    EXPECT_FALSE(View->IsEditing());
    View->SetReadOnly(true);
    EXPECT_FALSE(View->Items()->Item(0)->EditCaption());
}

TEST_F(ListViewTest, ARefusedLabelEndsTheEditAllTheSame)
{
    // the handler refuses the first label by throwing: the edit ends, the label stays, the
    // next edit works; a view being destroyed tells no one of an open edit
    Fill(3);
    View->SetReadOnly(false);
    int Calls = 0;
    View->OnEdited = [&](TObject*, TListItem*, String& S) {
        if (++Calls == 1) throw Exception("taken");
        S += "!";
    };
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    ASSERT_TRUE(View->Items()->Item(1)->EditCaption());
    Type("new");
    Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_FALSE(View->IsEditing());
    EXPECT_EQ(View->Items()->Item(1)->Caption(), "row 1");
    ASSERT_TRUE(View->Items()->Item(1)->EditCaption());
    Type("again");
    Key(VK_RETURN);
    Pump();
    EXPECT_FALSE(View->IsEditing());
    EXPECT_EQ(View->Items()->Item(1)->Caption(), "again!");
    ASSERT_TRUE(View->Items()->Item(0)->EditCaption());
    Type("gone");
    delete View;
    View = nullptr;
    Pump();
    EXPECT_EQ(Calls, 2);
    Application->OnException = nullptr;
}

TEST_F(ListViewTest, CustomDrawingCanTakeOverAnItem)
{
    Fill(3);
    std::vector<int> Drawn;
    View->OnCustomDrawItem = [&](TCustomListView* Sender, TListItem* I, TCustomDrawState, bool& Default) {
        Drawn.push_back(I->Index());
        Default = I->Index() != 1;
        if (I->Index() == 1) {
            Sender->Canvas()->Brush()->SetColor(clRed);
            Sender->Canvas()->FillRect(I->DisplayRect(drBounds));
        }
    };
    View->Repaint();
    EXPECT_EQ(Drawn, (std::vector<int>{0, 1, 2}));
    TRect R = View->Items()->Item(1)->DisplayRect(drBounds);
    EXPECT_EQ(Headless::PixelColor(View->Handle(), {R.Left + 40, R.Top + R.Height() / 2}), ColorToRGB(clRed));
}

TEST_F(ListViewTest, CheckBoxesToggleWithTheMouseAndSpace)
{
    Fill(3);
    View->SetCheckboxes(true);
    std::vector<TItemChange> Changes;
    View->OnChange = [&](TObject*, TListItem*, TItemChange C) { Changes.push_back(C); };
    TRect Icon = View->Items()->Item(0)->DisplayRect(drIcon);
    Click(View, {Icon.Left - 8, Icon.Top + Icon.Height() / 2});
    EXPECT_TRUE(View->Items()->Item(0)->Checked());
    Key(VK_SPACE);
    EXPECT_FALSE(View->Items()->Item(0)->Checked());
    EXPECT_NE(std::find(Changes.begin(), Changes.end(), ctState), Changes.end());
}

TEST_F(ListViewTest, MultipleSelectionWithShiftAndControl)
{
    Fill(6);
    View->SetMultiSelect(true);
    Headless::Click(RowPoint(1));
    Headless::AdvanceTime(1000);
    Headless::KeyDown(VK_SHIFT);
    Headless::Click(RowPoint(4));
    Headless::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(View->SelCount(), 4);
    Headless::AdvanceTime(1000);
    Headless::KeyDown(VK_CONTROL);
    Headless::Click(RowPoint(2));
    Headless::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(View->SelCount(), 3);
    EXPECT_FALSE(View->Items()->Item(2)->Selected());
    View->SelectAll();
    EXPECT_EQ(View->SelCount(), 6);
    View->ClearSelection();
    EXPECT_EQ(View->SelCount(), 0);
}

namespace {

HIMAGELIST WindowList(TCustomListView* V, int Kind)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(V->Handle(), LVM_GETIMAGELIST, WPARAM(Kind), 0));
}

HIMAGELIST GiveList(TCustomListView* V, int Kind, HIMAGELIST L)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(V->Handle(), LVM_SETIMAGELIST, WPARAM(Kind), LPARAM(L)));
}

}  // namespace

// A program gives the window image lists of its own (as a shell view gives the system's):
// each kind is kept apart, the answer names the list replaced, and the small list shapes the
// rows and is drawn in the icon cell of report and list views, the normal list in icon view.
TEST_F(ListViewTest, TheWindowsOwnImageListsAreKeptByKindAndDrawn)
{
    Fill(3);
    auto Small = SolidImageList(20, {clRed, clLime});
    auto Large = SolidImageList(40, {clBlue});
    const int PlainRow = View->RowHeight();
    EXPECT_EQ(WindowList(View, LVSIL_SMALL), nullptr);
    EXPECT_EQ(GiveList(View, LVSIL_SMALL, Small->Handle()), nullptr);
    EXPECT_EQ(GiveList(View, LVSIL_NORMAL, Large->Handle()), nullptr);
    EXPECT_EQ(WindowList(View, LVSIL_SMALL), Small->Handle());
    EXPECT_EQ(WindowList(View, LVSIL_NORMAL), Large->Handle());
    EXPECT_EQ(WindowList(View, LVSIL_STATE), nullptr);
    EXPECT_EQ(WindowList(View, 7), nullptr);  // no such kind: nothing kept
    EXPECT_EQ(GiveList(View, 7, Small->Handle()), nullptr);
    EXPECT_EQ(WindowList(View, 7), nullptr);
    EXPECT_EQ(View->RowHeight(), std::max(PlainRow, 21));
    // the icon cell of each row is the small list's width; row 1 shows image 1
    View->Items()->Item(0)->SetImageIndex(0);
    View->Items()->Item(1)->SetImageIndex(1);
    TRect I1 = View->Items()->Item(1)->DisplayRect(drIcon);
    EXPECT_EQ(I1.Width(), 20);
    View->Repaint();
    TPoint Mid{I1.Left + 10, I1.Top + I1.Height() / 2};
    EXPECT_EQ(Headless::PixelColor(View->Handle(), Mid), ColorToRGB(clLime));
    // icon view: the normal list's size and picture
    View->SetViewStyle(vsIcon);
    TRect I0 = View->Items()->Item(0)->DisplayRect(drIcon);
    EXPECT_EQ(I0.Width(), 40);
    EXPECT_EQ(I0.Height(), 40);
    View->Repaint();
    EXPECT_EQ(Headless::PixelColor(View->Handle(), {I0.Left + 20, I0.Top + 20}), ColorToRGB(clBlue));
    // a new list replaces the old one, which the answer names
    EXPECT_EQ(GiveList(View, LVSIL_NORMAL, nullptr), Large->Handle());
    EXPECT_EQ(WindowList(View, LVSIL_NORMAL), nullptr);
}

// The component of a kind takes that kind's place: while it is set the window answers with
// it, and setting it (or clearing it) drops the window's own list of the kind.
TEST_F(ListViewTest, ComponentImageListsTakeTheWindowListsPlace)
{
    auto Own = SolidImageList(16, {clRed});
    auto Comp = SolidImageList(16, {clBlue});
    GiveList(View, LVSIL_SMALL, Own->Handle());
    View->SetSmallImages(Comp.get());
    EXPECT_EQ(WindowList(View, LVSIL_SMALL), Comp->Handle());
    View->SetSmallImages(nullptr);
    EXPECT_EQ(WindowList(View, LVSIL_SMALL), nullptr);
    // a component that goes leaves no list behind
    auto Gone = SolidImageList(16, {clLime});
    View->SetSmallImages(Gone.get());
    Gone.reset();
    EXPECT_EQ(View->SmallImages(), nullptr);
    EXPECT_EQ(WindowList(View, LVSIL_SMALL), nullptr);
    // the lists belong to the control: given before the window exists, they are there after
    auto* Late = new TListView(Form);
    Late->Perform(LVM_SETIMAGELIST, WPARAM(LVSIL_SMALL), LPARAM(Own->Handle()));
    Late->SetParent(Form);
    EXPECT_EQ(WindowList(Late, LVSIL_SMALL), Own->Handle());
    delete Late;
}
