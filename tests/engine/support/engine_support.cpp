#include "support/engine_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/FFmpegLogger.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace enginetest {

bool LoadLibraries()
{
    static bool Ok = [] {
        TEngineLoader& L = FFLoader();
        L.SetLibraryPath("");
        return L.Load(PlayerLibraries);
    }();
    return Ok && FFLoader().Loaded(PlayerLibraries);
}

String RunCommand(const String& ACommand)
{
    String Out;
    FILE* P = popen(ACommand.c_str(), "r");
    if (!P) return Out;
    char Buf[4096];
    size_t N;
    while ((N = fread(Buf, 1, sizeof(Buf), P)) > 0) Out.append(Buf, N);
    pclose(P);
    return Out;
}

String FFprobe(const String& AArgs, const String& AFile)
{
    return RunCommand("ffprobe -v error " + AArgs + " '" + AFile + "' 2>/dev/null");
}

String ScratchFolder()
{
    // Every folder made goes, with what the test left in it, when the test program ends.
    static std::mutex Lock;
    static struct TMadeFolders {
        std::vector<String> Paths;
        ~TMadeFolders()
        {
            std::error_code E;
            for (const String& P : Paths) fs::remove_all(P, E);
        }
    } Made;
    String Templ = (fs::temp_directory_path() / "vc_engine_XXXXXX").string();
    char* D = mkdtemp(Templ.data());
    if (!D) return String();
    std::lock_guard G(Lock);
    Made.Paths.push_back(D);
    return String(D) + "/";
}

namespace {

// Bump the version whenever the list changes, so that old folders are not reused.
constexpr const char* FolderName = "engine_media_v8";

const char* const GreyVideo = "-f lavfi -i \"color=c=black:s=64x48:r=25:d=1,geq=lum='16+8*N':cb=128:cr=128\"";

struct TClip {
    const char* Name;
    String Args;
};

std::vector<TClip> Clips()
{
    String G = GreyVideo;
    return {
        // Video only, mpeg4, key frame every 5 frames, no B frames.
        {"grey.avi", G + " -c:v mpeg4 -q:v 1 -g 5 -bf 0 -pix_fmt yuv420p"},
        // The same pictures with B frames: the decoder holds frames back until the end.
        {"grey_b.mkv", G + " -c:v mpeg4 -q:v 1 -g 12 -bf 2 -pix_fmt yuv420p"},
        // One video and two audio streams with languages and a title.
        {"av.mkv", G + " -f lavfi -i sine=f=440:d=1 -f lavfi -i sine=f=880:d=1 -map 0 -map 1 -map 2"
                       " -c:v mpeg4 -g 5 -c:a mp2 -metadata title=\"Test Title\""
                       " -metadata:s:a:0 language=eng -metadata:s:a:1 language=chi"},
        // Audio only with tags.
        {"tone.mp3", "-f lavfi -i sine=f=440:d=1 -c:a libmp3lame -metadata title=Song -metadata artist=Singer"
                     " -metadata album=Album"},
        {"tone.wav", "-f lavfi -i sine=f=440:d=0.5"},
        // Video only in an MPEG transport stream (stream ids, 90k time base).
        {"video.ts", "-f lavfi -i color=c=gray:s=64x48:r=25:d=1 -c:v mpeg2video -g 12 -bf 0"},
        // An audio stream whose only tag is its language.
        {"lang.ts", "-f lavfi -i sine=f=440:d=0.5 -c:a mp2 -metadata:s:a:0 language=eng"},
        // 29.97 frames per second.
        {"ntsc.mp4", "-f lavfi -i color=c=gray:s=64x48:r=30000/1001:d=1 -c:v mpeg4"
                     " -metadata creation_time=2020-01-02T03:04:05.000000Z"},
        // A still picture.
        {"still.png", "-f lavfi -i color=c=red:s=32x24:d=1 -frames:v 1"},
        // Packed 24-bit pictures of an odd size (red 0x20, green 0x80, blue 0xE0).
        {"odd.nut", "-f lavfi -i color=c=0x2080E0:s=33x25:r=25:d=0.2,format=rgb24 -c:v rawvideo -pix_fmt bgr24"},
    };
}

void Generate(const String& ADir)
{
    for (const TClip& C : Clips()) RunFFmpeg(C.Args, ADir + C.Name);
    fs::copy_file(ADir + "grey.avi", ADir + "测试视频.avi");
    // A transport stream cut in the middle of a group of pictures: its first frames
    // cannot be decoded, so the first picture lies after the stream's start.
    RunFFmpeg("-i '" + ADir + "video.ts' -ss 0.2 -c copy -copyinkf", ADir + "cut.ts");
    {
        std::ofstream F(ADir + "notmedia.txt");
        F << "This is not a media file.\n";
    }
    {
        // The first part of a transport stream: packets end in the middle.
        std::ifstream In(ADir + "video.ts", std::ios::binary);
        std::string Data((std::istreambuf_iterator<char>(In)), {});
        std::ofstream Out(ADir + "truncated.ts", std::ios::binary);
        Out.write(Data.data(), std::streamsize(Data.size() / 3 + 17));
    }
    {
        std::ifstream In(ADir + "grey.avi", std::ios::binary);
        std::string Data((std::istreambuf_iterator<char>(In)), {});
        std::ofstream Out(ADir + "truncated.avi", std::ios::binary);
        Out.write(Data.data(), 200);
    }
}

}  // namespace

