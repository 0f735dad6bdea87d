// The skinned panel, paint panel and group box: frame and caption band from the skin or the
// default look, roll-up, checked mode, transparent mode and background pictures.
#include <algorithm>

#include "skin/controls/bsSkinCtrls.h"

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner) : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable};
    FForceBackground = true;
    NewClRect = TRect();
    FSkinDataName = "panel";
    SetBounds(FLeft, FTop, 150, 150);
}

TbsSkinPanel::~TbsSkinPanel() = default;

// ---- properties ------------------------------------------------------------------------------------

void TbsSkinPanel::SetRibbonStyle(bool Value)
{
    if (FRibbonStyle == Value) return;
    FRibbonStyle = Value;
    Repaint();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value)
{
    if (FImagePosition == Value) return;
    FImagePosition = Value;
    Repaint();
}

void TbsSkinPanel::SetCaptionImageIndex(int Value)
{
    if (FCaptionImageIndex == Value) return;
    FCaptionImageIndex = Value;
    Repaint();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value)
{
    FCaptionImageList = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinPanel::SetGlyph(TBitmap* Value)
{
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TbsSkinPanel::SetNumGlyphs(TbsSkinPanelNumGlyphs Value)
{
    FNumGlyphs = Value < 1 ? 1 : Value > 2 ? 2 : Value;
    Repaint();
}

void TbsSkinPanel::SetSpacing(int Value)
{
    FSpacing = Value;
    Repaint();
}

void TbsSkinPanel::SetCheckedMode(bool Value)
{
    FCheckedMode = Value;
    Repaint();
}

void TbsSkinPanel::SetTransparentMode(bool Value)
{
    if (FTransparentMode == Value) return;
    FTransparentMode = Value;
    Repaint();
    if (!IsDesigning() && !ComponentState().Contains(csLoading)) NotifyChildrenParentBackground();
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value)
{
    FDefaultAlignment = Value;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetRollUpMode(bool Value)
{
    FRollUpMode = Value;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value)
{
    FBorderStyle = Value;
    if (FIndex == -1) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetDefaultCaptionHeight(int Value)
{
    FDefaultCaptionHeight = Value;
    if ((FIndex == -1 || !FUseSkinSize) && FCaptionMode) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetCaptionMode(bool Value)
{
    FCaptionMode = Value;
    Repaint();
    Realign();
}

void TbsSkinPanel::SetChecked(bool Value)
{
    FChecked = Value;
    if (FCheckedMode) Repaint();
    if (FAutoEnabledControls && FCheckedMode)
        for (int I = 0; I < ControlCount(); ++I) Controls(I)->SetEnabled(FChecked);
    if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::SetRollUpState(bool Value)
{
    if (FRollUpState == Value) return;
    if (!FRollUpMode) {
        RestoreConstraints();
        FRollUpState = false;
        return;
    }
    // rolled up, the panel is free of its size limits; they are saved once, on the way
    // up, so that rolling down gives the user's limits back
    if (Value && !FConstraintsSaved) {
        FCMaxWidth = Constraints().MaxWidth;
        FCMinWidth = Constraints().MinWidth;
        FCMaxHeight = Constraints().MaxHeight;
        FCMinHeight = Constraints().MinHeight;
        FConstraintsSaved = true;
        SetConstraints(TSizeConstraints());
    }
    FRollUpState = Value;
    DoRollUp(Value);
    if (!Value) RestoreConstraints();
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinPanel::RestoreConstraints()
{
    if (!FConstraintsSaved) return;
    TSizeConstraints C;
    C.MaxWidth = FCMaxWidth;
    C.MinWidth = FCMinWidth;
    C.MaxHeight = FCMaxHeight;
    C.MinHeight = FCMinHeight;
    FConstraintsSaved = false;
    SetConstraints(C);
}

void TbsSkinPanel::DoRollUp(bool ARollUp)
{
    FInChangingRollUp = true;
    if (ARollUp) {
        if (FRealHeight == -1) {
            FRealHeight = Height();
            DisableAlign();
            // only the children shown now come back when the panel rolls down
            for (int I = 0; I < ControlCount(); ++I) {
                TControl* C = Controls(I);
                if (!C->Visible()) continue;
                if (std::find(FRolledUpChildren.begin(), FRolledUpChildren.end(), C) == FRolledUpChildren.end())
                    FRolledUpChildren.push_back(C);
                C->SetVisible(false);
            }
            if (FIndex == -1 || !FUseSkinSize)
                SetHeight(FDefaultCaptionHeight + 1);
            else
                SetHeight(Height() - NewClRect.Height());
        }
    } else if (FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        std::vector<TControl*> Shown;
        Shown.swap(FRolledUpChildren);
        for (int I = 0; I < ControlCount(); ++I) {
            TControl* C = Controls(I);
            if (std::find(Shown.begin(), Shown.end(), C) != Shown.end()) C->SetVisible(true);
        }
        EnableAlign();
    }
    FInChangingRollUp = false;
}

bool TbsSkinPanel::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (FRollUpMode && FInChangingRollUp && AutoSize()) return false;
    return TbsSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

void TbsSkinPanel::CreateParams(TCreateParams& Params)
{
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- skin ------------------------------------------------------------------------------------------

void TbsSkinPanel::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        CaptionRect = R->CaptionRect;
        Alignment = R->Alignment;
        FontName = R->FontName;
        FontColor = R->FontColor;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        BGPictureIndex = R->BGPictureIndex;
        CheckImageRect = R->CheckImageRect;
        UnCheckImageRect = R->UnCheckImageRect;
        MarkFrameRect = R->MarkFrameRect;
        FrameRect = R->FrameRect;
        FrameTextRect = R->FrameTextRect;
        FrameLeftOffset = R->FrameLeftOffset;
        FrameRightOffset = R->FrameRightOffset;
    }
}

void TbsSkinPanel::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    if (FRollUpState && FRealHeight != -1) {
        const int Saved = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = Saved;
    } else
        Realign();
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

void TbsSkinPanel::AdjustClientRect(TRect& R)
{
    if (FEmptyDrawing) return;
    GetSkinData();
    if (FIndex == -1 || IsDesigning()) {
        if (FBorderStyle != bvNone) R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                R.Bottom -= FDefaultCaptionHeight;
            else
                R.Top += FDefaultCaptionHeight;
        }
        return;
    }
    const TRect Inherited = R;
    if (BGPictureIndex == -1 && (FBorderStyle != bvNone || FCaptionMode || ResizeMode != 1)) {
        int W = Width(), H = Height();
        CalcSize(W, H);
        R = NewClRect;
    }
    if (!FUseSkinSize && FCaptionMode) {
        if (FRibbonStyle)
            R.Bottom = Inherited.Bottom - FDefaultCaptionHeight;
        else
            R.Top = Inherited.Top + FDefaultCaptionHeight;
    }
}

void TbsSkinPanel::GetSkinClientRect(TRect& R)
{
    R = Rect(0, 0, Width(), Height());
    AdjustClientRect(R);
}

void TbsSkinPanel::PaintskinTo(TCanvas* C, int X, int Y)
{
    GetSkinData();
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&B);
    else
        CreateControlSkinImage(&B);
    C->Draw(X, Y, &B);
}

TColor TbsSkinPanel::SkinColor(TColor TbsSkinColors::* Field, TColor Fallback) const
{
    if (FSD && FSD->FSkinColors) return (*FSD->FSkinColors).*Field;
    return Fallback;
}

// ---- default look ----------------------------------------------------------------------------------

void TbsSkinPanel::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    switch (FBorderStyle) {
    case bvFrame: DrawFrame3D(C, Rect(0, 0, W, H), clBtnShadow, clBtnShadow); break;
    case bvRaised: DrawFrame3D(C, Rect(0, 0, W, H), clBtnHighlight, clBtnShadow); break;
    case bvLowered: DrawFrame3D(C, Rect(0, 0, W, H), clBtnShadow, clBtnHighlight); break;
    case bvNone: break;
    }
    if (!FCaptionMode) return;
    TRect Band;
    if (FRibbonStyle)
        Band = FBorderStyle == bvFrame ? Rect(0, H - FDefaultCaptionHeight, W, H)
                                       : Rect(1, H - FDefaultCaptionHeight - 1, W - 1, H - 1);
    else
        Band = FBorderStyle == bvFrame ? Rect(0, 0, W, FDefaultCaptionHeight) : Rect(1, 1, W - 1, FDefaultCaptionHeight);
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(Band);
    if (FCheckedMode) Band.Left += 20;
    if (FRollUpMode) Band.Right -= 10;
    ApplyDefaultFont(C);
    const String Text = Caption();
    const int TH = C->TextHeight(Text.empty() ? String("W") : Text);
    const int TY = Band.Height() / 2 + Band.Top - TH / 2 - 1;
    int CW = C->TextWidth(Text);
    if (!FGlyph->Empty()) CW += FGlyph->Width() / FNumGlyphs + FSpacing;
    int TX = Band.Left + 4;
    if (FDefaultAlignment == taRightJustify)
        TX = Band.Right - CW;
    else if (FDefaultAlignment == taCenter)
        TX = Band.Width() / 2 + Band.Left + 4 - CW / 2;
    if (FCheckedMode) {
        const TRect Box = Bounds(5, Band.Height() / 2 + Band.Top - 6, 13, 13);
        C->Brush()->SetColor(clWindow);
        C->FillRect(Box);
        if (FChecked) DrawCheckMark(C, Box.Left + 3, Box.Top + 2, clBtnText);
    }
    if (FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        FCaptionImageList->Draw(C, TX, Band.Height() / 2 + Band.Top - FCaptionImageList->Height() / 2,
                                FCaptionImageIndex, Enabled());
        TX += FCaptionImageList->Width() + FSpacing;
    } else if (!FGlyph->Empty()) {
        const int GW = FGlyph->Width() / FNumGlyphs;
        DrawGlyph(C, TX, Band.Height() / 2 + Band.Top - FGlyph->Height() / 2, FGlyph.get(), FNumGlyphs,
                  !Enabled() && FNumGlyphs == 2 ? 2 : 1);
        TX += GW + FSpacing;
    }
    C->Brush()->SetStyle(bsClear);
    C->TextRect(Band, TX, TY, Text);
    if (FRollUpMode)
        DrawArrowImage(C, Rect(Band.Right, Band.Top, Band.Right + 6, Band.Bottom), clBtnText, FRollUpState ? 4 : 3);
}

// ---- skin look -------------------------------------------------------------------------------------

void TbsSkinPanel::ApplyCaptionFont(TCanvas* C)
{
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        ApplyCharset(C);
    } else
        ApplyDefaultFont(C);
    C->Font()->SetColor(FontColor);
}

void TbsSkinPanel::CreateControlSkinImage(TBitmap* B)
{
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
        TBitmap Piece;
        bsCopyPicturePart(&Piece, Picture,
                          Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                               SkinRect.Top + ClRect.Bottom));
        bsFillWithPiece(B->Canvas(), &Piece, Rect(0, 0, B->Width(), B->Height()), false, bsstFull);
        return;
    }
    BuildSkinImage(B, Picture, SkinRect);
    if (FUseSkinSize) {
        if (ResizeMode < 1)
            NewCaptionRect = CaptionRect;
        else if (!FTransparentMode)
            NewCaptionRect = TranslateSkinRect(CaptionRect);
    }
    if (!Caption().empty() && !CaptionRect.IsEmpty()) DrawSkinCaption(B->Canvas());
}

