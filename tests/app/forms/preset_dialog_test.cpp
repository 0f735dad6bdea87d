// The preset dialog with the program's main window (headless): its creation, the fill of
// its option boxes, the extensions its preset change gives the selected row, and
// "设置..." with OK and cancel, driven through the dialog's modal loop.
#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOptionLists.h"
#include "forms/preset_dialog_support.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/frame/bsSkinFormFrame.h"

#include <algorithm>

using namespace presetdialog;

namespace {

const std::vector<String> Code100Texts = {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"};
const String Code100Options = "000310000904";

}  // namespace

TEST_F(PresetDialogTest, CreationFillsCode100AndTouchesNoRow)
{
    std::vector<String> columns(JobColumnCount, "x");
    columns[jcCategoryCode] = "709";
    TListItem* row = Main->AddJobRow(columns);  // listed but not selected
    Main->Video.Video_DisableVideo = true;
    CreateDialog();

    EXPECT_EQ(Form7, Dialog);
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(OptionTexts(Dialog), Code100Texts);
    EXPECT_EQ(BuildOptionCode(Dialog->PresetRoutines().Bindings().Options), Code100Options);
    EXPECT_EQ(Dialog->PresetRoutines().CurrentCode(), 100);
    EXPECT_FALSE(Main->Video.Video_DisableVideo);
    EXPECT_EQ(Columns(row), columns);

    TbsSkinOfficeItems* presets = Dialog->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(presets->Count(), 15);
    EXPECT_EQ(presets->Items(0)->Caption(), "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(presets->Items(13)->ImageIndex(), 1);
    EXPECT_EQ(presets->Items(14)->ImageIndex(), 0);
    TbsSkinOfficeItems* categories = Dialog->bsSkinOfficeComboBox2->Items();
    ASSERT_EQ(categories->Count(), 24);
    EXPECT_EQ(categories->Items(23)->Caption(), "RMVB格式");
    EXPECT_EQ(categories->Items(23)->ImageIndex(), 23);
    EXPECT_EQ(Dialog->bsSkinOfficeComboBox2->Images(), Main->bsPngImageList5);
    EXPECT_EQ(Dialog->bsSkinOfficeComboBox1->Images(), Main->bsPngImageList3);
}

TEST_F(PresetDialogTest, FormLayout)
{
    CreateDialog();
    EXPECT_EQ(Dialog->Caption(), "选项设置");
    EXPECT_EQ(Dialog->ClientWidth(), 513);
    EXPECT_EQ(Dialog->ClientHeight(), 418);
    EXPECT_EQ(Dialog->BorderStyle(), bsSingle);
    EXPECT_EQ(Dialog->BorderIcons(), TBorderIcons{});
    EXPECT_EQ(Dialog->bsSkinFormFrame1->BorderIcons(), TbsBorderIcons{});
    EXPECT_TRUE(Dialog->bsSkinFormFrame1->HideCaptionButtons()) << "not even the frame's close button";
    EXPECT_EQ(Dialog->Position(), poMainFormCenter);
    EXPECT_EQ(Dialog->bsSkinFormFrame1->SkinData(), Main->bsSkinData1);

    struct TPlace {
        TControl* Control;
        TControl* Parent;
        TRect Bounds;
    };
    const TPlace places[] = {
        {Dialog->bsSkinOfficeComboBox2, Dialog, Bounds(26, 17, 132, 51)},
        {Dialog->bsSkinOfficeComboBox1, Dialog, Bounds(164, 17, 328, 51)},
        {Dialog->bsSkinPanel4, Dialog, Bounds(26, 85, 466, 158)},
        {Dialog->bsSkinComboBox1, Dialog->bsSkinPanel4, Bounds(15, 66, 176, 20)},
        {Dialog->bsSkinComboBox2, Dialog->bsSkinPanel4, Bounds(264, 66, 176, 20)},
        {Dialog->bsSkinComboBox4, Dialog->bsSkinPanel4, Bounds(15, 119, 176, 20)},
        {Dialog->bsSkinComboBox9, Dialog->bsSkinPanel4, Bounds(264, 119, 176, 20)},
        {Dialog->bsSkinPanel1, Dialog, Bounds(26, 256, 466, 97)},
        {Dialog->bsSkinComboBox3, Dialog->bsSkinPanel1, Bounds(15, 56, 176, 20)},
        {Dialog->bsSkinComboBox10, Dialog->bsSkinPanel1, Bounds(264, 57, 176, 20)},
        {Dialog->bsSkinButton2, Dialog, Bounds(323, 371, 69, 25)},
        {Dialog->bsSkinButton3, Dialog, Bounds(419, 371, 69, 25)},
    };
    for (const TPlace& p : places) {
        SCOPED_TRACE(p.Control->Name());
        EXPECT_EQ(p.Control->Parent(), p.Parent);
        EXPECT_EQ(p.Control->BoundsRect(), p.Bounds);
        if (auto* box = dynamic_cast<TbsSkinComboBox*>(p.Control)) {
            EXPECT_EQ(box->Style(), bscbFixedStyle);
            EXPECT_FALSE(box->OnClick);
            EXPECT_EQ(box->SkinData(), Main->bsSkinData1);
        }
    }
    EXPECT_EQ(Dialog->bsSkinPanel4->Caption(), "预置视频参数");
    EXPECT_EQ(Dialog->bsSkinPanel1->Caption(), "预置音频参数");
    EXPECT_EQ(Dialog->bsSkinButton2->Caption(), "确定");
    EXPECT_EQ(Dialog->bsSkinButton3->Caption(), "取消");

    const std::pair<TbsSkinTextLabel*, const char*> labels[] = {
        {Dialog->bsSkinTextLabel1, "视频分辨率："}, {Dialog->bsSkinTextLabel2, "视频比特率："},
        {Dialog->bsSkinTextLabel3, "视频缩放："},   {Dialog->bsSkinTextLabel4, "视频帧率："},
        {Dialog->bsSkinTextLabel5, "音频比特率："}, {Dialog->bsSkinTextLabel6, "音频采样率："}};
    for (const auto& [label, text] : labels) {
        EXPECT_EQ(label->Lines()->Strings(0), text);
        EXPECT_EQ(label->SkinDataName(), "stdlabel");
    }

    // Tab order: resolution, video bitrate, aspect, frame rate; audio bitrate, sample rate.
    EXPECT_LT(Dialog->bsSkinComboBox1->TabOrder(), Dialog->bsSkinComboBox2->TabOrder());
    EXPECT_LT(Dialog->bsSkinComboBox2->TabOrder(), Dialog->bsSkinComboBox4->TabOrder());
    EXPECT_LT(Dialog->bsSkinComboBox4->TabOrder(), Dialog->bsSkinComboBox9->TabOrder());
    EXPECT_LT(Dialog->bsSkinComboBox3->TabOrder(), Dialog->bsSkinComboBox10->TabOrder());

    const std::pair<TButton*, const char*> hidden[] = {
        {Dialog->Button1, "Button1"},  {Dialog->Button2, "添加combox"},        {Dialog->Button18, "根据combox添加预设选项"},
        {Dialog->Button5, "根据combox添加数据"}, {Dialog->Button6, "初始化数据"}, {Dialog->Button13, "确认预置选项数据"}};
    for (const auto& [button, caption] : hidden) {
        EXPECT_EQ(button->Caption(), caption);
        EXPECT_FALSE(button->Visible());
        EXPECT_GE(button->Left(), 513);
    }
}

// The fill runs the option handlers of the boxes whose shown text changes, in fill order.
TEST_F(PresetDialogTest, FillRaisesTheChangesOfTheBoxesWhoseTextChanges)
{
    Dialog = new TForm7(Application);
    std::vector<String> log;
    const char* const names[] = {"resolution", "video bitrate", "frame rate", "audio bitrate", "sample rate", "aspect"};
    std::vector<TbsSkinComboBox*> boxes = OptionBoxes(Dialog);
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->OnChange = [&log, name = names[i], old = boxes[i]->OnChange](TObject* Sender) {
            log.push_back(name);
            old(Sender);
        };
    Dialog->AfterConstruction();
    EXPECT_EQ(log, std::vector<String>(std::begin(names), std::end(names)));

    log.clear();
    Dialog->Button18->Click();  // the same code again
    EXPECT_TRUE(log.empty());

    Dialog->bsSkinOfficeComboBox1->SetItemIndex(1);  // 101
    EXPECT_EQ(log, std::vector<String>{"video bitrate"});

    auto enabled = [&] {
        std::vector<bool> e;
        for (TbsSkinComboBox* box : OptionBoxes(Dialog)) e.push_back(box->Enabled());
        return e;
    };
    Dialog->bsSkinOfficeComboBox2->SetItemIndex(1);  // 200, audio only
    EXPECT_EQ(OptionTexts(Dialog), (std::vector<String>{"该格式无视频", "无视频", "无视频", "128 kbps", "44100", "无视频"}));
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, true, true, false}));
    Dialog->bsSkinOfficeComboBox2->SetItemIndex(0);
    EXPECT_EQ(enabled(), std::vector<bool>(6, true));
    EXPECT_EQ(OptionTexts(Dialog), Code100Texts);
}

