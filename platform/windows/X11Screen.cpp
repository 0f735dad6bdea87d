// The screen as the X11 backend sees it: monitors (RandR, else Xinerama, else the
// whole screen) with the window manager's work area, whether a compositing manager
// or a window manager runs, and the standard cursor shapes.
#include <algorithm>

#include "platform/windows/X11Impl.h"

#include <X11/cursorfont.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

using namespace winimpl;

namespace x11impl {

void TX11Backend::LoadMonitors()
{
    MonitorCache.clear();
    int N = 0;
    if (RandrEvent >= 0) {
        if (XRRMonitorInfo* M = XRRGetMonitors(Dpy, Root, True, &N)) {
            for (int I = 0; I < N; ++I)
                MonitorCache.push_back({Bounds(M[I].x, M[I].y, M[I].width, M[I].height), {}, M[I].primary != 0});
            XRRFreeMonitors(M);
        }
    }
    if (MonitorCache.empty() && XineramaIsActive(Dpy)) {
        if (XineramaScreenInfo* S = XineramaQueryScreens(Dpy, &N)) {
            for (int I = 0; I < N; ++I)
                MonitorCache.push_back({Bounds(S[I].x_org, S[I].y_org, S[I].width, S[I].height), {}, I == 0});
            XFree(S);
        }
    }
    if (MonitorCache.empty())
        MonitorCache.push_back({Bounds(0, 0, DisplayWidth(Dpy, Scr), DisplayHeight(Dpy, Scr)), {}, true});
    if (std::none_of(MonitorCache.begin(), MonitorCache.end(), [](auto& M) { return M.Primary; }))
        MonitorCache.front().Primary = true;

    // the work area the window manager publishes (panels and docks left out)
    TRect Work;
    auto Area = ReadProperty32(Root, NET_WORKAREA_, XA_CARDINAL, 4);
    if (Area.size() == 4) Work = Bounds(int(Area[0]), int(Area[1]), int(Area[2]), int(Area[3]));
    for (auto& M : MonitorCache) {
        M.Work = M.Bounds;
        if (Work.IsEmpty()) continue;
        TRect I{std::max(M.Bounds.Left, Work.Left), std::max(M.Bounds.Top, Work.Top),
                std::min(M.Bounds.Right, Work.Right), std::min(M.Bounds.Bottom, Work.Bottom)};
        if (!I.IsEmpty()) M.Work = I;
    }
    MonitorsValid = true;
}

std::vector<TMonitorInfo> TX11Backend::Monitors()
{
    if (!MonitorsValid) LoadMonitors();
    return MonitorCache;
}

bool TX11Backend::Compositing()
{
    if (CompositorKnown >= 0) return CompositorKnown != 0;
    bool On = XGetSelectionOwner(Dpy, CM_SELECTION_) != 0;
    if (FixesEvent >= 0) CompositorKnown = On ? 1 : 0;  // a change of owner is reported
    return On;
}

bool TX11Backend::WindowManagerRuns()
{
    auto Check = ReadProperty32(Root, NET_SUPPORTING_WM_CHECK_, XA_WINDOW, 1);
    return Check.size() == 1 && Check[0] != 0;
}

void TX11Backend::SetCursorShape(TWindow* W, HCURSOR C)
{
    TX11Top* X = Top(W);
    if (!X) return;
    int Id = CursorShape(C);
    if (X->CursorId == Id) return;
    X->CursorId = Id;
    if (!X->Win) return;
    auto It = Cursors.find(Id);
    if (It == Cursors.end()) {
        unsigned Shape = XC_left_ptr;
        switch (Id) {
        case IDC_IBEAM: Shape = XC_xterm; break;
        case IDC_WAIT: case IDC_APPSTARTING: Shape = XC_watch; break;
        case IDC_CROSS: Shape = XC_crosshair; break;
        case IDC_UPARROW: Shape = XC_sb_up_arrow; break;
        case IDC_SIZENWSE: Shape = XC_bottom_right_corner; break;
        case IDC_SIZENESW: Shape = XC_bottom_left_corner; break;
        case IDC_SIZEWE: Shape = XC_sb_h_double_arrow; break;
        case IDC_SIZENS: Shape = XC_sb_v_double_arrow; break;
        case IDC_SIZEALL: Shape = XC_fleur; break;
        case IDC_NO: Shape = XC_X_cursor; break;
        case IDC_HAND: Shape = XC_hand2; break;
        case IDC_HELP: Shape = XC_question_arrow; break;
        }
        It = Cursors.emplace(Id, XCreateFontCursor(Dpy, Shape)).first;
    }
    XDefineCursor(Dpy, X->Win, It->second);
    XFlush(Dpy);
}

}  // namespace x11impl
