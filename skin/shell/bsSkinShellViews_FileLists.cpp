// The folder list, the file list and the filter box: reading folders, following links
// between them, drawing folder items with their pictures and indentation.
#include "platform/shell/FileSearch.h"
#include "platform/system/SysUtils.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/shell/bsSkinShellViews_Guards.h"
#include "skin/core/bsUtils.h"

namespace {
using bsshell::LoadNamedPicture;
} // namespace

// ---- folder list ----------------------------------------------------------------------------------

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    OnDrawItem = [this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawFolderItem(C, I, W, H, R, S);
    };
    SetWidth(145);
    SetSorted(false);
    LoadFolderBitmaps();
    FDirectory = bsGetCurrentDir();
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox()
{
    if (FFileList) FFileList->FDirList = nullptr;
    if (FDriveCombo) FDriveCombo->FDirList = nullptr;
}

void TbsSkinDirectoryListBox::LoadFolderBitmaps()
{
    FClosedBMP = LoadNamedPicture("BS_CLOSEDFOLDER");
    FOpenedBMP = LoadNamedPicture("BS_OPENFOLDER");
    FCurrentBMP = LoadNamedPicture("BS_CURRENTFOLDER");
}

void TbsSkinDirectoryListBox::CreateWnd()
{
    TbsSkinListBox::CreateWnd();
    RebuildList();
}

void TbsSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFileList) FFileList = nullptr;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
    if (AComponent == FDriveCombo) FDriveCombo = nullptr;
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* Value)
{
    if (FFileList) FFileList->FDirList = nullptr;
    FFileList = Value;
    if (FFileList) {
        FFileList->FDirList = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* Value)
{
    FDirLabel = Value;
    if (Value) Value->FreeNotification(this);
    UpdateDirLabel();
}

String TbsSkinDirectoryListBox::DisplayCase(const String& S) const
{
    if (FPreserveCase || FCaseSensitive) return S;
    return LowerCase(S);
}

int TbsSkinDirectoryListBox::FileCompareText(const String& A, const String& B) const
{
    return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

void TbsSkinDirectoryListBox::RebuildList()
{
    FStopUpDateHScrollBar = true;
    TStrings* L = Items();
    L->BeginUpdate();
    int Current = 0;
    try {
        L->Clear();
        // Linux volumes keep and compare the case of names.
        FPreserveCase = true;
        FCaseSensitive = true;
        if (FDirectory == "/" || FDirectory.empty()) {
            L->AddObject("/", FCurrentBMP.get());
        } else {
            L->AddObject("/", FOpenedBMP.get());
            size_t P = 1;
            while (P < FDirectory.size()) {
                size_t Q = FDirectory.find('/', P);
                if (Q == String::npos) Q = FDirectory.size();
                const String Part = FDirectory.substr(P, Q - P);
                if (!Part.empty()) L->AddObject(DisplayCase(Part), FOpenedBMP.get());
                P = Q + 1;
            }
            Current = L->Count() - 1;
            if (Current > 0) L->SetObjects(Current, FCurrentBMP.get());
        }
        TStringList Subs;
        Subs.SetSorted(true);
        TSearchRec F;
        if (FindFirst(JoinPathName(FDirectory, "*.*"), faDirectory, F) == 0) {
            do {
                if ((F.Attr & faDirectory) && F.Name != "." && F.Name != "..") Subs.Add(DisplayCase(F.Name));
            } while (FindNext(F) == 0);
            FindClose(F);
        }
        for (int I = 0; I < Subs.Count(); ++I) L->AddObject(Subs.Strings(I), FClosedBMP.get());
    } catch (...) {
        L->EndUpdate();
        FStopUpDateHScrollBar = false;
        throw;
    }
    L->EndUpdate();
    FStopUpDateHScrollBar = false;
    if (HandleAllocated()) {
        SetItemIndex(Current);
        UpDateScrollBar();
    }
}

void TbsSkinDirectoryListBox::SetDirectoryPath(const String& NewDirectory)
{
    if (NewDirectory.empty() || FileCompareText(NewDirectory, FDirectory) == 0) return;
    String DirPart, FilePart;
    SplitTypedPath(NewDirectory, DirPart, FilePart);
    // a folder on another drive: the drive box shows that drive first
    if (FDriveCombo) {
        const String Drive = FDriveCombo->DriveOf(DirPart);
        if (Drive != FDriveCombo->Drive()) {
            const bool Old = FInSetDir;
            FInSetDir = true;
            try {
                FDriveCombo->SetDrive(Drive);
            } catch (...) {
                FInSetDir = Old;
                throw;
            }
            FInSetDir = Old;
        }
    }
    EnterFolder(DirPart);
}

void TbsSkinDirectoryListBox::DriveChanged(const String& NewDrive)
{
    if (NewDrive.empty() || (FDriveCombo && FDriveCombo->DriveOf(FDirectory) == NewDrive)) return;
    try {
        bsChDir(NewDrive);
        FDirectory = bsGetCurrentDir();
    } catch (const EInOutError&) {
        // a drive that cannot be entered: the list shows its old folder again
    }
    if (FInSetDir) return;
    RebuildList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::EnterFolder(const String& DirPart)
{
    if (IsExistingFolder(FDirectory)) bsChDir(FDirectory);
    bsChDir(DirPart);
    FDirectory = bsGetCurrentDir();
    RebuildList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::DirectoryChanged()
{
    if (FFileList) FFileList->EnterFolder(FDirectory);
    UpdateDirLabel();
    if (OnChange) OnChange(this);
}

void TbsSkinDirectoryListBox::UpdateDirLabel()
{
    if (!FDirLabel) return;
    const int W = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(FitPathToWidth(FDirectory, FDirLabel->Canvas(), W));
}

void TbsSkinDirectoryListBox::UpdateList()
{
    RebuildList();
    DirectoryChanged();
}

String TbsSkinDirectoryListBox::GetItemPath(int Index) const
{
    if (Index < 0 || Index >= Items()->Count()) return String();
    if (Index == 0) return "/";
    TObject* K = Items()->Objects(Index);
    if (K == FClosedBMP.get()) return JoinPathName(FDirectory, Items()->Strings(Index));
    if (K == FCurrentBMP.get()) return FDirectory;
    // a folder on the way down: the path up to the (Index + 1)-th "/"
    int Seen = 0;
    for (size_t P = 0; P < FDirectory.size(); ++P)
        if (FDirectory[P] == '/' && ++Seen == Index + 1) return FDirectory.substr(0, P);
    return FDirectory;
}

void TbsSkinDirectoryListBox::OpenCurrent() { SetDirectoryPath(GetItemPath(ItemIndex())); }

int TbsSkinDirectoryListBox::ItemIndent(int Index) const
{
    if (Index >= 0 && Index < Items()->Count() && Items()->Objects(Index) == FClosedBMP.get())
        return BackslashCount(FDirectory) * 4 + 6;
    return Index * 4 + 2;
}

void TbsSkinDirectoryListBox::DrawFolderItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect,
                                             TOwnerDrawState)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    auto* Bmp = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    const int BW = Bmp ? Bmp->Width() : 16;
    const int Offset = ListBox->FHorizontalExtentValue;
    const int Indent = ItemIndent(Index);
    if (Bmp) Cnvs->Draw(Indent - Offset, (ItemHeight - Bmp->Height()) / 2, Bmp);
    Cnvs->Brush()->SetStyle(bsClear);
    DrawClippedTextIndent(Cnvs, Items()->Strings(Index), Rect(0, 0, ItemWidth, ItemHeight),
                          BW + Indent - Offset + 4);
}

int TbsSkinDirectoryListBox::GetItemTextWidth(int Index, TCanvas* C)
{
    const int W = TbsSkinListBox::GetItemTextWidth(Index, C);
    auto* Bmp = Index >= 0 && Index < Items()->Count() ? dynamic_cast<TBitmap*>(Items()->Objects(Index)) : nullptr;
    if (!Bmp) return W + Index * 4 + 22;
    return W + Bmp->Width() + ItemIndent(Index) + 4;
}

void TbsSkinDirectoryListBox::ListBoxDblClick()
{
    TbsSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(char32_t& Key)
{
    TbsSkinListBox::ListBoxKeyPress(Key);
    if (Key == 13) OpenCurrent();
}

// ---- file list ------------------------------------------------------------------------------------

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    SetWidth(145);
    FDirectory = bsGetCurrentDir();
    SetMultiSelect(false);
    SetSorted(true);
}

TbsSkinFileListBox::~TbsSkinFileListBox()
{
    if (FDirList) FDirList->FFileList = nullptr;
    if (FFilterCombo) FFilterCombo->FFileList = nullptr;
}

void TbsSkinFileListBox::CreateWnd()
{
    TbsSkinListBox::CreateWnd();
    ListFiles();
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFileEdit) FFileEdit = nullptr;
    if (AComponent == FDirList) FDirList = nullptr;
    if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

void TbsSkinFileListBox::UpdateList() { ListFiles(); }

void TbsSkinFileListBox::SetMask(const String& Value)
{
    if (Value == FMask) return;
    FMask = Value;
    ListFiles();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value)
{
    if (Value == FFileType) return;
    FFileType = Value;
    ListFiles();
}

void TbsSkinFileListBox::SetFileEdit(TbsSkinEdit* Value)
{
    FFileEdit = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    const String N = SelectedName();
    Value->SetText(N.empty() ? FMask : N);
}

void TbsSkinFileListBox::ListFiles()
{
    if (!HandleAllocated()) return;
    static const int Attrs[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
    int Search = 0;
    for (int I = 0; I < 6; ++I)
        if (FFileType.Contains(TbsFileAttr(I))) Search |= Attrs[I];
    bsChDir(FDirectory);
    Clear();
    const TCursor SaveCursor = Screen ? Screen->Cursor() : crDefault;
    struct TRestore {
        TCursor C;
        ~TRestore()
        {
            if (Screen) Screen->SetCursor(C);
        }
    } Restore{SaveCursor};
    TStrings* L = Items();
    size_t P = 0;
    while (P <= FMask.size()) {
        size_t Q = FMask.find(';', P);
        if (Q == String::npos) Q = FMask.size();
        const String M = FMask.substr(P, Q - P);
        P = Q + 1;
        if (M.empty()) continue;
        TSearchRec F;
        if (FindFirst(JoinPathName(FDirectory, M), Search, F) != 0) continue;
        do {
            if (!FFileType.Contains(bsftNormal) && !(F.Attr & Search)) continue;
            const int At = L->Add((F.Attr & faDirectory) ? "[" + F.Name + "]" : F.Name);
            if (At == 100 && Screen) Screen->SetCursor(crHourGlass);
        } while (FindNext(F) == 0);
        FindClose(F);
    }
    UpDateScrollBar();
    SelectionChanged();
}

String TbsSkinFileListBox::SelectedName() const
{
    const int I = ItemIndex();
    if (I >= 0 && I < Items()->Count() && GetSelected(I)) return Items()->Strings(I);
    return String();
}

String TbsSkinFileListBox::SelectedPath()
{
    const String N = SelectedName();
    return N.empty() ? String() : JoinPathName(FDirectory, N);
}

void TbsSkinFileListBox::SelectionChanged()
{
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const String N = SelectedName();
        FFileEdit->SetText(N.empty() ? FMask : N);
        FFileEdit->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick()
{
    TbsSkinListBox::ListBoxClick();
    if (ItemIndex() != FLastSel) SelectionChanged();
}

void TbsSkinFileListBox::SelectByName(const String& Name)
{
    if (Name == SelectedName()) return;
    int Found = -1;
    for (int I = 0; I < Items()->Count(); ++I)
        if (CompareText(Items()->Strings(I), Name) == 0) {
            Found = I;
            break;
        }
    SetItemIndex(Found);
    SelectionChanged();
}

void TbsSkinFileListBox::EnterFolder(const String& Folder)
{
    if (Folder == FDirectory) return;
    if (IsExistingFolder(FDirectory)) bsChDir(FDirectory);
    bsChDir(Folder);
    FDirectory = bsGetCurrentDir();
    ListFiles();
}

void TbsSkinFileListBox::ApplyFilePath(const String& EditText)
{
    if (EditText.empty() || EditText == SelectedPath()) return;
    String DirPart, FilePart;
    SplitTypedPath(EditText, DirPart, FilePart);
    if (FDirList)
        FDirList->SetDirectoryPath(EditText);
    else
        EnterFolder(DirPart);
    if (FilePart.find_first_of("*?") != String::npos)
        SetMask(FilePart);
    else if (!FilePart.empty()) {
        SelectByName(FilePart);
        if (FileExists(JoinPathName(FDirectory, FilePart)) && ItemIndex() < 0) {
            SetMask(FilePart);
            SelectByName(FilePart);
        }
    }
}

// ---- filter box -----------------------------------------------------------------------------------

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FFilter("All files (*.*)|*.*"), FMaskList(std::make_unique<TStringList>())
{
}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox()
{
    if (FFileList) FFileList->FFilterCombo = nullptr;
}

void TbsSkinFilterComboBox::CreateWnd()
{
    TbsSkinComboBox::CreateWnd();
    BuildFilterList();
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value)
{
    if (FFileList) FFileList->FFilterCombo = nullptr;
    FFileList = Value;
    if (FFileList) {
        FFileList->FFilterCombo = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinFilterComboBox::SetFilter(const String& Value)
{
    if (CompareText(Value, FFilter) == 0) return;
    FFilter = Value;
    if (HandleAllocated()) BuildFilterList();
    Change();
}

void TbsSkinFilterComboBox::BuildFilterList()
{
    Items()->Clear();
    FMaskList->Clear();
    size_t P = 0;
    while (P < FFilter.size()) {
        const size_t Bar = FFilter.find('|', P);
        if (Bar == String::npos) break; // a text without its mask is dropped
        const String Text = FFilter.substr(P, Bar - P);
        size_t End = FFilter.find('|', Bar + 1);
        if (End == String::npos) End = FFilter.size();
        Items()->Add(Text);
        FMaskList->Add(FFilter.substr(Bar + 1, End - Bar - 1));
        P = End + 1;
    }
    SetItemIndex(0);
}

String TbsSkinFilterComboBox::Mask()
{
    if (Items()->Count() == 0) return "*.*";
    if (ItemIndex() < 0) SetItemIndex(Items()->Count() - 1);
    const int I = ItemIndex();
    return I >= 0 && I < FMaskList->Count() ? FMaskList->Strings(I) : String("*.*");
}

void TbsSkinFilterComboBox::Change()
{
    if (FFileList) FFileList->SetMask(Mask());
    TbsSkinComboBox::Change();
}
