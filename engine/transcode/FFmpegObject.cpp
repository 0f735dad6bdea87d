// The transcoder's life cycle: construction, option defaults, closing files, starting,
// stopping, pausing and terminating a conversion, and its threads.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"

#include <cstdio>

TCriticalSection PreviewHookLock;
std::function<std::shared_ptr<TPreviewSink>()> PreviewWindowFactory;
std::atomic<int> QPHistogram[52];

namespace {
void ClearChannelLayout(AVChannelLayout& ALayout)
{
    if (AV.av_channel_layout_uninit) AV.av_channel_layout_uninit(&ALayout);
    ALayout = AVChannelLayout{};
}
}  // namespace

// ---------------------------------------------------------------------------------
// Threads

TConvertThread::TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority) : TThread(true), FOwner(AOwner)
{
    SetFreeOnTerminate(true);
    SetPriority(APriority);
    if (FOwner) FOwner->FStopEvent.ResetEvent();
}

void TConvertThread::Execute()
{
    if (!FOwner) return;
    TScopeExit signal([this] { FOwner->FStopEvent.SetEvent(); });
    FOwner->DoConvert();
}

FFmpeg::TDoTerminateThread::TDoTerminateThread(TCustomFFmpeg* AOwner) : TThread(true), FOwner(AOwner)
{
    SetFreeOnTerminate(true);
    if (FOwner) FOwner->FTermEvent.ResetEvent();
    Start();
}

void FFmpeg::TDoTerminateThread::Execute()
{
    if (!FOwner) return;
    TScopeExit signal([this] { FOwner->FTermEvent.SetEvent(); });
    FOwner->DoTerminate();
}

// ---------------------------------------------------------------------------------
// Construction and defaults

TCustomFFmpeg::TCustomFFmpeg(int AMaxFiles) : FMaxFiles(AMaxFiles)
{
    if (AMaxFiles < 1 || AMaxFiles > 512)
        throw EAssertionFailed(Format("The transcoder takes 1 to 512 files, not %d", AMaxFiles));
    InitTables();
    ClearOptionStore(FOptions);
    ResetOptions();
}

TCustomFFmpeg::~TCustomFFmpeg()
{
    Stop(true);
    // A termination still being delivered on its own thread must not outlive the object;
    // its handler may be waiting for the GUI thread, which is served meanwhile.
    while (FTermEvent.WaitFor(20) != wrSignaled)
        if (IsMainThread()) CheckSynchronize();
    CloseFiles();
    // Temporary outputs go even when the libraries are gone and CloseFiles could not run.
    for (TOutputTarget& target : Foutput_targets) DiscardOutputTarget(target);
    ClearChannelLayout(Fchannel_layout);
}

void TCustomFFmpeg::InitTables()
{
    Finput_files.assign(FMaxFiles, nullptr);
    Finput_files_ts_offset.assign(FMaxFiles, 0);
    Finput_files_ts_scale.assign(FMaxFiles, {});
    Finput_codecs.assign(size_t(FMaxFiles) * MAX_STREAMS, nullptr);
    Foutput_files.assign(FMaxFiles, nullptr);
    Foutput_targets.assign(FMaxFiles, {});
    Foutput_codecs.assign(size_t(FMaxFiles) * MAX_STREAMS, nullptr);
    Foutput_streams.resize(FMaxFiles);
    Fstream_maps.assign(size_t(FMaxFiles) * MAX_STREAMS, {});
    Fmeta_data_maps.assign(FMaxFiles, {});
}

void TCustomFFmpeg::Log(TLogLevel ALevel, const String& AMsg) { GlobalLogger()->Log(this, ALevel, AMsg); }

void TCustomFFmpeg::Reset()
{
    if (!FFLoader().Loaded(TaskLibraries)) return;
    CloseFiles();
    ResetOptions();
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTerminatePending = false;
    FTotalOutputDuration = -1;
    CreateOptionStore(FOptions, int(Fsws_flags));
}

