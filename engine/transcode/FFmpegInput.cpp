// Opening input files: the file's stream parameters become the option defaults of the
// output streams created later.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/UnicodeProtocol.h"

#include <cmath>

void TCustomFFmpeg::CheckInputStreams(bool& AHasVideo, bool& AHasAudio, bool AFirstFileOnly, bool& AHasSubtitle)
{
    AHasVideo = AHasAudio = AHasSubtitle = false;
    int count = AFirstFileOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int i = 0; i < count; ++i) {
        AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; j < ic->nb_streams; ++j) {
            switch (ic->streams[j]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO: AHasVideo = true; break;
            case AVMEDIA_TYPE_AUDIO: AHasAudio = true; break;
            case AVMEDIA_TYPE_SUBTITLE: AHasSubtitle = true; break;
            case AVMEDIA_TYPE_DATA:
            case AVMEDIA_TYPE_ATTACHMENT: break;
            default: throw FFmpegException("invalid codec_type of input file");
            }
        }
    }
}

namespace {
void DictSetInt(AVDictionary** ADict, const char* AKey, int64_t AValue) { AV.av_dict_set_int(ADict, AKey, AValue, 0); }

// An input's reads end when the conversion is stopped (a pipe that delivers nothing must
// not hold a stop up).
int ConversionStopped(void* AOpaque) { return static_cast<const TCustomFFmpeg*>(AOpaque)->FBroken ? 1 : 0; }
}  // namespace

