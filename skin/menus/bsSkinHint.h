// Skinned hints: the hint window the application uses for every control hint
// (TbsSkinHintWindow) and the component a form carries that puts it in charge and offers
// its own timed hints (TbsSkinHint).  Every hint window takes its settings from the first
// active TbsSkinHint among the components of the application's main form; with none it
// shows nothing.
#pragma once

#include <memory>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"
#include "skin/core/bsSkinData.h"

class TbsSkinHint;

class TbsSkinHintWindow : public THintWindow {
public:
    explicit TbsSkinHintWindow(TComponent* AOwner);
    ~TbsSkinHintWindow() override;

    // Shows AHint with its top-left at Rect's top-left (the rest of Rect is not used).
    void ActivateHint(TRect Rect, const String& AHint) override;
    void ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                        TCustomImageList* AImageList);
    // A plain hint centred above (ATop) or below ARect.
    void ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop);

    const String& Text() const { return FText; }
    TbsSkinHint* SettingsComponent() const { return FspHint; }
    bool ExtendedStyle() const { return AExtendedStyle; }
    bool Layered() const { return FOldAlphaBlend; }
    uint8_t AppliedAlpha() const { return FOldAlphaBlendValue; }
    // The opacities of the last fade-in, in order.
    std::vector<uint8_t> FadeSteps;

    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;

private:
    enum class TKind { Plain, Extended, FromRect };
    void Activate(TKind Kind, TRect Rect, const String& AHint, bool ATop);
    void SetCanvasFont(TCanvas* C);
    TSize MeasureText(TCanvas* C, const String& Text);
    void CalcHintSize(int& W, int& H);
    void CalcHintSizeEx(int& W, int& H);
    void GrowToSkin(int TW, int TH, int Extra, int& W, int& H);
    void UpdateHintRegion();
    void PaintEx(TCanvas* C);

    String FText;
    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    HRGN FRgn = nullptr;
    bool FOldAlphaBlend = false;
    uint8_t FOldAlphaBlendValue = 0;
    bool AExtendedStyle = false;
};

using TbsShowHintEvent = TShowHintEvent;

class TbsSkinHint : public TComponent {
public:
    explicit TbsSkinHint(TComponent* AOwner);
    ~TbsSkinHint() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    const String& LineSeparator() const { return FLineSeparator; }
    void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
    const String& HintTitle() const { return FHintTitle; }
    int HintImageIndex() const { return FHintImageIndex; }
    TCustomImageList* HintImageList() const { return FHintImageList; }

    // Shown at once at P, until hidden.
    void ActivateHint(TPoint P, const String& AHint);
    void ActivateTntHint(TPoint P, const String& AHint) { ActivateHint(P, AHint); }
    void ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                        TCustomImageList* AImageList);
    // Shown below the cursor after the application's hint pause, hidden after its hide pause.
    void ActivateHint2(const String& AHint);
    void ActivateTntHint2(const String& AHint) { ActivateHint2(AHint); }
    void ActivateHintEx2(const String& AHintTitle, const String& AHint, int AImageIndex, TCustomImageList* AImageList);
    // Shown centred above (ATop) or below AFromRect after the hint pause.
    void ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop);
    // Cancels a pending hint and hides the shown one.
    void HideHint();
    bool IsVisible() const;
    int GetCursorHeightMargin() const;
    // The text with every separator turned into a line break.
    String InsertLineBreaks(const String& Text) const;
    TbsSkinHintWindow* Window() const { return HW; }
    bool Pending() const { return FPhase == 1; }

    // The application's show-hint handler while this component is in charge.
    void AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
    // The first active hint component of the application's main form, or none.
    static TbsSkinHint* FindSkinHint();

    TShowHintEvent OnShowHint;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    bool UseSkinFont = true;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TbsSkinHintWindow;
    enum class TPending { Plain, Extended, FromRect };
    void StartTimer(TPending Kind);
    void TimerTick();
    bool FActive = true;
    TbsSkinData* FSD = nullptr;
    TbsSkinHintWindow* HW = nullptr;  // owned
    std::unique_ptr<TFont> FDefaultFont;
    TTimer* HintTimer = nullptr;      // owned; enabled while a hint is pending or shown
    int FPhase = 0;                   // 0 idle, 1 pending, 2 shown until the hide pause
    TPending FPendingKind = TPending::Plain;
    String HintText;
    String FLineSeparator = "@";
    TRect FromRect;
    bool Top = false;
    String FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};
