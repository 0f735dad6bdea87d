// Run-time loading of FFmpeg, SDL and the C runtime, and the process-wide binding
// table through which the whole engine calls them.
//
// Calling convention for the rest of the engine: every FFmpeg or SDL function is
// called through the global table `AV`, by its own name:
//     AV.avcodec_open2(ctx, codec, &opts);   AV.SDL_CreateMutex();
// The pointers are typed from the installed headers and are null until the library
// that exports them is loaded.  The entry lists are in AVEntries.h.
#pragma once

#include "engine/libs/AVEntries.h"
#include "engine/libs/FFmpegHeaders.h"
#include "platform/system/Types.h"

#include <cstdint>
#include "platform/system/Threads.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
struct TAVBindings {
#define VC_DECLARE_ENTRY(name) decltype(&::name) name = nullptr;
    VC_AVUTIL_ENTRIES(VC_DECLARE_ENTRY)
    VC_SWRESAMPLE_ENTRIES(VC_DECLARE_ENTRY)
    VC_SWSCALE_ENTRIES(VC_DECLARE_ENTRY)
    VC_AVCODEC_ENTRIES(VC_DECLARE_ENTRY)
    VC_AVFORMAT_ENTRIES(VC_DECLARE_ENTRY)
    VC_AVFILTER_ENTRIES(VC_DECLARE_ENTRY)
    VC_AVDEVICE_ENTRIES(VC_DECLARE_ENTRY)
    VC_SDL_ENTRIES(VC_DECLARE_ENTRY)
#undef VC_DECLARE_ENTRY
};
#pragma GCC diagnostic pop

// The process-wide binding table.
extern TAVBindings AV;

enum TLibrary : uint8_t {
    avCodec = 0,
    avDevice = 1,
    avFilter = 2,
    avFormat = 3,
    avUtil = 4,
    swScale = 5,
    myUtil = 6,  // the C runtime
    lbSDL = 7,
    swResample = 8,
};
constexpr int LibraryCount = 9;

// A set of libraries, bit n for TLibrary n.
using TLibraries = TSet<TLibrary>;

// The sets the engine's components ask for.
constexpr TLibraries ProbeLibraries{avCodec, avFormat, avUtil, swScale, myUtil};
constexpr TLibraries TaskLibraries{avCodec, avFilter, avFormat, avUtil, swScale, myUtil, swResample};
constexpr TLibraries PlayerLibraries = TaskLibraries + TLibraries{lbSDL};

using TFixupProc = void (*)(const String& ALibName, void* AHandle);
using TUnfixProc = void (*)();

// One row of the library table, fixed at build time.
struct TLibraryItem {
    TLibrary Lib;
    const char* Name;  // base name; with Version -1 the whole file name
    int32_t Version;   // major version in the file name, -1 for none
    TFixupProc Fixup;
    TUnfixProc Unfix;
};

// The state of one library.
struct TLibraryStatus {
    TLibrary Lib;
    void* Handle = nullptr;  // module handle, null when not loaded
    bool Fixuped = false;    // its entry points are bound
};

const TLibraryItem& LibraryItem(TLibrary ALib);
// "lib" + Name + ".so." + Version, or Name alone when Version is -1.
String LibraryFileName(TLibrary ALib);

// Loads and binds the libraries for every component of the engine; one per process
// (FFLoader()).  Loading, binding and unloading run on the caller's thread and take
// no lock: call them while no component uses the libraries.
class TEngineLoader {
public:
    TEngineLoader();

    bool Load(TLibrary ALibrary);
    bool Load(TLibraries ALibraries);
    bool Loaded(TLibrary ALibrary) const;
    bool Loaded(TLibraries ALibraries) const;
    void Unload(TLibrary ALibrary);
    void Unload(TLibraries ALibraries);

    const String& LastErrMsg() const { return FLastErrMsg; }
    const String& LibraryPath() const { return FLibraryPath; }
    void SetLibraryPath(const String& AValue) { FLibraryPath = AValue; }
    bool InstallLogger() const { return FInstallLogger; }
    void SetInstallLogger(bool AValue) { FInstallLogger = AValue; }

    const TLibraryStatus& Status(TLibrary ALib) const { return FStatus[ALib]; }
    // Number of modules actually opened so far (libraries already loaded are not counted).
    int OpenCount() const { return FOpenCount; }

    // Opens AFolder/AFileName when that file exists, else AFileName through the
    // system's search; null on failure with the system's text in AError.  A resident
    // library stays mapped after its last close.
    static void* LoadLibraryFrom(const String& AFolder, const String& AFileName, String& AError,
                                 bool AResident = false);
    // Looks an entry up; raises Exception "Load function %s@%s error: %s" when missing.
    static void* BindFunction(const String& ALibName, void* AHandle, const char* AName);
    static void* BindVariable(const String& ALibName, void* AHandle, const char* AName);

private:
    bool FInstallLogger = true;
    String FLastErrMsg;
    String FLibraryPath;
    TLibraryStatus FStatus[LibraryCount];
    int FOpenCount = 0;
};

// The one loader of the process.
TEngineLoader& FFLoader();

// Serialises every codec open and close of the engine (transcoders, probes, player).
extern TCriticalSection CodecLock;
