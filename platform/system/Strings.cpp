// TStrings and TStringList.
#include "platform/system/Classes.h"

#include <algorithm>

TStrings::~TStrings() = default;

void TStrings::Error(const String& AMsg, intptr_t AData) const
{
    throw EStringListError(Format(AMsg, int64_t(AData)));
}

void TStrings::SetStrings(int AIndex, const String& S)
{
    TObject* obj = Objects(AIndex);
    TStringsUpdate update(*this);
    Delete(AIndex);
    InsertObject(AIndex, S, obj);
}

TObject* TStrings::Objects(int AIndex) const
{
    (void)AIndex;
    return nullptr;
}

void TStrings::SetObjects(int AIndex, TObject* AObject)
{
    (void)AIndex;
    (void)AObject;
}

void TStrings::InsertObject(int AIndex, const String& S, TObject* AObject)
{
    Insert(AIndex, S);
    SetObjects(AIndex, AObject);
}

int TStrings::Add(const String& S)
{
    int i = Count();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const String& S, TObject* AObject)
{
    int i = Add(S);
    SetObjects(i, AObject);
    return i;
}

void TStrings::AddStrings(const TStrings* AStrings)
{
    if (!AStrings) return;
    TStringsUpdate update(*this);
    for (int i = 0; i < AStrings->Count(); ++i) AddObject(AStrings->Strings(i), AStrings->Objects(i));
}

void TStrings::Assign(TPersistent* ASource)
{
    if (auto* src = dynamic_cast<TStrings*>(ASource)) {
        if (src == this) return;
        TStringsUpdate update(*this);
        Clear();
        FNameValueSeparator = src->FNameValueSeparator;
        FDelimiter = src->FDelimiter;
        FQuoteChar = src->FQuoteChar;
        FStrictDelimiter = src->FStrictDelimiter;
        FLineBreak = src->FLineBreak;
        AddStrings(src);
        return;
    }
    TPersistent::Assign(ASource);
}

void TStrings::Exchange(int AIndex1, int AIndex2)
{
    TStringsUpdate update(*this);
    String s1 = Strings(AIndex1), s2 = Strings(AIndex2);
    TObject* o1 = Objects(AIndex1);
    TObject* o2 = Objects(AIndex2);
    SetStrings(AIndex1, s2);
    SetObjects(AIndex1, o2);
    SetStrings(AIndex2, s1);
    SetObjects(AIndex2, o1);
}

void TStrings::Move(int ACurIndex, int ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    TStringsUpdate update(*this);
    String s = Strings(ACurIndex);
    TObject* o = Objects(ACurIndex);
    Delete(ACurIndex);
    InsertObject(ANewIndex, s, o);
}

bool TStrings::Equals(const TStrings* AStrings) const
{
    if (!AStrings || AStrings->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Strings(i) != AStrings->Strings(i)) return false;
    return true;
}

int TStrings::CompareStrings(const String& S1, const String& S2) const
{
    return CaseSensitive() ? CompareStr(S1, S2) : CompareText(S1, S2);
}

int TStrings::IndexOf(const String& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const String& AName) const
{
    for (int i = 0; i < Count(); ++i) {
        String s = Strings(i);
        size_t p = s.find(FNameValueSeparator);
        if (p != String::npos && SameText(std::string_view(s).substr(0, p), AName)) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == AObject) return i;
    return -1;
}

