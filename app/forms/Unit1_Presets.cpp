// The main window's preset boxes bound to the shared preset routines: the category and
// preset boxes, the six off-screen option boxes, the Video_* fields and the selected job
// row.
#include "app/forms/FormBuild.h"
#include "app/presets/PresetSkinBoxes.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

namespace {

// The selected row of the job list as the preset routines see it.
class TJobListAdapter : public TPresetJobList {
public:
    explicit TJobListAdapter(TForm1* AForm) : FForm(AForm) {}
    bool HasSelection() const override { return FForm->lvFiles->Selected() != nullptr; }
    String Column(int AColumn) const override { return TForm1::JobColumn(FForm->lvFiles->Selected(), AColumn); }
    void SetColumn(int AColumn, const String& AText) override
    {
        if (TListItem* item = FForm->lvFiles->Selected()) TForm1::SetJobColumn(item, AColumn, AText);
    }
    void SetFocus() override { FocusIfAble(FForm->lvFiles); }

private:
    TForm1* FForm;
};

}  // namespace

void TForm1::BuildPresetRoutines()
{
    TbsSkinComboBox* const boxes[PresetOptionCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox9,
                                                      bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    TPresetBindings bindings =
        BindSkinPresetBoxes(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, boxes, FCategoryBox, FPresetBox, FOptionBoxes);
    FJobListAdapter = std::make_unique<TJobListAdapter>(this);
    bindings.Fields = &Video;
    bindings.JobList = FJobListAdapter.get();
    bindings.OutputFolderText = [this] { return Video_OutPut_Folder_Edit->Text(); };
    bindings.OverwriteOutput = [this] { return OverwriteOutput(); };
    bindings.SettleOutputName = [this](const String& AName) { return SettleSelectedRowName(AName); };
    FPresets = std::make_unique<TPresetRoutines>(bindings);
}

void TForm1::Button2Click(TObject*) { FPresets->Button2Click(); }
void TForm1::Button5Click(TObject*) { FPresets->Button5Click(); }
void TForm1::Button13Click(TObject*) { FPresets->Button13Click(); }
void TForm1::Button18Click(TObject*) { FPresets->Button18Click(); }
void TForm1::bsSkinOfficeComboBox2Change(TObject*) { FPresets->bsSkinOfficeComboBox2Change(); }
void TForm1::bsSkinOfficeComboBox1Change(TObject*) { FPresets->bsSkinOfficeComboBox1Change(); }
void TForm1::bsSkinComboBox1Change(TObject*) { FPresets->bsSkinComboBox1Change(); }
void TForm1::bsSkinComboBox2Change(TObject*) { FPresets->bsSkinComboBox2Change(); }
void TForm1::bsSkinComboBox3Change(TObject*) { FPresets->bsSkinComboBox3Change(); }
void TForm1::bsSkinComboBox4Change(TObject*) { FPresets->bsSkinComboBox4Change(); }
void TForm1::bsSkinComboBox9Change(TObject*) { FPresets->bsSkinComboBox9Change(); }
void TForm1::bsSkinComboBox10Change(TObject*) { FPresets->bsSkinComboBox10Change(); }

bool TForm1::OverwriteOutput() const { return Form5 && Form5->bsSkinCheckRadioBox3->Checked(); }

void TForm1::BindPresetEvents() { BindPresetBoxEvents(this); }
