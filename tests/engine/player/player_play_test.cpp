// The player under SDL's dummy drivers: opening, playing, pausing, seeking, stopping,
// stream choice, the current frame and the frame hook.
#include "player/player_support.h"

#include "support/pipe_support.h"

#include "support/engine_support.h"
#include "support/convert_support.h"
#include "engine/libs/FFmpegLoader.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace playertest;

namespace {

class PlayerPlay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

// The grey level (blue byte) at the centre of a 24-bit bitmap, -1 when it is empty.
int CentreGrey(TBitmap* ABitmap)
{
    if (!ABitmap || ABitmap->Width() <= 0 || ABitmap->Height() <= 0) return -1;
    auto* Row = static_cast<const uint8_t*>(ABitmap->ScanLine(ABitmap->Height() / 2));
    return Row[3 * (ABitmap->Width() / 2)];
}

// The picture on display once it is the one at APTS (microseconds), null when that
// does not come.
TBitmap* FrameAt(TCustomPlayer& APlayer, int64_t APTS)
{
    int64_t PTS = -1;
    if (!WaitUntil([&] {
            APlayer.CurrentFrame(PTS);
            return PTS == APTS;
        }))
        return nullptr;
    return APlayer.CurrentFrame(PTS);
}

// The picture a paused file shows once the pictures queued for it have been shown (its
// time in APTS), null when the file does not settle.  The player must not drop late
// pictures (framedrop 0): a dropped picture sets the clock without being shown.
TBitmap* SettledFrame(TCustomPlayer& APlayer, int64_t& APTS)
{
    if (!WaitUntil([&] {
            TVideoState* VS = APlayer.VideoState();
            if (!VS || VS->pictq_size != 0 || APlayer.Seeking()) return false;
            APlayer.CurrentFrame(APTS);
            return APTS >= 0 && APTS == APlayer.CurrentPTS();
        }))
    {
        TVideoState* VS = APlayer.VideoState();
        APlayer.CurrentFrame(APTS);
        ADD_FAILURE() << "the paused picture does not settle: queued " << (VS ? VS->pictq_size.load() : -1)
                      << ", seeking " << APlayer.Seeking() << ", shown " << APTS << ", position "
                      << APlayer.CurrentPTS();
        return nullptr;
    }
    return APlayer.CurrentFrame(APTS);
}

// The shown picture is the one of its time (grey clips).
void ExpectPictureOfItsTime(TBitmap* AFrame, int64_t APTS)
{
    ASSERT_NE(AFrame, nullptr);
    ASSERT_EQ(APTS % 40000, 0) << APTS;
    EXPECT_NEAR(CentreGrey(AFrame), GreyRGB(int(APTS / 40000)), 3) << APTS;
}

}  // namespace

TEST_F(PlayerPlay, PlaysToTheEndWithEventsOnTheGuiThread)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, false)) << P.LastErrMsg();
    EXPECT_EQ(Log.FileOpens, 1);
    EXPECT_EQ(Log.Duration, 2000000);
    EXPECT_EQ(Log.FrameWidth, 64);
    EXPECT_EQ(Log.FrameHeight, 48);
    EXPECT_EQ(P.VideoStreamIndex(), 0);
    EXPECT_EQ(P.AudioStreamIndex(), -1);
    EXPECT_EQ(P.FileName(), Clip("grey.avi"));
    EXPECT_EQ(P.AVProbe()->VideoStreamCount(), 1);
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psEnd); }));
    // The end comes when every packet has been read and decoded; the last pictures are
    // still shown after it, up to the duration itself.
    ASSERT_TRUE(WaitUntil([&] { return Log.Positions().back() == 2000000; }));
    // The end is reported once while the file stays at its end.
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(Log.Count(psEnd), 1);
    P.Stop(true);
    EXPECT_TRUE(Log.Has(psStop));  // delivered while Stop waited
    auto States = Log.States();
    EXPECT_EQ(States.front(), psPlay);
    EXPECT_EQ(States.back(), psStop);
    EXPECT_TRUE(Log.AllOnMainThread());
    // Positions follow the video clock, which runs on between pictures: a picture shown
    // late may report a little less than the clock did before it, never much less.
    auto Positions = Log.Positions();
    ASSERT_GE(Positions.size(), 5u);
    for (size_t I = 1; I < Positions.size(); ++I) EXPECT_GT(Positions[I], Positions[I - 1] - 500000);
    EXPECT_LT(Positions.front(), 500000);
    EXPECT_EQ(Positions.back(), 2000000);
    EXPECT_EQ(P.VideoState(), nullptr);
    EXPECT_TRUE(P.Paused());
}

