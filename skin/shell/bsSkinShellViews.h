// File-system browsing controls built on the skinned list box and combo box: a folder list
// (the path down to a folder and its subfolders), a file list (the folder's entries that
// match a mask) and a filter box (texts and masks separated by "|"), linked into one chain.
// They move the process's current directory while they browse, as typed paths are taken
// relative to it.  Also the path helpers they share with the folder and open dialogs,
// and the shell tree view over the shell folder model.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/shell/bsSkinShellCtrls.h"

// ---- path helpers ---------------------------------------------------------------------------------
// True when Path exists and is a folder.
bool IsExistingFolder(const String& Path);
// Folder + Name, with one "/" between them.
String JoinPathName(const String& Folder, const String& Name);
// The number of "/" in Text.
int BackslashCount(const String& Text);
// Drops the first folder of a folder path, leaving ".../" in its place ("/a/b/" gives
// "/.../b/", "/.../b/" gives "/.../", "/" and a last folder give "").
String CutFirstFolder(String S);
// FileName shortened folder by folder (".../" for the dropped ones) until its text fits
// MaxLen pixels on Canvas; the file name itself is always kept.
String FitPathToWidth(const String& FileName, TCanvas* Canvas, int MaxLen);
// Splits a typed path into its folder and file parts, relative to the current directory.
// Enclosing "[" "]" are removed; a last part naming a folder (not a file, no wildcards) is
// taken as part of the folder.  The current directory is the same afterwards; a folder on
// the way that cannot be entered raises EInOutError.
void SplitTypedPath(const String& EditText, String& DirPart, String& FilePart);
// The process's current directory, and a move of it that raises EInOutError on failure.
String bsGetCurrentDir();
void bsChDir(const String& Dir);

class TbsSkinFileListBox;
class TbsSkinFilterComboBox;
class TbsSkinDriveComboBox;

// ---- folder list -----------------------------------------------------------------------------------
class TbsSkinDirectoryListBox : public TbsSkinListBox {
public:
    explicit TbsSkinDirectoryListBox(TComponent* AOwner);
    ~TbsSkinDirectoryListBox() override;

    const String& Directory() const { return FDirectory; }
    virtual void SetDirectoryPath(const String& NewDirectory);
    void SetDirectory(const String& Value) { SetDirectoryPath(Value); }
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TbsSkinStdLabel* Value);
    bool PreserveCase() const { return FPreserveCase; }
    bool CaseSensitive() const { return FCaseSensitive; }

    void OpenCurrent();
    // Reads the folder again and reports it (TControl::Update stays the repaint).
    void UpdateList();
    String GetItemPath(int Index) const;
    String DisplayCase(const String& S) const;
    int FileCompareText(const String& A, const String& B) const;
    // The folder pictures: on the way down, the folder shown, its subfolders.
    TBitmap* ClosedBMP() const { return FClosedBMP.get(); }
    TBitmap* OpenedBMP() const { return FOpenedBMP.get(); }
    TBitmap* CurrentBMP() const { return FCurrentBMP.get(); }
    // The indentation of item Index in pixels.
    int ItemIndent(int Index) const;

    int GetItemTextWidth(int Index, TCanvas* C) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char32_t& Key) override;
    // The linked drive box chose NewDrive (a mount point): the list moves to it, or stays
    // where it is when it cannot be entered, and shows and reports its folder again.
    void DriveChanged(const String& NewDrive);
    TbsSkinDriveComboBox* DriveCombo() const { return FDriveCombo; }

    TNotifyEvent OnChange;

protected:
    friend class TbsSkinFileListBox;
    friend class TbsSkinDriveComboBox;
    virtual void DirectoryChanged();
    virtual void LoadFolderBitmaps();
    virtual void RebuildList();
    void EnterFolder(const String& DirPart);
    void UpdateDirLabel();
    void DrawFolderItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                        TOwnerDrawState State);
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TbsSkinFileListBox* FFileList = nullptr;
    TbsSkinDriveComboBox* FDriveCombo = nullptr;
    TbsSkinStdLabel* FDirLabel = nullptr;
    bool FInSetDir = false;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    std::unique_ptr<TBitmap> FClosedBMP, FOpenedBMP, FCurrentBMP;
    String FDirectory;
};

