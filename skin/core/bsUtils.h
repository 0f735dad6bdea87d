// Free helpers of the skin: rectangle and number functions, the text codecs of skin ini
// values, image builders and mask regions, text and glyph drawing, layered windows and
// the platform queries the skinned parts make.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "platform/forms/Controls.h"
#include "platform/graphics/Graphics.h"
#include "platform/windows/ScrollInfo.h"
#include "platform/windows/Windows.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Types.h"

class TCustomIniFile;
class TCustomImageList;
class TbsBitmap;

// How the client part of a skin picture fills a larger client area when stretched.
enum TbsStretchType { bsstFull, bsstHorz, bsstVert };

// ---- Rectangles, numbers and colours ----------------------------------------------------
inline int WidthOfRect(const TRect& R) { return R.Right - R.Left; }
inline int HeightOfRect(const TRect& R) { return R.Bottom - R.Top; }
inline bool IsEmptyRect(const TRect& R) { return WidthOfRect(R) <= 0 || HeightOfRect(R) <= 0; }
inline bool SameRects(const TRect& R1, const TRect& R2) { return R1 == R2; }
inline void ClearRect(TRect& R) { R = TRect(0, 0, 0, 0); }
// Rectangle moves (in place).
inline void OffsetRect(TRect& R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}
inline void InflateRect(TRect& R, int DX, int DY)
{
    R.Left -= DX;
    R.Right += DX;
    R.Top -= DY;
    R.Bottom += DY;
}
inline bool IsNullPoint(const TPoint& P) { return P.X == 0 || P.Y == 0; }
// Right and bottom edges included.
inline bool IsPointInRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
bool RectInRect(const TRect& R1, const TRect& R2);
bool RectOverlapsRect(const TRect& R1, const TRect& R2);
inline int MaxOf(int A, int B) { return A > B ? A : B; }
inline int MinOf(int A, int B) { return A < B ? A : B; }

TColor MixColors(TColor C1, TColor C2);
TColor DarkenColor(TColor C, uint8_t Percent);

// ---- Sizes a skin may ask for ------------------------------------------------------------
// A skin draws window parts, and no part is larger than a few screens: every length a skin
// gives (coordinates, offsets, font heights, picture sides) stays within MaxSkinExtent, one
// rectangle or picture covers at most MaxSkinPicturePixels, all the pictures of a skin
// together at most MaxSkinPicturesPixels, and its ini text is at most MaxSkinTextBytes.
// A skin that asks for more is refused before the memory is taken.
constexpr int MaxSkinExtent = 8192;                           // twice a 4K screen's width
constexpr int64_t MaxSkinPicturePixels = int64_t(1) << 24;    // twice a 4K screen
constexpr int64_t MaxSkinPicturesPixels = int64_t(1) << 25;   // four 4K screens, 128 MB
constexpr int64_t MaxSkinTextBytes = int64_t(2) << 20;        // about 80 times a real skin's

// Raises EReadError for a skin picture of Width x Height pixels beyond the limits above.
void bsCheckSkinPictureSize(int64_t Width, int64_t Height, const String& What);
// Raises EReadError for a skin description of more than MaxSkinTextBytes.
void bsCheckSkinTextSize(int64_t Bytes);

// Counts the pixels of one skin's pictures as they are read, before each is decoded.
class TbsSkinPictureBudget {
public:
    // Checks one more picture (bsCheckSkinPictureSize) and the sum of all so far;
    // raises EReadError beyond either.
    void Take(int64_t Width, int64_t Height, const String& What);

private:
    int64_t FPixels = 0;
};

// ---- Text forms of skin values -----------------------------------------------------------
// Fields split at commas; only the digits of each field count (so a sign is lost).  A field
// without digits raises EConvertError; fields beyond the fourth (second) are ignored.
void ParseRectText(const String& S, TRect& R);
void ParsePointText(const String& S, TPoint& P);

// Readers: a missing key gives "0,0,0,0", "0,0", false, no styles, taCenter, nothing.
// Writers write exactly what the readers read; rectangle and point values are written
// without sign (the reader would drop it).
void ReadSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TRect& R);
void ReadSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, TPoint& P);
bool ReadSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TFontStyles ReadSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// Appends the list stored as Ident + "count" and the keys "0" .. count-1.
void ReadSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings);
TAlignment ReadSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value);
void WriteSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value);
void WriteSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value);
void WriteSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value);
void WriteSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TStrings* Strings);
void WriteSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value);

// ---- Glyph and caption layout, text, glyphs ----------------------------------------------
// Where a button's glyph stands relative to its caption.
enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Positions of glyph and caption in R; Margin -1 centres both together.
void CalcGlyphLayout(TbsButtonLayout Layout, const TRect& R, int GlyphWidth, int GlyphHeight, int TextWidth,
                     int TextHeight, int Spacing, int Margin, TPoint& GlyphPos, TPoint& TextPos);