TEST_F(PlayerPlay, OpenPausedShowsTwoPicturesThenPauses)
{
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true)) << P.LastErrMsg();
    EXPECT_TRUE(P.Paused());
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    // The second picture is on display once both have been refreshed.
    TBitmap* Frame = FrameAt(P, 40000);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->Width(), 64);
    EXPECT_EQ(Frame->Height(), 48);
    EXPECT_NEAR(CentreGrey(Frame), GreyRGB(1), 3);
    EXPECT_TRUE(ReportedAs(Log.States(), {psPlay, psPause}));
    // Still paused a while later: no more pictures.
    WaitUntil([] { return false; }, 200);
    int64_t PTS = -1;
    P.CurrentFrame(PTS);
    EXPECT_EQ(PTS, 40000);
    P.Stop(true);
}

TEST_F(PlayerPlay, PauseResumeAndStepReportOnlyChanges)
{
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    P.SetDisableAudio(true);
    ASSERT_TRUE(P.Open(Clip("long.mkv"), nullptr, true)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    P.Pause();  // already paused: nothing
    P.Resume();
    EXPECT_FALSE(P.Paused());
    P.Resume();  // already playing: nothing
    // Each change is awaited before the next, so that the ring keeps them apart.
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psResume); }));
    P.Pause();
    EXPECT_TRUE(P.Paused());
    ASSERT_TRUE(WaitUntil([&] { return Log.Count(psPause) == 2; }));
    int64_t Before = -1;
    ASSERT_NE(SettledFrame(P, Before), nullptr);
    // Two steps: one state report, one more picture each.
    P.StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] { return P.Paused() && Log.Has(psStep); }));
    P.StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] { return P.Paused(); }));
    int64_t After = -1;
    ASSERT_TRUE(WaitUntil([&] {
        P.CurrentFrame(After);
        return After >= Before + 80000;
    }));
    P.Stop(true);
    EXPECT_TRUE(ReportedAs(Log.States(), {psPlay, psPause, psResume, psPause, psStep, psStop}));
    EXPECT_EQ(Log.Count(psStep), 1);
    EXPECT_FALSE(Log.Has(psEnd));
}

TEST_F(PlayerPlay, SeekWhilePausedShowsTheNewPictureAndStaysPaused)
{
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    const struct {
        int64_t Target;
        int Frame;
    } Seeks[] = {{1000000, 25}, {400000, 10}, {1800000, 45}, {0, 0}};
    for (const auto& S : Seeks) {
        P.Seek(S.Target, TSeekFlags{}, true);
        TBitmap* Frame = FrameAt(P, S.Frame * 40000);
        ASSERT_NE(Frame, nullptr) << S.Target;
        EXPECT_NEAR(CentreGrey(Frame), GreyRGB(S.Frame), 3) << S.Target;
        EXPECT_TRUE(P.Paused());
        EXPECT_FALSE(P.Seeking());
    }
    P.Stop(true);
    EXPECT_TRUE(ReportedAs(Log.States(), {psPlay, psPause, psStop}));
}

