// General helpers of the engine that do not touch FFmpeg: sizes, option texts, files,
// times, and reaching the GUI thread.
#pragma once

#include "platform/system/SysUtils.h"
#include "platform/system/Types.h"

#include <cstdint>
#include <functional>

// "%.2f GB" / "%.2f MB" / "%.2f KB" above 2^30 / 2^20 / 2^10 bytes, else "%d Byte".
String FormatFileSize(int64_t ASize);

// AHead = ASource up to the first ASeparator; with ARemove ASource keeps what follows
// it (nothing when the separator does not occur).
void SplitHead(String& ASource, const String& ASeparator, bool ARemove, String& AHead);

// Size of an existing file, -1 when there is none.
int64_t FileSizeOf(const String& AFileName);
// The program's folder with a trailing "/".
String GetExePath();

// Seconds since 1970 (UTC) to a local TDateTime; the standard-time offset only.
TDateTime UnixTimeToLocal(int64_t ASeconds);
String FormatDateTimeText(const String& AFormat, TDateTime ADateTime);

// Runs an action when the scope ends, however it ends (the engine's one scope guard).
class TScopeExit {
public:
    explicit TScopeExit(std::function<void()> AAction) : FAction(std::move(AAction)) {}
    ~TScopeExit()
    {
        if (FAction) FAction();
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    std::function<void()> FAction;
};

// Runs AMethod on the GUI thread and waits for it (directly when called there).
void CallInMainThread(const std::function<void()>& AMethod);
// On the GUI thread: dispatches one queued window message, else runs the calls waiting
// for the GUI thread (Synchronize/Queue); false when nothing waited.  A WM_QUIT is left
// in the queue.
bool ProcessOneMessage();
// Handles everything that waits for the GUI thread (the engine's waits call it).
void PumpMessages();
