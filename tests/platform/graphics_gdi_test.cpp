// Device contexts, fills, lines, block transfers and the alpha rule, pixel by pixel.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/graphics/Gdi.h"

namespace {

// A memory DC with a zero-filled DIB section selected.
struct TMemDC {
    HDC DC = nullptr;
    HBITMAP Bmp = nullptr, Old = nullptr;
    uint8_t* Bits = nullptr;
    int W, H, Bpp;
    TMemDC(int AW, int AH, int ABpp = 32, bool BottomUp = false) : W(AW), H(AH), Bpp(ABpp)
    {
        BITMAPINFO Bi{};
        Bi.bmiHeader.biWidth = W;
        Bi.bmiHeader.biHeight = BottomUp ? H : -H;
        Bi.bmiHeader.biBitCount = WORD(Bpp);
        void* P = nullptr;
        Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &P, nullptr, 0);
        Bits = static_cast<uint8_t*>(P);
        DC = CreateCompatibleDC(nullptr);
        Old = static_cast<HBITMAP>(SelectObject(DC, Bmp));
    }
    ~TMemDC()
    {
        SelectObject(DC, Old);
        DeleteDC(DC);
        DeleteObject(Bmp);
    }
    PSurface Surface() const { return GetBitmapSurface(Bmp); }
    // 0xAARRGGBB of a pixel.
    uint32_t Px(int X, int Y) const { return Surface()->GetPixel(X, Y); }
    void Fill(uint32_t V) { Surface()->Fill(V); }
    // Rows of characters: '#' where the pixel's colour equals C, '.' elsewhere.
    std::string Picture(uint32_t C, int X0 = 0, int Y0 = 0, int X1 = -1, int Y1 = -1) const
    {
        if (X1 < 0) X1 = W;
        if (Y1 < 0) Y1 = H;
        std::string S;
        for (int y = Y0; y < Y1; ++y) {
            for (int x = X0; x < X1; ++x) S += (Px(x, y) & 0xFFFFFF) == C ? '#' : '.';
            S += '\n';
        }
        return S;
    }
};

constexpr uint32_t Red = 0xFF0000, Blue = 0x0000FF;   // as pixel values 0x00RRGGBB

}  // namespace

TEST(GraphicsSurface, DibSectionIsTheSurface)
{
    TMemDC M(5, 3);
    ASSERT_NE(M.Bits, nullptr);
    EXPECT_EQ(M.Surface()->Bits(), M.Bits);
    for (int i = 0; i < 5 * 3 * 4; ++i) EXPECT_EQ(M.Bits[i], 0);
    DIBSECTION Ds;
    ASSERT_EQ(GetObject(M.Bmp, sizeof Ds, &Ds), int(sizeof Ds));
    EXPECT_EQ(Ds.dsBm.bmBits, M.Bits);
    EXPECT_EQ(Ds.dsBmih.biHeight, -3);
    EXPECT_EQ(Ds.dsBmih.biBitCount, 32);
    EXPECT_EQ(GetCurrentObject(M.DC, OBJ_BITMAP), M.Bmp);
    BITMAP Bm;
    ASSERT_EQ(GetObject(M.Bmp, sizeof Bm, &Bm), int(sizeof Bm));
    EXPECT_EQ(Bm.bmWidth, 5);
    EXPECT_EQ(Bm.bmHeight, 3);

    // A 24-bit DIB has rows padded to 4 bytes; a compatible bitmap is not a DIB section.
    TMemDC M24(5, 2, 24);
    EXPECT_EQ(M24.Surface()->Stride(), 16);
    HBITMAP C = CreateCompatibleBitmap(M.DC, 4, 4);
    EXPECT_EQ(GetObject(C, sizeof Ds, &Ds), int(sizeof(BITMAP)));
    DeleteObject(C);

    BITMAPINFO Bad{};
    Bad.bmiHeader.biWidth = 4;
    Bad.bmiHeader.biHeight = 4;
    Bad.bmiHeader.biBitCount = 8;
    void* P = nullptr;
    EXPECT_EQ(CreateDIBSection(nullptr, &Bad, DIB_RGB_COLORS, &P, nullptr, 0), nullptr);
    EXPECT_EQ(P, nullptr);
}

