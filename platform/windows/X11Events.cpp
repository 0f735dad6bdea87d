// Events of the X11 backend: pointer and keys become the window system's raw input
// (routed when taken from the queue), typed and committed text comes through the
// input method, and the window manager's moves, maps, focus changes and close
// requests are followed.  The loop waits on the display, the wake-ups and timers.
#include <poll.h>

#include <algorithm>
#include <clocale>
#include <cstring>

#include "platform/system/SysUtils.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/X11Impl.h"

#include <X11/XKBlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

using namespace winimpl;

namespace x11impl {

// ---- keys ----------------------------------------------------------------------------------------------
static int VirtualKeyOf(KeySym S)
{
    if (S >= XK_a && S <= XK_z) return int('A' + (S - XK_a));
    if (S >= XK_A && S <= XK_Z) return int('A' + (S - XK_A));
    if (S >= XK_0 && S <= XK_9) return int('0' + (S - XK_0));
    if (S >= XK_F1 && S <= XK_F12) return VK_F1 + int(S - XK_F1);
    if (S >= XK_KP_0 && S <= XK_KP_9) return VK_NUMPAD0 + int(S - XK_KP_0);
    switch (S) {
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Prior: case XK_KP_Prior: return VK_PRIOR;
    case XK_Next: case XK_KP_Next: return VK_NEXT;
    case XK_End: case XK_KP_End: return VK_END;
    case XK_Home: case XK_KP_Home: return VK_HOME;
    case XK_Left: case XK_KP_Left: return VK_LEFT;
    case XK_Up: case XK_KP_Up: return VK_UP;
    case XK_Right: case XK_KP_Right: return VK_RIGHT;
    case XK_Down: case XK_KP_Down: return VK_DOWN;
    case XK_Insert: case XK_KP_Insert: return VK_INSERT;
    case XK_Delete: case XK_KP_Delete: return VK_DELETE;
    case XK_Shift_L: return VK_LSHIFT;
    case XK_Shift_R: return VK_RSHIFT;
    case XK_Control_L: return VK_LCONTROL;
    case XK_Control_R: return VK_RCONTROL;
    case XK_Alt_L: case XK_Meta_L: return VK_LMENU;
    case XK_Alt_R: case XK_Meta_R: case XK_ISO_Level3_Shift: return VK_RMENU;
    case XK_Super_L: return VK_LWIN;
    case XK_Super_R: return VK_RWIN;
    case XK_Menu: return VK_APPS;
    case XK_Pause: return VK_PAUSE;
    case XK_Caps_Lock: return VK_CAPITAL;
    case XK_Num_Lock: return VK_NUMLOCK;
    case XK_Scroll_Lock: return VK_SCROLL;
    case XK_Print: return VK_SNAPSHOT;
    case XK_KP_Multiply: return VK_MULTIPLY;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_KP_Decimal: return VK_DECIMAL;
    case XK_KP_Divide: return VK_DIVIDE;
    case XK_semicolon: return VK_OEM_1;
    case XK_equal: return VK_OEM_PLUS;
    case XK_comma: return VK_OEM_COMMA;
    case XK_minus: return VK_OEM_MINUS;
    case XK_period: return VK_OEM_PERIOD;
    case XK_slash: return VK_OEM_2;
    case XK_grave: return VK_OEM_3;
    case XK_bracketleft: return VK_OEM_4;
    case XK_backslash: return VK_OEM_5;
    case XK_bracketright: return VK_OEM_6;
    case XK_apostrophe: return VK_OEM_7;
    }
    return 0;
}

static String Latin1ToUtf8(const char* S, int N)
{
    String R;
    for (int I = 0; I < N; ++I) {
        unsigned char C = (unsigned char)S[I];
        if (C < 0x80) R += char(C);
        else {
            R += char(0xC0 | (C >> 6));
            R += char(0x80 | (C & 0x3F));
        }
    }
    return R;
}

void TX11Backend::OpenInputMethod()
{
    // the input method works in the locale's encoding: make it UTF-8 when the program
    // runs in the plain C locale
    const char* L = std::setlocale(LC_CTYPE, nullptr);
    if (!L || !std::strcmp(L, "C") || !std::strcmp(L, "POSIX")) {
        if (!std::setlocale(LC_CTYPE, "")) std::setlocale(LC_CTYPE, "C.UTF-8");
        L = std::setlocale(LC_CTYPE, nullptr);
        if (L && (!std::strcmp(L, "C") || !std::strcmp(L, "POSIX"))) std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    if (!XSupportsLocale()) return;
    XSetLocaleModifiers("");
    Im = XOpenIM(Dpy, nullptr, nullptr, nullptr);
    if (!Im) {
        XSetLocaleModifiers("@im=none");
        Im = XOpenIM(Dpy, nullptr, nullptr, nullptr);
    }
}

void TX11Backend::MakeInputContext(TX11Top* X)
{
    if (!Im || X->Ic) return;
    X->Ic = XCreateIC(Im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, X->Win, XNFocusWindow,
                      X->Win, nullptr);
    if (!X->Ic)
        X->Ic = XCreateIC(Im, XNInputStyle, XIMPreeditNone | XIMStatusNone, XNClientWindow, X->Win, XNFocusWindow,
                          X->Win, nullptr);
    if (!X->Ic) return;
    long Filter = 0;
    XGetICValues(X->Ic, XNFilterEvents, &Filter, nullptr);
    XWindowAttributes A;
    if (Filter && XGetWindowAttributes(Dpy, X->Win, &A)) XSelectInput(Dpy, X->Win, A.your_event_mask | Filter);
}

// The modifier keys and buttons as the server has them (keys pressed while another
// program had the focus are not seen as events).
void TX11Backend::SyncModifiers()
{
    ::Window R, C;
    int Rx, Ry, Wx, Wy;
    unsigned Mask = 0;
    if (!XQueryPointer(Dpy, Root, &R, &C, &Rx, &Ry, &Wx, &Wy, &Mask)) return;
    auto& K = State().KeyStates;
    auto Set = [&](int Vk, bool Down) { K[Vk] = BYTE((K[Vk] & 1) | (Down ? 0x80 : 0)); };
    Set(VK_SHIFT, Mask & ShiftMask);
    Set(VK_CONTROL, Mask & ControlMask);
    Set(VK_MENU, Mask & Mod1Mask);
    if (!(Mask & ShiftMask)) Set(VK_LSHIFT, false), Set(VK_RSHIFT, false);
    if (!(Mask & ControlMask)) Set(VK_LCONTROL, false), Set(VK_RCONTROL, false);
    if (!(Mask & Mod1Mask)) Set(VK_LMENU, false), Set(VK_RMENU, false);
    Set(VK_LBUTTON, Mask & Button1Mask);
    Set(VK_MBUTTON, Mask & Button2Mask);
    Set(VK_RBUTTON, Mask & Button3Mask);
}

void TX11Backend::HandleKey(XKeyEvent& E, TWindow* W, TX11Top* X)
{
    TInputEvent In;
    In.Top = W->Handle;
    In.Time = DWORD(E.time);
    In.Screen = {E.x_root, E.y_root};
    KeySym Sym = XLookupKeysym(&E, 0);
    // keypad keys: the number lock decides between digits and movement
    KeySym Shifted = XLookupKeysym(&E, 1);
    if (Sym >= XK_KP_Space && Sym <= XK_KP_Equal && (E.state & Mod2Mask) && Shifted >= XK_KP_0 && Shifted <= XK_KP_9)
        Sym = Shifted;
    int Vk = VirtualKeyOf(Sym);
    if (E.type == KeyRelease) {
        if (!Vk) return;
        In.Kind = TInputKind::KeyUp;
        In.Key = Vk;
        QueueInput(In);
        return;
    }
    char Buf[64];
    String Text;
    bool TextOnly = false;
    if (X->Ic) {
        Status St = 0;
        KeySym Ks = 0;
        int N = Xutf8LookupString(X->Ic, &E, Buf, sizeof Buf, &Ks, &St);
        if (St == XBufferOverflow) {
            std::vector<char> Big(size_t(N) + 1);
            N = Xutf8LookupString(X->Ic, &E, Big.data(), int(Big.size()), &Ks, &St);
            Text.assign(Big.data(), size_t(std::max(0, N)));
        } else if (St == XLookupChars || St == XLookupBoth) {
            Text.assign(Buf, size_t(std::max(0, N)));
        }
        TextOnly = St == XLookupChars || E.keycode == 0;
    } else {
        KeySym Ks = 0;
        int N = XLookupString(&E, Buf, sizeof Buf, &Ks, nullptr);
        Text = Latin1ToUtf8(Buf, N);
    }
    if (Vk == VK_DELETE || Text == "\x7f") Text.clear();
    if (TextOnly || !Vk) {
        // text committed by the input method, or a character without a key of its own
        if (Text.empty()) return;
        In.Kind = TInputKind::Chars;
        In.Text = Text;
        QueueInput(In);
        return;
    }
    In.Kind = TInputKind::KeyDown;
    In.Key = Vk;
    In.Text = Text;
    QueueInput(In);
}

// ---- window-manager changes ------------------------------------------------------------------------------
TWindow* TX11Backend::TopByXWindow(::Window Win, TX11Top** Out) const
{
    for (TWindow* T : State().Tops) {
        TX11Top* X = Top(T);
        if (X && X->Win == Win) {
            if (Out) *Out = X;
            return T;
        }
    }
    return nullptr;
}

void TX11Backend::NativeConfigure(TWindow* W, TX11Top* X, const XConfigureEvent& E)
{
    // A real event gives the place in the parent: the root's own coordinates unless a
    // window manager's frame holds the window.  Each echo of our own moves carries the
    // place and size of that move, so that a late one is recognised for what it is.
    int Rx = E.x, Ry = E.y;
    if (!E.send_event && X->Reparented) {
        // relative to the frame: the place on the screen is asked of the server
        ::Window Child;
        XTranslateCoordinates(Dpy, X->Win, Root, 0, 0, &Rx, &Ry, &Child);
    }
    TRect R = Bounds(Rx, Ry, E.width, E.height);
    auto It = std::find(X->PendingConfigures.begin(), X->PendingConfigures.end(), R);
    if (It != X->PendingConfigures.end()) {
        X->PendingConfigures.erase(X->PendingConfigures.begin(), It + 1);
        return;  // one of our own moves coming back
    }
    TRect Cur = Bounds(W->Rect.Left, W->Rect.Top, std::max(1, W->Width()), std::max(1, W->Height()));
    if (R == Cur) return;
    // the window manager moved or sized it: the window system follows
    X->PendingConfigures.clear();
    FollowNative(W, R);
}

void TX11Backend::FollowNative(TWindow* W, const TRect& R)
{
    HWND H = W->Handle;
    Following = W;
    SetWindowPos(H, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Following = nullptr;
    TWindow* Now = Find(H);
    if (Now && Now->Rect != R) MoveTop(Now);  // the program did not take it as it was
}

void TX11Backend::NativeMapChange(TWindow* W, TX11Top* X, bool Mapped)
{
    HWND H = W->Handle;
    if (Mapped) {
        X->Viewable = true;
        // the echo of a map we asked for, though the window was made an icon since: no
        // window manager gave it back
        const bool Own = X->OwnMaps > 0;
        if (Own) --X->OwnMaps;
        if (X->WantFocus) FocusTop(W);
        if (W->Minimized && !X->OverrideRedirect && !Own) {
            // the window manager gave the window back (taskbar, pager)
            X->IconifyRequested = false;
            SendMessage(H, WM_SYSCOMMAND, SC_RESTORE, 0);
            if (Find(H)) SendMessage(H, WM_SHOWWINDOW, 1, SW_PARENTOPENING);
        }
        return;
    }
    X->Viewable = false;
    X->OwnMaps = 0;  // our maps come back before the unmap that follows them
    if (!X->MapRequested || W->Minimized || X->OverrideRedirect) return;
    // unmapped though we did not ask: the window manager made it an icon
    auto State = ReadProperty32(X->Win, WM_STATE_, WM_STATE_, 2);
    bool Iconic = !State.empty() && State[0] == IconicState;
    if (Iconic) SendMessage(H, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// Another client destroyed the window: it is gone from the screen for good, and a form
// closes as on the window manager's close request, so that the program does not go on
// with a window nobody can reach.
void TX11Backend::NativeDestroyed(TWindow* W, TX11Top* X)
{
    if (Grab == X->Win) Grab = 0;
    if (X->Ic) XDestroyIC(X->Ic);
    X->Ic = nullptr;
    XFreeGC(Dpy, X->Gc);
    if (X->OwnColormap) XFreeColormap(Dpy, X->OwnColormap);
    X->OwnColormap = 0;
    X->Win = 0;
    X->MapRequested = X->Viewable = false;
    if (!X->OverrideRedirect) PostMessage(W->Handle, WM_CLOSE, 0, 0);
}

// ---- events ----------------------------------------------------------------------------------------------
void TX11Backend::HandleEvent(XEvent& E)
{
    if (RandrEvent >= 0 && E.type == RandrEvent + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&E);
        MonitorsValid = false;
        NotifyDisplayChange(DefaultDepth(Dpy, Scr));
        return;
    }
    if (FixesEvent >= 0 && E.type == FixesEvent + XFixesSelectionNotify) {
        CompositorKnown = -1;
        auto Tops = State().Tops;
        for (TWindow* T : Tops)
            if (T->ExStyle & WS_EX_LAYERED) SetTopOpacity(T);
        return;
    }
    if (E.xany.window == Root) {
        if (E.type == PropertyNotify && E.xproperty.atom == NET_WORKAREA_) MonitorsValid = false;
        return;
    }
    TX11Top* X = nullptr;
    TWindow* W = TopByXWindow(E.xany.window, &X);
    if (E.type == MappingNotify) {
        XRefreshKeyboardMapping(&E.xmapping);
        return;
    }
    if (!W) {
        // A native child uncovered: its host window is painted (client coordinates).
        if (E.type == Expose)
            if (TWindow* C = HostOfNativeChild(E.xany.window)) {
                const TRect R = Bounds(E.xexpose.x, E.xexpose.y, E.xexpose.width, E.xexpose.height);
                InvalidateRect(C->Handle, &R, false);
            }
        return;
    }
    HWND H = W->Handle;
    switch (E.type) {
    case Expose:
        PutPixels(W, Bounds(E.xexpose.x, E.xexpose.y, E.xexpose.width, E.xexpose.height));
        break;
    case ConfigureNotify: NativeConfigure(W, X, E.xconfigure); break;
    case MapNotify: NativeMapChange(W, X, true); break;
    case UnmapNotify: NativeMapChange(W, X, false); break;
    case ReparentNotify:
        if (E.xreparent.window == X->Win) X->Reparented = E.xreparent.parent != Root;
        break;
    case DestroyNotify:
        if (E.xdestroywindow.window == X->Win) NativeDestroyed(W, X);
        break;
    case FocusIn:
        if (E.xfocus.mode == NotifyGrab || E.xfocus.mode == NotifyUngrab || E.xfocus.detail == NotifyPointer) break;
        if (FocusLost == H) FocusLost = nullptr;
        if (X->Ic) XSetICFocus(X->Ic);
        SyncModifiers();
        FocusLost = nullptr;  // it moved between two of our windows
        NativeFocusChanged(H, true);
        break;
    case FocusOut:
        if (E.xfocus.mode == NotifyGrab || E.xfocus.mode == NotifyUngrab || E.xfocus.detail == NotifyPointer ||
            E.xfocus.detail == NotifyInferior)
            break;
        if (X->Ic) XUnsetICFocus(X->Ic);
        FocusLost = H;  // answered at the end of the batch, unless the focus comes back
        break;
    case ButtonPress:
    case ButtonRelease: {
        TInputEvent In;
        In.Top = H;
        In.Time = DWORD(E.xbutton.time);
        In.Screen = {E.xbutton.x_root, E.xbutton.y_root};
        unsigned B = E.xbutton.button;
        if (B == 4 || B == 5) {
            if (E.type == ButtonRelease) break;
            In.Kind = TInputKind::Wheel;
            In.Delta = B == 4 ? 120 : -120;
        } else if (B >= 1 && B <= 3) {
            In.Kind = E.type == ButtonPress ? TInputKind::ButtonDown : TInputKind::ButtonUp;
            In.Button = B == 1 ? 1 : B == 2 ? 3 : 2;  // X's middle is 2, its right is 3
        } else {
            break;
        }
        QueueInput(In);
        break;
    }
    case MotionNotify: {
        // only the latest of a run of moves matters
        XEvent Next;
        while (XCheckTypedWindowEvent(Dpy, E.xany.window, MotionNotify, &Next)) E = Next;
        TInputEvent In;
        In.Top = H;
        In.Kind = TInputKind::MouseMove;
        In.Time = DWORD(E.xmotion.time);
        In.Screen = {E.xmotion.x_root, E.xmotion.y_root};
        QueueInput(In);
        break;
    }
    case EnterNotify:
    case LeaveNotify: {
        const XCrossingEvent& C = E.xcrossing;
        if (C.mode != NotifyNormal || C.detail == NotifyInferior) break;
        TInputEvent In;
        In.Top = H;
        In.Time = DWORD(C.time);
        In.Screen = {C.x_root, C.y_root};
        In.Kind = E.type == EnterNotify ? TInputKind::MouseMove : TInputKind::PointerLeft;
        QueueInput(In);
        break;
    }
    case KeyPress:
    case KeyRelease: HandleKey(E.xkey, W, X); break;
    case ClientMessage:
        if (E.xclient.message_type == WM_PROTOCOLS_ && Atom(E.xclient.data.l[0]) == WM_DELETE_WINDOW_)
            PostMessage(H, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

void TX11Backend::Poll()
{
    if (Polling) return;  // a handler's own message loop: the outer pass goes on reading
    Polling = true;
    struct TDone {
        bool& F;
        ~TDone() { F = false; }
    } Done{Polling};
    while (XPending(Dpy)) {
        XEvent E;
        XNextEvent(Dpy, &E);
        if (XFilterEvent(&E, 0)) continue;  // the input method's own events
        HandleEvent(E);
    }
    if (FocusLost) {
        HWND H = FocusLost;
        FocusLost = nullptr;
        // the focus left for another program's window (or for nobody)
        ::Window F = 0;
        int Revert;
        XGetInputFocus(Dpy, &F, &Revert);
        if (!TopByXWindow(F)) NativeFocusChanged(H, false);
    }
    XFlush(Dpy);
}

void TX11Backend::Wait(int TimeoutMs, const std::vector<int>& WakeFds)
{
    KeepDisplayLostHandler();
    XFlush(Dpy);
    if (XPending(Dpy)) {
        Poll();
        return;
    }
    std::vector<pollfd> P;
    P.push_back({ConnectionNumber(Dpy), POLLIN, 0});
    for (int Fd : WakeFds) P.push_back({Fd, POLLIN, 0});
    poll(P.data(), nfds_t(P.size()), TimeoutMs);
    Poll();
}

}  // namespace x11impl
