// The handle table and the graphics objects: pens, brushes, fonts, bitmaps.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/graphics/GdiInternal.h"

namespace {

struct TEntry {
    PGdiObject Obj;
    bool Stock = false;
};

std::mutex& TableLock()
{
    static std::mutex M;
    return M;
}

std::unordered_map<const TGdiObject*, TEntry>& Table()
{
    static auto* T = new std::unordered_map<const TGdiObject*, TEntry>();
    return *T;
}

template <class T>
std::shared_ptr<T> MakeStock(std::shared_ptr<T> Obj)
{
    std::lock_guard<std::mutex> L(TableLock());
    Table()[Obj.get()] = {Obj, true};
    return Obj;
}

std::shared_ptr<TBrushData> NewBrush(UINT Style, COLORREF Color)
{
    auto B = std::make_shared<TBrushData>();
    B->Style = Style;
    B->Color = Color & 0xFFFFFF;
    return B;
}

std::shared_ptr<TPenData> NewPen(UINT Style, int Width, COLORREF Color)
{
    auto P = std::make_shared<TPenData>();
    P->Style = Style > PS_INSIDEFRAME ? PS_SOLID : Style;
    P->Width = Width < 1 ? 1 : Width;
    P->Color = Color & 0xFFFFFF;
    return P;
}

}  // namespace

HGDIOBJ RegisterGdiObject(PGdiObject Obj)
{
    if (!Obj) return nullptr;
    std::lock_guard<std::mutex> L(TableLock());
    TGdiObject* H = Obj.get();
    Table()[H] = {std::move(Obj), false};
    return H;
}

PGdiObject LookupGdiObject(HGDIOBJ H)
{
    if (!H) return nullptr;
    std::lock_guard<std::mutex> L(TableLock());
    auto It = Table().find(H);
    return It == Table().end() ? nullptr : It->second.Obj;
}

HGDIOBJ RegisterStockObject(PGdiObject Obj)
{
    if (!Obj) return nullptr;
    std::lock_guard<std::mutex> L(TableLock());
    TGdiObject* H = Obj.get();
    Table()[H] = {std::move(Obj), true};
    return H;
}

bool UnregisterGdiObject(HGDIOBJ H)
{
    std::lock_guard<std::mutex> L(TableLock());
    auto It = Table().find(H);
    if (It == Table().end() || It->second.Stock) return false;
    Table().erase(It);
    return true;
}

std::shared_ptr<TPenData> StockPen(int Index)
{
    static auto White = MakeStock(NewPen(PS_SOLID, 1, 0xFFFFFF));
    static auto Black = MakeStock(NewPen(PS_SOLID, 1, 0));
    static auto Null = MakeStock(NewPen(PS_NULL, 1, 0));
    switch (Index) {
    case WHITE_PEN: return White;
    case NULL_PEN: return Null;
    default: return Black;
    }
}

std::shared_ptr<TBrushData> StockBrush(int Index)
{
    static auto White = MakeStock(NewBrush(BS_SOLID, 0xFFFFFF));
    static auto LtGray = MakeStock(NewBrush(BS_SOLID, 0xC0C0C0));
    static auto Gray = MakeStock(NewBrush(BS_SOLID, 0x808080));
    static auto DkGray = MakeStock(NewBrush(BS_SOLID, 0x404040));
    static auto Black = MakeStock(NewBrush(BS_SOLID, 0));
    static auto Null = MakeStock(NewBrush(BS_NULL, 0));
    switch (Index) {
    case LTGRAY_BRUSH: return LtGray;
    case GRAY_BRUSH: return Gray;
    case DKGRAY_BRUSH: return DkGray;
    case BLACK_BRUSH: return Black;
    case NULL_BRUSH: return Null;
    default: return White;
    }
}

std::shared_ptr<TFontData> StockFont()
{
    static auto F = [] {
        auto F = std::make_shared<TFontData>();
        F->Log.lfHeight = -11;   // 8 points at 96 dots per inch
        std::strcpy(F->Log.lfFaceName, "Tahoma");
        return MakeStock(F);
    }();
    return F;
}

