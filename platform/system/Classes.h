// Objects, components with ownership and free notification, lists, string lists,
// collections and streams.
#pragma once

#include "platform/system/SysUtils.h"
#include "platform/system/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TObject;
class TComponent;
class TStream;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// ---------------------------------------------------------------------------------
// TObject

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();

    // The class's own name ("TStringList"), without namespace.
    virtual String ClassName() const;
    template <class T>
    bool InheritsFrom() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// ---------------------------------------------------------------------------------
// TPersistent: copying one object's content into another.

class TPersistent : public TObject {
public:
    // Copies ASource into this object.  The base class asks ASource to copy itself
    // (AssignTo); when neither side knows the other, raises EConvertError
    // "Cannot assign a <source class> to a <this class>" ("nil" for no source).
    virtual void Assign(TPersistent* ASource);
    virtual TPersistent* GetOwner() { return nullptr; }
    virtual String GetNamePath() const { return ClassName(); }

protected:
    virtual void AssignTo(TPersistent* ADest);
    [[noreturn]] void AssignError(TPersistent* ASource);
};

// ---------------------------------------------------------------------------------
// TComponent: owner frees what it owns; free notification clears links.

enum TOperation { opInsert, opRemove };

// Horizontal alignment of text in controls and stored settings.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
    csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
public:
    // The owner, when given, takes the component into its Components and deletes it
    // in its own destructor.  Owned components must therefore be created with new.
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int AIndex) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const String& AName) const;  // name compare ignores case

    const String& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that another
    // component of the same owner already has (ignoring case).
    virtual void SetName(const String& AName);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t ATag) { FTag = ATag; }
    TComponentState ComponentState() const { return FComponentState; }
    void SetDesigning(bool AValue);

    // Moves a component into (or out of) this component's ownership.  Insertion sends
    // Notification(AComponent, opInsert), removal opRemove, to this component and,
    // through the default Notification, to every component it owns.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Deletes every owned component, last first.  A class whose owned components use
    // its own members while they are destroyed calls this first in its destructor.
    void DestroyComponents();
    // Marks the component as being destroyed (csDestroying), here and in owned components.
    void Destroying();

    // AComponent (a component that links to this one) is notified with
    // Notification(this, opRemove) when this component goes away, and this component
    // when AComponent goes away.  Components of one owner are notified anyway.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Marks the start of loading (csLoading); Loaded ends it.
    void Loading();
    virtual void Loaded();

    String GetNamePath() const override { return FName; }
    TPersistent* GetOwner() override { return FOwner; }

protected:
    // Called when AComponent is inserted into or removed from ownership or freed
    // (see FreeNotification).  Overrides clear their links to AComponent on opRemove
    // and call the inherited handler, which passes the notice to owned components.
    virtual void Notification(TComponent* AComponent, TOperation AOperation);
    virtual void ValidateRename(TComponent* AComponent, const String& ACurName, const String& ANewName);

    TComponentState FComponentState;

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    intptr_t FTag = 0;
};

// ---------------------------------------------------------------------------------
// TList: a list of untyped pointers.

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
    ~TList() override;

    int Add(void* AItem);
    void Insert(int AIndex, void* AItem);
    void Delete(int AIndex);
    int Remove(void* AItem);          // index the item had, -1 when absent
    void* Extract(void* AItem);       // removes without lnDeleted; nullptr when absent
    virtual void Clear();
    int IndexOf(void* AItem) const;
    void Exchange(int AIndex1, int AIndex2);
    void Move(int ACurIndex, int ANewIndex);
    void Pack();                      // removes nil items
    void Sort(const TListSortCompare& ACompare);
    void* First() const;
    void* Last() const;

    int Count() const { return int(FItems.size()); }
    void SetCount(int ANewCount);
    int Capacity() const { return int(FItems.capacity()); }
    void SetCapacity(int ANewCapacity);
    void* Items(int AIndex) const;
    void SetItems(int AIndex, void* AItem);
    void* operator[](int AIndex) const { return Items(AIndex); }
    void** List() { return FItems.data(); }

    // Raises EListError with the message formatted with AData.
    [[noreturn]] static void Error(const String& AMsg, intptr_t AData);

protected:
    virtual void Notify(void* APtr, TListNotification AAction);

private:
    void CheckIndex(int AIndex) const;
    std::vector<void*> FItems;
};

