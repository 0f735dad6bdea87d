// The program's start-up, the settings file and the options dialog, headless: the forms
// in order, the first start's settings, stored values read back by their rules, "确定"
// and "取消", and the main window's closing.
#include "forms/main_window_support.h"

#include "app/Program.h"
#include "platform/shell/Runner.h"
#include "support/transcoder_support.h"

#include <atomic>
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace mainwindow;

namespace {

TEST_F(MainWindowTest, FirstStartWritesTheDefaultsAndCreatesTheFormsInOrder)
{
    CreateProgramForms();
    std::vector<String> forms;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i))) forms.push_back(f->Name());
    const std::vector<String> expected = {"Form1", "Form2", "Form5", "Form6", "Form7"};
    EXPECT_EQ(forms, expected);
    EXPECT_EQ(Application->Title(), "澄枫DAT格式转换器");
    EXPECT_EQ(Application->HelpFile(), "help.chm");

    // The output folder, made with its parents, and the five options in table order.
    EXPECT_EQ(Ini("OutPath", "OutPath"), DefaultFolder());
    EXPECT_TRUE(std::filesystem::is_directory(DefaultFolder()));
    EXPECT_EQ(Form1->FileOutPutPath, DefaultFolder());
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), DefaultFolder());
    EXPECT_EQ(Keys("Options"),
              (std::vector<String>{"Thread_Count", "After_Done", "Show_Preview", "Thread_Priority", "Overwrite_File"}));
    EXPECT_EQ(Ini("Options", "Thread_Count"), "0");
    EXPECT_EQ(Ini("Options", "After_Done"), "0");
    EXPECT_EQ(Ini("Options", "Show_Preview"), "0");
    EXPECT_EQ(Ini("Options", "Thread_Priority"), "3");
    EXPECT_EQ(Ini("Options", "Overwrite_File"), "1");
    EXPECT_EQ(IniText().find('\r'), String::npos) << "LF line ends";

    // The dialog shows the defaults; the preview is off and the engine's switch with it.
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox1->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox12->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox6->Checked());
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox8->Checked());
    EXPECT_FALSE(Form1->FFEngine->Preview());
    EXPECT_EQ(Form5->bsSkinComboBox2->Text(), "1");

    // The first category and its first preset; its option lists filled.
    EXPECT_EQ(Form1->bsSkinOfficeComboBox2->ItemIndex(), 0);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->Items()->Count(), PresetCount(0));
    EXPECT_GT(Form1->bsSkinComboBox1->Items()->Count(), 0);

    // An empty list: nothing to remove, rename, clear, start, stop, pause or resume.
    for (TbsSkinButton* b : {Form1->bsSkinButton7, Form1->bsSkinButton21, Form1->bsSkinButton8, Form1->bsSkinButton2,
                             Form1->bsSkinButton10, Form1->bsSkinButton11, Form1->bsSkinButton12})
        EXPECT_FALSE(b->Enabled()) << b->Name();
    for (TMenuItem* m : {Form1->N13, Form1->N26, Form1->N14, Form1->N6, Form1->N7, Form1->N8, Form1->N9})
        EXPECT_FALSE(m->Enabled()) << m->Name();
    EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
    EXPECT_TRUE(Form1->bsSkinPanel5->Visible());

    // Every slot free; the screen list starts with the preview panel.
    EXPECT_EQ(Form1->FreeSlot(), 0);
    EXPECT_EQ(Form1->cboScreens->Items()->Strings(0), "Panel6");
    EXPECT_EQ(Form1->cboScreens->ItemIndex(), 0);
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
    EXPECT_EQ(Form1->ClientWidth(), 823);
    EXPECT_EQ(Form1->ClientHeight(), 489);
}

