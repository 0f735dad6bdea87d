// The conversion run: the packet loop that chooses an input, reads a packet, corrects its
// timestamps and hands it to the output streams it feeds (decoded and encoded, or copied);
// the join continuation; the end of the run; encoder output and packet writing through
// the bitstream filters.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/UnicodeProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int64_t ToMicro(int64_t ATs, AVRational ATb) { return AV.av_rescale_q(ATs, ATb, AV_TIME_BASE_Q); }

uint32_t ReadLE32(const uint8_t* P) { return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24; }
uint64_t ReadLE64(const uint8_t* P) { return uint64_t(ReadLE32(P)) | uint64_t(ReadLE32(P + 4)) << 32; }

// A video frame's duration in microseconds: the packet's, else one frame at the stream's
// rate (the repeat count adds half frames).
int64_t VideoFrameDuration(const TAVInputStream* AIst, const AVFrame* AFrame)
{
    if (AFrame && AFrame->pkt_duration > 0) return ToMicro(AFrame->pkt_duration, AIst->st->time_base);
    AVRational fr = AIst->dec && AIst->dec->framerate.num > 0 ? AIst->dec->framerate : AIst->st->avg_frame_rate;
    if (fr.num <= 0 || fr.den <= 0) fr = AIst->st->r_frame_rate;
    if (fr.num <= 0 || fr.den <= 0) return 0;
    int64_t d = AV.av_rescale_q(1, AVRational{fr.den, fr.num}, AV_TIME_BASE_Q);
    if (AFrame && AFrame->repeat_pict > 0) d += d * AFrame->repeat_pict / 2;
    return d;
}

}  // namespace

int TCustomFFmpeg::VideoSyncMethod(const TAVOutputStream* AOst) const
{
    if (Fvideo_sync_method >= 0) return Fvideo_sync_method;
    return AOst->oc && AOst->oc->oformat && (AOst->oc->oformat->flags & AVFMT_VARIABLE_FPS) ? 2 : 1;
}

double TCustomFFmpeg::OutputTime(const TAVOutputStream* AOst) const
{
    if (AOst->encoding_needed && AOst->enc && AOst->enc->time_base.den > 0)
        return double(AOst->sync_opts) * av_q2d(AOst->enc->time_base);
    if (AOst->cur_dts == AV_NOPTS_VALUE) return 0;
    return double(AOst->cur_dts) * av_q2d(AOst->st->time_base);
}

void TPacketFree::operator()(AVPacket* APacket) const { AV.av_packet_free(&APacket); }

void TCustomFFmpeg::Transcode()
{
    try {
        SetupTranscode();
        TranscodeLoop();
    } catch (...) {
        TeardownTables();
        throw;
    }
}

