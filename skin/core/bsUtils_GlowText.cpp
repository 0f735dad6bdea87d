// Captions with a glow or a reflection: the text is drawn in red into an alpha bitmap, its
// red channel (blurred for a glow) becomes the alpha of the glow colour, and the bitmap is
// blended under the caption.
#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

namespace {

// A bitmap for a glow of W x H with Canvas's font in pure red and a clear brush.
void PrepareGlowBitmap(TbsBitmap& B, TCanvas* Canvas, int W, int H)
{
    B.SetSize(W, H);
    B.Clear(0);
    TCanvas* c = B.Canvas();
    c->Font()->Assign(Canvas->Font());
    c->Font()->SetColor(TColor(255));
    c->Brush()->SetStyle(bsClear);
}

// Every pixel becomes Color with the alpha its red channel gives.
void RedToAlpha(TbsBitmap& B, TColor Color, bool (*Keep)(int Row, int& Alpha, void*) = nullptr, void* Ctx = nullptr)
{
    const TbsColor rgb = ColorToARGB(Color, 0) & 0x00FFFFFF;
    for (int y = 0; y < B.Height(); ++y) {
        TbsColor* row = B.ScanLine(y);
        for (int x = 0; x < B.Width(); ++x) {
            int a = bsRedOf(row[x]);
            if (Keep && !Keep(y, a, Ctx)) {
                row[x] = 0;
                continue;
            }
            row[x] = rgb | (TbsColor(a) << 24);
        }
    }
    B.SetAlphaBlend(true);
}

void DrawCaption(TCanvas* Canvas, const TRect& R, const String& Text, UINT Flags)
{
    Canvas->Brush()->SetStyle(bsClear);
    TRect r = R;
    DrawWideText(Canvas, Text, r, Flags);
}

void Glow(TCanvas* Canvas, const TRect& R, const String& Text, int GlowSize, TColor GlowColor, int GlowOffset,
          UINT Flags, bool Shifted)
{
    if (GlowSize < 0) GlowSize = 0;
    TbsBitmap b;
    PrepareGlowBitmap(b, Canvas, R.Width() + 2 * GlowSize, R.Height() + 2 * GlowSize);
    if (!b.Empty()) {
        const TRect inner(GlowSize, GlowSize, GlowSize + R.Width(), GlowSize + R.Height());
        TRect t = inner;
        DrawWideText(b.Canvas(), Text, t, Flags);
        if (Shifted) {
            const TPoint shifts[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const TPoint& s : shifts) {
                TRect r(inner.Left + s.X, inner.Top + s.Y, inner.Right + s.X, inner.Bottom + s.Y);
                DrawWideText(b.Canvas(), Text, r, Flags);
            }
        }
        BlurBitmap(&b, GlowSize);
        RedToAlpha(b, GlowColor);
        b.Draw(Canvas, R.Left + GlowOffset - GlowSize, R.Top + GlowOffset - GlowSize);
    }
    DrawCaption(Canvas, R, Text, Flags);
}

// The box glows: a red rectangle behind red copies of the text, blurred twice.
void GlowBox(TCanvas* Canvas, const TRect& R, const String& Text, TColor GlowColor, UINT Flags, int P,
             const TRect& Fill)
{
    TbsBitmap b;
    PrepareGlowBitmap(b, Canvas, R.Width() + 2 * P, R.Height() + 2 * P);
    if (!b.Empty()) {
        TCanvas* c = b.Canvas();
        c->Brush()->SetColor(TColor(255));
        c->FillRect(Fill);
        c->Brush()->SetStyle(bsClear);
        const TRect area(P, P, P + R.Width(), P + R.Height());
        const TPoint offsets[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 0}};
        for (const TPoint& o : offsets) {
            TRect r(area.Left + o.X, area.Top + o.Y, area.Right + o.X, area.Bottom + o.Y);
            DrawWideText(c, Text, r, Flags);
        }
        BlurBitmap(&b, P / 2);
        BlurBitmap(&b, P / 2);
        RedToAlpha(b, GlowColor);
        b.Draw(Canvas, R.Left - P, R.Top - P);
    }
    DrawCaption(Canvas, R, Text, Flags);
}

}  // namespace

void DrawTextWithGlow(TCanvas* Canvas, const TRect& R, const String& Text, int GlowSize, TColor GlowColor,
                      int GlowOffset, UINT Flags)
{
    Glow(Canvas, R, Text, GlowSize, GlowColor, GlowOffset, Flags, true);
}

void DrawWideTextWithGlow(TCanvas* Canvas, const TRect& R, const String& Text, int GlowSize, TColor GlowColor,
                          int GlowOffset, UINT Flags)
{
    Glow(Canvas, R, Text, GlowSize, GlowColor, GlowOffset, Flags, false);
}

void DrawWideTextWithGlowBox(TCanvas* Canvas, const TRect& R, const String& Text, TColor GlowColor, UINT Flags)
{
    const int p = 10;
    GlowBox(Canvas, R, Text, GlowColor, Flags, p, TRect(p + 3, p + 3, p + R.Width() - 3, p + R.Height() - 3));
}

void DrawWideTextWithGlowBox2(TCanvas* Canvas, const TRect& R, const String& Text, TColor GlowColor, UINT Flags)
{
    const int p = 12;
    GlowBox(Canvas, R, Text, GlowColor, Flags, p, TRect(p - 3, p + 2, p + R.Width() + 3, p + R.Height() - 2));
}

void DrawWideTextWithReflection(TCanvas* Canvas, const TRect& R, const String& Text, TColor ReflectionColor,
                                int ReflectionOffset, UINT Flags)
{
    TbsBitmap b;
    PrepareGlowBitmap(b, Canvas, R.Width(), R.Height());
    TRect atR = R;
    DrawWideText(Canvas, Text, atR, Flags | DT_CALCRECT);
    if (!b.Empty()) {
        TRect t(0, 0, R.Width(), R.Height());
        DrawWideText(b.Canvas(), Text, t, Flags);
        TRect m(0, 0, R.Width(), R.Height());
        DrawWideText(b.Canvas(), Text, m, Flags | DT_CALCRECT);
        const int top = m.Top, bottom = m.Bottom;
        if (bottom > top) {
            struct Span {
                int T, B;
            } span{top, bottom};
            // Rows outside the text vanish; rows of the text fade from 0.7 at the bottom.
            RedToAlpha(
                b, ReflectionColor,
                [](int Row, int& Alpha, void* Ctx) {
                    const Span& s = *static_cast<Span*>(Ctx);
                    if (Row < s.T || Row > s.B) return false;
                    double f = 0.7 - double(s.B + s.T - Row) / double(s.B - s.T);
                    if (f < 0) f = 0;
                    Alpha = int(Round(Alpha * f));
                    return true;
                },
                &span);
            b.FlipVert();
            b.Draw(Canvas, R.Left, atR.Bottom + bottom + ReflectionOffset - b.Height());
        }
    }
    DrawCaption(Canvas, R, Text, Flags);
}
