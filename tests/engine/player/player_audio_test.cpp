// The player's audio output, played into a file by SDL's "disk" audio driver: sound,
// silence when muted or paused, and the volume.
#include "player/player_support.h"

#include "support/engine_support.h"
#include "engine/libs/FFmpegLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace playertest;

namespace {

class PlayerAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        Output = enginetest::ScratchFolder() + "audio.raw";
        setenv("SDL_DISKAUDIOFILE", Output.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "10", 1);
        ASSERT_TRUE(PreparePlayer("disk"));
    }
    // The 16-bit samples SDL wrote so far.
    std::vector<int16_t> Samples() const
    {
        std::ifstream In(Output, std::ios::binary);
        std::string Data((std::istreambuf_iterator<char>(In)), {});
        std::vector<int16_t> Out(Data.size() / 2);
        if (!Out.empty()) memcpy(Out.data(), Data.data(), Out.size() * 2);
        return Out;
    }
    static int Peak(const std::vector<int16_t>& ASamples, size_t AFrom = 0)
    {
        int P = 0;
        for (size_t I = AFrom; I < ASamples.size(); ++I) P = std::max(P, std::abs(int(ASamples[I])));
        return P;
    }
    // Plays tone.wav until its position passes AUntil microseconds.
    void Play(TCustomPlayer& P, int64_t AUntil)
    {
        ASSERT_TRUE(P.Open(Clip("tone.wav"), nullptr, false)) << P.LastErrMsg();
        ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > AUntil; }));
        P.Stop(true);
    }
    String Output;
};

}  // namespace

TEST_F(PlayerAudio, PlaysTheToneAtFullVolume)
{
    TCustomPlayer P;
    Play(P, 500000);
    auto S = Samples();
    ASSERT_GT(S.size(), 44100u / 4);
    // FFmpeg's sine source has an amplitude of 1/8 of full scale.
    EXPECT_NEAR(Peak(S), 4096, 200);
}

TEST_F(PlayerAudio, MuteGivesExactZerosWhileTheClockRuns)
{
    TCustomPlayer P;
    P.SetMute(true);
    Play(P, 500000);
    auto S = Samples();
    ASSERT_GT(S.size(), 44100u / 4);
    EXPECT_EQ(Peak(S), 0);
}

TEST_F(PlayerAudio, HalfVolumeHalvesTheSamples)
{
    TCustomPlayer P;
    P.SetAudioVolume(64);
    Play(P, 500000);
    int Half = Peak(Samples());
    EXPECT_NEAR(Half, 2048, 120);
}

TEST_F(PlayerAudio, PausedGivesSilenceAndTheClockStands)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("tone.wav"), nullptr, true)) << P.LastErrMsg();
    // SDL keeps asking for sound while the file is paused.
    ASSERT_TRUE(WaitUntil([&] { return Samples().size() > 44100u / 4; }));
    const int64_t Pos = P.CurrentPTS();
    EXPECT_LE(Pos, 0);
    EXPECT_EQ(Peak(Samples()), 0);
    EXPECT_EQ(P.VideoState()->audio_clock, 0);
    P.Resume();
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 300000; }));
    P.Stop(true);
    EXPECT_NEAR(Peak(Samples()), 4096, 200);
}

TEST_F(PlayerAudio, TheWaveDisplayDrawsTheSoundBeingPlayed)
{
    // The audio callback fills the sample ring while the play thread draws from it (under
    // the thread sanitizer this run shows any unguarded access between the two).
    TCustomPlayer P;
    P.SetShowAudio(saWave);
    ASSERT_TRUE(P.Open(Clip("tone.wav"), nullptr, false)) << P.LastErrMsg();
    ASSERT_EQ(P.VideoState()->show_audio, int(saWave));
    ASSERT_TRUE(WaitUntil([&] { return P.CurrentPTS() > 500000; }));
    // White columns of the wave around the screen's middle line.
    int White = 0, Height = 0;
    P.FDataLock.Acquire();
    if (SDL_Surface* S = P.Fscreen) {
        Height = S->h;
        AV.SDL_LockSurface(S);
        for (int Y = 0; Y < S->h; ++Y) {
            const auto* Row = static_cast<const uint8_t*>(S->pixels) + Y * S->pitch;
            for (int X = 0; X < S->w * S->format->BytesPerPixel; ++X) White += Row[X] == 0xFF;
        }
        AV.SDL_UnlockSurface(S);
    }
    P.FDataLock.Release();
    P.Stop(true);
    ASSERT_GT(Height, 0);
    EXPECT_GT(White, 0) << "no wave was drawn";
}
