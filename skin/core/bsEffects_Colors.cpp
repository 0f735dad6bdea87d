// Colour arithmetic of skin effects, rectangle texts, stream strings and bitmap links.
#include "skin/core/bsEffects.h"

#include <algorithm>
#include <cmath>

namespace {

inline uint32_t ClampByte(int64_t V) { return uint32_t(V < 0 ? 0 : V > 255 ? 255 : V); }

TbsColor PackClamped(int64_t R, int64_t G, int64_t B, uint8_t A)
{
    return bsPackARGB(A, ClampByte(R), ClampByte(G), ClampByte(B));
}

// Hue or saturation moved by Delta steps of 1/255 with one wrap each way.
float Wrapped(float V, int Delta)
{
    int64_t v = Round(double(V) * 255) + Delta;
    if (v > 255) v -= 255;
    if (v < 0) v += 255;
    return float(double(v) / 255);
}

double HueChannel(double M1, double M2, double H)
{
    H -= std::floor(H);
    if (6 * H < 1) return M1 + (M2 - M1) * 6 * H;
    if (2 * H < 1) return M2;
    if (3 * H < 2) return M1 + (M2 - M1) * (2.0 / 3 - H) * 6;
    return M1;
}

}  // namespace

TbsColor ColorToARGB(TColor Color, uint8_t Alpha)
{
    const TColor c = ColorToRGB(Color);
    return bsPackARGB(Alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

TbsColor ColorRefToARGB(uint32_t ColorRef)
{
    return bsPackARGB(255, ColorRef & 0xFF, (ColorRef >> 8) & 0xFF, (ColorRef >> 16) & 0xFF);
}

TbsColor MakeARGB(int16_t R, int16_t G, int16_t B, uint8_t A) { return PackClamped(R, G, B, A); }

void ARGBToHSL(TbsColor Color, float& H, float& S, float& L)
{
    const float r = float(bsRedOf(Color) / 255.0), g = float(bsGreenOf(Color) / 255.0),
                b = float(bsBlueOf(Color) / 255.0);
    const float mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
    L = float((double(mx) + mn) / 2);
    if (mx == mn) {
        H = S = 0;
        return;
    }
    const double d = double(mx) - mn;
    S = float(L >= 0.5f ? d / (2 - double(mx) - mn) : d / (double(mx) + mn));
    double h;
    if (mx == r)
        h = (double(g) - b) / d;
    else if (mx != g)
        h = (double(r) - g) / d + 4;
    else
        h = (double(b) - r) / d + 2;
    h /= 6;
    if (h < 0) h += 1;
    H = float(h);
}

TbsColor HSLToARGB(float H, float S, float L)
{
    if (S == 0) {
        const int64_t v = Round(double(L) * 255);
        return PackClamped(v, v, v, 255);
    }
    const float m2 = float(L <= 0.5f ? double(L) * (1 + double(S)) : double(L) + S - double(L) * S);
    const float m1 = float(2 * double(L) - m2);
    const int64_t r = Round(HueChannel(m1, m2, double(H) + 1.0 / 3) * 255);
    const int64_t g = Round(HueChannel(m1, m2, H) * 255);
    const int64_t b = Round(HueChannel(m1, m2, double(H) - 1.0 / 3) * 255);
    return PackClamped(r, g, b, 255);
}

TbsColor SetHueOfColor(TbsColor Color, int Hue)
{
    float h, s, l;
    ARGBToHSL(Color, h, s, l);
    if (Hue < 0) Hue = 0;
    if (Hue > 255) Hue = 255;
    return HSLToARGB(float(Hue / 255.0), s, l);
}

TbsColor ChangeSaturationOfColor(TbsColor Color, int Delta)
{
    float h, s, l;
    ARGBToHSL(Color, h, s, l);
    return HSLToARGB(h, Wrapped(s, Delta), l);
}

TbsColor ChangeHueOfColor(TbsColor Color, int Delta)
{
    float h, s, l;
    ARGBToHSL(Color, h, s, l);
    return HSLToARGB(Wrapped(h, Delta), s, l);
}

TbsColor ChangeBrightnessOfColor(TbsColor Color, int Delta)
{
    return PackClamped(int64_t(bsRedOf(Color)) + Delta, int64_t(bsGreenOf(Color)) + Delta,
                       int64_t(bsBlueOf(Color)) + Delta, 255);
}

// ---- Rectangle texts ----------------------------------------------------------------------

void NextRectToken(String& Text, String& Token)
{
    Token.clear();
    size_t i = 0;
    for (; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == ' ' || c == '(' || c == ')' || c == ',' || c == ':' || c == ';' || c == '=') {
            ++i;
            break;
        }
        Token += c;
    }
    Text = Trim(Text.substr(i));
    Token = Trim(Token);
}

TRect TextToRect(const String& Text)
{
    String rest = Text, token;
    int v[4];
    for (int& n : v) {
        NextRectToken(rest, token);
        if (!TryStrToInt(token, n)) return TRect(0, 0, 0, 0);
    }
    return TRect(v[0], v[1], v[2], v[3]);
}

// ---- Stream strings -----------------------------------------------------------------------

void WriteStreamString(TStream* Stream, const String& S)
{
    const int32_t n = int32_t(S.size());
    Stream->WriteBuffer(&n, 4);
    if (n > 0) Stream->WriteBuffer(S.data(), n);
}

String ReadStreamString(TStream* Stream)
{
    int32_t n = 0;
    Stream->ReadBuffer(&n, 4);
    if (n < 0 || n > Stream->Size() - Stream->Position()) throw EReadError("Stream read error");
    String s(size_t(n), '\0');
    if (n > 0) Stream->ReadBuffer(s.data(), n);
    return s;
}

// ---- TbsBitmapLink ------------------------------------------------------------------------

void TbsBitmapLink::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsBitmapLink*>(Source)) {
        FImage = src->FImage;
        FRect = src->FRect;
        FName = src->FName;
        FMaskedBorder = src->FMaskedBorder;
        FMaskedAngles = src->FMaskedAngles;
        FMasked = src->FMasked;
        return;
    }
    TPersistent::Assign(Source);
}

