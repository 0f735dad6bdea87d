// Skinned menus as the skinned buttons use them: the popup menu that a menu button opens
// under itself and the images menu (a grid of images) whose current item a button shows.
//
// The menus themselves are windows of the form frame that hosts them.  Until a host is
// found for a menu, opening it does nothing and no close notice is sent; the host is
// looked up through the resolver below, which the form frame installs.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/Menus.h"
#include "platform/graphics/ImgList.h"

class TbsSkinData;
class TCustomForm;
class TbsSkinPopupMenu;

// Delivered to the control that opened a skinned menu when the menu chain closes (no
// parameters): sent to a windowed control, dispatched directly to a windowless one.
constexpr unsigned SkinMenuClosed = 1228;

// Delivers SkinMenuClosed to ACtrl as above (nothing for none).
void bsNotifySkinMenuClosed(TControl* ACtrl);

// What shows a skinned popup menu: the form frame of a form.
class TbsSkinMenuHost {
public:
    virtual ~TbsSkinMenuHost() = default;
    // The skin data of the host, used when the menu has none.
    virtual TbsSkinData* MenuSkinData() = 0;
    // Closes a skinned menu of the host that is still open.
    virtual void CloseSkinMenu() = 0;
    // Shows AMenu's items at R (screen coordinates; below R unless APopupUp) and returns at
    // once; when the menu chain closes the host calls bsNotifySkinMenuClosed(ACtrl).
    virtual void PopupSkinMenu(TbsSkinPopupMenu* AMenu, TControl* ACtrl, const TRect& R, bool APopupUp,
                               TbsSkinData* ASkinData) = 0;
};

// Finds the host of a component (a form or the frame component itself); none by default.
using TbsSkinMenuHostResolver = std::function<TbsSkinMenuHost*(TComponent* AComponent)>;
void bsSetSkinMenuHostResolver(TbsSkinMenuHostResolver AResolver);
TbsSkinMenuHost* bsFindSkinMenuHost(TComponent* AComponent);

// A popup menu drawn by the skin.
class TbsSkinPopupMenu : public TPopupMenu {
public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    // The frame component that hosts the menu, when set.
    TComponent* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TComponent* Value);
    // The form whose frame hosts the menu, when set.
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* Value);

    // Fires OnPopup, finds the hosting frame (SkinComponent, else the frame of ComponentForm,
    // else that of the owner form or of the owner's owner form), takes its skin data when the
    // menu has none, closes a menu of that frame still open and opens this menu's items at R
    // (screen coordinates); returns at once.  Without a host nothing is shown.
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinMenuHost* FindHost() const;
    TbsSkinData* FSD = nullptr;
    TComponent* FSkinComponent = nullptr;
    TCustomForm* FComponentForm = nullptr;
};

class TbsSkinImagesMenu;

// An item of an images menu.
class TbsImagesMenuItem : public TCollectionItem {
public:
    explicit TbsImagesMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    TNotifyEvent OnClick;

private:
    int FImageIndex = -1;
    String FCaption, FHint;
};

class TbsImagesMenuItems : public TCollection {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AMenu);
    TbsImagesMenuItem* Add() { return static_cast<TbsImagesMenuItem*>(TCollection::Add()); }
    TbsImagesMenuItem* Items(int Index) const { return static_cast<TbsImagesMenuItem*>(TCollection::Items(Index)); }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TbsSkinImagesMenu* FMenu;
};

// A menu that shows its items as a grid of images.
class TbsSkinImagesMenu : public TComponent {
public:
    explicit TbsSkinImagesMenu(TComponent* AOwner);
    ~TbsSkinImagesMenu() override;

    TbsImagesMenuItems* Items() const { return FItems.get(); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The item at ItemIndex, or none when ItemIndex is outside the items.
    TbsImagesMenuItem* CurrentItem() const;
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);

    // Hides a grid still open, fires OnMenuPopup and, when Images holds images, remembers
    // ItemIndex and shows the grid at R (screen coordinates); returns at once.
    void PopupFromRect(const TRect& R);
    bool GridVisible() const { return FGridVisible; }
    const TRect& GridRect() const { return FGridRect; }
    // Called by the grid when it closes: FOnInternalMenuClose, OnMenuClose; after a choice
    // (AChosenIndex naming an item) the item's OnClick and OnItemClick, and, when ItemIndex
    // changed, FOnInternalChange and OnChange.
    void CloseGrid(int AChosenIndex = -1);

    TNotifyEvent OnMenuPopup, OnMenuClose, OnItemClick, OnChange;
    // Raised when the selection or the images change (a linked button repaints).
    TNotifyEvent FOnInternalChange;
    // Raised when the grid closes (one handler, set by the button before each popup).
    TNotifyEvent FOnInternalMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsImagesMenuItems;
    void InternalChanged();
    std::unique_ptr<TbsImagesMenuItems> FItems;
    TCustomImageList* FImages = nullptr;
    TbsSkinData* FSD = nullptr;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    bool FGridVisible = false;
    TRect FGridRect;
};
