// The task list runs batches: one terminate event per task, in order and never two at
// once, the final event last; failures, stops, pauses and the guards of a working list.
#include "support/convert_support.h"
#include "support/transcoder_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <set>
#include <thread>

#include <sys/resource.h>

using namespace converttest;
namespace fs = std::filesystem;

namespace {

// Adds a task converting AInput into AFolder/outN.avi (MPEG-4 and MP3), or into another
// container of MPEG-4 and AAC.
int AddAviTask(TTaskList& AList, const String& AInput, const String& AFolder, const String& AExt = ".avi")
{
    int index = AList.AddTask(AInput);
    if (index < 0) return index;
    TOutputOptions o = AviOptions(200000);
    if (AExt != ".avi") o.AudioCodec = "aac";
    String name = AFolder + "out" + std::to_string(index) + AExt;
    return AList.SetOutputFile(index, name, &o) ? index : -1;
}

}  // namespace

struct TBatchCase {
    int Tasks, Threads;
};

class TaskListBatch : public ::testing::TestWithParam<TBatchCase> {};

TEST_P(TaskListBatch, EveryTaskTerminatesOnceAndTheFinalEventComesLast)
{
    const TBatchCase c = GetParam();
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    for (int i = 0; i < c.Tasks; ++i) ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), i) << list->LastErrMsg();
    std::atomic<bool> overAtFinal{false};
    auto record = list->OnTerminate;
    list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
        if (I.TaskIndex == -1) overAtFinal = list->Terminated();
        record(S, I);
    };
    list->Start(c.Threads);
    EXPECT_TRUE(list->Working());
    ASSERT_TRUE(WaitForFinal(events));
    EXPECT_TRUE(overAtFinal) << "the final event came before the run was marked over";
    list->Stop(true);  // nothing is left to stop; the deliveries are over

    ASSERT_EQ(int(events.Terminates.size()), c.Tasks + 1);
    EXPECT_TRUE(events.Overlaps.empty()) << "terminate handlers ran at once";
    std::set<int> seen;
    for (int i = 0; i < c.Tasks; ++i) {
        const TTerminateInfo& t = events.Terminates[size_t(i)];
        EXPECT_TRUE(t.Finished) << t.ExceptionMsg;
        EXPECT_FALSE(t.Exception) << t.ExceptionMsg;
        EXPECT_TRUE(seen.insert(t.TaskIndex).second) << "two events for task " << t.TaskIndex;
    }
    EXPECT_EQ(seen.size(), size_t(c.Tasks));
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), c.Tasks - 1);
    const TTerminateInfo& last = events.Terminates.back();
    EXPECT_EQ(last.TaskIndex, -1);
    EXPECT_TRUE(last.Finished);
    EXPECT_FALSE(last.Exception);
    EXPECT_TRUE(list->Terminated());
    if (c.Threads == 1) {
        // One at a time: they end in the order they start, which is the list's order.
        for (int i = 0; i < c.Tasks; ++i) EXPECT_EQ(events.Terminates[size_t(i)].TaskIndex, i);
    }
    for (int i = 0; i < c.Tasks; ++i) EXPECT_GT(CountFrames(dir + "out" + std::to_string(i) + ".avi"), 40);
    // Every task reported, the last report of each with file index -1.
    for (int i = 0; i < c.Tasks; ++i) {
        auto it = std::find_if(events.Progress.rbegin(), events.Progress.rend(),
                               [i](const TProgressInfo& P) { return P.TaskIndex == i; });
        ASSERT_NE(it, events.Progress.rend()) << "no progress for task " << i;
        EXPECT_EQ(it->FileIndex, -1);
        EXPECT_GE(it->FrameNumber, 50);
        EXPECT_NEAR(double(it->CurrentDuration), 2.0e6, 0.1e6);
        EXPECT_NEAR(double(it->TotalDuration), 2.0e6, 0.1e6);
        EXPECT_GT(it->CurrentSize, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Threads, TaskListBatch,
                         ::testing::Values(TBatchCase{3, 1}, TBatchCase{3, 2}, TBatchCase{5, 4}),
                         [](const ::testing::TestParamInfo<TBatchCase>& I) {
                             return std::to_string(I.param.Tasks) + "tasks_" + std::to_string(I.param.Threads) +
                                    "threads";
                         });

TEST(TaskList, StartWithoutThreadsRunsEverythingBeforeItReturns)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 1);
    const uint32_t caller = GetCurrentThreadId();
    uint32_t terminateThread = 0;
    bool overAtFinal = false;
    auto record = list->OnTerminate;
    list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
        terminateThread = GetCurrentThreadId();
        if (I.TaskIndex == -1) overAtFinal = list->Terminated();
        record(S, I);
    };
    list->Start(0);
    ASSERT_EQ(events.Terminates.size(), 3u);
    EXPECT_EQ(events.Terminates[0].TaskIndex, 0);
    EXPECT_EQ(events.Terminates[1].TaskIndex, 1);
    EXPECT_EQ(events.Terminates[2].TaskIndex, -1);
    EXPECT_EQ(terminateThread, caller);
    EXPECT_TRUE(overAtFinal) << "the final event came before the run was marked over";
    EXPECT_TRUE(list->Terminated());
}

