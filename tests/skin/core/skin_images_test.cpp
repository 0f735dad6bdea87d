// Skin image builders: nine-piece images, strips, frame strips, and regions from masks.
#include <gtest/gtest.h>

#include <functional>

#include "skin/core/bsUtils.h"

namespace {

// Source pixels encode their own coordinates: red = x + 1, green = y + 1.
uint32_t CoordColor(int X, int Y) { return 0xFF000000u | uint32_t((X + 1) << 16) | uint32_t((Y + 1) << 8); }

std::unique_ptr<TBitmap> Picture(int W, int H, const std::function<uint32_t(int, int)>& Fn)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(W, H);
    for (int y = 0; y < H; ++y) {
        auto* row = static_cast<uint32_t*>(b->ScanLine(y));
        for (int x = 0; x < W; ++x) row[x] = Fn(x, y);
    }
    return b;
}

uint32_t At(TBitmap& B, int X, int Y) { return static_cast<uint32_t*>(B.ScanLine(Y))[X]; }

// The source point a built pixel came from (-1, -1 for an untouched black pixel).
TPoint From(TBitmap& B, int X, int Y)
{
    const uint32_t c = At(B, X, Y) & 0x00FFFFFF;
    return TPoint(int((c >> 16) & 0xFF) - 1, int((c >> 8) & 0xFF) - 1);
}

}  // namespace

TEST(SkinImages, SameSizeGivesTheSourceBack)
{
    auto sb = Picture(9, 8, CoordColor);
    TBitmap b;
    const TRect cl(3, 2, 6, 5);
    CreateSkinImage(Point(3, 2), Point(6, 2), Point(3, 5), Point(6, 5), cl, Point(3, 2), Point(6, 2), Point(3, 5),
                    Point(6, 5), cl, &b, sb.get(), Rect(0, 0, 9, 8), 9, 8, true, false, false, false, false, false,
                    bsstFull);
    ASSERT_EQ(b.Width(), 9);
    ASSERT_EQ(b.Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(At(b, x, y), CoordColor(x, y)) << x << "," << y;
}

TEST(SkinImages, NinePiecesTiledToALargerSize)
{
    // The picture sits at (10, 20) in a larger skin picture.
    auto sb = Picture(30, 40, [](int x, int y) { return CoordColor(x - 10, y - 20); });
    TBitmap b;
    const TRect cl(3, 3, 6, 6), ncl(3, 3, 12, 10);
    CreateSkinImage(Point(3, 3), Point(6, 3), Point(3, 6), Point(6, 6), cl, Point(3, 3), Point(12, 3), Point(3, 10),
                    Point(12, 10), ncl, &b, sb.get(), Rect(10, 20, 19, 29), 15, 13, true, false, false, false, false,
                    false, bsstFull);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 15; ++x) {
            // Columns 0..2 and 12..14 are the source's 0..2 and 6..8; between them tiles of 3.
            const int sx = x < 3 ? x : x >= 12 ? x - 6 : 3 + (x - 3) % 3;
            const int sy = y < 3 ? y : y >= 10 ? y - 4 : 3 + (y - 3) % 3;
            ASSERT_EQ(From(b, x, y), Point(sx, sy)) << x << "," << y;
        }
    // Without the client part, the middle keeps what B held (new pixels: black).
    TBitmap nc;
    CreateSkinImage(Point(3, 3), Point(6, 3), Point(3, 6), Point(6, 6), cl, Point(3, 3), Point(12, 3), Point(3, 10),
                    Point(12, 10), ncl, &nc, sb.get(), Rect(10, 20, 19, 29), 15, 13, false, false, false, false, false,
                    false, bsstFull);
    EXPECT_EQ(At(nc, 7, 7) & 0x00FFFFFF, 0u);
    EXPECT_EQ(From(nc, 0, 0), Point(0, 0));
}

TEST(SkinImages, LongTiledRunsRepeatExactly)
{
    // Many tiles: every pixel still shows its place in the repeated source.
    auto sb = Picture(9, 9, CoordColor);
    const TRect cl(3, 3, 6, 6), ncl(3, 3, 101, 80);
    TBitmap b;
    CreateSkinImage(Point(3, 3), Point(6, 3), Point(3, 6), Point(6, 6), cl, Point(3, 3), Point(101, 3), Point(3, 80),
                    Point(101, 80), ncl, &b, sb.get(), Rect(0, 0, 9, 9), 104, 83, true, false, false, false, false,
                    false, bsstFull);
    for (int y = 0; y < 83; ++y)
        for (int x = 0; x < 104; ++x) {
            const int sx = x < 3 ? x : x >= 101 ? x - 95 : 3 + (x - 3) % 3;
            const int sy = y < 3 ? y : y >= 80 ? y - 74 : 3 + (y - 3) % 3;
            ASSERT_EQ(From(b, x, y), Point(sx, sy)) << x << "," << y;
        }
    auto tall = Picture(4, 12, CoordColor);
    TBitmap v;
    CreateVSkinImage(2, 1, &v, tall.get(), Rect(0, 0, 4, 7), 0, 61, false);  // middle rows 2..5
    for (int y = 0; y < 61; ++y) {
        const int sy = y < 2 ? y : y == 60 ? 6 : 2 + (y - 2) % 4;
        ASSERT_EQ(From(v, 3, y), Point(3, sy)) << y;
    }
}

