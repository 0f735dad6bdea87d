// The setup and teardown of a conversion: the working tables, the source of every output
// stream, copy and encode setup (crop, scaler, filter graph, pass logs), opening and closing
// the codecs, metadata and chapters, the output headers and the stream mapping.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

String TypeName(AVMediaType AType) { return MediaTypeName(int(AType)); }

// Removes AContext from a list of opened codecs; true when it was there.
bool RemoveCodec(std::vector<AVCodecContext*>& AList, AVCodecContext* AContext)
{
    auto it = std::find(AList.begin(), AList.end(), AContext);
    if (it == AList.end()) return false;
    AList.erase(it);
    return true;
}

// Whether stream AIndex of AInput belongs to the program AProgramId.
bool InProgram(const AVFormatContext* AInput, int AIndex, int AProgramId)
{
    for (unsigned i = 0; i < AInput->nb_programs; ++i) {
        const AVProgram* p = AInput->programs[i];
        if (p->id != AProgramId) continue;
        for (unsigned j = 0; j < p->nb_stream_indexes; ++j)
            if (int(p->stream_index[j]) == AIndex) return true;
    }
    return false;
}

// The rank of a candidate source: the FFmpeg 5.1 public stream record no longer tells how
// many frames were examined while probing, so the largest picture or the most channels
// wins, and a stream marked as the default one comes first.
int64_t SourceScore(const AVStream* AStream)
{
    const AVCodecParameters* par = AStream->codecpar;
    int64_t score = 0;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) score = int64_t(par->width) * par->height;
    else if (par->codec_type == AVMEDIA_TYPE_AUDIO) score = par->ch_layout.nb_channels;
    if (AStream->disposition & AV_DISPOSITION_DEFAULT) score += 5000000;
    return score;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Chapters

void CopyChapters(const AVFormatContext* AInput, AVFormatContext* AOutput, int64_t AOffset, int64_t ARecordingTime)
{
    for (unsigned i = 0; i < AInput->nb_chapters; ++i) {
        const AVChapter* in = AInput->chapters[i];
        int64_t ts_off = AV.av_rescale_q(AOffset, AV_TIME_BASE_Q, in->time_base);
        int64_t rt = ARecordingTime == INT64_MAX ? INT64_MAX : AV.av_rescale_q(ARecordingTime, AV_TIME_BASE_Q, in->time_base);
        if (in->end < ts_off) continue;
        if (rt != INT64_MAX && in->start > rt + ts_off) break;
        auto* out = static_cast<AVChapter*>(AV.av_mallocz(sizeof(AVChapter)));
        if (!out) throw FFmpegException("av_mallocz fail");
        out->id = in->id;
        out->time_base = in->time_base;
        out->start = std::max<int64_t>(0, in->start - ts_off);
        out->end = std::min(rt, in->end - ts_off);
        AV.av_dict_copy(&out->metadata, in->metadata, 0);
        auto* list = static_cast<AVChapter**>(
            AV.av_realloc(AOutput->chapters, sizeof(AVChapter*) * (size_t(AOutput->nb_chapters) + 1)));
        if (!list) {
            AV.av_dict_free(&out->metadata);
            AV.av_free(out);
            throw FFmpegException("av_realloc fail");
        }
        AOutput->chapters = list;
        AOutput->chapters[AOutput->nb_chapters++] = out;
    }
}

// ---------------------------------------------------------------------------------
// Setup

