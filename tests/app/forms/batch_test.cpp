// Running a batch from the main window: the row texts, the rebuild of the engine's tasks
// from the rows, the window states, the order of the terminate events raised on other
// threads, the after-done action, closing during a batch, and a real batch of clips.
#include "forms/add_batch_support.h"

#include "app/presets/PresetParams.h"
#include "app/forms/Unit5.h"
#include "platform/forms/Menus.h"

#include <thread>
#include <tuple>

using namespace addbatch;

namespace {

namespace fs = std::filesystem;

TEST(BatchTexts, TimeTextWrapsAtADay)
{
    const std::pair<int64_t, const char*> cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3600, "01:00:00"}, {86399, "23:59:59"}, {86400, "00:00:00"}, {90061, "01:01:01"},
    };
    for (const auto& [sec, text] : cases) EXPECT_EQ(TForm1::SecToDate(sec), text) << sec;
}

TEST(BatchTexts, SizeTextRoundsHalvesToEvenInMB)
{
    constexpr int64_t MiB = 1024 * 1024;
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0MB"},
        {MiB + MiB / 2, "1.5MB"},
        {int64_t(1234.5678 * MiB), "1234.57MB"},
        {MiB / 8, "0.12MB"},      // 12.5 hundredths: down to the even 12
        {3 * MiB / 8, "0.38MB"},  // 37.5 hundredths: up to the even 38
        {2 * MiB, "2MB"},
        {MiB / 10, "0.1MB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(TForm1::SizeText(bytes), text) << bytes;
}

// The columns 11 to 24 of a row and the output options they give.
struct TRebuildCase {
    std::vector<std::pair<int, String>> Columns;
    std::function<void(const TOutputOptions&)> Check;
};

class BatchRebuild : public AddBatchTest {};

TEST_F(BatchRebuild, RowColumnsGiveTheOutputOptions)
{
    const TRebuildCase cases[] = {
        {{{jcVideoCodec, "libx264"}, {jcVideoTag, "avc1"}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.VideoCodec, "libx264");
             EXPECT_EQ(O.VideoPreset, "libx264-default");
             EXPECT_EQ(O.VideoTag, "");
         }},
        {{{jcVideoCodec, "mpeg4"}, {jcVideoTag, "XVID"}, {jcAudioCodec, "AUTO"}, {jcAudioSampleRate, "AUTO"}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.VideoCodec, "mpeg4");
             EXPECT_EQ(O.VideoPreset, "");
             EXPECT_EQ(O.VideoTag, "XVID");
             EXPECT_EQ(O.AudioCodec, "");
             EXPECT_EQ(O.AudioSampleRate, -1);
         }},
        {{{jcAudioCodec, "mp2"}, {jcAudioChannels, "2"}, {jcAudioSampleRate, "44100"}, {jcAudioBitrate, "128000"},
          {jcFileExt, ".mpg"}, {jcFrameSize, "352*288"}, {jcVideoBitrate, "1150000"}, {jcFrameRate, "25"},
          {jcAspect, "4:3"}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.AudioCodec, "mp2");
             EXPECT_EQ(O.AudioChannels, 2);
             EXPECT_EQ(O.AudioSampleRate, 44100);
             EXPECT_EQ(O.AudioBitrate, 128000);
             EXPECT_EQ(O.FileExt, ".mpg");
             EXPECT_EQ(O.FrameSize, "352*288");
             EXPECT_EQ(O.VideoBitrate, 1150000);
             EXPECT_EQ(O.FrameRate, "25");
             EXPECT_EQ(O.FrameAspectRatio, "4:3");
         }},
        // Bitrates not set: -1000, -2000, any negative, empty.
        {{{jcVideoBitrate, "-1000"}, {jcAudioBitrate, "-2000"}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.VideoBitrate, -1);
             EXPECT_EQ(O.AudioBitrate, -1);
         }},
        {{{jcVideoBitrate, "-5"}, {jcAudioBitrate, ""}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.VideoBitrate, -1);
             EXPECT_EQ(O.AudioBitrate, -1);
         }},
        {{{jcDisableVideo, "True"}, {jcTargetType, "vcd"}, {jcNormType, "PAL"}},
         [](const TOutputOptions& O) {
             EXPECT_TRUE(O.DisableVideo);
             EXPECT_EQ(O.TargetType, ttVCD);
             EXPECT_EQ(O.NormType, ntPAL);
         }},
        {{{jcDisableVideo, "False"}, {jcTargetType, "svcd"}, {jcNormType, "NTSC"}},
         [](const TOutputOptions& O) {
             EXPECT_FALSE(O.DisableVideo);
             EXPECT_EQ(O.TargetType, ttSVCD);
             EXPECT_EQ(O.NormType, ntNTSC);
         }},
        {{{jcTargetType, "dvd"}, {jcNormType, ""}},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.TargetType, ttDVD);
             EXPECT_EQ(O.NormType, ntAuto);
         }},
        // An empty row: the engine's defaults, volume 256, no container, no filters.
        {{},
         [](const TOutputOptions& O) {
             EXPECT_EQ(O.VideoCodec, "");
             EXPECT_EQ(O.AudioChannels, -1);
             EXPECT_EQ(O.AudioVolume, 256);
             EXPECT_EQ(O.FileFormat, "");
             EXPECT_EQ(O.VideoFilters, "");
             EXPECT_EQ(O.AudioLanguage, "") << "no slot marker in the output's tags";
             EXPECT_EQ(O.TargetType, ttIgnore);
             EXPECT_EQ(O.NormType, ntAuto);
         }},
    };
    for (const TRebuildCase& c : cases) {
        TListItem* row = Form->lvFiles->Items()->Add();
        for (const auto& [column, text] : c.Columns) TForm1::SetJobColumn(row, column, text);
        c.Check(TForm1::JobOutputOptions(row));
    }
}

