// Skin image builders: nine-piece images of any size, one-dimensional strips and the frame
// strips of windows, cut from skin pictures with the canvas's rectangle copies.
#include "skin/core/bsUtils_Pieces.h"

// ---- Copies and tiles --------------------------------------------------------------------------
// Long runs of tiles are built in a scratch bitmap from the first tile by copying what is
// already built onto the rest, doubling each time, and the run is then copied in at once:
// the pixels are those of tile-by-tile copying, in a few block transfers.

void CopyPiece(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S)
{
    if (D.IsEmpty() || S.IsEmpty()) return;
    B->Canvas()->CopyRect(D, SB->Canvas(), S);
}

namespace {

// Tile-by-tile runs up to this many tiles; longer runs go through a scratch bitmap.
constexpr int DirectTiles = 8;

void TileDirect(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S, bool Horizontal, int s, int a, int b)
{
    for (int t0 = a; t0 < b; t0 += s) {
        const int t1 = std::min(t0 + s, b);
        if (Horizontal)
            CopyPiece(B, TRect(t0, D.Top, t1, D.Bottom), SB, TRect(S.Left, S.Top, S.Left + t1 - t0, S.Bottom));
        else
            CopyPiece(B, TRect(D.Left, t0, D.Right, t1), SB, TRect(S.Left, S.Top, S.Right, S.Top + t1 - t0));
    }
}

}  // namespace

void TilePiece(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S, bool Horizontal)
{
    const int s = Horizontal ? S.Width() : S.Height();
    const int a = Horizontal ? D.Left : D.Top, b = Horizontal ? D.Right : D.Bottom;
    if (s <= 0 || b <= a || D.IsEmpty()) return;
    if ((b - a) / s < DirectTiles) {
        TileDirect(B, D, SB, S, Horizontal, s, a, b);
        return;
    }
    const int len = b - a, across = Horizontal ? D.Height() : D.Width();
    TBitmap run;
    run.SetPixelFormat(pf32bit);
    if (Horizontal)
        run.SetSize(len, across);
    else
        run.SetSize(across, len);
    auto span = [&](int From, int To) { return Horizontal ? TRect(From, 0, To, across) : TRect(0, From, across, To); };
    CopyPiece(&run, span(0, s), SB, S);
    for (int built = s; built < len;) {
        const int n = std::min(built, len - built);
        CopyPiece(&run, span(built, built + n), &run, span(0, n));
        built += n;
    }
    CopyPiece(B, D, &run, span(0, len));
}

void TileArea(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S)
{
    if (S.IsEmpty() || D.IsEmpty()) return;
    if (D.Height() / S.Height() < DirectTiles) {
        for (int y = D.Top; y < D.Bottom; y += S.Height()) {
            const int y1 = std::min(y + S.Height(), D.Bottom);
            TilePiece(B, TRect(D.Left, y, D.Right, y1), SB, TRect(S.Left, S.Top, S.Right, S.Top + y1 - y), true);
        }
        return;
    }
    // One row of tiles, then that row copied down.
    TBitmap row;
    row.SetPixelFormat(pf32bit);
    row.SetSize(D.Width(), S.Height());
    TilePiece(&row, TRect(0, 0, D.Width(), S.Height()), SB, S, true);
    for (int y = D.Top; y < D.Bottom; y += S.Height()) {
        const int y1 = std::min(y + S.Height(), D.Bottom);
        CopyPiece(B, TRect(D.Left, y, D.Right, y1), &row, TRect(0, 0, D.Width(), y1 - y));
    }
}

