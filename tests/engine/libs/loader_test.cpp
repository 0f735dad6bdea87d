// The library loader: file names, library sets, loading from the system and from a
// private library folder, missing entries, and that nothing of FFmpeg or SDL is linked.
#include "support/engine_support.h"

#include "engine/libs/FFBaseComponent.h"
#include "engine/libs/FFmpegLoader.h"
#include "platform/system/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace enginetest;

namespace {

// Child mode: when the test binary starts with VC_LOADER_CHILD=<folder>, it loads the
// player's libraries from that folder in this fresh process, prints where the bound
// entries live, and exits before any test runs.
int ListLoadedObject(dl_phdr_info* AInfo, size_t, void* AData)
{
    if (AInfo->dlpi_name && *AInfo->dlpi_name) static_cast<String*>(AData)->append(String(AInfo->dlpi_name) + "\n");
    return 0;
}

String ObjectOf(const void* AAddress)
{
    Dl_info Info{};
    return dladdr(AAddress, &Info) && Info.dli_fname ? Info.dli_fname : "?";
}

[[maybe_unused]] const bool ChildMode = [] {
    const char* Folder = getenv("VC_LOADER_CHILD");
    if (!Folder) return false;
    TEngineLoader& L = FFLoader();
    L.SetLibraryPath(Folder);
    bool Ok = L.Load(PlayerLibraries);
    printf("load=%d %s\n", Ok ? 1 : 0, L.LastErrMsg().c_str());
    if (Ok) {
        printf("avutil=%s\n", ObjectOf(reinterpret_cast<const void*>(AV.av_log)).c_str());
        printf("avcodec=%s\n", ObjectOf(reinterpret_cast<const void*>(AV.avcodec_open2)).c_str());
        printf("avformat=%s\n", ObjectOf(reinterpret_cast<const void*>(AV.avformat_open_input)).c_str());
        printf("sdl=%s\n", ObjectOf(reinterpret_cast<const void*>(AV.SDL_Init)).c_str());
        String Objects;
        dl_iterate_phdr(ListLoadedObject, &Objects);
        printf("objects:\n%s", Objects.c_str());
    }
    fflush(stdout);
    _exit(0);
}();

// The folder of the system's FFmpeg libraries, from where avutil was loaded.
String SystemLibDir()
{
    LoadLibraries();
    String F = ObjectOf(reinterpret_cast<const void*>(AV.av_log));
    return F.substr(0, F.rfind('/') + 1);
}

String ExeFolder() { return fs::read_symlink("/proc/self/exe").parent_path().string() + "/"; }

}  // namespace

TEST(LoaderNames, LinuxFileNamesFollowNameAndVersion)
{
    const struct {
        TLibrary Lib;
        const char* File;
    } Cases[] = {{avCodec, "libavcodec.so.59"},     {avDevice, "libavdevice.so.59"},
                 {avFilter, "libavfilter.so.8"},    {avFormat, "libavformat.so.59"},
                 {avUtil, "libavutil.so.57"},       {swScale, "libswscale.so.6"},
                 {myUtil, "libc.so.6"},             {lbSDL, "libSDL-1.2.so.0"},
                 {swResample, "libswresample.so.4"}};
    for (const auto& C : Cases) {
        EXPECT_EQ(LibraryFileName(C.Lib), C.File);
        EXPECT_EQ(LibraryItem(C.Lib).Lib, C.Lib);
    }
    // A version of 0 still goes into the name; -1 means the name is the whole file name.
    EXPECT_EQ(LibraryItem(lbSDL).Version, 0);
    EXPECT_EQ(LibraryItem(myUtil).Version, -1);
}

TEST(LoaderNames, LibrarySetsHoldTheComponentsLibraries)
{
    // One byte per set (a bit per library), plus swresample (bit 8) for the transcoder and
    // the player.
    EXPECT_EQ(ProbeLibraries.Bits(), 0x79u);
    EXPECT_EQ(TaskLibraries.Bits(), 0x17Du);
    EXPECT_EQ(PlayerLibraries.Bits(), 0x1FDu);
    EXPECT_FALSE(PlayerLibraries.Contains(avDevice));
}

