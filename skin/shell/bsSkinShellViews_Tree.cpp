// The shell tree view: the root node, children read on first expansion and sorted in the
// shell's order, going to a folder by item list or path, refreshing a subtree while keeping
// what was expanded, selected and at the top, verbs, and the watcher of the selected folder.
#include <unistd.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/shell/FileSearch.h"
#include "platform/shell/ShellAPI.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/shell/bsSkinShellViews_Guards.h"

namespace {
using namespace bsshell;
using TNodesUpdate = TUpdateScope<TTreeNodes>;
// Posted to the tree after a label edit renamed a folder: its parent's subtree is read
// again once the editor is done with the node.
constexpr UINT WM_REFRESHRENAMED = WM_APP + 0x131;
// The absolute list of a node's folder: its parent's list joined with its own.
LPITEMIDLIST NodeAbsoluteList(const TbsShellFolder* F)
{
    if (!F) return nullptr;
    return F->Parent() ? ItemListJoin(F->Parent()->AbsoluteID(), F->RelativeID()) : ItemListCopy(F->RelativeID());
}
} // namespace

TbsCustomShellTreeView::TbsCustomShellTreeView(TComponent* AOwner)
    : TbsSkinCustomTreeView(AOwner), FShellImages(std::make_unique<TImageList>(nullptr, 16, 16))
{
    SetShowRoot(false);
    SetRightClickSelect(true);
    AssignShellImages(FShellImages.get(), true);
    TbsSkinCustomTreeView::OnEdited = [this](TObject*, TTreeNode* Node, String& S) { NodeEdited(Node, S); };
}

TbsCustomShellTreeView::~TbsCustomShellTreeView()
{
    if (FComboBox) FComboBox->FTreeView = nullptr;
    if (FListView) FListView->FTreeView = nullptr;
    ClearNodes();
    delete FRootFolder;
    FRootFolder = nullptr;
    ShellFree(FPendingRefresh);
    // the drawn list goes before the tree does
    TbsSkinCustomTreeView::SetImages(nullptr);
}

// ---- root -----------------------------------------------------------------------------------------