TEST(GraphicsGdi, FillsWriteAlphaZeroBlitsCopyFourBytes)
{
    TMemDC M(4, 4);
    M.Fill(0xFF123456);
    HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
    RECT R{0, 0, 2, 2};
    FillRect(M.DC, &R, B);
    EXPECT_EQ(M.Px(0, 0), 0x00FF0000u);   // red with alpha 0
    EXPECT_EQ(M.Px(2, 2), 0xFF123456u);

    TMemDC Src(2, 2);
    Src.Fill(0x80ABCDEF);
    BitBlt(M.DC, 2, 2, 2, 2, Src.DC, 0, 0, SRCCOPY);
    EXPECT_EQ(M.Px(3, 3), 0x80ABCDEFu);

    // Each primitive leaves alpha 0 where it draws.
    struct { const char* Name; std::function<void(HDC)> Draw; int X, Y; } Cases[] = {
        {"LineTo", [](HDC D) { MoveToEx(D, 0, 1, nullptr); LineTo(D, 4, 1); }, 1, 1},
        {"Rectangle", [](HDC D) { Rectangle(D, 0, 0, 4, 4); }, 0, 0},
        {"Ellipse", [](HDC D) { Ellipse(D, 0, 0, 4, 4); }, 1, 1},
        {"SetPixel", [](HDC D) { SetPixel(D, 2, 2, RGB(1, 2, 3)); }, 2, 2},
    };
    for (auto& C : Cases) {
        M.Fill(0xFF000000);
        C.Draw(M.DC);
        EXPECT_EQ(M.Px(C.X, C.Y) >> 24, 0u) << C.Name;
    }
    DeleteObject(B);
}

TEST(GraphicsGdi, LinesExcludeTheirEndPoint)
{
    TMemDC M(6, 6);
    HPEN P = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(M.DC, P);
    MoveToEx(M.DC, 1, 1, nullptr);
    LineTo(M.DC, 4, 1);
    LineTo(M.DC, 4, 4);
    POINT Cur;
    GetCurrentPositionEx(M.DC, &Cur);
    EXPECT_EQ(Cur, TPoint(4, 4));
    EXPECT_EQ(M.Picture(Red),
              "......\n"
              ".####.\n"
              "....#.\n"
              "....#.\n"
              "......\n"
              "......\n");
    M.Fill(0);
    POINT Pts[] = {{0, 0}, {3, 3}, {3, 5}};
    Polyline(M.DC, Pts, 3);
    EXPECT_EQ(M.Picture(Red),
              "#.....\n"
              ".#....\n"
              "..#...\n"
              "...#..\n"
              "...#..\n"
              "......\n");
    SelectObject(M.DC, GetStockObject(BLACK_PEN));
    DeleteObject(P);
}

