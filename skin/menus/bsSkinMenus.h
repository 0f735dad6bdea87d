// Skinned menus: the entries of a popup menu window (TbsSkinMenuItem), the window of one
// open menu level (TbsSkinPopupWindow), the chain of levels that a form frame owns
// (TbsSkinMenu), the popup menu component that opens through the chain of its hosting
// frame (TbsSkinPopupMenu) and the images menu, a drop-down grid of pictures
// (TbsSkinImagesMenu).
//
// The chain is never shown in the platform's own menu windows.  A popup menu finds its
// host (the form frame) through the resolver below, which the form frame installs; without
// a host nothing is shown.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/graphics/ImgList.h"
#include "skin/core/bsSkinData.h"

class TbsSkinPopupMenu;
class TbsSkinMenu;
class TbsSkinPopupWindow;
class TbsSkinHint;

// Sent by the chain (parameters 0, 0) to the control that opened it when the chain closes;
// Hide also sends it to the chain's form.
constexpr unsigned SkinMenuClosed = 1228;
// Sent by the chain (parameters 0, 0) to the remembered opener after a chosen item's
// command has run.
constexpr unsigned SkinMenuCommandDone = 1229;

// Delivers Msg (parameters 0, 0) to ACtrl: sent to a windowed control with a window,
// dispatched directly to any other control; nothing for none.
void bsSendSkinMenuMessage(TControl* ACtrl, unsigned Msg);
inline void bsNotifySkinMenuClosed(TControl* ACtrl) { bsSendSkinMenuMessage(ACtrl, SkinMenuClosed); }

// True for the window messages on which a form closes its open skinned menus.
bool IsMenuCloseMessage(UINT Msg);

