// Option values the chosen encoder refuses as they stand still convert: the engine fits
// them to the encoder (and logs what it wrote), and a disc target keeps its standard size
// and rate where its boxes show their defaults.  Each case picks the preset in the two
// pickers and one item in one option box, adds a generated clip, runs the batch, and reads
// the output back with ffprobe.
#include "forms/add_batch_support.h"

#include "engine/libs/FFmpegLoader.h"

using namespace addbatch;

namespace {

namespace fs = std::filesystem;

struct TFitCase {
    const char* Name;
    int Code;
    int Box;           // 0 none, 1 resolution, 2 frame rate, 3 audio bitrate, 4 sample rate
    const char* Item;  // the item chosen in that box
    const char* Size;  // ffprobe's "WxH" of the video, "" for no check
    const char* Rate;  // ffprobe's r_frame_rate, "" for no check
    const char* SampleRate;
    const char* Fitted;  // a log line the conversion writes, "" for none
};

const TFitCase Cases[] = {
    // The values the encoders refused before they were fitted.
    {"H263In3gpTakesTheNearestOfItsFiveSizes", 701, 1, "320*240", "352x288", "", "", "frame size 320x240 fitted to 352x288"},
    {"H263InAviTakesTheNearestOfItsFiveSizes", 706, 1, "320*240", "352x288", "", "", "frame size 320x240 fitted to 352x288"},
    {"XvidTakesEvenDimensions", 408, 1, "640*353", "640x352", "", "", "frame size 640x353 fitted to 640x352"},
    {"Mpeg1TakesAStandardRateFor10", 106, 2, "10.00", "", "24000/1001", "", "frame rate 10 fitted to 24000/1001"},
    {"Mpeg1TakesAStandardRateFor13", 106, 2, "13.00", "", "24000/1001", "", "frame rate 13 fitted to 24000/1001"},
    {"VcdTakesAStandardRateFor10", 113, 2, "10.00", "352x288", "24000/1001", "", "frame rate 10 fitted to 24000/1001"},
    {"VorbisTakesItsLowestBitRate", 205, 3, "16 kbps", "", "", "44100", "bit rate 16000 fitted to 45000"},
    {"Ac3TakesTheNearestRateOfItsList", 207, 4, "11025", "", "", "32000", "sample rate 11025 fitted to 32000"},
    {"Mp2TakesTheNearestRateOfItsList", 209, 4, "11025", "", "", "16000", "sample rate 11025 fitted to 16000"},
    {"Mp2TakesABitRateOfItsTable", 106, 3, "144 kbps", "", "", "", "bit rate 144000 fitted to 128000"},
    {"VcdAt22050TakesABitRateOfTheHalvedTable", 113, 4, "22050", "352x288", "25/1", "22050",
     "bit rate 224000 fitted to 160000"},
    {"Mp3InMp4TakesTheLowestRateTheContainerCarries", 101, 4, "11025", "", "", "16000",
     "sample rate 11025 fitted to 16000"},
    {"WmaTakesItsLowestBitRate", 201, 3, "16 kbps", "", "", "", "bit rate 16000 fitted to 24000"},
    {"RealMediaTakesAWholeFrameRate", 114, 2, "29.97", "", "30/1", "", "frame rate 2997/100 fitted to 30"},
    {"RealMediaTakesAtMost720pArea", 114, 1, "1920*1080", "1280x704", "", "", "fitted to 1280x704"},
    // Disc targets with their boxes at their defaults keep their standard.
    {"DvdPal", 111, 0, "", "720x576", "25/1", "48000", ""},
    {"SvcdPal", 112, 0, "", "480x576", "25/1", "44100", ""},
    {"VcdPal", 113, 0, "", "352x288", "25/1", "44100", ""},
    // A box the user changed on a disc target is applied.
    {"DvdWithAChosenSize", 111, 1, "352*288", "352x288", "25/1", "48000", ""},
};

class PresetFitting : public AddBatchTest, public ::testing::WithParamInterface<TFitCase> {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        ASSERT_TRUE(enginetest::LoadLibraries());
    }
    void TearDown() override
    {
        AddBatchTest::TearDown();
        std::error_code ec;
        if (!Folder.empty()) fs::remove_all(Folder, ec);
    }
    String Folder;
};

TEST_P(PresetFitting, TheChosenValueConverts)
{
    const TFitCase& c = GetParam();
    Folder = MakeClips({"clip.avi"});
    ASSERT_TRUE(ChoosePresetCode(c.Code));
    TbsSkinComboBox* boxes[] = {nullptr, Form->bsSkinComboBox1, Form->bsSkinComboBox9, Form->bsSkinComboBox3,
                                Form->bsSkinComboBox10};
    if (TbsSkinComboBox* box = boxes[c.Box]) {
        const int item = box->Items()->IndexOf(c.Item);
        ASSERT_GE(item, 0) << c.Item << " is not offered";
        box->SetItemIndex(item);
        ASSERT_EQ(box->Text(), c.Item);
    }
    ASSERT_NO_FATAL_FAILURE(ConvertOne(Folder + "clip.avi"));
    const String output = Form->FileOutPutPath + "/" + Column(0, jcOutputFile);
    ASSERT_TRUE(fs::exists(output)) << output;
    const String video = enginetest::FFprobe("-select_streams v:0 -show_entries stream=width,height,r_frame_rate "
                                             "-of default=noprint_wrappers=1",
                                             output);
    const String audio =
        enginetest::FFprobe("-select_streams a:0 -show_entries stream=sample_rate -of default=noprint_wrappers=1", output);
    if (*c.Size) {
        const String size = c.Size;
        const size_t x = size.find('x');
        EXPECT_NE(video.find("width=" + size.substr(0, x) + "\nheight=" + size.substr(x + 1) + "\n"), String::npos)
            << video;
    }
    if (*c.Rate) {
        EXPECT_NE(video.find(String("r_frame_rate=") + c.Rate + "\n"), String::npos) << video;
    }
    if (*c.SampleRate) {
        EXPECT_EQ(audio, String("sample_rate=") + c.SampleRate + "\n");
    }
    // What was written instead is in the log the window shows.
    if (*c.Fitted) {
        bool logged = false;
        for (int i = 0; i < Form->mmoLog->Lines()->Count(); ++i)
            logged = logged || Form->mmoLog->Lines()->Strings(i).find(c.Fitted) != String::npos;
        EXPECT_TRUE(logged) << c.Fitted;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PresetFitting, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TFitCase>& I) { return String(I.param.Name); });

}  // namespace
