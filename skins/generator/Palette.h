// The program's one palette: a light flat theme with a single blue accent.  The skin and
// the program's pictures are drawn from it alone; magenta is the key colour of cells
// drawn with a transparent background and never appears in artwork.
#pragma once

#include "platform/system/Types.h"

namespace skingen {

constexpr TColor Accent = RGB(37, 121, 222);
constexpr TColor AccentDark = RGB(24, 92, 178);
constexpr TColor AccentHot = RGB(72, 146, 234);
constexpr TColor AccentPale = RGB(226, 238, 252);
constexpr TColor AccentPaleLine = RGB(148, 189, 240);
constexpr TColor Face = RGB(243, 245, 248);      // forms, panels, buttons' surroundings
constexpr TColor FaceDeep = RGB(232, 236, 241);  // tabs in the background
constexpr TColor Surface = RGB(255, 255, 255);   // edits, lists, menus
constexpr TColor Line = RGB(200, 206, 215);      // borders
constexpr TColor LineSoft = RGB(223, 227, 233);  // dividers, disabled borders
constexpr TColor Ink = RGB(33, 39, 48);          // text
constexpr TColor InkMuted = RGB(112, 121, 134);  // secondary text, arrows
constexpr TColor InkDisabled = RGB(164, 170, 180);
constexpr TColor Track = RGB(233, 236, 241);
constexpr TColor ThumbFace = RGB(188, 196, 207);
constexpr TColor Danger = RGB(222, 60, 60);
constexpr TColor DangerDark = RGB(178, 36, 36);
constexpr TColor Success = RGB(46, 160, 90);
constexpr TColor Warning = RGB(232, 150, 30);
constexpr TColor CaptionInactive = RGB(138, 150, 168);
constexpr TColor HintFace = RGB(52, 59, 70);
constexpr TColor White = RGB(255, 255, 255);
constexpr TColor Key = RGB(255, 0, 255);

// The installed Chinese face and the text height of the skin (9 pt at 96 dpi).
inline constexpr const char* FontFace = "WenQuanYi Micro Hei";
constexpr int FontHeight = 14;

}  // namespace skingen
