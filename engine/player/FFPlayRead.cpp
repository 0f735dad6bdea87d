// The reading half of the player: packet queues, opening and closing a file, the read
// thread, the stream components, seek and pause requests, and the clocks.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"
#include "platform/system/SysUtils.h"

#include <cmath>
#include <cstring>

TSDLMutexGuard::TSDLMutexGuard(SDL_mutex* AMutex) : FMutex(AMutex) { AV.SDL_mutexP(FMutex); }
TSDLMutexGuard::~TSDLMutexGuard() { AV.SDL_mutexV(FMutex); }

// ---------------------------------------------------------------------------------
// Packet queue

namespace {

bool IsEndMarker(const AVPacket* APacket) { return !APacket->data && APacket->size == 0; }

int Append(TPacketQueue* Q, TPacketNode* ANode, int ASize, bool AEndMarker)
{
    TSDLMutexGuard Guard(Q->mutex);
    if (!Q->last_pkt)
        Q->first_pkt = ANode;
    else
        Q->last_pkt->next = ANode;
    Q->last_pkt = ANode;
    Q->nb_packets++;
    Q->size += ASize + int(sizeof(TPacketNode));
    if (AEndMarker) Q->nb_end_markers++;
    AV.SDL_CondSignal(Q->cond);
    return 0;
}

void FreeNode(TPacketNode* ANode)
{
    if (ANode->pkt) AV.av_packet_free(&ANode->pkt);
    delete ANode;
}

}  // namespace

void QueueInit(TPacketQueue* Q)
{
    Q->first_pkt = Q->last_pkt = nullptr;
    Q->nb_packets = Q->size = Q->nb_end_markers = 0;
    Q->abort_request = 0;
    Q->mutex = AV.SDL_CreateMutex();
    Q->cond = AV.SDL_CreateCond();
}

int QueuePut(TPacketQueue* Q, const AVPacket* APacket)
{
    const bool End = IsEndMarker(APacket);
    AVPacket* Copy = AV.av_packet_alloc();
    if (!Copy) return -1;
    if (End) {
        Copy->stream_index = APacket->stream_index;
    } else if (AV.av_packet_ref(Copy, APacket) < 0) {
        AV.av_packet_free(&Copy);
        return -1;
    }
    auto* Node = new (std::nothrow) TPacketNode;
    if (!Node) {
        AV.av_packet_free(&Copy);
        return -1;
    }
    Node->pkt = Copy;
    Node->end = End;
    return Append(Q, Node, Copy->size, End);
}

int QueuePutFlush(TPacketQueue* Q)
{
    auto* Node = new (std::nothrow) TPacketNode;
    if (!Node) return -1;
    Node->flush = true;
    return Append(Q, Node, 0, false);
}

int QueueGet(TPacketQueue* Q, AVPacket* APacket, bool ABlock, bool* AFlush)
{
    TSDLMutexGuard Guard(Q->mutex);
    for (;;) {
        if (Q->abort_request) return -1;
        TPacketNode* Node = Q->first_pkt;
        if (Node) {
            Q->first_pkt = Node->next;
            if (!Q->first_pkt) Q->last_pkt = nullptr;
            Q->nb_packets--;
            int Size = Node->pkt ? Node->pkt->size : 0;
            Q->size -= Size + int(sizeof(TPacketNode));
            AV.av_packet_unref(APacket);
            if (Node->end) Q->nb_end_markers--;
            if (Node->pkt) AV.av_packet_move_ref(APacket, Node->pkt);
            if (AFlush) *AFlush = Node->flush;
            FreeNode(Node);
            return 1;
        }
        if (!ABlock) return 0;
        AV.SDL_CondWait(Q->cond, Q->mutex);
    }
}

void QueueFlush(TPacketQueue* Q)
{
    if (!Q->mutex) return;
    TSDLMutexGuard Guard(Q->mutex);
    for (TPacketNode* Node = Q->first_pkt; Node;) {
        TPacketNode* Next = Node->next;
        FreeNode(Node);
        Node = Next;
    }
    Q->first_pkt = Q->last_pkt = nullptr;
    Q->nb_packets = 0;
    Q->size = 0;
    Q->nb_end_markers = 0;
}

void QueueAbort(TPacketQueue* Q)
{
    if (!Q->mutex) return;
    TSDLMutexGuard Guard(Q->mutex);
    Q->abort_request = 1;
    AV.SDL_CondSignal(Q->cond);
}

void QueueEnd(TPacketQueue* Q)
{
    QueueFlush(Q);
    if (Q->mutex) AV.SDL_DestroyMutex(Q->mutex);
    if (Q->cond) AV.SDL_DestroyCond(Q->cond);
    Q->mutex = nullptr;
    Q->cond = nullptr;
}

