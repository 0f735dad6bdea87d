// The player's video pipeline: the video decoding thread with its filter graph, the
// picture queue and its overlays, display pacing and the subtitle decoding thread.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// ---------------------------------------------------------------------------------
// Decoding

// A picture decoded before the flush of a pending or performed seek is stale.
bool IsStale(TVideoState* VS) { return VS->seek_req || (VS->seek_done && !VS->seek_flushed); }

// Takes one packet from the video queue and decodes it: -1 when the queue was aborted,
// 1 with a picture to pass on in AFrame (its time, in stream time-base units, in APTS),
// 0 for nothing to pass on.  AFlushed tells that the packet was the flush marker.
int DecodeVideoPacket(TVideoState* VS, AVFrame* AFrame, int64_t* APTS, AVPacket* APacket, bool* AFlushed)
{
    TCustomPlayer* P = VS->Owner;
    AVCodecContext* Dec = VS->video_dec;
    *AFlushed = false;
    // A picture left from the packets sent before comes first.
    int R = AV.avcodec_receive_frame(Dec, AFrame);
    if (R < 0) {
        bool Flush = false;
        if (QueueGet(&VS->videoq, APacket, true, &Flush) < 0) return -1;
        if (Flush) {
            AV.avcodec_flush_buffers(Dec);
            VS->video_drained = false;
            {
                TSDLMutexGuard Guard(VS->pictq_mutex);
                for (TVideoPicture& Vp : VS->pictq) Vp.target_clock = 0;
                while (VS->pictq_size && !VS->videoq.abort_request) AV.SDL_CondWait(VS->pictq_cond, VS->pictq_mutex);
            }
            VS->video_current_pos = -1;
            VS->last_dts_for_fault_detection = INT64_MIN;
            VS->last_pts_for_fault_detection = INT64_MIN;
            VS->frame_last_pts = NAN;
            VS->frame_last_delay = 0;
            VS->frame_timer = NowSeconds();
            VS->timer_base = VS->frame_timer.load();
            VS->skip_frames = 1;
            VS->skip_frames_index = 0;
            VS->seek_flushed = 1;
            *AFlushed = true;
            return 0;
        }
        const bool End = !APacket->data && APacket->size == 0;
        if (End) {
            // The decoder gives out what it holds back once, then stays drained until
            // the next flush.
            if (!VS->video_drained) AV.avcodec_send_packet(Dec, nullptr);
            VS->video_drained = true;
        } else if (!VS->video_drained) {
            AV.avcodec_send_packet(Dec, APacket);
        }
        AV.av_packet_unref(APacket);
        R = AV.avcodec_receive_frame(Dec, AFrame);
        if (R < 0) {
            if (End) {
                // No picture is left: whoever waits for one is released.
                if (!IsStale(VS)) {
                    P->FSeeking = false;
                    P->FPictEvent.SetEvent();
                }
                if (!VS->EventEOF) P->UpdatePosition();
            }
            return 0;
        }
    }
    const int64_t Dts = AFrame->pkt_dts, Reordered = AFrame->pts;
    if (Dts != AV_NOPTS_VALUE) {
        VS->faulty_dts += Dts <= VS->last_dts_for_fault_detection;
        VS->last_dts_for_fault_detection = Dts;
    }
    if (Reordered != AV_NOPTS_VALUE) {
        VS->faulty_pts += Reordered <= VS->last_pts_for_fault_detection;
        VS->last_pts_for_fault_detection = Reordered;
    }
    const int Order = P->Fdecoder_reorder_pts;
    // A picture without either time gets none (not 0, which is a real time).
    if (Reordered != AV_NOPTS_VALUE &&
        (Order == 1 || (Order != 0 && VS->faulty_pts < VS->faulty_dts) || Dts == AV_NOPTS_VALUE))
        *APTS = Reordered;
    else
        *APTS = Dts;
    VS->skip_frames_index += 1;
    const float Skip = VS->skip_frames;
    if (VS->skip_frames_index >= Skip) {
        VS->skip_frames_index -= std::max(Skip, 1.0f);
        return 1;
    }
    AV.av_frame_unref(AFrame);
    return 0;
}

// ---------------------------------------------------------------------------------
// The filter graph: "buffer" source -> the player's filters -> "buffersink" (YUV 4:2:0)

