// Synthetic keys through the X server for the file dialogs' display tests (kept apart from
// the window system's headers, whose names clash with Xlib's).
#pragma once

#include <string>

namespace filedlgx {

bool Open();
void Close();
// Presses or releases the key of an X key name ("Return", "Shift_L", "a").
void KeyDown(const std::string& Name);
void KeyUp(const std::string& Name);
// Types plain letters, digits and "." one key each.
void TypeText(const std::string& Text);

}  // namespace filedlgx
