// Regions: banded rectangle lists, set operations and the region handle calls.
#include <gtest/gtest.h>

#include <random>

#include "platform/graphics/Gdi.h"

namespace {

// Pixel-by-pixel reference of a region over a small grid.
std::vector<bool> Grid(const TRegion& R, int N = 24)
{
    std::vector<bool> G(size_t(N * N));
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) G[size_t(y * N + x)] = R.Contains(x, y);
    return G;
}

// Every band's rectangles are sorted, disjoint, not touching, and bands never overlap.
void ExpectCanonical(const TRegion& R)
{
    const auto& V = R.Rects();
    for (size_t i = 0; i < V.size(); ++i) {
        EXPECT_FALSE(V[i].IsEmpty());
        if (i == 0) continue;
        const TRect &P = V[i - 1], &Q = V[i];
        if (P.Top == Q.Top) {
            EXPECT_EQ(P.Bottom, Q.Bottom);
            EXPECT_LT(P.Right, Q.Left);
        } else {
            EXPECT_LE(P.Bottom, Q.Top);
        }
    }
}

}  // namespace

TEST(GraphicsRegion, CombineMatchesPixelReference)
{
    std::mt19937 Rng(7);
    std::uniform_int_distribution<int> C(0, 20);
    for (int Round = 0; Round < 200; ++Round) {
        std::vector<TRect> A, B;
        for (int i = 0; i < 4; ++i) {
            int x = C(Rng), y = C(Rng);
            A.push_back(TRect(x, y, x + C(Rng) / 3 + 1, y + C(Rng) / 3 + 1));
            x = C(Rng), y = C(Rng);
            B.push_back(TRect(x, y, x + C(Rng) / 3 + 1, y + C(Rng) / 3 + 1));
        }
        TRegion Ra = TRegion::FromRects(A), Rb = TRegion::FromRects(B);
        auto Ga = Grid(Ra), Gb = Grid(Rb);
        struct { TRegion::TOp Op; bool (*F)(bool, bool); } Ops[] = {
            {TRegion::TOp::Or, [](bool a, bool b) { return a || b; }},
            {TRegion::TOp::And, [](bool a, bool b) { return a && b; }},
            {TRegion::TOp::Diff, [](bool a, bool b) { return a && !b; }},
            {TRegion::TOp::Xor, [](bool a, bool b) { return a != b; }},
        };
        for (auto& O : Ops) {
            TRegion R = TRegion::Combine(Ra, Rb, O.Op);
            ExpectCanonical(R);
            auto G = Grid(R);
            for (size_t i = 0; i < G.size(); ++i) ASSERT_EQ(G[i], O.F(Ga[i], Gb[i])) << "round " << Round;
        }
    }
}

TEST(GraphicsRegion, EqualSetsHaveEqualLists)
{
    // Two halves united give the same list as the whole.
    TRegion Whole(TRect(0, 0, 10, 10));
    TRegion Halves = TRegion(TRect(0, 0, 5, 10)) | TRegion(TRect(5, 0, 10, 10));
    EXPECT_EQ(Whole, Halves);
    TRegion Rows = TRegion(TRect(0, 0, 10, 3)) | TRegion(TRect(0, 3, 10, 10));
    EXPECT_EQ(Whole, Rows);
    EXPECT_EQ(Whole.Rects().size(), 1u);
}

TEST(GraphicsRegion, QueriesAndOffset)
{
    TRegion R = TRegion(TRect(0, 0, 4, 4)) | TRegion(TRect(10, 10, 12, 14));
    EXPECT_EQ(R.Bounds(), TRect(0, 0, 12, 14));
    EXPECT_TRUE(R.Contains(3, 3));
    EXPECT_FALSE(R.Contains(4, 3));
    EXPECT_FALSE(R.Contains(5, 5));
    EXPECT_TRUE(R.Intersects(TRect(3, 3, 11, 11)));
    EXPECT_FALSE(R.Intersects(TRect(4, 0, 10, 10)));
    R.Offset(-2, 5);
    EXPECT_EQ(R.Bounds(), TRect(-2, 5, 10, 19));
    EXPECT_EQ(R.Area(), 16 + 8);
    EXPECT_EQ(TRegion().Bounds(), TRect());
}

