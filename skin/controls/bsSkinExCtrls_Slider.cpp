// The skinned slider: ruler and thumb from the skin's "slider" record or from four
// built-in pictures, the value <-> pixel mapping, dragging, jumping towards a press on
// the ruler, keys, and the scale of tick points.
#include "skin/controls/bsSkinExCtrls.h"

#include <cmath>

namespace {

// Round to nearest, ties to even.
int RoundEven(double V) { return int(std::nearbyint(V)); }

// The colour left out when the built-in pictures are drawn (their bottom-left pixel).
constexpr TColor KeyColor = RGB(255, 0, 255);

const char* const ImageNames[4] = {"BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"};

// The built-in pictures when the program's resources do not hold them: a thumb in two
// states side by side (normal, pressed) and a sunken groove, in the system colours.
void DrawBuiltInImage(TBitmap* B, TbsSliderImage Index)
{
    const bool Thumb = Index == siHThumb || Index == siVThumb;
    const bool Horz = Index == siHThumb || Index == siHRuler;
    const int W = Index == siHThumb ? 10 : Index == siHRuler ? 10 : Index == siVThumb ? 31 : 7;
    const int H = Index == siHThumb ? 15 : Index == siHRuler ? 7 : Index == siVThumb ? 7 : 10;
    B->SetSize(W, H);
    TCanvas* C = B->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(KeyColor);
    C->FillRect(TRect(0, 0, W, H));
    if (Thumb) {
        const int SW = Horz ? W / 2 : W / 2;
        for (int S = 0; S < 2; ++S) {
            const TRect R(S * SW, 0, S * SW + SW, H);
            C->Brush()->SetColor(S == 0 ? clBtnFace : bsDefaultDownColor);
            C->FillRect(R);
            C->Brush()->SetColor(S == 0 ? clBtnShadow : bsDefaultFrameColor);
            C->FrameRect(R);
            // rounded corners: the corner pixels take the left-out colour
            C->SetPixels(R.Left, R.Top, KeyColor);
            C->SetPixels(R.Right - 1, R.Top, KeyColor);
            C->SetPixels(R.Left, R.Bottom - 1, KeyColor);
            C->SetPixels(R.Right - 1, R.Bottom - 1, KeyColor);
        }
        return;
    }
    // a groove: shadow above (left), window inside, highlight below (right)
    const int Across = Horz ? H : W;
    for (int I = 0; I < Across; ++I) {
        TColor Col = clWindow;
        if (I == 0) Col = clBtnShadow;
        else if (I == 1) Col = cl3DDkShadow;
        else if (I == Across - 1) Col = clBtnHighlight;
        else if (I == Across - 2) Col = clBtnFace;
        C->Brush()->SetColor(Col);
        C->FillRect(Horz ? TRect(1, I, W - 1, I + 1) : TRect(I, 1, I + 1, H - 1));
    }
    C->SetPixels(0, H - 1, KeyColor);
}

void DrawTransparentPart(TCanvas* C, int X, int Y, TBitmap* Source, const TRect& Part, bool Transparent)
{
    if (!Source || IsEmptyRect(Part)) return;
    TBitmap B;
    bsCopyPicturePart(&B, Source, Part);
    if (Transparent) B.SetTransparent(true);
    C->Draw(X, Y, &B);
}

}  // namespace

TbsSkinCustomSlider::TbsSkinCustomSlider(TComponent* AOwner) : TbsSkinControl(AOwner), FRuler(std::make_unique<TBitmap>())
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetTabStop(true);
    SetBounds(Left(), Top(), 150, 40);
    for (int I = 0; I < 4; ++I) SetImage(TbsSliderImage(I), nullptr);
    FSkinDataName = "slider";
    FCreating = false;
    UpdateSlider();
}

TbsSkinCustomSlider::~TbsSkinCustomSlider()
{
    OnChange = OnChanged = OnDrawPoints = nullptr;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), 1);
    for (auto& I : FImages)
        if (I) I->OnChange = nullptr;
}

// ---- pictures -------------------------------------------------------------------------------

void TbsSkinCustomSlider::LoadBuiltInImage(TbsSliderImage Index)
{
    TBitmap B;
    try {
        B.LoadFromResourceName(0, ImageNames[Index]);
    } catch (const Exception&) {
        DrawBuiltInImage(&B, Index);
    }
    FImages[Index]->Assign(&B);
}

