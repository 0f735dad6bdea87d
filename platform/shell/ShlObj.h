// The shell namespace: a tree of items that the shell controls and the file dialogs
// browse, made of the file system under a virtual root.
//
//   Desktop (the empty item list)
//     Computer             "/" and the user-visible mounts (/media, /mnt, /run/media)
//     <home folder>
//     <entries of the desktop folder>
//
// Items are named by item identifier lists in the familiar byte format: a run of
// items, each a 16-bit byte count (the count included) followed by the item's bytes,
// ended by a 16-bit zero.  An item's bytes are one kind byte and a UTF-8 text:
//   'V' + tag    a virtual folder ("computer")
//   'P' + path   a folder given by its absolute path (the drives of Computer, the home folder)
//   'D' + name   a folder inside its parent folder
//   'F' + name   a file (anything that is not a folder) inside its parent folder
// Lists are blocks from CoTaskMemAlloc; whoever receives one frees it with CoTaskMemFree.
//
// Folders are IShellFolder objects held by shared pointers.  Only what a file-system
// namespace can answer is offered: no context menus, no detail interfaces (the column
// texts come from ShellGetFindData), no drag and drop.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/WinDef.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Messages.h"

using HRESULT = int32_t;
using ULONG = uint32_t;
constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001), E_NOINTERFACE = HRESULT(0x80004002),
                  E_FAIL = HRESULT(0x80004005), E_ACCESSDENIED = HRESULT(0x80070005),
                  E_OUTOFMEMORY = HRESULT(0x8007000E), E_INVALIDARG = HRESULT(0x80070057);
constexpr DWORD ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_ACCESS_DENIED = 5,
                ERROR_INVALID_NAME = 123, ERROR_ALREADY_EXISTS = 183;
constexpr HRESULT HRESULT_FROM_WIN32(DWORD E) { return E == 0 ? S_OK : HRESULT(0x80070000u | (E & 0xFFFF)); }
constexpr bool SUCCEEDED(HRESULT R) { return R >= 0; }
constexpr bool FAILED(HRESULT R) { return R < 0; }
// The signed low 16 bits of a comparison result.
constexpr int HRESULT_CODE_SHORT(HRESULT R) { return int16_t(R & 0xFFFF); }

