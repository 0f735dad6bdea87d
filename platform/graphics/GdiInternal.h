// Internal structures behind the graphics handles (not for use outside platform/graphics).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Gdi.h"

using PGdiObject = std::shared_ptr<TGdiObject>;

struct TBitmapData : TGdiBitmap {
    PSurface Surface;            // null for the 1 x 1 default bitmap of a memory DC
    bool IsDIBSection = false;   // made by CreateDIBSection (GetObject gives a DIBSECTION)
    int ReportedBpp = 32;        // 1 for monochrome bitmaps kept as 32-bit pixels
};

struct TRegionData : TGdiRegion {
    TRegion Region;
};

struct TPenData : TGdiPen {
    UINT Style = PS_SOLID;
    int Width = 1;
    COLORREF Color = 0;
};

struct TBrushData : TGdiBrush {
    UINT Style = BS_SOLID;
    COLORREF Color = 0;
};

struct TFontFace;
struct TFontData : TGdiFont {
    LOGFONT Log;
    std::shared_ptr<TFontFace> Face;   // resolved lazily by the text code
};

struct TDCState {
    TPoint ViewportOrg, WindowOrg;
    std::optional<TRegion> ClipRgn;    // device coordinates; none: no clip region
    std::shared_ptr<TBitmapData> Bitmap;
    std::shared_ptr<TPenData> Pen;
    std::shared_ptr<TBrushData> Brush;
    std::shared_ptr<TFontData> Font;
    COLORREF TextColor = 0, BkColor = 0xFFFFFF;
    int BkMode = OPAQUE, StretchMode = BLACKONWHITE, Rop2 = R2_COPYPEN;
    TPoint PenPos;
};

struct TDCData : TDeviceContext {
    enum class TType { Memory, Surface, Screen } Type = TType::Memory;
    TDCState S;
    std::vector<TDCState> Saved;
    PSurface FixedSurface;             // surface and screen DCs
    TPoint Origin;                     // device (0, 0) on the surface
    std::optional<TRegion> Visible;    // surface coordinates; none: the whole surface
    TSize DeviceSize;
    void* UserData = nullptr;

    // Cached clip in surface coordinates.
    bool ClipDirty = true;
    TRegion ClipCache;

    PSurface Surface() const;
    const TRegion& Clip();
    void InvalidateClip() { ClipDirty = true; }
    // Logical point to surface point.
    TPoint ToSurface(int X, int Y) const
    {
        return {X - S.WindowOrg.X + S.ViewportOrg.X + Origin.X, Y - S.WindowOrg.Y + S.ViewportOrg.Y + Origin.Y};
    }
    TPoint LogicalToDevice(int X, int Y) const
    {
        return {X - S.WindowOrg.X + S.ViewportOrg.X, Y - S.WindowOrg.Y + S.ViewportOrg.Y};
    }
    TPoint SurfaceShift() const { return ToSurface(0, 0); }
};

// Handle table: every live handle is registered; lookups check kind and liveness.
HGDIOBJ RegisterGdiObject(PGdiObject Obj);
// A stock object: never removed by DeleteObject.
HGDIOBJ RegisterStockObject(PGdiObject Obj);
PGdiObject LookupGdiObject(HGDIOBJ H);
// Removes any live handle (DCs included); false when it was not live.
bool UnregisterGdiObject(HGDIOBJ H);
template <class T>
std::shared_ptr<T> Lookup(HGDIOBJ H, DWORD Kind)
{
    PGdiObject O = LookupGdiObject(H);
    if (!O || O->Kind != Kind) return nullptr;
    return std::static_pointer_cast<T>(O);
}
inline std::shared_ptr<TDCData> LookupDC(HDC DC) { return Lookup<TDCData>(DC, OBJ_DC); }

// Replaces one point of a DC's state (origins, pen position), giving the old one.
inline BOOL SetDCPoint(HDC DC, TPoint TDCState::*Field, TPoint V, POINT* Old)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    if (Old) *Old = D->S.*Field;
    D->S.*Field = V;
    return TRUE;
}

inline BOOL GetDCPoint(HDC DC, TPoint TDCState::*Field, POINT* Out)
{
    auto D = LookupDC(DC);
    if (!D || !Out) return FALSE;
    *Out = D->S.*Field;
    return TRUE;
}

