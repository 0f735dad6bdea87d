// Named pipes as inputs: a read never blocks for ever, so a pipe that stalls or never gets
// a writer cannot hang an open, a conversion or its stop.
#include "support/convert_support.h"
#include "support/pipe_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/UnicodeProtocol.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace converttest;

namespace {

// Lowers the stall limit of pipe inputs for the life of the object.
class TStallLimit {
public:
    explicit TStallLimit(int AMs) : FSaved(InputStallLimitMs.exchange(AMs)) {}
    ~TStallLimit() { InputStallLimitMs = FSaved; }

private:
    int FSaved;
};

// The packets av_read_frame gives until the end or an error.
int CountPackets(AVFormatContext* AContext)
{
    AVPacket* Packet = AV.av_packet_alloc();
    int Count = 0;
    while (AV.av_read_frame(AContext, Packet) >= 0) {
        ++Count;
        AV.av_packet_unref(Packet);
    }
    AV.av_packet_free(&Packet);
    return Count;
}

int AlwaysStop(void*) { return 1; }

}  // namespace

TEST(PipeInput, OpeningANamedPipeEndsWithTheDataItsInterruptOrItsStall)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TStallLimit Limit(300);
    int Whole = 0;  // the packets of the clip read as a regular file
    {
        AVFormatContext* C = nullptr;
        ASSERT_EQ(OpenInputURL(&C, FileNameToURL(Clip("clip.avi")), nullptr, nullptr), 0);
        Whole = CountPackets(C);
        CloseInputURL(&C);
    }
    ASSERT_GT(Whole, 50);
    const struct {
        const char* Name;
        bool Connect;      // a writer comes and writes the whole clip
        bool Interrupted;  // the context's interrupt callback asks to stop
        int Result;
    } Cases[] = {
        {"the whole clip", true, false, 0},
        {"no writer", false, false, AVERROR(ETIMEDOUT)},
        {"no writer, interrupted", false, true, AVERROR_EXIT},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const String Fifo = enginetest::ScratchFolder() + "clip.avi";
        enginetest::TPipeFeeder Feeder(Fifo, Clip("clip.avi"), 1.0, Case.Connect);
        AVFormatContext* C = AV.avformat_alloc_context();
        if (Case.Interrupted) C->interrupt_callback.callback = AlwaysStop;
        const int R = OpenInputURL(&C, FileNameToURL(Fifo), nullptr, nullptr);
        EXPECT_EQ(R, Case.Result);
        EXPECT_FALSE(Feeder.Closed()) << "the open waited for the writer";
        if (R == 0) {
            EXPECT_EQ(C->pb->seekable, 0);
            Feeder.Release();
            EXPECT_EQ(CountPackets(C), Whole);
            CloseInputURL(&C);
        } else {
            EXPECT_EQ(C, nullptr);
        }
    }
}

TEST(PipeInput, AddingATaskOverAPipeWithoutWriterFailsInsteadOfHanging)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TStallLimit Limit(300);
    const String Fifo = enginetest::ScratchFolder() + "in.avi";
    enginetest::TPipeFeeder Feeder(Fifo, String(), 0, false);
    TEvents Events;
    auto List = NewTaskList(Events);
    EXPECT_EQ(List->AddTask(Fifo), -1);
    EXPECT_EQ(List->LastErrMsg(), Fifo + ": Connection timed out");
    EXPECT_FALSE(Feeder.Closed());
}

TEST(PipeInput, StoppingAConversionWhoseInputPipeStalls)
{
    // The writer gives half of the clip and then nothing, keeping the pipe open: the
    // conversion waits for more until it is stopped, and the stop does not wait for the
    // writer.
    ASSERT_TRUE(enginetest::LoadLibraries());
    const String Dir = enginetest::ScratchFolder();
    enginetest::TPipeFeeder Feeder(Dir + "in.avi", Clip("clip.avi"), 0.5);
    TEvents Events;
    auto List = NewTaskList(Events);
    ASSERT_EQ(List->AddTask(Dir + "in.avi"), 0) << List->LastErrMsg();
    TOutputOptions O = AviOptions(200000);
    ASSERT_TRUE(List->SetOutputFile(0, Dir + "out.avi", &O)) << List->LastErrMsg();
    List->SetProgressInterval(100);
    List->Task(0)->Clock = SteppingClock(150000);  // a report every packet or so
    List->Start(1);
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard<std::mutex> L(Events.Lock);
        return !Events.Progress.empty() && Events.Progress.back().CurrentDuration > 500000;
    }, 5)) << (Events.Progress.empty() ? -1 : Events.Progress.back().CurrentDuration);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // into the stall
    EXPECT_FALSE(Events.Final());
    List->Stop(true);
    EXPECT_FALSE(Feeder.Closed()) << "the stop waited for the pipe's writer";
    ASSERT_TRUE(Events.Final());
    ASSERT_EQ(Events.Terminates.size(), 2u);
    EXPECT_FALSE(Events.Terminates[0].Finished);
    EXPECT_FALSE(Events.Terminates[0].Exception) << Events.Terminates[0].ExceptionMsg;
    // What came through the pipe was converted and the file ended properly.
    const int Frames = CountFrames(Dir + "out.avi");
    EXPECT_GT(Frames, 10);
    EXPECT_LT(Frames, 50);
}
