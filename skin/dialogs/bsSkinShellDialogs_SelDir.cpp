// The select-directory dialog: its form built in code (frame, optional tool bar with a
// path edit and a new-folder button, the folder tree with skinned scroll bars, OK and
// Cancel) and the component that runs it.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/shell/bsSkinShellViews.h"

String ShellDialogText(TbsSkinData* ACtrlSkinData, const String& Key, const String& Fallback)
{
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData()) return ACtrlSkinData->ResourceStrData()->GetResStr(Key);
    return Fallback;
}

TbsPngImageList* MakeDialogPictures(TComponent* AOwner, std::initializer_list<const char*> Names)
{
    auto* L = new TbsPngImageList(AOwner);
    L->SetPngWidth(16);
    L->SetPngHeight(16);
    for (const char* Name : Names) {
        auto* Item = static_cast<TbsPngImageItem*>(L->PngImages()->Add());
        std::vector<uint8_t> Data;
        if (!FindResourceData(Name, Data) || Data.empty()) continue;
        TMemoryStream S;
        S.WriteBuffer(Data.data(), int64_t(Data.size()));
        S.SetPosition(0);
        TbsPngImage Png;
        try {
            Png.LoadFromStream(&S);
        } catch (const Exception&) {
            continue;  // a damaged picture leaves its place empty
        }
        Item->SetPngImage(&Png);
    }
    return L;
}

// ---- the form -------------------------------------------------------------------------------------

TbsSelDirDlgForm::TbsSelDirDlgForm(TComponent* AOwner, int ATreeButtonNoExpandImageIndex,
                                   int ATreeButtonExpandImageIndex, TCustomImageList* ATreeButtonImageList,
                                   bool ATreeShowLines, int AToolButtonImageIndex, TCustomImageList* AToolBarImageList,
                                   bool AToolButtonsTransparent, bool AShowToolBar, TbsSkinData* ACtrlSkinData)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar)
{
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    // The pictures go with the form: one list per run would otherwise pile up under the
    // application for as long as the program runs.
    PngImgList = MakeDialogPictures(this, {"BS_NEWFOLDER_PNG"});
    BSF = new TbsSkinFormFrame(this);

    if (ShowToolBar) {
        ToolPanel = new TbsSkinToolBar(this);
        ToolPanel->SetParent(this);
        ToolPanel->SetBorderStyle(bvNone);
        ToolPanel->SetAlign(alTop);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName("toolpanel");
        ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : PngImgList);

        NewFolderToolButton = new TbsSkinSpeedButton(this);
        NewFolderToolButton->SetParent(ToolPanel);
        NewFolderToolButton->SetDefaultHeight(25);
        NewFolderToolButton->SetDefaultWidth(27);
        NewFolderToolButton->SetSkinDataName("toolbutton");
        NewFolderToolButton->SetNumGlyphs(1);
        NewFolderToolButton->SetImageList(AToolBarImageList ? AToolBarImageList : PngImgList);
        NewFolderToolButton->SetImageIndex(AToolBarImageList ? AToolButtonImageIndex : 0);
        NewFolderToolButton->SetHint(ShellDialogText(CtrlSD, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder"));
        NewFolderToolButton->SetShowHint(true);
        NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderButtonClick(S); };
        NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        NewFolderToolButton->SetAlign(alRight);

        auto* Spacer = new TbsSkinBevel(this);
        Spacer->SetParent(ToolPanel);
        Spacer->SetShape(bsSpacer);
        Spacer->SetWidth(5);
        Spacer->SetLeft(0);
        Spacer->SetAlign(alRight);

        DirEdit = new TbsSkinEdit(this);
        DirEdit->SetParent(ToolPanel);
        DirEdit->SetSkinDataName("edit");
        DirEdit->SetAlign(alClient);
        DirEdit->OnKeyPress = [this](TObject* S, char32_t& Key) { DirEditKeyPress(S, Key); };
    }

    DirTreeViewPanel = new TbsSkinPanel(this);
    DirTreeViewPanel->SetParent(this);
    DirTreeViewPanel->SetAlign(alClient);
    DirTreeViewPanel->SetBorderStyle(bvFrame);
    DirTreeViewPanel->SetHeight(200);

    VScrollBar = new TbsSkinScrollBar(this);
    VScrollBar->SetParent(DirTreeViewPanel);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetEnabled(false);
    VScrollBar->SetSkinDataName("vscrollbar");

    HScrollBar = new TbsSkinScrollBar(this);
    HScrollBar->SetParent(DirTreeViewPanel);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetEnabled(false);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");

    DirTreeView = new TbsSkinDirTreeView(this);
    DirTreeView->SetParent(DirTreeViewPanel);
    DirTreeView->SetAlign(alClient);
    DirTreeView->SetVScrollBar(VScrollBar);
    DirTreeView->SetHScrollBar(HScrollBar);
    TShellObjectTypes Types = DirTreeView->ObjectTypes();
    Types.Include(otHidden);
    DirTreeView->SetObjectTypes(Types);
    DirTreeView->SetHideSelection(false);
    DirTreeView->SetShowLines(ATreeShowLines);
    DirTreeView->SetButtonImageList(ATreeButtonImageList);
    DirTreeView->SetButtonNoExpandImageIndex(ATreeButtonNoExpandImageIndex);
    DirTreeView->SetButtonExpandImageIndex(ATreeButtonExpandImageIndex);
    DirTreeView->OnChange = [this](TObject* S, TTreeNode* N) { DirTreeViewChange(S, N); };

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(bvNone);
    BottomPanel->SetHeight(50);

    OkButton = new TbsSkinButton(this);
    OkButton->SetParent(BottomPanel);
    OkButton->SetDefault(true);
    OkButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_OK", "OK"));
    OkButton->SetCanFocused(true);
    OkButton->SetBounds(20, 15, 70, OkButton->Height());
    OkButton->SetDefaultHeight(25);
    OkButton->SetModalResult(mrOk);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(100, 15, 70, CancelButton->Height());
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    AfterConstruction();
}

