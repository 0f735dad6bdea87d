// The skinned ribbon: a strip of tabs at the top of a form, each tab bound to a page
// under the strip that scrolls its controls sideways when they do not fit; an
// application button at the strip's left end (opening a popup menu or the full-client
// application menu), caption buttons with images at its right end, and the close,
// restore and minimize buttons of a maximized MDI child.  A form frame links at most
// one ribbon (TbsSkinFormFrame::SkinRibbon).
#pragma once

#include <functional>

#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"
#include "platform/system/ComponentLink.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"

class TbsRibbon;
class TbsRibbonPage;
class TbsAppButton;
class TbsAppMenu;
class TbsAppMenuItem;
class TbsSkinFormFrame;
class TbsSkinHint;
class TbsSkinPopupMenu;

// ---------------------------------------------------------------------------------------
// Caption buttons and MDI buttons
// ---------------------------------------------------------------------------------------

class TbsRibbonButtonItem : public TCollectionItem {
public:
    explicit TbsRibbonButtonItem(TCollection* ACollection);

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
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnClick;  // Sender: the ribbon

    TRect ItemRect;  // from the last layout, ribbon coordinates
    bool Active = false;
    bool Down = false;
    int Code = 0;  // MDI buttons: 1 close, 2 restore, 3 minimize; 0 caption buttons

protected:
    int FImageIndex = -1;
    String FHint;
    bool FEnabled = true;
    bool FVisible = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
};

class TbsRibbonButtonItems : public TCollection {
public:
    explicit TbsRibbonButtonItems(TbsRibbon* ARibbon);

    TbsRibbonButtonItem* Add() { return static_cast<TbsRibbonButtonItem*>(TCollection::Add()); }
    TbsRibbonButtonItem* Insert(int Index) { return static_cast<TbsRibbonButtonItem*>(TCollection::Insert(Index)); }
    TbsRibbonButtonItem* Items(int Index) const { return static_cast<TbsRibbonButtonItem*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() override;

    TbsRibbon* Ribbon;

protected:
    void Update(TCollectionItem* Item) override;
};

// ---------------------------------------------------------------------------------------
// Tabs
// ---------------------------------------------------------------------------------------

class TbsRibbonTab : public TCollectionItem {
public:
    explicit TbsRibbonTab(TCollection* ACollection);
    ~TbsRibbonTab() override;

    TbsRibbonPage* Page() const { return FPage; }
    void SetPage(TbsRibbonPage* Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Assign(TPersistent* Source) override;

    bool Active = false;  // under the pointer
    TRect ItemRect;       // from the ribbon's layout
    int Width = 0;        // measured width from the ribbon's layout

    // The ribbon of the tab's collection, or nullptr.
    TbsRibbon* Ribbon() const;

    TbsRibbonPage* FPage = nullptr;
    bool FVisible = true;
};

class TbsRibbonTabs : public TCollection {
public:
    explicit TbsRibbonTabs(TbsRibbon* ARibbon);

    // The collection's operations; a tab added while the ribbon runs gets its page.
    TbsRibbonTab* Add();
    TbsRibbonTab* Insert(int Index);
    // Frees the tab's page (while the ribbon runs), then removes the tab.
    void Delete(int Index);
    // Removes the tabs only: their pages stay components of the form.
    void Clear() { TCollection::Clear(); }
    TbsRibbonTab* Items(int Index) const { return static_cast<TbsRibbonTab*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() override;

    TbsRibbon* Ribbon;

protected:
    void Update(TCollectionItem* Item) override;
    void CreatePage(TbsRibbonTab* Tab);
};

// ---------------------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------------------

// A container that scrolls its children sideways when they reach past its client area:
// a 12-pixel scroll button then shows in the non-client area on each side.
class TbsRibbonCustomPage : public TCustomControl {
public:
    // Hit-test codes of the left and right scroll buttons.
    static constexpr int HTSCROLLLEFT = 119, HTSCROLLRIGHT = 120;
    static constexpr int ScrollButtonSize = 12;
    struct TScrollButton {
        TRect R;  // window coordinates
        bool MouseIn = false, Down = false, Visible = false;
    };

    explicit TbsRibbonCustomPage(TComponent* AOwner);
    ~TbsRibbonCustomPage() override;

    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value) { FCanScroll = Value; }
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool Value) { FHotScroll = Value; }
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int Value);
    int Position() const { return SPosition; }
    void SetPosition(int Value);

