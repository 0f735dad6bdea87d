// Video output: frame-rate synchronisation (duplicates and drops), cropping and scaling,
// size changes in the middle of a stream, deinterlacing, the custom hook and the preview.
#include "support/convert_support.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/graphics/Graphics.h"

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace converttest;

namespace {

TOutputOptions Video(const char* ACodec = "mpeg4")
{
    TOutputOptions o;
    o.VideoCodec = ACodec;
    o.VideoBitrate = 300000;
    o.DisableAudio = true;
    return o;
}

// The mean luma of frame AIndex of a file.
double FrameLuma(const String& AFile, int AIndex)
{
    String out = enginetest::RunCommand("ffmpeg -nostdin -loglevel error -i '" + AFile +
                                        "' -vf \"select=eq(n\\," + std::to_string(AIndex) +
                                        "),signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-\" "
                                        "-frames:v 1 -f null - 2>/dev/null");
    size_t p = out.find("YAVG=");
    return p == String::npos ? -1 : std::atof(out.c_str() + p + 5);
}

// PSNR of AFile against ARef (both decoded whole).
double PSNR(const String& AFile, const String& ARef)
{
    String out = enginetest::RunCommand("ffmpeg -nostdin -i '" + AFile + "' -i '" + ARef +
                                        "' -lavfi psnr -f null - 2>&1");
    size_t p = out.find("average:");
    return p == String::npos ? -1 : std::atof(out.c_str() + p + 8);
}

}  // namespace

struct TSyncCase {
    const char* Name;
    const char* Input;
    const char* Ext;
    const char* Rate;
    int Method;
    int Frames, Dups, Drops;  // expected, within 2
};

class ConvertSync : public ::testing::TestWithParam<TSyncCase> {};

