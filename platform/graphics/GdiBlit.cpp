// Block transfers: BitBlt, StretchBlt, TransparentBlt, AlphaBlend and the DIB transfers.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/graphics/GdiInternal.h"

using gdi::TPixelView;

namespace {

// One axis of a transfer, in 64 bits so that extreme origins and extents (a damaged skin
// may ask for them) neither overflow nor cost more than the pixels actually written.
struct TAxisSpan {
    int64_t Start = 0, Len = 0;
    bool Neg = false;
};

TAxisSpan Normalise(int64_t Origin, int64_t Extent)
{
    if (Extent < 0) return {Origin + Extent, -Extent, true};
    return {Origin, Extent, false};
}

// The source index that destination pixel Start + i reads (absolute, possibly outside the
// source).
inline int64_t AxisSource(const TAxisSpan& D, const TAxisSpan& S, int64_t i)
{
    const auto Num = static_cast<unsigned __int128>(2 * i + 1) * static_cast<unsigned __int128>(S.Len);
    int64_t k = int64_t(Num / static_cast<unsigned __int128>(2 * D.Len));
    if (D.Neg != S.Neg) k = S.Len - 1 - k;
    return S.Start + k;
}

// The map of source indexes for destination pixels From .. To - 1 only.
std::vector<int64_t> AxisMap(const TAxisSpan& D, const TAxisSpan& S, int From, int To)
{
    std::vector<int64_t> M(size_t(std::max(To - From, 0)));
    for (int p = From; p < To; ++p) M[size_t(p - From)] = AxisSource(D, S, p - D.Start);
    return M;
}

enum class TMode { Copy, Key, Blend };

struct TTransfer {
    TMode Mode = TMode::Copy;
    uint32_t Key = 0;          // 0x00RRGGBB of the key colour
    BLENDFUNCTION Blend;
};

inline uint32_t Div255(uint32_t X) { return (X + 128 + ((X + 128) >> 8)) >> 8; }

inline uint32_t BlendPixel(uint32_t S, uint32_t D, const BLENDFUNCTION& B)
{
    uint32_t C = B.SourceConstantAlpha;
    uint32_t Out = 0;
    if (B.AlphaFormat & AC_SRC_ALPHA) {
        uint32_t Sa = Div255((S >> 24) * C);
        for (int Sh = 0; Sh < 32; Sh += 8) {
            uint32_t s = (S >> Sh) & 0xFF, d = (D >> Sh) & 0xFF;
            uint32_t v = Div255(s * C) + Div255(d * (255 - Sa));
            Out |= std::min<uint32_t>(v, 255) << Sh;
        }
    } else {
        for (int Sh = 0; Sh < 32; Sh += 8) {
            uint32_t s = (S >> Sh) & 0xFF, d = (D >> Sh) & 0xFF;
            Out |= Div255(s * C + d * (255 - C)) << Sh;
        }
    }
    return Out;
}

// Transfers from Src (a pixel view) into the destination DC's surface.  DstX/DstY and
// the source coordinates are already surface coordinates; spans are normalised.
void Transfer(TSurface& DstS, const TRegion& Clip, TAxisSpan DX, TAxisSpan DY, const TPixelView& Src,
              TAxisSpan SX, TAxisSpan SY, const TTransfer& T)
{
    if (DX.Len <= 0 || DY.Len <= 0 || SX.Len <= 0 || SY.Len <= 0) return;
    // the destination is clipped first: no work is done for pixels outside the clip
    const TRect CB = Clip.Bounds();
    const int64_t L0 = std::max<int64_t>(CB.Left, DX.Start), R0 = std::min<int64_t>(CB.Right, DX.Start + DX.Len);
    const int64_t T0 = std::max<int64_t>(CB.Top, DY.Start), B0 = std::min<int64_t>(CB.Bottom, DY.Start + DY.Len);
    if (L0 >= R0 || T0 >= B0) return;
    const TRect DstRect{int(L0), int(T0), int(R0), int(B0)};
    if (!Clip.Intersects(DstRect)) return;

    TPixelView Dst = gdi::ViewOf(DstS);
    bool Identity = DX.Len == SX.Len && DY.Len == SY.Len && DX.Neg == SX.Neg && DY.Neg == SY.Neg;

    // Fast path: same-size copy between 32-bit pixels, row by row.
    if (Identity && T.Mode == TMode::Copy && Src.Bpp == 32 && Dst.Bpp == 32) {
        const int64_t ox = SX.Start - DX.Start, oy = SY.Start - DY.Start;
        for (size_t Ci = Clip.FirstBelow(DstRect.Top); Ci < Clip.Rects().size(); ++Ci) {
            const TRect& C = Clip.Rects()[Ci];
            if (C.Top >= DstRect.Bottom) break;
            // Keep to the source's extent.
            const int64_t L = std::max<int64_t>({C.Left, DstRect.Left, -ox});
            const int64_t R = std::min<int64_t>({C.Right, DstRect.Right, Src.Width - ox});
            const int64_t Tp = std::max<int64_t>({C.Top, DstRect.Top, -oy});
            const int64_t B = std::min<int64_t>({C.Bottom, DstRect.Bottom, Src.Height - oy});
            if (L >= R) continue;
            for (int64_t y = Tp; y < B; ++y)
                std::memmove(Dst.Row(int(y)) + L * 4, Src.Row(int(y + oy)) + (L + ox) * 4, size_t(R - L) * 4);
        }
        return;
    }

    const std::vector<int64_t> MX = AxisMap(DX, SX, DstRect.Left, DstRect.Right);
    const std::vector<int64_t> MY = AxisMap(DY, SY, DstRect.Top, DstRect.Bottom);
    for (size_t Ci = Clip.FirstBelow(DstRect.Top); Ci < Clip.Rects().size(); ++Ci) {
        const TRect& C = Clip.Rects()[Ci];
        if (C.Top >= DstRect.Bottom) break;
        int L = std::max(C.Left, DstRect.Left), R = std::min(C.Right, DstRect.Right);
        int Tp = std::max(C.Top, DstRect.Top), B = std::min(C.Bottom, DstRect.Bottom);
        for (int y = Tp; y < B; ++y) {
            const int64_t sy = MY[size_t(y - DstRect.Top)];
            if (sy < 0 || sy >= Src.Height) continue;
            for (int x = L; x < R; ++x) {
                const int64_t sx = MX[size_t(x - DstRect.Left)];
                if (sx < 0 || sx >= Src.Width) continue;
                uint32_t S = Src.Get(int(sx), int(sy));
                switch (T.Mode) {
                case TMode::Copy: Dst.Put(x, y, S); break;
                case TMode::Key:
                    if ((S & 0xFFFFFF) != T.Key) Dst.Put(x, y, S);
                    break;
                case TMode::Blend: Dst.Put(x, y, BlendPixel(S, Dst.Get(x, y), T.Blend)); break;
                }
            }
        }
    }
}

// Source view of a DC: its surface (copied when it is also the destination, so that
// overlapping transfers read the pixels as they were before the call).
bool SourceView(TDCData& Src, TSurface* Dst, TPixelView& V, std::shared_ptr<TSurface>& Keep)
{
    PSurface S = Src.Surface();
    if (!S) return false;
    if (S.get() == Dst) {
        Keep = std::make_shared<TSurface>(*S);
        V = gdi::ViewOf(*Keep);
    } else {
        Keep = S;
        V = gdi::ViewOf(*S);
    }
    return true;
}

BOOL DCTransfer(HDC DstDC, int X, int Y, int W, int H, HDC SrcDC, int XSrc, int YSrc, int WSrc, int HSrc,
                const TTransfer& T, bool RequireInside)
{
    auto D = LookupDC(DstDC);
    auto S = LookupDC(SrcDC);
    if (!D || !S) return FALSE;
    PSurface DstS = D->Surface();
    if (!DstS) return TRUE;   // nothing to draw on (a memory DC without a bitmap)
    TPixelView V;
    PSurface Keep;
    if (!SourceView(*S, DstS.get(), V, Keep)) return TRUE;  // reading from nothing: nothing changes
    TPoint DO = D->ToSurface(X, Y), SO = S->ToSurface(XSrc, YSrc);
    TAxisSpan DX = Normalise(DO.X, W), DY = Normalise(DO.Y, H);
    TAxisSpan SX = Normalise(SO.X, WSrc), SY = Normalise(SO.Y, HSrc);
    if (RequireInside && (SX.Start < 0 || SY.Start < 0 || SX.Start + SX.Len > V.Width || SY.Start + SY.Len > V.Height))
        return FALSE;
    Transfer(*DstS, D->Clip(), DX, DY, V, SX, SY, T);
    return TRUE;
}

// A caller's DIB as a pixel view; false for formats the transfers do not read.
bool DIBView(const void* Bits, const BITMAPINFO* Info, TPixelView& V)
{
    if (!Bits || !Info) return false;
    const BITMAPINFOHEADER& H = Info->bmiHeader;
    if (H.biWidth <= 0 || H.biHeight == 0 || H.biHeight == INT32_MIN) return false;
    if ((H.biBitCount != 32 && H.biBitCount != 24) || (H.biCompression != BI_RGB && H.biCompression != BI_BITFIELDS))
        return false;
    V.Bits = const_cast<uint8_t*>(static_cast<const uint8_t*>(Bits));
    V.Width = H.biWidth;
    V.Height = H.biHeight < 0 ? -H.biHeight : H.biHeight;
    V.Bpp = H.biBitCount;
    V.Stride = TSurface::StrideFor(V.Width, V.Bpp);
    V.BottomUp = H.biHeight > 0;
    return true;
}

// Source span of a DIB transfer: y measured from the image's bottom edge.
TAxisSpan DIBSourceRows(int Height, int YSrc, int HSrc)
{
    TAxisSpan Up = Normalise(YSrc, HSrc);
    return {Height - (Up.Start + Up.Len), Up.Len, Up.Neg};
}

}  // namespace

