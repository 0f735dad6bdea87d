// The order in which a conversion of two inputs reads them.  The loop reads next from the
// input whose output lags furthest behind, or, with "isync", from the input that lags by
// its own timestamps.  The two differ while the output starts later than the inputs:
// packets before the start are read and dropped, so no output moves while the inputs do.
// The progress report after every packet names the input the packet came from.
#include "support/convert_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace converttest;

namespace {

// The inputs of the packets read in a conversion of mono.wav beside itself into two
// audio streams, with the output starting at 0.5 s.
std::vector<int> InputsRead(bool AInputSync, const String& AOut)
{
    TEvents events;
    auto list = NewTaskList(events);
    EXPECT_EQ(list->AddTask(Clip("mono.wav")), 0) << list->LastErrMsg();
    EXPECT_TRUE(list->AddInputFile(0, Clip("mono.wav"))) << list->LastErrMsg();
    TOutputOptions o;
    o.DisableVideo = true;
    o.AudioCodec = "pcm_s16le";
    o.InputSync = AInputSync;
    o.TimeStart = 500000;
    o.ExtOptions = "map=0:0\nmap=1:0\nnewaudio=1";
    EXPECT_TRUE(list->SetOutputFile(0, AOut, &o)) << list->LastErrMsg();
    list->SetProgressInterval(100);
    list->Task(0)->Clock = SteppingClock(200000);  // every packet is followed by a report
    list->Start(0);
    std::vector<int> order;
    EXPECT_EQ(events.Terminates.size(), 2u);
    if (events.Terminates.size() != 2u) return order;
    EXPECT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    for (const TProgressInfo& p : events.Progress)
        if (p.FileIndex >= 0) order.push_back(p.FileIndex);
    return order;
}

// The most packets one input was ahead of the other at any point of AOrder.
int LargestLead(const std::vector<int>& AOrder)
{
    int lead = 0, largest = 0;
    for (int f : AOrder) {
        lead += f == 0 ? 1 : -1;
        largest = std::max(largest, std::abs(lead));
    }
    return largest;
}

String Text(const std::vector<int>& AOrder)
{
    String s;
    for (int f : AOrder) s += char('0' + f);
    return s;
}

}  // namespace

TEST(ConvertInputOrder, OutputTimesOrInputTimesChooseTheNextInput)
{
    const String dir = enginetest::ScratchFolder();
    // By the outputs' times: both outputs stand at 0 until the first input has passed the
    // start, so it is read alone up to there (about eleven packets of 46 ms).
    const std::vector<int> byOutput = InputsRead(false, dir + "by_output.mkv");
    SCOPED_TRACE("by output times: " + Text(byOutput));
    ASSERT_GE(byOutput.size(), 40u);
    EXPECT_GE(std::find(byOutput.begin(), byOutput.end(), 1) - byOutput.begin(), 10);
    EXPECT_GE(LargestLead(byOutput), 10);
    // By the inputs' times: the two are read in turn from the first packet on.
    const std::vector<int> byInput = InputsRead(true, dir + "by_input.mkv");
    SCOPED_TRACE("by input times: " + Text(byInput));
    ASSERT_GE(byInput.size(), 40u);
    EXPECT_LE(std::find(byInput.begin(), byInput.end(), 1) - byInput.begin(), 2);
    EXPECT_LE(LargestLead(byInput), 2);
    // Either way both streams hold the half second after the start.
    for (const String& out : {dir + "by_output.mkv", dir + "by_input.mkv"}) {
        EXPECT_EQ(SplitLines(Probe(out, "a", "stream=index")).size(), 2u) << out;
        EXPECT_NEAR(ProbeDouble(out, "", "format=duration"), 0.5, 0.06) << out;
    }
}
