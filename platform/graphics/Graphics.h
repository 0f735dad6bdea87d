// The class library's drawing classes: colours, fonts, pens, brushes, the canvas, and
// the pictures (bitmap, PNG, JPEG, GIF, icon) with the picture container.
//
// A canvas draws through a device context (see Gdi.h); a bitmap's canvas draws into
// the bitmap's pixels.  Pixel rules are those of Gdi.h: shapes and text write alpha 0,
// copies keep all four bytes.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/system/Classes.h"
#include "platform/system/Threads.h"

// ---- colours ---------------------------------------------------------------------------------
// System colours are 0xFF000000 | COLOR_ index; ColorToRGB resolves them from the
// classic table (see GetSysColor).
constexpr TColor SysColor(int Index) { return TColor(0xFF000000u | uint32_t(Index)); }
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION), clInactiveCaption = SysColor(COLOR_INACTIVECAPTION),
                 clMenu = SysColor(COLOR_MENU), clWindow = SysColor(COLOR_WINDOW),
                 clWindowFrame = SysColor(COLOR_WINDOWFRAME), clMenuText = SysColor(COLOR_MENUTEXT),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SysColor(COLOR_ACTIVEBORDER), clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT), clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK), clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);
constexpr TColor clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clFuchsia = 0xFF00FF, clYellow = 0x00FFFF,
                 clAqua = 0xFFFF00, clLtGray = 0xC0C0C0, clDkGray = 0x808080, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

// A plain RGB value (0x00BBGGRR) for any colour: system colours from the table,
// clNone and clDefault to their low 24 bits.
TColor ColorToRGB(TColor Color);

// ---- exceptions --------------------------------------------------------------------------------
VC_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
VC_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
VC_DECLARE_EXCEPTION(EOutOfResources, Exception)
VC_DECLARE_EXCEPTION(EResNotFound, Exception)

// ---- fonts, pens, brushes -----------------------------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using TFontCharset = uint8_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    // Serialises use of the object by canvases on different threads.
    TCriticalSection* OwnerCriticalSection = nullptr;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    HFONT Handle();                     // made from the properties on first use
    const String& Name() const { return FName; }
    void SetName(const String& V);
    int Height() const { return FHeight; }      // < 0: character height; > 0: cell height (pixels)
    void SetHeight(int V);
    int Size() const;                            // points at PixelsPerInch
    void SetSize(int V);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles V);
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset V);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch V);
    int PixelsPerInch() const { return FPixelsPerInch; }

private:
    void Modified();
    String FName = "Tahoma";
    int FHeight = -11;
    TFontStyles FStyle;
    TColor FColor;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FPixelsPerInch = ScreenDPI;
    HFONT FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* Source) override;
    HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    int Width() const { return FWidth; }
    void SetWidth(int V);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle V);
    TPenMode Mode() const { return FMode; }     // pmCopy and pmNot draw; other modes draw as pmCopy
    void SetMode(TPenMode V);

private:
    void Modified();
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    HPEN FHandle = nullptr;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* Source) override;
    HBRUSH Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor V);                    // also makes the style solid when it was clear
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle V);               // hatched styles fill as solid

private:
    void Modified();
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBRUSH FHandle = nullptr;
};

// ---- canvas -----------------------------------------------------------------------------------------
class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The device context, with the canvas's font, pen and brush selected into it.
    // Reading it makes one (CreateHandle) when there is none; a plain canvas has no
    // way to make one and raises EInvalidOperation.  Setting it
    // attaches the canvas to a DC made elsewhere (0 detaches; the canvas never frees it).
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() { return FFont.get(); }
    TPen* Pen() { return FPen.get(); }
    TBrush* Brush() { return FBrush.get(); }
    void SetFont(TFont* V) { FFont->Assign(V); }
    void SetPen(TPen* V) { FPen->Assign(V); }
    void SetBrush(TBrush* V) { FBrush->Assign(V); }
    TPoint PenPos();
    void SetPenPos(TPoint P);
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD V) { FCopyMode = V; }
    TRect ClipRect();

    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor C);

    // Worker threads that draw on a bitmap's canvas hold its lock while they do.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void DrawFocusRect(const TRect& R);

    // Text in the font's colour; the background is the brush's colour unless the
    // brush is clear.  TextRect clips to R (and with a solid brush fills all of R).
    void TextOut(int X, int Y, const String& Text);
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }

    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // Copies Source of Canvas into Dest of this canvas, stretching when the sizes differ.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

    // Deselects the canvas's objects from its DC (the DC keeps only stock objects).
    void Refresh();

    TNotifyEvent OnChange, OnChanging;

