// The preview panel's rules apart from the window: seek and slider arithmetic, the
// stream lists, snapshot names, the four picture encoders read back, and writing a
// snapshot without ever replacing a file.
#include "app/forms/PreviewRules.h"

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/system/IniFiles.h"
#include "platform/system/SysUtils.h"
#include "platform/windows/Headless.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include "test_files.h"

namespace {

TEST(PreviewRules, SeekTargetIsTheDurationShareOfTheSliderIn64Bits)
{
    struct TCase {
        int64_t Duration;
        int Value, Max;
        int64_t Target;
    } cases[] = {
        {3600000000LL, 109, 218, 1800000000LL},   // an hour: past 32 bits in the product
        {3600000000LL, 218, 218, 3600000000LL},   // the right end seeks to the duration
        {3600000000LL, 0, 218, 0},
        {10000001LL, 1, 3, 3333333LL},            // truncated
        {5000000LL, 10, 0, 0},                    // no range: the start
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SeekTargetOfSlider(c.Duration, c.Value, c.Max), c.Target) << c.Duration << " " << c.Value;
}

TEST(PreviewRules, SliderFollowsThePositionAndStopsAtItsEnd)
{
    struct TCase {
        int64_t Position, Duration;
        int Value;
    } cases[] = {
        {1800000000LL, 3600000000LL, 109},
        {0, 3600000000LL, 0},
        {3600000000LL, 3600000000LL, 218},
        {3700000000LL, 3600000000LL, 218},  // past the stated duration: clamped
        {-1, 3600000000LL, -1},             // negative: slider left alone
        {500000, 0, -1},                    // no duration: slider left alone
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SliderValueOfPosition(c.Position, c.Duration, 218), c.Value) << c.Position << " of " << c.Duration;
}

class StreamListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Form = new TForm(nullptr);
        for (TComboBox*& b : Boxes) {
            b = new TComboBox(Form);
            b->SetParent(Form);
        }
    }
    void TearDown() override { DoneForms(); }
    static std::vector<String> Texts(TComboBox* B)
    {
        std::vector<String> r;
        for (int i = 0; i < B->Items()->Count(); ++i) r.push_back(B->Items()->Strings(i));
        return r;
    }
    TForm* Form = nullptr;
    TComboBox* Boxes[3] = {};
};

TEST_F(StreamListTest, ListsNameStreamsByIndexAndOfferAChoiceOnlyWhenThereIsOne)
{
    using K = TStreamKind;
    auto [video, audio, subtitle] = Boxes;
    // One video and one audio stream: nothing to choose.
    FillStreamLists({K::Video, K::Audio}, 0, 1, -1, video, audio, subtitle);
    EXPECT_EQ(Texts(video), (std::vector<String>{"Video#0"}));
    EXPECT_EQ(Texts(audio), (std::vector<String>{"Audio#1"}));
    EXPECT_TRUE(Texts(subtitle).empty());
    EXPECT_FALSE(video->Enabled());
    EXPECT_FALSE(audio->Enabled());
    EXPECT_FALSE(subtitle->Enabled());
    EXPECT_EQ(video->ItemIndex(), 0);
    EXPECT_EQ(audio->ItemIndex(), 0);

    // Two audio streams and a subtitle: the lists are filled anew, "Subtitle#-1" first.
    FillStreamLists({K::Video, K::Audio, K::Other, K::Audio, K::Subtitle}, 0, 3, 4, video, audio, subtitle);
    EXPECT_EQ(Texts(video), (std::vector<String>{"Video#0"}));
    EXPECT_EQ(Texts(audio), (std::vector<String>{"Audio#1", "Audio#3"}));
    EXPECT_EQ(Texts(subtitle), (std::vector<String>{"Subtitle#-1", "Subtitle#4"}));
    EXPECT_FALSE(video->Enabled());
    EXPECT_TRUE(audio->Enabled());
    EXPECT_TRUE(subtitle->Enabled());
    EXPECT_EQ(audio->ItemIndex(), 1);
    EXPECT_EQ(subtitle->ItemIndex(), 1);

    // A subtitle stream that is not shown selects "Subtitle#-1"; without video the
    // subtitle list stays disabled and gets no "none" entry.
    FillStreamLists({K::Video, K::Subtitle}, 0, -1, -1, video, audio, subtitle);
    EXPECT_EQ(subtitle->ItemIndex(), 0);
    FillStreamLists({K::Audio, K::Subtitle}, -1, 0, -1, video, audio, subtitle);
    EXPECT_EQ(Texts(subtitle), (std::vector<String>{"Subtitle#1"}));
    EXPECT_FALSE(subtitle->Enabled());
    EXPECT_EQ(video->ItemIndex(), -1) << "a text not in the list selects nothing";
}