void TCustomFFmpeg::ResetOptions()
{
    Flast_asked_format.clear();
    Fframe_width = Fframe_height = 0;
    Fframe_aspect_ratio = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
    Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    Fframe_topBand = Fframe_bottomBand = Fframe_leftBand = Fframe_rightBand = 0;
    Fmax_frames.fill(INT32_MAX);
    Fframe_rate = {0, 0};
    Fvideo_qscale = 0;
    Fintra_matrix.clear();
    Finter_matrix.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_disable = false;
    Fvideo_discard = 0;
    Fvideo_codec_name.clear();
    Fvideo_codec_tag = 0;
    Fvideo_language.clear();
    Fsame_quality = Fdo_deinterlace = false;
    Ftop_field_first = -1;
    Fme_threshold = 0;
    Fintra_dc_precision = 8;
    Floop_input = false;
    Floop_output = -1;
    Fqp_hist = false;
    Fvfilters.clear();
    FEnableFilter = false;
    Fgraph = nullptr;
    Fintra_only = false;
    Faudio_sample_rate = 44100;
    ClearChannelLayout(Fchannel_layout);
    Faudio_qscale = NoAudioQScale;
    Faudio_disable = false;
    Faudio_channels = 2;
    Faudio_codec_name.clear();
    Faudio_codec_tag = 0;
    Faudio_language.clear();
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    Fmux_preload = 0.5f;
    Fmux_max_delay = 0.7f;
    Frecording_time = INT64_MAX;
    Fstart_time = 0;
    Frecording_timestamp = 0;
    Finput_ts_offset = 0;
    Fmetadata.clear();
    Fdo_hex_dump = Fdo_pkt_dump = Fdo_psnr = false;
    Fdo_pass = 0;
    Fpass_logfilename_prefix.clear();
    Faudio_stream_copy = Fvideo_stream_copy = Fsubtitle_stream_copy = 0;
    Fvideo_sync_method = -1;
    Faudio_sync_method = 0;
    Faudio_drift_threshold = 0.1f;
    Fcopy_ts = false;
    Fopt_shortest = false;
    Fvideo_global_header = 0;
    Fvstats_filename.clear();
    Fvstats_file = nullptr;
    Fopt_programid = 0;
    Fcopy_initial_nonkeyframes = 0;
    Frate_emu = false;
    Fvideo_channel = 0;
    Fvideo_standard.clear();
    Faudio_volume = 256;
    Fexit_on_error = false;
    Fusing_vhook = false;
    Fverbose = 1;
    Fthread_count = 1;
    Fvideo_size = Faudio_size = Fextra_size = 0;
    Fnb_frames_dup = Fnb_frames_drop = 0;
    FShowDupOrDrop = false;
    Finput_sync = false;
    Flimit_filesize = 0;
    Fforce_fps = false;
    Fpgmyuv_compatibility_hack = 0;
    Fdts_delta_threshold = 10;
    Fsws_flags = SWS_BICUBIC;
    ClearOptionStore(FOptions);

    Fnb_input_files = Fnb_icodecs = 0;
    Fnb_output_files = Fnb_ocodecs = 0;
    Fnb_stream_maps = Fnb_meta_data_maps = 0;
    Fstreamid_map.fill(0);
    Fvideo_bitstream_filters.clear();
    Faudio_bitstream_filters.clear();
    Fsubtitle_bitstream_filters.clear();
    FThread = nullptr;
    FTotalOutputDuration = -1;
    ReleaseFrameHooks(&FFirstHook);
    FPostHooks = {};
    FFatalException = false;
}

void TCustomFFmpeg::FreeOutputContext(AVFormatContext*& AContext, int AFileIndex)
{
    if (!AContext) return;
    bool hadFile = AContext->oformat && !(AContext->oformat->flags & AVFMT_NOFILE) && AContext->pb;
    if (hadFile) CloseOutputIO(&AContext->pb);
    // An output not put in place by a successful run: its temporary file goes, and the
    // file it was to replace stays as it was.
    if (AFileIndex >= 0) {
        DiscardOutputTarget(Foutput_targets[size_t(AFileIndex)]);
        ResetOutputTables(AFileIndex);
    }
    AV.avformat_free_context(AContext);
    AContext = nullptr;
}

