// The open dialog and the folder dialog on a real display, driven through the X server on a
// temporary tree with Chinese names: a double click opens a folder, a typed name and Enter
// confirm, a filter is picked from the drop-down with the mouse, three files are selected
// with the mouse (click, Shift+click) and confirmed; the folder dialog expands a folder by
// a double click and confirms a choice.  Screenshots are checked for the rows, the
// selection and the chosen folder.  The open dialog's first frame on the display, caught
// as the window goes on it, is the frame it settles on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include "display_pump.h"
#include "filedlg_keys.h"
#include "frame/display/frame_display_probe.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Surface.h"
#include "platform/windows/Backend.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"
#include "dialogs/filedialog_support.h"

using namespace filedlgtest;

namespace {

// The screen pixels ($00RRGGBB) of the rectangle R of C's client area.
std::vector<uint32_t> ScreenOf(TWinControl* C, const TRect& R)
{
    const TPoint P = C->ClientToScreen(Point(R.Left, R.Top));
    return framedisplay::ScreenRect(P.X, P.Y, R.Width(), R.Height());
}

// The colour most pixels have.
uint32_t Commonest(const std::vector<uint32_t>& Px)
{
    std::map<uint32_t, int> N;
    for (uint32_t C : Px) ++N[C];
    return N.empty() ? 0 : std::max_element(N.begin(), N.end(), [](auto& A, auto& B) { return A.second < B.second; })->first;
}

// Pixels of another colour than the commonest: the text drawn over a background.
int Drawn(const std::vector<uint32_t>& Px)
{
    const uint32_t Back = Commonest(Px);
    return int(std::count_if(Px.begin(), Px.end(), [Back](uint32_t C) { return C != Back; }));
}

class FileDialogDisplay : public ::testing::Test {
protected:
    // The window system on the display; a test may watch what goes to it.
    virtual bool InstallBackend() { return InstallX11Backend(); }
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallBackend());
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
    // The label rectangle of the row Name in the list's client area.
    static TRect RowLabel(TbsSkinFileListView* L, const String& Name)
    {
        for (int I = 0; I < L->FolderCount(); ++I)
            if (L->FolderAt(I)->DisplayName() == Name) return L->NativeItemRect(I, drLabel);
        ADD_FAILURE() << "no row " << Name;
        return TRect();
    }
    static TPoint RowPoint(TbsSkinFileListView* L, const String& Name)
    {
        const TRect R = RowLabel(L, Name);
        return L->ClientToScreen(Point(R.Left + 6, (R.Top + R.Bottom) / 2));
    }
    // The screen pixels of the row Name's label.
    static std::vector<uint32_t> RowPixels(TbsSkinFileListView* L, const String& Name)
    {
        return ScreenOf(L, RowLabel(L, Name));
    }
    // Saves the form's screen area when screenshots are kept.
    static void Photograph(TForm* F, const std::string& Name)
    {
        const TRect R = F->BoundsRect();
        framedisplay::SavePixmap(framedisplay::ScreenRect(R.Left, R.Top, R.Width(), R.Height()), R.Width(), R.Height(),
                                 Name);
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
                     Photograph(F(), "filedlg_open_start.ppm");
                     // the start folder's two folders, each name drawn in its row
                     for (const char* Row : {"视频", "文档"})
                         EXPECT_GT(Drawn(RowPixels(F()->FileListView, Row)), 20) << Row;
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
                     Photograph(F(), "filedlg_open_selected.ppm");
                     // the three selected rows behind one selection colour, the others not
                     const uint32_t Back = Commonest(RowPixels(F()->FileListView, "d.avi"));
                     const uint32_t Bar = Commonest(RowPixels(F()->FileListView, "a.mp4"));
                     EXPECT_NE(Bar, Back) << std::hex << Bar;
                     for (const char* Row : {"b.mp4", "c.mp4"})
                         EXPECT_EQ(Commonest(RowPixels(F()->FileListView, Row)), Bar) << Row;
                     EXPECT_EQ(Commonest(RowPixels(F()->FileListView, "说明.txt")), Back);
                     for (const char* Row : {"a.mp4", "d.avi"})
                         EXPECT_GT(Drawn(RowPixels(F()->FileListView, Row)), 20) << Row;
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
                     Photograph(M, "filedlg_open_missing.ppm");
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
                     Photograph(F(), "filedlg_folder.ppm");
                     // the chosen folder behind the selection colour, its parent not
                     TTreeNode* Chosen = F()->DirTreeView->Selected();
                     const auto Sel = ScreenOf(F()->DirTreeView, Chosen->DisplayRect(true));
                     const auto Parent = ScreenOf(F()->DirTreeView, Chosen->Parent()->DisplayRect(true));
                     EXPECT_NE(Commonest(Sel), Commonest(Parent));
                     EXPECT_GT(Drawn(Sel), 10) << "\"旧\"";
                     EXPECT_GT(Drawn(Parent), 10) << "\"文档\"";
                     ClickScreen(F()->OkButton->ClientToScreen(Point(30, 10)));
                 },
             });
    ASSERT_TRUE(D->Execute());
    EXPECT_EQ(D->Directory(), Tree / "文档/旧");
}

