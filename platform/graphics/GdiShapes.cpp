// Lines, shapes and fills with the selected pen and brush.
#include <algorithm>
#include <cmath>

#include "platform/graphics/GdiInternal.h"

namespace {

// Writes pixels of one drawing call into a DC's surface, within its clip.
class TPainter {
public:
    explicit TPainter(TDCData& D) : FD(D), FSurface(D.Surface()), FClip(D.Clip()), FBounds(FClip.Bounds()) {}
    bool Ok() const { return FSurface && !FClip.IsEmpty(); }
    TSurface& Surface() { return *FSurface; }
    const TRegion& Clip() const { return FClip; }

    // A pixel in surface coordinates, drawn with the DC's mix mode.
    void Plot(int X, int Y, uint32_t Px)
    {
        if (!FBounds.Contains({X, Y}) || !FClip.Contains(X, Y)) return;
        if (FD.S.Rop2 == R2_NOT) Invert(X, Y);
        else FSurface->SetPixel(X, Y, Px);
    }
    void Invert(int X, int Y)
    {
        uint32_t P = FSurface->GetPixel(X, Y);
        FSurface->SetPixel(X, Y, (P & 0xFF000000u) | (~P & 0x00FFFFFFu));
    }
    void Span(int Y, int X0, int X1, uint32_t Px)
    {
        if (Y < FBounds.Top || Y >= FBounds.Bottom) return;
        gdi::ForClippedSpan(FClip, Y, X0, X1, [&](int y, int a, int b) {
            if (FD.S.Rop2 == R2_NOT)
                for (int x = a; x < b; ++x) Invert(x, y);
            else
                gdi::FillSpan(*FSurface, y, a, b, Px);
        });
    }

private:
    TDCData& FD;
    PSurface FSurface;
    const TRegion& FClip;
    TRect FBounds;
};

// The dash pattern of a cosmetic pen: lengths alternately drawn and skipped.
std::vector<int> PenPattern(UINT Style)
{
    switch (Style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// Draws pen lines; the dash position carries over from one segment to the next.
class TPenDrawer {
public:
    TPenDrawer(TDCData& D, TPainter& P) : FD(D), FP(P), FPen(*D.S.Pen), FPattern(PenPattern(FPen.Style))
    {
        FColor = gdi::PixelOf(FPen.Color);
        FBk = gdi::PixelOf(D.S.BkColor);
        FWidth = FPattern.empty() ? FPen.Width : 1;   // styled pens are one pixel wide
    }
    bool Visible() const { return FPen.Style != PS_NULL; }
    int Width() const { return FWidth; }

    // From (X0, Y0) to (X1, Y1) in surface coordinates, end point excluded.
    void Line(int X0, int Y0, int X1, int Y1)
    {
        if (!Visible()) return;
        int dx = std::abs(X1 - X0), dy = std::abs(Y1 - Y0);
        int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
        int Steps = std::max(dx, dy);
        int x = X0, y = Y0;
        // Bresenham along the major axis.
        if (dx >= dy) {
            int Err = 2 * dy - dx;
            for (int i = 0; i < Steps; ++i) {
                Dot(x, y);
                if (Err > 0) { y += sy; Err -= 2 * dx; }
                Err += 2 * dy;
                x += sx;
            }
        } else {
            int Err = 2 * dx - dy;
            for (int i = 0; i < Steps; ++i) {
                Dot(x, y);
                if (Err > 0) { x += sx; Err -= 2 * dy; }
                Err += 2 * dx;
                y += sy;
            }
        }
    }

    void Dot(int X, int Y)
    {
        bool On = true;
        if (!FPattern.empty()) {
            On = (FIndex % 2) == 0;
            if (++FCount >= FPattern[FIndex]) {
                FCount = 0;
                FIndex = (FIndex + 1) % FPattern.size();
            }
            if (!On) {
                if (FD.S.BkMode == OPAQUE) FP.Plot(X, Y, FBk);
                return;
            }
        }
        if (FWidth <= 1) {
            FP.Plot(X, Y, FColor);
            return;
        }
        int a = (FWidth - 1) / 2;
        for (int j = 0; j < FWidth; ++j) FP.Span(Y - a + j, X - a, X - a + FWidth, FColor);
    }

private:
    TDCData& FD;
    TPainter& FP;
    TPenData FPen;
    std::vector<int> FPattern;
    size_t FIndex = 0;
    int FCount = 0, FWidth = 1;
    uint32_t FColor = 0, FBk = 0;
};

bool BrushVisible(const TDCData& D) { return D.S.Brush && D.S.Brush->Style != BS_NULL; }

TRect NormRect(int L, int T, int R, int B) { return {std::min(L, R), std::min(T, B), std::max(L, R), std::max(T, B)}; }

TRect ToSurfaceRect(const TDCData& D, int L, int T, int R, int B)
{
    TPoint A = D.ToSurface(L, T), Z = D.ToSurface(R, B);
    return NormRect(A.X, A.Y, Z.X, Z.Y);
}

// A shape given by an inside test over a box: filled with the brush, outlined with
// the pen on its boundary (inside pixels with a 4-neighbour outside, repeated for
// wider pens).
template <class Inside>
void DrawShape(TDCData& D, const TRect& Box, Inside&& In)
{
    TPainter P(D);
    if (!P.Ok() || Box.IsEmpty()) return;
    TPenDrawer Pen(D, P);
    int W = Box.Width(), H = Box.Height();
    if (int64_t(W) * H > (int64_t(1) << 26)) return;   // far beyond any surface
    std::vector<uint8_t> Mask(size_t(W) * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) Mask[size_t(y) * W + x] = In(Box.Left + x, Box.Top + y) ? 1 : 0;
    // 2 marks outline pixels.
    if (Pen.Visible()) {
        for (int Pass = 0; Pass < Pen.Width(); ++Pass) {
            std::vector<uint8_t> Next = Mask;
            auto Out = [&](int x, int y) { return x < 0 || y < 0 || x >= W || y >= H || Mask[size_t(y) * W + x] == 0 || (Pass > 0 && Mask[size_t(y) * W + x] == 2); };
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    if (Mask[size_t(y) * W + x] == 1 && (Out(x - 1, y) || Out(x + 1, y) || Out(x, y - 1) || Out(x, y + 1)))
                        Next[size_t(y) * W + x] = 2;
            Mask.swap(Next);
        }
    }
    uint32_t Fill = BrushVisible(D) ? gdi::PixelOf(D.S.Brush->Color) : 0;
    uint32_t Line = gdi::PixelOf(D.S.Pen->Color);
    for (int y = 0; y < H; ++y) {
        int x = 0;
        while (x < W) {
            uint8_t K = Mask[size_t(y) * W + x];
            int e = x;
            while (e < W && Mask[size_t(y) * W + e] == K) ++e;
            if (K == 1 && BrushVisible(D)) P.Span(Box.Top + y, Box.Left + x, Box.Left + e, Fill);
            else if (K == 2) P.Span(Box.Top + y, Box.Left + x, Box.Left + e, Line);
            x = e;
        }
    }
}

void FillBrushRect(TDCData& D, const TRect& SurfRect, const TBrushData& Brush)
{
    if (Brush.Style == BS_NULL) return;
    TPainter P(D);
    if (!P.Ok()) return;
    uint32_t Px = gdi::PixelOf(Brush.Color);
    for (int y = SurfRect.Top; y < SurfRect.Bottom; ++y) P.Span(y, SurfRect.Left, SurfRect.Right, Px);
}

}  // namespace

BOOL MoveToEx(HDC DC, int X, int Y, POINT* Old) { return SetDCPoint(DC, &TDCState::PenPos, {X, Y}, Old); }
BOOL GetCurrentPositionEx(HDC DC, POINT* P) { return GetDCPoint(DC, &TDCState::PenPos, P); }

BOOL LineTo(HDC DC, int X, int Y)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    TPainter P(*D);
    if (P.Ok()) {
        TPenDrawer Pen(*D, P);
        TPoint A = D->ToSurface(D->S.PenPos.X, D->S.PenPos.Y), B = D->ToSurface(X, Y);
        Pen.Line(A.X, A.Y, B.X, B.Y);
    }
    D->S.PenPos = {X, Y};
    return TRUE;
}

BOOL Polyline(HDC DC, const POINT* Points, int Count)
{
    auto D = LookupDC(DC);
    if (!D || !Points || Count < 2) return FALSE;
    TPainter P(*D);
    if (!P.Ok()) return TRUE;
    TPenDrawer Pen(*D, P);
    for (int i = 0; i + 1 < Count; ++i) {
        TPoint A = D->ToSurface(Points[i].X, Points[i].Y), B = D->ToSurface(Points[i + 1].X, Points[i + 1].Y);
        Pen.Line(A.X, A.Y, B.X, B.Y);
    }
    return TRUE;
}

BOOL Polygon(HDC DC, const POINT* Points, int Count)
{
    auto D = LookupDC(DC);
    if (!D || !Points || Count < 2) return FALSE;
    TPainter P(*D);
    if (!P.Ok()) return TRUE;
    std::vector<TPoint> Pts(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) Pts[size_t(i)] = D->ToSurface(Points[i].X, Points[i].Y);
    if (BrushVisible(*D)) {
        // Even-odd fill sampled at pixel centres.
        int MinY = Pts[0].Y, MaxY = Pts[0].Y;
        for (const TPoint& Q : Pts) { MinY = std::min(MinY, Q.Y); MaxY = std::max(MaxY, Q.Y); }
        const TRect B = P.Clip().Bounds();
        MinY = std::max(MinY, B.Top);
        MaxY = std::min(MaxY, B.Bottom);
        uint32_t Px = gdi::PixelOf(D->S.Brush->Color);
        std::vector<double> Xs;
        for (int y = MinY; y < MaxY; ++y) {
            double Yc = y + 0.5;
            Xs.clear();
            for (int i = 0; i < Count; ++i) {
                TPoint A = Pts[size_t(i)], Z = Pts[size_t((i + 1) % Count)];
                if (A.Y == Z.Y) continue;
                if ((Yc < A.Y) == (Yc < Z.Y)) continue;
                Xs.push_back(A.X + (Yc - A.Y) * double(Z.X - A.X) / double(Z.Y - A.Y));
            }
            std::sort(Xs.begin(), Xs.end());
            for (size_t k = 0; k + 1 < Xs.size(); k += 2) {
                int x0 = int(std::ceil(Xs[k] - 0.5)), x1 = int(std::ceil(Xs[k + 1] - 0.5));
                P.Span(y, x0, x1, Px);
            }
        }
    }
    TPenDrawer Pen(*D, P);
    for (int i = 0; i < Count; ++i) {
        TPoint A = Pts[size_t(i)], Z = Pts[size_t((i + 1) % Count)];
        Pen.Line(A.X, A.Y, Z.X, Z.Y);
    }
    return TRUE;
}

BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    TRect R = ToSurfaceRect(*D, Left, Top, Right, Bottom);
    TPainter P(*D);
    if (!P.Ok()) return TRUE;
    TPenDrawer Pen(*D, P);
    if (!Pen.Visible()) {
        // Without a pen the filled area is one pixel smaller at the right and bottom.
        if (BrushVisible(*D)) FillBrushRect(*D, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), *D->S.Brush);
        return TRUE;
    }
    if (R.Width() < 1 || R.Height() < 1) return TRUE;
    int W = Pen.Width();
    if (BrushVisible(*D)) FillBrushRect(*D, TRect(R.Left + W, R.Top + W, R.Right - W, R.Bottom - W), *D->S.Brush);
    // The frame, W pixels thick, inside the rectangle.
    uint32_t Px = gdi::PixelOf(D->S.Pen->Color);
    if (PenPattern(D->S.Pen->Style).empty()) {
        for (int i = 0; i < W && R.Top + i < R.Bottom - i; ++i) {
            P.Span(R.Top + i, R.Left, R.Right, Px);
            if (R.Bottom - 1 - i != R.Top + i) P.Span(R.Bottom - 1 - i, R.Left, R.Right, Px);
        }
        for (int y = R.Top + W; y < R.Bottom - W; ++y) {
            P.Span(y, R.Left, std::min(R.Left + W, R.Right), Px);
            P.Span(y, std::max(R.Right - W, R.Left), R.Right, Px);
        }
    } else {
        Pen.Line(R.Left, R.Top, R.Right - 1, R.Top);
        Pen.Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
        Pen.Line(R.Right - 1, R.Bottom - 1, R.Left, R.Bottom - 1);
        Pen.Line(R.Left, R.Bottom - 1, R.Left, R.Top);
    }
    return TRUE;
}

BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    TRect R = ToSurfaceRect(*D, Left, Top, Right, Bottom);
    if (R.IsEmpty()) return TRUE;
    // Pixel centres inside the ellipse inscribed in R (doubled coordinates).
    int64_t A = R.Width(), B = R.Height(), Cx = R.Left + R.Right, Cy = R.Top + R.Bottom;
    DrawShape(*D, R, [&](int x, int y) {
        int64_t dx = 2 * x + 1 - Cx, dy = 2 * y + 1 - Cy;
        return dx * dx * B * B + dy * dy * A * A <= A * A * B * B;
    });
    return TRUE;
}

BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int EllipseW, int EllipseH)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    TRect R = ToSurfaceRect(*D, Left, Top, Right, Bottom);
    if (R.IsEmpty()) return TRUE;
    int64_t W = std::clamp<int64_t>(std::abs(EllipseW), 0, R.Width()), H = std::clamp<int64_t>(std::abs(EllipseH), 0, R.Height());
    DrawShape(*D, R, [&](int x, int y) {
        if (W == 0 || H == 0) return true;
        int64_t px = 2 * x + 1, py = 2 * y + 1;
        int64_t cx, cy;
        if (px < 2 * R.Left + W) cx = 2 * R.Left + W;
        else if (px > 2 * R.Right - W) cx = 2 * R.Right - W;
        else return true;
        if (py < 2 * R.Top + H) cy = 2 * R.Top + H;
        else if (py > 2 * R.Bottom - H) cy = 2 * R.Bottom - H;
        else return true;
        int64_t dx = px - cx, dy = py - cy;
        return dx * dx * H * H + dy * dy * W * W <= W * W * H * H;
    });
    return TRUE;
}

