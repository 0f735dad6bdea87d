// The common controls: list view with its column header, tree view, page control
// with tab sheets, track bar and progress bar.  Each one's own behaviour runs in its
// default handling (see NativeControl.h); notifications reach the control itself as
// CN_NOTIFY, where the class library turns them into events.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/StdCtrls.h"

class TCustomListView;
class TListItems;
class TListItem;

// ---------------------------------------------------------------------------------
// List view

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemRequestItem { irText, irImage, irParam, irState, irIndent };
using TItemRequest = TSet<TItemRequestItem>;
enum TCustomDrawStateItem { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot,
                            cdsMarked, cdsIndeterminate };
using TCustomDrawState = TSet<TCustomDrawStateItem>;
enum TListItemState { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
using TItemStates = TSet<TListItemState>;

// One row of a list view.
class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;
    void Assign(TPersistent* Source) override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& V);
    // Writing a sub-item redraws the row.
    TStrings* SubItems() { return FSubItems.get(); }
    void SetSubItems(TStrings* V) { FSubItems->Assign(V); }
    int SubItemImages(int I) const;
    void SetSubItemImages(int I, int V);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int V) { FStateIndex = V; }
    int Indent() const { return FIndent; }
    void SetIndent(int V) { FIndent = V; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    void* Data() const { return FData; }
    void SetData(void* V) { FData = V; }
    bool Selected() const;
    void SetSelected(bool V);
    bool Focused() const;
    void SetFocused(bool V);
    bool Cut() const { return false; }
    int Top() const;
    int Left() const;
    TRect DisplayRect(TDisplayCode Code) const;
    void MakeVisible(bool PartialOK);
    bool EditCaption();
    void CancelEdit();
    void Update();
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;
    TListItems* FOwner;
    String FCaption;
    std::unique_ptr<TStrings> FSubItems;
    std::vector<int> FSubItemImages;
    int FImageIndex = -1, FStateIndex = -1, FIndent = 0;
    bool FChecked = false;
    void* FData = nullptr;
    UINT FState = 0;  // LVIS_SELECTED, LVIS_FOCUSED
    int FIndex = -1;  // owner data: the row it stands for
};

// The rows of a list view; with OwnerData, only a count, the rows being asked for
// through OnData when needed.
class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* AOwner);
    ~TListItems() override;
    TCustomListView* Owner() const { return FOwner; }
    int Count() const;
    void SetCount(int V);  // owner data only
    TListItem* Item(int Index);
    TListItem* operator[](int Index) { return Item(Index); }
    TListItem* Add();
    TListItem* AddItem(TListItem* Item, int Index = -1);
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem* Item) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void Assign(TPersistent* Source) override;

private:
    friend class TCustomListView;
    friend class TListItem;
    TCustomListView* FOwner;
    std::vector<TListItem*> FItems;
    int FCount = 0;  // owner data
    int FUpdateCount = 0;
};

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* ACollection);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& V);
    int Width() const { return FWidth; }
    // Kept within MinWidth and MaxWidth (0: no limit).
    void SetWidth(int V);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int V);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int V);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool V) { FAutoSize = V; }
    bool Widenable() const { return FMaxWidth == 0 || FMaxWidth > std::max(FWidth, FMinWidth) + 1; }
    String DisplayName() const override { return FCaption; }

private:
    void Changed();
    String FCaption;
    int FWidth = 50, FMaxWidth = 0, FMinWidth = 0, FImageIndex = -1;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TCustomListView* AOwner);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int I) const { return static_cast<TListColumn*>(TCollection::Items(I)); }
    TListColumn* operator[](int I) const { return Items(I); }
    TCustomListView* Owner() const { return FOwner; }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TCustomListView* FOwner;
};

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent = std::function<void(TObject* Sender, TItemFind Find, const String& FindString,
                                                 TPoint FindPosition, void* FindData, int StartIndex,
                                                 TSearchDirection Direction, bool Wrap, int& Index)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, int SubItem,
                                                     TCustomDrawState State, bool& DefaultDraw)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;

