// Pixel surfaces: the memory every device context draws into.
//
// A surface is a block of pixels of 32 bits (bytes B, G, R, A) or 24 bits (B, G, R),
// rows padded to a multiple of 4 bytes.  Surfaces are top-down by default; a
// bottom-up surface stores row 0 last, as a bottom-up device-independent bitmap does.
// Pixels start zero-filled.  A surface is shared (std::shared_ptr) between the bitmap
// handle that owns it and the device contexts that draw into it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/system/Types.h"

class TSurface {
public:
    // Width and Height must be positive; BitsPerPixel is 32 or 24.  Throws
    // std::invalid_argument for other values and std::bad_alloc when too large.
    TSurface(int AWidth, int AHeight, int ABitsPerPixel = 32, bool ABottomUp = false);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitsPerPixel() const { return FBitsPerPixel; }
    int BytesPerPixel() const { return FBitsPerPixel / 8; }
    bool BottomUp() const { return FBottomUp; }
    int Stride() const { return FStride; }              // bytes per row
    size_t SizeBytes() const { return FPixels.size(); }
    TRect Bounds() const { return {0, 0, FWidth, FHeight}; }

    // The memory as it lies: first stored row first (the bottom row for a bottom-up surface).
    uint8_t* Bits() { return FPixels.data(); }
    const uint8_t* Bits() const { return FPixels.data(); }

    // Address of image row Y (Y = 0 is the top row whatever the storage order).
    uint8_t* Row(int Y) { return FPixels.data() + size_t(FBottomUp ? FHeight - 1 - Y : Y) * FStride; }
    const uint8_t* Row(int Y) const { return const_cast<TSurface*>(this)->Row(Y); }
    uint32_t* Row32(int Y) { return reinterpret_cast<uint32_t*>(Row(Y)); }
    const uint32_t* Row32(int Y) const { return reinterpret_cast<const uint32_t*>(Row(Y)); }

    // Pixel as 0xAARRGGBB (alpha 0xFF for 24-bit surfaces); 0 outside the surface.
    uint32_t GetPixel(int X, int Y) const;
    // Writes 0xAARRGGBB (alpha dropped on 24-bit surfaces); nothing outside the surface.
    void SetPixel(int X, int Y, uint32_t ARGB);
    void Fill(uint32_t ARGB);

    static int StrideFor(int Width, int BitsPerPixel) { return ((Width * BitsPerPixel + 31) / 32) * 4; }

private:
    int FWidth, FHeight, FBitsPerPixel, FStride;
    bool FBottomUp;
    std::vector<uint8_t> FPixels;
};

using PSurface = std::shared_ptr<TSurface>;
