// The picture dialogs through their real modal loop: the save dialog's added extension and
// overwrite question, the filter swapping the typed extension, the preview of a PNG, the
// Stretch state and preview width kept for the next run, and a start file that is no
// picture.
#include "platform/forms/ExtCtrls.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"
#include "dialogs/filedialog_support.h"

using namespace filedlgtest;

namespace {

class PictureDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 50, 50);
        Main->Show();
        TPngImage Png(COLOR_RGB, 37, 23);
        Png.SaveToFile(Tree / "pic.png");
        Tree.File("notapicture.png", "garbage");
        Tree.Dir("folder");
    }
    void TearDown() override
    {
        Run.Uninstall();
        DoneForms();
    }
    template <class D>
    D* Make()
    {
        auto* Dlg = new D(Main);
        Run.Active = [Dlg]() -> TForm* { return Dlg->DlgFrm(); };
        Run.Install();
        Dlg->SetInitialDir(Tree.Root);
        return Dlg;
    }
    static TbsMessageForm* MessageBox()
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (auto* M = dynamic_cast<TbsMessageForm*>(Screen->Forms(I))) return M;
        return nullptr;
    }
    static int Row(TbsOpenDlgForm* F, const String& Name)
    {
        for (int I = 0; I < F->FileListView->FolderCount(); ++I)
            if (F->FileListView->FolderAt(I)->DisplayName() == Name) return I;
        return -1;
    }

    ScratchTree Tree;
    TForm* Main = nullptr;
    ModalScript Run;
};

TEST_F(PictureDialog, Defaults)
{
    TbsSkinOpenPictureDialog O(nullptr);
    EXPECT_EQ(O.Title(), "Open picture");
    EXPECT_EQ(O.AlphaBlendValue(), 200);
    EXPECT_EQ(O.ImagePanelWidth(), 190);
    EXPECT_FALSE(O.SaveMode());
    TbsSkinSavePictureDialog S(nullptr);
    EXPECT_EQ(S.Title(), "Save file");
    EXPECT_TRUE(S.SaveMode());
}

TEST_F(PictureDialog, SaveAddsTheFilterExtensionAndAsksBeforeOverwriting)
{
    auto* D = Make<TbsSkinSavePictureDialog>();
    D->SetFilter("BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg");
    D->SetFilterIndex(2);
    Run.Script({[&] {
        auto* F = D->PictureForm();
        EXPECT_EQ(F->ClientWidth(), 550);
        F->FileNameEdit->SetText("shot");
        ClickAt(F->OpenButton, 30, 10);
    }});
    EXPECT_TRUE(D->Execute());
    EXPECT_EQ(D->FileName(), Tree / "shot.jpg");

    // with the file present and the question on: Cancel keeps the dialog open, OK confirms
    Tree.File("shot.jpg");
    D->SetOverwritePromt(true);
    int Asked = 0;
    bool OpenAfterCancel = false;
    // the question runs its own loop inside the dialog's: the script follows the topmost
    Run.Active = [D]() -> TForm* {
        if (TbsMessageForm* M = MessageBox()) return M;
        return D->DlgFrm();
    };
    Run.Script({
        [&] {
            D->PictureForm()->FileNameEdit->SetText("shot");
            ClickAt(D->PictureForm()->OpenButton, 30, 10);
        },
        [&] {
            ASSERT_NE(MessageBox(), nullptr);
            ++Asked;
            MessageBox()->SetModalResult(mrCancel);
        },
        [&] {
            OpenAfterCancel = D->DlgFrm() && D->PictureForm()->ModalResult() == mrNone && !MessageBox();
            ClickAt(D->PictureForm()->OpenButton, 30, 10);
        },
        [&] {
            ASSERT_NE(MessageBox(), nullptr);
            ++Asked;
            MessageBox()->SetModalResult(mrOk);
        },
    });
    EXPECT_TRUE(D->Execute());
    EXPECT_EQ(Asked, 2);
    EXPECT_TRUE(OpenAfterCancel);
    EXPECT_EQ(D->FileName(), Tree / "shot.jpg");
}

