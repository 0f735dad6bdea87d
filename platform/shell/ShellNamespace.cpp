// The shell namespace over the file system: item lists, the desktop, Computer and
// file-system folders, special folders, paths, icons by kind and the find-data details.
#include "platform/shell/ShlObj.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <ctime>
#include <optional>

#include "platform/system/Classes.h"
#include "platform/system/Paths.h"

// ---- the task allocator ----------------------------------------------------------------------
// Blocks carry their size in front, so that GetSize can answer; they start zero-filled.
namespace {
constexpr size_t BlockHeader = 16;
}

void* CoTaskMemAlloc(size_t Size)
{
    auto* P = static_cast<uint8_t*>(calloc(1, Size + BlockHeader));
    if (!P) return nullptr;
    *reinterpret_cast<size_t*>(P) = Size;
    return P + BlockHeader;
}

void* CoTaskMemRealloc(void* Block, size_t Size)
{
    if (!Block) return CoTaskMemAlloc(Size);
    auto* P = static_cast<uint8_t*>(Block) - BlockHeader;
    size_t Old = *reinterpret_cast<size_t*>(P);
    auto* N = static_cast<uint8_t*>(realloc(P, Size + BlockHeader));
    if (!N) return nullptr;
    if (Size > Old) memset(N + BlockHeader + Old, 0, Size - Old);
    *reinterpret_cast<size_t*>(N) = Size;
    return N + BlockHeader;
}

void CoTaskMemFree(void* Block)
{
    if (Block) free(static_cast<uint8_t*>(Block) - BlockHeader);
}

namespace {
struct TTaskMalloc : IMalloc {
    void* Alloc(size_t Size) override { return CoTaskMemAlloc(Size); }
    void* Realloc(void* Block, size_t Size) override { return CoTaskMemRealloc(Block, Size); }
    void Free(void* Block) override { CoTaskMemFree(Block); }
    size_t GetSize(void* Block) override
    {
        return Block ? *reinterpret_cast<size_t*>(static_cast<uint8_t*>(Block) - BlockHeader) : 0;
    }
};
}  // namespace

HRESULT SHGetMalloc(IMalloc** Malloc)
{
    static TTaskMalloc M;
    if (!Malloc) return E_INVALIDARG;
    *Malloc = &M;
    return S_OK;
}

// ---- item lists ------------------------------------------------------------------------------------
namespace {
uint16_t ItemSize(const uint8_t* P)
{
    uint16_t N;
    memcpy(&N, P, 2);
    return N;
}
}  // namespace

UINT ILGetSize(LPCITEMIDLIST List)
{
    if (!List) return 0;
    auto* P = reinterpret_cast<const uint8_t*>(List);
    UINT Size = 2;
    for (uint16_t N; (N = ItemSize(P)) != 0; P += N) Size += N;
    return Size;
}

int ILGetCount(LPCITEMIDLIST List)
{
    if (!List) return 0;
    int Count = 0;
    auto* P = reinterpret_cast<const uint8_t*>(List);
    for (uint16_t N; (N = ItemSize(P)) != 0; P += N) ++Count;
    return Count;
}

LPCITEMIDLIST ILGetNext(LPCITEMIDLIST Item)
{
    if (!Item) return nullptr;
    auto* P = reinterpret_cast<const uint8_t*>(Item);
    uint16_t N = ItemSize(P);
    if (N == 0) return nullptr;
    return reinterpret_cast<LPCITEMIDLIST>(P + N);
}

LPITEMIDLIST ILClone(LPCITEMIDLIST List)
{
    if (!List) return nullptr;
    UINT Size = ILGetSize(List);
    void* P = CoTaskMemAlloc(Size);
    if (P) memcpy(P, List, Size);
    return static_cast<LPITEMIDLIST>(P);
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST First, LPCITEMIDLIST Second)
{
    UINT A = First ? ILGetSize(First) - 2 : 0;
    UINT B = Second ? ILGetSize(Second) : 2;
    auto* P = static_cast<uint8_t*>(CoTaskMemAlloc(A + B));
    if (!P) return nullptr;
    if (A) memcpy(P, First, A);
    if (Second) memcpy(P + A, Second, B);
    return reinterpret_cast<LPITEMIDLIST>(P);
}

void ILFree(LPITEMIDLIST List) { CoTaskMemFree(List); }

