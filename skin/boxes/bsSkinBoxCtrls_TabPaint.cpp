// Painting of the skinned page control: the frame (default or cut from the "tab" record),
// the background while no tab is shown, the tab strip, every tab in its states and positions
// (pictures mirrored for the bottom and turned for the sides), images, captions, the focus
// rectangle, close buttons and the button-style tabs; and the bitmap turning routines.
#include "skin/boxes/bsSkinBoxCtrls.h"

// ---- bitmap routines ------------------------------------------------------------------------------------------

namespace {
// B's picture turned (Left: counter-clockwise) into a new effect bitmap of swapped size.
std::unique_ptr<TbsEffectBmp> Turned(TBitmap* B, bool Left)
{
    TbsEffectBmp Src(B->Handle());
    auto Dst = std::make_unique<TbsEffectBmp>(B->Height(), B->Width());
    if (Left)
        Src.Rotate90_1(Dst.get());
    else
        Src.Rotate90_2(Dst.get());
    return Dst;
}

void TurnInPlace(TBitmap* B, bool Left)
{
    if (B->Width() <= 0 || B->Height() <= 0) return;
    auto D = Turned(B, Left);
    B->SetSize(B->Height(), B->Width());
    D->Draw(B->Canvas()->Handle(), 0, 0);
}

void DrawTurned(TCanvas* C, TBitmap* B, int X, int Y, bool Left)
{
    if (B->Width() <= 0 || B->Height() <= 0) return;
    auto D = Turned(B, Left);
    D->Draw(C->Handle(), X, Y);
}

void FrameFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetStyle(bsSolid);
    if (Frame != clNone) {
        C->Brush()->SetColor(Frame);
        C->FillRect(R);
        C->Brush()->SetColor(Fill);
        C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    } else {
        C->Brush()->SetColor(Fill);
        C->FillRect(R);
    }
}

// Tile repeated from the origin over W x H, or stretched by Type when Stretch.
void FillTile(TCanvas* C, TBitmap* Tile, int W, int H, bool Stretch, TbsStretchType Type)
{
    const int TW = Tile->Width(), TH = Tile->Height();
    if (TW <= 0 || TH <= 0) return;
    if (!Stretch) {
        for (int I = 0; I <= W / TW; ++I)
            for (int J = 0; J <= H / TH; ++J) C->Draw(I * TW, J * TH, Tile);
        return;
    }
    switch (Type) {
    case bsstFull: C->StretchDraw(Rect(0, 0, W, H), Tile); break;
    case bsstHorz:
        for (int I = 0; I <= W / TW; ++I) C->StretchDraw(Rect(I * TW, 0, I * TW + TW, H), Tile);
        break;
    case bsstVert:
        for (int J = 0; J <= H / TH; ++J) C->StretchDraw(Rect(0, J * TH, W, J * TH + TH), Tile);
        break;
    }
}

// A button record's picture grown to W x H from the part Src.
void GrownButton(TBitmap* B, TBitmap* Pic, TbsDataSkinButtonControl* R, const TRect& Src, int W, int H)
{
    const int dw = W - R->SkinRect.Width(), dh = H - R->SkinRect.Height();
    B->SetSize(W, H);
    if (!Pic) return;
    CreateSkinImage(R->LTPoint, R->RTPoint, R->LBPoint, R->RBPoint, R->ClRect, R->LTPoint,
                    Point(R->RTPoint.X + dw, R->RTPoint.Y), Point(R->LBPoint.X, R->LBPoint.Y + dh),
                    Point(R->RBPoint.X + dw, R->RBPoint.Y + dh),
                    Rect(R->ClRect.Left, R->ClRect.Top, R->ClRect.Right + dw, R->ClRect.Bottom + dh), B, Pic, Src, W,
                    H, true, R->LeftStretch, R->TopStretch, R->RightStretch, R->BottomStretch, R->StretchEffect,
                    R->StretchType);
}
}  // namespace

