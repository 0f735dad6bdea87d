#include "display/program_display.h"

#include <cstdlib>
#include <filesystem>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "display/pointer_keys.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "test_files.h"

using namespace skinscreen;

void ScratchProgramDisplay::SetUp()
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    Root = vctest::ScratchDir("vc-program-display-");
    std::filesystem::create_directories(Root + "/prog");
    std::filesystem::create_directories(Root + "/home");
    if (const char* h = std::getenv("HOME")) OldHome = h;
    setenv("HOME", (Root + "/home").c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEO_YUV_HWACCEL", "0", 1);
    ASSERT_TRUE(screentest::OpenScreen());
    ASSERT_TRUE(pointerkeys::Open());
    Opened = true;
}

void ProgramFormsDisplay::SetUp()
{
    ScratchProgramDisplay::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    BeforeForms();
    ASSERT_TRUE(InstallX11Backend());
    InitForms();
    FormsUp = true;
    SetProgramFolder(Root + "/prog/");
    CreateProgramForms();
    Form1->Show();
    ASSERT_TRUE(Pump([] {
        const TRect r = GetWindowRect(Form1->Handle());
        return !r.IsEmpty() && At(r.Left + 1, r.Top + 1) == Accent;
    }));
    Settle();
}

void ScratchProgramDisplay::TearDown()
{
    if (!Opened) return;
    if (FormsUp) {
        Application->OnIdle = nullptr;
        DoneForms();
    }
    SetProgramFolder("");
    pointerkeys::Close();
    screentest::CloseScreen();
    setenv("HOME", OldHome.c_str(), 1);
    std::error_code ec;
    std::filesystem::remove_all(Root, ec);
}

namespace skinscreen {

void ClickOn(TControl* C)
{
    const TRect r = OnScreen(C);
    pointerkeys::MovePointer(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    pointerkeys::PressButton(1);
    pointerkeys::ReleaseButton(1);
}

String MakeClip(const String& AFile, int ASeconds, const String& ASize)
{
    const String seconds = std::to_string(ASeconds);
    const String cmd = "ffmpeg -nostdin -y -loglevel error -f lavfi -i testsrc=s=" + ASize + ":r=25:d=" + seconds +
                       " -f lavfi -i sine=f=440:d=" + seconds + " -c:v mpeg4 -q:v 2 -c:a pcm_s16le -shortest '" + AFile +
                       "' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0 ? AFile : String();
}

}  // namespace skinscreen
