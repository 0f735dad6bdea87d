// The shell folder model under the skinned shell controls and the file dialogs, and the
// directory change notifier.
//
// TbsShellFolder is one item of the platform's shell namespace: its relative and
// absolute item lists (blocks of the shell's task allocator), its parent (not owned),
// the folder object bound for it, its names, attributes, icon and column texts.  The
// unit-wide ShellDesktopFolder roots every chain of items.  Everything here except the
// notifier's worker runs on the GUI thread.
//
// TbsCustomShellChangeNotifier watches one directory with inotify on a worker thread
// and runs OnChange on the GUI thread: the worker posts a message to the notifier's
// hidden window, so an event never runs after the notifier is gone.  The notifier
// stops and joins its worker when it is freed or its event is cleared.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/shell/ShlObj.h"
#include "platform/system/Classes.h"
#include "platform/system/Threads.h"

// ---- failures --------------------------------------------------------------------------------------
// A refusal of the shell (the allocator, the desktop folder), with its result code.
class EOleSysError : public Exception {
public:
    EOleSysError(const String& AMessage, HRESULT ACode) : Exception(AMessage), FErrorCode(ACode) {}
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};
// The details of a file-system item could not be read.
VC_DECLARE_EXCEPTION(EInvalidPath, Exception)

// ---- the shell's detail interfaces ------------------------------------------------------------------
// Column texts of a folder's items.  Folders of the platform's namespace do not offer
// them (their column texts come from the find data); a folder object that does derives
// from one of these, and binding asks the bound object for it.
struct SHELLDETAILS {
    int fmt = 0;
    int cxChar = 0;
    STRRET str;
};
class IShellDetails {
public:
    virtual ~IShellDetails() = default;
    virtual HRESULT GetDetailsOf(LPCITEMIDLIST List, UINT Column, SHELLDETAILS* Details) = 0;
};
class IShellFolder2 : public IShellFolder {
public:
    virtual HRESULT GetDetailsOf(LPCITEMIDLIST List, UINT Column, SHELLDETAILS* Details) = 0;
};
using PShellFolder2 = std::shared_ptr<IShellFolder2>;
using PShellDetails = std::shared_ptr<IShellDetails>;

// What a shell control offers for the commands of an item's context menu.
class IbsShellCommandHandler {
public:
    virtual ~IbsShellCommandHandler() = default;
    virtual void ExecuteCommand(const String& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const String& Verb, bool Succeeded) = 0;
};