void TbsCustomShellTreeView::BuildRoot()
{
    if (ComponentState().Contains(csLoading)) return;
    String Failure;
    bool Failed = false;
    try {
        FRootFolder = FolderFromRoot(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& E) {
        Failed = true;
        Failure = E.Message();
    }
    if (FRootFolder) {
        TFlag Loading(FLoadingRoot);
        ClearNodes();
        auto* F = new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
        TTreeNode* N = Items()->AddObject(nullptr, QueryDisplayName(GetDesktopInterface(), F->AbsoluteID(), SHGDN_NORMAL), F);
        if (FUseShellImages && !Images()) {
            N->SetImageIndex(ShellImageIndex(F->AbsoluteID(), false, false));
            N->SetSelectedIndex(ShellImageIndex(F->AbsoluteID(), false, true));
        }
        N->SetHasChildren(F->SubFolders());
        N->Expand(false);
        N->SetSelected(true);
    }
    if (Failed) throw Exception(Failure);
}

void TbsCustomShellTreeView::ApplyRoot()
{
    if (FUpdating) return;
    TFlag Updating(FUpdating);
    BuildRoot();
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::SetRoot(const String& Value)
{
    if (CompareText(Value, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = Value;
    ApplyRoot();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    ApplyRoot();
}

// ---- nodes ----------------------------------------------------------------------------------------

void TbsCustomShellTreeView::ClearNodes()
{
    TNodesUpdate U(Items());
    // One depth-first walk: counting and indexing the nodes walks the whole tree each
    // time, which made closing a tree over a large folder take minutes.
    for (TTreeNode* N = Items()->GetFirstNode(); N; N = N->GetNext()) {
        delete NodeFolder(N);
        N->SetData(nullptr);
    }
    Items()->Clear();
}

void TbsCustomShellTreeView::LoadChildren(TTreeNode* Node)
{
    TbsShellFolder* F = NodeFolder(Node);
    if (!F || !F->ShellFolder()) return;
    THourGlass Cursor;
    TNodesUpdate U(Items());
    std::unique_ptr<IEnumIDList> Enum;
    const HRESULT R = F->ShellFolder()->EnumObjects(Application ? Application->Handle() : nullptr,
                                                    ContentFlagsOf(FObjectTypes), Enum);
    if (R < 0 || !Enum) return;
    LPITEMIDLIST Item = nullptr;
    ULONG Fetched = 0;
    while (Enum->Next(1, &Item, &Fetched) == 0 && Fetched == 1) {
        TTreeNode* Child = Items()->AddChild(Node, String());
        try {
            SetupChildNode(Child, Item, Node);
        } catch (...) {
            ShellFree(Item);
            throw;
        }
        ShellFree(Item); // the folder object keeps its own copy
    }
    Node->CustomSort(
        [](TTreeNode* A, TTreeNode* B) {
            TbsShellFolder* FA = NodeFolder(A);
            TbsShellFolder* FB = NodeFolder(B);
            if (!FA || !FB) return 0;
            PShellFolder P = FA->ParentShellFolder();
            if (!P) return 0;
            return int(int16_t(P->CompareIDs(0, FA->RelativeID(), FB->RelativeID()) & 0xFFFF));
        },
        false);
}

void TbsCustomShellTreeView::SetupChildNode(TTreeNode* Node, LPCITEMIDLIST Relative, TTreeNode* ParentNode)
{
    TbsShellFolder* ParentFolder = NodeFolder(ParentNode);
    PShellFolder SF = BindShellFolder(ParentFolder->ShellFolder(), Relative, Handle());
    auto* F = new TbsShellFolder(ParentFolder, Relative, SF);
    Node->SetData(F);
    Node->SetText(F->DisplayName());
    if (FUseShellImages && !Images()) {
        Node->SetImageIndex(ShellImageIndex(F->AbsoluteID(), false, false));
        Node->SetSelectedIndex(ShellImageIndex(F->AbsoluteID(), false, true));
    }
    if (Node->SelectedIndex() == 0) Node->SetSelectedIndex(Node->ImageIndex());
    bool Children = F->SubFolders();
    if (FObjectTypes.Contains(otNonFolders) && F->ShellFolder())
        Children = FolderHasItems(F->ShellFolder(), ContentFlagsOf(FObjectTypes));
    Node->SetHasChildren(Children);
    if (OnAddFolder) {
        bool CanAdd = true;
        OnAddFolder(this, F, CanAdd);
        if (!CanAdd) Node->Delete();
    }
}

bool TbsCustomShellTreeView::CanExpand(TTreeNode* Node)
{
    bool Allow = true;
    if (OnExpanding) OnExpanding(this, Node, Allow);
    if (!Allow) return false;
    // Expanding only ever lists children: an item that is no folder has none, and it is
    // never started from a click on its node.
    TbsShellFolder* F = NodeFolder(Node);
    if (F && F->IsFolder() && Node->HasChildren() && Node->Count() == 0) LoadChildren(Node);
    Node->SetHasChildren(Node->Count() > 0);
    return true;
}

// ---- going to a folder ----------------------------------------------------------------------------

TTreeNode* TbsCustomShellTreeView::FindPIDLNode(LPCITEMIDLIST List, TTreeNode* Start)
{
    if (!Start) return nullptr;
    PShellFolder Desktop = GetDesktopInterface();
    const int Level = Start->Level();
    for (TTreeNode* N = Start; N; N = N->GetNext()) {
        if (N != Start && N->Level() <= Level) break;
        TbsShellFolder* F = NodeFolder(N);
        if (F && Desktop->CompareIDs(0, F->AbsoluteID(), List) == 0) return N;
    }
    return nullptr;
}

void TbsCustomShellTreeView::GoToPIDL(LPCITEMIDLIST AbsoluteID)
{
    if (ComponentState().Contains(csLoading)) return;
    if (TbsShellFolder* S = SelectedFolder(); S && SameItemLists(S->AbsoluteID(), AbsoluteID)) return;
    TFlag Updating(FUpdating);
    TList* Ancestors = ItemListAncestors(AbsoluteID);
    try {
        TNodesUpdate U(Items());
        TTreeNode* Current = Items()->GetFirstNode();
        for (int I = 0; Ancestors && I < Ancestors->Count(); ++I) {
            TTreeNode* N = FindPIDLNode(static_cast<LPCITEMIDLIST>(Ancestors->Items(I)), Current);
            if (!N) continue;
            N->Expand(false);
            Current = N;
        }
        TTreeNode* Target = FindPIDLNode(AbsoluteID, Current);
        SetSelected(Target);
        if (Target && NodeFolder(Target)) {
            if (FListView) FListView->FollowPIDL(NodeFolder(Target)->AbsoluteID());
            if (FComboBox) FComboBox->FollowPIDL(NodeFolder(Target)->AbsoluteID());
        }
    } catch (...) {
        FreeItemListAncestors(Ancestors);
        throw;
    }
    FreeItemListAncestors(Ancestors);
}

String TbsCustomShellTreeView::Path() const
{
    TbsShellFolder* F = SelectedFolder();
    return F ? F->PathName() : String();
}

void TbsCustomShellTreeView::SetPath(const String& Value)
{
    FPath = Value;
    LPITEMIDLIST List = nullptr;
    ULONG Eaten = 0;
    const HRESULT R = GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, Value, &Eaten, &List, nullptr);
    if (R < 0 || !List) throw EInvalidPath("Error setting path: \"" + Value + "\"");
    try {
        GoToPIDL(List);
    } catch (...) {
        ShellFree(List);
        throw;
    }
    ShellFree(List);
    if (TTreeNode* N = Selected()) {
        N->Expand(false);
        SelectionChanging(N);
    }
    FPath = Value;
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() const { return NodeFolder(Selected()); }

void TbsCustomShellTreeView::ExpandMyComputer()
{
    LPITEMIDLIST List = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, 17, &List) < 0 || !List) return;
    GoToPIDL(List);
    ShellFree(List);
    if (Selected()) Selected()->Expand(false);
}

// ---- refresh ----------------------------------------------------------------------------------------

void TbsCustomShellTreeView::Refresh(TTreeNode* Node)
{
    TbsShellFolder* F = NodeFolder(Node);
    if (!F || !F->ShellFolder()) return;
    LPITEMIDLIST TopList = NodeAbsoluteList(NodeFolder(TopItem()));
    LPITEMIDLIST SelList = NodeAbsoluteList(SelectedFolder());
    THourGlass Cursor;
    try {
        TNodesUpdate U(Items());
        auto* NF = new TbsShellFolder(NodeFolder(Node->Parent()), F->RelativeID(), F->ShellFolder());
        TTreeNode* New = Items()->Insert(Node, NF->DisplayName());
        New->SetData(NF);
        New->SetImageIndex(ShellImageIndex(NF->AbsoluteID(), false, false));
        New->SetSelectedIndex(ShellImageIndex(NF->AbsoluteID(), false, true));
        New->SetHasChildren(NF->SubFolders());
        LoadChildren(New);
        // expand in the new subtree what was expanded in the old one
        const int Level = Node->Level();
        for (TTreeNode* O = Node; O; O = O->GetNext()) {
            if (O != Node && O->Level() <= Level) break;
            if (!O->Expanded() || !NodeFolder(O)) continue;
            if (TTreeNode* M = FindPIDLNode(NodeFolder(O)->AbsoluteID(), New)) M->Expand(false);
        }
        // frees the old subtree's folders through the deletion notices
        Node->Delete();
        if (SelList) SetSelected(FindPIDLNode(SelList, Items()->GetFirstNode()));
        if (TopList)
            if (TTreeNode* T = FindPIDLNode(TopList, Items()->GetFirstNode())) SetTopItem(T);
    } catch (...) {
        ShellFree(TopList);
        ShellFree(SelList);
        throw;
    }
    ShellFree(TopList);
    ShellFree(SelList);
}

void TbsCustomShellTreeView::RefreshSelected()
{
    if (Selected()) Refresh(Selected());
}

// ---- verbs ------------------------------------------------------------------------------------------

void TbsCustomShellTreeView::ExecuteCommand(const String& Verb, bool& Handled)
{
    if (CompareText(Verb, "rename") == 0 && Selected()) {
        Selected()->EditText();
        Handled = true;
    }
    // "open" goes to the desktop opener with the item's full path: the process's current
    // folder is never moved, as engine threads open files meanwhile.
}

void TbsCustomShellTreeView::CommandCompleted(const String& Verb, bool Succeeded)
{
    if (!Succeeded || !Selected()) return;
    if (CompareText(Verb, "delete") == 0) {
        TbsShellFolder* F = SelectedFolder();
        // a folder that is gone: its node goes, and with it its folder object
        if (F && GetFileAttributes(F->PathName()) == INVALID_FILE_ATTRIBUTES) Selected()->Delete();
    } else if (CompareText(Verb, "paste") == 0) {
        Refresh(Selected());
    }
}

// The shell's menu of the selected folder, unless a popup menu of the tree's own opens itself.
bool TbsCustomShellTreeView::DoContextPopup(TPoint MousePos)
{
    if (!FAutoContext || (PopupMenu() && PopupMenu()->AutoPopup())) return TbsSkinCustomTreeView::DoContextPopup(MousePos);
    TPoint P = MousePos;
    if (P.X != -1 || P.Y != -1) P = ScreenToClient(P);
    if (TbsShellFolder* F = SelectedFolder()) ShowItemContextMenu(this, F, P.X, P.Y);
    return true;
}

void TbsCustomShellTreeView::NodeEdited(TTreeNode* Node, String& S)
{
    if (!Node) return;
    if (OnEdited) OnEdited(this, Node, S);
    TbsShellFolder* F = NodeFolder(Node);
    bool Renamed = false;
    try {
        Renamed = F && F->Rename(S);
    } catch (Exception& E) {
        // the folder keeps its name, and so does its node
        S = Node->Text();
        if (!Application) throw;
        Application->HandleException(this, &E);
        return;
    }
    if (!Renamed) S = Node->Text();
    // The parent's subtree is rebuilt after the editor is done: the rebuild frees this node.
    if (Node->Parent() && NodeFolder(Node->Parent()) && HandleAllocated()) {
        ShellFree(FPendingRefresh);
        FPendingRefresh = NodeAbsoluteList(NodeFolder(Node->Parent()));
        PostMessage(Handle(), WM_REFRESHRENAMED, 0, 0);
    }
}

void TbsCustomShellTreeView::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_REFRESHRENAMED) {
        LPITEMIDLIST L = FPendingRefresh;
        FPendingRefresh = nullptr;
        if (!L) return;
        try {
            if (TTreeNode* N = FindPIDLNode(L, Items()->GetFirstNode())) Refresh(N);
        } catch (...) {
            ShellFree(L);
            throw;
        }
        ShellFree(L);
        return;
    }
    TbsSkinCustomTreeView::WndProc(Message);
}