void TCustomFFmpeg::SetupTranscode()
{
    // 1. Input tables
    Ffile_table.assign(size_t(Fnb_input_files), TAVInputFile());
    Fist_table.clear();
    for (int i = 0; i < Fnb_input_files; ++i) {
        AVFormatContext* is = Finput_files[i];
        Ffile_table[i].ist_index = int(Fist_table.size());
        Ffile_table[i].nb_streams = int(is->nb_streams);
        for (unsigned k = 0; k < is->nb_streams; ++k) {
            auto ist = std::make_unique<TAVInputStream>();
            ist->file_index = i;
            ist->index = int(k);
            ist->st = is->streams[k];
            if (Frate_emu) ist->start = ClockMicro();
            Fist_table.push_back(std::move(ist));
        }
    }

    // 2. Output tables
    int nb_ostreams = 0;
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* os = Foutput_files[i];
        if (os->nb_streams == 0) {
            AV.av_dump_format(os, i, os->url, 1);
            throw FFmpegException(Format("Output file #%d does not contain any stream", i));
        }
        nb_ostreams += int(os->nb_streams);
    }
    if (Fnb_stream_maps > 0 && Fnb_stream_maps != nb_ostreams)
        throw FFmpegException("Number of stream maps must match number of output streams");
    for (int i = 0; i < Fnb_stream_maps; ++i) {
        const TAVStreamMap& m = Fstream_maps[i];
        if (m.file_index < 0 || m.file_index >= Fnb_input_files || m.stream_index < 0 ||
            m.stream_index >= Ffile_table[m.file_index].nb_streams)
            throw FFmpegException(Format("Could not find input stream #%d.%d", m.file_index, m.stream_index));
        if (m.sync_file_index < 0 || m.sync_file_index >= Fnb_input_files || m.sync_stream_index < 0 ||
            m.sync_stream_index >= Ffile_table[m.sync_file_index].nb_streams)
            throw FFmpegException(Format("Could not find sync stream #%d.%d", m.sync_file_index, m.sync_stream_index));
    }

    // 3. Sources
    Fost_table.clear();
    int n = 0;
    for (int k = 0; k < Fnb_output_files; ++k) {
        AVFormatContext* os = Foutput_files[k];
        for (unsigned j = 0; j < os->nb_streams; ++j, ++n) {
            auto ost = std::make_unique<TAVOutputStream>();
            ost->file_index = k;
            ost->index = int(j);
            ost->oc = os;
            ost->st = os->streams[j];
            ost->codec = &Foutput_streams[FJoinMode ? 0 : k][j];
            ost->enc = ost->codec->enc;
            const AVMediaType type = ost->Type();
            if (Fnb_stream_maps > 0) {
                const TAVStreamMap& m = Fstream_maps[n];
                ost->source_index = Ffile_table[m.file_index].ist_index + m.stream_index;
                TAVInputStream* src = Fist_table[ost->source_index].get();
                if (src->st->codecpar->codec_type != type) {
                    AV.av_dump_format(os, k, os->url, 1);
                    throw FFmpegException(Format("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                                 m.file_index, m.stream_index,
                                                 TypeName(src->st->codecpar->codec_type), k, int(j), TypeName(type)));
                }
                ost->sync_ist = Fist_table[Ffile_table[m.sync_file_index].ist_index + m.sync_stream_index].get();
            } else {
                int found = -1;
                int64_t best = -1;
                for (size_t i = 0; i < Fist_table.size(); ++i) {
                    TAVInputStream* ist = Fist_table[i].get();
                    if (!ist->discard || ist->st->discard == AVDISCARD_ALL) continue;
                    if (ist->st->codecpar->codec_type != type) continue;
                    if (Fopt_programid && !InProgram(Finput_files[ist->file_index], ist->index, Fopt_programid)) continue;
                    if (FJoinMode && ist->file_index != k) continue;
                    int64_t score = SourceScore(ist->st);
                    if (score > best) {
                        best = score;
                        found = int(i);
                    }
                }
                if (found < 0 && !Fopt_programid && !FJoinMode) {
                    for (size_t i = 0; i < Fist_table.size(); ++i) {
                        TAVInputStream* ist = Fist_table[i].get();
                        if (ist->st->codecpar->codec_type == type && ist->st->discard != AVDISCARD_ALL)
                            found = int(i);
                    }
                }
                if (found < 0) {
                    AV.av_dump_format(os, k, os->url, 1);
                    throw FFmpegException(Format("Could not find input stream matching output stream #%d.%d (%s)",
                                                 k, int(j), TypeName(type)));
                }
                ost->source_index = found;
                ost->sync_ist = Fist_table[found].get();
            }
            Fist_table[ost->source_index]->discard = 0;
            ost->show_fps = 1;
            Fost_table.push_back(std::move(ost));
        }
    }

    // 4. Copy or encode setup of every output stream
    for (size_t i = 0; i < Fost_table.size(); ++i) {
        TAVOutputStream* ost = Fost_table[i].get();
        TAVInputStream* ist = Fist_table[ost->source_index].get();
        AVCodecContext* enc = ost->enc;
        if (!enc) throw FFmpegException("invalid codec_type of output stream");
        AV.av_dict_copy(&ost->st->metadata, ist->st->metadata, AV_DICT_DONT_OVERWRITE);
        ost->st->disposition = ist->st->disposition;
        if (FJoinMode && ost->file_index > 0) {
            // The groups after the first share the first group's stream and encoder; each
            // has its own scaler (its input may differ), and takes over the first group's
            // audio buffers when its input begins.
            const TAVOutputStream* first = Fost_table[size_t(ost->index)].get();
            ost->encoding_needed = first->encoding_needed;
            if (ost->encoding_needed) {
                ist->decoding_needed = 1;
                if (enc->codec_type == AVMEDIA_TYPE_VIDEO) SetupEncode(ost, ist);
                else if (enc->codec_type == AVMEDIA_TYPE_AUDIO)
                    ost->audio_resample = enc->sample_rate != ist->st->codecpar->sample_rate || Faudio_sync_method > 1;
            }
            continue;
        }
        enc->bits_per_raw_sample = ist->st->codecpar->bits_per_raw_sample;
        enc->chroma_sample_location = ist->st->codecpar->chroma_location;
        if (ost->codec->stream_copy) {
            SetupCopy(ost, ist);
        } else {
            ost->encoding_needed = 1;
            ist->decoding_needed = 1;
            SetupEncode(ost, ist);
            SetupPassLog(ost, int(i));
        }
    }

    // 5. Codecs
    OpenEncoders();
    OpenDecoders();
    for (auto& ost : Fost_table)
        if (!FJoinMode || ost->file_index == 0) SetupBitstreamFilters(ost.get());

    // 6. Starting timestamps
    for (auto& ist : Fist_table) {
        ist->pts = 0;
        ist->next_pts = AV_NOPTS_VALUE;
        ist->is_start = 1;
    }

    // 7. Metadata maps
    for (int i = 0; i < Fnb_meta_data_maps; ++i) {
        const TAVMetaDataMap& m = Fmeta_data_maps[i];
        if (m.out_file < 0 || m.out_file >= Fnb_output_files) {
            DumpStreamMapping();
            String msg = Format("Invalid output file index %d map_meta_data(%d,%d)", m.out_file, m.out_file, m.in_file);
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        if (m.in_file < 0 || m.in_file >= Fnb_input_files) {
            DumpStreamMapping();
            String msg = Format("Invalid input file index %d map_meta_data(%d,%d)", m.in_file, m.out_file, m.in_file);
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        AV.av_dict_copy(&Foutput_files[m.out_file]->metadata, Finput_files[m.in_file]->metadata,
                        AV_DICT_DONT_OVERWRITE);
    }

    // 8. Chapters
    for (int i = 0; i < Fnb_input_files; ++i) {
        if (Finput_files[i]->nb_chapters == 0) continue;
        for (int k = 0; k < Fnb_output_files; ++k) {
            if (FJoinMode && k > 0) break;
            CopyChapters(Finput_files[i], Foutput_files[k], Fstart_time - Finput_files_ts_offset[i], Frecording_time);
        }
    }

    // 9. Headers
    WriteHeaders();
    DumpStreamMapping();

    // 10. The clock starts
    Ftimer_start = ClockMicro();
    Fno_packet.assign(size_t(Fnb_input_files), 0);
    Fno_packet_count = 0;
    Fjoin_current = 0;
}

void TCustomFFmpeg::SetupCopy(TAVOutputStream* AOst, TAVInputStream* AIst)
{
    const AVCodecParameters* ipar = AIst->st->codecpar;
    AVCodecParameters* par = AOst->st->codecpar;
    AVCodecContext* enc = AOst->enc;
    if (uint64_t(ipar->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE > uint64_t(INT32_MAX))
        throw FFmpegException("icodec.extradata_size is invalid (too large)");
    const uint32_t forcedTag = enc->codec_tag;
    if (ipar->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (FOnCustomHook) throw FFmpegException("-vcodec copy and CustomHook are incompatible (frames are not decoded)");
        if (Fusing_vhook) throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
        if (!FPostHooks.Empty())
            throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
    } else if (ipar->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (Faudio_volume != 256) throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
    } else if (ipar->codec_type != AVMEDIA_TYPE_SUBTITLE) {
        throw FFmpegException("invalid codec_type of output stream");
    }
    if (AV.avcodec_parameters_copy(par, ipar) < 0) throw FFmpegException("av_mallocz fail");
    // The tag: the input's when the container has no tag table, or its table gives the
    // input's tag to the same codec, or has no tag for the codec at all.
    const AVOutputFormat* ofmt = AOst->oc->oformat;
    if (forcedTag) {
        par->codec_tag = forcedTag;
    } else if (ofmt->codec_tag) {
        unsigned tag = 0;
        bool keep = AV.av_codec_get_id(ofmt->codec_tag, ipar->codec_tag) == ipar->codec_id ||
                    !AV.av_codec_get_tag2(ofmt->codec_tag, ipar->codec_id, &tag);
        if (!keep) par->codec_tag = 0;
    }
    // The time base: one frame of the input when that is longer than the stream's tick
    // and the tick is finer than a millisecond; otherwise the input stream's.
    AVRational tb = AIst->st->time_base;
    AVRational frame{0, 1};
    if (ipar->codec_type == AVMEDIA_TYPE_VIDEO) {
        AVRational fr = AIst->st->avg_frame_rate.num ? AIst->st->avg_frame_rate : AIst->st->r_frame_rate;
        if (fr.num > 0 && fr.den > 0) frame = AVRational{fr.den, fr.num};
    } else if (ipar->codec_type == AVMEDIA_TYPE_AUDIO && ipar->sample_rate > 0) {
        frame = AVRational{1, ipar->sample_rate};
    }
    if (frame.num > 0 && av_q2d(frame) > av_q2d(tb) && av_q2d(tb) < 1.0 / 1000) {
        AV.av_reduce(&tb.num, &tb.den, frame.num, frame.den, INT32_MAX);
    }
    AOst->st->time_base = tb;
    enc->time_base = tb;
    if (ipar->codec_type == AVMEDIA_TYPE_VIDEO) {
        AOst->st->sample_aspect_ratio =
            AIst->st->sample_aspect_ratio.num ? AIst->st->sample_aspect_ratio : ipar->sample_aspect_ratio;
        par->sample_aspect_ratio = AOst->st->sample_aspect_ratio;
        AOst->st->avg_frame_rate = AIst->st->avg_frame_rate;
        AOst->st->r_frame_rate = AIst->st->r_frame_rate;
    } else if (ipar->codec_type == AVMEDIA_TYPE_AUDIO) {
        if ((par->codec_id == AV_CODEC_ID_MP3 && par->block_align == 1) || par->codec_id == AV_CODEC_ID_AC3)
            par->block_align = 0;
    }
}

void TCustomFFmpeg::SetupEncode(TAVOutputStream* AOst, TAVInputStream* AIst)
{
    AVCodecContext* enc = AOst->enc;
    const AVCodecParameters* ipar = AIst->st->codecpar;
    switch (enc->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        AOst->fifo = AV.av_audio_fifo_alloc(enc->sample_fmt, std::max(1, enc->ch_layout.nb_channels), 1024);
        if (!AOst->fifo) throw FFmpegException("av_fifo_alloc fail");
        AOst->audio_resample = enc->sample_rate != ipar->sample_rate || Faudio_sync_method > 1;
        break;
    case AVMEDIA_TYPE_SUBTITLE: {
        // Text becomes text and pictures pictures; nothing converts one into the other.
        const AVCodecDescriptor* in = AV.avcodec_descriptor_get(ipar->codec_id);
        const AVCodecDescriptor* out = AV.avcodec_descriptor_get(enc->codec_id);
        const int kinds = AV_CODEC_PROP_TEXT_SUB | AV_CODEC_PROP_BITMAP_SUB;
        if (in && out && (in->props & kinds) && (out->props & kinds) && !(in->props & out->props & kinds))
            throw FFmpegException("Subtitle encoding currently only possible from text to text or bitmap to bitmap");
        if (enc->time_base.num <= 0 || enc->time_base.den <= 0) enc->time_base = AV_TIME_BASE_Q;
        if (!enc->subtitle_header && ipar->extradata_size > 0 &&
            (ipar->codec_id == AV_CODEC_ID_ASS || ipar->codec_id == AV_CODEC_ID_SSA)) {
            enc->subtitle_header = static_cast<uint8_t*>(AV.av_mallocz(size_t(ipar->extradata_size) + 1));
            if (!enc->subtitle_header) throw FFmpegException("av_mallocz fail");
            std::memcpy(enc->subtitle_header, ipar->extradata, size_t(ipar->extradata_size));
            enc->subtitle_header_size = ipar->extradata_size;
        }
        break;
    }
    case AVMEDIA_TYPE_VIDEO: {
        if (enc->pix_fmt == AV_PIX_FMT_NONE)
            throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
        // The decoders deliver pictures shrunk by the low-resolution factor.
        const AVCodecContext* store = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
        const int lowres = store ? store->lowres : 0;
        const int in_w = lowres > 0 ? -((-ipar->width) >> lowres) : ipar->width;
        const int in_h = lowres > 0 ? -((-ipar->height) >> lowres) : ipar->height;
        const int in_fmt = ipar->format;
        AOst->topBand = AOst->original_topBand = Fframe_topBand;
        AOst->bottomBand = AOst->original_bottomBand = Fframe_bottomBand;
        AOst->leftBand = AOst->original_leftBand = Fframe_leftBand;
        AOst->rightBand = AOst->original_rightBand = Fframe_rightBand;
        AOst->video_crop = (Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand) != 0;
        const int cw = in_w - Fframe_leftBand - Fframe_rightBand;
        const int ch = in_h - Fframe_topBand - Fframe_bottomBand;
        AOst->video_resample = cw != enc->width || ch != enc->height || in_fmt != enc->pix_fmt;
        AOst->original_width = in_w;
        AOst->original_height = in_h;
        if (AOst->video_resample) {
            enc->bits_per_raw_sample = 0;
            if (!FEnableFilter) {
                AllocPictTmp(AOst);
                AOst->img_resample_ctx =
                    AV.sws_getContext(cw, ch, AVPixelFormat(in_fmt), enc->width, enc->height, enc->pix_fmt,
                                      int(ReadSwsFlags()), nullptr, nullptr, nullptr);
                if (!AOst->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
            }
        }
        AOst->resample_width = cw;
        AOst->resample_height = ch;
        AOst->resample_pix_fmt = in_fmt;
        if (FEnableFilter && !AIst->input_video_filter) {
            FLastErrMsg.clear();
            if (ConfigureFilters(AIst, AOst) < 0) {
                String msg = FLastErrMsg.empty() ? String("Error opening filters!") : "Error opening filters: " + FLastErrMsg;
                throw FFmpegException(msg);
            }
        }
        break;
    }
    default: throw FFmpegException("invalid codec_type of output stream");
    }
}

unsigned TCustomFFmpeg::ReadSwsFlags()
{
    int64_t flags = Fsws_flags;
    if (FOptions.sws_opts && AV.av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &flags) >= 0)
        Fsws_flags = unsigned(flags);
    return Fsws_flags;
}

void TCustomFFmpeg::AllocPictTmp(TAVOutputStream* AOst)
{
    if (AOst->pict_tmp) return;
    AOst->pict_tmp = AV.av_frame_alloc();
    if (AOst->pict_tmp) {
        AOst->pict_tmp->format = AOst->enc->pix_fmt;
        AOst->pict_tmp->width = AOst->enc->width;
        AOst->pict_tmp->height = AOst->enc->height;
    }
    if (!AOst->pict_tmp || AV.av_frame_get_buffer(AOst->pict_tmp, 0) < 0)
        throw FFmpegException("Cannot allocate temp picture, check pix fmt");
}

void TCustomFFmpeg::SetupPassLog(TAVOutputStream* AOst, int AStreamNumber)
{
    AVCodecContext* enc = AOst->enc;
    if (!(enc->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2))) return;
    String name = Format("%s-%d.log", Fpass_logfilename_prefix.empty() ? String("ffmpeg2pass") : Fpass_logfilename_prefix,
                         AStreamNumber);
    if (name.size() > 1023) name.resize(1023);
    // x264 keeps its own statistics file: it gets the same name.
    if (enc->codec && String(enc->codec->name) == "libx264")
        AV.av_opt_set(enc, "stats", name.c_str(), AV_OPT_SEARCH_CHILDREN);
    if (enc->flags & AV_CODEC_FLAG_PASS1) {
        AOst->logfile = std::fopen(name.c_str(), "wb");
        if (!AOst->logfile) throw FFmpegException(Format("Cannot write log file %s for pass-1 encoding", name));
    } else {
        uint8_t* buf = nullptr;
        int size = 0;
        int err = ReadFileToBuffer(name, buf, size);
        if (err == AVERROR(ENOMEM))
            throw FFmpegException(
                Format("Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding", name));
        if (err < 0)
            throw FFmpegException(Format("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", name));
        AV.av_freep(&enc->stats_in);
        enc->stats_in = reinterpret_cast<char*>(buf);
    }
}

int TCustomFFmpeg::ConfigureFilters(TAVInputStream* AIst, TAVOutputStream* AOst)
{
    AVCodecContext* enc = AOst->enc;
    const AVCodecParameters* ipar = AIst->st->codecpar;
    auto fail = [this](const String& AWhat, int AErr) {
        FLastErrMsg = AErr ? AVErrorText(AWhat, AErr) : AWhat;
        return -1;
    };
    AIst->graph = AV.avfilter_graph_alloc();
    Fgraph = AIst->graph;
    if (!Fgraph) return fail("avfilter_graph_alloc", AVERROR(ENOMEM));
    const int in_w = AOst->original_width, in_h = AOst->original_height;
    AVRational sar = AIst->st->sample_aspect_ratio.num ? AIst->st->sample_aspect_ratio : ipar->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0) sar = AVRational{0, 1};
    String args = Format("video_size=%dx%d:pix_fmt=%d:time_base=1/%d:pixel_aspect=%d/%d", in_w, in_h, ipar->format,
                         AV_TIME_BASE, sar.num, sar.den);
    AVFilterContext* src = nullptr;
    AVFilterContext* sink = nullptr;
    int err = AV.avfilter_graph_create_filter(&src, AV.avfilter_get_by_name("buffer"), "src", args.c_str(), nullptr, Fgraph);
    if (err < 0) return fail("buffer", err);
    err = AV.avfilter_graph_create_filter(&sink, AV.avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, Fgraph);
    if (err < 0) return fail("buffersink", err);
    const AVPixelFormat formats[] = {enc->pix_fmt, AV_PIX_FMT_NONE};
    err = AV.av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(formats),
                            int(sizeof(formats[0])), AV_OPT_SEARCH_CHILDREN);
    if (err < 0) return fail("buffersink", err);
    AIst->input_video_filter = src;
    AIst->out_video_filter = sink;

    const unsigned flags = ReadSwsFlags();
    AVFilterContext* last = src;
    const int cw = in_w - AOst->leftBand - AOst->rightBand;
    const int ch = in_h - AOst->topBand - AOst->bottomBand;
    if (AOst->video_crop) {
        // The window is the cropped input: the bands come off, the scaler brings the
        // rest to the encoder's size.
        AVFilterContext* crop = nullptr;
        String cargs = Format("w=%d:h=%d:x=%d:y=%d", cw, ch, AOst->leftBand, AOst->topBand);
        err = AV.avfilter_graph_create_filter(&crop, AV.avfilter_get_by_name("crop"), "crop", cargs.c_str(), nullptr, Fgraph);
        if (err < 0) return fail("crop", err);
        if ((err = AV.avfilter_link(last, 0, crop, 0)) < 0) return fail("crop", err);
        last = crop;
    }
    if (cw != enc->width || ch != enc->height) {
        AVFilterContext* scale = nullptr;
        String sargs = Format("w=%d:h=%d:flags=%d", enc->width, enc->height, int(flags));
        err = AV.avfilter_graph_create_filter(&scale, AV.avfilter_get_by_name("scale"), "scale", sargs.c_str(), nullptr, Fgraph);
        if (err < 0) return fail("scale", err);
        if ((err = AV.avfilter_link(last, 0, scale, 0)) < 0) return fail("scale", err);
        last = scale;
    }
    Fgraph->scale_sws_opts = AV.av_strdup(Format("flags=%d", int(flags)).c_str());
    if (!Fvfilters.empty()) {
        AVFilterInOut* outputs = AV.avfilter_inout_alloc();
        AVFilterInOut* inputs = AV.avfilter_inout_alloc();
        if (!outputs || !inputs) {
            AV.avfilter_inout_free(&outputs);
            AV.avfilter_inout_free(&inputs);
            return fail("avfilter_inout_alloc", AVERROR(ENOMEM));
        }
        outputs->name = AV.av_strdup("in");
        outputs->filter_ctx = last;
        outputs->pad_idx = 0;
        outputs->next = nullptr;
        inputs->name = AV.av_strdup("out");
        inputs->filter_ctx = sink;
        inputs->pad_idx = 0;
        inputs->next = nullptr;
        err = AV.avfilter_graph_parse_ptr(Fgraph, Fvfilters.c_str(), &inputs, &outputs, nullptr);
        AV.avfilter_inout_free(&outputs);
        AV.avfilter_inout_free(&inputs);
        if (err < 0) return fail(Fvfilters, err);
    } else if ((err = AV.avfilter_link(last, 0, sink, 0)) < 0) {
        return fail("buffersink", err);
    }
    if ((err = AV.avfilter_graph_config(Fgraph, nullptr)) < 0) return fail(Fvfilters, err);
    enc->width = AV.av_buffersink_get_w(sink);
    enc->height = AV.av_buffersink_get_h(sink);
    AVRational fsar = AV.av_buffersink_get_sample_aspect_ratio(sink);
    if (fsar.num > 0 && fsar.den > 0 && !enc->sample_aspect_ratio.num) enc->sample_aspect_ratio = fsar;
    if (!AIst->filter_frame) AIst->filter_frame = AV.av_frame_alloc();
    return AIst->filter_frame ? 0 : fail("av_frame_alloc", AVERROR(ENOMEM));
}

