// Glyph and caption layout and the text drawing functions of skinned parts.
#include "skin/core/bsUtils.h"

#include "platform/graphics/ImgList.h"

namespace {

// Byte length of the last UTF-8 character of S (0 for an empty text).
size_t LastCharBytes(const String& S)
{
    if (S.empty()) return 0;
    size_t n = 1;
    while (n < S.size() && n < 4 && (uint8_t(S[S.size() - n]) & 0xC0) == 0x80) ++n;
    return n;
}

// The characters of S, each as its UTF-8 bytes.
std::vector<String> Characters(const String& S)
{
    std::vector<String> out;
    for (size_t i = 0; i < S.size();) {
        size_t n = 1;
        const uint8_t b = uint8_t(S[i]);
        if (b >= 0xF0) n = 4;
        else if (b >= 0xE0) n = 3;
        else if (b >= 0xC0) n = 2;
        n = std::min(n, S.size() - i);
        out.push_back(S.substr(i, n));
        i += n;
    }
    return out;
}

template <typename Measure>
void CutToWidth(String& Text, int MaxWidth, Measure Width)
{
    if (Width(Text) <= MaxWidth) return;
    while (!Text.empty()) {
        Text.erase(Text.size() - LastCharBytes(Text));
        if (Width(Text + "...") <= MaxWidth) break;
    }
    Text += "...";
}

void DrawSingle(TCanvas* Canvas, const String& Text, TRect R, UINT Align)
{
    if (Text.empty()) return;
    if (IsOddFontHeight(Canvas)) --R.Top;
    DrawWideText(Canvas, Text, R, DT_SINGLELINE | DT_VCENTER | Align);
}

}  // namespace

bool IsOddFontHeight(TCanvas* Canvas)
{
    const int h = Canvas->Font()->Height();
    return h != 2 * (h / 2);
}

// ---- Layout -------------------------------------------------------------------------------

void CalcGlyphLayout(TbsButtonLayout Layout, const TRect& R, int GlyphWidth, int GlyphHeight, int TextWidth,
                     int TextHeight, int Spacing, int Margin, TPoint& GlyphPos, TPoint& TextPos)
{
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    if (GlyphWidth == 0) Spacing = 0;
    const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    if (horizontal) {
        GlyphPos.Y = cy - GlyphHeight / 2;
        TextPos.Y = cy - TextHeight / 2;
    } else {
        GlyphPos.X = cx - GlyphWidth / 2;
        TextPos.X = cx - TextWidth / 2;
    }
    if (Margin != -1) {
        switch (Layout) {
        case blGlyphLeft:
            GlyphPos.X = R.Left + Margin;
            TextPos.X = GlyphPos.X + GlyphWidth + Spacing;
            break;
        case blGlyphRight:
            GlyphPos.X = R.Right - GlyphWidth - Margin;
            TextPos.X = GlyphPos.X - Spacing - TextWidth;
            break;
        case blGlyphTop:
            GlyphPos.Y = R.Top + Margin;
            TextPos.Y = GlyphPos.Y + GlyphHeight + Spacing;
            break;
        case blGlyphBottom:
            GlyphPos.Y = R.Bottom - GlyphHeight - Margin;
            TextPos.Y = GlyphPos.Y - Spacing - TextHeight;
            break;
        }
        return;
    }
    const int hw = (GlyphWidth + TextWidth + Spacing) / 2, hh = (TextHeight + GlyphHeight + Spacing) / 2;
    switch (Layout) {
    case blGlyphLeft:
        GlyphPos.X = cx - hw;
        TextPos.X = cx + hw - TextWidth;
        break;
    case blGlyphRight:
        TextPos.X = cx - hw;
        GlyphPos.X = cx + hw - GlyphWidth;
        break;
    case blGlyphTop:
        GlyphPos.Y = cy - hh;
        TextPos.Y = cy + hh - TextHeight;
        break;
    case blGlyphBottom:
        TextPos.Y = cy - hh;
        GlyphPos.Y = cy + hh - GlyphHeight;
        break;
    }
}

void DrawGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, int NumGlyphs, int GlyphNum)
{
    if (!Glyph || Glyph->Empty() || NumGlyphs <= 0) return;
    const int w = Glyph->Width() / NumGlyphs, h = Glyph->Height();
    if (w <= 0) return;
    TBitmap part;
    part.SetPixelFormat(pf32bit);
    part.SetSize(w, h);
    part.Canvas()->CopyRect(TRect(0, 0, w, h), Glyph->Canvas(), Bounds((GlyphNum - 1) * w, 0, w, h));
    part.SetTransparentMode(tmAuto);
    part.SetTransparent(true);
    Canvas->Draw(X, Y, &part);
}

