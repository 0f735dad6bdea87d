// Frame hooks: plug-in libraries that see every decoded picture of a conversion and may
// change it in place.  A hook library exports, with C linkage,
//     int  Configure(void** ctxp, int argc, char* argv[]);   // 0 on success (optional)
//     void Process(void* ctx, TFrameHookPicture* pict, int pix_fmt, int width, int height,
//                  int64_t pts);
//     void Release(void* ctx);                                 // optional
// argv[0] is the library's own file name.  Each library is loaded once per process and
// stays loaded; every AddFrameHook makes a new entry with its own context.
#pragma once

#include <cstdint>

// The picture handed to Process: four plane pointers and four line sizes.
struct TFrameHookPicture {
    uint8_t* data[4];
    int linesize[4];
};

extern "C" {
using TFrameHookConfigureFn = int (*)(void** ctxp, int argc, char* argv[]);
using TFrameHookProcessFn = void (*)(void* ctx, TFrameHookPicture* pict, int pix_fmt, int width, int height,
                                     int64_t pts);
using TFrameHookReleaseFn = void (*)(void* ctx);
}

// One loaded hook; the entries of a transcoder form a chain in the order they were added.
struct TFrameHookEntry {
    TFrameHookEntry* next;
    TFrameHookConfigureFn Configure;
    TFrameHookProcessFn Process;
    TFrameHookReleaseFn Release;
    void* ctx;
};

// Loads the library AArgs[0] (once per process) and appends a configured entry to the
// chain at AFirst.  0 on success; -2 for no arguments, a missing "Process", or a missing
// "Configure" when arguments follow the name; -1 when the library cannot be loaded;
// -12 without memory; -22 when Configure fails.  Failures are logged.
int AddFrameHook(TFrameHookEntry** AFirst, int AArgCount, char** AArgs);
// Calls Process of every entry, in chain order.
void RunFrameHooks(TFrameHookEntry* AFirst, TFrameHookPicture* APicture, int APixFmt, int AWidth, int AHeight,
                   int64_t APTS);
// Calls Release of every entry that has one, frees the entries and empties the chain.
void ReleaseFrameHooks(TFrameHookEntry** AFirst);
// The number of hook libraries loaded by this process.
int LoadedFrameHookLibraries();
