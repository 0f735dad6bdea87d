// The skinned list box and its inner list: painting of items and background, scroll bars
// made on demand, the horizontal extent, tab stops, images, caption buttons.
#include <vector>

#include "platform/graphics/ImgList.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class ListBoxTest : public SkinCtlTest {
protected:
    TbsSkinListBox* MakeList(int Items, TRect R = Rect(10, 10, 130, 130))
    {
        auto* L = Make<TbsSkinListBox>(R);
        for (int I = 0; I < Items; ++I) L->Items()->Add("item " + std::to_string(I));
        L->OnListBoxClick = [this](TObject*) { ++Clicks; };
        Pump();
        return L;
    }
    TColor ListPixel(TbsSkinListBox* L, int X, int Y) { return PixelOf(L->ListBox, X, Y); }
    int Clicks = 0;
};

TEST(ListTabs, TabValuesTakeOnlyDigits)
{
    struct {
        const char* Text;
        int Value;
    } Cases[] = {{"40", 40}, {"x", 0}, {"100", 100}, {"", 0}, {"12a", 0}, {"-5", 0}, {"99999999999", 0}};
    for (auto& C : Cases) EXPECT_EQ(bsTabValue(C.Text), C.Value) << C.Text;
}

TEST_F(ListBoxTest, DefaultLayoutAndEmptyListPaintsOnlyItsBackground)
{
    auto* L = MakeList(0);
    EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 118, 118));
    EXPECT_EQ(L->ListBox->ItemHeight(), 20);
    EXPECT_EQ(ListPixel(L, 50, 50), Sys(clWindow));
    EXPECT_EQ(PixelOf(L, 0, 0), Sys(clBtnShadow));
    // the background request answers only while the list is empty
    TBitmap B;
    B.SetSize(20, 20);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(SendMessage(L->ListBox->Handle(), 0xBC4A, WPARAM(B.Canvas()->Handle()), 16802), 16802);
    EXPECT_EQ(B.Canvas()->Pixels(5, 5), Sys(clWindow));
    EXPECT_EQ(SendMessage(L->ListBox->Handle(), 0xBC4A, WPARAM(B.Canvas()->Handle()), 1), 0);
    L->Items()->Add("one");
    EXPECT_EQ(SendMessage(L->ListBox->Handle(), 0xBC4A, 0, 16802), 0);
    EXPECT_EQ(SendMessage(L->ListBox->Handle(), PaintNonClientToDC, 0, 0), PaintNonClientToDCAnswer);
}

TEST_F(ListBoxTest, DragSettingsAndEventsAreTheInnerLists)
{
    auto* L = MakeList(1);
    L->SetListBoxDragMode(dmAutomatic);
    L->SetListBoxDragKind(dkDock);
    L->SetListBoxDragCursor(crHandPoint);
    EXPECT_EQ(L->ListBox->DragMode(), dmAutomatic);
    EXPECT_EQ(L->ListBox->DragKind(), dkDock);
    EXPECT_EQ(L->ListBox->DragCursor(), crHandPoint);
    EXPECT_EQ(L->ListBoxDragMode(), dmAutomatic);
    EXPECT_EQ(L->DragMode(), dmManual);  // the control itself keeps its own
    TTouchManager T;
    T.SetInteractiveGestures({igPan, igZoom});
    L->SetListBoxTouch(&T);
    EXPECT_EQ(L->ListBox->Touch()->InteractiveGestures(), (TInteractiveGestures{igPan, igZoom}));
    std::vector<TObject*> Senders;
    L->SetOnListBoxDragOver([&](TObject* S, TObject*, int, int, TDragState, bool&) { Senders.push_back(S); });
    L->SetOnListBoxDragDrop([&](TObject* S, TObject*, int, int) { Senders.push_back(S); });
    L->SetOnListBoxStartDrag([&](TObject* S, TDragObject*&) { Senders.push_back(S); });
    L->SetOnListBoxEndDrag([&](TObject* S, TObject*, int, int) { Senders.push_back(S); });
    EXPECT_TRUE(L->OnListBoxDragOver() && L->OnListBoxDragDrop() && L->OnListBoxStartDrag() && L->OnListBoxEndDrag());
    bool Accept = false;
    TDragObject* O = nullptr;
    L->ListBox->OnDragOver(L->ListBox, nullptr, 0, 0, dsDragMove, Accept);
    L->ListBox->DragDrop(nullptr, 0, 0);
    L->ListBox->OnStartDrag(L->ListBox, O);
    L->ListBox->OnEndDrag(L->ListBox, nullptr, 0, 0);
    EXPECT_EQ(Senders, (std::vector<TObject*>(4, L->ListBox)));
}

