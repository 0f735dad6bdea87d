// The task-list component, its tasks and the delivery of its terminate events.
#include "engine/tasks/TaskList.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cstdint>
#include <thread>

#include <sched.h>

int MachineCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    return std::max(1, int(std::thread::hardware_concurrency()));
}

int CodecThreadsPerTask(int ACores, int ATasksAtOnce)
{
    if (ATasksAtOnce <= 1 && ACores > 1) return 0;
    return std::max(1, ACores / std::max(1, ATasksAtOnce));
}

// ---------------------------------------------------------------------------------
// TTaskTranscoder

TTaskTranscoder::TTaskTranscoder(int AMaxFiles)
    : TCustomFFmpeg(AMaxFiles), FAVProbes(size_t(AMaxFiles)), FInputOptions(size_t(AMaxFiles)),
      FOutputOptions(size_t(AMaxFiles))
{
}

TTaskTranscoder::~TTaskTranscoder()
{
    // The conversion ends before the probes go: it may still be closing its inputs.
    EndConversion();
    for (auto& p : FAVProbes)
        if (p) p->SetFileHandle(nullptr);
    FAVProbes.clear();
    FInputOptions.clear();
    FOutputOptions.clear();
}

void TTaskTranscoder::EndConversion()
{
    Stop(true);
    // A handler the termination calls may be waiting for the GUI thread.
    while (FTermEvent.WaitFor(20) != wrSignaled)
        if (IsMainThread()) CheckSynchronize();
}

TAVProbe* TTaskTranscoder::AVProbe(int AIndex, bool ACreate)
{
    if (AIndex < 0 || AIndex >= int(FAVProbes.size())) return nullptr;
    if (!FAVProbes[size_t(AIndex)] && ACreate) FAVProbes[size_t(AIndex)] = std::make_unique<TAVProbe>(nullptr);
    return FAVProbes[size_t(AIndex)].get();
}

void TTaskTranscoder::SetInputOptions(int AIndex, const TInputOptions& AOptions)
{
    FInputOptions.at(size_t(AIndex)) = std::make_unique<TInputOptions>(AOptions);
}

void TTaskTranscoder::SetOutputOptions(int AIndex, const TOutputOptions& AOptions)
{
    FOutputOptions.at(size_t(AIndex)) = std::make_unique<TOutputOptions>(AOptions);
}

void TTaskTranscoder::ResetInputSlot(int AIndex)
{
    if (auto& slot = FInputOptions.at(size_t(AIndex))) *slot = TInputOptions();
}

void TTaskTranscoder::ResetOutputSlot(int AIndex)
{
    if (auto& slot = FOutputOptions.at(size_t(AIndex))) *slot = TOutputOptions();
}

void TTaskTranscoder::BeforeCloseInputs()
{
    for (auto& p : FAVProbes)
        if (p) p->SetFileHandle(nullptr);
}

// ---------------------------------------------------------------------------------
// TTaskTranscoderList

TTaskTranscoderList::~TTaskTranscoderList() { Clear(); }

int TTaskTranscoderList::Add(TTaskTranscoder* ATask) { return FList.Add(ATask); }
TTaskTranscoder* TTaskTranscoderList::Items(int AIndex) const { return static_cast<TTaskTranscoder*>(FList.Items(AIndex)); }
int TTaskTranscoderList::IndexOf(const TTaskTranscoder* ATask) const { return FList.IndexOf(const_cast<TTaskTranscoder*>(ATask)); }
int TTaskTranscoderList::Count() const { return FList.Count(); }
void TTaskTranscoderList::Exchange(int AIndex1, int AIndex2) { FList.Exchange(AIndex1, AIndex2); }

void TTaskTranscoderList::Delete(int AIndex)
{
    TTaskTranscoder* task = Items(AIndex);
    delete task;  // stops its conversion while it is still in the list
    FList.Delete(AIndex);
}

void TTaskTranscoderList::EndAll()
{
    for (int i = 0; i < FList.Count(); ++i) Items(i)->EndConversion();
}

void TTaskTranscoderList::Clear()
{
    // Every conversion ends first (a termination still running looks its task up in the
    // list), then the tasks go.
    EndAll();
    for (int i = 0; i < FList.Count(); ++i) {
        delete Items(i);
        FList.SetItems(i, nullptr);
    }
    FList.Clear();
}

void TTaskTranscoderList::PauseAll()
{
    // Here and below: a slot is empty while the list is being cleared, and a handler
    // run by that clearing may reach these loops.
    for (int i = 0; i < Count(); ++i)
        if (TTaskTranscoder* task = Items(i)) task->Pause();
}