// The small glyphs of menu items, top-left at X, Y, in Color.
void DrawMenuCheckMark(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMenuSubArrow(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMenuRadioDot(TCanvas* Canvas, int X, int Y, TColor Color);

// ---------------------------------------------------------------------------------------
// One entry of a popup menu window
// ---------------------------------------------------------------------------------------

class TbsSkinMenuItem : public TObject {
public:
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);

    void Draw(TCanvas* Cnvs);
    void ResizeDraw(TCanvas* Cnvs);
    void DefaultDraw(TCanvas* Cnvs);
    void MouseEnter(bool Kb);
    void MouseLeave();
    void MouseDown(int X, int Y);
    bool EnableMorphing() const;
    bool EnableAnimation() const;
    virtual bool CanMorphing();
    void DoMorphing();
    void SetMorphKf(double Value);
    double MorphKf() const { return FMorphKf; }
    void ReDraw();

    // The kinds of entries, from the menu item's caption, state and name.
    bool IsSeparator() const;
    bool IsHeader() const;
    // The system glyph of the item's name (0 = none, 1 close ... 6 minimise to tray).
    int SystemGlyph() const;
    bool HasSubMenu() const { return MenuItem && MenuItem->Count() > 0; }
    bool Usable() const { return MenuItem && MenuItem->Enabled() && !IsSeparator(); }

    // One state of the skinned item into B (Resized: the variant of another height); an
    // animation frame in use replaces the source rectangle.
    void CreateItemImage(TBitmap* B, bool AActive, bool AFrame, bool AResized);
    void CreateDividerImage(TBitmap* B);
    void DrawMenuHeader(TCanvas* C, TRect HR, bool AResized);
    // Frame k of the frame animation (1 .. FrameCount).
    TRect FrameRect(int K) const;

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    TBitmap* ActivePicture = nullptr;
    TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false, Down = false, FVisible = true, WaitCommand = false;
    int CurrentFrame = 0;

private:
    void DrawOn(TCanvas* Cnvs, bool AResized);
    void DrawSkinGlyph(TCanvas* C, const TRect& Src, const TRect& Dest);
    double FMorphKf = 0;
};

// ---------------------------------------------------------------------------------------
// The window of one menu level
// ---------------------------------------------------------------------------------------

class TbsSkinPopupWindow : public TCustomControl {
public:
    TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;

    void Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem, bool PopupUp);
    void Hide();
    void PaintMenu(HDC DC);
    void PopupKeyDown(int CharCode);
    void CloseChildLevels();
    // The cursor poll (the tick of MouseTimer) and the scroll step (window timer 1).
    void MouseTimerTick();
    void ScrollTimerTick();
    // The morph and frame-animation step of the items (the tick of MorphTimer).
    void MorphTimerTick();

    int ItemHeight(int Index) const;
    int NormalItemHeight() const;
    bool IsShown() const { return FVisible; }
    TbsSkinMenuItem* Item(int I) const { return ItemList[size_t(I)].get(); }
    int ItemCount() const { return int(ItemList.size()); }
    uint8_t AppliedAlpha() const { return FAppliedAlpha; }
    // The opacities of the last fade-in, in order.
    std::vector<uint8_t> FadeSteps;

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0, VisibleStartIndex = 0;
    bool Scroll = false, Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    HRGN FRgn = nullptr;
    int ShowX = 0, ShowY = 0;
    int OMX = -1, OMY = -1;
    TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
    int ActiveItem = -1;
    std::unique_ptr<TBitmap> FPaintBuffer;
    bool FShownBy2 = false;

    // Navigation steps (public for the chain and the tests).
    void TestActive(int X, int Y);
    bool PointOnItem(int X, int Y) const;
    bool CanScroll(int Code) const;
    void ScrollUp(bool Wrap);
    void ScrollDown(bool Wrap);
    void StartScroll();
    void StopScroll();
    int LastPageStart() const;
    void ArrangeItems();
    void CreateWindowImage(TBitmap* B, bool AFillItemsArea);
    void DrawItemBackground(TCanvas* C, const TRect& R);
    void DrawUpMarker(TCanvas* C);
    void DrawDownMarker(TCanvas* C);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void LoadItems(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool Two);
    void AddItems(TMenuItem* AItem, int From);
    void SetWindowSize();
    int CalcWindowWidth();
    void CalcGeometry();
    void UpdateWindowRegion();
    void CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp);
    void DoShow(const TRect& R, bool PopupByItem, bool PopupUp, const std::function<void()>& Fill);
    bool CursorInWindow(TPoint P) const;
    void NextItem();
    void PrevItem();
    bool SelectByAccel(int CharCode);
    void RedrawMarkers();
    uint8_t FAppliedAlpha = 255;
};

// ---------------------------------------------------------------------------------------
// The chain of menu levels of a form frame
// ---------------------------------------------------------------------------------------

class TbsSkinMenu : public TComponent {
public:
    TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm);
    ~TbsSkinMenu() override;

    void Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
               bool PopupUp);
    void Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
                TMenuItem* AItem2, bool PopupUp);
    void Hide();
    void ClosePopups(int Level);
    int IndexOfPopup(TbsSkinPopupWindow* W) const;
    void ItemAction(TbsSkinPopupWindow* W, TbsSkinMenuItem* Item, bool Execute, bool ByKeyboard);
    TRect GetWorkArea() const;
    void WaitTimerTick();

    bool Visible() const { return FVisible; }
    bool First() const { return FFirst; }
    int LevelCount() const { return int(FPopupList.size()); }
    TbsSkinPopupWindow* Level(int I) const { return FPopupList[size_t(I)]; }
    TbsSkinPopupWindow* LastLevel() const { return FPopupList.empty() ? nullptr : FPopupList.back(); }
    TCustomForm* Form() const { return FForm; }

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool V) { FUseSkinFont = V; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool V) { FUseSkinSize = V; }
    int DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
    void SetDefaultMenuItemHeight(int V) { FDefaultMenuItemHeight = V; }
    TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
    void SetDefaultMenuItemFont(TFont* V) { FDefaultMenuItemFont->Assign(V); }

    TNotifyEvent OnMenuClose;  // fired once when the chain closes, then cleared
    TControl* PopupCtrl = nullptr;
    TControl* DCtrl = nullptr;
    TTimer* WaitTimer = nullptr;
    TbsSkinMenuItem* WItem = nullptr;
    TRect WorkArea;
    TbsSkinData* SkinData = nullptr;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinPopupWindow* AddLevel();
    void SetPopupCtrl(TControl* C);
    void SetDCtrl(TControl* C);
    void Discard(TbsSkinPopupWindow* W);
    void EmptyGarbage();
    TCustomForm* FForm;
    bool FVisible = false, FFirst = false;
    bool FUseSkinFont = true, FUseSkinSize = true;
    int FDefaultMenuItemHeight = 20;
    std::unique_ptr<TFont> FDefaultMenuItemFont;
    std::vector<TbsSkinPopupWindow*> FPopupList;
    // Closed levels, hidden at once and freed once the message that closed them is done
    // (a level may close from inside its own mouse handling).
    std::vector<TbsSkinPopupWindow*> FGarbage;
    HWND FUtilWindow = nullptr;
};