int QueueSize(TPacketQueue* Q)
{
    if (!Q->mutex) return 0;
    TSDLMutexGuard Guard(Q->mutex);
    return Q->size;
}

int QueuePackets(TPacketQueue* Q)
{
    if (!Q->mutex) return 0;
    TSDLMutexGuard Guard(Q->mutex);
    return Q->nb_packets;
}

int QueueEndMarkers(TPacketQueue* Q)
{
    if (!Q->mutex) return 0;
    TSDLMutexGuard Guard(Q->mutex);
    return Q->nb_end_markers;
}

// ---------------------------------------------------------------------------------
// Clocks

double NowSeconds() { return double(AV.av_gettime()) / 1000000.0; }

double AudioClock(TVideoState* VS)
{
    double Pts = VS->audio_clock;
    int HwBufSize = VS->audio_buf_size - VS->audio_buf_index;
    int BytesPerSec = VS->audio_freq * 2 * VS->audio_channels;
    if (BytesPerSec) Pts -= double(HwBufSize) / BytesPerSec;
    return Pts;
}

double VideoClock(TVideoState* VS)
{
    if (VS->paused) return VS->video_current_pts;
    double Drift = VS->video_current_pts_drift;
    if (Drift != 0) return NowSeconds() + Drift;
    return double(VS->StartTime) / 1000000.0;
}

double ExternalClock(TVideoState* VS)
{
    return VS->external_clock + double(AV.av_gettime() - VS->external_clock_time) * 1e-6;
}

double MasterClock(TVideoState* VS)
{
    switch (VS->av_sync_type) {
    case AV_SYNC_VIDEO_MASTER: return VS->video_stream >= 0 ? VideoClock(VS) : AudioClock(VS);
    case AV_SYNC_AUDIO_MASTER: return VS->audio_stream >= 0 ? AudioClock(VS) : VideoClock(VS);
    default: return ExternalClock(VS);
    }
}

// ---------------------------------------------------------------------------------
// Events to the play thread

namespace {

void PushUserEvent(TVideoState* VS, int AType)
{
    SDL_Event Event{};
    Event.type = uint8_t(AType);
    Event.user.type = uint8_t(AType);
    Event.user.data1 = VS;
    AV.SDL_PushEvent(&Event);
}

}  // namespace

void PushQuitEvent(TVideoState* VS) { PushUserEvent(VS, FF_QUIT_EVENT); }
void PushAspectEvent(TVideoState* VS) { PushUserEvent(VS, FF_ASPECT_EVENT); }
void PushRedrawEvent(TVideoState* VS) { PushUserEvent(VS, FF_REDRAW_EVENT); }

// ---------------------------------------------------------------------------------
// Seek and pause

void RequestSeek(TVideoState* VS, TSeekFlags AFlags, bool AWait, int64_t APos, int64_t ARel)
{
    if (VS->seek_req) return;
    TCustomPlayer* P = VS->Owner;
    P->FSeeking = true;
    VS->seek_paused = VS->paused.load();
    VS->seek_pos = APos;
    VS->seek_rel = ARel;
    VS->seek_flags = SeekFlagsToAV(AFlags);
    P->FSeekEvent.ResetEvent();
    VS->seek_req = 1;
    if (!AWait) return;
    // Waits in 100 ms steps so that the GUI thread keeps serving synchronisations.
    auto Wait = [&](TEvent& AEvent) {
        while (AEvent.WaitFor(100) != wrSignaled) {
            if (IsMainThread()) PumpMessages();
            if (P->VideoState() != VS || VS->abort_request) return false;
        }
        return true;
    };
    if (!Wait(P->FSeekEvent)) return;
    if (VS->video_stream >= 0) Wait(P->FPictEvent);
}

void TogglePaused(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    if (P->FSeekEvent.WaitFor(250) != wrSignaled) P->FSeekEvent.SetEvent();
    if (P->VideoState() != VS) return;
    if (VS->paused) {
        double Now = NowSeconds();
        // The pictures' due times move on by the time spent since the last picture was
        // shown, or since they were set when none has been shown since (a file opened
        // paused, a seek while paused): not by the whole wall clock.
        VS->frame_timer = VS->frame_timer + Now - VS->timer_base;
        VS->timer_base = Now;
        if (VS->read_pause_return != AVERROR(ENOSYS)) VS->video_current_pts = Now + VS->video_current_pts_drift;
        VS->video_current_pts_drift = VS->video_current_pts - Now;
        VS->paused = 0;
    } else {
        if (VS->video_stream >= 0) {
            if (P->FPictEvent.WaitFor(250) != wrSignaled) P->FPictEvent.SetEvent();
            if (P->VideoState() != VS) return;
        }
        VS->paused = 1;
    }
}

