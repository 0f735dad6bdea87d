// The skinned push button: looks, clicks, groups, auto-repeat, morphing, frame animation
// and the glow frame.
#include "skin/controls/bsSkinCtrls.h"

namespace {

// Every control of AParent's tree (AParent excluded) gets M.
void BroadcastAll(TWinControl* AParent, TMessage& M)
{
    for (int I = 0; I < AParent->ControlCount(); ++I) {
        TControl* C = AParent->Controls(I);
        M.Result = 0;
        C->WindowProc(M);
        if (auto* W = dynamic_cast<TWinControl*>(C)) BroadcastAll(W, M);
    }
}

}  // namespace

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle.Exclude(csClickEvents);
    FLayerManager = new TbsLayerManager(this);
    SetTabStop(true);
    FSkinDataName = "button";
    SetBounds(FLeft, FTop, 75, 25);
}

TbsSkinButton::~TbsSkinButton()
{
    // the menu keeps callbacks into this button (its change, and the close of a menu
    // button's grid) and a free notice: none of them may outlive the button
    if (FSkinImagesMenu) {
        FSkinImagesMenu->FOnInternalChange = nullptr;
        FSkinImagesMenu->FOnInternalMenuClose = nullptr;
        FSkinImagesMenu->RemoveFreeNotification(this);
    }
    MorphTimer.reset();
    RepeatTimer.reset();
    AnimateTimer.reset();
}

// ---- properties --------------------------------------------------------------------------------

void TbsSkinButton::SetTransparent(bool Value)
{
    if (FTransparent == Value) return;
    FTransparent = Value;
    Repaint();
}

void TbsSkinButton::SetCheckedMode(bool Value)
{
    if (FCheckedMode == Value) return;
    FCheckedMode = Value;
    if (Value)
        SetGroupIndex(-1);
    else if (FGroupIndex == -1)
        SetGroupIndex(0);
}

void TbsSkinButton::SetGroupIndex(int Value)
{
    FGroupIndex = Value;
    if (Value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (HandleAllocated() && FCanFocused)
        if (TCustomForm* F = GetParentForm(this)) {
            TMessage M;
            M.Msg = CM_FOCUSCHANGED;
            M.LParam = LPARAM(F->ActiveControl());
            BroadcastAll(F, M);
        }
}

void TbsSkinButton::SetGlyph(TBitmap* Value)
{
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TbsSkinButton::SetNumGlyphs(TbsNumGlyphs Value)
{
    FNumGlyphs = Value < 1 ? 1 : Value > 4 ? 4 : Value;
    Repaint();
}

void TbsSkinButton::SetMargin(int Value)
{
    if (Value < -1 || Value == FMargin) return;
    FMargin = Value;
    Repaint();
}

void TbsSkinButton::SetSpacing(int Value)
{
    if (Value == FSpacing) return;
    FSpacing = Value;
    Repaint();
}

void TbsSkinButton::SetLayout(TbsButtonLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Repaint();
}

void TbsSkinButton::SetImageList(TCustomImageList* Value)
{
    FImageList = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinButton::SetImageIndex(int Value)
{
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Repaint();
}

void TbsSkinButton::SetSkinImagesMenu(TbsSkinImagesMenu* Value)
{
    if (FSkinImagesMenu && FSkinImagesMenu != Value) {
        FSkinImagesMenu->FOnInternalChange = nullptr;
        FSkinImagesMenu->FOnInternalMenuClose = nullptr;
        FSkinImagesMenu->RemoveFreeNotification(this);
    }
    FSkinImagesMenu = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->FOnInternalChange = [this](TObject*) { Repaint(); };
    }
    Repaint();
}

void TbsSkinButton::SetUseImagesMenuImage(bool Value)
{
    FUseImagesMenuImage = Value;
    Repaint();
}

void TbsSkinButton::SetUseImagesMenuCaption(bool Value)
{
    FUseImagesMenuCaption = Value;
    Repaint();
}

void TbsSkinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
    if (AComponent == FImageList) FImageList = nullptr;
}

// ---- clicks, groups, repeat ----------------------------------------------------------------------

void TbsSkinButton::ButtonClick()
{
    if (FCanFocused)
        if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FModalResult);
    ClickWithAction(this, OnClick, FActionLink.get());
}

