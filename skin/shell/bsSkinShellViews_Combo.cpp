// The shell combo box: the root, its children (and the drives under Computer with the
// desktop as root) and one chain of folders down to the folder shown, each indented by its
// depth; a choice goes to the linked tree view.
#include "platform/graphics/ImgList.h"
#include "platform/system/SysUtils.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/shell/bsSkinShellViews_Guards.h"

namespace {
using namespace bsshell;
using TItemsUpdate = TUpdateScope<TbsItemsEx>;
TbsShellFolder* CreateChildFolder(TbsShellFolder* Parent, LPCITEMIDLIST Relative)
{
    PShellFolder SF = BindShellFolder(Parent->ShellFolder(), Relative, nullptr);
    return new TbsShellFolder(Parent, Relative, SF);
}
} // namespace

// ---- extended items -----------------------------------------------------------------------------------

TbsItemEx& TbsItemsEx::Item(int Index)
{
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    return *FItems[size_t(Index)];
}

TbsItemEx& TbsItemsEx::Add() { return Insert(Count()); }

TbsItemEx& TbsItemsEx::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, std::make_unique<TbsItemEx>());
    return *FItems[size_t(Index)];
}

TbsItemEx& TbsItemsEx::AddItem(const String& Caption, int ImageIndex, TbsShellFolder* Data, int Indent,
                               int SelectedImageIndex)
{
    TbsItemEx& I = Add();
    I.Caption = Caption;
    I.ImageIndex = ImageIndex;
    I.Data = Data;
    I.Indent = Indent;
    I.SelectedImageIndex = SelectedImageIndex;
    return I;
}