TEST(GraphicsGdi, RectangleExcludesRightAndBottom)
{
    TMemDC M(6, 6);
    HPEN P = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH B = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(M.DC, P);
    SelectObject(M.DC, B);
    Rectangle(M.DC, 1, 1, 5, 5);
    EXPECT_EQ(M.Picture(Red),
              "......\n"
              ".####.\n"
              ".#..#.\n"
              ".#..#.\n"
              ".####.\n"
              "......\n");
    EXPECT_EQ(M.Picture(Blue, 2, 2, 4, 4), "##\n##\n");
    // With the null pen the fill is one pixel smaller at the right and bottom.
    M.Fill(0);
    SelectObject(M.DC, GetStockObject(NULL_PEN));
    Rectangle(M.DC, 1, 1, 5, 5);
    EXPECT_EQ(M.Picture(Blue),
              "......\n"
              ".###..\n"
              ".###..\n"
              ".###..\n"
              "......\n"
              "......\n");
    // A null brush leaves the inside alone.
    M.Fill(0);
    SelectObject(M.DC, P);
    SelectObject(M.DC, GetStockObject(NULL_BRUSH));
    Rectangle(M.DC, 0, 0, 3, 3);
    EXPECT_EQ(M.Px(1, 1), 0u);
    // FrameRect draws one brush-coloured pixel frame.
    M.Fill(0);
    RECT R{0, 0, 4, 3};
    FrameRect(M.DC, &R, B);
    EXPECT_EQ(M.Picture(Blue, 0, 0, 5, 4), "####.\n#..#.\n####.\n.....\n");
    SelectObject(M.DC, GetStockObject(BLACK_PEN));
    SelectObject(M.DC, GetStockObject(WHITE_BRUSH));
    DeleteObject(P);
    DeleteObject(B);
}

TEST(GraphicsGdi, DottedPenAndFocusRect)
{
    TMemDC M(12, 3);
    HPEN P = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
    SelectObject(M.DC, P);
    SetBkMode(M.DC, TRANSPARENT);
    MoveToEx(M.DC, 0, 0, nullptr);
    LineTo(M.DC, 12, 0);
    EXPECT_EQ(M.Picture(Red, 0, 0, 12, 1), "###...###...\n");
    SelectObject(M.DC, GetStockObject(BLACK_PEN));
    DeleteObject(P);

    // The focus rectangle inverts every other frame pixel; drawing it twice restores.
    TMemDC F(5, 4);
    F.Fill(0xFF000000);
    RECT R{0, 0, 5, 4};
    DrawFocusRect(F.DC, &R);
    EXPECT_EQ(F.Picture(0xFFFFFF),
              "#.#.#\n"
              ".....\n"
              "#...#\n"
              ".#.#.\n");
    DrawFocusRect(F.DC, &R);
    EXPECT_EQ(F.Picture(0xFFFFFF), ".....\n.....\n.....\n.....\n");
    EXPECT_EQ(F.Px(0, 0), 0xFF000000u);
}

TEST(GraphicsGdi, EllipseAndPolygonStayInTheirBox)
{
    TMemDC M(10, 10);
    HPEN P = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH B = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(M.DC, P);
    SelectObject(M.DC, B);
    Ellipse(M.DC, 1, 1, 9, 7);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool In = x >= 1 && x < 9 && y >= 1 && y < 7;
            if (!In) {
                EXPECT_EQ(M.Px(x, y), 0u) << x << "," << y;
            }
        }
    EXPECT_EQ(M.Px(5, 4) & 0xFFFFFF, Blue);     // centre filled
    EXPECT_EQ(M.Px(1, 4) & 0xFFFFFF, Red);      // left edge outlined
    EXPECT_EQ(M.Px(1, 1), 0u);                   // corner outside
    // Symmetric left to right and top to bottom.
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 9; ++x) EXPECT_EQ(M.Px(x, y), M.Px(9 - x, y)) << x << "," << y;

    M.Fill(0);
    POINT Tri[] = {{0, 0}, {8, 0}, {0, 8}};
    SelectObject(M.DC, GetStockObject(NULL_PEN));
    Polygon(M.DC, Tri, 3);
    EXPECT_EQ(M.Px(0, 0) & 0xFFFFFF, Blue);
    EXPECT_EQ(M.Px(3, 3) & 0xFFFFFF, Blue);
    EXPECT_EQ(M.Px(5, 5), 0u);
    EXPECT_EQ(M.Px(8, 0), 0u);
    SelectObject(M.DC, GetStockObject(BLACK_PEN));
    SelectObject(M.DC, GetStockObject(WHITE_BRUSH));
    DeleteObject(P);
    DeleteObject(B);
}

