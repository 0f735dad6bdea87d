// Ownership, free notification, names, Assign and collections.
#include "platform/system/Classes.h"
#include "platform/system/ComponentLink.h"

#include <gtest/gtest.h>

namespace {

// Records its own destruction into a shared log.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, std::vector<String>* ALog, const String& AName) : TComponent(AOwner), FLog(ALog)
    {
        SetName(AName);
    }
    ~TProbe() override { FLog->push_back(Name()); }

private:
    std::vector<String>* FLog;
};

// Holds a non-owning link to another component, cleared when it goes away.
class TLinker : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* Link() const { return FLink; }
    void SetLink(TComponent* AValue)
    {
        if (FLink) FLink->RemoveFreeNotification(this);
        FLink = AValue;
        if (FLink) FLink->FreeNotification(this);
    }
    std::vector<std::pair<TComponent*, TOperation>> Seen;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override
    {
        TComponent::Notification(AComponent, AOperation);
        Seen.push_back({AComponent, AOperation});
        if (AOperation == opRemove && AComponent == FLink) FLink = nullptr;
    }

private:
    TComponent* FLink = nullptr;
};

TEST(Component, OwnerFreesWhatItOwnsLastFirst)
{
    std::vector<String> log;
    auto* owner = new TProbe(nullptr, &log, "Owner");
    new TProbe(owner, &log, "A");
    auto* b = new TProbe(owner, &log, "B");
    new TProbe(b, &log, "B1");
    ASSERT_EQ(2, owner->ComponentCount());
    EXPECT_EQ(owner, b->Owner());
    EXPECT_EQ(1, b->ComponentIndex());
    EXPECT_EQ(b, owner->FindComponent("b"));
    EXPECT_EQ(nullptr, owner->FindComponent("B1"));
    delete owner;
    // Each logs in its own destructor, before the base class deletes what it owns.
    EXPECT_EQ((std::vector<String>{"Owner", "B", "B1", "A"}), log);
}

TEST(Component, DeletingAnOwnedComponentTakesItOutOfItsOwner)
{
    std::vector<String> log;
    TProbe owner(nullptr, &log, "Owner");
    auto* a = new TProbe(&owner, &log, "A");
    auto* b = new TProbe(&owner, &log, "B");
    delete a;
    ASSERT_EQ(1, owner.ComponentCount());
    EXPECT_EQ(b, owner.Components(0));
    EXPECT_THROW(owner.Components(1), EListError);
}

TEST(Component, SiblingLinkIsClearedWhenTheTargetGoesAway)
{
    TComponent owner(nullptr);
    auto* target = new TComponent(&owner);
    auto* linker = new TLinker(&owner);
    linker->SetLink(target);
    delete target;
    EXPECT_EQ(nullptr, linker->Link());
}

TEST(Component, FreeNotificationClearsLinksAcrossOwners)
{
    TComponent form1(nullptr), form2(nullptr);
    auto* skinData = new TComponent(&form1);
    auto* control = new TLinker(&form2);
    control->SetLink(skinData);
    delete skinData;
    EXPECT_EQ(nullptr, control->Link());
    // And with no owners at all.
    auto* lone = new TComponent(nullptr);
    TLinker l2(nullptr);
    l2.SetLink(lone);
    delete lone;
    EXPECT_EQ(nullptr, l2.Link());
}

TEST(Component, LinkerDyingFirstLeavesNoDanglingNotice)
{
    TComponent form1(nullptr);
    auto* skinData = new TComponent(&form1);
    {
        TLinker control(nullptr);
        control.SetLink(skinData);
    }
    delete skinData;  // must not notify the destroyed linker
    SUCCEED();
}

TEST(Component, RemovedFreeNotificationIsNotSent)
{
    auto* a = new TComponent(nullptr);
    TLinker l(nullptr);
    l.SetLink(a);
    l.SetLink(nullptr);
    l.Seen.clear();
    delete a;
    EXPECT_TRUE(l.Seen.empty());
}

