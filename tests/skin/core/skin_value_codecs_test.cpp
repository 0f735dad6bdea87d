// Rectangle predicates, colour mixes and the skin ini value codecs.
#include <gtest/gtest.h>

#include "platform/system/IniFiles.h"
#include "skin/core/bsUtils.h"

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

TEST(SkinRects, ColourMixes)
{
    EXPECT_EQ(MixColors(clBlack, clWhite), RGB(127, 127, 127));
    EXPECT_EQ(DarkenColor(RGB(200, 100, 0), 15), RGB(170, 85, 0));
    EXPECT_EQ(DarkenColor(RGB(30, 0, 0), 15), RGB(25, 0, 0));  // MulDiv rounds 4.5 up
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

class SkinIniCodecs : public ::testing::Test {
protected:
    TMemIniFile Ini{""};
};

TEST_F(SkinIniCodecs, RectsPointsAndBools)
{
    TRect r(9, 9, 9, 9);
    ReadSkinRect(&Ini, "s", "missing", r);
    EXPECT_EQ(r, Rect(0, 0, 0, 0));
    WriteSkinRect(&Ini, "s", "r", Rect(1, 22, 333, 4444));
    EXPECT_EQ(Ini.ReadString("s", "r", ""), "1,22,333,4444");
    ReadSkinRect(&Ini, "S", "R", r);
    EXPECT_EQ(r, Rect(1, 22, 333, 4444));
    WriteSkinRect(&Ini, "s", "neg", Rect(-5, 0, 1, 1));
    EXPECT_EQ(Ini.ReadString("s", "neg", ""), "5,0,1,1");
    TPoint p(3, 3);
    ReadSkinPoint(&Ini, "s", "missing", p);
    EXPECT_EQ(p, Point(0, 0));
    WriteSkinPoint(&Ini, "s", "p", Point(7, 8));
    EXPECT_EQ(Ini.ReadString("s", "p", ""), "7,8");
    Ini.WriteString("s", "empty", "");
    EXPECT_THROW(ReadSkinPoint(&Ini, "s", "empty", p), EConvertError);

    EXPECT_FALSE(ReadSkinBool(&Ini, "s", "missing"));
    WriteSkinBool(&Ini, "s", "b", true);
    EXPECT_EQ(Ini.ReadString("s", "b", ""), "1");
    EXPECT_TRUE(ReadSkinBool(&Ini, "s", "b"));
    Ini.WriteString("s", "two", "2");
    EXPECT_FALSE(ReadSkinBool(&Ini, "s", "two"));
}

TEST_F(SkinIniCodecs, FontStylesAndAlignment)
{
    struct Case {
        const char* Text;
        TFontStyles Styles;
    };
    const Case cases[] = {{"fsbold,fsunderline", {fsBold, fsUnderline}},
                          {"fsunderlinefsbold", {fsBold, fsUnderline}},
                          {"FSBOLD", {}},
                          {"fsitalic,fsstrikeout", {fsItalic, fsStrikeOut}}};
    for (const auto& c : cases) {
        Ini.WriteString("f", "k", c.Text);
        EXPECT_TRUE(ReadSkinFontStyles(&Ini, "f", "k") == c.Styles) << c.Text;
    }
    EXPECT_TRUE(ReadSkinFontStyles(&Ini, "f", "missing") == TFontStyles());
    WriteSkinFontStyles(&Ini, "f", "w", TFontStyles{fsStrikeOut, fsBold});
    EXPECT_EQ(Ini.ReadString("f", "w", "?"), "fsbold,fsstrikeout");
    WriteSkinFontStyles(&Ini, "f", "none", TFontStyles());
    EXPECT_EQ(Ini.ReadString("f", "none", "?"), "");

    struct ACase {
        const char* Text;
        TAlignment A;
    };
    const ACase al[] = {{"tacenter", taCenter},
                        {"taleftjustify", taLeftJustify},
                        {"tarightjustify", taRightJustify},
                        {"TACENTER", taRightJustify},
                        {"", taRightJustify}};
    for (const auto& c : al) {
        Ini.WriteString("a", "k", c.Text);
        EXPECT_EQ(ReadSkinAlignment(&Ini, "a", "k"), c.A) << c.Text;
    }
    EXPECT_EQ(ReadSkinAlignment(&Ini, "a", "missing"), taCenter);
    for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        WriteSkinAlignment(&Ini, "a", "w", a);
        EXPECT_EQ(ReadSkinAlignment(&Ini, "a", "w"), a);
    }
}

TEST_F(SkinIniCodecs, StringListsAppend)
{
    TStringList src;
    src.Add("one");
    src.Add("二");
    WriteSkinStrings(&Ini, "l", "activepictures", &src);
    EXPECT_EQ(Ini.ReadInteger("l", "activepicturescount", -1), 2);
    EXPECT_EQ(Ini.ReadString("l", "0", ""), "one");
    EXPECT_EQ(Ini.ReadString("l", "1", ""), "二");
    TStringList dst;
    dst.Add("kept");
    ReadSkinStrings(&Ini, "l", "activepictures", &dst);
    ASSERT_EQ(dst.Count(), 3);
    EXPECT_EQ(dst.Strings(0), "kept");
    EXPECT_EQ(dst.Strings(2), "二");
    Ini.WriteInteger("l", "gapcount", 3);
    TStringList gaps;
    ReadSkinStrings(&Ini, "l", "gap", &gaps);  // missing entries read as empty
    ASSERT_EQ(gaps.Count(), 3);
    TStringList none;
    ReadSkinStrings(&Ini, "l", "missing", &none);
    EXPECT_EQ(none.Count(), 0);
}