void TCustomFFmpeg::ResetOutputTables(int AFile)
{
    for (TOutputStreamCodec& s : Foutput_streams[AFile]) {
        if (s.enc) AV.avcodec_free_context(&s.enc);
        s = TOutputStreamCodec();
    }
}

TOutputStreamCodec& TCustomFFmpeg::OutputStreamCodec(int AFile, int AStream)
{
    if (AFile < 0 || AFile >= FMaxFiles || AStream < 0 || AStream >= MAX_STREAMS)
        throw FFmpegException(Format("Output stream #%d.%d is outside the transcoder's tables", AFile, AStream));
    return Foutput_streams[AFile][AStream];
}

void TCustomFFmpeg::CloseFiles()
{
    if (!FFLoader().Loaded(TaskLibraries)) return;
    FreeOptionStore(FOptions);
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) {
            Foutput_files[i] = nullptr;  // every entry designates the first one's context
            continue;
        }
        FreeOutputContext(Foutput_files[i], i);
    }
    BeforeCloseInputs();
    for (int i = 0; i < Fnb_input_files; ++i)
        if (Finput_files[i]) CloseInputURL(&Finput_files[i]);
    for (auto& row : Finput_files_ts_scale) row.fill(0);
    std::fill(Finput_codecs.begin(), Finput_codecs.end(), nullptr);
    std::fill(Foutput_codecs.begin(), Foutput_codecs.end(), nullptr);
    Fintra_matrix.clear();
    Finter_matrix.clear();
    if (Fvstats_file) {
        std::fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.clear();
    FreeCodecNames();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    Fgraph = nullptr;  // the graphs belong to the input streams of the conversion
    Fnb_input_files = Fnb_output_files = 0;
    Fnb_icodecs = Fnb_ocodecs = 0;
    // Hook and preview state.
    ReleaseFrameHooks(&FFirstHook);
    if (FHookFrame) AV.av_frame_free(&FHookFrame);
    FHookBufSize = 0;
    ResetRGBContext(FHookContext.Context);
    if (FHookContext.fromRGB_convert_ctx) AV.sws_freeContext(FHookContext.fromRGB_convert_ctx);
    FHookContext.fromRGB_convert_ctx = nullptr;
    std::shared_ptr<TPreviewSink> previewer;
    {
        TCriticalSectionGuard guard(PreviewHookLock);
        ResetRGBContext(FPostContext.Context);
        previewer = std::move(FPostContext.Previewer);
        FPostContext.preview_last_time = FPostContext.preview_cur_time = 0;
        FPostContext.first = true;
    }
    previewer.reset();  // the window goes outside the lock
    if (Fsubtitle_out) AV.av_freep(&Fsubtitle_out);
    if (FPacket) AV.av_packet_free(&FPacket);
}

void TCustomFFmpeg::FreeCodecNames()
{
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
}

// ---------------------------------------------------------------------------------
// Running

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority)
{
    if (FConverting || FTerminated || FTerminatePending) return nullptr;
    try {
        if (Fnb_output_files <= 0) {
            CloseFiles();
            throw FFmpegException("At least one output file must be specified");
        }
        if (Fnb_input_files <= 0) {
            CloseFiles();
            throw FFmpegException("At least one input file must be specified");
        }
    } catch (const Exception& E) {
        Log(llQuiet, E.Message());
        FFatalException = true;
        FFatalMessage = E.Message();
        FTerminatePending = true;
        DoTerminate();
        return nullptr;
    }
    FConverting = true;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    {
        std::lock_guard<std::mutex> lock(FPauseLock);
        FPaused = false;
    }
    if (!AUseThread) {
        DoConvert();
        return nullptr;
    }
    auto* thread = new TConvertThread(this, APriority);
    FThread = thread;
    return thread;
}