bool TCustomFFmpeg::OpenInputFile(const String& AFileName)
{
    AVFormatContext* ic = nullptr;
    AVDictionary* opts = nullptr;
    // Every way out with false frees the codec names and the context.
    auto fail = [&](const String& AMsg) {
        FLastErrMsg = AMsg;
        FreeCodecNames();
        Fvideo_channel = 0;
        if (ic) CloseInputURL(&ic);
        AV.av_dict_free(&opts);
        return false;
    };
    if (Fnb_input_files >= FMaxFiles) return fail(Format("max input files %d reached", FMaxFiles));

    // 1. Forced format
    const AVInputFormat* fmt = nullptr;
    if (!Flast_asked_format.empty()) {
        fmt = AV.av_find_input_format(Flast_asked_format.c_str());
        if (!fmt) {
            String name = Flast_asked_format;
            Flast_asked_format.clear();
            throw FFmpegException(Format("Unknown input format: \"%s\"", name));
        }
        Flast_asked_format.clear();
    }
    // 2. Context and the demuxer parameters
    ic = AV.avformat_alloc_context();
    if (!ic) throw FFmpegException("avformat_alloc_context failed");
    DictSetInt(&opts, "sample_rate", Faudio_sample_rate);
    DictSetInt(&opts, "channels", Faudio_channels);
    if (Fframe_rate.num > 0 && Fframe_rate.den > 0)
        AV.av_dict_set(&opts, "framerate", Format("%d/%d", Fframe_rate.num, Fframe_rate.den).c_str(), 0);
    if (Fframe_width > 0 && Fframe_height > 0)
        AV.av_dict_set(&opts, "video_size", Format("%dx%d", Fframe_width, Fframe_height).c_str(), 0);
    if (Fframe_pix_fmt != AV_PIX_FMT_NONE)
        AV.av_dict_set(&opts, "pixel_format", AV.av_get_pix_fmt_name(Fframe_pix_fmt), 0);
    if (Fvideo_channel != 0) DictSetInt(&opts, "channel", Fvideo_channel);
    if (!Fvideo_standard.empty()) AV.av_dict_set(&opts, "standard", Fvideo_standard.c_str(), 0);
    // 3. Stored demuxing options
    if (FOptions.avformat_opts)
        CopyStoredOptions(FOptions, ic, FOptions.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);
    if (FOptions.format_dict) AV.av_dict_copy(&opts, FOptions.format_dict, AV_DICT_DONT_OVERWRITE);
    // 4. Forced decoders
    struct {
        const String& Name;
        AVMediaType Type;
        AVCodecID& Id;
    } forced[] = {{Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, ic->video_codec_id},
                  {Faudio_codec_name, AVMEDIA_TYPE_AUDIO, ic->audio_codec_id},
                  {Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, ic->subtitle_codec_id}};
    for (auto& f : forced) {
        AVCodecContext* store = FOptions.avcodec_opts[f.Type];
        int strict = store ? store->strict_std_compliance : FF_COMPLIANCE_NORMAL;
        if (!FindCodec(f.Name, f.Type, f.Id, strict, false)) return fail(FLastErrMsg);
    }
    // 5. Non-blocking reads
    ic->flags |= AVFMT_FLAG_NONBLOCK;
    ic->interrupt_callback.callback = ConversionStopped;
    ic->interrupt_callback.opaque = this;
    if (Fpgmyuv_compatibility_hack) ic->video_codec_id = AV_CODEC_ID_PGMYUV;
    // 8. (before opening: the image-sequence reader takes it as its own option)
    if (Floop_input) AV.av_dict_set(&opts, "loop", "1", 0);
    // An output of this task already named: reading it while it is being replaced would
    // lose the file.
    const String local = LocalFileOfURL(FileNameToURL(AFileName));
    for (int i = 0; i < Fnb_output_files; ++i)
        if (SameRegularFile(local, Foutput_targets[size_t(i)].Target))
            return fail(Format("%s: the file is the output of this task and cannot be its input too", AFileName));
    // 6. Open
    int err = OpenInputURL(&ic, FileNameToURL(AFileName), fmt, &opts);
    AV.av_dict_free(&opts);
    if (err < 0) {
        ic = nullptr;  // freed by the opening
        return fail(AVErrorText(AFileName, err));
    }
    if (ic->nb_streams > unsigned(MAX_STREAMS))
        return fail(Format("%s: too many streams (%d, at most %d)", AFileName, int(ic->nb_streams), MAX_STREAMS));
    // 9. Stream parameters
    int ret;
    {
        TCriticalSectionGuard lock(CodecLock);
        ret = AV.avformat_find_stream_info(ic, nullptr);
    }
    if (ret < 0 && Fverbose >= 0) {
        String msg = Format("%s: could not find codec parameters", AFileName);
        Log(llVerbose, msg);
        return fail(msg);
    }
    // 9b. Program selection, once the stream information is read: a demuxer such as
    // MPEG-TS finds some streams only while reading it, and those must be left out too.
    if (Fopt_programid != 0) {
        bool found = false;
        for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
        for (unsigned i = 0; i < ic->nb_programs; ++i) {
            AVProgram* p = ic->programs[i];
            if (p->id != Fopt_programid) continue;
            found = true;
            for (unsigned j = 0; j < p->nb_stream_indexes; ++j) ic->streams[p->stream_index[j]]->discard = AVDISCARD_DEFAULT;
        }
        if (!found) return fail("Specified program id not found");
        Fopt_programid = 0;
    }
    // 10. Start position
    int64_t timestamp = Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
    if (Fstart_time != 0) {
        if (AV.avformat_seek_file(ic, -1, INT64_MIN, timestamp, timestamp, 0) < 0 && Fverbose > 0)
            Log(llVerbose, Format("%s: could not seek to position %0.3f", AFileName, double(timestamp) / AV_TIME_BASE));
    }
    Fstart_time = 0;
    // 11. Every stream's parameters
    AVCodecContext* videoStore = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    const int firstChoice = Fnb_icodecs;  // ic->nb_streams <= MAX_STREAMS choices fit in this file's row
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = ic->streams[i];
        AVCodecParameters* par = st->codecpar;
        const AVCodec* choice = nullptr;
        switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            // A stream of a program not chosen gives the outputs none of its parameters.
            if (st->discard == AVDISCARD_ALL) break;
            Fframe_width = par->width;
            Fframe_height = par->height;
            AVRational sar = st->sample_aspect_ratio.num ? st->sample_aspect_ratio : par->sample_aspect_ratio;
            if (par->width > 0 && par->height > 0) {
                double r = sar.num && sar.den ? double(sar.num) / sar.den : 0;
                Fframe_aspect_ratio = float(r * par->width / par->height);
                if (Fframe_aspect_ratio == 0) Fframe_aspect_ratio = float(par->width) / float(par->height);
            } else {
                Fframe_aspect_ratio = sar.num && sar.den ? float(double(sar.num) / sar.den) : 4.0f / 3.0f;
            }
            if (par->format == AV_PIX_FMT_NONE) par->format = AV_PIX_FMT_YUV420P;
            Fframe_pix_fmt = AVPixelFormat(par->format);
            int lowres = 0;
            if (videoStore) lowres = videoStore->lowres;
            if (lowres > 0) {
                Fframe_width >>= lowres;
                Fframe_height >>= lowres;
            }
            AVRational avg = st->avg_frame_rate, real = st->r_frame_rate;
            if (avg.num && avg.den && (avg.num != real.num || avg.den != real.den) && Fverbose >= 0)
                Log(llInfo, Format("Seems stream %d codec frame rate differs from container frame rate: "
                                   "%2.2f (%d/%d) -> %2.2f (%d/%d)",
                                   int(i), double(avg.num) / avg.den, avg.num, avg.den,
                                   real.den ? double(real.num) / real.den : 0.0, real.num, real.den));
            Fframe_rate = real;
            if (!Fvideo_codec_name.empty()) choice = AV.avcodec_find_decoder_by_name(Fvideo_codec_name.c_str());
            if (Fvideo_disable) st->discard = AVDISCARD_ALL;
            else if (Fvideo_discard) st->discard = AVDiscard(Fvideo_discard);
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            if (st->discard == AVDISCARD_ALL) break;
            AV.av_channel_layout_uninit(&Fchannel_layout);
            AV.av_channel_layout_copy(&Fchannel_layout, &par->ch_layout);
            Faudio_channels = par->ch_layout.nb_channels;
            Faudio_sample_rate = par->sample_rate;
            Faudio_sample_fmt = AVSampleFormat(par->format);
            if (!Faudio_codec_name.empty()) choice = AV.avcodec_find_decoder_by_name(Faudio_codec_name.c_str());
            if (Faudio_disable) st->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            if (!Fsubtitle_codec_name.empty()) choice = AV.avcodec_find_decoder_by_name(Fsubtitle_codec_name.c_str());
            if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_DATA:
        case AVMEDIA_TYPE_ATTACHMENT: break;
        default:
            Fnb_icodecs = firstChoice;
            fail(String());
            throw FFmpegException("invalid codec_type");
        }
        Finput_codecs[Fnb_icodecs++] = choice;
    }
    // 12. Total duration: the longest input
    if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration) FTotalOutputDuration = ic->duration;
    // 13. Store the input
    Finput_files[Fnb_input_files] = ic;
    Finput_files_ts_offset[Fnb_input_files] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
    // 14. Dump
    if (Fverbose >= 0) AV.av_dump_format(ic, Fnb_input_files, ic->url, 0);
    // 15. Counters
    ++Fnb_input_files;
    Fvideo_channel = 0;
    FreeCodecNames();
    return true;
}