LPITEMIDLIST ILFromItems(const std::vector<String>& Items)
{
    size_t Size = 2;
    for (const String& I : Items) Size += 2 + I.size();
    auto* P = static_cast<uint8_t*>(CoTaskMemAlloc(Size));
    if (!P) return nullptr;
    uint8_t* Q = P;
    for (const String& I : Items) {
        uint16_t N = uint16_t(2 + I.size());
        memcpy(Q, &N, 2);
        memcpy(Q + 2, I.data(), I.size());
        Q += N;
    }
    return reinterpret_cast<LPITEMIDLIST>(P);
}

std::vector<String> ILItems(LPCITEMIDLIST List)
{
    std::vector<String> Items;
    if (!List) return Items;
    auto* P = reinterpret_cast<const uint8_t*>(List);
    for (uint16_t N; (N = ItemSize(P)) != 0; P += N) {
        if (N < 2) break;
        Items.emplace_back(reinterpret_cast<const char*>(P + 2), N - 2);
    }
    return Items;
}

String StrRetToString(STRRET& Name, LPCITEMIDLIST Item)
{
    switch (Name.uType) {
    case STRRET_WSTR: {
        String S = Name.pOleStr ? String(Name.pOleStr) : String();
        CoTaskMemFree(Name.pOleStr);
        Name.pOleStr = nullptr;
        return S;
    }
    case STRRET_OFFSET: {
        if (!Item) return String();
        auto* P = reinterpret_cast<const uint8_t*>(Item);
        uint16_t N = ItemSize(P);
        if (Name.uOffset >= N) return String();
        return String(reinterpret_cast<const char*>(P + Name.uOffset), N - Name.uOffset);
    }
    case STRRET_CSTR: return String(Name.cStr, strnlen(Name.cStr, sizeof(Name.cStr)));
    }
    return String();
}

// ---- the environment -------------------------------------------------------------------------------
namespace {

String DecodeMountField(const String& S)
{
    String R;
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] == '\\' && I + 3 < S.size() && isdigit((unsigned char)S[I + 1]) &&
            isdigit((unsigned char)S[I + 2]) && isdigit((unsigned char)S[I + 3])) {
            R += char((S[I + 1] - '0') * 64 + (S[I + 2] - '0') * 8 + (S[I + 3] - '0'));
            I += 3;
        } else {
            R += S[I];
        }
    }
    return R;
}

bool UnderOrAt(const String& Path, const String& Root)
{
    if (Root == "/") return !Path.empty() && Path[0] == '/';
    return Path == Root || (Path.size() > Root.size() && Path.compare(0, Root.size(), Root) == 0 && Path[Root.size()] == '/');
}

String ReadUserDir(const String& Config, const char* Key, const String& Home, const String& Default)
{
    // lines like XDG_DESKTOP_DIR="$HOME/Desktop"
    std::unique_ptr<TStringList> L(new TStringList);
    try {
        L->LoadFromFile(Config);
    } catch (Exception&) {
        return Default;
    }
    for (int I = 0; I < L->Count(); ++I) {
        String Line = Trim(L->Strings(I));
        if (Line.empty() || Line[0] == '#') continue;
        size_t Eq = Line.find('=');
        if (Eq == String::npos || Trim(Line.substr(0, Eq)) != Key) continue;
        String V = Trim(Line.substr(Eq + 1));
        if (V.size() >= 2 && V.front() == '"' && V.back() == '"') V = V.substr(1, V.size() - 2);
        if (V.compare(0, 5, "$HOME") == 0) V = Home + V.substr(5);
        if (V.empty() || V[0] != '/') return Default;
        return ExcludeTrailingPathDelimiter(V);
    }
    return Default;
}

std::optional<TShellEnvironment>& EnvOverride()
{
    static std::optional<TShellEnvironment> E;
    return E;
}

}  // namespace

std::vector<String> UserMountsFromTable(const String& Table)
{
    std::vector<String> R{"/"};
    size_t Pos = 0;
    while (Pos < Table.size()) {
        size_t End = Table.find('\n', Pos);
        if (End == String::npos) End = Table.size();
        String Line = Table.substr(Pos, End - Pos);
        Pos = End + 1;
        size_t A = Line.find(' ');
        if (A == String::npos) continue;
        size_t B = Line.find(' ', A + 1);
        String Point = DecodeMountField(Line.substr(A + 1, B == String::npos ? String::npos : B - A - 1));
        if (Point.empty() || Point == "/") continue;
        if (!UnderOrAt(Point, "/media") && !UnderOrAt(Point, "/mnt") && !UnderOrAt(Point, "/run/media")) continue;
        if (Point == "/media" || Point == "/mnt" || Point == "/run/media") continue;
        if (std::find(R.begin(), R.end(), Point) == R.end()) R.push_back(Point);
    }
    return R;
}

