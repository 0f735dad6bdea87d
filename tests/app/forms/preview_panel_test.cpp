// The main window's preview panel, snapshots, skin index, menu commands and about box,
// headless: the settings rules of "SnapShot" and "Skin", the commands' addresses through
// a recording runner, the folder and skin dialogs accepted and cancelled, the slider
// held, and a generated clip played by the real player (SDL's dummy drivers).
#include "forms/main_window_support.h"

#include "app/forms/PreviewRules.h"
#include "app/Program.h"
#include "app/resources/ProgramAddresses.h"
#include "app/forms/Unit2.h"
#include "support/engine_support.h"
#include "engine/libs/FFmpegLoader.h"
#include "platform/forms/Menus.h"
#include "platform/shell/Runner.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsSkinData.h"
#include "skin/dialogs/bsSkinShellDialogs.h"
#include "skin/shell/bsSkinShellViews.h"
#include "skin/frame/bsSkinFormFrame.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace mainwindow;

namespace {

// A main window whose skin dialog answers as the test says.
class TSkinChoiceForm : public TRecordingForm1 {
public:
    using TRecordingForm1::TRecordingForm1;
    bool Accept = false;
    int Choice = 0;
    std::vector<int> Starts;
    bool RunSkinDialog(int AStart, int& ASelected) override
    {
        Starts.push_back(AStart);
        if (Accept) ASelected = Choice;
        return Accept;
    }
};

class PreviewPanelTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Old = SetCommandRunner(std::make_unique<TRecordingRunner>(&Commands));
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        MainWindowTest::TearDown();
        SetCommandRunner(std::move(Old));
    }
    TSkinChoiceForm* CreateChoiceMain()
    {
        auto* f = Application->CreateForm<TSkinChoiceForm>();
        Main = f;
        return f;
    }
    String SnapDefault() const { return HomeDir + "/澄枫视频软件/快照"; }
    std::vector<std::vector<String>> Commands;
    std::unique_ptr<TCommandRunner> Old;
};

TEST_F(PreviewPanelTest, StoredSkinIndexIsReadByItsRule)
{
    struct TCase {
        const char* Stored;  // nullptr: no settings file
        const char* After;   // "SetSkin" afterwards
    } cases[] = {
        {nullptr, "0"}, {"Error", "0"}, {"", "0"}, {"abc", "0"}, {"1x", "0"}, {"5", "5"}, {"0", "0"},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(IniPath());
        if (c.Stored) WriteIni(String("[Skin]\nSetSkin=") + c.Stored + "\n");
        auto* f = CreateChoiceMain();
        EXPECT_EQ(Ini("Skin", "SetSkin"), c.After) << (c.Stored ? c.Stored : "(no file)");
        // The one stored skin: an index outside the list leaves the skin data at 0.
        EXPECT_EQ(f->bsSkinData1->SkinIndex(), 0) << (c.Stored ? c.Stored : "(no file)");
        delete f;
    }
}

TEST_F(PreviewPanelTest, SkinButtonStoresOnlyAnAcceptedChoice)
{
    WriteIni("[Skin]\nSetSkin=5\n");
    auto* f = CreateChoiceMain();
    f->Accept = false;
    f->bsSkinButton9->ButtonClick();
    EXPECT_EQ(Ini("Skin", "SetSkin"), "5") << "a cancelled dialog writes nothing";
    f->Accept = true;
    f->Choice = 0;
    f->bsSkinButton9->ButtonClick();
    EXPECT_EQ(Ini("Skin", "SetSkin"), "0");
    EXPECT_EQ(f->Starts, (std::vector<int>{0, 0})) << "the dialog starts at the skin shown";
    // The skin button lies off screen and is reached by the keyboard alone.
    EXPECT_TRUE(f->bsSkinButton9->CanFocused());
    EXPECT_GT(f->Panel4->Left(), f->ClientWidth());
}