TEST_F(MainWindowTest, UnwritableProgramFolderKeepsTheSettingsInTheConfigurationFolder)
{
    // A folder nobody may write into, not even the superuser.
    const String locked = geteuid() == 0 ? String("/proc/1/") : Root + "/locked/";
    if (geteuid() != 0) {
        std::filesystem::create_directories(locked);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    SetProgramFolder(locked);
    CreateMain();
    const String config = Root + "/config/" + ProgramName() + "/option.ini";
    EXPECT_EQ(OptionFileName(), config);
    TIniFile ini(config);
    EXPECT_EQ(ini.ReadString("OutPath", "OutPath", "Error"), DefaultFolder());
    EXPECT_EQ(ini.ReadString("Options", "Overwrite_File", "Error"), "1");
    if (geteuid() != 0) std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

// A stored value, the controls it gives and the value the file holds afterwards.
struct TStoredCase {
    const char* Key;
    const char* Stored;
    const char* Rewritten;
    std::function<bool(TForm5*)> Shows;
};

TEST_F(MainWindowTest, StoredOptionsAreReadByTheirRules)
{
    const TStoredCase cases[] = {
        {"After_Done", "7", "0", [](TForm5* F) { return F->bsSkinCheckRadioBox1->Checked(); }},
        {"After_Done", "2", "2", [](TForm5* F) { return F->bsSkinCheckRadioBox4->Checked(); }},
        {"Thread_Priority", "x", "3", [](TForm5* F) { return F->bsSkinCheckRadioBox12->Checked(); }},
        {"Thread_Priority", "0", "0", [](TForm5* F) { return F->bsSkinCheckRadioBox9->Checked(); }},
        {"Show_Preview", "", "0", [](TForm5* F) { return !F->bsSkinCheckRadioBox8->Checked(); }},
        {"Show_Preview", "1", "1", [](TForm5* F) { return F->bsSkinCheckRadioBox8->Checked(); }},
        {"Overwrite_File", "0", "0", [](TForm5* F) { return F->bsSkinCheckRadioBox3->Checked(); }},
        {"Overwrite_File", "9", "1", [](TForm5* F) { return F->bsSkinCheckRadioBox6->Checked(); }},
        {"Thread_Count", "5", "5", [](TForm5* F) { return F->bsSkinComboBox2->Text() == "5"; }},
        {"Thread_Count", "19", "19", [](TForm5* F) { return F->bsSkinComboBox2->Text() == "19"; }},
        {"Thread_Count", "20", "20", [](TForm5* F) { return F->bsSkinComboBox2->Text() == "1"; }},
        {"Thread_Count", "x", "x", [](TForm5* F) { return F->bsSkinComboBox2->Text() == "1"; }},
        {"Thread_Count", "", "0", [](TForm5* F) { return F->bsSkinComboBox2->Text() == "1"; }},
    };
    std::filesystem::create_directories(Root + "/out");
    for (const TStoredCase& c : cases) {
        SCOPED_TRACE(String(c.Key) + "=" + c.Stored);
        WriteIni("[OutPath]\nOutPath=" + Root + "/out\n[Options]\n" + c.Key + "=" + c.Stored + "\n");
        CreateMain();
        EXPECT_TRUE(c.Shows(Form5));
        EXPECT_EQ(Ini("Options", c.Key), c.Rewritten);
        EXPECT_EQ(Keys("Options").size(), 5u) << "the missing keys are written";
        if (String(c.Key) == "Show_Preview") {
            const String expected = String("SetPreview(") + (String(c.Rewritten) == "1" ? "true" : "false") + ")";
            EXPECT_EQ(Main->Calls, std::vector<String>{expected}) << "the engine follows the stored preview";
        }
        delete Form5;
        delete Main;
        Main = nullptr;
    }
}

TEST_F(MainWindowTest, StoredOutputFolderIsTakenOnlyWhenAbsolute)
{
    struct TCase {
        String Stored;
        String Taken;
    };
    const TCase cases[] = {
        {Root + "/gone/again", Root + "/gone/again"},  // made again
        {"C:\\澄枫视频软件\\输出", DefaultFolder()},   // a Windows path
        {"relative/out", DefaultFolder()},
        {"", DefaultFolder()},
        {"Error", DefaultFolder()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Stored);
        WriteIni("[OutPath]\nOutPath=" + c.Stored + "\n");
        CreateMain(false);
        EXPECT_EQ(Main->FileOutPutPath, c.Taken);
        EXPECT_EQ(Main->Video_OutPut_Folder_Edit->Text(), c.Taken);
        EXPECT_TRUE(std::filesystem::is_directory(c.Taken));
        EXPECT_EQ(Ini("OutPath", "OutPath"), c.Taken);
        EXPECT_FALSE(std::filesystem::exists(ProgramDir + "relative")) << "never a folder relative to the program";
        delete Main;
        Main = nullptr;
    }
}

TEST_F(MainWindowTest, OkWritesTheFiveKeys)
{
    CreateMain();
    Form5->Show();
    Form5->bsSkinCheckRadioBox5->SetChecked(true);
    Form5->bsSkinCheckRadioBox10->SetChecked(true);
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    Form5->bsSkinCheckRadioBox8->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(3);
    Form5->bsSkinButton6->ButtonClick();
    EXPECT_FALSE(Form5->Visible());
    EXPECT_EQ(Ini("Options", "Thread_Count"), "4");
    EXPECT_EQ(Ini("Options", "After_Done"), "3");
    EXPECT_EQ(Ini("Options", "Show_Preview"), "1");
    EXPECT_EQ(Ini("Options", "Thread_Priority"), "1");
    EXPECT_EQ(Ini("Options", "Overwrite_File"), "0");
    // The choices stay for this run.
    EXPECT_TRUE(Main->OverwriteOutput());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox5->Checked());
}

TEST_F(MainWindowTest, CancelPutsEveryControlBackAndWritesNothing)
{
    CreateMain();
    Form5->Show();
    const String before = IniText();
    Main->Calls.clear();
    Form5->bsSkinCheckRadioBox2->SetChecked(true);
    Form5->bsSkinCheckRadioBox9->SetChecked(true);
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    Form5->bsSkinCheckRadioBox8->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(7);
    Form5->bsSkinButton1->ButtonClick();
    EXPECT_FALSE(Form5->Visible());
    EXPECT_EQ(IniText(), before);
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox1->Checked());
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox2->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox12->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox6->Checked());
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox8->Checked());
    EXPECT_EQ(Form5->bsSkinComboBox2->Text(), "1");
    EXPECT_FALSE(Main->OverwriteOutput());
    // The preview switch went on with the box and back off with the cancel.
    EXPECT_EQ(Main->Calls, (std::vector<String>{"SetPreview(true)", "SetPreview(false)"}));
}

