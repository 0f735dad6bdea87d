// The open dialog and the folder dialog on a real display, driven through the X server on a
// temporary tree with Chinese names: a double click opens a folder, a typed name and Enter
// confirm, a filter is picked from the drop-down with the mouse, three files are selected
// with the mouse (click, Shift+click) and confirmed; the folder dialog expands a folder by
// a double click and confirms a choice.  Screenshots are saved and checked.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <set>

#include "display_pump.h"
#include "filedlg_keys.h"
#include "frame/display/frame_display_probe.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"
#include "dialogs/filedialog_support.h"

using namespace filedlgtest;

namespace {

class FileDialogDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        ASSERT_TRUE(framedisplay::Open());
        ASSERT_TRUE(filedlgx::Open());
        Opened = true;
        Tree.Dir("视频");
        Tree.Dir("文档/旧");
        for (const char* F : {"视频/a.mp4", "视频/b.mp4", "视频/c.mp4", "视频/d.avi", "视频/说明.txt"}) Tree.File(F);
        Main = Application->CreateForm<TForm>();
        Main->SetBounds(0, 0, 60, 60);
        Main->Show();
    }
    void TearDown() override
    {
        if (!Opened) return;
        Application->OnIdle = nullptr;
        DoneForms();
        filedlgx::Close();
        framedisplay::Close();
    }
    // Steps run one per idle turn after the dialog's window is mapped; a wait of a few
    // turns between steps lets the server deliver the input.
    void Drive(std::function<TForm*()> Active, std::vector<TStep> Steps)
    {
        Application->OnIdle = [Active, Steps, Next = size_t(0), Turn = 0](TObject*) mutable {
            TForm* F = Active();
            if (!F) return;
            usleep(20000);
            if (++Turn % 6 == 0) {
                if (Next < Steps.size()) {
                    Steps[Next++]();
                } else if (Turn > 6 * int(Steps.size()) + 200) {
                    ADD_FAILURE() << "the dialog did not close";
                    F->SetModalResult(mrAbort);
                }
            }
            if (F->HandleAllocated()) PostMessage(F->Handle(), WM_NULL, 0, 0);
        };
    }
    static void ClickScreen(TPoint P, bool Double = false)
    {
        framedisplay::MovePointer(P.X, P.Y);
        framedisplay::ClickButton(1);
        if (Double) framedisplay::ClickButton(1);
    }
    static TPoint RowPoint(TbsSkinFileListView* L, const String& Name)
    {
        for (int I = 0; I < L->FolderCount(); ++I)
            if (L->FolderAt(I)->DisplayName() == Name) {
                TRect R = L->NativeItemRect(I, drLabel);
                return L->ClientToScreen(Point(R.Left + 6, (R.Top + R.Bottom) / 2));
            }
        ADD_FAILURE() << "no row " << Name;
        return Point(0, 0);
    }
    // Saves the form's screen area and gives its distinct colours.
    static size_t Photograph(TForm* F, const std::string& Name)
    {
        const TRect R = F->BoundsRect();
        auto Pixels = framedisplay::ScreenRect(R.Left, R.Top, R.Width(), R.Height());
        framedisplay::SavePixmap(Pixels, R.Width(), R.Height(), Name);
        return std::set<uint32_t>(Pixels.begin(), Pixels.end()).size();
    }

    // Screen pixels of a control's client area, from column FromX on, dark enough to be text.
    static int DarkPixels(TControl* C, int FromX = 0)
    {
        const TPoint O = C->ClientToScreen(Point(FromX, 0));
        int N = 0;
        for (uint32_t P : framedisplay::ScreenRect(O.X, O.Y, C->ClientWidth() - FromX, C->ClientHeight()))
            N += (P >> 16 & 0xFF) < 100 && (P >> 8 & 0xFF) < 100 && (P & 0xFF) < 100;
        return N;
    }
    static TbsMessageForm* MessageBox()
    {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (auto* M = dynamic_cast<TbsMessageForm*>(Screen->Forms(I))) return M;
        return nullptr;
    }
    static void PressKey(const char* Name)
    {
        filedlgx::KeyDown(Name);
        filedlgx::KeyUp(Name);
    }

    ScratchTree Tree;
    TForm* Main = nullptr;
    bool Opened = false;
};

