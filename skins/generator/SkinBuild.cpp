#include "skins/generator/SkinBuild.h"

#include <stdexcept>

#include "skins/generator/Art.h"
#include "skins/generator/Palette.h"

namespace skingen {

namespace {

using TPainter = void (*)(TArt& A, int W, int H);

struct TCellDef {
    const char* Name;
    int W, H;
    bool Keyed;
    TColor Backdrop;  // what a keyed cell is drawn over, for its soft edges
    TPainter Paint;
};

enum TDir { dLeft, dRight, dUp, dDown };

void Arrow(TArt& A, float CX, float CY, TDir D, float S, TColor C)
{
    // A small filled chevron-like triangle, S pixels from the centre to the tip.
    switch (D) {
    case dLeft: A.Polygon({{CX - S * 0.6f, CY}, {CX + S * 0.6f, CY - S}, {CX + S * 0.6f, CY + S}}, C); break;
    case dRight: A.Polygon({{CX + S * 0.6f, CY}, {CX - S * 0.6f, CY - S}, {CX - S * 0.6f, CY + S}}, C); break;
    case dUp: A.Polygon({{CX, CY - S * 0.6f}, {CX - S, CY + S * 0.6f}, {CX + S, CY + S * 0.6f}}, C); break;
    case dDown: A.Polygon({{CX, CY + S * 0.6f}, {CX - S, CY - S * 0.6f}, {CX + S, CY - S * 0.6f}}, C); break;
    }
}

// A rounded face with a one-pixel border over the form's face colour.
void RoundFace(TArt& A, int W, int H, TColor Fill, TColor Border, float R = 3)
{
    A.FillRect(Rect(0, 0, W, H), Face);
    A.RoundRect(0, 0, float(W), float(H), R, Border);
    A.RoundRect(1, 1, float(W - 1), float(H - 1), R - 1, Fill);
}

// A square box with a one-pixel border.
void BoxFace(TArt& A, int W, int H, TColor Fill, TColor Border)
{
    A.FillRect(Rect(0, 0, W, H), Fill);
    A.FrameRect(Rect(0, 0, W, H), Border);
}

void Tick(TArt& A, float X, float Y, float S, TColor C)
{
    A.Line(X + S * 0.18f, Y + S * 0.52f, X + S * 0.42f, Y + S * 0.74f, S * 0.16f, C);
    A.Line(X + S * 0.42f, Y + S * 0.74f, X + S * 0.82f, Y + S * 0.28f, S * 0.16f, C);
}

void CheckBox(TArt& A, int W, int H, TColor Fill, TColor Border, TColor Mark, bool Checked)
{
    A.RoundRect(0, 0, float(W), float(H), 2.5f, Border);
    A.RoundRect(1, 1, float(W - 1), float(H - 1), 1.5f, Checked ? Border : Fill);
    if (Checked) Tick(A, 0, 0, float(W), Mark);
}

void RadioBox(TArt& A, int W, int H, TColor Fill, TColor Border, TColor Mark, bool Checked)
{
    const float C = float(W) / 2, R = float(std::min(W, H)) / 2;
    A.Circle(C, float(H) / 2, R, Border);
    A.Circle(C, float(H) / 2, R - 1, Fill);
    if (Checked) A.Circle(C, float(H) / 2, R - 4, Mark);
}

void ScrollButton(TArt& A, int W, int H, TDir D, TColor Fill, TColor ArrowC)
{
    A.FillRect(Rect(0, 0, W, H), Track);
    if (Fill != Track) A.RoundRect(1, 1, float(W - 1), float(H - 1), 3, Fill);
    Arrow(A, float(W) / 2, float(H) / 2, D, 3.5f, ArrowC);
}

void HThumb(TArt& A, int W, int H, TColor C)
{
    A.FillRect(Rect(0, 0, W, H), Track);
    A.RoundRect(1, 5, float(W - 1), float(H - 5), 4.5f, C);
}

void VThumb(TArt& A, int W, int H, TColor C)
{
    A.FillRect(Rect(0, 0, W, H), Track);
    A.RoundRect(5, 1, float(W - 5), float(H - 1), 4.5f, C);
}

void CaptionButton(TArt& A, int W, int H, TColor Fill, TColor Glyph, char Kind)
{
    A.FillRect(Rect(0, 0, W, H), Fill);
    const float CX = float(W) / 2, CY = float(H) / 2;
    switch (Kind) {
    case 'x':
        A.Line(CX - 5, CY - 5, CX + 5, CY + 5, 1.6f, Glyph);
        A.Line(CX - 5, CY + 5, CX + 5, CY - 5, 1.6f, Glyph);
        break;
    case '_': A.FillRect(Rect(int(CX) - 5, int(CY) + 3, int(CX) + 5, int(CY) + 5), Glyph); break;
    case 'o': A.FrameRect(Rect(int(CX) - 5, int(CY) - 5, int(CX) + 5, int(CY) + 5), Glyph, 2); break;
    case 'r':
        A.FrameRect(Rect(int(CX) - 3, int(CY) - 6, int(CX) + 6, int(CY) + 3), Glyph, 1);
        A.FillRect(Rect(int(CX) - 6, int(CY) - 3, int(CX) + 3, int(CY) + 6), Fill);
        A.FrameRect(Rect(int(CX) - 6, int(CY) - 3, int(CX) + 3, int(CY) + 6), Glyph, 2);
        break;
    }
}

void TabFace(TArt& A, int W, int H, TColor Fill, TColor Top, int TopH)
{
    A.FillRect(Rect(0, 0, W, H), Face);
    A.FillRect(Rect(0, 0, W, H), Line);
    A.FillRect(Rect(1, 1, W - 1, H), Fill);
    if (TopH > 0) A.FillRect(Rect(0, 0, W, TopH), Top);
}

constexpr int ButtonW = 72, ButtonH = 25;
constexpr int ToolW = 48, ToolH = 48;
constexpr int ScrollS = 19, ScrollL = 60;
constexpr int ComboW = 80, ComboH = 20, ComboBtnL = 62;
constexpr int EditW = 60, EditH = 21;
constexpr int CheckW = 14;
constexpr int CapBtnW = 30, CapBtnH = 24;
constexpr int MenuW = 80, MenuH = 24;

const TCellDef CellTable[] = {
    // push buttons ("button", "resizebutton", "combobutton")
    {"button.normal", ButtonW, ButtonH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, Surface, Line); }},
    {"button.active", ButtonW, ButtonH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, AccentPale, Accent); }},
    {"button.down", ButtonW, ButtonH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, Accent, AccentDark); }},
    {"button.disabled", ButtonW, ButtonH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, Face, LineSoft); }},
    {"button.focused", ButtonW, ButtonH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, Surface, Accent); }},
    // tool buttons: flat until hovered
    {"tool.normal", ToolW, ToolH, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Face); }},
    {"tool.active", ToolW, ToolH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, AccentPale, AccentPaleLine); }},
    {"tool.down", ToolW, ToolH, false, 0, [](TArt& A, int W, int H) { RoundFace(A, W, H, RGB(204, 223, 248), Accent); }},
    // containers
    {"panel", 40, 40, false, 0, [](TArt& A, int W, int H) { BoxFace(A, W, H, Face, LineSoft); }},
    {"groupbox", 60, 60, false, 0,
     [](TArt& A, int W, int H) {
         BoxFace(A, W, H, Face, Line);
         A.FillRect(Rect(1, 1, W - 1, 23), Surface);
         A.FillRect(Rect(1, 23, W - 1, 24), LineSoft);
         A.FillRect(Rect(1, 1, 4, 23), Accent);
     }},
    {"toolpanel", 40, 40, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Face);
         A.FillRect(Rect(0, H - 1, W, H), LineSoft);
     }},
    // list box frame and items
    {"list.frame", 40, 40, false, 0, [](TArt& A, int W, int H) { BoxFace(A, W, H, Surface, Line); }},
    {"list.item", 40, 20, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Surface); }},
    {"list.active", 40, 20, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Accent); }},
    {"list.focus", 40, 20, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), AccentPale); }},
    // scroll bars: the normal buttons are part of the bar's own picture
    {"hscroll", ScrollL, ScrollS, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Track);
         Arrow(A, ScrollS / 2.0f, H / 2.0f, dLeft, 3.5f, InkMuted);
         Arrow(A, W - ScrollS / 2.0f, H / 2.0f, dRight, 3.5f, InkMuted);
     }},
    {"hscroll.left.active", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dLeft, LineSoft, Ink); }},
    {"hscroll.left.down", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dLeft, Accent, White); }},
    {"hscroll.right.active", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dRight, LineSoft, Ink); }},
    {"hscroll.right.down", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dRight, Accent, White); }},
    {"hscroll.thumb", 30, ScrollS, false, 0, [](TArt& A, int W, int H) { HThumb(A, W, H, ThumbFace); }},
    {"hscroll.thumb.active", 30, ScrollS, false, 0, [](TArt& A, int W, int H) { HThumb(A, W, H, AccentHot); }},
    {"hscroll.thumb.down", 30, ScrollS, false, 0, [](TArt& A, int W, int H) { HThumb(A, W, H, AccentDark); }},
    {"vscroll", ScrollS, ScrollL, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Track);
         Arrow(A, W / 2.0f, ScrollS / 2.0f, dUp, 3.5f, InkMuted);
         Arrow(A, W / 2.0f, H - ScrollS / 2.0f, dDown, 3.5f, InkMuted);
     }},
    {"vscroll.up.active", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dUp, LineSoft, Ink); }},
    {"vscroll.up.down", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dUp, Accent, White); }},
    {"vscroll.down.active", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dDown, LineSoft, Ink); }},
    {"vscroll.down.down", ScrollS, ScrollS, false, 0, [](TArt& A, int W, int H) { ScrollButton(A, W, H, dDown, Accent, White); }},
    {"vscroll.thumb", ScrollS, 30, false, 0, [](TArt& A, int W, int H) { VThumb(A, W, H, ThumbFace); }},
    {"vscroll.thumb.active", ScrollS, 30, false, 0, [](TArt& A, int W, int H) { VThumb(A, W, H, AccentHot); }},
    {"vscroll.thumb.down", ScrollS, 30, false, 0, [](TArt& A, int W, int H) { VThumb(A, W, H, AccentDark); }},
    // combo box: the button lies inside the right fixed end
    {"combo.normal", ComboW, ComboH, false, 0,
     [](TArt& A, int W, int H) {
         BoxFace(A, W, H, Surface, Line);
         Arrow(A, (ComboBtnL + W - 1) / 2.0f, H / 2.0f, dDown, 3.5f, InkMuted);
     }},
    {"combo.active", ComboW, ComboH, false, 0,
     [](TArt& A, int W, int H) {
         BoxFace(A, W, H, Surface, Accent);
         Arrow(A, (ComboBtnL + W - 1) / 2.0f, H / 2.0f, dDown, 3.5f, Accent);
     }},
    {"combo.button.active", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), AccentPale);
         Arrow(A, W / 2.0f, H / 2.0f, dDown, 3.5f, Accent);
     }},
    {"combo.button.down", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Accent);
         Arrow(A, W / 2.0f, H / 2.0f, dDown, 3.5f, White);
     }},
    {"combo.button.disabled", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Surface);
         Arrow(A, W / 2.0f, H / 2.0f, dDown, 3.5f, InkDisabled);
     }},
    // the separate drop-down button ("combobutton"): plain faces, the arrow drawn by the control
    {"combobutton.normal", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Surface); }},
    {"combobutton.active", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), AccentPale); }},
    {"combobutton.down", ComboW - ComboBtnL - 1, ComboH - 2, false, 0,
     [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Accent); }},
    {"combo.item", 40, 16, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Surface); }},
    {"combo.item.active", 40, 16, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Accent); }},
    {"combo.item.focus", 40, 16, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), AccentPale); }},
    // edit
    {"edit.normal", EditW, EditH, false, 0, [](TArt& A, int W, int H) { BoxFace(A, W, H, Surface, Line); }},
    {"edit.active", EditW, EditH, false, 0, [](TArt& A, int W, int H) { BoxFace(A, W, H, Surface, Accent); }},
    // slider
    {"slider.hruler", 40, 8, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Face);
         A.RoundRect(0, 2, float(W), float(H - 2), 2, ThumbFace);
     }},
    {"slider.vruler", 8, 40, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Face);
         A.RoundRect(2, 0, float(W - 2), float(H), 2, ThumbFace);
     }},
    {"slider.thumb", 14, 14, true, Face,
     [](TArt& A, int W, int H) {
         A.Circle(W / 2.0f, H / 2.0f, 6.5f, Accent);
         A.Circle(W / 2.0f, H / 2.0f, 2.5f, White);
     }},
    // check and radio boxes
    {"checkradio", 80, 20, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Face); }},
    {"check.on", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, Surface, Accent, White, true); }},
    {"check.off", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, Surface, Line, White, false); }},
    {"check.on.active", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, Surface, AccentDark, White, true); }},
    {"check.off.active", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, AccentPale, Accent, White, false); }},
    {"check.on.disabled", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, Face, InkDisabled, Face, true); }},
    {"check.off.disabled", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { CheckBox(A, W, H, Face, LineSoft, Face, false); }},
    {"radio.on", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, Surface, Accent, Accent, true); }},
    {"radio.off", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, Surface, Line, Accent, false); }},
    {"radio.on.active", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, AccentPale, AccentDark, AccentDark, true); }},
    {"radio.off.active", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, AccentPale, Accent, Accent, false); }},
    {"radio.on.disabled", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, Face, InkDisabled, InkDisabled, true); }},
    {"radio.off.disabled", CheckW, CheckW, true, Face, [](TArt& A, int W, int H) { RadioBox(A, W, H, Face, LineSoft, Face, false); }},
    // page control
    // the pages share the form's face, so check boxes and labels sit on the colour they expect
    {"tab.frame", 60, 60, false, 0, [](TArt& A, int W, int H) { BoxFace(A, W, H, Face, Line); }},
    {"tab.normal", 60, 24, false, 0, [](TArt& A, int W, int H) { TabFace(A, W, H, FaceDeep, Face, 0); }},
    {"tab.active", 60, 24, false, 0, [](TArt& A, int W, int H) { TabFace(A, W, H, Face, Accent, 2); }},
    {"tab.hot", 60, 24, false, 0, [](TArt& A, int W, int H) { TabFace(A, W, H, AccentPale, AccentPaleLine, 1); }},
    {"tab.strip", 20, 24, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Face);
         A.FillRect(Rect(0, H - 1, W, H), Line);
     }},
    // tree view node buttons: "+" opens a collapsed node, "−" closes an expanded one
    {"tree.expand", 11, 11, true, Surface,
     [](TArt& A, int, int) {
         A.FrameRect(Rect(1, 1, 10, 10), InkMuted);
         A.FillRect(Rect(2, 2, 9, 9), Surface);
         A.FillRect(Rect(3, 5, 8, 6), Ink);
         A.FillRect(Rect(5, 3, 6, 8), Ink);
     }},
    {"tree.collapse", 11, 11, true, Surface,
     [](TArt& A, int, int) {
         A.FrameRect(Rect(1, 1, 10, 10), InkMuted);
         A.FillRect(Rect(2, 2, 9, 9), Surface);
         A.FillRect(Rect(3, 5, 8, 6), Ink);
     }},
    // main menu bar and its items
    {"menubar", 40, 22, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Surface);
         A.FillRect(Rect(0, H - 1, W, H), LineSoft);
     }},
    {"menubaritem.normal", 40, 22, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Surface);
         A.FillRect(Rect(0, H - 1, W, H), LineSoft);
     }},
    {"menubaritem.active", 40, 22, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), AccentPale);
         A.FillRect(Rect(0, H - 1, W, H), LineSoft);
     }},
    {"menubaritem.down", 40, 22, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Accent); }},
    // menu items
    {"menu.item", MenuW, MenuH, false, 0, [](TArt& A, int W, int H) { A.FillRect(Rect(0, 0, W, H), Surface); }},
    {"menu.active", MenuW, MenuH, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Surface);
         A.RoundRect(2, 1, float(W - 2), float(H - 1), 3, Accent);
     }},
    {"menu.divider", MenuW, 7, false, 0,
     [](TArt& A, int W, int H) {
         A.FillRect(Rect(0, 0, W, H), Surface);
         A.FillRect(Rect(6, H / 2, W - 6, H / 2 + 1), LineSoft);
     }},
    {"menu.check", 12, 12, true, Surface, [](TArt& A, int W, int) { Tick(A, 0, 0, float(W), Accent); }},
    {"menu.check.active", 12, 12, true, Accent, [](TArt& A, int W, int) { Tick(A, 0, 0, float(W), White); }},
    {"menu.radio", 12, 12, true, Surface, [](TArt& A, int W, int H) { A.Circle(W / 2.0f, H / 2.0f, 3.2f, Accent); }},
    {"menu.radio.active", 12, 12, true, Accent, [](TArt& A, int W, int H) { A.Circle(W / 2.0f, H / 2.0f, 3.2f, White); }},
    {"menu.arrow", 8, 12, true, Surface, [](TArt& A, int W, int H) { Arrow(A, W / 2.0f, H / 2.0f, dRight, 4, InkMuted); }},
    {"menu.arrow.active", 8, 12, true, Accent, [](TArt& A, int W, int H) { Arrow(A, W / 2.0f, H / 2.0f, dRight, 4, White); }},
    // caption buttons
    {"cap.close", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, Accent, White, 'x'); }},
    {"cap.close.active", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, Danger, White, 'x'); }},
    {"cap.close.down", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, DangerDark, White, 'x'); }},
    {"cap.close.inactive", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, CaptionInactive, White, 'x'); }},
    {"cap.min", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, Accent, White, '_'); }},
    {"cap.min.active", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentHot, White, '_'); }},
    {"cap.min.down", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentDark, White, '_'); }},
    {"cap.min.inactive", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, CaptionInactive, White, '_'); }},
    {"cap.max", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, Accent, White, 'o'); }},
    {"cap.max.active", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentHot, White, 'o'); }},
    {"cap.max.down", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentDark, White, 'o'); }},
    {"cap.max.inactive", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, CaptionInactive, White, 'o'); }},
    {"cap.restore", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, Accent, White, 'r'); }},
    {"cap.restore.active", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentHot, White, 'r'); }},
    {"cap.restore.down", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, AccentDark, White, 'r'); }},
    {"cap.restore.inactive", CapBtnW, CapBtnH, false, 0, [](TArt& A, int W, int H) { CaptionButton(A, W, H, CaptionInactive, White, 'r'); }},
};

