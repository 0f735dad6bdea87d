// The task-list component: a batch of conversion tasks, each one transcoder with its
// inputs, outputs, their option records and one probe per input.  Started in thread mode,
// every task runs on its own worker thread, at most a given number at once, the next one
// starting as one ends; otherwise the tasks run one after another in the caller's thread.
// The transcoders' callbacks become the component's progress, preview-bitmap, custom-hook
// and terminate events (once per task, then once more with task index -1).
#pragma once

#include "engine/probe/AVProbe.h"
#include "engine/libs/FFBaseComponent.h"
#include "engine/transcode/FFmpeg.h"
#include "engine/transcode/TaskOptions.h"
#include "platform/system/Classes.h"
#include "platform/system/Threads.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TBitmap;
class TStream;

struct TProgressInfo {
    int32_t TaskIndex = 0;
    int32_t FileIndex = 0;       // the input the last packet came from; -1 in a task's last report
    int32_t FrameNumber = -1;    // frames written to the first video output; -1 without video
    int32_t FPS = -1;            // frames per second since the start; -1 without video
    float Quality = -1;          // quantiser of the last coded picture; -1 when copying or without video
    float BitRate = 0;           // kbit/s of the output so far
    int64_t CurrentSize = 0;     // bytes of the first output file
    int64_t CurrentDuration = 0; // microseconds of the position reached
    int64_t TotalDuration = -1;  // microseconds to convert; -1 when open
};
using PProgressInfo = TProgressInfo*;

// The processors this process may run on (at least 1).
int MachineCores();
// The threads each codec of a task opens with when ATasksAtOnce tasks share ACores: the
// task's share of the cores, at least 1; 0 when the task has all of them, which leaves each
// codec to size its threads to the machine as it prefers (a frame-threaded decoder one
// more than the cores, x264 half as many again, to keep every core busy).
int CodecThreadsPerTask(int ACores, int ATasksAtOnce);

struct TTerminateInfo {
    int32_t TaskIndex = 0;  // -1 for the final event
    bool Finished = false;  // the conversion ran to its end
    bool Exception = false; // it ended by an error
    String ExceptionMsg;
};

struct THookInfo {
    int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr;  // the picture as a 24-bit bitmap
    int32_t FrameNumber = 0;
    int64_t PTS = 0;            // microseconds
    bool Update = true;         // in/out: write the bitmap back into the picture
    bool StopHook = false;      // in/out: no more calls for this task
};
using PHookInfo = THookInfo*;

struct TPreviewInfo {
    int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;
};

using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TCustomHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;

// One task: a transcoder with a probe and option records per input and output slot.
class TTaskTranscoder : public TCustomFFmpeg {
public:
    explicit TTaskTranscoder(int AMaxFiles);
    ~TTaskTranscoder() override;

    // Stops a running conversion and waits until it, and a termination on its own thread,
    // have ended.
    void EndConversion();
    // The probe of input AIndex (made on first use when ACreate), else null.
    TAVProbe* AVProbe(int AIndex, bool ACreate = false);
    // The records of a slot, null while unused.
    TInputOptions* InputOptions(int AIndex) const { return FInputOptions.at(size_t(AIndex)).get(); }
    TOutputOptions* OutputOptions(int AIndex) const { return FOutputOptions.at(size_t(AIndex)).get(); }
    void SetInputOptions(int AIndex, const TInputOptions& AOptions);
    void SetOutputOptions(int AIndex, const TOutputOptions& AOptions);
    void ResetInputSlot(int AIndex);
    void ResetOutputSlot(int AIndex);

protected:
    // The probes lose the input contexts they adopted before the transcoder closes them.
    void BeforeCloseInputs() override;

private:
    std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
};

// The tasks of a component; owns them.
class TTaskTranscoderList : public TObject {
public:
    ~TTaskTranscoderList() override;
    int Add(TTaskTranscoder* ATask);
    // Raises EListError for an index outside the list.
    TTaskTranscoder* Items(int AIndex) const;
    int IndexOf(const TTaskTranscoder* ATask) const;
    int Count() const;
    void Exchange(int AIndex1, int AIndex2);
    void Delete(int AIndex);
    void Clear();
    // Ends every conversion (and its termination); the tasks stay.
    void EndAll();
    void PauseAll();
    void ResumeAll();
    void TerminateAll(bool AWaitFor);
    void SetPreview(bool AValue);
    void SetPreviewBitmap(bool AValue);

private:
    TList FList;
};

class TCustomTaskList;

namespace TaskList {
// Delivers the component's terminate events in thread mode: one thread at a time takes
// the events in the order they were raised, so that handlers never overlap and the final
// event comes after every task's own; it ends when none is waiting.
class TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomTaskList* AOwner);

protected:
    void Execute() override;

private:
    TCustomTaskList* FOwner;
};
}  // namespace TaskList

