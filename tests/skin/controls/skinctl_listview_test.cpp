// The skinned list view: colours and font from the skin, the subclassed column header and its
// looks, the external scroll bars following and scrolling the list, and skinned items.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skinctl_support.h"
#include "tests/platform/solid_image_list.h"

using namespace skinctl;

namespace {

class SkinList : public SkinCtlTest {
protected:
    TbsSkinListView* List(int Rows = 3, TRect R = Rect(10, 10, 210, 130))
    {
        auto* L = Make<TbsSkinListView>(R);
        L->SetViewStyle(vsReport);
        L->Columns()->Add()->SetCaption("Name");
        L->Columns()->Items(0)->SetWidth(80);
        L->Columns()->Add()->SetCaption("Size");
        L->Columns()->Items(1)->SetWidth(60);
        for (int I = 0; I < Rows; ++I) {
            TListItem* It = L->Items()->Add();
            It->SetCaption("row " + std::to_string(I));
            It->SubItems()->Add(std::to_string(I * 10));
        }
        Pump();
        return L;
    }
    TColor HeaderPixel(TbsSkinCustomListView* L, int X, int Y)
    {
        Pump();
        RedrawWindow(L->SkinHeader(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
        return Headless::PixelColor(L->SkinHeader(), Point(X, Y));
    }
    // A button record of 20 x 20 with 3-pixel corners: normal face green, pressed face blue.
    TbsDataSkinButtonControl* HeaderRecord(TestSkin& S, const String& Name)
    {
        auto* R = S.Add<TbsDataSkinButtonControl>(Name);
        NinePiece(R, 20, 20, 3);
        R->PictureIndex = S.AddPicture(40, 20, RGB(0, 160, 0));
        S.Paint(R->PictureIndex, Rect(20, 0, 40, 20), RGB(0, 0, 160));
        R->DownSkinRect = Rect(20, 0, 40, 20);
        R->FontColor = clWhite;
        return R;
    }
    TbsSkinScrollBar* VBar(TRect R = Rect(210, 10, 229, 130))
    {
        auto* V = Make<TbsSkinScrollBar>(R);
        V->SetKind(sbVertical);
        return V;
    }
};

TEST_F(SkinList, ListViewRecordGivesColoursFontAndThriceMixedLineColour)
{
    TestSkin S;
    auto* R = S.Add<TbsDataSkinListView>("listview");
    R->FontName = "Tahoma";
    R->FontHeight = 16;
    R->FontColor = RGB(0, 0, 0);
    R->BGColor = RGB(248, 248, 248);
    auto* L = List();
    L->SetSkinData(S.SD);
    EXPECT_TRUE(L->Skinned());
    EXPECT_EQ(L->Color(), RGB(248, 248, 248));
    EXPECT_EQ(L->Font()->Height(), 16);
    TColor M = MixColors(MixColors(MixColors(0, RGB(248, 248, 248)), RGB(248, 248, 248)), RGB(248, 248, 248));
    EXPECT_EQ(L->LineColor(), M);
    L->SetSkinData(nullptr);
    L->ChangeSkinData();
    EXPECT_FALSE(L->Skinned());
    EXPECT_EQ(L->Color(), clWindow);
    EXPECT_EQ(L->Font()->Height(), 13);
}

TEST_F(SkinList, HeaderIsSubclassedAndReachesPastTheRightEdge)
{
    auto* L = List();
    ASSERT_NE(L->SkinHeader(), nullptr);
    EXPECT_EQ(L->SkinHeader(), L->HeaderHandle());
    EXPECT_EQ(GetWindowRect(L->SkinHeader()).Width(), L->ClientWidth() + 25);
    EXPECT_EQ(L->ClientWidth(), L->Width());  // no border
    EXPECT_EQ(SendMessage(L->Handle(), PaintNonClientToDC, 0, 0), PaintNonClientToDCAnswer);
    // a new window takes over its new header
    L->RecreateWnd();
    Pump();
    EXPECT_EQ(L->SkinHeader(), L->HeaderHandle());
    int Before = L->HeaderPaints();
    SendMessage(L->Handle(), PaintHeaderToDC, WPARAM(GetDC(L->Handle())), 0);
    EXPECT_EQ(L->HeaderPaints(), Before + 1);
}

TEST_F(SkinList, HeaderLookFollowsHeaderThenResizeToolButtonThenDefault)
{
    TestSkin S;
    auto* L = List();
    L->SetSkinData(S.SD);
    // no record: flat default sections
    EXPECT_EQ(HeaderPixel(L, 40, 8), Sys(clBtnFace));
    EXPECT_EQ(HeaderPixel(L, 0, 8), Sys(clBtnShadow));
    // only "resizetoolbutton"
    HeaderRecord(S, "resizetoolbutton");
    EXPECT_EQ(HeaderPixel(L, 40, 1), RGB(0, 160, 0));
    EXPECT_EQ(HeaderPixel(L, 180, 1), RGB(0, 160, 0));  // the rest after the last section
    // "header" wins
    auto* H = HeaderRecord(S, "header");
    S.Paint(H->PictureIndex, Rect(0, 0, 20, 20), RGB(160, 0, 0));
    EXPECT_EQ(HeaderPixel(L, 40, 1), RGB(160, 0, 0));
    // a record of another kind under the name gives the default look
    S.SD->CtrlList.clear();
    S.Add<TbsDataSkinListView>("header");
    EXPECT_EQ(HeaderPixel(L, 40, 8), Sys(clBtnFace));
}

TEST_F(SkinList, PressedSectionShowsPressedUntilReleaseAndDividerDragRedrawsOnEveryMove)
{
    auto* L = List();
    HWND H = L->SkinHeader();
    TPoint In = Point(30, 6);
    TWinControl* Dummy = nullptr;
    (void)Dummy;
    auto ScreenOf = [&](TPoint P) {
        ClientToScreen(H, P);
        return P;
    };
    Headless::MouseMove(ScreenOf(In));
    Headless::MouseDown(ScreenOf(In), 1);
    Pump();
    EXPECT_TRUE(L->HeaderDown());
    EXPECT_EQ(L->ActiveSection(), 0);
    EXPECT_EQ(HeaderPixel(L, 40, 8), bsDefaultDownColor);
    Headless::MouseUp(ScreenOf(In), 1);
    Pump();
    EXPECT_FALSE(L->HeaderDown());
    EXPECT_EQ(L->ActiveSection(), -1);
    EXPECT_EQ(HeaderPixel(L, 40, 8), Sys(clBtnFace));
    // the divider at the first column's right edge
    TPoint Div = Point(80, 6);
    Headless::MouseMove(ScreenOf(Div));
    Headless::MouseDown(ScreenOf(Div), 1);
    Pump();
    EXPECT_TRUE(L->DividerDown());
    int Paints = L->HeaderPaints();
    for (int I = 1; I <= 3; ++I) {
        Headless::MouseMove(ScreenOf(Point(80 + 5 * I, 6)));
        Pump();
    }
    EXPECT_GE(L->HeaderPaints(), Paints + 3);
    EXPECT_EQ(L->Columns()->Items(0)->Width(), 95);
    Headless::MouseUp(ScreenOf(Point(95, 6)), 1);
    Pump();
    EXPECT_FALSE(L->DividerDown());
}

TEST_F(SkinList, DrawHeaderSectionHandlerTakesOverTheContent)
{
    auto* L = List();
    std::vector<String> Seen;
    L->OnDrawHeaderSection = [&](TCanvas* C, TListColumn* Col, bool, TRect R) {
        Seen.push_back(Col->Caption());
        C->Brush()->SetColor(clRed);
        C->FillRect(Rect(R.Left + 2, R.Top + 2, R.Left + 6, R.Top + 6));
    };
    EXPECT_EQ(HeaderPixel(L, 3, 3), clRed);
    EXPECT_EQ(HeaderPixel(L, 83, 3), clRed);
    ASSERT_GE(Seen.size(), 2u);
    EXPECT_EQ(Seen[0], "Name");
    // no caption text anywhere in the section: the face only
    for (int X = 10; X < 70; ++X)
        for (int Y = 2; Y < 14; ++Y) ASSERT_EQ(HeaderPixel(L, X, Y), Sys(clBtnFace)) << X << "," << Y;
}

TEST_F(SkinList, VerticalBarShowsOnlyWhenRowsDoNotFitAndOneStepScrollsOneRow)
{
    auto* L = List(3);
    auto* V = VBar();
    L->SetVScrollBar(V);
    L->Repaint();
    Pump();
    EXPECT_FALSE(V->Visible());
    for (int I = 3; I < 40; ++I) L->Items()->Add()->SetCaption("row " + std::to_string(I));
    L->Repaint();
    Pump();
    ASSERT_TRUE(V->Visible());
    EXPECT_EQ(V->PageSize(), L->VisibleRowCount());
    EXPECT_EQ(V->Max(), 39);
    EXPECT_EQ(V->LargeChange(), L->VisibleRowCount());
    V->SetPosition(V->Position() + V->SmallChange());
    Pump();
    EXPECT_EQ(L->TopItem(), L->Items()->Item(1));
    V->SetPosition(10);
    Pump();
    EXPECT_EQ(L->TopItem(), L->Items()->Item(10));
    // the list scrolled by keys moves the bar
    L->SetFocus();
    L->SetItemIndex(0);
    L->Items()->Item(0)->SetFocused(true);
    Pump();
    Key(VK_HOME);
    EXPECT_EQ(V->Position(), 0);
    // hiding the list hides its bar
    L->Hide();
    EXPECT_FALSE(V->Visible());
}

TEST_F(SkinList, HorizontalBarFollowsTheColumnsWidth)
{
    auto* L = List(3);
    auto* H = Make<TbsSkinScrollBar>(Rect(10, 130, 210, 149));
    L->SetHScrollBar(H);
    L->Repaint();
    Pump();
    EXPECT_FALSE(H->Visible());
    L->Columns()->Items(1)->SetWidth(300);
    L->Repaint();
    Pump();
    ASSERT_TRUE(H->Visible());
    EXPECT_EQ(H->PageSize(), L->Width());
    H->SetPosition(50);
    Pump();
    EXPECT_EQ(GetScrollPos(L->Handle(), SB_HORZ), 50);
}

TEST_F(SkinList, ListViewStyleScrollsByColumnsAndIconViewByPixels)
{
    auto* L = List(60);
    auto* V = VBar();
    auto* H = Make<TbsSkinScrollBar>(Rect(10, 130, 210, 149));
    L->SetVScrollBar(V);
    L->SetHScrollBar(H);
    L->SetViewStyle(vsList);
    L->Repaint();
    Pump();
    // list view: no vertical bar; the horizontal one steps by whole columns
    EXPECT_FALSE(V->Visible());
    ASSERT_TRUE(H->Visible());
    EXPECT_EQ(H->SmallChange(), 1);
    EXPECT_EQ(H->PageSize(), L->Width() / L->Items()->Item(0)->DisplayRect(drBounds).Width());
    H->SetPosition(2);
    Pump();
    EXPECT_EQ(GetScrollPos(L->Handle(), SB_HORZ), 2);
    H->SetPosition(1);
    Pump();
    EXPECT_EQ(GetScrollPos(L->Handle(), SB_HORZ), 1);
    // icon view: pixels, steps of half an item's height
    L->SetViewStyle(vsIcon);
    L->Repaint();
    Pump();
    ASSERT_TRUE(V->Visible());
    EXPECT_FALSE(H->Visible());
    const int Half = L->Items()->Item(0)->DisplayRect(drBounds).Height() / 2;
    EXPECT_EQ(V->SmallChange(), Half);
    EXPECT_EQ(V->PageSize(), L->Height());
    V->SetPosition(V->Position() + V->SmallChange());
    Pump();
    EXPECT_EQ(GetScrollPos(L->Handle(), SB_VERT), Half);
}

TEST_F(SkinList, TinyListLeavesItsBarsAlone)
{
    auto* L = List(40, Rect(10, 10, 15, 15));
    auto* V = VBar();
    L->SetVScrollBar(V);
    V->Show();
    L->Repaint();
    Pump();
    EXPECT_TRUE(V->Visible());  // untouched: the list is 5 x 5
    L->SetBounds(10, 10, 200, 120);
    Pump();
    L->Repaint();
    Pump();
    EXPECT_TRUE(V->Visible());
    EXPECT_EQ(V->Max(), 39);
}

class SkinListPaint : public SkinList {
protected:
    void SetUpSkin(TestSkin& S)
    {
        auto* R = S.Add<TbsDataSkinListView>("listview");
        R->FontName = "Tahoma";
        R->FontHeight = 13;
        R->FontColor = clBlack;
        R->BGColor = RGB(250, 250, 240);
        auto* LB = S.Add<TbsDataSkinListBox>("listbox");
        LB->PictureIndex = S.AddPicture(60, 40, RGB(0, 200, 0));
        S.Paint(LB->PictureIndex, Rect(0, 20, 60, 40), RGB(200, 0, 0));
        LB->ActiveItemRect = Rect(0, 0, 60, 20);
        LB->FocusItemRect = Rect(0, 20, 60, 40);
        LB->ItemTextRect = Rect(2, 2, 58, 18);
        auto* CB = S.Add<TbsDataSkinCheckRadioControl>("checkbox");
        CB->PictureIndex = S.AddPicture(26, 13, RGB(0, 0, 250));
        S.Paint(CB->PictureIndex, Rect(13, 0, 26, 13), RGB(250, 250, 0));
        // the bottom-left pixel of each box is its transparent colour
        S.Paint(CB->PictureIndex, Rect(0, 12, 1, 13), clFuchsia);
        S.Paint(CB->PictureIndex, Rect(13, 12, 14, 13), clFuchsia);
        CB->CheckImageRect = Rect(0, 0, 13, 13);
        CB->UnCheckImageRect = Rect(13, 0, 26, 13);
    }
};

TEST_F(SkinListPaint, DrawSkinPaintsTheSelectedRowFromTheItemPictures)
{
    TestSkin S;
    SetUpSkin(S);
    auto* L = List(3);
    L->SetRowSelect(true);
    L->SetSkinData(S.SD);
    L->SetFullDrag(true);
    L->SetDrawSkin(true);
    EXPECT_FALSE(L->FullDrag());
    L->SetFocus();
    L->SetItemIndex(1);
    TRect B = L->Items()->Item(1)->DisplayRect(drBounds);
    EXPECT_EQ(PixelOf(L, 130, B.Bottom - 2), RGB(200, 0, 0));   // focused bar over the whole row
    TRect B2 = L->Items()->Item(2)->DisplayRect(drBounds);
    EXPECT_EQ(PixelOf(L, 130, B2.Bottom - 3), RGB(250, 250, 240));  // an unselected row
    // DrawSkinLines: the row's bottom line and the columns' right edges in the line colour
    L->SetDrawSkinLines(true);
    EXPECT_EQ(PixelOf(L, 130, B2.Bottom - 1), L->LineColor());
    EXPECT_EQ(PixelOf(L, 79, B2.Top + 3), L->LineColor());
    // switched off: the platform draws the rows again
    L->SetDrawSkin(false);
    EXPECT_NE(PixelOf(L, 130, B.Bottom - 2), RGB(200, 0, 0));
}

TEST_F(SkinListPaint, CheckBoxesComeFromTheCheckboxRecord)
{
    TestSkin S;
    SetUpSkin(S);
    auto* L = List(2);
    L->SetCheckboxes(true);
    L->Items()->Item(0)->SetChecked(true);
    L->SetSkinData(S.SD);
    L->SetDrawSkin(true);
    TRect I0 = L->Items()->Item(0)->DisplayRect(drIcon);

    TRect B0 = L->Items()->Item(0)->DisplayRect(drBounds);
    int Y0 = std::max(B0.Top, B0.Top + I0.Height() / 2 - 13 / 2 - 1);
    EXPECT_EQ(PixelOf(L, I0.Left - 1 - 13 + 6, Y0 + 6), RGB(0, 0, 250));     // ticked
    TRect B1 = L->Items()->Item(1)->DisplayRect(drBounds);
    int Y1 = std::max(B1.Top, B1.Top + I0.Height() / 2 - 13 / 2 - 1);
    EXPECT_EQ(PixelOf(L, I0.Left - 1 - 13 + 6, Y1 + 6), RGB(250, 250, 0));   // not ticked
}

// Without SmallImages and LargeImages the skinned painter draws each item's picture from the
// window's own image list (the small one, the normal one in icon view) into its icon
// rectangle; an index outside that list leaves the rectangle in the list's colour.
TEST_F(SkinListPaint, DrawSkinTakesPicturesFromTheWindowsOwnImageList)
{
    TestSkin S;
    SetUpSkin(S);
    auto Small = SolidImageList(16, {RGB(200, 40, 40), RGB(40, 40, 200)});
    auto Large = SolidImageList(32, {RGB(40, 160, 40), RGB(160, 40, 160)});
    for (TViewStyle VS : {vsReport, vsList, vsSmallIcon, vsIcon}) {
        SCOPED_TRACE(int(VS));
        auto* L = List(3);
        L->SetViewStyle(VS);
        L->SetSkinData(S.SD);
        L->SetDrawSkin(true);
        SendMessage(L->Handle(), LVM_SETIMAGELIST, WPARAM(LVSIL_SMALL), LPARAM(Small->Handle()));
        SendMessage(L->Handle(), LVM_SETIMAGELIST, WPARAM(LVSIL_NORMAL), LPARAM(Large->Handle()));
        L->Items()->Item(0)->SetImageIndex(1);
        L->Items()->Item(1)->SetImageIndex(5);  // not in the list
        L->Items()->Item(2)->SetImageIndex(0);
        const bool Icon = VS == vsIcon;
        const int Size = Icon ? 32 : 16;
        const TRect I0 = L->Items()->Item(0)->DisplayRect(drIcon);
        const TRect I1 = L->Items()->Item(1)->DisplayRect(drIcon);
        const TRect I2 = L->Items()->Item(2)->DisplayRect(drIcon);
        ASSERT_EQ(I0.Width(), Size);
        // the picture's place: the icon rectangle's top-left, in icon view centred and 2 down
        auto Mid = [&](const TRect& I) {
            return Icon ? Point(I.Left + (I.Width() - Size) / 2 + Size / 2, I.Top + 2 + Size / 2)
                        : Point(I.Left + Size / 2, I.Top + Size / 2);
        };
        TPoint P0 = Mid(I0), P2 = Mid(I2), P1 = Mid(I1);
        EXPECT_EQ(PixelOf(L, P0.X, P0.Y), Icon ? RGB(160, 40, 160) : RGB(40, 40, 200));
        EXPECT_EQ(PixelOf(L, P2.X, P2.Y), Icon ? RGB(40, 160, 40) : RGB(200, 40, 40));
        EXPECT_EQ(PixelOf(L, P1.X, P1.Y), RGB(250, 250, 240));
        // the control's own list, when set, is the one drawn
        auto Comp = SolidImageList(Size, {RGB(10, 10, 10), RGB(20, 20, 20)});
        if (Icon) L->SetLargeImages(Comp.get());
        else L->SetSmallImages(Comp.get());
        EXPECT_EQ(PixelOf(L, P0.X, P0.Y), RGB(20, 20, 20));
        delete L;
    }
}

TEST_F(SkinList, SubItemHandlerDrawsEachSubItem)
{
    TestSkin S;
    S.Add<TbsDataSkinListBox>("listbox");
    auto* L = List(2);
    L->SetSkinData(S.SD);
    L->SetDrawSkin(true);
    std::vector<std::pair<int, int>> Calls;
    L->OnDrawSkinSubItem = [&](TbsSkinCustomListView*, TListItem* It, int Sub, TCustomDrawState, TCanvas*, TRect R) {
        Calls.push_back({It->Index(), Sub});
        EXPECT_EQ(R.Left, 80 + 3);
        EXPECT_EQ(R.Right, 140 - 3);
    };
    L->Repaint();
    Pump();
    ASSERT_GE(Calls.size(), 2u);
    EXPECT_EQ(Calls[0], std::make_pair(0, 0));
    EXPECT_EQ(Calls[1], std::make_pair(1, 0));
}

}  // namespace
