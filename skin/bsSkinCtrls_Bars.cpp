// The skinned tool bar (children centred vertically, settings handed to its buttons) and
// the status bar with its size grip.
#include "skin/bsSkinCtrls.h"

// ---- tool bar ----------------------------------------------------------------------------------------

void TbsSkinCustomControl::CenterInToolBar(int& ATop, int AHeight)
{
    auto* TB = dynamic_cast<TbsSkinToolBar*>(Parent());
    if (!TB || !TB->AdjustControls()) return;
    const TRect R = TB->SkinClientRect();
    ATop = R.Height() / 2 + R.Top - AHeight / 2;
}

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FForceBackground = false;
    FSkinDataName = "toolpanel";
    FDefaultHeight = 0;
    SetHeight(25);
    FBorderStyle = bvNone;
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    for (int I = 0; I < ControlCount(); ++I) Controls(I)->Invalidate();
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value)
{
    FHotImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value)
{
    FDisabledImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinToolBar::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int Value)
{
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FHotImages) SetHotImages(nullptr);
    if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
}

void TbsSkinToolBar::CenterChildren()
{
    const TRect R = SkinClientRect();
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->Align() != alNone || dynamic_cast<TbsSkinCustomControl*>(C)) continue;
        const int Top = R.Height() / 2 + R.Top - C->Height() / 2;
        if (Top != C->Top()) C->SetTop(Top);
    }
}

void TbsSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!FAdjustControls) return;
    CenterChildren();
    // skinned children centre themselves in their own SetBounds
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (dynamic_cast<TbsSkinCustomControl*>(C)) C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());
    }
}

// ---- status bar --------------------------------------------------------------------------------------

void bsDrawSizeGrip(TCanvas* C, const TRect& G, TColor Light, TColor Shadow)
{
    const TRect I(G.Left + 2, G.Top + 2, G.Right - 2, G.Bottom - 2);
    const int W = G.Width();
    if (W < -3) return;
    int B = 4;
    for (int Step = 0; Step < W / 4 + 1; ++Step) {
        if (I.Left + B + 2 <= I.Right) {
            C->Pen()->SetColor(Shadow);
            C->MoveTo(I.Left + B, I.Bottom);
            C->LineTo(I.Right, I.Top + B);
            C->Pen()->SetColor(Light);
            C->MoveTo(I.Left + B + 1, I.Bottom);
            C->LineTo(I.Right, I.Top + B + 1);
            B += 3;
        }
    }
}

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner)
{
    FSkinDataName = "statusbar";
    SetAlign(alBottom);
    SetHeight(21);
    FBorderStyle = bvNone;
    FForceBackground = false;
}

void TbsSkinStatusBar::SetSizeGrip(bool Value)
{
    FSizeGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value)
{
    FShowGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value)
{
    TbsSkinPanel::SetSkinData(Value);
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* C = dynamic_cast<TbsSkinControl*>(Controls(I))) C->SetSkinData(Value);
}

void TbsSkinStatusBar::GetSkinData()
{
    TbsSkinPanel::GetSkinData();
    GripperRect = TRect();
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        GripperRect = R->GripperRect;
        GripperTransparent = R->GripperTransparent;
        GripperTransparentColor = R->GripperTransparentColor;
    }
}

TRect TbsSkinStatusBar::GripRect()
{
    TRect R;
    TbsSkinPanel::GetSkinClientRect(R);
    if (FIndex != -1 && !GripperRect.IsEmpty())
        return Rect(R.Right, R.Bottom - GripperRect.Height(), R.Right + GripperRect.Width(), R.Bottom);
    return Rect(R.Right + 2, R.Top, R.Right + R.Height(), R.Bottom - 2);
}

void TbsSkinStatusBar::AdjustClientRect(TRect& R)
{
    TbsSkinPanel::AdjustClientRect(R);
    if (!FSizeGrip || !FShowGrip) return;
    R.Right -= (FIndex == -1 || GripperRect.IsEmpty()) ? R.Height() : GripperRect.Width();
}

void TbsSkinStatusBar::DrawGrip(TCanvas* C)
{
    if (!FSizeGrip || !FShowGrip) return;
    const TRect G = GripRect();
    if (FIndex == -1) {
        bsDrawSizeGrip(C, G, clBtnFace, clBtnShadow);
        return;
    }
    if (GripperRect.IsEmpty() || !Picture) {
        const TbsSkinColors* K = FSD->FSkinColors.get();
        bsDrawSizeGrip(C, G, K ? K->FcBtnHighLight : clBtnHighlight, K ? K->FcBtnShadow : clBtnShadow);
        return;
    }
    TBitmap Img;
    bsCopyPicturePart(&Img, Picture, GripperRect);
    if (GripperTransparent) {
        Img.SetTransparentColor(GripperTransparentColor);
        Img.SetTransparent(true);
    }
    C->Draw(G.Left, G.Top, &Img);
}

void TbsSkinStatusBar::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlDefaultImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinPanel::CreateControlSkinImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::Dispatch(TMessage& M)
{
    if (M.Msg == WM_NCHITTEST && !IsDesigning() && FSizeGrip && FShowGrip) {
        const TPoint P = ScreenToClient(LParamToPoint(M.LParam));
        M.Result = IsPointInRect(GripRect(), P) ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    TbsSkinPanel::Dispatch(M);
}
