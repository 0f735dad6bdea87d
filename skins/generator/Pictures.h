// The program's own pictures (tool-bar and preview pictures, button glyphs, category and
// preset pictures, the about box's and the empty list's pictures), drawn from the skin's
// palette.  Each has a name; pictures of one list are named "<list>.<index>".
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace skingen {

struct TProgramPictureArt {
    String Name;
    std::unique_ptr<TPngImage> Png;
};

std::vector<TProgramPictureArt> BuildProgramPictures();

}  // namespace skingen
