// The 24-bit effect bitmap: transition frames and picture effects, pixel by pixel.
#include <gtest/gtest.h>

#include <functional>

#include "skin/core/bsEffects.h"

namespace {

using PixelFn = std::function<uint32_t(int X, int Y)>;

// A W x H picture painted by Fn (0x00RRGGBB per pixel).
std::unique_ptr<TbsEffectBmp> Make(int W, int H, const PixelFn& Fn)
{
    auto b = std::make_unique<TbsEffectBmp>(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->SetPixel(x, y, Fn(x, y));
    return b;
}

uint32_t Grey(int V) { return uint32_t(V) * 0x010101u; }

std::unique_ptr<TbsEffectBmp> Solid(int W, int H, uint32_t C)
{
    return Make(W, H, [C](int, int) { return C; });
}

// A picture whose pixels all differ: red = x, green = y, blue = x + y.
std::unique_ptr<TbsEffectBmp> Ramp(int W, int H)
{
    return Make(W, H, [](int x, int y) { return uint32_t((x << 16) | (y << 8) | ((x + y) & 0xFF)); });
}

bool Equal(const TbsEffectBmp& A, const TbsEffectBmp& B)
{
    if (A.Width != B.Width || A.Height != B.Height) return false;
    for (int y = 0; y < A.Height; ++y)
        for (int x = 0; x < A.Width; ++x)
            if (A.GetPixel(x, y) != B.GetPixel(x, y)) return false;
    return true;
}

}  // namespace

TEST(EffectBitmap, LayoutAndAccessors)
{
    for (int w : {1, 2, 3, 4, 5, 7}) {
        TbsEffectBmp b(w, 3);
        EXPECT_EQ(TbsEffectBmp::StrideOf(w) % 4, 0);
        EXPECT_EQ(b.Size, TbsEffectBmp::StrideOf(w) * 3);
        EXPECT_EQ(b.BmpHeader.biHeight, -3);
        EXPECT_EQ(b.BmpHeader.biBitCount, 24);
    }
    TbsEffectBmp b(3, 2);
    b.SetPixel(2, 1, 0x123456);
    EXPECT_EQ(b.GetPixel(2, 1), 0x123456u);
    EXPECT_EQ(b.PixelAddress(2, 1)[0], 0x56);  // blue first
    TbsEffectBmp copy(b);
    EXPECT_TRUE(Equal(copy, b));
    EXPECT_THROW(TbsEffectBmp(0, 5), Exception);
}

TEST(EffectBitmap, MorphCrossFades)
{
    auto a = Solid(4, 2, Grey(100)), b = Solid(4, 2, Grey(201));
    struct Case {
        double Kf;
        int Want;
    };
    // Round((1 - Kf) * 100 + Kf * 201); 0.5 gives 150.5, which rounds to the even 150.
    const Case cases[] = {{0, 100}, {1, 201}, {1.5, 201}, {-2, 100}, {0.5, 150}, {0.25, 125}};
    for (const auto& c : cases) {
        auto f = Solid(4, 2, Grey(100));
        f->Morph(b.get(), c.Kf);
        EXPECT_EQ(f->GetPixel(3, 1), Grey(c.Want)) << c.Kf;
    }
    auto other = Solid(5, 2, Grey(0));
    a->Morph(other.get(), 1);
    EXPECT_EQ(a->GetPixel(0, 0), Grey(100));
}

TEST(EffectBitmap, RectangleCopiesAndFades)
{
    auto src = Solid(20, 20, Grey(200));
    auto copied = Solid(20, 20, Grey(0)), faded = Solid(20, 20, Grey(0));
    copied->CopyRect(src.get(), Rect(0, 0, 10, 10), 0, 0);   // right and bottom inside: 11 x 11
    faded->MorphRect(src.get(), 1, Rect(0, 0, 10, 10), 0, 0);  // 10 x 10
    EXPECT_EQ(copied->GetPixel(10, 10), Grey(200));
    EXPECT_EQ(copied->GetPixel(11, 10), Grey(0));
    EXPECT_EQ(faded->GetPixel(9, 9), Grey(200));
    EXPECT_EQ(faded->GetPixel(10, 9), Grey(0));
    // Rectangles beyond either picture are cut, not read or written outside.
    copied->CopyRect(src.get(), Rect(15, 15, 40, 40), 10, 10);
    faded->MorphRect(src.get(), 1, Rect(-5, -5, 30, 30), 0, 0);
    EXPECT_EQ(copied->GetPixel(19, 19), Grey(200));
}

TEST(EffectBitmap, GradientOpenings)
{
    auto own = Solid(100, 3, Grey(0)), bmp = Solid(100, 3, Grey(250));
    own->MorphHGrad(bmp.get(), 0);
    // Band is column 50 alone; fades of step 1/50 run outward from it.
    EXPECT_EQ(own->GetPixel(50, 1), Grey(250));
    EXPECT_EQ(own->GetPixel(49, 1), Grey(245));  // t = 0.02: 250 * 0.98
    EXPECT_EQ(own->GetPixel(51, 1), Grey(245));
    EXPECT_EQ(own->GetPixel(0, 1), Grey(0));
    auto full = Solid(100, 3, Grey(0));
    full->MorphHGrad(bmp.get(), 1);
    EXPECT_TRUE(Equal(*full, *bmp));

    // Near the end every row is BMP's (fade length 0, step 0).
    auto v = Solid(3, 10, Grey(0)), vb = Solid(3, 10, Grey(90));
    v->MorphVGrad(vb.get(), 0.85);  // b = Round(8.5) = 8: (10 - 1 - 8) div 2 = 0
    EXPECT_TRUE(Equal(*v, *vb));
    auto tall = Solid(3, 10, Grey(0));
    tall->MorphGrad(vb.get(), 1);  // narrower than high: the vertical form
    EXPECT_TRUE(Equal(*tall, *vb));

    auto l = Solid(10, 1, Grey(0)), lb = Solid(10, 1, Grey(100));
    l->MorphLeftGrad(lb.get(), 0.5);  // b = 5: x 0..5 with t = 0, 0.2 .. 1
    const int wantL[] = {100, 80, 60, 40, 20, 0, 0, 0, 0, 0};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(l->GetPixel(x, 0), Grey(wantL[x])) << x;
    auto r = Solid(10, 1, Grey(0));
    r->MorphRightGrad(lb.get(), 0.5);  // c = 5, step 1/5 from x = 9 down to 5
    const int wantR[] = {0, 0, 0, 0, 0, 20, 40, 60, 80, 100};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(r->GetPixel(x, 0), Grey(wantR[x])) << x;
}

TEST(EffectBitmap, PushesAndSlides)
{
    auto own = Make(5, 1, [](int x, int) { return Grey(10 + x); });
    auto bmp = Make(5, 1, [](int x, int) { return Grey(100 + x); });
    struct Case {
        const char* Name;
        std::function<void(TbsEffectBmp*)> Run;
        int Want[5];
    };
    const Case cases[] = {
        {"push 0", [&](TbsEffectBmp* b) { b->MorphPush(bmp.get(), 0); }, {104, 10, 11, 12, 13}},
        {"push 0.4", [&](TbsEffectBmp* b) { b->MorphPush(bmp.get(), 0.4); }, {102, 103, 104, 10, 11}},
        {"left slide 0", [&](TbsEffectBmp* b) { b->MorphLeftSlide(bmp.get(), 0); }, {104, 11, 12, 13, 14}},
        {"left slide 0.4", [&](TbsEffectBmp* b) { b->MorphLeftSlide(bmp.get(), 0.4); }, {103, 104, 12, 13, 14}},
        {"right slide 0.4", [&](TbsEffectBmp* b) { b->MorphRightSlide(bmp.get(), 0.4); }, {10, 11, 12, 100, 101}},
        {"right slide 1", [&](TbsEffectBmp* b) { b->MorphRightSlide(bmp.get(), 1); }, {10, 100, 101, 102, 103}},
    };
    for (const auto& c : cases) {
        auto b = Make(5, 1, [](int x, int) { return Grey(10 + x); });
        c.Run(b.get());
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b->GetPixel(x, 0), Grey(c.Want[x])) << c.Name << " x=" << x;
    }
    (void)own;
}

