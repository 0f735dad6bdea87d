// Every preset and every value its option boxes offer converts.
//
//     PresetSweep [--jobs N] [--codes FROM-TO,...] [--keep DIR]
//
// A one-second clip (320x240 at 25 fps, a stereo tone at 44100 Hz) is converted with every
// preset of the catalogue: once with its six option boxes at their defaults, and once for
// every other item of each box with the other five at their defaults.  A job's parameters
// are made as the main window makes them when it adds a file: the preset's table entry,
// then the six boxes' items over it (a disc target keeping its standard where a box shows
// its default), then the output record.  Jobs whose output record and extension are the
// same as an earlier job's are converted once and counted for each.
//
// Each output is read back with ffprobe: it must hold the container's streams (video unless
// the preset is audio only, and audio), the frame size, frame rate and sample rate asked
// for, or the value the engine logged as fitted ("... fitted to ..."), and a disc target's
// standard size and rate where the boxes leave them.  The jobs run on N threads (default:
// every core), one conversion per thread at a time.  It prints the failures, the fitted
// values (each distinct fitting once, with the number of jobs it served) and the wall time;
// the exit status is 0 only without failures.  bench/README.md holds the last summary.
#include "app/presets/PresetOptionLists.h"
#include "app/presets/PresetOutput.h"
#include "app/presets/PresetParams.h"
#include "engine/libs/FFmpegLogger.h"
#include "engine/tasks/TaskList.h"
#include "platform/system/Threads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const TPresetOption BoxOrder[] = {poResolution, poVideoBitrate, poFrameRate, poAudioBitrate, poSampleRate, poAspect};
const char* const BoxName[PresetOptionCount] = {"resolution", "video bitrate", "frame rate",
                                                "audio bitrate", "sample rate", "aspect"};

// One conversion: the preset, the box varied (-1: none) with its item, the output record.
struct TJob {
    int Code = 0;
    int Box = -1;
    int Item = -1;
    String Text;  // the varied item's text
    String Ext;
    bool AudioOnly = false;
    TOutputOptions Options;
    String Key;   // what makes two jobs the same conversion
};

struct TOutcome {
    bool Failed = false;
    String Reason;
    std::vector<String> Fitted;  // the engine's "fitted" lines
};

String Quote(const String& A) { return "'" + A + "'"; }

// The output of a shell command, and whether it exited with 0.
bool Capture(const String& ACommand, String& AOutput)
{
    AOutput.clear();
    FILE* pipe = popen(ACommand.c_str(), "r");
    if (!pipe) return false;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) AOutput.append(buf, n);
    return pclose(pipe) == 0;
}

String OptionsKey(const TOutputOptions& O, const String& AExt)
{
    std::ostringstream s;
    s << AExt << '|' << O.VideoCodec << '|' << O.VideoPreset << '|' << O.VideoTag << '|' << O.FrameSize << '|'
      << O.FrameRate << '|' << O.FrameAspectRatio << '|' << O.VideoBitrate << '|' << O.DisableVideo << '|'
      << O.AudioCodec << '|' << O.AudioChannels << '|' << O.AudioSampleRate << '|' << O.AudioBitrate << '|'
      << O.AudioVolume << '|' << int(O.TargetType) << '|' << int(O.NormType) << '|' << O.FileFormat;
    return s.str();
}

// The parameters of preset AEntry with box ABox (-1: none) at item AItem, the others at
// their defaults, as the main window sets them for a file it adds.
TJob MakeJob(const TPresetOptionEntry& AEntry, int ABox, int AItem)
{
    TJob job;
    job.Code = AEntry.Code;
    job.Box = ABox;
    job.Item = AItem;
    job.AudioOnly = AEntry.AudioOnly;
    const TPresetParams& params = *FindPresetParams(AEntry.Code);
    job.Ext = params.OutputExt;
    TPresetFields fields;
    fields.Reset();
    ApplyPresetParams(params, fields);
    // The option overrides in the order the main window applies them.
    for (TPresetOption o : {poResolution, poFrameRate, poVideoBitrate, poSampleRate, poAudioBitrate, poAspect}) {
        const TPresetOptionList& list = AEntry.Options[o];
        const int item = o == ABox ? AItem : list.Default;
        if (item < 0 || size_t(item) >= list.Items.size()) continue;
        if (o == ABox) job.Text = list.Items[size_t(item)];
        ApplyOptionChoice(&AEntry, o, item, list.Items[size_t(item)], fields);
    }
    InitOutputOptions(job.Options);
    PresetFieldsToOutputOptions(fields, job.Options);
    job.Key = OptionsKey(job.Options, job.Ext);
    return job;
}

