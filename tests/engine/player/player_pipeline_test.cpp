// The player's pipeline parts that need no playing file: packet queues, the event ring,
// picture placement, subtitle blending and palettes, the wave display's start, audio
// drift correction, picture due times, and position, end and play-length reports.
#include "player/player_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace playertest;

namespace {

class PlayerParts : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PreparePlayer()); }
};

AVPacket* MakePacket(int ASize)
{
    AVPacket* P = AV.av_packet_alloc();
    if (ASize > 0) AV.av_new_packet(P, ASize);
    return P;
}

}  // namespace

TEST_F(PlayerParts, PacketQueueKeepsOrderAndAccountsSizes)
{
    TPacketQueue Q;
    QueueInit(&Q);
    const int Node = int(sizeof(TPacketNode));
    AVPacket* A = MakePacket(100);
    A->pts = 1;
    AVPacket* B = MakePacket(50);
    B->pts = 2;
    AVPacket* End = MakePacket(0);
    EXPECT_EQ(QueuePut(&Q, A), 0);
    EXPECT_EQ(QueuePutFlush(&Q), 0);
    EXPECT_EQ(QueuePut(&Q, B), 0);
    EXPECT_EQ(QueuePut(&Q, End), 0);
    EXPECT_EQ(QueuePackets(&Q), 4);
    EXPECT_EQ(QueueSize(&Q), 150 + 4 * Node);
    EXPECT_EQ(QueueEndMarkers(&Q), 1);

    AVPacket* Out = AV.av_packet_alloc();
    bool Flush = true;
    ASSERT_EQ(QueueGet(&Q, Out, false, &Flush), 1);
    EXPECT_FALSE(Flush);
    EXPECT_EQ(Out->pts, 1);
    EXPECT_EQ(Out->size, 100);
    EXPECT_EQ(QueueSize(&Q), 50 + 3 * Node);
    ASSERT_EQ(QueueGet(&Q, Out, false, &Flush), 1);
    EXPECT_TRUE(Flush);
    EXPECT_EQ(Out->size, 0);
    ASSERT_EQ(QueueGet(&Q, Out, false, &Flush), 1);
    EXPECT_EQ(Out->pts, 2);
    ASSERT_EQ(QueueGet(&Q, Out, false, &Flush), 1);
    EXPECT_FALSE(Flush);
    EXPECT_EQ(QueueEndMarkers(&Q), 0);
    EXPECT_EQ(QueueGet(&Q, Out, false, &Flush), 0);  // empty, not blocking
    EXPECT_EQ(QueueSize(&Q), 0);

    QueuePut(&Q, A);
    QueuePut(&Q, End);
    QueueFlush(&Q);
    EXPECT_EQ(QueuePackets(&Q), 0);
    EXPECT_EQ(QueueSize(&Q), 0);
    EXPECT_EQ(QueueEndMarkers(&Q), 0);

    QueuePut(&Q, A);
    QueueAbort(&Q);
    EXPECT_EQ(QueueGet(&Q, Out, true, &Flush), -1);  // aborted: no wait, even with a packet
    QueueEnd(&Q);
    for (AVPacket* P : {A, B, End, Out}) AV.av_packet_free(&P);
}

TEST_F(PlayerParts, EventRingCoalescesAndDropsTheOldest)
{
    TPlayEvent Ring;
    int64_t V = -1;
    EXPECT_EQ(Ring.Pop(V), pekNone);
    EXPECT_FALSE(Ring.Signalled());

    // Entries of the newest entry's kind replace it.
    Ring.Push(pekState, psPause);
    Ring.Push(pekState, psResume);
    Ring.Push(pekPosition, 10);
    Ring.Push(pekPosition, 20);
    Ring.Push(pekState, psEnd);
    EXPECT_EQ(Ring.Count(), 3);
    EXPECT_TRUE(Ring.Signalled());
    EXPECT_EQ(Ring.Pop(V), pekState);
    EXPECT_EQ(V, psResume);
    EXPECT_EQ(Ring.Pop(V), pekPosition);
    EXPECT_EQ(V, 20);
    EXPECT_EQ(Ring.Pop(V), pekState);
    EXPECT_EQ(V, psEnd);
    EXPECT_FALSE(Ring.Signalled());  // reset once empty
    EXPECT_EQ(Ring.Pop(V), pekNone);

    // Nine entries at most: the tenth push drops the oldest.
    for (int I = 0; I < 10; ++I) Ring.Push(I % 2 ? pekPosition : pekState, I);
    EXPECT_EQ(Ring.Count(), 9);
    EXPECT_EQ(Ring.Pop(V), pekPosition);
    EXPECT_EQ(V, 1);
}

