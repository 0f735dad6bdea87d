// How the ribbon paints: the tab strip, its tabs, the caption and MDI buttons and the
// frame around the page area, composed in off-screen bitmaps, in the skin's look or in
// system colours.
#include <memory>

#include "skin/core/bsUtils.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsRibbon.h"

namespace {

// A skin picture that can be drawn from: present and not empty.
bool Usable(TBitmap* B) { return B && !B->Empty() && B->Width() > 0 && B->Height() > 0; }

}  // namespace

void TbsRibbon::PaintRibbon(TCanvas* C)
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    const int T = GetTabsHeight();
    if (FIndex == -1 || !FData || !FDataPicture) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(TRect(0, T + 2, Width(), Height()));
        TBitmap B;
        B.SetSize(Width(), T + 2);
        B.Canvas()->Brush()->SetStyle(bsSolid);
        B.Canvas()->Brush()->SetColor(clBtnShadow);
        B.Canvas()->FillRect(TRect(0, 0, Width(), T + 2));
        if (FTabs->Count() == 0) {
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(GetPageRect());
        }
        B.Canvas()->Font()->Assign(Font());
        CalcLayout(B.Canvas());
        if (HasVisibleTabs())
            for (int I = 0; I < FTabs->Count(); ++I)
                if (FTabs->Items(I)->Visible() && FTabs->Items(I)->Page()) DrawDefaultTab(B.Canvas(), I);
        if (FButtons->Count() > 0 && FButtonsImageList)
            for (int I = 0; I < FButtons->Count(); ++I)
                if (FButtons->Items(I)->Visible()) DrawButton(B.Canvas(), I);
        for (int I = 0; I < FMDIButtons->Count(); ++I) DrawMDIButton(B.Canvas(), I);
        C->Draw(0, 0, &B);
        return;
    }

    TbsDataSkinTabControl* D = FData;
    const TRect P = GetPageRect();
    const TRect R(0, T, Width(), Height());
    const int DX = R.Width() - WidthOfRect(D->SkinRect), DY = R.Height() - HeightOfRect(D->SkinRect);
    const TPoint NewLT = D->LTPoint, NewRT(D->RTPoint.X + DX, D->RTPoint.Y), NewLB(D->LBPoint.X, D->LBPoint.Y + DY),
                 NewRB(D->RBPoint.X + DX, D->RBPoint.Y + DY);
    const TRect NewCl(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY);
    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, NewLT, NewRT, NewLB, NewRB, NewCl,
                           &LeftB, &TopB, &RightB, &BottomB, FDataPicture, D->SkinRect, R.Width(), R.Height(),
                           D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch);
    const int TopH = TopB.Empty() ? 0 : TopB.Height();
    TBitmap S;
    S.SetSize(Width(), TopH + T);
    TCanvas* SC = S.Canvas();
    if (!TopB.Empty()) SC->Draw(0, T, &TopB);
    if (!IsEmptyRect(D->TabsBGRect)) {
        TBitmap Part;
        bsCopyPicturePart(&Part, FDataPicture, D->TabsBGRect);
        if (Usable(&Part)) SC->StretchDraw(TRect(0, 0, Width(), T), &Part);
    } else {
        SC->Brush()->SetStyle(bsSolid);
        SC->Brush()->SetColor(SkinData()->FSkinColors ? SkinData()->FSkinColors->FcBtnShadow : clBtnShadow);
        SC->FillRect(TRect(0, 0, Width(), T));
    }
    if (FUseSkinFont) {
        SC->Font()->SetName(D->FontName);
        SC->Font()->SetStyle(D->FontStyle);
        SC->Font()->SetHeight(D->FontHeight);
    } else {
        SC->Font()->Assign(Font());
    }
    CalcLayout(SC);
    if (HasVisibleTabs())
        for (int I = 0; I < FTabs->Count(); ++I)
            if (FTabs->Items(I)->Visible() && FTabs->Items(I)->Page()) DrawSkinTab(SC, I);
    if (FButtons->Count() > 0 && FButtonsImageList)
        for (int I = 0; I < FButtons->Count(); ++I)
            if (FButtons->Items(I)->Visible()) DrawButton(SC, I);
    for (int I = 0; I < FMDIButtons->Count(); ++I) DrawMDIButton(SC, I);

    if (!LeftB.Empty()) C->Draw(R.Left, R.Top + TopH, &LeftB);
    if (!RightB.Empty()) C->Draw(R.Left + R.Width() - RightB.Width(), R.Top + TopH, &RightB);
    if (!BottomB.Empty()) C->Draw(R.Left, R.Top + R.Height() - BottomB.Height(), &BottomB);
    C->Draw(0, 0, &S);
    if (FTabs->Count() == 0 || !HasVisibleTabs()) PaintClientBG(C, P);
}

