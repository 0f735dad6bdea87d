// The preset routines' boxes over the skinned controls: a category or preset box over a
// skinned office combo box, an option box over a skinned fixed drop-down list.  Every
// form that runs the preset routines binds its controls through these.
#pragma once

#include "app/PresetControls.h"

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