TEST(TaskList, ATaskThatCannotDecodeFailsAndTheOthersFinish)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    ASSERT_EQ(AddAviTask(*list, Clip("broken.avi"), dir), 1) << list->LastErrMsg();
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 2);
    list->Start(2);
    ASSERT_TRUE(WaitForFinal(events));
    ASSERT_EQ(events.Terminates.size(), 4u);
    for (const TTerminateInfo& t : events.Terminates) {
        if (t.TaskIndex == 1) {
            EXPECT_TRUE(t.Exception);
            EXPECT_FALSE(t.Finished);
            EXPECT_EQ(t.ExceptionMsg, "Decoder (codec id 0) not found for input stream #0.0 (Video)");
        } else {
            EXPECT_FALSE(t.Exception) << t.ExceptionMsg;
            EXPECT_TRUE(t.Finished);
        }
    }
    EXPECT_EQ(events.Terminates.back().TaskIndex, -1);
    // The failed task's output stayed empty and is gone.
    EXPECT_FALSE(fs::exists(dir + "out1.avi"));
    EXPECT_TRUE(fs::exists(dir + "out2.avi"));
}

TEST(TaskList, ATaskWithoutOutputTerminatesAtOnceAndTheNextStarts)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);  // no output
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 1);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 2);
    list->Start(1);
    ASSERT_TRUE(WaitForFinal(events));
    ASSERT_EQ(events.Terminates.size(), 4u);
    EXPECT_EQ(events.Terminates[0].TaskIndex, 0);
    EXPECT_TRUE(events.Terminates[0].Exception);
    EXPECT_EQ(events.Terminates[0].ExceptionMsg, "At least one output file must be specified");
    EXPECT_EQ(events.Terminates[1].TaskIndex, 1);
    EXPECT_TRUE(events.Terminates[1].Finished);
    EXPECT_EQ(events.Terminates[2].TaskIndex, 2);
    EXPECT_TRUE(events.Terminates[2].Finished);
}