class BatchTest : public AddBatchTest {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        Form->FakeEngine = true;
    }
    // The enabled state of every control group, in the order of the window-state table.
    String Groups() const
    {
        auto on = [](bool A) { return A ? "1" : "0"; };
        String s;
        s += on(Form->bsSkinMenuSpeedButton1->Enabled() && Form->Item111->Enabled() && Form->N3331->Enabled());
        s += on(Form->bsSkinButton7->Enabled() && Form->bsSkinButton21->Enabled() && Form->N13->Enabled());
        s += on(Form->bsSkinButton8->Enabled() && Form->N14->Enabled());
        s += on(Form->bsSkinButton2->Enabled());
        s += on(Form->N6->Enabled());
        s += on(Form->bsSkinButton10->Enabled() && Form->N7->Enabled());
        s += on(Form->bsSkinButton11->Enabled() && Form->N8->Enabled());
        s += on(Form->bsSkinButton12->Enabled() && Form->N9->Enabled());
        s += on(Form->bsSkinOfficeComboBox2->Enabled() && Form->bsSkinOfficeComboBox1->Enabled() &&
                Form->bsSkinButton5->Enabled());
        return s;
    }
    // The picture each state button shows: "E" its enabled one, "D" its disabled one,
    // "-" none of its own (a tool-bar button's image list draws its state), "?" anything
    // else; in the order remove, rename, clear, start, stop, pause, resume.
    String Glyphs() const
    {
        const std::tuple<TbsSkinButton*, int, int> buttons[] = {
            {Form->bsSkinButton7, 15, 14},  {Form->bsSkinButton21, 16, 17}, {Form->bsSkinButton8, 13, 12},
            {Form->bsSkinButton2, 5, 4},    {Form->bsSkinButton10, 11, 10}, {Form->bsSkinButton11, 7, 6},
            {Form->bsSkinButton12, 9, 8},
        };
        String s;
        for (const auto& [button, enabled, disabled] : buttons) {
            if (button->ImageList() && (!button->Glyph() || button->Glyph()->Empty())) s += "-";
            else if (SamePixels(button->Glyph(), Form->Image(enabled)->Picture()->Bitmap())) s += "E";
            else if (SamePixels(button->Glyph(), Form->Image(disabled)->Picture()->Bitmap())) s += "D";
            else s += "?";
        }
        return s;
    }
    static bool SamePixels(TBitmap* A, TBitmap* B)
    {
        if (!A || !B || A->Empty() || A->Width() != B->Width() || A->Height() != B->Height()) return false;
        for (int y = 0; y < A->Height(); ++y)
            for (int x = 0; x < A->Width(); ++x)
                if (A->Canvas()->Pixels(x, y) != B->Canvas()->Pixels(x, y)) return false;
        return true;
    }
    void Terminate(int ATask, bool AFinished, const String& AError = String())
    {
        Form->FFEngineTerminate(Form->FFEngine, TTerminateInfo{ATask, AFinished, !AError.empty(), AError});
    }
};

