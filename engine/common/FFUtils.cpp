#include "engine/common/FFUtils.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/FFmpegLogger.h"
#include "platform/system/SysUtils.h"

#include <cerrno>
#include <cstdio>

String FormatTimestamp(int64_t AMicroseconds)
{
    if (AMicroseconds == AV_NOPTS_VALUE) return "N/A";
    int64_t Secs = AMicroseconds / 1000000;
    char Buf[64];
    snprintf(Buf, sizeof(Buf), "%.2lld:%.2lld:%.2lld.%.3lld", (long long)(Secs / 3600), (long long)(Secs / 60 % 60),
             (long long)(Secs % 60), (long long)(AMicroseconds % 1000000 * 1000 / 1000000));
    return Buf;
}

String AVErrorText(const String& AName, int AError)
{
    const char* Text = nullptr;
    switch (AError) {
    case AVERROR_PATCHWELCOME: Text = "Not yet implemented in FFmpeg"; break;
    case AVERROR_PROTOCOL_NOT_FOUND:
    case AVERROR(EPROTONOSUPPORT): Text = "Unsupported network protocol"; break;
    // The libraries give their own codes for an unknown format and for damaged data; an
    // invalid argument (a bad option value), an illegal byte sequence or a number out of
    // range keep the system's text, which says what happened.
    case AVERROR_DEMUXER_NOT_FOUND: Text = "Unknown format"; break;
    case AVERROR_EOF: Text = "End of file"; break;
    case AVERROR_INVALIDDATA: Text = "Invalid data found when processing input"; break;
    case AVERROR(ENOMEM): Text = "Not enough memory"; break;
    case AVERROR(EIO): Text = "I/O error"; break;
    case AVERROR(ENOENT): Text = "No such file or directory"; break;
    }
    if (Text) return AName + ": " + Text;
    // Any other code: the system's own text ("Permission denied", "No space left on
    // device", ...).
    char Buf[AV_ERROR_MAX_STRING_SIZE] = "";
    if (AV.av_strerror && AV.av_strerror(AError, Buf, sizeof(Buf)) == 0 && Buf[0]) return AName + ": " + Buf;
    return AName + ": " + Format("Error number %d occurred", AError);
}

String MediaTypeName(int AType)
{
    switch (AType) {
    case AVMEDIA_TYPE_VIDEO: return "Video";
    case AVMEDIA_TYPE_AUDIO: return "Audio";
    case AVMEDIA_TYPE_DATA: return "Data";
    case AVMEDIA_TYPE_SUBTITLE: return "Subtitle";
    case AVMEDIA_TYPE_ATTACHMENT: return "Attachment";
    default: return "Unknown";
    }
}

