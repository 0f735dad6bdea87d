// The picture dialogs: the open form's twin with a preview area, a splitter and a Stretch
// button, and the open and save picture components.
#include <algorithm>

#include "platform/forms/ExtCtrls.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/shell/bsSkinShellViews.h"

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                             bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    : TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList)
{
    CheckFileExists = false;
    // the Stretch picture follows the four of the open form
    {
        std::unique_ptr<TbsPngImageList> Extra(MakeDialogPictures(nullptr, {"BS_STRETCH_PNG"}));
        auto* Item = static_cast<TbsPngImageItem*>(PngImgList->PngImages()->Add());
        Item->SetPngImage(Extra->PngImages()->Items(0)->PngImage());
    }
    const int Right = ClientWidth();
    ImagePanel = new TbsSkinPanel(this);
    ImagePanel->SetParent(this);
    ImagePanel->SetBounds(Right - 200, 30, 200, 150);
    ImagePanel->SetAlign(alRight);
    ImagePanel->SetBorderStyle(bvFrame);

    SBVScrollBar = new TbsSkinScrollBar(this);
    SBVScrollBar->SetParent(ImagePanel);
    SBVScrollBar->SetKind(sbVertical);
    SBVScrollBar->SetAlign(alRight);
    SBVScrollBar->SetDefaultWidth(19);
    SBVScrollBar->SetSkinDataName("vscrollbar");
    SBVScrollBar->SetEnabled(false);

    SBHScrollBar = new TbsSkinScrollBar(this);
    SBHScrollBar->SetParent(ImagePanel);
    SBHScrollBar->SetAlign(alBottom);
    SBHScrollBar->SetDefaultHeight(19);
    SBHScrollBar->SetBothMarkerWidth(19);
    SBHScrollBar->SetSkinDataName("hscrollbar");
    SBHScrollBar->SetEnabled(false);

    ScrollBox = new TbsSkinScrollBox(this);
    ScrollBox->SetParent(ImagePanel);
    ScrollBox->SetAlign(alClient);
    ScrollBox->SetBorderStyle(bvNone);
    ScrollBox->SetVScrollBar(SBVScrollBar);
    ScrollBox->SetHScrollBar(SBHScrollBar);

    Image = new TImage(this);
    Image->SetParent(ScrollBox);
    Image->SetBounds(0, 0, 0, 0);

    Splitter = new TbsSkinSplitter(this);
    Splitter->SetParent(this);
    Splitter->SetBounds(Right - 211, 30, 10, 150);
    Splitter->SetDefaultSize(10);
    Splitter->SetAlign(alRight);

    StretchButton = new TbsSkinSpeedButton(this);
    StretchButton->SetParent(ToolPanel);
    StretchButton->SetDefaultWidth(27);
    StretchButton->SetDefaultHeight(25);
    StretchButton->SetSkinDataName("toolbutton");
    StretchButton->SetNumGlyphs(1);
    StretchButton->SetImageList(AToolBarImageList ? AToolBarImageList : PngImgList);
    StretchButton->SetImageIndex(4);
    StretchButton->SetGroupIndex(2);
    StretchButton->SetAllowAllUp(true);
    StretchButton->SetHint(ShellDialogText(CtrlSD, "MSG_BTN_STRETCH_HINT", "Stretch Picture"));
    StretchButton->SetShowHint(true);
    StretchButton->SetFlat(AToolButtonsTransparent);
    StretchButton->OnClick = [this](TObject* S) { StretchButtonClick(S); };
    StretchButton->SetLeft(2000);
    StretchButton->SetAlign(alRight);

    // fixed places at the bottom, no anchors
    for (TControl* C : {static_cast<TControl*>(FileNameEdit), static_cast<TControl*>(FilterComboBox),
                        static_cast<TControl*>(OpenButton), static_cast<TControl*>(CancelButton)})
        C->SetAnchors({akLeft, akTop});
    FileNameEdit->SetBounds(70, 10, 280, FileNameEdit->Height());
    FilterComboBox->SetBounds(70, 45, 280, FilterComboBox->Height());
    OpenButton->SetBounds(370, 10, 70, OpenButton->Height());
    CancelButton->SetBounds(370, 45, 70, CancelButton->Height());
}

