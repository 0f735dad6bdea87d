// Push buttons, check boxes and radio buttons: the native press (mouse with capture,
// Space) and the class library's clicks, states and dialog keys.
#include "platform/forms/StdCtrls.h"

// ---- TButtonControl: the native press ------------------------------------------------------------
TButtonControl::TButtonControl(TComponent* AOwner) : TNativeControl(AOwner)
{
    FControlStyle = {csSetCaption, csDoubleClicks};
    FTabStop = true;
}

void TButtonControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FHandle) {
            if (GetFocus() != FHandle && CanFocus()) ::SetFocus(FHandle);
            FTracking = FPressed = true;
            SetCapture(FHandle);
            InvalidateNative();
        }
        break;
    case WM_MOUSEMOVE:
        if (FTracking) {
            bool In = ClientRect().Contains(MessageAs<TWMMouse>(M).Pos());
            if (In != FPressed) {
                FPressed = In;
                InvalidateNative();
            }
        }
        break;
    case WM_LBUTTONUP:
        if (FTracking) {
            bool Was = FPressed && ClientRect().Contains(MessageAs<TWMMouse>(M).Pos());
            FTracking = FPressed = false;
            if (GetCapture() == FHandle) ReleaseCapture();
            InvalidateNative();
            if (Was) NativeClicked();
        }
        break;
    }
    TNativeControl::Dispatch(M);
}

bool TButtonControl::NativeProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_KEYDOWN:
        if (M.WParam == VK_SPACE && !FPressed) {
            FPressed = true;
            InvalidateNative();
        }
        return true;
    case WM_KEYUP:
        if (M.WParam == VK_SPACE && FPressed && !FTracking) {
            FPressed = false;
            InvalidateNative();
            NativeClicked();
        }
        return true;
    case WM_CAPTURECHANGED:
        if (FTracking && reinterpret_cast<HWND>(M.LParam) != FHandle) {
            FTracking = FPressed = false;
            InvalidateNative();
        }
        return true;
    case WM_KILLFOCUS:
        FPressed = FTracking && FPressed;
        InvalidateNative();
        return true;
    case WM_SETFOCUS:
        InvalidateNative();
        return true;
    case BM_CLICK: NativeClicked(); return true;
    case BM_GETSTATE: M.Result = FPressed ? BST_PUSHED : 0; return true;
    case WM_ENABLE: InvalidateNative(); return true;
    }
    return TNativeControl::NativeProc(M);
}

namespace {
// The caption of a button-like control, centred or beside a box.
void DrawCaption(HDC DC, const String& Text, TRect R, UINT Align, bool Enabled, bool WordWrap)
{
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(Enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    UINT Flags = Align | (WordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    if (WordWrap) {
        TRect M = R;
        DrawText(DC, Text.c_str(), int(Text.size()), &M, Flags | DT_CALCRECT);
        int Dy = (R.Height() - M.Height()) / 2;
        R.Top += std::max(0, Dy);
    }
    DrawText(DC, Text.c_str(), int(Text.size()), &R, Flags);
}
}  // namespace

// ---- TButton ---------------------------------------------------------------------------------------------
TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 75;
    FHeight = 25;
}

void TButton::CreateParams(TCreateParams& P)
{
    TButtonControl::CreateParams(P);
    P.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool V)
{
    FDefault = V;
    InvalidateNative();
}

void TButton::Click()
{
    if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FModalResult);
    TButtonControl::Click();
}

LRESULT TButton::NativeDlgCode() { return FDefault ? 0x10 /* a default push button */ : 0x20; }

void TButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY:
        if (((M.WParam == VK_RETURN && (FDefault || Focused())) || (M.WParam == VK_ESCAPE && FCancel)) &&
            KeyDataToShiftState(M.LParam).Empty() && CanFocus()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(M);
}

void TButton::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    TRect R = ClientRect();
    bool Focus = FHandle && GetFocus() == FHandle;
    FillSolid(DC, R, clBtnFace);
    if (FDefault || Focus) {
        HBRUSH B = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(DC, &R, B);
        DeleteObject(B);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
    DrawEdgeFrame(DC, R, FPressed, 2);
    SelectObject(DC, NativeFont());
    TRect T{R.Left + 4, R.Top + 2, R.Right - 4, R.Bottom - 2};
    if (FPressed) T = {T.Left + 1, T.Top + 1, T.Right + 1, T.Bottom + 1};
    DrawCaption(DC, Caption(), T, DT_CENTER, Enabled(), FWordWrap);
    if (Focus) {
        TRect F{R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3};
        ::DrawFocusRect(DC, &F);
    }
}

