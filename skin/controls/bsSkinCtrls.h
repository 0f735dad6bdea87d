// Skinned windowed controls: the two bases every windowed skinned control derives from,
// and the basic controls built on them.
//
// A skinned control links to a skin data object (SkinData) and finds its record there by
// name (SkinDataName) on every paint and every skin change.  Without skin data, with an
// empty skin or with a name the skin does not hold, it draws a built-in default look.
// It paints through an off-screen bitmap and never erases its background.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/ActnList.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"
#include "skin/core/bsEffects.h"
#include "skin/core/bsSkinData.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

class TbsSkinToolBar;

// Sent by containers to their children when the background behind them changed (no
// parameters): SendMessage to windowed children, a direct dispatch to graphic ones.
constexpr unsigned ParentBackgroundChanged = 1284;
// Posted by a skinned button to itself to show and to hide its glow frame.
constexpr unsigned ShowButtonLayer = 1424;
constexpr unsigned HideButtonLayer = 1425;

// The fixed colours of the default looks.
constexpr TColor bsDefaultFrameColor = RGB(59, 107, 183);
constexpr TColor bsDefaultHotColor = RGB(193, 212, 243);
constexpr TColor bsDefaultDownColor = RGB(162, 188, 228);

// Sends ParentBackgroundChanged to every child of AParent.
void bsNotifyChildrenParentBackground(TWinControl* AParent);
// Fills Area of C with Piece: stretched (whole, in columns or in rows by Type) or tiled from
// Area's top-left corner, the last column and row running past Area's edges.
void bsFillWithPiece(TCanvas* C, TBitmap* Piece, const TRect& Area, bool Stretch, TbsStretchType Type);
// Dest := the part R of Picture (Dest takes R's size; nothing copied without a picture).
void bsCopyPicturePart(TBitmap* Dest, TBitmap* Picture, const TRect& R);
// One of the 12-pixel scroll buttons that scrolling containers (tool bar, ribbon and
// application menu pages) keep in their non-client area, drawn at R of C: from the button
// record D over its picture Pic grown to R's size (the down, normal or hot part), or
// without them in the default palette; then the arrow of kind ArrowKind (DrawArrowImage).
// Pressed: the button is hot and pressed (or hot while hot-scrolling).
void bsDrawScrollButton(TCanvas* C, const TRect& R, bool MouseIn, bool Pressed, const TbsDataSkinButtonControl* D,
                        TBitmap* Pic, int ArrowKind);

// ---------------------------------------------------------------------------------------
// The windowed bases
// ---------------------------------------------------------------------------------------

// A windowed control linked to a skin.  FIndex is the position of its record in the
// skin's control list, -1 while unskinned.
class TbsSkinControl : public TCustomControl {
public:
    explicit TbsSkinControl(TComponent* AOwner);
    ~TbsSkinControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Stores the link; reads the skin at once when it is loaded (not Empty).
    virtual void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    // Stores the name; the record is looked up on the next paint or skin change.
    virtual void SetSkinDataName(const String& Value);
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& Value) { FHintTitle = Value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value);

    // The skin operations, in the order of their slots.
    virtual void GetSkinData();
    virtual void CreateControlDefaultImage(TBitmap* B);
    virtual void CreateControlSkinImage(TBitmap* B);
    virtual void ChangeSkinData();
    virtual void BeforeChangeSkinData();
    virtual void AfterChangeSkinData() {}
    virtual void CheckParentBackground() {}

    bool Skinned() const { return FIndex != -1; }
    // Paints the whole control into DC (a WM_ERASEBKGND outside WM_PAINT).
    void PaintControlTo(HDC DC);
    // A left press on a control that is not focused first moves the focus to it (command
    // notifications meanwhile are dropped); false when the press is to be dropped because
    // the control did not get the focus.
    bool FocusBeforeClick();
    // Whether the control is being designed (never at run time of the program).
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    void NotifyChildrenParentBackground() { bsNotifyChildrenParentBackground(this); }

    void Dispatch(TMessage& Message) override;

    // True while the control handles WM_PAINT.
    bool FromWMPaint = false;
    int FIndex = -1;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TbsSkinData* FSD = nullptr;
    String FSkinDataName;
    HRGN FRgn = nullptr;
    String FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

// A skinned control whose size and window shape follow its skin picture: the record's
// nine-piece picture is rebuilt at any size and the window region is cut from its mask.
class TbsSkinCustomControl : public TbsSkinControl {
public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    ~TbsSkinCustomControl() override;

