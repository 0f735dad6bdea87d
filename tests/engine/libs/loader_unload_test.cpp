// Unloading the device library while the format library stays: avformat keeps the
// device lists that avdevice registered with it, and walks them whenever it looks a
// format up or probes an input.
#include "support/engine_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <gtest/gtest.h>

TEST(LoaderUnload, FormatsAreLookedUpAfterTheDeviceLibraryWasUnloaded)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TEngineLoader& L = FFLoader();
    ASSERT_TRUE(L.Loaded(TaskLibraries));
    for (int Round = 0; Round < 2; ++Round) {
        ASSERT_TRUE(L.Load(avDevice)) << L.LastErrMsg();
        L.Unload(avDevice);
        EXPECT_FALSE(L.Loaded(avDevice));
        EXPECT_EQ(AV.avdevice_register_all, nullptr);
        // A name no format has walks every demuxer and muxer the library knows of.
        EXPECT_EQ(AV.av_find_input_format("no_such_format"), nullptr);
        EXPECT_EQ(AV.av_guess_format("no_such_format", nullptr, nullptr), nullptr);
        EXPECT_NE(AV.av_find_input_format("avi"), nullptr);
    }
}