struct TVideoGraph {
    AVFilterGraph* Graph = nullptr;
    AVFilterContext* Src = nullptr;
    AVFilterContext* Sink = nullptr;
    int Width = 0, Height = 0, Format = -1;
    void Free()
    {
        if (Graph) AV.avfilter_graph_free(&Graph);
        Src = Sink = nullptr;
    }
};

int ConfigureVideoGraph(TVideoState* VS, TVideoGraph& G, const AVFrame* AFrame)
{
    TCustomPlayer* P = VS->Owner;
    G.Free();
    VS->out_video_filter = nullptr;
    G.Graph = AV.avfilter_graph_alloc();
    if (!G.Graph) return AVERROR(ENOMEM);
    G.Graph->scale_sws_opts = AV.av_strdup(::Format("flags=%d", P->Fsws_flags).c_str());
    AVRational Tb = VS->video_st.load()->time_base;
    AVRational Sar = AFrame->sample_aspect_ratio;
    if (Sar.num <= 0 || Sar.den <= 0) Sar = AVRational{0, 1};
    String Args = ::Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", AFrame->width,
                           AFrame->height, AFrame->format, Tb.num, Tb.den, Sar.num, Sar.den);
    int R = AV.avfilter_graph_create_filter(&G.Src, AV.avfilter_get_by_name("buffer"), "src", Args.c_str(), nullptr,
                                            G.Graph);
    if (R < 0) return R;
    G.Sink = AV.avfilter_graph_alloc_filter(G.Graph, AV.avfilter_get_by_name("buffersink"), "out");
    if (!G.Sink) return AVERROR(ENOMEM);
    const AVPixelFormat Formats[] = {AV_PIX_FMT_YUV420P};
    R = AV.av_opt_set_bin(G.Sink, "pix_fmts", reinterpret_cast<const uint8_t*>(Formats), sizeof(Formats),
                          AV_OPT_SEARCH_CHILDREN);
    if (R < 0) return R;
    R = AV.avfilter_init_str(G.Sink, nullptr);
    if (R < 0) return R;
    if (!P->Fvfilters.empty()) {
        AVFilterInOut* Outputs = AV.avfilter_inout_alloc();
        AVFilterInOut* Inputs = AV.avfilter_inout_alloc();
        if (!Outputs || !Inputs) {
            AV.avfilter_inout_free(&Outputs);
            AV.avfilter_inout_free(&Inputs);
            return AVERROR(ENOMEM);
        }
        Outputs->name = AV.av_strdup("in");
        Outputs->filter_ctx = G.Src;
        Outputs->pad_idx = 0;
        Outputs->next = nullptr;
        Inputs->name = AV.av_strdup("out");
        Inputs->filter_ctx = G.Sink;
        Inputs->pad_idx = 0;
        Inputs->next = nullptr;
        R = AV.avfilter_graph_parse_ptr(G.Graph, P->Fvfilters.c_str(), &Inputs, &Outputs, nullptr);
        AV.avfilter_inout_free(&Outputs);
        AV.avfilter_inout_free(&Inputs);
    } else {
        R = AV.avfilter_link(G.Src, 0, G.Sink, 0);
    }
    if (R < 0) return R;
    R = AV.avfilter_graph_config(G.Graph, nullptr);
    if (R < 0) return R;
    G.Width = AFrame->width;
    G.Height = AFrame->height;
    G.Format = AFrame->format;
    VS->out_video_filter = G.Sink;
    VS->sink_width = AV.av_buffersink_get_w(G.Sink);
    VS->sink_height = AV.av_buffersink_get_h(G.Sink);
    VS->sink_format = AVPixelFormat(AV.av_buffersink_get_format(G.Sink));
    return 0;
}

// Pulls the next picture out of the graph into AOut, decoding and filtering as much as
// that takes; -1 when the thread is to end.
int GetVideoPicture(TVideoState* VS, TVideoGraph& G, AVFrame* AFrame, AVFrame* AOut, AVPacket* APacket)
{
    for (;;) {
        if (G.Sink) {
            int R = AV.av_buffersink_get_frame(G.Sink, AOut);
            if (R >= 0) return 1;
            if (R != AVERROR(EAGAIN)) return -1;
        }
        int64_t Pts = 0;
        bool Flushed = false;
        int R = DecodeVideoPacket(VS, AFrame, &Pts, APacket, &Flushed);
        if (R < 0) return -1;
        // Pictures the graph still holds from before a seek are not wanted.
        if (Flushed && G.Graph) {
            G.Free();
            VS->out_video_filter = nullptr;
        }
        if (R == 0) continue;
        AFrame->pts = Pts;
        if (!G.Graph || AFrame->width != G.Width || AFrame->height != G.Height || AFrame->format != G.Format) {
            if (ConfigureVideoGraph(VS, G, AFrame) < 0) {
                AV.av_frame_unref(AFrame);
                return -1;
            }
        }
        R = AV.av_buffersrc_add_frame_flags(G.Src, AFrame, 0);
        AV.av_frame_unref(AFrame);
        if (R < 0) return -1;
    }
}

