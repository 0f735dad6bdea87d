// The player's format, display and pause properties on SDL's dummy drivers.
#include "player/player_support.h"

#include "support/engine_support.h"

#include "platform/graphics/Graphics.h"
#include "platform/system/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace playertest;

namespace {

class PlayerProperties : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

}  // namespace

TEST_F(PlayerProperties, TheFormatWriterForcesTheDemuxerOfTheNextOpen)
{
    const struct {
        const char* Format;
        bool Opens;  // grey.avi opens under it
    } Cases[] = {{"", true}, {"avi", true}, {"mpegts", false}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Format);
        TCustomPlayer P;
        P.SetFormat(C.Format);
        EXPECT_EQ(P.Format(), C.Format);
        EXPECT_EQ(P.Open(Clip("grey.avi"), nullptr, true), C.Opens) << P.LastErrMsg();
        P.Stop(true);
        EXPECT_EQ(P.VideoState(), nullptr);
    }
    // A name no demuxer has is refused and the format stays.
    TCustomPlayer P;
    P.SetFormat("avi");
    try {
        P.SetFormat("no_such_format");
        ADD_FAILURE() << "an unknown format was taken";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Unknown input format: no_such_format");
    }
    EXPECT_EQ(P.Format(), "avi");
}

TEST_F(PlayerProperties, TogglePauseAlternatesPauseAndResume)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("long.mkv"), nullptr, false)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPlay); }));
    EXPECT_FALSE(P.Paused());
    P.TogglePause();
    EXPECT_TRUE(P.Paused());
    ASSERT_TRUE(WaitUntil([&] { return !Log.States().empty() && Log.States().back() == psPause; }));
    P.TogglePause();
    EXPECT_FALSE(P.Paused());
    ASSERT_TRUE(WaitUntil([&] { return !Log.States().empty() && Log.States().back() == psResume; }));
    const int64_t At = P.CurrentPTS();
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > At; }));  // the clock runs again
    P.Stop(true);
}

TEST_F(PlayerProperties, WithTheDisplayDisabledOnlyTheSoundPlays)
{
    TCustomPlayer P;
    TEventLog Log(P);
    P.SetDisableDisplay(true);
    ASSERT_TRUE(P.Open(Clip("av.mkv"), nullptr, false)) << P.LastErrMsg();
    EXPECT_EQ(P.VideoStreamIndex(), -1);
    EXPECT_GE(P.AudioStreamIndex(), 0);
    EXPECT_EQ(P.VideoState()->video_tid, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 300000; }));  // timed by the sound
    int64_t PTS = 0;
    EXPECT_EQ(P.CurrentFrame(PTS)->Width(), 0);
    P.Stop(true);
    EXPECT_TRUE(Log.Has(psStop));
}

TEST_F(PlayerProperties, WithoutASoundDeviceThePicturesStillPlay)
{
    // SDL's audio cannot start: the file plays its pictures, timed by the video clock.
    const char* Saved = getenv("SDL_AUDIODRIVER");
    const String SavedDriver = Saved ? Saved : "";
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    {
        enginetest::TLogCapture Log;
        TCustomPlayer P;
        TEventLog Events(P);
        ASSERT_TRUE(P.Open(Clip("av.mkv"), nullptr, false)) << P.LastErrMsg();
        EXPECT_GE(P.VideoStreamIndex(), 0);
        EXPECT_EQ(P.AudioStreamIndex(), -1);
        ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 300000; }));
        P.Stop(true);
        // SDL either does not start its audio part or cannot open the device; either way
        // the log says so.
        bool Warned = false;
        for (const String& L : Log.Lines())
            Warned = Warned || L.find("SDL audio is not available") != String::npos ||
                     L.find("SDL_OpenAudio() failed") != String::npos;
        EXPECT_TRUE(Warned);
        EXPECT_TRUE(Events.Has(psStop));
    }
    if (Saved) setenv("SDL_AUDIODRIVER", SavedDriver.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
}
