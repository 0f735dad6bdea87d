// The main window's speed: from creating the program's forms to the main window painted
// on the display, and a full repaint of a job list of 500 rows.  Run under an X server
// (DISPLAY); without one the window is painted on the headless backend.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/windows/Backend.h"
#include "platform/windows/Headless.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {

// A scratch program folder and home, so that the settings file is the program's own.
struct TScratch {
    TScratch()
    {
        char pattern[] = "/tmp/vc-bench-mainwindow-XXXXXX";
        Root = mkdtemp(pattern);
        std::filesystem::create_directories(Root + "/prog");
        setenv("HOME", Root.c_str(), 1);
        SetProgramFolder(Root + "/prog");
        if (!std::getenv("DISPLAY") || !InstallX11Backend()) Headless::Install();
    }
    ~TScratch()
    {
        SetProgramFolder("");
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }
    String Root;
};

TScratch& Scratch()
{
    static TScratch s;
    return s;
}

// Start-up to the first painted main window.
void BM_StartToPaintedWindow(benchmark::State& State)
{
    Scratch();
    for (auto _ : State) {
        InitForms();
        CreateProgramForms();
        Form1->Show();
        Form1->Update();  // paints now and sends the picture to the display
        Application->ProcessMessages();
        State.PauseTiming();
        DoneForms();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_StartToPaintedWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A full repaint of the job list holding 500 rows.
void BM_Repaint500Rows(benchmark::State& State)
{
    Scratch();
    InitForms();
    CreateProgramForms();
    Form1->Show();
    Form1->bsSkinPanel5->SetVisible(false);
    Form1->lvFiles->Items()->BeginUpdate();
    for (int i = 0; i < 500; ++i) {
        std::vector<String> row(JobColumnCount);
        row[0] = "/home/用户/视频/第" + IntToStr(i + 1) + "集.avi";
        row[1] = "00:42:17";
        row[2] = "512.25MB";
        row[3] = "第" + IntToStr(i + 1) + "集.mp4";
        row[4] = IntToStr(i % 101) + "%";
        row[jcTaskNumber] = IntToStr(i + 1);
        Form1->AddJobRow(row);
    }
    Form1->lvFiles->Items()->EndUpdate();
    Form1->lvFiles->SetItemIndex(250);
    Form1->Update();
    Application->ProcessMessages();
    for (auto _ : State) {
        Form1->lvFiles->Invalidate();
        Form1->lvFiles->Update();
    }
    DoneForms();
}
BENCHMARK(BM_Repaint500Rows)->Unit(benchmark::kMillisecond);

}  // namespace
