// The converter's main road as a user takes it, on a real display: the built program is
// started as a process of its own (its folder and home in a scratch folder), a clip is
// added through "添加" -> "添加一个文件" and the open dialog, the batch is started with
// "开始", and only synthetic input (XTest) drives it.  Screenshots before, during and
// after the batch (batch_display_*.ppm in the working folder) are checked for the row's
// progress text, the output for its container and codecs, and the program for a clean
// exit when its window is closed.
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

#include "app/Program.h"
#include "app/Unit1.h"
#include "display/program_display.h"
#include "display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "pointer_keys.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

using skinscreen::Accent;

// Where the main window's parts lie relative to its window's top-left corner, measured
// on forms built in this process as the program builds them.
struct TLayout {
    TPoint Size;        // the window's width and height
    TRect AddButton;    // "添加"
    TRect StartButton;  // "开始"
    TRect ProgressCell; // the first row's progress column
    TRect CloseButton;  // the frame's close button
};

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
        // open dialog.
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

    // The layout of the program's main window, from forms built here and never shown.
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
        for (int turn = 0; turn < 50; ++turn) {
            Application->ProcessMessages();
            usleep(5000);
        }
        TLayout l;
        const TRect win = GetWindowRect(Form1->Handle());
        const TPoint origin{win.Left, win.Top};
        l.Size = {win.Width(), win.Height()};
        l.AddButton = ControlRect(Form1->bsSkinMenuSpeedButton1, origin);
        l.StartButton = ControlRect(Form1->bsSkinButton2, origin);
        const TRect list = ControlRect(Form1->lvFiles, origin);
        int left = list.Left;
        for (int c = 0; c < jcProgress; ++c) left += Form1->lvFiles->Column(c)->Width();
        // The first row's band (a row added for the measure), clear of its edges.
        std::vector<String> columns(JobColumnCount);
        columns[0] = "x";
        const TRect row = Form1->AddJobRow(columns)->DisplayRect(drBounds);
        l.ProgressCell = TRect(left + 2, list.Top + row.Top + 1,
                               left + Form1->lvFiles->Column(jcProgress)->Width() - 2, list.Top + row.Bottom - 1);
        TbsSkinFormFrame* frame = Form1->bsSkinFormFrame1;
        const int close = frame->GetIndex("closebutton");
        if (close >= 0) l.CloseButton = frame->ObjectList[size_t(close)]->ObjectRect;
        DoneForms();
        SetProgramFolder("");
        setenv("HOME", home.c_str(), 1);
        return l;
    }

    String Root;
    bool Opened = false;
    pid_t Pid = 0;
};

TEST_F(BatchDisplay, AClipAddedThroughTheMenuAndTheOpenDialogConvertsWithProgressInItsRow)
{
    // A clip long enough to be photographed while it converts.
    const String clip = Root + "/media/clip.avi";
    ASSERT_EQ(skinscreen::MakeClip(clip, 40, "640x480"), clip);
    const TLayout layout = MeasureLayout();

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

    // The window is centred on the 1280 x 1024 screen; its corners in the frame's colour.
    const TRect win((1280 - layout.Size.X) / 2, (1024 - layout.Size.Y) / 2, (1280 - layout.Size.X) / 2 + layout.Size.X,
                    (1024 - layout.Size.Y) / 2 + layout.Size.Y);
    ASSERT_TRUE(WaitFor(
        [&] {
            return screentest::ScreenPixel(win.Left + 1, win.Top + 1) == Accent &&
                   screentest::ScreenPixel(win.Right - 2, win.Bottom - 2) == Accent;
        },
        20000))
        << "the program's window at " << win.Left << "," << win.Top;
    usleep(500000);
    Shot(win, "before");

    // "添加" drops its menu; its first entry "添加一个文件" opens the open dialog, whose
    // name box has the focus: the clip's path, then Enter.
    const TRect add = Offset(layout.AddButton, win.Left, win.Top);
    Click(Centre(add));
    usleep(400000);
    Shot(TRect(add.Left, add.Top, add.Left + 300, add.Bottom + 120), "menu");
    Click({add.Left + 40, add.Bottom + 12});
    usleep(1500000);
    Shot(TRect(0, 0, 1280, 1024), "dialog");
    Type(clip);
    usleep(300000);
    // The dialog's caption band: the topmost long run of the frame's colour on the screen.
    TRect dialog;
    for (int y = 0; y < 1024 && dialog.IsEmpty(); ++y) {
        const auto row = screentest::ScreenRect(0, y, 1280, 1);
        int run = 0;
        for (int x = 0; x < 1280; ++x) {
            run = row[size_t(x)] == Accent ? run + 1 : 0;
            if (run == 300) {
                int right = x;
                while (right + 1 < 1280 && row[size_t(right + 1)] == Accent) ++right;
                int bottom = y;
                while (bottom + 1 < 1024 && screentest::ScreenPixel(x - 299, bottom + 1) == Accent) ++bottom;
                dialog = TRect(x - 299, y, right + 1, bottom + 1);
                break;
            }
        }
    }
    ASSERT_FALSE(dialog.IsEmpty()) << "the open dialog";
    Shot(dialog, "typed");
    // "Open" stands at the right of the name box, 45 pixels in from the frame's right
    // edge and 57 up from its bottom.
    Click({dialog.Right - 45, dialog.Bottom - 57});

    // The row appears: the progress cell is blank until the start.
    const TRect cell = Offset(layout.ProgressCell, win.Left, win.Top);
    usleep(1500000);
    Shot(win, "added");
    EXPECT_EQ(TextPixels(cell), 0) << "no progress before the start";

    const String output = Root + "/home/澄枫视频软件/输出/clip.avi";
    Click(Centre(Offset(layout.StartButton, win.Left, win.Top)));
    // While the batch runs, the cell shows the progress.
    bool progressShown = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            if (fs::exists(output)) return true;
            if (TextPixels(cell) > 20) {
                progressShown = true;
                Shot(win, "during");
                return true;
            }
            return false;
        },
        120000));
    EXPECT_TRUE(progressShown) << "no progress text in the row before the batch ended";
    // The output is in place once its task has ended.
    ASSERT_TRUE(WaitFor([&] { return fs::exists(output); }, 120000)) << output;
    usleep(1000000);
    Shot(win, "after");
    EXPECT_GT(TextPixels(cell), 20) << "the row's final progress text";

    // The first preset: AVI with MPEG-4 video and MP3 audio, the clip's whole length.
    EXPECT_EQ(Output("ffprobe -v error -show_entries format=format_name:stream=codec_name -of csv=p=0 '" + output +
                     "'"),
              "mpeg4\nmp3\navi\n");
    const double seconds = std::atof(
        Output("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + output + "'").c_str());
    EXPECT_NEAR(seconds, 40.0, 0.5);

    // The frame's close button ends the program.
    ASSERT_FALSE(layout.CloseButton.IsEmpty()) << "the frame's close button";
    Click(Centre(Offset(layout.CloseButton, win.Left, win.Top)));
    int status = 0;
    const bool exited = WaitFor([&] { return waitpid(Pid, &status, WNOHANG) == Pid; }, 20000);
    EXPECT_TRUE(exited) << "the program did not end when its window was closed";
    if (exited) {
        Pid = 0;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
}

}  // namespace
