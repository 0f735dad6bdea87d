// The skinned file-system dialogs.  Each Execute builds a fresh dialog form in code,
// shows it modally, frees it and hands back what the user chose.
//
// TbsSkinOpenDialog asks for one existing file or several: a folder box and tool buttons,
// the folder's contents in a shell list view, a name edit and a filter box.  Its form has a
// save mode too (used by the save picture dialog).  Typed names are taken relative to the
// folder shown; the process's current directory is never moved.
//
// TbsSkinSelectDirectoryDialog chooses a folder: a shell folder tree with skinned scroll
// bars, OK and Cancel, and optionally a tool bar with a path edit and a new-folder button.
// The client size the user leaves is kept for the next run.
#pragma once

#include <memory>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"
#include "platform/shell/ShlObj.h"

class TbsSkinData;
class TbsSkinFormFrame;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinScrollBar;
class TbsSkinButton;
class TbsSkinSpeedButton;
class TbsSkinEdit;
class TbsSkinDirTreeView;
class TbsPngImageList;
class TbsSkinStdLabel;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsSkinFileListView;
class TbsSkinFilterComboBox;
class TbsSkinShellComboBox;
class TMenuItem;
class TImage;
class TbsSkinScrollBox;
class TbsSkinSplitter;

// A text of the dialogs: the control skin's interface string when that skin has interface
// strings (a key missing there gives the empty text), else Fallback.
String ShellDialogText(TbsSkinData* ACtrlSkinData, const String& Key, const String& Fallback);
// A picture list holding the program's PNG resources Names in that order (a missing one
// leaves an empty picture in its place), owned by AOwner.
TbsPngImageList* MakeDialogPictures(TComponent* AOwner, std::initializer_list<const char*> Names);
// Moves a dialog's link to another component, asking the new one for its removal notice.
template <class T>
void RelinkComponent(TComponent* Self, T*& Field, T* Value)
{
    if (Field) Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Value) Value->FreeNotification(Self);
}

// ---- select-directory dialog --------------------------------------------------------------------

class TbsSelDirDlgForm : public TForm {
public:
    TbsSelDirDlgForm(TComponent* AOwner, int ATreeButtonNoExpandImageIndex, int ATreeButtonExpandImageIndex,
                     TCustomImageList* ATreeButtonImageList, bool ATreeShowLines, int AToolButtonImageIndex,
                     TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent, bool AShowToolBar,
                     TbsSkinData* ACtrlSkinData);
    ~TbsSelDirDlgForm() override;

    static TbsSelDirDlgForm* CreateEx(TComponent* AOwner, int ATreeButtonNoExpandImageIndex,
                                      int ATreeButtonExpandImageIndex, TCustomImageList* ATreeButtonImageList,
                                      bool ATreeShowLines, int AToolButtonImageIndex,
                                      TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent,
                                      bool AShowToolBar, TbsSkinData* ACtrlSkinData)
    {
        return new TbsSelDirDlgForm(AOwner, ATreeButtonNoExpandImageIndex, ATreeButtonExpandImageIndex,
                                    ATreeButtonImageList, ATreeShowLines, AToolButtonImageIndex, AToolBarImageList,
                                    AToolButtonsTransparent, AShowToolBar, ACtrlSkinData);
    }

    void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
    void DirEditKeyPress(TObject* Sender, char32_t& Key);
    void NewFolderButtonClick(TObject* Sender);

    TbsSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TbsPngImageList* PngImgList = nullptr;  // owned by the form
    TbsSkinFormFrame* BSF = nullptr;
    TbsSkinPanel* DirTreeViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinDirTreeView* DirTreeView = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsSkinButton* OkButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    // With the tool bar only.
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinEdit* DirEdit = nullptr;

protected:
    void DoShow() override;
    void WndProc(TMessage& Message) override;
};

class TbsSkinSelectDirectoryDialog : public TComponent {
public:
    explicit TbsSkinSelectDirectoryDialog(TComponent* AOwner);
    ~TbsSkinSelectDirectoryDialog() override;

