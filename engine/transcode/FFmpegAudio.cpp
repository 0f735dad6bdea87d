// Audio and subtitle output: decoded samples are brought to the encoder's sample format,
// rate and channels by one resampler, kept in step with the timestamps (dropped, padded
// with silence or stretched) and encoded in whole encoder frames through a sample FIFO,
// or as whole blocks for encoders that take any number of samples.  Subtitles are encoded
// one by one, DVB subtitles twice (show, then clear).
#include "engine/transcode/FFmpeg.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/FFmpegLoader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

// ---------------------------------------------------------------------------------
// Volume

void ScaleSamples16(int16_t* ASamples, size_t ACount, int AVolume)
{
    for (size_t i = 0; i < ACount; ++i) {
        // 64 bits: a large volume times a full-scale sample does not fit in 32.
        int64_t v = (int64_t(ASamples[i]) * AVolume + 128) >> 8;
        ASamples[i] = int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
    }
}

namespace {

template <class T>
void ScaleIntegers(T* ASamples, size_t ACount, int AVolume, int64_t AMin, int64_t AMax, int64_t ABias)
{
    for (size_t i = 0; i < ACount; ++i) {
        int64_t s = int64_t(ASamples[i]) - ABias;
        // A product that would leave 64 bits saturates as the clipping would.
        int64_t v;
        if (__builtin_mul_overflow(s, int64_t(AVolume), &v)) v = s < 0 ? INT64_MIN / 2 : INT64_MAX / 2;
        v = (v + 128) >> 8;
        ASamples[i] = T(std::clamp<int64_t>(v, AMin, AMax) + ABias);
    }
}

template <class T>
void ScaleFloats(T* ASamples, size_t ACount, int AVolume)
{
    const T gain = T(AVolume) / T(256);
    for (size_t i = 0; i < ACount; ++i) ASamples[i] *= gain;
}

}  // namespace

void ScaleAudioFrame(AVFrame* AFrame, int AVolume)
{
    if (AVolume == 256 || !AFrame) return;
    const auto fmt = AVSampleFormat(AFrame->format);
    const bool planar = AV.av_sample_fmt_is_planar(fmt);
    const int channels = AFrame->ch_layout.nb_channels;
    const int planes = planar ? channels : 1;
    const size_t count = size_t(AFrame->nb_samples) * (planar ? 1 : size_t(channels));
    for (int p = 0; p < planes; ++p) {
        uint8_t* d = AFrame->extended_data[p];
        switch (AV.av_get_packed_sample_fmt(fmt)) {
        case AV_SAMPLE_FMT_U8: ScaleIntegers(d, count, AVolume, -128, 127, 128); break;
        case AV_SAMPLE_FMT_S16: ScaleSamples16(reinterpret_cast<int16_t*>(d), count, AVolume); break;
        case AV_SAMPLE_FMT_S32:
            ScaleIntegers(reinterpret_cast<int32_t*>(d), count, AVolume, INT32_MIN, INT32_MAX, 0);
            break;
        case AV_SAMPLE_FMT_S64:
            ScaleIntegers(reinterpret_cast<int64_t*>(d), count, AVolume, INT64_MIN / 2, INT64_MAX / 2, 0);
            break;
        case AV_SAMPLE_FMT_FLT: ScaleFloats(reinterpret_cast<float*>(d), count, AVolume); break;
        case AV_SAMPLE_FMT_DBL: ScaleFloats(reinterpret_cast<double*>(d), count, AVolume); break;
        default: break;
        }
    }
}

// ---------------------------------------------------------------------------------
// Audio

namespace {

// The planes of AFrame from sample ASkip on.
std::vector<const uint8_t*> SamplePlanes(const AVFrame* AFrame, int ASkip)
{
    const auto fmt = AVSampleFormat(AFrame->format);
    const bool planar = AV.av_sample_fmt_is_planar(fmt);
    const int channels = AFrame->ch_layout.nb_channels;
    const int bytes = AV.av_get_bytes_per_sample(fmt);
    std::vector<const uint8_t*> planes(size_t(std::max(channels, AV_NUM_DATA_POINTERS)), nullptr);
    if (planar) {
        for (int c = 0; c < channels; ++c) planes[size_t(c)] = AFrame->extended_data[c] + size_t(ASkip) * bytes;
    } else {
        planes[0] = AFrame->extended_data[0] + size_t(ASkip) * bytes * channels;
    }
    return planes;
}

}  // namespace

