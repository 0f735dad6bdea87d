// Internal state of the window system: window records, classes, the queue and the
// focus/capture/activation state.  Only platform/windows includes this header.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "platform/graphics/Surface.h"
#include "platform/windows/Windows.h"

namespace winimpl {

struct TWindowClass {
    String Name;
    UINT Style = 0;
    WNDPROC Proc = nullptr;
    HCURSOR Cursor = nullptr;
};

// The backend's data of a top-level window.
struct TNativeTop {
    virtual ~TNativeTop() = default;
};

struct TWindow {
    HWND Handle = nullptr;
    std::shared_ptr<TWindowClass> Class;
    DWORD Style = 0, ExStyle = 0;
    WNDPROC Proc = nullptr;
    intptr_t Id = 0, UserData = 0;
    TWindow* Parent = nullptr;  // children only
    TWindow* Owner = nullptr;   // top-levels only
    std::vector<TWindow*> Children;  // z-order, front first
    TRect Rect;    // child: in the parent's client coordinates; top-level: screen
    TRect Client;  // client rectangle in window coordinates (from WM_NCCALCSIZE)
    String Text;
    std::map<String, intptr_t> Props;
    bool Destroying = false;
    bool Minimized = false, Maximized = false;
    bool Redraw = true;  // WM_SETREDRAW
    bool Created = false;

    // painting: what needs painting, in window coordinates
    TRegion Update;  // client part that needs painting, window coordinates
    bool EraseNeeded = false;
    bool NCInvalid = false;
    HRGN Shape = nullptr;  // window region, owned; window coordinates
    uintptr_t NativeChild = 0;  // a native child window (foreign clients), 0 = none

    // top-levels
    BYTE LayeredAlpha = 255;
    DWORD LayeredFlags = 0;
    TColor LayeredKey = 0;
    bool PerPixelLayered = false;
    bool SelfFramed = false;  // its WM_NCCALCSIZE answer took a frame off: no window-manager decorations
    std::unique_ptr<TNativeTop> Native;
    PSurface Buffer;  // the back buffer of a top-level: the whole window, 32-bit
    TRect Dirty;      // part of the back buffer not yet shown
    // shown, waiting for its first whole frame to go on the display (ShowsPaintedFrames):
    // nothing of it is presented until FlushAll shows it; ShowActivate for that ShowTop
    bool ShowPending = false, ShowActivate = false;