namespace {

// Holds every task's worker at its first progress report at or past AFrom microseconds
// until AUntil holds for it.
struct TGate {
    std::mutex Lock;
    std::condition_variable Cond;
    std::set<int> Reached;
};

void InstallGate(TTaskList& AList, TGate& AGate, std::function<bool(TTaskTranscoder*)> AUntil, int64_t AFrom)
{
    AList.SetProgressInterval(100);
    for (int i = 0; i < AList.TasksCount(); ++i) {
        TTaskTranscoder* task = AList.Task(i);
        task->Clock = SteppingClock(150000);
        // The gate stands behind the list's own handler, outside the list's progress lock.
        auto report = task->FOnProgress;
        task->FOnProgress = [report, task, i, &AGate, AUntil, AFrom](TObject* S, int F, int N, int R, float Q,
                                                                     float B, int64_t Z, int64_t C, int64_t T) {
            report(S, F, N, R, Q, B, Z, C, T);
            if (C < AFrom) return;
            {
                std::lock_guard<std::mutex> l(AGate.Lock);
                if (!AGate.Reached.insert(i).second) return;
            }
            AGate.Cond.notify_all();
            while (!AUntil(task)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
    }
}

bool WaitReached(TGate& AGate, int ACount)
{
    // Served: the list's own progress handler runs on this (the GUI) thread first.
    return WaitUntil([&] {
        std::lock_guard<std::mutex> l(AGate.Lock);
        return int(AGate.Reached.size()) >= ACount;
    });
}

// ATasks AVI tasks (or of the container AExt) started on AThreads threads, each held at
// its first report past AFrom microseconds until AUntil holds for it.
struct TGatedRun {
    String Dir = enginetest::ScratchFolder();
    TEvents Events;
    std::unique_ptr<TTaskList> List = NewTaskList(Events);
    TGate Gate;

    TGatedRun(int ATasks, int AThreads, std::function<bool(TTaskTranscoder*)> AUntil, const String& AExt = ".avi",
              int64_t AFrom = 0)
    {
        for (int i = 0; i < ATasks; ++i) EXPECT_EQ(AddAviTask(*List, Clip("clip.avi"), Dir, AExt), i);
        InstallGate(*List, Gate, AUntil, AFrom);
        List->Start(AThreads);
    }
    // Waits until ACount tasks are held.
    bool Reached(int ACount) { return WaitReached(Gate, ACount); }
};

}  // namespace

TEST(TaskList, StopWithWaitEndsTheRunningTasksAndTerminatesTheRest)
{
    TGatedRun run(4, 2, [](TTaskTranscoder* T) { return bool(T->FBroken); });
    const String& dir = run.Dir;
    TEvents& events = run.Events;
    auto& list = run.List;
    ASSERT_TRUE(run.Reached(2));  // tasks 0 and 1 are in the middle of their run
    list->Stop(true);
    // Stop waited for the workers and for the deliveries.
    ASSERT_TRUE(events.Final());
    ASSERT_EQ(events.Terminates.size(), 5u);
    EXPECT_TRUE(events.Overlaps.empty());
    std::set<int> seen;
    for (size_t i = 0; i + 1 < events.Terminates.size(); ++i) {
        const TTerminateInfo& t = events.Terminates[i];
        EXPECT_FALSE(t.Finished) << "task " << t.TaskIndex;
        EXPECT_FALSE(t.Exception) << t.ExceptionMsg;
        seen.insert(t.TaskIndex);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(events.Terminates.back().TaskIndex, -1);
    EXPECT_TRUE(events.Terminates.back().Finished);
    // The stopped tasks wrote complete files; the others never started, and their empty
    // outputs go when the list is cleared.
    for (int i : {0, 1}) {
        String out = dir + "out" + std::to_string(i) + ".avi";
        EXPECT_GT(CountFrames(out), 0) << out;
        EXPECT_LT(CountFrames(out), 50) << out;
    }
    list->ClearTasks();
    EXPECT_FALSE(fs::exists(dir + "out2.avi"));
    EXPECT_FALSE(fs::exists(dir + "out3.avi"));
    EXPECT_TRUE(fs::exists(dir + "out0.avi"));
    // Each stopped task still made its last report.
    for (int i : {0, 1}) {
        bool last = false;
        for (const TProgressInfo& p : events.Progress) last = last || (p.TaskIndex == i && p.FileIndex == -1);
        EXPECT_TRUE(last) << "task " << i;
    }
}

TEST(TaskList, AStopWhileTasksStartAndEndGivesOneEventPerTask)
{
    // The stop comes while workers are starting, converting and ending, and starting the
    // next ones: still one event per task, then the final one.
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("mono.wav")), 0);  // ends at once: no output
    for (int i = 1; i < 8; ++i) {
        ASSERT_EQ(list->AddTask(Clip("mono.wav")), i);
        TOutputOptions o;
        ASSERT_TRUE(list->SetOutputFile(i, dir + "o" + std::to_string(i) + ".wav", &o)) << list->LastErrMsg();
    }
    list->Start(3);
    list->Pause();
    list->Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    list->Stop(false);
    ASSERT_TRUE(WaitForFinal(events));
    list->Stop(true);  // a second stop changes nothing
    std::lock_guard<std::mutex> l(events.Lock);
    ASSERT_EQ(events.Terminates.size(), 9u);
    EXPECT_TRUE(events.Overlaps.empty());
    std::set<int> seen;
    for (size_t i = 0; i < 8; ++i) EXPECT_TRUE(seen.insert(events.Terminates[i].TaskIndex).second);
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(events.Terminates.back().TaskIndex, -1);
    EXPECT_TRUE(list->Terminated());
}

TEST(TaskList, FreeingAWorkingListStopsItsTasksFirst)
{
    TGatedRun run(3, 2, [](TTaskTranscoder* T) { return bool(T->FBroken); });
    ASSERT_TRUE(run.Reached(2));
    run.List.reset();  // two tasks running, one waiting
    // The running tasks were stopped and their events delivered before the list went;
    // the waiting one never started, and no final event came.
    std::lock_guard<std::mutex> l(run.Events.Lock);
    ASSERT_EQ(run.Events.Terminates.size(), 2u);
    for (const TTerminateInfo& t : run.Events.Terminates) {
        EXPECT_NE(t.TaskIndex, 2);
        EXPECT_NE(t.TaskIndex, -1);
        EXPECT_FALSE(t.Finished);
    }
    EXPECT_FALSE(fs::exists(run.Dir + "out2.avi"));
}

TEST(TaskList, AStoppedConversionEndsItsFileProperly)
{
    // MP4 keeps its index in the trailer: without it the file would not read at all.
    TGatedRun run(1, 1, [](TTaskTranscoder* T) { return bool(T->FBroken); }, ".mp4", 1000000);
    ASSERT_TRUE(run.Reached(1));
    run.List->Stop(true);
    ASSERT_TRUE(run.Events.Final());
    ASSERT_EQ(run.Events.Terminates.size(), 2u);
    EXPECT_FALSE(run.Events.Terminates[0].Finished);
    EXPECT_FALSE(run.Events.Terminates[0].Exception) << run.Events.Terminates[0].ExceptionMsg;
    EXPECT_FALSE(run.List->Task(0)->FFinished);
    const String out = run.Dir + "out0.mp4";
    const int frames = CountFrames(out);
    EXPECT_GE(frames, 25);  // held at 1 s
    EXPECT_LT(frames, 50);
    EXPECT_GT(ProbeDouble(out, "", "format=duration"), 0.0);
    EXPECT_EQ(Probe(out, "a:0", "stream=codec_name"), "aac");
    EXPECT_NEAR(ProbeDouble(out, "a:0", "stream=duration"), frames / 25.0, 0.1);
    // The last report came after the stop, with the position reached.
    const TProgressInfo& last = run.Events.Progress.back();
    EXPECT_EQ(last.FileIndex, -1);
    EXPECT_EQ(last.FrameNumber, frames);
    EXPECT_GT(last.CurrentSize, 0);
    EXPECT_LT(last.CurrentDuration, 2000000);
}

TEST(TaskList, PauseHoldsTheRunAndResumeFinishesIt)
{
    std::atomic<bool> paused{false};
    TGatedRun run(1, 1, [&paused](TTaskTranscoder*) { return paused.load(); });
    const String& dir = run.Dir;
    TEvents& events = run.Events;
    auto& list = run.List;
    ASSERT_TRUE(run.Reached(1));
    list->Pause();
    paused = true;  // the worker leaves its report and is held at the next packet
    size_t before;
    {
        std::lock_guard<std::mutex> l(events.Lock);
        before = events.Progress.size();
    }
    // The GUI thread serves the reports meanwhile; a running task would report at every
    // packet (its clock moves on faster than the interval).
    WaitUntil([] { return false; }, 0.1);
    {
        std::lock_guard<std::mutex> l(events.Lock);
        EXPECT_LE(events.Progress.size(), before + 1);
    }
    EXPECT_TRUE(list->Task(0)->Paused());
    EXPECT_FALSE(events.Final());
    list->Resume();
    ASSERT_TRUE(WaitForFinal(events));
    EXPECT_TRUE(events.Terminates[0].Finished);
    EXPECT_GT(events.Progress.size(), before + 1);
    EXPECT_EQ(CountFrames(dir + "out0.avi"), 50);
}

TEST(TaskList, ProgressReportsAreSpacedByTheInterval)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    list->SetProgressInterval(50);
    EXPECT_EQ(list->ProgressInterval(), 100);
    list->SetProgressInterval(300);
    auto now = std::make_shared<std::atomic<int64_t>>(0);
    list->Task(0)->Clock = [now] { return now->fetch_add(40000) + 40000; };
    std::vector<int64_t> times;
    list->OnProgress = [&](TObject*, PProgressInfo AInfo) {
        if (AInfo->FileIndex >= 0) times.push_back(now->load());
    };
    list->Start(0);
    ASSERT_GE(times.size(), 3u);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i] - times[i - 1], 300000);
}

