// The MDI tabs bar: one tab per MDI child of the main form, in the look of the skin's
// tab record or of a skinned tool button; a click shows the tab's child, tabs can be
// dragged to a new place, closed by their close buttons, and reached through list
// buttons when they do not fit.
#pragma once

#include <memory>
#include <vector>

#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"

class TbsSkinMDITabsBar;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab : public TObject {
public:
    TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild);

    TbsSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    TRect ObjectRect;  // place on the bar (client coordinates), empty while hidden
    TCustomForm* Child;
    bool Visible = false;
    TRect ButtonRect;  // the close button inside the tab (tab coordinates)
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

    void Draw(TCanvas* Cnvs);

private:
    // The looks, each composing the tab in B (of the tab's size).
    void DefaultDraw(TBitmap* B);
    void SkinSizeDraw(TBitmap* B);
    void ResizeDraw(TBitmap* B);
    void ButtonDraw(TBitmap* B);
    // The caption (and icon) in R of B's canvas, after the text area is known.
    void DrawCaption(TBitmap* B, TRect R, bool FireDrawParams);
    void DrawCloseButton(TCanvas* Cnvs, TRect R);
    // Draws the child's icon centred in Slot, widening a slot narrower than the icon.
    void DrawChildIcon(TCanvas* Cnvs, TRect& Slot);
    // The caption's font: the bar's skin font, else its DefaultFont, in the current colour.
    void SetCaptionFont(TCanvas* C);
};

using TbsMDITabMouseEnterEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseLeaveEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseUpEvent = std::function<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabMouseDownEvent = std::function<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabGetDrawParamsEvent = std::function<void(TbsMDITab* MDITab, TCanvas* Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl {
public:
    explicit TbsSkinMDITabsBar(TComponent* AOwner);
    ~TbsSkinMDITabsBar() override;

    // ---- properties
    bool ShowAddButton() const { return FShowAddButton; }
    void SetShowAddButton(bool Value);
    bool DblClickChildMove() const { return FDblClickChildMove; }
    void SetDblClickChildMove(bool V) { FDblClickChildMove = V; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool V);
    int MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(int V);
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind Value);
    bool SupportChildMenus() const { return FSupportChildMenus; }
    void SetSupportChildMenus(bool V) { FSupportChildMenus = V; }
    int DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(int V);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool MoveTabs() const { return FMoveTabs; }
    void SetMoveTabs(bool V) { FMoveTabs = V; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool V) { FUseSkinSize = V; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool V) { FUseSkinFont = V; }
    bool ShowChildIcon() const { return FShowChildIcon; }
    void SetShowChildIcon(bool Value);
    TbsSkinFormFrame* SkinFormFrame() const { return BSF; }
    void SetSkinFormFrame(TbsSkinFormFrame* Value);

    // ---- events
    TNotifyEvent OnAddButtonClick;
    TbsMDITabMouseEnterEvent OnTabMouseEnter;
    TbsMDITabMouseLeaveEvent OnTabMouseLeave;
    TbsMDITabMouseUpEvent OnTabMouseUp;
    TbsMDITabMouseDownEvent OnTabMouseDown;
    TbsMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

    // ---- the tabs
    void AddTab(TCustomForm* Child);
    void DeleteTab(TCustomForm* Child);
    void UpdateActiveTab();
    int GetTabIndex(int X, int Y) const;
    TbsMDITab* GetTab(int X, int Y) const;
    int GetCloseSize() const;
    int TabCount() const { return int(ObjectList.size()); }
    TbsMDITab* Tabs(int I) const { return ObjectList.at(size_t(I)).get(); }
    int InVisibleCount() const { return FInVisibleCount; }
    const TRect& AddButtonRect() const { return FAddButtonRect; }
    TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TbsSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    TbsSkinPopupMenu* ListMenu() const { return FListMenu; }
    TbsSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
    // The layout of the tabs at the bar's current size (run before every image build).
    void CalcTabRects();
    // The place a dragged tab would drop at, or -1.
    int GetDropIndex() const;
    void FillListMenu(TObject* Sender);
    void FillHideListMenu(TObject* Sender);

    // ---- the skin operations
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void Dispatch(TMessage& Message) override;

    // The skin copies read from the "tab" record.
    TBitmap* Picture = nullptr;
    TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
    int TabLeftOffset = 0, TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = clBlack, ActiveFontColor = clBlack, MouseInFontColor = clBlack;
    bool TabStretchEffect = false;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = clFuchsia;
    TPoint LTPoint, RTPoint;
    TRect SkinRect, ClRect;
    bool TopStretch = false;
    int FActiveTabOffset = 0;
    int FCloseSize = 14;
    int FBottomOffset = 0;
    bool IsDrag = false;
    int DX = 0, TabDX = 0;
    bool FDown = false;
    int DragIndex = -1;
    int ActiveTabIndex = -1, OldTabIndex = -1;
    bool FAddButtonActive = false, FAddButtonDown = false;

protected:
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TbsMDITab;
    void TrackTabs(int X, int Y);
    void DrawTabs(TCanvas* C);
    void DrawAddButton(TCanvas* C);
    void DrawDropMarker(TCanvas* C);
    void DrawTabOnBar(TbsMDITab* T);
    void CloseTab(TbsMDITab* T);
    void ShowChild(TCustomForm* Child);
    void ShowListButton();
    void RemoveListButton();
    void ShowHideListButton();
    void RemoveHideListButton();
    void ListMenuItemClick(TCustomForm* Child);
    void FillTabsMenu(TbsSkinPopupMenu* Menu, bool HiddenOnly);
    TbsSkinMenuSpeedButton* MakeListButton(TAlign Align, int ArrowKind, TbsSkinPopupMenu* Menu, TNotifyEvent OnShow);
    void FreeListButton(TbsSkinMenuSpeedButton*& Button);
    TbsDataSkinButtonControl* ButtonRecord(const String& Name) const;

    bool FShowAddButton = false;
    bool FDblClickChildMove = false;
    bool FShowCloseButtons = false;
    int FMinTabWidth = 0;
    TbsSkinMDITabKind FTabKind = bstkTab;
    bool FSupportChildMenus = true;
    int FDefaultTabWidth = 100;
    int FDefaultHeight = 21;
    std::unique_ptr<TFont> FDefaultFont;
    bool FMoveTabs = true;
    bool FUseSkinSize = true, FUseSkinFont = true;
    bool FShowChildIcon = false;
    TbsSkinFormFrame* BSF = nullptr;
    TbsSkinMenuSpeedButton* FListButton = nullptr;
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    TbsSkinPopupMenu* FListMenu = nullptr;
    TbsSkinPopupMenu* FHideListMenu = nullptr;
    int FInVisibleCount = 0;
    int FDragLimit = 0;
    TRect FAddButtonRect;
    std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
};
