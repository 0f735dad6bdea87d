// Skinned message boxes: texts, the dialog builder and the operations.
#include "skin/dialogs/bsMessages.h"

#include "platform/forms/ExtCtrls.h"
#include "platform/shell/ShellAPI.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

namespace {

struct TButtonEntry {
    const char* Name;
    TModalResult Result;
    const char* Key;  // none for Close
    const char* Fallback;
};
const TButtonEntry ButtonTable[MsgDlgButtonCount] = {
    {"Yes", mrYes, "MSG_BTN_YES", "&Yes"},
    {"No", mrNo, "MSG_BTN_NO", "&No"},
    {"OK", mrOk, "MSG_BTN_OK", "OK"},
    {"Cancel", mrCancel, "MSG_BTN_CANCEL", "Cancel"},
    {"Abort", mrAbort, "MSG_BTN_ABORT", "&Abort"},
    {"Retry", mrRetry, "MSG_BTN_RETRY", "&Retry"},
    {"Ignore", mrIgnore, "MSG_BTN_IGNORE", "&Ignore"},
    {"All", mrAll, "MSG_BTN_ALL", "&All"},
    {"NoToAll", mrNoToAll, "MSG_BTN_NOTOALL", "N&oToAll"},
    {"YesToAll", mrYesToAll, "MSG_BTN_YESTOALL", "&YesToAll"},
    {"Help", mrNone, "MSG_BTN_HELP", "&Help"},
    {"Close", mrClose, nullptr, "Close"},
};

struct TTypeEntry {
    const char* Key;
    const char* Fallback;
    int Icon;
};
const TTypeEntry TypeTable[] = {
    {"MSG_CAP_WARNING", "Warning", IDI_EXCLAMATION},
    {"MSG_CAP_ERROR", "Error", IDI_HAND},
    {"MSG_CAP_INFORMATION", "Information", IDI_ASTERISK},
    {"MSG_CAP_CONFIRM", "Confirm", IDI_QUESTION},
    {nullptr, nullptr, 0},
};

const char* const SShowFlagKey = "MSG_CAP_SHOWFLAG";
const char* const SShowFlagFallback = "Do not display this message again";

constexpr int ButtonWidth = 70, ButtonGap = 10;

TbsResourceStrData* StringsOf(TbsSkinData* SD) { return SD ? SD->ResourceStrData() : nullptr; }

}  // namespace

String GetMessageButtonCaption(int Index, TbsSkinData* ACtrlSkinData)
{
    if (Index < 0 || Index >= MsgDlgButtonCount) return String();
    if (TbsResourceStrData* RS = StringsOf(ACtrlSkinData)) {
        // the Close button has no key of its own: its built-in caption stands
        if (!ButtonTable[Index].Key) return ButtonTable[Index].Fallback;
        return RS->GetResStr(ButtonTable[Index].Key);
    }
    return ButtonTable[Index].Fallback;
}

String GetMessageTitle(TMsgDlgType DlgType, TbsSkinData* ACtrlSkinData)
{
    if (DlgType == mtCustom) return String();
    if (TbsResourceStrData* RS = StringsOf(ACtrlSkinData)) return RS->GetResStr(TypeTable[DlgType].Key);
    return TypeTable[DlgType].Fallback;
}

// ---- the form ------------------------------------------------------------------------------------

TbsMessageForm::TbsMessageForm(TComponent* AOwner, int X, int Y) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    if (X < bsMessageCentre) {
        SetPosition(poScreenCenter);
    } else {
        SetPosition(poDesigned);
        SetLeft(X);
        SetTop(Y);
    }
    BSF = new TbsSkinFormFrame(this);
    BSF->SetBorderIcons({});
}

void TbsMessageForm::KeyDown(WORD& Key, TShiftState Shift)
{
    TForm::KeyDown(Key, Shift);
    if (Key != VK_ESCAPE || !Shift.Empty()) return;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* B = dynamic_cast<TbsSkinButton*>(Controls(I)); B && B->Cancel() && B->Visible() && B->Enabled())
            return;
    Key = 0;
    SetModalResult(mrCancel);
}

void TbsMessageForm::HelpButtonClick(TObject*)
{
    String File = !HelpFile().empty() ? HelpFile() : (Application ? Application->HelpFile() : String());
    if (!File.empty()) ShellExecute(nullptr, "open", File);
}

// ---- building ------------------------------------------------------------------------------------

struct TbsSkinMessage::TSettings {
    TbsSkinData* SkinData;
    TbsSkinData* CtrlSkinData;
    String ButtonSkinDataName, MessageLabelSkinDataName;
    TFont* DefaultFont;
    TFont* DefaultButtonFont;
    bool UseSkinFont, AlphaBlend, AlphaBlendAnimation;
    uint8_t AlphaBlendValue;
    bool ShowAgainFlag, ShowAgainFlagValue;
};