TEST_F(PresetDialogTest, PresetChangeGivesTheRowTheCaptionsExtension)
{
    CreateDialog();
    TListItem* row = AddSelectedRow("clip_1.mp4", 100, Code100Options);
    const std::pair<int, const char*> cases[] = {{114, "clip_1.rm"},   {206, "clip_1.ra"},  {210, "clip_1.flac"},
                                                 {208, "clip_1.aiff"}, {100, "clip_1.avi"}, {901, "clip_1.mpg"},
                                                 {906, "clip_1.wmv"},  {909, "clip_1.avi"}};
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        Dialog->bsSkinOfficeComboBox2->SetItemIndex(CategoryIndexOfCode(code));
        Dialog->bsSkinOfficeComboBox1->SetItemIndex(PresetIndexOfCode(code));
        EXPECT_EQ(TForm1::JobColumn(row, jcOutputFile), name);
        EXPECT_EQ(TForm1::JobColumn(row, jcCategoryCode), IntToStr(code));
    }
    // Column 15 keeps the table's own extension: 909 stores ".mp4".
    EXPECT_EQ(TForm1::JobColumn(row, jcFileExt), ".mp4");
}

// A category outside the catalogue lists no preset and applies nothing.
TEST_F(PresetDialogTest, CategoryOutsideTheCatalogueChangesNothing)
{
    CreateDialog();
    TListItem* row = AddSelectedRow("clip.avi", 100, Code100Options);
    const std::vector<String> before = Columns(row);
    const std::vector<String> fields = FieldTexts(Main->Video);
    // An index the box does not have selects no category at all.
    EXPECT_NO_THROW(Dialog->bsSkinOfficeComboBox2->SetItemIndex(24));
    ASSERT_EQ(Dialog->bsSkinOfficeComboBox2->ItemIndex(), -1);
    Dialog->Button2->Click();
    EXPECT_EQ(Dialog->bsSkinOfficeComboBox1->Items()->Count(), 0);
    Dialog->bsSkinOfficeComboBox1Change(Dialog->bsSkinOfficeComboBox1);
    EXPECT_EQ(Columns(row), before);
    EXPECT_EQ(FieldTexts(Main->Video), fields);
    EXPECT_EQ(OptionTexts(Dialog), Code100Texts);
}