void TCustomFFmpeg::TranscodeLoop()
{
    TPacketPtr packet(AV.av_packet_alloc());
    AVPacket* pkt = packet.get();
    if (!pkt) throw FFmpegException("av_packet_alloc failed");
    int64_t last_report = Ftimer_start;
    bool shortest_ended = false;

    while (!FBroken) {
        WaitWhilePaused();
        if (FBroken) break;

        // 1. The input whose streams lag furthest behind
        int chosen = -1;
        if (!FJoinMode) {
            double ipts_min = 1e100, opts_min = 1e100;
            for (auto& p : Fost_table) {
                TAVOutputStream* ost = p.get();
                TAVInputStream* ist = Fist_table[ost->source_index].get();
                if (ist->is_past_recording_time || Fno_packet[ist->file_index]) continue;
                double opts = OutputTime(ost);
                double ipts = double(ist->pts) / AV_TIME_BASE;
                if (!Ffile_table[ist->file_index].eof_reached) {
                    if (ipts < ipts_min) {
                        ipts_min = ipts;
                        if (Finput_sync) chosen = ist->file_index;
                    }
                    if (opts < opts_min) {
                        opts_min = opts;
                        if (!Finput_sync) chosen = ist->file_index;
                    }
                }
                int type = ost->Type();
                if (type >= 0 && type < 4 && ost->frame_number >= Fmax_frames[type]) {
                    chosen = -1;
                    break;
                }
            }
        } else {
            chosen = Fjoin_current;
            for (auto& p : Fost_table) {
                int type = p->Type();
                if (p->file_index == Fjoin_current && type >= 0 && type < 4 && p->frame_number >= Fmax_frames[type]) {
                    chosen = -1;
                    break;
                }
            }
        }
        // 2. Nothing to read
        if (chosen < 0) {
            if (FJoinMode || Fno_packet_count == 0) break;
            std::fill(Fno_packet.begin(), Fno_packet.end(), 0);
            Fno_packet_count = 0;
            AV.av_usleep(10000);
            continue;
        }
        // 3. The size limit
        if (Flimit_filesize != 0 && Foutput_files[0]->pb && AVIOTell(Foutput_files[0]->pb) >= Flimit_filesize) break;

        // 4. One packet
        AVFormatContext* is = Finput_files[chosen];
        int ret = AV.av_read_frame(is, pkt);
        if (ret == AVERROR(EAGAIN)) {
            Fno_packet[chosen] = 1;
            ++Fno_packet_count;
            continue;
        }
        if (ret < 0) {
            Ffile_table[chosen].eof_reached = 1;
            if (Fopt_shortest && !FJoinMode) {
                shortest_ended = true;
                break;
            }
            if (FJoinMode && !JoinNextInput(chosen)) break;
            continue;
        }
        std::fill(Fno_packet.begin(), Fno_packet.end(), 0);
        Fno_packet_count = 0;
        if (Fdo_pkt_dump && pkt->stream_index >= 0 && unsigned(pkt->stream_index) < is->nb_streams)
            AV.av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, pkt, Fdo_hex_dump, is->streams[pkt->stream_index]);

        // 5. Packets of streams nobody takes
        TAVInputStream* ist = nullptr;
        if (pkt->stream_index >= 0 && pkt->stream_index < Ffile_table[chosen].nb_streams)
            ist = Fist_table[size_t(Ffile_table[chosen].ist_index + pkt->stream_index)].get();
        bool output = ist && !ist->discard;
        if (output) {
            AVStream* st = ist->st;
            // 6. Offset and scale
            const int64_t offset = AV.av_rescale_q(Finput_files_ts_offset[chosen], AV_TIME_BASE_Q, st->time_base);
            if (pkt->dts != AV_NOPTS_VALUE) pkt->dts += offset;
            if (pkt->pts != AV_NOPTS_VALUE) pkt->pts += offset;
            const double scale = pkt->stream_index < MAX_STREAMS ? Finput_files_ts_scale[chosen][pkt->stream_index] : 0;
            if (scale != 0) {
                if (pkt->dts != AV_NOPTS_VALUE) pkt->dts = std::llround(double(pkt->dts) * scale);
                if (pkt->pts != AV_NOPTS_VALUE) pkt->pts = std::llround(double(pkt->pts) * scale);
            }
            // 7. Timestamp discontinuities
            if (pkt->dts != AV_NOPTS_VALUE && ist->next_dts != AV_NOPTS_VALUE && (is->iformat->flags & AVFMT_TS_DISCONT) &&
                !Fcopy_ts) {
                int64_t t = ToMicro(pkt->dts, st->time_base);
                int64_t delta = t - ist->next_dts;
                if (std::llabs(delta) > int64_t(Fdts_delta_threshold * AV_TIME_BASE) ||
                    (ist->dts != AV_NOPTS_VALUE && t + 1 < ist->dts)) {
                    Finput_files_ts_offset[chosen] -= delta;
                    if (Fverbose >= 3)
                        Log(llVerbose, Format("timestamp discontinuity %d, new offset= %d", delta,
                                              Finput_files_ts_offset[chosen]));
                    int64_t d = AV.av_rescale_q(delta, AV_TIME_BASE_Q, st->time_base);
                    pkt->dts -= d;
                    if (pkt->pts != AV_NOPTS_VALUE) pkt->pts -= d;
                }
            }
            if (pkt->dts != AV_NOPTS_VALUE) {
                ist->dts = ToMicro(pkt->dts, st->time_base);
                int64_t dur = pkt->duration > 0 ? ToMicro(pkt->duration, st->time_base) : 0;
                if (dur == 0 && st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) dur = VideoFrameDuration(ist, nullptr);
                ist->next_dts = ist->dts + dur;
            }
            // 8. The recording time
            if (Frecording_time != INT64_MAX && pkt->dts != AV_NOPTS_VALUE &&
                AV.av_compare_ts(pkt->dts, st->time_base, Frecording_time + Fstart_time, AV_TIME_BASE_Q) >= 0) {
                ist->is_past_recording_time = 1;
                output = false;
            }
        }
        // 9. Decode and write
        if (output && OutputPacket(ist, pkt) < 0) {
            String msg = Format("Error while decoding stream #%d.%d (%s)", ist->file_index, ist->index,
                                MediaTypeName(ist->st->codecpar->codec_type));
            AV.av_packet_unref(pkt);
            if (Fexit_on_error) throw FFmpegException(msg);
            if (Fverbose >= 0) Log(llVerbose, msg);
            continue;
        }
        // 10. The report
        AV.av_packet_unref(pkt);
        int64_t now = ClockMicro();
        if (now - last_report > ReportInterval) {
            last_report = now;
            ReportProgress(false, chosen);
        }
    }

    // The decoded data still in the decoders, then the encoders' delayed output.  Where the
    // shortest input ended the output, what the decoders of the inputs not yet at their end
    // still hold lies beyond it (a frame-threaded decoder holds a picture per thread): it
    // is left out.
    for (auto& ist : Fist_table) {
        if (shortest_ended && !Ffile_table[ist->file_index].eof_reached) continue;
        if (ist->decoding_needed && !ist->decoder_flushed) {
            OutputPacket(ist.get(), nullptr);
            ist->decoder_flushed = 1;
        }
    }
    for (auto& ost : Fost_table)
        if (!FJoinMode || ost->file_index == Fjoin_current) FlushEncoder(ost.get());
    // An output that received nothing is no conversion (nothing decodable in the input,
    // a start beyond its end, no stream to write).
    if (!FBroken)
        for (int i = 0; i < Fnb_output_files; ++i) {
            if (FJoinMode && i > 0) break;
            if (PacketsWritten(i) == 0)
                throw FFmpegException(Format("Output file #%d: nothing was written (no stream or no frame could be "
                                             "converted)",
                                             i));
        }
    // A trailer that cannot be written (a full disk) fails the conversion.
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) break;
        int err = AV.av_write_trailer(Foutput_files[i]);
        if (err < 0) throw FFmpegException(AVErrorText(Format("Could not write trailer for output file #%d", i), err));
    }
    ReportProgress(true, -1);
    FinishOutputFiles();
    CloseEncoders();
    CloseDecoders();
    FFinished = !FBroken;
    TeardownTables();
}

