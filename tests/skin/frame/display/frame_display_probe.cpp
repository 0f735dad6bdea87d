// Screen pixels through Xlib for the form frame's display tests.
#include "frame_display_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fstream>
#include "test_files.h"

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

std::vector<uint32_t> ScreenRect(int X, int Y, int W, int H)
{
    std::vector<uint32_t> R;
    if (!Dpy || W <= 0 || H <= 0) return R;
    XSync(Dpy, False);
    XImage* I = XGetImage(Dpy, DefaultRootWindow(Dpy), X, Y, unsigned(W), unsigned(H), AllPlanes, ZPixmap);
    if (!I) return R;
    R.reserve(size_t(W) * size_t(H));
    for (int J = 0; J < H; ++J)
        for (int K = 0; K < W; ++K) R.push_back(uint32_t(XGetPixel(I, K, J) & 0xFFFFFF));
    XDestroyImage(I);
    return R;
}

void SavePixmap(const std::vector<uint32_t>& Pixels, int W, int H, const std::string& FileName)
{
    const std::string File = vctest::ShotFile(FileName);
    if (File.empty()) return;
    std::string Data = "P6\n" + std::to_string(W) + " " + std::to_string(H) + "\n255\n";
    for (uint32_t C : Pixels) {
        Data += char((C >> 16) & 0xFF);
        Data += char((C >> 8) & 0xFF);
        Data += char(C & 0xFF);
    }
    std::ofstream(File, std::ios::binary) << Data;
}

void MovePointer(int X, int Y)
{
    if (!Dpy) return;
    XTestFakeMotionEvent(Dpy, -1, X, Y, 0);
    XSync(Dpy, False);  // taken by the server before any key sent through another connection
}

void ClickButton(int Button)
{
    if (!Dpy) return;
    XTestFakeButtonEvent(Dpy, unsigned(Button), True, 0);
    XTestFakeButtonEvent(Dpy, unsigned(Button), False, 0);
    XSync(Dpy, False);
}

void PressButton(int Button, bool Down)
{
    if (!Dpy) return;
    XTestFakeButtonEvent(Dpy, unsigned(Button), Down ? True : False, 0);
    XFlush(Dpy);
}

}  // namespace framedisplay
