// Internals of the X11 backend, shared by its source files (X11Backend.cpp: top-level
// windows, presenting, shapes, styles; X11Events.cpp: events, keys and the input
// method; X11Screen.cpp: monitors, compositor, cursors, the pointer).
#pragma once

#include <deque>
#include <map>
#include <vector>

#include "platform/windows/Backend.h"
#include "platform/windows/WindowImpl.h"

// The X headers come last: they define macros (None, Bool, Status...) that would
// clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef CursorShape  // a query class of XQueryBestSize; the window system's function is meant

namespace x11impl {

// One top-level window on the display.
struct TX11Top final : winimpl::TNativeTop {
    ::Window Win = 0;
    GC Gc = nullptr;
    bool Argb = false;              // made with the 32-bit visual (per-pixel alpha)
    bool OverrideRedirect = false;  // a popup: not managed, never focused
    bool MapRequested = false;      // XMapWindow sent and not unmapped since
    bool Viewable = false;          // MapNotify seen
    bool WantFocus = false;         // take the focus once viewable
    bool IconifyRequested = false;  // we asked the window manager to iconify it
    bool Reparented = false;        // a window manager's frame holds it (ReparentNotify)
    int OwnMaps = 0;                // maps we asked for whose MapNotify has not come back
    XIC Ic = nullptr;
    ::Colormap OwnColormap = 0;
    std::deque<TRect> PendingConfigures;  // moves we asked for and have not seen back
    int CursorId = 0;
};

class TX11Backend final : public TWindowBackend {
public:
    explicit TX11Backend(Display* D);
    ~TX11Backend() override;
    const char* Name() const override { return "x11"; }

    void CreateTop(winimpl::TWindow* W) override;
    void DestroyTop(winimpl::TWindow* W) override;
    void ShowTop(winimpl::TWindow* W, bool Show, bool Activate) override;
    void MoveTop(winimpl::TWindow* W) override;
    void RestackTop(winimpl::TWindow* W) override;
    void SetTopTitle(winimpl::TWindow* W) override;
    void SetTopShape(winimpl::TWindow* W) override;
    void SetTopOpacity(winimpl::TWindow* W) override;
    void SetTopStyle(winimpl::TWindow* W) override;
    void IconifyTop(winimpl::TWindow* W, bool Iconify) override;
    void FocusTop(winimpl::TWindow* W) override;
    void Present(winimpl::TWindow* W, const TRect& R) override;
    bool ShowsPaintedFrames() const override { return true; }

    uintptr_t CreateNativeChild(winimpl::TWindow* W) override;
    void UpdateNativeChild(winimpl::TWindow* W) override;
    void DestroyNativeChild(winimpl::TWindow* W) override;
    uintptr_t NativeTopId(winimpl::TWindow* W) override;

    void GrabPointer(winimpl::TWindow* W) override;
    void UngrabPointer() override;
    bool QueryPointer(TPoint& Screen) override;
    void WarpPointer(TPoint P) override;
    void SetCursorShape(winimpl::TWindow* W, HCURSOR C) override;
    void ActivateForeign(winimpl::TWindow* W) override;

    std::vector<TMonitorInfo> Monitors() override;
    bool Compositing() override;

    void Wait(int TimeoutMs, const std::vector<int>& WakeFds) override;
    void Poll() override;

    Display* Dpy;
    int Scr;
    ::Window Root;
    Visual* ArgbVisual = nullptr;  // 32-bit TrueColor visual, or null

    // atoms
    Atom WM_PROTOCOLS_, WM_DELETE_WINDOW_, WM_STATE_, MOTIF_WM_HINTS_, NET_WM_NAME_, UTF8_STRING_,
        NET_WM_WINDOW_TYPE_, NET_WM_WINDOW_TYPE_NORMAL_, NET_WM_WINDOW_TYPE_DIALOG_,
        NET_WM_WINDOW_TYPE_POPUP_MENU_, NET_WM_STATE_, NET_WM_STATE_ABOVE_, NET_WM_STATE_SKIP_TASKBAR_,
        NET_WM_STATE_HIDDEN_, NET_WM_WINDOW_OPACITY_, NET_ACTIVE_WINDOW_, NET_WORKAREA_,
        NET_SUPPORTING_WM_CHECK_, NET_WM_PID_, CM_SELECTION_;

private:
    // top-levels
    TX11Top* Top(winimpl::TWindow* W) const;
    void MakeXWindow(winimpl::TWindow* W, TX11Top* X);
    void DestroyXWindow(TX11Top* X);
    void RecreateIfVisualChanged(winimpl::TWindow* W);
    bool WantsArgb(winimpl::TWindow* W);
    void ApplyHints(winimpl::TWindow* W);
    void ApplyNetState(winimpl::TWindow* W, Atom State, bool On);
    void ApplyShape(winimpl::TWindow* W);
    void PutPixels(winimpl::TWindow* W, const TRect& R);
    void MarkWholeDirty(winimpl::TWindow* W);

    // events (X11Events.cpp)
    void HandleEvent(XEvent& E);
    void HandleKey(XKeyEvent& E, winimpl::TWindow* W, TX11Top* X);
    winimpl::TWindow* TopByXWindow(::Window Win, TX11Top** X = nullptr) const;
    winimpl::TWindow* HostOfNativeChild(::Window Win) const;  // the window a native child lies in
    void OpenInputMethod();
    void MakeInputContext(TX11Top* X);
    void SyncModifiers();
    void NativeConfigure(winimpl::TWindow* W, TX11Top* X, const XConfigureEvent& E);
    void FollowNative(winimpl::TWindow* W, const TRect& R);
    void NativeMapChange(winimpl::TWindow* W, TX11Top* X, bool Mapped);
    void NativeDestroyed(winimpl::TWindow* W, TX11Top* X);

    // a property of 32-bit items (at most Max of them), empty when missing or of another type
    std::vector<long> ReadProperty32(::Window Win, Atom Property, Atom Type, long Max);
    // a client message about Win to the window manager (through the root window)
    void SendToWindowManager(::Window Win, Atom Type, long L0, long L1, long L2 = 0, long L3 = 0);

    // screen (X11Screen.cpp)
    void LoadMonitors();
    bool WindowManagerRuns();

public:
    XIM Im = nullptr;
    std::map<int, ::Cursor> Cursors;
    std::map<uintptr_t, ::Window> NativeParents;  // native child -> the X window it lies in
    std::vector<TMonitorInfo> MonitorCache;
    bool MonitorsValid = false;
    int RandrEvent = -1;   // first RandR event number, or -1
    int FixesEvent = -1;   // first XFixes event number, or -1
    int CompositorKnown = -1;  // -1 unknown, else 0/1
    HWND FocusLost = nullptr;  // a FocusOut not yet answered by a FocusIn
    ::Window Grab = 0;
    winimpl::TWindow* Following = nullptr;  // the window system follows a change the server made
    bool ShapeExt = false;
    bool Polling = false;
};

// Errors from the server (a window that went away, a focus request too early) are
// expected in an asynchronous protocol; they are counted, never fatal.
int X11ErrorCount();

// Puts the handler of a lost connection back in front of any that a library installed
// since (the video player's library replaces it with one that clears its own connection,
// after which its other threads crash on it); the loop calls it on every wait.
void KeepDisplayLostHandler();

}  // namespace x11impl