// ---- file list ---------------------------------------------------------------------------------------
enum TbsFileAttr { bsftReadOnly, bsftHidden, bsftSystem, bsftVolumeID, bsftDirectory, bsftArchive, bsftNormal };
using TbsFileType = TSet<TbsFileAttr>;

class TbsSkinFileListBox : public TbsSkinListBox {
public:
    explicit TbsSkinFileListBox(TComponent* AOwner);
    ~TbsSkinFileListBox() override;

    const String& Directory() const { return FDirectory; }
    void SetDirectory(const String& Value) { ApplyFilePath(Value); }
    String FileName() { return SelectedPath(); }
    void SetFileName(const String& Value) { ApplyFilePath(Value); }
    const String& Mask() const { return FMask; }
    void SetMask(const String& Value);
    TbsFileType FileType() const { return FFileType; }
    void SetFileType(TbsFileType Value);
    TbsSkinEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TbsSkinEdit* Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    TbsSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }

    // Lists the folder again (TControl::Update stays the repaint).
    void UpdateList();
    String SelectedName() const;
    void SelectByName(const String& Name);
    void EnterFolder(const String& Folder);

    void ListBoxClick() override;

    TNotifyEvent OnChange;

protected:
    friend class TbsSkinDirectoryListBox;
    friend class TbsSkinFilterComboBox;
    virtual void SelectionChanged();
    virtual void ListFiles();
    virtual String SelectedPath();
    virtual void ApplyFilePath(const String& EditText);
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    String FDirectory;
    String FMask = "*.*";
    TbsFileType FFileType{bsftNormal};
    TbsSkinEdit* FFileEdit = nullptr;
    TbsSkinDirectoryListBox* FDirList = nullptr;
    TbsSkinFilterComboBox* FFilterCombo = nullptr;
    int FLastSel = -1;
};

// ---- filter box ---------------------------------------------------------------------------------------
class TbsSkinFilterComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinFilterComboBox(TComponent* AOwner);
    ~TbsSkinFilterComboBox() override;

    const String& Filter() const { return FFilter; }
    void SetFilter(const String& Value);
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    // The selected item's mask ("*.*" without items); selects the last item when none is.
    String Mask();
    TStrings* MaskList() const { return FMaskList.get(); }

    void Change() override;

protected:
    friend class TbsSkinFileListBox;
    void BuildFilterList();
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    String FFilter;
    TbsSkinFileListBox* FFileList = nullptr;
    std::unique_ptr<TStringList> FMaskList;
};

// Makes Target a copy of the shell's system image list of small (16-pixel) or large
// icons, whose indexes ShellImageIndex gives.
void AssignShellImages(TCustomImageList* Target, bool Small);

// ---- drive box ------------------------------------------------------------------------------------------
// The kinds of drive the drive box tells apart by their pictures.
enum TbsDriveType { bsdtRemovable, bsdtFixed, bsdtRemote, bsdtCDROM, bsdtRAM };
// One mounted volume: its mount point, its kind and its label (empty when it has none).
struct TbsDriveInfo {
    String Root;
    TbsDriveType Type = bsdtFixed;
    String Label;
};
// The drives of a mount table's text (as in /proc/self/mounts): the mounts the shell's
// Computer shows ("/" first, then those under /media, /mnt and /run/media, in table order),
// each with its kind from its file system and place (network file systems remote, disc
// file systems CD-ROM, memory file systems RAM, mounts under /media and /run/media
// removable, else fixed) and the label that Labels holds for its device.
std::vector<TbsDriveInfo> DrivesFromMountTable(const String& Table, const std::map<String, String>& Labels);
// The volume labels of a folder of label links (as /dev/disk/by-label): the device each
// link leads to, mapped to the link's name with its "\xHH" escapes decoded.
std::map<String, String> VolumeLabelsIn(const String& Folder);
// The system's drives: this process's mount table and /dev/disk/by-label.
std::vector<TbsDriveInfo> SystemDrives();
// Where drive boxes take their drives from (the system's unless replaced; an empty source
// puts the system's back).
using TbsDriveSource = std::function<std::vector<TbsDriveInfo>()>;
void SetDriveSource(TbsDriveSource Source);
std::vector<TbsDriveInfo> CurrentDrives();

