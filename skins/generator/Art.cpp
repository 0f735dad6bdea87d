#include "skins/generator/Art.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {
float Ch(TColor C, int Shift) { return float((C >> Shift) & 0xFF) / 255.0f; }
uint8_t Byte(float V) { return uint8_t(std::lround(std::clamp(V, 0.0f, 1.0f) * 255.0f)); }
constexpr int SS = 4;  // samples per pixel along each axis
}  // namespace

TArt::TArt(int AWidth, int AHeight) : FW(AWidth), FH(AHeight), FClip(Rect(0, 0, AWidth, AHeight))
{
    FPix.resize(size_t(FW) * size_t(FH));
}

void TArt::Blend(int X, int Y, TColor C, float Coverage)
{
    if (Coverage <= 0) return;
    if (X < FClip.Left || Y < FClip.Top || X >= FClip.Right || Y >= FClip.Bottom) return;
    if (X < 0 || Y < 0 || X >= FW || Y >= FH) return;
    TRGBA& D = At(X, Y);
    const float SA = std::min(Coverage, 1.0f);
    const float OA = SA + D.A * (1 - SA);
    if (OA <= 0) return;
    auto Mix = [&](float S, float DC) { return (S * SA + DC * D.A * (1 - SA)) / OA; };
    D.R = Mix(Ch(C, 0), D.R);
    D.G = Mix(Ch(C, 8), D.G);
    D.B = Mix(Ch(C, 16), D.B);
    D.A = OA;
}

void TArt::FillRect(const TRect& R, TColor C, float Opacity)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) Blend(X + FOX, Y + FOY, C, Opacity);
}

void TArt::FrameRect(const TRect& R, TColor C, int T)
{
    FillRect(Rect(R.Left, R.Top, R.Right, R.Top + T), C);
    FillRect(Rect(R.Left, R.Bottom - T, R.Right, R.Bottom), C);
    FillRect(Rect(R.Left, R.Top + T, R.Left + T, R.Bottom - T), C);
    FillRect(Rect(R.Right - T, R.Top + T, R.Right, R.Bottom - T), C);
}

void TArt::Shape(const std::function<bool(float, float)>& Inside, float X0, float Y0, float X1, float Y1, TColor C,
                 float Opacity)
{
    const int L = int(std::floor(X0)), T = int(std::floor(Y0));
    const int R = int(std::ceil(X1)), B = int(std::ceil(Y1));
    for (int Y = T; Y < B; ++Y)
        for (int X = L; X < R; ++X) {
            int N = 0;
            for (int SY = 0; SY < SS; ++SY)
                for (int SX = 0; SX < SS; ++SX)
                    if (Inside(float(X) + (float(SX) + 0.5f) / SS, float(Y) + (float(SY) + 0.5f) / SS)) ++N;
            Blend(X + FOX, Y + FOY, C, Opacity * float(N) / float(SS * SS));
        }
}

static bool InRound(float X, float Y, float X0, float Y0, float X1, float Y1, float Rad)
{
    if (X < X0 || X > X1 || Y < Y0 || Y > Y1) return false;
    const float CX = std::clamp(X, X0 + Rad, X1 - Rad), CY = std::clamp(Y, Y0 + Rad, Y1 - Rad);
    const float DX = X - CX, DY = Y - CY;
    return DX * DX + DY * DY <= Rad * Rad;
}

void TArt::RoundRect(float X0, float Y0, float X1, float Y1, float Rad, TColor C, float Opacity)
{
    Shape([=](float X, float Y) { return InRound(X, Y, X0, Y0, X1, Y1, Rad); }, X0, Y0, X1, Y1, C, Opacity);
}

void TArt::RoundFrame(float X0, float Y0, float X1, float Y1, float Rad, float T, TColor C)
{
    Shape(
        [=](float X, float Y) {
            return InRound(X, Y, X0, Y0, X1, Y1, Rad) &&
                   !InRound(X, Y, X0 + T, Y0 + T, X1 - T, Y1 - T, std::max(0.0f, Rad - T));
        },
        X0, Y0, X1, Y1, C);
}

void TArt::Circle(float CX, float CY, float Rad, TColor C, float Opacity)
{
    Shape([=](float X, float Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Rad * Rad; }, CX - Rad, CY - Rad,
          CX + Rad, CY + Rad, C, Opacity);
}

void TArt::Ring(float CX, float CY, float Rad, float T, TColor C)
{
    Shape(
        [=](float X, float Y) {
            const float D = (X - CX) * (X - CX) + (Y - CY) * (Y - CY);
            return D <= Rad * Rad && D >= (Rad - T) * (Rad - T);
        },
        CX - Rad, CY - Rad, CX + Rad, CY + Rad, C);
}

