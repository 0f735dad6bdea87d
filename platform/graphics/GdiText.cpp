// Text output and layout: TextOut, DrawText and its flags, extents, metrics, tabs.
#include <algorithm>
#include <cstring>

#include "platform/graphics/GdiInternal.h"
#include "platform/system/SysUtils.h"

namespace {

// Text is processed as code points; bytes that are not UTF-8 become U+FFFD.
std::u32string Decode(std::string_view S) { return Utf8ToUtf32(S); }
std::string Encode(std::u32string_view S) { return Utf32ToUtf8(S); }

std::string_view Bytes(const char* Text, int Count)
{
    if (!Text) return {};
    return Count < 0 ? std::string_view(Text) : std::string_view(Text, size_t(Count));
}

bool IsCJK(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}

// ---- the layout engine -------------------------------------------------------------------

// One line of laid-out text: characters of the processed text and which of them (if
// any) carries the prefix underline.
struct TLine {
    std::u32string Text;
    int Underline = -1;   // index into Text
    int Width = 0;
};

class TTextLayout {
public:
    TTextLayout(TFontFace& F, UINT Fmt, int TabChars) : FFace(F), FFmt(Fmt)
    {
        FTabWidth = std::max(1, TabChars) * F.AveCharWidth;
    }

    bool Has(UINT Flag) const { return (FFmt & Flag) != 0; }

    // Width of a line, tabs expanded when asked.
    int Width(std::u32string_view S) const
    {
        if (!Has(DT_EXPANDTABS)) return gdi::TextWidth(FFace, Encode(S));
        int X = 0;
        size_t Start = 0;
        for (size_t i = 0; i <= S.size(); ++i) {
            if (i < S.size() && S[i] != U'\t') continue;
            X += gdi::TextWidth(FFace, Encode(S.substr(Start, i - Start)));
            if (i < S.size()) X = (X / FTabWidth + 1) * FTabWidth;
            Start = i + 1;
        }
        return X;
    }

    // Calls Fn(Offset, Piece, UnderlineInPiece) for each tab-separated piece of a line.
    template <class F>
    void Pieces(const TLine& L, F&& Fn) const
    {
        if (!Has(DT_EXPANDTABS)) {
            Fn(0, std::u32string_view(L.Text), L.Underline);
            return;
        }
        int X = 0;
        size_t Start = 0;
        std::u32string_view S = L.Text;
        for (size_t i = 0; i <= S.size(); ++i) {
            if (i < S.size() && S[i] != U'\t') continue;
            std::u32string_view P = S.substr(Start, i - Start);
            int U = (L.Underline >= int(Start) && L.Underline < int(i)) ? L.Underline - int(Start) : -1;
            Fn(X, P, U);
            X += gdi::TextWidth(FFace, Encode(P));
            if (i < S.size()) X = (X / FTabWidth + 1) * FTabWidth;
            Start = i + 1;
        }
    }

