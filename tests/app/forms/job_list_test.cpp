// The job list, headless, with the engine's calls recorded: removing, clearing, moving,
// renaming and selecting rows.
#include "forms/main_window_support.h"

#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOptionLists.h"
#include "platform/forms/Menus.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace mainwindow;

namespace {

class JobListTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        CreateMain();
        Main->Calls.clear();
    }
    // A row as the add road leaves it; AName distinguishes the rows.  A category code
    // that is not a number keeps the selection handler from touching the row.
    TListItem* AddRow(const String& AName, int ATaskNumber, const String& ACategoryCode = "x")
    {
        std::vector<String> cols(JobColumnCount);
        for (int c = 0; c < JobColumnCount; ++c) cols[size_t(c)] = AName + IntToStr(c);
        cols[0] = "/in/" + AName + ".avi";
        cols[jcOutputFile] = AName + ".mp4";
        cols[jcTaskNumber] = IntToStr(ATaskNumber);
        cols[jcCategoryCode] = ACategoryCode;
        TListItem* row = Main->AddJobRow(cols);
        TInputOptions input;
        InitInputOptions(input);
        TOutputOptions output;
        InitOutputOptions(output);
        Main->TakeSlot(input, output);
        Main->bsSkinPanel5->SetVisible(false);
        Main->UpdateJobControls(true);
        return row;
    }
    std::vector<String> Captions() const
    {
        std::vector<String> r;
        for (int i = 0; i < Main->lvFiles->Items()->Count(); ++i) r.push_back(Main->lvFiles->Items()->Item(i)->Caption());
        return r;
    }
    std::vector<String> Row(int AIndex) const
    {
        std::vector<String> r;
        for (int c = 0; c < JobColumnCount; ++c)
            r.push_back(TForm1::JobColumn(Main->lvFiles->Items()->Item(AIndex), c));
        return r;
    }
    String Column(int ARow, int AColumn) const { return TForm1::JobColumn(Main->lvFiles->Items()->Item(ARow), AColumn); }
    // The category and preset index of the first preset whose caption ends with ATail.
    static std::pair<int, int> PresetEndingWith(const String& ATail)
    {
        for (int c = 0; c < PresetCategoryCount; ++c)
            for (int p = 0; p < PresetCount(c); ++p) {
                const String caption = PresetCaption(CategoryCode(c, p));
                if (caption.size() >= ATail.size() && caption.compare(caption.size() - ATail.size(), ATail.size(), ATail) == 0)
                    return {c, p};
            }
        return {-1, -1};
    }
};

TEST_F(JobListTest, RemovingTheSecondOfThreeRenumbersAndSelectsTheFirst)
{
    AddRow("a", 1);
    AddRow("b", 2);
    AddRow("c", 3);
    Main->lvFiles->SetItemIndex(1);
    Main->btnRemoveClick(Main);
    EXPECT_EQ(Main->Calls, std::vector<String>{"RemoveTask(1)"});
    EXPECT_EQ(Captions(), (std::vector<String>{"/in/a.avi", "/in/c.avi"}));
    EXPECT_EQ(Column(0, jcTaskNumber), "1");
    EXPECT_EQ(Column(1, jcTaskNumber), "2");
    EXPECT_EQ(Main->SlotMarkers()[1], SlotDeleted);
    EXPECT_EQ(Main->SlotMarkers()[2], SlotFull);
    EXPECT_EQ(Main->lvFiles->ItemIndex(), 0);
    EXPECT_TRUE(Main->bsSkinButton7->Enabled());
    EXPECT_EQ(Main->BatchState(), TForm1::bsReady);
    EXPECT_FALSE(Main->bsSkinPanel5->Visible());
    // Removals free no slot: the next add takes slot 3.
    EXPECT_EQ(Main->FreeSlot(), 3);
}