// ---------------------------------------------------------------------------------
// Stream components

namespace {

AVCodecContext*& DecoderOf(TVideoState* VS, AVMediaType AType)
{
    switch (AType) {
    case AVMEDIA_TYPE_AUDIO: return VS->audio_dec;
    case AVMEDIA_TYPE_VIDEO: return VS->video_dec;
    default: return VS->subtitle_dec;
    }
}

void FreeDecoder(AVCodecContext*& ACtx)
{
    if (!ACtx) return;
    TCriticalSectionGuard Guard(CodecLock);
    AV.avcodec_free_context(&ACtx);
}

}  // namespace

int OpenStreamComponent(TVideoState* VS, int AStreamIndex)
{
    AVFormatContext* IC = VS->ic;
    TCustomPlayer* P = VS->Owner;
    if (AStreamIndex < 0 || AStreamIndex >= int(IC->nb_streams)) return -1;
    AVStream* St = IC->streams[AStreamIndex];
    AVCodecParameters* Par = St->codecpar;
    const AVCodec* Codec = AV.avcodec_find_decoder(Par->codec_id);
    AVCodecContext* Ctx = AV.avcodec_alloc_context3(Codec);
    if (!Ctx || AV.avcodec_parameters_to_context(Ctx, Par) < 0) {
        if (Ctx) AV.avcodec_free_context(&Ctx);
        P->SetErrorMessage("avcodec_open() failed.", false);
        return -1;
    }
    Ctx->pkt_timebase = St->time_base;
    Ctx->debug_mv = P->Fdebug_mv;
    Ctx->debug = P->Fdebug;
    Ctx->workaround_bugs = P->Fworkaround_bugs;
    if (Codec && P->Flowres > 0) Ctx->lowres = std::min(P->Flowres, int(Codec->max_lowres));
    Ctx->idct_algo = P->Fidct_algo;
    if (P->Ffast) Ctx->flags2 |= AV_CODEC_FLAG2_FAST;
    Ctx->skip_frame = P->Fskip_frame;
    Ctx->skip_idct = P->Fskip_idct;
    Ctx->skip_loop_filter = P->Fskip_loop_filter;
    Ctx->err_recognition = P->Ferror_recognition;
    Ctx->error_concealment = P->Ferror_concealment;
    Ctx->thread_count = 1;
    {
        TCriticalSectionGuard Guard(CodecLock);
        if (!Codec || AV.avcodec_open2(Ctx, Codec, nullptr) < 0) {
            AV.avcodec_free_context(&Ctx);
            P->SetErrorMessage("avcodec_open() failed.", false);
            return -1;
        }
    }

    if (Ctx->codec_type == AVMEDIA_TYPE_AUDIO) {
        // The decoder's samples are converted to at most two channels of 16-bit samples.
        // Everything the callback uses is ready before SDL starts its audio thread.
        int Channels = Ctx->ch_layout.nb_channels;
        SDL_AudioSpec Wanted{};
        Wanted.freq = Ctx->sample_rate;
        Wanted.format = AUDIO_S16LSB;
        Wanted.channels = uint8_t(Channels > 2 ? 2 : Channels);
        Wanted.silence = 0;
        Wanted.samples = SDL_AUDIO_BUFFER_SIZE;
        Wanted.callback = AudioCallback;
        Wanted.userdata = VS;
        VS->audio_src_fmt = AV_SAMPLE_FMT_S16;
        VS->audio_src_rate = Ctx->sample_rate;
        AV.av_channel_layout_uninit(&VS->audio_src_layout);
        VS->audio_channels = Wanted.channels;
        VS->audio_freq = Wanted.freq;
        VS->audio_st = St;
        VS->audio_dec = Ctx;
        VS->AudioDuration = St->duration != AV_NOPTS_VALUE
                                ? AV.av_rescale_q(St->duration, St->time_base, AVRational{1, AV_TIME_BASE})
                                : -1;
        VS->audio_buf_size = 0;
        VS->audio_buf_index = 0;
        VS->audio_diff_avg_coef = std::exp(std::log10(0.01) / AUDIO_DIFF_AVG_NB);
        VS->audio_diff_avg_count = 0;
        VS->audio_diff_threshold = Ctx->sample_rate > 0 ? 2.0 * SDL_AUDIO_BUFFER_SIZE / Ctx->sample_rate : 0;
        VS->audio_pkt = AV.av_packet_alloc();
        VS->audio_pkt_sent = false;
        VS->audio_frame = AV.av_frame_alloc();
        QueueInit(&VS->audioq);
        QueuePutFlush(&VS->audioq);
        if (Wanted.freq <= 0 || Wanted.channels <= 0 || AV.SDL_OpenAudio(&Wanted, nullptr) < 0) {
            P->SetErrorMessage(String("SDL_OpenAudio() failed: ") + AV.SDL_GetError(), false);
            QueueEnd(&VS->audioq);
            AV.av_packet_free(&VS->audio_pkt);
            AV.av_frame_free(&VS->audio_frame);
            VS->audio_st = nullptr;
            VS->audio_dec = nullptr;
            VS->AudioDuration = -1;
            FreeDecoder(Ctx);
            return -1;
        }
        VS->audio_hw_buf_size = int(Wanted.size);
    }

    St->discard = AVDISCARD_DEFAULT;
    switch (Ctx->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        VS->audio_stream = AStreamIndex;
        AV.SDL_PauseAudio(0);
        break;
    case AVMEDIA_TYPE_VIDEO:
        VS->video_stream = AStreamIndex;
        VS->video_st = St;
        VS->video_dec = Ctx;
        QueueInit(&VS->videoq);
        QueuePutFlush(&VS->videoq);
        VS->video_tid = AV.SDL_CreateThread(VideoThreadProc, VS);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        VS->subtitle_stream = AStreamIndex;
        VS->subtitle_st = St;
        VS->subtitle_dec = Ctx;
        QueueInit(&VS->subtitleq);
        QueuePutFlush(&VS->subtitleq);
        VS->subtitle_tid = AV.SDL_CreateThread(SubtitleThreadProc, VS);
        break;
    default:
        St->discard = AVDISCARD_ALL;
        FreeDecoder(Ctx);
        return -1;
    }
    return 0;
}

