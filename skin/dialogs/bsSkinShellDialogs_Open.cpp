// The open dialog: its form built in code (tool bar with the folder box and tool buttons,
// the shell list, name edit, filter box, Open and Cancel), the name rules, the Open rule,
// the folder history, new folders, and the component that runs it.
#include <algorithm>

#include "platform/forms/Menus.h"
#include "platform/shell/FileSearch.h"
#include "platform/system/Paths.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/shell/bsSkinShellViews.h"

// ---- names ----------------------------------------------------------------------------------------

String DialogFolderPart(const String& Name)
{
    const size_t P = Name.rfind('/');
    return P == String::npos ? String() : Name.substr(0, P + 1);
}

String DialogNamePart(const String& Name)
{
    const size_t P = Name.rfind('/');
    return P == String::npos ? Name : Name.substr(P + 1);
}

String DialogExtension(const String& Name)
{
    const String N = DialogNamePart(Name);
    const size_t P = N.rfind('.');
    return P == String::npos ? String() : N.substr(P);
}

String DialogDefaultExtension(const String& ADefaultExt, const String& AMask)
{
    if (!ADefaultExt.empty()) return "." + ADefaultExt;
    if (AMask.find(".*") != String::npos) return String();
    return DialogExtension(AMask.substr(0, AMask.find(';')));
}

namespace {
bool HasPathDelim(const String& S) { return S.find('/') != String::npos; }
}  // namespace