TEST_F(MainWindowTest, ThreadCountBoxFollowsTheMultiThreadBox)
{
    CreateMain();
    Form5->bsSkinCheckRadioBox7->SetChecked(false);
    EXPECT_FALSE(Form5->bsSkinComboBox2->Enabled());
    Form5->bsSkinCheckRadioBox7->SetChecked(true);
    EXPECT_TRUE(Form5->bsSkinComboBox2->Enabled());
}

TEST_F(MainWindowTest, ClosingDetachesTheEventsBeforeStoppingAndTheLogAfter)
{
    CreateMain();
    auto ignore = [](auto&&...) {};
    Main->FFPlayer->OnPosition = ignore;
    Main->FFPlayer->OnState = ignore;
    Main->FFPlayer->OnHook = ignore;
    Main->FFEngine->OnCustomHook = ignore;
    Main->FFEngine->OnProgress = ignore;
    Main->FFEngine->OnTerminate = ignore;
    Main->FFLogger->OnLog = ignore;
    Main->Calls.clear();
    bool canClose = false;
    Main->OnCloseQuery(Main, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(Main->Calls, std::vector<String>{"Stop(true) log"});
    EXPECT_FALSE(Main->FFLogger->OnLog);
}

TEST_F(MainWindowTest, ResetRoutinesTouchOnlyTheirFields)
{
    CreateMain(false);
    for (int run = 0; run < 2; ++run) {
        Main->Video.Video_AddFileName = "/in/a.avi";
        Main->Video.Video_VideoCodec = "mpeg4";
        Main->Video.Video_AudioVolume = "100";
        Main->Video.Video_VideoBitrate = 800000;
        Main->Video.Video_DisableVideo = true;
        Main->Button6Click(Main);
        EXPECT_EQ(Main->Video.Video_AddFileName, "/in/a.avi");
        EXPECT_EQ(Main->Video.Video_VideoCodec, "");
        EXPECT_EQ(Main->Video.Video_AudioVolume, "256");
        EXPECT_EQ(Main->Video.Video_VideoBitrate, -1);
        EXPECT_EQ(Main->Video.Video_AudioBitrate, -1);
        EXPECT_FALSE(Main->Video.Video_DisableVideo);
    }
    TInputOptions input;
    InitInputOptions(input);
    TOutputOptions output;
    InitOutputOptions(output);
    output.FileName = "/out/x.mp4";
    ASSERT_EQ(Main->TakeSlot(input, output), 0);
    Main->MarkSlotDeleted(7);
    Main->Button15Click(Main);
    for (const String& marker : Main->SlotMarkers()) EXPECT_EQ(marker, SlotFree);
    EXPECT_EQ(Main->SlotMarkers().size(), 501u);
    EXPECT_EQ(Main->SlotOutputs()[0].FileName, "/out/x.mp4");
    // No slot marker ever reaches an output's language tag.
    TOutputOptions fresh;
    InitOutputOptions(fresh);
    for (const TOutputOptions& o : Main->SlotOutputs()) EXPECT_EQ(o.AudioLanguage, fresh.AudioLanguage);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ChoosingTheOutputFolderCountsOnlyWhenAccepted)
{
    CreateMain(false);
    const String chosen = Root + "/chosen", other = Root + "/other";
    std::filesystem::create_directories(chosen);
    std::filesystem::create_directories(other);
    struct TRun {
        bool Accept;
        String Answer;
        String Taken;
    };
    const TRun runs[] = {
        {true, chosen, chosen},                    // accepted: taken and stored
        {false, other, chosen},                    // cancelled after a choice: nothing changes
        {true, Root + "/missing", chosen},         // a folder that does not exist is not taken
    };
    for (const TRun& r : runs) {
        SCOPED_TRACE(r.Answer);
        String shownAt;
        Main->SelectOutputFolder = [&](String& ADirectory) {
            shownAt = ADirectory;
            ADirectory = r.Answer;
            return r.Accept;
        };
        const String before = Main->FileOutPutPath;
        Main->bsSkinButton5->ButtonClick();
        EXPECT_EQ(shownAt, before);
        EXPECT_EQ(Main->FileOutPutPath, r.Taken);
        EXPECT_EQ(Main->Video_OutPut_Folder_Edit->Text(), r.Taken);
        EXPECT_EQ(Ini("OutPath", "OutPath"), r.Taken);
    }
}

TEST_F(MainWindowTest, OpenShowsTheOutputFolderThroughTheDesktopOpener)
{
    std::vector<std::vector<String>> log;
    SetCommandRunner(std::make_unique<TRecordingRunner>(&log));
    CreateMain(false);
    Main->bsSkinButton6->ButtonClick();
    Main->Button20Click(Main);
    SetCommandRunner(nullptr);
    const std::vector<String> open = {"xdg-open", DefaultFolder()};
    EXPECT_EQ(log, (std::vector<std::vector<String>>{open, open}));
}

TEST_F(MainWindowTest, SettingsFileMissingWhenTheDialogIsMadeGetsTheDefaultsShownAsStored)
{
    CreateMain(false);
    std::filesystem::remove(IniPath());
    Main->Calls.clear();
    Application->CreateForm<TForm5>(&Form5);
    EXPECT_EQ(Keys("Options"),
              (std::vector<String>{"Thread_Count", "After_Done", "Show_Preview", "Thread_Priority", "Overwrite_File"}));
    EXPECT_EQ(Ini("Options", "Show_Preview"), "0");
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox8->Checked()) << "the box shows the stored \"0\"";
    EXPECT_EQ(Main->Calls, std::vector<String>{"SetPreview(false)"});
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox1->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox12->Checked());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox6->Checked());
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ClosingDuringABatchStopsItAndRunsNoTerminateHandler)
{
    ASSERT_TRUE(enginetest::LoadLibraries());
    TForm1* form = Application->CreateForm<TForm1>();
    const String out = enginetest::ScratchFolder();
    for (int i = 0; i < 6; ++i) {
        const int task = form->FFEngine->AddTask(transcodertest::Media("av.avi"));
        ASSERT_EQ(task, i) << form->FFEngine->LastErrMsg();
        TOutputOptions o;
        InitOutputOptions(o);
        o.VideoCodec = "mpeg4";
        o.AudioCodec = "mp2";
        ASSERT_TRUE(form->FFEngine->SetOutputFile(task, out + "out" + IntToStr(i) + ".avi", &o))
            << form->FFEngine->LastErrMsg();
    }
    std::atomic<bool> closing{false};
    std::atomic<int> afterClose{0}, progressAfterClose{0};
    form->FFEngine->OnTerminate = [&](TObject*, const TTerminateInfo&) { afterClose += closing ? 1 : 0; };
    form->FFEngine->OnProgress = [&](TObject*, PProgressInfo) { progressAfterClose += closing ? 1 : 0; };
    form->FFEngine->Start(1);
    ASSERT_TRUE(form->FFEngine->Working());
    closing = true;
    bool canClose = false;
    form->OnCloseQuery(form, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(form->FFEngine->Terminated()) << "every task ended before the close went on";
    for (int i = 0; i < 50; ++i) {
        Application->ProcessMessages();
        usleep(2000);
    }
    EXPECT_EQ(afterClose, 0);
    EXPECT_EQ(progressAfterClose, 0);
    EXPECT_EQ(Screen->FormCount(), 1) << "no message box";
}

}  // namespace