// Image GlyphNum (1-based) of a strip of NumGlyphs equal images, drawn with its bottom-left
// pixel's colour left out.
void DrawGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, int NumGlyphs, int GlyphNum);
// An image of an image list and a caption (the caption centred, or not in the 2 form).
void DrawImageAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      int ImageIndex, TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue);
void DrawImageAndText2(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout,
                       const String& Caption, int ImageIndex, TCustomImageList* ImageList, bool ADown, bool AEnabled,
                       bool ADrawColorMarker, TColor AColorMarkerValue);
void DrawGlyphAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      TBitmap* Glyph, int NumGlyphs, int GlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue);

// Paints into Canvas what Control's parent shows under the control (the parent's
// background and the graphic controls before Control), or the part R of it.
void DrawParentBackground(TWinControl* Control, TCanvas* Canvas);
void DrawParentBackgroundInRect(TWinControl* Control, const TRect& R, TCanvas* Canvas);

// Text (UTF-8; counted in characters).  Functions that draw do nothing for an empty text.
int DrawWideText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags);
int WideTextWidth(TCanvas* Canvas, const String& Text);
int WideTextHeight(TCanvas* Canvas, const String& Text);
void CutWideTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth);
void CutTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth);
void DrawCaptionTextCentered(TCanvas* Canvas, const String& Text, TRect R);
void DrawCaptionText(TCanvas* Canvas, const String& Text, TRect R);
void DrawSingleLineText(TCanvas* Canvas, const String& Text, TRect R);
void DrawAlignedText(TCanvas* Canvas, const String& Text, TRect R, TAlignment Alignment);
void DrawWrappedText(TCanvas* Canvas, const String& Text, TRect R, bool WordBreak);
// The text DrawWrappedText draws: spaces inserted where lines must break (and, without
// WordBreak, words cut short with "...").
String BuildWrappedText(TCanvas* Canvas, const String& Text, int Width, bool WordBreak);
void DrawClippedText(TCanvas* Canvas, const String& Text, const TRect& R);
void DrawClippedTextIndent(TCanvas* Canvas, const String& Text, const TRect& R, int Indent);
// True when the canvas font's height is odd; text rectangles then move up one pixel.
bool IsOddFontHeight(TCanvas* Canvas);

// Captions with a soft glow of GlowColor around them, or with a fading reflection below.
void DrawTextWithGlow(TCanvas* Canvas, const TRect& R, const String& Text, int GlowSize, TColor GlowColor,
                      int GlowOffset, UINT Flags);
void DrawWideTextWithGlow(TCanvas* Canvas, const TRect& R, const String& Text, int GlowSize, TColor GlowColor,
                          int GlowOffset, UINT Flags);
void DrawWideTextWithGlowBox(TCanvas* Canvas, const TRect& R, const String& Text, TColor GlowColor, UINT Flags);
void DrawWideTextWithGlowBox2(TCanvas* Canvas, const TRect& R, const String& Text, TColor GlowColor, UINT Flags);
void DrawWideTextWithReflection(TCanvas* Canvas, const TRect& R, const String& Text, TColor ReflectionColor,
                                int ReflectionOffset, UINT Flags);

// Small glyphs in Color.
void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color);
void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawBigArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawRadioMark(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopLeftColor, TColor BottomRightColor);
void DrawDottedFocusRect(TCanvas* Canvas, TRect R);
// The default caption-button glyphs, in a box of about 10 x 10 at X, Y.
void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollDownImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeToTrayImage(TCanvas* Canvas, int X, int Y, TColor Color);

// ---- Skin image builders and mask regions ---------------------------------------------------
// Nine-piece images: R of SB cut by the corner points and client rectangle (relative to R),
// rebuilt as NewW x NewH in B with the new points; edges stretched or tiled by their flags.
void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt, TPoint NewRTPt,
                     TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB, TRect R, int NewW,
                     int NewH, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
void CreateSkinImage2(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                      TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int NewW, int NewH, bool DrawClient, bool LeftStretch, bool TopStretch,
                      bool RightStretch, bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// Without a right band: the top and bottom edges and the client part run to NewW.
void CreateSkinImage3(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                      TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int NewW, int NewH, bool DrawClient, bool LeftStretch, bool TopStretch,
                      bool RightStretch, bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// Corners at ClRect's corners, everything stretched to B's current size.
void CreateStretchSkinImage(TBitmap* B, TBitmap* SB, TRect R, TRect ClRect, bool DrawClient);
void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool Stretch);
void CreateHSkinImage2(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool Stretch);
void CreateHSkinImage3(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool Stretch);
void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool Stretch);
// The four frame strips of a NewW x NewH window.
void CreateSkinBorderImages(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                            TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* LeftB,
                            TBitmap* TopB, TBitmap* RightB, TBitmap* BottomB, TBitmap* SB, TRect R, int NewW,
                            int NewH, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch);

// A 24-bit top-down copy of a bitmap with a table of row addresses, for scanning masks.
class TbsFBitmap : public TObject {
public:
    explicit TbsFBitmap(HBITMAP HBmp);
    ~TbsFBitmap() override;