int FillRect(HDC DC, const RECT* R, HBRUSH Brush)
{
    auto D = LookupDC(DC);
    auto B = Lookup<TBrushData>(Brush, OBJ_BRUSH);
    if (!D || !R || !B) return 0;
    if (R->Right <= R->Left || R->Bottom <= R->Top) return 1;
    FillBrushRect(*D, ToSurfaceRect(*D, R->Left, R->Top, R->Right, R->Bottom), *B);
    return 1;
}

int FrameRect(HDC DC, const RECT* R, HBRUSH Brush)
{
    auto D = LookupDC(DC);
    auto B = Lookup<TBrushData>(Brush, OBJ_BRUSH);
    if (!D || !R || !B) return 0;
    if (R->Right <= R->Left || R->Bottom <= R->Top) return 1;
    TRect S = ToSurfaceRect(*D, R->Left, R->Top, R->Right, R->Bottom);
    FillBrushRect(*D, TRect(S.Left, S.Top, S.Right, S.Top + 1), *B);
    FillBrushRect(*D, TRect(S.Left, S.Bottom - 1, S.Right, S.Bottom), *B);
    FillBrushRect(*D, TRect(S.Left, S.Top + 1, S.Left + 1, S.Bottom - 1), *B);
    FillBrushRect(*D, TRect(S.Right - 1, S.Top + 1, S.Right, S.Bottom - 1), *B);
    return 1;
}

BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush)
{
    auto D = LookupDC(DC);
    auto B = Lookup<TBrushData>(Brush, OBJ_BRUSH);
    const TRegion* R = GetRegionOf(Rgn);
    if (!D || !B || !R) return FALSE;
    TPoint Sh = D->SurfaceShift();
    for (const TRect& Q : R->Rects())
        FillBrushRect(*D, TRect(Q.Left + Sh.X, Q.Top + Sh.Y, Q.Right + Sh.X, Q.Bottom + Sh.Y), *B);
    return TRUE;
}

BOOL DrawFocusRect(HDC DC, const RECT* R)
{
    auto D = LookupDC(DC);
    if (!D || !R) return FALSE;
    TPainter P(*D);
    if (!P.Ok()) return TRUE;
    TRect S = ToSurfaceRect(*D, R->Left, R->Top, R->Right, R->Bottom);
    if (S.IsEmpty()) return TRUE;
    TPoint Dev = D->LogicalToDevice(R->Left, R->Top);
    TPoint Sf = D->ToSurface(R->Left, R->Top);
    // A checkerboard aligned to device coordinates, inverted along the frame.
    auto Hit = [&](int x, int y) {
        int dx = x - Sf.X + Dev.X, dy = y - Sf.Y + Dev.Y;
        if (((dx + dy) & 1) == 0 && P.Clip().Contains(x, y)) P.Invert(x, y);
    };
    for (int x = S.Left; x < S.Right; ++x) {
        Hit(x, S.Top);
        if (S.Bottom - 1 != S.Top) Hit(x, S.Bottom - 1);
    }
    for (int y = S.Top + 1; y < S.Bottom - 1; ++y) {
        Hit(S.Left, y);
        if (S.Right - 1 != S.Left) Hit(S.Right - 1, y);
    }
    return TRUE;
}

COLORREF SetPixel(HDC DC, int X, int Y, COLORREF C)
{
    auto D = LookupDC(DC);
    if (!D) return CLR_INVALID;
    PSurface S = D->Surface();
    TPoint Q = D->ToSurface(X, Y);
    if (!S || !D->Clip().Contains(Q)) return CLR_INVALID;
    S->SetPixel(Q.X, Q.Y, gdi::PixelOf(C));
    return C & 0xFFFFFF;
}

COLORREF GetPixel(HDC DC, int X, int Y)
{
    auto D = LookupDC(DC);
    if (!D) return CLR_INVALID;
    PSurface S = D->Surface();
    TPoint Q = D->ToSurface(X, Y);
    if (!S || !D->Clip().Contains(Q)) return CLR_INVALID;
    return gdi::ColorRefOf(S->GetPixel(Q.X, Q.Y) & 0xFFFFFF);
}
