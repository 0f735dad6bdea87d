// The X11 backend: one X window per top-level window, the back buffer put on it with
// XPutImage, window-manager hints (undecorated frames, fixed sizes, dialogs, stay on
// top), override-redirect popups, shapes, opacity and per-pixel alpha, native child
// windows for foreign clients, pointer grabs and focus.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "platform/system/Threads.h"

#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/X11Impl.h"

#include <X11/XKBlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

using namespace winimpl;

namespace x11impl {

namespace {
int ErrorCount = 0;
int IgnoreErrors(Display*, XErrorEvent*)
{
    ++ErrorCount;
    return 0;
}

// Window-manager hints of the Motif kind: only the decorations field is used.
struct TMotifHints {
    unsigned long Flags, Functions, Decorations;
    long InputMode;
    unsigned long State;
};
constexpr unsigned long MWM_HINTS_DECORATIONS = 2;
}  // namespace

int X11ErrorCount() { return ErrorCount; }

namespace {

std::function<void()>& DisplayLostHandler()
{
    static std::function<void()> Handler;
    return Handler;
}

void ReportDisplayLost()
{
    std::fprintf(stderr, "%s: lost the connection to the X display\n", program_invocation_short_name);
}

// The connection to a display broke (ours, or the one the video player's library opened
// on the same server).  Xlib must not go on after this handler, and its default ends the
// process with exit() from whichever thread hit the loss, running the static destructors
// under the feet of the other threads.  So the GUI thread runs the program's handler and
// ends the process itself; any other thread waits for that.
int DisplayLost(Display*)
{
    static std::once_flag Watchdog;
    std::call_once(Watchdog, [] {
        ReportDisplayLost();
        std::thread([] {
            std::this_thread::sleep_for(std::chrono::seconds(5));
            _exit(1);
        }).detach();
    });
    if (!IsMainThread())
        for (;;) pause();
    static bool Ending = false;
    if (!Ending) {
        Ending = true;  // the handler itself meeting the loss again ends at once
        if (DisplayLostHandler()) {
            try {
                DisplayLostHandler()();
            } catch (...) {
            }
        }
    }
    _exit(1);
}

}  // namespace

void KeepDisplayLostHandler() { XSetIOErrorHandler(DisplayLost); }

TX11Backend::TX11Backend(Display* D) : Dpy(D)
{
    XSetErrorHandler(IgnoreErrors);
    XSetIOErrorHandler(DisplayLost);
    Scr = DefaultScreen(Dpy);
    Root = RootWindow(Dpy, Scr);
    struct {
        Atom* Target;
        const char* Name;
    } Names[] = {
        {&WM_PROTOCOLS_, "WM_PROTOCOLS"}, {&WM_DELETE_WINDOW_, "WM_DELETE_WINDOW"}, {&WM_STATE_, "WM_STATE"},
        {&MOTIF_WM_HINTS_, "_MOTIF_WM_HINTS"}, {&NET_WM_NAME_, "_NET_WM_NAME"}, {&UTF8_STRING_, "UTF8_STRING"},
        {&NET_WM_WINDOW_TYPE_, "_NET_WM_WINDOW_TYPE"}, {&NET_WM_WINDOW_TYPE_NORMAL_, "_NET_WM_WINDOW_TYPE_NORMAL"},
        {&NET_WM_WINDOW_TYPE_DIALOG_, "_NET_WM_WINDOW_TYPE_DIALOG"},
        {&NET_WM_WINDOW_TYPE_POPUP_MENU_, "_NET_WM_WINDOW_TYPE_POPUP_MENU"}, {&NET_WM_STATE_, "_NET_WM_STATE"},
        {&NET_WM_STATE_ABOVE_, "_NET_WM_STATE_ABOVE"}, {&NET_WM_STATE_SKIP_TASKBAR_, "_NET_WM_STATE_SKIP_TASKBAR"},
        {&NET_WM_STATE_HIDDEN_, "_NET_WM_STATE_HIDDEN"}, {&NET_WM_WINDOW_OPACITY_, "_NET_WM_WINDOW_OPACITY"},
        {&NET_ACTIVE_WINDOW_, "_NET_ACTIVE_WINDOW"}, {&NET_WORKAREA_, "_NET_WORKAREA"},
        {&NET_SUPPORTING_WM_CHECK_, "_NET_SUPPORTING_WM_CHECK"}, {&NET_WM_PID_, "_NET_WM_PID"},
    };
    for (auto& N : Names) *N.Target = XInternAtom(Dpy, N.Name, False);
    String Cm = "_NET_WM_CM_S" + std::to_string(Scr);
    CM_SELECTION_ = XInternAtom(Dpy, Cm.c_str(), False);

    XVisualInfo VI;
    if (XMatchVisualInfo(Dpy, Scr, 32, TrueColor, &VI)) ArgbVisual = VI.visual;
    int EvBase = 0, ErrBase = 0;
    ShapeExt = XShapeQueryExtension(Dpy, &EvBase, &ErrBase);
    if (XRRQueryExtension(Dpy, &EvBase, &ErrBase)) {
        RandrEvent = EvBase;
        XRRSelectInput(Dpy, Root, RRScreenChangeNotifyMask);
    }
    if (XFixesQueryExtension(Dpy, &EvBase, &ErrBase)) {
        FixesEvent = EvBase;
        XFixesSelectSelectionInput(Dpy, Root, CM_SELECTION_,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    }
    XSelectInput(Dpy, Root, PropertyChangeMask);
    XkbSetDetectableAutoRepeat(Dpy, True, nullptr);
    OpenInputMethod();
    XFlush(Dpy);
}

TX11Backend::~TX11Backend()
{
    for (TWindow* T : State().Tops)
        if (TX11Top* X = Top(T)) {
            DestroyXWindow(X);
            T->Native.reset();
        }
    for (auto& C : Cursors) XFreeCursor(Dpy, C.second);
    if (Im) XCloseIM(Im);
    XCloseDisplay(Dpy);
}

TX11Top* TX11Backend::Top(TWindow* W) const { return W ? dynamic_cast<TX11Top*>(W->Native.get()) : nullptr; }

// ---- making and destroying X windows ------------------------------------------------------------------
bool TX11Backend::WantsArgb(TWindow* W)
{
    if (!ArgbVisual || !(W->ExStyle & WS_EX_LAYERED) || !Compositing()) return false;
    return W->PerPixelLayered || W->IsPopup();
}

void TX11Backend::MakeXWindow(TWindow* W, TX11Top* X)
{
    XSetWindowAttributes A{};
    unsigned long Mask = CWOverrideRedirect | CWBitGravity | CWEventMask | CWBackPixmap | CWBorderPixel;
    A.override_redirect = X->OverrideRedirect ? True : False;
    A.bit_gravity = NorthWestGravity;
    A.background_pixmap = 0;  // no background: the back buffer is put on every expose
    A.border_pixel = 0;
    A.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                   EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                   PropertyChangeMask;
    Visual* V = CopyFromParent;
    int Depth = CopyFromParent;
    if (X->Argb) {
        V = ArgbVisual;
        Depth = 32;
        X->OwnColormap = XCreateColormap(Dpy, Root, ArgbVisual, AllocNone);
        A.colormap = X->OwnColormap;
        Mask |= CWColormap;
    }
    X->Win = XCreateWindow(Dpy, Root, W->Rect.Left, W->Rect.Top, unsigned(std::max(1, W->Width())),
                           unsigned(std::max(1, W->Height())), 0, Depth, InputOutput, V, Mask, &A);
    X->Gc = XCreateGC(Dpy, X->Win, 0, nullptr);
    X->MapRequested = X->Viewable = false;
    XSetWMProtocols(Dpy, X->Win, &WM_DELETE_WINDOW_, 1);
    long Pid = long(getpid());
    XChangeProperty(Dpy, X->Win, NET_WM_PID_, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&Pid), 1);
    XClassHint Class;
    String ResName = W->Class ? W->Class->Name : String("window");
    Class.res_name = ResName.data();
    Class.res_class = const_cast<char*>("VideoConverter");
    XSetClassHint(Dpy, X->Win, &Class);
    if (!X->OverrideRedirect) MakeInputContext(X);
    SetTopTitle(W);
    ApplyHints(W);
    ApplyShape(W);
    if (W->ExStyle & WS_EX_LAYERED) SetTopOpacity(W);
    if (X->CursorId) {
        int Id = X->CursorId;
        X->CursorId = 0;
        SetCursorShape(W, HCURSOR(intptr_t(Id)));
    }
}

void TX11Backend::DestroyXWindow(TX11Top* X)
{
    if (!X->Win) return;
    if (Grab == X->Win) {
        XUngrabPointer(Dpy, CurrentTime);
        Grab = 0;
    }
    if (X->Ic) XDestroyIC(X->Ic);
    X->Ic = nullptr;
    XFreeGC(Dpy, X->Gc);
    XDestroyWindow(Dpy, X->Win);
    if (X->OwnColormap) XFreeColormap(Dpy, X->OwnColormap);
    X->OwnColormap = 0;
    X->Win = 0;
    XFlush(Dpy);
}

void TX11Backend::CreateTop(TWindow* W)
{
    auto X = std::make_unique<TX11Top>();
    X->OverrideRedirect = W->IsPopup();
    X->Argb = WantsArgb(W);
    TX11Top* P = X.get();
    W->Native = std::move(X);
    MakeXWindow(W, P);
}

void TX11Backend::DestroyTop(TWindow* W)
{
    if (TX11Top* X = Top(W)) DestroyXWindow(X);
    W->Native.reset();
}

// A layered popup or a per-pixel window needs the 32-bit visual, and the visual of an
// X window cannot change: such a change makes the window anew.
void TX11Backend::RecreateIfVisualChanged(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || WantsArgb(W) == X->Argb) return;
    bool Mapped = X->MapRequested;
    DestroyXWindow(X);
    X->Argb = !X->Argb;
    MakeXWindow(W, X);
    for (HWND H : NativeChildrenOf(W)) {
        TWindow* C = Find(H);
        C->NativeChild = 0;
        C->NativeChild = CreateNativeChild(C);
    }
    if (Mapped) ShowTop(W, true, false);
}