void TbsSkinCustomSlider::SetImage(TbsSliderImage Index, TBitmap* Value)
{
    if (!FImages[Index]) {
        FImages[Index] = std::make_unique<TBitmap>();
        FImages[Index]->OnChange = [this](TObject*) {
            if (!FCreating) UpdateSlider();
        };
    }
    if (Value) {
        FImages[Index]->Assign(Value);
        FUserImages.Include(Index);
        return;
    }
    LoadBuiltInImage(Index);
    FUserImages.Exclude(Index);
    if (!Reading()) {
        FOptions.Exclude(Index == siHThumb || Index == siVThumb ? soThumbOpaque : soRulerOpaque);
        Invalidate();
    }
}

void TbsSkinCustomSlider::Loaded()
{
    TbsSkinControl::Loaded();
    for (int I = 0; I < 4; ++I)
        if (FUserImages.Contains(TbsSliderImage(I))) {
            TBitmap Copy;
            Copy.Assign(FImages[I].get());
            SetImage(TbsSliderImage(I), &Copy);
        }
}

// ---- properties --------------------------------------------------------------------------------

void TbsSkinCustomSlider::SetMinValue(int Value)
{
    if (Value != FMinValue) SetRange(Value, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(int Value)
{
    if (Value != FMaxValue) SetRange(FMinValue, Value);
}

void TbsSkinCustomSlider::SetRange(int AMin, int AMax)
{
    if (AMin >= AMax && !Reading()) return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!Reading() && FIncrement > AMax - AMin) FIncrement = AMax - AMin;
    if (FOptions.Contains(soShowPoints)) Invalidate();
    SetValue(FValue);
    RangeChanged();
}

void TbsSkinCustomSlider::SetIncrement(int Value)
{
    if (Value <= 0) return;
    FIncrement = Value;
    SetValue(FValue);
    Invalidate();
}

void TbsSkinCustomSlider::SetValue(int V)
{
    V = std::clamp(V, FMinValue, std::max(FMinValue, FMaxValue));
    const int Old = FValue;
    FValue = V;
    MoveThumb(ValueToPixel(V));
    if (V != Old) DoChange();
}

void TbsSkinCustomSlider::SetEdgeSize(int Value)
{
    TBitmap* Ruler = FImages[FOrientation == soHorizontal ? siHRuler : siVRuler].get();
    const int Along = FOrientation == soHorizontal ? Ruler->Width() : Ruler->Height();
    if (Value < 0 || 2 * Value >= Along || Value == FEdgeSize) return;
    FEdgeSize = Value;
    UpdateSlider();
}

void TbsSkinCustomSlider::SetNumThumbStates(TbsNumThumbStates Value)
{
    Value = std::clamp(Value, 1, 2);
    if (Value == FNumThumbStates) return;
    FNumThumbStates = Value;
    UpdateSlider();
}

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation Value)
{
    if (Value == FOrientation) return;
    FOrientation = Value;
    UpdateSlider();
    if (!Reading() && !ComponentState().Contains(csUpdating)) SetBounds(Left(), Top(), Height(), Width());
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions Value)
{
    if (Value == FOptions) return;
    FOptions = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetUseSkinThumb(bool Value)
{
    if (Value == FUseSkinThumb) return;
    FUseSkinThumb = Value;
    UpdateSlider();
}

void TbsSkinCustomSlider::SetThumbImageList(TCustomImageList* Value)
{
    bsSetLink(this, FThumbImageList, Value);
    UpdateSlider();
}

void TbsSkinCustomSlider::SetThumbImageIndex(int Value)
{
    FThumbImageIndex = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetThumbActiveImageIndex(int Value)
{
    FThumbActiveImageIndex = Value;
    Invalidate();
}

void TbsSkinCustomSlider::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FThumbImageList) {
        FThumbImageList = nullptr;
        if (!ComponentState().Contains(csDestroying)) UpdateSlider();
    }
}

// ---- skin and layout -----------------------------------------------------------------------------

void TbsSkinCustomSlider::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinSlider*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) {
        // a record of another kind has nothing a slider can draw with
        FIndex = -1;
        return;
    }
    Picture = FSD->ActivePicture(R->PictureIndex);
    HRulerRect = R->HRulerRect;
    HThumbRect = R->HThumbRect;
    VRulerRect = R->VRulerRect;
    VThumbRect = R->VThumbRect;
    SkinEdgeSize = R->EdgeSize;
    BGColor = R->BGColor;
    PointsColor = R->PointsColor;
}

