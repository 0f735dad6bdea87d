// The skin data object and everything a loaded skin holds: the control and form-object
// records, the skin colours and the three window records, the interface strings, the
// stored (compressed) skin and the skin list.
//
// A skin is read from a skin folder (an ini file and the bitmaps it names) or from a
// stored skin (one zlib block holding the bitmaps and the ini text). Every skinned part
// links to one TbsSkinData and looks its record up by name; the object announces each
// change to the forms by the window messages below.
#pragma once

#include "skin/core/bsSkinFields.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TbsSkinData;
struct TbsSkinMessageRoute;
class TbsBitmap;
class TbsCompressedSkinList;
class TbsCompressedStoredSkin;
class TbsResourceStrData;

// Messages the skin data object sends to the forms: WPARAM is the sending object's
// address, LPARAM is 1000.
constexpr unsigned SkinDataChanging = 1225;        // before the skin is cleared and reloaded
constexpr unsigned SkinDataChanged = 1226;         // the new skin is complete
constexpr unsigned SkinDataApplied = 1227;         // last, after the change
constexpr unsigned ResourceStringsChanged = 1274;  // the interface string table was replaced
constexpr unsigned SkinnableFormChanged = 1294;    // SkinnableForm changed
constexpr unsigned LayeredBordersChanged = 1427;   // ShowLayeredBorders changed
constexpr unsigned AeroBlurChanged = 1428;         // AeroBlurEnabled changed
constexpr intptr_t SkinDataMessageParam = 1000;

// A part asked to paint its non-client area into the DC in WParam; a part that
// painted answers PaintNonClientToDCAnswer.  The Ex form is answered only when LParam is
// PaintNonClientToDCExParam.
constexpr unsigned PaintNonClientToDC = 0xB1C9;
constexpr unsigned PaintNonClientToDCEx = 0xBC4B;
// A part asked to paint its background into the DC in WParam, answered only when LParam
// is PaintNonClientToDCExParam (the inner list box answers it).
constexpr unsigned PaintBackgroundToDCEx = 0xBC4A;
constexpr intptr_t PaintNonClientToDCExParam = 16802;
constexpr LRESULT PaintNonClientToDCAnswer = 12851;

// Declares what every record class has: its parent as `inherited`, the constructor taking
// the record's name, the reader and the writer, and the table of its own fields.
#define BS_SKIN_RECORD(C, P)                                   \
public:                                                        \
    using inherited = P;                                       \
    explicit C(const String& AIDName);                         \
    void LoadFromFile(TCustomIniFile* IniFile) override;       \
    void SaveToFile(TCustomIniFile* IniFile) override;         \
    static const TbsFieldTable& ClassFields();                 \
                                                               \
private:
// The same for a class without a constructor of its own: its fields start at zero.
#define BS_SKIN_RECORD_NOCTOR(C, P)                            \
public:                                                        \
    using inherited = P;                                       \
    using P::P;                                                \
    void LoadFromFile(TCustomIniFile* IniFile) override;       \
    void SaveToFile(TCustomIniFile* IniFile) override;         \
    static const TbsFieldTable& ClassFields();                 \
                                                               \
private:

// ---------------------------------------------------------------------------------------
// Control records (section "SKINCONTROLS"). The comment over each class is its kind keyword.
// ---------------------------------------------------------------------------------------

// Root of the control records: one per entry of "SKINCONTROLS", stored in the section
// named by IDName.
class TbsDataSkinControl : public TObject {
public:
    using Root = TbsDataSkinControl;
    using inherited = void;
    String IDName;
    int PictureIndex{}, MaskPictureIndex{};
    TRect SkinRect;

    explicit TbsDataSkinControl(const String& AIDName);
    // Reads the record's keys (the parent's first); a missing key gives its fixed value.
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the record's section and writes exactly the keys the reader reads.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    static const TbsFieldTable& ClassFields();
};

// A control record whose image is built at any size from nine pieces of SkinRect.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinCustomControl, TbsDataSkinControl)
public:
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    bool StretchEffect{};
    TbsStretchType StretchType{};
    bool LeftStretch{}, TopStretch{}, RightStretch{}, BottomStretch{};
};

// "button"
class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinButtonControl, TbsDataSkinCustomControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{}, DownFontColor{}, DisabledFontColor{};
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
    bool Morphing{};
    TbsMorphKind MorphKind{};
    TRect AnimateSkinRect;
    int FrameCount{}, AnimateInterval{};
    bool ShowFocus{};
    TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor{};
    int GlowLayerPictureIndex{}, GlowLayerMaskPictureIndex{}, GlowLayerOffsetLeft{}, GlowLayerOffsetRight{};
    int GlowLayerOffsetTop{}, GlowLayerOffsetBottom{}, GlowLayerShowOffsetX{}, GlowLayerShowOffsetY{};
    int GlowLayerAlphaBlendValue{};
};