void TbsSkinButton::SetAction(TBasicAction* Value)
{
    TControlActionLink::Assign(FActionLink, this, Value,
                               [this](TBasicAction* A, bool CheckDefaults) { ActionChange(A, CheckDefaults); });
}

void TbsSkinButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    ApplyActionToControl(this, Sender, CheckDefaults);
    if (FGlyph && !FGlyph->Empty()) return;
    if (TCustomImageList* Images = ActionImages(Sender)) {
        SetImageList(Images);
        SetImageIndex(static_cast<TCustomAction*>(Sender)->ImageIndex());
        Repaint();
    }
}

void TbsSkinButton::SetDown(bool Value)
{
    FDown = Value;
    if (CanMorph()) {
        FMorphKf = 1;
        if (Value)
            StopMorph();
        else
            DoMorph();
    }
    Repaint();
    if (FGroupIndex > 0 && FDown && !FAllowAllUp) ReleaseGroup();
}

void TbsSkinButton::ReleaseGroup()
{
    TWinControl* P = Parent();
    if (!P) return;
    for (int I = 0; I < P->ControlCount(); ++I) {
        auto* B = dynamic_cast<TbsSkinButton*>(P->Controls(I));
        if (B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
    }
}

void TbsSkinButton::StartRepeat()
{
    if (!RepeatTimer) RepeatTimer = std::make_unique<TbsTicker>(this, [this] { RepeatTick(); });
    FRepeatFirst = true;
    RepeatTimer->Start(500);
}

void TbsSkinButton::StopRepeat()
{
    if (RepeatTimer) RepeatTimer->Stop();
}

void TbsSkinButton::RepeatTick()
{
    if (FRepeatFirst) {
        FRepeatFirst = false;
        RepeatTimer->SetInterval(unsigned(FRepeatInterval));
        return;
    }
    ButtonClick();
}

// ---- morphing and frame animation ----------------------------------------------------------------

void TbsSkinButton::DoMorph()
{
    if (CanMorph() && FIndex != -1) {
        if (!MorphTimer) MorphTimer = std::make_unique<TbsTicker>(this, [this] { MorphTick(); });
        if (!MorphTimer->Running()) MorphTimer->Start(20);
    } else
        Repaint();
}

void TbsSkinButton::StopMorph()
{
    if (MorphTimer) MorphTimer->Stop();
}

void TbsSkinButton::MorphTick()
{
    const bool Hot = FMouseIn || IsFocused();
    if (FIndex == -1 || !CanMorph()) {
        FMorphKf = Hot ? 1 : 0;
        StopMorph();
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
        StopMorph();
        Repaint();
    }
}

void TbsSkinButton::StartAnimate(bool AInc)
{
    StopAnimate();
    AnimateInc = AInc;
    CurrentFrame = AInc ? 1 : FrameCount;
    if (!AnimateTimer) AnimateTimer = std::make_unique<TbsTicker>(this, [this] { AnimateTick(); });
    AnimateTimer->Start(unsigned(AnimateInterval > 0 ? AnimateInterval : 1));
}

void TbsSkinButton::StopAnimate()
{
    CurrentFrame = 0;
    if (AnimateTimer) AnimateTimer->Stop();
}

void TbsSkinButton::AnimateTick()
{
    if (AnimateInc) {
        if (CurrentFrame <= FrameCount) {
            ++CurrentFrame;
            Repaint();
        }
        if (CurrentFrame > FrameCount) StopAnimate();
    } else {
        if (CurrentFrame >= 0) {
            --CurrentFrame;
            Repaint();
        }
        if (CurrentFrame <= 0) StopAnimate();
    }
}

TRect TbsSkinButton::GetAnimateFrameRect() const
{
    if (FrameCount <= 0) return AnimateSkinRect;
    const int K = CurrentFrame;
    if (AnimateSkinRect.Width() > SkinRect.Width()) {
        const int W = AnimateSkinRect.Width() / FrameCount;
        return Rect(AnimateSkinRect.Left + W * (K - 1), AnimateSkinRect.Top, AnimateSkinRect.Left + W * K,
                    AnimateSkinRect.Bottom);
    }
    const int H = AnimateSkinRect.Height() / FrameCount;
    return Rect(AnimateSkinRect.Left, AnimateSkinRect.Top + H * (K - 1), AnimateSkinRect.Right,
                AnimateSkinRect.Top + H * K);
}

void TbsSkinButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (CanMorph()) FMorphKf = 0;
    if (CanAnimate()) StopAnimate();
    Repaint();
}

