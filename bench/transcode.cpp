// Conversion speed of the task-list component.
//
// As a program:
//     transcode [--threads N] [--set Field=Value]... --ext .EXT -o OUTDIR [--] INPUT...
// converts every INPUT into OUTDIR/<base name>.EXT (a name used twice in one batch gets
// "_1", "_2" ... after the base name; existing files are replaced) with the output record
// whose TOutputOptions fields the --set options assign, N tasks at once (default 1; 0 runs
// them one after another in the calling thread); "--" ends the options.  A task that
// cannot be set up (an input that does not open, an output folder that cannot be made) is
// reported as failed and the others still run.  It prints each task's conversion time,
// frames and result, then the batch's wall time and frames per second; the exit status is 0
// only when every task finished.  bench/README.md shows how to compare it with ffmpeg.
//
// Without arguments it is a Google Benchmark of a few representative conversions of a
// generated clip (the ffmpeg program makes the clip once).
#include "engine/tasks/TaskList.h"
#include "engine/libs/FFmpegLoader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TFieldSetter = std::function<void(TOutputOptions&, const String&)>;

int Int(const String& V) { return int(std::strtol(V.c_str(), nullptr, 0)); }
bool Bool(const String& V) { return V == "1" || V == "true" || V == "True" || V == "yes"; }

// Every field of the output record, by its name.
const std::map<String, TFieldSetter>& Fields()
{
    using O = TOutputOptions;
    static const std::map<String, TFieldSetter> fields = {
        {"FileFormat", [](O& o, const String& v) { o.FileFormat = v; }},
        {"PacketSize", [](O& o, const String& v) { o.PacketSize = Int(v); }},
        {"MuxRate", [](O& o, const String& v) { o.MuxRate = Int(v); }},
        {"MuxDelay", [](O& o, const String& v) { o.MuxDelay = std::strtof(v.c_str(), nullptr); }},
        {"MuxPreload", [](O& o, const String& v) { o.MuxPreload = std::strtof(v.c_str(), nullptr); }},
        {"AudioCodec", [](O& o, const String& v) { o.AudioCodec = v; }},
        {"AudioPreset", [](O& o, const String& v) { o.AudioPreset = v; }},
        {"DisableAudio", [](O& o, const String& v) { o.DisableAudio = Bool(v); }},
        {"AudioVolume", [](O& o, const String& v) { o.AudioVolume = Int(v); }},
        {"AudioChannels", [](O& o, const String& v) { o.AudioChannels = Int(v); }},
        {"AudioSampleRate", [](O& o, const String& v) { o.AudioSampleRate = Int(v); }},
        {"AudioBitrate", [](O& o, const String& v) { o.AudioBitrate = Int(v); }},
        {"AudioBitRateTolerance", [](O& o, const String& v) { o.AudioBitRateTolerance = Int(v); }},
        {"AudioLanguage", [](O& o, const String& v) { o.AudioLanguage = v; }},
        {"AudioSyncMethod", [](O& o, const String& v) { o.AudioSyncMethod = Int(v); }},
        {"AudioTag", [](O& o, const String& v) { o.AudioTag = v; }},
        {"VideoCodec", [](O& o, const String& v) { o.VideoCodec = v; }},
        {"VideoPreset", [](O& o, const String& v) { o.VideoPreset = v; }},
        {"DisableVideo", [](O& o, const String& v) { o.DisableVideo = Bool(v); }},
        {"FrameRate", [](O& o, const String& v) { o.FrameRate = v; }},
        {"FrameSize", [](O& o, const String& v) { o.FrameSize = v; }},
        {"FrameAspectRatio", [](O& o, const String& v) { o.FrameAspectRatio = v; }},
        {"CropTop", [](O& o, const String& v) { o.CropTop = Int(v); }},
        {"CropBottom", [](O& o, const String& v) { o.CropBottom = Int(v); }},
        {"CropLeft", [](O& o, const String& v) { o.CropLeft = Int(v); }},
        {"CropRight", [](O& o, const String& v) { o.CropRight = Int(v); }},
        {"GroupPictureSize", [](O& o, const String& v) { o.GroupPictureSize = Int(v); }},
        {"VideoBitrate", [](O& o, const String& v) { o.VideoBitrate = Int(v); }},
        {"VideoMaxRate", [](O& o, const String& v) { o.VideoMaxRate = Int(v); }},
        {"VideoMinRate", [](O& o, const String& v) { o.VideoMinRate = Int(v); }},
        {"VideoBitRateTolerance", [](O& o, const String& v) { o.VideoBitRateTolerance = Int(v); }},
        {"VideoBufSize", [](O& o, const String& v) { o.VideoBufSize = Int(v); }},
        {"VideoSyncMethod", [](O& o, const String& v) { o.VideoSyncMethod = Int(v); }},
        {"VideoTag", [](O& o, const String& v) { o.VideoTag = v; }},
        {"VideoFilters", [](O& o, const String& v) { o.VideoFilters = v; }},
        {"VideoLanguage", [](O& o, const String& v) { o.VideoLanguage = v; }},
        {"SubtitleCodec", [](O& o, const String& v) { o.SubtitleCodec = v; }},
        {"SubtitlePreset", [](O& o, const String& v) { o.SubtitlePreset = v; }},
        {"DisableSubtitle", [](O& o, const String& v) { o.DisableSubtitle = Bool(v); }},
        {"SubtitleLanguage", [](O& o, const String& v) { o.SubtitleLanguage = v; }},
        {"InputSync", [](O& o, const String& v) { o.InputSync = Bool(v); }},
        {"CopyTimestamp", [](O& o, const String& v) { o.CopyTimestamp = Bool(v); }},
        {"TimeStart", [](O& o, const String& v) { o.TimeStart = std::strtoll(v.c_str(), nullptr, 10); }},
        {"TimeLength", [](O& o, const String& v) { o.TimeLength = std::strtoll(v.c_str(), nullptr, 10); }},
        {"TargetType", [](O& o, const String& v) { o.TargetType = TOptionTargetType(Int(v)); }},
        {"NormType", [](O& o, const String& v) { o.NormType = TOptionNormType(Int(v)); }},
        {"NormDefault", [](O& o, const String& v) { o.NormDefault = TOptionNormType(Int(v)); }},
        {"CustomHook", [](O& o, const String& v) { o.CustomHook = Bool(v); }},
        {"Join", [](O& o, const String& v) { o.Join = Bool(v); }},
        {"ExtOptions", [](O& o, const String& v) { o.ExtOptions += v + "\n"; }},
    };
    return fields;
}

double Seconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

struct TTaskResult {
    double Start = 0, End = 0;
    int Frames = 0;
    TTerminateInfo Info;
    bool Done = false;
};

struct TBatchResult {
    std::vector<TTaskResult> Tasks;
    double Wall = 0;
    bool AllFinished = false;
};

// Runs one batch through the task list; false only when the libraries do not load.  A
// task that cannot be set up (AOutputError, when not empty, fails every one) is reported
// in its result and the others run.
bool RunBatch(const std::vector<String>& AInputs, const std::vector<String>& AOutputs, const TOutputOptions& AOptions,
              int AThreads, TBatchResult& AResult, String& AError, const String& AOutputError = String())
{
    TTaskList list;
    if (!list.LoadAVLib("")) {
        AError = "the FFmpeg libraries do not load: " + list.LastErrMsg();
        return false;
    }
    list.SetTriggerEventInMainThread(false);
    list.SetVerbose(0);
    std::mutex lock;
    std::condition_variable done;
    AResult.Tasks.assign(AInputs.size(), TTaskResult());
    bool final = false;
    // A task that cannot be set up fails on its own (as the application reports it) and
    // the others still run; the list's indices then differ from the inputs' ones.
    std::vector<size_t> inputOf;
    auto refuse = [&](size_t AInput, const String& AMessage) {
        TTaskResult& t = AResult.Tasks[AInput];
        t.Done = true;
        t.Info.TaskIndex = int(AInput);
        t.Info.Exception = true;
        t.Info.ExceptionMsg = AMessage;
    };
    for (size_t i = 0; i < AInputs.size(); ++i) {
        if (!AOutputError.empty()) {
            refuse(i, AOutputError);
            continue;
        }
        const int index = list.AddTask(AInputs[i]);
        if (index < 0) {
            refuse(i, list.LastErrMsg());  // names the file
            continue;
        }
        TOutputOptions o = AOptions;
        if (!list.SetOutputFile(index, AOutputs[i], &o)) {
            refuse(i, AOutputs[i] + ": " + list.LastErrMsg());
            list.RemoveTask(index);
            continue;
        }
        inputOf.push_back(i);
        // The conversion's clock starts after its setup; its first reading marks the start.
        TTaskResult* t = &AResult.Tasks[i];
        list.Task(index)->Clock = [t, &lock] {
            std::lock_guard<std::mutex> l(lock);
            if (t->Start == 0) t->Start = Seconds();
            return int64_t(Seconds() * 1e6);
        };
    }
    list.OnProgress = [&](TObject*, PProgressInfo AInfo) {
        std::lock_guard<std::mutex> l(lock);
        if (AInfo->TaskIndex < 0 || size_t(AInfo->TaskIndex) >= inputOf.size()) return;
        TTaskResult& t = AResult.Tasks[inputOf[size_t(AInfo->TaskIndex)]];
        t.Frames = std::max(t.Frames, AInfo->FrameNumber);
    };
    list.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
        std::lock_guard<std::mutex> l(lock);
        if (AInfo.TaskIndex < 0) {
            final = true;
            done.notify_all();
            return;
        }
        const size_t input = inputOf[size_t(AInfo.TaskIndex)];
        TTaskResult& t = AResult.Tasks[input];
        t.End = Seconds();
        t.Info = AInfo;
        t.Info.TaskIndex = int(input);
        t.Done = true;
    };
    const double start = Seconds();
    if (!inputOf.empty()) {
        list.Start(AThreads);
        std::unique_lock<std::mutex> l(lock);
        done.wait(l, [&] { return final; });
    }
    AResult.Wall = Seconds() - start;
    AResult.AllFinished = true;
    for (const TTaskResult& t : AResult.Tasks) AResult.AllFinished = AResult.AllFinished && t.Done && t.Info.Finished;
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: transcode [--threads N] [--set Field=Value]... --ext .EXT -o OUTDIR [--] INPUT...\n");
    return 2;
}

