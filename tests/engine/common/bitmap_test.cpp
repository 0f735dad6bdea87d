// Decoded pictures into 24-bit bitmaps: the direct copy, conversion through the
// scaler, and the probe's current frame.
#include "support/engine_support.h"

#include "engine/probe/AVProbe.h"
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace enginetest;

namespace {

// Blue, green, red of pixel X in row Y of a 24-bit bitmap.
struct TBGR {
    int B, G, R;
};
TBGR Pixel(TBitmap* ABmp, int X, int Y)
{
    auto* Row = static_cast<const uint8_t*>(ABmp->ScanLine(Y));
    return {Row[X * 3], Row[X * 3 + 1], Row[X * 3 + 2]};
}

// The RGB value of a limited-range grey level.
int FullRange(int AY) { return int(std::lround((AY - 16) * 255.0 / 219.0)); }

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadLibraries()); }
    void TearDown() override { ResetRGBContext(C); }
    TRGBConvertContext C;
};

}  // namespace

TEST_F(BitmapTest, PackedBgrWithTheBitmapsRowSizeIsCopiedDirectly)
{
    // 8 pixels of 3 bytes: 24 bytes a row, already aligned to 32 bits.
    const int W = 8, H = 4;
    std::vector<uint8_t> Pixels(W * 3 * H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            uint8_t* P = &Pixels[(Y * W + X) * 3];
            P[0] = uint8_t(X * 10), P[1] = uint8_t(Y * 20), P[2] = 200;
        }
    const uint8_t* Data[4] = {Pixels.data()};
    const int Linesize[4] = {W * 3};
    ASSERT_TRUE(PictureToBitmap(C, Data, Linesize, AV_PIX_FMT_BGR24, H, W));
    EXPECT_EQ(C.toRGB_convert_ctx, nullptr);  // no scaler was needed
    TBitmap* B = C.Bitmap.get();
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Width(), W);
    EXPECT_EQ(B->Height(), H);
    EXPECT_EQ(B->PixelFormat(), pf24bit);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            TBGR P = Pixel(B, X, Y);
            EXPECT_EQ(P.B, X * 10);
            EXPECT_EQ(P.G, Y * 20);
            EXPECT_EQ(P.R, 200);
        }
}

TEST_F(BitmapTest, WideSourceLinesAndOddSizesGoThroughTheScaler)
{
    const struct {
        int W, H, Linesize;
    } Cases[] = {{8, 4, 64}, {7, 4, 24}, {6, 5, 20}};
    for (const auto& K : Cases) {
        std::vector<uint8_t> Pixels(size_t(K.Linesize) * K.H, 0xEE);  // padding filled with junk
        for (int Y = 0; Y < K.H; ++Y)
            for (int X = 0; X < K.W; ++X) {
                uint8_t* P = &Pixels[size_t(Y) * K.Linesize + X * 3];
                P[0] = 10, P[1] = 120, P[2] = 230;
            }
        const uint8_t* Data[4] = {Pixels.data()};
        const int Linesize[4] = {K.Linesize};
        ASSERT_TRUE(PictureToBitmap(C, Data, Linesize, AV_PIX_FMT_BGR24, K.H, K.W)) << K.W;
        EXPECT_NE(C.toRGB_convert_ctx, nullptr) << K.W;
        TBitmap* B = C.Bitmap.get();
        ASSERT_EQ(B->Width(), K.W);
        ASSERT_EQ(B->Height(), K.H);
        for (int Y = 0; Y < K.H; ++Y)
            for (int X = 0; X < K.W; ++X) {
                TBGR P = Pixel(B, X, Y);
                EXPECT_NEAR(P.B, 10, 2) << K.W << " " << X << "," << Y;
                EXPECT_NEAR(P.G, 120, 2);
                EXPECT_NEAR(P.R, 230, 2);
            }
    }
}

TEST_F(BitmapTest, PictureTheScalerCannotTakeFails)
{
    uint8_t Pixels[64] = {};
    const uint8_t* Data[4] = {Pixels};
    const int Linesize[4] = {16};
    EXPECT_FALSE(PictureToBitmap(C, Data, Linesize, AV_PIX_FMT_VDPAU, 4, 4));
    EXPECT_FALSE(PictureToBitmap(C, Data, Linesize, AV_PIX_FMT_BGR24, 0, 4));
}

TEST_F(BitmapTest, DecodedFramesBecomeBitmaps)
{
    TAVProbe P(nullptr);
    ASSERT_TRUE(P.LoadFile(Media("grey.avi")));
    TBitmap Bmp;
    EXPECT_FALSE(P.CopyToBitmap(&Bmp));
    EXPECT_EQ(P.LastErrMsg(), "picture not ready, please decode first");
    for (int K = 0; K < 3; ++K) {
        ASSERT_TRUE(P.Decode());
        ASSERT_TRUE(P.CopyToBitmap(&Bmp));
        ASSERT_EQ(Bmp.Width(), 64);
        ASSERT_EQ(Bmp.Height(), 48);
        TBGR Px = Pixel(&Bmp, 32, 24);
        EXPECT_NEAR(Px.R, FullRange(GreyLevel(K)), 4) << K;
        EXPECT_NEAR(Px.G, Px.R, 2);
        EXPECT_NEAR(Px.B, Px.R, 2);
    }

    // Packed 24-bit frames of an odd size (33 x 25).
    TAVProbe O(nullptr);
    ASSERT_TRUE(O.LoadFile(Media("odd.nut")));
    ASSERT_TRUE(O.Decode());
    ASSERT_EQ(O.FrameInfo().PixFmt, AV_PIX_FMT_BGR24);
    ASSERT_TRUE(O.CopyToBitmap(&Bmp));
    EXPECT_EQ(Bmp.Width(), 33);
    EXPECT_EQ(Bmp.Height(), 25);
    for (auto [X, Y] : {std::pair{0, 0}, {32, 24}, {16, 12}}) {
        TBGR Px = Pixel(&Bmp, X, Y);
        EXPECT_NEAR(Px.R, 0x20, 2);
        EXPECT_NEAR(Px.G, 0x80, 2);
        EXPECT_NEAR(Px.B, 0xE0, 2);
    }
}
