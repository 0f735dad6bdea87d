// Helpers of the file and folder dialog tests: a scratch folder tree, and a modal run
// driven one step per idle turn of the dialog's own message loop with routed input.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "test_files.h"

namespace filedlgtest {

// A temporary folder, removed with everything in it (unreadable folders made readable first).
struct ScratchTree {
    String Root;
    ScratchTree()
    {
        Root = vctest::ScratchDir("filedlg");
    }
    ~ScratchTree()
    {
        std::error_code E;
        for (auto It = std::filesystem::recursive_directory_iterator(
                 Root, std::filesystem::directory_options::skip_permission_denied, E);
             It != std::filesystem::recursive_directory_iterator(); It.increment(E))
            if (It->is_directory(E) && !It->is_symlink(E)) chmod(It->path().c_str(), 0755);
        chmod(Root.c_str(), 0755);
        std::filesystem::remove_all(Root, E);
    }
    String operator/(const String& Rel) const { return Root + "/" + Rel; }
    void Dir(const String& Rel) const { std::filesystem::create_directories(Root + "/" + Rel); }
    void File(const String& Rel, const String& Text = "x") const { std::ofstream(Root + "/" + Rel) << Text; }
};

using TStep = std::function<void()>;

// Runs a script inside a modal loop: each idle turn of the loop runs the next step while
// Active() says a dialog is up; a dialog still open after the last step is closed with
// mrAbort (and the test fails) so that nothing hangs.
class ModalScript {
public:
    std::function<TForm*()> Active;

    void Install()
    {
        Application->OnIdle = [this](TObject*) { Idle(); };
    }
    void Uninstall() { Application->OnIdle = nullptr; }
    void Script(std::vector<TStep> S)
    {
        Steps = std::move(S);
        Next = 0;
        Extra = 0;
        Settled = false;
    }
    bool Finished() const { return Next >= Steps.size(); }

private:
    void Idle()
    {
        TForm* F = Active ? Active() : nullptr;
        if (!F) return;
        if (!Settled) {
            Settled = true;  // one turn first: the window is shown by the loop's wait
        } else if (Next < Steps.size()) {
            Steps[Next++]();
        } else if (++Extra > 20) {
            ADD_FAILURE() << "the dialog did not close";
            for (int I = 0; I < Screen->FormCount(); ++I) Screen->Forms(I)->SetModalResult(mrAbort);
        }
        if (F->HandleAllocated()) PostMessage(F->Handle(), WM_NULL, 0, 0);
    }
    std::vector<TStep> Steps;
    size_t Next = 0;
    int Extra = 0;
    bool Settled = false;
};

inline void ClickAt(TControl* C, int X, int Y) { Headless::Click(C->ClientToScreen(Point(X, Y))); }

}  // namespace filedlgtest
