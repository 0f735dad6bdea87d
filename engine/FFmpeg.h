// The transcoder: one object carries out one conversion task, reading input files and
// writing output files through FFmpeg, configured the way a command-line transcoder is
// (option names and values in order; input options before the input is opened, output
// options before the output is opened).  The whole option state lives in the object, so
// any number of transcoders run at once, each on its own thread.
//
// Files: FFmpegObject.cpp (life cycle and threads), FFmpegOptions.cpp (the option
// dispatcher and setters), FFmpegPresets.cpp (targets and encoder presets),
// FFmpegInput.cpp (opening inputs), FFmpegOutput.cpp (opening outputs and new streams).
#pragma once

#include "engine/FFUtils.h"
#include "engine/FFmpegLogger.h"
#include "engine/FFmpegHeaders.h"
#include "engine/TaskOptions.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Threads.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

// Every failure inside the transcoder, with an English message.
class FFmpegException : public Exception {
public:
    using Exception::Exception;
};

// Streams per file in the per-file tables.
constexpr int MAX_STREAMS = 20;
// The "not set" value of a fixed audio quality.
constexpr float NoAudioQScale = -99999.0f;

struct TAVStreamMap {
    int file_index = 0, stream_index = 0, sync_file_index = 0, sync_stream_index = 0;
};

struct TAVMetaDataMap {
    int out_file = 0, in_file = 0;
};

enum TPostHook : uint8_t { phPreview, phBitmap, phHBITMAP };
using TPostHooks = TSet<TPostHook>;

// What an output stream carries beside its AVStream: the encoder context that the stream
// builders fill and the conversion opens, the encoder chosen by name, whether the stream
// is copied, and its bitstream filters.
struct TOutputStreamCodec {
    AVCodecContext* enc = nullptr;    // its codec is the chosen encoder, if any
    bool stream_copy = false;
    float quality = 0;                // fixed quality in lambda units, 0 when rate-controlled
    std::vector<const AVBitStreamFilter*> bitstream_filters;
};

class TCustomFFmpeg;

// The conversion thread of one transcoder.
class TConvertThread : public TThread {
public:
    TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority);

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};

namespace FFmpeg {
// Delivers the termination of a transcoder that never ran, on a thread of its own.
class TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg* AOwner);

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};

using TProgressEvent = std::function<void(TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS,
                                          float AQuality, float ABitRate, int64_t ACurrentSize,
                                          int64_t ACurrentDuration, int64_t ATotalDuration)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, TObject* ABitmap, int AFrameNumber, int64_t APTS)>;
using TCustomHookEvent = std::function<void(TObject* Sender, TObject* ABitmap, int AFrameNumber, int64_t APTS,
                                            bool& AUpdate, bool& AStopHook)>;
}  // namespace FFmpeg

// Guards a transcoder's post hooks and preview window against the task list's changes.
extern TCriticalSection PreviewHookLock;

class TCustomFFmpeg : public TObject, public TTaskOptionTarget {
public:
    explicit TCustomFFmpeg(int AMaxFiles);
    ~TCustomFFmpeg() override;

    // Life cycle
    void Reset();
    void CloseFiles();
    void ResetOptions();
    TThread* StartConvert(bool AUseThread, TThreadPriority APriority = tpNormal);
    void Stop(bool AWaitFor);
    void Terminate(bool AWaitFor);
    void Pause();
    void Resume();
    void SetPostHooks(TPostHooks AValue);
    TPostHooks PostHooks() const { return FPostHooks; }

    // Opening files
    bool OpenInputFile(const String& AFileName);
    void CheckInputStreams(bool& AHasVideo, bool& AHasAudio, bool AFirstFileOnly, bool& AHasSubtitle);
    int OpenOutputFile(const String& AFileName, bool AJoin);
    void NewVideoStream(AVFormatContext* AOutput);
    void NewAudioStream(AVFormatContext* AOutput);
    void NewSubtitleStream(AVFormatContext* AOutput);

