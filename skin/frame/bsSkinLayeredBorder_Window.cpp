// The windows of the layered border and their mouse: the hit test of the border zones,
// resizing the form by them, moving it by the caption (with the frame's magnetic edges),
// and, with a full border, hover, press and release of the caption objects drawn in the
// top window.  The windows never take the activation or the focus.
#include "skin/frame/bsSkinLayeredBorder.h"
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"


TbsFormLayerWindow::TbsFormLayerWindow(TComponent* AOwner, TCustomForm* AForm)
    : TForm(AOwner), FForm(AForm), FLayerBorder(dynamic_cast<TbsFormLayerBorder*>(AOwner))
{
    SetBorderStyle(bsNone);
    SetFormStyle(AForm && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
    AfterConstruction();
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    // a border window is no application window of its own
    Params.ExStyle = (Params.ExStyle & ~DWORD(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW | WS_EX_LAYERED;
    if (FLayerBorder && FLayerBorder->FData && IsEmptyRect(FLayerBorder->FData->BorderRect))
        Params.ExStyle |= WS_EX_TRANSPARENT;
}

bool TbsFormLayerWindow::CanSizeForm()
{
    TbsSkinFormFrame* F = FLayerBorder ? FLayerBorder->BSF : nullptr;
    return F && F->IsSizeable() && !F->FRollUpState && F->FWindowState == wsNormal;
}

TbsFormLayerBorderHit TbsFormLayerWindow::GetHitMode(TPoint P)
{
    TbsFormLayerBorder* B = FLayerBorder;
    if (!B || !B->FData || !FForm) return bsflhNone;
    const TbsDataSkinLayerFrame& D = *B->FData;
    if (D.FullBorder) {
        if (FBorderType == bsflTop) {
            TPoint C = ScreenToClient(P);
            B->HoverObjects(C.X, C.Y);
        }
    } else {
        B->ClearActiveObject();
    }
    if (B->ActiveObject() != -1 && B->BSF && B->ActiveObject() < int(B->BSF->ObjectList.size()))
        return dynamic_cast<TbsSkinCaptionObject*>(B->BSF->ObjectList[size_t(B->ActiveObject())].get()) ? bsflCaption
                                                                                                        : bsflObject;
    if (!CanSizeForm()) return bsflhNone;
    int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    TRect Wnd = GetWindowRect(Handle());
    int HS = D.HitTestSize;
    switch (FBorderType) {
    case bsflLeft:
        return P.X >= L - B->LeftSize ? bsflhLeft : bsflhNone;
    case bsflRight:
        return P.X > L + W + B->RightSize ? bsflhNone : bsflhRight;
    case bsflTop: {
        TRect K = D.CaptionRect;
        K.Right += W - D.ClRect.Width();
        K.Top = D.BorderRect.Top + HS;
        OffsetRect(K, Wnd.Left, Wnd.Top);
        TRect Z1(L - B->LeftSize, T - B->TopSize, L - B->LeftSize + B->HitTopLeftX, T - B->TopSize + B->HitTopLeftY);
        TRect Z2(L + W + B->RightSize - B->HitTopRightX, T - B->TopSize, L + W + B->RightSize,
                 T - B->TopSize + B->HitTopRightY);
        TRect E(Z1.Right, Z1.Top, Z2.Left, Z1.Top + HS);
        TRect S1(Z1.Left, Z1.Bottom, Z1.Left + HS, Wnd.Bottom);
        TRect S2(Z2.Left, Z2.Bottom, Z2.Right, Wnd.Bottom);
        bool InK = K.Contains(P);
        if (Z1.Contains(P) && !InK) return bsflhTopLeft;
        if (E.Contains(P)) return bsflhTop;
        if (Z2.Contains(P) && !InK) return bsflhTopRight;
        if (S1.Contains(P) && !InK) return bsflhLeft;
        if (S2.Contains(P) && !InK) return bsflhRight;
        return bsflhNone;
    }
    case bsflBottom: {
        int Bt = T + H + B->BottomSize;
        TRect Z1(L - B->LeftSize, Bt - B->HitBottomLeftY, L - B->LeftSize + B->HitBottomLeftX, Bt);
        TRect Z2(L + W + B->RightSize - B->HitBottomRightX, Bt - B->HitBottomRightY, L + W + B->RightSize, Bt);
        TRect E(Z1.Right, Z1.Top, Z2.Left, Bt);
        TRect S1(Z1.Left, Wnd.Top, L, Z1.Top);
        TRect S2(L + W, Wnd.Top, L + W + B->RightSize, Z2.Top);
        if (Z1.Contains(P)) return bsflhBottomLeft;
        if (E.Contains(P)) return bsflhBottom;
        if (Z2.Contains(P)) return bsflhBottomRight;
        if (S1.Contains(P)) return bsflhLeft;
        if (S2.Contains(P)) return bsflhRight;
        return bsflhNone;
    }
    }
    return bsflhNone;
}

void TbsFormLayerWindow::Dispatch(TMessage& M)
{
    TbsFormLayerBorder* B = FLayerBorder;
    bool Full = B && B->FData && B->FData->FullBorder;
    switch (M.Msg) {
    case WM_MOUSEACTIVATE:
        M.Result = MA_NOACTIVATE;
        if (B && B->FData && B->FData->HitTestEnable && FForm) {
            if (!FForm->Active()) FForm->Show();
            FHitMode = GetHitMode(GetCursorPos());
        }
        return;
    case WM_SETFOCUS:
        if (FForm && !FForm->Active()) FForm->Show();
        M.Result = 1;
        return;
    case WM_LBUTTONDBLCLK:
        if (Full) DblClickAt(M.LParamLo(), M.LParamHi());
        break;
    default:
        if (M.Msg == CM_MOUSEENTER && Full) {
            B->MouseTimer->SetEnabled(true);
        } else if (M.Msg == CM_MOUSELEAVE && Full) {
            B->MouseTimer->SetEnabled(false);
            B->HoverObjects(-1, -1);
        }
        break;
    }
    TForm::Dispatch(M);
    if (M.Msg == WM_LBUTTONDBLCLK && Full && FLayerBorder) FLayerBorder->ReleaseMouseCapture();
}

void TbsFormLayerWindow::DblClickAt(int, int)
{
    TbsFormLayerBorder* B = FLayerBorder;
    TbsSkinFormFrame* F = B->BSF;
    if (!F) return;
    TbsFormLayerBorderHit H = GetHitMode(GetCursorPos());
    TbsActiveSkinObject* O = B->ActiveObject() >= 0 && B->ActiveObject() < int(F->ObjectList.size())
                                 ? F->ObjectList[size_t(B->ActiveObject())].get()
                                 : nullptr;
    if (H == bsflCaption)
        if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O); C && C->ActiveQuickButton != -1) H = bsflObject;
    MousePos1 = MousePos2;
    if (H == bsflObject) {
        if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O); S && S->Command() == cmSysMenu) FForm->Close();
        return;
    }
    if (H != bsflCaption) return;
    if (F->CaptionDoubleClick()) FDown = false;
}

void TbsFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TForm::MouseDown(Button, Shift, X, Y);
    TbsFormLayerBorder* B = FLayerBorder;
    if (!B || !B->BSF || !FForm) return;
    TbsSkinFormFrame* F = B->BSF;
    if (F->OpenMenuItem()) F->CloseSkinMenu();
    if (TWinControl* A = FForm->ActiveControl(); A && A->HandleAllocated()) SendMessage(A->Handle(), CM_CANCELMODE, 0, 0);
    TPoint P = GetCursorPos();
    TbsFormLayerBorderHit H = GetHitMode(P);
    if (!B->FData || !B->FData->HitTestEnable) return;
    if (!CanSizeForm() && H != bsflCaption && H != bsflObject) return;
    FHitMode = H;
    FInProcessMessages = false;
    FDown = H != bsflObject && H != bsflhNone && F->FWindowState != wsMaximized && Button == mbLeft;
    MousePos1 = MousePos2 = P;
    if (!B->FData->FullBorder || B->ActiveObject() < 0 || B->ActiveObject() >= int(F->ObjectList.size())) return;
    TbsActiveSkinObject* O = F->ObjectList[size_t(B->ActiveObject())].get();
    if (Button != mbRight) B->CaptureActiveObject();
    O->MouseDown(X, Y, Button);
    if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O); C && C->ActiveQuickButton != -1) FDown = false;
    if (F->FLayerManager->IsVisible && FForm->FormStyle() == fsStayOnTop) F->FLayerManager->Update();
}

void TbsFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TForm::MouseUp(Button, Shift, X, Y);
    TbsFormLayerBorder* B = FLayerBorder;
    if (!B || !B->BSF) return;
    TbsSkinFormFrame* F = B->BSF;
    F->SetBorderLayerChangeSize(false);
    FDown = FInProcessMessages = false;
    MousePos1 = MousePos2 = TPoint(0, 0);
    if (!B->FData) return;
    bool Full = B->FData->FullBorder;
    int N = int(F->ObjectList.size());
    const int Capture = B->MouseCaptureObject();
    if (Full && Capture >= 0 && Capture < N && Capture != B->ActiveObject())
        F->ObjectList[size_t(Capture)]->MouseUp(X, Y, Button);
    B->ReleaseMouseCapture();
    if (!Full || !B->FData->HitTestEnable) return;
    if (!(CanSizeForm() || FHitMode == bsflCaption || FHitMode == bsflObject)) return;
    if (B->ActiveObject() >= 0 && B->ActiveObject() < N)
        // the object may close the form (and free this window): nothing follows it
        F->ObjectList[size_t(B->ActiveObject())]->MouseUp(X, Y, Button);
}

void TbsFormLayerWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TForm::MouseMove(Shift, X, Y);
    TbsFormLayerBorder* B = FLayerBorder;
    if (!B || !B->BSF || !FForm) return;
    if (FInProcessMessages) {
        FInProcessMessages = false;
        MousePos1 = MousePos2;
        return;
    }
    if (!B->FData || !B->FData->HitTestEnable) return;
    TbsSkinFormFrame* F = B->BSF;
    MousePos2 = GetCursorPos();
    int DX = MousePos2.X - MousePos1.X, DY = MousePos2.Y - MousePos1.Y;
    if (!FDown) {
        F->SetBorderLayerChangeSize(false);
        FHitMode = GetHitMode(MousePos2);
        TCursor C = crDefault;
        switch (FHitMode) {
        case bsflhLeft: case bsflhRight: C = crSizeWE; break;
        case bsflhTop: case bsflhBottom: C = crSizeNS; break;
        case bsflhTopLeft: case bsflhBottomRight: C = crSizeNWSE; break;
        case bsflhTopRight: case bsflhBottomLeft: C = crSizeNESW; break;
        default: break;
        }
        SetCursor(C);
        if (B->FData->FullBorder && B->ActiveObject() >= 0 && B->ActiveObject() < int(F->ObjectList.size()))
            F->ObjectList[size_t(B->ActiveObject())]->MouseMove(X, Y);
    } else {
        F->SetBorderLayerChangeSize(true);
        if (FHitMode == bsflCaption) {
            MoveStep(DX, DY);
            return;
        }
        ResizeStep(DX, DY, MousePos2);
    }
    MousePos1 = MousePos2;
}

void TbsFormLayerWindow::ApplyBounds(int L, int T, int W, int H)
{
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    FForm->SetBounds(L, T, W, H);
    MousePos1 = MousePos2;
    FInProcessMessages = true;
    if (Application) Application->ProcessMessages();
    FInProcessMessages = false;
}

