// Form-object records: caption buttons (with their 32-bit images for the layered
// border), standard buttons, animations, menu items, main menu items and the caption.
#include "skin/core/bsSkinData.h"

#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

bool HasPicture(TbsSkinData* ASkinData, int Index)
{
    return Index >= 0 && Index < int(ASkinData->FActivePictures.size());
}

// Copies the part R of Source (clipped to Source) into Dest at R's top-left corner
// relative to 0,0; pixels of Dest outside the copied part stay as they are.
void CopyPixels(TbsBitmap* Source, const TRect& R, TbsBitmap* Dest)
{
    int X0 = std::max(R.Left, 0), Y0 = std::max(R.Top, 0);
    int X1 = std::min({R.Right, Source->Width(), R.Left + Dest->Width()});
    int Y1 = std::min({R.Bottom, Source->Height(), R.Top + Dest->Height()});
    if (X1 <= X0 || Y1 <= Y0) return;
    for (int Y = Y0; Y < Y1; ++Y)
        std::memcpy(Dest->PixelAddress(X0 - R.Left, Y - R.Top), Source->PixelAddress(X0, Y),
                    size_t(X1 - X0) * 4);
}

// The restore hint of a standard or animated button whose skin gives none.
String DefaultRestoreHint(const String& Hint, TbsStdCommand Command)
{
    if ((Hint == "Maximize" && Command == cmMaximize) || (Hint == "Minimize" && Command == cmMinimize) ||
        ((Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp))
        return "Restore";
    return String();
}

// One alpha image of a button record: the image, its mask picture and its part of the
// record's picture.
using TAlphaImageSpec = std::tuple<std::unique_ptr<TbsBitmap>&, int, const TRect&>;

// Builds the images while the skin's layer frame has a picture and a full border, and
// frees them otherwise.
void InitAlphaImageSet(TbsDataSkinButton* B, TbsSkinData* ASkinData, std::initializer_list<TAlphaImageSpec> Images)
{
    const TbsDataSkinLayerFrame* F = ASkinData->LayerFrame.get();
    bool Build = F->PictureIndex != -1 && F->FullBorder;
    for (const auto& [Image, Mask, Rect] : Images) {
        if (Build) B->InitAlphaImage(ASkinData, Image, Mask, Rect);
        else Image.reset();
    }
}

} // namespace

// ---- TbsDataSkinObject

