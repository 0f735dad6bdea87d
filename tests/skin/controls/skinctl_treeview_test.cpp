// The skinned tree view: colours and font from the skin, fading lines, expand buttons,
// skinned selection, and the external scroll bars following and scrolling the tree.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinTree : public SkinCtlTest {
protected:
    TbsSkinTreeView* Tree(int Nodes = 3)
    {
        auto* T = Make<TbsSkinTreeView>(Rect(10, 10, 160, 110));
        for (int I = 0; I < Nodes; ++I) T->Items()->Add(nullptr, "node " + std::to_string(I));
        Pump();
        return T;
    }
    TbsDataSkinTreeView* TreeRecord(TestSkin& S)
    {
        auto* R = S.Add<TbsDataSkinTreeView>("treeview");
        R->PictureIndex = S.AddPicture(40, 20, RGB(255, 0, 255));
        R->FontName = "Tahoma";
        R->FontHeight = 15;
        R->FontColor = RGB(0, 0, 200);
        R->BGColor = RGB(240, 240, 200);
        return R;
    }
};

TEST_F(SkinTree, NoTreeRecordGivesTheDefaultLook)
{
    TestSkin S;
    S.Add<TbsDataSkinListBox>("listbox");
    auto* T = Tree();
    for (TbsSkinData* SD : {static_cast<TbsSkinData*>(nullptr), S.SD}) {
        T->SetSkinData(SD);
        T->ChangeSkinData();
        EXPECT_FALSE(T->Skinned());
        EXPECT_EQ(T->Color(), clWindow);
        EXPECT_EQ(T->Font()->Name(), "Tahoma");
        EXPECT_EQ(T->Font()->Height(), 13);
        EXPECT_EQ(T->LineColor(), RGB(128, 128, 128));
    }
}

TEST_F(SkinTree, TreeRecordGivesColoursFontAndMixedLineColours)
{
    TestSkin S;
    TreeRecord(S);
    auto* T = Tree();
    T->SetSkinData(S.SD);
    EXPECT_TRUE(T->Skinned());
    EXPECT_EQ(T->Color(), RGB(240, 240, 200));
    EXPECT_EQ(T->Font()->Height(), 15);
    EXPECT_EQ(T->Font()->Color(), RGB(0, 0, 200));
    TColor M = MixColors(RGB(0, 0, 200), RGB(240, 240, 200));
    EXPECT_EQ(T->ButtonColor(), M);
    EXPECT_EQ(T->LineColor(), MixColors(M, RGB(240, 240, 200)));
    // without expand rectangles: no button pictures, the drawn boxes of size 5
    EXPECT_EQ(T->ExpandImage()->Width(), 0);
    EXPECT_EQ(T->ButtonSize(), 5);
    // UseSkinFont off keeps the default font, the colour still from the skin
    T->SetUseSkinFont(false);
    T->ChangeSkinData();
    EXPECT_EQ(T->Font()->Height(), 13);
    EXPECT_EQ(T->Font()->Color(), RGB(0, 0, 200));
}

TEST_F(SkinTree, ExpandRectanglesGiveButtonPicturesAndTheirSize)
{
    TestSkin S;
    auto* R = TreeRecord(S);
    R->ExpandImageRect = Rect(0, 0, 14, 14);
    R->NoExpandImageRect = Rect(14, 0, 28, 14);
    auto* T = Tree();
    T->SetSkinData(S.SD);
    EXPECT_EQ(T->ExpandImage()->Width(), 14);
    EXPECT_EQ(T->NoExpandImage()->Height(), 14);
    EXPECT_EQ(T->ButtonSize(), 5);  // 14 div 2 - 2
    R->PictureIndex = -1;
    T->ChangeSkinData();
    EXPECT_EQ(T->ExpandImage()->Width(), 0);
    // a button image list decides the size: half of its larger side
    TImageList IL(nullptr, 20, 12);
    T->SetButtonImageList(&IL);
    EXPECT_EQ(T->ButtonSize(), 10);
}

TEST_F(SkinTree, FadedLineIsOpaqueInItsFirstHalfAndFadesAfter)
{
    TBitmap B;
    B.SetSize(20, 3);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 20, 3));
    TbsSkinCustomTreeView::DrawFadedLine(B.Canvas(), 2, 3, 1, clBlack);  // length 1: one opaque pixel
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 2, 1)), clBlack);
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 3, 1)), clWhite);
    TbsSkinCustomTreeView::DrawFadedLine(B.Canvas(), 4, 14, 2, clBlack);  // length 10
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 4, 2)), clBlack);
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 8, 2)), clBlack);
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 9, 2)), clBlack);             // the fade starts at 255
    EXPECT_GT(GetRValue(TColor(GetPixel(B.Canvas()->Handle(), 13, 2))), 150);     // nearly gone at the far end
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 14, 2)), clWhite);
    TbsSkinCustomTreeView::DrawFadedLine(B.Canvas(), 5, 5, 0, clBlack);  // length 0: nothing
    EXPECT_EQ(TColor(GetPixel(B.Canvas()->Handle(), 5, 0)), clWhite);
}

TEST_F(SkinTree, HasNoBorderAndAnswersNonClientPaintRequests)
{
    auto* T = Tree();
    EXPECT_EQ(T->ClientWidth(), T->Width());
    EXPECT_EQ(T->ClientHeight(), T->Height());
    EXPECT_EQ(SendMessage(T->Handle(), PaintNonClientToDC, 0, 0), PaintNonClientToDCAnswer);
}