TEST_F(ListBoxTest, SelectedItemIsHighlightedAndTheRestShowsTheBackground)
{
    auto* L = MakeList(2);
    L->SetItemIndex(1);
    EXPECT_EQ(ListPixel(L, 60, 5), Sys(clWindow));
    EXPECT_EQ(ListPixel(L, 60, 25), Sys(clHighlight));
    EXPECT_EQ(ListPixel(L, 60, 80), Sys(clWindow));
    // a single-selection list reports only its current item as selected
    EXPECT_TRUE(L->ListBox->GetItemState(0).Empty());
    EXPECT_TRUE(L->ListBox->GetItemState(1).Contains(odSelected));
}

TEST_F(ListBoxTest, ScrollBarAppearsOnOverflowAndGoesWhenItemsFit)
{
    auto* L = MakeList(5);
    EXPECT_EQ(L->ScrollBar, nullptr);
    for (int I = 0; I < 5; ++I) L->Items()->Add("more");
    Pump();
    ASSERT_NE(L->ScrollBar, nullptr);
    EXPECT_EQ(L->ScrollBar->Kind(), sbVertical);
    EXPECT_EQ(L->ScrollBar->BoundsRect(), Rect(100, 1, 119, 119));
    EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 100, 118));
    EXPECT_EQ(L->ScrollBar->Max(), 9);
    EXPECT_EQ(L->ScrollBar->PageSize(), 5);
    // moving the bar scrolls the list
    L->ScrollBar->SetPosition(3);
    EXPECT_EQ(L->TopIndex(), 3);
    // the wheel scrolls one line per message
    SendMessage(L->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120 * 3)), 0);
    EXPECT_EQ(L->TopIndex(), 4);
    EXPECT_EQ(L->ScrollBar->Position(), 4);
    SendMessage(L->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(L->TopIndex(), 3);
    L->Clear();
    Pump();
    EXPECT_EQ(L->ScrollBar, nullptr);
    EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 118, 118));
}

TEST_F(ListBoxTest, RowCountSizesTheControlAndNeedsNoBar)
{
    auto* L = MakeList(4);
    L->SetRowCount(4);
    Pump();
    EXPECT_EQ(L->Height(), 4 * 20 + 4);
    EXPECT_EQ(L->ScrollBar, nullptr);
    L->SetCaptionMode(true);
    EXPECT_EQ(L->CalcHeight(4), 4 * 20 + 4 + 20);
}

TEST_F(ListBoxTest, HorizontalExtentMakesABarBelowTheListStepsOfADigitWide)
{
    auto* L = MakeList(0);
    L->Items()->Add("a very very long item text that never fits in the list");
    L->Items()->Add("short");
    L->SetHorizontalExtent(true);
    Pump();
    ASSERT_NE(L->HScrollBar, nullptr);
    EXPECT_EQ(L->ScrollBar, nullptr);
    TBitmap M;
    M.Canvas()->Font()->Assign(L->ListBox->Font());
    EXPECT_EQ(L->HScrollBar->SmallChange(), M.Canvas()->TextWidth("0"));
    EXPECT_EQ(L->HScrollBar->LargeChange(), L->HScrollBar->SmallChange());
    EXPECT_EQ(L->HScrollBar->BoundsRect(), Rect(1, 100, 119, 119));
    EXPECT_LE(L->ListBox->BoundsRect().Bottom, L->HScrollBar->Top());
    // Right and Left move the bar, not the selection
    L->SetItemIndex(0);
    L->ListBox->SetFocus();
    Key(VK_RIGHT);
    EXPECT_EQ(L->HScrollBar->Position(), L->HScrollBar->SmallChange());
    EXPECT_EQ(L->ListBox->FHorizontalExtentValue, L->HScrollBar->Position());
    EXPECT_EQ(L->ItemIndex(), 0);
    Key(VK_LEFT);
    EXPECT_EQ(L->HScrollBar->Position(), 0);
    L->SetHorizontalExtent(false);
    EXPECT_EQ(L->HScrollBar, nullptr);
}