TEST(EffectBitmap, ColourEffects)
{
    struct Case {
        const char* Name;
        std::function<void(TbsEffectBmp*)> Run;
        uint32_t In, Want;
    };
    const Case cases[] = {
        // Round(0.5 * 101 + 0.5 * 255) = Round(178) = 178; Round(0.5 * 100 + 127.5) = 178 (177.5 to even)
        {"brightness", [](TbsEffectBmp* b) { b->ChangeBrightness(0.5); }, Grey(101), Grey(178)},
        {"brightness tie", [](TbsEffectBmp* b) { b->ChangeBrightness(0.5); }, Grey(100), Grey(178)},
        {"brightness clamp", [](TbsEffectBmp* b) { b->ChangeBrightness(3); }, Grey(7), Grey(255)},
        {"darkness", [](TbsEffectBmp* b) { b->ChangeDarkness(0.5); }, Grey(5), Grey(2)},  // 2.5 to even
        {"darkness 1.5", [](TbsEffectBmp* b) { b->ChangeDarkness(1.5); }, Grey(5), Grey(0)},
        {"invert", [](TbsEffectBmp* b) { b->Invert(); }, 0x10E0FF, 0xEF1F00},
        // 0.3 * 50 + 0.59 * 100 + 0.11 * 150 = 90.5, even: 90
        {"grey", [](TbsEffectBmp* b) { b->GrayScale(); }, 0x326496, Grey(90)},
    };
    for (const auto& c : cases) {
        auto b = Solid(3, 2, c.In);
        c.Run(b.get());
        EXPECT_EQ(b->GetPixel(2, 1), c.Want) << c.Name;
    }
    auto r = Ramp(9, 7), twice = Ramp(9, 7);
    twice->Invert();
    twice->Invert();
    EXPECT_TRUE(Equal(*r, *twice));
}

