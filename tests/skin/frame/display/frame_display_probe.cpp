// Screen pixels through Xlib for the form frame's display tests.
#include "frame_display_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace framedisplay {

namespace {
Display* Dpy = nullptr;
}

bool Open()
{
    if (!Dpy) Dpy = XOpenDisplay(nullptr);
    return Dpy != nullptr;
}

void Close()
{
    if (Dpy) XCloseDisplay(Dpy);
    Dpy = nullptr;
}

int64_t ScreenPixel(int X, int Y)
{
    if (!Dpy) return -1;
    XSync(Dpy, False);
    Window Root = DefaultRootWindow(Dpy);
    XImage* I = XGetImage(Dpy, Root, X, Y, 1, 1, AllPlanes, ZPixmap);
    if (!I) return -1;
    unsigned long P = XGetPixel(I, 0, 0);
    XDestroyImage(I);
    // a TrueColor screen of 8 bits per channel: red, green, blue from high to low
    int R = int((P >> 16) & 0xFF), G = int((P >> 8) & 0xFF), B = int(P & 0xFF);
    return int64_t(R | (G << 8) | (B << 16));
}

}  // namespace framedisplay