TEST_F(ListBoxTest, WideningTheListReducesTheOffset)
{
    auto* L = MakeList(1);
    TbsListBox* In = L->ListBox;
    In->FHorizontalExtentValue = 30;
    In->SetBounds(In->Left(), In->Top(), In->Width() + 10, In->Height());
    EXPECT_EQ(In->FHorizontalExtentValue, 20);
    In->SetBounds(In->Left(), In->Top(), In->Width() + 50, In->Height());
    EXPECT_EQ(In->FHorizontalExtentValue, 0);
}

TEST_F(ListBoxTest, OwnerDrawingGetsTheItemBitmapAndState)
{
    auto* L = MakeList(3);
    std::vector<std::pair<int, bool>> Drawn;
    TRect Text;
    L->OnDrawItem = [&](TCanvas* C, int Index, int W, int H, TRect TR, TOwnerDrawState S) {
        Drawn.push_back({Index, S.Contains(odSelected)});
        Text = TR;
        EXPECT_EQ(W, 116);
        EXPECT_EQ(H, 20);
        C->Brush()->SetColor(clLime);
        C->FillRect(Rect(0, 0, W, H));
    };
    L->SetItemIndex(2);
    Drawn.clear();
    L->ListBox->Repaint();
    Pump();
    ASSERT_EQ(Drawn.size(), 3u);
    EXPECT_EQ(Drawn[2], std::make_pair(2, true));
    EXPECT_EQ(Text, Rect(2, 0, 114, 20));
    EXPECT_EQ(ListPixel(L, 10, 45), TColor(clLime));
}

TEST_F(ListBoxTest, ImagesComeByItemIndexAndIndentTheTextEvenWhenMissing)
{
    auto* L = MakeList(3);
    TImageList IL(nullptr);
    IL.SetWidth(8);
    IL.SetHeight(8);
    for (TColor C : {TColor(clRed), TColor(clBlue)}) {
        TBitmap B;
        B.SetSize(8, 8);
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect(Rect(0, 0, 8, 8));
        IL.Add(&B, nullptr);
    }
    L->SetImages(&IL);
    Pump();
    // text rectangle starts at 2; images at its left edge, centred
    EXPECT_EQ(ListPixel(L, 4, 10), TColor(clRed));
    EXPECT_EQ(ListPixel(L, 4, 30), TColor(clBlue));
    EXPECT_EQ(ListPixel(L, 4, 50), Sys(clWindow));  // item 2 has no image
    L->SetImageIndex(1);
    EXPECT_EQ(ListPixel(L, 4, 10), TColor(clBlue));
    L->SetImages(nullptr);
}

TEST_F(ListBoxTest, DownCaptionButtonStepsOnReleaseAndRepeatsWhileHeld)
{
    auto* L = MakeList(20);
    L->SetCaptionMode(true);
    L->SetItemIndex(0);
    Pump();
    EXPECT_EQ(L->ListBox->Top(), 21);
    const TRect DR = L->Buttons[bsLBDownButton].R;
    EXPECT_EQ(DR, Rect(120 - 34 - 2, 2, 120 - 17 - 2, 18));
    const TPoint P(DR.Left + 5, DR.Top + 5);
    Click(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 1);
    Down(L, P.X, P.Y);
    Wait(500);
    EXPECT_EQ(L->ItemIndex(), 1);
    Wait(100);
    EXPECT_EQ(L->ItemIndex(), 2);
    Wait(100);
    EXPECT_EQ(L->ItemIndex(), 3);
    Up(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 4);
    Wait(300);
    EXPECT_EQ(L->ItemIndex(), 4);
    // never past the last item
    L->SetItemIndex(19);
    Click(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 19);
    const TRect Up_ = L->Buttons[bsLBUpButton].R;
    Click(L, Up_.Left + 5, Up_.Top + 5);
    EXPECT_EQ(L->ItemIndex(), 18);
}

