// The notification-area icon component.
#include "skin/frame/bsTrayIcon.h"

#include "platform/forms/Forms.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"

namespace {

constexpr UINT WM_USERCHANGED_ = 0x0054;
constexpr size_t TipChars = 127, InfoChars = 255, InfoTitleChars = 63;
constexpr UINT InfoFlag = NIF_INFO;
constexpr UINT IconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr DWORD NIIF_NONE = 0, NIIF_INFO = 1, NIIF_WARNING = 2, NIIF_ERROR = 3;

// The first Count characters (not bytes) of S.
String FirstChars(const String& S, size_t Count)
{
    return S.substr(0, Utf8ByteOffset(S, int(Count)));
}

TShiftState TrayShiftState()
{
    TShiftState S;
    if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
    if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
    if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
    return S;
}

}  // namespace

UINT TaskbarCreatedMessage()
{
    // a number of the registered-message range, the same for every icon of the program
    return 0xC0F1;
}

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>())
{
    FHandle = AllocateHWnd([this](TMessage& M) { TrayWindowProc(M); });
    FIconData.hWnd = FHandle;
    FIconData.uID = 1;
    FIconData.uFlags = IconFlags;
    FIconData.uCallbackMessage = TrayIconCallback;
    FWindowHandle = GetParent(FHandle);

    AnimateTimer = new TTimer(this);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(FAnimateTimerInterval);
    AnimateTimer->SetOnTimer([this](TObject*) { AnimateTick(); });
    ClickTimer = new TTimer(this);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(GetDoubleClickTime());
    ClickTimer->SetOnTimer([this](TObject*) { ClickTimerTick(); });

    if (!IsDesigning()) {
        // a copy of the application's icon: freeing the component leaves the application's own
        if (FIcon->Empty() && UseApplicationIcon() && Application)
            if (auto* AppIcon = dynamic_cast<TIcon*>(Application->Icon())) FIcon->Assign(AppIcon);
        HookAppWindow();
        if (OwnerControl()) HookOwnerWindow();
    }
}

TbsTrayIcon::~TbsTrayIcon()
{
    Destroying();
    SetIconVisible(false);
    SetDesignPreview(false);
    AnimateTimer->SetEnabled(false);
    ClickTimer->SetEnabled(false);
    if (!IsDesigning()) {
        UnhookAppWindow();
        UnhookOwnerWindow();
    }
    if (FHandle) DeallocateHWnd(FHandle);
    FHandle = nullptr;
}

TWinControl* TbsTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

// ---- window hooks ---------------------------------------------------------------------------

void TbsTrayIcon::HookAppWindow()
{
    if (!Application) return;
    FAppWindow = Application->Handle();
    NewAppProc = MakeObjectInstance([this](TMessage& M) { M.Result = AppWindowProc(FAppWindow, M.Msg, M.WParam, M.LParam); });
    OldAppProc = reinterpret_cast<WNDPROC>(SetWindowLong(FAppWindow, GWL_WNDPROC, LONG_PTR(NewAppProc)));
}

void TbsTrayIcon::UnhookAppWindow()
{
    if (!NewAppProc) return;
    if (FAppWindow && IsWindow(FAppWindow) &&
        reinterpret_cast<WNDPROC>(GetWindowLong(FAppWindow, GWL_WNDPROC)) == NewAppProc)
        SetWindowLong(FAppWindow, GWL_WNDPROC, LONG_PTR(OldAppProc));
    FreeObjectInstance(NewAppProc);
    NewAppProc = nullptr;
    OldAppProc = nullptr;
    FAppWindow = nullptr;
}

void TbsTrayIcon::HookOwnerWindow()
{
    FHookedOwner = OwnerControl();
    OldWndProc = FHookedOwner->WindowProc;
    FHookedOwner->WindowProc = [this](TMessage& M) { OwnerWindowProc(M); };
}

void TbsTrayIcon::UnhookOwnerWindow()
{
    if (!FHookedOwner) return;
    FHookedOwner->WindowProc = OldWndProc;
    FHookedOwner = nullptr;
}

LRESULT TbsTrayIcon::AppWindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    // a disabled icon answers no click, so it must not take the main form away
    if (Msg == WM_SIZE && W == SIZE_MINIMIZED && FMinimizeToTray && FEnabled) {
        DoMinimizeToTray();
    } else if (Msg == WM_WINDOWPOSCHANGED && SettingMDIForm && Application && Application->MainForm()) {
        if (Application->MainForm()->FormStyle() == fsMDIForm && FMinimizedOnStart) ShowWindow(Wnd, SW_HIDE);
        SettingMDIForm = false;
    } else if (Msg == TaskbarCreatedMessage() && FIconVisible) {
        AddIcon();
    }
    return OldAppProc ? CallWindowProc(OldAppProc, Wnd, Msg, W, L) : DefWindowProc(Wnd, Msg, W, L);
}

