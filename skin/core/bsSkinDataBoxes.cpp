// Control records of the input boxes, tab controls, grids, scroll boxes and the bars of
// a form.
#include "skin/core/bsSkinData.h"

// ---- TbsDataSkinEditControl

const TbsFieldTable& TbsDataSkinEditControl::ClassFields()
{
    using Self = TbsDataSkinEditControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(DisabledFontColor, "disabledfontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(ButtonRect, "buttonrect", Rect, TRect()),
        BS_FIELD(ActiveButtonRect, "activebuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(UnEnabledButtonRect, "unenabledbuttonrect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinEditControl)

// ---- TbsDataSkinMemoControl

const TbsFieldTable& TbsDataSkinMemoControl::ClassFields()
{
    using Self = TbsDataSkinMemoControl;
    static const TbsFieldTable Table = {
        BS_FIELD(BGColor, "bgcolor", Color, 0),
        BS_FIELD(ActiveBGColor, "activebgcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinMemoControl)

// ---- TbsDataSkinSpinEditControl

const TbsFieldTable& TbsDataSkinSpinEditControl::ClassFields()
{
    using Self = TbsDataSkinSpinEditControl;
    static const TbsFieldTable Table = {
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(DisabledFontColor, "disabledfontcolor", Color, 0),
        BS_FIELD(UpButtonRect, "upbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveUpButtonRect, "activeupbuttonrect", Rect, TRect()),
        BS_FIELD(DownUpButtonRect, "downupbuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveDownButtonRect, "activedownbuttonrect", Rect, TRect()),
        BS_FIELD(DownDownButtonRect, "downdownbuttonrect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinSpinEditControl)

// ---- TbsDataSkinListBox

const TbsFieldTable& TbsDataSkinListBox::ClassFields()
{
    using Self = TbsDataSkinListBox;
    static const TbsFieldTable Table = {
        BS_FIELD(SItemRect, "itemrect", Rect, TRect()),
        BS_FIELD(ActiveItemRect, "activeitemrect", Rect, TRect()),
        BS_FIELD(FocusItemRect, "focusitemrect", Rect, TRect()),
        BS_FIELD(ItemLeftOffset, "itemleftoffset", Integer, 0),
        BS_FIELD(ItemRightOffset, "itemrightoffset", Integer, 0),
        BS_FIELD(ItemTextRect, "itemtextrect", Rect, TRect()),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(FocusFontColor, "focusfontcolor", Color, 0),
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(CaptionFontName, "captionfontname", Text, String("Tahoma")),
        BS_FIELD(CaptionFontStyle, "captionfontstyle", FontStyles, TFontStyles()),
        BS_FIELD(CaptionFontHeight, "captionfontheight", Integer, 13),
        BS_FIELD(CaptionFontColor, "captionfontcolor", Color, 0),
        BS_FIELD(UpButtonRect, "upbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveUpButtonRect, "activeupbuttonrect", Rect, TRect()),
        BS_FIELD(DownUpButtonRect, "downupbuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveDownButtonRect, "activedownbuttonrect", Rect, TRect()),
        BS_FIELD(DownDownButtonRect, "downdownbuttonrect", Rect, TRect()),
        BS_FIELD(CheckButtonRect, "checkbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveCheckButtonRect, "activecheckbuttonrect", Rect, TRect()),
        BS_FIELD(DownCheckButtonRect, "downcheckbuttonrect", Rect, TRect()),
        BS_FIELD_INIT(VScrollBarName, "vscrollbarname", Text, String("vscrollbar"), String()),
        BS_FIELD_INIT(HScrollBarName, "hscrollbarname", Text, String("hscrollbar"), String()),
        BS_FIELD_INIT(BothScrollBarName, "bothhscrollbarname", Text, String("bothhscrollbar"), String()),
        BS_FIELD(ShowFocus, "showfocus", Boolean, false),
        BS_FIELD(DisabledButtonsRect, "disabledbuttonsrect", Rect, TRect()),
        BS_FIELD(ButtonsArea, "buttonsarea", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinListBox)

// ---- TbsDataSkinCheckListBox

const TbsFieldTable& TbsDataSkinCheckListBox::ClassFields()
{
    using Self = TbsDataSkinCheckListBox;
    static const TbsFieldTable Table = {
        BS_FIELD(ItemCheckRect, "itemcheckrect", Rect, TRect()),
        BS_FIELD(CheckImageRect, "checkimagerect", Rect, TRect()),
        BS_FIELD(UnCheckImageRect, "uncheckimagerect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD_IO(TbsDataSkinCheckListBox)

// ---- TbsDataSkinComboBox

const TbsFieldTable& TbsDataSkinComboBox::ClassFields()
{
    using Self = TbsDataSkinComboBox;
    static const TbsFieldTable Table = {
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(SItemRect, "itemrect", Rect, TRect()),
        BS_FIELD(ActiveItemRect, "activeitemrect", Rect, TRect()),
        BS_FIELD(FocusItemRect, "focusitemrect", Rect, TRect()),
        BS_FIELD(ItemLeftOffset, "itemleftoffset", Integer, 0),
        BS_FIELD(ItemRightOffset, "itemrightoffset", Integer, 0),
        BS_FIELD(ItemTextRect, "itemtextrect", Rect, TRect()),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(FocusFontColor, "focusfontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(ListBoxName, "listboxname", Text, String()),
        BS_FIELD(ButtonRect, "buttonrect", Rect, TRect()),
        BS_FIELD(ActiveButtonRect, "activebuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(UnEnabledButtonRect, "unenabledbuttonrect", Rect, TRect()),
        BS_FIELD(ItemStretchEffect, "itemstretcheffect", Boolean, false),
        BS_FIELD(FocusItemStretchEffect, "focusitemstretcheffect", Boolean, false),
        BS_FIELD(ShowFocus, "showfocus", Boolean, false),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinComboBox)

// ---- TbsDataSkinUpDownControl

const TbsFieldTable& TbsDataSkinUpDownControl::ClassFields()
{
    using Self = TbsDataSkinUpDownControl;
    static const TbsFieldTable Table = {
        BS_FIELD(UpButtonRect, "upbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveUpButtonRect, "activeupbuttonrect", Rect, TRect()),
        BS_FIELD(DownUpButtonRect, "downupbuttonrect", Rect, TRect()),
        BS_FIELD(DownButtonRect, "downbuttonrect", Rect, TRect()),
        BS_FIELD(ActiveDownButtonRect, "activedownbuttonrect", Rect, TRect()),
        BS_FIELD(DownDownButtonRect, "downdownbuttonrect", Rect, TRect()),
    };
    return Table;
}

void TbsDataSkinUpDownControl::LoadFromFile(TCustomIniFile* IniFile)
{
    inherited::LoadFromFile(IniFile);
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
    // An up-down control always has a fixed size: its nine-piece geometry is cleared.
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint();
    ClRect = TRect();
}

void TbsDataSkinUpDownControl::SaveToFile(TCustomIniFile* IniFile)
{
    inherited::SaveToFile(IniFile);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinTabControl

const TbsFieldTable& TbsDataSkinTabControl::ClassFields()
{
    using Self = TbsDataSkinTabControl;
    static const TbsFieldTable Table = {
        BS_FIELD(TabRect, "tabrect", Rect, TRect()),
        BS_FIELD(ActiveTabRect, "activetabrect", Rect, TRect()),
        BS_FIELD(FocusTabRect, "focustabrect", Rect, TRect()),
        BS_FIELD(MouseInTabRect, "mouseintabrect", Rect, TRect()),
        BS_FIELD(ClRect, "clientrect", Rect, TRect()),
        BS_FIELD(TabsBGRect, "tabsbgrect", Rect, TRect()),
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(TabLeftOffset, "tableftoffset", Integer, 0),
        BS_FIELD(TabRightOffset, "tabrightoffset", Integer, 0),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(FocusFontColor, "focusfontcolor", Color, 0),
        BS_FIELD(MouseInFontColor, "mouseinfontcolor", Color, 0),
        BS_FIELD(UpDown, "updown", Text, String()),
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
        BS_FIELD(TabStretchEffect, "tabstretcheffect", Boolean, false),
        BS_FIELD(ShowFocus, "showfocus", Boolean, false),
        BS_FIELD(FocusOffsetX, "focusoffsetx", Integer, 0),
        BS_FIELD(FocusOffsetY, "focusoffsety", Integer, 0),
        BS_FIELD(LeftStretch, "leftstretch", Boolean, false),
        BS_FIELD(TopStretch, "topstretch", Boolean, false),
        BS_FIELD(RightStretch, "rightstretch", Boolean, false),
        BS_FIELD(BottomStretch, "bottomstretch", Boolean, false),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(StretchType, "stretchtype", StretchType, bsstFull),
        BS_FIELD(CloseButtonRect, "closebuttonrect", Rect, TRect()),
        BS_FIELD(CloseButtonActiveRect, "closebuttonactiverect", Rect, TRect()),
        BS_FIELD(CloseButtonDownRect, "closebuttondownrect", Rect, TRect()),
        BS_FIELD(ButtonTransparent, "buttontransparent", Boolean, false),
        BS_FIELD_INIT(ButtonTransparentColor, "buttontransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(DividerRect, "dividerrect", Rect, TRect()),
        BS_FIELD(DividerTransparent, "dividertransparent", Boolean, false),
        BS_FIELD_INIT(DividerTransparentColor, "dividertransparentcolor", Color, 0, TColor(0xFF00FF)),
        BS_FIELD(TabLeftBottomActiveRect, "tableftbottomactiverect", Rect, TRect()),
        BS_FIELD(TabLeftBottomFocusRect, "tableftbottomfocusrect", Rect, TRect()),
        BS_FIELD(MDICloseRect, "mdicloserect", Rect, TRect()),
        BS_FIELD(MDICloseActiveRect, "mdicloseactiverect", Rect, TRect()),
        BS_FIELD(MDICloseDownRect, "mdiclosedownrect", Rect, TRect()),
        BS_FIELD(MDIRestoreRect, "mdirestorerect", Rect, TRect()),
        BS_FIELD(MDIRestoreActiveRect, "mdirestoreactiverect", Rect, TRect()),
        BS_FIELD(MDIRestoreDownRect, "mdirestoredownrect", Rect, TRect()),
        BS_FIELD(MDIMinRect, "mdiminrect", Rect, TRect()),
        BS_FIELD(MDIMinActiveRect, "mdiminactiverect", Rect, TRect()),
        BS_FIELD(MDIMinDownRect, "mdimindownrect", Rect, TRect()),
        BS_FIELD(MDIButtonsTransparent, "mdibuttonstransparent", Boolean, false),
        BS_FIELD(MDIButtonsTransparentColor, "mdibuttonstransparentcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinTabControl)

// ---- TbsDataSkinGridControl

const TbsFieldTable& TbsDataSkinGridControl::ClassFields()
{
    using Self = TbsDataSkinGridControl;
    static const TbsFieldTable Table = {
        BS_FIELD(FixedCellRect, "fixedcellrect", Rect, TRect()),
        BS_FIELD(SelectCellRect, "selectcellrect", Rect, TRect()),
        BS_FIELD(FocusCellRect, "focuscellrect", Rect, TRect()),
        BS_FIELD(FixedCellLeftOffset, "fixedcellleftoffset", Integer, 0),
        BS_FIELD(FixedCellRightOffset, "fixedcellrightoffset", Integer, 0),
        BS_FIELD(FixedCellTextRect, "fixedcelltextrect", Rect, TRect()),
        BS_FIELD(CellLeftOffset, "cellleftoffset", Integer, 0),
        BS_FIELD(CellRightOffset, "cellrightoffset", Integer, 0),
        BS_FIELD(CellTextRect, "celltextrect", Rect, TRect()),
        BS_FIELD(LinesColor, "linescolor", Color, 0),
        BS_FIELD(BGColor, "bgcolor", Color, 0),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(SelectFontColor, "selectfontcolor", Color, 0),
        BS_FIELD(FocusFontColor, "focusfontcolor", Color, 0),
        BS_FIELD(FixedFontName, "fixedfontname", Text, String("Tahoma")),
        BS_FIELD(FixedFontStyle, "fixedfontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FixedFontHeight, "fixedfontheight", Integer, 13),
        BS_FIELD(FixedFontColor, "fixedfontcolor", Color, 0),
        BS_FIELD(FixedCellStretchEffect, "fixedcellstretcheffect", Boolean, false),
        BS_FIELD(CellStretchEffect, "cellstretcheffect", Boolean, false),
        BS_FIELD(ShowFocus, "showfocus", Boolean, false),
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinGridControl)

// ---- TbsDataSkinScrollBoxControl

const TbsFieldTable& TbsDataSkinScrollBoxControl::ClassFields()
{
    using Self = TbsDataSkinScrollBoxControl;
    static const TbsFieldTable Table = {
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinScrollBoxControl)

// ---- TbsDataSkinMainMenuBar

const TbsFieldTable& TbsDataSkinMainMenuBar::ClassFields()
{
    using Self = TbsDataSkinMainMenuBar;
    static const TbsFieldTable Table = {
        BS_FIELD(ItemsRect, "itemsrect", Rect, TRect()),
        BS_FIELD(MenuBarItem, "menubaritem", Text, String()),
        BS_FIELD(CloseButton, "closebutton", Text, String()),
        BS_FIELD(MaxButton, "maxbutton", Text, String()),
        BS_FIELD(MinButton, "minbutton", Text, String()),
        BS_FIELD(SysMenuButton, "sysmenubutton", Text, String()),
        BS_FIELD(TrackMarkColor, "trackmarkcolor", Integer, 0),
        BS_FIELD(TrackMarkActiveColor, "trackmarkactivecolor", Integer, 0),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(ItemTransparent, "itemtransparent", Boolean, false),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinMainMenuBar)

// ---- TbsDataSkinControlBar

const TbsFieldTable& TbsDataSkinControlBar::ClassFields()
{
    using Self = TbsDataSkinControlBar;
    static const TbsFieldTable Table = {
        BS_FIELD(ItemRect, "itemrect", Rect, TRect()),
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
        BS_FIELD(HGripRect, "hgriprect", Rect, TRect()),
        BS_FIELD(VGripRect, "vgriprect", Rect, TRect()),
        BS_FIELD(GripOffset1, "gripoffset1", Integer, 0),
        BS_FIELD(GripOffset2, "gripoffset2", Integer, 0),
        BS_FIELD(ItemStretchEffect, "itemstretcheffect", Boolean, false),
        BS_FIELD_INIT(ItemOffset1, "itemoffset1", Integer, 3, 0),
        BS_FIELD_INIT(ItemOffset2, "itemoffset2", Integer, 3, 0),
        BS_FIELD(ItemTransparent, "itemtransparent", Boolean, false),
        BS_FIELD(ItemTransparentColor, "itemtransparentcolor", Color, 0),
        BS_FIELD(GripTransparent, "griptransparent", Boolean, false),
        BS_FIELD(GripTransparentColor, "griptransparentcolor", Color, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinControlBar)

// ---- TbsDataSkinAppMenu

const TbsFieldTable& TbsDataSkinAppMenu::ClassFields()
{
    using Self = TbsDataSkinAppMenu;
    static const TbsFieldTable Table = {
        BS_FIELD(BGPictureIndex, "bgpictureindex", Integer, -1),
        BS_FIELD(BGStretchEffect, "bgstretcheffect", Boolean, false),
        BS_FIELD(BGPagePictureIndex, "bgpagepictureindex", Integer, -1),
        BS_FIELD(BGPageStretchEffect, "bgpagestretcheffect", Boolean, false),
        BS_FIELD(ItemRect, "itemrect", Rect, TRect()),
        BS_FIELD(PageItemRect, "pageitemrect", Rect, TRect()),
        BS_FIELD(PageItemActiveRect, "pageitemactiverect", Rect, TRect()),
        BS_FIELD_INIT(ItemOffset1, "itemoffset1", Integer, 3, 0),
        BS_FIELD_INIT(ItemOffset2, "itemoffset2", Integer, 3, 0),
        BS_FIELD_INIT(PageItemOffset1, "pageitemoffset1", Integer, 10, 0),
        BS_FIELD_INIT(PageItemOffset2, "pageitemoffset2", Integer, 10, 0),
        BS_FIELD(PageOffset, "pageoffset", Integer, 0),
        BS_FIELD_INIT(FontName, "fontname", Text, String("Tahoma"), String()),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD_INIT(FontHeight, "fontheight", Integer, 13, 0),
        BS_FIELD_INIT(FontPageHeight, "fontpageheight", Integer, 16, 0),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(DisabledFontColor, "disabledfontcolor", Color, 0),
        BS_FIELD(FontPageColor, "fontpagecolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(ActiveFontPageColor, "activefontpagecolor", Color, 0),
        BS_FIELD(GripperRect, "gripperrect", Rect, TRect()),
        BS_FIELD(GripperTransparentColor, "grippertransparentcolor", Color, 0),
        BS_FIELD(TopLineRect, "toplinerect", Rect, TRect()),
        BS_FIELD(TopLineOffset1, "toplineoffset1", Integer, 0),
        BS_FIELD(TopLineOffset2, "toplineoffset2", Integer, 0),
        BS_FIELD(BackButtonRect, "backbuttonrect", Rect, TRect()),
        BS_FIELD(BackButtonActiveRect, "backbuttonactiverect", Rect, TRect()),
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(CaptionLeftOffset, "captionleftoffset", Integer, 0),
        BS_FIELD(CaptionTopOffset, "captiontopoffset", Integer, 0),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinAppMenu)
