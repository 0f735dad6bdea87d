#include "engine/libs/FFmpegLogger.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/system/Threads.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace {

std::atomic<TFFLogger*> GLogger{nullptr};
std::atomic<int> GFFmpegLevel{AV_LOG_INFO};
std::mutex GCreateLock;

// The logger that GlobalLogger made itself, freed at exit.
struct TOwnedLogger {
    TFFLogger* Logger = nullptr;
    ~TOwnedLogger() { delete Logger; }
} GOwnedLogger;

constexpr size_t BufferSize = 2048;

// The library callbacks using the logger right now (all threads), and those of this
// thread (a handler that logs again, or frees the logger, runs inside its callback).
// A logger being freed waits until no other thread's callback is using it.
std::atomic<int> GCallbacksInUse{0};
thread_local int GCallbacksOfThisThread = 0;

}  // namespace

uint32_t CurrentThreadID() { return GetCurrentThreadId(); }

int FFmpegLogLevel() { return GFFmpegLevel.load(); }

TFFLogger* GlobalLogger()
{
    if (TFFLogger* L = GLogger.load()) return L;
    std::lock_guard Guard(GCreateLock);
    if (TFFLogger* L = GLogger.load()) return L;
    GOwnedLogger.Logger = new TFFLogger(nullptr);
    return GOwnedLogger.Logger;
}

TFFLogger::TFFLogger(TComponent* AOwner) : TComponent(AOwner)
{
    TFFLogger* Expected = nullptr;
    if (!GLogger.compare_exchange_strong(Expected, this))
        throw EAssertionFailed("Allow creating only one instance of TFFLogger. (FFmpegLogger)");
    FLogLevel = AVToLogLevel(GFFmpegLevel.load());
}

TFFLogger::~TFFLogger()
{
    *FSelf = nullptr;
    TFFLogger* Expected = this;
    // No callback finds the logger from here on; those that found it before end first.
    if (GLogger.compare_exchange_strong(Expected, nullptr))
        while (GCallbacksInUse.load() > GCallbacksOfThisThread) usleep(1000);
    if (GOwnedLogger.Logger == this) GOwnedLogger.Logger = nullptr;
}

void TFFLogger::InstallAVLogCallback()
{
    if (!AV.av_log_set_callback || !AV.av_log_set_level)
        throw EAssertionFailed("av_log_set_callback/av_log_set_level not bound (FFmpegLogger)");
    AV.av_log_set_callback(AVLogCallback);
    GFFmpegLevel = LogLevelToAV(FLogLevel);
    AV.av_log_set_level(GFFmpegLevel);
}

void TFFLogger::SetLogLevel(TLogLevel AValue)
{
    if (AValue == FLogLevel) return;
    FLogLevel = AValue;
    if (AV.av_log_set_level) {
        GFFmpegLevel = LogLevelToAV(AValue);
        AV.av_log_set_level(GFFmpegLevel);
    }
}

void TFFLogger::OptLogLevel(const String& AArg)
{
    static const struct {
        const char* Name;
        int Level;
    } Names[] = {{"quiet", AV_LOG_QUIET}, {"panic", AV_LOG_PANIC},     {"fatal", AV_LOG_FATAL},
                 {"error", AV_LOG_ERROR}, {"warning", AV_LOG_WARNING}, {"info", AV_LOG_INFO},
                 {"verbose", AV_LOG_VERBOSE}, {"debug", AV_LOG_DEBUG}};
    for (const auto& N : Names)
        if (SameText(AArg, N.Name)) {
            SetLogLevel(AVToLogLevel(N.Level));
            return;
        }
    SetLogLevel(AVToLogLevel(StrToInt(AArg)));
}

bool TFFLogger::Passes(TLogLevel ALogLevel) const
{
    if (!OnLog) return false;
    TLogLevel L = FLogLevel;
    return ALogLevel <= L || (ALogLevel == llVerbose && L != llQuiet);
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg)
{
    if (Passes(ALogLevel)) Fire(Sender, ALogLevel, ALogMsg);
}

void TFFLogger::Fire(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg)
{
    TLogEvent Handler = OnLog;
    if (!Handler) return;
    // Each call carries its own copy of the event's data: two threads logging at once
    // never see each other's fields.
    TLogInfo Info{Sender, CurrentThreadID(), ALogLevel, ALogMsg};
    // Another thread queues its line for the GUI thread and goes on: it may hold a lock
    // (the codec lock) that the GUI thread is waiting for, so it must never wait for the
    // GUI thread here.  The queue keeps the lines in order.  A queued line goes to the
    // handler set when it is delivered: a listener that detached (or a logger that was
    // freed) in the meantime hears nothing more.
    if (FTriggerEventInMainThread && !IsMainThread()) {
        std::weak_ptr<TFFLogger*> Self = FSelf;
        TThread::Queue(nullptr, [Self, Info] {
            std::shared_ptr<TFFLogger*> Cell = Self.lock();
            TFFLogger* Logger = Cell ? *Cell : nullptr;
            if (!Logger) return;
            if (TLogEvent Current = Logger->OnLog) Current(Info.Sender, Info.ThreadID, Info.LogLevel, Info.LogMsg);
        });
    } else
        Handler(Info.Sender, Info.ThreadID, Info.LogLevel, Info.LogMsg);
}

extern "C" void AVLogCallback(void* APtr, int ALevel, const char* AFormat, va_list AArgs)
{
    if (ALevel > GFFmpegLevel.load()) return;
    // Text from this thread not yet ended by a line feed.
    thread_local String Pending;

    char Buffer[BufferSize];
    size_t Used = 0;
    if (APtr && Pending.empty()) {
        const AVClass* Class = *static_cast<const AVClass* const*>(APtr);
        if (Class && Class->item_name) {
            int N = snprintf(Buffer, BufferSize, "[%s @ %p]", Class->item_name(APtr), APtr);
            if (N > 0) Used = std::min(size_t(N), BufferSize - 1);
        }
    }
    va_list Copy;
    va_copy(Copy, AArgs);
    int N = vsnprintf(Buffer + Used, BufferSize - Used, AFormat, Copy);
    va_end(Copy);
    if (N < 0) N = 0;
    Pending.append(Buffer, Used);
    if (size_t(N) < BufferSize - Used) {
        Pending.append(Buffer + Used, size_t(N));
    } else {
        // Longer than the stack buffer: format it whole on the heap.
        std::unique_ptr<char[]> Big(new char[size_t(N) + 1]);
        vsnprintf(Big.get(), size_t(N) + 1, AFormat, AArgs);
        Pending.append(Big.get(), size_t(N));
    }

    size_t P;
    while ((P = Pending.find('\n')) != String::npos) {
        String Line = Pending.substr(0, P);
        Pending.erase(0, P + 1);
        // Counted in before the logger is looked up, so that its destructor either hides
        // it from this call or waits until the call is over.
        ++GCallbacksInUse;
        ++GCallbacksOfThisThread;
        TScopeExit CountOut([] {
            --GCallbacksOfThisThread;
            --GCallbacksInUse;
        });
        if (TFFLogger* L = GLogger.load()) L->Fire(L, AVToLogLevel(ALevel), Line);
    }
}