// ---- hints --------------------------------------------------------------------------------------------
static bool Decorated(TWindow* W) { return (W->Style & WS_CAPTION) == WS_CAPTION && !W->SelfFramed; }

// The window manager may not size a window whose frame the program draws, or one
// without a sizing border: its minimum and maximum size are its size.
static bool FixedSize(TWindow* W) { return !Decorated(W) || !(W->Style & WS_THICKFRAME); }

static void SetSizeHints(Display* D, ::Window Win, TWindow* W)
{
    XSizeHints* H = XAllocSizeHints();
    H->flags = USPosition | USSize | PWinGravity;
    H->x = W->Rect.Left;
    H->y = W->Rect.Top;
    H->width = std::max(1, W->Width());
    H->height = std::max(1, W->Height());
    H->win_gravity = StaticGravity;
    if (FixedSize(W)) {
        H->flags |= PMinSize | PMaxSize;
        H->min_width = H->max_width = H->width;
        H->min_height = H->max_height = H->height;
    }
    XSetWMNormalHints(D, Win, H);
    XFree(H);
}

void TX11Backend::ApplyHints(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    if (X->OverrideRedirect) {
        Atom T = NET_WM_WINDOW_TYPE_POPUP_MENU_;
        XChangeProperty(Dpy, X->Win, NET_WM_WINDOW_TYPE_, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&T), 1);
        return;
    }
    SetSizeHints(Dpy, X->Win, W);
    TMotifHints M{MWM_HINTS_DECORATIONS, 0, Decorated(W) ? 1ul : 0ul, 0, 0};
    XChangeProperty(Dpy, X->Win, MOTIF_WM_HINTS_, MOTIF_WM_HINTS_, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&M), 5);
    XWMHints* H = XAllocWMHints();
    H->flags = InputHint | StateHint;
    H->input = True;
    H->initial_state = W->Minimized ? IconicState : NormalState;
    XSetWMHints(Dpy, X->Win, H);
    XFree(H);
    TX11Top* Owner = W->Owner ? Top(W->Owner) : nullptr;
    if (Owner && Owner->Win) XSetTransientForHint(Dpy, X->Win, Owner->Win);
    else XDeleteProperty(Dpy, X->Win, XA_WM_TRANSIENT_FOR);
    Atom Type = Owner ? NET_WM_WINDOW_TYPE_DIALOG_ : NET_WM_WINDOW_TYPE_NORMAL_;
    XChangeProperty(Dpy, X->Win, NET_WM_WINDOW_TYPE_, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&Type), 1);
    bool OnTop = W->ExStyle & WS_EX_TOPMOST;
    bool SkipTaskbar = (W->ExStyle & WS_EX_TOOLWINDOW) || (W->Owner && !(W->ExStyle & WS_EX_APPWINDOW));
    if (X->MapRequested) {
        // a mapped window's state belongs to the window manager: ask it
        ApplyNetState(W, NET_WM_STATE_ABOVE_, OnTop);
        ApplyNetState(W, NET_WM_STATE_SKIP_TASKBAR_, SkipTaskbar);
    } else {
        std::vector<Atom> S;
        if (OnTop) S.push_back(NET_WM_STATE_ABOVE_);
        if (SkipTaskbar) S.push_back(NET_WM_STATE_SKIP_TASKBAR_);
        XChangeProperty(Dpy, X->Win, NET_WM_STATE_, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(S.data()), int(S.size()));
    }
}

