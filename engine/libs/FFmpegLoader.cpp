#include "engine/libs/FFmpegLoader.h"

#include "engine/libs/FFmpegLogger.h"
#include "engine/libs/UnicodeProtocol.h"
#include "platform/system/SysUtils.h"

#include <dlfcn.h>
#include <fenv.h>

TAVBindings AV;
TCriticalSection CodecLock;

namespace {

#define VC_BIND_ENTRY(name) \
    AV.name = reinterpret_cast<decltype(AV.name)>(TEngineLoader::BindFunction(ALibName, AHandle, #name));
#define VC_CLEAR_ENTRY(name) AV.name = nullptr;

#define VC_FIXUPS(lib, LIST)                                                                \
    void Fixup_##lib([[maybe_unused]] const String& ALibName, [[maybe_unused]] void* AHandle) \
    {                                                                                       \
        LIST(VC_BIND_ENTRY)                                                                 \
    }                                                                                       \
    void Unfix_##lib() { LIST(VC_CLEAR_ENTRY) }

VC_FIXUPS(avcodec, VC_AVCODEC_ENTRIES)
VC_FIXUPS(avfilter, VC_AVFILTER_ENTRIES)
VC_FIXUPS(avformat, VC_AVFORMAT_ENTRIES)
VC_FIXUPS(avutil, VC_AVUTIL_ENTRIES)
VC_FIXUPS(swscale, VC_SWSCALE_ENTRIES)
VC_FIXUPS(libc, VC_LIBC_ENTRIES)
VC_FIXUPS(sdl, VC_SDL_ENTRIES)
VC_FIXUPS(swresample, VC_SWRESAMPLE_ENTRIES)

// Devices must be registered once bound; registration of everything else is
// automatic in this FFmpeg generation.
void Fixup_avdevice(const String& ALibName, void* AHandle)
{
    VC_AVDEVICE_ENTRIES(VC_BIND_ENTRY)
    AV.avdevice_register_all();
}
void Unfix_avdevice() { VC_AVDEVICE_ENTRIES(VC_CLEAR_ENTRY) }

#undef VC_FIXUPS
#undef VC_BIND_ENTRY
#undef VC_CLEAR_ENTRY

const TLibraryItem LibraryTable[LibraryCount] = {
    {avCodec, "avcodec", LIBAVCODEC_VERSION_MAJOR, Fixup_avcodec, Unfix_avcodec},
    {avDevice, "avdevice", LIBAVDEVICE_VERSION_MAJOR, Fixup_avdevice, Unfix_avdevice},
    {avFilter, "avfilter", LIBAVFILTER_VERSION_MAJOR, Fixup_avfilter, Unfix_avfilter},
    {avFormat, "avformat", LIBAVFORMAT_VERSION_MAJOR, Fixup_avformat, Unfix_avformat},
    {avUtil, "avutil", LIBAVUTIL_VERSION_MAJOR, Fixup_avutil, Unfix_avutil},
    {swScale, "swscale", LIBSWSCALE_VERSION_MAJOR, Fixup_swscale, Unfix_swscale},
    {myUtil, "libc.so.6", -1, Fixup_libc, Unfix_libc},
    {lbSDL, "SDL-1.2", 0, Fixup_sdl, Unfix_sdl},
    {swResample, "swresample", LIBSWRESAMPLE_VERSION_MAJOR, Fixup_swresample, Unfix_swresample},
};

// Private copies in a library folder find each other by soname only when the
// libraries they need are loaded before them, so sets load in dependency order.
const TLibrary LoadOrder[LibraryCount] = {myUtil, avUtil, swResample, swScale, avCodec,
                                          avFormat, avFilter, avDevice, lbSDL};

// The engine's arithmetic runs with every floating-point exception masked; the
// environment found at start is given back at exit.
struct TFloatEnvironment {
    fenv_t Saved;
    TFloatEnvironment()
    {
        fegetenv(&Saved);
        fedisableexcept(FE_ALL_EXCEPT);
    }
    ~TFloatEnvironment()
    {
        TCriticalSectionGuard Guard(CodecLock);  // no codec operation is in progress
        fesetenv(&Saved);
    }
} FloatEnvironment;

}  // namespace

const TLibraryItem& LibraryItem(TLibrary ALib) { return LibraryTable[ALib]; }

String LibraryFileName(TLibrary ALib)
{
    const TLibraryItem& Item = LibraryTable[ALib];
    if (Item.Version < 0) return Item.Name;
    return String("lib") + Item.Name + ".so." + std::to_string(Item.Version);
}

TEngineLoader& FFLoader()
{
    static TEngineLoader Loader;
    return Loader;
}

TEngineLoader::TEngineLoader()
{
    for (int I = 0; I < LibraryCount; ++I) FStatus[I].Lib = TLibrary(I);
}

void* TEngineLoader::LoadLibraryFrom(const String& AFolder, const String& AFileName, String& AError, bool AResident)
{
    String Path = AFileName;
    if (!AFolder.empty()) {
        String Full = AFolder + (AFolder.back() == '/' ? "" : "/") + AFileName;
        if (FileExists(Full)) Path = Full;
    }
    dlerror();
    void* Handle = dlopen(Path.c_str(), RTLD_NOW | RTLD_GLOBAL | (AResident ? RTLD_NODELETE : 0));
    if (!Handle) {
        const char* E = dlerror();
        AError = E ? E : "unknown error";
    }
    return Handle;
}

namespace {

void* Bind(const char* AKind, const String& ALibName, void* AHandle, const char* AName)
{
    dlerror();
    void* P = dlsym(AHandle, AName);
    if (!P) {
        const char* E = dlerror();
        throw Exception(Format("Load %s %s@%s error: %s", AKind, AName, ALibName, E ? E : "null address"));
    }
    return P;
}

}  // namespace

void* TEngineLoader::BindFunction(const String& ALibName, void* AHandle, const char* AName)
{
    return Bind("function", ALibName, AHandle, AName);
}

void* TEngineLoader::BindVariable(const String& ALibName, void* AHandle, const char* AName)
{
    return Bind("variable", ALibName, AHandle, AName);
}

bool TEngineLoader::Load(TLibrary ALibrary)
{
    TLibraryStatus& St = FStatus[ALibrary];
    const String FileName = LibraryFileName(ALibrary);
    if (!St.Handle) {
        String Folder = FLibraryPath;
        if (!Folder.empty() && Folder.back() != '/') Folder += '/';
        String Error;
        // avdevice registers its device lists with avformat, which walks them at every
        // format look-up and probe from then on: once loaded it stays in memory, so that
        // unloading it never leaves avformat pointing into an unmapped library.
        void* Handle = LoadLibraryFrom(Folder, FileName, Error, ALibrary == avDevice);
        if (!Handle) {
            FLastErrMsg = Format("Load library %s error: %s", (Folder + FileName).c_str(), Error.c_str());
            return false;
        }
        ++FOpenCount;
        St.Handle = Handle;
    }
    if (!St.Fixuped) {
        try {
            LibraryTable[ALibrary].Fixup(FileName, St.Handle);
            St.Fixuped = true;
        } catch (const Exception& E) {
            FLastErrMsg = E.Message();
        }
    }
    if (!St.Fixuped) Unload(ALibrary);
    if (St.Fixuped) {
        if (ALibrary == avUtil && FInstallLogger) GlobalLogger()->InstallAVLogCallback();
        if (ALibrary == avFormat) RegisterUnicodeProtocol();
    }
    return St.Fixuped;
}

static void CheckSet(TLibraries ALibraries)
{
    if (ALibraries.Empty()) throw EAssertionFailed("empty library set (FFmpegLoader)");
}

bool TEngineLoader::Load(TLibraries ALibraries)
{
    CheckSet(ALibraries);
    // A failure undoes only what this call loaded: libraries loaded before belong to
    // other components (a running conversion still calls them).
    TLibraries Added;
    for (TLibrary L : LoadOrder) {
        if (!ALibraries.Contains(L)) continue;
        const bool Before = Loaded(L);
        if (!Load(L)) {
            String Msg = FLastErrMsg;
            if (!Added.Empty()) Unload(Added);
            FLastErrMsg = Msg;
            return false;
        }
        if (!Before) Added = Added + TLibraries{L};
    }
    return true;
}

bool TEngineLoader::Loaded(TLibrary ALibrary) const
{
    return FStatus[ALibrary].Handle && FStatus[ALibrary].Fixuped;
}

bool TEngineLoader::Loaded(TLibraries ALibraries) const
{
    CheckSet(ALibraries);
    for (int I = 0; I < LibraryCount; ++I)
        if (ALibraries.Contains(TLibrary(I)) && !Loaded(TLibrary(I))) return false;
    return true;
}

void TEngineLoader::Unload(TLibrary ALibrary)
{
    TLibraryStatus& St = FStatus[ALibrary];
    if (St.Fixuped) {
        LibraryTable[ALibrary].Unfix();
        St.Fixuped = false;
    }
    if (St.Handle) {
        dlclose(St.Handle);
        St.Handle = nullptr;
    }
}

void TEngineLoader::Unload(TLibraries ALibraries)
{
    CheckSet(ALibraries);
    // Dependants first, so that a private copy is not unloaded under its users.
    for (int I = LibraryCount - 1; I >= 0; --I)
        if (ALibraries.Contains(LoadOrder[I])) Unload(LoadOrder[I]);
}