protected:
    virtual void CreateHandle();
    void Changing();
    void Changed();
    // Selects font, pen and brush into the DC when they changed since last time.
    void RequireObjects();
    void DeselectHandles();
    HDC RequireHandle();   // the DC without selecting the objects

private:
    void FontChanged(TObject*);
    void PenChanged(TObject*);
    void BrushChanged(TObject*);

    HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    bool FFontValid = false, FPenValid = false, FBrushValid = false;
    HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
    DWORD FCopyMode = SRCCOPY;
    TCriticalSection FLock;
    int FLockCount = 0;
};

// A one-pixel-or-wider 3-D frame: top and left in TopColor, bottom and right in
// BottomColor; R shrinks by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width);

// ---- pictures ---------------------------------------------------------------------------------------
class TBitmap;

// A picture of any kind.  Loading bad or unknown data raises EInvalidGraphic and
// leaves the picture as it was.
class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int V);
    virtual void SetHeight(int V);
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool V);
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    bool Modified() const { return FModified; }
    void SetModified(bool V) { FModified = V; }

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    friend class TPicture;
    // Draws the picture into Rect of the canvas (stretching when sizes differ).
    virtual void Draw(TCanvas* Canvas, const TRect& Rect) = 0;
    virtual void Changed(TObject* Sender);
    // A bitmap destination gets the picture's size and the picture drawn on it.
    void AssignTo(TPersistent* Dest) override;

    bool FTransparent = false;
    bool FModified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap: a top-down DIB section (32 bits for pfDevice, pf32bit and pf1bit, which
// keeps black and white pixels; 24 bits with rows padded to 4 bytes for pf24bit).
// New pixels are black (alpha 0).
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return !FSurface; }
    int Width() const override { return FSurface ? FSurface->Width() : FWidth; }
    int Height() const override { return FSurface ? FSurface->Height() : FHeight; }
    void SetWidth(int V) override { SetSize(V, Height()); }
    void SetHeight(int V) override { SetSize(Width(), V); }
    // Keeps the pixels that stay inside; a zero size empties the bitmap.
    void SetSize(int AWidth, int AHeight);

    TCanvas* Canvas();
    HBITMAP Handle() const { return FHandle; }
    // Takes over a bitmap handle (the bitmap frees it); 0 empties the bitmap.
    void SetHandle(HBITMAP Value);
    // Gives up the handle to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    TBitmapHandleType HandleType() const { return bmDIB; }
    void SetHandleType(TBitmapHandleType) {}
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat V);
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool V) { SetPixelFormat(V ? pf1bit : pfDevice); }
    // Row Y (top = 0) of a 24- or 32-bit bitmap; raises EInvalidGraphicOperation for a
    // row outside the bitmap or a 1-bit bitmap.
    void* ScanLine(int Y);
    PSurface Surface() const { return FSurface; }

    // Transparent drawing leaves out the pixels of TransparentColor: the bottom-left
    // pixel in tmAuto mode, the set colour in tmFixed mode (setting it selects tmFixed).
    TColor TransparentColor();
    void SetTransparentColor(TColor V);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode V);

    void LoadFromStream(TStream* Stream) override;   // BMP
    void SaveToStream(TStream* Stream) override;     // BMP
    // A bitmap from the program's resource table (32-bit pictures keep their alpha).
    void LoadFromResourceName(uintptr_t Instance, const String& ResName);

protected:
    void Draw(TCanvas* Canvas, const TRect& Rect) override;
    void Changed(TObject* Sender) override;

private:
    void SetSurface(PSurface S, HBITMAP H = nullptr);
    void TakeImage(const TSurface& Img, TPixelFormat Format);   // a copy of Img becomes the bitmap
    PSurface FSurface;
    HBITMAP FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// The program's resource table: a lookup that gives a named resource's bytes (a BMP
// or PNG file image).  The table is installed by the desktop services; without one,
// every lookup fails.
using TResourceLookup = std::function<bool(const String& Name, std::vector<uint8_t>& Data)>;
void SetResourceLookup(TResourceLookup Lookup);
bool FindResourceData(const String& Name, std::vector<uint8_t>& Data);

