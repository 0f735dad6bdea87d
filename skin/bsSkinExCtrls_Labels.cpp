// The label the skinned labels build on, the skinned standard label and the link label.
#include "skin/bsSkinExCtrls.h"

#include "platform/shell/ShellAPI.h"

TbsDataSkinStdLabelControl* bsFindStdLabelRecord(TbsSkinData* SD, const String& Name, int& Index)
{
    Index = !SD || SD->Empty ? -1 : SD->GetControlIndex(Name);
    return Index < 0 ? nullptr : dynamic_cast<TbsDataSkinStdLabelControl*>(SD->CtrlList[size_t(Index)].get());
}

void bsSetTextCharset(TFont* Font, TbsSkinData* SD, TFont* DefaultFont)
{
    Font->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : DefaultFont->Charset());
}

namespace {

TRect Moved(const TRect& R, int DX, int DY) { return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

// Text drawn once, or (disabled) twice: light one pixel right and down, then dark.
void DrawStateText(TCanvas* C, TRect& R, bool Enabled, TColor Light, TColor Dark, const std::function<void(TRect&)>& Draw)
{
    if (Enabled) {
        Draw(R);
        return;
    }
    TRect Shifted = Moved(R, 1, 1);
    C->Font()->SetColor(Light);
    Draw(Shifted);
    C->Font()->SetColor(Dark);
    Draw(R);
}

}  // namespace

// ---- TbsCustomLabel -----------------------------------------------------------------------------

TbsCustomLabel::TbsCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csReplicatable);
    SetBounds(Left(), Top(), 65, 17);
    FAutoSize = true;
}

void TbsCustomLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TbsCustomLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TbsCustomLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TbsCustomLabel::SetShowAccelChar(bool Value)
{
    if (Value == FShowAccelChar) return;
    FShowAccelChar = Value;
    Invalidate();
}

void TbsCustomLabel::SetTransparent(bool Value)
{
    if (Value == Transparent()) return;
    if (Value) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    Invalidate();
}

void TbsCustomLabel::SetFocusControl(TWinControl* Value)
{
    bsSetLink(this, FFocusControl, Value);
}

void TbsCustomLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TbsCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TbsCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsCustomLabel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_TEXTCHANGED:
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

UINT TbsCustomLabel::TextFlags() const
{
    const UINT Align = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
    return (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | Align;
}

void TbsCustomLabel::DoDrawText(TRect& R, UINT Flags)
{
    String Text = GetLabelText();
    if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&"))) Text = " ";
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    DrawStateText(C, R, Enabled(), clBtnHighlight, clBtnShadow, [&](TRect& W) {
        DrawText(C->Handle(), Text.data(), int(Text.size()), &W, Flags);
    });
}

void TbsCustomLabel::Paint()
{
    TCanvas* C = Canvas();
    if (!Transparent()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
    }
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const UINT Flags = TextFlags();
    if (FLayout != tlTop) {
        TRect M = R;
        DoDrawText(M, Flags | DT_CALCRECT);
        R = Moved(R, 0, FLayout == tlBottom ? Height() - M.Bottom : (Height() - M.Bottom) / 2);
    }
    DoDrawText(R, Flags);
}

void TbsCustomLabel::AdjustBounds()
{
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !FAutoSize) return;
    HDC DC = GetDC(nullptr);
    if (!DC) return;
    TRect R = ClientRect();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
    DoDrawText(R, (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
    FCanvas->SetHandle(nullptr);
    ReleaseDC(nullptr, DC);
    int X = Left();
    if (FAlignment == taRightJustify) X += Width() - R.Right;
    SetBounds(X, Top(), R.Right, R.Bottom);
}

// ---- TbsSkinStdLabel ------------------------------------------------------------------------------

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner)
    : TbsCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    SetTransparent(true);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    if (Value) ChangeSkinData();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value)
{
    if (Value == FEllipsType) return;
    FEllipsType = Value;
    Invalidate();
}

void TbsSkinStdLabel::GetSkinData()
{
    if (auto* R = bsFindStdLabelRecord(FSD, FSkinDataName, FIndex)) {
        FontName = R->FontName;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        FontColor = R->FontColor;
    }
}

void TbsSkinStdLabel::ChangeSkinData()
{
    GetSkinData();
    if (FAutoSize) AdjustBounds();
    Repaint();
}