    // Splits the text into lines for a rectangle MaxWidth wide.
    std::vector<TLine> Lay(std::string_view Utf8, int MaxWidth)
    {
        std::u32string Src = Decode(Utf8);
        // Prefix characters.
        std::u32string T;
        int Ul = -1;
        for (size_t i = 0; i < Src.size(); ++i) {
            char32_t c = Src[i];
            if (c == U'&' && !Has(DT_NOPREFIX)) {
                if (i + 1 < Src.size() && Src[i + 1] == U'&') {
                    T += U'&';
                    ++i;
                } else if (i + 1 < Src.size()) {
                    if (Ul < 0 && !Has(DT_HIDEPREFIX)) Ul = int(T.size());
                }
                continue;
            }
            if (c == U'\t' && !Has(DT_EXPANDTABS)) c = U' ';
            T += c;
        }
        // Paragraphs.
        struct TPara { size_t Start, End; };
        std::vector<TPara> Paras;
        if (Has(DT_SINGLELINE)) {
            Paras.push_back({0, T.size()});
        } else {
            size_t Start = 0;
            for (size_t i = 0; i < T.size(); ++i) {
                if (T[i] != U'\r' && T[i] != U'\n') continue;
                Paras.push_back({Start, i});
                // "\r\n" and "\n\r" are one break.
                if (i + 1 < T.size() && (T[i + 1] == U'\r' || T[i + 1] == U'\n') && T[i + 1] != T[i]) ++i;
                Start = i + 1;
            }
            Paras.push_back({Start, T.size()});
        }
        std::vector<TLine> Lines;
        auto Emit = [&](size_t A, size_t B) {
            TLine L;
            for (size_t k = A; k < B; ++k) {
                if (T[k] == U'\r' || T[k] == U'\n') continue;   // single-line mode shows no breaks
                if (int(k) == Ul) L.Underline = int(L.Text.size());
                L.Text += T[k];
            }
            Lines.push_back(std::move(L));
        };
        bool Wrap = Has(DT_WORDBREAK) && !Has(DT_SINGLELINE);
        for (const TPara& P : Paras) {
            if (!Wrap) {
                Emit(P.Start, P.End);
                continue;
            }
            size_t Pos = P.Start;
            bool First = true;
            while (Pos < P.End || First) {
                First = false;
                size_t End = BreakLine(T, Pos, P.End, MaxWidth);
                size_t Trim = End;
                while (Trim > Pos && T[Trim - 1] == U' ') --Trim;
                Emit(Pos, Trim);
                Pos = End;
                while (Pos < P.End && T[Pos] == U' ') ++Pos;
                if (Pos >= P.End) break;
            }
        }
        for (TLine& L : Lines) {
            L.Width = Width(L.Text);
            if (L.Width > MaxWidth) Ellipsize(L, MaxWidth);
        }
        return Lines;
    }

private:
    // End of the line that starts at Pos: the farthest break whose text fits.
    size_t BreakLine(const std::u32string& T, size_t Pos, size_t End, int MaxWidth) const
    {
        size_t Best = 0;
        auto Fits = [&](size_t B) {
            size_t Tr = B;
            while (Tr > Pos && T[Tr - 1] == U' ') --Tr;
            return Width(std::u32string_view(T).substr(Pos, Tr - Pos)) <= MaxWidth;
        };
        for (size_t i = Pos + 1; i <= End; ++i) {
            // A break may come after spaces, and before or after a CJK character.
            bool Break = i == End || (T[i] != U' ' && T[i - 1] == U' ') || IsCJK(T[i]) || IsCJK(T[i - 1]);
            if (!Break) continue;
            if (!Fits(i)) break;
            Best = i;
        }
        if (Best) return Best;
        // The first word alone is too wide: an edit control breaks it, else it stays whole.
        if (Has(DT_EDITCONTROL)) {
            size_t i = Pos + 1;
            while (i < End && Width(std::u32string_view(T).substr(Pos, i + 1 - Pos)) <= MaxWidth) ++i;
            return i;
        }
        size_t i = Pos + 1;
        while (i < End && !(T[i] != U' ' && T[i - 1] == U' ') && !IsCJK(T[i]) && !IsCJK(T[i - 1])) ++i;
        return i;
    }

    void Ellipsize(TLine& L, int MaxWidth) const
    {
        static const std::u32string Dots = U"...";
        if (Has(DT_PATH_ELLIPSIS)) {
            size_t Sep = L.Text.find_last_of(U"/\\");
            if (Sep != std::u32string::npos && Sep > 0) {
                std::u32string Tail = L.Text.substr(Sep);
                for (size_t Keep = Sep; Keep-- > 0;) {
                    std::u32string C = L.Text.substr(0, Keep) + Dots + Tail;
                    if (Width(C) <= MaxWidth || Keep == 0) {
                        if (L.Underline >= int(Keep)) L.Underline = -1;
                        L.Text = C;
                        L.Width = Width(C);
                        if (L.Width <= MaxWidth) return;
                        break;
                    }
                }
            }
        }
        if (!Has(DT_END_ELLIPSIS) && !Has(DT_WORD_ELLIPSIS) && !Has(DT_PATH_ELLIPSIS)) return;
        size_t Keep = L.Text.size();
        while (Keep > 0 && Width(L.Text.substr(0, Keep) + Dots) > MaxWidth) --Keep;
        if (L.Underline >= int(Keep)) L.Underline = -1;
        L.Text = L.Text.substr(0, Keep) + Dots;
        L.Width = Width(L.Text);
    }

