// Pixels of the screen read through a second connection to the display, for the form
// frame's display tests (kept apart from the window system's headers, whose names clash
// with Xlib's).
#pragma once

#include <cstdint>

namespace framedisplay {

bool Open();
void Close();
// The screen pixel at (X, Y) as $00BBGGRR, or -1 when it cannot be read.
int64_t ScreenPixel(int X, int Y);

}  // namespace framedisplay