    // Sets the bounds again (re-measures the content).
    void UpDateSize();
    // Measures the content when scrolling is on.
    void GetScrollInfo();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    void Dispatch(TMessage& Message) override;

    // Measuring the content and one step back (false) or forward (true).
    void CalcScrollRange();
    void ScrollStep(bool Forward);
    void ScrollContent(int D);
    void SetButtonsVisible(bool Value);
    bool ButtonsVisible() const { return Buttons[0].Visible; }

    TScrollButton Buttons[2];  // left (scrolls back), right (scrolls forward)
    int TimerMode = 0;         // 0 nothing, 1 step back, 2 step forward
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    int FHSizeOffset = 0;
    bool FMouseIn = false;
    bool ScrollTimerRunning() const { return FScrollTimer; }
    // The ribbon showing this page; none once the ribbon goes (the page may outlive it).
    TComponentLink<TbsRibbon> Ribbon;

protected:
    void Paint() override {}
    void WndProc(TMessage& Message) override;
    void DrawScrollButton(TCanvas* C, int Index);
    void PaintScrollButtons(HDC DC);
    void StartScrollTimer();
    void StopScrollTimer();
    void ButtonDown(int Index);
    void ButtonUp(int Index);
    void MouseEnterPage();
    void MouseLeavePage();
    void ClearHotButton();

    bool FCanScroll = true;
    bool FHotScroll = false;
    bool FScrollTimer = false;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
};

// A page of the ribbon: its caption shows on its tab, its bounds are the ribbon's page
// area, and its background comes from the ribbon's skin.
class TbsRibbonPage : public TbsRibbonCustomPage {
public:
    explicit TbsRibbonPage(TComponent* AOwner);
    ~TbsRibbonPage() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;
    // The background into DC: the ribbon's background picture, its client tile, or
    // the button face.
    void PaintBG(HDC DC);

protected:
    String FCaption;
};

// ---------------------------------------------------------------------------------------
// The ribbon
// ---------------------------------------------------------------------------------------

class TbsRibbon : public TbsSkinControl {
public:
    explicit TbsRibbon(TComponent* AOwner);
    ~TbsRibbon() override;

