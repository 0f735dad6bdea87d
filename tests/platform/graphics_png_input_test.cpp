// PNG input of every colour type and depth, from files built here chunk by chunk;
// and bitmaps filled by worker threads under the canvas lock.
#include <gtest/gtest.h>
#include <zlib.h>

#include <thread>

#include "platform/graphics/Graphics.h"

namespace {

void Be32(std::vector<uint8_t>& V, uint32_t X)
{
    for (int s = 24; s >= 0; s -= 8) V.push_back(uint8_t(X >> s));
}

void Chunk(std::vector<uint8_t>& V, const char* Type, const std::vector<uint8_t>& Data)
{
    Be32(V, uint32_t(Data.size()));
    size_t Start = V.size();
    V.insert(V.end(), Type, Type + 4);
    V.insert(V.end(), Data.begin(), Data.end());
    Be32(V, uint32_t(crc32(0, V.data() + Start, uInt(V.size() - Start))));
}

// A PNG of W x H with the given colour type and depth; Rows are the raw (unfiltered) rows.
std::vector<uint8_t> MakePng(int W, int H, int Depth, int Type, const std::vector<std::vector<uint8_t>>& Rows,
                             const std::vector<uint8_t>& Plte = {}, const std::vector<uint8_t>& Trns = {})
{
    std::vector<uint8_t> V = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> Ihdr;
    Be32(Ihdr, uint32_t(W));
    Be32(Ihdr, uint32_t(H));
    Ihdr.insert(Ihdr.end(), {uint8_t(Depth), uint8_t(Type), 0, 0, 0});
    Chunk(V, "IHDR", Ihdr);
    if (!Plte.empty()) Chunk(V, "PLTE", Plte);
    if (!Trns.empty()) Chunk(V, "tRNS", Trns);
    std::vector<uint8_t> Raw;
    for (auto& R : Rows) {
        Raw.push_back(0);
        Raw.insert(Raw.end(), R.begin(), R.end());
    }
    uLongf N = compressBound(uLong(Raw.size()));
    std::vector<uint8_t> Z(N);
    compress(Z.data(), &N, Raw.data(), uLong(Raw.size()));
    Z.resize(N);
    Chunk(V, "IDAT", Z);
    Chunk(V, "IEND", {});
    return V;
}

std::unique_ptr<TPngImage> Read(const std::vector<uint8_t>& V)
{
    auto P = std::make_unique<TPngImage>();
    TMemoryStream M;
    M.WriteBuffer(V.data(), int64_t(V.size()));
    M.SetPosition(0);
    P->LoadFromStream(&M);
    return P;
}

}  // namespace

TEST(GraphicsPngInput, EveryColourTypeAndDepth)
{
    {   // 1-bit grey: 1 0
        auto Held = Read(MakePng(2, 1, 1, 0, {{0x80}}));
        TPngImage& P = *Held;
        EXPECT_EQ(P.ColorType(), COLOR_GRAYSCALE);
        EXPECT_EQ(P.BitDepth(), 1);
        EXPECT_EQ(P.Pixels(0, 0), clWhite);
        EXPECT_EQ(P.Pixels(1, 0), clBlack);
    }
    {   // 16-bit grey with a transparent level
        auto Held = Read(MakePng(2, 1, 16, 0, {{0x80, 0x00, 0x10, 0x00}}, {}, {0x10, 0x00}));
        TPngImage& P = *Held;
        EXPECT_EQ(P.Pixels(0, 0), RGB(0x80, 0x80, 0x80));
        EXPECT_EQ(P.TransparencyMode(), ptmBit);
        EXPECT_EQ(P.TransparentColor(), RGB(0x10, 0x10, 0x10));
    }
    {   // grey with alpha
        auto Held = Read(MakePng(1, 1, 8, 4, {{0x40, 0x7F}}));
        TPngImage& P = *Held;
        EXPECT_EQ(P.ColorType(), COLOR_GRAYSCALEALPHA);
        EXPECT_EQ(P.Pixels(0, 0), RGB(0x40, 0x40, 0x40));
        EXPECT_EQ(P.AlphaScanline(0)[0], 0x7F);
    }
    {   // 4-bit palette with partial transparency
        auto Held = Read(MakePng(2, 1, 4, 3, {{0x01}}, {255, 0, 0, 0, 0, 255}, {128}));
        TPngImage& P = *Held;
        EXPECT_EQ(P.ColorType(), COLOR_PALETTE);
        EXPECT_EQ(P.Pixels(0, 0), clRed);
        EXPECT_EQ(P.Pixels(1, 0), clBlue);
        EXPECT_EQ(P.TransparencyMode(), ptmPartial);
        EXPECT_EQ(P.AlphaScanline(0)[0], 128);
        EXPECT_EQ(P.AlphaScanline(0)[1], 255);
    }
    {   // 16-bit RGBA
        auto Held = Read(MakePng(1, 1, 16, 6, {{0xFF, 0, 0x80, 0, 0x00, 0, 0x40, 0}}));
        TPngImage& P = *Held;
        EXPECT_EQ(P.Pixels(0, 0), RGB(0xFF, 0x80, 0x00));
        EXPECT_EQ(P.AlphaScanline(0)[0], 0x40);
    }
    // A palette index beyond the palette reads as black (never beyond the palette); a
    // missing palette is an error.
    EXPECT_EQ(Read(MakePng(1, 1, 8, 3, {{5}}, {255, 0, 0}))->Pixels(0, 0), clBlack);
    EXPECT_THROW(Read(MakePng(1, 1, 8, 3, {{0}})), EInvalidGraphic);
    // Too few rows of data.
    EXPECT_THROW(Read(MakePng(2, 4, 8, 0, {{1, 2}})), EInvalidGraphic);
}

TEST(GraphicsThreads, WorkersFillBitmapsUnderTheCanvasLock)
{
    const int N = 4;
    std::vector<std::unique_ptr<TBitmap>> Bitmaps;
    for (int i = 0; i < N; ++i) {
        Bitmaps.push_back(std::make_unique<TBitmap>());
        Bitmaps.back()->SetSize(64, 32);
        Bitmaps.back()->Canvas()->Font()->SetName("DejaVu Sans");
    }
    std::vector<std::thread> Workers;
    for (int i = 0; i < N; ++i)
        Workers.emplace_back([&, i] {
            TBitmap& B = *Bitmaps[size_t(i)];
            for (int k = 0; k < 20; ++k) {
                B.Canvas()->Lock();
                B.Canvas()->Brush()->SetColor(RGB(10 * i, k, 0));
                B.Canvas()->FillRect(TRect(0, 0, 64, 32));
                B.Canvas()->Brush()->SetStyle(bsClear);
                B.Canvas()->TextOut(2, 2, "帧 " + std::to_string(k));
                B.Canvas()->Unlock();
            }
        });
    for (auto& T : Workers) T.join();
    for (int i = 0; i < N; ++i) EXPECT_EQ(Bitmaps[size_t(i)]->Canvas()->Pixels(63, 31), RGB(10 * i, 19, 0));
}