// A component link reads its component until it is freed (or starts being destroyed);
// relinked or freed first, it leaves no notice behind.
TEST(Component, LinkForgetsTheFreedComponent)
{
    auto* a = new TLinker(nullptr);
    auto* b = new TLinker(nullptr);
    auto link = std::make_unique<TComponentLink<TLinker>>();
    EXPECT_EQ(nullptr, link->Get());
    *link = a;
    EXPECT_EQ(a, link->Get());
    EXPECT_EQ(a->Link(), (*link)->Link());
    delete a;
    EXPECT_EQ(nullptr, link->Get());
    *link = b;
    *link = nullptr;
    b->Seen.clear();
    *link = b;
    b->Destroying();
    EXPECT_EQ(nullptr, link->Get());
    link.reset();
    EXPECT_TRUE(b->Seen.empty());
    delete b;  // must not reach the freed link
}

TEST(Component, OwnerAndSiblingsHearInsertAndRemove)
{
    TLinker owner(nullptr);
    auto* sibling = new TLinker(&owner);
    owner.Seen.clear();
    auto* c = new TComponent(&owner);
    ASSERT_EQ(1u, owner.Seen.size());
    EXPECT_EQ(opInsert, owner.Seen[0].second);
    EXPECT_EQ(c, sibling->Seen.back().first);
    owner.RemoveComponent(c);
    EXPECT_EQ(opRemove, owner.Seen.back().second);
    EXPECT_EQ(nullptr, c->Owner());
    EXPECT_EQ(1, owner.ComponentCount());
    delete c;
}

TEST(Component, OwnerDestructionMarksDestroyingAndClearsLinksBeforeDeleting)
{
    // The linker is created first, so the owner deletes the target first; the linker
    // must hear of it before its own destruction.
    auto* owner = new TComponent(nullptr);
    auto* linker = new TLinker(owner);
    auto* target = new TComponent(owner);
    linker->SetLink(target);
    bool destroyingSeen = false;
    struct TWatch : TComponent {
        bool* Flag;
        TWatch(TComponent* O, bool* F) : TComponent(O), Flag(F) {}
        ~TWatch() override { *Flag = ComponentState().Contains(csDestroying); }
    };
    new TWatch(owner, &destroyingSeen);
    delete owner;
    EXPECT_TRUE(destroyingSeen);
}