void TbsSkinPanel::DrawSkinCaption(TCanvas* C)
{
    TRect R = NewCaptionRect;
    if (FRollUpMode) R.Right -= 12;
    if (FCheckedMode && Picture) {
        const TRect Src = FChecked ? CheckImageRect : UnCheckImageRect;
        if (!Src.IsEmpty()) {
            TBitmap Img;
            bsCopyPicturePart(&Img, Picture, Src);
            Img.SetTransparent(true);
            C->Draw(R.Left, R.Top + R.Height() / 2 - Img.Height() / 2, &Img);
            R.Left += Img.Width() + 2;
        }
    }
    ApplyCaptionFont(C);
    const String Text = Caption();
    const int TW = C->TextWidth(Text), TH = C->TextHeight(Text);
    int TY = R.Height() / 2 + R.Top - TH / 2;
    if (C->Font()->Height() % 2 != 0) --TY;
    // the image
    int IW = 0, IH = 0;
    bool HasImage = false, FromList = false;
    if (FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        HasImage = FromList = true;
        IW = FCaptionImageList->Width();
        IH = FCaptionImageList->Height();
    } else if (!FGlyph->Empty()) {
        HasImage = true;
        IW = FGlyph->Width() / FNumGlyphs;
        IH = FGlyph->Height();
    }
    const int W = TW + (HasImage ? IW + FSpacing : 0);
    int TX = R.Left;
    if (Alignment == taRightJustify)
        TX = R.Right - W;
    else if (Alignment == taCenter)
        TX = R.Width() / 2 + R.Left - W / 2;
    int IX = TX;
    if (HasImage) {
        if (FImagePosition == bsipDefault)
            TX += IW + FSpacing;
        else {
            IX = R.Left + 2;
            const int Min = IX + IW + FSpacing;
            if (Alignment == taRightJustify)
                TX = R.Right - TW;
            else if (Alignment == taCenter)
                TX = R.Width() / 2 + R.Left - TW / 2;
            else
                TX = Min;
            if (TX < Min) TX = Min;
        }
    }
    if (FRollUpMode) {
        const TRect Area(R.Right, R.Top, R.Right + 10, NewCaptionRect.Bottom);
        if (!MarkFrameRect.IsEmpty() && Picture)
            C->CopyRect(Rect(Area.Left, Area.Top, Area.Left + MarkFrameRect.Width(),
                             CaptionRect.Top + MarkFrameRect.Height()),
                        Picture->Canvas(), MarkFrameRect);
        DrawArrowImage(C, Area, FontColor, FRollUpState ? 4 : 3);
    }
    if (!FrameRect.IsEmpty() && Picture) {
        const int E = FrameRect.Width() - FrameTextRect.Width();
        TBitmap Frame;
        CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &Frame, Picture, FrameRect, E + TW, FrameRect.Height(),
                         false);
        int FX = TX;
        if (Alignment == taLeftJustify)
            TX += FrameTextRect.Left;
        else if (Alignment == taRightJustify) {
            FX = TX - E;
            TX = TX - E + FrameTextRect.Left;
            IX -= E;
        } else {
            FX = TX - FrameTextRect.Left - 2;
            IX -= FrameTextRect.Left;
            TX -= 2;
        }
        C->Draw(FX, CaptionRect.Top, &Frame);
    }
    C->Brush()->SetStyle(bsClear);
    C->TextRect(R, TX, TY, Text);
    if (HasImage) {
        const int IY = R.Top + R.Height() / 2 - IH / 2;
        if (FromList)
            FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
        else
            DrawGlyph(C, IX, IY, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
    }
}

