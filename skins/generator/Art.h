// A small anti-aliased painter for the program's authored pictures: straight-alpha RGBA
// pixels, shapes sampled 4 x 4 per pixel, text through the platform's font renderer.
// Everything it draws depends only on its inputs, so two runs give the same bytes.
#pragma once

#include <functional>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace skingen {

struct TRGBA {
    float R = 0, G = 0, B = 0, A = 0;
};

class TArt {
public:
    TArt(int AWidth, int AHeight);
    int Width() const { return FW; }
    int Height() const { return FH; }

    // Drawing happens relative to the origin and only inside the clip rectangle.
    void SetOrigin(int X, int Y) { FOX = X; FOY = Y; }
    void SetClip(const TRect& R) { FClip = R; }
    void ResetClip() { FClip = Rect(0, 0, FW, FH); }

    // Crisp fills of whole pixels.
    void FillRect(const TRect& R, TColor C, float Opacity = 1);
    void FrameRect(const TRect& R, TColor C, int Thickness = 1);
    // Anti-aliased shapes, coordinates in pixels (pixel centres at +0.5).
    void Shape(const std::function<bool(float X, float Y)>& Inside, float X0, float Y0, float X1, float Y1, TColor C,
               float Opacity = 1);
    void RoundRect(float X0, float Y0, float X1, float Y1, float Radius, TColor C, float Opacity = 1);
    // A rounded frame of the given thickness (the inside is left as it is).
    void RoundFrame(float X0, float Y0, float X1, float Y1, float Radius, float Thickness, TColor C);
    void Circle(float CX, float CY, float Radius, TColor C, float Opacity = 1);
    void Ring(float CX, float CY, float Radius, float Thickness, TColor C);
    void Polygon(const std::vector<std::pair<float, float>>& Points, TColor C, float Opacity = 1);
    // A line with round ends.
    void Line(float X0, float Y0, float X1, float Y1, float Width, TColor C, float Opacity = 1);
    // Text in the given face and pixel height (the cell height of the font), centred in R.
    void Text(const TRect& R, const String& S, TColor C, int FontHeight, bool Bold = false,
              const String& Face = "WenQuanYi Micro Hei");

    const TRGBA& At(int X, int Y) const { return FPix[size_t(Y) * FW + X]; }
    TRGBA& At(int X, int Y) { return FPix[size_t(Y) * FW + X]; }

    // A 24-bit bitmap: every pixel over Backdrop; where nothing was drawn, Empty.
    std::unique_ptr<TBitmap> ToBitmap(TColor Backdrop, TColor Empty) const;
    // A PNG picture with alpha.
    std::unique_ptr<TPngImage> ToPng() const;
    // Region R flattened over Backdrop; pixels left untouched become Key.
    void Flatten(const TRect& R, TColor Backdrop, TColor Key);

private:
    void Blend(int X, int Y, TColor C, float Coverage);
    int FW, FH;
    int FOX = 0, FOY = 0;
    TRect FClip;
    std::vector<TRGBA> FPix;
};

}  // namespace skingen
