// Small glyphs drawn with lines and rectangles: arrows, marks, frames, focus dots and the
// default caption-button glyphs.
#include "skin/core/bsUtils.h"

namespace {

// A horizontal run of pixels X1..X2 (both included) on row Y.
void HLine(TCanvas* C, int X1, int X2, int Y)
{
    C->MoveTo(X1, Y);
    C->LineTo(X2 + 1, Y);
}

// A vertical run of pixels Y1..Y2 (both included) in column X.
void VLine(TCanvas* C, int X, int Y1, int Y2)
{
    C->MoveTo(X, Y1);
    C->LineTo(X, Y2 + 1);
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

TPoint CentreOf(const TRect& R) { return TPoint(R.Left + R.Width() / 2, R.Top + R.Height() / 2); }

// Arrow of Lines lines of 1, 3, 5 .. pixels around (cx, cy), the tip two pixels from the centre.
void Arrow(TCanvas* C, const TRect& R, TColor Color, int Kind, int Lines)
{
    if (Kind < 1 || Kind > 4) return;
    C->Pen()->SetColor(Color);
    const TPoint c = CentreOf(R);
    const int last = Lines - 1;
    for (int i = 0; i < Lines; ++i) {
        switch (Kind) {
        case 1: VLine(C, c.X - 2 + i, c.Y - i, c.Y + i); break;                            // left
        case 2: VLine(C, c.X + 2 - last + i, c.Y - (last - i), c.Y + (last - i)); break;  // right
        case 3: HLine(C, c.X - i, c.X + i, c.Y - 2 + i); break;                            // up
        case 4: HLine(C, c.X - (last - i), c.X + (last - i), c.Y + 2 - last + i); break;  // down
        }
    }
}

}  // namespace

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    const TPoint c = CentreOf(R);
    HLine(Canvas, c.X - 2, c.X + 2, c.Y);
    HLine(Canvas, c.X - 1, c.X + 1, c.Y + 1);
    HLine(Canvas, c.X, c.X, c.Y + 2);
}

void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind)
{
    if (Kind == 5) {
        Canvas->Pen()->SetColor(Color);
        const TPoint c = CentreOf(R);
        HLine(Canvas, c.X - 4, c.X + 3, c.Y - 1);
        HLine(Canvas, c.X - 4, c.X + 3, c.Y);
        VLine(Canvas, c.X - 1, c.Y - 4, c.Y + 3);
        VLine(Canvas, c.X, c.Y - 4, c.Y + 3);
        return;
    }
    Arrow(Canvas, R, Color, Kind, 4);
}

void DrawBigArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind) { Arrow(Canvas, R, Color, Kind, 6); }

void DrawRadioMark(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i < 3; ++i) {
        Canvas->MoveTo(X, Y + 5 - i);
        Canvas->LineTo(X + 2, Y + 7 - i);
        Canvas->LineTo(X + 7, Y + 2 - i);
    }
}

void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopLeftColor, TColor BottomRightColor)
{
    Canvas->Pen()->SetWidth(1);
    --R.Right;
    --R.Bottom;
    Canvas->Pen()->SetColor(TopLeftColor);
    Canvas->Polyline({TPoint(R.Left, R.Bottom), TPoint(R.Left, R.Top), TPoint(R.Right, R.Top)});
    Canvas->Pen()->SetColor(BottomRightColor);
    Canvas->Polyline({TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom), TPoint(R.Left - 1, R.Bottom)});
}

void DrawDottedFocusRect(TCanvas* Canvas, TRect R)
{
    --R.Right;
    --R.Bottom;
    const TColor color = Canvas->Font()->Color();
    bool dot = !((R.Right - R.Left) % 2 == 0 && (R.Bottom - R.Top) % 2 == 0);
    // Each edge includes both its end pixels; a corner repeats the state it ended with.
    auto walk = [&](int X, int Y, int DX, int DY, int Steps) {
        for (int i = 0; i <= Steps; ++i) {
            if (i > 0) dot = !dot;
            if (dot) Canvas->SetPixels(X + i * DX, Y + i * DY, color);
        }
    };
    const int w = R.Right - R.Left, h = R.Bottom - R.Top;
    if (w < 0 || h < 0) return;
    walk(R.Left, R.Top, 1, 0, w);
    walk(R.Right, R.Top, 0, 1, h);
    walk(R.Right, R.Bottom, -1, 0, w);
    walk(R.Left, R.Bottom, 0, -1, h);
}

void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 2, Y + 3, X + 8, Y + 3);
    Line(Canvas, X + 2, Y + 5, X + 8, Y + 5);
}

void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(Color);
    Canvas->Rectangle(X, Y, X + 11, Y + 10);
    Canvas->Rectangle(X, Y, X + 11, Y + 2);
}

void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(Color);
    Canvas->Rectangle(X + 2, Y, X + 10, Y + 6);
    Canvas->Rectangle(X + 2, Y, X + 10, Y + 2);
    Canvas->Rectangle(X, Y + 4, X + 7, Y + 10);
    Canvas->Rectangle(X, Y + 4, X + 7, Y + 6);
}

void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i < 4; ++i) HLine(Canvas, X + 5 - i, X + 5 + i, Y + 2 + i);
}

void DrawRollDownImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int i = 0; i < 4; ++i) HLine(Canvas, X + 2 + i, X + 8 - i, Y + 3 + i);
}

void DrawMinimizeToTrayImage(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}
