// The layered border of the skinned form frame: the soft border and shadow of a skin's
// layer frame shown in four layered windows around the form, and those windows, which
// resize the form by their border zones and, with a full border, move it by the caption
// and pass the mouse to the caption objects drawn in the top window.
#pragma once

#include <memory>

#include "platform/forms/Forms.h"
#include "skin/core/bsSkinData.h"
#include "skin/core/bsUtils.h"

class TbsSkinFormFrame;

class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone, bsflhLeft, bsflhTop, bsflhRight, bsflhBottom, bsflhTopLeft, bsflhTopRight, bsflhBottomLeft,
    bsflhBottomRight, bsflCaption, bsflObject
};

// One of the four windows of the layered border: a borderless layered top-level that shows
// its image, never takes the activation or the focus (it brings the form forward instead),
// resizes the form by its border zones and, with a full border, moves it by the caption
// and passes the mouse to the caption objects drawn in the top image.
class TbsFormLayerWindow : public TForm {
public:
    TbsFormLayerWindow(TComponent* AOwner, TCustomForm* AForm);
    void Dispatch(TMessage& Message) override;
    TbsFormLayerBorderHit GetHitMode(TPoint P);
    bool CanSizeForm();
    // The side of the form the window stands at, given by its border when it shows.
    TbsFormLayerBorderType BorderType() const { return FBorderType; }
    void SetBorderType(TbsFormLayerBorderType Value) { FBorderType = Value; }

    bool FDown = false;
    TCustomForm* FForm = nullptr;
    TbsFormLayerBorder* FLayerBorder = nullptr;
    TPoint MousePos1, MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DblClickAt(int X, int Y);
    void ResizeStep(int DX, int DY, TPoint C);
    void MoveStep(int DX, int DY);
    void ApplyBounds(int L, int T, int W, int H);

    TbsFormLayerBorderType FBorderType = bsflLeft;
};

// The soft border and shadow of a skin's layer frame, shown as four layered windows
// around the form (above, below, left and right).  With a full border the top window
// carries the whole caption: the standard buttons and the caption text are drawn into it.
class TbsFormLayerBorder : public TComponent {
public:
    explicit TbsFormLayerBorder(TComponent* AOwner);
    ~TbsFormLayerBorder() override;

    void InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm);
    void Show(int X, int Y, int AWidth, int AHeight);
    void ShowWithForm();
    void ShowWithFormAnimation();
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void Update(int X, int Y, int AWidth, int AHeight);
    void UpdateBorder();
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void Draw(TCanvas* C, int X, int Y, int AWidth, int AHeight);
    void HoverObjects(int X, int Y);
    void MouseTimerTick(TObject* Sender);
    // The border's outer rectangle (left, top, width, height) for a form of these bounds.
    TRect BorderBounds(int L, int T, int W, int H, bool RollUpHeight = true);
    // The constant alpha of the windows in the current look.
    int CurrentAlpha() const { return FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue; }
    bool BlurApplies();
    // The active look the windows show with, set before they are shown (SetActive also
    // lets go of the hover and the press and updates the shown windows).
    void SetActiveLook(bool Value) { FActive = Value; }
    // The caption object under the mouse in the top window (-1: none), tracked by
    // HoverObjects; a border without the caption has none.
    int ActiveObject() const { return FActiveObject; }
    void ClearActiveObject() { FActiveObject = -1; }
    // The caption object that holds the mouse since a press in the top window (-1: none):
    // the one under the mouse when pressed.
    int MouseCaptureObject() const { return FMouseCaptureObject; }
    void CaptureActiveObject() { FMouseCaptureObject = FActiveObject; }
    void ReleaseMouseCapture() { FMouseCaptureObject = -1; }
    // The constant alpha of the active look, which the fade-in raises step by step.
    int CurrentAlphaBlendValue() const { return FCurrentAlphaBlendValue; }
    void SetCurrentAlphaBlendValue(int Value) { FCurrentAlphaBlendValue = Value; }

    TbsSkinFormFrame* BSF = nullptr;
    bool FIsAeroEnabled = false;
    TTimer* MouseTimer = nullptr;
    // Steps the fade-in of ShowWithFormAnimation (every FadeStepInterval ms).
    TTimer* FadeTimer = nullptr;
    int FFadeTarget = 0, FFadeStep = 1;
    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
    TbsFormLayerWindow* LeftBorder = nullptr;
    TbsFormLayerWindow* TopBorder = nullptr;
    TbsFormLayerWindow* RightBorder = nullptr;
    TbsFormLayerWindow* BottomBorder = nullptr;
    int FWidth = 0, FHeight = 0;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    int HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    int HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    int OldActiveObject = -1;
    HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
    HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
    int FCurrentInActiveAlphaBlendValue = 0;

private:
    void FadeTimerTick(TObject* Sender);
    void StopFade();
    void CreateBorderImages(int BW, int BH);
    void PlaceObjects();
    void BuildBlurMaskRegions();
    void BuildBlurRegions();
    void FreeWindows();
    void PushImages(bool Blur);
    void PlaceWindows(int X, int Y, int BW, int BH, UINT ExtraFlags, bool HideEmptySides);
    void ReleaseStdButtons();
    int TopHeight() const;

    int FActiveObject = -1, FMouseCaptureObject = -1;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1;
};
