#include "app/forms/Unit7.h"

#include "app/forms/FormBuild.h"
#include "app/forms/FormSkin.h"
#include "app/presets/PresetSkinBoxes.h"
#include "app/forms/Unit1.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsPngImageList.h"
#include "skin/frame/bsSkinFormFrame.h"

TForm7* Form7 = nullptr;

namespace {

// A job list with no rows, for a dialog made without a main window.
class TNoJobList : public TPresetJobList {
public:
    bool HasSelection() const override { return false; }
    String Column(int) const override { return String(); }
    void SetColumn(int, const String&) override {}
    void SetFocus() override {}
};

// The columns of the selected row that the dialog's handlers write.
std::vector<int> SnapshotColumns()
{
    std::vector<int> columns = {jcOutputFile, jcCategoryCode, jcOptionCode};
    for (int c = jcVideoCodec; c <= jcNormType; ++c) columns.push_back(c);
    return columns;
}

}  // namespace

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner)
{
    if (!Form7) Form7 = this;
    if (Form1) FMain = &Form1->PresetRoutines();
    BuildControls();
    BuildPresetRoutines();
    if (Form1) LinkFormSkin(this, Form1->bsSkinData1);
    // With its window made, the skin's frame lies around the client area, which takes
    // its size again.
    HandleNeeded();
    SetClientWidth(513);
    SetClientHeight(418);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

TForm7::~TForm7()
{
    // The controls go first: none of their events may reach the adapters or routines
    // after those are gone.
    DestroyComponents();
    if (Form7 == this) Form7 = nullptr;
}

void TForm7::BuildControls()
{
    SetName("Form7");
    SetCaption("选项设置");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientWidth(513);
    SetClientHeight(418);

    bsSkinFormFrame1 = new TbsSkinFormFrame(this);
    bsSkinFormFrame1->SetName("bsSkinFormFrame1");
    bsSkinFormFrame1->SetBorderIcons({});
    // The frame would still offer its close button: the dialog closes by OK and cancel only.
    bsSkinFormFrame1->SetHideCaptionButtons(true);
    bsSkinFormFrame1->SetClientWidth(513);
    bsSkinFormFrame1->SetClientHeight(418);

    TCustomImageList* categoryImages = Form1 ? Form1->bsPngImageList5 : nullptr;
    TCustomImageList* presetImages = Form1 ? Form1->bsPngImageList3 : nullptr;

    bsSkinOfficeComboBox2 = Place<TbsSkinOfficeComboBox>(this, this, "bsSkinOfficeComboBox2", 26, 17, 132, 51);
    bsSkinOfficeComboBox2->SetImages(categoryImages);
    bsSkinOfficeComboBox2->SetListBoxWidth(130);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    AddPresetCategories(bsSkinOfficeComboBox2);
    bsSkinOfficeComboBox2->SetItemIndex(0);  // before its event is bound, as when loaded

    bsSkinOfficeComboBox1 = Place<TbsSkinOfficeComboBox>(this, this, "bsSkinOfficeComboBox1", 164, 17, 328, 51);
    bsSkinOfficeComboBox1->SetImages(presetImages);
    // bold: its own font, not the skin's
    bsSkinOfficeComboBox1->DefaultFont()->SetStyle({fsBold});
    bsSkinOfficeComboBox1->SetUseSkinFont(false);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    bsSkinOfficeComboBox1->Items()->Add();  // the placeholder the catalogue replaces

    auto group = [this](const char* AName, int ATop, int AHeight, const char* ACaption) {
        auto* panel = Place<TbsSkinPanel>(this, this, AName, 26, ATop, 466, AHeight);
        panel->SetSkinDataName("groupbox");
        panel->SetCaptionMode(true);
        panel->SetCaption(ACaption);
        return panel;
    };
    auto label = [this](TWinControl* AParent, const char* AName, int ALeft, int ATop, const char* AText) {
        auto* l = Place<TbsSkinTextLabel>(this, AParent, AName, ALeft, ATop, 120, 16);
        l->SetSkinDataName("stdlabel");
        l->Lines()->SetText(AText);
        return l;
    };
    auto option = [this](TWinControl* AParent, const char* AName, int ALeft, int ATop) {
        auto* box = Place<TbsSkinComboBox>(this, AParent, AName, ALeft, ATop, 176, 20);
        box->SetStyle(bscbFixedStyle);
        box->SetDropDownCount(8);
        return box;
    };
    // Created in tab order: resolution, video bitrate, aspect, frame rate; then audio
    // bitrate, sample rate.
    bsSkinPanel4 = group("bsSkinPanel4", 85, 158, "预置视频参数");
    bsSkinTextLabel1 = label(bsSkinPanel4, "bsSkinTextLabel1", 15, 38, "视频分辨率：");
    bsSkinComboBox1 = option(bsSkinPanel4, "bsSkinComboBox1", 15, 66);
    bsSkinTextLabel2 = label(bsSkinPanel4, "bsSkinTextLabel2", 259, 38, "视频比特率：");
    bsSkinComboBox2 = option(bsSkinPanel4, "bsSkinComboBox2", 264, 66);
    bsSkinTextLabel3 = label(bsSkinPanel4, "bsSkinTextLabel3", 15, 96, "视频缩放：");
    bsSkinComboBox4 = option(bsSkinPanel4, "bsSkinComboBox4", 15, 119);
    bsSkinTextLabel4 = label(bsSkinPanel4, "bsSkinTextLabel4", 259, 96, "视频帧率：");
    bsSkinComboBox9 = option(bsSkinPanel4, "bsSkinComboBox9", 264, 119);

    bsSkinPanel1 = group("bsSkinPanel1", 256, 97, "预置音频参数");
    bsSkinTextLabel5 = label(bsSkinPanel1, "bsSkinTextLabel5", 15, 32, "音频比特率：");
    bsSkinComboBox3 = option(bsSkinPanel1, "bsSkinComboBox3", 15, 56);
    bsSkinTextLabel6 = label(bsSkinPanel1, "bsSkinTextLabel6", 259, 32, "音频采样率：");
    bsSkinComboBox10 = option(bsSkinPanel1, "bsSkinComboBox10", 264, 57);

    bsSkinButton2 = Place<TbsSkinButton>(this, this, "bsSkinButton2", 323, 371, 69, 25);
    bsSkinButton2->SetCaption("确定");
    bsSkinButton3 = Place<TbsSkinButton>(this, this, "bsSkinButton3", 419, 371, 69, 25);
    bsSkinButton3->SetCaption("取消");

    // The hidden-button subroutines, invisible, to the right of the client area.
    struct TRoutineButton {
        TButton*& Button;
        const char* Name;
        const char* Caption;
        void (TForm7::*Handler)(TObject*);
    };
    const TRoutineButton routines[] = {
        {Button1, "Button1", "Button1", &TForm7::Button1Click},
        {Button2, "Button2", "添加combox", &TForm7::Button2Click},
        {Button18, "Button18", "根据combox添加预设选项", &TForm7::Button18Click},
        {Button5, "Button5", "根据combox添加数据", &TForm7::Button5Click},
        {Button6, "Button6", "初始化数据", &TForm7::Button6Click},
        {Button13, "Button13", "确认预置选项数据", &TForm7::Button13Click},
    };
    int top = 17;
    for (const TRoutineButton& r : routines) {
        r.Button = Place<TButton>(this, this, r.Name, 530, top, 160, 25);
        r.Button->SetCaption(r.Caption);
        r.Button->SetVisible(false);
        r.Button->OnClick = [this, h = r.Handler](TObject* Sender) { (this->*h)(Sender); };
        top += 32;
    }
}

void TForm7::BuildPresetRoutines()
{
    TbsSkinComboBox* const boxes[PresetOptionCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox9,
                                                      bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    TPresetBindings bindings =
        BindSkinPresetBoxes(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, boxes, FCategoryBox, FPresetBox, FOptionBoxes);
    if (FMain) {
        // The main window's fields, job list, output folder and overwrite choice.
        const TPresetBindings& main = FMain->Bindings();
        bindings.Fields = main.Fields;
        bindings.JobList = main.JobList;
        bindings.OutputFolderText = main.OutputFolderText;
        bindings.OverwriteOutput = main.OverwriteOutput;
        bindings.SettleOutputName = main.SettleOutputName;
    } else {
        FNoJobs = std::make_unique<TNoJobList>();
        bindings.Fields = &FOwnFields;
        bindings.JobList = FNoJobs.get();
    }
    FRoutines = std::make_unique<TPresetRoutines>(bindings);

    BindPresetBoxEvents(this);
    bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
    bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
}

TModalResult TForm7::ShowModal()
{
    FAccepted = false;
    return TForm::ShowModal();
}

void TForm7::FormCreate(TObject*) { Button2->Click(); }

void TForm7::bsSkinOfficeComboBox2Change(TObject*) { Button2->Click(); }

void TForm7::bsSkinOfficeComboBox1Change(TObject*)
{
    // A category outside the catalogue lists no preset: there is nothing to apply.
    const int preset = bsSkinOfficeComboBox1->ItemIndex();
    if (preset < 0 || preset >= bsSkinOfficeComboBox1->Items()->Count()) return;
    FRoutines->bsSkinOfficeComboBox1Change();
}

void TForm7::bsSkinButton2Click(TObject*)
{
    FAccepted = true;
    if (FMain) FRoutines->CopyChoiceTo(*FMain);
    Close();
}

void TForm7::bsSkinButton3Click(TObject*) { Close(); }

void TForm7::Button1Click(TObject*)
{
    if (Form1) bsSkinOfficeComboBox1->SetItems(Form1->bsSkinOfficeComboBox1->Items());
}

void TForm7::Button2Click(TObject*) { FRoutines->Button2Click(); }
void TForm7::Button5Click(TObject*) { FRoutines->Button5Click(); }
void TForm7::Button6Click(TObject*) { FRoutines->Button6Click(); }
void TForm7::Button13Click(TObject*) { FRoutines->Button13Click(); }
void TForm7::Button18Click(TObject*) { FRoutines->Button18Click(); }
void TForm7::bsSkinComboBox1Change(TObject*) { FRoutines->bsSkinComboBox1Change(); }
void TForm7::bsSkinComboBox2Change(TObject*) { FRoutines->bsSkinComboBox2Change(); }
void TForm7::bsSkinComboBox3Change(TObject*) { FRoutines->bsSkinComboBox3Change(); }
void TForm7::bsSkinComboBox4Change(TObject*) { FRoutines->bsSkinComboBox4Change(); }
void TForm7::bsSkinComboBox9Change(TObject*) { FRoutines->bsSkinComboBox9Change(); }
void TForm7::bsSkinComboBox10Change(TObject*) { FRoutines->bsSkinComboBox10Change(); }

TPresetDialogSnapshot::TPresetDialogSnapshot(const TPresetFields& AFields, TPresetJobList& AJobList)
    : FFields(AFields), FHadRow(AJobList.HasSelection())
{
    if (!FHadRow) return;
    for (int c : SnapshotColumns()) FColumns.push_back(AJobList.Column(c));
}

void TPresetDialogSnapshot::Restore(TPresetFields& AFields, TPresetJobList& AJobList) const
{
    AFields = FFields;
    if (!FHadRow || !AJobList.HasSelection()) return;
    const std::vector<int> columns = SnapshotColumns();
    for (size_t i = 0; i < columns.size(); ++i) AJobList.SetColumn(columns[i], FColumns[i]);
}
