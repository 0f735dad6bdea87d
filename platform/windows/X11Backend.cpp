// The X11 backend (being written): no display yet.
#include "platform/windows/Backend.h"

std::unique_ptr<TWindowBackend> MakeX11Backend() { return nullptr; }
