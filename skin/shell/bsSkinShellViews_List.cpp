// The shell list view: the current folder's items as an owner-data list, filled through
// the mask and the add-folder veto, navigation, renaming by label edit, the verbs, the
// watcher of the current folder and the links to a tree view and a combo box.
#include <unistd.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/shell/FileSearch.h"
#include "platform/shell/ShellAPI.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/shell/bsSkinShellViews_Guards.h"

namespace {
using namespace bsshell;
using TItemsUpdate = TUpdateScope<TListItems>;
}  // namespace

bool ShellMaskMatches(const String& Mask, const String& FileName)
{
    size_t P = 0;
    while (P < Mask.size()) {
        size_t Q = Mask.find_first_of(";|", P);
        if (Q == String::npos) Q = Mask.size();
        const String Pattern = Mask.substr(P, Q - P);
        P = Q + 1;
        if (Pattern == "*") return true;
        if (Pattern.find('.') == String::npos) continue;
        try {
            if (MatchesMask(FileName, Pattern)) return true;
        } catch (const EMaskException&) {
            // a pattern with an open set matches nothing
        }
    }
    return false;
}

// ---- life ----------------------------------------------------------------------------------------

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner)
    : TbsSkinCustomListView(AOwner), FSmallImages(std::make_unique<TImageList>(nullptr, 16, 16)),
      FLargeImages(std::make_unique<TImageList>(nullptr, 32, 32))
{
    AssignShellImages(FSmallImages.get(), true);
    AssignShellImages(FLargeImages.get(), false);
    GiveShellImages(true);
    SetOwnerData(true);
    SetHideSelection(false);
    OnData = [this](TObject* S, TListItem* I) { FetchData(S, I); };
    OnDataFind = [this](TObject* S, TItemFind F, const String& T, TPoint P, void* D, int Start, TSearchDirection Dir,
                        bool Wrap, int& Index) { FindData(S, F, T, P, D, Start, Dir, Wrap, Index); };
    OnEdited = [this](TObject* S, TListItem* I, String& T) { Edited(S, I, T); };
    OnColumnClick = [this](TObject*, TListColumn* C) {
        if (C) ColumnClickSort(C->Index());
    };
}

TbsCustomShellListView::~TbsCustomShellListView()
{
    FDestroying = true;
    // the base list view still ends an open label edit and asks for rows while it goes,
    // when this part of the object is gone
    OnData = nullptr;
    OnDataFind = nullptr;
    OnEdited = nullptr;
    OnColumnClick = nullptr;
    if (FTreeView) FTreeView->FListView = nullptr;
    if (FComboBox) FComboBox->FListView = nullptr;
    delete FRootFolder;
    FRootFolder = nullptr;
    ClearFolderList();
    GiveShellImages(false);
}

// The shell's icons are the window's own image lists, as a shell view gives the system's
// lists to its window: the native and the skinned painters both draw them.
void TbsCustomShellListView::GiveShellImages(bool Give)
{
    Perform(LVM_SETIMAGELIST, WPARAM(LVSIL_SMALL), LPARAM(Give ? FSmallImages->Handle() : nullptr));
    Perform(LVM_SETIMAGELIST, WPARAM(LVSIL_NORMAL), LPARAM(Give ? FLargeImages->Handle() : nullptr));
}

void TbsCustomShellListView::ClearFolderList()
{
    for (TbsShellFolder* F : FFolders) delete F;
    FFolders.clear();
    if (!FDestroying) Items()->SetCount(0);
}

TbsShellFolder* TbsCustomShellListView::FolderAt(int Index) const
{
    if (FFolders.empty()) return nullptr;
    if (Index < 0 || Index >= int(FFolders.size())) throw EListError("List index out of bounds (%d)", Index);
    return FFolders[size_t(Index)];
}

// ---- root and reload -------------------------------------------------------------------------------

void TbsCustomShellListView::LoadRootFolder()
{
    FRootLoaded = true;
    FRootFolder = FolderFromRoot(FRootFolder, FOldRoot, FRoot);
}

