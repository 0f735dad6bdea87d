// The message loop's turns on the headless backend: calls queued by other threads get a
// bounded share of each turn, in order, and never keep the window messages waiting.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"

namespace {

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        CheckSynchronize(0);
        Form = Application->CreateForm<TForm>();
        Form->SetBounds(100, 100, 200, 150);
        Form->Show();
        Application->ProcessMessages();
        Form->WindowProc = [this, Old = Form->WindowProc](TMessage& M) {
            if (M.Msg == WM_USER + 5) Log.push_back(-1);
            Old(M);
        };
    }
    void TearDown() override
    {
        CheckSynchronize(0);
        DoneForms();
    }
    // Calls from another thread, each taking longer than a turn's budget, so that each
    // turn has room for one of them only.
    void QueueSlowCalls(int ACount)
    {
        std::thread sender([this, ACount] {
            for (int i = 0; i < ACount; ++i)
                TThread::Queue(nullptr, [this, i] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(SyncTurnBudgetMs + 2));
                    Log.push_back(i);
                });
        });
        sender.join();
    }
    TForm* Form = nullptr;
    std::vector<int> Log;  // the calls' numbers in the order they ran; -1 the window message
};

TEST_F(MessageLoop, ProcessMessagesServesTheWindowsBetweenSlicesOfQueuedCalls)
{
    QueueSlowCalls(3);
    PostMessage(Form->Handle(), WM_USER + 5, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ((std::vector<int>{0, -1}), Log);
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_EQ((std::vector<int>{0, -1, 1, 2}), Log);
}

TEST_F(MessageLoop, HandleMessageTakesOneSliceOfQueuedCallsAndOneMessagePerTurn)
{
    QueueSlowCalls(4);
    PostMessage(Form->Handle(), WM_USER + 5, 0, 0);
    for (int turn = 1; turn <= 4; ++turn) {
        // Another message behind it, so that no turn waits for input.
        PostMessage(Form->Handle(), WM_USER + 6, 0, 0);
        Application->HandleMessage();
    }
    EXPECT_EQ((std::vector<int>{0, -1, 1, 2, 3}), Log);
}

TEST_F(MessageLoop, AnIdleTurnTakesOneShareOfQueuedCallsAndDoesNotWait)
{
    QueueSlowCalls(3);
    // No window message: each turn takes one share, finds the rest waiting and returns
    // for the next turn instead of running another share at once.
    // (The last call is left to CheckSynchronize: a turn that runs it would then wait.)
    for (int turn = 1; turn <= 2; ++turn) {
        Application->HandleMessage();
        EXPECT_EQ(size_t(turn), Log.size());
    }
    CheckSynchronize(0);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Log);
}

}  // namespace
