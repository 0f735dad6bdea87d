// The preset routines' boxes over the skinned controls: a category or preset box over a
// skinned office combo box, an option box over a skinned fixed drop-down list.  Every
// form that runs the preset routines binds its controls through these.
#pragma once

#include "app/presets/PresetControls.h"
#include "app/presets/PresetRoutines.h"

#include <memory>

class TObject;
class TbsSkinComboBox;
class TbsSkinCustomOfficeComboBox;

// An option box over a skinned fixed drop-down list.
class TSkinOptionBox : public TPresetOptionBox {
public:
    explicit TSkinOptionBox(TbsSkinComboBox* ABox) : FBox(ABox) {}
    int ItemIndex() const override;
    void SetItemIndex(int AIndex) override;
    String Text() const override;
    void ClearItems() override;
    void AddItem(const String& AText) override;
    void SetEnabled(bool AEnabled) override;

private:
    TbsSkinComboBox* FBox;
};

// A category or preset box over a skinned office combo box (caption, picture index).
class TSkinChoiceBox : public TPresetChoiceBox {
public:
    explicit TSkinChoiceBox(TbsSkinCustomOfficeComboBox* ABox) : FBox(ABox) {}
    int ItemIndex() const override;
    void SetItemIndex(int AIndex) override;
    int ItemCount() const override;
    String ItemCaption(int AIndex) const override;
    void ClearItems() override;
    void AddItem(const String& ACaption, int AImageIndex) override;
    void Refresh() override;

private:
    TbsSkinCustomOfficeComboBox* FBox;
};

// Makes the adapters of a form's skinned category and preset boxes and of its six option
// boxes (AOptions in TPresetOption order: resolution, video bitrate, frame rate, audio
// bitrate, sample rate, aspect), keeps them in the form's slots, and returns bindings with
// these boxes set; the fields, job list, output folder and overwrite choice are the form's
// to add.
TPresetBindings BindSkinPresetBoxes(TbsSkinCustomOfficeComboBox* ACategory, TbsSkinCustomOfficeComboBox* APreset,
                                    TbsSkinComboBox* const (&AOptions)[PresetOptionCount],
                                    std::unique_ptr<TPresetChoiceBox>& ACategoryBox,
                                    std::unique_ptr<TPresetChoiceBox>& APresetBox,
                                    std::unique_ptr<TPresetOptionBox> (&AOptionBoxes)[PresetOptionCount]);

// Adds the 24 output categories to a category box, each showing the picture of its index.
void AddPresetCategories(TbsSkinCustomOfficeComboBox* ABox);

// Binds the change events of a form's category, preset and option boxes to the form's
// handlers of the same names.
template <class TPresetForm>
void BindPresetBoxEvents(TPresetForm* F)
{
    F->bsSkinOfficeComboBox2->OnChange = [F](TObject* Sender) { F->bsSkinOfficeComboBox2Change(Sender); };
    F->bsSkinOfficeComboBox1->OnChange = [F](TObject* Sender) { F->bsSkinOfficeComboBox1Change(Sender); };
    F->bsSkinComboBox1->OnChange = [F](TObject* Sender) { F->bsSkinComboBox1Change(Sender); };
    F->bsSkinComboBox2->OnChange = [F](TObject* Sender) { F->bsSkinComboBox2Change(Sender); };
    F->bsSkinComboBox3->OnChange = [F](TObject* Sender) { F->bsSkinComboBox3Change(Sender); };
    F->bsSkinComboBox4->OnChange = [F](TObject* Sender) { F->bsSkinComboBox4Change(Sender); };
    F->bsSkinComboBox9->OnChange = [F](TObject* Sender) { F->bsSkinComboBox9Change(Sender); };
    F->bsSkinComboBox10->OnChange = [F](TObject* Sender) { F->bsSkinComboBox10Change(Sender); };
}
