// Control records: the root and the nine-piece base, and the records of the basic
// controls (buttons, check boxes, panels, labels, bars, sliders, bevels, views).
#include "skin/core/bsSkinData.h"

// ---- TbsDataSkinControl

TbsDataSkinControl::TbsDataSkinControl(const String& AIDName) : IDName(AIDName)
{
    bsInitFields(static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinControl::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinControl::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

const TbsFieldTable& TbsDataSkinControl::ClassFields()
{
    using Self = TbsDataSkinControl;
    static const TbsFieldTable Table = {
        BS_FIELD(PictureIndex, "pictureindex", Integer, -1),
        BS_FIELD(MaskPictureIndex, "maskpictureindex", Integer, -1),
        BS_FIELD(SkinRect, "skinrect", Rect, TRect()),
    };
    return Table;
}

// ---- TbsDataSkinCustomControl

const TbsFieldTable& TbsDataSkinCustomControl::ClassFields()
{
    using Self = TbsDataSkinCustomControl;
    static const TbsFieldTable Table = {
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(ClRect, "clientrect", Rect, TRect()),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(StretchType, "stretchtype", StretchType, bsstFull),
        BS_FIELD(LeftStretch, "leftstretch", Boolean, false),
        BS_FIELD(TopStretch, "topstretch", Boolean, false),
        BS_FIELD(RightStretch, "rightstretch", Boolean, false),
        BS_FIELD(BottomStretch, "bottomstretch", Boolean, false),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinCustomControl)

// ---- TbsDataSkinButtonControl

const TbsFieldTable& TbsDataSkinButtonControl::ClassFields()
{
    using Self = TbsDataSkinButtonControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(DownFontColor, "downfontcolor", Color, 0),
        BS_FIELD(DisabledFontColor, "disabledfontcolor", Color, 0),
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(DownSkinRect, "downskinrect", Rect, TRect()),
        BS_FIELD(DisabledSkinRect, "disabledskinrect", Rect, TRect()),
        BS_FIELD(FocusedSkinRect, "focusedskinrect", Rect, TRect()),
        BS_FIELD(Morphing, "morphing", Boolean, false),
        BS_FIELD(MorphKind, "morphkind", MorphKind, mkDefault),
        BS_FIELD(AnimateSkinRect, "animateskinrect", Rect, TRect()),
        BS_FIELD(FrameCount, "framecount", Integer, 0),
        BS_FIELD_INIT(AnimateInterval, "animateinterval", Integer, 25, 0),
        BS_FIELD(ShowFocus, "showfocus", Boolean, false),
        BS_FIELD(MenuMarkerFlatRect, "menumarkerflatrect", Rect, TRect()),
        BS_FIELD(MenuMarkerRect, "menumarkerrect", Rect, TRect()),
        BS_FIELD(MenuMarkerActiveRect, "menumarkeractiverect", Rect, TRect()),
        BS_FIELD(MenuMarkerDownRect, "menumarkerdownrect", Rect, TRect()),
        BS_FIELD(MenuMarkerTransparentColor, "menumarkertransparentcolor", Color, 0),
        BS_FIELD(GlowLayerPictureIndex, "glowlayerpictureindex", Integer, -1),
        BS_FIELD(GlowLayerMaskPictureIndex, "glowlayermaskpictureindex", Integer, -1),
        BS_FIELD(GlowLayerOffsetLeft, "glowlayeroffsetleft", Integer, 0),
        BS_FIELD(GlowLayerOffsetRight, "glowlayeroffsetright", Integer, 0),
        BS_FIELD(GlowLayerOffsetTop, "glowlayeroffsettop", Integer, 0),
        BS_FIELD(GlowLayerOffsetBottom, "glowlayeroffsetbottom", Integer, 0),
        BS_FIELD(GlowLayerShowOffsetX, "glowlayershowoffsetx", Integer, 0),
        BS_FIELD(GlowLayerShowOffsetY, "glowlayershowoffsety", Integer, 0),
        BS_FIELD(GlowLayerAlphaBlendValue, "glowlayeralphablendvalue", Integer, 255),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinButtonControl)

// ---- TbsDataSkinMenuButtonControl

const TbsFieldTable& TbsDataSkinMenuButtonControl::ClassFields()
{
    using Self = TbsDataSkinMenuButtonControl;
    static const TbsFieldTable Table = {
        BS_FIELD(TrackButtonRect, "trackbuttonrect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinMenuButtonControl)

// ---- TbsDataSkinCheckRadioControl

const TbsFieldTable& TbsDataSkinCheckRadioControl::ClassFields()
{
    using Self = TbsDataSkinCheckRadioControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(UnEnabledFontColor, "unenabledfontcolor", Color, 0),
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(CheckImageArea, "checkimagearea", Rect, TRect()),
        BS_FIELD(TextArea, "textarea", Rect, TRect()),
        BS_FIELD(CheckImageRect, "checkimagerect", Rect, TRect()),
        BS_FIELD(UnCheckImageRect, "uncheckimagerect", Rect, TRect()),
        BS_FIELD(ActiveCheckImageRect, "activecheckimagerect", Rect, TRect()),
        BS_FIELD(ActiveUnCheckImageRect, "activeuncheckimagerect", Rect, TRect()),
        BS_FIELD(UnEnabledCheckImageRect, "unenabledcheckimagerect", Rect, TRect()),
        BS_FIELD(UnEnabledUnCheckImageRect, "unenableduncheckimagerect", Rect, TRect()),
        BS_FIELD(GrayedCheckImageRect, "grayedcheckimagerect", Rect, TRect()),
        BS_FIELD(ActiveGrayedCheckImageRect, "activegrayedcheckimagerect", Rect, TRect()),
        BS_FIELD(Morphing, "morphing", Boolean, false),
        BS_FIELD(MorphKind, "morphkind", MorphKind, mkDefault),
        BS_FIELD(FrameFontColor, "framefontcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinCheckRadioControl)

// ---- TbsDataSkinPanelControl

const TbsFieldTable& TbsDataSkinPanelControl::ClassFields()
{
    using Self = TbsDataSkinPanelControl;
    static const TbsFieldTable Table = {
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(Alignment, "alignment", Alignment, taCenter),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
        BS_FIELD(CheckImageRect, "checkimagerect", Rect, TRect()),
        BS_FIELD(UnCheckImageRect, "uncheckimagerect", Rect, TRect()),
        BS_FIELD(MarkFrameRect, "markframerect", Rect, TRect()),
        BS_FIELD(FrameRect, "framerect", Rect, TRect()),
        BS_FIELD(FrameLeftOffset, "frameleftoffset", Integer, 0),
        BS_FIELD(FrameRightOffset, "framerightoffset", Integer, 0),
        BS_FIELD(FrameTextRect, "frametextrect", Rect, TRect()),
        BS_FIELD(GripperRect, "gripperrect", Rect, TRect()),
        BS_FIELD(GripperTransparent, "grippertransparent", Boolean, false),
        BS_FIELD_INIT(GripperTransparentColor, "grippertransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(ButtonRect, "buttonrect", Rect, TRect()),
        BS_FIELD(ButtonActiveRect, "buttonactiverect", Rect, TRect()),
        BS_FIELD(ButtonDownRect, "buttondownrect", Rect, TRect()),
        BS_FIELD(ButtonTransparent, "buttontransparent", Boolean, false),
        BS_FIELD_INIT(ButtonTransparentColor, "buttontransparentcolor", Color, 0, TColor(0xFF00FF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinPanelControl)

// ---- TbsDataSkinExPanelControl

const TbsFieldTable& TbsDataSkinExPanelControl::ClassFields()
{
    using Self = TbsDataSkinExPanelControl;
    static const TbsFieldTable Table = {
        BS_FIELD(RollHSkinRect, "rollhskinrect", Rect, TRect()),
        BS_FIELD(RollVSkinRect, "rollvskinrect", Rect, TRect()),
        BS_FIELD(RollLeftOffset, "rollleftoffset", Integer, 0),
        BS_FIELD(RollRightOffset, "rollrightoffset", Integer, 0),
        BS_FIELD(RollTopOffset, "rolltopoffset", Integer, 0),
        BS_FIELD(RollBottomOffset, "rollbottomoffset", Integer, 0),
        BS_FIELD(RollVCaptionRect, "rollvcaptionrect", Rect, TRect()),
        BS_FIELD(RollHCaptionRect, "rollhcaptionrect", Rect, TRect()),
        BS_FIELD(CloseButtonRect, "closebuttonrect", Rect, TRect()),
        BS_FIELD(CloseButtonActiveRect, "closebuttonactiverect", Rect, TRect()),
        BS_FIELD(CloseButtonDownRect, "closebuttondownrect", Rect, TRect()),
        BS_FIELD(HRollButtonRect, "hrollbuttonrect", Rect, TRect()),
        BS_FIELD(HRollButtonActiveRect, "hrollbuttonactiverect", Rect, TRect()),
        BS_FIELD(HRollButtonDownRect, "hrollbuttondownrect", Rect, TRect()),
        BS_FIELD(HRestoreButtonRect, "hrestorebuttonrect", Rect, TRect()),
        BS_FIELD(HRestoreButtonActiveRect, "hrestorebuttonactiverect", Rect, TRect()),
        BS_FIELD(HRestoreButtonDownRect, "hrestorebuttondownrect", Rect, TRect()),
        BS_FIELD(VRollButtonRect, "vrollbuttonrect", Rect, TRect()),
        BS_FIELD(VRollButtonActiveRect, "vrollbuttonactiverect", Rect, TRect()),
        BS_FIELD(VRollButtonDownRect, "vrollbuttondownrect", Rect, TRect()),
        BS_FIELD(VRestoreButtonRect, "vrestorebuttonrect", Rect, TRect()),
        BS_FIELD(VRestoreButtonActiveRect, "vrestorebuttonactiverect", Rect, TRect()),
        BS_FIELD(VRestoreButtonDownRect, "vrestorebuttondownrect", Rect, TRect()),
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ButtonsTransparent, "buttonstransparent", Boolean, false),
        BS_FIELD_INIT(ButtonsTransparentColor, "buttonstransparentcolor", Color, 0, TColor(0xFF00FF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinExPanelControl)

// ---- TbsDataSkinStdLabelControl

const TbsFieldTable& TbsDataSkinStdLabelControl::ClassFields()
{
    using Self = TbsDataSkinStdLabelControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, TColor(0xFF0000)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinStdLabelControl)

// ---- TbsDataSkinLabelControl

const TbsFieldTable& TbsDataSkinLabelControl::ClassFields()
{
    using Self = TbsDataSkinLabelControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinLabelControl)

// ---- TbsDataSkinScrollBarControl

const TbsFieldTable& TbsDataSkinScrollBarControl::ClassFields()
{
    using Self = TbsDataSkinScrollBarControl;
    static const TbsFieldTable Table = {
        BS_FIELD(TrackArea, "trackarea", Rect, TRect()),
        BS_FIELD(UpButtonRect, "upbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveUpButtonRect, "activeupbuttonrect", Rect, TRect()),
        BS_FIELD(DownUpButtonRect, "downupbuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveDownButtonRect, "activedownbuttonrect", Rect, TRect()),
        BS_FIELD(DownDownButtonRect, "downdownbuttonrect", Rect, TRect()),
        BS_FIELD(ThumbRect, "thumbrect", Rect, TRect()),
        BS_FIELD(ActiveThumbRect, "activethumbrect", Rect, TRect()),
        BS_FIELD(DownThumbRect, "downthumbrect", Rect, TRect()),
        BS_FIELD(ThumbOffset1, "thumboffset1", Integer, 0),
        BS_FIELD(ThumbOffset2, "thumboffset2", Integer, 0),
        BS_FIELD(GlyphRect, "glyphrect", Rect, TRect()),
        BS_FIELD(ActiveGlyphRect, "activeglyphrect", Rect, TRect()),
        BS_FIELD(DownGlyphRect, "downglyphrect", Rect, TRect()),
        BS_FIELD(GlyphTransparent, "glyphtransparent", Boolean, false),
        BS_FIELD_INIT(GlyphTransparentColor, "glyphtransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(ThumbTransparent, "thumbtransparent", Boolean, false),
        BS_FIELD_INIT(ThumbTransparentColor, "thumbtransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(ThumbStretchEffect, "thumbstretcheffect", Boolean, false),
        BS_FIELD(ThumbMinSize, "thumbminsize", Integer, 0),
        BS_FIELD(ThumbMinPageSize, "thumbminpagesize", Integer, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinScrollBarControl)

// ---- TbsDataSkinTrackBarControl

const TbsFieldTable& TbsDataSkinTrackBarControl::ClassFields()
{
    using Self = TbsDataSkinTrackBarControl;
    static const TbsFieldTable Table = {
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(TrackArea, "trackarea", Rect, TRect()),
        BS_FIELD(ButtonRect, "buttonrect", Rect, TRect()),
        BS_FIELD(ActiveButtonRect, "activebuttonrect", Rect, TRect()),
        BS_FIELD(Vertical, "vertical", Boolean, false),
        BS_FIELD(ButtonTransparent, "buttontransparent", Boolean, false),
        BS_FIELD_INIT(ButtonTransparentColor, "buttontransparentcolor", Color, 0, TColor(0xFF00FF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinTrackBarControl)

// ---- TbsDataSkinSplitterControl

const TbsFieldTable& TbsDataSkinSplitterControl::ClassFields()
{
    using Self = TbsDataSkinSplitterControl;
    static const TbsFieldTable Table = {
        BS_FIELD(GripperRect, "gripperrect", Rect, TRect()),
        BS_FIELD(GripperTransparent, "grippertransparent", Boolean, false),
        BS_FIELD_INIT(GripperTransparentColor, "grippertransparentcolor", Color, 0, TColor(0xFF00FF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinSplitterControl)

// ---- TbsDataSkinGaugeControl

const TbsFieldTable& TbsDataSkinGaugeControl::ClassFields()
{
    using Self = TbsDataSkinGaugeControl;
    static const TbsFieldTable Table = {
        BS_FIELD(ProgressArea, "progressarea", Rect, TRect()),
        BS_FIELD(ProgressRect, "progressrect", Rect, TRect()),
        BS_FIELD(Vertical, "vertical", Boolean, false),
        BS_FIELD(BeginOffset, "beginoffset", Integer, 0),
        BS_FIELD(EndOffset, "endoffset", Integer, 0),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ProgressTransparent, "progresstransparent", Boolean, false),
        BS_FIELD_INIT(ProgressTransparentColor, "progresstransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(ProgressStretch, "progressstretch", Boolean, false),
        BS_FIELD(AnimationSkinRect, "animationskinrect", Rect, TRect()),
        BS_FIELD(AnimationCountFrames, "animationcountframes", Integer, 0),
        BS_FIELD(AnimationTimerInterval, "animationtimerinterval", Integer, 0),
        BS_FIELD(ProgressAnimationSkinRect, "progressanimationskinrect", Rect, TRect()),
        BS_FIELD(ProgressAnimationCountFrames, "progressanimationcountframes", Integer, 0),
        BS_FIELD(ProgressAnimationTimerInterval, "progressanimationtimerinterval", Integer, 0),
        BS_FIELD(AnimationBeginOffset, "animationbeginoffset", Integer, 0),
        BS_FIELD(AnimationEndOffset, "animationendoffset", Integer, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinGaugeControl)

// ---- TbsDataSkinSlider

const TbsFieldTable& TbsDataSkinSlider::ClassFields()
{
    using Self = TbsDataSkinSlider;
    static const TbsFieldTable Table = {
        BS_FIELD(HRulerRect, "hrulerrect", Rect, TRect()),
        BS_FIELD(HThumbRect, "hthumbrect", Rect, TRect()),
        BS_FIELD(VRulerRect, "vrulerrect", Rect, TRect()),
        BS_FIELD(VThumbRect, "vthumbrect", Rect, TRect()),
        BS_FIELD(EdgeSize, "edgesize", Integer, 0),
        BS_FIELD(BGColor, "bgcolor", Color, 0),
        BS_FIELD(PointsColor, "pointscolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinSlider)

// ---- TbsDataSkinBevel

const TbsFieldTable& TbsDataSkinBevel::ClassFields()
{
    using Self = TbsDataSkinBevel;
    static const TbsFieldTable Table = {
        BS_FIELD(LightColor, "lightcolor", Color, 0),
        BS_FIELD(DarkColor, "darkcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinBevel)

// ---- TbsDataSkinTreeView

const TbsFieldTable& TbsDataSkinTreeView::ClassFields()
{
    using Self = TbsDataSkinTreeView;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD_INIT(BGColor, "bgcolor", Color, 0, TColor(0xFFFFFF)),
        BS_FIELD(ExpandImageRect, "expandimagerect", Rect, TRect()),
        BS_FIELD(NoExpandImageRect, "noexpandimagerect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinTreeView)

// ---- TbsDataSkinListView

const TbsFieldTable& TbsDataSkinListView::ClassFields()
{
    using Self = TbsDataSkinListView;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD_INIT(BGColor, "bgcolor", Color, 0, TColor(0xFFFFFF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinListView)

// ---- TbsDataSkinRichEdit

const TbsFieldTable& TbsDataSkinRichEdit::ClassFields()
{
    using Self = TbsDataSkinRichEdit;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD_INIT(FontHeight, "fontheight", Integer, 13, 14),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD_INIT(BGColor, "bgcolor", Color, 0, TColor(0xFFFFFF)),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinRichEdit)
