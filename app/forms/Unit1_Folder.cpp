// The main window's output folder: read from and stored in the settings file's
// "OutPath", chosen in the folder dialog, opened in the desktop.
#include "app/forms/FormBuild.h"
#include "app/forms/OptionFile.h"
#include "app/forms/Unit1.h"
#include "engine/libs/OutputTarget.h"

#include "platform/shell/ShellAPI.h"
#include "platform/system/SysUtils.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"

namespace {

void TakeFolder(TForm1* AForm, const String& AFolder)
{
    AForm->Video_OutPut_Folder_Edit->SetText(AFolder);
    AForm->FileOutPutPath = AFolder;
}

// At start: the hidden temporary files a killed conversion left in the output folder go.
void TakeStartFolder(TForm1* AForm, const String& AFolder)
{
    TakeFolder(AForm, AFolder);
    RemoveStaleOutputTemps(AFolder);
}

}  // namespace

void TForm1::Button17Click(TObject*)
{
    using namespace OptionKeys;
    // A stored folder that is not an absolute path (a Windows path copied over, say) is
    // never taken as a folder relative to wherever the program runs: it counts as missing.
    if (OptionFileExists()) {
        const String stored = ReadOption(OutPath, OutPath);
        if (!OptionValueMissing(stored) && IsUsableFolderPath(stored)) {
            MakeFolder(stored);  // a folder that cannot be made is still taken
            TakeStartFolder(this, stored);
            return;
        }
    }
    const String folder = DefaultOutputFolder();
    MakeFolder(folder);
    WriteOption(OutPath, OutPath, folder);
    TakeStartFolder(this, folder);
}

void TForm1::Button16Click(TObject*)
{
    if (DirectoryExists(FileOutPutPath)) WriteOption(OptionKeys::OutPath, OptionKeys::OutPath, FileOutPutPath);
}

void TForm1::Button20Click(TObject*)
{
    ShellExecute(Handle(), "open", Video_OutPut_Folder_Edit->Text(), "", "", SW_SHOWNORMAL);
}

void TForm1::bsSkinButton5Click(TObject*)
{
    // Only an accepted choice counts: a cancelled dialog leaves the folder as it was.
    String folder = FileOutPutPath;
    const bool accepted = SelectOutputFolder ? SelectOutputFolder(folder) : RunOutputFolderDialog(folder);
    if (accepted && DirectoryExists(folder)) {
        TakeFolder(this, folder);
        Button16Click(this);
    }
    FocusIfAble(lvFiles);
}

void TForm1::bsSkinButton6Click(TObject*)
{
    Button20Click(this);
    FocusIfAble(lvFiles);
}

void TForm1::Video_OutPut_Folder_EditClick(TObject*) { FocusIfAble(lvFiles); }

bool TForm1::RunOutputFolderDialog(String& ADirectory)
{
    // The dialog starts where it was left the time before (the snapshot folder command
    // shares it).
    if (!bsSkinSelectDirectoryDialog2->Execute()) return false;
    ADirectory = bsSkinSelectDirectoryDialog2->Directory();
    return true;
}

void TForm1::BindFolderEvents()
{
    bsSkinButton5->OnClick = [this](TObject* Sender) { bsSkinButton5Click(Sender); };
    bsSkinButton6->OnClick = [this](TObject* Sender) { bsSkinButton6Click(Sender); };
    Video_OutPut_Folder_Edit->OnClick = [this](TObject* Sender) { Video_OutPut_Folder_EditClick(Sender); };
}
