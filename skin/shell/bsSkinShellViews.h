// File-system browsing controls built on the skinned list box and combo box: a folder list
// (the path down to a folder and its subfolders), a file list (the folder's entries that
// match a mask) and a filter box (texts and masks separated by "|"), linked into one chain.
// They move the process's current directory while they browse, as typed paths are taken
// relative to it.  Also the path helpers they share with the folder and open dialogs,
// and the shell tree view over the shell folder model.
#pragma once

#include <memory>

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

    TNotifyEvent OnChange;

protected:
    friend class TbsSkinFileListBox;
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
    TbsSkinStdLabel* FDirLabel = nullptr;
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

    void Click() override;
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
    void SetUseShellImages(bool Value) { FUseShellImages = Value; }
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

    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
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
    void Click() override;

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
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};