//                                 add  remove clear start menu stop pause resume format
constexpr const char* Empty = "100000001";
constexpr const char* Ready = "111110001";
constexpr const char* Working = "000001100";
constexpr const char* Paused = "000001010";

//                                   remove rename clear start stop pause resume
constexpr const char* EmptyGlyphs = "DDDDDDD";
constexpr const char* ReadyGlyphs = "EEEEDDD";
constexpr const char* WorkingGlyphs = "DDDDEED";
constexpr const char* PausedGlyphs = "DDDDEDE";

TEST_F(BatchTest, EventSequencesSetTheControlGroups)
{
    EXPECT_EQ(Groups(), Empty);
    EXPECT_EQ(Glyphs(), EmptyGlyphs);
    AddRow("/in/a.avi", "a.mp4");
    EXPECT_EQ(Groups(), Ready);
    EXPECT_EQ(Glyphs(), ReadyGlyphs);
    Form->bsSkinButton2Click(Form);
    EXPECT_EQ(Groups(), Working);
    EXPECT_EQ(Glyphs(), WorkingGlyphs);
    EXPECT_TRUE(Form->bsSkinButton11->Visible());
    Form->bsSkinButton11Click(Form);
    EXPECT_EQ(Groups(), Paused);
    EXPECT_EQ(Glyphs(), PausedGlyphs);
    EXPECT_FALSE(Form->bsSkinButton11->Visible());
    EXPECT_TRUE(Form->bsSkinButton12->Visible());
    Form->bsSkinButton12Click(Form);
    EXPECT_EQ(Groups(), Working);
    EXPECT_EQ(Glyphs(), WorkingGlyphs);
    EXPECT_TRUE(Form->bsSkinButton11->Visible());
    // A normal end: the start stays off, clearing comes on.
    Terminate(0, true);
    Terminate(-1, true);
    EXPECT_EQ(Groups(), "001000001");
    EXPECT_EQ(Glyphs(), "DDEDDDD");
    Form->btnClearClick(Form);
    EXPECT_EQ(Form->BatchState(), TForm1::bsEmpty);
    EXPECT_EQ(Groups(), Empty);
    EXPECT_EQ(Glyphs(), EmptyGlyphs);
    EXPECT_EQ(Form->Calls, (std::vector<String>{"ClearTasks", "AddTask(/in/a.avi)",
                                                "SetOutputFile(0," + Form->FileOutPutPath + "/a.mp4)", "Start(1)",
                                                "Pause", "Resume", "ClearTasks"}));
}

TEST_F(BatchTest, StopKeepsPauseAndResumeUntilTheEndAndLeavesStartOn)
{
    AddRow("/in/a.avi", "a.mp4");
    Form->bsSkinButton2Click(Form);
    Form->bsSkinButton11Click(Form);  // paused
    String during, duringGlyphs;
    Form->OnStop = [&] {
        during = Groups();
        duringGlyphs = Glyphs();
        Terminate(0, false);
        Terminate(-1, true);
    };
    Form->bsSkinButton10Click(Form);
    //                  add remove clear start menu stop pause resume format
    EXPECT_EQ(during, "000100011") << "Stopping: start on, resume as before, format on";
    EXPECT_EQ(duringGlyphs, "DDDEDDE");
    EXPECT_EQ(Groups(), "001100001") << "Finished after a stop: start and clear on";
    EXPECT_EQ(Glyphs(), "DDEEDDD");
    EXPECT_EQ(Form->Calls.back(), "Stop");
}

TEST_F(BatchTest, ThreadCountAndPriorityComeFromTheOptionsDialog)
{
    const std::pair<String, int> counts[] = {{"4", 4}, {"19", 19}, {"x", 1}, {"", 1}};
    for (const auto& [text, count] : counts) {
        Form->FakeTasks = 0;
        Form->lvFiles->Items()->Clear();
        AddRow("/in/a.avi", "a.mp4");
        Form5->bsSkinComboBox2->SetText(text);
        Form5->bsSkinCheckRadioBox10->SetChecked(true);
        Form->Calls.clear();
        Form->btnStartClick(Form);
        EXPECT_EQ(Form->Calls.back(), "Start(" + IntToStr(count) + ")") << text;
        EXPECT_EQ(Form->FFEngine->ThreadPriority(), tpLowest);
        Terminate(-1, true);
    }
}

