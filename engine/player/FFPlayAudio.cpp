// The player's audio output: SDL's audio callback decodes the audio queue into signed
// 16-bit samples (at most two channels), corrects drift when audio is not the master
// clock, feeds the visualisation's ring and mixes at the player's volume.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Converts the decoded frame into audio_buf1 (already in the output form) or audio_buf2;
// the byte count, or -1 when the frame cannot be converted.
int ConvertAudioFrame(TVideoState* VS, const AVFrame* AFrame)
{
    TCustomPlayer* P = VS->Owner;
    const int OutChannels = VS->audio_channels;
    const int MaxSamples = AUDIO_BUF_SIZE / (2 * OutChannels);
    if (AFrame->format == AV_SAMPLE_FMT_S16 && AFrame->ch_layout.nb_channels == OutChannels &&
        AFrame->sample_rate == VS->audio_freq && !VS->reformat_ctx) {
        int Samples = std::min(AFrame->nb_samples, MaxSamples);
        int Bytes = Samples * 2 * OutChannels;
        memcpy(VS->audio_buf1, AFrame->data[0], size_t(Bytes));
        VS->audio_buf = VS->audio_buf1;
        return Bytes;
    }
    if (!VS->reformat_ctx || AFrame->format != VS->audio_src_fmt || AFrame->sample_rate != VS->audio_src_rate ||
        AV.av_channel_layout_compare(&AFrame->ch_layout, &VS->audio_src_layout) != 0) {
        if (VS->reformat_ctx) AV.swr_free(&VS->reformat_ctx);
        AVChannelLayout OutLayout{};
        AV.av_channel_layout_default(&OutLayout, OutChannels);
        int R = AV.swr_alloc_set_opts2(&VS->reformat_ctx, &OutLayout, AV_SAMPLE_FMT_S16, VS->audio_freq,
                                       const_cast<AVChannelLayout*>(&AFrame->ch_layout), AVSampleFormat(AFrame->format), AFrame->sample_rate, 0,
                                       nullptr);
        AV.av_channel_layout_uninit(&OutLayout);
        if (R < 0 || AV.swr_init(VS->reformat_ctx) < 0) {
            if (VS->reformat_ctx) AV.swr_free(&VS->reformat_ctx);
            const char* From = AV.av_get_sample_fmt_name(AVSampleFormat(AFrame->format));
            GlobalLogger()->Log(P, llError, "Cannot convert %s sample format to %s sample format",
                                From ? From : "?", AV.av_get_sample_fmt_name(AV_SAMPLE_FMT_S16));
            return -1;
        }
        VS->audio_src_fmt = AFrame->format;
        VS->audio_src_rate = AFrame->sample_rate;
        AV.av_channel_layout_uninit(&VS->audio_src_layout);
        AV.av_channel_layout_copy(&VS->audio_src_layout, &AFrame->ch_layout);
    }
    uint8_t* Out[1] = {VS->audio_buf2};
    int Samples = AV.swr_convert(VS->reformat_ctx, Out, MaxSamples, const_cast<const uint8_t**>(AFrame->extended_data),
                                 AFrame->nb_samples);
    if (Samples < 0) {
        GlobalLogger()->Log(P, llError, "av_audio_convert() failed");
        return -1;
    }
    VS->audio_buf = VS->audio_buf2;
    return Samples * 2 * OutChannels;
}

// Decodes the next block of audio into audio_buf; its time goes to APTS.  The byte
// count, or -1 when there is nothing to play (paused, aborted or no packet waiting).
int DecodeAudioFrame(TVideoState* VS, double* APTS)
{
    TCustomPlayer* P = VS->Owner;
    AVCodecContext* Dec = VS->audio_dec;
    for (;;) {
        while (VS->audio_pkt_sent) {
            int R = AV.avcodec_receive_frame(Dec, VS->audio_frame);
            if (R == AVERROR(EAGAIN) || R == AVERROR_EOF) {
                VS->audio_pkt_sent = false;
                break;
            }
            if (R < 0) {
                GlobalLogger()->Log(P, llInfo, "avcodec_decode_audio2() failed");
                VS->audio_pkt_sent = false;
                break;
            }
            int Bytes = ConvertAudioFrame(VS, VS->audio_frame);
            AV.av_frame_unref(VS->audio_frame);
            if (Bytes < 0) {
                VS->audio_pkt_sent = false;
                break;
            }
            if (Bytes == 0) continue;
            *APTS = VS->audio_clock;
            const int BytesPerSec = 2 * VS->audio_channels * VS->audio_freq;
            if (BytesPerSec > 0) VS->audio_clock = VS->audio_clock + double(Bytes) / BytesPerSec;
            return Bytes;
        }
        if (VS->paused || VS->audioq.abort_request) return -1;
        bool Flush = false;
        if (QueueGet(&VS->audioq, VS->audio_pkt, false, &Flush) <= 0) return -1;
        if (Flush) {
            AV.avcodec_flush_buffers(Dec);
            continue;
        }
        if (VS->audio_pkt->pts != AV_NOPTS_VALUE)
            VS->audio_clock = av_q2d(VS->audio_st.load()->time_base) * double(VS->audio_pkt->pts);
        if (AV.avcodec_send_packet(Dec, VS->audio_pkt) < 0)
            GlobalLogger()->Log(P, llInfo, "avcodec_decode_audio2() failed");
        else
            VS->audio_pkt_sent = true;
        AV.av_packet_unref(VS->audio_pkt);
    }
}

}  // namespace

