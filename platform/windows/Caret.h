// The text caret: one per program, owned by one window, blinking.
//
// The caret is drawn by inverting its pixels in the owner's part of the back buffer,
// outside any paint cycle, so it never appears in a picture a control paints into a
// memory device context.  Hiding it puts back exactly the pixels it changed (those
// that were repainted meanwhile are left alone).  HideCaret/ShowCaret keep a count:
// the caret shows only when every hide was matched by a show; a show without a
// hide does nothing.  A new caret starts hidden (one show makes it visible).
#pragma once

#include "platform/windows/Windows.h"

bool CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height);
bool DestroyCaret();
bool ShowCaret(HWND Wnd);   // nullptr: the caret whatever its owner
bool HideCaret(HWND Wnd);
bool SetCaretPos(int X, int Y);  // client coordinates of the owner
bool GetCaretPos(TPoint* Point);
UINT GetCaretBlinkTime();

// For tests: the owner (nullptr without a caret), whether it is shown now (hide count
// 0) and whether its pixels are inverted at this moment of the blink.
struct TCaretInfo {
    HWND Owner = nullptr;
    TRect Rect;          // client coordinates of the owner
    int HideCount = 0;
    bool Drawn = false;
};
TCaretInfo GetCaretInfo();
