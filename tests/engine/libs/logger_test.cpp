// The logger: level mapping and filtering, the FFmpeg callback's line cutting per
// thread, long lines, and delivery on the GUI thread.
#include "support/engine_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/FFmpegLogger.h"
#include "platform/system/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <map>
#include <mutex>
#include <thread>

using namespace enginetest;

namespace {

struct TEvent {
    TObject* Sender;
    uint32_t ThreadID;
    TLogLevel Level;
    String Msg;
    bool OnMain;
};

// Collects every event of the global logger, delivered on the logging thread.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLibraries());
        L = GlobalLogger();
        SavedLevel = L->LogLevel();
        L->SetTriggerEventInMainThread(false);
        L->OnLog = [this](TObject* S, uint32_t T, TLogLevel Lv, const String& M) {
            std::lock_guard G(Lock);
            Events.push_back({S, T, Lv, M, IsMainThread()});
        };
    }
    void TearDown() override
    {
        L->OnLog = nullptr;
        L->SetTriggerEventInMainThread(true);
        L->SetLogLevel(SavedLevel);
    }
    std::vector<TEvent> Take()
    {
        std::lock_guard G(Lock);
        return std::move(Events);
    }
    // Calls the installed callback the way the libraries do.
    static void Lib(void* APtr, int ALevel, const char* AFormat, ...)
    {
        va_list Args;
        va_start(Args, AFormat);
        AVLogCallback(APtr, ALevel, AFormat, Args);
        va_end(Args);
    }

    TFFLogger* L = nullptr;
    TLogLevel SavedLevel = llInfo;
    std::mutex Lock;
    std::vector<TEvent> Events;
};

}  // namespace

TEST(LogLevels, MapBothWays)
{
    const struct {
        int AVLevel;
        TLogLevel Level;
    } FromAV[] = {{-20, llQuiet}, {-8, llQuiet}, {-7, llPanic}, {0, llPanic}, {7, llPanic}, {8, llFatal},
                  {16, llError},  {24, llWarning}, {32, llInfo}, {40, llVerbose}, {48, llDebug}, {56, llDebug}};
    for (const auto& C : FromAV) EXPECT_EQ(AVToLogLevel(C.AVLevel), C.Level) << C.AVLevel;
    for (int I = llQuiet; I <= llDebug; ++I) EXPECT_EQ(LogLevelToAV(TLogLevel(I)), (I - 1) * 8);
}

TEST_F(LoggerTest, OnlyOneLoggerMayExist)
{
    EXPECT_THROW(TFFLogger Second(nullptr), EAssertionFailed);
    EXPECT_EQ(GlobalLogger(), L);
}

TEST_F(LoggerTest, OptLogLevelTakesNamesAndNumbers)
{
    const struct {
        const char* Arg;
        TLogLevel Level;
    } Cases[] = {{"Warning", llWarning}, {"QUIET", llQuiet}, {"debug", llDebug}, {"20", llError},
                 {"-20", llQuiet},      {"32", llInfo}};
    for (const auto& C : Cases) {
        L->OptLogLevel(C.Arg);
        EXPECT_EQ(L->LogLevel(), C.Level) << C.Arg;
        EXPECT_EQ(FFmpegLogLevel(), LogLevelToAV(C.Level)) << C.Arg;
        EXPECT_EQ(AV.av_log_get_level(), LogLevelToAV(C.Level)) << C.Arg;
    }
    EXPECT_THROW(L->OptLogLevel("abc"), EConvertError);
}

TEST_F(LoggerTest, EngineMessagesAreFilteredByLevel)
{
    const struct {
        TLogLevel Setting, Message;
        bool Passes;
    } Cases[] = {{llQuiet, llVerbose, false}, {llError, llVerbose, true}, {llError, llWarning, false},
                 {llError, llError, true},    {llPanic, llQuiet, true},   {llInfo, llDebug, false},
                 {llDebug, llDebug, true}};
    for (const auto& C : Cases) {
        L->SetLogLevel(C.Setting);
        L->Log(L, C.Message, "message %d", 7);
        auto E = Take();
        ASSERT_EQ(E.size(), C.Passes ? 1u : 0u) << int(C.Setting) << "/" << int(C.Message);
        if (C.Passes) {
            EXPECT_EQ(E[0].Msg, "message 7");
            EXPECT_EQ(E[0].Level, C.Message);
            EXPECT_EQ(E[0].Sender, L);
            EXPECT_EQ(E[0].ThreadID, GetCurrentThreadId());
        }
    }
}