void TCustomFFmpeg::AudioOut(TAVOutputStream* AOst, TAVInputStream* AIst, const AVFrame* AFrame)
{
    AVCodecContext* enc = AOst->enc;
    const auto in_fmt = AVSampleFormat(AFrame->format);
    const int in_rate = AFrame->sample_rate > 0 ? AFrame->sample_rate : AIst->st->codecpar->sample_rate;
    AVChannelLayout in_layout{};
    if (AFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || AFrame->ch_layout.nb_channels <= 0)
        AV.av_channel_layout_default(&in_layout, std::max(1, AFrame->ch_layout.nb_channels));
    else
        AV.av_channel_layout_copy(&in_layout, &AFrame->ch_layout);
    TScopeExit uninit([&in_layout] { AV.av_channel_layout_uninit(&in_layout); });
    const int in_ch = in_layout.nb_channels;
    const int out_ch = enc->ch_layout.nb_channels;
    const int enc_rate = enc->sample_rate;
    const AVSampleFormat out_fmt = enc->sample_fmt;
    if (in_rate <= 0 || enc_rate <= 0 || out_ch <= 0) throw FFmpegException("Audio encoding failed");

    // Resampling or conversion, decided anew when the decoded format changes.
    if (in_ch != out_ch) AOst->audio_resample = 1;
    const bool convert = AOst->audio_resample || in_fmt != out_fmt || in_rate != enc_rate ||
                         AV.av_channel_layout_compare(&in_layout, &enc->ch_layout) != 0;
    if (convert && (!AOst->resample || AOst->resample_in_fmt != in_fmt || AOst->resample_in_rate != in_rate ||
                    AV.av_channel_layout_compare(&AOst->resample_in_layout, &in_layout) != 0)) {
        AV.swr_free(&AOst->resample);
        SwrContext* swr = nullptr;
        int err = AV.swr_alloc_set_opts2(&swr, &enc->ch_layout, out_fmt, enc_rate, &in_layout, in_fmt, in_rate, 0, nullptr);
        if (err >= 0) {
            AV.av_opt_set_int(swr, "filter_size", 16, 0);
            AV.av_opt_set_int(swr, "phase_shift", 10, 0);
            AV.av_opt_set_int(swr, "linear_interp", 0, 0);
            AV.av_opt_set_double(swr, "cutoff", 0.8, 0);
            err = AV.swr_init(swr);
        }
        if (err < 0) {
            AV.swr_free(&swr);
            if (AOst->audio_resample)
                throw FFmpegException(Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz", in_ch,
                                             in_rate, out_ch, enc_rate));
            throw FFmpegException(Format("Cannot convert %s sample format to %s sample format",
                                         String(AV.av_get_sample_fmt_name(in_fmt)),
                                         String(AV.av_get_sample_fmt_name(out_fmt))));
        }
        AOst->resample = swr;
        AOst->resample_in_fmt = in_fmt;
        AOst->resample_in_rate = in_rate;
        AV.av_channel_layout_uninit(&AOst->resample_in_layout);
        AV.av_channel_layout_copy(&AOst->resample_in_layout, &in_layout);
    }

    // Synchronisation, counted in samples at the encoder's rate: the samples waiting in
    // the FIFO and in the resampler belong to the output already.
    int64_t pending = AOst->fifo ? AV.av_audio_fifo_size(AOst->fifo) : 0;
    if (convert && AOst->resample) pending += AV.swr_get_delay(AOst->resample, enc_rate);
    const TAVInputStream* sist = AOst->sync_ist ? AOst->sync_ist : AIst;
    const double in_time = double(sist->pts - Fstart_time) / AV_TIME_BASE;
    int skip = 0;
    const int count = AFrame->nb_samples;
    if (Faudio_sync_method != 0) {
        const double delta = in_time * enc_rate - double(AOst->sync_opts) - double(pending);
        if (std::fabs(delta) > 50) {
            if (AIst->is_start || std::fabs(delta) > Faudio_drift_threshold * enc_rate) {
                if (delta < 0) {
                    // Early audio: its first samples are dropped.
                    int64_t idelta = std::llround(-delta * in_rate / enc_rate);
                    skip = int(std::min<int64_t>(idelta, count));
                    if (Fverbose > 2) Log(llVerbose, Format("discarding %d audio samples", int(-delta)));
                    if (skip >= count) return;
                    AIst->is_start = 0;
                } else {
                    // Late audio: silence goes before it.
                    InsertSilence(AOst, int(std::min<double>(delta, INT32_MAX)));
                    AIst->is_start = 0;
                    if (Fverbose > 2) Log(llVerbose, Format("adding %d audio samples of silence", int(delta)));
                }
            } else if (Faudio_sync_method > 1) {
                int comp = int(std::clamp<double>(delta, -Faudio_sync_method, Faudio_sync_method));
                if (Fverbose > 2)
                    Log(llVerbose, Format("compensating audio timestamp drift:%f compensation:%d in:%d", delta, comp,
                                          enc_rate));
                if (AOst->resample) AV.swr_set_compensation(AOst->resample, comp, enc_rate);
            }
        }
    } else {
        // The FIFO's first sample lies at the input time.  Small differences are rounding
        // (the output stays contiguous); a gap in the input opens a gap in the output;
        // the output never moves back over samples it has already placed.
        int64_t expected = std::llround(in_time * enc_rate) - pending;
        if (!AOst->audio_started || expected > AOst->sync_opts + enc_rate / 50) AOst->sync_opts = expected;
    }
    AOst->audio_started = 1;

    std::vector<const uint8_t*> in = SamplePlanes(AFrame, skip);
    const int in_count = count - skip;
    if (!convert) {
        EncodeAudioSamples(AOst, const_cast<uint8_t* const*>(in.data()), in_count);
        return;
    }
    int out_max = AV.swr_get_out_samples(AOst->resample, in_count);
    if (out_max < 0) out_max = int(int64_t(in_count) * enc_rate / in_rate + 256);
    const int osize = AV.av_get_bytes_per_sample(out_fmt);
    if (int64_t(out_max) * out_ch * osize > INT32_MAX) throw FFmpegException("Buffer sizes too large in do_audio_out");
    if (out_max > AOst->audio_buf_samples) {
        if (!AOst->audio_buf.empty() && AOst->audio_buf[0]) AV.av_freep(&AOst->audio_buf[0]);
        AOst->audio_buf.assign(size_t(std::max(out_ch, AV_NUM_DATA_POINTERS)), nullptr);
        AOst->audio_buf_samples = 0;
        if (AV.av_samples_alloc(AOst->audio_buf.data(), nullptr, out_ch, out_max, out_fmt, 0) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        AOst->audio_buf_samples = out_max;
    }
    int n = AV.swr_convert(AOst->resample, AOst->audio_buf.data(), out_max, in.data(), in_count);
    if (n < 0) {
        if (Fexit_on_error) throw FFmpegException("av_audio_convert() failed");
        Log(llError, "av_audio_convert() failed");
        return;
    }
    EncodeAudioSamples(AOst, AOst->audio_buf.data(), n);
}

