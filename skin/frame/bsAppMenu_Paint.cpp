// How the application menu draws itself: backgrounds of the item column and the page
// area, the skin frame around the active page, the back button, the items, the top line
// and the size gripper; all composed in one bitmap and copied once.
#include <algorithm>

#include "skin/frame/bsAppMenu.h"

void TbsAppMenu::Paint() { PaintAppMenu(Canvas()); }

namespace {
// Tiles Pic over Area from its top-left corner in steps of its own size, or stretches it.
// An empty picture draws nothing (no division by its size).
void FillWithPicture(TCanvas* C, TBitmap* Pic, const TRect& Area, bool Stretch)
{
    if (!Pic || Pic->Width() <= 0 || Pic->Height() <= 0 || Area.IsEmpty()) return;
    if (Stretch) {
        C->StretchDraw(Area, Pic);
        return;
    }
    const int PW = Pic->Width(), PH = Pic->Height();
    for (int Y = 0; Y < Area.Height() / PH + 1; ++Y)
        for (int X = 0; X < Area.Width() / PW + 1; ++X) C->Draw(Area.Left + X * PW, Area.Top + Y * PH, Pic);
}

// Whether R lies inside the picture (an outside part is drawn as none).
bool InPicture(TBitmap* Pic, const TRect& R)
{
    return Pic && !R.IsEmpty() && R.Left >= 0 && R.Top >= 0 && R.Right <= Pic->Width() && R.Bottom <= Pic->Height();
}
}  // namespace

TbsAppMenuItemLook TbsAppMenu::ItemLook(int Index)
{
    TbsAppMenuItemLook L;
    if (!ValidIndex(Index)) return L;
    TbsAppMenuItem* It = FItems->Items(Index);
    const bool HasPage = It->Page() != nullptr;
    const bool ActivePageItem = HasPage && It->Page() == FActivePage;
    const bool Selected = Index == FItemIndex;  // an index outside the items selects none
    if (FIndex == -1 || !FData) {
        L.Highlight = It->Active || ActivePageItem || (Selected && !IsDesigning());
        if (L.Highlight) {
            L.FontColor = clBtnText;
            L.Frame = !HasPage;
            L.Arrow = ActivePageItem;
        } else
            L.FontColor = It->Enabled() ? clBtnHighlight : cl3DDkShadow;
        return L;
    }
    bool Qualifies = true;
    if (HasPage) {
        Qualifies = It->ItemRect.Top >= 30;
        if (Qualifies && FActivePage) {
            const TRect P = GetActivePageRect();
            Qualifies = It->ItemRect.Bottom <= P.Top + P.Height() - 5;
        }
    }
    L.Highlight = Qualifies && (It->Active || ActivePageItem || (Selected && It->Enabled()));
    if (L.Highlight) {
        L.FontColor = HasPage ? FData->ActiveFontPageColor : FData->ActiveFontColor;
        L.FontHeight = HasPage ? FData->FontPageHeight : FData->FontHeight;
        L.Source = HasPage ? (ActivePageItem ? FData->PageItemActiveRect : FData->PageItemRect) : FData->ItemRect;
    } else {
        L.FontColor = !It->Enabled() ? FData->DisabledFontColor : HasPage ? FData->FontPageColor : FData->FontColor;
        L.FontHeight = HasPage ? FData->FontPageHeight : FData->FontHeight;
    }
    return L;
}

void TbsAppMenu::DrawItemText(TCanvas* Cnvs, TbsAppMenuItem* Item, TRect R, bool Skinned, bool SameLook)
{
    const bool HasPage = Item->Page() != nullptr;
    R.Left += HasPage || SameLook ? 20 : 10;
    if (Skinned && SameLook && FItemImageList) R.Left += 3;
    TCustomImageList* IL = HasPage ? FItemPageImageList : FItemImageList;
    Cnvs->Brush()->SetStyle(bsClear);
    if (IL && Item->ImageIndex() >= 0 && Item->ImageIndex() < IL->Count()) {
        if (Skinned && SameLook) R.Left = std::max(0, R.Left - (IL->Width() + 3));
        DrawImageAndText(Cnvs, R, 0, Skinned ? 3 : 5, blGlyphLeft, Item->Caption(), Item->ImageIndex(), IL, false,
                         Item->Enabled(), false, 0);
    } else
        DrawCaptionText(Cnvs, Item->Caption(), R);
}

