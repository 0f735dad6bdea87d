// Threads, the GUI thread's queue of synchronised calls, mutexes and events.
#include "platform/system/Threads.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct TSyncEntry {
    TThread* Thread = nullptr;
    std::function<void()> Method;
    bool Synchronous = false;
    bool Done = false;
    std::exception_ptr Error;
};

// One lock and one condition serve the call queue, finished calls, and thread starts
// and ends: these events are rare, and a single condition lets the GUI thread wait for
// "a call arrived or the thread ended" without polling.
struct TSyncState {
    std::mutex Lock;
    std::condition_variable Cond;
    std::deque<std::shared_ptr<TSyncEntry>> Queue;
    std::function<void()> WakeHook;
    int WakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
};

TSyncState& Sync()
{
    static TSyncState* state = new TSyncState;  // lives for the whole process
    return *state;
}

thread_local TThread* GCurrentThread = nullptr;

void Wake()
{
    TSyncState& s = Sync();
    uint64_t one = 1;
    if (s.WakeFd >= 0) {
        ssize_t r = ::write(s.WakeFd, &one, sizeof one);
        (void)r;
    }
    std::function<void()> hook;
    {
        std::lock_guard g(s.Lock);
        hook = s.WakeHook;
    }
    s.Cond.notify_all();
    if (hook) hook();
}

void DrainWakeFd()
{
    uint64_t v;
    TSyncState& s = Sync();
    if (s.WakeFd >= 0) {
        ssize_t r = ::read(s.WakeFd, &v, sizeof v);
        (void)r;
    }
}

}  // namespace

uint32_t GetCurrentThreadId() { return uint32_t(::gettid()); }
uint32_t MainThreadID() { return uint32_t(::getpid()); }
bool IsMainThread() { return ::gettid() == ::getpid(); }

int SyncWakeFd() { return Sync().WakeFd; }

void SetWakeMainThread(std::function<void()> AHook)
{
    std::lock_guard g(Sync().Lock);
    Sync().WakeHook = std::move(AHook);
}

namespace {

// Signals the wake-up again while calls are left for a later turn.
void RearmWhileQueued()
{
    TSyncState& s = Sync();
    bool more;
    {
        std::lock_guard g(s.Lock);
        more = !s.Queue.empty();
    }
    if (more && s.WakeFd >= 0) {
        uint64_t one = 1;
        ssize_t r = ::write(s.WakeFd, &one, sizeof one);
        (void)r;
    }
}

// Runs queued calls in order: at most AMaxCalls of them, and none after ADeadline once
// one has run.
bool RunQueuedCalls(size_t AMaxCalls, std::chrono::steady_clock::time_point ADeadline)
{
    TSyncState& s = Sync();
    bool ran = false;
    for (size_t n = 0; n < AMaxCalls; ++n) {
        if (ran && std::chrono::steady_clock::now() >= ADeadline) break;
        std::shared_ptr<TSyncEntry> e;
        {
            std::lock_guard g(s.Lock);
            if (s.Queue.empty()) break;
            e = s.Queue.front();
            s.Queue.pop_front();
        }
        ran = true;
        if (e->Synchronous) {
            try {
                e->Method();
            } catch (...) {
                e->Error = std::current_exception();
            }
            {
                std::lock_guard g(s.Lock);
                e->Done = true;
            }
            s.Cond.notify_all();
        } else {
            try {
                e->Method();
            } catch (...) {
                // Leave the rest for the next call and let the loop see the error.
                RearmWhileQueued();
                throw;
            }
        }
    }
    return ran;
}

void RequireMainThread(const char* AName)
{
    if (!IsMainThread())
        throw EThread("%s called from thread %d, which is not the main thread", AName, GetCurrentThreadId());
}

}  // namespace

bool CheckSynchronize(uint32_t ATimeoutMs)
{
    RequireMainThread("CheckSynchronize");
    TSyncState& s = Sync();
    // Clear the wake-up first: a call sent after this point signals it again.
    DrainWakeFd();
    {
        std::unique_lock lk(s.Lock);
        if (s.Queue.empty() && ATimeoutMs > 0) {
            auto ready = [&] { return !s.Queue.empty(); };
            if (ATimeoutMs == INFINITE) s.Cond.wait(lk, ready);
            else s.Cond.wait_for(lk, std::chrono::milliseconds(ATimeoutMs), ready);
        }
        if (s.Queue.empty()) return false;
    }
    return RunQueuedCalls(SIZE_MAX, std::chrono::steady_clock::time_point::max());
}