TEST(GraphicsGdi, OriginsClipsAndSavedStatesNest)
{
    TMemDC M(10, 10);
    HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
    RECT All{-100, -100, 100, 100};
    int S1 = SaveDC(M.DC);
    SetViewportOrgEx(M.DC, 2, 3, nullptr);
    IntersectClipRect(M.DC, 0, 0, 4, 2);    // device 2..6 x 3..5
    int S2 = SaveDC(M.DC);
    SetViewportOrgEx(M.DC, 4, 3, nullptr);
    IntersectClipRect(M.DC, 1, 0, 10, 10);  // device 5.. x 3..: combined 5..6 x 3..5
    FillRect(M.DC, &All, B);
    EXPECT_EQ(M.Picture(Red, 0, 0, 8, 6),
              "........\n"
              "........\n"
              "........\n"
              ".....#..\n"
              ".....#..\n"
              "........\n");
    RECT Box;
    EXPECT_EQ(GetClipBox(M.DC, &Box), SIMPLEREGION);
    EXPECT_EQ(Box, TRect(1, 0, 2, 2));      // logical coordinates
    EXPECT_TRUE(RestoreDC(M.DC, S2));
    M.Fill(0);
    FillRect(M.DC, &All, B);
    EXPECT_EQ(M.Picture(Red, 0, 0, 8, 6),
              "........\n"
              "........\n"
              "........\n"
              "..####..\n"
              "..####..\n"
              "........\n");
    EXPECT_TRUE(RestoreDC(M.DC, S1));
    POINT Org;
    GetViewportOrgEx(M.DC, &Org);
    EXPECT_EQ(Org, TPoint(0, 0));
    EXPECT_FALSE(RestoreDC(M.DC, 1));       // nothing saved any more

    // The window origin moves the other way; ExcludeClipRect cuts a hole.
    M.Fill(0);
    SetWindowOrgEx(M.DC, 1, 1, nullptr);
    ExcludeClipRect(M.DC, 2, 2, 4, 4);      // device 1..3 x 1..3
    RECT R{1, 1, 5, 5};                     // device 0..4
    FillRect(M.DC, &R, B);
    EXPECT_EQ(M.Picture(Red, 0, 0, 5, 5),
              "####.\n"
              "#..#.\n"
              "#..#.\n"
              "####.\n"
              ".....\n");
    POINT W;
    GetWindowOrgEx(M.DC, &W);
    EXPECT_EQ(W, TPoint(1, 1));
    // A clip region in device coordinates; then removed.
    SetWindowOrgEx(M.DC, 0, 0, nullptr);
    HRGN Rgn = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(SelectClipRgn(M.DC, Rgn), SIMPLEREGION);
    HRGN Got = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(M.DC, Got), 1);
    EXPECT_TRUE(EqualRgn(Rgn, Got));
    SelectClipRgn(M.DC, nullptr);
    EXPECT_EQ(GetClipRgn(M.DC, Got), 0);
    DeleteObject(Rgn);
    DeleteObject(Got);
    DeleteObject(B);
}