    bool ForceBackground() const { return FForceBackground; }
    void SetForceBackground(bool Value) { FForceBackground = Value; }
    bool DrawBackground() const { return FDrawbackground; }
    void SetDrawBackground(bool Value) { FDrawbackground = Value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return NewClRect.Width(); }
    int RealClientHeight() const { return NewClRect.Height(); }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    virtual void DefaultFontChanged() {}
    virtual void CalcSize(int& AWidth, int& AHeight);
    virtual void SetControlRegion();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The image of the source rectangle R of APicture at the control's size, by ResizeMode.
    void BuildSkinImage(TBitmap* B, TBitmap* APicture, const TRect& R);
    // Maps a rectangle given in the coordinates of SkinRect to the control's current size.
    TRect TranslateSkinRect(const TRect& R) const;
    // The window region last given to the window (none without).
    HRGN WindowRegion() const { return FRgn; }

    // The record as copied, and its geometry at the current size.
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect, ClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    TBitmap* Picture = nullptr;
    TBitmap* MaskPicture = nullptr;
    // -1 no usable image, 0 fixed size, 1 resizable both ways, 2 horizontally, 3 vertically.
    int ResizeMode = -1;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

protected:
    void Paint() override;
    void CreateWnd() override;
    void BuildControlRegion();
    // Inside a tool bar that adjusts its controls, ATop centres the control vertically.
    void CenterInToolBar(int& ATop, int AHeight);
    // Draws the four frame strips and the client background straight onto the canvas.
    void PaintForcedBackground();
    // The font of the default look (or, with UseSkinFont off, of the skinned look) into C,
    // with the character set of the skin's interface strings when it has some.
    void ApplyDefaultFont(TCanvas* C);
    void ApplyCharset(TCanvas* C);
    bool CanSkinEffects() const;

    bool FForceBackground = false;
    bool FDrawbackground = true;
    int FDefaultWidth = 0, FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;

private:
    void DefaultFontChange(TObject*);
    static int GetResizeMode(const TRect& SkinRect, TPoint RTPt, TPoint LBPt, TPoint RBPt);
};

// ---------------------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------------------

using TbsButtonPaintEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown, bool AMouseIn, bool& DrawDefault)>;
using TbsNumGlyphs = int;  // 1 .. 4

// A timer that runs a handler every Interval ms while started; stopping it from inside its
// own handler is safe.
class TbsTicker {
public:
    TbsTicker(TComponent* AOwner, std::function<void()> AOnTick);
    ~TbsTicker();
    void Start(unsigned Interval);
    void SetInterval(unsigned Interval);
    void Stop();
    bool Running() const;

private:
    TTimer* FTimer;
    std::function<void()> FOnTick;
};

// The skinned push button: caption with a glyph or an image, dialog roles, groups with a
// Down state, auto-repeat, morphing, frame animation and a glow frame.
class TbsSkinButton : public TbsSkinCustomControl {
public:
    explicit TbsSkinButton(TComponent* AOwner);
    ~TbsSkinButton() override;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
    void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowGlowFrame = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsNumGlyphs Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TbsSkinImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TbsSkinImagesMenu* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value);
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value);
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    bool Active() const { return FActive; }
    bool MorphRunning() const { return MorphTimer && MorphTimer->Running(); }
    bool Animating() const { return AnimateTimer && AnimateTimer->Running(); }
    bool Repeating() const { return RepeatTimer && RepeatTimer->Running(); }
    TbsLayerManager* LayerManager() const { return FLayerManager; }

    // OnClick (TControl's) is the button's own click event.
    TbsButtonPaintEvent OnPaint;

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void CheckParentBackground() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    // The one click path: ModalResult to the form, then OnClick or the linked action.
    virtual void ButtonClick();
    // The linked action (null when none or freed): a click runs it, a change of it
    // updates the button's caption, enabled, visible and, with no glyph, its image.
    TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TBasicAction* Value);
    void RefreshButton();
    void ShowLayer();
    void HideLayer();

    void Dispatch(TMessage& Message) override;

    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect, AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1, GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0;
    int GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0, GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 0;

