#include "engine/probe/AVProbe.h"

#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"
#include "platform/system/SysUtils.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr const char* NotLoaded = "file not loaded.";

int64_t ToMicroseconds(int64_t AValue, AVRational ATimeBase)
{
    return AV.av_rescale_q(AValue, ATimeBase, AVRational{1, AV_TIME_BASE});
}

// A stream whose time base has a zero denominator gets a usable one, in place.
void FixTimeBase(AVStream* AStream)
{
    if (AStream->time_base.den == 0) {
        AStream->time_base.den = AStream->time_base.num != 0 ? AStream->time_base.num : 1;
    }
}

// The leading decimal number of a tag ("2009-05-01" -> 2009, "3/12" -> 3), else 0.
int32_t LeadingNumber(const String& AText)
{
    return int32_t(strtol(AText.c_str(), nullptr, 10));
}

const char* TranslateKey(const char* AKey)
{
    static const struct {
        const char* Key;
        const char* Shown;
    } Table[] = {{"TALB", "album"},     {"TAL", "album"},    {"TCOM", "composer"},  {"TCON", "genre"},
                 {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},    {"TENC", "encoder"},
                 {"TEN", "encoder"},    {"TSOA", "albumsort"}, {"TSOT", "titlesort"}, {"TIT2", "title"},
                 {"TT2", "title"},      {"TLAN", "language"}, {"TPE1", "artist"},   {"TP1", "artist"},
                 {"TPOS", "disc"},      {"TPUB", "publisher"}, {"TRCK", "track"},   {"TRK", "track"},
                 {"TSOP", "authorsort"}, {"TYER", "year"}};
    for (const auto& E : Table)
        if (strcmp(AKey, E.Key) == 0) return E.Shown;
    return AKey;
}

void AddMetadata(std::vector<String>& ALines, const AVDictionary* AMetadata, const String& AIndent)
{
    if (!AMetadata) return;
    std::vector<const AVDictionaryEntry*> Tags;
    const AVDictionaryEntry* E = nullptr;
    while ((E = AV.av_dict_get(AMetadata, "", E, AV_DICT_IGNORE_SUFFIX)))
        if (strcmp(E->key, "language") != 0) Tags.push_back(E);
    if (Tags.empty()) return;
    ALines.push_back(AIndent + "Metadata:");
    for (const AVDictionaryEntry* T : Tags)
        ALines.push_back(Format("%s  %-16s: %s", AIndent, TranslateKey(T->key), T->value ? T->value : ""));
}

// ", 29.97 fps" / ", 25 fps" / ", 90k tbn".
String RateText(AVRational ARate, const char* AName)
{
    double V = double(ARate.num) / double(ARate.den);
    int64_t H = int64_t(std::llround(V * 100));
    if (H % 100 != 0) return Format(", %3.2f %s", V, AName);
    if (H % 100000 != 0) return Format(", %1.0f %s", V, AName);
    return Format(", %1.0fk %s", V / 1000, AName);
}

String SecondsText(int64_t AMicroseconds)
{
    int64_t Secs = AMicroseconds / AV_TIME_BASE;
    int64_t Us = std::llabs(AMicroseconds % AV_TIME_BASE);
    return Format("%d.%.6d", Secs, Us);
}

}  // namespace

TCustomAVProbe::TCustomAVProbe(TComponent* AOwner) : TFFBaseComponent(AOwner, ProbeLibraries)
{
    TCustomAVProbe::UpdateFileInfo();
}

TCustomAVProbe::~TCustomAVProbe() { TCustomAVProbe::CloseFile(); }

void TCustomAVProbe::ReportError(TLogLevel ALevel, const String& AText)
{
    FLastErrMsg = AText;
    GlobalLogger()->Log(this, ALevel, AText);
}