void RunFFmpeg(const String& AArgs, const String& AOutput)
{
    String Cmd = "ffmpeg -nostdin -y -loglevel error " + AArgs + " '" + AOutput + "' >/dev/null 2>&1";
    if (std::system(Cmd.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + Cmd);
}

String GeneratedFolder(const String& AFolder, const std::function<void(const String& ADir)>& AGenerate)
{
    if (fs::exists(AFolder + "done")) return AFolder;
    // The scratch folder lies beside the final one, on the same file system.
    String Final = AFolder.substr(0, AFolder.size() - 1);
    String Temp = Final + ".tmp" + std::to_string(getpid()) + "/";
    fs::remove_all(Temp);
    fs::create_directories(Temp);
    AGenerate(Temp);
    std::ofstream(Temp + "done") << "ok\n";
    std::error_code Ec;
    fs::rename(Temp, Final, Ec);
    if (Ec) fs::remove_all(Temp);  // another process made it first
    if (!fs::exists(AFolder + "done")) throw std::runtime_error("cannot make " + AFolder);
    return AFolder;
}

const String& MediaFolder()
{
    static const String Folder = GeneratedFolder(
        fs::read_symlink("/proc/self/exe").parent_path().string() + "/" + FolderName + "/", Generate);
    return Folder;
}

String Media(const String& AName) { return MediaFolder() + AName; }

struct TLogCapture::TImpl {
    mutable std::mutex Lock;
    std::vector<String> Lines;
    TLogEvent Saved;
    bool SavedMain = true;
};

TLogCapture::TLogCapture() : F(new TImpl)
{
    TFFLogger* L = GlobalLogger();
    F->Saved = L->OnLog;
    F->SavedMain = L->TriggerEventInMainThread();
    L->SetTriggerEventInMainThread(false);
    TImpl* Impl = F;
    L->OnLog = [Impl](TObject*, uint32_t, TLogLevel, const String& AMsg) {
        std::lock_guard G(Impl->Lock);
        Impl->Lines.push_back(AMsg);
    };
}

TLogCapture::~TLogCapture()
{
    TFFLogger* L = GlobalLogger();
    L->OnLog = F->Saved;
    L->SetTriggerEventInMainThread(F->SavedMain);
    delete F;
}

std::vector<String> TLogCapture::Lines() const
{
    std::lock_guard G(F->Lock);
    return F->Lines;
}

bool TLogCapture::Contains(const String& AText) const
{
    for (const String& L : Lines())
        if (L.find(AText) != String::npos) return true;
    return false;
}

}  // namespace enginetest