TEST_F(PlayerParts, PicturePlacement)
{
    const struct {
        int W, H;
        double Aspect;
        TDisplayRect R;
    } Cases[] = {
        {640, 360, 4.0 / 3, {80, 0, 480, 360}},   // pillar box
        {640, 480, 16.0 / 9, {0, 60, 640, 360}},  // letter box
        {640, 360, 640.0 / 360, {0, 0, 640, 360}},
        {641, 361, 4.0 / 3, {80, 0, 480, 361}},   // 481.33 -> 480 (even)
        {100, 100, 0, {0, 0, 100, 100}},          // no aspect: square
    };
    for (const auto& C : Cases) {
        TDisplayRect R = CalculateDisplayRect(C.W, C.H, C.Aspect);
        EXPECT_EQ(R.X, C.R.X) << C.W << "x" << C.H;
        EXPECT_EQ(R.Y, C.R.Y) << C.W << "x" << C.H;
        EXPECT_EQ(R.W, C.R.W) << C.W << "x" << C.H;
        EXPECT_EQ(R.H, C.R.H) << C.W << "x" << C.H;
    }
    // The aspect: fill the window, forced, or from the sample aspect ratio.
    EXPECT_DOUBLE_EQ(DisplayAspect(-1, 640, 360, {1, 1}, 64, 48), 640.0 / 360);
    EXPECT_DOUBLE_EQ(DisplayAspect(2.0f, 640, 360, {1, 1}, 64, 48), 2.0);
    EXPECT_DOUBLE_EQ(DisplayAspect(0, 640, 360, {0, 1}, 64, 48), 64.0 / 48);
    EXPECT_DOUBLE_EQ(DisplayAspect(0, 640, 360, {2, 1}, 64, 48), 2 * 64.0 / 48);
    EXPECT_EQ(CalculateDisplayRect(640, 360, DisplayAspect(0, 640, 360, {1, 1}, 640, 480)).X, 80);
    EXPECT_EQ(CalculateDisplayRect(640, 360, DisplayAspect(-1, 640, 360, {1, 1}, 640, 480)).W, 640);
}

TEST_F(PlayerParts, PaletteToYUVA)
{
    const struct {
        uint32_t RGBA, YUVA;
    } Cases[] = {
        {0xFFFFFFFF, 0xFFEB8080},  // white: 235, 128, 128
        {0x80000000, 0x80108080},  // black, half transparent
        {0xFFFF0000, 0xFF515AF0},  // red: 81, 90, 240
        {0xFF00FF00, 0xFF903622},  // green: 144 (144.55 truncated by the fixed point), 54, 34
        {0xFF0000FF, 0xFF29F06E},  // blue: 41, 240, 110
        {0x00000000, 0x00108080},
    };
    for (const auto& C : Cases) EXPECT_EQ(RGBAToYUVA(C.RGBA), C.YUVA) << std::hex << C.RGBA;
}

namespace {

// A 4:2:0 picture of 6 x 4 samples filled with one colour.
struct TSmallPicture {
    uint8_t Y[4][6], U[2][3], V[2][3];
    TYUVPicture Pict{{&Y[0][0], &U[0][0], &V[0][0]}, {6, 3, 3}};
    TSmallPicture(uint8_t AY, uint8_t AU, uint8_t AV)
    {
        memset(Y, AY, sizeof(Y));
        memset(U, AU, sizeof(U));
        memset(V, AV, sizeof(V));
    }
};

// A subtitle rectangle of one palette entry.
struct TSolidRect {
    uint8_t Index[6 * 4] = {};
    uint32_t Palette[1];
    AVSubtitleRect Rect{};
    TSolidRect(int X, int Y, int W, int H, uint32_t AYUVA)
    {
        Palette[0] = AYUVA;
        Rect.x = X;
        Rect.y = Y;
        Rect.w = W;
        Rect.h = H;
        Rect.nb_colors = 1;
        Rect.data[0] = Index;
        Rect.data[1] = reinterpret_cast<uint8_t*>(Palette);
        Rect.linesize[0] = W;
    }
};

}  // namespace