// "menubutton"
class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
    BS_SKIN_RECORD(TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl)
public:
    TRect TrackButtonRect;
};

// "checkradio"
class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{}, UnEnabledFontColor{};
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect;
    TRect ActiveCheckImageRect, ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
    TRect GrayedCheckImageRect, ActiveGrayedCheckImageRect;
    bool Morphing{};
    TbsMorphKind MorphKind{};
    TColor FrameFontColor{};
};

// "panel"
class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinPanelControl, TbsDataSkinCustomControl)
public:
    TRect CaptionRect;
    TAlignment Alignment{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{};
    int BGPictureIndex{};
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect;
    int FrameLeftOffset{}, FrameRightOffset{};
    TRect FrameTextRect, GripperRect;
    bool GripperTransparent{};
    TColor GripperTransparentColor{};
    TRect ButtonRect, ButtonActiveRect, ButtonDownRect;
    bool ButtonTransparent{};
    TColor ButtonTransparentColor{};
};

// "expanel"
class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinExPanelControl, TbsDataSkinCustomControl)
public:
    TRect RollHSkinRect, RollVSkinRect;
    int RollLeftOffset{}, RollRightOffset{}, RollTopOffset{}, RollBottomOffset{};
    TRect RollVCaptionRect, RollHCaptionRect, CloseButtonRect, CloseButtonActiveRect;
    TRect CloseButtonDownRect, HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
    TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect, VRollButtonRect;
    TRect VRollButtonActiveRect, VRollButtonDownRect, VRestoreButtonRect, VRestoreButtonActiveRect;
    TRect VRestoreButtonDownRect, CaptionRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{};
    bool ButtonsTransparent{};
    TColor ButtonsTransparentColor{};
};

// "stdlabel"
class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinStdLabelControl, TbsDataSkinControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{};
};

// "label"
class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinLabelControl, TbsDataSkinCustomControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{};
};

// "scrollbar"
class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinScrollBarControl, TbsDataSkinCustomControl)
public:
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect;
    TRect ActiveDownButtonRect, DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1{}, ThumbOffset2{};
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent{};
    TColor GlyphTransparentColor{};
    bool ThumbTransparent{};
    TColor ThumbTransparentColor{};
    bool ThumbStretchEffect{};
    int ThumbMinSize{}, ThumbMinPageSize{};
};

// "trackbar"
class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinTrackBarControl, TbsDataSkinCustomControl)
public:
    TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
    bool Vertical{}, ButtonTransparent{};
    TColor ButtonTransparentColor{};
};

// "splitter"
class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinSplitterControl, TbsDataSkinCustomControl)
public:
    TRect GripperRect;
    bool GripperTransparent{};
    TColor GripperTransparentColor{};
};

// "gauge"
class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinGaugeControl, TbsDataSkinCustomControl)
public:
    TRect ProgressArea, ProgressRect;
    bool Vertical{};
    int BeginOffset{}, EndOffset{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{};
    bool ProgressTransparent{};
    TColor ProgressTransparentColor{};
    bool ProgressStretch{};
    TRect AnimationSkinRect;
    int AnimationCountFrames{}, AnimationTimerInterval{};
    TRect ProgressAnimationSkinRect;
    int ProgressAnimationCountFrames{}, ProgressAnimationTimerInterval{}, AnimationBeginOffset{};
    int AnimationEndOffset{};
};

// "slider"
class TbsDataSkinSlider : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinSlider, TbsDataSkinControl)
public:
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int EdgeSize{};
    TColor BGColor{}, PointsColor{};
};

// "bevel"
class TbsDataSkinBevel : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinBevel, TbsDataSkinControl)
public:
    TColor LightColor{}, DarkColor{};
};

// "treeview"
class TbsDataSkinTreeView : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinTreeView, TbsDataSkinControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, BGColor{};
    TRect ExpandImageRect, NoExpandImageRect;
};

// "listview"
class TbsDataSkinListView : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinListView, TbsDataSkinControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, BGColor{};
};

// "richedit"
class TbsDataSkinRichEdit : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinRichEdit, TbsDataSkinControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, BGColor{};
};

// "edit"
class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinEditControl, TbsDataSkinCustomControl)
public:
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, DisabledFontColor{}, ActiveFontColor{};
    TRect ActiveSkinRect, ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

// "memo"
class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
    BS_SKIN_RECORD(TbsDataSkinMemoControl, TbsDataSkinEditControl)