String TStrings::Names(int AIndex) const
{
    String s = Strings(AIndex);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::Values(const String& AName) const
{
    int i = IndexOfName(AName);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& AName, const String& AValue)
{
    int i = IndexOfName(AName);
    if (!AValue.empty()) {
        String line = AName + FNameValueSeparator + AValue;
        if (i < 0) Add(line);
        else SetStrings(i, line);
    } else if (i >= 0) {
        Delete(i);
    }
}

String TStrings::ValueFromIndex(int AIndex) const
{
    String s = Strings(AIndex);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int AIndex, const String& AValue)
{
    if (AValue.empty()) {
        if (AIndex >= 0) Delete(AIndex);
        return;
    }
    if (AIndex < 0) {
        Add(String(1, FNameValueSeparator) + AValue);
        return;
    }
    SetStrings(AIndex, Names(AIndex) + FNameValueSeparator + AValue);
}

String TStrings::Text() const
{
    String r;
    for (int i = 0; i < Count(); ++i) {
        r += Strings(i);
        r += FLineBreak;
    }
    return r;
}

void TStrings::SetText(const String& AText)
{
    TStringsUpdate update(*this);
    Clear();
    size_t i = 0, n = AText.size();
    while (i < n) {
        size_t e = AText.find_first_of("\r\n", i);
        if (e == String::npos) {
            Add(AText.substr(i));
            break;
        }
        Add(AText.substr(i, e - i));
        i = e + 1;
        if (AText[e] == '\r' && i < n && AText[i] == '\n') ++i;
    }
}

String TStrings::DelimitedText() const
{
    String r;
    for (int i = 0; i < Count(); ++i) {
        String s = Strings(i);
        bool quote = s.empty() && !FStrictDelimiter;
        for (char c : s)
            if (c == FDelimiter || c == FQuoteChar || (!FStrictDelimiter && (unsigned char)c <= ' ')) quote = true;
        if (i > 0) r += FDelimiter;
        if (quote) {
            r += FQuoteChar;
            for (char c : s) {
                if (c == FQuoteChar) r += FQuoteChar;
                r += c;
            }
            r += FQuoteChar;
        } else {
            r += s;
        }
    }
    if (Count() == 1 && Strings(0).empty()) return String(2, FQuoteChar);
    return r;
}

void TStrings::SetDelimitedText(const String& AText)
{
    TStringsUpdate update(*this);
    Clear();
    size_t i = 0, n = AText.size();
    auto isSep = [&](char c) { return c == FDelimiter || (!FStrictDelimiter && (unsigned char)c <= ' ' && c != 0); };
    if (!FStrictDelimiter)
        while (i < n && (unsigned char)AText[i] <= ' ') ++i;
    while (i < n) {
        String item;
        if (AText[i] == FQuoteChar) {
            ++i;
            while (i < n) {
                if (AText[i] == FQuoteChar) {
                    if (i + 1 < n && AText[i + 1] == FQuoteChar) {
                        item += FQuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += AText[i++];
            }
            // text after the closing quote up to the separator belongs to the item
            while (i < n && !isSep(AText[i])) item += AText[i++];
        } else {
            while (i < n && !isSep(AText[i])) item += AText[i++];
        }
        Add(item);
        if (!FStrictDelimiter)
            while (i < n && (unsigned char)AText[i] <= ' ' && AText[i] != FDelimiter) ++i;
        if (i < n && AText[i] == FDelimiter) {
            ++i;
            if (!FStrictDelimiter)
                while (i < n && (unsigned char)AText[i] <= ' ') ++i;
            if (i >= n) Add(String());  // a trailing delimiter ends with an empty item
        }
    }
}

String TStrings::CommaText() const
{
    TStringList tmp;
    tmp.SetDelimiter(',');
    tmp.SetQuoteChar('"');
    tmp.SetStrictDelimiter(false);
    for (int i = 0; i < Count(); ++i) tmp.Add(Strings(i));
    return tmp.DelimitedText();
}

void TStrings::SetCommaText(const String& AText)
{
    char d = FDelimiter, q = FQuoteChar;
    bool strict = FStrictDelimiter;
    FDelimiter = ',';
    FQuoteChar = '"';
    FStrictDelimiter = false;
    try {
        SetDelimitedText(AText);
    } catch (...) {
        FDelimiter = d;
        FQuoteChar = q;
        FStrictDelimiter = strict;
        throw;
    }
    FDelimiter = d;
    FQuoteChar = q;
    FStrictDelimiter = strict;
}

// Converts file bytes to UTF-8 text after looking at the byte-order mark.
static String DecodeText(const String& ABytes)
{
    auto b = [&](size_t i) { return (unsigned char)ABytes[i]; };
    if (ABytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) return ABytes.substr(3);
    if (ABytes.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF))) {
        bool little = b(0) == 0xFF;
        std::u16string u;
        for (size_t i = 2; i + 1 < ABytes.size(); i += 2)
            u += little ? char16_t(b(i) | (b(i + 1) << 8)) : char16_t((b(i) << 8) | b(i + 1));
        return Utf16ToUtf8(u);
    }
    return ABytes;
}

void TStrings::LoadFromStream(TStream* AStream)
{
    int64_t size = AStream->Size() - AStream->Position();
    String bytes;
    if (size > 0) {
        bytes.resize(size_t(size));
        bytes.resize(size_t(AStream->Read(bytes.data(), size)));
    }
    SetText(DecodeText(bytes));
}

void TStrings::LoadFromFile(const String& AFileName)
{
    SetText(DecodeText(ReadFileToString(AFileName)));
}

void TStrings::SaveToStream(TStream* AStream) const
{
    String t = Text();
    AStream->WriteBuffer(t.data(), int64_t(t.size()));
}

void TStrings::SaveToFile(const String& AFileName) const
{
    TFileStream f(AFileName, fmCreate);
    SaveToStream(&f);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

// ---------------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (auto& item : FList) delete item.FObject;
}

void TStringList::CheckIndex(int AIndex) const
{
    if (AIndex < 0 || AIndex >= int(FList.size())) Error("List index out of bounds (%d)", AIndex);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool AUpdating)
{
    if (AUpdating) Changing();
    else Changed();
}

String TStringList::Strings(int AIndex) const
{
    CheckIndex(AIndex);
    return FList[AIndex].FString;
}

void TStringList::SetStrings(int AIndex, const String& S)
{
    if (FSorted) Error("Operation not allowed on sorted list", 0);
    CheckIndex(AIndex);
    Changing();
    FList[AIndex].FString = S;
    Changed();
}

TObject* TStringList::Objects(int AIndex) const
{
    CheckIndex(AIndex);
    return FList[AIndex].FObject;
}

void TStringList::SetObjects(int AIndex, TObject* AObject)
{
    CheckIndex(AIndex);
    Changing();
    if (FOwnsObjects && FList[AIndex].FObject != AObject) delete FList[AIndex].FObject;
    FList[AIndex].FObject = AObject;
    Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject)
{
    int index;
    if (!FSorted) {
        index = int(FList.size());
    } else if (Find(S, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) Error("String list does not allow duplicates", 0);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int AIndex, const String& S) { InsertObject(AIndex, S, nullptr); }

void TStringList::InsertObject(int AIndex, const String& S, TObject* AObject)
{
    if (FSorted) Error("Operation not allowed on sorted list", 0);
    if (AIndex < 0 || AIndex > int(FList.size())) Error("List index out of bounds (%d)", AIndex);
    InsertItem(AIndex, S, AObject);
}

void TStringList::InsertItem(int AIndex, const String& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + AIndex, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(int AIndex)
{
    CheckIndex(AIndex);
    Changing();
    TObject* obj = FList[AIndex].FObject;
    FList.erase(FList.begin() + AIndex);
    if (FOwnsObjects) delete obj;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (auto& item : old) delete item.FObject;
    Changed();
}

void TStringList::Exchange(int AIndex1, int AIndex2)
{
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    Changing();
    std::swap(FList[AIndex1], FList[AIndex2]);
    Changed();
}

int TStringList::IndexOf(const String& S) const
{
    if (!FSorted) return TStrings::IndexOf(S);
    int i;
    return Find(S, i) ? i : -1;
}

bool TStringList::Find(const String& S, int& AIndex) const
{
    int lo = 0, hi = int(FList.size()) - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(FList[mid].FString, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept) lo = mid;
            }
        }
    }
    AIndex = lo;
    return found;
}

void TStringList::Sort()
{
    CustomSort([](TStringList* L, int A, int B) { return L->CompareStrings(L->FList[A].FString, L->FList[B].FString); });
}

void TStringList::CustomSort(const TStringListSortCompare& ACompare)
{
    if (FList.size() < 2) return;
    Changing();
    // Sort indexes with the caller's comparison, then reorder.
    std::vector<int> idx(FList.size());
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = int(i);
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) { return ACompare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : idx) sorted.push_back(FList[i]);
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool AValue)
{
    if (FSorted == AValue) return;
    if (AValue) Sort();
    FSorted = AValue;
}

void TStringList::SetCaseSensitive(bool AValue)
{
    if (FCaseSensitive == AValue) return;
    FCaseSensitive = AValue;
    if (FSorted) Sort();
}