void TbsAppMenu::SetItemFont(TCanvas* Cnvs, TColor Color, int Height)
{
    if (FUseSkinFont && FData) {
        Cnvs->Font()->SetName(FData->FontName);
        Cnvs->Font()->SetStyle(FData->FontStyle);
    } else
        Cnvs->Font()->Assign(Font());
    Cnvs->Font()->SetHeight(Height);
    Cnvs->Font()->SetColor(Color);
}

void TbsAppMenu::DrawSkinItem(TCanvas* Cnvs, int Index)
{
    TbsAppMenuItem* It = FItems->Items(Index);
    const TbsAppMenuItemLook L = ItemLook(Index);
    const bool S = SameRects(FData->PageItemRect, FData->ItemRect);
    const bool HasPage = It->Page() != nullptr;
    const TRect IR = It->ItemRect;
    if (L.Highlight && InPicture(FDataPicture, L.Source) && IR.Width() > 0) {
        TBitmap B;
        const int H = HasPage && It->Page() == FActivePage ? L.Source.Height() : IR.Height();
        const int LO = HasPage ? FData->PageItemOffset1 : FData->ItemOffset1;
        const int RO = HasPage ? FData->PageItemOffset2 : FData->ItemOffset2;
        CreateHSkinImage(LO, RO, &B, FDataPicture, L.Source, IR.Width(), std::max(H, 1), true);
        SetItemFont(B.Canvas(), L.FontColor, L.FontHeight);
        const int TH = HasPage ? FData->PageItemRect.Height() : B.Height();
        DrawItemText(B.Canvas(), It, Rect(0, 0, B.Width(), TH), true, S);
        Cnvs->Draw(IR.Left, IR.Top, &B);
        return;
    }
    SetItemFont(Cnvs, L.FontColor, L.FontHeight);
    DrawItemText(Cnvs, It, IR, true, S);
}

void TbsAppMenu::DrawDefaultItem(TCanvas* Cnvs, int Index)
{
    TbsAppMenuItem* It = FItems->Items(Index);
    const TbsAppMenuItemLook L = ItemLook(Index);
    const TRect IR = It->ItemRect;
    if (!L.Highlight) {
        Cnvs->Font()->SetColor(L.FontColor);
        DrawItemText(Cnvs, It, IR, false, false);
        return;
    }
    if (IR.Width() <= 0) return;
    TBitmap B;
    B.SetSize(IR.Width(), IR.Height() + 2);
    TCanvas* C = B.Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, B.Width(), B.Height()));
    C->Font()->Assign(Cnvs->Font());
    C->Font()->SetColor(clBtnText);
    if (L.Frame) DrawFrame3D(C, Rect(0, 0, B.Width(), B.Height()), cl3DDkShadow, cl3DDkShadow);
    DrawItemText(C, It, Rect(0, 0, B.Width(), B.Height()), false, false);
    if (L.Arrow) DrawBigArrowImage(C, Rect(B.Width() - 5, 0, B.Width(), B.Height()), clWindow, 1);
    Cnvs->Draw(IR.Left, IR.Top, &B);
}