void DrawBitmapRotatedLeft(TCanvas* C, TBitmap* B, int X, int Y) { DrawTurned(C, B, X, Y, true); }
void DrawBitmapRotatedRight(TCanvas* C, TBitmap* B, int X, int Y) { DrawTurned(C, B, X, Y, false); }
void RotateBitmapLeft(TBitmap* B) { TurnInPlace(B, true); }
void RotateBitmapRight(TBitmap* B) { TurnInPlace(B, false); }

void FlipBitmapVert(TBitmap* B)
{
    if (B->Width() <= 0 || B->Height() <= 0) return;
    TbsEffectBmp Src(B->Handle());
    TbsEffectBmp Dst(B->Width(), B->Height());
    Src.FlipVert(&Dst);
    Dst.Draw(B->Canvas()->Handle(), 0, 0);
}

void DrawTabImageAndText(TCanvas* C, int W, int H, int Shift, bool AEnabled, int ImageIndex,
                         TCustomImageList* Images, const String& Caption)
{
    int TW = 0, TH = 0;
    if (!Caption.empty()) {
        TRect R(0, 0, 0, 0);
        DrawWideText(C, Caption, R, DT_CALCRECT | DT_SINGLELINE);
        TW = R.Width() + 2;
        TH = R.Height();
    }
    const int IW = Images ? Images->Width() : 0, IH = Images ? Images->Height() : 0;
    const int X = W / 2 - (TW + IW + 2) / 2;
    TRect TR(X + IW + 2, H / 2 + Shift - TH / 2, X + IW + 2 + TW, H / 2 + Shift - TH / 2 + TH);
    C->Brush()->SetStyle(bsClear);
    DrawWideText(C, Caption, TR, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count())
        Images->Draw(C, X, H / 2 + Shift - IH / 2, ImageIndex, AEnabled);
}

// ---- the window -----------------------------------------------------------------------------------------------

void TbsSkinPageControl::PaintWindow(HDC DC)
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TSaveDC Keep(DC);
    TCanvas C;
    C.SetHandle(DC);
    if (FIndex == -1)
        DrawDefaultFrame(&C);
    else
        DrawSkinFrame(&C);
    DrawTabs(&C);
    C.SetHandle(nullptr);
}

void TbsSkinPageControl::DrawDefaultFrame(TCanvas* C)
{
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    if (FHideBorder) return;
    TRect D = DisplayRect();
    D = Rect(D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(D);
}

TRect TbsSkinPageControl::GetActiveTabClipRect()
{
    if (TabIndex() < 0 || TabIndex() >= PageCount() || !HasVisibleTabs() || !ActivePage()) return TRect();
    TRect R = GetItemRect(TabIndex());
    const int D = ActiveTabRect.Height() - TabRect.Height();
    switch (TabPosition()) {
    case tpTop: R.Bottom += D; break;
    case tpBottom: R.Top -= D; break;
    case tpLeft: R.Right += D; break;
    case tpRight: R.Left -= D; break;
    }
    return R;
}

void TbsSkinPageControl::DrawSkinFrame(TCanvas* C)
{
    if (FHideBorder || !Picture) return;
    GetSkinData();
    const TRect D = DisplayRect();
    const TRect F(D.Left - ClRect.Left, D.Top - ClRect.Top, D.Right + SkinRect.Width() - ClRect.Right,
                  D.Bottom + SkinRect.Height() - ClRect.Bottom);
    if (F.Width() <= 0 || F.Height() <= 0) return;
    const int dx = F.Width() - SkinRect.Width(), dy = F.Height() - SkinRect.Height();
    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, Point(RTPoint.X + dx, RTPoint.Y),
                           Point(LBPoint.X, LBPoint.Y + dy), Point(RBPoint.X + dx, RBPoint.Y + dy),
                           Rect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy), &LeftB, &TopB,
                           &RightB, &BottomB, Picture, SkinRect, F.Width(), F.Height(), LeftStretch, TopStretch,
                           RightStretch, BottomStretch);
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    const TRect Clip = GetActiveTabClipRect();
    if (!Clip.IsEmpty() && !FHideTabs && Style() == tsTabs)
        ExcludeClipRect(DC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
    C->Draw(F.Left, F.Top, &TopB);
    C->Draw(F.Left, F.Top + TopB.Height(), &LeftB);
    C->Draw(F.Right - RightB.Width(), F.Top + TopB.Height(), &RightB);
    C->Draw(F.Left, F.Bottom - BottomB.Height(), &BottomB);
    RestoreDC(DC, Saved);
}

