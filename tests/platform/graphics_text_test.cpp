// Text: fonts, metrics, TextOut and the DrawText flags, on one fixed font.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/system/SysUtils.h"

namespace {

// A white 32-bit memory DC with the test font selected: DejaVu Sans, 12 pixels.
struct TTextDC {
    HDC DC;
    HBITMAP Bmp;
    HFONT Font;
    PSurface S;
    TTextDC(int W = 200, int H = 100, const char* Face = "DejaVu Sans", int Height = -12)
    {
        BITMAPINFO Bi{};
        Bi.bmiHeader.biWidth = W;
        Bi.bmiHeader.biHeight = -H;
        Bi.bmiHeader.biBitCount = 32;
        void* P;
        Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &P, nullptr, 0);
        DC = CreateCompatibleDC(nullptr);
        SelectObject(DC, Bmp);
        LOGFONT Lf;
        Lf.lfHeight = Height;
        std::strcpy(Lf.lfFaceName, Face);
        Font = CreateFontIndirect(&Lf);
        SelectObject(DC, Font);
        S = GetBitmapSurface(Bmp);
        S->Fill(0xFFFFFFFF);
        SetBkMode(DC, TRANSPARENT);
    }
    ~TTextDC()
    {
        DeleteDC(DC);
        DeleteObject(Bmp);
        DeleteObject(Font);
    }
    int Width(const char* T)
    {
        SIZE Sz;
        GetTextExtentPoint32(DC, T, -1, &Sz);
        return Sz.cx;
    }
    int LineHeight()
    {
        TEXTMETRIC Tm;
        GetTextMetrics(DC, &Tm);
        return Tm.tmHeight;
    }
    // Bounding box of pixels that are not white.
    TRect Ink() const
    {
        TRect B(S->Width(), S->Height(), 0, 0);
        for (int y = 0; y < S->Height(); ++y)
            for (int x = 0; x < S->Width(); ++x)
                if ((S->GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    B.Left = std::min(B.Left, x);
                    B.Top = std::min(B.Top, y);
                    B.Right = std::max(B.Right, x + 1);
                    B.Bottom = std::max(B.Bottom, y + 1);
                }
        return B;
    }
    int InkCount(const TRect& R) const
    {
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) N += (S->GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return N;
    }
};

}  // namespace

TEST(GraphicsText, MetricsAreWholePixelsAndStable)
{
    TTextDC T;
    TEXTMETRIC Tm;
    ASSERT_TRUE(GetTextMetrics(T.DC, &Tm));
    EXPECT_EQ(Tm.tmHeight, Tm.tmAscent + Tm.tmDescent);
    EXPECT_GE(Tm.tmHeight, 12);
    EXPECT_LE(Tm.tmHeight, 16);
    EXPECT_GT(Tm.tmAveCharWidth, 3);
    // A positive height asks for that cell height exactly.
    TTextDC C(50, 50, "DejaVu Sans", 13);
    EXPECT_EQ(C.LineHeight(), 13);
    // Widths add up and do not depend on earlier calls.
    int Ab = T.Width("ab");
    EXPECT_EQ(T.Width("ab"), Ab);
    EXPECT_EQ(T.Width(""), 0);
    EXPECT_GT(T.Width("abc"), Ab);
}

TEST(GraphicsText, WindowsFaceNamesResolveToFacesWithChineseGlyphs)
{
    for (const char* Face : {"Tahoma", "宋体", "MS Sans Serif", "Arial", "No Such Font"}) {
        TTextDC T(120, 40, Face, -14);
        TextOut(T.DC, 2, 2, "中文", -1);
        TRect Ink = T.Ink();
        EXPECT_GT(Ink.Width(), 16) << Face;
        EXPECT_GT(T.InkCount(Ink), 40) << Face;
        // Two different characters give different pictures (no replacement boxes).
        TTextDC A(40, 40, Face, -14), B(40, 40, Face, -14);
        TextOut(A.DC, 2, 2, "中", -1);
        TextOut(B.DC, 2, 2, "文", -1);
        int Diff = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) Diff += A.S->GetPixel(x, y) != B.S->GetPixel(x, y);
        EXPECT_GT(Diff, 20) << Face;
    }
}

