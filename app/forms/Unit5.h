// The conversion options dialog "选项": worker priority, how many files convert at once,
// the live preview while converting, what to do with an existing output file and what to
// do when the batch is done.  Created at start-up after the main window and kept for the
// program's life; its creation reads the section "Options" of the settings file, "确定"
// writes it.  "取消" (or closing the dialog) puts every control back as it was when the
// dialog was shown, so a cancelled change has no effect.
#pragma once

#include "app/forms/OptionFile.h"
#include "platform/forms/Forms.h"

class TbsSkinFormFrame;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TbsSkinGroupBox;
class TbsSkinCheckRadioBox;
class TbsSkinComboBox;
class TbsSkinStdLabel;
class TbsSkinButton;
class TbsSkinData;

class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* AOwner);
    ~TForm5() override;

    TbsSkinFormFrame* bsSkinFormFrame1;
    TbsSkinPageControl* bsSkinPageControl1;
    TbsSkinTabSheet* bsSkinTabSheet1;  // "CPU"
    TbsSkinTabSheet* bsSkinTabSheet2;  // "常规"
    TbsSkinGroupBox* bsSkinPanel4;     // "转换时CPU利用方式"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox9;   // "系统空闲时进行"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox10;  // "最低优先级进行"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox11;  // "较低优先级进行"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox12;  // "正常优先级进行"
    TbsSkinGroupBox* bsSkinPanel2;     // "转换参数"
    TbsSkinStdLabel* bsSkinStdLabel1;  // "同时进行转换的文件个数"
    TbsSkinComboBox* bsSkinComboBox2;  // "1" .. "19"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox7;   // multi-thread mode, hidden, checked
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox8;   // "转换时进行实时视频预览"
    TbsSkinGroupBox* bsSkinPanel1;     // "如果输出文件存在时"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox3;   // "直接覆盖输出文件"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox6;   // "自动重命名输出文件"
    TbsSkinGroupBox* bsSkinPanel3;     // "转换工作完成后"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox1;   // "自动打开输出文件夹"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox2;   // "自动关闭计算机"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox4;   // " 播放提示音乐"
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox5;   // "不进行任何操作"
    TbsSkinButton* bsSkinButton6;  // "确定"
    TbsSkinButton* bsSkinButton1;  // "取消"

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);  // "读取ini": read the section
    void Button2Click(TObject* Sender);  // "写ini": write the section
    void bsSkinButton6Click(TObject* Sender);
    void bsSkinButton1Click(TObject* Sender);
    void bsSkinCheckRadioBox7Click(TObject* Sender);
    void bsSkinCheckRadioBox8Click(TObject* Sender);

    // The dialog's choices as the controls show them, and back.
    TConversionOptions Choices() const;
    void ShowChoices(const TConversionOptions& AChoices);

private:
    void BuildControls();

    // The controls' state when the dialog was last shown.
    struct TShownState {
        TConversionOptions Choices;
        bool MultiThread = true;
    } FShown;
    bool FAccepted = false;
};

extern TForm5* Form5;