void TTaskTranscoderList::ResumeAll()
{
    for (int i = 0; i < Count(); ++i)
        if (TTaskTranscoder* task = Items(i)) task->Resume();
}

void TTaskTranscoderList::TerminateAll(bool AWaitFor)
{
    for (int i = 0; i < Count(); ++i)
        if (TTaskTranscoder* task = Items(i)) task->Terminate(AWaitFor);
}

void TTaskTranscoderList::SetPreview(bool AValue)
{
    for (int i = 0; i < Count(); ++i) {
        TPostHooks hooks = Items(i)->PostHooks();
        Items(i)->SetPostHooks(AValue ? hooks + TPostHooks{phPreview} : hooks - TPostHooks{phPreview});
    }
}

void TTaskTranscoderList::SetPreviewBitmap(bool AValue)
{
    for (int i = 0; i < Count(); ++i) {
        TPostHooks hooks = Items(i)->PostHooks();
        Items(i)->SetPostHooks(AValue ? hooks + TPostHooks{phBitmap} : hooks - TPostHooks{phBitmap});
    }
}

// ---------------------------------------------------------------------------------
// Terminate event delivery

TaskList::TDoTerminateThread::TDoTerminateThread(TCustomTaskList* AOwner) : TThread(true), FOwner(AOwner)
{
    SetFreeOnTerminate(true);
}

void TaskList::TDoTerminateThread::Execute() { FOwner->DeliverQueued(); }

bool TCustomTaskList::QueueTerminate(const TTerminateInfo& AInfo)
{
    std::lock_guard<std::mutex> lock(FDeliveryLock);
    FDeliveries.push_back(AInfo);
    if (FDelivering) return false;
    FDelivering = true;
    return true;
}

void TCustomTaskList::DeliverQueued()
{
    TTerminateInfo info;
    try {
        while (NextTerminate(info)) {
            if (OnTerminate) OnTerminate(this, info);
        }
    } catch (...) {
        // The events still queued go with the next one.
        std::lock_guard<std::mutex> lock(FDeliveryLock);
        FDelivering = false;
        FDeliveryThreadID = 0;
        FDeliveryCond.notify_all();
        throw;
    }
}

bool TCustomTaskList::NextTerminate(TTerminateInfo& AInfo)
{
    std::lock_guard<std::mutex> lock(FDeliveryLock);
    FDeliveryThreadID = GetCurrentThreadId();
    if (FDeliveries.empty()) {
        FDelivering = false;
        FDeliveryThreadID = 0;
        FDeliveryCond.notify_all();
        return false;
    }
    AInfo = std::move(FDeliveries.front());
    FDeliveries.pop_front();
    return true;
}

void TCustomTaskList::WaitForDeliveries()
{
    std::unique_lock<std::mutex> lock(FDeliveryLock);
    // A handler that stops the component must not wait for itself.
    if (FDeliveryThreadID != 0 && FDeliveryThreadID == GetCurrentThreadId()) return;
    while (FDelivering) {
        if (IsMainThread()) {
            FDeliveryCond.wait_for(lock, std::chrono::milliseconds(10));
            lock.unlock();
            CheckSynchronize();
            PumpMessages();
            lock.lock();
        } else {
            FDeliveryCond.wait(lock);
        }
    }
}

// ---------------------------------------------------------------------------------
// The component

TCustomTaskList::TCustomTaskList(TComponent* AOwner)
    : TFFBaseComponent(AOwner, TaskLibraries), FAVProbe(std::make_unique<TAVProbe>(nullptr))
{
}

TCustomTaskList::~TCustomTaskList()
{
    {
        TCriticalSectionGuard lock(FTerminateLock);
        FPendingTasks = 0;  // no task starts while the list goes
    }
    // The terminate handlers still to run may read their tasks: the tasks go after them.
    FFFmpegList.EndAll();
    WaitForDeliveries();
    FFFmpegList.Clear();
    for (TCriticalSection* lock : {&FHookLock, &FPreviewLock, &FProgressLock, &FTerminateLock}) {
        lock->Enter();
        lock->Leave();
    }
}

bool TCustomTaskList::LoadAVLib(const TPathFileName& APath)
{
    if (ComponentState().Contains(csDesigning)) return true;
    return TFFBaseComponent::LoadAVLib(APath);
}

void TCustomTaskList::CheckWorking(const char* AOperation) const
{
    if (FWorking) throw Exception(Format("Cannot %s while working.", String(AOperation)));
}