// ---------------------------------------------------------------------------------
// The picture queue

int QueuePicture(TVideoState* VS, AVFrame* AFrame, double APTS, int64_t APos)
{
    TCustomPlayer* P = VS->Owner;
    {
        TSDLMutexGuard Guard(VS->pictq_mutex);
        if (VS->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !VS->refresh)
            VS->skip_frames = std::max(1.0f - float(FRAME_SKIP_FACTOR),
                                       VS->skip_frames * (1.0f - float(FRAME_SKIP_FACTOR)));
        while (VS->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !VS->videoq.abort_request)
            AV.SDL_CondWait(VS->pictq_cond, VS->pictq_mutex);
    }
    if (VS->videoq.abort_request) return -1;
    TVideoPicture* Vp = &VS->pictq[VS->pictq_windex];
    const int W = AFrame->width & ~1, H = AFrame->height & ~1;
    if (!Vp->bmp || Vp->width != W || Vp->height != H) {
        Vp->allocated = 0;
        SDL_Event Event{};
        Event.type = FF_ALLOC_EVENT;
        Event.user.data1 = VS;
        AV.SDL_PushEvent(&Event);
        TSDLMutexGuard Guard(VS->pictq_mutex);
        while (!Vp->allocated && !VS->videoq.abort_request) AV.SDL_CondWait(VS->pictq_cond, VS->pictq_mutex);
        if (VS->videoq.abort_request) return -1;
    }
    if (Vp->bmp) {
        if (!Vp->picref) Vp->picref = AV.av_frame_alloc();
        if (Vp->picref) {
            AV.av_frame_unref(Vp->picref);
            AV.av_frame_ref(Vp->picref, AFrame);
        }
        SDL_Overlay* Bmp = Vp->bmp;
        AV.SDL_LockYUVOverlay(Bmp);
        // YV12 keeps V before U.
        TYUVPicture Pict{{Bmp->pixels[0], Bmp->pixels[2], Bmp->pixels[1]},
                         {Bmp->pitches[0], Bmp->pitches[2], Bmp->pitches[1]}};
        uint8_t* SavedData[3] = {AFrame->data[0], AFrame->data[1], AFrame->data[2]};
        int SavedLines[3] = {AFrame->linesize[0], AFrame->linesize[1], AFrame->linesize[2]};
        if (P->FVerticalFlip) {
            const int Ch = (AFrame->height + 1) / 2;
            AFrame->data[0] += AFrame->linesize[0] * (AFrame->height - 1);
            AFrame->linesize[0] = -AFrame->linesize[0];
            for (int I = 1; I < 3; ++I) {
                AFrame->data[I] += AFrame->linesize[I] * (Ch - 1);
                AFrame->linesize[I] = -AFrame->linesize[I];
            }
        }
        const int CopyW = std::min(W, Bmp->w), CopyH = std::min(H, Bmp->h);
        AV.av_image_copy(Pict.data, Pict.linesize, const_cast<const uint8_t**>(AFrame->data), AFrame->linesize,
                         AV_PIX_FMT_YUV420P, CopyW, CopyH);
        P->RunFrameHook(AFrame, Pict, CopyW, CopyH, APTS);
        AV.SDL_UnlockYUVOverlay(Bmp);
        for (int I = 0; I < 3; ++I) {
            AFrame->data[I] = SavedData[I];
            AFrame->linesize[I] = SavedLines[I];
        }
    }
    Vp->pts = APTS;
    Vp->pos = APos;
    VS->pictq_windex = (VS->pictq_windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    TSDLMutexGuard Guard(VS->pictq_mutex);
    Vp->target_clock = TargetTime(VS, APTS);
    VS->pictq_size++;
    return 0;
}

// APTS is NAN for a picture without a time: it follows the one before.
int OutputPicture(TVideoState* VS, AVFrame* AFrame, double APTS, int64_t APos)
{
    if (!std::isnan(APTS))
        VS->video_clock = APTS;
    else
        APTS = VS->video_clock;
    AVRational Rate = AV.av_guess_frame_rate(VS->ic, VS->video_st, nullptr);
    double Delay = Rate.num > 0 && Rate.den > 0 ? double(Rate.den) / Rate.num : 0.04;
    Delay += AFrame->repeat_pict * (Delay * 0.5);
    VS->video_clock = VS->video_clock + Delay;
    return QueuePicture(VS, AFrame, APTS, APos);
}

// The BT.601 limited-range equations in 10-bit fixed point.
constexpr int ScaleBits = 10;
constexpr int OneHalf = 1 << (ScaleBits - 1);
constexpr int Fix(double X) { return int(X * (1 << ScaleBits) + 0.5); }

}  // namespace