// ---- icons ---------------------------------------------------------------------------------------------

void TbsCustomShellTreeView::ApplyImageList()
{
    TbsSkinCustomTreeView::SetImages(FImages ? FImages : FUseShellImages ? FShellImages.get() : nullptr);
}

void TbsCustomShellTreeView::SetUseShellImages(bool Value)
{
    FUseShellImages = Value;
    ApplyImageList();
}

void TbsCustomShellTreeView::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    ApplyImageList();
}

void TbsCustomShellTreeView::GetImageIndex(TTreeNode* Node)
{
    if (Images()) TbsSkinCustomTreeView::GetImageIndex(Node);
}

void TbsCustomShellTreeView::GetSelectedIndex(TTreeNode* Node)
{
    if (Images()) TbsSkinCustomTreeView::GetSelectedIndex(Node);
}

// ---- selection and watching -------------------------------------------------------------------------

void TbsCustomShellTreeView::SelectionChanging(TTreeNode* Node)
{
    if (FUpdating || !Node) return;
    TbsShellFolder* F = NodeFolder(Node);
    if (F && !F->IsFolder()) F = F->Parent();
    const bool Watch = FAutoRefresh;
    SetAutoRefresh(false);
    if (F && (FComboBox || FListView)) {
        TFlag Updating(FUpdating);
        if (FListView) FListView->FollowPIDL(F->AbsoluteID());
        if (FComboBox) FComboBox->FollowPIDL(F->AbsoluteID());
    }
    FNodeToMonitor = Node;
    try {
        SetAutoRefresh(Watch);
    } catch (...) {
        FNodeToMonitor = nullptr;
        throw;
    }
    FNodeToMonitor = nullptr;
}

