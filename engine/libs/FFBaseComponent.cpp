#include "engine/libs/FFBaseComponent.h"

bool TFFBaseComponent::LoadAVLib(const TPathFileName& APath)
{
    TEngineLoader& L = FFLoader();
    L.SetLibraryPath(APath);
    if (L.Load(FLibraries)) return true;
    FLastErrMsg = L.LastErrMsg();
    return false;
}

bool TFFBaseComponent::AVLibLoaded() const { return FFLoader().Loaded(FLibraries); }

void TFFBaseComponent::UnloadAVLib() { FFLoader().Unload(FLibraries); }