public:
    TColor BGColor{}, ActiveBGColor{};
};

// "spinedit"
class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinSpinEditControl, TbsDataSkinCustomControl)
public:
    TRect ActiveSkinRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{}, DisabledFontColor{};
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect;
    TRect DownDownButtonRect;
};

// "listbox"
class TbsDataSkinListBox : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinListBox, TbsDataSkinCustomControl)
public:
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset{}, ItemRightOffset{};
    TRect ItemTextRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{}, FocusFontColor{};
    TRect CaptionRect;
    String CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight{};
    TColor CaptionFontColor{};
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect;
    TRect DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    String VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus{};
    TRect DisabledButtonsRect, ButtonsArea;
};

// "checklistbox"
class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinCheckListBox, TbsDataSkinListBox)
public:
    TRect ItemCheckRect, CheckImageRect, UnCheckImageRect;
};

// "combobox"
class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinComboBox, TbsDataSkinCustomControl)
public:
    TRect ActiveSkinRect, SItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset{}, ItemRightOffset{};
    TRect ItemTextRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, FocusFontColor{}, ActiveFontColor{};
    String ListBoxName;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool ItemStretchEffect{}, FocusItemStretchEffect{}, ShowFocus{};
};

// "updown"
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinUpDownControl, TbsDataSkinCustomControl)
public:
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect;
    TRect DownDownButtonRect;
};

// "tab"
class TbsDataSkinTabControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinTabControl, TbsDataSkinControl)
public:
    TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, ClRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int TabLeftOffset{}, TabRightOffset{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, ActiveFontColor{}, FocusFontColor{}, MouseInFontColor{};
    String UpDown;
    int BGPictureIndex{};
    bool TabStretchEffect{}, ShowFocus{};
    int FocusOffsetX{}, FocusOffsetY{};
    bool LeftStretch{}, TopStretch{}, RightStretch{}, BottomStretch{}, StretchEffect{};
    TbsStretchType StretchType{};
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent{};
    TColor ButtonTransparentColor{};
    TRect DividerRect;
    bool DividerTransparent{};
    TColor DividerTransparentColor{};
    TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect, MDICloseRect, MDICloseActiveRect;
    TRect MDICloseDownRect, MDIRestoreRect, MDIRestoreActiveRect, MDIRestoreDownRect;
    TRect MDIMinRect, MDIMinActiveRect, MDIMinDownRect;
    bool MDIButtonsTransparent{};
    TColor MDIButtonsTransparentColor{};
};

// "grid"
class TbsDataSkinGridControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinGridControl, TbsDataSkinControl)
public:
    TRect FixedCellRect, SelectCellRect, FocusCellRect;
    int FixedCellLeftOffset{}, FixedCellRightOffset{};
    TRect FixedCellTextRect;
    int CellLeftOffset{}, CellRightOffset{};
    TRect CellTextRect;
    TColor LinesColor{}, BGColor{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{}, SelectFontColor{}, FocusFontColor{};
    String FixedFontName;
    TFontStyles FixedFontStyle;
    int FixedFontHeight{};
    TColor FixedFontColor{};
    bool FixedCellStretchEffect{}, CellStretchEffect{}, ShowFocus{};
    int BGPictureIndex{};
};

// "scrollbox"
class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl)
public:
    int BGPictureIndex{};
};

// "mainmenubar"
class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinMainMenuBar, TbsDataSkinControl)
public:
    TRect ItemsRect;
    String MenuBarItem, CloseButton, MaxButton, MinButton, SysMenuButton;
    int TrackMarkColor{}, TrackMarkActiveColor{};
    bool StretchEffect{}, ItemTransparent{};
};

// "controlbar"
class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinControlBar, TbsDataSkinCustomControl)
public:
    TRect ItemRect;
    int BGPictureIndex{};
    TRect HGripRect, VGripRect;
    int GripOffset1{}, GripOffset2{};
    bool ItemStretchEffect{};
    int ItemOffset1{}, ItemOffset2{};
    bool ItemTransparent{};
    TColor ItemTransparentColor{};
    bool GripTransparent{};
    TColor GripTransparentColor{};
};

// "appmenu"
class TbsDataSkinAppMenu : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinAppMenu, TbsDataSkinCustomControl)
public:
    int BGPictureIndex{};
    bool BGStretchEffect{};
    int BGPagePictureIndex{};
    bool BGPageStretchEffect{};
    TRect ItemRect, PageItemRect, PageItemActiveRect;
    int ItemOffset1{}, ItemOffset2{}, PageItemOffset1{}, PageItemOffset2{}, PageOffset{};
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{}, FontPageHeight{};
    TColor FontColor{}, DisabledFontColor{}, FontPageColor{}, ActiveFontColor{}, ActiveFontPageColor{};
    TRect GripperRect;
    TColor GripperTransparentColor{};
    TRect TopLineRect;
    int TopLineOffset1{}, TopLineOffset2{};
    TRect BackButtonRect, BackButtonActiveRect, CaptionRect;
    int CaptionLeftOffset{}, CaptionTopOffset{};
};