constexpr int AtlasW = 256, Gap = 2;

struct TAtlas {
    std::vector<TPlacedCell> Cells;
    int Height = 0;
};

const TAtlas& Atlas()
{
    static const TAtlas A = [] {
        TAtlas R;
        int X = 0, Y = 0, RowH = 0;
        for (const TCellDef& D : CellTable) {
            if (X + D.W > AtlasW) {
                X = 0;
                Y += RowH + Gap;
                RowH = 0;
            }
            R.Cells.push_back({D.Name, Bounds(X, Y, D.W, D.H), D.Keyed});
            X += D.W + Gap;
            RowH = std::max(RowH, D.H);
        }
        R.Height = Y + RowH;
        return R;
    }();
    return A;
}

std::unique_ptr<TBitmap> PaintAtlas()
{
    const TAtlas& L = Atlas();
    TArt A(AtlasW, L.Height);
    for (size_t I = 0; I < L.Cells.size(); ++I) {
        const TCellDef& D = CellTable[I];
        const TRect R = L.Cells[I].R;
        A.SetOrigin(R.Left, R.Top);
        A.SetClip(R);
        D.Paint(A, D.W, D.H);
        if (D.Keyed) {
            // the bottom-left pixel names the key colour of the cell
            A.At(R.Left, R.Bottom - 1) = TRGBA();
            A.Flatten(R, D.Backdrop, Key);
        }
    }
    return A.ToBitmap(Key, Key);
}

