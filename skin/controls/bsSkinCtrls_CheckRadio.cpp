// The skinned check box and radio button.
#include "skin/controls/bsSkinCtrls.h"

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle.Exclude(csClickEvents);
    SetTabStop(false);
    FSkinDataName = "checkbox";
    SetBounds(FLeft, FTop, 150, 25);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() { MorphTimer.reset(); }

// ---- state -----------------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::SetChecked(bool Value)
{
    FChecked = Value;
    if (Value || FState == cbChecked) FState = Value ? cbChecked : cbUnchecked;
    Repaint();
    if (FChecked && FGroupIndex != 0 && Parent()) {
        TWinControl* P = Parent();
        for (int I = 0; I < P->ControlCount(); ++I) {
            auto* B = dynamic_cast<TbsSkinCheckRadioBox*>(P->Controls(I));
            if (B && B != this && B->FGroupIndex == FGroupIndex && B->FChecked) B->SetChecked(false);
        }
    }
    if (!FRadio || FChecked) DoClick();
}

void TbsSkinCheckRadioBox::DoClick()
{
    if (FActionChanging) return;
    ClickWithAction(this, OnClick, FActionLink.get());
}

void TbsSkinCheckRadioBox::SetAction(TBasicAction* Value)
{
    TControlActionLink::Assign(FActionLink, this, Value,
                               [this](TBasicAction* A, bool CheckDefaults) { ActionChange(A, CheckDefaults); });
}

void TbsSkinCheckRadioBox::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    ApplyActionToControl(this, Sender, CheckDefaults);
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    if (!A || (CheckDefaults && FChecked)) return;
    const bool Was = FActionChanging;
    FActionChanging = true;
    try {
        SetChecked(A->Checked());
    } catch (...) {
        FActionChanging = Was;
        throw;
    }
    FActionChanging = Was;
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value)
{
    FState = Value;
    FChecked = Value == cbChecked;
    Repaint();
    DoClick();
}

void TbsSkinCheckRadioBox::ToggleChecked()
{
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool Value)
{
    FAllowGrayed = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value)
{
    FFlat = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value)
{
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value)
{
    FRadio = Value;
    Repaint();
    if (IsDesigning() && !ComponentState().Contains(csLoading)) {
        FSkinDataName = Value ? "radiobox" : "checkbox";
        FGroupIndex = Value ? 1 : 0;
    }
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// ---- skin ------------------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        FontName = R->FontName;
        FontColor = R->FontColor;
        ActiveFontColor = R->ActiveFontColor;
        FrameFontColor = R->FrameFontColor;
        UnEnabledFontColor = R->UnEnabledFontColor;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        ActiveSkinRect = R->ActiveSkinRect.IsEmpty() ? R->SkinRect : R->ActiveSkinRect;
        CheckImageArea = R->CheckImageArea;
        TextArea = R->TextArea;
        CheckImageRect = R->CheckImageRect;
        UnCheckImageRect = R->UnCheckImageRect;
        ActiveCheckImageRect = R->ActiveCheckImageRect.IsEmpty() ? CheckImageRect : R->ActiveCheckImageRect;
        UnEnabledCheckImageRect = R->UnEnabledCheckImageRect.IsEmpty() ? CheckImageRect : R->UnEnabledCheckImageRect;
        UnEnabledUnCheckImageRect =
            R->UnEnabledUnCheckImageRect.IsEmpty() ? UnCheckImageRect : R->UnEnabledUnCheckImageRect;
        ActiveUnCheckImageRect = R->ActiveUnCheckImageRect.IsEmpty() ? UnCheckImageRect : R->ActiveUnCheckImageRect;
        Morphing = R->Morphing;
        MorphKind = R->MorphKind;
        GrayedCheckImageRect = R->GrayedCheckImageRect;
        ActiveGrayedCheckImageRect = R->ActiveGrayedCheckImageRect;
    }
    if (FFlat) {
        Morphing = false;
        MaskPicture = nullptr;
    }
}

void TbsSkinCheckRadioBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FFlat) return;
    TbsSkinCustomControl::CalcSize(AWidth, AHeight);
    const int dx = AWidth - SkinRect.Width();
    NewTextArea = TextArea;
    NewTextArea.Right += dx;
    TRect Area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right) {
        Area.Left += dx;
        Area.Right += dx;
    }
    const int L = Area.Width() / 2 + Area.Left - CheckImageRect.Width() / 2;
    const int T = Area.Height() / 2 + Area.Top - CheckImageRect.Height() / 2;
    CIRect = Bounds(L, T, CheckImageRect.Width(), CheckImageRect.Height());
}

void TbsSkinCheckRadioBox::ChangeSkinData()
{
    if (FFlat) {
        GetSkinData();
        Repaint();
        return;
    }
    TbsSkinCustomControl::ChangeSkinData();
}

void TbsSkinCheckRadioBox::CheckParentBackground()
{
    if (FFlat) Repaint();
}

// ---- morphing --------------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::DoMorph()
{
    if (CanMorph() && FIndex != -1) {
        if (!MorphTimer) MorphTimer = std::make_unique<TbsTicker>(this, [this] { MorphTick(); });
        if (!MorphTimer->Running()) MorphTimer->Start(20);
    } else
        Repaint();
}

void TbsSkinCheckRadioBox::MorphTick()
{
    const bool Hot = FMouseIn || IsFocusedBox();
    if (FIndex == -1 || !CanMorph()) {
        FMorphKf = Hot ? 1 : 0;
        MorphTimer->Stop();
        return;
    }
    if (Hot && FMorphKf < 1) {
        FMorphKf += 0.2;
        Repaint();
    } else if (!Hot && FMorphKf > 0) {
        FMorphKf -= 0.2;
        Repaint();
    } else {
        FMorphKf = Hot ? 1 : 0;
        MorphTimer->Stop();
        Repaint();
    }
}

// ---- looks -----------------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::GetCheckImage(TBitmap* Img, bool Hot)
{
    Img->SetSize(0, 0);
    if (!Picture) return;
    const bool Grayed = FState == cbGrayed;
    TRect R;
    if (!Enabled())
        R = Grayed || FChecked ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    else if (Hot)
        R = Grayed || FChecked ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    else
        R = Grayed || FChecked ? CheckImageRect : UnCheckImageRect;
    if (Grayed) {
        if (GrayedCheckImageRect.IsEmpty()) {
            bsCopyPicturePart(Img, Picture, R);
            if (Img->Width() > 0 && Img->Height() > 0) {
                TbsEffectBmp E(Img->Handle());
                E.ChangeBrightness(0.5);
                E.Draw(Img->Canvas()->Handle(), 0, 0);
            }
        } else
            bsCopyPicturePart(Img, Picture,
                              Hot && Enabled() && !ActiveGrayedCheckImageRect.IsEmpty() ? ActiveGrayedCheckImageRect
                                                                                        : GrayedCheckImageRect);
    } else
        bsCopyPicturePart(Img, Picture, R);
    Img->SetTransparent(true);
}

