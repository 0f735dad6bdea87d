// The skinned bevel: frames, lines and the divider in the skin's two bevel colours.
#include "skin/controls/bsSkinExCtrls.h"

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    ChangeSkinData();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation)
{
    TBevel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetDividerMode(bool Value)
{
    FDividerMode = Value;
    Repaint();
}

void TbsSkinBevel::ChangeSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) {
        LightColor = clBtnHighlight;
        DarkColor = clBtnShadow;
    } else if (auto* R = dynamic_cast<TbsDataSkinBevel*>(FSD->CtrlList[size_t(FIndex)].get())) {
        LightColor = R->LightColor;
        DarkColor = R->DarkColor;
    }
    Repaint();
}

void TbsSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    bsCenterInToolBar(this, ATop, AHeight);
    TBevel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsSkinBevel::Paint()
{
    TCanvas* C = Canvas();
    const int W = Width(), H = Height();
    if (ComponentState().Contains(csDesigning)) {
        if (Shape() == bsSpacer) {
            C->Pen()->SetStyle(psDot);
            C->Pen()->SetMode(pmXor);
            C->Pen()->SetColor(0xFFD8CE);
            C->Brush()->SetStyle(bsClear);
            C->Rectangle(0, 0, W, H);
            return;
        }
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetMode(pmCopy);
        C->Pen()->SetColor(clBlack);
        C->Brush()->SetStyle(bsSolid);
    }
    C->Pen()->SetWidth(1);
    const TColor Color1 = Style() == bsLowered ? DarkColor : LightColor;
    const TColor Color2 = Style() == bsLowered ? LightColor : DarkColor;
    auto Line = [C](TColor Col, std::vector<TPoint> P) {
        C->Pen()->SetColor(Col);
        C->Polyline(P);
    };
    // top and left in one colour, right and bottom in the other
    auto BevelRect = [&](const TRect& R, TColor Top, TColor Bottom) {
        Line(Top, {TPoint(R.Left, R.Bottom), TPoint(R.Left, R.Top), TPoint(R.Right, R.Top)});
        Line(Bottom, {TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom), TPoint(R.Left, R.Bottom)});
    };
    if (FDividerMode) {
        switch (Shape()) {
        case bsTopLine:
        case bsBottomLine: BevelRect(TRect(2, H / 2 - 1, W - 2, H / 2), Color1, Color2); break;
        case bsSpacer: break;
        default: BevelRect(TRect(W / 2 - 1, 2, W / 2, H - 2), Color1, Color2); break;
        }
        return;
    }
    switch (Shape()) {
    case bsBox: BevelRect(TRect(0, 0, W - 1, H - 1), Color1, Color2); break;
    case bsFrame:
        BevelRect(TRect(1, 1, W - 1, H - 1), Color2, Color2);
        BevelRect(TRect(0, 0, W - 2, H - 2), Color1, Color1);
        break;
    case bsTopLine:
        Line(Color1, {TPoint(0, 0), TPoint(W, 0)});
        Line(Color2, {TPoint(0, 1), TPoint(W, 1)});
        break;
    case bsBottomLine:
        Line(Color1, {TPoint(0, H - 2), TPoint(W, H - 2)});
        Line(Color2, {TPoint(0, H - 1), TPoint(W, H - 1)});
        break;
    case bsLeftLine:
        Line(Color1, {TPoint(0, 0), TPoint(0, H)});
        Line(Color2, {TPoint(1, 0), TPoint(1, H)});
        break;
    case bsRightLine:
        Line(Color1, {TPoint(W - 2, 0), TPoint(W - 2, H)});
        Line(Color2, {TPoint(W - 1, 0), TPoint(W - 1, H)});
        break;
    case bsSpacer: break;
    }
}
