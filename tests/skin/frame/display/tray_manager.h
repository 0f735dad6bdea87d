// A stand-in tray manager for the tray icon's display tests: it owns the tray selection
// of the screen and records the windows that ask to be docked.  Kept apart from the
// window system's headers, whose names clash with Xlib's.
#pragma once

namespace traymanager {

bool Start();
void Stop();
// The window of the last dock request seen so far (0 when none).
unsigned long DockedWindow();
// Sends a press and a release of Button to a window.
void ClickWindow(unsigned long Window, unsigned Button);

}  // namespace traymanager
