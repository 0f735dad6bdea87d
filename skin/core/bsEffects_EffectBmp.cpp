// 24-bit effect bitmap: transition frames and picture effects computed in its own memory.
#include "skin/core/bsEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

inline uint8_t Clamp255(double V)
{
    int64_t r = Round(V);
    return uint8_t(r < 0 ? 0 : r > 255 ? 255 : r);
}

inline uint8_t ClampInt(int V) { return uint8_t(V < 0 ? 0 : V > 255 ? 255 : V); }

inline double ClampKf(double Kf)
{
    if (!(Kf >= 0)) return 0;  // also not a number
    return Kf > 1 ? 1 : Kf;
}

inline int ClampIndex(int V, int Size) { return V < 0 ? 0 : V >= Size ? Size - 1 : V; }

// Blends one pixel: own * T + other * (1 - T), per channel, rounded and clamped.
inline void BlendTowards(uint8_t* Own, const uint8_t* Other, double T)
{
    for (int c = 0; c < 3; ++c) Own[c] = Clamp255(Own[c] * T + Other[c] * (1 - T));
}

inline void CrossFade(uint8_t* Own, const uint8_t* Other, double Kf)
{
    for (int c = 0; c < 3; ++c) Own[c] = Clamp255((1 - Kf) * Own[c] + Kf * Other[c]);
}

inline bool IsWhite(const uint8_t* P) { return P[0] == 255 && P[1] == 255 && P[2] == 255; }

}  // namespace

int TbsEffectBmp::StrideOf(int AWidth) { return AWidth * 3 + AWidth % 4; }

// ---- Construction and output --------------------------------------------------------------

void TbsEffectBmp::Allocate(int cx, int cy)
{
    if (cx <= 0 || cy <= 0) throw Exception(Format("Invalid effect bitmap size %d x %d", cx, cy));
    void* bits = nullptr;
    Handle = CreateTopDownDIB(cx, cy, 24, BmpInfo, bits);
    BmpHeader = BmpInfo.bmiHeader;
    Bits = static_cast<uint8_t*>(bits);
    Width = cx;
    Height = cy;
    Size = StrideOf(cx) * cy;
}

TbsEffectBmp::TbsEffectBmp(int cx, int cy) { Allocate(cx, cy); }

TbsEffectBmp::TbsEffectBmp(HBITMAP hBmp)
{
    BITMAP bm;
    if (!hBmp || !GetObject(hBmp, sizeof(bm), &bm)) throw Exception("Invalid bitmap handle");
    Allocate(bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight);
    HDC dc = CreateDC("DISPLAY");
    GetDIBits(dc, hBmp, 0, UINT(Height), Bits, &BmpInfo, DIB_RGB_COLORS);
    DeleteDC(dc);
}

TbsEffectBmp::TbsEffectBmp(const TbsEffectBmp& Src) : TObject()
{
    Allocate(Src.Width, Src.Height);
    std::memcpy(Bits, Src.Bits, size_t(Size));
}

TbsEffectBmp::~TbsEffectBmp()
{
    if (Handle) DeleteObject(Handle);
}

void TbsEffectBmp::Draw(HDC DC, int X, int Y)
{
    SetDIBitsToDevice(DC, X, Y, DWORD(Width), DWORD(Height), 0, 0, 0, UINT(Height), Bits, &BmpInfo, DIB_RGB_COLORS);
}