void TbsSkinPanel::PaintTransparentGroup(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    DrawParentBackground(this, C);
    const TColor Shadow = SkinColor(&TbsSkinColors::FcBtnShadow, clBtnShadow);
    C->Pen()->SetColor(Shadow);
    ApplyCaptionFont(C);
    const String Text = Caption();
    const int TW = C->TextWidth(Text), TH = C->TextHeight(Text.empty() ? String("W") : Text);
    const TRect Band(5, 0, Width(), TH + 5);
    NewCaptionRect = Band;
    int X = 5;
    if (FCheckedMode && Picture) {
        const TRect Src = FChecked ? CheckImageRect : UnCheckImageRect;
        if (!Src.IsEmpty()) {
            TBitmap Img;
            bsCopyPicturePart(&Img, Picture, Src);
            Img.SetTransparent(true);
            C->Draw(5, Band.Height() / 2 - Img.Height() / 2, &Img);
            X = Img.Width() + 10;
        }
    }
    if (FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        FCaptionImageList->Draw(C, X, Band.Height() / 2 - FCaptionImageList->Height() / 2, FCaptionImageIndex,
                                Enabled());
        X += FCaptionImageList->Width() + 2;
    } else if (!FGlyph->Empty()) {
        DrawGlyph(C, X, Band.Height() / 2 - FGlyph->Height() / 2, FGlyph.get(), FNumGlyphs,
                  !Enabled() && FNumGlyphs == 2 ? 2 : 1);
        X += FGlyph->Width() / FNumGlyphs + 2;
    }
    TColor TextColor = SkinColor(&TbsSkinColors::FcBtnText, clBtnText);
    if (FSD) {
        const int I = FSD->GetControlIndex("stdlabel");
        if (I != -1)
            if (auto* L = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[size_t(I)].get()))
                TextColor = L->FontColor;
    }
    C->Font()->SetColor(TextColor);
    C->Brush()->SetStyle(bsClear);
    DrawSingleLineText(C, Text, Rect(X, Band.Top, Band.Right, Band.Bottom));
    if (FRollUpMode)
        DrawArrowImage(C, Rect(5 + TW + 3, 0, 5 + TW + 10, Band.Bottom), TextColor, FRollUpState ? 4 : 3);
    const int Y = Band.Height() / 2;
    C->MoveTo(5 + TW + (FRollUpMode ? 12 : 3), Y);
    C->LineTo(Width() - 1, Y);
    C->LineTo(Width() - 1, Height() - 1);
    C->LineTo(0, Height() - 1);
    C->LineTo(0, Y);
    C->LineTo(4, Y);
    DoPanelPaint(C);
}

