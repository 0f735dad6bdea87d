// The skinned scroll bar: layout of track, buttons and thumb, paging, repeat, dragging,
// wheel and keys, default and skinned looks.
#include <cmath>

#include "skin/controls/bsSkinCtrls.h"

namespace {
// The nearest integer, a half to the even neighbour.
int N(double X) { return int(std::nearbyint(X)); }
constexpr uintptr_t RepeatTimerId = 1;
}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    SetTabStop(false);
    SetBounds(FLeft, FTop, 200, 19);
    FDefaultHeight = 19;
    FSkinDataName = "hscrollbar";
}

TbsSkinScrollBar::~TbsSkinScrollBar() = default;

// ---- range and position -------------------------------------------------------------------------

int TbsSkinScrollBar::ClampPosition(int Value) const
{
    if (Value < FMin) return FMin;
    if (FPageSize == 0) return Value > FMax ? FMax : Value;
    const int Top = FMax - FPageSize + 1;
    return Value > Top ? Top : Value;
}

void TbsSkinScrollBar::SetPosition(int Value)
{
    const int P = ClampPosition(Value);
    if (P == FPosition) return;
    FPosition = P;
    Repaint();
    if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(int Value)
{
    const int P = ClampPosition(Value);
    if (P == FPosition) return;
    FPosition = P;
    Repaint();
}

void TbsSkinScrollBar::SetRange(int AMin, int AMax, int APageSize, int APosition)
{
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = ClampPosition(APosition);
    Repaint();
}

void TbsSkinScrollBar::SetMin(int Value)
{
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
    Repaint();
}

void TbsSkinScrollBar::SetMax(int Value)
{
    FMax = Value;
    // the one clamp of the position, also when Min is not 0; a range shorter than the page
    // leaves the position at Min
    FPosition = ClampPosition(FPosition);
    if (FPosition < FMin) FPosition = FMin;
    Repaint();
}

void TbsSkinScrollBar::SetPageSize(int Value)
{
    // a page is taken only when the current position can still show a whole one
    if (FPosition <= FMax - Value + 1) FPageSize = Value;
    Repaint();
}

void TbsSkinScrollBar::SetSmallChange(int Value)
{
    FSmallChange = Value;
    Repaint();
}

void TbsSkinScrollBar::SetLargeChange(int Value)
{
    FLargeChange = Value;
    Repaint();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value)
{
    if (FKind == Value) return;
    FKind = Value;
    if (IsDesigning() && !ComponentState().Contains(csLoading)) {
        FSkinDataName = Value == sbVertical ? "vscrollbar" : "hscrollbar";
        if ((Value == sbVertical) == (Width() > Height())) SetBounds(Left(), Top(), Height(), Width());
        if (Value == sbVertical) {
            FDefaultWidth = FDefaultHeight;
            FDefaultHeight = 0;
        } else {
            FDefaultHeight = FDefaultWidth;
            FDefaultWidth = 0;
        }
    }
    Repaint();
}

void TbsSkinScrollBar::SetBoth(bool Value)
{
    if (FBoth == Value) return;
    FBoth = Value;
    if (!IsDesigning()) {
        if (Value) {
            FNormalSkinDataName = FSkinDataName;
            FSkinDataName = FBothSkinDataName;
        } else if (!FNormalSkinDataName.empty())
            FSkinDataName = FNormalSkinDataName;
    }
    if (FIndex != -1)
        ChangeSkinData();
    else
        Repaint();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int Value)
{
    if (Value < 0) return;
    FBothMarkerWidth = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool Value)
{
    FCanFocused = Value;
    SetTabStop(Value);
}

// ---- skin and layout ------------------------------------------------------------------------------

void TbsSkinScrollBar::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinScrollBarControl*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) return;
    TrackArea = R->TrackArea;
    UpButtonRect = R->UpButtonRect;
    ActiveUpButtonRect = R->ActiveUpButtonRect;
    DownUpButtonRect = R->DownUpButtonRect.IsEmpty() ? ActiveUpButtonRect : R->DownUpButtonRect;
    DownButtonRect = R->DownButtonRect;
    ActiveDownButtonRect = R->ActiveDownButtonRect;
    DownDownButtonRect = R->DownDownButtonRect.IsEmpty() ? ActiveDownButtonRect : R->DownDownButtonRect;
    ThumbRect = R->ThumbRect;
    ActiveThumbRect = R->ActiveThumbRect.IsEmpty() ? ThumbRect : R->ActiveThumbRect;
    DownThumbRect = R->DownThumbRect.IsEmpty() ? ActiveThumbRect : R->DownThumbRect;
    ThumbOffset1 = R->ThumbOffset1;
    ThumbOffset2 = R->ThumbOffset2;
    ThumbTransparent = R->ThumbTransparent;
    ThumbTransparentColor = R->ThumbTransparentColor;
    GlyphRect = R->GlyphRect;
    ActiveGlyphRect = R->ActiveGlyphRect.IsEmpty() ? GlyphRect : R->ActiveGlyphRect;
    DownGlyphRect = R->DownGlyphRect.IsEmpty() ? ActiveGlyphRect : R->DownGlyphRect;
    GlyphTransparent = R->GlyphTransparent;
    GlyphTransparentColor = R->GlyphTransparentColor;
    ThumbStretchEffect = R->ThumbStretchEffect;
    ThumbMinSize = R->ThumbMinSize;
    ThumbMinPageSize = R->ThumbMinPageSize;
}