void TbsSkinCustomSlider::GetThumbSize(int& TW, int& TH, int& States, bool WithImageList)
{
    if (FIndex != -1 && FUseSkinThumb) {
        const TRect& R = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
        TW = R.Width() / 2;
        TH = R.Height();
        States = 2;
    } else if (FThumbImageList && WithImageList) {
        TW = FThumbImageList->Width();
        TH = FThumbImageList->Height();
        States = 1;
    } else {
        TBitmap* B = FImages[FOrientation == soHorizontal ? siHThumb : siVThumb].get();
        TW = B->Width() / FNumThumbStates;
        TH = B->Height();
        States = FNumThumbStates;
    }
}

int TbsSkinCustomSlider::GetRulerLength()
{
    int TW, TH, S;
    GetThumbSize(TW, TH, S);
    return FOrientation == soHorizontal ? FRuler->Width() - TW : FRuler->Height() - TH;
}

int TbsSkinCustomSlider::ValueToPixel(int V)
{
    const TRect R = GetSliderRect();
    const int Base = (FOrientation == soHorizontal ? R.Left : R.Top) + 6;
    const int L = GetRulerLength();
    const int Range = FMaxValue - FMinValue;
    int P = (Range > 0 ? RoundEven(double(L) * (V - FMinValue) / Range) : 0) + Base;
    if (FOrientation == soVertical) {
        int TW, TH, S;
        GetThumbSize(TW, TH, S);
        P = R.Top + R.Bottom - P - TH;
    }
    return std::max(P, Base);
}

int TbsSkinCustomSlider::PixelToValue(int P)
{
    const TRect R = GetSliderRect();
    if (FOrientation == soVertical) {
        int TW, TH, S;
        GetThumbSize(TW, TH, S);
        P = ClientHeight() - P - TH;
    }
    const int L = GetRulerLength();
    // a ruler no longer than the thumb has no positions but the first
    int V = L > 0 ? RoundEven(double(P - R.Left - 6) * (FMaxValue - FMinValue) / L) : 0;
    if (!FOptions.Contains(soSmooth) && FIncrement > 0) V = RoundEven(double(V) / FIncrement) * FIncrement;
    return std::min(std::max(V, 0) + FMinValue, FMaxValue);
}

TPoint TbsSkinCustomSlider::ClampThumbPos(int P)
{
    const TRect R = GetSliderRect();
    const int Base = (FOrientation == soHorizontal ? R.Left : R.Top) + 6;
    const int L = std::max(GetRulerLength(), 0);
    P = std::max(P, Base);
    P = std::min(ValueToPixel(PixelToValue(std::min(P, Base + L))), Base + L);
    return FOrientation == soHorizontal ? TPoint(P, FThumbRect.Top) : TPoint(FThumbRect.Left, P);
}

void TbsSkinCustomSlider::InvalidateThumb()
{
    if (HandleAllocated()) InvalidateRect(Handle(), &FThumbRect, !ControlStyle().Contains(csOpaque));
}

void TbsSkinCustomSlider::MoveThumb(int P)
{
    const int Old = FValue;
    const TPoint TL = ClampThumbPos(P);
    InvalidateThumb();
    FThumbRect = TRect(TL.X, TL.Y, TL.X + FThumbRect.Width(), TL.Y + FThumbRect.Height());
    InvalidateThumb();
    if (FSliding) {
        FValue = PixelToValue(FOrientation == soHorizontal ? TL.X : TL.Y);
        if (FValue != Old) DoChange();
    }
}

void TbsSkinCustomSlider::BuildSkinRuler()
{
    const TRect R = GetSliderRect();
    if (FOrientation == soHorizontal) {
        const int L = std::max(R.Width() - 12, 0);
        if (L == 0 || !Picture) FRuler->SetSize(0, 0);
        else CreateHSkinImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, HRulerRect, L, HRulerRect.Height(), false);
    } else {
        const int L = std::max(R.Height() - 12, 0);
        if (L == 0 || !Picture) FRuler->SetSize(0, 0);
        else CreateVSkinImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, VRulerRect, VRulerRect.Width(), L, false);
    }
}