TEST_F(PlayerPlay, SeeksOfEveryKindShowThePictureOfTheirTime)
{
    // Each seek is made on a paused file and waited for; the picture then shown is the
    // one of the time it reports, within the window that kind of seek reaches.
    struct TCase {
        const char* Name;
        const char* File;
        std::function<void(TCustomPlayer&)> Seek;
        std::function<bool(int64_t APrevious, int64_t ANow)> Reached;
    };
    const int64_t Size = int64_t(std::filesystem::file_size(Clip("grey.ts")));
    const TCase Cases[] = {
        {"forwards by time", "grey.avi", [](TCustomPlayer& P) { P.Seek(int64_t(1200000), TSeekFlags{}, true); },
         [](int64_t, int64_t T) { return T == 1200000; }},
        {"backwards by time", "grey.avi",
         [](TCustomPlayer& P) { P.Seek(int64_t(400000), TSeekFlags{sfBackward}, true); },
         [](int64_t, int64_t T) { return T == 400000; }},
        {"forwards by a second", "grey.avi", [](TCustomPlayer& P) { P.Seek(1.0, TSeekFlags{}, true); },
         [](int64_t A, int64_t T) { return T == A + 1000000; }},
        {"backwards by a second", "grey.avi", [](TCustomPlayer& P) { P.Seek(-1.0, TSeekFlags{sfBackward}, true); },
         [](int64_t A, int64_t T) { return T == A - 1000000; }},
        {"to a frame", "grey.avi", [](TCustomPlayer& P) { P.Seek(int64_t(1000000), TSeekFlags{sfFrame}, true); },
         [](int64_t, int64_t T) { return T == 1000000; }},
        {"to any picture", "grey.avi", [](TCustomPlayer& P) { P.Seek(int64_t(1240000), TSeekFlags{sfAny}, true); },
         [](int64_t, int64_t T) { return T == 1240000; }},
        {"to the middle byte", "grey.ts", [Size](TCustomPlayer& P) { P.Seek(Size / 2, TSeekFlags{sfByte}, true); },
         [](int64_t, int64_t T) { return T >= 1000000 && T <= 3000000; }},
        {"a second's bytes forwards", "grey.ts", [](TCustomPlayer& P) { P.Seek(1.0, TSeekFlags{sfByte}, true); },
         [](int64_t A, int64_t T) { return T > A; }},
        {"two seconds' bytes backwards", "grey.ts",
         [](TCustomPlayer& P) { P.Seek(-2.0, TSeekFlags{sfByte, sfBackward}, true); },
         [](int64_t A, int64_t T) { return T < A; }},
    };
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    String Open;
    int64_t Previous = 0;
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        if (Open != C.File) {
            ASSERT_TRUE(P.Open(Clip(C.File), nullptr, true)) << P.LastErrMsg();
            ASSERT_TRUE(WaitUntil([&] { return P.PlayState() == psPause; }));
            Open = C.File;
        }
        C.Seek(P);
        EXPECT_FALSE(P.Seeking());
        int64_t PTS = -1;
        TBitmap* Frame = SettledFrame(P, PTS);
        ExpectPictureOfItsTime(Frame, PTS);
        EXPECT_TRUE(C.Reached(Previous, PTS)) << Previous << " -> " << PTS;
        EXPECT_TRUE(P.Paused());
        // The position reported last is the picture's.
        ASSERT_TRUE(WaitUntil([&] { return !Log.Positions().empty() && Log.Positions().back() == PTS; }));
        Previous = PTS;
    }
    P.Stop(true);
}