TEST(GraphicsRegion, HandleCalls)
{
    HRGN A = CreateRectRgn(0, 0, 10, 10);
    HRGN B = CreateRectRgn(5, 5, 15, 15);
    HRGN D = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(D, A, B, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(D, 14, 14));
    EXPECT_FALSE(PtInRegion(D, 14, 2));
    EXPECT_EQ(CombineRgn(D, A, B, RGN_AND), SIMPLEREGION);
    RECT Box;
    EXPECT_EQ(GetRgnBox(D, &Box), SIMPLEREGION);
    EXPECT_EQ(Box, TRect(5, 5, 10, 10));
    EXPECT_EQ(CombineRgn(D, A, A, RGN_DIFF), NULLREGION);
    EXPECT_EQ(OffsetRgn(A, 3, 4), SIMPLEREGION);
    GetRgnBox(A, &Box);
    EXPECT_EQ(Box, TRect(3, 4, 13, 14));
    RECT Q{12, 13, 20, 20};
    EXPECT_TRUE(RectInRegion(A, &Q));
    HRGN E = CreateRectRgn(13, 14, 3, 4);   // corners swapped: normalised
    EXPECT_TRUE(EqualRgn(A, E));
    EXPECT_EQ(CombineRgn(D, A, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(D, A, nullptr, RGN_OR), RGN_ERROR);
    for (HRGN R : {A, B, D, E}) EXPECT_TRUE(DeleteObject(R));
    EXPECT_FALSE(PtInRegion(A, 5, 5));   // a deleted handle is no longer live
    EXPECT_FALSE(DeleteObject(A));
}

TEST(GraphicsRegion, RegionDataRoundTripWithManyRectangles)
{
    // A mask-like region: one rectangle per row, far more than any fixed buffer would take.
    const int N = 20000;
    std::vector<char> Buf(sizeof(RGNDATAHEADER) + N * sizeof(RECT));
    auto* H = reinterpret_cast<RGNDATAHEADER*>(Buf.data());
    *H = RGNDATAHEADER();
    H->nCount = N;
    auto* Rs = reinterpret_cast<RECT*>(Buf.data() + sizeof(RGNDATAHEADER));
    for (int i = 0; i < N; ++i) Rs[i] = TRect(i % 7, i, 10 + i % 7, i + 1);
    HRGN R = ExtCreateRegion(nullptr, DWORD(Buf.size()), reinterpret_cast<RGNDATA*>(Buf.data()));
    ASSERT_NE(R, nullptr);
    EXPECT_TRUE(PtInRegion(R, 0, 0));
    EXPECT_FALSE(PtInRegion(R, 0, 1));
    EXPECT_TRUE(PtInRegion(R, 9, 19999));
    EXPECT_FALSE(PtInRegion(R, 10, 19999));
    DWORD Need = GetRegionData(R, 0, nullptr);
    EXPECT_EQ(Need, sizeof(RGNDATAHEADER) + N * sizeof(RECT));
    std::vector<char> Out(Need);
    EXPECT_EQ(GetRegionData(R, Need, reinterpret_cast<RGNDATA*>(Out.data())), Need);
    HRGN R2 = ExtCreateRegion(nullptr, Need, reinterpret_cast<RGNDATA*>(Out.data()));
    EXPECT_TRUE(EqualRgn(R, R2));
    DeleteObject(R);
    DeleteObject(R2);
}

TEST(GraphicsRegion, MalformedRegionDataIsRejected)
{
    std::vector<char> Buf(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
    auto* H = reinterpret_cast<RGNDATAHEADER*>(Buf.data());
    auto Make = [&](DWORD Size) { return ExtCreateRegion(nullptr, Size, reinterpret_cast<RGNDATA*>(Buf.data())); };
    *H = RGNDATAHEADER();
    H->nCount = 3;   // claims more rectangles than the buffer holds
    EXPECT_EQ(Make(DWORD(Buf.size())), nullptr);
    H->nCount = 0xFFFFFFFF;
    EXPECT_EQ(Make(DWORD(Buf.size())), nullptr);
    H->nCount = 1;
    H->iType = 2;
    EXPECT_EQ(Make(DWORD(Buf.size())), nullptr);
    EXPECT_EQ(Make(4), nullptr);
    EXPECT_EQ(ExtCreateRegion(nullptr, 100, nullptr), nullptr);
}
