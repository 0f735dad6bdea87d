// The preview player: plays one media file inside a host window through SDL 1.2 (video
// as a YUV overlay scaled into the window, audio through SDL's audio output, subtitles
// blended into the picture, an audio visualisation for files without video), reports
// the file's size and duration when it opens and its position and state as events,
// hands out the shown picture as a bitmap and can pass every picture through a hook on
// which the host draws.
//
// Files: FFPlayComponent.cpp (the component: properties, Open, Stop, pause, seek),
// FFPlayRead.cpp (the open-file record, packet queues, the read thread, streams, seek
// and pause requests, clocks), FFPlayVideo.cpp (video and subtitle decoding, the picture
// queue, display pacing), FFPlayAudio.cpp (the audio callback), FFPlayDisplay.cpp (the
// SDL surface, pictures, subtitles and visualisations), FFPlayThreads.cpp (the play and
// event threads, the event ring, position and state reports, the frame hook, the
// current frame).
//
// Threads of one open file: the caller's (normally the GUI thread), the play thread
// (SDL events: display, refresh, close), the event thread (position and state events,
// delivered on the GUI thread by default), and SDL threads for reading, video decoding,
// subtitle decoding, refresh ticks and the audio callback.  SDL's video functions are
// called by the play thread only (and, before it starts and after it ends, by Open and
// Stop).  Only one player can have a file open in the process at a time.
#pragma once

#include "engine/probe/AVProbe.h"
#include "engine/libs/FFBaseComponent.h"
#include "engine/common/FFUtils.h"
#include "engine/libs/FFmpegHeaders.h"
#include "engine/libs/FFmpegLogger.h"
#include "platform/system/Threads.h"
#include "platform/windows/Windows.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TBitmap;
class TCustomPlayer;

