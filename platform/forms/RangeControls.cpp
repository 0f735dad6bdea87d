// TProgressBar and TTrackBar.
#include <algorithm>

#include "platform/forms/ComCtrls.h"

// ---- TProgressBar -----------------------------------------------------------------------------------
TProgressBar::TProgressBar(TComponent* AOwner) : TNativeControl(AOwner)
{
    FWidth = 150;
    FHeight = 16;
}

void TProgressBar::SetRange(int AMin, int AMax) { Perform(PBM_SETRANGE32, WPARAM(AMin), LPARAM(AMax)); }

void TProgressBar::SetPosition(int V) { Perform(PBM_SETPOS, WPARAM(V)); }

bool TProgressBar::NativeProc(TMessage& M)
{
    int Old = FPosition;
    switch (M.Msg) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        int A = M.Msg == PBM_SETRANGE ? int(LOWORD(uintptr_t(M.LParam))) : int(intptr_t(M.WParam));
        int B = M.Msg == PBM_SETRANGE ? int(HIWORD(uintptr_t(M.LParam))) : int(M.LParam);
        M.Result = MAKELPARAM(FMin, FMax);
        FMin = A;
        FMax = std::max(A, B);
        FPosition = std::clamp(FPosition, FMin, FMax);
        InvalidateNative();
        return true;
    }
    case PBM_GETRANGE: M.Result = M.WParam ? FMin : FMax; return true;
    case PBM_SETPOS: FPosition = std::clamp(int(intptr_t(M.WParam)), FMin, FMax); break;
    case PBM_DELTAPOS: FPosition = std::clamp(FPosition + int(intptr_t(M.WParam)), FMin, FMax); break;
    case PBM_SETSTEP: M.Result = FStep; FStep = int(intptr_t(M.WParam)); return true;
    case PBM_STEPIT:
        FPosition += FStep;
        if (FPosition > FMax) FPosition = FMin + (FPosition - FMax);  // wraps, as the native bar does
        FPosition = std::clamp(FPosition, FMin, FMax);
        break;
    case PBM_GETPOS: M.Result = FPosition; return true;
    default: return TNativeControl::NativeProc(M);
    }
    M.Result = Old;
    if (FPosition != Old) InvalidateNative();
    return true;
}

