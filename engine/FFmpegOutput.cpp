// Opening output files and building their streams from the current options.
#include "engine/FFmpeg.h"
#include "engine/FFmpegLoader.h"
#include "engine/MyUtils.h"
#include "engine/UnicodeProtocol.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// ---------------------------------------------------------------------------------
// Format choosers

int NearestSampleRate(int ARate, const int* ARates)
{
    int best = 0, bestDiff = INT32_MAX;
    for (const int* p = ARates; *p; ++p) {
        int diff = std::abs(*p - ARate);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = *p;
        }
    }
    return best;
}

void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || !ACodec->sample_fmts) return;
    for (const AVSampleFormat* p = ACodec->sample_fmts; *p != AV_SAMPLE_FMT_NONE; ++p)
        if (*p == AContext->sample_fmt) return;
    AContext->sample_fmt = ACodec->sample_fmts[0];
}

void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || !ACodec->pix_fmts) return;
    static const AVPixelFormat MJPEGFormats[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV420P,
                                                 AV_PIX_FMT_YUV422P, AV_PIX_FMT_NONE};
    const AVPixelFormat* p = ACodec->pix_fmts;
    if (AContext->strict_std_compliance <= FF_COMPLIANCE_UNOFFICIAL && AContext->codec_id == AV_CODEC_ID_MJPEG)
        p = MJPEGFormats;
    for (; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AContext->pix_fmt) return;
    AContext->pix_fmt = ACodec->pix_fmts[0];
}

void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || !ACodec->supported_samplerates) return;
    int best = NearestSampleRate(AContext->sample_rate, ACodec->supported_samplerates);
    if (best != AContext->sample_rate)
        GlobalLogger()->Log(nullptr, llWarning, "Requested sampling rate unsupported using closest supported (%d)", best);
    AContext->sample_rate = best;
}