// ---------------------------------------------------------------------------------
// TStrings / TStringList

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
public:
    ~TStrings() override;

    virtual int Count() const = 0;
    virtual String Strings(int AIndex) const = 0;
    virtual void SetStrings(int AIndex, const String& S);
    virtual TObject* Objects(int AIndex) const;
    virtual void SetObjects(int AIndex, TObject* AObject);
    virtual void Insert(int AIndex, const String& S) = 0;
    virtual void InsertObject(int AIndex, const String& S, TObject* AObject);
    virtual void Delete(int AIndex) = 0;
    virtual void Clear() = 0;
    String operator[](int AIndex) const { return Strings(AIndex); }

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    void Append(const String& S) { Add(S); }
    virtual void AddStrings(const TStrings* AStrings);
    void Assign(TPersistent* ASource) override;
    virtual void Exchange(int AIndex1, int AIndex2);
    virtual void Move(int ACurIndex, int ANewIndex);
    bool Equals(const TStrings* AStrings) const;

    // Index of the first string equal to S (ignoring ASCII case unless the list is
    // case-sensitive), -1 when absent.
    virtual int IndexOf(const String& S) const;
    // Index of the first "name=value" line whose name is AName, ignoring case.
    virtual int IndexOfName(const String& AName) const;
    int IndexOfObject(TObject* AObject) const;

    // "name=value" access, the name compared ignoring case.  Names(i) is empty for a
    // line without the separator.  SetValues with an empty value deletes the line.
    String Names(int AIndex) const;
    String Values(const String& AName) const;
    void SetValues(const String& AName, const String& AValue);
    String ValueFromIndex(int AIndex) const;
    void SetValueFromIndex(int AIndex, const String& AValue);
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

    // The lines, each ended by LineBreak (CR LF unless changed).  SetText splits at
    // CR LF, LF or CR.
    virtual String Text() const;
    virtual void SetText(const String& AText);
    const String& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const String& S) { FLineBreak = S; }
    // Items separated by the delimiter; items holding blanks, quotes or the delimiter
    // are quoted with the quote character (doubled inside).
    String DelimitedText() const;
    void SetDelimitedText(const String& AText);
    String CommaText() const;
    void SetCommaText(const String& AText);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char C) { FDelimiter = C; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char C) { FQuoteChar = C; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool AValue) { FStrictDelimiter = AValue; }

    // Reading detects a byte-order mark (UTF-8, UTF-16 LE/BE) and converts to UTF-8;
    // text without one is taken as UTF-8.  Writing stores UTF-8 without a mark.
    virtual void LoadFromStream(TStream* AStream);
    virtual void LoadFromFile(const String& AFileName);
    virtual void SaveToStream(TStream* AStream) const;
    virtual void SaveToFile(const String& AFileName) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    virtual bool CaseSensitive() const { return false; }

protected:
    virtual void SetUpdateState(bool AUpdating) { (void)AUpdating; }
    virtual int CompareStrings(const String& S1, const String& S2) const;
    [[noreturn]] void Error(const String& AMsg, intptr_t AData) const;

private:
    int FUpdateCount = 0;
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    String FLineBreak = "\r\n";
};

// Holds a BeginUpdate/EndUpdate pair of a string list for its lifetime.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings& AStrings) : FStrings(AStrings) { FStrings.BeginUpdate(); }
    ~TStringsUpdate() { FStrings.EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings& FStrings;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
    ~TStringList() override;

    int Count() const override { return int(FList.size()); }
    String Strings(int AIndex) const override;
    void SetStrings(int AIndex, const String& S) override;
    TObject* Objects(int AIndex) const override;
    void SetObjects(int AIndex, TObject* AObject) override;
    // In a sorted list Add puts the string in order (Insert raises EStringListError);
    // a duplicate is ignored, accepted or refused with EStringListError per Duplicates.
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    void Insert(int AIndex, const String& S) override;
    void InsertObject(int AIndex, const String& S, TObject* AObject) override;
    void Delete(int AIndex) override;
    void Clear() override;
    void Exchange(int AIndex1, int AIndex2) override;
    int IndexOf(const String& S) const override;

    // Binary search of a sorted list: true and the index when found, else the index
    // where S would go.
    virtual bool Find(const String& S, int& AIndex) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& ACompare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates AValue) { FDuplicates = AValue; }
    bool CaseSensitive() const override { return FCaseSensitive; }
    void SetCaseSensitive(bool AValue);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool AUpdating) override;
    void InsertItem(int AIndex, const String& S, TObject* AObject);

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(int AIndex) const;
    std::vector<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;
};