// One message as an operation asks for it.
struct TbsSkinMessage::TRequest {
    String Msg;
    bool TypeTitle = true;  // title from the type (else Caption)
    String Caption;
    TMsgDlgType DlgType = mtCustom;
    bool SystemIcon = true;  // else the image list's picture
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    TMsgDlgButtons Buttons;
    bool HasDefault = false;
    TMsgDlgBtn DefaultButton = mbOK;
    int X = bsMessageCentred, Y = bsMessageCentred;
    bool CheckBoxAllowed = true;
    bool CallSetShowPos = false;
    int HelpCtx = 0;
    bool SetHelpFile = false;
    String HelpFileName;

    // The three kinds of message: titled by its type, by a caption, or by a caption
    // with a picture of an image list.
    static TRequest Typed(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx)
    {
        TRequest R;
        R.Msg = AMsg;
        R.DlgType = ADlgType;
        R.Buttons = AButtons;
        R.HelpCtx = AHelpCtx;
        return R;
    }
    static TRequest Titled(const String& AMsg, const String& ACaption, TMsgDlgType ADlgType, TMsgDlgButtons AButtons,
                           int AHelpCtx)
    {
        TRequest R = Typed(AMsg, ADlgType, AButtons, AHelpCtx);
        R.TypeTitle = false;
        R.Caption = ACaption;
        return R;
    }
    static TRequest Custom(const String& AMsg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                           TMsgDlgButtons AButtons, int AHelpCtx)
    {
        TRequest R = Titled(AMsg, ACaption, mtCustom, AButtons, AHelpCtx);
        R.SystemIcon = false;
        R.Images = AImages;
        R.ImageIndex = AImageIndex;
        return R;
    }
    // Placed at (AX, AY), after the program's OnSetShowPos has had its say.
    TRequest& ShowPos(int AX, int AY)
    {
        At(AX, AY);
        CallSetShowPos = true;
        return *this;
    }
    // Placed at (AX, AY) as given.
    TRequest& At(int AX, int AY)
    {
        X = AX;
        Y = AY;
        return *this;
    }
    TRequest& Default(TMsgDlgBtn AButton)
    {
        HasDefault = true;
        DefaultButton = AButton;
        return *this;
    }
    TRequest& HelpFile(const String& AFileName)
    {
        SetHelpFile = true;
        HelpFileName = AFileName;
        return *this;
    }
    TRequest& NoCheckBox()
    {
        CheckBoxAllowed = false;
        return *this;
    }
};