TEST(Loader, LoadsEverySetFromTheSystemAndBindsEveryEntry)
{
    ASSERT_TRUE(LoadLibraries()) << FFLoader().LastErrMsg();
    TEngineLoader& L = FFLoader();
    EXPECT_TRUE(L.Loaded(TaskLibraries));
    EXPECT_TRUE(L.Loaded(ProbeLibraries));
    EXPECT_TRUE(L.Loaded(PlayerLibraries));
    // avdevice is no component's, but its row works like the others.
    ASSERT_TRUE(L.Load(avDevice)) << L.LastErrMsg();
    EXPECT_NE(AV.avdevice_register_all, nullptr);
    L.Unload(avDevice);
    EXPECT_FALSE(L.Loaded(avDevice));
    EXPECT_EQ(AV.avdevice_register_all, nullptr);

    EXPECT_NE(AV.avcodec_send_packet, nullptr);
    EXPECT_NE(AV.swr_convert, nullptr);
    EXPECT_NE(AV.avfilter_graph_config, nullptr);
    EXPECT_NE(AV.SDL_CreateYUVOverlay, nullptr);
    // The bound functions work.
    EXPECT_STREQ(AV.avcodec_get_name(AV_CODEC_ID_MPEG4), "mpeg4");
}

TEST(Loader, LoadingALoadedSetOpensNothing)
{
    ASSERT_TRUE(LoadLibraries());
    TEngineLoader& L = FFLoader();
    int Before = L.OpenCount();
    EXPECT_TRUE(L.Load(PlayerLibraries));
    EXPECT_TRUE(L.Load(ProbeLibraries));
    EXPECT_EQ(L.OpenCount(), Before);
}