TEST_F(PlayerPlay, PausedAtTheEndTheEndIsNeitherRepeatedNorPiledUp)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, false)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psEnd); }));
    P.Pause();
    ASSERT_TRUE(WaitUntil([&] { return Log.Count(psPause) == 1; }));
    // The read thread keeps finding the end while nothing takes its marker.
    TVideoState* VS = P.VideoState();
    WaitUntil([] { return false; }, 300);
    EXPECT_LE(QueueEndMarkers(&VS->videoq), 1);
    EXPECT_LE(QueuePackets(&VS->videoq), 1);
    EXPECT_EQ(Log.Count(psEnd), 1);
    // Played again from the start, the end is reported again.
    P.Seek(int64_t(1600000), TSeekFlags{}, true);
    P.Resume();
    ASSERT_TRUE(WaitUntil([&] { return Log.Count(psEnd) == 2; }));
    P.Stop(true);
    EXPECT_TRUE(ReportedAs(Log.States(), {psPlay, psEnd, psPause, psResume, psEnd, psStop}));
}

TEST_F(PlayerPlay, SeekWhilePlayingAndRelativeSeek)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("av.mkv"), nullptr, false)) << P.LastErrMsg();
    EXPECT_GE(P.AudioStreamIndex(), 0);
    P.Seek(int64_t(1500000), TSeekFlags{}, true);
    EXPECT_FALSE(P.Seeking());
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() >= 1500000; }));
    EXPECT_LT(P.CurrentPTS(), 1900000);
    // Backwards by one second from where the clocks are.
    P.Seek(-1.0, TSeekFlags{sfBackward}, true);
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() < 1200000; }));
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psEnd); }));
    // Sought back from the end, the end is reported again.
    P.Seek(int64_t(1000000), TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] { return Log.Count(psEnd) == 2; }));
    P.Stop(true);
}

TEST_F(PlayerPlay, ManyCyclesOfPlayPauseSeekMuteAndStop)
{
    // One player, one file after another (with and without its audio): opened paused,
    // sought forwards, played, paused, sought backwards, stopped.  The log is captured for
    // the whole test: the player's threads read the logger's handler while a file is open,
    // so it is set before the first open and put back after the player is gone.
    enginetest::TLogCapture PlayerLog;
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    for (int Cycle = 0; Cycle < 6; ++Cycle) {
        SCOPED_TRACE(Cycle);
        const size_t StatesBefore = Log.States().size();
        const bool WithAudio = Cycle % 2 == 0;
        P.SetDisableAudio(!WithAudio);
        P.SetMute(Cycle % 3 == 0);
        ASSERT_TRUE(P.Open(Clip("long.mkv"), nullptr, true)) << P.LastErrMsg();
        EXPECT_EQ(P.AudioStreamIndex() >= 0, WithAudio);
        auto Count = [&](TPlayState S) {
            auto V = Log.StatesSince(StatesBefore);
            return int(std::count(V.begin(), V.end(), S));
        };
        ASSERT_TRUE(WaitUntil([&] { return Count(psPause) == 1; }));

        const int64_t Target = 1000000 + Cycle * 400000;
        P.Seek(Target, TSeekFlags{}, true);
        int64_t PTS = -1;
        TBitmap* Frame = SettledFrame(P, PTS);
        EXPECT_EQ(PTS, Target);
        ExpectPictureOfItsTime(Frame, PTS);

        P.Resume();
        ASSERT_TRUE(WaitUntil([&] { return Count(psResume) == 1; }));
        ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() >= Target + 200000; }));
        P.Pause();
        ASSERT_TRUE(WaitUntil([&] { return Count(psPause) == 2; }));
        int64_t Paused = -1;
        Frame = SettledFrame(P, Paused);
        ExpectPictureOfItsTime(Frame, Paused);
        EXPECT_GE(Paused, Target);

        // Back from the master clock: the shown picture's time without audio; with it,
        // the audio clock, which a busy machine may have let run ahead of the pictures,
        // so that file goes back to a time instead.
        const size_t LogBefore = PlayerLog.Lines().size();
        if (WithAudio)
            P.Seek(Paused - 600000, TSeekFlags{sfBackward}, true);
        else
            P.Seek(-0.6, TSeekFlags{sfBackward}, true);
        Frame = SettledFrame(P, PTS);
        ExpectPictureOfItsTime(Frame, PTS);
        EXPECT_LT(PTS, Paused) << "position " << P.CurrentPTS() << ", log: " << [&] {
            String R;
            const std::vector<String> Lines = PlayerLog.Lines();
            for (size_t I = LogBefore; I < Lines.size(); ++I) R += Lines[I] + " | ";
            return R;
        }();
        ASSERT_TRUE(WaitUntil([&] { return !Log.Positions().empty() && Log.Positions().back() == PTS; }));

        P.Stop(true);
        EXPECT_EQ(P.VideoState(), nullptr);
        EXPECT_TRUE(ReportedAs(Log.StatesSince(StatesBefore), {psPlay, psPause, psResume, psPause, psStop}));
    }
    // Every position lies within the file.
    for (int64_t Position : Log.Positions()) {
        EXPECT_GE(Position, 0);
        EXPECT_LE(Position, 10000000);
    }
    P.Stop(true);  // nothing open: nothing happens
    EXPECT_EQ(Log.Count(psStop), 6);
}

