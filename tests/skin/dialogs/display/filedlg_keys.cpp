// Synthetic keys through XTest for the file dialogs' display tests.
#include "filedlg_keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace filedlgx {

namespace {
Display* Dpy = nullptr;

void SendKey(const std::string& Name, bool Down)
{
    if (!Dpy) return;
    const KeySym S = XStringToKeysym(Name.c_str());
    const KeyCode C = XKeysymToKeycode(Dpy, S);
    if (!C) return;
    XTestFakeKeyEvent(Dpy, C, Down ? True : False, 0);
    // Pointer events go through another connection: wait until the server has taken the
    // key, so that a Shift held for a click is down before the click arrives.
    XSync(Dpy, False);
}
}  // namespace

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

void KeyDown(const std::string& Name) { SendKey(Name, true); }
void KeyUp(const std::string& Name) { SendKey(Name, false); }

void TypeText(const std::string& Text)
{
    for (char C : Text) {
        const std::string Name = C == '.' ? std::string("period") : std::string(1, C);
        SendKey(Name, true);
        SendKey(Name, false);
    }
}

}  // namespace filedlgx