TEST_F(BatchTest, ARefusedTaskShiftsNoRowAndProgressFindsItsRow)
{
    AddRow("/in/a.avi", "a.mp4");
    AddRow("/in/gone.avi", "gone.mp4");
    AddRow("/in/c.avi", "c.mp4");
    Form->RefusedInputs = {"/in/gone.avi"};
    Form->btnStartClick(Form);
    EXPECT_EQ(Column(0, jcTaskNumber), "1");
    EXPECT_EQ(Column(1, jcTaskNumber), "");
    EXPECT_EQ(Column(2, jcTaskNumber), "2");
    ASSERT_EQ(Form->Boxes.size(), 1u);
    EXPECT_EQ(Form->Boxes[0].rfind("***File open error: ", 0), 0u);
    // The output of task 1 is c's.
    EXPECT_EQ(Form->Outputs.back().FileName, Form->FileOutPutPath + "/c.mp4");

    // Rows moved during the batch keep their progress.
    Form->lvFiles->SetItemIndex(2);
    Form->bsSkinButton3Click(Form);  // c moves up
    TProgressInfo p;
    p.TaskIndex = 1;
    p.CurrentDuration = 500000;
    p.TotalDuration = 1000000;
    p.FPS = 25;
    p.CurrentSize = 3 * 1024 * 1024 / 2;
    Form->FFEngineProgress(Form->FFEngine, &p);
    EXPECT_EQ(Column(1, 0), "/in/c.avi");
    EXPECT_EQ(Column(1, jcProgress), "50%");
    EXPECT_EQ(Column(1, jcFPS), "25");
    EXPECT_EQ(Column(1, jcPosition), "00:00:00");
    EXPECT_EQ(Column(1, jcOutputSize), "1.5MB");
    EXPECT_EQ(Column(2, jcProgress), "");
    p.TotalDuration = -1;
    p.FPS = 0;
    Form->FFEngineProgress(Form->FFEngine, &p);
    EXPECT_EQ(Column(1, jcProgress), "N/A");
    EXPECT_EQ(Column(1, jcFPS), "25");
    Terminate(1, true);
    EXPECT_EQ(Column(1, jcProgress), "100%");
}

TEST_F(BatchTest, ARefusedOutputRemovesItsTaskAndTheNextRowTakesItsNumber)
{
    AddRow("/in/a.avi", "a.mp4");
    AddRow("/in/b.avi", "b.mp4");
    Form->RefusedOutputs = {Form->FileOutPutPath + "/a.mp4"};
    Form->btnStartClick(Form);
    EXPECT_EQ(Column(0, jcTaskNumber), "");
    EXPECT_EQ(Column(1, jcTaskNumber), "1");
    ASSERT_EQ(Form->Boxes.size(), 1u);
    EXPECT_EQ(Form->Boxes[0].rfind("***Cannot do convert, error: ", 0), 0u);
    EXPECT_NE(std::find(Form->Calls.begin(), Form->Calls.end(), "RemoveTask(0)"), Form->Calls.end());
}

TEST_F(BatchTest, TheStartGivesRowsThatShareAnOutputNameNamesOfTheirOwn)
{
    std::ofstream(Form->FileOutPutPath + "/a_1.mp4") << "an earlier output";
    AddRow("/in/a.avi", "a.mp4");
    AddRow("/other/a.avi", "a.mp4");
    AddRow("/in/c.avi", "a_2.mp4");
    AddRow("/third/a.avi", "a.mp4");
    Form->btnStartClick(Form);
    EXPECT_EQ(Column(0, jcOutputFile), "a.mp4");
    EXPECT_EQ(Column(1, jcOutputFile), "a_3.mp4") << "a_1 is on disk, a_2 held by a later row is taken in turn";
    EXPECT_EQ(Column(2, jcOutputFile), "a_2.mp4");
    EXPECT_EQ(Column(3, jcOutputFile), "a_4.mp4");
}

