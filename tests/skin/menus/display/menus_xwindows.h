// What the X server shows of the skinned menus' windows, read through a connection of the
// test's own.  Kept apart from the window system's headers, whose names clash with Xlib's.
#pragma once

namespace menusx {

bool Open();
void Close();
struct TWinInfo {
    bool Viewable = false, OverrideRedirect = false;
    int X = 0, Y = 0, Width = 0, Height = 0;  // on the root window
};
bool Info(unsigned long Window, TWinInfo& I);
// The window that holds the keyboard focus.
unsigned long Focus();
// The colour shown at a point of the screen, as $00BBGGRR.
unsigned PixelAt(int X, int Y);

}  // namespace menusx
