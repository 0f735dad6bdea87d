// The rows and columns of a list view: TListItem, TListItems, TListColumn, TListColumns.
#include <algorithm>

#include "platform/forms/ComCtrls.h"

namespace {
// Sub-items that redraw their row when written.
class TSubItems : public TStringList {
public:
    explicit TSubItems(TListItem* AItem) : FItem(AItem) {}

protected:
    void Changed() override
    {
        TStringList::Changed();
        if (UpdateCount() == 0 && FItem->ListView()) FItem->ListView()->ItemChanged(FItem, ctText);
    }

private:
    TListItem* FItem;
};
}  // namespace

// ---- TListItem ----------------------------------------------------------------------------------------
TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner), FSubItems(new TSubItems(this)) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner ? FOwner->Owner() : nullptr; }

int TListItem::Index() const
{
    if (FIndex >= 0 || !FOwner) return FIndex;
    return FOwner->IndexOf(this);
}

void TListItem::Assign(TPersistent* Source)
{
    auto* S = dynamic_cast<TListItem*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    FCaption = S->FCaption;
    FImageIndex = S->FImageIndex;
    FStateIndex = S->FStateIndex;
    FIndent = S->FIndent;
    FData = S->FData;
    FChecked = S->FChecked;
    FSubItemImages = S->FSubItemImages;
    FSubItems->BeginUpdate();
    FSubItems->Assign(S->FSubItems.get());
    FSubItems->EndUpdate();
    if (ListView()) ListView()->ItemChanged(this, ctText);
}

void TListItem::SetCaption(const String& V)
{
    if (FCaption == V) return;
    FCaption = V;
    if (ListView()) ListView()->ItemChanged(this, ctText);
}

int TListItem::SubItemImages(int I) const
{
    if (I < 0 || I >= FSubItems->Count()) throw EListError(Format("List index out of bounds (%d)", I));
    return size_t(I) < FSubItemImages.size() ? FSubItemImages[size_t(I)] : -1;
}

void TListItem::SetSubItemImages(int I, int V)
{
    if (I < 0 || I >= FSubItems->Count()) throw EListError(Format("List index out of bounds (%d)", I));
    if (FSubItemImages.size() <= size_t(I)) FSubItemImages.resize(size_t(I) + 1, -1);
    FSubItemImages[size_t(I)] = V;
    if (ListView()) ListView()->ItemChanged(this, ctImage);
}

void TListItem::SetImageIndex(int V)
{
    if (FImageIndex == V) return;
    FImageIndex = V;
    if (ListView()) ListView()->ItemChanged(this, ctImage);
}

void TListItem::SetChecked(bool V)
{
    if (FChecked == V) return;
    FChecked = V;
    if (ListView()) ListView()->ItemChanged(this, ctState);
}

bool TListItem::Selected() const
{
    return ListView() && (ListView()->NativeState(Index()) & LVIS_SELECTED);
}