void TArt::Polygon(const std::vector<std::pair<float, float>>& P, TColor C, float Opacity)
{
    if (P.size() < 3) return;
    float X0 = P[0].first, X1 = X0, Y0 = P[0].second, Y1 = Y0;
    for (auto& Q : P) {
        X0 = std::min(X0, Q.first);
        X1 = std::max(X1, Q.first);
        Y0 = std::min(Y0, Q.second);
        Y1 = std::max(Y1, Q.second);
    }
    Shape(
        [&P](float X, float Y) {
            bool In = false;
            for (size_t I = 0, J = P.size() - 1; I < P.size(); J = I++) {
                const auto& A = P[I];
                const auto& B = P[J];
                if ((A.second > Y) != (B.second > Y) &&
                    X < (B.first - A.first) * (Y - A.second) / (B.second - A.second) + A.first)
                    In = !In;
            }
            return In;
        },
        X0, Y0, X1, Y1, C, Opacity);
}

void TArt::Line(float X0, float Y0, float X1, float Y1, float W, TColor C, float Opacity)
{
    const float H = W / 2;
    const float DX = X1 - X0, DY = Y1 - Y0, L2 = DX * DX + DY * DY;
    Shape(
        [=](float X, float Y) {
            float T = L2 > 0 ? ((X - X0) * DX + (Y - Y0) * DY) / L2 : 0;
            T = std::clamp(T, 0.0f, 1.0f);
            const float PX = X0 + T * DX - X, PY = Y0 + T * DY - Y;
            return PX * PX + PY * PY <= H * H;
        },
        std::min(X0, X1) - H, std::min(Y0, Y1) - H, std::max(X0, X1) + H, std::max(Y0, Y1) + H, C, Opacity);
}

void TArt::Text(const TRect& R, const String& S, TColor C, int FontHeight, bool Bold, const String& Face)
{
    // White text on black; the red channel is the coverage.
    TBitmap B(R.Width(), R.Height());
    TCanvas* K = B.Canvas();
    K->Brush()->SetColor(clBlack);
    K->FillRect(Rect(0, 0, R.Width(), R.Height()));
    K->Font()->SetName(Face);
    K->Font()->SetHeight(FontHeight);
    K->Font()->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
    K->Font()->SetColor(clWhite);
    K->Brush()->SetStyle(bsClear);
    const TSize E = K->TextExtent(S);
    K->TextOut((R.Width() - E.cx) / 2, (R.Height() - E.cy) / 2, S);
    for (int Y = 0; Y < R.Height(); ++Y)
        for (int X = 0; X < R.Width(); ++X) {
            const TColor P = K->Pixels(X, Y);
            Blend(R.Left + X + FOX, R.Top + Y + FOY, C, float(P & 0xFF) / 255.0f);
        }
}

void TArt::Flatten(const TRect& R, TColor Backdrop, TColor Key)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            TRGBA& P = At(X, Y);
            if (P.A <= 0) {
                P = {Ch(Key, 0), Ch(Key, 8), Ch(Key, 16), 1};
                continue;
            }
            P.R = P.R * P.A + Ch(Backdrop, 0) * (1 - P.A);
            P.G = P.G * P.A + Ch(Backdrop, 8) * (1 - P.A);
            P.B = P.B * P.A + Ch(Backdrop, 16) * (1 - P.A);
            P.A = 1;
        }
}

std::unique_ptr<TBitmap> TArt::ToBitmap(TColor Backdrop, TColor Empty) const
{
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(FW, FH);
    for (int Y = 0; Y < FH; ++Y) {
        auto* Row = static_cast<uint8_t*>(B->ScanLine(Y));
        for (int X = 0; X < FW; ++X) {
            const TRGBA& P = At(X, Y);
            float R, G, Bl;
            if (P.A <= 0) {
                R = Ch(Empty, 0), G = Ch(Empty, 8), Bl = Ch(Empty, 16);
            } else {
                R = P.R * P.A + Ch(Backdrop, 0) * (1 - P.A);
                G = P.G * P.A + Ch(Backdrop, 8) * (1 - P.A);
                Bl = P.B * P.A + Ch(Backdrop, 16) * (1 - P.A);
            }
            Row[X * 3 + 0] = Byte(Bl);
            Row[X * 3 + 1] = Byte(G);
            Row[X * 3 + 2] = Byte(R);
        }
    }
    return B;
}

std::unique_ptr<TPngImage> TArt::ToPng() const
{
    auto P = std::make_unique<TPngImage>(COLOR_RGBALPHA, FW, FH);
    P->CompressionLevel = 9;
    for (int Y = 0; Y < FH; ++Y) {
        uint8_t* Row = P->Scanline(Y);
        uint8_t* Alpha = P->AlphaScanline(Y);
        for (int X = 0; X < FW; ++X) {
            const TRGBA& Q = At(X, Y);
            const bool None = Q.A <= 0;
            Row[X * 3 + 0] = None ? 0 : Byte(Q.B);
            Row[X * 3 + 1] = None ? 0 : Byte(Q.G);
            Row[X * 3 + 2] = None ? 0 : Byte(Q.R);
            Alpha[X] = Byte(Q.A);
        }
    }
    return P;
}

}  // namespace skingen