    // Options
    void SetOption(const String& AName, const String& AValue) override;
    bool SetDefaultOption(const String& AName, const String& AValue);
    bool SetDefaultIntOption(const String& AName, int64_t AValue);
    void SetFormat(const String& AValue) override;
    void SetVerbose(int AValue) { Fverbose = AValue; }
    void SetBitrate(const String& AName, const String& AValue);
    void SetFrameRate(const String& AValue) override;
    void SetFrameSize(const String& AValue);
    void SetCropTop(int ACrop) override;
    void SetCropBottom(int ACrop) override;
    void SetCropLeft(int ACrop) override;
    void SetCropRight(int ACrop) override;
    void SetPixelFormat(const String& AValue);
    void SetSampleFormat(const String& AValue);
    void SetAspectRatio(const String& AValue) override;
    void AddMetadata(const String& AValue);
    void AddMetadataPair(const String& AKey, const String& AValue) override;
    void SetQScale(double AValue);
    void SetVideoCodec(const String& AValue);
    void SetAudioCodec(const String& AValue);
    void SetSubtitleCodec(const String& AValue);
    void SetVideoTag(const String& AValue) override;
    void SetAudioTag(const String& AValue) override;
    void SetSubtitleTag(const String& AValue);
    void SetVideoFilters(const String& AValue);
    void AddVideoHook(const String& AValue);
    void AddStreamMap(const String& AValue);
    void AddMetaDataMap(const String& AValue);
    void SetInputTSScale(const String& AValue);
    int64_t ParseTime(const String& AOption, const String& AText, bool AIsDuration);
    void SetRecordingTime(int64_t ATime) override;
    void SetStartTime(int64_t ATime) override;
    void SetProgramID(int AProgramID) override;
    void SetAudioSampleRate(int ARate) override;
    void SetAudioChannels(int AChannels) override;
    void SetAudioVolume(int AVolume) override;
    void SetAudioSyncMethod(int AMethod) override { Faudio_sync_method = AMethod; }
    void SetVideoSyncMethod(int AMethod) override { Fvideo_sync_method = AMethod; }
    void SetMuxMaxDelay(double ASeconds) override;
    void SetMuxPreload(double ASeconds) override;
    void SetStreamId(const String& AName, const String& AValue);
    void SetPass(int APass);
    void SetIntraMatrix(const String& AValue);
    void SetInterMatrix(const String& AValue);
    void SetVStatsFile(const String& AName);
    void SetVStats(bool AOn);
    void AddBitstreamFilter(const String& AOption, const String& AValue);
    bool FindCodec(const String& AName, AVMediaType AType, AVCodecID& ACodecID, int AStrict,
                   bool AEncoder, const AVCodec** ACodec = nullptr);

    // Fields written by the option records directly
    void SetAudioDisable(bool AValue) override { Faudio_disable = AValue; }
    void SetVideoDisable(bool AValue) override { Fvideo_disable = AValue; }
    void SetSubtitleDisable(bool AValue) override { Fsubtitle_disable = AValue; }
    void SetAudioLanguage(const String& AValue) override { Faudio_language = AValue; }
    void SetVideoLanguage(const String& AValue) override { Fvideo_language = AValue; }
    void SetSubtitleLanguage(const String& AValue) override { Fsubtitle_language = AValue; }
    void SetInputSync(bool AValue) override { Finput_sync = AValue; }
    void SetCopyTimestamp(bool AValue) override { Fcopy_ts = AValue; }
    void SetRecordingTimestamp(int64_t ASeconds) override { Frecording_timestamp = ASeconds; }

    // Targets and presets
    void SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm) override;
    void SetTargetOption(const String& AValue);
    void LoadPreset(const String& AOption, const String& AName) override;

    const String& LastErrMsg() const { return FLastErrMsg; }

    int64_t ReportInterval = 500000;   // microseconds between progress reports
    int64_t PreviewInterval = 100000;  // microseconds between preview pictures

    FFmpeg::TProgressEvent FOnProgress;
    FFmpeg::TPreviewBitmapEvent FOnPreviewBitmap;
    FFmpeg::TCustomHookEvent FOnCustomHook;
    TNotifyEvent FOnTerminate;

    // The conversion loop calls this at every packet boundary: it returns at once unless
    // the transcoder is paused, and then waits until it is resumed or stopped.
    void WaitWhilePaused();
    bool Paused() const;

