// The shell folder model: item lists, binding, attributes, names, items, column texts,
// roots, and the unit's start and end.
#include <cstring>

#include "platform/forms/Forms.h"
#include "platform/shell/ShellAPI.h"
#include "skin/shell/bsSkinShellCtrls.h"

TbsShellFolder* ShellDesktopFolder = nullptr;
TCriticalSection* ShellChangeLock = nullptr;

const int RootFolderCSIDL[RootFolderCount] = {
    CSIDL_DESKTOP, CSIDL_DRIVES, CSIDL_NETWORK, CSIDL_BITBUCKET, CSIDL_APPDATA, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_STARTUP, CSIDL_CONTROLS, CSIDL_DESKTOPDIRECTORY,
    CSIDL_FAVORITES, CSIDL_FONTS, CSIDL_INTERNET, CSIDL_PERSONAL, CSIDL_PRINTERS, CSIDL_PRINTHOOD, CSIDL_PROGRAMS,
    CSIDL_RECENT, CSIDL_SENDTO, CSIDL_STARTMENU, CSIDL_STARTUP, CSIDL_TEMPLATES};

namespace {

const char* const RootFolderNames[RootFolderCount] = {
    "rfDesktop", "rfMyComputer", "rfNetwork", "rfRecycleBin", "rfAppData", "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu", "rfCommonStartup", "rfControlPanel", "rfDesktopDirectory",
    "rfFavorites", "rfFonts", "rfInternet", "rfPersonal", "rfPrinters", "rfPrintHood", "rfPrograms", "rfRecent",
    "rfSendTo", "rfStartMenu", "rfStartup", "rfTemplates"};

const char* const SShellDefaultNameStr = "parentfolder = nil";
const char* const SCallLoadDetails = "%s: Missing call to LoadColumnDetails";
const char* const SRenamedFailedError = "Rename to %s failed";
const char* const SErrorSettingPath = "Error setting path: \"%s\"";
const char* const SFolderDetailsError = "Unable to retrieve folder details for \"%s\". Error code $%x";

uint16_t ItemBytes(LPCITEMIDLIST P)
{
    uint16_t Cb;
    std::memcpy(&Cb, P, 2);
    return Cb;
}

IMalloc* TaskAllocator()
{
    IMalloc* M = nullptr;
    HRESULT R = SHGetMalloc(&M);
    if (R != S_OK || !M) throw EOleSysError("The shell's allocator is not available", R == S_OK ? E_FAIL : R);
    return M;
}

// The unit's start and end: the desktop item and the change lock live as long as the program.
struct TbsShellUnit {
    TbsShellUnit()
    {
        LPITEMIDLIST L = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &L);
        if (L) {
            try {
                ShellDesktopFolder = new TbsShellFolder(nullptr, L, GetDesktopInterface());
            } catch (...) {
                ShellDesktopFolder = nullptr;
            }
            ShellFree(L);
        }
        ShellChangeLock = new TCriticalSection;
    }
    ~TbsShellUnit()
    {
        delete ShellDesktopFolder;
        ShellDesktopFolder = nullptr;
        delete ShellChangeLock;
        ShellChangeLock = nullptr;
    }
} ShellUnit;

}  // namespace

// ---- item lists ----------------------------------------------------------------------------------

void* ShellAlloc(size_t Size)
{
    void* P = TaskAllocator()->Alloc(Size);
    if (P) std::memset(P, 0, Size);
    return P;
}

void ShellFree(void* List)
{
    if (List) TaskAllocator()->Free(List);
}

LPITEMIDLIST ItemListNext(LPCITEMIDLIST Item)
{
    return reinterpret_cast<LPITEMIDLIST>(const_cast<uint8_t*>(reinterpret_cast<const uint8_t*>(Item)) + ItemBytes(Item));
}

void ItemListStripLast(LPITEMIDLIST List)
{
    if (!List) return;
    LPITEMIDLIST Last = nullptr;
    for (LPITEMIDLIST P = List; ItemBytes(P) != 0; P = ItemListNext(P)) Last = P;
    if (Last) std::memset(Last, 0, 2);
}