// ---------------------------------------------------------------------------------------
// Form-object records (section "SKINOBJECTS"): caption buttons, caption, menu items,
// animations and user objects.
// ---------------------------------------------------------------------------------------

class TbsDataSkinObject : public TObject {
public:
    using Root = TbsDataSkinObject;
    using inherited = void;
    String IDName;
    String Hint;
    bool SkinRectInAPicture{};
    TRect SkinRect, ActiveSkinRect;
    int ActivePictureIndex{}, ActiveMaskPictureIndex{};
    TRect InActiveSkinRect;
    bool Morphing{};
    TbsMorphKind MorphKind{};
    int GlowLayerPictureIndex{}, GlowLayerMaskPictureIndex{}, GlowLayerOffsetX{}, GlowLayerOffsetY{};
    int GlowLayerAlphaBlendValue{};

    explicit TbsDataSkinObject(const String& AIDName);
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // Builds the record's 32-bit images once the skin's pictures and layer frame are read.
    virtual void InitAlphaImages(TbsSkinData* ASkinData);
    static const TbsFieldTable& ClassFields();
};

// "userobject": a named rectangle on the form frame; only "skinrect" is stored.
class TbsDataUserObject : public TbsDataSkinObject {
    BS_SKIN_RECORD_NOCTOR(TbsDataUserObject, TbsDataSkinObject)
};

// "button": a caption button, with 32-bit images for the layered border.
class TbsDataSkinButton : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinButton, TbsDataSkinObject)
public:
    ~TbsDataSkinButton() override;
    TRect DownRect, DisableSkinRect;
    int AlphaMaskPictureIndex{}, AlphaMaskActivePictureIndex{}, AlphaMaskInActivePictureIndex{};
    std::unique_ptr<TbsBitmap> FAlphaNormalImage, FAlphaActiveImage, FAlphaDownImage, FAlphaInActiveImage;

    void InitAlphaImages(TbsSkinData* ASkinData) override;
    // AImage := ARect of the record's own picture, its alpha from the mask picture
    // AMaskPictureIndex (colours premultiplied), or opaque without a mask; none when
    // ARect is empty or the record has no picture.
    void InitAlphaImage(TbsSkinData* ASkinData, std::unique_ptr<TbsBitmap>& AImage, int AMaskPictureIndex,
                        const TRect& ARect);
};

// "stdbutton": a caption button bound to a standard window command.
class TbsDataSkinStdButton : public TbsDataSkinButton {
    BS_SKIN_RECORD(TbsDataSkinStdButton, TbsDataSkinButton)
public:
    ~TbsDataSkinStdButton() override;
    TbsStdCommand Command{};
    String RestoreHint;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
    std::unique_ptr<TbsBitmap> FAlphaRestoreNormalImage, FAlphaRestoreActiveImage, FAlphaRestoreDownImage,
        FAlphaInActiveRestoreImage;

    void InitAlphaImages(TbsSkinData* ASkinData) override;
};

// "mainmenubarbutton": a button of the main menu bar; the same as a standard button.
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
    BS_SKIN_RECORD(TbsDataSkinMainMenuBarButton, TbsDataSkinStdButton)
};

// "animate": a strip of frames shown one after another, optionally a button.
class TbsDataSkinAnimate : public TbsDataSkinObject {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinAnimate, TbsDataSkinObject)
public:
    int CountFrames{};
    bool Cycle{}, ButtonStyle{};
    int TimerInterval{};
    TbsStdCommand Command{};
    TRect DownSkinRect;
    String RestoreHint;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
};

// "menuitem": an item of a skinned popup or main menu.
class TbsDataSkinMenuItem : public TbsDataSkinObject {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinMenuItem, TbsDataSkinObject)
public:
    TRect DividerRect;
    int DividerLO{}, DividerRO{}, ItemLO{}, ItemRO{};
    String FontName;
    int FontHeight{};
    TFontStyles FontStyle;
    TColor UnEnabledFontColor{}, FontColor{}, ActiveFontColor{};
    TRect TextRct, ImageRct;
    bool UseImageColor{};
    TColor ImageColor{}, ActiveImageColor{};
    bool StretchEffect{}, DividerStretchEffect{}, InActiveStretchEffect{};
    TRect AnimateSkinRect;
    int FrameCount{}, AnimateInterval{};
    bool InActiveAnimation{}, InActiveTransparent{};
    TRect CheckImageRect, ActiveCheckImageRect, RadioImageRect, ActiveRadioImageRect;
    TRect ArrowImageRect, ActiveArrowImageRect;
};

