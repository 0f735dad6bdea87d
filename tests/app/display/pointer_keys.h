// Synthetic pointer and key input through the display server for the main window's
// display tests: a button held down and let go apart, and single key taps (kept apart
// from the window system's headers, whose names clash with Xlib's).
#pragma once

namespace pointerkeys {

bool Open();
void Close();
void MovePointer(int X, int Y);
// Button 1 is the left button.
void PressButton(int Button);
void ReleaseButton(int Button);
// A press and release of the key named by its keysym name ("Tab", "Return", "Escape").
void TapKey(const char* AKeySymName);
// A key held down and let go apart ("Control_L", "Shift_L"), for modified clicks.
void PressKey(const char* AKeySymName);
void ReleaseKey(const char* AKeySymName);

}  // namespace pointerkeys