int TCustomFFmpeg::PacketsWritten(int AFile) const
{
    int packets = 0;
    for (auto& ost : Fost_table)
        if (ost->oc == Foutput_files[size_t(AFile)]) packets += ost->packets_written;
    return packets;
}

void TCustomFFmpeg::FinishOutputFiles()
{
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) break;
        AVFormatContext* oc = Foutput_files[i];
        if (!oc->pb || (oc->oformat->flags & AVFMT_NOFILE)) continue;
        int err = CloseOutputIO(&oc->pb);
        if (err < 0) throw FFmpegException(AVErrorText(Format("Could not write output file #%d", i), err));
    }
    // A stopped conversion keeps what it wrote (its files are complete), unless that is
    // nothing, or an earlier file has the name: an earlier file is never replaced by a
    // partial one.
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) break;
        TOutputTarget& target = Foutput_targets[size_t(i)];
        if (PacketsWritten(i) == 0) {
            DiscardOutputTarget(target);
            continue;
        }
        const String name = target.Target;
        int err = FBroken ? KeepStoppedOutputTarget(target) : CommitOutputTarget(target);
        if (err < 0) throw FFmpegException(AVErrorText(name, err));
    }
}

bool TCustomFFmpeg::JoinNextInput(int AFile)
{
    // 1. The ended input's decoders give up what they hold
    for (auto& ist : Fist_table) {
        if (ist->file_index != AFile || !ist->decoding_needed || ist->decoder_flushed) continue;
        OutputPacket(ist.get(), nullptr);
        if (ist->dec) AV.avcodec_flush_buffers(ist->dec);
        ist->decoder_flushed = 1;
    }
    // 2-3. The encoders keep running into the next input: nothing is drained between
    // inputs (a drained encoder cannot take frames again), so positions and the encoders'
    // own state carry over, and there is nothing to reopen.
    // 5. Where the ended input's streams got to
    double m = 0;
    for (auto& ost : Fost_table)
        if (ost->file_index == AFile) m = std::max(m, OutputTime(ost.get()));
    // 4. The next group takes over positions and pending samples
    const int perFile = Fnb_output_files > 0 ? int(Foutput_files[0]->nb_streams) : 0;
    for (auto& next : Fost_table) {
        if (next->file_index != AFile + 1) continue;
        TAVOutputStream* prev = Fost_table[size_t(AFile * perFile + next->index)].get();
        next->sync_opts = prev->sync_opts;
        next->frame_number = prev->frame_number;
        next->packets_written = prev->packets_written;
        next->last_frame_pts = prev->last_frame_pts;
        next->cur_dts = prev->cur_dts;
        next->audio_started = prev->audio_started;
        next->coded_quality = prev->coded_quality;
        next->coded_pict_type = prev->coded_pict_type;
        std::swap(next->fifo, prev->fifo);
        std::swap(next->audio_frame, prev->audio_frame);
        std::swap(next->audio_buf, prev->audio_buf);
        std::swap(next->audio_buf_samples, prev->audio_buf_samples);
        std::swap(next->logfile, prev->logfile);
        std::swap(next->bsfs, prev->bsfs);
    }
    for (auto& ost : Fost_table)
        if (ost->file_index == AFile && AFile + 1 < Fnb_input_files) ost->show_fps = 0;
    // 6. The next input continues where this one ended
    if (AFile + 1 >= Fnb_input_files) return false;
    Finput_files_ts_offset[AFile + 1] += std::llround(m * AV_TIME_BASE);
    Fjoin_current = AFile + 1;
    return true;
}

