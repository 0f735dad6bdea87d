// The ribbon's application button and application menu.
//
// TbsAppButton sits at the left end of the ribbon's tab strip. It either drops down the
// ribbon's popup menu or, when the ribbon links an application menu, opens TbsAppMenu: a
// panel over the form's client area with a column of items on the left and a page area on
// the right. An item either acts (the menu closes and its OnClick runs) or owns a page
// (TbsAppMenuPage) shown in the page area while it is selected. The item column scrolls
// with a skinned scroll bar when it is taller than the menu; pages scroll their children
// with two buttons in their non-client area.
#pragma once

#include <memory>

#include "platform/system/ComponentLink.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/menus/bsSkinHint.h"

class TbsRibbon;
class TbsAppMenu;
class TbsAppMenuItem;
class TbsAppMenuPage;

// Hit-test answers of a page's two scroll buttons (non-client area).
constexpr LRESULT HTAPPMENUSCROLLUP = 119;
constexpr LRESULT HTAPPMENUSCROLLDOWN = 120;

// ---------------------------------------------------------------------------------------
// The application button
// ---------------------------------------------------------------------------------------

class TbsAppButton : public TbsSkinMenuButton {
public:
    explicit TbsAppButton(TComponent* AOwner);

    // The whole button opens the ribbon's application menu when the ribbon links one.
    bool CanMenuPopup(int X, int Y) override;
    // Shows the ribbon's application menu, or drops down the ribbon's popup menu.
    void TrackMenu() override;
    // The menu it opened closed: neither tracked nor down any more.
    void ClearMenuTracking();

    void Dispatch(TMessage& Message) override;

    TComponentLink<TbsRibbon> Ribbon;  // the owning ribbon; set by it

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// ---------------------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------------------

class TbsAppMenuItem : public TCollectionItem {
public:
    explicit TbsAppMenuItem(TCollection* ACollection);

    TbsAppMenuPage* Page() const { return FPage; }
    void SetPage(TbsAppMenuPage* Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    void Assign(TPersistent* Source) override;
    // Forgets the page (it went away) without touching the menu.
    void ClearPage() { FPage = nullptr; }

    // Runs when the menu closes by choosing this item; Sender is the ribbon.
    TNotifyEvent OnClick;

    bool Active = false;  // the pointer is over the item
    TRect ItemRect;       // from the last layout, in menu coordinates

private:
    TbsAppMenuPage* FPage = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    int FImageIndex = -1;
    String FCaption;
};

class TbsAppMenuItems : public TCollection {
public:
    explicit TbsAppMenuItems(TbsAppMenu* AAppMenu);
    TbsAppMenuItem* Items(int Index) const { return static_cast<TbsAppMenuItem*>(TCollection::Items(Index)); }
    TbsAppMenuItem* Add() { return static_cast<TbsAppMenuItem*>(TCollection::Add()); }
    TbsAppMenuItem* Insert(int Index) { return static_cast<TbsAppMenuItem*>(TCollection::Insert(Index)); }
    TPersistent* GetOwner() override;

    TbsAppMenu* AppMenu;

protected:
    void Update(TCollectionItem* AItem) override;
};

// ---------------------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------------------

// A container whose children scroll vertically by two 12-pixel buttons drawn above and
// below its client area, shown only while the children reach below it.
class TbsAppMenuCustomPage : public TCustomControl {
public:
    struct TScrollButton {
        TRect R;  // window coordinates
        bool MouseIn = false;
        bool Down = false;
        bool Visible = false;
    };

    explicit TbsAppMenuCustomPage(TComponent* AOwner);
    ~TbsAppMenuCustomPage() override;

    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool Value) { FHotScroll = Value; }
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int Value);
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    int Position() const { return SPosition; }
    void SetPosition(int Value);

    // Sets the current bounds again.
    void UpDateSize();
    // Computes the scroll range, unless suspended or scrolling is off.
    void GetScrollInfo();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    // Range computation and stepping (public so that the transitions can be driven).
    void CalcScrollRange();
    void ScrollStep(bool Down);
    bool HasScrollButtons() const { return Buttons[0].Visible || Buttons[1].Visible; }

    bool FMouseIn = false;
    int TimerMode = 0;  // auto-scroll direction: 0 none, 1 up, 2 down
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    int FVSizeOffset = 0;
    TScrollButton Buttons[2];  // 0 up, 1 down
    bool FStopScroll = true;
    // The menu showing this page; none once the menu goes (the page may outlive it).
    TComponentLink<TbsAppMenu> AppMenu;

protected:
    void Paint() override {}
    void SetButtonsVisible(bool Value);
    void StartScrollTimer();
    void StopScrollTimer();
    void ScrollContent(int Distance);
    void ButtonDown(int Index);
    void ButtonUp(int Index);
    void MouseEnterPage();
    void MouseLeavePage();
    void DrawScrollButton(TCanvas* Cnvs, int Index);
    void PaintButtonsTo(HDC DC);
    void RepaintNC();

    bool FCanScroll = false;
    bool FHotScroll = false;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
};

