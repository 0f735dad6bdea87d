// The shared arithmetic whose rounding stored values and pixels depend on, and sets.
#include "platform/system/Types.h"

#include <gtest/gtest.h>

namespace {

TEST(Types, MulDivRoundsHalfAwayFromZero)
{
    struct Case {
        int A, B, C, Expected;
    };
    const Case cases[] = {
        {10, 1, 4, 3},    // 2.5 -> 3
        {-10, 1, 4, -3},  // -2.5 -> -3
        {10, -1, 4, -3}, {10, 1, -4, -3}, {-10, -1, -4, -3},
        {7, 1, 3, 2},     // 2.33 -> 2
        {8, 1, 3, 3},     // 2.67 -> 3
        {2000000000, 3, 4, 1500000000},  // the product needs 64 bits
        {12, 96, 72, 16}, // points to pixels
        {5, 7, 0, -1},    // division by zero gives -1
    };
    for (const Case& c : cases) EXPECT_EQ(c.Expected, MulDiv(c.A, c.B, c.C)) << c.A << "*" << c.B << "/" << c.C;
}

TEST(Types, RoundHalfToEvenAndTrunc)
{
    struct Case {
        double X;
        int64_t Round, Trunc;
    };
    const Case cases[] = {{0.5, 0, 0}, {1.5, 2, 1}, {2.5, 2, 2}, {-0.5, 0, 0}, {-1.5, -2, -1}, {2.6, 3, 2}, {-2.6, -3, -2}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.Round, Round(c.X)) << c.X;
        EXPECT_EQ(c.Trunc, Trunc(c.X)) << c.X;
    }
}

TEST(Types, ColoursAreBgr)
{
    TColor c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(0x563412, c);
    EXPECT_EQ(0x12, GetRValue(c));
    EXPECT_EQ(0x34, GetGValue(c));
    EXPECT_EQ(0x56, GetBValue(c));
    EXPECT_EQ(clRed, RGB(255, 0, 0));
}

enum TFlag { fA, fB, fC };

TEST(Types, SetsBehaveLikePascalSets)
{
    TSet<TFlag> s{fA, fC};
    EXPECT_TRUE(s.Contains(fA));
    EXPECT_FALSE(s.Contains(fB));
    s.Include(fB).Exclude(fA);
    EXPECT_EQ((TSet<TFlag>{fB, fC}), s);
    EXPECT_EQ((TSet<TFlag>{fC}), (s * TSet<TFlag>{fA, fC}));
    EXPECT_EQ((TSet<TFlag>{fB}), (s - TSet<TFlag>{fC}));
    EXPECT_TRUE((s - s).Empty());
}

}  // namespace