TShellEnvironment SystemShellEnvironment()
{
    TShellEnvironment E;
    E.Home = ExcludeTrailingPathDelimiter(HomeFolder());
    E.AppData = ExcludeTrailingPathDelimiter(XdgConfigFolder());
    String Config = XdgConfigFolder() + "user-dirs.dirs";
    E.Desktop = ReadUserDir(Config, "XDG_DESKTOP_DIR", E.Home, E.Home + "/Desktop");
    E.Documents = ReadUserDir(Config, "XDG_DOCUMENTS_DIR", E.Home, E.Home + "/Documents");
    E.Templates = ReadUserDir(Config, "XDG_TEMPLATES_DIR", E.Home, E.Home + "/Templates");
    String Table;
    try {
        Table = ReadFileToString("/proc/self/mounts");
    } catch (Exception&) {
    }
    E.Mounts = UserMountsFromTable(Table);
    return E;
}

const TShellEnvironment& ShellEnvironment()
{
    auto& O = EnvOverride();
    if (!O) O = SystemShellEnvironment();
    return *O;
}

void SetShellEnvironment(const TShellEnvironment& Environment) { EnvOverride() = Environment; }
void ResetShellEnvironment() { EnvOverride().reset(); }

// ---- nodes: what an item list names ----------------------------------------------------------------
namespace {

enum TNodeKind { nkDesktop, nkComputer, nkPath };

struct TNode {
    TNodeKind Kind = nkDesktop;
    String Path;        // nkPath: the absolute path
    char Item = 0;      // the kind byte of the item that named it ('P', 'D', 'F'), 0 for the desktop
    String Name;        // the item's own text (name or path)
    bool IsAnchor() const { return Item == 'P'; }
};

const char* const ComputerTag = "computer";

bool ValidName(const String& N)
{
    return !N.empty() && N != "." && N != ".." && N.find('/') == String::npos && N.find('\0') == String::npos;
}

String Join(const String& Folder, const String& Name) { return Folder == "/" ? "/" + Name : Folder + "/" + Name; }

// The folder a desktop's file-system entries live in, when it is a folder of its own.
String DesktopEntriesFolder()
{
    const TShellEnvironment& E = ShellEnvironment();
    if (E.Desktop.empty() || E.Desktop == E.Home || !DirectoryExists(E.Desktop)) return String();
    return E.Desktop;
}

bool ResolveItem(const TNode& Parent, const String& Bytes, TNode& Out)
{
    if (Bytes.empty()) return false;
    char K = Bytes[0];
    String Text = Bytes.substr(1);
    Out = TNode{};
    Out.Item = K;
    Out.Name = Text;
    switch (K) {
    case 'V':
        if (Text != ComputerTag || Parent.Kind != nkDesktop) return false;
        Out.Kind = nkComputer;
        return true;
    case 'P':
        if (Text.empty() || Text[0] != '/') return false;
        Out.Kind = nkPath;
        Out.Path = Text;
        return true;
    case 'D':
    case 'F': {
        if (!ValidName(Text)) return false;
        String Base;
        if (Parent.Kind == nkPath) Base = Parent.Path;
        else if (Parent.Kind == nkDesktop) Base = DesktopEntriesFolder();
        if (Base.empty()) return false;
        Out.Kind = nkPath;
        Out.Path = Join(Base, Text);
        return true;
    }
    }
    return false;
}

bool ResolveList(const TNode& Start, LPCITEMIDLIST List, TNode& Out)
{
    Out = Start;
    if (!List) return false;
    for (const String& I : ILItems(List)) {
        TNode N;
        if (!ResolveItem(Out, I, N)) return false;
        Out = N;
    }
    return true;
}

String Label(const TNode& N)
{
    switch (N.Kind) {
    case nkDesktop: return "Desktop";
    case nkComputer: return "Computer";
    case nkPath:
        if (N.Item == 'P') return N.Path == "/" ? String("/") : ExtractFileName(ExcludeTrailingPathDelimiter(N.Path));
        return N.Name;
    }
    return String();
}

bool IsHidden(const String& Name) { return !Name.empty() && Name[0] == '.'; }

bool IsRemovable(const String& Path)
{
    for (const String& R : ShellEnvironment().RemovableRoots) {
        String Root = ExcludeTrailingPathDelimiter(R);
        if (Path != Root && UnderOrAt(Path, Root)) return true;
    }
    return false;
}

bool HasSubFolder(const String& Path)
{
    DIR* D = opendir(Path.c_str());
    if (!D) return false;
    bool Found = false;
    while (dirent* E = readdir(D)) {
        if (!strcmp(E->d_name, ".") || !strcmp(E->d_name, "..")) continue;
        if (E->d_type == DT_DIR) { Found = true; break; }
        if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
            struct stat St;
            if (stat(Join(Path, E->d_name).c_str(), &St) == 0 && S_ISDIR(St.st_mode)) { Found = true; break; }
        }
    }
    closedir(D);
    return Found;
}