protected:
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
    std::unique_ptr<TControlActionLink> FActionLink;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

    bool CanAnimate() const { return CanSkinEffects(); }
    bool CanMorph() const { return Morphing && CanAnimate(); }
    bool IsFocused() const { return FCanFocused && const_cast<TbsSkinButton*>(this)->Focused(); }
    bool CanAnimateFrames() const { return FIndex != -1 && CanAnimate() && !AnimateSkinRect.IsEmpty(); }
    bool LookChanges() const;
    void DoMorph();
    void MorphTick();
    void StopMorph();
    void StartAnimate(bool AInc);
    void StopAnimate();
    void AnimateTick();
    TRect GetAnimateFrameRect() const;
    void StartRepeat();
    void StopRepeat();
    void RepeatTick();
    void ReleaseGroup();
    int GetGlyphNum(bool ADown, bool AMouseIn) const;
    // The font of the skinned look (record or DefaultFont) into C.
    void ApplySkinFont(TCanvas* C);
    // Font, text colour and (with ShowFocus) the focus rectangle around FocusArea of the
    // skinned looks: disabled, pressed, hot or normal.
    void ApplySkinTextStyle(TCanvas* C, bool APressed, bool AMouseIn, const TRect& FocusArea);
    // Step 7 of the looks: images menu item, image-list image or glyph, with the caption.
    void DrawButtonContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, bool AHideCaption = false);
    void FrameAndFill(TCanvas* C, const TRect& R, int Look);  // 0 normal, 1 hot, 2 pressed
    bool GlowPossible() const;
    void PostLayer(unsigned Msg);

    bool FTransparent = false;
    bool FCheckedMode = false;
    bool FStopMouseUp = false;
    bool FDownState = false;
    bool FAlwaysShowGlowFrame = false;
    TbsLayerManager* FLayerManager = nullptr;
    std::unique_ptr<TbsTicker> AnimateTimer;
    int CurrentFrame = 0;
    bool AnimateInc = false;
    TbsSkinImagesMenu* FSkinImagesMenu = nullptr;
    bool FUseImagesMenuImage = false, FUseImagesMenuCaption = false;
    bool FSpaceSupport = true;
    bool FUseSkinFontColor = true;
    bool FUseSkinSize = true;
    std::unique_ptr<TbsTicker> RepeatTimer;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FRepeatFirst = false;
    bool FActive = false;
    bool FAllowAllUp = false, FAllowAllUpCheck = false;
    bool FDefault = false, FCancel = false;
    TModalResult FModalResult = 0;
    bool FCanFocused = true;
    bool FDown = false, FMouseIn = false, FMouseDown = false;
    int FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1, FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    std::unique_ptr<TbsTicker> MorphTimer;
    double FMorphKf = 0;
    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
};

// A skinned button that drops down a skinned popup menu and/or an images menu.
class TbsSkinMenuButton : public TbsSkinButton {
public:
    explicit TbsSkinMenuButton(TComponent* AOwner);

    TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    bool MenuTracked() const { return FMenuTracked; }
    TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    virtual bool CanMenuPopup(int X, int Y);
    virtual void TrackMenu();
    void DropDown();
    // The part of the button that opens the menu in track-button mode.
    TRect GetTrackButtonRect() const;

    void Dispatch(TMessage& Message) override;

    TRect TrackButtonRect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;
    void MenuClosed(bool FromPopupMenu);
    void DrawMenuFace(TBitmap* B, bool Resizable, bool ADown, bool AMouseIn);
    void DrawMenuMarker(TCanvas* C, const TRect& Area, bool AMouseIn, bool APressed);

    bool FTrackButtonMode = false;
    TbsSkinPopupMenu* FSkinPopupMenu = nullptr;
    bool FMenuTracked = false;
};

// ---------------------------------------------------------------------------------------
// Panels
// ---------------------------------------------------------------------------------------

enum TbsImagePosition { bsipDefault, bsipLeft };
enum TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
using TbsSkinPanelNumGlyphs = int;  // 1 .. 2
using TbsPaintPanelEvent = std::function<void(TCanvas* Cnvs, TRect R)>;

// The skinned container: a resizable skin frame around a client area, with an optional
// caption band (text, image, check box, roll-up arrow), roll-up, checked and transparent modes.
class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(TComponent* AOwner);
    ~TbsSkinPanel() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool EmptyDrawing() const { return FEmptyDrawing; }
    void SetEmptyDrawing(bool Value) { FEmptyDrawing = Value; }
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool Value);
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition Value);
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool Value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TbsSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsSkinPanelNumGlyphs Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    int RealHeight() const { return FRealHeight; }
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool Value);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* Value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int Value);
    TNotifyEvent OnChecked, OnChangeRollUpState;

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    virtual void DoPanelPaint(TCanvas*) {}
    void DoRollUp(bool ARollUp);
    void GetSkinClientRect(TRect& R);
    TRect SkinClientRect()
    {
        TRect R;
        GetSkinClientRect(R);
        return R;
    }
    void PaintskinTo(TCanvas* C, int X, int Y);

    void Dispatch(TMessage& Message) override;

    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TAlignment Alignment = taLeftJustify;
    TRect CaptionRect;
    int BGPictureIndex = -1;
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    TRect NewCaptionRect;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DrawSkinCaption(TCanvas* C);
    void PaintTransparentGroup(TBitmap* B);
    void ApplyCaptionFont(TCanvas* C);
    TColor SkinColor(TColor TbsSkinColors::* Field, TColor Fallback) const;

    bool FUseSkinSize = true;
    bool FEmptyDrawing = false;
    bool FRibbonStyle = false;
    bool FInChangingRollUp = false;
    TbsImagePosition FImagePosition = bsipDefault;
    bool FTransparentMode = false;
    int FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
    bool FConstraintsSaved = false;
    // the children that the roll-up hid, and only these, are shown again on rolling down
    std::vector<TControl*> FRolledUpChildren;
    void RestoreConstraints();
    bool FCheckedMode = false, FChecked = false;
    std::unique_ptr<TBitmap> FGlyph;
    TbsSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    int FRealHeight = -1;
    bool FRollUpState = false, FRollUpMode = false, FCaptionMode = false;
    TbsSkinBorderStyle FBorderStyle = bvFrame;
    int FDefaultCaptionHeight = 20;
    TAlignment FDefaultAlignment = taLeftJustify;
    bool FAutoEnabledControls = true;
    TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
};

