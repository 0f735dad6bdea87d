// The main window and the options dialog on a real display: the forms created as the
// program creates them, shown, photographed (main_window_*.ppm when screenshots are kept)
// and checked; and the real program started, its window found on the screen.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit6.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

extern char** environ;

using namespace skinscreen;

namespace {

class MainWindowDisplay : public ScratchProgramDisplay {
protected:
    // Saves the screen rectangle as main_window_<AName>.ppm and returns its pixels.
    static std::vector<uint32_t> Shot(const TRect& R, const String& AName)
    {
        return skinscreen::Shot(R, "main_window_" + AName + ".ppm");
    }
    // Waits until the window is drawn: its frame's corners in the accent, then lets the
    // last paints settle.
    static bool DrawnWhole(const std::function<TRect()>& ARect, const std::function<void()>& APump)
    {
        for (int turn = 0; turn < 600; ++turn) {
            APump();
            usleep(5000);
            const TRect r = ARect();
            if (r.IsEmpty() || At(r.Left + 1, r.Top + 1) != Accent || At(r.Right - 2, r.Bottom - 2) != Accent) continue;
            for (int settle = 0; settle < 40; ++settle) {
                APump();
                usleep(5000);
            }
            return true;
        }
        return false;
    }
};

TEST_F(MainWindowDisplay, MainWindowAndOptionsDialogAreDrawnFromTheProgramSkin)
{
    ASSERT_TRUE(InstallX11Backend());
    InitForms();
    FormsUp = true;
    SetProgramFolder(Root + "/prog");
    CreateProgramForms();
    Form1->Show();
    auto pump = [] { Application->ProcessMessages(); };
    ASSERT_TRUE(DrawnWhole([] { return GetWindowRect(Form1->Handle()); }, pump));
    const TRect win = GetWindowRect(Form1->Handle());
    const auto px = Shot(win, "main");
    EXPECT_EQ(Form1->ClientWidth(), 823);
    EXPECT_EQ(Form1->ClientHeight(), 489);
    EXPECT_GE(win.Width(), 823);
    EXPECT_GE(win.Height(), 489 + 20) << "the skin's caption above the client area";
    EXPECT_GT(CaptionText(win), 60) << "\"澄枫DAT格式转换器\" in white";
    // Centred on the screen.
    const TRect work = Screen->WorkAreaRect();
    EXPECT_LE(std::abs((win.Left - work.Left) - (work.Right - win.Right)), 2);

    auto darkIn = [](TControl* C) { return DarkIn(OnScreen(C)); };
    // The menu bar, the tool bar and batch buttons' captions, the folder row, the list's
    // header and the empty list's text: Chinese text drawn in each.
    EXPECT_GT(darkIn(Form1->bsSkinMainMenuBar1), 60);
    EXPECT_GT(darkIn(Form1->bsSkinPanel2), 600) << "labels, boxes and buttons of the format and folder";
    EXPECT_GT(darkIn(Form1->bsSkinPanel5), 200) << "the empty list's hint";
    const TPoint list = Form1->lvFiles->ClientToScreen({0, 0});
    EXPECT_GT(Count(screentest::ScreenRect(list.X, list.Y, 400, 20), IsDark), 80) << "the list's column captions";
    EXPECT_GT(darkIn(Form1->bsSkinPanel3), 100) << "\"视频预览\" and the player's buttons";
    EXPECT_GT(Count(px, [](uint32_t c) { return c == Accent; }), 2000) << "frame and tool pictures in the accent";
    // (the list's grid lines are the platform list view's own)
    EXPECT_EQ(DefaultLookIn(win) - DefaultLookIn(GetWindowRect(Form1->lvFiles->Handle())), 0)
        << "no control in the default look";

    // The options dialog as a real window of its own.
    Form5->Show();
    ASSERT_TRUE(DrawnWhole([] { return GetWindowRect(Form5->Handle()); }, pump));
    const TRect dlg = GetWindowRect(Form5->Handle());
    Shot(dlg, "options");
    EXPECT_EQ(Form5->ClientWidth(), 408);
    EXPECT_EQ(Form5->ClientHeight(), 318) << "the skin's frame lies around the client area";
    EXPECT_GT(CaptionText(dlg), 15) << "\"选项\" in white";
    EXPECT_GT(darkIn(Form5->bsSkinPageControl1), 500) << "tabs, groups and choices in Chinese";
    EXPECT_GT(darkIn(Form5->bsSkinButton6), 10) << "\"确定\"";
    EXPECT_EQ(DefaultLookIn(dlg), 0) << "no control in the default look";
    // Centred on the main window.
    EXPECT_LE(std::abs((dlg.Left + dlg.Right) / 2 - (win.Left + win.Right) / 2), 2);

    // Its second page, "常规": what to do with an existing output file and after the batch.
    Form5->bsSkinPageControl1->SetActivePage(Form5->bsSkinTabSheet2);
    for (int turn = 0; turn < 40; ++turn) pump(), usleep(5000);
    Shot(dlg, "options_general");
    EXPECT_EQ(At(dlg.Left + 1, dlg.Top + dlg.Height() / 2), Accent);
    EXPECT_GT(CaptionText(dlg), 15) << "\"选项\" in white";
    for (TControl* c : std::initializer_list<TControl*>{Form5->bsSkinCheckRadioBox3, Form5->bsSkinCheckRadioBox6,
                                                        Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2,
                                                        Form5->bsSkinCheckRadioBox4, Form5->bsSkinCheckRadioBox5})
        EXPECT_GT(darkIn(c), 25) << c->Name() << ": its Chinese caption";
    for (TControl* c : std::initializer_list<TControl*>{Form5->bsSkinPanel1, Form5->bsSkinPanel3}) {
        const TRect band = OnScreen(c);
        EXPECT_GT(Count(Grab(Bounds(band.Left, band.Top, band.Width(), 22)), [](uint32_t c) { return c == 0xFFFFFF; }),
                  40)
            << c->Name() << ": its caption in white on the accent band";
    }
    EXPECT_EQ(DefaultLookIn(dlg), 0) << "no control in the default look";
    Form5->bsSkinButton1->ButtonClick();
}

TEST_F(MainWindowDisplay, TheProgramStartsWithItsWindow)
{
    // The program beside a settings file of its own: a copy in the scratch folder.
    const String program = Root + "/prog/videoconverter";
    std::filesystem::copy_file(VC_PROGRAM, program);
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    // The window is centred on the screen: its client area holds the screen's centre.
    bool shown = false;
    for (int turn = 0; turn < 1000 && !shown; ++turn) {
        usleep(10000);
        if (!std::filesystem::exists(Root + "/prog/option.ini")) continue;
        // The frame's accent and the tool pictures across the screen's middle (the
        // screen is 1280 x 1024).
        shown = Count(screentest::ScreenRect(440, 0, 400, 1024), [](uint32_t c) { return c == Accent; }) > 1000;
    }
    int status = 0;
    const bool running = waitpid(pid, &status, WNOHANG) == 0;
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    EXPECT_TRUE(running) << "the program ran until it was stopped";
    EXPECT_TRUE(shown) << "its skinned window appeared";
    std::ifstream ini(Root + "/prog/option.ini");
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_NE(text.str().find("OutPath=" + Root + "/home/澄枫视频软件/输出"), String::npos) << text.str();
}

}  // namespace
