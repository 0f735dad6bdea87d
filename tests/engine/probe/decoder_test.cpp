// The frame decoder over a clip whose frame k has a known grey level (25 fps,
// key frames every 5 frames).
#include "support/engine_support.h"

#include "engine/probe/AVProbe.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <chrono>
#include <thread>

using namespace enginetest;

namespace {

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLibraries());
        ASSERT_TRUE(P.LoadFile(Media("grey.avi"))) << P.LastErrMsg();
    }
    // The frame index the held picture shows, from its grey level.
    int ShownFrame() const
    {
        const TFrameInfo& F = P.FrameInfo();
        if (!F.Ready || F.PixFmt != AV_PIX_FMT_YUV420P) return -1;
        int Y = F.Data[0][(F.Height / 2) * F.Linesize[0] + F.Width / 2];
        return (Y - GreyLevel(0) + 4) / 8;
    }
    TAVProbe P{nullptr};
};

}  // namespace

TEST_F(DecoderTest, DecodesEveryFrameInOrderThenReportsTheEnd)
{
    int Frames = 0;
    while (P.Decode()) {
        const TFrameInfo& F = P.FrameInfo();
        EXPECT_EQ(F.PTS, Frames * 40000) << Frames;
        EXPECT_EQ(ShownFrame(), Frames);
        EXPECT_EQ(F.IsKeyFrame, Frames % 5 == 0) << Frames;
        EXPECT_EQ(F.PictureType, Frames % 5 == 0 ? ptI : ptP) << Frames;
        EXPECT_EQ(F.Width, 64);
        EXPECT_EQ(F.Height, 48);
        EXPECT_EQ(F.StreamIndex, 0);
        EXPECT_GE(F.Position, 0);
        ++Frames;
    }
    // Every frame ffprobe counts, the decoder's delayed ones included.
    String Count = FFprobe("-count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0",
                           Media("grey.avi"));
    EXPECT_EQ(Frames, std::stoi(Count));
    EXPECT_EQ(Frames, GreyFrames);
    EXPECT_TRUE(P.Eof());
    EXPECT_EQ(P.LastErrMsg(), "stream eof reached.");
    EXPECT_FALSE(P.Decode());

    ASSERT_TRUE(P.Seek(0));
    EXPECT_FALSE(P.Eof());
    ASSERT_TRUE(P.Decode());
    EXPECT_EQ(P.FrameInfo().PTS, 0);
    EXPECT_EQ(ShownFrame(), 0);
}

TEST_F(DecoderTest, FramesHeldBackByTheDecoderAreNotLost)
{
    // B frames make the decoder hold frames back; the end of the file drains them.
    TAVProbe B(nullptr);
    ASSERT_TRUE(B.LoadFile(Media("grey_b.mkv")));
    std::vector<int> Shown;
    while (B.Decode()) {
        const TFrameInfo& F = B.FrameInfo();
        Shown.push_back((F.Data[0][(F.Height / 2) * F.Linesize[0] + F.Width / 2] - GreyLevel(0) + 4) / 8);
    }
    String Count = FFprobe("-count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0",
                           Media("grey_b.mkv"));
    ASSERT_EQ(int(Shown.size()), std::stoi(Count));
    for (int I = 0; I < int(Shown.size()); ++I) EXPECT_EQ(Shown[I], I);
}

TEST_F(DecoderTest, SteppingBackwards)
{
    for (int I = 0; I < 10; ++I) ASSERT_TRUE(P.Decode());
    ASSERT_EQ(ShownFrame(), 9);
    ASSERT_TRUE(P.DecodePreviousFrame());
    EXPECT_EQ(ShownFrame(), 8);
    EXPECT_EQ(P.FrameInfo().PTS, 320000);
    ASSERT_TRUE(P.DecodePreviousFrame());
    EXPECT_EQ(ShownFrame(), 7);

    ASSERT_TRUE(P.DecodePreviousKeyFrame());
    EXPECT_EQ(ShownFrame(), 5);
    EXPECT_TRUE(P.FrameInfo().IsKeyFrame);
    ASSERT_TRUE(P.DecodePreviousKeyFrame());
    EXPECT_EQ(ShownFrame(), 0);
    EXPECT_EQ(P.FrameInfo().PTS, 0);
}

