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

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"
#include "skin/bsEffects.h"
#include "skin/bsSkinData.h"
#include "skin/bsUtils.h"

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