void TbsEffectBmp::Stretch(HDC DC, int X, int Y, int cx, int cy)
{
    StretchDIBits(DC, X, Y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC DC, int hx, int hy, int X, int Y, int cx, int cy)
{
    // The part (X, Y, cx, cy) at (hx, hy); the source y of the DIB call counts from the bottom.
    StretchDIBits(DC, hx, hy, cx, cy, X, Height - Y - cy, cx, cy, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

uint8_t* TbsEffectBmp::ScanLineAddress(int Y) const { return Bits + size_t(Y) * StrideOf(Width); }

uint8_t* TbsEffectBmp::PixelAddress(int X, int Y) const { return ScanLineAddress(Y) + size_t(X) * 3; }

void TbsEffectBmp::GetScanLine(int Y, void* Line) const { std::memcpy(Line, ScanLineAddress(Y), size_t(Width) * 3); }

void TbsEffectBmp::SetScanLine(int Y, const void* Line) { std::memcpy(ScanLineAddress(Y), Line, size_t(Width) * 3); }

uint32_t TbsEffectBmp::GetPixel(int X, int Y) const
{
    const uint8_t* p = PixelAddress(X, Y);
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

void TbsEffectBmp::SetPixel(int X, int Y, uint32_t Value)
{
    uint8_t* p = PixelAddress(X, Y);
    p[0] = uint8_t(Value);
    p[1] = uint8_t(Value >> 8);
    p[2] = uint8_t(Value >> 16);
}

bool TbsEffectBmp::SameSize(const TbsEffectBmp* BMP) const
{
    return BMP && BMP->Width == Width && BMP->Height == Height;
}

void TbsEffectBmp::Morph(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Kf = ClampKf(Kf);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) CrossFade(PixelAddress(x, y), BMP->PixelAddress(x, y), Kf);
}

void TbsEffectBmp::MorphRect(const TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX, int StartY)
{
    if (!BMP) return;
    Kf = ClampKf(Kf);
    for (int y = Rct.Top; y < Rct.Bottom; ++y)
        for (int x = Rct.Left; x < Rct.Right; ++x) {
            int sx = StartX + x - Rct.Left, sy = StartY + y - Rct.Top;
            if (x < 0 || y < 0 || x >= Width || y >= Height) continue;
            if (sx < 0 || sy < 0 || sx >= BMP->Width || sy >= BMP->Height) continue;
            CrossFade(PixelAddress(x, y), BMP->PixelAddress(sx, sy), Kf);
        }
}

void TbsEffectBmp::CopyRect(const TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY)
{
    if (!BMP) return;
    // The rectangle's right and bottom are inside here.
    if (Rct.Right > Width - 1) Rct.Right = Width - 1;
    if (Rct.Bottom > Height - 1) Rct.Bottom = Height - 1;
    for (int y = std::max(Rct.Top, 0); y <= Rct.Bottom; ++y)
        for (int x = std::max(Rct.Left, 0); x <= Rct.Right; ++x) {
            int sx = StartX + x - Rct.Left, sy = StartY + y - Rct.Top;
            if (sx < 0 || sy < 0 || sx >= BMP->Width || sy >= BMP->Height) continue;
            std::memcpy(PixelAddress(x, y), BMP->PixelAddress(sx, sy), 3);
        }
}

void TbsEffectBmp::MorphHGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 0) return;
    Kf = ClampKf(Kf);
    int b = int(Round(Width * Kf));
    int c = (Width - b) / 2;
    double f = c == 0 ? 1.0 : 1.0 / c;
    int l = std::max(0, Width / 2 - b / 2), r = std::min(Width - 1, Width / 2 + b / 2);
    for (int y = 0; y < Height; ++y) {
        for (int x = l; x <= r; ++x) std::memcpy(PixelAddress(x, y), BMP->PixelAddress(x, y), 3);
        double t = 0;
        for (int x = l; x >= 0; --x) {
            BlendTowards(PixelAddress(x, y), BMP->PixelAddress(x, y), t);
            t = std::min(1.0, t + f);
        }
        t = 0;
        for (int x = r; x < Width; ++x) {
            BlendTowards(PixelAddress(x, y), BMP->PixelAddress(x, y), t);
            t = std::min(1.0, t + f);
        }
    }
}

void TbsEffectBmp::MorphVGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Height <= 0) return;
    Kf = ClampKf(Kf);
    int b = int(Round(Height * Kf));
    int len = (Height - 1 - b) / 2;
    double f = len == 0 ? 0.0 : 1.0 / len;
    int top = std::max(0, Height / 2 - b / 2), bottom = std::min(Height - 1, Height / 2 + b / 2);
    const size_t rowBytes = size_t(Width) * 3;
    for (int y = top; y <= bottom; ++y) std::memcpy(ScanLineAddress(y), BMP->ScanLineAddress(y), rowBytes);
    auto fadeRow = [&](int y, double t) {
        for (int x = 0; x < Width; ++x) BlendTowards(PixelAddress(x, y), BMP->PixelAddress(x, y), t);
    };
    double t = 0;
    for (int y = top; y >= 0; --y) {
        fadeRow(y, t);
        t = std::min(1.0, t + f);
    }
    t = 0;
    for (int y = bottom; y < Height; ++y) {
        fadeRow(y, t);
        t = std::min(1.0, t + f);
    }
}

void TbsEffectBmp::MorphGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (Width < Height)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

void TbsEffectBmp::MorphLeftGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 0) return;
    int b = std::min(std::max(int(Round(Width * ClampKf(Kf))), 1), Width - 1);
    double f = b > 0 ? 1.0 / b : 1.0;
    for (int y = 0; y < Height; ++y) {
        double t = 0;
        for (int x = 0; x <= b; ++x) {
            BlendTowards(PixelAddress(x, y), BMP->PixelAddress(x, y), t);
            t = std::min(1.0, t + f);
        }
    }
}

