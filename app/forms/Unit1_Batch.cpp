// Running a batch: the engine's tasks rebuilt from the job rows, start, pause, resume and
// stop, progress in the rows, the end of each task and of the batch, the after-done
// action, the engine's log lines and the window states with the controls each enables.
//
// The engine raises its terminate events on threads of its own.  The handler only puts
// each event into an ordered queue and asks the GUI thread to drain it; the GUI thread
// handles one event at a time, in the order raised, and never re-entered (a task's
// warning box keeps later events waiting).
#include "app/presets/PresetOutput.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"

#include "engine/libs/FFmpegLogger.h"
#include "engine/common/HostUtils.h"
#include "engine/tasks/TaskList.h"
#include "platform/forms/Menus.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Threads.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>

// The terminate events waiting for the GUI thread.
struct TTerminateQueue {
    std::mutex Lock;
    std::deque<TTerminateInfo> Events;  // guarded by Lock
    bool Detached = false;              // guarded by Lock: events are dropped
    TForm1* Form = nullptr;             // GUI thread only; null once the window is gone
    bool Draining = false;              // GUI thread only
};

namespace {

// Owned by the window and made after its controls, so it goes before them: from then on
// no engine or log event reaches the window, and waiting terminate events find no window.
class TTerminateQueueGuard : public TComponent {
public:
    TTerminateQueueGuard(TForm1* AForm, std::shared_ptr<TTerminateQueue> AQueue)
        : TComponent(AForm), FForm(AForm), FQueue(std::move(AQueue))
    {
        FQueue->Form = AForm;
    }
    ~TTerminateQueueGuard() override
    {
        FForm->FFLogger->OnLog = nullptr;
        FForm->FFEngine->OnProgress = nullptr;
        {
            std::lock_guard<std::mutex> lock(FQueue->Lock);
            FQueue->Detached = true;
            FQueue->Events.clear();
        }
        FQueue->Form = nullptr;
    }

private:
    TForm1* FForm;
    std::shared_ptr<TTerminateQueue> FQueue;
};

void DrainTerminateQueue(const std::shared_ptr<TTerminateQueue>& AQueue);

// The window's reaction to one event; runs on the GUI thread only.
void DrainTerminateQueue(const std::shared_ptr<TTerminateQueue>& AQueue)
{
    // A drain asked for while one runs (inside a task's warning box) leaves the events to it.
    if (!AQueue->Form || AQueue->Draining) return;
    AQueue->Draining = true;
    while (true) {
        TTerminateInfo info;
        {
            std::lock_guard<std::mutex> lock(AQueue->Lock);
            if (AQueue->Detached || AQueue->Events.empty()) break;
            info = std::move(AQueue->Events.front());
            AQueue->Events.pop_front();
        }
        TForm1* form = AQueue->Form;
        if (!form) break;
        try {
            form->HandleTerminateEvent(info);
        } catch (const Exception& E) {
            form->mmoLog->Lines()->Add(E.Message());
        }
    }
    AQueue->Draining = false;
}

}  // namespace

// ---- texts ----------------------------------------------------------------------------------

String TForm1::SecToDate(int64_t ASec)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d", int((ASec / 3600) % 24), int((ASec / 60) % 60), int(ASec % 60));
    return text;
}

String TForm1::SizeText(int64_t ABytes)
{
    // Hundredths of a MB, halves to even (the default rounding mode).
    const double hundredths = std::nearbyint(double(ABytes) / (1024.0 * 1024.0) * 100.0);
    if (hundredths == 0) return "0MB";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", hundredths / 100.0);
    String s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s + "MB";
}

// ---- window states --------------------------------------------------------------------------

void TForm1::Button22Click(TObject*)
{
    bsSkinOfficeComboBox2->SetEnabled(false);
    bsSkinOfficeComboBox1->SetEnabled(false);
    for (TbsSkinComboBox* box : {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3, bsSkinComboBox4, bsSkinComboBox9,
                                 bsSkinComboBox10})
        box->SetEnabled(false);
    bsSkinButton5->SetEnabled(false);
}

void TForm1::Button23Click(TObject*)
{
    bsSkinOfficeComboBox2->SetEnabled(true);
    bsSkinOfficeComboBox1->SetEnabled(true);
    for (TbsSkinComboBox* box : {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3, bsSkinComboBox4, bsSkinComboBox9,
                                 bsSkinComboBox10})
        box->SetEnabled(true);
    bsSkinButton5->SetEnabled(true);
}

void TForm1::Button24Click(TObject*) {}

