// The skinned file-system dialogs.  Each Execute builds a fresh dialog form in code,
// shows it modally, frees it and hands back what the user chose.
//
// TbsSkinSelectDirectoryDialog chooses a folder: a shell folder tree with skinned scroll
// bars, OK and Cancel, and optionally a tool bar with a path edit and a new-folder button.
// The client size the user leaves is kept for the next run.
#pragma once

#include <memory>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"

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

// A text of the dialogs: the control skin's interface string when that skin has interface
// strings (a key missing there gives the empty text), else Fallback.
String ShellDialogText(TbsSkinData* ACtrlSkinData, const String& Key, const String& Fallback);
// A picture list holding the program's PNG resources Names in that order (a missing one
// leaves an empty picture in its place), owned by AOwner.
TbsPngImageList* MakeDialogPictures(TComponent* AOwner, std::initializer_list<const char*> Names);

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