TEST(SkinImages, StretchedEdgesAndClientTypes)
{
    auto sb = Picture(9, 9, CoordColor);
    const TRect cl(3, 3, 6, 6), ncl(3, 3, 12, 12);  // 3 -> 9: every source pixel three times
    auto build = [&](bool StretchEdges, TbsStretchType Type, TBitmap& B) {
        CreateSkinImage(Point(3, 3), Point(6, 3), Point(3, 6), Point(6, 6), cl, Point(3, 3), Point(12, 3),
                        Point(3, 12), Point(12, 12), ncl, &B, sb.get(), Rect(0, 0, 9, 9), 15, 15, true, StretchEdges,
                        StretchEdges, StretchEdges, StretchEdges, true, Type);
    };
    TBitmap full, horz, vert;
    build(true, bsstFull, full);
    build(false, bsstHorz, horz);
    build(false, bsstVert, vert);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(From(full, 3 + i, 0).X, 3 + i / 3) << i;   // top edge stretched
        EXPECT_EQ(From(full, 3 + i, 3 + i), Point(3 + i / 3, 3 + i / 3));
        // Horizontal: one client column stretched down, repeated across.
        EXPECT_EQ(From(horz, 3 + i, 3 + i), Point(3 + i % 3, 3 + i / 3)) << i;
        // Vertical: stretched across, repeated down.
        EXPECT_EQ(From(vert, 3 + i, 3 + i), Point(3 + i / 3, 3 + i % 3)) << i;
    }
    // The repeated copies stay inside the new client rectangle.
    EXPECT_EQ(From(horz, 12, 5).X, 6);
}

TEST(SkinImages, RightBandlessAndStretchForms)
{
    auto sb = Picture(9, 9, CoordColor);
    const TRect cl(3, 3, 6, 6);
    TBitmap b;
    CreateSkinImage3(Point(3, 3), Point(6, 3), Point(3, 6), Point(6, 6), cl, Point(3, 3), Point(6, 3), Point(3, 6),
                     Point(6, 6), TRect(3, 3, 9, 6), &b, sb.get(), Rect(0, 0, 9, 9), 12, 9, true, false, false,
                     false, false, false, bsstFull);
    // The top edge runs to the right end; no right corner pieces.
    EXPECT_EQ(From(b, 11, 0), Point(5, 0));
    EXPECT_EQ(From(b, 11, 4), Point(5, 4));
    EXPECT_EQ(From(b, 11, 8), Point(5, 8));

    TBitmap s;
    s.SetPixelFormat(pf32bit);
    s.SetSize(9, 9);
    CreateStretchSkinImage(&s, sb.get(), Rect(0, 0, 9, 9), cl, true);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(At(s, x, y), CoordColor(x, y));
}

TEST(SkinImages, EmptySourcesAndEmptyStrips)
{
    TBitmap empty, b;
    CreateSkinImage(Point(1, 1), Point(2, 1), Point(1, 2), Point(2, 2), Rect(1, 1, 2, 2), Point(1, 1), Point(5, 1),
                    Point(1, 5), Point(5, 5), Rect(1, 1, 5, 5), &b, &empty, Rect(0, 0, 3, 3), 6, 6, true, false,
                    false, false, false, false, bsstFull);
    EXPECT_EQ(b.Width(), 6);  // sized, nothing drawn
    // A top edge of no length (RT.X = LT.X) and a client of no size, tiled: nothing drawn
    // there, no endless loop.
    auto sb = Picture(6, 6, CoordColor);
    TBitmap z;
    CreateSkinImage(Point(2, 2), Point(2, 2), Point(2, 4), Point(4, 4), Rect(2, 2, 2, 4), Point(2, 2), Point(2, 2),
                    Point(2, 8), Point(8, 8), Rect(2, 2, 8, 8), &z, sb.get(), Rect(0, 0, 6, 6), 10, 10, true, false,
                    false, false, false, false, bsstFull);
    EXPECT_EQ(z.Width(), 10);
    // Stops at once when the corner points coincide.
    TBitmap same;
    CreateSkinImage(Point(2, 2), Point(4, 2), Point(2, 4), Point(2, 4), Rect(2, 2, 4, 4), Point(2, 2), Point(4, 2),
                    Point(2, 4), Point(2, 4), Rect(2, 2, 4, 4), &same, sb.get(), Rect(0, 0, 6, 6), 6, 6, true, false,
                    false, false, false, false, bsstFull);
    EXPECT_EQ(At(same, 0, 0) & 0x00FFFFFF, 0u);
}