bool CheckSynchronizeTurn(uint32_t ABudgetMs)
{
    RequireMainThread("CheckSynchronizeTurn");
    TSyncState& s = Sync();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ABudgetMs);
    DrainWakeFd();
    size_t pending;
    {
        std::lock_guard g(s.Lock);
        pending = s.Queue.size();
    }
    // Calls sent while these run wait for the next turn: threads that keep sending cannot
    // hold the loop here.
    const bool ran = RunQueuedCalls(pending, deadline);
    RearmWhileQueued();
    return ran;
}

// ---------------------------------------------------------------------------------
// TThread

TThread::TThread(bool ACreateSuspended)
{
    if (!ACreateSuspended)
        throw EThread("A thread cannot start before its class is built: create it suspended and call Start");
}

TThread::~TThread()
{
    if (FStarted) {
        if (GCurrentThread == this) {
            if (FThread.joinable()) FThread.detach();
        } else {
            if (!FDone.load()) {
                Terminate();
                WaitUntilDone();
            }
            if (FThread.joinable()) FThread.join();
        }
    }
    RemoveQueuedEvents(this);
}

void TThread::Start()
{
    {
        std::lock_guard g(Sync().Lock);
        if (FStarted) throw EThread("Cannot call Start on a running or suspended thread");
        FStarted = true;
    }
    FThread = std::thread(&TThread::ThreadProc, this);
    std::unique_lock lk(Sync().Lock);
    Sync().Cond.wait(lk, [&] { return FThreadID.load() != 0; });
    // A thread that frees itself waits for this before it goes (see ThreadProc).
    FStartReturned = true;
    Sync().Cond.notify_all();
}

void TThread::ThreadProc(TThread* AThread)
{
    GCurrentThread = AThread;
    {
        std::lock_guard g(Sync().Lock);
        AThread->FThreadID = uint32_t(::gettid());
    }
    Sync().Cond.notify_all();
    AThread->ApplyPriority();
    try {
        if (!AThread->Terminated()) AThread->Execute();
    } catch (...) {
        AThread->FFatalException = std::current_exception();
    }
    bool freeThread = AThread->FFreeOnTerminate;
    AThread->FFinished = true;
    try {
        AThread->DoTerminate();
    } catch (...) {
        // OnTerminate's error cannot cross the thread boundary.
    }
    {
        std::lock_guard g(Sync().Lock);
        AThread->FDone = true;
    }
    Sync().Cond.notify_all();
    if (freeThread) {
        // Start may still be storing the thread's handle in the object.
        std::unique_lock lk(Sync().Lock);
        Sync().Cond.wait(lk, [&] { return AThread->FStartReturned; });
        lk.unlock();
        delete AThread;
    }
    GCurrentThread = nullptr;
}

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize(this, [this] { OnTerminate(this); });
}

void TThread::Terminate()
{
    FTerminated = true;
    // A terminated thread is not kept parked: it goes on to see Terminated().
    {
        std::lock_guard g(FSuspendLock);
        FSuspendRequested = false;
    }
    FSuspendCond.notify_all();
}

void TThread::Suspend()
{
    if (!FStarted) return;
    {
        std::lock_guard g(FSuspendLock);
        FSuspendRequested = true;
    }
    if (GCurrentThread == this) CheckSuspended();
}

void TThread::Resume()
{
    if (!FStarted) {
        Start();
        return;
    }
    {
        std::lock_guard g(FSuspendLock);
        FSuspendRequested = false;
    }
    FSuspendCond.notify_all();
}

bool TThread::Suspended() const
{
    if (!FStarted) return true;
    std::lock_guard g(FSuspendLock);
    return FSuspendRequested;
}

void TThread::CheckSuspended()
{
    if (GCurrentThread != this) return;
    std::unique_lock lk(FSuspendLock);
    FSuspendCond.wait(lk, [&] { return !FSuspendRequested || FTerminated.load(); });
}

void TThread::WaitUntilDone()
{
    TSyncState& s = Sync();
    if (IsMainThread()) {
        // Keep serving Synchronize/Queue calls: the thread may be waiting for one.
        while (true) {
            {
                std::unique_lock lk(s.Lock);
                s.Cond.wait(lk, [&] { return FDone.load() || !s.Queue.empty(); });
                if (FDone.load()) break;
            }
            CheckSynchronize(0);
        }
    } else {
        std::unique_lock lk(s.Lock);
        s.Cond.wait(lk, [&] { return FDone.load(); });
    }
}