// ---- skin ------------------------------------------------------------------------------------------

void TbsSkinButton::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = TRect();
        return;
    }
    if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        if (!FUseSkinSize && R->MaskPictureIndex != -1) MaskPicture = nullptr;
        FontName = R->FontName;
        FontColor = R->FontColor;
        ActiveFontColor = R->ActiveFontColor;
        DownFontColor = R->DownFontColor;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        ActiveSkinRect = R->ActiveSkinRect.IsEmpty() ? R->SkinRect : R->ActiveSkinRect;
        DownSkinRect = R->DownSkinRect.IsEmpty() ? ActiveSkinRect : R->DownSkinRect;
        DisabledSkinRect = R->DisabledSkinRect;
        FocusedSkinRect = R->FocusedSkinRect;
        DisabledFontColor = R->DisabledFontColor == R->FontColor ? TColor(0x808080) : R->DisabledFontColor;
        Morphing = R->Morphing;
        MorphKind = R->MorphKind;
        AnimateSkinRect = R->AnimateSkinRect;
        FrameCount = R->FrameCount;
        AnimateInterval = R->AnimateInterval;
        ShowFocus = R->ShowFocus;
        MenuMarkerRect = R->MenuMarkerRect;
        MenuMarkerActiveRect = R->MenuMarkerActiveRect.IsEmpty() ? MenuMarkerRect : R->MenuMarkerActiveRect;
        MenuMarkerDownRect = R->MenuMarkerDownRect.IsEmpty() ? MenuMarkerActiveRect : R->MenuMarkerDownRect;
        MenuMarkerFlatRect = R->MenuMarkerFlatRect;
        MenuMarkerTransparentColor = R->MenuMarkerTransparentColor;
        GlowLayerPictureIndex = R->GlowLayerPictureIndex;
        GlowLayerMaskPictureIndex = R->GlowLayerMaskPictureIndex;
        GlowLayerOffsetLeft = R->GlowLayerOffsetLeft;
        GlowLayerOffsetRight = R->GlowLayerOffsetRight;
        GlowLayerOffsetTop = R->GlowLayerOffsetTop;
        GlowLayerOffsetBottom = R->GlowLayerOffsetBottom;
        GlowLayerShowOffsetX = R->GlowLayerShowOffsetX;
        GlowLayerShowOffsetY = R->GlowLayerShowOffsetY;
        GlowLayerAlphaBlendValue = R->GlowLayerAlphaBlendValue;
    }
    if (CanAnimate() && Animating() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
        if (AnimateInc)
            ActiveSkinRect = GetAnimateFrameRect();
        else
            SkinRect = GetAnimateFrameRect();
    }
}

void TbsSkinButton::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize || ResizeMode == 1) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - SkinRect.Width(),
                     ClRect.Bottom + AHeight - SkinRect.Height());
}

void TbsSkinButton::ChangeSkinData()
{
    StopMorph();
    StopAnimate();
    FMorphKf = 0;
    TbsSkinCustomControl::ChangeSkinData();
    if (FIndex != -1 && CanMorph() && (IsFocused() || FMouseIn)) FMorphKf = 1;
    if (FMouseIn) PostLayer(ShowButtonLayer);
}

void TbsSkinButton::BeforeChangeSkinData()
{
    TbsSkinCustomControl::BeforeChangeSkinData();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
}

void TbsSkinButton::CheckParentBackground()
{
    if (FTransparent && !FDown && !FMouseIn) Repaint();
}

// ---- painting ---------------------------------------------------------------------------------------

int TbsSkinButton::GetGlyphNum(bool ADown, bool AMouseIn) const
{
    if (ADown && AMouseIn && FNumGlyphs > 2) return 3;
    if (AMouseIn && FNumGlyphs > 3) return 4;
    if (!Enabled() && FNumGlyphs > 1) return 2;
    return 1;
}

void TbsSkinButton::ApplySkinFont(TCanvas* C)
{
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        ApplyCharset(C);
    } else
        ApplyDefaultFont(C);
}