    // ---- properties
    TbsRibbonTabs* Tabs() const { return FTabs; }
    void SetTabs(TbsRibbonTabs* Value);
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    TbsRibbonPage* ActivePage() const;
    void SetActivePage(TbsRibbonPage* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int AppButtonSpacing() const;
    void SetAppButtonSpacing(int Value);
    int AppButtonMargin() const;
    void SetAppButtonMargin(int Value);
    String AppButtonCaption() const;
    void SetAppButtonCaption(const String& Value);
    int AppButtonWidth() const { return FAppButtonWidth; }
    void SetAppButtonWidth(int Value);
    TCustomImageList* AppButtonImageList() const { return FAppButtonImageList; }
    void SetAppButtonImageList(TCustomImageList* Value);
    int AppButtonImageIndex() const { return FAppButtonImageIndex; }
    void SetAppButtonImageIndex(int Value);
    TbsSkinPopupMenu* AppButtonPopupMenu() const { return FAppButtonPopupMenu; }
    void SetAppButtonPopupMenu(TbsSkinPopupMenu* Value);
    TbsRibbonButtonItems* Buttons() const { return FButtons; }
    void SetButtons(TbsRibbonButtonItems* Value);
    TbsRibbonButtonItems* MDIButtons() const { return FMDIButtons; }
    TCustomImageList* ButtonsImageList() const { return FButtonsImageList; }
    void SetButtonsImageList(TCustomImageList* Value);
    bool ButtonsShowHint() const { return FButtonsShowHint; }
    void SetButtonsShowHint(bool Value) { FButtonsShowHint = Value; }
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TbsAppMenu* AppMenu() const { return FAppMenu; }
    void SetAppMenu(TbsAppMenu* Value);
    bool TabBoldStyle() const { return FTabBoldStyle; }
    void SetTabBoldStyle(bool Value);
    TbsAppButton* AppButton() const { return FAppButton; }
    bool ShowDivider() const { return FShowDivider; }
    int LeftOffset() const { return FLeftOffset; }
    int RightOffset() const { return FRightOffset; }

    // ---- events
    TNotifyEvent OnChangePage, OnChangingPage, OnMenuClose;

    // ---- the application menu and the MDI buttons
    void ShowAppMenu();
    void HideAppMenu(TbsAppMenuItem* Item);
    bool AppMenuVisible() const;
    void MDIChildMaximize();
    void MDIChildRestore();

    // ---- skin, painting
    void GetSkinData() override;
    void SetSkinData(TbsSkinData* Value) override;
    void ChangeSkinData() override;
    void Loaded() override;
    void PaintRibbon(TCanvas* C);

    // ---- layout and geometry
    // Lays out the caption buttons, the MDI buttons and the tabs; captions are measured
    // on C's font.
    void CalcLayout(TCanvas* C);
    int GetTabsHeight();
    // The page area: left, top, width and height.
    void GetPageBounds(int& L, int& T, int& W, int& H);
    TRect GetPageRect();
    void GetMDIButtonSize(int& W, int& H);
    int TabAtPoint(TPoint P);
    bool HasVisibleTabs() const;
    int PageToTabIndex(TbsRibbonPage* Page) const;
    void SelectFirstTab();
    void SelectLastTab();
    void SelectNextTab();
    void SelectPriorTab(bool FocusAppButton);
    void TestActive(int X, int Y);
    // The width of a tab caption as DT_CALCRECT measures it on C; tests replace it.
    std::function<int(TCanvas* C, const String& S)> MeasureCaption;

    void Dispatch(TMessage& Message) override;

    // ---- state shared with the tabs, pages, application button and menu
    TComponentLink<TbsSkinFormFrame> BSF;  // the frame linking this ribbon; none once it goes
    bool FStopCheckTabIndex = false;
    bool WMEraseReady = false;
    TbsDataSkinTabControl* FData = nullptr;
    TBitmap* FDataPicture = nullptr;
    int FTabActive = -1, FOldTabActive = -1;
    int FActiveButton = -1, FOldActiveButton = -1;
    int FMDIActiveButton = -1, FMDIOldActiveButton = -1;
    int FMouseCaptureButton = -1, FMouseCaptureMDIButton = -1;
    int FPopupButton = -1;
    bool InAppHook() const { return FInAppHook; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void CreateAppButton();
    void AppButtonHideTrackMenu(TObject* Sender);
    void CreateMDIButtons();
    void ClearMDIButtons();
    void MDICloseClick(TObject* Sender);
    void MDIRestoreClick(TObject* Sender);
    void MDIMinimizeClick(TObject* Sender);
    void PopupButtonMenu(const TRect& R, TbsSkinPopupMenu* Menu);
    void HookAppMessages();
    void UnhookAppMessages();
    void AppMessageHook(TMsg& Msg, bool& Handled);
    // Places the application menu over the form's client area (under the button, or all
    // of it when the skin gives the menu a back button).
    void PlaceAppMenu();

    // painting
    void DrawDefaultTab(TCanvas* C, int Index);
    void DrawSkinTab(TCanvas* C, int Index);
    void DrawTabCaption(TCanvas* C, const String& S, const TRect& R);
    void DrawButton(TCanvas* C, int Index);
    void DrawMDIButton(TCanvas* C, int Index);
    void PaintClientBG(TCanvas* C, const TRect& R);

    bool FInAppHook = false;
    TbsAppMenu* FAppMenu = nullptr;
    TbsRibbonButtonItems* FMDIButtons = nullptr;
    TbsRibbonButtonItems* FButtons = nullptr;
    TCustomImageList* FButtonsImageList = nullptr;
    bool FButtonsShowHint = false;
    TbsSkinHint* FSkinHint = nullptr;
    bool FShowDivider = false;
    bool FUseSkinFont = true;
    TbsRibbonTabs* FTabs = nullptr;
    int FTabIndex = -1;
    int FLeftOffset = 57;
    int FRightOffset = 5;
    int FAppButtonWidth = 54;
    TbsAppButton* FAppButton = nullptr;
    TCustomImageList* FAppButtonImageList = nullptr;
    int FAppButtonImageIndex = 0;
    TbsSkinPopupMenu* FAppButtonPopupMenu = nullptr;
    bool FTabBoldStyle = false;
};
