// The interface between the window system and what shows top-level windows: the X11
// backend for the program and the headless backend for tests.  The window system
// keeps the tree, the back buffers and all routing; a backend only shows top-level
// windows, reports input and window-manager events, and waits for work.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/windows/Windows.h"

namespace winimpl { struct TWindow; }

struct TMonitorInfo {
    TRect Bounds, Work;
    bool Primary = false;
};

class TWindowBackend {
public:
    virtual ~TWindowBackend() = default;
    virtual const char* Name() const = 0;

    // top-level windows (W->Native may be set by CreateTop)
    virtual void CreateTop(winimpl::TWindow* W) = 0;
    virtual void DestroyTop(winimpl::TWindow* W) = 0;
    virtual void ShowTop(winimpl::TWindow* W, bool Show, bool Activate) = 0;
    virtual void MoveTop(winimpl::TWindow* W) = 0;          // W->Rect changed
    virtual void RestackTop(winimpl::TWindow* W) = 0;       // W moved in the z-order (or topmost changed)
    virtual void SetTopTitle(winimpl::TWindow*) {}
    virtual void SetTopShape(winimpl::TWindow*) {}          // W->Shape changed or W resized
    virtual void SetTopOpacity(winimpl::TWindow*) {}        // layered alpha changed
    virtual void SetTopStyle(winimpl::TWindow*) {}          // styles or decorations changed
    virtual void IconifyTop(winimpl::TWindow*, bool /*Iconify*/) {}
    virtual void FocusTop(winimpl::TWindow*) {}             // give it the keyboard focus
    // the back buffer's rectangle R (window coordinates) changed: show it
    virtual void Present(winimpl::TWindow* W, const TRect& R) = 0;
    // True when a top-level that is shown should reach the display only with its first
    // frame painted whole: ShowTop then comes at the next flush of the windows, after the
    // window and its children have painted, and never shows an empty or half-drawn window.
    virtual bool ShowsPaintedFrames() const { return false; }

    // a native child window (for a foreign client such as a video overlay)
    virtual uintptr_t CreateNativeChild(winimpl::TWindow*) { return 0; }
    virtual void UpdateNativeChild(winimpl::TWindow*) {}
    virtual void DestroyNativeChild(winimpl::TWindow*) {}
    virtual uintptr_t NativeTopId(winimpl::TWindow*) { return 0; }  // the display's window of a top-level

    virtual void GrabPointer(winimpl::TWindow*) {}
    virtual void UngrabPointer() {}
    virtual bool QueryPointer(TPoint& /*Screen*/) { return false; }
    virtual void WarpPointer(TPoint) {}
    virtual void SetCursorShape(winimpl::TWindow*, HCURSOR) {}
    virtual void ActivateForeign(winimpl::TWindow*) {}      // _NET_ACTIVE_WINDOW request

    virtual std::vector<TMonitorInfo> Monitors() = 0;
    virtual bool Compositing() { return false; }

    // Waits at most TimeoutMs (-1 = no limit) for native events, a wake-up or the
    // given extra descriptor; reports native events through the input functions.
    virtual void Wait(int TimeoutMs, const std::vector<int>& WakeFds) = 0;
    // Reads native events that are already there, without waiting.
    virtual void Poll() {}
};

TWindowBackend& Backend();
// Installs a backend; the window system owns it.  Without a call, the first use picks
// X11 when DISPLAY is set and works, else headless.
void SetBackend(std::unique_ptr<TWindowBackend> B);
std::unique_ptr<TWindowBackend> MakeHeadlessBackend();
std::unique_ptr<TWindowBackend> MakeX11Backend();  // nullptr when no display opens
// Makes the X11 backend the active one (windows already open move onto the display)
// with the real clock; false when no display opens.
bool InstallX11Backend();
bool BackendInstalled();
// What the program does when its connection to the X display is lost (the server
// ended): AHandler runs once on the GUI thread, where nothing of the windows may be used
// any more, and then the process ends with exit code 1 after a line on standard error.
// Should the GUI thread not get there within a few seconds, the process ends anyway.
void SetDisplayLostHandler(std::function<void()> AHandler);
