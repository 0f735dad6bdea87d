// Scroll state of windows that show no scroll bars.
//
// No native scroll bar is ever shown; a control that scrolls keeps, per axis, the
// state a bar would show (range, page, position) and answers these calls through the
// message CM_SCROLLSTATE, so that an owner can read it from the window and draw a bar
// of its own.  GetScrollBarInfo reports the bars as invisible.  A window that keeps
// no scroll state makes the calls fail (false, 0).
#pragma once

#include "platform/windows/Windows.h"

constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
// WM_HSCROLL / WM_VSCROLL request codes (low word of WParam; the position in the high word).
constexpr int SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
              SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
              SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0, nMax = 0;
    UINT nPage = 0;
    int nPos = 0, nTrackPos = 0;
};

constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x1, STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000,
                STATE_SYSTEM_OFFSCREEN = 0x10000;
constexpr LONG OBJID_HSCROLL = LONG(0xFFFFFFFA), OBJID_VSCROLL = LONG(0xFFFFFFFB), OBJID_CLIENT = LONG(0xFFFFFFFC);
struct SCROLLBARINFO {
    DWORD cbSize = sizeof(SCROLLBARINFO);
    TRect rcScrollBar;
    int dxyLineButton = 0, xyThumbTop = 0, xyThumbBottom = 0, reserved = 0;
    DWORD rgstate[6] = {};
};

// Asks a window for its scroll state: WParam = SB_HORZ/SB_VERT, LParam = SCROLLINFO*;
// the answer is 1 when the window keeps one.  With SIF_ flags of a "set" request in the
// high bit of WParam (CM_SCROLLSTATE_SET), the window takes the given fields and
// answers the new position + 1.
constexpr UINT CM_SCROLLSTATE = 0xB0E0;
constexpr WPARAM CM_SCROLLSTATE_SET = 0x10000;

bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info);
int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, bool Redraw);  // the new position
int GetScrollPos(HWND Wnd, int Bar);
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);  // the previous position
bool GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max);
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw);
bool GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info);
bool ShowScrollBar(HWND Wnd, int Bar, bool Show);  // bars are never shown: true, nothing changes

// The state of one axis, kept by a control (the range may be empty: Max < Min).
struct TScrollAxis {
    int Min = 0, Max = 0;
    UINT Page = 0;
    int Pos = 0;
    // The highest position: Max - Page + 1 with a page, else Max (never below Min).
    int MaxPos() const;
    // Applies the fields of Info that its mask names and clamps the position.
    void Set(const SCROLLINFO& Info);
    void Get(SCROLLINFO& Info) const;
};

// Answers CM_SCROLLSTATE for a control that keeps Axes[SB_HORZ] and Axes[SB_VERT];
// true when Message was that message.  Changed (when set) runs after a "set" request.
bool HandleScrollStateMessage(TMessage& Message, TScrollAxis Axes[2]);
