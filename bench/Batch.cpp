// A batch run from the main window: 19 short clips added with the first preset (AVI,
// MPEG-4 video, MP3 audio) and converted on 19 threads (or one after another) with progress
// in the rows, against the same 19 conversions run as 19 parallel ffmpeg processes with the
// same settings.
// Reports the batch's wall time and the GUI thread's longest stall: the longest time the
// GUI thread spent in one turn of its loop (handling its messages and the engine's queued
// events) while the batch ran.  Run under an X server (DISPLAY); without one the window
// is painted on the headless backend.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Program.h"
#include "app/forms/Unit1.h"
#include "app/forms/Unit5.h"
#include "engine/player/FFPlay.h"
#include "platform/forms/Forms.h"
#include "platform/system/Paths.h"
#include "platform/system/Threads.h"
#include "platform/windows/Backend.h"
#include "platform/windows/Headless.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int ClipCount = 19;

// Runs a program with its arguments; returns its process id (0 when it did not start).
pid_t Spawn(const std::vector<String>& AArgs)
{
    std::vector<char*> argv;
    for (const String& a : AArgs) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// The processor time the calling thread has used, in milliseconds.
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The time the calling thread has spent ready to run but waiting for a processor, in
// milliseconds (the scheduler's statistics; 0 where the kernel keeps none).
double ThreadRunQueueMs()
{
    double runNs = 0, waitNs = 0;
    if (FILE* f = std::fopen("/proc/thread-self/schedstat", "r")) {
        if (std::fscanf(f, "%lf %lf", &runNs, &waitNs) != 2) waitNs = 0;
        std::fclose(f);
    }
    return waitNs / 1e6;
}

bool Succeeded(pid_t APid)
{
    int status = 0;
    return APid > 0 && waitpid(APid, &status, 0) == APid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The streams of a file as ffprobe reads them (codec, size, rate, bit rate, frames).
String Probe(const String& AFile)
{
    String out;
    const String cmd = "ffprobe -v error -count_frames -show_entries "
                       "stream=codec_name,width,height,r_frame_rate,bit_rate,sample_rate,channels,nb_read_frames "
                       "-of compact=p=0 '" + AFile + "'";
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[1024];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// A scratch program folder and home, and the clips: 4 s of 640x360 video at 25 fps
// (MPEG-4) with a stereo tone (MP2) each.
struct TScratch {
    TScratch()
    {
        char pattern[] = "/tmp/vc-bench-batch-XXXXXX";
        Root = mkdtemp(pattern);
        fs::create_directories(Root + "/prog");
        fs::create_directories(Root + "/clips");
        setenv("HOME", Root.c_str(), 1);
        SetProgramFolder(Root + "/prog");
        if (!std::getenv("DISPLAY") || !InstallX11Backend()) Headless::Install();
        std::vector<pid_t> makers;
        for (int i = 0; i < ClipCount; ++i) {
            Clips.push_back(Root + "/clips/clip" + IntToStr(i + 1) + ".avi");
            makers.push_back(Spawn({"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                                    "testsrc=s=640x360:r=25:d=4", "-f", "lavfi", "-i", "sine=f=440:d=4:r=44100",
                                    "-ac", "2", "-c:v", "mpeg4", "-b:v", "1500k", "-c:a", "mp2", "-shortest",
                                    Clips.back()}));
        }
        for (pid_t pid : makers) Ok = Succeeded(pid) && Ok;
    }
    ~TScratch()
    {
        SetProgramFolder("");
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    String Root;
    std::vector<String> Clips;
    bool Ok = true;
};

TScratch& Scratch()
{
    static TScratch s;
    return s;
}

// 19 jobs from the main window, shown on the display; the jobs at the normal priority (first
// argument 0, the options' default "正常优先级进行") or a lower one (1, "较低优先级进行"); the
// second argument the jobs at once: 19 (one thread per codec) or 1 (the options' default,
// each job's codecs on all cores).
void BM_BatchOf19OnTheMainWindow(benchmark::State& State)
{
    TScratch& scratch = Scratch();
    if (!scratch.Ok) {
        State.SkipWithError("the clips could not be made with ffmpeg");
        return;
    }
    InitForms();
    CreateProgramForms();
    Form1->Show();
    Form1->Update();
    Application->ProcessMessages();
    // The first preset (category 0, preset 0) is chosen at start-up; the jobs at once, no
    // after-done action, the jobs' priority.
    Form5->bsSkinCheckRadioBox7->SetChecked(true);
    Form5->bsSkinComboBox2->SetText(IntToStr(int(State.range(1))));
    Form5->bsSkinCheckRadioBox5->SetChecked(true);
    (State.range(0) == 1 ? Form5->bsSkinCheckRadioBox11 : Form5->bsSkinCheckRadioBox12)->SetChecked(true);
    Form1->SelectInputFiles = [&](bool, std::vector<String>& AFiles) {
        AFiles = scratch.Clips;
        return true;
    };
    double longestStall = 0, stallAt = 0, stallCpu = 0, stallWaiting = 0, longestTurnCpu = 0;
    double wall = 0;
    bool finished = true;
    for (auto _ : State) {
        State.PauseTiming();
        Form1->btnClearClick(Form1);
        fs::remove_all(Form1->FileOutPutPath);
        fs::create_directories(Form1->FileOutPutPath);
        Form1->Button8Click(Form1);
        if (Form1->lvFiles->Items()->Count() != ClipCount) {
            State.SkipWithError("the clips were not added");
            break;
        }
        Application->ProcessMessages();
        State.ResumeTiming();

        const auto start = Clock::now();
        Form1->btnStartClick(Form1);
        while (Form1->BatchState() != TForm1::bsFinished) {
            // A turn: its share of the calls the engine's threads queued, the window
            // messages and the painting.
            const auto turn = Clock::now();
            const double turnCpu = ThreadCpuMs(), turnWaiting = ThreadRunQueueMs();
            Application->ProcessMessages();
            const double stall = std::chrono::duration<double, std::milli>(Clock::now() - turn).count();
            const double cpu = ThreadCpuMs() - turnCpu;
            longestTurnCpu = std::max(longestTurnCpu, cpu);
            if (stall > longestStall) {
                longestStall = stall;
                stallCpu = cpu;
                stallWaiting = ThreadRunQueueMs() - turnWaiting;
                stallAt = std::chrono::duration<double>(turn - start).count();
            }
            // The loop sleeps until its next message as the program's does; a short nap
            // stands in for the wait.
            usleep(500);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        wall += seconds;
        State.SetIterationTime(seconds);
        for (int i = 0; i < ClipCount; ++i)
            finished = finished && TForm1::JobColumn(Form1->lvFiles->Items()->Item(i), jcProgress) == "100%";
    }
    if (!finished) State.SkipWithError("a job did not reach 100%");
    // What the jobs wrote, to hold against the ffmpeg processes' settings.
    const String probe = Probe(Form1->FileOutPutPath + "/clip1.avi");
    std::printf("first output: %s\n", probe.c_str());
    State.counters["longest_gui_stall_ms"] = longestStall;
    State.counters["stall_at_s"] = stallAt;  // seconds after the start of its batch
    // The longest turn split into the GUI thread's own work (processor time) and the time
    // it was ready but waited for a processor while the engine's threads had them all.
    State.counters["stall_cpu_ms"] = stallCpu;
    State.counters["stall_waiting_ms"] = stallWaiting;
    // The most processor time the GUI thread spent in any one turn.
    State.counters["longest_turn_cpu_ms"] = longestTurnCpu;
    State.counters["wall_s"] = benchmark::Counter(wall, benchmark::Counter::kAvgIterations);
    Form1->SelectInputFiles = nullptr;
    // Closed as the program closes: the preview of the selected row stopped and the close
    // query run before the forms go.
    Form1->FFPlayer->Stop(true);
    bool canClose = true;
    Form1->FormCloseQuery(Form1, canClose);
    DoneForms();
}
BENCHMARK(BM_BatchOf19OnTheMainWindow)
    ->Args({0, ClipCount})
    ->Args({1, ClipCount})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The same 19 conversions as 19 ffmpeg processes at once, one thread per codec as the
// engine opens them: the first preset's settings (XVID tag, 25 fps, 816 kb/s video, MP3
// at 44100 Hz, 2 channels, 128 kb/s).
void BM_BatchOf19FfmpegProcesses(benchmark::State& State)
{
    TScratch& scratch = Scratch();
    if (!scratch.Ok) {
        State.SkipWithError("the clips could not be made with ffmpeg");
        return;
    }
    const String out = scratch.Root + "/ffmpeg-out/";
    fs::create_directories(out);
    bool ok = true;
    for (auto _ : State) {
        const auto start = Clock::now();
        std::vector<pid_t> jobs;
        for (int i = 0; i < ClipCount; ++i)
            jobs.push_back(Spawn({"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-threads", "1", "-i",
                                  scratch.Clips[size_t(i)], "-threads", "1", "-filter_threads", "1", "-c:v", "mpeg4",
                                  "-vtag", "XVID", "-r", "25", "-b:v", "816k", "-c:a", "libmp3lame", "-ac", "2", "-ar",
                                  "44100", "-b:a", "128k", out + "clip" + IntToStr(i + 1) + ".avi"}));
        for (pid_t pid : jobs) ok = Succeeded(pid) && ok;
        State.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("first output: %s\n", Probe(out + "clip1.avi").c_str());
    if (!ok) State.SkipWithError("an ffmpeg process failed");
}
BENCHMARK(BM_BatchOf19FfmpegProcesses)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