TEST(GraphicsGdi, SurfaceDCMapsOriginAndVisibleRegion)
{
    // What the window layer does: a DC over a part of a back buffer.
    auto Back = std::make_shared<TSurface>(10, 10);
    TRegion Visible = TRegion(TRect(3, 2, 8, 7)) - TRegion(TRect(5, 4, 8, 7));
    HDC DC = CreateSurfaceDC(Back, {3, 2}, Visible, {5, 5});
    ASSERT_TRUE(IsValidDC(DC));
    HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
    RECT All{-50, -50, 50, 50};
    FillRect(DC, &All, B);
    std::string S;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 9; ++x) S += Back->GetPixel(x, y) ? '#' : '.';
        S += '\n';
    }
    EXPECT_EQ(S,
              ".........\n"
              ".........\n"
              "...#####.\n"
              "...#####.\n"
              "...##....\n"
              "...##....\n"
              "...##....\n"
              ".........\n");
    RECT Box;
    GetClipBox(DC, &Box);
    EXPECT_EQ(Box, TRect(0, 0, 5, 5));
    EXPECT_EQ(GetDCSurface(DC), Back);
    EXPECT_EQ(GetDCSurfaceOrigin(DC), TPoint(3, 2));

    // Reading from it reads the back buffer, whatever the visible region.
    Back->SetPixel(7, 6, 0xFF00FF00);
    EXPECT_EQ(GetPixel(DC, 4, 4), CLR_INVALID);   // outside the visible region
    TMemDC M(2, 2);
    BitBlt(M.DC, 0, 0, 2, 2, DC, 3, 3, SRCCOPY);
    EXPECT_EQ(M.Px(1, 1), 0xFF00FF00u);

    // Moving and re-clipping the DC.
    SetSurfaceDCOrigin(DC, {0, 0});
    SetSurfaceDCVisible(DC, TRegion(TRect(0, 0, 1, 1)));
    Back->Fill(0);
    FillRect(DC, &All, B);
    EXPECT_EQ(Back->GetPixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(Back->GetPixel(1, 0), 0u);
    SetDCUserData(DC, &S);
    EXPECT_EQ(GetDCUserData(DC), &S);
    EXPECT_TRUE(DeleteDC(DC));
    EXPECT_FALSE(IsValidDC(DC));
    EXPECT_FALSE(DeleteDC(DC));
    DeleteObject(B);
}

TEST(GraphicsBlit, TransferTable)
{
    // Source 4 x 2: distinct pixels with distinct alphas.
    TMemDC Src(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) Src.Surface()->SetPixel(x, y, 0x10000000u * (x + 1) + 0x10 * y + x);
    auto P = [](int x, int y) { return 0x10000000u * (x + 1) + 0x10 * y + x; };

    struct TCase {
        const char* Name;
        std::function<void(HDC, HDC)> Run;
        std::vector<std::pair<TPoint, uint32_t>> Expect;
    };
    std::vector<TCase> Cases = {
        {"copy", [](HDC D, HDC S) { BitBlt(D, 1, 1, 2, 2, S, 1, 0, SRCCOPY); },
         {{{1, 1}, P(1, 0)}, {{2, 2}, P(2, 1)}, {{0, 0}, 0}, {{3, 1}, 0}}},
        {"source outside", [](HDC D, HDC S) { BitBlt(D, 0, 0, 3, 1, S, 2, 0, SRCCOPY); },
         {{{0, 0}, P(2, 0)}, {{1, 0}, P(3, 0)}, {{2, 0}, 0}}},
        {"stretch x2", [](HDC D, HDC S) { StretchBlt(D, 0, 0, 8, 4, S, 0, 0, 4, 2, SRCCOPY); },
         {{{0, 0}, P(0, 0)}, {{1, 1}, P(0, 0)}, {{2, 0}, P(1, 0)}, {{7, 3}, P(3, 1)}}},
        {"shrink", [](HDC D, HDC S) { StretchBlt(D, 0, 0, 2, 1, S, 0, 0, 4, 2, SRCCOPY); },
         {{{0, 0}, P(1, 1)}, {{1, 0}, P(3, 1)}}},
        {"mirror x", [](HDC D, HDC S) { StretchBlt(D, 4, 0, -4, 1, S, 0, 0, 4, 1, SRCCOPY); },
         {{{0, 0}, P(3, 0)}, {{3, 0}, P(0, 0)}}},
        {"mirror both", [](HDC D, HDC S) { StretchBlt(D, 4, 0, -4, 1, S, 4, 0, -4, 1, SRCCOPY); },
         {{{0, 0}, P(0, 0)}, {{3, 0}, P(3, 0)}}},
        // extents far beyond the surface cost only the pixels written and do not overflow
        {"huge extent", [](HDC D, HDC S) { StretchBlt(D, 0, 0, INT32_MAX, 4, S, 0, 0, 4, 2, SRCCOPY); },
         {{{0, 0}, P(0, 0)}, {{7, 3}, P(0, 1)}}},
        {"far origin", [](HDC D, HDC S) { StretchBlt(D, -(1 << 30), 0, (1 << 30) + 8, 4, S, 0, 0, 4, 2, SRCCOPY); },
         {{{0, 0}, P(3, 0)}, {{7, 3}, P(3, 1)}}},
        {"huge mirror", [](HDC D, HDC S) { StretchBlt(D, 8, 0, -INT32_MAX, 1, S, 0, 0, 4, 1, SRCCOPY); },
         {{{7, 0}, P(0, 0)}, {{0, 1}, 0}}},
        {"key", [](HDC D, HDC S) { TransparentBlt(D, 0, 0, 4, 1, S, 0, 0, 4, 1, RGB(0, 0, 0x01)); },
         {{{0, 0}, P(0, 0)}, {{1, 0}, 0xEEEEEEEEu}, {{2, 0}, P(2, 0)}}},
        {"rop other than copy", [](HDC D, HDC S) { EXPECT_FALSE(BitBlt(D, 0, 0, 1, 1, S, 0, 0, 0x00EE0086)); },
         {{{0, 0}, 0xEEEEEEEEu}}},
    };
    for (auto& C : Cases) {
        TMemDC Dst(8, 4);
        if (std::string(C.Name) == "key" || std::string(C.Name) == "rop other than copy") {
            Dst.Fill(0xEEEEEEEE);
        }
        C.Run(Dst.DC, Src.DC);
        for (auto& [Pt, V] : C.Expect) EXPECT_EQ(Dst.Px(Pt.X, Pt.Y), V) << C.Name << " at " << Pt.X << "," << Pt.Y;
    }
}

