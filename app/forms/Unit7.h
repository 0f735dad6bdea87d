// The preset dialog "选项设置": the one window that shows a preset's six options
// (resolution, video bitrate, frame rate, audio bitrate, sample rate, aspect).  The
// program creates it at start-up after the settings dialog; the main window's "设置..."
// copies its choice into it and shows it modally.  The dialog keeps no data of its own:
// every handler acts on the main window's Video_* fields and its selected job row, and
// OK copies the choice back into the main window's boxes.
//
// The dialog runs the shared preset routines over its own boxes; the hidden-button
// subroutines are invisible buttons to the right of the client area whose click
// handlers the form runs through Click(), so each runs to its end before the next step.
#pragma once

#include "app/presets/PresetRoutines.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <memory>
#include <vector>

class TbsSkinFormFrame;
class TbsSkinPanel;
class TbsSkinTextLabel;
class TbsSkinOfficeComboBox;
class TbsSkinButton;
class TbsSkinComboBox;

class TForm7 : public TForm {
public:
    explicit TForm7(TComponent* AOwner);
    ~TForm7() override;

    TbsSkinFormFrame* bsSkinFormFrame1;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2;  // category
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1;  // preset
    TbsSkinPanel* bsSkinPanel4;                    // "预置视频参数"
    TbsSkinTextLabel* bsSkinTextLabel1;            // "视频分辨率："
    TbsSkinComboBox* bsSkinComboBox1;              // resolution
    TbsSkinTextLabel* bsSkinTextLabel2;            // "视频比特率："
    TbsSkinComboBox* bsSkinComboBox2;              // video bitrate
    TbsSkinTextLabel* bsSkinTextLabel3;            // "视频缩放："
    TbsSkinComboBox* bsSkinComboBox4;              // aspect
    TbsSkinTextLabel* bsSkinTextLabel4;            // "视频帧率："
    TbsSkinComboBox* bsSkinComboBox9;              // frame rate
    TbsSkinPanel* bsSkinPanel1;                    // "预置音频参数"
    TbsSkinTextLabel* bsSkinTextLabel5;            // "音频比特率："
    TbsSkinComboBox* bsSkinComboBox3;              // audio bitrate
    TbsSkinTextLabel* bsSkinTextLabel6;            // "音频采样率："
    TbsSkinComboBox* bsSkinComboBox10;             // sample rate
    TbsSkinButton* bsSkinButton2;                  // "确定"
    TbsSkinButton* bsSkinButton3;                  // "取消"
    TButton* Button1;   // "Button1": the main window's presets copied in
    TButton* Button2;   // "添加combox"
    TButton* Button18;  // "根据combox添加预设选项"
    TButton* Button5;   // "根据combox添加数据"
    TButton* Button6;   // "初始化数据"
    TButton* Button13;  // "确认预置选项数据"

    void FormCreate(TObject* Sender);
    void bsSkinOfficeComboBox2Change(TObject* Sender);  // category change
    void bsSkinOfficeComboBox1Change(TObject* Sender);  // preset change
    void bsSkinButton2Click(TObject* Sender);           // OK
    void bsSkinButton3Click(TObject* Sender);           // cancel
    void Button1Click(TObject* Sender);   // the main window's preset entries into the preset box
    void Button2Click(TObject* Sender);   // the catalogue of the selected category
    void Button5Click(TObject* Sender);   // the selected preset's parameters into the selected row
    void Button6Click(TObject* Sender);   // reset of the main window's preset fields
    void Button13Click(TObject* Sender);  // the option boxes' texts over the parameters
    void Button18Click(TObject* Sender);  // the option lists of the selected preset
    void bsSkinComboBox1Change(TObject* Sender);   // resolution
    void bsSkinComboBox2Change(TObject* Sender);   // video bitrate
    void bsSkinComboBox3Change(TObject* Sender);   // audio bitrate
    void bsSkinComboBox4Change(TObject* Sender);   // aspect
    void bsSkinComboBox9Change(TObject* Sender);   // frame rate
    void bsSkinComboBox10Change(TObject* Sender);  // sample rate

    // The dialog's routines over its own boxes, acting on the main window's fields and job
    // list (on fields of its own and no job list when there is no main window).
    TPresetRoutines& PresetRoutines() const { return *FRoutines; }
    // True once OK has closed the dialog since the last ShowModal began.
    bool Accepted() const { return FAccepted; }
    TModalResult ShowModal() override;

private:
    void BuildControls();
    void BuildPresetRoutines();

    TPresetRoutines* FMain = nullptr;  // the main window's routines; none without a main window
    TPresetFields FOwnFields;
    std::unique_ptr<TPresetChoiceBox> FCategoryBox, FPresetBox;
    std::unique_ptr<TPresetOptionBox> FOptionBoxes[PresetOptionCount];
    std::unique_ptr<TPresetJobList> FNoJobs;
    std::unique_ptr<TPresetRoutines> FRoutines;
    bool FAccepted = false;
};

extern TForm7* Form7;

// What the preset dialog can change of a job: the selected row's output name (column 3),
// category code (9), option code (10) and settings (11 to 24), and the main window's
// preset parameter fields.  Taken before the main window fills the dialog, it puts all of
// them back when the dialog is left without OK.
class TPresetDialogSnapshot {
public:
    TPresetDialogSnapshot(const TPresetFields& AFields, TPresetJobList& AJobList);
    void Restore(TPresetFields& AFields, TPresetJobList& AJobList) const;

private:
    TPresetFields FFields;
    bool FHadRow;
    std::vector<String> FColumns;  // by the column numbers of SnapshotColumns
};
