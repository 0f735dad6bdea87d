// The option dispatcher and the setters behind it: each option changes the fields that
// the next opened input or output file consumes.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/system/Paths.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool BoolValue(const String& AValue) { return AValue != "0"; }

// Reads an integer as C's strtol with base 0 and skips one separator character after it.
long ReadNumber(const char*& P)
{
    char* end = nullptr;
    long v = std::strtol(P, &end, 0);
    P = end;
    if (*P) ++P;
    return v;
}

struct TCodecAlias {
    const char* Name;
    const char* Encoder;
};
// Encoders the application names that this FFmpeg generation no longer has.
const TCodecAlias CodecAliases[] = {
    {"libfaac", "aac"},                  // FFmpeg's own AAC encoder
    {"libamr_nb", "libopencore_amrnb"},  // AMR narrow band through OpenCORE
    {"msmpeg4v1", "msmpeg4v2"},          // no version-1 encoder exists
};

}  // namespace

String CodecAlias(const String& AName)
{
    for (const TCodecAlias& a : CodecAliases)
        if (AName == a.Name) return a.Encoder;
    return AName;
}

using TOptionAction = void (*)(TCustomFFmpeg& F, const String& AName, const String& AValue);

struct TOptionEntry {
    const char* Name;
    TOptionAction Action;
};