uint32_t RGBAToYUVA(uint32_t ARGBA)
{
    const int A = int(ARGBA >> 24), R = int((ARGBA >> 16) & 0xFF), G = int((ARGBA >> 8) & 0xFF),
              B = int(ARGBA & 0xFF);
    const int Y = (Fix(0.29900 * 219.0 / 255.0) * R + Fix(0.58700 * 219.0 / 255.0) * G +
                   Fix(0.11400 * 219.0 / 255.0) * B + (OneHalf + (16 << ScaleBits))) >>
                  ScaleBits;
    const int U = ((-Fix(0.16874 * 224.0 / 255.0) * R - Fix(0.33126 * 224.0 / 255.0) * G +
                    Fix(0.50000 * 224.0 / 255.0) * B + OneHalf - 1) >>
                   ScaleBits) +
                  128;
    const int V = ((Fix(0.50000 * 224.0 / 255.0) * R - Fix(0.41869 * 224.0 / 255.0) * G -
                    Fix(0.08131 * 224.0 / 255.0) * B + OneHalf - 1) >>
                   ScaleBits) +
                  128;
    return uint32_t(A) << 24 | uint32_t(Y) << 16 | uint32_t(U) << 8 | uint32_t(V);
}

double TargetTime(TVideoState* VS, double APTS)
{
    double Delay = APTS - VS->frame_last_pts;
    if (!(Delay > 0) || Delay >= 10.0)
        Delay = VS->frame_last_delay;
    else
        VS->frame_last_delay = Delay;
    VS->frame_last_pts = APTS;
    if ((VS->av_sync_type == AV_SYNC_AUDIO_MASTER && VS->audio_stream >= 0) ||
        VS->av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
        double Diff = VideoClock(VS) - MasterClock(VS);
        double Threshold = std::max(AV_SYNC_THRESHOLD, Delay);
        if (std::fabs(Diff) < AV_NOSYNC_THRESHOLD) {
            if (Diff <= -Threshold)
                Delay = 0;
            else if (Diff >= Threshold)
                Delay = 2 * Delay;
        }
    }
    VS->frame_timer = VS->frame_timer + Delay;
    return VS->frame_timer;
}

int ShownSlot(TVideoState* VS)
{
    if (VS->pictq_size > 0) return VS->pictq_rindex;
    int Last = VS->last_shown;
    return Last >= 0 ? Last : VS->pictq_rindex.load();
}

void AllocPicture(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    TVideoPicture* Vp = &VS->pictq[VS->pictq_windex];
    if (Vp->bmp) AV.SDL_FreeYUVOverlay(Vp->bmp);
    Vp->bmp = nullptr;
    if (Vp->picref) AV.av_frame_free(&Vp->picref);
    Vp->width = VS->sink_width & ~1;
    Vp->height = VS->sink_height & ~1;
    Vp->pix_fmt = VS->sink_format;
    if (P->Fscreen && Vp->width > 0 && Vp->height > 0)
        Vp->bmp = AV.SDL_CreateYUVOverlay(Vp->width, Vp->height, SDL_YV12_OVERLAY, P->Fscreen);
    TSDLMutexGuard Guard(VS->pictq_mutex);
    Vp->allocated = 1;
    AV.SDL_CondSignal(VS->pictq_cond);
}