void TbsCustomShellListView::SetRoot(const String& Value)
{
    if (CompareText(Value, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = Value;
    LoadRootFolder();
    FSettingRoot = true;
    ReloadFolder();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    if (!ComponentState().Contains(csLoading)) ReloadFolder();
}

void TbsCustomShellListView::SetMask(const String& Value)
{
    if (Value == FMask) return;
    FMask = Value;
    ReloadFolder();
}

void TbsCustomShellListView::SetSorted(bool Value)
{
    if (Value == FSorted) return;
    FSorted = Value;
    FillList();
}

void TbsCustomShellListView::SyncLinkedControls()
{
    if (FSettingRoot) {
        FSettingRoot = false;
        if (FTreeView) FTreeView->SetRoot(FRoot);
        // the linked box shows the new root's folder at once
        if (FComboBox && FRootFolder) FComboBox->FollowPIDL(FRootFolder->AbsoluteID());
        return;
    }
    if (!FRootFolder) return;
    if (FTreeView) FTreeView->GoToPIDL(FRootFolder->AbsoluteID());
    if (FComboBox) FComboBox->FollowPIDL(FRootFolder->AbsoluteID());
}

void TbsCustomShellListView::ReloadFolder()
{
    if (FUpdating) return;
    TFlag Updating(FUpdating);
    const bool Watch = FAutoRefresh;
    SetAutoRefresh(false);
    struct TRestore {
        TbsCustomShellListView* L;
        bool W;
        ~TRestore()
        {
            try {
                L->SetAutoRefresh(W);
            } catch (...) {
            }
        }
    } Restore{this, Watch};
    try {
        SyncLinkedControls();
    } catch (...) {
        FSettingRoot = false;
        throw;
    }
    FillList();
    if (ViewStyle() == vsReport) BuildColumns();
}

// ---- filling ---------------------------------------------------------------------------------------

void TbsCustomShellListView::FillList()
{
    if (ComponentState().Contains(csLoading) && !HandleAllocated()) return;
    TItemsUpdate U(Items());
    ClearFolderList();
    if (HandleAllocated()) {
        SendMessage(Handle(), WM_VSCROLL, SB_TOP, 0);
        SendMessage(Handle(), WM_HSCROLL, SB_TOP, 0);
    }
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    String Longest;
    int LongestLen = 0;
    {
        THourGlass Cursor;
        std::unique_ptr<IEnumIDList> Enum;
        if (FRootFolder->ShellFolder()->EnumObjects(Application ? Application->Handle() : nullptr,
                                                    ContentFlagsOf(FObjectTypes), Enum) != S_OK ||
            !Enum)
            return;
        LPITEMIDLIST Item = nullptr;
        ULONG Fetched = 0;
        const PShellFolder Listed = FRootFolder->ShellFolder();
        while (Enum->Next(1, &Item, &Fetched) == S_OK && Fetched == 1) {
            std::unique_ptr<TbsShellFolder> F;
            bool Folder = false;
            try {
                // the kind once per item; only folders have a folder object to bind
                Folder = QueryIsFolder(Listed, Item);
                PShellFolder SF = Folder ? BindShellFolder(Listed, Item, HandleAllocated() ? Handle() : nullptr) : nullptr;
                F = std::make_unique<TbsShellFolder>(FRootFolder, Item, SF);
            } catch (...) {
                ShellFree(Item);
                throw;
            }
            ShellFree(Item);  // the item keeps its own copy
            F->SetKnownFolder(Folder);
            bool CanAdd = true;
            if (!Folder) CanAdd = ShellMaskMatches(FMask, ExtractFileName(F->FullObjectName()));
            if (OnAddFolder) OnAddFolder(this, F.get(), CanAdd);
            if (!CanAdd) continue;
            const String Name = F->DisplayName();
            const int Len = Utf8Length(Name);
            if (Len > LongestLen) {
                LongestLen = Len;
                Longest = Name;
            }
            FFolders.push_back(F.release());
        }
        Items()->SetCount(int(FFolders.size()));
        struct TForget {
            std::vector<TbsShellFolder*>& Items;
            ~TForget()
            {
                for (TbsShellFolder* F : Items) F->ForgetKnownFolder();
            }
        } Forget{FFolders};
        if (FSorted) {
            ShellSortCells = TShellSortCells{FRootFolder, HandleAllocated() ? Handle() : nullptr, 0, false, false};
            try {
                SortShellItems(FFolders);
            } catch (...) {
                ShellSortCells = TShellSortCells{};
                throw;
            }
            ShellSortCells = TShellSortCells{};
        }
    }
    if (ViewStyle() == vsList && !Longest.empty() && Columns()->Count() > 0) {
        Column(0)->SetWidth(TextWidthInFont(Font(), Longest) + 32);
    }
}

// ---- row data ----------------------------------------------------------------------------------------

void TbsCustomShellListView::FetchData(TObject*, TListItem* Item)
{
    if (!Item) return;
    const int Row = Item->Index();
    if (Row < 0 || Row >= int(FFolders.size())) return;
    TbsShellFolder* F = FFolders[size_t(Row)];
    Item->SetCaption(F->DisplayName());
    Item->SetImageIndex(F->ImageIndex(ViewStyle() == vsIcon));
    Item->SubItems()->Clear();
    if (ViewStyle() == vsReport && Columns()->Count() > 1) {
        try {
            F->LoadColumnDetails(FRootFolder, HandleAllocated() ? Handle() : nullptr, Columns()->Count());
            for (int C = 1; C < Columns()->Count() && C <= F->DetailCount(); ++C)
                Item->SubItems()->Add(F->ColumnDetail(C));
        } catch (const Exception&) {
            // an item that vanished shows its name alone until the next fill
        }
    }
}

void TbsCustomShellListView::FindData(TObject*, TItemFind Find, const String& FindString, TPoint, void*,
                                      int StartIndex, TSearchDirection, bool Wrap, int& Index)
{
    Index = -1;
    if (StartIndex == -1 || (Find != ifPartialString && Find != ifExactString)) return;
    const int Count = int(FFolders.size());
    if (Count == 0) return;
    const String Wanted = UpperCase(FindString);
    int I = StartIndex;
    for (int Tried = 0; Tried < Count; ++Tried) {
        if (I >= Count) {
            if (!Wrap) return;
            I = 0;
        }
        if (UpperCase(FFolders[size_t(I)]->DisplayName()).rfind(Wanted, 0) == 0) {
            Index = I;
            return;
        }
        ++I;
    }
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value)
{
    TbsSkinCustomListView::SetViewStyle(Value);
    if (Value == vsReport) BuildColumns();
}

// ---- navigation -----------------------------------------------------------------------------------------

void TbsCustomShellListView::OpenPIDL(LPCITEMIDLIST AbsoluteID)
{
    if (FUpdating) return;
    if (FRootFolder && SameItemLists(FRootFolder->AbsoluteID(), AbsoluteID)) return;
    TbsShellFolder* New = FolderFromAbsoluteList(AbsoluteID);
    delete FRootFolder;
    FRootFolder = New;
    FSettingRoot = false;
    ReloadFolder();
    if (OnPathChanged) OnPathChanged(this);
}

void TbsCustomShellListView::FollowPIDL(LPCITEMIDLIST AbsoluteID)
{
    if (FUpdating) return;
    if (!FRootFolder || !SameItemLists(FRootFolder->AbsoluteID(), AbsoluteID)) OpenPIDL(AbsoluteID);
}

String TbsCustomShellListView::Path() const { return FRootFolder ? FRootFolder->PathName() : String(); }

void TbsCustomShellListView::SetPath(const String& Value)
{
    LPITEMIDLIST List = nullptr;
    ULONG Eaten = ULONG(Value.size());
    if (GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, Value, &Eaten, &List, nullptr) != S_OK || !List) {
        ShellFree(List);
        throw EInvalidPath("Error setting path: \"%s\"", Value);
    }
    try {
        OpenPIDL(List);
    } catch (...) {
        ShellFree(List);
        throw;
    }
    ShellFree(List);
}

void TbsCustomShellListView::Back()
{
    if (!FRootFolder) return;
    LPITEMIDLIST Copy = ItemListCopy(FRootFolder->AbsoluteID());
    ItemListStripLast(Copy);
    try {
        OpenPIDL(Copy);
    } catch (...) {
        ShellFree(Copy);
        throw;
    }
    ShellFree(Copy);
}

void TbsCustomShellListView::Refresh()
{
    if (!FRootFolder) return;
    const int Sel = ItemIndex();
    ClearSelection();
    LPITEMIDLIST Copy = ItemListCopy(FRootFolder->AbsoluteID());
    delete FRootFolder;
    FRootFolder = nullptr;
    try {
        OpenPIDL(Copy);
    } catch (...) {
        ShellFree(Copy);
        throw;
    }
    ShellFree(Copy);
    if (Sel >= 0 && Sel < Items()->Count()) SetItemIndex(Sel);
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder()
{
    const int I = ItemIndex();
    return I >= 0 && I < int(FFolders.size()) ? FFolders[size_t(I)] : nullptr;
}

String TbsCustomShellListView::GetSelectedFile()
{
    TbsShellFolder* F = SelectedFolder();
    return F && !F->IsFolder() ? F->FullObjectName() : String();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* AFiles)
{
    AFiles->Clear();
    for (int I = 0; I < int(FFolders.size()); ++I)
        if ((NativeState(I) & LVIS_SELECTED) && !FFolders[size_t(I)]->IsFolder())
            AFiles->Add(FFolders[size_t(I)]->FullObjectName());
}

void TbsCustomShellListView::DblClick()
{
    if (FAutoNavigate)
        if (TbsShellFolder* F = SelectedFolder(); F && F->IsFolder()) {
            LPITEMIDLIST Copy = ItemListCopy(F->AbsoluteID());  // the item goes with the old rows
            try {
                OpenPIDL(Copy);
            } catch (...) {
                ShellFree(Copy);
                throw;
            }
            ShellFree(Copy);
        }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!FAutoNavigate) return;
    switch (Key) {
    case VK_BACK:
        if (!IsEditing()) Back();
        break;
    case VK_RETURN:
        if (Shift.Contains(ssAlt)) {
            // item properties: the desktop has no sheet for them, so the verb does nothing
            if (TbsShellFolder* F = SelectedFolder()) InvokeItemVerb(F, "properties");
            Key = 0;
        } else if (TbsShellFolder* F = SelectedFolder(); F && F->IsFolder()) {
            LPITEMIDLIST Copy = ItemListCopy(F->AbsoluteID());
            try {
                OpenPIDL(Copy);
            } catch (...) {
                ShellFree(Copy);
                throw;
            }
            ShellFree(Copy);
        }
        break;
    case VK_F5: Refresh(); break;
    }
}

// ---- context menu, verbs and renaming ---------------------------------------------------------------

bool TbsCustomShellListView::DoContextPopup(TPoint MousePos)
{
    TbsShellFolder* F = SelectedFolder();
    if (!FAutoContext || !F) return TbsSkinCustomListView::DoContextPopup(MousePos);
    TPoint P = MousePos;
    if (P.X != -1 || P.Y != -1) P = ScreenToClient(P);
    ShowItemContextMenu(this, F, P.X, P.Y);
    return true;
}

void TbsCustomShellListView::RenameSelected()
{
    const int I = ItemIndex();
    if (I >= 0) StartEdit(I);
}

void TbsCustomShellListView::ExecuteCommand(const String& Verb, bool& Handled)
{
    if (CompareText(Verb, "rename") == 0) {
        RenameSelected();
        Handled = true;
    }
    // "open" goes to the desktop opener with the item's full path; the process's current
    // folder is never moved, as engine threads open files meanwhile.
}

void TbsCustomShellListView::CommandCompleted(const String& Verb, bool Succeeded)
{
    if (!Succeeded) return;
    if (CompareText(Verb, "delete") == 0 || CompareText(Verb, "paste") == 0) Refresh();
}

void TbsCustomShellListView::Edited(TObject*, TListItem* Item, String& S)
{
    if (!Item) return;
    const int Row = Item->Index();
    if (Row < 0 || Row >= int(FFolders.size())) return;
    bool Renamed = false;
    try {
        Renamed = FFolders[size_t(Row)]->Rename(S);
    } catch (Exception& E) {
        // a refused name (the name is taken, the folder is gone): the item keeps its label
        S = Item->Caption();
        if (!Application) throw;
        Application->HandleException(this, &E);
        return;
    }
    if (!Renamed) {
        S = Item->Caption();
        return;
    }
    UpdateItems(Row, Row);
    if (FTreeView && FTreeView->Selected()) FTreeView->Refresh(FTreeView->Selected());
}

// ---- watching -------------------------------------------------------------------------------------------

void TbsCustomShellListView::SetAutoRefresh(bool Value)
{
    FAutoRefresh = Value;
    if (ComponentState().Contains(csLoading)) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value || !FRootFolder) return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

// ---- links, window and lifetime ---------------------------------------------------------------------------

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* Value)
{
    if (Value == FTreeView) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FListView = this;
        Value->FreeNotification(this);
    } else if (FTreeView) {
        FTreeView->FListView = nullptr;
    }
    FTreeView = Value;
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* Value)
{
    if (Value == FComboBox) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FListView = this;
        Value->FreeNotification(this);
    } else if (FComboBox) {
        FComboBox->FListView = nullptr;
    }
    FComboBox = Value;
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FTreeView) FTreeView = nullptr;
    if (AComponent == FComboBox) FComboBox = nullptr;
}

void TbsCustomShellListView::CreateWnd()
{
    TbsSkinCustomListView::CreateWnd();
    if (!FRootLoaded) LoadRootFolder();
    ReloadFolder();
}

void TbsCustomShellListView::DestroyWnd()
{
    ClearFolderList();
    TbsSkinCustomListView::DestroyWnd();
}

void TbsCustomShellListView::Loaded()
{
    TbsSkinCustomListView::Loaded();
    FillList();
    SetAutoRefresh(FAutoRefresh);
}
