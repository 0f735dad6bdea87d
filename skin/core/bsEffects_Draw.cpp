// Drawing of TbsBitmap: the stretch kernels, the device-context paths, tiling, merging,
// graphics drawn into a bitmap and rectangle fills.
#include "skin/core/bsEffects.h"

#include <algorithm>
#include <vector>

namespace {

enum class TKernelOp { Copy, Blend, Keyed };

TRect Intersect(const TRect& A, const TRect& B)
{
    TRect r(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom));
    return r;
}

// Nearest-neighbour source positions for ClipLen destination positions starting at ClipStart
// of a destination span DstStart..DstStart+DstLen taking SrcStart..SrcStart+SrcLen.
void BuildMap(std::vector<int>& Map, int ClipStart, int ClipLen, int DstStart, int DstLen, int SrcStart, int SrcLen,
              bool RoundMap)
{
    Map.resize(size_t(ClipLen));
    if (DstLen < 2) {
        std::fill(Map.begin(), Map.end(), (SrcStart + SrcStart + SrcLen - 1) / 2);
        return;
    }
    const float k = float(double(SrcLen - 1) / double(DstLen - 1));
    for (int i = 0; i < ClipLen; ++i) {
        const double pos = double(i + ClipStart - DstStart) * double(k) + SrcStart;
        int s = RoundMap ? int(Round(pos)) : int(pos);
        Map[size_t(i)] = std::clamp(s, SrcStart, SrcStart + SrcLen - 1);
    }
}

void StretchKernel(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& AClip, const TRect& SrcRect,
                   const TbsBitmap* Src, TKernelOp Op, bool RoundMap)
{
    if (!Dst.Bits || !Src || !Src->Bits()) return;
    if (SrcRect.IsEmpty()) return;
    const TRect clip = Intersect(Intersect(AClip, TRect(0, 0, Dst.Width, Dst.Height)), DstRect);
    if (clip.IsEmpty()) return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height()) return;
    const int cw = clip.Width();
    auto putLine = [Op](const TbsColor* S, TbsColor* D, int N) {
        switch (Op) {
        case TKernelOp::Copy: bsKernels.MoveLine(S, D, N); break;
        case TKernelOp::Blend: bsKernels.BlendLine(S, D, N); break;
        case TKernelOp::Keyed: bsKernels.CopyLineKeyed(S, D, N); break;
        }
    };
    if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
        const int sx = SrcRect.Left + clip.Left - DstRect.Left, sy = SrcRect.Top + clip.Top - DstRect.Top;
        for (int y = clip.Top; y < clip.Bottom; ++y)
            putLine(Src->PixelAddress(sx, sy + y - clip.Top), Dst.Row(y) + clip.Left, cw);
        return;
    }
    std::vector<int> cols, rows;
    BuildMap(cols, clip.Left, cw, DstRect.Left, DstRect.Width(), SrcRect.Left, SrcRect.Width(), RoundMap);
    BuildMap(rows, clip.Top, clip.Height(), DstRect.Top, DstRect.Height(), SrcRect.Top, SrcRect.Height(), RoundMap);
    std::vector<TbsColor> line(static_cast<size_t>(cw));
    int prevRow = -1;
    TbsColor* prevDst = nullptr;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const int sr = rows[size_t(y - clip.Top)];
        TbsColor* d = Dst.Row(y) + clip.Left;
        if (Op == TKernelOp::Copy) {
            if (sr == prevRow && prevDst) {
                bsKernels.MoveLine(prevDst, d, cw);
            } else {
                const TbsColor* s = Src->ScanLine(sr);
                for (int i = 0; i < cw; ++i) d[i] = s[cols[size_t(i)]];
            }
            prevDst = d;
        } else {
            if (sr != prevRow) {
                const TbsColor* s = Src->ScanLine(sr);
                for (int i = 0; i < cw; ++i) line[size_t(i)] = s[cols[size_t(i)]];
            }
            putLine(line.data(), d, cw);
        }
        prevRow = sr;
    }
    ClearMMXState();
}

TbsPixelTarget TargetOf(TbsBitmap* B) { return {B->Bits(), B->Width(), B->Height(), false}; }

