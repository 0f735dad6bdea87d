// Skinned controls without a window of their own and the label-type controls: the
// graphic skin control bases, the speed button and the menu speed button, the text
// label, and (beside them) the skinned standard and link labels, splitter, slider and
// bevel.
//
// Every control links to one TbsSkinData (SkinData) and looks its record up by name
// (SkinDataName) on every paint and every skin change; with no skin data, an empty skin
// or a name the skin does not hold it draws its built-in default look.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

// Points the link Field of AOwner at Value (not owned), moving AOwner's free notification
// from the component Field named to Value.
template <class T>
void bsSetLink(TComponent* AOwner, T*& Field, T* Value)
{
    if (Field && Field != Value) Field->RemoveFreeNotification(AOwner);
    Field = Value;
    if (Value) Value->FreeNotification(AOwner);
}

// In a skinned tool bar that adjusts its controls, ATop becomes the top that centres a
// control of height AHeight in the bar's skin client rectangle.
void bsCenterInToolBar(TControl* Control, int& ATop, int AHeight);

// ---------------------------------------------------------------------------------------
// Graphic skin control bases
// ---------------------------------------------------------------------------------------

// A windowless control linked to a skin: it finds its record by name and paints through
// an off-screen bitmap, in the default look (no record) or the skin look.
class TbsGraphicSkinControl : public TGraphicControl {
public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);
    ~TbsGraphicSkinControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Stores the link; a loaded skin is read at once (not while designing).
    virtual void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& Value) { FHintTitle = Value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value);

    // Looks the record up (FIndex); descendants copy what they use of it.
    virtual void GetSkinData();
    // Re-reads the record and repaints; the form frame calls it on every skin change.
    virtual void ChangeSkinData();
    virtual void BeforeChangeSkinData();

    // Position of the record in the skin's control list; -1 when unskinned.
    int FIndex = -1;

protected:
    virtual void CreateControlDefaultImage(TBitmap*) {}
    virtual void CreateControlSkinImage(TBitmap*) {}
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    // The skin's colours, or null when unskinned.
    TbsSkinColors* SkinColors() const;
    // Whether the linked skin data is loaded and has skin effects on.
    bool SkinEffectsOn() const;

    TbsSkinData* FSD = nullptr;
    String FSkinDataName;
    String FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

// A graphic skin control whose size follows its skin picture: its image is built at any
// size from the nine pieces of the record's picture.
class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl {
public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;

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
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Copied from the record.
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect, ClRect;
    // The same for the current size.
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    TBitmap* Picture = nullptr;  // the skin's, not owned
    // -1 no usable picture, 0 fixed size, 1 both ways, 2 horizontally, 3 vertically.
    int ResizeMode = 0;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

protected:
    virtual void DefaultFontChanged() {}
    // The size the control takes for a wanted size (and the client rectangle at it).
    virtual void CalcSize(int& AWidth, int& AHeight);
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    // The skin image of picture part Source (of SkinRect's size) at the control's size.
    void CreateSkinImageOf(TBitmap* B, const TRect& Source);

    int FDefaultWidth = 0, FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};

// ---------------------------------------------------------------------------------------
// Skinned speed button
// ---------------------------------------------------------------------------------------

using TbsNumGlyphs = int;  // 1 to 4
using TbsButtonPaintEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

// A windowless tool button: caption with a glyph or an image-list image; normal, hot,
// pressed and disabled looks from a button record ("toolbutton"); flat and transparent
// modes; sticky Down with groups or a check mode; auto-repeat; frame animation and a
// morph between the normal and the hot look.
class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl {
public:
    explicit TbsSkinSpeedButton(TComponent* AOwner);
    ~TbsSkinSpeedButton() override;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The absence of the opaque control style.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool Value);
    // Sets the transparency without repainting.
    virtual void SetTransparentSilent(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
    TCustomImageList* ImageList() const { return FButtonImages; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
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
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    bool DrawColorMarker() const { return FDrawColorMarker; }
    void SetDrawColorMarker(bool Value) { FDrawColorMarker = Value; }
    TColor ColorMarkerValue() const { return FColorMarkerValue; }
    void SetColorMarkerValue(TColor Value) { FColorMarkerValue = Value; }
    TbsSkinImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TbsSkinImagesMenu* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }

    // Back to rest: not hot, not down, no morph, no animation; repaints.
    void RefreshButton();
    // OnClick or the linked action.
    virtual void ButtonClick();
    // The linked action (null when none or freed): a click runs it, a change of it
    // updates the button's caption, enabled, visible and, with no glyph, its image.
    TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TBasicAction* Value);
    void GetSkinData() override;
    void ChangeSkinData() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    TbsButtonPaintEvent OnPaint;

    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0;
    TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
    TColor MenuMarkerTransparentColor = 0;

    // Frame animation state (in: AnimateInc) and the frame shown.
    int CurrentFrame = 0;
    bool AnimateInc = false;