void TbsEffectBmp::MorphRightGrad(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 0) return;
    int c = std::min(std::max(Width - int(Round(Width * ClampKf(Kf))), 0), Width - 1);
    double e = Width - c <= 0 ? 1.0 : 1.0 / (Width - c);
    for (int y = 0; y < Height; ++y) {
        double t = 0;
        for (int x = Width - 1; x >= c; --x) {
            BlendTowards(PixelAddress(x, y), BMP->PixelAddress(x, y), t);
            t = std::min(1.0, t + e);
        }
    }
}

void TbsEffectBmp::MorphPush(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 0) return;
    int b = std::min(std::max(int(Round(Width * ClampKf(Kf))), 0), Width - 1);
    for (int y = 0; y < Height; ++y) {
        for (int x = Width - 1; x >= b; --x) {
            int from = x == b ? 0 : x - b - 1;
            std::memcpy(PixelAddress(x, y), PixelAddress(from, y), 3);
        }
        for (int x = 0; x <= b; ++x)
            std::memcpy(PixelAddress(x, y), BMP->PixelAddress(std::min(Width - b - 1 + x, Width - 1), y), 3);
    }
}

void TbsEffectBmp::MorphLeftSlide(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 1) return;
    int b = std::min(std::max(int(Round(Width * ClampKf(Kf))), 1), Width - 1);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < b; ++x)
            std::memcpy(PixelAddress(x, y), BMP->PixelAddress(std::min(Width - b + x, Width - 1), y), 3);
}

void TbsEffectBmp::MorphRightSlide(const TbsEffectBmp* BMP, double Kf)
{
    if (!SameSize(BMP) || Width <= 1) return;
    int b = std::min(std::max(int(Round(Width * ClampKf(Kf))), 1), Width - 1);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < b; ++x) std::memcpy(PixelAddress(Width - b + x, y), BMP->PixelAddress(x, y), 3);
}

template <typename F>
void TbsEffectBmp::ForEachChannel(F Fn)
{
    std::vector<uint8_t> line(size_t(Width) * 3);
    for (int y = 0; y < Height; ++y) {
        GetScanLine(y, line.data());
        for (size_t i = 0; i < line.size(); i += 3) Fn(&line[i]);
        SetScanLine(y, line.data());
    }
}

void TbsEffectBmp::ChangeBrightness(double Kf)
{
    Kf = ClampKf(Kf);
    ForEachChannel([Kf](uint8_t* p) {
        for (int c = 0; c < 3; ++c) p[c] = Clamp255((1 - Kf) * p[c] + Kf * 255);
    });
}

void TbsEffectBmp::ChangeDarkness(double Kf)
{
    ForEachChannel([Kf](uint8_t* p) {
        for (int c = 0; c < 3; ++c) p[c] = Clamp255((1 - Kf) * p[c]);
    });
}

void TbsEffectBmp::Invert()
{
    ForEachChannel([](uint8_t* p) {
        for (int c = 0; c < 3; ++c) p[c] ^= 255;
    });
}

void TbsEffectBmp::GrayScale()
{
    ForEachChannel([](uint8_t* p) {
        uint8_t g = Clamp255(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
        p[0] = p[1] = p[2] = g;
    });
}

// The four-corner sample blur shared by SplitBlur and the mask blurs.  Samples are taken
// from the picture as already changed; fallback rows and columns stay inside the picture.
void TbsEffectBmp::CornerBlur(int Amount, const TbsEffectBmp* Msk, bool EdgeOnly)
{
    // The sample before a position (itself when that would fall outside) and after it
    // (the mirrored position when outside), both kept inside the picture.
    auto before = [Amount](int V, int Size) { return ClampIndex(V - Amount < 0 ? V : V - Amount, Size); };
    auto after = [Amount](int V, int Size) { return ClampIndex(V + Amount >= Size ? Size - V : V + Amount, Size); };
    for (int y = 0; y < Height; ++y) {
        const int above = before(y, Height), below = after(y, Height);
        for (int x = 0; x < Width; ++x) {
            const int left = before(x, Width), right = after(x, Width);
            if (Msk) {
                if (IsWhite(Msk->PixelAddress(x, y))) continue;
                if (EdgeOnly && !IsWhite(Msk->PixelAddress(left, above)) && !IsWhite(Msk->PixelAddress(left, below)) &&
                    !IsWhite(Msk->PixelAddress(right, above)) && !IsWhite(Msk->PixelAddress(right, below)))
                    continue;
            }
            const uint8_t* s1 = PixelAddress(left, above);
            const uint8_t* s2 = PixelAddress(left, below);
            const uint8_t* s3 = PixelAddress(right, above);
            const uint8_t* s4 = PixelAddress(right, below);
            uint8_t* p = PixelAddress(x, y);
            for (int c = 0; c < 3; ++c) p[c] = uint8_t((s1[c] + s2[c] + s3[c] + s4[c]) >> 2);
        }
    }
}

void TbsEffectBmp::SplitBlur(int Amount)
{
    if (Amount == 0 || Width <= 0 || Height <= 0) return;
    CornerBlur(Amount, nullptr, false);
}

bool TbsEffectBmp::MaskFits(const TbsEffectBmp* Msk) const
{
    return Msk && Width > 0 && Height > 0 && Msk->Width == Width && Msk->Height >= Height;
}

void TbsEffectBmp::MaskBlur(const TbsEffectBmp* Msk, int Amount)
{
    if (Amount == 0 || !MaskFits(Msk)) return;
    CornerBlur(Amount, Msk, false);
}

void TbsEffectBmp::MaskAntialiasing(const TbsEffectBmp* Msk, int Amount)
{
    if (Amount == 0 || !MaskFits(Msk)) return;
    CornerBlur(Amount, Msk, true);
}

void TbsEffectBmp::MaskFillColor(const TbsEffectBmp* Msk, TColor C, double kf)
{
    if (!MaskFits(Msk)) return;
    TColor rgb = ColorToRGB(C);
    const double ch[3] = {double(GetBValue(rgb)), double(GetGValue(rgb)), double(GetRValue(rgb))};
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (IsWhite(Msk->PixelAddress(x, y))) continue;
            uint8_t* p = PixelAddress(x, y);
            for (int c = 0; c < 3; ++c) p[c] = Clamp255((1 - kf) * p[c] + kf * ch[c]);
        }
}

