// The pixel kernels: both blend variants, keyed copies, fills and alpha writes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/core/bsKernels.h"

namespace {
constexpr TbsColor Px(int A, int R, int G, int B) { return bsPackARGB(A, R, G, B); }
}  // namespace

TEST(PixelKernels, BlendPixelVariants)
{
    struct Case {
        TbsColor Fg, Bg, Plain, Mmx;
    };
    const Case cases[] = {
        // red 200 at alpha 128 over red 100
        {Px(128, 200, 0, 0), Px(255, 100, 0, 0), Px(255, 149, 0, 0), Px(0, 150, 0, 0) /* its alpha is checked below */},
        // opaque foreground: plain returns it, MMX gives (255 Fg + Bg) >> 8
        {Px(255, 255, 255, 255), Px(0, 0, 0, 0), Px(255, 255, 255, 255), Px(254, 254, 254, 254)},
        {Px(255, 10, 20, 30), Px(255, 200, 100, 50), Px(255, 10, 20, 30), Px(255, 10, 20, 30)},
        // transparent foreground: the background in both
        {Px(0, 9, 9, 9), Px(77, 1, 2, 3), Px(77, 1, 2, 3), Px(77, 1, 2, 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlendPixelPlain(c.Fg, c.Bg), c.Plain) << std::hex << c.Fg;
        const TbsColor m = BlendPixelMMX(c.Fg, c.Bg);
        EXPECT_EQ(m & 0x00FFFFFF, c.Mmx & 0x00FFFFFF) << std::hex << c.Fg;
    }
    // MMX blends alpha too: ((128 - 255) * 128 + 255 * 256) >> 8 = 191.
    EXPECT_EQ(bsAlphaOf(BlendPixelMMX(Px(128, 200, 0, 0), Px(255, 100, 0, 0))), 191);
    // Plain always gives an opaque result for partial alpha.
    EXPECT_EQ(bsAlphaOf(BlendPixelPlain(Px(1, 0, 0, 0), Px(0, 0, 0, 0))), 255);
    // MMX with Fg below Bg: ((0 - 255) * 128 + 255 * 256) >> 8 = 127.
    EXPECT_EQ(bsRedOf(BlendPixelMMX(Px(128, 0, 0, 0), Px(255, 255, 0, 0))), 127);
}

TEST(PixelKernels, BlendLinesMatchThePixelFormulaAtEveryLength)
{
    std::mt19937 rng(7);
    const uint8_t alphas[] = {0, 255, 1, 128, 254};
    for (int n = 0; n <= 35; ++n) {
        std::vector<TbsColor> src(static_cast<size_t>(n)), dst(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            src[size_t(i)] = (rng() & 0x00FFFFFF) | (TbsColor(rng() % 3 ? alphas[rng() % 5] : rng() & 0xFF) << 24);
            dst[size_t(i)] = rng();
        }
        const struct {
            BlendLineFn Fn;
            bool Mmx;
        } variants[] = {{BlendLinePlain, false}, {BlendLineMMX, true}, {BlendLineVariant(false), false},
                        {BlendLineVariant(true), true}};
        for (const auto& v : variants) {
            const bool mmx = v.Mmx;
            std::vector<TbsColor> out = dst;
            v.Fn(src.data(), out.data(), n);
            for (int i = 0; i < n; ++i) {
                const TbsColor s = src[size_t(i)], d = dst[size_t(i)];
                const uint8_t a = bsAlphaOf(s);
                const TbsColor want = a == 0 ? d : a == 255 ? s : mmx ? BlendPixelMMX(s, d) : BlendPixelPlain(s, d);
                ASSERT_EQ(out[size_t(i)], want) << "n=" << n << " i=" << i << " mmx=" << mmx;
            }
        }
    }
}

TEST(PixelKernels, KernelTableFollowsTheProcessorChoice)
{
    InitPixelKernels(false);
    EXPECT_EQ(bsKernels.BlendPixel, &BlendPixelPlain);
    EXPECT_EQ(bsKernels.BlendLine, BlendLineVariant(false));
    InitPixelKernels(true);
    EXPECT_EQ(bsKernels.BlendPixel, &BlendPixelMMX);
    EXPECT_EQ(bsKernels.BlendLine, BlendLineVariant(true));
    EXPECT_NE(BlendLineVariant(true), BlendLineVariant(false));
    InitPixelKernels();
#if defined(__x86_64__)
    EXPECT_TRUE(IsMMXPresent());
    EXPECT_EQ(bsKernels.BlendLine, BlendLineVariant(true));
#endif
}

TEST(PixelKernels, KeyedCopiesSkipTheKeyColour)
{
    const TbsColor src[] = {0x007F007F, 0xFF7F007F, 0x12345678, 0x00000000, 0x807F007E};
    TbsColor dst[] = {1, 2, 3, 4, 5};
    bsKernels.CopyLineKeyed(src, dst, 5);
    EXPECT_EQ(dst[0], 1u);
    EXPECT_EQ(dst[1], 2u);
    EXPECT_EQ(dst[2], 0xFF345678u);
    EXPECT_EQ(dst[3], 0xFF000000u);
    EXPECT_EQ(dst[4], 0xFF7F007Eu);
}

TEST(PixelKernels, FillsMovesAndAlpha)
{
    std::vector<TbsColor> px(5 * 4, 0x11223344);
    bsKernels.FillRectPixels(px.data(), 5, 4, 1, 1, 3, 2, 0xAABBCCDD);  // inclusive
    int filled = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool in = x >= 1 && x <= 3 && y >= 1 && y <= 2;
            EXPECT_EQ(px[size_t(y * 5 + x)], in ? 0xAABBCCDDu : 0x11223344u);
            filled += in;
        }
    EXPECT_EQ(filled, 6);
    bsKernels.FillRectPixels(px.data(), 5, 4, 3, 0, 2, 0, 0);  // right < left: nothing
    EXPECT_EQ(px[3], 0x11223344u);
    bsKernels.SetAlphaRect(px.data(), 5, 4, 0, 0, 0, 3, 0x7F);
    EXPECT_EQ(px[5], 0x7F223344u);
    EXPECT_EQ(px[6], 0xAABBCCDDu);
    bsKernels.SetAlphaLine(px.data(), 2, 0);
    EXPECT_EQ(px[1], 0x00223344u);
    bsKernels.FillLine(px.data(), 0, 1);   // nothing
    bsKernels.FillLine(px.data(), -3, 1);  // nothing
    EXPECT_EQ(px[0], 0x00223344u);
    std::vector<TbsColor> copy(4, 0);
    bsKernels.MoveLine(px.data() + 5, copy.data(), 4);
    EXPECT_EQ(copy[1], 0xAABBCCDDu);
    bsKernels.MoveLine(copy.data(), copy.data(), 4);  // same place: nothing
    TbsColor keyed[] = {0xFF010203, 0xFF010204};
    bsKernels.ClearAlphaOfColor(keyed, 2, 0x00010203);
    EXPECT_EQ(keyed[0], 0x00010203u);
    EXPECT_EQ(keyed[1], 0xFF010204u);
}