TEST(TaskList, GuardsOfAWorkingList)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    EXPECT_EQ(list->Version(), "3.3");
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    list->Start(0);
    ASSERT_TRUE(list->Terminated());
    auto expectGuard = [](const std::function<void()>& AStep, const String& AMessage) {
        transcodertest::ExpectFails(AStep, AMessage);
    };
    expectGuard([&] { list->AddTask(Clip("clip.avi")); }, "Cannot AddTask while working.");
    expectGuard([&] { list->AddInputFile(0, Clip("clip.avi")); }, "Cannot AddInputFile while working.");
    expectGuard([&] { list->SetOutputFile(0, dir + "x.avi"); }, "Cannot SetOutputFile while working.");
    expectGuard([&] { list->Exchange(0, 0); }, "Cannot Exchange while working.");
    expectGuard([&] { list->RemoveTask(0); }, "Cannot RemoveTask while working.");
    expectGuard([&] { list->Start(1); }, "Cannot StartTask while working.");
    list->ClearTasks();
    EXPECT_FALSE(list->Working());
    EXPECT_EQ(list->TasksCount(), 0);
    EXPECT_EQ(list->AddTask(Clip("clip.avi")), 0);
}

TEST(TaskList, ClearingWhileTasksRunIsRefused)
{
    TGatedRun run(1, 1, [](TTaskTranscoder* T) { return bool(T->FBroken); });
    ASSERT_TRUE(run.Reached(1));
    transcodertest::ExpectFails([&] { run.List->ClearTasks(); }, "Cannot ClearTasks while working.");
    run.List->Stop(true);
    EXPECT_NO_THROW(run.List->ClearTasks());
}