TKernelOp OpOf(const TbsBitmap* B)
{
    return B->AlphaBlend() ? TKernelOp::Blend : B->Transparent() ? TKernelOp::Keyed : TKernelOp::Copy;
}

// Where a logical rectangle of DC lies in device (surface) coordinates.
TRect ToDevice(HDC DC, const TRect& R)
{
    const TPoint p = DCLogicalToDevice(DC, R.TopLeft());
    return TRect(p.X, p.Y, p.X + R.Width(), p.Y + R.Height());
}

// The colour-key entry to device contexts, chosen once.
void (*DrawToDCKeyedEntry)(HDC, int, int, int, int, const TbsBitmap*, int, int, int, int) = DrawToDCKeyed;

}  // namespace

// ---- Region kernels -----------------------------------------------------------------------

void BitmapStretchCopy(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    if (Dst) StretchKernel(TargetOf(Dst), DstRect, Clip, SrcRect, Src, TKernelOp::Copy, false);
}

void BitmapStretchBlend(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    if (Dst) StretchKernel(TargetOf(Dst), DstRect, Clip, SrcRect, Src, TKernelOp::Blend, false);
}

void BitmapStretchKeyed(TbsBitmap* Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    if (Dst) StretchKernel(TargetOf(Dst), DstRect, Clip, SrcRect, Src, TKernelOp::Keyed, false);
}

void DIBStretchCopy(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    StretchKernel(Dst, DstRect, Clip, SrcRect, Src, TKernelOp::Copy, true);
}

void DIBStretchBlend(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    StretchKernel(Dst, DstRect, Clip, SrcRect, Src, TKernelOp::Blend, true);
}

void DIBStretchKeyed(const TbsPixelTarget& Dst, const TRect& DstRect, const TRect& Clip, const TRect& SrcRect, const TbsBitmap* Src)
{
    StretchKernel(Dst, DstRect, Clip, SrcRect, Src, TKernelOp::Keyed, true);
}

void DrawToDCCopy(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH)
{
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, X, Y, W, H, Src->DC(), SX, SY, SW, SH, SRCCOPY);
}

void DrawToDCTransparentBlt(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH)
{
    TransparentBlt(DC, X, Y, W, H, Src->DC(), SX, SY, SW, SH, RGB(0x7F, 0, 0x7F));
}

// Reads the DC's pixels under the destination, draws into them and writes them back.
static void DrawToDCReadBack(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH)
{
    if (W <= 0 || H <= 0 || !Src || Src->Empty()) return;
    TbsBitmap tmp;
    tmp.SetSize(W, H);
    BitBlt(tmp.DC(), 0, 0, W, H, DC, X, Y, SRCCOPY);
    const_cast<TbsBitmap*>(Src)->Draw(&tmp, TRect(0, 0, W, H), TRect(SX, SY, SX + SW, SY + SH));
    BitBlt(DC, X, Y, W, H, tmp.DC(), 0, 0, SRCCOPY);
}

void DrawToDCBlend(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH)
{
    DrawToDCReadBack(DC, X, Y, W, H, Src, SX, SY, SW, SH);
}

void DrawToDCKeyed(HDC DC, int X, int Y, int W, int H, const TbsBitmap* Src, int SX, int SY, int SW, int SH)
{
    DrawToDCReadBack(DC, X, Y, W, H, Src, SX, SY, SW, SH);
}

void* GetDCBitmapInfo(HDC DC, int& Width, int& Height, int& BitsPerPixel)
{
    Width = Height = BitsPerPixel = 0;
    HGDIOBJ bmp = DC ? GetCurrentObject(DC, OBJ_BITMAP) : nullptr;
    DIBSECTION ds;
    if (!bmp || GetObject(bmp, int(sizeof(ds)), &ds) != int(sizeof(ds))) return nullptr;
    Width = ds.dsBmih.biWidth;
    Height = ds.dsBmih.biHeight;
    BitsPerPixel = ds.dsBmih.biBitCount;
    return ds.dsBm.bmBits;
}

// The colour-keyed transfer of the system is not used: keyed drawing to device contexts
// reads the pixels back and keys them with the skin's own kernels.
bool IsMsImg32Loaded() { return false; }