// ---- the box ---------------------------------------------------------------------------------------------

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner)
    : TbsSkinCustomComboBox(AOwner), FItemsEx(std::make_unique<TbsItemsEx>()), FImages(ShellSystemImageList(true))
{
    ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
    SetOnListBoxDrawItem([this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawListItem(C, I, W, H, R, S);
    });
    OnComboBoxDrawItem = [this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawEditItem(C, I, W, H, R, S);
    };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox()
{
    if (FTreeView) FTreeView->FComboBox = nullptr;
    if (FListView) FListView->FComboBox = nullptr;
    for (int I = 0; I < FItemsEx->Count(); ++I) delete FItemsEx->Item(I).Data;
    FItemsEx->Clear();
    delete FRootFolder;
    FRootFolder = nullptr;
}

int TbsCustomShellComboBox::ItemImageIndex(TbsShellFolder* Folder) const
{
    return FUseShellImages && Folder ? ShellImageIndex(Folder->AbsoluteID(), false, false) : -1;
}

void TbsCustomShellComboBox::ClearItemsEx()
{
    for (int I = 0; I < FItemsEx->Count(); ++I) {
        delete FItemsEx->Item(I).Data;
        FItemsEx->Item(I).Data = nullptr;
    }
    FItemsEx->Clear();
    SyncItemStrings();
}

void TbsCustomShellComboBox::SyncItemStrings()
{
    TStrings* S = Items();
    S->BeginUpdate();
    S->Clear();
    for (int I = 0; I < FItemsEx->Count(); ++I) S->Add(FItemsEx->Item(I).Caption);
    S->EndUpdate();
}

void TbsCustomShellComboBox::BuildRootItems()
{
    if (ComponentState().Contains(csLoading)) return;
    TItemsUpdate U(FItemsEx.get());
    ClearItemsEx();
    FRootFolder = FolderFromRoot(FRootFolder, FOldRoot, FRoot);
    auto* F = new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    const int Image = ItemImageIndex(F);
    FItemsEx->AddItem(F->DisplayName(), Image, F, 0, Image);
    AddStandardItems();
    SyncItemStrings();
    SetItemIndex(0);
    if (FUseShellImages) {
        ApplyShellImages(false);
        ApplyShellImages(true);
    }
}

void TbsCustomShellComboBox::ApplyShellImages(bool On)
{
    FUseShellImages = On;
    FImageWidth = FImageHeight = 16;
    if (On && FImages) ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
}

void TbsCustomShellComboBox::AddStandardItems()
{
    TItemsUpdate U(FItemsEx.get());
    InsertSubFolders(0, FRootFolder);
    if (FRoot == "rfDesktop") {
        LPITEMIDLIST Computer = nullptr;
        if (SHGetSpecialFolderLocation(nullptr, 17, &Computer) >= 0 && Computer) {
            const int I = IndexOfPIDL(Computer);
            ShellFree(Computer);
            if (I >= 0) InsertSubFolders(I, ItemFolder(I));
        }
    }
}

void TbsCustomShellComboBox::InsertSubFolders(int Index, TbsShellFolder* Folder)
{
    if (!Folder || !Folder->ShellFolder()) return;
    std::unique_ptr<IEnumIDList> Enum;
    const HRESULT R = Folder->ShellFolder()->EnumObjects(nullptr, ContentFlagsOf(FObjectTypes), Enum);
    if (R < 0 || !Enum) throw EOleSysError("The folder cannot be listed", R);
    TItemsUpdate U(FItemsEx.get());
    std::vector<LPITEMIDLIST> Lists;
    LPITEMIDLIST Item = nullptr;
    ULONG Fetched = 0;
    while (Enum->Next(1, &Item, &Fetched) == 0 && Fetched == 1) Lists.push_back(Item);
    try {
        PShellFolder SF = Folder->ShellFolder();
        std::stable_sort(Lists.begin(), Lists.end(), [&](LPITEMIDLIST A, LPITEMIDLIST B) {
            return int16_t(SF->CompareIDs(0, A, B) & 0xFFFF) < 0;
        });
        for (size_t K = 0; K < Lists.size(); ++K) {
            TbsShellFolder* Child = CreateChildFolder(Folder, Lists[K]);
            TbsItemEx& E = FItemsEx->Insert(Index + int(K) + 1);
            E.Caption = Child->DisplayName();
            E.Data = Child;
            E.Indent = Child->Level();
            E.ImageIndex = E.SelectedImageIndex = ItemImageIndex(Child);
        }
    } catch (...) {
        for (LPITEMIDLIST L : Lists) ShellFree(L);
        throw;
    }
    for (LPITEMIDLIST L : Lists) ShellFree(L);
}

TbsShellFolder* TbsCustomShellComboBox::ItemFolder(int Index)
{
    if (Index >= FItemsEx->Count()) Index = FItemsEx->Count() - 1;
    return FItemsEx->Item(Index).Data;
}

int TbsCustomShellComboBox::IndexOfPIDL(LPCITEMIDLIST AbsoluteID)
{
    PShellFolder Desktop = GetDesktopInterface();
    for (int I = FItemsEx->Count() - 1; I >= 0; --I) {
        TbsShellFolder* F = FItemsEx->Item(I).Data;
        if (F && Desktop->CompareIDs(0, F->AbsoluteID(), AbsoluteID) == 0) return I;
    }
    return -1;
}

void TbsCustomShellComboBox::ShowPIDL(LPCITEMIDLIST AbsoluteID)
{
    TItemsUpdate U(FItemsEx.get());
    BuildRootItems();
    TList* Ancestors = ItemListAncestors(AbsoluteID);
    int Target = -1;
    try {
        int Found = -1, I = -1;
        for (int A = Ancestors ? Ancestors->Count() - 1 : -1; A >= 0; --A) {
            I = IndexOfPIDL(static_cast<LPCITEMIDLIST>(Ancestors->Items(A)));
            if (I >= 0) {
                Found = A;
                break;
            }
        }
        if (Found >= 0) {
            auto InsertUnder = [&](LPCITEMIDLIST Absolute) {
                LPITEMIDLIST One = ItemListLast(Absolute);  // a copy of its own
                TbsShellFolder* Child = nullptr;
                try {
                    Child = CreateChildFolder(ItemFolder(I), One);
                } catch (...) {
                    ShellFree(One);
                    throw;
                }
                ShellFree(One);
                TbsItemEx& E = FItemsEx->Insert(I + 1);
                E.Caption = Child->DisplayName();
                E.Indent = Child->Level();
                E.Data = Child;
                E.ImageIndex = ItemImageIndex(Child);
                ++I;
            };
            for (int A = Found + 1; A < Ancestors->Count(); ++A)
                InsertUnder(static_cast<LPCITEMIDLIST>(Ancestors->Items(A)));
            Target = IndexOfPIDL(AbsoluteID);
            if (Target < 0) {
                InsertUnder(AbsoluteID);
                Target = I;
            }
        }
    } catch (...) {
        FreeItemListAncestors(Ancestors);
        throw;
    }
    FreeItemListAncestors(Ancestors);
    if (Target >= 0) {
        SyncItemStrings();
        SetItemIndex(Target);
    }
}

void TbsCustomShellComboBox::FollowPIDL(LPCITEMIDLIST AbsoluteID)
{
    if (FUpdating) return;
    const int Sel = ItemIndex();
    if (Sel >= 0 && Sel < FItemsEx->Count() && FItemsEx->Item(Sel).Data &&
        SameItemLists(FItemsEx->Item(Sel).Data->AbsoluteID(), AbsoluteID))
        return;
    TFlag Updating(FUpdating);
    ShowPIDL(AbsoluteID);
}

String TbsCustomShellComboBox::Path()
{
    const int Sel = ItemIndex();
    if (Sel < 0 || Sel >= FItemsEx->Count() || !FItemsEx->Item(Sel).Data) return String();
    return FItemsEx->Item(Sel).Data->PathName();
}

void TbsCustomShellComboBox::SetPath(const String& Value)
{
    LPITEMIDLIST List = nullptr;
    ULONG Eaten = 0;
    const HRESULT R = GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, Value, &Eaten, &List, nullptr);
    if (R < 0 || !List) throw EInvalidPath("Error setting path: \"" + Value + "\"");
    try {
        ShowPIDL(List);
    } catch (...) {
        ShellFree(List);
        throw;
    }
    ShellFree(List);
}