TEST_F(LoggerTest, LibraryTextIsCutIntoLinesPerThread)
{
    L->SetLogLevel(llInfo);
    AVCodecContext* Ctx = AV.avcodec_alloc_context3(nullptr);
    // A partial line, then its end: one event, prefix (the object's item name, "NULL"
    // for a context without codec) only before the first part.
    Lib(Ctx, AV_LOG_INFO, "abc");
    EXPECT_TRUE(Take().empty());
    Lib(Ctx, AV_LOG_INFO, "def%d\n", 1);
    auto E = Take();
    ASSERT_EQ(E.size(), 1u);
    char Prefix[64];
    snprintf(Prefix, sizeof(Prefix), "[NULL @ %p]", static_cast<void*>(Ctx));
    EXPECT_EQ(E[0].Msg, String(Prefix) + "abcdef1");
    EXPECT_EQ(E[0].Sender, L);
    EXPECT_EQ(E[0].Level, llInfo);
    // Two line feeds: two events, the rest stays pending.
    Lib(nullptr, AV_LOG_WARNING, "one\ntwo\nthr");
    E = Take();
    ASSERT_EQ(E.size(), 2u);
    EXPECT_EQ(E[0].Msg, "one");
    EXPECT_EQ(E[1].Msg, "two");
    EXPECT_EQ(E[1].Level, llWarning);
    Lib(nullptr, AV_LOG_INFO, "ee\n");
    E = Take();
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].Msg, "three");
    // Filtered by FFmpeg's level before anything is kept.
    Lib(nullptr, AV_LOG_DEBUG, "hidden\n");
    EXPECT_TRUE(Take().empty());
    // UTF-8 text passes unchanged.
    Lib(nullptr, AV_LOG_INFO, "文件 %s\n", "名");
    E = Take();
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].Msg, "文件 名");
    AV.avcodec_free_context(&Ctx);
}

TEST_F(LoggerTest, LongLibraryLinesArriveWhole)
{
    String Long(5000, 'x');
    Long += "END";
    Lib(nullptr, AV_LOG_ERROR, "start %s\n", Long.c_str());
    auto E = Take();
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].Msg, "start " + Long);
}

TEST_F(LoggerTest, RealLibraryMessagesReachTheLogger)
{
    L->SetLogLevel(llInfo);
    AV.av_log(nullptr, AV_LOG_ERROR, "from ffmpeg %d\n", 42);
    auto E = Take();
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].Msg, "from ffmpeg 42");
    EXPECT_EQ(E[0].Level, llError);
}

TEST_F(LoggerTest, ThreadsInterleavingPartialLinesKeepTheirOwnLines)
{
    constexpr int Threads = 8, Lines = 200;
    std::atomic<int> Ready{0};
    std::vector<std::thread> Pool;
    for (int T = 0; T < Threads; ++T)
        Pool.emplace_back([&, T] {
            ++Ready;
            while (Ready < Threads) std::this_thread::yield();
            for (int I = 0; I < Lines; ++I) {
                Lib(nullptr, AV_LOG_INFO, "t%d-", T);
                std::this_thread::yield();
                Lib(nullptr, AV_LOG_INFO, "line%d", I);
                Lib(nullptr, AV_LOG_INFO, "\n");
            }
        });
    for (auto& Th : Pool) Th.join();
    auto E = Take();
    ASSERT_EQ(E.size(), size_t(Threads * Lines));
    std::map<uint32_t, std::vector<String>> ByThread;
    for (const auto& Ev : E) ByThread[Ev.ThreadID].push_back(Ev.Msg);
    ASSERT_EQ(ByThread.size(), size_t(Threads));
    for (auto& [Id, Msgs] : ByThread) {
        ASSERT_EQ(Msgs.size(), size_t(Lines));
        String Head = Msgs[0].substr(0, Msgs[0].find('-') + 1);
        for (int I = 0; I < Lines; ++I) EXPECT_EQ(Msgs[I], Head + "line" + std::to_string(I));
    }
}

TEST_F(LoggerTest, EventsReachTheGuiThreadWhileWorkersWait)
{
    // With the switch on, worker lines arrive on the GUI (main) thread, delivered while
    // the GUI thread pumps; the workers do not wait for them.
    ASSERT_TRUE(IsMainThread());
    L->SetTriggerEventInMainThread(true);
    std::atomic<int> Done{0};
    constexpr int Threads = 4, Lines = 25;
    std::vector<std::thread> Pool;
    for (int T = 0; T < Threads; ++T)
        Pool.emplace_back([&] {
            for (int I = 0; I < Lines; ++I) L->Log(nullptr, llError, "worker %d", I);
            ++Done;
        });
    for (auto& Th : Pool) Th.join();
    for (int I = 0; I < 500; ++I) {
        CheckSynchronize(10);
        std::lock_guard G(Lock);
        if (Events.size() >= size_t(Threads * Lines)) break;
    }
    auto E = Take();
    ASSERT_EQ(E.size(), size_t(Threads * Lines));
    std::map<uint32_t, int> Count;
    for (const auto& Ev : E) {
        EXPECT_NE(Ev.ThreadID, GetCurrentThreadId());
        EXPECT_TRUE(Ev.OnMain);
        ++Count[Ev.ThreadID];
    }
    EXPECT_EQ(Count.size(), size_t(Threads));
}

