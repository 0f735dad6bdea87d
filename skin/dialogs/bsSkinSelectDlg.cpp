// The skin chooser dialog: building the form, filling the list, the live preview and the
// two ways of running it.
#include "skin/dialogs/bsSkinSelectDlg.h"

#include <algorithm>

#include "skin/dialogs/bsMessages.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/frame/bsSkinFormFrame.h"

namespace {

// The preview window: a captioned form living inside the dialog as a child window.
class TbsSkinPreviewForm : public TForm {
public:
    using TForm::TForm;

protected:
    void CreateParams(TCreateParams& P) override
    {
        TForm::CreateParams(P);
        if (!Parent()) return;
        P.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_BORDER;
        if (!Enabled()) P.Style |= WS_DISABLED;
        P.ExStyle = 0;
        P.WndParent = Parent()->Handle();
    }
};

// Text of an interface string: from the control skin's strings when it has them (a key
// missing there gives the empty text), else the fallback.
String DialogText(TbsSkinData* ACtrlSkinData, const String& Key, const String& Fallback)
{
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData()) return ACtrlSkinData->ResourceStrData()->GetResStr(Key);
    return Fallback;
}

}  // namespace

// ---- the form ------------------------------------------------------------------------------------

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner, TComponent* AForm,
                                           TbsCompressedStoredSkin* ADefaultSkin, TbsSkinData* ACtrlSkinData)
    : TForm(AOwner), SkinList(std::make_unique<TList>())
{
    Build(ACtrlSkinData);
    if (AForm)
        for (int I = 0; I < AForm->ComponentCount(); ++I)
            if (auto* S = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(I))) {
                SkinList->Add(S);
                SkinsListBox->Items()->Add(!S->Description().empty() ? S->Description() : S->Name());
            }
    int Start = 0;
    for (int I = 0; I < SkinList->Count(); ++I)
        if (SkinList->Items(I) == ADefaultSkin) Start = I;
    // Without any stored skin there is nothing to select and nothing to preview.
    if (SkinList->Count() > 0) {
        SkinsListBox->SetItemIndex(Start);
        ShowInPreview(Start, false);
    }
    PreviewForm->SetBounds(190, 10, 220, 170);
    PreviewForm->Show();
    AfterConstruction();
}

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner, TbsCompressedSkinList* ASkinList, int ASkinIndex,
                                           TbsSkinData* ACtrlSkinData)
    : TForm(AOwner), FCSkinList(ASkinList), FCSkinIndex(ASkinIndex)
{
    Build(ACtrlSkinData);
    int Count = ASkinList ? ASkinList->Skins()->Count() : 0;
    for (int I = 0; I < Count; ++I) {
        TbsSkinListItem* Item = ASkinList->Skins()->Items(I);
        SkinsListBox->Items()->Add(!Item->Description().empty() ? Item->Description() : Item->Name());
    }
    // An index outside the list selects nothing and loads nothing.
    if (ASkinIndex >= 0 && ASkinIndex < Count) {
        SkinsListBox->SetItemIndex(ASkinIndex);
        ShowInPreview(ASkinIndex, false);
    }
    PreviewForm->SetBounds(190, 10, 220, 170);
    PreviewForm->Show();
    AfterConstruction();
}

TbsSelectSkinDlgForm::~TbsSelectSkinDlgForm() = default;

void TbsSelectSkinDlgForm::DoShow()
{
    TForm::DoShow();
    // The list takes the focus; a control can be made active only once its form shows.
    if (SkinsListBox && SkinsListBox->ListBox->CanFocus()) SetActiveControl(SkinsListBox->ListBox);
}