// ---- item identifier lists ------------------------------------------------------------------
#pragma pack(push, 1)
struct SHITEMID {
    uint16_t cb;  // bytes of the item, these two included
    uint8_t abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PItemIDList = LPITEMIDLIST;

void* CoTaskMemAlloc(size_t Size);
void* CoTaskMemRealloc(void* Block, size_t Size);
void CoTaskMemFree(void* Block);
// The shell's task allocator (the same blocks as CoTaskMemAlloc).
struct IMalloc {
    virtual ~IMalloc() = default;
    virtual void* Alloc(size_t Size) = 0;
    virtual void* Realloc(void* Block, size_t Size) = 0;
    virtual void Free(void* Block) = 0;
    virtual size_t GetSize(void* Block) = 0;
};
HRESULT SHGetMalloc(IMalloc** Malloc);

// Helpers over the byte format.  ILGetSize counts the terminator (2 for the empty
// list, 0 for no list).
UINT ILGetSize(LPCITEMIDLIST List);
int ILGetCount(LPCITEMIDLIST List);
LPITEMIDLIST ILClone(LPCITEMIDLIST List);
LPITEMIDLIST ILCombine(LPCITEMIDLIST First, LPCITEMIDLIST Second);
LPCITEMIDLIST ILGetNext(LPCITEMIDLIST Item);  // nullptr at the terminator
void ILFree(LPITEMIDLIST List);
// A new list of the given item bytes (kind byte and text each).
LPITEMIDLIST ILFromItems(const std::vector<String>& Items);
// The items of a list as byte strings (kind byte and text each).
std::vector<String> ILItems(LPCITEMIDLIST List);

// ---- names, attributes, enumeration ----------------------------------------------------
constexpr DWORD SHGDN_NORMAL = 0, SHGDN_INFOLDER = 1, SHGDN_FOREDITING = 0x1000,
                SHGDN_FORADDRESSBAR = 0x4000, SHGDN_FORPARSING = 0x8000;
constexpr UINT STRRET_WSTR = 0, STRRET_OFFSET = 1, STRRET_CSTR = 2;
constexpr int MAX_PATH = 260;
struct STRRET {
    UINT uType = STRRET_WSTR;
    union {
        char* pOleStr;      // STRRET_WSTR: UTF-8 text from CoTaskMemAlloc (the receiver frees it)
        UINT uOffset;       // STRRET_OFFSET: offset into the item's bytes
        char cStr[MAX_PATH];  // STRRET_CSTR: zero-ended text
    };
    STRRET() : cStr{} {}
};
// The text of a name record (freeing a STRRET_WSTR text); Item is the list it describes.
String StrRetToString(STRRET& Name, LPCITEMIDLIST Item);

// Enumeration flags.
constexpr DWORD SHCONTF_FOLDERS = 0x20, SHCONTF_NONFOLDERS = 0x40, SHCONTF_INCLUDEHIDDEN = 0x80;
// Attribute bits.
constexpr ULONG SFGAO_CANCOPY = 0x1, SFGAO_CANMOVE = 0x2, SFGAO_CANLINK = 0x4, SFGAO_CANRENAME = 0x10,
                SFGAO_CANDELETE = 0x20, SFGAO_HASPROPSHEET = 0x40, SFGAO_DROPTARGET = 0x100,
                SFGAO_GHOSTED = 0x8000, SFGAO_LINK = 0x10000, SFGAO_SHARE = 0x20000,
                SFGAO_READONLY = 0x40000, SFGAO_HIDDEN = 0x80000, SFGAO_VALIDATE = 0x1000000,
                SFGAO_REMOVABLE = 0x2000000, SFGAO_FILESYSANCESTOR = 0x10000000,
                SFGAO_FOLDER = 0x20000000, SFGAO_FILESYSTEM = 0x40000000, SFGAO_HASSUBFOLDER = 0x80000000;

// Items of one folder, one at a time.
struct IEnumIDList {
    virtual ~IEnumIDList() = default;
    // Up to Count items (each a one-item list the caller frees); S_OK when Count came,
    // S_FALSE when fewer (none at the end).
    virtual HRESULT Next(ULONG Count, LPITEMIDLIST* Items, ULONG* Fetched) = 0;
    virtual HRESULT Skip(ULONG Count) = 0;
    virtual HRESULT Reset() = 0;
};

class IShellFolder;
using PShellFolder = std::shared_ptr<IShellFolder>;

// A folder of the namespace.  Item lists given to a folder are relative to it; a list
// of several items names an item further down.
class IShellFolder {
public:
    virtual ~IShellFolder() = default;
    // Only the desktop parses: an absolute path ("/home/x/a.mp4", "." and ".." and double
    // slashes allowed) of an existing item gives its list from the desktop, through
    // Computer and the drive the path lies on.  Anything else: E_INVALIDARG; a path that
    // does not exist: HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
    virtual HRESULT ParseDisplayName(HWND Owner, void* BindCtx, const String& Name, ULONG* Eaten,
                                     LPITEMIDLIST* List, ULONG* Attributes) = 0;
    // The folder's items, filtered by SHCONTF_ flags (hidden items are dot-files).  A
    // folder that cannot be read answers E_ACCESSDENIED or another failure.  Items come
    // in the order the file system gives them; sort with CompareIDs.
    virtual HRESULT EnumObjects(HWND Owner, DWORD Flags, std::unique_ptr<IEnumIDList>& Enum) = 0;
    // The folder object of a folder item.
    virtual HRESULT BindToObject(LPCITEMIDLIST List, void* BindCtx, PShellFolder& Folder) = 0;
    // Order of two items (LOWORD(Param) is the column, all sort by name): folders before
    // files, then names ignoring case in the locale's order, and names that differ only
    // in case by their bytes, so that the order is consistent.  The answer is -1, 0 or 1
    // in the low 16 bits (0xFFFF for -1).
    virtual HRESULT CompareIDs(LPARAM Param, LPCITEMIDLIST A, LPCITEMIDLIST B) = 0;
    // The attributes common to Count items (SFGAO_); SFGAO_HASSUBFOLDER only when asked
    // for in the incoming word (it scans the folder).  An incoming word that asks only for
    // SFGAO_FOLDER, SFGAO_FILESYSTEM or SFGAO_FILESYSANCESTOR is answered from one status
    // call (read-only, link, removable, renaming and its kin are then left out); any other
    // word gets them all.
    virtual HRESULT GetAttributesOf(UINT Count, const LPCITEMIDLIST* Items, ULONG* InOut) = 0;
    // Names: SHGDN_INFOLDER or SHGDN_NORMAL the file name (virtual folders their label,
    // "/" itself "/"); SHGDN_FORPARSING the absolute path ("::{Computer}", "::{Desktop}"
    // for virtual folders), with SHGDN_INFOLDER the file name.
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST List, DWORD Flags, STRRET* Name) = 0;
    // Renames a file-system item within its folder (rename(2)); an existing target, a
    // name with "/" or an empty name is refused.  NewList (when given) receives the
    // item's new one-item list.
    virtual HRESULT SetNameOf(HWND Owner, LPCITEMIDLIST List, const String& NewName, DWORD Flags,
                              LPITEMIDLIST* NewList) = 0;
    // No view objects, detail interfaces or context menus in this namespace.
    virtual HRESULT CreateViewObject(HWND, void**) { return E_NOINTERFACE; }
    virtual HRESULT GetUIObjectOf(HWND, UINT, const LPCITEMIDLIST*, void**) { return E_NOINTERFACE; }
};