void TCustomAVProbe::CheckLibraries()
{
    static const struct {
        TLibrary Lib;
        const char* Text;
    } Checks[] = {{avCodec, "LibAVCodec not loaded."},
                  {avFormat, "LibAVFormat not loaded."},
                  {avUtil, "LibAVUtil not loaded."},
                  {swScale, "LibSwScale not loaded."}};
    for (const auto& C : Checks)
        if (!FFLoader().Loaded(C.Lib)) throw Exception(C.Text);
}

bool TCustomAVProbe::HasFile(bool AReport)
{
    if (FFileHandle) return true;
    if (AReport) ReportError(llWarning, NotLoaded);
    return false;
}

AVStream* TCustomAVProbe::CheckedStream(int AStreamIndex)
{
    if (!HasFile()) return nullptr;
    if (AStreamIndex < 0 || AStreamIndex >= int(FFileHandle->nb_streams)) {
        ReportError(llError, Format("stream index #%d is invalid.", AStreamIndex));
        return nullptr;
    }
    return FFileHandle->streams[AStreamIndex];
}

bool TCustomAVProbe::LoadFile(const String& AFileName, const String& AFormatName)
{
    CheckLibraries();
    CloseFile();
    const AVInputFormat* Fmt = nullptr;
    if (!AFormatName.empty()) {
        Fmt = AV.av_find_input_format(AFormatName.c_str());
        if (!Fmt) {
            FLastErrMsg = Format("Unknown input format: %s", AFormatName);
            return false;
        }
    }
    AVFormatContext* Ctx = AV.avformat_alloc_context();
    if (!Ctx) {
        ReportError(llError, AVErrorText(AFileName, AVERROR(ENOMEM)));
        return false;
    }
    Ctx->flags |= AVFMT_FLAG_NONBLOCK;
    int R = OpenInputURL(&Ctx, FileNameToURL(AFileName), Fmt, nullptr);
    if (R < 0) {
        ReportError(llError, AVErrorText(AFileName, R));
        CloseFile();
        return false;
    }
    FFileHandle = Ctx;
    FOwnHandle = true;
    R = AV.avformat_find_stream_info(Ctx, nullptr);
    if (R < 0) {
        FLastErrMsg = Format("%s: could not find codec parameters", AFileName);
        CloseFile();
        return false;
    }
    UpdateFileInfo();
    FForceFormat = AFormatName;
    return true;
}

void TCustomAVProbe::CloseFile()
{
    FForceFormat.clear();
    if (FFileHandle && FOwnHandle) CloseInputURL(&FFileHandle);
    FFileHandle = nullptr;
    FOwnHandle = false;
    UpdateFileInfo();
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* AValue)
{
    // Letting a context go needs no library (a task freed after the libraries were
    // unloaded lets its inputs go too, and must not raise from its destructor).
    if (AValue) CheckLibraries();
    CloseFile();
    FFileHandle = AValue;
    FOwnHandle = false;
    UpdateFileInfo();
}

void TCustomAVProbe::UpdateFileInfo()
{
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (!FFileHandle) return;

    int64_t Size = FFileHandle->pb ? AV.avio_size(FFileHandle->pb) : -1;
    if (Size <= 0) {
        int64_t OnDisk = FFileHandle->url ? FileSizeOf(DecodeURL(FFileHandle->url)) : -1;
        if (OnDisk >= 0) Size = OnDisk;
    }
    FFileSize = Size;
    FStreamCount = int(FFileHandle->nb_streams);
    FProgramCount = int(FFileHandle->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (int I = 0; I < FStreamCount; ++I) {
        switch (FFileHandle->streams[I]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            ++FVideoStreamCount;
            if (FFirstVideoStreamIndex < 0) FFirstVideoStreamIndex = I;
            break;
        case AVMEDIA_TYPE_AUDIO:
            ++FAudioStreamCount;
            if (FFirstAudioStreamIndex < 0) FFirstAudioStreamIndex = I;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            ++FSubtitleStreamCount;
            if (FFirstSubtitleStreamIndex < 0) FFirstSubtitleStreamIndex = I;
            break;
        default: break;
        }
    }
}

bool TCustomAVProbe::IsStreamOfType(int AStreamIndex, AVMediaType AType)
{
    AVStream* St = CheckedStream(AStreamIndex);
    return St && St->codecpar->codec_type == AType;
}

bool TCustomAVProbe::IsAudioStream(int AStreamIndex) { return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO); }
bool TCustomAVProbe::IsVideoStream(int AStreamIndex) { return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO); }
bool TCustomAVProbe::IsSubtitleStream(int AStreamIndex)
{
    return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
}

