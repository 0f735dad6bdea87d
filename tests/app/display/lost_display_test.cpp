// The program never outlives its window: when another client destroys the main window,
// or the X server ends, during a batch with the file open in the preview, the process
// stops its tasks, leaves no temporary output and exits within a few seconds, without a
// crash.  Each case runs the program in a child process on an X server of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "skin/controls/bsSkinCtrls.h"
#include "display/foreign_client.h"
#include "display/program_display.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// An X server of the test's own, which the test may end.
struct TOwnServer {
    pid_t Pid = -1;
    String Display;
    bool Start(const String& ADir)
    {
        const String file = ADir + "/display";
        Pid = fork();
        if (Pid == 0) {
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            dup2(fd, 3);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr);
            _exit(127);
        }
        const auto end = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < end) {
            std::ifstream in(file);
            String number;
            if (std::getline(in, number) && !number.empty()) {
                Display = ":" + number;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    void Stop()
    {
        if (Pid <= 0) return;
        kill(Pid, SIGKILL);
        waitpid(Pid, nullptr, 0);
        Pid = -1;
    }
};

// The temporary outputs (".<name>.<random>.part") in a folder; with AWritten, only those
// the conversion has written into.
std::vector<String> PartFiles(const String& ADir, bool AWritten = false)
{
    std::vector<String> parts;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ADir, ec))
        if (e.path().extension() == ".part" && (!AWritten || e.file_size(ec) > 0))
            parts.push_back(e.path().filename().string());
    return parts;
}

class LostDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = vctest::ScratchDir("vc-lost-display-");
        fs::create_directories(Root + "/prog");
        fs::create_directories(Root + "/home");
        Out = Root + "/home/out";
        fs::create_directories(Out);
        Clip = skinscreen::MakeClip(Root + "/clip.avi", 60, "640x480");
        if (Clip.empty()) GTEST_SKIP() << "no ffmpeg to make the clip";
        ASSERT_TRUE(Server.Start(Root)) << "no X server";
    }
    void TearDown() override
    {
        if (Child > 0) {
            kill(Child, SIGKILL);
            waitpid(Child, nullptr, 0);
        }
        Server.Stop();
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    // The program in a child process: its forms on the test's server, the clip added
    // (and so open in the preview) and the batch started; then its message loop.
    void StartProgram()
    {
        Child = fork();
        ASSERT_GE(Child, 0);
        if (Child != 0) return;
        const int err = open((Root + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, 2);
        setenv("DISPLAY", Server.Display.c_str(), 1);
        setenv("HOME", (Root + "/home").c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::ofstream(Root + "/prog/option.ini") << "[OutPath]\nOutPath=" << Out << "\n";
        if (!InstallX11Backend()) _exit(90);
        InitForms();
        SetProgramFolder(Root + "/prog/");
        CreateProgramForms();
        WatchProgramDisplay();
        Form1->SelectInputFiles = [this](bool, std::vector<String>& AFiles) {
            AFiles = {Clip};
            return true;
        };
        Form1->Show();
        Form1->btnAddClick(Form1);
        if (Form1->lvFiles->Items()->Count() != 1) _exit(91);
        Form1->btnStartClick(Form1);
        Application->Run();
        DoneForms();
        _exit(0);
    }
    // Waits until the batch writes into its temporary output.
    bool WaitForPart()
    {
        const auto end = Clock::now() + std::chrono::seconds(60);
        while (Clock::now() < end) {
            if (!PartFiles(Out, true).empty()) return true;
            if (waitpid(Child, nullptr, WNOHANG) == Child) {
                Child = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    // The child's wait status once it ended, within ASeconds; -1 when it goes on running.
    int WaitForExit(int ASeconds)
    {
        const auto end = Clock::now() + std::chrono::seconds(ASeconds);
        while (Clock::now() < end) {
            int status = 0;
            if (waitpid(Child, &status, WNOHANG) == Child) {
                Child = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    String Stderr() const
    {
        std::ifstream in(Root + "/stderr");
        return String(std::istreambuf_iterator<char>(in), {});
    }
    String Root, Out, Clip;
    TOwnServer Server;
    pid_t Child = -1;
};

TEST_F(LostDisplay, TheMainWindowDestroyedByAnotherClientEndsTheProgram)
{
    StartProgram();
    ASSERT_TRUE(WaitForPart()) << Stderr();
    ASSERT_EQ(foreignclient::DestroyWindowsOf(Server.Display, Child), 1) << "the main window on the screen";
    const int status = WaitForExit(10);
    ASSERT_NE(status, -1) << "the program went on without its window";
    EXPECT_TRUE(WIFEXITED(status)) << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << "\n" << Stderr();
    EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
    EXPECT_TRUE(PartFiles(Out).empty());
}

TEST_F(LostDisplay, TheXServerEndingEndsTheProgramWithALineOnStandardError)
{
    StartProgram();
    ASSERT_TRUE(WaitForPart()) << Stderr();
    Server.Stop();
    const int status = WaitForExit(10);
    ASSERT_NE(status, -1) << "the program went on without its display";
    EXPECT_TRUE(WIFEXITED(status)) << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << "\n" << Stderr();
    EXPECT_EQ(WEXITSTATUS(status), 1) << Stderr();
    EXPECT_NE(Stderr().find("lost the connection to the X display"), String::npos) << Stderr();
    EXPECT_TRUE(PartFiles(Out).empty());
}

}  // namespace
