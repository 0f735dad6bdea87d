// The transcoder: one object carries out one conversion task, reading input files and
// writing output files through FFmpeg, configured the way a command-line transcoder is
// (option names and values in order; input options before the input is opened, output
// options before the output is opened).  The whole option state lives in the object, so
// any number of transcoders run at once, each on its own thread.
//
// Files: FFmpegObject.cpp (life cycle and threads), FFmpegOptions.cpp (the option
// dispatcher and setters), FFmpegPresets.cpp (targets and encoder presets),
// FFmpegInput.cpp (opening inputs), FFmpegOutput.cpp (opening outputs and new streams),
// and the conversion run: FFmpegSetup.cpp (working tables, codecs, filters, headers),
// FFmpegTranscode.cpp (the packet loop, decoding, stream copy, packet writing),
// FFmpegAudio.cpp (audio and subtitle output), FFmpegVideo.cpp (video output, frame
// hooks, preview pictures), FFmpegReport.cpp (progress report, video statistics).
#pragma once

#include "engine/common/FFUtils.h"
#include "engine/libs/FFmpegLogger.h"
#include "engine/libs/FFmpegHeaders.h"
#include "engine/transcode/FrameHook.h"
#include "engine/libs/OutputTarget.h"
#include "engine/transcode/TaskOptions.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Threads.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
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
// One decoded picture is repeated to fill at most this much output time, and never more
// than MaxPictureFrames times.
constexpr double MaxPictureSeconds = 10.0;
constexpr int MaxPictureFrames = 600;

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
class TBitmap;

// The window that shows a running conversion's pictures.
class TPreviewSink {
public:
    virtual ~TPreviewSink() = default;
    // Shows one picture; false once the user has closed the window.
    virtual bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS) = 0;
};
// Makes the preview window of a transcoder that shows its pictures (phPreview); when
// empty, the engine's own preview window (TPreviewer) is made.
extern std::function<std::shared_ptr<TPreviewSink>()> PreviewWindowFactory;

// ---------------------------------------------------------------------------------
// Working tables of a conversion (built by the setup, freed by the teardown)

struct TAVInputFile {
    int eof_reached = 0;  // the file is exhausted
    int ist_index = 0;    // its first stream in the input stream table
    int buffer_size = 0;
    int nb_streams = 0;
};

struct TAVInputStream {
    int file_index = 0, index = 0;
    AVStream* st = nullptr;
    AVCodecContext* dec = nullptr;  // the decoder, made by the setup when decoding is needed
    int discard = 1;                // no output stream takes this stream
    int decoding_needed = 0;
    int64_t start = 0;                     // wall clock when reading began (rate emulation)
    int64_t next_pts = AV_NOPTS_VALUE;     // expected time of the next decoded data, microseconds
    int64_t pts = 0;                       // current time, microseconds
    int64_t next_dts = AV_NOPTS_VALUE;     // expected decoding time of the next packet, microseconds
    int64_t dts = AV_NOPTS_VALUE;          // decoding time of the last packet, microseconds
    int is_start = 1;                      // audio may be corrected hard
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    float quality = 0;                     // of the last decoded picture
    // The video filter graph of this stream and its ends.
    AVFilterGraph* graph = nullptr;
    AVFilterContext* input_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    AVFrame* filter_frame = nullptr;  // a picture taken from the graph
    AVFrame* frame = nullptr;         // the last decoded frame
    int64_t decoded_frames = 0, decode_errors = 0;
};

struct TAVOutputStream {
    // The stream's media type: the encoder's, or for a copy the stream's parameters'.
    AVMediaType Type() const { return enc ? enc->codec_type : st->codecpar->codec_type; }

