// The open dialog run through its real modal loop on a scratch tree: the name rules, the
// Open rule over typed names, masks and the default extension, a vanished selection, the
// save mode's overwrite question, the folder history, new folders, write-back of a
// cancelled run, multi-selection and a long filter.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"
#include "dialogs/filedialog_support.h"

using namespace filedlgtest;

namespace {

TEST(DialogNames, PartsAndDefaultExtension)
{
    EXPECT_EQ(DialogFolderPart("/a/b.c/d.mp4"), "/a/b.c/");
    EXPECT_EQ(DialogNamePart("/a/b.c/d.mp4"), "d.mp4");
    EXPECT_EQ(DialogExtension("/a/b.c/d"), "");
    EXPECT_EQ(DialogExtension("/a/b/d.tar.gz"), ".gz");
    EXPECT_EQ(DialogExtension("c:d.mp4"), ".mp4");  // ":" is an ordinary character
    EXPECT_EQ(DialogFolderPart("c:d.mp4"), "");
    struct Case {
        const char* DefaultExt;
        const char* Mask;
        const char* Ext;
    } Cases[] = {
        {"", "*.AVI;*.ASF", ".AVI"}, {"", "*.*", ""},        {"", "*.mp4;*.*", ""}, {"", "*.mp4", ".mp4"},
        {"avi", "*.mp4", ".avi"},     {"avi", "*.*", ".avi"}, {"", "*", ""},
    };
    for (const Case& C : Cases) EXPECT_EQ(DialogDefaultExtension(C.DefaultExt, C.Mask), C.Ext) << C.Mask;
}

class OpenDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 50, 50);
        Main->Show();
        Dialog = new TbsSkinOpenDialog(Main);
        Run.Active = [this]() -> TForm* { return Dialog->DlgFrm(); };
        Run.Install();
        Tree.Dir("A/B/C");
        Tree.Dir("D");
        Tree.Dir("视频");
        for (const char* F : {"clip.mp4", "clip.avi", "one.mp4", "two.mp4", "三.mp4", "notes.txt"}) Tree.File(F);
        Dialog->SetInitialDir(Tree.Root);
        Dialog->SetFilter("Video|*.mp4;*.m4v|AVI|*.avi|All files|*.*");
    }
    void TearDown() override
    {
        Run.Uninstall();
        DoneForms();
    }
    TbsOpenDlgForm* F() { return Dialog->DlgFrm(); }
    void Type(const String& T) { F()->FileNameEdit->SetText(T); }
    void Open() { ClickAt(F()->OpenButton, 30, 10); }
    void Cancel() { ClickAt(F()->CancelButton, 30, 10); }
    int Row(const String& Name)
    {
        for (int I = 0; I < F()->FileListView->FolderCount(); ++I)
            if (F()->FileListView->FolderAt(I)->DisplayName() == Name) return I;
        return -1;
    }
    static TbsMessageForm* MessageBox()
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (auto* M = dynamic_cast<TbsMessageForm*>(Screen->Forms(I))) return M;
        return nullptr;
    }

    ScratchTree Tree;
    TForm* Main = nullptr;
    TbsSkinOpenDialog* Dialog = nullptr;
    ModalScript Run;
};

