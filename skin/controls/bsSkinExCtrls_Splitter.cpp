// The splitter (drag resizes the neighbour aligned the same way) and the skinned splitter
// (bar and gripper from the skin, thickness from the picture).
#include "skin/controls/bsSkinExCtrls.h"

// ---- TbsCustomSplitter --------------------------------------------------------------------------

TbsCustomSplitter::TbsCustomSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(Left(), Top(), 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

void TbsCustomSplitter::RequestAlign()
{
    TGraphicControl::RequestAlign();
    SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

void TbsCustomSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

void TbsCustomSplitter::Paint()
{
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TControl* TbsCustomSplitter::FindControl() const
{
    TWinControl* P = Parent();
    if (!P) return nullptr;
    TPoint At;
    switch (Align()) {
    case alLeft: At = TPoint(Left() - 1, Top()); break;
    case alRight: At = TPoint(Left() + Width(), Top()); break;
    case alTop: At = TPoint(Left(), Top() - 1); break;
    case alBottom: At = TPoint(Left(), Top() + Height()); break;
    default: return nullptr;
    }
    const bool Leading = Align() == alLeft || Align() == alTop;
    for (int I = 0; I < P->ControlCount(); ++I) {
        TControl* C = P->Controls(I);
        if (C == this || !C->Visible() || !C->Enabled()) continue;
        TRect R = C->BoundsRect();
        if (R.Width() == 0) (Leading ? R.Left : R.Right) += Leading ? -1 : 1;
        if (R.Height() == 0) (Leading ? R.Top : R.Bottom) += Leading ? -1 : 1;
        if (R.Contains(At)) return C;
    }
    return nullptr;
}

void TbsCustomSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FControl = FindControl();
    FDownPos = TPoint(X, Y);
    if (!FControl) return;
    FControl->FreeNotification(this);
    const bool Horz = Align() == alLeft || Align() == alRight;
    TWinControl* P = Parent();
    FMaxSize = (Horz ? P->ClientWidth() : P->ClientHeight()) - FMinSize;
    for (int I = 0; I < P->ControlCount(); ++I) {
        TControl* C = P->Controls(I);
        if (!C->Visible()) continue;
        if (Horz && (C->Align() == alLeft || C->Align() == alRight)) FMaxSize -= C->Width();
        if (!Horz && (C->Align() == alTop || C->Align() == alBottom)) FMaxSize -= C->Height();
    }
    FMaxSize += Horz ? FControl->Width() : FControl->Height();
}

void TbsCustomSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FControl || !Shift.Contains(ssLeft)) return;
    int S = 0;
    switch (Align()) {
    case alLeft: S = FControl->Width() + X - FDownPos.X; break;
    case alRight: S = FControl->Width() - X + FDownPos.X; break;
    case alTop: S = FControl->Height() + Y - FDownPos.Y; break;
    case alBottom: S = FControl->Height() - Y + FDownPos.Y; break;
    default: return;
    }
    const int NewSize = S < FMinSize ? FMinSize : std::min(S, std::max(FMaxSize, FMinSize));
    TControl* C = FControl;
    switch (Align()) {
    case alLeft:
        if (NewSize != C->Width()) C->SetWidth(NewSize);
        break;
    case alTop:
        if (NewSize != C->Height()) C->SetHeight(NewSize);
        break;
    case alRight:
        if (NewSize != C->Width()) C->SetBounds(C->Left() + C->Width() - NewSize, C->Top(), NewSize, C->Height());
        break;
    case alBottom:
        if (NewSize != C->Height()) C->SetBounds(C->Left(), C->Top() + C->Height() - NewSize, C->Width(), NewSize);
        break;
    default: break;
    }
}

void TbsCustomSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FControl) return;
    FControl->RemoveFreeNotification(this);
    FControl = nullptr;
    if (OnMoved) OnMoved(this);
}

// ---- TbsSkinSplitter ---------------------------------------------------------------------------------

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TbsCustomSplitter(AOwner)
{
    FControlStyle.Include(csOpaque);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    ChangeSkinData();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsCustomSplitter::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    if (Value) FControlStyle.Exclude(csOpaque);
    else FControlStyle.Include(csOpaque);
    Repaint();
}

void TbsSkinSplitter::RequestAlign()
{
    TbsCustomSplitter::RequestAlign();
    if (ComponentState().Contains(csDesigning))
        FSkinDataName = Align() == alTop || Align() == alBottom ? "hsplitter" : "vsplitter";
}

void TbsSkinSplitter::GetSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    FSkinPicture = nullptr;
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        LTPt = R->LTPoint;
        RTPt = R->RTPoint;
        LBPt = R->LBPoint;
        SkinRect = R->SkinRect;
        StretchEffect = R->StretchEffect;
        GripperRect = R->GripperRect;
        GripperTransparent = R->GripperTransparent;
        GripperTransparentColor = R->GripperTransparentColor;
        FSkinPicture = FSD->ActivePicture(R->PictureIndex);
    }
}

void TbsSkinSplitter::ChangeSkinData()
{
    GetSkinData();
    const bool Plain = FIndex == -1 || FTransparent;
    if (Align() == alTop || Align() == alBottom) SetHeight(Plain ? FDefaultSize : SkinRect.Height());
    else SetWidth(Plain ? FDefaultSize : SkinRect.Width());
    Repaint();
}

void TbsSkinSplitter::Paint()
{
    if (FTransparent || Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1 || Align() == alNone || Align() == alClient) {
        TbsCustomSplitter::Paint();
        return;
    }
    TBitmap B;
    if (Align() == alTop || Align() == alBottom)
        CreateHSkinImage(LTPt.X, SkinRect.Width() - RTPt.X, &B, FSkinPicture, SkinRect, Width(), SkinRect.Height(),
                         StretchEffect);
    else
        CreateVSkinImage(LTPt.Y, SkinRect.Height() - LBPt.Y, &B, FSkinPicture, SkinRect, SkinRect.Width(), Height(),
                         StretchEffect);
    if (!IsEmptyRect(GripperRect) && FSkinPicture) {
        TBitmap G;
        bsCopyPicturePart(&G, FSkinPicture, GripperRect);
        if (GripperTransparent) {
            G.SetTransparentColor(GripperTransparentColor);
            G.SetTransparent(true);
        }
        B.Canvas()->Draw(B.Width() / 2 - G.Width() / 2, B.Height() / 2 - G.Height() / 2, &G);
    }
    Canvas()->Draw(0, 0, &B);
}