void TbsCustomShellTreeView::SetAutoRefresh(bool Value)
{
    FAutoRefresh = Value;
    if (ComponentState().Contains(csLoading)) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value) return;
    TbsShellFolder* F = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    if (F) FNotifier->SetRoot(F->PathName());
    FNotifier->SetOnChange([this] { RefreshSelected(); });
}

void TbsCustomShellTreeView::CNNotify(TMessage& Message)
{
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    auto* N = reinterpret_cast<NMTREEVIEW*>(Message.LParam);
    if (!H) return;
    switch (H->code) {
    case TVN_ITEMEXPANDING:
        if (N->action == TVE_EXPAND) {
            Message.Result = CanExpand(reinterpret_cast<TTreeNode*>(N->itemNew)) ? 0 : 1;
            return;
        }
        break;
    case TVN_SELCHANGING:
        TbsSkinCustomTreeView::CNNotify(Message);
        if (Message.Result == 0) SelectionChanging(reinterpret_cast<TTreeNode*>(N->itemNew));
        return;
    case TVN_DELETEITEM:
        if (auto* Node = reinterpret_cast<TTreeNode*>(N->itemOld)) {
            delete NodeFolder(Node);
            Node->SetData(nullptr);
        }
        break;
    }
    TbsSkinCustomTreeView::CNNotify(Message);
}

