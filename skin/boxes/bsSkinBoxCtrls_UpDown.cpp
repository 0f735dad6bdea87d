// The skinned up-down: two arrow buttons stepping Position, with a press-and-hold repeat
// on window timer 1 (500 ms wait, then 100 ms steps; 50 ms after coming back onto the
// held button).
#include "skin/boxes/bsSkinBoxCtrls.h"

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    SetSkinDataName("hupdown");
    SetWidth(50);
    SetHeight(25);
}

TbsSkinUpDown::~TbsSkinUpDown() = default;

void TbsSkinUpDown::SetPosition(int Value)
{
    if (Value > FMax || Value < FMin) return;
    FPosition = Value;
    if (!IsDesigning() && OnChange) OnChange(this);
}

void TbsSkinUpDown::SetMin(int Value)
{
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int Value)
{
    FMax = Value;
    if (FPosition > FMax) FPosition = FMax;
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value)
{
    FOrientation = Value;
    if (IsDesigning() && !ComponentState().Contains(csLoading))
        SetSkinDataName(Value == udVertical ? "vupdown" : "hupdown");
    Invalidate();
}

void TbsSkinUpDown::CalcButtonRects()
{
    if (FIndex != -1 && FUseSkinSize) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
    } else if (FOrientation == udVertical) {
        Buttons[0].R = Rect(0, 0, Width(), Height() / 2);
        Buttons[1].R = Rect(0, Height() / 2, Width(), Height());
    } else {
        Buttons[1].R = Rect(0, 0, Width() / 2, Height());
        Buttons[0].R = Rect(Width() / 2, 0, Width(), Height());
    }
}

void TbsSkinUpDown::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex != -1) {
        if (auto* D = dynamic_cast<TbsDataSkinUpDownControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
            UpButtonRect = D->UpButtonRect;
            ActiveUpButtonRect = D->ActiveUpButtonRect;
            DownUpButtonRect = IsEmptyRect(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
            DownButtonRect = D->DownButtonRect;
            ActiveDownButtonRect = D->ActiveDownButtonRect;
            DownDownButtonRect = IsEmptyRect(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
            LTPt = RTPt = LBPt = RBPt = Point(0, 0);
            ClRect = TRect();
        }
    }
    CalcButtonRects();
}

void TbsSkinUpDown::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize) TbsSkinCustomControl::CalcSize(AWidth, AHeight);
}

void TbsSkinUpDown::SetControlRegion()
{
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

int TbsSkinUpDown::ArrowKind(int I) const
{
    if (FOrientation == udVertical) return I == 0 ? 3 : 4;
    return I == 0 ? 2 : 1;
}

void TbsSkinUpDown::DrawButton(TCanvas* C, int I)
{
    const TbsUpDownButton& B = Buttons[I];
    if (FIndex == -1) {
        TColor Frame = clBtnShadow, Fill = clBtnFace;
        if (B.MouseIn) {
            Frame = bsDefaultFrameColor;
            Fill = B.Down ? bsDefaultDownColor : bsDefaultHotColor;
        }
        C->Brush()->SetColor(Frame);
        C->FillRect(B.R);
        C->Brush()->SetColor(Fill);
        C->FillRect(Rect(B.R.Left + 1, B.R.Top + 1, B.R.Right - 1, B.R.Bottom - 1));
        DrawArrowImage(C, B.R, Enabled() ? clBlack : TColor(RGB(128, 128, 128)), ArrowKind(I));
        return;
    }
    TRect Part;
    if (B.Down && B.MouseIn) Part = I == 0 ? DownUpButtonRect : DownDownButtonRect;
    else if (B.MouseIn) Part = I == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
    if (Picture && !IsEmptyRect(Part)) {
        if (Part.Width() == B.R.Width() && Part.Height() == B.R.Height()) C->CopyRect(B.R, Picture->Canvas(), Part);
        else {
            TBitmap P;
            bsCopyPicturePart(&P, Picture, Part);
            C->StretchDraw(B.R, &P);
        }
    }
}

void TbsSkinUpDown::DrawResizeButton(TCanvas* C, int I)
{
    const TbsUpDownButton& B = Buttons[I];
    TBitmap Bmp;
    Bmp.SetSize(B.R.Width(), B.R.Height());
    Bmp.Canvas()->Brush()->SetColor(clBtnFace);
    Bmp.Canvas()->FillRect(Rect(0, 0, Bmp.Width(), Bmp.Height()));
    const int Index = FSD ? FSD->GetControlIndex("resizebutton") : -1;
    auto* D = Index == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(Index)].get());
    if (!D) {
        C->Draw(B.R.Left, B.R.Top, &Bmp);
        return;
    }
    TRect Active = IsEmptyRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    TRect Down = IsEmptyRect(D->DownSkinRect) ? Active : D->DownSkinRect;
    TRect Part = B.Down && B.MouseIn ? Down : B.MouseIn ? Active : D->SkinRect;
    const int DX = B.R.Width() - D->SkinRect.Width(), DY = B.R.Height() - D->SkinRect.Height();
    TRect NewCl = D->ClRect;
    NewCl.Right += DX;
    NewCl.Bottom += DY;
    TBitmap* Pic = D->PictureIndex >= 0 && D->PictureIndex < int(FSD->FActivePictures.size())
                       ? FSD->FActivePictures[size_t(D->PictureIndex)].get()
                       : nullptr;
    if (Pic)
        CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                        Point(D->RTPoint.X + DX, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DY),
                        Point(D->RBPoint.X + DX, D->RBPoint.Y + DY), NewCl, &Bmp, Pic, Part, B.R.Width(),
                        B.R.Height(), true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                        D->StretchEffect, D->StretchType);
    C->Draw(B.R.Left, B.R.Top, &Bmp);
    TColor Color = D->FontColor;
    if (!Enabled()) Color = D->DisabledFontColor;
    else if (B.Down && B.MouseIn) Color = D->DownFontColor;
    else if (B.MouseIn) Color = D->ActiveFontColor;
    DrawArrowImage(C, B.R, Color, ArrowKind(I));
}

