// Drawing TbsBitmap: stretch maps, flags, tiling, device contexts, merging and fills.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/core/bsEffects.h"

namespace {

// A W x H bitmap whose pixel (x, y) is Fn(x, y).
template <typename F>
void Paint(TbsBitmap& B, int W, int H, F Fn)
{
    B.SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) *B.PixelAddress(x, y) = Fn(x, y);
}

// Pixel of column x, row y, opaque: the source coordinates show up in the result.
TbsColor Coord(int X, int Y) { return bsPackARGB(255, X, Y, 0); }

std::vector<int> Row(const TbsBitmap& B, int Y, int Channel)
{
    std::vector<int> v;
    for (int x = 0; x < B.Width(); ++x) v.push_back((*B.PixelAddress(x, Y) >> (16 - 8 * Channel)) & 0xFF);
    return v;
}

}  // namespace

TEST(BitmapDrawing, StretchMapsTruncateIntoBitmapsAndRoundIntoDibs)
{
    TbsBitmap src;
    Paint(src, 3, 1, Coord);
    struct Case {
        int DstW;
        std::vector<int> Truncated, Rounded;
    };
    const Case cases[] = {
        {5, {0, 0, 1, 1, 2}, {0, 0, 1, 2, 2}},  // kx = 0.5: 0.5 and 1.5 differ
        {1, {1}, {1}},                          // narrower than 2: the middle column
        {3, {0, 1, 2}, {0, 1, 2}},              // same size: row copy
        {2, {0, 2}, {0, 2}},                    // kx = 2
    };
    for (const auto& c : cases) {
        TbsBitmap dst;
        dst.SetSize(c.DstW, 1);
        BitmapStretchCopy(&dst, Rect(0, 0, c.DstW, 1), Rect(0, 0, c.DstW, 1), Rect(0, 0, 3, 1), &src);
        EXPECT_EQ(Row(dst, 0, 0), c.Truncated) << c.DstW;
        std::vector<TbsColor> dib(size_t(c.DstW), 0);
        DIBStretchCopy({dib.data(), c.DstW, 1, true}, Rect(0, 0, c.DstW, 1), Rect(0, 0, c.DstW, 1), Rect(0, 0, 3, 1),
                       &src);
        std::vector<int> got;
        for (TbsColor p : dib) got.push_back(bsRedOf(p));
        EXPECT_EQ(got, c.Rounded) << c.DstW;
    }
    // A one-pixel-wide source maps every column to it (kx = 0).
    TbsBitmap one, wide;
    Paint(one, 1, 1, [](int, int) { return 0xFF0A0B0Cu; });
    wide.SetSize(10, 1);
    BitmapStretchCopy(&wide, Rect(0, 0, 10, 1), Rect(0, 0, 10, 1), Rect(0, 0, 1, 1), &one);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(*wide.PixelAddress(x, 0), 0xFF0A0B0Cu);
}

TEST(BitmapDrawing, StretchClipsAndRefusesOutsideSources)
{
    TbsBitmap src, dst;
    Paint(src, 4, 4, Coord);
    dst.SetSize(6, 6);
    dst.Clear(0);
    BitmapStretchCopy(&dst, Rect(0, 0, 6, 6), Rect(0, 0, 6, 6), Rect(1, 1, 5, 5), &src);  // beyond the source
    EXPECT_EQ(*dst.PixelAddress(0, 0), 0u);
    BitmapStretchCopy(&dst, Rect(0, 0, 6, 6), Rect(0, 0, 6, 6), Rect(1, 1, 1, 3), &src);  // empty source
    EXPECT_EQ(*dst.PixelAddress(0, 0), 0u);
    // Clip and destination bounds cut the drawing; a destination partly outside still maps.
    BitmapStretchCopy(&dst, Rect(-2, -2, 6, 6), Rect(0, 0, 3, 3), Rect(0, 0, 4, 4), &src);
    // kx = 3/7: column 0 is destination position 2: Trunc(2 * 0.428571) = 0; column 2 -> 1.
    EXPECT_EQ(*dst.PixelAddress(0, 0), Coord(0, 0));
    EXPECT_EQ(*dst.PixelAddress(2, 2), Coord(1, 1));
    EXPECT_EQ(*dst.PixelAddress(3, 3), 0u);  // outside the clip
    // Stretched rows that repeat a source row are copies of the row above.
    TbsBitmap tall;
    tall.SetSize(4, 8);
    BitmapStretchCopy(&tall, Rect(0, 0, 4, 8), Rect(0, 0, 4, 8), Rect(0, 0, 4, 4), &src);
    EXPECT_EQ(Row(tall, 0, 1), Row(tall, 1, 1));
    EXPECT_EQ(Row(tall, 7, 1), (std::vector<int>{3, 3, 3, 3}));
}

