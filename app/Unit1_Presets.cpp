// The main window's preset boxes bound to the shared preset routines: the category and
// preset boxes, the six off-screen option boxes, the Video_* fields and the selected job
// row.
#include "app/PresetSkinBoxes.h"
#include "app/Unit1.h"
#include "app/Unit5.h"

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
    void SetFocus() override
    {
        if (FForm->lvFiles->CanFocus()) FForm->lvFiles->SetFocus();
    }

private:
    TForm1* FForm;
};

}  // namespace

void TForm1::BuildPresetRoutines()
{
    FCategoryBox = std::make_unique<TSkinChoiceBox>(bsSkinOfficeComboBox2);
    FPresetBox = std::make_unique<TSkinChoiceBox>(bsSkinOfficeComboBox1);
    TbsSkinComboBox* const boxes[PresetOptionCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox9,
                                                      bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    for (int o = 0; o < PresetOptionCount; ++o) FOptionBoxes[o] = std::make_unique<TSkinOptionBox>(boxes[o]);
    FJobListAdapter = std::make_unique<TJobListAdapter>(this);

    TPresetBindings bindings;
    bindings.CategoryBox = FCategoryBox.get();
    bindings.PresetBox = FPresetBox.get();
    bindings.Options.Resolution = FOptionBoxes[poResolution].get();
    bindings.Options.VideoBitrate = FOptionBoxes[poVideoBitrate].get();
    bindings.Options.FrameRate = FOptionBoxes[poFrameRate].get();
    bindings.Options.AudioBitrate = FOptionBoxes[poAudioBitrate].get();
    bindings.Options.SampleRate = FOptionBoxes[poSampleRate].get();
    bindings.Options.Aspect = FOptionBoxes[poAspect].get();
    bindings.Fields = &Video;
    bindings.JobList = FJobListAdapter.get();
    bindings.OutputFolderText = [this] { return Video_OutPut_Folder_Edit->Text(); };
    bindings.OverwriteOutput = [this] { return OverwriteOutput(); };
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

void TForm1::BindPresetEvents()
{
    bsSkinOfficeComboBox2->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox2Change(Sender); };
    bsSkinOfficeComboBox1->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox1Change(Sender); };
    bsSkinComboBox1->OnChange = [this](TObject* Sender) { bsSkinComboBox1Change(Sender); };
    bsSkinComboBox2->OnChange = [this](TObject* Sender) { bsSkinComboBox2Change(Sender); };
    bsSkinComboBox3->OnChange = [this](TObject* Sender) { bsSkinComboBox3Change(Sender); };
    bsSkinComboBox4->OnChange = [this](TObject* Sender) { bsSkinComboBox4Change(Sender); };
    bsSkinComboBox9->OnChange = [this](TObject* Sender) { bsSkinComboBox9Change(Sender); };
    bsSkinComboBox10->OnChange = [this](TObject* Sender) { bsSkinComboBox10Change(Sender); };
}