TEST(SkinImages, OneDimensionalStrips)
{
    auto sb = Picture(40, 4, CoordColor);
    TBitmap h;
    CreateHSkinImage(0, 0, &h, sb.get(), Rect(0, 0, 20, 3), 50, 99, false);  // tiles at 0, 20, 40
    ASSERT_EQ(h.Width(), 50);
    ASSERT_EQ(h.Height(), 3);
    for (int x = 0; x < 50; ++x) EXPECT_EQ(From(h, x, 1), Point(x % 20, 1)) << x;

    TBitmap ends;
    CreateHSkinImage(2, 3, &ends, sb.get(), Rect(10, 0, 20, 4), 16, 0, false);  // middle 12..16
    const int want[] = {10, 11, 12, 13, 14, 15, 16, 12, 13, 14, 15, 16, 12, 17, 18, 19};
    for (int x = 0; x < 16; ++x) EXPECT_EQ(From(ends, x, 0).X, want[x]) << x;

    TBitmap left;
    CreateHSkinImage2(2, 3, &left, sb.get(), Rect(10, 0, 20, 4), 9, 0, false);
    const int wantLeft[] = {10, 11, 12, 13, 14, 15, 16, 12, 13};
    for (int x = 0; x < 9; ++x) EXPECT_EQ(From(left, x, 0).X, wantLeft[x]) << x;

    TBitmap none;
    CreateHSkinImage3(2, 3, &none, sb.get(), Rect(10, 0, 20, 4), 7, 0, false);
    const int wantNone[] = {12, 13, 14, 15, 16, 12, 13};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(From(none, x, 0).X, wantNone[x]) << x;

    TBitmap zero;  // a middle of no width counts as one column
    CreateHSkinImage(2, 2, &zero, sb.get(), Rect(0, 0, 4, 4), 7, 0, false);
    EXPECT_EQ(From(zero, 3, 0).X, 2);

    auto tall = Picture(3, 30, CoordColor);
    TBitmap v;
    CreateVSkinImage(1, 1, &v, tall.get(), Rect(0, 0, 3, 5), 99, 8, false);
    ASSERT_EQ(v.Width(), 3);
    const int wantV[] = {0, 1, 2, 3, 1, 2, 3, 4};
    for (int y = 0; y < 8; ++y) EXPECT_EQ(From(v, 0, y).Y, wantV[y]) << y;
    TBitmap vs;
    CreateVSkinImage(0, 0, &vs, tall.get(), Rect(0, 0, 3, 2), 0, 6, true);
    const int wantVs[] = {0, 0, 0, 1, 1, 1};
    for (int y = 0; y < 6; ++y) EXPECT_EQ(From(vs, 2, y).Y, wantVs[y]) << y;
}

TEST(SkinImages, FrameStrips)
{
    auto sb = Picture(9, 9, CoordColor);
    TBitmap l, t, r, b;
    const TRect cl(2, 3, 7, 6);
    CreateSkinBorderImages(Point(3, 4), Point(6, 4), Point(3, 5), Point(6, 5), cl, Point(3, 4), Point(9, 4),
                           Point(3, 7), Point(9, 7), TRect(2, 3, 10, 8), &l, &t, &r, &b, sb.get(), Rect(0, 0, 9, 9),
                           12, 11, false, false, false, false);
    EXPECT_EQ(t.Width(), 12);
    EXPECT_EQ(t.Height(), 3);
    EXPECT_EQ(b.Width(), 12);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(l.Width(), 2);
    EXPECT_EQ(l.Height(), 5);
    EXPECT_EQ(r.Width(), 2);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_EQ(From(t, 0, 0), Point(0, 0));
    EXPECT_EQ(From(t, 11, 2), Point(8, 2));
    EXPECT_EQ(From(b, 11, 2), Point(8, 8));
    EXPECT_EQ(From(l, 0, 0), Point(0, 3));  // the piece above the left corner point
    EXPECT_EQ(From(l, 0, 4), Point(0, 5));  // the piece below
    EXPECT_EQ(From(r, 1, 0), Point(8, 3));
}

