// A conversion never destroys a file and never reports a failure as success: an output
// that is one of the task's inputs is refused, an earlier file survives a failed or
// stopped conversion, a write error (full disk, file size limit) fails the task without
// leaving a partial file, and an output that received nothing is a failure.
#include "support/convert_support.h"

#include "engine/libs/OutputTarget.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace converttest;

namespace {

String ReadAll(const String& AFile)
{
    std::ifstream in(AFile, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const String& AFile, const String& AText) { std::ofstream(AFile, std::ios::binary) << AText; }

// The names in a folder (temporary files included).
std::vector<String> Names(const String& ADir)
{
    std::vector<String> names;
    for (const auto& e : fs::directory_iterator(ADir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A task list with one task converting AInput into AOut; false with the reason when the
// task cannot be set up.
bool SetUpTask(TTaskList& AList, const String& AInput, const String& AOut, TOutputOptions AOptions, String& AError)
{
    if (AList.AddTask(AInput) != 0 || !AList.SetOutputFile(0, AOut, &AOptions)) {
        AError = AList.LastErrMsg();
        return false;
    }
    return true;
}

}  // namespace

TEST(ConvertSafety, AnOutputThatIsTheTaskInputIsRefusedAndTheInputKept)
{
    const String dir = enginetest::ScratchFolder();
    fs::copy_file(Clip("clip.avi"), dir + "in.avi");
    fs::create_hard_link(dir + "in.avi", dir + "link.avi");
    fs::create_directory(dir + "sub");
    const String before = ReadAll(dir + "in.avi");
    // The same file however it is spelt: as given, through "." and "..", or a second link.
    const String names[] = {dir + "in.avi", dir + "./in.avi", dir + "sub/../in.avi", dir + "link.avi"};
    for (const String& out : names) {
        TEvents events;
        auto list = NewTaskList(events);
        String error;
        EXPECT_FALSE(SetUpTask(*list, dir + "in.avi", out, AviOptions(), error)) << out;
        EXPECT_NE(error.find("input of this task"), String::npos) << error;
        EXPECT_EQ(ReadAll(dir + "in.avi"), before) << out;
    }
    // An input added after the output was named is refused as well.
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
    TOutputOptions options = AviOptions();
    ASSERT_TRUE(list->SetOutputFile(0, dir + "link.avi", &options)) << list->LastErrMsg();
    EXPECT_FALSE(list->AddInputFile(0, dir + "in.avi"));
    EXPECT_NE(list->LastErrMsg().find("output of this task"), String::npos) << list->LastErrMsg();
    list->ClearTasks();
    EXPECT_EQ(ReadAll(dir + "in.avi"), before);
    EXPECT_EQ(Names(dir), (std::vector<String>{"in.avi", "link.avi", "sub"}));
}

TEST(ConvertSafety, AnEarlierFileSurvivesAFailedOrAbandonedConversion)
{
    const String dir = enginetest::ScratchFolder();
    const String out = dir + "out.avi";
    WriteAll(out, "the user's earlier file");
    // Set up, then freed without running.
    {
        TEvents events;
        auto list = NewTaskList(events);
        String error;
        ASSERT_TRUE(SetUpTask(*list, Clip("clip.avi"), out, AviOptions(), error)) << error;
        EXPECT_EQ(ReadAll(out), "the user's earlier file");
    }
    EXPECT_EQ(ReadAll(out), "the user's earlier file");
    // Failing after set-up (no decoder for the input's video).
    {
        TEvents events;
        auto list = NewTaskList(events);
        String error;
        ASSERT_TRUE(SetUpTask(*list, Clip("broken.avi"), out, AviOptions(), error)) << error;
        list->Start(0);
        ASSERT_EQ(events.Terminates.size(), 2u);
        EXPECT_TRUE(events.Terminates[0].Exception);
        EXPECT_FALSE(events.Terminates[0].Finished);
    }
    EXPECT_EQ(ReadAll(out), "the user's earlier file");
    EXPECT_EQ(Names(dir), std::vector<String>{"out.avi"});
}

TEST(ConvertSafety, AStoppedConversionKeepsItsEndedFileOnlyWhereNoEarlierFileHasTheName)
{
    // With no earlier file the stopped conversion's ended file takes the name; an
    // earlier file of that name stays whole instead.  No temporary file is left either way.
    for (const bool earlier : {false, true}) {
        const String dir = enginetest::ScratchFolder();
        const String out = dir + "out.avi";
        if (earlier) WriteAll(out, "the user's earlier file");
        TEvents events;
        auto list = NewTaskList(events);
        String error;
        TOutputOptions options = AviOptions();
        options.ExtOptions = "re=1";  // at the input's own pace, so that the stop comes mid-way
        ASSERT_TRUE(SetUpTask(*list, Clip("clip.avi"), out, options, error)) << error;
        list->Start(1);
        ASSERT_TRUE(WaitUntil([&] {
            std::lock_guard<std::mutex> lock(events.Lock);
            return !events.Progress.empty();
        }));
        list->Stop(true);
        ASSERT_TRUE(WaitForFinal(events));
        EXPECT_FALSE(events.Terminates[0].Finished);
        EXPECT_FALSE(events.Terminates[0].Exception) << events.Terminates[0].ExceptionMsg;
        if (earlier) {
            EXPECT_EQ(ReadAll(out), "the user's earlier file");
        } else {
            const int frames = CountFrames(out);
            EXPECT_GT(frames, 0);
            EXPECT_LT(frames, 50);
        }
        EXPECT_EQ(Names(dir), std::vector<String>{"out.avi"}) << earlier;
    }
}

TEST(ConvertSafety, AFinishedConversionReplacesTheEarlierFileKeepingItsPermissions)
{
    const String dir = enginetest::ScratchFolder();
    const String out = dir + "out.avi";
    WriteAll(out, "the user's earlier file");
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(out, dir + "link.avi");
    auto c = Convert(Clip("clip.avi"), dir + "link.avi", AviOptions());
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->Result().Finished) << c->Result().ExceptionMsg;
    // The link stays a link; its file is the conversion.
    EXPECT_TRUE(fs::is_symlink(dir + "link.avi"));
    EXPECT_EQ(Probe(out, "v:0", "stream=codec_name"), "mpeg4");
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(dir), (std::vector<String>{"link.avi", "out.avi"}));
}

TEST(ConvertSafety, AFullDiskFailsTheTask)
{
    // A short sound: everything fits the write buffer, so the failure shows only when the
    // trailer is written and the file closed.
    TOutputOptions options;
    options.AudioCodec = "pcm_s16le";
    options.FileFormat = "wav";
    options.TimeLength = 100000;
    auto c = Convert(Clip("mono.wav"), "/dev/full", options);
    ASSERT_TRUE(c);
    EXPECT_FALSE(c->Result().Finished);
    EXPECT_TRUE(c->Result().Exception);
    EXPECT_NE(c->Result().ExceptionMsg.find("No space left on device"), String::npos) << c->Result().ExceptionMsg;
}

TEST(ConvertSafety, AWriteFailingMidwayLeavesNoPartialFile)
{
    const String input = Clip("clip.avi");
    const String dir = enginetest::ScratchFolder();
    const String out = dir + "out.avi";
    WriteAll(out, "the user's earlier file");
    // Writes past 64 KiB fail (EFBIG), as on a disk that fills up during the conversion.
    struct TLimit {
        rlimit Saved{};
        void (*Handler)(int) = nullptr;
        TLimit()
        {
            getrlimit(RLIMIT_FSIZE, &Saved);
            Handler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit = Saved;
            limit.rlim_cur = 64 * 1024;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        ~TLimit()
        {
            setrlimit(RLIMIT_FSIZE, &Saved);
            std::signal(SIGXFSZ, Handler);
        }
    };
    std::unique_ptr<TConversion> c;
    {
        TLimit limit;
        c = Convert(input, out, AviOptions(2000000));
    }
    ASSERT_TRUE(c);
    EXPECT_FALSE(c->Result().Finished);
    EXPECT_NE(c->Result().ExceptionMsg.find("File too large"), String::npos) << c->Result().ExceptionMsg;
    EXPECT_EQ(ReadAll(out), "the user's earlier file");
    EXPECT_EQ(Names(dir), std::vector<String>{"out.avi"});
}

TEST(ConvertSafety, AConversionThatWritesNothingFails)
{
    struct TCase {
        const char* Name;
        const char* Input;
        const char* Out;
        TOutputOptions Options;
        const char* Reason;
    };
    TOutputOptions late = AviOptions();
    late.TimeStart = 10 * 1000000;  // beyond the end of the 2 s clip
    TOutputOptions sound;          // a sound file from a clip without sound
    sound.AudioCodec = "pcm_s16le";
    const TCase cases[] = {{"start beyond the end", "clip.avi", "late.avi", late, "nothing was written"},
                           {"no stream to write", "fast.nut", "silent.wav", sound, "does not contain any stream"}};
    for (const TCase& t : cases) {
        const String dir = enginetest::ScratchFolder();
        TEvents events;
        auto list = NewTaskList(events);
        String error;
        if (!SetUpTask(*list, Clip(t.Input), dir + t.Out, t.Options, error)) {
            // Refused at once is as good, as long as it says why.
            EXPECT_FALSE(error.empty()) << t.Name;
            continue;
        }
        list->Start(0);
        ASSERT_EQ(events.Terminates.size(), 2u) << t.Name;
        EXPECT_FALSE(events.Terminates[0].Finished) << t.Name;
        EXPECT_TRUE(events.Terminates[0].Exception) << t.Name;
        EXPECT_NE(events.Terminates[0].ExceptionMsg.find(t.Reason), String::npos)
            << t.Name << ": " << events.Terminates[0].ExceptionMsg;
        EXPECT_TRUE(Names(dir).empty()) << t.Name;
    }
}

TEST(OutputTarget, TemporaryFileBesideTheTargetUntilCommitted)
{
    const String dir = enginetest::ScratchFolder();
    TOutputTarget target;
    ASSERT_EQ(PrepareOutputTarget(dir + "new.mp4", target), 0);
    EXPECT_EQ(target.Target, dir + "new.mp4");
    ASSERT_FALSE(target.Temp.empty());
    EXPECT_EQ(target.Temp.rfind(dir, 0), 0u) << target.Temp;
    EXPECT_FALSE(fs::exists(dir + "new.mp4"));
    WriteAll(target.Temp, "made");
    ASSERT_EQ(CommitOutputTarget(target), 0);
    EXPECT_EQ(ReadAll(dir + "new.mp4"), "made");
    EXPECT_EQ(Names(dir), std::vector<String>{"new.mp4"});
    // Discarded: the earlier file stays.
    ASSERT_EQ(PrepareOutputTarget(dir + "new.mp4", target), 0);
    WriteAll(target.Temp, "half");
    DiscardOutputTarget(target);
    EXPECT_EQ(ReadAll(dir + "new.mp4"), "made");
    EXPECT_EQ(Names(dir), std::vector<String>{"new.mp4"});
    // A device is written as it is; a folder or a missing folder cannot be written.
    ASSERT_EQ(PrepareOutputTarget("/dev/null", target), 0);
    EXPECT_EQ(target.Target, "/dev/null");
    EXPECT_TRUE(target.Temp.empty());
    EXPECT_EQ(PrepareOutputTarget(dir, target), AVERROR(EISDIR));
    EXPECT_EQ(PrepareOutputTarget(dir + "none/x.mp4", target), AVERROR(ENOENT));
    // A long name still gets a temporary name within the limit of a name.
    const String longName = dir + String(250, 'n') + ".mp4";
    ASSERT_EQ(PrepareOutputTarget(longName.substr(0, dir.size() + 250), target), 0);
    DiscardOutputTarget(target);
    EXPECT_EQ(Names(dir), std::vector<String>{"new.mp4"});
}

// A new output gets the mode the user's umask gives; a replaced one keeps the earlier
// file's mode whatever the umask.
TEST(ConvertSafety, ANewOutputFollowsTheUmaskAndAReplacedOneKeepsItsMode)
{
    struct TCase {
        mode_t Umask;
        fs::perms NewMode;
    };
    using P = fs::perms;
    const TCase cases[] = {
        {022, P::owner_read | P::owner_write | P::group_read | P::others_read},
        {077, P::owner_read | P::owner_write},
    };
    const P kept = P::owner_read | P::owner_write | P::group_read;
    for (const TCase& t : cases) {
        const String dir = enginetest::ScratchFolder();
        WriteAll(dir + "old.avi", "the user's earlier file");
        fs::permissions(dir + "old.avi", kept);
        const mode_t before = umask(t.Umask);
        auto made = Convert(Clip("clip.avi"), dir + "new.avi", AviOptions());
        auto replaced = Convert(Clip("clip.avi"), dir + "old.avi", AviOptions());
        umask(before);
        ASSERT_TRUE(made && replaced);
        EXPECT_TRUE(made->Result().Finished) << made->Result().ExceptionMsg;
        EXPECT_TRUE(replaced->Result().Finished) << replaced->Result().ExceptionMsg;
        EXPECT_EQ(fs::status(dir + "new.avi").permissions() & P::all, t.NewMode) << std::oct << t.Umask;
        EXPECT_EQ(fs::status(dir + "old.avi").permissions() & P::all, kept) << std::oct << t.Umask;
        EXPECT_EQ(Names(dir), (std::vector<String>{"new.avi", "old.avi"}));
    }
}

TEST(ConvertSafety, StaleTemporaryFilesAreRemovedAndLiveOnesKept)
{
    const String dir = enginetest::ScratchFolder();
    // left by a killed conversion, and files of the user's that only look alike
    for (const char* name : {".out.avi.1a2b3c.part", ".a b.mp4.000000.part", ".notes.part", "out.avi.1a2b3c.part",
                             ".out.avi.1A2B3C.part", ".out.avi.1a2b3.part"})
        WriteAll(dir + name, "x");
    // one a running conversion writes
    TOutputTarget live;
    ASSERT_EQ(PrepareOutputTarget(dir + "live.avi", live), 0);
    const String liveName = live.Temp.substr(dir.size());
    EXPECT_EQ(RemoveStaleOutputTemps(dir), 2);
    std::vector<String> expected = {".notes.part", ".out.avi.1A2B3C.part", ".out.avi.1a2b3.part", "out.avi.1a2b3c.part",
                                    liveName};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir), expected);
    DiscardOutputTarget(live);
    EXPECT_EQ(RemoveStaleOutputTemps(dir), 0);
}