String TCustomAVProbe::FileName()
{
    if (!HasFile()) return "";
    return FFileHandle->url ? DecodeURL(FFileHandle->url) : String();
}

String TCustomAVProbe::FormatName()
{
    if (!HasFile()) return "";
    return FFileHandle->iformat && FFileHandle->iformat->name ? FFileHandle->iformat->name : "";
}

String TCustomAVProbe::FormatLongName()
{
    if (!HasFile()) return "";
    return FFileHandle->iformat && FFileHandle->iformat->long_name ? FFileHandle->iformat->long_name : "";
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo()
{
    TFileStreamInfo I;
    if (!HasFile()) return I;
    AVFormatContext* C = FFileHandle;
    const AVDictionary* M = C->metadata;
    I.StartTime = C->start_time == AV_NOPTS_VALUE ? -1 : C->start_time;
    I.Duration = C->duration == AV_NOPTS_VALUE ? -1 : C->duration;
    I.BitRate = int32_t(std::min<int64_t>(C->bit_rate, INT32_MAX));
    I.TimeStamp = 0;
    String Created = MetadataValue(M, "creation_time", "");
    int64_t Us = 0;
    if (!Created.empty() && AV.av_parse_time(&Us, Created.c_str(), 0) >= 0) I.TimeStamp = Us / AV_TIME_BASE;
    String Year = MetadataValue(M, "date", MetadataValue(M, "year", ""));
    I.Year = LeadingNumber(Year);
    I.Track = LeadingNumber(MetadataValue(M, "track", ""));
    I.Title = MetadataValue(M, "title", "");
    I.Author = MetadataValue(M, "author", MetadataValue(M, "artist", ""));
    I.Copyright = MetadataValue(M, "copyright", "");
    I.Comment = MetadataValue(M, "comment", "");
    I.Album = MetadataValue(M, "album", "");
    I.Genre = MetadataValue(M, "genre", "");
    return I;
}

namespace {

template <class TInfo>
void FillCommon(TInfo& AInfo, AVStream* AStream)
{
    FixTimeBase(AStream);
    AInfo.Language = MetadataValue(AStream->metadata, "language", "");
    AInfo.CodecName = CodecDisplayName(AStream->codecpar, false);
    AInfo.StartTime = AStream->start_time;
    AInfo.StartTimeScaled =
        AStream->start_time == AV_NOPTS_VALUE ? -1 : ToMicroseconds(AStream->start_time, AStream->time_base);
    AInfo.Duration = AStream->duration;
    AInfo.DurationScaled =
        AStream->duration == AV_NOPTS_VALUE ? -1 : ToMicroseconds(AStream->duration, AStream->time_base);
    AInfo.BitRate = int32_t(std::min<int64_t>(AStream->codecpar->bit_rate, INT32_MAX));
}

}  // namespace

AVStream* TCustomAVProbe::StreamOfType(int AStreamIndex, AVMediaType AType)
{
    AVStream* St = CheckedStream(AStreamIndex);
    if (St && St->codecpar->codec_type != AType) {
        ReportError(llError, Format("stream #%d is not %s stream.", AStreamIndex, LowerCase(MediaTypeName(AType))));
        return nullptr;
    }
    return St;
}

bool TCustomAVProbe::AudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo)
{
    AInfo = TAudioStreamInfo();
    AVStream* St = StreamOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO);
    if (!St) return false;
    FillCommon(AInfo, St);
    AInfo.Channels = St->codecpar->ch_layout.nb_channels;
    AInfo.SampleRate = St->codecpar->sample_rate;
    AInfo.SampleFormat = St->codecpar->format;
    return true;
}