TEST_P(ConvertSync, FramesAreDuplicatedOrDroppedToKeepTheRate)
{
    const TSyncCase c = GetParam();
    const String out = enginetest::ScratchFolder() + "sync" + c.Ext;
    TOutputOptions o = Video();
    o.FrameRate = c.Rate;
    o.VideoSyncMethod = c.Method;
    auto run = Convert(Clip(c.Input), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_NEAR(CountFrames(out), c.Frames, 2);
    EXPECT_NEAR(run->Task()->Fnb_frames_dup, c.Dups, 2);
    EXPECT_NEAR(run->Task()->Fnb_frames_drop, c.Drops, 2);
}

INSTANTIATE_TEST_SUITE_P(Methods, ConvertSync,
                         ::testing::Values(
                             // 25 -> 50 fps: every picture twice
                             TSyncCase{"dup", "clip.avi", ".avi", "50", 1, 100, 50, 0},
                             // 50 -> 25 fps: every second picture goes
                             TSyncCase{"drop", "fast.nut", ".avi", "25", 1, 25, 0, 25},
                             // variable rate never duplicates
                             TSyncCase{"vfr", "clip.avi", ".mkv", "50", 2, 50, 0, 0},
                             // the container decides: AVI keeps a constant rate
                             TSyncCase{"auto", "clip.avi", ".avi", "50", -1, 100, 50, 0}),
                         [](const ::testing::TestParamInfo<TSyncCase>& I) { return String(I.param.Name); });

TEST(ConvertVideo, APictureFarFromTheNextIsRepeatedABoundedNumberOfTimes)
{
    // Three pictures 400 s apart, as a file with a corrupt frame rate reads: at 25 fps each
    // would stand for 10000 frames.  Each is repeated for at most 10 s of output, with a
    // warning, and the conversion finishes at once.
    const String dir = enginetest::ScratchFolder();
    enginetest::RunFFmpeg("-f lavfi -i testsrc=size=64x48:rate=1:duration=3 -vf setpts=N*400/TB -c:v mpeg4",
                          dir + "far.mkv");
    enginetest::TLogCapture log;
    TOutputOptions o = Video();
    o.FrameRate = "25";
    auto run = Convert(dir + "far.mkv", dir + "out.avi", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    const int frames = CountFrames(dir + "out.avi");
    EXPECT_GE(frames, 3);
    EXPECT_LE(frames, 3 * 250);
    bool warned = false;
    for (const String& line : log.Lines()) warned = warned || line.find("repeated") != String::npos;
    EXPECT_TRUE(warned);
}

TEST(ConvertVideo, RecordingTimeCutsFromTheStartTime)
{
    const String out = enginetest::ScratchFolder() + "cut.avi";
    TOutputOptions o = Video();
    o.TimeStart = 500000;
    o.TimeLength = 1000000;
    auto run = Convert(Clip("clip.avi"), out, o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_NEAR(CountFrames(out), 25, 1);
}

TEST(ConvertVideo, CropTakesTheCroppedInputThenScalesToTheOutputSize)
{
    // 160x120 less 20 columns on each side and 10 rows above and below, scaled to 240x200,
    // with and without a filter chain: the picture matches ffmpeg's own crop and scale.
    const String dir = enginetest::ScratchFolder();
    const String ref = dir + "ref.nut";
    enginetest::RunCommand("ffmpeg -nostdin -loglevel error -i '" + Clip("clip48.mkv") +
                           "' -vf crop=120:100:20:10,scale=240:200 -c:v rawvideo -an '" + ref + "'");
    for (const char* filters : {"", "null"}) {
        const String out = dir + "crop" + std::to_string(std::strlen(filters)) + ".avi";
        TOutputOptions o = Video();
        o.VideoBitrate = 2000000;
        o.CropLeft = o.CropRight = 20;
        o.CropTop = o.CropBottom = 10;
        o.FrameSize = "240x200";
        o.VideoFilters = filters;
        auto run = Convert(Clip("clip48.mkv"), out, o);
        ASSERT_TRUE(run);
        ASSERT_TRUE(run->Result().Finished) << filters << ": " << run->Result().ExceptionMsg;
        EXPECT_EQ(Probe(out, "v:0", "stream=width"), "240");
        EXPECT_EQ(Probe(out, "v:0", "stream=height"), "200");
        EXPECT_GT(PSNR(out, ref), 25.0) << "filters \"" << filters << "\"";
    }
}

TEST(ConvertVideo, AFrameSizeChangeIsScaledToTheOutputSize)
{
    enginetest::TLogCapture log;
    const String out = enginetest::ScratchFolder() + "sizes.avi";
    auto run = Convert(Clip("sizes.ts"), out, Video());
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_TRUE(log.Contains("frame size changed to 320x240"));
    EXPECT_EQ(Probe(out, "v:0", "stream=width"), "160");
    EXPECT_NEAR(CountFrames(out), 50, 2);
}

TEST(ConvertVideo, ATimestampJumpIsCorrectedUnlessTimestampsAreKept)
{
    const String dir = enginetest::ScratchFolder();
    TOutputOptions o = Video();
    o.VideoSyncMethod = 2;
    auto run = Convert(Clip("jump.ts"), dir + "jump.mkv", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_LT(ProbeDouble(dir + "jump.mkv", "", "format=duration"), 3.0);
    o.CopyTimestamp = true;
    auto kept = Convert(Clip("jump.ts"), dir + "kept.mkv", o);
    ASSERT_TRUE(kept);
    ASSERT_TRUE(kept->Result().Finished) << kept->Result().ExceptionMsg;
    EXPECT_GT(ProbeDouble(dir + "kept.mkv", "", "format=duration"), 30.0);
}

TEST(ConvertVideo, DeinterlacingFiltersOddLines)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    auto frame = [](int AFormat, int AW, int AH) {
        AVFrame* f = AV.av_frame_alloc();
        f->format = AFormat;
        f->width = AW;
        f->height = AH;
        AV.av_frame_get_buffer(f, 0);
        return f;
    };
    AVFrame* src = frame(AV_PIX_FMT_GRAY8, 8, 8);
    AVFrame* dst = frame(AV_PIX_FMT_GRAY8, 8, 8);
    for (int y = 0; y < 8; ++y) std::memset(src->data[0] + y * src->linesize[0], y % 2 ? 200 : 40, 8);
    ASSERT_TRUE(DeinterlacePicture(dst, src));
    EXPECT_EQ(dst->data[0][0], 40);                        // even lines stay
    EXPECT_EQ(dst->data[0][2 * dst->linesize[0]], 40);
    // Line 3 from lines 1..5: (-200 + 4*40 + 2*200 + 4*40 - 200) / 8 = 40
    EXPECT_EQ(dst->data[0][3 * dst->linesize[0]], 40);
    AVFrame* odd = frame(AV_PIX_FMT_GRAY8, 6, 8);
    EXPECT_FALSE(DeinterlacePicture(odd, odd));  // widths must be multiples of 4
    AVFrame* rgb = frame(AV_PIX_FMT_RGB24, 8, 8);
    EXPECT_FALSE(DeinterlacePicture(rgb, rgb));
    for (AVFrame* f : {src, dst, odd, rgb}) AV.av_frame_free(&f);
    // In a conversion.
    const String out = enginetest::ScratchFolder() + "di.avi";
    TOutputOptions o = Video();
    o.ExtOptions = "deinterlace=1";
    auto run = Convert(Clip("clip.avi"), out, o);
    ASSERT_TRUE(run);
    EXPECT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(CountFrames(out), 50);
}

TEST(ConvertVideo, CustomHookDrawsUntilItAsksToStop)
{
    const String out = enginetest::ScratchFolder() + "hook.avi";
    TOutputOptions o = Video();
    o.VideoBitrate = 2000000;
    o.CustomHook = true;
    int calls = 0;
    std::vector<int> numbers;
    auto run = Convert(Clip("clip.avi"), out, o, [&](TTaskList& L, TTaskTranscoder&) {
        L.OnCustomHook = [&](TObject*, PHookInfo AInfo) {
            ++calls;
            numbers.push_back(AInfo->FrameNumber);
            EXPECT_TRUE(AInfo->Update);
            EXPECT_EQ(AInfo->Bitmap->Width(), 160);
            EXPECT_EQ(AInfo->Bitmap->Height(), 120);
            for (int y = 0; y < AInfo->Bitmap->Height(); ++y)
                std::memset(AInfo->Bitmap->ScanLine(y), 255, size_t(AInfo->Bitmap->Width()) * 3);
            if (calls == 3) AInfo->StopHook = true;
        };
    });
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
    EXPECT_GT(FrameLuma(out, 0), 220);  // painted white
    EXPECT_LT(FrameLuma(out, 10), 200);  // the hook stopped
}

TEST(ConvertVideo, AnExceptionInTheCustomHookIsLoggedAndThePictureKept)
{
    enginetest::TLogCapture log;
    const String out = enginetest::ScratchFolder() + "hookerr.avi";
    TOutputOptions o = Video();
    o.CustomHook = true;
    auto run = Convert(Clip("clip.avi"), out, o, [&](TTaskList& L, TTaskTranscoder&) {
        L.OnCustomHook = [&](TObject*, PHookInfo AInfo) {
            for (int y = 0; y < AInfo->Bitmap->Height(); ++y)
                std::memset(AInfo->Bitmap->ScanLine(y), 255, size_t(AInfo->Bitmap->Width()) * 3);
            throw Exception("boom");
        };
    });
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_TRUE(log.Contains("Error occurs OnCustomHook: boom"));
    EXPECT_LT(FrameLuma(out, 0), 200);
}

namespace {

struct TFakePreview : TPreviewSink {
    int Paints = 0;
    bool Open = true;
    bool PaintFrame(TBitmap*, int, int64_t) override
    {
        ++Paints;
        return Open;
    }
};

}  // namespace

TEST(ConvertVideo, PreviewPicturesAreSpacedByThePreviewInterval)
{
    const String out = enginetest::ScratchFolder() + "prev.avi";
    std::vector<int64_t> times;
    std::vector<int> numbers;
    auto clock = SteppingClock(10000);
    std::function<int64_t()> last;
    auto run = Convert(Clip("clip.avi"), out, Video(), [&](TTaskList& L, TTaskTranscoder& T) {
        L.SetPreviewBitmap(true);
        auto now = std::make_shared<int64_t>(0);
        T.Clock = [clock, now] { return *now = clock(); };
        last = [now] { return *now; };
        L.OnPreviewBitmap = [&](TObject*, const TPreviewInfo& AInfo) {
            times.push_back(last());
            numbers.push_back(AInfo.FrameNumber);
            EXPECT_EQ(AInfo.Bitmap->Width(), 160);
            EXPECT_EQ(AInfo.TaskIndex, 0);
        };
    });
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    ASSERT_GE(times.size(), 2u);
    EXPECT_EQ(numbers.front(), 1);  // the first picture always
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i] - times[i - 1], 100000);
}

TEST(ConvertVideo, TheBitmapEventTakesPrecedenceOverThePreviewWindow)
{
    auto fake = std::make_shared<TFakePreview>();
    PreviewWindowFactory = [fake] { return fake; };
    const String dir = enginetest::ScratchFolder();
    int bitmaps = 0;
    auto both = Convert(Clip("clip.avi"), dir + "both.avi", Video(), [&](TTaskList& L, TTaskTranscoder&) {
        L.SetPreview(true);
        L.SetPreviewBitmap(true);
        L.OnPreviewBitmap = [&](TObject*, const TPreviewInfo&) { ++bitmaps; };
    });
    ASSERT_TRUE(both);
    EXPECT_GT(bitmaps, 0);
    EXPECT_EQ(fake->Paints, 0);
    // The window alone shows pictures until it is closed; then it is dropped.
    fake->Open = false;
    auto window = Convert(Clip("clip.avi"), dir + "win.avi", Video(), [&](TTaskList& L, TTaskTranscoder&) {
        L.SetPreview(true);
    });
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->Result().Finished);
    EXPECT_EQ(fake->Paints, 1);
    EXPECT_FALSE(window->Task()->PostHooks().Contains(phPreview));
    PreviewWindowFactory = nullptr;
}

