// The window states the frame keeps itself: minimize to a caption bar, maximize to the
// work area, restore, roll-up to the caption; the tray; placement on the monitor when
// first shown; magnetic edges while dragging; the timers of the caption objects.
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/frame/bsTrayIcon.h"

#include "skin/controls/bsSkinCtrls.h"

void TbsSkinFormFrame::ChangeWindowState(TWindowState Value)
{
    if (!FSkinnableForm) {
        FForm->SetWindowState(Value);
        FWindowState = Value;
        return;
    }
    TWindowState Old = FWindowState;
    if (Value == Old) return;
    FWindowState = Value;
    if (Value == wsMinimized && (IsMainForm() || FMinimizeDefault)) FWindowState = Old;
    switch (Value) {
    case wsNormal:
        if (Old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) SetRolledUp(false);
        FRollUpBeforeMaximize = false;
        DoRestore();
        break;
    case wsMinimized: DoMinimize(); break;
    case wsMaximized:
        FRollUpBeforeMaximize = FRollUpState;
        DoMaximize();
        break;
    }
}

void TbsSkinFormFrame::DoMinimize()
{
    if (IsMainForm()) {
        if (Application && Application->MainFormOnTaskBar() && FBorderLayer->FVisible) FBorderLayer->Hide();
        if (Application) Application->Minimize();
    } else if (FMinimizeDefault) {
        FForm->SetWindowState(wsMinimized);
    } else {
        if (IsEmptyRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
        TPoint P;
        GetMinimizedPosition(P);
        if (FullLayeredShown())
            FForm->SetBounds(P.X + FBorderLayer->LeftSize,
                             P.Y - FBorderLayer->BottomSize - FBorderLayer->FData->RollUpFormHeight + 10, GetMinWidth(),
                             GetMinHeight());
        else if (IsMDIChild())
            SetChildBounds(FForm, P.X, P.Y, GetMinWidth(), GetMinHeight());
        else
            FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
        if (IsMDIChild()) {
            NotifyMainForm(MDIChildRestored, 0);
            NotifyMainForm(MDIRestoreAllExcept, WPARAM(FForm->Handle()));
        }
    }
    if (OnMinimize) OnMinimize(this);
}

void TbsSkinFormFrame::GetMinimizedPosition(TPoint& P)
{
    int MW = GetMinWidth(), MH = GetMinHeight();
    TRect A(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, A);
    const bool Child = IsMDIChild();
    if (Child) {
        // an MDI child's bar goes into the MDI client area (its coordinates)
        TRect C;
        GetMDIClientRect(C);
        A = TRect(0, 0, C.Width(), C.Height());
    }
    P = TPoint(A.Left, A.Bottom - MH);
    // bars without width or height leave no row to fill: the first slot is used
    if (MW <= 0 || MH <= 0) return;
    auto Taken = [&](TPoint Q) {
        if (Child) {
            for (TCustomForm* F : bsMDIChildren()) {
                if (F == FForm || !F->Visible()) continue;
                TbsSkinFormFrame* Frame = FindSkinFormComponent(F);
                if (Frame && Frame->WindowState() == wsMinimized && ChildPosition(F) == Q) return true;
            }
            return false;
        }
        if (!Screen) return false;
        for (int I = 0; I < Screen->FormCount(); ++I) {
            TCustomForm* F = Screen->Forms(I);
            if (F == FForm || F == (Application ? Application->MainForm() : nullptr) || !F->Visible()) continue;
            TbsSkinFormFrame* Frame = FindSkinFormComponent(F);
            if (Frame && Frame->WindowState() == wsMinimized && F->Left() == Q.X && F->Top() == Q.Y) return true;
        }
        return false;
    };
    while (Taken(P)) {
        P.X += MW;
        if (P.X + MW > A.Right) {
            P.X = A.Left;
            P.Y -= MH;
        }
        if (P.Y < A.Top) {
            P = TPoint(A.Left, A.Bottom - MH);
            return;
        }
    }
}

void TbsSkinFormFrame::DoMaximize()
{
    if (IsEmptyRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
    if (IsMDIChild()) {
        // a maximized child fills the MDI client area, without its frame
        MouseTimer->SetEnabled(false);
        ResetObjectStates();
        TRect A;
        GetMDIClientRect(A);
        TRect Before = FForm->BoundsRect();
        SetChildBounds(FForm, 0, 0, A.Width(), A.Height());
        if (FForm->BoundsRect() == Before) NudgeWidth();
        if (FForm->HandleAllocated())
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        NotifyMainForm(MDIChildMaximized, 0);
        if (OnMaximize) OnMaximize(this);
        return;
    }
    TRect A(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    HWND H = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    if (FMaximizeOnFullScreen) {
        GetMonitorWorkArea(H, false, A);
    } else {
        GetMonitorWorkArea(H, true, A);
        TRect Whole = A, Screen0;
        GetMonitorWorkArea(H, false, Whole);
        GetWorkArea(false, Screen0);
        // a work area that is the whole screen leaves a pixel free on every side, so that
        // the edges of the screen still reach what lies behind
        if (A.Width() == Whole.Width() && A.Height() == Whole.Height() && SameRects(Whole, Screen0))
            A = TRect(A.Left + 1, A.Top + 1, A.Right - 1, A.Bottom - 1);
    }
    if (FullLayeredInUse()) {
        TbsFormLayerBorder* B = FBorderLayer;
        FForm->SetBounds(A.Left + B->LeftSize, A.Top + B->TopSize, A.Width() - B->LeftSize - B->RightSize,
                         A.Height() - B->TopSize - B->BottomSize);
    } else {
        FForm->SetBoundsRect(A);
    }
    if (FBorderLayer->FVisible && !(FBorderLayer->FData && FBorderLayer->FData->FullBorder)) FBorderLayer->Hide();
    // a maximized form is not sized by the grip of its status bar
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
    if (OnMaximize) OnMaximize(this);
}

void TbsSkinFormFrame::DoRestore()
{
    MaxRollUpState = false;
    int W0 = FForm->Width(), H0 = FForm->Height();
    TRect R = OldBoundsRect;
    if (IsEmptyRect(R)) R = FForm->BoundsRect();
    if (UseLayeredBorder() && !FBorderLayer->FVisible && FForm->Visible()) FBorderLayer->ShowWithForm();
    if (FStartShow) {
        FStartShow = false;
        TPoint P = GetPositionInMonitor(R.Left, R.Top, R.Width(), R.Height());
        FForm->SetBounds(P.X, P.Y, R.Width(), R.Height());
    } else {
        if (FBorderLayer->FVisible) FBorderLayer->SetBoundsWithForm3(R.Left, R.Top, R.Width(), R.Height());
        FForm->SetBoundsRect(R);
    }
    MouseTimer->SetEnabled(true);
    if (R.Width() == W0 && R.Height() == H0) NudgeWidth();
    if (FForm->HandleAllocated()) FForm->Invalidate();
    OldBoundsRect = TRect();
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
    if (IsMDIChild()) {
        if (FForm->HandleAllocated())
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        NotifyMainForm(MDIChildRestored, 0);
        NotifyMainForm(MDIRestoreAll, 0);
    }
    if (OnRestore) OnRestore(this);
}

void TbsSkinFormFrame::SetRolledUp(bool Value)
{
    if (!FBorderIcons.Contains(TbsBorderIcon::biRollUp)) return;
    if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState) return;
    if (FWindowState == wsMinimized) return;
    if (FWindowStateInit == wsMaximized) MaxRollUpState = Value;
    FRollUpState = Value;
    if (Value) {
        OldHeight = FForm->Height();
        RollUpForm();
    } else if (FClientHeight != 0) {
        FForm->SetClientHeight(FClientHeight);
    } else {
        UnrollForm();
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinFormFrame::RollUpForm()
{
    // under a full layered border the height always changes, so that the border follows
    if (FullLayeredShown() && FForm->Height() == GetMinHeight()) {
        FForm->SetHeight(GetMinHeight() + 1);
        OldHeight = FForm->Height();
    }
    FForm->SetHeight(GetMinHeight());
}

void TbsSkinFormFrame::UnrollForm() { FForm->SetHeight(OldHeight); }

// Both need a linked tray icon; without one they do nothing.  Minimizing tells the icon
// that the next minimize goes to the tray, where its hook hides the main form and shows
// the icon.
void TbsSkinFormFrame::MinimizeToTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(true);
    if (Application) Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TbsSkinFormFrame::RestoreFromTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (Application) Application->Restore();
    if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
    CheckAppLayeredBorders();
}

void TbsSkinFormFrame::TrayIconDblClick(TObject*) { RestoreFromTray(); }

// Linking an icon hides it (unless always shown) and gives it the form's tray menu and
// the double click back from the tray, where the program set neither.
void TbsSkinFormFrame::SetTrayIcon(TbsTrayIcon* Value)
{
    if (FTrayIcon) FTrayIcon->RemoveFreeNotification(this);
    FTrayIcon = Value;
    FTrayDblClickSet = false;
    if (!Value) {
        if (IsDesigning()) FBorderIcons.Exclude(TbsBorderIcon::biMinimizeToTray);
        return;
    }
    Value->FreeNotification(this);
    if (!FAlwaysShowInTray) Value->SetIconVisible(false);
    Value->SetMinimizeToTray(false);
    if (IsDesigning()) {
        FBorderIcons.Include(TbsBorderIcon::biMinimizeToTray);
        return;
    }
    if (!Value->PopupMenu()) Value->SetPopupMenu(FSysTrayMenu);
    if (!Value->OnDblClick) {
        Value->OnDblClick = [this](TObject* Sender) { TrayIconDblClick(Sender); };
        FTrayDblClickSet = true;
    }
}

TPoint TbsSkinFormFrame::GetPositionInMonitor(int AX, int AY, int AW, int AH)
{
    if (FPositionInMonitor == bspDefault) return TPoint(AX, AY);
    TRect A(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, FPositionInMonitor == bspDesktopCenter, A);
    return TPoint(A.Left + A.Width() / 2 - AW / 2, A.Top + A.Height() / 2 - AH / 2);
}

void TbsSkinFormFrame::ApplyPositionInMonitor()
{
    if (FPositionInMonitor == bspDefault) return;
    TPoint P = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(P.X, P.Y, FForm->Width(), FForm->Height());
}

void TbsSkinFormFrame::MagneticMove(int& ALeft, int& ATop, int AWidth, int AHeight)
{
    int MS = FMagneticSize;
    TRect A(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    if (IsMDIChild()) {
        // an MDI child snaps to the edges of the MDI client area; it moves in the client
        // window's coordinates, whose origin is the area's top-left corner
        TRect C;
        GetMDIClientRect(C);
        A = TRect(0, 0, C.Width(), C.Height());
    } else {
        GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, A);
    }
    TPoint Cur = GetCursorPos();
    // Under a shown layered border with resize zones the outer frame snaps: the position
    // becomes the border's and the size takes its right and bottom parts (the left and top
    // parts are added where the far edges are measured).
    TbsFormLayerBorder* B = FBorderLayer;
    const bool Outer = UseLayeredBorder() && B && B->FVisible && B->FData && !IsEmptyRect(B->FData->BorderRect);
    const int LS = Outer ? B->LeftSize : 0, TS = Outer ? B->TopSize : 0;
    ALeft -= LS;
    ATop -= TS;
    if (Outer) {
        AWidth += B->RightSize;
        AHeight += B->BottomSize;
    }
    // An edge near the area's edge (within MS) snaps to it and stays stuck until the cursor
    // has moved more than MS from where it was at the snap; then the form follows the cursor.
    // Target is the position of the form that puts the edge on the area's edge.
    auto Edge = [MS](int& Pos, bool Near, int Target, int Cursor, int& Coord, bool& Stuck) {
        if (Near && !Stuck) {
            Pos = Target;
            Coord = Cursor;
        } else if (Stuck) {
            Pos = std::abs(Cursor - Coord) > MS ? Cursor + Target - Coord : Target;
        }
        Stuck = Near;
    };
    auto Near = [MS](int Value, int Edge) { return Edge - MS < Value && Value < Edge + MS; };
    Edge(ALeft, Near(ALeft, A.Left), A.Left, Cur.X, FOnMouseDownCoord.X, HMagnetized);
    Edge(ATop, Near(ATop, A.Top), A.Top, Cur.Y, FOnMouseDownCoord.Y, VMagnetized);
    const bool NearR = Near(ALeft + AWidth + LS, A.Right), NearB = Near(ATop + AHeight + TS, A.Bottom);
    Edge(ALeft, NearR, A.Right - AWidth, Cur.X, FOnMouseDownCoord.X, HMagnetized2);
    Edge(ATop, NearB, A.Bottom - AHeight, Cur.Y, FOnMouseDownCoord.Y, VMagnetized2);
    // a far edge's snap gives the form's own position already
    if (!NearR) ALeft += LS;
    if (!NearB) ATop += TS;
}

bool TbsSkinFormFrame::GetFullDrag()
{
    BOOL V = 0;
    SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &V, 0);
    return (V & 0xFF) != 0;
}

void TbsSkinFormFrame::MorphTimerTick(TObject*)
{
    bool Any = false;
    for (size_t I = 0; I < ObjectList.size(); ++I) {
        TbsActiveSkinObject* O = ObjectList[I].get();
        if (O->EnableMorphing() && O->CanMorphing()) {
            O->DoMorphing();
            Any = true;
        }
    }
    if (!Any) MorphTimer->SetEnabled(false);
}

void TbsSkinFormFrame::AnimateTimerTick(TObject*)
{
    bool Any = false;
    for (size_t I = 0; I < ObjectList.size(); ++I) {
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(ObjectList[I].get())) {
            if (A->Active() && (!A->Down() || IsEmptyRect(A->DownSkinRect))) {
                A->ChangeFrame();
                Any = true;
            }
            continue;
        }
        auto* C = dynamic_cast<TbsSkinCaptionObject*>(ObjectList[I].get());
        if (!C || !C->EnableAnimation()) continue;
        bool FrameChanged = false;
        if (C->AnimationTick(FrameChanged)) Any = true;
        if (FrameChanged) DrawSkinObject(C);
    }
    if (!Any) AnimateTimer->SetEnabled(false);
}
