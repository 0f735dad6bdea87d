// Window procedures, sending and posting, the message queue, the wait for work and
// timers.  The queue holds posted messages and raw input in arrival order; input is
// turned into window messages when it is taken (hit testing sees the tree as it is
// then).  When nothing is queued, windows that need painting get WM_PAINT, then due
// timers give WM_TIMER.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "platform/windows/Backend.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WindowImpl.h"


using namespace winimpl;

// ---- procedure objects ------------------------------------------------------------
namespace {
struct TFnProc final : TWndProcObject {
    WNDPROCFN Fn;
    explicit TFnProc(WNDPROCFN F) : Fn(F) {}
    LRESULT Call(HWND W, UINT M, WPARAM Wp, LPARAM Lp) override { return Fn(W, M, Wp, Lp); }
};
struct TMethodProc final : TWndProcObject {
    TWndMethod Method;
    explicit TMethodProc(TWndMethod M) : Method(std::move(M)) {}
    LRESULT Call(HWND, UINT M, WPARAM Wp, LPARAM Lp) override
    {
        TMessage Msg;
        Msg.Msg = M;
        Msg.WParam = Wp;
        Msg.LParam = Lp;
        Method(Msg);
        return Msg.Result;
    }
};
}  // namespace

WNDPROC MakeProcInstance(WNDPROCFN Fn)
{
    static std::map<WNDPROCFN, std::unique_ptr<TFnProc>> Made;
    auto& P = Made[Fn];
    if (!P) P = std::make_unique<TFnProc>(Fn);
    return P.get();
}

WNDPROC DefWindowProcInstance() { return MakeProcInstance(&DefWindowProc); }

WNDPROC MakeObjectInstance(TWndMethod Method) { return new TMethodProc(std::move(Method)); }

void FreeObjectInstance(WNDPROC Proc) { delete dynamic_cast<TMethodProc*>(Proc); }

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (!Proc) return DefWindowProc(Wnd, Msg, W, L);
    return Proc->Call(Wnd, Msg, W, L);
}

// ---- clock -----------------------------------------------------------------------
static std::function<uint64_t()>& ClockFn()
{
    static std::function<uint64_t()> F;
    return F;
}

uint64_t winimpl::NowMs()
{
    if (ClockFn()) return ClockFn()();
    using namespace std::chrono;
    static const auto Start = steady_clock::now();
    return uint64_t(duration_cast<milliseconds>(steady_clock::now() - Start).count()) + 1000;
}

void SetWindowClock(std::function<uint64_t()> Clock) { ClockFn() = std::move(Clock); }

// ---- threads ---------------------------------------------------------------------
static std::thread::id& GuiThread()
{
    static std::thread::id Id = std::this_thread::get_id();
    return Id;
}

static bool OnGuiThread() { return std::this_thread::get_id() == GuiThread(); }

static int QueueFd()
{
    static int Fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return Fd;
}

void winimpl::WakeLoop()
{
    uint64_t One = 1;
    ssize_t R = write(QueueFd(), &One, sizeof One);
    (void)R;
}

static void DrainFd(int Fd)
{
    uint64_t V;
    while (Fd >= 0 && read(Fd, &V, sizeof V) > 0) {}
}

// A message sent from another thread waits here until the GUI thread runs it.
namespace {
struct TCrossSend {
    HWND Wnd;
    UINT Msg;
    WPARAM W;
    LPARAM L;
    LRESULT Result = 0;
    bool Done = false;
};
std::mutex CrossLock;
std::condition_variable CrossDone;
std::deque<TCrossSend*> CrossQueue;
}  // namespace

static void RunCrossSends()
{
    for (;;) {
        TCrossSend* C;
        {
            std::lock_guard<std::mutex> G(CrossLock);
            if (CrossQueue.empty()) return;
            C = CrossQueue.front();
            CrossQueue.pop_front();
        }
        LRESULT R = SendMessage(C->Wnd, C->Msg, C->W, C->L);
        {
            std::lock_guard<std::mutex> G(CrossLock);
            C->Result = R;
            C->Done = true;
        }
        CrossDone.notify_all();
    }
}