TEST(ConvertVideo, CopyingVideoRefusesPictureHooks)
{
    const String out = enginetest::ScratchFolder() + "copy.avi";
    TOutputOptions o = Video("copy");
    auto run = Convert(Clip("clip.avi"), out, o, [](TTaskList& L, TTaskTranscoder&) { L.SetPreviewBitmap(true); });
    ASSERT_TRUE(run);
    EXPECT_TRUE(run->Result().Exception);
    EXPECT_EQ(run->Result().ExceptionMsg, "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
}

TEST(ConvertVideo, FrameHookLibrariesSeeEveryDecodedPicture)
{
    const String dir = enginetest::ScratchFolder();
    // A copy of the test hook: its counters stay apart from those the hook tests read.
    const String hook = dir + "fill_hook.so";
    std::filesystem::copy_file(String(VC_TEST_HOOK_DIR) + "test_hook_full.so", hook);
    TOutputOptions o = Video();
    o.VideoBitrate = 2000000;
    o.ExtOptions = "vhook=" + hook + " fill 235";
    auto run = Convert(Clip("clip.avi"), dir + "hook.avi", o);
    ASSERT_TRUE(run);
    ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
    EXPECT_GT(FrameLuma(dir + "hook.avi", 0), 225);
    EXPECT_GT(FrameLuma(dir + "hook.avi", 49), 225);
    // A library that does not load fails the output; a copied stream cannot be hooked.
    TEvents events;
    auto list = NewTaskList(events);
    ASSERT_EQ(list->AddTask(Clip("clip.avi")), 0);
    TOutputOptions missing = Video();
    missing.ExtOptions = "vhook=" + dir + "none.so";
    EXPECT_FALSE(list->SetOutputFile(0, dir + "none.avi", &missing));
    EXPECT_EQ(list->LastErrMsg(), "Failed to add video hook function: " + dir + "none.so");
    TOutputOptions copy = Video("copy");
    copy.ExtOptions = "vhook=" + hook + " add 1";
    auto copied = Convert(Clip("clip.avi"), dir + "copy.avi", copy);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->Result().ExceptionMsg, "-vcodec copy and -vhook are incompatible (frames are not decoded)");
}