void TbsSelectSkinDlgForm::Build(TbsSkinData* ACtrlSkinData)
{
    FCtrlSkinData = ACtrlSkinData;
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSingle);
    SetKeyPreview(true);
    BSF = new TbsSkinFormFrame(this);

    PreviewForm = new TbsSkinPreviewForm(this);
    PreviewForm->SetBorderStyle(bsSingle);
    PreviewForm->SetVisible(false);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(DialogText(ACtrlSkinData, "MSG_PREVIEWSKIN", "Preview"));
    PreviewForm->SetEnabled(false);
    PreviewForm->SetBounds(190, 10, 220, 170);

    PreviewSkinData = new TbsSkinData(this);
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData())
        PreviewSkinData->SetResourceStrData(ACtrlSkinData->ResourceStrData());

    PreviewButton = new TbsSkinButton(PreviewForm);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetBounds(20, 20, 100, PreviewButton->Height());
    PreviewButton->SetCaption(DialogText(ACtrlSkinData, "MSG_PREVIEWBUTTON", "Button"));
    PreviewButton->SetSkinData(PreviewSkinData);
    PreviewBSF = new TbsSkinFormFrame(PreviewForm);
    PreviewBSF->SetPreviewMode(true);
    PreviewBSF->SetSkinData(PreviewSkinData);
    PreviewForm->AfterConstruction();

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(this);
    OpenButton->SetCaption(DialogText(ACtrlSkinData, "MSG_BTN_OK", "OK"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetDefault(true);
    OpenButton->SetModalResult(mrOk);
    OpenButton->SetBounds(260, 200, 70, 25);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(this);
    CancelButton->SetCaption(DialogText(ACtrlSkinData, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetBounds(340, 200, 70, 25);

    SkinsListBox = new TbsSkinListBox(this);
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = [this](TObject* Sender) { SLBOnChange(Sender); };
    SkinsListBox->OnListBoxDblClick = [this](TObject* Sender) { SLBOnDblClick(Sender); };
}

void TbsSelectSkinDlgForm::ShowInPreview(int Index, bool Report)
{
    if (Index < 0 || Index == FPreviewedIndex) return;
    int Count = FCSkinList ? FCSkinList->Skins()->Count() : (SkinList ? SkinList->Count() : 0);
    if (Index >= Count) return;
    try {
        TbsCompressedStoredSkin* S = FCSkinList ? FCSkinList->Skins()->Items(Index)->Skin()
                                                : static_cast<TbsCompressedStoredSkin*>(SkinList->Items(Index));
        // An empty stored skin would load nothing and leave the last skin on show.
        if (!S || S->GetEmpty()) throw Exception("it holds no skin");
        if (!FCSkinList) {
            PreviewSkinData->SetCompressedStoredSkin(S);
        } else if (!PreviewSkinData->SkinList()) {
            // Linking the list loads the skin at the index already stored.
            PreviewSkinData->SetSkinIndex(Index);
            PreviewSkinData->SetSkinList(FCSkinList);
        } else {
            PreviewSkinData->SetSkinIndex(Index);
        }
        FPreviewedIndex = Index;
    } catch (const Exception& E) {
        // The skin data keeps the skin it had (and, in list mode, the index naming it).
        // Where nothing was shown yet, the preview is unlinked again so that a later
        // choice loads afresh.  The list goes back to the skin on show, so that accepting
        // never hands back a skin that cannot be read.
        if (FCSkinList && FPreviewedIndex < 0) {
            PreviewSkinData->SetSkinList(nullptr);
            PreviewSkinData->SetSkinIndex(-1);
        }
        if (!FCSkinList && FPreviewedIndex < 0) PreviewSkinData->SetCompressedStoredSkin(nullptr);
        FLastError = "The skin \"" + SkinsListBox->Items()->Strings(Index) + "\" cannot be shown: " + E.Message();
        SkinsListBox->SetItemIndex(FPreviewedIndex);
        if (Report) ReportError(FLastError);
    }
}

void TbsSelectSkinDlgForm::ReportError(const String& Msg)
{
    TbsSkinMessage M(nullptr);
    M.SetSkinData(BSF->SkinData());
    M.SetCtrlSkinData(FCtrlSkinData);
    M.MessageDlg(Msg, mtError, TMsgDlgButtons{mbOK}, 0);
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const
{
    // The skin on show: the preview's link may name a skin that failed to load.
    if (FPreviewedIndex < 0) return nullptr;
    if (FCSkinList) return FCSkinList->Skins()->Items(FPreviewedIndex)->Skin();
    return static_cast<TbsCompressedStoredSkin*>(SkinList->Items(FPreviewedIndex));
}

void TbsSelectSkinDlgForm::SLBOnChange(TObject*)
{
    ShowInPreview(SkinsListBox->ItemIndex(), true);
}

void TbsSelectSkinDlgForm::SLBOnDblClick(TObject*)
{
    SetModalResult(mrOk);
}

// ---- the component ------------------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TbsSelectSkinDialog::~TbsSelectSkinDialog()
{
    if (FDlgFrm) FDlgFrm->RemoveFreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value)
{
    if (FSkinList) FSkinList->RemoveFreeNotification(this);
    FSkinList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinData(TbsSkinData* Value)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetCtrlSkinData(TbsSkinData* Value)
{
    if (FCtrlSD) FCtrlSD->RemoveFreeNotification(this);
    FCtrlSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlSD) FCtrlSD = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
    if (AComponent == FDlgFrm) FDlgFrm = nullptr;
}

void TbsSelectSkinDialog::Prepare(TbsSelectSkinDlgForm* F)
{
    FDlgFrm = F;
    F->FreeNotification(this);
    F->SetCaption(FTitle);
    F->BSF->SetBorderIcons({});
    F->BSF->SetSkinData(FSD);
    F->BSF->SetMenusSkinData(FCtrlSD);
    F->BSF->SetAlphaBlend(FAlphaBlend);
    F->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    F->BSF->SetAlphaBlendValue(FAlphaBlendValue);
    for (TbsSkinButton* B : {F->OpenButton, F->CancelButton}) {
        B->SetDefaultFont(FDefaultFont.get());
        B->SetSkinData(FCtrlSD);
    }
    F->SkinsListBox->SetDefaultFont(FDefaultFont.get());
    F->SkinsListBox->SetSkinData(FCtrlSD);
    if (!FSD || FSD->Empty) {
        F->SetClientWidth(420);
        F->SetClientHeight(240);
    } else {
        F->SetClientWidth(std::max(F->BSF->GetMinWidth(), 420));
        F->SetClientHeight(std::max(F->BSF->GetMinHeight(), 240));
    }
}

TModalResult TbsSelectSkinDialog::Run(TbsSelectSkinDlgForm* F, bool ListMode)
{
    std::unique_ptr<TbsSelectSkinDlgForm> Owned(F);
    Prepare(F);
    TModalResult R = F->ShowModal();
    // Only a skin that is on show in the preview counts as chosen.
    if (R == mrOk && F->PreviewedIndex() >= 0) {
        if (ListMode)
            FSelectedSkinIndex = F->PreviewSkinData->SkinIndex();
        else
            FSelectedSkin = F->GetSelectedSkin();
    }
    return R;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex)
{
    if (!FSkinList) return false;
    FSelectedSkin = nullptr;
    FSelectedSkinIndex = -1;
    TModalResult R = Run(TbsSelectSkinDlgForm::CreateEx2(Application, FSkinList, SkinIndex, FCtrlSD), true);
    return R == mrOk && FSelectedSkinIndex >= 0;
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin)
{
    FSelectedSkin = nullptr;
    TModalResult R = Run(TbsSelectSkinDlgForm::CreateEx(Application, Owner(), DefaultCompressedSkin, FCtrlSD), false);
    return R == mrOk && FSelectedSkin;
}