TEST(MaskRegions, RunsOfBlackPixels)
{
    // 6 x 3: a full black row, a row with a hole, a white row.
    const char* rows[] = {"XXXXXX", "XX..X.", "......"};
    auto mask = Picture(6, 3, [&](int x, int y) { return rows[y][x] == 'X' ? 0xFF000000u : 0xFFFFFFFFu; });
    std::vector<uint8_t> data;
    ASSERT_EQ(CreateRgnDataFromMask(mask.get(), 10, 20, data), 32 + 16 * 3);
    const auto* h = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    EXPECT_EQ(h->dwSize, 32u);
    EXPECT_EQ(h->iType, 1u);
    EXPECT_EQ(h->nCount, 3u);
    EXPECT_EQ(h->nRgnSize, 0u);
    EXPECT_EQ(h->rcBound, Rect(10, 20, 16, 23));
    const auto* r = reinterpret_cast<const RECT*>(data.data() + 32);
    EXPECT_EQ(r[0], Rect(10, 20, 16, 21));
    EXPECT_EQ(r[1], Rect(10, 21, 12, 22));
    EXPECT_EQ(r[2], Rect(14, 21, 15, 22));

    HRGN rgn;
    CreateRgnFromMask(rgn, mask.get());
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(PtInRegion(rgn, 4, 1));
    EXPECT_FALSE(PtInRegion(rgn, 2, 1));
    EXPECT_FALSE(PtInRegion(rgn, 0, 2));
    DeleteObject(rgn);

    auto white = Picture(4, 4, [](int, int) { return 0xFFFFFFFFu; });
    EXPECT_EQ(CreateRgnDataFromMask(white.get(), 0, 0, data), 32);
    EXPECT_EQ(reinterpret_cast<const RGNDATAHEADER*>(data.data())->nCount, 0u);
    TBitmap empty;
    EXPECT_EQ(CreateRgnDataFromMask(&empty, 0, 0, data), 0);
    EXPECT_TRUE(data.empty());
    CreateRgnFromMask(rgn, &empty);
    EXPECT_EQ(rgn, nullptr);
}

TEST(MaskRegions, ManyRunsGrowTheList)
{
    // A chequered mask of 200 x 101 has 10,100 runs, more than a fixed list of 10,000.
    auto mask = Picture(200, 101, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; });
    std::vector<uint8_t> data;
    ASSERT_EQ(CreateRgnDataFromMask(mask.get(), 0, 0, data), 32 + 16 * 10100);
    HRGN rgn;
    CreateRgnFromMask(rgn, mask.get());
    EXPECT_TRUE(PtInRegion(rgn, 0, 100));
    EXPECT_FALSE(PtInRegion(rgn, 1, 100));
    DeleteObject(rgn);
}

TEST(MaskRegions, SkinRegionFromBorderStrips)
{
    // 8 x 8 mask, client (2, 0, 6, 6): no top strip.  The bottom strip's corners are cut
    // (white), the side strips black.
    auto mask = Picture(8, 8, [](int x, int y) { return y >= 6 && (x == 0 || x == 7) ? 0xFFFFFFFFu : 0xFF000000u; });
    const TRect cl(2, 0, 6, 6), ncl(2, 0, 10, 6);
    HRGN rgn;
    CreateSkinRegion(rgn, Point(2, 0), Point(6, 0), Point(2, 6), Point(6, 6), cl, Point(2, 0), Point(10, 0),
                     Point(2, 6), Point(10, 6), ncl, mask.get(), 12, 8);
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(PtInRegion(rgn, 5, 3));    // client
    EXPECT_TRUE(PtInRegion(rgn, 0, 3));    // left strip
    EXPECT_TRUE(PtInRegion(rgn, 11, 3));   // right strip
    EXPECT_TRUE(PtInRegion(rgn, 5, 7));    // bottom strip
    EXPECT_FALSE(PtInRegion(rgn, 0, 7));   // its cut corners
    EXPECT_FALSE(PtInRegion(rgn, 11, 7));
    DeleteObject(rgn);

    CreateSkinRegion(rgn, Point(2, 0), Point(6, 0), Point(2, 6), Point(6, 6), cl, Point(6, 0), Point(2, 0),
                     Point(2, 6), Point(10, 6), ncl, mask.get(), 12, 8);
    EXPECT_EQ(rgn, nullptr);  // right corner left of the left one
    CreateSkinRegion(rgn, Point(2, 0), Point(6, 0), Point(2, 6), Point(6, 6), cl, Point(2, 0), Point(10, 0),
                     Point(2, 6), Point(10, 6), Rect(2, 0, 2, 6), mask.get(), 12, 8);
    EXPECT_EQ(rgn, nullptr);  // empty client
}