// A panel whose owner paints into the client area.
class TbsSkinPaintPanel : public TbsSkinPanel {
public:
    explicit TbsSkinPaintPanel(TComponent* AOwner);
    TbsPaintPanelEvent OnPanelPaint;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DoPanelPaint(TCanvas* C) override;
    void Dispatch(TMessage& Message) override;

private:
    void FirePanelPaint(TCanvas* C);
};

// A panel with its caption on, read from the "groupbox" record.
class TbsSkinGroupBox : public TbsSkinPanel {
public:
    explicit TbsSkinGroupBox(TComponent* AOwner);
    void GetSkinData() override;

private:
    bool FBackgroundOffBySkin = false;
};

// ---------------------------------------------------------------------------------------
// Check and radio boxes
// ---------------------------------------------------------------------------------------

// The skinned check box and radio button: unchecked, checked and grayed states, groups by
// GroupIndex, morphing; a flat box keeps its size and draws over its parent's background.
class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Radio() const { return FRadio; }
    void SetRadio(bool Value);
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    // OnClick (TControl's) is the box's own click event.

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void CheckParentBackground() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    virtual void ToggleChecked();
    void PaintSkinTo(TCanvas* C, int X, int Y, bool AChecked);
    // The linked action (null when none or freed): a click runs it, a change of it
    // updates the box's caption, enabled, visible and Checked.
    TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TBasicAction* Value);

    void Dispatch(TMessage& Message) override;

    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect, ActiveCheckImageRect;
    TRect ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect;
    TRect ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect CIRect, NewTextArea;

protected:
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
    // The box's click: OnClick or the linked action; nothing while the action itself
    // sets Checked, so an action's change never runs the action again.
    void DoClick();
    std::unique_ptr<TControlActionLink> FActionLink;
    bool FActionChanging = false;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool IsFocusedBox() const { return FCanFocused && const_cast<TbsSkinCheckRadioBox*>(this)->Focused(); }
    bool CanMorph() const { return Morphing && CanSkinEffects(); }
    void DoMorph();
    void MorphTick();
    // The check image of the current state into Img (empty when the skin has none).
    void GetCheckImage(TBitmap* Img, bool Hot);
    void DrawSkinLook(TBitmap* B, const TRect& Src, bool Hot);
    void DrawFlatLook(TBitmap* B, bool ForPaintTo);
    void DrawCheckBoxMarks(TCanvas* C, bool Hot, bool Fill, bool Grayed);

    bool FDown = false;
    bool FUseSkinFontColor = true;
    bool FWordWrap = false;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = 0;
    bool FFlat = true;
    bool FCanFocused = true;
    bool FMouseIn = false;
    int FGroupIndex = 0;
    bool FChecked = false;
    bool FRadio = false;
    std::unique_ptr<TbsTicker> MorphTimer;
    double FMorphKf = 0;
};

// ---------------------------------------------------------------------------------------
// Scroll bar
// ---------------------------------------------------------------------------------------

enum TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar drawn entirely by the skin (or the default look): a track with a thumb and
// two arrow buttons, with a range, a page, auto-repeat, thumb dragging and optional focus.
class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    struct TPart {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };

    explicit TbsSkinScrollBar(TComponent* AOwner);
    ~TbsSkinScrollBar() override;

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    void SimplySetPosition(int Value);
    void SetRange(int AMin, int AMax, int APageSize, int APosition);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    bool Both() const { return FBoth; }
    void SetBoth(bool Value);
    const String& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const String& Value) { FBothSkinDataName = Value; }
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick, OnLastChange, OnPageUp, OnPageDown;

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(int& AWidth, int& AHeight) override;
    // Lays out the track, the buttons and the thumb for the current size and position.
    void CalcThumbLayout();

    void Dispatch(TMessage& Message) override;

    TPart Buttons[3];  // thumb, up button (increases Position), down button (decreases it)
    TRect NewTrackArea;
    int Offset1 = 0, Offset2 = 0, BOffset = 0;
    int TimerMode = 0;  // 0 none, 1 down button, 2 up button, 3 page up, 4 page down
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    bool Dragging() const { return FDown; }

    // Copied from the record.
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect;
    TRect DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0, ThumbMinPageSize = 0;
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool Horizontal() const { return FKind == sbHorizontal; }
    int ClampPosition(int Value) const;
    void ButtonAction(int Part);
    void UpdateHotPart(int X, int Y);
    int PartAt(int X, int Y) const;
    void StartTimer(unsigned Interval);
    void StopTimer();
    void TimerTick();
    void DrawDefaultPart(TCanvas* C, int Part);
    void DrawSkinButton(TCanvas* C, int Part);
    void DrawSkinThumb(TCanvas* C);
    bool BeforeThumb(int X, int Y) const;

    String FNormalSkinDataName, FBothSkinDataName = "bothhscrollbar";
    bool FDown = false;
    int OMPos = 0, OldPosition = 0, FScrollWidth = 0, OldBOffset = 0;
    int MX = 0, MY = 0;
    bool MouseD = false, WaitMode = false;
    int FBothMarkerWidth = 19;
    bool FCanFocused = false;
    int FMin = 0, FMax = 100, FSmallChange = 1, FLargeChange = 1, FPosition = 0;
    TScrollBarKind FKind = sbHorizontal;
    int FPageSize = 0;
    bool FBoth = false;
};