namespace {

// Stretches a strip: copied into a bitmap of its own size, which is stretch-drawn into D.
void StretchStrip(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S)
{
    if (D.IsEmpty() || S.IsEmpty()) return;
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(S.Width(), S.Height());
    strip.Canvas()->CopyRect(TRect(0, 0, S.Width(), S.Height()), SB->Canvas(), S);
    B->Canvas()->StretchDraw(D, &strip);
}

void Edge(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S, bool Stretch, bool Horizontal)
{
    if (Stretch)
        StretchStrip(B, D, SB, S);
    else
        TilePiece(B, D, SB, S, Horizontal);
}

// The client piece stretched into NC by the stretch type.
void StretchClient(TBitmap* B, const TRect& NC, TBitmap* SB, const TRect& S, TbsStretchType Type)
{
    if (NC.IsEmpty() || S.IsEmpty()) return;
    if (Type == bsstFull) {
        StretchStrip(B, NC, SB, S);
        return;
    }
    const bool horz = Type == bsstHorz;
    // One column (or row) of the client stretched across NC, then repeated under a clip.
    TBitmap piece;
    piece.SetPixelFormat(pf32bit);
    piece.SetSize(horz ? S.Width() : NC.Width(), horz ? NC.Height() : S.Height());
    StretchStrip(&piece, TRect(0, 0, piece.Width(), piece.Height()), SB, S);
    HDC dc = B->Canvas()->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, NC.Left, NC.Top, NC.Right, NC.Bottom);
    const int step = horz ? S.Width() : S.Height();
    const int copies = (horz ? NC.Width() : NC.Height()) / step + 1;
    for (int k = 0; k < copies; ++k)
        B->Canvas()->Draw(horz ? NC.Left + k * step : NC.Left, horz ? NC.Top : NC.Top + k * step, &piece);
    RestoreDC(dc, saved);
}

void BuildNinePiece(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl, TPoint NewLT, TPoint NewRT, TPoint NewLB,
                    TPoint NewRB, TRect NewCl, TBitmap* B, TBitmap* SB, TRect R, int NewW, int NewH, bool DrawClient,
                    bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch, bool StretchEffect,
                    TbsStretchType StretchType, bool RightBand)
{
    if (!B) return;
    B->SetSize(NewW, NewH);
    if (RB.X == LT.X || RB.Y == LT.Y || !SB || SB->Empty()) return;
    const int W = R.Width(), H = R.Height();
    auto src = [&R](int L, int T, int Rt, int Bm) { return TRect(L + R.Left, T + R.Top, Rt + R.Left, Bm + R.Top); };

    Edge(B, TRect(NewLT.X, 0, RightBand ? NewRT.X : NewW, NewCl.Top), SB, src(LT.X, 0, RT.X, Cl.Top), TopStretch,
         true);
    Edge(B, TRect(NewLB.X, NewCl.Bottom, RightBand ? NewRB.X : NewW, NewH), SB, src(LB.X, Cl.Bottom, RB.X, H),
         BottomStretch, true);
    Edge(B, TRect(0, NewLT.Y, NewCl.Left, NewLB.Y), SB,
         LeftStretch ? src(0, LT.Y, Cl.Left, LB.Y) : src(0, LT.Y, NewCl.Left, LB.Y), LeftStretch, false);
    if (RightBand)
        Edge(B, TRect(NewCl.Right, NewRT.Y, NewW, NewRB.Y), SB, src(Cl.Right, RT.Y, W, RB.Y), RightStretch, false);

    CopyPiece(B, TRect(0, 0, NewLT.X, NewCl.Top), SB, src(0, 0, LT.X, Cl.Top));
    CopyPiece(B, TRect(0, NewCl.Top, NewCl.Left, NewLT.Y), SB, src(0, Cl.Top, Cl.Left, LT.Y));
    if (RightBand) {
        CopyPiece(B, TRect(NewRT.X, 0, NewW, NewCl.Top), SB, src(RT.X, 0, W, Cl.Top));
        CopyPiece(B, TRect(NewCl.Right, NewCl.Top, NewW, NewRT.Y), SB, src(Cl.Right, Cl.Top, W, RT.Y));
    }
    CopyPiece(B, TRect(0, NewLB.Y, NewCl.Left, NewH), SB, src(0, LB.Y, Cl.Left, H));
    CopyPiece(B, TRect(NewCl.Left, NewCl.Bottom, NewLB.X, NewH), SB, src(Cl.Left, Cl.Bottom, LB.X, H));
    if (RightBand) {
        CopyPiece(B, TRect(NewRB.X, NewCl.Bottom, NewW, NewH), SB, src(RB.X, Cl.Bottom, W, H));
        CopyPiece(B, TRect(NewCl.Right, NewRB.Y, NewW, NewCl.Bottom), SB, src(Cl.Right, RB.Y, W, Cl.Bottom));
    }

    if (!DrawClient) return;
    TRect nc = NewCl;
    if (!RightBand) nc.Right = NewW;
    const TRect client = src(Cl.Left, Cl.Top, Cl.Right, Cl.Bottom);
    if (StretchEffect)
        StretchClient(B, nc, SB, client, StretchType);
    else
        TileArea(B, nc, SB, client);
}