HGDIOBJ GetStockObject(int Index)
{
    switch (Index) {
    case WHITE_BRUSH: case LTGRAY_BRUSH: case GRAY_BRUSH: case DKGRAY_BRUSH: case BLACK_BRUSH: case NULL_BRUSH:
        return StockBrush(Index).get();
    case WHITE_PEN: case BLACK_PEN: case NULL_PEN:
        return StockPen(Index).get();
    case SYSTEM_FONT: case DEFAULT_GUI_FONT:
        return StockFont().get();
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ Obj)
{
    if (!Obj) return FALSE;
    std::lock_guard<std::mutex> L(TableLock());
    auto It = Table().find(Obj);
    if (It == Table().end() || It->second.Obj->Kind == OBJ_DC || It->second.Obj->Kind == 0x1000) return FALSE;
    if (It->second.Stock) return TRUE;  // stock objects live for ever
    // A DC that still has the object selected keeps it alive until it lets it go.
    Table().erase(It);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ Obj)
{
    PGdiObject O = LookupGdiObject(Obj);
    if (!O) return 0;
    if (O->Kind == OBJ_DC) {
        auto* D = static_cast<TDCData*>(O.get());
        return D->Type == TDCData::TType::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    return O->Kind;
}

HPEN CreatePen(int Style, int Width, COLORREF Color)
{
    return static_cast<HPEN>(RegisterGdiObject(NewPen(UINT(Style), Width, Color)));
}

HPEN CreatePenIndirect(const LOGPEN* Pen)
{
    if (!Pen) return nullptr;
    return CreatePen(int(Pen->lopnStyle), Pen->lopnWidth.X, Pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF Color)
{
    return static_cast<HBRUSH>(RegisterGdiObject(NewBrush(BS_SOLID, Color)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush)
{
    if (!Brush || (Brush->lbStyle != BS_SOLID && Brush->lbStyle != BS_NULL)) return nullptr;
    return static_cast<HBRUSH>(RegisterGdiObject(NewBrush(Brush->lbStyle, Brush->lbColor)));
}

HFONT CreateFontIndirect(const LOGFONT* Font)
{
    if (!Font) return nullptr;
    auto F = std::make_shared<TFontData>();
    F->Log = *Font;
    F->Log.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(RegisterGdiObject(F));
}

// ---- bitmaps ----------------------------------------------------------------------------

namespace {

HBITMAP NewBitmap(PSurface S, bool DIB, int Bpp)
{
    auto B = std::make_shared<TBitmapData>();
    B->Surface = std::move(S);
    B->IsDIBSection = DIB;
    B->ReportedBpp = Bpp;
    return static_cast<HBITMAP>(RegisterGdiObject(B));
}

PSurface TryMakeSurface(int W, int H, int Bpp, bool BottomUp)
{
    try {
        return std::make_shared<TSurface>(W, H, Bpp, BottomUp);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* Info, UINT Usage, void** Bits, void*, DWORD)
{
    if (Bits) *Bits = nullptr;
    if (!Info || Usage != DIB_RGB_COLORS) return nullptr;
    const BITMAPINFOHEADER& H = Info->bmiHeader;
    if (H.biSize < 40 || H.biWidth <= 0 || H.biHeight == 0 || H.biHeight == INT32_MIN) return nullptr;
    if ((H.biBitCount != 32 && H.biBitCount != 24) || (H.biCompression != BI_RGB && H.biCompression != BI_BITFIELDS))
        return nullptr;
    PSurface S = TryMakeSurface(H.biWidth, H.biHeight < 0 ? -H.biHeight : H.biHeight, H.biBitCount, H.biHeight > 0);
    if (!S) return nullptr;
    if (Bits) *Bits = S->Bits();
    return NewBitmap(std::move(S), true, H.biBitCount);
}

HBITMAP CreateCompatibleBitmap(HDC, int Width, int Height)
{
    if (Width < 0 || Height < 0) return nullptr;
    if (Width == 0 || Height == 0) Width = Height = 1;
    PSurface S = TryMakeSurface(Width, Height, 32, false);
    return S ? NewBitmap(std::move(S), false, 32) : nullptr;
}

HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitsPerPixel, const void* Bits)
{
    if (Width <= 0 || Height <= 0 || Planes != 1) return nullptr;
    if (BitsPerPixel != 1 && BitsPerPixel != 24 && BitsPerPixel != 32) return nullptr;
    PSurface S = TryMakeSurface(Width, Height, 32, false);
    if (!S) return nullptr;
    if (Bits) {
        // Rows of this call are padded to 16 bits.
        const uint8_t* Src = static_cast<const uint8_t*>(Bits);
        int Bpr = ((Width * int(BitsPerPixel) + 15) / 16) * 2;
        for (int y = 0; y < Height; ++y) {
            const uint8_t* Row = Src + size_t(y) * Bpr;
            for (int x = 0; x < Width; ++x) {
                uint32_t Px;
                if (BitsPerPixel == 1) Px = (Row[x / 8] & (0x80 >> (x % 8))) ? 0x00FFFFFF : 0;
                else if (BitsPerPixel == 24) Px = Row[x * 3] | (Row[x * 3 + 1] << 8) | (Row[x * 3 + 2] << 16);
                else std::memcpy(&Px, Row + x * 4, 4);
                S->SetPixel(x, y, Px);
            }
        }
    }
    return NewBitmap(std::move(S), false, int(BitsPerPixel));
}

PSurface GetBitmapSurface(HBITMAP Bitmap)
{
    auto B = Lookup<TBitmapData>(Bitmap, OBJ_BITMAP);
    return B ? B->Surface : nullptr;
}

int GetObject(HGDIOBJ Obj, int Size, void* Out)
{
    PGdiObject O = LookupGdiObject(Obj);
    if (!O) return 0;
    switch (O->Kind) {
    case OBJ_BITMAP: {
        auto* B = static_cast<TBitmapData*>(O.get());
        BITMAP Bm;
        Bm.bmType = 0;
        Bm.bmPlanes = 1;
        if (B->Surface) {
            Bm.bmWidth = B->Surface->Width();
            Bm.bmHeight = B->Surface->Height();
            Bm.bmBitsPixel = WORD(B->ReportedBpp);
            Bm.bmWidthBytes = ((Bm.bmWidth * B->ReportedBpp + 15) / 16) * 2;
            Bm.bmBits = B->IsDIBSection ? B->Surface->Bits() : nullptr;
        } else {
            Bm.bmWidth = Bm.bmHeight = 1;
            Bm.bmBitsPixel = 1;
            Bm.bmWidthBytes = 2;
        }
        if (B->IsDIBSection && B->Surface && Size >= int(sizeof(DIBSECTION))) {
            if (!Out) return sizeof(DIBSECTION);
            DIBSECTION Ds;
            Ds.dsBm = Bm;
            Ds.dsBm.bmWidthBytes = B->Surface->Stride();
            Ds.dsBmih.biWidth = Bm.bmWidth;
            Ds.dsBmih.biHeight = B->Surface->BottomUp() ? Bm.bmHeight : -Bm.bmHeight;
            Ds.dsBmih.biBitCount = WORD(B->Surface->BitsPerPixel());
            Ds.dsBmih.biSizeImage = DWORD(B->Surface->SizeBytes());
            std::memcpy(Out, &Ds, sizeof Ds);
            return sizeof(DIBSECTION);
        }
        if (!Out) return sizeof(BITMAP);
        if (Size < int(sizeof(BITMAP))) return 0;
        std::memcpy(Out, &Bm, sizeof Bm);
        return sizeof(BITMAP);
    }
    case OBJ_PEN: {
        if (!Out) return sizeof(LOGPEN);
        if (Size < int(sizeof(LOGPEN))) return 0;
        auto* P = static_cast<TPenData*>(O.get());
        LOGPEN Lp;
        Lp.lopnStyle = P->Style;
        Lp.lopnWidth = {P->Width, 0};
        Lp.lopnColor = P->Color;
        std::memcpy(Out, &Lp, sizeof Lp);
        return sizeof(LOGPEN);
    }
    case OBJ_BRUSH: {
        if (!Out) return sizeof(LOGBRUSH);
        if (Size < int(sizeof(LOGBRUSH))) return 0;
        auto* B = static_cast<TBrushData*>(O.get());
        LOGBRUSH Lb;
        Lb.lbStyle = B->Style;
        Lb.lbColor = B->Color;
        std::memcpy(Out, &Lb, sizeof Lb);
        return sizeof(LOGBRUSH);
    }
    case OBJ_FONT: {
        if (!Out) return sizeof(LOGFONT);
        if (Size < int(sizeof(LOGFONT))) return 0;
        std::memcpy(Out, &static_cast<TFontData*>(O.get())->Log, sizeof(LOGFONT));
        return sizeof(LOGFONT);
    }
    default:
        return 0;
    }
}

// ---- pixel helpers ---------------------------------------------------------------------

namespace gdi {

uint32_t TPixelView::Get(int X, int Y) const
{
    const uint8_t* p = Row(Y) + X * (Bpp / 8);
    if (Bpp == 32) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

void TPixelView::Put(int X, int Y, uint32_t ARGB) const
{
    uint8_t* p = Row(Y) + X * (Bpp / 8);
    if (Bpp == 32) {
        std::memcpy(p, &ARGB, 4);
    } else {
        p[0] = ARGB & 0xFF;
        p[1] = (ARGB >> 8) & 0xFF;
        p[2] = (ARGB >> 16) & 0xFF;
    }
}

TPixelView ViewOf(TSurface& S)
{
    TPixelView V;
    V.Bits = S.Bits();
    V.Width = S.Width();
    V.Height = S.Height();
    V.Bpp = S.BitsPerPixel();
    V.Stride = S.Stride();
    V.BottomUp = S.BottomUp();
    return V;
}

void FillSpan(TSurface& S, int Y, int X0, int X1, uint32_t Px)
{
    if (S.BitsPerPixel() == 32) {
        uint32_t* Row = S.Row32(Y);
        for (int x = X0; x < X1; ++x) Row[x] = Px;
    } else {
        uint8_t* Row = S.Row(Y);
        for (int x = X0; x < X1; ++x) {
            Row[x * 3] = Px & 0xFF;
            Row[x * 3 + 1] = (Px >> 8) & 0xFF;
            Row[x * 3 + 2] = (Px >> 16) & 0xFF;
        }
    }
}

void FillClipped(TSurface& S, const TRegion& Clip, const TRect& R, uint32_t Px)
{
    if (R.IsEmpty()) return;
    const auto& Cs = Clip.Rects();
    for (size_t i = Clip.FirstBelow(R.Top); i < Cs.size(); ++i) {
        const TRect& C = Cs[i];
        if (C.Top >= R.Bottom) break;
        int L = std::max(C.Left, R.Left), T = std::max(C.Top, R.Top);
        int Rt = std::min(C.Right, R.Right), B = std::min(C.Bottom, R.Bottom);
        for (int y = T; y < B; ++y) FillSpan(S, y, L, Rt, Px);
    }
}

}  // namespace gdi
