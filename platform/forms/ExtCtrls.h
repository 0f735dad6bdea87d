// Panels, bevels, images and radio groups.
#pragma once

#include <memory>

#include "platform/forms/BevelTypes.h"
#include "platform/forms/StdCtrls.h"

// A frame or line drawn in the button shadow and highlight colours.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape V);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle V);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// A picture on the parent: drawn at its size, centred or stretched; a bitmap picture
// shows its transparent colour as holes when Transparent.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture* Picture() { return FPicture.get(); }
    void SetPicture(TPicture* V) { FPicture->Assign(V); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool V);
    bool Center() const { return FCenter; }
    void SetCenter(bool V);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool V);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V);
    void SetAutoSize(bool V) override;
    // The rectangle the picture takes in the control.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false;
};

// Scoped, since the skinned panel's border styles use the same names.
enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;

// A container that paints its colour, bevels and caption.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel V);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel V);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth V);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int V);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle V);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool V);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool V) { FFullRepaint = V; }
    void AdjustClientRect(TRect& Rect) override;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TPanelBevel FBevelInner = TPanelBevel::bvNone, FBevelOuter = TPanelBevel::bvRaised;
    TBevelWidth FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    bool FShowCaption = true, FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// A frame with a caption holding one radio button per item, in columns.
class TCustomRadioGroup : public TCustomControl {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* V) { FItems->Assign(V); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int V);
    int Columns() const { return FColumns; }
    void SetColumns(int V);
    TRadioButton* Buttons(int I) const { return FButtons.at(size_t(I)); }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClick(TObject* Sender);
    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};
