// The skinned form frame: the component every skinned form owns.  It takes over the
// form's window procedure, draws the caption, the border and the caption buttons from
// the skin (or a built-in default look without one), gives the form its window region
// from the skin's mask, keeps the form's window states itself (minimize, maximize,
// restore, roll-up), and on every skin change re-applies the skin and has every control
// of its form re-read its skin record.
//
// All rectangles and points of the frame and of its caption objects are in form-window
// coordinates: (0, 0) is the top-left corner of the form's whole window, non-client
// area included.
//
// The frame's caption objects, its main menu bar and its layered border are declared in
// bsSkinCaptionObjects.h, bsSkinMenuBar.h and bsSkinLayeredBorder.h.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/system/ComponentLink.h"
#include "skin/core/bsEffects.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"
#include "skin/frame/bsSkinCaptionObjects.h"
#include "skin/frame/bsSkinLayeredBorder.h"
#include "skin/frame/bsSkinMenuBar.h"

class TbsSkinFormFrame;
class TbsTrayIcon;
class TbsSkinMDITabsBar;
class TbsRibbon;
class TbsSkinScrollBar;
class TCustomImageList;

// Messages between the frames of an MDI main form and its children.
constexpr unsigned MDIChildFitClient = 1230;
constexpr unsigned MDIChildMaximized = 1231;
constexpr unsigned MDIChildRestored = 1232;
constexpr unsigned MDIChildMoved = 1233;
constexpr unsigned MDIRestoreAll = 1234;
constexpr unsigned MDIRestoreAllExcept = 1235;
constexpr unsigned MDIQueryChildMaximized = 1236;
// Posted by the tray icon to the main form when it is shown again.
constexpr unsigned RestoredFromTray = 1426;
// Queries and requests the frame answers though nothing in the program sends them.
constexpr unsigned SkinFrameQuery = 0xB1B2;
// The answers to SkinFrameQuery: the platform draws the frame of a form on a system with
// a compositor, or the skin (or nothing special) does.
constexpr LRESULT SkinFrameQueryPlatformFrame = 12852;
constexpr LRESULT SkinFrameQuerySkinFrame = 12853;
// Window timer 1 of the show: its first tick (after ShowTimerFirst ms) starts the fade-in,
// whose steps follow every FadeStepInterval ms.
constexpr UINT ShowTimerFirst = 1;
constexpr UINT FadeStepInterval = 6;
constexpr unsigned SmartEffectsPrepare = 0xB1B3;
constexpr unsigned SmartEffectsShowBorder = 0xB1B4;
// The form's Tag while the tray icon brings it back.
constexpr intptr_t TrayRestoreTag = -10000;

enum TTileMode { tbHorizontal, tbVertical };
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