// ---- sets ------------------------------------------------------------------------------------------
enum TbsShellFolderCapability { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TbsShellFolderCapabilities = TSet<TbsShellFolderCapability>;
enum TbsShellFolderProperty { fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable,
                              fpValidate };
using TbsShellFolderProperties = TSet<TbsShellFolderProperty>;
enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;

enum TRootFolder {
    rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory, rfCommonPrograms,
    rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory, rfFavorites, rfFonts, rfInternet,
    rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent, rfSendTo, rfStartMenu, rfStartup, rfTemplates
};
constexpr int RootFolderCount = 23;
extern const int RootFolderCSIDL[RootFolderCount];
// The ordinal of the TRootFolder value that Text names ("rfDesktop" ...), or -1.
int RootFolderOrdinal(const String& Text);

// ---- item lists --------------------------------------------------------------------------------------
// A zero-filled block of the shell's task allocator (none when it gives none).
void* ShellAlloc(size_t Size);
void ShellFree(void* List);
LPITEMIDLIST ItemListNext(LPCITEMIDLIST Item);
void ItemListStripLast(LPITEMIDLIST List);
int ItemListCount(LPCITEMIDLIST List);
UINT ItemListSize(LPCITEMIDLIST List);
LPITEMIDLIST ItemListCopy(LPCITEMIDLIST List);
LPITEMIDLIST ItemListJoin(LPCITEMIDLIST First, LPCITEMIDLIST Second);
LPITEMIDLIST ItemListLast(LPCITEMIDLIST List);
// The absolute lists of the item's ancestors, the desktop's empty list first.
TList* ItemListAncestors(LPCITEMIDLIST List);
void FreeItemListAncestors(TList* Container);
bool SameItemLists(LPCITEMIDLIST A, LPCITEMIDLIST B);
// The desktop's item list; the caller frees it.
LPITEMIDLIST DesktopItemList();

// ---- interfaces and attributes ------------------------------------------------------------------------
PShellFolder GetDesktopInterface();
PShellFolder BindShellFolder(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window);
PShellDetails BindShellDetails(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window);
PShellFolder2 BindShellFolder2(const PShellFolder& Folder, LPCITEMIDLIST List, HWND Window);
TbsShellFolderCapabilities QueryCapabilities(const PShellFolder& Folder, LPCITEMIDLIST Relative);
TbsShellFolderProperties QueryProperties(const PShellFolder& Folder, LPCITEMIDLIST Relative);
bool QueryIsFolder(const PShellFolder& Folder, LPCITEMIDLIST Relative);
bool QueryHasSubFolders(const PShellFolder& Folder, LPCITEMIDLIST Relative);
bool FolderHasItems(const PShellFolder& Folder, DWORD Flags);
DWORD ContentFlagsOf(TShellObjectTypes Types);
int ShellImageIndex(LPCITEMIDLIST Absolute, bool Large, bool Open);
// The text of a name record (a STRRET_WSTR text is freed); Relative is the item it names.
String StrRetToText(LPCITEMIDLIST Relative, STRRET& StrRet);
String QueryDisplayName(const PShellFolder& Folder, LPCITEMIDLIST List, DWORD Flags);

// ---- items -------------------------------------------------------------------------------------------
struct TShellFindData;

class TbsShellFolder : public TObject {
public:
    // An item of ID (a relative list, copied) inside AParent (ShellDesktopFolder when
    // none); SF is the item's own folder object.
    TbsShellFolder(TbsShellFolder* AParent, LPCITEMIDLIST ID, PShellFolder SF);
    ~TbsShellFolder() override;

    LPITEMIDLIST RelativeID() const { return FPIDL; }
    LPITEMIDLIST AbsoluteID() const { return FFullPIDL; }
    TbsShellFolder* Parent() const { return FParent; }
    const PShellFolder& ShellFolder() const { return FIShellFolder; }
    PShellFolder2 ShellFolder2();
    PShellDetails ShellDetails();
    int Level() const { return FLevel; }
    HWND ViewHandle() const { return FViewHandle; }
    void SetViewHandle(HWND Value) { FViewHandle = Value; }

    PShellFolder ParentShellFolder() const;
    TbsShellFolderCapabilities Capabilities() const;
    TbsShellFolderProperties Properties() const;
    bool SubFolders() const;
    // The kind the item's folder gives, or the one set by SetKnownFolder.
    bool IsFolder() const;
    // The kind as the code that lists the item has just asked its folder for it: IsFolder
    // answers it without asking again until ForgetKnownFolder (when the listing is done,
    // so that later questions see an item that has changed or gone meanwhile).
    void SetKnownFolder(bool Value) { FKnownFolder = Value ? 1 : 0; }
    void ForgetKnownFolder() { FKnownFolder = -1; }
    String PathName() const;
    String FullObjectName() const;
    String DisplayName() const;
    bool Rename(const String& NewName);
    int ImageIndex(bool LargeIcon) const;
    int ExecuteDefault() const;
    void LoadColumnDetails(TbsShellFolder* RootFolder, HWND AHandle, int ColumnCount);
    String ColumnDetail(int Index) const;
    int DetailCount() const { return FDetails->Count(); }

private:
    void LoadDetailInterface();
    void ReadFindData(TShellFindData& Data) const;