void TbsSkinScrollBar::CalcSize(int& AWidth, int& AHeight)
{
    TbsSkinCustomControl::CalcSize(AWidth, AHeight);
    CalcThumbLayout();
}

void TbsSkinScrollBar::CalcThumbLayout()
{
    double Kf = FMax == FMin ? 0.0 : double(FPosition - FMin) / double(FMax - FMin);
    const bool H = Horizontal();
    auto PageKf = [&]() {
        const int Div = FMax - FPageSize + 1 - FMin;
        return Div > 0 ? double(FPosition - FMin) / double(Div) : (H ? 1.0 : 0.0);
    };
    auto Ratio = [&]() {
        const int Count = FMax - FMin + 1;
        return Count == 0 ? 0.0 : double(FPageSize) / double(Count);
    };
    int TL;
    int ThumbAcrossStart = 0, ThumbAcross = 0;
    if (FIndex == -1) {
        if (H) {
            const int W = Width() - (FBoth ? FBothMarkerWidth : 0);
            Buttons[2].R = Rect(1, 1, 17, Height() - 1);
            Buttons[1].R = Rect(W - 17, 1, W - 1, Height() - 1);
            NewTrackArea = Rect(17, 1, W - 17, Height() - 1);
        } else {
            Buttons[2].R = Rect(1, 1, Width() - 1, 17);
            Buttons[1].R = Rect(1, Height() - 17, Width() - 1, Height() - 1);
            NewTrackArea = Rect(1, 17, Width() - 1, Height() - 17);
        }
        const int Len = H ? NewTrackArea.Width() : NewTrackArea.Height();
        if (FPageSize == 0)
            TL = 16;
        else {
            TL = MaxOf(N(Len * Ratio()), 16);
            Kf = PageKf();
        }
        ThumbAcrossStart = H ? NewTrackArea.Top : NewTrackArea.Left;
        ThumbAcross = H ? NewTrackArea.Height() : NewTrackArea.Width();
    } else {
        const int TW = ThumbRect.Width(), TH = ThumbRect.Height();
        int Along = H ? TW : TH;
        if (ThumbMinSize != 0) Along = ThumbMinSize;
        NewTrackArea = TrackArea;
        Buttons[1].R = UpButtonRect;
        Buttons[2].R = DownButtonRect;
        if (H) {
            const int D = Width() - SkinRect.Width();
            NewTrackArea.Right += D;
            for (int I = 1; I <= 2; ++I)
                if (Buttons[I].R.Left >= RTPt.X) {
                    Buttons[I].R.Left += D;
                    Buttons[I].R.Right += D;
                }
        } else {
            const int D = Height() - SkinRect.Height();
            NewTrackArea.Bottom += D;
            for (int I = 1; I <= 2; ++I)
                if (Buttons[I].R.Top >= LBPt.Y) {
                    Buttons[I].R.Top += D;
                    Buttons[I].R.Bottom += D;
                }
        }
        const int Len = H ? NewTrackArea.Width() : NewTrackArea.Height();
        if (FPageSize != 0) {
            TL = MaxOf(N(Len * Ratio()), Along);
            Kf = PageKf();
        } else
            TL = ThumbMinPageSize != 0 ? ThumbMinPageSize : Along;
        const int Breadth = H ? NewTrackArea.Height() : NewTrackArea.Width();
        ThumbAcross = H ? TH : TW;
        ThumbAcrossStart = (H ? NewTrackArea.Top : NewTrackArea.Left) + Breadth / 2 - ThumbAcross / 2;
    }
    const int Half = TL / 2;
    const int Start = H ? NewTrackArea.Left : NewTrackArea.Top;
    const int End = H ? NewTrackArea.Right : NewTrackArea.Bottom;
    Offset1 = Start + Half;
    Offset2 = End - Half;
    BOffset = N((Offset2 - Offset1) * Kf);
    const int A = Offset1 + BOffset - Half, B = Offset1 + BOffset + Half;
    if (H)
        Buttons[0].R = Rect(A, ThumbAcrossStart, B, ThumbAcrossStart + ThumbAcross);
    else
        Buttons[0].R = Rect(ThumbAcrossStart, A, ThumbAcrossStart + ThumbAcross, B);
}