enum TPlayState : int32_t { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType : int32_t { rtNone, rtStop, rtLoop };
enum TShowAudio : int32_t { saNone, saWave, saRDFT };
enum TAudioDriver : int32_t { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver : int32_t { vdDefault, vdDirectDraw, vdGDI };
enum Tav_sync_type : int32_t { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };
using TAudioVolume = uint8_t;  // 0..128

using TFileOpenEvent = std::function<void(TObject* Sender, const int64_t ADuration, const int AFrameWidth,
                                          const int AFrameHeight, int& AScreenWidth, int& AScreenHeight)>;
using TPositionEvent = std::function<void(TObject* Sender, const int64_t APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, const TPlayState AState)>;
using THookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, const int64_t APTS)>;

// ---------------------------------------------------------------------------------
// Constants

constexpr int AUDIO_BUF_SIZE = 288000;           // each of the two audio buffers, bytes
constexpr int SAMPLE_ARRAY_SIZE = 131072;        // the visualisation's sample ring
constexpr int MAX_QUEUE_SIZE = 15728640;         // all packet queues together, bytes
constexpr int MIN_AUDIOQ_SIZE = 327680;          // the audio queue has enough above this
constexpr int MIN_FRAMES = 5;                    // video/subtitle queues have enough above this
constexpr int SDL_AUDIO_BUFFER_SIZE = 1024;      // samples per SDL audio buffer
constexpr int VIDEO_PICTURE_QUEUE_SIZE = 2;
constexpr int SUBPICTURE_QUEUE_SIZE = 4;
constexpr double AV_SYNC_THRESHOLD = 0.01;
constexpr double AV_NOSYNC_THRESHOLD = 10.0;
constexpr double FRAME_SKIP_FACTOR = 0.05;
constexpr int SAMPLE_CORRECTION_PERCENT_MAX = 10;
constexpr int AUDIO_DIFF_AVG_NB = 20;
constexpr int MAX_FILENAME_UNITS = 1024;         // UTF-16 units of a file name

// The player's SDL user events (SDL_USEREVENT is 24); data1 is the open-file record.
constexpr int FF_ALLOC_EVENT = SDL_USEREVENT;
constexpr int FF_REFRESH_EVENT = SDL_USEREVENT + 1;
constexpr int FF_QUIT_EVENT = SDL_USEREVENT + 2;
constexpr int FF_ASPECT_EVENT = SDL_USEREVENT + 3;
constexpr int FF_CLEAR_EVENT = SDL_USEREVENT + 4;  // clear the video area (visualisation changed)
constexpr int FF_REDRAW_EVENT = SDL_USEREVENT + 5;  // show the current picture again (the window was uncovered)

// Video modes: windowed (hardware surface, asynchronous blit, resizable, hardware
// acceleration) and full screen.
constexpr uint32_t VIDEO_MODE_WINDOWED = 0x115;
constexpr uint32_t VIDEO_MODE_FULLSCREEN = 0x80000105;

// ---------------------------------------------------------------------------------
// Packet queue

struct TPacketNode {
    AVPacket* pkt = nullptr;
    bool flush = false;  // the queue's flush marker (no packet data)
    bool end = false;    // an end marker: an empty packet queued at the end of the input
    TPacketNode* next = nullptr;
};

struct TPacketQueue {
    TPacketNode* first_pkt = nullptr;
    TPacketNode* last_pkt = nullptr;
    int nb_packets = 0;
    int size = 0;          // packet sizes plus one node size per packet
    int nb_end_markers = 0;  // empty packets queued at the end of the input
    std::atomic<int> abort_request{0};
    SDL_mutex* mutex = nullptr;
    SDL_cond* cond = nullptr;
};

void QueueInit(TPacketQueue* Q);
// Appends a reference to APacket's data (a copy when it is not reference-counted); 0,
// or -1 without memory.
int QueuePut(TPacketQueue* Q, const AVPacket* APacket);
// Appends the flush marker.
int QueuePutFlush(TPacketQueue* Q);
// -1 when aborted; 1 with the next packet moved into APacket (AFlush tells the flush
// marker); 0 when empty and not blocking; else waits.
int QueueGet(TPacketQueue* Q, AVPacket* APacket, bool ABlock, bool* AFlush = nullptr);
void QueueFlush(TPacketQueue* Q);
void QueueAbort(TPacketQueue* Q);
void QueueEnd(TPacketQueue* Q);
// Thread-safe reads of the counters.
int QueueSize(TPacketQueue* Q);
int QueuePackets(TPacketQueue* Q);
int QueueEndMarkers(TPacketQueue* Q);

// ---------------------------------------------------------------------------------
// The open-file record

struct TVideoPicture {
    double pts = 0;            // time of the picture, seconds
    double target_clock = 0;   // wall-clock time at which it is due, seconds
    int64_t pos = -1;          // byte position in the input
    SDL_Overlay* bmp = nullptr;
    int width = 0, height = 0;
    int allocated = 0;
    AVPixelFormat pix_fmt = AV_PIX_FMT_NONE;
    AVFrame* picref = nullptr;  // the filtered frame the overlay was filled from
};

struct TSubPicture {
    double pts = 0;
    AVSubtitle sub{};
};

using adouble = std::atomic<double>;
using aint = std::atomic<int>;

// A picture's place in the window.
struct TDisplayRect {
    int X = 0, Y = 0, W = 0, H = 0;
};

struct TVideoState {
    uint8_t audio_buf1[AUDIO_BUF_SIZE];
    uint8_t audio_buf2[AUDIO_BUF_SIZE];
    SDL_Thread* parse_tid = nullptr;
    SDL_Thread* video_tid = nullptr;
    SDL_Thread* refresh_tid = nullptr;
    const AVInputFormat* iformat = nullptr;
    int no_background = 0;
    aint abort_request{0};
    aint paused{0};
    int last_paused = 0;
    aint seek_req{0};
    int seek_flags = 0;
    int64_t seek_pos = 0;
    int64_t seek_rel = 0;
    aint read_pause_return{0};
    AVFormatContext* ic = nullptr;

    aint audio_stream{-1};
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
    double external_clock = 0;
    int64_t external_clock_time = 0;