String CodecDisplayName(const AVCodecParameters* APar, bool AEncoder)
{
    if (!APar) return "";
    const AVCodec* Codec = AEncoder ? AV.avcodec_find_encoder(APar->codec_id) : AV.avcodec_find_decoder(APar->codec_id);
    if (Codec) {
        String Long = Trim(Codec->long_name ? Codec->long_name : "");
        if (Long.empty()) return Codec->name;
        return Format("%s(%s)", Codec->name, Long);
    }
    if (APar->codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
    if (APar->codec_id != AV_CODEC_ID_NONE) return Trim(AV.avcodec_get_name(APar->codec_id));
    uint32_t Tag = APar->codec_tag;
    bool Printable = true;
    for (int I = 0; I < 4; ++I) {
        unsigned C = (Tag >> (8 * I)) & 0xFF;
        if (C < 32 || C > 126) Printable = false;
    }
    char Buf[64];
    if (Printable)
        snprintf(Buf, sizeof(Buf), "%c%c%c%c / 0x%04X", char(Tag & 0xFF), char((Tag >> 8) & 0xFF),
                 char((Tag >> 16) & 0xFF), char((Tag >> 24) & 0xFF), Tag);
    else
        snprintf(Buf, sizeof(Buf), "0x%04x", Tag);
    return Buf;
}

String MetadataValue(const AVDictionary* AMetadata, const char* AKey, const String& ADefault)
{
    if (!AMetadata) return ADefault;
    const AVDictionaryEntry* E = AV.av_dict_get(AMetadata, AKey, nullptr, 0);
    return E && E->value ? String(E->value) : ADefault;
}

int64_t FrameDuration(AVRational ARate)
{
    if (ARate.num == 0 || ARate.den == 0) return 40000;
    return int64_t(1000000) * ARate.den / ARate.num;
}

int SeekFlagsToAV(TSeekFlags AFlags)
{
    int R = 0;
    if (AFlags.Contains(sfBackward)) R |= AVSEEK_FLAG_BACKWARD;
    if (AFlags.Contains(sfByte)) R |= AVSEEK_FLAG_BYTE;
    if (AFlags.Contains(sfAny)) R |= AVSEEK_FLAG_ANY;
    if (AFlags.Contains(sfFrame)) R |= AVSEEK_FLAG_FRAME;
    return R;
}

int64_t AVIOTell(AVIOContext* APB) { return APB ? AV.avio_seek(APB, 0, SEEK_CUR) : -1; }

int ReadFileToBuffer(const String& AFileName, uint8_t*& ABuffer, int& ASize)
{
    ABuffer = nullptr;
    ASize = 0;
    FILE* F = fopen(AFileName.c_str(), "rb");
    if (!F) return -1;
    fseek(F, 0, SEEK_END);
    long Size = ftell(F);
    fseek(F, 0, SEEK_SET);
    if (Size < 0 || Size >= 0x7FFFFFFF) {
        fclose(F);
        return -1;
    }
    auto* Buf = static_cast<uint8_t*>(AV.av_malloc(size_t(Size) + 1));
    if (!Buf) {
        fclose(F);
        return AVERROR(ENOMEM);
    }
    size_t Read = fread(Buf, 1, size_t(Size), F);
    Buf[Read] = 0;
    fclose(F);
    ABuffer = Buf;
    ASize = int(Read) + 1;
    return 0;
}

// ---------------------------------------------------------------------------------
// Option store

namespace {

constexpr int TypeMask[AVMEDIA_TYPE_NB] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                           AV_OPT_FLAG_SUBTITLE_PARAM, 0};
constexpr int SearchAll = AV_OPT_SEARCH_FAKE_OBJ | AV_OPT_SEARCH_CHILDREN;

const AVOption* FindOption(const AVClass* AClass, const char* AName, int AMask, int ASearch)
{
    const AVClass* C = AClass;
    return C ? AV.av_opt_find(&C, AName, nullptr, AMask, ASearch) : nullptr;
}

// Sets a found option: in the scratch object when the object's own class has it (which
// checks the value), and in the dictionary in every case.
int SetFound(void* AObject, const AVClass* AClass, AVDictionary** ADict, const char* AName, const String& AValue)
{
    int R = 0;
    if (FindOption(AClass, AName, 0, AV_OPT_SEARCH_FAKE_OBJ)) R = AV.av_opt_set(AObject, AName, AValue.c_str(), 0);
    if (R >= 0) AV.av_dict_set(ADict, AName, AValue.c_str(), 0);
    return R;
}

// A codec's private option is not in the scratch contexts' own class: its value is tried
// on a fresh context of every codec whose private options hold AName.  True when one of
// them takes it (the option may be meant for any of them).
bool PrivateCodecValueTaken(const char* AName, const String& AValue, int AMask)
{
    void* It = nullptr;
    while (const AVCodec* Codec = AV.av_codec_iterate(&It)) {
        if (!Codec->priv_class || !FindOption(Codec->priv_class, AName, AMask, AV_OPT_SEARCH_FAKE_OBJ)) continue;
        AVCodecContext* Context = AV.avcodec_alloc_context3(Codec);
        if (!Context) continue;
        const bool Taken = Context->priv_data && AV.av_opt_set(Context->priv_data, AName, AValue.c_str(), 0) >= 0;
        AV.avcodec_free_context(&Context);
        if (Taken) return true;
    }
    return false;
}

}  // namespace

void ClearOptionStore(TFFOptions& AStore) { AStore = TFFOptions(); }

void CreateOptionStore(TFFOptions& AStore, int ASwsFlags)
{
    for (int I = 0; I < AVMEDIA_TYPE_NB; ++I) {
        AStore.avcodec_opts[I] = AV.avcodec_alloc_context3(nullptr);
        if (AStore.avcodec_opts[I]) AStore.avcodec_opts[I]->codec_type = AVMediaType(I);
    }
    AStore.avformat_opts = AV.avformat_alloc_context();
    AStore.sws_opts = AV.sws_alloc_context();
    if (AStore.sws_opts) AV.av_opt_set_int(AStore.sws_opts, "sws_flags", ASwsFlags, 0);
}

void FreeOptionStore(TFFOptions& AStore)
{
    for (int I = 0; I < AVMEDIA_TYPE_NB; ++I) {
        if (AStore.avcodec_opts[I]) AV.avcodec_free_context(&AStore.avcodec_opts[I]);
        if (AStore.codec_dict[I]) AV.av_dict_free(&AStore.codec_dict[I]);
    }
    if (AStore.avformat_opts) AV.avformat_free_context(AStore.avformat_opts);
    AStore.avformat_opts = nullptr;
    if (AStore.sws_opts) AV.sws_freeContext(AStore.sws_opts);
    AStore.sws_opts = nullptr;
    if (AStore.format_dict) AV.av_dict_free(&AStore.format_dict);
    if (AStore.sws_dict) AV.av_dict_free(&AStore.sws_dict);
    AStore.opt_names.clear();
}