TTaskTranscoder* TCustomTaskList::NewTask()
{
    auto* task = new TTaskTranscoder(FCustomMaxFiles);
    task->Reset();
    task->SetVerbose(FVerbose);
    TPostHooks hooks;
    if (FPreview) hooks.Include(phPreview);
    if (FPreviewBitmap) hooks.Include(phBitmap);
    task->SetPostHooks(hooks);
    task->FOnPreviewBitmap = [this, task](TObject*, TObject* ABitmap, int AFrameNumber, int64_t APTS) {
        DoPreviewBitmap(task, ABitmap, AFrameNumber, APTS);
    };
    return task;
}

int TCustomTaskList::AddTask(const String& AFileName, PInputOptions AOptions)
{
    CheckWorking("AddTask");
    // Without its libraries a task cannot even be prepared.
    static const std::pair<TLibrary, const char*> Needed[] = {
        {avCodec, "LibAVCodec not loaded."},   {avFilter, "LibAVFilter not loaded."},
        {avFormat, "LibAVFormat not loaded."}, {avUtil, "LibAVUtil not loaded."},
        {swScale, "LibSwScale not loaded."},   {swResample, "LibSwResample not loaded."}};
    for (const auto& [lib, text] : Needed)
        if (!FFLoader().Loaded(lib)) {
            FLastErrMsg = text;
            return -1;
        }
    std::unique_ptr<TTaskTranscoder> task;
    try {
        task.reset(NewTask());
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            ApplyInputOptions(*task, *AOptions);
            task->SetInputOptions(0, *AOptions);
        }
        if (!task->OpenInputFile(AFileName)) {
            FLastErrMsg = task->LastErrMsg();
            return -1;
        }
        task->AVProbe(0, true)->SetFileHandle(task->Finput_files[0]);
        TTaskTranscoder* t = task.get();
        t->FOnProgress = [this, t](TObject*, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                                   float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                                   int64_t ATotalDuration) {
            DoProgress(t, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize, ACurrentDuration,
                       ATotalDuration);
        };
        t->FOnTerminate = [this, t](TObject*) { DoTerminate(t); };
        return FFFmpegList.Add(task.release());
    } catch (const Exception& E) {
        FLastErrMsg = E.Message();
        return -1;
    }
}

int TCustomTaskList::AddTask(const String& AFileName, const String& AExtOptions)
{
    TInputOptions options = InputOptionsFromText(AExtOptions);
    return AddTask(AFileName, &options);
}

int TCustomTaskList::AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions)
{
    return AddTask(Format("stream:%d:%s", int64_t(reinterpret_cast<intptr_t>(AStream)), APrivateData), AOptions);
}

bool TCustomTaskList::AddInputFile(int ATaskIndex, const String& AFileName, PInputOptions AOptions)
{
    CheckWorking("AddInputFile");
    TTaskTranscoder* task = FFFmpegList.Items(ATaskIndex);
    if (task->Fnb_input_files >= FCustomMaxFiles) {
        FLastErrMsg = Format("max input files %d reached", FCustomMaxFiles);
        return false;
    }
    const int slot = task->Fnb_input_files;
    try {
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            ApplyInputOptions(*task, *AOptions);
            task->SetInputOptions(slot, *AOptions);
        } else {
            task->ResetInputSlot(slot);
        }
        if (!task->OpenInputFile(AFileName)) {
            task->ResetInputSlot(slot);
            FLastErrMsg = task->LastErrMsg();
            return false;
        }
        task->AVProbe(slot, true)->SetFileHandle(task->Finput_files[slot]);
        return true;
    } catch (const Exception& E) {
        FLastErrMsg = E.Message();
        return false;
    }
}

bool TCustomTaskList::AddInputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions)
{
    TInputOptions options = InputOptionsFromText(AExtOptions);
    return AddInputFile(ATaskIndex, AFileName, &options);
}