namespace {

TbsMessageForm* BuildMessageForm(const TbsSkinMessage::TSettings& S, const String& Msg, const String& Title,
                                 bool SystemIcon, TMsgDlgType DlgType, TCustomImageList* Images, int ImageIndex,
                                 TMsgDlgButtons Buttons, bool HasDefault, TMsgDlgBtn DefaultButton, int X, int Y,
                                 bool CheckBoxAllowed)
{
    auto* F = new TbsMessageForm(Application, X, Y);
    try {
        F->BSF->SetSkinData(S.SkinData);
        F->BSF->SetMenusSkinData(S.CtrlSkinData);
        F->BSF->SetAlphaBlend(S.AlphaBlend);
        F->BSF->SetAlphaBlendAnimation(S.AlphaBlendAnimation);
        F->BSF->SetAlphaBlendValue(S.AlphaBlendValue);
        // without buttons the caption's close button is the mouse's way out
        if (Buttons.Empty()) F->BSF->SetBorderIcons({TbsBorderIcon::biSystemMenu});
        // the window now, so that the client sizes below are measured inside the frame's borders
        F->HandleNeeded();

        // button metrics
        int ButtonHeight = 25;
        TbsSkinData* CSD = S.CtrlSkinData;
        if (CSD && !CSD->Empty) {
            int I = CSD->GetControlIndex(S.ButtonSkinDataName);
            if (I >= 0)
                if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(CSD->CtrlList[size_t(I)].get()))
                    ButtonHeight = B->SkinRect.Bottom - B->SkinRect.Top;
        }
        int N = 0;
        for (int I = 0; I < MsgDlgButtonCount; ++I) N += Buttons.Contains(TMsgDlgBtn(I));
        int RowWidth = N ? N * ButtonWidth + N * ButtonGap - ButtonGap : 0;

        F->SetCaption(Title);

        // the message
        auto* L = new TbsSkinStdLabel(F);
        L->Font()->Assign(S.DefaultFont);
        L->SetDefaultFont(S.DefaultFont);
        L->SetUseSkinFont(S.UseSkinFont);
        L->SetSkinDataName(S.MessageLabelSkinDataName);
        L->SetSkinData(CSD);
        L->SetName("Message");
        L->SetParent(F);
        L->SetAutoSize(true);
        L->SetCaption(Msg);
        L->SetLeft(50);
        L->SetTop(15);
        F->Message = L;
        int LabelRight = L->Left() + L->Width();

        // the picture
        if (SystemIcon) {
            auto* Img = new TImage(F);
            Img->SetName("Image");
            Img->SetParent(F);
            int Id = TypeTable[DlgType].Icon;
            if (Id) {
                auto Ico = std::make_unique<TIcon>();
                Ico->SetHandle(LoadIcon(0, Id));
                Img->Picture()->SetGraphic(Ico.get());
            }
            Img->SetBounds(5, std::max(10, L->Top() + L->Height() / 2 - 16), 32, 32);
        } else if (Images && ImageIndex >= 0 && ImageIndex <= Images->Count() - 1) {
            auto* Img = new TImage(F);
            Img->SetName("Image");
            Img->SetParent(F);
            Img->SetTransparent(true);
            auto Ico = std::make_unique<TIcon>();
            Images->GetIcon(ImageIndex, Ico.get());
            Img->Picture()->SetGraphic(Ico.get());
            Img->SetBounds(5, L->Top() + L->Height() / 2 - 16, Images->Width(), Images->Height());
        }

        int ClientHeight = ButtonHeight + L->Height() + 50;
        int ClientWidth = std::max(RowWidth, LabelRight) + 40;

        // the "do not show again" box
        if (CheckBoxAllowed && S.ShowAgainFlag) {
            ClientHeight += 40;
            auto* CB = new TbsSkinCheckRadioBox(F);
            CB->SetName("checkbox");
            CB->SetDefaultHeight(30);
            CB->SetChecked(!S.ShowAgainFlagValue);
            CB->SetDefaultFont(S.DefaultFont);
            CB->SetUseSkinFont(S.UseSkinFont);
            CB->SetSkinData(CSD);
            String Cap = SShowFlagFallback;
            if (TbsResourceStrData* RS = StringsOf(CSD)) {
                String V = RS->GetResStr(SShowFlagKey);
                if (!V.empty()) Cap = V;
            }
            CB->SetCaption(Cap);
            // measured in the box's font: the skin's when it found its record and takes it
            TBitmap Measure(1, 1);
            Measure.Canvas()->Font()->Assign(S.DefaultFont);
            if (CB->FIndex != -1 && S.UseSkinFont) {
                Measure.Canvas()->Font()->SetName(CB->FontName);
                Measure.Canvas()->Font()->SetHeight(CB->FontHeight);
            }
            int W = Measure.Canvas()->TextWidth(Cap);
            if (ClientWidth < W + 60) ClientWidth = W + 60;
            CB->SetParent(F);
            CB->SetBounds(5, ClientHeight - ButtonHeight - 50, W + 55, CB->DefaultHeight());
            F->DisplayCheckBox = CB;
        }
        F->SetClientWidth(ClientWidth);
        F->SetClientHeight(ClientHeight);

        // the frame's width limits
        int MaxW = F->BSF->GetMaxWidth();
        if (MaxW < F->Width()) F->SetWidth(MaxW);
        else if (F->Width() < F->BSF->GetMinWidth()) F->SetWidth(F->BSF->GetMinWidth());
        ClientWidth = F->ClientWidth();

        // default and cancel buttons
        TMsgDlgBtn Def = HasDefault ? DefaultButton
                                    : (Buttons.Contains(mbOK) ? mbOK : (Buttons.Contains(mbYes) ? mbYes : mbRetry));
        TMsgDlgBtn Cancel = Buttons.Contains(mbCancel) ? mbCancel : (Buttons.Contains(mbNo) ? mbNo : mbOK);

        int X0 = (ClientWidth - RowWidth) / 2;
        for (int I = 0; I < MsgDlgButtonCount; ++I) {
            if (!Buttons.Contains(TMsgDlgBtn(I))) continue;
            auto* B = new TbsSkinButton(F);
            B->SetName(ButtonTable[I].Name);
            B->SetParent(F);
            B->SetCanFocused(true);
            B->SetCaption(GetMessageButtonCaption(I, CSD));
            B->SetModalResult(ButtonTable[I].Result);
            B->SetDefault(I == int(Def));
            B->SetCancel(I == int(Cancel));
            B->SetDefaultHeight(ButtonHeight);
            B->SetDefaultFont(S.DefaultButtonFont);
            B->SetUseSkinFont(S.UseSkinFont);
            B->SetSkinDataName(S.ButtonSkinDataName);
            B->SetSkinData(CSD);
            B->SetBounds(X0, ClientHeight - ButtonHeight - 10, ButtonWidth, ButtonHeight);
            if (I == int(mbHelp)) B->OnClick = [F](TObject* Sender) { F->HelpButtonClick(Sender); };
            if (HasDefault && I == int(DefaultButton)) F->SetStartControl(B);
            X0 += ButtonWidth + ButtonGap;
        }
        F->AfterConstruction();
        return F;
    } catch (...) {
        delete F;
        throw;
    }
}

}  // namespace