// The value of the last "<AWhat> <from> fitted to <to> for encoder ..." among the fitted
// lines (a value may be fitted twice: to the encoder, then to the container).
String FittedValue(const std::vector<String>& ALines, const String& AWhat)
{
    for (auto it = ALines.rbegin(); it != ALines.rend(); ++it) {
        const String& line = *it;
        if (line.rfind(AWhat + " ", 0) != 0) continue;
        const size_t to = line.find(" fitted to ");
        if (to == String::npos) continue;
        const size_t start = to + 11;
        const size_t end = line.find(" for encoder ", start);
        return line.substr(start, end == String::npos ? String::npos : end - start);
    }
    return String();
}

double RateValue(const String& AText)
{
    const size_t slash = AText.find('/');
    if (slash == String::npos) return std::atof(AText.c_str());
    const double den = std::atof(AText.c_str() + slash + 1);
    return den ? std::atof(AText.substr(0, slash).c_str()) / den : 0;
}

// The stream entries of AFile: codec_type=..., width=..., per stream in one map each.
std::vector<std::map<String, String>> ProbeStreams(const String& AFile, String& AError)
{
    String text;
    std::vector<std::map<String, String>> streams;
    if (!Capture("ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate "
                 "-of compact=nokey=0 " + Quote(AFile) + " 2>&1",
                 text)) {
        AError = "ffprobe: " + text;
        return streams;
    }
    std::istringstream lines(text);
    for (String line; std::getline(lines, line);) {
        if (line.rfind("stream|", 0) != 0) continue;
        std::map<String, String> s;
        std::istringstream parts(line.substr(7));
        for (String part; std::getline(parts, part, '|');) {
            const size_t eq = part.find('=');
            if (eq != String::npos) s[part.substr(0, eq)] = part.substr(eq + 1);
        }
        streams.push_back(s);
    }
    return streams;
}

// The frame size and rate a disc target writes in its norm when the boxes leave them.
std::pair<String, String> DiscStandard(const TOutputOptions& O)
{
    const bool pal = O.NormType != ntNTSC;
    switch (O.TargetType) {
    case ttVCD: return {pal ? "352x288" : "352x240", pal ? "25" : "30000/1001"};
    case ttSVCD: return {pal ? "480x576" : "480x480", pal ? "25" : "30000/1001"};
    case ttDVD: return {pal ? "720x576" : "720x480", pal ? "25" : "30000/1001"};
    default: return {};
    }
}

// Checks the output of AJob against what it asked for, after the fitted values.
void CheckOutput(const TJob& AJob, const String& AFile, TOutcome& AOut)
{
    String error;
    const auto streams = ProbeStreams(AFile, error);
    auto fail = [&](const String& AReason) {
        if (AOut.Failed) return;
        AOut.Failed = true;
        AOut.Reason = AReason;
    };
    if (!error.empty()) return fail(error);
    const std::map<String, String>* video = nullptr;
    const std::map<String, String>* audio = nullptr;
    for (const auto& s : streams) {
        auto t = s.find("codec_type");
        if (t == s.end()) continue;
        if (t->second == "video" && !video) video = &s;
        if (t->second == "audio" && !audio) audio = &s;
    }
    if (!audio) return fail("no audio stream");
    if (!AJob.AudioOnly && !AJob.Options.DisableVideo && !video) return fail("no video stream");
    const TOutputOptions& O = AJob.Options;
    if (video) {
        auto [discSize, discRate] = DiscStandard(O);
        String size = O.FrameSize.empty() ? discSize : O.FrameSize;
        std::replace(size.begin(), size.end(), '*', 'x');
        if (String f = FittedValue(AOut.Fitted, "frame size"); !f.empty()) size = f;
        const String got = video->count("width") ? video->at("width") + "x" + video->at("height") : String();
        if (!size.empty() && got != size) return fail("frame size " + got + ", asked " + size);
        String rate = O.FrameRate.empty() ? discRate : O.FrameRate;
        if (String f = FittedValue(AOut.Fitted, "frame rate"); !f.empty()) rate = f;
        const double gotRate = video->count("r_frame_rate") ? RateValue(video->at("r_frame_rate")) : 0;
        if (!rate.empty() && std::fabs(gotRate - RateValue(rate)) > 0.011)
            return fail("frame rate " + (video->count("r_frame_rate") ? video->at("r_frame_rate") : String("none")) +
                        ", asked " + rate);
    }
    String rate = O.AudioSampleRate > 0 ? std::to_string(O.AudioSampleRate) : String();
    if (O.AudioSampleRate <= 0 && O.TargetType == ttDVD) rate = "48000";
    if (O.AudioSampleRate <= 0 && (O.TargetType == ttVCD || O.TargetType == ttSVCD)) rate = "44100";
    if (String f = FittedValue(AOut.Fitted, "sample rate"); !f.empty()) rate = f;
    const String got = audio->count("sample_rate") ? audio->at("sample_rate") : String();
    if (!rate.empty() && got != rate) return fail("sample rate " + got + ", asked " + rate);
}