TEST_F(BatchTest, EachTaskIsRebuiltFromItsRowAlone)
{
    AddRow("/in/a.avi", "a.mp4");
    // What an earlier job left in slot 0.
    TOutputOptions output = Form->SlotOutputs()[0];
    output.FileFormat = "avi";
    output.AudioVolume = 100;
    output.VideoFilters = "crop";
    output.FrameSize = "640*480";
    output.AudioLanguage = SlotFull;
    TInputOptions input = Form->SlotInputs()[0];
    input.FileFormat = "mpeg";
    Form->SetSlotRecords(0, input, output);
    Form->btnStartClick(Form);
    ASSERT_EQ(Form->Outputs.size(), 1u);
    const TOutputOptions& o = Form->Outputs[0];
    EXPECT_EQ(o.FileFormat, "");
    EXPECT_EQ(o.AudioVolume, 256);
    EXPECT_EQ(o.VideoFilters, "");
    EXPECT_EQ(o.FrameSize, "");
    EXPECT_EQ(o.AudioLanguage, "");
    EXPECT_EQ(Form->SlotInputs()[0].FileFormat, "");
    EXPECT_EQ(Form->SlotMarkers()[0], SlotFree) << "the marker lives apart from the records";
}

TEST_F(BatchTest, TerminateEventsFromOtherThreadsTakeEffectOnTheGuiThreadInOrderOnce)
{
    AddRow("/in/a.avi", "a.mp4");
    AddRow("/in/b.avi", "b.mp4");
    ChooseAfterDone(3);
    Form->btnStartClick(Form);
    // The handler records on which thread and in which state each box was shown.
    std::vector<std::pair<bool, String>> seen;
    std::thread first([&] { Terminate(0, true); });
    first.join();
    std::thread second([&] { Terminate(1, false, "boom"); });
    second.join();
    std::thread last([&] { Terminate(-1, true); });
    last.join();
    EXPECT_EQ(Column(0, jcProgress), "") << "nothing happens off the GUI thread";
    EXPECT_EQ(Groups(), Working);
    ASSERT_TRUE(PumpUntil([&] { return Groups() != Working; }, 10));
    EXPECT_EQ(Column(0, jcProgress), "100%");
    EXPECT_EQ(Column(1, jcProgress), "");
    EXPECT_EQ(Form->Boxes, std::vector<String>{"boom"});
    EXPECT_EQ(Groups(), "001000001");
    // Nothing runs twice.
    PumpUntil([] { return false; }, 0);
    CheckSynchronize(50);
    EXPECT_EQ(Form->Boxes.size(), 1u);
}

TEST_F(BatchTest, LaterEventsWaitWhileATasksWarningBoxIsOpen)
{
    AddRow("/in/a.avi", "a.mp4");
    ChooseAfterDone(3);
    Form->btnStartClick(Form);
    // The box runs the GUI thread's waiting calls, as a modal box's loop does.
    String groupsInBox;
    Form->InBox = [&] {
        CheckSynchronize(50);
        Application->ProcessMessages();
        groupsInBox = Groups();
    };
    std::thread([&] { Terminate(0, false, "first"); }).join();
    std::thread([&] { Terminate(-1, true); }).join();
    ASSERT_TRUE(PumpUntil([&] { return Groups() != Working; }, 10));
    EXPECT_EQ(Form->Boxes, std::vector<String>{"first"});
    EXPECT_EQ(groupsInBox, Working) << "the end of the batch waited for the box";
    EXPECT_EQ(Groups(), "001000001");
}

// The after-done action by the options dialog's choice; after a stop or a close, none.
TEST_F(BatchTest, AfterDoneActionRunsOnlyAfterANormalEnd)
{
    fs::create_directories(ProgramDir + "sounds");
    std::ofstream(ProgramDir + "sounds/ring001.wav") << "RIFF";
    const String folder = Form->Video_OutPut_Folder_Edit->Text();
    const std::vector<std::vector<String>> expected[] = {
        {{"xdg-open", folder}},
        {{"systemctl", "poweroff"}},
        {{"paplay", ProgramDir + "sounds/ring001.wav"}},
        {},
    };
    for (int choice = 0; choice < 4; ++choice) {
        for (const char* end : {"normal", "stop", "close"}) {
            SCOPED_TRACE(String(end) + " choice " + IntToStr(choice));
            Form->lvFiles->Items()->Clear();
            Form->FakeTasks = 0;
            AddRow("/in/a.avi", "a.mp4");
            ChooseAfterDone(choice);
            Started.clear();
            Form->btnStartClick(Form);
            const String e = end;
            if (e == "normal") {
                Terminate(0, true);
                Terminate(-1, true);
                EXPECT_EQ(Started, expected[choice]);
            } else if (e == "stop") {
                Form->OnStop = [&] {
                    Terminate(0, false);
                    Terminate(-1, true);
                };
                Form->bsSkinButton10Click(Form);
                Form->OnStop = nullptr;
                EXPECT_TRUE(Started.empty());
            } else {
                bool canClose = false;
                Form->OnStop = [&] {
                    std::thread([&] { Terminate(0, false, "stopped"); }).join();
                    std::thread([&] { Terminate(-1, true); }).join();
                    CheckSynchronize(20);
                };
                Form->FormCloseQuery(Form, canClose);
                Form->OnStop = nullptr;
                CheckSynchronize(20);
                EXPECT_TRUE(canClose);
                EXPECT_TRUE(Started.empty());
                EXPECT_TRUE(Form->Boxes.empty()) << "no box after the close";
                return;  // the window is closed: its events are detached for good
            }
        }
    }
}

