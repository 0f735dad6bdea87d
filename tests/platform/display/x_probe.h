// A second connection to the display for the display tests: synthetic input through
// XTEST and what the server knows of windows (geometry, properties, shapes, pixels).
// Kept apart from the window system's headers, whose names clash with Xlib's.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system/Types.h"

namespace xprobe {

using XId = unsigned long;

bool Open();
void Close();
void Sync();
int ScreenWidth();
int ScreenHeight();

// input
void MoveTo(TPoint Screen);
void Button(bool Down, int Button = 1);
void ClickAt(TPoint Screen);
void KeyTap(const char* KeysymName);
// Gives the keysym a key of its own when the keyboard has none (a spare key code,
// given back by Close); false when no key code is free.
bool EnsureKey(const char* KeysymName);

// windows
bool Viewable(XId W);
bool OverrideRedirect(XId W);
int WindowDepth(XId W);
// The event masks all clients selected on W together.
long AllEventMasks(XId W);
bool MasksHavePress(long Masks);
// Whether another client holds the pointer grab (tried with a grab of our own, let go at once).
bool PointerGrabbedElsewhere();
XId FocusedWindow();
TRect RootGeometry(XId W);
bool HasAtom(XId W, const char* Property, const char* AtomName);
std::vector<long> Property32(XId W, const char* Property);
struct TSizeHints {
    bool UserPosition = false, UserSize = false;
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};
bool SizeHints(XId W, TSizeHints& H);
std::vector<TRect> ShapeRects(XId W, bool Input);

// pixels of the screen as TColor ($00BBGGRR)
TColor ScreenPixel(TPoint P);
std::vector<TColor> ScreenPixels(const TRect& R);

// what a window manager does to give an iconified window back: map it again
void MapWindow(XId W);
// a window manager's close request (WM_DELETE_WINDOW)
void RequestClose(XId W);

// a plain client window inside Parent, filled with one colour ($00BBGGRR)
XId CreateClient(XId Parent, TRect R);
void FillClient(XId W, TColor Color);

}  // namespace xprobe
