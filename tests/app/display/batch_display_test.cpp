// The converter's main road as a user takes it, on a real display: the built program is
// started as a process of its own (its folder and home in a scratch folder) and only
// synthetic input (XTest) drives it.  A preset is picked in the two preset boxes' lists,
// three clips (one named with Chinese characters and a space) are chosen in the open
// dialog of "添加" -> "添加多个文件" by clicks on their rows, and the batch is started with
// "开始".  Screenshots before, during and after the batch (batch_display_*.ppm, kept when
// screenshots are kept) are checked for the rows' progress text, the outputs for the preset's
// container, codecs and picture size, and the program for a clean exit when its window
// is closed.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "display/pointer_keys.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/shell/bsSkinShellViews.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

using skinscreen::Accent;

// Where the program's windows lie on the 1280 x 1024 screen (each is centred on it),
// measured on forms built in this process as the program builds them.
struct TLayout {
    TRect Window;                  // the main window
    TRect AddButton;               // "添加"
    TRect StartButton;             // "开始"
    std::vector<TRect> Progress;   // the first rows' progress cells, top first
    std::vector<TRect> Names;      // ... and their name cells
    TRect CloseButton;             // the frame's close button
    TRect CategoryBox, PresetBox;  // the two preset boxes
    TPoint CategoryEntry;          // the category entry picked in the category box's list
    TPoint PresetEntry;            // the preset entry picked in the preset box's list
    TRect Dialog;                  // the open dialog
    std::map<String, TPoint> DialogRows;  // the media folder's rows in the dialog's list, by name
};

// The entries picked in the two preset boxes: "高清格式" and its "高清WMV视频格式(*.wmv)",
// which makes WMV2 pictures and WMA2 sound in an ASF file.
constexpr int PickedCategory = 2, PickedPreset = 6;

// Reaches the open dialog's form as Execute makes and prepares it.
struct TOpenDialogAccess : TbsSkinOpenDialog {
    static TbsOpenDlgForm* Make(TbsSkinOpenDialog* D) { return (D->*(&TOpenDialogAccess::MakeForm))(); }
    static void Ready(TbsSkinOpenDialog* D, TbsOpenDlgForm* F) { (D->*(&TOpenDialogAccess::Prepare))(F); }
};

void PumpFor(int ATurns)
{
    for (int turn = 0; turn < ATurns; ++turn) {
        Application->ProcessMessages();
        usleep(5000);
    }
}