void TCustomFFmpeg::SetupBitstreamFilters(TAVOutputStream* AOst)
{
    const std::vector<const AVBitStreamFilter*>& filters = AOst->codec->bitstream_filters;
    AVCodecParameters* par = AOst->st->codecpar;
    AVRational tb = AOst->encoding_needed ? AOst->enc->time_base : AOst->st->time_base;
    for (const AVBitStreamFilter* f : filters) {
        AVBSFContext* bsf = nullptr;
        int err = AV.av_bsf_alloc(f, &bsf);
        if (err >= 0) err = AV.avcodec_parameters_copy(bsf->par_in, par);
        if (err >= 0) {
            bsf->time_base_in = tb;
            err = AV.av_bsf_init(bsf);
        }
        if (err < 0) {
            AV.av_bsf_free(&bsf);
            String msg = AVErrorText(Format("%s failed for stream %d, codec %s", String(f->name), AOst->st->index,
                                            AOst->encoding_needed && AOst->enc->codec ? String(AOst->enc->codec->name)
                                                                                      : String("copy")),
                                     err);
            if (Fexit_on_error) throw FFmpegException(msg);
            Log(llError, msg);
            continue;
        }
        AV.avcodec_parameters_copy(par, bsf->par_out);
        tb = bsf->time_base_out;
        AOst->bsfs.push_back(bsf);
    }
}

