// The skinned tool bar (children centred vertically, settings handed to its buttons) and
// the status bar with its size grip.
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

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
    for (int I = 0; I < ControlCount(); ++I)
        if (dynamic_cast<TbsSkinSpeedButton*>(Controls(I))) Controls(I)->Invalidate();
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

void TbsSkinToolBar::SetFlat(bool Value)
{
    FFlat = Value;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(I))) B->SetFlat(Value);
}

void TbsSkinToolBar::SetShowCaptions(bool Value)
{
    if (Value == FShowCaptions) return;
    FShowCaptions = Value;
    if (FAutoShowHideCaptions)
        for (int I = 0; I < ControlCount(); ++I)
            if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(I))) B->SetShowCaption(Value);
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value)
{
    TbsSkinPanel::SetSkinData(Value);
    for (int I = 0; I < ControlCount(); ++I) {
        if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(I))) B->SetSkinData(Value);
        else if (auto* V = dynamic_cast<TbsSkinBevel*>(Controls(I))) V->SetSkinData(Value);
    }
}

void TbsSkinToolBar::SetSkinDataName(const String& Value)
{
    TbsSkinPanel::SetSkinDataName(Value);
    if (!IsDesigning() || ComponentState().Contains(csLoading)) return;
    const bool Big = Value == "bigtoolpanel";
    for (int I = 0; I < ControlCount(); ++I) {
        auto* B = dynamic_cast<TbsSkinSpeedButton*>(Controls(I));
        if (!B) continue;
        String Name;
        if (Value == "resizetoolpanel") Name = "resizetoolbutton";
        else if (Value == "panel") Name = "resizebutton";
        else if (auto* M = dynamic_cast<TbsSkinMenuSpeedButton*>(B))
            Name = M->TrackButtonMode() ? (Big ? "bigtoolmenutrackbutton" : "toolmenutrackbutton")
                                        : (Big ? "bigtoolmenubutton" : "toolmenubutton");
        else Name = Big ? "bigtoolbutton" : "toolbutton";
        B->SetSkinDataName(Name);
    }
}

void TbsSkinToolBar::GetSkinData()
{
    TbsSkinPanel::GetSkinData();
    ButtonData = nullptr;
    if (!FSD || FSD->Empty) return;
    const int I = FSD->GetControlIndex("resizebutton");
    if (I != -1) ButtonData = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get());
}

void TbsSkinToolBar::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int Value)
{
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsSkinToolBar::SetCanScroll(bool Value)
{
    if (Value == FCanScroll) return;
    if (!Value) {
        // back to the unscrolled layout before the buttons go
        if (SPosition > 0) MoveChildren(SPosition);
        SMax = SPosition = SPage = SOldPosition = FHSizeOffset = 0;
        StopScrollTimer();
        ShowScrollButtons(false);
        FCanScroll = false;
        return;
    }
    FCanScroll = true;
    UpdateScrollInfo();
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
    const int OldWidth = Width();
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls) {
        CenterChildren();
        // skinned children centre themselves in their own SetBounds
        for (int I = 0; I < ControlCount(); ++I) {
            TControl* C = Controls(I);
            if (dynamic_cast<TbsSkinCustomControl*>(C)) C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());
        }
    }
    if (FCanScroll) {
        FHSizeOffset = OldWidth != 0 && Width() > OldWidth ? Width() - OldWidth : 0;
        UpdateScrollInfo();
        if (FAdjustControls) CenterChildren();
    }
}

void TbsSkinToolBar::AdjustClientRect(TRect& R)
{
    TbsSkinPanel::AdjustClientRect(R);
    if (!FCanScroll || !Buttons[0].Visible) return;
    const TRect Panel = R;
    R = Bounds(-SPosition, 0, std::max(SMax, ClientWidth()), ClientHeight());
    if (FIndex != -1 && !IsDesigning() && !(FBorderStyle == bvNone && ResizeMode == 1)) {
        R.Top = NewClRect.Top;
        R.Bottom = NewClRect.Bottom;
    } else if (FIndex == -1 || IsDesigning()) {
        R.Top = 1;
        R.Bottom = Height() - 1;
    } else {
        R.Top = Panel.Top;
        R.Bottom = Panel.Bottom;
    }
}

// ---- scrolling ----------------------------------------------------------------------------------------

void TbsSkinToolBar::MoveChildren(int DX)
{
    if (DX == 0) return;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->Align() == alNone) C->SetLeft(C->Left() + DX);
    }
}