int TThread::WaitFor()
{
    if (!FStarted) throw EThread("Cannot wait for a thread that was not started");
    if (GCurrentThread == this) throw EThread("A thread cannot wait for itself");
    if (FFreeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
    WaitUntilDone();
    if (FThread.joinable()) FThread.join();
    return FReturnValue;
}

TThread* TThread::CurrentThread() { return GCurrentThread; }

void TThread::SetPriority(TThreadPriority AValue)
{
    FPriority = AValue;
    if (FStarted && !FDone.load()) ApplyPriority();
}

void TThread::ApplyPriority()
{
    pid_t tid = pid_t(FThreadID.load());
    if (tid == 0) return;
    sched_param param{};
    param.sched_priority = 0;
    TThreadPriority priority = FPriority.load();
    if (priority == tpIdle) {
        sched_setscheduler(tid, SCHED_IDLE, &param);
        return;
    }
    if (sched_getscheduler(tid) == SCHED_IDLE) sched_setscheduler(tid, SCHED_OTHER, &param);
    static const int nice[] = {19, 10, 5, 0, -5, -10, -15};
    // Raising the priority may be refused without privileges; the thread then keeps
    // the priority it has.
    setpriority(PRIO_PROCESS, id_t(tid), nice[priority]);
}

// Appends a call to the GUI thread's queue and wakes the GUI thread.
static std::shared_ptr<TSyncEntry> Enqueue(TThread* AThread, std::function<void()> AMethod, bool ASynchronous)
{
    auto e = std::make_shared<TSyncEntry>();
    e->Thread = AThread;
    e->Method = std::move(AMethod);
    e->Synchronous = ASynchronous;
    {
        std::lock_guard g(Sync().Lock);
        Sync().Queue.push_back(e);
    }
    Wake();
    return e;
}

void TThread::Synchronize(TThread* AThread, std::function<void()> AMethod)
{
    if (AThread && AThread == GCurrentThread) AThread->CheckSuspended();
    if (IsMainThread()) {
        AMethod();
        return;
    }
    auto e = Enqueue(AThread, std::move(AMethod), true);
    {
        std::unique_lock lk(Sync().Lock);
        Sync().Cond.wait(lk, [&] { return e->Done; });
    }
    if (e->Error) std::rethrow_exception(e->Error);
}

void TThread::Queue(TThread* AThread, std::function<void()> AMethod)
{
    if (AThread && AThread == GCurrentThread) AThread->CheckSuspended();
    if (IsMainThread()) AMethod();
    else Enqueue(AThread, std::move(AMethod), false);
}

void TThread::RemoveQueuedEvents(TThread* AThread)
{
    if (!AThread) return;
    std::lock_guard g(Sync().Lock);
    auto& q = Sync().Queue;
    for (auto it = q.begin(); it != q.end();) {
        if ((*it)->Thread == AThread && !(*it)->Synchronous) it = q.erase(it);
        else ++it;
    }
}

// ---------------------------------------------------------------------------------

TWaitResult TMutex::WaitFor(uint32_t ATimeoutMs)
{
    if (ATimeoutMs == INFINITE) {
        FLock.lock();
        return wrSignaled;
    }
    return FLock.try_lock_for(std::chrono::milliseconds(ATimeoutMs)) ? wrSignaled : wrTimeout;
}

void TEvent::SetEvent()
{
    // Notified under the lock: a waiter that sees the event set may free it at once.
    std::lock_guard g(FLock);
    FSignaled = true;
    if (FManualReset) FCond.notify_all();
    else FCond.notify_one();
}

void TEvent::ResetEvent()
{
    std::lock_guard g(FLock);
    FSignaled = false;
}

TWaitResult TEvent::WaitFor(uint32_t ATimeoutMs)
{
    std::unique_lock lk(FLock);
    auto ready = [&] { return FSignaled; };
    if (ATimeoutMs == INFINITE) FCond.wait(lk, ready);
    else if (!FCond.wait_for(lk, std::chrono::milliseconds(ATimeoutMs), ready)) return wrTimeout;
    if (!FManualReset) FSignaled = false;
    return wrSignaled;
}
