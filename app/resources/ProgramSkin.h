// The program's own stored skin, compiled into the program.  The main window's skin list
// holds it at index 0, and both of the window's skin data objects load it from there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/core/bsSkinData.h"

// The stored skin in container form (int32 3, int32 length, zlib stream).
const uint8_t* ProgramSkinBytes();
size_t ProgramSkinSize();

// Fills a stored skin with the program's skin.
void LoadProgramStoredSkin(TbsCompressedStoredSkin* ASkin);
// Makes item 0 of the list hold the program's skin (adding the item to an empty list).
void InstallProgramSkin(TbsCompressedSkinList* AList);
// Loads the program's skin into a skin data object directly (as the skin list would).
void LoadProgramSkin(TbsSkinData* ASkinData);