// Passes everything to the display's window system and watches one top-level window: the
// frame it first puts on the display (its back buffer as the first Present after it was
// shown puts it; what that Present leaves out stays Unshown), whether the server waited
// for events between the showing and that frame (the window stood on the display
// without a frame), and every size it was shown in.
class TFrameWatch : public TWindowBackend {
public:
    static constexpr uint32_t Unshown = 0xFF000000u;
    explicit TFrameWatch(std::unique_ptr<TWindowBackend> AReal) : Real(std::move(AReal)) {}
    HWND Watched = nullptr;  // the window to watch, once known
    std::function<bool(HWND)> Which;  // picks it among the windows shown
    std::vector<uint32_t> First;      // $00RRGGBB, row by row
    int FirstW = 0, FirstH = 0;
    bool ShownEmpty = false;
    std::vector<std::pair<int, int>> Sizes;

    const char* Name() const override { return Real->Name(); }
    void CreateTop(winimpl::TWindow* W) override { Real->CreateTop(W); }
    void DestroyTop(winimpl::TWindow* W) override { Real->DestroyTop(W); }
    void ShowTop(winimpl::TWindow* W, bool Show, bool Activate) override
    {
        Real->ShowTop(W, Show, Activate);
        if (!Show || Watched || !Which) return;
        const HWND H = HandleOf(W);
        if (H && Which(H)) Watched = H, Waiting = true;
    }
    void MoveTop(winimpl::TWindow* W) override { Real->MoveTop(W); }
    void RestackTop(winimpl::TWindow* W) override { Real->RestackTop(W); }
    void SetTopTitle(winimpl::TWindow* W) override { Real->SetTopTitle(W); }
    void SetTopShape(winimpl::TWindow* W) override { Real->SetTopShape(W); }
    void SetTopOpacity(winimpl::TWindow* W) override { Real->SetTopOpacity(W); }
    void SetTopStyle(winimpl::TWindow* W) override { Real->SetTopStyle(W); }
    void IconifyTop(winimpl::TWindow* W, bool Iconify) override { Real->IconifyTop(W, Iconify); }
    void FocusTop(winimpl::TWindow* W) override { Real->FocusTop(W); }
    void Present(winimpl::TWindow* W, const TRect& R) override
    {
        Real->Present(W, R);
        if (!Watched || HandleOf(W) != Watched) return;
        const PSurface B = GetWindowBackBuffer(Watched);
        if (!B) return;
        if (Sizes.empty() || Sizes.back() != std::make_pair(B->Width(), B->Height()))
            Sizes.emplace_back(B->Width(), B->Height());
        if (!Waiting) return;
        Waiting = false;
        FirstW = B->Width(), FirstH = B->Height();
        First.assign(size_t(FirstW) * size_t(FirstH), Unshown);
        for (int Y = std::max(0, R.Top); Y < std::min(FirstH, R.Bottom); ++Y)
            for (int X = std::max(0, R.Left); X < std::min(FirstW, R.Right); ++X)
                First[size_t(Y) * size_t(FirstW) + size_t(X)] = B->Row32(Y)[X] & 0xFFFFFF;
    }
    bool ShowsPaintedFrames() const override { return Real->ShowsPaintedFrames(); }
    uintptr_t CreateNativeChild(winimpl::TWindow* W) override { return Real->CreateNativeChild(W); }
    void UpdateNativeChild(winimpl::TWindow* W) override { Real->UpdateNativeChild(W); }
    void DestroyNativeChild(winimpl::TWindow* W) override { Real->DestroyNativeChild(W); }
    uintptr_t NativeTopId(winimpl::TWindow* W) override { return Real->NativeTopId(W); }
    void GrabPointer(winimpl::TWindow* W) override { Real->GrabPointer(W); }
    void UngrabPointer() override { Real->UngrabPointer(); }
    bool QueryPointer(TPoint& Screen) override { return Real->QueryPointer(Screen); }
    void WarpPointer(TPoint P) override { Real->WarpPointer(P); }
    void SetCursorShape(winimpl::TWindow* W, HCURSOR C) override { Real->SetCursorShape(W, C); }
    void ActivateForeign(winimpl::TWindow* W) override { Real->ActivateForeign(W); }
    std::vector<TMonitorInfo> Monitors() override { return Real->Monitors(); }
    bool Compositing() override { return Real->Compositing(); }
    void Wait(int TimeoutMs, const std::vector<int>& WakeFds) override
    {
        ShownEmpty = ShownEmpty || Waiting;
        Real->Wait(TimeoutMs, WakeFds);
    }
    void Poll() override
    {
        ShownEmpty = ShownEmpty || Waiting;
        Real->Poll();
    }

private:
    HWND HandleOf(winimpl::TWindow* W)
    {
        const uintptr_t Id = Real->NativeTopId(W);
        HWND Found = nullptr;
        EnumWindows([&](HWND H) {
            if (GetNativeWindow(H) != Id) return true;
            Found = H;
            return false;
        });
        return Found;
    }
    std::unique_ptr<TWindowBackend> Real;
    bool Waiting = false;  // shown, its first frame not yet put
};