class TCustomTaskList : public TFFBaseComponent {
public:
    explicit TCustomTaskList(TComponent* AOwner = nullptr);
    ~TCustomTaskList() override;

    bool LoadAVLib(const TPathFileName& APath);

    // Tasks
    int AddTask(const String& AFileName, PInputOptions AOptions = nullptr);
    int AddTask(const String& AFileName, const String& AExtOptions);
    int AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions = nullptr);
    bool AddInputFile(int ATaskIndex, const String& AFileName, PInputOptions AOptions = nullptr);
    bool AddInputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions);
    bool SetOutputFile(int ATaskIndex, const String& AFileName, POutputOptions AOptions = nullptr);
    bool SetOutputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions);
    bool SetOutputStream(int ATaskIndex, TStream* AStream, const String& APrivateData, POutputOptions AOptions = nullptr);
    void ClearTasks();
    void Exchange(int ATaskIndex1, int ATaskIndex2);
    void RemoveTask(int ATaskIndex);

    // Running
    void Start(int AThreadCount);
    void Pause();
    void Resume();
    void Stop(bool AWaitFor);

    // Properties
    const String& About() const { return FAbout; }
    void SetAbout(const String& AValue) { FAbout = AValue; }
    String Version() const { return "3.3"; }
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    TAVProbe* GetAVProbes(int ATaskIndex, int AFileIndex);
    TTaskTranscoder* Task(int ATaskIndex) const { return FFFmpegList.Items(ATaskIndex); }
    int TasksCount() const { return FFFmpegList.Count(); }
    int CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(int AValue) { FCustomMaxFiles = AValue; }
    bool Terminated() const { return FTerminated; }
    bool Working() const { return FWorking; }
    void* UserData() const { return FData; }
    void SetUserData(void* AValue) { FData = AValue; }
    int Verbose() const { return FVerbose; }
    void SetVerbose(int AValue) { FVerbose = AValue; }
    bool Preview() const { return FPreview; }
    void SetPreview(bool AValue);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool AValue);
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int AValue) { FProgressInterval = AValue <= 100 ? 100 : AValue; }
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority AValue) { FThreadPriority = AValue; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }

    TCustomHookEvent OnCustomHook;
    TPreviewBitmapEvent OnPreviewBitmap;
    TProgressEvent OnProgress;
    TTerminateEvent OnTerminate;

protected:
    friend class TaskList::TDoTerminateThread;

    virtual void DoCustomHook(TTaskTranscoder* ATask, TObject* ABitmap, int AFrameNumber, int64_t APTS, bool& AUpdate,
                              bool& AStopHook);
    virtual void DoPreviewBitmap(TTaskTranscoder* ATask, TObject* ABitmap, int AFrameNumber, int64_t APTS);
    virtual void DoProgress(TTaskTranscoder* ATask, int AFileIndex, int AFrameNumber, int AFPS, float AQuality, float ABitRate,
                            int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration);
    virtual void DoTerminate(TTaskTranscoder* ATask);

private:
    void CheckWorking(const char* AOperation) const;
    TTaskTranscoder* NewTask();
    void StartNextTask();
    // Queues an event; true when nobody delivers the queue yet and the caller is to see
    // to it (a delivery thread in thread mode, else its own thread).
    bool QueueTerminate(const TTerminateInfo& AInfo);
    // Delivers the queued events in order until none is left.
    void DeliverQueued();
    // The delivery thread's next event; false (and the thread marked gone) when none waits.
    bool NextTerminate(TTerminateInfo& AInfo);
    // Waits until every queued terminate event has been delivered.
    void WaitForDeliveries();

    String FAbout;
    void* FData = nullptr;
    int FCustomMaxFiles = 20;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    int FProgressInterval = 500;
    TThreadPriority FThreadPriority = tpNormal;
    bool FTriggerEventInMainThread = true;
    int FVerbose = 1;
    THookInfo FHookInfo;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;
    TPreviewInfo FPreviewInfo;
    TCriticalSection FHookLock, FPreviewLock, FProgressLock, FTerminateLock;
    std::unique_ptr<TAVProbe> FAVProbe;
    TTaskTranscoderList FFFmpegList;
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    int FPendingTasks = 0;
    int FCodecThreads = 1;  // of each task of this run
    // Read by the host on any thread while a worker may set them.
    std::atomic<bool> FTerminated{false};
    bool FThreadMode = false;
    std::atomic<bool> FWorking{false};

    // The terminate events waiting for the delivery thread.
    std::mutex FDeliveryLock;
    std::condition_variable FDeliveryCond;
    std::deque<TTerminateInfo> FDeliveries;
    bool FDelivering = false;            // a delivery thread runs
    uint32_t FDeliveryThreadID = 0;
};

// The component as the host places it.
class TTaskList : public TCustomTaskList {
public:
    using TCustomTaskList::TCustomTaskList;
};
