// Glyph and caption layout, text functions, small glyphs, glow and reflection captions.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

// A white 32-bit bitmap to draw on.
struct Sheet {
    TBitmap B;
    explicit Sheet(int W = 40, int H = 30)
    {
        B.SetPixelFormat(pf32bit);
        B.SetSize(W, H);
        B.Canvas()->Brush()->SetColor(clWhite);
        B.Canvas()->FillRect(TRect(0, 0, W, H));
        B.Canvas()->Brush()->SetStyle(bsClear);
    }
    TCanvas* C() { return B.Canvas(); }
    uint32_t At(int X, int Y) { return static_cast<uint32_t*>(B.ScanLine(Y))[X] & 0x00FFFFFF; }
    // The pixels that are not white.
    Pixels Inked()
    {
        Pixels p;
        for (int y = 0; y < B.Height(); ++y)
            for (int x = 0; x < B.Width(); ++x)
                if (At(x, y) != 0xFFFFFF) p.insert({x, y});
        return p;
    }
    std::vector<uint32_t> All()
    {
        std::vector<uint32_t> v;
        for (int y = 0; y < B.Height(); ++y)
            for (int x = 0; x < B.Width(); ++x) v.push_back(At(x, y));
        return v;
    }
};

// Pixels of an ASCII picture ("#" set) placed at X, Y.
Pixels Art(int X, int Y, std::initializer_list<const char*> Rows)
{
    Pixels p;
    int y = Y;
    for (const char* r : Rows) {
        for (int x = 0; r[x]; ++x)
            if (r[x] == '#') p.insert({X + x, y});
        ++y;
    }
    return p;
}

Pixels HRun(int X1, int X2, int Y)
{
    Pixels p;
    for (int x = X1; x <= X2; ++x) p.insert({x, Y});
    return p;
}

Pixels VRun(int X, int Y1, int Y2)
{
    Pixels p;
    for (int y = Y1; y <= Y2; ++y) p.insert({X, y});
    return p;
}

Pixels operator+(Pixels A, const Pixels& B)
{
    A.insert(B.begin(), B.end());
    return A;
}

}  // namespace

TEST(GlyphLayout, PositionsForEachLayout)
{
    struct Case {
        TbsButtonLayout Layout;
        int GW, GH, Margin;
        TPoint Glyph, Text;
    };
    // R = (0, 0, 100, 40): cx 50, cy 20; text 30 x 10; spacing 4 (dropped with no glyph).
    const Case cases[] = {
        {blGlyphLeft, 16, 16, 4, {4, 12}, {24, 15}},
        {blGlyphRight, 16, 16, 4, {80, 12}, {46, 15}},
        {blGlyphTop, 16, 16, 2, {42, 2}, {35, 22}},
        {blGlyphBottom, 16, 16, 2, {42, 22}, {35, 8}},
        {blGlyphLeft, 16, 16, -1, {25, 12}, {45, 15}},   // hw = 25
        {blGlyphRight, 16, 16, -1, {59, 12}, {25, 15}},
        {blGlyphTop, 16, 16, -1, {42, 5}, {35, 25}},     // hh = 15
        {blGlyphBottom, 16, 16, -1, {42, 19}, {35, 5}},
        {blGlyphLeft, 0, 0, -1, {35, 20}, {35, 15}},     // no glyph: the text alone, centred
        {blGlyphLeft, 0, 0, 4, {4, 20}, {4, 15}},
    };
    for (const auto& c : cases) {
        TPoint g, t;
        CalcGlyphLayout(c.Layout, Rect(0, 0, 100, 40), c.GW, c.GH, 30, 10, 4, c.Margin, g, t);
        EXPECT_EQ(g, c.Glyph) << int(c.Layout) << " margin " << c.Margin << " glyph " << c.GW;
        EXPECT_EQ(t, c.Text) << int(c.Layout) << " margin " << c.Margin << " glyph " << c.GW;
    }
}