// The screen centre of entry AIndex of a preset box's dropped list, or (0, 0) when the
// list does not show it.
TPoint DroppedEntry(TbsSkinOfficeComboBox* ABox, int AIndex)
{
    ABox->DropDown();
    PumpFor(40);
    TbsPopupOfficeListBox* drop = ABox->ListBox();
    TPoint p;
    if (AIndex < drop->Items()->Count() && drop->Items()->Items(AIndex)->IsVisible) {
        const TRect r = drop->Items()->Items(AIndex)->ItemRect;
        p = drop->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    ABox->CloseUp(false);
    PumpFor(20);
    return p;
}

TRect Centred(int AWidth, int AHeight)
{
    return TRect((1280 - AWidth) / 2, (1024 - AHeight) / 2, (1280 - AWidth) / 2 + AWidth, (1024 - AHeight) / 2 + AHeight);
}

TRect Offset(const TRect& R, int DX, int DY) { return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

TRect ControlRect(TControl* C, const TPoint& AOrigin)
{
    const TPoint o = C->ClientToScreen({0, 0});
    return TRect(o.X - AOrigin.X, o.Y - AOrigin.Y, o.X - AOrigin.X + C->Width(), o.Y - AOrigin.Y + C->Height());
}

// Runs a command through the shell; its standard output.
String Output(const String& ACommand)
{
    String out;
    if (FILE* p = popen(ACommand.c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

bool WaitFor(const std::function<bool()>& ACondition, int AMilliseconds)
{
    for (int waited = 0; waited < AMilliseconds; waited += 20) {
        if (ACondition()) return true;
        usleep(20000);
    }
    return ACondition();
}

void Click(const TPoint& P)
{
    pointerkeys::MovePointer(P.X, P.Y);
    usleep(50000);
    pointerkeys::PressButton(1);
    usleep(50000);
    pointerkeys::ReleaseButton(1);
    usleep(50000);
}

TPoint Centre(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

// Types a text of lower-case letters, digits, "/", "." and "-" key by key.
void Type(const String& AText)
{
    for (char c : AText) {
        const String name = c == '/' ? "slash" : c == '.' ? "period" : c == '-' ? "minus" : String(1, c);
        pointerkeys::TapKey(name.c_str());
        usleep(5000);
    }
}

void Shot(const TRect& R, const String& AName) { skinscreen::Shot(R, "batch_display_" + AName + ".ppm"); }

// Text pixels in a screen rectangle: those far from its most common colour (the row's
// background, selected or not).
int TextPixels(const TRect& R)
{
    const auto px = screentest::ScreenRect(R.Left, R.Top, R.Width(), R.Height());
    std::map<uint32_t, int> counts;
    for (uint32_t c : px) ++counts[c];
    uint32_t back = 0;
    int most = 0;
    for (const auto& [c, n] : counts)
        if (n > most) back = c, most = n;
    auto channel = [](uint32_t C, int S) { return int((C >> S) & 0xFF); };
    int n = 0;
    for (uint32_t c : px) {
        int d = 0;
        for (int s : {0, 8, 16}) d += std::abs(channel(c, s) - channel(back, s));
        n += d > 150;
    }
    return n;
}

class BatchDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        // Only lower-case letters, digits, "/", "." and "-" in the path typed into the
        // open dialog: not under $TMPDIR, whose name may hold others (removed at the end).
        Root = "/tmp/vc-road-" + std::to_string(getpid());
        fs::remove_all(Root);
        fs::create_directories(Root + "/prog");
        fs::create_directories(Root + "/home");
        fs::create_directories(Root + "/media");
        ASSERT_TRUE(screentest::OpenScreen());
        ASSERT_TRUE(pointerkeys::Open());
        Opened = true;
    }
    void TearDown() override
    {
        if (Pid > 0) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
        if (!Opened) return;
        pointerkeys::Close();
        screentest::CloseScreen();
        std::error_code ec;
        fs::remove_all(Root, ec);
    }

    // The layout of the program's windows, from forms built here: the main window and
    // its preset boxes' lists, and the several-files open dialog showing the media folder.
    // Each window is centred on the screen as the program centres it.
    TLayout MeasureLayout()
    {
        const String home = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (Root + "/measure").c_str(), 1);
        fs::create_directories(Root + "/measure/prog");
        EXPECT_TRUE(InstallX11Backend());
        InitForms();
        SetProgramFolder(Root + "/measure/prog/");
        CreateProgramForms();
        // Shown once, so that the frame has placed its caption buttons.
        Form1->Show();
        PumpFor(50);
        TLayout l;
        const TRect win = GetWindowRect(Form1->Handle());
        const TPoint origin{win.Left, win.Top};
        l.Window = Centred(win.Width(), win.Height());
        auto place = [&](TControl* C) { return Offset(ControlRect(C, origin), l.Window.Left, l.Window.Top); };
        auto placePoint = [&](const TPoint& P) {
            return TPoint{P.X - origin.X + l.Window.Left, P.Y - origin.Y + l.Window.Top};
        };
        l.AddButton = place(Form1->bsSkinMenuSpeedButton1);
        l.StartButton = place(Form1->bsSkinButton2);
        l.CategoryBox = place(Form1->bsSkinOfficeComboBox2);
        l.PresetBox = place(Form1->bsSkinOfficeComboBox1);
        l.CategoryEntry = placePoint(DroppedEntry(Form1->bsSkinOfficeComboBox2, PickedCategory));
        // The preset box's list as it drops once the category is picked.
        Form1->bsSkinOfficeComboBox2->SetItemIndex(PickedCategory);
        Form1->bsSkinOfficeComboBox2Change(nullptr);
        l.PresetEntry = placePoint(DroppedEntry(Form1->bsSkinOfficeComboBox1, PickedPreset));
        // The bands of the first three rows (rows added for the measure), clear of their
        // edges.
        const TRect list = ControlRect(Form1->lvFiles, origin);
        int left = list.Left;
        for (int c = 0; c < jcProgress; ++c) left += Form1->lvFiles->Column(c)->Width();
        const int width = Form1->lvFiles->Column(jcProgress)->Width();
        std::vector<String> columns(JobColumnCount);
        columns[0] = "x";
        std::vector<TListItem*> rows;
        for (int i = 0; i < 3; ++i) rows.push_back(Form1->AddJobRow(columns));
        for (TListItem* item : rows) {
            const TRect row = item->DisplayRect(drBounds);
            l.Names.push_back(Offset(TRect(list.Left + 4, list.Top + row.Top + 1,
                                           list.Left + Form1->lvFiles->Column(0)->Width() - 2, list.Top + row.Bottom - 1),
                                     l.Window.Left, l.Window.Top));
            l.Progress.push_back(Offset(TRect(left + 2, list.Top + row.Top + 1, left + width - 2, list.Top + row.Bottom - 1),
                                        l.Window.Left, l.Window.Top));
        }
        TbsSkinFormFrame* frame = Form1->bsSkinFormFrame1;
        const int close = frame->GetIndex("closebutton");
        if (close >= 0) l.CloseButton = Offset(frame->ObjectList[size_t(close)]->ObjectRect(), l.Window.Left, l.Window.Top);

        // The several-files dialog, made and prepared as its Execute does, in the media
        // folder: where each file's row lies.
        std::unique_ptr<TbsOpenDlgForm> dialog(TOpenDialogAccess::Make(Form1->OpenDialog2));
        TOpenDialogAccess::Ready(Form1->OpenDialog2, dialog.get());
        dialog->Show();
        PumpFor(20);
        dialog->FileListView->SetPath(Root + "/media");
        PumpFor(40);
        const TRect dwin = GetWindowRect(dialog->Handle());
        l.Dialog = Centred(dwin.Width(), dwin.Height());
        TCustomListView* files = dialog->FileListView;
        for (int i = 0; i < files->Items()->Count(); ++i) {
            // The caption read before the row's rectangle, which brings in the list's last
            // row as the item's caption.
            TListItem* item = files->Items()->Item(i);
            const String caption = item->Caption();
            const TRect r = item->DisplayRect(drLabel);
            const TPoint p = files->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
            l.DialogRows[caption] = {p.X - dwin.Left + l.Dialog.Left, p.Y - dwin.Top + l.Dialog.Top};
        }
        dialog->Hide();
        dialog.reset();
        PumpFor(10);
        DoneForms();
        SetProgramFolder("");
        setenv("HOME", home.c_str(), 1);
        return l;
    }

    String Root;
    bool Opened = false;
    pid_t Pid = 0;
};

// The row of the dialog's list whose caption begins with the name's stem.
TPoint DialogRow(const TLayout& L, const String& AName)
{
    const String stem = AName.substr(0, AName.rfind('.'));
    for (const auto& [caption, p] : L.DialogRows)
        if (caption.rfind(stem, 0) == 0) return p;
    return {};
}

// A click at P with a modifier key held.
void ClickWith(const char* AKey, const TPoint& P)
{
    pointerkeys::PressKey(AKey);
    usleep(50000);
    Click(P);
    pointerkeys::ReleaseKey(AKey);
    usleep(50000);
}

// What ffprobe reads of a file: its streams' codecs and sizes, then its format.
String Probe(const String& AFile)
{
    return Output("ffprobe -v error -show_entries format=format_name:stream=codec_name,width,height -of csv=p=0 '" +
                  AFile + "'");
}

double Duration(const String& AFile)
{
    return std::atof(Output("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + AFile + "'").c_str());
}

TEST_F(BatchDisplay, ThreeClipsChosenInTheOpenDialogConvertWithThePickedPresetAndProgressInTheirRows)
{
    // Three clips, long enough to be photographed while they convert; one named with
    // Chinese characters and a space, which the dialog's rows let a click choose without
    // typing.  A fourth file in the folder is left unchosen.
    const std::vector<String> names = {"alpha.avi", "beta.avi", "测试 片段.avi"};
    for (const String& name : names)
        ASSERT_FALSE(skinscreen::MakeClip(Root + "/media/" + name, 6, "320x240").empty()) << name;
    std::ofstream(Root + "/media/omega.avi") << "not chosen";
    const TLayout layout = MeasureLayout();
    String rows;
    for (const auto& [caption, p] : layout.DialogRows) rows += " \"" + caption + "\"";
    for (const String& name : names) ASSERT_NE(DialogRow(layout, name).X, 0) << name << " in the dialog's list:" << rows;
    ASSERT_NE(layout.CategoryEntry.X, 0) << "the category in its box's list";
    ASSERT_NE(layout.PresetEntry.X, 0) << "the preset in its box's list";
    ASSERT_EQ(layout.Progress.size(), 3u);

    // The program beside a settings file of its own, with its own home.
    const String program = Root + "/prog/videoconverter";
    fs::copy_file(VC_PROGRAM, program);
    std::vector<String> env;
    for (char** e = environ; *e; ++e) {
        const String v = *e;
        if (v.rfind("HOME=", 0) != 0 && v.rfind("SDL_AUDIODRIVER=", 0) != 0) env.push_back(v);
    }
    env.push_back("HOME=" + Root + "/home");
    env.push_back("SDL_AUDIODRIVER=dummy");
    std::vector<char*> envp;
    for (String& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&Pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

    // The window's corners in the frame's colour.
    const TRect win = layout.Window;
    ASSERT_TRUE(WaitFor(
        [&] {
            return screentest::ScreenPixel(win.Left + 1, win.Top + 1) == Accent &&
                   screentest::ScreenPixel(win.Right - 2, win.Bottom - 2) == Accent;
        },
        20000))
        << "the program's window at " << win.Left << "," << win.Top;
    usleep(500000);
    Shot(win, "before");

    // The preset: the category box drops its list, a click picks "高清格式"; then the
    // preset box's list, and a click picks its WMV entry.
    Click(Centre(layout.CategoryBox));
    usleep(500000);
    Shot(TRect(0, 0, 1280, 1024), "categories");
    Click(layout.CategoryEntry);
    usleep(400000);
    Click(Centre(layout.PresetBox));
    usleep(500000);
    Shot(TRect(0, 0, 1280, 1024), "presets");
    Click(layout.PresetEntry);
    usleep(400000);
    Shot(win, "preset");

    // "添加" drops its menu; its second entry, "添加多个文件", opens the open dialog.  The
    // entries are the menu's bands of text, found on the screen.
    const TRect add = layout.AddButton;
    Click(Centre(add));
    usleep(400000);
    const TRect menu(add.Left, add.Bottom, add.Left + 200, add.Bottom + 120);
    Shot(menu, "menu");
    std::vector<std::pair<int, int>> bands;
    for (int y = menu.Top; y < menu.Bottom; ++y) {
        const bool text = skinscreen::DarkIn(TRect(menu.Left + 4, y, menu.Right, y + 1)) > 0;
        if (text && (bands.empty() || bands.back().second < y - 1)) bands.push_back({y, y});
        if (text) bands.back().second = y;
    }
    ASSERT_GE(bands.size(), 2u) << "the menu's entries";
    Click({add.Left + 40, (bands[1].first + bands[1].second) / 2});

    // The dialog, centred, with the focus in its name box: the media folder's path and
    // Enter open the folder; a click on the first clip's row, Ctrl+clicks on the other
    // two, and Enter takes the three.
    const TRect dialog = layout.Dialog;
    ASSERT_TRUE(WaitFor([&] { return screentest::ScreenPixel(dialog.Left + 1, dialog.Top + 1) == Accent; }, 10000))
        << "the open dialog at " << dialog.Left << "," << dialog.Top;
    usleep(800000);
    Type(Root + "/media");
    pointerkeys::TapKey("Return");
    usleep(800000);
    Shot(dialog, "folder");
    Click(DialogRow(layout, names[0]));
    ClickWith("Control_L", DialogRow(layout, names[1]));
    ClickWith("Control_L", DialogRow(layout, names[2]));
    usleep(300000);
    Shot(dialog, "chosen");
    pointerkeys::TapKey("Return");

    // Three rows appear, their progress cells blank until the start.
    usleep(2000000);
    Shot(win, "added");
    for (const TRect& cell : layout.Names) EXPECT_GT(TextPixels(cell), 20) << "a row for each chosen clip";
    for (const TRect& cell : layout.Progress) EXPECT_EQ(TextPixels(cell), 0) << "no progress before the start";

    const String outputs = Root + "/home/澄枫视频软件/输出/";
    auto done = [&](const String& AName) {
        const String out = outputs + AName.substr(0, AName.rfind('.')) + ".wmv";
        return fs::exists(out) && Duration(out) > 5.5;
    };
    Click(Centre(layout.StartButton));
    // While the batch runs, a row shows its progress.
    bool progressShown = false;
    for (int waited = 0; waited < 120000 && !progressShown; waited += 20) {
        for (const TRect& cell : layout.Progress)
            if (TextPixels(cell) > 20) progressShown = true;
        if (progressShown) Shot(win, "during");
        else if (waited % 1000 == 0 && done(names[0]) && done(names[1]) && done(names[2])) break;
        else usleep(20000);
    }
    EXPECT_TRUE(progressShown) << "no progress text in the rows before the batch ended";
    // Every output is whole once its task has ended.
    bool allDone = false;
    for (int waited = 0; waited < 180000 && !allDone; waited += 500) {
        allDone = done(names[0]) && done(names[1]) && done(names[2]);
        if (!allDone) usleep(500000);
    }
    ASSERT_TRUE(allDone) << "the three outputs in " << outputs;
    usleep(1500000);
    Shot(win, "after");
    // Each row's final text, "100%" in all three: as many text pixels in each cell.
    std::vector<int> texts;
    for (const TRect& cell : layout.Progress) texts.push_back(TextPixels(cell));
    for (int n : texts) {
        EXPECT_GT(n, 20) << "a row's final progress text";
        EXPECT_NEAR(n, texts[0], texts[0] / 5 + 2) << "the rows' final texts differ";
    }

    // The picked preset: WMV2 pictures and WMA2 sound in ASF, the pictures at the size its
    // resolution box starts on (1280 x 1024), each clip whole; the unchosen file made
    // nothing.
    for (const String& name : names) {
        const String out = outputs + name.substr(0, name.rfind('.')) + ".wmv";
        EXPECT_EQ(Probe(out), "wmv2,1280,1024\nwmav2\nasf\n") << out;
        EXPECT_NEAR(Duration(out), 6.0, 0.5) << out;
    }
    EXPECT_FALSE(fs::exists(outputs + "omega.wmv"));
    size_t made = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(outputs)) ++made;
    EXPECT_EQ(made, 3u) << "one output per chosen clip";

    // The frame's close button ends the program.
    ASSERT_FALSE(layout.CloseButton.IsEmpty()) << "the frame's close button";
    Click(Centre(layout.CloseButton));
    int status = 0;
    const bool exited = WaitFor([&] { return waitpid(Pid, &status, WNOHANG) == Pid; }, 20000);
    EXPECT_TRUE(exited) << "the program did not end when its window was closed";
    if (exited) {
        Pid = 0;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
}

}  // namespace