    int file_index = 0, index = 0;  // output file entry and stream index in it
    int source_index = 0;           // the feeding input stream
    AVFormatContext* oc = nullptr;
    AVStream* st = nullptr;
    AVCodecContext* enc = nullptr;  // the encoder context, or the copy's parameters
    TOutputStreamCodec* codec = nullptr;
    int encoding_needed = 0;
    int encoder_opened = 0, encoder_flushed = 0;
    int frame_number = 0;           // frames written
    int dup_limited = 0;            // the repetition of a picture was cut short (warned once)
    int packets_written = 0;
    TAVInputStream* sync_ist = nullptr;
    int64_t sync_opts = 0;          // output position in encoder time-base units
    int64_t last_frame_pts = AV_NOPTS_VALUE;  // the last picture sent to the encoder
    // video
    int video_resample = 0;
    AVFrame* pict_tmp = nullptr;    // scaled picture in the encoder's format
    SwsContext* img_resample_ctx = nullptr;
    int resample_height = 0, resample_width = 0;
    int resample_pix_fmt = AV_PIX_FMT_NONE;
    int original_height = 0, original_width = 0;
    int video_crop = 0;
    AVFrame* crop_frame = nullptr;  // the cropped view of a picture
    int topBand = 0, bottomBand = 0, leftBand = 0, rightBand = 0;
    int original_topBand = 0, original_bottomBand = 0, original_leftBand = 0, original_rightBand = 0;
    // audio
    int audio_resample = 0;
    SwrContext* resample = nullptr;     // converts decoded samples into the encoder's format
    int resample_in_fmt = -1, resample_in_rate = 0;
    AVChannelLayout resample_in_layout{};
    AVAudioFifo* fifo = nullptr;        // encoder-format samples waiting for a whole frame
    AVFrame* audio_frame = nullptr;     // one encoder frame
    std::vector<uint8_t*> audio_buf;    // converted samples (one av_samples_alloc block)
    int audio_buf_samples = 0;
    int audio_started = 0;
    FILE* logfile = nullptr;            // pass-1 statistics
    std::vector<AVBSFContext*> bsfs;    // the stream's bitstream filters, in order
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 1;
    // The last coded picture, from the packet's quality side data.
    int coded_quality = 0;
    int coded_pict_type = 0;
    uint64_t coded_error[4] = {};
    bool coded_has_error = false;
    uint64_t total_error[4] = {};
    // The end of the last packet written, in the stream's time base.
    int64_t cur_dts = AV_NOPTS_VALUE;
};

// A packet that is freed with its owner.
struct TPacketFree {
    void operator()(AVPacket* APacket) const;
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFree>;

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
// It is held only while the set or the window changes, never while a picture is shown.
extern TCriticalSection PreviewHookLock;

// The process-wide quantiser histogram of the progress lines (52 bins).
extern std::atomic<int> QPHistogram[52];

// Copies the chapters of AInput into AOutput for a conversion that starts AOffset
// microseconds into the input and lasts ARecordingTime microseconds (INT64_MAX: open):
// chapters that end before the start are left out, the copy stops at the first chapter
// that starts after the end, and each copy is cut to the converted part.
void CopyChapters(const AVFormatContext* AInput, AVFormatContext* AOutput, int64_t AOffset, int64_t ARecordingTime);

// Multiplies 16-bit samples by AVolume / 256 (rounded), clipped to the 16-bit range.
void ScaleSamples16(int16_t* ASamples, size_t ACount, int AVolume);
// The same for every sample of a decoded audio frame, in its own sample format.
void ScaleAudioFrame(AVFrame* AFrame, int AVolume);

// Deinterlaces a planar YUV or grey picture with the 5-tap vertical filter (-1 4 2 4 -1)/8;
// false for other formats and for sizes that are not multiples of 4.
bool DeinterlacePicture(AVFrame* ADest, const AVFrame* ASource);

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
    // Threads each codec of the conversion opens with, given by the owner from the cores
    // it leaves to this conversion: 0 lets each codec size its threads to the whole machine
    // as it prefers; -1 leaves the count at the option state's.
    int CodecThreads = -1;

    FFmpeg::TProgressEvent FOnProgress;
    FFmpeg::TPreviewBitmapEvent FOnPreviewBitmap;
    FFmpeg::TCustomHookEvent FOnCustomHook;
    TNotifyEvent FOnTerminate;

    // The conversion loop calls this at every packet boundary: it returns at once unless
    // the transcoder is paused, and then waits until it is resumed or stopped.
    void WaitWhilePaused();
    bool Paused() const;

    // The wall clock of the conversion in microseconds (progress, fps, preview spacing);
    // tests may put another clock in its place.
    std::function<int64_t()> Clock;
    int64_t ClockMicro() const;

protected:
    friend class TConvertThread;
    friend class FFmpeg::TDoTerminateThread;

