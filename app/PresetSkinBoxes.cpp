#include "app/PresetSkinBoxes.h"

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
