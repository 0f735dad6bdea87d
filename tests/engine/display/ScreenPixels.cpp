#include "ScreenPixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace screentest {

namespace {
Display* Dpy = nullptr;
}

bool OpenScreen()
{
    if (!Dpy) Dpy = XOpenDisplay(nullptr);
    return Dpy != nullptr;
}

void CloseScreen()
{
    if (Dpy) XCloseDisplay(Dpy);
    Dpy = nullptr;
}

uint32_t ScreenPixel(int X, int Y)
{
    if (!Dpy) return 0xFFFFFFFF;
    XImage* I = XGetImage(Dpy, DefaultRootWindow(Dpy), X, Y, 1, 1, AllPlanes, ZPixmap);
    if (!I) return 0xFFFFFFFF;
    auto V = uint32_t(XGetPixel(I, 0, 0)) & 0xFFFFFF;
    XDestroyImage(I);
    return V;
}

}  // namespace screentest
