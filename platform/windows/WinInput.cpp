// Input routing done in-process from the window tree: hit testing, client and
// non-client mouse messages, capture, double clicks, activation, keyboard focus and
// key messages, cursors, the default window procedure, and the move/size loop.
#include <algorithm>
#include <cstdlib>

#include "platform/windows/Backend.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WindowImpl.h"


using namespace winimpl;

static std::function<void(HWND, TPoint)>& MouseHook()
{
    static std::function<void(HWND, TPoint)> H;
    return H;
}

void SetMouseMoveHook(std::function<void(HWND UnderPointer, TPoint Screen)> Hook) { MouseHook() = std::move(Hook); }

// ---- cursors ----------------------------------------------------------------------------
HCURSOR LoadCursor(void*, int Id) { return reinterpret_cast<HCURSOR>(intptr_t(Id)); }

int CursorShape(HCURSOR Cursor)
{
    intptr_t V = reinterpret_cast<intptr_t>(Cursor);
    return V ? int(V) : IDC_ARROW;
}

HCURSOR SetCursor(HCURSOR Cursor)
{
    auto& S = State();
    HCURSOR Old = S.Cursor;
    if (CursorShape(Old) != CursorShape(Cursor) || !Old) {
        S.Cursor = Cursor;
        TWindow* T = nullptr;
        if (S.Capture) T = TopOf(Find(S.Capture));
        // a capture held by a hidden window (a drag's) shows its cursor where the pointer is
        if ((!T || !T->Visible()) && S.MouseWindow && Find(S.MouseWindow)) T = TopOf(Find(S.MouseWindow));
        if (T && T->Native) Backend().SetCursorShape(T, HCURSOR(intptr_t(CursorShape(Cursor))));
    }
    S.Cursor = Cursor;
    return Old;
}

HCURSOR GetCursor() { return State().Cursor; }

// ---- pointer and key state ---------------------------------------------------------------
bool GetCursorPos(TPoint& P)
{
    auto& S = State();
    TPoint Q;
    if (Backend().QueryPointer(Q)) S.CursorPos = Q;
    P = S.CursorPos;
    return true;
}

TPoint GetCursorPos()
{
    TPoint P;
    GetCursorPos(P);
    return P;
}

bool SetCursorPos(int X, int Y)
{
    State().CursorPos = {X, Y};
    Backend().WarpPointer({X, Y});
    return true;
}

int16_t GetKeyState(int VirtualKey)
{
    BYTE K = State().KeyStates[VirtualKey & 0xFF];
    return int16_t(((K & 0x80) ? 0x8000 : 0) | (K & 1));
}

int16_t GetAsyncKeyState(int VirtualKey) { return int16_t(GetKeyState(VirtualKey) & 0x8000); }

UINT GetDoubleClickTime() { return 500; }

static void SetKeyDown(int Vk, bool Down)
{
    BYTE& K = State().KeyStates[Vk & 0xFF];
    if (Down) {
        if (!(K & 0x80)) K ^= 1;  // toggled on each press
        K |= 0x80;
    } else {
        K &= ~0x80;
    }
}

static WPARAM MouseKeys()
{
    WPARAM K = 0;
    if (GetKeyState(VK_LBUTTON) < 0) K |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) K |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) K |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) K |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) K |= MK_CONTROL;
    return K;
}

// ---- focus, activation, capture ------------------------------------------------------------
HWND GetFocus() { return State().Focus; }
HWND GetActiveWindow() { return State().Active; }
HWND GetForegroundWindow() { return State().Active; }
HWND GetCapture() { return State().Capture; }

HWND SetFocus(HWND Wnd)
{
    auto& S = State();
    HWND Old = S.Focus;
    if (Wnd == Old) return Old;
    TWindow* W = nullptr;
    if (Wnd) {
        W = Find(Wnd);
        if (!W || !IsEnabledChain(W)) return nullptr;
        TWindow* T = TopOf(W);
        if (S.Active != T->Handle) {
            ActivateWindow(T, WA_ACTIVE, false);
            if (!Find(Wnd)) return nullptr;
            if (S.Focus == Wnd) return Old;
            Old = S.Focus;
        }
    }
    S.Focus = Wnd;
    if (Old && Find(Old)) SendMessage(Old, WM_KILLFOCUS, WPARAM(Wnd), 0);
    if (Wnd && Find(Wnd) && S.Focus == Wnd) SendMessage(Wnd, WM_SETFOCUS, WPARAM(Old), 0);
    return Old;
}

