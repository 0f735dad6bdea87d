// The skinned speed button: state (up, hot, pressed, disabled), groups, check mode,
// repeat, the frame animation and the morph between the normal and the hot look.
#include "skin/controls/bsSkinExCtrls.h"

#include "platform/graphics/ImgList.h"
#include "skin/core/bsEffects.h"

namespace {

// A timer of the GUI thread, stopped, that runs Tick.
TTimer* MakeTimer(UINT Interval, std::function<void()> Tick)
{
    auto* T = new TTimer(nullptr);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->SetOnTimer([Tick = std::move(Tick)](TObject*) { Tick(); });
    return T;
}

bool Running(const TTimer* T) { return T && T->Enabled(); }

void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
}

}  // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner)
    : TbsGraphicSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FSkinDataName = "toolbutton";
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    SetBounds(Left(), Top(), 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton()
{
    if (FSkinImagesMenu) {
        FSkinImagesMenu->FOnInternalChange = nullptr;
        FSkinImagesMenu->RemoveFreeNotification(this);
    }
    delete RepeatTimer;
    delete AnimateTimer;
    delete MorphTimer;
    RepeatTimer = AnimateTimer = MorphTimer = nullptr;
}

// ---- properties ------------------------------------------------------------------------------

void TbsSkinSpeedButton::SetDown(bool Value)
{
    FDown = Value;
    if (MorphingApplies()) {
        FMorphKf = 1;
        if (Value) StopMorph();
        else StartMorph();
    }
    if (FFlat && !Transparent() && !Value && !FMouseIn && !IsDesigning()) SetTransparentSilent(true);
    Repaint();
    if (FGroupIndex > 0 && Value && !FAllowAllUp && Parent()) {
        TWinControl* P = Parent();
        for (int I = 0; I < P->ControlCount(); ++I) {
            auto* B = dynamic_cast<TbsSkinSpeedButton*>(P->Controls(I));
            if (B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
        }
    }
}

void TbsSkinSpeedButton::SetCheckedMode(bool Value)
{
    if (FCheckedMode == Value) return;
    FCheckedMode = Value;
    if (Value) FGroupIndex = -1;
    else if (FGroupIndex == -1) FGroupIndex = 0;
}

void TbsSkinSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    SetTransparent(Value);
    Repaint();
}

void TbsSkinSpeedButton::SetTransparent(bool Value)
{
    if (Value) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    if (!FStopDraw) Repaint();
}

void TbsSkinSpeedButton::SetTransparentSilent(bool Value)
{
    FStopDraw = true;
    SetTransparent(Value);
    FStopDraw = false;
}

void TbsSkinSpeedButton::SetShowCaption(bool Value)
{
    if (FShowCaption == Value) return;
    FShowCaption = Value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TbsSkinSpeedButton::SetImageList(TCustomImageList* Value)
{
    bsSetLink(this, FButtonImages, Value);
    Repaint();
}

void TbsSkinSpeedButton::SetSkinImagesMenu(TbsSkinImagesMenu* Value)
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

void TbsSkinSpeedButton::SetImageIndex(int Value)
{
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetGlyph(TBitmap* Value)
{
    if (Value) FGlyph->Assign(Value);
    else FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TbsSkinSpeedButton::SetNumGlyphs(TbsNumGlyphs Value)
{
    FNumGlyphs = std::clamp(Value, 1, 4);
    Repaint();
}

void TbsSkinSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetSpacing(int Value)
{
    if (Value == FSpacing) return;
    FSpacing = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Repaint();
}

void TbsSkinSpeedButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (MorphingApplies()) FMorphKf = 0;
    StopAnimate();
    Repaint();
}

void TbsSkinSpeedButton::ButtonClick()
{
    ClickWithAction(this, OnClick, FActionLink.get());
}

void TbsSkinSpeedButton::SetAction(TBasicAction* Value)
{
    TControlActionLink::Assign(FActionLink, this, Value,
                               [this](TBasicAction* A, bool CheckDefaults) { ActionChange(A, CheckDefaults); });
}

void TbsSkinSpeedButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    ApplyActionToControl(this, Sender, CheckDefaults);
    if (FGlyph && !FGlyph->Empty()) return;
    if (TCustomImageList* Images = ActionImages(Sender)) {
        SetImageList(Images);
        SetImageIndex(static_cast<TCustomAction*>(Sender)->ImageIndex());
        Repaint();
    }
}

void TbsSkinSpeedButton::Loaded()
{
    TbsGraphicSkinCustomControl::Loaded();
    if (FFlat && Transparent() && FDown) SetTransparentSilent(false);
}

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FButtonImages) FButtonImages = nullptr;
    if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
}

