// Helpers of the adding and batch tests: a main window whose engine calls either reach
// the real task list or a recorded stand-in, whose dialogs are answered by the test, and
// whose warning boxes and messages are recorded; small generated clips; a runner that
// records the programs the window would start.
#pragma once

#include "forms/main_window_support.h"

#include "support/engine_support.h"
#include "engine/player/FFPlay.h"
#include "platform/shell/Runner.h"
#include "platform/system/Threads.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

#include <chrono>
#include <set>

namespace addbatch {

using namespace mainwindow;

class TTestForm1 : public TForm1 {
public:
    using TForm1::TForm1;

    // With FakeEngine the task list is not touched: tasks are numbered in order, inputs
    // named in RefusedInputs get -1, outputs named in RefusedOutputs are refused.
    bool FakeEngine = false;
    std::set<String> RefusedInputs, RefusedOutputs;
    int FakeTasks = 0;
    String LibraryError;  // not empty: the libraries fail to load with this text
    std::vector<String> Calls, Messages, Boxes;
    std::vector<TOutputOptions> Outputs;  // every output record handed to the engine

    bool EngineLoadLibraries(String& AError) override
    {
        if (!LibraryError.empty()) {
            AError = LibraryError;
            return false;
        }
        return TForm1::EngineLoadLibraries(AError);
    }
    int EngineAddTask(const String& AFileName, TInputOptions& AOptions) override
    {
        if (!FakeEngine) return TForm1::EngineAddTask(AFileName, AOptions);
        Calls.push_back("AddTask(" + AFileName + ")");
        if (RefusedInputs.count(AFileName)) return -1;
        return FakeTasks++;
    }
    bool EngineSetOutputFile(int ATaskIndex, const String& AFileName, TOutputOptions& AOptions) override
    {
        Outputs.push_back(AOptions);
        Outputs.back().FileName = AFileName;
        if (!FakeEngine) return TForm1::EngineSetOutputFile(ATaskIndex, AFileName, AOptions);
        Calls.push_back("SetOutputFile(" + IntToStr(ATaskIndex) + "," + AFileName + ")");
        if (RefusedOutputs.count(AFileName)) return false;
        if (AOptions.FileName.empty()) AOptions.FileName = AFileName;
        return true;
    }
    void EngineRemoveTask(int ATaskIndex) override
    {
        if (!FakeEngine) return TForm1::EngineRemoveTask(ATaskIndex);
        Calls.push_back("RemoveTask(" + IntToStr(ATaskIndex) + ")");
        --FakeTasks;
    }
    void EngineClearTasks() override
    {
        if (!FakeEngine) return TForm1::EngineClearTasks();
        Calls.push_back("ClearTasks");
        FakeTasks = 0;
    }
    void EngineStart(int AThreadCount) override
    {
        if (!FakeEngine) return TForm1::EngineStart(AThreadCount);
        Calls.push_back("Start(" + IntToStr(AThreadCount) + ")");
    }
    void EnginePause() override
    {
        if (!FakeEngine) return TForm1::EnginePause();
        Calls.push_back("Pause");
    }
    void EngineResume() override
    {
        if (!FakeEngine) return TForm1::EngineResume();
        Calls.push_back("Resume");
    }
    void EngineStop(bool AWaitFor) override
    {
        if (!FakeEngine) return TForm1::EngineStop(AWaitFor);
        Calls.push_back("Stop");
        if (OnStop) OnStop();
    }
    std::function<void()> OnStop;  // the fake engine's reaction to a stop
    void TaskErrorMessage(const String& AText) override
    {
        Boxes.push_back(AText);
        if (InBox) InBox();
    }
    std::function<void()> InBox;  // runs while a task's warning box would be open
    int InfoMessage(const String& AMsg) override
    {
        Messages.push_back(AMsg);
        return mrOk;
    }
    // The log's lines without the engine's own ("#thread.level: ...").
    std::vector<String> Log() const
    {
        std::vector<String> lines;
        for (int i = 0; i < mmoLog->Lines()->Count(); ++i) {
            const String line = mmoLog->Lines()->Strings(i);
            if (line.size() > 1 && line[0] == '#' && isdigit((unsigned char)line[1])) continue;
            lines.push_back(line);
        }
        return lines;
    }
};

class AddBatchTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        // The preview player opens the selected file: no screen and no sound device here.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        MainWindowTest::SetUp();
        Form = Application->CreateForm<TTestForm1>();
        Application->CreateForm<TForm5>(&Form5);
        OldRunner = SetCommandRunner(std::make_unique<TRecordingRunner>(&Started));
    }
    void TearDown() override
    {
        // Closed as the user closes it: the preview stopped while the window is whole
        // (its events still on their way are delivered), then the close query.
        Form->OnStop = nullptr;
        Form->InBox = nullptr;
        Form->FFPlayer->Stop(true);
        bool canClose = true;
        Form->FormCloseQuery(Form, canClose);
        SetCommandRunner(std::move(OldRunner));
        MainWindowTest::TearDown();
    }
    // Runs the GUI thread's waiting calls until ACondition holds; false after ASeconds.
    static bool PumpUntil(const std::function<bool()>& ACondition, int ASeconds = 60)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(ASeconds);
        while (!ACondition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            CheckSynchronize(10);
            Application->ProcessMessages();
        }
        return true;
    }
    std::vector<String> Captions() const
    {
        std::vector<String> r;
        for (int i = 0; i < Form->lvFiles->Items()->Count(); ++i) r.push_back(Form->lvFiles->Items()->Item(i)->Caption());
        return r;
    }
    String Column(int ARow, int AColumn) const { return TForm1::JobColumn(Form->lvFiles->Items()->Item(ARow), AColumn); }
    // Answers the open dialog with AFiles.
    void ChooseFiles(const std::vector<String>& AFiles)
    {
        Form->SelectInputFiles = [AFiles](bool, std::vector<String>& AChosen) {
            AChosen = AFiles;
            return true;
        };
    }
    // Adds AFile through the open dialog and runs the batch with no after-done action to
    // its end: one row, no warning box, the row at 100%.  Call it inside
    // ASSERT_NO_FATAL_FAILURE, so that the test stops where the add or the batch failed.
    void ConvertOne(const String& AFile)
    {
        ChooseFiles({AFile});
        Form->btnAddClick(Form);
        ASSERT_EQ(Form->lvFiles->Items()->Count(), 1) << ::testing::PrintToString(Form->Log());
        ChooseAfterDone(3);
        Form->btnStartClick(Form);
        ASSERT_TRUE(PumpUntil([&] { return Form->BatchState() == TForm1::bsFinished; }, 120));
        EXPECT_TRUE(Form->Boxes.empty()) << ::testing::PrintToString(Form->Boxes);
        EXPECT_EQ(Column(0, jcProgress), "100%");
    }
    // The after-done choice: 0 open the folder, 1 shut down, 2 the sound, 3 nothing.
    void ChooseAfterDone(int AChoice)
    {
        TbsSkinCheckRadioBox* radios[] = {Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2,
                                         Form5->bsSkinCheckRadioBox4, Form5->bsSkinCheckRadioBox5};
        radios[AChoice]->SetChecked(true);
    }
    // Chooses the preset ACode in the two pickers as a user does: its category, then its
    // place in the category's list; false when the pickers do not reach it.
    bool ChoosePresetCode(int ACode)
    {
        const int category = ACode / 100 - 1;
        if (category < 0 || category >= Form->bsSkinOfficeComboBox2->Items()->Count()) return false;
        Form->bsSkinOfficeComboBox2->SetItemIndex(category);
        if (ACode % 100 >= Form->bsSkinOfficeComboBox1->Items()->Count()) return false;
        Form->bsSkinOfficeComboBox1->SetItemIndex(ACode % 100);
        return Form->PresetRoutines().CurrentCode() == ACode;
    }
    // A row as the add road leaves it, for a job with the given output name.
    TListItem* AddRow(const String& AInput, const String& AOutput)
    {
        std::vector<String> cols(JobColumnCount);
        cols[0] = AInput;
        cols[jcOutputFile] = AOutput;
        cols[jcCategoryCode] = "x";
        cols[jcVideoCodec] = "mpeg4";
        TListItem* row = Form->AddJobRow(cols);
        Form->bsSkinPanel5->SetVisible(false);
        Form->UpdateJobControls(true);
        return row;
    }

    TTestForm1* Form = nullptr;
    std::vector<std::vector<String>> Started;
    std::unique_ptr<TCommandRunner> OldRunner;
};

// A folder of small clips made with the real ffmpeg: 1 second of 64x48 video at 25 fps
// (mpeg4) with a tone (mp2), under the given names; and a file that is no media.
inline String MakeClips(const std::vector<String>& ANames, int ASeconds = 1)
{
    const String dir = enginetest::ScratchFolder();
    for (const String& name : ANames)
        enginetest::RunFFmpeg("-f lavfi -i color=c=blue:s=64x48:r=25:d=" + IntToStr(ASeconds) +
                                  " -f lavfi -i sine=f=440:d=" + IntToStr(ASeconds) +
                                  " -c:v mpeg4 -c:a mp2 -shortest",
                              dir + name);
    return dir;
}

}  // namespace addbatch
