// TCustomLabel: a caption drawn on the parent, measured for AutoSize, with its
// accelerator focusing another control.
#include "platform/forms/StdCtrls.h"

namespace {
// A device context for measuring text outside painting.
HDC MeasuringDC()
{
    static HDC DC = CreateCompatibleDC(nullptr);
    return DC;
}
}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
    FWidth = 65;
    FHeight = 17;
    FAutoSize = true;
    FParentColor = true;
}

void TCustomLabel::SetAlignment(TAlignment V)
{
    if (FAlignment == V) return;
    FAlignment = V;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout V)
{
    if (FLayout == V) return;
    FLayout = V;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool V)
{
    if (Transparent() == V) return;
    if (V) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool V)
{
    if (FWordWrap == V) return;
    FWordWrap = V;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool V)
{
    if (FShowAccelChar == V) return;
    FShowAccelChar = V;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* V)
{
    FFocusControl = V;
    if (V) V->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAutoSize(bool V)
{
    TGraphicControl::SetAutoSize(V);
    AdjustBounds();
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

String TCustomLabel::DisplayCaption() const { return Caption(); }

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    String Text = DisplayCaption();
    bool Calc = (Flags & DT_CALCRECT) != 0;
    if (Calc && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += " ";
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    HDC DC = FPaintDC ? FPaintDC : MeasuringDC();
    int Saved = SaveDC(DC);
    SelectObject(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    if (!Enabled() && !Calc) {
        TRect R{Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1};
        SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawText(DC, Text.c_str(), int(Text.size()), &R, Flags);
        SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
    }
    DrawText(DC, Text.c_str(), int(Text.size()), &Rect, Flags);
    RestoreDC(DC, Saved);
}

void TCustomLabel::Paint()
{
    TRect R = ClientRect();
    if (!Transparent()) FillSolid(FPaintDC, R, FColor);
    UINT Style = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) |
                 (FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT);
    if (FLayout != tlTop) {
        TRect C = R;
        DoDrawText(C, Style | DT_CALCRECT);
        int Dy = FLayout == tlBottom ? Height() - C.Bottom : (Height() - C.Bottom) / 2;
        R = {R.Left, R.Top + Dy, R.Right, R.Bottom + Dy};
    }
    DoDrawText(R, Style);
}

void TCustomLabel::AdjustBounds()
{
    if (FComponentState.Contains(csLoading) || !FAutoSize) return;
    TRect R = ClientRect();
    HDC Keep = FPaintDC;
    FPaintDC = nullptr;
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
    FPaintDC = Keep;
    int X = FLeft;
    if (FAlignment == taRightJustify) X += FWidth - R.Right;
    SetBounds(X, FTop, R.Right, R.Bottom);
}

void TCustomLabel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(M);
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(WORD(M.WParam), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            M.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::Dispatch(M);
}
