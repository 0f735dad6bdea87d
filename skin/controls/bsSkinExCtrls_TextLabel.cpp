// The skinned text label: lines drawn in the skin's label font and colour or in its own
// fonts, aligned and placed by layout, sized to the text.
#include "skin/controls/bsSkinExCtrls.h"

TbsSkinTextLabel::TbsSkinTextLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FDefaultFont(std::make_unique<TFont>()), FLines(std::make_unique<TStringList>())
{
    FControlStyle.Exclude(csOpaque);
    FControlStyle.Include(csReplicatable);
    SetBounds(Left(), Top(), 65, 65);
    FAutoSize = true;
    FLines->OnChange = [this](TObject*) {
        if (FAutoSize) AdjustBounds();
        Invalidate();
    };
}

TbsSkinTextLabel::~TbsSkinTextLabel() { FLines->OnChange = nullptr; }

void TbsSkinTextLabel::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    if (Value) ChangeSkinData();
}

void TbsSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinTextLabel::SetLines(TStrings* Value)
{
    FLines->Assign(Value);
    Repaint();
}

void TbsSkinTextLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TbsSkinTextLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsSkinTextLabel::Dispatch(TMessage& M)
{
    if (M.Msg == CM_FONTCHANGED) {
        TGraphicControl::Dispatch(M);
        AdjustBounds();
        Invalidate();
        return;
    }
    TGraphicControl::Dispatch(M);
}

String TbsSkinTextLabel::GetLabelText() const { return FLines->Text(); }

void TbsSkinTextLabel::GetSkinData()
{
    if (auto* R = bsFindStdLabelRecord(FSD, FSkinDataName, FIndex)) {
        FontName = R->FontName;
        FontStyle = R->FontStyle;
        FontHeight = R->FontHeight;
        FontColor = R->FontColor;
    }
}

void TbsSkinTextLabel::ChangeSkinData()
{
    GetSkinData();
    if (FAutoSize) AdjustBounds();
    Repaint();
}

void TbsSkinTextLabel::DrawLabelText(TRect& R, UINT Flags)
{
    GetSkinData();
    const String Text = GetLabelText();
    TCanvas* C = Canvas();
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
    auto Draw = [&](TRect& Where) {
        RECT W = Where;
        DrawText(C->Handle(), Text.data(), int(Text.size()), &W, Flags);
        Where = W;
    };
    if (Enabled()) {
        Draw(R);
        return;
    }
    TbsSkinColors* K = FIndex != -1 ? FSD->FSkinColors.get() : nullptr;
    TRect Shifted(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    F->SetColor(K ? K->FcBtnHighLight : clBtnHighlight);
    Draw(Shifted);
    F->SetColor(K ? K->FcBtnShadow : clBtnShadow);
    Draw(R);
}

void TbsSkinTextLabel::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsClear);
    TRect R = ClientRect();
    const UINT Align = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
    const UINT Flags = (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | Align;
    if (FLayout != tlTop) {
        TRect M = R;
        DrawLabelText(M, Flags | DT_CALCRECT);
        // the text ends with a line break, which measures one empty line more
        M.Bottom -= C->TextHeight("A");
        const int Dy = FLayout == tlBottom ? Height() - M.Bottom : (Height() - M.Bottom) / 2;
        R = TRect(R.Left, R.Top + Dy, R.Right, R.Bottom + Dy);
    }
    DrawLabelText(R, Flags);
}

void TbsSkinTextLabel::AdjustBounds()
{
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !FAutoSize) return;
    TRect R = ClientRect();
    HDC DC = GetDC(nullptr);
    if (!DC) return;
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
    DrawLabelText(R, (FWordWrap ? DT_WORDBREAK : 0) | DT_CALCRECT | DT_EXPANDTABS);
    int X = Left();
    if (FAlignment == taRightJustify) X += Width() - R.Right;
    R.Bottom -= Canvas()->TextHeight("A");
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, DC);
    SetBounds(X, Top(), R.Right, R.Bottom);
}