TEST_F(PlayerPlay, StopWithoutWaitingThenOpenAgain)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, false));
    P.Stop(false);
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psStop); }));
    EXPECT_EQ(P.VideoState(), nullptr);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true));
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    P.Stop(true);
}

TEST_F(PlayerPlay, ReopenFromInsideTheEndHandler)
{
    // A play list: the host opens the next file when one ends, inside the state event.
    TCustomPlayer P;
    std::atomic<int> Ends{0}, Stops{0}, Pauses{0};
    P.OnState = [&](TObject*, TPlayState S) {
        Stops += S == psStop;
        Pauses += S == psPause;
        if (S == psEnd && ++Ends == 1) {
            ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true));
        }
    };
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, false));
    // The second file, opened paused, reports its pause.
    ASSERT_TRUE(WaitUntil([&] { return Ends == 1 && Pauses == 1; }, 30000));
    ASSERT_TRUE(P.VideoState() != nullptr);
    P.Stop(true);
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(Stops, 1);  // the stop of the first file came while its own handler ran
}

TEST_F(PlayerPlay, FreedFromInsideItsOwnHandler)
{
    auto* P = new TCustomPlayer;
    bool Freed = false;
    P->OnState = [&](TObject*, TPlayState S) {
        if (S == psPause && !Freed) {
            Freed = true;
            delete P;
        }
    };
    ASSERT_TRUE(P->Open(Clip("grey.avi"), nullptr, true));
    ASSERT_TRUE(WaitUntil([&] { return Freed; }));
    WaitUntil([] { return false; }, 100);
}

TEST_F(PlayerPlay, FailuresLeaveThePlayerClosedAndReusable)
{
    TCustomPlayer P;
    TEventLog Log(P);
    enginetest::TLogCapture Capture;
    EXPECT_FALSE(P.Open(Clip("grey.avi") + ".missing", nullptr, false));
    EXPECT_NE(P.LastErrMsg().find("No such file or directory"), String::npos) << P.LastErrMsg();
    EXPECT_FALSE(P.Open(enginetest::Media("notmedia.txt"), nullptr, false));
    EXPECT_FALSE(P.LastErrMsg().empty());
    EXPECT_FALSE(P.Open(Clip("subs.mkv"), nullptr, false));
    EXPECT_EQ(P.LastErrMsg(), Clip("subs.mkv") + ": could not open codecs, no stream to play.");
    EXPECT_TRUE(Capture.Contains("could not open codecs, no stream to play."));
    String Long = "/tmp/" + String(1100, 'x') + ".avi";
    EXPECT_FALSE(P.Open(Long, nullptr, false));
    EXPECT_NE(P.LastErrMsg().find("too long"), String::npos);
    EXPECT_EQ(P.VideoState(), nullptr);
    EXPECT_EQ(Log.FileOpens, 0);
    EXPECT_TRUE(Log.States().empty());
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true));
    P.Stop(true);
}