TEST_F(PlayerParts, SubtitleBlending)
{
    // Opaque white over the whole picture: every sample takes the subtitle's values.
    {
        TSmallPicture P(16, 100, 200);
        TSolidRect R(0, 0, 6, 4, 0xFFEB8080);
        BlendSubtitleRect(P.Pict, R.Rect, 6, 4);
        EXPECT_EQ(P.Y[2][3], 235);
        // full blocks: (U*4*(255-63) + 4*128*63) / 1020 with A/4 = 255 -> 128
        EXPECT_EQ(P.U[1][1], 128);
        EXPECT_EQ(P.V[0][0], 128);
    }
    // Half-transparent rectangle from (1, 1), 2 x 2: luma blended where covered; the
    // chroma blocks it touches are covered by one pixel each.
    {
        TSmallPicture P(16, 100, 200);
        TSolidRect R(1, 1, 2, 2, 0x80EB8080);  // alpha 128
        BlendSubtitleRect(P.Pict, R.Rect, 6, 4);
        EXPECT_EQ(P.Y[0][0], 16);
        EXPECT_EQ(P.Y[1][1], (127 * 16 + 128 * 235) / 255);
        EXPECT_EQ(P.Y[2][2], (127 * 16 + 128 * 235) / 255);
        EXPECT_EQ(P.Y[1][3], 16);
        const int Single = (100 * (255 - 32) + 128 * 32) / 255;  // a/4 = 32
        EXPECT_EQ(P.U[0][0], Single);
        EXPECT_EQ(P.U[0][1], Single);
        EXPECT_EQ(P.U[1][0], Single);
        EXPECT_EQ(P.U[1][1], Single);
        EXPECT_EQ(P.U[0][2], 100);
    }
    // A rectangle covering rows 0..1 from column 1: pairs at the left edge.
    {
        TSmallPicture P(16, 100, 200);
        TSolidRect R(1, 0, 4, 2, 0xFFEB8080);
        BlendSubtitleRect(P.Pict, R.Rect, 6, 4);
        const int Pair = (100 * 2 * (255 - 127) + 2 * 128 * 127) / 510;  // A = 510, A/4 = 127
        EXPECT_EQ(P.U[0][0], Pair);
        EXPECT_EQ(P.U[0][1], 128);  // full block
        EXPECT_EQ(P.U[0][2], Pair);
        EXPECT_EQ(P.U[1][1], 100);
    }
    // A rectangle larger than the picture is clipped to it.
    {
        TSmallPicture P(16, 100, 200);
        TSolidRect R(4, 2, 6, 4, 0xFFEB8080);
        BlendSubtitleRect(P.Pict, R.Rect, 6, 4);
        EXPECT_EQ(P.Y[3][5], 235);
    }
}

TEST_F(PlayerParts, WaveStartsAtTheStrongestFallingCrossing)
{
    // A falling ramp 1000, 500, 0, -500, ... 100 samples before the search start: the
    // start is where the samples 4 and 5 further on change sign with the largest fall
    // over 9 samples.
    auto Ring = std::make_unique<int16_t[]>(SAMPLE_ARRAY_SIZE);
    const int Start = 5000, At = Start - 100;
    for (int K = 0; K < 10; ++K) Ring[At + K] = int16_t(1000 - 500 * K);
    EXPECT_EQ(WaveStartIndex(Ring.get(), Start, 1), At - 2);
    // The search wraps at the ring's start.
    auto Wrapped = std::make_unique<int16_t[]>(SAMPLE_ARRAY_SIZE);
    Wrapped[SAMPLE_ARRAY_SIZE - 1] = 3000;
    Wrapped[0] = -3000;
    EXPECT_EQ(WaveStartIndex(Wrapped.get(), 10, 1), SAMPLE_ARRAY_SIZE - 4);
}

TEST_F(PlayerParts, AudioCorrectionStaysWithinTenPercentAndTheBuffer)
{
    // 1000 stereo frames of 4 bytes.
    EXPECT_EQ(CorrectedAudioSize(4000, 0.001, 2, 44100), 4000 + 44 * 4);
    EXPECT_EQ(CorrectedAudioSize(4000, 1.0, 2, 44100), 1100 * 4);
    EXPECT_EQ(CorrectedAudioSize(4000, -1.0, 2, 44100), 900 * 4);
    EXPECT_EQ(CorrectedAudioSize(4000, 0, 2, 44100), 4000);
    // A block near the buffer's size never grows past it.
    EXPECT_EQ(CorrectedAudioSize(AUDIO_BUF_SIZE - 4, 1.0, 2, 44100), AUDIO_BUF_SIZE);
}