// The one-dimensional builders: ends copied, the middle stretched or tiled.
enum class TEnds { Both, LeftOnly, None };

void BuildStrip(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewLen, bool Stretch, bool Horizontal, TEnds Ends)
{
    if (!B) return;
    if (Horizontal)
        B->SetSize(NewLen, R.Height());
    else
        B->SetSize(R.Width(), NewLen);
    if (!SB || SB->Empty()) return;
    const int across = Horizontal ? R.Height() : R.Width();
    // Rectangles along the strip's length: position a..b along, all across.
    auto dst = [&](int A, int Bm) { return Horizontal ? TRect(A, 0, Bm, across) : TRect(0, A, across, Bm); };
    auto src = [&](int A, int Bm) {
        return Horizontal ? TRect(A, R.Top, Bm, R.Bottom) : TRect(R.Left, A, R.Right, Bm);
    };
    const int start = Horizontal ? R.Left : R.Top, end = Horizontal ? R.Right : R.Bottom;
    if (Ends != TEnds::None && LO > 0) CopyPiece(B, dst(0, LO), SB, src(start, start + LO));
    if (Ends == TEnds::Both && RO > 0) CopyPiece(B, dst(NewLen - RO, NewLen), SB, src(end - RO, end));
    TRect mid = src(start + LO, end - RO);
    int len = Horizontal ? mid.Width() : mid.Height();
    if (len <= 0) {
        if (!Horizontal) return;  // an empty vertical middle draws nothing
        len = 1;
        mid.Right = mid.Left + 1;
    }
    const int from = Ends == TEnds::None ? 0 : LO;
    const int to = Ends == TEnds::Both ? NewLen - RO : NewLen;
    if (Stretch)
        StretchStrip(B, dst(from, to), SB, mid);
    else if (to - from >= 0)
        TilePiece(B, dst(from, to), SB, mid, Horizontal);
}

}  // namespace

void CreateSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt, TPoint NewRTPt,
                     TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB, TRect R, int NewW,
                     int NewH, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    BuildNinePiece(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPt, NewRTPt, NewLBPt, NewRBPt, NewClRect, B, SB, R, NewW, NewH,
                   DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType, true);
}

void CreateSkinImage2(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                      TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int NewW, int NewH, bool DrawClient, bool LeftStretch, bool TopStretch,
                      bool RightStretch, bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    BuildNinePiece(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPt, NewRTPt, NewLBPt, NewRBPt, NewClRect, B, SB, R, NewW, NewH,
                   DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType, true);
}

void CreateSkinImage3(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPt,
                      TPoint NewRTPt, TPoint NewLBPt, TPoint NewRBPt, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int NewW, int NewH, bool DrawClient, bool LeftStretch, bool TopStretch, bool,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    BuildNinePiece(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPt, NewRTPt, NewLBPt, NewRBPt, NewClRect, B, SB, R, NewW, NewH,
                   DrawClient, LeftStretch, TopStretch, false, BottomStretch, StretchEffect, StretchType, false);
}

void CreateStretchSkinImage(TBitmap* B, TBitmap* SB, TRect R, TRect ClRect, bool DrawClient)
{
    if (!B) return;
    const int newW = B->Width(), newH = B->Height();
    const TRect nc(ClRect.Left, ClRect.Top, ClRect.Right + newW - R.Width(), ClRect.Bottom + newH - R.Height());
    CreateSkinImage(ClRect.TopLeft(), TPoint(ClRect.Right, ClRect.Top), TPoint(ClRect.Left, ClRect.Bottom),
                    ClRect.BottomRight(), ClRect, nc.TopLeft(), TPoint(nc.Right, nc.Top), TPoint(nc.Left, nc.Bottom),
                    nc.BottomRight(), nc, B, SB, R, newW, newH, DrawClient, true, true, true, true, true, bsstFull);
}