bool TCustomTaskList::SetOutputFile(int ATaskIndex, const String& AFileName, POutputOptions AOptions)
{
    CheckWorking("SetOutputFile");
    TTaskTranscoder* task = FFFmpegList.Items(ATaskIndex);
    if (task->Fnb_output_files >= FCustomMaxFiles) {
        FLastErrMsg = Format("max output files %d reached", FCustomMaxFiles);
        return false;
    }
    const int slot = task->Fnb_output_files;
    try {
        TCodecDefaults defaults;
        bool join = false;
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            task->SetOutputOptions(slot, *AOptions);
            ApplyOutputRecord(*task, *AOptions, defaults);
            if (AOptions->CustomHook)
                task->FOnCustomHook = [this, task](TObject*, TObject* ABitmap, int AFrameNumber, int64_t APTS,
                                                   bool& AUpdate, bool& AStopHook) {
                    DoCustomHook(task, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
                };
            join = AOptions->Join;
        } else {
            task->ResetOutputSlot(slot);
        }
        if (task->OpenOutputFile(AFileName, join) < 0) {
            FLastErrMsg = task->LastErrMsg();
            task->ResetOutputSlot(slot);
            return false;
        }
        if (AOptions) ApplyNewStreams(*task, AOptions->ExtOptions, defaults);
        return true;
    } catch (const Exception& E) {
        FLastErrMsg = E.Message();
        return false;
    }
}

