// Adding files to the main window: the open dialogs' filter, the folder listing, and the
// road of one, several and a folder's files through the real engine, with its log lines,
// its failures and its guards.
#include "forms/add_batch_support.h"

#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetParams.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/dialogs/bsSkinShellDialogs.h"

using namespace addbatch;

namespace {

namespace fs = std::filesystem;

String ReadFile(const String& APath)
{
    std::ifstream f(APath, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(OpenDialogFilter, TextMatchesTheFixtureByteForByte)
{
    const String fixture = ReadFile(String(VC_SOURCE_DIR) + "/tests/app/forms/fixtures/open_dialog_filter.txt");
    ASSERT_FALSE(fixture.empty());
    EXPECT_EQ(TForm1::InputFileFilter(), fixture);
}

TEST(FolderListing, FilesOnlySortedByNameWithoutSubfoldersDotFilesIncluded)
{
    const String dir = enginetest::ScratchFolder();
    for (const char* name : {"b.avi", "A.mp4", ".hidden", "c"}) std::ofstream(dir + name) << "x";
    fs::create_directories(dir + "sub");
    std::ofstream(dir + "sub/inner.avi") << "x";
    std::unique_ptr<TStringList> list = TForm1::GetFilenames(dir.substr(0, dir.size() - 1), "*.*");
    ASSERT_TRUE(list);
    std::vector<String> names;
    for (int i = 0; i < list->Count(); ++i) names.push_back(list->Strings(i));
    EXPECT_EQ(names, (std::vector<String>{dir + ".hidden", dir + "A.mp4", dir + "b.avi", dir + "c"}));
    EXPECT_FALSE(TForm1::GetFilenames(dir + "missing", "*.*"));
    fs::remove_all(dir);
}

class AddingFilesTest : public AddBatchTest {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        ASSERT_TRUE(enginetest::LoadLibraries());
    }
};

TEST_F(AddingFilesTest, OpenDialogsAreTitledAndSetForOneFileAndForSeveral)
{
    for (TbsSkinOpenDialog* dialog : {Form->OpenDialog1, Form->OpenDialog2}) {
        EXPECT_EQ(dialog->Title(), "打开文件");
        EXPECT_TRUE(dialog->CheckFileExists());
        EXPECT_EQ(dialog->LVHeaderSkinDataName(), "resizebutton");
        EXPECT_EQ(dialog->Filter(), TForm1::InputFileFilter());
        EXPECT_EQ(dialog->FilterIndex(), 1);
    }
    EXPECT_FALSE(Form->OpenDialog1->MultiSelection());
    EXPECT_TRUE(Form->OpenDialog2->MultiSelection());
}

TEST_F(AddingFilesTest, OneFileBecomesARowASlotATaskAndTheLogLines)
{
    const String dir = MakeClips({"one.avi"});
    ChooseFiles({dir + "one.avi"});
    Form->btnAddClick(Form);
    ASSERT_EQ(Captions(), std::vector<String>{dir + "one.avi"});
    EXPECT_EQ(Form->FFEngine->TasksCount(), 1);
    EXPECT_EQ(Form->lvFiles->ItemIndex(), 0);
    EXPECT_FALSE(Form->bsSkinPanel5->Visible());
    EXPECT_EQ(Form->SlotMarkers()[0], SlotFull);
    EXPECT_EQ(Form->SlotInputs()[0].FileName, dir + "one.avi");
    EXPECT_EQ(Column(0, jcDuration), "00:00:01");
    EXPECT_EQ(Column(0, jcTaskNumber), "1");
    EXPECT_EQ(Column(0, jcCategoryCode), IntToStr(Form->PresetRoutines().CurrentCode()));
    EXPECT_EQ(Column(0, jcOptionCode).size(), 12u);
    EXPECT_EQ(Column(0, jcDisableVideo), "False");
    const TPresetParams* params = FindPresetParams(Form->PresetRoutines().CurrentCode());
    ASSERT_TRUE(params);
    EXPECT_EQ(Column(0, jcOutputFile), String("one") + params->OutputExt);
    EXPECT_EQ(Form->SlotOutputs()[0].FileName, Form->FileOutPutPath + "/one" + params->OutputExt);
    // Ready: remove, rename, clear and start on.
    for (TbsSkinButton* b : {Form->bsSkinButton7, Form->bsSkinButton21, Form->bsSkinButton8, Form->bsSkinButton2})
        EXPECT_TRUE(b->Enabled()) << b->Name();

    // A blank line, the probe report (one text of several lines), then the success line
    // between blank lines.
    const std::vector<String> log = Form->Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1], "File Name: " + dir + "one.avi");
    const auto done = std::find(log.begin(), log.end(), "***Can do convert.");
    ASSERT_NE(done, log.end());
    ASSERT_NE(done + 1, log.end());
    EXPECT_EQ(*(done - 1), "");
    EXPECT_EQ(*(done + 1), "");
    EXPECT_EQ(std::count(log.begin(), log.end(), "***Can do convert."), 1);
    EXPECT_EQ(std::find_if(log.begin(), done, [](const String& L) { return L.rfind("***", 0) == 0; }), done);
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, SeveralFilesAppearInReverseOrderWithTheLastRowSelectedAndDistinctOutputs)
{
    const String dir = MakeClips({"a.avi", "b.avi", "c.avi"});
    // The same file twice: the second job gets a name of its own.
    ChooseFiles({dir + "a.avi", dir + "b.avi", dir + "c.avi", dir + "a.avi"});
    Form->Button8Click(Form);
    EXPECT_EQ(Captions(), (std::vector<String>{dir + "a.avi", dir + "c.avi", dir + "b.avi", dir + "a.avi"}));
    EXPECT_EQ(Form->lvFiles->ItemIndex(), 3);
    const String ext = FindPresetParams(Form->PresetRoutines().CurrentCode())->OutputExt;
    EXPECT_EQ(Column(0, jcOutputFile), "a" + ext);
    EXPECT_EQ(Column(3, jcOutputFile), "a_1" + ext);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Column(i, jcTaskNumber), IntToStr(i + 1));
    EXPECT_EQ(Form->FreeSlot(), 4);
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, AFileTheProbeRefusesIsSkippedWithItsLogLines)
{
    const String dir = MakeClips({"good.avi"});
    std::ofstream(dir + "bad.avi") << "not a media file";
    ChooseFiles({dir + "good.avi", dir + "bad.avi"});
    Form->Button8Click(Form);
    EXPECT_EQ(Captions(), std::vector<String>{dir + "good.avi"});
    // The failure comes first, between blank lines: the files are handled from the last
    // to the first.
    const std::vector<String> log = Form->Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1].rfind("***File load error: ", 0), 0u) << log[1];
    EXPECT_GT(log[1].size(), String("***File load error: ").size());
    EXPECT_EQ(log[2], "");
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, RefusedFilesAreNamedInOneBoxAFewThenHowManyMore)
{
    const String dir = MakeClips({"good.avi"});
    std::vector<String> chosen = {dir + "good.avi"};
    for (int i = 1; i <= 8; ++i) {
        chosen.push_back(dir + "bad" + IntToStr(i) + ".avi");
        std::ofstream(chosen.back()) << "not a media file";
    }
    ChooseFiles(chosen);
    Form->Button8Click(Form);
    EXPECT_EQ(Captions(), std::vector<String>{dir + "good.avi"});
    // Handled from the last to the first: the last five chosen are named.
    String expected = "以下文件未能添加：";
    for (int i = 8; i >= 4; --i) expected += "\nbad" + IntToStr(i) + ".avi：Invalid data found when processing input";
    EXPECT_EQ(Form->Messages, std::vector<String>{expected + "\n……另有 3 个文件"});
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, LibrariesThatFailToLoadAreLoggedAndNoDialogOpens)
{
    Form->LibraryError = "cannot load libavcodec.so.59";
    bool asked = false;
    Form->SelectInputFiles = [&](bool, std::vector<String>&) { return asked = true; };
    Form->SelectAddFolder = [&](String&) { return asked = true; };
    Form->btnAddClick(Form);
    Form->Button8Click(Form);
    Form->Button12Click(Form);
    EXPECT_FALSE(asked);
    EXPECT_EQ(Form->Log(), (std::vector<String>(3, "cannot load libavcodec.so.59")));
    EXPECT_EQ(Form->lvFiles->Items()->Count(), 0);
}

