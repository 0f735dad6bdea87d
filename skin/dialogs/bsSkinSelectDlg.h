// The skin chooser: TbsSelectSkinDialog builds a fresh dialog form in code for every run
// (a list of skin names, a small preview window that wears the skin under the cursor, OK
// and Cancel), shows it modally, frees it and hands back the choice.  It works over a skin
// list (chosen by index) or over the stored skins that sit on its owner form (chosen by
// object).  The dialog never applies the skin: the caller does.
#pragma once

#include <memory>

#include "platform/forms/Forms.h"

class TbsSkinData;
class TbsCompressedSkinList;
class TbsCompressedStoredSkin;
class TbsSkinButton;
class TbsSkinListBox;
class TbsSkinMessage;
class TbsSkinFormFrame;

// The dialog form of one run.
class TbsSelectSkinDlgForm : public TForm {
public:
    // Stored-skin mode: the stored skins among AForm's components, starting at ADefaultSkin.
    TbsSelectSkinDlgForm(TComponent* AOwner, TComponent* AForm, TbsCompressedStoredSkin* ADefaultSkin,
                         TbsSkinData* ACtrlSkinData);
    // List mode: the skins of ASkinList, starting at ASkinIndex.
    TbsSelectSkinDlgForm(TComponent* AOwner, TbsCompressedSkinList* ASkinList, int ASkinIndex,
                         TbsSkinData* ACtrlSkinData);
    ~TbsSelectSkinDlgForm() override;

    static TbsSelectSkinDlgForm* CreateEx(TComponent* AOwner, TComponent* AForm, TbsCompressedStoredSkin* ADefaultSkin,
                                          TbsSkinData* ACtrlSkinData)
    {
        return new TbsSelectSkinDlgForm(AOwner, AForm, ADefaultSkin, ACtrlSkinData);
    }
    static TbsSelectSkinDlgForm* CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList, int ASkinIndex,
                                           TbsSkinData* ACtrlSkinData)
    {
        return new TbsSelectSkinDlgForm(AOwner, ASkinList, ASkinIndex, ACtrlSkinData);
    }

    // The stored skin shown in the preview (none when no skin could be shown).
    TbsCompressedStoredSkin* GetSelectedSkin() const;
    // The list position of the skin shown in the preview, -1 when none is shown.
    int PreviewedIndex() const { return FPreviewedIndex; }

    void SLBOnChange(TObject* Sender);
    void SLBOnDblClick(TObject* Sender);

    TbsCompressedSkinList* FCSkinList = nullptr;
    int FCSkinIndex = -1;
    TbsSkinFormFrame* BSF = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TForm* PreviewForm = nullptr;
    TbsSkinFormFrame* PreviewBSF = nullptr;
    TbsSkinData* PreviewSkinData = nullptr;
    TbsSkinButton* PreviewButton = nullptr;
    TbsSkinListBox* SkinsListBox = nullptr;
    // Stored-skin mode: the stored skins in list order (not owned).
    std::unique_ptr<TList> SkinList;

    // The text of the last skin that could not be shown (empty when all could).
    const String& LastError() const { return FLastError; }

protected:
    void DoShow() override;

private:
    void Build(TbsSkinData* ACtrlSkinData);
    // Shows list position Index in the preview; a skin that cannot be read leaves the
    // preview and the list on the skin shown before and reports the error.
    void ShowInPreview(int Index, bool Report);
    void ReportError(const String& Msg);

    TbsSkinData* FCtrlSkinData = nullptr;
    int FPreviewedIndex = -1;
    String FLastError;
};

class TbsSelectSkinDialog : public TComponent {
public:
    explicit TbsSelectSkinDialog(TComponent* AOwner);
    ~TbsSelectSkinDialog() override;

    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }

    int SelectedSkinIndex() const { return FSelectedSkinIndex; }
    TbsCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
    // The dialog form while a run is on, else none.
    TbsSelectSkinDlgForm* DlgFrm() const { return FDlgFrm; }

    // List mode over SkinList, starting at SkinIndex; true when the user accepted a skin.
    bool Execute(int SkinIndex);
    // Stored-skin mode over the stored skins of the owner, starting at DefaultCompressedSkin.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Prepare(TbsSelectSkinDlgForm* F);
    TModalResult Run(TbsSelectSkinDlgForm* F, bool ListMode);

    TbsCompressedSkinList* FSkinList = nullptr;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    String FTitle = "Select skin";
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 200;
    int FSelectedSkinIndex = -1;
    TbsCompressedStoredSkin* FSelectedSkin = nullptr;
    TbsSelectSkinDlgForm* FDlgFrm = nullptr;
};