void TCustomFFmpeg::OpenEncoders()
{
    for (auto& p : Fost_table) {
        TAVOutputStream* ost = p.get();
        if (!ost->encoding_needed || (FJoinMode && ost->file_index > 0)) continue;
        AVCodecContext* enc = ost->enc;
        const AVCodec* codec = enc->codec ? enc->codec : AV.avcodec_find_encoder(enc->codec_id);
        if (!codec) {
            DumpStreamMapping();
            String msg = Format("Encoder (codec id %d) not found for output stream #%d.%d (%s)", int(enc->codec_id),
                                ost->file_index, ost->index, TypeName(enc->codec_type));
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        int err;
        {
            TCriticalSectionGuard lock(CodecLock);
            if (FJoinMode) ost->codec_id = enc->codec_id;
            enc->thread_count = OpenThreadCount();
            err = AV.avcodec_open2(enc, codec, nullptr);
        }
        if (err < 0) {
            DumpStreamMapping();
            String msg = Format("Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                                "parameters such as bit_rate, rate, width or height. Please check error log message "
                                "to find out more detail information.",
                                ost->file_index, ost->index, TypeName(enc->codec_type));
            Log(llError, AVErrorText(codec->name, err));
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        FEncoderList.insert(FEncoderList.begin(), enc);
        for (auto& q : Fost_table)
            if (q->enc == enc) q->encoder_opened = 1;
        Fextra_size += enc->extradata_size;
        AV.avcodec_parameters_from_context(ost->st->codecpar, enc);
        ost->st->time_base = enc->time_base;
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO) {
            ost->st->sample_aspect_ratio = enc->sample_aspect_ratio;
            ost->st->avg_frame_rate = enc->framerate;
            ost->st->r_frame_rate = enc->framerate;
        }
    }
}

void TCustomFFmpeg::OpenDecoders()
{
    for (size_t i = 0; i < Fist_table.size(); ++i) {
        TAVInputStream* ist = Fist_table[i].get();
        if (!ist->decoding_needed) continue;
        const AVCodecParameters* par = ist->st->codecpar;
        const AVCodec* codec = i < Finput_codecs.size() && Finput_codecs[i] ? Finput_codecs[i]
                                                                             : AV.avcodec_find_decoder(par->codec_id);
        if (!codec) {
            DumpStreamMapping();
            String msg = Format("Decoder (codec id %d) not found for input stream #%d.%d (%s)", int(par->codec_id),
                                ist->file_index, ist->index, TypeName(par->codec_type));
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        AVCodecContext* dec = AV.avcodec_alloc_context3(codec);
        if (!dec) throw FFmpegException("avcodec_alloc_context failed");
        ist->dec = dec;
        ist->frame = AV.av_frame_alloc();
        if (!ist->frame) throw FFmpegException("av_frame_alloc failed");
        int err = AV.avcodec_parameters_to_context(dec, par);
        dec->pkt_timebase = ist->st->time_base;
        dec->thread_count = OpenThreadCount();
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) dec->framerate = ist->st->avg_frame_rate;
        if (err >= 0) {
            // The input's codec options (threads, low resolution, debugging ...) go to the decoder.
            AVDictionary* opts = StoredCodecOptions(FOptions, par->codec_type, codec, false);
            {
                TCriticalSectionGuard lock(CodecLock);
                err = AV.avcodec_open2(dec, codec, &opts);
            }
            AV.av_dict_free(&opts);
        }
        if (err < 0) {
            DumpStreamMapping();
            String msg = Format("Error while opening decoder for input stream #%d.%d (%s)", ist->file_index, ist->index,
                                TypeName(par->codec_type));
            Log(llError, AVErrorText(codec->name, err));
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        FDecoderList.insert(FDecoderList.begin(), dec);
    }
}

void TCustomFFmpeg::CloseEncoders()
{
    TCriticalSectionGuard lock(CodecLock);
    for (auto& ost : Fost_table) {
        if (!ost->encoding_needed || !ost->encoder_opened || (FJoinMode && ost->file_index > 0)) continue;
        AV.av_freep(&ost->enc->stats_in);
        if (RemoveCodec(FEncoderList, ost->enc)) AV.avcodec_close(ost->enc);
        for (auto& q : Fost_table)
            if (q->enc == ost->enc) q->encoder_opened = 0;
    }
}

void TCustomFFmpeg::CloseDecoders()
{
    TCriticalSectionGuard lock(CodecLock);
    for (auto& ist : Fist_table)
        if (ist->dec && RemoveCodec(FDecoderList, ist->dec)) AV.avcodec_close(ist->dec);
}

void TCustomFFmpeg::WriteHeaders()
{
    bool allRtp = Fnb_output_files > 0;
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) break;
        AVFormatContext* os = Foutput_files[i];
        if (os->nb_streams == 0) throw FFmpegException(Format("Output file #%d does not contain any stream", i));
        int err = AV.avformat_write_header(os, nullptr);
        if (err < 0) {
            DumpStreamMapping();
            String msg = Format("Could not write header for output file #%d (incorrect codec parameters ?)", i);
            Log(llError, AVErrorText(os->url ? DecodeURL(os->url) : String(), err));
            Log(llError, msg);
            throw FFmpegException(msg);
        }
        allRtp = allRtp && os->oformat && String(os->oformat->name) == "rtp";
    }
    if (allRtp) {
        char sdp[2048];
        int count = FJoinMode ? 1 : Fnb_output_files;
        if (AV.av_sdp_create(Foutput_files.data(), count, sdp, sizeof sdp) >= 0)
            Log(llInfo, "SDP:\r\n" + Trim(String(sdp)));
    }
}