class FileDialogFirstFrame : public FileDialogDisplay {
protected:
    bool InstallBackend() override
    {
        auto Real = MakeX11Backend();
        if (!Real) return false;
        auto W = std::make_unique<TFrameWatch>(std::move(Real));
        Watch = W.get();
        SetBackend(std::move(W));
        SetWindowClock({});
        return true;
    }
    TFrameWatch* Watch = nullptr;
};

TEST_F(FileDialogFirstFrame, TheOpenDialogGoesOnTheDisplayPaintedAsItSettles)
{
    framedisplay::MovePointer(1279, 1023);  // away from the dialog: no row under the pointer
    auto* D = new TbsSkinOpenDialog(Main);
    D->SetTitle("打开文件");
    D->SetInitialDir(Tree.Root);
    D->SetFilter("视频|*.mp4|全部|*.*");
    Watch->Which = [D](HWND H) { return D->DlgFrm() && D->DlgFrm()->HandleAllocated() && D->DlgFrm()->Handle() == H; };
    std::vector<uint32_t> Settled;
    int SettledW = 0, SettledH = 0;
    const auto Began = std::chrono::steady_clock::now();
    Application->OnIdle = [&](TObject*) {
        TForm* F = D->DlgFrm();
        if (!F || !F->HandleAllocated()) return;
        usleep(10000);
        if (std::chrono::steady_clock::now() - Began > std::chrono::seconds(1)) {
            if (const PSurface B = GetWindowBackBuffer(F->Handle())) {
                SettledW = B->Width(), SettledH = B->Height();
                for (int Y = 0; Y < SettledH; ++Y)
                    for (int X = 0; X < SettledW; ++X) Settled.push_back(B->Row32(Y)[X] & 0xFFFFFF);
            }
            F->SetModalResult(mrCancel);
        }
        PostMessage(F->Handle(), WM_NULL, 0, 0);
    };
    EXPECT_FALSE(D->Execute());
    Application->OnIdle = nullptr;

    ASSERT_NE(Watch->Watched, nullptr) << "the dialog was never shown";
    EXPECT_FALSE(Watch->ShownEmpty) << "the dialog stood on the display before its first frame";
    ASSERT_FALSE(Watch->First.empty()) << "no frame of the dialog was shown";
    ASSERT_GT(SettledW, 0);
    EXPECT_EQ(Watch->Sizes, (std::vector<std::pair<int, int>>{{SettledW, SettledH}})) << "shown in one size only";
    ASSERT_EQ(std::make_pair(Watch->FirstW, Watch->FirstH), std::make_pair(SettledW, SettledH));
    int Unshown = 0, Differ = 0;
    for (size_t I = 0; I < Settled.size(); ++I) {
        Unshown += Watch->First[I] == TFrameWatch::Unshown;
        Differ += Watch->First[I] != Settled[I];
    }
    EXPECT_EQ(Unshown, 0) << "the first frame left part of the window out";
    // the edit's caret may blink between the two
    EXPECT_LE(Differ, int(Settled.size()) / 200) << "of " << Settled.size() << " pixels";
    if (Differ > int(Settled.size()) / 200) {
        framedisplay::SavePixmap(Watch->First, SettledW, SettledH, "filedlg_first_frame.ppm");
        framedisplay::SavePixmap(Settled, SettledW, SettledH, "filedlg_settled_frame.ppm");
    }
}

}  // namespace