void TbsFormLayerWindow::ResizeStep(int DX, int DY, TPoint C)
{
    TbsFormLayerBorder* B = FLayerBorder;
    TbsSkinFormFrame* F = B->BSF;
    int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    int MinW = F->GetMinWidth(), MaxW = F->GetMaxWidth(), MinH = F->GetMinHeight(), MaxH = F->GetMaxHeight();
    auto ClampW = [&](int V) { return std::max(MinW, std::min(MaxW, V)); };
    auto ClampH = [&](int V) { return std::max(MinH, std::min(MaxH, V)); };
    int HS = B->FData->HitTestSize;
    bool GrowsLeft = DX < 0 && C.X <= L - B->LeftSize + HS;
    bool GrowsUp = DY < 0 && C.Y <= T - B->TopSize + HS;
    bool GrowsRight = DX >= 1 && C.X >= L + W + B->RightSize - HS;
    bool GrowsDown = DY >= 1 && C.Y >= T + H + B->BottomSize - HS;
    // After a resize that moved the top edge, a form whose height did not change (held at
    // a limit) takes its border back to its own place.
    auto FollowTop = [&] {
        if (FForm->Height() == H) B->MoveWithForm();
    };
    switch (FHitMode) {
    case bsflhLeft: {
        if (!(DX > 0 || GrowsLeft)) return;
        int W2 = ClampW(W - DX);
        if (DX == 0 || W2 == W || W2 != W - DX) return;
        ApplyBounds(L + DX, T, W2, H);
        return;
    }
    case bsflhTop: {
        if (!(DY > 0 || GrowsUp)) return;
        int H2 = ClampH(H - DY);
        if (DY == 0 || H2 == H || H2 != H - DY) return;
        if (DY >= 1) B->MoveWithForm2(L, T + DY);
        ApplyBounds(L, T + DY, W, H2);
        FollowTop();
        return;
    }
    case bsflhRight: {
        if (!(DX < 0 || GrowsRight)) return;
        int W2 = ClampW(W + DX);
        if (DX == 0 || W2 == W) return;
        ApplyBounds(L, T, W2, H);
        return;
    }
    case bsflhBottom: {
        if (!(DY < 0 || GrowsDown)) return;
        int H2 = ClampH(H + DY);
        if (DY == 0 || H2 == H) return;
        ApplyBounds(L, T, W, H2);
        return;
    }
    case bsflhTopLeft: {
        if (!(DX >= 1 || GrowsLeft)) DX = 0;
        if (!(DY >= 0 || GrowsUp)) DY = 0;
        int W2 = DX ? ClampW(W - DX) : W, H2 = DY ? ClampH(H - DY) : H;
        if (W2 != W - DX || H2 != H - DY || (W2 == W && H2 == H) || (DX == 0 && DY == 0)) return;
        if (DY > 0) B->MoveWithForm2(L + DX, T + DY);
        ApplyBounds(L + DX, T + DY, W2, H2);
        FollowTop();
        return;
    }
    case bsflhTopRight: {
        if (!(DX < 1 || GrowsRight)) DX = 0;
        if (!(DY >= 0 || GrowsUp)) DY = 0;
        int W2 = DX ? ClampW(W + DX) : W, H2 = DY ? ClampH(H - DY) : H;
        if (H2 != H - DY || (W2 == W && H2 == H) || (DX == 0 && DY == 0)) return;
        if (DY > 0) B->MoveWithForm2(L, T + DY);
        ApplyBounds(L, T + DY, W2, H2);
        FollowTop();
        return;
    }
    case bsflhBottomLeft: {
        if (!(DX >= 1 || GrowsLeft)) DX = 0;
        if (!(DY < 1 || GrowsDown)) DY = 0;
        int W2 = DX ? ClampW(W - DX) : W, H2 = DY ? ClampH(H + DY) : H;
        if (W2 != W - DX || (W2 == W && H2 == H) || (DX == 0 && DY == 0)) return;
        ApplyBounds(L + DX, T, W2, H2);
        return;
    }
    case bsflhBottomRight: {
        if (!(DX < 0 || GrowsRight)) DX = 0;
        if (!(DY < 1 || GrowsDown)) DY = 0;
        int W2 = DX ? ClampW(W + DX) : W, H2 = DY ? ClampH(H + DY) : H;
        if ((W2 == W && H2 == H) || (DX == 0 && DY == 0)) return;
        ApplyBounds(L, T, W2, H2);
        return;
    }
    default:
        return;
    }
}

void TbsFormLayerWindow::MoveStep(int DX, int DY)
{
    TbsFormLayerBorder* B = FLayerBorder;
    TbsSkinFormFrame* F = B->BSF;
    int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    int X = L + DX, Y = T + DY;
    bool Snapped = false;
    if (F->Magnetic() && (DX != 0 || DY != 0)) {
        int SX = X, SY = Y;
        F->MagneticMove(SX, SY, W, F->LayeredRollUpActive() ? B->FData->RollUpFormHeight : H);
        Snapped = SX != X || SY != Y;
        X = SX;
        Y = SY;
        MousePos1 = MousePos2;
    }
    FInProcessMessages = true;
    bool Go = true;
    if (Snapped) {
        // a snapped position is taken only when it does not go against the mouse
        bool HOk = DX >= 1 ? X >= L : DX < 0 ? X <= L : true;
        bool VOk = DY >= 1 ? Y >= T : DY < 0 ? Y <= T : true;
        Go = HOk && VOk;
    }
    if (Go) {
        if (!Snapped && DY >= 1) B->MoveWithForm2(X, Y);
        FForm->SetBounds(X, Y, W, H);
    }
    B->MoveWithForm();
    if (Application) Application->ProcessMessages();
    FInProcessMessages = false;
    MousePos1 = MousePos2;
}