void TbsSkinCheckRadioBox::DrawSkinLook(TBitmap* B, const TRect& Src, bool Hot)
{
    BuildSkinImage(B, Picture, Src);
    TCanvas* C = B->Canvas();
    TBitmap Img;
    GetCheckImage(&Img, Hot);
    if (!Img.Empty()) C->Draw(CIRect.Left, CIRect.Top + CIRect.Height() / 2 - CheckImageRect.Height() / 2, &Img);
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        ApplyCharset(C);
    } else
        ApplyDefaultFont(C);
    C->Font()->SetColor(!Enabled() ? UnEnabledFontColor : Hot ? ActiveFontColor : FontColor);
    C->Brush()->SetStyle(bsClear);
    DrawSingleLineText(C, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::DrawCheckBoxMarks(TCanvas* C, bool Hot, bool Fill, bool Grayed)
{
    const int H = Height();
    const TRect Box(3, H / 2 - 7, 17, H / 2 + 7);
    C->Brush()->SetColor(Hot ? bsDefaultFrameColor : clBtnShadow);
    C->FrameRect(Box);
    if (Fill) {
        C->Brush()->SetColor(clWindow);
        C->FillRect(Rect(Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1));
    }
    if (Grayed && FState == cbGrayed && !FRadio)
        DrawCheckMark(C, 7, H / 2 - 4, clGrayText);
    else if (FChecked) {
        const TColor Mark = Enabled() ? clBlack : clBtnShadow;
        if (FRadio)
            DrawRadioMark(C, 7, H / 2 - 3, Mark);
        else
            DrawCheckMark(C, 7, H / 2 - 4, Mark);
    }
}

void TbsSkinCheckRadioBox::DrawFlatLook(TBitmap* B, bool ForPaintTo)
{
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    const bool Skinned = FIndex != -1;
    TBitmap CheckImg;
    if (Skinned) GetCheckImage(&CheckImg, FMouseIn && !ForPaintTo);
    const int TextLeft = Skinned ? CheckImageRect.Width() + 7 : 22;
    const int ImageShift = Skinned ? 8 : 5;
    if (Skinned && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        ApplyCharset(C);
    } else
        ApplyDefaultFont(C);
    C->Brush()->SetStyle(bsClear);
    const bool HasImage = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
    const String Text = Caption();
    TRect TR;
    if (FWordWrap) {
        TR = Rect(TextLeft + (HasImage ? FImages->Width() : 0), 0, W, 0);
        TRect M = TR;
        M.Bottom = H;
        DrawTextW(C->Handle(), Text.data(), int(Text.size()), &M, DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT);
        const int TH = M.Height();
        TR.Top = MaxOf(0, H / 2 - TH / 2);
        TR.Bottom = TR.Top + TH;
    } else {
        const TSize S = C->TextExtent(Text);
        TR = Bounds(TextLeft, H / 2 - S.cy / 2, S.cx, S.cy);
        if (TR.Right > W - 2) TR.Right = W - 2;
    }
    TRect ImageRect;
    if (HasImage) {
        ImageRect = Bounds(TR.Left - (FWordWrap ? FImages->Width() : 0), H / 2 - FImages->Height() / 2,
                           FImages->Width(), FImages->Height());
        FImages->Draw(C, ImageRect.Left, ImageRect.Top, FImageIndex, Enabled());
        if (!FWordWrap) {
            TR.Left += FImages->Width() + ImageShift;
            TR.Right += FImages->Width() + ImageShift;
            if (TR.Right > W - 2) TR.Right = W - 2;
        }
    }
    TColor TextColor = FDefaultFont->Color();
    if (Skinned) {
        TextColor = !Enabled() ? UnEnabledFontColor : FrameFontColor;
        if (!FUseSkinFontColor) TextColor = FDefaultFont->Color();
    } else if (!Enabled())
        TextColor = clBtnShadow;
    C->Font()->SetColor(TextColor);
    C->Brush()->SetStyle(bsClear);
    if (FWordWrap) {
        TRect D = TR;
        DrawTextW(C->Handle(), Text.data(), int(Text.size()), &D, DT_WORDBREAK | DT_EXPANDTABS);
    } else
        DrawSingleLineText(C, Text, TR);
    if (Skinned) {
        if (!CheckImg.Empty()) C->Draw(3, H / 2 - CheckImageRect.Height() / 2, &CheckImg);
    } else if (ForPaintTo) {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(Rect(3, H / 2 - 7, 17, H / 2 + 7));
        if (FChecked) {
            if (FRadio)
                DrawRadioMark(C, 7, H / 2 - 3, clBlack);
            else
                DrawCheckMark(C, 7, H / 2 - 4, clBlack);
        }
    } else
        DrawCheckBoxMarks(C, FMouseIn, true, true);
    if (!ForPaintTo && IsFocusedBox()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Skinned && FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        if (Text.empty() && HasImage)
            DrawDottedFocusRect(C, Rect(ImageRect.Left - 1, ImageRect.Top - 1, ImageRect.Right + 1,
                                        ImageRect.Bottom + 1));
        else
            DrawDottedFocusRect(C, Rect(TR.Left - 2, TR.Top - 1, TR.Right + 2 + (FWordWrap ? 0 : 1), TR.Bottom + 1));
    }
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const TRect R = ClientRect();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    if (IsFocusedBox() || FMouseIn) {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(R);
    }
    ApplyDefaultFont(C);
    if (!Enabled()) C->Font()->SetColor(clBtnShadow);
    C->Brush()->SetStyle(bsClear);
    DrawSingleLineText(C, Caption(), Rect(19, 0, Width(), Height()));
    DrawCheckBoxMarks(C, FMouseIn, true, true);
}

void TbsSkinCheckRadioBox::Paint()
{
    GetSkinData();
    if (Width() < 1 || Height() < 1) return;
    if (FFlat) {
        TBitmap B;
        B.SetSize(Width(), Height());
        DrawParentBackground(this, B.Canvas());
        DrawFlatLook(&B, false);
        Canvas()->Draw(0, 0, &B);
        return;
    }
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int W = Width(), H = Height();
    CalcSize(W, H);
    TBitmap B;
    B.SetSize(Width(), Height());
    if (CanMorph() && FMorphKf > 0 && FMorphKf < 1) {
        TBitmap B2;
        B2.SetSize(Width(), Height());
        DrawSkinLook(&B, SkinRect, false);
        DrawSkinLook(&B2, ActiveSkinRect, true);
        bsMorphBitmaps(&B, &B2, FMorphKf, MorphKind, Canvas());
        return;
    }
    const bool Hot = FMouseIn || IsFocusedBox();
    DrawSkinLook(&B, Hot ? ActiveSkinRect : SkinRect, Hot);
    Canvas()->Draw(0, 0, &B);
}

void TbsSkinCheckRadioBox::PaintSkinTo(TCanvas* C, int X, int Y, bool AChecked)
{
    GetSkinData();
    if (!FFlat && FIndex == -1) return;
    const bool SavedChecked = FChecked;
    const TCheckBoxState SavedState = FState;
    const bool SavedMouseIn = FMouseIn;
    FChecked = AChecked;
    FState = AChecked ? cbChecked : cbUnchecked;
    FMouseIn = false;
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FFlat) {
        DrawParentBackground(this, B.Canvas());
        DrawFlatLook(&B, true);
    } else {
        int W = Width(), H = Height();
        CalcSize(W, H);
        DrawSkinLook(&B, SkinRect, false);
    }
    FChecked = SavedChecked;
    FState = SavedState;
    FMouseIn = SavedMouseIn;
    C->Draw(X, Y, &B);
}

