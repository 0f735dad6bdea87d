// Another client of an X server: what a window tool does to the program's windows.
#pragma once

#include <sys/types.h>

#include <string>

namespace foreignclient {

// Destroys every viewable top-level window of the process APid (by its _NET_WM_PID) on
// the display ADisplay; the number destroyed, or -1 when the display does not open.
int DestroyWindowsOf(const std::string& ADisplay, pid_t APid);

}  // namespace foreignclient
