// The select-directory dialog run through its real modal loop on a scratch tree: sizes
// with and without a skin and kept after Cancel, the start folder, OK and Cancel, the
// tool bar's path edit and new-folder button, and the event order.
#include <filesystem>

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/shell/bsSkinShellViews.h"
#include "dialogs/filedialog_support.h"
#include "frame/frame_support.h"

using namespace filedlgtest;
using frametest::FillFrameSkin;

namespace {

class SelDirDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 50, 50);
        Main->Show();
        Dialog = new TbsSkinSelectDirectoryDialog(Main);
        Run.Active = [this]() -> TForm* { return Dialog->DlgFrm(); };
        Run.Install();
        Tree.Dir("a/b");
        Tree.Dir("视频/片段");
        Tree.Dir(".hidden");
    }
    void TearDown() override
    {
        Run.Uninstall();
        DoneForms();
    }
    TbsSelDirDlgForm* F() { return Dialog->DlgFrm(); }
    TTreeNode* Selected() { return F()->DirTreeView->Selected(); }
    void ClickButton(TControl* B) { ClickAt(B, 20, 10); }

    ScratchTree Tree;
    TForm* Main = nullptr;
    TbsSkinSelectDirectoryDialog* Dialog = nullptr;
    ModalScript Run;
};

TEST_F(SelDirDialog, Defaults)
{
    EXPECT_EQ(Dialog->Title(), "Select folder");
    EXPECT_EQ(Dialog->DialogWidth(), 0);
    EXPECT_FALSE(Dialog->ShowToolBar());
    EXPECT_TRUE(Dialog->TreeShowLines());
    EXPECT_EQ(Dialog->TreeButtonExpandImageIndex(), 0);
    EXPECT_EQ(Dialog->TreeButtonNoExpandImageIndex(), 1);
    EXPECT_EQ(Dialog->AlphaBlendValue(), 200);
    EXPECT_EQ(Dialog->DefaultFont()->Name(), "Tahoma");
    EXPECT_EQ(Dialog->DefaultFont()->Height(), 13);
}