TEST_F(FileDialogDisplay, OpenDialogTypedNameFilterAndMouseSelection)
{
    auto* D = new TbsSkinOpenDialog(Main);
    D->SetTitle("打开文件");
    D->SetInitialDir(Tree.Root);
    D->SetFilter("视频|*.mp4|AVI|*.avi|全部|*.*");
    auto F = [D] { return D->DlgFrm(); };
    // one: double-click the folder, type a name and press Enter
    Drive(F, {
                 [&] {
                     EXPECT_GT(Photograph(F(), "filedlg_open_start.ppm"), 8u);
                     ClickScreen(RowPoint(F()->FileListView, "视频"), true);
                 },
                 [&] {
                     EXPECT_EQ(F()->FileListView->Path(), Tree / "视频");
                     EXPECT_EQ(F()->FileListView->FolderCount(), 3);
                     ClickScreen(F()->FileNameEdit->ClientToScreen(Point(20, 8)));
                 },
                 [&] { filedlgx::TypeText("b"); },
                 [&] {
                     filedlgx::KeyDown("Return");
                     filedlgx::KeyUp("Return");
                 },
             });
    ASSERT_TRUE(D->Execute());
    EXPECT_EQ(D->FileName(), Tree / "视频/b.mp4");

    // two: multi-selection after picking the "全部" filter from the drop-down
    D->SetMultiSelection(true);
    Drive(F, {
                 [&] {
                     EXPECT_EQ(F()->FileListView->Path(), Tree / "视频");
                     TbsSkinFilterComboBox* C = F()->FilterComboBox;
                     ClickScreen(C->ClientToScreen(Point(C->Width() - 8, C->Height() / 2)));
                 },
                 [&] {
                     TbsSkinFilterComboBox* C = F()->FilterComboBox;
                     ASSERT_TRUE(C->IsPopupVisible());
                     TbsListBox* Inner = C->ListBox()->ListBox;
                     ClickScreen(Inner->ClientToScreen(Point(20, Inner->ItemHeight() * 2 + Inner->ItemHeight() / 2)));
                 },
                 [&] {
                     EXPECT_EQ(F()->FilterComboBox->ItemIndex(), 2);
                     EXPECT_EQ(F()->FileListView->Mask(), "*.*");
                     EXPECT_EQ(F()->FileListView->FolderCount(), 5);
                     ClickScreen(RowPoint(F()->FileListView, "a.mp4"));
                 },
                 [&] {
                     filedlgx::KeyDown("Shift_L");
                     ClickScreen(RowPoint(F()->FileListView, "c.mp4"));
                     filedlgx::KeyUp("Shift_L");
                 },
                 [&] {
                     EXPECT_EQ(F()->FileListView->SelCount(), 3);
                     EXPECT_GT(Photograph(F(), "filedlg_open_selected.ppm"), 8u);
                     ClickScreen(F()->OpenButton->ClientToScreen(Point(30, 10)));
                 },
             });
    ASSERT_TRUE(D->Execute());
    std::vector<String> Files;
    for (int I = 0; I < D->Files()->Count(); ++I) Files.push_back(D->Files()->Strings(I));
    EXPECT_EQ(Files, (std::vector<String>{Tree / "视频/a.mp4", Tree / "视频/b.mp4", Tree / "视频/c.mp4"}));
    EXPECT_EQ(D->FilterIndex(), 3);
}

// Enter on a name that names no file brings up the dialog's message, which Enter closes;
// the dialog stays open with the name.  A run after a confirmed one starts with an empty
// name box (in the folder of the last file).
TEST_F(FileDialogDisplay, OpenDialogTellsAMissingNameAndStartsWithAnEmptyName)
{
    auto* D = new TbsSkinOpenDialog(Main);
    D->SetTitle("打开文件");
    D->SetInitialDir(Tree / "视频");
    D->SetFilter("视频|*.mp4");
    auto F = [D] { return D->DlgFrm(); };
    auto ClickName = [&] { ClickScreen(F()->FileNameEdit->ClientToScreen(Point(20, 8))); };
    Drive(F, {
                 ClickName,
                 [&] { filedlgx::TypeText("b"); },
                 [&] { PressKey("Return"); },
             });
    ASSERT_TRUE(D->Execute());
    ASSERT_EQ(D->FileName(), Tree / "视频/b.mp4");

    String Said;
    Drive(F, {
                 [&] {
                     EXPECT_EQ(F()->FileListView->Path(), Tree / "视频");
                     EXPECT_EQ(F()->FileNameEdit->Text(), "");
                     // nothing but the caret at the start of the box
                     EXPECT_EQ(DarkPixels(F()->FileNameEdit, 6), 0) << "the name box shows a name";
                     ClickName();
                 },
                 [&] { filedlgx::TypeText("zz"); },
                 [&] { PressKey("Return"); },
                 [&] {
                     TbsMessageForm* M = MessageBox();
                     ASSERT_NE(M, nullptr) << "no message for a name that names no file";
                     EXPECT_TRUE(IsWindowVisible(M->Handle()));
                     Said = M->Message->Caption();
                     // dark text on the light face of the box
                     const int All = M->Message->ClientWidth() * M->Message->ClientHeight();
                     EXPECT_TRUE(displaypump::PumpUntil([&] {
                         const int Dark = DarkPixels(M->Message);
                         return Dark > 20 && Dark < All / 2;
                     })) << "the message shows no text: " << DarkPixels(M->Message) << " dark of " << All;
                     EXPECT_GT(Photograph(M, "filedlg_open_missing.ppm"), 4u);
                     PressKey("Return");
                 },
                 [&] {
                     EXPECT_EQ(MessageBox(), nullptr);
                     EXPECT_EQ(F()->FileNameEdit->Text(), "zz");
                     PressKey("Escape");
                 },
             });
    EXPECT_FALSE(D->Execute());
    EXPECT_EQ(Said, "找不到该文件，请确认文件名和路径是否正确。");
}

TEST_F(FileDialogDisplay, FolderDialogDoubleClickAndOk)
{
    auto* D = new TbsSkinSelectDirectoryDialog(Main);
    D->SetTitle("选择输出目录");
    D->SetDirectory(Tree / "文档");
    auto F = [D] { return D->DlgFrm(); };
    Drive(F, {
                 [&] {
                     TTreeNode* N = F()->DirTreeView->Selected();
                     ASSERT_NE(N, nullptr);
                     EXPECT_EQ(N->Text(), "文档");
                     ASSERT_GT(N->Count(), 0);
                     TRect R = N->Item(0)->DisplayRect(true);
                     ClickScreen(F()->DirTreeView->ClientToScreen(Point(R.Left + 4, (R.Top + R.Bottom) / 2)), true);
                 },
                 [&] {
                     ASSERT_NE(F()->DirTreeView->Selected(), nullptr);
                     EXPECT_EQ(F()->DirTreeView->Selected()->Text(), "旧");
                     EXPECT_GT(Photograph(F(), "filedlg_folder.ppm"), 8u);
                     ClickScreen(F()->OkButton->ClientToScreen(Point(30, 10)));
                 },
             });
    ASSERT_TRUE(D->Execute());
    EXPECT_EQ(D->Directory(), Tree / "文档/旧");
}

}  // namespace
