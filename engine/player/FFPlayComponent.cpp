// The player component: properties, opening a file into a host window, stopping,
// pausing and seeking.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Messages.h"
#include "platform/windows/WinPaint.h"

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------
// The host window's subclass (one per process, like SDL's one window)

struct TScreenSubclass {
    HWND Wnd = nullptr;
    WNDPROC HostProc = nullptr;  // the host's own procedure
    WNDPROC Instance = nullptr;
    TCustomPlayer* Player = nullptr;
} ScreenSub;

void RemoveSubclass()
{
    if (ScreenSub.Wnd && IsWindow(ScreenSub.Wnd) &&
        WNDPROC(GetWindowLong(ScreenSub.Wnd, GWL_WNDPROC)) == ScreenSub.Instance)
        SetWindowLong(ScreenSub.Wnd, GWL_WNDPROC, LONG_PTR(ScreenSub.HostProc));
    ScreenSub.Wnd = nullptr;
    ScreenSub.HostProc = nullptr;
    ScreenSub.Player = nullptr;
}

// While a file is open SDL draws into the window: the platform neither paints nor
// erases it, and a paint (the window was uncovered, say) has the play thread show the
// current picture again, also while paused.  A close request is swallowed; a click gives
// the window the focus; the window's destruction stops the file first.
LRESULT ScreenWindowProc(HWND AWnd, UINT AMsg, WPARAM AW, LPARAM AL)
{
    if (AWnd != ScreenSub.Wnd || !ScreenSub.HostProc) return DefWindowProc(AWnd, AMsg, AW, AL);
    TCustomPlayer* P = ScreenSub.Player;
    TVideoState* VS = P ? P->VideoState() : nullptr;
    const bool Playing = VS && P->ScreenHandle() == AWnd;
    switch (AMsg) {
    case WM_PAINT:
        if (Playing && !AW) {
            PAINTSTRUCT PS;
            BeginPaint(AWnd, &PS);
            EndPaint(AWnd, &PS);
            PushRedrawEvent(VS);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (Playing) return 1;
        break;
    case WM_CLOSE: return 0;
    case WM_DESTROY: {
        // The file stops before the window SDL draws into goes away.
        WNDPROC Host = ScreenSub.HostProc;
        if (Playing) P->Stop(true);
        RemoveSubclass();
        return CallWindowProc(Host, AWnd, AMsg, AW, AL);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: SetFocus(AWnd); break;
    default: break;
    }
    return CallWindowProc(ScreenSub.HostProc, AWnd, AMsg, AW, AL);
}

void InstallSubclass(HWND AWnd, TCustomPlayer* APlayer)
{
    if (!ScreenSub.Instance) ScreenSub.Instance = MakeProcInstance(ScreenWindowProc);
    if (ScreenSub.Wnd == AWnd && WNDPROC(GetWindowLong(AWnd, GWL_WNDPROC)) == ScreenSub.Instance) {
        ScreenSub.Player = APlayer;
        return;
    }
    RemoveSubclass();
    ScreenSub.Wnd = AWnd;
    ScreenSub.HostProc = WNDPROC(SetWindowLong(AWnd, GWL_WNDPROC, LONG_PTR(ScreenSub.Instance)));
    ScreenSub.Player = APlayer;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Life cycle

TCustomPlayer::TCustomPlayer(TComponent* AOwner)
    : TFFBaseComponent(AOwner, PlayerLibraries),
      FPlayEvent(std::make_shared<TPlayEvent>()),
      FShared(std::make_shared<TPlayerShared>())
{
    FAVProbe = new TAVProbe(nullptr);
    for (int& W : Fwanted_stream) W = -1;
    ResetPlayback();
}

TCustomPlayer::~TCustomPlayer()
{
    OnPosition = nullptr;
    OnState = nullptr;
    OnHook = nullptr;
    Stop(true);
    if (ScreenSub.Player == this) {
        if (IsMainThread())
            RemoveSubclass();
        else
            ScreenSub.Player = nullptr;
    }
    delete FAVProbe;
    FAVProbe = nullptr;
    FreeRGBContexts();
}

void TCustomPlayer::FreeRGBContexts()
{
    for (TRGBConvertContext** C : {&FRGBContext, &FHookContext}) {
        if (!*C) continue;
        ResetRGBContext(**C);
        delete *C;
        *C = nullptr;
    }
    if (FHookFromRGB) AV.sws_freeContext(FHookFromRGB);
    FHookFromRGB = nullptr;
}

void TCustomPlayer::SetErrorMessage(const String& AText, bool AStore)
{
    GlobalLogger()->Log(this, llError, AText);
    if (AStore) FLastErrMsg = AText;
}

void TCustomPlayer::ResetPlayback()
{
    Fscreen = nullptr;
    FLastPTS = AV_NOPTS_VALUE;
    FCurrentPTS = -1;
    Fstep = false;
    for (int& W : Fwanted_stream) W = -1;
    Fseek_by_bytes = -1;
    Fstart_time = AV_NOPTS_VALUE;
    FPlayTime = AV_NOPTS_VALUE;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.SetEvent();
    FSeeking = false;
}

namespace {
// SDL is one per process: the player that started it is the only one that may shut it
// down, and another player cannot open a file meanwhile.
std::atomic<const TCustomPlayer*> SDLOwner{nullptr};

// Sets an environment variable for the duration of SDL's start and gives back the value
// it had before (or none).
class TEnvironmentScope {
public:
    void Set(const char* AName, const char* AValue)
    {
        const char* Old = getenv(AName);
        FSaved.push_back({AName, Old != nullptr, Old ? String(Old) : String()});
        setenv(AName, AValue, 1);
    }
    ~TEnvironmentScope()
    {
        for (auto It = FSaved.rbegin(); It != FSaved.rend(); ++It) {
            if (It->Had) setenv(It->Name, It->Value.c_str(), 1);
            else unsetenv(It->Name);
        }
    }

private:
    struct TSaved {
        const char* Name;
        bool Had;
        String Value;
    };
    std::vector<TSaved> FSaved;
};
}  // namespace

void TCustomPlayer::QuitSDL()
{
    const TCustomPlayer* Self = this;
    if (SDLOwner.load() == this) {
        if (AV.SDL_Quit) AV.SDL_Quit();
        SDLOwner.compare_exchange_strong(Self, nullptr);
    }
    Fscreen = nullptr;
}

// ---------------------------------------------------------------------------------
// Opening

bool TCustomPlayer::InitSDLWindow(HWND AScreenHandle)
{
    // SDL draws into the display's window behind the host (a native child window); the
    // headless platform has none, and SDL then uses a window of its own driver.
    FScreenWindowId = 0;
    if (AScreenHandle) CallInMainThread([&] { FScreenWindowId = CreateNativeWindow(AScreenHandle); });
    // SDL keeps the pointer getenv gave it and reads it again when it sets the video
    // mode: the variable is set before SDL starts and left alone while it runs
    // (removing it later is safe, the C library never frees a set variable).
    if (FScreenWindowId) setenv("SDL_WINDOWID", std::to_string(FScreenWindowId).c_str(), 1);
    int R = AV.SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    for (int Attempt = 0; R < 0 && FScreenWindowId && Attempt < 2; ++Attempt) {
        setenv("SDL_WINDOWID", std::to_string(FScreenWindowId).c_str(), 1);
        R = AV.SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    }
    FAudioAvailable = R >= 0;
    if (R < 0) {
        // Without a sound device the file still plays its pictures, timed by the video clock.
        String Error = AV.SDL_GetError();
        R = AV.SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO);
        if (R >= 0) GlobalLogger()->Log(this, llWarning, "SDL audio is not available: " + Error);
    }
    if (AScreenHandle) {
        char Name[256];
        if (AV.SDL_AudioDriverName(Name, sizeof(Name)))
            AV.av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n", Name);
        if (AV.SDL_VideoDriverName(Name, sizeof(Name)))
            AV.av_log(nullptr, AV_LOG_DEBUG, "using video driver: %s\n", Name);
        unsetenv("SDL_WINDOWID");
        CallInMainThread([&] { InstallSubclass(AScreenHandle, this); });
    }
    return R >= 0;
}

bool TCustomPlayer::Open(const String& AFileName, HWND AScreenHandle, bool APaused)
{
    if (!AVLibLoaded()) {
        SetErrorMessage("libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    const TCustomPlayer* Free = nullptr;
    if (!SDLOwner.compare_exchange_strong(Free, this) && Free != this) {
        SetErrorMessage("Another player has a file open: only one file plays at a time.", true);
        return false;
    }
    bool Started;
    {
        // The default drivers leave the environment as it is (an empty variable is not
        // the same as none to SDL); a chosen driver holds for this start only.
        TEnvironmentScope Drivers;
        if (FAudioDriver == adDirectSound) Drivers.Set("SDL_AUDIODRIVER", "pulse");
        if (FAudioDriver == adWaveOut) Drivers.Set("SDL_AUDIODRIVER", "alsa");
        if (FVideoDriver != vdDefault) Drivers.Set("SDL_VIDEODRIVER", "x11");
        Started = InitSDLWindow(AScreenHandle);
    }
    if (!Started) {
        SetErrorMessage(::Format("Could not initialize SDL with ScreenHandle(%u): %s",
                                 unsigned(uintptr_t(AScreenHandle)), AV.SDL_GetError()),
                        true);
        QuitSDL();
        return false;
    }
    if (Fdisplay_disable) {
        Fvideo_disable = true;
    } else {
        const SDL_VideoInfo* Info = AV.SDL_GetVideoInfo();
        if (!Info) {
            SetErrorMessage("SDL_GetVideoInfo() failed", true);
            QuitSDL();
            return false;
        }
        Ffs_screen_width = Info->current_w;
        Ffs_screen_height = Info->current_h;
    }
    AV.SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
    AV.SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    AV.SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
    AV.SDL_EventState(SDL_USEREVENT, SDL_IGNORE);
    if (!OpenStream(this, AFileName, Ffile_iformat, APaused)) {
        QuitSDL();
        return false;
    }
    TVideoState* VS = FVideoState.load();
    Finput_filename = AFileName;
    FScreenHandle = AScreenHandle;
    FAVProbe->SetFileHandle(VS->ic);
    // A handler that raises fails the open: the file is closed the ordinary way, so that
    // the player is left closed and ready for the next one.
    String HandlerError;
    bool HandlerFailed = false;
    auto FileOpen = [&] {
        try {
            DoFileOpen();
        } catch (const Exception& E) {
            HandlerFailed = true;
            HandlerError = E.Message();
        } catch (const std::exception& E) {
            HandlerFailed = true;
            HandlerError = E.what();
        } catch (...) {
            HandlerFailed = true;
            HandlerError = "Unknown error";
        }
    };
    if (FTriggerEventInMainThread)
        CallInMainThread(FileOpen);
    else
        FileOpen();
    // Reset here, not by the play thread: a Stop(True) right after Open must wait.
    FStopEvent.ResetEvent();
    FEventThread = StartEventThread(this, FPlayEvent, FShared);
    FPlayThread = StartPlayThread(this);
    if (HandlerFailed) {
        Stop(true);
        SetErrorMessage(::Format("%s: the file-open handler failed: %s", AFileName, HandlerError), true);
        return false;
    }
    return true;
}

void TCustomPlayer::DoFileOpen()
{
    if (FRGBContext) ResetRGBContext(*FRGBContext);
    if (FHookContext) ResetRGBContext(*FHookContext);
    TVideoState* VS = FVideoState.load();
    if (VS && OnFileOpen) {
        const int64_t Duration = VS->IsImage2 ? 0 : VS->Duration;
        int FrameW = -1, FrameH = -1;
        if (VS->video_dec && VS->video_dec->width > 0) {
            FrameW = VS->video_dec->width;
            FrameH = VS->video_dec->height;
        }
        int ScreenW = Fscreen_width, ScreenH = Fscreen_height;
        OnFileOpen(this, Duration, FrameW, FrameH, ScreenW, ScreenH);
        Fscreen_width = ScreenW;
        Fscreen_height = ScreenH;
    }
    if (FScreenHandle && (Fscreen_width == 0 || Fscreen_height == 0)) {
        TRect R;
        CallInMainThread([&] { GetClientRect(FScreenHandle, R); });
        Fscreen_width = R.Width();
        Fscreen_height = R.Height();
    }
}

// ---------------------------------------------------------------------------------
// Stopping

void TCustomPlayer::Stop(bool AWaitForStop)
{
    TVideoState* VS = FVideoState.load();
    if (VS) {
        if (VS->paused) TogglePaused(VS);
        Fstep = false;
        PushQuitEvent(VS);
    }
    if (!AWaitForStop) return;
    if (VS) WaitForStop();
    JoinThreads();
    QuitSDL();
}

void TCustomPlayer::WaitForStop()
{
    int Cycle = 1;
    while (FStopEvent.WaitFor(100) != wrSignaled) {
        if (IsMainThread()) PumpMessages();
        if (!FVideoState.load()) break;
        if (FDataLock.WaitFor(100) != wrSignaled) continue;
        ++Cycle;
        bool Done = false;
        if (TVideoState* VS = FVideoState.load()) {
            if ((Cycle > 10 && VS->Reading) || Cycle > 20) {
                GlobalLogger()->Log(this, llWarning, "the play thread does not stop: closing the file");
                CloseAndQuit();
                Done = true;
            } else {
                PushQuitEvent(VS);
            }
        }
        FDataLock.Release();
        if (Done) break;
    }
}

void TCustomPlayer::JoinThreads()
{
    if (FPlayThread && TThread::CurrentThread() != FPlayThread) {
        FPlayThread->WaitFor();
        delete FPlayThread;
        FPlayThread = nullptr;
    }
    if (!FEventThread) return;
    // The event thread ends after the last state; it cannot be awaited from inside one
    // of its own handlers, and is then let go with its own ring.  It is still running
    // then (it runs the handler or waits for the GUI thread to run it), so it frees
    // itself when it returns.
    const bool InHandler =
        TThread::CurrentThread() == FEventThread || FShared->HandlerThread == GetCurrentThreadId();
    if (InHandler) {
        FShared->Detached = true;
        FEventThread->SetFreeOnTerminate(true);
    } else {
        FEventThread->Terminate();
        FEventThread->WaitFor();
        delete FEventThread;
    }
    FEventThread = nullptr;
    FPlayEvent = std::make_shared<TPlayEvent>();
    FShared = std::make_shared<TPlayerShared>();
}

// ---------------------------------------------------------------------------------
// Playback

bool TCustomPlayer::Paused() const
{
    TVideoState* VS = FVideoState.load();
    return !VS || VS->paused;
}

void TCustomPlayer::Pause()
{
    TVideoState* VS = FVideoState.load();
    if (!VS || VS->paused) return;
    TogglePaused(VS);
    Fstep = false;
    SetPlayState(psPause);
}

void TCustomPlayer::Resume()
{
    TVideoState* VS = FVideoState.load();
    if (!VS || !VS->paused) return;
    TogglePaused(VS);
    Fstep = false;
    SetPlayState(psResume);
}

void TCustomPlayer::TogglePause()
{
    TVideoState* VS = FVideoState.load();
    if (!VS) return;
    TogglePaused(VS);
    Fstep = false;
    SetPlayState(VS->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame()
{
    TVideoState* VS = FVideoState.load();
    if (!VS) return;
    if (VS->paused) TogglePaused(VS);
    const bool WasStepping = Fstep.exchange(true);
    if (!WasStepping) SetPlayState(psStep);
}

void TCustomPlayer::Seek(int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TVideoState* VS = FVideoState.load();
    if (!VS || !VS->ic) return;
    if (ASeekFlags.Contains(sfByte)) {
        RequestSeek(VS, ASeekFlags, AWaitForSeekEnd, APTS, 0);
        return;
    }
    int64_t Target = APTS;
    // A file whose duration is not known is not limited.
    if (VS->Duration > 0 && Target > VS->Duration) Target = VS->Duration;
    if (VS->ic->start_time != AV_NOPTS_VALUE) Target += VS->ic->start_time;
    RequestSeek(VS, ASeekFlags, AWaitForSeekEnd, Target, APTS <= 0 ? 1 : 0);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TVideoState* VS = FVideoState.load();
    if (!VS || !VS->ic) return;
    if (ASeekFlags.Contains(sfByte)) {
        double Amount = VS->ic->bit_rate ? ADelta * double(VS->ic->bit_rate) / 8.0 : ADelta * 180000.0;
        // The input belongs to the read thread: its position is the one it published.
        const int64_t Pos = VS->read_pos;
        RequestSeek(VS, ASeekFlags, AWaitForSeekEnd, std::llround(double(Pos) + Amount), std::llround(Amount));
        return;
    }
    int64_t Target = std::llround((MasterClock(VS) + ADelta) * 1000000.0);
    RequestSeek(VS, ASeekFlags, AWaitForSeekEnd, Target, std::llround(ADelta * 1000000.0));
}

void TCustomPlayer::ToggleAudioDisplay()
{
    TVideoState* VS = FVideoState.load();
    if (!VS) return;
    // The surface belongs to the play thread: it clears the area itself.  The wait
    // serves the GUI thread's queue in 100 ms steps (the play thread may be waiting for
    // the GUI thread while it holds the lock).
    while (FDataLock.WaitFor(100) != wrSignaled) {
        if (IsMainThread()) PumpMessages();
        if (!FVideoState.load()) return;
    }
    if ((VS = FVideoState.load())) {
        VS->show_audio = (VS->show_audio + 1) % 3;
        SDL_Event Event{};
        Event.type = FF_CLEAR_EVENT;
        Event.user.data1 = VS;
        AV.SDL_PushEvent(&Event);
    }
    FDataLock.Release();
}

void ClearVideoArea(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    if (!P->Fscreen) return;
    SDL_Rect R;
    R.x = Sint16(VS->xleft);
    R.y = Sint16(VS->ytop);
    R.w = Uint16(VS->width);
    R.h = Uint16(VS->height);
    AV.SDL_FillRect(P->Fscreen, &R, AV.SDL_MapRGB(P->Fscreen->format, 0, 0, 0));
    AV.SDL_UpdateRect(P->Fscreen, R.x, R.y, R.w, R.h);
}

void TCustomPlayer::UpdateScreenPosition()
{
    // The native child window behind the host moves with it.
}

// ---------------------------------------------------------------------------------
// Properties

String TCustomPlayer::Format() const { return Ffile_iformat ? Ffile_iformat->name : ""; }

void TCustomPlayer::SetFormat(const String& AValue)
{
    if (!AVLibLoaded()) {
        const_cast<TCustomPlayer*>(this)->SetErrorMessage("libav or libsdl not loaded.", true);
        return;
    }
    if (AValue.empty()) {
        Ffile_iformat = nullptr;
        return;
    }
    const AVInputFormat* F = AV.av_find_input_format(AValue.c_str());
    if (!F) throw Exception("Unknown input format: %s", AValue);
    Ffile_iformat = F;
}

int TCustomPlayer::AudioStreamIndex() const
{
    TVideoState* VS = FVideoState.load();
    return VS ? VS->audio_stream.load() : -1;
}

int TCustomPlayer::VideoStreamIndex() const
{
    TVideoState* VS = FVideoState.load();
    return VS ? VS->video_stream.load() : -1;
}

int TCustomPlayer::SubtitleStreamIndex() const
{
    TVideoState* VS = FVideoState.load();
    return VS ? VS->subtitle_stream.load() : -1;
}

void TCustomPlayer::SetAudioStreamIndex(int V)
{
    if (TVideoState* VS = FVideoState.load(); VS && V != VS->audio_stream) SelectStream(VS, AVMEDIA_TYPE_AUDIO, V);
}

void TCustomPlayer::SetVideoStreamIndex(int V)
{
    if (TVideoState* VS = FVideoState.load(); VS && V != VS->video_stream) SelectStream(VS, AVMEDIA_TYPE_VIDEO, V);
}

void TCustomPlayer::SetSubtitleStreamIndex(int V)
{
    if (TVideoState* VS = FVideoState.load(); VS && V != VS->subtitle_stream)
        SelectStream(VS, AVMEDIA_TYPE_SUBTITLE, V);
}

void TCustomPlayer::SetShowAudio(TShowAudio V)
{
    FShowAudio = V;
    TVideoState* VS = FVideoState.load();
    if (VS && VS->audio_stream >= 0 && !Fdisplay_disable) VS->show_audio = int(V);
}

void TCustomPlayer::SetAspectRatio(float V)
{
    if (V == FAspectRatio) return;
    FAspectRatio = V;
    if (TVideoState* VS = FVideoState.load()) PushAspectEvent(VS);
}
