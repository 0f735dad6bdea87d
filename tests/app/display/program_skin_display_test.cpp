// The program's skin on a real display: a form of the controls the program's windows use,
// framed and drawn from the program's stored skin, an open popup menu and a hint.  Each
// screenshot is saved (program_skin_*.ppm when screenshots are kept) and checked: frame and
// caption in the skin's colours, controls in the skin's look, Chinese text drawn.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/resources/ProgramPictures.h"
#include "app/resources/ProgramSkin.h"
#include "app/forms/Unit6.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Backend.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinSelectDlg.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenus.h"

using namespace skinscreen;

namespace {

class ProgramSkinDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        ASSERT_TRUE(screentest::OpenScreen());
        InitForms();
        Opened = true;
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsSingle);
        SD = new TbsSkinData(Form);
        SD->SetShowLayeredBorders(false);
        List = new TbsCompressedSkinList(Form);
        InstallProgramSkin(List);
        SD->SetSkinList(List);
        SD->SetSkinIndex(0);
        Frame = new TbsSkinFormFrame(Form);
        Frame->SetSkinData(SD);
        Form->SetCaption("澄枫DAT格式转换器");
        Form->SetBounds(100, 80, 560, 380);
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        screentest::CloseScreen();
    }
    static bool PumpUntil(const std::function<bool()>& Done) { return Pump(Done, 400); }
    // Saves the screen rectangle as program_skin_<Name>.ppm, and returns its pixels.
    static std::vector<uint32_t> Shot(const TRect& R, const String& Name)
    {
        return skinscreen::Shot(R, "program_skin_" + Name + ".ppm");
    }
    // Links every skinned control owned (at any depth) by Root to the skin data.
    void SkinAll(TComponent* Root)
    {
        for (int I = 0; I < Root->ComponentCount(); ++I) {
            TComponent* C = Root->Components(I);
            if (auto* A = dynamic_cast<TbsSkinControl*>(C)) A->SetSkinData(SD);
            else if (auto* B = dynamic_cast<TbsSkinCustomEdit*>(C)) B->SetSkinData(SD);
            else if (auto* P = dynamic_cast<TbsSkinPageControl*>(C)) P->SetSkinData(SD);
            else if (auto* L = dynamic_cast<TbsSkinStdLabel*>(C)) L->SetSkinData(SD);
            else if (auto* T = dynamic_cast<TbsSkinTextLabel*>(C)) T->SetSkinData(SD);
            else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(C)) G->SetSkinData(SD);
            else if (auto* F = dynamic_cast<TbsSkinFormFrame*>(C)) F->SetSkinData(SD);
            SkinAll(C);
        }
    }

    template <class T>
    T* Put(TWinControl* Parent, TRect R)
    {
        auto* C = new T(Form);
        C->SetParent(Parent);
        C->SetBoundsRect(R);
        C->SetSkinData(SD);
        return C;
    }

    bool Opened = false;
    TForm* Form = nullptr;
    TbsSkinData* SD = nullptr;
    TbsCompressedSkinList* List = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
};

