// The message loop turned by the skin's display tests while the X server catches up.
#pragma once

#include <unistd.h>

#include <functional>

#include "platform/forms/Forms.h"

namespace displaypump {

// Turns the loop until Done holds (true) or about two seconds have passed (false).
inline bool PumpUntil(const std::function<bool()>& Done)
{
    for (int I = 0; I < 400; ++I) {
        Application->ProcessMessages();
        if (Done()) return true;
        usleep(5000);
    }
    return false;
}

// Turns the loop for about a tenth of a second, for what has no condition to wait on.
inline void Settle()
{
    for (int I = 0; I < 20; ++I) {
        Application->ProcessMessages();
        usleep(5000);
    }
}

}  // namespace displaypump
