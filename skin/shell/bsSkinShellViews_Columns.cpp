// The shell list view's report columns and the sort of its rows.
//
// The sort reads every item's sort key (folder or file, name, size, type, time of change)
// before anything moves, and orders the keys with one consistent comparison, so a failure
// to read an item leaves the rows as they were and the sort itself can neither throw nor
// read out of range.
#include <algorithm>
#include <cmath>

#include "platform/shell/FileSearch.h"
#include "skin/core/bsSkinData.h"
#include "skin/shell/bsSkinShellViews.h"

TShellSortCells ShellSortCells;

namespace {

// The texts are kept as their locale sort keys (AnsiTextSortKey), made once per item.
struct TSortKey {
    TbsShellFolder* Item = nullptr;
    bool Folder = false;
    String Order;     // the shell's order (ShellItemSortKey), empty when it gives none
    String Name;      // column 0
    int64_t Size = -1;  // column 1
    String Type;      // column 2
    double Modified = -1.0;  // column 3, whole 2-second steps
};

// The key of Item for the current cells; raises when its details cannot be read.
TSortKey ReadKey(TbsShellFolder* Item)
{
    TSortKey K;
    K.Item = Item;
    K.Folder = Item->IsFolder();
    K.Order = ShellItemSortKey(Item->ParentShellFolder(), Item->RelativeID());
    if (!ShellSortCells.ColumnSort) return K;
    switch (ShellSortCells.Column) {
    case 0: K.Name = AnsiTextSortKey(Item->DisplayName()); break;
    case 1:
    case 3: {
        TShellFindData D;
        int Error = 0;
        if (!ShellGetFindData(Item->PathName(), D, Error))
            throw EInvalidPath("Unable to retrieve folder details for \"%s\". Error code $%x", Item->DisplayName(),
                               Error);
        K.Size = D.IsFolder ? -1 : D.Size;
        K.Modified = D.Modified < 0 ? -1.0 : std::floor(D.Modified * 43200.0 + 1e-6);
        break;
    }
    case 2:
        Item->LoadColumnDetails(ShellSortCells.ListedFolder, ShellSortCells.Handle, 4);
        K.Type = AnsiTextSortKey(Item->DetailCount() >= 2 ? Item->ColumnDetail(2) : String());
        break;
    }
    return K;
}

int Sign(int64_t V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

// The shell's own order of two items of one group: their keys, or the folder's comparison
// where it gives no keys.
int BaseOrder(const TSortKey& A, const TSortKey& B)
{
    if (!A.Order.empty() && !B.Order.empty()) return Sign(A.Order.compare(B.Order));
    PShellFolder P = A.Item->ParentShellFolder();
    if (!P) return 0;
    return Sign(HRESULT_CODE_SHORT(P->CompareIDs(0, A.Item->RelativeID(), B.Item->RelativeID())));
}

int CompareKeys(const TSortKey& A, const TSortKey& B)
{
    if (A.Folder != B.Folder) return A.Folder ? -1 : 1;
    if (!ShellSortCells.ColumnSort) return BaseOrder(A, B);
    int R = 0;
    switch (ShellSortCells.Column) {
    case 0: R = Sign(A.Name.compare(B.Name)); break;
    case 1: R = A.Folder ? 0 : Sign(A.Size - B.Size); break;
    case 2: R = Sign(A.Type.compare(B.Type)); break;
    case 3: R = A.Modified < B.Modified ? -1 : (A.Modified > B.Modified ? 1 : 0); break;
    }
    // equal keys fall back to the shell's order, so that the order is total
    if (R == 0) R = BaseOrder(A, B);
    return ShellSortCells.Descending ? -R : R;
}

}  // namespace

int CompareShellItems(TbsShellFolder* A, TbsShellFolder* B)
{
    if (!A || !B) return 0;
    return CompareKeys(ReadKey(A), ReadKey(B));
}

void SortShellItems(std::vector<TbsShellFolder*>& Items)
{
    std::vector<TSortKey> Keys;
    Keys.reserve(Items.size());
    for (TbsShellFolder* F : Items) Keys.push_back(ReadKey(F));
    std::stable_sort(Keys.begin(), Keys.end(),
                     [](const TSortKey& A, const TSortKey& B) { return CompareKeys(A, B) < 0; });
    for (size_t I = 0; I < Keys.size(); ++I) Items[I] = Keys[I].Item;
}

int TextWidthInFont(TFont* Font, const String& Text)
{
    // measured on a scratch bitmap: the control's own canvas draws only while it paints
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->Font()->Assign(Font);
    return B.Canvas()->TextWidth(Text);
}

// ---- columns ------------------------------------------------------------------------------------------

void TbsCustomShellListView::BuildColumns()
{
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    Columns()->BeginUpdate();
    struct TEnd {
        TListColumns* C;
        ~TEnd() { C->EndUpdate(); }
    } End{Columns()};
    Columns()->Clear();
    FRootFolder->SetViewHandle(HandleAllocated() ? Handle() : nullptr);
    const int XWidth = TextWidthInFont(Font(), "X");
    std::vector<String> Added;
    // A column from a shell header; false for a caption already added.
    auto AddHeader = [&](SHELLDETAILS& D) {
        const String Caption = StrRetToText(nullptr, D.str);
        if (Caption.empty()) return true;
        for (const String& A : Added)
            if (CompareText(A, Caption) == 0) return false;
        Added.push_back(Caption);
        TListColumn* C = Columns()->Add();
        C->SetCaption(Caption);
        if (D.fmt == 1) C->SetAlignment(taRightJustify);
        if (D.fmt == 2) C->SetAlignment(taCenter);
        C->SetWidth(D.cxChar * XWidth);
        return true;
    };
    if (PShellFolder2 SF2 = FRootFolder->ShellFolder2()) {
        for (UINT I = 0;; ++I) {
            SHELLDETAILS D;
            if (SF2->GetDetailsOf(nullptr, I, &D) != S_OK) break;
            AddHeader(D);  // a duplicate is skipped and the list goes on
        }
        return;
    }
    if (PShellDetails SD = FRootFolder->ShellDetails()) {
        for (UINT I = 0;; ++I) {
            SHELLDETAILS D;
            if (SD->GetDetailsOf(nullptr, I, &D) != S_OK || !AddHeader(D)) break;
        }
        return;
    }
    struct TBuiltIn {
        const char* Key;
        const char* Text;
        TAlignment Align;
        int Chars;
    };
    static const TBuiltIn BuiltIn[] = {{"FLV_NAME", "Name", taLeftJustify, 25},
                                       {"FLV_SIZE", "Size", taRightJustify, 10},
                                       {"FLV_TYPE", "Type", taLeftJustify, 10},
                                       {"FLV_MODIFIED", "Modified", taLeftJustify, 14}};
    const int Count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    for (int I = 0; I < Count; ++I) {
        TListColumn* C = Columns()->Add();
        C->SetCaption(SkinData() && SkinData()->ResourceStrData() ? SkinData()->ResourceStrData()->GetResStr(BuiltIn[I].Key)
                                                                   : String(BuiltIn[I].Text));
        C->SetAlignment(BuiltIn[I].Align);
        C->SetWidth(BuiltIn[I].Chars * XWidth);
    }
}

void TbsCustomShellListView::ColumnClickSort(int Column)
{
    if (Columns()->Count() < 4 && Column != 0) return;
    FOldSortColumn = FSortColumn;
    FSortColumn = Column;
    if (FSortColumn == FOldSortColumn && FSortColumn != -1)
        FSortDirection = !FSortDirection;
    else
        FSortDirection = false;
    ShellSortCells = TShellSortCells{FRootFolder, HandleAllocated() ? Handle() : nullptr, Column, FSortDirection, true};
    Items()->BeginUpdate();
    try {
        SortShellItems(FFolders);
    } catch (...) {
        Items()->EndUpdate();
        ShellSortCells = TShellSortCells{};
        throw;
    }
    Items()->EndUpdate();
    ShellSortCells = TShellSortCells{};
    Invalidate();
}