// The frame picture: caption band and borders in the caption colour around the client face.
constexpr int FrameW = 200, FrameH = 120, CaptionH = 30, Border = 3;

std::unique_ptr<TBitmap> PaintFrame(TColor Band)
{
    TArt A(FrameW, FrameH);
    A.FillRect(Rect(0, 0, FrameW, FrameH), Band);
    A.FillRect(Rect(Border, CaptionH, FrameW - Border, FrameH - Border), Face);
    return A.ToBitmap(Key, Key);
}

std::unique_ptr<TBitmap> PaintWindow(int W, int H, TColor Fill, TColor Edge)
{
    TArt A(W, H);
    A.FillRect(Rect(0, 0, W, H), Fill);
    A.FrameRect(Rect(0, 0, W, H), Edge);
    return A.ToBitmap(Key, Key);
}

// Fills the nine-piece geometry of a custom control record over cell R with fixed ends of
// the given widths; Mode 1 resizes both ways, 2 horizontally, 3 vertically.
void NinePiece(TbsDataSkinCustomControl* C, const TRect& R, int Mode, int L, int T, int Rt, int B)
{
    const int W = R.Width(), H = R.Height();
    C->PictureIndex = 0;
    C->MaskPictureIndex = -1;
    C->SkinRect = R;
    C->LTPoint = Point(L, T);
    C->RTPoint = Mode == 3 ? Point(0, 0) : Point(W - Rt, T);
    C->LBPoint = Mode == 2 ? Point(0, 0) : Point(L, H - B);
    C->RBPoint = Mode == 1 ? Point(W - Rt, H - B) : Point(0, 0);
    C->ClRect = Rect(L, T, W - Rt, H - B);
    C->LeftStretch = C->TopStretch = C->RightStretch = C->BottomStretch = true;
    C->StretchEffect = true;
    C->StretchType = bsstFull;
}

