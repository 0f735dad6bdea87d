// Screen pixels read back on a display connection of the test's own (kept apart from
// the forms, whose Screen object shares a name with Xlib's).
#pragma once

#include <cstdint>
#include <vector>

namespace screentest {

// False when no display can be opened.
bool OpenScreen();
void CloseScreen();
// The pixel at (X, Y) of the root window as 0xRRGGBB; 0xFFFFFFFF when unreadable.
uint32_t ScreenPixel(int X, int Y);
// The pixels of a rectangle of the root window, row by row, as 0xRRGGBB; empty when
// unreadable.
std::vector<uint32_t> ScreenRect(int X, int Y, int AWidth, int AHeight);

}  // namespace screentest