TEST_F(PreviewPanelTest, SnapshotFolderRule)
{
    const String usable = Root + "/shots/deep";
    struct TCase {
        String Stored;  // "-": no file; "~": no key
        String Used;
        bool Rewritten;
    } cases[] = {
        {"-", SnapDefault(), true},       {"~", SnapDefault(), true},         {"Error", SnapDefault(), true},
        {"shots", SnapDefault(), true},   {"C:\\澄枫视频软件\\快照", SnapDefault(), true},
        {usable, usable, false},
    };
    CreateMain(false);
    for (const TCase& c : cases) {
        std::filesystem::remove(IniPath());
        std::filesystem::remove_all(Root + "/shots");
        std::filesystem::remove_all(HomeDir + "/澄枫视频软件/快照");
        if (c.Stored == "~")
            WriteIni("[SnapShot]\nPicture=PNG\n");
        else if (c.Stored != "-")
            WriteIni("[SnapShot]\nDir=" + c.Stored + "\n");
        EXPECT_EQ(Main->SnapshotFolder(), c.Used) << c.Stored;
        EXPECT_TRUE(std::filesystem::is_directory(c.Used)) << c.Stored;
        EXPECT_EQ(Ini("SnapShot", "Dir"), c.Rewritten ? SnapDefault() : c.Stored) << c.Stored;
    }
}

TEST_F(PreviewPanelTest, SnapshotFormatRuleTicksItsItem)
{
    CreateMain(false);
    struct TCase {
        const char* Stored;  // nullptr: no file
        const char* Used;
        TMenuItem* TForm1::*Item;
    } cases[] = {
        {nullptr, "BMP", &TForm1::BMP1}, {"jpg", "BMP", &TForm1::BMP1}, {"Error", "BMP", &TForm1::BMP1},
        {"PNG", "PNG", &TForm1::PNG1},   {"GIF", "GIF", &TForm1::GIF1}, {"JPG", "JPG", &TForm1::JPG1},
        {"", "BMP", &TForm1::BMP1},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(IniPath());
        if (c.Stored) WriteIni(String("[SnapShot]\nPicture=") + c.Stored + "\n");
        EXPECT_EQ(Main->SnapshotFormat(), c.Used);
        EXPECT_EQ(Ini("SnapShot", "Picture"), c.Used) << "written back when not one of the four";
        for (TMenuItem* item : {Main->BMP1, Main->JPG1, Main->GIF1, Main->PNG1})
            EXPECT_EQ(item->Checked(), item == Main->*c.Item) << (c.Stored ? c.Stored : "(no file)") << item->Name();
    }
    // The format commands store and tick their format; the button's click ticks the stored one.
    Main->GIF1->Click();
    EXPECT_EQ(Ini("SnapShot", "Picture"), "GIF");
    EXPECT_TRUE(Main->GIF1->Checked());
    EXPECT_FALSE(Main->BMP1->Checked());
    WriteIni("[SnapShot]\nPicture=JPG\n");
    Main->bsSkinButton23->ButtonClick();
    EXPECT_TRUE(Main->JPG1->Checked());
}

TEST_F(PreviewPanelTest, SnapshotWithoutAPictureWritesOnlyTheSettings)
{
    CreateMain(false);
    std::filesystem::remove(IniPath());
    Main->T_Movie_PLayer_FileName = "/films/clip.dat";
    Main->bsSkinButton22->ButtonClick();
    EXPECT_EQ(Ini("SnapShot", "Dir"), SnapDefault());
    EXPECT_EQ(Ini("SnapShot", "Picture"), "BMP");
    ASSERT_TRUE(std::filesystem::is_directory(SnapDefault()));
    EXPECT_TRUE(std::filesystem::is_empty(SnapDefault()));
}

