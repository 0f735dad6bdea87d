#include "app/forms/Unit6.h"

#include "app/forms/FormBuild.h"
#include "app/forms/FormSkin.h"
#include "app/forms/Unit1.h"
#include "app/presets/PresetOutput.h"
#include "app/presets/PresetSkinBoxes.h"
#include "engine/tasks/TaskList.h"
#include "platform/graphics/ImgList.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

TSettingsDialogLinks Form6Links;
TForm6* Form6 = nullptr;

namespace {

// The twelve category pictures: a rounded tile in the category's colour with a light
// band, so that neighbouring categories are told apart at a glance.
void AddCategoryPictures(TImageList* AList)
{
    static const TColor Colors[SettingsCategoryCount] = {
        0x00C07830, 0x003090D0, 0x002050B0, 0x00808080, 0x00404040, 0x00A03060,
        0x0040A040, 0x00B0B0B0, 0x0020A060, 0x00909020, 0x00D08040, 0x002040D0};
    for (TColor color : Colors) {
        TBitmap picture;
        picture.SetSize(32, 32);
        TCanvas* c = picture.Canvas();
        c->Brush()->SetColor(clFuchsia);
        c->FillRect(Rect(0, 0, 32, 32));
        c->Brush()->SetColor(color);
        c->Pen()->SetColor(color);
        c->RoundRect(2, 2, 30, 30, 8, 8);
        c->Brush()->SetColor(clWhite);
        c->Pen()->SetColor(clWhite);
        c->Rectangle(8, 12, 24, 20);
        AList->AddMasked(&picture, clFuchsia);
    }
}

TbsSkinTextLabel* Label(TComponent* AOwner, TWinControl* AParent, const char* AName, int ALeft, int ATop,
                        const char* AText)
{
    auto* label = Place<TbsSkinTextLabel>(AOwner, AParent, AName, ALeft, ATop, 90, 20);
    label->Lines()->SetText(AText);
    return label;
}

}  // namespace

TPresetOptionEntry SettingsOptionEntry(const TSettingsOptionRow& ARow)
{
    TPresetOptionEntry entry{ARow.Code, {}, ARow.AudioOnly};
    for (int o = 0; o < PresetOptionCount; ++o)
        entry.Options[o] = {PresetValueList(TPresetOption(o), ARow.Cells[o].List), ARow.Cells[o].Default};
    return entry;
}

void ApplySettingsParams(const TSettingsParams& R, TPresetFields& F)
{
    auto text = [](String& AField, const char* ACell) {
        if (ACell) AField = ACell;
    };
    auto bits = [](int32_t& AField, int32_t ACell) {
        if (ACell != SettingsBitrateNotWritten) AField = ACell;
    };
    if (R.FileExt) F.Video_FileExt = String(R.FileExt) == "=" ? R.Ext : R.FileExt;
    if (R.DisableVideo) F.Video_DisableVideo = true;
    text(F.Video_VideoCodec, R.VideoCodec);
    text(F.Video_VideoTag, R.VideoTag);
    text(F.Video_FrameRate, R.FrameRate);
    text(F.Video_FrameAspectRatio, R.FrameAspectRatio);
    text(F.Video_FrameSize, R.FrameSize);
    bits(F.Video_VideoBitrate, R.VideoBitrate);
    text(F.Video_VideoFilters, R.VideoFilters);
    text(F.Video_AudioCodec, R.AudioCodec);
    text(F.Video_AudioChannels, R.AudioChannels);
    text(F.Video_AudioSampleRate, R.AudioSampleRate);
    text(F.Video_AudioVolume, R.AudioVolume);
    bits(F.Video_AudioBitrate, R.AudioBitrate);
    text(F.Video_NormType, R.NormType);
    text(F.Video_CopyTimestamp, R.CopyTimestamp);
    text(F.Video_FileFormat, R.FileFormat);
    text(F.Video_TargetType, R.TargetType);
}

void ApplySettingsCode(int ACode, TPresetFields& AFields, const String& AFolderText, bool AOverwrite)
{
    // Reset first: a cell the row leaves unwritten takes the reset value, never what an
    // earlier preset left there (a DVD target under an MP4 preset).
    AFields.Reset();
    AFields.Video_DisableVideo = false;
    if (const TSettingsParams* row = FindSettingsParams(ACode)) {
        AFields.Video_OutPutFileName = ComposeOutputName(AFolderText, AFields.Video_AddFileName, row->Ext);
        ApplySettingsParams(*row, AFields);
    }
    AFields.Video_OutPutFileName = SettleOutputPath(AFields.Video_OutPutFileName, AFolderText, AOverwrite);
}