TEST_F(LoggerTest, AWorkerLoggingUnderALockTheGuiThreadWaitsForGoesOn)
{
    // The worker logs while it holds a lock; the GUI thread waits for that lock without
    // serving its queue.  The worker must not wait for the GUI thread, and the lines
    // arrive later, in order.
    ASSERT_TRUE(IsMainThread());
    L->SetTriggerEventInMainThread(true);
    std::mutex Codec;
    std::atomic<bool> Holding{false}, WorkerDone{false};
    std::thread Worker([&] {
        {
            std::lock_guard<std::mutex> G(Codec);
            Holding = true;
            for (int I = 0; I < 5; ++I) L->Log(nullptr, llError, "held %d", I);
        }
        WorkerDone = true;
    });
    while (!Holding) std::this_thread::yield();
    // Polled with try_lock: the thread sanitizer does not see the clock-based timed lock
    // that try_lock_for uses, and would take the unlock for one of a mutex never locked.
    bool Got = false;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(Got = Codec.try_lock()) && std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (Got) Codec.unlock();
    while (!WorkerDone) CheckSynchronize(10);  // a worker that waits for this thread gets served
    for (int I = 0; I < 100; ++I) {
        CheckSynchronize(10);
        std::lock_guard G(Lock);
        if (Events.size() >= 5) break;
    }
    Worker.join();
    EXPECT_TRUE(Got) << "the worker waited for the GUI thread while holding the lock";
    auto E = Take();
    std::vector<String> Msgs;
    for (const auto& Ev : E) {
        EXPECT_TRUE(Ev.OnMain);
        Msgs.push_back(Ev.Msg);
    }
    EXPECT_EQ(Msgs, (std::vector<String>{"held 0", "held 1", "held 2", "held 3", "held 4"}));
}

TEST_F(LoggerTest, LinesQueuedBeforeTheListenerDetachesAreNotDeliveredToIt)
{
    // A window detaches from the log and goes away while lines of a worker still wait for
    // the GUI thread: none of them may reach the detached handler.
    ASSERT_TRUE(IsMainThread());
    L->SetTriggerEventInMainThread(true);
    auto Detached = std::make_shared<std::atomic<int>>(0);
    L->OnLog = [Detached](TObject*, uint32_t, TLogLevel, const String&) { ++*Detached; };
    std::thread Worker([&] {
        for (int I = 0; I < 3; ++I) L->Log(nullptr, llError, "late %d", I);
    });
    Worker.join();
    L->OnLog = nullptr;  // the listener leaves before the queue is served
    for (int I = 0; I < 20; ++I) CheckSynchronize(10);
    EXPECT_EQ(Detached->load(), 0);
    // A listener attached again hears what is logged after it attached.
    L->OnLog = [this](TObject* S, uint32_t T, TLogLevel Lv, const String& M) {
        std::lock_guard G(Lock);
        Events.push_back({S, T, Lv, M, IsMainThread()});
    };
    std::thread Again([&] { L->Log(nullptr, llError, "after"); });
    Again.join();
    for (int I = 0; I < 100 && Events.empty(); ++I) CheckSynchronize(10);
    auto E = Take();
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].Msg, "after");
}

TEST(LoggerLifetime, ALoggerIsNotFreedUnderALibraryCallbackThatUsesIt)
{
    // A library thread's line is in the logger's handler when another thread frees the
    // logger: the logger goes only after the handler has returned.
    ASSERT_TRUE(LoadLibraries());
    TFFLogger* L = GlobalLogger();
    L->SetTriggerEventInMainThread(false);
    std::atomic<bool> Entered{false}, Release{false}, Deleted{false}, DeletedUnderHandler{false};
    L->OnLog = [&](TObject*, uint32_t, TLogLevel, const String&) {
        Entered = true;
        while (!Release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        DeletedUnderHandler = Deleted.load();
    };
    std::thread Logging([] {
        auto Lib = [](const char* AFormat, ...) {
            va_list Args;
            va_start(Args, AFormat);
            AVLogCallback(nullptr, AV_LOG_ERROR, AFormat, Args);
            va_end(Args);
        };
        Lib("a line of a library thread\n");
    });
    while (!Entered) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::thread Freeing([&] {
        delete L;
        Deleted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // time for a free that does not wait
    Release = true;
    Logging.join();
    Freeing.join();
    EXPECT_FALSE(DeletedUnderHandler);
    EXPECT_TRUE(Deleted);
    // The next use makes a new logger.
    TFFLogger* Next = GlobalLogger();
    ASSERT_NE(Next, nullptr);
    EXPECT_TRUE(Next->TriggerEventInMainThread());
}
