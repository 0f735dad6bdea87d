// The main window as a user meets it, on a real display: files that cannot be read named
// in one "提示" box after an add made through the "添加" menu, the thread count kept
// through the options dialog, the finish sound and the help page shipped beside the
// program and opened through the command runner, and the web and mail entries without
// an address that open nothing.  Input goes through the server's synthetic pointer and
// keys; boxes are photographed (user_*.ppm when screenshots are kept).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "app/forms/Unit5.h"
#include "display/pointer_keys.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "engine/player/FFPlay.h"
#include "forms/main_window_support.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"

using namespace skinscreen;

namespace {

class UserDisplay : public ProgramFormsDisplay {
protected:
    void TearDown() override
    {
        // (the window does not stop its player as it comes apart)
        if (FormsUp && Form1) Form1->FFPlayer->Stop(true);
        if (FOldRunner || Recording) SetCommandRunner(std::move(FOldRunner));
        ProgramFormsDisplay::TearDown();
    }

    // Commands the program starts are recorded in Commands from now on.
    void RecordCommands()
    {
        FOldRunner = SetCommandRunner(std::make_unique<mainwindow::TRecordingRunner>(&Commands));
        Recording = true;
    }

    // A step of a script: true when it is done and the next may run.
    using TStep = std::function<bool()>;
    // Runs ATrigger, then ASteps one after the other on the turns of whatever loop runs
    // (the main loop, a menu's or a modal window's); true when every step ran and ADone
    // holds.
    static bool Script(const std::function<void()>& ATrigger, std::vector<TStep> ASteps,
                       const std::function<bool()>& ADone, int ATurns = 3000)
    {
        size_t next = 0;
        bool busy = false;
        auto step = [&] {
            if (busy || next >= ASteps.size()) return;
            busy = true;
            if (ASteps[next]()) ++next;
            busy = false;
        };
        // A timer wakes a modal loop now and then; each wake-up ends in its idle turn.
        TTimer ticker(nullptr);
        ticker.SetInterval(10);
        ticker.SetOnTimer([](TObject*) {});
        Application->OnIdle = [&](TObject*) { step(); };
        ATrigger();
        const bool done = Pump(
            [&] {
                step();
                return next == ASteps.size() && ADone();
            },
            ATurns);
        Application->OnIdle = nullptr;
        if (!done) ADD_FAILURE() << "the script stopped at step " << next;
        return done;
    }
    static TStep Turns(int N)
    {
        auto left = std::make_shared<int>(N);
        return [left] {
            usleep(5000);
            return --*left <= 0;
        };
    }
    static TStep Key(const char* AKeySym)
    {
        return [AKeySym] {
            pointerkeys::TapKey(AKeySym);
            return true;
        };
    }
    // The visible window captioned ACaption, or null.
    static TCustomForm* ShownForm(const String& ACaption)
    {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f->Visible() && f->HandleAllocated() && f->Caption() == ACaption) return f;
        }
        return nullptr;
    }
    static int ShownForms(const String& ACaption)
    {
        int n = 0;
        for (int i = 0; i < Screen->FormCount(); ++i)
            n += Screen->Forms(i)->Visible() && Screen->Forms(i)->Caption() == ACaption;
        return n;
    }
    // A top-level window drawn: its frame's corner in the accent.
    static bool Drawn(TCustomForm* F)
    {
        const TRect r = GetWindowRect(F->Handle());
        return !r.IsEmpty() && At(r.Left + 1, r.Top + 1) == Accent && At(r.Right - 2, r.Bottom - 2) == Accent;
    }
    // Copies a file the build put beside the program into the scratch program folder.
    bool FromProgramFolder(const String& AName)
    {
        const std::filesystem::path built = std::filesystem::path(VC_PROGRAM).parent_path() / AName;
        if (!std::filesystem::exists(built)) return false;
        std::filesystem::create_directories((std::filesystem::path(Root + "/prog") / AName).parent_path());
        std::filesystem::copy_file(built, Root + "/prog/" + AName);
        return true;
    }

    std::vector<std::vector<String>> Commands;
    bool Recording = false;