// ---- drawing --------------------------------------------------------------------------------------

void TbsSkinScrollBar::DrawDefaultPart(TCanvas* C, int Part)
{
    const TPart& P = Buttons[Part];
    const bool Pressed = (P.Down && P.MouseIn) || (Part == 0 && (P.Down || (FCanFocused && Focused())));
    const TRect R = P.R;
    if (Pressed || P.MouseIn) {
        C->Brush()->SetColor(bsDefaultFrameColor);
        C->FrameRect(R);
        C->Brush()->SetColor(Pressed ? bsDefaultDownColor : bsDefaultHotColor);
    } else {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(R);
        C->Brush()->SetColor(clBtnFace);
    }
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    if (Part == 1) DrawArrowImage(C, R, clBlack, Horizontal() ? 2 : 4);
    if (Part == 2) DrawArrowImage(C, R, clBlack, Horizontal() ? 1 : 3);
}

void TbsSkinScrollBar::CreateControlDefaultImage(TBitmap* B)
{
    CalcThumbLayout();
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Width(), Height()));
    if (Enabled()) DrawDefaultPart(C, 0);
    DrawDefaultPart(C, 1);
    DrawDefaultPart(C, 2);
}

void TbsSkinScrollBar::DrawSkinButton(TCanvas* C, int Part)
{
    const TPart& P = Buttons[Part];
    TRect Src;
    if (P.Down && P.MouseIn)
        Src = Part == 1 ? DownUpButtonRect : DownDownButtonRect;
    else if (P.MouseIn)
        Src = Part == 1 ? ActiveUpButtonRect : ActiveDownButtonRect;
    else
        return;
    if (Src.IsEmpty() || !Picture) return;
    C->CopyRect(P.R, Picture->Canvas(), Src);
}

void TbsSkinScrollBar::DrawSkinThumb(TCanvas* C)
{
    if (!Picture) return;
    const TPart& T = Buttons[0];
    const bool Pressed = T.Down || (FCanFocused && Focused());
    const TRect Src = Pressed ? DownThumbRect : T.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect Grip = Pressed ? DownGlyphRect : T.MouseIn ? ActiveGlyphRect : GlyphRect;
    const int W = T.R.Width(), H = T.R.Height();
    if (W <= 0 || H <= 0 || Src.IsEmpty()) return;
    TBitmap Img;
    Img.SetSize(W, H);
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (Horizontal())
            CreateHSkinImage(ThumbOffset1, ThumbOffset2, &Img, Picture, Src, W, H, ThumbStretchEffect);
        else
            CreateVSkinImage(ThumbOffset1, ThumbOffset2, &Img, Picture, Src, W, H, ThumbStretchEffect);
    } else
        Img.Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), Src);
    const int GripAlong = Horizontal() ? Grip.Width() : Grip.Height();
    const int ThumbAlong = Horizontal() ? W : H;
    if (!Grip.IsEmpty() && GripAlong < ThumbAlong) {
        TBitmap G;
        bsCopyPicturePart(&G, Picture, Grip);
        if (GlyphTransparent) {
            G.SetTransparentColor(GlyphTransparentColor);
            G.SetTransparent(true);
        }
        Img.Canvas()->Draw(W / 2 - G.Width() / 2, H / 2 - G.Height() / 2, &G);
    }
    if (ThumbTransparent) {
        Img.SetTransparentColor(ThumbTransparentColor);
        Img.SetTransparent(true);
    }
    C->Draw(T.R.Left, T.R.Top, &Img);
}