int64_t NearestAllowedBitRate(AVCodecID AId, int ASampleRate, int64_t ABitRate)
{
    // MPEG audio layer II takes only the bit rates of its table (kbit/s), which depends on
    // whether the rate is one of the halved ones (16, 22.05, 24 kHz).
    static const int Layer2[2][14] = {{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
                                      {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
    if (AId != AV_CODEC_ID_MP2 || ABitRate <= 0) return ABitRate;
    const int* table = Layer2[ASampleRate > 0 && ASampleRate < 32000 ? 1 : 0];
    int64_t best = ABitRate;
    int64_t bestDiff = INT64_MAX;
    for (int i = 0; i < 14; ++i) {
        int64_t rate = int64_t(table[i]) * 1000;
        int64_t diff = rate > ABitRate ? rate - ABitRate : ABitRate - rate;
        if (diff < bestDiff) {  // the lower of two equally near rates
            bestDiff = diff;
            best = rate;
        }
    }
    return best;
}

void FitAudioToEncoder(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec) return;
    if (ACodec->ch_layouts && ACodec->ch_layouts[0].nb_channels > 0) {
        const AVChannelLayout* best = nullptr;
        bool listed = false;
        for (const AVChannelLayout* l = ACodec->ch_layouts; l->nb_channels > 0; ++l) {
            if (AV.av_channel_layout_compare(l, &AContext->ch_layout) == 0) listed = true;
            // The nearest channel count, the first of equally near ones.
            if (!best || std::abs(l->nb_channels - AContext->ch_layout.nb_channels) <
                             std::abs(best->nb_channels - AContext->ch_layout.nb_channels))
                best = l;
        }
        if (!listed && best) {
            char name[64] = "";
            AV.av_channel_layout_describe(best, name, sizeof(name));
            GlobalLogger()->Log(nullptr, llWarning, "%d channels are not supported by %s, using %s",
                                AContext->ch_layout.nb_channels, ACodec->name, name);
            AV.av_channel_layout_uninit(&AContext->ch_layout);
            AV.av_channel_layout_copy(&AContext->ch_layout, best);
        }
    }
    int64_t rate = NearestAllowedBitRate(ACodec->id, AContext->sample_rate, AContext->bit_rate);
    if (rate != AContext->bit_rate) {
        GlobalLogger()->Log(nullptr, llWarning, "Bit rate %d is not allowed in %s, using %d", AContext->bit_rate,
                            ACodec->name, rate);
        AContext->bit_rate = rate;
    }
}

// ---------------------------------------------------------------------------------
// Output files

namespace {
// The muxer and its private options take what they know; other names are left alone.
void SetMuxerOption(AVFormatContext* AContext, const char* AName, const String& AValue)
{
    AV.av_opt_set(AContext, AName, AValue.c_str(), AV_OPT_SEARCH_CHILDREN);
}

String IsoTime(int64_t ASeconds)
{
    time_t t = time_t(ASeconds);
    tm utc{};
    gmtime_r(&t, &utc);
    char buf[40];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
    return buf;
}
}  // namespace

String TCustomFFmpeg::InputOfSameFile(const String& ALocalFile) const
{
    for (int i = 0; i < Fnb_input_files; ++i) {
        const AVFormatContext* ic = Finput_files[size_t(i)];
        if (!ic || !ic->url) continue;
        const String input = LocalFileOfURL(ic->url);
        if (SameRegularFile(ALocalFile, input)) return DecodeURL(ic->url);
    }
    return String();
}

int TCustomFFmpeg::OpenOutputFile(const String& AFileName, bool AJoin)
{
    AVFormatContext* oc = nullptr;
    int index = -1;
    if (OpenOutputFileInner(AFileName, AJoin, oc, index)) return Fnb_output_files;
    // Release the context, and unregister it when it was registered already.
    if (index >= 0 && index < Fnb_output_files && Foutput_files[index] == oc) {
        Foutput_files[index] = nullptr;
        Fnb_output_files = index;
    }
    FreeOutputContext(oc, index);
    return -1;
}

bool TCustomFFmpeg::OpenOutputFileInner(const String& AFileName, bool AJoin, AVFormatContext*& oc, int& AIndex)
{
    // 1. Join mode takes one output only
    if (FJoinMode) {
        FLastErrMsg = "Cannot join more than one output file.";
        return false;
    }
    if (Fnb_output_files >= FMaxFiles) {
        FLastErrMsg = Format("max output files %d reached", FMaxFiles);
        return false;
    }
    AIndex = Fnb_output_files;
    ResetOutputTables(AIndex);
    // 2. The filter graph is used only with a filter chain
    FEnableFilter = !Fvfilters.empty();
    // 3-5. Format and context
    const String url = FileNameToURL(AFileName);
    const AVOutputFormat* ofmt;
    if (!Flast_asked_format.empty()) {
        ofmt = AV.av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        String asked = Flast_asked_format;
        Flast_asked_format.clear();
        if (!ofmt) {
            FLastErrMsg = Format("Requested output format '%s' is not a suitable output format", asked);
            return false;
        }
    } else {
        ofmt = AV.av_guess_format(nullptr, AFileName.c_str(), nullptr);
        if (!ofmt) {
            FLastErrMsg = Format("Unable to find a suitable output format for '%s'", AFileName);
            return false;
        }
    }
    if (AV.avformat_alloc_output_context2(&oc, ofmt, nullptr, url.c_str()) < 0 || !oc)
        throw FFmpegException("avformat_alloc_context failed");
    // 7. Streams
    bool useVideo = Fvideo_stream_copy || ofmt->video_codec != AV_CODEC_ID_NONE || !Fvideo_codec_name.empty();
    bool useAudio = Faudio_stream_copy || ofmt->audio_codec != AV_CODEC_ID_NONE || !Faudio_codec_name.empty();
    bool useSubtitle =
        Fsubtitle_stream_copy || ofmt->subtitle_codec != AV_CODEC_ID_NONE || !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        bool hasVideo = false, hasAudio = false, hasSubtitle = false;
        try {
            CheckInputStreams(hasVideo, hasAudio, AJoin, hasSubtitle);
        } catch (const Exception& E) {
            FLastErrMsg = Format("check_audio_video_sub_inputs fail: %s", E.Message());
            return false;
        }
        useVideo = useVideo && hasVideo;
        useAudio = useAudio && hasAudio;
        useSubtitle = useSubtitle && hasSubtitle;
    }
    if (Faudio_disable) useAudio = false;
    if (Fvideo_disable) useVideo = false;
    if (Fsubtitle_disable) useSubtitle = false;
    // Each new stream in turn; a failure names the step that failed.
    auto build = [&](bool AUse, const char* AFormat, auto ANew) {
        if (!AUse) return true;
        try {
            ANew();
        } catch (const Exception& E) {
            FLastErrMsg = Format(AFormat, E.Message());
            return false;
        }
        return true;
    };
    if (!build(useVideo, "new_video_stream fail: %s", [&] { NewVideoStream(oc); }) ||
        !build(useAudio, "new_audio_stream fail: %s", [&] { NewAudioStream(oc); }) ||
        !build(useSubtitle, "new_subtitle_stream fail: %s", [&] { NewSubtitleStream(oc); }))
        return false;
    // 8. Timestamp and metadata: set from the last pair to the first, so that the first
    // value given for a key stays.
    if (Frecording_timestamp != 0)
        AV.av_dict_set(&oc->metadata, "creation_time", IsoTime(Frecording_timestamp).c_str(), 0);
    for (auto it = Fmetadata.rbegin(); it != Fmetadata.rend(); ++it)
        AV.av_dict_set(&oc->metadata, it->first.c_str(), it->second.c_str(), 0);
    Fmetadata.clear();
    // 9. Register
    Foutput_files[Fnb_output_files++] = oc;
    // 10. Image sequences need a frame number in the name
    if ((ofmt->flags & AVFMT_NEEDNUMBER) && !AV.av_filename_number_test(url.c_str())) {
        FLastErrMsg = AVErrorText(AFileName, AVERROR(EDOM));
        return false;
    }
    // 11. Open the file.  A local file is written beside its target and replaces it only
    // when the conversion succeeds; an input of the task is never an output of it.
    if (!(ofmt->flags & AVFMT_NOFILE)) {
        const String local = LocalFileOfURL(url);
        String writeURL = url;
        if (!local.empty()) {
            String input = InputOfSameFile(local);
            if (!input.empty()) {
                FLastErrMsg = Format("%s: the file is an input of this task (%s) and cannot be its output too",
                                     AFileName, input);
                return false;
            }
            TOutputTarget& target = Foutput_targets[size_t(AIndex)];
            int err = PrepareOutputTarget(local, target);
            if (err < 0) {
                FLastErrMsg = AVErrorText(AFileName, err);
                return false;
            }
            writeURL = FileNameToURL(OutputTargetWriteName(target));
        }
        int err = OpenOutputIO(&oc->pb, writeURL, AVIO_FLAG_WRITE, nullptr, nullptr);
        if (err < 0) {
            FLastErrMsg = AVErrorText(AFileName, err);
            return false;
        }
    }
    // 13. Muxer settings
    SetMuxerOption(oc, "preload", IntToStr(int64_t(Fmux_preload * 1000000)));
    oc->max_delay = int(Fmux_max_delay * 1000000);
    if (ofmt->name && String(ofmt->name) == "gif") SetMuxerOption(oc, "loop", IntToStr(Floop_output));
    // An animated PNG counts plays, not repeats: -1 (no repeat) is one play, 0 for ever.
    if (ofmt->name && String(ofmt->name) == "apng")
        SetMuxerOption(oc, "plays", IntToStr(Floop_output < 0 ? 1 : Floop_output == 0 ? 0 : Floop_output + 1));
    oc->flags |= AVFMT_FLAG_NONBLOCK;
    if (FOptions.avformat_opts) CopyStoredOptions(FOptions, oc, FOptions.avformat_opts, AV_OPT_FLAG_ENCODING_PARAM);
    for (const AVDictionaryEntry* e = nullptr; (e = AV.av_dict_get(FOptions.format_dict, "", e, AV_DICT_IGNORE_SUFFIX));)
        SetMuxerOption(oc, e->key, e->value);
    // 14. Stream ids are used up
    Fstreamid_map.fill(0);
    // 15. Join: one entry per input, all designating this context
    if (AJoin && Fnb_input_files > 1) {
        FJoinMode = true;
        int64_t total = 0;
        for (int i = 0; i < Fnb_input_files; ++i)
            if (Finput_files[i]->duration != AV_NOPTS_VALUE) total += Finput_files[i]->duration;
        FTotalOutputDuration = total == 0 ? -1 : total;
        while (Fnb_output_files < Fnb_input_files && Fnb_output_files < FMaxFiles)
            Foutput_files[Fnb_output_files++] = oc;
    }
    return true;
}

// ---------------------------------------------------------------------------------
// Streams

namespace {
// The sample aspect ratio that gives the display aspect AAspect at AWidth x AHeight.
AVRational SampleAspect(float AAspect, int AWidth, int AHeight)
{
    double sar = AWidth && AHeight ? double(AHeight) * AAspect / AWidth : AAspect * 3.0 / 4.0;
    return AV.av_d2q(sar, 255);
}

void SetStoredCodecOptions(const TFFOptions& AStore, AVCodecContext* AContext, AVMediaType AType,
                           const AVCodec* ACodec)
{
    AVDictionary* dict = StoredCodecOptions(AStore, AType, ACodec, true);
    for (const AVDictionaryEntry* e = nullptr; (e = AV.av_dict_get(dict, "", e, AV_DICT_IGNORE_SUFFIX));) {
        int err = AV.av_opt_set(AContext, e->key, e->value, AV_OPT_SEARCH_CHILDREN);
        if (err < 0 && err != AVERROR_OPTION_NOT_FOUND)
            GlobalLogger()->Log(nullptr, llError, "Invalid value \"%s\" for option \"%s\"", String(e->value),
                                String(e->key));
    }
    AV.av_dict_free(&dict);
}

// A codec the container says it cannot carry gives way to the container's own choice, and
// a forced tag that the container's tag table gives to another codec is dropped: either
// would only make the header fail to write.
bool CarriesCodec(const AVOutputFormat* AFormat, AVMediaType AType, AVCodecID AId)
{
    int answer = AV.avformat_query_codec(AFormat, AId, FF_COMPLIANCE_NORMAL);
    if (answer >= 0) return answer != 0;
    // The MPEG program-stream muxers do not answer, and take only these audio codecs.
    static const char* const ProgramStreams[] = {"mpeg", "vob", "dvd", "svcd", "vcd"};
    static const AVCodecID PSAudio[] = {AV_CODEC_ID_MP1, AV_CODEC_ID_MP2,       AV_CODEC_ID_MP3,
                                        AV_CODEC_ID_AC3, AV_CODEC_ID_DTS,       AV_CODEC_ID_PCM_S16BE,
                                        AV_CODEC_ID_PCM_DVD, AV_CODEC_ID_MLP, AV_CODEC_ID_TRUEHD};
    if (AType != AVMEDIA_TYPE_AUDIO || !AFormat->name) return true;
    bool ps = false;
    for (const char* n : ProgramStreams) ps = ps || String(AFormat->name) == n;
    if (!ps) return true;
    for (AVCodecID id : PSAudio)
        if (id == AId) return true;
    return false;
}

// True when the container's own codec took the place of the chosen one.
bool FitCodecToFormat(const AVOutputFormat* AFormat, AVMediaType AType, AVCodecID& AId, const AVCodec*& ACodec)
{
    if (AId == AV_CODEC_ID_NONE || CarriesCodec(AFormat, AType, AId)) return false;
    AVCodecID fallback = AType == AVMEDIA_TYPE_VIDEO ? AFormat->video_codec : AFormat->audio_codec;
    const AVCodec* codec = AV.avcodec_find_encoder(fallback);
    if (!codec) return false;
    GlobalLogger()->Log(nullptr, llWarning, "Codec %s is not supported in %s, using %s", ACodec ? ACodec->name : "",
                        AFormat->name, codec->name);
    AId = fallback;
    ACodec = codec;
    return true;
}

void FitTagToFormat(const AVOutputFormat* AFormat, AVCodecContext* AContext)
{
    if (!AContext->codec_tag || !AFormat->codec_tag) return;
    AVCodecID id = AV.av_codec_get_id(AFormat->codec_tag, AContext->codec_tag);
    if (id == AContext->codec_id) return;
    GlobalLogger()->Log(nullptr, llWarning, "Codec tag 0x%08x is not valid for this codec in %s; the container's own tag is used",
                        AContext->codec_tag, AFormat->name);
    AContext->codec_tag = 0;
}

uint16_t* MatrixCopy(const std::vector<uint16_t>& AMatrix)
{
    auto* m = static_cast<uint16_t*>(AV.av_malloc(64 * sizeof(uint16_t)));
    if (m) std::copy(AMatrix.begin(), AMatrix.end(), m);
    return m;
}
}  // namespace

int TCustomFFmpeg::NewStream(AVFormatContext* AOutput, AVStream*& AStream)
{
    // The file being opened, unless AOutput is registered: then its first entry (in join
    // mode every entry designates one context, and its tables are the first entry's).
    int file = Fnb_output_files;
    for (int i = 0; i < Fnb_output_files; ++i)
        if (Foutput_files[i] == AOutput) {
            file = i;
            break;
        }
    int index = int(AOutput->nb_streams);
    OutputStreamCodec(file, index);  // raises when the tables hold no further stream
    if (Fnb_ocodecs >= int(Foutput_codecs.size())) throw FFmpegException("Could not alloc stream");
    AStream = AV.avformat_new_stream(AOutput, nullptr);
    if (!AStream) throw FFmpegException("Could not alloc stream");
    if (Fstreamid_map[index]) AStream->id = Fstreamid_map[index];
    return file;
}

void TCustomFFmpeg::NewVideoStream(AVFormatContext* AOutput)
{
    AVStream* st = nullptr;
    int file = 0;
    try {
        file = NewStream(AOutput, st);
    } catch (...) {
        Fvideo_codec_name.clear();
        throw;
    }
    TOutputStreamCodec& out = OutputStreamCodec(file, st->index);
    out.bitstream_filters = std::move(Fvideo_bitstream_filters);
    Fvideo_bitstream_filters.clear();

    const AVCodec* codec = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    AVRational rate = Fframe_rate.num ? Fframe_rate : AVRational{25, 1};
    const bool copy = Fvideo_stream_copy != 0;
    if (!copy) {
        AVCodecContext* store = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
        if (!Fvideo_codec_name.empty()) {
            if (!FindCodec(Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, id,
                           store ? store->strict_std_compliance : FF_COMPLIANCE_NORMAL, true, &codec)) {
                Fvideo_codec_name.clear();
                throw FFmpegException(FLastErrMsg);
            }
        } else {
            id = AV.av_guess_codec(AOutput->oformat, nullptr, AOutput->url, nullptr, AVMEDIA_TYPE_VIDEO);
            codec = AV.avcodec_find_encoder(id);
        }
        FitCodecToFormat(AOutput->oformat, AVMEDIA_TYPE_VIDEO, id, codec);
    }
    AVCodecContext* enc = AV.avcodec_alloc_context3(copy ? nullptr : codec);
    if (!enc) throw FFmpegException("Could not alloc stream");
    out.enc = enc;
    enc->codec_type = AVMEDIA_TYPE_VIDEO;
    enc->thread_count = Fthread_count;
    if (Fvideo_codec_tag) enc->codec_tag = Fvideo_codec_tag;
    AVCodecContext* store = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if ((Fvideo_global_header & 1) || (Fvideo_global_header == 0 && (AOutput->oformat->flags & AVFMT_GLOBALHEADER))) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (store) store->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Fvideo_global_header & 2) {
        enc->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (store) store->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }
    AVRational sar = SampleAspect(Fframe_aspect_ratio, Fframe_width, Fframe_height);
    if (copy) {
        out.stream_copy = true;
        st->sample_aspect_ratio = enc->sample_aspect_ratio = sar;
    } else {
        enc->codec_id = id;
        FitTagToFormat(AOutput->oformat, enc);
        SetStoredCodecOptions(FOptions, enc, AVMEDIA_TYPE_VIDEO, codec);
        if (codec && codec->supported_framerates && !Fforce_fps)
            rate = codec->supported_framerates[AV.av_find_nearest_q_idx(rate, codec->supported_framerates)];
        enc->time_base = AVRational{rate.den, rate.num};
        enc->framerate = rate;
        st->time_base = enc->time_base;
        enc->width = Fframe_width;
        enc->height = Fframe_height;
        st->sample_aspect_ratio = enc->sample_aspect_ratio = sar;
        enc->pix_fmt = Fframe_pix_fmt;
        ChoosePixelFormat(enc, codec);
        if (Fintra_only) enc->gop_size = 0;
        if (Fvideo_qscale != 0 || Fsame_quality) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            out.quality = FF_QP2LAMBDA * Fvideo_qscale;
            enc->global_quality = int(out.quality);
        }
        if (!Fintra_matrix.empty()) enc->intra_matrix = MatrixCopy(Fintra_matrix);
        if (!Finter_matrix.empty()) enc->inter_matrix = MatrixCopy(Finter_matrix);
        // Rate-control overrides: start,end,q entries separated by "/".
        const char* p = Fvideo_rc_override_string.c_str();
        for (int i = 0; !Fvideo_rc_override_string.empty() && p; ++i) {
            int start = 0, end = 0, q = 0;
            if (std::sscanf(p, "%d,%d,%d", &start, &end, &q) != 3) throw FFmpegException("error parsing rc_override");
            auto* o = static_cast<RcOverride*>(
                AV.av_realloc(enc->rc_override, sizeof(RcOverride) * size_t(i + 1)));
            if (!o) throw FFmpegException("error parsing rc_override");
            enc->rc_override = o;
            o[i].start_frame = start;
            o[i].end_frame = end;
            o[i].qscale = q > 0 ? q : 0;
            o[i].quality_factor = q > 0 ? 1.0f : -q / 100.0f;
            enc->rc_override_count = i + 1;
            p = std::strchr(p, '/');
            if (p) ++p;
        }
        if (!enc->rc_initial_buffer_occupancy) enc->rc_initial_buffer_occupancy = enc->rc_buffer_size * 3 / 4;
        enc->intra_dc_precision = Fintra_dc_precision - 8;
        if (Fdo_psnr) enc->flags |= AV_CODEC_FLAG_PSNR;
        if (Fdo_pass == 1) enc->flags |= AV_CODEC_FLAG_PASS1;
        if (Fdo_pass == 2) enc->flags |= AV_CODEC_FLAG_PASS2;
        // A bit rate given after a disc target must not fall outside the target's rate
        // limits, or the encoder refuses to open: the limits yield to the bit rate.
        if (enc->rc_min_rate > enc->bit_rate) enc->rc_min_rate = enc->bit_rate;
        if (enc->rc_max_rate && enc->rc_max_rate < enc->bit_rate) enc->rc_max_rate = enc->bit_rate;
    }
    Foutput_codecs[Fnb_ocodecs++] = codec;
    if (!Fvideo_language.empty()) {
        AV.av_dict_set(&st->metadata, "language", Fvideo_language.c_str(), 0);
        Fvideo_language.clear();
    }
    Fvideo_disable = false;
    Fvideo_codec_name.clear();
    Fvideo_stream_copy = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::NewAudioStream(AVFormatContext* AOutput)
{
    AVStream* st = nullptr;
    int file = 0;
    try {
        file = NewStream(AOutput, st);
    } catch (...) {
        Faudio_codec_name.clear();
        Faudio_language.clear();
        throw;
    }
    TOutputStreamCodec& out = OutputStreamCodec(file, st->index);
    out.bitstream_filters = std::move(Faudio_bitstream_filters);
    Faudio_bitstream_filters.clear();

    const AVCodec* codec = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    const bool copy = Faudio_stream_copy != 0;
    bool substituted = false;
    AVCodecContext* store = FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO];
    if (!copy) {
        if (!Faudio_codec_name.empty()) {
            if (!FindCodec(Faudio_codec_name, AVMEDIA_TYPE_AUDIO, id,
                           store ? store->strict_std_compliance : FF_COMPLIANCE_NORMAL, true, &codec)) {
                Faudio_codec_name.clear();
                throw FFmpegException(FLastErrMsg);
            }
        } else {
            id = AV.av_guess_codec(AOutput->oformat, nullptr, AOutput->url, nullptr, AVMEDIA_TYPE_AUDIO);
            codec = AV.avcodec_find_encoder(id);
        }
        substituted = FitCodecToFormat(AOutput->oformat, AVMEDIA_TYPE_AUDIO, id, codec);
    }
    AVCodecContext* enc = AV.avcodec_alloc_context3(copy ? nullptr : codec);
    if (!enc) throw FFmpegException("Could not alloc stream");
    out.enc = enc;
    enc->thread_count = Fthread_count;
    enc->codec_type = AVMEDIA_TYPE_AUDIO;
    if (Faudio_codec_tag) enc->codec_tag = Faudio_codec_tag;
    if (AOutput->oformat->flags & AVFMT_GLOBALHEADER) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (store) store->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (copy) {
        out.stream_copy = true;
        AV.av_channel_layout_default(&enc->ch_layout, Faudio_channels);
        enc->sample_rate = Faudio_sample_rate;
    } else {
        SetStoredCodecOptions(FOptions, enc, AVMEDIA_TYPE_AUDIO, codec);
        enc->codec_id = id;
        FitTagToFormat(AOutput->oformat, enc);
        if (Faudio_qscale > NoAudioQScale) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            out.quality = FF_QP2LAMBDA * Faudio_qscale;
            enc->global_quality = int(out.quality);
        }
        AV.av_channel_layout_uninit(&enc->ch_layout);
        if (Fchannel_layout.nb_channels == Faudio_channels && Fchannel_layout.order == AV_CHANNEL_ORDER_NATIVE)
            AV.av_channel_layout_copy(&enc->ch_layout, &Fchannel_layout);
        else
            AV.av_channel_layout_default(&enc->ch_layout, Faudio_channels);
        enc->sample_fmt = Faudio_sample_fmt;
        enc->sample_rate = Faudio_sample_rate;
        ChooseSampleFormat(enc, codec);
        ChooseSampleRate(enc, codec);
        // The parameters were chosen for another codec: the container's own gets the
        // nearest it takes, or it would refuse to open.
        if (substituted) FitAudioToEncoder(enc, codec);
    }
    Foutput_codecs[Fnb_ocodecs++] = codec;
    if (enc->sample_rate > 0) enc->time_base = AVRational{1, enc->sample_rate};
    st->time_base = enc->time_base;
    if (!Faudio_language.empty()) {
        AV.av_dict_set(&st->metadata, "language", Faudio_language.c_str(), 0);
        Faudio_language.clear();
    }
    Faudio_disable = false;
    Faudio_codec_name.clear();
    Faudio_stream_copy = 0;
}