TEST_F(PreviewPanelTest, CaptureWithoutAPictureAsksForNoName)
{
    CreateMain(false);
    int asked = 0;
    Main->SelectCaptureFile = [&](String&) { return ++asked, false; };
    Main->btnCapture->Click();
    EXPECT_EQ(asked, 0);
    // The dialog it would ask through: the skinned save-picture dialog on the window's skin.
    TbsSkinSavePictureDialog* d = Main->SavePictureDialog1;
    EXPECT_EQ(Main->btnCapture->Caption(), "Capture");
    EXPECT_GT(Main->btnCapture->Parent()->Left(), Main->ClientWidth()) << "off screen";
    EXPECT_EQ(d->Filter(), "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
    EXPECT_EQ(d->FilterIndex(), 1);
    EXPECT_EQ(d->DefaultExt(), "bmp");
    EXPECT_TRUE(d->OverwritePromt());
    EXPECT_EQ(d->SkinData(), Main->bsSkinData1);
}

TEST_F(PreviewPanelTest, SnapshotFolderChoiceIsStoredOnlyWhenAccepted)
{
    CreateMain(false);
    const String chosen = Root + "/chosen";
    std::filesystem::create_directories(chosen);
    WriteIni("[SnapShot]\nDir=" + Root + "\n");
    struct TRun {
        bool Accept;
        String Folder;
        String Stored;
    } runs[] = {
        {false, chosen, Root},         // cancelled the first time: nothing
        {true, chosen, chosen},        // accepted
        {false, Root + "/x", chosen},  // cancelled after a choice: still nothing
        {true, Root + "/missing", chosen},  // a folder that does not exist is not stored
    };
    for (const TRun& r : runs) {
        Main->SelectOutputFolder = [&](String& ADirectory) {
            ADirectory = r.Folder;
            return r.Accept;
        };
        Main->MenuItem2->Click();
        EXPECT_EQ(Ini("SnapShot", "Dir"), r.Stored) << r.Folder << " " << r.Accept;
    }
    EXPECT_EQ(Main->FileOutPutPath, DefaultFolder()) << "the output folder is not touched";
}

TEST_F(PreviewPanelTest, MenuCommandsOpenTheirAddressesThroughTheRunner)
{
    CreateProgramForms();
    Main = nullptr;
    Commands.clear();
    Form1->N12->Click();
    Form1->N15->Click();
    Form1->N16->Click();
    Form1->MenuItem1->Click();
    Form2->bsSkinLinkLabel1->Click();
    Form2->bsSkinLinkLabel2->Click();
    const String snap = HomeDir + "/澄枫视频软件/快照";
    // The help is the page beside the program; the web site and the mail have no address
    // yet: their entries are disabled and open nothing.
    const std::vector<std::vector<String>> expected = {
        {"xdg-open", ProgramDir + "help.html"},
        {"xdg-open", snap},
    };
    EXPECT_EQ(Commands, expected);
    for (TMenuItem* item : {Form1->N15, Form1->N16}) EXPECT_FALSE(item->Enabled()) << item->Name();
    for (TbsSkinLinkLabel* l : {Form2->bsSkinLinkLabel1, Form2->bsSkinLinkLabel2}) EXPECT_FALSE(l->Enabled()) << l->Name();
    EXPECT_TRUE(std::filesystem::is_directory(snap)) << "the folder rule ran before the folder opened";
    EXPECT_EQ(Form1->N12->ShortCut(), TShortCut(VK_F1));
}

TEST_F(PreviewPanelTest, AboutBoxAndOptionsDialogShowModallyAndClose)
{
    CreateProgramForms();
    Main = nullptr;
    EXPECT_EQ(Form2->Caption(), "关于");
    EXPECT_EQ(Form2->ClientWidth(), 368);
    EXPECT_EQ(Form2->ClientHeight(), 238);
    EXPECT_TRUE(Form2->bsSkinFormFrame1->Magnetic());
    EXPECT_EQ(Form2->bsSkinFormFrame1->MagneticSize(), 10);
    EXPECT_TRUE(Form2->bsSkinFormFrame1->HideCaptionButtons()) << "no caption button";
    EXPECT_EQ(Form2->bsSkinLinkLabel1->Caption(), HomePageText);
    EXPECT_EQ(Form2->bsSkinFormFrame1->SkinData(), Form1->bsSkinData1);
    EXPECT_EQ(Form2->bsSkinStdLabel3->Caption(), "澄枫DAT格式转换器");
    EXPECT_EQ(Form2->bsSkinStdLabel4->Caption(), "Ver:1.00.102");
    EXPECT_EQ(Form2->bsSkinButton1->Caption(), "确定");
    for (TbsSkinLinkLabel* l : {Form2->bsSkinLinkLabel1, Form2->bsSkinLinkLabel2}) {
        EXPECT_EQ(l->Cursor(), crHandPoint);
        EXPECT_TRUE(l->GlowEffect());
        EXPECT_EQ(l->GlowSize(), 6);
        EXPECT_TRUE(l->UseUnderLine());
        EXPECT_FALSE(l->AutoSize());
        EXPECT_EQ(l->Width(), 153);
    }
    // "关于软件" shows the box until "确定"; it stays for the next time.
    std::vector<String> shown;
    Application->OnIdle = [&](TObject*) {
        for (TCustomForm* f : {static_cast<TCustomForm*>(Form2), static_cast<TCustomForm*>(Form5)})
            if (f->FormState().Contains(fsModal)) {
                shown.push_back(f->Name());
                if (f == Form2)
                    Form2->bsSkinButton1->ButtonClick();
                else
                    Form5->bsSkinButton1->ButtonClick();
            }
    };
    Form1->N17->Click();
    Form1->N10->Click();
    Form1->bsSkinButton19->ButtonClick();
    Application->OnIdle = nullptr;
    EXPECT_EQ(shown, (std::vector<String>{"Form2", "Form5", "Form5"}));
    EXPECT_FALSE(Form2->Visible());
    EXPECT_NE(Form2, nullptr);
}

TEST_F(PreviewPanelTest, ExitClosesTheMainWindow)
{
    CreateMain();
    Main->Show();
    Main->Calls.clear();
    Main->N3->Click();
    EXPECT_FALSE(Main->Visible());
    ASSERT_FALSE(Main->Calls.empty());
    EXPECT_EQ(Main->Calls.back().rfind("Stop(true)", 0), 0u) << "closing stops the batch and waits";
}

TEST_F(PreviewPanelTest, MuteAndUnmuteSwapTheirButtons)
{
    CreateMain(false);
    EXPECT_TRUE(Main->bsSkinButton16->Visible());
    EXPECT_FALSE(Main->bsSkinButton20->Visible());
    Main->bsSkinButton16->ButtonClick();
    EXPECT_TRUE(Main->FFPlayer->Mute());
    EXPECT_FALSE(Main->bsSkinButton16->Visible());
    EXPECT_TRUE(Main->bsSkinButton20->Visible());
    Main->bsSkinButton20->ButtonClick();
    EXPECT_FALSE(Main->FFPlayer->Mute());
    EXPECT_TRUE(Main->bsSkinButton16->Visible());
    EXPECT_FALSE(Main->bsSkinButton20->Visible());
    Main->TrackBar2->SetPosition(40);
    EXPECT_EQ(Main->FFPlayer->AudioVolume(), 40);
}

TEST_F(PreviewPanelTest, PositionEventsMoveLabelAndSliderOnlyWhileTheSliderIsFree)
{
    CreateMain(false);
    Main->FDuration = 3600000000LL;
    Main->bsSkinSlider1->SetMaxValue(218);
    Main->FFPlayerPosition(nullptr, 1800000000LL);
    EXPECT_EQ(Main->Label3->Caption(), "1800.00");
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 109);
    // Held: nothing changes.
    Main->bsSkinSlider1_down_UP = "Down";
    Main->FFPlayerPosition(nullptr, 900000000LL);
    EXPECT_EQ(Main->Label3->Caption(), "1800.00");
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 109);
    Main->bsSkinSlider1_down_UP = "UP";
    // Past the end: the slider stops at its maximum; a negative time moves the label only.
    Main->FFPlayerPosition(nullptr, 3700000000LL);
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 218);
    Main->FFPlayerPosition(nullptr, -2000000);
    EXPECT_EQ(Main->Label3->Caption(), "-2.00");
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 218);
}