void TCustomFFmpeg::Stop(bool AWaitFor)
{
    FBroken = true;
    {
        std::lock_guard<std::mutex> lock(FPauseLock);
        FPaused = false;
    }
    FPauseCond.notify_all();
    if (!AWaitFor) return;
    // The conversion thread signals FStopEvent when DoConvert has returned.
    while (FStopEvent.WaitFor(20) != wrSignaled) {
        if (IsMainThread()) {
            CheckSynchronize();
            PumpMessages();
        }
    }
}

void TCustomFFmpeg::Terminate(bool AWaitFor)
{
    if (FConverting) {
        Stop(AWaitFor);
        return;
    }
    // Marked at once, so that a second call before the thread has run starts no second one.
    bool expected = false;
    if (!FTerminated && FTerminatePending.compare_exchange_strong(expected, true))
        new FFmpeg::TDoTerminateThread(this);
    if (AWaitFor)
        while (FTermEvent.WaitFor(20) != wrSignaled)
            if (IsMainThread()) CheckSynchronize();
}

void TCustomFFmpeg::Pause()
{
    if (!FConverting || !FThread) return;
    std::lock_guard<std::mutex> lock(FPauseLock);
    FPaused = true;
}

void TCustomFFmpeg::Resume()
{
    {
        std::lock_guard<std::mutex> lock(FPauseLock);
        if (!FPaused) return;
        FPaused = false;
    }
    FPauseCond.notify_all();
}

bool TCustomFFmpeg::Paused() const
{
    std::lock_guard<std::mutex> lock(FPauseLock);
    return FPaused;
}

void TCustomFFmpeg::WaitWhilePaused()
{
    std::unique_lock<std::mutex> lock(FPauseLock);
    FPauseCond.wait(lock, [this] { return !FPaused || FBroken; });
}

void TCustomFFmpeg::SetPostHooks(TPostHooks AValue)
{
    std::shared_ptr<TPreviewSink> previewer;
    {
        TCriticalSectionGuard guard(PreviewHookLock);
        if (AValue == FPostHooks) return;
        // The preview window belongs to the post-hook context; it goes with phPreview.
        if (FPostHooks.Contains(phPreview) && !AValue.Contains(phPreview))
            previewer = std::move(FPostContext.Previewer);
        FPostHooks = AValue;
    }
    // Freed outside the lock: closing the window waits for the GUI thread, which may be
    // waiting for this lock in turn.
    previewer.reset();
}

int64_t TCustomFFmpeg::ClockMicro() const { return Clock ? Clock() : AV.av_gettime_relative(); }

void TCustomFFmpeg::DoConvert()
{
    FFinished = false;
    auto guarded = [this](auto AStep) {
        try {
            AStep();
        } catch (const Exception& E) {
            Log(llQuiet, E.Message());
            FFatalException = true;
            FFatalMessage = E.Message();
        } catch (const std::exception& E) {
            Log(llQuiet, E.what());
            FFatalException = true;
            FFatalMessage = E.what();
        } catch (...) {
            Log(llQuiet, "Unknown error");
            FFatalException = true;
            FFatalMessage = "Unknown error";
        }
    };
    guarded([this] { Transcode(); });
    guarded([this] { FreeEncoderList(); });
    guarded([this] { FreeDecoderList(); });
    guarded([this] { CloseFiles(); });
    guarded([this] { DoTerminate(); });
}

void TCustomFFmpeg::FreeEncoderList()
{
    TCriticalSectionGuard lock(CodecLock);
    for (AVCodecContext* ctx : FEncoderList) {
        AV.av_freep(&ctx->stats_in);
        AV.avcodec_close(ctx);
    }
    FEncoderList.clear();
}

void TCustomFFmpeg::FreeDecoderList()
{
    TCriticalSectionGuard lock(CodecLock);
    for (AVCodecContext* ctx : FDecoderList) AV.avcodec_close(ctx);
    FDecoderList.clear();
}

void TCustomFFmpeg::DoTerminate()
{
    // Terminated before no longer converting: a Terminate that finds the conversion over
    // must also find it terminated, or it would deliver a second termination.
    FTerminated = true;
    FConverting = false;
    FThread = nullptr;
    if (FOnTerminate) FOnTerminate(this);
}