void TbsEffectBmp::Mosaic(int ASize)
{
    if (ASize <= 1) return;
    for (int by = 0; by < Height; by += ASize)
        for (int bx = 0; bx < Width; bx += ASize) {
            uint8_t src[3];
            std::memcpy(src, PixelAddress(bx, by), 3);
            for (int y = by; y < std::min(by + ASize, Height); ++y)
                for (int x = bx; x < std::min(bx + ASize, Width); ++x) std::memcpy(PixelAddress(x, y), src, 3);
        }
}

void TbsEffectBmp::AddMonoNoise(int Amount)
{
    if (Amount <= 0) return;
    ForEachChannel([Amount](uint8_t* p) {
        int r = Random(Amount) - Amount / 2;
        for (int c = 0; c < 3; ++c) p[c] = ClampInt(p[c] + r);
    });
}

void TbsEffectBmp::AddColorNoise(int Amount)
{
    if (Amount <= 0) return;
    ForEachChannel([Amount](uint8_t* p) {
        for (int c = 0; c < 3; ++c) p[c] = ClampInt(p[c] + Random(Amount) - Amount / 2);
    });
}

void TbsEffectBmp::Rotate90_1(TbsEffectBmp* Dst) const
{
    if (!Dst || Dst->Width != Height || Dst->Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) std::memcpy(Dst->PixelAddress(y, Width - 1 - x), PixelAddress(x, y), 3);
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp* Dst) const
{
    if (!Dst || Dst->Width != Height || Dst->Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) std::memcpy(Dst->PixelAddress(Height - 1 - y, x), PixelAddress(x, y), 3);
}

void TbsEffectBmp::FlipVert(TbsEffectBmp* Dst) const
{
    if (!SameSize(Dst)) return;
    for (int y = 0; y < Height; ++y) std::memcpy(Dst->ScanLineAddress(Height - 1 - y), ScanLineAddress(y), size_t(Width) * 3);
}

void TbsEffectBmp::Wave(int XDIV, int YDIV, double RatioVal)
{
    if (XDIV == 0 || YDIV == 0 || Width <= 0 || Height <= 0) return;
    TbsEffectBmp copy(*this);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            int sx = ClampIndex(int(Round(std::sin(double(y) / YDIV) * RatioVal + x)), Width);
            int sy = ClampIndex(int(Round(y + RatioVal * std::sin(double(x) / XDIV))), Height);
            std::memcpy(PixelAddress(x, y), copy.PixelAddress(sx, sy), 3);
        }
}

void TbsEffectBmp::Resize(TbsEffectBmp* Dst) const
{
    if (!Dst || Width <= 0 || Height <= 0) return;
    double kx = double(Dst->Width - 1) / Width, ky = double(Dst->Height - 1) / Height;
    int bw = int(Round(kx)) + 1, bh = int(Round(ky)) + 1;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            int dx0 = int(Round(kx * x)), dy0 = int(Round(ky * y));
            for (int dy = dy0; dy < dy0 + bh; ++dy)
                for (int dx = dx0; dx < dx0 + bw; ++dx)
                    if (dx >= 0 && dy >= 0 && dx < Dst->Width && dy < Dst->Height)
                        std::memcpy(Dst->PixelAddress(dx, dy), PixelAddress(x, y), 3);
        }
}