void CloseStreamComponent(TVideoState* VS, int AStreamIndex)
{
    AVFormatContext* IC = VS->ic;
    if (!IC || AStreamIndex < 0 || AStreamIndex >= int(IC->nb_streams)) return;
    AVStream* St = IC->streams[AStreamIndex];
    const AVMediaType Type = St->codecpar->codec_type;
    switch (Type) {
    case AVMEDIA_TYPE_AUDIO:
        QueueAbort(&VS->audioq);
        AV.SDL_CloseAudio();
        QueueEnd(&VS->audioq);
        if (VS->reformat_ctx) AV.swr_free(&VS->reformat_ctx);
        AV.av_channel_layout_uninit(&VS->audio_src_layout);
        if (VS->audio_pkt) AV.av_packet_free(&VS->audio_pkt);
        if (VS->audio_frame) AV.av_frame_free(&VS->audio_frame);
        VS->audio_pkt_sent = false;
        break;
    case AVMEDIA_TYPE_VIDEO:
        QueueAbort(&VS->videoq);
        AV.SDL_mutexP(VS->pictq_mutex);
        AV.SDL_CondSignal(VS->pictq_cond);
        AV.SDL_mutexV(VS->pictq_mutex);
        if (VS->video_tid) AV.SDL_WaitThread(VS->video_tid, nullptr);
        VS->video_tid = nullptr;
        QueueEnd(&VS->videoq);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        QueueAbort(&VS->subtitleq);
        AV.SDL_mutexP(VS->subpq_mutex);
        VS->subtitle_stream_changed = 1;
        AV.SDL_CondSignal(VS->subpq_cond);
        AV.SDL_mutexV(VS->subpq_mutex);
        if (VS->subtitle_tid) AV.SDL_WaitThread(VS->subtitle_tid, nullptr);
        VS->subtitle_tid = nullptr;
        QueueEnd(&VS->subtitleq);
        break;
    default: break;
    }
    St->discard = AVDISCARD_ALL;
    FreeDecoder(DecoderOf(VS, Type));
    switch (Type) {
    case AVMEDIA_TYPE_AUDIO:
        VS->audio_st = nullptr;
        VS->audio_stream = -1;
        VS->AudioDuration = -1;
        break;
    case AVMEDIA_TYPE_VIDEO:
        VS->video_st = nullptr;
        VS->video_stream = -1;
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        VS->subtitle_st = nullptr;
        VS->subtitle_stream = -1;
        break;
    default: break;
    }
}