void TbsSkinButton::ApplySkinTextStyle(TCanvas* C, bool APressed, bool AMouseIn, const TRect& FocusArea)
{
    ApplySkinFont(C);
    if (Enabled() && !FUseSkinFontColor)
        C->Font()->SetColor(FDefaultFont->Color());
    else if (!Enabled())
        C->Font()->SetColor(DisabledFontColor);
    else if (APressed)
        C->Font()->SetColor(DownFontColor);
    else if (AMouseIn)
        C->Font()->SetColor(ActiveFontColor);
    else
        C->Font()->SetColor(FontColor);
    if (ShowFocus && Focused()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FSD && FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        DrawDottedFocusRect(C, FocusArea);
        C->Brush()->SetStyle(bsClear);
    }
}

void TbsSkinButton::DrawButtonContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, bool)
{
    C->Brush()->SetStyle(bsClear);
    TbsImagesMenuItem* Item = FSkinImagesMenu ? FSkinImagesMenu->SelectedItem() : nullptr;
    if (Item && FUseImagesMenuImage) {
        const String Cap = FUseImagesMenuCaption ? Item->Caption() : Caption();
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Cap, Item->ImageIndex(), FSkinImagesMenu->Images(), ADown,
                         Enabled(), false, 0);
    } else if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FImageIndex, FImageList, ADown, Enabled(), false,
                         0);
    } else {
        DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs,
                         GetGlyphNum(ADown, AMouseIn), ADown, false, 0);
    }
}

void TbsSkinButton::FrameAndFill(TCanvas* C, const TRect& R, int Look)
{
    static const TColor Fills[] = {clBtnFace, bsDefaultHotColor, bsDefaultDownColor};
    C->Brush()->SetColor(Look == 0 ? clBtnShadow : bsDefaultFrameColor);
    C->FrameRect(R);
    C->Brush()->SetColor(Fills[Look]);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void TbsSkinButton::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const TRect R = ClientRect();
    const bool Pressed = FDown && (FGroupIndex != 0 || FMouseIn || (IsFocused() && !FMouseDown));
    FrameAndFill(C, R, Pressed ? 2 : (FMouseIn || IsFocused()) ? 1 : 0);
    ApplyDefaultFont(C);
    if (!Enabled()) C->Font()->SetColor(clBtnShadow);
    bool DrawDefault = true;
    if (OnPaint) OnPaint(this, C, R, FDown, FMouseIn, DrawDefault);
    if (!DrawDefault) return;
    DrawButtonContent(C, R, FDown, FMouseIn);
}

void TbsSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    TRect TextArea = NewClRect;
    const bool FreeSize = !FUseSkinSize && ResizeMode != 1;
    const bool Face = ADown || AMouseIn || !FTransparent;
    if (FreeSize) {
        if (Face && Picture) {
            if (ResizeMode == 0)
                B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
            else
                CreateStretchSkinImage(B, Picture, R, ClRect, true);
        } else if (!Face)
            DrawParentBackground(this, B->Canvas());
        TextArea = Rect(ClRect.Left, ClRect.Top, ClRect.Right + B->Width() - R.Width(),
                        ClRect.Bottom + B->Height() - R.Height());
    } else if (Face)
        BuildSkinImage(B, Picture, R);
    else
        DrawParentBackground(this, B->Canvas());
    TCanvas* C = B->Canvas();
    ApplySkinTextStyle(C, ADown && AMouseIn, AMouseIn, TextArea);
    bool DrawDefault = true;
    if (OnPaint) OnPaint(this, C, TextArea, ADown, AMouseIn, DrawDefault);
    if (!DrawDefault) return;
    DrawButtonContent(C, TextArea, ADown, AMouseIn);
}