    void DoConvert();
    void DoTerminate();
    // Called before the transcoder closes its input files.
    virtual void BeforeCloseInputs() {}

public:
    // ---- The conversion run ----
    // The conversion proper: setup, packet loop and teardown.
    void Transcode();
    // Setup: working tables, sources, copy and encode setup, codecs, headers.
    void SetupTranscode();
    void SetupCopy(TAVOutputStream* AOst, TAVInputStream* AIst);
    void SetupEncode(TAVOutputStream* AOst, TAVInputStream* AIst);
    void SetupPassLog(TAVOutputStream* AOst, int AStreamNumber);
    int ConfigureFilters(TAVInputStream* AIst, TAVOutputStream* AOst);
    void SetupBitstreamFilters(TAVOutputStream* AOst);
    // The scaler flags, read back from the option store ("sws_flags") into Fsws_flags.
    unsigned ReadSwsFlags();
    // The stream's scaled picture, in the encoder's format and size (made once).
    void AllocPictTmp(TAVOutputStream* AOst);
    void OpenEncoders();
    void OpenDecoders();
    // The thread count a codec of this conversion opens with.
    int OpenThreadCount() const { return CodecThreads >= 0 ? CodecThreads : Fthread_count; }
    void CloseEncoders();
    void CloseDecoders();
    void WriteHeaders();
    void DumpStreamMapping();
    void TeardownTables();
    // The loop and the packet path.
    void TranscodeLoop();
    bool JoinNextInput(int AFile);
    int OutputPacket(TAVInputStream* AIst, const AVPacket* APacket);
    void OutputFrame(TAVInputStream* AIst, AVFrame* AFrame);
    void OutputVideoFrame(TAVInputStream* AIst, AVFrame* AFrame);
    void CopyPacket(TAVOutputStream* AOst, TAVInputStream* AIst, const AVPacket* APacket);
    // Hands a packet of AIst to every output stream that copies it.
    void CopyToOutputs(TAVInputStream* AIst, const AVPacket* APacket);
    // Writes a packet through the stream's bitstream filters (from AIndex on) and the muxer.
    void WritePacket(TAVOutputStream* AOst, AVPacket* APacket);
    void FilterPacket(TAVOutputStream* AOst, size_t AIndex, AVPacket* APacket);
    void MuxPacket(TAVOutputStream* AOst, AVPacket* APacket);
    void FlushEncoder(TAVOutputStream* AOst);
    // Takes every packet the encoder has ready and writes it; the bytes written.
    int ReceivePackets(TAVOutputStream* AOst);
    // Audio and subtitles.
    void AudioOut(TAVOutputStream* AOst, TAVInputStream* AIst, const AVFrame* AFrame);
    void EncodeAudioSamples(TAVOutputStream* AOst, uint8_t* const* AData, int ACount);
    void EncodeAudioFifo(TAVOutputStream* AOst, int ASamples);
    void InsertSilence(TAVOutputStream* AOst, int ASamples);
    void SubtitleOut(TAVOutputStream* AOst, TAVInputStream* AIst, AVSubtitle* ASub, int64_t APTS);
    // Video.
    int VideoOut(TAVOutputStream* AOst, TAVInputStream* AIst, AVFrame* APicture);
    void PreprocessVideoFrame(TAVInputStream* AIst, AVFrame* APicture);
    void RunCustomHook(AVFrame* APicture, int64_t APTS);
    void RunPostHooks(const AVFrame* APicture, int64_t APTS);
    // Progress.
    void ReportProgress(bool AIsLast, int AFileIndex);
    void WriteVideoStats(TAVOutputStream* AOst, int AFrameSize);
    // The current output time of a stream in seconds (copied streams: the last packet
    // written; encoded streams: the position sent to the encoder).
    double OutputTime(const TAVOutputStream* AOst) const;
    // The video sync method in effect for AOst (-1 resolved by the container).
    int VideoSyncMethod(const TAVOutputStream* AOst) const;

protected:
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
    std::vector<TOutputTarget> Foutput_targets;  // per output file: the local file and its temporary
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
    std::atomic<TThread*> FThread{nullptr};  // set by the starter, cleared by the worker
    TEvent FStopEvent{true, true}, FTermEvent{true, true};  // manual reset, signalled
    TFrameHookEntry* FFirstHook = nullptr;  // the loaded frame hooks ("vhook")
    TPostHooks FPostHooks;
    bool FJoinMode = false;
    std::atomic<bool> FConverting{false}, FBroken{false}, FFinished{false}, FTerminated{false};
    bool FFatalException = false;
    String FFatalMessage;
    int64_t FTotalOutputDuration = -1;
    String FLastErrMsg;