void TCustomFFmpeg::DumpStreamMapping()
{
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) break;
        AV.av_dump_format(Foutput_files[i], i, Foutput_files[i]->url, 1);
    }
    if (Fverbose < 0) return;
    Log(llVerbose, "Stream mapping:");
    for (auto& ost : Fost_table) {
        if (ost->source_index < 0 || ost->source_index >= int(Fist_table.size())) continue;
        const TAVInputStream* ist = Fist_table[ost->source_index].get();
        String line = Format("  Stream #%d.%d -> #%d.%d (%s)", ist->file_index, ist->index,
                             FJoinMode ? 0 : ost->file_index, ost->index, TypeName(ost->Type()));
        if (ost->sync_ist && ost->sync_ist != ist)
            line += Format(" [sync #%d.%d (%s)]", ost->sync_ist->file_index, ost->sync_ist->index,
                           TypeName(ost->sync_ist->st->codecpar->codec_type));
        Log(llVerbose, line);
    }
}

void TCustomFFmpeg::TeardownTables()
{
    for (auto& ost : Fost_table) {
        if (ost->logfile) {
            std::fclose(ost->logfile);
            ost->logfile = nullptr;
        }
        if (ost->fifo) AV.av_audio_fifo_free(ost->fifo);
        ost->fifo = nullptr;
        if (ost->pict_tmp) AV.av_frame_free(&ost->pict_tmp);
        if (ost->img_resample_ctx) AV.sws_freeContext(ost->img_resample_ctx);
        ost->img_resample_ctx = nullptr;
        if (ost->resample) AV.swr_free(&ost->resample);
        AV.av_channel_layout_uninit(&ost->resample_in_layout);
        if (ost->audio_frame) AV.av_frame_free(&ost->audio_frame);
        if (!ost->audio_buf.empty() && ost->audio_buf[0]) AV.av_freep(&ost->audio_buf[0]);
        ost->audio_buf.clear();
        if (ost->crop_frame) AV.av_frame_free(&ost->crop_frame);
        for (AVBSFContext*& bsf : ost->bsfs) AV.av_bsf_free(&bsf);
        ost->bsfs.clear();
        // A pass-2 statistics text of an encoder that never opened.
        if (ost->enc && ost->encoding_needed && !ost->encoder_opened &&
            std::find(FEncoderList.begin(), FEncoderList.end(), ost->enc) == FEncoderList.end())
            AV.av_freep(&ost->enc->stats_in);
    }
    {
        TCriticalSectionGuard lock(CodecLock);
        for (auto& ist : Fist_table) {
            if (!ist->dec) continue;
            RemoveCodec(FDecoderList, ist->dec);
            AV.avcodec_free_context(&ist->dec);
        }
    }
    for (auto& ist : Fist_table) {
        if (ist->frame) AV.av_frame_free(&ist->frame);
        if (ist->filter_frame) AV.av_frame_free(&ist->filter_frame);
        ist->input_video_filter = ist->out_video_filter = nullptr;
        if (ist->graph) AV.avfilter_graph_free(&ist->graph);
    }
    Fgraph = nullptr;
    Fost_table.clear();
    Fist_table.clear();
    Ffile_table.clear();
    Fno_packet.clear();
    Fno_packet_count = 0;
}