void TX11Backend::ApplyNetState(TWindow* W, Atom StateAtom, bool On)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || X->OverrideRedirect) return;
    SendToWindowManager(X->Win, NET_WM_STATE_, On ? 1 : 0, long(StateAtom), 0, 1);
    // without a window manager nobody answers: keep the property right ourselves
    if (!WindowManagerRuns()) {
        std::vector<Atom> S;
        for (long A : ReadProperty32(X->Win, NET_WM_STATE_, XA_ATOM, 64))
            if (Atom(A) != StateAtom) S.push_back(Atom(A));
        if (On) S.push_back(StateAtom);
        XChangeProperty(Dpy, X->Win, NET_WM_STATE_, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(S.data()), int(S.size()));
    }
}

std::vector<long> TX11Backend::ReadProperty32(::Window Win, Atom Property, Atom Type, long Max)
{
    Atom Got;
    int Format = 0;
    unsigned long N = 0, After;
    unsigned char* Data = nullptr;
    std::vector<long> R;
    if (XGetWindowProperty(Dpy, Win, Property, 0, Max, False, Type, &Got, &Format, &N, &After, &Data) == Success && Data) {
        if (Format == 32) R.assign(reinterpret_cast<long*>(Data), reinterpret_cast<long*>(Data) + N);
        XFree(Data);
    }
    return R;
}