void TbsSkinToolBar::UpdateScrollInfo()
{
    if (!FCanScroll || Width() == 0) return;
    int E = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* Ch = Controls(I);
        if (Ch->Visible()) E = std::max(E, Ch->Left() + Ch->Width());
    }
    const int C = ClientWidth();
    if (E > 0 && C < E + SPosition) {
        if (!Buttons[1].Visible) ShowScrollButtons(true);
        const int P = SPosition, M = SPosition + E - 1;
        if (P > 0 && E < C && FHSizeOffset > 0) {
            // the bar grew while scrolled: the content comes back right
            FHSizeOffset = std::min(FHSizeOffset, P);
            SMax = M;
            SPosition = P - FHSizeOffset;
            SPage = C;
            MoveChildren(FHSizeOffset);
            Invalidate();
        } else if (FHSizeOffset == 0 && M < SMax && P > 0 && E < C) {
            // the content shrank while scrolled
            SMax = M;
            SPosition = P + E - C;
            SPage = C;
            MoveChildren(C - E);
            Invalidate();
            FHSizeOffset = 0;
        } else {
            SMax = M;
            SPage = C;
            FHSizeOffset = 0;
        }
        SOldPosition = SPosition;
        return;
    }
    if (E > 0) {
        if (SPosition > 0) MoveChildren(SPosition);
        FHSizeOffset = SMax = SPosition = SPage = 0;
        SOldPosition = 0;
    }
    if (Buttons[1].Visible) ShowScrollButtons(false);
}

void TbsSkinToolBar::ShowScrollButtons(bool Value)
{
    if (Buttons[0].Visible == Value) return;
    Buttons[0].Visible = Buttons[1].Visible = Value;
    FMouseIn = false;
    if (!Value) Buttons[0].MouseIn = Buttons[1].MouseIn = Buttons[0].Down = Buttons[1].Down = false;
    // the non-client area is computed again for the new buttons
    if (HandleAllocated()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        UpdateButtonRects();
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    Realign();
}

void TbsSkinToolBar::ScrollStep(bool ToRight)
{
    const int S = FScrollOffset ? FScrollOffset : ClientWidth();
    if (ToRight) SPosition = std::min(SPosition + S, SMax - SPage + 1);
    else SPosition = std::max(SPosition - S, 0);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    MoveChildren(-(SPosition - SOldPosition));
    SOldPosition = SPosition;
    Invalidate();
    UpdateScrollInfo();
}

void TbsSkinToolBar::StartScrollTimer()
{
    if (!HandleAllocated()) return;
    SetTimer(Handle(), 1, UINT(FScrollTimerInterval), nullptr);
    FScrollTimer = true;
}

void TbsSkinToolBar::StopScrollTimer()
{
    if (FScrollTimer && HandleAllocated()) KillTimer(Handle(), 1);
    FScrollTimer = false;
    TimerMode = 0;
}

void TbsSkinToolBar::ClearHot()
{
    if (Buttons[0].Visible && Buttons[0].MouseIn) Buttons[0].MouseIn = false;
    else if (Buttons[1].Visible && Buttons[1].MouseIn) Buttons[1].MouseIn = false;
}

void TbsSkinToolBar::UpdateButtonRects()
{
    Buttons[0].R = TRect(0, 0, ScrollButtonSize, Height());
    Buttons[1].R = TRect(Width() - ScrollButtonSize, 0, Width(), Height());
}

void TbsSkinToolBar::PaintScrollButtons()
{
    if (!HandleAllocated() || !Buttons[0].Visible) return;
    HDC DC = GetWindowDC(Handle());
    if (!DC) return;
    TCanvas C;
    C.SetHandle(DC);
    for (int I = 0; I < 2; ++I)
        if (Buttons[I].Visible) DrawScrollButton(&C, I);
    C.SetHandle(nullptr);
    ReleaseDC(Handle(), DC);
}

void bsDrawScrollButton(TCanvas* C, const TRect& R, bool MouseIn, bool Pressed, const TbsDataSkinButtonControl* D,
                        TBitmap* Pic, int ArrowKind)
{
    const int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    TColor Arrow = clBtnText;
    if (D && Pic && !Pic->Empty()) {
        TRect Src;
        if (Pressed && !IsEmptyRect(D->DownSkinRect)) {
            Src = D->DownSkinRect;
            Arrow = D->DownFontColor;
        } else if (!MouseIn || IsEmptyRect(D->ActiveSkinRect)) {
            Src = D->SkinRect;
            Arrow = D->FontColor;
        } else {
            Src = D->ActiveSkinRect;
            Arrow = D->ActiveFontColor;
        }
        const int DX = W - D->SkinRect.Width(), DY = H - D->SkinRect.Height();
        CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                        TPoint(D->RTPoint.X + DX, D->RTPoint.Y), TPoint(D->LBPoint.X, D->LBPoint.Y + DY),
                        TPoint(D->RBPoint.X + DX, D->RBPoint.Y + DY),
                        TRect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY), &B, Pic, Src,
                        W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                        D->StretchType);
    } else {
        TColor Frame = clBtnShadow, Fill = clBtnFace;
        if (Pressed) {
            Frame = bsDefaultFrameColor;
            Fill = bsDefaultDownColor;
        } else if (MouseIn) {
            Frame = bsDefaultFrameColor;
            Fill = bsDefaultHotColor;
        }
        BC->Brush()->SetStyle(bsSolid);
        BC->Brush()->SetColor(Fill);
        BC->FillRect(TRect(0, 0, W, H));
        BC->Brush()->SetColor(Frame);
        BC->FrameRect(TRect(0, 0, W, H));
    }
    DrawArrowImage(BC, TRect(0, 0, W, H), Arrow, ArrowKind);
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinToolBar::DrawScrollButton(TCanvas* C, int Index)
{
    const TScrollButton& Bt = Buttons[Index];
    GetSkinData();
    TBitmap* Pic = ButtonData ? FSD->ActivePicture(ButtonData->PictureIndex) : nullptr;
    const bool Pressed = (Bt.Down && Bt.MouseIn) || (Bt.MouseIn && FHotScroll);
    bsDrawScrollButton(C, Bt.R, Bt.MouseIn, Pressed, ButtonData, Pic, Index == 0 ? 1 : 2);
}