ULONG NodeAttributes(const TNode& N, ULONG Asked, bool& Ok)
{
    const bool WantSubFolders = (Asked & SFGAO_HASSUBFOLDER) != 0;
    // a word that asks only for what the item's status tells is answered from the status
    // alone: the link, access and mount checks run for any other word
    const ULONG FromStatus = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
    const bool StatusOnly = Asked != 0 && (Asked & ~FromStatus) == 0;
    Ok = true;
    switch (N.Kind) {
    case nkDesktop: {
        ULONG A = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        if (WantSubFolders) A |= SFGAO_HASSUBFOLDER;
        return A;
    }
    case nkComputer: {
        ULONG A = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        if (WantSubFolders && !ShellEnvironment().Mounts.empty()) A |= SFGAO_HASSUBFOLDER;
        return A;
    }
    case nkPath: break;
    }
    struct stat St, LSt;
    bool Has = stat(N.Path.c_str(), &St) == 0;
    // a link's own status, also the only status of a link that leads nowhere
    bool HasL = (!Has || !StatusOnly) && lstat(N.Path.c_str(), &LSt) == 0;
    if (!HasL && !Has) {
        Ok = false;
        return 0;
    }
    bool Dir = Has && S_ISDIR(St.st_mode);
    ULONG A = SFGAO_FILESYSTEM | SFGAO_CANCOPY;
    if (Dir) A |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
    if (HasL && S_ISLNK(LSt.st_mode)) A |= SFGAO_LINK;
    if (!StatusOnly && access(N.Path.c_str(), W_OK) != 0) A |= SFGAO_READONLY;
    if (N.Item != 'P' && IsHidden(N.Name)) A |= SFGAO_HIDDEN;
    if (!StatusOnly && IsRemovable(N.Path)) A |= SFGAO_REMOVABLE;
    if (N.Item != 'P' && !StatusOnly) {
        String Parent = ExtractFileDir(N.Path);
        if (access(Parent.c_str(), W_OK) == 0) A |= SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    }
    if (Dir && WantSubFolders && HasSubFolder(N.Path)) A |= SFGAO_HASSUBFOLDER;
    return A;
}

// ---- order ----------------------------------------------------------------------------------------------
int Rank(char Kind)
{
    switch (Kind) {
    case 'V': return 0;
    case 'P': return 1;
    case 'D': return 2;
    default: return 3;
    }
}