// ---- the component ------------------------------------------------------------------------------

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()), FDefaultButtonFont(std::make_unique<TFont>())
{
    for (TFont* F : {FDefaultFont.get(), FDefaultButtonFont.get()}) {
        F->SetName("Tahoma");
        F->SetHeight(13);
        F->SetStyle({});
    }
}

TbsSkinMessage::~TbsSkinMessage() = default;

void TbsSkinMessage::SetSkinData(TbsSkinData* Value)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* Value)
{
    if (FCtrlSD) FCtrlSD->RemoveFreeNotification(this);
    FCtrlSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlSD) FCtrlSD = nullptr;
}

int TbsSkinMessage::Run(const TRequest& R)
{
    TSettings S{FSD,         FCtrlSD,    FButtonSkinDataName,    FMessageLabelSkinDataName,
                FDefaultFont.get(), FDefaultButtonFont.get(), FUseSkinFont, FAlphaBlend,
                FAlphaBlendAnimation, FAlphaBlendValue, FShowAgainFlag, FShowAgainFlagValue};
    String Title = R.Caption;
    if (R.TypeTitle)
        Title = R.DlgType == mtCustom ? (Application ? Application->Title() : String()) : GetMessageTitle(R.DlgType, FCtrlSD);
    TbsMessageForm* F = BuildMessageForm(S, R.Msg, Title, R.SystemIcon, R.DlgType, R.Images, R.ImageIndex, R.Buttons,
                                         R.HasDefault, R.DefaultButton, R.X, R.Y, R.CheckBoxAllowed);
    int Result = mrNone;
    try {
        F->SetHelpContext(R.HelpCtx);
        if (R.SetHelpFile) F->SetHelpFile(R.HelpFileName);
        if (R.CallSetShowPos && OnSetShowPos) {
            int X = F->Left(), Y = F->Top();
            OnSetShowPos(X, Y, F->Width(), F->Height());
            F->SetBounds(X, Y, F->Width(), F->Height());
        }
        Result = F->ShowModal();
    } catch (...) {
        if (F->DisplayCheckBox) FShowAgainFlagValue = !F->DisplayCheckBox->Checked();
        delete F;
        throw;
    }
    if (F->DisplayCheckBox) FShowAgainFlagValue = !F->DisplayCheckBox->Checked();
    delete F;
    return Result;
}

int TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx));
}

int TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                               TMsgDlgBtn DefaultButton)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).Default(DefaultButton));
}

int TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                                  int Y)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).ShowPos(X, Y));
}

int TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                                  int Y, TMsgDlgBtn DefaultButton)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).ShowPos(X, Y).Default(DefaultButton));
}

int TbsSkinMessage::MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                   const String& HelpFileName)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).HelpFile(HelpFileName));
}

int TbsSkinMessage::MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                int HelpCtx)
{
    return Run(TRequest::Titled(Msg, ACaption, DlgType, Buttons, HelpCtx));
}

int TbsSkinMessage::MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, int HelpCtx, const String& HelpFileName)
{
    return Run(TRequest::Titled(Msg, ACaption, DlgType, Buttons, HelpCtx).HelpFile(HelpFileName));
}

int TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                     int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx)
{
    return Run(TRequest::Custom(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx));
}

int TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                     int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton)
{
    return Run(TRequest::Custom(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx).Default(DefaultButton));
}

int TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                        int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y)
{
    return Run(TRequest::Custom(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx).ShowPos(X, Y));
}

int TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                        int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y,
                                        TMsgDlgBtn DefaultButton)
{
    return Run(TRequest::Custom(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx).ShowPos(X, Y).Default(DefaultButton));
}

int TbsSkinMessage::CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx,
                                         const String& HelpFileName)
{
    return Run(TRequest::Custom(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx).HelpFile(HelpFileName));
}

int TbsSkinMessage::WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).NoCheckBox());
}

int TbsSkinMessage::WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                      int X, int Y)
{
    return Run(TRequest::Typed(Msg, DlgType, Buttons, HelpCtx).At(X, Y).NoCheckBox());
}