TEST(Glyphs, Arrows)
{
    const TRect r(0, 0, 20, 20);  // centre (10, 10)
    struct Case {
        int Kind;
        Pixels Want;
    };
    const Case cases[] = {
        {0, {}},
        {6, {}},
        {1, VRun(8, 10, 10) + VRun(9, 9, 11) + VRun(10, 8, 12) + VRun(11, 7, 13)},
        {2, VRun(9, 7, 13) + VRun(10, 8, 12) + VRun(11, 9, 11) + VRun(12, 10, 10)},
        {3, HRun(10, 10, 8) + HRun(9, 11, 9) + HRun(8, 12, 10) + HRun(7, 13, 11)},
        {4, HRun(7, 13, 9) + HRun(8, 12, 10) + HRun(9, 11, 11) + HRun(10, 10, 12)},
        {5, HRun(6, 13, 9) + HRun(6, 13, 10) + VRun(9, 6, 13) + VRun(10, 6, 13)},
    };
    for (const auto& c : cases) {
        Sheet s;
        DrawArrowImage(s.C(), r, clBlack, c.Kind);
        EXPECT_EQ(s.Inked(), c.Want) << "kind " << c.Kind;
    }
    Sheet big;
    DrawBigArrowImage(big.C(), r, clBlack, 4);
    Pixels want;
    for (int i = 0; i < 6; ++i) want = want + HRun(10 - (5 - i), 10 + (5 - i), 7 + i);
    EXPECT_EQ(big.Inked(), want);
    Sheet none;
    DrawBigArrowImage(none.C(), r, clBlack, 5);
    EXPECT_TRUE(none.Inked().empty());
    Sheet drop;
    DrawDropDownArrow(drop.C(), r, clBlack);
    EXPECT_EQ(drop.Inked(), HRun(8, 12, 10) + HRun(9, 11, 11) + HRun(10, 10, 12));
}

TEST(Glyphs, MarksAndFrames)
{
    Sheet check;
    DrawCheckMark(check.C(), 2, 2, clBlack);
    EXPECT_EQ(check.Inked(), Art(2, 2, {"       ",
                                       "      #",
                                       "     ##",
                                       "#   ###",
                                       "## ### ",
                                       "#####  ",
                                       " ###   ",
                                       "  #    "}));
    Sheet radio;
    DrawRadioMark(radio.C(), 3, 4, clRed);
    Pixels box;
    for (int y = 4; y < 10; ++y) box = box + HRun(3, 8, y);
    EXPECT_EQ(radio.Inked(), box);
    EXPECT_EQ(radio.At(5, 6), 0xFF0000u);  // filled with the colour

    Sheet frame;
    DrawFrame3D(frame.C(), Rect(1, 1, 6, 5), clBlack, clRed);
    EXPECT_EQ(frame.Inked(), HRun(1, 5, 1) + VRun(1, 1, 4) + HRun(1, 5, 4) + VRun(5, 1, 4));
    EXPECT_EQ(frame.At(1, 3), 0x000000u);  // left column and top row: the top-left colour
    EXPECT_EQ(frame.At(4, 1), 0x000000u);
    EXPECT_EQ(frame.At(5, 1), 0xFF0000u);  // right column and bottom row: the other, which
    EXPECT_EQ(frame.At(1, 4), 0xFF0000u);  // runs back over the bottom-left corner
}

TEST(Glyphs, DottedFocusRectPhase)
{
    struct Case {
        TRect R;
        bool DotAtOrigin;
    };
    const Case cases[] = {{Rect(0, 0, 11, 11), false}, {Rect(0, 0, 10, 10), true}, {Rect(0, 0, 11, 10), true}};
    for (const auto& c : cases) {
        Sheet s;
        s.C()->Font()->SetColor(clBlack);
        DrawDottedFocusRect(s.C(), c.R);
        EXPECT_EQ(s.At(0, 0) == 0, c.DotAtOrigin) << c.R.Right << "x" << c.R.Bottom;
        // Dots alternate along the top edge.
        EXPECT_NE(s.At(1, 0) == 0, c.DotAtOrigin);
        EXPECT_NE(s.At(2, 0) == 0, s.At(1, 0) == 0);
    }
    // 0,0,5,4: corners shared between edges keep their state; walk the outline once.
    Sheet s;
    s.C()->Font()->SetColor(clBlack);
    DrawDottedFocusRect(s.C(), Rect(0, 0, 5, 4));
    EXPECT_EQ(s.Inked(), Art(0, 0, {"# # #", "     ", "#   #", " # # "}));
}