TEST(GraphicsText, TextWritesAlphaZeroAndHonoursTheClip)
{
    TTextDC T;
    SetTextColor(T.DC, RGB(255, 0, 0));
    IntersectClipRect(T.DC, 0, 0, 8, 100);
    TextOut(T.DC, 0, 0, "MMMM", -1);
    TRect Ink = T.Ink();
    EXPECT_LE(Ink.Right, 8);
    EXPECT_GT(T.InkCount(Ink), 0);
    for (int y = Ink.Top; y < Ink.Bottom; ++y)
        for (int x = Ink.Left; x < Ink.Right; ++x) {
            uint32_t P = T.S->GetPixel(x, y);
            if ((P & 0xFFFFFF) != 0xFFFFFF) {
                EXPECT_EQ(P >> 24, 0u);
                EXPECT_EQ((P >> 16) & 0xFF, 0xFFu);   // red stays full: only green and blue fall
            }
        }
    // An opaque background fills the text cell.
    TTextDC O;
    SetBkMode(O.DC, OPAQUE);
    SetBkColor(O.DC, RGB(0, 0, 255));
    TextOut(O.DC, 10, 10, "x", -1);
    EXPECT_EQ(O.S->GetPixel(10, 10), 0x000000FFu);
    EXPECT_EQ(O.S->GetPixel(10 + O.Width("x") - 1, 10 + O.LineHeight() - 1), 0x000000FFu);
    EXPECT_EQ(O.S->GetPixel(10 + O.Width("x"), 10), 0xFFFFFFFFu);
}

