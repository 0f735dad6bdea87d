#include "support/convert_support.h"

#include "platform/system/Threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace converttest {

namespace {

void Run(const String& ACommand)
{
    String cmd = "ffmpeg -nostdin -y -loglevel error " + ACommand + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + cmd);
}

void Generate(const String& D)
{
    const String v = "-f lavfi -i testsrc=size=160x120:rate=25:duration=";
    Run(v + "2 -f lavfi -i sine=f=440:sample_rate=44100:d=2 -ac 2 -c:v mpeg4 -c:a mp2 '" + D + "clip.avi'");
    Run(v + "1 -f lavfi -i sine=f=440:sample_rate=48000:d=1 -ac 2 -c:v mpeg4 -c:a pcm_s16le '" + D + "clip48.mkv'");
    Run("-f lavfi -i sine=f=440:sample_rate=44100:d=1 -c:a pcm_s16le '" + D + "mono.wav'");
    Run("-f lavfi -i \"aevalsrc=0.9*sin(2*PI*440*t):s=44100:d=0.5\" -c:a pcm_s16le '" + D + "loud.wav'");
    Run(v + "2 -itsoffset 0.5 -f lavfi -i sine=f=440:sample_rate=44100:d=1.5 -c:v mpeg4 -c:a mp2 '" + D + "late.mkv'");
    Run(v + "2 -c:v libx264 -g 25 -bf 0 -pix_fmt yuv420p '" + D + "gop_full.ts'");
    Run("-i '" + D + "gop_full.ts' -ss 0.2 -c copy -copyinkf '" + D + "gop.ts'");
    {
        // The video stream's fourcc (in its stream header and format) becomes one that no
        // decoder knows.
        std::ifstream in(D + "clip.avi", std::ios::binary);
        std::string data((std::istreambuf_iterator<char>(in)), {});
        size_t head = std::min<size_t>(data.size(), 8192);
        for (size_t p = 0; (p = data.find("FMP4", p)) != std::string::npos && p < head; p += 4) data.replace(p, 4, "ZZZZ");
        std::ofstream(D + "broken.avi", std::ios::binary) << data;
    }
    Run("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v mpeg2video '" + D + "part1.ts'");
    Run("-f lavfi -i testsrc=size=320x240:rate=25:duration=1 -c:v mpeg2video -output_ts_offset 1 '" + D + "part2.ts'");
    Run("-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v mpeg2video -output_ts_offset 31 '" + D + "part3.ts'");
    auto cat = [&](const String& A, const String& B, const String& AOut) {
        std::ifstream a(D + A, std::ios::binary), b(D + B, std::ios::binary);
        std::ofstream o(D + AOut, std::ios::binary);
        o << a.rdbuf() << b.rdbuf();
    };
    cat("part1.ts", "part2.ts", "sizes.ts");
    cat("part1.ts", "part3.ts", "jump.ts");
    {
        std::ofstream m(D + "chapters.txt");
        m << ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1000\ntitle=One\n"
             "[CHAPTER]\nTIMEBASE=1/1000\nSTART=1000\nEND=2000\ntitle=Two\n";
    }
    Run("-i '" + D + "clip.avi' -i '" + D + "chapters.txt' -map 0 -map_chapters 1 -c copy '" + D + "ch.mkv'");
    Run("-f lavfi -i testsrc=size=160x120:rate=50:duration=1 -c:v mpeg4 '" + D + "fast.nut'");
    std::ofstream(D + "s.srt") << "1\n00:00:00,500 --> 00:00:01,500\nHello\n\n2\n00:00:02,000 --> 00:00:03,000\nWorld\n";
    Run(v + "4 -i '" + D + "s.srt' -c:v mpeg4 -c:s srt '" + D + "sub.mkv'");
    Run(v + "1 -f lavfi -i sine=f=440:d=1 -f lavfi -i \"sine=f=880:d=1,aformat=channel_layouts=stereo\" "
            "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a mp2 -disposition:a:0 0 -disposition:a:1 0 '" + D + "two_audio.mkv'");
    Run("-i '" + D + "clip48.mkv' -c copy -metadata title=Titled '" + D + "titled.mkv'");
    Run(v + "1 -f lavfi -i testsrc=size=320x240:rate=25:duration=1 -map 0 -map 1 -c:v mpeg2video "
            "-program program_num=1:st=0 -program program_num=2:st=1 '" + D + "programs.ts'");
}

}  // namespace

const String& Folder()
{
    static const String folder = [] {
        String final = enginetest::MediaFolder() + "convert_v4/";
        if (fs::exists(final + "done")) return final;
        String dir = enginetest::ScratchFolder();
        Generate(dir);
        std::ofstream(dir + "done") << "1";
        std::error_code ec;
        fs::rename(dir, final.substr(0, final.size() - 1), ec);
        if (ec) fs::remove_all(dir);  // another process made it first
        return final;
    }();
    return folder;
}