void TForm1::SetBatchState(TBatchState AState)
{
    const TBatchState before = FBatchState;
    FBatchState = AState;
    EnableAdding(AState == bsEmpty || AState == bsReady);
    const bool ready = AState == bsReady;
    SetButtonState(bsSkinButton7, ready);
    N13->SetEnabled(ready);
    SetButtonState(bsSkinButton21, ready);
    N26->SetEnabled(ready);
    SetButtonState(bsSkinButton8, ready || AState == bsFinished);
    N14->SetEnabled(ready || AState == bsFinished);
    SetButtonState(bsSkinButton2, ready || AState == bsStopping || (AState == bsFinished && FUserStopped));
    N6->SetEnabled(ready);
    const bool running = AState == bsWorking || AState == bsPaused;
    SetButtonState(bsSkinButton10, running);
    N7->SetEnabled(running);
    // While stopping, pause and resume stay as they were until the batch has ended.
    if (AState != bsStopping) {
        SetButtonState(bsSkinButton11, AState == bsWorking);
        N8->SetEnabled(AState == bsWorking);
        SetButtonState(bsSkinButton12, AState == bsPaused);
        N9->SetEnabled(AState == bsPaused);
    }
    const bool formatBefore = !(before == bsWorking || before == bsPaused);
    const bool formatNow = !running;
    if (formatBefore != formatNow) formatNow ? Button23Click(this) : Button22Click(this);
}

// ---- start ----------------------------------------------------------------------------------

void TForm1::bsSkinButton2Click(TObject* Sender) { btnStartClick(Sender); }

void TForm1::btnStartClick(TObject*)
{
    TThreadPriority priority = tpNormal;
    if (Form5) {
        if (Form5->bsSkinCheckRadioBox9->Checked()) priority = tpIdle;
        else if (Form5->bsSkinCheckRadioBox10->Checked()) priority = tpLowest;
        else if (Form5->bsSkinCheckRadioBox11->Checked()) priority = tpLower;
    }
    FFEngine->SetThreadPriority(priority);
    try {
        button28Click(this);
    } catch (const Exception& E) {
        // The engine still ends the batch before (a start right after a stop): nothing changes.
        Application->ShowException(const_cast<Exception*>(&E));
        return;
    }
    // No task could be made: there is no batch to run, and the rows stay ready.
    if (FBuiltTasks == 0) return;
    FUserStopped = false;
    bsSkinButton11->SetVisible(true);
    bsSkinButton12->SetVisible(false);
    SetBatchState(bsWorking);
    int count = 1;
    if (Form5 && Form5->bsSkinCheckRadioBox7->Checked()) {
        count = StrToIntDef(Trim(Form5->bsSkinComboBox2->Text()), 1);
        if (count < 1) count = 1;
    }
    EngineStart(count);
}

TOutputOptions TForm1::JobOutputOptions(TListItem* ARow)
{
    auto col = [ARow](int AColumn) { return JobColumn(ARow, AColumn); };
    // A bitrate column that is empty, not a number or negative is not set.
    auto bitrate = [&](int AColumn) {
        const int32_t value = StrToIntDef(col(AColumn), -1);
        return value < 0 ? PresetBitrateNotSet : value;
    };
    TPresetFields f;
    f.Reset();
    f.Video_VideoCodec = col(jcVideoCodec);
    f.Video_AudioCodec = col(jcAudioCodec);
    f.Video_AudioChannels = col(jcAudioChannels);
    f.Video_VideoTag = col(jcVideoCodec) == "libx264" ? String() : col(jcVideoTag);
    f.Video_FrameSize = col(jcFrameSize);
    f.Video_VideoBitrate = bitrate(jcVideoBitrate);
    f.Video_FrameRate = col(jcFrameRate);
    f.Video_AudioBitrate = bitrate(jcAudioBitrate);
    f.Video_AudioSampleRate = col(jcAudioSampleRate);
    f.Video_FrameAspectRatio = col(jcAspect);
    f.Video_DisableVideo = col(jcDisableVideo) == "True";
    f.Video_TargetType = col(jcTargetType);
    f.Video_NormType = col(jcNormType);
    TOutputOptions o;
    InitOutputOptions(o);
    o.FileFormat.clear();
    o.AudioVolume = 256;
    o.VideoFilters.clear();
    PresetFieldsToOutputOptions(f, o);
    if (!col(jcFileExt).empty()) o.FileExt = col(jcFileExt);
    return o;
}