int TCustomFFmpeg::OutputPacket(TAVInputStream* AIst, const AVPacket* APacket)
{
    AVStream* st = AIst->st;
    if (AIst->next_pts == AV_NOPTS_VALUE) AIst->next_pts = AIst->pts;
    if (APacket && APacket->dts != AV_NOPTS_VALUE) AIst->next_pts = AIst->pts = ToMicro(APacket->dts, st->time_base);

    if (!AIst->decoding_needed) {
        // Copied streams: the time moves on by the packet's length.
        if (!APacket) return 0;
        AIst->pts = AIst->next_pts;
        const AVCodecParameters* par = st->codecpar;
        if (APacket->duration > 0) AIst->next_pts += ToMicro(APacket->duration, st->time_base);
        else if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0 && par->frame_size > 0)
            AIst->next_pts += int64_t(AV_TIME_BASE) * par->frame_size / par->sample_rate;
        else if (par->codec_type == AVMEDIA_TYPE_VIDEO)
            AIst->next_pts += VideoFrameDuration(AIst, nullptr);
        CopyToOutputs(AIst, APacket);
        return 0;
    }
    // The same source may also feed copied streams: they get the packet itself.
    if (APacket) CopyToOutputs(AIst, APacket);

    AVCodecContext* dec = AIst->dec;
    if (!dec) return -1;
    if (dec->codec_type == AVMEDIA_TYPE_SUBTITLE) {
        if (!APacket) return 0;
        AVSubtitle sub;
        int got = 0;
        if (AV.avcodec_decode_subtitle2(dec, &sub, &got, const_cast<AVPacket*>(APacket)) < 0) return -1;
        if (!got) return 0;
        if (Fstart_time == 0 || AIst->pts >= Fstart_time)
            for (auto& ost : Fost_table)
                if (Fist_table[ost->source_index].get() == AIst && ost->encoding_needed)
                    SubtitleOut(ost.get(), AIst, &sub, APacket->pts);
        AV.avsubtitle_free(&sub);
        return 0;
    }
    if (dec->codec_type != AVMEDIA_TYPE_AUDIO && dec->codec_type != AVMEDIA_TYPE_VIDEO) return -1;

    int result = 0;
    int ret = AV.avcodec_send_packet(dec, APacket);
    if (ret < 0 && ret != AVERROR_EOF && ret != AVERROR(EAGAIN)) {
        ++AIst->decode_errors;
        result = -1;
    }
    while (true) {
        ret = AV.avcodec_receive_frame(dec, AIst->frame);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) break;
        if (ret < 0) {
            ++AIst->decode_errors;
            result = -1;
            break;
        }
        ++AIst->decoded_frames;
        OutputFrame(AIst, AIst->frame);
        AV.av_frame_unref(AIst->frame);
    }
    // At the end, the filter graph gives up the pictures it holds.
    if (!APacket && AIst->input_video_filter && AIst->out_video_filter) {
        if (AV.av_buffersrc_add_frame_flags(AIst->input_video_filter, nullptr, 0) >= 0) OutputVideoFrame(AIst, nullptr);
    }
    return result;
}