void TListItem::SetSelected(bool V)
{
    if (ListView()) ListView()->SetNativeState(Index(), V ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool TListItem::Focused() const { return ListView() && (ListView()->NativeState(Index()) & LVIS_FOCUSED); }

void TListItem::SetFocused(bool V)
{
    if (ListView()) ListView()->SetNativeState(Index(), V ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

int TListItem::Top() const { return ListView() ? ListView()->NativeItemRect(Index(), drBounds).Top : 0; }
int TListItem::Left() const { return ListView() ? ListView()->NativeItemRect(Index(), drBounds).Left : 0; }

TRect TListItem::DisplayRect(TDisplayCode Code) const
{
    return ListView() ? ListView()->NativeItemRect(Index(), Code) : TRect();
}

void TListItem::MakeVisible(bool PartialOK)
{
    if (ListView()) ListView()->EnsureVisible(Index(), PartialOK);
}

bool TListItem::EditCaption() { return ListView() && ListView()->StartEdit(Index()); }

void TListItem::CancelEdit()
{
    if (ListView()) ListView()->CancelEdit();
}

void TListItem::Update()
{
    if (ListView()) ListView()->UpdateItems(Index(), Index());
}

void TListItem::Delete()
{
    if (FOwner) FOwner->Delete(Index());
}

// ---- TListItems ---------------------------------------------------------------------------------------
TListItems::TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}

TListItems::~TListItems()
{
    for (TListItem* I : FItems) delete I;
}

int TListItems::Count() const { return FOwner->OwnerData() ? FCount : int(FItems.size()); }

void TListItems::SetCount(int V)
{
    if (!FOwner->OwnerData()) return;
    FCount = std::max(0, V);
    FOwner->ItemsCountChanged();
}

TListItem* TListItems::Item(int Index)
{
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    if (FOwner->OwnerData()) return FOwner->RowItem(Index);
    return FItems[size_t(Index)];
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::AddItem(TListItem* Item, int Index)
{
    if (Index < 0) Index = Count();
    TListItem* N = Insert(Index);
    if (Item) N->Assign(Item);
    return N;
}

TListItem* TListItems::Insert(int Index)
{
    if (FOwner->OwnerData()) throw EListError("Operation not allowed on a list view with OwnerData set");
    if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    auto* I = new TListItem(this);
    FItems.insert(FItems.begin() + Index, I);
    FOwner->ItemsCountChanged();
    if (FOwner->OnInsert) FOwner->OnInsert(FOwner, I);
    return I;
}

void TListItems::Delete(int Index)
{
    if (FOwner->OwnerData()) throw EListError("Operation not allowed on a list view with OwnerData set");
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    TListItem* I = FItems[size_t(Index)];
    if (I->FState & LVIS_SELECTED) FOwner->SetNativeState(Index, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (FOwner->OnDeletion) FOwner->OnDeletion(FOwner, I);
    FItems.erase(FItems.begin() + Index);
    delete I;
    FOwner->ItemsCountChanged();
}

void TListItems::Clear()
{
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
    BeginUpdate();
    while (!FItems.empty()) Delete(Count() - 1);
    EndUpdate();
}

int TListItems::IndexOf(const TListItem* Item) const
{
    if (Item && Item->FIndex >= 0) return Item->FIndex;
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TListItems::BeginUpdate() { ++FUpdateCount; }

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) FOwner->ItemsCountChanged();
}

void TListItems::Assign(TPersistent* Source)
{
    auto* S = dynamic_cast<TListItems*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    Clear();
    for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Item(I));
    EndUpdate();
}

// ---- columns ------------------------------------------------------------------------------------------
TListColumn::TListColumn(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TListColumn::Changed() { TCollectionItem::Changed(false); }

void TListColumn::SetCaption(const String& V)
{
    FCaption = V;
    Changed();
}

void TListColumn::SetWidth(int V)
{
    V = std::max(0, V);
    if (FMinWidth > 0) V = std::max(V, FMinWidth);
    if (FMaxWidth > 0) V = std::min(V, FMaxWidth);
    if (V == FWidth) return;
    FWidth = V;
    Changed();
}

void TListColumn::SetMaxWidth(int V)
{
    FMaxWidth = std::max(0, V);
    if (FMaxWidth > 0 && FWidth > FMaxWidth) FWidth = FMaxWidth;
    Changed();
}

void TListColumn::SetMinWidth(int V)
{
    FMinWidth = std::max(0, V);
    if (FWidth < FMinWidth) FWidth = FMinWidth;
    Changed();
}

void TListColumn::SetAlignment(TAlignment V)
{
    FAlignment = V;
    Changed();
}

void TListColumn::SetImageIndex(int V)
{
    FImageIndex = V;
    Changed();
}

TListColumns::TListColumns(TCustomListView* AOwner) : TCollection(ItemClass<TListColumn>()), FOwner(AOwner) {}

void TListColumns::Update(TCollectionItem*)
{
    FOwner->ColumnsChanged();
}
