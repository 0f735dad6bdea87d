#include "display/foreign_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace foreignclient {

int DestroyWindowsOf(const std::string& ADisplay, pid_t APid)
{
    Display* d = XOpenDisplay(ADisplay.c_str());
    if (!d) return -1;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    int destroyed = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            Atom type;
            int format;
            unsigned long items, after;
            unsigned char* data = nullptr;
            const bool ours = XGetWindowProperty(d, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                                                 &items, &after, &data) == Success &&
                              data && items == 1 && pid_t(*reinterpret_cast<long*>(data)) == APid;
            if (data) XFree(data);
            XWindowAttributes a;
            if (ours && XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
                XDestroyWindow(d, children[i]);
                ++destroyed;
            }
        }
        if (children) XFree(children);
    }
    XSync(d, False);
    XCloseDisplay(d);
    return destroyed;
}

}  // namespace foreignclient