    bool IsChild() const { return (Style & WS_CHILD) && Parent; }
    bool IsTop() const { return !IsChild(); }
    // A window the user moves and sizes by its frame: a top-level one or an MDI child.
    bool IsFramed() const { return IsTop() || (ExStyle & WS_EX_MDICHILD); }
    bool Visible() const { return Style & WS_VISIBLE; }
    bool Enabled() const { return !(Style & WS_DISABLED); }
    // A popup (menu, drop-down, hint, glow): a top-level without a caption that is a
    // tool window or never activates.  Popups are never focused or managed.
    bool IsPopup() const
    {
        return IsTop() && (Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION &&
               (ExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
    }
    int Width() const { return Rect.Width(); }
    int Height() const { return Rect.Height(); }
};

struct TTimer {
    HWND Wnd = nullptr;
    uintptr_t Id = 0;
    UINT Elapse = 0;
    uint64_t Due = 0;
    TIMERPROC Proc = nullptr;
    bool Pending = false;  // a WM_TIMER for it is waiting to be taken
};

// A mouse or keyboard event from a backend, turned into messages when taken from the queue.
enum class TInputKind { MouseMove, ButtonDown, ButtonUp, Wheel, PointerLeft, KeyDown, KeyUp, Chars };
struct TInputEvent {
    TInputKind Kind = TInputKind::MouseMove;
    HWND Top = nullptr;  // the top-level the backend saw it on, or nullptr to find it
    TPoint Screen;
    int Button = 0;  // 1 left, 2 right, 3 middle
    int Delta = 0;   // wheel
    int Key = 0;     // virtual key
    String Text;     // characters typed (key down) or committed (Chars)
    DWORD Time = 0;
};

struct TQueued {
    bool IsInput = false;
    MSG Msg;
    TInputEvent Input;
};

struct TState {
    std::unordered_map<HWND, TWindow*> Windows;
    std::vector<TWindow*> Tops;  // top-level windows, front first
    uintptr_t NextHandle = 0x1000;
    std::map<String, std::shared_ptr<TWindowClass>, std::less<>> Classes;  // lower-case names

    std::mutex QueueLock;
    std::deque<TQueued> Queue;
    bool QuitPosted = false;
    int QuitCode = 0;

    std::vector<TTimer> Timers;

    HWND Focus = nullptr, Active = nullptr, Capture = nullptr, Foreground = nullptr;
    HWND MouseWindow = nullptr;  // the window the pointer was last routed to
    TPoint CursorPos;
    BYTE KeyStates[256] = {};
    HCURSOR Cursor = nullptr;
    int SendDepth = 0;

    // double clicks
    HWND LastDownWnd = nullptr;
    int LastDownButton = 0;
    DWORD LastDownTime = 0;
    TPoint LastDownPos;
    bool LastWasDouble = false;

    // keyboard: Alt pressed and released alone opens the menu
    bool AltAlone = false;

    DWORD MessageTime = 0;
    TPoint MessagePos;
};

TState& State();
TWindow* Find(HWND Wnd);        // nullptr for a dead or unknown handle
TWindow* TopOf(TWindow* W);     // the top-level that contains W
TPoint WindowOrigin(TWindow* W);         // top-left of the window in its top-level's window coordinates
TPoint ScreenOrigin(TWindow* W);         // top-left of the window on the screen
TPoint ClientScreenOrigin(TWindow* W);   // top-left of the client area on the screen
bool IsVisibleChain(TWindow* W);
bool IsEnabledChain(TWindow* W);
bool PointInShape(TWindow* W, TPoint WindowPoint);  // inside the window and its region
TRegion VisibleRegion(TWindow* W, bool ClientOnly, bool ClipChildren);  // top-level window coordinates

// clock used by timers and double clicks (replaceable for tests)
uint64_t NowMs();

// queue access for backends
void QueueInput(const TInputEvent& E);
void WakeLoop();

// painting hooks (WinPaint.cpp)
void InvalidateWindowArea(TWindow* W, const TRect& WindowRect, bool Erase, bool Children);
void OnWindowDestroyed(TWindow* W);
void OnWindowMovedOrSized(TWindow* W, const TRect& OldRect, bool Sized);
void OnTopLevelCreated(TWindow* W);
void OnTopLevelResized(TWindow* W);
bool HasPendingPaint();
bool TakePaintMessage(MSG& Msg, HWND Filter);
void FlushAll();

// input routing (WinInput.cpp)
bool TranslateInput(const TInputEvent& E, MSG& Out);
// What a key types with the current shift state, when the event does not say ("\x01").
String DefaultKeyText(int Vk);
void OnWindowHiddenOrDisabled(TWindow* W);

// focus and activation (WinInput.cpp)
void ActivateWindow(TWindow* W, int How, bool FromNative);
void DeactivateIfActive(TWindow* W);
void FocusLostByDestroy(TWindow* W);
// queue and timers (WinMessages.cpp)
void KillWindowTimers(HWND Wnd);
void ForgetWindowInQueue(HWND Wnd);
void CollectGarbage();
// the GUI thread's share of thread synchronisation (WinSystem.cpp)
void RunSynchronized();
int SynchronizeWakeFd();
void NotifyDisplayChange(int BitsPerPixel);  // WM_DISPLAYCHANGE to every top-level
// tree helpers (WinCore.cpp)
TWindow* ChildAt(TWindow* W, TPoint Screen, bool WithDisabled);
TWindow* TopAt(TPoint Screen);
void CalcClient(TWindow* W, const TRect& Proposed, WINDOWPOS* Pos);
void DefaultPaint(HWND Wnd);
// native child windows (WinCore.cpp)
extern int NativeChildCount;
std::vector<HWND> NativeChildrenOf(TWindow* W);  // W and its descendants that have one
void UpdateNativeChildren(TWindow* W);           // after W moved, was sized, shown or hidden

}  // namespace winimpl
