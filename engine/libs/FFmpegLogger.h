// The engine's single logger: FFmpeg's own log output, cut into lines per thread,
// and the engine's messages, each delivered to the host as one OnLog event per line.
#pragma once

#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

enum TLogLevel : uint8_t { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// TLogLevel to FFmpeg's numeric level: -8, 0, 8, ... 48.
constexpr int LogLevelToAV(TLogLevel ALevel) { return (int(ALevel) - 1) * 8; }
// FFmpeg's level to TLogLevel: level div 8 (toward zero) + 1, clamped to llQuiet..llDebug.
constexpr TLogLevel AVToLogLevel(int ALevel)
{
    int L = ALevel / 8 + 1;
    return TLogLevel(L < 0 ? 0 : L > 7 ? 7 : L);
}

// The data of one log event.
struct TLogInfo {
    TObject* Sender = nullptr;
    uint32_t ThreadID = 0;
    TLogLevel LogLevel = llQuiet;
    String LogMsg;
};

using TLogEvent =
    std::function<void(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg)>;

class TFFLogger : public TComponent {
public:
    // At most one logger exists; a second raises EAssertionFailed.
    explicit TFFLogger(TComponent* AOwner = nullptr);
    ~TFFLogger() override;

    // Installs the FFmpeg log callback and applies LogLevel to FFmpeg (needs avutil).
    void InstallAVLogCallback();

    TLogLevel LogLevel() const { return FLogLevel; }
    void SetLogLevel(TLogLevel AValue);
    // "quiet" .. "debug" (any case) or a decimal FFmpeg level; other text raises EConvertError.
    void OptLogLevel(const String& AArg);

    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }

    // True when a message of ALogLevel passes the filter and has a listener.
    bool Passes(TLogLevel ALogLevel) const;
    void Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
    // Formatted with the platform's Format, only when the message passes the filter.
    template <class A0, class... A>
    void Log(TObject* Sender, TLogLevel ALogLevel, std::string_view AFormat, const A0& AArg0, const A&... AArgs)
    {
        if (Passes(ALogLevel)) Fire(Sender, ALogLevel, Format(AFormat, AArg0, AArgs...));
    }

    TLogEvent OnLog;

    // Delivers one line as it is, with no filter (the FFmpeg callback's path).
    void Fire(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);

private:
    // Lines queued for the GUI thread reach the logger through this cell, emptied when the
    // logger goes, and take the handler set at their delivery.
    std::shared_ptr<TFFLogger*> FSelf = std::make_shared<TFFLogger*>(this);
    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<TLogLevel> FLogLevel{llInfo};
};

// The single logger of the process; created with no owner on first use.
TFFLogger* GlobalLogger();
// The level last given to av_log_set_level (32 at start).
int FFmpegLogLevel();
// The calling thread's system id.
uint32_t CurrentThreadID();

// FFmpeg's log callback (installed by InstallAVLogCallback); public for tests.
extern "C" void AVLogCallback(void* APtr, int ALevel, const char* AFormat, va_list AArgs);
