// The caption objects of the skinned form frame: the live elements the frame makes from
// its skin's form object records (the base object, areas the application paints, buttons
// that may open a menu, the standard caption buttons, the caption with the frame's quick
// buttons, animated objects), the quick buttons themselves, the set of caption buttons a
// frame offers, and the looks the caption buttons share with the menu bar's buttons.  The
// frame owns every object; their rectangles are in form-window coordinates, like the
// frame's.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/core/bsEffects.h"
#include "skin/core/bsSkinData.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

class TbsSkinFormFrame;

// Turns E into the transition frame Kf (0..1) from its own picture towards Other's, by the
// transition of Kind.
void bsMorphEffectBmp(TbsEffectBmp& E, const TbsEffectBmp& Other, double Kf, TbsMorphKind Kind);

// Gives E the look a skin asks for an inactive form (brightened, darkened, grey, noisy,
// blurred or inverted).
void bsApplyInActiveEffect(TbsEffectBmp& E, TbsInActiveEffect Effect);

// The face of a caption or menu bar button in the default look, W x H at the origin of C:
// pressed and hot faces are framed and filled in the default palette, others button face.
void bsDrawDefaultFace(TCanvas* C, int W, int H, bool Pressed, bool Hot);

// The caption buttons a frame offers.  (Scoped: the platform's form has buttons of the
// same names.)
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;

// ---------------------------------------------------------------------------------------
// Caption quick buttons
// ---------------------------------------------------------------------------------------

// A small image button drawn in the caption before the caption text.
class TbsQuickButtonItem : public TCollectionItem {
public:
    explicit TbsQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* Value) { FPopupMenu = Value; }
    TNotifyEvent OnClick;

    // Its place in the caption, set when the caption draws it.
    const TRect& ItemRect() const { return FItemRect; }
    void SetItemRect(const TRect& Value) { FItemRect = Value; }
    // The cursor is over it; it is pressed.  The caption draws them at its next paint.
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }

private:
    TRect FItemRect;
    bool FActive = false, FDown = false;
    int FImageIndex = -1;
    String FHint;
    bool FEnabled = true, FVisible = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
};

class TbsQuickButtonItems : public TCollection {
public:
    explicit TbsQuickButtonItems(TbsSkinFormFrame* AForm);
    TbsQuickButtonItem* Items(int Index) const { return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index)); }
    TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }
    TbsQuickButtonItem* Insert(int Index) { return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index)); }
    // The frame whose caption is redrawn when a button changes (none: nothing is redrawn).
    void SetSkinFormFrame(TbsSkinFormFrame* Value) { BSF = Value; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TbsSkinFormFrame* BSF;
};

// ---------------------------------------------------------------------------------------
// Caption skin objects
// ---------------------------------------------------------------------------------------

// One live element of the skinned frame (a button, the caption, a user-painted area),
// made from a form object record of the skin.  The frame owns every object.
class TbsActiveSkinObject : public TObject {
public:
    TbsActiveSkinObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    ~TbsActiveSkinObject() override = default;

    virtual bool PointInMask(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    virtual void DrawAlpha(TCanvas*, TbsBitmap*) {}
    virtual void DblClick() {}
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing();
    void DoMorphing();
    void BeginMorph();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value) { FMorphKf = Value < 0 ? 0 : Value > 1 ? 1 : Value; }
    // ObjectRect in screen coordinates (glow windows and menus are placed by it).
    TRect ScreenRect();
    // The object drops the hover and the press its look shows (the caption keeps its
    // look: it follows the form's activation).  Nothing is redrawn.
    virtual void ResetState();

    // Its place in the frame, set by the frame's (or the layered border's) layout.
    const TRect& ObjectRect() const { return FObjectRect; }
    void SetObjectRect(const TRect& Value) { FObjectRect = Value; }
    void OffsetObjectRect(int DX, int DY) { OffsetRect(FObjectRect, DX, DY); }
    // Hot (the caption: the form is active); the look follows through the morph and
    // animation timers.
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    // Enabled and shown, as the frame's caption buttons and border icons decide; the frame
    // repaints its caption after changing them.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    const String& IDName() const { return FIDName; }
    const String& Hint() const { return FHint; }
    const TRect& SkinRect() const { return FSkinRect; }
    // The skin record's looks lie in its active picture (the default look: none).
    bool SkinRectInAPicture() const { return FSkinRectInAPicture; }
    TBitmap* ActivePicture() const { return FActivePicture; }
    void SetActivePicture(TBitmap* Value) { FActivePicture = Value; }