int ItemListCount(LPCITEMIDLIST List)
{
    int N = 0;
    if (List)
        for (LPCITEMIDLIST P = List; ItemBytes(P) != 0; P = ItemListNext(P)) ++N;
    return N;
}

UINT ItemListSize(LPCITEMIDLIST List)
{
    if (!List) return 0;
    UINT N = 2;
    for (LPCITEMIDLIST P = List; ItemBytes(P) != 0; P = ItemListNext(P)) N += ItemBytes(P);
    return N;
}

LPITEMIDLIST ItemListCopy(LPCITEMIDLIST List)
{
    UINT N = ItemListSize(List);
    auto* R = static_cast<LPITEMIDLIST>(ShellAlloc(N ? N : 2));
    if (R && N) std::memcpy(R, List, N);
    return R;
}

LPITEMIDLIST ItemListJoin(LPCITEMIDLIST First, LPCITEMIDLIST Second)
{
    UINT N1 = First ? ItemListSize(First) - 2 : 0;
    UINT N2 = Second ? ItemListSize(Second) : 2;
    auto* R = static_cast<uint8_t*>(ShellAlloc(N1 + N2));
    if (!R) return nullptr;
    if (N1) std::memcpy(R, First, N1);
    if (Second) std::memcpy(R + N1, Second, N2);
    return reinterpret_cast<LPITEMIDLIST>(R);
}

LPITEMIDLIST ItemListLast(LPCITEMIDLIST List)
{
    LPCITEMIDLIST Last = nullptr;
    if (List)
        for (LPCITEMIDLIST P = List; ItemBytes(P) != 0; P = ItemListNext(P)) Last = P;
    if (!Last) return ItemListCopy(List ? List : nullptr);
    uint16_t Cb = ItemBytes(Last);
    auto* R = static_cast<uint8_t*>(ShellAlloc(Cb + 2u));
    if (R) std::memcpy(R, Last, Cb);
    return reinterpret_cast<LPITEMIDLIST>(R);
}

TList* ItemListAncestors(LPCITEMIDLIST List)
{
    auto* C = new TList;
    int N = ItemListCount(List);
    for (int I = 0; I < N; ++I) {
        LPITEMIDLIST L = ItemListCopy(List);
        // keep the first I items
        LPITEMIDLIST P = L;
        for (int K = 0; K < I; ++K) P = ItemListNext(P);
        std::memset(P, 0, 2);
        C->Add(L);
    }
    return C;
}

void FreeItemListAncestors(TList* Container)
{
    if (!Container) return;
    for (int I = 0; I < Container->Count(); ++I) ShellFree(Container->Items(I));
    delete Container;
}

bool SameItemLists(LPCITEMIDLIST A, LPCITEMIDLIST B)
{
    return GetDesktopInterface()->CompareIDs(0, A, B) == 0;
}

LPITEMIDLIST DesktopItemList()
{
    LPITEMIDLIST L = nullptr;
    HRESULT R = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &L);
    if (R != S_OK || !L) throw EOleSysError("The desktop's item list is not available", R == S_OK ? E_FAIL : R);
    return L;
}

// ---- interfaces and attributes -------------------------------------------------------------------

PShellFolder GetDesktopInterface()
{
    PShellFolder F;
    HRESULT R = SHGetDesktopFolder(F);
    if (R != S_OK || !F) throw EOleSysError("The desktop folder is not available", R == S_OK ? E_FAIL : R);
    return F;
}

namespace {

// Binds List below Folder (or the desktop when the folder gives nothing) and asks the
// bound object for the interface T.
template <class T>
std::shared_ptr<T> BindAs(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window)
{
    PShellFolder Bound;
    HRESULT R = Folder ? Folder->BindToObject(List, nullptr, Bound) : E_FAIL;
    std::shared_ptr<T> Result = R == S_OK ? std::dynamic_pointer_cast<T>(Bound) : nullptr;
    if (!Result && Folder && R != S_OK) {
        // the folder's user-interface and view objects: the namespace offers none
        void* Obj = nullptr;
        Folder->GetUIObjectOf(Window, 1, &List, &Obj);
        Folder->CreateViewObject(Window, &Obj);
    }
    if (!Result) {
        PShellFolder D = GetDesktopInterface();
        if (D->BindToObject(List, nullptr, Bound) == S_OK) Result = std::dynamic_pointer_cast<T>(Bound);
    }
    return Result;
}

}  // namespace