BOOL BitBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop)
{
    if (Rop != SRCCOPY) return FALSE;
    return DCTransfer(Dst, X, Y, W, H, Src, XSrc, YSrc, W, H, TTransfer{}, false);
}

BOOL StretchBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, DWORD Rop)
{
    if (Rop != SRCCOPY) return FALSE;
    return DCTransfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, TTransfer{}, false);
}

BOOL TransparentBlt(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, UINT Key)
{
    if (W < 0 || H < 0 || WSrc < 0 || HSrc < 0) return FALSE;
    TTransfer T;
    T.Mode = TMode::Key;
    T.Key = gdi::PixelOf(Key) & 0xFFFFFF;
    return DCTransfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, T, false);
}

BOOL AlphaBlend(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, BLENDFUNCTION Blend)
{
    if (Blend.BlendOp != AC_SRC_OVER || W < 0 || H < 0 || WSrc < 0 || HSrc < 0) return FALSE;
    if (Blend.AlphaFormat & AC_SRC_ALPHA) {
        PSurface S = GetDCSurface(Src);
        if (S && S->BitsPerPixel() != 32) return FALSE;
    }
    TTransfer T;
    T.Mode = TMode::Blend;
    T.Blend = Blend;
    return DCTransfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, T, true);
}

int StretchDIBits(HDC DC, int XDest, int YDest, int DestW, int DestH, int XSrc, int YSrc, int SrcW, int SrcH,
                  const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop)
{
    auto D = LookupDC(DC);
    TPixelView V;
    if (!D || Usage != DIB_RGB_COLORS || Rop != SRCCOPY || !DIBView(Bits, Info, V)) return 0;
    PSurface DstS = D->Surface();
    if (!DstS) return V.Height;
    TPoint DO = D->ToSurface(XDest, YDest);
    Transfer(*DstS, D->Clip(), Normalise(DO.X, DestW), Normalise(DO.Y, DestH), V, Normalise(XSrc, SrcW),
             DIBSourceRows(V.Height, YSrc, SrcH), TTransfer{});
    return std::abs(SrcH);
}