void TbsSkinCustomSlider::BuildDefaultRuler()
{
    const bool Horz = FOrientation == soHorizontal;
    TBitmap* Pic = FImages[Horz ? siHRuler : siVRuler].get();
    const TRect R = GetSliderRect();
    const int Length = std::max((Horz ? R.Width() : R.Height()) - 12, 0);
    const int Thick = Horz ? Pic->Height() : Pic->Width();
    const int Wp = Horz ? Pic->Width() : Pic->Height();
    const int E = FEdgeSize;
    if (Length == 0 || Thick <= 0 || Wp <= 0) {
        FRuler->SetSize(0, 0);
        return;
    }
    if (Horz) FRuler->SetSize(Length, Thick);
    else FRuler->SetSize(Thick, Length);
    TCanvas* C = FRuler->Canvas();
    // copies the picture's part [From, From + N) along the ruler to position At
    auto Piece = [&](int From, int N, int At) {
        if (N <= 0) return;
        if (Horz) C->CopyRect(TRect(At, 0, At + N, Thick), Pic->Canvas(), TRect(From, 0, From + N, Thick));
        else C->CopyRect(TRect(0, At, Thick, At + N), Pic->Canvas(), TRect(0, From, Thick, From + N));
    };
    const int A = Length - 2 * E, S = Wp - 2 * E;
    Piece(0, Wp - E, 0);
    if (S <= 0 || A < S) return;
    const int N = A / S, Rem = A % S;
    for (int I = 1; I < N; ++I) Piece(E, S, E + I * S);
    Piece(Wp - E - Rem, E + Rem, E + N * S);
}

void TbsSkinCustomSlider::UpdateSlider()
{
    if (FCreating) return;
    GetSkinData();
    const int Remembered = FValue;
    if (FIndex != -1) BuildSkinRuler();
    else BuildDefaultRuler();
    int TW, TH, S;
    GetThumbSize(TW, TH, S);
    const TRect R = GetSliderRect();
    const int RW = FRuler->Width(), RH = FRuler->Height();
    TPoint Thumb;
    if (FOrientation == soHorizontal) {
        if (RH < TH) {
            Thumb = TPoint(R.Left + 6, R.Top + 6);
            FRulerOrg = TPoint(R.Left + 6, R.Top + 6 + (TH - RH) / 2);
            FPointsRect = TRect(FRulerOrg.X, R.Top + TH + 7, FRulerOrg.X + RW, R.Bottom - R.Top - 1);
        } else {
            FRulerOrg = TPoint(R.Left + 6, R.Top + 6);
            Thumb = TPoint(R.Left + 6, R.Top + 6 + (RH - TH) / 2);
            FPointsRect = TRect(FRulerOrg.X, R.Top + RH + 7, FRulerOrg.X + RW, R.Bottom - R.Top - 1);
        }
    } else {
        if (RW < TW) {
            Thumb = TPoint(R.Left + 6, R.Top + 6);
            FRulerOrg = TPoint(R.Left + 6 + (TW - RW) / 2, R.Top + 6);
            FPointsRect = TRect(R.Left + TW + 7, FRulerOrg.Y, R.Right - R.Left - 1, FRulerOrg.Y + RH);
        } else {
            FRulerOrg = TPoint(R.Left + 6, R.Top + 6);
            Thumb = TPoint(R.Left + 6 + (RW - TW) / 2, R.Top + 6);
            FPointsRect = TRect(R.Left + RW + 7, FRulerOrg.Y, R.Right - R.Left - 1, FRulerOrg.Y + RH);
        }
    }
    FThumbRect = TRect(Thumb.X, Thumb.Y, Thumb.X + TW, Thumb.Y + TH);
    SetValue(Remembered);
    Invalidate();
}

void TbsSkinCustomSlider::Resize()
{
    TbsSkinControl::Resize();
    if (!Reading()) UpdateSlider();
}

void TbsSkinCustomSlider::CheckParentBackground()
{
    if (FTransparent) Invalidate();
}

// ---- painting ---------------------------------------------------------------------------------------