TEST(Glyphs, CaptionButtonGlyphs)
{
    struct Case {
        const char* Name;
        void (*Fn)(TCanvas*, int, int, TColor);
        Pixels Want;
    };
    auto diag = [](int X1, int Y1, int DX, int N) {
        Pixels p;
        for (int i = 0; i < N; ++i) p.insert({X1 + i * DX, Y1 + i});
        return p;
    };
    Pixels maxi;
    for (int x = 0; x <= 10; ++x) maxi = maxi + Pixels{{x, 0}, {x, 1}, {x, 9}};
    maxi = maxi + VRun(0, 0, 9) + VRun(10, 0, 9);
    Pixels restore;
    for (int x = 2; x <= 9; ++x) restore = restore + Pixels{{x, 0}, {x, 1}, {x, 5}};
    restore = restore + VRun(2, 0, 5) + VRun(9, 0, 5);
    for (int x = 0; x <= 6; ++x) restore = restore + Pixels{{x, 4}, {x, 5}, {x, 9}};
    restore = restore + VRun(0, 4, 9) + VRun(6, 4, 9);
    Pixels box;
    for (int y = 2; y < 7; ++y) box = box + HRun(2, 6, y);
    const Case cases[] = {
        {"close", DrawCloseImage, diag(1, 1, 1, 8) + diag(9, 1, -1, 8) + diag(2, 1, 1, 8) + diag(8, 1, -1, 8)},
        {"sysmenu", DrawSysMenuImage, HRun(2, 7, 3) + HRun(2, 7, 5)},
        {"minimize", DrawMinimizeImage, HRun(1, 8, 8) + HRun(1, 8, 9)},
        {"maximize", DrawMaximizeImage, maxi},
        {"restore", DrawRestoreImage, restore},
        {"roll up", DrawRollUpImage, HRun(5, 5, 2) + HRun(4, 6, 3) + HRun(3, 7, 4) + HRun(2, 8, 5)},
        {"roll down", DrawRollDownImage, HRun(2, 8, 3) + HRun(3, 7, 4) + HRun(4, 6, 5) + HRun(5, 5, 6)},
        {"to tray", DrawMinimizeToTrayImage, box},
    };
    for (const auto& c : cases) {
        Sheet s(16, 14);
        c.Fn(s.C(), 0, 0, clBlack);
        EXPECT_EQ(s.Inked(), c.Want) << c.Name;
    }
}

class TextFunctions : public ::testing::Test {
protected:
    Sheet S{200, 60};
    void SetUp() override
    {
        S.C()->Font()->SetName("DejaVu Sans");
        S.C()->Font()->SetHeight(-14);
        S.C()->Font()->SetColor(clBlack);
    }
};

TEST_F(TextFunctions, CutToWidth)
{
    TCanvas* c = S.C();
    const String fits = "Open";
    String t = fits;
    CutWideTextToWidth(c, t, WideTextWidth(c, fits));
    EXPECT_EQ(t, fits);
    t = "A long caption that does not fit";
    const int limit = WideTextWidth(c, "A long cap...");
    CutWideTextToWidth(c, t, limit);
    EXPECT_EQ(t.substr(t.size() - 3), "...");
    EXPECT_LE(WideTextWidth(c, t), limit);
    // One more character would not have fitted.
    const String longer = t.substr(0, t.size() - 3) + "A long caption that does not fit"[t.size() - 3] + "...";
    EXPECT_GT(WideTextWidth(c, longer), limit);
    t = "Nothing fits";
    CutWideTextToWidth(c, t, 1);
    EXPECT_EQ(t, "...");
    // Chinese text is cut at character boundaries.
    String zh = "澄枫视频转换器";
    CutTextToWidth(c, zh, c->TextWidth("澄枫视...") );
    EXPECT_EQ(zh, "澄枫视...");
}

