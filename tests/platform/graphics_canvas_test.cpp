// The canvas over a device context: tools, shapes, text, copies.
#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"

namespace {

struct TCanvasOnDC {
    HDC DC;
    HBITMAP Bmp;
    PSurface S;
    TCanvas C;
    TCanvasOnDC(int W, int H)
    {
        Bmp = CreateCompatibleBitmap(nullptr, W, H);
        DC = CreateCompatibleDC(nullptr);
        SelectObject(DC, Bmp);
        S = GetBitmapSurface(Bmp);
        C.SetHandle(DC);
    }
    ~TCanvasOnDC()
    {
        C.SetHandle(nullptr);
        DeleteDC(DC);
        DeleteObject(Bmp);
    }
    uint32_t Px(int X, int Y) const { return S->GetPixel(X, Y) & 0xFFFFFF; }
};

}  // namespace

TEST(GraphicsCanvas, ToolsDriveTheShapes)
{
    TCanvasOnDC T(10, 10);
    T.C.Brush()->SetColor(clBlue);
    T.C.Pen()->SetColor(clRed);
    T.C.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(T.Px(1, 1), 0xFF0000u);
    EXPECT_EQ(T.Px(2, 2), 0x0000FFu);
    EXPECT_EQ(T.Px(5, 5), 0u);
    // A tool change after drawing takes effect on the next call.
    T.C.Brush()->SetColor(clLime);
    T.C.FillRect(TRect(6, 6, 8, 8));
    EXPECT_EQ(T.Px(6, 6), 0x00FF00u);
    // A clear brush leaves the inside.
    T.C.Brush()->SetStyle(bsClear);
    T.C.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(T.Px(2, 2), 0x0000FFu);
    // System colours resolve through the colour table.
    T.C.Brush()->SetColor(clBtnFace);
    EXPECT_EQ(T.C.Brush()->Style(), bsSolid);
    T.C.FillRect(TRect(0, 0, 1, 1));
    EXPECT_EQ(T.Px(0, 0), uint32_t(GetSysColor(COLOR_BTNFACE) & 0xFF) << 16 | (GetSysColor(COLOR_BTNFACE) & 0xFF00) |
                              (GetSysColor(COLOR_BTNFACE) >> 16));
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    // Pixels read and write TColor values.
    T.C.SetPixels(9, 0, RGB(1, 2, 3));
    EXPECT_EQ(T.C.Pixels(9, 0), RGB(1, 2, 3));
    // Lines: pen position moves, end point excluded.
    T.C.Pen()->SetColor(clWhite);
    T.C.MoveTo(0, 9);
    T.C.LineTo(3, 9);
    EXPECT_EQ(T.C.PenPos(), TPoint(3, 9));
    EXPECT_EQ(T.Px(2, 9), 0xFFFFFFu);
    EXPECT_EQ(T.Px(3, 9), 0xFF0000u);   // still the frame drawn before
}

TEST(GraphicsCanvas, TextAndTextRect)
{
    TCanvasOnDC T(100, 30);
    T.C.Font()->SetName("DejaVu Sans");
    T.C.Font()->SetHeight(-12);
    T.C.Font()->SetColor(clBlack);
    T.C.Brush()->SetColor(clWhite);
    int W = T.C.TextWidth("abc");
    EXPECT_GT(W, 10);
    EXPECT_EQ(T.C.TextExtent("abc").cy, T.C.TextHeight("x"));
    T.C.TextOut(5, 5, "abc");
    EXPECT_EQ(T.C.PenPos(), TPoint(5 + W, 5));
    EXPECT_EQ(T.Px(5, 5), 0xFFFFFFu);      // opaque background in the brush colour
    // TextRect with a solid brush fills the whole rectangle and clips the text.
    T.C.Brush()->SetColor(clRed);
    T.C.TextRect(TRect(50, 0, 60, 20), 50, 0, "MMMMMM");
    EXPECT_EQ(T.Px(50, 19), 0xFF0000u);
    EXPECT_EQ(T.Px(60, 5), 0u);
    // Size and height follow each other at 96 dots per inch.
    T.C.Font()->SetSize(9);
    EXPECT_EQ(T.C.Font()->Height(), -12);
    EXPECT_EQ(T.C.Font()->Size(), 9);
}

TEST(GraphicsCanvas, CopyRectStretchesAndFrame3D)
{
    TCanvasOnDC A(4, 4), B(8, 8);
    A.C.Brush()->SetColor(clRed);
    A.C.FillRect(TRect(0, 0, 2, 2));
    B.C.CopyRect(TRect(0, 0, 8, 8), &A.C, TRect(0, 0, 4, 4));
    EXPECT_EQ(B.Px(3, 3), 0xFF0000u);
    EXPECT_EQ(B.Px(4, 4), 0u);
    TRect R(0, 0, 8, 8);
    Frame3D(&B.C, R, clWhite, clBlue, 1);
    EXPECT_EQ(R, TRect(1, 1, 7, 7));
    EXPECT_EQ(B.Px(0, 0), 0xFFFFFFu);
    EXPECT_EQ(B.Px(7, 0), 0x0000FFu);
    EXPECT_EQ(B.Px(0, 7), 0x0000FFu);
    EXPECT_EQ(B.Px(7, 7), 0x0000FFu);
}

TEST(GraphicsCanvas, PlainCanvasWithoutHandleRaises)
{
    TCanvas C;
    EXPECT_FALSE(C.HandleAllocated());
    EXPECT_THROW(C.Handle(), EInvalidOperation);
    C.Lock();
    EXPECT_EQ(C.LockCount(), 1);
    C.Unlock();
    EXPECT_EQ(C.LockCount(), 0);
}