TEST_F(DecoderTest, PreviousKeyFrameEndsWhenAFrameLastsUnderAMicrosecond)
{
    for (int I = 0; I <= 12; ++I) ASSERT_TRUE(P.Decode());
    // A rate of three million frames a second: a frame duration of 0 in microseconds.
    P.FileHandle()->streams[0]->r_frame_rate = AVRational{3000000, 1};
    std::atomic<int> Result{-1};
    std::thread([&] { Result = P.DecodePreviousKeyFrame() ? 1 : 0; }).detach();
    for (int I = 0; I < 2000 && Result < 0; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_NE(Result.load(), -1) << "the search does not end";
    EXPECT_EQ(Result.load(), 1);
    EXPECT_EQ(ShownFrame(), 10);
}

TEST_F(DecoderTest, SteppingForwardByKeyFrames)
{
    ASSERT_TRUE(P.Decode());
    ASSERT_TRUE(P.DecodeNextKeyFrame());
    EXPECT_EQ(ShownFrame(), 5);
    ASSERT_TRUE(P.Decode());
    ASSERT_TRUE(P.DecodeNextKeyFrame());
    EXPECT_EQ(ShownFrame(), 10);
    EXPECT_TRUE(P.FrameInfo().IsKeyFrame);
}

TEST_F(DecoderTest, PreviousKeyFrameBeforeAnyDecodeStartsFromTheEnd)
{
    ASSERT_TRUE(P.DecodePreviousKeyFrame());
    EXPECT_EQ(ShownFrame(), 20);
    EXPECT_TRUE(P.FrameInfo().IsKeyFrame);
}

TEST_F(DecoderTest, SeekingByTime)
{
    // A negative time is the start.
    ASSERT_TRUE(P.Seek(-5000000));
    ASSERT_TRUE(P.Decode());
    EXPECT_EQ(ShownFrame(), 0);
    // Backward to the key frame at or before 0.5 s.
    ASSERT_TRUE(P.Seek(500000, {sfBackward}));
    ASSERT_TRUE(P.Decode());
    EXPECT_EQ(ShownFrame(), 10);
    ASSERT_TRUE(P.Seek(520000, {sfBackward}));
    ASSERT_TRUE(P.Decode());
    EXPECT_EQ(ShownFrame(), 10);
    EXPECT_GE(P.Position(), 0);
}

TEST_F(DecoderTest, WrongStreamsAndFiles)
{
    TFrameInfo Before = P.FrameInfo();
    EXPECT_FALSE(P.Decode(3));
    EXPECT_EQ(P.LastErrMsg(), "stream index #3 is invalid.");

    TAVProbe A(nullptr);
    ASSERT_TRUE(A.LoadFile(Media("tone.wav")));
    EXPECT_FALSE(A.Decode());
    EXPECT_EQ(A.LastErrMsg(), "no video stream.");
    EXPECT_FALSE(A.Decode(0));
    EXPECT_EQ(A.LastErrMsg(), "stream #0 is not video stream.");

    TAVProbe None(nullptr);
    EXPECT_FALSE(None.Decode());
    EXPECT_FALSE(None.Seek(0));
    EXPECT_EQ(None.LastErrMsg(), "file not loaded.");
    EXPECT_EQ(None.Position(), -1);
}

TEST_F(DecoderTest, StillImageHasOneFrame)
{
    TAVProbe S(nullptr);
    ASSERT_TRUE(S.LoadFile(Media("still.png"), "image2"));
    ASSERT_TRUE(S.Decode());
    EXPECT_EQ(S.FrameInfo().Width, 32);
    uint8_t* First = S.FrameInfo().Data[0];
    ASSERT_TRUE(S.Decode());  // the same frame, nothing read
    EXPECT_EQ(S.FrameInfo().Data[0], First);
    EXPECT_FALSE(S.Seek(0));
    EXPECT_EQ(S.LastErrMsg(), "\"image2\" format cannot to be seeked.");
}

TEST_F(DecoderTest, AdoptedContextCannotBeDecoded)
{
    AVFormatContext* Ctx = nullptr;
    ASSERT_EQ(AV.avformat_open_input(&Ctx, Media("grey.avi").c_str(), nullptr, nullptr), 0);
    TAVProbe A(nullptr);
    A.SetFileHandle(Ctx);
    EXPECT_EQ(A.VideoStreamCount(), 1);
    for (int Op = 0; Op < 3; ++Op) {
        try {
            if (Op == 0) A.Decode();
            if (Op == 1) A.Seek(0);
            if (Op == 2) A.DecodePreviousFrame();
            ADD_FAILURE() << "no exception for operation " << Op;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "file cannot be seeked, handle is readonly.");
        }
    }
    A.CloseFile();
    AV.avformat_close_input(&Ctx);
}

