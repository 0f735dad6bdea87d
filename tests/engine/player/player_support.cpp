#include "player/player_support.h"

#include "support/engine_support.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"
#include "engine/common/HostUtils.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace playertest {

bool PreparePlayer(const char* AAudioDriver)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", AAudioDriver, 1);
    static bool Installed = [] {
        Headless::Install();
        return true;
    }();
    (void)Installed;
    return enginetest::LoadLibraries();
}

namespace {

const char* const Grey = "-f lavfi -i \"color=c=black:s=64x48:r=25:d=2,geq=lum='16+4*N':cb=128:cr=128\"";
String GreyCycle(int ASeconds)
{
    return "-f lavfi -i \"color=c=black:s=64x48:r=25:d=" + std::to_string(ASeconds) +
           ",geq=lum='16+4*mod(N\\,50)':cb=128:cr=128\"";
}

String Generate(const String& AName)
{
    const String Dir = enginetest::MediaFolder() + "player_v1/";
    const String Path = Dir + AName;
    if (fs::exists(Path)) return Path;
    fs::create_directories(Dir);
    const String Temp = Dir + ".tmp" + std::to_string(getpid()) + "_" + AName;
    String Args, Srt;  // Srt: a subtitle file the clip is made from, removed afterwards
    if (AName == "grey.avi") {
        Args = String(Grey) + " -c:v mpeg4 -q:v 1 -g 1 -bf 0 -pix_fmt yuv420p";
    } else if (AName == "split.avi") {
        Args = "-f lavfi -i \"color=c=black:s=64x48:r=25:d=1,drawbox=x=0:y=24:w=64:h=24:color=white:t=fill\""
               " -c:v mpeg4 -q:v 1 -g 1 -bf 0 -pix_fmt yuv420p";
    } else if (AName == "av.mkv") {
        Args = String(Grey) + " -f lavfi -i sine=f=440:d=2 -c:v mpeg4 -q:v 1 -g 1 -bf 0 -pix_fmt yuv420p -c:a mp2";
    } else if (AName == "long.mkv") {
        // PCM audio: an encoder's delay would move the pictures off 40 ms steps.
        Args = GreyCycle(10) +
               " -f lavfi -i sine=f=440:d=10 -c:v mpeg4 -q:v 1 -g 1 -bf 0 -pix_fmt yuv420p -c:a pcm_s16le -ar 22050";
    } else if (AName == "grey.ts") {
        Args = GreyCycle(4) + " -c:v mpeg2video -q:v 1 -qmin 1 -g 1 -bf 0 -pix_fmt yuv420p";
    } else if (AName == "tone.wav") {
        Args = "-f lavfi -i sine=f=440:d=2:sample_rate=44100 -c:a pcm_s16le";
    } else if (AName == "subs.mkv") {
        Srt = Dir + ".tmp" + std::to_string(getpid()) + ".srt";
        std::ofstream(Srt) << "1\n00:00:00,000 --> 00:00:01,000\nHello\n";
        Args = "-i '" + Srt + "' -c:s ass";
    } else {
        throw std::runtime_error("unknown clip " + AName);
    }
    String Ext = AName.substr(AName.rfind('.'));
    const char* Format = Ext == ".avi" ? "avi" : Ext == ".wav" ? "wav" : Ext == ".ts" ? "mpegts" : "matroska";
    String Cmd = "ffmpeg -nostdin -y -loglevel error " + Args + " -f " + Format + " '" + Temp + "' >/dev/null 2>&1";
    const bool Made = std::system(Cmd.c_str()) == 0;
    std::error_code E;
    if (!Srt.empty()) fs::remove(Srt, E);
    if (!Made) {
        fs::remove(Temp, E);
        throw std::runtime_error("ffmpeg failed: " + Cmd);
    }
    fs::rename(Temp, Path);
    return Path;
}

}  // namespace

String Clip(const String& AName)
{
    static std::mutex Lock;
    std::lock_guard Guard(Lock);
    return Generate(AName);
}

int GreyRGB(int AFrame) { return (4 * (AFrame % 50) * 255 + 109) / 219; }

bool ReportedAs(const std::vector<TPlayState>& AActual, const std::vector<TPlayState>& AExpected)
{
    if (AActual.empty() || AExpected.empty()) return AActual.empty() && AExpected.empty();
    if (AActual.back() != AExpected.back()) return false;
    // The rest must be a subsequence of the rest.
    size_t J = 0;
    for (size_t I = 0; I + 1 < AExpected.size() && J + 1 < AActual.size(); ++I)
        if (AExpected[I] == AActual[J]) ++J;
    return J + 1 == AActual.size();
}

bool WaitUntil(const std::function<bool()>& APred, int ATimeoutMs)
{
    auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeoutMs);
    for (;;) {
        PumpMessages();
        if (APred()) return true;
        if (std::chrono::steady_clock::now() > End) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

TEventLog::TEventLog(TCustomPlayer& APlayer)
{
    APlayer.OnState = [this](TObject*, const TPlayState AState) {
        std::lock_guard Guard(Lock);
        FStates.push_back(AState);
        FAllMain = FAllMain && IsMainThread();
    };
    APlayer.OnPosition = [this](TObject*, const int64_t APTS) {
        std::lock_guard Guard(Lock);
        FPositions.push_back(APTS);
        FAllMain = FAllMain && IsMainThread();
    };
    APlayer.OnFileOpen = [this](TObject*, const int64_t ADuration, const int AW, const int AH, int&, int&) {
        ++FileOpens;
        Duration = ADuration;
        FrameWidth = AW;
        FrameHeight = AH;
        FAllMain = FAllMain && IsMainThread();
    };
}

std::vector<TPlayState> TEventLog::States()
{
    std::lock_guard Guard(Lock);
    return FStates;
}

std::vector<int64_t> TEventLog::Positions()
{
    std::lock_guard Guard(Lock);
    return FPositions;
}

std::vector<TPlayState> TEventLog::StatesSince(size_t AFrom)
{
    std::lock_guard Guard(Lock);
    return AFrom < FStates.size() ? std::vector<TPlayState>(FStates.begin() + long(AFrom), FStates.end())
                                  : std::vector<TPlayState>{};
}

bool TEventLog::Has(TPlayState AState) { return Count(AState) > 0; }

int TEventLog::Count(TPlayState AState)
{
    std::lock_guard Guard(Lock);
    int N = 0;
    for (TPlayState S : FStates) N += S == AState;
    return N;
}

bool TEventLog::AllOnMainThread()
{
    std::lock_guard Guard(Lock);
    return FAllMain;
}

}  // namespace playertest
