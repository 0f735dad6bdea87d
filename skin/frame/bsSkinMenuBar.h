// The skinned main menu bar of a form: a main menu whose popups take its own skin data,
// the bar (top-level items laid out from the skin or in the default look, menu mode by
// mouse and keyboard, the marker of items that do not fit, a maximized MDI child's menu
// merged in), its items and the buttons of a maximized MDI child.  It opens its submenus
// through the form frame it is linked to.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/frame/bsSkinCaptionObjects.h"

class TbsSkinFormFrame;

// Builds in B, at W x H, the look S (in Pic) of a resizable control record R: its corner
// points and client rectangle move with the size, its edges follow its stretch flags.
void bsCustomControlImage(TBitmap* B, const TbsDataSkinCustomControl* R, TBitmap* Pic, const TRect& S, int W, int H);

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

    // Its place on the bar, set by the bar's layout.
    const TRect& ObjectRect() const { return FObjectRect; }
    void SetObjectRect(const TRect& Value) { FObjectRect = Value; }
    // Highlighted, pressed and enabled; the bar redraws the object after changing them.
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // The object is neither highlighted nor under the mouse any more (not redrawn).
    void ReleaseMouse() { FActive = FMouseIn = false; }
    const String& IDName() const { return FIDName; }

    TbsSkinMainMenuBar* Parent;
    TBitmap* Picture = nullptr;
    double FMorphKf = 0;
    TRect SkinRect, ActiveSkinRect, DownRect;
    bool Visible = true, Morphing = false;
    TbsMorphKind MorphKind = mkDefault;

protected:
    bool FMouseIn = false;
    bool FDown = false;
    String FIDName;
    TRect FObjectRect;
    bool FActive = false, FEnabled = true;
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
    // The menu item the item shows: it takes its name and its enabled state from it.
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* Value);
    // One step of the item's animation towards its look (forwards while highlighted);
    // false when it stands at the end already.  The bar draws the item after a step.
    bool AnimationStep();
    // The animation goes back to its first frame.
    void ResetAnimation() { FCurrentFrame = 0; }

    bool FSkinSupport = false;
    bool ItemVisible = true;  // false while the item does not fit on the bar
    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct, ItemDownRect;
    int LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;

private:
    bool FOldEnabled = true;
    TMenuItem* FMenuItem = nullptr;
    int FCurrentFrame = 0;

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
    // The button's slot on the bar: its name, and the command it runs when the skin does
    // not describe it (a skinned button keeps the skin's).
    void SetSlot(const String& AIDName, TbsStdCommand ACommand);
    TbsStdCommand Command() const { return FCommand; }

    bool FSkinSupport = false;

private:
    TbsStdCommand FCommand = cmClose;
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
    // The bar is in menu mode (accelerators underlined); the item pressed with a submenu
    // sets it, LeaveMenuMode clears it.
    bool MenuActive() const { return FMenuActive; }
    void SetMenuActive(bool Value) { FMenuActive = Value; }
    // Some items do not fit on the bar (the marker of the hidden items shows); measured
    // by the items.
    bool Scroll() const { return FScroll; }
    void SetScroll(bool Value) { FScroll = Value; }

    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MarkerActive = false;
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
    bool FMenuActive = false, FScroll = false;
};
