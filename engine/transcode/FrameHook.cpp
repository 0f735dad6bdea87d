#include "engine/transcode/FrameHook.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/system/Paths.h"
#include "platform/system/Types.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace {

// File name as given -> module handle.  The libraries are never unloaded: a hook's
// code may still be referenced by a context that outlives its chain.
std::mutex CacheLock;
std::map<String, void*>& Cache()
{
    static auto* M = new std::map<String, void*>;
    return *M;
}

void* LoadHookLibrary(const String& AName)
{
    std::lock_guard Guard(CacheLock);
    auto It = Cache().find(AName);
    if (It != Cache().end()) return It->second;
    // No change of the current folder: other conversions may be running.  A name
    // with a folder part is opened from that folder by dlopen itself; a bare name is
    // looked for in the program's folder first, then where the system keeps libraries.
    String Path = AName;
    if (AName.find('/') == String::npos && access((ProgramFolder() + AName).c_str(), F_OK) == 0)
        Path = ProgramFolder() + AName;
    dlerror();
    void* Handle = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!Handle) {
        const char* E = dlerror();
        AV.av_log(nullptr, AV_LOG_ERROR, "%s\n", E ? E : "unknown error");
        return nullptr;
    }
    Cache()[AName] = Handle;
    return Handle;
}

}  // namespace

int AddFrameHook(TFrameHookEntry** AFirst, int AArgCount, char** AArgs)
{
    if (AArgCount < 1 || !AArgs || !AArgs[0]) return -2;
    void* Handle = LoadHookLibrary(AArgs[0]);
    if (!Handle) return -1;
    auto* Entry = static_cast<TFrameHookEntry*>(AV.av_mallocz(sizeof(TFrameHookEntry)));
    if (!Entry) return -12;
    Entry->Configure = reinterpret_cast<TFrameHookConfigureFn>(dlsym(Handle, "Configure"));
    Entry->Process = reinterpret_cast<TFrameHookProcessFn>(dlsym(Handle, "Process"));
    Entry->Release = reinterpret_cast<TFrameHookReleaseFn>(dlsym(Handle, "Release"));
    if (!Entry->Process) {
        AV.av_log(nullptr, AV_LOG_ERROR, "Failed to find Process entrypoint in %s\n", AArgs[0]);
        AV.av_free(Entry);
        return -2;
    }
    if (!Entry->Configure && AArgCount > 1) {
        AV.av_log(nullptr, AV_LOG_ERROR, "Failed to find Configure entrypoint in %s\n", AArgs[0]);
        AV.av_free(Entry);
        return -2;
    }
    if (Entry->Configure && Entry->Configure(&Entry->ctx, AArgCount, AArgs) != 0) {
        AV.av_log(nullptr, AV_LOG_ERROR, "Failed to Configure %s\n", AArgs[0]);
        AV.av_free(Entry);
        return -22;
    }
    TFrameHookEntry** Last = AFirst;
    while (*Last) Last = &(*Last)->next;
    *Last = Entry;
    return 0;
}

void RunFrameHooks(TFrameHookEntry* AFirst, TFrameHookPicture* APicture, int APixFmt, int AWidth, int AHeight,
                   int64_t APTS)
{
    for (TFrameHookEntry* E = AFirst; E; E = E->next) E->Process(E->ctx, APicture, APixFmt, AWidth, AHeight, APTS);
}

void ReleaseFrameHooks(TFrameHookEntry** AFirst)
{
    TFrameHookEntry* E = *AFirst;
    *AFirst = nullptr;
    while (E) {
        TFrameHookEntry* Next = E->next;
        if (E->Release) E->Release(E->ctx);
        AV.av_free(E);
        E = Next;
    }
}

int LoadedFrameHookLibraries()
{
    std::lock_guard Guard(CacheLock);
    return int(Cache().size());
}