namespace {

// The shared body of the glyph-and-caption functions.  Draw(X, Y) draws the glyph; a glyph
// of no width draws nothing and the caption stands alone.
template <typename DrawFn>
void DrawPictureAndText(TCanvas* Canvas, const TRect& R, int Margin, int Spacing, TbsButtonLayout Layout,
                        const String& Caption, int GW, int GH, DrawFn Draw, bool ADown, bool ADrawColorMarker,
                        TColor AColorMarkerValue, UINT TextAlign, const TRect& BareMarker)
{
    int tw = 0, th = 0;
    if (!Caption.empty()) {
        TRect m(0, 0, R.Width(), R.Height());
        if (Layout == blGlyphLeft || Layout == blGlyphRight)
            m.Right -= GW;
        else
            m.Bottom -= GH;
        DrawWideText(Canvas, Caption, m, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        tw = m.Width();
        th = m.Height();
    }
    Canvas->Brush()->SetStyle(bsClear);
    TPoint gp, tp;
    CalcGlyphLayout(Layout, R, GW, GH, tw, th, Spacing, Margin, gp, tp);
    if (ADown) {
        ++gp.X, ++gp.Y;
        ++tp.X, ++tp.Y;
    }
    TRect tr(tp.X, tp.Y, tp.X + tw + 2, tp.Y + th);
    if (!Caption.empty()) {
        if (IsOddFontHeight(Canvas)) --tr.Top;
        TRect d = tr;
        DrawWideText(Canvas, Caption, d, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | TextAlign);
    }
    Canvas->Pen()->SetColor(AColorMarkerValue);
    if (GW > 0) {
        Draw(gp.X, gp.Y);
        if (ADrawColorMarker)
            for (int d = -2; d <= 0; ++d) {
                Canvas->MoveTo(gp.X, gp.Y + GH + d);
                Canvas->LineTo(gp.X + GW, gp.Y + GH + d);
            }
    } else if (ADrawColorMarker) {
        if (!Caption.empty()) {
            for (int d = -1; d <= 1; ++d) {
                Canvas->MoveTo(tr.Left, tr.Bottom + d);
                Canvas->LineTo(tr.Right, tr.Bottom + d);
            }
        } else {
            Canvas->Brush()->SetColor(AColorMarkerValue);
            Canvas->FillRect(BareMarker);
        }
    }
}

void ImageAndText(TCanvas* Canvas, const TRect& R, int Margin, int Spacing, TbsButtonLayout Layout,
                  const String& Caption, int ImageIndex, TCustomImageList* ImageList, bool ADown, bool AEnabled,
                  bool ADrawColorMarker, TColor AColorMarkerValue, UINT TextAlign)
{
    const bool hasImage = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
    DrawPictureAndText(
        Canvas, R, Margin, Spacing, Layout, Caption, hasImage ? ImageList->Width() : 0,
        hasImage ? ImageList->Height() : 0,
        [&](int X, int Y) { ImageList->Draw(Canvas, X, Y, ImageIndex, AEnabled); }, ADown, ADrawColorMarker,
        AColorMarkerValue, TextAlign, TRect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
}

}  // namespace

void DrawImageAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      int ImageIndex, TCustomImageList* ImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue)
{
    ImageAndText(Canvas, R, Margin, Spacing, Layout, Caption, ImageIndex, ImageList, ADown, AEnabled, ADrawColorMarker,
                 AColorMarkerValue, DT_CENTER);
}

void DrawImageAndText2(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout,
                       const String& Caption, int ImageIndex, TCustomImageList* ImageList, bool ADown, bool AEnabled,
                       bool ADrawColorMarker, TColor AColorMarkerValue)
{
    ImageAndText(Canvas, R, Margin, Spacing, Layout, Caption, ImageIndex, ImageList, ADown, AEnabled, ADrawColorMarker,
                 AColorMarkerValue, 0);
}

void DrawGlyphAndText(TCanvas* Canvas, TRect R, int Margin, int Spacing, TbsButtonLayout Layout, const String& Caption,
                      TBitmap* Glyph, int NumGlyphs, int GlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue)
{
    const bool hasGlyph = Glyph && !Glyph->Empty() && NumGlyphs > 0;
    const int gw = hasGlyph ? Glyph->Width() / NumGlyphs : 0, gh = hasGlyph ? Glyph->Height() : 0;
    DrawPictureAndText(
        Canvas, R, Margin, Spacing, Layout, Caption, gw, gh,
        [&](int X, int Y) { DrawGlyph(Canvas, X, Y, Glyph, NumGlyphs, GlyphNum); }, ADown, ADrawColorMarker,
        AColorMarkerValue, DT_CENTER,
        ADown ? TRect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
              : TRect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
}

// ---- Text ---------------------------------------------------------------------------------

int DrawWideText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags)
{
    return DrawTextW(Canvas->Handle(), Text.data(), int(Text.size()), &R, Flags);
}

int WideTextWidth(TCanvas* Canvas, const String& Text)
{
    TRect r(0, 0, 0, 0);
    DrawWideText(Canvas, Text, r, DT_CALCRECT);
    return r.Width();
}

int WideTextHeight(TCanvas* Canvas, const String& Text)
{
    TRect r(0, 0, 0, 0);
    DrawWideText(Canvas, Text, r, DT_CALCRECT);
    return r.Height();
}

void CutWideTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth)
{
    CutToWidth(Text, MaxWidth, [Canvas](const String& S) { return WideTextWidth(Canvas, S); });
}