void TX11Backend::SendToWindowManager(::Window Win, Atom Type, long L0, long L1, long L2, long L3)
{
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Win;
    E.xclient.message_type = Type;
    E.xclient.format = 32;
    E.xclient.data.l[0] = L0;
    E.xclient.data.l[1] = L1;
    E.xclient.data.l[2] = L2;
    E.xclient.data.l[3] = L3;
    XSendEvent(Dpy, Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &E);
}

void TX11Backend::SetTopTitle(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    XChangeProperty(Dpy, X->Win, NET_WM_NAME_, UTF8_STRING_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(W->Text.data()), int(W->Text.size()));
    Xutf8SetWMProperties(Dpy, X->Win, W->Text.c_str(), W->Text.c_str(), nullptr, 0, nullptr, nullptr, nullptr);
}

void TX11Backend::SetTopStyle(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    bool Popup = W->IsPopup();
    if (Popup != X->OverrideRedirect) {
        bool Mapped = X->MapRequested;
        if (Mapped) XUnmapWindow(Dpy, X->Win);
        X->OverrideRedirect = Popup;
        X->MapRequested = X->Viewable = false;
        XSetWindowAttributes A{};
        A.override_redirect = Popup ? True : False;
        XChangeWindowAttributes(Dpy, X->Win, CWOverrideRedirect, &A);
        if (!Popup && !X->Ic) MakeInputContext(X);
        ApplyHints(W);
        if (Mapped) ShowTop(W, true, false);
        return;
    }
    ApplyHints(W);
    XFlush(Dpy);
}