void TCustomFFmpeg::CopyToOutputs(TAVInputStream* AIst, const AVPacket* APacket)
{
    if (Fstart_time != 0 && AIst->pts < Fstart_time) return;
    for (auto& ost : Fost_table)
        if (Fist_table[ost->source_index].get() == AIst && !ost->encoding_needed) CopyPacket(ost.get(), AIst, APacket);
}

void TCustomFFmpeg::OutputFrame(TAVInputStream* AIst, AVFrame* AFrame)
{
    if (AIst->dec->codec_type == AVMEDIA_TYPE_VIDEO) {
        int64_t t = AFrame->best_effort_timestamp;
        AIst->pts = t != AV_NOPTS_VALUE ? ToMicro(t, AIst->st->time_base) : AIst->next_pts;
        AIst->next_pts = AIst->pts + VideoFrameDuration(AIst, AFrame);
        AIst->quality = float(AFrame->quality);
        PreprocessVideoFrame(AIst, AFrame);
        OutputVideoFrame(AIst, AFrame);
        return;
    }
    // Audio
    int64_t t = AFrame->best_effort_timestamp;
    AIst->pts = t != AV_NOPTS_VALUE ? ToMicro(t, AIst->st->time_base) : AIst->next_pts;
    if (AFrame->sample_rate > 0)
        AIst->next_pts = AIst->pts + int64_t(AFrame->nb_samples) * AV_TIME_BASE / AFrame->sample_rate;
    if (Frecording_time != INT64_MAX) {
        // The cut falls inside the frame: the samples after it are left out.
        const int64_t end = Fstart_time + Frecording_time;
        if (AIst->pts >= end) return;
        if (AIst->next_pts > end && AFrame->sample_rate > 0) {
            int keep = int((end - AIst->pts) * AFrame->sample_rate / AV_TIME_BASE);
            if (keep <= 0) return;
            AFrame->nb_samples = std::min(AFrame->nb_samples, keep);
        }
    }
    if (Faudio_volume != 256 && AV.av_frame_make_writable(AFrame) >= 0) ScaleAudioFrame(AFrame, Faudio_volume);
    if (Frate_emu) {
        int64_t elapsed = ClockMicro() - AIst->start;
        if (AIst->pts > elapsed + 1000) AV.av_usleep(unsigned((AIst->pts - elapsed) / 1000 * 1000));
    }
    if (Fstart_time != 0 && AIst->pts < Fstart_time) return;
    for (auto& ost : Fost_table)
        if (Fist_table[ost->source_index].get() == AIst && ost->encoding_needed) AudioOut(ost.get(), AIst, AFrame);
}

void TCustomFFmpeg::OutputVideoFrame(TAVInputStream* AIst, AVFrame* AFrame)
{
    if (AFrame) {
        if (Frecording_time != INT64_MAX && AIst->pts >= Fstart_time + Frecording_time) return;
        if (Frate_emu) {
            int64_t elapsed = ClockMicro() - AIst->start;
            if (AIst->pts > elapsed + 1000) AV.av_usleep(unsigned((AIst->pts - elapsed) / 1000 * 1000));
        }
    }
    auto toOutputs = [&](AVFrame* APicture) {
        if (Fstart_time != 0 && AIst->pts < Fstart_time) return;
        for (auto& ost : Fost_table)
            if (Fist_table[ost->source_index].get() == AIst && ost->encoding_needed) VideoOut(ost.get(), AIst, APicture);
    };
    if (!AIst->input_video_filter) {
        if (AFrame) toOutputs(AFrame);
        return;
    }
    if (AFrame) {
        AFrame->pts = AIst->pts;
        int err = AV.av_buffersrc_add_frame_flags(AIst->input_video_filter, AFrame, AV_BUFFERSRC_FLAG_KEEP_REF);
        if (err < 0) {
            String msg = AVErrorText("Error while feeding the filter graph", err);
            if (Fexit_on_error) throw FFmpegException(msg);
            Log(llError, msg);
            return;
        }
    }
    const AVRational tb = AV.av_buffersink_get_time_base(AIst->out_video_filter);
    while (AV.av_buffersink_get_frame(AIst->out_video_filter, AIst->filter_frame) >= 0) {
        if (AIst->filter_frame->pts != AV_NOPTS_VALUE) AIst->pts = ToMicro(AIst->filter_frame->pts, tb);
        toOutputs(AIst->filter_frame);
        AV.av_frame_unref(AIst->filter_frame);
    }
}

