// TList and TCollection.
#include "platform/system/Classes.h"

#include <algorithm>

void TList::Error(const String& AMsg, intptr_t AData) { throw EListError(Format(AMsg, int64_t(AData))); }

TList::~TList() { Clear(); }

void TList::CheckIndex(int AIndex) const
{
    if (AIndex < 0 || AIndex >= int(FItems.size())) Error("List index out of bounds (%d)", AIndex);
}

void TList::Notify(void* APtr, TListNotification AAction)
{
    (void)APtr;
    (void)AAction;
}

int TList::Add(void* AItem)
{
    FItems.push_back(AItem);
    if (AItem) Notify(AItem, lnAdded);
    return int(FItems.size()) - 1;
}

void TList::Insert(int AIndex, void* AItem)
{
    if (AIndex < 0 || AIndex > int(FItems.size())) Error("List index out of bounds (%d)", AIndex);
    FItems.insert(FItems.begin() + AIndex, AItem);
    if (AItem) Notify(AItem, lnAdded);
}

void TList::Delete(int AIndex)
{
    CheckIndex(AIndex);
    void* p = FItems[AIndex];
    FItems.erase(FItems.begin() + AIndex);
    if (p) Notify(p, lnDeleted);
}

int TList::Remove(void* AItem)
{
    int i = IndexOf(AItem);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* AItem)
{
    int i = IndexOf(AItem);
    if (i < 0) return nullptr;
    FItems.erase(FItems.begin() + i);
    Notify(AItem, lnExtracted);
    return AItem;
}

void TList::Clear()
{
    while (!FItems.empty()) Delete(int(FItems.size()) - 1);
    FItems.shrink_to_fit();
}

int TList::IndexOf(void* AItem) const
{
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TList::Exchange(int AIndex1, int AIndex2)
{
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    std::swap(FItems[AIndex1], FItems[AIndex2]);
}

void TList::Move(int ACurIndex, int ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    CheckIndex(ACurIndex);
    CheckIndex(ANewIndex);
    void* p = FItems[ACurIndex];
    FItems.erase(FItems.begin() + ACurIndex);
    FItems.insert(FItems.begin() + ANewIndex, p);
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Sort(const TListSortCompare& ACompare)
{
    std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return ACompare(a, b) < 0; });
}

void* TList::First() const
{
    if (FItems.empty()) Error("List index out of bounds (%d)", 0);
    return FItems.front();
}

void* TList::Last() const
{
    if (FItems.empty()) Error("List index out of bounds (%d)", -1);
    return FItems.back();
}

void TList::SetCount(int ANewCount)
{
    if (ANewCount < 0) Error("List count out of bounds (%d)", ANewCount);
    while (int(FItems.size()) > ANewCount) Delete(int(FItems.size()) - 1);
    FItems.resize(ANewCount, nullptr);
}

void TList::SetCapacity(int ANewCapacity)
{
    if (ANewCapacity < int(FItems.size())) Error("List capacity out of bounds (%d)", ANewCapacity);
    FItems.reserve(ANewCapacity);
}

void* TList::Items(int AIndex) const
{
    CheckIndex(AIndex);
    return FItems[AIndex];
}

void TList::SetItems(int AIndex, void* AItem)
{
    CheckIndex(AIndex);
    void* old = FItems[AIndex];
    if (old == AItem) return;
    FItems[AIndex] = AItem;
    if (old) Notify(old, lnDeleted);
    if (AItem) Notify(AItem, lnAdded);
}

// ---------------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem()
{
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* AValue)
{
    if (FCollection == AValue) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (AValue) AValue->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    auto& v = FCollection->FItems;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

void TCollectionItem::SetIndex(int AValue)
{
    int cur = Index();
    if (cur < 0 || cur == AValue) return;
    auto& v = FCollection->FItems;
    if (AValue < 0 || AValue >= int(v.size())) TList::Error("List index out of bounds (%d)", AValue);
    v.erase(v.begin() + cur);
    v.insert(v.begin() + AValue, this);
    Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String& AValue)
{
    (void)AValue;
    Changed(false);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

void TCollectionItem::Changed(bool AAllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AAllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------------
// TCollection

namespace {
struct TCollectionUpdate {
    TCollection& C;
    explicit TCollectionUpdate(TCollection& AC) : C(AC) { C.BeginUpdate(); }
    ~TCollectionUpdate() { C.EndUpdate(); }
};
}  // namespace

TCollection::TCollection(TItemFactory AItemClass) : FItemClass(std::move(AItemClass)) {}

TCollection::~TCollection()
{
    FDestroying = true;
    FUpdateCount = 1;  // no Update calls while tearing down
    while (!FItems.empty()) delete FItems.back();
}

void TCollection::InsertItem(TCollectionItem* AItem)
{
    FItems.push_back(AItem);
    AItem->FCollection = this;
    AItem->FID = FNextID++;
    Notify(AItem, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* AItem)
{
    if (!FDestroying) Notify(AItem, cnExtracting);
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    if (it != FItems.end()) FItems.erase(it);
    AItem->FCollection = nullptr;
    if (!FDestroying) Changed();
}

TCollectionItem* TCollection::Add()
{
    if (!FItemClass) throw EInvalidOperation("The collection has no item class");
    // The item inserts itself from its base constructor; the update that tells the
    // collection's users waits until the derived item is built, so that none of them
    // reads an item under construction.
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = FItemClass(this);
        if (item->FCollection != this) item->SetCollection(this);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

TCollectionItem* TCollection::Insert(int AIndex)
{
    TCollectionItem* item = Add();
    item->SetIndex(AIndex);
    return item;
}

void TCollection::Delete(int AIndex)
{
    TCollectionItem* item = Items(AIndex);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty()) return;
    TCollectionUpdate update(*this);
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int AIndex) const
{
    if (AIndex < 0 || AIndex >= int(FItems.size())) TList::Error("List index out of bounds (%d)", AIndex);
    return FItems[AIndex];
}

TCollectionItem* TCollection::FindItemID(int AID) const
{
    for (TCollectionItem* i : FItems)
        if (i->FID == AID) return i;
    return nullptr;
}

void TCollection::Assign(TPersistent* ASource)
{
    auto* src = dynamic_cast<TCollection*>(ASource);
    if (!src) {
        TPersistent::Assign(ASource);
        return;
    }
    if (src == this) return;
    TCollectionUpdate update(*this);
    Clear();
    for (TCollectionItem* i : src->FItems) Add()->Assign(i);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* AItem)
{
    (void)AItem;
    if (OnChange) OnChange(this);
}

void TCollection::Notify(TCollectionItem* AItem, TCollectionNotification AAction)
{
    (void)AItem;
    (void)AAction;
}