void TbsSkinScrollBar::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    CalcThumbLayout();
    TCanvas* C = B->Canvas();
    DrawSkinButton(C, 1);
    DrawSkinButton(C, 2);
    if (Enabled()) DrawSkinThumb(C);
}

// ---- mouse --------------------------------------------------------------------------------------

int TbsSkinScrollBar::PartAt(int X, int Y) const
{
    for (int I = 0; I < 3; ++I)
        if (Buttons[I].R.Contains(Point(X, Y))) return I;
    return -1;
}

bool TbsSkinScrollBar::BeforeThumb(int X, int Y) const
{
    return Horizontal() ? X < Buttons[0].R.Left : Y < Buttons[0].R.Top;
}

void TbsSkinScrollBar::ButtonAction(int Part)
{
    if (Part == 1) {
        if (OnUpButtonClick)
            OnUpButtonClick(this);
        else
            SetPosition(FPosition + FSmallChange);
    } else {
        if (OnDownButtonClick)
            OnDownButtonClick(this);
        else
            SetPosition(FPosition - FSmallChange);
    }
}

void TbsSkinScrollBar::StartTimer(unsigned Interval)
{
    if (HandleAllocated()) SetTimer(Handle(), RepeatTimerId, Interval);
}

void TbsSkinScrollBar::StopTimer()
{
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimerId);
    TimerMode = 0;
}

void TbsSkinScrollBar::TimerTick()
{
    if (WaitMode) {
        WaitMode = false;
        StartTimer(50);
        return;
    }
    switch (TimerMode) {
    case 1: ButtonAction(2); break;
    case 2: ButtonAction(1); break;
    case 3:
    case 4:
        UpdateHotPart(MX, MY);
        CalcThumbLayout();
        if ((TimerMode == 3) == BeforeThumb(MX, MY) && !Buttons[0].R.Contains(Point(MX, MY))) {
            if (TimerMode == 3) {
                SetPosition(FPosition - FLargeChange);
                if (OnPageUp) OnPageUp(this);
            } else {
                SetPosition(FPosition + FLargeChange);
                if (OnPageDown) OnPageDown(this);
            }
        } else
            StopTimer();
        break;
    default: StopTimer(); break;
    }
}