    // True when the user confirmed a folder with OK; Directory is then that folder.
    bool Execute();

    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* Value);
    int ToolButtonImageIndex() const { return FToolButtonImageIndex; }
    void SetToolButtonImageIndex(int Value) { FToolButtonImageIndex = Value; }
    bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
    void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
    int DialogWidth() const { return FDialogWidth; }
    void SetDialogWidth(int Value) { FDialogWidth = Value; }
    int DialogHeight() const { return FDialogHeight; }
    void SetDialogHeight(int Value) { FDialogHeight = Value; }
    int DialogMinWidth() const { return FDialogMinWidth; }
    void SetDialogMinWidth(int Value) { FDialogMinWidth = Value; }
    int DialogMinHeight() const { return FDialogMinHeight; }
    void SetDialogMinHeight(int Value) { FDialogMinHeight = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    const String& Directory() const { return FDirectory; }
    void SetDirectory(const String& Value) { FDirectory = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool ShowToolBar() const { return FShowToolBar; }
    void SetShowToolBar(bool Value) { FShowToolBar = Value; }
    bool TreeShowLines() const { return FTreeShowLines; }
    void SetTreeShowLines(bool Value) { FTreeShowLines = Value; }
    TCustomImageList* TreeButtonImageList() const { return FTreeButtonImageList; }
    void SetTreeButtonImageList(TCustomImageList* Value);
    int TreeButtonExpandImageIndex() const { return FTreeButtonExpandImageIndex; }
    void SetTreeButtonExpandImageIndex(int Value) { FTreeButtonExpandImageIndex = Value; }
    int TreeButtonNoExpandImageIndex() const { return FTreeButtonNoExpandImageIndex; }
    void SetTreeButtonNoExpandImageIndex(int Value) { FTreeButtonNoExpandImageIndex = Value; }
    // The form while Execute runs, else none.
    TbsSelDirDlgForm* DlgFrm() const { return FDlgFrm; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Prepare(TbsSelDirDlgForm* F);

    TCustomImageList* FToolBarImageList = nullptr;
    int FToolButtonImageIndex = 0;
    bool FToolButtonsTransparent = false;
    int FDialogWidth = 0, FDialogHeight = 0;
    int FDialogMinWidth = 0, FDialogMinHeight = 0;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    String FTitle = "Select folder";
    TbsSelDirDlgForm* FDlgFrm = nullptr;
    String FDirectory;
    bool FAlphaBlend = false;
    uint8_t FAlphaBlendValue = 200;
    bool FAlphaBlendAnimation = false;
    bool FShowToolBar = false;
    bool FTreeShowLines = true;
    TCustomImageList* FTreeButtonImageList = nullptr;
    int FTreeButtonExpandImageIndex = 0;
    int FTreeButtonNoExpandImageIndex = 1;
};

// ---- open dialog -------------------------------------------------------------------------------------

// The parts of a name: the folder up to and including the last "/", the name after it, and
// the extension (from the last "." of the name part, dot included; empty without one).
String DialogFolderPart(const String& Name);
String DialogNamePart(const String& Name);
String DialogExtension(const String& Name);
// The extension a typed name without one receives: "." + ADefaultExt when that is given,
// else the extension of the mask's first pattern, none when the mask holds ".*".
String DialogDefaultExtension(const String& ADefaultExt, const String& AMask);

class TbsOpenDlgForm : public TForm {
public:
    TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent,
                   TCustomImageList* AToolBarImageList);
    ~TbsOpenDlgForm() override;
    static TbsOpenDlgForm* CreateEx(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                    bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    {
        return new TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList);
    }

    void InitHistory();
    int HistoryCount() const { return int(FolderHistory.size()); }
    // The extension of the filter box's mask (the default extension without DefaultExt).
    String FilterExtension();
    String DefaultExtension();

    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);
    void ViewItemClick(TObject* Sender);
    void FLVChange(TObject* Sender);
    void FLVPathChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void FLVKeyPress(TObject* Sender, char32_t& Key);
    void EditKeyPress(TObject* Sender, char32_t& Key);
    void FCBChange(TObject* Sender);
    void OpenButtonClick(TObject* Sender);

    bool SaveMode = false;
    std::vector<LPITEMIDLIST> FolderHistory;
    bool StopAddToHistory = false;
    TbsSkinData* CtrlSD = nullptr;
    int NewFolderCount = 0;
    TbsPngImageList* PngImgList = nullptr;
    String DefaultExt;
    bool OverwritePromt = false;
    String FileName;
    TbsSkinFormFrame* BSF = nullptr;
    TbsSkinPanel* FileListViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinScrollBar* FLVHScrollBar = nullptr;
    TbsSkinScrollBar* FLVVScrollBar = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinStdLabel* Drivelabel = nullptr;
    TbsSkinStdLabel* OpenFileLabel = nullptr;
    TbsSkinStdLabel* FileTypeLabel = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinSpeedButton* UpToolButton = nullptr;
    TbsSkinSpeedButton* BackToolButton = nullptr;
    TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem* IconMenuItem = nullptr;
    TMenuItem* SmallIconMenuItem = nullptr;
    TMenuItem* ReportMenuItem = nullptr;
    TMenuItem* ListMenuItem = nullptr;
    TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;

protected:
    void DoShow() override;
    // The picture dialog's twin turns the selection into a preview.
    virtual void SelectionChanged();
    // Asks the overwrite question; true when the user confirmed.
    bool ConfirmOverwrite();
    // Tells the user that the typed name names no file (the dialog stays open).
    void ReportMissingFile();
    void CloseWithOk(const String& AFileName);
    void AddHistory(LPCITEMIDLIST List);
    void FocusFirstItem();
    // The typed text resolved against the folder shown.
    String ResolveTyped(const String& T);
};