void TCustomFFmpeg::SetOption(const String& AName, const String& AValue)
{
    using F_ = TCustomFFmpeg;
    static const TOptionEntry Table[] = {
#define DO_NOTHING [](F_& F, const String& N, const String&) { F.Log(llInfo, "Do nothing: option - " + N); }
        {"L", DO_NOTHING}, {"h", DO_NOTHING}, {"version", DO_NOTHING}, {"formats", DO_NOTHING},
        {"codecs", DO_NOTHING}, {"bsfs", DO_NOTHING}, {"protocols", DO_NOTHING}, {"filters", DO_NOTHING},
        {"loglevel", [](F_&, const String&, const String& V) { GlobalLogger()->OptLogLevel(V); }},
        {"f", [](F_& F, const String&, const String& V) { F.SetFormat(V); }},
        {"i", DO_NOTHING}, {"y", DO_NOTHING},
        {"map", [](F_& F, const String&, const String& V) { F.AddStreamMap(V); }},
        {"map_meta_data", [](F_& F, const String&, const String& V) { F.AddMetaDataMap(V); }},
        {"t", [](F_& F, const String& N, const String& V) { F.SetRecordingTime(F.ParseTime(N, V, true)); }},
        {"fs", [](F_& F, const String&, const String& V) { F.Flimit_filesize = StrToInt64(V); }},
        {"ss", [](F_& F, const String& N, const String& V) { F.Fstart_time = F.ParseTime(N, V, true); }},
        {"itsoffset", [](F_& F, const String& N, const String& V) { F.Finput_ts_offset = F.ParseTime(N, V, true); }},
        {"itsscale", [](F_& F, const String&, const String& V) { F.SetInputTSScale(V); }},
        {"timestamp",
         [](F_& F, const String& N, const String& V) {
             F.Frecording_timestamp = int64_t(std::llround(double(F.ParseTime(N, V, false)) / 1000000.0));
         }},
        {"metadata", [](F_& F, const String&, const String& V) { F.AddMetadata(V); }},
        {"dframes", [](F_& F, const String&, const String& V) { F.Fmax_frames[AVMEDIA_TYPE_DATA] = StrToInt(V); }},
        {"benchmark", DO_NOTHING},
        {"timelimit",
         [](F_& F, const String&, const String&) { F.Log(llWarning, "Warning: -timelimit not implemented on Windows"); }},
        {"dump", [](F_& F, const String&, const String& V) { F.Fdo_pkt_dump = BoolValue(V); }},
        {"hex", [](F_& F, const String&, const String& V) { F.Fdo_hex_dump = BoolValue(V); }},
        {"re", [](F_& F, const String&, const String& V) { F.Frate_emu = BoolValue(V); }},
        {"loop_input", [](F_& F, const String&, const String& V) { F.Floop_input = BoolValue(V); }},
        {"loop_output", [](F_& F, const String&, const String& V) { F.Floop_output = StrToInt(V); }},
        {"v", [](F_& F, const String&, const String& V) { F.SetVerbose(StrToInt(V)); }},
        {"target", [](F_& F, const String&, const String& V) { F.SetTargetOption(V); }},
        {"threads", [](F_&, const String& N, const String&) { throw FFmpegException("TODO: option - " + N); }},
        {"vsync", [](F_& F, const String&, const String& V) { F.Fvideo_sync_method = StrToInt(V); }},
        {"async", [](F_& F, const String&, const String& V) { F.Faudio_sync_method = StrToInt(V); }},
        {"adrift_threshold", [](F_& F, const String&, const String& V) { F.Faudio_drift_threshold = StrToFloat(V); }},
        {"vglobal", [](F_& F, const String&, const String& V) { F.Fvideo_global_header = StrToInt(V); }},
        {"copyts", [](F_& F, const String&, const String&) { F.Fcopy_ts = true; }},
        {"shortest", [](F_& F, const String&, const String& V) { F.Fopt_shortest = BoolValue(V); }},
        {"dts_delta_threshold", [](F_& F, const String&, const String& V) { F.Fdts_delta_threshold = StrToFloat(V); }},
        {"programid", [](F_& F, const String&, const String& V) { F.Fopt_programid = StrToInt(V); }},
        {"xerror", [](F_& F, const String&, const String&) { F.Fexit_on_error = true; }},
        {"copyinkf", [](F_& F, const String&, const String& V) { F.Fcopy_initial_nonkeyframes = StrToInt(V); }},
        {"b", [](F_& F, const String& N, const String& V) { F.SetBitrate(N, V); }},
        {"vb", [](F_& F, const String& N, const String& V) { F.SetBitrate(N, V); }},
        {"vframes", [](F_& F, const String&, const String& V) { F.Fmax_frames[AVMEDIA_TYPE_VIDEO] = StrToInt(V); }},
        {"r", [](F_& F, const String&, const String& V) { F.SetFrameRate(V); }},
        {"s", [](F_& F, const String&, const String& V) { F.SetFrameSize(V); }},
        {"aspect", [](F_& F, const String&, const String& V) { F.SetAspectRatio(V); }},
        {"pix_fmt", [](F_& F, const String&, const String& V) { F.SetPixelFormat(V); }},
        {"croptop", [](F_& F, const String&, const String& V) { F.SetCropTop(StrToInt(V)); }},
        {"cropbottom", [](F_& F, const String&, const String& V) { F.SetCropBottom(StrToInt(V)); }},
        {"cropleft", [](F_& F, const String&, const String& V) { F.SetCropLeft(StrToInt(V)); }},
        {"cropright", [](F_& F, const String&, const String& V) { F.SetCropRight(StrToInt(V)); }},
#define USE_PAD [](F_&, const String&, const String&) { throw FFmpegException("Please use vfilters=pad"); }
        {"padtop", USE_PAD}, {"padbottom", USE_PAD}, {"padleft", USE_PAD}, {"padright", USE_PAD},
        {"padcolor", USE_PAD},
#undef USE_PAD
        {"intra", [](F_& F, const String&, const String& V) { F.Fintra_only = BoolValue(V); }},
        {"vn", [](F_& F, const String&, const String& V) { F.Fvideo_disable = BoolValue(V); }},
        {"vdt", [](F_& F, const String&, const String& V) { F.Fvideo_discard = StrToInt(V); }},
        {"qscale", [](F_& F, const String&, const String& V) { F.SetQScale(StrToFloat(V)); }},
        {"rc_override", [](F_& F, const String&, const String& V) { F.Fvideo_rc_override_string = V; }},
        {"vcodec", [](F_& F, const String&, const String& V) { F.SetVideoCodec(V); }},
        {"me_threshold", [](F_& F, const String&, const String& V) { F.Fme_threshold = StrToInt(V); }},
        {"sameq", [](F_& F, const String&, const String& V) { F.Fsame_quality = BoolValue(V); }},
        {"pass", [](F_& F, const String&, const String& V) { F.SetPass(StrToInt(V)); }},
        {"passlogfile", [](F_& F, const String&, const String& V) { F.Fpass_logfilename_prefix = V; }},
        {"deinterlace", [](F_& F, const String&, const String& V) { F.Fdo_deinterlace = BoolValue(V); }},
        {"psnr", [](F_& F, const String&, const String& V) { F.Fdo_psnr = BoolValue(V); }},
        {"vstats", [](F_& F, const String&, const String&) { F.SetVStats(true); }},
        {"vstats_file", [](F_& F, const String&, const String& V) { F.SetVStatsFile(V); }},
        {"vhook", [](F_& F, const String&, const String& V) { F.AddVideoHook(V); }},
        {"vfilters", [](F_& F, const String&, const String& V) { F.SetVideoFilters(V); }},
        {"vf", [](F_& F, const String&, const String& V) { F.SetVideoFilters(V); }},
        {"intra_matrix", [](F_& F, const String&, const String& V) { F.SetIntraMatrix(V); }},
        {"inter_matrix", [](F_& F, const String&, const String& V) { F.SetInterMatrix(V); }},
        {"top", [](F_& F, const String&, const String& V) { F.Ftop_field_first = StrToInt(V); }},
        {"dc", [](F_& F, const String&, const String& V) { F.Fintra_dc_precision = StrToInt(V); }},
        {"vtag", [](F_& F, const String&, const String& V) { F.SetVideoTag(V); }},
        {"newvideo",
         [](F_& F, const String&, const String&) {
             if (F.Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
             F.NewVideoStream(F.Foutput_files[F.Fnb_output_files - 1]);
         }},
        {"vlang", [](F_& F, const String&, const String& V) { F.Fvideo_language = V; }},
        {"qphist", [](F_& F, const String&, const String& V) { F.Fqp_hist = BoolValue(V); }},
        {"force_fps", [](F_& F, const String&, const String& V) { F.Fforce_fps = BoolValue(V); }},
        {"streamid", [](F_& F, const String& N, const String& V) { F.SetStreamId(N, V); }},
        {"ab", [](F_& F, const String& N, const String& V) { F.SetBitrate(N, V); }},
        {"aframes", [](F_& F, const String&, const String& V) { F.Fmax_frames[AVMEDIA_TYPE_AUDIO] = StrToInt(V); }},
        {"aq", [](F_& F, const String&, const String& V) { F.Faudio_qscale = StrToFloat(V); }},
        {"ar", [](F_& F, const String&, const String& V) { F.SetAudioSampleRate(StrToInt(V)); }},
        {"ac", [](F_& F, const String&, const String& V) { F.SetAudioChannels(StrToInt(V)); }},
        {"an", [](F_& F, const String&, const String& V) { F.Faudio_disable = BoolValue(V); }},
        {"acodec", [](F_& F, const String&, const String& V) { F.SetAudioCodec(V); }},
        {"atag", [](F_& F, const String&, const String& V) { F.SetAudioTag(V); }},
        {"vol", [](F_& F, const String&, const String& V) { F.Faudio_volume = StrToInt(V); }},
        {"newaudio",
         [](F_& F, const String&, const String&) {
             if (F.Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
             F.NewAudioStream(F.Foutput_files[F.Fnb_output_files - 1]);
         }},
        {"alang", [](F_& F, const String&, const String& V) { F.Faudio_language = V; }},
        {"sample_fmt", [](F_& F, const String&, const String& V) { F.SetSampleFormat(V); }},
        {"sn", [](F_& F, const String&, const String& V) { F.Fsubtitle_disable = BoolValue(V); }},
        {"scodec", [](F_& F, const String&, const String& V) { F.SetSubtitleCodec(V); }},
        {"newsubtitle",
         [](F_& F, const String&, const String&) {
             if (F.Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
             F.NewSubtitleStream(F.Foutput_files[F.Fnb_output_files - 1]);
         }},
        {"slang", [](F_& F, const String&, const String& V) { F.Fsubtitle_language = V; }},
        {"stag", [](F_& F, const String&, const String& V) { F.SetSubtitleTag(V); }},
        {"vc", [](F_& F, const String&, const String& V) { F.Fvideo_channel = StrToInt(V); }},
        {"tvstd", [](F_& F, const String&, const String& V) { F.Fvideo_standard = V; }},
        {"isync", [](F_& F, const String&, const String& V) { F.Finput_sync = BoolValue(V); }},
        {"muxdelay", [](F_& F, const String&, const String& V) { F.Fmux_max_delay = float(StrToFloat(V)); }},
        {"muxpreload", [](F_& F, const String&, const String& V) { F.Fmux_preload = float(StrToFloat(V)); }},
        {"absf", [](F_& F, const String& N, const String& V) { F.AddBitstreamFilter(N, V); }},
        {"vbsf", [](F_& F, const String& N, const String& V) { F.AddBitstreamFilter(N, V); }},
        {"sbsf", [](F_& F, const String& N, const String& V) { F.AddBitstreamFilter(N, V); }},
        {"apre", [](F_& F, const String& N, const String& V) { F.LoadPreset(N, V); }},
        {"vpre", [](F_& F, const String& N, const String& V) { F.LoadPreset(N, V); }},
        {"spre", [](F_& F, const String& N, const String& V) { F.LoadPreset(N, V); }},
        {"fpre", [](F_& F, const String& N, const String& V) { F.LoadPreset(N, V); }},
#undef DO_NOTHING
    };
    for (const TOptionEntry& e : Table)
        if (AName == e.Name) {
            e.Action(*this, AName, AValue);
            return;
        }
    SetDefaultOption(AName, AValue);
}

bool TCustomFFmpeg::SetDefaultOption(const String& AName, const String& AValue)
{
    return StoreOption(FOptions, AName, AValue);
}

bool TCustomFFmpeg::SetDefaultIntOption(const String& AName, int64_t AValue)
{
    return SetDefaultOption(AName, IntToStr(AValue));
}

void TCustomFFmpeg::SetFormat(const String& AValue)
{
    if (AValue.empty()) return;
    if (AValue == "pgmyuv") {
        Fpgmyuv_compatibility_hack = 1;
        Log(llInfo, "pgmyuv format is deprecated, use image2");
        Flast_asked_format = "image2";
        return;
    }
    Flast_asked_format = AValue;
}

void TCustomFFmpeg::SetBitrate(const String& AName, const String& AValue)
{
    if (AValue.empty() || !SetDefaultOption(AName, AValue)) return;
    AVCodecContext* ctx = FOptions.avcodec_opts[AName[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO];
    int64_t b = 0;
    if (ctx && AV.av_opt_get_int(ctx, "b", 0, &b) >= 0 && b < 1000)
        Log(llWarning, "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
}

void TCustomFFmpeg::SetFrameRate(const String& AValue)
{
    if (AValue.empty()) return;
    AVRational r{0, 0};
    if (AV.av_parse_video_rate(&r, AValue.c_str()) < 0) throw FFmpegException("Incorrect frame rate");
    Fframe_rate = r;
}

void TCustomFFmpeg::SetFrameSize(const String& AValue)
{
    if (AValue.empty()) return;
    int w = 0, h = 0;
    if (AV.av_parse_video_size(&w, &h, AValue.c_str()) < 0) throw FFmpegException("Incorrect frame size");
    Fframe_width = w;
    Fframe_height = h;
}

void TCustomFFmpeg::SetCrop(int& ABand, int& ASize, int ACrop, bool AVertical, const char* AName)
{
    if (ACrop <= 0) return;
    if (ACrop >= ASize)
        throw FFmpegException(String(AVertical ? "Vertical" : "Horizontal") +
                              " crop dimensions are outside the range of the original image.\n"
                              "Remember to crop first and scale second.");
    Log(llWarning, Format("%s is deprecated in favor of the crop avfilter", AName));
    ABand = ACrop;
    ASize -= ACrop;
}

void TCustomFFmpeg::SetCropTop(int ACrop) { SetCrop(Fframe_topBand, Fframe_height, ACrop, true, "CropTop"); }
void TCustomFFmpeg::SetCropBottom(int ACrop) { SetCrop(Fframe_bottomBand, Fframe_height, ACrop, true, "CropBottom"); }
void TCustomFFmpeg::SetCropLeft(int ACrop) { SetCrop(Fframe_leftBand, Fframe_width, ACrop, false, "CropLeft"); }
void TCustomFFmpeg::SetCropRight(int ACrop) { SetCrop(Fframe_rightBand, Fframe_width, ACrop, false, "CropRight"); }

void TCustomFFmpeg::SetPixelFormat(const String& AValue)
{
    if (AValue == "list") {
        Log(llInfo, "Pixel formats:  name  nb_components  bits_per_pixel");
        for (const AVPixFmtDescriptor* d = AV.av_pix_fmt_desc_next(nullptr); d; d = AV.av_pix_fmt_desc_next(d))
            Log(llInfo, Trim(Format("%-13s %d %d", d->name, int(d->nb_components), AV.av_get_bits_per_pixel(d))));
        return;
    }
    AVPixelFormat f = AV.av_get_pix_fmt(AValue.c_str());
    if (f == AV_PIX_FMT_NONE) throw FFmpegException(Format("Unknown pixel format requested: %s", AValue));
    Fframe_pix_fmt = f;
}

void TCustomFFmpeg::SetSampleFormat(const String& AValue)
{
    if (AValue == "list") {
        Log(llInfo, "Sample formats:  name  depth");
        for (int i = 0; i < AV_SAMPLE_FMT_NB; ++i) {
            auto f = AVSampleFormat(i);
            Log(llInfo, Trim(Format("%-9s %d", AV.av_get_sample_fmt_name(f), AV.av_get_bytes_per_sample(f) * 8)));
        }
        return;
    }
    Faudio_sample_fmt = AV.av_get_sample_fmt(AValue.c_str());
}

void TCustomFFmpeg::SetAspectRatio(const String& AValue)
{
    if (AValue.empty()) return;
    double ar = 0;
    size_t colon = AValue.find(':');
    if (colon != String::npos) {
        int a = StrToIntDef(AValue.substr(0, colon), 0);
        int b = StrToIntDef(AValue.substr(colon + 1), 0);
        ar = b > 0 ? double(a) / b : 0;
    } else {
        ar = StrToFloatDef(AValue, 0);
    }
    if (ar == 0) throw FFmpegException("Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = float(ar);
}

void TCustomFFmpeg::AddMetadata(const String& AValue)
{
    size_t eq = AValue.find('=');
    if (eq == String::npos) throw FFmpegException("Missing =");
    AddMetadataPair(AValue.substr(0, eq), AValue.substr(eq + 1));
}

void TCustomFFmpeg::AddMetadataPair(const String& AKey, const String& AValue)
{
    Fmetadata.emplace_back(AKey, AValue);
}

void TCustomFFmpeg::SetQScale(double AValue)
{
    if (AValue <= 0 || AValue > 255) throw FFmpegException("qscale must be > 0.0 and <= 255");
    Fvideo_qscale = float(AValue);
}

void TCustomFFmpeg::SetVideoCodec(const String& AValue)
{
    if (AValue.empty()) return;
    Fvideo_codec_name.clear();
    if (AValue == "copy") Fvideo_stream_copy = 1;
    else Fvideo_codec_name = AValue;
}

void TCustomFFmpeg::SetAudioCodec(const String& AValue)
{
    if (AValue.empty()) return;
    Faudio_codec_name.clear();
    if (AValue == "copy") Faudio_stream_copy = 1;
    else Faudio_codec_name = AValue;
}

void TCustomFFmpeg::SetSubtitleCodec(const String& AValue)
{
    if (AValue.empty()) return;
    Fsubtitle_codec_name.clear();
    if (AValue == "copy") Fsubtitle_stream_copy = 1;
    else Fsubtitle_codec_name = AValue;
}

void TCustomFFmpeg::SetTag(uint32_t& ATag, const String& AValue, const char* AKind)
{
    if (AValue.empty()) return;
    if (AValue.size() != 4) throw FFmpegException(Format("%s tag parameter must be 4 chars", AKind));
    const auto* c = reinterpret_cast<const uint8_t*>(AValue.data());
    ATag = uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16 | uint32_t(c[3]) << 24;
}

void TCustomFFmpeg::SetVideoTag(const String& AValue) { SetTag(Fvideo_codec_tag, AValue, "video"); }
void TCustomFFmpeg::SetAudioTag(const String& AValue) { SetTag(Faudio_codec_tag, AValue, "audio"); }
void TCustomFFmpeg::SetSubtitleTag(const String& AValue) { SetTag(Fsubtitle_codec_tag, AValue, "subtitle"); }

void TCustomFFmpeg::SetVideoFilters(const String& AValue)
{
    if (!AValue.empty()) Fvfilters = AValue;
}

void TCustomFFmpeg::AddVideoHook(const String& AValue)
{
    // The words of the value (split at "|" when it has one, else at spaces): the hook
    // library, then its arguments.
    const char separator = AValue.find('|') != String::npos ? '|' : ' ';
    std::vector<String> words;
    for (size_t p = 0; p <= AValue.size() && words.size() < 254;) {
        size_t e = AValue.find(separator, p);
        if (e == String::npos) e = AValue.size();
        if (e > p) words.push_back(AValue.substr(p, e - p));
        p = e + 1;
    }
    std::vector<char*> argv;
    for (String& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    if (words.empty() || AddFrameHook(&FFirstHook, int(words.size()), argv.data()) != 0)
        throw FFmpegException("Failed to add video hook function: " + AValue);
    Fusing_vhook = true;
}

void TCustomFFmpeg::AddStreamMap(const String& AValue)
{
    if (AValue.empty()) return;
    if (Fnb_stream_maps >= int(Fstream_maps.size()))
        throw FFmpegException(Format("Too many stream maps (at most %d)", int(Fstream_maps.size())));
    TAVStreamMap m;
    const char* p = AValue.c_str();
    m.file_index = int(ReadNumber(p));
    m.stream_index = int(ReadNumber(p));
    if (*p) {
        m.sync_file_index = int(ReadNumber(p));
        m.sync_stream_index = int(ReadNumber(p));
    } else {
        m.sync_file_index = m.file_index;
        m.sync_stream_index = m.stream_index;
    }
    Fstream_maps[Fnb_stream_maps++] = m;
}

void TCustomFFmpeg::AddMetaDataMap(const String& AValue)
{
    if (Fnb_meta_data_maps >= int(Fmeta_data_maps.size()))
        throw FFmpegException(Format("Too many metadata maps (at most %d)", int(Fmeta_data_maps.size())));
    TAVMetaDataMap m;
    const char* p = AValue.c_str();
    m.out_file = int(ReadNumber(p));
    m.in_file = int(ReadNumber(p));
    Fmeta_data_maps[Fnb_meta_data_maps++] = m;
}

void TCustomFFmpeg::SetInputTSScale(const String& AValue)
{
    const char* p = AValue.c_str();
    long stream = ReadNumber(p);
    double scale = std::strtod(p, nullptr);
    if (stream < 0 || stream >= MAX_STREAMS)
        throw FFmpegException(Format("stream index over MAX_STREAMS(%d)", MAX_STREAMS));
    if (Fnb_input_files >= FMaxFiles) throw FFmpegException(Format("max input files %d reached", FMaxFiles));
    Finput_files_ts_scale[Fnb_input_files][stream] = scale;
}

int64_t TCustomFFmpeg::ParseTime(const String& AOption, const String& AText, bool AIsDuration)
{
    int64_t t = 0;
    if (AV.av_parse_time(&t, AText.c_str(), AIsDuration ? 1 : 0) < 0)
        throw FFmpegException(
            Format("Invalid %s specification for %s: %s", AIsDuration ? "duration" : "date", AOption, AText));
    return t;
}

void TCustomFFmpeg::SetRecordingTime(int64_t ATime)
{
    if (ATime == NoTimeValue) return;
    Frecording_time = ATime;
    FTotalOutputDuration = ATime;
}

void TCustomFFmpeg::SetStartTime(int64_t ATime)
{
    if (ATime != NoTimeValue) Fstart_time = ATime;
}

void TCustomFFmpeg::SetProgramID(int AProgramID)
{
    if (AProgramID >= 0) Fopt_programid = AProgramID;
}

void TCustomFFmpeg::SetAudioSampleRate(int ARate)
{
    if (ARate > 0) Faudio_sample_rate = ARate;
}

void TCustomFFmpeg::SetAudioChannels(int AChannels)
{
    if (AChannels > 0) Faudio_channels = AChannels;
}

void TCustomFFmpeg::SetAudioVolume(int AVolume)
{
    if (AVolume >= 0) Faudio_volume = AVolume;
}

void TCustomFFmpeg::SetMuxMaxDelay(double ASeconds)
{
    if (ASeconds > 0) Fmux_max_delay = float(ASeconds);
}

void TCustomFFmpeg::SetMuxPreload(double ASeconds)
{
    if (ASeconds > 0) Fmux_preload = float(ASeconds);
}

void TCustomFFmpeg::SetStreamId(const String& AName, const String& AValue)
{
    if (AValue.empty()) return;
    size_t colon = AValue.find(':');
    if (colon == String::npos || colon == 0 || colon + 1 == AValue.size())
        throw FFmpegException(
            Format("Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"", AValue, AName));
    int index = StrToInt(AValue.substr(0, colon));
    int id = StrToInt(AValue.substr(colon + 1));
    if (index < 0 || index >= MAX_STREAMS)
        throw FFmpegException(Format("Invalid stream index %d for option \"%s\": it must be 0 to %d", index, AName,
                                     MAX_STREAMS - 1));
    Fstreamid_map[index] = id;
}

void TCustomFFmpeg::SetPass(int APass)
{
    if (APass != 1 && APass != 2) throw FFmpegException("pass number can be only 1 or 2");
    Fdo_pass = APass;
}

void TCustomFFmpeg::SetMatrix(std::vector<uint16_t>& AMatrix, const String& AValue)
{
    AMatrix.assign(64, 0);
    const char* p = AValue.c_str();
    for (int i = 0;; ++i) {
        AMatrix[i] = uint16_t(std::atoi(p));
        if (i == 63) break;
        p = std::strchr(p, ',');
        if (!p) throw FFmpegException(Format("Syntax error in matrix \"%s\" at coeff %d", AValue, i));
        ++p;
    }
}

void TCustomFFmpeg::SetIntraMatrix(const String& AValue) { SetMatrix(Fintra_matrix, AValue); }
void TCustomFFmpeg::SetInterMatrix(const String& AValue) { SetMatrix(Finter_matrix, AValue); }

void TCustomFFmpeg::SetVStatsFile(const String& AName) { Fvstats_filename = AName; }

void TCustomFFmpeg::SetVStats(bool AOn)
{
    Fvstats_filename.clear();
    if (!AOn) return;
    // Beside the program when its folder can be written (it cannot once installed), else
    // in the user's home folder; named by the time of day.
    String folder = GetExePath();
    if (access(folder.c_str(), W_OK) != 0) folder = HomeFolder();
    Fvstats_filename = folder + "vstats_" + FormatDateTime("hhnnss", Now()) + ".log";
}

void TCustomFFmpeg::AddBitstreamFilter(const String& AOption, const String& AValue)
{
    if (AValue.empty() || AValue[0] == '=') return;
    String name = AValue.substr(0, AValue.find('='));
    const AVBitStreamFilter* f = AV.av_bsf_get_by_name(name.c_str());
    if (!f) throw FFmpegException(Format("Unknown bitstream filter %s", Trim(AValue)));
    auto& chain = AOption[0] == 'v' ? Fvideo_bitstream_filters
                  : AOption[0] == 'a' ? Faudio_bitstream_filters
                                      : Fsubtitle_bitstream_filters;
    chain.push_back(f);
}

bool TCustomFFmpeg::FindCodec(const String& AName, AVMediaType AType, AVCodecID& ACodecID, int AStrict,
                              bool AEncoder, const AVCodec** ACodec)
{
    ACodecID = AV_CODEC_ID_NONE;
    if (ACodec) *ACodec = nullptr;
    if (AName.empty()) return true;
    const char* kind = AEncoder ? "encoder" : "decoder";
    const AVCodec* codec = AEncoder ? AV.avcodec_find_encoder_by_name(AName.c_str())
                                    : AV.avcodec_find_decoder_by_name(AName.c_str());
    if (!codec && AEncoder && CodecAlias(AName) != AName)
        codec = AV.avcodec_find_encoder_by_name(CodecAlias(AName).c_str());
    if (!codec) {
        FLastErrMsg = Format("Unknown %s '%s'", kind, AName);
        return false;
    }
    if (codec->type != AType) {
        FLastErrMsg = Format("Invalid %s type '%s'", kind, AName);
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = Format("%s '%s' is experimental and might produce bad results.\r\n"
                             "Add '-strict experimental' if you want to use it.",
                             kind, codec->name);
        const AVCodec* def = AEncoder ? AV.avcodec_find_encoder(codec->id) : AV.avcodec_find_decoder(codec->id);
        if (def && !(def->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
            FLastErrMsg += Format("\r\nOr use the non experimental %s '%s'.", kind, def->name);
        return false;
    }
    ACodecID = codec->id;
    if (ACodec) *ACodec = codec;
    return true;
}