PShellFolder BindShellFolder(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window)
{
    return BindAs<IShellFolder>(Folder, List, Window);
}

PShellDetails BindShellDetails(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window)
{
    return BindAs<IShellDetails>(Folder, List, Window);
}

PShellFolder2 BindShellFolder2(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window)
{
    PShellFolder Bound;
    PShellFolder2 Result;
    if (GetDesktopInterface()->BindToObject(List, nullptr, Bound) == S_OK)
        Result = std::dynamic_pointer_cast<IShellFolder2>(Bound);
    if (!Result && Folder) {
        void* Obj = nullptr;
        Folder->GetUIObjectOf(Window, 1, &List, &Obj);
        if (Folder->BindToObject(List, nullptr, Bound) == S_OK) Result = std::dynamic_pointer_cast<IShellFolder2>(Bound);
    }
    return Result;
}

namespace {
ULONG Attributes(const PShellFolder& Folder, LPCITEMIDLIST Relative, ULONG Preset)
{
    ULONG W = Preset;
    Folder->GetAttributesOf(1, &Relative, &W);
    return W;
}
}  // namespace

TbsShellFolderCapabilities QueryCapabilities(const PShellFolder& Folder, LPCITEMIDLIST Relative)
{
    TbsShellFolderCapabilities S;
    if (!Folder) return S;
    ULONG W = Attributes(Folder, Relative, 0x177);
    const std::pair<ULONG, TbsShellFolderCapability> Bits[] = {
        {SFGAO_CANCOPY, fcCanCopy}, {SFGAO_CANDELETE, fcCanDelete}, {SFGAO_CANLINK, fcCanLink},
        {SFGAO_CANMOVE, fcCanMove}, {SFGAO_CANRENAME, fcCanRename}, {SFGAO_DROPTARGET, fcDropTarget},
        {SFGAO_HASPROPSHEET, fcHasPropSheet}};
    for (auto& B : Bits)
        if (W & B.first) S.Include(B.second);
    return S;
}

