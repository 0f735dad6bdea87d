// The label the skinned labels build on, the skinned standard label and the link label.
#include "skin/controls/bsSkinExCtrls.h"

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

// ---- label helpers ---------------------------------------------------------------------------------

UINT bsLabelTextFlags(const TCustomLabel* Label)
{
    const TAlignment A = Label->Alignment();
    const UINT Align = A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : DT_LEFT;
    return (Label->WordWrap() ? DT_WORDBREAK : 0) | DT_EXPANDTABS | Align;
}

void bsAdjustLabelBounds(TCustomLabel* Label, TCanvas* Canvas)
{
    const TComponentState State = Label->ComponentState();
    if (State.Contains(csReading) || State.Contains(csLoading) || !Label->AutoSize()) return;
    HDC DC = GetDC(nullptr);
    if (!DC) return;
    if (auto* CC = dynamic_cast<TControlCanvas*>(Canvas)) CC->FreeHandle();
    Canvas->SetHandle(DC);
    TRect R = Label->ClientRect();
    Label->DoDrawText(R, (Label->WordWrap() ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
    Canvas->SetHandle(nullptr);
    ReleaseDC(nullptr, DC);
    int X = Label->Left();
    if (Label->Alignment() == taRightJustify) X += Label->Width() - R.Right;
    Label->SetBounds(X, Label->Top(), R.Right, R.Bottom);
}

// ---- TbsSkinStdLabel ------------------------------------------------------------------------------

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    SetTransparent(true);
    // the default font of the skinned controls beside it
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    if (Value) ChangeSkinData();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
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
    if (AutoSize()) AdjustBounds();
    Repaint();
}

void TbsSkinStdLabel::DrawSkinText(TCanvas* C, TRect& R, UINT Flags, String Text)
{
    GetSkinData();
    if ((Flags & DT_CALCRECT) && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text = " ";
    if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
    if (FEllipsType == bsetEndEllips) Flags |= DT_END_ELLIPSIS;
    else if (FEllipsType == bsetPathEllips) Flags |= DT_PATH_ELLIPSIS;
    C->Brush()->SetStyle(bsClear);
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

void TbsSkinStdLabel::DoDrawText(TRect& R, UINT Flags) { DrawSkinText(Canvas(), R, Flags, Caption()); }

void TbsSkinStdLabel::AdjustBounds() { bsAdjustLabelBounds(this, Canvas()); }

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    if (!Transparent()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Moved(ClientRect(), X, Y));
    }
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const UINT Flags = bsLabelTextFlags(this);
    if (Layout() != tlTop) {
        TRect M = R;
        DrawSkinText(C, M, Flags | DT_CALCRECT, AText);
        R = Moved(R, 0, Layout() == tlBottom ? Height() - M.Bottom : (Height() - M.Bottom) / 2);
    }
    R = Moved(R, X, Y);
    DrawSkinText(C, R, Flags, AText);
}

// ---- TbsSkinLinkLabel -------------------------------------------------------------------------------

TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>())
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
    TCustomLabel::Notification(AComponent, Operation);
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
    TCustomLabel::Click();
    if (!FURL.empty()) ShellExecute(nullptr, "open", FURL, "", "", SW_SHOWNORMAL);
}

void TbsSkinLinkLabel::Dispatch(TMessage& M)
{
    if ((M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) && (M.LParam == LPARAM(this) || M.LParam == 0) &&
        !ComponentState().Contains(csDesigning)) {
        FMouseIn = M.Msg == CM_MOUSEENTER;
        Repaint();
    }
    TCustomLabel::Dispatch(M);
}

void TbsSkinLinkLabel::AdjustBounds() { bsAdjustLabelBounds(this, Canvas()); }

void TbsSkinLinkLabel::DoDrawText(TRect& R, UINT Flags)
{
    GetSkinData();
    const bool Measuring = Flags & DT_CALCRECT;
    String Text = Caption();
    if (Measuring && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text = " ";
    if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
    TRect D = FGlowEffect ? Moved(R, 0, FGlowSize) : R;
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsClear);
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