void TbsSkinStdLabel::DrawSkinText(TCanvas* C, TRect& R, UINT Flags, String Text)
{
    GetSkinData();
    if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&"))) Text = " ";
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    if (FEllipsType == bsetEndEllips) Flags |= DT_END_ELLIPSIS;
    else if (FEllipsType == bsetPathEllips) Flags |= DT_PATH_ELLIPSIS;
    TFont* F = C->Font();
    if (FIndex == -1) {
        F->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
    } else {
        F->Assign(Font());
        if (FUseSkinFont) {
            F->SetName(FontName);
            F->SetStyle(FontStyle);
            F->SetHeight(FontHeight);
        }
        F->SetColor(FUseSkinColor ? FontColor : Font()->Color());
    }
    bsSetTextCharset(F, FSD, FDefaultFont.get());
    TbsSkinColors* K = FIndex != -1 ? FSD->FSkinColors.get() : nullptr;
    const bool Ellipsis = FEllipsType != bsetNone;
    DrawStateText(C, R, Enabled(), K ? K->FcBtnHighLight : clBtnHighlight, K ? K->FcBtnShadow : clBtnShadow,
                  [&](TRect& W) {
                      if (Ellipsis) DrawTextEx(C->Handle(), Text.data(), int(Text.size()), &W, Flags, nullptr);
                      else DrawText(C->Handle(), Text.data(), int(Text.size()), &W, Flags);
                  });
}

void TbsSkinStdLabel::DoDrawText(TRect& R, UINT Flags) { DrawSkinText(Canvas(), R, Flags, GetLabelText()); }

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    if (!Transparent()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Moved(ClientRect(), X, Y));
    }
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const UINT Flags = TextFlags();
    if (FLayout != tlTop) {
        TRect M = R;
        DrawSkinText(C, M, Flags | DT_CALCRECT, AText);
        R = Moved(R, 0, FLayout == tlBottom ? Height() - M.Bottom : (Height() - M.Bottom) / 2);
    }
    R = Moved(R, X, Y);
    DrawSkinText(C, R, Flags, AText);
}

// ---- TbsSkinLinkLabel -------------------------------------------------------------------------------

TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner)
    : TbsCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    SetTransparent(true);
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({fsUnderline});
    Font()->Assign(FDefaultFont.get());
    SetCursor(crHandPoint);
}

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    if (Value) ChangeSkinData();
}

void TbsSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value)
{
    if (Value == FUseUnderLine) return;
    FUseUnderLine = Value;
    Repaint();
}

void TbsSkinLinkLabel::GetSkinData()
{
    if (auto* R = bsFindStdLabelRecord(FSD, FSkinDataName, FIndex)) {
        FontName = R->FontName;
        FontColor = R->FontColor;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        ActiveFontColor = R->ActiveFontColor;
    }
}

void TbsSkinLinkLabel::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TbsSkinLinkLabel::Click()
{
    TbsCustomLabel::Click();
    if (!FURL.empty()) ShellExecute(nullptr, "open", FURL, "", "", SW_SHOWNORMAL);
}

void TbsSkinLinkLabel::Dispatch(TMessage& M)
{
    if ((M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) && (M.LParam == LPARAM(this) || M.LParam == 0) &&
        !ComponentState().Contains(csDesigning)) {
        FMouseIn = M.Msg == CM_MOUSEENTER;
        Repaint();
    }
    TbsCustomLabel::Dispatch(M);
}

void TbsSkinLinkLabel::DoDrawText(TRect& R, UINT Flags)
{
    GetSkinData();
    const bool Measuring = Flags & DT_CALCRECT;
    String Text = GetLabelText();
    if (Measuring && (Text.empty() || (FShowAccelChar && Text == "&"))) Text = " ";
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    TRect D = FGlowEffect ? Moved(R, 0, FGlowSize) : R;
    TCanvas* C = Canvas();
    TFont* F = C->Font();
    TFontStyles Style;
    if (FIndex == -1) {
        F->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
        Style = F->Style();
        Style.Include(fsUnderline);
        if (FMouseIn) F->SetColor(FDefaultActiveFontColor);
    } else {
        F->Assign(Font());
        if (FUseSkinFont) {
            F->SetName(FontName);
            F->SetHeight(FontHeight);
            Style = FontStyle;
        } else {
            Style = F->Style();
        }
        if (FUseUnderLine) Style.Include(fsUnderline);
        else Style.Exclude(fsUnderline);
        F->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
    }
    bsSetTextCharset(F, FSD, FDefaultFont.get());
    const TColor GlowColor = FIndex == -1 ? FDefaultActiveFontColor : ActiveFontColor;
    if (Enabled()) {
        if (FUseUnderLine) Style.Include(fsUnderline);
        else Style.Exclude(fsUnderline);
    }
    F->SetStyle(Style);
    auto Draw = [&](TRect& W) { DrawText(C->Handle(), Text.data(), int(Text.size()), &W, Flags); };
    if (Enabled() && FMouseIn && FGlowEffect && !Measuring) {
        DrawTextWithGlow(C, D, Text, FGlowSize, GlowColor, 0, Flags);
    } else {
        TbsSkinColors* K = FIndex != -1 ? FSD->FSkinColors.get() : nullptr;
        DrawStateText(C, D, Enabled(), K ? K->FcBtnHighLight : clBtnHighlight, K ? K->FcBtnShadow : clBtnShadow, Draw);
    }
    // a measured text keeps the glow's downward shift in its extent
    if (Measuring) R = D;
}
