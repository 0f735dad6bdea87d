#include "x_probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

namespace xprobe {

namespace {
Display* D = nullptr;
std::vector<KeyCode> Borrowed;  // spare key codes given a keysym by EnsureKey
Window Root() { return DefaultRootWindow(D); }
TColor ToColor(unsigned long V) { return RGB(int((V >> 16) & 0xFF), int((V >> 8) & 0xFF), int(V & 0xFF)); }
}  // namespace

bool Open()
{
    if (!D) D = XOpenDisplay(nullptr);
    return D != nullptr;
}

void Close()
{
    if (D) {
        for (KeyCode K : Borrowed) {
            KeySym Nothing = NoSymbol;
            XChangeKeyboardMapping(D, K, 1, &Nothing, 1);
        }
        Borrowed.clear();
        XSync(D, False);
    }
    if (D) XCloseDisplay(D);
    D = nullptr;
}

void Sync() { XSync(D, False); }
int ScreenWidth() { return DisplayWidth(D, DefaultScreen(D)); }
int ScreenHeight() { return DisplayHeight(D, DefaultScreen(D)); }

void MoveTo(TPoint P)
{
    XTestFakeMotionEvent(D, -1, P.X, P.Y, 0);
    XSync(D, False);
}

void Button(bool Down, int B)
{
    XTestFakeButtonEvent(D, unsigned(B), Down ? True : False, 0);
    XSync(D, False);
}

void ClickAt(TPoint P)
{
    MoveTo(P);
    Button(true);
    Button(false);
}

void KeyTap(const char* Name)
{
    KeyCode K = XKeysymToKeycode(D, XStringToKeysym(Name));
    XTestFakeKeyEvent(D, K, True, 0);
    XTestFakeKeyEvent(D, K, False, 0);
    XSync(D, False);
}

bool EnsureKey(const char* Name)
{
    KeySym S = XStringToKeysym(Name);
    if (S == NoSymbol) return false;
    if (XKeysymToKeycode(D, S)) return true;
    int Min = 0, Max = 0, Per = 0;
    XDisplayKeycodes(D, &Min, &Max);
    KeySym* Map = XGetKeyboardMapping(D, KeyCode(Min), Max - Min + 1, &Per);
    if (!Map) return false;
    int Free = 0;
    for (int K = Max; K >= Min && !Free; --K) {
        bool Empty = true;
        for (int J = 0; J < Per; ++J) Empty = Empty && Map[(K - Min) * Per + J] == NoSymbol;
        if (Empty) Free = K;
    }
    XFree(Map);
    if (!Free) return false;
    XChangeKeyboardMapping(D, Free, 1, &S, 1);
    XSync(D, False);
    Borrowed.push_back(KeyCode(Free));
    return true;
}

bool Viewable(XId W)
{
    XWindowAttributes A;
    return W && XGetWindowAttributes(D, W, &A) && A.map_state == IsViewable;
}

bool OverrideRedirect(XId W)
{
    XWindowAttributes A;
    return XGetWindowAttributes(D, W, &A) && A.override_redirect;
}

int WindowDepth(XId W)
{
    XWindowAttributes A;
    return XGetWindowAttributes(D, W, &A) ? A.depth : 0;
}

long AllEventMasks(XId W)
{
    XWindowAttributes A;
    return XGetWindowAttributes(D, W, &A) ? A.all_event_masks : 0;
}

bool MasksHavePress(long Masks) { return Masks & ButtonPressMask; }

bool PointerGrabbedElsewhere()
{
    int R = XGrabPointer(D, Root(), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (R == GrabSuccess) XUngrabPointer(D, CurrentTime);
    XSync(D, False);
    return R == AlreadyGrabbed;
}

XId FocusedWindow()
{
    Window F = 0;
    int Revert;
    XGetInputFocus(D, &F, &Revert);
    return F;
}

TRect RootGeometry(XId W)
{
    XWindowAttributes A;
    Window Child;
    int X = 0, Y = 0;
    if (!XGetWindowAttributes(D, W, &A)) return {};
    XTranslateCoordinates(D, W, Root(), 0, 0, &X, &Y, &Child);
    return Bounds(X, Y, A.width, A.height);
}

std::vector<long> Property32(XId W, const char* Property)
{
    Atom Type;
    int Format;
    unsigned long N = 0, After;
    unsigned char* Data = nullptr;
    std::vector<long> R;
    if (XGetWindowProperty(D, W, XInternAtom(D, Property, False), 0, 64, False, AnyPropertyType, &Type, &Format, &N,
                           &After, &Data) == Success && Data) {
        if (Format == 32) R.assign(reinterpret_cast<long*>(Data), reinterpret_cast<long*>(Data) + N);
        XFree(Data);
    }
    return R;
}

bool HasAtom(XId W, const char* Property, const char* Name)
{
    long A = long(XInternAtom(D, Name, False));
    for (long V : Property32(W, Property))
        if (V == A) return true;
    return false;
}

bool SizeHints(XId W, TSizeHints& H)
{
    XSizeHints S;
    long Supplied;
    if (!XGetWMNormalHints(D, W, &S, &Supplied)) return false;
    H.UserPosition = S.flags & USPosition;
    H.UserSize = S.flags & USSize;
    H.MinWidth = S.min_width;
    H.MinHeight = S.min_height;
    H.MaxWidth = S.max_width;
    H.MaxHeight = S.max_height;
    return true;
}

std::vector<TRect> ShapeRects(XId W, bool Input)
{
    int Count = 0, Order = 0;
    std::vector<TRect> R;
    XRectangle* Rs = XShapeGetRectangles(D, W, Input ? ShapeInput : ShapeBounding, &Count, &Order);
    for (int I = 0; I < Count; ++I) R.push_back(Bounds(Rs[I].x, Rs[I].y, Rs[I].width, Rs[I].height));
    if (Rs) XFree(Rs);
    return R;
}

TColor ScreenPixel(TPoint P)
{
    auto V = ScreenPixels(Bounds(P.X, P.Y, 1, 1));
    return V.empty() ? -1 : V[0];
}

std::vector<TColor> ScreenPixels(const TRect& R)
{
    std::vector<TColor> Out;
    XImage* I = XGetImage(D, Root(), R.Left, R.Top, unsigned(R.Width()), unsigned(R.Height()), AllPlanes, ZPixmap);
    if (!I) return Out;
    for (int Y = 0; Y < R.Height(); ++Y)
        for (int X = 0; X < R.Width(); ++X) Out.push_back(ToColor(XGetPixel(I, X, Y)));
    XDestroyImage(I);
    return Out;
}

void MapWindow(XId W)
{
    XMapWindow(D, W);
    XSync(D, False);
}

void RequestClose(XId W)
{
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = W;
    E.xclient.message_type = XInternAtom(D, "WM_PROTOCOLS", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = long(XInternAtom(D, "WM_DELETE_WINDOW", False));
    E.xclient.data.l[1] = CurrentTime;
    XSendEvent(D, W, False, NoEventMask, &E);
    XSync(D, False);
}

XId CreateClient(XId Parent, TRect R)
{
    Window W = XCreateSimpleWindow(D, Parent, R.Left, R.Top, unsigned(R.Width()), unsigned(R.Height()), 0, 0, 0);
    XMapWindow(D, W);
    XSync(D, False);
    return W;
}

void FillClient(XId W, TColor C)
{
    GC G = XCreateGC(D, W, 0, nullptr);
    XSetForeground(D, G, (unsigned long)(GetRValue(C) << 16 | GetGValue(C) << 8 | GetBValue(C)));
    XWindowAttributes A;
    XGetWindowAttributes(D, W, &A);
    XFillRectangle(D, W, G, 0, 0, unsigned(A.width), unsigned(A.height));
    XFreeGC(D, G);
    XSync(D, False);
}

}  // namespace xprobe