// Links an external skinned scroll bar to AOwner's Field: the bar Field named before is
// let go (its OnChange cleared); Value gets AOwner's free notification, starts enabled
// and hidden (the owner shows it when its content needs it), and calls OnChange.
void bsLinkScrollBar(TComponent* AOwner, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, TNotifyEvent OnChange);

// ---------------------------------------------------------------------------------------
// Office items, office list box and office combo box
// ---------------------------------------------------------------------------------------

class TbsSkinOfficeListBox;
using TbsDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, int Index, TRect TextRct)>;

// An item of an office list: bold title, caption, image, check box, header flag.
class TbsSkinOfficeItem : public TCollectionItem {
public:
    explicit TbsSkinOfficeItem(TCollection* ACollection);

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    const String& Title() const { return FTitle; }
    virtual void SetTitle(const String& Value);
    const String& Caption() const { return FCaption; }
    virtual void SetCaption(const String& Value);
    void* Data() const { return FData; }
    virtual void SetData(void* Value) { FData = Value; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Header() const { return FHeader; }
    virtual void SetHeader(bool Value);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnClick;

    TRect ItemRect;
    bool IsVisible = false;
    bool Active = false;

private:
    int FImageIndex = -1;
    String FTitle, FCaption;
    bool FEnabled = true;
    void* FData = nullptr;
    bool FHeader = false;
    bool FChecked = false;
};

class TbsSkinOfficeItems : public TCollection {
public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);
    TbsSkinOfficeItem* Items(int Index) const { return static_cast<TbsSkinOfficeItem*>(TCollection::Items(Index)); }
    TbsSkinOfficeItem* Add();
    TbsSkinOfficeItem* Insert(int Index);
    TPersistent* GetOwner() override;
    TbsSkinOfficeListBox* OfficeListBox;

protected:
    void Update(TCollectionItem* AItem) override;
};

// A skinned list of office items that scrolls by pixels with its own skinned scroll bar.
class TbsSkinOfficeListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinOfficeListBox(TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;

    TbsSkinOfficeItems* Items() const { return FItems.get(); }
    void SetItems(TbsSkinOfficeItems* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool ShowCheckBoxes() const { return FShowCheckBoxes; }
    void SetShowCheckBoxes(bool Value);
    bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
    void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    bool HeaderLeftAlignment() const { return FHeaderLeftAlignment; }
    void SetHeaderLeftAlignment(bool Value);
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    int ScrollOffset() const { return FScrollOffset; }
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar; }
    const TRect& ItemsRect() const { return FItemsRect; }
    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnItemClick, OnItemCheckClick;

    void BeginUpdateItems();
    void EndUpdateItems();
    // The items changed: repaint and update the scroll bar (once the current message is done).
    void ItemsChanged();
    int CalcHeight(int AItemCount);
    void CalcItemRects();
    void Scroll(int AScrollOffset);
    void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
    void ScrollToItem(int Index);
    void ShowScrollbar();
    void HideScrollBar();
    void UpdateScrollInfo();
    void AdjustScrollBar();
    int ItemAtPos(int X, int Y);
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();
    // Moves the highlight without events (as the mouse does).
    void SetItemActive(int Index);
    // Moves the highlight to the previous (ADir < 0) or next selectable item, without events.
    void MoveHighlight(int ADir);

    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DrawItem(int Index, TCanvas* Cnvs);
    void SkinDrawItem(int Index, TCanvas* Cnvs);
    void DefaultDrawItem(int Index, TCanvas* Cnvs);
    void SkinDrawHeaderItem(int Index, TCanvas* Cnvs);
    void DrawItemContent(TCanvas* C, int Index, TRect R, bool Highlighted, TColor MarkColor, int CheckOffset);
    void DrawItems(TCanvas* C);
    void SBChange(TObject*);
    TRect ItemsArea();
    int SelectableFrom(int Start, int Step, int Stop);

    static constexpr UINT OfficeItemsChanged = WM_APP + 0x0140;
    bool FUpdatePosted = false;
    int FCheckOffset = 0;
    bool FShowCheckBoxes = false;
    bool FInUpdateItems = false;
    bool FMouseMoveChangeIndex = false;
    TColor FDisabledFontColor = 0x808080;
    bool FShowLines = false;
    bool FMouseDown = false;
    int FMouseActive = -1;
    int FMax = 0, FRealMax = 0;
    TRect FItemsRect;
    int FScrollOffset = 0;
    std::unique_ptr<TbsSkinOfficeItems> FItems;
    TCustomImageList* FImages = nullptr;
    bool FShowItemTitles = true;
    int FItemHeight = 30, FHeaderHeight = 20;
    int FOldHeight = -1;
    TbsSkinScrollBar* FScrollBar = nullptr;
    int FItemIndex = -1;
    bool FHeaderLeftAlignment = false;
    String FItemSkinDataName = "listbox", FHeaderSkinDataName = "menuheader";
};