void TbsCustomShellTreeView::SetShellComboBox(TbsCustomShellComboBox* Value)
{
    if (Value == FComboBox) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FTreeView = this;
    } else if (FComboBox) {
        FComboBox->FTreeView = nullptr;
    }
    if (Value) Value->FreeNotification(this);
    FComboBox = Value;
}

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* Value)
{
    if (Value == FListView) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FTreeView = this;
        Value->FreeNotification(this);
    } else if (FListView) {
        FListView->FTreeView = nullptr;
    }
    FListView = Value;
}

void TbsCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomTreeView::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FComboBox) FComboBox = nullptr;
    if (Operation == opRemove && AComponent == FListView) FListView = nullptr;
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        ApplyImageList();
    }
}

// ---- window and lifetime ------------------------------------------------------------------------------

void TbsCustomShellTreeView::CreateWnd()
{
    TbsSkinCustomTreeView::CreateWnd();
    if (!FImages) SetUseShellImages(FUseShellImages);
    // The window can be made while the root is being built (expanding the root node asks
    // for it); the nodes being built then stay.
    if (!FLoadingRoot) {
        if (Items()->Count() > 0) ClearNodes();
        BuildRoot();
        if (!FPath.empty()) SetPath(FPath);
    }
}

void TbsCustomShellTreeView::DestroyWnd()
{
    ClearNodes();
    TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::Loaded()
{
    TbsSkinCustomTreeView::Loaded();
    BuildRoot();
}