protected:
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
    std::unique_ptr<TControlActionLink> FActionLink;
    virtual void DrawButtonFace(TBitmap* B, const TRect& Source, bool AActive, bool APressed);
    void CalcSize(int& AWidth, int& AHeight) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // Mouse enter (In) and leave: transparency of a flat button, events, state, effects.
    void HoverChanged(bool In);
    void EnabledChanged();

    // Down with the mouse over it, or Down in a group.
    bool IsPressed() const { return FDown && (FMouseIn || FGroupIndex != 0); }
    bool MorphingApplies() const { return SkinEffectsOn() && Morphing; }
    // The font of the face: the skin's (UseSkinFont) or DefaultFont, with the interface
    // strings' character set.
    void SetFaceFont(TCanvas* C);
    TColor FaceFontColor(bool AActive, bool APressed) const;
    // Font, colour, OnPaint and content of a face drawn on C, laid out in R.
    void DrawFaceContent(TCanvas* C, const TRect& R, bool AActive, bool APressed);
    // The content (image or glyph and caption) in R.
    void DrawContent(TCanvas* C, const TRect& R, bool AActive, bool APressed);
    // Only the content, straight on the control's canvas (transparent at rest).
    void DrawTransparentContent(const TRect& R);
    void PaintBitmap(const std::function<void(TBitmap*)>& Build);
    TRect AnimateFrameRect(int N) const;

    void StartRepeat();
    void StopRepeat();
    void RepeatTick();
    void StartAnimate(bool AInc);
    void StopAnimate();
    void AnimateTick();
    void StartMorph();
    void StopMorph();
    void MorphTick();

    bool FStopDraw = false;
    bool FCheckedMode = false;
    bool FStopMouseUp = false;
    bool FMenuTracked = false;
    TTimer* AnimateTimer = nullptr;
    TbsSkinImagesMenu* FSkinImagesMenu = nullptr;
    bool FUseImagesMenuImage = false, FUseImagesMenuCaption = false;
    bool FDrawColorMarker = false;
    TColor FColorMarkerValue = 0;
    bool FUseSkinSize = true, FUseSkinFontColor = true;
    TCustomImageList* FButtonImages = nullptr;
    int FImageIndex = 0;
    TTimer* RepeatTimer = nullptr;
    bool FRepeatArmed = false;  // the first (500 ms) tick has passed
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FFlat = false, FAllowAllUp = false, FAllowAllUpCheck = false, FDown = false, FMouseIn = false,
         FMouseDown = false;
    int FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1, FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    TTimer* MorphTimer = nullptr;
    double FMorphKf = 0;
    bool FShowCaption = true;
    int FWidthWithCaption = 0, FWidthWithoutCaption = 0;
};

// ---------------------------------------------------------------------------------------
// Skinned menu speed button
// ---------------------------------------------------------------------------------------

enum TbsTrackPosition { bstpRight, bstpBottom };