int RunProgram(int argc, char** argv)
{
    int threads = 1;
    String ext, outdir;
    std::vector<String> inputs;
    TOutputOptions options;
    for (int i = 1; i < argc; ++i) {
        String a = argv[i];
        auto next = [&](String& AValue) {
            if (i + 1 >= argc) return false;
            AValue = argv[++i];
            return true;
        };
        String v;
        if (a == "--threads" && next(v)) {
            threads = Int(v);
        } else if (a == "--set" && next(v)) {
            size_t eq = v.find('=');
            auto it = eq == String::npos ? Fields().end() : Fields().find(v.substr(0, eq));
            if (it == Fields().end()) {
                std::fprintf(stderr, "unknown output field in \"%s\"\n", v.c_str());
                return 2;
            }
            it->second(options, v.substr(eq + 1));
        } else if (a == "--ext" && next(v)) {
            ext = v;
        } else if (a == "-o" && next(v)) {
            outdir = v;
        } else if (a == "--") {
            // Every further argument is an input, even one that begins with "-".
            for (++i; i < argc; ++i) inputs.push_back(argv[i]);
        } else if (!a.empty() && a[0] == '-') {
            return Usage();
        } else {
            inputs.push_back(a);
        }
    }
    if (ext.empty() || outdir.empty() || inputs.empty()) return Usage();
    if (ext[0] != '.') ext = "." + ext;
    // A folder that cannot be made fails every task with the reason.
    String outputError;
    std::error_code ec;
    fs::create_directories(outdir, ec);
    if (!ec && !fs::is_directory(outdir, ec)) ec = std::make_error_code(std::errc::not_a_directory);
    if (ec) outputError = outdir + ": " + ec.message();
    std::vector<String> outputs;
    std::set<String> used;
    for (const String& in : inputs) {
        String base = fs::path(in).stem().string();
        String name = (fs::path(outdir) / (base + ext)).string();
        for (int n = 1; used.count(name); ++n) name = (fs::path(outdir) / (base + "_" + std::to_string(n) + ext)).string();
        used.insert(name);
        outputs.push_back(name);
    }
    TBatchResult result;
    String error;
    if (!RunBatch(inputs, outputs, options, threads, result, error, outputError)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int frames = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const TTaskResult& t = result.Tasks[i];
        double time = t.Start > 0 ? t.End - t.Start : 0;
        frames += std::max(t.Frames, 0);
        std::printf("task %zu  %-40s  %8.3f s  %6d frames  %s\n", i, outputs[i].c_str(), time, t.Frames,
                    t.Info.Finished ? "finished" : (t.Info.Exception ? ("failed: " + t.Info.ExceptionMsg).c_str()
                                                                     : "stopped"));
    }
    std::printf("batch  %zu tasks  %d threads  %8.3f s  %8.1f frames/s\n", inputs.size(), threads, result.Wall,
                result.Wall > 0 ? frames / result.Wall : 0.0);
    return result.AllFinished ? 0 : 1;
}

