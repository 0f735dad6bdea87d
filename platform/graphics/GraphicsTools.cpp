// Fonts, pens and brushes of the canvas.
#include <cstring>

#include "platform/graphics/Graphics.h"

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

// ---- TFont -----------------------------------------------------------------------------------

TFont::TFont() : FColor(clWindowText) {}

TFont::~TFont()
{
    if (FHandle) DeleteObject(FHandle);
}

void TFont::Modified()
{
    if (FHandle) {
        DeleteObject(FHandle);   // a DC that still uses it keeps it until it lets go
        FHandle = nullptr;
    }
    Changed();
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        LOGFONT Lf;
        Lf.lfHeight = FHeight;
        Lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        Lf.lfItalic = FStyle.Contains(fsItalic);
        Lf.lfUnderline = FStyle.Contains(fsUnderline);
        Lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        Lf.lfCharSet = FCharset;
        std::strncpy(Lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle = CreateFontIndirect(&Lf);
    }
    return FHandle;
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* F = dynamic_cast<TFont*>(Source)) {
        if (F == this) return;
        FName = F->FName;
        FHeight = F->FHeight;
        FStyle = F->FStyle;
        FColor = F->FColor;
        FCharset = F->FCharset;
        FPitch = F->FPitch;
        Modified();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const String& V)
{
    if (V.empty() || V == FName) return;
    FName = V;
    Modified();
}

void TFont::SetHeight(int V)
{
    if (V == FHeight) return;
    FHeight = V;
    Modified();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int V) { SetHeight(-MulDiv(V, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles V)
{
    if (V == FStyle) return;
    FStyle = V;
    Modified();
}

void TFont::SetColor(TColor V)
{
    if (V == FColor) return;
    FColor = V;
    Changed();   // the colour is not part of the font handle
}

void TFont::SetCharset(TFontCharset V)
{
    if (V == FCharset) return;
    FCharset = V;
    Modified();
}

void TFont::SetPitch(TFontPitch V)
{
    if (V == FPitch) return;
    FPitch = V;
    Modified();
}

// ---- TPen --------------------------------------------------------------------------------------

TPen::~TPen()
{
    if (FHandle) DeleteObject(FHandle);
}

void TPen::Modified()
{
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    Changed();
}

HPEN TPen::Handle()
{
    if (!FHandle) {
        static const int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle = CreatePen(Styles[FStyle], FWidth, COLORREF(ColorToRGB(FColor)));
    }
    return FHandle;
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* P = dynamic_cast<TPen*>(Source)) {
        if (P == this) return;
        FColor = P->FColor;
        FWidth = P->FWidth;
        FStyle = P->FStyle;
        FMode = P->FMode;
        Modified();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor V)
{
    if (V == FColor) return;
    FColor = V;
    Modified();
}

void TPen::SetWidth(int V)
{
    if (V < 0 || V == FWidth) return;
    FWidth = V;
    Modified();
}

void TPen::SetStyle(TPenStyle V)
{
    if (V == FStyle) return;
    FStyle = V;
    Modified();
}

void TPen::SetMode(TPenMode V)
{
    if (V == FMode) return;
    FMode = V;
    Changed();
}

// ---- TBrush -------------------------------------------------------------------------------------

TBrush::~TBrush()
{
    if (FHandle) DeleteObject(FHandle);
}

void TBrush::Modified()
{
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (!FHandle) {
        LOGBRUSH Lb;
        Lb.lbStyle = FStyle == bsClear ? BS_NULL : BS_SOLID;
        Lb.lbColor = COLORREF(ColorToRGB(FColor));
        FHandle = CreateBrushIndirect(&Lb);
    }
    return FHandle;
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* B = dynamic_cast<TBrush*>(Source)) {
        if (B == this) return;
        FColor = B->FColor;
        FStyle = B->FStyle;
        Modified();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor V)
{
    // clNone makes the brush clear; any other colour makes a clear brush solid again.
    TBrushStyle S = V == clNone ? bsClear : FStyle == bsClear ? bsSolid : FStyle;
    if (V == FColor && S == FStyle) return;
    FColor = V;
    FStyle = S;
    Modified();
}

void TBrush::SetStyle(TBrushStyle V)
{
    if (V == FStyle) return;
    FStyle = V;
    Modified();
}