TEST_F(PresetDialogTest, OpeningWithoutASelectedRowChangesNoRow)
{
    CreateDialog();
    std::vector<String> columns(JobColumnCount, "");
    columns[jcOutputFile] = "a.avi";
    columns[jcCategoryCode] = "100";
    columns[jcOptionCode] = Code100Options;
    TListItem* first = Main->AddJobRow(columns);
    TListItem* second = Main->AddJobRow(columns);
    OpenDialog({[&] { Dialog->bsSkinOfficeComboBox2->SetItemIndex(3); },
                [&] { Dialog->bsSkinComboBox1->SetItemIndex(2); },
                [&] { Headless::Click(Centre(Dialog->bsSkinButton2)); }});
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(Columns(first), columns);
    EXPECT_EQ(Columns(second), columns);
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 3);
}

// Cancel leaves the job and the main window as they were before "设置...".
TEST_F(PresetDialogTest, CancelLeavesTheRowAndTheFieldsAsTheyWere)
{
    CreateDialog();
    TListItem* row = AddSelectedRow("clip.avi", 101, "000310000904");
    const std::vector<String> before = Columns(row);
    const std::vector<String> fields = FieldTexts(Main->Video);
    const std::vector<int> mainOptions = OptionIndices(Main);
    String duringDialog;
    OpenDialog({[&] { Dialog->bsSkinOfficeComboBox2->SetItemIndex(3); },
                [&] { Dialog->bsSkinOfficeComboBox1->SetItemIndex(9); },
                [&] { Dialog->bsSkinComboBox1->SetItemIndex(2); },
                [&] { Dialog->bsSkinComboBox3->SetItemIndex(3); },
                [&] { duringDialog = TForm1::JobColumn(row, jcCategoryCode); },
                [&] { Headless::Click(Centre(Dialog->bsSkinButton3)); }});
    EXPECT_EQ(duringDialog, "409");  // the dialog's handlers did act on the row
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_FALSE(Dialog->Accepted());
    EXPECT_EQ(Columns(row), before);
    EXPECT_EQ(FieldTexts(Main->Video), fields);
    EXPECT_EQ(Main->PresetRoutines().CurrentCode(), 101);
    EXPECT_EQ(OptionIndices(Main), mainOptions);
}

