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

class TbsSkinFormFrame;
class TbsSkinButtonObject;
class TbsSkinCaptionObject;
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

// Turns E into the transition frame Kf (0..1) from its own picture towards Other's, by the
// transition of Kind.
void bsMorphEffectBmp(TbsEffectBmp& E, const TbsEffectBmp& Other, double Kf, TbsMorphKind Kind);
// Builds in B, at W x H, the look S (in Pic) of a resizable control record R: its corner
// points and client rectangle move with the size, its edges follow its stretch flags.
void bsCustomControlImage(TBitmap* B, const TbsDataSkinCustomControl* R, TBitmap* Pic, const TRect& S, int W, int H);
// Gives E the look a skin asks for an inactive form (brightened, darkened, grey, noisy,
// blurred or inverted).
void bsApplyInActiveEffect(TbsEffectBmp& E, TbsInActiveEffect Effect);

// The face of a caption or menu bar button in the default look, W x H at the origin of C:
// pressed and hot faces are framed and filled in the default palette, others button face.
void bsDrawDefaultFace(TCanvas* C, int W, int H, bool Pressed, bool Hot);

// The caption buttons a frame offers.  (Scoped: the platform's form has buttons of the
// same names.)
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;
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
// Caption quick buttons
// ---------------------------------------------------------------------------------------

// A small image button drawn in the caption before the caption text.
class TbsQuickButtonItem : public TCollectionItem {
public:
    explicit TbsQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* Value) { FPopupMenu = Value; }
    TNotifyEvent OnClick;

    TRect ItemRect;       // its place in the caption, set when the caption draws it
    bool Active = false;  // the cursor is over it
    bool Down = false;    // it is pressed

private:
    int FImageIndex = -1;
    String FHint;
    bool FEnabled = true, FVisible = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
};

class TbsQuickButtonItems : public TCollection {
public:
    explicit TbsQuickButtonItems(TbsSkinFormFrame* AForm);
    TbsQuickButtonItem* Items(int Index) const { return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index)); }
    TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }
    TbsQuickButtonItem* Insert(int Index) { return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index)); }
    TbsSkinFormFrame* BSF;

protected:
    void Update(TCollectionItem* Item) override;
};

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
// Caption skin objects
// ---------------------------------------------------------------------------------------

// One live element of the skinned frame (a button, the caption, a user-painted area),
// made from a form object record of the skin.  The frame owns every object.
class TbsActiveSkinObject : public TObject {
public:
    TbsActiveSkinObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    ~TbsActiveSkinObject() override = default;

    virtual bool PointInMask(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    virtual void DrawAlpha(TCanvas*, TbsBitmap*) {}
    virtual void DblClick() {}
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing();
    void DoMorphing();
    void BeginMorph();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value) { FMorphKf = Value < 0 ? 0 : Value > 1 ? 1 : Value; }
    // ObjectRect in screen coordinates (glow windows and menus are placed by it).
    TRect ScreenRect();

    TbsSkinFormFrame* Parent;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    TBitmap* ActivePicture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    String IDName, Hint;
    TRect SkinRect, ActiveSkinRect, InActiveSkinRect, ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool Enabled = true, Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0, GlowLayerAlphaBlendValue = 0;

protected:
    // Copies R of APicture onto ObjectRect of Cnvs (stretched); nothing without a picture.
    void CopyLook(TCanvas* Cnvs, TBitmap* APicture, const TRect& R);
    // The morph frame from the look R1 of P1 towards R2 of P2 by FMorphKf and MorphKind.
    void DrawMorph(TCanvas* Cnvs, TBitmap* P1, const TRect& R1, TBitmap* P2, const TRect& R2);
    bool SkinEmpty() const;
    bool MorphUnderWay() const;
    // The glow picture of the object shown or hidden through L, when the skin asks for
    // glow frames and the object has one.
    void ShowGlow(TbsLayerManager* L);
    void HideGlow(TbsLayerManager* L);

    double FMorphKf = 0;
};

// An area of the frame that the application paints itself (OnPaintEvent).
class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

// A caption button with normal, hot, pressed and disabled looks that may open a menu.
class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void ChangeDownState(bool Value);
    void PopupObjectMenu();

    bool FDown = false;
    bool FPopupUp = false;
    TRect DisableSkinRect, DownRect;
    TMenuItem* MenuItem = nullptr;
};