// ---- skin --------------------------------------------------------------------------------------

TRect TbsSkinSpeedButton::AnimateFrameRect(int N) const
{
    const TRect& A = AnimateSkinRect;
    if (FrameCount <= 0) return A;
    if (A.Width() > SkinRect.Width()) {
        const int W = A.Width() / FrameCount;
        return TRect(A.Left + (N - 1) * W, A.Top, A.Left + N * W, A.Bottom);
    }
    const int H = A.Height() / FrameCount;
    return TRect(A.Left, A.Top + (N - 1) * H, A.Right, A.Top + N * H);
}

void TbsSkinSpeedButton::GetSkinData()
{
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        ActiveSkinRect = TRect();
        return;
    }
    if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[FIndex].get())) {
        FontName = R->FontName;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        FontColor = R->FontColor;
        ActiveFontColor = R->ActiveFontColor;
        DownFontColor = R->DownFontColor;
        DisabledFontColor = R->DisabledFontColor;
        ActiveSkinRect = IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
        DownSkinRect = IsEmptyRect(R->DownSkinRect) ? ActiveSkinRect : R->DownSkinRect;
        DisabledSkinRect = R->DisabledSkinRect;
        Morphing = R->Morphing && !Transparent();
        MorphKind = R->MorphKind;
        AnimateSkinRect = R->AnimateSkinRect;
        FrameCount = R->FrameCount;
        AnimateInterval = R->AnimateInterval;
        MenuMarkerRect = R->MenuMarkerRect;
        MenuMarkerActiveRect = IsEmptyRect(R->MenuMarkerActiveRect) ? MenuMarkerRect : R->MenuMarkerActiveRect;
        MenuMarkerDownRect = IsEmptyRect(R->MenuMarkerDownRect) ? MenuMarkerActiveRect : R->MenuMarkerDownRect;
        MenuMarkerFlatRect = IsEmptyRect(R->MenuMarkerFlatRect) ? MenuMarkerRect : R->MenuMarkerFlatRect;
        MenuMarkerTransparentColor = R->MenuMarkerTransparentColor;
        if (DisabledFontColor == FontColor) DisabledFontColor = RGB(128, 128, 128);
    }
    if (Running(AnimateTimer) && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        if (AnimateInc) ActiveSkinRect = AnimateFrameRect(CurrentFrame);
        else SkinRect = AnimateFrameRect(CurrentFrame);
    }
}

void TbsSkinSpeedButton::ChangeSkinData()
{
    StopAnimate();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphingApplies() && FIndex != -1 && FMouseIn && !Transparent()) FMorphKf = 1;
}

void TbsSkinSpeedButton::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize || ResizeMode == 1) {
        TbsGraphicSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    NewClRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - SkinRect.Width(),
                      ClRect.Bottom + AHeight - SkinRect.Height());
}

// ---- painting ------------------------------------------------------------------------------------

void TbsSkinSpeedButton::SetFaceFont(TCanvas* C)
{
    if (FIndex != -1 && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
    } else {
        C->Font()->Assign(FDefaultFont.get());
    }
    if (FSD && FSD->ResourceStrData()) C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else C->Font()->SetCharset(FDefaultFont->Charset());
}