TbsShellFolderProperties QueryProperties(const PShellFolder& Folder, LPCITEMIDLIST Relative)
{
    TbsShellFolderProperties S;
    if (!Folder) return S;
    ULONG W = Attributes(Folder, Relative, 0xFC000);
    const std::pair<ULONG, TbsShellFolderProperty> First[] = {
        {SFGAO_GHOSTED, fpCut}, {SFGAO_LINK, fpIsLink}, {SFGAO_READONLY, fpReadOnly}, {SFGAO_SHARE, fpShared}};
    for (auto& B : First)
        if (W & B.first) S.Include(B.second);
    W = Attributes(Folder, Relative, 0);
    const std::pair<ULONG, TbsShellFolderProperty> Second[] = {{SFGAO_FILESYSTEM, fpFileSystem},
                                                               {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
                                                               {SFGAO_REMOVABLE, fpRemovable},
                                                               {SFGAO_VALIDATE, fpValidate}};
    for (auto& B : Second)
        if (W & B.first) S.Include(B.second);
    return S;
}

bool QueryIsFolder(const PShellFolder& Folder, LPCITEMIDLIST Relative)
{
    return Folder && (Attributes(Folder, Relative, SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool QueryHasSubFolders(const PShellFolder& Folder, LPCITEMIDLIST Relative)
{
    return Folder && (Attributes(Folder, Relative, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

bool FolderHasItems(const PShellFolder& Folder, DWORD Flags)
{
    if (!Folder) return false;
    std::unique_ptr<IEnumIDList> Enum;
    if (Folder->EnumObjects(nullptr, Flags, Enum) != S_OK || !Enum) return false;
    LPITEMIDLIST Item = nullptr;
    ULONG Fetched = 0;
    bool Has = Enum->Next(1, &Item, &Fetched) == S_OK;
    ShellFree(Item);
    return Has;
}

DWORD ContentFlagsOf(TShellObjectTypes Types)
{
    DWORD F = 0;
    if (Types.Contains(otFolders)) F += SHCONTF_FOLDERS;
    if (Types.Contains(otNonFolders)) F += SHCONTF_NONFOLDERS;
    if (Types.Contains(otHidden)) F += SHCONTF_INCLUDEHIDDEN;
    return F;
}

int ShellImageIndex(LPCITEMIDLIST Absolute, bool Large, bool Open)
{
    SHFILEINFO Info;
    UINT Flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
    if (Open) Flags |= SHGFI_OPENICON;
    if (!Large) Flags |= SHGFI_SMALLICON;
    SHGetFileInfo("", 0, &Info, Flags, Absolute);
    return Info.iIcon;
}

String StrRetToText(LPCITEMIDLIST Relative, STRRET& StrRet)
{
    String S;
    switch (StrRet.uType) {
    case STRRET_WSTR:
        if (StrRet.pOleStr) {
            S = StrRet.pOleStr;
            CoTaskMemFree(StrRet.pOleStr);
            StrRet.pOleStr = nullptr;
        }
        break;
    case STRRET_OFFSET:
        if (Relative) {
            int Count = int(ItemBytes(Relative)) - int(StrRet.uOffset);
            if (Count > 0) {
                const char* P = reinterpret_cast<const char*>(Relative) + StrRet.uOffset;
                S.assign(P, strnlen(P, size_t(Count)));
            }
        }
        break;
    case STRRET_CSTR: S.assign(StrRet.cStr, strnlen(StrRet.cStr, sizeof StrRet.cStr)); break;
    }
    // names that the shell marks with "?" and a digit carry no "?" of their own
    if (S.size() >= 2 && S[0] == '?' && S[1] >= '0' && S[1] <= '9') {
        String T;
        for (char C : S)
            if (C != '?') T += C;
        S = T;
    }
    return S;
}

String QueryDisplayName(const PShellFolder& Folder, LPCITEMIDLIST List, DWORD Flags)
{
    if (!Folder) return SShellDefaultNameStr;
    STRRET R;
    Folder->GetDisplayNameOf(List, Flags, &R);
    String S = StrRetToText(List, R);
    if (S.rfind("::{", 0) == 0) {
        STRRET R2;
        Folder->GetDisplayNameOf(List, SHGDN_NORMAL, &R2);
        S = StrRetToText(List, R2);
    }
    return S;
}

int RootFolderOrdinal(const String& Text)
{
    for (int I = 0; I < RootFolderCount; ++I)
        if (Text == RootFolderNames[I]) return I;
    return -1;
}

// ---- items -------------------------------------------------------------------------------------------

TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, LPCITEMIDLIST ID, PShellFolder SF)
    : FParent(AParent), FIShellFolder(std::move(SF)), FDetails(std::make_unique<TStringList>())
{
    FPIDL = ItemListCopy(ID);
    if (AParent) {
        FFullPIDL = ItemListJoin(AParent->FFullPIDL, ID);
    } else {
        LPITEMIDLIST Desk = nullptr;
        try {
            Desk = DesktopItemList();
            FFullPIDL = ItemListJoin(Desk, ID);
        } catch (...) {
            ShellFree(Desk);
            ShellFree(FPIDL);
            throw;
        }
        ShellFree(Desk);
        FParent = ShellDesktopFolder;
    }
    for (TbsShellFolder* P = AParent ? AParent->FParent : nullptr; P; P = P->FParent) ++FLevel;
}

TbsShellFolder::~TbsShellFolder()
{
    ShellFree(FPIDL);
    ShellFree(FFullPIDL);
}

PShellFolder TbsShellFolder::ParentShellFolder() const
{
    return FParent ? FParent->FIShellFolder : GetDesktopInterface();
}

TbsShellFolderCapabilities TbsShellFolder::Capabilities() const
{
    return QueryCapabilities(ParentShellFolder(), FPIDL);
}

TbsShellFolderProperties TbsShellFolder::Properties() const
{
    return QueryProperties(ParentShellFolder(), FPIDL);
}

bool TbsShellFolder::SubFolders() const { return QueryHasSubFolders(ParentShellFolder(), FPIDL); }

bool TbsShellFolder::IsFolder() const
{
    // an archive is a file and a folder is a folder, whatever its name ends in
    if (FKnownFolder >= 0) return FKnownFolder != 0;
    return QueryIsFolder(ParentShellFolder(), FPIDL);
}

String TbsShellFolder::PathName() const
{
    return QueryDisplayName(GetDesktopInterface(), FFullPIDL, SHGDN_FORPARSING);
}

String TbsShellFolder::FullObjectName() const
{
    // the whole path: paths here are not limited to the 260 characters of a drive path
    String Path;
    if (!SHGetPathFromIDList(FFullPIDL, Path)) return String();
    return Path;
}

String TbsShellFolder::DisplayName() const
{
    return QueryDisplayName(FParent ? ParentShellFolder() : GetDesktopInterface(), FPIDL, SHGDN_INFOLDER);
}

bool TbsShellFolder::Rename(const String& NewName)
{
    if (!Capabilities().Contains(fcCanRename)) return false;
    LPITEMIDLIST NewList = nullptr;
    if (ParentShellFolder()->SetNameOf(nullptr, FPIDL, NewName, 0, &NewList) != S_OK || !NewList) {
        ShellFree(NewList);
        throw Exception(SRenamedFailedError, NewName);
    }
    ShellFree(FPIDL);
    ShellFree(FFullPIDL);
    FPIDL = NewList;
    FFullPIDL = FParent ? ItemListJoin(FParent->FFullPIDL, NewList) : ItemListCopy(NewList);
    return true;
}

int TbsShellFolder::ImageIndex(bool LargeIcon) const { return ShellImageIndex(FFullPIDL, LargeIcon, false); }

int TbsShellFolder::ExecuteDefault() const
{
    SHELLEXECUTEINFO Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.hwnd = Application ? Application->Handle() : nullptr;
    Info.lpIDList = FFullPIDL;
    Info.nShow = SW_SHOW;
    return ShellExecuteEx(&Info) ? 1 : 0;
}

void TbsShellFolder::LoadDetailInterface()
{
    if (FDetailInterfaceLoaded || !FIShellFolder) return;
    FIShellDetails = BindShellDetails(FIShellFolder, FFullPIDL, FViewHandle);
    if (!FIShellDetails) {
        FIShellFolder2 = BindShellFolder2(FIShellFolder, FFullPIDL, FViewHandle);
        // the item's own folder object, when it offers the extended interface
        if (!FIShellFolder2) FIShellFolder2 = std::dynamic_pointer_cast<IShellFolder2>(FIShellFolder);
    }
    FDetailInterfaceLoaded = FIShellFolder2 || FIShellDetails;
}

PShellFolder2 TbsShellFolder::ShellFolder2()
{
    if (!FDetailInterfaceLoaded) LoadDetailInterface();
    return FIShellFolder2;
}

PShellDetails TbsShellFolder::ShellDetails()
{
    if (!FDetailInterfaceLoaded) LoadDetailInterface();
    return FIShellDetails;
}

void TbsShellFolder::ReadFindData(TShellFindData& Data) const
{
    int Error = 0;
    if (!ShellGetFindData(PathName(), Data, Error)) throw EInvalidPath(SFolderDetailsError, DisplayName(), Error);
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* RootFolder, HWND AHandle, int ColumnCount)
{
    if (FDetails->Count() >= ColumnCount || !RootFolder) return;
    FDetails->Clear();
    FViewHandle = AHandle;
    if (PShellFolder2 SF2 = RootFolder->ShellFolder2()) {
        for (int C = 1; C <= ColumnCount; ++C) {
            SHELLDETAILS D;
            FDetails->Add(SF2->GetDetailsOf(FPIDL, UINT(C), &D) == S_OK ? StrRetToText(FPIDL, D.str) : String());
        }
    } else if (PShellDetails SD = RootFolder->ShellDetails()) {
        for (int C = 1; C <= ColumnCount; ++C) {
            SHELLDETAILS D;
            FDetails->Add(SD->GetDetailsOf(FPIDL, UINT(C), &D) == S_OK ? StrRetToText(FPIDL, D.str) : String());
        }
    } else if (RootFolder->Properties().Contains(fpFileSystem)) {
        TShellFindData Data;
        ReadFindData(Data);
        for (int C = 1; C <= ColumnCount; ++C) FDetails->Add(FindDataDetail(Data, C));
    }
}

String TbsShellFolder::ColumnDetail(int Index) const
{
    if (FDetails->Count() == 0) throw Exception(SCallLoadDetails, DisplayName());
    return FDetails->Strings(Index - 1);
}

int64_t FindDataSize(const TShellFindData& Data) { return Data.IsFolder ? -1 : Data.Size; }

String FindDataDetail(const TShellFindData& Data, int Column)
{
    switch (Column) {
    // a folder has no size of its own: its cell stays empty; its time is its own
    case 1: return Data.IsFolder ? String() : IntToStr(FindDataSize(Data));
    case 2: return ExtractFileExt(Data.FileName);
    case 3: return Data.Modified < 0 ? String() : FormatDateTime("yyyy-mm-dd hh:nn:ss", Data.Modified);
    case 4: return IntToStr(int64_t(Data.Attributes));
    }
    return String();
}

TbsShellFolder* FolderFromAbsoluteList(LPCITEMIDLIST Absolute)
{
    // A folder that is gone (deleted outside meanwhile) gives way to its nearest ancestor
    // that is still there: the desktop's items are never listed under the old path.
    PShellFolder Desk = GetDesktopInterface();
    LPITEMIDLIST L = ItemListCopy(Absolute);
    PShellFolder SF = BindShellFolder(Desk, L, nullptr);
    // (an item of the file system that is still there, a file, stays itself)
    auto Gone = [](LPCITEMIDLIST List) {
        String Path;
        TShellFindData Data;
        int Error = 0;
        return SHGetPathFromIDList(List, Path) && !Path.empty() && !ShellGetFindData(Path, Data, Error);
    };
    while (!SF && ItemListCount(L) > 0 && Gone(L)) {
        LPITEMIDLIST Last = L;
        for (LPITEMIDLIST P = L; ItemBytes(P) != 0; P = ItemListNext(P)) Last = P;
        std::memset(static_cast<void*>(Last), 0, 2);
        SF = ItemListCount(L) > 0 ? BindShellFolder(Desk, L, nullptr) : nullptr;
    }
    if (!SF) SF = Desk;
    TbsShellFolder* F;
    try {
        F = new TbsShellFolder(ShellDesktopFolder, L, SF);
    } catch (...) {
        ShellFree(L);
        throw;
    }
    ShellFree(L);
    return F;
}

TbsShellFolder* FolderFromRoot(TbsShellFolder* OldFolder, const String& OldRoot, String& NewRoot)
{
    LPITEMIDLIST L = nullptr;
    HRESULT R = E_FAIL;
    int Ordinal = RootFolderOrdinal(NewRoot);
    if (Ordinal >= 0) {
        R = SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL[Ordinal], &L);
    } else if (!NewRoot.empty()) {
        ULONG Eaten = ULONG(NewRoot.size());
        R = GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, NewRoot, &Eaten, &L, nullptr);
    }
    if (R != S_OK || !L) {
        ShellFree(L);
        String Msg = Format(SErrorSettingPath, NewRoot);
        NewRoot = OldRoot;
        throw Exception(Msg);
    }
    TbsShellFolder* F;
    try {
        F = FolderFromAbsoluteList(L);
    } catch (...) {
        ShellFree(L);
        throw;
    }
    ShellFree(L);
    delete OldFolder;
    return F;
}
