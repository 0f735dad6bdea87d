#include "app/resources/ProgramSkin.h"

#include "app/resources/ProgramResources.h"

const uint8_t* ProgramSkinBytes() { return vcres::ProgramSkinBytes; }
size_t ProgramSkinSize() { return vcres::ProgramSkinSize; }

void LoadProgramStoredSkin(TbsCompressedStoredSkin* ASkin)
{
    TMemoryStream S;
    S.WriteBuffer(vcres::ProgramSkinBytes, int64_t(vcres::ProgramSkinSize));
    ASkin->LoadFromCompressStream(&S);
}

void InstallProgramSkin(TbsCompressedSkinList* AList)
{
    TbsSkinListItems* Items = AList->Skins();
    TbsSkinListItem* Item = Items->Count() > 0 ? Items->Items(0) : Items->Add();
    LoadProgramStoredSkin(Item->Skin());
    Item->SetDescription("澄枫 清爽蓝");
}

void LoadProgramSkin(TbsSkinData* ASkinData)
{
    TbsCompressedStoredSkin Skin(nullptr);
    LoadProgramStoredSkin(&Skin);
    ASkinData->LoadCompressedStoredSkin(&Skin);
}