void TbsSkinButton::Paint()
{
    GetSkinData();
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (Width() < 1 || Height() < 1) return;
    int W = Width(), H = Height();
    CalcSize(W, H);
    TBitmap B;
    B.SetSize(Width(), Height());
    if (CanMorph() && FMorphKf > 0 && FMorphKf < 1 && Enabled()) {
        TBitmap B2;
        B2.SetSize(Width(), Height());
        CreateButtonImage(&B, SkinRect, false, false);
        CreateButtonImage(&B2, ActiveSkinRect, false, true);
        bsMorphBitmaps(&B, &B2, FMorphKf, MorphKind, Canvas());
        return;
    }
    const bool AnimRunning = Animating() && CurrentFrame > 0;
    if (!Enabled() && !DisabledSkinRect.IsEmpty())
        CreateButtonImage(&B, DisabledSkinRect, false, false);
    else if (FDownState || (FDown && (FGroupIndex != 0 || FMouseIn || (IsFocused() && !FMouseDown))))
        CreateButtonImage(&B, DownSkinRect, true, true);
    else if (IsFocused() && !FocusedSkinRect.IsEmpty() && !AnimRunning)
        CreateButtonImage(&B, FocusedSkinRect, false, true);
    else if (IsFocused() || FMouseIn || (CanMorph() && FMorphKf == 1))
        CreateButtonImage(&B, ActiveSkinRect, false, true);
    else
        CreateButtonImage(&B, SkinRect, false, false);
    Canvas()->Draw(0, 0, &B);
}

// ---- glow frame ------------------------------------------------------------------------------------

bool TbsSkinButton::GlowPossible() const
{
    return FSD && !FSD->Empty && OsIsWin2000OrLater() && (FSD->ShowButtonGlowFrames() || FAlwaysShowGlowFrame) &&
           GlowLayerPictureIndex != -1;
}

void TbsSkinButton::PostLayer(unsigned Msg)
{
    if (HandleAllocated()) PostMessage(Handle(), Msg, 0, 0);
}