void TbsRibbon::DrawTabCaption(TCanvas* C, const String& S, const TRect& R)
{
    if (MeasureCaption(C, S) > R.Width()) DrawSingleLineText(C, S, R);
    else DrawCaptionTextCentered(C, S, R);
}

void TbsRibbon::DrawDefaultTab(TCanvas* C, int Index)
{
    TbsRibbonTab* Tab = FTabs->Items(Index);
    const TRect& R = Tab->ItemRect;
    const String& S = Tab->Page()->Caption();
    if (Index == FTabIndex) {
        TBitmap B;
        B.SetSize(R.Width(), R.Height() + 2);
        TCanvas* BC = B.Canvas();
        BC->Brush()->SetStyle(bsSolid);
        BC->Brush()->SetColor(clBtnFace);
        BC->FillRect(TRect(0, 0, B.Width(), B.Height()));
        BC->Font()->Assign(C->Font());
        BC->Font()->SetColor(clBtnText);
        if (FTabBoldStyle) {
            TFontStyles St = BC->Font()->Style();
            St.Include(fsBold);
            BC->Font()->SetStyle(St);
        }
        BC->Brush()->SetStyle(bsClear);
        DrawTabCaption(BC, S, TRect(3, 0, B.Width() - 3, B.Height() - 1));
        C->Draw(R.Left, R.Top, &B);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clBtnHighlight);
    DrawTabCaption(C, S, TRect(R.Left + 3, R.Top, R.Right - 3, R.Bottom));
    if (FShowDivider) {
        C->Pen()->SetColor(cl3DDkShadow);
        C->MoveTo(R.Right, R.Top);
        C->LineTo(R.Right, R.Bottom + 1);
    }
}

void TbsRibbon::DrawSkinTab(TCanvas* C, int Index)
{
    TbsDataSkinTabControl* D = FData;
    TbsRibbonTab* Tab = FTabs->Items(Index);
    const TRect& R = Tab->ItemRect;
    const String& S = Tab->Page()->Caption();
    const bool Selected = Index == FTabIndex;
    const bool MenuShown = AppMenuVisible();
    auto Image = [&](const TRect& Src, TColor FontColor, bool Bold, int TextBottomInset) {
        TBitmap B;
        CreateHSkinImage(D->TabLeftOffset, D->TabRightOffset, &B, FDataPicture, Src, R.Width(), HeightOfRect(Src),
                         D->TabStretchEffect);
        TCanvas* BC = B.Canvas();
        BC->Font()->Assign(C->Font());
        BC->Font()->SetColor(FontColor);
        TFontStyles St = BC->Font()->Style();
        if (Bold) St.Include(fsBold);
        else St.Exclude(fsBold);
        BC->Font()->SetStyle(St);
        BC->Brush()->SetStyle(bsClear);
        DrawTabCaption(BC, S, TRect(3, 0, B.Width() - 3, B.Height() - TextBottomInset));
        C->Draw(R.Left, R.Top, &B);
    };
    if (Selected && Focused() && !IsEmptyRect(D->FocusTabRect) && !MenuShown) {
        Image(D->FocusTabRect, D->FocusFontColor, FTabBoldStyle, 1);
        return;
    }
    if (Selected && !IsEmptyRect(D->ActiveTabRect) && !MenuShown) {
        Image(D->ActiveTabRect, D->ActiveFontColor, FTabBoldStyle, 1);
        return;
    }
    if (!Tab->Active || IsEmptyRect(D->MouseInTabRect)) {
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(Tab->Active ? D->MouseInFontColor : D->FontColor);
        TFontStyles St = C->Font()->Style();
        St.Exclude(fsBold);
        C->Font()->SetStyle(St);
        DrawTabCaption(C, S, TRect(R.Left + 3, R.Top, R.Right - 3, R.Bottom));
        if (FShowDivider) {
            if (IsEmptyRect(D->DividerRect)) {
                C->Pen()->SetColor(SkinData()->FSkinColors ? SkinData()->FSkinColors->FcBtnShadow : clBtnShadow);
                C->MoveTo(R.Right, R.Top);
                C->LineTo(R.Right, R.Bottom);
            } else {
                TBitmap B;
                bsCopyPicturePart(&B, FDataPicture, D->DividerRect);
                if (Usable(&B)) {
                    if (D->DividerTransparent) {
                        B.SetTransparent(true);
                        B.SetTransparentMode(tmFixed);
                        B.SetTransparentColor(D->DividerTransparentColor);
                    }
                    C->Draw(R.Right - B.Width(), R.Bottom - B.Height(), &B);
                }
            }
        }
        return;
    }
    Image(D->MouseInTabRect, D->MouseInFontColor, false, 0);
}