// ---- TCustomCheckBox -------------------------------------------------------------------------------------
namespace {
constexpr int BoxSize = 13;

void DrawBox(HDC DC, TRect Box, bool Round, bool Pressed)
{
    FillSolid(DC, Box, Pressed ? clBtnFace : clWindow);
    DrawEdgeFrame(DC, Box, true, 2);
    (void)Round;
}
}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 97;
    FHeight = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& P)
{
    TButtonControl::CreateParams(P);
    P.Style |= FAllowGrayed ? BS_3STATE : BS_CHECKBOX;
}

void TCustomCheckBox::SetState(TCheckBoxState V)
{
    if (FState == V) return;
    FState = V;
    InvalidateNative();
    Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::NativeClicked() { NotifyCommand(BN_CLICKED); }

void TCustomCheckBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == BN_CLICKED) Toggle();
        return;
    case BM_GETCHECK: M.Result = FState; return;
    case BM_SETCHECK:
        FState = TCheckBoxState(std::min<WPARAM>(M.WParam, 2));
        InvalidateNative();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Toggle();
            M.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(M);
}

void TCustomCheckBox::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    TRect R = ClientRect();
    FillSolid(DC, R, FColor);
    bool Left = FAlignment == taRightJustify;
    int BoxX = Left ? R.Left : R.Right - BoxSize;
    TRect Box = Bounds(BoxX, R.Top + (R.Height() - BoxSize) / 2, BoxSize, BoxSize);
    DrawBox(DC, Box, false, FPressed);
    TColor Mark = FState == cbGrayed ? clGrayText : clWindowText;
    if (FState != cbUnchecked) FillSolid(DC, {Box.Left + 4, Box.Top + 4, Box.Right - 4, Box.Bottom - 4}, Mark);
    SelectObject(DC, NativeFont());
    TRect T = Left ? TRect{Box.Right + 4, R.Top, R.Right, R.Bottom} : TRect{R.Left, R.Top, Box.Left - 4, R.Bottom};
    DrawCaption(DC, Caption(), T, DT_LEFT, Enabled(), FWordWrap);
    if (FHandle && GetFocus() == FHandle) ::DrawFocusRect(DC, &T);
}

// ---- TRadioButton ----------------------------------------------------------------------------------------
TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& P)
{
    TButtonControl::CreateParams(P);
    P.Style |= BS_RADIOBUTTON;
}

void TRadioButton::SetChecked(bool V)
{
    if (FChecked == V) return;
    FChecked = V;
    SetTabStop(V);
    InvalidateNative();
    if (V) {
        // the others beside it go off
        if (FParent)
            for (int I = 0; I < FParent->ControlCount(); ++I)
                if (auto* R = dynamic_cast<TRadioButton*>(FParent->Controls(I)); R && R != this) R->SetChecked(false);
        Click();
    }
}

void TRadioButton::NativeClicked() { NotifyCommand(BN_CLICKED); }

void TRadioButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == BN_CLICKED) SetChecked(true);
        return;
    case BM_GETCHECK: M.Result = FChecked ? BST_CHECKED : BST_UNCHECKED; return;
    case BM_SETCHECK:
        FChecked = M.WParam == BST_CHECKED;
        InvalidateNative();
        return;
    case WM_SETFOCUS:
        // arrows move the focus onto a radio button: it becomes the checked one
        TButtonControl::Dispatch(M);
        if (!FChecked && GetKeyState(VK_LBUTTON) >= 0) SetChecked(true);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            M.Result = 1;
            return;
        }
        break;
    }
    TButtonControl::Dispatch(M);
}

void TRadioButton::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    TRect R = ClientRect();
    FillSolid(DC, R, FColor);
    bool Left = FAlignment == taRightJustify;
    int BoxX = Left ? R.Left : R.Right - BoxSize;
    TRect Box = Bounds(BoxX, R.Top + (R.Height() - BoxSize) / 2, BoxSize, BoxSize);
    DrawBox(DC, Box, true, FPressed);
    if (FChecked) FillSolid(DC, {Box.Left + 4, Box.Top + 4, Box.Right - 4, Box.Bottom - 4}, clWindowText);
    SelectObject(DC, NativeFont());
    TRect T = Left ? TRect{Box.Right + 4, R.Top, R.Right, R.Bottom} : TRect{R.Left, R.Top, Box.Left - 4, R.Bottom};
    DrawCaption(DC, Caption(), T, DT_LEFT, Enabled(), FWordWrap);
    if (FHandle && GetFocus() == FHandle) ::DrawFocusRect(DC, &T);
}
