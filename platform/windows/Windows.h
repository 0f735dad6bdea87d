// The window system the program is written against: window handles in a tree,
// window classes and procedures, sending and posting messages, the message queue,
// timers, focus, capture, activation, geometry, styles and monitors.  Child windows
// live in-process; each top-level window is backed by the active backend (X11 for
// the program, headless for tests).  Painting calls are in WinPaint.h.
#pragma once

#include <functional>
#include <string>

#include "platform/system/Types.h"
#include "platform/windows/Messages.h"

using ATOM = uint16_t;

// ---- window procedures ------------------------------------------------------
// A window procedure is an object, so that a method of a control can be a window's
// procedure (MakeObjectInstance) and a subclass can save and call the one it replaced.
struct TWndProcObject {
    virtual ~TWndProcObject() = default;
    virtual LRESULT Call(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) = 0;
};
using WNDPROC = TWndProcObject*;
using WNDPROCFN = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TWndMethod = std::function<void(TMessage&)>;

// A procedure object for a plain function; the same function always gives the same object.
WNDPROC MakeProcInstance(WNDPROCFN Fn);
// A procedure object that packs the call into a TMessage and calls the method.
WNDPROC MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(WNDPROC Proc);
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
WNDPROC DefWindowProcInstance();

// ---- styles -----------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
                WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
                WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020, WS_EX_MDICHILD = 0x00000040,
                WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100, WS_EX_CLIENTEDGE = 0x00000200,
                WS_EX_CONTEXTHELP = 0x00000400, WS_EX_CONTROLPARENT = 0x00010000,
                WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000, WS_EX_LAYERED = 0x00080000,
                WS_EX_NOACTIVATE = 0x08000000;
constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_OWNDC = 0x0020,
               CS_PARENTDC = 0x0080, CS_NOCLOSE = 0x0200, CS_SAVEBITS = 0x0800, CS_DROPSHADOW = 0x00020000;

constexpr int GWL_WNDPROC = -4, GWL_HINSTANCE = -6, GWL_HWNDPARENT = -8, GWL_ID = -12, GWL_STYLE = -16,
              GWL_EXSTYLE = -20, GWL_USERDATA = -21;
constexpr int GCL_STYLE = -26, GCL_WNDPROC = -24;
LONG_PTR GetWindowLong(HWND Wnd, int Index);
LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value);  // returns the previous value
inline LONG_PTR GetWindowLongPtr(HWND W, int I) { return GetWindowLong(W, I); }
inline LONG_PTR SetWindowLongPtr(HWND W, int I, LONG_PTR V) { return SetWindowLong(W, I, V); }
ULONG_PTR GetClassLong(HWND Wnd, int Index);
ULONG_PTR SetClassLong(HWND Wnd, int Index, ULONG_PTR Value);

// ---- window classes and creation ----------------------------------------------
// Cursors are the standard shapes; a cursor handle carries the IDC_ number.
constexpr int IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515,
                  IDC_UPARROW = 32516, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644,
                  IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
                  IDC_APPSTARTING = 32650, IDC_HELP = 32651;
HCURSOR LoadCursor(void* Instance, int Id);
inline HCURSOR LoadCursor(int Id) { return LoadCursor(nullptr, Id); }
int CursorShape(HCURSOR Cursor);  // the IDC_ number of a cursor handle
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;  // nullptr = DefWindowProc
    HCURSOR hCursor = nullptr;  // nullptr: the arrow
    String lpszClassName;
};
ATOM RegisterClass(const WNDCLASS& Class);
bool GetClassInfo(const String& ClassName, WNDCLASS& Class);
bool UnregisterClass(const String& ClassName);
int GetClassName(HWND Wnd, String& Name);
String GetClassName(HWND Wnd);

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    DWORD style = 0;
    String lpszName, lpszClass;
    DWORD dwExStyle = 0;
};
constexpr int CW_USEDEFAULT = int(0x80000000);
HWND CreateWindowEx(DWORD ExStyle, const String& ClassName, const String& WindowName, DWORD Style, int X, int Y,
                    int Width, int Height, HWND Parent, intptr_t Id = 0, void* Param = nullptr);
bool DestroyWindow(HWND Wnd);
bool IsWindow(HWND Wnd);

// ---- the tree -----------------------------------------------------------------
HWND GetParent(HWND Wnd);  // the parent of a child, the owner of a popup
HWND SetParent(HWND Child, HWND NewParent);
HWND GetDesktopWindow();
bool IsChild(HWND Parent, HWND Wnd);
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5;
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetTopWindow(HWND Wnd);  // first child in z-order; nullptr = the top top-level window
constexpr UINT GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3;
HWND GetAncestor(HWND Wnd, UINT Flags);
bool EnumChildWindows(HWND Parent, const std::function<bool(HWND)>& Fn);  // depth first, front to back
bool EnumWindows(const std::function<bool(HWND)>& Fn);                    // top-levels, front to back

// A real child window of the display over the client area of child window Wnd, for
// a foreign client that draws into it (the preview's video overlay).  It follows the
// window's place and visibility and goes with it.  Returns its id (an X window), 0
// when there is no display (headless) or Wnd is not a child window.
uintptr_t CreateNativeWindow(HWND Wnd);
// The display's window behind Wnd: a top-level's own, a child's native window; 0 if none.
uintptr_t GetNativeWindow(HWND Wnd);

// ---- text and properties -------------------------------------------------------------
bool SetWindowText(HWND Wnd, const String& Text);
String GetWindowText(HWND Wnd);
int GetWindowTextLength(HWND Wnd);
bool SetProp(HWND Wnd, const String& Name, intptr_t Value);
intptr_t GetProp(HWND Wnd, const String& Name);
intptr_t RemoveProp(HWND Wnd, const String& Name);