TEST_F(PlayerPlay, AFileOpenHandlerThatRaisesLeavesThePlayerClosedAndReusable)
{
    TCustomPlayer P;
    P.OnFileOpen = [](TObject*, int64_t, int, int, int&, int&) { throw Exception("the host refuses"); };
    EXPECT_FALSE(P.Open(Clip("grey.avi"), nullptr, false));
    EXPECT_NE(P.LastErrMsg().find("the host refuses"), String::npos) << P.LastErrMsg();
    EXPECT_EQ(P.VideoState(), nullptr);
    P.OnFileOpen = nullptr;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true)) << P.LastErrMsg();
    EXPECT_EQ(Log.FileOpens, 1);
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    P.Stop(true);
    EXPECT_EQ(P.VideoState(), nullptr);
}

TEST_F(PlayerPlay, ASecondPlayerIsRefusedAndLeavesTheFirstPlaying)
{
    TCustomPlayer First;
    TEventLog Log(First);
    ASSERT_TRUE(First.Open(Clip("grey.avi"), nullptr, true)) << First.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    {
        TCustomPlayer Second;
        EXPECT_FALSE(Second.Open(Clip("grey.avi"), nullptr, false));
        EXPECT_NE(Second.LastErrMsg().find("only one file plays at a time"), String::npos) << Second.LastErrMsg();
        Second.Stop(true);
    }
    // The first one still plays: it continues and reaches the end of its file.
    ASSERT_NE(First.VideoState(), nullptr);
    First.Resume();
    EXPECT_TRUE(WaitUntil([&] { return Log.Has(psEnd); }));
    First.Stop(true);
    // Once it is closed, another player may open.
    TCustomPlayer Third;
    ASSERT_TRUE(Third.Open(Clip("grey.avi"), nullptr, true)) << Third.LastErrMsg();
    Third.Stop(true);
}

TEST_F(PlayerPlay, AChosenDriverHoldsForItsOpenOnly)
{
    const char* Before = getenv("SDL_AUDIODRIVER");
    const String Saved = Before ? Before : "";
    ASSERT_NE(Saved, "alsa");
    TCustomPlayer P;
    P.SetAudioDriver(adWaveOut);  // "alsa" while SDL starts
    P.Open(Clip("grey.avi"), nullptr, true);
    P.Stop(true);
    const char* After = getenv("SDL_AUDIODRIVER");
    EXPECT_EQ(After ? String(After) : String(), Saved);
}

TEST_F(PlayerPlay, AudioOnlyFileShowsTheVisualisation)
{
    TCustomPlayer P;
    TEventLog Log(P);
    P.SetShowAudio(saRDFT);
    ASSERT_TRUE(P.Open(Clip("tone.wav"), nullptr, false)) << P.LastErrMsg();
    EXPECT_EQ(P.VideoStreamIndex(), -1);
    EXPECT_EQ(P.AudioStreamIndex(), 0);
    EXPECT_EQ(P.VideoState()->show_audio, int(saRDFT));
    EXPECT_EQ(P.VideoState()->video_tid, nullptr);
    EXPECT_EQ(Log.FrameWidth, -1);
    int64_t PTS = 0;
    TBitmap* Frame = P.CurrentFrame(PTS);
    EXPECT_EQ(PTS, -1);
    EXPECT_EQ(Frame->Width(), 0);
    // Cycles none -> wave -> spectrum without changing the property.
    P.ToggleAudioDisplay();
    EXPECT_EQ(P.VideoState()->show_audio, 0);
    P.ToggleAudioDisplay();
    EXPECT_EQ(P.VideoState()->show_audio, 1);
    EXPECT_EQ(P.ShowAudio(), saRDFT);
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 200000; }));
    P.Stop(true);
}

