// TCustomForm: a top-level window with activation, the active control, focus
// bookkeeping (CM_EXIT/CM_ENTER/CM_FOCUSCHANGED), dialog keys, closing, positions,
// window states and the modal loop.
#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FVisible = false;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 320;
    FHeight = 240;
    FFormState.Include(fsCreating);
    Loading();  // code-built forms construct under csLoading; AfterConstruction ends it
    InitForms();
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (OnDestroy) OnDestroy(this);
    if (TCustomForm* M = MDIParentForm()) M->RemoveMDIChild(this);
    if (Application) Application->FormDestroyed(this);
    if (Screen) Screen->RemoveForm(this);
    DestroyComponents();
    if (FHandle) DestroyHandle();
}

static void LoadedAll(TComponent* C)
{
    for (int I = 0; I < C->ComponentCount(); ++I) LoadedAll(C->Components(I));
    if (C->ComponentState().Contains(csLoading)) C->Loaded();
}

void TCustomForm::AfterConstruction()
{
    for (int I = 0; I < ComponentCount(); ++I) LoadedAll(Components(I));
    Loaded();
    FFormState.Exclude(fsCreating);
    Realign();
    if (OnCreate) OnCreate(this);
    if (FVisible) {
        FVisible = false;
        Show();
    }
}