TbsDataSkinObject::TbsDataSkinObject(const String& AIDName) : IDName(AIDName)
{
    bsInitFields(static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinObject::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinObject::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinObject::InitAlphaImages(TbsSkinData*) {}

const TbsFieldTable& TbsDataSkinObject::ClassFields()
{
    using Self = TbsDataSkinObject;
    static const TbsFieldTable Table = {
        BS_FIELD(Hint, "hint", Text, String()),
        BS_FIELD(SkinRectInAPicture, "skinrectinapicture", Boolean, false),
        BS_FIELD(SkinRect, "skinrect", Rect, TRect()),
        BS_FIELD(ActiveSkinRect, "activeskinrect", Rect, TRect()),
        BS_FIELD(ActivePictureIndex, "activepictureindex", Integer, -1),
        BS_FIELD(ActiveMaskPictureIndex, "activemaskpictureindex", Integer, -1),
        BS_FIELD(InActiveSkinRect, "inactiveskinrect", Rect, TRect()),
        BS_FIELD(Morphing, "morphing", Boolean, false),
        BS_FIELD(MorphKind, "morphkind", MorphKind, mkDefault),
        BS_FIELD(GlowLayerPictureIndex, "glowlayerpictureindex", Integer, -1),
        BS_FIELD(GlowLayerMaskPictureIndex, "glowlayermaskpictureindex", Integer, -1),
        BS_FIELD(GlowLayerOffsetX, "glowlayeroffsetx", Integer, 0),
        BS_FIELD(GlowLayerOffsetY, "glowlayeroffsety", Integer, 0),
        BS_FIELD(GlowLayerAlphaBlendValue, "glowlayeralphablendvalue", Integer, 255),
    };
    return Table;
}

// ---- TbsDataUserObject: only its rectangle is stored.

const TbsFieldTable& TbsDataUserObject::ClassFields()
{
    using Self = TbsDataUserObject;
    static const TbsFieldTable Table = {
        BS_FIELD(SkinRect, "skinrect", Rect, TRect()),
    };
    return Table;
}

void TbsDataUserObject::LoadFromFile(TCustomIniFile* IniFile)
{
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

void TbsDataUserObject::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinButton

const TbsFieldTable& TbsDataSkinButton::ClassFields()
{
    using Self = TbsDataSkinButton;
    static const TbsFieldTable Table = {
        BS_FIELD(DownRect, "downrect", Rect, TRect()),
        BS_FIELD(DisableSkinRect, "disableskinrsect", Rect, TRect()),
        BS_FIELD(AlphaMaskPictureIndex, "alphamaskpictureindex", Integer, -1),
        BS_FIELD(AlphaMaskActivePictureIndex, "alphamaskactivepictureindex", Integer, -1),
        BS_FIELD(AlphaMaskInActivePictureIndex, "alphamaskinactivepictureindex", Integer, -1),
    };
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinButton)

TbsDataSkinButton::~TbsDataSkinButton() = default;

void TbsDataSkinButton::InitAlphaImage(TbsSkinData* ASkinData, std::unique_ptr<TbsBitmap>& AImage,
                                       int AMaskPictureIndex, const TRect& ARect)
{
    AImage.reset();
    if (IsEmptyRect(ARect) || !HasPicture(ASkinData, ActivePictureIndex)) return;
    int W = ARect.Width(), H = ARect.Height();
    auto Picture = std::make_unique<TbsBitmap>();
    Picture->Assign(ASkinData->FActivePictures[ActivePictureIndex].get());
    auto Image = std::make_unique<TbsBitmap>();
    Image->SetSize(W, H);
    CopyPixels(Picture.get(), ARect, Image.get());
    if (!HasPicture(ASkinData, AMaskPictureIndex)) {
        Image->SetAlphaBlend(true);
        Image->SetAlpha(255);
    } else {
        // The mask's top-left corner lines up with the image's; where the mask is
        // smaller than the image, the new bitmap's zero pixels make it transparent.
        auto MaskPicture = std::make_unique<TbsBitmap>();
        MaskPicture->Assign(ASkinData->FActivePictures[AMaskPictureIndex].get());
        auto Mask = std::make_unique<TbsBitmap>();
        Mask->SetSize(W, H);
        CopyPixels(MaskPicture.get(), Rect(0, 0, W, H), Mask.get());
        SetAlphaFromMaskPremultiplied(Image.get(), Mask.get());
    }
    AImage = std::move(Image);
}

void TbsDataSkinButton::InitAlphaImages(TbsSkinData* ASkinData)
{
    InitAlphaImageSet(this, ASkinData,
                      {{FAlphaNormalImage, AlphaMaskPictureIndex, SkinRect},
                       {FAlphaActiveImage, AlphaMaskActivePictureIndex, ActiveSkinRect},
                       {FAlphaDownImage, AlphaMaskActivePictureIndex, DownRect},
                       {FAlphaInActiveImage, AlphaMaskInActivePictureIndex, InActiveSkinRect}});
}

// ---- TbsDataSkinStdButton

const TbsFieldTable& TbsDataSkinStdButton::ClassFields()
{
    using Self = TbsDataSkinStdButton;
    static const TbsFieldTable Table = {
        BS_FIELD_INIT(Command, "command", StdCommand, cmDefault, cmClose),
        BS_FIELD(RestoreHint, "restorehint", Text, String()),
        BS_FIELD(RestoreRect, "restorerect", Rect, TRect()),
        BS_FIELD(RestoreActiveRect, "restoreactiverect", Rect, TRect()),
        BS_FIELD(RestoreDownRect, "restoredownrect", Rect, TRect()),
        BS_FIELD(RestoreInActiveRect, "restoreinactiverect", Rect, TRect()),
    };
    return Table;
}

BS_DEFINE_RECORD_CTOR(TbsDataSkinStdButton)

TbsDataSkinStdButton::~TbsDataSkinStdButton() = default;

void TbsDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile)
{
    inherited::LoadFromFile(IniFile);
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
    if (RestoreHint.empty()) RestoreHint = DefaultRestoreHint(Hint, Command);
}

void TbsDataSkinStdButton::SaveToFile(TCustomIniFile* IniFile)
{
    inherited::SaveToFile(IniFile);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

void TbsDataSkinStdButton::InitAlphaImages(TbsSkinData* ASkinData)
{
    inherited::InitAlphaImages(ASkinData);
    InitAlphaImageSet(this, ASkinData,
                      {{FAlphaRestoreNormalImage, AlphaMaskPictureIndex, RestoreRect},
                       {FAlphaRestoreActiveImage, AlphaMaskActivePictureIndex, RestoreActiveRect},
                       {FAlphaRestoreDownImage, AlphaMaskActivePictureIndex, RestoreDownRect},
                       {FAlphaInActiveRestoreImage, AlphaMaskInActivePictureIndex, RestoreInActiveRect}});
}

// ---- TbsDataSkinMainMenuBarButton: a standard button under another kind.

const TbsFieldTable& TbsDataSkinMainMenuBarButton::ClassFields()
{
    static const TbsFieldTable Table;
    return Table;
}

BS_DEFINE_RECORD(TbsDataSkinMainMenuBarButton)

// ---- TbsDataSkinAnimate

const TbsFieldTable& TbsDataSkinAnimate::ClassFields()
{
    using Self = TbsDataSkinAnimate;
    static const TbsFieldTable Table = {
        BS_FIELD_INIT(CountFrames, "countframes", Integer, 1, 0),
        BS_FIELD(Cycle, "cycle", Boolean, false),
        BS_FIELD(ButtonStyle, "buttonstyle", Boolean, false),
        BS_FIELD_INIT(TimerInterval, "timerinterval", Integer, 50, 0),
        BS_FIELD_INIT(Command, "command", StdCommand, cmDefault, cmClose),
        BS_FIELD(DownSkinRect, "downskinrect", Rect, TRect()),
        BS_FIELD(RestoreHint, "restorehint", Text, String()),
        BS_FIELD(RestoreRect, "restorerect", Rect, TRect()),
        BS_FIELD(RestoreActiveRect, "restoreactiverect", Rect, TRect()),
        BS_FIELD(RestoreDownRect, "restoredownrect", Rect, TRect()),
        BS_FIELD(RestoreInActiveRect, "restoreinactiverect", Rect, TRect()),
    };
    return Table;
}

void TbsDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile)
{
    inherited::LoadFromFile(IniFile);
    Morphing = false;
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
    if (RestoreHint.empty()) RestoreHint = DefaultRestoreHint(Hint, Command);
}

void TbsDataSkinAnimate::SaveToFile(TCustomIniFile* IniFile)
{
    inherited::SaveToFile(IniFile);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinMenuItem

const TbsFieldTable& TbsDataSkinMenuItem::ClassFields()
{
    using Self = TbsDataSkinMenuItem;
    static const TbsFieldTable Table = {
        BS_FIELD(DividerRect, "dividerrect", Rect, TRect()),
        BS_FIELD(DividerLO, "dividerleftoffset", Integer, 0),
        BS_FIELD(DividerRO, "dividerrightoffset", Integer, 0),
        BS_FIELD(ItemLO, "itemleftoffset", Integer, 0),
        BS_FIELD(ItemRO, "itemrightoffset", Integer, 0),
        BS_FIELD_INIT(FontName, "fontname", Text, String("Tahoma"), String()),
        BS_FIELD_INIT(FontHeight, "fontheight", Integer, 13, 0),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(UnEnabledFontColor, "unenabledfontcolor", Color, 0),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(TextRct, "textrect", Rect, TRect()),
        BS_FIELD(ImageRct, "imagerect", Rect, TRect()),
        BS_FIELD(UseImageColor, "useimagecolor", Boolean, false),
        BS_FIELD(ImageColor, "imagecolor", Color, 0),
        BS_FIELD(ActiveImageColor, "activeimagecolor", Color, 0),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(DividerStretchEffect, "dividerstretcheffect", Boolean, false),
        BS_FIELD(InActiveStretchEffect, "inactivestretcheffect", Boolean, false),
        BS_FIELD(AnimateSkinRect, "animateskinrect", Rect, TRect()),
        BS_FIELD(FrameCount, "framecount", Integer, 0),
        BS_FIELD_INIT(AnimateInterval, "animateinterval", Integer, 25, 0),
        BS_FIELD(InActiveAnimation, "inactiveanimation", Boolean, false),
        BS_FIELD(InActiveTransparent, "inactivetransparent", Boolean, false),
        BS_FIELD(CheckImageRect, "checkimagerect", Rect, TRect()),
        BS_FIELD(ActiveCheckImageRect, "activecheckimagerect", Rect, TRect()),
        BS_FIELD(RadioImageRect, "radioimagerect", Rect, TRect()),
        BS_FIELD(ActiveRadioImageRect, "activeradioimagerect", Rect, TRect()),
        BS_FIELD(ArrowImageRect, "arrowimagerect", Rect, TRect()),
        BS_FIELD(ActiveArrowImageRect, "activearrowimagerect", Rect, TRect()),
    };
    return Table;
}

void TbsDataSkinMenuItem::LoadFromFile(TCustomIniFile* IniFile)
{
    inherited::LoadFromFile(IniFile);
    bsReadFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
    // An empty highlighted mark takes the normal mark.
    if (IsEmptyRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
    if (IsEmptyRect(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
    if (IsEmptyRect(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

void TbsDataSkinMenuItem::SaveToFile(TCustomIniFile* IniFile)
{
    inherited::SaveToFile(IniFile);
    bsWriteFields(IniFile, IDName, static_cast<Root*>(this), ClassFields());
}

// ---- TbsDataSkinMainMenuItem, TbsDataSkinMainMenuBarItem

const TbsFieldTable& TbsDataSkinMainMenuItem::ClassFields()
{
    using Self = TbsDataSkinMainMenuItem;
    static const TbsFieldTable Table = {
        BS_FIELD(DownRect, "downrect", Rect, TRect()),
        BS_FIELD_INIT(FontName, "fontname", Text, String("Tahoma"), String()),
        BS_FIELD_INIT(FontHeight, "fontheight", Integer, 13, 0),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(DownFontColor, "downfontcolor", Color, 0),
        BS_FIELD(UnEnabledFontColor, "unenabledfontColor", Color, 0),
        BS_FIELD(TextRct, "textrect", Rect, TRect()),
        BS_FIELD(ItemLO, "itemleftoffset", Integer, 0),
        BS_FIELD(ItemRO, "itemrightoffset", Integer, 0),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(AnimateSkinRect, "animateskinrect", Rect, TRect()),
        BS_FIELD(FrameCount, "framecount", Integer, 0),
        BS_FIELD_INIT(AnimateInterval, "animateinterval", Integer, 25, 0),
        BS_FIELD(InActiveAnimation, "inactiveanimation", Boolean, false),
    };
    return Table;
}

BS_DEFINE_RECORD_IO(TbsDataSkinMainMenuItem)

const TbsFieldTable& TbsDataSkinMainMenuBarItem::ClassFields()
{
    static const TbsFieldTable Table;
    return Table;
}

BS_DEFINE_RECORD_IO(TbsDataSkinMainMenuBarItem)

// ---- TbsDataSkinCaption

const TbsFieldTable& TbsDataSkinCaption::ClassFields()
{
    using Self = TbsDataSkinCaption;
    static const TbsFieldTable Table = {
        BS_FIELD_INIT(FontName, "fontname", Text, String("Tahoma"), String()),
        BS_FIELD_INIT(FontHeight, "fontheight", Integer, 13, 0),
        BS_FIELD(FontStyle, "fontstyle", FontStyles, TFontStyles()),
        BS_FIELD(FontColor, "fontcolor", Color, 0),
        BS_FIELD(ActiveFontColor, "activefontcolor", Color, 0),
        BS_FIELD(ShadowColor, "shadowcolor", Color, 0),
        BS_FIELD(ActiveShadowColor, "activeshadowcolor", Color, 0),
        BS_FIELD(Shadow, "shadow", Boolean, false),
        BS_FIELD_INIT(Alignment, "alignment", Alignment, taCenter, taLeftJustify),
        BS_FIELD(TextRct, "textrect", Rect, TRect()),
        BS_FIELD(FrameRect, "framerect", Rect, TRect()),
        BS_FIELD(ActiveFrameRect, "activeframerect", Rect, TRect()),
        BS_FIELD(FrameLeftOffset, "frameleftoffset", Integer, 0),
        BS_FIELD(FrameRightOffset, "framerightoffset", Integer, 0),
        BS_FIELD(FrameTextRect, "frametextrect", Rect, TRect()),
        BS_FIELD(Light, "light", Boolean, false),
        BS_FIELD(LightColor, "lightcolor", Color, 0),
        BS_FIELD(ActiveLightColor, "activelightcolor", Color, 0),
        BS_FIELD(StretchEffect, "stretcheffect", Boolean, false),
        BS_FIELD(AnimateSkinRect, "animateskinrect", Rect, TRect()),
        BS_FIELD(FrameCount, "framecount", Integer, 0),
        BS_FIELD_INIT(AnimateInterval, "animateinterval", Integer, 25, 0),
        BS_FIELD(InActiveAnimation, "inactiveanimation", Boolean, false),
        BS_FIELD(FullFrame, "fullframe", Boolean, false),
        BS_FIELD(GlowEffect, "gloweffect", Boolean, false),
        BS_FIELD(VistaGlowEffect, "vistagloweffect", Boolean, false),
        BS_FIELD(VistaGlowInActiveEffect, "vistaglowinactiveeffect", Boolean, false),
        BS_FIELD(GlowInActiveEffect, "glowinactiveeffect", Boolean, false),
        BS_FIELD_INIT(GlowSize, "glowsize", Integer, 3, 0),
        BS_FIELD(GlowColor, "glowcolor", Color, 0),
        BS_FIELD(GlowActiveColor, "glowactivecolor", Color, 0),
        BS_FIELD(GlowOffset, "glowoffset", Integer, 0),
        BS_FIELD(ReflectionEffect, "reflectioneffect", Boolean, false),
        BS_FIELD(ReflectionColor, "reflactioncolor", Color, 0),
        BS_FIELD(ReflectionActiveColor, "reflactionactivecolor", Color, 0),
        BS_FIELD(ReflectionOffset, "reflectionoffset", Integer, 0),
        BS_FIELD(DividerRect, "dividerrect", Rect, TRect()),
        BS_FIELD(InActiveDividerRect, "inactivedividerrect", Rect, TRect()),
        BS_FIELD(DividerTransparent, "dividertransparent", Boolean, false),
        BS_FIELD(DividerTransparentColor, "dividertransparentcolor", Color, 0),
        BS_FIELD_INIT(QuickButtonAlphaMaskPictureIndex, "quickbuttonalphamaskpictureindex", Integer, -1, 0),
    };
    return Table;
}

BS_DEFINE_RECORD_IO(TbsDataSkinCaption)