// The list view.  Report view shows a column header, a child window of the class
// "SysHeader32" that an owner may subclass (WM_PARENTNOTIFY announces it); columns of
// width 0 with MaxWidth 1 are hidden and cannot be widened by dragging a divider.
// Scroll state: report view rows (vertical) and pixels (horizontal); list view
// columns (horizontal); icon views pixels.
class TCustomListView : public TNativeControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListItems* Items() { return FItems.get(); }
    TListColumns* Columns() { return FColumns.get(); }
    TListColumn* Column(int I) { return FColumns->Items(I); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle V);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool V);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool V);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool V) { FReadOnly = V; }
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool V);
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool V);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool V);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool V);
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool V);
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool V) { FFullDrag = V; }
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool V) { FColumnClick = V; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle V);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* V);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* V);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* V);
    // Besides these components, the window holds an image list of each kind (LVSIL_NORMAL,
    // LVSIL_SMALL, LVSIL_STATE) that a program gives it with LVM_SETIMAGELIST (the first
    // parameter the kind, the second the list; the answer is the list it replaced) and
    // reads with LVM_GETIMAGELIST.  The component of a kind, while one is set, takes that
    // kind's place: setting it drops the window's own list of the kind.  The lists are not
    // owned.

    // The first selected item (nullptr when none).
    TListItem* Selected();
    void SetSelected(TListItem* V);
    int SelCount();
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* V);
    int ItemIndex();  // the first selected row, -1 when none
    void SetItemIndex(int V);
    TListItem* TopItem();
    int VisibleRowCount();  // LVM_GETCOUNTPERPAGE
    void Scroll(int DX, int DY);
    TListItem* GetItemAt(int X, int Y);
    TListItem* GetNextItem(TListItem* Start, TSearchDirection Direction, TItemStates States);
    TListItem* FindCaption(int StartIndex, const String& Value, bool Partial, bool Inclusive, bool Wrap);
    bool IsEditing() const { return FEditor != nullptr; }
    void CancelEdit();  // ends an edit without taking its text
    void ClearSelection();
    void SelectAll();
    bool AlphaSort();
    bool CustomSort(const std::function<int(TListItem*, TListItem*)>& Compare);
    void UpdateItems(int First, int Last);
    HWND HeaderHandle() const { return FHeader; }
    TCanvas* Canvas() { return FCanvas.get(); }
    // The row height of report and list views.
    int RowHeight();
    TRect GetSubItemRect(int Row, int SubItem);  // sub-item 0 is the caption cell

    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVColumnClickEvent OnColumnClick;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCompareEvent OnCompare;
    TLVDeletedEvent OnDeletion, OnInsert;

    // Plumbing of the items and columns.
    void ItemChanged(TListItem* Item, TItemChange Change);
    void ItemsCountChanged();
    void ColumnsChanged();
    UINT NativeState(int Row);
    void SetNativeState(int Row, UINT State, UINT Mask);
    TRect NativeItemRect(int Row, TDisplayCode Code);
    void EnsureVisible(int Row, bool PartialOK);
    bool StartEdit(int Row);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void CNNotify(TMessage& Message);
    void DoSelectItem(TListItem* Item, bool Selected);

private:
    friend class TListHeader;
    friend class TListItems;
    // the native list view
    int RowCount() const;
    TListItem* RowItem(int Row);  // owner data: asks OnData
    String CellText(int Row, int Column);
    int CellImage(int Row, int Column);
    std::vector<int> ColumnOrder() const;
    int ColumnLeft(int Column);
    int TotalWidth();
    int HeaderHeight();
    int ListColumnWidth();
    int ItemsPerColumn();
    TSize IconCell();
    int ItemsPerIconRow();
    void Layout();
    void UpdateScroll();
    void SetScrollPosition(int X, int Y);
    void MouseNative(TMessage& M);
    void KeyNative(WORD Key);
    void CharNative(char32_t C);
    int HitTest(TPoint P, UINT* Flags, int* SubItem);
    void SelectOnly(int Row, bool Notify = true);
    void SelectRange(int From, int To);
    void SetFocusRow(int Row);
    bool ChangeState(int Row, UINT State, UINT Mask);
    int FindNative(int Start, const LVFINDINFO& Find);
    void InvalidateRow(int Row);
    void PaintReport(HDC DC);
    void PaintOther(HDC DC);
    void PaintItemCell(HDC DC, int Row, TRect R, bool Icon, bool Large);
    // The image list drawn for a kind: the component set for it, else the window's own.
    HIMAGELIST ImageListOf(int Kind) const;
    // Its image size (0 x 0 without a list) and image count.
    TSize ImageSizeOf(int Kind) const;
    int ImageCountOf(int Kind) const;
    void SetWindowImageList(int Kind, HIMAGELIST List);
    bool CustomDrawItem(HDC DC, int Row, TRect R, UINT State);
    void EndEdit(bool Accept);
    void WheelNative(TMessage& M);

    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TListItem> FTempItem;  // owner data
    std::vector<UINT> FOwnerStates;        // owner data: the state of each row
    std::vector<int> FOrder;               // header order: column indices left to right
    TViewStyle FViewStyle = vsIcon;
    bool FGridLines = false, FRowSelect = false, FReadOnly = false, FShowColumnHeaders = true, FCheckboxes = false,
         FMultiSelect = false, FHideSelection = true, FOwnerData = false, FFullDrag = false, FColumnClick = true;
    TBorderStyle FBorderStyle = bsSingle;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    HIMAGELIST FWindowImages[3] = {};  // the window's own lists by kind
    HWND FHeader = nullptr;
    WNDPROC FHeaderProc = nullptr;
    int FTopRow = 0;        // report and list views: first row (list: first column's first row)
    int FScrollX = 0;       // pixels (report, icon views)
    int FScrollY = 0;       // pixels (icon views)
    int FFocusRow = -1;
    int FAnchorRow = -1;
    bool FTracking = false;
    TTypeAhead FTypeAhead;
    TCustomEdit* FEditor = nullptr;
    int FEditRow = -1;
    bool FInEnd = false;
    bool FLayoutDirty = true;
    int FListColumnWidth = -1;  // list view: the column width, measured once per layout
    int FFetchedRow = -1;  // owner data: the row OnData filled last (during one paint)
    // the header's own state
    int FHeaderPressed = -1, FHeaderTrack = -1, FHeaderTrackX = 0, FHeaderTrackW = 0;
    bool FHeaderPressedIn = false;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};