// ---- sending ------------------------------------------------------------------------
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (!OnGuiThread()) {
        TCrossSend C{Wnd, Msg, W, L};
        {
            std::lock_guard<std::mutex> G(CrossLock);
            CrossQueue.push_back(&C);
        }
        WakeLoop();
        std::unique_lock<std::mutex> G(CrossLock);
        CrossDone.wait(G, [&] { return C.Done; });
        return C.Result;
    }
    TWindow* Win = Find(Wnd);
    if (!Win) return 0;
    auto& S = State();
    ++S.SendDepth;
    LRESULT R;
    try {
        R = CallWindowProc(Win->Proc, Wnd, Msg, W, L);
    } catch (...) {
        --S.SendDepth;
        CollectGarbage();
        throw;
    }
    --S.SendDepth;
    CollectGarbage();
    return R;
}

bool InSendMessage() { return State().SendDepth > 0; }

bool PostMessage(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    auto& S = State();
    {
        std::lock_guard<std::mutex> G(S.QueueLock);
        if (Wnd && OnGuiThread() && !Find(Wnd)) return false;
        TQueued Q;
        Q.Msg.hwnd = Wnd;
        Q.Msg.message = Msg;
        Q.Msg.wParam = W;
        Q.Msg.lParam = L;
        Q.Msg.time = DWORD(NowMs());
        Q.Msg.pt = S.CursorPos;
        S.Queue.push_back(std::move(Q));
    }
    if (!OnGuiThread()) WakeLoop();
    return true;
}

void PostQuitMessage(int ExitCode)
{
    auto& S = State();
    std::lock_guard<std::mutex> G(S.QueueLock);
    S.QuitPosted = true;
    S.QuitCode = ExitCode;
}

void winimpl::QueueInput(const TInputEvent& E)
{
    auto& S = State();
    {
        std::lock_guard<std::mutex> G(S.QueueLock);
        TQueued Q;
        Q.IsInput = true;
        Q.Input = E;
        if (!Q.Input.Time) Q.Input.Time = DWORD(NowMs());
        S.Queue.push_back(std::move(Q));
    }
    if (!OnGuiThread()) WakeLoop();
}

void winimpl::ForgetWindowInQueue(HWND Wnd)
{
    auto& S = State();
    std::lock_guard<std::mutex> G(S.QueueLock);
    S.Queue.erase(std::remove_if(S.Queue.begin(), S.Queue.end(),
                                 [&](const TQueued& Q) { return !Q.IsInput && Q.Msg.hwnd == Wnd; }),
                  S.Queue.end());
}

// ---- timers -----------------------------------------------------------------------------
uintptr_t SetTimer(HWND Wnd, uintptr_t Id, UINT Elapse, TIMERPROC Proc)
{
    auto& S = State();
    if (Wnd && !Find(Wnd)) return 0;
    if (Elapse < 1) Elapse = 1;
    if (!Wnd) {
        static uintptr_t NextId = 0x7000;
        Id = ++NextId;
    }
    for (auto& T : S.Timers)
        if (T.Wnd == Wnd && T.Id == Id) {
            T.Elapse = Elapse;
            T.Due = NowMs() + Elapse;
            T.Proc = Proc;
            T.Pending = false;
            return Wnd ? 1 : Id;
        }
    TTimer T;
    T.Wnd = Wnd;
    T.Id = Id;
    T.Elapse = Elapse;
    T.Due = NowMs() + Elapse;
    T.Proc = Proc;
    S.Timers.push_back(T);
    return Wnd ? 1 : Id;
}

