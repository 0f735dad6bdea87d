// Regions as banded rectangle lists.
//
// A region is a set of pixels stored as rectangles sorted by top, then left.  The
// rectangles are grouped in bands: all rectangles of a band share the same top and
// bottom, do not touch or overlap each other, and two vertically adjacent bands never
// hold the same list of spans (they are merged).  So two equal pixel sets always have
// the same rectangle list, and the list is what XShape and RGNDATA want.
#pragma once

#include <vector>

#include "platform/system/Types.h"

class TRegion {
public:
    enum class TOp { Or, And, Diff, Xor };

    TRegion() = default;
    explicit TRegion(const TRect& R);
    // The union of any rectangles (overlapping, unsorted, empty ones ignored).
    static TRegion FromRects(const std::vector<TRect>& Rects);

    bool IsEmpty() const { return FRects.empty(); }
    const std::vector<TRect>& Rects() const { return FRects; }
    TRect Bounds() const;                     // (0,0,0,0) when empty
    bool Contains(TPoint P) const;
    bool Contains(int X, int Y) const { return Contains(TPoint(X, Y)); }
    bool Intersects(const TRect& R) const;
    bool IsRect() const { return FRects.size() == 1; }
    // Index of the first rectangle whose bottom lies below row Y (the start of the band
    // that holds Y, when one does); Rects().size() when none.
    size_t FirstBelow(int Y) const;

    void Offset(int DX, int DY);
    TRegion Offsetted(int DX, int DY) const { TRegion R = *this; R.Offset(DX, DY); return R; }

    static TRegion Combine(const TRegion& A, const TRegion& B, TOp Op);
    TRegion operator|(const TRegion& B) const { return Combine(*this, B, TOp::Or); }
    TRegion operator&(const TRegion& B) const { return Combine(*this, B, TOp::And); }
    TRegion operator-(const TRegion& B) const { return Combine(*this, B, TOp::Diff); }
    TRegion operator^(const TRegion& B) const { return Combine(*this, B, TOp::Xor); }
    TRegion& operator|=(const TRegion& B) { return *this = *this | B; }
    TRegion& operator&=(const TRegion& B) { return *this = *this & B; }
    TRegion& operator-=(const TRegion& B) { return *this = *this - B; }

    bool operator==(const TRegion& B) const;

    // Number of pixels covered (for tests and sanity checks).
    long long Area() const;

private:
    std::vector<TRect> FRects;
};