TEST_F(BatchTest, ClosingDuringABatchDropsTheWaitingEvents)
{
    AddRow("/in/a.avi", "a.mp4");
    ChooseAfterDone(0);
    Form->btnStartClick(Form);
    // Raised before the close, not yet handled.
    std::thread([&] { Terminate(0, true, "late"); }).join();
    std::thread([&] { Terminate(-1, true); }).join();
    bool canClose = false;
    Form->FormCloseQuery(Form, canClose);
    PumpUntil([] { return false; }, 1);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(Column(0, jcProgress), "");
    EXPECT_TRUE(Form->Boxes.empty());
    EXPECT_TRUE(Started.empty());
    EXPECT_EQ(Groups(), Working);
}

// A real batch: two clips converted at once, and one input that fails while the others
// finish.
class RealBatchTest : public AddBatchTest {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        ASSERT_TRUE(enginetest::LoadLibraries());
    }
    // Selects the first preset with this extension and video codec.
    void ChoosePreset(const String& AExt, const String& AVideoCodec)
    {
        for (const TPresetParams& p : PresetParamsTable())
            if (AExt == p.OutputExt && AVideoCodec == p.VideoCodec && ChoosePresetCode(p.Code)) return;
        FAIL() << "no preset " << AExt << " " << AVideoCodec;
    }
};

TEST_F(RealBatchTest, TwoClipsWithTwoThreadsBothReachTheEnd)
{
    const String dir = MakeClips({"one.avi", "two.avi"});
    ChoosePreset(".avi", "mpeg4");
    ChooseFiles({dir + "one.avi", dir + "two.avi"});
    Form->Button8Click(Form);
    ASSERT_EQ(Form->lvFiles->Items()->Count(), 2);
    Form5->bsSkinComboBox2->SetText("2");
    ChooseAfterDone(3);
    Form->btnStartClick(Form);
    ASSERT_TRUE(PumpUntil([&] { return Form->BatchState() == TForm1::bsFinished; }, 120));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Column(i, jcProgress), "100%") << i;
        const String out = Form->FileOutPutPath + "/" + Column(i, jcOutputFile);
        EXPECT_EQ(enginetest::FFprobe("-show_entries stream=codec_name -of csv=p=0", out), "mpeg4\nmp3\n")
            << out;
    }
    EXPECT_TRUE(Form->Boxes.empty());
    fs::remove_all(dir);
}

TEST_F(RealBatchTest, AFailingTaskShowsItsWarningWhileTheOthersFinish)
{
    const String dir = MakeClips({"good.avi", "bad.avi"});
    ChoosePreset(".avi", "mpeg4");
    ChooseFiles({dir + "good.avi", dir + "bad.avi"});
    Form->Button8Click(Form);
    ASSERT_EQ(Form->lvFiles->Items()->Count(), 2);
    // bad.avi becomes unreadable after it was added: its task fails at the start.
    std::ofstream(dir + "bad.avi", std::ios::trunc) << "garbage";
    Form5->bsSkinComboBox2->SetText("2");
    ChooseAfterDone(3);
    Form->btnStartClick(Form);
    ASSERT_TRUE(PumpUntil([&] { return Form->BatchState() == TForm1::bsFinished; }, 120));
    int finished = 0;
    for (int i = 0; i < 2; ++i) finished += Column(i, jcProgress) == "100%";
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(Form->Boxes.size(), 1u);
    fs::remove_all(dir);
}

}  // namespace
