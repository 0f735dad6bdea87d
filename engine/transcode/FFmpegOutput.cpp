// Opening output files and building their streams from the current options.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"

#include <algorithm>
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

// ---------------------------------------------------------------------------------
// Fitting a stream's parameters to its encoder
//
// Before an encoder opens, every parameter it is known to refuse is replaced with the
// nearest one it takes, and the replacement is logged at info level, so the user sees
// what was written instead of meeting an encoder that does not open.

namespace {
void LogFitted(const char* AWhat, const String& AFrom, const String& ATo, const AVCodec* ACodec)
{
    GlobalLogger()->Log(nullptr, llInfo, "%s %s fitted to %s for encoder %s", String(AWhat), AFrom, ATo,
                        String(ACodec ? ACodec->name : "?"));
}

String SizeText(int AWidth, int AHeight) { return Format("%dx%d", AWidth, AHeight); }

String RateText(AVRational ARate)
{
    return ARate.den == 1 ? Format("%d", ARate.num) : Format("%d/%d", ARate.num, ARate.den);
}

// The rates of the standard MPEG-1/2 video frame rate codes.
const AVRational MpegVideoRates[] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1},
                                     {50, 1},       {60000, 1001}, {60, 1}, {0, 0}};

// The bit rate range (bits per second) libvorbis sets itself up for at a sample rate and
// channel count; its managed mode refuses a bit rate outside it.
std::pair<int64_t, int64_t> VorbisBitRateRange(int ASampleRate, int AChannels)
{
    struct TRow {
        int Below;  // the row serves sample rates below this
        int64_t MonoMin, MonoMax, StereoMin, StereoMax;
    };
    static const TRow Rows[] = {
        {9000, 8000, 41000, 12000, 83000},       {15000, 12000, 49000, 16000, 99000},
        {19000, 16000, 99000, 24000, 199000},    {26000, 16000, 89000, 31000, 179000},
        {40000, 31000, 189000, 36000, 379000},   {INT32_MAX, 32000, 239000, 45000, 500000},
    };
    const TRow* row = Rows;
    while (ASampleRate >= row->Below && row->Below != INT32_MAX) ++row;
    if (AChannels <= 1) return {row->MonoMin, row->MonoMax};
    // More than two channels: the stereo range per pair of channels.
    return {row->StereoMin * AChannels / 2, row->StereoMax * AChannels / 2};
}
}  // namespace

void FitFrameSize(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || AContext->width <= 0 || AContext->height <= 0) return;
    int w = AContext->width, h = AContext->height;
    if (ACodec->id == AV_CODEC_ID_H263) {
        // H.263 (without its extensions) codes only these five picture sizes: the nearest
        // by area, the smaller of two equally near.
        static const int Sizes[][2] = {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
        const int64_t area = int64_t(w) * h;
        int64_t bestDiff = INT64_MAX;
        for (const auto& s : Sizes) {
            const int64_t diff = std::llabs(int64_t(s[0]) * s[1] - area);
            if (diff < bestDiff) {
                bestDiff = diff;
                w = s[0];
                h = s[1];
            }
        }
    } else {
        // Encoders of subsampled pictures take whole chroma samples only; some take whole
        // macroblocks only.  Each dimension goes down to the multiple it needs.
        int mw = 1, mh = 1;
        if (const AVPixFmtDescriptor* d = AV.av_pix_fmt_desc_get(AContext->pix_fmt)) {
            mw = 1 << d->log2_chroma_w;
            mh = 1 << d->log2_chroma_h;
        }
        switch (ACodec->id) {
        case AV_CODEC_ID_RV10:
        case AV_CODEC_ID_RV20: mw = mh = 16; break;
        default: break;
        }
        w = std::max(mw, w / mw * mw);
        h = std::max(mh, h / mh * mh);
    }
    if (w == AContext->width && h == AContext->height) return;
    LogFitted("frame size", SizeText(AContext->width, AContext->height), SizeText(w, h), ACodec);
    AContext->width = w;
    AContext->height = h;
}

AVRational FitFrameRate(AVRational ARate, const AVCodec* ACodec, int AStrict)
{
    if (!ACodec || ARate.num <= 0 || ARate.den <= 0) return ARate;
    const AVRational* rates = ACodec->supported_framerates;
    // MPEG-1 video codes the frame rate as one of a fixed set; the encoder's list adds
    // rates outside the standard, which it refuses unless unofficial streams are allowed.
    if (ACodec->id == AV_CODEC_ID_MPEG1VIDEO && AStrict > FF_COMPLIANCE_UNOFFICIAL) rates = MpegVideoRates;
    if (!rates) return ARate;
    const AVRational best = rates[AV.av_find_nearest_q_idx(ARate, rates)];
    if (av_cmp_q(best, ARate) != 0) LogFitted("frame rate", RateText(ARate), RateText(best), ACodec);
    return best;
}

void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (!ACodec || !ACodec->supported_samplerates) return;
    int best = NearestSampleRate(AContext->sample_rate, ACodec->supported_samplerates);
    if (best != AContext->sample_rate)
        LogFitted("sample rate", Format("%d", AContext->sample_rate), Format("%d", best), ACodec);
    AContext->sample_rate = best;
}