TEST(TaskList, OutputLimitAndOpenFailures)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
    for (int i = 0; i < 20; ++i) {
        TOutputOptions o = AviOptions(200000);
        ASSERT_TRUE(list->SetOutputFile(0, dir + "o" + std::to_string(i) + ".avi", &o)) << i << list->LastErrMsg();
    }
    TOutputOptions o = AviOptions(200000);
    EXPECT_FALSE(list->SetOutputFile(0, dir + "o20.avi", &o));
    EXPECT_EQ(list->LastErrMsg(), "max output files 20 reached");
    // Open failures come back with the transcoder's text.
    EXPECT_EQ(list->AddTask(dir + "missing.avi"), -1);
    EXPECT_NE(list->LastErrMsg().find("missing.avi"), String::npos) << list->LastErrMsg();
    TOutputOptions bad = AviOptions(200000);
    bad.FrameSize = "abc";
    EXPECT_FALSE(list->SetOutputFile(0, dir + "bad.avi", &bad));
    EXPECT_FALSE(list->LastErrMsg().empty());
    // The probe of input 0 reads the task's input without opening it again.
    ASSERT_NE(list->GetAVProbes(0, 0), nullptr);
    EXPECT_EQ(list->GetAVProbes(0, 0)->VideoStreamCount(), 1);
    EXPECT_EQ(list->GetAVProbes(0, 1), nullptr);
    // Tasks that never ran leave no empty outputs behind.
    list->ClearTasks();
    EXPECT_FALSE(fs::exists(dir + "o0.avi"));
    EXPECT_FALSE(fs::exists(dir + "o19.avi"));
}