bool SelectStream(TVideoState* VS, int AType, int AIndex)
{
    TCustomPlayer* P = VS->Owner;
    auto Fail = [P](const char* AText) {
        P->SetErrorMessage(AText, true);
        return false;
    };
    int Current;
    switch (AType) {
    case AVMEDIA_TYPE_VIDEO: Current = VS->video_stream; break;
    case AVMEDIA_TYPE_AUDIO: Current = VS->audio_stream; break;
    case AVMEDIA_TYPE_SUBTITLE: Current = VS->subtitle_stream; break;
    default: return Fail("the stream type is invalid.");
    }
    const int Lowest = AType == AVMEDIA_TYPE_SUBTITLE ? -1 : 0;
    if (Current < Lowest) return Fail("the current stream is not valid.");
    if (AIndex < Lowest || AIndex >= int(VS->ic->nb_streams)) return Fail("the stream index is not valid.");
    if (AIndex == Current) return true;
    if (AIndex >= 0) {
        AVCodecParameters* Par = VS->ic->streams[AIndex]->codecpar;
        if (Par->codec_type != AType) return Fail("the stream type is not matched.");
        if (AType == AVMEDIA_TYPE_AUDIO && (Par->sample_rate == 0 || Par->ch_layout.nb_channels == 0))
            return Fail("the audio stream is not invalid.");
    }
    // The read thread switches the streams between two packets; the caller waits for it.
    VS->select_type = AType;
    VS->select_index = AIndex;
    VS->select_req = 1;
    while (VS->select_req && !VS->abort_request && P->VideoState() == VS) {
        if (IsMainThread()) PumpMessages();
        AV.SDL_Delay(10);
    }
    return true;
}

namespace {

void PerformSelect(TVideoState* VS)
{
    int Current = VS->select_type == AVMEDIA_TYPE_VIDEO   ? VS->video_stream
                  : VS->select_type == AVMEDIA_TYPE_AUDIO ? VS->audio_stream
                                                          : VS->subtitle_stream;
    if (Current >= 0) CloseStreamComponent(VS, Current);
    if (VS->select_index >= 0) OpenStreamComponent(VS, VS->select_index);
    VS->select_req = 0;
}

}  // namespace

// ---------------------------------------------------------------------------------
// The read thread

