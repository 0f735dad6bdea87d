// Fonts and text runs through pango and cairo.
//
// A font's face name is mapped to a list of installed families that covers Latin and
// Chinese text (the Windows names the program uses map to similar faces), its height
// to a pixel size at 96 dots per inch, and its metrics are rounded to whole pixels.
// Text is rendered with grey-scale antialiasing and hinted metrics into a coverage
// mask that is then mixed into the surface in the text colour.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/graphics/GdiInternal.h"

namespace {

std::recursive_mutex& TextLock()
{
    static std::recursive_mutex M;
    return M;
}

PangoFontMap* FontMap()
{
    static PangoFontMap* M = [] {
        PangoFontMap* Map = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(Map), ScreenDPI);
        return Map;
    }();
    return M;
}

std::string Lower(std::string S)
{
    for (char& c : S) c = char(std::tolower((unsigned char)c));
    return S;
}

// The installed families, asked of pango (which keeps fontconfig to its own thread
// discipline); names compared without case.
bool FamilyInstalled(const std::string& Name)
{
    static std::set<std::string>* Families = [] {
        auto* S = new std::set<std::string>();
        PangoFontFamily** List = nullptr;
        int N = 0;
        pango_font_map_list_families(FontMap(), &List, &N);
        for (int i = 0; i < N; ++i) S->insert(Lower(pango_font_family_get_name(List[i])));
        g_free(List);
        return S;
    }();
    return Families->count(Lower(Name)) != 0;
}

constexpr const char* SansFamilies = "DejaVu Sans,WenQuanYi Micro Hei";
constexpr const char* SerifFamilies = "DejaVu Serif,WenQuanYi Micro Hei";
constexpr const char* MonoFamilies = "DejaVu Sans Mono,WenQuanYi Micro Hei Mono";
constexpr const char* ChineseFamilies = "WenQuanYi Micro Hei,DejaVu Sans";

}  // namespace

namespace gdi {

// The installed families that stand for a Windows face name.
std::string FamiliesFor(const std::string& FaceName)
{
    static const std::map<std::string, const char*> Map = {
        {"", SansFamilies}, {"tahoma", SansFamilies}, {"ms sans serif", SansFamilies},
        {"microsoft sans serif", SansFamilies}, {"arial", SansFamilies}, {"segoe ui", SansFamilies},
        {"verdana", SansFamilies}, {"ms shell dlg", SansFamilies}, {"ms shell dlg 2", SansFamilies},
        {"system", SansFamilies}, {"default", SansFamilies}, {"helvetica", SansFamilies},
        {"times new roman", SerifFamilies}, {"ms serif", SerifFamilies},
        {"courier new", MonoFamilies}, {"courier", MonoFamilies}, {"fixedsys", MonoFamilies},
        {"terminal", MonoFamilies}, {"lucida console", MonoFamilies}, {"consolas", MonoFamilies},
        {"宋体", ChineseFamilies}, {"simsun", ChineseFamilies}, {"新宋体", ChineseFamilies},
        {"nsimsun", ChineseFamilies}, {"黑体", ChineseFamilies}, {"simhei", ChineseFamilies},
        {"微软雅黑", ChineseFamilies}, {"microsoft yahei", ChineseFamilies}, {"楷体", ChineseFamilies},
        {"楷体_gb2312", ChineseFamilies}, {"仿宋", ChineseFamilies}, {"仿宋_gb2312", ChineseFamilies},
        {"幼圆", ChineseFamilies}, {"隶书", ChineseFamilies}, {"mingliu", ChineseFamilies},
        {"pmingliu", ChineseFamilies}, {"細明體", ChineseFamilies}, {"新細明體", ChineseFamilies},
        {"ms gothic", ChineseFamilies}, {"ms ui gothic", ChineseFamilies},
    };
    std::string Key = Lower(FaceName);
    auto It = Map.find(Key);
    if (It != Map.end()) return It->second;
    if (FaceName.find(',') == std::string::npos && FamilyInstalled(FaceName))
        return FaceName + ",WenQuanYi Micro Hei";
    return SansFamilies;
}

}  // namespace gdi

struct TFontFace::TImpl {
    PangoContext* Ctx = nullptr;
    PangoFontDescription* Desc = nullptr;
    PangoLayout* Layout = nullptr;
    std::unordered_map<std::string, int> Widths;
    bool RightToLeft = false;  // the base direction the layout's context has now
    ~TImpl()
    {
        if (Layout) g_object_unref(Layout);
        if (Desc) pango_font_description_free(Desc);
        if (Ctx) g_object_unref(Ctx);
    }
};