TEST_F(ProgramSkinDisplay, FormOfTheProgramsControlsIsDrawnFromTheProgramSkin)
{
    ASSERT_FALSE(SD->Empty);
    auto* Menu = new TbsSkinMainMenu(Form);
    for (const char* C : {"文件", "编辑", "动作", "帮助"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        Menu->Items()->Add(I);
    }
    auto* Bar = new TbsSkinMainMenuBar(Form);
    Bar->SetParent(Form);
    Bar->SetSkinData(SD);
    Bar->SetSkinFormFrame(Frame);
    Frame->SetMainMenuBar(Bar);
    Bar->SetMainMenu(Menu);

    auto* Start = Put<TbsSkinButton>(Form, Bounds(20, 300, 90, 25));
    Start->SetCaption("开始");
    auto* Group = Put<TbsSkinGroupBox>(Form, Bounds(300, 40, 230, 160));
    Group->SetCaption("视频预览");
    auto* Label = new TbsSkinStdLabel(Form);
    Label->SetParent(Form);
    Label->SetSkinData(SD);
    Label->SetCaption("输出格式：");
    Label->SetBounds(20, 220, 100, 20);
    auto* Combo = Put<TbsSkinComboBox>(Form, Bounds(120, 218, 160, 20));
    Combo->Items()->Add("MP4 - MPEG-4视频格式(*.mp4)");
    Combo->SetItemIndex(0);
    auto* Edit = Put<TbsSkinEdit>(Form, Bounds(120, 250, 160, 21));
    Edit->SetText("/home/用户/澄枫视频软件/输出");
    auto* Check = Put<TbsSkinCheckRadioBox>(Form, Bounds(300, 220, 160, 20));
    Check->SetCaption("转换后打开文件夹");
    Check->SetChecked(true);
    auto* Slider = Put<TbsSkinSlider>(Form, Bounds(300, 260, 218, 31));
    Slider->SetMaxValue(100);
    Slider->SetValue(40);
    auto* Panel = Put<TbsSkinPanel>(Form, Bounds(20, 40, 260, 160));
    Panel->SetCaption("");
    // the job list: a report with its header drawn from the tool-button record
    auto* Jobs = Put<TbsSkinListView>(Panel, Bounds(1, 1, 258, 158));
    Jobs->SetHeaderSkinDataName("resizetoolbutton");
    Jobs->SetViewStyle(vsReport);
    Jobs->SetRowSelect(true);
    Jobs->SetGridLines(true);
    for (auto [Caption, Width] : {std::pair{"文件名", 120}, std::pair{"格式", 60}, std::pair{"进度", 70}}) {
        TListColumn* Col = Jobs->Columns()->Add();
        Col->SetCaption(Caption);
        Col->SetWidth(Width);
    }
    for (auto Row : {std::vector<const char*>{"旅行.mp4", "MP4", "45%"}, std::vector<const char*>{"会议记录.avi", "AVI", "等待"}}) {
        TListItem* Item = Jobs->Items()->Add();
        Item->SetCaption(Row[0]);
        Item->SubItems()->Add(Row[1]);
        Item->SubItems()->Add(Row[2]);
    }

    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return At(Form->Left() + 1, Form->Top() + 1) == Accent; }));
    Settle();
    const TRect Win = Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
    Shot(Win, "form");
    // frame and caption in the skin's accent; the client face in the face colour
    EXPECT_EQ(At(Win.Left + 1, Win.Top + Win.Height() / 2), Accent);
    EXPECT_EQ(At(Win.Left + Win.Width() / 2, Win.Bottom - 2), Accent);
    EXPECT_EQ(At(Win.Left + 8, Win.Top + 4), Accent);
    EXPECT_GT(DarkIn(Bounds(Win.Left, Win.Top, 200, 30)), -1);  // caption text is white on accent
    int CaptionText = 0;
    for (uint32_t C : screentest::ScreenRect(Win.Left + 8, Win.Top + 4, 180, 22))
        if (C == 0xFFFFFF) ++CaptionText;
    EXPECT_GT(CaptionText, 40) << "the caption text is drawn in white";
    const TPoint Client = Form->ClientOrigin();
    EXPECT_EQ(At(Client.X + 290, Client.Y + 210), Face);
    // the controls in the skin's look: button border, edit and combo faces, group band
    const TRect B = GetWindowRect(Start->Handle());
    const uint32_t ButtonEdge = At(B.Left + B.Width() / 2, B.Top);
    EXPECT_TRUE(ButtonEdge == Line || ButtonEdge == Accent) << std::hex << ButtonEdge << " (plain or focused)";
    EXPECT_EQ(At(B.Left + 3, B.Top + B.Height() / 2), Surface);
    const TRect E = GetWindowRect(Edit->Handle());
    EXPECT_EQ(At(E.Left, E.Top + 10), Line);
    EXPECT_EQ(E.Height(), 21);
    const TRect CB = GetWindowRect(Combo->Handle());
    EXPECT_EQ(CB.Height(), 20);
    EXPECT_EQ(At(CB.Left, CB.Top + 10), Line);
    const TRect G = OnScreen(Group);
    EXPECT_EQ(At(G.Left + 2, G.Top + 10), Accent);
    const TRect P = GetWindowRect(Jobs->Handle());
    EXPECT_EQ(At(P.Left + P.Width() / 2, P.Bottom - 10), Surface) << "the list's window colour";
    EXPECT_EQ(At(P.Left + 60, P.Top + 2), Face) << "the header's tool-button face";
    EXPECT_GT(DarkIn(Bounds(P.Left, P.Top, P.Width(), 70)), 150) << "header and rows in Chinese";
    // Chinese text drawn: label, button caption, group caption, check box, edit
    for (TControl* C : std::initializer_list<TControl*>{Label, Start, Group, Check, Edit, Combo})
        EXPECT_GT(DarkIn(OnScreen(C)), 25) << C->Name();
    // the menu bar's items
    const TRect M = OnScreen(Bar);
    EXPECT_EQ(M.Height(), 22);
    EXPECT_GT(DarkIn(M), 60);
    // (the list's grid lines are the platform list view's own, in the system face colour)
    const TRect J = GetWindowRect(Jobs->Handle());
    EXPECT_EQ(DefaultLookIn(Win) - DefaultLookIn(J), 0) << "no control in the default look";
}