    // The working tables of the conversion that runs.
    std::vector<TAVInputFile> Ffile_table;
    std::vector<std::unique_ptr<TAVInputStream>> Fist_table;
    std::vector<std::unique_ptr<TAVOutputStream>> Fost_table;
    std::vector<uint8_t> Fno_packet;  // per input file: no packet right now
    int Fno_packet_count = 0;
    int Fjoin_current = 0;            // join mode: the input being read
    int Fnb_decode_failures = 0;
    AVFrame* FHookFrame = nullptr;    // the deinterlaced or hooked picture (FHookBuf)
    int FHookBufSize = 0;
    struct TCustomHookContext {
        TRGBConvertContext Context;
        SwsContext* fromRGB_convert_ctx = nullptr;
    } FHookContext;
    int FHookFrameNumber = 0;
    struct TPostHookContext {
        TRGBConvertContext Context;
        std::shared_ptr<TPreviewSink> Previewer;
        int64_t preview_last_time = 0, preview_cur_time = 0;
        bool first = true;
    } FPostContext;
    uint8_t* Fsubtitle_out = nullptr;  // 1 MiB, made on first use
    AVPacket* FPacket = nullptr;       // the encoders' output packet

private:
    void InitTables();
    void FreeCodecNames();
    void SetMatrix(std::vector<uint16_t>& AMatrix, const String& AValue);
    void SetTag(uint32_t& ATag, const String& AValue, const char* AKind);
    void SetCrop(int& ABand, int& ASize, int ACrop, bool AVertical, const char* AName);
    void ChooseNorm(const String& ANorm, const String& ADefaultNorm, int& ANormKind);
    void ApplyPresetText(const String& APresetName, const String& AText);
    bool OpenOutputFileInner(const String& AFileName, bool AJoin, AVFormatContext*& AContext, int& AIndex);
    // The input already open that is the same file as ALocalFile, else an empty text.
    String InputOfSameFile(const String& ALocalFile) const;
    // The end of a run that did not fail: every output file closed (a failing close
    // raises with the system's reason) and put in place of its target.
    void FinishOutputFiles();
    // The packets written to output file AFile so far.
    int PacketsWritten(int AFile) const;
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

// Chooses, for an encoder's lists, the sample format and pixel format of a stream: the
// stream's own when listed (or no list), else the first listed.
void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec);
void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec);

// The fitting of a stream's parameters to its encoder, before the encoder opens: each
// value the encoder would refuse becomes the nearest it takes, and each such replacement
// is logged at llInfo as "<what> <value> fitted to <value> for encoder <name>" (what:
// "frame size", "frame rate", "sample rate", "channel layout", "bit rate").
// The frame size: H.263's five sizes (the nearest by area); otherwise each dimension down
// to a multiple of the pixel format's chroma subsampling, and of 16 for RealVideo 1 and 2.
// Needs the context's pixel format chosen.
void FitFrameSize(AVCodecContext* AContext, const AVCodec* ACodec);
// The frame rate: the nearest of the encoder's list; for MPEG-1 video, of the standard
// coded rates unless AStrict (the context's compliance) allows unofficial streams.
AVRational FitFrameRate(AVRational ARate, const AVCodec* ACodec, int AStrict);
// The sample rate: the nearest of the encoder's list (the first of equally near ones).
void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
// The frame size and rate the container AFormat carries: RealMedia takes whole frame
// rates and pictures of at most 1280x720's area (larger ones are scaled down to it).
void FitVideoToFormat(const AVOutputFormat* AFormat, AVCodecContext* AContext, AVRational& ARate,
                      const AVCodec* ACodec);
// The sample rate the container AFormat carries the encoder's stream at: MP3 in the MP4
// family at 16 kHz and above (the nearest such rate of the encoder's list).
void FitSampleRateToFormat(const AVOutputFormat* AFormat, AVCodecContext* AContext, const AVCodec* ACodec);
// The rate of ARates (ended by 0) nearest to ARate, the first of equally near ones.
int NearestSampleRate(int ARate, const int* ARates);
// The bit rate nearest to ABitRate that encoder AId takes at ASampleRate (the lower of two
// equally near ones); ABitRate itself for encoders without a fixed set of rates.
int64_t NearestAllowedBitRate(AVCodecID AId, int ASampleRate, int64_t ABitRate);
// The bit rate nearest to ABitRate that ACodec takes at ASampleRate with AChannels: MPEG
// audio layer II's table, libvorbis's range for the rate and channels, WMA's 24 kbit/s
// least; else ABitRate.
int64_t AllowedBitRate(const AVCodec* ACodec, int ASampleRate, int AChannels, int64_t ABitRate);
// Fits an audio encoder's channel layout (the nearest count of its list) and bit rate
// (AllowedBitRate) to what ACodec takes; the sample rate must be fitted first.
void FitAudioToEncoder(AVCodecContext* AContext, const AVCodec* ACodec);

// The built-in encoder presets.
struct TOptionsPreset {
    String Name;
    String Value;
};
const std::vector<TOptionsPreset>& BuiltinPresets();
// The Value of the first built-in preset whose Name equals AName ignoring case; empty when none.
String FindBuiltinPreset(const String& AName);