// The fitted lines logged by each worker thread while its conversion runs.
std::mutex LogLock;
std::map<uint32_t, std::vector<String>> LogOfThread;
std::map<uint32_t, std::vector<String>> ErrorsOfThread;  // the error lines, for the reasons

void Convert(const String& AClip, const TJob& AJob, const String& AOutput, TOutcome& AOut)
{
    {
        std::lock_guard<std::mutex> l(LogLock);
        LogOfThread[GetCurrentThreadId()].clear();
        ErrorsOfThread[GetCurrentThreadId()].clear();
    }
    TTaskList list;
    if (!list.LoadAVLib("")) {
        AOut = {true, "the FFmpeg libraries do not load: " + list.LastErrMsg(), {}};
        return;
    }
    list.SetTriggerEventInMainThread(false);
    list.SetVerbose(0);
    TTerminateInfo info;
    list.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex >= 0) info = AInfo;
    };
    const int index = list.AddTask(AClip);
    TOutputOptions o = AJob.Options;
    if (index < 0) {
        AOut = {true, "input: " + list.LastErrMsg(), {}};
        return;
    }
    if (!list.SetOutputFile(index, AOutput, &o)) {
        AOut = {true, "output: " + list.LastErrMsg(), {}};
        return;
    }
    list.Start(0);
    {
        std::lock_guard<std::mutex> l(LogLock);
        AOut.Fitted = LogOfThread[GetCurrentThreadId()];
    }
    if (!info.Finished) {
        AOut.Failed = true;
        std::lock_guard<std::mutex> l(LogLock);
        for (const String& line : ErrorsOfThread[GetCurrentThreadId()])
            if (line != info.ExceptionMsg) AOut.Reason += line + "; ";
        AOut.Reason += info.ExceptionMsg.empty() ? String("not finished") : info.ExceptionMsg;
        return;
    }
    CheckOutput(AJob, AOutput, AOut);
}

String JobName(const TJob& AJob)
{
    String name = std::to_string(AJob.Code);
    if (AJob.Box >= 0) name += " " + String(BoxName[AJob.Box]) + "=\"" + AJob.Text + "\"";
    else name += " defaults";
    return name;
}