// A speed button that opens a skinned popup menu and/or an images menu under itself:
// the whole button, or in track-button mode only the 15-pixel strip at its right (or
// bottom) edge, the rest clicking as a speed button.  The face is drawn in one of four
// styles chosen by the record name ("toolmenubutton" by default).
class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
    ~TbsSkinMenuSpeedButton() override;

    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
    bool NewStyle() const { return FNewStyle; }
    // On also sets SkinDataName to "resizetoolbutton".
    void SetNewStyle(bool Value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition Value);
    bool MenuTracked() const { return FMenuTracked; }

    // Whether a press at X, Y opens the menu.
    bool CanMenuPopup(int X, int Y);
    void GetSkinData() override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

    TRect TrackButtonRect;
    // When set, the drop-down marker is the arrow glyph of kind FArrowType.
    bool FDrawStandardArrow = false;
    int FArrowType = 0;

protected:
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void DrawButtonFace(TBitmap* B, const TRect& Source, bool AActive, bool APressed) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;

    void TrackMenu();
    void MenuClosed();
    // The 15-pixel strip of the drop-down marker and the part of the button beside it.
    TRect StripRect(bool AllowBottom) const;
    TRect ContentRect(bool AllowBottom) const;
    // Whether the record name is one of the four built-in face styles.
    bool IsStyleName() const;
    void DrawMarker(TCanvas* C, const TRect& Strip, bool AActive, bool APressed, TColor TextColor);
    void DrawStateFrame(TCanvas* C, const TRect& R, bool AHot, bool APressed);
    // A nine-piece face of picture part Source fitted to W x H with the given geometry.
    void BuildFittedFace(TBitmap* Part, TBitmap* APicture, const TRect& Source, const TbsDataSkinCustomControl* Geo,
                         int W, int H);

    bool FTrackButtonMode = false;
    TbsSkinPopupMenu* FSkinPopupMenu = nullptr;
    bool FNewStyle = false;
    TbsTrackPosition FTrackPosition = bstpRight;
};

// ---------------------------------------------------------------------------------------
// Skinned slider
// ---------------------------------------------------------------------------------------

enum TbsSliderOrientation { soHorizontal, soVertical };
enum TbsSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TbsSliderOptions = TSet<TbsSliderOption>;
enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TbsSliderImages = TSet<TbsSliderImage>;
enum TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };
using TbsNumThumbStates = int;  // 1 or 2

// A track bar drawn from the skin's "slider" record (ruler strip and thumb) or from four
// built-in pictures: a value between MinValue and MaxValue set by dragging the thumb,
// by pressing the ruler (the thumb jumps towards the mouse) and by keys.
class TbsSkinCustomSlider : public TbsSkinControl {
public:
    explicit TbsSkinCustomSlider(TComponent* AOwner);
    ~TbsSkinCustomSlider() override;

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    int Value() const { return FValue; }
    void SetValue(int Value);
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int Value);
    TbsNumThumbStates NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(TbsNumThumbStates Value);
    TbsSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TbsSliderOrientation Value);
    TbsSliderOptions Options() const { return FOptions; }
    void SetOptions(TbsSliderOptions Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool Value);
    TCustomImageList* ThumbImageList() const { return FThumbImageList; }
    void SetThumbImageList(TCustomImageList* Value);
    int ThumbImageIndex() const { return FThumbImageIndex; }
    void SetThumbImageIndex(int Value);
    int ThumbActiveImageIndex() const { return FThumbActiveImageIndex; }
    void SetThumbActiveImageIndex(int Value);
    // The four pictures (built-in unless replaced); setting none restores the built-in one.
    TBitmap* Image(TbsSliderImage Index) const { return FImages[Index].get(); }
    void SetImage(TbsSliderImage Index, TBitmap* Value);
    TbsSliderImages UserImages() const { return FUserImages; }
    TRect ThumbRect() const { return FThumbRect; }
    TPoint RulerOrg() const { return FRulerOrg; }
    TBitmap* Ruler() const { return FRuler.get(); }
    TRect PointsRect() const { return FPointsRect; }
    bool Sliding() const { return FSliding; }

    // Places ruler, thumb and scale for the current size, skin and pictures.
    virtual void UpdateSlider();
    void GetSkinData() override;
    void ChangeSkinData() override { UpdateSlider(); }
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    // Pixel of the thumb's leading edge for a value, and the value of such a pixel.
    int ValueToPixel(int V);
    int PixelToValue(int P);
    void DrawPoints(TCanvas* C, int Step, int ExtremeHeight, int PointsHeight);

    TNotifyEvent OnChange, OnChanged, OnDrawPoints;

    // Copied from the record.
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int SkinEdgeSize = 0;
    TColor BGColor = 0, PointsColor = 0;
    TBitmap* Picture = nullptr;

