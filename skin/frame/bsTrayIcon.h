// The notification-area icon: one icon with a tip, balloon texts, an animation over the
// icons of an image list, mouse events, a skinned popup menu at the cursor, and the main
// form's moves into the tray and back.
//
// The icon's callbacks reach a hidden window of the component.  The tray of this
// platform reports presses, releases and moves only; a second left press within the
// double-click time of the first stands for the double click.  The application has no
// window of its own that minimizes, so the owner form's minimization stands for the
// application's, and the application's utility window hears the tray's restart.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"
#include "platform/shell/ShellAPI.h"

class TbsSkinPopupMenu;

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };
using TbsCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

// The callback message of the icon.
constexpr UINT TrayIconCallback = 2048;
// The balloon was clicked (as LParam of the callback).
constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;
// The message announcing that the tray was made anew (every icon goes back into it).
UINT TaskbarCreatedMessage();

class TbsTrayIcon : public TComponent {
public:
    explicit TbsTrayIcon(TComponent* AOwner);
    ~TbsTrayIcon() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* Value);
    bool PopupByLeftButton() const { return FPopupByLeftButton; }
    void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
    bool MinimizedOnStart() const { return FMinimizedOnStart; }
    void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool Value);
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    UINT AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(UINT Value);
    // The hidden window that receives the icon's callbacks.
    HWND Handle() const { return FHandle; }
    HWND WindowHandle() const { return FWindowHandle; }
    // What goes to the shell with the next call.
    const NOTIFYICONDATA& IconData() const { return FIconData; }

    void ShowMainForm();
    void HideMainForm();
    bool ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType);
    bool HideBalloonHint();
    static bool BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);
    bool Refresh() { return ModifyIcon(); }

    TNotifyEvent OnBalloonHintClick, OnClick, OnDblClick;
    TbsCycleEvent OnCycle;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    void Loaded() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool UseApplicationIcon() { return true; }
    virtual bool AddIcon();
    virtual bool DeleteIcon();
    virtual bool ModifyIcon();
    virtual void Click();
    virtual void DblClick();
    virtual void DoCycle();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMinimizeToTray();

private:
    bool PrepareIconData();
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    TWinControl* OwnerControl() const;
    void TrayWindowProc(TMessage& M);
    LRESULT AppWindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    void OwnerWindowProc(TMessage& M);
    void HookAppWindow();
    void UnhookAppWindow();
    void HookOwnerWindow();
    void UnhookOwnerWindow();
    void AnimateTick();
    void ClickTimerTick();
    void PopupAtCursor();
    void ClickDefaultMenuItem();

    bool FEnabled = true;
    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    String FHint;
    bool FShowHint = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
    bool FPopupByLeftButton = false;
    bool FMinimizedOnStart = false;
    bool FMinimizeToTray = true;
    bool FClickStart = false, FClickReady = false;
    TTimer* AnimateTimer = nullptr;
    TTimer* ClickTimer = nullptr;
    bool IsDblClick = false;
    int FIconIndex = 0;
    bool FDesignPreview = false;
    bool SettingPreview = false;
    bool SettingMDIForm = true;
    TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    UINT FAnimateTimerInterval = 0;
    WNDPROC OldAppProc = nullptr, NewAppProc = nullptr;
    HWND FAppWindow = nullptr;
    TWndMethod OldWndProc;
    TWinControl* FHookedOwner = nullptr;
    HWND FHandle = nullptr;
    HWND FWindowHandle = nullptr;
    NOTIFYICONDATA FIconData;
};