void TForm1::button28Click(TObject*)
{
    EngineClearTasks();
    FBuiltTasks = 0;
    SettleRowOutputNames();
    const int count = lvFiles->Items()->Count();
    for (int i = 0; i < count; ++i) {
        TListItem* row = lvFiles->Items()->Item(i);
        // Each task is built from its row alone; a slot keeps nothing of an earlier job.
        TInputOptions input;
        InitInputOptions(input);
        input.FileName = row->Caption();
        TOutputOptions output = JobOutputOptions(row);
        SetSlotRecords(i, input, output);
        SetJobColumn(row, jcTaskNumber, "");
        const int task = EngineAddTask(input.FileName, input);
        if (task < 0) {
            const String text = "***File open error: " + FFEngine->LastErrMsg();
            for (const String& line : {String(), text, String()}) mmoLog->Lines()->Add(line);
            TaskErrorMessage(text);
            continue;
        }
        if (!EngineSetOutputFile(task, FileOutPutPath + "/" + JobColumn(row, jcOutputFile), output)) {
            const String text = "***Cannot do convert, error: " + FFEngine->LastErrMsg();
            EngineRemoveTask(task);
            for (const String& line : {String(), text, String()}) mmoLog->Lines()->Add(line);
            TaskErrorMessage(text);
            continue;
        }
        if (i < JobSlotCount) OO1[size_t(i)] = output;
        SetJobColumn(row, jcTaskNumber, IntToStr(task + 1));
        ++FBuiltTasks;
    }
}

// ---- pause, resume, stop --------------------------------------------------------------------

void TForm1::bsSkinButton11Click(TObject* Sender)
{
    btnPauseClick(Sender);
}

void TForm1::bsSkinButton12Click(TObject* Sender)
{
    btnResumeClick(Sender);
}

void TForm1::btnPauseClick(TObject*)
{
    if (FBatchState != bsWorking) return;
    SetBatchState(bsPaused);
    bsSkinButton11->SetVisible(false);
    bsSkinButton12->SetVisible(true);
    EnginePause();
}

void TForm1::btnResumeClick(TObject*)
{
    if (FBatchState != bsPaused) return;
    SetBatchState(bsWorking);
    bsSkinButton12->SetVisible(false);
    bsSkinButton11->SetVisible(true);
    EngineResume();
}

void TForm1::bsSkinButton10Click(TObject* Sender) { btnStopClick(Sender); }

void TForm1::btnStopClick(TObject*)
{
    if (FBatchState != bsWorking && FBatchState != bsPaused) return;
    // A stopped batch ends without its after-done action.
    FUserStopped = true;
    SetBatchState(bsStopping);
    Button24Click(this);
    // The terminate events of the stopped tasks and of the batch's end are handled while
    // the engine waits for its tasks.
    EngineStop(true);
}

// ---- progress, terminate, log ---------------------------------------------------------------

TListItem* TForm1::TaskRow(int ATaskIndex) const
{
    const String number = IntToStr(ATaskIndex + 1);
    const int count = lvFiles->Items()->Count();
    for (int i = 0; i < count; ++i) {
        TListItem* row = lvFiles->Items()->Item(i);
        if (JobColumn(row, jcTaskNumber) == number) return row;
    }
    return nullptr;
}

void TForm1::FFEngineProgress(TObject*, TProgressInfo* AProgressInfo)
{
    if (!AProgressInfo || !FTerminateQueue->Form) return;
    const TProgressInfo& p = *AProgressInfo;
    TListItem* row = TaskRow(p.TaskIndex);
    if (!row) return;
    SetJobColumn(row, jcProgress,
                 p.TotalDuration > 0 ? IntToStr(p.CurrentDuration * 100 / p.TotalDuration) + "%" : String("N/A"));
    if (p.FPS > 0) SetJobColumn(row, jcFPS, IntToStr(p.FPS));
    SetJobColumn(row, jcPosition, SecToDate(p.CurrentDuration / 1000000));
    SetJobColumn(row, jcOutputSize, SizeText(p.CurrentSize));
}

void TForm1::FFEngineTerminate(TObject*, const TTerminateInfo& ATerminateInfo)
{
    std::shared_ptr<TTerminateQueue> queue = FTerminateQueue;
    {
        std::lock_guard<std::mutex> lock(queue->Lock);
        if (queue->Detached) return;
        queue->Events.push_back(ATerminateInfo);
    }
    TThread::Queue(nullptr, [queue] { DrainTerminateQueue(queue); });
}

void TForm1::DetachTerminateEvents()
{
    std::lock_guard<std::mutex> lock(FTerminateQueue->Lock);
    FTerminateQueue->Detached = true;
    FTerminateQueue->Events.clear();
}