// The office list as a pop-up window (the drop-down of the office combo box).
class TbsPopupOfficeListBox : public TbsSkinOfficeListBox {
public:
    explicit TbsPopupOfficeListBox(TComponent* AOwner);
    // Shows the window at Origin (screen coordinates) without activating it.
    void Show(TPoint Origin);
    void Hide();
    void Dispatch(TMessage& Message) override;
    uint8_t AppliedAlpha() const { return FOldAlphaBlendValue; }
    // The opacities of the last fade-in, in order.
    std::vector<uint8_t> FadeSteps;

protected:
    void CreateParams(TCreateParams& Params) override;
    bool FOldAlphaBlend = false;
    uint8_t FOldAlphaBlendValue = 255;
};

struct TbsCBItem {
    TRect R;
    bool Focused = false;  // the owner-draw state: focused or empty
};
struct TbsCBButtonX {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

// A skinned drop-down picker of office items; the drop-down is a pop-up office list that
// may fade in with layered-window alpha.
class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(TbsSkinOfficeItems* Value) { FListBox->SetItems(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value) { FListBox->SetImages(Value); }
    TbsPopupOfficeListBox* ListBox() const { return FListBox; }
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    int ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(int Value) { FListBoxHeight = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    // The drop-down list's own settings.
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
    int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }
    bool ListBoxHeaderLeftAlignment() const { return FListBox->HeaderLeftAlignment(); }
    void SetListBoxHeaderLeftAlignment(bool Value) { FListBox->SetHeaderLeftAlignment(Value); }
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
    const String& ListBoxSkinDataName() const { return FListBox->SkinDataName(); }
    void SetListBoxSkinDataName(const String& Value) { FListBox->SetSkinDataName(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    bool DroppedDown() const { return FDropDown; }
    const TbsCBButtonX& Button() const { return FButton; }
    const TbsCBItem& CBItem() const { return FCBItem; }
    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnChange, OnCloseUp, OnDropDown;  // OnClick is TControl's

    virtual void Change();
    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const { return FListBox->Visible(); }
    bool CanCancelDropDown();
    void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
    void EndUpdateItems() { FListBox->EndUpdateItems(); }
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChanged() override;
    void CalcSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;
    void Dispatch(TMessage& Message) override;

    // Copied from the "combobox" record.
    TRect ActiveSkinRect, SItemRect, FocusItemRect, ActiveItemRect, ItemTextRect, ButtonRect, ActiveButtonRect;
    TRect DownButtonRect, UnEnabledButtonRect;
    TColor ActiveFontColor = 0, FontColor = 0, FocusFontColor = 0;
    String FontName, ListBoxName;
    TFontStyles FontStyle;
    int FontHeight = 0, ItemLeftOffset = 0, ItemRightOffset = 0;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

protected:
    friend class TbsPopupOfficeListBox;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void CalcRects();
    void ListWindowProc(TMessage& M);
    void TrackPointer(int X, int Y);
    void StopAutoScroll();
    void DrawShownItem(TCanvas* C, TRect R, int Index);
    int ShownIndex() const;
    void DrawButtonPart(TCanvas* C);
    TbsDataSkinButtonControl* FindButtonRecord(std::initializer_list<const char*> Names) const;

    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    int FDropDownCount = 7;
    bool FDropDown = false;
    bool FToolButtonStyle = false;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = false;
    bool WasInLB = false;
    int TimerMode = 0;
    int FListBoxWidth = 0, FListBoxHeight = 0;
    bool FHideSelection = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 255;
    bool FMouseIn = false;
    int FOldItemIndex = -1;
    bool FLBDown = false;
    TbsPopupOfficeListBox* FListBox = nullptr;
    TWndMethod FListBoxWindowProc;
    TbsCBItem FCBItem;
    TbsCBButtonX FButton;
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
};

// ---------------------------------------------------------------------------------------
// Tool bar and status bar
// ---------------------------------------------------------------------------------------

// A panel that holds tool buttons in a row and centres its children vertically; it hands its
// skin, flat style and image lists to its speed buttons and, with CanScroll, shows two
// 12-pixel scroll buttons in its non-client area when its content is wider than itself.
class TbsSkinToolBar : public TbsSkinPanel {
public:
    // Hit-test codes of the left and right scroll buttons.
    static constexpr int HTSCROLLLEFT = 119, HTSCROLLRIGHT = 120;
    static constexpr int ScrollButtonSize = 12;
    struct TScrollButton {
        TRect R;  // window coordinates
        bool MouseIn = false, Down = false, Visible = false;
    };

    explicit TbsSkinToolBar(TComponent* AOwner);

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool Value) { FAdjustControls = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int Value);
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool Value) { FHotScroll = Value; }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int Value) { FWidthWithCaptions = Value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int Value) { FWidthWithoutCaptions = Value; }