TEST_F(PlayerPlay, StreamChoiceAndSwitching)
{
    TCustomPlayer P;
    P.set_wanted_audio_stream(1);  // the second audio stream
    ASSERT_TRUE(P.Open(enginetest::Media("av.mkv"), nullptr, true)) << P.LastErrMsg();
    EXPECT_EQ(P.AudioStreamIndex(), 2);
    EXPECT_EQ(P.VideoStreamIndex(), 0);
    P.SetAudioStreamIndex(1);
    EXPECT_EQ(P.AudioStreamIndex(), 1);
    P.SetAudioStreamIndex(0);  // the video stream
    EXPECT_EQ(P.LastErrMsg(), "the stream type is not matched.");
    P.SetAudioStreamIndex(9);
    EXPECT_EQ(P.LastErrMsg(), "the stream index is not valid.");
    EXPECT_EQ(P.AudioStreamIndex(), 1);
    P.SetSubtitleStreamIndex(-1);  // none open, none asked: nothing to do
    EXPECT_EQ(P.SubtitleStreamIndex(), -1);
    P.Stop(true);
    // A stream number beyond the streams of that type opens none of them.
    P.set_wanted_audio_stream(5);
    ASSERT_TRUE(P.Open(enginetest::Media("av.mkv"), nullptr, true));
    EXPECT_EQ(P.AudioStreamIndex(), -1);
    P.Stop(true);
    // Subtitles (text ones, decoded and let go) are closed by the index -1.
    ASSERT_TRUE(P.Open(converttest::Clip("sub.mkv"), nullptr, false)) << P.LastErrMsg();
    EXPECT_GE(P.SubtitleStreamIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 600000; }));
    P.SetSubtitleStreamIndex(-1);
    EXPECT_EQ(P.SubtitleStreamIndex(), -1);
    EXPECT_EQ(P.VideoState()->subtitle_tid, nullptr);
    P.Stop(true);
}

TEST_F(PlayerPlay, AStartTimeHoldsForTheNextOpenOnly)
{
    // Set before an Open, the start time places the file; the close that the next Open
    // performs first forgets it.
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    P.set_start_time(1000000);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return P.PlayState() == psPause; }));
    int64_t PTS = -1;
    TBitmap* Frame = SettledFrame(P, PTS);
    EXPECT_EQ(PTS, 1040000);  // the second picture from the start time
    ExpectPictureOfItsTime(Frame, PTS);
    P.set_start_time(1000000);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true)) << P.LastErrMsg();
    EXPECT_EQ(P.start_time(), AV_NOPTS_VALUE);
    ASSERT_TRUE(WaitUntil([&] { return P.PlayState() == psPause; }));
    Frame = SettledFrame(P, PTS);
    EXPECT_EQ(PTS, 40000);
    P.Stop(true);
}

TEST_F(PlayerPlay, CurrentFrameWithNothingOpen)
{
    TCustomPlayer P;
    int64_t PTS = 0;
    TBitmap* A = P.CurrentFrame(PTS);
    EXPECT_EQ(PTS, -1);
    EXPECT_EQ(A->Width(), 0);
    EXPECT_EQ(A->Height(), 0);
    EXPECT_EQ(P.CurrentFrame(), A);  // the same object every time
}

TEST_F(PlayerPlay, HookDrawsOnEveryPicture)
{
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    std::vector<int64_t> Hooked;
    std::vector<bool> OnMain;
    P.OnHook = [&](TObject*, TBitmap* B, int64_t PTS) {
        Hooked.push_back(PTS);
        OnMain.push_back(IsMainThread());
        // White in the lower half of what is shown.
        B->Canvas()->Brush()->SetColor(clWhite);
        B->Canvas()->FillRect(Rect(0, B->Height() / 2, B->Width(), B->Height()));
    };
    P.SetHook(true);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, true));
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    TBitmap* Frame = FrameAt(P, 40000);
    ASSERT_NE(Frame, nullptr);
    auto Grey = [&](int Y) { return int(static_cast<const uint8_t*>(Frame->ScanLine(Y))[30]); };
    EXPECT_NEAR(Grey(5), GreyRGB(1), 3);
    EXPECT_GE(Grey(40), 250);
    ASSERT_EQ(Hooked.size(), 2u);
    EXPECT_EQ(Hooked[0], 0);
    EXPECT_EQ(Hooked[1], 40000);
    EXPECT_FALSE(OnMain[0]);  // on the video decoding thread
    P.Stop(true);
}

