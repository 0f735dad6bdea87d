// Threads, Synchronize/Queue to the GUI thread, locks and events.
// The test runner's main thread plays the GUI thread.
#include "platform/system/Threads.h"

#include <atomic>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace {

// Runs a function as the thread's Execute.
class TFuncThread : public TThread {
public:
    explicit TFuncThread(std::function<void(TFuncThread*)> AFunc, bool ASuspended = true)
        : TThread(true), FFunc(std::move(AFunc))
    {
        if (!ASuspended) Start();
    }
    ~TFuncThread() override
    {
        if (Started() && !FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
    }
    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;
    using TThread::Terminated;
    using TThread::CheckSuspended;

protected:
    void Execute() override { FFunc(this); }

private:
    std::function<void(TFuncThread*)> FFunc;
};

// Drains synchronised calls until APred holds (what a message loop does).
template <class P>
void PumpUntil(P APred)
{
    while (!APred()) CheckSynchronize(50);
}

TEST(Threads, MainThreadIdentity)
{
    EXPECT_TRUE(IsMainThread());
    EXPECT_EQ(MainThreadID(), GetCurrentThreadId());
    std::atomic<bool> mainThere{true};
    std::atomic<uint32_t> id{0};
    TFuncThread t([&](TFuncThread*) {
        mainThere = IsMainThread();
        id = GetCurrentThreadId();
    });
    EXPECT_EQ(0u, t.ThreadID());
    t.Start();
    EXPECT_NE(0u, t.ThreadID());
    t.WaitFor();
    EXPECT_FALSE(mainThere);
    EXPECT_EQ(t.ThreadID(), id.load());
    EXPECT_THROW(t.Start(), EThread);
}

TEST(Threads, SynchronizeFromManyThreadsWhileTheGuiThreadDrains)
{
    const int threads = 8, calls = 200;
    int counter = 0;  // touched only on the GUI thread
    std::atomic<int> wrongThread{0};
    std::vector<std::unique_ptr<TFuncThread>> workers;
    for (int i = 0; i < threads; ++i)
        workers.push_back(std::make_unique<TFuncThread>(
            [&](TFuncThread* self) {
                for (int k = 0; k < calls; ++k)
                    self->Synchronize([&] {
                        if (!IsMainThread()) ++wrongThread;
                        ++counter;
                    });
            },
            false));
    PumpUntil([&] {
        for (auto& w : workers)
            if (!w->Finished()) return false;
        return true;
    });
    for (auto& w : workers) w->WaitFor();
    EXPECT_EQ(threads * calls, counter);
    EXPECT_EQ(0, wrongThread.load());
}

TEST(Threads, WaitForOnTheGuiThreadServesSynchronize)
{
    bool ran = false;
    TFuncThread t([&](TFuncThread* self) { self->Synchronize([&] { ran = true; }); }, false);
    t.WaitFor();  // would deadlock if it did not drain
    EXPECT_TRUE(ran);
}

TEST(Threads, QueueKeepsOrderAndDoesNotBlock)
{
    std::vector<int> order;
    TEvent queued;
    TFuncThread t([&](TFuncThread* self) {
        for (int i = 0; i < 100; ++i) self->Queue([&order, i] { order.push_back(i); });
        self->Synchronize([&order] { order.push_back(1000); });
        queued.SetEvent();
    });
    t.Start();
    PumpUntil([&] { return queued.WaitFor(0) == wrSignaled; });
    t.WaitFor();
    ASSERT_EQ(101u, order.size());
    for (int i = 0; i < 100; ++i) EXPECT_EQ(i, order[i]);
    EXPECT_EQ(1000, order.back());
}

TEST(Threads, QueuedErrorReachesTheLoopAndTheRestStillRuns)
{
    std::vector<int> ran;
    TEvent queued;
    TFuncThread t([&](TFuncThread* self) {
        self->Queue([&] { ran.push_back(1); });
        self->Queue([] { throw EAbort("queued"); });
        self->Queue([&] { ran.push_back(3); });
        queued.SetEvent();
    }, false);
    queued.WaitFor();  // the thread only queues; nothing has run yet
    EXPECT_THROW(CheckSynchronize(0), EAbort);
    EXPECT_EQ(std::vector<int>{1}, ran);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ((std::vector<int>{1, 3}), ran);
    t.WaitFor();
}

bool WakeFdReadable()
{
    pollfd p{SyncWakeFd(), POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

// A turn with no time to spare runs one call; the rest keep their order and keep the
// wake-up signalled until the last has run.
TEST(Threads, ATurnRunsPendingCallsInOrderAndLeavesTheRest)
{
    CheckSynchronize(0);
    std::vector<int> order;
    TEvent queued;
    TFuncThread t([&](TFuncThread* self) {
        for (int i = 0; i < 4; ++i) self->Queue([&order, i] { order.push_back(i); });
        queued.SetEvent();
    }, false);
    queued.WaitFor();
    for (int turn = 1; turn <= 4; ++turn) {
        EXPECT_TRUE(WakeFdReadable()) << turn;
        EXPECT_TRUE(CheckSynchronizeTurn(0)) << turn;
        ASSERT_EQ(size_t(turn), order.size());
        EXPECT_EQ(turn - 1, order.back());
    }
    EXPECT_FALSE(WakeFdReadable());
    EXPECT_FALSE(CheckSynchronizeTurn(0));
    t.WaitFor();
}

// A thread that keeps sending cannot hold a turn: what it sends while the turn runs
// waits for the next turn, behind nothing it overtook.
TEST(Threads, CallsSentDuringATurnWaitForTheNext)
{
    CheckSynchronize(0);
    std::vector<String> ran;
    TEvent queued;
    TFuncThread t([&](TFuncThread* self) {
        self->Queue([&] {
            ran.push_back("a");
            std::thread sender([&] { TThread::Queue(nullptr, [&] { ran.push_back("c"); }); });
            sender.join();
        });
        self->Queue([&] { ran.push_back("b"); });
        queued.SetEvent();
    }, false);
    queued.WaitFor();
    EXPECT_TRUE(CheckSynchronizeTurn(60000));
    EXPECT_EQ((std::vector<String>{"a", "b"}), ran);
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(CheckSynchronizeTurn(60000));
    EXPECT_EQ((std::vector<String>{"a", "b", "c"}), ran);
    t.WaitFor();
}

// A Synchronize caller behind a long queue returns once the turns reach its call, with
// its call's error; a queued call's error leaves the rest for later turns.
TEST(Threads, SynchronizeReturnsThroughBoundedTurns)
{
    CheckSynchronize(0);
    std::vector<int> order;
    std::atomic<bool> returned{false}, raised{false};
    TEvent queued;
    TFuncThread t([&](TFuncThread* self) {
        for (int i = 0; i < 10; ++i) self->Queue([&order, i] { order.push_back(i); });
        self->Queue([] { throw EAbort("queued"); });
        self->Queue([&order] { order.push_back(10); });
        queued.SetEvent();
        try {
            self->Synchronize([&order] {
                order.push_back(100);
                throw EAbort("synchronized");
            });
        } catch (const EAbort&) {
            raised = true;
        }
        returned = true;
    }, false);
    queued.WaitFor();
    int turns = 0, errors = 0;
    while (!returned) {
        pollfd p{SyncWakeFd(), POLLIN, 0};
        poll(&p, 1, 50);
        try {
            if (CheckSynchronizeTurn(0)) ++turns;
        } catch (const EAbort&) {
            ++errors;
            EXPECT_TRUE(WakeFdReadable());  // the call behind the error is still to come
        }
    }
    t.WaitFor();
    EXPECT_TRUE(raised);
    EXPECT_EQ(1, errors);
    EXPECT_EQ(12, turns);  // eleven calls and the Synchronize, one per turn
    ASSERT_EQ(12u, order.size());
    for (int i = 0; i < 11; ++i) EXPECT_EQ(i, order[size_t(i)]);
    EXPECT_EQ(100, order.back());
}

class TCounterThread : public TThread {
public:
    static inline std::atomic<int> Runs{0};
    static inline std::atomic<TThread*> Seen{nullptr};
    explicit TCounterThread(int AStep) : TThread(true), FStep(AStep) {}
    ~TCounterThread() override { WaitFor(); }

protected:
    void Execute() override
    {
        Seen = CurrentThread();
        Runs += FStep;
    }

private:
    int FStep;
};

TEST(Threads, CreatedRunningInOneStep)
{
    std::unique_ptr<TCounterThread> t(TThread::CreateRunning<TCounterThread>(3));
    EXPECT_TRUE(t->Started());
    EXPECT_NE(0u, t->ThreadID());
    t->WaitFor();
    EXPECT_EQ(t.get(), TCounterThread::Seen.load());
    EXPECT_EQ(3, TCounterThread::Runs.load());
    EXPECT_EQ(nullptr, TThread::CurrentThread());
    // Starting inside the base constructor would run Execute of an unbuilt class.
    struct TTooEarly : TThread {
        TTooEarly() : TThread(false) {}
        void Execute() override {}
    };
    EXPECT_THROW(TTooEarly(), EThread);
}

TEST(Threads, QueueFromTheGuiThreadRunsAtOnce)
{
    int v = 0;
    TThread::Queue(nullptr, [&] { v = 1; });
    EXPECT_EQ(1, v);
    TThread::Synchronize(nullptr, [&] { v = 2; });
    EXPECT_EQ(2, v);
}

TEST(Threads, WakeFdSignalsPendingCalls)
{
    int fd = SyncWakeFd();
    ASSERT_GE(fd, 0);
    CheckSynchronize(0);
    std::atomic<int> hooks{0};
    SetWakeMainThread([&] { ++hooks; });
    bool ran = false;
    TFuncThread t([&](TFuncThread* self) { self->Queue([&] { ran = true; }); }, false);
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(1, poll(&p, 1, 10000));
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_TRUE(ran);
    p.revents = 0;
    EXPECT_EQ(0, poll(&p, 1, 0));  // drained
    t.WaitFor();
    SetWakeMainThread(nullptr);
    EXPECT_GE(hooks.load(), 1);
}

TEST(Threads, CheckSynchronizeRefusesOtherThreadsAndTimesOut)
{
    std::atomic<bool> raised{false};
    TFuncThread t([&](TFuncThread*) {
        try {
            CheckSynchronize(0);
        } catch (const EThread&) {
            raised = true;
        }
    }, false);
    t.WaitFor();
    EXPECT_TRUE(raised);
    EXPECT_FALSE(CheckSynchronize(20));  // nothing pending: waits, then reports nothing ran
}

TEST(Threads, SynchronizedExceptionReachesTheCaller)
{
    std::atomic<bool> caught{false};
    TFuncThread t([&](TFuncThread* self) {
        try {
            self->Synchronize([] { throw EConvertError("bad"); });
        } catch (const EConvertError& e) {
            caught = e.Message() == "bad";
        }
    }, false);
    t.WaitFor();
    EXPECT_TRUE(caught);
}

TEST(Threads, ExecuteExceptionIsKeptAndOnTerminateRunsOnTheGuiThread)
{
    bool onMain = false;
    TObject* sender = nullptr;
    TFuncThread t([](TFuncThread* self) {
        self->SetReturnValue(7);
        throw Exception("boom");
    });
    t.OnTerminate = [&](TObject* S) {
        onMain = IsMainThread();
        sender = S;
    };
    t.Start();
    EXPECT_EQ(7, t.WaitFor());
    EXPECT_TRUE(onMain);
    EXPECT_EQ(&t, sender);
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ("boom", e.Message());
    }
}

TEST(Threads, TerminateAndFreeOnTerminate)
{
    TFuncThread loop([](TFuncThread* self) {
        while (!self->Terminated()) Sleep(1);
    }, false);
    loop.Terminate();
    loop.WaitFor();
    EXPECT_TRUE(loop.Finished());

    static std::atomic<int> destroyed{0};
    struct TSelfFreeing : TFuncThread {
        using TFuncThread::TFuncThread;
        ~TSelfFreeing() override { ++destroyed; }
    };
    bool terminated = false;
    auto* t = new TSelfFreeing([](TFuncThread*) {});
    t->SetFreeOnTerminate(true);
    t->OnTerminate = [&](TObject*) { terminated = true; };
    EXPECT_THROW(t->WaitFor(), EThread);  // not started
    t->Start();
    PumpUntil([&] { return destroyed.load() == 1; });
    EXPECT_TRUE(terminated);
}

TEST(Threads, DestroyingARunningThreadStopsIt)
{
    std::atomic<bool> stopped{false};
    TEvent running;
    {
        TFuncThread t([&](TFuncThread* self) {
            running.SetEvent();
            while (!self->Terminated()) Sleep(1);
            stopped = true;
        }, false);
        running.WaitFor();
    }
    EXPECT_TRUE(stopped);
    { TFuncThread never([](TFuncThread*) {}); }  // never started: nothing to wait for
}

TEST(Threads, SuspendStopsAtTheNextSafePointUntilResume)
{
    TEvent reached, go, passed;
    std::atomic<int> syncs{0};
    TFuncThread t([&](TFuncThread* self) {
        reached.SetEvent();
        go.WaitFor();
        self->CheckSuspended();
        passed.SetEvent();
        self->Synchronize([&] { ++syncs; });  // a safe point as well
        passed.SetEvent();
    });
    EXPECT_TRUE(t.Suspended());  // not started yet
    t.Resume();                  // starts it
    reached.WaitFor();
    t.Suspend();
    EXPECT_TRUE(t.Suspended());
    go.SetEvent();
    EXPECT_EQ(wrTimeout, passed.WaitFor(50));  // parked
    t.Resume();
    EXPECT_FALSE(t.Suspended());
    EXPECT_EQ(wrSignaled, passed.WaitFor(INFINITE));
    t.WaitFor();
    EXPECT_EQ(1, syncs.load());

    // Terminate releases a parked thread, so that destroying it does not hang.
    TEvent parked;
    {
        TFuncThread p([&](TFuncThread* self) {
            parked.SetEvent();
            self->Suspend();  // the thread stops itself at once
        }, false);
        parked.WaitFor();
    }
    SUCCEED();
}

TEST(Threads, PriorityIsSetPerThread)
{
    // the runner may start the tests under nice: the values are compared with the
    // process's own, and an unprivileged process cannot go below it
    const int started = getpriority(PRIO_PROCESS, 0);
    TEvent go, set, release;
    std::atomic<int> niceSeen{99}, policySeen{-1};
    TFuncThread t([&](TFuncThread*) {
        go.WaitFor();
        niceSeen = getpriority(PRIO_PROCESS, 0);
        policySeen = sched_getscheduler(0);
        set.SetEvent();
        release.WaitFor();
    });
    t.SetPriority(tpLower);  // remembered until the start
    t.Start();
    go.SetEvent();
    set.WaitFor();
    if (started <= 5 || geteuid() == 0) EXPECT_EQ(5, niceSeen.load());
    else EXPECT_EQ(started, niceSeen.load());  // refused: the thread keeps the process's
    EXPECT_EQ(SCHED_OTHER, policySeen.load());
    EXPECT_EQ(started, getpriority(PRIO_PROCESS, 0));  // the GUI thread is unchanged
    t.SetPriority(tpIdle);
    EXPECT_EQ(SCHED_IDLE, sched_getscheduler(pid_t(t.ThreadID())));
    t.SetPriority(tpTimeCritical);  // may be refused without privileges: no error
    EXPECT_EQ(SCHED_OTHER, sched_getscheduler(pid_t(t.ThreadID())));
    release.SetEvent();
    t.WaitFor();
}

TEST(Locks, CriticalSectionIsRecursiveAndExcludesOthers)
{
    TCriticalSection cs;
    cs.Enter();
    EXPECT_TRUE(cs.TryEnter());  // again on the same thread
    std::atomic<int> other{-1};
    TFuncThread t([&](TFuncThread*) { other = cs.TryEnter(); }, false);
    t.WaitFor();
    EXPECT_EQ(0, other.load());
    cs.Leave();
    cs.Leave();
    {
        TCriticalSectionGuard g(cs);
        TFuncThread t2([&](TFuncThread*) { other = cs.TryEnter(); }, false);
        t2.WaitFor();
        EXPECT_EQ(0, other.load());
    }
    TFuncThread t3([&](TFuncThread*) {
        other = cs.TryEnter();
        if (other) cs.Leave();
    }, false);
    t3.WaitFor();
    EXPECT_EQ(1, other.load());
}

TEST(Locks, MutexTimedWait)
{
    TMutex m;
    m.Acquire();
    std::atomic<int> result{-1};
    TFuncThread t([&](TFuncThread*) { result = m.WaitFor(10); }, false);
    t.WaitFor();
    EXPECT_EQ(wrTimeout, result.load());
    m.Release();
    TFuncThread t2([&](TFuncThread*) {
        result = m.WaitFor(INFINITE);
        m.Release();
    }, false);
    t2.WaitFor();
    EXPECT_EQ(wrSignaled, result.load());
}

TEST(Locks, ManualAndAutoResetEvents)
{
    TEvent manual(true, false);
    EXPECT_EQ(wrTimeout, manual.WaitFor(10));
    manual.SetEvent();
    EXPECT_EQ(wrSignaled, manual.WaitFor(0));
    EXPECT_EQ(wrSignaled, manual.WaitFor(0));  // stays set
    manual.ResetEvent();
    EXPECT_EQ(wrTimeout, manual.WaitFor(0));

    TEvent autoReset(false, true);
    EXPECT_EQ(wrSignaled, autoReset.WaitFor(0));
    EXPECT_EQ(wrTimeout, autoReset.WaitFor(0));  // reset by the wait

    // One SetEvent of an auto-reset event lets exactly one of two waiters through.
    TEvent gate(false, false);
    std::atomic<int> through{0};
    auto waiter = [&](TFuncThread*) {
        if (gate.WaitFor(INFINITE) == wrSignaled) ++through;
    };
    TFuncThread a(waiter, false), b(waiter, false);
    gate.SetEvent();
    while (through.load() == 0) Sleep(1);
    EXPECT_EQ(wrTimeout, gate.WaitFor(0));
    gate.SetEvent();
    a.WaitFor();
    b.WaitFor();
    EXPECT_EQ(2, through.load());
}

}  // namespace