bool KillTimer(HWND Wnd, uintptr_t Id)
{
    auto& S = State();
    auto It = std::find_if(S.Timers.begin(), S.Timers.end(), [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == Id; });
    if (It == S.Timers.end()) return false;
    S.Timers.erase(It);
    return true;
}

void winimpl::KillWindowTimers(HWND Wnd)
{
    auto& S = State();
    S.Timers.erase(std::remove_if(S.Timers.begin(), S.Timers.end(), [&](const TTimer& T) { return T.Wnd == Wnd; }),
                   S.Timers.end());
}

// Milliseconds until the next timer is due (-1 when there is none).
static int NextTimerWait()
{
    auto& S = State();
    if (S.Timers.empty()) return -1;
    uint64_t Now = NowMs(), Due = UINT64_MAX;
    for (auto& T : S.Timers) Due = std::min(Due, T.Due);
    return Due <= Now ? 0 : int(std::min<uint64_t>(Due - Now, 1000000));
}

static bool TakeTimer(MSG& M, HWND Filter, bool Remove)
{
    auto& S = State();
    uint64_t Now = NowMs();
    // the most overdue first, so that one fast timer cannot starve the others
    TTimer* Best = nullptr;
    for (auto& T : S.Timers) {
        if (T.Due > Now) continue;
        if (Filter && T.Wnd != Filter && !IsChild(Filter, T.Wnd)) continue;
        if (!Best || T.Due < Best->Due) Best = &T;
    }
    if (!Best) return false;
    M = MSG{};
    M.hwnd = Best->Wnd;
    M.message = WM_TIMER;
    M.wParam = Best->Id;
    M.lParam = LPARAM(Best->Proc);
    M.time = DWORD(Now);
    M.pt = S.CursorPos;
    if (Remove) Best->Due = Now + Best->Elapse;
    return true;
}

// ---- the queue ---------------------------------------------------------------------------------
static bool Matches(const MSG& M, HWND Wnd, UINT First, UINT Last)
{
    if (Wnd && M.hwnd != Wnd && !IsChild(Wnd, M.hwnd)) return false;
    if (First == 0 && Last == 0) return true;
    return M.message >= First && M.message <= Last;
}

bool PeekMessage(MSG& Msg, HWND Wnd, UINT First, UINT Last, UINT Remove)
{
    auto& S = State();
    bool Take = Remove & PM_REMOVE;
    if (OnGuiThread()) {
        RunCrossSends();
        Backend().Poll();  // events the display has already sent
    }
    for (;;) {
        std::unique_lock<std::mutex> G(S.QueueLock);
        size_t I = 0;
        bool Converted = false;
        for (; I < S.Queue.size(); ++I) {
            if (S.Queue[I].IsInput) {
                // input is turned into a message in order; later entries wait for it
                TInputEvent E = std::move(S.Queue[I].Input);
                S.Queue.erase(S.Queue.begin() + long(I));
                G.unlock();
                MSG Out;
                bool Made = TranslateInput(E, Out);
                G.lock();
                if (Made) {
                    TQueued Q;
                    Q.Msg = Out;
                    S.Queue.push_front(std::move(Q));
                }
                Converted = true;
                break;
            }
            if (Matches(S.Queue[I].Msg, Wnd, First, Last)) break;
        }
        if (Converted) continue;
        if (I < S.Queue.size()) {
            Msg = S.Queue[I].Msg;
            if (Take) S.Queue.erase(S.Queue.begin() + long(I));
            S.MessageTime = Msg.time;
            S.MessagePos = Msg.pt;
            return true;
        }
        if (S.QuitPosted && ((First == 0 && Last == 0) || (WM_QUIT >= First && WM_QUIT <= Last))) {
            Msg = MSG{};
            Msg.message = WM_QUIT;
            Msg.wParam = WPARAM(S.QuitCode);
            if (Take) S.QuitPosted = false;
            return true;
        }
        G.unlock();
        if ((First == 0 && Last == 0) || (WM_PAINT >= First && WM_PAINT <= Last)) {
            if (Take ? TakePaintMessage(Msg, Wnd) : HasPendingPaint()) {
                if (!Take) Msg = MSG{}, Msg.message = WM_PAINT;
                return true;
            }
        }
        if ((First == 0 && Last == 0) || (WM_TIMER >= First && WM_TIMER <= Last))
            if (TakeTimer(Msg, Wnd, Take)) return true;
        return false;
    }
}

