// The program's stored skin and pictures, compiled into the program from the output of
// skins/generator (see skins/CMakeLists.txt).  Use them through ProgramSkin.h and
// ProgramPictures.h.
#pragma once

#include <cstddef>

namespace vcres {

struct TResourceEntry {
    const char* Name;
    const unsigned char* Data;
    size_t Size;
};

// The stored skin in container form (int32 3, int32 N, zlib stream).
extern const unsigned char ProgramSkinBytes[];
extern const size_t ProgramSkinSize;
// The pictures as PNG files, by name.
extern const TResourceEntry ProgramPictureTable[];
extern const size_t ProgramPictureCount;

}  // namespace vcres