TEST_F(PresetDialogTest, OkWithoutAChangeLeavesTheRowAsItWas)
{
    // 101 shows "768 kbps" where its table entry has 816000; 1100 shows "320*240".
    for (const auto& [code, options] : {std::pair<int, const char*>{101, "000310000904"}, {1100, "040210000904"}}) {
        SCOPED_TRACE(code);
        if (!Dialog) CreateDialog();
        TListItem* row = AddSelectedRow("clip.avi", code, options);
        const std::vector<String> before = Columns(row);
        OpenDialog({[&] { Headless::Click(Centre(Dialog->bsSkinButton2)); }});
        EXPECT_TRUE(Dialog->Accepted());
        EXPECT_EQ(Columns(row), before);
        EXPECT_EQ(TForm1::JobColumn(row, jcOptionCode), options);
    }
}

// OK copies the dialog's choice into the main window: its handlers run in order (category,
// preset entry 0, the preset, then the options whose text changed) and the row follows.
TEST_F(PresetDialogTest, OkHandsTheChoiceToTheMainWindowAndItsRow)
{
    CreateDialog();
    TListItem* row = AddSelectedRow("clip.avi", 100, Code100Options);
    std::vector<String> log;
    WhileOpen = [&] {
        auto wrap = [&log](TNotifyEvent& AEvent, std::function<String()> AName) {
            AEvent = [&log, AName, old = AEvent](TObject* Sender) {
                log.push_back(AName());
                old(Sender);
            };
        };
        wrap(Main->bsSkinOfficeComboBox2->OnChange, [] { return String("category"); });
        wrap(Main->bsSkinOfficeComboBox1->OnChange, [this] { return "preset " + IntToStr(Main->bsSkinOfficeComboBox1->ItemIndex()); });
        // The end of the preset change: the option changes its fill raised come before it.
        Main->bsSkinOfficeComboBox1->OnChange = [&log, old = Main->bsSkinOfficeComboBox1->OnChange](TObject* Sender) {
            old(Sender);
            log.push_back("preset done");
        };
        const char* const names[] = {"resolution", "video bitrate", "frame rate", "audio bitrate", "sample rate", "aspect"};
        std::vector<TbsSkinComboBox*> boxes = OptionBoxes(Main);
        for (size_t i = 0; i < boxes.size(); ++i) wrap(boxes[i]->OnChange, [name = names[i]] { return String(name); });
    };
    OpenDialog({[&] { Dialog->bsSkinOfficeComboBox2->SetItemIndex(2); },
                [&] { Dialog->bsSkinOfficeComboBox1->SetItemIndex(2); },  // 302
                [&] { Dialog->bsSkinComboBox1->SetItemIndex(1); },
                [&] { log.clear(); },
                [&] { Headless::Click(Centre(Dialog->bsSkinButton2)); }});

    std::vector<String> choices;
    std::copy_if(log.begin(), log.end(), std::back_inserter(choices),
                 [](const String& s) { return s == "category" || s.rfind("preset ", 0) == 0; });
    EXPECT_EQ(choices, (std::vector<String>{"category", "preset 0", "preset done", "preset 2", "preset done"}));
    auto last = std::find(log.rbegin(), log.rend(), String("preset done")).base();
    EXPECT_EQ(std::vector<String>(last, log.end()), std::vector<String>{"resolution"});

    EXPECT_EQ(Main->PresetRoutines().CurrentCode(), 302);
    EXPECT_EQ(OptionIndices(Main), OptionIndices(Dialog));
    EXPECT_EQ(OptionTexts(Main), OptionTexts(Dialog));
    EXPECT_EQ(TForm1::JobColumn(row, jcOutputFile), "clip" + PresetExtFromCaption(PresetCaption(302)));
    EXPECT_EQ(TForm1::JobColumn(row, jcCategoryCode), "302");
    EXPECT_EQ(TForm1::JobColumn(row, jcOptionCode), BuildOptionCode(Main->PresetRoutines().Bindings().Options));
    EXPECT_EQ(TForm1::JobColumn(row, jcFrameSize), Main->bsSkinComboBox1->Text());
    EXPECT_NE(Main->bsSkinComboBox1->Text(), "");
}

