// The four single records of a skin: skin colours, popup window, hint window and the
// layered border frame.
#include "skin/core/bsSkinData.h"

#include "skin/core/bsEffects.h"

#include <algorithm>
#include <cstring>

// ---- TbsSkinColors: a missing key gives the system colour.

const TbsFieldTable& TbsSkinColors::ClassFields()
{
    using Self = TbsSkinColors;
    static const TbsFieldTable Table = {
        BS_FIELD_INIT(FcBtnFace, "cbtnface", Color, clBtnFace, 0),
        BS_FIELD_INIT(FcBtnText, "cbtntext", Color, clBtnText, 0),
        BS_FIELD_INIT(FcWindow, "cwindow", Color, clWindow, 0),
        BS_FIELD_INIT(FcWindowText, "cwindowtext", Color, clWindowText, 0),
        BS_FIELD_INIT(FcHighLight, "chighlight", Color, clHighlight, 0),
        BS_FIELD_INIT(FcHighLightText, "chighlighttext", Color, clHighlightText, 0),
        BS_FIELD_INIT(FcBtnHighLight, "cbtnhighlight", Color, clBtnHighlight, 0),
        BS_FIELD_INIT(FcBtnShadow, "cbtnshadow", Color, clBtnShadow, 0),
    };
    return Table;
}

void TbsSkinColors::SetColorsToDefault()
{
    for (const TbsSkinField& F : ClassFields()) bsSetField(static_cast<Root*>(this), F, F.Missing);
}

void TbsSkinColors::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, "SKINCOLORS", static_cast<Root*>(this), ClassFields());
}