void CutTextToWidth(TCanvas* Canvas, String& Text, int MaxWidth)
{
    CutToWidth(Text, MaxWidth, [Canvas](const String& S) { return Canvas->TextWidth(S); });
}

void DrawCaptionTextCentered(TCanvas* Canvas, const String& Text, TRect R)
{
    if (!Text.empty() && Text[0] == 'W') R.Right += 2;
    DrawSingle(Canvas, Text, R, DT_CENTER);
}

void DrawCaptionText(TCanvas* Canvas, const String& Text, TRect R)
{
    if (!Text.empty() && Text[0] == 'W') R.Right += 2;
    DrawSingle(Canvas, Text, R, DT_LEFT);
}

void DrawSingleLineText(TCanvas* Canvas, const String& Text, TRect R) { DrawSingle(Canvas, Text, R, DT_LEFT); }

void DrawAlignedText(TCanvas* Canvas, const String& Text, TRect R, TAlignment Alignment)
{
    DrawSingle(Canvas, Text, R,
               Alignment == taLeftJustify ? DT_LEFT : Alignment == taRightJustify ? DT_RIGHT : DT_CENTER);
}

String BuildWrappedText(TCanvas* Canvas, const String& Text, int Width, bool WordBreak)
{
    String out, run;
    bool skipping = false;  // dropping the rest of a word that was cut short
    auto fits = [&](const String& S) {
        TRect r(0, 0, Width, 0);
        DrawWideText(Canvas, S, r, DT_CALCRECT);
        return r.Width() <= Width;
    };
    for (const String& c : Characters(Text)) {
        const bool space = c == " ";
        if (skipping) {
            if (space) {
                out += c;
                skipping = false;
            }
            continue;
        }
        run += c;
        if (space || fits(run)) {
            out += c;
            if (space) run.clear();
        } else if (WordBreak) {
            out += " " + c;
            run.clear();
        } else {
            const std::vector<String> chars = Characters(out);
            if (chars.size() > 3) {
                size_t cut = 0;
                for (size_t i = chars.size() - 3; i < chars.size(); ++i) cut += chars[i].size();
                out.erase(out.size() - cut);
                out += "...";
            }
            out += " ";
            run.clear();
            skipping = true;
        }
    }
    return out;
}

void DrawWrappedText(TCanvas* Canvas, const String& Text, TRect R, bool WordBreak)
{
    if (Text.empty()) return;
    if (IsOddFontHeight(Canvas)) --R.Top;
    const String out = BuildWrappedText(Canvas, Text, R.Width(), WordBreak);
    DrawWideText(Canvas, out, R, DT_WORDBREAK | DT_CENTER);
}

void DrawClippedText(TCanvas* Canvas, const String& Text, const TRect& R) { DrawClippedTextIndent(Canvas, Text, R, 0); }

void DrawClippedTextIndent(TCanvas* Canvas, const String& Text, const TRect& R, int Indent)
{
    if (Text.empty()) return;
    int y = R.Top + R.Height() / 2 - Canvas->TextHeight(Text) / 2;
    if (IsOddFontHeight(Canvas)) --y;
    Canvas->TextRect(R, R.Left + Indent + 2, y, Text);
}