void TbsSkinToolBar::CreateControlSkinImage(TBitmap* B)
{
    if (Buttons[1].Visible && ResizeMode == 2 && Picture) {
        // only the middle of the record, over the whole width
        CreateHSkinImage3(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, SkinRect, B->Width(), B->Height(),
                          StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(B);
}

void TbsSkinToolBar::Dispatch(TMessage& M)
{
    if (!FCanScroll) {
        TbsSkinPanel::Dispatch(M);
        return;
    }
    switch (M.Msg) {
    case WM_NCCALCSIZE: {
        GetSkinData();
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (R) {
            if (Buttons[0].Visible) R->Left += ScrollButtonSize;
            if (Buttons[1].Visible) R->Right -= ScrollButtonSize;
        }
        M.Result = 0;
        return;
    }
    case WM_SIZE:
        TbsSkinPanel::Dispatch(M);
        if (Buttons[0].Visible || Buttons[1].Visible) {
            UpdateButtonRects();
            PaintScrollButtons();
        }
        return;
    case WM_NCPAINT: PaintScrollButtons(); return;
    case WM_NCHITTEST: {
        if (IsDesigning()) break;
        if (!FMouseIn) {
            FMouseIn = true;
            if (Buttons[0].Visible || Buttons[1].Visible) SetTimer(Handle(), 2, 100, nullptr);
        }
        const TPoint P = ScreenToClient(LParamToPoint(M.LParam));
        if (P.X < 0 && Buttons[0].Visible) M.Result = HTSCROLLLEFT;
        else if (P.X >= ClientWidth() && Buttons[1].Visible) M.Result = HTSCROLLRIGHT;
        else break;
        return;
    }
    case WM_SETCURSOR: {
        const int Hit = int(int16_t(LOWORD(M.LParam)));
        if (Hit == HTSCROLLLEFT || Hit == HTSCROLLRIGHT) {
            ::SetCursor(LoadCursor(IDC_ARROW));
            M.Result = 1;
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I >= 0 && !Buttons[I].MouseIn) {
            Buttons[I].MouseIn = true;
            Buttons[1 - I].MouseIn = false;
            PaintScrollButtons();
            if (FHotScroll) {
                TimerMode = I + 1;
                StartScrollTimer();
            }
        }
        break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I < 0) break;
        Buttons[I].Down = true;
        Buttons[I].MouseIn = true;
        PaintScrollButtons();
        TimerMode = I + 1;
        StartScrollTimer();
        return;
    }
    case WM_NCLBUTTONUP: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I < 0) break;
        Buttons[I].Down = false;
        PaintScrollButtons();
        StopScrollTimer();
        ScrollStep(I == 1);
        return;
    }
    case WM_MOUSEMOVE:
        if ((Buttons[0].Visible && Buttons[0].MouseIn) || (Buttons[1].Visible && Buttons[1].MouseIn)) {
            ClearHot();
            StopScrollTimer();
            PaintScrollButtons();
        }
        break;
    case WM_TIMER:
        if (M.WParam == 1) {
            if (TimerMode == 1 || TimerMode == 2) ScrollStep(TimerMode == 2);
            return;
        }
        if (M.WParam == 2) {
            if (WindowFromPoint(GetCursorPos()) != Handle()) {
                KillTimer(Handle(), 2);
                FMouseIn = false;
                ClearHot();
                // a press that ended outside the bar leaves no button down
                Buttons[0].Down = Buttons[1].Down = false;
                StopScrollTimer();
                PaintScrollButtons();
            }
            return;
        }
        break;
    case WM_DESTROY:
        KillTimer(Handle(), 1);
        KillTimer(Handle(), 2);
        FScrollTimer = false;
        FMouseIn = false;
        break;
    }
    TbsSkinPanel::Dispatch(M);
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