void TCustomFFmpeg::CopyPacket(TAVOutputStream* AOst, TAVInputStream* AIst, const AVPacket* APacket)
{
    const AVRational otb = AOst->st->time_base;
    const int64_t start = AV.av_rescale_q(Fstart_time, AV_TIME_BASE_Q, otb);
    if (AOst->frame_number == 0 && !(APacket->flags & AV_PKT_FLAG_KEY) && !Fcopy_initial_nonkeyframes) return;
    const AVMediaType type = AIst->st->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_AUDIO) Faudio_size += APacket->size;
    else if (type == AVMEDIA_TYPE_VIDEO) {
        Fvideo_size += APacket->size;
        AOst->sync_opts++;
    }
    AOst->coded_quality = -FF_QP2LAMBDA;
    TPacketPtr opkt(AV.av_packet_clone(APacket));
    if (!opkt) throw FFmpegException("av_packet_clone failed");
    opkt->stream_index = AOst->st->index;
    const AVRational itb = AIst->st->time_base;
    opkt->pts = APacket->pts != AV_NOPTS_VALUE ? AV.av_rescale_q(APacket->pts, itb, otb) - start : AV_NOPTS_VALUE;
    opkt->dts = (APacket->dts != AV_NOPTS_VALUE ? AV.av_rescale_q(APacket->dts, itb, otb)
                                                : AV.av_rescale_q(AIst->pts, AV_TIME_BASE_Q, otb)) -
                start;
    opkt->duration = APacket->duration > 0 ? AV.av_rescale_q(APacket->duration, itb, otb) : 0;
    opkt->flags = APacket->flags;
    WritePacket(AOst, opkt.get());
    AOst->frame_number++;
}

void TCustomFFmpeg::WritePacket(TAVOutputStream* AOst, AVPacket* APacket) { FilterPacket(AOst, 0, APacket); }

void TCustomFFmpeg::FilterPacket(TAVOutputStream* AOst, size_t AIndex, AVPacket* APacket)
{
    if (AIndex >= AOst->bsfs.size()) {
        MuxPacket(AOst, APacket);
        return;
    }
    AVBSFContext* bsf = AOst->bsfs[AIndex];
    auto report = [&](int AErr) {
        String codec = AOst->encoding_needed && AOst->enc->codec ? String(AOst->enc->codec->name) : String("copy");
        String msg = AVErrorText(
            Format("%s failed for stream %d, codec %s", String(bsf->filter->name), AOst->st->index, codec), AErr);
        if (Fexit_on_error) throw FFmpegException(msg);
        Log(llError, msg);
    };
    TPacketPtr keep(AV.av_packet_clone(APacket));  // written unfiltered when the filter fails
    int err = AV.av_bsf_send_packet(bsf, APacket);
    if (err < 0) {
        report(err);
        FilterPacket(AOst, AIndex + 1, APacket);
        return;
    }
    TPacketPtr out(AV.av_packet_alloc());
    if (!out) throw FFmpegException("av_packet_alloc failed");
    bool any = false;
    while ((err = AV.av_bsf_receive_packet(bsf, out.get())) >= 0) {
        any = true;
        FilterPacket(AOst, AIndex + 1, out.get());
        AV.av_packet_unref(out.get());
    }
    if (err != AVERROR(EAGAIN) && err != AVERROR_EOF) {
        report(err);
        if (!any && keep) FilterPacket(AOst, AIndex + 1, keep.get());
    }
}

