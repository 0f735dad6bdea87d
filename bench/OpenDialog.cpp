// The open dialog on a large folder: listing a folder of N files into the dialog's file
// list (painted), and one key press that moves the selection (painted).  Both are to stay
// under 100 ms per 10,000 files.  Runs on the headless backend.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"

namespace {

// A scratch folder of N empty files, removed with the object.
struct TFolder {
    explicit TFolder(int N)
    {
        char pattern[] = "/tmp/vc-bench-opendialog-XXXXXX";
        Root = mkdtemp(pattern);
        for (int i = 0; i < N; ++i) {
            const String name = Root + "/clip" + std::to_string(100000 + i) + ".dat";
            close(open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        }
    }
    ~TFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }
    String Root;
};

void Setup()
{
    static bool done = [] {
        Headless::Install();
        InitForms();
        return true;
    }();
    (void)done;
}

// The folder listed into the shown dialog's list, to the painted list.
void BM_OpenDialogListsFolder(benchmark::State& State)
{
    Setup();
    TFolder folder(int(State.range(0)));
    for (auto _ : State) {
        State.PauseTiming();
        auto* form = new TbsOpenDlgForm(nullptr, false, nullptr, false, nullptr);
        form->Show();
        Application->ProcessMessages();
        State.ResumeTiming();
        form->FileListView->SetPath(folder.Root);
        form->Update();
        Application->ProcessMessages();
        State.PauseTiming();
        if (form->FileListView->Items()->Count() != State.range(0)) State.SkipWithError("not every file listed");
        delete form;
        State.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDialogListsFolder)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// One Down key in the list, to the painted list.
void BM_OpenDialogKeyPress(benchmark::State& State)
{
    Setup();
    TFolder folder(int(State.range(0)));
    auto* form = new TbsOpenDlgForm(nullptr, false, nullptr, false, nullptr);
    form->Show();
    form->FileListView->SetPath(folder.Root);
    form->FileListView->SetFocus();
    Application->ProcessMessages();
    for (auto _ : State) {
        Headless::Key(VK_DOWN);
        form->Update();
        Application->ProcessMessages();
    }
    if (form->FileListView->ItemIndex() < 0) State.SkipWithError("the key did not move the selection");
    delete form;
}
BENCHMARK(BM_OpenDialogKeyPress)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