TForm6::TForm6(TComponent* AOwner) : TForm(AOwner), FLinks(Form6Links)
{
    FFields = FLinks.Fields ? FLinks.Fields : &FOwnFields;
    BuildControls();

    FOptionBoxes = {};
    TbsSkinComboBox* const boxes[PresetOptionCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox9,
                                                      bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    for (int o = 0; o < PresetOptionCount; ++o) FOptionAdapters[o] = std::make_unique<TSkinOptionBox>(boxes[o]);
    FOptionBoxes.Resolution = FOptionAdapters[poResolution].get();
    FOptionBoxes.VideoBitrate = FOptionAdapters[poVideoBitrate].get();
    FOptionBoxes.FrameRate = FOptionAdapters[poFrameRate].get();
    FOptionBoxes.AudioBitrate = FOptionAdapters[poAudioBitrate].get();
    FOptionBoxes.SampleRate = FOptionAdapters[poSampleRate].get();
    FOptionBoxes.Aspect = FOptionAdapters[poAspect].get();

    TPresetBindings bindings;
    bindings.Options = FOptionBoxes;
    bindings.Fields = FFields;
    FRoutines = std::make_unique<TPresetRoutines>(bindings);

    // Drawn with the main window's skin, as the program's other dialogs; with its window
    // made, the skin's frame lies around the client area, which takes its size again.
    if (Form1) LinkFormSkin(this, Form1->bsSkinData1);
    HandleNeeded();
    SetClientWidth(1078);
    SetClientHeight(474);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

TForm6::~TForm6()
{
    // The controls go first: none of their events may reach the adapters or routines
    // after those are gone.
    DestroyComponents();
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::BuildControls()
{
    SetName("Form6");
    SetCaption("设置选项");
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu});
    SetPosition(poMainFormCenter);
    SetClientWidth(1078);
    SetClientHeight(474);

    bsSkinFormFrame1 = new TbsSkinFormFrame(this);
    bsSkinFormFrame1->SetName("bsSkinFormFrame1");

    ImageList1 = new TImageList(this, 32, 32);
    ImageList1->SetName("ImageList1");
    AddCategoryPictures(ImageList1);
    ImageList2 = new TImageList(this, 32, 32);
    ImageList2->SetName("ImageList2");

    FFEngine = new TTaskList(this);
    FFEngine->SetName("FFEngine");

    // The preset choice above the pages.
    bsSkinPanel2 = Place<TbsSkinPanel>(this, this, "bsSkinPanel2", 8, 8, 760, 60);
    bsSkinTextLabel5 = Label(this, bsSkinPanel2, "bsSkinTextLabel5", 10, 20, "输出格式：");
    bsSkinOfficeComboBox2 = Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox2", 84, 10, 160, 40);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    bsSkinOfficeComboBox2->SetListBoxWidth(119);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    for (int i = 0; i < SettingsCategoryCount; ++i) {
        const TSettingsCategory* category = SettingsCategory(i);
        TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items()->Add();
        item->SetCaption(category->Caption);
        item->SetImageIndex(category->ImageIndex);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);  // before its event is bound, as when loaded
    bsSkinOfficeComboBox2->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox2Change(Sender); };

    bsSkinOfficeComboBox1 = Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox1", 254, 10, 420, 40);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    bsSkinOfficeComboBox1->OnClick = [this](TObject* Sender) { bsSkinOfficeComboBox1Click(Sender); };

    bsSkinButton1 = Place<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton1", 684, 14, 64, 28);
    bsSkinButton1->SetCaption("设置");
    bsSkinButton1->SetVisible(false);

    // The pages; only the first holds controls.
    bsSkinPageControl1 = Place<TbsSkinPageControl>(this, this, "bsSkinPageControl1", 8, 76, 760, 340);
    auto sheet = [this](const char* AName, const char* ACaption) {
        auto* s = new TbsSkinTabSheet(this);
        s->SetName(AName);
        s->SetPageControl(bsSkinPageControl1);
        s->SetCaption(ACaption);
        return s;
    };
    bsSkinTabSheet1 = sheet("bsSkinTabSheet1", "标准参数设置");
    bsSkinTabSheet2 = sheet("bsSkinTabSheet2", "剪辑设置");
    FilterSheet = sheet("FilterSheet", "滤镜设置");
    bsSkinTabSheet3 = sheet("bsSkinTabSheet3", "文字水印");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    auto option = [this](const char* ABoxName, TbsSkinTextLabel*& ALabel, const char* ALabelName, int ALeft,
                         int ATop, const char* AText) {
        ALabel = Label(this, bsSkinTabSheet1, ALabelName, ALeft, ATop, AText);
        auto* box = Place<TbsSkinComboBox>(this, bsSkinTabSheet1, ABoxName, ALeft + 96, ATop - 2, 200, 24);
        box->SetStyle(bscbFixedStyle);
        box->SetDropDownCount(8);
        return box;
    };
    bsSkinComboBox1 = option("bsSkinComboBox1", bsSkinTextLabel3, "bsSkinTextLabel3", 24, 30, "视频分辨率：");
    bsSkinComboBox2 = option("bsSkinComboBox2", bsSkinTextLabel2, "bsSkinTextLabel2", 24, 80, "视频比特率：");
    bsSkinComboBox9 = option("bsSkinComboBox9", bsSkinTextLabel6, "bsSkinTextLabel6", 24, 130, "视频帧率：");
    bsSkinComboBox3 = option("bsSkinComboBox3", bsSkinTextLabel4, "bsSkinTextLabel4", 384, 30, "音频比特率：");
    bsSkinComboBox10 = option("bsSkinComboBox10", bsSkinTextLabel7, "bsSkinTextLabel7", 384, 80, "音频采样率：");
    bsSkinComboBox4 = option("bsSkinComboBox4", bsSkinTextLabel9, "bsSkinTextLabel9", 384, 130, "视频缩放：");

    bsSkinButton2 = Place<TbsSkinButton>(this, this, "bsSkinButton2", 580, 432, 88, 30);
    bsSkinButton2->SetCaption("确定");
    bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
    bsSkinButton3 = Place<TbsSkinButton>(this, this, "bsSkinButton3", 680, 432, 88, 30);
    bsSkinButton3->SetCaption("取消");
    bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };

    // The routine panel with the hidden-button subroutines.
    Panel1 = Place<TPanel>(this, this, "Panel1", 780, 8, 290, 458);
    Panel1->SetCaption("");
    Image1 = Place<TImage>(this, Panel1, "Image1", 10, 10, 32, 32);
    TBitmap picture;
    ImageList1->GetBitmap(0, &picture);
    Image1->Picture()->SetBitmap(&picture);
    Image1->SetTransparent(true);  // the picture's keyed border is not drawn
    struct TRoutineButton {
        TButton*& Button;
        const char* Name;
        const char* Caption;
        void (TForm6::*Handler)(TObject*);
    };
    const TRoutineButton routines[] = {
        {Button6, "Button6", "初始化数据", &TForm6::Button6Click},
        {Button5, "Button5", "根据combox添加数据", &TForm6::Button5Click},
        {Button7, "Button7", "确认oo数据", nullptr},
        {Button2, "Button2", "添加combox", &TForm6::Button2Click},
        {Button13, "Button13", "确认预置选项数据", &TForm6::Button13Click},
        {Button11, "Button11", "onchange用", nullptr},
        {Button18, "Button18", "根据combox添加预设选项", &TForm6::Button18Click},
    };
    int top = 52;
    for (const TRoutineButton& r : routines) {
        r.Button = Place<TButton>(this, Panel1, r.Name, 10, top, 270, 28);
        r.Button->SetCaption(r.Caption);
        if (r.Handler) r.Button->OnClick = [this, h = r.Handler](TObject* Sender) { (this->*h)(Sender); };
        top += 36;
    }
}