String Clip(const String& AName) { return Folder() + AName; }

std::vector<String> SplitLines(const String& AText)
{
    std::vector<String> lines;
    for (size_t p = 0; p < AText.size();) {
        size_t e = AText.find('\n', p);
        if (e == String::npos) e = AText.size();
        lines.push_back(AText.substr(p, e - p));
        p = e + 1;
    }
    return lines;
}

TOutputOptions AviOptions(int ABitrate)
{
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoBitrate = ABitrate;
    o.AudioCodec = "libmp3lame";
    o.AudioBitrate = 64000;
    return o;
}

String Probe(const String& AFile, const String& ASelect, const String& AEntries)
{
    String sel = ASelect.empty() ? String() : "-select_streams " + ASelect + " ";
    String out = enginetest::FFprobe(sel + "-show_entries " + AEntries + " -of default=nw=1:nk=1", AFile);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

double ProbeDouble(const String& AFile, const String& ASelect, const String& AEntry)
{
    String s = Probe(AFile, ASelect, AEntry);
    return s.empty() || s == "N/A" ? -1 : std::atof(s.c_str());
}

int CountFrames(const String& AFile)
{
    String s = enginetest::FFprobe("-count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
                                   "-of default=nw=1:nk=1",
                                   AFile);
    return std::atoi(s.c_str());
}

std::vector<int16_t> WavSamples(const String& AFile)
{
    std::ifstream in(AFile, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> samples;
    size_t p = data.find("data");
    if (p == std::string::npos || p + 8 > data.size()) return samples;
    size_t start = p + 8;
    for (size_t i = start; i + 1 < data.size(); i += 2)
        samples.push_back(int16_t(uint8_t(data[i]) | uint16_t(uint8_t(data[i + 1])) << 8));
    return samples;
}

bool TEvents::Final() const
{
    auto* self = const_cast<TEvents*>(this);
    std::lock_guard<std::mutex> lock(self->Lock);
    return !Terminates.empty() && Terminates.back().TaskIndex == -1;
}

std::unique_ptr<TTaskList> NewTaskList(TEvents& AEvents)
{
    if (!enginetest::LoadLibraries()) throw std::runtime_error("the FFmpeg libraries do not load");
    auto list = std::make_unique<TTaskList>();
    if (!list->LoadAVLib("")) throw std::runtime_error("LoadAVLib failed");
    TEvents* events = &AEvents;
    list->OnTerminate = [events](TObject*, const TTerminateInfo& AInfo) {
        {
            std::lock_guard<std::mutex> lock(events->Lock);
            if (events->InTerminate > 0) events->Overlaps.emplace_back(events->Terminates.size(), AInfo.TaskIndex);
            ++events->InTerminate;
        }
        // A little time inside the handler, so that a second one running at once is seen.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::lock_guard<std::mutex> lock(events->Lock);
        events->Terminates.push_back(AInfo);
        --events->InTerminate;
    };
    list->OnProgress = [events](TObject*, PProgressInfo AInfo) {
        std::lock_guard<std::mutex> lock(events->Lock);
        events->Progress.push_back(*AInfo);
    };
    return list;
}

bool WaitUntil(const std::function<bool()>& APredicate, double ASeconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(ASeconds);
    while (!APredicate()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (IsMainThread()) CheckSynchronize(5);
        else std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool WaitForFinal(TEvents& AEvents, double ASeconds)
{
    return WaitUntil([&] { return AEvents.Final(); }, ASeconds);
}

std::unique_ptr<TConversion> Convert(const String& AInput, const String& AOut, TOutputOptions AOptions,
                                     const std::function<void(TTaskList&, TTaskTranscoder&)>& ABefore)
{
    auto c = std::make_unique<TConversion>();
    c->Out = AOut;
    c->List = NewTaskList(c->Events);
    int index = c->List->AddTask(AInput);
    EXPECT_EQ(index, 0) << c->List->LastErrMsg();
    if (index != 0) return nullptr;
    bool ok = c->List->SetOutputFile(0, AOut, &AOptions);
    EXPECT_TRUE(ok) << c->List->LastErrMsg();
    if (!ok) return nullptr;
    if (ABefore) ABefore(*c->List, *c->List->Task(0));
    c->List->Start(0);
    EXPECT_EQ(c->Events.Terminates.size(), 2u);
    if (c->Events.Terminates.size() != 2u) return nullptr;
    return c;
}

std::function<int64_t()> SteppingClock(int64_t AStep)
{
    auto t = std::make_shared<std::atomic<int64_t>>(0);
    return [t, AStep] { return t->fetch_add(AStep) + AStep; };
}

TLogLevelScope::TLogLevelScope(TLogLevel ALevel) : FSaved(GlobalLogger()->LogLevel())
{
    GlobalLogger()->SetLogLevel(ALevel);
}

TLogLevelScope::~TLogLevelScope() { GlobalLogger()->SetLogLevel(FSaved); }

}  // namespace converttest
