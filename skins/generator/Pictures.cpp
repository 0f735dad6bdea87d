#include "skins/generator/Pictures.h"

#include <cmath>

#include "skins/generator/Art.h"
#include "skins/generator/Palette.h"

namespace skingen {

namespace {

// The glyph shapes, drawn into a square of side S at the art's origin.
enum TGlyph {
    gAdd, gRemove, gClear, gStart, gStop, gPause, gOptions, gFolder, gSkin, gResume, gRename, gUp, gDown,
    gMute, gUnmute, gSnapshot, gSettings
};

void Gear(TArt& A, float CX, float CY, float R, TColor C, TColor Hole)
{
    A.Circle(CX, CY, R * 0.72f, C);
    for (int I = 0; I < 8; ++I) {
        const float T = float(I) * 3.14159265f / 4;
        A.Line(CX + std::cos(T) * R * 0.55f, CY + std::sin(T) * R * 0.55f, CX + std::cos(T) * R * 0.92f,
               CY + std::sin(T) * R * 0.92f, R * 0.3f, C);
    }
    A.Circle(CX, CY, R * 0.3f, Hole);
}

void Speaker(TArt& A, float S, TColor C)
{
    A.Polygon({{S * 0.12f, S * 0.38f}, {S * 0.3f, S * 0.38f}, {S * 0.52f, S * 0.18f}, {S * 0.52f, S * 0.82f},
               {S * 0.3f, S * 0.62f}, {S * 0.12f, S * 0.62f}},
              C);
}

void DrawGlyph(TArt& A, TGlyph G, float S, TColor C, TColor Back)
{
    const float M = S / 2, W = std::max(1.5f, S * 0.12f);
    switch (G) {
    case gAdd:
        A.Line(M, S * 0.2f, M, S * 0.8f, W * 1.2f, C);
        A.Line(S * 0.2f, M, S * 0.8f, M, W * 1.2f, C);
        break;
    case gRemove:
        A.RoundRect(S * 0.24f, S * 0.3f, S * 0.76f, S * 0.88f, S * 0.06f, C);
        A.FillRect(Rect(int(S * 0.16f), int(S * 0.18f), int(S * 0.84f + 0.5f), int(S * 0.18f + W)), C);
        A.FillRect(Rect(int(S * 0.4f), int(S * 0.1f), int(S * 0.6f + 0.5f), int(S * 0.18f)), C);
        A.Line(S * 0.4f, S * 0.42f, S * 0.4f, S * 0.76f, W * 0.6f, Back);
        A.Line(S * 0.6f, S * 0.42f, S * 0.6f, S * 0.76f, W * 0.6f, Back);
        break;
    case gClear:
        A.Polygon({{S * 0.5f, S * 0.12f}, {S * 0.62f, S * 0.12f}, {S * 0.62f, S * 0.5f}, {S * 0.5f, S * 0.5f}}, C);
        A.Polygon({{S * 0.26f, S * 0.5f}, {S * 0.86f, S * 0.5f}, {S * 0.78f, S * 0.9f}, {S * 0.18f, S * 0.9f}}, C);
        break;
    case gStart:
    case gResume: A.Polygon({{S * 0.3f, S * 0.18f}, {S * 0.82f, M}, {S * 0.3f, S * 0.82f}}, C); break;
    case gStop: A.RoundRect(S * 0.24f, S * 0.24f, S * 0.76f, S * 0.76f, S * 0.06f, C); break;
    case gPause:
        A.RoundRect(S * 0.26f, S * 0.2f, S * 0.44f, S * 0.8f, S * 0.04f, C);
        A.RoundRect(S * 0.56f, S * 0.2f, S * 0.74f, S * 0.8f, S * 0.04f, C);
        break;
    case gOptions:
        for (int I = 0; I < 3; ++I) {
            const float Y = S * (0.28f + 0.22f * float(I));
            A.Line(S * 0.16f, Y, S * 0.84f, Y, W * 0.8f, C);
            const float X = S * (I == 1 ? 0.64f : 0.36f);
            A.Circle(X, Y, S * 0.09f, C);
            A.Circle(X, Y, S * 0.045f, Back);
        }
        break;
    case gFolder:
        A.RoundRect(S * 0.1f, S * 0.22f, S * 0.48f, S * 0.4f, S * 0.05f, C);
        A.RoundRect(S * 0.1f, S * 0.3f, S * 0.9f, S * 0.8f, S * 0.06f, C);
        break;
    case gSkin:
        A.Circle(M, M, S * 0.38f, C);
        A.Circle(S * 0.36f, S * 0.38f, S * 0.07f, Back);
        A.Circle(S * 0.56f, S * 0.3f, S * 0.07f, Back);
        A.Circle(S * 0.7f, S * 0.46f, S * 0.07f, Back);
        A.Circle(S * 0.42f, S * 0.66f, S * 0.1f, Back);
        break;
    case gRename:
        A.Line(S * 0.26f, S * 0.74f, S * 0.74f, S * 0.26f, W * 1.5f, C);
        A.Polygon({{S * 0.16f, S * 0.84f}, {S * 0.2f, S * 0.66f}, {S * 0.34f, S * 0.8f}}, C);
        A.FillRect(Rect(int(S * 0.5f), int(S * 0.84f), int(S * 0.88f), int(S * 0.84f + W)), C);
        break;
    case gUp:
        A.Polygon({{M, S * 0.18f}, {S * 0.84f, S * 0.56f}, {S * 0.16f, S * 0.56f}}, C);
        A.FillRect(Rect(int(S * 0.38f), int(S * 0.5f), int(S * 0.62f + 0.5f), int(S * 0.84f)), C);
        break;
    case gDown:
        A.Polygon({{M, S * 0.82f}, {S * 0.84f, S * 0.44f}, {S * 0.16f, S * 0.44f}}, C);
        A.FillRect(Rect(int(S * 0.38f), int(S * 0.16f), int(S * 0.62f + 0.5f), int(S * 0.5f)), C);
        break;
    case gMute:
        Speaker(A, S, C);
        A.Line(S * 0.64f, S * 0.38f, S * 0.86f, S * 0.62f, W * 0.8f, C);
        A.Line(S * 0.64f, S * 0.62f, S * 0.86f, S * 0.38f, W * 0.8f, C);
        break;
    case gUnmute:
        Speaker(A, S, C);
        A.Shape(
            [=](float X, float Y) {
                const float D = std::hypot(X - S * 0.5f, Y - M);
                return X > S * 0.6f && ((D > S * 0.16f && D < S * 0.16f + W * 0.8f) ||
                                        (D > S * 0.3f && D < S * 0.3f + W * 0.8f));
            },
            S * 0.55f, 0, S, S, C);
        break;
    case gSnapshot:
        A.RoundRect(S * 0.1f, S * 0.28f, S * 0.9f, S * 0.8f, S * 0.08f, C);
        A.RoundRect(S * 0.34f, S * 0.18f, S * 0.66f, S * 0.32f, S * 0.04f, C);
        A.Circle(M, S * 0.54f, S * 0.17f, Back);
        A.Circle(M, S * 0.54f, S * 0.1f, C);
        break;
    case gSettings: Gear(A, M, M, S * 0.4f, C, Back); break;
    }
}

// A picture of a glyph alone (transparent around it).
std::unique_ptr<TPngImage> GlyphPicture(TGlyph G, int S, TColor C, TColor Back)
{
    TArt A(S, S);
    DrawGlyph(A, G, float(S), C, Back);
    return A.ToPng();
}

// A tool-bar picture: the glyph in white on an accent tile.
std::unique_ptr<TPngImage> TilePicture(TGlyph G, int S, TColor Tile)
{
    TArt A(S, S);
    const float P = float(S) * 0.08f;
    A.RoundRect(P, P, float(S) - P, float(S) - P, float(S) * 0.2f, Tile);
    A.SetOrigin(int(float(S) * 0.2f), int(float(S) * 0.2f));
    DrawGlyph(A, G, float(S) * 0.6f, White, Tile);
    return A.ToPng();
}

// A labelled tile: the text as large as fits.
std::unique_ptr<TPngImage> LabelTile(const String& Label, int S, TColor Tile)
{
    TArt A(S, S);
    const float P = 1;
    A.RoundRect(P, P, float(S) - P, float(S) - P, float(S) * 0.18f, Tile);
    TBitmap Probe(1, 1);
    int H = S / 2;
    for (; H > 8; --H) {
        Probe.Canvas()->Font()->SetName(FontFace);
        Probe.Canvas()->Font()->SetHeight(H);
        Probe.Canvas()->Font()->SetStyle({fsBold});
        if (Probe.Canvas()->TextWidth(Label) <= S - 6) break;
    }
    A.Text(Rect(1, 1, S - 1, S - 1), Label, White, H, true);
    return A.ToPng();
}

}  // namespace

std::vector<TProgramPictureArt> BuildProgramPictures()
{
    std::vector<TProgramPictureArt> L;
    auto Add = [&L](const String& Name, std::unique_ptr<TPngImage> P) { L.push_back({Name, std::move(P)}); };

    // Tool bar, 48 x 48: add 0, options 6, skin 8.
    const TGlyph Tool[] = {gAdd, gRemove, gClear, gStart, gStop, gPause, gOptions, gFolder, gSkin};
    for (int I = 0; I < 9; ++I) Add(Format("toolbar.%d", I), TilePicture(Tool[I], 48, Accent));

    // The tool bar's "删除" and "清空" swap a pair of 48 x 48 tiles: accent and grey.
    Add("Image15", TilePicture(gRemove, 48, Accent));
    Add("Image14", TilePicture(gRemove, 48, InkDisabled));
    Add("Image13", TilePicture(gClear, 48, Accent));
    Add("Image12", TilePicture(gClear, 48, InkDisabled));

    // Button glyphs, 16 x 16: the enabled picture in the accent colour, the disabled one grey.
    struct {
        const char* Enabled;
        const char* Disabled;
        TGlyph G;
    } Pairs[] = {{"Image3", "Image2", gAdd},        {"Image5", "Image4", gStart},           {"Image7", "Image6", gPause},
                 {"Image9", "Image8", gResume},     {"Image11", "Image10", gStop},          {"Image16", "Image17", gRename},
                 {"moveup", "moveup.disabled", gUp}, {"movedown", "movedown.disabled", gDown}};
    for (auto& P : Pairs) {
        Add(P.Enabled, GlyphPicture(P.G, 16, P.G == gStop || P.G == gRemove ? Danger : Accent, Surface));
        Add(P.Disabled, GlyphPicture(P.G, 16, InkDisabled, Surface));
    }

    // Preview buttons, 24 x 24: play, pause, stop, mute, unmute, snapshot, settings.
    const TGlyph Preview[] = {gStart, gPause, gStop, gMute, gUnmute, gSnapshot, gSettings};
    for (int I = 0; I < 7; ++I) Add(Format("preview.%d", I), GlyphPicture(Preview[I], 24, Ink, Face));

    // Preset emblem, 32 x 32, in three colours.
    const TColor Emblem[] = {Accent, Success, Warning};
    for (int I = 0; I < 3; ++I) {
        TArt A(32, 32);
        A.Circle(16, 16, 14.5f, Emblem[I]);
        A.SetOrigin(7, 7);
        DrawGlyph(A, gStart, 18, White, Emblem[I]);
        Add(Format("preset.%d", I), A.ToPng());
    }

    // Categories of the main window, 36 x 36, and of the settings dialog, 32 x 32.
    const char* Labels[] = {"视频", "音频", "HD",  "iPod", "iPhone", "PSP", "3GP", "Apple", "Xbox", "PMP", "MP4",  "Flash",
                            "iPad", "MPG",  "SWF", "AVI",  "MKV",    "WMV", "ASF", "安卓",  "VOB",  "MTS", "MOD",  "RMVB"};
    for (int I = 0; I < 24; ++I) Add(Format("category.%d", I), LabelTile(Labels[I], 36, I == 1 ? AccentDark : Accent));
    for (int I = 0; I < 12; ++I) Add(Format("settings.%d", I), LabelTile(Labels[I], 32, I == 1 ? AccentDark : Accent));
    Add("settings.image", TilePicture(gSettings, 48, Accent));

    // The about box's product picture, 87 x 83.
    {
        TArt A(87, 83);
        A.RoundRect(4, 2, 83, 81, 16, Accent);
        A.RoundRect(16, 18, 71, 58, 5, White);
        A.Polygon({{38, 28}, {52, 38}, {38, 48}}, Accent);
        A.Text(Rect(4, 58, 83, 80), "DAT", White, 16, true);
        Add("about", A.ToPng());
    }
    // The empty job list's picture.
    {
        TArt A(420, 150);
        A.RoundFrame(1, 1, 419, 149, 12, 2, AccentPaleLine);
        A.Circle(210, 50, 28, AccentPale);
        A.Line(210, 34, 210, 66, 5, Accent);
        A.Line(194, 50, 226, 50, 5, Accent);
        A.Text(Rect(10, 86, 410, 110), "还没有文件：点击“添加”把视频加入转换列表", Ink, 17);
        A.Text(Rect(10, 112, 410, 134), "也可以在“文件”菜单中添加一个文件、多个文件或整个目录", InkMuted, 14);
        Add("emptylist", A.ToPng());
    }
    // The preview screen's still picture, shown on the dark screen until a video plays.
    {
        TArt A(96, 72);
        A.RoundFrame(8, 6, 88, 66, 6, 2, InkMuted);
        A.Circle(48, 36, 16, Accent);
        A.Polygon({{43, 28}, {57, 36}, {43, 44}}, White);
        Add("still", A.ToPng());
    }
    return L;
}

}  // namespace skingen