TEST(ConvertVideo, AnimatedPngRepeatsAsLoopOutputSays)
{
    // loop_output as for GIF: -1 plays once, 0 for ever, N repeats N times; the count is
    // the num_plays field of the file's animation control chunk.
    const struct {
        const char* Loop;
        uint32_t Plays;
    } cases[] = {{"-1", 1}, {"0", 0}, {"2", 3}};
    for (const auto& c : cases) {
        const String out = enginetest::ScratchFolder() + "anim.apng";
        TOutputOptions o = Video("apng");
        o.VideoBitrate = -1;
        o.TimeLength = 200000;
        o.ExtOptions = String("loop_output=") + c.Loop;
        auto run = Convert(Clip("clip.avi"), out, o);
        ASSERT_TRUE(run);
        ASSERT_TRUE(run->Result().Finished) << run->Result().ExceptionMsg;
        std::ifstream in(out, std::ios::binary);
        std::string data((std::istreambuf_iterator<char>(in)), {});
        size_t p = data.find("acTL");
        ASSERT_NE(p, std::string::npos) << c.Loop;
        ASSERT_GE(data.size(), p + 12);
        const auto* b = reinterpret_cast<const uint8_t*>(data.data() + p + 8);
        EXPECT_EQ(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3], c.Plays) << c.Loop;
    }
}