// ---------------------------------------------------------------------------------
// Benchmark mode

// The benchmark's own scratch folder, made with a name no one else has (a fixed name under
// the temporary folder could be another user's, or a link planted there), removed at exit.
struct TBenchFolder {
    TBenchFolder()
    {
        String pattern = (fs::temp_directory_path() / "vc-transcode-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) Path = pattern;
    }
    ~TBenchFolder()
    {
        std::error_code ec;
        if (!Path.empty()) fs::remove_all(Path, ec);
    }
    String Path;
};

const String& BenchFolder()
{
    static const TBenchFolder folder;
    return folder.Path;
}

const String& BenchClip()
{
    static const String clip = [] {
        if (BenchFolder().empty()) return String();
        String name = BenchFolder() + "/clip.avi";
        String cmd = "ffmpeg -nostdin -y -loglevel error -f lavfi -i testsrc=size=640x360:rate=25:duration=4 "
                     "-f lavfi -i sine=f=440:sample_rate=44100:d=4 -ac 2 -c:v mpeg4 -q:v 3 -c:a mp2 '" +
                     name + "' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) return String();
        return name;
    }();
    return clip;
}

void Convert(benchmark::State& AState, const char* AExt, std::function<void(TOutputOptions&)> ASetup)
{
    if (BenchClip().empty()) {
        AState.SkipWithError("the ffmpeg program is needed to make the clip");
        return;
    }
    TOutputOptions o;
    ASetup(o);
    String out = BenchFolder() + "/out" + AExt;
    int frames = 0;
    for (auto _ : AState) {
        TBatchResult r;
        String error;
        if (!RunBatch({BenchClip()}, {out}, o, 1, r, error) || !r.AllFinished) {
            AState.SkipWithError(error.empty() ? "the conversion failed" : error.c_str());
            return;
        }
        frames += r.Tasks[0].Frames;
    }
    AState.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}

void BM_Mpeg4Mp3Avi(benchmark::State& S)
{
    Convert(S, ".avi", [](TOutputOptions& o) {
        o.VideoCodec = "mpeg4";
        o.VideoBitrate = 1000000;
        o.AudioCodec = "libmp3lame";
        o.AudioBitrate = 128000;
    });
}
BENCHMARK(BM_Mpeg4Mp3Avi)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_H264AacMp4Scaled(benchmark::State& S)
{
    Convert(S, ".mp4", [](TOutputOptions& o) {
        o.VideoCodec = "libx264";
        o.VideoPreset = "libx264-default";
        o.FrameSize = "320x180";
        o.VideoBitrate = 500000;
        o.AudioCodec = "aac";
        o.AudioBitrate = 96000;
    });
}
BENCHMARK(BM_H264AacMp4Scaled)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VcdTarget(benchmark::State& S)
{
    Convert(S, ".mpg", [](TOutputOptions& o) {
        o.TargetType = ttVCD;
        o.NormType = ntPAL;
    });
}
BENCHMARK(BM_VcdTarget)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    // With an output folder the program converts the given files; otherwise it benchmarks.
    for (int i = 1; i < argc; ++i)
        if (String(argv[i]) == "-o" || String(argv[i]) == "--ext") return RunProgram(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