void TbsRibbon::DrawButton(TCanvas* C, int Index)
{
    TbsRibbonButtonItem* Bt = FButtons->Items(Index);
    const TRect& R = Bt->ItemRect;
    const bool Hot = Bt->Active, Pressed = Bt->Down && Bt->Active, PopupOpen = Index == FPopupButton;
    const int Side = R.Width();
    if (FIndex == -1 || !FData || !FDataPicture) {
        if (Hot) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(Pressed ? cl3DDkShadow : clBtnFace);
            C->FillRect(TRect(R.Left, R.Top, R.Left + Side, R.Top + Side));
        }
    } else if (Hot || PopupOpen) {
        TbsSkinData* SD = SkinData();
        int I = SD->GetControlIndex("officeribbonbutton");
        if (I == -1) I = SD->GetControlIndex("resizetoolbutton");
        auto* BD = I != -1 ? dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[size_t(I)].get()) : nullptr;
        TBitmap* Pic = BD ? SD->ActivePicture(BD->PictureIndex) : nullptr;
        if (BD && Usable(Pic)) {
            const TRect Src = Pressed || PopupOpen ? BD->DownSkinRect : BD->ActiveSkinRect;
            if (!IsEmptyRect(Src)) {
                TBitmap B;
                B.SetSize(Side, Side);
                CreateStretchSkinImage(&B, Pic, Src, BD->ClRect, true);
                C->Draw(R.Left, R.Top, &B);
            }
        }
    }
    if (FButtonsImageList && Bt->ImageIndex() >= 0 && Bt->ImageIndex() < FButtonsImageList->Count()) {
        const int IW = FButtonsImageList->Width(), IH = FButtonsImageList->Height();
        FButtonsImageList->Draw(C, R.Left + R.Width() / 2 - IW / 2, R.Top + R.Height() / 2 - IH / 2, Bt->ImageIndex(),
                                Bt->Enabled());
    }
}

void TbsRibbon::DrawMDIButton(TCanvas* C, int Index)
{
    TbsRibbonButtonItem* Bt = FMDIButtons->Items(Index);
    const TRect& R = Bt->ItemRect;
    if (FIndex == -1 || !FData || !FDataPicture) {
        const TColor Color = Bt->Active || Bt->Down ? clBtnHighlight : clBtnText;
        const int X = R.Left + R.Width() / 2 - 5, Y = R.Top + R.Height() / 2 - 4;
        switch (Bt->Code) {
        case 1: DrawCloseImage(C, X, Y, Color); break;
        case 2: DrawRestoreImage(C, X, Y, Color); break;
        case 3: DrawMinimizeImage(C, X, Y, Color); break;
        default: break;
        }
        return;
    }
    TbsDataSkinTabControl* D = FData;
    TRect Normal, Active, Down;
    switch (Bt->Code) {
    case 1: Normal = D->MDICloseRect, Active = D->MDICloseActiveRect, Down = D->MDICloseDownRect; break;
    case 2: Normal = D->MDIRestoreRect, Active = D->MDIRestoreActiveRect, Down = D->MDIRestoreDownRect; break;
    case 3: Normal = D->MDIMinRect, Active = D->MDIMinActiveRect, Down = D->MDIMinDownRect; break;
    default: return;
    }
    if (IsEmptyRect(Active)) Active = Normal;
    if (IsEmptyRect(Down)) Down = Active;
    const TRect Src = Bt->Active && Bt->Down ? Down : Bt->Active ? Active : Normal;
    if (IsEmptyRect(Src)) return;
    TBitmap B;
    bsCopyPicturePart(&B, FDataPicture, Src);
    if (!Usable(&B)) return;
    if (D->MDIButtonsTransparent) {
        B.SetTransparent(true);
        B.SetTransparentMode(tmFixed);
        B.SetTransparentColor(D->MDIButtonsTransparentColor);
    }
    C->Draw(R.Left, R.Top, &B);
}

void TbsRibbon::PaintClientBG(TCanvas* C, const TRect& R)
{
    if (Width() < 1 || Height() < 1) return;
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    GetSkinData();
    TbsDataSkinTabControl* D = FData;
    if (FIndex != -1 && D) {
        // an empty picture, or an index outside the skin's pictures, counts as none: the
        // client part of the record's picture is used instead
        TBitmap* Src = nullptr;
        TBitmap Part;
        if (D->BGPictureIndex != -1) {
            TBitmap* BG = SkinData()->ActivePicture(D->BGPictureIndex);
            if (Usable(BG)) Src = BG;
        }
        if (!Src && FDataPicture) {
            TRect CR = D->ClRect;
            CR = TRect(CR.Left + D->SkinRect.Left, CR.Top + D->SkinRect.Top, CR.Right + D->SkinRect.Left,
                       CR.Bottom + D->SkinRect.Top);
            bsCopyPicturePart(&Part, FDataPicture, CR);
            if (Usable(&Part)) Src = &Part;
        }
        if (Src) bsFillWithPiece(C, Src, R, D->StretchEffect, D->StretchType);
    }
    RestoreDC(DC, Saved);
}
