// The form frame's window procedure: every message of the form's window passes it.  It
// decides per message whether the frame acts before the form's own procedure, around it
// or instead of it, and routes the non-client mouse to the caption objects.
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {

TPoint MessagePoint(const TMessage& M) { return TPoint(M.LParamLo(), M.LParamHi()); }

}  // namespace

void TbsSkinFormFrame::FormWindowProc(TMessage& M)
{
    CloseMenusOnInput(M.Msg);
    const bool Skinnable = FSkinnableForm;
    bool Pass = true;
    auto CallSaved = [&] {
        if (OldWindowProc) OldWindowProc(M);
    };

    // ---- before the form's own procedure
    switch (M.Msg) {
    case WM_DESTROY:
        MouseTimer->SetEnabled(false);
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        if (IsMDIChild()) {
            FWindowState = FWindowStateInit = wsNormal;
            NotifyMainForm(MDIChildRestored, 0);
            RefreshMainMenuBar();
            RefreshMDITabsBar();
            NotifyMainForm(MDIChildMoved, WPARAM(FForm->Handle()));
        }
        break;
    case WM_SIZE:
        WMSize(M);
        Pass = FSizeMove && FFullDrag;
        break;
    case WM_ACTIVATE:
        if (Skinnable) {
            CallSaved();
            Pass = false;
            if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
            if (IsMDIChild() && FWindowStateInit == wsMaximized) {
                UpdateCaptionActive(false);
            } else {
                ResetObjectStates();
                UpdateCaptionActive(true);
            }
            if (IsMDIForm()) RefreshMainMenuBar();
        }
        break;
    case WM_SETTEXT:
        if (Skinnable) {
            CallSaved();
            Pass = false;
            if (HasFrame()) UpDateFormNC();
            if (IsMDIChild()) {
                UpDateChildCaptionInMenu(FForm);
                RefreshMDIBarTab(FForm);
                // the main form's caption names its maximized child
                if (FWindowStateInit == wsMaximized && Application && Application->MainForm())
                    if (TbsSkinFormFrame* M = FindSkinFormComponent(Application->MainForm()); M && M != this)
                        M->UpDateFormNC();
            }
        }
        break;
    case WM_ERASEBKGND:
        if (!IsMDIForm() || FClientInActiveDraw) {
            HDC DC = reinterpret_cast<HDC>(M.WParam);
            if (!FSkinSupport) PaintBGDefault(DC);
            else if (FUseRibbon && FSD->MDIBGPictureIndex != -1) PaintBG3(DC);
            else if (FSD->BGPictureIndex == -1) PaintBG(DC);
            else PaintBG2(DC);
            Pass = false;
        }
        break;
    case WM_SHOWWINDOW:
        WMShowWindow(M);
        break;
    case WM_SETCURSOR:
        if (Skinnable && FUseFormCursorInNCArea) {
            int Hit = M.LParamLo();
            if (!(Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT)) M.LParam = (M.LParam & ~LPARAM(0xFFFF)) | HTCLIENT;
        }
        break;
    case WM_MOUSEACTIVATE:
        // a press into the active child of an inactive main form lights its caption at once
        if (Skinnable && IsMDIChild() && !FFormActive && bsActiveMDIChild() == FForm) {
            FFormActive = true;
            UpdateCaptionActive(FWindowState != wsMaximized);
        }
        break;
    case WM_GETMINMAXINFO:
        if (Skinnable) {
            auto* MMI = reinterpret_cast<MINMAXINFO*>(M.LParam);
            MMI->ptMinTrackSize = TPoint(GetMinWidth(), GetMinHeight());
            MMI->ptMaxTrackSize = TPoint(GetMaxWidth(), GetMaxHeight());
        }
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(M);
        break;
    case WM_DISPLAYCHANGE:
        if (FForm->BorderStyle() != bsNone && (FForm->Width() > GetMaxWidth() || FForm->Height() > GetMaxHeight()))
            NudgeWidth();
        break;
    case WM_NCCALCSIZE:
        if (Skinnable) {
            WMNCCalcSize(M);
            Pass = false;
        }
        break;
    case WM_NCHITTEST:
        if (FullLayeredShown()) {
            M.Result = HTCLIENT;
            Pass = false;
        } else if (Skinnable) {
            TPoint P = MessagePoint(M);
            ScreenToWindowPoint(P);
            M.Result = FSkinSupport ? SkinHitTest(P) : DefHitTest(P);
            if (M.Result == HTOBJECT && !MouseTimer->Enabled()) {
                UpdateActiveObject(P.X, P.Y, true);
                MouseTimer->SetEnabled(true);
            }
            Pass = false;
        }
        break;
    case WM_NCPAINT:
        if (Skinnable) {
            Pass = false;
            if (HasFrame()) {
                if (FSkinSupport && FullLayeredInUse()) M.Result = 1;
                else if (FSkinSupport) PaintNCSkin(nullptr, false);
                else if (!FStopPainting) PaintNCDefault(nullptr, false);
            }
        }
        break;
    case WM_NCACTIVATE:
        if (Skinnable) {
            WMNCActivate(M);
            Pass = false;
        }
        break;
    case WM_SYNCPAINT:
        if (Skinnable && FRollUpState) {
            SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
            M.Result = 0;
            Pass = false;
        }
        break;
    case WM_SYSCOMMAND:
        if ((M.WParam & 0xFFF0) == SC_RESTORE) {
            if (OnRestore) OnRestore(this);
            if (UseLayeredBorder() && Application && Application->MainFormOnTaskBar() && IsMainForm()) {
                CallSaved();
                Pass = false;
                FBorderLayer->ShowWithForm();
            }
        } else if ((M.WParam & 0xFFF0) == SC_KEYMENU) {
            Pass = false;
            if (FMenuMode.InMainMenu()) {
                EndMainMenu();
            } else {
                // the open popup (the system menu, a drop-down, a context menu) closes and
                // hides before the bar takes the keyboard
                if (FMenuMode.Active() || SkinMenu->Visible()) SkinMenuClose();
                if (FMainMenuBar) FMainMenuBar->EnterMenuMode();
                RibbonKeyMenu();
            }
        }
        break;
    case WM_TIMER:
        if (M.WParam == 1) WMTimer(M);
        break;
    case WM_SIZING:
        if (FSizeMove && FFullDrag) {
            WMSizing(M);
            Pass = false;
        }
        break;
    case WM_MOVING:
        if (Skinnable) {
            auto* R = reinterpret_cast<TRect*>(M.LParam);
            if (FWindowStateInit == wsMaximized && !IsMDIChild()) {
                *R = TRect(FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height());
            } else if (FMagnetic) {
                int X = R->Left, Y = R->Top;
                MagneticMove(X, Y, FForm->Width(), FForm->Height());
                *R = TRect(X, Y, X + FForm->Width(), Y + FForm->Height());
            }
        }
        break;
    case WM_ENTERSIZEMOVE:
        if (Skinnable) {
            FOnMouseDownCoord = GetCursorPos();
            ResetObjectStates();
            MouseTimer->SetEnabled(false);
            ActiveObject = MouseCaptureObject = -1;
            FSizeMove = true;
            FFullDrag = GetFullDrag();
        }
        break;
    case WM_EXITSIZEMOVE:
        if (Skinnable) {
            if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
                FFormLeft = FForm->Left();
                FFormTop = FForm->Top();
                FFormWidth = FForm->Width();
                FFormHeight = FForm->Height();
                UpdateSkinFrame(true);
            }
            FSizing = FSizeMove = false;
            MouseTimer->SetEnabled(false);
            ActiveObject = OldActiveObject = MouseCaptureObject = -1;
            if (FSD && !FSD->Empty && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
            if (UseLayeredBorder()) FBorderLayer->SetBoundsWithForm();
        }
        break;
    default:
        if (M.Msg == SkinDataChanging) {
            if (reinterpret_cast<TbsSkinData*>(M.WParam) == FSD && FSD) {
                SaveOldBounds();
                FStopPainting = true;
                FSkinSupport = false;
                MouseTimer->SetEnabled(false);
                MorphTimer->SetEnabled(false);
                AnimateTimer->SetEnabled(false);
                ClearObjects();
                BeforeChangeControls(reinterpret_cast<TbsSkinData*>(M.WParam), FForm);
                if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
            }
        } else if (M.Msg == SkinDataChanged) {
            FStopPainting = false;
            auto* SD = reinterpret_cast<TbsSkinData*>(M.WParam);
            if (SD == FSD && FSD) ChangeSkinData();
            ChangeControls(SD, FForm);
        } else if (M.Msg == SkinDataApplied) {
            if (FSD && reinterpret_cast<TbsSkinData*>(M.WParam) == FSD && IsMDIForm()) NotifyChildrenFitClient();
            if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
        } else if (M.Msg == SkinMenuClosed) {
            SkinMenuClose();
        } else if (M.Msg == MDIQueryChildMaximized) {
            M.Result = IsMDIForm() && FMDIChildMaximized ? 1 : 0;
            Pass = false;
        } else if (M.Msg >= MDIChildFitClient && M.Msg <= MDIRestoreAllExcept) {
            if (MDIMessage(M)) Pass = false;
        } else if (M.Msg == ResourceStringsChanged) {
            UpdateObjectHints();
        } else if (M.Msg == SkinnableFormChanged) {
            auto* SD = reinterpret_cast<TbsSkinData*>(M.WParam);
            if (!FUseRibbon && FSD && SD == FSD && !IsMDIChild()) SetSkinnableForm(FSD->SkinnableForm());
        } else if (M.Msg == RestoredFromTray) {
            if (FForm->Tag() == TrayRestoreTag) {
                if (UseLayeredBorder()) {
                    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
                        SetForegroundWindow(Application->MainForm()->Handle());
                    ForegroundStayOnTopForms();
                }
                FForm->SetTag(0);
            }
        } else if (M.Msg == LayeredBordersChanged) {
            LayeredBordersSwitch();
        } else if (M.Msg == AeroBlurChanged) {
            if (UseLayeredBorder() && FBorderLayer->FVisible) {
                FBorderLayer->Hide();
                FBorderLayer->ShowWithForm();
            }
        } else if (M.Msg == SkinFrameQuery) {
            M.Result = !FSkinnableForm && FIsVistaOs ? SkinFrameQueryPlatformFrame : SkinFrameQuerySkinFrame;
            Pass = false;
        } else if (M.Msg == SmartEffectsPrepare) {
            FSmartEffectsShow = true;
        } else if (M.Msg == SmartEffectsShowBorder) {
            if (FSmartEffectsShow) {
                FSmartEffectsShow = false;
                if (ShownOrTrayRestoring() && UseLayeredBorder()) {
                    if (Application) Application->ProcessMessages();
                    FBorderLayer->SetActiveLook(true);
                    FBorderLayer->ShowWithFormAnimation();
                }
            }
        } else if (M.Msg == PaintNonClientToDC) {
            if (Skinnable) {
                Pass = false;
                if (M.WParam != 0 && HasFrame()) {
                    if (FSkinSupport) PaintNCSkin(reinterpret_cast<HDC>(M.WParam), true);
                    else PaintNCDefault(reinterpret_cast<HDC>(M.WParam), true);
                    M.Result = PaintNonClientToDCAnswer;
                }
            }
        } else if (M.Msg == PaintNonClientToDCEx) {
            if (Skinnable && M.LParam == PaintNonClientToDCExParam) {
                Pass = false;
                if (M.WParam != 0 && HasFrame()) {
                    if (FSkinSupport) PaintNCSkin(reinterpret_cast<HDC>(M.WParam), true);
                    else PaintNCDefault(reinterpret_cast<HDC>(M.WParam), true);
                }
                M.Result = PaintNonClientToDCExParam;
            }
        }
        break;
    }

    if (Pass) CallSaved();

    // ---- after the form's own procedure
    switch (M.Msg) {
    case WM_SHOWWINDOW:
        if (M.WParam) {
            if (OsIsWin2000OrLater() && !FAlphaBlendAnimation && !FAlphaBlend && !UseLayeredShowTimer() &&
                !(FSD && FSD->AnimationForAllWindows()) && ShownOrTrayRestoring() && UseLayeredBorder()) {
                if (Application) Application->ProcessMessages();
                FBorderLayer->SetActiveLook(true);
                FBorderLayer->ShowWithForm();
            }
        } else if (UseLayeredBorder()) {
            FBorderLayer->Hide();
        }
        if (IsMDIChild()) NotifyMainForm(MDIChildMoved, M.WParam ? 0 : WPARAM(FForm->Handle()));
        break;
    case WM_MOVE:
    case WM_SIZE:
        if (IsMDIChild()) NotifyMainForm(MDIChildMoved, 0);
        break;
    case WM_NCMOUSEMOVE:
        if (Skinnable) {
            TPoint P = MessagePoint(M);
            ScreenToWindowPoint(P);
            ObjectsMouseMove(P.X, P.Y);
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (Skinnable) {
            if (FSizeMove) {
                FSizeMove = false;
            } else {
                TPoint P = MessagePoint(M);
                ScreenToWindowPoint(P);
                UpdateActiveObject(P.X, P.Y, true);
                ObjectsMouseDown(mbLeft, P.X, P.Y);
                if (M.WParam == HTCAPTION) MouseCaptureObject = -1;
            }
        }
        break;
    case WM_NCLBUTTONUP:
        if (Skinnable) {
            TPoint P = MessagePoint(M);
            ScreenToWindowPoint(P);
            ObjectsMouseUp(mbLeft, P.X, P.Y);
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (Skinnable) WMNCLButtonDblClk(M);
        break;
    case WM_NCRBUTTONDOWN:
        if (Skinnable && M.WParam == HTCAPTION) {
            MouseCaptureObject = -1;
            if (!FDisableSystemMenu) {
                TPoint C = GetCursorPos();
                PopupSystemMenuAt(C.X, C.Y);
            }
        }
        break;
    case WM_NCRBUTTONDBLCLK:
        if (Skinnable && M.WParam == HTCAPTION) MouseCaptureObject = -1;
        break;
    case WM_LBUTTONUP:
        ObjectsMouseUp(mbLeft, -1, -1);
        break;
    case WM_RBUTTONUP:
        ObjectsMouseUp(mbRight, -1, -1);
        break;
    }
}

// ---- the handlers -----------------------------------------------------------------------

void TbsSkinFormFrame::WMSize(TMessage& M)
{
    if (FSizeMove && FFullDrag) {
        if (!FLogoBitMap->Empty() && !IsMDIForm()) FForm->Invalidate();
        return;
    }
    if (!FBorderLayerChangeSize) {
        if (OldWindowProc) OldWindowProc(M);
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
    }
    HMagnetized = HMagnetized2 = VMagnetized = VMagnetized2 = false;
    if (!FSkinSupport) {
        if (FSkinnableForm) {
            UpdateFormRegion(true);
            if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
        }
    } else if (FSD && FSkinnableForm && FFormWidth >= GetMinWidth() && FFormHeight >= GetMinHeight()) {
        if (UseLayeredBorder()) {
            if (FBorderLayerChangeSize) FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
            else FBorderLayer->SetBoundsWithForm();
        }
        UpdateSkinFrame(true);
    }
    if (FBorderLayerChangeSize && OldWindowProc) OldWindowProc(M);
    if (FAlphaBlend && FAlphaBlendValue != 255 && OsIsWin2000OrLater() && FForm->HandleAllocated()) {
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
        FForm->Invalidate();
    }
    if (!FLogoBitMap->Empty() && !IsMDIForm()) FForm->Invalidate();
}

bool TbsSkinFormFrame::AlphaBlendApplies()
{
    return OsIsWin2000OrLater() && (FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows()));
}

void TbsSkinFormFrame::WMShowWindow(TMessage& M)
{
    HWND H = FForm->Handle();
    if (M.WParam) {
        if (FSkinnableForm && IsMainForm() && Application && !Application->OnRestore) {
            Application->OnRestore = [this](TObject* S) { AppRestore(S); };
            FAppRestoreSet = true;
        }
        if (FStartShow) {
            if (FPositionInMonitor == bspDefault) {
                FStartShow = false;
            } else if (FWindowState == wsNormal) {
                FStartShow = false;
                ApplyPositionInMonitor();
            }
        }
        if (!FSkinnableForm) {
            if (IsMDIForm()) HookMDIClient();
            if (AlphaBlendApplies()) {
                SetWindowLong(H, GWL_EXSTYLE, GetWindowLong(H, GWL_EXSTYLE) | WS_EX_LAYERED);
                SetLayeredAlpha(H, 0);
                SetTimer(H, 1, ShowTimerFirst);
            }
            return;
        }
        if (FSD && FSD->AnimationForAllWindows() && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
        if (AlphaBlendApplies() || UseLayeredShowTimer()) {
            LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
            if (!(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
            SetLayeredAlpha(H, 0);
            if (UseLayeredBorder() && ShownOrTrayRestoring()) {
                FBorderLayer->CheckFormAlpha(0, false);
                FBorderLayer->ShowWithForm();
            }
            SetTimer(H, 1, ShowTimerFirst);
        }
        if (!IsMDIForm()) NudgeWidth();
        else HookMDIClient();
        if (IsMDIChild()) {
            AddChildToMenu(FForm);
            AddChildToBar(FForm);
            TCustomForm* Main = Application ? Application->MainForm() : nullptr;
            if (Main && Main != FForm && Main->HandleAllocated() &&
                SendMessage(Main->Handle(), MDIQueryChildMaximized, 0, 0) == 1 &&
                FBorderIcons.Contains(TbsBorderIcon::biMaximize))
                SetWindowState(wsMaximized);
        }
        if (FForm->Menu()) FForm->SetMenu(nullptr);
    } else if (FSkinnableForm) {
        if (FLayerManager->IsVisible) FLayerManager->Hide();
        if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
        if (IsMDIChild()) {
            DeleteChildFromMenu(FForm);
            DeleteChildFromBar(FForm);
        }
        if (FBorderLayer->FVisible && OsIsVistaOrLater()) {
            LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
            if (!(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        }
    }
}

void TbsSkinFormFrame::WMTimer(TMessage&)
{
    HWND H = FForm->Handle();
    auto DropLayered = [H] {
        LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
        if (Ex & WS_EX_LAYERED) SetWindowLong(H, GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
    };
    const bool Layered = UseLayeredBorder();
    auto FitBorder = [this, Layered] {
        if (Layered && !(FBorderLayer->FData && FBorderLayer->FData->FullBorder)) FBorderLayer->SetBoundsWithForm();
    };
    if (FFading) {
        // one step of the fade-in; the timer fires again after more than 5 ms
        FFadeAlpha = std::min(FFadeAlpha + FFadeStep, FFadeTarget);
        SetLayeredAlpha(H, uint8_t(FFadeAlpha));
        if (Layered) FBorderLayer->CheckFormAlpha(FFadeAlpha, true);
        if (FFadeAlpha < FFadeTarget) return;
        FFading = false;
        KillTimer(H, 1);
        FitBorder();
        if (FFadeTarget == 255) {
            DropLayered();
            if (Layered) FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    // the first tick ends the timer whatever follows: a fade that no longer applies must
    // not leave it firing
    KillTimer(H, 1);
    if (UseLayeredShowTimer()) {
        DropLayered();
        if (Layered && ShownOrTrayRestoring()) {
            FBorderLayer->SetActiveLook(GetFormActive());
            FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    if (!AlphaBlendApplies()) return;
    if (Layered) FBorderLayer->SetActiveLook(GetFormActive());
    bool AllWindows = FSD && FSD->AnimationForAllWindows();
    FFadeTarget = (FAlphaBlendAnimation || AllWindows) && !FAlphaBlend ? 255 : FAlphaBlendValue;
    if (FAlphaBlendAnimation || AllWindows) {
        FFadeStep = std::max(1, FFadeTarget / 15);
        FFadeAlpha = 0;
        FFading = true;
        SetTimer(H, 1, FadeStepInterval);
        return;
    }
    if (FFadeTarget != 255) {
        SetLayeredAlpha(H, FAlphaBlendValue);
        if (Layered) FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
        FitBorder();
    } else {
        DropLayered();
        if (Layered) FBorderLayer->CheckFormAlpha(255, true);
    }
}

void TbsSkinFormFrame::WMWindowPosChanged(TMessage& M)
{
    auto* Pos = reinterpret_cast<WINDOWPOS*>(M.LParam);
    if (!Pos) return;
    HWND H = FForm->Handle();
    if ((Pos->flags & SWP_HIDEWINDOW) && FBorderLayer->FVisible && OsIsVistaOrLater()) {
        LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
        if (!(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    }
    FFormLeft = Pos->x;
    FFormTop = Pos->y;
    if (!FSizing && FBorderLayerChangeSize) {
        FFormWidth = Pos->cx;
        FFormHeight = Pos->cy;
    }
    if (FSizing && (FForm->Top() != FFormTop || FForm->Left() != FFormLeft) && UseLayeredBorder())
        FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
    if (!FSizing && !FBorderLayerChangeSize) {
        if (UseLayeredBorder()) FBorderLayer->MoveWithForm2(FFormLeft, FFormTop);
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
    }
}

void TbsSkinFormFrame::WMNCCalcSize(TMessage& M)
{
    if ((IsMDIChild() && FWindowStateInit == wsMaximized) || FForm->BorderStyle() == bsNone) return;
    TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0] : reinterpret_cast<TRect*>(M.LParam);
    if (FSD && !FSD->Empty) {
        CalcSkinRects();
        if (FullLayeredInUse()) {
            // the layered border draws the whole frame: the window is all client area
            M.Result = 1;
            return;
        }
        int PW = FSD->FPicture ? FSD->FPicture->Width() : 0, PH = FSD->FPicture ? FSD->FPicture->Height() : 0;
        R->Left += FSD->ClRect.Left;
        R->Top += FSD->ClRect.Top;
        R->Right -= PW - FSD->ClRect.Right;
        R->Bottom -= PH - FSD->ClRect.Bottom;
    } else {
        R->Left += 3;
        R->Top += GetDefCaptionHeight() + 3;
        R->Right -= 3;
        R->Bottom -= 3;
    }
    if (R->Right < R->Left) R->Right = R->Left;
    if (R->Bottom < R->Top) R->Bottom = R->Top;
}

void TbsSkinFormFrame::WMNCActivate(TMessage& M)
{
    FBorderLayerChangeSize = false;
    if (FMenuMode.OpenItem()) CloseSkinMenu();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    FFormActive = M.WParam != 0;
    if (!FFormActive) UpdateActiveObject(-1, -1, false);
    if ((IsMDIForm() && !OsIsVistaOrLater()) || (IsMDIChild() && FForm->Visible())) {
        // the platform keeps the MDI activation: the form's own procedure answers
        HWND H = FForm->Handle();
        const bool Wrap = IsMDIChild() && OsIsVistaOrLater();
        if (Wrap) SendMessage(H, WM_SETREDRAW, 0, 0);
        if (OldWindowProc) OldWindowProc(M);
        if (Wrap) {
            SendMessage(H, WM_SETREDRAW, 1, 0);
            RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else if (IsMDIChild()) {
            FForm->Invalidate();
        }
    } else {
        M.Result = 1;
    }
    if (HasFrame()) {
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
        UpdateCaptionActive(true);
    } else {
        UpdateCaptionActive(false);
    }
    if (IsMDIChild() && FWindowStateInit == wsMaximized && Application && Application->MainForm())
        if (TbsSkinFormFrame* Main = FindSkinFormComponent(Application->MainForm()); Main && Main != this)
            Main->UpDateFormNC();
    if (FForm->Visible() && FClientInActiveEffect) {
        if (FFormActive) HideClientInActiveEffect();
        else ShowClientInActiveEffect();
    }
    if (IsMDIChild()) {
        RefreshMainMenuBar();
        RefreshMDITabsBar();
        UpDateChildActiveInMenu();
    }
    if (UseLayeredBorder()) {
        if (FForm->Visible()) FBorderLayer->SetActive(FFormActive, true);
        else if (FForm->Tag() != TrayRestoreTag) FBorderLayer->Hide();
    }
}

void TbsSkinFormFrame::WMSizing(TMessage& M)
{
    FSizing = true;
    FBorderLayerChangeSize = false;
    HMagnetized = HMagnetized2 = VMagnetized = VMagnetized2 = false;
    if (OldWindowProc) OldWindowProc(M);
    auto* R = reinterpret_cast<TRect*>(M.LParam);
    FFormWidth = std::max(R->Width(), GetMinWidth());
    FFormHeight = std::max(R->Height(), GetMinHeight());
    if (!FSD || FSD->Empty) {
        if (FSkinnableForm) UpdateFormRegion(true);
    } else if (FSkinnableForm && FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight() &&
               (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        if (UseLayeredBorder() && FFormTop == FOldFormTop && FFormLeft == FOldFormLeft)
            FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        FOldFormTop = FFormTop;
        FOldFormLeft = FFormLeft;
        UpdateSkinFrame(true);
    }
}

void TbsSkinFormFrame::WMNCLButtonDblClk(TMessage& M)
{
    TPoint P = MessagePoint(M);
    ScreenToWindowPoint(P);
    UpdateActiveObject(P.X, P.Y, true);
    ObjectsMouseDown(mbLeft, P.X, P.Y);
    ObjectsDblClick();
    if (M.WParam != HTCAPTION) return;
    CaptionDoubleClick();
    MouseCaptureObject = -1;
}

bool TbsSkinFormFrame::CaptionDoubleClick()
{
    const bool Sizeable = IsSizeable();
    if (Sizeable && FWindowStateInit == wsMinimized) {
        SetWindowState(wsNormal);
        return false;
    }
    if (Sizeable && FWindowStateInit != wsMaximized && !FRollUpState && FBorderIcons.Contains(TbsBorderIcon::biMaximize)) {
        SetWindowState(wsMaximized);
        return true;
    }
    if (Sizeable && FWindowStateInit == wsMaximized && !MaxRollUpState) {
        SetWindowState(wsNormal);
        return true;
    }
    SetRolledUp(!FRollUpState);
    return false;
}

bool TbsSkinFormFrame::CommandStateHolds(TbsStdCommand C) const
{
    switch (C) {
    case cmMaximize: return FWindowStateInit == wsMaximized;
    case cmMinimize: return FWindowStateInit == wsMinimized;
    case cmRollUp: return FRollUpState;
    default: return false;
    }
}

void TbsSkinFormFrame::RunCaptionCommand(TbsStdCommand C, const std::function<void()>& BeforeStateChange)
{
    auto ResetHover = [this] { UpdateActiveObject(-1, -1, false); };
    switch (C) {
    case cmClose:
        ResetHover();
        FForm->Close();
        break;
    case cmMaximize:
        ResetHover();
        if (BeforeStateChange) BeforeStateChange();
        SetWindowState(WindowState() == wsMaximized ? wsNormal : wsMaximized);
        break;
    case cmMinimize:
        ResetHover();
        if (FAlwaysMinimizeToTray) {
            MinimizeToTray();
            break;
        }
        if (BeforeStateChange) BeforeStateChange();
        SetWindowState(WindowState() == wsMinimized ? wsNormal : wsMinimized);
        break;
    case cmRollUp: SetRolledUp(!FRollUpState); break;
    case cmMinimizeToTray:
        ResetHover();
        MinimizeToTray();
        break;
    case cmSysMenu:
    case cmDefault: break;
    }
}

// ---- mouse routing to the caption objects -------------------------------------------------

void TbsSkinFormFrame::ObjectsMouseMove(int X, int Y)
{
    int I = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (I >= 0 && I < int(ObjectList.size())) ObjectList[size_t(I)]->MouseMove(X, Y);
}

void TbsSkinFormFrame::ObjectsMouseDown(TMouseButton Button, int X, int Y)
{
    if (ActiveObject < 0 || ActiveObject >= int(ObjectList.size())) return;
    TbsActiveSkinObject* O = ObjectList[size_t(ActiveObject)].get();
    if (!dynamic_cast<TbsSkinCaptionObject*>(O) && FForm->HandleAllocated()) SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    O->MouseDown(X, Y, Button);
}

void TbsSkinFormFrame::ObjectsMouseUp(TMouseButton Button, int X, int Y)
{
    if (MouseCaptureObject < 0 || MouseCaptureObject >= int(ObjectList.size())) {
        MouseCaptureObject = -1;
        return;
    }
    TbsActiveSkinObject* O = ObjectList[size_t(MouseCaptureObject)].get();
    if (!dynamic_cast<TbsSkinCaptionObject*>(O) && FForm->HandleAllocated() && GetCapture() == FForm->Handle())
        ReleaseCapture();
    // the object may close the form (and so this frame): the index is given up first
    MouseCaptureObject = -1;
    O->MouseUp(X, Y, Button);
}

void TbsSkinFormFrame::ObjectsDblClick()
{
    if (ActiveObject >= 0 && ActiveObject < int(ObjectList.size())) ObjectList[size_t(ActiveObject)]->DblClick();
}

void TbsSkinFormFrame::CancelControlModes()
{
    if (!ComponentState().Empty() || !IsMDIForm() || !FForm->Visible()) return;
    // the skinned controls and edits of the form drop what they track (a drop-down, a drag)
    for (int I = 0; I < FForm->ComponentCount(); ++I) {
        TWinControl* C = dynamic_cast<TbsSkinControl*>(FForm->Components(I));
        if (!C) C = dynamic_cast<TbsSkinCustomEdit*>(FForm->Components(I));
        if (C && C->Visible() && C->Enabled() && C->HandleAllocated()) SendMessage(C->Handle(), CM_CANCELMODE, 0, 0);
    }
}

// ---- the layered border switch ------------------------------------------------------------------

void TbsSkinFormFrame::LayeredBordersSwitch()
{
    SaveOldBounds();
    if (UseLayeredBorder()) {
        if (FForm->Visible() && !FBorderLayer->FVisible) {
            if (OsIsVistaOrLater() && !DisableDWMAnimation) {
                SetDwmTransitions(FForm->Handle(), false);
                DisableDWMAnimation = true;
            }
            FBorderLayer->SetActiveLook(FFormActive);
            FBorderLayer->ShowWithForm();
            RestoreOldBounds();
            FForm->Show();
        }
    } else if (FBorderLayer->FVisible) {
        FBorderLayer->Hide();
        RestoreOldBounds();
        if (OsIsVistaOrLater() && DisableDWMAnimation) {
            SetDwmTransitions(FForm->Handle(), true);
            DisableDWMAnimation = false;
        }
    }
    if (FBorderLayer->FData && FBorderLayer->FData->FullBorder) ChangeSkinData();
}