// The dialog is modal over the main window, centred on it; closing hides it and the next
// opening shows the main window's choice.
TEST_F(PresetDialogTest, ModalCentredAndReopenedOnTheMainWindowsChoice)
{
    CreateDialog();
    int opened = 0;
    Main->bsSkinButton24->OnClick = [this, &opened, old = Main->bsSkinButton24->OnClick](TObject* Sender) {
        ++opened;
        old(Sender);
    };
    bool mainEnabled = true;
    TRect dialogBounds;
    OpenDialog({[&] {
                    mainEnabled = IsWindowEnabled(Main->Handle());
                    dialogBounds = Dialog->BoundsRect();
                    Headless::Click(Centre(Main->bsSkinButton24));  // blocked
                },
                [&] { Dialog->bsSkinOfficeComboBox2->SetItemIndex(5); },
                [&] { Dialog->bsSkinComboBox10->SetItemIndex(1); },
                [&] { Headless::Click(Centre(Dialog->bsSkinButton2)); }});
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    const TRect m = Main->BoundsRect();
    EXPECT_EQ(dialogBounds.Left, m.Left + (m.Width() - dialogBounds.Width()) / 2);
    EXPECT_EQ(dialogBounds.Top, m.Top + (m.Height() - dialogBounds.Height()) / 2);
    EXPECT_FALSE(Dialog->Visible());

    // The main window changes its choice; the next opening starts from it.
    Main->bsSkinOfficeComboBox2->SetItemIndex(6);
    Main->bsSkinOfficeComboBox1->SetItemIndex(3);
    Main->bsSkinComboBox3->SetItemIndex(2);
    int code = 0;
    std::vector<int> options;
    OpenDialog({[&] {
                    code = Dialog->PresetRoutines().CurrentCode();
                    options = OptionIndices(Dialog);
                },
                [&] { Headless::Click(Centre(Dialog->bsSkinButton3)); }});
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(code, 703);
    EXPECT_EQ(options, OptionIndices(Main));
    EXPECT_FALSE(Dialog->Visible());
}

// The copy routine takes the main window's preset entries as they are, raising nothing.
TEST_F(PresetDialogTest, Button1CopiesTheMainWindowsPresetsWithoutAnEvent)
{
    CreateDialog();
    Main->bsSkinOfficeComboBox2->SetItemIndex(11);  // four presets
    Dialog->bsSkinOfficeComboBox1->SetItemIndex(5);
    int changes = 0;
    Dialog->bsSkinOfficeComboBox1->OnChange = [&changes](TObject*) { ++changes; };
    Dialog->Button1->Click();
    TbsSkinOfficeItems* items = Dialog->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(items->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items->Items(i)->Caption(), Main->bsSkinOfficeComboBox1->Items()->Items(i)->Caption());
        EXPECT_EQ(items->Items(i)->ImageIndex(), i % 2);
    }
    EXPECT_EQ(Dialog->bsSkinOfficeComboBox1->ItemIndex(), 5);
    EXPECT_EQ(changes, 0);
}

// The preset box shows its preset in bold, whatever the skin's font says.
TEST_F(PresetDialogTest, PresetBoxIsBold)
{
    CreateDialog();
    TbsSkinOfficeComboBox* Box = Dialog->bsSkinOfficeComboBox1;
    Dialog->Show();
    auto Ink = [&] {
        Box->Invalidate();
        Headless::ProcessPending();
        int N = 0;
        for (int Y = 0; Y < Box->Height(); ++Y)
            for (int X = 0; X < Box->Width(); ++X) {
                const TColor C = Headless::PixelColor(Box->Handle(), Point(X, Y));
                N += GetRValue(C) + GetGValue(C) + GetBValue(C) < 250;
            }
        return N;
    };
    const int Bold = Ink();
    Box->DefaultFont()->SetStyle({});
    const int Regular = Ink();
    EXPECT_GT(Bold, Regular + Regular / 10);
    Dialog->Hide();
    Headless::ProcessPending();
}