// Stock objects as shared pointers (for the initial DC state).
std::shared_ptr<TPenData> StockPen(int Index);
std::shared_ptr<TBrushData> StockBrush(int Index);
std::shared_ptr<TFontData> StockFont();

// Pixel helpers shared by the drawing files.
namespace gdi {

// A view of pixel memory: a surface or a caller's DIB buffer.
struct TPixelView {
    uint8_t* Bits = nullptr;
    int Width = 0, Height = 0, Bpp = 32, Stride = 0;
    bool BottomUp = false;
    uint8_t* Row(int Y) const { return Bits + size_t(BottomUp ? Height - 1 - Y : Y) * Stride; }
    uint32_t Get(int X, int Y) const;             // 0xAARRGGBB
    void Put(int X, int Y, uint32_t ARGB) const;  // alpha dropped for 24 bits
};
TPixelView ViewOf(TSurface& S);

// COLORREF (0x00BBGGRR) to the pixel value GDI primitives write (alpha 0).
inline uint32_t PixelOf(COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }
inline COLORREF ColorRefOf(uint32_t Px) { return ((Px >> 16) & 0xFF) | (Px & 0xFF00) | ((Px & 0xFF) << 16); }

// Calls Fn(y, x0, x1) for every part of the span [x0, x1) on row y (surface coordinates)
// that lies inside Clip.
template <class F>
void ForClippedSpan(const TRegion& Clip, int Y, int X0, int X1, F&& Fn)
{
    if (X1 <= X0) return;
    const auto& Rs = Clip.Rects();
    for (size_t i = Clip.FirstBelow(Y); i < Rs.size(); ++i) {
        const TRect& R = Rs[i];
        if (R.Top > Y) break;
        int a = X0 > R.Left ? X0 : R.Left, b = X1 < R.Right ? X1 : R.Right;
        if (a < b) Fn(Y, a, b);
    }
}

// Fills [x0, x1) on row y of S with the pixel value (surface coordinates, unclipped).
void FillSpan(TSurface& S, int Y, int X0, int X1, uint32_t Px);
// Fills a surface rectangle within Clip.
void FillClipped(TSurface& S, const TRegion& Clip, const TRect& R, uint32_t Px);

}  // namespace gdi

// ---- text ------------------------------------------------------------------------------
// A resolved font: family list, pixel size and whole-pixel metrics.
struct TFontFace {
    int Ascent = 0, Descent = 0, Height = 0, InternalLeading = 0;
    int AveCharWidth = 0, MaxCharWidth = 0, Weight = FW_NORMAL;
    bool Italic = false, Underline = false, StrikeOut = false;
    int Charset = DEFAULT_CHARSET;
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
    ~TFontFace();
};

namespace gdi {

// The face of a font object (resolved once and cached by its description).
std::shared_ptr<TFontFace> FaceOf(TFontData& Font);
// Width in pixels of one line of UTF-8 text (no line breaks are interpreted).
int TextWidth(TFontFace& Face, std::string_view Text);
// The extent of every prefix of one line of UTF-8 text, from one layout: entry I is the
// width of the first I + 1 characters (code points; a byte that is not UTF-8 counts as
// one), so kerning and shaping across the whole line are kept.  The entries never
// decrease; a combining mark adds nothing past its base character; the last entry is
// the line's width.
std::vector<int> TextExtents(TFontFace& Face, std::string_view Text);
// Draws one line of text with its cell's top-left at surface point (X, Y), within
// Clip, in Color; the bytes [UlStart, UlEnd) are underlined in addition to the font's
// own style.  Pixels touched get alpha 0 on 32-bit surfaces.  RightToLeft sets the
// base direction of the line (right-to-left reading); the line is otherwise read left
// to right, whatever its characters.
void DrawTextRun(TSurface& S, const TRegion& Clip, TFontFace& Face, std::string_view Text, int X, int Y,
                 COLORREF Color, int UlStart = -1, int UlEnd = -1, bool RightToLeft = false);

}  // namespace gdi

struct TIconData : TGdiIcon {
    PSurface Pixels;     // 32 bits, straight alpha
    bool Cursor = false;
    TPoint Hotspot;
};
