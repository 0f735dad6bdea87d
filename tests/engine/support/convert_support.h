// Support of the conversion tests: small clips made once per build folder with the real
// ffmpeg, ffprobe readings of outputs, and a task list whose events are recorded.
#pragma once

#include "engine/tasks/TaskList.h"
#include "support/engine_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace converttest {

// The clips (trailing "/" folder):
//   clip.avi    160x120 25 fps mpeg4 + 44.1 kHz stereo mp2 tone, 2 s
//   clip48.mkv  160x120 25 fps mpeg4 + 48 kHz stereo pcm tone, 1 s
//   mono.wav    44.1 kHz mono s16 tone, 1 s, half scale
//   loud.wav    44.1 kHz mono s16 tone, 0.5 s, near full scale
//   late.mkv    160x120 25 fps video 0-2 s, audio 44.1 kHz beginning at 0.5 s
//   gop.mkv     h264 160x120 25 fps, key frame every 25 frames, 2 s
//   broken.avi  a video stream no decoder knows (fourcc "ZZZZ")
//   sizes.ts    mpeg2 in MPEG-TS: 1 s at 160x120 then 1 s at 320x240
//   jump.ts     mpeg2 in MPEG-TS whose timestamps jump forward by 30 s after 1 s
//   ch.mkv      clip.avi with two chapters (0-1 s, 1-2 s)
//   fast.nut    160x120 50 fps mpeg4, 1 s
//   sub.mkv     4 s of video with two subtitles (0.5-1.5 s "Hello", 2-3 s "World")
//   two_audio.mkv  video, a mono and a stereo audio stream, neither marked as the default
//   titled.mkv  clip48.mkv whose file carries the title "Titled"
//   programs.ts two programs in MPEG-TS: 1 holds a 160x120 video, 2 a 320x240 video, 1 s each
const String& Folder();
String Clip(const String& AName);

// The lines of a text (without their ends).
std::vector<String> SplitLines(const String& AText);
// A small AVI output: MPEG-4 video at ABitrate, MP3 audio at 64 kbit/s.
TOutputOptions AviOptions(int ABitrate = 300000);

// One ffprobe value: "-show_entries AEntries -of default=nw=1:nk=1" for stream ASelect
// ("v:0", "a:0"; empty for the format section).
String Probe(const String& AFile, const String& ASelect, const String& AEntries);
double ProbeDouble(const String& AFile, const String& ASelect, const String& AEntry);
// Frames of the first video stream, counted by decoding.
int CountFrames(const String& AFile);
// The samples of a 16-bit PCM WAV file.
std::vector<int16_t> WavSamples(const String& AFile);

// What a task list reported.
struct TEvents {
    std::mutex Lock;
    std::vector<TTerminateInfo> Terminates;
    std::vector<TProgressInfo> Progress;
    std::vector<std::pair<int, int>> Overlaps;  // terminate handlers that ran at once
    int InTerminate = 0;
    bool Final() const;
};

// A task list with its libraries loaded and its events recorded into AEvents.
std::unique_ptr<TTaskList> NewTaskList(TEvents& AEvents);
// Waits (serving the GUI-thread queue) until the final terminate event arrived; false
// after ASeconds.
bool WaitForFinal(TEvents& AEvents, double ASeconds = 60);
// Waits (serving the GUI-thread queue) until APredicate holds; false after ASeconds.
bool WaitUntil(const std::function<bool()>& APredicate, double ASeconds = 60);

// One conversion run in the caller's thread, kept for inspection.
struct TConversion {
    TEvents Events;
    std::unique_ptr<TTaskList> List;
    String Out;
    TTaskTranscoder* Task() const { return List->Task(0); }
    // The task's terminate event.
    const TTerminateInfo& Result() const { return Events.Terminates.front(); }
};
// Converts AInput into AOut with AOptions; ABefore may adjust the list and the task
// before the start.  Fails the test when the task cannot be set up.
std::unique_ptr<TConversion> Convert(const String& AInput, const String& AOut, TOutputOptions AOptions,
                                     const std::function<void(TTaskList&, TTaskTranscoder&)>& ABefore = {});

// A clock that moves on by AStep microseconds every time it is read.
std::function<int64_t()> SteppingClock(int64_t AStep);

// Sets the logger's level for the life of the object.
class TLogLevelScope {
public:
    explicit TLogLevelScope(TLogLevel ALevel);
    ~TLogLevelScope();

private:
    TLogLevel FSaved;
};

}  // namespace converttest