namespace {

// Makes blocking reads return while the file is being closed.
int DecodeInterruptCB(void* AOpaque)
{
    auto* VS = static_cast<TVideoState*>(AOpaque);
    return VS && VS->abort_request ? 1 : 0;
}

bool IsCaptureDevice(const AVInputFormat* AFormat)
{
    const AVClass* C = AFormat ? AFormat->priv_class : nullptr;
    if (!C) return false;
    AVClassCategory Cat = C->category;
    return Cat == AV_CLASS_CATEGORY_DEVICE_VIDEO_INPUT || Cat == AV_CLASS_CATEGORY_DEVICE_AUDIO_INPUT ||
           Cat == AV_CLASS_CATEGORY_DEVICE_INPUT;
}

// The stream of AType to play: the player's wanted one (by its number among the
// streams of that type), else the best one; -1 for none.
int ChooseStream(TVideoState* VS, AVMediaType AType)
{
    AVFormatContext* IC = VS->ic;
    int Wanted = VS->Owner->Fwanted_stream[1 + AType];
    if (Wanted < 0) {
        int Best = AV.av_find_best_stream(IC, AType, -1, -1, nullptr, 0);
        return Best >= 0 ? Best : -1;
    }
    int Count = 0;
    for (unsigned I = 0; I < IC->nb_streams; ++I)
        if (IC->streams[I]->codecpar->codec_type == AType && Count++ == Wanted) return int(I);
    return -1;
}

bool QueuesHaveEnough(TVideoState* VS)
{
    int Total = QueueSize(&VS->audioq) + QueueSize(&VS->videoq) + QueueSize(&VS->subtitleq);
    if (Total > MAX_QUEUE_SIZE) return true;
    return (VS->audio_stream < 0 || QueueSize(&VS->audioq) > MIN_AUDIOQ_SIZE) &&
           (VS->video_stream < 0 || QueuePackets(&VS->videoq) > MIN_FRAMES) &&
           (VS->subtitle_stream < 0 || QueuePackets(&VS->subtitleq) > MIN_FRAMES);
}

bool QueuesEmpty(TVideoState* VS)
{
    return QueuePackets(&VS->audioq) == 0 && QueuePackets(&VS->videoq) == 0 && QueuePackets(&VS->subtitleq) == 0;
}

void PerformSeek(TVideoState* VS, bool& AEof)
{
    TCustomPlayer* P = VS->Owner;
    AVFormatContext* IC = VS->ic;
    const int64_t Target = VS->seek_pos, Rel = VS->seek_rel;
    const int64_t Min = Rel > 0 ? Target - Rel + 2 : INT64_MIN;
    const int64_t Max = Rel < 0 ? Target - Rel - 2 : INT64_MAX;
    const int Flags = VS->seek_flags;
    int R = AV.avformat_seek_file(IC, -1, Min, Target, Max, Flags);
    if (R < 0) R = AV.av_seek_frame(IC, -1, Target, Flags);
    if (R < 0) R = AV.av_seek_frame(IC, -1, Target, Flags ^ AVSEEK_FLAG_BACKWARD);
    if (R < 0) {
        P->SetErrorMessage(::Format("%s: error while seeking", VS->filename.c_str()), false);
        if (VS->video_stream >= 0) P->FPictEvent.SetEvent();
    } else {
        if (VS->audio_stream >= 0) {
            QueueFlush(&VS->audioq);
            QueuePutFlush(&VS->audioq);
        }
        if (VS->subtitle_stream >= 0) {
            QueueFlush(&VS->subtitleq);
            QueuePutFlush(&VS->subtitleq);
        }
        if (VS->video_stream >= 0) {
            VS->seek_flushed = 0;
            QueueFlush(&VS->videoq);
            QueuePutFlush(&VS->videoq);
            P->FPictEvent.ResetEvent();
        }
    }
    if (IC->pb) VS->read_pos = AVIOTell(IC->pb);
    VS->ErrorEOF = 0;
    VS->ReachEOF = 0;
    // Done before no longer requested: the video thread never sees neither.
    VS->seek_done = 1;
    VS->seek_req = 0;
    P->FSeekEvent.SetEvent();
    if (VS->video_stream < 0) P->FSeeking = false;
    AEof = false;
}

// The read loop of an open file; returns when the file is being closed.
void ReadLoop(TVideoState* VS, AVPacket* APacket)
{
    TCustomPlayer* P = VS->Owner;
    AVFormatContext* IC = VS->ic;
    bool Eof = false;
    if (IC->pb) VS->read_pos = AVIOTell(IC->pb);
    while (!VS->abort_request) {
        if (VS->select_req) PerformSelect(VS);
        if (VS->paused != VS->last_paused) {
            VS->last_paused = VS->paused;
            if (VS->paused)
                VS->read_pause_return = AV.av_read_pause(IC);
            else
                AV.av_read_play(IC);
        }
        if (VS->seek_req) PerformSeek(VS, Eof);
        if (QueuesHaveEnough(VS)) {
            AV.SDL_Delay(10);
            continue;
        }
        if (Eof || (IC->pb && AV.avio_feof(IC->pb))) {
            // One end marker at a time: a paused video thread does not take them.  The
            // video thread announces the end to waiters once it has no picture left.
            if (VS->video_stream >= 0 && QueueEndMarkers(&VS->videoq) == 0) {
                AVPacket* Marker = AV.av_packet_alloc();
                if (Marker) {
                    Marker->stream_index = VS->video_stream;
                    QueuePut(&VS->videoq, Marker);
                    AV.av_packet_free(&Marker);
                }
            }
            AV.SDL_Delay(10);
            if (QueuesEmpty(VS)) VS->ReachEOF = 1;
            continue;
        }
        VS->Reading = 1;
        int R = AV.av_read_frame(IC, APacket);
        VS->Reading = 0;
        if (IC->pb) VS->read_pos = AVIOTell(IC->pb);
        if (VS->abort_request) {
            AV.av_packet_unref(APacket);
            break;
        }
        if (R < 0) {
            if (R == AVERROR(EAGAIN)) {
                AV.SDL_Delay(10);
                continue;
            }
            // At the end the video thread releases picture waiters once it has shown
            // what it holds; after an error no picture may come at all.
            if (VS->video_stream >= 0 && R != AVERROR_EOF) P->FPictEvent.SetEvent();
            if (!VS->IsImage2 && !VS->ErrorEOF) {
                VS->ErrorEOF = 1;
                if (R == AVERROR_EOF)
                    GlobalLogger()->Log(P, llInfo, "reach end of file: %s", VS->filename.c_str());
                else
                    P->SetErrorMessage(::Format("error #%d while reading file: %s", R, VS->filename.c_str()),
                                       false);
            }
            if (R == AVERROR_EOF) {
                Eof = true;
                continue;
            }
            if (IC->pb && IC->pb->error) break;
            AV.SDL_Delay(100);
            continue;
        }
        if (APacket->stream_index == VS->audio_stream)
            QueuePut(&VS->audioq, APacket);
        else if (APacket->stream_index == VS->video_stream)
            QueuePut(&VS->videoq, APacket);
        else if (APacket->stream_index == VS->subtitle_stream)
            QueuePut(&VS->subtitleq, APacket);
        AV.av_packet_unref(APacket);
    }
    while (!VS->abort_request) {
        if (VS->select_req) PerformSelect(VS);
        AV.SDL_Delay(100);
    }
}

// Opens the input and its streams; false with LastErrMsg set.
bool OpenInput(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    AVFormatContext* IC = AV.avformat_alloc_context();
    if (!IC) {
        P->SetErrorMessage("av_mallocz() failed.", true);
        return false;
    }
    IC->interrupt_callback.callback = DecodeInterruptCB;
    IC->interrupt_callback.opaque = VS;
    AVDictionary* Opts = nullptr;
    if (VS->iformat && (VS->iformat->flags & AVFMT_NOFILE)) {
        AV.av_dict_set(&Opts, "framerate", "25", 0);
        if (P->Fframe_width > 0 && P->Fframe_height > 0)
            AV.av_dict_set(&Opts, "video_size", ::Format("%dx%d", P->Fframe_width, P->Fframe_height).c_str(), 0);
        if (P->Fframe_pix_fmt != AV_PIX_FMT_NONE)
            AV.av_dict_set(&Opts, "pixel_format", AV.av_get_pix_fmt_name(P->Fframe_pix_fmt), 0);
    }
    int R = OpenInputURL(&IC, FileNameToURL(VS->filename), VS->iformat, &Opts);
    AV.av_dict_free(&Opts);
    if (R < 0) {
        P->SetErrorMessage(AVErrorText(VS->filename, R), true);
        return false;
    }
    VS->ic = IC;
    if (P->Fgenpts) IC->flags |= AVFMT_FLAG_GENPTS;
    if (AV.avformat_find_stream_info(IC, nullptr) < 0) {
        P->SetErrorMessage(::Format("%s: could not find codec parameters", VS->filename.c_str()), true);
        return false;
    }
    if (IC->pb) IC->pb->eof_reached = 0;
    if (P->Fseek_by_bytes < 0) P->Fseek_by_bytes = (IC->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;
    VS->IsImage2 = strcmp(IC->iformat->name, "image2") == 0;
    VS->IsDevice = IsCaptureDevice(IC->iformat);
    VS->StartTime = IC->start_time != AV_NOPTS_VALUE ? IC->start_time : 0;
    VS->Duration = IC->duration != AV_NOPTS_VALUE ? IC->duration : -1;

    if (P->Fstart_time != AV_NOPTS_VALUE) {
        int64_t Target = P->Fstart_time;
        if (IC->start_time != AV_NOPTS_VALUE) Target += IC->start_time;
        if (AV.avformat_seek_file(IC, -1, INT64_MIN, Target, INT64_MAX, 0) < 0)
            P->SetErrorMessage(::Format("%s: could not seek to position %0.3f", VS->filename.c_str(),
                                        double(Target) / AV_TIME_BASE),
                               false);
    }

    for (unsigned I = 0; I < IC->nb_streams; ++I) IC->streams[I]->discard = AVDISCARD_ALL;
    int AudioIndex = P->Faudio_disable ? -1 : ChooseStream(VS, AVMEDIA_TYPE_AUDIO);
    int VideoIndex = P->Fvideo_disable ? -1 : ChooseStream(VS, AVMEDIA_TYPE_VIDEO);
    int SubtitleIndex = P->Fvideo_disable ? -1 : ChooseStream(VS, AVMEDIA_TYPE_SUBTITLE);

    if (AudioIndex >= 0) OpenStreamComponent(VS, AudioIndex);
    int Ret = VideoIndex >= 0 ? OpenStreamComponent(VS, VideoIndex) : -1;
    if (Ret < 0 && !P->Fdisplay_disable) VS->show_audio = 2;
    if (SubtitleIndex >= 0) OpenStreamComponent(VS, SubtitleIndex);

    if (VS->audio_stream < 0 && VS->video_stream < 0) {
        P->SetErrorMessage(::Format("%s: could not open codecs, no stream to play.", VS->filename.c_str()), true);
        return false;
    }
    return true;
}

int ReadThreadProc(void* AArg)
{
    auto* VS = static_cast<TVideoState*>(AArg);
    TCustomPlayer* P = VS->Owner;
    bool Ok = false;
    AVPacket* Packet = AV.av_packet_alloc();
    try {
        if (Packet && OpenInput(VS)) {
            VS->Opened = 1;
            ReadLoop(VS, Packet);
            Ok = true;
        }
    } catch (const std::exception& E) {
        P->SetErrorMessage(String("read thread: ") + E.what(), false);
    } catch (...) {
        P->SetErrorMessage("read thread: unknown exception", false);
    }
    if (Packet) AV.av_packet_free(&Packet);
    if (VS->Opened != 1) VS->Opened = -1;
    if (VS->audio_stream >= 0) CloseStreamComponent(VS, VS->audio_stream);
    if (VS->video_stream >= 0) CloseStreamComponent(VS, VS->video_stream);
    if (VS->subtitle_stream >= 0) CloseStreamComponent(VS, VS->subtitle_stream);
    if (VS->ic) {
        if (P->FAVProbe && P->FAVProbe->FileHandle() == VS->ic) P->FAVProbe->SetFileHandle(nullptr);
        CloseInputURL(&VS->ic);
        VS->ic = nullptr;
    }
    if (!Ok) PushQuitEvent(VS);
    if (VS->Opened == -1) VS->Opened = -2;
    return 0;
}

// Counts the UTF-16 units of a UTF-8 text.
size_t UTF16Units(const String& AText)
{
    size_t N = 0;
    for (size_t I = 0; I < AText.size(); ++I) {
        auto C = uint8_t(AText[I]);
        if ((C & 0xC0) == 0x80) continue;  // continuation byte
        N += C >= 0xF0 ? 2 : 1;            // four-byte forms need a surrogate pair
    }
    return N;
}

// Waits in 10 ms steps (serving the GUI thread's queue) while APred holds.
template <class F>
void WaitWhile(F APred)
{
    while (APred()) {
        if (IsMainThread()) PumpMessages();
        AV.SDL_Delay(10);
    }
}

void FreeVideoState(TVideoState* VS)
{
    for (TVideoPicture& Vp : VS->pictq) {
        if (Vp.picref) AV.av_frame_free(&Vp.picref);
        if (Vp.bmp) AV.SDL_FreeYUVOverlay(Vp.bmp);
        Vp.bmp = nullptr;
    }
    for (TSubPicture& Sp : VS->subpq) AV.avsubtitle_free(&Sp.sub);
    if (VS->rdft) AV.av_rdft_end(VS->rdft);
    VS->rdft = nullptr;
    AV.av_free(VS->rdft_data);
    VS->rdft_data = nullptr;
    if (VS->pictq_mutex) AV.SDL_DestroyMutex(VS->pictq_mutex);
    if (VS->pictq_cond) AV.SDL_DestroyCond(VS->pictq_cond);
    if (VS->subpq_mutex) AV.SDL_DestroyMutex(VS->subpq_mutex);
    if (VS->subpq_cond) AV.SDL_DestroyCond(VS->subpq_cond);
    VS->pictq_mutex = VS->subpq_mutex = nullptr;
    VS->pictq_cond = VS->subpq_cond = nullptr;
}

}  // namespace

bool OpenStream(TCustomPlayer* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused)
{
    if (APlayer->VideoState()) {
        APlayer->SetErrorMessage("a file is already open.", true);
        return false;
    }
    if (UTF16Units(AFileName) > size_t(MAX_FILENAME_UNITS)) {
        APlayer->SetErrorMessage(::Format("%s: the file name is too long.", AFileName.c_str()), true);
        return false;
    }
    auto* VS = new (std::nothrow) TVideoState();
    if (!VS) {
        APlayer->SetErrorMessage("av_mallocz() failed.", true);
        return false;
    }
    VS->Owner = APlayer;
    if (APaused) {
        VS->paused = 1;
        VS->open_paused = 1;
        APlayer->Fstep = false;
    }
    VS->filename = AFileName;
    VS->iformat = AFormat;
    VS->xleft = VS->ytop = 0;
    VS->pictq_mutex = AV.SDL_CreateMutex();
    VS->pictq_cond = AV.SDL_CreateCond();
    VS->subpq_mutex = AV.SDL_CreateMutex();
    VS->subpq_cond = AV.SDL_CreateCond();
    VS->av_sync_type = APlayer->Fav_sync_type;
    VS->parse_tid = AV.SDL_CreateThread(ReadThreadProc, VS);
    if (!VS->parse_tid) {
        APlayer->SetErrorMessage("SDL_CreateThread() failed.", true);
        FreeVideoState(VS);
        delete VS;
        return false;
    }
    WaitWhile([VS] { return VS->Opened == 0; });
    if (VS->Opened == 1) {
        APlayer->SetVideoState(VS);
        if (VS->video_stream < 0 && !APlayer->Fdisplay_disable) VS->show_audio = int(APlayer->ShowAudio());
        VS->refresh_tid = AV.SDL_CreateThread(RefreshThreadProc, VS);
        return true;
    }
    WaitWhile([VS] { return VS->Opened == -1; });
    AV.SDL_WaitThread(VS->parse_tid, nullptr);
    FreeVideoState(VS);
    delete VS;
    APlayer->ResetPlayback();
    return false;
}

void CloseStream(TVideoState* VS)
{
    VS->abort_request = 1;
    if (VS->parse_tid) AV.SDL_WaitThread(VS->parse_tid, nullptr);
    VS->parse_tid = nullptr;
    if (VS->refresh_tid) AV.SDL_WaitThread(VS->refresh_tid, nullptr);
    VS->refresh_tid = nullptr;
    FreeVideoState(VS);
}