void TbsSkinButton::ShowLayer()
{
    if (!GlowPossible() || FIndex == -1) return;
    TCustomForm* F = GetParentForm(this);
    FLayerManager->TopMostMode = F && F->FormStyle() == fsStayOnTop;
    TBitmap* Pic = FSD->ActivePicture(GlowLayerPictureIndex);
    if (!Pic) return;
    // Without a mask picture the glow shows with the picture's own alpha (the layer
    // manager's way with no mask), so the resized image keeps the picture's pixel format.
    TBitmap* Mask = FSD->ActivePicture(GlowLayerMaskPictureIndex);
    const int PW = Pic->Width(), PH = Pic->Height();
    const int dw = Width() - SkinRect.Width(), dh = Height() - SkinRect.Height();
    TBitmap Img, Msk;
    Img.SetPixelFormat(Pic->PixelFormat());
    if (ResizeMode == 0) {
        Img.Assign(Pic);
        if (Mask) Msk.Assign(Mask);
    } else if (ResizeMode == 2 && FUseSkinSize) {
        CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &Img, Pic, Rect(0, 0, PW, PH), PW + dw, PH, true);
        if (Mask)
            CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &Msk, Mask, Rect(0, 0, PW, PH), PW + dw, PH,
                             true);
    } else if (ResizeMode == 1) {
        const TRect Cl(GlowLayerOffsetLeft, GlowLayerOffsetTop, PW - GlowLayerOffsetRight, PH - GlowLayerOffsetBottom);
        Img.SetSize(PW + dw, PH + dh);
        CreateStretchSkinImage(&Img, Pic, Rect(0, 0, PW, PH), Cl, true);
        if (Mask) {
            Msk.SetSize(PW + dw, PH + dh);
            CreateStretchSkinImage(&Msk, Mask, Rect(0, 0, PW, PH), Cl, true);
        }
    } else
        return;
    const TPoint P = ClientToScreen(Point(0, 0));
    FLayerManager->Show(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY, &Img, Mask ? &Msk : nullptr,
                        GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideLayer()
{
    if (!GlowPossible()) return;
    if (ResizeMode == 0 || ResizeMode == 1 || (ResizeMode == 2 && FUseSkinSize)) FLayerManager->Hide();
}

// ---- mouse, focus, keys ----------------------------------------------------------------------------

bool TbsSkinButton::LookChanges() const
{
    if (FGroupIndex != 0) return !FDown;
    return !IsFocused() || FDown;
}

void TbsSkinButton::DoMouseEnter()
{
    if (IsDesigning()) return;
    FMouseIn = true;
    if (LookChanges()) {
        if (FDown) {
            if (CanMorph()) FMorphKf = 1;
            Repaint();
        } else {
            if (CanAnimateFrames()) StartAnimate(true);
            DoMorph();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
    PostLayer(ShowButtonLayer);
}

void TbsSkinButton::DoMouseLeave()
{
    if (IsDesigning()) return;
    if (!(FCanFocused && FDefault && FActive && !const_cast<TbsSkinButton*>(this)->Focused())) FMouseIn = false;
    if (LookChanges()) {
        if (CanAnimateFrames()) StartAnimate(false);
        DoMorph();
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StopRepeat();
    PostLayer(HideButtonLayer);
}

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (CanAnimateFrames()) StopAnimate();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FCheckedMode) {
            FStopMouseUp = true;
            ButtonClick();
        } else if (FRepeatMode && FGroupIndex == 0)
            StartRepeat();
        else if (FGroupIndex != 0)
            ButtonClick();
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0)
        FAllowAllUpCheck = true;
}

void TbsSkinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FDown) return;
    const bool Inside = IsPointInRect(Rect(0, 0, Width(), Height()), Point(X, Y));
    if (!Inside && FMouseIn)
        Perform(CM_MOUSELEAVE, 0, LPARAM(this));
    else if (Inside && !FMouseIn)
        Perform(CM_MOUSEENTER, 0, LPARAM(this));
}

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FMouseDown = false;
        if (FCheckedMode) {
            if (FStopMouseUp)
                FStopMouseUp = false;
            else {
                SetDown(false);
                ButtonClick();
            }
        } else if (FGroupIndex == 0) {
            if (FMouseIn) {
                const bool WasDown = FDown;
                SetDown(false);
                StopRepeat();
                if (WasDown) ButtonClick();
            } else {
                FDown = false;
                StopRepeat();
            }
        } else if (FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
            SetDown(false);
            ButtonClick();
        }
    }
    if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::CreateWnd()
{
    TbsSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

void TbsSkinButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case ShowButtonLayer: ShowLayer(); return;
    case HideButtonLayer: HideLayer(); return;
    case WM_ERASEBKGND:
        if (!FromWMPaint) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FCanFocused && !FocusBeforeClick()) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        if (FCanFocused && !FDownState) {
            if (CanAnimateFrames()) StartAnimate(true);
            DoMorph();
        }
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        StopRepeat();
        if (FGroupIndex == 0) FDown = false;
        if (FCanFocused && !FDownState) {
            if (CanAnimateFrames()) StartAnimate(false);
            if (CanMorph() && FIndex != -1)
                DoMorph();
            else
                Invalidate();
        }
        return;
    case WM_KEYDOWN:
        if (FCanFocused && FSpaceSupport) {
            if (M.WParam == VK_SPACE) {
                if (FIndex != -1 && !AnimateSkinRect.IsEmpty()) StopAnimate();
                SetDown(true);
                if (FRepeatMode) ButtonClick();
            } else if (M.WParam == VK_RETURN)
                ButtonClick();
        }
        break;
    case WM_KEYUP:
        if (FCanFocused && FSpaceSupport && M.WParam == VK_SPACE) {
            SetDown(false);
            ButtonClick();
        }
        break;
    case CM_DIALOGKEY: {
        const bool NoShift = !(GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0);
        if (((M.WParam == VK_RETURN && FActive && Enabled()) || (M.WParam == VK_ESCAPE && FCancel && FCanFocused)) &&
            NoShift && CanFocus()) {
            ButtonClick();
            M.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            ButtonClick();
            M.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* C = reinterpret_cast<TWinControl*>(M.LParam);
        auto* SB = dynamic_cast<TbsSkinButton*>(C);
        FActive = SB ? SB == this : FDefault;
        if (FCanFocused && FDefault) {
            if (SB && SB != this && FMouseIn) {
                FMouseIn = false;
                DoMorph();
            } else if (C && !SB && !FMouseIn) {
                if (CanMorph()) FMorphKf = 1;
                FMouseIn = true;
                DoMorph();
            }
        }
        break;
    }
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        if (CanMorph()) {
            StopMorph();
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
        TbsSkinCustomControl::Dispatch(M);
        if (M.LParam == 0 || M.LParam == LPARAM(this)) DoMouseEnter();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if (M.LParam == 0 || M.LParam == LPARAM(this)) DoMouseLeave();
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
