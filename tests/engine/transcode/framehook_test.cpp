// Frame hook libraries: loading, configuring, running in order, releasing.
#include "support/engine_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/transcode/FrameHook.h"
#include "platform/system/Paths.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <vector>

namespace {

String HookPath(const char* AVariant) { return String(VC_TEST_HOOK_DIR) + "test_hook_" + AVariant + ".so"; }

// Calls AddFrameHook with the words of AArgs.
int Add(TFrameHookEntry** AFirst, std::vector<String> AArgs)
{
    std::vector<char*> Argv;
    for (String& A : AArgs) Argv.push_back(A.data());
    return AddFrameHook(AFirst, int(Argv.size()), Argv.data());
}

int Counter(const char* AVariant, const char* AName)
{
    void* H = dlopen(HookPath(AVariant).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!H) return -1;
    auto Fn = reinterpret_cast<int (*)()>(dlsym(H, AName));
    int V = Fn ? Fn() : -1;
    dlclose(H);
    return V;
}

struct TLumaPicture {
    uint8_t Y[4 * 2] = {10, 10, 10, 10, 10, 10, 10, 10};
    TFrameHookPicture Pict{{Y, nullptr, nullptr, nullptr}, {4, 0, 0, 0}};
};

class FrameHooks : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(enginetest::LoadLibraries()); }
    void TearDown() override { ReleaseFrameHooks(&First); }
    TFrameHookEntry* First = nullptr;
};

}  // namespace

TEST_F(FrameHooks, RejectedLibrariesAndArguments)
{
    enginetest::TLogCapture Log;
    EXPECT_EQ(Add(&First, {}), -2);
    EXPECT_EQ(Add(&First, {"/nonexistent/hook.so"}), -1);
    EXPECT_EQ(Add(&First, {HookPath("noprocess")}), -2);
    EXPECT_TRUE(Log.Contains("Failed to find Process entrypoint in " + HookPath("noprocess")));
    EXPECT_EQ(Add(&First, {HookPath("noconfigure"), "add", "2"}), -2);
    EXPECT_TRUE(Log.Contains("Failed to find Configure entrypoint in " + HookPath("noconfigure")));
    EXPECT_EQ(Add(&First, {HookPath("full"), "fail"}), -22);
    EXPECT_TRUE(Log.Contains("Failed to Configure " + HookPath("full")));
    EXPECT_EQ(First, nullptr);
}

TEST_F(FrameHooks, RunInChainOrderAndReleaseEach)
{
    // One library named twice is loaded once and gets two entries with their own contexts.
    // A library stays loaded once used, its counters with it: they are compared with what
    // they held before, so the test also holds when it runs again in the same process.
    const std::pair<const char*, const char*> Counted[] = {
        {"full", "TestHookConfigured"}, {"full", "TestHookProcessed"}, {"noconfigure", "TestHookProcessed"},
        {"full", "TestHookReleased"}, {"noconfigure", "TestHookReleased"}};
    std::map<std::pair<String, String>, int> Before;
    for (auto [V, N] : Counted) Before[{V, N}] = std::max(Counter(V, N), 0);
    auto Since = [&](const char* V, const char* N) { return Counter(V, N) - Before[{V, N}]; };
    const int LoadedBefore = LoadedFrameHookLibraries();
    ASSERT_EQ(Add(&First, {HookPath("full"), "fill", "100"}), 0);
    ASSERT_EQ(Add(&First, {HookPath("full"), "add", "5"}), 0);
    ASSERT_EQ(Add(&First, {HookPath("noconfigure")}), 0);  // no arguments: no Configure needed
    EXPECT_LE(LoadedFrameHookLibraries(), LoadedBefore + 2);
    ASSERT_NE(First, nullptr);
    ASSERT_NE(First->next, nullptr);
    EXPECT_NE(First->ctx, First->next->ctx);
    EXPECT_EQ(Since("full", "TestHookConfigured"), 2);

    TLumaPicture P;
    RunFrameHooks(First, &P.Pict, AV_PIX_FMT_GRAY8, 4, 2, 0);
    for (uint8_t V : P.Y) EXPECT_EQ(V, 106);  // fill 100, then add 5, then add 1
    EXPECT_EQ(Since("full", "TestHookProcessed"), 2);
    EXPECT_EQ(Since("noconfigure", "TestHookProcessed"), 1);

    ReleaseFrameHooks(&First);
    EXPECT_EQ(First, nullptr);
    EXPECT_EQ(Since("full", "TestHookReleased"), 2);
    EXPECT_EQ(Since("noconfigure", "TestHookReleased"), 1);
}

TEST_F(FrameHooks, ABareNameIsFoundInTheProgramsFolder)
{
    const String Dir = enginetest::ScratchFolder();
    std::filesystem::copy_file(HookPath("full"), Dir + "bare_hook.so");
    SetProgramFolder(Dir);
    const int R = Add(&First, {"bare_hook.so"});
    SetProgramFolder("");
    EXPECT_EQ(R, 0);
    EXPECT_NE(First, nullptr);
}
