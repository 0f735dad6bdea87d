// The player's own threads (the play thread with its SDL event loop, the event thread
// that delivers position and state events), the event ring, position and state
// reports, the frame hook and the current frame.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/graphics/Graphics.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <cstring>

// ---------------------------------------------------------------------------------
// The event ring

void TPlayEvent::Push(TPlayEventKind AKind, int64_t AValue)
{
    std::lock_guard Guard(Lock);
    int Newest = (Tailer + Slots - 1) % Slots;
    if (Header == Tailer || Events[Newest].Kind != AKind) {
        Tailer = (Tailer + 1) % Slots;
        if (Tailer == Header) Header = (Header + 1) % Slots;
        Newest = (Tailer + Slots - 1) % Slots;
    }
    Events[Newest].Kind = AKind;
    Events[Newest].Value = AValue;
    Event.SetEvent();
}

TPlayEventKind TPlayEvent::Pop(int64_t& AValue)
{
    std::lock_guard Guard(Lock);
    if (Header == Tailer) {
        Event.ResetEvent();
        AValue = 0;
        return pekNone;
    }
    TPlayEventKind Kind = Events[Header].Kind;
    AValue = Events[Header].Value;
    Header = (Header + 1) % Slots;
    if (Header == Tailer) Event.ResetEvent();
    return Kind;
}

bool TPlayEvent::WaitFor(uint32_t ATimeoutMs) { return Event.WaitFor(ATimeoutMs) == wrSignaled; }

int TPlayEvent::Count()
{
    std::lock_guard Guard(Lock);
    return (Tailer - Header + Slots) % Slots;
}

void TPlayEvent::Clear()
{
    std::lock_guard Guard(Lock);
    Header = Tailer = 0;
    Event.ResetEvent();
}

bool TPlayEvent::Signalled() { return Event.WaitFor(0) == wrSignaled; }

// ---------------------------------------------------------------------------------
// The threads

namespace {

class TEventThread : public TThread {
public:
    TEventThread(TCustomPlayer* APlayer, std::shared_ptr<TPlayEvent> ARing, std::shared_ptr<TPlayerShared> AShared)
        : TThread(true), FPlayer(APlayer), FRing(std::move(ARing)), FShared(std::move(AShared))
    {
    }

protected:
    void Execute() override
    {
        for (;;) {
            int64_t Value = 0;
            TPlayEventKind Kind = FRing->Pop(Value);
            if (FShared->Detached) return;
            if (Kind == pekNone) {
                // The player asks the thread to end once the ring is drained.
                if (Terminated()) return;
                FRing->WaitFor(100);
                continue;
            }
            if (Kind == pekEnd) return;
            Deliver(Kind, Value);
            if (FShared->Detached) return;
            if (Kind == pekState && Value == psStop) return;
        }
    }

private:
    void Deliver(TPlayEventKind AKind, int64_t AValue)
    {
        TCustomPlayer* P = FPlayer;
        std::shared_ptr<TPlayerShared> S = FShared;
        std::function<void()> Call;
        // The thread running the handler is noted, so that the player can tell that it
        // is being stopped from inside one.
        if (AKind == pekPosition) {
            P->FEventPTS = AValue;
            Call = [P, S] {
                if (S->Detached || !P->OnPosition) return;
                S->HandlerThread = GetCurrentThreadId();
                P->OnPosition(P, P->FEventPTS);
                S->HandlerThread = 0;
            };
        } else {
            P->FEventState = TPlayState(AValue);
            Call = [P, S] {
                if (S->Detached || !P->OnState) return;
                S->HandlerThread = GetCurrentThreadId();
                P->OnState(P, P->FEventState);
                S->HandlerThread = 0;
            };
        }
        try {
            if (P->TriggerEventInMainThread())
                CallInMainThread(Call);
            else
                Call();
        } catch (const std::exception& E) {
            S->HandlerThread = 0;
            GlobalLogger()->Log(nullptr, llError, String("Error occurs in player event: ") + E.what());
        }
    }