TEST_F(ProgramSkinDisplay, PopupMenuAndHintAreDrawnFromTheProgramSkin)
{
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return At(Form->Left() + 1, Form->Top() + 1) == Accent; }));
    auto* Menu = new TbsSkinPopupMenu(Form);
    for (const char* C : {"添加一个文件", "添加多个文件", "-", "添加整个目录"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        Menu->Items()->Add(I);
    }
    Menu->Popup(Form->Left() + 60, Form->Top() + 90);
    ASSERT_EQ(Frame->SkinMenu->LevelCount(), 1);
    TbsSkinPopupWindow* W = Frame->SkinMenu->Level(0);
    ASSERT_TRUE(PumpUntil([&] { return At(W->Left(), W->Top()) == Line; }));
    Settle();
    const TRect R = Bounds(W->Left(), W->Top(), W->Width(), W->Height());
    Shot(R, "popup");
    EXPECT_EQ(At(R.Left, R.Top + R.Height() / 2), Line);
    EXPECT_EQ(At(R.Right - 2, R.Bottom - 2), Surface);
    EXPECT_GT(DarkIn(R), 150) << "the items' Chinese captions are drawn";
    Frame->SkinMenu->Hide();
    Settle();

    auto* Hint = new TbsSkinHint(Form);
    Hint->SetSkinData(SD);
    Hint->ActivateHint(Point(Form->Left() + 80, Form->Top() + 120), "上移");
    Settle();
    TbsSkinHintWindow* HW = Hint->Window();
    ASSERT_NE(HW, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return HW->HandleAllocated() && IsWindowVisible(HW->Handle()); }));
    Settle();
    const TRect H = Bounds(HW->Left(), HW->Top(), HW->Width(), HW->Height());
    auto Px = Shot(H, "hint");
    int Light = 0;
    for (uint32_t C : Px)
        if (((C >> 16) & 0xFF) > 200 && ((C >> 8) & 0xFF) > 200 && (C & 0xFF) > 200) ++Light;
    EXPECT_EQ(At(H.Left + 1, H.Top + 1), 0x343B46u) << "the hint window's face";
    EXPECT_GT(Light, 20) << "the hint's text is drawn light on the dark face";
    Hint->HideHint();
}

// Runs a modal dialog; once it shows, photographs it, checks it and closes it.
class ProgramSkinDialogs : public ProgramSkinDisplay {
protected:
    void Photograph(const std::function<void()>& Run, const String& Name,
                    std::function<TCustomForm*()> Find = nullptr)
    {
        Shown = TRect();
        bool Busy = false;
        Application->OnIdle = [&](TObject*) {
            if (Busy) return;
            TCustomForm* D = nullptr;
            if (Find)
                D = Find();
            else
                for (int I = 0; I < Screen->FormCount(); ++I)
                    if (Screen->Forms(I) != Form && Screen->Forms(I)->Visible()) D = Screen->Forms(I);
            if (!D || !D->Visible() || !D->HandleAllocated()) {
                if (D) PostMessage(D->Handle(), WM_NULL, 0, 0);
                return;
            }
            Busy = true;
            // shown whole: no black left on the screen where the window lies (the
            // palette has no black)
            bool Whole = false;
            for (int Turn = 0; Turn < 400 && !Whole; ++Turn) {
                Application->ProcessMessages();
                usleep(5000);
                const TRect R = GetWindowRect(D->Handle());
                Whole = Turn > 10;
                if (Whole)
                    for (uint32_t C : screentest::ScreenRect(R.Left, R.Top, R.Width(), R.Height()))
                        if (C == 0) Whole = false;
            }
            Shown = GetWindowRect(D->Handle());
            Shot(Shown, Name);
            EXPECT_TRUE(Whole) << Name << " was not drawn whole";
            Check(Shown);
            D->SetModalResult(mrCancel);
            PostMessage(D->Handle(), WM_NULL, 0, 0);
            Busy = false;
        };
        Run();
        Application->OnIdle = nullptr;
        EXPECT_FALSE(Shown.IsEmpty()) << Name << " was not shown";
    }
    // Frame and caption in the accent, face inside, text drawn.
    void Check(const TRect& R)
    {
        EXPECT_EQ(At(R.Left + 1, R.Top + R.Height() / 2), Accent);
        EXPECT_EQ(At(R.Left + 6, R.Top + 3), Accent);
        int White = 0;
        for (uint32_t C : screentest::ScreenRect(R.Left + 4, R.Top + 2, std::min(200, R.Width() - 8), 26))
            if (C == 0xFFFFFF) ++White;
        EXPECT_GT(White, 15) << "caption text";
        EXPECT_GT(DarkIn(Bounds(R.Left + 3, R.Top + 30, R.Width() - 6, R.Height() - 33)), 100) << "Chinese text";
    }
    TRect Shown;
};

