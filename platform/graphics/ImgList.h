// Image lists: rows of equally sized images with transparency, drawn by index.
//
// Each image is kept as 32-bit pixels with straight alpha: from a bitmap's own alpha,
// from a mask (white = transparent), from a mask colour, or from an icon.
#pragma once

#include "platform/graphics/Graphics.h"

struct TImageListData;
using HIMAGELIST = TImageListData*;

constexpr UINT ILD_NORMAL = 0, ILD_TRANSPARENT = 1, ILD_MASK = 0x10, ILD_IMAGE = 0x20,
               ILD_BLEND25 = 2, ILD_BLEND50 = 4, ILD_FOCUS = 2, ILD_SELECTED = 4;
constexpr UINT ILC_MASK = 1, ILC_COLOR = 0, ILC_COLOR24 = 0x18, ILC_COLOR32 = 0x20;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF, CLR_DEFAULT = 0xFF000000;

// ---- handle calls ---------------------------------------------------------------------------
HIMAGELIST ImageList_Create(int Cx, int Cy, UINT Flags, int Initial, int Grow);
BOOL ImageList_Destroy(HIMAGELIST List);
// Adds the images of a strip (as many as fit its width); returns the first new index or -1.
int ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask);
int ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor);
// Index -1 adds the icon; otherwise replaces that image.
int ImageList_ReplaceIcon(HIMAGELIST List, int Index, HICON Icon);
inline int ImageList_AddIcon(HIMAGELIST List, HICON Icon) { return ImageList_ReplaceIcon(List, -1, Icon); }
BOOL ImageList_Remove(HIMAGELIST List, int Index);   // -1 removes all
HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT Flags);
int ImageList_GetImageCount(HIMAGELIST List);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy);
BOOL ImageList_SetIconSize(HIMAGELIST List, int Cx, int Cy);   // removes every image
COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color);
COLORREF ImageList_GetBkColor(HIMAGELIST List);
BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC DC, int X, int Y, UINT Style);
// Dx/Dy 0: the image's size; Bk CLR_DEFAULT: the list's background colour, CLR_NONE:
// none; the foreground colour is not used.
BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC DC, int X, int Y, int Dx, int Dy, COLORREF Bk,
                      COLORREF Fg, UINT Style);
// The pixels of image Index (32 bits, straight alpha), or null.
PSurface ImageList_GetImageSurface(HIMAGELIST List, int Index);

// ---- the component -------------------------------------------------------------------------
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr);
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);   // CreateSize
    ~TCustomImageList() override;
    void Assign(TPersistent* Source) override;

    HIMAGELIST Handle() const { return FHandle; }
    int Width() const;
    int Height() const;
    // A new size empties the list.
    void SetWidth(int V);
    void SetHeight(int V);
    void SetSize(int AWidth, int AHeight);
    int Count() const;
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor V);
    bool Masked() const { return FMasked; }
    void SetMasked(bool V) { FMasked = V; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle V);

    int Add(TBitmap* Image, TBitmap* Mask);
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Icon);
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void InsertIcon(int Index, TIcon* Icon);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);
    void GetBitmap(int Index, TBitmap* Image);   // 32-bit with alpha
    void GetIcon(int Index, TIcon* Icon);

    // Draws image Index with its top-left at (X, Y); a disabled image is drawn in the
    // list's grey look: every visible pixel becomes grey 128 + brightness / 2, its
    // alpha kept.  An index outside the list draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, TImageType Type, bool Enabled = true);

    TNotifyEvent OnChange;

protected:
    virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
    virtual void Change();

private:
    void CheckIndex(int Index, bool AllowEnd = false) const;
    HIMAGELIST FHandle = nullptr;
    TColor FBkColor = clNone;
    bool FMasked = true;
    TDrawingStyle FDrawingStyle = dsNormal;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