    TCustomPlayer* FPlayer;
    std::shared_ptr<TPlayEvent> FRing;
    std::shared_ptr<TPlayerShared> FShared;
};

class TPlayThread : public TThread {
public:
    explicit TPlayThread(TCustomPlayer* APlayer) : TThread(true), FPlayer(APlayer) {}

protected:
    void Execute() override
    {
        TCustomPlayer* P = FPlayer;
        P->SetPlayState(psPlay);
        try {
            P->PlayEventLoop();
        } catch (const std::exception& E) {
            GlobalLogger()->Log(P, llFatal, String("PlayThread Exception: ") + E.what());
            P->FDataLock.Acquire();
            try {
                P->CloseAndQuit();
            } catch (...) {
            }
            P->FDataLock.Release();
        }
        P->SetPlayState(psStop);
        P->FStopEvent.SetEvent();
    }

private:
    TCustomPlayer* FPlayer;
};

}  // namespace

TThread* StartEventThread(TCustomPlayer* APlayer, std::shared_ptr<TPlayEvent> ARing,
                          std::shared_ptr<TPlayerShared> AShared)
{
    return TThread::CreateRunning<TEventThread>(APlayer, std::move(ARing), std::move(AShared));
}

TThread* StartPlayThread(TCustomPlayer* APlayer) { return TThread::CreateRunning<TPlayThread>(APlayer); }

// ---------------------------------------------------------------------------------
// The play thread's work

TWaitResult TDataLock::WaitFor(uint32_t ATimeoutMs)
{
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeoutMs);
    while (!FLock.try_lock()) {
        if (std::chrono::steady_clock::now() >= End) return wrTimeout;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return wrSignaled;
}

void TCustomPlayer::CloseAndQuit()
{
    if (TVideoState* VS = FVideoState.load()) {
        CloseStream(VS);
        FVideoState = nullptr;
        delete VS;
        ResetPlayback();
    }
    QuitSDL();
}

void TCustomPlayer::PlayEventLoop()
{
    for (;;) {
        SDL_Event Event{};
        const int Got = AV.SDL_WaitEvent(&Event);
        FDataLock.Acquire();
        TScopeExit Unlock([this] { FDataLock.Release(); });
        TVideoState* VS = FVideoState.load();
        if (!VS) {
            QuitSDL();
            return;
        }
        if (!Got) {
            // The event queue is gone (SDL was shut down): the file is closed by now or
            // is being closed by its waiter.
            AV.SDL_Delay(10);
            continue;
        }
        const bool Mine = Event.type < SDL_USEREVENT || Event.user.data1 == VS;
        if (!Mine) continue;
        switch (Event.type) {
        case SDL_QUIT:
        case FF_QUIT_EVENT: CloseAndQuit(); return;
        case SDL_VIDEORESIZE:
            if (SDL_Surface* S = SetVideoMode(Event.resize.w, Event.resize.h, VIDEO_MODE_WINDOWED)) {
                Fscreen = S;
                Fscreen_width = S->w;
                Fscreen_height = S->h;
                VS->width = S->w;
                VS->height = S->h;
            }
            if (VS->paused) RefreshVideo(VS, false);
            break;
        case SDL_VIDEOEXPOSE:
            if (VS->paused)
                RefreshVideo(VS, false);
            else
                DisplayVideo(VS);
            break;
        case FF_ALLOC_EVENT:
            OpenVideoSurface(VS, false);
            AllocPicture(VS);
            break;
        case FF_REFRESH_EVENT:
            RefreshVideo(VS, true);
            VS->refresh = 0;
            break;
        case FF_ASPECT_EVENT:
            OpenVideoSurface(VS, true);
            DisplayVideo(VS);
            break;
        case FF_CLEAR_EVENT: ClearVideoArea(VS); break;
        case FF_REDRAW_EVENT: DisplayVideo(VS); break;
        default: break;
        }
    }
}