    TFontFace& FFace;
    UINT FFmt;
    int FTabWidth = 8;
};

int DoDrawText(HDC DC, std::string_view Text, RECT* R, UINT Fmt, DRAWTEXTPARAMS* Params)
{
    auto D = LookupDC(DC);
    if (!D || !R) return 0;
    int TabChars = 8;
    if (Fmt & DT_TABSTOP) {
        TabChars = int((Fmt >> 8) & 0xFF);
        Fmt &= ~UINT(0xFF00);
    }
    int LeftMargin = 0, RightMargin = 0;
    if (Params) {
        if (Params->iTabLength > 0) TabChars = Params->iTabLength;
        LeftMargin = Params->iLeftMargin;
        RightMargin = Params->iRightMargin;
    }
    if (TabChars <= 0) TabChars = 8;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    TTextLayout Layout(*Face, Fmt, TabChars);
    TRect Box(R->Left + LeftMargin, R->Top, R->Right - RightMargin, R->Bottom);
    std::vector<TLine> Lines = Layout.Lay(Text, Box.Width());
    int LineH = Face->Height;
    bool Single = (Fmt & DT_SINGLELINE) != 0;
    int Total = LineH * int(Lines.size());
    int Y = Box.Top;
    if (Single && (Fmt & DT_VCENTER)) Y = Box.Top + (Box.Height() - LineH) / 2;
    else if (Single && (Fmt & DT_BOTTOM)) Y = Box.Bottom - LineH;
    int Result = (Single && (Fmt & (DT_VCENTER | DT_BOTTOM))) ? Y + Total - R->Top : Total;
    if (Params) Params->uiLengthDrawn = UINT(Text.size());

    if (Fmt & DT_CALCRECT) {
        int MaxW = 0;
        for (const TLine& L : Lines) MaxW = std::max(MaxW, L.Width);
        R->Right = R->Left + LeftMargin + MaxW + RightMargin;
        R->Bottom = R->Top + Total;
        return Result;
    }

    PSurface S = D->Surface();
    if (!S) return Result;
    TPoint Sh = D->SurfaceShift();
    TRegion Clip = D->Clip();
    if (!(Fmt & DT_NOCLIP)) Clip &= TRegion(TRect(R->Left + Sh.X, R->Top + Sh.Y, R->Right + Sh.X, R->Bottom + Sh.Y));
    if (Clip.IsEmpty()) return Result;
    TRect CB = Clip.Bounds();
    for (const TLine& L : Lines) {
        if ((Fmt & DT_EDITCONTROL) && Y + LineH > Box.Bottom && Y > Box.Top) break;
        int X = Box.Left;
        if (Fmt & DT_CENTER) X = Box.Left + (Box.Width() - L.Width) / 2;
        else if (Fmt & DT_RIGHT) X = Box.Right - L.Width;
        int Sy = Y + Sh.Y;
        if (Sy < CB.Bottom && Sy + LineH > CB.Top) {
            if (D->S.BkMode == OPAQUE && L.Width > 0)
                gdi::FillClipped(*S, Clip, TRect(X + Sh.X, Sy, X + Sh.X + L.Width, Sy + LineH), gdi::PixelOf(D->S.BkColor));
            Layout.Pieces(L, [&](int Off, std::u32string_view P, int U) {
                std::string Utf8 = Encode(P);
                int Ua = -1, Ub = -1;
                if (U >= 0) {
                    Ua = int(Encode(P.substr(0, size_t(U))).size());
                    Ub = Ua + int(Encode(P.substr(size_t(U), 1)).size());
                }
                gdi::DrawTextRun(*S, Clip, *Face, Utf8, X + Off + Sh.X, Sy, D->S.TextColor, Ua, Ub,
                                 (Fmt & DT_RTLREADING) != 0);
            });
        }
        Y += LineH;
    }
    return Result;
}

}  // namespace

int DrawText(HDC DC, const char* Text, int Count, RECT* R, UINT Format)
{
    return DoDrawText(DC, Bytes(Text, Count), R, Format, nullptr);
}

int DrawTextW(HDC DC, const char* Text, int Count, RECT* R, UINT Format)
{
    return DoDrawText(DC, Bytes(Text, Count), R, Format, nullptr);
}

int DrawTextEx(HDC DC, const char* Text, int Count, RECT* R, UINT Format, DRAWTEXTPARAMS* Params)
{
    if (Params && Params->cbSize != sizeof(DRAWTEXTPARAMS)) return 0;
    return DoDrawText(DC, Bytes(Text, Count), R, Format, Params);
}

BOOL TextOut(HDC DC, int X, int Y, const char* Text, int Count)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    std::string_view T = Bytes(Text, Count);
    PSurface S = D->Surface();
    if (!S || T.empty()) return TRUE;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    TPoint P = D->ToSurface(X, Y);
    const TRegion& Clip = D->Clip();
    if (D->S.BkMode == OPAQUE) {
        int W = gdi::TextWidth(*Face, T);
        gdi::FillClipped(*S, Clip, TRect(P.X, P.Y, P.X + W, P.Y + Face->Height), gdi::PixelOf(D->S.BkColor));
    }
    gdi::DrawTextRun(*S, Clip, *Face, T, P.X, P.Y, D->S.TextColor);
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC DC, const char* Text, int Count, SIZE* Size)
{
    auto D = LookupDC(DC);
    if (!D || !Size) return FALSE;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    Size->cx = gdi::TextWidth(*Face, Bytes(Text, Count));
    Size->cy = Face->Height;
    return TRUE;
}