// ---- the real player on a generated clip ------------------------------------------------------

// Two seconds of 64 x 48 pictures with a tone, made once by the real ffmpeg in a folder
// that goes when the test program ends.
String PreviewClip()
{
    static String path;
    static struct TClipFolder {
        String dir;
        ~TClipFolder()
        {
            std::error_code ec;
            if (!dir.empty()) std::filesystem::remove_all(dir, ec);
        }
    } folder;
    if (!path.empty()) return path;
    if (folder.dir.empty()) {
        std::string dir = (std::filesystem::temp_directory_path() / "vc-preview-clip-XXXXXX").string();
        if (!mkdtemp(dir.data())) return path;
        folder.dir = dir;
    }
    const String file = folder.dir + "/clip.mkv";
    const String cmd = "ffmpeg -nostdin -y -loglevel error -f lavfi -i testsrc=s=64x48:r=25:d=2 -f lavfi -i "
                       "sine=f=440:d=2 -c:v mpeg4 -q:v 2 -c:a pcm_s16le -shortest '" + file + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == 0) path = file;
    return path;
}

bool PumpUntil(const std::function<bool()>& ADone, int ATimeoutMs = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (ADone()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

class PreviewPlayerTest : public PreviewPanelTest {
protected:
    void SetUp() override
    {
        PreviewPanelTest::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Clip = PreviewClip();
        if (Clip.empty()) GTEST_SKIP() << "no ffmpeg to make the clip";
    }
    void TearDown() override
    {
        // The player's last log lines reach this window while it still stands.
        if (Main) {
            Main->FFPlayer->Stop(true);
            PumpUntil([] { return false; }, 200);
        }
        PreviewPanelTest::TearDown();
    }
    bool Logged(const String& ALine) const
    {
        for (int i = 0; i < Main->mmoLog->Lines()->Count(); ++i)
            if (Main->mmoLog->Lines()->Strings(i) == ALine) return true;
        return false;
    }
    // Opens the clip in the preview and waits for its first picture; the folder the
    // captures go to, or empty when no picture came.
    String ShowClipForCapture()
    {
        CreateMain(false);
        Main->T_Movie_PLayer_FileName = Clip;
        Main->Button31Click(nullptr);
        if (!PumpUntil([&] { return Main->FFPlayer->CurrentFrame()->Width() > 0; })) return String();
        const String dir = Root + "/captures/";
        std::filesystem::create_directories(dir);
        return dir;
    }
    String Clip;
};

TEST_F(PreviewPlayerTest, OpensPausedReportsTheFileAndSnapshotsThePicture)
{
    CreateMain(false);
    Main->T_Movie_PLayer_FileName = Clip;
    Main->Button31Click(nullptr);
    ASSERT_NE(Main->FFPlayer->VideoState(), nullptr) << Main->FFPlayer->LastErrMsg();
    EXPECT_TRUE(Logged("duration: 2.00, frame size: 64x48"));
    EXPECT_GT(Main->mmoLog->Lines()->Count(), 3) << "the probe's report comes first";
    EXPECT_EQ(Main->FDuration / 100000, 20);
    EXPECT_EQ(Main->Label2->Caption(), "2.00");
    EXPECT_EQ(Main->Label3->Caption(), "0.0");
    EXPECT_EQ(Main->bsSkinSlider1->MaxValue(), 218);
    EXPECT_EQ(Main->bsSkinSlider1->Increment(), 5);
    EXPECT_EQ(Main->FScreenControl, Main->Panel6);
    EXPECT_EQ(Main->FFPlayer->ScreenWidth(), 210);
    EXPECT_EQ(Main->cboVideo->Items()->Strings(0), "Video#0");
    EXPECT_FALSE(Main->cboVideo->Enabled());
    EXPECT_FALSE(Main->cboAudio->Enabled());
    EXPECT_EQ(Main->cboSubtitle->Items()->Count(), 0);
    EXPECT_TRUE(Main->FFPlayer->Paused()) << "\"Open Paused\" is checked";

    // The first picture shown, the snapshot writes it as PNG.
    ASSERT_TRUE(PumpUntil([&] { return Main->FFPlayer->CurrentFrame()->Width() > 0; }));
    WriteIni("[SnapShot]\nDir=" + Root + "/shots\nPicture=PNG\n");
    Main->bsSkinButton22->ButtonClick();
    Main->bsSkinButton22->ButtonClick();
    ASSERT_TRUE(std::filesystem::exists(Root + "/shots/clip_1.png"));
    ASSERT_TRUE(std::filesystem::exists(Root + "/shots/clip_2.png"));
    TPicture picture;
    picture.LoadFromFile(Root + "/shots/clip_1.png");
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 48);
    Main->FFPlayer->Stop(true);
}

// The file's first bytes: "BM" for a bitmap, FF D8 FF for a JPEG.
String FileStart(const String& AFile)
{
    std::ifstream in(AFile, std::ios::binary);
    char b[3] = {};
    in.read(b, 3);
    return String(b, size_t(in.gcount()));
}

TEST_F(PreviewPlayerTest, CaptureWritesABitmapForABmpNameAndAJpegForAnyOther)
{
    const String dir = ShowClipForCapture();
    ASSERT_FALSE(dir.empty());
    struct TCase {
        const char* Name;
        bool Bitmap;
    } cases[] = {
        {"a.bmp", true}, {"b.BMP", true}, {"c.Bmp", true},      {"d.jpg", false},
        {"e.jpeg", false}, {"f.png", false}, {"g.bmp.jpg", false}, {"h", false},
    };
    String answer;
    Main->SelectCaptureFile = [&](String& AFileName) {
        AFileName = answer;
        return true;
    };
    for (const TCase& c : cases) {
        answer = dir + c.Name;
        Main->btnCapture->Click();
        ASSERT_TRUE(std::filesystem::exists(answer)) << c.Name;
        EXPECT_EQ(FileStart(answer), c.Bitmap ? String("BM\x36") : String("\xFF\xD8\xFF")) << c.Name;
        EXPECT_EQ(enginetest::FFprobe("-show_entries stream=codec_name,width,height -of csv=p=0", answer),
                  c.Bitmap ? "bmp,64,48\n" : "mjpeg,64,48\n")
            << c.Name;
    }
    // Cancel writes nothing; a name the user confirmed replaces the file there.
    std::ofstream(dir + "old.bmp") << "old";
    Main->SelectCaptureFile = [&](String& AFileName) {
        AFileName = dir + "old.bmp";
        return false;
    };
    Main->btnCapture->Click();
    EXPECT_EQ(std::filesystem::file_size(dir + "old.bmp"), 3u);
    answer = dir + "old.bmp";
    Main->SelectCaptureFile = [&](String& AFileName) {
        AFileName = answer;
        return true;
    };
    Main->btnCapture->Click();
    EXPECT_EQ(FileStart(answer).substr(0, 2), "BM");
    // A folder that does not exist: a clear error, nothing written.
    answer = Root + "/missing/shot.bmp";
    EXPECT_THROW(Main->btnCapture->Click(), EFCreateError);
    EXPECT_FALSE(std::filesystem::exists(Root + "/missing"));
    Main->FFPlayer->Stop(true);
}

TEST_F(PreviewPlayerTest, CaptureAsksThroughTheSkinnedSavePictureDialog)
{
    const String dir = ShowClipForCapture();
    ASSERT_FALSE(dir.empty());
    // Each run: the filter chosen (-1: as the dialog starts), the name typed, then "Save"
    // or Cancel, on the dialog's first idle turn.
    int filter = -1;
    String typed;
    bool save = true;
    std::vector<String> filters;
    Application->OnIdle = [&](TObject*) {
        TbsOpenPictureDlgForm* f = Main->SavePictureDialog1->PictureForm();
        if (!f || !f->Visible() || f->ModalResult() != mrNone) return;
        filters.clear();
        for (int i = 0; i < f->FilterComboBox->Items()->Count(); ++i)
            filters.push_back(f->FilterComboBox->Items()->Strings(i));
        if (filter >= 0) f->FilterComboBox->SetItemIndex(filter);
        f->FileNameEdit->SetText(typed);
        if (save)
            f->OpenButton->ButtonClick();
        else
            f->SetModalResult(mrCancel);
    };
    struct TRun {
        int Filter;
        const char* Typed;
        bool Save;
        const char* Written;  // nullptr: nothing
        const char* Codec;
    } runs[] = {
        {-1, "first", true, "first.bmp", "bmp"},       // the bitmap filter adds its extension
        {1, "second", true, "second.jpg", "mjpeg"},    // the JPEG filter adds its own
        {0, "third.jpeg", true, "third.jpeg", "mjpeg"},  // a typed extension stays
        {0, "fourth", false, nullptr, nullptr},        // Cancel
    };
    for (const TRun& r : runs) {
        filter = r.Filter;
        typed = dir + r.Typed;
        save = r.Save;
        Main->btnCapture->Click();
        if (!r.Written) continue;
        EXPECT_EQ(enginetest::FFprobe("-show_entries stream=codec_name -of csv=p=0", dir + r.Written),
                  String(r.Codec) + "\n")
            << r.Typed;
    }
    Application->OnIdle = nullptr;
    EXPECT_EQ(filters, (std::vector<String>{"Bitmaps (*.bmp)", "JPEG Image File "}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 3)
        << "the cancelled run wrote nothing";
    Main->FFPlayer->Stop(true);
}

TEST_F(PreviewPlayerTest, AMissingFileIsReportedAndNothingOpens)
{
    CreateMain(false);
    Main->T_Movie_PLayer_FileName = Root + "/gone.avi";
    Main->Button31Click(nullptr);
    EXPECT_EQ(Main->FFPlayer->VideoState(), nullptr);
    EXPECT_TRUE(Logged(Root + "/gone.avi: No such file or directory"));
}

TEST_F(PreviewPlayerTest, AtItsEndTheFileRewindsAndPauses)
{
    CreateMain(false);
    Main->T_Movie_PLayer_FileName = Clip;
    Main->Button31Click(nullptr);
    ASSERT_NE(Main->FFPlayer->VideoState(), nullptr) << Main->FFPlayer->LastErrMsg();
    Main->bsSkinButton13->ButtonClick();
    ASSERT_TRUE(PumpUntil([&] { return Logged("End"); }, 20000));
    EXPECT_TRUE(PumpUntil([&] { return Main->FFPlayer->Paused(); }));
    EXPECT_TRUE(PumpUntil([&] { return Main->FFPlayer->CurrentPTS() >= 0 && Main->FFPlayer->CurrentPTS() < 500000; }))
        << Main->FFPlayer->CurrentPTS();
    EXPECT_EQ(Main->FormStyle(), fsNormal);

    // Stop with no row selected does nothing; with one it stops and opens the file again.
    const int lines = Main->mmoLog->Lines()->Count();
    Main->bsSkinButton15->ButtonClick();
    EXPECT_EQ(Main->mmoLog->Lines()->Count(), lines);
    Main->AddJobRow({Clip});
    Main->lvFiles->SetItemIndex(0);
    Main->mmoLog->Lines()->Clear();
    Main->bsSkinButton15->ButtonClick();
    EXPECT_TRUE(PumpUntil([&] { return Logged("Stop"); }));
    EXPECT_TRUE(Logged("duration: 2.00, frame size: 64x48")) << "opened again";
    EXPECT_NE(Main->FFPlayer->VideoState(), nullptr);
    Main->FFPlayer->Stop(true);
}

// Freeing the window while the preview plays: the player stops first, and none of its
// events reaches the window's freed controls.
TEST_F(PreviewPlayerTest, FreeingTheWindowWhileThePreviewPlaysStopsThePlayerFirst)
{
    CreateMain(false);
    Main->T_Movie_PLayer_FileName = Clip;
    Main->Button31Click(nullptr);
    ASSERT_NE(Main->FFPlayer->VideoState(), nullptr) << Main->FFPlayer->LastErrMsg();
    Main->bsSkinButton13->ButtonClick();
    // Playing shows in the position label moving on; the state events of the open and of
    // the resume may reach the window as one, so the log's "Play" proves nothing here.
    ASSERT_TRUE(PumpUntil([&] { return std::atof(Main->Label3->Caption().c_str()) > 0.0; }, 30000));
    // Position events keep coming while the window goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    delete Main;
    Main = nullptr;
    PumpUntil([] { return false; }, 200);
}

}  // namespace