void winimpl::FocusLostByDestroy(TWindow* W)
{
    auto& S = State();
    if (S.Focus && (S.Focus == W->Handle || IsChild(W->Handle, S.Focus))) {
        HWND Old = S.Focus;
        TWindow* T = TopOf(W);
        S.Focus = nullptr;
        if (Find(Old)) SendMessage(Old, WM_KILLFOCUS, 0, 0);
        // the focus goes back to the top-level when only a child dies
        if (T != W && Find(T->Handle) && !T->Destroying && S.Active == T->Handle && !S.Focus) SetFocus(T->Handle);
    }
}

static bool CanActivate(TWindow* T)
{
    return T && T->Visible() && !T->Minimized && T->Enabled() && !T->Destroying && !(T->ExStyle & WS_EX_NOACTIVATE);
}

void winimpl::ActivateWindow(TWindow* T, int How, bool FromNative)
{
    auto& S = State();
    if (!T) return;
    T = TopOf(T);
    if (S.Active == T->Handle) return;
    HWND Old = S.Active;
    HWND NewH = T->Handle;
    S.Active = NewH;
    S.Foreground = NewH;
    if (Old && Find(Old)) {
        SendMessage(Old, WM_NCACTIVATE, 0, LPARAM(NewH));
        if (Find(Old)) SendMessage(Old, WM_ACTIVATE, WA_INACTIVE, LPARAM(NewH));
    }
    if (S.Active != NewH || !Find(NewH)) return;
    SendMessage(NewH, WM_NCACTIVATE, 1, LPARAM(Old));
    if (!Find(NewH) || S.Active != NewH) return;
    SendMessage(NewH, WM_ACTIVATE, WPARAM(How) | (T->Minimized ? 0x10000 : 0), LPARAM(Old));
    if (!Find(NewH) || S.Active != NewH) return;
    // keys never go to a window of an inactive top-level
    if (S.Focus && S.Focus != NewH && !IsChild(NewH, S.Focus)) SetFocus(T->Minimized ? nullptr : NewH);
    if (!FromNative && T->Native) Backend().FocusTop(T);
}

HWND SetActiveWindow(HWND Wnd)
{
    HWND Old = State().Active;
    TWindow* W = Find(Wnd);
    if (W) ActivateWindow(W, WA_ACTIVE, false);
    return Old;
}

bool SetForegroundWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    W = TopOf(W);
    if (W->Native) Backend().ActivateForeign(W);
    ActivateWindow(W, WA_ACTIVE, false);
    return true;
}

// Deactivates the whole program (the window manager gave the focus to another program).
static void DeactivateAll()
{
    auto& S = State();
    HWND Old = S.Active;
    if (!Old) return;
    S.Active = nullptr;
    S.Foreground = nullptr;
    if (Find(Old)) SendMessage(Old, WM_NCACTIVATE, 0, 0);
    if (Find(Old)) SendMessage(Old, WM_ACTIVATE, WA_INACTIVE, 0);
    if (S.Focus) {
        HWND F = S.Focus;
        S.Focus = nullptr;
        if (Find(F)) SendMessage(F, WM_KILLFOCUS, 0, 0);
    }
}

void winimpl::DeactivateIfActive(TWindow* W)
{
    auto& S = State();
    if (S.Active != W->Handle) return;
    TWindow* Next = nullptr;
    if (W->Owner && CanActivate(W->Owner)) Next = W->Owner;
    if (!Next)
        for (TWindow* T : S.Tops)
            if (T != W && CanActivate(T) && !T->IsPopup()) {
                Next = T;
                break;
            }
    if (Next) ActivateWindow(Next, WA_ACTIVE, false);
    else DeactivateAll();
}

