// The player's aspect writer: the picture's place on the video surface from the stream's
// aspect, a forced aspect or the window's, changed while a paused file shows its picture.
#include "player/player_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <gtest/gtest.h>

using namespace playertest;

namespace {

class PlayerAspect : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

// The width of the white run in row AY of the player's surface (split.avi is white in its
// lower half and the surface around the picture is black), -1 without a surface.
int WhiteWidth(TCustomPlayer& APlayer, int AY)
{
    int Width = -1;
    APlayer.FDataLock.Acquire();
    if (SDL_Surface* S = APlayer.Fscreen) {
        Width = 0;
        AV.SDL_LockSurface(S);
        const int Bytes = S->format->BytesPerPixel;
        const auto* Row = static_cast<const uint8_t*>(S->pixels) + AY * S->pitch;
        for (int X = 0; X < S->w; ++X) {
            const uint8_t* Pixel = Row + X * Bytes;
            bool White = true;
            for (int I = 0; I < 3; ++I) White = White && Pixel[I] >= 200;
            Width += White;
        }
        AV.SDL_UnlockSurface(S);
    }
    APlayer.FDataLock.Release();
    return Width;
}

// Waits until the white run of the surface's row 50 is AWidth wide (within the scaler's
// rounding); the width seen last otherwise.
int WaitForWidth(TCustomPlayer& APlayer, int AWidth)
{
    int Seen = -1;
    WaitUntil([&] {
        Seen = WhiteWidth(APlayer, 50);
        return std::abs(Seen - AWidth) <= 2;
    });
    return Seen;
}

// Waits until a file opened paused has shown the pictures it queued.
bool WaitForSettled(TCustomPlayer& APlayer)
{
    return WaitUntil([&] {
        TVideoState* VS = APlayer.VideoState();
        int64_t PTS = -1;
        APlayer.CurrentFrame(PTS);
        return VS && VS->pictq_size == 0 && PTS == 40000 && APlayer.CurrentPTS() == PTS;
    });
}

}  // namespace

TEST_F(PlayerAspect, TheWriterPlacesThePictureAgainWhilePaused)
{
    // A 160 x 60 surface and a 64 x 48 picture: its own 4:3 fills the height and leaves
    // black at the sides.
    TCustomPlayer P;
    P.SetScreenWidth(160);
    P.SetScreenHeight(60);
    P.set_framedrop(0);  // both pictures of the paused open are shown
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("split.avi"), nullptr, true)) << P.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psPause); }));
    ASSERT_TRUE(WaitForSettled(P));
    EXPECT_NEAR(WaitForWidth(P, 80), 80, 2) << "the stream's own aspect";
    // The paused file shows nothing new on its own: the writer has the picture drawn
    // again in the new place.
    const struct {
        float Aspect;
        int Width;
    } Cases[] = {{-1.0f, 160}, {1.0f, 60}, {2.0f, 120}, {0.0f, 80}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Aspect);
        P.SetAspectRatio(C.Aspect);
        EXPECT_EQ(P.AspectRatio(), C.Aspect);
        EXPECT_NEAR(WaitForWidth(P, C.Width), C.Width, 2);
        EXPECT_TRUE(P.Paused());
    }
    P.Stop(true);
    // Set while nothing is open, the aspect holds for the next file.
    P.SetAspectRatio(-1.0f);
    ASSERT_TRUE(P.Open(Clip("split.avi"), nullptr, true)) << P.LastErrMsg();
    EXPECT_NEAR(WaitForWidth(P, 160), 160, 2);
    P.Stop(true);
}