TEST(EffectBitmap, MosaicBlocks)
{
    auto b = Ramp(10, 10);
    b->Mosaic(4);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const int bx = x / 4 * 4, by = y / 4 * 4;
            EXPECT_EQ(b->GetPixel(x, y), uint32_t((bx << 16) | (by << 8) | (bx + by))) << x << "," << y;
        }
    auto same = Ramp(10, 10), ref = Ramp(10, 10);
    same->Mosaic(1);
    EXPECT_TRUE(Equal(*same, *ref));
}

TEST(EffectBitmap, TurnsAndFlips)
{
    auto src = Ramp(3, 2);
    TbsEffectBmp ccw(2, 3), cw(2, 3), flip(3, 2);
    src->Rotate90_1(&ccw);
    src->Rotate90_2(&cw);
    src->FlipVert(&flip);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(ccw.GetPixel(y, 3 - 1 - x), src->GetPixel(x, y));
            EXPECT_EQ(cw.GetPixel(2 - 1 - y, x), src->GetPixel(x, y));
            EXPECT_EQ(flip.GetPixel(x, 2 - 1 - y), src->GetPixel(x, y));
        }
}

TEST(EffectBitmap, WaveAndResize)
{
    auto w = Ramp(8, 8), ref = Ramp(8, 8);
    w->Wave(0, 5, 3);
    EXPECT_TRUE(Equal(*w, *ref));
    w->Wave(5, 5, 0);  // no amplitude: every pixel takes itself
    EXPECT_TRUE(Equal(*w, *ref));
    w->Wave(2, 2, 40);  // far outside: positions held at the edges, no fault
    auto small = Make(2, 2, [](int x, int y) { return Grey(10 * (1 + x + 2 * y)); });
    TbsEffectBmp big(5, 5);
    small->Resize(&big);  // kx = 2: blocks of 3 x 3 at 0 and 2
    EXPECT_EQ(big.GetPixel(0, 0), Grey(10));
    EXPECT_EQ(big.GetPixel(1, 1), Grey(10));
    EXPECT_EQ(big.GetPixel(2, 0), Grey(20));
    EXPECT_EQ(big.GetPixel(4, 4), Grey(40));
}