// An item of a main menu bar (base only).
class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinMainMenuItem, TbsDataSkinObject)
public:
    TRect DownRect;
    String FontName;
    int FontHeight{};
    TFontStyles FontStyle;
    TColor FontColor{}, ActiveFontColor{}, DownFontColor{}, UnEnabledFontColor{};
    TRect TextRct;
    int ItemLO{}, ItemRO{};
    bool StretchEffect{};
    TRect AnimateSkinRect;
    int FrameCount{}, AnimateInterval{};
    bool InActiveAnimation{};
};

// "mainmenubaritem"
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinMainMenuBarItem, TbsDataSkinMainMenuItem)
};

// "caption": the caption text of the form frame.
class TbsDataSkinCaption : public TbsDataSkinObject {
    BS_SKIN_RECORD_NOCTOR(TbsDataSkinCaption, TbsDataSkinObject)
public:
    String FontName;
    int FontHeight{};
    TFontStyles FontStyle;
    TColor FontColor{}, ActiveFontColor{}, ShadowColor{}, ActiveShadowColor{};
    bool Shadow{};
    TAlignment Alignment{};
    TRect TextRct, FrameRect, ActiveFrameRect;
    int FrameLeftOffset{}, FrameRightOffset{};
    TRect FrameTextRect;
    bool Light{};
    TColor LightColor{}, ActiveLightColor{};
    bool StretchEffect{};
    TRect AnimateSkinRect;
    int FrameCount{}, AnimateInterval{};
    bool InActiveAnimation{}, FullFrame{}, GlowEffect{}, VistaGlowEffect{}, VistaGlowInActiveEffect{};
    bool GlowInActiveEffect{};
    int GlowSize{};
    TColor GlowColor{}, GlowActiveColor{};
    int GlowOffset{};
    bool ReflectionEffect{};
    TColor ReflectionColor{}, ReflectionActiveColor{};
    int ReflectionOffset{};
    TRect DividerRect, InActiveDividerRect;
    bool DividerTransparent{};
    TColor DividerTransparentColor{};
    int QuickButtonAlphaMaskPictureIndex{};
};

// ---------------------------------------------------------------------------------------
// The four single records, each in a section of fixed name.
// ---------------------------------------------------------------------------------------

// "SKINCOLORS": eight colours; a missing key gives the system colour.
class TbsSkinColors : public TObject {
public:
    using Root = TbsSkinColors;
    TColor FcBtnFace{}, FcBtnText{}, FcWindow{}, FcWindowText{}, FcHighLight{}, FcHighLightText{};
    TColor FcBtnHighLight{}, FcBtnShadow{};

    TbsSkinColors() = default;
    void SetColorsToDefault();
    void LoadFromFile(TCustomIniFile* IniFile);
    // Writes the eight keys; other keys of the section stay.
    void SaveToFile(TCustomIniFile* IniFile);
    static const TbsFieldTable& ClassFields();
};

// "POPUPWINDOW": the window of a skinned popup menu.
class TbsDataSkinPopupWindow : public TObject {
public:
    using Root = TbsDataSkinPopupWindow;
    int WindowPictureIndex{}, MaskPictureIndex{};
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ItemsRect;
    int ScrollMarkerColor{}, ScrollMarkerActiveColor{};
    bool TopStretch{}, LeftStretch{}, RightStretch{}, BottomStretch{}, StretchEffect{};
    TbsStretchType StretchType{};

    TbsDataSkinPopupWindow();
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    static const TbsFieldTable& ClassFields();
};

// "HINTWINDOW": the window of a skinned hint.
class TbsDataSkinHintWindow : public TObject {
public:
    using Root = TbsDataSkinHintWindow;
    int WindowPictureIndex{}, MaskPictureIndex{};
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight{};
    TColor FontColor{};
    bool TopStretch{}, LeftStretch{}, RightStretch{}, BottomStretch{}, StretchEffect{};
    TbsStretchType StretchType{};

    TbsDataSkinHintWindow();
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    static const TbsFieldTable& ClassFields();
};