bool StoreOption(TFFOptions& AStore, const String& AName, const String& AValue)
{
    if (Trim(AName).empty() || Trim(AValue).empty()) return false;
    const char* Name = AName.c_str();
    const AVClass* CodecClass = AV.avcodec_get_class();
    const AVOption* Found = nullptr;
    int R = 0;

    for (int I = 0; I < AVMEDIA_TYPE_NB; ++I) {
        const AVOption* O = FindOption(CodecClass, Name, TypeMask[I], SearchAll);
        if (!O) continue;
        Found = O;
        const bool Private = !FindOption(CodecClass, Name, TypeMask[I], AV_OPT_SEARCH_FAKE_OBJ);
        R = Private && !PrivateCodecValueTaken(Name, AValue, TypeMask[I])
                ? AVERROR(EINVAL)
                : SetFound(AStore.avcodec_opts[I], CodecClass, &AStore.codec_dict[I], Name, AValue);
        if (R < 0) break;
    }
    if (!Found) {
        if (const AVOption* O = FindOption(AV.avformat_get_class(), Name, 0, SearchAll)) {
            Found = O;
            R = SetFound(AStore.avformat_opts, AV.avformat_get_class(), &AStore.format_dict, Name, AValue);
        } else if (const AVOption* O = FindOption(AV.sws_get_class(), Name, 0, SearchAll)) {
            Found = O;
            R = SetFound(AStore.sws_opts, AV.sws_get_class(), &AStore.sws_dict, Name, AValue);
        }
    }
    if (!Found && AName.size() > 1) {
        // "ab", "vb", "scodec_tag"...: the option of one media type under its short name.
        int Type = AName[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AName[0] == 'v' ? AVMEDIA_TYPE_VIDEO
                                                        : AName[0] == 's' ? AVMEDIA_TYPE_SUBTITLE : -1;
        if (Type >= 0) {
            if (const AVOption* O = FindOption(CodecClass, Name + 1, TypeMask[Type], AV_OPT_SEARCH_FAKE_OBJ)) {
                Found = O;
                R = SetFound(AStore.avcodec_opts[Type], CodecClass, &AStore.codec_dict[Type], Name + 1, AValue);
            }
        }
    }
    if (Found && R < 0) {
        AV.av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue.c_str(), Name);
        return false;
    }
    if (!Found) return false;
    AStore.opt_names.push_back(Found->name);
    if ((AStore.avcodec_opts[AVMEDIA_TYPE_VIDEO] && AStore.avcodec_opts[AVMEDIA_TYPE_VIDEO]->debug) ||
        (AStore.avformat_opts && AStore.avformat_opts->debug))
        GlobalLogger()->SetLogLevel(llDebug);
    return true;
}

void CopyStoredOptions(const TFFOptions& AStore, void* AContext, void* AOptionsContext, int AFlags)
{
    if (!AContext || !AOptionsContext) return;
    for (const String& Name : AStore.opt_names) {
        const AVOption* O = AV.av_opt_find(AOptionsContext, Name.c_str(), nullptr, 0, 0);
        if (!O || (O->flags & AFlags) != AFlags) continue;
        uint8_t* Value = nullptr;
        if (AV.av_opt_get(AOptionsContext, Name.c_str(), 0, &Value) >= 0 && Value)
            AV.av_opt_set(AContext, Name.c_str(), reinterpret_cast<const char*>(Value), 0);
        AV.av_free(Value);
    }
}

AVDictionary* StoredCodecOptions(const TFFOptions& AStore, AVMediaType AType, const AVCodec* ACodec, bool AEncoder)
{
    if (AType < 0 || AType >= AVMEDIA_TYPE_NB) return nullptr;
    int Flags = (AEncoder ? AV_OPT_FLAG_ENCODING_PARAM : AV_OPT_FLAG_DECODING_PARAM) | TypeMask[AType];
    AVDictionary* Result = nullptr;
    const AVDictionaryEntry* E = nullptr;
    while ((E = AV.av_dict_get(AStore.codec_dict[AType], "", E, AV_DICT_IGNORE_SUFFIX))) {
        bool Takes = FindOption(AV.avcodec_get_class(), E->key, Flags, AV_OPT_SEARCH_FAKE_OBJ) ||
                     (ACodec && FindOption(ACodec->priv_class, E->key, Flags, AV_OPT_SEARCH_FAKE_OBJ));
        if (Takes) AV.av_dict_set(&Result, E->key, E->value, 0);
    }
    return Result;
}

// ---------------------------------------------------------------------------------
// Pictures

void ResetRGBContext(TRGBConvertContext& AContext)
{
    AContext.Bitmap.reset();
    if (AContext.RGBBuf) AV.av_free(AContext.RGBBuf);
    if (AContext.toRGB_convert_ctx) AV.sws_freeContext(AContext.toRGB_convert_ctx);
    AContext = TRGBConvertContext();
}