TEST(EffectBitmap, SplitBlurAveragesFourCorners)
{
    auto b = Make(5, 1, [](int x, int) { return Grey(x * 40); });
    b->SplitBlur(1);
    // Row 0 of a 1-row picture: above = below = 0.  x = 0: left 0, right 1: (0+0+40+40) / 4.
    EXPECT_EQ(b->GetPixel(0, 0), Grey(20));
    EXPECT_EQ(b->GetPixel(1, 0), Grey((20 + 20 + 80 + 80) / 4));
    // An amount as large as the picture keeps every sample inside it.
    auto big = Ramp(4, 4);
    big->SplitBlur(4);
    big->SplitBlur(100);
    auto none = Ramp(4, 4), ref = Ramp(4, 4);
    none->SplitBlur(0);
    EXPECT_TRUE(Equal(*none, *ref));
}

TEST(EffectBitmap, MaskOperationsLeaveWhiteAlone)
{
    auto mask = Make(8, 4, [](int x, int) { return x < 2 ? 0xFFFFFFu : 0u; });
    auto fill = Solid(8, 4, Grey(100));
    fill->MaskFillColor(mask.get(), RGB(0, 0, 200), 0.5);
    EXPECT_EQ(fill->GetPixel(0, 0), Grey(100));
    EXPECT_EQ(fill->GetPixel(3, 3), 0x323296u);  // red 50, green 50, blue 150
    auto ramp = [](int x, int) { return Grey(x * x * 3); };
    auto ref = Make(8, 4, ramp);
    auto blur = Make(8, 4, ramp);
    blur->MaskBlur(mask.get(), 2);
    int changedWhite = 0, changedBlack = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            (x < 2 ? changedWhite : changedBlack) += blur->GetPixel(x, y) != ref->GetPixel(x, y);
    EXPECT_EQ(changedWhite, 0);
    EXPECT_GT(changedBlack, 12);
    auto edge = Make(8, 4, ramp);
    edge->MaskAntialiasing(mask.get(), 2);
    EXPECT_EQ(edge->GetPixel(1, 2), ref->GetPixel(1, 2));
    EXPECT_NE(edge->GetPixel(3, 2), ref->GetPixel(3, 2));  // samples reach column 1 (white)
    EXPECT_EQ(edge->GetPixel(4, 2), ref->GetPixel(4, 2));  // samples at columns 2 and 6
    // Masks of another width or lower than the picture are refused, as is amount 0.
    auto narrow = Solid(7, 4, 0), low = Solid(8, 3, 0), pic = Make(8, 4, ramp);
    pic->MaskBlur(narrow.get(), 1);
    pic->MaskBlur(low.get(), 1);
    pic->MaskBlur(mask.get(), 0);
    pic->MaskAntialiasing(low.get(), 1);
    pic->MaskFillColor(low.get(), clRed, 1);
    EXPECT_TRUE(Equal(*pic, *ref));
}

TEST(EffectBitmap, NoiseStaysInRange)
{
    SetRandSeed(11);
    auto b = Solid(16, 16, Grey(128));
    b->AddMonoNoise(10);  // r in -5 .. 4, the same for the three channels
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t p = b->GetPixel(x, y);
            const int v = int(p & 0xFF);
            EXPECT_GE(v, 123);
            EXPECT_LE(v, 132);
            EXPECT_EQ(p, Grey(v));
        }
    auto c = Solid(8, 8, Grey(254));
    c->AddColorNoise(100);  // clamped at 255
    for (int x = 0; x < 8; ++x) EXPECT_LE(c->GetPixel(x, 0) & 0xFF, 255u);
}