int VideoThreadProc(void* AArg)
{
    auto* VS = static_cast<TVideoState*>(AArg);
    TCustomPlayer* P = VS->Owner;
    AVFrame* Frame = AV.av_frame_alloc();
    AVFrame* Out = AV.av_frame_alloc();
    AVPacket* Packet = AV.av_packet_alloc();
    TVideoGraph G;
    try {
        while (Frame && Out && Packet) {
            while (VS->paused && !VS->videoq.abort_request && !VS->seek_paused && !VS->open_paused) AV.SDL_Delay(10);
            if (GetVideoPicture(VS, G, Frame, Out, Packet) < 0) break;
            // A picture decoded before the flush of a pending or performed seek is
            // stale: it is dropped by the display and announces nothing.
            const bool Stale = IsStale(VS);
            if (VS->seek_done && VS->seek_flushed) {
                VS->seek_done = 0;
                VS->seek_paused = 0;
            }
            AVRational Tb = G.Sink ? AV.av_buffersink_get_time_base(G.Sink) : VS->video_st.load()->time_base;
            double Pts = Out->pts != AV_NOPTS_VALUE ? double(Out->pts) * av_q2d(Tb) : NAN;
            int Ret = OutputPicture(VS, Out, Pts, Out->pkt_pos);
            AV.av_frame_unref(Out);
            if (Ret < 0) break;
            // Queuing may have waited for a free slot while a seek was asked for and
            // made: a picture from before it announces nothing, or the wait for the
            // seek's picture would end on it.
            if (!Stale && !IsStale(VS)) {
                // Seeking ends before the picture is announced: a caller waiting for
                // the picture finds the seek over.
                P->FSeeking = false;
                VS->EventEOF = 0;
                P->FPictEvent.SetEvent();
            }
            if (VS->open_paused) {
                if (VS->open_paused > 1) {
                    VS->open_paused = 0;
                    P->SetPlayState(psPause);
                } else {
                    VS->open_paused++;
                }
            }
            if (P->Fstep) TogglePaused(VS);
        }
    } catch (const std::exception& E) {
        P->SetErrorMessage(String("video thread: ") + E.what(), false);
    }
    G.Free();
    VS->out_video_filter = nullptr;
    AV.av_frame_free(&Frame);
    AV.av_frame_free(&Out);
    AV.av_packet_free(&Packet);
    return 0;
}

int RefreshThreadProc(void* AArg)
{
    auto* VS = static_cast<TVideoState*>(AArg);
    TCustomPlayer* P = VS->Owner;
    while (!VS->abort_request) {
        if (!VS->refresh) {
            VS->refresh = 1;
            SDL_Event Event{};
            Event.type = FF_REFRESH_EVENT;
            Event.user.data1 = VS;
            AV.SDL_PushEvent(&Event);
        }
        AV.SDL_Delay(VS->audio_st && VS->show_audio ? uint32_t(std::max(P->Frdftspeed, 1)) : 5);
    }
    return 0;
}

