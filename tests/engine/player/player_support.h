// Support of the player tests: SDL's dummy drivers, clips made for the player, bounded
// waits that serve the GUI thread's queue, and a recorder of the player's events.
#pragma once

#include "engine/player/FFPlay.h"
#include "platform/system/Types.h"

#include <functional>
#include <mutex>
#include <vector>

namespace playertest {

// Loads the libraries, selects SDL's dummy video driver and the given audio driver
// ("dummy" unless a test plays into a file) and installs the headless window backend.
// False when the libraries cannot be loaded.
bool PreparePlayer(const char* AAudioDriver = "dummy");

// A clip made for the player tests (generated once per build folder):
//  "grey.avi"  64x48, 25 fps, 50 frames, every frame a key frame, luma 16 + 4 * N
//  "split.avi" 64x48, 25 fps, 25 frames, black above and white below
//  "av.mkv"    the same pictures as grey.avi (2 s) with a 440 Hz tone
//  "tone.wav"  2 s of a 440 Hz tone at 44100 Hz, mono
//  "subs.mkv"  one text subtitle stream and nothing else
//  "long.mkv"  64x48, 25 fps, 10 s of grey frames (luma 16 + 4 * (N mod 50)) with a tone
//  "grey.ts"   64x48, 25 fps, 4 s of the same grey frames (MPEG-2 in MPEG-TS), for
//              seeking by bytes
String Clip(const String& AName);
// The RGB grey level of frame N of the grey clips.
int GreyRGB(int AFrame);

// Whether the reported states AActual are the states AExpected as the event ring lets
// them through: a state report that the event thread has not taken yet is replaced by
// the next one, so any state but the last may be missing.
bool ReportedAs(const std::vector<TPlayState>& AActual, const std::vector<TPlayState>& AExpected);

// Waits until APred holds, serving the GUI thread's queue; false after ATimeoutMs.
bool WaitUntil(const std::function<bool()>& APred, int ATimeoutMs = 10000);

// The events of one player as they arrive.
class TEventLog {
public:
    explicit TEventLog(TCustomPlayer& APlayer);
    std::vector<TPlayState> States();
    // The states reported after the first AFrom.
    std::vector<TPlayState> StatesSince(size_t AFrom);
    std::vector<int64_t> Positions();
    bool Has(TPlayState AState);
    int Count(TPlayState AState);
    // True when every event so far arrived on the GUI thread.
    bool AllOnMainThread();
    int FileOpens = 0;
    int64_t Duration = 0;
    int FrameWidth = 0, FrameHeight = 0;

private:
    std::mutex Lock;
    std::vector<TPlayState> FStates;
    std::vector<int64_t> FPositions;
    bool FAllMain = true;
};

}  // namespace playertest