    uint8_t* Bits = nullptr;
    std::vector<uint8_t*> Pixels;  // row 0 at the top
    int Gap = 0;                   // bytes that pad each row to a multiple of four
    int RowInc = 0;                // bytes per row
    int Size = 0;
    int Width = 0;
    int Height = 0;
    HBITMAP Handle = nullptr;
    HDC hDC = nullptr;
    BITMAPINFO bmInfo;
    BITMAPINFOHEADER bmHeader;
};

// Region data (RGNDATA: header and rectangles) of the black pixels of Mask offset by X, Y;
// returns its size in bytes, 0 with no data for an empty mask.
int CreateRgnDataFromMask(TBitmap* Mask, int X, int Y, std::vector<uint8_t>& RgnData);
// The region of the black pixels of Mask; none (null) for an empty mask.
void CreateRgnFromMask(HRGN& Rgn, TBitmap* Mask);
void CreateSkinBorderMasks(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                           TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* Mask,
                           TBitmap* RMTop, TBitmap* RMLeft, TBitmap* RMRight, TBitmap* RMBottom, int NewW, int NewH);
// The window region of a resized control or window from its mask; null when there is none.
void CreateSkinRegion(HRGN& Rgn, TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                      TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* Mask, int NewW,
                      int NewH);

// ---- Layered windows and platform functions ------------------------------------------------
// The system version as GetVersion gives it (major in the low byte, minor in the next);
// tests may point this at another source.
extern DWORD (*bsGetVersion)();
void GetOsVersion(int& Major, int& Minor);
bool OsIsWin2000OrLater();  // 5.0 to 5.2, or later majors
bool OsIsXPOrLater();       // exactly 5.1, or later majors (5.2 does not count)
bool OsIsVistaOrLater();
bool OsIsWindows7();        // exactly 6.1
bool OsIsWindows8OrLater(); // exactly 6.2, or later majors (6.3 does not count)

// Whether Control still owns the window Wnd: window handles are never reused, so a control
// freed (or whose window was destroyed) while messages were pumped answers false.  Loops that
// pump messages check it before touching the control again.
bool ControlStillAlive(HWND Wnd, const TWinControl* Control);

// The window alpha of a layered window; nothing where layered windows are not shown with
// alpha (no compositing manager).
void SetLayeredAlpha(HWND Wnd, uint8_t Alpha);
// Shows Bmp (32-bit with alpha) as the picture of Control's layered window at the
// control's position, at window alpha Alpha.
void UpdateLayeredBitmap(TbsBitmap* Bmp, uint8_t Alpha, TWinControl* Control);
// The system's scroll bar information call, or null where there is none.
extern bool (*bsGetScrollBarInfo)(HWND Wnd, LONG ObjectId, SCROLLBARINFO* Info);
// The scroll bar information; without the call, false with the bar marked invisible.
bool SafeGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info);
bool IsMultiMonitor();
void GetWorkArea(bool WorkArea, TRect& R);
// The work area (or the whole area) of the monitor nearest to Wnd; R unchanged when it
// cannot be had.
void GetMonitorWorkArea(HWND Wnd, bool WorkArea, TRect& R);
// Desktop composition services: this system has none, so composition is reported off and
// the calls do nothing.
bool LoadDwmApi();
bool IsDwmCompositionOn();
void SetDwmTransitions(HWND Wnd, bool Enabled);
bool EnableBlurBehind(HWND Wnd, bool Enable, HRGN Rgn);

// Dest gets Image's pixels with the alpha of Mask (the mean of its colour channels), the
// colours then lowered to the alpha.  Mask pixels missing give alpha 0.  Without a mask
// (none, or an empty one) Image keeps its own alpha: a 32-bit picture's, else opaque.
void CreateAlphaBitmap(TBitmap* Image, TBitmap* Mask, TbsBitmap* Dest);
// Dest gets the PNG's pixels and alpha (255, or 0 at a bit-transparency colour, for a PNG
// without an alpha channel).
void PngImageToBitmap(TbsBitmap* Dest, TPngImage* Png);

// A top-level window that shows a layered image: never activated, mouse input passes
// through it.
class TbsLayerWindow : public TCustomControl {
public:
    explicit TbsLayerWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

// Shows one layer window with a 32-bit alpha image and fades it in.
class TbsLayerManager : public TComponent {
public:
    explicit TbsLayerManager(TComponent* AOwner);
    ~TbsLayerManager() override;

    void Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue);
    void Hide();
    void Update();
    void StartTimer();
    void StopTimer();
    // One fade step (the timer's event, every 25 ms).
    void FadeStep();

    TbsLayerWindow* LayerWindow = nullptr;  // owned
    std::unique_ptr<TbsBitmap> Bmp;
    TTimer* Timer = nullptr;                // owned
    int EndAlphaBlendValue = 0;
    int BeginAlphaBlendValue = 0;
    int StepAlphaBlendValue = 0;
    bool IsVisible = false;
    bool TopMostMode = true;
};