// "LAYERFRAME": the layered border window drawn around skinned forms.
class TbsDataSkinLayerFrame : public TObject {
public:
    using Root = TbsDataSkinLayerFrame;
    int PictureIndex{}, MaskPictureIndex{}, InActivePictureIndex{}, InActiveMaskPictureIndex{};
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    int AlphaBlendValue{}, InActiveAlphaBlendValue{};
    TRect BorderRect;
    bool HitTestEnable{}, FullBorder{};
    int HitTestSize{};
    TRect CaptionRect;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TRect ButtonsRect, SysMenuButtonRect;
    bool FullStretch{};
    int RollUpFormHeight{}, ButtonsTopOffset{}, SysButtonTopOffset{}, BlurMaskPictureIndex{};
    TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
    int LeftOffset{}, TopOffset{}, WidthOffset{}, HeightOffset{};
    // The frame images of an active and of an inactive form, with alpha from their masks.
    std::unique_ptr<TbsBitmap> FSourceBitmap, FSourceInActiveBitMap;

    TbsDataSkinLayerFrame();
    ~TbsDataSkinLayerFrame() override;
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    // Rebuilds both frame images from the skin's pictures (none without picture and mask).
    void InitAlphaImages(TbsSkinData* ASkinData);
    static const TbsFieldTable& ClassFields();
};

// ---------------------------------------------------------------------------------------
// Interface strings
// ---------------------------------------------------------------------------------------

// The table of texts the skinned parts show on their own (system menu items, caption
// button hints, edit menu, message box buttons, dialog captions), looked up by key, so
// that a program translates the suite by replacing one table.
class TbsResourceStrData : public TComponent {
public:
    explicit TbsResourceStrData(TComponent* AOwner);
    ~TbsResourceStrData() override;

    // Entries "KEY=text"; filled with the built-in English table.
    TStrings* ResStrings() const { return FResStrs.get(); }
    void SetResStrings(TStrings* Value);
    TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(TFontCharset Value) { FCharSet = Value; }

    // Text after the first "=" of the first entry whose key equals ResName ignoring case;
    // empty when there is none.
    String GetResStr(const String& ResName) const;

private:
    std::unique_ptr<TStringList> FResStrs;
    TFontCharset FCharSet;
};

// ---------------------------------------------------------------------------------------
// The skin data object
// ---------------------------------------------------------------------------------------

class TbsSkinData : public TComponent {
public:
    explicit TbsSkinData(TComponent* AOwner);
    ~TbsSkinData() override;

    // Fired after a skin has been read, before SkinDataChanged is sent.
    TNotifyEvent OnLoadData;