void TbsSkinPageControl::DrawSkinBackground(TCanvas* C)
{
    if (Width() < 1 || Height() < 1) return;
    TBitmap Tile;
    TBitmap* P = nullptr;
    if (BGPictureIndex != -1 && FSD) P = FSD->ActivePicture(BGPictureIndex);
    if (!P && Picture && !IsEmptyRect(ClRect)) {
        bsCopyPicturePart(&Tile, Picture,
                          Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                               SkinRect.Top + ClRect.Bottom));
        P = &Tile;
    }
    if (!P) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    FillTile(C, P, Width(), Height(), StretchEffect, StretchType);
}

// ---- the strip ------------------------------------------------------------------------------------------------

void TbsSkinPageControl::DrawTabs(TCanvas* C)
{
    if (FHideTabs || PageCount() == 0) return;
    if (FIndex == -1) {
        int Tab = 0;
        for (int I = 0; I < PageCount(); ++I) {
            if (!Pages(I)->TabVisible()) continue;
            DrawTab(I, GetItemRect(Tab), C, Tab == FActiveTabIndex, Tab == TabIndex());
            ++Tab;
        }
        return;
    }
    GetSkinData();
    const TRect D = DisplayRect();
    const TRect F(D.Left - ClRect.Left, D.Top - ClRect.Top, D.Right + SkinRect.Width() - ClRect.Right,
                  D.Bottom + SkinRect.Height() - ClRect.Bottom);
    int BW = 0, BH = 0;
    switch (TabPosition()) {
    case tpTop: BW = Width(), BH = F.Top; break;
    case tpBottom: BW = Width(), BH = Height() - F.Bottom; break;
    case tpLeft: BW = F.Left, BH = Height(); break;
    case tpRight: BW = Width() - F.Right, BH = Height(); break;
    }
    if (IsEmptyRect(TabsBGRect))
        TabsBGRect = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                          SkinRect.Top + ClRect.Bottom);
    int SelPage = 0;
    if (BW > 0 && BH > 0) {
        TBitmap B;
        B.SetSize(BW, BH);
        if (FTabsBGTransparent) {
            TRect Area;
            switch (TabPosition()) {
            case tpTop: Area = Rect(0, 0, Width(), F.Top); break;
            case tpBottom: Area = Rect(0, F.Bottom, Width(), Height()); break;
            case tpLeft: Area = Rect(0, 0, F.Left, F.Bottom); break;
            case tpRight: Area = Rect(F.Right, 0, Width(), Height()); break;
            }
            DrawParentBackgroundInRect(this, Area, B.Canvas());
        } else if (Picture && !IsEmptyRect(TabsBGRect)) {
            TBitmap Tile;
            bsCopyPicturePart(&Tile, Picture, TabsBGRect);
            FillTile(B.Canvas(), &Tile, BW, BH, false, bsstFull);
        }
        int Tab = 0;
        for (int I = 0; I < PageCount(); ++I) {
            if (!Pages(I)->TabVisible()) continue;
            if (Tab == TabIndex()) {
                SelPage = I;
                ++Tab;
                continue;
            }
            TRect R = GetItemRect(Tab);
            if (TabPosition() == tpBottom) R = Rect(R.Left, R.Top - F.Bottom, R.Right, R.Bottom - F.Bottom);
            if (TabPosition() == tpRight) R = Rect(R.Left - F.Right, R.Top, R.Right - F.Right, R.Bottom);
            DrawTab(I, R, B.Canvas(), Tab == FActiveTabIndex, false);
            ++Tab;
        }
        HDC DC = C->Handle();
        const int Saved = SaveDC(DC);
        const TRect Clip = GetActiveTabClipRect();
        if (!Clip.IsEmpty()) ExcludeClipRect(DC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
        switch (TabPosition()) {
        case tpTop:
        case tpLeft: C->Draw(0, 0, &B); break;
        case tpBottom: C->Draw(0, Height() - BH, &B); break;
        case tpRight: C->Draw(Width() - BW, 0, &B); break;
        }
        RestoreDC(DC, Saved);
    }
    if (TabIndex() >= 0 && TabIndex() < PageCount()) {
        int Tab = 0;
        for (int I = 0; I < PageCount(); ++I) {
            if (!Pages(I)->TabVisible()) continue;
            if (Tab++ == TabIndex()) SelPage = I;
        }
        TRect R = GetItemRect(TabIndex());
        if (TabRect.Height() != ActiveTabRect.Height()) {
            const int DD = Style() == tsTabs ? ActiveTabRect.Height() - TabRect.Height() : 0;
            if (TabPosition() == tpBottom) R = Rect(R.Left, R.Top - DD, R.Right, R.Bottom - DD);
            if (TabPosition() == tpRight) R = Rect(R.Left - DD, R.Top, R.Right - DD, R.Bottom);
        }
        DrawTab(SelPage, R, C, TabIndex() == FActiveTabIndex, true);
    }
}