TEST(GraphicsBlit, OverlappingCopyWithinOneSurface)
{
    TMemDC M(6, 1);
    for (int x = 0; x < 6; ++x) M.Surface()->SetPixel(x, 0, uint32_t(x + 1));
    BitBlt(M.DC, 1, 0, 5, 1, M.DC, 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(M.Px(x, 0), uint32_t(x)) << x;
}

TEST(GraphicsBlit, AlphaBlendRule)
{
    TMemDC Dst(3, 1), Src(3, 1);
    Dst.Fill(0xFF000064);                  // blue 100, opaque
    Src.Surface()->SetPixel(0, 0, 0xFF0000C8);   // opaque
    Src.Surface()->SetPixel(1, 0, 0x00000000);   // transparent
    Src.Surface()->SetPixel(2, 0, 0x80000040);   // premultiplied half
    BLENDFUNCTION Bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(Dst.DC, 0, 0, 3, 1, Src.DC, 0, 0, 3, 1, Bf));
    EXPECT_EQ(Dst.Px(0, 0), 0xFF0000C8u);
    EXPECT_EQ(Dst.Px(1, 0), 0xFF000064u);
    // 0x40 + 100 * 127 / 255 = 64 + 50 = 114; alpha 128 + 255 * 127 / 255 = 255.
    EXPECT_EQ(Dst.Px(2, 0), 0xFF000072u);
    // Constant alpha without source alpha.
    Dst.Fill(0x00000000);
    BLENDFUNCTION Half{AC_SRC_OVER, 0, 128, 0};
    AlphaBlend(Dst.DC, 0, 0, 1, 1, Src.DC, 0, 0, 1, 1, Half);
    EXPECT_EQ(Dst.Px(0, 0), 0x80000064u);   // 200 * 128 / 255 = 100
    // A source rectangle beyond the source fails and draws nothing.
    EXPECT_FALSE(AlphaBlend(Dst.DC, 0, 0, 2, 1, Src.DC, 2, 0, 2, 1, Bf));
    // Stretching blends each destination pixel once.
    TMemDC Wide(6, 1);
    EXPECT_TRUE(AlphaBlend(Wide.DC, 0, 0, 6, 1, Src.DC, 0, 0, 3, 1, Bf));
    EXPECT_EQ(Wide.Px(1, 0), 0xFF0000C8u);
    EXPECT_EQ(Wide.Px(2, 0), 0u);
}

