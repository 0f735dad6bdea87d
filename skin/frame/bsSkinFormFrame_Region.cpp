// The frame's geometry at the current form size and the form's window region from the
// skin's mask: the mask is cut into four border strips stretched to the size, each
// strip becomes a region of its black pixels, and their union with the always-opaque
// inner rectangle shapes the window.
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"
#include "skin/controls/bsSkinCtrls.h"

void TbsSkinFormFrame::CalcSkinRects()
{
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (!FSD || FSD->Empty || !FSD->FPicture) return;
    int PW = FSD->FPicture->Width(), PH = FSD->FPicture->Height();
    int DW = FFormWidth - PW, DH = FFormHeight - PH;
    NewLTPoint = FSD->LTPoint;
    NewRTPoint = TPoint(FSD->RTPoint.X + DW, FSD->RTPoint.Y);
    NewLBPoint = TPoint(FSD->LBPoint.X, FSD->LBPoint.Y + DH);
    NewRBPoint = TPoint(FSD->RBPoint.X + DW, FSD->RBPoint.Y + DH);
    NewClRect = TRect(FSD->ClRect.Left, FSD->ClRect.Top, FSD->ClRect.Right + DW, FSD->ClRect.Bottom + DH);
    NewCaptionRect = FSD->CaptionRect;
    if (!IsEmptyRect(FSD->CaptionRect)) NewCaptionRect.Right += DW;
    NewButtonsRect = FSD->ButtonsRect;
    NewButtonsInLeft = FSD->CapButtonsInLeft;
    if (!IsEmptyRect(FSD->ButtonsRect)) {
        if (FSD->ButtonsRect.Left > PW / 2) OffsetRect(NewButtonsRect, DW, 0);
        else if (FSD->ButtonsRect.Left < PW / 2) ButtonsInLeft = true;
    }
    NewButtonsOffset = FSD->ButtonsOffset;
    NewHitTestLTPoint = FSD->HitTestLTPoint;
    NewHitTestRTPoint = TPoint(FSD->HitTestRTPoint.X + DW, FSD->HitTestRTPoint.Y);
    NewHitTestLBPoint = TPoint(FSD->HitTestLBPoint.X, FSD->HitTestLBPoint.Y + DH);
    NewHitTestRBPoint = TPoint(FSD->HitTestRBPoint.X + DW, FSD->HitTestRBPoint.Y + DH);
    NewMaskRectArea = TRect(FSD->MaskRectArea.Left, FSD->MaskRectArea.Top, FSD->MaskRectArea.Right + DW,
                            FSD->MaskRectArea.Bottom + DH);
}

// The region of the black pixels of a strip placed at (X, Y); none for an empty strip.
static HRGN StripRegion(TBitmap* Strip, int X, int Y)
{
    if (!Strip || Strip->Empty() || Strip->Width() <= 0 || Strip->Height() <= 0) return nullptr;
    std::vector<uint8_t> Data;
    int Size = CreateRgnDataFromMask(Strip, X, Y, Data);
    if (Size == 0) return nullptr;
    return ExtCreateRegion(nullptr, DWORD(Size), reinterpret_cast<const RGNDATA*>(Data.data()));
}

void TbsSkinFormFrame::UpdateFormRegion(bool AStretch)
{
    if (!FForm->HandleAllocated()) return;
    HWND H = FForm->Handle();
    auto SetRegion = [&](HRGN R) {
        SetWindowRgn(H, R, true);
        FRgn = R;
    };
    auto RemoveRegion = [&] {
        if (FRgn) SetWindowRgn(H, nullptr, true);
        FRgn = nullptr;
    };
    bool Skin = FSD && !FSD->Empty;
    if (!FSkinnableForm) return RemoveRegion();
    if (Skin && FForm->BorderStyle() != bsNone && UseLayeredBorder() && FSD->LayerFrame &&
        FSD->LayerFrame->FullBorder) {
        int Ht = FFormHeight;
        if (LayeredRollUpActive())
            Ht = FSD->LayerFrame->RollUpFormHeight != 0 ? FSD->LayerFrame->RollUpFormHeight : FIsW7 ? 1 : 0;
        return SetRegion(CreateRectRgn(0, 0, FFormWidth, Ht));
    }
    if (FForm->BorderStyle() == bsNone) return RemoveRegion();
    if (Skin && ((!FSD->FMask || FSD->FMask->Empty()) || (IsMDIChild() && FWindowStateInit == wsMaximized)))
        return SetRegion(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
    if (!Skin) {
        SetRegion(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
        for (TBitmap* B : {RMLeft.get(), RMTop.get(), RMRight.get(), RMBottom.get()}) B->SetSize(0, 0);
        return;
    }
    if (!AStretch) {
        HRGN R = StripRegion(FSD->FMask.get(), 0, 0);
        if (R) SetRegion(R);
        return;
    }
    CreateSkinBorderMasks(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea, NewLTPoint,
                          NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea, FSD->FMask.get(), RMTop.get(),
                          RMLeft.get(), RMRight.get(), RMBottom.get(), FFormWidth, FFormHeight);
    HRGN Top = StripRegion(RMTop.get(), 0, 0);
    HRGN Bottom = StripRegion(RMBottom.get(), 0, NewMaskRectArea.Bottom);
    HRGN Left = StripRegion(RMLeft.get(), 0, NewMaskRectArea.Top);
    HRGN Right = StripRegion(RMRight.get(), NewMaskRectArea.Right, NewMaskRectArea.Top);
    HRGN Rgn = CreateRectRgn(NewMaskRectArea.Left, NewMaskRectArea.Top, NewMaskRectArea.Right,
                             NewMaskRectArea.Bottom);
    // a strip without black pixels adds nothing to the union
    for (HRGN S : {Top, Bottom, Left, Right})
        if (S) {
            CombineRgn(Rgn, Rgn, S, RGN_OR);
            DeleteObject(S);
        }
    SetRegion(Rgn);
}

void TbsSkinFormFrame::UpdateSkinFrame(bool AArrange)
{
    if (IsDesigning() || !FSD || FSD->Empty) return;
    if (FSkinnableForm) {
        CalcSkinRects();
        if (AArrange) ArrangeObjects();
    }
    UpdateFormRegion(AArrange);
    if (!FRgn && FSkinnableForm && FForm->BorderStyle() != bsNone && FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (FSkinSupport && FSD->StretchEffect) {
        if (FForm->HandleAllocated()) FForm->Invalidate();
        NotifyParentBackground();
    }
}

bool TbsSkinFormFrame::LayeredRollUpActive()
{
    if (!FSD || !FSD->LayerFrame || !FSD->LayerFrame->FullBorder) return false;
    return FRollUpState || (FWindowStateInit == wsMinimized && !FMinimizeDefault && !IsMainForm());
}

void TbsSkinFormFrame::NotifyParentBackground()
{
    for (int I = 0; I < FForm->ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(FForm->Controls(I)); W && W->HandleAllocated())
            SendMessage(W->Handle(), ParentBackgroundChanged, 0, 0);
}