TEST_F(OpenDialog, TypedNameTakesTheFilterExtension)
{
    Run.Script({
        [&] {
            EXPECT_EQ(F()->Caption(), "Open file");
            EXPECT_EQ(F()->ClientWidth(), 450);
            EXPECT_EQ(F()->ClientHeight(), 290);
            EXPECT_EQ(F()->FileListView->Path(), Tree.Root);
            EXPECT_EQ(F()->FileListView->Mask(), "*.mp4;*.m4v");
            EXPECT_EQ(Row("notes.txt"), -1);
            EXPECT_EQ(Row("A"), 0);  // folders first
            EXPECT_LT(Row("视频"), Row("clip.mp4"));
            Type("clip");
            Open();
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->FileName(), Tree / "clip.mp4");
    EXPECT_EQ(Dialog->Files()->Count(), 0);  // a typed name is not among the files
}

TEST_F(OpenDialog, OpenRuleTable)
{
    struct Case {
        int FilterIndex;
        const char* DefaultExt;
        const char* Typed;
        const char* Result;  // empty: the dialog stays open
        bool Told;           // the message that no such file exists was shown
    } Cases[] = {
        {1, "", "clip", "clip.mp4", false},
        {3, "", "clip", "", true},
        {3, "", "clip.avi", "clip.avi", false},
        {1, "avi", "clip", "clip.avi", false},
        {1, "", "missing", "", true},
        {1, "", "", "", false},
        {1, "", "*.mp4", "", false},
        {1, "", "A/../one.mp4", "A/../one.mp4", false},
    };
    for (const Case& C : Cases) {
        Dialog->SetFilterIndex(C.FilterIndex);
        Dialog->SetDefaultExt(C.DefaultExt);
        Dialog->SetFileName("");
        bool Open1 = false;
        String Said;
        Run.Script({
            [&] {
                Type(C.Typed);
                Open();
            },
            [&] {
                if (TbsMessageForm* M = MessageBox()) {
                    Said = M->Message->Caption();
                    M->SetModalResult(mrOk);
                }
            },
            [&] {
                Open1 = F() != nullptr;
                if (F()) {
                    EXPECT_EQ(F()->FileNameEdit->Text(), C.Typed);
                    F()->SetModalResult(mrCancel);
                }
            },
        });
        const bool R = Dialog->Execute();
        EXPECT_EQ(R, *C.Result != 0) << C.Typed;
        EXPECT_EQ(Open1, *C.Result == 0) << C.Typed;
        const String Told = C.Told ? "找不到该文件，请确认文件名和路径是否正确。" : "";
        EXPECT_EQ(Said, Told) << C.Typed;
        if (R) EXPECT_EQ(Dialog->FileName(), Tree / C.Result);
    }
}

TEST_F(OpenDialog, VanishedSelectionClearsTheNameAndStaysOpen)
{
    String Seen = "unset";
    Run.Script({
        [&] {
            F()->FileListView->SetItemIndex(Row("one.mp4"));
            EXPECT_EQ(F()->FileNameEdit->Text(), "one.mp4");
            std::filesystem::remove(std::string(Tree / "one.mp4"));
            Open();
        },
        [&] {
            // the list has let the file go: the name left in the box names no file
            ASSERT_NE(MessageBox(), nullptr);
            Headless::Key(VK_ESCAPE);
        },
        [&] {
            ASSERT_NE(F(), nullptr);
            EXPECT_EQ(MessageBox(), nullptr);
            Seen = F()->FileName;
            Headless::Key(VK_ESCAPE);
        },
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Seen, "");
}

TEST_F(OpenDialog, SaveModeAsksBeforeOverwriting)
{
    std::unique_ptr<TbsOpenDlgForm> Form(TbsOpenDlgForm::CreateEx(Application, true, nullptr, false, nullptr));
    TbsOpenDlgForm* S = Form.get();
    S->HandleNeeded();
    S->FilterComboBox->HandleNeeded();
    S->OverwritePromt = true;
    S->FileListView->SetRoot(Tree.Root);
    S->FilterComboBox->SetFilter("MP4|*.mp4|AVI|*.avi");
    S->FilterComboBox->SetItemIndex(0);
    EXPECT_EQ(S->OpenButton->Caption(), "&Save");
    // choosing a filter swaps the typed extension
    S->FileNameEdit->SetText("clip.mp4");
    S->FilterComboBox->SetItemIndex(1);
    EXPECT_EQ(S->FileNameEdit->Text(), "clip.avi");
    S->FilterComboBox->SetItemIndex(0);
    S->FileNameEdit->SetText("clip");
    bool Asked = false;
    ModalScript Box;
    Box.Active = [] { return static_cast<TForm*>(MessageBox()); };
    Run.Uninstall();
    Box.Install();
    Box.Script({[&] {
        Asked = true;
        EXPECT_EQ(MessageBox()->Caption().empty(), false);
        MessageBox()->SetModalResult(mrCancel);
    }});
    S->OpenButtonClick(S);
    EXPECT_TRUE(Asked);
    EXPECT_EQ(S->ModalResult(), mrNone);
    Box.Script({[&] { MessageBox()->SetModalResult(mrOk); }});
    S->OpenButtonClick(S);
    EXPECT_EQ(S->ModalResult(), mrOk);
    EXPECT_EQ(S->FileName, Tree / "clip");  // the extension is added by who runs the form
    // a new name closes at once
    S->SetModalResult(mrNone);
    S->FileNameEdit->SetText("new");
    Asked = false;
    S->OpenButtonClick(S);
    EXPECT_EQ(S->ModalResult(), mrOk);
    Box.Uninstall();
}

TEST_F(OpenDialog, HistoryBackAndRefresh)
{
    std::vector<String> Seen;
    auto Path = [&] { return F()->FileListView->Path(); };
    Run.Script({
        [&] {
            F()->FileListView->SetPath(Tree / "A");
            F()->FileListView->SetPath(Tree / "A/B");
            F()->FileListView->SetPath(Tree / "A/B/C");
            EXPECT_EQ(F()->HistoryCount(), 4);
            ClickAt(F()->BackToolButton, 10, 10);
        },
        [&] {
            Seen.push_back(Path());
            ClickAt(F()->BackToolButton, 10, 10);
        },
        [&] {
            Seen.push_back(Path());
            F()->FileListView->SetPath(Tree / "D");
            F()->FileListView->SetFocus();
            Headless::Key(VK_F5);
            EXPECT_EQ(F()->HistoryCount(), 3);  // root, A, D
            ClickAt(F()->BackToolButton, 10, 10);
        },
        [&] {
            Seen.push_back(Path());
            ClickAt(F()->UpToolButton, 10, 10);
        },
        [&] {
            Seen.push_back(Path());
            Cancel();
        },
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Seen, (std::vector<String>{Tree / "A/B", Tree / "A", Tree / "A", Tree.Root}));
}

TEST_F(OpenDialog, NewFolderNumbersFromTheSecondClick)
{
    Tree.Dir("New Folder");
    Run.Script({
        [&] { ClickAt(F()->NewFolderToolButton, 10, 10); },
        [&] {
            EXPECT_EQ(F()->NewFolderCount, 1);
            ClickAt(F()->NewFolderToolButton, 10, 10);
        },
        [&] {
            EXPECT_TRUE(IsExistingFolder(Tree / "New Folder(2)"));
            EXPECT_TRUE(F()->FileListView->IsEditing());
            F()->FileListView->CancelEdit();
            // under Computer nothing happens
            F()->FileListView->SetRoot("rfMyComputer");
            ClickAt(F()->NewFolderToolButton, 10, 10);
        },
        [&] {
            EXPECT_EQ(F()->NewFolderCount, 2);
            Cancel();
        },
    });
    Dialog->Execute();
    EXPECT_TRUE(Run.Finished());
}

TEST_F(OpenDialog, ARefusedFolderNameKeepsTheLabelAndEditingGoesOn)
{
    // a new folder named as one that exists: the rename is refused and reported, the item
    // keeps its label, and the next edit, Enter and Backspace work as before
    Tree.Dir("D/E");
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    TbsSkinFileListView* L = nullptr;
    Run.Script({
        [&] {
            L = F()->FileListView;
            L->SetPath(Tree / "D");
            ClickAt(F()->NewFolderToolButton, 10, 10);
        },
        [&] {
            ASSERT_TRUE(L->IsEditing());
            Headless::Type("E");
            Headless::Key(VK_RETURN);
        },
        [&] {
            EXPECT_EQ(Errors.size(), 1u);
            EXPECT_FALSE(L->IsEditing());
            const int R = Row("New Folder");
            ASSERT_GE(R, 0);
            EXPECT_EQ(L->Items()->Item(R)->Caption(), "New Folder");
            L->SetItemIndex(R);
            Headless::Key(VK_F2);
        },
        [&] {
            ASSERT_TRUE(L->IsEditing());
            Headless::Type("F");
            Headless::Key(VK_RETURN);
        },
        [&] {
            EXPECT_FALSE(L->IsEditing());
            EXPECT_TRUE(IsExistingFolder(Tree / "D/F"));
            Headless::Key(VK_BACK);
        },
        [&] {
            EXPECT_EQ(L->Path(), Tree.Root);
            Cancel();
        },
    });
    Dialog->Execute();
    EXPECT_TRUE(Run.Finished());
    Application->OnException = nullptr;
}

TEST_F(OpenDialog, LookInShowsTheStartFolderFromTheFirstFrame)
{
    String Shown;
    Run.Script({
        [&] {
            Shown = F()->ShellBox->Text();
            Cancel();
        },
    });
    Dialog->Execute();
    EXPECT_EQ(Shown, ExtractFileName(Tree.Root));
}

TEST_F(OpenDialog, CancelWritesBackOnlyTheSettings)
{
    Dialog->SetFileName(Tree / "A/keep.avi");
    Dialog->Files()->Add("old");
    Run.Script({
        [&] {
            EXPECT_EQ(F()->FileListView->Path(), Tree / "A");
            EXPECT_EQ(F()->FileNameEdit->Text(), "keep.avi");
            F()->FilterComboBox->SetItemIndex(2);
            F()->SetClientWidth(500);
            F()->SetClientHeight(333);
            F()->ViewItemClick(F()->ReportMenuItem);
            EXPECT_TRUE(F()->ReportMenuItem->Checked());
            EXPECT_EQ(F()->FileListView->Columns()->Count(), 4);
            Cancel();
        },
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->FilterIndex(), 3);
    EXPECT_EQ(Dialog->DialogWidth(), 500);
    EXPECT_EQ(Dialog->DialogHeight(), 333);
    EXPECT_EQ(Dialog->ListViewStyle(), vsReport);
    EXPECT_EQ(Dialog->FileName(), Tree / "A/keep.avi");
    ASSERT_EQ(Dialog->Files()->Count(), 1);
    // the next run opens in report view at the new size with the third filter
    Run.Script({[&] {
        EXPECT_EQ(F()->FileListView->ViewStyle(), vsReport);
        EXPECT_TRUE(F()->ReportMenuItem->Checked());
        EXPECT_EQ(F()->ClientWidth(), 500);
        EXPECT_EQ(F()->FileListView->Mask(), "*.*");
        Headless::Key(VK_ESCAPE);
    }});
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(OpenDialog, MultiSelectionGivesTheFilesInListOrder)
{
    Dialog->SetMultiSelection(true);
    std::vector<String> Expected;
    Run.Script({
        [&] {
            TbsSkinFileListView* L = F()->FileListView;
            EXPECT_TRUE(L->MultiSelect());
            for (const char* N : {"三.mp4", "视频", "two.mp4", "one.mp4"}) L->Items()->Item(Row(N))->SetSelected(true);
            for (int I = 0; I < L->FolderCount(); ++I) {
                const String N = L->FolderAt(I)->DisplayName();
                if (N == "one.mp4" || N == "two.mp4" || N == "三.mp4") Expected.push_back(Tree / N);
            }
            Type("one.mp4");
            Open();
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    std::vector<String> Files;
    for (int I = 0; I < Dialog->Files()->Count(); ++I) Files.push_back(Dialog->Files()->Strings(I));
    EXPECT_EQ(Expected.size(), 3u);
    EXPECT_EQ(Files, Expected);
}

TEST_F(OpenDialog, LongFilterGivesOneItemPerPair)
{
    String Filter;
    for (int I = 0; I < 42; ++I) Filter += (I ? "|" : "") + String("格式") + IntToStr(I) + "|*.f" + IntToStr(I);
    Dialog->SetFilter(Filter);
    Dialog->SetFilterIndex(42);
    int Count = 0;
    String Mask;
    Run.Script({[&] {
        Count = F()->FilterComboBox->Items()->Count();
        Mask = F()->FileListView->Mask();
        Cancel();
    }});
    Dialog->Execute();
    EXPECT_EQ(Count, 42);
    EXPECT_EQ(Mask, "*.f41");
}

}  // namespace

namespace {

// Enter in the name edit takes a typed path as the Open button does: a folder opens, a
// path that names no file is told and changes nothing, and the path of a file is chosen.
TEST_F(OpenDialog, EnterTakesATypedPathAsTheOpenButtonDoes)
{
    String Shown;
    Run.Script({
        [&] {
            Type(Tree / "A");
            Headless::Key(VK_RETURN);
        },
        [&] {
            ASSERT_NE(F(), nullptr);
            Shown = F()->FileListView->Path();
            Type(Tree / "A/none.mp4");
            Headless::Key(VK_RETURN);
        },
        [&] {
            ASSERT_NE(MessageBox(), nullptr);  // no such file: the dialog says so
            Headless::Key(VK_RETURN);
        },
        [&] {
            ASSERT_NE(F(), nullptr);
            EXPECT_EQ(MessageBox(), nullptr);
            EXPECT_EQ(F()->FileNameEdit->Text(), Tree / "A/none.mp4");
            Type(Tree / "one.mp4");
            Headless::Key(VK_RETURN);
        },
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Shown, Tree / "A");
    EXPECT_EQ(Dialog->FileName(), Tree / "one.mp4");
}

} // namespace

namespace {

// The built-in texts of the open dialog's form, as the user reads them without a skin.
TEST_F(OpenDialog, BuiltInTextsOfTheForm)
{
    std::unique_ptr<TbsOpenDlgForm> Form(TbsOpenDlgForm::CreateEx(Application, false, nullptr, false, nullptr));
    TbsOpenDlgForm* O = Form.get();
    const std::pair<String, String> Texts[] = {
        {O->Drivelabel->Caption(), "Look in: "},
        {O->BackToolButton->Hint(), "Go To Last Folder Visited"},
        {O->UpToolButton->Hint(), "Up One Level"},
        {O->NewFolderToolButton->Hint(), "Create New Folder"},
        {O->StyleToolButton->Hint(), "View Menu"},
        {O->IconMenuItem->Caption(), "Large icons"},
        {O->SmallIconMenuItem->Caption(), "Small icons"},
        {O->ListMenuItem->Caption(), "List"},
        {O->ReportMenuItem->Caption(), "Details"},
        {O->OpenButton->Caption(), "&Open"},
        {O->CancelButton->Caption(), "Cancel"},
        {O->OpenFileLabel->Caption(), "File name:"},
        {O->FileTypeLabel->Caption(), "File type:"},
    };
    for (const auto& T : Texts) EXPECT_EQ(T.first, T.second);
    std::unique_ptr<TbsOpenDlgForm> Save(TbsOpenDlgForm::CreateEx(Application, true, nullptr, false, nullptr));
    EXPECT_EQ(Save->OpenButton->Caption(), "&Save");
}

} // namespace