TEST_F(ListBoxTest, CheckButtonWithItsEventReleasedOutsideStillClicksTheList)
{
    auto* L = MakeList(3);
    L->SetCaptionMode(true);
    int Checks = 0;
    L->OnCheckButtonClick = [&](TObject*) { ++Checks; };
    Pump();
    const TRect C = L->Buttons[bsLBCheckButton].R;
    Click(L, C.Left + 5, C.Top + 5);
    EXPECT_EQ(Checks, 1);
    EXPECT_EQ(Clicks, 0);
    Down(L, C.Left + 5, C.Top + 5);
    Up(L, 10, 60);
    EXPECT_EQ(Checks, 1);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ListBoxTest, LeavingClearsTheCaptionButtonHover)
{
    auto* L = MakeList(3);
    L->SetCaptionMode(true);
    Pump();
    const TRect C = L->Buttons[bsLBCheckButton].R;
    Move(L, C.Left + 5, C.Top + 5);
    EXPECT_TRUE(L->Buttons[bsLBCheckButton].MouseIn);
    EXPECT_EQ(PixelOf(L, C.Left + 1, C.Top + 1), bsDefaultHotColor);
    Headless::MouseMove(Point(5, 5));
    Pump();
    EXPECT_FALSE(L->Buttons[bsLBCheckButton].MouseIn);
}

// A skin with a "listbox" record: frame border 3, client part blue, item pictures.
class SkinnedListBox : public ListBoxTest {
protected:
    void SetUp() override
    {
        ListBoxTest::SetUp();
        Skin.AddPicture(100, 100, clGray);
        Skin.Paint(0, Rect(3, 3, 47, 47), clBlue);
        Skin.Paint(0, Rect(50, 0, 100, 16), clYellow);   // normal item
        Skin.Paint(0, Rect(50, 20, 100, 36), clFuchsia);  // selected item
        R = Skin.Add<TbsDataSkinListBox>("listbox");
        NinePiece(R, 50, 50, 3);
        R->SItemRect = Rect(50, 0, 100, 16);
        R->ActiveItemRect = Rect(50, 20, 100, 36);
        R->ItemTextRect = Rect(2, 0, 48, 16);
        R->ItemLeftOffset = R->ItemRightOffset = 2;
        R->FontName = "Tahoma";
        R->FontHeight = 13;
    }
    TestSkin Skin;
    TbsDataSkinListBox* R = nullptr;
};

TEST_F(SkinnedListBox, ItemsComeFromTheSkinAndTheRestIsTiled)
{
    auto* L = MakeList(2);
    L->SetSkinData(Skin.SD);
    L->SetItemIndex(1);
    Pump();
    EXPECT_EQ(L->ListBox->ItemHeight(), 16);
    EXPECT_EQ(L->ListBox->BoundsRect(), Rect(3, 3, 117, 117));
    EXPECT_EQ(ListPixel(L, 60, 8), TColor(clYellow));
    EXPECT_EQ(ListPixel(L, 60, 24), TColor(clFuchsia));
    EXPECT_EQ(ListPixel(L, 60, 80), TColor(clBlue));
    EXPECT_EQ(PixelOf(L, 1, 1), TColor(clGray));
    // a skin without a client part to tile shows the window colour
    L->Clear();
    R->ClRect = Rect(3, 3, 3, 47);
    L->ChangeSkinData();
    EXPECT_EQ(ListPixel(L, 60, 80), Sys(clWindow));
}

}  // namespace
