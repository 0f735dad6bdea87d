// With overwriting off, every road that changes a job's output name follows one rule: a
// name that exists in the output folder or that another row holds is numbered, and the
// batch start checks every row once more.  Each case runs a real batch and then reads the
// user's earlier file back.
#include "forms/add_batch_support.h"

#include "app/presets/PresetOutput.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit7.h"
#include "platform/windows/Headless.h"

#include <fstream>
#include <sys/stat.h>

using namespace addbatch;

namespace {

namespace fs = std::filesystem;

const String EarlierBytes = "the user's earlier file";

String ReadAll(const String& AFile)
{
    std::ifstream in(AFile, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), {});
}

bool IsVideo(const String& AFile)
{
    return enginetest::FFprobe("-select_streams v -show_entries stream=codec_type -of csv=p=0", AFile).rfind("video", 0) == 0;
}

class OutputNamesTest : public AddBatchTest {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        ASSERT_TRUE(enginetest::LoadLibraries());
        Application->CreateForm<TForm7>(&Form7);
        Clips = MakeClips({"clip.mkv"});
        for (const char* sub : {"b/clip.mkv", "b/other.mkv"}) {
            fs::create_directories(fs::path(Clips + sub).parent_path());
            fs::copy_file(Clips + "clip.mkv", Clips + sub);
        }
        Out = Form->FileOutPutPath;
        fs::create_directories(Out);
        ChooseAfterDone(3);
        // On screen, for the clicks and the focus the roads take.
        Form->Show();
        Headless::ProcessPending();
    }
    void TearDown() override
    {
        fs::remove_all(Clips);
        AddBatchTest::TearDown();
    }
    // Adds AInput with the preset ACode, as the user does: the preset chosen, then the file.
    void Add(const String& AInput, int ACode)
    {
        ASSERT_TRUE(ChoosePresetCode(ACode)) << ACode;
        ChooseFiles({AInput});
        Form->btnAddClick(Form);
    }
    // Chooses ACode in the preset dialog and confirms it with OK.
    void ChooseInDialog(int ACode)
    {
        int turns = 0;
        Application->OnIdle = [&](TObject*) {
            if (!Form7->Visible()) return;
            if (++turns == 1) {
                Form7->bsSkinOfficeComboBox2->SetItemIndex(ACode / 100 - 1);
                Form7->bsSkinOfficeComboBox1->SetItemIndex(ACode % 100);
            } else if (turns == 2) {
                Headless::Click(Centre(Form7->bsSkinButton2));
            } else if (turns > 40) {
                Form7->SetModalResult(mrAbort);
            }
            PostMessage(Form7->Handle(), WM_NULL, 0, 0);
        };
        Headless::Click(Centre(Form->bsSkinButton24));
        Headless::ProcessPending();
        Application->OnIdle = nullptr;
    }
    static TPoint Centre(TWinControl* C) { return Headless::ScreenPoint(C->Handle(), {C->Width() / 2, C->Height() / 2}); }
    void RunBatch()
    {
        Form->btnStartClick(Form);
        ASSERT_TRUE(PumpUntil([&] { return Form->BatchState() == TForm1::bsFinished; }, 180));
    }
    std::vector<String> RowNames() const
    {
        std::vector<String> names;
        for (int i = 0; i < Form->lvFiles->Items()->Count(); ++i) names.push_back(Column(i, jcOutputFile));
        return names;
    }
    void Reset()
    {
        Form->btnClearClick(Form);
        for (const auto& e : fs::directory_iterator(Out)) fs::remove_all(e.path());
    }
    String Clips, Out;
};

enum TState { stOnDisk, stHeldByRow, stFree };

