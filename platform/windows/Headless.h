// The headless backend: top-level windows with back buffers but no display.  Tests
// use it to inject mouse and keyboard input through the same routing the X11
// backend feeds, to drive time, and to read back pixels.
//
// Time is virtual: the clock starts at 1000 ms and moves only when a loop waits for
// a timer (it jumps to the timer) or a test calls AdvanceTime.  A wait with nothing
// that could ever end it (no timer, no input, no other thread's call) calls the idle
// handler, or fails with std::runtime_error after a few seconds instead of hanging.
#pragma once

#include <functional>
#include <vector>

#include "platform/windows/Backend.h"
#include "platform/windows/Windows.h"

struct THeadlessOptions {
    std::vector<TMonitorInfo> Monitors{{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true}};
    bool Compositing = true;
};

// Replaces the window clock (milliseconds); an empty function restores the real one.
void SetWindowClock(std::function<uint64_t()> Clock);
// Called for every pointer move and when the pointer leaves every window: the deepest
// enabled window under the pointer (nullptr outside), whatever holds the capture.
void SetMouseMoveHook(std::function<void(HWND UnderPointer, TPoint Screen)> Hook);
// The window manager moved the focus into (or out of) one of our top-level windows.
void NativeFocusChanged(HWND Top, bool In);

namespace Headless {

// Installs a fresh headless backend (and virtual clock).  Windows still open stay,
// without a native side.
void Install(const THeadlessOptions& Options = {});
bool Active();

uint64_t Now();
void AdvanceTime(uint64_t Ms);
// The monitors change (as when a screen is added or resized): WM_DISPLAYCHANGE is posted
// to every top-level window.
void SetMonitors(const std::vector<TMonitorInfo>& Monitors);
// Called when a loop would wait for ever; return false to fail the wait.
void SetIdleHandler(std::function<bool()> Handler);

// Input, queued like a display's events (run by the next message loop pass).
void MouseMove(TPoint Screen);
void MouseDown(TPoint Screen, int Button = 1);
void MouseUp(TPoint Screen, int Button = 1);
void Click(TPoint Screen, int Button = 1);
void Wheel(TPoint Screen, int Delta);
void PointerLeft();
// A key press; Text is what it types (by default from the key and the shift state).
void KeyDown(int VirtualKey, const String& Text = "\x01");
void KeyUp(int VirtualKey);
void Key(int VirtualKey);  // press and release
void Type(const String& Text);  // committed text, as from an input method
// Client-point helpers: the screen point of a window's client point.
TPoint ScreenPoint(HWND Wnd, TPoint Client);

// Runs queued messages, paints and due timers (Translate + Dispatch), without waiting.
void ProcessPending();

// The pixel of a top-level's back buffer as 0xAARRGGBB (window coordinates).
uint32_t Pixel(HWND Top, int X, int Y);
// The colour of a pixel as TColor ($00BBGGRR), alpha ignored.
TColor PixelColor(HWND Wnd, TPoint Client);

// What the headless "window manager" knows of a top-level.
struct TTopInfo {
    bool Shown = false, Iconified = false, Focused = false, Grabbed = false;
    int Shape = 0;  // rectangles in its shape (0 = none)
    int Cursor = 0;
    String Title;
};
TTopInfo TopInfo(HWND Top);

}  // namespace Headless