void TbsSkinColors::SaveToFile(TCustomIniFile* IniFile)
{
    bsWriteFields(IniFile, "SKINCOLORS", static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinPopupWindow

const TbsFieldTable& TbsDataSkinPopupWindow::ClassFields()
{
    using Self = TbsDataSkinPopupWindow;
    static const TbsFieldTable Table = {
        BS_FIELD(WindowPictureIndex, "windowpictureindex", Integer, -1),
        BS_FIELD(MaskPictureIndex, "maskpictureindex", Integer, -1),
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(ItemsRect, "itemsrect", Rect, TRect()),
        BS_FIELD(ScrollMarkerColor, "scrollmarkercolor", Integer, 0),
        BS_FIELD(ScrollMarkerActiveColor, "scrollmarkeractivecolor", Integer, 0),
        BS_FIELD(TopStretch, "topstretch", Boolean, false),
        BS_FIELD(LeftStretch, "leftstretch", Boolean, false),
        BS_FIELD(RightStretch, "rightstretch", Boolean, false),
        BS_FIELD(BottomStretch, "bottomstretch", Boolean, false),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(StretchType, "stretchtype", StretchType, bsstFull),
    };
    return Table;
}

TbsDataSkinPopupWindow::TbsDataSkinPopupWindow() { bsInitFields(static_cast<Root*>(this), ClassFields()); }

void TbsDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, "POPUPWINDOW", static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("POPUPWINDOW");
    bsWriteFields(IniFile, "POPUPWINDOW", static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinHintWindow

const TbsFieldTable& TbsDataSkinHintWindow::ClassFields()
{
    using Self = TbsDataSkinHintWindow;
    static const TbsFieldTable Table = {
        BS_FIELD(WindowPictureIndex, "windowpictureindex", Integer, -1),
        BS_FIELD(MaskPictureIndex, "maskpictureindex", Integer, -1),
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(ClRect, "clientrect", Rect, TRect()),
        BS_FIELD(FontName, "fontname", Text, String("Tahoma")),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontHeight, "fontheight", Integer, 13),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(TopStretch, "topstretch", Boolean, false),
        BS_FIELD(LeftStretch, "leftstretch", Boolean, false),
        BS_FIELD(RightStretch, "rightstretch", Boolean, false),
        BS_FIELD(BottomStretch, "bottomstretch", Boolean, false),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(StretchType, "stretchtype", StretchType, bsstFull),
    };
    return Table;
}

TbsDataSkinHintWindow::TbsDataSkinHintWindow() { bsInitFields(static_cast<Root*>(this), ClassFields()); }

void TbsDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, "HINTWINDOW", static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("HINTWINDOW");
    bsWriteFields(IniFile, "HINTWINDOW", static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinLayerFrame

const TbsFieldTable& TbsDataSkinLayerFrame::ClassFields()
{
    using Self = TbsDataSkinLayerFrame;
    static const TbsFieldTable Table = {
        BS_FIELD(PictureIndex, "pictureindex", Integer, -1),
        BS_FIELD(MaskPictureIndex, "maskpictureindex", Integer, -1),
        BS_FIELD(InActivePictureIndex, "inactivepictureindex", Integer, -1),
        BS_FIELD(InActiveMaskPictureIndex, "inactivemaskpictureindex", Integer, -1),
        BS_FIELD(LTPoint, "lefttoppoint", Point, TPoint()),
        BS_FIELD(RTPoint, "righttoppoint", Point, TPoint()),
        BS_FIELD(LBPoint, "leftbottompoint", Point, TPoint()),
        BS_FIELD(RBPoint, "rightbottompoint", Point, TPoint()),
        BS_FIELD(ClRect, "clientrect", Rect, TRect()),
        BS_FIELD(AlphaBlendValue, "alphablendvalue", Integer, 255),
        BS_FIELD(InActiveAlphaBlendValue, "inactivealphablendvalue", Integer, 255),
        BS_FIELD(BorderRect, "borderrect", Rect, TRect()),
        BS_FIELD(HitTestEnable, "hittestenable", Boolean, false),
        BS_FIELD(FullBorder, "fullborder", Boolean, false),
        BS_FIELD(HitTestSize, "hittestsize", Integer, 0),
        BS_FIELD(CaptionRect, "captionrect", Rect, TRect()),
        BS_FIELD(HitTestLTPoint, "hittestlefttoppoint", Point, TPoint()),
        BS_FIELD(HitTestRTPoint, "hittestrighttoppoint", Point, TPoint()),
        BS_FIELD(HitTestLBPoint, "hittestleftbottompoint", Point, TPoint()),
        BS_FIELD(HitTestRBPoint, "hittestrightbottompoint", Point, TPoint()),
        BS_FIELD(ButtonsRect, "buttonsrect", Rect, TRect()),
        BS_FIELD(SysMenuButtonRect, "sysmenubuttonrect", Rect, TRect()),
        BS_FIELD(FullStretch, "fullstretch", Boolean, false),
        BS_FIELD(RollUpFormHeight, "rollupformheight", Integer, 0),
        BS_FIELD(ButtonsTopOffset, "buttonstopoffset", Integer, 0),
        BS_FIELD(SysButtonTopOffset, "sysbuttontopoffset", Integer, 0),
        BS_FIELD(BlurMaskPictureIndex, "blurmaskpictureindex", Integer, -1),
        BS_FIELD(IntersectBlurMaskRect, "intersectblurmaskrect", Rect, TRect()),
        BS_FIELD(ExcludeBlurMaskRect, "excludeblurmaskrect", Rect, TRect()),
        BS_FIELD(LeftOffset, "leftoffset", Integer, 0),
        BS_FIELD(TopOffset, "topoffset", Integer, 0),
        BS_FIELD(WidthOffset, "widthoffset", Integer, 0),
        BS_FIELD(HeightOffset, "heightoffset", Integer, 0),
    };
    return Table;
}

TbsDataSkinLayerFrame::TbsDataSkinLayerFrame() { bsInitFields(static_cast<Root*>(this), ClassFields()); }

TbsDataSkinLayerFrame::~TbsDataSkinLayerFrame() = default;

void TbsDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, "LAYERFRAME", static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("LAYERFRAME");
    bsWriteFields(IniFile, "LAYERFRAME", static_cast<Root*>(this), ClassFields());
}

namespace {

// The picture APictureIndex with its alpha taken from the picture AMaskIndex, or none
// unless both exist. The mask is laid on the picture at 0,0; where it is smaller than the
// picture, the uncovered pixels get alpha 0.
std::unique_ptr<TbsBitmap> FrameImage(TbsSkinData* ASkinData, int APictureIndex, int AMaskIndex)
{
    int Count = int(ASkinData->FActivePictures.size());
    if (APictureIndex < 0 || APictureIndex >= Count || AMaskIndex < 0 || AMaskIndex >= Count) return nullptr;
    auto Image = std::make_unique<TbsBitmap>();
    Image->Assign(ASkinData->FActivePictures[APictureIndex].get());
    TbsBitmap MaskPicture;
    MaskPicture.Assign(ASkinData->FActivePictures[AMaskIndex].get());
    TbsBitmap Mask;
    Mask.SetSize(Image->Width(), Image->Height());
    int W = std::min(Image->Width(), MaskPicture.Width()), H = std::min(Image->Height(), MaskPicture.Height());
    for (int Y = 0; Y < H && W > 0; ++Y)
        std::memcpy(Mask.PixelAddress(0, Y), MaskPicture.PixelAddress(0, Y), size_t(W) * 4);
    SetAlphaFromMask(Image.get(), &Mask);
    Image->CheckingAlphaBlend();
    return Image;
}

} // namespace

void TbsDataSkinLayerFrame::InitAlphaImages(TbsSkinData* ASkinData)
{
    FSourceBitmap.reset();
    FSourceBitmap = FrameImage(ASkinData, PictureIndex, MaskPictureIndex);
    FSourceInActiveBitMap.reset();
    FSourceInActiveBitMap = FrameImage(ASkinData, InActivePictureIndex, InActiveMaskPictureIndex);
}