TEST(Component, HandlerMayDeleteSiblingsWhileTheNoticeTravels)
{
    // When its partner goes away, a component deletes its helper, a sibling.
    struct TKiller : TComponent {
        TComponent* Partner = nullptr;
        TComponent* Helper = nullptr;
        using TComponent::TComponent;
        void Notification(TComponent* AComponent, TOperation AOperation) override
        {
            TComponent::Notification(AComponent, AOperation);
            if (AOperation == opRemove && AComponent == Partner) {
                Partner = nullptr;
                delete Helper;
                Helper = nullptr;
            }
        }
    };
    TComponent owner(nullptr);
    for (int i = 0; i < 5; ++i) new TComponent(&owner);
    auto* killer = new TKiller(&owner);
    killer->Helper = new TComponent(&owner);
    for (int i = 0; i < 5; ++i) new TComponent(&owner);
    killer->Partner = new TComponent(&owner);
    int before = owner.ComponentCount();
    delete killer->Partner;
    EXPECT_EQ(before - 2, owner.ComponentCount());
    EXPECT_EQ(nullptr, killer->Helper);
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Button1");
    auto* b = new TComponent(&owner);
    EXPECT_THROW(b->SetName("button1"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("Button2");
    EXPECT_EQ("Button2", b->Name());
    a->SetName("BUTTON1");  // renaming itself with another case is allowed
}

TEST(Component, LoadingStateAndTag)
{
    TComponent c(nullptr);
    c.Loading();
    EXPECT_TRUE(c.ComponentState().Contains(csLoading));
    c.Loaded();
    EXPECT_FALSE(c.ComponentState().Contains(csLoading));
    c.SetTag(-1);
    EXPECT_EQ(-1, c.Tag());
    auto* child = new TComponent(&c);
    c.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

class TFontish : public TPersistent {
public:
    int Size = 8;
    void Assign(TPersistent* ASource) override
    {
        if (auto* f = dynamic_cast<TFontish*>(ASource)) Size = f->Size;
        else TPersistent::Assign(ASource);
    }
};

TEST(Persistent, AssignCopiesKnownClassesAndRefusesOthers)
{
    TFontish a, b;
    b.Size = 12;
    a.Assign(&b);
    EXPECT_EQ(12, a.Size);
    TStringList list;
    try {
        a.Assign(&list);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ("Cannot assign a TStringList to a TFontish", e.Message());
    }
    try {
        a.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ("Cannot assign a nil to a TFontish", e.Message());
    }
}

TEST(List, IndexErrorsAndEditing)
{
    TList l;
    int a = 1, b = 2, c = 3;
    l.Add(&a);
    l.Add(&b);
    l.Insert(0, &c);
    EXPECT_EQ(&c, l[0]);
    EXPECT_EQ(1, l.IndexOf(&a));
    l.Move(0, 2);
    EXPECT_EQ(&c, l.Last());
    EXPECT_EQ(0, l.Remove(&a));
    EXPECT_EQ(-1, l.Remove(&a));
    l.Add(nullptr);
    l.Pack();
    EXPECT_EQ(2, l.Count());
    try {
        l.Items(5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ("List index out of bounds (5)", e.Message());
    }
    EXPECT_THROW(l.Delete(-1), EListError);
    l.Sort([](void* x, void* y) { return *(int*)x - *(int*)y; });
    EXPECT_EQ(&b, l.First());
}

class TBand : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int Width = 0;
    void SetWidth(int AValue)
    {
        Width = AValue;
        Changed(false);
    }
    void Assign(TPersistent* ASource) override
    {
        if (auto* b = dynamic_cast<TBand*>(ASource)) Width = b->Width;
        else TCollectionItem::Assign(ASource);
    }
};

class TBands : public TOwnedCollection {
public:
    explicit TBands(TPersistent* AOwner) : TOwnedCollection(AOwner, ItemClass<TBand>()) {}
    std::vector<TCollectionItem*> Updates;
    TBand* Band(int I) const { return static_cast<TBand*>(Items(I)); }

protected:
    void Update(TCollectionItem* AItem) override { Updates.push_back(AItem); }
};

// An item with a value set by its own constructor, and a collection whose updates read
// every item, as a painting user of a collection does.
class TMarked : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int Mark = 42;
};

class TMarkedList : public TCollection {
public:
    TMarkedList() : TCollection(ItemClass<TMarked>()) {}
    std::vector<int> Seen;

protected:
    void Update(TCollectionItem* AItem) override
    {
        TCollection::Update(AItem);
        for (int I = 0; I < Count(); ++I) Seen.push_back(static_cast<TMarked*>(Items(I))->Mark);
    }
};

TEST(Collection, UpdatesOfAnAddedItemComeOnceItIsBuilt)
{
    TMarkedList L;
    L.Add();
    L.Insert(0);
    L.Add();
    ASSERT_FALSE(L.Seen.empty());
    for (int M : L.Seen) EXPECT_EQ(M, 42);
    EXPECT_EQ(L.Count(), 3);
}

TEST(Collection, ItemsChangesAndUpdateBatching)
{
    TComponent owner(nullptr);
    TBands bands(&owner);
    EXPECT_EQ(&owner, bands.GetOwner());
    auto* b0 = static_cast<TBand*>(bands.Add());
    auto* b1 = static_cast<TBand*>(bands.Add());
    EXPECT_EQ(&bands, b0->GetOwner());
    EXPECT_EQ(1, b1->Index());
    EXPECT_EQ(b1, bands.FindItemID(b1->ID()));
    bands.Updates.clear();
    b1->SetWidth(5);
    ASSERT_EQ(1u, bands.Updates.size());
    EXPECT_EQ(b1, bands.Updates[0]);

    bands.Updates.clear();
    bands.BeginUpdate();
    b0->SetWidth(1);
    bands.Add();
    bands.Delete(0);
    EXPECT_TRUE(bands.Updates.empty());
    bands.EndUpdate();
    ASSERT_EQ(1u, bands.Updates.size());
    EXPECT_EQ(nullptr, bands.Updates[0]);
    EXPECT_EQ(2, bands.Count());
    EXPECT_EQ(0, b1->Index());

    b1->SetIndex(1);
    EXPECT_EQ(1, b1->Index());
    delete b1;
    EXPECT_EQ(1, bands.Count());

    TBands copy(nullptr);
    bands.Band(0)->Width = 9;
    copy.Assign(&bands);
    ASSERT_EQ(1, copy.Count());
    EXPECT_EQ(9, copy.Band(0)->Width);
    EXPECT_THROW(bands.Items(3), EListError);
}

}  // namespace