TEST_F(TextFunctions, WrappedTextBreaks)
{
    TCanvas* c = S.C();
    const int w = WideTextWidth(c, "abcde");
    // Without word breaks, a word that overflows keeps what fitted, ends in "...", and the
    // rest of the word is dropped up to the next space, which is kept as well.
    EXPECT_EQ(BuildWrappedText(c, "abcdefghij xy", w, false), "ab...  xy");
    // With word breaks, a break (space) goes before the overflowing character.
    EXPECT_EQ(BuildWrappedText(c, "abcdefghij", w, true), "abcde fghij");
    EXPECT_EQ(BuildWrappedText(c, "ab cd", w, true), "ab cd");
    EXPECT_EQ(BuildWrappedText(c, "", w, true), "");
    Sheet blank(200, 60);
    DrawWrappedText(S.C(), "", Rect(0, 0, 100, 40), true);
    EXPECT_EQ(S.All(), blank.All());
}

TEST_F(TextFunctions, OddFontHeightsMoveUpOnePixel)
{
    for (int h : {-13, -14, 13}) {
        Sheet a(120, 40), b(120, 40);
        for (Sheet* s : {&a, &b}) {
            s->C()->Font()->SetName("DejaVu Sans");
            s->C()->Font()->SetHeight(h);
            s->C()->Font()->SetColor(clBlack);
        }
        EXPECT_EQ(IsOddFontHeight(a.C()), h % 2 != 0);
        DrawSingleLineText(a.C(), "Skin", Rect(2, 5, 118, 35));
        TRect r(2, h % 2 != 0 ? 4 : 5, 118, 35);
        DrawWideText(b.C(), "Skin", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        EXPECT_EQ(a.All(), b.All()) << h;
        EXPECT_FALSE(a.Inked().empty());
    }
}

TEST_F(TextFunctions, AlignedAndClippedTexts)
{
    Sheet left(120, 30), right(120, 30), centred(120, 30), clipped(120, 30);
    for (Sheet* s : {&left, &right, &centred, &clipped}) s->C()->Font()->SetColor(clBlack);
    DrawAlignedText(left.C(), "Hi", Rect(0, 0, 120, 30), taLeftJustify);
    DrawAlignedText(right.C(), "Hi", Rect(0, 0, 120, 30), taRightJustify);
    DrawAlignedText(centred.C(), "Hi", Rect(0, 0, 120, 30), taCenter);
    auto minX = [](Sheet& s) { return s.Inked().begin()->first; };
    auto maxX = [](Sheet& s) {
        int m = 0;
        for (auto& p : s.Inked()) m = std::max(m, p.first);
        return m;
    };
    EXPECT_LT(minX(left), 5);
    EXPECT_GT(maxX(right), 110);
    EXPECT_GT(minX(centred), 40);
    EXPECT_LT(maxX(centred), 80);
    DrawClippedTextIndent(clipped.C(), "Clipped caption", Rect(10, 0, 30, 30), 3);
    for (auto& p : clipped.Inked()) {
        EXPECT_GE(p.first, 15);  // R.Left + Indent + 2
        EXPECT_LT(p.first, 30);
    }
    Sheet blank(120, 30), empty(120, 30);
    DrawCaptionTextCentered(empty.C(), "", Rect(0, 0, 120, 30));
    DrawClippedText(empty.C(), "", Rect(0, 0, 120, 30));
    EXPECT_EQ(empty.All(), blank.All());
}

TEST_F(TextFunctions, GlyphStripsAndCaptions)
{
    // A strip of four 4 x 4 images: red, green, blue, black, on a white bottom-left pixel.
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(16, 4);
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            static_cast<uint32_t*>(strip.ScanLine(y))[x] = (y == 3 && x % 4 == 0) ? 0xFFFFFF : colours[x / 4];
    Sheet s(40, 20);
    DrawGlyph(s.C(), 5, 5, &strip, 4, 2);
    EXPECT_EQ(s.At(6, 6), 0x00FF00u);
    EXPECT_EQ(s.At(5, 8), 0xFFFFFFu);  // the transparent colour is left out
    EXPECT_EQ(s.Inked().size(), 15u);

    Sheet up(60, 30), down(60, 30);
    DrawGlyphAndText(up.C(), Rect(0, 0, 60, 30), -1, 2, blGlyphLeft, "", &strip, 4, 3, false, false, 0);
    DrawGlyphAndText(down.C(), Rect(0, 0, 60, 30), -1, 2, blGlyphLeft, "", &strip, 4, 3, true, false, 0);
    // No caption: the glyph is centred (28, 13) and moves one pixel down and right when down.
    EXPECT_EQ(up.At(29, 14), 0x0000FFu);
    EXPECT_EQ(down.At(30, 15), 0x0000FFu);
    EXPECT_EQ(down.At(28, 13), 0xFFFFFFu);

    Sheet marker(60, 30);
    DrawGlyphAndText(marker.C(), Rect(0, 0, 60, 30), -1, 2, blGlyphLeft, "", nullptr, 1, 1, false, true, clRed);
    EXPECT_EQ(marker.At(4, 4), 0xFF0000u);
    EXPECT_EQ(marker.At(57, 25), 0xFF0000u);
    EXPECT_EQ(marker.At(58, 26), 0xFFFFFFu);
}

TEST_F(TextFunctions, GlowAndReflection)
{
    TbsBitmap target;
    target.SetSize(120, 60);
    target.Clear(0xFFFFFFFF);
    TCanvas* c = target.Canvas();
    c->Font()->SetName("DejaVu Sans");
    c->Font()->SetHeight(-16);
    c->Font()->SetColor(clBlack);
    DrawTextWithGlow(c, Rect(30, 20, 90, 40), "Glow", 4, clRed, 0, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    int tinted = 0, far = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            const TbsColor p = *target.PixelAddress(x, y) & 0x00FFFFFF;
            const bool inGlow = x >= 26 && x < 94 && y >= 16 && y < 44;
            if (!inGlow) far += p != 0xFFFFFF;
            // Glow pixels keep full red and lose green and blue.
            if (inGlow && bsRedOf(p) == 255 && bsGreenOf(p) < 255 && bsGreenOf(p) == bsBlueOf(p)) ++tinted;
        }
    EXPECT_EQ(far, 0);
    EXPECT_GT(tinted, 20);

    TbsBitmap mirror;
    mirror.SetSize(120, 80);
    mirror.Clear(0xFFFFFFFF);
    mirror.Canvas()->Font()->SetName("DejaVu Sans");
    mirror.Canvas()->Font()->SetHeight(-16);
    DrawWideTextWithReflection(mirror.Canvas(), Rect(10, 5, 110, 30), "Echo", clBlue, 0, DT_SINGLELINE);
    int below = 0;
    for (int y = 30; y < 80; ++y)
        for (int x = 0; x < 120; ++x) below += (*mirror.PixelAddress(x, y) & 0x00FFFFFF) != 0xFFFFFF;
    EXPECT_GT(below, 0);

    TbsBitmap box;
    box.SetSize(140, 70);
    box.Clear(0xFFFFFFFF);
    DrawWideTextWithGlowBox(box.Canvas(), Rect(20, 20, 120, 50), "Box", clLime, DT_SINGLELINE | DT_CENTER);
    EXPECT_NE(*box.PixelAddress(70, 35) & 0x00FFFFFF, 0xFFFFFFu);
    EXPECT_EQ(*box.PixelAddress(2, 2), 0xFFFFFFFFu);
}
