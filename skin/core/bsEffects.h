// The skin's pictures: the 32-bit alpha bitmap TbsBitmap with its drawing routines and
// named links into it, the colour arithmetic of skin effects, the 24-bit effect bitmap
// for transitions, and the blur and alpha-mask routines.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"
#include "skin/core/bsKernels.h"

class TbsBitmap;
class TbsBitmapLink;

// ---- Colour arithmetic (0xAARRGGBB values; hue, saturation, lightness in 0..1) ------------
TbsColor ColorToARGB(TColor Color, uint8_t Alpha = 255);
TbsColor ColorRefToARGB(uint32_t ColorRef);
TbsColor MakeARGB(int16_t R, int16_t G, int16_t B, uint8_t A);
void ARGBToHSL(TbsColor Color, float& H, float& S, float& L);
TbsColor HSLToARGB(float H, float S, float L);
TbsColor SetHueOfColor(TbsColor Color, int Hue);
TbsColor ChangeSaturationOfColor(TbsColor Color, int Delta);
TbsColor ChangeHueOfColor(TbsColor Color, int Delta);
TbsColor ChangeBrightnessOfColor(TbsColor Color, int Delta);

// Rectangle texts "10, 20, 110, 60" (blanks and ( ) , : ; = separate); any bad number gives
// the empty rectangle.
void NextRectToken(String& Text, String& Token);
TRect TextToRect(const String& Text);

// Strings of the stream forms: a 32-bit byte count, then the UTF-8 bytes.
void WriteStreamString(TStream* Stream, const String& S);
String ReadStreamString(TStream* Stream);

// A top-down DIB section of AWidth x AHeight pixels of BitCount bits (32 or 24), Info's
// header filled for it.  Raises Exception "Can't allocate the DIB handle" when the pixels
// cannot be had.
HBITMAP CreateTopDownDIB(int AWidth, int AHeight, WORD BitCount, BITMAPINFO& Info, void*& Bits);

// ---- TbsBitmap --------------------------------------------------------------------------
class TbsBitmap : public TPersistent {
public:
    TbsBitmap();
    ~TbsBitmap() override;

    void Assign(TPersistent* Source) override;

    // Absolute sizes; 0 or the current size changes nothing.  Raises Exception when the
    // pixels or the device context cannot be had, and the bitmap is then 0 x 0.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const { return FHandle == nullptr; }
    void Clear(TbsColor Color);

    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // An 8-bit PCX picture; malformed data raises EReadError and leaves the bitmap alone.
    void LoadFromPcxStream(TStream* Stream);
    // The bitmap resource ResName of the program's resource table: a 32-bit picture keeps its
    // alpha, any other becomes opaque; a missing resource changes nothing, a malformed one
    // raises before anything changes.  ResFileName names the module whose resources are
    // meant; the program has no resource modules other than itself, so every name reads
    // the program's own table (as a module that cannot be loaded would on Windows).
    void LoadFromResource(const String& ResFileName, const String& ResName);

    TbsBitmapLink* GetBitmapLink(const TRect& Rect);
    TbsBitmapLink* GetBitmapLink(const String& RectText);

    void CheckingAlphaBlend();
    void CheckingAlphaBlend(const TRect& ARect);
    void CheckingTransparent(TbsColor Color);
    void CheckingTransparent(const TRect& ARect, TbsColor Color);
    void SetAlpha(uint8_t Alpha);
    void SetAlpha(uint8_t Alpha, const TRect& Rect);
    void CheckRGBA();   // colour channels lowered to alpha
    void CheckRGBA2();  // colours premultiplied by alpha

    void ChangeBitmapBrightness(int DeltaBrightness);
    void SetBitmapHue(int Hue);
    void ChangeBitmapSat(int DeltaSat);
    void ChangeBitmapHue(int DeltaHue);

    void FlipVert();
    void Reflection();
    void Reflection2();
    void Reflection3();

    TbsColor* ScanLine(int Y) const { return FBits + ptrdiff_t(Y) * FWidth; }
    TbsColor* PixelAddress(int X, int Y) const { return FBits + ptrdiff_t(Y) * FWidth + X; }
    void SetPixel(int X, int Y, TbsColor Value);

    // Drawing onto a device context (a live TbsBitmap's DC is drawn into pixel by pixel).
    void Draw(HDC DC, int X, int Y);
    void Draw(HDC DC, int X, int Y, const TRect& SrcRect);
    void Draw(HDC DC, const TRect& DstRect);
    void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