void TbsAppMenu::PaintAppMenu(TCanvas* Cnvs)
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1 || !FData) {
        Cnvs->Font()->Assign(Font());
        Cnvs->Brush()->SetStyle(bsSolid);
        Cnvs->Brush()->SetColor(clBtnShadow);
        Cnvs->FillRect(Rect(0, 0, Width(), Height()));
        CalcItemRects();
        for (int I = 0; I < FItems->Count(); ++I)
            if (FItems->Items(I)->Visible()) DrawDefaultItem(Cnvs, I);
        return;
    }
    TBitmap A;
    A.SetSize(Width(), Height());
    TCanvas* C = A.Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Width(), Height()));
    // 1, 2: the backgrounds of the item column and of the page area.
    if (FDataBGPicture) {
        const int ColumnW = FDataPageBGPicture ? FItemWidth : Width();
        FillWithPicture(C, FDataBGPicture, Rect(0, 0, ColumnW, Height()), FData->BGStretchEffect);
    }
    if (FDataPageBGPicture)
        FillWithPicture(C, FDataPageBGPicture, Rect(FItemWidth, 0, Width(), Height()), FData->BGPageStretchEffect);
    // 3: the skin frame around the active page.
    if (FActivePage && FDataPicture && InPicture(FDataPicture, FData->SkinRect)) {
        const TRect SR = FData->SkinRect, Cl = FData->ClRect;
        TRect FR = GetActivePageRect();
        FR.Left -= Cl.Left;
        FR.Top -= Cl.Top;
        FR.Right += SR.Width() - Cl.Right;
        FR.Bottom += SR.Height() - Cl.Bottom;
        const int DX = FR.Width() - SR.Width(), DY = FR.Height() - SR.Height();
        TRect NewCl = Cl;
        NewCl.Right += DX;
        NewCl.Bottom += DY;
        TBitmap LB, TB, RB, BB;
        CreateSkinBorderImages(FData->LTPoint, FData->RTPoint, FData->LBPoint, FData->RBPoint, Cl, FData->LTPoint,
                               Point(FData->RTPoint.X + DX, FData->RTPoint.Y),
                               Point(FData->LBPoint.X, FData->LBPoint.Y + DY),
                               Point(FData->RBPoint.X + DX, FData->RBPoint.Y + DY), NewCl, &LB, &TB, &RB, &BB,
                               FDataPicture, SR, FR.Width(), FR.Height(), FData->LeftStretch, FData->TopStretch,
                               FData->RightStretch, FData->BottomStretch);
        C->Draw(FR.Left, FR.Top, &TB);
        C->Draw(FR.Left, FR.Top + TB.Height(), &LB);
        C->Draw(FR.Left + FR.Width() - RB.Width(), FR.Top + TB.Height(), &RB);
        C->Draw(FR.Left, FR.Top + FR.Height() - BB.Height(), &BB);
    }
    // 4, 5: the layout, then the back button with the band above the items kept clear.
    CalcItemRects();
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    if (!FBackButtonRect.IsEmpty()) {
        TRect Src = FData->BackButtonRect;
        if (FBackButtonActive && !FData->BackButtonActiveRect.IsEmpty()) Src = FData->BackButtonActiveRect;
        if (InPicture(FDataPicture, Src)) C->CopyRect(FBackButtonRect, FDataPicture->Canvas(), Src);
        ExcludeClipRect(DC, 0, 0, FItemWidth, FBackButtonRect.Bottom + 2);
    }
    // 6: the items.
    for (int I = 0; I < FItems->Count(); ++I)
        if (FItems->Items(I)->Visible()) DrawSkinItem(C, I);
    RestoreDC(DC, Saved);
    // 7: the top line.
    if (!FData->TopLineRect.IsEmpty() && InPicture(FDataPicture, FData->TopLineRect)) {
        TBitmap L;
        CreateHSkinImage(FData->TopLineOffset1, FData->TopLineOffset2, &L, FDataPicture, FData->TopLineRect, Width(),
                         FData->TopLineRect.Height(), true);
        C->Draw(0, 0, &L);
    }
    // 8: the gripper.
    if (CanShowGripper() && InPicture(FDataPicture, FData->GripperRect)) {
        TBitmap G;
        bsCopyPicturePart(&G, FDataPicture, FData->GripperRect);
        G.SetTransparentColor(FData->GripperTransparentColor);
        G.SetTransparent(true);
        C->Draw(Width() - G.Width(), Height() - G.Height(), &G);
    }
    Cnvs->Draw(0, 0, &A);
}