class TbsSkinOpenDialog : public TComponent {
public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    virtual bool Execute();
    String GetSelectedFile();
    TStrings* Files() const { return FFiles.get(); }
    TbsOpenDlgForm* DlgFrm() const { return FDlgFrm; }
    TViewStyle ListViewStyle() const { return FListViewStyle; }

    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* Value);
    bool ShowHiddenFiles() const { return FShowHiddenFiles; }
    void SetShowHiddenFiles(bool Value) { FShowHiddenFiles = Value; }
    bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
    void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
    bool OverwritePromt() const { return FOverwritePromt; }
    void SetOverwritePromt(bool Value) { FOverwritePromt = Value; }
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    int DialogWidth() const { return FDialogWidth; }
    void SetDialogWidth(int Value) { FDialogWidth = Value; }
    int DialogHeight() const { return FDialogHeight; }
    void SetDialogHeight(int Value) { FDialogHeight = Value; }
    int DialogMinWidth() const { return FDialogMinWidth; }
    void SetDialogMinWidth(int Value) { FDialogMinWidth = Value; }
    int DialogMinHeight() const { return FDialogMinHeight; }
    void SetDialogMinHeight(int Value) { FDialogMinHeight = Value; }
    bool CheckFileExists() const { return FCheckFileExists; }
    void SetCheckFileExists(bool Value) { FCheckFileExists = Value; }
    bool MultiSelection() const { return FMultiSelection; }
    void SetMultiSelection(bool Value) { FMultiSelection = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool CtrlAlphaBlend() const { return FCtrlAlphaBlend; }
    void SetCtrlAlphaBlend(bool Value) { FCtrlAlphaBlend = Value; }
    uint8_t CtrlAlphaBlendValue() const { return FCtrlAlphaBlendValue; }
    void SetCtrlAlphaBlendValue(uint8_t Value) { FCtrlAlphaBlendValue = Value; }
    bool CtrlAlphaBlendAnimation() const { return FCtrlAlphaBlendAnimation; }
    void SetCtrlAlphaBlendAnimation(bool Value) { FCtrlAlphaBlendAnimation = Value; }
    const String& LVHeaderSkinDataName() const { return FLVHeaderSkinDataName; }
    void SetLVHeaderSkinDataName(const String& Value) { FLVHeaderSkinDataName = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value);

    TNotifyEvent OnFolderChange;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Builds the form of one run (the picture dialogs build their twin).
    virtual TbsOpenDlgForm* MakeForm();
    // Settings of the form before it shows, and what a run writes back.
    virtual void Prepare(TbsOpenDlgForm* F);
    virtual void WriteBack(TbsOpenDlgForm* F, bool Confirmed);
    // The start folder of a run: the folder of FileName, else InitialDir, else the program's.
    String StartFolder() const;

    TCustomImageList* FToolBarImageList = nullptr;
    bool FShowHiddenFiles = false;
    bool FToolButtonsTransparent = false;
    bool FOverwritePromt = false;
    String FDefaultExt;
    int FDialogWidth = 0, FDialogHeight = 0, FDialogMinWidth = 0, FDialogMinHeight = 0;
    int FDefaultWidth = 450, FDefaultHeight = 290;
    bool FCheckFileExists = true;
    bool FMultiSelection = false;
    bool FAlphaBlend = false;
    uint8_t FAlphaBlendValue = 225;
    bool FAlphaBlendAnimation = false;
    bool FCtrlAlphaBlend = false;
    uint8_t FCtrlAlphaBlendValue = 225;
    bool FCtrlAlphaBlendAnimation = false;
    String FLVHeaderSkinDataName = "header";
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    String FTitle = "Open file";
    String FInitialDir;
    String FFilter = "All files|*.*";
    int FFilterIndex = 1;
    String FFileName;
    // FileName was set by the caller since the last confirmed run: the name edit shows its
    // name part.  The name a run returned only gives the next run its start folder.
    bool FNameFromCaller = false;
    std::unique_ptr<TStringList> FFiles;
    TViewStyle FListViewStyle = vsList;
    TbsOpenDlgForm* FDlgFrm = nullptr;
};