// ---------------------------------------------------------------------------------------
// The popup menu component and its host
// ---------------------------------------------------------------------------------------

// What shows a skinned popup menu: the form frame of a form.
class TbsSkinMenuHost {
public:
    virtual ~TbsSkinMenuHost() = default;
    // The skin data of the host, used when the menu has none.
    virtual TbsSkinData* MenuSkinData() = 0;
    // Closes a skinned menu of the host that is still open.
    virtual void CloseSkinMenu() = 0;
    // Shows AMenu's items at R (screen coordinates; below R unless APopupUp) through the
    // host's chain and returns at once; ACtrl hears SkinMenuClosed when the chain closes.
    virtual void PopupSkinMenu(TbsSkinPopupMenu* AMenu, TControl* ACtrl, const TRect& R, bool APopupUp,
                               TbsSkinData* ASkinData) = 0;
    // The host's chain (none for a host that shows menus otherwise).
    virtual TbsSkinMenu* HostSkinMenu() { return nullptr; }
};

// Finds the host of a component (a form or the frame component itself); none by default.
using TbsSkinMenuHostResolver = std::function<TbsSkinMenuHost*(TComponent* AComponent)>;
void bsSetSkinMenuHostResolver(TbsSkinMenuHostResolver AResolver);
TbsSkinMenuHost* bsFindSkinMenuHost(TComponent* AComponent);

// A popup menu shown through the chain of its hosting form frame.
class TbsSkinPopupMenu : public TPopupMenu {
public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TComponent* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TComponent* Value);
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* Value);
    TPoint PopupPoint() const { return FPopupPoint; }

    // Opens the items at the point, downward, without an opener control.
    void Popup(int X, int Y) override;
    void PopupFromRect(const TRect& R, bool APopupUp);
    // With an opener control (it hears SkinMenuClosed and SkinMenuCommandDone); opens
    // only when skin data is found.
    void Popup2(TControl* ACtrl, int X, int Y);
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp);

    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Open(TControl* ACtrl, const TRect& R, bool APopupUp, bool ANeedSkinData);
    TbsSkinMenuHost* FindHost() const;
    TbsSkinData* FSD = nullptr;
    TComponent* FSkinComponent = nullptr;
    TCustomForm* FComponentForm = nullptr;
};

// ---------------------------------------------------------------------------------------
// The images menu
// ---------------------------------------------------------------------------------------

class TbsSkinImagesMenu;
class TbsSkinImagesMenuPopupWindow;