// ---- showing, moving, stacking -------------------------------------------------------------------------
void TX11Backend::ShowTop(TWindow* W, bool Show, bool Activate)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    if (Show) {
        if (!X->MapRequested) {
            ApplyHints(W);
            MarkWholeDirty(W);
            X->MapRequested = true;
            if (W->Minimized && !X->OverrideRedirect && !WindowManagerRuns()) {
                // no window manager to keep it as an icon: it stays unmapped
            } else {
                XMapRaised(Dpy, X->Win);
                ++X->OwnMaps;
            }
        }
        if (Activate && !X->OverrideRedirect) FocusTop(W);
    } else if (X->MapRequested) {
        X->MapRequested = false;
        X->WantFocus = false;
        if (X->OverrideRedirect) XUnmapWindow(Dpy, X->Win);
        else XWithdrawWindow(Dpy, X->Win, Scr);
    }
    XFlush(Dpy);
}

void TX11Backend::MoveTop(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    if (Following == W) return;  // the change came from the server
    if (!X->OverrideRedirect) SetSizeHints(Dpy, X->Win, W);  // the fixed size goes with the new size
    XMoveResizeWindow(Dpy, X->Win, W->Rect.Left, W->Rect.Top, unsigned(std::max(1, W->Width())),
                      unsigned(std::max(1, W->Height())));
    X->PendingConfigures.push_back(Bounds(W->Rect.Left, W->Rect.Top, std::max(1, W->Width()), std::max(1, W->Height())));
    if (X->PendingConfigures.size() > 32) X->PendingConfigures.pop_front();
    XFlush(Dpy);
}

void TX11Backend::RestackTop(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    auto& Tops = State().Tops;
    auto It = std::find(Tops.begin(), Tops.end(), W);
    if (It == Tops.end()) return;
    // the nearest of our mapped windows in front of W
    TX11Top* Front = nullptr;
    for (auto J = std::make_reverse_iterator(It); J != Tops.rend(); ++J) {
        TX11Top* F = Top(*J);
        if (F && F->Win && F->MapRequested) {
            Front = F;
            break;
        }
    }
    if (!Front) {
        XRaiseWindow(Dpy, X->Win);
    } else {
        XWindowChanges C{};
        C.sibling = Front->Win;
        C.stack_mode = Below;
        XReconfigureWMWindow(Dpy, X->Win, Scr, CWSibling | CWStackMode, &C);
    }
    if (!X->OverrideRedirect && X->MapRequested) ApplyNetState(W, NET_WM_STATE_ABOVE_, W->ExStyle & WS_EX_TOPMOST);
    XFlush(Dpy);
}

void TX11Backend::IconifyTop(TWindow* W, bool Iconify)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    if (!X->MapRequested) return;  // shown later, as an icon or not (WM_HINTS)
    if (X->OverrideRedirect || !WindowManagerRuns()) {
        // nobody keeps icons: an iconified window is simply not on the screen
        if (Iconify) {
            XUnmapWindow(Dpy, X->Win);
        } else {
            XMapRaised(Dpy, X->Win);
            ++X->OwnMaps;
        }
    } else if (Iconify) {
        X->IconifyRequested = true;
        XIconifyWindow(Dpy, X->Win, Scr);
    } else {
        X->IconifyRequested = false;
        XMapRaised(Dpy, X->Win);
        ++X->OwnMaps;
        ActivateForeign(W);
    }
    XFlush(Dpy);
}

void TX11Backend::FocusTop(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || X->OverrideRedirect) return;
    if (!X->Viewable) {
        X->WantFocus = true;
        return;
    }
    X->WantFocus = false;
    XSetInputFocus(Dpy, X->Win, RevertToParent, CurrentTime);
    if (X->Ic) XSetICFocus(X->Ic);
    XFlush(Dpy);
}

void TX11Backend::ActivateForeign(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || X->OverrideRedirect) return;
    SendToWindowManager(X->Win, NET_ACTIVE_WINDOW_, 1 /* from an application */, CurrentTime);
    XFlush(Dpy);
}