    TbsSkinFormFrame* Parent;
    TBitmap* Picture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0, GlowLayerAlphaBlendValue = 0;

protected:
    // Copies R of APicture onto ObjectRect of Cnvs (stretched); nothing without a picture.
    void CopyLook(TCanvas* Cnvs, TBitmap* APicture, const TRect& R);
    // The morph frame from the look R1 of P1 towards R2 of P2 by FMorphKf and MorphKind.
    void DrawMorph(TCanvas* Cnvs, TBitmap* P1, const TRect& R1, TBitmap* P2, const TRect& R2);
    bool SkinEmpty() const;
    bool MorphUnderWay() const;
    // The glow picture of the object shown or hidden through L, when the skin asks for
    // glow frames and the object has one.
    void ShowGlow(TbsLayerManager* L);
    void HideGlow(TbsLayerManager* L);

    double FMorphKf = 0;
    bool FMouseIn = false;
    TBitmap* FActivePicture = nullptr;
    String FIDName, FHint;
    TRect FSkinRect, FActiveSkinRect, FObjectRect;
    bool FActive = false;
    bool FEnabled = true, FVisible = true;
    bool FSkinRectInAPicture = false;
};

// An area of the frame that the application paints itself (OnPaintEvent).
class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

// A caption button with normal, hot, pressed and disabled looks that may open a menu.
class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void ChangeDownState(bool Value);
    void PopupObjectMenu();
    // The menu the button opens (its root item; none: no menu) and whether it opens
    // upwards.
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* Value, bool APopupUp)
    {
        FMenuItem = Value;
        FPopupUp = APopupUp;
    }
    // Pressed.
    bool Down() const { return FDown; }
    // The button is neither pressed nor under the mouse any more (not redrawn).
    void ReleaseMouse() { FDown = FMouseIn = false; }

    TRect DisableSkinRect;

protected:
    bool FDown = false;
    bool FPopupUp = false;
    TRect FDownRect;
    TMenuItem* FMenuItem = nullptr;
};

// A caption button bound to one of the frame's commands (close, maximize, minimize,
// roll-up, minimize to tray, system menu), with a restore look and a default look.
class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    bool PointInMask(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void ExecuteCommand();
    // The window state the command toggles is in force (the restore look applies).
    bool RestoreLook();
    // The system menu button shows the form's icon.
    bool IconMode();
    // A button of the default look (drawn by DefaultDraw, no skin picture): its name and
    // command; its skin rectangles are the 1 x 1 placeholder.
    void SetDefaultLook(const String& AIDName, TbsStdCommand ACommand);
    TbsStdCommand Command() const { return FCommand; }
    // The hints of the command: the button shows ARestoreHint while the command's window
    // state holds, AHint otherwise (kept aside for the switch back).
    void SetCommandHints(const String& AHint, const String& ARestoreHint);
    const String& RestoreHint() const { return FRestoreHint; }

    TbsBitmap* FAlphaNormalImage = nullptr;
    TbsBitmap* FAlphaActiveImage = nullptr;
    TbsBitmap* FAlphaDownImage = nullptr;
    TbsBitmap* FAlphaRestoreNormalImage = nullptr;
    TbsBitmap* FAlphaRestoreActiveImage = nullptr;
    TbsBitmap* FAlphaRestoreDownImage = nullptr;
    TbsBitmap* FAlphaInActiveImage = nullptr;
    TbsBitmap* FAlphaInActiveRestoreImage = nullptr;
    bool FSkinSupport = false;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    int AlphaMaskPictureIndex = -1, AlphaMaskActivePictureIndex = -1, AlphaMaskInActivePictureIndex = -1;

private:
    TbsStdCommand FCommand = cmClose;
    String FRestoreHint, FTempHint;
};