static void WaitForWork(int TimeoutMs)
{
    FlushAll();
    std::vector<int> Fds{QueueFd()};
    int SyncFd = SynchronizeWakeFd();
    if (SyncFd >= 0) Fds.push_back(SyncFd);
    Backend().Wait(TimeoutMs, Fds);
    DrainFd(QueueFd());
}

static bool QueueHasWork()
{
    auto& S = State();
    {
        std::lock_guard<std::mutex> G(S.QueueLock);
        if (!S.Queue.empty() || S.QuitPosted) return true;
    }
    {
        std::lock_guard<std::mutex> G(CrossLock);
        if (!CrossQueue.empty()) return true;
    }
    return HasPendingPaint() || NextTimerWait() == 0;
}

// Calls of other threads are waiting for the GUI thread.
static bool SynchronizePending()
{
    int Fd = SynchronizeWakeFd();
    if (Fd < 0) return false;
    pollfd P{Fd, POLLIN, 0};
    return poll(&P, 1, 0) > 0;
}

bool WaitMessage()
{
    Backend().Poll();
    // Calls of other threads left over from this turn are work for the next one, which
    // begins with their share: a turn never runs two shares back to back.  What this turn
    // painted is shown first, however busy the queue stays.
    if (QueueHasWork() || SynchronizePending()) {
        FlushAll();
        return true;
    }
    WaitForWork(NextTimerWait());
    RunSynchronized();
    return true;
}

bool GetMessage(MSG& Msg, HWND Wnd, UINT First, UINT Last)
{
    for (;;) {
        Backend().Poll();
        if (PeekMessage(Msg, Wnd, First, Last, PM_REMOVE)) return Msg.message != WM_QUIT;
        WaitForWork(NextTimerWait());
        RunSynchronized();
    }
}

bool TranslateMessage(const MSG& Msg)
{
    if ((Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) || !Msg.lChar) return false;
    auto& S = State();
    std::lock_guard<std::mutex> G(S.QueueLock);
    TQueued Q;
    Q.Msg = Msg;
    Q.Msg.message = Msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    Q.Msg.wParam = Msg.lChar;
    Q.Msg.lChar = 0;
    S.Queue.push_front(std::move(Q));
    return true;
}

void ValidateAfterPaint(HWND Wnd);  // WinPaint.cpp

LRESULT DispatchMessage(const MSG& Msg)
{
    if (Msg.message == WM_TIMER && Msg.lParam) {
        auto Proc = reinterpret_cast<TIMERPROC>(Msg.lParam);
        Proc(Msg.hwnd, WM_TIMER, Msg.wParam, Msg.time);
        return 0;
    }
    if (!Msg.hwnd) return 0;
    auto& S = State();
    S.MessageTime = Msg.time;
    S.MessagePos = Msg.pt;
    LRESULT R = SendMessage(Msg.hwnd, Msg.message, Msg.wParam, Msg.lParam);
    if (Msg.message == WM_PAINT) ValidateAfterPaint(Msg.hwnd);
    return R;
}

DWORD GetMessageTime() { return State().MessageTime; }

DWORD GetMessagePos() { return DWORD(MAKELPARAM(State().MessagePos.X, State().MessagePos.Y)); }

// ---- test hooks -----------------------------------------------------------------------------------
int PendingQueueSize()
{
    auto& S = State();
    std::lock_guard<std::mutex> G(S.QueueLock);
    return int(S.Queue.size());
}