TEST(TaskList, AddingATaskWithoutTheLibrariesFailsWithTheirName)
{
    if (FFLoader().Loaded(TaskLibraries)) GTEST_SKIP() << "the libraries were loaded by an earlier test";
    TTaskList list;
    EXPECT_EQ(list.AddTask(Clip("clip.avi")), -1);
    EXPECT_EQ(list.LastErrMsg(), "LibAVCodec not loaded.");
}

TEST(TaskList, WorkersRunAtTheThreadPriority)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    list->SetThreadPriority(tpLowest);
    list->SetTriggerEventInMainThread(false);  // the handler runs on the worker
    std::atomic<int> nice{-100};
    list->OnProgress = [&](TObject*, PProgressInfo) {
        errno = 0;
        nice = getpriority(PRIO_PROCESS, id_t(GetCurrentThreadId()));
    };
    list->Start(1);
    ASSERT_TRUE(WaitForFinal(events));
    EXPECT_EQ(nice.load(), 10);
}

TEST(TaskList, EachTaskHasItsShareOfTheCoresForItsCodecs)
{
    struct {
        int Cores, AtOnce, PerTask;
    } cases[] = {{8, 1, 0}, {8, 2, 4}, {8, 4, 2}, {8, 8, 1}, {8, 19, 1}, {6, 4, 1}, {1, 1, 1}, {8, 0, 0}, {0, 1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CodecThreadsPerTask(c.Cores, c.AtOnce), c.PerTask) << c.Cores << " cores, " << c.AtOnce << " at once";
    EXPECT_GE(MachineCores(), 1);
}

namespace {
// The threads of this process whose nice value is ANice.
int ThreadsAtNice(int ANice)
{
    int count = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/self/task", ec)) {
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, id_t(std::stoi(entry.path().filename().string())));
        if (errno == 0 && nice == ANice) ++count;
    }
    return count;
}
}  // namespace