    adouble audio_clock{0};
    double audio_diff_cum = 0;
    double audio_diff_avg_coef = 0;
    double audio_diff_threshold = 0;
    int audio_diff_avg_count = 0;
    std::atomic<AVStream*> audio_st{nullptr};
    AVCodecContext* audio_dec = nullptr;
    TPacketQueue audioq;
    int audio_hw_buf_size = 0;
    std::atomic<uint8_t*> audio_buf{nullptr};
    aint audio_buf_size{0};
    aint audio_buf_index{0};
    AVPacket* audio_pkt = nullptr;   // the packet being decoded
    bool audio_pkt_sent = false;     // its frames are still to be received
    AVFrame* audio_frame = nullptr;
    // The output's channels (1 or 2) and rate; set again when the audio stream is
    // switched while the video thread reads the audio clock.
    aint audio_channels{0};
    aint audio_freq{0};
    int audio_src_fmt = AV_SAMPLE_FMT_S16;
    int audio_src_rate = 0;
    AVChannelLayout audio_src_layout{};
    SwrContext* reformat_ctx = nullptr;

    aint show_audio{0};
    // The sample ring is written by SDL's audio callback and read by the display on the
    // play thread: both go through sample_lock, and the display draws from its own copy
    // (sample_view) so that the callback never waits for drawing.
    std::mutex sample_lock;
    int16_t sample_array[SAMPLE_ARRAY_SIZE];
    aint sample_array_index{0};
    std::vector<int16_t> sample_view;
    int last_i_start = 0;
    RDFTContext* rdft = nullptr;
    int rdft_bits = 0;
    FFTSample* rdft_data = nullptr;
    int xpos = 0;

    SDL_Thread* subtitle_tid = nullptr;
    aint subtitle_stream{-1};
    aint subtitle_stream_changed{0};
    std::atomic<AVStream*> subtitle_st{nullptr};
    AVCodecContext* subtitle_dec = nullptr;
    TPacketQueue subtitleq;
    TSubPicture subpq[SUBPICTURE_QUEUE_SIZE];
    aint subpq_size{0};  // changed under subpq_mutex
    int subpq_rindex = 0, subpq_windex = 0;
    SDL_mutex* subpq_mutex = nullptr;
    SDL_cond* subpq_cond = nullptr;

    adouble frame_timer{0};
    // Wall-clock time (s) from which the due times run: the last picture shown, the last
    // reset of frame_timer (a flush) or the last continue, whichever came last.  A
    // continue moves the due times on by the time since then.
    adouble timer_base{0};
    double frame_last_pts = NAN;  // NAN: no value
    double frame_last_delay = 0;
    adouble video_clock{0};
    aint video_stream{-1};
    std::atomic<AVStream*> video_st{nullptr};
    AVCodecContext* video_dec = nullptr;
    TPacketQueue videoq;
    adouble video_current_pts{0};
    adouble video_current_pts_drift{0};
    std::atomic<int64_t> video_current_pos{-1};
    TVideoPicture pictq[VIDEO_PICTURE_QUEUE_SIZE];
    aint pictq_size{0};  // changed under pictq_mutex
    aint pictq_rindex{0};
    int pictq_windex = 0;
    aint last_shown{-1};  // the slot shown last by a refresh, -1 before the first
    SDL_mutex* pictq_mutex = nullptr;
    SDL_cond* pictq_cond = nullptr;
    bool video_drained = false;  // the end of input was sent to the video decoder
    // The output of the video filter graph (written by the video thread).
    aint sink_width{0}, sink_height{0};
    std::atomic<AVPixelFormat> sink_format{AV_PIX_FMT_NONE};

    String filename;
    int width = 0, height = 0, xleft = 0, ytop = 0;
    // The picture's place that the area around it was last cleared for (play thread);
    // none yet for a file just opened, whose window may still show the file before.
    bool bars_cleared = false;
    TDisplayRect bars_around{};

    int64_t faulty_pts = 0, faulty_dts = 0;
    int64_t last_dts_for_fault_detection = INT64_MIN;
    int64_t last_pts_for_fault_detection = INT64_MIN;

    AVFilterContext* out_video_filter = nullptr;
    std::atomic<float> skip_frames{1};
    float skip_frames_index = 0;
    aint refresh{0};