TEST_F(ProgramSkinDialogs, MessageBoxAndSkinDialogAreDrawnFromTheProgramSkin)
{
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return At(Form->Left() + 1, Form->Top() + 1) == Accent; }));
    // the interface strings in Chinese, as the program's message boxes show them
    auto* Strings = new TbsResourceStrData(Form);
    SD->SetResourceStrData(Strings);
    auto* Message = new TbsSkinMessage(Form);
    Message->SetSkinData(SD);
    Message->SetCtrlSkinData(SD);
    Photograph([&] { Message->MessageDlg2("请先选择您需要删除的项目！", "提示", mtInformation, {mbOK}, 0); },
               "message");
    auto* Dialog = new TbsSelectSkinDialog(Form);
    Dialog->SetSkinList(List);
    Dialog->SetSkinData(SD);
    Dialog->SetCtrlSkinData(SD);
    Dialog->SetTitle("选择皮肤");
    Photograph([&] { Dialog->Execute(0); }, "skindialog", [&]() -> TCustomForm* { return Dialog->DlgFrm(); });
}

TEST_F(ProgramSkinDialogs, OpenAndSelectDirectoryDialogsAreDrawnFromTheProgramSkin)
{
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return At(Form->Left() + 1, Form->Top() + 1) == Accent; }));
    // a scratch folder under the home folder: the folder tree lists the siblings of every
    // folder above it, and the shared temporary folder can hold thousands
    const char* Home = std::getenv("HOME");
    String Pattern = String(Home && *Home ? Home : "/tmp") + "/.vc-skin-dialogs-XXXXXX";
    ASSERT_NE(mkdtemp(Pattern.data()), nullptr);
    const std::filesystem::path Dir = Pattern;
    std::filesystem::create_directory(Dir / "输出");
    for (const char* N : {"旅行.mp4", "会议记录.avi", "音乐.mp3"}) std::ofstream(Dir / N) << "x";
    auto* Open = new TbsSkinOpenDialog(Form);
    Open->SetSkinData(SD);
    Open->SetCtrlSkinData(SD);
    Open->SetTitle("打开");
    Open->SetInitialDir(Dir.string());
    Open->SetFilter("所有视频文件|*.mp4;*.avi|所有文件|*.*");
    // no control in the default look inside the dialog
    auto NoDefaultLook = [&] { EXPECT_EQ(DefaultLookIn(Shown), 0); };
    Photograph([&] { Open->Execute(); }, "open", [&]() -> TCustomForm* { return Open->DlgFrm(); });
    NoDefaultLook();
    auto* Folder = new TbsSkinSelectDirectoryDialog(Form);
    Folder->SetSkinData(SD);
    Folder->SetCtrlSkinData(SD);
    Folder->SetTitle("选择输出目录");
    Folder->SetDirectory(Dir.string());
    Photograph([&] { Folder->Execute(); }, "selectdir", [&]() -> TCustomForm* { return Folder->DlgFrm(); });
    NoDefaultLook();
    std::error_code E;
    std::filesystem::remove_all(Dir, E);
}

}  // namespace