    void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);

    // Bitmap's part SrcRect merged under this bitmap's pixels at (X, Y).
    void MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);
    // Graphic stretched into DstRect; its magenta pixels are left out.
    void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);
    void FillRect(const TRect& R, TbsColor Color);

    // Vector and text primitives kept for the users of the class; they draw nothing and
    // the text ones return 0.  Shapes and text are drawn through Canvas.
    void MoveTo(int, int) {}
    void LineTo(int, int, TbsColor) {}
    void DrawBevel(const TRect&, bool) {}
    void DrawEdge(const TRect&, UINT, UINT) {}
    void DrawEllipse(const TRect&, TbsColor) {}
    void DrawFocusRect(const TRect&, TbsColor) {}
    void DrawLine(const TPoint&, const TPoint&, TbsColor) {}
    void DrawPolygon(const TPoint*, int, TbsColor) {}
    void DrawRect(const TRect&, TbsColor) {}
    void DrawRoundRect(const TRect&, int, TbsColor) {}
    void FillEllipse(const TRect&, TbsColor) {}
    void FillGradientRect(const TRect&, TbsColor, TbsColor, bool) {}
    void FillHalftonePolygon(const TPoint*, int, TbsColor, TbsColor) {}
    void FillHalftoneRect(const TRect&, TbsColor, TbsColor) {}
    void FillPolygon(const TPoint*, int, TbsColor) {}
    void FillRadialGradientRect(const TRect&, TbsColor, TbsColor, const TPoint&) {}
    void FillRoundRect(const TRect&, int, TbsColor) {}
    int DrawText(int, int, const String&) { return 0; }
    int DrawText(const String&, TRect&, UINT) { return 0; }
    int DrawVerticalText(const String&, TRect&, UINT, bool) { return 0; }
    int TextWidth(const String&) { return 0; }
    int TextHeight(const String&) { return 0; }

    HBITMAP Handle() const { return FHandle; }
    HDC DC() const { return FDC; }
    TCanvas* Canvas();
    TbsColor* Bits() const { return FBits; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool V) { FAlphaBlend = V; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V) { FTransparent = V; }
    const String& Name() const { return FName; }
    void SetName(const String& V) { FName = V; }
    bool NewFormat() const { return FNewFormat; }
    void SetNewFormat(bool V) { FNewFormat = V; }

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void FreeHandles();
    void CopyFromBitmap(TBitmap* Source);
    template <typename F>
    void ForEachVisiblePixel(F Fn);
    void ReflectionFade(int Divisor);

    TbsColor* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    String FName;
    BITMAPINFO FBitmapInfo;
    HBITMAP FHandle = nullptr;
    HDC FDC = nullptr;
    TCanvas* FCanvas = nullptr;
    bool FAlphaBlend = false;
    bool FTransparent = false;
    bool FNewFormat = false;
};

// Every TbsBitmap that owns a device context, so that drawing to such a DC goes to the
// bitmap's pixels with alpha instead of through the plain block transfers.
void RegisterLiveBitmap(TbsBitmap* Bitmap);
void UnregisterLiveBitmap(TbsBitmap* Bitmap);
TbsBitmap* FindLiveBitmapByDC(HDC DC);
void FreeLiveBitmaps();

// ---- Region kernels ---------------------------------------------------------------------
// Destination of the stretch kernels: 32-bit rows, top-down or bottom-up.
struct TbsPixelTarget {
    TbsColor* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    bool BottomUp = false;
    TbsColor* Row(int Y) const { return Bits + ptrdiff_t(BottomUp ? Height - 1 - Y : Y) * Width; }
};