TEST_F(DecoderTest, PreviousKeyFrameGivesUpWhenNothingEarlierExists)
{
    // The first picture of this stream lies after its start; nothing precedes it, and
    // the search ends once the start has been tried.
    TAVProbe C(nullptr);
    ASSERT_TRUE(C.LoadFile(Media("cut.ts"))) << C.LastErrMsg();
    ASSERT_TRUE(C.Decode()) << C.LastErrMsg();
    ASSERT_GT(C.FrameInfo().PTS, 0);
    EXPECT_FALSE(C.DecodePreviousKeyFrame());
    EXPECT_EQ(C.LastErrMsg().rfind("Could not seek to the previous key-frame. ", 0), 0u) << C.LastErrMsg();
}

namespace {

// A clip in memory whose reads fail from byte FailAt on, as a disk that goes away.
class TFailingStream : public TMemoryStream {
public:
    int64_t FailAt = INT64_MAX;
    int64_t Read(void* ABuffer, int64_t ACount) override
    {
        const int64_t At = Position();
        if (At >= FailAt) throw EInOutError(EIO, "the device went away");
        return TMemoryStream::Read(ABuffer, std::min(ACount, FailAt - At));
    }
};

}  // namespace

TEST(DecoderInput, AnInputThatFailsMidwayIsReportedAsItsErrorNotAsTheEnd)
{
    ASSERT_TRUE(LoadLibraries());
    TFailingStream Stream;
    Stream.LoadFromFile(Media("grey_b.mkv"));
    const int64_t Size = Stream.Size();
    const struct {
        const char* Name;
        int64_t FailAt;
        const char* Message;  // the end of LastErrMsg after the last frame
    } Cases[] = {
        {"whole", INT64_MAX, "stream eof reached."},
        {"fails midway", Size * 6 / 10, ": I/O error"},
    };
    int Whole = 0;
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Stream.FailAt = C.FailAt;
        Stream.SetPosition(0);
        TAVProbe P(nullptr);
        ASSERT_TRUE(P.LoadFile(Format("stream:%d:", int64_t(reinterpret_cast<intptr_t>(&Stream))))) << P.LastErrMsg();
        int Frames = 0;
        while (P.Decode()) ++Frames;
        EXPECT_TRUE(P.Eof());
        EXPECT_TRUE(EndsText(C.Message, P.LastErrMsg())) << P.LastErrMsg();
        if (C.FailAt == INT64_MAX) {
            Whole = Frames;
        } else {
            EXPECT_LT(Frames, Whole);
        }
        EXPECT_GT(Frames, 0);
    }
}