    void SetSkinData(TbsSkinData* Value) override;
    void SetSkinDataName(const String& Value) override;
    void GetSkinData() override;
    void CreateControlSkinImage(TBitmap* B) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    // Centres the children that do not centre themselves (Align alNone, not skinned).
    void CenterChildren();
    // Shows the scroll buttons when the visible children reach past the client area.
    void UpdateScrollInfo();
    // One scroll step to the right or to the left.
    void ScrollStep(bool ToRight);
    void ShowScrollButtons(bool Value);

    TScrollButton Buttons[2];  // left, right
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    int TimerMode = 0;  // 0 none, 1 scrolling left, 2 scrolling right
    bool MouseTracking() const { return FMouseIn; }
    bool ScrollTimerRunning() const { return FScrollTimer; }
    TbsDataSkinButtonControl* ButtonData = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MoveChildren(int DX);
    void UpdateButtonRects();
    void PaintScrollButtons();
    void DrawScrollButton(TCanvas* C, int Index);
    void StartScrollTimer();
    void StopScrollTimer();
    void ClearHot();

    bool FAdjustControls = true;
    bool FMouseIn = false;
    bool FCanScroll = false;
    bool FHotScroll = false;
    bool FScrollTimer = false;
    int FHSizeOffset = 0;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
    bool FAutoShowHideCaptions = false, FShowCaptions = false;
    int FWidthWithCaptions = 0, FWidthWithoutCaptions = 0;
};

// A bottom-aligned panel with an optional size grip.
class TbsSkinStatusBar : public TbsSkinPanel {
public:
    explicit TbsSkinStatusBar(TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value);
    void SetSkinData(TbsSkinData* Value) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void AdjustClientRect(TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    // The grip's rectangle.
    TRect GripRect();

    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void DrawGrip(TCanvas* C);
    bool FSizeGrip = false;
    bool FShowGrip = true;
};

// The diagonal lines of a size grip in G.
void bsDrawSizeGrip(TCanvas* C, const TRect& G, TColor Light, TColor Shadow);

// ---------------------------------------------------------------------------------------
// Tree view and list view
// ---------------------------------------------------------------------------------------

// Asks a skinned list view to paint its column header into the device context in WParam.
constexpr unsigned PaintHeaderToDC = 0xB1CA;

// The platform's tree view without border and native scroll bars: two external skinned scroll
// bars follow it, its colours and font come from the skin record "treeview" and, with
// DrawSkin, its items are painted here (fading lines, skinned expand buttons, a selection bar
// from the item pictures of the "listbox" record).
class TbsSkinCustomTreeView : public TCustomTreeView {
public:
    explicit TbsSkinCustomTreeView(TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool Value);
    TCustomImageList* ButtonImageList() const { return FButtonImageList; }
    void SetButtonImageList(TCustomImageList* Value);
    int ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
    void SetButtonExpandImageIndex(int Value) { FButtonExpandImageIndex = Value; }
    int ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
    void SetButtonNoExpandImageIndex(int Value) { FButtonNoExpandImageIndex = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TColor LineColor() const { return FLineColor; }
    TColor ButtonColor() const { return FButtonColor; }
    // Half the size of an expand button as the painter uses it now.
    int ButtonSize() const;
    // The button pictures cut from the skin (empty without).
    TBitmap* ExpandImage() const { return FExpandImage.get(); }
    TBitmap* NoExpandImage() const { return FNoExpandImage.get(); }

    virtual void ChangeSkinData();
    void UpDateScrollBars();
    void Loaded() override;
    bool Skinned() const { return FIndex != -1; }
    // A line of length |X2 - X1| in Color fading out over its second half, drawn from X1.
    static void DrawFadedLine(TCanvas* C, int X1, int X2, int Y, TColor Color);

    int FIndex = -1;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void CNNotify(TMessage& Message) override;
    void SkinDrawItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                      bool& PaintImages, bool& DefaultDraw);
    void DrawLinesAndButton(TCanvas* C, TTreeNode* Node, const TRect& R);
    void DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R);
    int LevelLeft(TTreeNode* Node, int ScrollX);
    void VScrollChange(TObject*);
    void HScrollChange(TObject*);