// ---------------------------------------------------------------------------------
// Tree view

class TCustomTreeView;
class TTreeNodes;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum TSortType { stNone, stData, stText, stBoth };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum THitTestItem { htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
                    htOnStateIcon, htToLeft, htToRight };
using THitTests = TSet<THitTestItem>;

// One node of a tree view; its handle is the native item.
class TTreeNode : public TPersistent {
public:
    explicit TTreeNode(TTreeNodes* AOwner);
    ~TTreeNode() override;
    void Assign(TPersistent* Source) override;

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    HTREEITEM ItemId() const { return reinterpret_cast<HTREEITEM>(const_cast<TTreeNode*>(this)); }
    const String& Text() const { return FText; }
    void SetText(const String& V);
    void* Data() const { return FData; }
    void SetData(void* V) { FData = V; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int V);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int V);
    // Shows the expand button even before the node has children.
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool V);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool V);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool V);
    bool Focused() const { return Selected(); }
    int Level() const;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int I) const;
    int Index() const;
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    TTreeNode* GetNext() const;          // depth first
    TTreeNode* GetPrev() const;
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    bool IsVisible() const;              // every parent expanded
    void MakeVisible();
    // The row of the node (TextOnly: the text's box) in client coordinates; empty when
    // the node is not shown (a parent collapsed).
    TRect DisplayRect(bool TextOnly) const;
    bool EditText();
    void EndEdit(bool Cancel);
    void Delete();
    void DeleteChildren();
    bool AlphaSort(bool Recurse = false);
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& Compare, bool Recurse = false);
    bool HasAsParent(TTreeNode* Value) const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    String FText;
    void* FData = nullptr;
    int FImageIndex = -1, FSelectedIndex = -1, FStateIndex = -1;
    bool FHasChildren = false, FExpanded = false;
};

