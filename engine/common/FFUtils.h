// FFmpeg-side helpers shared by the engine's components: texts for times, error codes,
// media types and codecs; metadata; frame durations; seek flags; the option store
// through which options the transcoder does not handle itself reach the codec, format
// and scaler libraries; and the conversion of decoded pictures into 24-bit bitmaps.
#pragma once

#include "engine/libs/FFmpegHeaders.h"
#include "platform/system/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

class TBitmap;

enum TSeekFlag { sfBackward = 0, sfByte = 1, sfAny = 2, sfFrame = 3 };
using TSeekFlags = TSet<TSeekFlag>;

// "hh:mm:ss.zzz" (hours not wrapped at 24); "N/A" for AV_NOPTS_VALUE.
String FormatTimestamp(int64_t AMicroseconds);
// AName + ": " + the text of an FFmpeg error code.
String AVErrorText(const String& AName, int AError);
// "Video", "Audio", "Data", "Subtitle", "Attachment" or "Unknown".
String MediaTypeName(int AType);
// The codec's name and, when it has one, "(long name)"; else a text from the id or tag.
String CodecDisplayName(const AVCodecParameters* APar, bool AEncoder);
// The value of the first tag named AKey, else ADefault.
String MetadataValue(const AVDictionary* AMetadata, const char* AKey, const String& ADefault);
// Microseconds per frame at ARate; 40000 when the rate has a zero term.
int64_t FrameDuration(AVRational ARate);
// The set's bits as FFmpeg seek flags.
int SeekFlagsToAV(TSeekFlags AFlags);
// The position of an I/O context (avio_tell, which the headers inline).
int64_t AVIOTell(AVIOContext* APB);

// Reads a whole file into an av_malloc'ed buffer with a zero byte appended; ASize is
// the bytes read plus one.  0, -1 when the file cannot be opened, -12 without memory.
int ReadFileToBuffer(const String& AFileName, uint8_t*& ABuffer, int& ASize);

// The FFmpeg option store of one transcoder.  Generic options are set in scratch
// contexts (one codec context per media type, a format and a scaler context), which
// validates them; every stored option, private options of codecs and muxers
// included, is also kept by name in a dictionary per context, to be handed to
// avcodec_open2, avformat_open_input or avformat_write_header.
struct TFFOptions {
    std::vector<String> opt_names;  // names of the options set so far, in order
    AVCodecContext* avcodec_opts[AVMEDIA_TYPE_NB] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    AVDictionary* codec_dict[AVMEDIA_TYPE_NB] = {};
    AVDictionary* format_dict = nullptr;
    AVDictionary* sws_dict = nullptr;
    int opt_name_count() const { return int(opt_names.size()); }
};

void ClearOptionStore(TFFOptions& AStore);
void CreateOptionStore(TFFOptions& AStore, int ASwsFlags);
void FreeOptionStore(TFFOptions& AStore);
// Sets an option the transcoder does not handle itself; false for blank texts, names
// no library knows (silently) and invalid values (logged).
bool StoreOption(TFFOptions& AStore, const String& AName, const String& AValue);
// Copies every stored option whose flags hold all of AFlags from AOptionsContext to
// AContext (both AVOption-enabled objects).
void CopyStoredOptions(const TFFOptions& AStore, void* AContext, void* AOptionsContext, int AFlags);
// A new dictionary of the stored options of AType that ACodec (or the generic codec
// options) takes as an encoder or decoder; the caller frees it.
AVDictionary* StoredCodecOptions(const TFFOptions& AStore, AVMediaType AType, const AVCodec* ACodec, bool AEncoder);

// The state of one picture-to-bitmap converter.
struct TRGBConvertContext {
    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGR24;
    std::shared_ptr<TBitmap> Bitmap;  // made on first use
    uint8_t* RGBBuf = nullptr;  // owned (av_malloc)
    int RGBBufSize = 0;
    uint8_t* RGBData[4] = {};
    int RGBLinesize[4] = {};
    SwsContext* toRGB_convert_ctx = nullptr;
};

// Frees what the context holds and returns it to its initial state.
void ResetRGBContext(TRGBConvertContext& AContext);
// Converts one decoded picture into AContext.Bitmap (24 bits, AWidth x AHeight);
// false only when no scaler context can be made.
bool PictureToBitmap(TRGBConvertContext& AContext, const uint8_t* const AData[4], const int ALinesize[4],
                     AVPixelFormat APixFmt, int AHeight, int AWidth);