int CorrectedAudioSize(int ASize, double ADiff, int AChannels, int ASampleRate)
{
    const int Frame = 2 * AChannels;
    if (Frame <= 0) return ASize;
    int Wanted = ASize + int(std::lround(ADiff * ASampleRate)) * Frame;
    const int N = ASize / Frame;
    const int Min = ((N * (100 - SAMPLE_CORRECTION_PERCENT_MAX)) / 100) * Frame;
    const int Max = ((N * (100 + SAMPLE_CORRECTION_PERCENT_MAX)) / 100) * Frame;
    Wanted = std::clamp(Wanted, Min, Max);
    // Never past the end of the audio buffer.
    return std::min(Wanted, (AUDIO_BUF_SIZE / Frame) * Frame);
}

int SynchronizeAudio(TVideoState* VS, int16_t* ASamples, int ASize)
{
    if (!((VS->av_sync_type == AV_SYNC_VIDEO_MASTER && VS->video_st) || VS->av_sync_type == AV_SYNC_EXTERNAL_CLOCK))
        return ASize;
    const double Diff = AudioClock(VS) - MasterClock(VS);
    if (!(std::fabs(Diff) < AV_NOSYNC_THRESHOLD)) {
        VS->audio_diff_avg_count = 0;
        VS->audio_diff_cum = 0;
        return ASize;
    }
    VS->audio_diff_cum = Diff + VS->audio_diff_avg_coef * VS->audio_diff_cum;
    if (VS->audio_diff_avg_count < AUDIO_DIFF_AVG_NB) {
        VS->audio_diff_avg_count++;
        return ASize;
    }
    const double Avg = VS->audio_diff_cum * (1.0 - VS->audio_diff_avg_coef);
    if (std::fabs(Avg) < VS->audio_diff_threshold) return ASize;
    const int Frame = 2 * VS->audio_channels;
    const int Wanted = CorrectedAudioSize(ASize, Diff, VS->audio_channels, VS->audio_freq);
    if (Wanted > ASize && ASize >= Frame) {
        // The last sample frame is repeated up to the wanted size.
        auto* Bytes = reinterpret_cast<uint8_t*>(ASamples);
        const uint8_t* Last = Bytes + ASize - Frame;
        for (int At = ASize; At + Frame <= Wanted; At += Frame) memcpy(Bytes + At, Last, size_t(Frame));
    }
    return Wanted;
}

void UpdateSampleDisplay(TVideoState* VS, const int16_t* ASamples, int ASize)
{
    std::lock_guard<std::mutex> Guard(VS->sample_lock);
    int Count = ASize / 2;
    int Index = VS->sample_array_index;
    while (Count > 0) {
        int Len = std::min(SAMPLE_ARRAY_SIZE - Index, Count);
        memcpy(VS->sample_array + Index, ASamples, size_t(Len) * 2);
        ASamples += Len;
        Index += Len;
        if (Index >= SAMPLE_ARRAY_SIZE) Index = 0;
        Count -= Len;
    }
    VS->sample_array_index = Index;
}

void AudioCallback(void* AOpaque, uint8_t* AStream, int ALength)
{
    auto* VS = static_cast<TVideoState*>(AOpaque);
    TCustomPlayer* P = VS->Owner;
    P->Faudio_callback_time = AV.av_gettime();
    try {
        while (ALength > 0) {
            if (VS->audio_buf_index >= VS->audio_buf_size) {
                double Pts = 0;
                int Size = DecodeAudioFrame(VS, &Pts);
                if (VS->audioq.abort_request) return;
                if (Size < 0) {
                    VS->audio_buf = VS->audio_buf1;
                    memset(VS->audio_buf1, 0, 1024);
                    VS->audio_buf_size = 1024;
                } else {
                    auto* Samples = reinterpret_cast<int16_t*>(VS->audio_buf.load());
                    if (VS->show_audio) UpdateSampleDisplay(VS, Samples, Size);
                    VS->audio_buf_size = SynchronizeAudio(VS, Samples, Size);
                }
                VS->audio_buf_index = 0;
            }
            int Len = std::min(ALength, VS->audio_buf_size - VS->audio_buf_index);
            if (P->FMute)
                memset(AStream, 0, size_t(Len));
            else
                AV.SDL_MixAudio(AStream, VS->audio_buf.load() + VS->audio_buf_index, uint32_t(Len),
                                P->FAudioVolume);
            VS->audio_buf_index += Len;
            AStream += Len;
            ALength -= Len;
        }
    } catch (...) {
        // Nothing may leave SDL's audio thread; what is left of the buffer stays silent.
        memset(AStream, 0, size_t(ALength));
    }
}