// The page an application menu item shows: it places itself in the menu's page area and
// paints its background from the menu's skin.
class TbsAppMenuPage : public TbsAppMenuCustomPage {
public:
    explicit TbsAppMenuPage(TComponent* AOwner);
    ~TbsAppMenuPage() override;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    // The control that takes the focus when Enter is pressed on the page's item.
    TWinControl* FirstActiveControl() const { return FFirstActiveControl; }
    void SetFirstActiveControl(TWinControl* Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;
    void PaintBG(HDC DC);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;

    int FDefaultWidth = 0;
    TWinControl* FFirstActiveControl = nullptr;
};

// ---------------------------------------------------------------------------------------
// The application menu
// ---------------------------------------------------------------------------------------

// How one item is drawn: highlighted (on its skin part, or the default face) or as plain
// text, in which colour and height; the default look's frame and arrow.
struct TbsAppMenuItemLook {
    bool Highlight = false;
    TRect Source;  // the skin part of a highlighted item
    TColor FontColor = 0;
    int FontHeight = 0;
    bool Frame = false, Arrow = false;
};

class TbsAppMenu : public TbsSkinControl {
public:
    explicit TbsAppMenu(TComponent* AOwner);
    ~TbsAppMenu() override;

    // ---- properties
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int ItemWidth() const { return FItemWidth; }
    void SetItemWidth(int Value);
    TbsAppMenuItems* Items() const { return FItems.get(); }
    void SetItems(TbsAppMenuItems* Value);
    TbsAppMenuPage* ActivePage() const { return FActivePage; }
    void SetActivePage(TbsAppMenuPage* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TCustomImageList* ItemImageList() const { return FItemImageList; }
    void SetItemImageList(TCustomImageList* Value);
    TCustomImageList* ItemPageImageList() const { return FItemPageImageList; }
    void SetItemPageImageList(TCustomImageList* Value);
    // The selected item, -1 for none. A value outside the items is kept but selects none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The selected item, or null when the index names none.
    TbsAppMenuItem* SelectedItem() const;
    int ScrollOffset() const { return FScrollOffset; }
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar; }

    TNotifyEvent OnChangePage, OnShowMenu, OnShowingMenu, OnHideMenu, OnHidingMenu;

    // ---- operations
    void FindNextItem();
    void FindPriorItem();
    void FindFirstItem();
    void FindLastItem();
    void UpdateScrollInfo();
    // The caption strip the form frame draws into its caption while the menu is open.
    bool CanDrawAppMenuCaption();
    int GetAppMenuCaptionOffset();
    void DrawAppMenuCaption(TCanvas* Cnvs, TRect R);
    // A new page in the page area, owned by the menu's form, made the active page.
    TbsAppMenuPage* CreatePage();
    int PageToItemIndex(TbsAppMenuPage* Page) const;
    void GetPageBounds(TRect& Bounds);
    int ItemAtPoint(TPoint P) const;
    bool CanShowGripper();
    TRect GetGripperRect() const;
    TRect GetActivePageRect() const;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetSkinData(TbsSkinData* Value) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    // Layout and scrolling (public so that tests can read the layout).
    void CalcItemRects();
    // Walks the visible items down the column scrolled by Offset (placing them when
    // SetRects); the y below the last one.
    int WalkColumn(int Offset, bool SetRects);
    void CalcScrollInfo(int& AMin, int& AMax, int& APage);
    void ScrollToItem(int Index);
    void TestActive(int X, int Y);
    void PaintAppMenu(TCanvas* Cnvs);
    TbsAppMenuItemLook ItemLook(int Index);

    TbsDataSkinAppMenu* FData = nullptr;
    TBitmap* FDataPicture = nullptr;
    TBitmap* FDataBGPicture = nullptr;
    TBitmap* FDataPageBGPicture = nullptr;
    // The ribbon whose application menu this is; none once the ribbon goes.
    TComponentLink<TbsRibbon> Ribbon;
    TRect FBackButtonRect;
    bool FBackButtonActive = false;
    int FItemActive = -1, FOldItemActive = -1;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void ShowScrollBar();
    void HideScrollBar();
    void HideScrollBarNow();
    // A scroll bar exactly while the column (AMax) is taller than APage, with that range.
    void ApplyScrollRange(int AMax, int APage);
    void AdjustScrollBar();
    void ScrollBarChange(TObject* Sender);
    void WMSize();
    void WMMouseWheel(TMessage& M);
    bool ValidIndex(int Index) const { return Index >= 0 && Index < FItems->Count(); }
    void DrawSkinItem(TCanvas* Cnvs, int Index);
    void DrawDefaultItem(TCanvas* Cnvs, int Index);
    void DrawItemText(TCanvas* Cnvs, TbsAppMenuItem* Item, TRect R, bool Skinned, bool SameLook);
    void SetItemFont(TCanvas* Cnvs, TColor Color, int Height);

    int FScrollOffset = 0;
    TbsSkinScrollBar* FScrollBar = nullptr;
    int FOldHeight = -1;
    bool FUseSkinFont = true;
    int FItemIndex = -1;
    TbsSkinHint* FSkinHint = nullptr;
    std::unique_ptr<TbsAppMenuItems> FItems;
    TbsAppMenuPage* FActivePage = nullptr;
    int FItemWidth = 100;
    TCustomImageList* FItemImageList = nullptr;
    TCustomImageList* FItemPageImageList = nullptr;
};

// Name := Pattern with the first number from 1 that no component of Form carries
// (Pattern with 1 when there is no form).
void MakeUniqueName(const String& Pattern, TComponent* Form, String& Name);
