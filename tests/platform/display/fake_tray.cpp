// A stand-in tray manager on its own connection.
#include "fake_tray.h"

#include <X11/Xlib.h>

#include <string>

namespace faketray {

namespace {
Display* D = nullptr;
Window Manager = 0;
unsigned long Docked = 0;
}  // namespace

bool Start()
{
    D = XOpenDisplay(nullptr);
    if (!D) return false;
    int Scr = DefaultScreen(D);
    Manager = XCreateSimpleWindow(D, RootWindow(D, Scr), -10, -10, 1, 1, 0, 0, 0);
    Atom Sel = XInternAtom(D, ("_NET_SYSTEM_TRAY_S" + std::to_string(Scr)).c_str(), False);
    XSetSelectionOwner(D, Sel, Manager, CurrentTime);
    XSync(D, False);
    Docked = 0;
    return XGetSelectionOwner(D, Sel) == Manager;
}

void Stop()
{
    if (!D) return;
    XDestroyWindow(D, Manager);
    XCloseDisplay(D);
    D = nullptr;
}

unsigned long DockedWindow()
{
    if (!D) return 0;
    Atom Opcode = XInternAtom(D, "_NET_SYSTEM_TRAY_OPCODE", False);
    while (XPending(D)) {
        XEvent E;
        XNextEvent(D, &E);
        if (E.type == ClientMessage && E.xclient.message_type == Opcode && E.xclient.data.l[1] == 0)
            Docked = static_cast<unsigned long>(E.xclient.data.l[2]);
    }
    return Docked;
}

void ClickWindow(unsigned long W)
{
    for (int Type : {ButtonPress, ButtonRelease}) {
        XEvent E{};
        E.xbutton.type = Type;
        E.xbutton.window = W;
        E.xbutton.button = 1;
        E.xbutton.x = E.xbutton.y = 5;
        E.xbutton.same_screen = True;
        XSendEvent(D, W, False, Type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &E);
    }
    XSync(D, False);
}

}  // namespace faketray