// ---- picture dialogs -----------------------------------------------------------------------------------

// The open form's twin with a preview of the selected picture on the right, a splitter
// and a Stretch button.  A file the picture classes cannot read shows no preview change.
class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
public:
    TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent,
                          TCustomImageList* AToolBarImageList);

    void StretchButtonClick(TObject* Sender);
    // Loads a picture file into the preview; false (and the old picture kept) when it
    // cannot be read, reported to the application's error display when Report is set.
    bool LoadPreview(const String& AFileName, bool Report);
    void SizeImage();

    TbsSkinPanel* ImagePanel = nullptr;
    TImage* Image = nullptr;
    TbsSkinScrollBox* ScrollBox = nullptr;
    TbsSkinScrollBar* SBVScrollBar = nullptr;
    TbsSkinScrollBar* SBHScrollBar = nullptr;
    TbsSkinSpeedButton* StretchButton = nullptr;
    TbsSkinSplitter* Splitter = nullptr;

protected:
    void SelectionChanged() override;
};

class TbsSkinOpenPictureDialog : public TbsSkinOpenDialog {
public:
    explicit TbsSkinOpenPictureDialog(TComponent* AOwner);

    bool StretchPicture() const { return FStretchPicture; }
    void SetStretchPicture(bool Value) { FStretchPicture = Value; }
    int ImagePanelWidth() const { return FImagePanelWidth; }
    bool DialogStretch() const { return FDialogStretch; }
    bool SaveMode() const { return FSaveMode; }
    TbsOpenPictureDlgForm* PictureForm() const { return static_cast<TbsOpenPictureDlgForm*>(FDlgFrm); }

protected:
    TbsOpenDlgForm* MakeForm() override;
    void Prepare(TbsOpenDlgForm* F) override;
    void WriteBack(TbsOpenDlgForm* F, bool Confirmed) override;

    bool FStretchPicture = false;
    int FImagePanelWidth = 190;
    bool FDialogStretch = false;
    bool FSaveMode = false;
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
public:
    explicit TbsSkinSavePictureDialog(TComponent* AOwner);
};