void TbsSkinUpDown::CreateControlDefaultImage(TBitmap* B)
{
    CalcButtonRects();
    for (int I = 0; I < 2; ++I) DrawButton(B->Canvas(), I);
}

void TbsSkinUpDown::CreateControlSkinImage(TBitmap* B)
{
    CalcButtonRects();
    if (FUseSkinSize) {
        TbsSkinCustomControl::CreateControlSkinImage(B);
        for (int I = 0; I < 2; ++I) DrawButton(B->Canvas(), I);
    } else {
        for (int I = 0; I < 2; ++I) DrawResizeButton(B->Canvas(), I);
    }
}

// ---- pointer and repeat ------------------------------------------------------------------

void TbsSkinUpDown::StartTimer(unsigned Interval)
{
    if (!HandleAllocated()) return;
    KillTimer(FHandle, 1);
    SetTimer(FHandle, 1, Interval, nullptr);
}

void TbsSkinUpDown::StopTimer()
{
    if (HandleAllocated()) KillTimer(FHandle, 1);
    TimerMode = 0;
}

void TbsSkinUpDown::TestActive(int X, int Y)
{
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int I = 0; I < 2; ++I)
        if (IsPointInRect(Buttons[I].R, Point(X, Y))) {
            ActiveButton = I;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton != OldActiveButton) {
        if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
        if (ActiveButton != -1) ButtonEnter(ActiveButton);
    }
}

void TbsSkinUpDown::ButtonEnter(int I)
{
    Buttons[1 - I].MouseIn = false;
    Buttons[I].MouseIn = true;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down) StartTimer(50);
}

void TbsSkinUpDown::ButtonLeave(int I)
{
    Buttons[I].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down && HandleAllocated()) KillTimer(FHandle, 1);
}

void TbsSkinUpDown::ButtonDown(int I)
{
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Repaint();
    if (FIncrement != 0) {
        TimerMode = I == 0 ? 2 : 1;
        WaitMode = true;
        StartTimer(500);
    }
}

void TbsSkinUpDown::ButtonUp(int I)
{
    if (FIncrement != 0) StopTimer();
    Buttons[I].Down = false;
    if (I != ActiveButton) Buttons[I].MouseIn = false;
    Repaint();
    if (!Buttons[I].MouseIn) return;
    if (I == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
    } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
    }
}

void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TestActive(X, Y);
    Buttons[ActiveButton == 0 ? 1 : 0].MouseIn = false;
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        ButtonDown(ActiveButton);
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, int X, int Y)
{
    TestActive(X, Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CaptureButton != -1) ButtonUp(CaptureButton);
    CaptureButton = -1;
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(M);
        CalcButtonRects();
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(M);
        if (WaitMode) {
            WaitMode = false;
            StartTimer(100);
            return;
        }
        if (TimerMode == 1) SetPosition(FPosition - FIncrement);
        else if (TimerMode == 2) SetPosition(FPosition + FIncrement);
        return;
    case CM_MOUSEENTER:
        ActiveButton = OldActiveButton = -1;
        TbsSkinCustomControl::Dispatch(M);
        return;
    case CM_MOUSELEAVE:
        ActiveButton = OldActiveButton = -1;
        TbsSkinCustomControl::Dispatch(M);
        for (TbsUpDownButton& B : Buttons)
            if (B.MouseIn) {
                B.MouseIn = false;
                Repaint();
            }
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
