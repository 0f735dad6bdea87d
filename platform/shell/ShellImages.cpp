// The system image list of the shell namespace (placeholder handle until the image
// lists are in place).
#include "platform/shell/ShlObj.h"

uintptr_t ShellImageListHandle(bool Small) { return Small ? 1 : 2; }