protected:
    virtual bool CanModify() { return true; }
    virtual TRect GetSliderRect() { return TRect(0, 0, Width(), Height()); }
    virtual int GetPaintValue() { return FValue; }
    virtual void RangeChanged() {}
    virtual void StartSlide(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void SlideThumb(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void EndSlide(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight);
    virtual void DoChange();
    virtual void DoChanged();
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Resize() override;
    void CheckParentBackground() override;

    void SetRange(int AMin, int AMax);
    void GetThumbSize(int& TW, int& TH, int& States, bool WithImageList = true);
    int GetRulerLength();
    TPoint ClampThumbPos(int P);
    void MoveThumb(int P);
    void InvalidateThumb();
    TbsJumpMode JumpModeAt(TPoint P);
    void JumpTo(TbsJumpMode Mode);
    void TimerJump();
    void StopTracking();
    void BuildSkinRuler();
    void BuildDefaultRuler();
    void LoadBuiltInImage(TbsSliderImage Index);
    bool Reading() const { return ComponentState().Contains(csReading) || ComponentState().Contains(csLoading); }

    TCustomImageList* FThumbImageList = nullptr;
    int FThumbImageIndex = 0, FThumbActiveImageIndex = 1;
    bool FUseSkinThumb = true;
    bool FTransparent = false;
    TbsSliderImages FUserImages;
    std::unique_ptr<TBitmap> FImages[4];
    int FEdgeSize = 2;
    std::unique_ptr<TBitmap> FRuler;
    TPoint FRulerOrg;
    TRect FThumbRect;
    bool FThumbDown = false;
    TbsNumThumbStates FNumThumbStates = 2;
    TRect FPointsRect;
    TbsSliderOrientation FOrientation = soHorizontal;
    TbsSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
    int FBevelWidth = 1;
    int FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
    int FHit = 0;
    bool FFocused = false, FSliding = false, FTracking = false, FTimerActive = false;
    TPoint FMousePos;
    TbsJumpMode FStartJump = jmNone;
    bool FReadOnly = false;
    bool FCreating = true;
};

// The slider as placed on forms.
class TbsSkinSlider : public TbsSkinCustomSlider {
public:
    using TbsSkinCustomSlider::TbsSkinCustomSlider;
};

// ---------------------------------------------------------------------------------------
// Label text helpers
// ---------------------------------------------------------------------------------------

// Index (-1 when SD is none, Empty or has no record Name) and, when it is one, the
// label record of that name.
TbsDataSkinStdLabelControl* bsFindStdLabelRecord(TbsSkinData* SD, const String& Name, int& Index);
// The character set of the skin's interface strings, or DefaultFont's, into Font.
void bsSetTextCharset(TFont* Font, TbsSkinData* SD, TFont* DefaultFont);
// The DrawText flags of a label's alignment and word wrap, with tabs expanded.
UINT bsLabelTextFlags(const TCustomLabel* Label);
// Fits an auto-sized label to its text measured on the screen DC through its canvas (so
// that it measures also before its parent has a window).
void bsAdjustLabelBounds(TCustomLabel* Label, TCanvas* Canvas);

// ---------------------------------------------------------------------------------------
// Skinned text label
// ---------------------------------------------------------------------------------------

// A windowless multi-line label: the lines of a string list drawn in the skin's label
// font and colour ("stdlabel"), or in its own fonts without a skin; it sizes itself to
// its text.
class TbsSkinTextLabel : public TGraphicControl {
public:
    explicit TbsSkinTextLabel(TComponent* AOwner);
    ~TbsSkinTextLabel() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    void SetAutoSize(bool Value) override;

    void GetSkinData();
    void ChangeSkinData();
    // The whole text of Lines, each line ended by a line break.
    virtual String GetLabelText() const;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    int FIndex = -1;
    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void AdjustBounds();
    void DrawLabelText(TRect& R, UINT Flags);

    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true, FUseSkinColor = true;
    std::unique_ptr<TStringList> FLines;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};

// ---------------------------------------------------------------------------------------
// Skinned standard label and link label
// ---------------------------------------------------------------------------------------

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// A label whose text takes the font and colour of the skin record "stdlabel", or its own
// default font without a skin.
class TbsSkinStdLabel : public TCustomLabel {
public:
    explicit TbsSkinStdLabel(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    // Assigns the font only (nothing is repainted).
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType Value);

    void GetSkinData();
    void ChangeSkinData();
    // Draws the label with text AText onto C, its client rectangle moved by X, Y.
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);
    void DoDrawText(TRect& R, UINT Flags) override;
    void AdjustBounds() override;

    int FIndex = -1;
    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawSkinText(TCanvas* C, TRect& R, UINT Flags, String Text);

    TbsEllipsType FEllipsType = bsetNone;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true, FUseSkinColor = true;
};