// ---- geometry -------------------------------------------------------------------
struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};
struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];  // [0]: proposed window rectangle in, client rectangle out
    WINDOWPOS* lppos = nullptr;
};
struct MINMAXINFO {
    TPoint ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
               SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
               SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100, SWP_NOOWNERZORDER = 0x0200,
               SWP_NOSENDCHANGING = 0x0400;
inline HWND const HWND_TOP = reinterpret_cast<HWND>(intptr_t(0));
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t(-2));
// Synchronous: WM_WINDOWPOSCHANGING/CHANGED, WM_MOVE and WM_SIZE run before it returns.
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags);
bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint = true);
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
              SW_SHOWNA = 8, SW_RESTORE = 9;
bool ShowWindow(HWND Wnd, int Cmd);  // returns whether it was visible before
// LParam of WM_SHOWWINDOW when the window manager gives back an iconified window
constexpr LPARAM SW_PARENTCLOSING = 1, SW_PARENTOPENING = 3;
bool IsWindowVisible(HWND Wnd);      // it and every ancestor shown
bool IsIconic(HWND Wnd);
bool IsZoomed(HWND Wnd);
bool EnableWindow(HWND Wnd, bool Enable);  // returns whether it was disabled before
bool IsWindowEnabled(HWND Wnd);
bool BringWindowToTop(HWND Wnd);
bool GetWindowRect(HWND Wnd, TRect& R);  // screen coordinates
bool GetClientRect(HWND Wnd, TRect& R);  // (0, 0, client width, client height)
TRect GetWindowRect(HWND Wnd);
TRect GetClientRect(HWND Wnd);
bool ClientToScreen(HWND Wnd, TPoint& P);
bool ScreenToClient(HWND Wnd, TPoint& P);
int MapWindowPoints(HWND From, HWND To, TPoint* Points, int Count);
HWND WindowFromPoint(TPoint ScreenPoint);
constexpr UINT CWP_ALL = 0, CWP_SKIPINVISIBLE = 1, CWP_SKIPDISABLED = 2, CWP_SKIPTRANSPARENT = 4;
HWND ChildWindowFromPointEx(HWND Parent, TPoint ClientPoint, UINT Flags);

// ---- messages -------------------------------------------------------------------
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
    uint32_t lChar = 0;  // the character a key press types (read by TranslateMessage)
};
using TMsg = MSG;
constexpr UINT PM_NOREMOVE = 0, PM_REMOVE = 1, PM_NOYIELD = 2;

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM W = 0, LPARAM L = 0);
// Posting is allowed from any thread; the message runs after the current one, in order.
bool PostMessage(HWND Wnd, UINT Msg, WPARAM W = 0, LPARAM L = 0);
void PostQuitMessage(int ExitCode);
bool PeekMessage(MSG& Msg, HWND Wnd, UINT First, UINT Last, UINT Remove);
bool GetMessage(MSG& Msg, HWND Wnd, UINT First, UINT Last);  // false on WM_QUIT
bool TranslateMessage(const MSG& Msg);
LRESULT DispatchMessage(const MSG& Msg);
bool WaitMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();
bool InSendMessage();

// ---- timers -----------------------------------------------------------------------
using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);
uintptr_t SetTimer(HWND Wnd, uintptr_t Id, UINT Elapse, TIMERPROC Proc = nullptr);
bool KillTimer(HWND Wnd, uintptr_t Id);

// ---- focus, activation, capture, input state ---------------------------------------
HWND SetFocus(HWND Wnd);  // returns the window that had the focus
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND Wnd);
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND Wnd);
HWND SetCapture(HWND Wnd);
bool ReleaseCapture();
HWND GetCapture();
bool GetCursorPos(TPoint& P);
TPoint GetCursorPos();
bool SetCursorPos(int X, int Y);
int16_t GetKeyState(int VirtualKey);  // high bit: down; low bit: toggled
int16_t GetAsyncKeyState(int VirtualKey);
UINT GetDoubleClickTime();

// ---- layered windows ----------------------------------------------------------------
constexpr DWORD LWA_COLORKEY = 1, LWA_ALPHA = 2;
constexpr DWORD ULW_COLORKEY = 1, ULW_ALPHA = 2, ULW_OPAQUE = 4;
bool SetLayeredWindowAttributes(HWND Wnd, TColor Key, BYTE Alpha, DWORD Flags);
bool GetLayeredWindowAttributes(HWND Wnd, TColor* Key, BYTE* Alpha, DWORD* Flags);
// Whether layered windows are shown with their alpha (a compositing manager runs).
bool LayeredWindowsAvailable();

// ---- monitors and system settings ------------------------------------------------
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor, rcWork;
    DWORD dwFlags = 0;
};
constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
HMONITOR MonitorFromPoint(TPoint P, DWORD Flags);
HMONITOR MonitorFromRect(const TRect& R, DWORD Flags);
bool GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info);
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXICON = 11,
              SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16,
              SM_CYFULLSCREEN = 17, SM_CXHSCROLL = 21, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30,
              SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
              SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXMAXIMIZED = 61,
              SM_CYMAXIMIZED = 62, SM_CXVIRTUALSCREEN = 78, SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80;
int GetSystemMetrics(int Index);
constexpr UINT SPI_GETWORKAREA = 0x0030, SPI_GETDRAGFULLWINDOWS = 0x0026;
bool SystemParametersInfo(UINT Action, UINT Param, void* Value, UINT WinIni);

// The fixed system profile the program sees: version 5.1.
DWORD GetVersion();
