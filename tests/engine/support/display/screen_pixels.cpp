#include "support/display/screen_pixels.h"

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

std::vector<uint32_t> ScreenRect(int X, int Y, int AWidth, int AHeight)
{
    std::vector<uint32_t> Pixels;
    if (!Dpy || AWidth <= 0 || AHeight <= 0) return Pixels;
    XImage* I = XGetImage(Dpy, DefaultRootWindow(Dpy), X, Y, unsigned(AWidth), unsigned(AHeight), AllPlanes, ZPixmap);
    if (!I) return Pixels;
    Pixels.reserve(size_t(AWidth) * size_t(AHeight));
    for (int Row = 0; Row < AHeight; ++Row)
        for (int Col = 0; Col < AWidth; ++Col) Pixels.push_back(uint32_t(XGetPixel(I, Col, Row)) & 0xFFFFFF);
    XDestroyImage(I);
    return Pixels;
}

}  // namespace screentest