protected:
    friend class TConvertThread;
    friend class FFmpeg::TDoTerminateThread;

    void DoConvert();
    void DoTerminate();
    // The conversion proper: setup, packet loop and teardown.
    void Transcode();
    void FreeEncoderList();
    void FreeDecoderList();
    void Log(TLogLevel ALevel, const String& AMsg);
    // Checked access to the per-file tables.
    TOutputStreamCodec& OutputStreamCodec(int AFile, int AStream);
    void ResetOutputTables(int AFile);
    void FreeOutputContext(AVFormatContext*& AContext, int AFileIndex);

public:
    // ---- Per-file tables (sized once by the constructor) ----
    int FMaxFiles;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<int64_t> Finput_files_ts_offset;
    std::vector<std::array<double, MAX_STREAMS>> Finput_files_ts_scale;
    std::vector<const AVCodec*> Finput_codecs;   // FMaxFiles * MAX_STREAMS decoder choices
    int Fnb_input_files = 0, Fnb_icodecs = 0;
    std::vector<AVFormatContext*> Foutput_files;
    std::vector<const AVCodec*> Foutput_codecs;  // FMaxFiles * MAX_STREAMS encoder choices
    int Fnb_output_files = 0, Fnb_ocodecs = 0;
    std::vector<std::array<TOutputStreamCodec, MAX_STREAMS>> Foutput_streams;  // per output file
    std::vector<TAVStreamMap> Fstream_maps;           // FMaxFiles * MAX_STREAMS
    int Fnb_stream_maps = 0;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;      // FMaxFiles
    int Fnb_meta_data_maps = 0;
    std::array<int, MAX_STREAMS> Fstreamid_map{};

    // ---- Option state ----
    String Flast_asked_format;
    int Fframe_width = 0, Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    AVSampleFormat Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    int Fframe_topBand = 0, Fframe_bottomBand = 0, Fframe_leftBand = 0, Fframe_rightBand = 0;
    std::array<int, 4> Fmax_frames{};  // by media type: video, audio, data, subtitle
    AVRational Fframe_rate{0, 0};
    float Fvideo_qscale = 0;
    std::vector<uint16_t> Fintra_matrix, Finter_matrix;  // 64 coefficients, empty when none
    String Fvideo_rc_override_string;
    bool Fvideo_disable = false;
    int Fvideo_discard = 0;
    String Fvideo_codec_name;
    uint32_t Fvideo_codec_tag = 0;
    String Fvideo_language;
    bool Fsame_quality = false, Fdo_deinterlace = false;
    int Ftop_field_first = -1;
    int Fme_threshold = 0;
    int Fintra_dc_precision = 8;
    bool Floop_input = false;
    int Floop_output = -1;
    bool Fqp_hist = false;
    String Fvfilters;
    bool FEnableFilter = false;
    AVFilterGraph* Fgraph = nullptr;
    bool Fintra_only = false;
    int Faudio_sample_rate = 44100;
    AVChannelLayout Fchannel_layout{};
    float Faudio_qscale = NoAudioQScale;
    bool Faudio_disable = false;
    int Faudio_channels = 2;
    String Faudio_codec_name;
    uint32_t Faudio_codec_tag = 0;
    String Faudio_language;
    bool Fsubtitle_disable = false;
    String Fsubtitle_codec_name;
    String Fsubtitle_language;
    uint32_t Fsubtitle_codec_tag = 0;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    int64_t Frecording_time = INT64_MAX;
    int64_t Fstart_time = 0;
    int64_t Frecording_timestamp = 0;
    int64_t Finput_ts_offset = 0;
    std::vector<std::pair<String, String>> Fmetadata;  // for the next output file
    bool Fdo_hex_dump = false, Fdo_pkt_dump = false, Fdo_psnr = false;
    int Fdo_pass = 0;
    String Fpass_logfilename_prefix;
    int Faudio_stream_copy = 0, Fvideo_stream_copy = 0, Fsubtitle_stream_copy = 0;
    int Fvideo_sync_method = -1;
    int Faudio_sync_method = 0;
    float Faudio_drift_threshold = 0.1f;
    bool Fcopy_ts = false;
    bool Fopt_shortest = false;
    int Fvideo_global_header = 0;
    String Fvstats_filename;
    FILE* Fvstats_file = nullptr;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    bool Frate_emu = false;
    int Fvideo_channel = 0;
    String Fvideo_standard;
    int Faudio_volume = 256;
    bool Fexit_on_error = false;
    bool Fusing_vhook = false;
    int Fverbose = 1;
    int Fthread_count = 1;
    int64_t Fvideo_size = 0, Faudio_size = 0, Fextra_size = 0;
    int Fnb_frames_dup = 0, Fnb_frames_drop = 0;
    bool FShowDupOrDrop = false;
    bool Finput_sync = false;
    int64_t Flimit_filesize = 0;
    bool Fforce_fps = false;
    int Fpgmyuv_compatibility_hack = 0;
    float Fdts_delta_threshold = 10;
    unsigned Fsws_flags = SWS_BICUBIC;
    TFFOptions FOptions;

    // ---- Working state ----
    int64_t Ftimer_start = 0;
    std::vector<const AVBitStreamFilter*> Fvideo_bitstream_filters, Faudio_bitstream_filters,
        Fsubtitle_bitstream_filters;
    std::vector<AVCodecContext*> FEncoderList, FDecoderList;  // opened codecs, newest first
    TThread* FThread = nullptr;
    TEvent FStopEvent{true, true}, FTermEvent{true, true};  // manual reset, signalled
    void* FFirstHook = nullptr;  // first loaded frame hook
    TPostHooks FPostHooks;
    bool FJoinMode = false;
    std::atomic<bool> FConverting{false}, FBroken{false}, FFinished{false}, FTerminated{false};
    bool FFatalException = false;
    String FFatalMessage;
    int64_t FTotalOutputDuration = -1;
    String FLastErrMsg;