void TbsTrayIcon::OwnerWindowProc(TMessage& M)
{
    TWinControl* Owner = FHookedOwner;
    switch (M.Msg) {
    case WM_ACTIVATE:
        if ((LOWORD(M.WParam) == 1 || LOWORD(M.WParam) == 2) && Screen && Screen->ActiveControl()) {
            TWinControl* AC = Screen->ActiveControl();
            TWinControl* Holder = AC->Parent() ? AC->Parent() : AC;
            if (!Holder->HandleAllocated() || HWND(M.LParam) != Holder->Handle())
                if (AC->HandleAllocated()) ::SetFocus(AC->Handle());
        }
        break;
    case WM_SHOWWINDOW:
        if (M.WParam == 1 && M.LParam == 0) {
            if (Application) Application->Restore();
            if (Owner->HandleAllocated()) SetForegroundWindow(Owner->Handle());
        }
        break;
    case WM_SIZE:
        // the owner form stands for the application when it is minimized
        if (M.WParam == SIZE_MINIMIZED && FMinimizeToTray && FEnabled) {
            TWndMethod Old = OldWndProc;
            if (Old) Old(M);
            DoMinimizeToTray();
            return;
        }
        break;
    }
    if (OldWndProc) OldWndProc(M);
}

void TbsTrayIcon::TrayWindowProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED_:
    case WM_NCDESTROY: M.Result = 1; return;
    }
    if (M.Msg != TrayIconCallback) {
        M.Result = DefWindowProc(FHandle, M.Msg, M.WParam, M.LParam);
        return;
    }
    if (!FEnabled) return;
    TShiftState Shift = TrayShiftState();
    TPoint P;
    GetCursorPos(P);
    UINT Mouse = UINT(M.LParam);
    // this platform's tray reports no double clicks: a second press while the first
    // one's double-click time runs is the double click
    if (Mouse == WM_LBUTTONDOWN && ClickTimer->Enabled() && FClickReady) Mouse = WM_LBUTTONDBLCLK;
    switch (Mouse) {
    case WM_MOUSEMOVE: MouseMove(Shift, P.X, P.Y); break;
    case WM_LBUTTONDOWN:
        ClickTimer->SetEnabled(true);
        MouseDown(mbLeft, Shift + TShiftState{ssLeft}, P.X, P.Y);
        FClickStart = true;
        if (FPopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        if (FClickStart) {
            FClickReady = true;
            if (!ClickTimer->Enabled()) {
                FClickStart = false;
                FClickReady = false;
                Click();
            }
        }
        FClickStart = false;
        MouseUp(mbLeft, Shift + TShiftState{ssLeft}, P.X, P.Y);
        break;
    case WM_LBUTTONDBLCLK:
        FClickReady = false;
        IsDblClick = true;
        DblClick();
        if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) ClickDefaultMenuItem();
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, Shift + TShiftState{ssRight}, P.X, P.Y);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP: MouseUp(mbRight, Shift + TShiftState{ssRight}, P.X, P.Y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, Shift + TShiftState{ssMiddle}, P.X, P.Y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, Shift + TShiftState{ssMiddle}, P.X, P.Y); break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    }
}

void TbsTrayIcon::ClickTimerTick()
{
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        Click();
    }
    IsDblClick = false;
}

void TbsTrayIcon::ClickDefaultMenuItem()
{
    TMenuItem* Root = FPopupMenu->Items();
    for (int I = 0; I < Root->Count(); ++I)
        if (Root->Items(I)->Default()) {
            Root->Items(I)->Click();
            return;
        }
}