bool TCustomAVProbe::VideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo)
{
    AInfo = TVideoStreamInfo();
    AVStream* St = StreamOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO);
    if (!St) return false;
    FillCommon(AInfo, St);
    const AVCodecParameters* P = St->codecpar;
    AInfo.Height = P->height;
    AInfo.Width = P->width;
    // A sample aspect ratio with a zero term is not known: the aspect stays -1.
    AVRational Sar = P->sample_aspect_ratio;
    if (Sar.num != 0 && Sar.den != 0 && P->height != 0)
        AInfo.AspectRatio = float(P->width * (double(Sar.num) / double(Sar.den)) / P->height);
    AInfo.PixFmt = P->format;
    AInfo.FrameRate = St->r_frame_rate;
    return true;
}

bool TCustomAVProbe::SubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo)
{
    AInfo = TSubtitleStreamInfo();
    AVStream* St = StreamOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
    if (!St) return false;
    AInfo.Language = MetadataValue(St->metadata, "language", "");
    AInfo.CodecName = CodecDisplayName(St->codecpar, false);
    return true;
}

template <class TInfo>
TInfo TCustomAVProbe::FirstStreamInfo(int AStreamIndex, AVMediaType AType,
                                      bool (TCustomAVProbe::*AFill)(int, TInfo&))
{
    TInfo I;
    if (!HasFile()) return I;
    if (AStreamIndex < 0)
        ReportError(llError, Format("no %s stream.", LowerCase(MediaTypeName(AType))));
    else
        (this->*AFill)(AStreamIndex, I);
    return I;
}

TAudioStreamInfo TCustomAVProbe::FirstAudioStreamInfo()
{
    return FirstStreamInfo(FFirstAudioStreamIndex, AVMEDIA_TYPE_AUDIO, &TCustomAVProbe::AudioStreamInfo);
}

TVideoStreamInfo TCustomAVProbe::FirstVideoStreamInfo()
{
    return FirstStreamInfo(FFirstVideoStreamIndex, AVMEDIA_TYPE_VIDEO, &TCustomAVProbe::VideoStreamInfo);
}

TSubtitleStreamInfo TCustomAVProbe::FirstSubtitleStreamInfo()
{
    return FirstStreamInfo(FFirstSubtitleStreamIndex, AVMEDIA_TYPE_SUBTITLE, &TCustomAVProbe::SubtitleStreamInfo);
}