private:
    void InitTables();
    void FreeCodecNames();
    void SetMatrix(std::vector<uint16_t>& AMatrix, const String& AValue);
    void SetTag(uint32_t& ATag, const String& AValue, const char* AKind);
    void SetCrop(int& ABand, int& ASize, int ACrop, bool AVertical, const char* AName);
    void ChooseNorm(const String& ANorm, const String& ADefaultNorm, int& ANormKind);
    void ApplyPresetText(const String& APresetName, const String& AText);
    bool OpenOutputFileInner(const String& AFileName, bool AJoin, AVFormatContext*& AContext, int& AIndex);
    // Adds a stream to AOutput; returns the output file index its tables are kept under.
    int NewStream(AVFormatContext* AOutput, AVStream*& AStream);

    std::atomic<bool> FTerminatePending{false};
    mutable std::mutex FPauseLock;
    std::condition_variable FPauseCond;
    bool FPaused = false;
};

// Encoder names the application uses that FFmpeg 5.1 no longer has, mapped to the encoder
// that takes their place ("libfaac" -> "aac"); any other name is returned unchanged.
String CodecAlias(const String& AName);

// Chooses, for an encoder's lists, the sample format, pixel format and sample rate of a
// stream: the stream's own when listed (or no list), else the first listed / the nearest
// rate (the first of equally near ones).
void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec);
void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec);
void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
// The rate of ARates (ended by 0) nearest to ARate, the first of equally near ones.
int NearestSampleRate(int ARate, const int* ARates);

// The built-in encoder presets.
struct TOptionsPreset {
    String Name;
    String Value;
};
const std::vector<TOptionsPreset>& BuiltinPresets();
// The Value of the first built-in preset whose Name equals AName ignoring case; empty when none.
String FindBuiltinPreset(const String& AName);