template <class T>
T* AddControl(TbsSkinData* SD, const String& Name)
{
    auto R = std::make_unique<T>(Name);
    T* P = R.get();
    SD->CtrlList.push_back(std::move(R));
    return P;
}

template <class T>
T* AddObject(TbsSkinData* SD, const String& Name)
{
    auto R = std::make_unique<T>(Name);
    T* P = R.get();
    P->ActivePictureIndex = -1;
    P->ActiveMaskPictureIndex = -1;
    P->GlowLayerPictureIndex = -1;
    P->GlowLayerMaskPictureIndex = -1;
    P->Morphing = false;
    SD->ObjectList.push_back(std::move(R));
    return P;
}

template <class T>
void SetFont(T* R, TColor Color, bool Bold = false)
{
    R->FontName = FontFace;
    R->FontHeight = FontHeight;
    R->FontStyle = Bold ? TFontStyles{fsBold} : TFontStyles{};
    R->FontColor = Color;
}

void ButtonRecord(TbsDataSkinButtonControl* B, const char* Prefix, int Mode)
{
    const String P = Prefix;
    const TRect R = Cell(P + ".normal");
    NinePiece(B, R, Mode, 4, 4, 4, 4);
    SetFont(B, Ink);
    B->ActiveFontColor = Ink;
    B->DownFontColor = P == "button" ? White : Ink;
    B->DisabledFontColor = InkDisabled;
    B->ActiveSkinRect = Cell(P + ".active");
    B->DownSkinRect = Cell(P + ".down");
    B->DisabledSkinRect = P == "button" ? Cell("button.disabled") : R;
    B->FocusedSkinRect = P == "button" ? Cell("button.focused") : Cell(P + ".active");
    B->Morphing = false;
    B->AnimateSkinRect = TRect();
    B->FrameCount = 0;
    B->AnimateInterval = 0;
    B->ShowFocus = false;
    B->GlowLayerPictureIndex = -1;
    B->GlowLayerMaskPictureIndex = -1;
}