// A caption button bound to one of the frame's commands (close, maximize, minimize,
// roll-up, minimize to tray, system menu), with a restore look and a default look.
class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    bool PointInMask(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void ExecuteCommand();
    // The window state the command toggles is in force (the restore look applies).
    bool RestoreLook();
    // The system menu button shows the form's icon.
    bool IconMode();

    TbsBitmap* FAlphaNormalImage = nullptr;
    TbsBitmap* FAlphaActiveImage = nullptr;
    TbsBitmap* FAlphaDownImage = nullptr;
    TbsBitmap* FAlphaRestoreNormalImage = nullptr;
    TbsBitmap* FAlphaRestoreActiveImage = nullptr;
    TbsBitmap* FAlphaRestoreDownImage = nullptr;
    TbsBitmap* FAlphaInActiveImage = nullptr;
    TbsBitmap* FAlphaInActiveRestoreImage = nullptr;
    bool FSkinSupport = false;
    TbsStdCommand Command = cmClose;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    String RestoreHint, FTempHint;
    int AlphaMaskPictureIndex = -1, AlphaMaskActivePictureIndex = -1, AlphaMaskInActivePictureIndex = -1;

};

// The form's title: caption picture, text with the skin's font and effects, and the
// frame's quick buttons.  Active means the form is active.
class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation();
    void HoverQuickButtons(int X, int Y);
    void RedrawCaption();
    void PopupQuickButtonMenu(const TRect& AItemRect, TbsSkinPopupMenu* AMenu);
    // The text the caption shows (with a maximized MDI child's caption added).
    String CaptionText();
    // AFlags with the form's right-to-left reading flag, for every text the object draws.
    UINT TextFlags(UINT AFlags);
    // A left press over the quick buttons: press the one under (X, Y) or open its menu.
    void PressQuickButtons(int X, int Y);
    // The text rectangle relative to ObjectRect's top-left.
    TRect TextRect();
    // The skin's record of the quick buttons' hot looks ("officequickbutton", else
    // "resizetoolbutton") when it has a picture, which goes to Picture; none otherwise.
    TbsDataSkinButtonControl* QuickButtonRecord(TBitmap** Picture);
    // Builds in B the hot (or pressed) background of Item at its size; false without one.
    bool HotBackground(TbsQuickButtonItem* Item, TBitmap* B);

    int ActiveQuickButton = -1, OldActiveQuickButton = -1, MouseCaptureQuickButton = -1, PopupMenuQuickButton = -1;
    bool FDown = false;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct, FrameRect, ActiveFrameRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    bool StretchEffect = false, FullFrame = false;
    int FIncTime = 0;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0, CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false, VistaGlowInActiveEffect = false, GlowEffect = false, GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    int ReflectionOffset = 0;
    TRect DividerRect, InActiveDividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    int QuickButtonAlphaMaskPictureIndex = -1;

private:
    void SetCaptionFont(TCanvas* C, TColor Color);
    void PaintText(TCanvas* K, TCanvas* EventCanvas, int OX, int OY, bool A, const TRect& T);
    void BuildPicture(TBitmap* B, TBitmap* P, const TRect& S);
    void Compose(TBitmap* B, TBitmap* P, const TRect& S, TColor C, bool A, const TRect& T);
    void DrawQuickButtons(TCanvas* Cnvs);
    bool HasQuickButtons();
};

// A strip of animation frames of the skin shown in the frame; with ButtonStyle a caption
// button carrying a command: its frames run forwards while hovered and back on leaving.
class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Start();
    void Stop();
    void ChangeFrame();
    void ShowFrame(int Value);
    void ExecuteCommand();
    void PopupObjectMenu();
    // The command's window state holds and the skin has a restore look.
    bool RestoreLook();

    int FFrame = 1, FInc = 25, TimerInterval = 25;
    TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false, FDown = false, FMenuTracking = false;
    int CountFrames = 1;
    bool Cycle = false, ButtonStyle = false, Increment = true;
    TbsStdCommand Command = cmDefault;
    TRect DownSkinRect;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    String RestoreHint, FTempHint;

private:
    TRect FrameRect(int N);
    void RunOrDraw();
};

// ---------------------------------------------------------------------------------------
// The main menu bar
// ---------------------------------------------------------------------------------------

class TbsSkinMainMenuBar;

// A main menu whose popups take the skin of its own skin data.
class TbsSkinMainMenu : public TMainMenu {
public:
    using TMainMenu::TMainMenu;
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
};

// The three looks of a menu bar item in tool-bar mode.
enum TbsToolBarLook { tblNormal, tblActive, tblDown };

// One object on the menu bar: an item or an MDI button.
class TbsMenuBarObject : public TObject {
public:
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    virtual void ReDraw();
    virtual void Draw(TCanvas*) {}
    virtual void MouseDown(int, int, TMouseButton) {}
    virtual void MouseUp(int, int, TMouseButton) {}
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();
    bool EnableMorphing();
    void DoMorphing();

    TbsSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    bool FDown = false;
    double FMorphKf = 0;
    String IDName;
    TRect SkinRect, ActiveSkinRect, DownRect, ObjectRect;
    bool Active = false, Enabled = true, Visible = true, Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
};

// A top-level menu item shown on the bar; it opens its submenu through the form frame.
class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    void ReDraw() override;
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    bool EnableAnimation();
    void SetItemDown(bool Value);
    void PopupItemMenu();
    void DeactivateOtherItem();
    bool ReleaseOtherDownItem();

    bool FSkinSupport = false;
    bool OldEnabled = true;
    bool ItemVisible = true;  // false while the item does not fit on the bar
    TMenuItem* MenuItem = nullptr;
    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct, ItemDownRect;
    int LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0, CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    // Measures the item at its place after the item before it; false when it does not fit.
    bool Measure(TCanvas* Cnvs, bool Skinned);
    // The item font: the skin's (or, with Tool, the tool button record's) when the bar uses
    // skin fonts, else the bar's default item font.
    void SetItemFont(TCanvas* C, bool Skinned, const TbsDataSkinButtonControl* Tool = nullptr);
    int GlyphWidth(int* Height = nullptr);
    // Draws the glyph at X, centred in the rows Top .. Top + AreaHeight.
    void DrawGlyph(TCanvas* C, int X, int Top, int AreaHeight);
    void DrawText(TCanvas* C, TRect R, bool Selected);
    void SkinnedLook(TBitmap* B, TCanvas* Under, const TRect& S, bool Highlighted);
    // The look of the item on a bar in tool-bar mode, from the "resizetoolbutton" record.
    void ToolBarLook(TBitmap* B, TCanvas* Under, TbsToolBarLook Look);
};

// A button of a maximized MDI child shown at an end of the bar.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void ExecuteCommand();

    bool FSkinSupport = false;
    TbsStdCommand Command = cmClose;
};

using TbsItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TbsItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;

// The skinned bar of a form's main menu: it shows the top-level items and opens their
// submenus through the form frame.
class TbsSkinMainMenuBar : public TbsSkinControl {
public:
    explicit TbsSkinMainMenuBar(TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;

    bool ToolBarMode() const { return FToolBarMode; }
    void SetToolBarMode(bool V);
    bool ToolBarModeItemTransparent() const { return FToolBarModeItemTransparent; }
    void SetToolBarModeItemTransparent(bool V) { FToolBarModeItemTransparent = V; }
    // The skin's "resizetoolbutton" record the items take their looks from in tool-bar
    // mode; none without it.
    TbsDataSkinButtonControl* ToolButtonRecord() const;
    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool V);
    TFont* DefItemFont() const { return FDefItemFont.get(); }
    void SetDefItemFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool V) { FUseSkinFont = V; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool V);
    bool PopupToUp() const { return FPopupToUp; }
    void SetPopupToUp(bool V) { FPopupToUp = V; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TbsSkinFormFrame* SkinFormFrame() const { return BSF; }
    void SetSkinFormFrame(TbsSkinFormFrame* Value);
    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    TbsItemEnterEvent OnItemMouseEnter;
    TbsItemLeaveEvent OnItemMouseLeave;

    void CreateMenu();
    void UpDateItems();
    void UpDateEnabledItems();
    void Merge(TMainMenu* Menu);
    void UnMerge();
    TMainMenu* GetChildMainMenu();
    void EnterMenuMode();
    void LeaveMenuMode();
    void ReleaseDownItem();
    bool PressAccelItem(WORD Key);
    void SelectNextItem();
    void SelectPriorItem();
    bool PressSelectedItem();
    void ShowMDIButtons();
    void CheckMDIButtons();
    void RedrawObject(TbsMenuBarObject* Obj);
    void TrackMouse(int X, int Y);
    void CalcItemsRect();
    TRect GetMarkerRect() const;
    void PopupHiddenItems();
    void PaintBar(TCanvas* C);
    // The bar background in tool-bar mode: the skin's tool-bar panel at the bar's size.
    void PaintToolBarBackground(TBitmap* B);
    TbsSkinMainMenuBarItem* Item(int Index) const;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MenuActive = false, Scroll = false, MarkerActive = false;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    TRect NewItemsRect;
    TRect SkinRect, ItemsRect;
    String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    TBitmap* Picture = nullptr;
    bool StretchEffect = false, ItemTransparent = false;
    std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
    bool ChildMenuIn = false;

protected:
    void Paint() override {}
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void MouseTimerTick(TObject*);
    void MorphTimerTick(TObject*);
    void AnimateTimerTick(TObject*);
    void DrawMarker(TCanvas* C);
    void CreateMDIButtons();
    void RemoveMDIButtons();
    void EnableMDIButtons(TbsBorderIcons Icons);
    void ReleaseSysMenuButton();
    // The items that are enabled and shown, in bar order.
    std::vector<TbsSkinMainMenuBarItem*> ShownItems() const;

    bool FToolBarMode = false, FToolBarModeItemTransparent = false;
    bool FScrollMenu = true;
    std::unique_ptr<TFont> FDefItemFont;
    bool FUseSkinFont = true, FUseSkinSize = true, FPopupToUp = false;
    TbsSkinFormFrame* BSF = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TMainMenu* FMergeMenu = nullptr;
    // The child menu the items were built from (watched: its items must not outlive it).
    TMainMenu* FChildMenu = nullptr;
    int FDefaultWidth = 0, FDefaultHeight = 22;
};