void TbsOpenPictureDlgForm::SizeImage()
{
    if (Image->Stretch()) return;
    Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
    ScrollBox->UpDateScrollRange();
}

bool TbsOpenPictureDlgForm::LoadPreview(const String& AFileName, bool Report)
{
    bool Loaded = true;
    try {
        TPicture P;
        P.LoadFromFile(AFileName);
        Image->Picture()->Assign(&P);
    } catch (Exception& E) {
        // the old picture stays; a choice in the list is told why nothing changed
        Loaded = false;
        if (Report && Application) Application->HandleException(this, &E);
    }
    SizeImage();
    return Loaded;
}

void TbsOpenPictureDlgForm::SelectionChanged()
{
    FileNameEdit->SetText(DialogNamePart(FileListView->GetSelectedFile()));
    const String T = FileNameEdit->Text();
    if (T.empty()) {
        Image->SetBounds(Image->Left(), Image->Top(), 0, 0);
        return;
    }
    LoadPreview(JoinPathName(FileListView->Path(), T), true);
}

void TbsOpenPictureDlgForm::StretchButtonClick(TObject*)
{
    Image->SetVisible(false);
    if (StretchButton->Down()) {
        Image->SetStretch(true);
        Image->SetAlign(alClient);
    } else {
        Image->SetAlign(alNone);
        Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
        Image->SetStretch(false);
    }
    Image->SetVisible(true);
}

// ---- the components -----------------------------------------------------------------------------------

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner)
{
    FAlphaBlendValue = 200;
    FTitle = "Open picture";
    FFilter =
        "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
        "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
    FDefaultWidth = 550;
    FCheckFileExists = true;
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner) : TbsSkinOpenPictureDialog(AOwner)
{
    FTitle = "Save file";
    FSaveMode = true;
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::MakeForm()
{
    return new TbsOpenPictureDlgForm(Application, FSaveMode, FCtrlFSD, FToolButtonsTransparent, FToolBarImageList);
}

void TbsSkinOpenPictureDialog::Prepare(TbsOpenDlgForm* Base)
{
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Base);
    // no default extension and no folder event in the picture dialogs
    F->DefaultExt.clear();
    F->OnFolderChange = nullptr;
    TbsSkinOpenDialog::Prepare(F);
    F->ImagePanel->SetWidth(FImagePanelWidth);
    F->ImagePanel->SetSkinData(FCtrlFSD);
    F->ScrollBox->SetSkinData(FCtrlFSD);
    F->SBVScrollBar->SetSkinData(FCtrlFSD);
    F->SBHScrollBar->SetSkinData(FCtrlFSD);
    F->Splitter->SetSkinData(FCtrlFSD);
    if (FCtrlFSD && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex("resizetoolbutton") != -1)
        F->StretchButton->SetSkinDataName("resizetoolbutton");
    F->StretchButton->SetSkinData(FCtrlFSD);
    F->StretchButton->SetDown(FStretchPicture || FDialogStretch);
    if (F->StretchButton->Down()) {
        F->Image->SetVisible(false);
        F->ScrollBox->UpDateScrollRange();
        F->Image->SetStretch(true);
        F->Image->SetAlign(alClient);
        F->Image->SetVisible(true);
    }
    // a start file that is no readable picture simply shows no preview
    if (FileExists(FFileName)) F->LoadPreview(FFileName, false);
}

void TbsSkinOpenPictureDialog::WriteBack(TbsOpenDlgForm* Base, bool Confirmed)
{
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Base);
    FDialogStretch = F->StretchButton->Down();
    FImagePanelWidth = F->ImagePanel->Width();
    TbsSkinOpenDialog::WriteBack(F, Confirmed);
    if (!Confirmed || !FSaveMode) return;
    const String Mask = F->FilterComboBox->Mask();
    if (Mask.find(".*") == String::npos && DialogExtension(FFileName).empty()) FFileName += F->FilterExtension();
}