TEST(GraphicsBlit, DibTransfers)
{
    // A 3 x 2 top-down 24-bit DIB with distinct pixels.
    BITMAPINFO Bi{};
    Bi.bmiHeader.biWidth = 3;
    Bi.bmiHeader.biHeight = -2;
    Bi.bmiHeader.biBitCount = 24;
    std::vector<uint8_t> Dib(12 * 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) Dib[size_t(y * 12 + x * 3)] = uint8_t(10 * y + x + 1);
    TMemDC M(3, 2);
    EXPECT_EQ(SetDIBitsToDevice(M.DC, 0, 0, 3, 2, 0, 0, 0, 2, Dib.data(), &Bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(M.Px(0, 0), 1u);
    EXPECT_EQ(M.Px(2, 1), 13u);
    // Copying a rectangle with both extents negative gives it upright, one row short.
    TMemDC R(3, 3);
    StretchDIBits(R.DC, 0, 0 + 2 - 1, 3, 1 - 2, 0, 2 - 0, 3, 1 - 2, Dib.data(), &Bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(R.Px(0, 0), 1u);
    EXPECT_EQ(R.Px(0, 1), 0u);
    // Plain stretch with a bottom-left source origin: the whole picture doubled.
    TMemDC S(6, 4);
    StretchDIBits(S.DC, 0, 0, 6, 4, 0, 0, 3, 2, Dib.data(), &Bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(S.Px(0, 0), 1u);
    EXPECT_EQ(S.Px(5, 3), 13u);

    // GetDIBits to a bottom-up 24-bit buffer: the first stored row is the bottom one.
    BITMAPINFO Out{};
    Out.bmiHeader.biWidth = 3;
    Out.bmiHeader.biHeight = 2;
    Out.bmiHeader.biBitCount = 24;
    std::vector<uint8_t> Buf(24, 0xAA);
    EXPECT_EQ(GetDIBits(M.DC, M.Bmp, 0, 2, Buf.data(), &Out, DIB_RGB_COLORS), 2);
    EXPECT_EQ(Buf[0], 11);
    EXPECT_EQ(Buf[12], 1);
    BITMAPINFO Q{};
    EXPECT_EQ(GetDIBits(M.DC, M.Bmp, 0, 0, nullptr, &Q, DIB_RGB_COLORS), 2);
    EXPECT_EQ(Q.bmiHeader.biWidth, 3);
    // A format the transfers do not read fails cleanly.
    Bi.bmiHeader.biBitCount = 8;
    EXPECT_EQ(SetDIBitsToDevice(M.DC, 0, 0, 3, 2, 0, 0, 0, 2, Dib.data(), &Bi, DIB_RGB_COLORS), 0);
}

TEST(GraphicsGdi, StaleAndWrongHandlesFailCleanly)
{
    TMemDC M(2, 2);
    RECT R{0, 0, 2, 2};
    HBRUSH B = CreateSolidBrush(0);
    DeleteObject(B);
    EXPECT_EQ(FillRect(M.DC, &R, B), 0);
    EXPECT_EQ(SelectObject(M.DC, B), nullptr);
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(BitBlt(M.DC, 0, 0, 1, 1, reinterpret_cast<HDC>(B), 0, 0, SRCCOPY));
    // An object deleted while selected stays usable by the DC until it is deselected.
    HBRUSH Live = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ Old = SelectObject(M.DC, Live);
    EXPECT_TRUE(DeleteObject(Live));
    Rectangle(M.DC, 0, 0, 2, 2);
    SelectObject(M.DC, Old);
    // Stock objects survive deletion.
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
    EXPECT_EQ(GetObjectType(M.DC), OBJ_MEMDC);
}
