// Pixel surfaces.
#include "platform/graphics/Surface.h"

#include <cstring>
#include <limits>
#include <stdexcept>

TSurface::TSurface(int AWidth, int AHeight, int ABitsPerPixel, bool ABottomUp)
    : FWidth(AWidth), FHeight(AHeight), FBitsPerPixel(ABitsPerPixel), FStride(0), FBottomUp(ABottomUp)
{
    if (AWidth <= 0 || AHeight <= 0 || (ABitsPerPixel != 32 && ABitsPerPixel != 24))
        throw std::invalid_argument("TSurface: bad size or pixel format");
    // Keep every byte offset within int range so that row arithmetic cannot overflow.
    if (int64_t(AWidth) * 4 > std::numeric_limits<int>::max() / 2 ||
        int64_t(StrideFor(AWidth, ABitsPerPixel)) * AHeight > int64_t(1) << 31)
        throw std::bad_alloc();
    FStride = StrideFor(AWidth, ABitsPerPixel);
    FPixels.assign(size_t(FStride) * AHeight, 0);
}

uint32_t TSurface::GetPixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    const uint8_t* p = Row(Y) + X * BytesPerPixel();
    if (FBitsPerPixel == 32) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

void TSurface::SetPixel(int X, int Y, uint32_t ARGB)
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
    uint8_t* p = Row(Y) + X * BytesPerPixel();
    if (FBitsPerPixel == 32) {
        std::memcpy(p, &ARGB, 4);
    } else {
        p[0] = ARGB & 0xFF;
        p[1] = (ARGB >> 8) & 0xFF;
        p[2] = (ARGB >> 16) & 0xFF;
    }
}

void TSurface::Fill(uint32_t ARGB)
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) SetPixel(x, y, ARGB);
}