void TCustomFFmpeg::EncodeAudioSamples(TAVOutputStream* AOst, uint8_t* const* AData, int ACount)
{
    if (ACount <= 0) return;
    AVCodecContext* enc = AOst->enc;
    if (enc->frame_size > 1) {
        if (AV.av_audio_fifo_write(AOst->fifo, reinterpret_cast<void**>(const_cast<uint8_t**>(AData)), ACount) < ACount)
            throw FFmpegException("av_fifo_realloc2() failed");
        while (AV.av_audio_fifo_size(AOst->fifo) >= enc->frame_size) EncodeAudioFifo(AOst, enc->frame_size);
        return;
    }
    // Encoders that take any number of samples get the whole block.
    if (!AOst->audio_frame) AOst->audio_frame = AV.av_frame_alloc();
    AVFrame* frame = AOst->audio_frame;
    if (!frame) throw FFmpegException("Out of memory in do_audio_out");
    AV.av_frame_unref(frame);
    frame->format = enc->sample_fmt;
    frame->sample_rate = enc->sample_rate;
    frame->nb_samples = ACount;
    AV.av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
    if (AV.av_frame_get_buffer(frame, 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
    AV.av_samples_copy(frame->extended_data, AData, 0, 0, ACount, enc->ch_layout.nb_channels, enc->sample_fmt);
    frame->pts = AOst->sync_opts;
    AOst->sync_opts += ACount;
    if (AV.avcodec_send_frame(enc, frame) < 0) throw FFmpegException("Audio encoding failed");
    ReceivePackets(AOst);
}

void TCustomFFmpeg::EncodeAudioFifo(TAVOutputStream* AOst, int ASamples)
{
    AVCodecContext* enc = AOst->enc;
    if (!AOst->audio_frame) AOst->audio_frame = AV.av_frame_alloc();
    AVFrame* frame = AOst->audio_frame;
    if (!frame) throw FFmpegException("Out of memory in do_audio_out");
    if (frame->nb_samples != ASamples || !frame->buf[0]) {
        AV.av_frame_unref(frame);
        frame->format = enc->sample_fmt;
        frame->sample_rate = enc->sample_rate;
        frame->nb_samples = ASamples;
        AV.av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
        if (AV.av_frame_get_buffer(frame, 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
    } else if (AV.av_frame_make_writable(frame) < 0) {
        throw FFmpegException("Out of memory in do_audio_out");
    }
    if (AV.av_audio_fifo_read(AOst->fifo, reinterpret_cast<void**>(frame->extended_data), ASamples) < ASamples)
        throw FFmpegException("Audio encoding failed");
    frame->pts = AOst->sync_opts;
    if (AV.avcodec_send_frame(enc, frame) < 0) throw FFmpegException("Audio encoding failed");
    ReceivePackets(AOst);
    AOst->sync_opts += ASamples;
}

void TCustomFFmpeg::InsertSilence(TAVOutputStream* AOst, int ASamples)
{
    AVCodecContext* enc = AOst->enc;
    const int channels = enc->ch_layout.nb_channels;
    const int chunk = 1 << 15;
    std::vector<uint8_t*> data(size_t(std::max(channels, AV_NUM_DATA_POINTERS)), nullptr);
    if (AV.av_samples_alloc(data.data(), nullptr, channels, chunk, enc->sample_fmt, 0) < 0)
        throw FFmpegException("Out of memory in do_audio_out");
    AV.av_samples_set_silence(data.data(), 0, chunk, channels, enc->sample_fmt);
    try {
        for (int left = ASamples; left > 0; left -= chunk) EncodeAudioSamples(AOst, data.data(), std::min(left, chunk));
    } catch (...) {
        AV.av_freep(&data[0]);
        throw;
    }
    AV.av_freep(&data[0]);
}

// ---------------------------------------------------------------------------------
// Subtitles

void TCustomFFmpeg::SubtitleOut(TAVOutputStream* AOst, TAVInputStream* AIst, AVSubtitle* ASub, int64_t APTS)
{
    if (APTS == AV_NOPTS_VALUE) {
        if (Fexit_on_error) throw FFmpegException("Subtitle packets must have a pts");
        Log(llError, "Subtitle packets must have a pts");
        return;
    }
    const int bufferSize = 1 << 20;
    if (!Fsubtitle_out) Fsubtitle_out = static_cast<uint8_t*>(AV.av_malloc(bufferSize));
    if (!Fsubtitle_out) throw FFmpegException("Subtitle encoding failed");
    AVCodecContext* enc = AOst->enc;
    const bool dvb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    const unsigned rects = ASub->num_rects;
    const int64_t pts = AV.av_rescale_q(APTS, AIst->st->time_base, AV_TIME_BASE_Q);
    for (int i = 0; i < (dvb ? 2 : 1); ++i) {
        ASub->pts = pts + int64_t(ASub->start_display_time) * 1000;
        ASub->end_display_time -= ASub->start_display_time;
        ASub->start_display_time = 0;
        if (i == 1) ASub->num_rects = 0;  // the second packet clears the screen
        int size = AV.avcodec_encode_subtitle(enc, Fsubtitle_out, bufferSize, ASub);
        if (i == 1) ASub->num_rects = rects;
        if (size < 0) throw FFmpegException("Subtitle encoding failed");
        TPacketPtr pkt(AV.av_packet_alloc());
        if (!pkt || AV.av_new_packet(pkt.get(), size) < 0) throw FFmpegException("Subtitle encoding failed");
        std::memcpy(pkt->data, Fsubtitle_out, size_t(size));
        pkt->stream_index = AOst->st->index;
        pkt->pts = AV.av_rescale_q(ASub->pts, AV_TIME_BASE_Q, AOst->st->time_base);
        if (dvb)
            pkt->pts += AV.av_rescale_q(i == 0 ? ASub->start_display_time : ASub->end_display_time, AVRational{1, 1000},
                                        AOst->st->time_base);
        else  // how long the text shows
            pkt->duration = AV.av_rescale_q(ASub->end_display_time, AVRational{1, 1000}, AOst->st->time_base);
        pkt->dts = pkt->pts;
        WritePacket(AOst, pkt.get());
    }
}
