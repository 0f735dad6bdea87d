// Rectangle predicates, two colour mixes and the text forms of skin rectangles and points.
#include "skin/core/bsUtils.h"

bool RectInRect(const TRect& R1, const TRect& R2)
{
    // Both corners tested with right and bottom excluded, so a rectangle is not inside itself.
    return R2.Contains(TPoint(R1.Left, R1.Top)) && R2.Contains(TPoint(R1.Right, R1.Bottom));
}

bool RectOverlapsRect(const TRect& R1, const TRect& R2)
{
    return R2.Contains(TPoint(R2.Left + 1, R1.Top)) || R2.Contains(TPoint(R2.Right - 1, R1.Bottom));
}

namespace {

// Splits at commas keeping only digits; converts up to MaxFields fields and ignores the rest.
int ParseDigitFields(const String& S, int* Out, int MaxFields)
{
    std::vector<String> fields(1);
    for (char c : S) {
        if (c == ',')
            fields.emplace_back();
        else if (c >= '0' && c <= '9')
            fields.back() += c;
    }
    int n = 0;
    for (; n < int(fields.size()) && n < MaxFields; ++n) Out[n] = StrToInt(fields[n]);
    if (n < MaxFields) StrToInt(String());  // too few fields: the missing one is not a number
    return n;
}

}  // namespace

void ParseRectText(const String& S, TRect& R)
{
    int v[4];
    ParseDigitFields(S, v, 4);
    R = TRect(v[0], v[1], v[2], v[3]);
}

void ParsePointText(const String& S, TPoint& P)
{
    int v[2];
    ParseDigitFields(S, v, 2);
    P = TPoint(v[0], v[1]);
}

TColor MixColors(TColor C1, TColor C2)
{
    const TColor a = ColorToRGB(C1), b = ColorToRGB(C2);
    return RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
               (GetBValue(a) + GetBValue(b)) >> 1);
}

TColor DarkenColor(TColor C, uint8_t Percent)
{
    const TColor c = ColorToRGB(C);
    auto dark = [Percent](int V) { return V - MulDiv(V, Percent, 100); };
    return RGB(dark(GetRValue(c)), dark(GetGValue(c)), dark(GetBValue(c)));
}
