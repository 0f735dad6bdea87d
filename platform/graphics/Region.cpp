// Banded rectangle lists: construction, set operations and queries.
#include "platform/graphics/Region.h"

#include <algorithm>

namespace {

struct TSpan {
    int L, R;
    bool operator==(const TSpan&) const = default;
};

struct TBand {
    int Top, Bottom;
    std::vector<TSpan> Spans;
};

std::vector<TBand> ToBands(const std::vector<TRect>& Rects)
{
    std::vector<TBand> Bands;
    for (const TRect& R : Rects) {
        if (Bands.empty() || Bands.back().Top != R.Top) Bands.push_back({R.Top, R.Bottom, {}});
        Bands.back().Spans.push_back({R.Left, R.Right});
    }
    return Bands;
}

// Appends a band, merging it into the previous band when that one ends where this one
// starts and holds the same spans.
void PushBand(std::vector<TBand>& Out, int Top, int Bottom, std::vector<TSpan>&& Spans)
{
    if (Spans.empty() || Bottom <= Top) return;
    if (!Out.empty() && Out.back().Bottom == Top && Out.back().Spans == Spans) {
        Out.back().Bottom = Bottom;
        return;
    }
    Out.push_back({Top, Bottom, std::move(Spans)});
}

std::vector<TRect> FromBands(const std::vector<TBand>& Bands)
{
    std::vector<TRect> Out;
    for (const TBand& B : Bands)
        for (const TSpan& S : B.Spans) Out.push_back({S.L, B.Top, S.R, B.Bottom});
    return Out;
}

bool Apply(TRegion::TOp Op, bool InA, bool InB)
{
    switch (Op) {
    case TRegion::TOp::Or: return InA || InB;
    case TRegion::TOp::And: return InA && InB;
    case TRegion::TOp::Diff: return InA && !InB;
    case TRegion::TOp::Xor: return InA != InB;
    }
    return false;
}

std::vector<TSpan> CombineSpans(const std::vector<TSpan>& A, const std::vector<TSpan>& B, TRegion::TOp Op)
{
    std::vector<int> Xs;
    Xs.reserve(2 * (A.size() + B.size()));
    for (const TSpan& S : A) { Xs.push_back(S.L); Xs.push_back(S.R); }
    for (const TSpan& S : B) { Xs.push_back(S.L); Xs.push_back(S.R); }
    std::sort(Xs.begin(), Xs.end());
    Xs.erase(std::unique(Xs.begin(), Xs.end()), Xs.end());
    std::vector<TSpan> Out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < Xs.size(); ++i) {
        int x0 = Xs[i], x1 = Xs[i + 1];
        while (ia < A.size() && A[ia].R <= x0) ++ia;
        while (ib < B.size() && B[ib].R <= x0) ++ib;
        bool InA = ia < A.size() && A[ia].L <= x0;
        bool InB = ib < B.size() && B[ib].L <= x0;
        if (!Apply(Op, InA, InB)) continue;
        if (!Out.empty() && Out.back().R == x0) Out.back().R = x1;
        else Out.push_back({x0, x1});
    }
    return Out;
}

}  // namespace

TRegion::TRegion(const TRect& R)
{
    if (!R.IsEmpty()) FRects.push_back(R);
}