int Sign(int V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

int CompareNames(const String& A, const String& B)
{
    // the user's locale ignoring case, then the bytes: names that differ only in case
    // keep one order
    int R = AnsiCompareText(A, B);
    return R ? R : Sign(A.compare(B));
}

int CompareItem(const String& A, const String& B)
{
    if (A.empty() || B.empty()) return Sign(int(A.size()) - int(B.size()));
    int R = Rank(A[0]) - Rank(B[0]);
    if (R) return Sign(R);
    if (A[0] == 'P') {
        TNode NA, NB;
        NA.Kind = NB.Kind = nkPath;
        NA.Item = NB.Item = 'P';
        NA.Path = A.substr(1);
        NB.Path = B.substr(1);
        R = CompareNames(Label(NA), Label(NB));
        return R ? R : Sign(A.compare(B));
    }
    return CompareNames(A.substr(1), B.substr(1));
}

// CompareItem's order as bytes: the rank, the name's collation key, the name's bytes (no
// name holds a zero byte, so each part ends where the next begins), then the item's bytes.
String ItemSortKey(const String& Item)
{
    String Name;
    if (Item[0] == 'P') {
        TNode N;
        N.Kind = nkPath;
        N.Item = 'P';
        N.Path = Item.substr(1);
        Name = Label(N);
    } else {
        Name = Item.substr(1);
    }
    String Key(1, char('0' + Rank(Item[0])));
    Key += AnsiTextSortKey(Name);
    Key += Name;
    Key += '\0';
    Key += Item;
    return Key;
}

// ---- names ------------------------------------------------------------------------------------------------
void SetStrRet(STRRET* R, const String& S)
{
    R->uType = STRRET_WSTR;
    auto* P = static_cast<char*>(CoTaskMemAlloc(S.size() + 1));
    if (P) memcpy(P, S.c_str(), S.size() + 1);
    R->pOleStr = P;
}

String NormalisePath(const String& Path)
{
    std::vector<String> Parts;
    size_t Pos = 1;
    while (Pos <= Path.size()) {
        size_t End = Path.find('/', Pos);
        if (End == String::npos) End = Path.size();
        String P = Path.substr(Pos, End - Pos);
        Pos = End + 1;
        if (P.empty() || P == ".") continue;
        if (P == "..") {
            if (!Parts.empty()) Parts.pop_back();
            continue;
        }
        Parts.push_back(P);
    }
    String R;
    for (const String& P : Parts) R += "/" + P;
    return R.empty() ? String("/") : R;
}

HRESULT ErrnoResult(int E)
{
    switch (E) {
    case ENOENT: case ENOTDIR: return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    case EACCES: case EPERM: return E_ACCESSDENIED;
    case EEXIST: case ENOTEMPTY: return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    case ENAMETOOLONG: case EINVAL: return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    return E_FAIL;
}

// The item list of an absolute path, from the desktop: Computer, the drive the path lies
// on, then one item per component.
HRESULT PathToList(const String& Raw, LPITEMIDLIST* List)
{
    String Path = NormalisePath(Raw);
    struct stat St;
    if (stat(Path.c_str(), &St) != 0) {
        struct stat L;
        if (lstat(Path.c_str(), &L) != 0) return ErrnoResult(errno);
    }
    String Drive = "/";
    size_t Best = 0;
    for (const String& M : ShellEnvironment().Mounts) {
        String Mount = M == "/" ? M : ExcludeTrailingPathDelimiter(M);
        if (UnderOrAt(Path, Mount) && Mount.size() >= Best) {
            Best = Mount.size();
            Drive = Mount;
        }
    }
    std::vector<String> Items{String("V") + ComputerTag, "P" + Drive};
    String Rest = Drive == "/" ? Path.substr(1) : Path.substr(std::min(Path.size(), Drive.size() + 1));
    String Cur = Drive;
    size_t Pos = 0;
    while (Pos < Rest.size()) {
        size_t End = Rest.find('/', Pos);
        if (End == String::npos) End = Rest.size();
        String Name = Rest.substr(Pos, End - Pos);
        Pos = End + 1;
        if (Name.empty()) continue;
        Cur = Join(Cur, Name);
        struct stat S2;
        bool Dir = stat(Cur.c_str(), &S2) == 0 && S_ISDIR(S2.st_mode);
        Items.push_back(String(Dir ? "D" : "F") + Name);
    }
    *List = ILFromItems(Items);
    return *List ? S_OK : E_OUTOFMEMORY;
}

// ---- folders -------------------------------------------------------------------------------------------------
class TEnumItems : public IEnumIDList {
public:
    explicit TEnumItems(std::vector<String> AItems) : FItems(std::move(AItems)) {}
    HRESULT Next(ULONG Count, LPITEMIDLIST* Items, ULONG* Fetched) override
    {
        ULONG N = 0;
        while (N < Count && FPos < FItems.size()) Items[N++] = ILFromItems({FItems[FPos++]});
        if (Fetched) *Fetched = N;
        return N == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Count) override
    {
        FPos = std::min(FItems.size(), FPos + Count);
        return FPos < FItems.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        FPos = 0;
        return S_OK;
    }

private:
    std::vector<String> FItems;
    size_t FPos = 0;
};

HRESULT ListFolder(const String& Path, DWORD Flags, std::vector<String>& Items)
{
    DIR* D = opendir(Path.c_str());
    if (!D) return ErrnoResult(errno);
    while (dirent* E = readdir(D)) {
        String Name = E->d_name;
        if (Name == "." || Name == "..") continue;
        if (IsHidden(Name) && !(Flags & SHCONTF_INCLUDEHIDDEN)) continue;
        bool Dir = E->d_type == DT_DIR;
        if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
            struct stat St;
            Dir = stat(Join(Path, Name).c_str(), &St) == 0 && S_ISDIR(St.st_mode);
        }
        if (Dir ? !(Flags & SHCONTF_FOLDERS) : !(Flags & SHCONTF_NONFOLDERS)) continue;
        Items.push_back(String(Dir ? "D" : "F") + Name);
    }
    closedir(D);
    return S_OK;
}

class TShellFolderImpl : public IShellFolder, public std::enable_shared_from_this<TShellFolderImpl> {
public:
    explicit TShellFolderImpl(TNode ANode) : FNode(std::move(ANode)) {}

    HRESULT ParseDisplayName(HWND, void*, const String& Name, ULONG* Eaten, LPITEMIDLIST* List,
                             ULONG* Attributes) override
    {
        if (!List) return E_INVALIDARG;
        *List = nullptr;
        if (FNode.Kind != nkDesktop) return E_INVALIDARG;
        HRESULT R;
        if (Name == "::{Desktop}") {
            *List = ILFromItems({});
            R = S_OK;
        } else if (Name == "::{Computer}") {
            *List = ILFromItems({String("V") + ComputerTag});
            R = S_OK;
        } else if (Name.empty() || Name[0] != '/') {
            return E_INVALIDARG;
        } else {
            R = PathToList(Name, List);
        }
        if (FAILED(R)) return R;
        if (Eaten) *Eaten = ULONG(Utf8Length(Name));
        if (Attributes && *Attributes) {
            LPCITEMIDLIST L = *List;
            GetAttributesOf(1, &L, Attributes);
        }
        return S_OK;
    }

    HRESULT EnumObjects(HWND, DWORD Flags, std::unique_ptr<IEnumIDList>& Enum) override
    {
        std::vector<String> Items;
        const TShellEnvironment& E = ShellEnvironment();
        switch (FNode.Kind) {
        case nkDesktop: {
            if (Flags & SHCONTF_FOLDERS) {
                Items.push_back(String("V") + ComputerTag);
                if (DirectoryExists(E.Home)) Items.push_back("P" + E.Home);
            }
            String Entries = DesktopEntriesFolder();
            if (!Entries.empty()) ListFolder(Entries, Flags, Items);
            break;
        }
        case nkComputer:
            if (Flags & SHCONTF_FOLDERS)
                for (const String& M : E.Mounts)
                    if (DirectoryExists(M)) Items.push_back("P" + M);
            break;
        case nkPath: {
            HRESULT R = ListFolder(FNode.Path, Flags, Items);
            if (FAILED(R)) return R;
            break;
        }
        }
        Enum = std::make_unique<TEnumItems>(std::move(Items));
        return S_OK;
    }

    HRESULT BindToObject(LPCITEMIDLIST List, void*, PShellFolder& Folder) override
    {
        Folder.reset();
        TNode N;
        if (!ResolveList(FNode, List, N)) return E_INVALIDARG;
        if (N.Kind == nkPath && !DirectoryExists(N.Path)) return E_INVALIDARG;
        Folder = std::make_shared<TShellFolderImpl>(N);
        return S_OK;
    }

    HRESULT CompareIDs(LPARAM, LPCITEMIDLIST A, LPCITEMIDLIST B) override
    {
        std::vector<String> IA = ILItems(A), IB = ILItems(B);
        int R = 0;
        size_t I = 0;
        for (; I < IA.size() && I < IB.size() && R == 0; ++I) R = CompareItem(IA[I], IB[I]);
        if (R == 0) R = Sign(int(IA.size()) - int(IB.size()));
        return HRESULT(uint16_t(int16_t(R)));
    }

    HRESULT GetAttributesOf(UINT Count, const LPCITEMIDLIST* Items, ULONG* InOut) override
    {
        if (!InOut) return E_INVALIDARG;
        const ULONG Asked = *InOut;
        ULONG All = 0xFFFFFFFF;
        for (UINT I = 0; I < Count; ++I) {
            TNode N;
            if (!ResolveList(FNode, Items[I], N)) return E_INVALIDARG;
            bool Ok;
            ULONG A = NodeAttributes(N, Asked, Ok);
            if (!Ok) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
            All &= A;
        }
        *InOut = Count ? All : 0;
        return S_OK;
    }

    HRESULT GetDisplayNameOf(LPCITEMIDLIST List, DWORD Flags, STRRET* Name) override
    {
        if (!Name) return E_INVALIDARG;
        TNode N;
        if (!ResolveList(FNode, List, N)) {
            SetStrRet(Name, String());
            return E_INVALIDARG;
        }
        String S;
        if (Flags & SHGDN_FORPARSING) {
            if (N.Kind == nkDesktop) S = "::{Desktop}";
            else if (N.Kind == nkComputer) S = "::{Computer}";
            else if (Flags & SHGDN_INFOLDER) S = N.Item == 'P' ? N.Path : Label(N);
            else S = N.Path;
        } else {
            S = Label(N);
        }
        SetStrRet(Name, S);
        return S_OK;
    }

    HRESULT SetNameOf(HWND, LPCITEMIDLIST List, const String& NewName, DWORD, LPITEMIDLIST* NewList) override
    {
        if (NewList) *NewList = nullptr;
        std::vector<String> Items = ILItems(List);
        if (Items.size() != 1) return E_INVALIDARG;
        TNode N;
        if (!ResolveItem(FNode, Items[0], N) || (N.Item != 'D' && N.Item != 'F')) return E_INVALIDARG;
        if (!ValidName(NewName)) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        String Target = Join(ExtractFileDir(N.Path), NewName);
        if (Target != N.Path) {
            if (renameat2(AT_FDCWD, N.Path.c_str(), AT_FDCWD, Target.c_str(), RENAME_NOREPLACE) != 0) {
                int E = errno;
                if (E != EINVAL && E != ENOSYS) return ErrnoResult(E);
                // a file system without the no-replace switch: look first, then rename
                struct stat St;
                if (lstat(Target.c_str(), &St) == 0) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
                if (rename(N.Path.c_str(), Target.c_str()) != 0) return ErrnoResult(errno);
            }
        }
        if (NewList) *NewList = ILFromItems({String(1, N.Item) + NewName});
        return S_OK;
    }

private:
    TNode FNode;
};

PShellFolder DesktopFolder()
{
    static PShellFolder D = std::make_shared<TShellFolderImpl>(TNode{});
    return D;
}

}  // namespace