private:
    std::unique_ptr<TCommandRunner> FOldRunner;
};

TEST_F(UserDisplay, FilesThatCannotBeReadAreNamedInOneBoxAfterTheAdd)
{
    const String good = MakeClip(Root + "/旅行.avi", 1, "64x48");
    ASSERT_FALSE(good.empty());
    std::ofstream(Root + "/笔记.txt") << "not a media file";
    std::ofstream(Root + "/data.bin") << "x";
    Form1->SelectInputFiles = [&](bool AMultiple, std::vector<String>& AFiles) {
        AFiles = {good, Root + "/笔记.txt", Root + "/data.bin"};
        return AMultiple;
    };
    TRect box;
    int boxes = 0, text = 0;
    // "添加", then "添加多个文件" (its second entry) by the keyboard: the menu opens with
    // its first entry marked.
    EXPECT_TRUE(Script([] { ClickOn(Form1->bsSkinMenuSpeedButton1); },
                       {
                           Turns(20),
                           Key("Down"),
                           Key("Return"),
                           [&] {
                               TCustomForm* f = ShownForm("提示");
                               if (!f || !Drawn(f)) return false;
                               Settle(20);
                               box = GetWindowRect(f->Handle());
                               Shot(box, "user_refused.ppm");
                               boxes = ShownForms("提示");
                               // The text below the caption: a heading and a line per file.
                               text = DarkIn(Bounds(box.Left + 3, box.Top + 30, box.Width() - 6, box.Height() - 70));
                               return true;
                           },
                           Key("Return"),
                       },
                       [] { return !ShownForm("提示"); }));
    EXPECT_EQ(Form1->lvFiles->Items()->Count(), 1) << "the clip was added";
    EXPECT_EQ(boxes, 1) << "one box for both files";
    EXPECT_GT(text, 600) << "the refused files and their reasons written in the box";
    EXPECT_GE(box.Height(), 120) << "three lines of text at least";
}

class StoredThreadCountDisplay : public UserDisplay {
protected:
    void BeforeForms() override
    {
        std::ofstream(Root + "/prog/option.ini") << "[Options]\nThread_Count=4\n";
    }
};

TEST_F(StoredThreadCountDisplay, TheOptionsDialogShowsTheStoredCountAndOkKeepsIt)
{
    String shown;
    EXPECT_TRUE(Script([] { ClickOn(Form1->bsSkinButton19); },
                       {
                           [] { return Drawn(Form5); },
                           [&] {
                               Settle(20);
                               Shot(GetWindowRect(Form5->Handle()), "user_threads.ppm");
                               shown = Form5->bsSkinComboBox2->Text();
                               EXPECT_GT(DarkIn(OnScreen(Form5->bsSkinComboBox2)), 5) << "the count drawn in its box";
                               ClickOn(Form5->bsSkinButton6);
                               return true;
                           },
                       },
                       [] { return !Form5->Visible(); }));
    EXPECT_EQ(shown, "4");
    std::ifstream ini(Root + "/prog/option.ini");
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_NE(text.str().find("Thread_Count=4"), String::npos) << text.str();
}