// ---------------------------------------------------------------------------------
// TCollection / TCollectionItem

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins ACollection (when given) at its end.
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* AValue);
    int ID() const { return FID; }
    int Index() const;
    virtual void SetIndex(int AValue);
    virtual String DisplayName() const;
    virtual void SetDisplayName(const String& AValue);
    TPersistent* GetOwner() override;

protected:
    // Tells the collection that this item (or, with AAllItems, every item) changed.
    void Changed(bool AAllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    template <class T>
    static TItemFactory ItemClass()
    {
        return [](TCollection* C) -> TCollectionItem* { return new T(C); };
    }

    // AItemClass creates an item of the collection's item class joined to the collection.
    explicit TCollection(TItemFactory AItemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int AIndex);
    void Delete(int AIndex);
    void Clear();
    int Count() const { return int(FItems.size()); }
    TCollectionItem* Items(int AIndex) const;
    TCollectionItem* FindItemID(int AID) const;
    void Assign(TPersistent* ASource) override;

    // Between BeginUpdate and the matching EndUpdate, changes are gathered and
    // Update(nullptr) runs once at the end.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TPersistent* GetOwner() override { return nullptr; }

    TNotifyEvent OnChange;  // fired by the default Update

protected:
    friend class TCollectionItem;
    // Called once per change; AItem is the changed item or nullptr for all items.
    virtual void Update(TCollectionItem* AItem);
    virtual void Notify(TCollectionItem* AItem, TCollectionNotification AAction);
    void Changed();

private:
    void InsertItem(TCollectionItem* AItem);
    void RemoveItem(TCollectionItem* AItem);
    TItemFactory FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
    bool FDestroying = false;
};

// A collection that reports an owner (for example the component it belongs to).
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TItemFactory AItemClass)
        : TCollection(std::move(AItemClass)), FOwner(AOwner) {}
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};

// ---------------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Transfer up to ACount bytes; return the number transferred.
    virtual int64_t Read(void* ABuffer, int64_t ACount) = 0;
    virtual int64_t Write(const void* ABuffer, int64_t ACount) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t APos) { Seek(APos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t ANewSize);

    // Exactly ACount bytes or EReadError "Stream read error" / EWriteError
    // "Stream write error".
    void ReadBuffer(void* ABuffer, int64_t ACount);
    void WriteBuffer(const void* ABuffer, int64_t ACount);
    // Copies ACount bytes from ASource's position; ACount 0 copies all of ASource
    // from its start.  Returns the number of bytes copied.
    int64_t CopyFrom(TStream* ASource, int64_t ACount);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* ABuffer, int64_t ACount) override;
    int64_t Write(const void* ABuffer, int64_t ACount) override;
    int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;
    int64_t Size() override { return int64_t(FData.size()); }
    void SetSize(int64_t ANewSize) override;

    void Clear();
    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void LoadFromStream(TStream* AStream);
    void LoadFromFile(const String& AFileName);
    void SaveToStream(TStream* AStream);
    void SaveToFile(const String& AFileName);

protected:
    std::vector<uint8_t> FData;

private:
    int64_t FPosition = 0;
};

// A memory stream made from a string; DataString gives the bytes back as a string.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const String& AData = String());
    String DataString() const;
};

// File open modes: one access mode, optionally or-ed with a share mode (share modes
// are accepted and have no effect here).
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;
constexpr uint16_t fmCreate = 0xFF00;  // create or truncate, then read and write

class TFileStream : public TStream {
public:
    // Raises EFCreateError "Cannot create file "<name>". <reason>" or EFOpenError
    // "Cannot open file "<name>". <reason>".
    TFileStream(const String& AFileName, uint16_t AMode);
    ~TFileStream() override;

    int64_t Read(void* ABuffer, int64_t ACount) override;
    int64_t Write(const void* ABuffer, int64_t ACount) override;
    int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;
    void SetSize(int64_t ANewSize) override;

    const String& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    String FFileName;
    int FHandle = -1;
};

// Reads a whole file into a string; raises EFOpenError when it cannot be read.
String ReadFileToString(const String& AFileName);
// Writes AData to AFileName atomically: a temporary file beside it is written, flushed
// and renamed over the old one, so that the old file stays intact when any step fails
// (EFCreateError or EWriteError, the temporary file removed).  A symbolic link is
// followed and its target replaced.
void WriteFileAtomic(const String& AFileName, std::string_view AData);