BOOL GetTextExtentExPoint(HDC DC, const char* Text, int Count, int MaxExtent, int* Fit, int* Dx, SIZE* Size)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    std::vector<int> X = gdi::TextExtents(*Face, Bytes(Text, Count));
    if (Fit) *Fit = int(std::upper_bound(X.begin(), X.end(), MaxExtent) - X.begin());
    if (Dx) std::copy(X.begin(), X.end(), Dx);
    if (Size) {
        Size->cx = X.empty() ? 0 : X.back();
        Size->cy = Face->Height;
    }
    return TRUE;
}

BOOL GetTextMetrics(HDC DC, TEXTMETRIC* TM)
{
    auto D = LookupDC(DC);
    if (!D || !TM) return FALSE;
    std::shared_ptr<TFontFace> F = gdi::FaceOf(*D->S.Font);
    *TM = TEXTMETRIC();
    TM->tmHeight = F->Height;
    TM->tmAscent = F->Ascent;
    TM->tmDescent = F->Descent;
    TM->tmInternalLeading = F->InternalLeading;
    TM->tmAveCharWidth = F->AveCharWidth;
    TM->tmMaxCharWidth = F->MaxCharWidth;
    TM->tmWeight = F->Weight;
    TM->tmItalic = F->Italic;
    TM->tmUnderlined = F->Underline;
    TM->tmStruckOut = F->StrikeOut;
    TM->tmCharSet = BYTE(F->Charset);
    return TRUE;
}

namespace {

// Lays out tab-separated pieces; returns the total width.  Fn(X, Piece) per piece.
template <class F>
int TabbedPieces(TFontFace& Face, std::string_view T, int TabCount, const int* Tabs, int Start, int TabOrigin, F&& Fn)
{
    int Step = 8 * Face.AveCharWidth;
    if (TabCount == 1 && Tabs && Tabs[0] > 0) Step = Tabs[0];
    bool List = TabCount > 1 && Tabs;
    int X = Start;
    size_t From = 0;
    for (size_t i = 0; i <= T.size(); ++i) {
        if (i < T.size() && T[i] != '\t') continue;
        std::string_view P = T.substr(From, i - From);
        Fn(X, P);
        X += gdi::TextWidth(Face, P);
        if (i < T.size()) {
            int Rel = X - TabOrigin;
            int Next = -1;
            if (List) {
                for (int k = 0; k < TabCount && k < 64; ++k)
                    if (Tabs[k] > Rel) { Next = Tabs[k]; break; }
                if (Next < 0) Next = Rel + gdi::TextWidth(Face, " ");
            } else {
                Next = (Rel / Step + 1) * Step;
            }
            X = TabOrigin + Next;
        }
        From = i + 1;
    }
    return X - Start;
}

}  // namespace

LONG TabbedTextOut(HDC DC, int X, int Y, const char* Text, int Count, int TabCount, const int* Tabs, int TabOrigin)
{
    auto D = LookupDC(DC);
    if (!D) return 0;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    std::string_view T = Bytes(Text, Count);
    PSurface S = D->Surface();
    TPoint Sh = D->SurfaceShift();
    const TRegion& Clip = D->Clip();
    int W = TabbedPieces(*Face, T, TabCount, Tabs, X, TabOrigin, [&](int PX, std::string_view P) {
        if (!S || P.empty()) return;
        if (D->S.BkMode == OPAQUE) {
            int Pw = gdi::TextWidth(*Face, P);
            gdi::FillClipped(*S, Clip, TRect(PX + Sh.X, Y + Sh.Y, PX + Sh.X + Pw, Y + Sh.Y + Face->Height),
                             gdi::PixelOf(D->S.BkColor));
        }
        gdi::DrawTextRun(*S, Clip, *Face, P, PX + Sh.X, Y + Sh.Y, D->S.TextColor);
    });
    return LONG((uint32_t(W) & 0xFFFF) | (uint32_t(Face->Height) << 16));
}

DWORD GetTabbedTextExtent(HDC DC, const char* Text, int Count, int TabCount, const int* Tabs)
{
    auto D = LookupDC(DC);
    if (!D) return 0;
    std::shared_ptr<TFontFace> Face = gdi::FaceOf(*D->S.Font);
    int W = TabbedPieces(*Face, Bytes(Text, Count), TabCount, Tabs, 0, 0, [](int, std::string_view) {});
    return (uint32_t(W) & 0xFFFF) | (uint32_t(Face->Height) << 16);
}