TEST_F(PictureDialog, ChoosingAFilterSwapsTheTypedExtension)
{
    auto* D = Make<TbsSkinSavePictureDialog>();
    D->SetFilter("BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg");
    D->SetFilterIndex(2);
    String Text;
    Run.Script({[&] {
        auto* F = D->PictureForm();
        F->FileNameEdit->SetText("shot.jpg");
        F->FilterComboBox->SetItemIndex(0);
        Text = F->FileNameEdit->Text();
        F->SetModalResult(mrCancel);
    }});
    EXPECT_FALSE(D->Execute());
    EXPECT_EQ(Text, "shot.bmp");
    EXPECT_EQ(D->FilterIndex(), 1);
}

TEST_F(PictureDialog, PreviewStretchAndWidthCarryOver)
{
    auto* D = Make<TbsSkinOpenPictureDialog>();
    D->SetFilter("PNG|*.png");
    Run.Script({
        [&] {
            auto* F = D->PictureForm();
            EXPECT_EQ(F->ImagePanel->Width(), 190);
            EXPECT_FALSE(F->StretchButton->Down());
            F->FileListView->SetItemIndex(Row(F, "pic.png"));
            EXPECT_EQ(F->FileNameEdit->Text(), "pic.png");
            EXPECT_EQ(F->Image->Picture()->Width(), 37);
            EXPECT_EQ(F->Image->Width(), 37);
            EXPECT_EQ(F->Image->Height(), 23);
            // a file that is no picture keeps the last one
            int Reported = 0;
            Application->OnException = [&](TObject*, Exception*) { ++Reported; };
            F->FileListView->SetItemIndex(Row(F, "notapicture.png"));
            Application->OnException = nullptr;
            EXPECT_EQ(Reported, 1);
            EXPECT_EQ(F->Image->Picture()->Width(), 37);
            // a folder empties the edit and shrinks the preview
            F->FileListView->SetItemIndex(Row(F, "folder"));
            EXPECT_EQ(F->FileNameEdit->Text(), "");
            EXPECT_EQ(F->Image->Width(), 0);
            ClickAt(F->StretchButton, 10, 10);
        },
        [&] {
            auto* F = D->PictureForm();
            EXPECT_TRUE(F->StretchButton->Down());
            EXPECT_TRUE(F->Image->Stretch());
            F->ImagePanel->SetWidth(230);
            Headless::Key(VK_ESCAPE);
        },
    });
    EXPECT_FALSE(D->Execute());
    EXPECT_TRUE(D->DialogStretch());
    EXPECT_EQ(D->ImagePanelWidth(), 230);
    bool Down = false, Stretched = false;
    int Width = 0;
    Run.Script({[&] {
        Down = D->PictureForm()->StretchButton->Down();
        Stretched = D->PictureForm()->Image->Stretch();
        Width = D->PictureForm()->ImagePanel->Width();
        Headless::Key(VK_ESCAPE);
    }});
    D->Execute();
    EXPECT_TRUE(Down);
    EXPECT_TRUE(Stretched);
    EXPECT_EQ(Width, 230);
}

TEST_F(PictureDialog, StartFileThatIsNoPictureOpensWithoutPreview)
{
    auto* D = Make<TbsSkinOpenPictureDialog>();
    D->SetFileName(Tree / "notapicture.png");
    bool Shown = false;
    Run.Script({[&] {
        Shown = true;
        EXPECT_EQ(D->PictureForm()->Image->Picture()->Width(), 0);
        EXPECT_EQ(D->PictureForm()->FileNameEdit->Text(), "notapicture.png");
        Headless::Key(VK_ESCAPE);
    }});
    EXPECT_NO_THROW(D->Execute());
    EXPECT_TRUE(Shown);
}

}  // namespace