TEST(BitmapDrawing, FlagsChooseBlendKeyOrCopy)
{
    TbsBitmap src, dst;
    Paint(src, 2, 1, [](int x, int) { return x == 0 ? 0x80C80000u : bsTransparentColor; });
    struct Case {
        bool Alpha, Key;
        TbsColor P0, P1;
    };
    const TbsColor bg = 0xFF640000;  // red 100
    const Case cases[] = {
        {false, false, 0x80C80000, bsTransparentColor},
        {false, true, 0xFFC80000, bg},
        {true, false, 0xBF960000, bg},  // MMX blend: red 150, alpha 191; alpha 0 leaves the background
        {true, true, 0xBF960000, bg},   // alpha wins over the key
    };
    InitPixelKernels(true);
    for (const auto& c : cases) {
        dst.SetSize(2, 1);
        dst.Clear(bg);
        src.SetAlphaBlend(c.Alpha);
        src.SetTransparent(c.Key);
        src.Draw(&dst, 0, 0);
        EXPECT_EQ(*dst.PixelAddress(0, 0), c.P0) << c.Alpha << c.Key;
        EXPECT_EQ(*dst.PixelAddress(1, 0), c.P1) << c.Alpha << c.Key;
    }
    InitPixelKernels(false);
    dst.Clear(bg);
    src.Draw(&dst, 0, 0);
    EXPECT_EQ(*dst.PixelAddress(0, 0), 0xFF950000u);  // plain blend: 149, opaque
    InitPixelKernels();
}

TEST(BitmapDrawing, TilesCutAtTheRightAndBottom)
{
    TbsBitmap src, dst;
    Paint(src, 10, 10, Coord);
    dst.SetSize(30, 30);
    dst.Clear(0);
    src.Tile(&dst, Rect(0, 0, 25, 25), Rect(0, 0, 10, 10));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const TbsColor want = x < 25 && y < 25 ? Coord(x % 10, y % 10) : 0;
            ASSERT_EQ(*dst.PixelAddress(x, y), want) << x << "," << y;
        }
    // TileClip draws only the tiles that touch the clip, each whole.
    dst.Clear(0);
    src.TileClip(&dst, Rect(0, 0, 25, 25), Rect(12, 12, 13, 13), Rect(0, 0, 10, 10));
    EXPECT_EQ(*dst.PixelAddress(10, 10), Coord(0, 0));
    EXPECT_EQ(*dst.PixelAddress(19, 19), Coord(9, 9));
    EXPECT_EQ(*dst.PixelAddress(9, 9), 0u);
    EXPECT_EQ(*dst.PixelAddress(20, 20), 0u);
    src.Tile(&dst, Rect(0, 0, 25, 25), Rect(0, 0, 0, 10));  // no tile size: nothing
}

TEST(BitmapDrawing, DrawingIntoABitmapsDcKeepsAlpha)
{
    TbsBitmap src, dst;
    Paint(src, 2, 2, [](int, int) { return 0x40FF0000u; });
    src.SetAlphaBlend(true);
    dst.SetSize(4, 4);
    dst.Clear(0xFF0000FF);
    POINT old;
    SetWindowOrgEx(dst.DC(), 1, 1, &old);  // logical (2, 2) is device (1, 1)
    src.Draw(dst.DC(), 2, 2);
    SetWindowOrgEx(dst.DC(), 0, 0, &old);
    const TbsColor blended = BlendPixelMMX(0x40FF0000, 0xFF0000FF);
    EXPECT_EQ(*dst.PixelAddress(1, 1), blended);
    EXPECT_EQ(*dst.PixelAddress(2, 2), blended);
    EXPECT_EQ(*dst.PixelAddress(3, 3), 0xFF0000FFu);
    EXPECT_EQ(*dst.PixelAddress(0, 0), 0xFF0000FFu);
}

TEST(BitmapDrawing, ABitmapWhoseCanvasWasUsedGoesCleanly)
{
    // the canvas is detached from the bitmap's device context before either goes
    for (int Resize = 0; Resize < 2; ++Resize) {
        auto B = std::make_unique<TbsBitmap>();
        B->SetSize(8, 8);
        B->Canvas()->Brush()->SetColor(clRed);
        B->Canvas()->FillRect(Rect(0, 0, 8, 8));
        if (Resize) B->SetSize(4, 4);
        B.reset();
    }
    SUCCEED();
}