TEST(PreviewRules, SnapshotNamesAndFormats)
{
    EXPECT_EQ(SnapshotBaseName("/films/a.b.c.avi"), "a.b.c");
    EXPECT_EQ(SnapshotBaseName("/films/clip.dat"), "clip");
    EXPECT_EQ(SnapshotBaseName("/films/视频 一.mkv"), "视频 一");
    EXPECT_EQ(SnapshotBaseName("noext"), "noext");
    for (const char* f : {"BMP", "JPG", "GIF", "PNG"}) EXPECT_TRUE(IsSnapshotFormat(f)) << f;
    for (const char* f : {"jpg", "Png", "", "Error", "TIFF", "BMP "}) EXPECT_FALSE(IsSnapshotFormat(f)) << f;
    EXPECT_EQ(SnapshotExtension("JPG"), ".jpg");
    EXPECT_EQ(SnapshotExtension("GIF"), ".gif");
    EXPECT_EQ(SnapshotExtension("PNG"), ".png");
    EXPECT_EQ(SnapshotExtension("BMP"), ".bmp");
}

// A scratch folder.
class SnapshotFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = vctest::ScratchDir("vc-snapshot-");
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    String Read(const String& AName) const
    {
        std::ifstream f(AName, std::ios::binary);
        return String(std::istreambuf_iterator<char>(f), {});
    }
    String Dir;
};

TEST_F(SnapshotFileTest, TheFirstFreeNumberIsTakenAndNoFileIsReplaced)
{
    const std::vector<uint8_t> data = {'n', 'e', 'w'};
    EXPECT_EQ(WriteSnapshotFile(Dir, "clip", ".png", data), Dir + "/clip_1.png");
    EXPECT_EQ(WriteSnapshotFile(Dir, "clip", ".png", data), Dir + "/clip_2.png");
    EXPECT_EQ(WriteSnapshotFile(Dir, "clip", ".png", data), Dir + "/clip_3.png");
    // A deleted number is used again; other extensions count apart.
    std::filesystem::remove(Dir + "/clip_2.png");
    EXPECT_EQ(WriteSnapshotFile(Dir, "clip", ".png", data), Dir + "/clip_2.png");
    EXPECT_EQ(WriteSnapshotFile(Dir, "clip", ".bmp", data), Dir + "/clip_1.bmp");
    EXPECT_EQ(WriteSnapshotFile(Dir, "a.b.c", ".bmp", data), Dir + "/a.b.c_1.bmp");
    // A folder or a dangling link under a name is never written through.
    std::filesystem::create_directory(Dir + "/x_1.gif");
    std::filesystem::create_symlink(Dir + "/elsewhere", Dir + "/x_2.gif");
    EXPECT_EQ(WriteSnapshotFile(Dir, "x", ".gif", data), Dir + "/x_3.gif");
    EXPECT_FALSE(std::filesystem::exists(Dir + "/elsewhere"));
    EXPECT_EQ(Read(Dir + "/x_3.gif"), "new");
}

// Snapshots and the settings file get the mode the user's umask gives when new; a
// replaced file keeps its earlier mode.
TEST_F(SnapshotFileTest, NewFilesFollowTheUmaskAndReplacedOnesKeepTheirMode)
{
    namespace fs = std::filesystem;
    const std::vector<uint8_t> data = {'n', 'e', 'w'};
    for (const mode_t mask : {mode_t(002), mode_t(022), mode_t(077)}) {
        const String sub = Dir + "/" + std::to_string(mask);
        fs::create_directory(sub);
        const String kept = sub + "/kept.ini";
        WriteFileAtomic(kept, "[a]\n");
        fs::permissions(kept, fs::perms(0640));
        const mode_t before = umask(mask);
        const String snapshot = WriteSnapshotFile(sub, "clip", ".png", data);
        {
            TIniFile ini(sub + "/option.ini");
            ini.WriteString("Options", "Key", "1");
        }
        WriteFileAtomic(kept, "[b]\n");
        umask(before);
        const fs::perms expected = fs::perms(0666 & ~mask);
        EXPECT_EQ(fs::status(snapshot).permissions() & fs::perms::all, expected) << std::oct << mask;
        EXPECT_EQ(fs::status(sub + "/option.ini").permissions() & fs::perms::all, expected) << std::oct << mask;
        EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, fs::perms(0640)) << std::oct << mask;
    }
}