TEST(TaskList, ALoneTaskDecodesAndEncodesOnAllCoresAtTheJobPriority)
{
    // Frame-threaded decoders (MPEG-4, H.264) and slice- or frame-threaded encoders (MPEG-4,
    // x264); the second list may run four tasks at once but has only one.
    struct {
        const char *Input, *Ext, *VideoCodec, *AudioCodec, *AudioOut;
        int Threads;
    } cases[] = {{"clip.avi", ".avi", "mpeg4", "libmp3lame", "mp3", 1}, {"gop_full.ts", ".mp4", "libx264", "aac", "", 4}};
    const int cores = MachineCores();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Input);
        const String dir = enginetest::ScratchFolder();
        TEvents events;
        auto list = NewTaskList(events);
        ASSERT_EQ(list->AddTask(Clip(c.Input)), 0);
        TOutputOptions o = AviOptions(200000);
        o.VideoCodec = c.VideoCodec;
        o.AudioCodec = c.AudioCodec;
        const String out = dir + "out" + c.Ext;
        ASSERT_TRUE(list->SetOutputFile(0, out, &o));
        list->SetThreadPriority(tpLower);  // nice 5: the conversion's threads stand apart
        list->SetTriggerEventInMainThread(false);
        list->SetProgressInterval(100);
        list->Task(0)->Clock = SteppingClock(150000);  // a report at every packet
        std::atomic<int> most{0};
        list->OnProgress = [&](TObject*, PProgressInfo AInfo) {
            if (AInfo->FileIndex < 0) return;
            const int n = ThreadsAtNice(5);
            if (n > most) most = n;
        };
        list->Start(c.Threads);
        ASSERT_TRUE(WaitForFinal(events));
        ASSERT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
        // The worker and at least one decoding thread per core, all at the job's priority.
        if (cores > 1) {
            EXPECT_GE(most.load(), 1 + cores);
        }
        EXPECT_EQ(CountFrames(out), 50);
        EXPECT_EQ(Probe(out, "v:0", "stream=codec_name"), c.VideoCodec == String("libx264") ? "h264" : "mpeg4");
        EXPECT_EQ(Probe(out, "a:0", "stream=codec_name"), c.AudioOut);
    }
}

TEST(TaskList, ClearingWaitsForTheTerminateHandlersStillToRun)
{
    // The handler of task 0 still runs when the host clears the list: the task it reads
    // must still be there.
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("mono.wav"), dir, ".mp4"), 0);
    std::atomic<bool> entered{false}, clearing{false};
    std::atomic<int> countSeen{-1};
    std::atomic<bool> finishedSeen{false};
    auto record = list->OnTerminate;
    list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
        if (I.TaskIndex == 0) {
            entered = true;
            WaitUntil([&] { return clearing.load(); }, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            countSeen = list->TasksCount();
            if (countSeen > 0) finishedSeen = bool(list->Task(0)->FFinished);
        }
        record(S, I);
    };
    list->Start(1);
    ASSERT_TRUE(WaitUntil([&] { return entered.load() && list->Terminated(); }));
    clearing = true;
    list->ClearTasks();
    EXPECT_EQ(countSeen.load(), 1);
    EXPECT_TRUE(finishedSeen.load());
    EXPECT_EQ(list->TasksCount(), 0);
}

TEST(TaskList, StopAndClearTasksFromInsideTheTerminateHandler)
{
    // Task 0's handler stops the run (the others never start, and terminate unfinished);
    // the final event's handler clears the list.  Run on worker threads and in the
    // caller's thread: the events of the stop follow once the handler has returned.
    for (bool threads : {true, false}) {
        const String dir = enginetest::ScratchFolder();
        TEvents events;
        auto list = NewTaskList(events);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(AddAviTask(*list, Clip("mono.wav"), dir, ".mp4"), i);
        auto record = list->OnTerminate;
        String clearError;
        list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
            if (I.TaskIndex == -1) {
                try {
                    list->ClearTasks();
                } catch (const Exception& E) {
                    clearError = E.Message();
                }
            }
            // Recorded after the clearing: the test thread, woken by the final event,
            // touches the list only once the handler is done with it.
            record(S, I);
            if (I.TaskIndex == 0) list->Stop(true);  // the others never start
        };
        list->Start(threads ? 1 : 0);
        ASSERT_TRUE(WaitForFinal(events)) << threads;
        list->Stop(true);
        EXPECT_TRUE(clearError.empty()) << clearError;
        EXPECT_EQ(list->TasksCount(), 0) << threads;
        std::lock_guard<std::mutex> l(events.Lock);
        ASSERT_EQ(events.Terminates.size(), 4u) << threads;
        EXPECT_TRUE(events.Overlaps.empty()) << "a handler ran inside another, threads " << threads;
        EXPECT_TRUE(events.Terminates[0].Finished);
        for (size_t i = 1; i < 3; ++i) EXPECT_FALSE(events.Terminates[i].Finished) << i;
        EXPECT_EQ(events.Terminates.back().TaskIndex, -1);
    }
}

