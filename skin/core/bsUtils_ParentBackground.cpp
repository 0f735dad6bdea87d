// The background of transparent controls: the parent's picture under the control, painted
// into the control's own canvas.
#include "skin/core/bsUtils.h"

#include "platform/forms/Forms.h"

namespace {

// Reaches the parent's protected painting of its window.
struct TWinControlPainter : TWinControl {
    static void PaintWindowOf(TWinControl* C, HDC DC) { (C->*(&TWinControlPainter::PaintWindow))(DC); }
};

void SetPaintCopy(TControl* C, bool On)
{
    TControlState s = C->ControlState();
    if (On)
        s.Include(csPaintCopy);
    else
        s.Exclude(csPaintCopy);
    C->SetControlState(s);
}

void DrawParentPart(TWinControl* Control, const TPoint& Shift, TCanvas* Canvas)
{
    if (!Control || !Canvas) return;
    TWinControl* parent = Control->Parent();
    if (!parent) return;
    SetPaintCopy(parent, true);
    HDC dc = Canvas->Handle();
    const TPoint origin(-Control->Left() - Shift.X, -Control->Top() - Shift.Y);
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, origin.X, origin.Y, nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    // A form paints only its background here; other parents paint their window too.  (An
    // MDI main form would ask its client window: this system has none.)
    const bool isForm = dynamic_cast<TCustomForm*>(parent) != nullptr;
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    if (!isForm) TWinControlPainter::PaintWindowOf(parent, dc);
    RestoreDC(dc, saved);

    const TRect bounds = Control->BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == Control) break;
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        const TRect b = g->BoundsRect();
        const TRect cut(std::max(b.Left, bounds.Left), std::max(b.Top, bounds.Top), std::min(b.Right, bounds.Right),
                        std::min(b.Bottom, bounds.Bottom));
        if (cut.IsEmpty()) continue;
        SetPaintCopy(g, true);
        saved = SaveDC(dc);
        SetViewportOrgEx(dc, g->Left() - Control->Left() - Shift.X, g->Top() - Control->Top() - Shift.Y, nullptr);
        IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        g->Perform(WM_PAINT, WPARAM(dc), 0);
        RestoreDC(dc, saved);
        SetPaintCopy(g, false);
    }
    SetPaintCopy(parent, false);
}

}  // namespace

void DrawParentBackground(TWinControl* Control, TCanvas* Canvas) { DrawParentPart(Control, TPoint(0, 0), Canvas); }

void DrawParentBackgroundInRect(TWinControl* Control, const TRect& R, TCanvas* Canvas)
{
    DrawParentPart(Control, R.TopLeft(), Canvas);
}