TFontFace::~TFontFace() = default;

namespace {

const char* LanguageFor(int Charset)
{
    switch (Charset) {
    case CHINESEBIG5_CHARSET: return "zh-tw";
    case SHIFTJIS_CHARSET: return "ja";
    case HANGEUL_CHARSET: return "ko";
    case ANSI_CHARSET: return "en";
    default: return "zh-cn";
    }
}

PangoContext* NewContext(int Charset)
{
    PangoContext* Ctx = pango_font_map_create_context(FontMap());
    cairo_font_options_t* O = cairo_font_options_create();
    cairo_font_options_set_antialias(O, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(O, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(O, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(O, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(Ctx, O);
    cairo_font_options_destroy(O);
    pango_cairo_context_set_resolution(Ctx, ScreenDPI);
    pango_context_set_language(Ctx, pango_language_from_string(LanguageFor(Charset)));
    pango_context_set_base_dir(Ctx, PANGO_DIRECTION_LTR);
    return Ctx;
}

// Control characters have no glyphs here: each shows as a blank (byte offsets stay),
// and bytes that are not UTF-8 show as "?".
std::string Printable(std::string_view Text)
{
    std::string S(Text);
    for (char& c : S)
        if ((unsigned char)c < 0x20 && c != '\t') c = ' ';
    const gchar* End = nullptr;
    size_t Pos = 0;
    while (!g_utf8_validate(S.data() + Pos, gssize(S.size() - Pos), &End)) {
        Pos = size_t(End - S.data());
        S[Pos] = '?';
        ++Pos;
    }
    return S;
}

// The base direction is the caller's (DrawText's DT_RTLREADING), never guessed from the
// text: neutral characters such as trailing dots then go where the reading order puts them.
void SetLayoutText(TFontFace& F, std::string_view Text, int UlStart, int UlEnd, bool RightToLeft = false)
{
    PangoLayout* L = F.Impl->Layout;
    if (F.Impl->RightToLeft != RightToLeft) {
        pango_context_set_base_dir(F.Impl->Ctx, RightToLeft ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
        pango_layout_context_changed(L);
        F.Impl->RightToLeft = RightToLeft;
    }
    std::string S = Printable(Text);
    pango_layout_set_text(L, S.data(), int(S.size()));
    PangoAttrList* A = pango_attr_list_new();
    if (F.Underline) pango_attr_list_insert(A, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (F.StrikeOut) pango_attr_list_insert(A, pango_attr_strikethrough_new(TRUE));
    if (UlStart >= 0 && UlEnd > UlStart && !F.Underline) {
        PangoAttribute* U = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        U->start_index = guint(UlStart);
        U->end_index = guint(UlEnd);
        pango_attr_list_insert(A, U);
    }
    pango_layout_set_attributes(L, A);
    pango_attr_list_unref(A);
}

std::shared_ptr<TFontFace> MakeFace(const LOGFONT& Lf)
{
    auto F = std::make_shared<TFontFace>();
    F->Impl = std::make_unique<TFontFace::TImpl>();
    F->Weight = Lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(Lf.lfWeight, 100, 1000);
    F->Italic = Lf.lfItalic != 0;
    F->Underline = Lf.lfUnderline != 0;
    F->StrikeOut = Lf.lfStrikeOut != 0;
    F->Charset = Lf.lfCharSet;
    auto& I = *F->Impl;
    I.Ctx = NewContext(Lf.lfCharSet);
    I.Desc = pango_font_description_new();
    std::string Families = gdi::FamiliesFor(Lf.lfFaceName);
    pango_font_description_set_family(I.Desc, Families.c_str());
    pango_font_description_set_weight(I.Desc, PangoWeight(F->Weight));
    pango_font_description_set_style(I.Desc, F->Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    auto Metrics = [&](int EmUnits, int& Asc, int& Desc, int& Ave, int& Max) {
        pango_font_description_set_absolute_size(I.Desc, EmUnits);
        PangoFontMetrics* M = pango_context_get_metrics(I.Ctx, I.Desc, pango_context_get_language(I.Ctx));
        Asc = pango_font_metrics_get_ascent(M);
        Desc = pango_font_metrics_get_descent(M);
        Ave = pango_font_metrics_get_approximate_char_width(M);
        Max = std::max(pango_font_metrics_get_approximate_digit_width(M), Ave);
        pango_font_metrics_unref(M);
    };
    int Asc, Dsc, Ave, Max;
    int Cell = 0;
    int Em;
    if (Lf.lfHeight < 0) {
        Em = -Lf.lfHeight;
    } else if (Lf.lfHeight > 0) {
        // A cell height: find the character height that gives that cell.
        Metrics(100 * PANGO_SCALE, Asc, Dsc, Ave, Max);
        Cell = Lf.lfHeight;
        Em = std::max(1, int(int64_t(Cell) * 100 / std::max(1, PANGO_PIXELS_CEIL(Asc + Dsc))));
    } else {
        Em = 11;
    }
    Em = std::clamp(Em, 1, 2000);
    Metrics(Em * PANGO_SCALE, Asc, Dsc, Ave, Max);
    F->Ascent = PANGO_PIXELS_CEIL(Asc);
    F->Descent = PANGO_PIXELS_CEIL(Dsc);
    if (Cell > 0) F->Descent = std::max(0, Cell - F->Ascent);
    F->Height = F->Ascent + F->Descent;
    F->InternalLeading = std::max(0, F->Height - Em);
    F->AveCharWidth = std::max(1, PANGO_PIXELS(Ave));
    F->MaxCharWidth = std::max(F->AveCharWidth, PANGO_PIXELS_CEIL(Max));
    I.Layout = pango_layout_new(I.Ctx);
    pango_layout_set_font_description(I.Layout, I.Desc);
    pango_layout_set_single_paragraph_mode(I.Layout, TRUE);
    pango_layout_set_auto_dir(I.Layout, FALSE);
    return F;
}

}  // namespace

namespace gdi {

std::shared_ptr<TFontFace> FaceOf(TFontData& Font)
{
    std::lock_guard<std::recursive_mutex> L(TextLock());
    if (Font.Face) return Font.Face;
    static std::map<std::string, std::shared_ptr<TFontFace>> Cache;
    const LOGFONT& Lf = Font.Log;
    std::string Key = Lower(Lf.lfFaceName) + "|" + std::to_string(Lf.lfHeight) + "|" + std::to_string(Lf.lfWeight) +
                      "|" + std::to_string(Lf.lfItalic) + std::to_string(Lf.lfUnderline) +
                      std::to_string(Lf.lfStrikeOut) + "|" + std::to_string(Lf.lfCharSet);
    auto& Slot = Cache[Key];
    if (!Slot) Slot = MakeFace(Lf);
    Font.Face = Slot;
    return Slot;
}

int TextWidth(TFontFace& F, std::string_view Text)
{
    if (Text.empty()) return 0;
    std::lock_guard<std::recursive_mutex> L(TextLock());
    auto& Cache = F.Impl->Widths;
    std::string Key(Text);
    auto It = Cache.find(Key);
    if (It != Cache.end()) return It->second;
    SetLayoutText(F, Text, -1, -1);
    PangoRectangle Logical;
    pango_layout_get_pixel_extents(F.Impl->Layout, nullptr, &Logical);
    if (Cache.size() > 8192) Cache.clear();
    Cache.emplace(std::move(Key), Logical.width);
    return Logical.width;
}

std::vector<int> TextExtents(TFontFace& F, std::string_view Text)
{
    if (Text.empty()) return {};
    std::lock_guard<std::recursive_mutex> L(TextLock());
    SetLayoutText(F, Text, -1, -1);
    PangoLayout* Lay = F.Impl->Layout;
    const char* S = pango_layout_get_text(Lay);
    int NAttrs = 0;
    const PangoLogAttr* Attrs = pango_layout_get_log_attrs_readonly(Lay, &NAttrs);
    const size_t N = NAttrs > 0 ? size_t(NAttrs - 1) : 0;
    // Each character's share of its run's width, in pango units and in reading order;
    // a cluster's width is shared among its characters.
    std::vector<int> W(N, 0);
    std::vector<int> Run;
    PangoLayoutIter* It = pango_layout_get_iter(Lay);
    do {
        PangoGlyphItem* G = pango_layout_iter_get_run_readonly(It);
        if (!G || G->item->num_chars <= 0) continue;
        Run.assign(size_t(G->item->num_chars), 0);
        pango_glyph_item_get_logical_widths(G, S, Run.data());
        size_t First = size_t(g_utf8_pointer_to_offset(S, S + G->item->offset));
        for (size_t K = 0; K < Run.size() && First + K < N; ++K) W[First + K] = Run[K];
    } while (pango_layout_iter_next_run(It));
    pango_layout_iter_free(It);
    // A character the caret cannot stand before (a combining mark) adds its share to the
    // character it belongs to, so the extent of "e" in "e" + accent is the extent of the
    // whole accented letter, as measuring that prefix alone gives.
    size_t Base = 0;
    for (size_t I = 0; I < N; ++I) {
        if (I == 0 || Attrs[I].is_cursor_position) {
            Base = I;
            continue;
        }
        W[Base] += W[I];
        W[I] = 0;
    }
    // Running sums, rounded up to whole pixels as a line's logical extent is; a negative
    // share (kerning) never moves an extent left of the one before it.
    std::vector<int> X(N, 0);
    int64_t Sum = 0;
    int Prev = 0;
    for (size_t I = 0; I < N; ++I) {
        Sum += W[I];
        Prev = std::max(Prev, int((std::max<int64_t>(Sum, 0) + PANGO_SCALE - 1) / PANGO_SCALE));
        X[I] = Prev;
    }
    return X;
}

void DrawTextRun(TSurface& S, const TRegion& Clip, TFontFace& F, std::string_view Text, int X, int Y, COLORREF Color,
                 int UlStart, int UlEnd, bool RightToLeft)
{
    if (Text.empty() || Clip.IsEmpty()) return;
    std::lock_guard<std::recursive_mutex> L(TextLock());
    SetLayoutText(F, Text, UlStart, UlEnd, RightToLeft);
    PangoLayout* Lay = F.Impl->Layout;
    PangoRectangle Ink, Logical;
    pango_layout_get_pixel_extents(Lay, &Ink, &Logical);
    int Baseline = PANGO_PIXELS(pango_layout_get_baseline(Lay));
    // The layout's top lies so that its baseline meets the cell's baseline.
    int LayX = X, LayY = Y + F.Ascent - Baseline;
    int X0 = std::min(Ink.x, Logical.x) - 1, Y0 = std::min(Ink.y, Logical.y) - 1;
    int X1 = std::max(Ink.x + Ink.width, Logical.x + Logical.width) + 1;
    int Y1 = std::max(Ink.y + Ink.height, Logical.y + Logical.height) + 1;
    TRect Box(LayX + X0, LayY + Y0, LayX + X1, LayY + Y1);
    TRect CB = Clip.Bounds();
    TRect Vis(std::max(Box.Left, CB.Left), std::max(Box.Top, CB.Top), std::min(Box.Right, CB.Right),
              std::min(Box.Bottom, CB.Bottom));
    if (Vis.IsEmpty()) return;
    cairo_surface_t* Mask = cairo_image_surface_create(CAIRO_FORMAT_A8, Vis.Width(), Vis.Height());
    if (cairo_surface_status(Mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(Mask);
        return;
    }
    cairo_t* Cr = cairo_create(Mask);
    cairo_set_source_rgba(Cr, 0, 0, 0, 1);
    cairo_move_to(Cr, LayX - Vis.Left, LayY - Vis.Top);
    pango_cairo_show_layout(Cr, Lay);
    cairo_destroy(Cr);
    cairo_surface_flush(Mask);
    const uint8_t* M = cairo_image_surface_get_data(Mask);
    int MStride = cairo_image_surface_get_stride(Mask);
    uint32_t Cb = (Color >> 16) & 0xFF, Cg = (Color >> 8) & 0xFF, Cr8 = Color & 0xFF;
    TPixelView V = ViewOf(S);
    for (size_t Ci = Clip.FirstBelow(Vis.Top); Ci < Clip.Rects().size(); ++Ci) {
        const TRect& C = Clip.Rects()[Ci];
        if (C.Top >= Vis.Bottom) break;
        int L0 = std::max(C.Left, Vis.Left), R0 = std::min(C.Right, Vis.Right);
        int T0 = std::max(C.Top, Vis.Top), B0 = std::min(C.Bottom, Vis.Bottom);
        for (int y = T0; y < B0; ++y) {
            const uint8_t* MRow = M + size_t(y - Vis.Top) * MStride;
            for (int x = L0; x < R0; ++x) {
                uint32_t a = MRow[x - Vis.Left];
                if (!a) continue;
                uint32_t D = V.Get(x, y);
                auto Mix = [&](uint32_t c, int Sh) { return ((c * a + ((D >> Sh) & 0xFF) * (255 - a) + 127) / 255) << Sh; };
                V.Put(x, y, Mix(Cb, 0) | Mix(Cg, 8) | Mix(Cr8, 16));
            }
        }
    }
    cairo_surface_destroy(Mask);
}

}  // namespace gdi