class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* AOwner);
    ~TTreeNodes() override;
    TCustomTreeView* Owner() const { return FOwner; }
    int Count() const;  // all nodes
    TTreeNode* Item(int AbsoluteIndex) const;
    TTreeNode* operator[](int I) const { return Item(I); }
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    TTreeNode* Add(TTreeNode* Sibling, const String& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Data);
    TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
    TTreeNode* AddChild(TTreeNode* Parent, const String& S);
    TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
    TTreeNode* Insert(TTreeNode* Sibling, const String& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void Assign(TPersistent* Source) override;

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InternalAdd(TTreeNode* Parent, int Index, const String& S, void* Data);
    std::vector<TTreeNode*>& Siblings(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    int FUpdateCount = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                       bool& PaintImages, bool& DefaultDraw)>;

// The tree view.  Scroll state: vertical in shown rows (0 .. shown nodes - 1, the page
// being the rows that fit), horizontal in pixels.
class TCustomTreeView : public TNativeControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return FItems.get(); }
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* V);
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* V);
    int Indent() const { return FIndent; }
    void SetIndent(int V);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool V);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool V);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool V);
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool V) { FRightClickSelect = V; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool V);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool V) { FReadOnly = V; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool V);
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool V) { FAutoExpand = V; }
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType V);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle V);
    // The setters stand for TVM_SETIMAGELIST; the lists are not owned.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* V);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* V);

    TTreeNode* GetNodeAt(int X, int Y);
    THitTests GetHitTestInfoAt(int X, int Y);
    int VisibleCount();  // rows that fit (TVM_GETVISIBLECOUNT)
    void FullExpand();
    void FullCollapse();
    bool IsEditing() const { return FEditor != nullptr; }
    bool AlphaSort(bool Recurse = true);
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& Compare, bool Recurse = true);
    int RowHeight();
    TCanvas* Canvas() { return FCanvas.get(); }

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
    // Asked before a node's picture is drawn, so that the handler may set the node's
    // ImageIndex (and, for the selected node, its SelectedIndex).
    TTVChangedEvent OnGetImageIndex;
    TTVChangedEvent OnGetSelectedIndex;

    // The questions behind OnGetImageIndex and OnGetSelectedIndex.
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);

    // Plumbing of the nodes.
    void NodeChanged(TTreeNode* Node, bool Layout);
    void NodeDeleting(TTreeNode* Node);
    bool ExpandNode(TTreeNode* Node, bool Expand);
    bool SelectNode(TTreeNode* Node, bool Notify);
    TRect NodeRect(const TTreeNode* Node, bool TextOnly);
    void EnsureVisible(TTreeNode* Node);
    bool StartEdit(TTreeNode* Node);
    void EndEdit(bool Accept);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void CNNotify(TMessage& Message);

private:
    const std::vector<TTreeNode*>& Shown();
    int ShownIndex(const TTreeNode* Node);
    int ContentWidth();
    int NodeLeft(const TTreeNode* Node);
    void UpdateScroll();
    void SetScrollPosition(int X, int Top);
    void MouseNative(TMessage& M);
    void KeyNative(WORD Key);
    void CharNative(char32_t C);
    void WheelNative(TMessage& M);
    void InvalidateNode(TTreeNode* Node);
    void PaintNode(HDC DC, TTreeNode* Node, int Row);
    LRESULT NotifyNode(int Code, TTreeNode* Old, TTreeNode* New, UINT Action = 0);

    std::unique_ptr<TTreeNodes> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    std::vector<TTreeNode*> FShown;
    bool FShownDirty = true;
    TTreeNode* FSelected = nullptr;
    int FTop = 0, FScrollX = 0;
    int FIndent = 19;
    bool FShowRoot = true, FShowLines = true, FShowButtons = true, FRightClickSelect = false, FHideSelection = true,
         FReadOnly = false, FRowSelect = false, FAutoExpand = false;
    TSortType FSortType = stNone;
    TBorderStyle FBorderStyle = bsSingle;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TTypeAhead FTypeAhead;
    TCustomEdit* FEditor = nullptr;
    TTreeNode* FEditNode = nullptr;
    bool FInEnd = false;
    bool FDestroyingItems = false;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};

// ---------------------------------------------------------------------------------
// Page control

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl;

// One page of a page control; only the active page is shown.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* V);
    int PageIndex() const;
    void SetPageIndex(int V);
    int TabIndex() const;  // among the pages with a visible tab; -1 without one
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool V);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool V) { FHighlighted = V; }

protected:
    void Dispatch(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true, FHighlighted = false;
    int FImageIndex = 0;
};

// The tab control with one page per tab.  Tabs are the pages whose TabVisible is set,
// in page order.  The native tab control lays out the tabs (TCM_SETITEMSIZE sets their
// height; their width is TabWidth, else the caption, padding and the image list's
// width), answers TCM_GETITEMRECT (scrolled), TCM_ADJUSTRECT (the display rectangle of
// a window rectangle), TCM_SETCURSEL and TCM_HITTEST, scrolls a single-line strip on
// WM_HSCROLL with SB_THUMBPOSITION (tab n first) and never makes an arrow child.
class TCustomTabControl : public TNativeControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int V);  // selects without OnChanging and OnChange
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition V);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle V);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool V);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int V);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int V);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool V) { FHotTrack = V; Invalidate(); }
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool V);
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool V);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool V) { FOwnerDraw = V; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* V);
    // The part of the client area the pages take (TCM_ADJUSTRECT of the client rectangle).
    TRect DisplayRect();
    int RowCount();
    int IndexOfTabAt(int X, int Y);
    TRect TabRect(int Index);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS; }
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool CanChange();
    virtual void Change();
    virtual int TabCount() const = 0;
    virtual String TabCaption(int Tab) const = 0;
    virtual int TabImage(int Tab) const = 0;
    virtual bool TabEnabled(int) const { return true; }
    void TabsChanged();
    bool SelectByUser(int Tab);

    int FTabIndex = -1;