using TbsCaptionPaintEvent = std::function<void(TCanvas* Cnvs, TRect R, bool AActive)>;
using TbsPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TbsMouseEnterEvent = std::function<void(const String& IDName)>;
using TbsMouseLeaveEvent = std::function<void(const String& IDName)>;
using TbsMouseDownEvent = std::function<void(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)>;
using TbsMouseUpEvent = TbsMouseDownEvent;
using TbsMouseMoveEvent = std::function<void(const String& IDName, int X, int Y, TRect ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;
using TbsOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

// ---------------------------------------------------------------------------------------
// The inactive-client panel
// ---------------------------------------------------------------------------------------

// The panel laid over the client area of an inactive form: it shows the client area as it
// was at the deactivation, blurred or under the form's background at 170/255.
class TbsClientInActivePanel : public TbsSkinPaintPanel {
public:
    explicit TbsClientInActivePanel(TComponent* AOwner);
    void ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();
    std::unique_ptr<TbsBitmap> Buffer;

protected:
    void Paint() override;
};

// ---------------------------------------------------------------------------------------
// The form frame component
// ---------------------------------------------------------------------------------------

// The form frame's menu mode, with one owner: whether a menu of the form is open ("in
// menu"), whether the main menu bar holds the keyboard ("in main menu"), the application
// key filter that routes keys to them while either holds, and the root item of the open
// chain.  Every change is one of the transitions below; the frame supplies the effects
// (hiding the chain, the bar's look, the filter, its events).
enum class TbsMenuModeEvent { MenuOpen, MenuClose, MainMenuEnter, MainMenuExit };

class TbsFrameMenuMode {
public:
    struct TEffects {
        std::function<void(bool On)> Hook;   // install (true) or remove the key filter
        std::function<void()> HideChain;     // hide the chain's levels without telling the form
        std::function<void()> BarLeave;      // the bar drops its highlight and pressed item
        std::function<void()> BarRelease;    // the bar's pressed item goes back to highlighted
        std::function<void(TbsMenuModeEvent)> Event;
    };
    TbsFrameMenuMode() = default;
    explicit TbsFrameMenuMode(TEffects E) : FEffects(std::move(E)) {}
    void SetEffects(TEffects E) { FEffects = std::move(E); }

    bool InMenu() const { return FInMenu; }
    bool InMainMenu() const { return FInMainMenu; }
    bool Hooked() const { return FHooked; }
    TMenuItem* OpenItem() const { return FOpenItem; }
    // Anything at all is open or holds the keyboard.
    bool Active() const { return FInMenu || FInMainMenu || FHooked || FOpenItem; }

    // A menu of the form is about to open: the key filter goes in, the menu state begins.
    void Open();
    // The chain now shows Root's subitems.
    void Shown(TMenuItem* Root);
    // Every menu of the form closes: the chain hides, the filter goes, main menu mode ends.
    void Close();
    // The bar takes the keyboard (Alt, or a bar item pressed).
    void EnterMainMenu();
    // The bar gives the keyboard back; an open chain closes with it.
    void LeaveMainMenu();
    // The open chain closes while the bar keeps the keyboard (Escape on its last level,
    // the highlight moving onto a command item).
    void CloseChain();
    // Root is going away: the record lets go of it.
    void Forget(TMenuItem* Root)
    {
        if (FOpenItem == Root) FOpenItem = nullptr;
    }

private:
    void SetHook(bool On);
    void Fire(TbsMenuModeEvent E)
    {
        if (FEffects.Event) FEffects.Event(E);
    }
    TEffects FEffects;
    bool FInMenu = false, FInMainMenu = false, FHooked = false, FClosing = false;
    TMenuItem* FOpenItem = nullptr;
};

class TbsSkinFormFrame : public TComponent, public TbsSkinMenuHost {
public:
    explicit TbsSkinFormFrame(TComponent* AOwner);
    ~TbsSkinFormFrame() override;
    void Loaded() override;

    // ---- properties
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TbsSkinData* Value);
    TbsQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
    void SetQuickButtons(TbsQuickButtonItems* Value);
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool V) { FQuickButtonsShowHint = V; }
    bool QuickButtonsShowDivider() const { return FQuickButtonsShowDivider; }
    void SetQuickButtonsShowDivider(bool V) { FQuickButtonsShowDivider = V; }
    bool ClientInActiveEffect() const { return FClientInActiveEffect; }
    void SetClientInActiveEffect(bool V) { FClientInActiveEffect = V; }
    TbsClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
    void SetClientInActiveEffectType(TbsClientInActiveEffect V) { FClientInActiveEffectType = V; }
    bool DisableSystemMenu() const { return FDisableSystemMenu; }
    void SetDisableSystemMenu(bool V) { FDisableSystemMenu = V; }
    bool AlwaysResize() const { return FAlwaysResize; }
    void SetAlwaysResize(bool V) { FAlwaysResize = V; }
    TbsPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
    void SetPositionInMonitor(TbsPositionInMonitor V) { FPositionInMonitor = V; }
    bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool V) { FUseFormCursorInNCArea = V; }
    int MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(int Value);
    int ClientWidth() const { return FClientWidth; }
    void SetClientWidth(int V) { FClientWidth = V; }
    int ClientHeight() const { return FClientHeight; }
    void SetClientHeight(int V) { FClientHeight = V; }
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool V) { FHideCaptionButtons = V; }
    bool AlwaysShowInTray() const { return FAlwaysShowInTray; }
    void SetAlwaysShowInTray(bool V) { FAlwaysShowInTray = V; }
    bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool V) { FAlwaysMinimizeToTray = V; }
    TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
    void SetLogoBitMap(TBitmap* Value);
    bool LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
    void SetLogoBitMapTransparent(bool V) { FLogoBitMapTransparent = V; }
    bool UseSkinFontInCaption() const { return FUseSkinFontInCaption; }
    void SetUseSkinFontInCaption(bool V) { FUseSkinFontInCaption = V; }
    bool ShowIcon() const { return FShowIcon; }
    void SetShowIcon(bool Value);
    bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool V) { FMaximizeOnFullScreen = V; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool V) { FAlphaBlendAnimation = V; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value);
    bool ShowObjectHint() const { return FShowObjectHint; }
    void SetShowObjectHint(bool V) { FShowObjectHint = V; }
    bool UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
    void SetUseDefaultObjectHint(bool V) { FUseDefaultObjectHint = V; }
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool V) { SkinMenu->AlphaBlend = FMenusAlphaBlend = V; }
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool V) { SkinMenu->AlphaBlendAnimation = FMenusAlphaBlendAnimation = V; }
    uint8_t MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(uint8_t V) { SkinMenu->AlphaBlendValue = FMenusAlphaBlendValue = V; }
    // The looks of the form's skinned menus, kept by the skin menu itself.
    bool UseSkinFontInMenu() const { return SkinMenu->UseSkinFont(); }
    void SetUseSkinFontInMenu(bool V) { SkinMenu->SetUseSkinFont(V); }
    bool UseSkinSizeInMenu() const { return SkinMenu->UseSkinSize(); }
    void SetUseSkinSizeInMenu(bool V) { SkinMenu->SetUseSkinSize(V); }
    int DefMenuItemHeight() const { return SkinMenu->DefaultMenuItemHeight(); }
    void SetDefMenuItemHeight(int Value);  // 0 or less is ignored
    TFont* DefMenuItemFont() const { return SkinMenu->DefaultMenuItemFont(); }
    void SetDefMenuItemFont(TFont* Value) { SkinMenu->SetDefaultMenuItemFont(Value); }
    // The hint window of the caption objects' and quick buttons' hints (not owned).
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TFont* DefCaptionFont() const { return FDefCaptionFont.get(); }
    void SetDefCaptionFont(TFont* Value);
    TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
    void SetDefInActiveCaptionFont(TFont* Value);
    bool UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
    void SetUseDefaultSysMenu(bool V) { FUseDefaultSysMenu = V; }
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int V) { FMinHeight = V; }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int V) { FMinWidth = V; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int V) { FMaxHeight = V; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int V) { FMaxWidth = V; }
    bool Magnetic() const { return FMagnetic; }
    void SetMagnetic(bool V) { FMagnetic = V; }
    uint8_t MagneticSize() const { return FMagneticSize; }
    void SetMagneticSize(uint8_t V) { FMagneticSize = V; }
    TbsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TbsBorderIcons Value);
    TWindowState WindowState() const { return FWindowStateInit; }
    void SetWindowState(TWindowState Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value) { SetRolledUp(Value); }
    bool MinimizeDefault() const { return FMinimizeDefault; }
    void SetMinimizeDefault(bool V) { FMinimizeDefault = V; }
    TbsSkinStatusBar* StatusBar() const { return FStatusBar; }
    // The notification-area icon the form minimizes to (not owned).
    TbsTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TbsTrayIcon* Value);
    // The linked icon's double click when the program sets none: back from the tray.
    void TrayIconDblClick(TObject* Sender);
    void SetStatusBar(TbsSkinStatusBar* Value);
    TbsSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(TbsSkinMainMenuBar* Value);
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool Value);
    // The ribbon of the form (a link); the ribbon learns of its frame through it.
    TbsRibbon* SkinRibbon() const { return FSkinRibbon; }
    void SetSkinRibbon(TbsRibbon* Value);

    // ---- events
    TbsCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnChangeSkinData, OnBeforeChangeSkinData, OnAfterChangeSkinData;
    TbsMouseUpEvent OnMouseUpEvent;
    TbsMouseDownEvent OnMouseDownEvent;
    TbsMouseMoveEvent OnMouseMoveEvent;
    TbsMouseEnterEvent OnMouseEnterEvent;
    TbsMouseLeaveEvent OnMouseLeaveEvent;
    TbsPaintEvent OnPaintEvent;
    TNotifyEvent OnActivate, OnDeActivate, OnSkinMenuOpen, OnSkinMenuClose, OnChangeRollUpState;
    TNotifyEvent OnMainMenuEnter, OnMainMenuExit, OnMinimizeToTray, OnRestoreFromTray;
    TbsActivateCustomObjectEvent OnActivateCustomObject;
    TNotifyEvent OnMinimize, OnRestore, OnMaximize;
    TShortCutEvent OnShortCut;
    TbsOnAcceptToMDITabsBar OnAcceptToMDITabsBar;

    // ---- the component (form frame component)
    void Move(int AX, int AY);
    void SetBounds(int AX, int AY, int AWidth, int AHeight);
    bool CheckIconAlpha();
    String GetProductVersion() const { return "10.10"; }
    void DoPopupMenu(TPopupMenu* Menu, int X, int Y);
    bool GetFormActive();
    int GetIndex(const String& AIDName) const;
    void SetEnabled(const String& AIDName, bool Value);
    void UserObjectDraw(const String& AIDName);
    void LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp);
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    void SetFormBorderStyle(TFormBorderStyle BS);
    void SetFormStyle(TFormStyle FS);
    bool GetSkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    bool UseLayeredBorder();
    bool UseLayeredShowTimer();
    void RestoreOldBounds();
    void ForegroundStayOnTopForms();
    void CheckAppLayeredBorders();
    void AppRestore(TObject* Sender);
    void PrepareIcon();
    void DrawFormIcon(TCanvas* Canvas, int X, int Y);
    void GetIconSize(int& W, int& H);
    int UnrolledHeight() const { return FRollUpState ? OldHeight : FFormHeight; }
    TCustomForm* Form() const { return FForm; }

    // ---- MDI: the main form's frame arranges the children; the children report to it
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode V) { FTileMode = V; }
    void Tile();
    void TileHorizontal();
    void TileVertical();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void RestoreAll();
    void RestoreAllExcept(HWND AFormHandle);
    void CloseAll();
    void GetMDIClientRect(TRect& R);
    TCustomForm* GetMaximizedChild();
    bool GetMDIChildMaximized() const { return FMDIChildMaximized; }
    // The form's title: its caption, on an MDI main form with a maximized child followed by
    // " - [", the child's caption and "]".
    String TitleText();
    void NotifyChildrenFitClient();
    void ArrangeMinimizedChildren();
    // The entries of the main form's window menu, one per shown child.
    void AddChildToMenu(TCustomForm* Child);
    void DeleteChildFromMenu(TCustomForm* Child);
    void UpDateChildCaptionInMenu(TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* Sender);
    // Places an MDI child at bounds given in the coordinates of the MDI client area.
    void SetChildBounds(TCustomForm* Child, int L, int T, int W, int H);
    // An MDI child's position in the coordinates of the MDI client area.
    TPoint ChildPosition(TCustomForm* Child);
    bool FMDIChildMaximized = false, FInMaximizeAll = false, FInRestoreAll = false, FStopCheckChildMove = false;
    // The tabs bar of the main form's children (not owned); the tabs of a child's bar.
    TbsSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TbsSkinMDITabsBar* Value);
    void AddChildToBar(TCustomForm* Child);
    void DeleteChildFromBar(TCustomForm* Child);
    void RefreshMDIBarTab(TCustomForm* Child);
    void RefreshMDITabsBar();
    // The main form's menu bar rebuilds its items when a child's menu is merged into it or
    // was merged before.
    void RefreshMainMenuBar();
    // The main form's two scroll bars over its MDI client window, shown while children
    // reach past it; they scroll the children.
    bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
    void SetShowMDIScrollBars(bool Value);
    TbsSkinScrollBar* MDIHScrollBar() const { return FMDIHScrollBar; }
    TbsSkinScrollBar* MDIVScrollBar() const { return FMDIVScrollBar; }
    void CreateMDIScrollBars();
    void UpdateMDIScrollBars(bool AUpdateRange);
    void AlignMDIScrollBars();
    void SyncHScroll();
    void SyncVScroll();
    void ShiftChildrenH(int Delta);
    void ShiftChildrenV(int Delta);
    // The MDI client window's procedure, put on it at the main form's first show.
    void ClientWindowProc(TMessage& Message);
    void HookMDIClient();
    void UnhookMDIClient();
    // Opens Items as a skinned popup menu of this frame at R (screen), for ACtrl.
    void PopupMenuItems(TMenuItem* Items, TControl* ACtrl, const TRect& R);
    HWND ChangeVisibleChildHanle = nullptr;
    int FOldHSrollBarPosition = 0, FOldVSrollBarPosition = 0;

    // ---- the inactive-client panel
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    TbsClientInActivePanel* InActivePanel() const { return FInActivePanel; }

    // ---- skin application and re-skinning
    void ChangeSkinData();
    void CreateSkinObjects();
    void CreateDefaultObjects();
    void ClearObjects();
    void UpdateCaptionButtons();
    void UpdateObjectHints();
    void ApplyFormBorderIcons();
    void UpdateCaptionActive(bool Animate);
    int GetMinWidth();
    int GetMinHeight();
    int GetMaxWidth();
    int GetMaxHeight();
    void NudgeWidth();
    void BeforeChangeControls(TbsSkinData* ASkinData, TControl* AControl);
    void ChangeControls(TbsSkinData* ASkinData, TControl* AControl);

    // ---- the window procedure
    void FormWindowProc(TMessage& Message);
    void ObjectsMouseMove(int X, int Y);
    void ObjectsMouseDown(TMouseButton Button, int X, int Y);
    void ObjectsMouseUp(TMouseButton Button, int X, int Y);
    void ObjectsDblClick();
    void CancelControlModes();

    // ---- non-client painting and hit testing
    void PaintNCSkin(HDC DC, bool AUseExternalDC);
    void PaintNCDefault(HDC DC, bool AUseExternalDC);
    void CalcDefRects();
    void UpDateFormNC();
    void DrawSkinObject(TbsActiveSkinObject* AObject);
    void ArrangeObjects();
    TRect MapSkinRect(const TRect& R);
    int SkinHitTest(TPoint P);
    int DefHitTest(TPoint P);
    bool PointInFormMask(TPoint P);
    void ScreenToWindowPoint(TPoint& P);
    void GetDefCaptionRect(TRect& R);
    int GetDefCaptionHeight() const;
    int GetDefButtonSize() const;
    bool IsSizeable() const;
    void UpdateActiveObject(int X, int Y, bool AllowActive);
    // The first enabled and visible caption object under (X, Y), or -1.
    int ObjectAt(int X, int Y) const;
    // Moves the hover of the caption objects to Hit (-1: none): the object left and the
    // object entered hear of it and the object hints follow.  Active, OldActive and
    // Capture are the indexes of whoever tracks the hover (the frame or its layered border).
    void MoveObjectHover(int Hit, int& Active, int& OldActive, int Capture);
    void MouseTimerTick(TObject* Sender);
    void ResetObjectStates();
    bool IsAutoRenderingInActive();
    // The ribbon's application menu, while shown, draws its caption strip into the
    // caption (not with a full layered border, which carries the caption itself).
    bool ShowsAppMenuCaption();
    int GetAppMenuCaptionOffset();
    void PaintAppMenuCaption(TCanvas* Cnvs, const TRect& R);
    // The width of the application menu's item column (0 without a menu).
    int AppMenuCaptionWidth();
    // The ribbon's MDI buttons follow the main form's children.
    void RibbonMDIChildMaximized();
    void RibbonMDIChildRestored();
    // The keyboard menu command for the ribbon: its application menu closes and the
    // ribbon takes the focus.
    void RibbonKeyMenu();
    // The ribbon's shortcuts: its application button's popup menu, then Alt with the
    // accelerator of a tab's caption.
    void RibbonShortCut(TWMKey& Msg, bool& Handled);
    // Runs a caption button's command (close, maximize or restore, minimize or restore,
    // roll-up, tray); BeforeStateChange runs just before the window state changes.
    void RunCaptionCommand(TbsStdCommand C, const std::function<void()>& BeforeStateChange);
    // The window state a caption command toggles holds (maximized, minimized, rolled up).
    bool CommandStateHolds(TbsStdCommand C) const;
    // The caption's double click: a minimized sizeable form is restored, a sizeable one
    // maximized or restored, any other rolled up or down.  True when it maximized or
    // restored a maximized form.
    bool CaptionDoubleClick();
    void DoObjectPaint(const String& IDName, TCanvas* Canvas, TRect ObjectRect);
    void DoObjectMouseUp(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button);
    void DoObjectMouseDown(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button);
    void DoObjectMouseMove(const String& IDName, int X, int Y, TRect ObjectRect);
    void DoObjectMouseEnter(const String& IDName);
    void DoObjectMouseLeave(const String& IDName);

    // ---- client backgrounds (each paints into DC; nothing for a DC of 0)
    void PaintBG(HDC DC);
    void PaintBG2(HDC DC);
    void PaintBG3(HDC DC);
    void PaintBGDefault(HDC DC);
    void PaintMDIBGDefault(HDC DC);
    void DrawLogo(TCanvas* Canvas);

    // ---- window region
    void CalcSkinRects();
    void UpdateFormRegion(bool AStretch);
    void UpdateSkinFrame(bool AArrange);
    bool LayeredRollUpActive();
    void NotifyParentBackground();

    // ---- window states
    void ChangeWindowState(TWindowState Value);
    void DoMinimize();
    void DoMaximize();
    void DoRestore();
    void GetMinimizedPosition(TPoint& P);
    void SetRolledUp(bool Value);
    void RollUpForm();
    void UnrollForm();
    void MinimizeToTray();
    void RestoreFromTray();
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(int AX, int AY, int AW, int AH);
    void MagneticMove(int& ALeft, int& ATop, int AWidth, int AHeight);
    bool GetFullDrag();
    void MorphTimerTick(TObject* Sender);
    void AnimateTimerTick(TObject* Sender);

    // ---- menus
    TMenuItem* GetSystemMenuItems();
    void PopupSystemMenuAt(int X, int Y);
    void PopupSystemMenuInRect(const TRect& R);
    void PopupSystemMenuFromButton();
    void PopupSkinMenu(TMenu* Menu, TPoint P);
    void PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp);
    void SkinMenuOpen();
    void SkinMenuClose();
    void HookAppMessages();
    void UnhookAppMessages();
    void AppMessageHook(TMsg& Msg, bool& Handled);
    void MenuKeyDown(WORD Key);
    void EndMainMenu();
    TbsFrameMenuMode::TEffects MenuModeEffects();
    bool MenuBarAccelerator(WORD Key);
    bool MenuBarPressSelected();
    void FormShortCut(TWMKey& Msg, bool& Handled);
    void CloseMenusOnInput(UINT Msg);
    TbsSkinData* MenuSkin() const { return FMSD ? FMSD : FSD; }
    // The menu host side: what the skinned popup menus of the form go through.
    TbsSkinData* MenuSkinData() override { return MenuSkin(); }
    void CloseSkinMenu() override;
    void PopupSkinMenu(TbsSkinPopupMenu* AMenu, TControl* ACtrl, const TRect& R, bool APopupUp,
                       TbsSkinData* ASkinData) override;
    TbsSkinMenu* HostSkinMenu() override { return SkinMenu; }
    // The form's chain of skinned menu levels (owned).
    TbsSkinMenu* SkinMenu = nullptr;
    // Opens the subitems of Item (from StartIndex on) against R through the form's skinned
    // menu; ACtrl hears SkinMenuClosed when the chain closes.
    // ASkinData: the skin of the menu (none: the frame's menu skin).
    // With Item2, one level lists Item's subitems followed by Item2's.
    void PopupSkinMenuItem(TMenuItem* Item, TControl* ACtrl, const TRect& R, bool APopupUp, int StartIndex = 0,
                           TbsSkinData* ASkinData = nullptr, TMenuItem* Item2 = nullptr);
    // The skin a menu of the form opens with: a skinned main menu's own, else the frame's
    // menu skin.
    TbsSkinData* MenuSkinOf(TMenu* AMenu) const;
    // The menu that is open now (its root item; none while closed) and where it stands.
    TMenuItem* OpenMenuItem() const { return FMenuMode.OpenItem(); }
    // The menu mode (read here; changed through its transitions).
    TbsFrameMenuMode& MenuMode() { return FMenuMode; }
    bool InMenu() const { return FMenuMode.InMenu(); }
    bool InMainMenu() const { return FMenuMode.InMainMenu(); }
    bool InAppHook() const { return FMenuMode.Hooked(); }
    const TRect& OpenMenuRect() const { return FOpenMenuRect; }
    bool OpenMenuUp() const { return FOpenMenuUp; }
    int OpenMenuStart() const { return FOpenMenuStart; }

    // ---- state read by the frame's caption objects, its menu bar and its layered border
    TCustomForm* FForm = nullptr;
    std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;
    int ActiveObject = -1, OldActiveObject = -1;
    // No object holds the mouse any more.
    void ReleaseMouseCapture() { MouseCaptureObject = -1; }
    // The layered border is changing the form's size (its own sizing loop runs).
    bool BorderLayerChangeSize() const { return FBorderLayerChangeSize; }
    void SetBorderLayerChangeSize(bool Value) { FBorderLayerChangeSize = Value; }
    // The form's icon carries alpha (looked at again by UpdateAlphaIcon).
    bool IsAlphaIcon() const { return FIsAlphaIcon; }
    void UpdateAlphaIcon() { FIsAlphaIcon = CheckIconAlpha(); }
    // The frame draws a preview (no layered border, no hover).
    bool PreviewMode() const { return FPreviewMode; }
    void SetPreviewMode(bool Value) { FPreviewMode = Value; }
    // A skin is in force (skin data linked and not empty); set only by ChangeSkinData and
    // the skin data's change messages.
    bool SkinSupport() const { return FSkinSupport; }
    bool FSkinnableForm = true;
    // The form is active as the frame last saw it (its caption's look follows).
    bool FormActive() const { return FFormActive; }
    void SetFormActive(bool Value) { FFormActive = Value; }
    bool FStopPainting = false;
    bool FStartShow = true;
    bool FRollUpState = false, MaxRollUpState = false, FRollUpBeforeMaximize = false;
    int OldHeight = 0;
    TRect OldBoundsRect;
    TWindowState FWindowState = wsNormal, FWindowStateInit = wsNormal;
    bool FMinimizeDefault = false;
    int FFormWidth = 0, FFormHeight = 0, FFormLeft = 0, FFormTop = 0;
    int FOldFormLeft = 0, FOldFormTop = 0;
    bool FSizeMove = false, FSizing = false, FFullDrag = false;
    bool FInChangeSkinData = false;
    bool AlwaysDisableLayeredFrames = false;
    bool FSmartEffectsShow = false;
    bool FClientInActiveDraw = false;
    bool ButtonsInLeft = false;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
    TPoint FOnMouseDownCoord{-1, -1};
    int FOldFullBorder = -1;
    TRect FOldFormBounds;
    bool DisableDWMAnimation = false;
    bool FIsVistaOs = false, FIsW7 = false, FHaveShadow = false;
    // Layered windows can be shown (looked at when the frame is made).
    void SetIsLayerEnabled(bool Value) { FIsLayerEnabled = Value; }
    bool FInShortCut = false;
    // The geometry of the skinned frame at the current size.
    TPoint NewLTPoint, NewRBPoint, NewRTPoint, NewLBPoint;
    TRect NewClRect, NewCaptionRect, NewButtonsRect;
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    TRect NewMaskRectArea;
    TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
    TRect NewDefCaptionRect;
    std::unique_ptr<TBitmap> RMTop, RMBottom, RMLeft, RMRight;
    TColor BlackColor = 0;
    HRGN FRgn = nullptr;
    TWndMethod OldWindowProc;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    std::unique_ptr<TbsLayerManager> FLayerManager, FMenuLayerManager;
    TbsFormLayerBorder* FBorderLayer = nullptr;  // owned (component of the frame)
    // The layered border is in use and its layer frame carries the whole frame.
    bool FullLayeredInUse();
    // The layered border is shown and its layer frame carries the whole frame.
    bool FullLayeredShown() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsMDIChild() const;
    bool IsMDIForm() const;
    bool HasFrame() const;
    bool IsMainForm() const;
    bool ShownOrTrayRestoring() const;
    void SaveOldBounds();
    void LayeredBordersSwitch();
    // Handles a message of the MDI protocol; true when the form is not to see it.
    bool MDIMessage(TMessage& M);
    void NotifyMainForm(unsigned Msg, WPARAM W);
    void MDIStateChanged();
    void NextMDIChild();
    void SetLink(TComponent*& Field, TComponent* Value);
    void BeforeChangeControlSkinData(TbsSkinData* ASkinData, TControl* C);
    void ChangeControlSkinData(TbsSkinData* ASkinData, TControl* C);
    int CaptionTestLeft(TbsSkinCaptionObject* C);
    bool CaptionTest(TPoint P);
    void WMSize(TMessage& M);
    void WMShowWindow(TMessage& M);
    void WMNCCalcSize(TMessage& M);
    void WMNCActivate(TMessage& M);
    void WMWindowPosChanged(TMessage& M);
    void WMSizing(TMessage& M);
    void WMNCLButtonDblClk(TMessage& M);
    void WMTimer(TMessage& M);
    bool AlphaBlendApplies();
    void BuildSysMenuItem(TMenu* Menu, const String& Name, const String& Key, const String& Text,
                          std::function<void()> Click, bool Append, int InsertAt);
    String ResString(const String& Key, const String& BuiltIn);
    void BuildTrayMenu();
    void OpenMenu(TMenuItem* Item, TControl* ACtrl, const TRect& R, bool APopupUp, int StartIndex = 0,
                  TbsSkinData* ASkinData = nullptr, TMenuItem* Item2 = nullptr);

    bool FSkinSupport = false;
    bool FFormActive = false;
    bool FIsLayerEnabled = false;
    int MouseCaptureObject = -1;
    bool FBorderLayerChangeSize = false;
    bool FPreviewMode = false;
    bool FIsAlphaIcon = false;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FMSD = nullptr;
    TbsSkinHint* FSkinHint = nullptr;
    bool FAppRestoreSet = false;  // Application->OnRestore is ours
    std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
    TCustomImageList* FQuickImageList = nullptr;
    bool FQuickButtonsShowHint = false, FQuickButtonsShowDivider = true;
    bool FClientInActiveEffect = false;
    TbsClientInActiveEffect FClientInActiveEffectType = bsieSemiTransparent;
    bool FDisableSystemMenu = false, FAlwaysResize = false;
    TbsPositionInMonitor FPositionInMonitor = bspDefault;
    bool FUseFormCursorInNCArea = false;
    int FMaxMenuItemsInWindow = 0;
    int FClientWidth = 0, FClientHeight = 0;
    bool FHideCaptionButtons = false, FAlwaysShowInTray = false, FAlwaysMinimizeToTray = false;
    std::unique_ptr<TBitmap> FLogoBitMap;
    bool FLogoBitMapTransparent = false;
    bool FUseSkinFontInCaption = true;
    bool FShowIcon = false;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 200;
    bool FShowObjectHint = false, FUseDefaultObjectHint = true;
    bool FMenusAlphaBlend = false, FMenusAlphaBlendAnimation = false;
    uint8_t FMenusAlphaBlendValue = 200;
    std::unique_ptr<TFont> FDefCaptionFont, FDefInActiveCaptionFont;
    bool FUseDefaultSysMenu = true;
    TPopupMenu* FSysMenu = nullptr;       // owned (component of the frame)
    TbsSkinPopupMenu* FSysTrayMenu = nullptr;  // owned
    TPopupMenu* FSystemMenu = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TbsSkinMainMenuBar* FMainMenuBar = nullptr;
    TbsSkinMDITabsBar* FMDITabsBar = nullptr;
    TbsSkinScrollBar* FMDIHScrollBar = nullptr;
    TbsSkinScrollBar* FMDIVScrollBar = nullptr;
    bool FShowMDIScrollBars = true;
    WNDPROC FClientInstance = nullptr;
    WNDPROC FPrevClientProc = nullptr;
    HWND FHookedClient = nullptr;
    TbsSkinStatusBar* FStatusBar = nullptr;
    TbsTrayIcon* FTrayIcon = nullptr;
    bool FTrayDblClickSet = false;  // the icon's double click is ours
    int FMinHeight = 0, FMinWidth = 0, FMaxHeight = 0, FMaxWidth = 0;
    bool FMagnetic = false;
    uint8_t FMagneticSize = 5;
    TbsBorderIcons FBorderIcons;
    TTileMode FTileMode = tbHorizontal;
    bool FUseRibbon = false;
    TComponentLink<TbsRibbon> FSkinRibbon;
    std::unique_ptr<TIcon> FIcon;
    TbsClientInActivePanel* FInActivePanel = nullptr;  // owned while shown
    bool FFading = false;
    int FFadeAlpha = 0, FFadeStep = 0, FFadeTarget = 0;
    TbsFrameMenuMode FMenuMode;
    TControl* FOpenMenuControl = nullptr;
    TRect FOpenMenuRect;
    bool FOpenMenuUp = false;
    int FOpenMenuStart = 0;
};

// The first form frame among a form's components, or none.
TbsSkinFormFrame* FindSkinFormComponent(TCustomForm* AForm);
// The MDI children of the application's main form (the screen's fsMDIChild forms while
// the main form is an fsMDIForm) and the active one.
std::vector<TCustomForm*> bsMDIChildren();
TCustomForm* bsActiveMDIChild();
// The frame of the main form's maximized MDI child and of its active MDI child, or none.
TbsSkinFormFrame* FindMaximizedChildSkinForm();
TbsSkinFormFrame* FindActiveChildSkinForm();