String ShellItemSortKey(const PShellFolder& Folder, LPCITEMIDLIST Item)
{
    if (!Item || !dynamic_cast<TShellFolderImpl*>(Folder.get())) return String();
    const std::vector<String> Items = ILItems(Item);
    if (Items.size() != 1 || Items[0].empty()) return String();
    return ItemSortKey(Items[0]);
}

HRESULT SHGetDesktopFolder(PShellFolder& Folder)
{
    Folder = DesktopFolder();
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int Folder, LPITEMIDLIST* List)
{
    if (!List) return E_INVALIDARG;
    *List = nullptr;
    const TShellEnvironment& E = ShellEnvironment();
    auto FromPath = [&](const String& P) {
        if (P.empty() || !DirectoryExists(P)) return E_FAIL;
        return PathToList(P, List);
    };
    switch (Folder) {
    case CSIDL_DESKTOP: *List = ILFromItems({}); return S_OK;
    case CSIDL_DRIVES: *List = ILFromItems({String("V") + ComputerTag}); return S_OK;
    case CSIDL_PERSONAL: return FromPath(DirectoryExists(E.Documents) ? E.Documents : E.Home);
    case CSIDL_DESKTOPDIRECTORY: return FromPath(E.Desktop);
    case CSIDL_APPDATA: return FromPath(E.AppData);
    case CSIDL_TEMPLATES: return FromPath(E.Templates);
    }
    return E_FAIL;
}

