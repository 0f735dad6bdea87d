// Throughput of the skin's pixel routines in megapixels per second, each beside the same
// operation done by pixman (the pixel library under cairo).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <random>
#include <vector>

#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"


namespace {

void Randomize(TbsBitmap& B, int W, int H, bool PartialAlpha)
{
    B.SetSize(W, H);
    std::mt19937 rng(1);
    for (int i = 0; i < W * H; ++i) {
        TbsColor c = rng();
        if (!PartialAlpha) c |= 0xFF000000;
        B.Bits()[i] = c;
    }
}

pixman_image_t* Wrap(TbsBitmap& B, pixman_format_code_t Format = PIXMAN_a8r8g8b8)
{
    return pixman_image_create_bits(Format, B.Width(), B.Height(), reinterpret_cast<uint32_t*>(B.Bits()),
                                    B.Width() * 4);
}

void Rate(benchmark::State& State, int64_t PixelsPerIteration)
{
    State.counters["MP/s"] =
        benchmark::Counter(double(PixelsPerIteration) * double(State.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// Runs Step once per iteration and reports the pixels it produced per second.
template <typename F>
void Run(benchmark::State& State, int64_t Pixels, const void* Out, F Step)
{
    for (auto _ : State) {
        Step();
        benchmark::DoNotOptimize(Out);
    }
    Rate(State, Pixels);
}

// Composites S onto D over W x H with pixman, then lets both images go.
void RunPixman(benchmark::State& State, pixman_op_t Op, pixman_image_t* S, pixman_image_t* D, int W, int H)
{
    Run(State, int64_t(W) * H, D, [&] { pixman_image_composite32(Op, S, nullptr, D, 0, 0, 0, 0, 0, 0, W, H); });
    pixman_image_unref(S);
    pixman_image_unref(D);
}

constexpr int W = 512, H = 512;

// ---- Alpha blend of a whole picture ----

void BM_Blend_Skin(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, W, H, true);
    Randomize(dst, W, H, false);
    src.SetAlphaBlend(true);
    Run(State, int64_t(W) * H, dst.Bits(), [&] { src.Draw(&dst, 0, 0); });
}

void BM_Blend_Pixman(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, W, H, true);
    Randomize(dst, W, H, false);
    src.CheckRGBA2();  // pixman works on premultiplied colours
    pixman_image_t* s = Wrap(src);
    pixman_image_t* d = Wrap(dst);
    RunPixman(State, PIXMAN_OP_OVER, s, d, W, H);
}

// ---- Nearest-neighbour stretch of 200 x 150 to 800 x 600 ----

void BM_Stretch_Skin(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, 200, 150, false);
    dst.SetSize(800, 600);
    Run(State, 800 * 600, dst.Bits(), [&] { src.Draw(&dst, Rect(0, 0, 800, 600)); });
}

void BM_Stretch_Pixman(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, 200, 150, false);
    dst.SetSize(800, 600);
    pixman_image_t* s = Wrap(src);
    pixman_image_t* d = Wrap(dst);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(200.0 / 800), pixman_double_to_fixed(150.0 / 600));
    pixman_image_set_transform(s, &t);
    pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
    RunPixman(State, PIXMAN_OP_SRC, s, d, 800, 600);
}

// ---- Tiling a 16 x 16 picture over 800 x 600 with per-pixel alpha ----

void BM_Tile_Skin(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, 16, 16, true);
    src.SetAlphaBlend(true);
    Randomize(dst, 800, 600, false);
    Run(State, 800 * 600, dst.Bits(), [&] { src.Tile(&dst, Rect(0, 0, 800, 600), Rect(0, 0, 16, 16)); });
}

void BM_Tile_Pixman(benchmark::State& State)
{
    TbsBitmap src, dst;
    Randomize(src, 16, 16, true);
    src.CheckRGBA2();
    Randomize(dst, 800, 600, false);
    pixman_image_t* s = Wrap(src);
    pixman_image_t* d = Wrap(dst);
    pixman_image_set_repeat(s, PIXMAN_REPEAT_NORMAL);
    RunPixman(State, PIXMAN_OP_OVER, s, d, 800, 600);
}

