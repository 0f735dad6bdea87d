// TNativeControl: fonts, frames, colours, scroll state and notifications of the
// standard controls.
#include "platform/forms/NativeControl.h"

#include <cwctype>

TNativeControl::TNativeControl(TComponent* AOwner) : TWinControl(AOwner) {}

TNativeControl::~TNativeControl()
{
    if (FMeasureDC) DeleteDC(FMeasureDC);
    if (FColorBrush) DeleteObject(FColorBrush);
}

HFONT TNativeControl::NativeFont() { return FNativeFont ? FNativeFont : Font()->Handle(); }

HDC TNativeControl::MeasureDC()
{
    if (!FMeasureDC) FMeasureDC = CreateCompatibleDC(nullptr);
    HFONT F = NativeFont();
    if (F != FMeasureFont) {
        SelectObject(FMeasureDC, F);
        FMeasureFont = F;
    }
    return FMeasureDC;
}

int TNativeControl::LineHeight()
{
    TEXTMETRIC TM;
    GetTextMetrics(MeasureDC(), &TM);
    return std::max<int>(1, TM.tmHeight);
}

TSize TNativeControl::TextSize(const String& Text)
{
    TSize S;
    GetTextExtentPoint32(MeasureDC(), Text.c_str(), int(Text.size()), &S);
    if (S.cy == 0) S.cy = LineHeight();
    return S;
}

int TNativeControl::FrameWidth() const
{
    if (!FHandle) return 0;
    DWORD Ex = DWORD(GetWindowLong(FHandle, GWL_EXSTYLE));
    DWORD St = DWORD(GetWindowLong(FHandle, GWL_STYLE));
    if (Ex & WS_EX_CLIENTEDGE) return 2;
    if (St & WS_BORDER) return 1;
    return 0;
}

int TNativeControl::ControlId() const { return FHandle ? int(GetWindowLong(FHandle, GWL_ID)) : 0; }

LRESULT TNativeControl::NotifyCommand(WORD Code)
{
    return Perform(CN_COMMAND, MAKEWPARAM(ControlId(), Code), LPARAM(FHandle));
}

LRESULT TNativeControl::NotifyRecord(NMHDR& H, int Code)
{
    H.hwndFrom = FHandle;
    H.idFrom = uintptr_t(ControlId());
    H.code = Code;
    return Perform(CN_NOTIFY, WPARAM(H.idFrom), LPARAM(&H));
}

void TNativeControl::SetScrollState(int Bar, int Min, int Max, UINT Page, int Pos)
{
    SCROLLINFO I;
    I.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    I.nMin = Min;
    I.nMax = Max;
    I.nPage = Page;
    I.nPos = Pos;
    FScroll[Bar == SB_VERT ? 1 : 0].Set(I);
}

HBRUSH TNativeControl::QueryColors(HDC DC, UINT Msg)
{
    return reinterpret_cast<HBRUSH>(Perform(Msg, WPARAM(DC), LPARAM(FHandle)));
}

void TNativeControl::InvalidateNative()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, false);
}

void TNativeControl::NativePaint(HDC) {}

bool TNativeControl::NativeProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFONT:
        FNativeFont = reinterpret_cast<HFONT>(M.WParam);
        if (M.LParam) InvalidateNative();
        return true;
    case WM_GETFONT:
        M.Result = LRESULT(FNativeFont);
        return true;
    case CM_SCROLLSTATE:
        HandleScrollStateMessage(M, FScroll);
        return true;
    case WM_NCCALCSIZE: {
        int B = FrameWidth();
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (R && B) {
            R->Left += B;
            R->Top += B;
            R->Right = std::max(R->Left, R->Right - B);
            R->Bottom = std::max(R->Top, R->Bottom - B);
        }
        M.Result = 0;
        return true;
    }
    case WM_NCPAINT: {
        int B = FrameWidth();
        if (B && FHandle) {
            HDC DC = GetWindowDC(FHandle);
            TRect W = GetWindowRect(FHandle);
            DrawEdgeFrame(DC, {0, 0, W.Width(), W.Height()}, true, B);
            ReleaseDC(FHandle, DC);
        }
        return true;
    }
    case WM_PAINT: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (DC) {
            NativePaint(DC);
        } else if (FHandle) {
            PAINTSTRUCT PS;
            DC = BeginPaint(FHandle, &PS);
            if (DC) NativePaint(DC);
            EndPaint(FHandle, &PS);
        }
        M.Result = 0;
        return true;
    }
    case WM_ERASEBKGND: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (DC) {
            TRect R = ClientRect();
            FillSolid(DC, R, FColor);
        }
        M.Result = 1;
        return true;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
        SetBkColor(DC, COLORREF(ColorToRGB(FColor)));
        if (!FColorBrush || FBrushColor != FColor) {
            if (FColorBrush) DeleteObject(FColorBrush);
            FColorBrush = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
            FBrushColor = FColor;
        }
        M.Result = LRESULT(FColorBrush);
        return true;
    }
    case WM_GETDLGCODE:
        M.Result = NativeDlgCode();
        return true;
    }
    return false;
}

void TNativeControl::DefaultHandler(TMessage& M)
{
    if (NativeProc(M)) return;
    TWinControl::DefaultHandler(M);
}

// ---- drawing helpers ---------------------------------------------------------------------------------
void FillSolid(HDC DC, const TRect& R, TColor Color)
{
    HBRUSH B = CreateSolidBrush(COLORREF(ColorToRGB(Color)));
    FillRect(DC, &R, B);
    DeleteObject(B);
}

void DrawEdgeFrame(HDC DC, TRect R, bool Sunken, int Width)
{
    TColor Outer1 = Sunken ? clBtnShadow : clBtnHighlight, Outer2 = Sunken ? clBtnHighlight : cl3DDkShadow;
    TColor Inner1 = Sunken ? cl3DDkShadow : cl3DLight, Inner2 = Sunken ? cl3DLight : clBtnShadow;
    for (int I = 0; I < Width; ++I) {
        TColor A = I == 0 ? Outer1 : Inner1, B = I == 0 ? Outer2 : Inner2;
        FillSolid(DC, {R.Left, R.Top, R.Right - 1, R.Top + 1}, A);
        FillSolid(DC, {R.Left, R.Top, R.Left + 1, R.Bottom - 1}, A);
        FillSolid(DC, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, B);
        FillSolid(DC, {R.Right - 1, R.Top, R.Right, R.Bottom}, B);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
}

void DrawItemText(HDC DC, const String& Text, TRect R, UINT Align)
{
    DrawText(DC, Text.c_str(), int(Text.size()), &R,
             Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

String LowerText(const String& S)
{
    std::u32string U = Utf8ToUtf32(S);
    for (char32_t& C : U) C = char32_t(towlower(wint_t(C)));
    return Utf32ToUtf8(U);
}

String TTypeAhead::Add(char32_t C, DWORD Time, bool& Again)
{
    if (Time - FTime > 1000) FText.clear();
    FTime = Time;
    Again = !FText.empty();
    FText += Utf32ToUtf8(std::u32string(1, C));
    return FText;
}