TEST(Loader, EmptySetIsAProgrammingError)
{
    EXPECT_THROW(FFLoader().Load(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(FFLoader().Loaded(TLibraries{}), EAssertionFailed);
}

TEST(Loader, FolderWithoutTheFileFallsBackToTheSystem)
{
    String Empty = ScratchFolder();
    TEngineLoader& L = FFLoader();
    L.Unload(swScale);
    L.SetLibraryPath(Empty);
    EXPECT_TRUE(L.Load(swScale)) << L.LastErrMsg();
    EXPECT_TRUE(L.Loaded(swScale));
    L.SetLibraryPath("");
    fs::remove_all(Empty);
}

TEST(Loader, MissingLibraryReportsItsPathAndUnloadsTheSet)
{
    // A set load that fails part-way leaves none of the set loaded.
    String Folder = ScratchFolder();
    TEngineLoader& L = FFLoader();
    L.Unload(PlayerLibraries);
    L.SetLibraryPath(Folder);
    // A file that is no library at all in place of SDL: the load fails at SDL, the last.
    { FILE* F = fopen((Folder + "libSDL-1.2.so.0").c_str(), "w"); fputs("junk", F); fclose(F); }
    EXPECT_FALSE(L.Load(PlayerLibraries));
    EXPECT_TRUE(StartsText("Load library " + Folder + "libSDL-1.2.so.0 error: ", L.LastErrMsg())) << L.LastErrMsg();
    EXPECT_FALSE(L.Loaded(avCodec));
    EXPECT_FALSE(L.Loaded(avUtil));
    EXPECT_EQ(AV.avcodec_open2, nullptr);
    L.SetLibraryPath("");
    EXPECT_TRUE(L.Load(PlayerLibraries)) << L.LastErrMsg();
    fs::remove_all(Folder);
}

TEST(Loader, AFailedSetLoadKeepsWhatOthersLoadedBefore)
{
    // The task list's libraries are in use; the player's load then fails at SDL.
    ASSERT_TRUE(LoadLibraries());
    String Folder = ScratchFolder();
    TEngineLoader& L = FFLoader();
    ASSERT_TRUE(L.Load(TaskLibraries));
    L.Unload(lbSDL);
    L.SetLibraryPath(Folder);
    { FILE* F = fopen((Folder + "libSDL-1.2.so.0").c_str(), "w"); fputs("junk", F); fclose(F); }
    EXPECT_FALSE(L.Load(PlayerLibraries));
    L.SetLibraryPath("");
    EXPECT_FALSE(L.Loaded(lbSDL));
    EXPECT_TRUE(L.Loaded(TaskLibraries));
    EXPECT_NE(AV.avcodec_open2, nullptr);
    EXPECT_STREQ(AV.avcodec_get_name(AV_CODEC_ID_MPEG4), "mpeg4");
    EXPECT_TRUE(L.Load(PlayerLibraries)) << L.LastErrMsg();
    fs::remove_all(Folder);
}

TEST(Loader, LibraryLackingAnEntryIsRefusedAndNotLeftLoaded)
{
    // A real library that exports none of avutil's names stands in for avutil.
    ASSERT_TRUE(LoadLibraries());
    String Folder = ScratchFolder();
    fs::copy_file(SystemLibDir() + "libz.so.1", Folder + "libavutil.so.57");
    TEngineLoader& L = FFLoader();
    L.Unload(avUtil);
    L.SetLibraryPath(Folder);
    EXPECT_FALSE(L.Load(avUtil));
    EXPECT_TRUE(StartsText("Load function av_log@libavutil.so.57 error: ", L.LastErrMsg())) << L.LastErrMsg();
    EXPECT_FALSE(L.Loaded(avUtil));
    EXPECT_EQ(L.Status(avUtil).Handle, nullptr);
    EXPECT_EQ(AV.av_log, nullptr);
    EXPECT_EQ(dlopen((Folder + "libavutil.so.57").c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    L.SetLibraryPath("");
    EXPECT_TRUE(L.Load(avUtil)) << L.LastErrMsg();
    fs::remove_all(Folder);
}

TEST(Loader, ComponentWrapperCopiesTheLoadersMessage)
{
    TFFBaseComponent C(nullptr, TLibraries{lbSDL});
    String Folder = ScratchFolder();
    { FILE* F = fopen((Folder + "libSDL-1.2.so.0").c_str(), "w"); fputs("junk", F); fclose(F); }
    FFLoader().Unload(lbSDL);
    EXPECT_FALSE(C.LoadAVLib(Folder));
    EXPECT_FALSE(C.AVLibLoaded());
    EXPECT_TRUE(StartsText("Load library ", C.LastErrMsg()));
    EXPECT_TRUE(C.LoadAVLib(""));
    EXPECT_TRUE(C.AVLibLoaded());
    fs::remove_all(Folder);
}

TEST(Loader, PrivateCopiesInTheLibraryFolderArePreferred)
{
    // Copies of the system's libraries in a private folder: a fresh process loads
    // them, and the system's copies of the same libraries are not pulled in beneath.
    String Folder = ScratchFolder(), System = SystemLibDir();
    for (TLibrary Lib : {avCodec, avFilter, avFormat, avUtil, swScale, swResample, lbSDL}) {
        String Name = LibraryFileName(Lib);
        fs::copy_file(System + Name, Folder + Name);
    }
    String Out = RunCommand("VC_LOADER_CHILD='" + Folder + "' '" + ExeFolder() + "engine_tests' 2>&1");
    EXPECT_NE(Out.find("load=1"), String::npos) << Out;
    EXPECT_NE(Out.find("avutil=" + Folder + "libavutil.so.57"), String::npos) << Out;
    EXPECT_NE(Out.find("avcodec=" + Folder + "libavcodec.so.59"), String::npos) << Out;
    EXPECT_NE(Out.find("avformat=" + Folder + "libavformat.so.59"), String::npos) << Out;
    EXPECT_NE(Out.find("sdl=" + Folder + "libSDL-1.2.so.0"), String::npos) << Out;
    for (const char* Sys : {"libavutil.so.57", "libavcodec.so.59", "libavformat.so.59", "libswresample.so.4"})
        EXPECT_EQ(Out.find(System + Sys), String::npos) << Sys << "\n" << Out;
    fs::remove_all(Folder);
}

TEST(Loader, NoBinaryLinksFFmpegOrSDL)
{
    std::vector<String> Binaries = {ExeFolder() + "engine_tests"};
    String Program = ExeFolder() + "../bin/videoconverter";
    if (fs::exists(Program)) Binaries.push_back(Program);
    for (const String& B : Binaries) {
        String Out = RunCommand("ldd '" + B + "' 2>&1");
        ASSERT_NE(Out.find("libc.so"), String::npos) << B << ": " << Out;
        for (const char* Lib : {"libavcodec", "libavformat", "libavutil", "libavfilter", "libavdevice",
                                "libswscale", "libswresample", "libSDL"})
            EXPECT_EQ(Out.find(Lib), String::npos) << B << " links " << Lib << "\n" << Out;
    }
}
