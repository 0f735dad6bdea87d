// System colours: one fixed classic table.
#include "platform/graphics/GdiInternal.h"
#include "platform/graphics/Graphics.h"

namespace {

// 0x00BBGGRR by COLOR_ index.
constexpr COLORREF SysColors[] = {
    0xC8C8C8,  // 0 scroll bar
    0x000000,  // 1 background (desktop)
    0x6A240A,  // 2 active caption
    0x808080,  // 3 inactive caption
    0xFFFFFF,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC8D0D4,  // 10 active border
    0xC8D0D4,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x6A240A,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC8D0D4,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC8D0D4,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3-D dark shadow
    0xC8D0D4,  // 22 3-D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
    0xB5B5B5,  // 25 (unused)
    0x800000,  // 26 hot light
    0xF0CAA6,  // 27 gradient active caption
    0xC0C0C0,  // 28 gradient inactive caption
    0x6A240A,  // 29 menu highlight
    0xC8D0D4,  // 30 menu bar
};
constexpr int SysColorCount = int(sizeof SysColors / sizeof SysColors[0]);

}  // namespace

COLORREF GetSysColor(int Index)
{
    return Index >= 0 && Index < SysColorCount ? SysColors[Index] : 0;
}

HBRUSH GetSysColorBrush(int Index)
{
    static HBRUSH Brushes[SysColorCount] = {};
    if (Index < 0 || Index >= SysColorCount) return nullptr;
    if (!Brushes[Index]) Brushes[Index] = CreateSolidBrush(SysColors[Index]);
    return Brushes[Index];
}

TColor ColorToRGB(TColor Color)
{
    if (Color < 0) return TColor(GetSysColor(Color & 0xFF));
    return Color & 0xFFFFFF;
}