TEST_F(UserDisplay, TheFinishSoundShippedBesideTheProgramPlaysAfterTheBatch)
{
    ASSERT_TRUE(FromProgramFolder("sounds/ring001.wav")) << "the build puts the sound beside the program";
    const String sound = Root + "/prog/sounds/ring001.wav";
    // A real sound: PCM audio that lasts a moment.
    const String probe = "ffprobe -v error -show_entries stream=codec_type,duration -of csv=p=0 '" + sound + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(probe.c_str(), "r"), pclose);
    char line[128] = {};
    ASSERT_NE(fgets(line, sizeof line, pipe.get()), nullptr);
    EXPECT_EQ(String(line).rfind("audio,", 0), 0u) << line;
    EXPECT_GT(std::stod(String(line).substr(6)), 0.2) << line;

    // "播放提示音乐" chosen in the options dialog.
    EXPECT_TRUE(Script([] { ClickOn(Form1->bsSkinButton19); },
                       {
                           [] { return Drawn(Form5); },
                           [] {
                               Form5->bsSkinPageControl1->SetActivePage(Form5->bsSkinTabSheet2);
                               return true;
                           },
                           Turns(10),
                           [] {
                               ClickOn(Form5->bsSkinCheckRadioBox4);
                               return true;
                           },
                           [] { return Form5->bsSkinCheckRadioBox4->Checked(); },
                           [] {
                               ClickOn(Form5->bsSkinButton6);
                               return true;
                           },
                       },
                       [] { return !Form5->Visible(); }));

    const String clip = MakeClip(Root + "/会议.avi", 1, "64x48");
    ASSERT_FALSE(clip.empty());
    Form1->SelectInputFiles = [&](bool, std::vector<String>& AFiles) {
        AFiles = {clip};
        return true;
    };
    Form1->Button8Click(Form1);
    ASSERT_EQ(Form1->lvFiles->Items()->Count(), 1);
    RecordCommands();
    ClickOn(Form1->bsSkinButton2);
    EXPECT_TRUE(Pump([] { return Form1->BatchState() == TForm1::bsFinished; }, 6000));
    ASSERT_EQ(Commands.size(), 1u);
    EXPECT_EQ(Commands[0].back(), sound) << "the player starts with the shipped sound";
}

TEST_F(UserDisplay, HelpOpensThePageBesideTheProgramAndAddressLessEntriesOpenNothing)
{
    ASSERT_TRUE(FromProgramFolder("help.html")) << "the build puts the help page beside the program";
    std::ifstream page(Root + "/prog/help.html");
    std::stringstream html;
    html << page.rdbuf();
    EXPECT_NE(html.str().find("澄枫DAT格式转换器"), String::npos) << "the program's own help";
    RecordCommands();

    // F1 on the main window.
    ClickOn(Form1->bsSkinPanel2);
    Settle();
    pointerkeys::TapKey("F1");
    EXPECT_TRUE(Pump([&] { return !Commands.empty(); }));
    EXPECT_EQ(Commands, (std::vector<std::vector<String>>{{"xdg-open", Root + "/prog/help.html"}}));

    // No web site and no mail yet: their menu entries are disabled, and the about box's
    // links open nothing when clicked.
    EXPECT_FALSE(Form1->N15->Enabled());
    EXPECT_FALSE(Form1->N16->Enabled());
    Form2->Show();
    ASSERT_TRUE(Pump([] { return Drawn(Form2); }));
    Settle();
    ClickOn(Form2->bsSkinLinkLabel1);
    ClickOn(Form2->bsSkinLinkLabel2);
    Settle(40);
    EXPECT_EQ(Commands.size(), 1u);
    Form2->Hide();
}

TEST_F(UserDisplay, TabWalksOnlyTheControlsInSight)
{
    auto hidden = [](TControl* C) {
        for (; C; C = C->Parent())
            if (C == Form1->Panel1 || C == Form1->Panel5 || C == Form1->bsSkinPanel4) return true;
        return false;
    };
    ClickOn(Form1->lvFiles);
    ASSERT_TRUE(Pump([] { return Form1->ActiveControl() != nullptr; }));
    std::vector<String> walked;
    for (int tab = 0; tab < 60; ++tab) {
        pointerkeys::TapKey("Tab");
        Settle(4);
        TControl* active = Form1->ActiveControl();
        if (active && hidden(active)) walked.push_back(active->Name());
    }
    EXPECT_EQ(walked, std::vector<String>{}) << "controls outside the window took the focus";
    // Keys never reach them: none of them can take the focus.
    for (TControl* c : std::initializer_list<TControl*>{Form1->chkPreview, Form1->mmoLog, Form1->bsSkinComboBox1})
        EXPECT_FALSE(static_cast<TWinControl*>(c)->CanFocus()) << c->Name();
    EXPECT_FALSE(Form1->chkPreview->Checked());
}