namespace {

// An open-file record with no threads, attached to a player for the time of a test.
struct TFakeFile {
    TCustomPlayer& P;
    std::unique_ptr<TVideoState> VS{new TVideoState()};
    explicit TFakeFile(TCustomPlayer& APlayer) : P(APlayer)
    {
        VS->Owner = &P;
        P.SetVideoState(VS.get());
    }
    ~TFakeFile() { P.SetVideoState(nullptr); }
};

}  // namespace

TEST_F(PlayerParts, DueTimesFollowTheMasterClock)
{
    TCustomPlayer P;
    TFakeFile F(P);
    TVideoState* VS = F.VS.get();
    VS->paused = 1;  // the video clock is then the shown picture's time
    VS->audio_stream = 1;
    VS->av_sync_type = AV_SYNC_AUDIO_MASTER;
    VS->frame_timer = 100.0;
    VS->frame_last_delay = 0.04;

    struct TStep {
        double Pts, VideoClock, AudioClock, Due;
    };
    const TStep Steps[] = {
        {0.0, 0, 0, 100.04},     // no previous picture: the last sane delay
        {0.04, 0, 0, 100.08},    // in step
        {0.08, 1.0, 0, 100.16},  // video ahead by 1 s: twice the delay
        {0.12, 0, 1.0, 100.16},  // video behind by 1 s: due at once
        {0.16, 20, 0, 100.20},   // 20 s apart: no correction
        {0.16, 0, 0, 100.24},    // a zero delay: the last sane one
        {20.0, 0, 0, 100.28},    // 10 s or more: the last sane one
    };
    for (const TStep& S : Steps) {
        VS->video_current_pts = S.VideoClock;
        VS->audio_clock = S.AudioClock;
        EXPECT_NEAR(TargetTime(VS, S.Pts), S.Due, 1e-9) << S.Pts;
    }
}

TEST_F(PlayerParts, PositionReportsAndEnd)
{
    TCustomPlayer P;
    std::vector<int64_t> Positions;
    P.OnPosition = [&](TObject*, int64_t V) { Positions.push_back(V); };
    P.OnState = [](TObject*, TPlayState) {};
    TFakeFile F(P);
    TVideoState* VS = F.VS.get();
    VS->paused = 1;
    VS->video_stream = 0;
    VS->Duration = 2000000;
    auto Drain = [&] {
        std::vector<std::pair<TPlayEventKind, int64_t>> Out;
        int64_t V;
        for (TPlayEventKind K; (K = P.PlayEvents().Pop(V)) != pekNone;) Out.push_back({K, V});
        return Out;
    };
    auto ReportAt = [&](double ASeconds) {
        VS->video_current_pts = ASeconds;
        P.UpdatePosition();
        return Drain();
    };
    using E = std::vector<std::pair<TPlayEventKind, int64_t>>;
    EXPECT_EQ(ReportAt(0.5), (E{{pekPosition, 500000}}));  // the first is always reported
    EXPECT_EQ(ReportAt(0.51), E{});                         // exactly 10000 us: not reported
    EXPECT_EQ(ReportAt(0.510001), (E{{pekPosition, 510001}}));
    EXPECT_EQ(P.CurrentPTS(), 510001);
    EXPECT_EQ(ReportAt(1.995), (E{{pekPosition, 1995000}}));
    EXPECT_EQ(ReportAt(2.1), (E{{pekPosition, 2000000}}));  // the duration, though within 10000 us
    EXPECT_EQ(ReportAt(2.2), E{});                          // once

    // The end of a file with video is reported once, until a new picture is queued.
    VS->ReachEOF = 1;
    EXPECT_EQ(ReportAt(2.2), (E{{pekState, psEnd}}));
    EXPECT_EQ(ReportAt(2.2), E{});
    VS->EventEOF = 0;
    EXPECT_EQ(ReportAt(2.2), (E{{pekState, psEnd}}));

    // Without video the end is reported at every report; the position comes from audio.
    VS->EventEOF = 0;
    VS->video_stream = -1;
    VS->audio_stream = 1;
    VS->audio_clock = 2.3;
    P.UpdatePosition();
    P.UpdatePosition();
    EXPECT_EQ(Drain(), (E{{pekState, psEnd}}));  // the two ends coalesce in the ring
    EXPECT_EQ(P.PlayState(), psEnd);

    // An image sequence reports nothing.
    VS->IsImage2 = 1;
    VS->audio_clock = 0.7;
    P.UpdatePosition();
    EXPECT_EQ(Drain(), E{});
}