String TCustomAVProbe::FileInfoText()
{
    if (!HasFile()) return "";
    AVFormatContext* C = FFileHandle;
    std::vector<String> L;
    L.push_back(Format("File Name: %s", FileName()));
    L.push_back(Format("Format Name: %s", FormatName()));
    L.push_back(Format("Format Long Name: %s", FormatLongName()));
    L.push_back(Format("File Size: %s", FormatFileSize(FFileSize)));
    if (C->duration == AV_NOPTS_VALUE || C->duration < 0)
        L.push_back("Duration: N/A");
    else
        L.push_back("Duration: " + FormatTimestamp(C->duration));
    if (C->start_time != AV_NOPTS_VALUE && C->start_time >= 0) L.push_back("StartTime: " + SecondsText(C->start_time));
    if (C->bit_rate < 1)
        L.push_back("Bit Rate: N/A");
    else
        L.push_back(Format("Bit Rate: %d kb/s", C->bit_rate / 1000));
    TFileStreamInfo Info = FileStreamInfo();
    if (Info.TimeStamp > 0)
        L.push_back("Time Stamp: " + FormatDateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocal(Info.TimeStamp)));
    AddMetadata(L, C->metadata, "");

    std::vector<bool> Printed(C->nb_streams, false);
    auto StreamLines = [&](unsigned AIndex) {
        AVStream* St = C->streams[AIndex];
        FixTimeBase(St);
        String S = Format("Stream #%d", int(AIndex));
        if (C->iformat && (C->iformat->flags & AVFMT_SHOW_IDS)) S += Format("[0x%s]", LowerCase(IntToHex(St->id, 1)));
        String Lang = MetadataValue(St->metadata, "language", "");
        if (!Lang.empty()) S += "(" + Lang + ")";
        int64_t G = AV.av_gcd(St->time_base.num, St->time_base.den);
        if (G == 0) G = 1;
        S += Format(", %d/%d", St->time_base.num / G, St->time_base.den / G);
        char Buf[256] = "";
        AVCodecContext* Ctx = AV.avcodec_alloc_context3(nullptr);
        if (Ctx && AV.avcodec_parameters_to_context(Ctx, St->codecpar) >= 0) AV.avcodec_string(Buf, sizeof(Buf), Ctx, 0);
        S += String(": ") + Buf;
        AVRational CodecSar = St->codecpar->sample_aspect_ratio;
        if (St->sample_aspect_ratio.num != 0 && av_cmp_q(St->sample_aspect_ratio, CodecSar) != 0) {
            int DarNum = 0, DarDen = 0;
            AV.av_reduce(&DarNum, &DarDen, int64_t(St->codecpar->width) * St->sample_aspect_ratio.num,
                         int64_t(St->codecpar->height) * St->sample_aspect_ratio.den, 1024 * 1024);
            S = Format("%s, PAR %d:%d DAR %d:%d", S, St->sample_aspect_ratio.num, St->sample_aspect_ratio.den, DarNum,
                       DarDen);
        }
        if (St->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            if (St->avg_frame_rate.num && St->avg_frame_rate.den) S += RateText(St->avg_frame_rate, "fps");
            if (St->r_frame_rate.num && St->r_frame_rate.den) S += RateText(St->r_frame_rate, "tbr");
            if (St->time_base.num && St->time_base.den)
                S += RateText(AVRational{St->time_base.den, St->time_base.num}, "tbn");
            if (Ctx && Ctx->time_base.num && Ctx->time_base.den)
                S += RateText(AVRational{Ctx->time_base.den, Ctx->time_base.num}, "tbc");
        }
        if (Ctx) AV.avcodec_free_context(&Ctx);
        if (St->start_time != AV_NOPTS_VALUE)
            S += ", StartTime: " + SecondsText(ToMicroseconds(St->start_time, St->time_base));
        if (St->duration != AV_NOPTS_VALUE)
            S += ", Duration: " + FormatTimestamp(ToMicroseconds(St->duration, St->time_base));
        else
            S += ", Duration: N/A";
        L.push_back(S);
        AddMetadata(L, St->metadata, "  ");
        Printed[AIndex] = true;
    };

    for (unsigned P = 0; P < C->nb_programs; ++P) {
        AVProgram* Prog = C->programs[P];
        String Provider = MetadataValue(Prog->metadata, "provider_name",
                                        MetadataValue(Prog->metadata, "service_provider", "N/A"));
        String Name = MetadataValue(Prog->metadata, "name", MetadataValue(Prog->metadata, "service_name", "N/A"));
        L.push_back(Format("Program %d %s@%s", Prog->id, Provider, Name));
        AddMetadata(L, Prog->metadata, "  ");
        for (unsigned K = 0; K < Prog->nb_stream_indexes; ++K)
            if (Prog->stream_index[K] < C->nb_streams) StreamLines(Prog->stream_index[K]);
    }
    for (unsigned I = 0; I < C->nb_streams; ++I)
        if (!Printed[I]) StreamLines(I);

    String Text;
    for (const String& Line : L) Text += Line + "\n";
    return Text;
}