// Into a TbsBitmap; nearest neighbour with source positions truncated.
void BitmapStretchCopy(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
void BitmapStretchBlend(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
void BitmapStretchKeyed(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
// Into the pixels of a 32-bit bottom-up DIB; source positions rounded.
void DIBStretchCopy(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
void DIBStretchBlend(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
void DIBStretchKeyed(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src);
// To a device context through its block transfers.
void DrawToDCCopy(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH);
void DrawToDCBlend(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH);
void DrawToDCKeyed(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH);
void DrawToDCTransparentBlt(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH);
// The pixels, size and depth of the DIB section selected into DC; null and zeros otherwise.
void* GetDCBitmapInfo(HDC DC, int& Width, int& Height, int& BitsPerPixel);

bool IsMsImg32Loaded();
int GetScreenColorDepth();
bool IsTrueColorScreen();

// ---- TbsBitmapLink ----------------------------------------------------------------------
class TbsBitmapLink : public TPersistent {
public:
    TbsBitmapLink() = default;
    void Assign(TPersistent* Source) override;

    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y);
    void CheckingMasked();
    void CheckingMasked(const TRect& Margin);
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;

    TbsBitmap* Image() const { return FImage; }
    void SetImage(TbsBitmap* V) { FImage = V; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& V) { FRect = V; }
    const String& Name() const { return FName; }
    void SetName(const String& V) { FName = V; }
    int Left() const { return FRect.Left; }
    void SetLeft(int V) { FRect.Left = V; }
    int Top() const { return FRect.Top; }
    void SetTop(int V) { FRect.Top = V; }
    int Right() const { return FRect.Right; }
    void SetRight(int V) { FRect.Right = V; }
    int Bottom() const { return FRect.Bottom; }
    void SetBottom(int V) { FRect.Bottom = V; }
    bool Masked() const { return FMasked; }
    bool MaskedBorder() const { return FMaskedBorder; }
    bool MaskedAngles() const { return FMaskedAngles; }
    bool Assigned() const { return FImage && int64_t(FRect.Width()) * FRect.Height() > 0; }

private:
    TbsBitmap* FImage = nullptr;  // not owned
    TRect FRect;
    String FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};

// ---- Blur and alpha masks ---------------------------------------------------------------
// Stack blur of red, green and blue (weights r + 1 - |i|, edges repeated); the picture
// becomes opaque.  Nothing for Radius <= 0.
void BlurBitmap(TbsBitmap* Bitmap, int Radius);
// Alpha of each pixel := Trunc((r + g + b) / 3) of the same mask pixel; pixels the mask
// does not cover get alpha 0.
void SetAlphaFromMask(TbsBitmap* Bitmap, const TbsBitmap* Mask);
void SetAlphaFromMaskPremultiplied(TbsBitmap* Bitmap, const TbsBitmap* Mask);

// ---- TbsEffectBmp -----------------------------------------------------------------------
// A 24-bit top-down picture (bytes B, G, R; rows padded to 4 bytes) for transition frames
// and effects.  Accessors do not check bounds.
class TbsEffectBmp : public TObject {
public:
    // Raises Exception when the pixels cannot be had.
    TbsEffectBmp(int cx, int cy);
    // A copy of a bitmap handle's picture (CreateFromhWnd).
    explicit TbsEffectBmp(HBITMAP hBmp);
    // A copy of another effect bitmap (CreateCopy).
    TbsEffectBmp(const TbsEffectBmp& Src);
    ~TbsEffectBmp() override;

    static TbsEffectBmp* CreateFromhWnd(HBITMAP hBmp) { return new TbsEffectBmp(hBmp); }
    static TbsEffectBmp* CreateCopy(const TbsEffectBmp* hBmp) { return new TbsEffectBmp(*hBmp); }

    void GetScanLine(int Y, void* Line) const;
    void SetScanLine(int Y, const void* Line);
    uint8_t* ScanLineAddress(int Y) const;
    uint8_t* PixelAddress(int X, int Y) const;
    uint32_t GetPixel(int X, int Y) const;  // 0x00RRGGBB
    void SetPixel(int X, int Y, uint32_t Value);

    void Draw(HDC DC, int X, int Y);
    void Stretch(HDC DC, int X, int Y, int cx, int cy);
    void DrawRect(HDC DC, int hx, int hy, int X, int Y, int cx, int cy);
    void Resize(TbsEffectBmp* Dst) const;

    void Morph(const TbsEffectBmp* BMP, double Kf);
    void MorphRect(const TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX, int StartY);
    void CopyRect(const TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY);
    void MorphHGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphVGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphLeftGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphRightGrad(const TbsEffectBmp* BMP, double Kf);
    void MorphPush(const TbsEffectBmp* BMP, double Kf);
    void MorphLeftSlide(const TbsEffectBmp* BMP, double Kf);
    void MorphRightSlide(const TbsEffectBmp* BMP, double Kf);

    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void Invert();
    void GrayScale();
    void SplitBlur(int Amount);
    void Mosaic(int ASize);
    void AddMonoNoise(int Amount);
    void AddColorNoise(int Amount);
    void Rotate90_1(TbsEffectBmp* Dst) const;
    void Rotate90_2(TbsEffectBmp* Dst) const;
    void FlipVert(TbsEffectBmp* Dst) const;
    void Wave(int XDIV, int YDIV, double RatioVal);
    void MaskAntialiasing(const TbsEffectBmp* Msk, int Amount);
    void MaskBlur(const TbsEffectBmp* Msk, int Amount);
    void MaskFillColor(const TbsEffectBmp* Msk, TColor C, double kf);

    static int StrideOf(int AWidth);

    HBITMAP Handle = nullptr;
    int Width = 0;
    int Height = 0;
    int Size = 0;
    uint8_t* Bits = nullptr;
    BITMAPINFOHEADER BmpHeader;
    BITMAPINFO BmpInfo;

private:
    void Allocate(int cx, int cy);
    bool SameSize(const TbsEffectBmp* BMP) const;
    bool MaskFits(const TbsEffectBmp* Msk) const;
    void CornerBlur(int Amount, const TbsEffectBmp* Msk, bool EdgeOnly);
    template <typename F>
    void ForEachChannel(F Fn);
};