class TbsImagesMenuItem : public TCollectionItem {
public:
    explicit TbsImagesMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    void Assign(TPersistent* Source) override;
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    const String& Caption() const { return FCaption; }
    virtual void SetCaption(const String& Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool Button() const { return FButton; }
    void SetButton(bool Value) { FButton = Value; }
    bool Header() const { return FHeader; }
    void SetHeader(bool Value) { FHeader = Value; }
    TNotifyEvent OnClick;
    TRect ItemRect;

private:
    int FImageIndex = -1;
    String FCaption, FHint;
    bool FButton = false, FHeader = false;
};

class TbsImagesMenuItems : public TCollection {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AMenu);
    TbsImagesMenuItem* Add() { return static_cast<TbsImagesMenuItem*>(TCollection::Add()); }
    TbsImagesMenuItem* Items(int Index) const { return static_cast<TbsImagesMenuItem*>(TCollection::Items(Index)); }
    TbsSkinImagesMenu* ImagesMenu() const { return FMenu; }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TbsSkinImagesMenu* FMenu;
};

class TbsSkinImagesMenu : public TComponent {
public:
    explicit TbsSkinImagesMenu(TComponent* AOwner);
    ~TbsSkinImagesMenu() override;

    TbsImagesMenuItems* Items() const { return FItems.get(); }
    TbsImagesMenuItems* ImagesItems() const { return FItems.get(); }
    void SetImagesItems(TbsImagesMenuItems* Value) { FItems->Assign(Value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ColumnsCount() const { return FColumnsCount; }
    void SetColumnsCount(int Value);
    // The item at ItemIndex, or none when ItemIndex is outside the items.
    TbsImagesMenuItem* SelectedItem() const;
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    void Popup(int X, int Y) { PopupFromRect(TRect(X, Y, X, Y)); }
    // Closes an open grid without item events, fires OnMenuPopup and, when Images holds
    // images, opens the grid under R (above it when there is no room below).
    void PopupFromRect(const TRect& R);
    // Closes an open grid without choosing (no item events).
    void Hide();
    // Called by the grid as it closes: frees it and fires the events.
    void PopupHidden(bool AProcessEvents);
    bool GridVisible() const { return FPopupWindow != nullptr; }
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

    bool ShowSelectedItem = true;
    bool AlphaBlend = false, AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    bool UseSkinFont = true;
    bool ShowHints = true;

    TNotifyEvent OnMenuPopup, OnMenuClose, OnItemClick, OnChange;
    // For the owning menu button: the choice (or the pictures) changed; the grid closed.
    TNotifyEvent FOnInternalChange;
    TNotifyEvent FOnInternalMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsImagesMenuItems;
    friend class TbsSkinImagesMenuPopupWindow;
    void InternalChanged();
    std::unique_ptr<TbsImagesMenuItems> FItems;
    TCustomImageList* FImages = nullptr;
    TbsSkinData* FSD = nullptr;
    TbsSkinHint* FSkinHint = nullptr;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    int FColumnsCount = 1;
    std::unique_ptr<TFont> FDefaultFont;
    TbsSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
public:
    explicit TbsSkinImagesMenuPopupWindow(TComponent* AOwner);
    ~TbsSkinImagesMenuPopupWindow() override;

    void Show(const TRect& PopupRect);
    void Hide(bool AProcessEvents);
    int ItemAtPos(int X, int Y) const;
    void CalcItemRects();
    void CalcSize();
    void ProcessKey(int Key);
    // Frees the window once the message being handled is done.
    void Release();
    uint8_t AppliedAlpha() const { return FAppliedAlpha; }
    std::vector<uint8_t> FadeSteps;

    bool FSkinSupport = false;
    TbsSkinImagesMenu* ImagesMenu;
    HRGN FRgn = nullptr;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int MouseInItem = -1, OldMouseInItem = -1;
    bool FDown = false, FItemDown = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void NewAppMessage(TMsg& Msg, bool& Handled);
    bool CheckSkin();
    void DrawCellFrame(TCanvas* C, const TRect& R, bool Pressed);
    void DrawButtonCaption(TCanvas* C, const String& Text, TRect R, int State);
    void DrawHeader(TCanvas* C, const TRect& R, const String& Text);
    void SetHot(int Index);
    void HideHint();
    bool FClosing = false;
    bool FHooked = false;
    bool FReleased = false;
    uint8_t FAppliedAlpha = 255;
};