void TCustomForm::CreateParams(TCreateParams& P)
{
    TWinControl::CreateParams(P);
    P.Style = WS_CLIPCHILDREN;
    P.ExStyle = 0;
    switch (FBorderStyle) {
    case bsNone: P.Style |= WS_POPUP; P.ExStyle |= WS_EX_APPWINDOW; break;
    case bsSingle: P.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: P.Style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME; P.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: P.Style |= WS_CAPTION; P.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: P.Style |= WS_CAPTION | WS_THICKFRAME; P.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (FBorderIcons.Contains(biSystemMenu)) P.Style |= WS_SYSMENU;
    if (FBorderIcons.Contains(biMinimize)) P.Style |= WS_MINIMIZEBOX;
    if (FBorderIcons.Contains(biMaximize)) P.Style |= WS_MAXIMIZEBOX;
    if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
    if (!FEnabled) P.Style |= WS_DISABLED;
    P.WndParent = nullptr;
    if (Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated())
        P.WndParent = Application->MainForm()->Handle();
    P.WindowClass.style = CS_DBLCLKS;
    if (FFormStyle == fsMDIChild && Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->FormStyle() == fsMDIForm) {
        // a child window of the main form's client window, in that window's coordinates
        TCustomForm* M = Application->MainForm();
        M->HandleNeeded();
        P.Style = (P.Style & ~DWORD(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
        P.ExStyle = (P.ExStyle & ~DWORD(WS_EX_APPWINDOW | WS_EX_TOPMOST)) | WS_EX_MDICHILD;
        P.WndParent = M->ClientHandle();
    }
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (Screen) Screen->FormToFront(this);
    if (FFormStyle == fsMDIForm) CreateMDIClient();
    if (GetWindowLong(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD)
        if (TCustomForm* M = MDIParentForm()) M->AddMDIChild(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle V)
{
    if (FBorderStyle == V) return;
    FBorderStyle = V;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons V)
{
    FBorderIcons = V;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle V)
{
    if (FFormStyle == V) return;
    FFormStyle = V;
    if (FHandle) SetWindowPos(FHandle, V == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetMenu(TMainMenu* V)
{
    FMenu = V;
    if (V) V->FreeNotification(this);
}

void TCustomForm::SetWindowState(TWindowState V)
{
    if (FWindowState == V) return;
    TWindowState Old = FWindowState;
    FWindowState = V;
    if (!FHandle) return;
    if (V == wsMinimized) {
        if (Application && Application->MainForm() == this) Application->Minimize();
        else ShowWindow(FHandle, SW_MINIMIZE);
    } else if (V == wsMaximized) {
        if (Old == wsNormal) FRestoreBounds = BoundsRect();
        MONITORINFO MI;
        GetMonitorInfo(MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST), &MI);
        SetBoundsRect(MI.rcWork);
    } else {
        if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
        if (Old == wsMaximized && !FRestoreBounds.IsEmpty()) SetBoundsRect(FRestoreBounds);
    }
}

// ---- showing ------------------------------------------------------------------------------------
// A form centred on the screen, the desktop, the main form or its owner is centred again each
// time it is shown, so a dialog opened a second time follows a main window moved meanwhile.
void TCustomForm::ApplyPosition()
{
    TRect Area;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: {
        MONITORINFO MI;
        GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &MI);
        Area = FPosition == poDesktopCenter ? TRect(0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN))
                                            : MI.rcMonitor;
        break;
    }
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* M = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
        if (!M && Application) M = Application->MainForm();
        if (M && M != this) Area = M->BoundsRect();
        else {
            MONITORINFO MI;
            GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &MI);
            Area = MI.rcMonitor;
        }
        break;
    }
    default: return;
    }
    SetBounds(Area.Left + (Area.Width() - FWidth) / 2, Area.Top + (Area.Height() - FHeight) / 2, FWidth, FHeight);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
    if (TCustomForm* M = MDIParentForm()) M->MDIActivate(this);
}

void TCustomForm::Hide()
{
    SetVisible(false);
    // a hidden MDI child hands the activation on to the next shown one
    if (TCustomForm* M = MDIParentForm(); M && M->ActiveMDIChild() == this) M->Next();
}

void TCustomForm::SetVisibleState(bool V)
{
    if (V) {
        HandleNeeded();
        ApplyPosition();
        FFormState.Include(fsVisible);
        ShowWindow(FHandle, FWindowState == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
        if (FWindowState == wsMaximized) {
            FWindowState = wsNormal;
            SetWindowState(wsMaximized);
        }
    } else if (FHandle) {
        FFormState.Exclude(fsVisible);
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::WMShowWindow(TMessage& M)
{
    // a window given back by the window manager (LParam SW_PARENTOPENING) was never hidden
    if (M.LParam == 0) {
        if (M.WParam) DoShow();
        else DoHide();
    }
    DefaultHandler(M);
}

// ---- closing ---------------------------------------------------------------------------------------
bool TCustomForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery) OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction Action = caHide;
    if (Application && Application->MainForm() == this) Action = caFree;
    DoClose(Action);
    if (Action == caNone) return;
    if (Application && Application->MainForm() == this && Action != caMinimize) {
        Application->Terminate();
        Hide();
        return;
    }
    switch (Action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMSysCommand(TMessage& M)
{
    switch (M.WParam & 0xFFF0) {
    case SC_MINIMIZE:
        if (Application && Application->MainForm() == this) {
            Application->Minimize();
            return;
        }
        FWindowState = wsMinimized;
        break;
    case SC_RESTORE:
        if (FWindowState == wsMinimized) FWindowState = wsNormal;
        if (Application && Application->MainForm() == this) {
            Application->Restore();  // every window the application minimized, then OnRestore
            return;
        }
        break;
    case SC_KEYMENU:
        return;  // no native menu
    }
    DefaultHandler(M);
}

void TCustomForm::MouseWheelHandler(TMessage& M)
{
    if (FFocusedControl && FFocusedControl != this) M.Result = FFocusedControl->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
    else TWinControl::MouseWheelHandler(M);
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    HWND ActiveWnd = GetActiveWindow();
    // the other top-levels are disabled while the dialog runs
    std::vector<HWND> Disabled;
    HandleNeeded();
    EnumWindows([&](HWND H) {
        if (H != FHandle && IsWindowVisible(H) && IsWindowEnabled(H)) {
            EnableWindow(H, false);
            Disabled.push_back(H);
        }
        return true;
    });
    FModalResult = mrNone;
    try {
        Show();
        SendMessage(FHandle, CM_ACTIVATE, 0, 0);
        while (!Application->Terminated()) {
            Application->HandleMessage();
            if (Application->Terminated()) break;
            if (FModalResult != mrNone) {
                // closing may be refused
                if (CloseQuery()) {
                    TCloseAction Action = caHide;
                    DoClose(Action);
                    if (Action == caNone) {
                        FModalResult = mrNone;
                        continue;
                    }
                    break;
                }
                FModalResult = mrNone;
            }
        }
    } catch (...) {
        for (HWND H : Disabled) EnableWindow(H, true);
        FFormState.Exclude(fsModal);
        throw;
    }
    for (HWND H : Disabled) EnableWindow(H, true);
    if (ActiveWnd && IsWindow(ActiveWnd)) SetActiveWindow(ActiveWnd);
    Hide();
    FFormState.Exclude(fsModal);
    return FModalResult;
}

// ---- activation and focus ------------------------------------------------------------------------------
void TCustomForm::SetActiveControl(TWinControl* C)
{
    if (FActiveControl == C) return;
    if (C && (C == this || GetParentForm(C) != this || !C->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = C;
    if (FActive && C && !FComponentState.Contains(csLoading)) SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    HWND H = FActiveControl && FActiveControl->HandleAllocated() ? FActiveControl->Handle() : FHandle;
    if (H && FWindowState != wsMinimized) ::SetFocus(H);
}

void TCustomForm::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* C)
{
    // a request into a form disabled by a modal dialog does nothing
    if (!IsWindowEnabled(Handle()) && FHandle) return;
    if (!C->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    bool WasActive = FActive;
    FActiveControl = C;
    if (!WasActive && !Visible()) return;
    ::SetFocus(C->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* C)
{
    if (FComponentState.Contains(csDestroying)) return false;
    if (C == FFocusedControl) return true;
    if (Screen) Screen->SetActiveForm(this);
    TWinControl* Old = FFocusedControl;
    FFocusedControl = C;
    FActiveControl = C;
    if (Screen) Screen->SetActiveControl(C);
    // leaving the old control, then entering the new, then the form tells everyone
    if (Old && !Old->FComponentState.Contains(csDestroying)) Old->Perform(CM_EXIT, 0, 0);
    if (FFocusedControl != C) return false;
    C->Perform(CM_ENTER, 0, 0);
    TMessage M;
    M.Msg = CM_FOCUSCHANGED;
    M.LParam = LPARAM(C);
    std::function<void(TWinControl*)> All = [&](TWinControl* P) {
        for (int I = 0; I < P->ControlCount(); ++I) {
            TControl* K = P->Controls(I);
            M.Result = 0;
            K->WindowProc(M);
            if (auto* W = dynamic_cast<TWinControl*>(K)) All(W);
        }
    };
    M.Result = 0;
    WindowProc(M);
    All(this);
    return true;
}

void TCustomForm::DefocusControl(TWinControl* C, bool Removing)
{
    if (Removing && C->ContainsControl(FFocusedControl)) FFocusedControl = C->Parent();
    if (C->ContainsControl(FActiveControl)) FActiveControl = nullptr;
}

void TCustomForm::ControlRemoved(TControl* C)
{
    if (auto* W = dynamic_cast<TWinControl*>(C)) {
        if (W->ContainsControl(FActiveControl)) FActiveControl = nullptr;
        if (W->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
        if (Screen && W->ContainsControl(Screen->ActiveControl())) Screen->SetActiveControl(nullptr);
    }
}

void TCustomForm::SetActive(bool V)
{
    FActive = V;
    if (V) {
        if (Screen) Screen->SetActiveForm(this);
        if (FActiveControl == nullptr) {
            TWinControl* N = FindNextControl(nullptr, true, true, false);
            if (N) FActiveControl = N;
        }
        if (!FFormState.Contains(fsActivated)) FFormState.Include(fsActivated);
        Activate();
        SetWindowFocus();
    } else {
        Deactivate();
    }
}

void TCustomForm::Activate()
{
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& M)
{
    bool Act = LOWORD(M.WParam) != WA_INACTIVE;
    if (Act && IsIconic(FHandle)) return;
    SetActive(Act);
}

void TCustomForm::WMSetFocusForm(TMessage& M)
{
    // the form itself got the focus: pass it on to its active control
    if (FActiveControl && FActiveControl != this && FActiveControl->HandleAllocated() && FActiveControl->CanFocus() &&
        GetFocus() == FHandle)
        ::SetFocus(FActiveControl->Handle());
    else
        SetFocusedControl(this);
    DefaultHandler(M);
}

bool TCustomForm::IsShortCut(TMessage& Message)
{
    bool Handled = false;
    if (OnShortCut) OnShortCut(MessageAs<TWMKey>(Message), Handled);
    if (Handled) return true;
    if (FMenu && FMenu->IsShortCut(Message)) return true;
    // the keys of an MDI child reach the shortcuts of its main form as well
    TCustomForm* M = MDIParentForm();
    return M && M->Enabled() && M->IsShortCut(Message);
}

void TCustomForm::CMDialogKey(TMessage& M)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (M.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                M.Result = 1;
                return;
            }
            break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            if (FActiveControl) {
                TWinControl* P = FActiveControl->Parent();
                if (P) {
                    TWinControl* N = P->FindNextControl(FActiveControl, M.WParam == VK_RIGHT || M.WParam == VK_DOWN, false, true);
                    if (N) N->SetFocus();
                }
                M.Result = 1;
                return;
            }
            break;
        }
    }
    Broadcast(M);  // Enter and Escape: the Default and Cancel buttons answer
}

void TCustomForm::WndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFOCUS:
        // the form's own focus is handled in Dispatch
        TControl::WndProc(M);
        return;
    }
    TWinControl::WndProc(M);
}

void TCustomForm::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ACTIVATE: WMActivate(M); return;
    case WM_MOUSEACTIVATE:
        if (TCustomForm* P = MDIParentForm(); P && P->ActiveMDIChild() != this) P->MDIActivate(this);
        DefaultHandler(M);
        return;
    case WM_CLOSE: WMClose(M); return;
    case WM_SYSCOMMAND: WMSysCommand(M); return;
    case WM_SHOWWINDOW: WMShowWindow(M); return;
    case WM_SETFOCUS: WMSetFocusForm(M); return;
    case CM_DIALOGKEY: CMDialogKey(M); return;
    case CM_RELEASE: delete this; return;
    case CM_ACTIVATE: return;
    case CM_VISIBLECHANGED:
        if (!FFormState.Contains(fsCreating)) SetVisibleState(FVisible);
        return;
    case CM_TEXTCHANGED: return;
    case WM_GETMINMAXINFO: {
        auto* I = reinterpret_cast<MINMAXINFO*>(M.LParam);
        if (FConstraints.MinWidth > 0) I->ptMinTrackSize.X = FConstraints.MinWidth;
        if (FConstraints.MinHeight > 0) I->ptMinTrackSize.Y = FConstraints.MinHeight;
        if (FConstraints.MaxWidth > 0) I->ptMaxTrackSize.X = FConstraints.MaxWidth;
        if (FConstraints.MaxHeight > 0) I->ptMaxTrackSize.Y = FConstraints.MaxHeight;
        DefaultHandler(M);
        return;
    }
    }
    TWinControl::Dispatch(M);
}