int SetDIBitsToDevice(HDC DC, int XDest, int YDest, DWORD W, DWORD H, int XSrc, int YSrc, UINT StartScan, UINT Lines,
                      const void* Bits, const BITMAPINFO* Info, UINT Usage)
{
    auto D = LookupDC(DC);
    TPixelView V;
    if (!D || Usage != DIB_RGB_COLORS || !DIBView(Bits, Info, V)) return 0;
    // The buffer must hold the whole image: banded transfers are not used.
    if (StartScan != 0 || Lines < UINT(V.Height) || W > 0x7FFFFFFF || H > 0x7FFFFFFF) return 0;
    PSurface DstS = D->Surface();
    if (!DstS) return int(Lines);
    TPoint DO = D->ToSurface(XDest, YDest);
    Transfer(*DstS, D->Clip(), Normalise(DO.X, int(W)), Normalise(DO.Y, int(H)), V, Normalise(XSrc, int(W)),
             DIBSourceRows(V.Height, YSrc, int(H)), TTransfer{});
    return int(Lines);
}

int GetDIBits(HDC, HBITMAP Bitmap, UINT Start, UINT Lines, void* Bits, BITMAPINFO* Info, UINT Usage)
{
    PSurface S = GetBitmapSurface(Bitmap);
    if (!S || !Info || Usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& H = Info->bmiHeader;
    if (H.biSize < 40) return 0;
    if (!Bits) {
        // Describe the bitmap.
        H.biWidth = S->Width();
        H.biHeight = S->Height();
        H.biPlanes = 1;
        if (H.biBitCount != 24 && H.biBitCount != 32) H.biBitCount = 32;
        H.biCompression = BI_RGB;
        H.biSizeImage = DWORD(TSurface::StrideFor(S->Width(), H.biBitCount) * S->Height());
        return S->Height();
    }
    if ((H.biBitCount != 24 && H.biBitCount != 32) || H.biCompression != BI_RGB || H.biWidth <= 0 ||
        H.biHeight == 0 || H.biHeight == INT32_MIN)
        return 0;
    bool BottomUp = H.biHeight > 0;
    int DibH = BottomUp ? H.biHeight : -H.biHeight;
    if (Start >= UINT(DibH)) return 0;
    Lines = std::min<UINT>(Lines, UINT(DibH) - Start);
    TPixelView Out;
    Out.Bits = static_cast<uint8_t*>(Bits);
    Out.Width = H.biWidth;
    Out.Height = int(Lines);
    Out.Bpp = H.biBitCount;
    Out.Stride = TSurface::StrideFor(Out.Width, Out.Bpp);
    TPixelView In = gdi::ViewOf(*S);
    int W = std::min(Out.Width, In.Width);
    int Copied = 0;
    for (UINT i = 0; i < Lines; ++i) {
        int Scan = int(Start + i);                         // scan index in the DIB's order
        int ImgRow = BottomUp ? DibH - 1 - Scan : Scan;    // row of the image, top = 0
        uint8_t* OutRow = Out.Bits + size_t(i) * Out.Stride;
        if (ImgRow >= In.Height) {
            std::memset(OutRow, 0, size_t(Out.Stride));
            continue;
        }
        for (int x = 0; x < W; ++x) {
            uint32_t P = In.Get(x, ImgRow);
            if (Out.Bpp == 32) std::memcpy(OutRow + x * 4, &P, 4);
            else { OutRow[x * 3] = P & 0xFF; OutRow[x * 3 + 1] = (P >> 8) & 0xFF; OutRow[x * 3 + 2] = (P >> 16) & 0xFF; }
        }
        ++Copied;
    }
    return Copied;
}
