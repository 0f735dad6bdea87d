// The program's skin, authored in code: one cell table places every look in the control
// atlas and gives the records their rectangles; the records are plain record objects of
// the skin library, so the library's own writer spells every key.
#pragma once

#include <memory>
#include <vector>

#include "skin/core/bsSkinData.h"

namespace skingen {

// One look of the atlas: its place, and whether its empty pixels carry the key colour
// (the bottom-left pixel of such a cell is always the key colour).
struct TPlacedCell {
    String Name;
    TRect R;
    bool Keyed;
};

// The cells in atlas order with their places.
const std::vector<TPlacedCell>& AtlasCells();
// The place of a cell by name; raises for an unknown name.
TRect Cell(const String& Name);

// Fills ASkinData with the whole skin: pictures, frame geometry, colours, window records,
// objects and controls, with the picture file names of the skin folder.
void BuildProgramSkin(TbsSkinData* ASkinData);

}  // namespace skingen