private:
    struct TTabLayout {
        std::vector<TRect> Rects;  // unscrolled, in the window
        int Rows = 1;
        int StripExtent = 0;       // across the strip: rows * item height
    };
    const TTabLayout& Layout();
    int ItemHeight();
    TRect Adjust(TRect R, bool Larger);
    int ScrollOffset();

    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FMultiLine = false, FHotTrack = false, FRaggedRight = false, FScrollOpposite = false, FOwnerDraw = false;
    int FTabHeight = 0, FTabWidth = 0;
    int FItemWidth = 0, FItemHeight = 0;  // TCM_SETITEMSIZE (0: from the font)
    int FFirstTab = 0;  // single line: the first tab shown
    TCustomImageList* FImages = nullptr;
    TTabLayout FLayout;
    bool FLayoutDirty = true;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int I) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* V);  // raises no OnChanging
    int ActivePageIndex() const;
    void SetActivePageIndex(int V);
    TTabSheet* FindNextPage(TTabSheet* Cur, bool GoForward, bool CheckTabVisible);
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    void AdjustClientRect(TRect& Rect) override;

    // plumbing of the sheets
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int Index);
    void PageChanged();

protected:
    void Dispatch(TMessage& Message) override;
    void Change() override;
    int TabCount() const override;
    String TabCaption(int Tab) const override;
    int TabImage(int Tab) const override;
    TTabSheet* PageOfTab(int Tab) const;
    void ShowActive();

private:
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// ---------------------------------------------------------------------------------
// Progress bar and track bar

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TNativeControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int V) { SetRange(V, FMax); }
    int Max() const { return FMax; }
    void SetMax(int V) { SetRange(FMin, V); }
    void SetRange(int AMin, int AMax);
    int Position() const { return FPosition; }
    void SetPosition(int V);  // kept within Min .. Max
    int Step() const { return FStep; }
    void SetStep(int V) { FStep = V; }
    void StepIt() { Perform(PBM_STEPIT); }
    void StepBy(int Delta) { Perform(PBM_DELTAPOS, WPARAM(Delta)); }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool V) { FSmooth = V; Invalidate(); }
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation V) { FOrientation = V; Invalidate(); }

protected:
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;

private:
    int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// A track bar: a thumb moved by the mouse (dragging it, or paging toward a press
// beside it), the arrow keys (a line), Page Up and Down (a page), Home and End.
class TTrackBar : public TNativeControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int V);
    int Max() const { return FMax; }
    void SetMax(int V);
    int Position() const { return FPosition; }
    void SetPosition(int V);  // kept within Min .. Max; OnChange when it changed
    int PageSize() const { return FPageSize; }
    void SetPageSize(int V) { FPageSize = std::max(0, V); }
    int LineSize() const { return FLineSize; }
    void SetLineSize(int V) { FLineSize = std::max(0, V); }
    int Frequency() const { return FFrequency; }
    void SetFrequency(int V) { FFrequency = std::max(1, V); Invalidate(); }
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation V) { FOrientation = V; Invalidate(); }
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle V) { FTickStyle = V; Invalidate(); }
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark V) { FTickMarks = V; Invalidate(); }
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int V) { FThumbLength = std::max(4, V); Invalidate(); }
    TRect ThumbRect();
    TNotifyEvent OnChange;

protected:
    void Dispatch(TMessage& Message) override;
    bool NativeProc(TMessage& Message) override;
    void NativePaint(HDC DC) override;
    LRESULT NativeDlgCode() override { return DLGC_WANTARROWS; }
    virtual void Changed();

private:
    int PositionAt(TPoint P);
    TRect Channel();
    void MoveTo(int V, int Code);
    int FMin = 0, FMax = 10, FPosition = 0, FPageSize = 2, FLineSize = 1, FFrequency = 1, FThumbLength = 20;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickStyle FTickStyle = tsAuto;
    TTickMark FTickMarks = tmBottomRight;
    bool FDragging = false;
    int FDragOffset = 0;
    int FPageDir = 0;
};