void TCustomFFmpeg::NewSubtitleStream(AVFormatContext* AOutput)
{
    AVStream* st = nullptr;
    int file = 0;
    try {
        file = NewStream(AOutput, st);
    } catch (...) {
        Fsubtitle_codec_name.clear();
        throw;
    }
    TOutputStreamCodec& out = OutputStreamCodec(file, st->index);
    out.bitstream_filters = std::move(Fsubtitle_bitstream_filters);
    Fsubtitle_bitstream_filters.clear();

    const AVCodec* codec = nullptr;
    AVCodecID id = AV_CODEC_ID_NONE;
    const bool copy = Fsubtitle_stream_copy != 0;
    if (!copy && !Fsubtitle_codec_name.empty()) {
        AVCodecContext* store = FOptions.avcodec_opts[AVMEDIA_TYPE_SUBTITLE];
        if (!FindCodec(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, id,
                       store ? store->strict_std_compliance : FF_COMPLIANCE_NORMAL, true, &codec)) {
            Fsubtitle_codec_name.clear();
            throw FFmpegException(FLastErrMsg);
        }
    } else if (!copy) {
        // No codec named: the container's own, as for video and audio (a stream without a
        // codec could not be encoded at all).
        id = AV.av_guess_codec(AOutput->oformat, nullptr, AOutput->url, nullptr, AVMEDIA_TYPE_SUBTITLE);
        codec = AV.avcodec_find_encoder(id);
    }
    AVCodecContext* enc = AV.avcodec_alloc_context3(codec);
    if (!enc) throw FFmpegException("Could not alloc stream");
    out.enc = enc;
    enc->codec_type = AVMEDIA_TYPE_SUBTITLE;
    if (Fsubtitle_codec_tag) enc->codec_tag = Fsubtitle_codec_tag;
    if (copy) {
        out.stream_copy = true;
    } else {
        SetStoredCodecOptions(FOptions, enc, AVMEDIA_TYPE_SUBTITLE, codec);
        enc->codec_id = id;
    }
    Foutput_codecs[Fnb_ocodecs++] = codec;
    if (!Fsubtitle_language.empty()) {
        AV.av_dict_set(&st->metadata, "language", Fsubtitle_language.c_str(), 0);
        Fsubtitle_language.clear();
    }
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_stream_copy = 0;
}