bool SHGetPathFromIDList(LPCITEMIDLIST List, String& Path)
{
    Path.clear();
    TNode N;
    if (!ResolveList(TNode{}, List, N) || N.Kind != nkPath) return false;
    Path = N.Path;
    return true;
}

// ---- icons -------------------------------------------------------------------------------------------------------
uintptr_t ShellImageListHandle(bool Small);

namespace {
int IconOfExtension(const String& Name)
{
    static const char* const Video[] = {".mp4", ".avi", ".mkv", ".mov", ".wmv", ".flv", ".3gp", ".3g2", ".mpg", ".mpeg",
                                        ".rm", ".rmvb", ".ts", ".m2ts", ".mts", ".vob", ".webm", ".asf", ".m4v", ".dat",
                                        ".f4v", ".ogv", ".dv", ".swf"};
    static const char* const Audio[] = {".mp3", ".wav", ".wma", ".aac", ".ac3", ".flac", ".ogg", ".oga", ".m4a",
                                        ".amr", ".ape", ".mka", ".mp2", ".opus", ".aiff", ".au"};
    static const char* const Image[] = {".bmp", ".png", ".jpg", ".jpeg", ".gif", ".ico", ".tif", ".tiff", ".webp"};
    static const char* const Text[] = {".txt", ".ini", ".log", ".srt", ".ass", ".ssa", ".sub", ".xml", ".htm",
                                       ".html", ".md", ".csv", ".lrc"};
    String Ext = LowerCase(ExtractFileExt(Name));
    if (Ext.empty()) return siFile;
    for (const char* E : Video) if (Ext == E) return siVideo;
    for (const char* E : Audio) if (Ext == E) return siAudio;
    for (const char* E : Image) if (Ext == E) return siImage;
    for (const char* E : Text) if (Ext == E) return siText;
    return siFile;
}

int IconOfNode(const TNode& N, bool Open)
{
    switch (N.Kind) {
    case nkDesktop: return siDesktop;
    case nkComputer: return siComputer;
    case nkPath: break;
    }
    if (N.Item == 'P') return N.Path == ShellEnvironment().Home ? siHome : siDrive;
    bool Dir = N.Item == 'D';
    if (N.Item == 0) Dir = DirectoryExists(N.Path);
    if (Dir) return Open ? siFolderOpen : siFolder;
    return IconOfExtension(N.Path);
}
}  // namespace