    // Properties.
    TbsCompressedSkinList* SkinList() const { return FCompressedSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    int SkinIndex() const { return FCompressedSkinIndex; }
    void SetSkinIndex(int Value);
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* Value);
    TbsResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TbsResourceStrData* Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool Value);
    bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
    void SetAeroBlurEnabled(bool Value);
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
    bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
    void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
    bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
    void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
    bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
    void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
    bool DlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
    void SetDlgTreeViewDrawSkin(bool Value) { FDlgTreeViewDrawSkin = Value; }
    const String& DlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
    void SetDlgTreeViewItemSkinDataName(const String& Value) { FDlgTreeViewItemSkinDataName = Value; }
    bool DlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
    void SetDlgListViewDrawSkin(bool Value) { FDlgListViewDrawSkin = Value; }
    const String& DlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
    void SetDlgListViewItemSkinDataName(const String& Value) { FDlgListViewItemSkinDataName = Value; }

    // Lookups: index of the first record whose IDName equals AIDName exactly, or -1.
    int GetIndex(const String& AIDName) const;
    int GetControlIndex(const String& AIDName) const;

    // Skin folder: an ini file and the bitmaps it names, beside it.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    void StoreToDisk(const String& AFileName);
    // Stored skins.
    void LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const String& FileName);
    void SaveToCompressedFile(const String& FileName);

    void ClearObjects();
    void ClearAll();
    void ClearSkin();
    void AddBitMap(const String& FileName);
    // Removes picture Index; records keep their picture indexes (an editing aid).
    void DeleteBitMap(int Index);
    void GlobalChangeFont(const String& ANewFontName, int AFontHeightCorrection);
    void SendSkinDataMessage(unsigned M);

    // Section readers and writers shared by both skin formats.
    void LoadFormInfo(TCustomIniFile* IniFile);
    void LoadSkinObjects(TCustomIniFile* IniFile);
    void LoadSkinControls(TCustomIniFile* IniFile);
    void LoadActivePictures(TCustomIniFile* IniFile, const String& Folder, TbsSkinPictureBudget* Budget);
    void SaveSkinToIni(TCustomIniFile* IniFile);
    void SaveActivePictureNames(TCustomIniFile* IniFile);
    void SaveFormInfo(TCustomIniFile* IniFile);
    void SaveSkinObjects(TCustomIniFile* IniFile);
    void SaveSkinControls(TCustomIniFile* IniFile);
    // The "FORMINFO" keys.
    static const TbsFieldTable& FormInfoFields();

    // The loaded skin.
    TRect ButtonsRect, CaptionRect;
    int ButtonsOffset{};
    bool CapButtonsInLeft{};
    bool AutoRenderingInActiveImage{};
    TbsInActiveEffect InActiveEffect{};
    std::unique_ptr<TbsDataSkinPopupWindow> PopupWindow;
    std::unique_ptr<TbsDataSkinLayerFrame> LayerFrame;
    std::unique_ptr<TbsDataSkinHintWindow> HintWindow;
    std::unique_ptr<TbsSkinColors> FSkinColors;
    bool Empty = true;
    std::unique_ptr<TBitmap> FPicture, FInActivePicture, FMask;
    std::vector<std::unique_ptr<TBitmap>> FActivePictures;
    String FPictureName, FInActivePictureName, FMaskName;
    std::unique_ptr<TStringList> FActivePicturesNames;
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> CtrlList;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int BGPictureIndex = -1, MDIBGPictureIndex = -1;
    bool MainMenuPopupUp{};
    TRect MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TRect ClRect;
    int BorderW{};
    int FormMinWidth{}, FormMinHeight{};
    bool MDITabsTransparent{}, MainMenuBarTransparent{};
    bool TopStretch{}, LeftStretch{}, RightStretch{}, BottomStretch{}, StretchEffect{};
    TbsStretchType StretchType{};
    bool MDIBGStretchEffect{};
    TbsStretchType MDIBGStretchType{};
    String SkinName, SkinAuthor, AuthorURL, AuthorEmail, SkinComments;
    bool ChangeSkinDataProcess{};

    // The picture at Index of the picture list, or null when Index is outside it.
    TBitmap* ActivePicture(int Index) const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsCompressedStoredSkin;
    // Reading a skin is done into a fresh object first; only a complete skin is announced
    // and moved into this one, so that a bad skin never leaves the forms half changed.
    void ReadNames(TCustomIniFile* IniFile);
    void ReadRecords(TCustomIniFile* IniFile);
    // Announces Loaded as the skin and paints the forms showing it; a failure to paint
    // brings the previous skin back and raises once.
    void ApplyLoadedSkin(TbsSkinData& Loaded);
    // Takes Loaded's skin with the messages of a change; the skin held until then goes to
    // Previous when given, else is dropped.
    void AnnounceSkin(TbsSkinData& Loaded, TbsSkinData* Previous);
    // Paints every shown form that the skin's messages reach, now.
    void PaintReceiversNow();
    static TbsSkinMessageRoute EffectiveRoute();
    void TakeSkinFrom(TbsSkinData& Source);
    void CheckSectionNames() const;
    bool IsDesigning() const;
    bool IsLoading() const;

    TbsCompressedSkinList* FCompressedSkinList = nullptr;
    int FCompressedSkinIndex = 0;
    bool FSkinnableForm = true;
    bool FEnableSkinEffects = true;
    TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TbsResourceStrData* FResourceStrData = nullptr;
    bool FShowButtonGlowFrames = true;
    bool FShowCaptionButtonGlowFrames = true;
    bool FShowLayeredBorders = true;
    bool FAeroBlurEnabled = true;
    bool FAnimationForAllWindows = false;
    bool FDlgTreeViewDrawSkin = true;
    String FDlgTreeViewItemSkinDataName = "listbox";
    bool FDlgListViewDrawSkin = true;
    String FDlgListViewItemSkinDataName = "listbox";
};

// The forms that receive the skin data object's messages, in screen order, and how a
// message reaches one. The default route is the application's screen; tests may put
// another in its place (members left empty keep the default).
struct TbsSkinMessageRoute {
    std::function<bool(TComponent* AComponent)> IsForm;
    std::function<std::vector<TComponent*>()> Forms;
    std::function<void(TComponent* AForm, unsigned M, uintptr_t WParam, intptr_t LParam)> Send;
};
void bsSetSkinMessageRoute(const TbsSkinMessageRoute& ARoute);
TbsSkinMessageRoute bsDefaultSkinMessageRoute();
// Paints each shown window among AForms at once, frame and children included.
void bsPaintFormsNow(const std::vector<TComponent*>& AForms);
// Runs AWork with the errors that the application reports in a box (an exception out of a
// window's message handler, as in painting) held back instead: gives the message of the
// first, or nothing when there was none.  An exception out of AWork itself passes on.
std::optional<String> bsRunHoldingReportedErrors(const std::function<void()>& AWork);