TEST_F(SnapshotFileTest, AFolderThatCannotBeWrittenRaisesAndLeavesNothing)
{
    EXPECT_THROW(WriteSnapshotFile(Dir + "/missing", "clip", ".bmp", {'a'}), EFCreateError);
    if (geteuid() != 0) {
        std::filesystem::permissions(Dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_THROW(WriteSnapshotFile(Dir, "clip", ".bmp", {'a'}), EFCreateError);
        std::filesystem::permissions(Dir, std::filesystem::perms::owner_all);
    }
    EXPECT_TRUE(std::filesystem::is_empty(Dir));
}

// A 7 x 5 frame of distinct colours, as the player gives it (24 bits).
std::unique_ptr<TBitmap> SyntheticFrame()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            b->Canvas()->SetPixels(x, y, TColor(RGB(x * 36, y * 60, 255 - x * 20 - y * 10)));
    return b;
}

std::unique_ptr<TBitmap> Decode(TGraphic* AGraphic, const std::vector<uint8_t>& AData)
{
    TMemoryStream s;
    s.Write(AData.data(), int64_t(AData.size()));
    s.SetPosition(0);
    AGraphic->LoadFromStream(&s);
    auto b = std::make_unique<TBitmap>();
    b->Assign(AGraphic);
    return b;
}

uint32_t Rgb(TBitmap* B, int X, int Y) { return uint32_t(ColorToRGB(B->Canvas()->Pixels(X, Y))) & 0xFFFFFF; }

TEST(SnapshotEncoders, EachFormatReadsBackAsTheFrame)
{
    Headless::Install();
    auto frame = SyntheticFrame();
    const auto bmp = EncodeSnapshot(frame.get(), "BMP");
    const auto png = EncodeSnapshot(frame.get(), "PNG");
    const auto jpg = EncodeSnapshot(frame.get(), "JPG");
    const auto gif = EncodeSnapshot(frame.get(), "GIF");
    ASSERT_GE(bmp.size(), 2u);
    EXPECT_EQ(String(bmp.begin(), bmp.begin() + 2), "BM");
    EXPECT_EQ(String(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(String(gif.begin(), gif.begin() + 3), "GIF");

    TBitmap bmpImage;
    TPngImage pngImage;
    TJPEGImage jpgImage;
    TGIFImage gifImage;
    auto fromBmp = Decode(&bmpImage, bmp), fromPng = Decode(&pngImage, png), fromJpg = Decode(&jpgImage, jpg),
         fromGif = Decode(&gifImage, gif);
    for (TBitmap* b : {fromBmp.get(), fromPng.get(), fromJpg.get(), fromGif.get()}) {
        EXPECT_EQ(b->Width(), 7);
        EXPECT_EQ(b->Height(), 5);
    }
    EXPECT_FALSE(jpgImage.Grayscale()) << "a colour JPEG";
    double squared = 0;
    std::set<uint32_t> gifColours;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint32_t want = Rgb(frame.get(), x, y);
            EXPECT_EQ(Rgb(fromBmp.get(), x, y), want) << x << "," << y;
            EXPECT_EQ(Rgb(fromPng.get(), x, y), want) << x << "," << y;
            const uint32_t got = Rgb(fromJpg.get(), x, y);
            for (int shift : {0, 8, 16}) {
                const double d = double(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF));
                squared += d * d;
            }
            gifColours.insert(Rgb(fromGif.get(), x, y));
        }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (7 * 5 * 3)));
    EXPECT_GT(psnr, 25.0) << "JPEG at quality 90";
    EXPECT_LE(gifColours.size(), 256u);
    EXPECT_GT(gifColours.size(), 20u) << "35 distinct colours stay apart in 256";
}

TEST(SnapshotEncoders, ManyColoursAreReducedToAGifPalette)
{
    Headless::Install();
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) b->Canvas()->SetPixels(x, y, TColor(RGB(x * 4, y * 4, (x + y) * 2)));
    TGIFImage gif;
    auto back = Decode(&gif, EncodeSnapshot(b.get(), "GIF"));
    std::set<uint32_t> colours;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) colours.insert(Rgb(back.get(), x, y));
    EXPECT_LE(colours.size(), 256u);
    EXPECT_EQ(back->Width(), 64);
}

}  // namespace