bool TCustomTaskList::SetOutputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions)
{
    TOutputOptions options = OutputOptionsFromText(AExtOptions);
    return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomTaskList::SetOutputStream(int ATaskIndex, TStream* AStream, const String& APrivateData,
                                       POutputOptions AOptions)
{
    return SetOutputFile(ATaskIndex, Format("stream:%d:%s", int64_t(reinterpret_cast<intptr_t>(AStream)), APrivateData),
                         AOptions);
}

void TCustomTaskList::ClearTasks()
{
    if (FWorking && !FTerminated) throw Exception("Cannot ClearTasks while working.");
    // The terminate handlers still to run may read their tasks: the tasks go after them.
    FFFmpegList.EndAll();
    WaitForDeliveries();
    FFFmpegList.Clear();
    FLastErrMsg.clear();
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FTerminated = false;
    FThreadMode = false;
    FWorking = false;
}

void TCustomTaskList::Exchange(int ATaskIndex1, int ATaskIndex2)
{
    CheckWorking("Exchange");
    FFFmpegList.Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomTaskList::RemoveTask(int ATaskIndex)
{
    CheckWorking("RemoveTask");
    FFFmpegList.Delete(ATaskIndex);
}

TAVProbe* TCustomTaskList::GetAVProbes(int ATaskIndex, int AFileIndex)
{
    return FFFmpegList.Items(ATaskIndex)->AVProbe(AFileIndex, false);
}

void TCustomTaskList::SetPreview(bool AValue)
{
    FPreview = AValue;
    FFFmpegList.SetPreview(AValue);
}

void TCustomTaskList::SetPreviewBitmap(bool AValue)
{
    FPreviewBitmap = AValue;
    FFFmpegList.SetPreviewBitmap(AValue);
}

void TCustomTaskList::Start(int AThreadCount)
{
    CheckWorking("StartTask");
    {
        TCriticalSectionGuard lock(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = FFFmpegList.Count();
        FTerminated = false;
        FThreadMode = AThreadCount > 0;
        FWorking = true;
        // The cores are shared among the tasks that run at once: one file alone gets all
        // of them, a large batch one per codec.
        FCodecThreads =
            CodecThreadsPerTask(MachineCores(), FThreadMode ? std::min(AThreadCount, FPendingTasks) : 1);
    }
    int started = 0;
    while (true) {
        {
            TCriticalSectionGuard lock(FTerminateLock);
            if (FPendingTasks <= 0) break;
        }
        StartNextTask();
        if (FThreadMode && ++started >= AThreadCount) break;
    }
}

void TCustomTaskList::StartNextTask()
{
    TTaskTranscoder* task;
    {
        TCriticalSectionGuard lock(FTerminateLock);
        if (FPendingTasks <= 0) return;
        --FPendingTasks;
        // The index moves on before the task starts: a task that cannot start terminates
        // at once, and its termination may start the next one from here.
        task = FFFmpegList.Items(FCurrentTask++);
        task->ReportInterval = int64_t(FProgressInterval) * 1000;
        task->CodecThreads = FCodecThreads;
        if (FThreadMode) {
            if (TThread* thread = task->StartConvert(true, FThreadPriority)) thread->Start();
            return;
        }
    }
    // In the caller's thread the conversion runs outside the lock: its terminate handler,
    // or another thread, may stop the list meanwhile.
    task->StartConvert(false, FThreadPriority);
}

void TCustomTaskList::Pause() { FFFmpegList.PauseAll(); }

void TCustomTaskList::Resume() { FFFmpegList.ResumeAll(); }

void TCustomTaskList::Stop(bool AWaitFor)
{
    {
        TCriticalSectionGuard lock(FTerminateLock);
        FPendingTasks = 0;
    }
    FFFmpegList.TerminateAll(AWaitFor);
    if (AWaitFor) WaitForDeliveries();
}

void TCustomTaskList::DoTerminate(TTaskTranscoder* ATask)
{
    // The events are queued in order under the lock.  In thread mode one delivery thread
    // takes them; in the caller's thread they are delivered here once the lock is left,
    // and an event raised while a handler runs (a handler that stops the list terminates
    // the tasks still waiting) follows after that handler has returned.
    bool deliverHere = false;
    {
        TCriticalSectionGuard lock(FTerminateLock);
        auto raise = [&](const TTerminateInfo& AInfo) {
            if (!QueueTerminate(AInfo)) return;
            if (FThreadMode) (new TaskList::TDoTerminateThread(this))->Start();
            else deliverHere = true;
        };
        if (OnTerminate) {
            FTerminateInfo.TaskIndex = FFFmpegList.IndexOf(ATask);
            FTerminateInfo.Finished = ATask->FFinished;
            FTerminateInfo.Exception = ATask->FFatalException;
            FTerminateInfo.ExceptionMsg = ATask->FFatalMessage;
            raise(FTerminateInfo);
        }
        ++FCompleteTasks;
        if (FPendingTasks <= 0) {
            if (FCompleteTasks >= FFFmpegList.Count() && !FTerminated) {
                // Marked before the final event goes out: its handler, or a host woken by
                // it, finds the run over and may clear the list.
                FTerminated = true;
                if (OnTerminate) {
                    FTerminateInfo = TTerminateInfo{-1, true, false, String()};
                    raise(FTerminateInfo);
                }
            }
        } else if (FThreadMode) {
            StartNextTask();
        }
    }
    if (deliverHere) DeliverQueued();
}

void TCustomTaskList::DoProgress(TTaskTranscoder* ATask, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                                  float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                                  int64_t ATotalDuration)
{
    if (!OnProgress) return;
    TCriticalSectionGuard lock(FProgressLock);
    FProgressInfo.TaskIndex = FFFmpegList.IndexOf(ATask);
    FProgressInfo.FileIndex = AFileIndex;
    FProgressInfo.FrameNumber = AFrameNumber;
    FProgressInfo.FPS = AFPS;
    FProgressInfo.Quality = AQuality;
    FProgressInfo.BitRate = ABitRate;
    FProgressInfo.CurrentSize = ACurrentSize;
    FProgressInfo.CurrentDuration = ACurrentDuration;
    FProgressInfo.TotalDuration = ATotalDuration;
    auto fire = [this] {
        if (OnProgress) OnProgress(this, &FProgressInfo);
    };
    if (FTriggerEventInMainThread) CallInMainThread(fire);
    else fire();
}

void TCustomTaskList::DoPreviewBitmap(TTaskTranscoder* ATask, TObject* ABitmap, int AFrameNumber, int64_t APTS)
{
    if (!OnPreviewBitmap) return;
    TCriticalSectionGuard lock(FPreviewLock);
    FPreviewInfo.TaskIndex = FFFmpegList.IndexOf(ATask);
    FPreviewInfo.Bitmap = static_cast<TBitmap*>(ABitmap);
    FPreviewInfo.FrameNumber = AFrameNumber;
    FPreviewInfo.PTS = APTS;
    auto fire = [this] {
        if (OnPreviewBitmap) OnPreviewBitmap(this, FPreviewInfo);
    };
    if (FTriggerEventInMainThread) CallInMainThread(fire);
    else fire();
}

void TCustomTaskList::DoCustomHook(TTaskTranscoder* ATask, TObject* ABitmap, int AFrameNumber, int64_t APTS, bool& AUpdate,
                                    bool& AStopHook)
{
    if (!OnCustomHook) return;
    TCriticalSectionGuard lock(FHookLock);
    auto* bitmap = static_cast<TBitmap*>(ABitmap);
    FHookInfo.TaskIndex = FFFmpegList.IndexOf(ATask);
    FHookInfo.Bitmap = bitmap;
    FHookInfo.FrameNumber = AFrameNumber;
    FHookInfo.PTS = APTS;
    FHookInfo.Update = AUpdate;
    FHookInfo.StopHook = AStopHook;
    bitmap->Canvas()->Lock();
    try {
        OnCustomHook(this, &FHookInfo);
    } catch (...) {
        bitmap->Canvas()->Unlock();
        throw;
    }
    bitmap->Canvas()->Unlock();
    AUpdate = FHookInfo.Update;
    AStopHook = FHookInfo.StopHook;
}