// ---- shapes and alpha --------------------------------------------------------------------------------
void TX11Backend::ApplyShape(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || !ShapeExt) return;
    std::vector<XRectangle> Rects;
    bool Shaped = false;
    if (W->Shape) {
        if (const TRegion* R = GetRegionOf(W->Shape)) {
            Shaped = true;
            for (const TRect& Rc : R->Rects())
                Rects.push_back({short(Rc.Left), short(Rc.Top), (unsigned short)Rc.Width(), (unsigned short)Rc.Height()});
        }
    }
    // a per-pixel window with nobody to blend it: the pixels with alpha make its shape
    if (W->PerPixelLayered && !X->Argb && W->Buffer) {
        TRegion A;
        auto& B = *W->Buffer;
        for (int Y = 0; Y < B.Height(); ++Y) {
            const uint32_t* Row = B.Row32(Y);
            for (int X0 = 0; X0 < B.Width();) {
                while (X0 < B.Width() && !(Row[X0] >> 24)) ++X0;
                int X1 = X0;
                while (X1 < B.Width() && (Row[X1] >> 24)) ++X1;
                if (X1 > X0) A |= TRegion(TRect(X0, Y, X1, Y + 1));
                X0 = X1;
            }
        }
        if (Shaped) {
            TRegion S;
            for (auto& R : Rects) S |= TRegion(Bounds(R.x, R.y, R.width, R.height));
            A &= S;
        }
        Rects.clear();
        for (const TRect& Rc : A.Rects())
            Rects.push_back({short(Rc.Left), short(Rc.Top), (unsigned short)Rc.Width(), (unsigned short)Rc.Height()});
        Shaped = true;
    }
    if (Shaped) {
        XShapeCombineRectangles(Dpy, X->Win, ShapeBounding, 0, 0, Rects.data(), int(Rects.size()), ShapeSet, Unsorted);
        XShapeCombineRectangles(Dpy, X->Win, ShapeInput, 0, 0, Rects.data(), int(Rects.size()), ShapeSet, Unsorted);
    } else {
        XShapeCombineMask(Dpy, X->Win, ShapeBounding, 0, 0, 0, ShapeSet);
        XShapeCombineMask(Dpy, X->Win, ShapeInput, 0, 0, 0, ShapeSet);
    }
    XFlush(Dpy);
}

void TX11Backend::SetTopShape(TWindow* W) { ApplyShape(W); }

void TX11Backend::SetTopOpacity(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win) return;
    RecreateIfVisualChanged(W);
    X = Top(W);
    bool Layered = W->ExStyle & WS_EX_LAYERED;
    // a managed window fades through the compositor's opacity property
    if (Layered && !X->Argb && W->LayeredAlpha < 255 && !W->PerPixelLayered) {
        unsigned long Op = (unsigned long)(W->LayeredAlpha) * 0xFFFFFFFFul / 255ul;
        XChangeProperty(Dpy, X->Win, NET_WM_WINDOW_OPACITY_, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&Op), 1);
    } else {
        XDeleteProperty(Dpy, X->Win, NET_WM_WINDOW_OPACITY_);
    }
    if (W->PerPixelLayered) ApplyShape(W);
    MarkWholeDirty(W);
    Present(W, {0, 0, W->Width(), W->Height()});
}

// ---- presenting ---------------------------------------------------------------------------------------
void TX11Backend::MarkWholeDirty(TWindow* W)
{
    if (W->Buffer) W->Dirty = W->Buffer->Bounds();
}

