// A stand-in tray manager for the display tests: it owns _NET_SYSTEM_TRAY_S<screen>
// and records the windows that ask to be docked.  Kept apart from the window system's
// headers, whose names clash with Xlib's.
#pragma once

namespace faketray {

bool Start();
void Stop();
// The window of the last dock request seen so far (0 when none).
unsigned long DockedWindow();
// Sends a press and a release of the left button to a window.
void ClickWindow(unsigned long Window);

}  // namespace faketray
