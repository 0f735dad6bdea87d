// Menus as data: items with captions, short cuts, checks and groups, and the
// popup menu whose Popup the skin replaces.  No native menu is ever shown.
#pragma once

#include <vector>

#include "platform/forms/Controls.h"

using TShortCut = uint16_t;  // virtual key | scCtrl/scShift/scAlt
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(WORD Key, TShiftState Shift);
String ShortCutToText(TShortCut S);
TShortCut TextToShortCut(const String& Text);

class TMenu;
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int I) const { return FItems.at(size_t(I)); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(TMenuItem* Item) const;
    TMenuItem* Parent() const { return FParent; }
    TMenu* GetParentMenu() const;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& V) { FCaption = V; Changed(); }
    bool IsLine() const { return FCaption == "-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut V) { FShortCut = V; Changed(); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool V) { FEnabled = V; Changed(); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool V) { FVisible = V; Changed(); }
    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool V) { FRadioItem = V; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int V) { FGroupIndex = V; }
    bool Default() const { return FDefault; }
    void SetDefault(bool V) { FDefault = V; Changed(); }
    const String& Hint() const { return FHint; }
    void SetHint(const String& V) { FHint = V; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V) { FImageIndex = V; Changed(); }
    TObject* Bitmap() const { return FBitmap; }  // a TBitmap, not owned here
    void SetBitmap(TObject* V) { FBitmap = V; }
    int Command() const { return FCommand; }
    virtual void Click();
    int MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
    void InitiateAction() {}
    TNotifyEvent OnClick;
    std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, bool Selected)> OnDrawItem;

protected:
    void Changed();
    friend class TMenu;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // the menu of a root item
    String FCaption, FHint;
    TShortCut FShortCut = 0;
    bool FEnabled = true, FVisible = true, FChecked = false, FRadioItem = false, FDefault = false;
    int FGroupIndex = 0, FImageIndex = -1, FCommand = 0;
    TObject* FBitmap = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    TComponent* Images() const { return FImages; }
    void SetImages(TComponent* V);
    bool AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(bool V) { FAutoLineReduction = V; }
    // Hides separators that lead, trail or double (with AutoLineReduction); true when any changed.
    bool RethinkLines();
    bool IsShortCut(TMessage& Message);
    bool DispatchCommand(int Command);
    TMenuItem* FindItem(int Command) const;
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND V) { FWindowHandle = V; }
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TMenuItem* FItems;
    TComponent* FImages = nullptr;
    bool FAutoLineReduction = true;
    HWND FWindowHandle = nullptr;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
    // Shows the menu at the screen point: the skin's menus replace this; here it only
    // raises OnPopup.
    virtual void Popup(int X, int Y);
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* V) { FPopupComponent = V; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool V) { FAutoPopup = V; }
    TPoint PopupPoint() const { return FPopupPoint; }
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TComponent* FPopupComponent = nullptr;
    bool FAutoPopup = true;
    TPoint FPopupPoint{-1, -1};
};
