// The main window's skin index (section "Skin" of the settings file) and skin choice,
// and the menu commands that are not about the job list or the batch: exit, the
// conversion options, the help page, the web site, the support mail and the about box.
#include "app/forms/OptionFile.h"
#include "app/resources/ProgramAddresses.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "app/forms/Unit5.h"

#include "engine/common/HostUtils.h"
#include "platform/forms/Menus.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/SysUtils.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsSkinSelectDlg.h"

void TForm1::BindMenuEvents()
{
    bsSelectSkinDialog1 = new TbsSelectSkinDialog(this);
    bsSelectSkinDialog1->SetName("bsSelectSkinDialog1");
    bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);
    bsSelectSkinDialog1->SetSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetCtrlSkinData(bsSkinData1);

    bsSkinButton9->OnClick = [this](TObject* Sender) { bsSkinButton9Click(Sender); };
    N3->OnClick = [this](TObject* Sender) { N3Click(Sender); };
    N10->OnClick = [this](TObject* Sender) { N10Click(Sender); };
    bsSkinButton19->OnClick = [this](TObject* Sender) { N10Click(Sender); };
    N12->OnClick = [this](TObject* Sender) { N12Click(Sender); };
    N15->OnClick = [this](TObject* Sender) { N15Click(Sender); };
    N16->OnClick = [this](TObject* Sender) { N16Click(Sender); };
    N17->OnClick = [this](TObject* Sender) { N17Click(Sender); };
    // An entry with no address to open is shown disabled.
    N15->SetEnabled(*HomePageAddress != 0);
    N16->SetEnabled(*SupportMailAddress != 0);
}

void TForm1::Button3Click(TObject*)
{
    using namespace OptionKeys;
    // Only a whole decimal number is taken; anything else (missing, empty, "Error" or text
    // that is no number) is stored again as the first skin, so a damaged file never stops
    // the start.  The skin data itself ignores an index its list does not have.
    if (OptionFileExists()) {
        int index = 0;
        if (TryStrToInt(ReadOption(Skin, SetSkin), index)) {
            bsSkinData1->SetSkinIndex(index);
            return;
        }
    }
    WriteOption(Skin, SetSkin, "0");
    bsSkinData1->SetSkinIndex(0);
}

void TForm1::Button4Click(TObject*)
{
    WriteOption(OptionKeys::Skin, OptionKeys::SetSkin, IntToStr(bsSkinData1->SkinIndex()));
}

bool TForm1::RunSkinDialog(int AStart, int& ASelected)
{
    if (!bsSelectSkinDialog1->Execute(AStart)) return false;
    ASelected = bsSelectSkinDialog1->SelectedSkinIndex();
    return true;
}

void TForm1::bsSkinButton9Click(TObject*)
{
    // Only an accepted choice is applied and stored: a cancelled dialog changes nothing.
    int selected = 0;
    if (!RunSkinDialog(bsSkinData1->SkinIndex(), selected)) return;
    bsSkinData1->SetSkinIndex(selected);
    Button4Click(this);
}

void TForm1::N3Click(TObject*) { Close(); }

void TForm1::N10Click(TObject*)
{
    if (Form5) Form5->ShowModal();
}

void TForm1::N12Click(TObject*)
{
    ShellExecute(Handle(), "open", GetExePath() + HelpPageFile, "", "", SW_SHOWNORMAL);
}

void TForm1::N15Click(TObject*)
{
    if (*HomePageAddress) ShellExecute(Handle(), "open", HomePageAddress, "", "", SW_SHOWNORMAL);
}

void TForm1::N16Click(TObject*)
{
    if (*SupportMailAddress)
        ShellExecute(Handle(), "open", String("mailto:") + SupportMailAddress, "", "", SW_SHOWNORMAL);
}

void TForm1::N17Click(TObject*)
{
    if (Form2) Form2->ShowModal();
}