// ---- Blur of radius 6 (the glow captions' size) ----

void BM_Blur_Skin(benchmark::State& State)
{
    TbsBitmap b;
    Randomize(b, 256, 256, false);
    Run(State, 256 * 256, b.Bits(), [&] { BlurBitmap(&b, 6); });
}

void BM_Blur_Pixman(benchmark::State& State)
{
    // A separable triangle-like kernel of the same reach.
    TbsBitmap src, dst;
    Randomize(src, 256, 256, false);
    dst.SetSize(256, 256);
    pixman_image_t* s = Wrap(src);
    pixman_image_t* d = Wrap(dst);
    int n = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &n, pixman_int_to_fixed(1), pixman_int_to_fixed(1), PIXMAN_KERNEL_LINEAR, PIXMAN_KERNEL_LINEAR,
        PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_int_to_fixed(1), pixman_int_to_fixed(1));
    pixman_image_set_filter(s, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
    pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
    RunPixman(State, PIXMAN_OP_SRC, s, d, 256, 256);
    free(params);
}

// ---- A nine-piece skin picture of 30 x 30 built at 800 x 600 (edges and client tiled) ----

std::unique_ptr<TBitmap> SkinPicture()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(30, 30);
    std::mt19937 rng(2);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) static_cast<uint32_t*>(b->ScanLine(y))[x] = rng() | 0xFF000000u;
    return b;
}

void BM_NinePiece_Skin(benchmark::State& State)
{
    auto sb = SkinPicture();
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    const TRect cl(10, 10, 20, 20), ncl(10, 10, 790, 590);
    Run(State, 800 * 600, &b, [&] {
        CreateSkinImage(Point(10, 10), Point(20, 10), Point(10, 20), Point(20, 20), cl, Point(10, 10), Point(790, 10),
                        Point(10, 590), Point(790, 590), ncl, &b, sb.get(), Rect(0, 0, 30, 30), 800, 600, true,
                        false, false, false, false, false, bsstFull);
    });
}

void BM_NinePiece_Pixman(benchmark::State& State)
{
    // The same nine pieces: corners copied, edges and client repeated.
    auto sb = SkinPicture();
    TbsBitmap dst;
    dst.SetSize(800, 600);
    pixman_image_t* d = Wrap(dst);
    struct Piece {
        int SX, SY, SW, SH, DX, DY, DW, DH;
    };
    const Piece pieces[] = {
        {0, 0, 10, 10, 0, 0, 10, 10},      {20, 0, 10, 10, 790, 0, 10, 10},    {0, 20, 10, 10, 0, 590, 10, 10},
        {20, 20, 10, 10, 790, 590, 10, 10}, {10, 0, 10, 10, 10, 0, 780, 10},   {10, 20, 10, 10, 10, 590, 780, 10},
        {0, 10, 10, 10, 0, 10, 10, 580},    {20, 10, 10, 10, 790, 10, 10, 580}, {10, 10, 10, 10, 10, 10, 780, 580},
    };
    Run(State, 800 * 600, dst.Bits(), [&] {
        for (const Piece& p : pieces) {
            pixman_image_t* sub = pixman_image_create_bits(
                PIXMAN_a8r8g8b8, p.SW, p.SH, static_cast<uint32_t*>(sb->ScanLine(p.SY)) + p.SX, 120);
            pixman_image_set_repeat(sub, PIXMAN_REPEAT_NORMAL);
            pixman_image_composite32(PIXMAN_OP_SRC, sub, nullptr, d, 0, 0, 0, 0, p.DX, p.DY, p.DW, p.DH);
            pixman_image_unref(sub);
        }
    });
    pixman_image_unref(d);
}

}  // namespace

BENCHMARK(BM_NinePiece_Skin);
BENCHMARK(BM_NinePiece_Pixman);
BENCHMARK(BM_Blend_Skin);
BENCHMARK(BM_Blend_Pixman);
BENCHMARK(BM_Stretch_Skin);
BENCHMARK(BM_Stretch_Pixman);
BENCHMARK(BM_Tile_Skin);
BENCHMARK(BM_Tile_Pixman);
BENCHMARK(BM_Blur_Skin);
BENCHMARK(BM_Blur_Pixman);