void TX11Backend::PutPixels(TWindow* W, const TRect& Area)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || !W->Buffer || !X->MapRequested) return;
    TSurface& B = *W->Buffer;
    TRect R{std::max(0, Area.Left), std::max(0, Area.Top), std::min(B.Width(), Area.Right),
            std::min(B.Height(), Area.Bottom)};
    if (R.IsEmpty()) return;
    Visual* V = X->Argb ? ArgbVisual : DefaultVisual(Dpy, Scr);
    int Depth = X->Argb ? 32 : DefaultDepth(Dpy, Scr);
    bool Plain = V->red_mask == 0xFF0000 && V->green_mask == 0xFF00 && V->blue_mask == 0xFF;
    if (Plain && !X->Argb) {
        // the back buffer is already B, G, R, x in memory: put it as it lies
        XImage* I = XCreateImage(Dpy, V, unsigned(Depth), ZPixmap, 0, reinterpret_cast<char*>(B.Bits()),
                                 unsigned(B.Width()), unsigned(B.Height()), 32, B.Stride());
        if (I && I->bits_per_pixel == 32 && I->byte_order == LSBFirst) {
            XPutImage(Dpy, X->Win, X->Gc, I, R.Left, R.Top, R.Left, R.Top, unsigned(R.Width()), unsigned(R.Height()));
            I->data = nullptr;
            XDestroyImage(I);
            return;
        }
        if (I) {
            I->data = nullptr;
            XDestroyImage(I);
        }
    }
    // converted pixels: premultiplied alpha for the 32-bit visual, or another pixel layout
    int Wd = R.Width(), Ht = R.Height();
    XImage* I = XCreateImage(Dpy, V, unsigned(Depth), ZPixmap, 0, nullptr, unsigned(Wd), unsigned(Ht), 32, 0);
    if (!I) return;
    I->data = static_cast<char*>(std::malloc(size_t(I->bytes_per_line) * size_t(Ht)));
    if (!I->data) {
        XDestroyImage(I);
        return;
    }
    auto Shift = [](unsigned long Mask) {
        int S = 0;
        while (Mask && !(Mask & 1)) Mask >>= 1, ++S;
        return S;
    };
    int Rs = Shift(V->red_mask), Gs = Shift(V->green_mask), Bs = Shift(V->blue_mask);
    unsigned long AlphaMask = X->Argb ? ~(V->red_mask | V->green_mask | V->blue_mask) & 0xFFFFFFFFul : 0;
    int As = Shift(AlphaMask);
    unsigned A0 = W->LayeredAlpha;
    for (int Y = 0; Y < Ht; ++Y) {
        const uint32_t* Row = B.Row32(R.Top + Y) + R.Left;
        for (int Xx = 0; Xx < Wd; ++Xx) {
            uint32_t P = Row[Xx];
            unsigned Rr = (P >> 16) & 0xFF, Gg = (P >> 8) & 0xFF, Bb = P & 0xFF, Aa = 255;
            if (X->Argb) {
                if (W->PerPixelLayered) {
                    Aa = P >> 24;  // already premultiplied
                    if (A0 < 255) Rr = Rr * A0 / 255, Gg = Gg * A0 / 255, Bb = Bb * A0 / 255, Aa = Aa * A0 / 255;
                } else {
                    Aa = A0;
                    Rr = Rr * A0 / 255, Gg = Gg * A0 / 255, Bb = Bb * A0 / 255;
                }
            }
            unsigned long Pix = ((unsigned long)Rr << Rs & V->red_mask) | ((unsigned long)Gg << Gs & V->green_mask) |
                                ((unsigned long)Bb << Bs & V->blue_mask);
            if (AlphaMask) Pix |= ((unsigned long)Aa << As) & AlphaMask;
            XPutPixel(I, Xx, Y, Pix);
        }
    }
    XPutImage(Dpy, X->Win, X->Gc, I, 0, 0, R.Left, R.Top, unsigned(Wd), unsigned(Ht));
    XDestroyImage(I);
}

void TX11Backend::Present(TWindow* W, const TRect& R)
{
    PutPixels(W, R);
    XFlush(Dpy);
}

// ---- native children ----------------------------------------------------------------------------------
uintptr_t TX11Backend::CreateNativeChild(TWindow* W)
{
    TX11Top* X = Top(TopOf(W));
    if (!X || !X->Win) return 0;
    XSetWindowAttributes A{};
    A.background_pixel = BlackPixel(Dpy, Scr);
    A.border_pixel = 0;
    A.colormap = DefaultColormap(Dpy, Scr);
    // Only exposures are selected: presses and moves pass up to the top-level, so that a
    // client embedded here may select whatever it needs (only one client may take
    // presses).  An exposure (a window that covered it went away) asks the host window to
    // be painted, so that the client draws its picture there again.
    A.event_mask = ExposureMask;
    ::Window C = XCreateWindow(Dpy, X->Win, 0, 0, 1, 1, 0, DefaultDepth(Dpy, Scr), InputOutput, DefaultVisual(Dpy, Scr),
                               CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &A);
    W->NativeChild = uintptr_t(C);
    UpdateNativeChild(W);
    XSync(Dpy, False);
    return uintptr_t(C);
}

