// Drawing functions in the familiar flat style: device contexts, bitmaps, pens,
// brushes, fonts, regions, block transfers and text.
//
// What the drawing calls do to pixels:
// - Coordinates are logical: device point = logical point - window origin + viewport
//   origin.  Rectangles exclude their right and bottom edges; lines exclude their end point.
// - Lines, fills, shapes and text write alpha 0 into 32-bit surfaces; block transfers
//   (BitBlt, StretchBlt, TransparentBlt, the DIB transfers) copy all four bytes.
// - BitBlt supports SRCCOPY only (other raster operations return FALSE).
// - Stretching is nearest-neighbour: destination pixel i of a span of Dw pixels takes
//   source pixel (2i + 1) * Sw / (2 Dw) of a span of Sw pixels.  A negative extent
//   mirrors: the span runs from Origin + Extent (inclusive) to Origin (exclusive), the
//   way a rectangle with swapped corners is normalised, and pixels are taken in
//   reverse order when exactly one of source and destination extent is negative.
// - StretchDIBits and SetDIBitsToDevice measure the source y from the image's bottom
//   edge (bottom-left origin), whatever the row order of the DIB.
// - AlphaBlend: with AC_SRC_ALPHA the source is premultiplied; per channel
//   d = s * C / 255 + d * (255 - sa * C / 255) / 255, with C the constant alpha and each
//   division rounded to nearest.  Without AC_SRC_ALPHA, d = (s * C + d * (255 - C)) / 255.
#pragma once

#include <cstddef>

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/WinDef.h"

// ---- object kinds and stock objects ------------------------------------------------
constexpr DWORD OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_FONT = 6, OBJ_BITMAP = 7,
                OBJ_REGION = 8, OBJ_MEMDC = 10;
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3,
              BLACK_BRUSH = 4, NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6,
              BLACK_PEN = 7, NULL_PEN = 8, SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17;

// ---- raster, background and stretch modes --------------------------------------------
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int R2_NOT = 6, R2_COPYPEN = 13;

// ---- pens and brushes ---------------------------------------------------------------------
constexpr UINT PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
               PS_NULL = 5, PS_INSIDEFRAME = 6;
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1;
struct LOGPEN { UINT lopnStyle = PS_SOLID; POINT lopnWidth; COLORREF lopnColor = 0; };
struct LOGBRUSH { UINT lbStyle = BS_SOLID; COLORREF lbColor = 0; uintptr_t lbHatch = 0; };

// ---- bitmaps -------------------------------------------------------------------------------
constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
struct BITMAP {
    LONG bmType = 0, bmWidth = 0, bmHeight = 0, bmWidthBytes = 0;
    WORD bmPlanes = 1, bmBitsPixel = 0;
    void* bmBits = nullptr;
};
struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0, biHeight = 0;     // negative height: top-down rows
    WORD biPlanes = 1, biBitCount = 0;
    DWORD biCompression = BI_RGB, biSizeImage = 0;
    LONG biXPelsPerMeter = 0, biYPelsPerMeter = 0;
    DWORD biClrUsed = 0, biClrImportant = 0;
};
struct RGBQUAD { BYTE rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0; };
struct BITMAPINFO { BITMAPINFOHEADER bmiHeader; RGBQUAD bmiColors[1]; };
struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3] = {0, 0, 0};
    void* dshSection = nullptr;
    DWORD dsOffset = 0;
};
struct BLENDFUNCTION { BYTE BlendOp = 0, BlendFlags = 0, SourceConstantAlpha = 255, AlphaFormat = 0; };
constexpr BYTE AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;

// ---- regions -----------------------------------------------------------------------------
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3;
constexpr DWORD RDH_RECTANGLES = 1;
struct RGNDATAHEADER { DWORD dwSize = 32, iType = RDH_RECTANGLES, nCount = 0, nRgnSize = 0; RECT rcBound; };
// Header followed by nCount rectangles (Buffer is where they start).
struct RGNDATA { RGNDATAHEADER rdh; char Buffer[1]; };
struct XFORM;

// ---- text ------------------------------------------------------------------------------------
constexpr UINT DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
               DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
               DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200,
               DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
               DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000,
               DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
               DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
               DT_PREFIXONLY = 0x200000;
struct DRAWTEXTPARAMS { UINT cbSize = 20; int iTabLength = 0, iLeftMargin = 0, iRightMargin = 0; UINT uiLengthDrawn = 0; };

constexpr LONG FW_NORMAL = 400, FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128, HANGEUL_CHARSET = 129,
               GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136;
constexpr int LF_FACESIZE = 64;        // bytes of UTF-8, terminating zero included
struct LOGFONT {
    LONG lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = FW_NORMAL;
    BYTE lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0, lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};
struct TEXTMETRIC {
    LONG tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0,
         tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 0, tmOverhang = 0,
         tmDigitizedAspectX = 96, tmDigitizedAspectY = 96;
    BYTE tmItalic = 0, tmUnderlined = 0, tmStruckOut = 0, tmPitchAndFamily = 0, tmCharSet = 0;
};