int ShellIconIndexOfPath(const String& Path, bool Open)
{
    if (DirectoryExists(Path)) return Open ? siFolderOpen : siFolder;
    return IconOfExtension(Path);
}

uintptr_t SHGetFileInfo(const String& Path, DWORD, SHFILEINFO* Info, UINT Flags, LPCITEMIDLIST List)
{
    if (!Info) return 0;
    int Icon;
    if (Flags & SHGFI_PIDL) {
        TNode N;
        if (!ResolveList(TNode{}, List, N)) return 0;
        Icon = IconOfNode(N, (Flags & SHGFI_OPENICON) != 0);
        Info->szDisplayName = Label(N);
    } else {
        if (Path.empty() || Path[0] != '/') return 0;
        struct stat St;
        if (stat(Path.c_str(), &St) != 0) return 0;
        Icon = ShellIconIndexOfPath(Path, (Flags & SHGFI_OPENICON) != 0);
        Info->szDisplayName = ExtractFileName(Path);
    }
    Info->iIcon = Icon;
    if (Flags & SHGFI_SYSICONINDEX) return ShellImageListHandle((Flags & SHGFI_SMALLICON) != 0);
    return 1;
}

// ---- details --------------------------------------------------------------------------------------------------------
bool ShellGetFindData(const String& Path, TShellFindData& Data, int& Error)
{
    Data = TShellFindData{};
    Error = 0;
    struct stat St;
    if (stat(Path.c_str(), &St) != 0 && lstat(Path.c_str(), &St) != 0) {
        Error = errno;
        return false;
    }
    Data.FileName = ExtractFileName(ExcludeTrailingPathDelimiter(Path));
    Data.IsFolder = S_ISDIR(St.st_mode);
    if (Data.IsFolder) {
        Data.Attributes = FILE_ATTRIBUTE_DIRECTORY;
    } else {
        Data.Size = int64_t(St.st_size);
        Data.Attributes = FILE_ATTRIBUTE_ARCHIVE;
    }
    // folders and files alike carry their time of change
    time_t T = St.st_mtime;
    struct tm Lt;
    if (localtime_r(&T, &Lt)) {
        int Sec = Lt.tm_sec - Lt.tm_sec % 2;
        Data.Modified = EncodeDate(Lt.tm_year + 1900, Lt.tm_mon + 1, Lt.tm_mday) +
                        EncodeTime(Lt.tm_hour, Lt.tm_min, std::min(Sec, 58), 0);
    }
    if (access(Path.c_str(), W_OK) != 0) Data.Attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHidden(Data.FileName)) Data.Attributes |= FILE_ATTRIBUTE_HIDDEN;
    return true;
}
