// Threads, synchronisation with the GUI (main) thread, and locks.
//
// The GUI thread is the thread that started the process.  Other threads reach it only
// through TThread::Synchronize (blocking) and TThread::Queue (non-blocking); the GUI
// thread runs what they sent in CheckSynchronize, which its message loop calls whenever
// SyncWakeFd() becomes readable (or the WakeMainThread hook fires).
#pragma once

#include "platform/system/Classes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

constexpr uint32_t INFINITE = 0xFFFFFFFF;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

uint32_t GetCurrentThreadId();  // the kernel's thread id (gettid)
uint32_t MainThreadID();
bool IsMainThread();

// Runs every pending Synchronize/Queue call on the GUI thread, in the order they were
// made, after waiting up to ATimeoutMs for the first one when none is pending.
// Returns true when something ran.  Raises EThread when called on another thread.
bool CheckSynchronize(uint32_t ATimeoutMs = 0);

// The time one turn of the message loop gives to the calls of other threads: a quarter of
// a display refresh, so that the turn's share (which ends with the first call that ends
// past it), its window message and painting fit in one refresh.
constexpr uint32_t SyncTurnBudgetMs = 4;
// One turn's share of the pending calls, for the message loop: runs, in order, the calls
// that were pending when it began until ABudgetMs have passed (at least one runs), so that
// a burst of calls from other threads is spread over several turns and the windows are
// served between them.  The rest stay queued in their order and SyncWakeFd() stays
// readable, so the loop comes back for them.  Returns true when something ran.  Raises
// EThread when called on another thread.
bool CheckSynchronizeTurn(uint32_t ABudgetMs = SyncTurnBudgetMs);
// An eventfd that is readable while calls wait for CheckSynchronize.
int SyncWakeFd();
// Called (on the calling thread) each time a call is sent to the GUI thread.
void SetWakeMainThread(std::function<void()> AHook);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A thread that runs Execute.
//
// A C++ base class is built before its derived class, so a thread may not start inside
// TThread's constructor: it would call Execute of a class not yet built.  Threads are
// therefore created suspended (TThread(true)) and started with Start(), usually as the
// last statement of the most-derived constructor, or created running in one step with
// TThread::CreateRunning<T>(arguments...).  TThread(false) raises EThread.
// A derived class whose Execute uses its own members calls Terminate(); WaitFor() in its
// destructor (the base destructor does it too, but after the derived part is gone).
class TThread : public TObject {
public:
    explicit TThread(bool ACreateSuspended = true);
    ~TThread() override;

    // new T(AArgs...), then Start().
    template <class T, class... A>
    static T* CreateRunning(A&&... AArgs)
    {
        T* thread = new T(std::forward<A>(AArgs)...);
        thread->Start();
        return thread;
    }

    // Starts a thread created suspended (EThread when already started).
    void Start();
    // Asks Execute to stop: Terminated() becomes true, and a suspension ends.
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    // Waits until Execute has returned and OnTerminate has run; returns ReturnValue.
    // On the GUI thread, runs Synchronize/Queue calls while it waits.
    int WaitFor();
    bool Finished() const { return FFinished.load(); }
    bool Started() const { return FStarted; }

    // Pausing.  Suspend asks the thread to stop at its next safe point: a call of
    // CheckSuspended, Synchronize or Queue made by the thread itself (a thread is never
    // stopped at an arbitrary point, where it might hold a lock the GUI thread needs).
    // Called by the thread itself, it stops at once.  Resume lets it go on, or starts a
    // thread that was created suspended and never started.
    void Suspend();
    void Resume();
    // True before the start and while a suspension is asked for.
    bool Suspended() const;

    // When set, the thread deletes itself after Execute and OnTerminate.
    bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool AValue) { FFreeOnTerminate = AValue; }
    // tpIdle is SCHED_IDLE; the others are nice values 10, 5, 0, -5, -10, -15 of this
    // thread only.  A raise the system refuses is ignored.
    TThreadPriority Priority() const { return FPriority.load(); }
    void SetPriority(TThreadPriority AValue);
    uint32_t ThreadID() const { return FThreadID.load(); }  // 0 before the start
    int ReturnValue() const { return FReturnValue; }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const { return FFatalException; }

    // Runs on the GUI thread after Execute returns (through Synchronize).
    TNotifyEvent OnTerminate;

    // Runs AMethod on the GUI thread and waits for it; an exception it raises is raised
    // again in the caller.  On the GUI thread it runs at once.
    static void Synchronize(TThread* AThread, std::function<void()> AMethod);
    // Hands AMethod to the GUI thread and returns at once (on the GUI thread: runs it).
    static void Queue(TThread* AThread, std::function<void()> AMethod);
    // Drops calls queued for AThread that have not run yet.
    static void RemoveQueuedEvents(TThread* AThread);
    // The TThread object running the calling thread, nullptr for other threads.
    static TThread* CurrentThread();

protected:
    virtual void Execute() = 0;
    // Calls OnTerminate on the GUI thread.
    virtual void DoTerminate();
    void Synchronize(std::function<void()> AMethod) { Synchronize(this, std::move(AMethod)); }
    void Queue(std::function<void()> AMethod) { Queue(this, std::move(AMethod)); }
    void SetReturnValue(int AValue) { FReturnValue = AValue; }
    // Waits here while a suspension is asked for (call it from Execute's loop).
    void CheckSuspended();

private:
    static void ThreadProc(TThread* AThread);
    void ApplyPriority();
    void WaitUntilDone();

    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};  // Execute has returned
    std::atomic<bool> FDone{false};      // ... and OnTerminate has run
    std::atomic<uint32_t> FThreadID{0};
    bool FStarted = false;
    bool FStartReturned = false;  // Start has stored the handle (guarded by the sync lock)
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    int FReturnValue = 0;
    std::exception_ptr FFatalException;
    mutable std::mutex FSuspendLock;
    std::condition_variable FSuspendCond;
    bool FSuspendRequested = false;
};

// A recursive lock.
class TCriticalSection : public TObject {
public:
    void Enter() { FLock.lock(); }
    void Leave() { FLock.unlock(); }
    bool TryEnter() { return FLock.try_lock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    std::recursive_mutex FLock;
};

// Holds a critical section for the lifetime of the guard.
class TCriticalSectionGuard {
public:
    explicit TCriticalSectionGuard(TCriticalSection& ASection) : FSection(ASection) { FSection.Enter(); }
    ~TCriticalSectionGuard() { FSection.Leave(); }
    TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
    TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

private:
    TCriticalSection& FSection;
};

// A recursive mutex with a timed wait.
class TMutex : public TObject {
public:
    void Acquire() { FLock.lock(); }
    void Release() { FLock.unlock(); }
    // wrSignaled when acquired within ATimeoutMs (INFINITE waits for ever), else wrTimeout.
    TWaitResult WaitFor(uint32_t ATimeoutMs);

private:
    std::recursive_timed_mutex FLock;
};

// An event: a manual-reset event stays signalled until ResetEvent; an auto-reset event
// lets one waiter through and resets itself.
class TEvent : public TObject {
public:
    explicit TEvent(bool AManualReset = true, bool AInitialState = false)
        : FManualReset(AManualReset), FSignaled(AInitialState) {}
    void SetEvent();
    void ResetEvent();
    TWaitResult WaitFor(uint32_t ATimeoutMs = INFINITE);
    bool ManualReset() const { return FManualReset; }

private:
    std::mutex FLock;
    std::condition_variable FCond;
    bool FManualReset;
    bool FSignaled;
};

// A manual-reset event, initially not signalled.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};