void TbsBitmapLink::Draw(TbsBitmap* Bitmap, int X, int Y)
{
    if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0) FImage->Draw(Bitmap, X, Y, FRect);
}

void TbsBitmapLink::Draw(TCanvas* Canvas, int X, int Y)
{
    if (FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0) FImage->Draw(Canvas, X, Y, FRect);
}

void TbsBitmapLink::CheckingMasked() { CheckingMasked(TRect(0, 0, 0, 0)); }

void TbsBitmapLink::CheckingMasked(const TRect& Margin)
{
    FMasked = FMaskedBorder = FMaskedAngles = false;
    // A pixel counts as transparent when it is not 0x33333333 and not fully opaque; points
    // outside the image read as 0.
    auto transparentAt = [this](int X, int Y) {
        TbsColor v = 0;
        if (FImage && FImage->Bits() && X >= 0 && Y >= 0 && X < FImage->Width() && Y < FImage->Height())
            v = *FImage->PixelAddress(X, Y);
        return v != 0x33333333u && (v == bsTransparentColor || bsAlphaOf(v) < 255);
    };
    const int w = FRect.Width(), h = FRect.Height();
    const int ml = Margin.Left, mt = Margin.Top, mr = Margin.Right, mb = Margin.Bottom;
    const bool noMargins = ml == 0 && mt == 0 && mr == 0 && mb == 0;
    const TRect corners[] = {TRect(0, 0, ml, mt), TRect(w - mr, 0, w, mt), TRect(w - mr, h - mb, w, h),
                             TRect(0, h - mb, ml, h)};
    const TRect edges[] = {TRect(ml, 0, w - mr, mt), TRect(ml, h - mb, w - mr, h), TRect(0, mt, ml, h - mb),
                           TRect(w - mr, mt, w, h - mb)};
    const TRect centre(ml, mt, w - mr, h - mb);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!transparentAt(FRect.Left + x, FRect.Top + y)) continue;
            if (noMargins) {
                FMasked = true;
                return;
            }
            const TPoint p(x, y);
            for (const TRect& r : corners)
                if (r.Contains(p)) FMaskedAngles = true;
            for (const TRect& r : edges)
                if (r.Contains(p)) FMaskedBorder = true;
            if (centre.Contains(p)) FMasked = true;
        }
}

void TbsBitmapLink::LoadFromStream(TStream* Stream)
{
    FName = ReadStreamString(Stream);
    int32_t v[4];
    Stream->ReadBuffer(v, sizeof(v));
    FRect = TRect(v[0], v[1], v[2], v[3]);
}

void TbsBitmapLink::SaveToStream(TStream* Stream) const
{
    WriteStreamString(Stream, FName);
    const int32_t v[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
    Stream->WriteBuffer(v, sizeof(v));
}