// ---------------------------------------------------------------------------------------
// The layered border
// ---------------------------------------------------------------------------------------

class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone, bsflhLeft, bsflhTop, bsflhRight, bsflhBottom, bsflhTopLeft, bsflhTopRight, bsflhBottomLeft,
    bsflhBottomRight, bsflCaption, bsflObject
};

// One of the four windows of the layered border: a borderless layered top-level that shows
// its image, never takes the activation or the focus (it brings the form forward instead),
// resizes the form by its border zones and, with a full border, moves it by the caption
// and passes the mouse to the caption objects drawn in the top image.
class TbsFormLayerWindow : public TForm {
public:
    TbsFormLayerWindow(TComponent* AOwner, TCustomForm* AForm);
    void Dispatch(TMessage& Message) override;
    TbsFormLayerBorderHit GetHitMode(TPoint P);
    bool CanSizeForm();

    bool FDown = false;
    TCustomForm* FForm = nullptr;
    TbsFormLayerBorder* FLayerBorder = nullptr;
    TPoint MousePos1, MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;
    TbsFormLayerBorderType BorderType = bsflLeft;

protected:
    void CreateParams(TCreateParams& Params) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DblClickAt(int X, int Y);
    void ResizeStep(int DX, int DY, TPoint C);
    void MoveStep(int DX, int DY);
    void ApplyBounds(int L, int T, int W, int H);
};

// The soft border and shadow of a skin's layer frame, shown as four layered windows
// around the form (above, below, left and right).  With a full border the top window
// carries the whole caption: the standard buttons and the caption text are drawn into it.
class TbsFormLayerBorder : public TComponent {
public:
    explicit TbsFormLayerBorder(TComponent* AOwner);
    ~TbsFormLayerBorder() override;

    void InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm);
    void Show(int X, int Y, int AWidth, int AHeight);
    void ShowWithForm();
    void ShowWithFormAnimation();
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void Update(int X, int Y, int AWidth, int AHeight);
    void UpdateBorder();
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void Draw(TCanvas* C, int X, int Y, int AWidth, int AHeight);
    void HoverObjects(int X, int Y);
    void MouseTimerTick(TObject* Sender);
    // The border's outer rectangle (left, top, width, height) for a form of these bounds.
    TRect BorderBounds(int L, int T, int W, int H, bool RollUpHeight = true);
    // The constant alpha of the windows in the current look.
    int CurrentAlpha() const { return FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue; }
    bool BlurApplies();

    TbsSkinFormFrame* BSF = nullptr;
    bool FIsAeroEnabled = false;
    TTimer* MouseTimer = nullptr;
    // Steps the fade-in of ShowWithFormAnimation (every FadeStepInterval ms).
    TTimer* FadeTimer = nullptr;
    int FFadeTarget = 0, FFadeStep = 1;
    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
    TbsFormLayerWindow* LeftBorder = nullptr;
    TbsFormLayerWindow* TopBorder = nullptr;
    TbsFormLayerWindow* RightBorder = nullptr;
    TbsFormLayerWindow* BottomBorder = nullptr;
    int FWidth = 0, FHeight = 0;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    int HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    int HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    int OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
    HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
    HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = 0;

private:
    void FadeTimerTick(TObject* Sender);
    void StopFade();
    void CreateBorderImages(int BW, int BH);
    void PlaceObjects();
    void BuildBlurMaskRegions();
    void BuildBlurRegions();
    void FreeWindows();
    void PushImages(bool Blur);
    void PlaceWindows(int X, int Y, int BW, int BH, UINT ExtraFlags, bool HideEmptySides);
    void ReleaseStdButtons();
    int TopHeight() const;
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

    // ---- state read by the objects and the Parts of the frame
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
    bool FFormActive = false;
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
    bool FIsVistaOs = false, FIsW7 = false, FIsLayerEnabled = false, FHaveShadow = false;
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