// ---- device capabilities ---------------------------------------------------------------------
constexpr int HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24,
              LOGPIXELSX = 88, LOGPIXELSY = 90;
constexpr int ScreenDPI = 96;

// ---- device contexts -----------------------------------------------------------------------
HDC CreateCompatibleDC(HDC DC);
HDC CreateDC(const char* Driver, const char* Device = nullptr, const char* Output = nullptr, const void* Init = nullptr);
BOOL DeleteDC(HDC DC);
int GetDeviceCaps(HDC DC, int Index);
HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj);
HGDIOBJ GetCurrentObject(HDC DC, UINT Kind);
int SaveDC(HDC DC);
BOOL RestoreDC(HDC DC, int Saved);   // Saved > 0: that level; < 0: that many back

BOOL SetViewportOrgEx(HDC DC, int X, int Y, POINT* Old);
BOOL GetViewportOrgEx(HDC DC, POINT* P);
BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, POINT* Old);
BOOL SetWindowOrgEx(HDC DC, int X, int Y, POINT* Old);
BOOL GetWindowOrgEx(HDC DC, POINT* P);

int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int SelectClipRgn(HDC DC, HRGN Rgn);                  // region in device coordinates; 0 removes the clip
int ExtSelectClipRgn(HDC DC, HRGN Rgn, int Mode);
int GetClipBox(HDC DC, RECT* R);                       // logical coordinates
int GetClipRgn(HDC DC, HRGN Rgn);                      // 1 and a copy, 0 when there is no clip region, -1 on error
BOOL PtVisible(HDC DC, int X, int Y);

COLORREF SetTextColor(HDC DC, COLORREF C);
COLORREF GetTextColor(HDC DC);
COLORREF SetBkColor(HDC DC, COLORREF C);
COLORREF GetBkColor(HDC DC);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
int SetStretchBltMode(HDC DC, int Mode);
int GetStretchBltMode(HDC DC);
int SetROP2(HDC DC, int Mode);
int GetROP2(HDC DC);

// ---- objects ---------------------------------------------------------------------------------------
BOOL DeleteObject(HGDIOBJ Obj);
HGDIOBJ GetStockObject(int Index);
DWORD GetObjectType(HGDIOBJ Obj);
// Fills Out with a BITMAP, DIBSECTION, LOGPEN, LOGBRUSH or LOGFONT; returns the bytes written
// (with Out null: the bytes needed), 0 on error.  A bitmap gives a DIBSECTION only when
// it was made by CreateDIBSection and Size asks for one.
int GetObject(HGDIOBJ Obj, int Size, void* Out);

HPEN CreatePen(int Style, int Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN* Pen);
HBRUSH CreateSolidBrush(COLORREF Color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush);
HFONT CreateFontIndirect(const LOGFONT* Font);

HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, UINT Usage, void** Bits, void* Section, DWORD Offset);
HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height);
// A bitmap of 32 or 24 bits (or 1 bit, stored as black and white pixels) with rows of
// Bits (top-down, rows padded to 2 bytes as the call's convention has it) when given.
HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitsPerPixel, const void* Bits);
PSurface GetBitmapSurface(HBITMAP Bitmap);
int GetDIBits(HDC DC, HBITMAP Bitmap, UINT Start, UINT Lines, void* Bits, BITMAPINFO* Info, UINT Usage);
int SetDIBitsToDevice(HDC DC, int XDest, int YDest, DWORD W, DWORD H, int XSrc, int YSrc, UINT StartScan,
                      UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT Usage);
int StretchDIBits(HDC DC, int XDest, int YDest, int DestW, int DestH, int XSrc, int YSrc, int SrcW,
                  int SrcH, const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop);

// ---- block transfers -------------------------------------------------------------------------
BOOL BitBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop);
BOOL StretchBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, DWORD Rop);
BOOL TransparentBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, UINT Key);
BOOL AlphaBlend(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, BLENDFUNCTION Blend);

// ---- lines, shapes and fills ---------------------------------------------------------------
BOOL MoveToEx(HDC DC, int X, int Y, POINT* Old);
BOOL LineTo(HDC DC, int X, int Y);
BOOL GetCurrentPositionEx(HDC DC, POINT* P);
BOOL Polyline(HDC DC, const POINT* Points, int Count);
BOOL Polygon(HDC DC, const POINT* Points, int Count);
BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int EllipseW, int EllipseH);
int FillRect(HDC DC, const RECT* R, HBRUSH Brush);
int FrameRect(HDC DC, const RECT* R, HBRUSH Brush);
BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush);          // region in logical coordinates
// Inverts every other pixel along the edges of R (drawing it twice removes it).
BOOL DrawFocusRect(HDC DC, const RECT* R);
COLORREF SetPixel(HDC DC, int X, int Y, COLORREF C);
COLORREF GetPixel(HDC DC, int X, int Y);               // CLR_INVALID outside the surface or clip
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ---- regions ---------------------------------------------------------------------------------------
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const RECT* R);
HRGN ExtCreateRegion(const XFORM* Transform, DWORD Size, const RGNDATA* Data);
// Wraps a region value in a handle (the caller deletes it); and reads a handle's region.
HRGN CreateRegionHandle(const TRegion& R);
const TRegion* GetRegionOf(HRGN Rgn);
BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom);
int CombineRgn(HRGN Dst, HRGN Src1, HRGN Src2, int Mode);
int OffsetRgn(HRGN Rgn, int DX, int DY);
BOOL PtInRegion(HRGN Rgn, int X, int Y);
BOOL RectInRegion(HRGN Rgn, const RECT* R);
BOOL EqualRgn(HRGN A, HRGN B);
int GetRgnBox(HRGN Rgn, RECT* R);
// Writes RGNDATA (header and rectangles) when Size is large enough; returns the size needed.
DWORD GetRegionData(HRGN Rgn, DWORD Size, RGNDATA* Data);