void FitVideoToFormat(const AVOutputFormat* AFormat, AVCodecContext* AContext, AVRational& ARate,
                      const AVCodec* ACodec)
{
    if (!AFormat || std::strcmp(AFormat->name, "rm") != 0) return;
    // The RealMedia header holds a whole frame rate; other rates would be written rounded.
    if (ARate.num > 0 && ARate.den > 1) {
        const AVRational whole{std::max(1, int(std::lround(av_q2d(ARate)))), 1};
        LogFitted("frame rate", RateText(ARate), RateText(whole), ACodec);
        ARate = whole;
    }
    // Its packets hold 64 kB at most, which a picture larger than 1280x720 overflows: a
    // larger picture keeps its shape at that area, in whole macroblocks.
    const int64_t MaxArea = 1280 * 720;
    const int64_t area = int64_t(AContext->width) * AContext->height;
    if (area <= MaxArea) return;
    const double scale = std::sqrt(double(MaxArea) / double(area));
    const int w = std::max(16, int(AContext->width * scale) / 16 * 16);
    const int h = std::max(16, int(AContext->height * scale) / 16 * 16);
    LogFitted("frame size", SizeText(AContext->width, AContext->height), SizeText(w, h), ACodec);
    AContext->width = w;
    AContext->height = h;
}

void FitSampleRateToFormat(const AVOutputFormat* AFormat, AVCodecContext* AContext, const AVCodec* ACodec)
{
    // The MP4 family of containers carries MP3 at 16 kHz and above only.
    static const char* const Mp4Family[] = {"mp4", "mov", "3gp", "3g2", "ipod", "psp", "ismv", "f4v"};
    if (!AFormat || !ACodec || ACodec->id != AV_CODEC_ID_MP3 || AContext->sample_rate <= 0 ||
        AContext->sample_rate >= 16000)
        return;
    if (std::none_of(std::begin(Mp4Family), std::end(Mp4Family),
                     [&](const char* AName) { return std::strcmp(AFormat->name, AName) == 0; }))
        return;
    int best = 16000;
    if (const int* rates = ACodec->supported_samplerates) {
        int bestDiff = INT32_MAX;
        for (const int* p = rates; *p; ++p)
            if (*p >= 16000 && *p - AContext->sample_rate < bestDiff) {
                bestDiff = *p - AContext->sample_rate;
                best = *p;
            }
    }
    LogFitted("sample rate", Format("%d", AContext->sample_rate), Format("%d", best), ACodec);
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

int64_t AllowedBitRate(const AVCodec* ACodec, int ASampleRate, int AChannels, int64_t ABitRate)
{
    if (!ACodec || ABitRate <= 0) return ABitRate;
    // The WMA encoders refuse less than 24 kbit/s.
    if (ACodec->id == AV_CODEC_ID_WMAV1 || ACodec->id == AV_CODEC_ID_WMAV2) return std::max<int64_t>(ABitRate, 24000);
    if (std::strcmp(ACodec->name, "libvorbis") == 0) {
        const auto [low, high] = VorbisBitRateRange(ASampleRate, AChannels);
        return std::clamp(ABitRate, low, high);
    }
    return NearestAllowedBitRate(ACodec->id, ASampleRate, ABitRate);
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
            char from[64] = "", to[64] = "";
            AV.av_channel_layout_describe(&AContext->ch_layout, from, sizeof(from));
            AV.av_channel_layout_describe(best, to, sizeof(to));
            LogFitted("channel layout", from, to, ACodec);
            AV.av_channel_layout_uninit(&AContext->ch_layout);
            AV.av_channel_layout_copy(&AContext->ch_layout, best);
        }
    }
    int64_t rate = AllowedBitRate(ACodec, AContext->sample_rate, AContext->ch_layout.nb_channels, AContext->bit_rate);
    if (rate != AContext->bit_rate) {
        LogFitted("bit rate", Format("%d", AContext->bit_rate), Format("%d", rate), ACodec);
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
        if (!Fforce_fps) rate = FitFrameRate(rate, codec, enc->strict_std_compliance);
        enc->time_base = AVRational{rate.den, rate.num};
        enc->framerate = rate;
        st->time_base = enc->time_base;
        enc->width = Fframe_width;
        enc->height = Fframe_height;
        enc->pix_fmt = Fframe_pix_fmt;
        ChoosePixelFormat(enc, codec);
        FitFrameSize(enc, codec);
        FitVideoToFormat(AOutput->oformat, enc, rate, codec);
        enc->time_base = AVRational{rate.den, rate.num};
        enc->framerate = rate;
        st->time_base = enc->time_base;
        // The picture keeps its shape on the size the encoder takes.
        if (enc->width != Fframe_width || enc->height != Fframe_height)
            sar = SampleAspect(Fframe_aspect_ratio, enc->width, enc->height);
        st->sample_aspect_ratio = enc->sample_aspect_ratio = sar;
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
        FitCodecToFormat(AOutput->oformat, AVMEDIA_TYPE_AUDIO, id, codec);
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
        FitSampleRateToFormat(AOutput->oformat, enc, codec);
        FitAudioToEncoder(enc, codec);
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