void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool Stretch)
{
    BuildStrip(LO, RO, B, SB, R, NW, Stretch, true, TEnds::Both);
}

void CreateHSkinImage2(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool Stretch)
{
    BuildStrip(LO, RO, B, SB, R, NW, Stretch, true, TEnds::LeftOnly);
}

void CreateHSkinImage3(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool Stretch)
{
    BuildStrip(LO, RO, B, SB, R, NW, Stretch, true, TEnds::None);
}

void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, TRect R, int, int NH, bool Stretch)
{
    BuildStrip(TO, BO, B, SB, R, NH, Stretch, false, TEnds::Both);
}

void CreateSkinBorderImages(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl, TPoint NewLT, TPoint NewRT,
                            TPoint NewLB, TPoint NewRB, TRect NewCl, TBitmap* LeftB, TBitmap* TopB, TBitmap* RightB,
                            TBitmap* BottomB, TBitmap* SB, TRect R, int NewW, int NewH, bool LeftStretch,
                            bool TopStretch, bool RightStretch, bool BottomStretch)
{
    if (!SB || SB->Empty() || !LeftB || !TopB || !RightB || !BottomB) return;
    const int W = R.Width(), H = R.Height();
    auto src = [&R](int L, int T, int Rt, int Bm) { return TRect(L + R.Left, T + R.Top, Rt + R.Left, Bm + R.Top); };

    if (NewW > 0 && NewCl.Top > 0 && RT.X > LT.X) {
        const int h = NewCl.Top;
        TopB->SetSize(NewW, h);
        if (TopStretch)
            StretchStrip(TopB, TRect(NewLT.X, 0, NewRT.X, h), SB, src(LT.X, 0, RT.X, h));
        else
            TilePiece(TopB, TRect(0, 0, NewW, h), SB, src(LT.X, 0, RT.X, h), true);
        CopyPiece(TopB, TRect(0, 0, NewLT.X, h), SB, src(0, 0, LT.X, h));
        CopyPiece(TopB, TRect(NewRT.X, 0, NewW, h), SB, src(RT.X, 0, W, h));
    }
    const int d = NewH - NewCl.Bottom;
    if (NewW > 0 && d > 0 && RB.X > LB.X) {
        BottomB->SetSize(NewW, d);
        if (BottomStretch)
            StretchStrip(BottomB, TRect(NewLB.X, 0, NewRB.X, d), SB, src(LB.X, H - d, RB.X, H));
        else
            TilePiece(BottomB, TRect(0, 0, NewW, d), SB, src(LB.X, H - d, RB.X, H), true);
        CopyPiece(BottomB, TRect(0, 0, NewLB.X, d), SB, src(0, H - d, LB.X, H));
        CopyPiece(BottomB, TRect(NewRB.X, 0, NewW, d), SB, src(RB.X, H - d, W, H));
    }
    // The side strips lie between the top and bottom strips as they now are.
    const int m = NewH - BottomB->Height() - TopB->Height();
    auto side = [&](TBitmap* S, int w, int Left, int Right, TPoint A, TPoint Bp, bool Stretch) {
        S->SetSize(w, m);
        if (Stretch)
            StretchStrip(S, TRect(0, A.Y - Cl.Top, w, m + Bp.Y - Cl.Bottom), SB, src(Left, A.Y, Right, Bp.Y));
        else
            TilePiece(S, TRect(0, 0, w, m), SB, src(Left, A.Y, Right, Bp.Y), false);
        if (A.Y > Cl.Top) CopyPiece(S, TRect(0, 0, w, A.Y - Cl.Top), SB, src(Left, Cl.Top, Right, A.Y));
        if (Cl.Bottom > Bp.Y) CopyPiece(S, TRect(0, m + Bp.Y - Cl.Bottom, w, m), SB, src(Left, Bp.Y, Right, Cl.Bottom));
    };
    if (NewCl.Left > 0 && m > 0 && LB.Y > LT.Y) side(LeftB, NewCl.Left, 0, NewCl.Left, LT, LB, LeftStretch);
    if (NewW - NewCl.Right >= 1 && m >= 1 && RB.Y > RT.Y) side(RightB, NewW - NewCl.Right, Cl.Right, W, RT, RB, RightStretch);
}
