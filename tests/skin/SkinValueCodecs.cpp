// Rectangle predicates, colour mixes and the skin ini value codecs.
#include <gtest/gtest.h>

#include "skin/bsUtils.h"

TEST(SkinRects, Predicates)
{
    EXPECT_TRUE(IsEmptyRect(Rect(10, 10, 10, 20)));
    EXPECT_FALSE(IsEmptyRect(Rect(0, 0, 1, 1)));
    EXPECT_TRUE(IsEmptyRect(Rect(5, 5, 4, 9)));
    EXPECT_EQ(WidthOfRect(Rect(5, 0, 2, 0)), -3);
    EXPECT_TRUE(IsPointInRect(Rect(0, 0, 10, 10), Point(10, 10)));
    EXPECT_FALSE(IsPointInRect(Rect(0, 0, 10, 10), Point(11, 10)));
    EXPECT_FALSE(RectInRect(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectInRect(Rect(1, 1, 9, 9), Rect(0, 0, 10, 10)));
    EXPECT_TRUE(IsNullPoint(Point(0, 7)));
    EXPECT_TRUE(IsNullPoint(Point(7, 0)));
    EXPECT_FALSE(IsNullPoint(Point(1, 1)));
    EXPECT_TRUE(SameRects(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
    EXPECT_FALSE(SameRects(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));
    TRect r(1, 2, 3, 4);
    ClearRect(r);
    EXPECT_EQ(r, Rect(0, 0, 0, 0));
    EXPECT_EQ(MaxOf(3, -4), 3);
    EXPECT_EQ(MinOf(3, -4), -4);
    // R1's top inside R2's vertical span, or its bottom.
    EXPECT_TRUE(RectOverlapsRect(Rect(0, 5, 10, 30), Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectOverlapsRect(Rect(0, -5, 10, 9), Rect(0, 0, 10, 10)));
    EXPECT_FALSE(RectOverlapsRect(Rect(0, -5, 10, 20), Rect(0, 0, 10, 10)));
    EXPECT_FALSE(RectOverlapsRect(Rect(0, 5, 10, 30), Rect(0, 0, 1, 10)));  // R2 one pixel wide
}

TEST(SkinValueText, RectanglesAndPoints)
{
    struct Case {
        const char* Text;
        TPoint P;
    };
    const Case points[] = {{"12, 34", {12, 34}}, {"-3,4", {3, 4}}, {"1a2,3", {12, 3}}, {"5,6,7", {5, 6}}};
    for (const auto& c : points) {
        TPoint p;
        ParsePointText(c.Text, p);
        EXPECT_EQ(p, c.P) << c.Text;
    }
    TRect r;
    ParseRectText("1,2,3,4", r);
    EXPECT_EQ(r, Rect(1, 2, 3, 4));
    ParseRectText(" 10 , -20,30x,40,50,60", r);  // extra fields ignored
    EXPECT_EQ(r, Rect(10, 20, 30, 40));
    const char* bad[] = {"", "1,2,3", "1,,3,4", "99999999999,1,1,1", "a,b,c,d"};
    for (const char* t : bad) EXPECT_THROW(ParseRectText(t, r), EConvertError) << t;
    TPoint p;
    EXPECT_THROW(ParsePointText("7", p), EConvertError);
}