void TCustomFFmpeg::MuxPacket(TAVOutputStream* AOst, AVPacket* APacket)
{
    if (APacket->dts != AV_NOPTS_VALUE) {
        int64_t end = APacket->dts + std::max<int64_t>(APacket->duration, 0);
        if (!FJoinMode) AOst->cur_dts = end;
        else
            for (auto& o : Fost_table)
                if (o->st == AOst->st) o->cur_dts = end;
    }
    AOst->packets_written++;
    int err = AV.av_interleaved_write_frame(AOst->oc, APacket);
    if (err < 0) throw FFmpegException(AVErrorText("av_interleaved_write_frame()", err));
}

int TCustomFFmpeg::ReceivePackets(TAVOutputStream* AOst)
{
    AVCodecContext* enc = AOst->enc;
    if (!FPacket) FPacket = AV.av_packet_alloc();
    if (!FPacket) throw FFmpegException("av_packet_alloc failed");
    AVPacket* pkt = FPacket;
    const bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
    int bytes = 0;
    while (true) {
        int ret = AV.avcodec_receive_packet(enc, pkt);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) break;
        if (ret < 0) throw FFmpegException(video ? "Video encoding failed" : "Audio encoding failed");
        // Quality, picture type and squared errors of the coded picture.
        size_t size = 0;
        const uint8_t* sd = AV.av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &size);
        if (sd && size >= 6) {
            AOst->coded_quality = int(ReadLE32(sd));
            AOst->coded_pict_type = sd[4];
            int count = sd[5];
            AOst->coded_has_error = count > 0;
            for (int i = 0; i < count && i < 4 && size >= size_t(16 + 8 * i); ++i) {
                AOst->coded_error[i] = ReadLE64(sd + 8 + 8 * i);
                AOst->total_error[i] += AOst->coded_error[i];
            }
        }
        const int pktSize = pkt->size;
        bytes += pktSize;
        if (video) {
            Fvideo_size += pktSize;
            if (AOst->logfile && enc->stats_out) std::fputs(enc->stats_out, AOst->logfile);
            if (pkt->duration == 0) pkt->duration = 1;  // one frame in the encoder's time base
        } else {
            Faudio_size += pktSize;
        }
        pkt->stream_index = AOst->st->index;
        AV.av_packet_rescale_ts(pkt, enc->time_base, AOst->st->time_base);
        WritePacket(AOst, pkt);
        AV.av_packet_unref(pkt);
        if (video && !Fvstats_filename.empty()) WriteVideoStats(AOst, pktSize);
    }
    return bytes;
}

void TCustomFFmpeg::FlushEncoder(TAVOutputStream* AOst)
{
    if (!AOst->encoding_needed || !AOst->encoder_opened || AOst->encoder_flushed) return;
    AVCodecContext* enc = AOst->enc;
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO) {
        // The samples the resampler still holds, then the last, partial frame.
        if (AOst->resample) {
            const int chunk = 4096;
            std::vector<uint8_t*> data(size_t(std::max(enc->ch_layout.nb_channels, AV_NUM_DATA_POINTERS)), nullptr);
            if (AV.av_samples_alloc(data.data(), nullptr, enc->ch_layout.nb_channels, chunk, enc->sample_fmt, 0) >= 0) {
                int n;
                while ((n = AV.swr_convert(AOst->resample, data.data(), chunk, nullptr, 0)) > 0)
                    EncodeAudioSamples(AOst, data.data(), n);
                AV.av_freep(&data[0]);
            }
        }
        if (enc->frame_size > 1 && AOst->fifo) {
            int left = AV.av_audio_fifo_size(AOst->fifo);
            if (left > 0) {
                if (enc->codec && (enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
                    EncodeAudioFifo(AOst, left);
                } else {
                    // Padded with silence to a whole frame, which then goes out.
                    InsertSilence(AOst, enc->frame_size - left);
                }
            }
        }
    } else if (enc->codec_type != AVMEDIA_TYPE_VIDEO) {
        return;
    }
    int ret = AV.avcodec_send_frame(enc, nullptr);
    if (ret < 0 && ret != AVERROR_EOF)
        throw FFmpegException(enc->codec_type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed" : "Audio encoding failed");
    ReceivePackets(AOst);
    for (auto& o : Fost_table)
        if (o->enc == enc) o->encoder_flushed = 1;
}
