// Basic value types shared by every area: strings, points, rectangles, colours, and
// the integer arithmetic whose rounding the drawing and stored values depend on.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

using String = std::string;  // UTF-8 text

struct TPoint {
    int X = 0, Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    constexpr bool operator==(const TSize&) const = default;
};

// Left/Top inclusive, Right/Bottom exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int L, int T, int R, int B) : Left(L), Top(T), Right(R), Bottom(B) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TRect Rect(int L, int T, int R, int B) { return {L, T, R, B}; }
constexpr TRect Bounds(int L, int T, int W, int H) { return {L, T, L + W, T + H}; }
constexpr TPoint Point(int X, int Y) { return {X, Y}; }

// TColor is $00BBGGRR; negative values with the high byte 0x80 name system colours.
using TColor = int32_t;
constexpr TColor RGB(int R, int G, int B) { return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16); }
constexpr int GetRValue(TColor C) { return C & 0xFF; }
constexpr int GetGValue(TColor C) { return (C >> 8) & 0xFF; }
constexpr int GetBValue(TColor C) { return (C >> 16) & 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// (A * B) / C with the 64-bit intermediate, rounded half away from zero; -1 when C is 0.
constexpr int MulDiv(int A, int B, int C)
{
    if (C == 0) return -1;
    int64_t p = int64_t(A) * B;
    bool neg = (p < 0) != (C < 0);
    int64_t ap = p < 0 ? -p : p, ac = C < 0 ? -int64_t(C) : C;
    int64_t q = (ap + ac / 2) / ac;
    return int(neg ? -q : q);
}

// Delphi's Round: nearest integer, ties to even.
inline int64_t Round(double X) { return int64_t(std::nearbyint(X)); }
// Delphi's Trunc: toward zero.
inline int64_t Trunc(double X) { return int64_t(X); }

// A small set of enumeration values (up to 64), the counterpart of a Pascal set:
// ComponentState().Contains(csLoading), S.Include(x), S + T, S * T, S - T.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> AItems) { for (E e : AItems) Include(e); }
    constexpr bool Contains(E AItem) const { return (FBits >> unsigned(AItem)) & 1u; }
    constexpr TSet& Include(E AItem) { FBits |= uint64_t(1) << unsigned(AItem); return *this; }
    constexpr TSet& Exclude(E AItem) { FBits &= ~(uint64_t(1) << unsigned(AItem)); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint64_t Bits() const { return FBits; }
    constexpr TSet operator+(TSet O) const { TSet r; r.FBits = FBits | O.FBits; return r; }
    constexpr TSet operator*(TSet O) const { TSet r; r.FBits = FBits & O.FBits; return r; }
    constexpr TSet operator-(TSet O) const { TSet r; r.FBits = FBits & ~O.FBits; return r; }
    constexpr TSet& operator+=(TSet O) { FBits |= O.FBits; return *this; }
    constexpr TSet& operator-=(TSet O) { FBits &= ~O.FBits; return *this; }
    constexpr bool operator==(const TSet&) const = default;

private:
    uint64_t FBits = 0;
};