void ScrollRecord(TbsDataSkinScrollBarControl* S, bool Horz)
{
    if (Horz) {
        NinePiece(S, Cell("hscroll"), 2, ScrollS, 0, ScrollS, 0);
        S->TrackArea = Rect(ScrollS, 0, ScrollL - ScrollS, ScrollS);
        // the "up" button raises the position: right end
        S->UpButtonRect = Rect(ScrollL - ScrollS, 0, ScrollL, ScrollS);
        S->ActiveUpButtonRect = Cell("hscroll.right.active");
        S->DownUpButtonRect = Cell("hscroll.right.down");
        S->DownButtonRect = Rect(0, 0, ScrollS, ScrollS);
        S->ActiveDownButtonRect = Cell("hscroll.left.active");
        S->DownDownButtonRect = Cell("hscroll.left.down");
        S->ThumbRect = Cell("hscroll.thumb");
        S->ActiveThumbRect = Cell("hscroll.thumb.active");
        S->DownThumbRect = Cell("hscroll.thumb.down");
    } else {
        NinePiece(S, Cell("vscroll"), 3, 0, ScrollS, 0, ScrollS);
        S->TrackArea = Rect(0, ScrollS, ScrollS, ScrollL - ScrollS);
        S->UpButtonRect = Rect(0, ScrollL - ScrollS, ScrollS, ScrollL);
        S->ActiveUpButtonRect = Cell("vscroll.down.active");
        S->DownUpButtonRect = Cell("vscroll.down.down");
        S->DownButtonRect = Rect(0, 0, ScrollS, ScrollS);
        S->ActiveDownButtonRect = Cell("vscroll.up.active");
        S->DownDownButtonRect = Cell("vscroll.up.down");
        S->ThumbRect = Cell("vscroll.thumb");
        S->ActiveThumbRect = Cell("vscroll.thumb.active");
        S->DownThumbRect = Cell("vscroll.thumb.down");
    }
    S->ThumbOffset1 = S->ThumbOffset2 = 6;
    S->GlyphRect = S->ActiveGlyphRect = S->DownGlyphRect = TRect();
    S->GlyphTransparent = S->ThumbTransparent = false;
    S->GlyphTransparentColor = S->ThumbTransparentColor = Key;
    S->ThumbStretchEffect = true;
    S->ThumbMinSize = 0;
    S->ThumbMinPageSize = 0;
}

void CheckRadioRecord(TbsDataSkinCheckRadioControl* C, const char* Kind)
{
    const String K = Kind;
    NinePiece(C, Cell("checkradio"), 1, 22, 2, 2, 2);
    SetFont(C, Ink);
    C->ActiveFontColor = Ink;
    C->UnEnabledFontColor = InkDisabled;
    C->FrameFontColor = Ink;
    C->ActiveSkinRect = TRect();
    C->CheckImageArea = Rect(0, 0, 20, 20);
    C->TextArea = Rect(22, 0, 78, 20);
    C->CheckImageRect = Cell(K + ".on");
    C->UnCheckImageRect = Cell(K + ".off");
    C->ActiveCheckImageRect = Cell(K + ".on.active");
    C->ActiveUnCheckImageRect = Cell(K + ".off.active");
    C->UnEnabledCheckImageRect = Cell(K + ".on.disabled");
    C->UnEnabledUnCheckImageRect = Cell(K + ".off.disabled");
    C->GrayedCheckImageRect = C->ActiveGrayedCheckImageRect = TRect();
    C->Morphing = false;
}

void PanelRecord(TbsDataSkinPanelControl* P, const char* CellName)
{
    NinePiece(P, Cell(CellName), 1, 4, 4, 4, 4);
    P->ClRect = Rect(1, 1, P->SkinRect.Width() - 1, P->SkinRect.Height() - 1);
    SetFont(P, Ink);
    P->Alignment = taLeftJustify;
    P->CaptionRect = TRect();
    P->BGPictureIndex = -1;
}

void StdButtonObject(TbsSkinData* SD, const char* Name, TbsStdCommand Cmd, const char* Prefix, const char* Hint)
{
    const String P = Prefix;
    auto* B = AddObject<TbsDataSkinStdButton>(SD, Name);
    B->Command = Cmd;
    B->Hint = Hint;
    B->SkinRectInAPicture = true;
    B->ActivePictureIndex = 0;
    B->SkinRect = Cell(P);
    B->ActiveSkinRect = Cell(P + ".active");
    B->DownRect = Cell(P + ".down");
    B->InActiveSkinRect = Cell(P + ".inactive");
    B->DisableSkinRect = Cell(P + ".inactive");
    B->AlphaMaskPictureIndex = B->AlphaMaskActivePictureIndex = B->AlphaMaskInActivePictureIndex = -1;
    // the reader gives a minimize or maximize button with its standard hint "Restore"
    // anyway; storing it keeps the folder unchanged by a load and save
    if (Cmd == cmMaximize || Cmd == cmMinimize) B->RestoreHint = "Restore";
    if (Cmd == cmMaximize) {
        B->RestoreRect = Cell("cap.restore");
        B->RestoreActiveRect = Cell("cap.restore.active");
        B->RestoreDownRect = Cell("cap.restore.down");
        B->RestoreInActiveRect = Cell("cap.restore.inactive");
    }
}

}  // namespace

const std::vector<TPlacedCell>& AtlasCells() { return Atlas().Cells; }

TRect Cell(const String& Name)
{
    for (const TPlacedCell& C : Atlas().Cells)
        if (C.Name == Name) return C.R;
    throw std::logic_error("no skin cell named " + Name);
}