TEST_F(JobListTest, RemovingTheLastRowShowsTheEmptyListAgain)
{
    AddRow("a", 1);
    Main->lvFiles->SetItemIndex(0);
    Main->btnRemoveClick(Main);
    EXPECT_EQ(Main->Calls, std::vector<String>{"RemoveTask(0)"});
    EXPECT_EQ(Main->lvFiles->Items()->Count(), 0);
    EXPECT_TRUE(Main->bsSkinPanel5->Visible());
    EXPECT_EQ(Main->SlotMarkers()[0], SlotDeleted);
    EXPECT_EQ(Main->BatchState(), TForm1::bsEmpty);
    for (TbsSkinButton* b : {Main->bsSkinButton7, Main->bsSkinButton21, Main->bsSkinButton8, Main->bsSkinButton2})
        EXPECT_FALSE(b->Enabled()) << b->Name();
    for (TMenuItem* m : {Main->N13, Main->N26, Main->N14, Main->N6}) EXPECT_FALSE(m->Enabled()) << m->Name();
}

TEST_F(JobListTest, RemoveAndRenameWithoutASelectionOnlyTellTheUser)
{
    AddRow("a", 1);
    Main->lvFiles->SetItemIndex(-1);
    Main->btnRemoveClick(Main);
    Main->bsSkinButton21Click(Main);
    Main->N26Click(Main);
    EXPECT_EQ(Main->Messages, (std::vector<String>{"请先选择您需要删除的项目！", "请先选中您需要重命名的项目！",
                                                   "请先选中您需要重命名的项目！"}));
    EXPECT_TRUE(Main->Calls.empty());
    EXPECT_EQ(Main->lvFiles->Items()->Count(), 1);
    EXPECT_FALSE(Main->edt->Visible());
    // A double click with no row does nothing, without a message.
    Main->lvFilesDblClick(Main);
    EXPECT_EQ(Main->Messages.size(), 3u);
}

TEST_F(JobListTest, TheWindowsMessagesAreSkinnedBoxesTitledHint)
{
    // The real box, answered from a timer that its modal loop runs.
    String caption, text;
    HWND poster = AllocateHWnd([&](TMessage& M) {
        if (M.Msg != WM_TIMER) return;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (auto* f = dynamic_cast<TbsMessageForm*>(Screen->Forms(i)); f && f->Visible()) {
                caption = f->Caption();
                text = f->Message->Caption();
                f->SetModalResult(mrOk);
            }
    });
    SetTimer(poster, 1, 10, nullptr);
    const int result = Main->TForm1::InfoMessage("请先选择您需要删除的项目！");
    KillTimer(poster, 1);
    DeallocateHWnd(poster);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(caption, "提示");
    EXPECT_EQ(text, "请先选择您需要删除的项目！");
}

TEST_F(JobListTest, ClearFreesEverySlotAndEnablesAdding)
{
    AddRow("a", 1);
    AddRow("b", 2);
    Main->MarkSlotDeleted(5);
    Main->EnableAdding(false);
    Main->btnClearClick(Main);
    EXPECT_EQ(Main->Calls, std::vector<String>{"ClearTasks"});
    EXPECT_EQ(Main->lvFiles->Items()->Count(), 0);
    for (const String& marker : Main->SlotMarkers()) ASSERT_EQ(marker, SlotFree);
    EXPECT_TRUE(Main->bsSkinMenuSpeedButton1->Enabled());
    for (TMenuItem* m : {Main->Item111, Main->Item121, Main->N21, Main->N11111, Main->N2222, Main->N3331})
        EXPECT_TRUE(m->Enabled()) << m->Name();
    EXPECT_FALSE(Main->bsSkinButton7->Enabled());
    EXPECT_FALSE(Main->bsSkinButton2->Enabled());
    EXPECT_TRUE(Main->bsSkinPanel5->Visible());
}