void TbsSkinPanel::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    if (FEmptyDrawing && !IsDesigning()) return;
    GetSkinData();
    const bool Skinned = FIndex != -1;
    TCanvas* C = Canvas();
    if (Skinned && !FUseSkinSize && !FTransparentMode && FCaptionMode) {
        // a caption panel of free size: the "panel" record's image and our own caption bar
        TBitmap B;
        B.SetSize(Width(), Height());
        const String Own = FSkinDataName;
        FSkinDataName = "panel";
        GetSkinData();
        if (FIndex != -1) {
            int W = Width(), H = Height();
            CalcSize(W, H);
            if (Picture)
                CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                                NewClRect, &B, Picture, SkinRect, Width(), Height(), true, LeftStretch, TopStretch,
                                RightStretch, BottomStretch, StretchEffect, StretchType);
            FSkinDataName = Own;
            GetSkinData();
            const TRect Src(SkinRect.Left + CaptionRect.Left + 1, SkinRect.Top + CaptionRect.Top + 1,
                            SkinRect.Left + CaptionRect.Right - 1, SkinRect.Top + CaptionRect.Bottom - 1);
            const int BarH = FDefaultCaptionHeight - NewClRect.Top - 1;
            if (Picture && BarH > 0 && NewClRect.Width() > 0)
                B.Canvas()->CopyRect(Bounds(NewClRect.Left, NewClRect.Top, NewClRect.Width(), BarH),
                                     Picture->Canvas(), Src);
            NewCaptionRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, FDefaultCaptionHeight - 1);
            if (!Caption().empty() && !CaptionRect.IsEmpty()) DrawSkinCaption(B.Canvas());
        } else {
            // no "panel" record to draw from: a plain face rather than an unpainted one
            B.Canvas()->Brush()->SetStyle(bsSolid);
            B.Canvas()->Brush()->SetColor(clBtnFace);
            B.Canvas()->FillRect(Rect(0, 0, Width(), Height()));
            FSkinDataName = Own;
            GetSkinData();
        }
        C->Draw(0, 0, &B);
        return;
    }
    if (Skinned && FTransparentMode && !FCaptionMode) {
        TBitmap B;
        B.SetSize(Width(), Height());
        DrawParentBackground(this, B.Canvas());
        if (FBorderStyle != bvNone) {
            B.Canvas()->Brush()->SetColor(SkinColor(&TbsSkinColors::FcBtnShadow, clBtnShadow));
            B.Canvas()->FrameRect(Rect(0, 0, Width(), Height()));
        }
        DoPanelPaint(B.Canvas());
        C->Draw(0, 0, &B);
        return;
    }
    if (Skinned && FTransparentMode && FCaptionMode) {
        TBitmap B;
        B.SetSize(Width(), Height());
        PaintTransparentGroup(&B);
        C->Draw(0, 0, &B);
        return;
    }
    if (!Skinned || (!FForceBackground && StretchEffect)) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && FForceBackground) {
        TBitmap Piece;
        bsCopyPicturePart(&Piece, Picture,
                          Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                               SkinRect.Top + ClRect.Bottom));
        bsFillWithPiece(C, &Piece, Rect(0, 0, Width(), Height()), StretchEffect, StretchType);
        return;
    }
    TBitmap* BG = BGPictureIndex != -1 ? FSD->ActivePicture(BGPictureIndex) : nullptr;
    if (!BG) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (BG->Width() > 0 && BG->Height() > 0) {
        int W = Width(), H = Height();
        CalcSize(W, H);
        if (StretchEffect && StretchType == bsstFull)
            C->StretchDraw(NewClRect, BG);
        else
            bsFillWithPiece(C, BG, Rect(0, 0, Width(), Height()), StretchEffect, StretchType);
    }
}