void TbsSkinSpeedButton::DrawContent(TCanvas* C, const TRect& R, bool AActive, bool APressed)
{
    C->Brush()->SetStyle(bsClear);
    const String Cap = FShowCaption ? Caption() : String();
    TbsImagesMenuItem* Item = FSkinImagesMenu && FUseImagesMenuImage ? FSkinImagesMenu->SelectedItem() : nullptr;
    if (Item) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, FUseImagesMenuCaption ? Item->Caption() : Cap,
                         Item->ImageIndex(), FSkinImagesMenu->Images(), APressed, Enabled(), FDrawColorMarker,
                         FColorMarkerValue);
        return;
    }
    if (auto* TB = FGlyph->Empty() ? dynamic_cast<TbsSkinToolBar*>(Parent()) : nullptr) {
        // the tool bar's images: hot ones for a hot or pressed button, disabled ones (drawn
        // as they are) for a disabled button
        TCustomImageList* Images = TB->Images();
        bool DrawEnabled = Enabled();
        if ((AActive || APressed) && TB->HotImages()) Images = TB->HotImages();
        if (!Enabled() && TB->DisabledImages()) {
            Images = TB->DisabledImages();
            DrawEnabled = true;
        }
        if (Images) {
            DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Cap, FImageIndex, Images, APressed, DrawEnabled,
                             FDrawColorMarker, FColorMarkerValue);
            return;
        }
    }
    if (FGlyph->Empty() && FButtonImages && FImageIndex >= 0 && FImageIndex < FButtonImages->Count()) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Cap, FImageIndex, FButtonImages, APressed, Enabled(),
                         FDrawColorMarker, FColorMarkerValue);
        return;
    }
    int N = 1;
    if (APressed && AActive && FNumGlyphs > 2) N = 3;
    else if (AActive && FNumGlyphs > 3) N = 4;
    else if (Enabled() || FNumGlyphs < 2) N = 1;
    else N = 2;
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, Cap, FGlyph.get(), FNumGlyphs, N, APressed, FDrawColorMarker,
                     FColorMarkerValue);
}

void TbsSkinSpeedButton::DrawButtonFace(TBitmap* B, const TRect& Source, bool AActive, bool APressed)
{
    TRect R;
    if (!FUseSkinSize && ResizeMode != 1) {
        if (Picture && !Picture->Empty()) {
            if (ResizeMode == 0)
                B->Canvas()->CopyRect(TRect(0, 0, B->Width(), B->Height()), Picture->Canvas(), Source);
            else if (ResizeMode == 2 || ResizeMode == 3)
                CreateStretchSkinImage(B, Picture, Source, ClRect, true);
        }
        R = TRect(ClRect.Left, ClRect.Top, ClRect.Right + Width() - SkinRect.Width(),
                  ClRect.Bottom + Height() - SkinRect.Height());
    } else {
        CreateSkinImageOf(B, Source);
        R = NewClRect;
    }
    DrawFaceContent(B->Canvas(), R, AActive, APressed);
}

TColor TbsSkinSpeedButton::FaceFontColor(bool AActive, bool APressed) const
{
    if (Enabled() && !FUseSkinFontColor) return FDefaultFont->Color();
    if (!Enabled()) return DisabledFontColor;
    if (APressed && AActive) return DownFontColor;
    if (AActive) return ActiveFontColor;
    return FontColor;
}

void TbsSkinSpeedButton::DrawFaceContent(TCanvas* C, const TRect& R, bool AActive, bool APressed)
{
    SetFaceFont(C);
    C->Font()->SetColor(FaceFontColor(AActive, APressed));
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, NewClRect, APressed, AActive, DrawDefault);
        if (!DrawDefault) return;
    }
    DrawContent(C, R, AActive, APressed);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const TRect R = ClientRect();
    const bool Pressed = IsPressed() || FMenuTracked;
    if (Pressed) FramedFill(C, R, bsDefaultFrameColor, bsDefaultDownColor);
    else if (FMouseIn) FramedFill(C, R, bsDefaultFrameColor, bsDefaultHotColor);
    else if (IsDesigning() || !FFlat) FramedFill(C, R, DarkenColor(clBtnFace, 15), clBtnFace);
    else if (!Transparent()) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
    }
    C->Font()->Assign(FDefaultFont.get());
    if (!Enabled()) C->Font()->SetColor(clBtnShadow);
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, Canvas(), R, Pressed, FMouseIn, DrawDefault);
        if (!DrawDefault) return;
    }
    DrawContent(C, R, FMouseIn, Pressed);
}

void TbsSkinSpeedButton::PaintBitmap(const std::function<void(TBitmap*)>& Build)
{
    TBitmap B(Width(), Height());
    Build(&B);
    Canvas()->Draw(0, 0, &B);
}

void TbsSkinSpeedButton::DrawTransparentContent(const TRect& R)
{
    TCanvas* C = Canvas();
    if (FIndex == -1) {
        C->Font()->Assign(FDefaultFont.get());
        if (!Enabled()) C->Font()->SetColor(clBtnShadow);
    } else {
        SetFaceFont(C);
        TbsSkinColors* K = FSD->FSkinColors.get();
        if (!Enabled()) C->Font()->SetColor(K->FcBtnShadow);
        else if (FUseSkinFontColor) C->Font()->SetColor(K->FcBtnText);
        else C->Font()->SetColor(FDefaultFont->Color());
    }
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, R, false, false, DrawDefault);
        if (!DrawDefault) return;
    }
    DrawContent(C, R, false, false);
}