void BuildProgramSkin(TbsSkinData* SD)
{
    SD->ClearAll();
    SD->SkinName = "澄枫 清爽蓝";
    SD->SkinAuthor = "澄枫视频软件";
    SD->SkinComments = "Flat light theme with one blue accent";

    // Pictures: the frame pair, then the list (control atlas, popup window, hint window).
    SD->FPicture = PaintFrame(Accent);
    SD->FInActivePicture = PaintFrame(CaptionInactive);
    SD->FMask = std::make_unique<TBitmap>();
    SD->FPictureName = "frame.bmp";
    SD->FInActivePictureName = "frameinactive.bmp";
    SD->FMaskName = "";
    SD->FActivePictures.push_back(PaintAtlas());
    SD->FActivePictures.push_back(PaintWindow(40, 40, Surface, Line));
    SD->FActivePictures.push_back(PaintWindow(40, 28, HintFace, HintFace));
    SD->FActivePicturesNames->Clear();
    SD->FActivePicturesNames->Add("controls.bmp");
    SD->FActivePicturesNames->Add("popup.bmp");
    SD->FActivePicturesNames->Add("hint.bmp");

    // Form frame: corners on the client rectangle, hit-test points on the corners.
    SD->ClRect = Rect(Border, CaptionH, FrameW - Border, FrameH - Border);
    SD->LTPoint = Point(Border, CaptionH);
    SD->RTPoint = Point(FrameW - Border, CaptionH);
    SD->LBPoint = Point(Border, FrameH - Border);
    SD->RBPoint = Point(FrameW - Border, FrameH - Border);
    SD->HitTestLTPoint = SD->LTPoint;
    SD->HitTestRTPoint = SD->RTPoint;
    SD->HitTestLBPoint = SD->LBPoint;
    SD->HitTestRBPoint = SD->RBPoint;
    SD->MaskRectArea = TRect();
    SD->BGPictureIndex = SD->MDIBGPictureIndex = -1;
    SD->LeftStretch = SD->RightStretch = SD->TopStretch = SD->BottomStretch = true;
    SD->StretchEffect = true;
    SD->StretchType = bsstFull;
    SD->MDIBGStretchEffect = false;
    SD->MDIBGStretchType = bsstFull;
    SD->ButtonsRect = TRect();
    SD->CaptionRect = Rect(Border, 3, FrameW - Border - 3, 3 + CapBtnH);
    SD->ButtonsOffset = 0;
    SD->CapButtonsInLeft = false;
    SD->MainMenuPopupUp = false;
    SD->BorderW = Border;
    SD->AutoRenderingInActiveImage = false;
    SD->InActiveEffect = ieBrightness;
    SD->FormMinWidth = 140;
    SD->FormMinHeight = 60;
    SD->MDITabsTransparent = false;
    SD->MainMenuBarTransparent = false;

    // Windows of popup menus and hints, each a whole picture of its own.
    TbsDataSkinPopupWindow* PW = SD->PopupWindow.get();
    PW->WindowPictureIndex = 1;
    PW->MaskPictureIndex = -1;
    PW->LTPoint = Point(3, 3);
    PW->RTPoint = Point(37, 3);
    PW->LBPoint = Point(3, 37);
    PW->RBPoint = Point(37, 37);
    PW->ItemsRect = Rect(3, 3, 37, 37);
    PW->ScrollMarkerColor = InkMuted;
    PW->ScrollMarkerActiveColor = Accent;
    PW->TopStretch = PW->LeftStretch = PW->RightStretch = PW->BottomStretch = PW->StretchEffect = true;
    PW->StretchType = bsstFull;
    TbsDataSkinHintWindow* HW = SD->HintWindow.get();
    HW->WindowPictureIndex = 2;
    HW->MaskPictureIndex = -1;
    HW->LTPoint = Point(3, 3);
    HW->RTPoint = Point(37, 3);
    HW->LBPoint = Point(3, 25);
    HW->RBPoint = Point(37, 25);
    HW->ClRect = Rect(6, 4, 34, 24);
    HW->FontName = FontFace;
    HW->FontHeight = FontHeight;
    HW->FontStyle = {};
    HW->FontColor = White;
    HW->TopStretch = HW->LeftStretch = HW->RightStretch = HW->BottomStretch = HW->StretchEffect = true;
    HW->StretchType = bsstFull;
    // No layered border.
    SD->LayerFrame->PictureIndex = -1;
    SD->LayerFrame->MaskPictureIndex = -1;
    SD->LayerFrame->InActivePictureIndex = -1;
    SD->LayerFrame->InActiveMaskPictureIndex = -1;
    SD->LayerFrame->BlurMaskPictureIndex = -1;

    TbsSkinColors* K = SD->FSkinColors.get();
    K->FcBtnFace = Face;
    K->FcBtnText = Ink;
    K->FcWindow = Surface;
    K->FcWindowText = Ink;
    K->FcHighLight = Accent;
    K->FcHighLightText = White;
    K->FcBtnHighLight = Surface;
    K->FcBtnShadow = Line;

    // Objects: the menu item first of the menu-item objects, the menu bar item, the caption
    // and the caption buttons.
    auto* MI = AddObject<TbsDataSkinMenuItem>(SD, "menuitem");
    MI->ActivePictureIndex = 0;
    MI->SkinRect = Cell("menu.item");
    MI->ActiveSkinRect = Cell("menu.active");
    MI->DividerRect = Cell("menu.divider");
    MI->DividerLO = MI->DividerRO = 8;
    MI->ItemLO = MI->ItemRO = 8;
    MI->FontName = FontFace;
    MI->FontHeight = FontHeight;
    MI->FontStyle = {};
    MI->FontColor = Ink;
    MI->ActiveFontColor = White;
    MI->UnEnabledFontColor = InkDisabled;
    MI->TextRct = Rect(28, 0, MenuW - 8, MenuH);
    MI->ImageRct = Rect(6, 4, 22, 20);
    MI->UseImageColor = false;
    MI->StretchEffect = MI->DividerStretchEffect = MI->InActiveStretchEffect = true;
    MI->AnimateSkinRect = TRect();
    MI->FrameCount = MI->AnimateInterval = 0;
    MI->CheckImageRect = Cell("menu.check");
    MI->ActiveCheckImageRect = Cell("menu.check.active");
    MI->RadioImageRect = Cell("menu.radio");
    MI->ActiveRadioImageRect = Cell("menu.radio.active");
    MI->ArrowImageRect = Cell("menu.arrow");
    MI->ActiveArrowImageRect = Cell("menu.arrow.active");

    auto* BI = AddObject<TbsDataSkinMainMenuBarItem>(SD, "mainmenubaritem");
    BI->ActivePictureIndex = 0;
    BI->SkinRect = Cell("menubaritem.normal");
    BI->ActiveSkinRect = Cell("menubaritem.active");
    BI->DownRect = Cell("menubaritem.down");
    BI->FontName = FontFace;
    BI->FontHeight = FontHeight;
    BI->FontStyle = {};
    BI->FontColor = Ink;
    BI->ActiveFontColor = Ink;
    BI->DownFontColor = White;
    BI->UnEnabledFontColor = InkDisabled;
    BI->TextRct = Rect(4, 0, 36, 22);
    BI->ItemLO = BI->ItemRO = 4;
    BI->StretchEffect = true;
    BI->AnimateSkinRect = TRect();
    BI->FrameCount = BI->AnimateInterval = 0;

    auto* Cap = AddObject<TbsDataSkinCaption>(SD, "caption");
    Cap->SkinRect = Rect(Border, 0, FrameW - Border, CaptionH);
    Cap->ActiveSkinRect = TRect();
    Cap->FontName = FontFace;
    Cap->FontHeight = 15;
    Cap->FontStyle = {fsBold};
    Cap->FontColor = RGB(228, 233, 240);
    Cap->ActiveFontColor = White;
    Cap->Shadow = false;
    Cap->Light = false;
    Cap->Alignment = taLeftJustify;
    Cap->TextRct = Rect(7, 0, FrameW - 2 * Border - 4, CaptionH);
    Cap->FrameRect = Cap->ActiveFrameRect = Cap->FrameTextRect = TRect();
    Cap->StretchEffect = true;
    Cap->AnimateSkinRect = TRect();
    Cap->FrameCount = Cap->AnimateInterval = 0;
    Cap->GlowEffect = Cap->VistaGlowEffect = Cap->ReflectionEffect = false;
    Cap->QuickButtonAlphaMaskPictureIndex = -1;

    StdButtonObject(SD, "closebutton", cmClose, "cap.close", "Close");
    StdButtonObject(SD, "maxbutton", cmMaximize, "cap.max", "Maximize");
    StdButtonObject(SD, "minbutton", cmMinimize, "cap.min", "Minimize");

    // Controls.
    ButtonRecord(AddControl<TbsDataSkinButtonControl>(SD, "button"), "button", 1);
    ButtonRecord(AddControl<TbsDataSkinButtonControl>(SD, "resizebutton"), "button", 1);
    ButtonRecord(AddControl<TbsDataSkinButtonControl>(SD, "resizetoolbutton"), "tool", 1);
    ButtonRecord(AddControl<TbsDataSkinButtonControl>(SD, "toolbutton"), "tool", 1);
    // the main window's add button and the open dialog's view button: tool faces whose
    // right strip is the drop-down part
    auto* TM = AddControl<TbsDataSkinMenuButtonControl>(SD, "toolmenubutton");
    ButtonRecord(TM, "tool", 1);
    TM->TrackButtonRect = Rect(ToolW - 14, 0, ToolW, ToolH);
    auto* CB = AddControl<TbsDataSkinButtonControl>(SD, "combobutton");
    ButtonRecord(CB, "button", 1);
    PanelRecord(AddControl<TbsDataSkinPanelControl>(SD, "panel"), "panel");
    auto* GB = AddControl<TbsDataSkinPanelControl>(SD, "groupbox");
    // The caption band starts at the edge of the left corner and ends inside the right one,
    // so a wider box stretches the band with it instead of cutting its caption off.
    NinePiece(GB, Cell("groupbox"), 1, 8, 24, 5, 4);
    GB->ClRect = Rect(1, 24, 59, 59);
    SetFont(GB, Ink, true);
    GB->Alignment = taLeftJustify;
    GB->CaptionRect = Rect(8, 1, 56, 23);
    GB->BGPictureIndex = -1;
    PanelRecord(AddControl<TbsDataSkinPanelControl>(SD, "toolpanel"), "toolpanel");
    PanelRecord(AddControl<TbsDataSkinPanelControl>(SD, "resizetoolpanel"), "toolpanel");
    for (const char* Name : {"toolpanel", "resizetoolpanel"}) {
        auto* P = dynamic_cast<TbsDataSkinPanelControl*>(SD->CtrlList[size_t(SD->GetControlIndex(Name))].get());
        P->ClRect = Rect(0, 0, 40, 39);
    }

    auto* LV = AddControl<TbsDataSkinListView>(SD, "listview");
    LV->PictureIndex = LV->MaskPictureIndex = -1;
    SetFont(LV, Ink);
    LV->BGColor = Surface;

    auto* LB = AddControl<TbsDataSkinListBox>(SD, "listbox");
    NinePiece(LB, Cell("list.frame"), 1, 3, 3, 3, 3);
    LB->ClRect = Rect(1, 1, 39, 39);
    LB->SItemRect = Cell("list.item");
    LB->ActiveItemRect = Cell("list.active");
    LB->FocusItemRect = Cell("list.focus");
    LB->ItemLeftOffset = LB->ItemRightOffset = 2;
    LB->ItemTextRect = Rect(4, 0, 36, 20);
    SetFont(LB, Ink);
    LB->ActiveFontColor = White;
    LB->FocusFontColor = Ink;
    LB->CaptionRect = TRect();
    LB->CaptionFontName = FontFace;
    LB->CaptionFontHeight = FontHeight;
    LB->CaptionFontColor = Ink;
    LB->VScrollBarName = "vscrollbar";
    LB->HScrollBarName = "hscrollbar";
    LB->BothScrollBarName = "bothhscrollbar";
    LB->ShowFocus = false;

    ScrollRecord(AddControl<TbsDataSkinScrollBarControl>(SD, "hscrollbar"), true);
    ScrollRecord(AddControl<TbsDataSkinScrollBarControl>(SD, "vscrollbar"), false);
    ScrollRecord(AddControl<TbsDataSkinScrollBarControl>(SD, "bothhscrollbar"), true);

    auto* CO = AddControl<TbsDataSkinComboBox>(SD, "combobox");
    NinePiece(CO, Cell("combo.normal"), 2, 4, 0, ComboW - ComboBtnL + 2, 0);
    CO->ClRect = Rect(3, 2, ComboBtnL - 2, ComboH - 2);
    CO->ActiveSkinRect = Cell("combo.active");
    CO->SItemRect = Cell("combo.item");
    CO->ActiveItemRect = Cell("combo.item.active");
    CO->FocusItemRect = Cell("combo.item.focus");
    CO->ItemLeftOffset = CO->ItemRightOffset = 2;
    CO->ItemTextRect = Rect(2, 0, 38, 16);
    SetFont(CO, Ink);
    CO->FocusFontColor = Ink;
    CO->ActiveFontColor = Ink;
    CO->ListBoxName = "listbox";
    CO->ButtonRect = Rect(ComboBtnL, 1, ComboW - 1, ComboH - 1);
    CO->ActiveButtonRect = Cell("combo.button.active");
    CO->DownButtonRect = Cell("combo.button.down");
    CO->UnEnabledButtonRect = Cell("combo.button.disabled");
    CO->ItemStretchEffect = CO->FocusItemStretchEffect = true;
    CO->ShowFocus = false;
    auto* CBtn = CB;
    NinePiece(CBtn, Cell("combobutton.normal"), 1, 2, 2, 2, 2);
    CBtn->ActiveSkinRect = CBtn->FocusedSkinRect = Cell("combobutton.active");
    CBtn->DownSkinRect = Cell("combobutton.down");
    CBtn->DisabledSkinRect = Cell("combobutton.normal");
    CBtn->FontColor = InkMuted;
    CBtn->ActiveFontColor = Accent;
    CBtn->DownFontColor = White;

    auto* ED = AddControl<TbsDataSkinEditControl>(SD, "edit");
    NinePiece(ED, Cell("edit.normal"), 2, 4, 0, 4, 0);
    ED->ClRect = Rect(4, 3, EditW - 4, EditH - 3);
    SetFont(ED, Ink);
    ED->DisabledFontColor = InkDisabled;
    ED->ActiveFontColor = Ink;
    ED->ActiveSkinRect = Cell("edit.active");
    ED->ButtonRect = ED->ActiveButtonRect = ED->DownButtonRect = ED->UnEnabledButtonRect = TRect();

    auto* SL = AddControl<TbsDataSkinSlider>(SD, "slider");
    SL->PictureIndex = 0;
    SL->MaskPictureIndex = -1;
    SL->SkinRect = Cell("slider.hruler");
    SL->HRulerRect = Cell("slider.hruler");
    SL->HThumbRect = Cell("slider.thumb");
    SL->VRulerRect = Cell("slider.vruler");
    SL->VThumbRect = Cell("slider.thumb");
    SL->EdgeSize = 3;
    SL->BGColor = Face;
    SL->PointsColor = InkMuted;

    auto* LA = AddControl<TbsDataSkinStdLabelControl>(SD, "stdlabel");
    LA->PictureIndex = LA->MaskPictureIndex = -1;
    SetFont(LA, Ink);
    LA->ActiveFontColor = Accent;

    CheckRadioRecord(AddControl<TbsDataSkinCheckRadioControl>(SD, "checkbox"), "check");
    CheckRadioRecord(AddControl<TbsDataSkinCheckRadioControl>(SD, "radiobox"), "radio");

    auto* TB = AddControl<TbsDataSkinTabControl>(SD, "tab");
    TB->PictureIndex = 0;
    TB->MaskPictureIndex = -1;
    TB->SkinRect = Cell("tab.frame");
    TB->LTPoint = Point(4, 4);
    TB->RTPoint = Point(56, 4);
    TB->LBPoint = Point(4, 56);
    TB->RBPoint = Point(56, 56);
    TB->ClRect = Rect(1, 1, 59, 59);
    TB->TabRect = Cell("tab.normal");
    TB->ActiveTabRect = Cell("tab.active");
    TB->FocusTabRect = Cell("tab.active");
    TB->MouseInTabRect = Cell("tab.hot");
    TB->TabsBGRect = Cell("tab.strip");
    TB->TabLeftOffset = TB->TabRightOffset = 4;
    TB->FontName = FontFace;
    TB->FontHeight = FontHeight;
    TB->FontStyle = {};
    TB->FontColor = InkMuted;
    TB->ActiveFontColor = Ink;
    TB->FocusFontColor = Ink;
    TB->MouseInFontColor = Ink;
    TB->UpDown = "";
    TB->BGPictureIndex = -1;
    TB->TabStretchEffect = true;
    TB->ShowFocus = false;
    TB->LeftStretch = TB->TopStretch = TB->RightStretch = TB->BottomStretch = TB->StretchEffect = true;
    TB->StretchType = bsstFull;

    auto* TV = AddControl<TbsDataSkinTreeView>(SD, "treeview");
    TV->PictureIndex = 0;
    TV->MaskPictureIndex = -1;
    SetFont(TV, Ink);
    TV->BGColor = Surface;
    // The tree draws the first picture on an expanded node and the second on a collapsed
    // one: "−" collapses an open folder, "+" opens a closed one.
    TV->ExpandImageRect = Cell("tree.collapse");
    TV->NoExpandImageRect = Cell("tree.expand");

    auto* MB = AddControl<TbsDataSkinMainMenuBar>(SD, "mainmenubar");
    MB->PictureIndex = 0;
    MB->MaskPictureIndex = -1;
    MB->SkinRect = Cell("menubar");
    MB->ItemsRect = Rect(2, 0, 38, 22);
    MB->MenuBarItem = "mainmenubaritem";
    MB->CloseButton = MB->MaxButton = MB->MinButton = MB->SysMenuButton = "";
    MB->TrackMarkColor = InkMuted;
    MB->TrackMarkActiveColor = Accent;
    MB->StretchEffect = true;
    MB->ItemTransparent = false;

    auto* BV = AddControl<TbsDataSkinBevel>(SD, "bevel");
    BV->PictureIndex = BV->MaskPictureIndex = -1;
    BV->LightColor = Surface;
    BV->DarkColor = Line;

    SD->Empty = false;
}

}  // namespace skingen