// A label that is a hyperlink: hand cursor, underlined text that changes colour (or
// glows) under the mouse, and a click that opens URL with the desktop's opener.
class TbsSkinLinkLabel : public TCustomLabel {
public:
    explicit TbsSkinLinkLabel(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    // Assigns the font only (nothing is repainted).
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
    const String& URL() const { return FURL; }
    void SetURL(const String& Value) { FURL = Value; }
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool Value);
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool Value) { FGlowEffect = Value; }
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int Value) { FGlowSize = Value; }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData();
    void ChangeSkinData();
    void Click() override;
    void Dispatch(TMessage& Message) override;
    void DoDrawText(TRect& R, UINT Flags) override;
    void AdjustBounds() override;

    int FIndex = -1;
    // Copied from the record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FMouseIn = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultActiveFontColor = 0xFF0000;
    String FURL;
    bool FUseUnderLine = true;
};

// ---------------------------------------------------------------------------------------
// Skinned bevel
// ---------------------------------------------------------------------------------------


// The platform's bevel drawn in the two colours of the skin's "bevel" record (the system's
// button highlight and shadow without a skin), with a divider mode: a thin two-line
// separator across the middle.
class TbsSkinBevel : public TBevel {
public:
    explicit TbsSkinBevel(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    // Stores the link and reads the skin (none returns to the system colours).
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool Value);

    void ChangeSkinData();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    int FIndex = -1;
    TColor LightColor = clBtnHighlight, DarkColor = clBtnShadow;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "bevel";
    bool FDividerMode = false;
};

// ---------------------------------------------------------------------------------------
// Skinned splitter
// ---------------------------------------------------------------------------------------

// The splitter the skinned splitter builds on: a bar aligned to one side of its parent
// that resizes the neighbour aligned the same way (the control just before it) when
// dragged, keeping that neighbour at least MinSize and the rest of the parent at least
// MinSize too.
class TbsCustomSplitter : public TGraphicControl {
public:
    explicit TbsCustomSplitter(TComponent* AOwner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = std::max(Value, 1); }
    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void RequestAlign() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The neighbour the splitter resizes: the visible, enabled sibling touching its
    // leading side.
    TControl* FindControl() const;

    int FMinSize = 30;
    TControl* FControl = nullptr;  // being resized
    TPoint FDownPos;
    int FMaxSize = 0;
};

// A splitter whose bar comes from the skin record "vsplitter" (aligned left or right) or
// "hsplitter" (aligned top or bottom), with a gripper picture centred on it; its thickness
// follows the picture.
class TbsSkinSplitter : public TbsCustomSplitter {
public:
    explicit TbsSkinSplitter(TComponent* AOwner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int Value) { FDefaultSize = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    // Stores the link and reads the skin (none gives the unskinned thickness).
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

    void GetSkinData();
    void ChangeSkinData();

    int FIndex = -1;
    // Copied from the record.
    TPoint LTPt, RTPt, LBPt;
    TRect SkinRect;
    TBitmap* FSkinPicture = nullptr;
    bool StretchEffect = false;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void Paint() override;
    void RequestAlign() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool FTransparent = false;
    int FDefaultSize = 10;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = "vsplitter";
};