namespace {

void FreeQueuedSubtitle(TVideoState* VS)
{
    TSubPicture& Sp = VS->subpq[VS->subpq_rindex];
    AV.avsubtitle_free(&Sp.sub);
    VS->subpq_rindex = (VS->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
    TSDLMutexGuard Guard(VS->subpq_mutex);
    VS->subpq_size--;
    AV.SDL_CondSignal(VS->subpq_cond);
}

void RetireSubtitles(TVideoState* VS)
{
    if (VS->subtitle_stream_changed) {
        TSDLMutexGuard Guard(VS->subpq_mutex);
        while (VS->subpq_size) {
            AV.avsubtitle_free(&VS->subpq[VS->subpq_rindex].sub);
            VS->subpq_rindex = (VS->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
            VS->subpq_size--;
        }
        VS->subtitle_stream_changed = 0;
        AV.SDL_CondSignal(VS->subpq_cond);
        return;
    }
    if (VS->subpq_size == 0) return;
    const TSubPicture& Sp = VS->subpq[VS->subpq_rindex];
    const TSubPicture* Next =
        VS->subpq_size > 1 ? &VS->subpq[(VS->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE] : nullptr;
    const double Now = VS->video_current_pts;
    if (Now > Sp.pts + double(Sp.sub.end_display_time) / 1000 ||
        (Next && Now > Next->pts + double(Next->sub.start_display_time) / 1000))
        FreeQueuedSubtitle(VS);
}

}  // namespace

void RefreshVideo(TVideoState* VS, bool AAdvance)
{
    TCustomPlayer* P = VS->Owner;
    if (VS->video_st) {
        bool Dropped = false;
        const bool SeekDoneAtStart = VS->seek_done;
        for (;;) {
            if (VS->pictq_size == 0) {
                if (!AAdvance) DisplayVideo(VS);
                break;
            }
            const double Now = NowSeconds();
            TVideoPicture* Vp = &VS->pictq[VS->pictq_rindex];
            // Due times change under the picture lock (a flush clears them).
            double Target, NextTarget;
            bool Two;
            {
                TSDLMutexGuard Guard(VS->pictq_mutex);
                Target = Vp->target_clock;
                Two = VS->pictq_size > 1;
                NextTarget = Two ? VS->pictq[(VS->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE].target_clock : 0;
            }
            if (Now < Target) return;
            VS->video_current_pts = Vp->pts;
            VS->video_current_pts_drift = Vp->pts - Now;
            VS->timer_base = Now;
            VS->video_current_pos = Vp->pos;
            if (Two) {
                if (NextTarget < Target) throw std::runtime_error("pictures are queued out of their time order");
            } else {
                NextTarget = Target + VS->video_clock - Vp->pts;
            }
            // A picture shown by a step is never dropped for being late: stepped after a
            // long pause, it would be late by the pause and the step would show nothing.
            const bool Late = P->Fframedrop && Now > NextTarget && !VS->IsDevice && !P->Fstep;
            if (Late || SeekDoneAtStart || VS->seek_done) {
                VS->skip_frames = VS->skip_frames * float(1.0 + FRAME_SKIP_FACTOR);
                if (VS->pictq_size > 1 || Now > NextTarget + 0.5 || VS->seek_done) {
                    VS->pictq_rindex = (VS->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                    TSDLMutexGuard Guard(VS->pictq_mutex);
                    VS->pictq_size--;
                    AV.SDL_CondSignal(VS->pictq_cond);
                    Dropped = true;
                    continue;
                }
            }
            if (VS->subtitle_st) RetireSubtitles(VS);
            DisplayVideo(VS);
            if (AAdvance) {
                VS->last_shown = VS->pictq_rindex.load();
                VS->pictq_rindex = (VS->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                TSDLMutexGuard Guard(VS->pictq_mutex);
                VS->pictq_size--;
                AV.SDL_CondSignal(VS->pictq_cond);
            }
            break;
        }
        if (Dropped) return;
        P->UpdatePosition();
    } else if (VS->audio_st) {
        DisplayVideo(VS);
        P->UpdatePosition();
    }
}

int SubtitleThreadProc(void* AArg)
{
    auto* VS = static_cast<TVideoState*>(AArg);
    AVPacket* Packet = AV.av_packet_alloc();
    while (Packet) {
        while (VS->paused && !VS->subtitleq.abort_request && !VS->seek_paused) AV.SDL_Delay(10);
        bool Flush = false;
        if (QueueGet(&VS->subtitleq, Packet, true, &Flush) < 0) break;
        if (Flush) {
            AV.avcodec_flush_buffers(VS->subtitle_dec);
            continue;
        }
        {
            TSDLMutexGuard Guard(VS->subpq_mutex);
            while (VS->subpq_size >= SUBPICTURE_QUEUE_SIZE && !VS->subtitleq.abort_request)
                AV.SDL_CondWait(VS->subpq_cond, VS->subpq_mutex);
        }
        if (VS->subtitleq.abort_request) break;
        TSubPicture* Sp = &VS->subpq[VS->subpq_windex];
        double Pts = Packet->pts != AV_NOPTS_VALUE ? double(Packet->pts) * av_q2d(VS->subtitle_st.load()->time_base) : 0;
        int Got = 0;
        if (AV.avcodec_decode_subtitle2(VS->subtitle_dec, &Sp->sub, &Got, Packet) >= 0 && Got) {
            if (Sp->sub.format == 0) {
                Sp->pts = Pts;
                for (unsigned I = 0; I < Sp->sub.num_rects; ++I) {
                    AVSubtitleRect* Rect = Sp->sub.rects[I];
                    auto* Pal = reinterpret_cast<uint32_t*>(Rect->data[1]);
                    for (int J = 0; Pal && J < Rect->nb_colors; ++J) Pal[J] = RGBAToYUVA(Pal[J]);
                }
                VS->subpq_windex = (VS->subpq_windex + 1) % SUBPICTURE_QUEUE_SIZE;
                TSDLMutexGuard Guard(VS->subpq_mutex);
                VS->subpq_size++;
            } else {
                // Text subtitles are not shown; they are not kept either.
                AV.avsubtitle_free(&Sp->sub);
            }
        }
        AV.av_packet_unref(Packet);
    }
    AV.av_packet_free(&Packet);
    return 0;
}
