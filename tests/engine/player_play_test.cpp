// The player under SDL's dummy drivers: opening, playing, pausing, seeking, stopping.
#include "player_support.h"

#include "EngineTestSupport.h"
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

using namespace playertest;

class PlayerPlay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

TEST_F(PlayerPlay, PlaysToTheEndAndStops)
{
    TCustomPlayer P;
    TEventLog Log(P);
    ASSERT_TRUE(P.Open(Clip("grey.avi"), nullptr, false)) << P.LastErrMsg();
    EXPECT_EQ(Log.FileOpens, 1);
    EXPECT_EQ(Log.FrameWidth, 64);
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psEnd); }));
    P.Stop(true);
    ASSERT_TRUE(WaitUntil([&] { return Log.Has(psStop); }));
    auto States = Log.States();
    EXPECT_EQ(States.front(), psPlay);
    EXPECT_EQ(States.back(), psStop);
    EXPECT_TRUE(Log.AllOnMainThread());
    EXPECT_FALSE(Log.Positions().empty());
}