// ---- text --------------------------------------------------------------------------------------------
// Text is UTF-8; Count is a byte count, -1 for the whole zero-terminated text.  The
// wide forms take the same UTF-8 text (the program's strings are UTF-8 throughout).
BOOL TextOut(HDC DC, int X, int Y, const char* Text, int Count);
BOOL GetTextExtentPoint32(HDC DC, const char* Text, int Count, SIZE* Size);
// The extents of every prefix of one line, measured as one line: Dx[I] gets the width
// of the first I + 1 characters (code points, a byte that is not UTF-8 counting as one),
// so Dx needs room for one entry per character (one per byte always suffices).  With
// Fit, *Fit gets how many characters fit within MaxExtent.  Size gets the whole text's
// extent.  Dx, Fit and Size may each be null.
BOOL GetTextExtentExPoint(HDC DC, const char* Text, int Count, int MaxExtent, int* Fit, int* Dx, SIZE* Size);
BOOL GetTextMetrics(HDC DC, TEXTMETRIC* TM);
// Draws (or with DT_CALCRECT measures) Text in R; returns the height of the text drawn,
// 0 on failure.  With DT_VCENTER or DT_BOTTOM the value is the offset from R.Top to the
// text's bottom, as the flat call has it.
int DrawText(HDC DC, const char* Text, int Count, RECT* R, UINT Format);
int DrawTextW(HDC DC, const char* Text, int Count, RECT* R, UINT Format);
int DrawTextEx(HDC DC, const char* Text, int Count, RECT* R, UINT Format, DRAWTEXTPARAMS* Params);
// Tab stops in logical units from TabOrigin (no stops: every 8 average characters;
// one stop: every that many pixels).  Returns width in the low, height in the high word.
LONG TabbedTextOut(HDC DC, int X, int Y, const char* Text, int Count, int TabCount, const int* Tabs, int TabOrigin);
DWORD GetTabbedTextExtent(HDC DC, const char* Text, int Count, int TabCount, const int* Tabs);

// ---- colours -----------------------------------------------------------------------------------------
// The classic system colours by index (COLOR_WINDOW = 5 ...), from one fixed table.
COLORREF GetSysColor(int Index);
HBRUSH GetSysColorBrush(int Index);
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
              COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
              COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
              COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
              COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
              COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
              COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
              COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;

// ---- icons -------------------------------------------------------------------------------------------
// An icon holds 32-bit pixels with straight (not premultiplied) alpha.
constexpr int IDI_APPLICATION = 32512, IDI_HAND = 32513, IDI_ERROR = 32513, IDI_QUESTION = 32514,
              IDI_EXCLAMATION = 32515, IDI_WARNING = 32515, IDI_ASTERISK = 32516, IDI_INFORMATION = 32516;
constexpr UINT IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0, LR_COPYRETURNORG = 0x4, LR_COPYDELETEORG = 0x8, LR_COPYFROMRESOURCE = 0x4000;
constexpr UINT DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = 3, DI_COMPAT = 4, DI_DEFAULTSIZE = 8;
struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0, yHotspot = 0;
    HBITMAP hbmMask = nullptr;    // 1 bit: white where the icon is transparent
    HBITMAP hbmColor = nullptr;   // 32 bits with alpha
};

// An icon made from a copy of a 32-bit surface (alpha straight).
HICON CreateIconFromSurface(const TSurface& Pixels, bool Cursor = false, TPoint Hotspot = {});
PSurface GetIconSurface(HICON Icon);
// The standard icons (IDI_ values, 32 x 32), from the resource table when it holds
// "IDI_<number>", else drawn here.  Instance must be 0; other names give null.
HICON LoadIcon(uintptr_t Instance, int Id);
HICON CopyIcon(HICON Icon);
// IMAGE_ICON copies scaled to Cx x Cy (0: the icon's own size); LR_COPYDELETEORG
// destroys the original.
HICON CopyImage(HICON Image, UINT Type, int Cx, int Cy, UINT Flags);
BOOL DestroyIcon(HICON Icon);
BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int Cx, int Cy, UINT Step, HBRUSH Flicker, UINT Flags);
BOOL DrawIcon(HDC DC, int X, int Y, HICON Icon);
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
HICON CreateIconIndirect(const ICONINFO* Info);