// ---- PNG -----------------------------------------------------------------------------------
constexpr uint8_t COLOR_GRAYSCALE = 0, COLOR_RGB = 2, COLOR_PALETTE = 3, COLOR_GRAYSCALEALPHA = 4, COLOR_RGBALPHA = 6;
enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

// A PNG picture.  Pixels are kept as 24-bit rows (blue, green, red) with an optional
// alpha plane; the file's colour type and transparency are kept and written back.
class TPngImage : public TGraphic {
public:
    TPngImage() = default;
    // A true-colour picture of the given size, black; with alpha when ColorType says so.
    TPngImage(uint8_t AColorType, int AWidth, int AHeight);
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    uint8_t ColorType() const { return FColorType; }
    uint8_t BitDepth() const { return FBitDepth; }
    TPNGTransparencyMode TransparencyMode() const;
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor C);        // selects bit transparency with that colour
    void RemoveTransparency();
    // Gives the picture an alpha plane (255 everywhere, or 0 at the transparent colour).
    void CreateAlpha();
    // Row Y as blue, green, red bytes; the row's alpha bytes, or null without alpha.
    uint8_t* Scanline(int Y);
    uint8_t* AlphaScanline(int Y);
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor C);
    int CompressionLevel = 7;

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void Draw(TCanvas* Canvas, const TRect& Rect) override;
    void AssignTo(TPersistent* Dest) override;

private:
    friend class TPngAccess;
    int FWidth = 0, FHeight = 0;
    uint8_t FColorType = COLOR_RGB, FBitDepth = 8;
    std::vector<uint8_t> FPixels;   // FWidth * 3 bytes per row
    std::vector<uint8_t> FAlpha;    // FWidth bytes per row, empty without alpha
    bool FHasKey = false;
    TColor FTransparentColor = 0;
};

// ---- JPEG and GIF ----------------------------------------------------------------------------
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    void Assign(TPersistent* Source) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    int CompressionQuality = 90;   // 1..100, used when saving
    bool Grayscale() const { return FGrayscale; }
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;   // baseline RGB at CompressionQuality
    TBitmap* Bitmap() { return FBitmap.get(); }   // the decoded pixels (24-bit)

protected:
    void Draw(TCanvas* Canvas, const TRect& Rect) override;
    void AssignTo(TPersistent* Dest) override;

private:
    std::unique_ptr<TBitmap> FBitmap;
    bool FGrayscale = false;
};

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;
    void Assign(TPersistent* Source) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // The first frame; a transparent colour index leaves those pixels out when drawn.
    void LoadFromStream(TStream* Stream) override;
    // One frame of at most 256 colours (reduced from true colour when needed).
    void SaveToStream(TStream* Stream) override;
    TBitmap* Bitmap() { return FBitmap.get(); }   // the decoded pixels (32-bit)

protected:
    void Draw(TCanvas* Canvas, const TRect& Rect) override;
    void AssignTo(TPersistent* Dest) override;

private:
    std::unique_ptr<TBitmap> FBitmap;
    std::vector<uint8_t> FMask;   // 1 where the first frame is transparent
};

// ---- icons ---------------------------------------------------------------------------------------
// An icon: 32-bit pixels with alpha.  Handles made by the icon functions (Gdi.h) can
// be given to it; it draws with alpha.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    void Assign(TPersistent* Source) override;
    bool Empty() const override { return FHandle == nullptr; }
    int Width() const override;
    int Height() const override;
    HICON Handle() const { return FHandle; }
    void SetHandle(HICON H);               // takes ownership
    HICON ReleaseHandle();
    void LoadFromStream(TStream* Stream) override;   // a PNG picture
    void SaveToStream(TStream* Stream) override;     // as PNG

protected:
    void Draw(TCanvas* Canvas, const TRect& Rect) override;

private:
    HICON FHandle = nullptr;
};

// ---- picture container -------------------------------------------------------------------------
class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;
    void Assign(TPersistent* Source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* V);           // copies V into a new graphic of its class
    // The graphic as a bitmap; a picture holding another kind is replaced by an empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* V) { SetGraphic(V); }
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // By the file's extension: .bmp, .png, .jpg/.jpeg/.jpe/.jfif, .gif, .ico.  Other
    // extensions (.emf and .wmf included) and bad data raise EInvalidGraphic.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void Changed(TObject* Sender);
    std::unique_ptr<TGraphic> FGraphic;
};