void TProgressBar::NativePaint(HDC DC)
{
    TRect R = ClientRect();
    FillSolid(DC, R, clBtnFace);
    DrawEdgeFrame(DC, R, true, 1);
    TRect In{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    double F = FMax > FMin ? double(FPosition - FMin) / (FMax - FMin) : 0;
    if (FOrientation == pbHorizontal) {
        int W = int(In.Width() * F);
        if (FSmooth) {
            FillSolid(DC, {In.Left, In.Top, In.Left + W, In.Bottom}, clHighlight);
        } else {
            int Block = std::max(2, In.Height() * 2 / 3);
            for (int X = In.Left; X < In.Left + W; X += Block + 2)
                FillSolid(DC, {X, In.Top, std::min(X + Block, In.Left + W), In.Bottom}, clHighlight);
        }
    } else {
        int H = int(In.Height() * F);
        FillSolid(DC, {In.Left, In.Bottom - H, In.Right, In.Bottom}, clHighlight);
    }
}

// ---- TTrackBar ------------------------------------------------------------------------------------------
namespace {
constexpr uintptr_t PageTimer = 0x7B17;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TNativeControl(AOwner)
{
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
}

void TTrackBar::SetMin(int V) { Perform(TBM_SETRANGEMIN, 1, LPARAM(V)); }
void TTrackBar::SetMax(int V) { Perform(TBM_SETRANGEMAX, 1, LPARAM(V)); }

void TTrackBar::SetPosition(int V)
{
    int Old = FPosition;
    Perform(TBM_SETPOS, 1, LPARAM(V));
    if (FPosition != Old) Changed();
}

void TTrackBar::Changed()
{
    if (OnChange) OnChange(this);
}

TRect TTrackBar::Channel()
{
    TRect C = ClientRect();
    int Half = 6;
    if (FOrientation == trHorizontal) {
        int Y = FTickMarks == tmTopLeft ? C.Bottom - 14 : FTickMarks == tmBoth ? C.Height() / 2 : 14;
        return {C.Left + Half + 2, Y - 2, C.Right - Half - 2, Y + 2};
    }
    int X = FTickMarks == tmTopLeft ? C.Right - 14 : FTickMarks == tmBoth ? C.Width() / 2 : 14;
    return {X - 2, C.Top + Half + 2, X + 2, C.Bottom - Half - 2};
}

TRect TTrackBar::ThumbRect()
{
    TRect Ch = Channel();
    double F = FMax > FMin ? double(FPosition - FMin) / (FMax - FMin) : 0;
    if (FOrientation == trHorizontal) {
        int X = Ch.Left + int(Round(F * Ch.Width()));
        int Mid = (Ch.Top + Ch.Bottom) / 2;
        return {X - 5, Mid - FThumbLength / 2, X + 6, Mid + FThumbLength / 2};
    }
    int Y = Ch.Top + int(Round(F * Ch.Height()));
    int Mid = (Ch.Left + Ch.Right) / 2;
    return {Mid - FThumbLength / 2, Y - 5, Mid + FThumbLength / 2, Y + 6};
}

int TTrackBar::PositionAt(TPoint P)
{
    TRect Ch = Channel();
    double F = FOrientation == trHorizontal ? double(P.X - Ch.Left) / std::max(1, Ch.Width())
                                            : double(P.Y - Ch.Top) / std::max(1, Ch.Height());
    return std::clamp(FMin + int(Round(F * (FMax - FMin))), FMin, FMax);
}

void TTrackBar::MoveTo(int V, int Code)
{
    V = std::clamp(V, FMin, FMax);
    if (V == FPosition) return;
    FPosition = V;
    InvalidateNative();
    // the notice a native track bar sends to its parent, reflected to the control
    Perform(FOrientation == trHorizontal ? CN_HSCROLL : CN_VSCROLL, MAKEWPARAM(Code, V), LPARAM(FHandle));
}

void TTrackBar::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        Changed();
        return;
    case WM_LBUTTONDOWN:
        if (FHandle) {
            if (GetFocus() != FHandle && CanFocus()) ::SetFocus(FHandle);
            TPoint P = MessageAs<TWMMouse>(M).Pos();
            TRect T = ThumbRect();
            if (T.Contains(P)) {
                FDragging = true;
                FDragOffset = FOrientation == trHorizontal ? P.X - (T.Left + 5) : P.Y - (T.Top + 5);
            } else {
                FPageDir = PositionAt(P) < FPosition ? -1 : 1;
                MoveTo(FPosition + FPageDir * FPageSize, FPageDir < 0 ? TB_PAGEUP : TB_PAGEDOWN);
                SetTimer(FHandle, PageTimer, 300);
            }
            SetCapture(FHandle);
        }
        break;
    case WM_MOUSEMOVE:
        if (FDragging) {
            TPoint P = MessageAs<TWMMouse>(M).Pos();
            if (FOrientation == trHorizontal) P.X -= FDragOffset;
            else P.Y -= FDragOffset;
            MoveTo(PositionAt(P), TB_THUMBTRACK);
        }
        break;
    case WM_LBUTTONUP:
        if (FDragging || FPageDir) {
            if (FDragging) Perform(FOrientation == trHorizontal ? CN_HSCROLL : CN_VSCROLL,
                                   MAKEWPARAM(TB_THUMBPOSITION, FPosition), LPARAM(FHandle));
            FDragging = false;
            FPageDir = 0;
            KillTimer(FHandle, PageTimer);
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        break;
    }
    TNativeControl::Dispatch(M);
}

bool TTrackBar::NativeProc(TMessage& M)
{
    switch (M.Msg) {
    case TBM_GETPOS: M.Result = FPosition; return true;
    case TBM_GETRANGEMIN: M.Result = FMin; return true;
    case TBM_GETRANGEMAX: M.Result = FMax; return true;
    case TBM_SETPOS:
        FPosition = std::clamp(int(M.LParam), FMin, FMax);
        if (M.WParam) InvalidateNative();
        return true;
    case TBM_SETRANGEMIN:
        FMin = int(M.LParam);
        FMax = std::max(FMax, FMin);
        FPosition = std::clamp(FPosition, FMin, FMax);
        InvalidateNative();
        return true;
    case TBM_SETRANGEMAX:
        FMax = std::max(int(M.LParam), FMin);
        FPosition = std::clamp(FPosition, FMin, FMax);
        InvalidateNative();
        return true;
    case TBM_SETPAGESIZE: M.Result = FPageSize; FPageSize = int(M.LParam); return true;
    case TBM_GETPAGESIZE: M.Result = FPageSize; return true;
    case TBM_SETLINESIZE: M.Result = FLineSize; FLineSize = int(M.LParam); return true;
    case TBM_GETLINESIZE: M.Result = FLineSize; return true;
    case TBM_SETTICFREQ: FFrequency = std::max(1, int(M.WParam)); InvalidateNative(); return true;
    case WM_KEYDOWN:
        switch (M.WParam) {
        case VK_LEFT: case VK_UP: MoveTo(FPosition - FLineSize, TB_LINEUP); break;
        case VK_RIGHT: case VK_DOWN: MoveTo(FPosition + FLineSize, TB_LINEDOWN); break;
        case VK_PRIOR: MoveTo(FPosition - FPageSize, TB_PAGEUP); break;
        case VK_NEXT: MoveTo(FPosition + FPageSize, TB_PAGEDOWN); break;
        case VK_HOME: MoveTo(FMin, TB_TOP); break;
        case VK_END: MoveTo(FMax, TB_BOTTOM); break;
        }
        return true;
    case WM_TIMER:
        if (M.WParam == PageTimer) {
            TPoint P = ScreenToClient(GetCursorPos());
            int Target = PositionAt(P);
            if (FPageDir && ((FPageDir < 0 && Target < FPosition) || (FPageDir > 0 && Target > FPosition)))
                MoveTo(FPosition + FPageDir * FPageSize, FPageDir < 0 ? TB_PAGEUP : TB_PAGEDOWN);
            SetTimer(FHandle, PageTimer, 100);
            return true;
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(M.LParam) != FHandle) {
            FDragging = false;
            FPageDir = 0;
            if (FHandle) KillTimer(FHandle, PageTimer);
        }
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateNative();
        return true;
    }
    return TNativeControl::NativeProc(M);
}

void TTrackBar::NativePaint(HDC DC)
{
    TRect C = ClientRect();
    FillSolid(DC, C, FColor);
    TRect Ch = Channel();
    DrawEdgeFrame(DC, Ch, true, 2);
    if (FTickStyle == tsAuto && FMax > FMin) {
        bool H = FOrientation == trHorizontal;
        for (int V = FMin; V <= FMax; V += FFrequency) {
            double F = double(V - FMin) / (FMax - FMin);
            int At = H ? Ch.Left + int(Round(F * Ch.Width())) : Ch.Top + int(Round(F * Ch.Height()));
            auto Tick = [&](int From, int To) {
                FillSolid(DC, H ? TRect{At, From, At + 1, To} : TRect{From, At, To, At + 1}, clBtnText);
            };
            int Mid = H ? (Ch.Top + Ch.Bottom) / 2 : (Ch.Left + Ch.Right) / 2;
            int Off = FThumbLength / 2 + 2;
            if (FTickMarks != tmTopLeft) Tick(Mid + Off, Mid + Off + 4);
            if (FTickMarks != tmBottomRight) Tick(Mid - Off - 4, Mid - Off);
        }
    }
    TRect T = ThumbRect();
    FillSolid(DC, T, clBtnFace);
    DrawEdgeFrame(DC, T, FDragging, 2);
    if (FHandle && GetFocus() == FHandle) {
        TRect F{C.Left + 1, C.Top + 1, C.Right - 1, C.Bottom - 1};
        ::DrawFocusRect(DC, &F);
    }
}