void TbsTrayIcon::PopupAtCursor()
{
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
    TPoint P;
    if (!GetCursorPos(P)) return;
    if (Application) Application->ProcessMessages();
    // the menu may have gone while messages ran
    if (!FPopupMenu) return;
    SetForegroundWindow(FHandle);
    TWinControl* Owner = OwnerControl();
    if (Owner && Owner->HandleAllocated()) SetForegroundWindow(Owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(P.X, P.Y);
    if (Owner && Owner->HandleAllocated()) PostMessage(Owner->Handle(), WM_NULL, 0, 0);
}

// ---- the shell -------------------------------------------------------------------------------

bool TbsTrayIcon::PrepareIconData()
{
    if (IsDesigning() && !SettingPreview && !FDesignPreview) return false;
    FIconData.hIcon = FIcon->Handle();
    FIconData.szTip = (!FHint.empty() && FShowHint) ? FirstChars(FHint, TipChars) : String();
    return true;
}

bool TbsTrayIcon::AddIcon()
{
    if (!SettingPreview) FIconVisible = true;
    if (IsDesigning() && !SettingPreview) return false;
    return PrepareIconData() && Shell_NotifyIconW(NIM_ADD, &FIconData);
}

bool TbsTrayIcon::DeleteIcon()
{
    if (!SettingPreview) FIconVisible = false;
    if (IsDesigning() && !SettingPreview) return false;
    return PrepareIconData() && Shell_NotifyIconW(NIM_DELETE, &FIconData);
}

bool TbsTrayIcon::ModifyIcon()
{
    return PrepareIconData() && Shell_NotifyIconW(NIM_MODIFY, &FIconData);
}

// ---- properties -----------------------------------------------------------------------------

void TbsTrayIcon::SetIcon(TIcon* Value)
{
    if (Value) FIcon->Assign(Value);
    else FIcon = std::make_unique<TIcon>();
    ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool Value)
{
    if (Value) AddIcon();
    else DeleteIcon();
}

void TbsTrayIcon::SetHint(const String& Value)
{
    FHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value)
{
    FShowHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetPopupMenu(TbsSkinPopupMenu* Value)
{
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsTrayIcon::SetDesignPreview(bool Value)
{
    FDesignPreview = Value;
    SettingPreview = true;
    SetIconVisible(Value);
    SettingPreview = false;
}

void TbsTrayIcon::SetCycleIcons(bool Value)
{
    FCycleIcons = Value;
    if (Value) SetIconIndex(0);
    AnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(UINT Value)
{
    FAnimateTimerInterval = Value;
    AnimateTimer->SetInterval(Value);
}

void TbsTrayIcon::SetIconList(TCustomImageList* Value)
{
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = Value;
    if (Value) Value->FreeNotification(this);
    SetIconIndex(0);
}

void TbsTrayIcon::SetIconIndex(int Value)
{
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = Value >= FIconList->Count() ? FIconList->Count() - 1 : (Value < 0 ? 0 : Value);
        FIconList->GetIcon(FIconIndex, FIcon.get());
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FIconList) FIconList = nullptr;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TbsTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (OwnerControl() && FMinimizedOnStart && !IsDesigning()) {
        FIconVisible = true;
        FMinimizeToTray = true;
        if (FAppWindow) ShowWindow(FAppWindow, SW_HIDE);
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

// ---- main form ------------------------------------------------------------------------------

void TbsTrayIcon::HideMainForm()
{
    if (!OwnerControl() || !Application || !Application->MainForm()) return;
    TCustomForm* F = Application->MainForm();
    F->SetVisible(false);
    if (FAppWindow) ShowWindow(FAppWindow, SW_HIDE);
    F->SetTag(TrayRestoreTag);
}

void TbsTrayIcon::ShowMainForm()
{
    if (!OwnerControl() || !Application || !Application->MainForm()) return;
    TCustomForm* F = Application->MainForm();
    Application->Restore();
    F->SetVisible(true);
    if (F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
    F->SetTag(TrayRestoreTag);
    PostMessage(F->Handle(), RestoredFromTray, 0, 0);
}

// ---- balloons --------------------------------------------------------------------------------

bool TbsTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType)
{
    HideBalloonHint();
    FIconData.uFlags |= InfoFlag;
    FIconData.szInfo = FirstChars(Text, InfoChars);
    FIconData.szInfoTitle = FirstChars(Title, InfoTitleChars);
    const DWORD Kinds[] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
    FIconData.dwInfoFlags = Kinds[IconType];
    bool R = ModifyIcon();
    FIconData.uFlags = IconFlags;
    return R;
}

bool TbsTrayIcon::HideBalloonHint()
{
    FIconData.uFlags |= InfoFlag;
    FIconData.szInfo.clear();
    return ModifyIcon();
}

bool TbsTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor)
{
    TImageList List(nullptr);
    List.SetSize(16, 16);
    List.AddMasked(Bitmap, MaskColor);
    List.GetIcon(0, Icon);
    return true;
}

// ---- animation and events ---------------------------------------------------------------

void TbsTrayIcon::AnimateTick()
{
    if (!FIconList) return;
    if (FIconList->Count() > 0) FIconList->GetIcon(std::min(FIconIndex, FIconList->Count() - 1), FIcon.get());
    DoCycle();
    ModifyIcon();
    SetIconIndex(FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0);
}

void TbsTrayIcon::DoCycle()
{
    if (!OnCycle) return;
    int Next = FIconList && FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0;
    OnCycle(this, Next);
}

void TbsTrayIcon::Click()
{
    if (OnClick) OnClick(this);
}

void TbsTrayIcon::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TbsTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TbsTrayIcon::DoMinimizeToTray()
{
    HideMainForm();
    SetIconVisible(true);
}