TEST_F(UserDisplay, TheFolderTreeShowsMinusOnOpenFoldersAndPlusOnClosedOnes)
{
    // A closed folder with a subfolder beside the output folder.
    std::filesystem::create_directories(Root + "/home/澄枫视频软件/其他/子目录");
    TbsSelDirDlgForm* dialog = nullptr;
    int open = 0, closed = 0;
    std::vector<String> wrong;
    // The node's button as the screen shows it: the vertical stroke of a "+" crosses the
    // bar at the button's centre; a "−" has none.
    auto plus = [&](TbsSkinCustomTreeView* ATree, TTreeNode* ANode) {
        const TRect row = ANode->DisplayRect(false);
        const int level = ANode->Level() - (ATree->ShowRoot() ? 0 : 1);
        const int bx = level * ATree->Indent() + ATree->Indent() / 2 - GetScrollPos(ATree->Handle(), SB_HORZ);
        const int cy = (row.Top + row.Bottom) / 2;
        const TPoint at = ATree->ClientToScreen({bx - 1, cy});
        int stroke = 0;
        for (int dy : {-3, -2, 0, 1}) stroke += IsDark(At(at.X, at.Y + dy));
        return stroke >= 3;
    };
    EXPECT_TRUE(Script([] { ClickOn(Form1->bsSkinButton5); },
                       {
                           [&] {
                               dialog = Form1->bsSkinSelectDirectoryDialog2->DlgFrm();
                               return dialog && dialog->Visible() && Drawn(dialog);
                           },
                           Turns(30),
                           [&] {
                               TbsSkinCustomTreeView* tree = dialog->DirTreeView;
                               Shot(GetWindowRect(dialog->Handle()), "user_folder_tree.ppm");
                               const TRect client = tree->ClientRect();
                               for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNextVisible()) {
                                   const TRect r = n->DisplayRect(false);
                                   if (!n->HasChildren() || r.Top < client.Top || r.Bottom > client.Bottom) continue;
                                   (n->Expanded() ? open : closed)++;
                                   if (plus(tree, n) == n->Expanded())
                                       wrong.push_back(n->Text() + (n->Expanded() ? " (open)" : " (closed)"));
                               }
                               pointerkeys::TapKey("Escape");
                               return true;
                           },
                       },
                       // the dialog's form is freed once the dialog returns
                       [&] {
                           TbsSelDirDlgForm* now = Form1->bsSkinSelectDirectoryDialog2->DlgFrm();
                           return !now || !now->Visible();
                       }));
    EXPECT_GT(open, 0);
    EXPECT_GT(closed, 0);
    EXPECT_EQ(wrong, std::vector<String>{});
}

TEST_F(UserDisplay, AClickOnTheSeekBarSeeksThere)
{
    const String clip = MakeClip(Root + "/clip.mkv", 4, "64x48");
    ASSERT_FALSE(clip.empty());
    Form1->T_Movie_PLayer_FileName = clip;
    Form1->Button31Click(Form1);
    ASSERT_NE(Form1->FFPlayer->VideoState(), nullptr) << Form1->FFPlayer->LastErrMsg();
    Settle();
    TbsSkinSlider* bar = Form1->bsSkinSlider1;
    ASSERT_LT(bar->Value(), bar->MaxValue() / 4);
    // A click on the track three quarters along, away from the thumb.
    const TRect track = OnScreen(bar);
    const int x = track.Left + bar->RulerOrg().X + bar->Ruler()->Width() * 3 / 4;
    const int y = track.Top + (bar->ThumbRect().Top + bar->ThumbRect().Bottom) / 2;
    pointerkeys::MovePointer(x, y);
    pointerkeys::PressButton(1);
    pointerkeys::ReleaseButton(1);
    ASSERT_TRUE(Pump([] { return Form1->bsSkinSlider1_down_UP == "UP"; }));
    const int max = bar->MaxValue();
    // The thumb lies under the pointer; the player, playing on from there, moves it on.
    const TRect thumb = bar->ThumbRect();
    EXPECT_LE(std::abs(track.Left + (thumb.Left + thumb.Right) / 2 - x), 4);
    Settle(60);
    EXPECT_GE(bar->Value(), max * 6 / 10) << "the player went on from there";
    EXPECT_TRUE(Pump([] { return !Form1->FFPlayer->Paused(); }));
}

}  // namespace
