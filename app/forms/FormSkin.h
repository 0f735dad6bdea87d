// Links every skinned part of a form to one skin data object.
#pragma once

class TComponent;
class TbsSkinData;

// Gives ASkinData to every skinned control, label, list view and form frame owned by
// ARoot, at any depth of ownership.
void LinkFormSkin(TComponent* ARoot, TbsSkinData* ASkinData);
