// The settings dialog "设置选项": the older twelve-category preset form.  The program
// creates it at start-up, after the conversion options dialog and before the preset
// dialog; its creation fills the preset box with the first category and the six option
// boxes for code 100.  Nothing in the program shows it; its OK writes the chosen preset's
// parameters into the main window's preset fields.
//
// The hidden-button subroutines are buttons on the routine panel whose click handlers
// the form runs through Click(), so each runs to its end before the next step.
#pragma once

#include "app/presets/PresetRoutines.h"
#include "app/presets/Unit6Tables.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <functional>
#include <memory>

class TbsSkinFormFrame;
class TbsSkinPanel;
class TbsSkinTextLabel;
class TbsSkinOfficeComboBox;
class TbsSkinButton;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TbsSkinComboBox;
class TTaskList;
class TImageList;

// What the dialog reaches outside itself: the main window's preset fields and output
// folder box, and the conversion options dialog's "直接覆盖输出文件" box.  The program
// sets them before it creates the dialog.  Unset, the dialog works on fields of its own,
// an empty folder text and no overwriting.
struct TSettingsDialogLinks {
    TPresetFields* Fields = nullptr;
    std::function<String()> OutputFolderText;
    std::function<bool()> OverwriteOutput;
};
extern TSettingsDialogLinks Form6Links;

class TForm6 : public TForm {
public:
    explicit TForm6(TComponent* AOwner);
    ~TForm6() override;

    TbsSkinFormFrame* bsSkinFormFrame1;
    TbsSkinPanel* bsSkinPanel2;
    TbsSkinTextLabel* bsSkinTextLabel5;       // "输出格式："
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2;  // category
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1;  // preset: title and description
    TbsSkinButton* bsSkinButton1;             // "设置", invisible, no handler
    TbsSkinPageControl* bsSkinPageControl1;
    TbsSkinTabSheet* bsSkinTabSheet1;         // "标准参数设置": the option boxes
    TbsSkinTabSheet* bsSkinTabSheet2;         // "剪辑设置"
    TbsSkinTabSheet* FilterSheet;             // "滤镜设置"
    TbsSkinTabSheet* bsSkinTabSheet3;         // "文字水印"
    TbsSkinComboBox* bsSkinComboBox1;         // resolution
    TbsSkinComboBox* bsSkinComboBox2;         // video bitrate
    TbsSkinComboBox* bsSkinComboBox9;         // frame rate
    TbsSkinComboBox* bsSkinComboBox3;         // audio bitrate
    TbsSkinComboBox* bsSkinComboBox10;        // sample rate
    TbsSkinComboBox* bsSkinComboBox4;         // aspect
    TbsSkinTextLabel* bsSkinTextLabel3;
    TbsSkinTextLabel* bsSkinTextLabel2;
    TbsSkinTextLabel* bsSkinTextLabel6;
    TbsSkinTextLabel* bsSkinTextLabel4;
    TbsSkinTextLabel* bsSkinTextLabel7;
    TbsSkinTextLabel* bsSkinTextLabel9;
    TbsSkinButton* bsSkinButton2;  // "确定"
    TbsSkinButton* bsSkinButton3;  // "取消"
    TPanel* Panel1;                // the routine panel
    TImage* Image1;
    TButton* Button6;   // "初始化数据"
    TButton* Button5;   // "根据combox添加数据"
    TButton* Button7;   // "确认oo数据", no handler
    TButton* Button2;   // "添加combox"
    TButton* Button13;  // "确认预置选项数据"
    TButton* Button11;  // "onchange用", no handler
    TButton* Button18;  // "根据combox添加预设选项"
    TTaskList* FFEngine;     // idle: no event bound, never started
    TImageList* ImageList1;  // the twelve category pictures, 32 x 32
    TImageList* ImageList2;  // empty, 32 x 32

    void FormCreate(TObject* Sender);
    void bsSkinOfficeComboBox2Change(TObject* Sender);
    void bsSkinOfficeComboBox1Click(TObject* Sender);
    void bsSkinButton2Click(TObject* Sender);
    void bsSkinButton3Click(TObject* Sender);
    void Button2Click(TObject* Sender);   // the catalogue of the selected category
    void Button5Click(TObject* Sender);   // the parameters of the selected preset
    void Button6Click(TObject* Sender);   // reset of the main window's preset fields
    void Button13Click(TObject* Sender);  // the option boxes' texts over the parameters
    void Button18Click(TObject* Sender);  // the option lists of the selected preset

    // (category index + 1) * 100 + preset index, as the boxes report them, unmapped.
    int CurrentCode() const;
    // The preset fields the dialog writes.
    TPresetFields& Fields() const { return *FFields; }
    const TPresetOptionBoxes& OptionBoxes() const { return FOptionBoxes; }

private:
    void BuildControls();
    String OutputFolderText() const;
    bool OverwriteOutput() const;

    TPresetFields FOwnFields;
    TPresetFields* FFields;
    TSettingsDialogLinks FLinks;
    std::unique_ptr<TPresetOptionBox> FOptionAdapters[PresetOptionCount];
    TPresetOptionBoxes FOptionBoxes{};
    std::unique_ptr<TPresetRoutines> FRoutines;  // the shared confirm and reset
};

extern TForm6* Form6;

// The fill's entry for one of the dialog's option rows: the row's shared value lists
// with its defaults.
TPresetOptionEntry SettingsOptionEntry(const TSettingsOptionRow& ARow);

// The parameter routine of the dialog over its own rows: resets the fields (keeping the
// input name), applies the row of ACode with the output name composed from
// AFields.Video_AddFileName, then settles the output path by the shared rule.  A code
// without a row leaves the fields reset and settles the empty name.
void ApplySettingsCode(int ACode, TPresetFields& AFields, const String& AFolderText, bool AOverwrite);
// Writes one row into the fields: every cell but the ones it does not write.
void ApplySettingsParams(const TSettingsParams& ARow, TPresetFields& AFields);