enum TTextCase { tcLowerCase, tcUpperCase };

// The mounted drives, each with its picture and label; the drive chosen goes to a linked
// folder list, and a folder list that moves to another drive shows it here.
class TbsSkinDriveComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinDriveComboBox(TComponent* AOwner);
    ~TbsSkinDriveComboBox() override;

    // The mount point of the drive shown, empty for none.
    const String& Drive() const { return FDrive; }
    void SetDrive(const String& NewDrive);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TbsSkinDirectoryListBox* Value);
    // The drives listed, one per item.
    const std::vector<TbsDriveInfo>& Drives() const { return FDrives; }
    // The drive that holds Path (the longest mount point it lies at or under), or empty.
    String DriveOf(const String& Path) const;
    // The item text of a drive: its mount point and, except for removable drives, its
    // label in brackets when it has one, cased by TextCase.
    String DriveText(const TbsDriveInfo& D) const;
    // The picture of a kind of drive.
    TBitmap* DriveBitmap(TbsDriveType Type) const;

    virtual void BuildDriveList();
    void Change() override;

protected:
    friend class TbsSkinDirectoryListBox;
    void DrawDriveItem(TCanvas* C, int Index, int W, int H, TRect R, TOwnerDrawState S);
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TbsSkinDirectoryListBox* FDirList = nullptr;
    String FDrive;
    TTextCase FTextCase = tcLowerCase;
    std::vector<TbsDriveInfo> FDrives;
    std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;
    bool FSettingDrive = false;
};

// ---- shell tree view -----------------------------------------------------------------------------------
class TbsCustomShellComboBox;
class TbsCustomShellListView;