TEST_F(PlayerParts, PlayLengthLimit)
{
    TCustomPlayer P;
    TFakeFile F(P);
    TVideoState* VS = F.VS.get();
    AVFormatContext* IC = AV.avformat_alloc_context();
    VS->ic = IC;
    VS->paused = 1;
    VS->video_stream = 0;
    VS->Duration = 10000000;

    // Loop: back to the start time (here none: 0, any frame).
    P.SetPlayTime(1000000);
    P.SetRepeatType(rtLoop);
    VS->video_current_pts = 0.9;
    P.UpdatePosition();
    EXPECT_EQ(VS->seek_req, 0);
    VS->video_current_pts = 1.0;
    P.UpdatePosition();
    EXPECT_EQ(VS->seek_req, 1);
    EXPECT_EQ(VS->seek_pos, 0);
    EXPECT_EQ(VS->seek_rel, 1);
    EXPECT_EQ(VS->seek_flags, AVSEEK_FLAG_ANY);

    // A pending seek is not replaced; a seek beyond the duration goes to the duration.
    P.Seek(int64_t(5000000));
    EXPECT_EQ(VS->seek_pos, 0);
    VS->seek_req = 0;
    P.Seek(int64_t(50000000));
    EXPECT_EQ(VS->seek_pos, 10000000);
    EXPECT_EQ(VS->seek_rel, 0);
    VS->seek_req = 0;

    // With a start time, the limit counts from it and the loop goes back to it.
    P.set_start_time(3000000);
    VS->video_current_pts = 3.9;
    P.UpdatePosition();
    EXPECT_EQ(VS->seek_req, 0);
    VS->video_current_pts = 4.0;
    P.UpdatePosition();
    EXPECT_EQ(VS->seek_req, 1);
    EXPECT_EQ(VS->seek_pos, 3000000);
    VS->seek_req = 0;

    // Stop: the file is continued (a paused file is un-paused) and asked to quit.
    P.SetRepeatType(rtStop);
    P.UpdatePosition();
    EXPECT_EQ(VS->paused, 0);
    EXPECT_EQ(VS->seek_req, 0);
    AV.avformat_free_context(IC);
}

TEST_F(PlayerParts, PicturesOutOfTimeOrderAreACheckedError)
{
    // Two queued pictures, the second due before the first: the refresh refuses them
    // with an error that the play thread logs (the file is then closed), not an abort.
    TCustomPlayer P;
    TFakeFile F(P);
    TVideoState* VS = F.VS.get();
    AVStream Stream{};
    VS->video_st = &Stream;
    VS->video_stream = 0;
    VS->pictq_mutex = AV.SDL_CreateMutex();
    VS->pictq_cond = AV.SDL_CreateCond();
    VS->pictq_size = 2;
    VS->pictq[0].target_clock = 1.0;  // long due
    VS->pictq[1].target_clock = 0.5;
    EXPECT_THROW(RefreshVideo(VS, true), std::exception);
    EXPECT_EQ(VS->pictq_size, 2);
    AV.SDL_DestroyCond(VS->pictq_cond);
    AV.SDL_DestroyMutex(VS->pictq_mutex);
}

TEST_F(PlayerParts, ContinuingMovesTheDueTimesByThePausedTimeOnly)
{
    // Paused two seconds after the due times were set (no picture shown since: a file
    // opened paused, or a seek made while paused), the pictures are due two seconds
    // later on continuing, not a whole wall clock later.
    TCustomPlayer P;
    TFakeFile F(P);
    TVideoState* VS = F.VS.get();
    VS->read_pause_return = AVERROR(ENOSYS);  // a file: its reading cannot pause
    VS->paused = 1;
    const double Base = NowSeconds() - 2.0;
    VS->timer_base = Base;
    VS->frame_timer = Base + 0.04;
    TogglePaused(VS);
    EXPECT_EQ(VS->paused, 0);
    EXPECT_NEAR(VS->frame_timer, NowSeconds() + 0.04, 0.5);
    // Paused again at once and continued: the due times hardly move.
    const double Due = VS->frame_timer;
    VS->paused = 1;
    TogglePaused(VS);
    EXPECT_NEAR(VS->frame_timer, Due, 0.5);
    EXPECT_EQ(VS->video_current_pts, 0);  // a file's clock stays where it stood
}