    TCustomPlayer* Owner = nullptr;
    aint Opened{0};
    int64_t StartTime = 0;
    int64_t Duration = -1;
    int64_t AudioDuration = -1;
    int IsImage2 = 0;
    int IsDevice = 0;
    aint ErrorEOF{0};
    aint EventEOF{0};
    aint ReachEOF{0};
    aint Reading{0};
    // The input's byte position after the last packet read (read thread), for seeks by
    // bytes relative to it from other threads.
    std::atomic<int64_t> read_pos{0};
    aint open_paused{0};
    aint seek_paused{0};
    aint seek_done{0};
    aint seek_flushed{0};
    // A stream switch for the read thread to carry out between two packets.
    aint select_req{0};
    int select_type = 0, select_index = -1;
};

// ---------------------------------------------------------------------------------
// Pure parts of the pipeline (also used by tests)

// The display rectangle of a picture of aspect AAspect (width / height) in a window of
// AWidth x AHeight: as high as the window, or as wide when that is too wide; even sizes,
// centred.
TDisplayRect CalculateDisplayRect(int AWidth, int AHeight, double AAspect);
// The aspect of a picture for display: the window's when AAspectRatio < 0 (fill), the
// forced value when > 0, else the sample aspect ratio times width / height.
double DisplayAspect(float AAspectRatio, int AWindowWidth, int AWindowHeight, AVRational ASampleAspect,
                     int APictureWidth, int APictureHeight);

// A YUV 4:2:0 picture (planes Y, U, V).
struct TYUVPicture {
    uint8_t* data[3];
    int linesize[3];
};
// Alpha-blends a subtitle rectangle (palette indexes in data[0], a YUVA palette in
// data[1]) into APicture of AWidth x AHeight.
void BlendSubtitleRect(TYUVPicture& APicture, const AVSubtitleRect& ARect, int AWidth, int AHeight);
// The palette entry 0xAARRGGBB as 0xAAYYUUVV (BT.601 limited range).
uint32_t RGBAToYUVA(uint32_t ARGBA);

// The ring position where the wave display starts: the strongest falling zero crossing
// near AStart (searching back over 1000 samples).
int WaveStartIndex(const int16_t* ASamples, int AStart, int AChannels);

// The block size after drift correction: ASize moved by ADiff seconds of samples,
// kept within +-10 % (whole sample frames).
int CorrectedAudioSize(int ASize, double ADiff, int AChannels, int ASampleRate);

// ---------------------------------------------------------------------------------
// Pipeline operations (the open-file record is owned by the player)

bool OpenStream(TCustomPlayer* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused);
void CloseStream(TVideoState* VS);
void RequestSeek(TVideoState* VS, TSeekFlags AFlags, bool AWait, int64_t APos, int64_t ARel);
void TogglePaused(TVideoState* VS);
bool SelectStream(TVideoState* VS, int AType, int AIndex);
double AudioClock(TVideoState* VS);
double VideoClock(TVideoState* VS);
double ExternalClock(TVideoState* VS);
double MasterClock(TVideoState* VS);
void PushQuitEvent(TVideoState* VS);
void PushAspectEvent(TVideoState* VS);
void PushRedrawEvent(TVideoState* VS);
int OpenStreamComponent(TVideoState* VS, int AStreamIndex);
void CloseStreamComponent(TVideoState* VS, int AStreamIndex);

int VideoThreadProc(void* AArg);
int SubtitleThreadProc(void* AArg);
int RefreshThreadProc(void* AArg);
double TargetTime(TVideoState* VS, double APTS);
// The slot whose picture is on display: the read slot while pictures are queued, else
// the slot shown last.
int ShownSlot(TVideoState* VS);
void AllocPicture(TVideoState* VS);
void RefreshVideo(TVideoState* VS, bool AAdvance);

void AudioCallback(void* AOpaque, uint8_t* AStream, int ALength);
int SynchronizeAudio(TVideoState* VS, int16_t* ASamples, int ASize);
void UpdateSampleDisplay(TVideoState* VS, const int16_t* ASamples, int ASize);
// SDL_SetVideoMode at the display's depth, or 32 bits when that is too small for overlays.
SDL_Surface* SetVideoMode(int AWidth, int AHeight, uint32_t AFlags);
int OpenVideoSurface(TVideoState* VS, bool AForce);
void DisplayVideo(TVideoState* VS);
// Fills the video area black.
void ClearVideoArea(TVideoState* VS);

// Wall clock in seconds.
double NowSeconds();

// ---------------------------------------------------------------------------------
// The play-event ring: 10 slots, at most 9 entries; an entry of the same kind as the
// newest replaces it, and the oldest goes when the ring is full.

enum TPlayEventKind : int32_t { pekNone = 0, pekPosition = 1, pekState = 2, pekEnd = 3 };

class TPlayEvent {
public:
    static constexpr int Slots = 10;
    void Push(TPlayEventKind AKind, int64_t AValue);
    // pekNone when empty.
    TPlayEventKind Pop(int64_t& AValue);
    // Waits up to ATimeoutMs for an entry; true when the ring holds one.
    bool WaitFor(uint32_t ATimeoutMs);
    int Count();
    void Clear();
    bool Signalled();

private:
    std::mutex Lock;
    TEvent Event{true, false};
    int Header = 0;
    int Tailer = 0;
    struct {
        TPlayEventKind Kind = pekNone;
        int64_t Value = 0;
    } Events[Slots];
};

// What the player shares with its event thread, which may outlive it when the player
// is freed from inside one of its own event handlers.
struct TPlayerShared {
    std::atomic<bool> Detached{false};    // the player is gone: the thread touches nothing more
    std::atomic<uint32_t> HandlerThread{0};  // the thread running a handler, 0 = none
};

// The two threads of an open file (FFPlayThreads.cpp), started running.
TThread* StartEventThread(TCustomPlayer* APlayer, std::shared_ptr<TPlayEvent> ARing,
                          std::shared_ptr<TPlayerShared> AShared);
TThread* StartPlayThread(TCustomPlayer* APlayer);

// ---------------------------------------------------------------------------------
// The player component

// Holds an SDL mutex for the life of the object (packet queues, picture queues).
class TSDLMutexGuard {
public:
    explicit TSDLMutexGuard(SDL_mutex* AMutex);
    ~TSDLMutexGuard();
    TSDLMutexGuard(const TSDLMutexGuard&) = delete;
    TSDLMutexGuard& operator=(const TSDLMutexGuard&) = delete;

private:
    SDL_mutex* FMutex;
};

// The player's data lock: recursive, with a timed wait that polls, so that every
// acquisition is an ordinary one (and race detectors see them all).
class TDataLock {
public:
    void Acquire() { FLock.lock(); }
    void Release() { FLock.unlock(); }
    // wrSignaled when acquired within ATimeoutMs, else wrTimeout.
    TWaitResult WaitFor(uint32_t ATimeoutMs);

private:
    std::recursive_mutex FLock;
};

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner = nullptr);
    ~TCustomPlayer() override;

    bool Open(const String& AFileName, HWND AScreenHandle, bool APaused);
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    // Absolute: APTS microseconds from the file's start (a byte offset with sfByte).
    void Seek(int64_t APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);
    // Relative: ADelta seconds (or seconds' worth of bytes with sfByte).
    void Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
    // The picture at the read slot of the picture queue as a 24-bit bitmap that belongs
    // to the player (0 x 0 without a picture); APTS its time in microseconds from the
    // file's start, -1 without video.
    TBitmap* CurrentFrame();
    TBitmap* CurrentFrame(int64_t& APTS);
    void ToggleAudioDisplay();
    void UpdateScreenPosition();

    // Properties
    String Version() const { return "2.3"; }
    String About() const { return FAbout; }
    void SetAbout(const String& V) { FAbout = V; }
    String Format() const;
    void SetFormat(const String& AValue);
    String FileName() const { return Finput_filename; }
    HWND ScreenHandle() const { return FScreenHandle; }
    bool FullScreen() const { return Fis_full_screen; }
    bool is_full_screen() const { return Fis_full_screen; }
    void set_is_full_screen(bool V) { Fis_full_screen = V; }
    int AudioStreamIndex() const;
    void SetAudioStreamIndex(int V);
    int VideoStreamIndex() const;
    void SetVideoStreamIndex(int V);
    int SubtitleStreamIndex() const;
    void SetSubtitleStreamIndex(int V);
    TAVProbe* AVProbe() const { return FAVProbe; }
    int64_t CurrentPTS() const { return FCurrentPTS; }
    bool Paused() const;
    TPlayState PlayState() const { return FState; }
    bool Seeking() const { return FSeeking; }
    int64_t PlayTime() const { return FPlayTime; }
    void SetPlayTime(int64_t V) { FPlayTime = V; }
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType V) { FRepeatType = V; }
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio V);
    bool VerticalFlip() const { return FVerticalFlip; }
    void SetVerticalFlip(bool V) { FVerticalFlip = V; }
    String VideoFilters() const { return Fvfilters; }
    void SetVideoFilters(const String& V) { Fvfilters = V; }
    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float V);
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    void SetAudioVolume(int V) { FAudioVolume = TAudioVolume(V < 0 ? 0 : V > 128 ? 128 : V); }
    bool Mute() const { return FMute; }
    void SetMute(bool V) { FMute = V; }
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver V) { FAudioDriver = V; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver V) { FVideoDriver = V; }
    bool DisableAudio() const { return Faudio_disable; }
    void SetDisableAudio(bool V) { Faudio_disable = V; }
    bool DisableVideo() const { return Fvideo_disable; }
    void SetDisableVideo(bool V) { Fvideo_disable = V; }
    bool DisableDisplay() const { return Fdisplay_disable; }
    void SetDisableDisplay(bool V) { Fdisplay_disable = V; }
    int FrameWidth() const { return Fframe_width; }
    void SetFrameWidth(int V) { Fframe_width = V; }
    int FrameHeight() const { return Fframe_height; }
    void SetFrameHeight(int V) { Fframe_height = V; }
    int ScreenWidth() const { return Fscreen_width; }
    void SetScreenWidth(int V) { Fscreen_width = V; }
    int ScreenHeight() const { return Fscreen_height; }
    void SetScreenHeight(int V) { Fscreen_height = V; }
    bool Hook() const { return FHook; }
    void SetHook(bool V) { FHook = V; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool V) { FTriggerEventInMainThread = V; }
    int wanted_audio_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_AUDIO]; }
    void set_wanted_audio_stream(int V) { Fwanted_stream[1 + AVMEDIA_TYPE_AUDIO] = V; }
    int wanted_video_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_VIDEO]; }
    void set_wanted_video_stream(int V) { Fwanted_stream[1 + AVMEDIA_TYPE_VIDEO] = V; }
    int wanted_subtitle_stream() const { return Fwanted_stream[1 + AVMEDIA_TYPE_SUBTITLE]; }
    void set_wanted_subtitle_stream(int V) { Fwanted_stream[1 + AVMEDIA_TYPE_SUBTITLE] = V; }
    int seek_by_bytes() const { return Fseek_by_bytes; }
    void set_seek_by_bytes(int V) { Fseek_by_bytes = V; }
    int64_t start_time() const { return Fstart_time; }
    void set_start_time(int64_t V) { Fstart_time = V; }
    int workaround_bugs() const { return Fworkaround_bugs; }
    void set_workaround_bugs(int V) { Fworkaround_bugs = V; }
    int debug_mv() const { return Fdebug_mv; }
    void set_debug_mv(int V) { Fdebug_mv = V; }
    bool fast() const { return Ffast; }
    void set_fast(bool V) { Ffast = V; }
    bool genpts() const { return Fgenpts; }
    void set_genpts(bool V) { Fgenpts = V; }
    int decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void set_decoder_reorder_pts(int V) { Fdecoder_reorder_pts = V; }
    int framedrop() const { return Fframedrop; }
    void set_framedrop(int V) { Fframedrop = V; }
    int rdftspeed() const { return Frdftspeed; }
    void set_rdftspeed(int V) { Frdftspeed = V; }
    int lowres() const { return Flowres; }
    void set_lowres(int V) { Flowres = V; }
    int idct_algo() const { return Fidct_algo; }
    void set_idct_algo(int V) { Fidct_algo = V; }
    int error_recognition() const { return Ferror_recognition; }
    void set_error_recognition(int V) { Ferror_recognition = V; }
    int error_concealment() const { return Ferror_concealment; }
    void set_error_concealment(int V) { Ferror_concealment = V; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    void set_av_sync_type(Tav_sync_type V) { Fav_sync_type = V; }

    TFileOpenEvent OnFileOpen;
    TPositionEvent OnPosition;
    TPlayStateEvent OnState;
    THookEvent OnHook;

    // ---- used by the pipeline (FFPlay*.cpp) ----
    void SetErrorMessage(const String& AText, bool AStore);
    void ResetPlayback();
    void DoFileOpen();
    void UpdatePosition();
    void SetPlayState(TPlayState AState);
    void RunFrameHook(AVFrame* AFrame, TYUVPicture& APicture, int AOverlayWidth, int AOverlayHeight, double APTS);
    void CloseAndQuit();
    void PlayEventLoop();
    // The open file, null when none.
    TVideoState* VideoState() const { return FVideoState.load(); }
    void SetVideoState(TVideoState* V) { FVideoState = V; }
    TPlayEvent& PlayEvents() { return *FPlayEvent; }

    int Fsws_flags = SWS_BICUBIC;
    const AVInputFormat* Ffile_iformat = nullptr;
    String Finput_filename;
    int Ffs_screen_width = 0, Ffs_screen_height = 0;
    std::atomic<int> Fscreen_width{0}, Fscreen_height{0};
    int Fframe_width = 0, Fframe_height = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    bool Faudio_disable = false, Fvideo_disable = false;
    int Fwanted_stream[AVMEDIA_TYPE_NB + 1];  // by media type -1..5
    int Fseek_by_bytes = -1;
    bool Fdisplay_disable = false;
    Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    int64_t Fstart_time = AV_NOPTS_VALUE;
    int Fdebug = 0, Fdebug_mv = 0;
    std::atomic<bool> Fstep{false};
    int Fworkaround_bugs = 1;
    bool Ffast = false, Fgenpts = false;
    int Flowres = 0, Fidct_algo = 0;
    AVDiscard Fskip_frame = AVDISCARD_DEFAULT, Fskip_idct = AVDISCARD_DEFAULT,
              Fskip_loop_filter = AVDISCARD_DEFAULT;
    int Ferror_recognition = 1, Ferror_concealment = 3;
    int Fdecoder_reorder_pts = -1;
    int Fframedrop = 1;
    int Frdftspeed = 20;
    String Fvfilters;
    bool Fis_full_screen = false;
    std::atomic<int64_t> Faudio_callback_time{0};
    SDL_Surface* Fscreen = nullptr;
    String FAbout;
    std::atomic<int64_t> FLastPTS{AV_NOPTS_VALUE};
    std::atomic<int64_t> FCurrentPTS{-1};
    TAVProbe* FAVProbe = nullptr;
    HWND FScreenHandle = nullptr;
    uintptr_t FScreenWindowId = 0;  // the display's window behind FScreenHandle, 0 = none
    TDataLock FDataLock;
    TEvent FSeekEvent{true, true}, FPictEvent{true, true}, FStopEvent{true, true};
    std::atomic<TPlayState> FEventState{psStop};
    std::atomic<int64_t> FEventPTS{0};
    std::atomic<bool> FSeeking{false};
    std::atomic<float> FAspectRatio{0};
    std::atomic<TAudioVolume> FAudioVolume{128};
    TShowAudio FShowAudio = saWave;
    std::atomic<bool> FMute{false};
    std::atomic<int64_t> FPlayTime{AV_NOPTS_VALUE};
    std::atomic<TRepeatType> FRepeatType{rtStop};
    std::atomic<bool> FVerticalFlip{false};
    TAudioDriver FAudioDriver = adDefault;
    TVideoDriver FVideoDriver = vdDefault;
    TRGBConvertContext* FRGBContext = nullptr;
    TRGBConvertContext* FHookContext = nullptr;
    SwsContext* FHookFromRGB = nullptr;  // the hook's way back into the picture
    std::atomic<bool> FHook{false};
    bool FTriggerEventInMainThread = true;
    std::atomic<TPlayState> FState{psStop};
    bool FAudioAvailable = true;  // SDL started with its audio part

private:
    bool InitSDLWindow(HWND AScreenHandle);
    void WaitForStop();
    // Joins the threads of the last open file (pumping synchronisations).
    void JoinThreads();
    void QuitSDL();
    void FreeRGBContexts();

    std::atomic<TVideoState*> FVideoState{nullptr};
    std::shared_ptr<TPlayEvent> FPlayEvent;
    std::shared_ptr<TPlayerShared> FShared;
    TThread* FPlayThread = nullptr;
    TThread* FEventThread = nullptr;
};

class TFFPlayer : public TCustomPlayer {
public:
    using TCustomPlayer::TCustomPlayer;
};