void TbsCustomShellComboBox::Change()
{
    if (FItemsEx->UpdateCount() > 0) return;
    TbsSkinCustomComboBox::Change();
    const int Sel = ItemIndex();
    if (Sel < 0 || Sel >= FItemsEx->Count() || FUpdating || IsPopupVisible()) return;
    TbsShellFolder* F = FItemsEx->Item(Sel).Data;
    if (!F) return;
    // A user's choice: the box shows the chain down to it, and the linked controls go there.
    // The rebuild frees the items, so the choice is held by a copy of its list.
    LPITEMIDLIST Copy = ItemListCopy(F->AbsoluteID());
    try {
        TFlag Updating(FUpdating);
        ShowPIDL(Copy);
        if (FTreeView) FTreeView->GoToPIDL(Copy);
        if (FListView) FListView->FollowPIDL(Copy);
    } catch (...) {
        ShellFree(Copy);
        throw;
    }
    ShellFree(Copy);
}

void TbsCustomShellComboBox::SetRoot(const String& Value)
{
    if (CompareText(Value, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = Value;
    ApplyRoot();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value)
{
    FObjectTypes = Value;
    ApplyRoot();
}

void TbsCustomShellComboBox::ApplyRoot()
{
    TFlag Updating(FUpdating);
    ClearItemsEx();
    BuildRootItems();
    if (FTreeView) FTreeView->SetRoot(FRoot);
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellComboBox::SetShellTreeView(TbsCustomShellTreeView* Value)
{
    if (Value == FTreeView) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FComboBox = this;
    } else if (FTreeView) {
        FTreeView->FComboBox = nullptr;
    }
    if (Value) Value->FreeNotification(this);
    FTreeView = Value;
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* Value)
{
    if (Value == FListView) return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FComboBox = this;
        Value->FreeNotification(this);
    } else if (FListView) {
        FListView->FComboBox = nullptr;
    }
    FListView = Value;
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTreeView) FTreeView = nullptr;
    if (Operation == opRemove && AComponent == FListView) FListView = nullptr;
}

void TbsCustomShellComboBox::CreateWnd()
{
    TbsSkinCustomComboBox::CreateWnd();
    ApplyShellImages(FUseShellImages);
    if (FItemsEx->Count() == 0) BuildRootItems();
    SyncItemStrings();
}

void TbsCustomShellComboBox::DestroyWnd()
{
    ClearItemsEx();
    TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::Loaded()
{
    TbsSkinCustomComboBox::Loaded();
    BuildRootItems();
}

// ---- drawing -----------------------------------------------------------------------------------------------

void TbsCustomShellComboBox::DrawItem(TCanvas* C, int Index, TRect R, int Indent)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    int Left = R.Left;
    if (FImages) {
        const int Image = Index < FItemsEx->Count() ? FItemsEx->Item(Index).ImageIndex : -1;
        if (Image >= 0)
            ImageList_DrawEx(FImages, Image, C->Handle(), R.Left + Indent, R.Top + (R.Bottom - R.Top - FImageHeight) / 2,
                             FImageWidth, FImageHeight, CLR_NONE, CLR_NONE, ILD_NORMAL);
        Left = R.Left + Indent + FImageWidth + 4;
    }
    int Y = R.Top + (R.Bottom - R.Top) / 2 - C->TextHeight("Wg") / 2;
    if (C->Font()->Height() % 2 != 0) --Y;
    C->TextOut(Left, Y, Items()->Strings(Index));
}

void TbsCustomShellComboBox::DrawListItem(TCanvas* C, int Index, int, int, TRect R, TOwnerDrawState)
{
    const int Indent = Index >= 0 && Index < FItemsEx->Count() ? FItemsEx->Item(Index).Indent * FImageWidth / 2 : 0;
    DrawItem(C, Index, R, Indent);
}

void TbsCustomShellComboBox::DrawEditItem(TCanvas* C, int Index, int, int, TRect R, TOwnerDrawState)
{
    DrawItem(C, Index, R, 0);
}