TEST_F(OutputNamesTest, EveryRoadNumbersANameThatIsTakenAndTheEarlierFileSurvivesTheBatch)
{
    struct TRoad {
        const char* Name;
        String Target;                 // the name the road gives the row
        std::function<void()> Holder;  // makes another row hold the target first
        std::function<void()> Road;    // adds the row and changes its name by the road
        bool LaterRowMoves = false;    // the batch start numbers the other row, not this one
    };
    const std::vector<TRoad> roads = {
        {"preset change", "clip.avi", [&] { Add(Clips + "b/clip.mkv", 100); },
         [&] {
             Add(Clips + "clip.mkv", 101);
             ASSERT_TRUE(ChoosePresetCode(100));
         }},
        {"preset dialog OK", "clip.avi", [&] { Add(Clips + "b/clip.mkv", 100); },
         [&] {
             Add(Clips + "clip.mkv", 101);
             ChooseInDialog(100);
         }},
        // 901 adds as ".mpeg"; selecting the row gives its caption's ".mpg".
        {"selection", "clip.mpg", [&] { Add(Clips + "b/clip.mkv", 901); },
         [&] {
             Add(Clips + "clip.mkv", 901);
             Form->lvFiles->SetItemIndex(0);
             Form->lvFiles->SetItemIndex(Form->lvFiles->Items()->Count() - 1);
         }},
        {"rename", "other.mp4", [&] { Add(Clips + "b/other.mkv", 101); },
         [&] {
             Add(Clips + "clip.mkv", 101);
             Form->bsSkinButton21->ButtonClick();
             ASSERT_TRUE(Form->edt->Visible());
             Form->edt->SetText("other");
             Form->lvFiles->SetFocus();
             ASSERT_FALSE(Form->edt->Visible());
         }},
        // The name was free when added; the file or the other row comes before the start.
        {"batch start", "clip.mp4", nullptr, [&] { Add(Clips + "clip.mkv", 101); }, true},
    };
    for (const TRoad& road : roads) {
        for (const TState state : {stOnDisk, stHeldByRow, stFree}) {
            SCOPED_TRACE(String(road.Name) + (state == stOnDisk ? " / on disk" : state == stHeldByRow ? " / held" : " / free"));
            const String earlier = Out + "/" + road.Target;
            if (state == stOnDisk && road.Holder) std::ofstream(earlier) << EarlierBytes;
            if (state == stHeldByRow && road.Holder) road.Holder();
            road.Road();
            if (!road.Holder) {
                if (state == stOnDisk) std::ofstream(earlier) << EarlierBytes;
                if (state == stHeldByRow) AddRow(Clips + "b/clip.mkv", road.Target);
            }
            const int main = road.Holder && state == stHeldByRow ? 1 : 0;
            RunBatch();
            const String ext = OutputNameExt(road.Target);
            const String numbered = road.Target.substr(0, road.Target.size() - ext.size()) + "_1" + ext;
            const bool moves = state != stFree && !(road.LaterRowMoves && state == stHeldByRow);
            EXPECT_EQ(Column(main, jcOutputFile), moves ? numbered : road.Target);
            const std::vector<String> names = RowNames();
            EXPECT_EQ(std::set<String>(names.begin(), names.end()).size(), names.size()) << "two rows share a name";
            for (const String& name : names) EXPECT_TRUE(IsVideo(Out + "/" + name)) << name;
            if (state == stOnDisk) EXPECT_EQ(ReadAll(earlier), EarlierBytes);
            EXPECT_TRUE(Form->Boxes.empty()) << (Form->Boxes.empty() ? "" : Form->Boxes[0]);
            Form->Boxes.clear();
            Reset();
        }
    }
}

// A restarted batch writes a job's own earlier output again instead of numbering a new
// file each run; once another program has changed that file, it is the user's and the
// job gets a new name.
TEST_F(OutputNamesTest, ARestartRewritesTheJobsOwnOutputButNotAFileChangedSince)
{
    Add(Clips + "clip.mkv", 101);
    RunBatch();
    ASSERT_EQ(Column(0, jcOutputFile), "clip.mp4");
    const String first = Out + "/clip.mp4";
    const auto inode = [](const String& AFile) {
        struct stat st{};
        stat(AFile.c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode(first);
    RunBatch();
    EXPECT_EQ(Column(0, jcOutputFile), "clip.mp4");
    EXPECT_NE(inode(first), before) << "the job's own output was written again";
    EXPECT_FALSE(fs::exists(Out + "/clip_1.mp4"));

    std::ofstream(first, std::ios::app) << "the user's addition";
    const String changed = ReadAll(first);
    RunBatch();
    EXPECT_EQ(Column(0, jcOutputFile), "clip_1.mp4");
    EXPECT_EQ(ReadAll(first), changed);
    EXPECT_TRUE(IsVideo(Out + "/clip_1.mp4"));
}

}  // namespace
