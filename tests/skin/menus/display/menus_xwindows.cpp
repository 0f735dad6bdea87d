// The test's own X connection for the menu display test.
#include "menus_xwindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace menusx {
namespace {
Display* D = nullptr;
}

bool Open()
{
    D = XOpenDisplay(nullptr);
    return D != nullptr;
}

void Close()
{
    if (D) XCloseDisplay(D);
    D = nullptr;
}

bool Info(unsigned long Window, TWinInfo& I)
{
    XWindowAttributes A;
    if (!D || !XGetWindowAttributes(D, Window, &A)) return false;
    I.Viewable = A.map_state == IsViewable;
    I.OverrideRedirect = A.override_redirect;
    ::Window Child;
    int X = 0, Y = 0;
    XTranslateCoordinates(D, Window, DefaultRootWindow(D), 0, 0, &X, &Y, &Child);
    I.X = X;
    I.Y = Y;
    I.Width = A.width;
    I.Height = A.height;
    return true;
}

unsigned long Focus()
{
    ::Window W = 0;
    int Revert = 0;
    if (D) XGetInputFocus(D, &W, &Revert);
    return W;
}

unsigned PixelAt(int X, int Y)
{
    if (!D) return 0;
    XImage* Img = XGetImage(D, DefaultRootWindow(D), X, Y, 1, 1, AllPlanes, ZPixmap);
    if (!Img) return 0;
    unsigned long P = XGetPixel(Img, 0, 0);
    XDestroyImage(Img);
    const unsigned R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
    return R | (G << 8) | (B << 16);
}

}  // namespace menusx