TEST_F(SkinTree, VerticalBarShowsOnlyWhenRowsDoNotFitAndScrollsTheTree)
{
    auto* T = Tree(2);
    auto* V = Make<TbsSkinScrollBar>(Rect(160, 10, 179, 110));
    V->SetKind(sbVertical);
    auto* H = Make<TbsSkinScrollBar>(Rect(10, 110, 160, 129));
    T->SetVScrollBar(V);
    T->SetHScrollBar(H);
    Pump();
    EXPECT_FALSE(V->Visible());
    EXPECT_FALSE(H->Visible());
    for (int I = 2; I < 30; ++I) T->Items()->Add(nullptr, "node " + std::to_string(I));
    T->Repaint();
    Pump();
    ASSERT_TRUE(V->Visible());
    EXPECT_EQ(V->Max(), 29);
    EXPECT_EQ(V->PageSize(), T->VisibleCount());
    V->SetPosition(5);
    Pump();
    EXPECT_EQ(T->TopItem(), T->Items()->Item(5));
    // hiding the tree hides the bars; showing it brings back only what is needed
    T->Hide();
    EXPECT_FALSE(V->Visible());
    EXPECT_FALSE(H->Visible());
    T->Show();
    Pump();
    EXPECT_TRUE(V->Visible());
    EXPECT_FALSE(H->Visible());
    // the bar's going away clears the link
    delete V;
    EXPECT_EQ(T->VScrollBar(), nullptr);
    T->Repaint();
    Pump();
}

TEST_F(SkinTree, KeysMoveTheVerticalBarWithTheSelection)
{
    auto* T = Tree(30);
    auto* V = Make<TbsSkinScrollBar>(Rect(160, 10, 179, 110));
    V->SetKind(sbVertical);
    T->SetVScrollBar(V);
    T->SetFocus();
    T->SetSelected(T->Items()->Item(0));
    Pump();
    Key(VK_END);
    EXPECT_EQ(V->Position(), V->Max() - V->PageSize() + 1);
}

class SkinTreePaint : public SkinTree {
protected:
    // A skin with a "treeview" record and a "listbox" record whose focused item picture is red.
    void SetUpSkin(TestSkin& S)
    {
        TreeRecord(S);
        auto* L = S.Add<TbsDataSkinListBox>("listbox");
        L->PictureIndex = S.AddPicture(60, 40, RGB(0, 200, 0));
        S.Paint(L->PictureIndex, Rect(0, 20, 60, 40), RGB(200, 0, 0));
        L->ActiveItemRect = Rect(0, 0, 60, 20);
        L->FocusItemRect = Rect(0, 20, 60, 40);
        L->ItemTextRect = Rect(2, 2, 58, 18);
        L->FocusFontColor = clWhite;
        L->ActiveFontColor = clBlack;
    }
};

TEST_F(SkinTreePaint, DrawSkinPaintsTheSelectionBarFromTheItemPictures)
{
    TestSkin S;
    SetUpSkin(S);
    auto* T = Tree();
    T->SetSkinData(S.SD);
    T->SetDrawSkin(true);
    TTreeNode* N = T->Items()->Item(1);
    T->SetSelected(N);
    T->SetFocus();
    TRect Tx = N->DisplayRect(true);
    EXPECT_EQ(PixelOf(T, Tx.Right - 1, Tx.Bottom - 1), RGB(200, 0, 0));  // focused: the focus picture
    TRect Other = T->Items()->Item(2)->DisplayRect(true);
    EXPECT_EQ(PixelOf(T, Other.Right - 1, Other.Bottom - 1), RGB(240, 240, 200));  // the skin's background
    auto* Elsewhere = Make<TbsSkinTreeView>(Rect(200, 10, 300, 100));
    Elsewhere->SetFocus();
    Pump();
    EXPECT_EQ(PixelOf(T, Tx.Right - 1, Tx.Bottom - 1), RGB(0, 200, 0));  // not focused: the active picture
    // switched off: the platform draws again
    T->SetDrawSkin(false);
    EXPECT_NE(PixelOf(T, Tx.Right - 1, Tx.Bottom - 1), RGB(0, 200, 0));
}

TEST_F(SkinTreePaint, DrawnExpandBoxUsesTheButtonColour)
{
    TestSkin S;
    SetUpSkin(S);
    auto* T = Tree(1);
    TTreeNode* P = T->Items()->Item(0);
    T->Items()->AddChild(P, "child");
    T->SetSkinData(S.SD);
    T->SetDrawSkin(true);
    Pump();
    // root level with ShowRoot: the button centred in the first indent column
    TRect R = P->DisplayRect(false);
    int Cy = (R.Top + R.Bottom) / 2, Bx = T->Indent() / 2;
    EXPECT_EQ(PixelOf(T, Bx - 5, Cy), T->ButtonColor());          // the box's left side
    EXPECT_EQ(PixelOf(T, Bx - 1, Cy - 1), T->Font()->Color());    // the minus
    EXPECT_EQ(PixelOf(T, Bx - 1, Cy - 3), T->Font()->Color());    // the plus of a collapsed node
    P->Expand(false);
    Pump();
    EXPECT_EQ(PixelOf(T, Bx - 1, Cy - 3), T->Color());
}

TEST_F(SkinTree, DesigningStoresDrawSkinWithoutInstallingThePainter)
{
    auto* T = Tree();
    T->SetDesigning(true);
    T->SetDrawSkin(true);
    EXPECT_TRUE(T->DrawSkin());
    EXPECT_FALSE(bool(T->OnAdvancedCustomDrawItem));
    T->SetDesigning(false);
    T->SetDrawSkin(true);
    EXPECT_TRUE(bool(T->OnAdvancedCustomDrawItem));
}

}  // namespace