// "删除" and "清空" show the enabled picture of their pair while the list has rows and the
// disabled one once "清空" has emptied it.
TEST_F(JobListTest, RemoveAndClearSwapTheirPictures)
{
    Main->Show();
    Headless::ProcessPending();
    // the tile colour of a picture, and how many pixels of a button show it
    auto Tile = [&](int AImage) { return Main->Image(AImage)->Picture()->Bitmap()->Canvas()->Pixels(24, 6); };
    auto Shown = [&](TbsSkinButton* AButton, TColor AColor) {
        AButton->Invalidate();
        Headless::ProcessPending();
        int n = 0;
        for (int y = 0; y < AButton->Height(); ++y)
            for (int x = 0; x < AButton->Width(); ++x) n += Headless::PixelColor(AButton->Handle(), Point(x, y)) == AColor;
        return n;
    };
    const struct {
        TbsSkinButton* Button;
        int Enabled, Disabled;
    } pairs[] = {{Main->bsSkinButton7, 15, 14}, {Main->bsSkinButton8, 13, 12}};
    for (const auto& p : pairs) {
        ASSERT_NE(Tile(p.Enabled), Tile(p.Disabled));
        EXPECT_GT(Shown(p.Button, Tile(p.Disabled)), 200) << p.Button->Name();
    }
    AddRow("a", 1);
    for (const auto& p : pairs) {
        EXPECT_GT(Shown(p.Button, Tile(p.Enabled)), 200) << p.Button->Name();
        EXPECT_EQ(Shown(p.Button, Tile(p.Disabled)), 0) << p.Button->Name();
    }
    Headless::Click(Headless::ScreenPoint(Main->bsSkinButton8->Handle(), {44, 34}));
    Headless::ProcessPending();
    ASSERT_EQ(Main->lvFiles->Items()->Count(), 0);
    for (const auto& p : pairs) {
        EXPECT_GT(Shown(p.Button, Tile(p.Disabled)), 200) << p.Button->Name();
        EXPECT_EQ(Shown(p.Button, Tile(p.Enabled)), 0) << p.Button->Name();
    }
}

TEST_F(JobListTest, MovesExchangeWholeRows)
{
    struct TMove {
        int Rows, Selected;
        bool Up;
        std::vector<String> Order;  // names of the rows afterwards
        int SelectedAfter;
    };
    const TMove moves[] = {
        {3, 0, true, {"a", "b", "c"}, 0},   // the first row does not move up
        {3, 2, false, {"a", "b", "c"}, 2},  // the last row does not move down
        {1, 0, true, {"a"}, 0},             // the only row
        {1, 0, false, {"a"}, 0},
        {3, 1, true, {"b", "a", "c"}, 0},   // a middle row
        {3, 1, false, {"a", "c", "b"}, 2},
    };
    for (const TMove& m : moves) {
        SCOPED_TRACE(IntToStr(m.Rows) + " rows, row " + IntToStr(m.Selected) + (m.Up ? " up" : " down"));
        Main->lvFiles->Items()->Clear();
        const char* names[] = {"a", "b", "c"};
        std::vector<std::vector<String>> before;
        for (int i = 0; i < m.Rows; ++i) {
            AddRow(names[i], i + 1);
            before.push_back(Row(i));
        }
        Main->lvFiles->SetItemIndex(m.Selected);
        m.Up ? Main->bsSkinButton3Click(Main) : Main->bsSkinButton4Click(Main);
        for (int i = 0; i < m.Rows; ++i) EXPECT_EQ(Row(i), before[size_t(m.Order[size_t(i)][0] - 'a')]) << "row " << i;
        EXPECT_EQ(Main->lvFiles->ItemIndex(), m.SelectedAfter);
        EXPECT_EQ(Main->lvFiles->Items()->Count(), m.Rows) << "no scratch row left";
    }
    EXPECT_TRUE(Main->Calls.empty()) << "moves leave the engine's tasks alone";
}