    LPITEMIDLIST FPIDL = nullptr;
    LPITEMIDLIST FFullPIDL = nullptr;
    TbsShellFolder* FParent = nullptr;
    PShellFolder FIShellFolder;
    PShellFolder2 FIShellFolder2;
    PShellDetails FIShellDetails;
    bool FDetailInterfaceLoaded = false;
    int FLevel = 0;
    signed char FKnownFolder = -1;  // -1 unknown, else 0 or 1
    HWND FViewHandle = nullptr;
    std::unique_ptr<TStringList> FDetails;
};

// The column text of find data: 1 size, 2 extension, 3 time of the last change, 4 attributes.
String FindDataDetail(const TShellFindData& Data, int Column);
int64_t FindDataSize(const TShellFindData& Data);

TbsShellFolder* FolderFromAbsoluteList(LPCITEMIDLIST Absolute);
// A new item for a root text (a TRootFolder name or a path); OldFolder is freed on
// success.  On failure NewRoot is set back to OldRoot and Exception is raised.
TbsShellFolder* FolderFromRoot(TbsShellFolder* OldFolder, const String& OldRoot, String& NewRoot);

// The item's context menu and verbs.  The platform's namespace has no context menus of
// its own, so the menu is a small skinned popup menu of the verbs "open" and "rename",
// shown at the client point (X, Y) of Control ((-1, -1): near its top-left corner) and
// owned by Control.  A chosen verb goes to Control's ExecuteCommand when it is an
// IbsShellCommandHandler; a verb that it does not handle is run on the item
// (InvokeItemVerb); then CommandCompleted hears whether it succeeded.
void ShowItemContextMenu(TWinControl* Control, TbsShellFolder* Item, int X, int Y);
// The verbs of the item context menu, in menu order.
const std::vector<String>& ItemContextVerbs();
// Runs Verb on the file-system item at Path: "open" hands it to the desktop's opener;
// any other verb (such as "properties") does nothing.  True when the verb ran.
bool InvokePathVerb(const String& Path, const String& Verb);
void InvokeItemVerb(TbsShellFolder* Item, const String& Verb);
// What a choice in the item context menu runs: the handler protocol described above.
void RunItemCommand(TWinControl* Control, const String& Path, const String& Verb);

// ---- unit-wide state --------------------------------------------------------------------------------
extern TbsShellFolder* ShellDesktopFolder;
extern TCriticalSection* ShellChangeLock;

// ---- change notifier ---------------------------------------------------------------------------------
enum TNotifyFilter { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange,
                     nfSecurityChange };
using TNotifyFilters = TSet<TNotifyFilter>;
using TThreadMethod = std::function<void()>;
// The change-notification mask of a filter set (0x1 file names ... 0x100 security).
DWORD NotifyFlagsOf(TNotifyFilters Filters);

// The watching worker: waits on inotify and a wake descriptor, and reports each burst of
// matching changes by calling APost (from the worker).
class TbsShellChangeThread : public TThread {
public:
    explicit TbsShellChangeThread(std::function<void()> APost);
    ~TbsShellChangeThread() override;
    // Stores new options (under ShellChangeLock) and wakes the worker to take them up.
    void SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags);
    // Asks the worker to end and waits for it.
    void Stop();
    // True while the worker has a watch open.
    bool Watching() const { return FWatching.load(); }

protected:
    void Execute() override;

private:
    bool OpenWatch();
    void CloseWatch();
    void AddWatches(const String& Dir, int Depth);
    bool Matches(uint32_t Mask) const;
    std::function<void()> FPost;
    int FWake = -1;
    int FNotify = -1;
    String FDirectory;
    bool FWatchSubTree = true;
    DWORD FNotifyOptionFlags = 0;
    bool FWaitChanged = false;
    // used by the worker only
    String FActiveDirectory;
    bool FActiveSubTree = false;
    DWORD FActiveFlags = 0;
    std::vector<std::pair<int, String>> FWatches;
    std::atomic<bool> FWatching{false};
};

class TbsCustomShellChangeNotifier : public TComponent {
public:
    explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
    ~TbsCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters Value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool Value);
    const String& Root() const { return FRoot; }
    void SetRoot(const String& Value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    // Starts the worker when none runs; an empty event stops it.
    void SetOnChange(TThreadMethod Value);
    // The worker (none while idle).
    TbsShellChangeThread* Thread() const { return FThread.get(); }

private:
    void ApplyWatchOptions();
    void StartWatcher();
    void StopWatcher();
    void WndProc(TMessage& M);

    TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    String FRoot = "/";
    std::unique_ptr<TbsShellChangeThread> FThread;
    TThreadMethod FOnChange;
    HWND FWindow = nullptr;
    // One change message is outstanding at a time; the worker posts again after the
    // GUI thread took the last one, so no change is lost and none piles up.
    std::shared_ptr<std::atomic<bool>> FPending;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
};
