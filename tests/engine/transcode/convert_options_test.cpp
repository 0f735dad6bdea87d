// Options whose effect shows only in the converted file: each case converts a clip with
// one option (on the input or the output) beside the same conversion without it, and
// compares one reading of the two outputs.
#include "support/convert_support.h"

#include <chrono>
#include <filesystem>

using namespace converttest;

namespace {

struct TOptionCase {
    const char* Name;
    const char* Input;        // a clip of the conversion tests, or a file of the engine's media
    const char* InputOption;  // name=value lines for the input ("" for none)
    const char* OutputOption; // name=value lines for the output
    const char* Output;       // the output's file name (its container)
    const char* Reading;      // what is compared
    // The reading of the output with the option and without it.
    std::function<double(const String& AOut)> Read;
    std::function<void(double AWith, double AWithout)> Check;
};

double Frames(const String& AOut) { return CountFrames(AOut); }
double VideoStart(const String& AOut) { return ProbeDouble(AOut, "v:0", "stream=start_time"); }
double Width(const String& AOut) { return ProbeDouble(AOut, "v:0", "stream=width"); }
double HasTitle(const String& AOut) { return Probe(AOut, "", "format_tags=title") == "Titled" ? 1 : 0; }
double SubtitleStreams(const String& AOut) { return double(SplitLines(Probe(AOut, "s", "stream=index")).size()); }

String InputPath(const char* AName)
{
    return std::filesystem::exists(Clip(AName)) ? Clip(AName) : enginetest::Media(AName);
}

// Converts ACase's input with or without its options; the output's path, empty on failure.
String ConvertCase(const TOptionCase& ACase, bool AWithOption, const String& ADir)
{
    TEvents events;
    auto list = NewTaskList(events);
    const int index = list->AddTask(InputPath(ACase.Input), AWithOption ? ACase.InputOption : "");
    EXPECT_EQ(index, 0) << list->LastErrMsg();
    if (index != 0) return String();
    TOutputOptions o = AviOptions(200000);
    o.DisableAudio = true;
    if (AWithOption) o.ExtOptions = ACase.OutputOption;
    const String out = ADir + (AWithOption ? "with_" : "without_") + ACase.Output;
    EXPECT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
    list->Start(0);
    EXPECT_EQ(events.Terminates.size(), 2u);
    if (events.Terminates.size() != 2u) return String();
    EXPECT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    return out;
}

void PrintTo(const TOptionCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class ConvertOptions : public ::testing::TestWithParam<TOptionCase> {};

}  // namespace

TEST_P(ConvertOptions, TheOptionShowsInTheOutput)
{
    const TOptionCase& c = GetParam();
    ASSERT_TRUE(enginetest::LoadLibraries());
    const String dir = enginetest::ScratchFolder();
    const String with = ConvertCase(c, true, dir);
    const String without = ConvertCase(c, false, dir);
    ASSERT_FALSE(with.empty());
    ASSERT_FALSE(without.empty());
    const double a = c.Read(with), b = c.Read(without);
    SCOPED_TRACE(String(c.Reading) + ": with " + std::to_string(a) + ", without " + std::to_string(b));
    c.Check(a, b);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ConvertOptions,
    ::testing::Values(
        // An image read again and again until the recording time ends.
        TOptionCase{"loop_input", "still.png", "loop_input=1", "t=1", "loop.avi", "frames", Frames,
                    [](double AWith, double AWithout) {
                        EXPECT_NEAR(AWith, 25, 1);
                        EXPECT_EQ(AWithout, 1);
                    }},
        // The input's timestamps moved on by a second.
        TOptionCase{"itsoffset", "clip.avi", "itsoffset=1", "", "offset.mkv", "video start", VideoStart,
                    [](double AWith, double AWithout) { EXPECT_NEAR(AWith - AWithout, 1.0, 0.05); }},
        // The input file's own tags given to the output.
        TOptionCase{"map_meta_data", "titled.mkv", "", "map_meta_data=0:0", "meta.mkv", "title", HasTitle,
                    [](double AWith, double AWithout) {
                        EXPECT_EQ(AWith, 1);
                        EXPECT_EQ(AWithout, 0);
                    }},
        // Only the chosen program's streams are read: its picture is the smaller one, which
        // is not picked when all programs are read.  The second program's stream is found
        // only while the stream information is read.
        TOptionCase{"programid", "programs.ts", "programid=1", "", "program.avi", "width", Width,
                    [](double AWith, double AWithout) {
                        EXPECT_EQ(AWith, 160);
                        EXPECT_EQ(AWithout, 320);
                    }},
        // One more subtitle stream in the output, fed by the input's subtitles.
        TOptionCase{"newsubtitle", "sub.mkv", "", "scodec=copy\nnewsubtitle=1", "newsub.mkv", "subtitle streams",
                    SubtitleStreams, [](double AWith, double AWithout) { EXPECT_EQ(AWith, AWithout + 1); }}),
    [](const ::testing::TestParamInfo<TOptionCase>& I) { return String(I.param.Name); });

// Reading at the input's own rate: a clip of one second takes at least about that long to
// convert, where a plain conversion of it takes a fraction of it.
TEST(ConvertOptionsRate, ReadingAtNativeRateTakesAboutTheClipsLength)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip48.mkv"), "re=1"), 0) << list->LastErrMsg();
    TOutputOptions o = AviOptions(200000);
    const String out = enginetest::ScratchFolder() + "rate.avi";
    ASSERT_TRUE(list->SetOutputFile(0, out, &o)) << list->LastErrMsg();
    const auto start = std::chrono::steady_clock::now();
    list->Start(0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(events.Terminates.size(), 2u);
    EXPECT_TRUE(events.Terminates[0].Finished) << events.Terminates[0].ExceptionMsg;
    EXPECT_GE(seconds, 0.8);
    EXPECT_NEAR(CountFrames(out), 25, 1);
}