TEST_F(PlayerPlay, VerticalFlipShowsAndHooksTheTurnedPicture)
{
    TCustomPlayer P;
    P.set_framedrop(0);  // every picture is shown, so the one shown is the clock's
    TEventLog Log(P);
    std::vector<int> HookTop;
    P.OnHook = [&](TObject*, TBitmap* B, int64_t) { HookTop.push_back(static_cast<const uint8_t*>(B->ScanLine(2))[30]); };
    P.SetHook(true);
    P.SetVerticalFlip(true);
    ASSERT_TRUE(P.Open(Clip("split.avi"), nullptr, true));
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    TBitmap* Frame = FrameAt(P, 40000);
    ASSERT_NE(Frame, nullptr);
    // The clip is black above and white below; turned, white is on top.
    EXPECT_GE(static_cast<const uint8_t*>(Frame->ScanLine(2))[30], 250);
    EXPECT_LE(static_cast<const uint8_t*>(Frame->ScanLine(45))[30], 5);
    ASSERT_FALSE(HookTop.empty());
    EXPECT_GE(HookTop[0], 250);
    P.Stop(true);
}

TEST_F(PlayerPlay, HostWindowRules)
{
    InitForms();
    auto* Form = new TForm(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(10, 10, 300, 200);
    auto* Panel = new TCustomControl(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(20, 20, 160, 90);
    Form->Show();
    {
        TCustomPlayer P;
        TEventLog Log(P);
        ASSERT_TRUE(P.Open(Clip("grey.avi"), Panel->Handle(), true)) << P.LastErrMsg();
        EXPECT_EQ(P.ScreenHandle(), Panel->Handle());
        EXPECT_EQ(P.ScreenWidth(), 160);  // the host's client size
        EXPECT_EQ(P.ScreenHeight(), 90);
        ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
        // The video area is the host's size.
        ASSERT_TRUE(WaitUntil([&] { return P.VideoState()->width == 160; }));
        EXPECT_EQ(P.VideoState()->height, 90);
        // A close request is swallowed; a press gives the host the focus.
        EXPECT_EQ(SendMessage(Panel->Handle(), WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(Panel->Handle()));
        SendMessage(Panel->Handle(), WM_LBUTTONDOWN, 0, 0);
        EXPECT_EQ(GetFocus(), Panel->Handle());
        // The host going away stops the file first.
        delete Form;
        EXPECT_EQ(P.VideoState(), nullptr);
        EXPECT_TRUE(Log.Has(psStop));
    }
    DoneForms();
}

TEST_F(PlayerPlay, StopWhileTheReadIsBlockedInAPipe)
{
    // A named pipe that delivers the first half of a clip and then nothing while its
    // writer keeps it open: Stop(true) does not wait for the writer.
    const String Fifo = enginetest::ScratchFolder() + "clip.mkv";
    enginetest::TPipeFeeder Feeder(Fifo, Clip("av.mkv"), 0.5);
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Fifo, nullptr, false)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return P.VideoState()->Reading == 1 && P.CurrentPTS() > 100000; }));
    P.Stop(true);
    EXPECT_FALSE(Feeder.Closed()) << "the stop waited for the pipe's writer";
    EXPECT_EQ(P.VideoState(), nullptr);
    EXPECT_EQ(Log.States().back(), psStop);
}
