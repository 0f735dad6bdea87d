// The directory change notifier: defaults, the worker's start and stop, changes reported
// on the GUI thread through the message loop, new options, and directories that cannot
// be watched.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <functional>

#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/windows/Headless.h"
#include "skin/shell/bsSkinShellCtrls.h"

namespace {

class ShellNotifier : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Dir = TempFolder() + "vc_shell_notify_" + IntToStr(getpid());
        std::system(("rm -rf '" + Dir + "'").c_str());
        ForceDirectories(Dir + "/sub");
        ForceDirectories(Dir + "/other");
    }
    void TearDown() override
    {
        DoneForms();
        std::system(("rm -rf '" + Dir + "'").c_str());
    }
    // Runs the message loop until Done holds, for a bounded number of rounds.
    static bool PumpUntil(const std::function<bool()>& Done)
    {
        for (int I = 0; I < 4000; ++I) {
            Application->ProcessMessages();
            if (Done()) return true;
            usleep(1000);
        }
        return false;
    }
    // The notifier watching Dir, counting events and checking their thread.
    std::unique_ptr<TbsShellChangeNotifier> Watch(const String& Root)
    {
        auto N = std::make_unique<TbsShellChangeNotifier>(nullptr);
        N->SetRoot(Root);
        N->SetOnChange([this] {
            ++Events;
            OnGui = OnGui && IsMainThread();
        });
        return N;
    }
    // Waits until the worker has its watch, so that changes made next are seen.
    static bool Ready(TbsShellChangeNotifier* N)
    {
        return PumpUntil([N] { return N->Thread() && N->Thread()->Watching(); });
    }
    String Dir;
    int Events = 0;
    bool OnGui = true;
};

}  // namespace

TEST_F(ShellNotifier, DefaultsAndOptionsWithoutAnEvent)
{
    TbsShellChangeNotifier N(nullptr);
    EXPECT_EQ(N.Root(), "/");
    EXPECT_TRUE(N.WatchSubTree());
    EXPECT_EQ(NotifyFlagsOf(N.NotifyFilters()), 0x3u);
    EXPECT_EQ(N.Thread(), nullptr);
    N.SetRoot(Dir);
    N.SetWatchSubTree(false);
    N.SetNotifyFilters({nfWriteChange});
    EXPECT_EQ(N.Root(), Dir);
    EXPECT_FALSE(N.WatchSubTree());
    EXPECT_EQ(N.Thread(), nullptr);  // only stored
    N.SetRoot(UpperCase(Dir));  // paths are case-sensitive: another folder
    EXPECT_EQ(N.Root(), UpperCase(Dir));

    struct TCase { TNotifyFilters F; DWORD Mask; };
    const TCase Cases[] = {{{}, 0},
                           {{nfAttributeChange}, 0x4},
                           {{nfSizeChange, nfWriteChange}, 0x18},
                           {{nfSecurityChange}, 0x100},
                           {{nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange,
                             nfSecurityChange},
                            0x11F}};
    for (const TCase& C : Cases) EXPECT_EQ(NotifyFlagsOf(C.F), C.Mask);
}

TEST_F(ShellNotifier, CreateRenameAndDeleteReachTheGuiThread)
{
    auto N = Watch(Dir);
    TbsShellChangeThread* T = N->Thread();
    ASSERT_NE(T, nullptr);
    // setting the event again swaps it and starts no second worker
    N->SetOnChange([this] {
        ++Events;
        OnGui = OnGui && IsMainThread();
    });
    EXPECT_EQ(N->Thread(), T);
    ASSERT_TRUE(Ready(N.get()));

    std::ofstream(Dir + "/new.txt") << "x";
    ASSERT_TRUE(PumpUntil([&] { return Events >= 1; }));
    int Seen = Events;
    ASSERT_EQ(std::rename((Dir + "/new.txt").c_str(), (Dir + "/renamed.txt").c_str()), 0);
    ASSERT_TRUE(PumpUntil([&] { return Events > Seen; }));
    Seen = Events;
    ASSERT_EQ(std::remove((Dir + "/renamed.txt").c_str()), 0);
    ASSERT_TRUE(PumpUntil([&] { return Events > Seen; }));
    Seen = Events;
    // subfolders are watched too, new ones included
    ForceDirectories(Dir + "/sub/deeper");
    ASSERT_TRUE(PumpUntil([&] { return Events > Seen; }));
    Seen = Events;
    std::ofstream(Dir + "/sub/deeper/f.txt") << "x";
    ASSERT_TRUE(PumpUntil([&] { return Events > Seen; }));
    EXPECT_TRUE(OnGui);
    EXPECT_FALSE(T->Finished());  // still watching
}

TEST_F(ShellNotifier, NewRootIsTakenUpByTheRunningWorker)
{
    auto N = Watch(Dir + "/sub");
    ASSERT_TRUE(Ready(N.get()));
    N->SetRoot(Dir + "/other");
    // once the new watch is open, changes in the new root are reported
    ASSERT_TRUE(PumpUntil([&] {
        std::ofstream(Dir + "/other/probe.txt") << "x";
        std::remove((Dir + "/other/probe.txt").c_str());
        return Events > 0;
    }));
    // a filter without name changes: new files are not reported any more, writes are
    N->SetNotifyFilters({nfWriteChange});
    N->SetWatchSubTree(false);
    ASSERT_TRUE(PumpUntil([&] {
        std::ofstream(Dir + "/other/w.txt") << "y";
        return N->Thread()->Watching() && Events > 1;
    }));
}

TEST_F(ShellNotifier, StopsPromptlyAndDropsEventsAfterTheStop)
{
    {
        auto N = Watch(Dir);
        ASSERT_TRUE(Ready(N.get()));
    }  // nothing changed: the worker still ends and is joined
    auto N = Watch(Dir);
    ASSERT_TRUE(Ready(N.get()));
    std::ofstream(Dir + "/late.txt") << "x";
    // wait until the worker has handed the change over, then free the notifier first
    usleep(50000);
    N.reset();
    for (int I = 0; I < 20; ++I) Application->ProcessMessages();
    EXPECT_EQ(Events, 0);

    // clearing the event stops the worker too
    auto M = Watch(Dir);
    ASSERT_TRUE(Ready(M.get()));
    M->SetOnChange(nullptr);
    EXPECT_EQ(M->Thread(), nullptr);
}

TEST_F(ShellNotifier, ARootThatCannotBeWatchedEndsTheWorker)
{
    std::ofstream(Dir + "/file.txt") << "x";
    for (const String& Root : {Dir + "/missing", Dir + "/file.txt"}) {
        auto N = Watch(Root);
        ASSERT_NE(N->Thread(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return N->Thread()->Finished(); })) << Root;
        EXPECT_FALSE(N->Thread()->Watching());
        // options reach no ended worker
        N->SetRoot(Dir);
        EXPECT_EQ(N->Root(), Dir);
    }
    EXPECT_EQ(Events, 0);
}

TEST_F(ShellNotifier, ARootThatVanishesReportsNothingUntilTheStop)
{
    auto N = Watch(Dir + "/sub");
    ASSERT_TRUE(Ready(N.get()));
    N->SetRoot(Dir + "/gone");
    ASSERT_TRUE(PumpUntil([&] { return !N->Thread()->Watching(); }));
    EXPECT_FALSE(N->Thread()->Finished());
    std::ofstream(Dir + "/sub/x.txt") << "x";
    for (int I = 0; I < 20; ++I) Application->ProcessMessages();
    N.reset();  // the stop still wakes it
    EXPECT_EQ(Events, 0);
}