using TAddFolderEvent = std::function<void(TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

// The shell namespace below a root as a tree: each node holds its TbsShellFolder (owned by
// the tree) in its data; children are read when a node is first expanded.
class TbsCustomShellTreeView : public TbsSkinCustomTreeView, public IbsShellCommandHandler {
public:
    explicit TbsCustomShellTreeView(TComponent* AOwner);
    ~TbsCustomShellTreeView() override;

    const String& Root() const { return FRoot; }
    void SetRoot(const String& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool UseShellImages() const { return FUseShellImages; }
    // The tree draws Images when one is assigned, else the shell's small icons when
    // UseShellImages is on, else no pictures.
    void SetUseShellImages(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    // The list the tree draws its pictures from (the choice above).
    TCustomImageList* DrawnImages() const { return TbsSkinCustomTreeView::Images(); }
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* Value);

    String Path() const;
    void SetPath(const String& Value);
    TbsShellFolder* SelectedFolder() const;
    static TbsShellFolder* NodeFolder(const TTreeNode* Node)
    {
        return Node ? static_cast<TbsShellFolder*>(Node->Data()) : nullptr;
    }
    void GoToPIDL(LPCITEMIDLIST AbsoluteID);
    TTreeNode* FindPIDLNode(LPCITEMIDLIST List, TTreeNode* Start);
    void ExpandMyComputer();
    void Refresh(TTreeNode* Node);
    void RefreshSelected();
    virtual void ResetTree() { ClearNodes(); }
    // The image questions reach OnGetImageIndex and OnGetSelectedIndex only while a list of
    // the user's own is assigned; the shell's pictures stand otherwise.
    void GetImageIndex(TTreeNode* Node) override;
    void GetSelectedIndex(TTreeNode* Node) override;

    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;
    // Raised at the end of a label edit before the folder is renamed; it may change the text.
    TTVEditedEvent OnEdited;

protected:
    // A label edit confirmed: the folder on disk is renamed and the parent's subtree is
    // refreshed once the edit is over; a refused rename keeps the label and is reported.
    void NodeEdited(TTreeNode* Node, String& S);
    void ApplyImageList();
    void WndProc(TMessage& Message) override;
    void BuildRoot();
    void ApplyRoot();
    void ClearNodes();
    void LoadChildren(TTreeNode* Node);
    void SetupChildNode(TTreeNode* Node, LPCITEMIDLIST Relative, TTreeNode* ParentNode);
    bool CanExpand(TTreeNode* Node);
    void SelectionChanging(TTreeNode* Node);
    void CNNotify(TMessage& Message) override;
    bool DoContextPopup(TPoint MousePos) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    friend class TbsCustomShellComboBox;
    friend class TbsCustomShellListView;
    TbsCustomShellListView* FListView = nullptr;
    String FPath;
    String FRoot = "rfDesktop";
    String FOldRoot;
    TbsShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    bool FAutoRefresh = false;
    bool FUseShellImages = true;
    TbsShellChangeNotifier* FNotifier = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    String FSavePath;
    TTreeNode* FNodeToMonitor = nullptr;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TCustomImageList> FShellImages;
    LPITEMIDLIST FPendingRefresh = nullptr;
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
public:
    using TbsCustomShellTreeView::TbsCustomShellTreeView;
};

// ---- shell combo box -------------------------------------------------------------------------------------
// One entry of the shell combo box: its caption, folder (owned by the box), depth and icon.
struct TbsItemEx {
    String Caption;
    TbsShellFolder* Data = nullptr;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = 0;
};

class TbsItemsEx {
public:
    int Count() const { return int(FItems.size()); }
    TbsItemEx& Item(int Index);
    TbsItemEx& Add();
    TbsItemEx& Insert(int Index);
    TbsItemEx& AddItem(const String& Caption, int ImageIndex, TbsShellFolder* Data, int Indent, int SelectedImageIndex);
    void Clear() { FItems.clear(); }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { --FUpdateCount; }
    int UpdateCount() const { return FUpdateCount; }

private:
    std::vector<std::unique_ptr<TbsItemEx>> FItems;
    int FUpdateCount = 0;
};

// The folder box of the file dialogs: the root, its children (and the drives with the
// desktop as root) and the chain down to the folder shown, indented by depth.
class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsCustomShellComboBox(TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    const String& Root() const { return FRoot; }
    void SetRoot(const String& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* Value);
    TbsItemsEx* ItemsEx() const { return FItemsEx.get(); }
    TbsShellFolder* RootFolder() const { return FRootFolder; }

    String Path();
    void SetPath(const String& Value);
    void FollowPIDL(LPCITEMIDLIST AbsoluteID);
    TbsShellFolder* ItemFolder(int Index);
    int IndexOfPIDL(LPCITEMIDLIST AbsoluteID);

    void Change() override;
    bool UseShellImages() const { return FUseShellImages; }
    // Switches the shell's icons on or off; the icons' size becomes the drawn size (16 x 16
    // without them).
    void ApplyShellImages(bool On);
    int ImageWidth() const { return FImageWidth; }
    int ImageHeight() const { return FImageHeight; }

protected:
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellListView;
    TbsCustomShellListView* FListView = nullptr;
    virtual void AddStandardItems();
    void BuildRootItems();
    void ApplyRoot();
    void ClearItemsEx();
    void SyncItemStrings();
    void InsertSubFolders(int Index, TbsShellFolder* Folder);
    void ShowPIDL(LPCITEMIDLIST AbsoluteID);
    int ItemImageIndex(TbsShellFolder* Folder) const;
    void DrawListItem(TCanvas* C, int Index, int W, int H, TRect R, TOwnerDrawState S);
    void DrawEditItem(TCanvas* C, int Index, int W, int H, TRect R, TOwnerDrawState S);
    void DrawItem(TCanvas* C, int Index, TRect R, int Indent);
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    std::unique_ptr<TbsItemsEx> FItemsEx;
    HIMAGELIST FImages = nullptr;
    int FImageHeight = 16, FImageWidth = 16;
    String FOldRoot;
    String FRoot = "rfDesktop";
    TbsShellFolder* FRootFolder = nullptr;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
};

// ---- shell list view -------------------------------------------------------------------------------------
// Whether a file name passes a list view mask: patterns separated by ";" or "|", of which
// one must match; a pattern matches only when it holds a "." (or is exactly "*"); letters
// compare without regard to case; an empty mask passes nothing.
bool ShellMaskMatches(const String& Mask, const String& FileName);
// The width of Text in Font, in pixels.
int TextWidthInFont(TFont* Font, const String& Text);

// The sort of the list view's rows.  The cells are set around one sort (GUI thread only).
struct TShellSortCells {
    TbsShellFolder* ListedFolder = nullptr;
    HWND Handle = nullptr;
    int Column = 0;
    bool Descending = false;
    bool ColumnSort = false;
};
extern TShellSortCells ShellSortCells;
// Negative when A goes first.  Folders always come before files; the plain sort keeps the
// shell's own order; a column sort orders by name, size, type or time of change (2-second
// resolution) and applies the direction within folders and within files.  Raises when the
// details of an item cannot be read.
int CompareShellItems(TbsShellFolder* A, TbsShellFolder* B);
// Sorts Items by CompareShellItems under the current cells.  The details of every item are
// read before anything moves: a failure raises and leaves Items as they were.
void SortShellItems(std::vector<TbsShellFolder*>& Items);

// The contents of one shell folder as an owner-data list: one TbsShellFolder per row.
class TbsCustomShellListView : public TbsSkinCustomListView, public IbsShellCommandHandler {
public:
    explicit TbsCustomShellListView(TComponent* AOwner);
    ~TbsCustomShellListView() override;

    const String& Root() const { return FRoot; }
    void SetRoot(const String& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    const String& Mask() const { return FMask; }
    void SetMask(const String& Value);
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    int SortColumn() const { return FSortColumn; }
    bool SortDirection() const { return FSortDirection; }
    int FolderCount() const { return int(FFolders.size()); }

    String Path() const;
    void SetPath(const String& Value);
    void Back();
    void Refresh();
    TbsShellFolder* SelectedFolder();
    String GetSelectedFile();
    void GetSelectedFiles(TStrings* AFiles);
    TbsShellFolder* FolderAt(int Index) const;
    void ReloadFolder();
    void BuildColumns();
    void FollowPIDL(LPCITEMIDLIST AbsoluteID);
    virtual void FillList();
    void SetViewStyle(TViewStyle Value);
    // The column-click sort: a second click on the same column flips the direction.
    void ColumnClickSort(int Column);
    void RenameSelected();

    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;

protected:
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellComboBox;
    void LoadRootFolder();
    void GiveShellImages(bool Give);
    void OpenPIDL(LPCITEMIDLIST AbsoluteID);
    void SyncLinkedControls();
    void ClearFolderList();
    void FetchData(TObject* Sender, TListItem* Item);
    void FindData(TObject* Sender, TItemFind Find, const String& FindString, TPoint FindPosition, void* FindData,
                  int StartIndex, TSearchDirection Direction, bool Wrap, int& Index);
    void Edited(TObject* Sender, TListItem* Item, String& S);
    void DblClick() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoContextPopup(TPoint MousePos) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    int FOldSortColumn = -1;
    int FSortColumn = -1;
    bool FSortDirection = false;
    bool FRootLoaded = false;
    String FOldRoot;
    String FRoot = "rfDesktop";
    TbsShellFolder* FRootFolder = nullptr;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    bool FDestroying = false;
    TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
    std::vector<TbsShellFolder*> FFolders;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    TbsShellChangeNotifier* FNotifier = nullptr;
    bool FSettingRoot = false;
    String FMask = "*.*|*.*";
    // the shell's small and large icons, which the rows' image indexes name
    std::unique_ptr<TCustomImageList> FSmallImages, FLargeImages;
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};
