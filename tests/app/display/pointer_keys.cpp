#include "display/pointer_keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace pointerkeys {

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

void MovePointer(int X, int Y)
{
    XTestFakeMotionEvent(Dpy, -1, X, Y, CurrentTime);
    XSync(Dpy, False);
}

void PressButton(int Button)
{
    XTestFakeButtonEvent(Dpy, unsigned(Button), True, CurrentTime);
    XSync(Dpy, False);
}

void ReleaseButton(int Button)
{
    XTestFakeButtonEvent(Dpy, unsigned(Button), False, CurrentTime);
    XSync(Dpy, False);
}

void TapKey(const char* AKeySymName)
{
    const KeyCode code = XKeysymToKeycode(Dpy, XStringToKeysym(AKeySymName));
    XTestFakeKeyEvent(Dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(Dpy, code, False, CurrentTime);
    XSync(Dpy, False);
}

void PressKey(const char* AKeySymName)
{
    XTestFakeKeyEvent(Dpy, XKeysymToKeycode(Dpy, XStringToKeysym(AKeySymName)), True, CurrentTime);
    XSync(Dpy, False);
}

void ReleaseKey(const char* AKeySymName)
{
    XTestFakeKeyEvent(Dpy, XKeysymToKeycode(Dpy, XStringToKeysym(AKeySymName)), False, CurrentTime);
    XSync(Dpy, False);
}

}  // namespace pointerkeys