void TbsSkinCustomSlider::DrawPoints(TCanvas* C, int Step, int ExtremeHeight, int PointsHeight)
{
    C->Pen()->SetColor(FIndex == -1 ? clWindowText : PointsColor);
    C->Pen()->SetStyle(psSolid);
    const int L = GetRulerLength();
    const int Range = FMaxValue - FMinValue;
    if (Step <= 0 || Range <= 0 || L <= 0) return;
    int H = 1, M = 0;
    for (;; ++H) {
        M = RoundEven(double(Range) / (double(Step) * H));
        const int Spacing = M + 1 > 1 ? L / M : L;
        if (Spacing >= 4 || Spacing >= L) break;
    }
    int TW, TH, S;
    GetThumbSize(TW, TH, S, false);
    for (int I = 0; I <= M; ++I) {
        const int V = I == M ? FMaxValue : std::min(FMinValue + Step * H * I, FMaxValue);
        const int Len = I == 0 || I == M ? ExtremeHeight : PointsHeight;
        const int P = ValueToPixel(V);
        if (FOrientation == soHorizontal) {
            const int X = P + TW / 2;
            C->MoveTo(X, FPointsRect.Top);
            C->LineTo(X, FPointsRect.Top + Len);
        } else {
            const int Y = P + TH / 2;
            C->MoveTo(FPointsRect.Left, Y);
            C->LineTo(FPointsRect.Left + Len, Y);
        }
    }
}

void TbsSkinCustomSlider::DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight)
{
    DrawPoints(Canvas(), PointsStep, ExtremePointsHeight, PointsHeight);
}

void TbsSkinCustomSlider::Paint()
{
    GetSkinData();
    TCanvas* C = Canvas();
    const bool Copy = ControlState().Contains(csPaintCopy);
    const TPoint ThumbAt = Copy ? ClampThumbPos(ValueToPixel(GetPaintValue())) : FThumbRect.TopLeft();
    // background
    if (FTransparent) {
        DrawParentBackground(this, C);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FIndex == -1 ? Color() : BGColor);
        C->FillRect(ClientRect());
    }
    // ruler
    if (FRuler->Width() > 0) {
        const bool Opaque = FOptions.Contains(soRulerOpaque) && FIndex == -1;
        FRuler->SetTransparent(!Opaque);
        C->Draw(FRulerOrg.X, FRulerOrg.Y, FRuler.get());
    }
    // focus
    if (FOptions.Contains(soShowFocus) && FFocused && !IsDesigning()) {
        C->Font()->SetColor(FIndex != -1 && FSD ? FSD->FSkinColors->FcBtnText : Font()->Color());
        TRect R = GetSliderRect();
        R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
        DrawDottedFocusRect(C, R);
    }
    // scale
    if (FOptions.Contains(soShowPoints)) {
        if (OnDrawPoints) OnDrawPoints(this);
        else DefaultDrawPoints(FIncrement, 3, 5);
    }
    // thumb
    const bool Second = Copy ? !Enabled() : (FThumbDown || !Enabled());
    int TW, TH, S;
    GetThumbSize(TW, TH, S);
    if (FIndex != -1 && FUseSkinThumb) {
        const TRect& R = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
        const TRect Half(R.Left + (Second ? TW : 0), R.Top, R.Left + (Second ? 2 * TW : TW), R.Bottom);
        DrawTransparentPart(C, ThumbAt.X, ThumbAt.Y, Picture, Half, true);
    } else if (FThumbImageList) {
        const int I = Second ? FThumbActiveImageIndex : FThumbImageIndex;
        if (I >= 0 && I < FThumbImageList->Count()) FThumbImageList->Draw(C, ThumbAt.X, ThumbAt.Y, I, true);
    } else {
        TBitmap* B = FImages[FOrientation == soHorizontal ? siHThumb : siVThumb].get();
        const TRect Part = FNumThumbStates == 2 ? TRect(Second ? TW : 0, 0, Second ? 2 * TW : TW, TH) : TRect(0, 0, TW, TH);
        DrawTransparentPart(C, ThumbAt.X, ThumbAt.Y, B, Part, !FOptions.Contains(soThumbOpaque));
    }
}

// ---- input ---------------------------------------------------------------------------------------------

void TbsSkinCustomSlider::DoChange()
{
    if (OnChange) OnChange(this);
}

void TbsSkinCustomSlider::DoChanged()
{
    if (OnChanged) OnChanged(this);
}

TbsJumpMode TbsSkinCustomSlider::JumpModeAt(TPoint P)
{
    if (FOrientation == soHorizontal) {
        if (P.X < FThumbRect.Left) return jmPrior;
        if (P.X >= FThumbRect.Right) return jmNext;
    } else {
        if (P.Y < FThumbRect.Top) return jmNext;
        if (P.Y >= FThumbRect.Bottom) return jmPrior;
    }
    return jmNone;
}