void TbsSkinScrollBar::UpdateHotPart(int X, int Y)
{
    int Part = PartAt(X, Y);
    if (CaptureButton != -1 && Part != CaptureButton) Part = -1;
    if (Part == ActiveButton) return;
    OldActiveButton = ActiveButton;
    if (ActiveButton != -1) {
        TPart& Old = Buttons[ActiveButton];
        Old.MouseIn = false;
        if (ActiveButton != 0 && Old.Down && HandleAllocated()) KillTimer(Handle(), RepeatTimerId);
    }
    ActiveButton = Part;
    if (Part != -1) {
        TPart& New = Buttons[Part];
        New.MouseIn = true;
        if (Part != 0 && New.Down) {
            WaitMode = false;
            StartTimer(50);
        }
    }
    Repaint();
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    MouseD = true;
    MX = X;
    MY = Y;
    CalcThumbLayout();
    TimerMode = 0;
    WaitMode = true;
    const int Part = PartAt(X, Y);
    if (Part != -1) {
        CaptureButton = Part;
        TPart& P = Buttons[Part];
        if (Part == 0) {
            OMPos = Horizontal() ? X : Y;
            OldBOffset = BOffset;
            OldPosition = FPosition;
            const TRect& T = P.R;
            FScrollWidth = Horizontal() ? NewTrackArea.Right - T.Right : NewTrackArea.Bottom - T.Bottom;
            if (FScrollWidth <= 0) FScrollWidth = Horizontal() ? T.Left - NewTrackArea.Left : T.Top - NewTrackArea.Top;
            FDown = true;
            P.Down = true;
            Repaint();
        } else {
            P.Down = true;
            P.MouseIn = true;
            ActiveButton = Part;
            Repaint();
            ButtonAction(Part);
            TimerMode = Part == 1 ? 2 : 1;
            StartTimer(500);
        }
        return;
    }
    if (!NewTrackArea.Contains(Point(X, Y))) return;
    if (BeforeThumb(X, Y)) {
        SetPosition(FPosition - FLargeChange);
        TimerMode = 3;
        StartTimer(500);
        if (OnPageUp) OnPageUp(this);
    } else {
        SetPosition(FPosition + FLargeChange);
        TimerMode = 4;
        StartTimer(500);
        if (OnPageDown) OnPageDown(this);
    }
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    MX = X;
    MY = Y;
    if (!FDown) {
        UpdateHotPart(X, Y);
        return;
    }
    const int A = (Horizontal() ? X : Y) - OMPos;
    int O1 = Offset1, O2 = Offset2;
    if (FPageSize != 0) {
        const TRect& T = Buttons[0].R;
        const int Len = Horizontal() ? T.Width() : T.Height();
        O1 = (Horizontal() ? NewTrackArea.Left : NewTrackArea.Top) + Len / 2;
        O2 = (Horizontal() ? NewTrackArea.Right : NewTrackArea.Bottom) - Len / 2;
    }
    double Kf = O2 - O1 <= 0 ? 0.0 : double(A + OldBOffset) / double(O2 - O1);
    Kf = Kf < 0 ? 0 : Kf > 1 ? 1 : Kf;
    if (FPageSize != 0)
        SetPosition(FMin + N((FMax - FMin - FPageSize + 1) * Kf));
    else
        SetPosition(FMin + N((FMax - FMin) * Kf));
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    MouseD = false;
    if (TimerMode == 3 || TimerMode == 4) StopTimer();
    bool ThumbReleased = false;
    if (CaptureButton != -1) {
        TPart& P = Buttons[CaptureButton];
        P.Down = false;
        P.MouseIn = PartAt(X, Y) == CaptureButton;
        if (!P.MouseIn && ActiveButton == CaptureButton) ActiveButton = -1;
        if (CaptureButton == 0) {
            FDown = false;
            ThumbReleased = true;
        } else
            StopTimer();
        Repaint();
    }
    CaptureButton = -1;
    if (ThumbReleased && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_TIMER:
        if (M.WParam == RepeatTimerId) {
            TimerTick();
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (!FromWMPaint) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if (IsDesigning() || !(M.LParam == 0 || M.LParam == LPARAM(this))) return;
        if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
            Buttons[ActiveButton].MouseIn = false;
            ActiveButton = -1;
            Repaint();
        }
        // a page repeat stops when the mouse leaves with the button held (both ways)
        if (MouseD && (TimerMode == 3 || TimerMode == 4)) StopTimer();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FCanFocused && !FocusBeforeClick()) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case CM_WANTSPECIALKEY:
        if (FCanFocused && (M.WParam == VK_LEFT || M.WParam == VK_RIGHT || M.WParam == VK_UP || M.WParam == VK_DOWN)) {
            M.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        M.Result = FCanFocused ? DLGC_WANTARROWS : 0;
        return;
    case WM_KEYDOWN:
        if (FCanFocused) {
            if (M.WParam == VK_LEFT || M.WParam == VK_UP)
                SetPosition(FPosition - FSmallChange);
            else if (M.WParam == VK_RIGHT || M.WParam == VK_DOWN)
                SetPosition(FPosition + FSmallChange);
        }
        break;
    case WM_MOUSEWHEEL:
        if (FCanFocused && Focused()) {
            const int Delta = int16_t(HIWORD(M.WParam));
            SetPosition(Delta > 0 ? FPosition - FSmallChange : FPosition + FSmallChange);
            M.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}

void bsLinkScrollBar(TComponent* AOwner, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, TNotifyEvent OnChange)
{
    if (Field && Field != Value) {
        Field->RemoveFreeNotification(AOwner);
        Field->OnChange = nullptr;
    }
    Field = Value;
    if (!Value) return;
    Value->FreeNotification(AOwner);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = std::move(OnChange);
}