void TbsSkinSpeedButton::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    const bool Pressed = IsPressed();
    if (FIndex == -1) {
        if (Pressed || FMouseIn || FMenuTracked || !Transparent())
            PaintBitmap([this](TBitmap* B) { CreateControlDefaultImage(B); });
        else
            DrawTransparentContent(ClientRect());
        return;
    }
    if (MorphingApplies() && FMorphKf != 0 && FMorphKf != 1 && !Transparent()) {
        TBitmap B1(Width(), Height()), B2(Width(), Height());
        DrawButtonFace(&B1, SkinRect, false, false);
        DrawButtonFace(&B2, ActiveSkinRect, true, false);
        TbsEffectBmp E1(B1.Handle()), E2(B2.Handle());
        switch (MorphKind) {
        case mkDefault: E1.Morph(&E2, FMorphKf); break;
        case mkGradient: E1.MorphGrad(&E2, FMorphKf); break;
        case mkLeftGradient: E1.MorphLeftGrad(&E2, FMorphKf); break;
        case mkRightGradient: E1.MorphRightGrad(&E2, FMorphKf); break;
        case mkLeftSlide: E1.MorphLeftSlide(&E2, FMorphKf); break;
        case mkRightSlide: E1.MorphRightSlide(&E2, FMorphKf); break;
        case mkPush: E1.MorphPush(&E2, FMorphKf); break;
        }
        E1.Draw(Canvas()->Handle(), 0, 0);
        return;
    }
    if (FMenuTracked || Pressed) {
        PaintBitmap([this](TBitmap* B) { DrawButtonFace(B, DownSkinRect, true, true); });
    } else if (FMouseIn || (MorphingApplies() && FMorphKf == 1)) {
        PaintBitmap([this](TBitmap* B) { DrawButtonFace(B, ActiveSkinRect, true, false); });
    } else if (Transparent()) {
        DrawTransparentContent(NewClRect);
    } else {
        const TRect Source = !Enabled() && !IsEmptyRect(DisabledSkinRect) ? DisabledSkinRect : SkinRect;
        PaintBitmap([this, Source](TBitmap* B) { DrawButtonFace(B, Source, false, false); });
    }
}

// ---- mouse and messages -----------------------------------------------------------------------------

void TbsSkinSpeedButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_MOUSEENTER:
        if (M.LParam == LPARAM(this) || M.LParam == 0) DoMouseEnter();
        return;
    case CM_MOUSELEAVE:
        if (M.LParam == LPARAM(this) || M.LParam == 0) DoMouseLeave();
        return;
    case CM_ENABLEDCHANGED:
        EnabledChanged();
        return;
    case CM_TEXTCHANGED:
        Repaint();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
            ButtonClick();
            M.Result = 1;
            return;
        }
        break;
    }
    TbsGraphicSkinCustomControl::Dispatch(M);
}

void TbsSkinSpeedButton::EnabledChanged()
{
    StopMorph();
    if (MorphingApplies()) FMorphKf = 0;
    FMouseIn = false;
    Repaint();
}

void TbsSkinSpeedButton::DoMouseEnter() { HoverChanged(true); }

void TbsSkinSpeedButton::DoMouseLeave() { HoverChanged(false); }