void TbsSkinCustomSlider::JumpTo(TbsJumpMode Mode)
{
    int V = FValue;
    const int Snapped = FIncrement * RoundEven(double(FValue) / FIncrement);
    switch (Mode) {
    case jmHome: V = FMinValue; break;
    case jmEnd: V = FMaxValue; break;
    case jmNext: V = Snapped + FIncrement; break;
    case jmPrior: V = Snapped - FIncrement; break;
    case jmNone: return;
    }
    V = std::clamp(V, FMinValue, FMaxValue);
    if (V != FValue) SetValue(V);
}

void TbsSkinCustomSlider::TimerJump()
{
    if (JumpModeAt(FMousePos) != FStartJump) return;
    JumpTo(FStartJump);
    if (!FTimerActive && HandleAllocated()) {
        SetTimer(Handle(), 1, 400, nullptr);
        FTimerActive = true;
    }
}

void TbsSkinCustomSlider::StopTracking()
{
    if (!FTracking) return;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), 1);
    FTimerActive = false;
    FTracking = false;
    SetMouseCapture(false);
    DoChanged();
}

void TbsSkinCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Shift.Contains(ssDouble)) return;
    if (CanFocus()) SetFocus();
    const TPoint P(X, Y);
    if (FThumbRect.Contains(P)) {
        StartSlide(Button, Shift, X, Y);
        return;
    }
    TRect R(FRulerOrg.X, FRulerOrg.Y, FRulerOrg.X + FRuler->Width(), FRulerOrg.Y + FRuler->Height());
    if (FOrientation == soHorizontal) R = TRect(R.Left, R.Top - 3, R.Right, R.Bottom + 3);
    else R = TRect(R.Left - 3, R.Top, R.Right + 3, R.Bottom);
    if (R.Contains(P) && CanModify()) {
        SetMouseCapture(true);
        FTracking = true;
        FMousePos = P;
        FStartJump = JumpModeAt(P);
        TimerJump();
    }
}

void TbsSkinCustomSlider::MouseMove(TShiftState Shift, int X, int Y)
{
    if (Shift.Contains(ssLeft) && FSliding) SlideThumb(mbLeft, Shift, X, Y);
    else if (FTracking) FMousePos = TPoint(X, Y);
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    StopTracking();
    if (FSliding) EndSlide(Button, Shift, X, Y);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::StartSlide(TMouseButton Button, TShiftState, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (Button != mbLeft || !CanModify()) return;
    FSliding = FThumbDown = true;
    FHit = FOrientation == soHorizontal ? X - FThumbRect.Left : Y - FThumbRect.Top;
    InvalidateThumb();
    Update();
}

void TbsSkinCustomSlider::SlideThumb(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != mbLeft || !CanModify()) return;
    MoveThumb(FOrientation == soHorizontal ? X - FHit : Y - FHit);
}

void TbsSkinCustomSlider::EndSlide(TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft) return;
    FSliding = FThumbDown = false;
    InvalidateThumb();
    Update();
    if (CanModify()) DoChanged();
}

void TbsSkinCustomSlider::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!Shift.Contains(ssShift) && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
        TbsJumpMode Mode = jmNone;
        switch (Key) {
        case VK_HOME: Mode = jmHome; break;
        case VK_END: Mode = jmEnd; break;
        case VK_LEFT: Mode = FOrientation == soHorizontal ? jmPrior : jmNone; break;
        case VK_RIGHT: Mode = FOrientation == soHorizontal ? jmNext : jmNone; break;
        case VK_UP: Mode = FOrientation == soVertical ? jmNext : jmNone; break;
        case VK_DOWN: Mode = FOrientation == soVertical ? jmPrior : jmNone; break;
        }
        if (Mode != jmNone && CanModify()) {
            Key = 0;
            JumpTo(Mode);
            DoChanged();
        }
    }
    TbsSkinControl::KeyDown(Key, Shift);
}

void TbsSkinCustomSlider::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_TIMER:
        if (M.WParam == 1) {
            TimerJump();
            return;
        }
        break;
    case WM_GETDLGCODE:
        M.Result = DLGC_WANTARROWS;
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(M);
        if (FTransparent) Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinControl::Dispatch(M);
        InvalidateThumb();
        return;
    case CM_FOCUSCHANGED: {
        const bool Now = M.LParam == LPARAM(static_cast<TControl*>(this));
        if (Now != FFocused) {
            FFocused = Now;
            if (FOptions.Contains(soShowFocus)) Invalidate();
        }
        break;
    }
    }
    TbsSkinControl::Dispatch(M);
}