// ---- messages --------------------------------------------------------------------------------------

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FCaptionMode && (FRollUpMode || FCheckedMode)) {
        const TRect Band = FIndex != -1 ? NewCaptionRect : Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
        if (IsPointInRect(Band, Point(X, Y))) {
            if (FCheckedMode) SetChecked(!FChecked);
            if (FRollUpMode) SetRollUpState(!FRollUpState);
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinPanel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        if (FCaptionMode) Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(M);
        if (FTransparentMode) {
            Repaint();
            NotifyChildrenParentBackground();
        }
        return;
    case ParentBackgroundChanged:
        if (FTransparentMode) {
            Repaint();
            NotifyChildrenParentBackground();
        }
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}

// ---- paint panel and group box ---------------------------------------------------------------------

TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) { FForceBackground = false; }

void TbsSkinPaintPanel::FirePanelPaint(TCanvas* C)
{
    if (OnPanelPaint) OnPanelPaint(C, SkinClientRect());
}

void TbsSkinPaintPanel::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlDefaultImage(B);
    FirePanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlSkinImage(B);
    FirePanelPaint(B->Canvas());
}

void TbsSkinPaintPanel::DoPanelPaint(TCanvas* C) { FirePanelPaint(C); }

void TbsSkinPaintPanel::Dispatch(TMessage& M)
{
    if (M.Msg == WM_ERASEBKGND) {
        if (!FromWMPaint) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    }
    TbsSkinPanel::Dispatch(M);
}

TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FSkinDataName = "groupbox";
    FCaptionMode = true;
}

void TbsSkinGroupBox::GetSkinData()
{
    // a box whose client part lies above its caption cannot take its background from the
    // record; that holds for the current skin only, so the next skin starts from the setting
    // the previous one overrode
    if (FBackgroundOffBySkin) FForceBackground = true;
    FBackgroundOffBySkin = false;
    TbsSkinPanel::GetSkinData();
    if (FIndex != -1 && ClRect.Bottom < CaptionRect.Top && FForceBackground) {
        FForceBackground = false;
        FBackgroundOffBySkin = true;
    }
}
