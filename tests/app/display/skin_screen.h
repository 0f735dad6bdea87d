// What the display tests of the program's windows share: the program skin's colours as
// the screen shows them, pixel counts of photographed rectangles (dark text, white
// caption text, the platform's own face colour of a control in the default look),
// screenshots kept as portable pixmaps (VC_TEST_SHOTS), and a pump of the
// message loop until a condition holds.
#pragma once

#include "platform/forms/Controls.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace skinscreen {

// The palette's colours as the screen shows them (0xRRGGBB).
constexpr uint32_t Accent = 0x2579DE, Face = 0xF3F5F8, Surface = 0xFFFFFF, Line = 0xC8CED7;
// The platform's own button face: a control drawn in the default look shows it.
constexpr uint32_t DefaultFace = 0xD4D0C8;

// Darker than mid grey: drawn text.
bool IsDark(uint32_t C);
int Count(const std::vector<uint32_t>& APixels, const std::function<bool(uint32_t)>& AWhich);

uint32_t At(int X, int Y);
// The control's client area on the screen.
TRect OnScreen(TControl* C);
// The pixels of a screen rectangle, row by row, as 0xRRGGBB.
std::vector<uint32_t> Grab(const TRect& R);
int DarkIn(const TRect& R);
int DefaultLookIn(const TRect& R);
// White pixels in the caption band of a window (its text on the accent).
int CaptionText(const TRect& AWindow, int AWidth = 240);

// Writes the pixels of R as the portable pixmap AFileName in the folder for screenshots
// (VC_TEST_SHOTS); nothing when there is none.
void Save(const std::vector<uint32_t>& APixels, const TRect& R, const String& AFileName);
// Grabs R, saves it as AFileName (see Save) and returns its pixels.
std::vector<uint32_t> Shot(const TRect& R, const String& AFileName);

// Runs the message loop until ADone holds, at most ATurns turns of 5 ms apart.
bool Pump(const std::function<bool()>& ADone, int ATurns = 2000);
// Lets input and painting settle for ATurns turns.
void Settle(int ATurns = 40);

}  // namespace skinscreen