int Usage()
{
    std::fprintf(stderr, "usage: PresetSweep [--jobs N] [--codes FROM-TO,...] [--keep DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::pair<int, int>> ranges;  // codes FROM-TO; none: every code
    String keep;
    for (int i = 1; i < argc; ++i) {
        const String a = argv[i];
        if (a == "--jobs" && i + 1 < argc) threads = std::max(1, std::atoi(argv[++i]));
        else if (a == "--codes" && i + 1 < argc) {
            std::istringstream list(argv[++i]);
            for (String v; std::getline(list, v, ',');) {
                const size_t dash = v.find('-');
                const int from = std::atoi(v.c_str());
                ranges.emplace_back(from, dash == String::npos ? from : std::atoi(v.c_str() + dash + 1));
            }
        } else if (a == "--keep" && i + 1 < argc) keep = argv[++i];
        else return Usage();
    }
    const auto start = std::chrono::steady_clock::now();
    const fs::path dir = keep.empty() ? fs::temp_directory_path() / ("vc_preset_sweep_" + std::to_string(getpid()))
                                      : fs::path(keep);
    fs::create_directories(dir);
    const String clip = (dir / "clip.avi").string();
    String out;
    if (!Capture("ffmpeg -nostdin -y -loglevel error -f lavfi -i testsrc=s=320x240:r=25:d=1 -f lavfi -i "
                 "sine=f=440:d=1:r=44100 -ac 2 -c:v mpeg4 -c:a mp2 -shortest " + Quote(clip) + " 2>&1",
                 out)) {
        std::fprintf(stderr, "the clip was not made: %s\n", out.c_str());
        return 1;
    }
    // The engine's fitted lines, by the thread that logs them.
    GlobalLogger()->SetTriggerEventInMainThread(false);
    GlobalLogger()->OnLog = [](TObject*, uint32_t AThread, TLogLevel ALevel, const String& AMsg) {
        const bool fitted = AMsg.find(" fitted to ") != String::npos;
        if (!fitted && ALevel > llError) return;
        std::lock_guard<std::mutex> l(LogLock);
        (fitted ? LogOfThread : ErrorsOfThread)[AThread].push_back(AMsg);
    };

    // Every preset with its defaults, then each box's other items one at a time.
    std::vector<TJob> jobs;
    for (const TPresetOptionEntry& e : PresetOptionTable()) {
        if (!ranges.empty() && std::none_of(ranges.begin(), ranges.end(), [&](const std::pair<int, int>& r) {
                return e.Code >= r.first && e.Code <= r.second;
            }))
            continue;
        jobs.push_back(MakeJob(e, -1, -1));
        for (TPresetOption o : BoxOrder)
            for (size_t i = 0; i < e.Options[o].Items.size(); ++i)
                if (int(i) != e.Options[o].Default) jobs.push_back(MakeJob(e, o, int(i)));
    }
    std::map<String, size_t> first;  // key -> index of the conversion
    std::vector<size_t> conversions;  // indices of jobs converted
    for (size_t i = 0; i < jobs.size(); ++i)
        if (first.emplace(jobs[i].Key, i).second) conversions.push_back(i);
    std::printf("%zu jobs (%zu presets), %zu distinct conversions, %d threads\n", jobs.size(),
                size_t(std::count_if(jobs.begin(), jobs.end(), [](const TJob& j) { return j.Box < 0; })),
                conversions.size(), threads);
    std::fflush(stdout);

    std::vector<TOutcome> outcomes(jobs.size());
    std::atomic<size_t> next{0}, done{0};
    auto work = [&] {
        for (size_t n; (n = next++) < conversions.size();) {
            const TJob& job = jobs[conversions[n]];
            const String output = (dir / ("job" + std::to_string(conversions[n]) + job.Ext)).string();
            TOutcome& outcome = outcomes[conversions[n]];
            Convert(clip, job, output, outcome);
            if (outcome.Failed) {
                std::printf("  failed %s: %s\n", JobName(job).c_str(), outcome.Reason.c_str());
                std::fflush(stdout);
            }
            std::error_code ec;
            fs::remove(output, ec);
            const size_t d = ++done;
            if (d % 500 == 0) {
                std::printf("  %zu of %zu converted\n", d, conversions.size());
                std::fflush(stdout);
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(work);
    for (std::thread& t : pool) t.join();

    // Results of the jobs that share a conversion.
    size_t failures = 0;
    std::map<String, std::pair<size_t, String>> fittings;  // line -> jobs, first job
    for (size_t i = 0; i < jobs.size(); ++i) {
        const TOutcome& r = outcomes[first[jobs[i].Key]];
        if (r.Failed) {
            ++failures;
            std::printf("FAILED %s: %s\n", JobName(jobs[i]).c_str(), r.Reason.c_str());
        }
        for (const String& line : r.Fitted) {
            auto& f = fittings[line];
            if (f.first++ == 0) f.second = JobName(jobs[i]);
        }
    }
    std::printf("\nfitted values (jobs, first job):\n");
    for (const auto& [line, f] : fittings) std::printf("  %5zu  %-70s  %s\n", f.first, line.c_str(), f.second.c_str());
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\n%zu jobs, %zu conversions, %zu failures, %zu jobs with fitted values, wall time %.1f s on %d "
                "threads\n",
                jobs.size(), conversions.size(), failures,
                size_t(std::count_if(jobs.begin(), jobs.end(),
                                     [&](const TJob& j) { return !outcomes[first[j.Key]].Fitted.empty(); })),
                wall, threads);
    GlobalLogger()->OnLog = nullptr;
    if (keep.empty()) {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    return failures == 0 ? 0 : 1;
}
