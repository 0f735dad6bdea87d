// Stack blur and alpha channels from masks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "skin/core/bsEffects.h"

namespace {

void Randomize(TbsBitmap& B, int W, int H, unsigned Seed)
{
    B.SetSize(W, H);
    std::mt19937 rng(Seed);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) *B.PixelAddress(x, y) = rng();
}

// The blur written out directly: triangle weights, edges repeated, integer division
// after the horizontal and after the vertical pass.
std::vector<TbsColor> NaiveBlur(const TbsBitmap& B, int R)
{
    const int w = B.Width(), h = B.Height(), s = (R + 1) * (R + 1);
    std::vector<int> mid(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int i = -R; i <= R; ++i) {
                    const TbsColor p = *B.PixelAddress(std::clamp(x + i, 0, w - 1), y);
                    sum += int((p >> (16 - 8 * c)) & 0xFF) * (R + 1 - std::abs(i));
                }
                mid[size_t((y * w + x) * 3 + c)] = sum / s;
            }
    std::vector<TbsColor> out(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int ch[3];
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int i = -R; i <= R; ++i)
                    sum += mid[size_t((std::clamp(y + i, 0, h - 1) * w + x) * 3 + c)] * (R + 1 - std::abs(i));
                ch[c] = sum / s;
            }
            out[size_t(y * w + x)] = bsPackARGB(255, ch[0], ch[1], ch[2]);
        }
    return out;
}

}  // namespace

TEST(BlurBitmap, MatchesTheWeightedMeanForEachRadius)
{
    struct Case {
        int W, H, R;
    };
    const Case cases[] = {{7, 5, 1}, {9, 6, 3}, {4, 11, 2}, {1, 1, 1}, {3, 2, 8}, {40, 3, 5}};
    for (const auto& c : cases) {
        TbsBitmap b;
        Randomize(b, c.W, c.H, unsigned(c.W * 100 + c.R));
        const std::vector<TbsColor> want = NaiveBlur(b, c.R);
        BlurBitmap(&b, c.R);
        for (int y = 0; y < c.H; ++y)
            for (int x = 0; x < c.W; ++x)
                ASSERT_EQ(*b.PixelAddress(x, y), want[size_t(y * c.W + x)])
                    << c.W << "x" << c.H << " r" << c.R << " at " << x << "," << y;
    }
}

TEST(BlurBitmap, RadiusZeroKeepsEverythingAndOneColourStays)
{
    TbsBitmap b;
    Randomize(b, 5, 5, 3);
    std::vector<TbsColor> before(b.Bits(), b.Bits() + 25);
    BlurBitmap(&b, 0);
    BlurBitmap(&b, -4);
    EXPECT_EQ(std::vector<TbsColor>(b.Bits(), b.Bits() + 25), before);
    b.Clear(0x20A0B0C0);
    BlurBitmap(&b, 2);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(b.Bits()[i], 0xFFA0B0C0u);
    TbsBitmap empty;
    BlurBitmap(&empty, 3);
    BlurBitmap(nullptr, 3);
}

TEST(AlphaMasks, AlphaFromTheMaskMean)
{
    TbsBitmap pic, mask;
    pic.SetSize(3, 2);
    pic.Clear(0x11C08040);
    mask.SetSize(3, 2);
    mask.Clear(0xFFFFFFFF);
    mask.SetPixel(0, 0, bsPackARGB(0, 100, 101, 101));  // mean 100.67 truncated
    mask.SetPixel(1, 0, 0xFF000000);
    SetAlphaFromMask(&pic, &mask);
    EXPECT_EQ(*pic.PixelAddress(0, 0), 0x64C08040u);
    EXPECT_EQ(*pic.PixelAddress(1, 0), 0x00C08040u);
    EXPECT_EQ(*pic.PixelAddress(2, 1), 0xFFC08040u);

    // A smaller mask: what it does not cover becomes transparent.
    TbsBitmap small;
    small.SetSize(2, 1);
    small.Clear(0xFFFFFFFF);
    SetAlphaFromMask(&pic, &small);
    EXPECT_EQ(bsAlphaOf(*pic.PixelAddress(1, 0)), 255);
    EXPECT_EQ(bsAlphaOf(*pic.PixelAddress(2, 0)), 0);
    EXPECT_EQ(bsAlphaOf(*pic.PixelAddress(0, 1)), 0);
    SetAlphaFromMask(&pic, nullptr);
    EXPECT_EQ(bsAlphaOf(*pic.PixelAddress(0, 0)), 0);
}

TEST(AlphaMasks, PremultipliedMasks)
{
    TbsBitmap pic, white, black;
    pic.SetSize(2, 2);
    white.SetSize(2, 2);
    white.Clear(0xFFFFFFFF);
    black.SetSize(2, 2);
    black.Clear(0xFF000000);
    pic.Clear(0x00C08040);
    SetAlphaFromMaskPremultiplied(&pic, &white);
    EXPECT_EQ(*pic.PixelAddress(1, 1), 0xFFC08040u);
    SetAlphaFromMaskPremultiplied(&pic, &black);
    EXPECT_EQ(*pic.PixelAddress(1, 1), 0x00000000u);
}