HRESULT SHGetDesktopFolder(PShellFolder& Folder);
// The order key of a one-item list of Folder: the plain byte order of two items' keys is
// Folder's CompareIDs order of them, so that a sort makes each key once.  Empty when the
// folder is not one of the namespace's own or the list is not one item.
String ShellItemSortKey(const PShellFolder& Folder, LPCITEMIDLIST Item);

// Special folders (CSIDL_).  Those the namespace has: the desktop (the empty list),
// Computer, documents, the desktop folder, application data (the XDG configuration
// folder) and templates; every other one fails with E_FAIL.
constexpr int CSIDL_DESKTOP = 0, CSIDL_INTERNET = 1, CSIDL_PROGRAMS = 2, CSIDL_CONTROLS = 3, CSIDL_PRINTERS = 4,
              CSIDL_PERSONAL = 5, CSIDL_FAVORITES = 6, CSIDL_STARTUP = 7, CSIDL_RECENT = 8, CSIDL_SENDTO = 9,
              CSIDL_BITBUCKET = 10, CSIDL_STARTMENU = 11, CSIDL_DESKTOPDIRECTORY = 16, CSIDL_DRIVES = 17,
              CSIDL_NETWORK = 18, CSIDL_FONTS = 20, CSIDL_TEMPLATES = 21, CSIDL_COMMON_STARTMENU = 22,
              CSIDL_COMMON_PROGRAMS = 23, CSIDL_COMMON_STARTUP = 24, CSIDL_COMMON_DESKTOPDIRECTORY = 25,
              CSIDL_APPDATA = 26, CSIDL_PRINTHOOD = 27;
HRESULT SHGetSpecialFolderLocation(HWND Owner, int Folder, LPITEMIDLIST* List);
// The absolute path of an item list from the desktop; false (and an empty path) for
// virtual folders and broken lists.
bool SHGetPathFromIDList(LPCITEMIDLIST List, String& Path);
inline bool SHGetPathFromIDListW(LPCITEMIDLIST List, String& Path) { return SHGetPathFromIDList(List, Path); }

// ---- the system image list -----------------------------------------------------------------
// The icon of an item: an index into the system image list, chosen by the item's kind
// and, for files, the extension.
enum TShellIcon {
    siDesktop, siComputer, siHome, siDrive, siFolder, siFolderOpen, siFile, siVideo, siAudio, siImage, siText,
    siCount
};
constexpr UINT SHGFI_LARGEICON = 0x0, SHGFI_SMALLICON = 0x1, SHGFI_OPENICON = 0x2, SHGFI_PIDL = 0x8,
               SHGFI_SYSICONINDEX = 0x4000;
struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    String szDisplayName, szTypeName;
};
// With SHGFI_PIDL, Path is ignored and List names the item (from the desktop); else Path
// is an absolute path.  With SHGFI_SYSICONINDEX iIcon receives the icon index and the
// answer is the system image list's handle value (nonzero), else 0 on failure.
uintptr_t SHGetFileInfo(const String& Path, DWORD FileAttributes, SHFILEINFO* Info, UINT Flags,
                        LPCITEMIDLIST List = nullptr);
// The icon index for a path (folder or file by the extension).
int ShellIconIndexOfPath(const String& Path, bool Open);
// The process-wide system image lists (32 or 16 pixels), made on first use and never
// freed; SHGetFileInfo with SHGFI_SYSICONINDEX answers their handles.
struct TImageListData;
TImageListData* ShellSystemImageList(bool Small);

// ---- the program's named pictures ---------------------------------------------------------------
// The pictures the program's parts load by resource name (TBitmap::LoadFromResourceName,
// FindResourceData), drawn here: the folder bitmaps "BS_CLOSEDFOLDER", "BS_OPENFOLDER",
// "BS_CURRENTFOLDER" and the drive bitmaps "BS_HARD", "BS_FLOPPY", "BS_CDROM",
// "BS_NETWORK", "BS_RAM" as 16 x 16 BMP files on a key colour (their bottom-left pixel);
// the file dialog's "BS_BACK_PNG", "BS_UP_PNG", "BS_NEWFOLDER_PNG", "BS_LVSTYLE_PNG",
// "BS_STRETCH_PNG" as 16 x 16 PNG files with alpha.  Names not here (the slider's
// pictures, the standard icons) are drawn by their users themselves.
bool ShellResourceData(const String& Name, std::vector<uint8_t>& Data);
std::vector<String> ShellResourceNames();
// Makes these the program's resources (done by InitForms).
void InstallShellResources();

// ---- details of file-system items --------------------------------------------------------
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1, FILE_ATTRIBUTE_HIDDEN = 0x2, FILE_ATTRIBUTE_DIRECTORY = 0x10,
                FILE_ATTRIBUTE_ARCHIVE = 0x20;
struct TShellFindData {
    String FileName;          // the name without folder
    int64_t Size = -1;        // bytes (64 bits); -1 for a folder
    TDateTime Modified = -1;  // local time of the last change, rounded down to 2 seconds; -1 for a folder
    DWORD Attributes = 0;     // FILE_ATTRIBUTE_ word: folder, read-only, hidden (dot-file), archive (files)
    bool IsFolder = false;
};
// The details of the item at the absolute path Path; false with Error the system's
// error number (ENOENT, EACCES ...) when it cannot be read.
bool ShellGetFindData(const String& Path, TShellFindData& Data, int& Error);

// ---- where the namespace's folders are -------------------------------------------------------
struct TShellEnvironment {
    String Home;        // the home folder
    String Desktop;     // the desktop folder ($XDG_DESKTOP_DIR); may not exist
    String Documents;   // the documents folder ($XDG_DOCUMENTS_DIR); may not exist
    String Templates;   // the templates folder ($XDG_TEMPLATES_DIR); may not exist
    String AppData;     // $XDG_CONFIG_HOME
    std::vector<String> Mounts;  // the drives of Computer, "/" first
    std::vector<String> RemovableRoots{"/media/", "/run/media/"};
};
// The environment from $HOME, the user's XDG folder settings and /proc/self/mounts.
TShellEnvironment SystemShellEnvironment();
// The mount points of a mount table's text that Computer shows: "/" and those under
// /media, /mnt and /run/media (octal escapes decoded), in table order.
std::vector<String> UserMountsFromTable(const String& Table);
// The environment in use (the system's unless replaced; tests point it at a scratch tree).
const TShellEnvironment& ShellEnvironment();
void SetShellEnvironment(const TShellEnvironment& Environment);
void ResetShellEnvironment();