TbsDataSkinButtonControl* TbsSkinPageControl::ButtonRecord(const String& Name) const
{
    if (!FSD) return nullptr;
    const int I = FSD->GetControlIndex(Name);
    if (I == -1) return nullptr;
    return dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get());
}

TColor TbsSkinPageControl::DrawButtonTab(TBitmap* T, bool Active, bool MouseIn)
{
    TbsDataSkinButtonControl* R = ButtonRecord(FButtonTabSkinDataName);
    if (!R) return Font()->Color();
    const TRect ActivePart = IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
    const TRect DownPart = IsEmptyRect(R->DownSkinRect) ? ActivePart : R->DownSkinRect;
    const TRect Src = Active ? DownPart : MouseIn ? ActivePart : R->SkinRect;
    GrownButton(T, FSD->ActivePicture(R->PictureIndex), R, Src, T->Width(), T->Height());
    return Active ? R->DownFontColor : MouseIn ? R->ActiveFontColor : R->FontColor;
}

void TbsSkinPageControl::DrawTab(int PageIndex, TRect R, TCanvas* C, bool MouseIn, bool Active)
{
    if (FHideTabs || PageIndex >= PageCount() || PageIndex < 0) return;
    TTabSheet* Page = Pages(PageIndex);
    const bool HasImage = FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
    const String Caption = Page->Caption();
    const bool Side = Vertical();
    const int Len = Side ? R.Height() : R.Width();
    const int Thick = Side ? R.Width() : R.Height();
    if (Len <= 0 || Thick <= 0) return;
    const bool Foc = Focused();
    TBitmap T;
    T.SetSize(Len, Thick);
    TRect TR(0, 0, Len, Thick);
    TCanvas* TC = T.Canvas();
    TColor TextColor = Font()->Color();
    const bool Skinned = FIndex != -1;
    if (!Skinned) {
        if (MouseIn && !Active)
            FrameFill(TC, TR, clNone, bsDefaultHotColor);
        else if (Active && Foc)
            FrameFill(TC, TR, bsDefaultFrameColor, bsDefaultDownColor);
        else if (!Active)
            FrameFill(TC, TR, clNone, clBtnFace);
        else
            FrameFill(TC, TR, bsDefaultFrameColor, bsDefaultHotColor);
        TC->Brush()->SetStyle(bsClear);
        TC->Font()->Assign(Font());
        if (FSD && FSD->ResourceStrData()) TC->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    } else {
        if (Style() != tsTabs)
            TextColor = DrawButtonTab(&T, Active, MouseIn);
        else if (Picture) {
            TRect S;
            if (MouseIn && !Active && !IsEmptyRect(MouseInTabRect)) S = MouseInTabRect;
            else if (Active && Foc) S = FocusTabRect;
            else if (!Active) S = TabRect;
            else S = ActiveTabRect;
            if (TabHeight() > 0) {
                const int Q = TabRect.Height() / 4;
                if (Active && TabRect.Height() < ActiveTabRect.Height())
                    T.SetSize(Len, Thick + ActiveTabRect.Height() - TabRect.Height());
                else if (Active && Foc && TabRect.Height() < FocusTabRect.Height())
                    T.SetSize(Len, Thick + FocusTabRect.Height() - TabRect.Height());
                CreateStretchSkinImage(&T, Picture, S, Rect(TabLeftOffset, Q, S.Width() - TabRightOffset, S.Height() - Q),
                                       true);
            } else
                CreateHSkinImage(TabLeftOffset, TabRightOffset, &T, Picture, S, Len, Thick, TabStretchEffect);
            if (Active && R.Left == 0 && !IsEmptyRect(TabLeftBottomActiveRect) && !MultiLine() && !Side) {
                const TRect P = Foc ? TabLeftBottomFocusRect : TabLeftBottomActiveRect;
                T.Canvas()->CopyRect(Rect(0, T.Height() - P.Height(), P.Width(), T.Height()), Picture->Canvas(), P);
            }
        }
        TC = T.Canvas();
        if (TabPosition() == tpBottom) FlipBitmapVert(&T);
        TC->Brush()->SetStyle(bsClear);
        if (FUseSkinFont) {
            TC->Font()->SetName(FontName);
            TC->Font()->SetStyle(FontStyle);
            TC->Font()->SetHeight(FontHeight);
        } else
            TC->Font()->Assign(Font());
        if (FSD && FSD->ResourceStrData())
            TC->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
        else
            TC->Font()->SetCharset(Font()->Charset());
        if (Style() == tsTabs) {
            if (MouseIn && !Active) TextColor = MouseInFontColor;
            else if (Active && Foc) TextColor = FocusFontColor;
            else if (!Active) TextColor = FontColor;
            else TextColor = ActiveFontColor;
        }
        TC->Font()->SetColor(TextColor);
    }
    if (FTextInHorizontal && Side) {
        if (TabPosition() == tpLeft) RotateBitmapLeft(&T);
        else RotateBitmapRight(&T);
        TC = T.Canvas();
        TC->Brush()->SetStyle(bsClear);
        TR = Rect(0, 0, T.Width(), T.Height());
    }
    const TColor CaptionColor = TC->Font()->Color();
    if (Skinned && ShowFocus && Foc && Active) {
        TC->Brush()->SetStyle(bsSolid);
        TC->Brush()->SetColor(FSD && FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        DrawDottedFocusRect(TC, Rect(TR.Left + FocusOffsetX, TR.Top + FocusOffsetY, TR.Right - FocusOffsetX,
                                     TR.Bottom - FocusOffsetY));
        TC->Brush()->SetStyle(bsClear);
    }
    int ImageShift = 0;
    if (Skinned && TabRect.Height() != ActiveTabRect.Height() && !Active) {
        const int S = (TabPosition() == tpTop || TabPosition() == tpLeft) ? 2 : -2;
        TR.Top += S;
        if (HasImage) ImageShift = S;
    }
    const int CS = FShowCloseButtons ? FCloseSize + 2 : 0;
    TC->Font()->SetColor(CaptionColor);
    if (OnDrawSkinTab)
        OnDrawSkinTab(PageIndex, Rect(0, 0, T.Width(), T.Height()), Active, MouseIn, TC);
    else if (HasImage || FTabExtendedDraw) {
        if (FTabExtendedDraw)
            DrawImageAndText(TC, Rect(TR.Left, TR.Top, TR.Right - CS, TR.Bottom), FTabMargin, FTabSpacing, FTabLayout,
                             Caption, Page->ImageIndex(), FImages, false, Page->Enabled(), false, 0);
        else
            DrawTabImageAndText(TC, T.Width() - CS, T.Height(), ImageShift, Page->Enabled(), Page->ImageIndex(),
                                FImages, Caption);
    } else {
        TRect CR = TR;
        if (CS) CR.Right -= Skinned ? CS + 3 : CS;
        DrawCaptionTextCentered(TC, Caption, CR);
    }
    if (CS) TR.Right -= Skinned ? CS + 3 : CS;
    if (FShowCloseButtons) {
        if (auto* S = SheetOf(PageIndex)) {
            if (!MouseIn) S->ButtonMouseIn = false;
            DrawCloseButton(TC, Rect(TR.Right, TR.Top + ImageShift, T.Width(), TR.Bottom), T.Height(), T.Width(),
                            PageIndex);
        }
    }
    if (TabPosition() == tpLeft && !FTextInHorizontal)
        DrawBitmapRotatedLeft(C, &T, R.Left, R.Top);
    else if (TabPosition() == tpRight && !FTextInHorizontal)
        DrawBitmapRotatedRight(C, &T, R.Left, R.Top);
    else
        C->Draw(R.Left, R.Top, &T);
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* C, TRect A, int H, int W, int PageIndex)
{
    auto* S = SheetOf(PageIndex);
    if (!S) return;
    const bool Pressed = S->ButtonMouseDown && S->ButtonMouseIn, Hot = S->ButtonMouseIn;
    TRect B;
    if (FIndex == -1) {
        const int M = A.Top + A.Height() / 2;
        B = Rect(A.Left, M - 7, A.Left + 14, M + 7);
        DrawCloseImage(C, B.Left + 2, B.Top + 2, Hot || Pressed ? clWhite : clBlack);
    } else if (IsEmptyRect(CloseButtonRect)) {
        TbsDataSkinButtonControl* R = ButtonRecord("resizetoolbutton");
        if (!R) return;
        const TRect ActivePart = IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
        const TRect DownPart = IsEmptyRect(R->DownSkinRect) ? ActivePart : R->DownSkinRect;
        TBitmap Btn;
        GrownButton(&Btn, FSD->ActivePicture(R->PictureIndex), R,
                    Pressed ? DownPart : Hot ? ActivePart : R->SkinRect, FCloseSize, FCloseSize);
        DrawCloseImage(Btn.Canvas(), Btn.Width() / 2 - 5, Btn.Height() / 2 - 5,
                       Pressed ? R->DownFontColor : Hot ? R->ActiveFontColor : R->FontColor);
        const int Top = A.Top + A.Height() / 2 - Btn.Height() / 2;
        B = Rect(A.Left, Top, A.Left + Btn.Width(), Top + Btn.Height());
        C->Draw(B.Left, B.Top, &Btn);
    } else {
        const TRect P = Pressed ? CloseButtonDownRect : Hot ? ClosebuttonActiveRect : CloseButtonRect;
        const int Top = A.Top + A.Height() / 2 - P.Height() / 2;
        B = Rect(A.Left, Top, A.Left + P.Width(), Top + P.Height());
        if (Picture) {
            if (ButtonTransparent) {
                TBitmap Part;
                bsCopyPicturePart(&Part, Picture, P);
                Part.SetTransparentColor(ButtonTransparentColor);
                Part.SetTransparent(true);
                C->Draw(B.Left, B.Top, &Part);
            } else
                C->CopyRect(B, Picture->Canvas(), P);
        }
    }
    if (TabPosition() == tpLeft && !FTextInHorizontal)
        B = Rect(B.Top, W - B.Right, B.Bottom, W - B.Left);
    else if (TabPosition() == tpRight && !FTextInHorizontal)
        B = Rect(H - B.Bottom, B.Left, H - B.Top, B.Right);
    S->ButtonRect = B;
}
