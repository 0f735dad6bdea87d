// Converting decoded pictures into 24-bit platform bitmaps.
#include "engine/common/FFUtils.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cstring>

bool PictureToBitmap(TRGBConvertContext& AContext, const uint8_t* const AData[4], const int ALinesize[4],
                     AVPixelFormat APixFmt, int AHeight, int AWidth)
{
    if (AWidth <= 0 || AHeight <= 0 || !AData || !AData[0]) return false;
    if (!AContext.Bitmap) {
        AContext.Bitmap = std::make_shared<TBitmap>();
        AContext.Bitmap->SetPixelFormat(pf24bit);
    }
    TBitmap* Bmp = AContext.Bitmap.get();
    if (Bmp->PixelFormat() != pf24bit) Bmp->SetPixelFormat(pf24bit);
    Bmp->SetSize(AWidth, AHeight);
    const int RowBytes = AWidth * 3;
    const int Stride = (RowBytes + 3) & ~3;  // the bitmap's scanline, aligned to 32 bits

    const uint8_t* Src = AData[0];
    int SrcLinesize = ALinesize[0];
    bool Convert = APixFmt != AContext.RGBPixFmt || (AWidth & 1) || (AHeight & 1) || ALinesize[0] != Stride;
    if (Convert) {
        int Size = AV.av_image_get_buffer_size(AContext.RGBPixFmt, AWidth, AHeight, 1);
        if (Size <= 0) return false;
        if (AContext.RGBBuf && AContext.RGBBufSize < Size) {
            AV.av_free(AContext.RGBBuf);
            AContext.RGBBuf = nullptr;
        }
        if (!AContext.RGBBuf) {
            AContext.RGBBuf = static_cast<uint8_t*>(AV.av_malloc(size_t(Size)));
            AContext.RGBBufSize = AContext.RGBBuf ? Size : 0;
            if (!AContext.RGBBuf) return false;
        }
        AV.av_image_fill_arrays(AContext.RGBData, AContext.RGBLinesize, AContext.RGBBuf, AContext.RGBPixFmt, AWidth,
                                AHeight, 1);
        AContext.toRGB_convert_ctx =
            AV.sws_getCachedContext(AContext.toRGB_convert_ctx, AWidth, AHeight, APixFmt, AWidth, AHeight,
                                    AContext.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!AContext.toRGB_convert_ctx) return false;
        AV.sws_scale(AContext.toRGB_convert_ctx, AData, ALinesize, 0, AHeight, AContext.RGBData, AContext.RGBLinesize);
        Src = AContext.RGBData[0];
        SrcLinesize = AContext.RGBLinesize[0];
    }
    // Never more than the bitmap's row, whatever the source's line size.
    const size_t Copy = size_t(std::min(SrcLinesize, RowBytes));
    for (int Y = 0; Y < AHeight; ++Y) {
        memcpy(Bmp->ScanLine(Y), Src, Copy);
        Src += SrcLinesize;
    }
    return true;
}