TEST_F(AddingFilesTest, AFolderAddsItsMediaFilesAndAFolderWithoutAnyShowsTheMessage)
{
    const String dir = MakeClips({"x.avi", "y.avi"});
    std::ofstream(dir + "notes.txt") << "text";
    Form->SelectAddFolder = [&](String& ADir) {
        ADir = dir;
        return true;
    };
    Form->Button12Click(Form);
    EXPECT_EQ(Captions(), (std::vector<String>{dir + "y.avi", dir + "x.avi"}));
    // The file that is no media is named, with the reason, in one box after the add.
    EXPECT_EQ(Form->Messages, std::vector<String>{"以下文件未能添加：\nnotes.txt：Invalid data found when processing input"});
    Form->Messages.clear();

    const String empty = enginetest::ScratchFolder();
    std::ofstream(empty + "a.txt") << "a";
    std::ofstream(empty + "b.doc") << "b";
    Form->SelectAddFolder = [&](String& ADir) {
        ADir = empty;
        return true;
    };
    Form->Button12Click(Form);
    EXPECT_EQ(Form->lvFiles->Items()->Count(), 2);
    EXPECT_EQ(Form->Messages, std::vector<String>{"在该目录没有发现可以用的视频或音频文件！\n\n以下文件未能添加：\n"
                                                  "b.doc：Invalid data found when processing input\n"
                                                  "a.txt：Invalid data found when processing input"});
    fs::remove_all(dir);
    fs::remove_all(empty);
}