// ---- mouse, focus, keys ----------------------------------------------------------------------------

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FDown = true;
        if (!FMouseIn) {
            FMouseIn = true;
            DoMorph();
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FDown) return;
    const bool Inside = IsPointInRect(Rect(0, 0, Width(), Height()), Point(X, Y));
    if (!Inside && FMouseIn)
        Perform(CM_MOUSELEAVE, 0, LPARAM(this));
    else if (Inside && !FMouseIn)
        Perform(CM_MOUSEENTER, 0, LPARAM(this));
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const bool WasDown = FDown;
    FDown = false;
    if (!FMouseIn || !WasDown) return;
    if (!FRadio && FAllowGrayed && FState == cbUnchecked) {
        FState = cbGrayed;
        Repaint();
        DoClick();
    } else
        ToggleChecked();
}

void TbsSkinCheckRadioBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint && !FFlat) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(M);
        if (FFlat) Invalidate();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FCanFocused && !FocusBeforeClick()) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case WM_KEYUP:
        if (FCanFocused && M.WParam == VK_SPACE && Focused()) ToggleChecked();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        if (FCanFocused) {
            if (FFlat)
                Invalidate();
            else
                DoMorph();
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            ToggleChecked();
            M.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        if (CanMorph()) {
            if (MorphTimer) MorphTimer->Stop();
            FMorphKf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if ((M.LParam == 0 || M.LParam == LPARAM(this)) && !IsDesigning()) {
            FMouseIn = M.Msg == CM_MOUSEENTER;
            DoMorph();
        }
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