// ---------------------------------------------------------------------------------
// Reports

void TCustomPlayer::SetPlayState(TPlayState AState)
{
    FState = AState;
    if (OnState)
        FPlayEvent->Push(pekState, AState);
    else if (AState == psStop)
        FPlayEvent->Push(pekEnd, 0);
}

void TCustomPlayer::UpdatePosition()
{
    TVideoState* VS = FVideoState.load();
    if (!VS || VS->IsImage2) return;
    int64_t Pos;
    if (VS->video_stream >= 0) {
        Pos = std::llround(VideoClock(VS) * 1000000.0) - VS->StartTime;
    } else if (VS->audio_stream >= 0) {
        Pos = std::llround(AudioClock(VS) * 1000000.0) - VS->StartTime;
        if (VS->AudioDuration > 0 && Pos >= VS->AudioDuration && Pos < VS->Duration) Pos = VS->Duration;
    } else {
        return;
    }
    FCurrentPTS = Pos;
    int64_t Reported = Pos;
    if (VS->Duration > 0 && Pos >= VS->Duration) {
        Reported = VS->Duration;
        if (FLastPTS != VS->Duration) FLastPTS = 0;
    }
    const int64_t Last = FLastPTS;
    if (Last == AV_NOPTS_VALUE || std::llabs(Reported - Last) > 10000) {
        FLastPTS = Reported;
        if (OnPosition) FPlayEvent->Push(pekPosition, Reported);
    }
    if (!VS->IsDevice && VS->ReachEOF && !VS->EventEOF) {
        if (VS->video_stream >= 0) VS->EventEOF = 1;
        SetPlayState(psEnd);
    }
    const int64_t Limit = FPlayTime;
    if (Limit != AV_NOPTS_VALUE) {
        const int64_t Start = Fstart_time;
        if (Pos >= (Start != AV_NOPTS_VALUE ? Start + Limit : Limit)) {
            switch (FRepeatType.load()) {
            case rtStop: Stop(false); break;
            case rtLoop:
                if (Start != AV_NOPTS_VALUE)
                    Seek(Start, TSeekFlags{}, false);
                else
                    Seek(int64_t(0), TSeekFlags{sfAny}, false);
                break;
            default: break;
            }
        }
    }
}

// ---------------------------------------------------------------------------------
// Pictures

