// Pixel kernels of the skin's 32-bit bitmaps: runs of 0xAARRGGBB pixels (bytes B, G, R, A
// in memory, not premultiplied).  The routines are reached through one process-wide table
// filled once at start-up, so that every drawing call costs one indirect call per run.
#pragma once

#include <cstdint>

using TbsColor = uint32_t;        // 0xAARRGGBB
using PbsColor = TbsColor*;
using PbsColorArray = TbsColor*;

// Pixels whose low 24 bits equal this value are left out by colour-keyed drawing.
constexpr TbsColor bsTransparentColor = 0x007F007F;

constexpr uint8_t bsAlphaOf(TbsColor C) { return uint8_t(C >> 24); }
constexpr uint8_t bsRedOf(TbsColor C) { return uint8_t(C >> 16); }
constexpr uint8_t bsGreenOf(TbsColor C) { return uint8_t(C >> 8); }
constexpr uint8_t bsBlueOf(TbsColor C) { return uint8_t(C); }
constexpr TbsColor bsPackARGB(uint32_t A, uint32_t R, uint32_t G, uint32_t B)
{
    return (A << 24) | (R << 16) | (G << 8) | B;
}

struct TbsPixelKernels {
    TbsColor (*BlendPixel)(TbsColor Fg, TbsColor Bg);
    void (*BlendLine)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*CopyLineKeyed)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*MoveLine)(const TbsColor* Src, TbsColor* Dst, int Count);
    void (*FillLine)(TbsColor* Dst, int Count, TbsColor Value);
    // Inclusive rectangle Left..Right x Top..Bottom, rows Stride pixels apart; Height unused.
    void (*FillRectPixels)(TbsColor* Bits, int Stride, int Height, int Left, int Top, int Right,
                           int Bottom, TbsColor Value);
    void (*SetAlphaLine)(TbsColor* Dst, int Count, uint8_t Alpha);
    void (*SetAlphaRect)(TbsColor* Bits, int Stride, int Height, int Left, int Top, int Right,
                         int Bottom, uint8_t Alpha);
    void (*ClearAlphaOfColor)(TbsColor* Dst, int Count, TbsColor Color);
};

// The table in use.  Filled by InitPixelKernels at start-up (static initialisation).
extern TbsPixelKernels bsKernels;

// The two blend variants.  Plain: colour = (Fg*a + Bg*(255-a)) >> 8 with a = 0 and 255
// special-cased and an opaque result.  MMX: every channel, alpha included, is
// ((Fg-Bg)*a + Bg*256) >> 8 with no special case (the line form still skips a = 0 and
// copies a = 255).  The results differ by at most one step per channel.
TbsColor BlendPixelPlain(TbsColor Fg, TbsColor Bg);
TbsColor BlendPixelMMX(TbsColor Fg, TbsColor Bg);
void BlendLinePlain(const TbsColor* Src, TbsColor* Dst, int Count);
void BlendLineMMX(const TbsColor* Src, TbsColor* Dst, int Count);

// The line blend the start-up choice puts in the table for a variant (a wider form of the
// same arithmetic where the processor has one).
using BlendLineFn = void (*)(const TbsColor* Src, TbsColor* Dst, int Count);
BlendLineFn BlendLineVariant(bool UseMMX);

// The processor test that chooses the blend variant.  Every x86-64 processor has MMX.
bool IsMMXPresent();
// Fills bsKernels: the MMX blends when UseMMX, else the plain ones.
void InitPixelKernels(bool UseMMX);
inline void InitPixelKernels() { InitPixelKernels(IsMMXPresent()); }
// Kept for the drawing loops that end with it; nothing to do on this processor family.
inline void ClearMMXState() {}
