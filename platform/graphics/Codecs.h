// Picture file readers and writers shared by the picture classes (internal).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace gdi {

// The bytes of a stream from its position to its end (at most Limit bytes).
std::vector<uint8_t> ReadRest(TStream* Stream);

// ---- BMP ----------------------------------------------------------------------------
struct TBmpImage {
    PSurface Surface;                 // 24 or 32 bits, top-down
    TPixelFormat Format = pf24bit;    // pf32bit for 32-bit files, pf24bit otherwise
    size_t Consumed = 0;              // bytes of the file
};
// Reads a BMP file image (with its file header), or a bare DIB when Bare is true.
// Raises EInvalidGraphic for anything malformed; never reads beyond Size.
TBmpImage ReadBmp(const uint8_t* Data, size_t Size, bool Bare = false);
// A complete BMP file: 32 bits for 32-bit surfaces (alpha kept), 24 bits for 24-bit
// ones, 1 bit (black and white) when Format is pf1bit.
std::vector<uint8_t> WriteBmp(const TSurface& S, TPixelFormat Format);

bool IsPng(const uint8_t* Data, size_t Size);

}  // namespace gdi