void TX11Backend::UpdateNativeChild(TWindow* W)
{
    if (!W->NativeChild) return;
    TPoint O = WindowOrigin(W);
    ::Window C = ::Window(W->NativeChild);
    TX11Top* X = Top(TopOf(W));
    if (!X || !X->Win) return;
    ::Window& Parent = NativeParents[W->NativeChild];
    if (Parent && Parent != X->Win) XReparentWindow(Dpy, C, X->Win, 0, 0);  // moved to another top-level
    Parent = X->Win;
    bool Show = IsVisibleChain(W) && W->Client.Width() > 0 && W->Client.Height() > 0;
    XMoveResizeWindow(Dpy, C, O.X + W->Client.Left, O.Y + W->Client.Top, unsigned(std::max(1, W->Client.Width())),
                      unsigned(std::max(1, W->Client.Height())));
    if (Show) XMapWindow(Dpy, C);
    else XUnmapWindow(Dpy, C);
    XFlush(Dpy);
}

TWindow* TX11Backend::HostOfNativeChild(::Window Win) const
{
    if (!NativeChildCount) return nullptr;
    for (TWindow* T : State().Tops)
        for (HWND H : NativeChildrenOf(T))
            if (TWindow* C = Find(H); C && C->NativeChild == uintptr_t(Win)) return C;
    return nullptr;
}

void TX11Backend::DestroyNativeChild(TWindow* W)
{
    if (!W->NativeChild) return;
    XDestroyWindow(Dpy, ::Window(W->NativeChild));
    NativeParents.erase(W->NativeChild);
    W->NativeChild = 0;
    XFlush(Dpy);
}

uintptr_t TX11Backend::NativeTopId(TWindow* W)
{
    TX11Top* X = Top(W);
    return X ? uintptr_t(X->Win) : 0;
}

// ---- the pointer ----------------------------------------------------------------------------------------
void TX11Backend::GrabPointer(TWindow* W)
{
    TX11Top* X = Top(W);
    if (!X || !X->Win || !X->Viewable) return;
    if (XGrabPointer(Dpy, X->Win, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, 0, 0, CurrentTime) == GrabSuccess)
        Grab = X->Win;
    XFlush(Dpy);
}

void TX11Backend::UngrabPointer()
{
    if (!Grab) return;
    XUngrabPointer(Dpy, CurrentTime);
    Grab = 0;
    XFlush(Dpy);
}

bool TX11Backend::QueryPointer(TPoint& Screen)
{
    ::Window RootRet, Child;
    int Rx, Ry, Wx, Wy;
    unsigned Mask;
    if (!XQueryPointer(Dpy, Root, &RootRet, &Child, &Rx, &Ry, &Wx, &Wy, &Mask)) return false;
    Screen = {Rx, Ry};
    return true;
}

void TX11Backend::WarpPointer(TPoint P)
{
    XWarpPointer(Dpy, 0, Root, 0, 0, 0, 0, P.X, P.Y);
    XFlush(Dpy);
}

}  // namespace x11impl

std::unique_ptr<TWindowBackend> MakeX11Backend()
{
    XInitThreads();
    Display* D = XOpenDisplay(nullptr);
    if (!D) return nullptr;
    return std::make_unique<x11impl::TX11Backend>(D);
}

bool InstallX11Backend()
{
    auto B = MakeX11Backend();
    if (!B) return false;
    for (TWindow* T : State().Tops) {
        if (BackendInstalled() && T->Native) Backend().DestroyTop(T);
        T->Native.reset();
    }
    SetBackend(std::move(B));
    SetWindowClock({});
    for (TWindow* T : State().Tops) {
        Backend().CreateTop(T);
        if (T->Visible()) Backend().ShowTop(T, true, false);
    }
    return true;
}

void SetDisplayLostHandler(std::function<void()> AHandler) { x11impl::DisplayLostHandler() = std::move(AHandler); }
