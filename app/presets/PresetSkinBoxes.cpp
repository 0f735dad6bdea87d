#include "app/presets/PresetSkinBoxes.h"

#include "app/presets/PresetCatalogue.h"

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

int TSkinOptionBox::ItemIndex() const { return FBox->ItemIndex(); }
void TSkinOptionBox::SetItemIndex(int AIndex) { FBox->SetItemIndex(AIndex); }
String TSkinOptionBox::Text() const { return FBox->Text(); }
void TSkinOptionBox::ClearItems() { FBox->Items()->Clear(); }
void TSkinOptionBox::AddItem(const String& AText) { FBox->Items()->Add(AText); }
void TSkinOptionBox::SetEnabled(bool AEnabled) { FBox->SetEnabled(AEnabled); }

int TSkinChoiceBox::ItemIndex() const { return FBox->ItemIndex(); }
void TSkinChoiceBox::SetItemIndex(int AIndex) { FBox->SetItemIndex(AIndex); }
int TSkinChoiceBox::ItemCount() const { return FBox->Items()->Count(); }

String TSkinChoiceBox::ItemCaption(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FBox->Items()->Count()) return String();
    return FBox->Items()->Items(AIndex)->Caption();
}

void TSkinChoiceBox::ClearItems() { FBox->Items()->Clear(); }

void TSkinChoiceBox::AddItem(const String& ACaption, int AImageIndex)
{
    TbsSkinOfficeItem* item = FBox->Items()->Add();
    item->SetCaption(ACaption);
    item->SetImageIndex(AImageIndex);
}

void TSkinChoiceBox::Refresh()
{
    FBox->Invalidate();
    FBox->Repaint();
}

TPresetBindings BindSkinPresetBoxes(TbsSkinCustomOfficeComboBox* ACategory, TbsSkinCustomOfficeComboBox* APreset,
                                    TbsSkinComboBox* const (&AOptions)[PresetOptionCount],
                                    std::unique_ptr<TPresetChoiceBox>& ACategoryBox,
                                    std::unique_ptr<TPresetChoiceBox>& APresetBox,
                                    std::unique_ptr<TPresetOptionBox> (&AOptionBoxes)[PresetOptionCount])
{
    ACategoryBox = std::make_unique<TSkinChoiceBox>(ACategory);
    APresetBox = std::make_unique<TSkinChoiceBox>(APreset);
    for (int o = 0; o < PresetOptionCount; ++o) AOptionBoxes[o] = std::make_unique<TSkinOptionBox>(AOptions[o]);
    TPresetBindings bindings;
    bindings.CategoryBox = ACategoryBox.get();
    bindings.PresetBox = APresetBox.get();
    bindings.Options.Resolution = AOptionBoxes[poResolution].get();
    bindings.Options.VideoBitrate = AOptionBoxes[poVideoBitrate].get();
    bindings.Options.FrameRate = AOptionBoxes[poFrameRate].get();
    bindings.Options.AudioBitrate = AOptionBoxes[poAudioBitrate].get();
    bindings.Options.SampleRate = AOptionBoxes[poSampleRate].get();
    bindings.Options.Aspect = AOptionBoxes[poAspect].get();
    return bindings;
}

void AddPresetCategories(TbsSkinCustomOfficeComboBox* ABox)
{
    for (int i = 0; i < PresetCategoryCount; ++i) {
        TbsSkinOfficeItem* item = ABox->Items()->Add();
        item->SetCaption(PresetCategory(i)->Caption);
        item->SetImageIndex(i);
    }
}