void TbsSkinSpeedButton::HoverChanged(bool In)
{
    if (IsDesigning()) return;
    // a button held down in a group keeps its look whatever the mouse does
    const bool Free = (FGroupIndex == 0 || !FDown) && Enabled();
    if (FFlat && Free) SetTransparentSilent(!In);
    if (In && OnMouseEnter) OnMouseEnter(this);
    if (!In && OnMouseLeave) OnMouseLeave(this);
    if (!Enabled()) return;
    FMouseIn = In;
    if (Free) {
        if (FDown) {
            if (In && MorphingApplies()) FMorphKf = 1;
            Repaint();
        } else {
            GetSkinData();
            if (FIndex != -1 && SkinEffectsOn() && !IsEmptyRect(AnimateSkinRect)) StartAnimate(In);
            if (MorphingApplies() && FIndex != -1 && !Transparent() && !FFlat) StartMorph();
            else Repaint();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) {
        if (In) StartRepeat();
        else StopRepeat();
    }
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (FIndex != -1 && SkinEffectsOn()) StopAnimate();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FCheckedMode) {
            FStopMouseUp = true;
            ButtonClick();
        } else if (FRepeatMode && FGroupIndex == 0) {
            StartRepeat();
        } else if (FGroupIndex != 0) {
            ButtonClick();
        }
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FMouseDown) return;
    const bool Out = X < 0 || Y < 0 || X >= Width() || Y >= Height();
    if (Out && FMouseIn && FDown) Perform(CM_MOUSELEAVE, 0, LPARAM(this));
    else if (!Out && !FMouseIn && FDown) Perform(CM_MOUSEENTER, 0, LPARAM(this));
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FMouseDown = false;
    const bool Inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (FCheckedMode) {
        if (FStopMouseUp) {
            FStopMouseUp = false;
        } else if (FDown) {
            SetDown(false);
            ButtonClick();
        }
        return;
    }
    if (FGroupIndex == 0) {
        if (Inside) {
            const bool Was = FDown;
            SetDown(false);
            StopRepeat();
            if (Was) ButtonClick();
        } else {
            FDown = false;
            StopRepeat();
        }
    } else if (FDown && Inside && FAllowAllUp && FAllowAllUpCheck) {
        SetDown(false);
        ButtonClick();
    }
}

// ---- timers -------------------------------------------------------------------------------------------

void TbsSkinSpeedButton::StartRepeat()
{
    if (!RepeatTimer) RepeatTimer = MakeTimer(500, [this] { RepeatTick(); });
    RepeatTimer->SetEnabled(false);
    RepeatTimer->SetInterval(500);
    FRepeatArmed = false;
    RepeatTimer->SetEnabled(true);
}

void TbsSkinSpeedButton::StopRepeat()
{
    if (RepeatTimer) RepeatTimer->SetEnabled(false);
    FRepeatArmed = false;
}

void TbsSkinSpeedButton::RepeatTick()
{
    if (!FRepeatArmed) {
        FRepeatArmed = true;
        RepeatTimer->SetInterval(UINT(std::max(FRepeatInterval, 1)));
        return;
    }
    ButtonClick();
}

void TbsSkinSpeedButton::StartAnimate(bool AInc)
{
    if (FFlat || FIndex == -1 || !SkinEffectsOn() || IsEmptyRect(AnimateSkinRect) || FrameCount <= 0) return;
    if (!AnimateTimer) AnimateTimer = MakeTimer(UINT(std::max(AnimateInterval, 1)), [this] { AnimateTick(); });
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(UINT(std::max(AnimateInterval, 1)));
    AnimateInc = AInc;
    CurrentFrame = AInc ? 1 : FrameCount;
    AnimateTimer->SetEnabled(true);
    Repaint();
}

void TbsSkinSpeedButton::StopAnimate()
{
    if (AnimateTimer) AnimateTimer->SetEnabled(false);
    CurrentFrame = 0;
}

void TbsSkinSpeedButton::AnimateTick()
{
    if (AnimateInc ? CurrentFrame <= FrameCount : CurrentFrame >= 0) {
        CurrentFrame += AnimateInc ? 1 : -1;
        Repaint();
        return;
    }
    StopAnimate();
    Repaint();
}

void TbsSkinSpeedButton::StartMorph()
{
    if (!MorphTimer) MorphTimer = MakeTimer(20, [this] { MorphTick(); });
    MorphTimer->SetEnabled(true);
}

void TbsSkinSpeedButton::StopMorph()
{
    if (MorphTimer) MorphTimer->SetEnabled(false);
}

void TbsSkinSpeedButton::MorphTick()
{
    GetSkinData();
    if (FIndex == -1 || !MorphingApplies()) {
        FMorphKf = FMouseIn ? 1 : 0;
        StopMorph();
    } else if (FMouseIn && FMorphKf < 1) {
        FMorphKf = std::min(FMorphKf + 0.2, 1.0);
    } else if (!FMouseIn && FMorphKf > 0) {
        FMorphKf = std::max(FMorphKf - 0.2, 0.0);
    } else {
        FMorphKf = FMouseIn ? 1 : 0;
        StopMorph();
    }
    Repaint();
}