// The form's title: caption picture, text with the skin's font and effects, and the
// frame's quick buttons.  Active means the form is active.
class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation();
    void HoverQuickButtons(int X, int Y);
    void RedrawCaption();
    void PopupQuickButtonMenu(const TRect& AItemRect, TbsSkinPopupMenu* AMenu);
    // The text the caption shows (with a maximized MDI child's caption added).
    String CaptionText();
    // AFlags with the form's right-to-left reading flag, for every text the object draws.
    UINT TextFlags(UINT AFlags);
    // A left press over the quick buttons: press the one under (X, Y) or open its menu.
    void PressQuickButtons(int X, int Y);
    // The text rectangle relative to ObjectRect's top-left.
    TRect TextRect();
    // The skin's record of the quick buttons' hot looks ("officequickbutton", else
    // "resizetoolbutton") when it has a picture, which goes to Picture; none otherwise.
    TbsDataSkinButtonControl* QuickButtonRecord(TBitmap** Picture);
    // Builds in B the hot (or pressed) background of Item at its size; false without one.
    bool HotBackground(TbsQuickButtonItem* Item, TBitmap* B);
    void ResetState() override {}
    // The animation between the inactive and the active caption starts again towards the
    // current look: forwards from the first frame when active, backwards from the last
    // (from none without an inactive animation) when not.
    void RestartAnimation();
    // One step (25 ms) of that animation: the wait grows until the skin's interval has
    // passed, then the frame moves one towards the current look and the wait starts
    // again.  False when nothing was left to do; FrameChanged: the caption is to be drawn.
    bool AnimationTick(bool& FrameChanged);
    // The menu a quick button opened has closed: the button goes back to its normal look.
    void QuickButtonMenuClosed();
    // The text effects and the quick buttons' looks the skin's caption record gives,
    // drawn from the next paint on.
    void SetGlowEffect(bool Value) { FGlowEffect = Value; }
    void SetVistaGlowEffect(bool Value) { FVistaGlowEffect = Value; }
    void SetGlowSize(int Value) { FGlowSize = Value; }
    void SetGlowColor(TColor Value) { FGlowColor = Value; }
    void SetGlowActiveColor(TColor Value) { FGlowActiveColor = Value; }
    void SetReflectionEffect(bool Value) { FReflectionEffect = Value; }
    void SetReflectionColor(TColor Value) { FReflectionColor = Value; }
    void SetReflectionActiveColor(TColor Value) { FReflectionActiveColor = Value; }
    void SetReflectionOffset(int Value) { FReflectionOffset = Value; }
    void SetDividerRect(const TRect& Value) { FDividerRect = Value; }
    void SetQuickButtonAlphaMaskPictureIndex(int Value) { FQuickButtonAlphaMaskPictureIndex = Value; }

    int ActiveQuickButton = -1, OldActiveQuickButton = -1, MouseCaptureQuickButton = -1;
    bool FDown = false;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct, FrameRect, ActiveFrameRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    bool StretchEffect = false, FullFrame = false;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;
    bool VistaGlowInActiveEffect = false, GlowInActiveEffect = false;
    int GlowOffset = 0;
    TRect InActiveDividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;

private:
    int FPopupMenuQuickButton = -1;
    int FIncTime = 0, FCurrentFrame = 0;
    bool FVistaGlowEffect = false, FGlowEffect = false;
    int FGlowSize = 0;
    TColor FGlowColor = 0, FGlowActiveColor = 0;
    bool FReflectionEffect = false;
    TColor FReflectionColor = 0, FReflectionActiveColor = 0;
    int FReflectionOffset = 0;
    TRect FDividerRect;
    int FQuickButtonAlphaMaskPictureIndex = -1;

    void SetCaptionFont(TCanvas* C, TColor Color);
    void PaintText(TCanvas* K, TCanvas* EventCanvas, int OX, int OY, bool A, const TRect& T);
    void BuildPicture(TBitmap* B, TBitmap* P, const TRect& S);
    void Compose(TBitmap* B, TBitmap* P, const TRect& S, TColor C, bool A, const TRect& T);
    void DrawQuickButtons(TCanvas* Cnvs);
    bool HasQuickButtons();
};

// A strip of animation frames of the skin shown in the frame; with ButtonStyle a caption
// button carrying a command: its frames run forwards while hovered and back on leaving.
class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData);
    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Start();
    void Stop();
    void ChangeFrame();
    void ShowFrame(int Value);
    void ExecuteCommand();
    void PopupObjectMenu();
    // The command's window state holds and the skin has a restore look.
    bool RestoreLook();
    void ResetState() override;
    // The menu the object opens as a caption button (its root item; none: no menu) and
    // whether it opens upwards.
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* Value, bool APopupUp)
    {
        FMenuItem = Value;
        FPopupUp = APopupUp;
    }
    // The menu it opened has closed: it shows its last frame, hot, and runs back from
    // there (the caller starts the animation timer).  False when it had no menu open.
    bool MenuClosed();
    TbsStdCommand Command() const { return FCommand; }
    void SetCommand(TbsStdCommand Value) { FCommand = Value; }
    // The hints of the command: the object shows ARestoreHint while the command's window
    // state holds, AHint otherwise (kept aside for the switch back).
    void SetCommandHints(const String& AHint, const String& ARestoreHint);
    // The frame shown (1 .. CountFrames), pressed, a menu of it open.
    int Frame() const { return FFrame; }
    bool Down() const { return FDown; }
    bool MenuTracking() const { return FMenuTracking; }

    int FInc = 25, TimerInterval = 25;
    int CountFrames = 1;
    bool Cycle = false, ButtonStyle = false;
    TRect DownSkinRect;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;

private:
    int FFrame = 1;
    TMenuItem* FMenuItem = nullptr;
    bool FPopupUp = false, FDown = false, FMenuTracking = false;
    bool FIncrement = true;
    TbsStdCommand FCommand = cmDefault;
    String FRestoreHint, FTempHint;

    TRect FrameRect(int N);
    void RunOrDraw();
};