TEST(TaskList, ClearTasksFromInsideTheFinalHandlerInTheCallersThread)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(AddAviTask(*list, Clip("mono.wav"), dir, ".mp4"), i);
    auto record = list->OnTerminate;
    int countInFinal = -1;
    list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
        record(S, I);
        if (I.TaskIndex == -1) {
            list->ClearTasks();
            countInFinal = list->TasksCount();
        }
    };
    list->Start(0);
    EXPECT_EQ(countInFinal, 0);
    ASSERT_EQ(events.Terminates.size(), 3u);
    EXPECT_TRUE(events.Terminates[0].Finished);
    EXPECT_TRUE(events.Terminates[1].Finished);
    EXPECT_EQ(list->TasksCount(), 0);
}

TEST(TaskList, TasksFreedAfterTheLibrariesWereUnloadedGoQuietly)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(AddAviTask(*list, Clip("clip.avi"), dir), 0);
    list->Task(0)->CloseFiles();  // nothing of FFmpeg's is left to free without its libraries
    FFLoader().Unload(PlayerLibraries);
    EXPECT_NO_THROW(list.reset());
    EXPECT_TRUE(FFLoader().Load(PlayerLibraries)) << FFLoader().LastErrMsg();
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(TaskList, ExchangeAndRemoveTaskChangeWhatRunsAndUnderWhichIndex)
{
    const String dir = enginetest::ScratchFolder();
    TEvents events;
    auto list = NewTaskList(events);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(AddAviTask(*list, Clip("mono.wav"), dir, ".mp4"), i);
    list->Exchange(0, 2);  // out2, out1, out0
    list->RemoveTask(1);   // out2, out0; out1 never written
    ASSERT_EQ(list->TasksCount(), 2);
    EXPECT_EQ(list->Task(0)->OutputOptions(0)->FileName, dir + "out2.mp4");
    EXPECT_EQ(list->Task(1)->OutputOptions(0)->FileName, dir + "out0.mp4");
    EXPECT_THROW(list->Exchange(0, 2), EListError);
    EXPECT_THROW(list->RemoveTask(2), EListError);
    TTaskTranscoder* first = list->Task(0);
    std::vector<bool> firstAtIndex0;
    auto record = list->OnTerminate;
    list->OnTerminate = [&](TObject* S, const TTerminateInfo& I) {
        if (I.TaskIndex == 0) firstAtIndex0.push_back(list->Task(0) == first);
        record(S, I);
    };
    list->Start(1);
    ASSERT_TRUE(WaitForFinal(events));
    ASSERT_EQ(events.Terminates.size(), 3u);
    EXPECT_EQ(events.Terminates[0].TaskIndex, 0);
    EXPECT_EQ(events.Terminates[1].TaskIndex, 1);
    EXPECT_EQ(firstAtIndex0, std::vector<bool>{true});
    for (size_t i = 0; i < 2; ++i) EXPECT_TRUE(events.Terminates[i].Finished) << events.Terminates[i].ExceptionMsg;
    EXPECT_TRUE(fs::exists(dir + "out2.mp4"));
    EXPECT_TRUE(fs::exists(dir + "out0.mp4"));
    EXPECT_FALSE(fs::exists(dir + "out1.mp4"));
    // The progress reports of each task carry its index after the changes.
    std::lock_guard<std::mutex> l(events.Lock);
    std::set<int> reported;
    for (const TProgressInfo& p : events.Progress) reported.insert(p.TaskIndex);
    EXPECT_EQ(reported, (std::set<int>{0, 1}));
}