TbsSelDirDlgForm::~TbsSelDirDlgForm() = default;

void TbsSelDirDlgForm::DoShow()
{
    TForm::DoShow();
    // The tree takes the focus; a control can be made active only once its form shows.
    if (DirTreeView && DirTreeView->CanFocus()) SetActiveControl(DirTreeView);
}

void TbsSelDirDlgForm::WndProc(TMessage& Message)
{
    // Enter in the path edit goes to the typed folder and confirms it through the default
    // button; text that names no folder keeps the dialog open for correcting.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_RETURN && DirEdit && DirEdit->Focused() &&
        !DirectoryExists(DirEdit->Text())) {
        Message.Result = 1;
        return;
    }
    TForm::WndProc(Message);
}

void TbsSelDirDlgForm::DirTreeViewChange(TObject*, TTreeNode*)
{
    if (ShowToolBar && DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::DirEditKeyPress(TObject*, char32_t& Key)
{
    if (Key != 13 || !DirEdit) return;
    const String Text = DirEdit->Text();
    if (!Text.empty() && DirectoryExists(Text)) DirTreeView->SetPath(Text);
}

void TbsSelDirDlgForm::NewFolderButtonClick(TObject*)
{
    const String Base = DirTreeView->Path();
    const String Name = JoinPathName(Base, ShellDialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder"));
    // Only below a folder of the file system: virtual folders such as Computer have no
    // place on disk to create in.  An existing folder of that name is left alone.
    if (!DirTreeView->Selected() || Base.empty() || Base[0] != '/' || DirectoryExists(Name)) return;
    if (mkdir(Name.c_str(), 0777) != 0) {
        const int E = errno;
        throw EInOutError(E, "Cannot create folder \"" + Name + "\": " + std::strerror(E));
    }
    DirTreeView->Refresh(DirTreeView->Selected());
}

// ---- the component ------------------------------------------------------------------------------

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TbsSkinSelectDirectoryDialog::~TbsSkinSelectDirectoryDialog()
{
    if (FDlgFrm) FDlgFrm->RemoveFreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetToolBarImageList(TCustomImageList* Value) { RelinkComponent(this, FToolBarImageList, Value); }
void TbsSkinSelectDirectoryDialog::SetTreeButtonImageList(TCustomImageList* Value)
{
    RelinkComponent(this, FTreeButtonImageList, Value);
}
void TbsSkinSelectDirectoryDialog::SetSkinData(TbsSkinData* Value) { RelinkComponent(this, FSD, Value); }
void TbsSkinSelectDirectoryDialog::SetCtrlSkinData(TbsSkinData* Value) { RelinkComponent(this, FCtrlFSD, Value); }
void TbsSkinSelectDirectoryDialog::SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

void TbsSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
    if (AComponent == FTreeButtonImageList) FTreeButtonImageList = nullptr;
    if (AComponent == FDlgFrm) FDlgFrm = nullptr;
}

void TbsSkinSelectDirectoryDialog::Prepare(TbsSelDirDlgForm* F)
{
    F->SetCaption(FTitle);
    F->BSF->SetBorderIcons({});
    F->BSF->SetSkinData(FSD);
    F->BSF->SetMenusSkinData(FCtrlFSD);
    F->BSF->SetMinWidth(FDialogMinWidth);
    F->BSF->SetMinHeight(FDialogMinHeight);
    F->BSF->SetAlphaBlend(FAlphaBlend);
    F->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    F->BSF->SetAlphaBlendValue(FAlphaBlendValue);

    F->DirTreeViewPanel->SetSkinData(FCtrlFSD);
    F->DirTreeView->SetDefaultFont(FDefaultFont.get());
    F->DirTreeView->SetSkinData(FCtrlFSD);
    if (FCtrlFSD) {
        F->DirTreeView->SetDrawSkin(FCtrlFSD->DlgTreeViewDrawSkin());
        F->DirTreeView->SetItemSkinDataName(FCtrlFSD->DlgTreeViewItemSkinDataName());
    }
    // The tree needs its window (and so its root) before it can go to a folder.
    F->DirTreeView->HandleNeeded();
    if (!FDirectory.empty() && DirectoryExists(FDirectory))
        F->DirTreeView->SetPath(FDirectory);
    else
        F->DirTreeView->ExpandMyComputer();

    F->VScrollBar->SetSkinData(FCtrlFSD);
    F->HScrollBar->SetSkinData(FCtrlFSD);
    F->OkButton->SetSkinData(FCtrlFSD);
    F->CancelButton->SetSkinData(FCtrlFSD);
    F->BottomPanel->SetSkinData(FCtrlFSD);
    F->OkButton->SetDefaultFont(FDefaultFont.get());
    F->CancelButton->SetDefaultFont(FDefaultFont.get());
    if (F->ShowToolBar) {
        F->ToolPanel->SetSkinData(FCtrlFSD);
        F->NewFolderToolButton->SetSkinData(FCtrlFSD);
        F->DirEdit->SetSkinData(FCtrlFSD);
    }

    int W = FDialogWidth > 0 ? FDialogWidth : 280;
    int H = FDialogHeight > 0 ? FDialogHeight : 280;
    if (FSD && !FSD->Empty) {
        W = std::max(W, F->BSF->GetMinWidth());
        H = std::max(H, F->BSF->GetMinHeight());
    }
    F->SetClientWidth(W);
    F->SetClientHeight(H);
}

bool TbsSkinSelectDirectoryDialog::Execute()
{
    if (OnShow) OnShow(this);
    std::unique_ptr<TbsSelDirDlgForm> F(TbsSelDirDlgForm::CreateEx(
        Application, FTreeButtonNoExpandImageIndex, FTreeButtonExpandImageIndex, FTreeButtonImageList, FTreeShowLines,
        FToolButtonImageIndex, FToolBarImageList, FToolButtonsTransparent, FShowToolBar, FCtrlFSD));
    FDlgFrm = F.get();
    F->FreeNotification(this);
    bool Result = false;
    try {
        Prepare(F.get());
        Result = F->ShowModal() == mrOk;
        FDialogWidth = F->ClientWidth();
        FDialogHeight = F->ClientHeight();
        if (Result) {
            FDirectory = F->DirTreeView->Path();
            if (OnChange) OnChange(this);
        }
    } catch (...) {
        if (OnClose) OnClose(this);
        FDlgFrm = nullptr;
        throw;
    }
    if (OnClose) OnClose(this);
    FDlgFrm = nullptr;
    return Result;
}