void NativeFocusChanged(HWND Top, bool In)
{
    TWindow* T = Find(Top);
    if (In) {
        if (T && CanActivate(T)) ActivateWindow(T, WA_ACTIVE, true);
    } else if (T && State().Active == Top) {
        DeactivateAll();
    }
}

HWND SetCapture(HWND Wnd)
{
    auto& S = State();
    HWND Old = S.Capture;
    TWindow* W = Find(Wnd);
    if (!W) return Old;
    S.Capture = Wnd;
    if (Old && Old != Wnd && Find(Old)) SendMessage(Old, WM_CAPTURECHANGED, 0, LPARAM(Wnd));
    TWindow* T = TopOf(W);
    // a hidden window (a drag's) cannot hold the pointer grab: the window the pointer is
    // over holds it for it
    if (!T->Visible() && S.MouseWindow && Find(S.MouseWindow)) T = TopOf(Find(S.MouseWindow));
    if (T->Native) Backend().GrabPointer(T);
    return Old;
}

bool ReleaseCapture()
{
    auto& S = State();
    HWND Old = S.Capture;
    if (!Old) return true;
    S.Capture = nullptr;
    Backend().UngrabPointer();
    if (Find(Old)) SendMessage(Old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

// ---- mouse tracking --------------------------------------------------------------------------
static void TrackPointer(TWindow* Under, TPoint Screen)
{
    auto& S = State();
    HWND U = Under ? Under->Handle : nullptr;
    if (S.MouseWindow != U) {
        HWND Old = S.MouseWindow;
        S.MouseWindow = U;
        if (Old && Find(Old)) PostMessage(Old, WM_MOUSELEAVE, 0, 0);
    }
    if (MouseHook()) MouseHook()(U, Screen);
}

void winimpl::OnWindowHiddenOrDisabled(TWindow* W)
{
    auto& S = State();
    if (S.MouseWindow && (S.MouseWindow == W->Handle || IsChild(W->Handle, S.MouseWindow))) {
        TPoint P = S.CursorPos;
        TWindow* T = TopAt(P);
        TWindow* Under = T && T->Enabled() ? ChildAt(T, P, false) : nullptr;
        TrackPointer(Under, P);
    } else if (MouseHook()) {
        MouseHook()(S.MouseWindow, S.CursorPos);
    }
}

// The enabled window that takes mouse input at the point: disabled windows pass it
// to their parent; HTTRANSPARENT passes it on too.
static TWindow* MouseTargetAt(TWindow* Top, TPoint Screen, int& Hit)
{
    TWindow* W = ChildAt(Top, Screen, true);
    while (W && !W->Enabled()) W = W->IsChild() ? W->Parent : nullptr;
    while (W) {
        HWND H = W->Handle;
        Hit = int(SendMessage(H, WM_NCHITTEST, 0, PointToLParam(Screen)));
        if (!Find(H)) return nullptr;
        if (Hit != HTTRANSPARENT) return W;
        W = W->IsChild() ? W->Parent : nullptr;
    }
    return nullptr;
}

static UINT ButtonMessage(int Button, bool Down, bool Double, bool Client)
{
    UINT Base = Client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN;
    int Index = Button == 2 ? 1 : Button == 3 ? 2 : 0;
    UINT M = Base + UINT(Index * 3);
    if (!Down) return M + 1;
    return Double ? M + 2 : M;
}

bool winimpl::TranslateInput(const TInputEvent& E, MSG& Out)
{
    auto& S = State();
    Out = MSG{};
    Out.time = E.Time;
    switch (E.Kind) {
    case TInputKind::KeyDown:
    case TInputKind::KeyUp: {
        bool Down = E.Kind == TInputKind::KeyDown;
        bool WasDown = GetKeyState(E.Key) < 0;
        SetKeyDown(E.Key, Down);
        if (E.Key == VK_LSHIFT || E.Key == VK_RSHIFT) SetKeyDown(VK_SHIFT, Down);
        if (E.Key == VK_LCONTROL || E.Key == VK_RCONTROL) SetKeyDown(VK_CONTROL, Down);
        if (E.Key == VK_LMENU || E.Key == VK_RMENU) SetKeyDown(VK_MENU, Down);
        int Vk = E.Key;
        if (Vk == VK_LSHIFT || Vk == VK_RSHIFT) Vk = VK_SHIFT;
        if (Vk == VK_LCONTROL || Vk == VK_RCONTROL) Vk = VK_CONTROL;
        if (Vk == VK_LMENU || Vk == VK_RMENU) Vk = VK_MENU;
        bool Alt = GetKeyState(VK_MENU) < 0;
        bool Ctrl = GetKeyState(VK_CONTROL) < 0;
        bool AltAloneUp = false;
        if (Down) {
            if (Vk == VK_MENU) { if (!WasDown) S.AltAlone = true; }
            else S.AltAlone = false;
        } else if (Vk == VK_MENU) {
            AltAloneUp = S.AltAlone;
            S.AltAlone = false;
        }
        HWND Target = S.Focus ? S.Focus : S.Active;
        if (!Target || !Find(Target)) return false;
        bool Sys = Vk == VK_MENU ? (Down || AltAloneUp) : ((Alt && !Ctrl) || Vk == VK_F10);
        if (Down) Out.message = Sys ? WM_SYSKEYDOWN : WM_KEYDOWN;
        else Out.message = Sys ? WM_SYSKEYUP : WM_KEYUP;
        Out.hwnd = Target;
        Out.wParam = WPARAM(Vk);
        LPARAM L = 1 | (LPARAM(E.Key & 0xFF) << 16);
        if (Alt) L |= LPARAM(1) << 29;
        if (Down && WasDown) L |= LPARAM(1) << 30;
        if (!Down) L |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
        Out.lParam = L;
        Out.pt = S.CursorPos;
        String Text = E.Text == "\x01" ? DefaultKeyText(E.Key) : E.Text;
        if (Down && !Text.empty()) {
            const unsigned char* P = reinterpret_cast<const unsigned char*>(Text.data());
            uint32_t C = P[0];
            int N = C < 0x80 ? 0 : C < 0xE0 ? 1 : C < 0xF0 ? 2 : 3;
            C &= N == 0 ? 0x7F : N == 1 ? 0x1F : N == 2 ? 0x0F : 0x07;
            for (int I = 1; I <= N && I < int(Text.size()); ++I) C = (C << 6) | (P[I] & 0x3F);
            Out.lChar = C;
        }
        return true;
    }
    case TInputKind::Chars: {
        HWND Target = S.Focus ? S.Focus : S.Active;
        if (!Target) return false;
        std::vector<uint32_t> Cps;
        const unsigned char* P = reinterpret_cast<const unsigned char*>(E.Text.data());
        for (size_t I = 0; I < E.Text.size();) {
            uint32_t C = P[I];
            int N = C < 0x80 ? 0 : C < 0xE0 ? 1 : C < 0xF0 ? 2 : 3;
            C &= N == 0 ? 0x7F : N == 1 ? 0x1F : N == 2 ? 0x0F : 0x07;
            for (int K = 1; K <= N && I + size_t(K) < E.Text.size(); ++K) C = (C << 6) | (P[I + size_t(K)] & 0x3F);
            I += size_t(N) + 1;
            Cps.push_back(C);
        }
        if (Cps.empty()) return false;
        {
            std::lock_guard<std::mutex> G(S.QueueLock);
            for (size_t I = Cps.size(); I-- > 1;) {
                TQueued Q;
                Q.Msg.hwnd = Target;
                Q.Msg.message = WM_CHAR;
                Q.Msg.wParam = Cps[I];
                Q.Msg.lParam = 1;
                Q.Msg.time = E.Time;
                S.Queue.push_front(std::move(Q));
            }
        }
        Out.hwnd = Target;
        Out.message = WM_CHAR;
        Out.wParam = Cps[0];
        Out.lParam = 1;
        return true;
    }
    case TInputKind::PointerLeft:
        if (!S.Capture) TrackPointer(nullptr, E.Screen);
        return false;
    default: break;
    }

    // mouse
    S.CursorPos = E.Screen;
    Out.pt = E.Screen;
    int ButtonVk = E.Button == 2 ? VK_RBUTTON : E.Button == 3 ? VK_MBUTTON : VK_LBUTTON;
    if (E.Kind == TInputKind::ButtonDown) SetKeyDown(ButtonVk, true);
    if (E.Kind == TInputKind::ButtonUp) SetKeyDown(ButtonVk, false);

    TWindow* Top = nullptr;
    if (E.Top) {
        Top = Find(E.Top);
        if (Top && !PointInShape(Top, {E.Screen.X - Top->Rect.Left, E.Screen.Y - Top->Rect.Top})) Top = nullptr;
        if (Top && (Top->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT))
            Top = nullptr;
    }
    if (!Top) Top = TopAt(E.Screen);
    TWindow* Under = Top && Top->Enabled() ? ChildAt(Top, E.Screen, true) : nullptr;
    while (Under && !Under->Enabled()) Under = Under->IsChild() ? Under->Parent : nullptr;

    if (E.Kind == TInputKind::Wheel) {
        // The wheel scrolls what lies under the pointer (a list dropped down, a list or a
        // memo without the focus); over none of the program's windows it goes to the focus.
        HWND Target = Under ? Under->Handle : S.Focus;
        if (!Target) return false;
        Out.hwnd = Target;
        Out.message = WM_MOUSEWHEEL;
        Out.wParam = MAKEWPARAM(int(MouseKeys()), E.Delta);
        Out.lParam = PointToLParam(E.Screen);
        return true;
    }

    if (S.Capture) {
        TWindow* C = Find(S.Capture);
        if (!C) { S.Capture = nullptr; return false; }
        if (E.Kind == TInputKind::MouseMove) TrackPointer(Under, E.Screen);
        TPoint O = ClientScreenOrigin(C);
        Out.hwnd = C->Handle;
        Out.lParam = MAKELPARAM(E.Screen.X - O.X, E.Screen.Y - O.Y);
        Out.wParam = MouseKeys();
        if (E.Kind == TInputKind::MouseMove) Out.message = WM_MOUSEMOVE;
        else {
            bool Double = false;
            if (E.Kind == TInputKind::ButtonDown) {
                Double = (C->Class->Style & CS_DBLCLKS) && !S.LastWasDouble && S.LastDownWnd == C->Handle &&
                         S.LastDownButton == E.Button && E.Time - S.LastDownTime <= GetDoubleClickTime() &&
                         std::abs(E.Screen.X - S.LastDownPos.X) <= 4 && std::abs(E.Screen.Y - S.LastDownPos.Y) <= 4;
                S.LastDownWnd = C->Handle;
                S.LastDownButton = E.Button;
                S.LastDownTime = E.Time;
                S.LastDownPos = E.Screen;
                S.LastWasDouble = Double;
            }
            Out.message = ButtonMessage(E.Button, E.Kind == TInputKind::ButtonDown, Double, true);
        }
        return true;
    }

    if (!Top || !Top->Enabled()) {
        TrackPointer(nullptr, E.Screen);
        // a press on a window disabled by a modal dialog brings the dialog forward
        if (Top && E.Kind == TInputKind::ButtonDown)
            for (TWindow* T : S.Tops)
                if (T->Owner == Top && T->Visible() && T->Enabled()) { ActivateWindow(T, WA_ACTIVE, false); break; }
        return false;
    }
    int Hit = HTCLIENT;
    TWindow* Target = MouseTargetAt(Top, E.Screen, Hit);
    if (!Target) {
        TrackPointer(nullptr, E.Screen);
        return false;
    }
    HWND TH = Target->Handle;
    if (E.Kind == TInputKind::MouseMove) TrackPointer(Target, E.Screen);
    if (!Find(TH)) return false;
    bool Client = Hit == HTCLIENT;
    UINT Msg;
    bool Double = false;
    if (E.Kind == TInputKind::MouseMove) Msg = Client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    else {
        if (E.Kind == TInputKind::ButtonDown) {
            bool CanDouble = !Client || (Target->Class->Style & CS_DBLCLKS);
            Double = CanDouble && !S.LastWasDouble && S.LastDownWnd == TH && S.LastDownButton == E.Button &&
                     E.Time - S.LastDownTime <= GetDoubleClickTime() && std::abs(E.Screen.X - S.LastDownPos.X) <= 4 &&
                     std::abs(E.Screen.Y - S.LastDownPos.Y) <= 4;
            S.LastDownWnd = TH;
            S.LastDownButton = E.Button;
            S.LastDownTime = E.Time;
            S.LastDownPos = E.Screen;
            S.LastWasDouble = Double;
        }
        Msg = ButtonMessage(E.Button, E.Kind == TInputKind::ButtonDown, Double, Client);
    }
    if (E.Kind != TInputKind::ButtonUp) {
        SendMessage(TH, WM_SETCURSOR, WPARAM(TH), MAKELPARAM(Hit, int(Msg)));
        if (!Find(TH)) return false;
    }
    if (E.Kind == TInputKind::ButtonDown) {
        // the parents hear of the press first, nearest first
        if (!(Target->ExStyle & 0x4 /*WS_EX_NOPARENTNOTIFY*/))
            for (TWindow* P = Target; P->IsChild() && Find(TH);) {
                TWindow* Parent = P->Parent;
                TPoint O = ClientScreenOrigin(Parent);
                SendMessage(Parent->Handle, WM_PARENTNOTIFY, MAKEWPARAM(int(Msg), 0),
                            MAKELPARAM(E.Screen.X - O.X, E.Screen.Y - O.Y));
                if (!Find(Parent->Handle) || !Parent->IsChild() || (Parent->ExStyle & 0x4)) break;
                P = Parent;
            }
        if (!Find(TH)) return false;
        TWindow* T = TopOf(Target);
        if (S.Active != T->Handle) {
            LRESULT MA = SendMessage(TH, WM_MOUSEACTIVATE, WPARAM(T->Handle), MAKELPARAM(Hit, int(Msg)));
            if (!Find(TH)) return false;
            bool Popup = T->IsPopup() || (T->ExStyle & WS_EX_NOACTIVATE);  // popups never activate
            if ((MA == MA_ACTIVATE || MA == MA_ACTIVATEANDEAT || MA == 0) && !Popup) ActivateWindow(T, WA_CLICKACTIVE, false);
            if (MA == MA_ACTIVATEANDEAT || MA == MA_NOACTIVATEANDEAT) return false;
            if (!Find(TH)) return false;
        }
    }
    Out.hwnd = TH;
    Out.message = Msg;
    if (Client) {
        TPoint O = ClientScreenOrigin(Target);
        Out.wParam = MouseKeys();
        Out.lParam = MAKELPARAM(E.Screen.X - O.X, E.Screen.Y - O.Y);
    } else {
        Out.wParam = WPARAM(Hit);
        Out.lParam = PointToLParam(E.Screen);
    }
    return true;
}

String winimpl::DefaultKeyText(int Vk)
{
    bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0, Alt = GetKeyState(VK_MENU) < 0;
    if (Vk >= 'A' && Vk <= 'Z') {
        if (Ctrl && !Alt) return String(1, char(Vk - 'A' + 1));
        return String(1, char(Shift ? Vk : Vk + 32));
    }
    if (Ctrl) return "";
    if (Vk >= '0' && Vk <= '9' && !Shift) return String(1, char(Vk));
    switch (Vk) {
    case VK_SPACE: return " ";
    case VK_RETURN: return "\r";
    case VK_ESCAPE: return "\x1b";
    case VK_TAB: return "\t";
    case VK_BACK: return "\b";
    }
    return "";
}

// ---- the move/size loop ------------------------------------------------------------------------
static void MoveSizeLoop(HWND Wnd, int Hit)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsFramed()) return;
    auto& S = State();
    MINMAXINFO MMI{};
    MMI.ptMinTrackSize = {1, 1};
    MMI.ptMaxTrackSize = {100000, 100000};
    SendMessage(Wnd, WM_GETMINMAXINFO, 0, LPARAM(&MMI));
    if (!Find(Wnd)) return;
    SendMessage(Wnd, WM_ENTERSIZEMOVE, 0, 0);
    if (!Find(Wnd)) return;
    TRect Orig = W->Rect;
    TPoint Start = S.CursorPos;
    SetCapture(Wnd);
    bool Done = false;
    while (!Done && Find(Wnd) && S.Capture == Wnd) {
        MSG M;
        if (!PeekMessage(M, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            // The calls of other threads go on while the window is moved or sized.
            RunSynchronized();
            continue;
        }
        if (M.message == WM_QUIT) {
            PostQuitMessage(int(M.wParam));
            break;
        }
        if (M.hwnd == Wnd && (M.message == WM_LBUTTONUP || M.message == WM_MOUSEMOVE)) {
            TPoint P = M.pt;
            int Dx = P.X - Start.X, Dy = P.Y - Start.Y;
            TRect R = Orig;
            if (Hit == HTCAPTION) {
                R = {Orig.Left + Dx, Orig.Top + Dy, Orig.Right + Dx, Orig.Bottom + Dy};
                SendMessage(Wnd, WM_MOVING, 0, LPARAM(&R));
            } else {
                bool L = Hit == HTLEFT || Hit == HTTOPLEFT || Hit == HTBOTTOMLEFT;
                bool Rt = Hit == HTRIGHT || Hit == HTTOPRIGHT || Hit == HTBOTTOMRIGHT;
                bool T = Hit == HTTOP || Hit == HTTOPLEFT || Hit == HTTOPRIGHT;
                bool B = Hit == HTBOTTOM || Hit == HTBOTTOMLEFT || Hit == HTBOTTOMRIGHT;
                if (L) R.Left += Dx;
                if (Rt) R.Right += Dx;
                if (T) R.Top += Dy;
                if (B) R.Bottom += Dy;
                SendMessage(Wnd, WM_SIZING, WPARAM(Hit - 9), LPARAM(&R));
                // the limits keep the edge that is not dragged in place
                int Wd = std::clamp(R.Width(), MMI.ptMinTrackSize.X, MMI.ptMaxTrackSize.X);
                int Ht = std::clamp(R.Height(), MMI.ptMinTrackSize.Y, MMI.ptMaxTrackSize.Y);
                if (L) R.Left = R.Right - Wd; else R.Right = R.Left + Wd;
                if (T) R.Top = R.Bottom - Ht; else R.Bottom = R.Top + Ht;
            }
            if (!Find(Wnd)) return;
            if (R != W->Rect) SetWindowPos(Wnd, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            if (M.message == WM_LBUTTONUP) Done = true;
            continue;
        }
        if (M.message == WM_KEYDOWN && M.wParam == VK_ESCAPE) {
            SetWindowPos(Wnd, nullptr, Orig.Left, Orig.Top, Orig.Width(), Orig.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            Done = true;
            continue;
        }
        TranslateMessage(M);
        DispatchMessage(M);
    }
    if (S.Capture == Wnd) ReleaseCapture();
    if (Find(Wnd)) SendMessage(Wnd, WM_EXITSIZEMOVE, 0, 0);
}

// ---- the default window procedure ---------------------------------------------------------------

static int CursorForHit(int Hit, TWindow* W)
{
    switch (Hit) {
    case HTLEFT: case HTRIGHT: return IDC_SIZEWE;
    case HTTOP: case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT: case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT: case HTBOTTOMLEFT: return IDC_SIZENESW;
    case HTCLIENT: return CursorShape(W->Class->Cursor);
    }
    return IDC_ARROW;
}

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM Wp, LPARAM Lp)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    switch (Msg) {
    case WM_NCCREATE:
        return 1;
    case WM_NCCALCSIZE:
        return 0;
    case WM_NCHITTEST: {
        TPoint P = LParamToPoint(Lp);
        TPoint O = ScreenOrigin(W);
        TPoint WP{P.X - O.X, P.Y - O.Y};
        if (!PointInShape(W, WP)) return HTNOWHERE;
        if (W->Client.Contains(WP)) return HTCLIENT;
        return HTBORDER;
    }
    case WM_SETCURSOR: {
        if (W->IsChild() && SendMessage(W->Parent->Handle, WM_SETCURSOR, Wp, Lp)) return 1;
        if (!Find(Wnd)) return 0;
        SetCursor(LoadCursor(CursorForHit(int16_t(LOWORD(uintptr_t(Lp))), W)));
        return 0;
    }
    case WM_MOUSEACTIVATE:
        if (W->IsChild()) {
            LRESULT R = SendMessage(W->Parent->Handle, WM_MOUSEACTIVATE, Wp, Lp);
            if (R) return R;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(Wp) != WA_INACTIVE && !HIWORD(Wp)) {
            HWND F = State().Focus;
            if (!F || (F != Wnd && !IsChild(Wnd, F))) SetFocus(Wnd);
        }
        return 0;
    case WM_NCACTIVATE:
        return 1;
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_SETTEXT:
        W->Text = Lp ? reinterpret_cast<const char*>(Lp) : "";
        if (W->IsTop() && W->Native) Backend().SetTopTitle(W);
        return 1;
    case WM_GETTEXT: {
        if (!Wp || !Lp) return 0;
        size_t N = std::min(W->Text.size(), size_t(Wp) - 1);
        std::copy_n(W->Text.data(), N, reinterpret_cast<char*>(Lp));
        reinterpret_cast<char*>(Lp)[N] = 0;
        return LRESULT(N);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(W->Text.size());
    case WM_PAINT:
        DefaultPaint(Wnd);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_WINDOWPOSCHANGED: {
        auto* Pos = reinterpret_cast<WINDOWPOS*>(Lp);
        if (!(Pos->flags & SWP_NOMOVE) || (Pos->flags & SWP_FRAMECHANGED))
            SendMessage(Wnd, WM_MOVE, 0, MAKELPARAM(W->Rect.Left + W->Client.Left, W->Rect.Top + W->Client.Top));
        if (Find(Wnd) && (!(Pos->flags & SWP_NOSIZE) || (Pos->flags & SWP_FRAMECHANGED)))
            SendMessage(Wnd, WM_SIZE, W->Maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        MAKELPARAM(W->Client.Width(), W->Client.Height()));
        return 0;
    }
    case WM_SYSCOMMAND:
        switch (Wp & 0xFFF0) {
        case SC_CLOSE: SendMessage(Wnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(Wnd, SW_MINIMIZE); break;
        case SC_RESTORE: ShowWindow(Wnd, SW_RESTORE); break;
        case SC_MOVE: MoveSizeLoop(Wnd, HTCAPTION); break;
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (W->IsFramed() && (Wp == HTCAPTION || (Wp >= HTLEFT && Wp <= HTBOTTOMRIGHT)))
            MoveSizeLoop(Wnd, int(Wp));
        else if (!W->IsFramed() && Wp >= HTLEFT && Wp <= HTBOTTOMRIGHT) {
            // A child answering a sizing code is a size grip (a status bar's, a menu
            // panel's): it sizes the framed window it lies in.
            TWindow* F = W->Parent;
            while (F && !F->IsFramed()) F = F->Parent;
            if (F) MoveSizeLoop(F->Handle, int(Wp));
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (Wp == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            SendMessage(Wnd, WM_CONTEXTMENU, WPARAM(Wnd), -1);
            return 0;
        }
        if (Wp == VK_F4 && (Lp & (LPARAM(1) << 29))) {
            HWND Root = GetAncestor(Wnd, GA_ROOT);
            PostMessage(Root, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSKEYUP:
        if (Wp == VK_MENU || Wp == VK_F10) {
            HWND Root = GetAncestor(Wnd, GA_ROOT);
            SendMessage(Root, WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_KEYUP:
        if (Wp == VK_APPS) SendMessage(Wnd, WM_CONTEXTMENU, WPARAM(Wnd), -1);
        return 0;
    case WM_RBUTTONUP: {
        TPoint P = LParamToPoint(Lp);
        ClientToScreen(Wnd, P);
        SendMessage(Wnd, WM_CONTEXTMENU, WPARAM(Wnd), PointToLParam(P));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if (W->IsChild()) return SendMessage(W->Parent->Handle, Msg, Wp, Lp);
        return 0;
    case WM_SETREDRAW:
        W->Redraw = Wp != 0;
        return 0;
    case WM_CANCELMODE:
        if (State().Capture == Wnd) ReleaseCapture();
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    case WM_SHOWWINDOW:
        return 0;
    }
    return 0;
}
