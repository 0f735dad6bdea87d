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

// Marks a control as painting a copy and saves the device context's state for as long as
// it lives, so that a paint which raises leaves neither the mark nor a saved state behind.
class TPaintCopyScope {
public:
    TPaintCopyScope(TControl* AControl, HDC ADC) : FControl(AControl), FDC(ADC), FSaved(SaveDC(ADC))
    {
        SetPaintCopy(FControl, true);
    }
    ~TPaintCopyScope()
    {
        RestoreDC(FDC, FSaved);
        SetPaintCopy(FControl, false);
    }
    TPaintCopyScope(const TPaintCopyScope&) = delete;
    TPaintCopyScope& operator=(const TPaintCopyScope&) = delete;

private:
    TControl* FControl;
    HDC FDC;
    int FSaved;
};

void DrawParentPart(TWinControl* Control, const TPoint& Shift, TCanvas* Canvas)
{
    if (!Control || !Canvas) return;
    TWinControl* parent = Control->Parent();
    if (!parent) return;
    HDC dc = Canvas->Handle();
    {
        TPaintCopyScope scope(parent, dc);
        SetViewportOrgEx(dc, -Control->Left() - Shift.X, -Control->Top() - Shift.Y, nullptr);
        IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        // An MDI main form shows its client window there; another form paints only its
        // background; other parents paint their window too.
        auto* form = dynamic_cast<TCustomForm*>(parent);
        if (form && form->FormStyle() == fsMDIForm && form->ClientHandle())
            SendMessage(form->ClientHandle(), WM_ERASEBKGND, WPARAM(dc), 0);
        else
            parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
        if (!form) TWinControlPainter::PaintWindowOf(parent, dc);
    }

    // the parent stays marked while its graphic controls under this one paint
    TPaintCopyScope parentScope(parent, dc);
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
        TPaintCopyScope scope(g, dc);
        SetViewportOrgEx(dc, g->Left() - Control->Left() - Shift.X, g->Top() - Control->Top() - Shift.Y, nullptr);
        IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        g->Perform(WM_PAINT, WPARAM(dc), 0);
    }
}

}  // namespace

void DrawParentBackground(TWinControl* Control, TCanvas* Canvas) { DrawParentPart(Control, TPoint(0, 0), Canvas); }

void DrawParentBackgroundInRect(TWinControl* Control, const TRect& R, TCanvas* Canvas)
{
    DrawParentPart(Control, R.TopLeft(), Canvas);
}