String TForm6::OutputFolderText() const { return FLinks.OutputFolderText ? FLinks.OutputFolderText() : String(); }

bool TForm6::OverwriteOutput() const { return FLinks.OverwriteOutput && FLinks.OverwriteOutput(); }

int TForm6::CurrentCode() const
{
    int category = bsSkinOfficeComboBox2->ItemIndex();
    return (category + 1) * 100 + bsSkinOfficeComboBox1->ItemIndex();
}

void TForm6::FormCreate(TObject*) { Button2->Click(); }

void TForm6::bsSkinOfficeComboBox2Change(TObject*) { Button2->Click(); }

void TForm6::bsSkinOfficeComboBox1Click(TObject*) { Button18->Click(); }

void TForm6::bsSkinButton2Click(TObject*)
{
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::bsSkinButton3Click(TObject*) { Close(); }

void TForm6::Button2Click(TObject*)
{
    TbsSkinOfficeItems* items = bsSkinOfficeComboBox1->Items();
    items->Clear();
    bsSkinOfficeComboBox1->Refresh();
    bsSkinOfficeComboBox1->Repaint();
    if (const TSettingsCategory* category = SettingsCategory(bsSkinOfficeComboBox2->ItemIndex())) {
        for (const TSettingsPreset& preset : category->Presets) {
            TbsSkinOfficeItem* item = items->Add();
            item->SetTitle(preset.Title);
            item->SetCaption(preset.Description);
        }
        bsSkinOfficeComboBox1->Refresh();
        bsSkinOfficeComboBox1->Repaint();
    }
    // Also on an empty list: the box's click still runs the option lists.
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm6::Button5Click(TObject*) { ApplySettingsCode(CurrentCode(), *FFields, OutputFolderText(), OverwriteOutput()); }

void TForm6::Button6Click(TObject*) { FRoutines->Button6Click(); }

void TForm6::Button13Click(TObject*) { FRoutines->Button13Click(); }

void TForm6::Button18Click(TObject*)
{
    int code = CurrentCode();
    FFields->Video_DisableVideo = false;
    const TSettingsOptionRow* row = FindSettingsOptionRow(code);
    if (!row) {
        FillPresetOptions(FOptionBoxes, nullptr);
        return;
    }
    TPresetOptionEntry entry = SettingsOptionEntry(*row);
    FillPresetOptions(FOptionBoxes, &entry);
}
