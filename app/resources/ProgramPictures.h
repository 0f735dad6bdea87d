// The program's own pictures, compiled into the program: named PNG pictures with alpha.
// The pictures of one list are named "<list>.<index>":
//   "toolbar"  9 of 48 x 48   (add 0, remove, clear, start, stop, pause, options 6, folder, skin 8)
//   "preview"  7 of 24 x 24   (play, pause, stop, mute, unmute, snapshot, settings)
//   "preset"   3 of 32 x 32   (one emblem in three colours; bsPngImageList3)
//   "category" 24 of 36 x 36  (one per output category; bsPngImageList5)
//   "settings" 12 of 32 x 32  (the settings dialog's categories; TForm6.ImageList1)
// and single pictures: the button glyphs "Image2" to "Image17" (odd: enabled, even:
// disabled, except rename: "Image16" enabled, "Image17" disabled), "moveup", "movedown"
// and their ".disabled" forms (16 x 16); "settings.image" (TForm6.Image1, 48 x 48),
// "about" (the about box's Image1, 87 x 83), "emptylist" (the empty job list's picture)
// and "still" (the preview screen's still picture).
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"
#include "skin/core/bsPngImageList.h"

// Loads the picture Name into APng; false (APng untouched) when there is no such picture.
bool LoadProgramPicture(const String& Name, TPngImage* APng);
// The names of every picture, in the program's order.
std::vector<String> ProgramPictureNames();
// The number of pictures of a list.
int ProgramListCount(const String& AList);
// Fills a PNG image list with the pictures of a list (the list takes their size); returns
// the count.
int FillProgramImageList(const String& AList, TbsPngImageList* AImages);
// The same for a plain image list: each picture over Back, with Back as its mask colour.
int FillProgramImageList(const String& AList, TCustomImageList* AImages, TColor Back);
// The picture as a 24-bit bitmap over Back, its untouched pixels in AKey (so that drawing
// it transparently, keyed by its bottom-left pixel, leaves them out); null when there is
// no such picture.  For image controls and button glyphs.
std::unique_ptr<TBitmap> ProgramBitmap(const String& Name, TColor Back, TColor AKey = TColor(0xFF00FF));
