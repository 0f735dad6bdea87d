#include "app/presets/PresetRoutines.h"

#include "platform/system/SysUtils.h"

TPresetRoutines::TPresetRoutines(TPresetBindings ABindings) : F(std::move(ABindings)) {}

int TPresetRoutines::CurrentCode() const
{
    // The settings dialog binds only the option boxes: it has no preset chosen.
    if (!F.CategoryBox || !F.PresetBox) return -1;
    int category = F.CategoryBox->ItemIndex();
    int preset = F.PresetBox->ItemIndex();
    if (category < 0 || category >= PresetCategoryCount || preset < 0 || preset > 99) return -1;
    return CategoryCode(category, preset);
}

void TPresetRoutines::Button2Click() { FillPresetCatalogue(*F.PresetBox, F.CategoryBox->ItemIndex()); }

void TPresetRoutines::Button5Click()
{
    ApplyPresetCode(CurrentCode(), *F.Fields, F.OutputFolderText ? F.OutputFolderText() : String(),
                    F.OverwriteOutput && F.OverwriteOutput());
    WritePresetColumns(*F.Fields, *F.JobList);
}

void TPresetRoutines::Button6Click() { F.Fields->Reset(); }

void TPresetRoutines::Button13Click() { ApplyOptionTexts(nullptr); }

void TPresetRoutines::ApplyOptionTexts(TPresetJobList* ARow)
{
    const TPresetOptionEntry* entry = FindPresetOptionLists(CurrentCode());
    for (TPresetOption o : {poResolution, poFrameRate, poVideoBitrate, poSampleRate, poAudioBitrate, poAspect}) {
        const TPresetOptionBox* box = F.Options.Box(o);
        String value = ApplyOptionChoice(entry, o, box->ItemIndex(), box->Text(), *F.Fields);
        if (ARow) ARow->SetColumn(OptionColumn(o), value);
    }
}

void TPresetRoutines::Button18Click()
{
    int code = CurrentCode();
    F.Fields->Video_DisableVideo = false;
    FillPresetOptions(F.Options, code);
}

void TPresetRoutines::bsSkinOfficeComboBox2Change() { Button2Click(); }

void TPresetRoutines::bsSkinOfficeComboBox1Change()
{
    Button18Click();
    int preset = F.PresetBox->ItemIndex();
    bool hasPreset = preset >= 0 && preset < F.PresetBox->ItemCount();
    String ext = hasPreset ? PresetExtFromCaption(F.PresetBox->ItemCaption(preset)) : String();
    if (!F.JobList->HasSelection()) return;
    // A box whose new default shows the text it showed before raised no change, so its
    // digits would still hold the old list's index: the row records the indices now selected.
    F.JobList->SetColumn(jcOptionCode, BuildOptionCode(F.Options));
    Button5Click();
    // The overrides go into the row as well: the job converts with the six values its
    // boxes show, not with the table's values that the boxes override.
    ApplyOptionTexts(F.JobList);
    if (hasPreset) {
        const String old = F.JobList->Column(jcOutputFile);
        String name = ChangeOutputExt(old, ext);
        if (name != old && F.SettleOutputName) name = F.SettleOutputName(name);
        F.JobList->SetColumn(jcOutputFile, name);
        F.JobList->SetColumn(jcCategoryCode, IntToStr(CurrentCode()));
    }
    F.JobList->SetFocus();
}

void TPresetRoutines::OptionChange(TPresetOption AOption)
{
    TPresetJobList& jobs = *F.JobList;
    if (!jobs.HasSelection()) return;
    TPresetOptionBox& box = *F.Options.Box(AOption);
    jobs.SetColumn(jcOptionCode, SetOptionCodeDigits(jobs.Column(jcOptionCode), AOption, box.ItemIndex()));
    jobs.SetColumn(OptionColumn(AOption), ApplyOptionChoice(FindPresetOptionLists(CurrentCode()), AOption,
                                                            box.ItemIndex(), box.Text(), *F.Fields));
    jobs.SetFocus();
}

void TPresetRoutines::bsSkinComboBox1Change() { OptionChange(poResolution); }
void TPresetRoutines::bsSkinComboBox2Change() { OptionChange(poVideoBitrate); }
void TPresetRoutines::bsSkinComboBox3Change() { OptionChange(poAudioBitrate); }
void TPresetRoutines::bsSkinComboBox4Change() { OptionChange(poAspect); }
void TPresetRoutines::bsSkinComboBox9Change() { OptionChange(poFrameRate); }
void TPresetRoutines::bsSkinComboBox10Change() { OptionChange(poSampleRate); }

void TPresetRoutines::CopyChoiceTo(const TPresetRoutines& ATarget) const
{
    const TPresetBindings& T = ATarget.Bindings();
    T.CategoryBox->SetItemIndex(F.CategoryBox->ItemIndex());
    T.PresetBox->SetItemIndex(F.PresetBox->ItemIndex());
    for (TPresetOption o : {poResolution, poVideoBitrate, poFrameRate, poAspect, poAudioBitrate, poSampleRate})
        T.Options.Box(o)->SetItemIndex(F.Options.Box(o)->ItemIndex());
}

void TPresetRoutines::bsSkinButton24Click(TPresetRoutines& ADialog, const std::function<void()>& AShowModal)
{
    CopyChoiceTo(ADialog);
    if (AShowModal) AShowModal();
}