// ---- the form -------------------------------------------------------------------------------------

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(ACtrlSkinData)
{
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    BSF = new TbsSkinFormFrame(this);
    PngImgList = MakeDialogPictures(this, {"BS_BACK_PNG", "BS_UP_PNG", "BS_NEWFOLDER_PNG", "BS_LVSTYLE_PNG"});
    TCustomImageList* Images = AToolBarImageList ? AToolBarImageList : PngImgList;

    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetBorderStyle(bvNone);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName("toolpanel");
    ToolPanel->SetImages(Images);

    auto MakeSpacer = [this](TAlign A, int Left) {
        auto* B = new TbsSkinBevel(this);
        B->SetParent(ToolPanel);
        B->SetShape(bsSpacer);
        B->SetBounds(Left, 0, 10, 25);
        B->SetAlign(A);
    };
    MakeSpacer(alLeft, 0);
    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetCaption(ShellDialogText(CtrlSD, "FLV_LOOKIN", "Look in: "));
    Drivelabel->SetLeft(10);
    Drivelabel->SetAlign(alLeft);

    auto MakeTool = [&](const char* Key, const char* Hint, int Index, TNotifyEvent Click) {
        auto* B = new TbsSkinSpeedButton(this);
        B->SetParent(ToolPanel);
        B->SetDefaultWidth(27);
        B->SetDefaultHeight(25);
        B->SetSkinDataName("toolbutton");
        B->SetNumGlyphs(1);
        B->SetImageList(Images);
        B->SetImageIndex(Index);
        B->SetHint(ShellDialogText(CtrlSD, Key, Hint));
        B->SetShowHint(true);
        B->SetFlat(AToolButtonsTransparent);
        B->OnClick = std::move(Click);
        B->SetLeft(1000 + Index * 30);
        B->SetAlign(alRight);
        return B;
    };
    BackToolButton = MakeTool("MSG_BTN_BACK_HINT", "Go To Last Folder Visited", 0,
                              [this](TObject* S) { BackToolButtonClick(S); });
    UpToolButton = MakeTool("MSG_BTN_UP_HINT", "Up One Level", 1, [this](TObject* S) { UpToolButtonClick(S); });
    NewFolderToolButton = MakeTool("MSG_BTN_NEWFOLDER_HINT", "Create New Folder", 2,
                                   [this](TObject* S) { NewFolderToolButtonClick(S); });
    MakeSpacer(alRight, 1100);

    StylePopupMenu = new TbsSkinPopupMenu(this);
    auto MakeItem = [this](const char* Key, const char* Text) {
        auto* I = new TMenuItem(this);
        I->SetCaption(ShellDialogText(CtrlSD, Key, Text));
        I->SetRadioItem(true);
        I->SetGroupIndex(1);
        I->OnClick = [this](TObject* S) { ViewItemClick(S); };
        StylePopupMenu->Items()->Add(I);
        return I;
    };
    IconMenuItem = MakeItem("MSG_LV_ICON", "Large icons");
    SmallIconMenuItem = MakeItem("MSG_LV_SMALLICON", "Small icons");
    ListMenuItem = MakeItem("MSG_LV_LIST", "List");
    ReportMenuItem = MakeItem("MSG_LV_DETAILS", "Details");

    StyleToolButton = new TbsSkinMenuSpeedButton(this);
    StyleToolButton->SetParent(ToolPanel);
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetDefaultHeight(25);
    StyleToolButton->SetSkinDataName("toolmenubutton");
    StyleToolButton->SetNumGlyphs(1);
    StyleToolButton->SetImageList(Images);
    StyleToolButton->SetImageIndex(3);
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
    StyleToolButton->SetHint(ShellDialogText(CtrlSD, "MSG_BTN_VIEWMENU_HINT", "View Menu"));
    StyleToolButton->SetShowHint(true);
    StyleToolButton->SetFlat(AToolButtonsTransparent);
    StyleToolButton->SetLeft(1200);
    StyleToolButton->SetAlign(alRight);

    ShellBox = new TbsSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetWidth(190);
    ShellBox->SetDropDownCount(10);
    ShellBox->SetLeft(200);
    ShellBox->SetAlign(alClient);

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    // as wide as the client area before the anchored controls go in, so that they keep
    // their distance to its right edge from the start
    BottomPanel->SetBounds(0, ClientHeight() - 80, ClientWidth(), 80);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetHeight(80);
    BottomPanel->SetBorderStyle(bvNone);

    FileListViewPanel = new TbsSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetAlign(alClient);
    FileListViewPanel->SetBorderStyle(bvFrame);

    FLVHScrollBar = new TbsSkinScrollBar(this);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetSkinDataName("hscrollbar");
    FLVHScrollBar->SetEnabled(false);

    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetSkinDataName("vscrollbar");
    FLVVScrollBar->SetEnabled(false);

    FileListView = new TbsSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetAlign(alClient);
    FileListView->SetViewStyle(vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetHideSelection(false);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetShellComboBox(ShellBox);
    ShellBox->SetShellListView(FileListView);
    FileListView->OnChange = [this](TObject* S, TListItem*, TItemChange) { FLVChange(S); };
    FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
    FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
    FileListView->OnKeyPress = [this](TObject* S, char32_t& K) { FLVKeyPress(S, K); };

    auto MakeLabel = [this](const char* Key, const char* Text, int Top) {
        auto* L = new TbsSkinStdLabel(this);
        L->SetParent(BottomPanel);
        L->SetAutoSize(true);
        L->SetCaption(ShellDialogText(CtrlSD, Key, Text));
        L->SetLeft(10);
        L->SetTop(Top);
        return L;
    };
    OpenFileLabel = MakeLabel("MSG_FILENAME", "File name:", 10);
    FileTypeLabel = MakeLabel("MSG_FILETYPE", "File type:", 45);

    const int W = ClientWidth();
    FileNameEdit = new TbsSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, W - 160, FileNameEdit->Height());
    FileNameEdit->SetAnchors({akLeft, akTop, akRight});
    FileNameEdit->OnKeyPress = [this](TObject* S, char32_t& K) { EditKeyPress(S, K); };

    FilterComboBox = new TbsSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetBounds(70, 45, W - 160, FilterComboBox->Height());
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetAnchors({akLeft, akTop, akRight});
    FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(BottomPanel);
    OpenButton->SetCaption(SaveMode ? ShellDialogText(CtrlSD, "MSG_BTN_SAVE", "&Save")
                                    : ShellDialogText(CtrlSD, "MSG_BTN_OPEN", "&Open"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(W - 80, 10, 70, OpenButton->Height());
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetAnchors({akTop, akRight});
    OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(W - 80, 45, 70, CancelButton->Height());
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetAnchors({akTop, akRight});
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    AfterConstruction();
}

TbsOpenDlgForm::~TbsOpenDlgForm()
{
    for (LPITEMIDLIST L : FolderHistory) ShellFree(L);
    FolderHistory.clear();
}

void TbsOpenDlgForm::DoShow()
{
    TForm::DoShow();
    if (FileNameEdit && FileNameEdit->CanFocus()) SetActiveControl(FileNameEdit);
}

// ---- rules ------------------------------------------------------------------------------------------

String TbsOpenDlgForm::FilterExtension() { return DialogDefaultExtension(String(), FilterComboBox->Mask()); }

String TbsOpenDlgForm::DefaultExtension() { return DialogDefaultExtension(DefaultExt, FilterComboBox->Mask()); }

String TbsOpenDlgForm::ResolveTyped(const String& T)
{
    if (!T.empty() && T[0] == '/') return T;
    String P = FileListView->Path();
    if (P.empty() || P.back() != '/') P += "/";
    return P + T;
}

bool TbsOpenDlgForm::ConfirmOverwrite()
{
    std::unique_ptr<TbsSkinMessage> M(new TbsSkinMessage(this));
    M->SetSkinData(BSF->SkinData());
    M->SetCtrlSkinData(CtrlSD);
    const String Text = ShellDialogText(CtrlSD, "MSG_OVERWRITE", "Do you want to overwrite old file?");
    return M->MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK, mbCancel}, 0) == mrOk;
}