TEST_F(SelDirDialog, ExistingDirectoryIsSelectedAndOkStoresTheChoice)
{
    std::vector<String> Events;
    Dialog->OnShow = [&](TObject*) { Events.push_back(Dialog->DlgFrm() ? "show with form" : "show"); };
    Dialog->OnChange = [&](TObject*) { Events.push_back("change"); };
    Dialog->OnClose = [&](TObject*) { Events.push_back(Dialog->DlgFrm() ? "close" : "close without form"); };
    Dialog->SetTitle("选择输出目录");
    Dialog->SetDirectory(Tree / "视频");
    Run.Script({
        [&] {
            EXPECT_EQ(F()->Caption(), "选择输出目录");
            ASSERT_NE(Selected(), nullptr);
            EXPECT_EQ(Selected()->Text(), "视频");
            EXPECT_TRUE(Selected()->Expanded());
            EXPECT_EQ(F()->ClientWidth(), 280);
            EXPECT_EQ(F()->ClientHeight(), 280);
            EXPECT_EQ(F()->OkButton->Caption(), "OK");
            EXPECT_EQ(F()->CancelButton->Caption(), "Cancel");
            EXPECT_EQ(F()->ToolPanel, nullptr);
            EXPECT_TRUE(F()->DirTreeView->ObjectTypes().Contains(otHidden));
            // the way down to a child with the keyboard: Right opens, Down moves
            Headless::Key(VK_DOWN);
        },
        [&] {
            ASSERT_NE(Selected(), nullptr);
            EXPECT_EQ(Selected()->Text(), "片段");
            ClickButton(F()->OkButton);
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_TRUE(Run.Finished());
    EXPECT_EQ(Dialog->Directory(), Tree / "视频/片段");
    EXPECT_EQ(Events, (std::vector<String>{"show", "change", "close"}));
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
}

TEST_F(SelDirDialog, MissingDirectoryOpensAtComputerAndCancelLeavesDirectory)
{
    const String Missing = Tree / "gone";
    Dialog->SetDirectory(Missing);
    bool Changed = false;
    Dialog->OnChange = [&](TObject*) { Changed = true; };
    Run.Script({
        [&] {
            ASSERT_NE(Selected(), nullptr);
            EXPECT_EQ(Selected()->Text(), "Computer");
            EXPECT_TRUE(Selected()->Expanded());
            Headless::Key(VK_DOWN);  // a drive: the selection moves, the answer is still Cancel
        },
        [&] { Headless::Key(VK_ESCAPE); },
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_TRUE(Run.Finished());
    EXPECT_EQ(Dialog->Directory(), Missing);
    EXPECT_FALSE(Changed);
}

TEST_F(SelDirDialog, SizeLeftByTheUserIsKeptAfterCancel)
{
    Run.Script({[&] {
        F()->SetClientWidth(333);
        F()->SetClientHeight(301);
        ClickButton(F()->CancelButton);
    }});
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->DialogWidth(), 333);
    EXPECT_EQ(Dialog->DialogHeight(), 301);
    int W = 0, H = 0;
    Run.Script({[&] {
        W = F()->ClientWidth();
        H = F()->ClientHeight();
        Headless::Key(VK_ESCAPE);
    }});
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(W, 333);
    EXPECT_EQ(H, 301);
}

TEST_F(SelDirDialog, SkinRaisesTheSizeToTheFrameMinimum)
{
    TbsSkinData SD(Main);
    FillFrameSkin(&SD);
    SD.FormMinWidth = 410;
    SD.FormMinHeight = 330;
    Dialog->SetSkinData(&SD);
    int W = 0, H = 0;
    Run.Script({[&] {
        W = F()->ClientWidth();
        H = F()->ClientHeight();
        Headless::Key(VK_ESCAPE);
    }});
    Dialog->Execute();
    EXPECT_EQ(W, 410);
    EXPECT_EQ(H, 330);
    // a larger size of the user's stays
    Dialog->SetDialogWidth(500);
    Dialog->SetDialogHeight(400);
    Run.Script({[&] {
        W = F()->ClientWidth();
        H = F()->ClientHeight();
        Headless::Key(VK_ESCAPE);
    }});
    Dialog->Execute();
    EXPECT_EQ(W, 500);
    EXPECT_EQ(H, 400);
}

TEST_F(SelDirDialog, ToolBarEditFollowsTheTreeAndEnterConfirmsATypedFolder)
{
    Dialog->SetShowToolBar(true);
    Dialog->SetDirectory(Tree / "a");
    Run.Script({
        [&] {
            ASSERT_NE(F()->DirEdit, nullptr);
            EXPECT_EQ(F()->NewFolderToolButton->Hint(), "Create New Folder");
            Headless::Key(VK_DOWN);
        },
        [&] {
            EXPECT_EQ(F()->DirEdit->Text(), Tree / "a/b");
            // a missing folder typed changes nothing and does not confirm
            F()->DirEdit->SetFocus();
            F()->DirEdit->SetText(Tree / "nowhere");
            Headless::Key(VK_END);
            Headless::Key(VK_RETURN);
        },
        [&] {
            EXPECT_EQ(F()->DirTreeView->Path(), Tree / "a/b");
            F()->DirEdit->SetText(Tree / "视频/片段");
            Headless::Key(VK_END);
            Headless::Key(VK_RETURN);
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_TRUE(Run.Finished());
    EXPECT_EQ(Dialog->Directory(), Tree / "视频/片段");
}

TEST_F(SelDirDialog, NewFolderIsCreatedOnceAndNeverUnderComputer)
{
    Dialog->SetShowToolBar(true);
    Dialog->SetDirectory(Tree / "a");
    auto Click = [&] { ClickAt(F()->NewFolderToolButton, 10, 10); };
    Run.Script({
        Click,
        [&] {
            EXPECT_TRUE(DirectoryExists(Tree / "a/New Folder"));
            ASSERT_NE(Selected(), nullptr);
            EXPECT_EQ(F()->DirTreeView->Path(), Tree / "a");
            bool Listed = false;
            for (int I = 0; I < Selected()->Count(); ++I) Listed |= Selected()->Item(I)->Text() == "New Folder";
            EXPECT_TRUE(Listed);
            Click();
        },
        [&] {
            int Count = 0;
            for (auto& E : std::filesystem::directory_iterator(std::string(Tree / "a"))) Count += E.is_directory();
            EXPECT_EQ(Count, 2);  // b and New Folder: an existing one is not numbered
            F()->DirTreeView->ExpandMyComputer();
            EXPECT_EQ(Selected()->Text(), "Computer");
            Click();
        },
        [&] {
            EXPECT_EQ(Selected()->Text(), "Computer");
            F()->SetModalResult(mrCancel);
        },
    });
    Dialog->Execute();
    EXPECT_TRUE(Run.Finished());
}

}  // namespace