void TCustomPlayer::RunFrameHook(AVFrame* AFrame, TYUVPicture& APicture, int AOverlayWidth, int AOverlayHeight,
                                 double APTS)
{
    if (!FHook || !OnHook) return;
    TVideoState* VS = FVideoState.load();
    if (!FHookContext) FHookContext = new TRGBConvertContext;
    TRGBConvertContext& Ctx = *FHookContext;
    const int W = AFrame->width, H = AFrame->height;
    if (!PictureToBitmap(Ctx, AFrame->data, AFrame->linesize, AVPixelFormat(AFrame->format), H, W)) {
        SetErrorMessage("Cannot initialize the toRGB conversion context", false);
        return;
    }
    TBitmap* Bmp = Ctx.Bitmap.get();
    const int64_t Pos = std::llround(APTS * 1000000.0) - (VS ? VS->StartTime : 0);
    Bmp->Canvas()->Lock();
    try {
        OnHook(this, Bmp, Pos);
    } catch (const std::exception& E) {
        Bmp->Canvas()->Unlock();
        SetErrorMessage(String("Error occurs OnHook: ") + E.what(), false);
        return;
    }
    Bmp->Canvas()->Unlock();
    // Back into the overlay: the bitmap's rows into the RGB buffer, then scaled to YUV.
    const int Size = AV.av_image_get_buffer_size(Ctx.RGBPixFmt, W, H, 1);
    if (Size <= 0) return;
    if (!Ctx.RGBBuf || Ctx.RGBBufSize < Size) {
        AV.av_free(Ctx.RGBBuf);
        Ctx.RGBBuf = static_cast<uint8_t*>(AV.av_malloc(size_t(Size)));
        Ctx.RGBBufSize = Ctx.RGBBuf ? Size : 0;
        if (!Ctx.RGBBuf) return;
    }
    AV.av_image_fill_arrays(Ctx.RGBData, Ctx.RGBLinesize, Ctx.RGBBuf, Ctx.RGBPixFmt, W, H, 1);
    for (int Y = 0; Y < H; ++Y) memcpy(Ctx.RGBData[0] + size_t(Y) * Ctx.RGBLinesize[0], Bmp->ScanLine(Y), size_t(W) * 3);
    FHookFromRGB = AV.sws_getCachedContext(FHookFromRGB, W, H, Ctx.RGBPixFmt, AOverlayWidth, AOverlayHeight,
                                           AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!FHookFromRGB) {
        SetErrorMessage("Cannot initialize the fromRGB conversion context", false);
        return;
    }
    uint8_t* Dst[4] = {APicture.data[0], APicture.data[1], APicture.data[2], nullptr};
    int DstLines[4] = {APicture.linesize[0], APicture.linesize[1], APicture.linesize[2], 0};
    AV.sws_scale(FHookFromRGB, Ctx.RGBData, Ctx.RGBLinesize, 0, H, Dst, DstLines);
}

TBitmap* TCustomPlayer::CurrentFrame()
{
    int64_t PTS;
    return CurrentFrame(PTS);
}

TBitmap* TCustomPlayer::CurrentFrame(int64_t& APTS)
{
    if (!FRGBContext) FRGBContext = new TRGBConvertContext;
    if (!FRGBContext->Bitmap) {
        FRGBContext->Bitmap = std::make_shared<TBitmap>();
        FRGBContext->Bitmap->SetPixelFormat(pf24bit);
    }
    TBitmap* Bmp = FRGBContext->Bitmap.get();
    APTS = -1;
    auto Empty = [&] {
        Bmp->SetSize(0, 0);
        return Bmp;
    };
    if (!FVideoState.load() || FVideoState.load()->video_stream < 0) return Empty();
    // The play thread reallocates pictures under the data lock: the slot is chosen and
    // copied under it too.  The wait serves the GUI thread's queue in 100 ms steps.
    while (FDataLock.WaitFor(100) != wrSignaled) {
        if (IsMainThread()) PumpMessages();
        if (!FVideoState.load()) return Empty();
    }
    TScopeExit Release([this] { FDataLock.Release(); });
    TVideoState* VS = FVideoState.load();
    if (!VS || VS->video_stream < 0 || !VS->video_dec) return Empty();
    Bmp->SetSize(VS->video_dec->width, VS->video_dec->height);
    Bmp->Canvas()->Brush()->SetColor(clBlack);
    Bmp->Canvas()->FillRect(Rect(0, 0, Bmp->Width(), Bmp->Height()));
    TVideoPicture* Vp = &VS->pictq[ShownSlot(VS)];
    APTS = std::llround(Vp->pts * 1000000.0) - VS->StartTime;
    if (SDL_Overlay* Ov = Vp->bmp) {
        AV.SDL_LockYUVOverlay(Ov);
        const uint8_t* Data[4] = {Ov->pixels[0], Ov->pixels[2], Ov->pixels[1], nullptr};
        const int Lines[4] = {Ov->pitches[0], Ov->pitches[2], Ov->pitches[1], 0};
        bool Ok = PictureToBitmap(*FRGBContext, Data, Lines, AV_PIX_FMT_YUV420P, Vp->height, Vp->width);
        AV.SDL_UnlockYUVOverlay(Ov);
        if (!Ok) Bmp->SetSize(0, 0);
    }
    return Bmp;
}