TRegion TRegion::FromRects(const std::vector<TRect>& Rects)
{
    std::vector<TRect> In;
    In.reserve(Rects.size());
    for (const TRect& R : Rects)
        if (!R.IsEmpty()) In.push_back(R);
    TRegion Result;
    if (In.empty()) return Result;
    std::sort(In.begin(), In.end(), [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
    std::vector<int> Ys;
    Ys.reserve(In.size() * 2);
    for (const TRect& R : In) { Ys.push_back(R.Top); Ys.push_back(R.Bottom); }
    std::sort(Ys.begin(), Ys.end());
    Ys.erase(std::unique(Ys.begin(), Ys.end()), Ys.end());

    std::vector<TBand> Bands;
    std::vector<const TRect*> Active;
    size_t Next = 0;
    for (size_t i = 0; i + 1 < Ys.size(); ++i) {
        int y0 = Ys[i], y1 = Ys[i + 1];
        std::erase_if(Active, [y0](const TRect* R) { return R->Bottom <= y0; });
        while (Next < In.size() && In[Next].Top <= y0) Active.push_back(&In[Next++]);
        if (Active.empty()) continue;
        std::vector<TSpan> Spans;
        Spans.reserve(Active.size());
        for (const TRect* R : Active) Spans.push_back({R->Left, R->Right});
        std::sort(Spans.begin(), Spans.end(), [](const TSpan& a, const TSpan& b) { return a.L < b.L; });
        std::vector<TSpan> Merged;
        for (const TSpan& S : Spans) {
            if (!Merged.empty() && S.L <= Merged.back().R) Merged.back().R = std::max(Merged.back().R, S.R);
            else Merged.push_back(S);
        }
        PushBand(Bands, y0, y1, std::move(Merged));
    }
    Result.FRects = FromBands(Bands);
    return Result;
}

TRect TRegion::Bounds() const
{
    if (FRects.empty()) return {};
    TRect B = FRects.front();
    B.Bottom = FRects.back().Bottom;
    for (const TRect& R : FRects) {
        B.Left = std::min(B.Left, R.Left);
        B.Right = std::max(B.Right, R.Right);
    }
    return B;
}

size_t TRegion::FirstBelow(int Y) const
{
    // Bottoms never decrease along the list: bands are sorted and do not overlap.
    auto It = std::upper_bound(FRects.begin(), FRects.end(), Y, [](int V, const TRect& R) { return V < R.Bottom; });
    return size_t(It - FRects.begin());
}

bool TRegion::Contains(TPoint P) const
{
    for (size_t i = FirstBelow(P.Y); i < FRects.size(); ++i) {
        const TRect& R = FRects[i];
        if (R.Top > P.Y) break;
        if (R.Contains(P)) return true;
    }
    return false;
}

bool TRegion::Intersects(const TRect& Q) const
{
    if (Q.IsEmpty()) return false;
    for (size_t i = FirstBelow(Q.Top); i < FRects.size(); ++i) {
        const TRect& R = FRects[i];
        if (R.Top >= Q.Bottom) break;
        if (R.Left < Q.Right && Q.Left < R.Right && R.Top < Q.Bottom && Q.Top < R.Bottom) return true;
    }
    return false;
}

void TRegion::Offset(int DX, int DY)
{
    for (TRect& R : FRects) {
        R.Left += DX; R.Right += DX;
        R.Top += DY; R.Bottom += DY;
    }
}

TRegion TRegion::Combine(const TRegion& A, const TRegion& B, TOp Op)
{
    // Quick answers that keep the common cases cheap.
    if (Op == TOp::And && (A.IsEmpty() || B.IsEmpty())) return {};
    if (B.IsEmpty() && Op != TOp::And) return A;
    if (A.IsEmpty()) return Op == TOp::Diff ? TRegion() : B;

    std::vector<TBand> BA = ToBands(A.FRects), BB = ToBands(B.FRects);
    std::vector<int> Ys;
    Ys.reserve(2 * (BA.size() + BB.size()));
    for (const TBand& b : BA) { Ys.push_back(b.Top); Ys.push_back(b.Bottom); }
    for (const TBand& b : BB) { Ys.push_back(b.Top); Ys.push_back(b.Bottom); }
    std::sort(Ys.begin(), Ys.end());
    Ys.erase(std::unique(Ys.begin(), Ys.end()), Ys.end());

    static const std::vector<TSpan> None;
    std::vector<TBand> Out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < Ys.size(); ++i) {
        int y0 = Ys[i], y1 = Ys[i + 1];
        while (ia < BA.size() && BA[ia].Bottom <= y0) ++ia;
        while (ib < BB.size() && BB[ib].Bottom <= y0) ++ib;
        const std::vector<TSpan>& SA = (ia < BA.size() && BA[ia].Top <= y0) ? BA[ia].Spans : None;
        const std::vector<TSpan>& SB = (ib < BB.size() && BB[ib].Top <= y0) ? BB[ib].Spans : None;
        if (SA.empty() && SB.empty()) continue;
        PushBand(Out, y0, y1, CombineSpans(SA, SB, Op));
    }
    TRegion R;
    R.FRects = FromBands(Out);
    return R;
}

bool TRegion::operator==(const TRegion& B) const { return FRects == B.FRects; }

long long TRegion::Area() const
{
    long long A = 0;
    for (const TRect& R : FRects) A += (long long)R.Width() * R.Height();
    return A;
}