TEST_F(AddingFilesTest, CancelledFolderDialogAddsNothing)
{
    const String dir = MakeClips({"x.avi"});
    Form->SelectAddFolder = [&](String& ADir) {
        ADir = dir;
        return true;
    };
    Form->Button12Click(Form);
    ASSERT_EQ(Form->lvFiles->Items()->Count(), 1);
    // Cancel, with the earlier folder still at hand.
    Form->SelectAddFolder = [&](String& ADir) {
        ADir = dir;
        return false;
    };
    Form->Button12Click(Form);
    EXPECT_EQ(Form->lvFiles->Items()->Count(), 1);
    EXPECT_TRUE(Form->Messages.empty());
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, AddingLeavesTheSelectedJobsSettingsAlone)
{
    const String dir = MakeClips({"a.avi", "b.avi"});
    ChooseFiles({dir + "a.avi"});
    Form->btnAddClick(Form);
    ASSERT_EQ(Form->lvFiles->ItemIndex(), 0);
    // The selected job's own choice, different from the preset table's.
    TForm1::SetJobColumn(Form->lvFiles->Items()->Item(0), jcFrameSize, "320*240");
    TForm1::SetJobColumn(Form->lvFiles->Items()->Item(0), jcVideoBitrate, "123000");
    std::vector<String> before;
    for (int c = 0; c < JobColumnCount; ++c) before.push_back(Column(0, c));
    ChooseFiles({dir + "b.avi"});
    Form->btnAddClick(Form);
    ASSERT_EQ(Form->lvFiles->Items()->Count(), 2);
    for (int c = 0; c < JobColumnCount; ++c) EXPECT_EQ(Column(0, c), before[size_t(c)]) << "column " << c;
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, TheAddAfterTheLastFreeSlotIsRefusedWithAMessage)
{
    const String dir = MakeClips({"a.avi"});
    TInputOptions input;
    InitInputOptions(input);
    TOutputOptions output;
    InitOutputOptions(output);
    while (Form->TakeSlot(input, output) >= 0) {
    }
    ChooseFiles({dir + "a.avi"});
    Form->btnAddClick(Form);
    EXPECT_EQ(Form->lvFiles->Items()->Count(), 0);
    EXPECT_EQ(Form->FFEngine->TasksCount(), 0);
    EXPECT_EQ(Form->Messages, std::vector<String>{"任务数量已达上限（501个），请先清空列表。"});
    const std::vector<String> log = Form->Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "***任务数量已达上限（501个），请先清空列表。"), log.end());
    fs::remove_all(dir);
}

TEST_F(AddingFilesTest, RefusedTaskOrOutputEndsASeveralFileAddAndLeavesNothingBehind)
{
    Form->FakeEngine = true;
    const String dir = MakeClips({"a.avi", "b.avi", "c.avi"});
    const String ext = FindPresetParams(Form->PresetRoutines().CurrentCode())->OutputExt;
    Form->RefusedOutputs = {Form->FileOutPutPath + "/b" + ext};
    ChooseFiles({dir + "a.avi", dir + "b.avi", dir + "c.avi"});
    Form->Button8Click(Form);
    // c was added; b's output was refused, its task removed again, and a never tried.
    EXPECT_EQ(Captions(), std::vector<String>{dir + "c.avi"});
    EXPECT_EQ(Form->Calls.back(), "RemoveTask(1)");
    EXPECT_EQ(Form->SlotMarkers()[1], SlotFree);
    const std::vector<String> log = Form->Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "***Cannot do convert, error: "), log.end());
    fs::remove_all(dir);
}

}  // namespace
