// Audio output: volume, resampling and channel changes, synchronisation with the
// timestamps, and the framing of encoder input (FIFO frames or whole blocks).
#include "support/convert_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace converttest;

namespace {

TOutputOptions Wav(int AChannels = -1, int ARate = -1)
{
    TOutputOptions o;
    o.DisableVideo = true;
    o.AudioChannels = AChannels;
    o.AudioSampleRate = ARate;
    return o;
}

}  // namespace

struct TVolumeCase {
    const char* Input;
    int Volume;
};

class ConvertVolume : public ::testing::TestWithParam<TVolumeCase> {};

TEST_P(ConvertVolume, EverySampleIsScaledAndClipped)
{
    const TVolumeCase c = GetParam();
    const String out = enginetest::ScratchFolder() + "vol.wav";
    TOutputOptions o = Wav();
    o.AudioVolume = c.Volume;
    auto run = Convert(Clip(c.Input), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    std::vector<int16_t> in = WavSamples(Clip(c.Input)), got = WavSamples(out);
    ASSERT_EQ(got.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        int64_t want = std::clamp<int64_t>((int64_t(in[i]) * c.Volume + 128) >> 8, INT16_MIN, INT16_MAX);
        ASSERT_EQ(got[i], want) << "sample " << i << " of " << in[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Volumes, ConvertVolume,
                         ::testing::Values(TVolumeCase{"mono.wav", 512}, TVolumeCase{"mono.wav", 0},
                                           TVolumeCase{"mono.wav", 100}, TVolumeCase{"loud.wav", 512},
                                           // 32767 x 100000 leaves 32 bits: still clipped, never flipped
                                           TVolumeCase{"loud.wav", 100000}),
                         [](const ::testing::TestParamInfo<TVolumeCase>& I) {
                             return String(I.param.Input).substr(0, 4) + "_" + std::to_string(I.param.Volume);
                         });

TEST(ConvertAudio, ResamplingKeepsTheDuration)
{
    // 48 kHz stereo PCM to 44.1 kHz: one second stays one second.
    const String out = enginetest::ScratchFolder() + "r.wav";
    auto run = Convert(Clip("clip48.mkv"), out, Wav(2, 44100));
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(Probe(out, "a:0", "stream=sample_rate"), "44100");
    EXPECT_NEAR(double(WavSamples(out).size()) / 2, 44100.0, 64.0);
}

TEST(ConvertAudio, MonoBecomesStereo)
{
    const String out = enginetest::ScratchFolder() + "s.wav";
    auto run = Convert(Clip("mono.wav"), out, Wav(2, -1));
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(Probe(out, "a:0", "stream=channels"), "2");
    std::vector<int16_t> in = WavSamples(Clip("mono.wav")), got = WavSamples(out);
    ASSERT_EQ(got.size(), in.size() * 2);
    // Both channels carry the tone.
    int16_t peakL = 0, peakR = 0;
    for (size_t i = 0; i + 1 < got.size(); i += 2) {
        peakL = std::max<int16_t>(peakL, got[i]);
        peakR = std::max<int16_t>(peakR, got[i + 1]);
    }
    EXPECT_GT(peakL, 1000);
    EXPECT_GT(peakR, 1000);
}

namespace {

// Leading samples (of the first channel) below a small threshold.
size_t LeadingSilence(const std::vector<int16_t>& ASamples, int AChannels)
{
    size_t n = 0;
    for (size_t i = 0; i < ASamples.size(); i += size_t(AChannels), ++n)
        if (std::abs(ASamples[i]) > 64) break;
    return n;
}

}  // namespace

TEST(ConvertAudio, SynchronisationPadsLateAudioWithSilence)
{
    // The audio of late.mkv begins 0.5 s after the video.
    const String dir = enginetest::ScratchFolder();
    TOutputOptions o = Wav(1, 44100);
    o.AudioSyncMethod = 1;
    auto run = Convert(Clip("late.mkv"), dir + "sync.wav", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_NEAR(double(LeadingSilence(WavSamples(dir + "sync.wav"), 1)), 22050.0, 2205.0);
    // Without synchronisation a file without timestamps starts with the sound at once.
    o.AudioSyncMethod = 0;
    auto plain = Convert(Clip("late.mkv"), dir + "plain.wav", o);
    ASSERT_TRUE(plain);
    EXPECT_LT(LeadingSilence(WavSamples(dir + "plain.wav"), 1), 2205u);
}

namespace {

// An audio output stream over a "null" container with an opened encoder, and an input
// stream to feed it, for driving AudioOut directly.
struct TAudioHarness {
    std::unique_ptr<TTaskTranscoder> Task{new TTaskTranscoder(4)};
    AVFormatContext* Oc = nullptr;
    AVCodecContext* Enc = nullptr;
    TAVOutputStream Ost;
    TAVInputStream Ist;
    AVStream InStream{};

    TAudioHarness(const char* AEncoder, int ARate, int AFrameSize = -1)
    {
        Task->Reset();
        AV.avformat_alloc_output_context2(&Oc, nullptr, "null", nullptr);
        AVStream* st = AV.avformat_new_stream(Oc, nullptr);
        const AVCodec* codec = AEncoder ? AV.avcodec_find_encoder_by_name(AEncoder) : nullptr;
        Enc = AV.avcodec_alloc_context3(codec);
        Enc->sample_fmt = codec ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
        Enc->sample_rate = ARate;
        AV.av_channel_layout_default(&Enc->ch_layout, 2);
        Enc->time_base = AVRational{1, ARate};
        if (codec) {
            EXPECT_GE(AV.avcodec_open2(Enc, codec, nullptr), 0);
            AV.avcodec_parameters_from_context(st->codecpar, Enc);
            st->time_base = Enc->time_base;
            EXPECT_GE(AV.avformat_write_header(Oc, nullptr), 0);
        }
        if (AFrameSize >= 0) Enc->frame_size = AFrameSize;
        Ost.oc = Oc;
        Ost.st = st;
        Ost.enc = Enc;
        Ost.encoding_needed = 1;
        Ost.encoder_opened = codec != nullptr;
        Ost.fifo = AV.av_audio_fifo_alloc(Enc->sample_fmt, 2, 1024);
        InStream.time_base = AVRational{1, ARate};
        InStream.codecpar = AV.avcodec_parameters_alloc();
        InStream.codecpar->sample_rate = ARate;
        Ist.st = &InStream;
        Ist.is_start = 0;
        Ost.sync_ist = &Ist;
    }
    ~TAudioHarness()
    {
        Task->Fost_table.clear();
        AV.av_audio_fifo_free(Ost.fifo);
        if (Ost.resample) AV.swr_free(&Ost.resample);
        if (Ost.audio_frame) AV.av_frame_free(&Ost.audio_frame);
        if (!Ost.audio_buf.empty() && Ost.audio_buf[0]) AV.av_freep(&Ost.audio_buf[0]);
        AV.av_channel_layout_uninit(&Ost.resample_in_layout);
        AV.avcodec_free_context(&Enc);
        AV.avformat_free_context(Oc);
        AV.avcodec_parameters_free(&InStream.codecpar);
    }
    // A frame of ASamples interleaved 16-bit stereo samples at ARate.
    static AVFrame* Block(int ASamples, int ARate)
    {
        AVFrame* f = AV.av_frame_alloc();
        f->format = AV_SAMPLE_FMT_S16;
        f->sample_rate = ARate;
        f->nb_samples = ASamples;
        AV.av_channel_layout_default(&f->ch_layout, 2);
        AV.av_frame_get_buffer(f, 0);
        std::memset(f->data[0], 0, size_t(ASamples) * 4);
        return f;
    }
    void Feed(int ASamples, int ARate)
    {
        AVFrame* f = Block(ASamples, ARate);
        Task->AudioOut(&Ost, &Ist, f);
        AV.av_frame_free(&f);
    }
};

}  // namespace

TEST(AudioOut, FramedEncodersCollectWholeFrames)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TAudioHarness h("mp2", 44100);
    ASSERT_EQ(h.Enc->frame_size, 1152);
    h.Feed(1000, 44100);
    EXPECT_EQ(AV.av_audio_fifo_size(h.Ost.fifo), 1000);
    EXPECT_EQ(h.Ost.packets_written, 0);
    h.Feed(1000, 44100);
    EXPECT_EQ(AV.av_audio_fifo_size(h.Ost.fifo), 2000 - 1152);
    EXPECT_EQ(h.Ost.packets_written, 1);
    EXPECT_EQ(h.Ost.sync_opts, 1152);
}

TEST(AudioOut, SampleBySampleEncodersTakeWholeBlocks)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TAudioHarness h("pcm_s16le", 44100);
    h.Feed(1000, 44100);
    EXPECT_EQ(AV.av_audio_fifo_size(h.Ost.fifo), 0);
    EXPECT_EQ(h.Ost.packets_written, 1);
    EXPECT_EQ(h.Ost.sync_opts, 1000);
    h.Feed(333, 44100);
    EXPECT_EQ(h.Ost.packets_written, 2);
    EXPECT_EQ(h.Ost.sync_opts, 1333);
}

TEST(AudioOut, DriftIsCompensatedAboveFiftySamples)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    enginetest::TLogCapture log;
    TLogLevelScope level(llVerbose);
    // The encoder is never reached: its frame is larger than anything fed.
    TAudioHarness h(nullptr, 40000, 1 << 20);
    h.Task->Faudio_sync_method = 1000;
    h.Task->SetVerbose(3);
    h.Ost.audio_resample = 1;
    // 20 samples of drift (500 us at 40 kHz): nothing is done.
    h.Ist.pts = 500;
    h.Feed(100, 40000);
    EXPECT_FALSE(log.Contains("compensating audio timestamp drift"));
    // 100 samples ahead: the resampler is asked to absorb them.
    h.Ost.sync_opts = -100;
    AV.av_audio_fifo_reset(h.Ost.fifo);
    h.Ist.pts = 0;
    h.Feed(100, 40000);
    EXPECT_TRUE(log.Contains("compensation:100 in:40000")) << "no compensation logged";
}

TEST(AudioOut, HardCorrectionsDropEarlyAndPadLateAudio)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TAudioHarness h(nullptr, 40000, 1 << 20);
    h.Task->Faudio_sync_method = 1;
    h.Ist.is_start = 1;
    // The audio starts 0.1 s late: 4000 samples of silence go first.
    h.Ist.pts = 100000;
    h.Feed(1000, 40000);
    EXPECT_EQ(AV.av_audio_fifo_size(h.Ost.fifo), 5000);
    EXPECT_EQ(h.Ist.is_start, 0);
    // 0.2 s (8000 samples) early, beyond the drift threshold: the block is dropped.
    h.Ist.pts = -75000;
    h.Feed(1000, 40000);
    EXPECT_EQ(AV.av_audio_fifo_size(h.Ost.fifo), 5000);
}