int TForm1::AfterDoneChoice() const
{
    if (!Form5) return 3;
    if (Form5->bsSkinCheckRadioBox1->Checked()) return 0;
    if (Form5->bsSkinCheckRadioBox2->Checked()) return 1;
    if (Form5->bsSkinCheckRadioBox4->Checked()) return 2;
    return 3;
}

void TForm1::HandleTerminateEvent(const TTerminateInfo& AInfo)
{
    if (AInfo.TaskIndex < 0) {
        SetBatchState(bsFinished);
        Button24Click(this);
        // Only a batch that ran to its end does what was chosen for its end.
        if (!FUserStopped) {
            switch (AfterDoneChoice()) {
            case 0: Button20Click(this); break;
            case 1: Button25Click(this); break;
            case 2: Button29Click(this); break;
            default: break;
            }
        }
    } else if (AInfo.Finished) {
        if (TListItem* row = TaskRow(AInfo.TaskIndex)) {
            SetJobColumn(row, jcProgress, "100%");
            NoteWrittenOutput(row);
        }
    }
    if (AInfo.Exception) TaskErrorMessage(AInfo.ExceptionMsg);
}

void TForm1::TaskErrorMessage(const String& AText)
{
    MessageBox(Handle(), AText, Application->Title(), MB_ICONWARNING | MB_OK);
}

void TForm1::FFLoggerLog(TObject*, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg)
{
    // A line that was on its way while the window comes apart has no log to go to.
    if (!FTerminateQueue->Form) return;
    mmoLog->Lines()->Add("#" + std::to_string(AThreadID) + "." + IntToStr(int(ALogLevel)) + ": " + ALogMsg);
}

void TForm1::chkPreviewClick(TObject*) { EngineSetPreview(chkPreview->Checked()); }

// ---- after-done actions ---------------------------------------------------------------------

bool TForm1::SetPrivilege(const String& APrivilegeName, bool AEnable)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    bool result = false;
    LUID luid;
    if (LookupPrivilegeValue(nullptr, APrivilegeName.c_str(), &luid)) {
        TOKEN_PRIVILEGES state;
        state.PrivilegeCount = 1;
        state.Privileges[0].Luid = luid;
        state.Privileges[0].Attributes = AEnable ? SE_PRIVILEGE_ENABLED : 0;
        result = AdjustTokenPrivileges(token, false, &state, sizeof state, nullptr, nullptr);
    }
    CloseHandle(token);
    return result;
}

void TForm1::Button25Click(TObject*)
{
    SetPrivilege(SE_SHUTDOWN_NAME, true);
    if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0)) SetPrivilege(SE_SHUTDOWN_NAME, false);
}

void TForm1::Button29Click(TObject*)
{
    const String sound = GetExePath() + "sounds/ring001.wav";
    if (FileExists(sound)) PlaySound(sound, nullptr, SND_ASYNC | SND_FILENAME);
}

// ---- engine calls ---------------------------------------------------------------------------

void TForm1::EngineStart(int AThreadCount) { FFEngine->Start(AThreadCount); }
void TForm1::EnginePause() { FFEngine->Pause(); }
void TForm1::EngineResume() { FFEngine->Resume(); }

void TForm1::BindBatchEvents()
{
    FTerminateQueue = std::make_shared<TTerminateQueue>();
    new TTerminateQueueGuard(this, FTerminateQueue);
    bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
    N6->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
    bsSkinButton10->OnClick = [this](TObject* Sender) { bsSkinButton10Click(Sender); };
    N7->OnClick = [this](TObject* Sender) { bsSkinButton10Click(Sender); };
    bsSkinButton11->OnClick = [this](TObject* Sender) { bsSkinButton11Click(Sender); };
    N8->OnClick = [this](TObject* Sender) { bsSkinButton11Click(Sender); };
    bsSkinButton12->OnClick = [this](TObject* Sender) { bsSkinButton12Click(Sender); };
    N9->OnClick = [this](TObject* Sender) { bsSkinButton12Click(Sender); };
    chkPreview->OnClick = [this](TObject* Sender) { chkPreviewClick(Sender); };
    FFEngine->OnProgress = [this](TObject* Sender, PProgressInfo AInfo) { FFEngineProgress(Sender, AInfo); };
    FFEngine->OnTerminate = [this](TObject* Sender, const TTerminateInfo& AInfo) { FFEngineTerminate(Sender, AInfo); };
    FFLogger->OnLog = [this](TObject* Sender, uint32_t AThreadID, TLogLevel ALevel, const String& AMsg) {
        FFLoggerLog(Sender, AThreadID, ALevel, AMsg);
    };
}
