// Late pictures: a frame hook slower than the clip's frame rate makes every picture late.
// With frame dropping on, the player thins the pictures it decodes (the hook sees gaps in
// their times); with it off, every picture is passed on and shown, however late.
#include "player/player_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

using namespace playertest;

namespace {

class PlayerFramedrop : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

struct TLatePlay {
    std::vector<int64_t> Hooked;  // times of the pictures the hook saw
    float LargestSkip = 0;        // the decoder side's thinning factor at its largest
};

// Plays grey.avi (25 pictures a second) with a hook that takes 80 ms a picture until the
// hook has seen APictures pictures or the file has ended.
TLatePlay PlayLate(int AFramedrop, size_t APictures)
{
    TLatePlay Result;
    std::mutex Lock;
    TCustomPlayer P;
    P.set_framedrop(AFramedrop);
    TEventLog Log(P);
    P.OnHook = [&](TObject*, TBitmap*, int64_t APTS) {
        {
            std::lock_guard Guard(Lock);
            Result.Hooked.push_back(APTS);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
    };
    P.SetHook(true);
    EXPECT_TRUE(P.Open(Clip("grey.avi"), nullptr, false)) << P.LastErrMsg();
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (TVideoState* VS = P.VideoState()) Result.LargestSkip = std::max(Result.LargestSkip, VS->skip_frames.load());
            std::lock_guard Guard(Lock);
            return Result.Hooked.size() >= APictures || Log.Has(psEnd);
        },
        20000));
    P.Stop(true);
    std::lock_guard Guard(Lock);
    return Result;
}

// The largest step between the times of successive pictures, in pictures of 40 ms.
int64_t LargestStep(const std::vector<int64_t>& ATimes)
{
    int64_t Step = 0;
    for (size_t I = 1; I < ATimes.size(); ++I) Step = std::max(Step, (ATimes[I] - ATimes[I - 1]) / 40000);
    return Step;
}

}  // namespace

TEST_F(PlayerFramedrop, LatePicturesAreThinnedOnlyWhenDroppingIsOn)
{
    const TLatePlay Dropping = PlayLate(1, 20);
    ASSERT_GE(Dropping.Hooked.size(), 10u);
    EXPECT_GT(Dropping.LargestSkip, 1.0f);
    EXPECT_GE(LargestStep(Dropping.Hooked), 2) << "no picture was left out";

    const TLatePlay Keeping = PlayLate(0, 20);
    ASSERT_GE(Keeping.Hooked.size(), 20u);
    EXPECT_LE(Keeping.LargestSkip, 1.0f);
    for (size_t I = 0; I < Keeping.Hooked.size(); ++I) EXPECT_EQ(Keeping.Hooked[I], int64_t(I) * 40000) << I;
}
