// Window message numbers and the message record.  The WM_ numbers are the ones
// Windows programs know, so that numbered messages keep their meaning; CM_ and CN_
// are the class library's notifications in 0xB000-0xBFFF.
#pragma once

#include <cstdint>

#include "platform/graphics/WinDef.h"
#include "platform/system/Types.h"

using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;

struct HWND__;
using HWND = HWND__*;

constexpr WORD LOWORD(uintptr_t V) { return WORD(V & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t V) { return WORD((V >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int Lo, int Hi) { return LPARAM(uint32_t((Lo & 0xFFFF) | ((Hi & 0xFFFF) << 16))); }
constexpr WPARAM MAKEWPARAM(int Lo, int Hi) { return WPARAM(uint32_t((Lo & 0xFFFF) | ((Hi & 0xFFFF) << 16))); }
constexpr int GET_X_LPARAM(LPARAM L) { return int16_t(L & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM L) { return int16_t((L >> 16) & 0xFFFF); }
constexpr LPARAM PointToLParam(TPoint P) { return MAKELPARAM(P.X, P.Y); }
constexpr TPoint LParamToPoint(LPARAM L) { return {GET_X_LPARAM(L), GET_Y_LPARAM(L)}; }

// ---- window messages ----------------------------------------------------
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_SYNCPAINT = 0x0088;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_KEYLAST = 0x0108;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUCHAR = 0x0120;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_IME_CHAR = 0x0286;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// ---- class library notifications ----------------------------------------
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;  // never sent: no designer
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 38;
constexpr UINT CM_UIACTIVATE = CM_BASE + 39;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;  // 0xB034, posted by controls to repaint later
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 69;
constexpr UINT CM_GETITEMRECT = CM_BASE + 0x60;
constexpr UINT CM_SETCURSEL = CM_BASE + 0x61;
constexpr UINT CM_SETITEMSIZE = CM_BASE + 0x62;
constexpr UINT CM_ADJUSTRECT = CM_BASE + 0x63;

// Notifications reflected from a parent to the control they concern.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
static_assert(CN_BASE + 0x4A == 0xBC4A && CN_BASE + 0x4B == 0xBC4B);

// ---- parameter values ----------------------------------------------------
// WM_ACTIVATE
constexpr int WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// WM_MOUSEACTIVATE answers
constexpr int MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4;
// WM_SIZE
constexpr int SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
// WM_NCHITTEST answers
constexpr int HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
              HTGROWBOX = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTMINBUTTON = 8, HTMAXBUTTON = 9,
              HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15,
              HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18, HTOBJECT = 19, HTCLOSE = 20, HTHELP = 21;
// WM_SYSCOMMAND
constexpr WPARAM SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                 SC_CLOSE = 0xF060, SC_KEYMENU = 0xF100, SC_RESTORE = 0xF120;
// WM_GETDLGCODE answers
constexpr LRESULT DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
                  DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
                  DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
                  DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000;
// mouse key state in WParam of mouse messages
constexpr WPARAM MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
                 MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;
// WM_SETREDRAW, WM_SHOWWINDOW and others use plain 0/1.

// Virtual key codes.
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
              VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
              VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
              VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
              VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
              VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
              VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
              VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76,
              VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B, VK_NUMLOCK = 0x90,
              VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3,
              VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC,
              VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB,
              VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// ---- the message record ----------------------------------------------------
// WParam and LParam are pointer-sized: objects, rectangles and device contexts travel
// in them.  The word views are signed 16-bit, as points packed into LParam are.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    int WParamLo() const { return int(LOWORD(WParam)); }
    int WParamHi() const { return int(HIWORD(WParam)); }
    int LParamLo() const { return int16_t(LParam & 0xFFFF); }
    int LParamHi() const { return int16_t((LParam >> 16) & 0xFFFF); }
    int ResultLo() const { return int(LOWORD(uintptr_t(Result))); }
};

// Typed views of a message record.  They add no data, so any TMessage can be viewed
// as one of them with MessageAs<T>(Message).
struct TWMMouse : TMessage {
    WPARAM Keys() const { return WParam; }
    int XPos() const { return LParamLo(); }
    int YPos() const { return LParamHi(); }
    TPoint Pos() const { return {XPos(), YPos()}; }
};
using TWMMouseMove = TWMMouse;
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMNCHitMessage = TWMMouse;  // WParam = hit code, LParam = screen point
struct TWMNCHitTest : TMessage {
    int XPos() const { return LParamLo(); }
    int YPos() const { return LParamHi(); }
    TPoint Pos() const { return {XPos(), YPos()}; }
};
struct TWMKey : TMessage {
    WORD CharCode() const { return WORD(WParam); }
    void SetCharCode(WORD V) { WParam = V; }
    LPARAM KeyData() const { return LParam; }
};
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
struct TWMMouseWheel : TMessage {
    int Keys() const { return WParamLo(); }
    int WheelDelta() const { return int16_t(WParamHi()); }
    int XPos() const { return LParamLo(); }
    int YPos() const { return LParamHi(); }
};
struct TWMSize : TMessage {
    int SizeType() const { return int(WParam); }
    int Width() const { return LParamLo() & 0xFFFF; }
    int Height() const { return LParamHi() & 0xFFFF; }
};
struct TWMMove : TMessage {
    int XPos() const { return LParamLo(); }
    int YPos() const { return LParamHi(); }
};
struct TWMSetFocus : TMessage {
    HWND FocusedWnd() const { return reinterpret_cast<HWND>(WParam); }
};
using TWMKillFocus = TWMSetFocus;
struct TWMActivate : TMessage {
    int Active() const { return WParamLo(); }
    bool Minimized() const { return WParamHi() != 0; }
    HWND ActiveWindow() const { return reinterpret_cast<HWND>(LParam); }
};
struct TWMTimer : TMessage {
    uintptr_t TimerID() const { return WParam; }
};

template <class T>
T& MessageAs(TMessage& M) { static_assert(sizeof(T) == sizeof(TMessage)); return static_cast<T&>(M); }