    std::unique_ptr<TBitmap> FExpandImage, FNoExpandImage;
    HIMAGELIST FThirdImages = nullptr;
    int FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
    TCustomImageList* FButtonImageList = nullptr;
    int FButtonNoExpandImageIndex = 0, FButtonExpandImageIndex = 1;
    String FItemSkinDataName = "listbox";
    String FCheckSkinDataName = "checkbox";
    TColor FLineColor = RGB(128, 128, 128), FButtonColor = RGB(128, 128, 128);
    int FButtonSize = 5;
    bool FDrawSkin = false;
    bool FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "treeview";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
public:
    using TbsSkinCustomTreeView::TbsSkinCustomTreeView;
};

class TbsSkinCustomListView;
using TbsDrawSkinSubItemEvent = std::function<void(TbsSkinCustomListView* Sender, TListItem* Item, int SubItemIndex,
                                                   TCustomDrawState State, TCanvas* ACanvas, TRect ADrawRect)>;
using TbsDrawHeaderSectionEvent = std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, TRect R)>;

// The platform's list view without border and native scroll bars: two external skinned scroll
// bars follow it, its colours and font come from the skin record "listview", its column
// header is taken over and painted from a button record of the skin ("header", else
// "resizetoolbutton") and, with DrawSkin, its items are painted from the "listbox" and
// "checkbox" records.
class TbsSkinCustomListView : public TCustomListView {
public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    const String& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const String& Value) { FCheckSkinDataName = Value; }
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& Value);
    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool Value);
    bool DrawSkinLines() const { return FDrawSkinLines; }
    void SetDrawSkinLines(bool Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TColor LineColor() const { return FLineColor; }
    // The subclassed column header (none before the list has a window or in other views).
    HWND SkinHeader() const { return FHeaderHandle; }
    int ActiveSection() const { return FActiveSection; }
    bool HeaderDown() const { return FHeaderDown; }
    bool DividerDown() const { return FDevDown; }
    // Repaints of the header since the list was made (its own paint messages).
    int HeaderPaints() const { return FHeaderPaints; }
    TbsDrawSkinSubItemEvent OnDrawSkinSubItem;
    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

    void ChangeSkinData();
    void UpDateScrollBars();
    void Loaded() override;
    bool Skinned() const { return FIndex != -1; }
    // Reads the header's record into the H fields (FHIndex -1 without a usable one).
    void GetHeaderSkinData();
    // Paints the whole header into DC.
    void PaintHeader(HDC DC);

    int FIndex = -1;
    int FHIndex = -1;
    TPoint HLTPt, HRTPt, HLBPt, HRBPt;
    TRect HSkinRect, HClRect;
    TBitmap* HPicture = nullptr;
    TColor HFontColor = 0, HActiveFontColor = 0, HDownFontColor = 0;
    TRect HActiveSkinRect, HDownSkinRect;
    bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
         HBottomStretch = false;
    TbsStretchType HStretchType = bsstFull;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void CNNotify(TMessage& Message) override;
    void HeaderWndProc(TMessage& Message);
    void ReleaseHeader();
    TRect SectionRect(int Index);
    void DrawSection(TCanvas* C, int Index, TRect R, bool Pressed, bool Hot);
    void DrawSectionContent(TCanvas* C, TListColumn* Column, TRect R);
    void SkinDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
    void DrawSubItems(TCanvas* C, TListItem* Item, const TRect& B, TCustomDrawState State);
    void TakeThirdImages();
    void DrawCheck(TCanvas* C, TListItem* Item, const TRect& I, const TRect& B);
    void DrawSkinLinesOf(TCanvas* C, TListItem* Item, const TRect& B);
    int FirstItemHeight();
    void VScrollChange(TObject*);
    void HScrollChange(TObject*);

    HIMAGELIST FThirdImages = nullptr;
    int FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
    TColor FLineColor = clBtnFace;
    String FItemSkinDataName = "listbox", FCheckSkinDataName = "checkbox";
    bool FDrawSkin = false, FDrawSkinLines = false;
    bool FDevDown = false;
    String FHeaderSkinDataName = "header";
    bool FInCheckScrollBars = false;
    bool FromSB = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "listview";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    HWND FHeaderHandle = nullptr;
    WNDPROC FHeaderInstance = nullptr;
    WNDPROC FDefHeaderProc = nullptr;
    int FActiveSection = -1;
    bool FHeaderDown = false, FHeaderInDivider = false;
    int FHeaderPaints = 0;
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
};