TEST(GraphicsText, DrawTextFlagTable)
{
    TTextDC T;
    const int H = T.LineHeight();
    const int WordW = T.Width("word");
    struct TCase {
        const char* Name;
        const char* Text;
        UINT Flags;
        TRect In;
        int Height;      // the result
        TRect Out;       // the rectangle after DT_CALCRECT
    };
    const int Sp = T.Width(" ");
    TCase Cases[] = {
        {"single line", "word", DT_SINGLELINE | DT_CALCRECT, {5, 5, 5, 5}, H, {5, 5, 5 + WordW, 5 + H}},
        {"empty text", "", DT_CALCRECT, {0, 0, 50, 0}, H, {0, 0, 0, H}},
        {"lines by breaks", "word\nword\r\nword\n\rword", DT_CALCRECT, {0, 0, 0, 0}, 4 * H, {0, 0, WordW, 4 * H}},
        {"single line ignores breaks", "word\nword", DT_SINGLELINE | DT_CALCRECT, {0, 0, 0, 0}, H,
         {0, 0, 2 * WordW, H}},
        {"word break grows the bottom", "word word word", DT_WORDBREAK | DT_CALCRECT,
         {0, 0, 2 * WordW + Sp, 0}, 2 * H, {0, 0, 2 * WordW + Sp, 2 * H}},
        {"word break narrows to the text", "word word", DT_WORDBREAK | DT_CALCRECT, {0, 0, 500, 0}, H,
         {0, 0, 2 * WordW + Sp, H}},
        {"a long word widens the rectangle", "wordword", DT_WORDBREAK | DT_CALCRECT, {0, 0, 10, 0}, H,
         {0, 0, 2 * WordW, H}},
        {"prefix", "&word", DT_SINGLELINE | DT_CALCRECT, {0, 0, 0, 0}, H, {0, 0, WordW, H}},
        {"hidden prefix", "wo&rd", DT_SINGLELINE | DT_HIDEPREFIX | DT_CALCRECT, {0, 0, 0, 0}, H, {0, 0, WordW, H}},
        {"vcentre result", "word", DT_SINGLELINE | DT_VCENTER | DT_CALCRECT, {0, 0, 0, 40}, (40 - H) / 2 + H,
         {0, 0, WordW, H}},
        {"bottom result", "word", DT_SINGLELINE | DT_BOTTOM | DT_CALCRECT, {0, 0, 0, 40}, 40, {0, 0, WordW, H}},
        {"vcentre needs single line", "word", DT_VCENTER | DT_CALCRECT, {0, 0, 0, 40}, H, {0, 0, WordW, H}},
    };
    for (const TCase& C : Cases) {
        RECT R = C.In;
        EXPECT_EQ(DrawText(T.DC, C.Text, -1, &R, C.Flags), C.Height) << C.Name;
        EXPECT_EQ(R, C.Out) << C.Name;
    }
    // Double ampersands give one; without prefix processing both stay.
    RECT R{0, 0, 0, 0};
    DrawText(T.DC, "a&&b", -1, &R, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(R.Right, T.Width("a&b"));
    R = TRect();
    DrawText(T.DC, "a&&b", -1, &R, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(R.Right, T.Width("a&&b"));
    // Expanded tabs go to multiples of eight average characters.
    TEXTMETRIC Tm;
    GetTextMetrics(T.DC, &Tm);
    R = TRect();
    DrawText(T.DC, "a\tb", -1, &R, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(R.Right, 8 * Tm.tmAveCharWidth + T.Width("b"));
    // A byte count limits the text.
    R = TRect();
    DrawText(T.DC, "wordword", 4, &R, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(R.Right, WordW);
}

TEST(GraphicsText, EllipsesFitTheRectangle)
{
    TTextDC T(300, 40);
    const char* Long = "The quick brown fox jumps over the lazy dog";
    const int W = 100;
    RECT R{0, 0, W, 20};
    DrawText(T.DC, Long, -1, &R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(R.Right, W);
    EXPECT_GT(R.Right, W - T.Width("...") - T.Width("W"));
    R = TRect(0, 0, W, 20);
    DrawText(T.DC, Long, -1, &R, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(T.Ink().Right, W);
    // Path ellipsis keeps the last part of the path.
    const char* Path = "/home/user/videos/holiday/clip.avi";
    int Tail = T.Width("/clip.avi");
    R = TRect(0, 0, Tail + T.Width("/home...") + 1, 20);
    DrawText(T.DC, Path, -1, &R, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(R.Right, T.Width("/home...") + Tail);
    // A text that fits keeps its width.
    R = TRect(0, 0, 500, 20);
    DrawText(T.DC, Long, -1, &R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(R.Right, T.Width(Long));
}

TEST(GraphicsText, AlignmentAndPrefixUnderline)
{
    struct { UINT Flag; int Left; } Cases[] = {{DT_LEFT, 0}, {DT_CENTER, 1}, {DT_RIGHT, 2}};
    int Lefts[3];
    for (auto& C : Cases) {
        TTextDC T(200, 30);
        RECT R{0, 0, 200, 30};
        DrawText(T.DC, "l", -1, &R, DT_SINGLELINE | C.Flag);
        Lefts[C.Left] = T.Ink().Left;
    }
    EXPECT_LT(Lefts[0], 5);
    EXPECT_NEAR(Lefts[1], 100, 5);
    EXPECT_GT(Lefts[2], 193);
    // "&" underlines the next character: more ink below the baseline than without.
    TTextDC A(100, 30), B(100, 30);
    RECT R{0, 0, 100, 30};
    DrawText(A.DC, "&n", -1, &R, DT_SINGLELINE);
    DrawText(B.DC, "&n", -1, &R, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_GT(A.InkCount(TRect(0, 0, 100, 30)), B.InkCount(TRect(0, 0, 100, 30)));
    EXPECT_GT(A.Ink().Bottom, B.Ink().Bottom);
    // Vertical centring in a single line.
    TTextDC V(100, 60);
    R = TRect(0, 0, 100, 60);
    DrawText(V.DC, "x", -1, &R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    TRect Ink = V.Ink();
    EXPECT_NEAR((Ink.Top + Ink.Bottom) / 2, 30, 4);
}

TEST(GraphicsText, DrawTextClipsToItsRectangleUnlessNoClip)
{
    TTextDC T(200, 30);
    RECT R{0, 0, 10, 30};
    DrawText(T.DC, "MMMMMM", -1, &R, DT_SINGLELINE);
    EXPECT_LE(T.Ink().Right, 10);
    TTextDC N(200, 30);
    DrawText(N.DC, "MMMMMM", -1, &R, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(N.Ink().Right, 20);
}

TEST(GraphicsText, TabbedTextOutAndExtents)
{
    TTextDC T(300, 30);
    int Tabs[] = {50, 120};
    LONG R = TabbedTextOut(T.DC, 0, 0, "a\tb\tc", -1, 2, Tabs, 0);
    EXPECT_EQ(R >> 16, T.LineHeight());
    EXPECT_EQ(R & 0xFFFF, 120 + T.Width("c"));
    DWORD E = GetTabbedTextExtent(T.DC, "a\tb", -1, 1, Tabs);
    EXPECT_EQ(E & 0xFFFF, uint32_t(50 + T.Width("b")));
    // The tab origin shifts the stops.
    T.S->Fill(0xFFFFFFFF);
    TabbedTextOut(T.DC, 10, 0, "\tl", -1, 1, Tabs, 10);
    EXPECT_GE(T.Ink().Left, 60);
}

TEST(GraphicsText, BadTextDoesNotCrash)
{
    TTextDC T;
    const char Bad[] = {'a', char(0xC3), char(0x28), char(0xFF), 'b', 0};
    RECT R{0, 0, 100, 100};
    EXPECT_GT(DrawText(T.DC, Bad, -1, &R, DT_WORDBREAK), 0);
    EXPECT_TRUE(TextOut(T.DC, 0, 0, Bad, -1));
    EXPECT_TRUE(TextOut(T.DC, 0, 0, "a\r\n\tb", -1));
    EXPECT_EQ(DrawText(nullptr, "x", -1, &R, 0), 0);
    EXPECT_EQ(DrawText(T.DC, "x", -1, nullptr, 0), 0);
    EXPECT_TRUE(TextOut(T.DC, 0, 0, nullptr, 0));
}

TEST(GraphicsText, RightToLeftReadingSetsTheBaseDirection)
{
    // The leftmost inked column shows which end of the line comes first: a letter reaches
    // well above the baseline, the dots sit on it.  Without DT_RTLREADING a line reads left
    // to right even when its letters are Hebrew (the base direction is not guessed), and a
    // right-to-left line leaves no trace on the next one.
    struct {
        const char* Text;
        UINT Flags;
        bool DotsFirst;
    } Cases[] = {
        {"H...", 0, false},
        {"H...", DT_RTLREADING, true},
        {"H...", 0, false},
        {"\u05D0\u05D1...", 0, false},
        {"\u05D0\u05D1...", DT_RTLREADING, true},
    };
    for (auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Text) + (C.Flags ? " rtl" : " ltr"));
        TTextDC T(200, 40, "DejaVu Sans", -20);
        RECT R{0, 0, 200, 40};
        DrawText(T.DC, C.Text, -1, &R, DT_SINGLELINE | DT_LEFT | C.Flags);
        TRect Ink = T.Ink();
        ASSERT_FALSE(Ink.IsEmpty());
        int Top = Ink.Bottom;
        for (int y = Ink.Top; y < Ink.Bottom && Top == Ink.Bottom; ++y)
            if (T.InkCount(TRect(Ink.Left, y, Ink.Left + 2, y + 1))) Top = y;
        EXPECT_EQ(Top > Ink.Top + Ink.Height() / 2, C.DotsFirst);
        // the reading order moves no text: a left-aligned line still starts at the left
        EXPECT_LT(Ink.Left, 5);
    }
}

// The extents of every prefix come from one layout of the whole line.  They agree with
// measuring each prefix alone, except that in the line a character is moved toward the
// one after it by their pair's kerning, which a prefix alone cannot know: there the
// extent is the prefix alone plus that kerning (the pair's width less its two letters').
// A combining accent adds nothing past its letter, right-to-left letters are measured in
// reading order as their prefixes are, and the last extent is the line's width.
TEST(GraphicsText, PrefixExtentsMatchMeasuringEachPrefix)
{
    struct {
        const char* Text;
        bool Kerned;
    } Cases[] = {
        {"Converting clip 3 of 19: 42%", false},
        {"AVAV To Wa", true},
        {"视频转换 完成", false},
        {"cafe\u0301 ok", false},
        {"a\tb\tc", false},
        {"\u05D0\u05D1\u05D2 abc", false},
        {"x", false},
        {"", false},
    };
    TTextDC T;
    auto W = [&](std::u32string_view S) { return T.Width(Utf32ToUtf8(S).c_str()); };
    for (auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        std::u32string U = Utf8ToUtf32(C.Text);
        std::vector<int> Dx(U.size() + 1, -7);
        SIZE Whole{-1, -1};
        int Fit = -1;
        ASSERT_TRUE(GetTextExtentExPoint(T.DC, C.Text, -1, 1 << 20, &Fit, Dx.data(), &Whole));
        EXPECT_EQ(Fit, int(U.size()));
        EXPECT_EQ(Dx[U.size()], -7) << "one entry per character, none past them";
        EXPECT_EQ(Whole.cx, T.Width(C.Text));
        EXPECT_EQ(Whole.cy, T.LineHeight());
        int Kerning = 0;
        for (size_t I = 0; I < U.size(); ++I) {
            int Expected = W(std::u32string_view(U).substr(0, I + 1));
            if (C.Kerned && I + 1 < U.size()) {
                int Pair = W(std::u32string_view(U).substr(I, 2)) - W(U.substr(I, 1)) - W(U.substr(I + 1, 1));
                Expected += Pair;
                Kerning += Pair != 0;
            }
            EXPECT_EQ(Dx[I], Expected) << "prefix of " << I + 1;
            if (I > 0) {
                EXPECT_GE(Dx[I], Dx[I - 1]);
            }
        }
        if (C.Kerned) {
            EXPECT_GT(Kerning, 2) << "the font kerns these pairs";
        }
    }
    // The fit counts the characters within the extent given.
    int Dx[8], Fit = -1;
    ASSERT_TRUE(GetTextExtentExPoint(T.DC, "AVAV To", -1, 0, &Fit, Dx, nullptr));
    EXPECT_EQ(Fit, 0);
    ASSERT_TRUE(GetTextExtentExPoint(T.DC, "AVAV To", -1, Dx[2], &Fit, nullptr, nullptr));
    EXPECT_EQ(Fit, 3);
    EXPECT_FALSE(GetTextExtentExPoint(nullptr, "x", -1, 0, &Fit, Dx, nullptr));
}
