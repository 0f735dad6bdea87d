// The shell's icons as image list components: the controls draw their items from copies
// of the platform's system image lists (the pictures themselves are shared, never copied).
#include <memory>

#include "platform/graphics/Gdi.h"
#include "platform/graphics/ImgList.h"
#include "platform/shell/ShlObj.h"
#include "skin/shell/bsSkinShellViews.h"

namespace {

// The system list of one size as a component, made on first use (GUI thread only).
TCustomImageList* SystemImages(bool Small)
{
    static std::unique_ptr<TImageList> Lists[2];
    std::unique_ptr<TImageList>& L = Lists[Small ? 1 : 0];
    if (!L) {
        HIMAGELIST Sys = ShellSystemImageList(Small);
        int W = Small ? 16 : 32, H = W;
        ImageList_GetIconSize(Sys, &W, &H);
        L = std::make_unique<TImageList>(nullptr, W, H);
        for (int I = 0; I < ImageList_GetImageCount(Sys); ++I) {
            HICON Icon = ImageList_GetIcon(Sys, I, ILD_NORMAL);
            ImageList_ReplaceIcon(L->Handle(), -1, Icon);
            DestroyIcon(Icon);
        }
    }
    return L.get();
}

}  // namespace

void AssignShellImages(TCustomImageList* Target, bool Small)
{
    if (Target) Target->Assign(SystemImages(Small));
}
