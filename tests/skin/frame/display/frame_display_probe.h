// Pixels of the screen read through a second connection to the display, for the form
// frame's display tests (kept apart from the window system's headers, whose names clash
// with Xlib's).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace framedisplay {

bool Open();
void Close();
// The screen pixel at (X, Y) as $00BBGGRR, or -1 when it cannot be read.
int64_t ScreenPixel(int X, int Y);
// The screen rectangle's pixels, row by row, as $00RRGGBB (empty when it cannot be read).
std::vector<uint32_t> ScreenRect(int X, int Y, int W, int H);
// Writes W x H pixels of ScreenRect as the portable pixmap FileName in the folder for
// screenshots (VC_TEST_SHOTS); nothing when there is none.
void SavePixmap(const std::vector<uint32_t>& Pixels, int W, int H, const std::string& FileName);
// Synthetic input through the server: the pointer to (X, Y), a press and release of
// Button (1 left, 3 right).
void MovePointer(int X, int Y);
void ClickButton(int Button);
// A press (Down) or a release of Button alone, for drags.
void PressButton(int Button, bool Down);

}  // namespace framedisplay