int GetScreenColorDepth()
{
    HDC dc = CreateScreenDC();
    const int depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    DeleteDC(dc);
    return depth;
}

bool IsTrueColorScreen() { return GetScreenColorDepth() >= 24; }

// ---- Draw overloads -----------------------------------------------------------------------

void TbsBitmap::Draw(HDC DC, int X, int Y) { Draw(DC, TRect(X, Y, X + FWidth, Y + FHeight), TRect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(HDC DC, int X, int Y, const TRect& SrcRect)
{
    Draw(DC, TRect(X, Y, X + SrcRect.Width(), Y + SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect) { Draw(DC, DstRect, TRect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (!DC || Empty()) return;
    if (TbsBitmap* live = FindLiveBitmapByDC(DC)) {
        Draw(live, ToDevice(DC, DstRect), SrcRect);
        return;
    }
    const int x = DstRect.Left, y = DstRect.Top, w = DstRect.Width(), h = DstRect.Height();
    const int sx = SrcRect.Left, sy = SrcRect.Top, sw = SrcRect.Width(), sh = SrcRect.Height();
    if (FAlphaBlend)
        DrawToDCBlend(DC, x, y, w, h, this, sx, sy, sw, sh);
    else if (FTransparent)
        DrawToDCKeyedEntry(DC, x, y, w, h, this, sx, sy, sw, sh);
    else
        DrawToDCCopy(DC, x, y, w, h, this, sx, sy, sw, sh);
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y) { Draw(Canvas->Handle(), X, Y); }
void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect) { Draw(Canvas->Handle(), X, Y, SrcRect); }
void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) { Draw(Canvas->Handle(), DstRect, SrcRect); }

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y)
{
    Draw(Bitmap, TRect(X, Y, X + FWidth, Y + FHeight), TRect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect)
{
    Draw(Bitmap, TRect(X, Y, X + SrcRect.Width(), Y + SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect) { Draw(Bitmap, DstRect, TRect(0, 0, FWidth, FHeight)); }

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    if (!Bitmap) return;
    if (FAlphaBlend)
        BitmapStretchBlend(Bitmap, DstRect, DstRect, SrcRect, this);
    else if (FTransparent)
        BitmapStretchKeyed(Bitmap, DstRect, DstRect, SrcRect, this);
    else
        BitmapStretchCopy(Bitmap, DstRect, DstRect, SrcRect, this);
}

// ---- Tiling -------------------------------------------------------------------------------

namespace {

// Calls Fn(tile, source part) for every tile of SrcRect's size over DstRect, column by
// column; tiles cut by DstRect take the top-left part of SrcRect.
template <typename F>
void ForEachTile(const TRect& DstRect, const TRect& SrcRect, F Fn)
{
    const int tw = SrcRect.Width(), th = SrcRect.Height();
    if (tw <= 0 || th <= 0) return;
    const int nx = DstRect.Width() / tw + (DstRect.Width() % tw != 0 ? 1 : 0);
    const int ny = DstRect.Height() / th + (DstRect.Height() % th != 0 ? 1 : 0);
    if (nx < 0 || ny < 0) return;
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j) {
            const TRect tile(DstRect.Left + i * tw, DstRect.Top + j * th, DstRect.Left + (i + 1) * tw,
                             DstRect.Top + (j + 1) * th);
            const TRect cut = Intersect(tile, DstRect);
            if (cut.IsEmpty()) break;
            Fn(cut, TRect(SrcRect.Left, SrcRect.Top, SrcRect.Left + cut.Width(), SrcRect.Top + cut.Height()));
        }
}

}  // namespace

void TbsBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (!DC || Empty()) return;
    TbsBitmap* live = FindLiveBitmapByDC(DC);
    int dw = 0, dh = 0, bpp = 0;
    void* dib = live ? nullptr : GetDCBitmapInfo(DC, dw, dh, bpp);
    const bool direct = dib && bpp == 32 && dh > 0;
    ForEachTile(DstRect, SrcRect, [&](const TRect& T, const TRect& S) {
        if (live) {
            Draw(live, ToDevice(DC, T), S);
        } else if (direct) {
            const TbsPixelTarget target{static_cast<TbsColor*>(dib), dw, dh, true};
            const TRect d = ToDevice(DC, T);
            switch (OpOf(this)) {
            case TKernelOp::Blend: DIBStretchBlend(target, d, d, S, this); break;
            case TKernelOp::Keyed: DIBStretchKeyed(target, d, d, S, this); break;
            case TKernelOp::Copy: DIBStretchCopy(target, d, d, S, this); break;
            }
        } else {
            const int x = T.Left, y = T.Top, w = T.Width(), h = T.Height();
            if (FAlphaBlend)
                DrawToDCBlend(DC, x, y, w, h, this, S.Left, S.Top, S.Width(), S.Height());
            else if (FTransparent)
                DrawToDCKeyedEntry(DC, x, y, w, h, this, S.Left, S.Top, S.Width(), S.Height());
            else
                DrawToDCCopy(DC, x, y, w, h, this, S.Left, S.Top, S.Width(), S.Height());
        }
    });
}

void TbsBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) { Tile(Canvas->Handle(), DstRect, SrcRect); }

void TbsBitmap::Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    if (!Bitmap || Empty()) return;
    ForEachTile(DstRect, SrcRect, [&](const TRect& T, const TRect& S) { Draw(Bitmap, T, S); });
}

void TbsBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    if (!DC || Empty()) return;
    ForEachTile(DstRect, SrcRect, [&](const TRect& T, const TRect& S) {
        if (DstClip.IsEmpty() || !Intersect(T, DstClip).IsEmpty()) Draw(DC, T, S);
    });
}

void TbsBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TbsBitmap::TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    if (!Bitmap || Empty()) return;
    ForEachTile(DstRect, SrcRect, [&](const TRect& T, const TRect& S) {
        if (DstClip.IsEmpty() || !Intersect(T, DstClip).IsEmpty()) Draw(Bitmap, T, S);
    });
}

// ---- Merging, graphics and fills ----------------------------------------------------------

void TbsBitmap::MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect)
{
    if (!Bitmap || !Bitmap->Bits() || !FBits) return;
    const TRect src = Intersect(SrcRect, TRect(0, 0, Bitmap->Width(), Bitmap->Height()));
    for (int y = src.Top; y < src.Bottom; ++y) {
        const int dy = Y + y - SrcRect.Top;
        if (dy < 0 || dy >= FHeight) continue;
        for (int x = src.Left; x < src.Right; ++x) {
            const int dx = X + x - SrcRect.Left;
            if (dx < 0 || dx >= FWidth) continue;
            TbsColor& d = *PixelAddress(dx, dy);
            const uint8_t a = bsAlphaOf(d);
            if (a == 0)
                d = *Bitmap->PixelAddress(x, y);
            else if (a != 255)
                d = bsKernels.BlendPixel(d, *Bitmap->PixelAddress(x, y));
        }
    }
    ClearMMXState();
}

void TbsBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect)
{
    if (!Graphic || Empty()) return;
    TBitmap tmp;
    tmp.SetPixelFormat(pf32bit);
    tmp.SetSize(FWidth, FHeight);
    TCanvas* c = tmp.Canvas();
    c->Brush()->SetColor(RGB(255, 0, 255));
    c->FillRect(TRect(-1, -1, FWidth + 1, FHeight + 1));
    c->StretchDraw(DstRect, Graphic);
    for (int y = 0; y < FHeight; ++y) {
        const TbsColor* row = static_cast<const TbsColor*>(tmp.ScanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if ((row[x] & 0x00FFFFFF) != 0x00FF00FF) SetPixel(x, y, row[x]);
    }
}

void TbsBitmap::FillRect(const TRect& R, TbsColor Color)
{
    if (!FBits) return;
    const TRect r = Intersect(R, TRect(0, 0, FWidth, FHeight));
    if (r.IsEmpty()) return;
    if (FAlphaBlend) {
        std::vector<TbsColor> line(size_t(r.Width()), Color);
        for (int y = r.Top; y < r.Bottom; ++y) bsKernels.BlendLine(line.data(), PixelAddress(r.Left, y), r.Width());
        ClearMMXState();
    } else {
        bsKernels.FillRectPixels(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Color);
    }
}