TEST(BitmapDrawing, DrawingToPlainDeviceContexts)
{
    // A 32-bit DIB section in a memory DC (not a TbsBitmap): blends read back and write.
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = 4;
    bi.bmiHeader.biHeight = 4;  // bottom-up
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dib);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, dib);
    TbsColor* px = static_cast<TbsColor*>(bits);
    for (int i = 0; i < 16; ++i) px[i] = 0xFF000064;  // blue 100
    int w, h, bpp;
    EXPECT_EQ(GetDCBitmapInfo(dc, w, h, bpp), bits);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(bpp, 32);

    TbsBitmap src;
    Paint(src, 1, 1, [](int, int) { return 0x800000C8u; });  // blue 200, alpha 128
    src.SetAlphaBlend(true);
    src.Draw(dc, 1, 0);
    auto at = [&](int X, int Y) { return px[(3 - Y) * 4 + X]; };  // row 0 is stored last
    EXPECT_EQ(at(1, 0), BlendPixelMMX(0x800000C8, 0xFF000064));
    EXPECT_EQ(at(0, 0), 0xFF000064u);

    // Copy: through the block transfer.
    src.SetAlphaBlend(false);
    src.Draw(dc, Rect(2, 2, 4, 4));
    EXPECT_EQ(at(3, 3), 0x800000C8u);
    // Tiles go straight into the DIB's memory with the rounding map.
    Paint(src, 2, 1, [](int x, int) { return x ? 0xFF00FF00u : bsTransparentColor; });
    src.SetTransparent(true);
    src.Tile(dc, Rect(0, 1, 4, 2), Rect(0, 0, 2, 1));
    EXPECT_EQ(at(0, 1), 0xFF000064u);
    EXPECT_EQ(at(1, 1), 0xFF00FF00u);
    EXPECT_EQ(at(3, 1), 0xFF00FF00u);
    DeleteDC(dc);
    DeleteObject(dib);

    EXPECT_FALSE(IsMsImg32Loaded());
    EXPECT_EQ(GetDCBitmapInfo(nullptr, w, h, bpp), nullptr);
    EXPECT_EQ(w, 0);
}

TEST(BitmapDrawing, MergeDrawPutsThePictureBehind)
{
    TbsBitmap front, back;
    Paint(front, 3, 1, [](int x, int) { return x == 0 ? 0x00000000u : x == 1 ? 0xFF111111u : 0x80C80000u; });
    Paint(back, 4, 1, [](int, int) { return 0xFF640000u; });
    front.MergeDraw(&back, 0, 0, Rect(-1, 0, 9, 1));  // cut to the back picture
    // Source x runs from 0; the destination x is shifted by the uncut left edge -1.
    EXPECT_EQ(*front.PixelAddress(0, 0), 0x00000000u);  // destination for source x=0 is 1
    EXPECT_EQ(*front.PixelAddress(1, 0), 0xFF111111u);
    EXPECT_EQ(*front.PixelAddress(2, 0), bsKernels.BlendPixel(0x80C80000, 0xFF640000));
    TbsBitmap clear;
    Paint(clear, 2, 1, [](int, int) { return 0u; });
    clear.MergeDraw(&back, 0, 0, Rect(0, 0, 2, 1));
    EXPECT_EQ(*clear.PixelAddress(1, 0), 0xFF640000u);
}

TEST(BitmapDrawing, FillRect)
{
    TbsBitmap b;
    b.SetSize(4, 4);
    b.Clear(0xFF000000);
    b.FillRect(Rect(-2, -2, 2, 2), 0x12345678);
    EXPECT_EQ(*b.PixelAddress(1, 1), 0x12345678u);
    EXPECT_EQ(*b.PixelAddress(2, 1), 0xFF000000u);
    b.SetAlphaBlend(true);
    b.FillRect(Rect(0, 0, 4, 4), 0x00FFFFFF);  // alpha 0 under blending: nothing
    EXPECT_EQ(*b.PixelAddress(3, 3), 0xFF000000u);
    b.FillRect(Rect(0, 0, 4, 4), 0xFFFFFFFF);
    EXPECT_EQ(*b.PixelAddress(3, 3), 0xFFFFFFFFu);
    b.FillRect(Rect(3, 3, 3, 9), 0);  // empty: nothing
}