TEST_F(JobListTest, RenameTakesTheSelectedPresetsExtension)
{
    const std::pair<const char*, const char*> exts[] = {
        {"(*.mp4)", ".mp4"}, {"(*.rm)", ".rm"}, {"(*.ra)", ".ra"}, {"(*.aiff)", ".aiff"}, {"(*.flac)", ".flac"}};
    AddRow("a", 1);
    Main->lvFiles->SetItemIndex(0);
    for (auto [tail, ext] : exts) {
        SCOPED_TRACE(tail);
        const auto [category, preset] = PresetEndingWith(tail);
        ASSERT_GE(category, 0) << "no preset ends with " << tail;
        Main->bsSkinOfficeComboBox2->SetItemIndex(category);
        Main->bsSkinOfficeComboBox1->SetItemIndex(preset);
        Main->bsSkinButton21Click(Main);
        ASSERT_TRUE(Main->edt->Visible());
        EXPECT_EQ(Main->edt->Parent(), Main->lvFiles);
        int left = 2;
        for (int c = 0; c < 3; ++c) left += Main->lvFiles->Column(c)->Width();
        EXPECT_EQ(Main->edt->Left(), left) << "over the output-name cell, in the list's coordinates";
        EXPECT_EQ(Main->edt->Top(), Main->lvFiles->Items()->Item(0)->Top());
        EXPECT_EQ(Main->edt->Width(), Main->lvFiles->Column(3)->Width());
        EXPECT_EQ(Main->edt->Text(), "a") << "the name without its extension";
        Main->edt->SetText("新名字");
        Main->edtExit(Main);
        EXPECT_FALSE(Main->edt->Visible());
        EXPECT_EQ(Column(0, jcOutputFile), String("新名字") + ext);
        EXPECT_EQ(Main->SlotOutputs()[0].FileName, Main->Video_OutPut_Folder_Edit->Text() + "/新名字" + ext);
        Main->SetJobColumn(Main->lvFiles->Items()->Item(0), jcOutputFile, "a.mp4");
    }
    EXPECT_TRUE(Main->Messages.empty());
}

TEST_F(JobListTest, RenameRefusesAnEmptyNameAndOneThatLeavesTheFolder)
{
    AddRow("a", 1);
    Main->lvFiles->SetItemIndex(0);
    for (const char* name : {"", "../../etc/x", "sub/name"}) {
        SCOPED_TRACE(name);
        Main->lvFilesDblClick(Main);
        Main->edt->SetText(name);
        Main->edtExit(Main);
        EXPECT_TRUE(Main->edt->Visible()) << "the edit stays";
        EXPECT_EQ(Column(0, jcOutputFile), "a.mp4");
    }
}

TEST_F(JobListTest, SelectingARowRestoresItsPresetThroughTheChain)
{
    // A preset whose caption and parameter table give the same extension.
    const auto [category, preset] = PresetEndingWith("(*.mp4)");
    ASSERT_GE(category, 0);
    const int code = CategoryCode(category, preset);
    AddRow("a", 1, IntToStr(code));
    Main->SetJobColumn(Main->lvFiles->Items()->Item(0), jcOptionCode, "000000000000");
    // Selecting writes the preset's columns and the option code of its default choices;
    // then one option is chosen away from its default.
    Main->lvFiles->SetItemIndex(0);
    ASSERT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), category);
    ASSERT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), preset);
    ASSERT_GT(Main->bsSkinComboBox1->Items()->Count(), 1);
    const int resolution = Main->bsSkinComboBox1->ItemIndex() == 1 ? 0 : 1;
    Main->bsSkinComboBox1->SetItemIndex(resolution);
    const std::vector<String> stored = Row(0);
    const int frameRate = Main->bsSkinComboBox9->ItemIndex();

    // Elsewhere in the catalogue with no row selected: nothing is written.
    Main->lvFiles->SetItemIndex(-1);
    Main->bsSkinOfficeComboBox2->SetItemIndex(category == 0 ? 1 : 0);
    Main->bsSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(Row(0), stored);

    Main->T_Movie_PLayer_FileName.clear();
    Main->lvFiles->SetItemIndex(0);
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), category);
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), preset);
    EXPECT_EQ(Main->bsSkinComboBox1->ItemIndex(), resolution);
    EXPECT_EQ(Main->bsSkinComboBox9->ItemIndex(), frameRate);
    EXPECT_EQ(Row(0), stored) << "the chain rewrites the row as it was";
    EXPECT_EQ(Main->T_Movie_PLayer_FileName, "/in/a.avi");
}

TEST_F(JobListTest, CodesDecodeAndAShortOptionCodeEndsTheSelection)
{
    AddRow("a", 1, "1502");  // category 14, preset 2
    Main->SetJobColumn(Main->lvFiles->Items()->Item(0), jcOptionCode, "0001");
    Main->lvFiles->SetItemIndex(0);
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 14);
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 2);
    EXPECT_EQ(Main->T_Movie_PLayer_FileName, "") << "the handler ended at the short code";
}

}  // namespace