void TbsOpenDlgForm::ReportMissingFile()
{
    static const char* const Fallback = "找不到该文件，请确认文件名和路径是否正确。";
    std::unique_ptr<TbsSkinMessage> M(new TbsSkinMessage(this));
    M->SetSkinData(BSF->SkinData());
    M->SetCtrlSkinData(CtrlSD);
    String Text = ShellDialogText(CtrlSD, "MSG_FILENOTFOUND", Fallback);
    if (Text.empty()) Text = Fallback;  // a string table without the key
    M->MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0);
}

void TbsOpenDlgForm::CloseWithOk(const String& AFileName)
{
    FileName = AFileName;
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::OpenButtonClick(TObject*)
{
    const String S = FileListView->GetSelectedFile();
    const String T = FileNameEdit->Text();
    if (SaveMode) {
        if (T.empty() || T.find('*') != String::npos) return;
        const String N = ResolveTyped(T);
        const String C = DialogExtension(N).empty() ? N + DefaultExtension() : N;
        if (OverwritePromt && FileExists(C)) {
            if (ConfirmOverwrite()) CloseWithOk(N);
            return;
        }
        CloseWithOk(N);
        return;
    }
    if (!CheckFileExists) {
        if (T.empty()) return;
        if (!S.empty()) {
            CloseWithOk(S);
        } else {
            const String N = ResolveTyped(T);
            CloseWithOk(DialogExtension(N).empty() ? N + DefaultExtension() : N);
        }
        return;
    }
    String C;
    if (S.empty() && !T.empty()) {
        const String N = ResolveTyped(T);
        C = DialogExtension(N).empty() ? N + DefaultExtension() : N;
        if (!FileExists(C)) {
            // a mask is no file name: it only goes to the list, by Enter
            if (T.find('*') == String::npos && T.find('?') == String::npos) ReportMissingFile();
            return;
        }
    }
    if (T.empty()) return;
    FileName = !S.empty() ? S : C;
    if (FileExists(FileName))
        SetModalResult(mrOk);
    else
        FileName.clear();
}

void TbsOpenDlgForm::EditKeyPress(TObject*, char32_t& Key)
{
    if (Key != 13) return;
    const String T = FileNameEdit->Text();
    if (T.find('*') != String::npos) {
        FileListView->SetMask(T);
    } else if (HasPathDelim(T)) {
        // a path to a folder opens it; any other path is a name for the Open rule, as the
        // Open button takes it
        const String Folder = ResolveTyped(T);
        if (IsExistingFolder(Folder))
            FileListView->SetPath(Folder);
        else
            OpenButtonClick(this);
    } else {
        OpenButtonClick(this);
    }
}

void TbsOpenDlgForm::FLVKeyPress(TObject*, char32_t& Key)
{
    if (Key == 13 && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TbsOpenDlgForm::FLVDBLClick(TObject*)
{
    const String S = FileListView->GetSelectedFile();
    if (S.empty()) return;
    if (SaveMode && OverwritePromt) {
        if (ConfirmOverwrite()) CloseWithOk(S);
        return;
    }
    CloseWithOk(S);
}

void TbsOpenDlgForm::FLVChange(TObject*)
{
    SelectionChanged();
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::SelectionChanged()
{
    const String S = FileListView->GetSelectedFile();
    if (!S.empty()) FileNameEdit->SetText(DialogNamePart(S));
}

void TbsOpenDlgForm::FCBChange(TObject*)
{
    FileListView->SetMask(FilterComboBox->Mask());
    if (!SaveMode) return;
    const String E = FilterExtension();
    const String T = FileNameEdit->Text();
    if (E.empty() || T.empty()) return;
    const String Ext = DialogExtension(T);
    FileNameEdit->SetText(T.substr(0, T.size() - Ext.size()) + E);
}

// ---- history and folders ------------------------------------------------------------------------------

void TbsOpenDlgForm::AddHistory(LPCITEMIDLIST List)
{
    if (!FolderHistory.empty() && SameItemLists(FolderHistory.back(), List)) return;
    FolderHistory.push_back(ItemListCopy(List));
}

void TbsOpenDlgForm::InitHistory()
{
    if (FileListView->RootFolder()) AddHistory(FileListView->RootFolder()->AbsoluteID());
}

void TbsOpenDlgForm::FocusFirstItem()
{
    if (FileListView->Items()->Count() > 0) FileListView->SetItemFocused(FileListView->Items()->Item(0));
}

void TbsOpenDlgForm::FLVPathChange(TObject*)
{
    if (!StopAddToHistory && FileListView->RootFolder()) AddHistory(FileListView->RootFolder()->AbsoluteID());
    FocusFirstItem();
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::BackToolButtonClick(TObject*)
{
    if (FolderHistory.size() < 2) return;
    StopAddToHistory = true;
    try {
        FileListView->FollowPIDL(FolderHistory[FolderHistory.size() - 2]);
    } catch (...) {
        StopAddToHistory = false;
        throw;
    }
    ShellFree(FolderHistory.back());
    FolderHistory.pop_back();
    StopAddToHistory = false;
}

void TbsOpenDlgForm::UpToolButtonClick(TObject*) { FileListView->Back(); }

void TbsOpenDlgForm::NewFolderToolButtonClick(TObject*)
{
    const String P = FileListView->Path();
    // virtual folders such as Computer have no place on disk
    if (P.empty() || P[0] != '/') return;
    ++NewFolderCount;
    String B = ShellDialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder");
    if (NewFolderCount > 1) B += "(" + IntToStr(NewFolderCount) + ")";
    const String Full = JoinPathName(P, B);
    if (IsExistingFolder(Full)) return;
    MkDir(Full);
    FileListView->ReloadFolder();
    Application->ProcessMessages();
    for (int I = 0; I < FileListView->FolderCount(); ++I)
        if (FileListView->FolderAt(I)->DisplayName() == B) {
            FileListView->SetItemIndex(I);
            FileListView->RenameSelected();
            break;
        }
}

void TbsOpenDlgForm::ViewItemClick(TObject* Sender)
{
    TViewStyle Style = vsList;
    if (Sender == IconMenuItem) Style = vsIcon;
    if (Sender == SmallIconMenuItem) Style = vsSmallIcon;
    if (Sender == ReportMenuItem) Style = vsReport;
    for (TMenuItem* I : {IconMenuItem, SmallIconMenuItem, ListMenuItem, ReportMenuItem}) I->SetChecked(I == Sender);
    FileListView->SetViewStyle(Style);
}

// ---- the component ------------------------------------------------------------------------------------

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()), FFiles(std::make_unique<TStringList>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TbsSkinOpenDialog::~TbsSkinOpenDialog()
{
    if (FDlgFrm) FDlgFrm->RemoveFreeNotification(this);
}

void TbsSkinOpenDialog::SetToolBarImageList(TCustomImageList* Value) { RelinkComponent(this, FToolBarImageList, Value); }
void TbsSkinOpenDialog::SetSkinData(TbsSkinData* Value) { RelinkComponent(this, FSD, Value); }
void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* Value) { RelinkComponent(this, FCtrlFSD, Value); }
void TbsSkinOpenDialog::SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

void TbsSkinOpenDialog::SetFileName(const String& Value)
{
    FFileName = Value;
    FNameFromCaller = true;
    if (FDlgFrm) FDlgFrm->FileNameEdit->SetText(Value);
}

void TbsSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
    if (AComponent == FDlgFrm) FDlgFrm = nullptr;
}

String TbsSkinOpenDialog::GetSelectedFile() { return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : String(); }

TbsOpenDlgForm* TbsSkinOpenDialog::MakeForm()
{
    return TbsOpenDlgForm::CreateEx(Application, false, FCtrlFSD, FToolButtonsTransparent, FToolBarImageList);
}

String TbsSkinOpenDialog::StartFolder() const
{
    const String Folder = DialogFolderPart(FFileName);
    if (!FFileName.empty() && !Folder.empty() && IsExistingFolder(Folder)) return Folder;
    if (!FInitialDir.empty() && IsExistingFolder(FInitialDir)) return FInitialDir;
    return ProgramFolder();
}

void TbsSkinOpenDialog::Prepare(TbsOpenDlgForm* F)
{
    // The windows first: the frame takes its borders from the client size, and the boxes
    // keep a selection only once they have their lists.
    F->HandleNeeded();
    F->FilterComboBox->HandleNeeded();
    F->SetCaption(FTitle);
    F->BSF->SetBorderIcons({});
    F->BSF->SetSkinData(FSD);
    F->BSF->SetMenusSkinData(FCtrlFSD);
    F->BSF->SetMinWidth(FDialogMinWidth);
    F->BSF->SetMinHeight(FDialogMinHeight);
    F->BSF->SetAlphaBlend(FAlphaBlend);
    F->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    F->BSF->SetAlphaBlendValue(FAlphaBlendValue);
    F->BSF->SetMenusAlphaBlend(FCtrlAlphaBlend);
    F->BSF->SetMenusAlphaBlendValue(FCtrlAlphaBlendValue);
    F->BSF->SetMenusAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
    for (TbsSkinCustomComboBox* C : {static_cast<TbsSkinCustomComboBox*>(F->ShellBox),
                                     static_cast<TbsSkinCustomComboBox*>(F->FilterComboBox)}) {
        C->SetAlphaBlend(FCtrlAlphaBlend);
        C->SetAlphaBlendValue(FCtrlAlphaBlendValue);
        C->SetAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
    }
    F->OpenButton->SetDefaultFont(FDefaultFont.get());
    F->CancelButton->SetDefaultFont(FDefaultFont.get());
    F->ShellBox->SetDefaultFont(FDefaultFont.get());
    F->FileListView->SetDefaultFont(FDefaultFont.get());

    TMenuItem* Marked = FListViewStyle == vsIcon        ? F->IconMenuItem
                        : FListViewStyle == vsSmallIcon ? F->SmallIconMenuItem
                        : FListViewStyle == vsReport    ? F->ReportMenuItem
                                                        : F->ListMenuItem;
    Marked->SetChecked(true);
    F->FileListView->SetViewStyle(FListViewStyle);
    F->FileListView->SetRoot(StartFolder());

    F->FileListView->SetHeaderSkinDataName(FLVHeaderSkinDataName);
    F->FileListView->SetSkinData(FCtrlFSD);
    if (FCtrlFSD) {
        F->FileListView->SetDrawSkin(FCtrlFSD->DlgListViewDrawSkin());
        F->FileListView->SetItemSkinDataName(FCtrlFSD->DlgListViewItemSkinDataName());
    }
    F->FileListView->SetMultiSelect(FMultiSelection);
    if (FShowHiddenFiles) {
        TShellObjectTypes T = F->FileListView->ObjectTypes();
        T.Include(otHidden);
        F->FileListView->SetObjectTypes(T);
    }
    F->FilterComboBox->SetFilter(FFilter);
    F->FilterComboBox->SetItemIndex(FFilterIndex - 1);
    // the mask of the filter shown governs the list from the start, whatever the index
    F->FileListView->SetMask(F->FilterComboBox->Mask());

    F->FileListViewPanel->SetSkinData(FCtrlFSD);
    F->BottomPanel->SetSkinData(FCtrlFSD);
    F->ToolPanel->SetSkinData(FCtrlFSD);
    if (FCtrlFSD && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex("resizetoolbutton") != -1) {
        F->UpToolButton->SetSkinDataName("resizetoolbutton");
        F->BackToolButton->SetSkinDataName("resizetoolbutton");
        F->StyleToolButton->SetSkinDataName("resizetoolbutton");
        F->NewFolderToolButton->SetSkinDataName("resizetoolbutton");
    }
    F->Drivelabel->SetSkinData(FCtrlFSD);
    for (TbsSkinSpeedButton* B : {F->UpToolButton, F->BackToolButton, static_cast<TbsSkinSpeedButton*>(F->StyleToolButton),
                                  F->NewFolderToolButton})
        B->SetSkinData(FCtrlFSD);
    F->FLVHScrollBar->SetSkinData(FCtrlFSD);
    F->FLVVScrollBar->SetSkinData(FCtrlFSD);
    F->FileNameEdit->SetSkinData(FCtrlFSD);
    F->FilterComboBox->SetSkinData(FCtrlFSD);
    F->OpenButton->SetSkinData(FCtrlFSD);
    F->CancelButton->SetSkinData(FCtrlFSD);
    F->OpenFileLabel->SetSkinData(FCtrlFSD);
    F->FileTypeLabel->SetSkinData(FCtrlFSD);
    F->ShellBox->SetSkinData(FCtrlFSD);
    F->ShellBox->SetSkinDataName("combobox");

    int W = FDialogWidth > 0 ? FDialogWidth : FDefaultWidth;
    int H = FDialogHeight > 0 ? FDialogHeight : FDefaultHeight;
    if (FSD && !FSD->Empty) {
        W = std::max(W, F->BSF->GetMinWidth());
        H = std::max(H, F->BSF->GetMinHeight());
    }
    F->SetClientWidth(W);
    F->SetClientHeight(H);
    if (F->FileListView->Items()->Count() > 0) F->FileListView->SetItemFocused(F->FileListView->Items()->Item(0));
    F->FileNameEdit->SetText(FNameFromCaller ? DialogNamePart(FFileName) : String());
    F->InitHistory();
}

void TbsSkinOpenDialog::WriteBack(TbsOpenDlgForm* F, bool Confirmed)
{
    FFilterIndex = F->FilterComboBox->ItemIndex() + 1;
    FDialogWidth = F->ClientWidth();
    FDialogHeight = F->ClientHeight();
    FListViewStyle = F->FileListView->ViewStyle();
    if (!Confirmed) return;
    FFileName = F->FileName;
    FNameFromCaller = false;
    F->FileListView->GetSelectedFiles(FFiles.get());
}

bool TbsSkinOpenDialog::Execute()
{
    if (OnShow) OnShow(this);
    std::unique_ptr<TbsOpenDlgForm> F(MakeForm());
    FDlgFrm = F.get();
    F->FreeNotification(this);
    F->OverwritePromt = FOverwritePromt;
    F->OnFolderChange = OnFolderChange;
    F->CheckFileExists = FCheckFileExists;
    F->DefaultExt = FDefaultExt;
    bool Result = false;
    try {
        Prepare(F.get());
        Result = F->ShowModal() == mrOk;
        WriteBack(F.get(), Result);
    } catch (...) {
        if (OnClose) OnClose(this);
        FDlgFrm = nullptr;
        throw;
    }
    if (OnClose) OnClose(this);
    FDlgFrm = nullptr;
    return Result;
}
