// Skinned message boxes: TbsSkinMessage builds a fresh dialog form in code for every
// call (frame, message label, icon, one skinned button per requested button, and on
// request a "do not show again" check box), shows it modally, frees it and returns the
// modal result.  Texts come from the control skin data's interface strings when it has
// them, else from the built-in English captions.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/Forms.h"
#include "platform/graphics/ImgList.h"

class TbsSkinData;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;
class TbsSkinFormFrame;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp,
                  mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr int MsgDlgButtonCount = 12;
constexpr TModalResult mrClose = 11;

// A position with X below this centres the dialog on the screen.
constexpr int bsMessageCentre = -10000;
// The position that centred operations pass.
constexpr int bsMessageCentred = -10001;

using TbsMessageSetShowPosEvent = std::function<void(int& AX, int& AY, int AWidth, int AHeight)>;

// The dialog form of one message.
class TbsMessageForm : public TForm {
public:
    // An empty dialog owned by AOwner, centred when X is below -10000, else at (X, Y).
    TbsMessageForm(TComponent* AOwner, int X, int Y);

    TbsSkinFormFrame* BSF = nullptr;
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TbsSkinStdLabel* Message = nullptr;
    // Shows the help for the form's HelpContext: the form's help file, else the application's,
    // opened with the desktop's opener.  The dialog stays open.
    void HelpButtonClick(TObject* Sender);
    // The control focused when the dialog shows (the form is not visible yet).
    void SetStartControl(TWinControl* C) { FActiveControl = C; }

protected:
    // Escape answers mrCancel where no button has the cancel role, so that every dialog
    // (one without buttons too) can be closed from the keyboard.
    void KeyDown(WORD& Key, TShiftState Shift) override;
};

// The caption of button Index and the title of a dialog type, from the interface strings
// of ACtrlSkinData when it has them, else the built-in texts.
String GetMessageButtonCaption(int Index, TbsSkinData* ACtrlSkinData);
String GetMessageTitle(TMsgDlgType DlgType, TbsSkinData* ACtrlSkinData);

class TbsSkinMessage : public TComponent {
public:
    explicit TbsSkinMessage(TComponent* AOwner);
    ~TbsSkinMessage() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
    const String& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const String& Value) { FMessageLabelSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    bool ShowAgainFlag() const { return FShowAgainFlag; }
    void SetShowAgainFlag(bool Value) { FShowAgainFlag = Value; }
    bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
    void SetShowAgainFlagValue(bool Value) { FShowAgainFlagValue = Value; }
    TbsMessageSetShowPosEvent OnSetShowPos;

    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                   TMsgDlgBtn DefaultButton);
    int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y,
                      TMsgDlgBtn DefaultButton);
    int MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                       const String& HelpFileName);
    int MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                    int HelpCtx);
    int MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx, const String& HelpFileName);
    int CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                         TMsgDlgButtons Buttons, int HelpCtx);
    int CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                         TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton);
    int CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                            TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    int CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                            TMsgDlgButtons Buttons, int HelpCtx, int X, int Y, TMsgDlgBtn DefaultButton);
    int CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                             TMsgDlgButtons Buttons, int HelpCtx, const String& HelpFileName);
    int WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                          int Y);

    // The settings every builder takes (public for the builders).
    struct TSettings;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct TRequest;
    int Run(const TRequest& R);

    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    String FButtonSkinDataName = "button";
    String FMessageLabelSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont, FDefaultButtonFont;
    bool FUseSkinFont = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 200;
    bool FShowAgainFlag = false, FShowAgainFlagValue = false;
};