// Splits a list entry "name:kind" at its first colon; without a colon both are empty.
void SplitNameKind(const String& S, String& Name, String& Kind);
// The record class of a kind keyword (null for an unknown keyword), and the keyword of a record.
std::unique_ptr<TbsDataSkinControl> bsCreateControlRecord(const String& Kind, const String& AIDName);
std::unique_ptr<TbsDataSkinObject> bsCreateObjectRecord(const String& Kind, const String& AIDName);
String bsControlKind(const TbsDataSkinControl* ARecord);
String bsObjectKind(const TbsDataSkinObject* ARecord);

// ---------------------------------------------------------------------------------------
// Stored skins and skin lists
// ---------------------------------------------------------------------------------------

// One whole skin (pictures and ini text) packed into a zlib stream.
// Container: int32 version 3, int32 length N, N bytes of zlib stream.
class TbsCompressedStoredSkin : public TComponent {
public:
    explicit TbsCompressedStoredSkin(TComponent* AOwner);
    ~TbsCompressedStoredSkin() override;

    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    const String& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& Value) { FCompressedFileName = Value; }
    const String& Description() const { return FDescription; }
    void SetDescription(const String& Value) { FDescription = Value; }

    void LoadFromSkinData(TbsSkinData* ASkinData);
    void LoadFromIniFile(const String& AFileName);
    void LoadFromCompressFile(const String& AFileName);
    void SaveToCompressFile(const String& AFileName);
    void LoadFromCompressStream(TStream* Stream);
    void SaveToCompressStream(TStream* Stream);
    void DeCompressToStream(TMemoryStream* S);
    bool GetEmpty() const;
    bool Empty() const { return GetEmpty(); }
    // The zlib stream alone (the component's "CompressedData").
    TMemoryStream* CompressedStream() const { return FCompressedStream.get(); }

private:
    String FFileName, FCompressedFileName;
    std::unique_ptr<TMemoryStream> FCompressedStream;
    String FDescription;
};

// Loads the picture Folder + Name; where no file has exactly that name, a file of the
// folder whose name differs only in letter case.  Its size, read from its header, is
// checked (and counted in Budget, when given) before its pixels are decoded.
void bsLoadSkinPicture(TBitmap* Picture, const String& Folder, const String& Name,
                       TbsSkinPictureBudget* Budget = nullptr);
// The size in bytes of a regular file; 0 for anything else or a name that is not there.
int64_t bsFileSize(const String& AFileName);
// Reads the names of the picture list ("activepictures" of "PICTURES").
void bsReadPictureNames(TCustomIniFile* IniFile, TStrings* Names);

// The length of the BMP image at P (Avail bytes there) from its headers; raises
// EReadError for data that is not a whole BMP image.
int64_t bsBitmapImageSize(const uint8_t* P, int64_t Avail);
// The width and height a BMP image's headers at P give (Avail bytes there); false for
// bytes that do not begin with a BMP's headers.
bool bsBitmapImageExtent(const uint8_t* P, int64_t Avail, int64_t& Width, int64_t& Height);

// One item of a skin list: a stored skin with a name and a description.
class TbsSkinListItem : public TCollectionItem {
public:
    explicit TbsSkinListItem(TCollection* ACollection);
    ~TbsSkinListItem() override;
    // Copies another item's stored skin, texts and name.
    void Assign(TPersistent* Source) override;

    TbsCompressedStoredSkin* Skin() const { return FSkin.get(); }
    const String& Description() const { return FDescription; }
    void SetDescription(const String& Value) { FDescription = Value; }
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    const String& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& Value) { FCompressedFileName = Value; }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    String DisplayName() const override { return FName; }
    // The item's "Skin" data: its stored skin in container form.
    void WriteSkin(TStream* Stream) { FSkin->SaveToCompressStream(Stream); }
    void ReadSkin(TStream* Stream) { FSkin->LoadFromCompressStream(Stream); }

private:
    std::unique_ptr<TbsCompressedStoredSkin> FSkin;
    String FDescription, FFileName, FCompressedFileName, FName;
};

// The items of a skin list.
class TbsSkinListItems : public TCollection {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* ASkinList);
    TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
    TbsSkinListItem* Items(int Index) const { return static_cast<TbsSkinListItem*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() override;

private:
    TbsCompressedSkinList* FSkinList;
};

// A list of stored skins, from which a skin data object picks one by SkinIndex.
class TbsCompressedSkinList : public TComponent {
public:
    explicit TbsCompressedSkinList(TComponent* AOwner);
    ~TbsCompressedSkinList() override;
    TbsSkinListItems* Skins() const { return FSkins.get(); }
    // Takes copies of the given collection's items in place of its own.
    void SetSkins(TbsSkinListItems* Value) { FSkins->Assign(Value); }

private:
    std::unique_ptr<TbsSkinListItems> FSkins;
};
