// Skinned popup menu and images menu as the skinned buttons use them.
#include "skin/bsSkinMenus.h"

#include "platform/forms/Forms.h"
#include "skin/bsSkinData.h"

namespace {
TbsSkinMenuHostResolver& Resolver()
{
    static TbsSkinMenuHostResolver R;
    return R;
}
}  // namespace

void bsNotifySkinMenuClosed(TControl* ACtrl)
{
    if (!ACtrl) return;
    if (auto* W = dynamic_cast<TWinControl*>(ACtrl); W && W->HandleAllocated())
        SendMessage(W->Handle(), SkinMenuClosed, 0, 0);
    else
        ACtrl->Perform(SkinMenuClosed, 0, 0);
}

void bsSetSkinMenuHostResolver(TbsSkinMenuHostResolver AResolver) { Resolver() = std::move(AResolver); }

TbsSkinMenuHost* bsFindSkinMenuHost(TComponent* AComponent)
{
    if (!AComponent || !Resolver()) return nullptr;
    return Resolver()(AComponent);
}

// ---- TbsSkinPopupMenu ---------------------------------------------------------------------

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetSkinComponent(TComponent* Value)
{
    FSkinComponent = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetComponentForm(TCustomForm* Value)
{
    FComponentForm = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FSkinComponent) FSkinComponent = nullptr;
    if (AComponent == FComponentForm) FComponentForm = nullptr;
}

TbsSkinMenuHost* TbsSkinPopupMenu::FindHost() const
{
    if (TbsSkinMenuHost* H = bsFindSkinMenuHost(FSkinComponent)) return H;
    if (TbsSkinMenuHost* H = bsFindSkinMenuHost(FComponentForm)) return H;
    // the owner form, or the owner's owner form (a menu owned by a frame or a control)
    TComponent* O = Owner();
    for (int Level = 0; O && Level < 2; ++Level, O = O->Owner())
        if (dynamic_cast<TCustomForm*>(O))
            if (TbsSkinMenuHost* H = bsFindSkinMenuHost(O)) return H;
    return nullptr;
}

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp)
{
    if (OnPopup) OnPopup(this);
    TbsSkinMenuHost* Host = FindHost();
    if (!Host) return;
    TbsSkinData* SD = FSD ? FSD : Host->MenuSkinData();
    Host->CloseSkinMenu();
    Host->PopupSkinMenu(this, ACtrl, R, APopupUp, SD);
}

// ---- TbsSkinImagesMenu ----------------------------------------------------------------------

void TbsImagesMenuItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsImagesMenuItem::SetCaption(const String& Value)
{
    FCaption = Value;
    Changed(false);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AMenu)
    : TCollection(ItemClass<TbsImagesMenuItem>()), FMenu(AMenu) {}

void TbsImagesMenuItems::Update(TCollectionItem* AItem)
{
    TCollection::Update(AItem);
    FMenu->InternalChanged();
}

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TbsImagesMenuItems>(this)) {}

TbsSkinImagesMenu::~TbsSkinImagesMenu()
{
    FOnInternalChange = nullptr;
    FItems.reset();
}

void TbsSkinImagesMenu::InternalChanged()
{
    if (FOnInternalChange) FOnInternalChange(this);
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    InternalChanged();
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetItemIndex(int Value)
{
    if (FItemIndex == Value) return;
    FItemIndex = Value;
    InternalChanged();
}

TbsImagesMenuItem* TbsSkinImagesMenu::CurrentItem() const
{
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return nullptr;
    return FItems->Items(FItemIndex);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        InternalChanged();
    }
    if (AComponent == FSD) FSD = nullptr;
}

void TbsSkinImagesMenu::PopupFromRect(const TRect& R)
{
    if (FGridVisible) FGridVisible = false;
    if (OnMenuPopup) OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0) return;
    FOldItemIndex = FItemIndex;
    FGridRect = R;
    FGridVisible = true;
}

void TbsSkinImagesMenu::CloseGrid(int AChosenIndex)
{
    if (!FGridVisible) return;
    FGridVisible = false;
    if (FOnInternalMenuClose) FOnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (AChosenIndex < 0 || AChosenIndex >= FItems->Count()) return;
    FItemIndex = AChosenIndex;
    TbsImagesMenuItem* Item = FItems->Items(AChosenIndex);
    if (Item->OnClick) Item->OnClick(Item);
    if (OnItemClick) OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
        if (FOnInternalChange) FOnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}
