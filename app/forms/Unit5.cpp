#include "app/forms/Unit5.h"

#include "app/forms/FormBuild.h"
#include "app/forms/FormSkin.h"
#include "app/forms/Unit1.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* AOwner) : TForm(AOwner)
{
    if (!Form5) Form5 = this;
    BuildControls();
    if (Form1) LinkFormSkin(this, Form1->bsSkinData1);
    // With its window made, the skin's frame lies around the client area, which takes
    // its size again.
    HandleNeeded();
    SetClientWidth(408);
    SetClientHeight(318);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TForm5::~TForm5()
{
    DestroyComponents();
    if (Form5 == this) Form5 = nullptr;
}

void TForm5::BuildControls()
{
    SetName("Form5");
    SetCaption("选项");
    SetBorderStyle(bsSingle);
    // The skin frame draws the caption and its close button.
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientWidth(408);
    SetClientHeight(318);

    bsSkinFormFrame1 = new TbsSkinFormFrame(this);
    bsSkinFormFrame1->SetName("bsSkinFormFrame1");
    bsSkinFormFrame1->SetBorderIcons({TbsBorderIcon::biSystemMenu});
    bsSkinFormFrame1->SetClientWidth(408);
    bsSkinFormFrame1->SetClientHeight(318);

    bsSkinPageControl1 = Place<TbsSkinPageControl>(this, this, "bsSkinPageControl1", 8, 8, 392, 262);
    auto sheet = [this](const char* AName, const char* ACaption) {
        auto* s = new TbsSkinTabSheet(this);
        s->SetName(AName);
        s->SetPageControl(bsSkinPageControl1);
        s->SetCaption(ACaption);
        return s;
    };
    bsSkinTabSheet1 = sheet("bsSkinTabSheet1", "CPU");
    bsSkinTabSheet2 = sheet("bsSkinTabSheet2", "常规");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    auto group = [this](TWinControl* AParent, const char* AName, const char* ACaption, int ATop, int AHeight) {
        auto* g = Place<TbsSkinGroupBox>(this, AParent, AName, 8, ATop, 370, AHeight);
        g->SetSkinDataName("groupbox");
        g->SetCaption(ACaption);
        return g;
    };
    auto box = [this](TWinControl* AParent, const char* AName, const char* ACaption, int ALeft, int ATop, bool ARadio,
                      bool AChecked) {
        auto* b = Place<TbsSkinCheckRadioBox>(this, AParent, AName, ALeft, ATop, 170, 20);
        b->SetCaption(ACaption);
        b->SetRadio(ARadio);
        if (ARadio) b->SetGroupIndex(1);
        b->SetChecked(AChecked);
        return b;
    };

    // "CPU": priority, thread count, preview.
    bsSkinPanel4 = group(bsSkinTabSheet1, "bsSkinPanel4", "转换时CPU利用方式", 8, 96);
    bsSkinCheckRadioBox9 = box(bsSkinPanel4, "bsSkinCheckRadioBox9", "系统空闲时进行", 16, 28, true, false);
    bsSkinCheckRadioBox10 = box(bsSkinPanel4, "bsSkinCheckRadioBox10", "最低优先级进行", 190, 28, true, false);
    bsSkinCheckRadioBox11 = box(bsSkinPanel4, "bsSkinCheckRadioBox11", "较低优先级进行", 16, 60, true, false);
    bsSkinCheckRadioBox12 = box(bsSkinPanel4, "bsSkinCheckRadioBox12", "正常优先级进行", 190, 60, true, true);
    bsSkinPanel2 = group(bsSkinTabSheet1, "bsSkinPanel2", "转换参数", 112, 108);
    bsSkinStdLabel1 = Place<TbsSkinStdLabel>(this, bsSkinPanel2, "bsSkinStdLabel1", 16, 32, 160, 16);
    bsSkinStdLabel1->SetCaption("同时进行转换的文件个数");
    bsSkinComboBox2 = Place<TbsSkinComboBox>(this, bsSkinPanel2, "bsSkinComboBox2", 190, 30, 80, 20);
    bsSkinComboBox2->SetStyle(bscbFixedStyle);
    bsSkinComboBox2->SetDropDownCount(10);
    for (int n = 1; n <= 19; ++n) bsSkinComboBox2->Items()->Add(IntToStr(n));
    bsSkinComboBox2->SetItemIndex(0);
    // The multi-thread box lies outside its group and is never seen; it stays checked.
    bsSkinCheckRadioBox7 = box(this, "bsSkinCheckRadioBox7", "启用多线程模式   （同时进行转换的视频个数）", 460, 40, false,
                               true);
    bsSkinCheckRadioBox7->SetWidth(300);
    bsSkinCheckRadioBox7->SetVisible(false);
    bsSkinCheckRadioBox8 = box(bsSkinPanel2, "bsSkinCheckRadioBox8", "转换时进行实时视频预览", 16, 68, false, false);
    bsSkinCheckRadioBox8->SetWidth(240);

    // "常规": existing output files, after the batch.
    bsSkinPanel1 = group(bsSkinTabSheet2, "bsSkinPanel1", "如果输出文件存在时", 8, 64);
    bsSkinCheckRadioBox3 = box(bsSkinPanel1, "bsSkinCheckRadioBox3", "直接覆盖输出文件", 16, 28, true, false);
    bsSkinCheckRadioBox6 = box(bsSkinPanel1, "bsSkinCheckRadioBox6", "自动重命名输出文件", 190, 28, true, true);
    bsSkinPanel3 = group(bsSkinTabSheet2, "bsSkinPanel3", "转换工作完成后", 80, 96);
    bsSkinCheckRadioBox1 = box(bsSkinPanel3, "bsSkinCheckRadioBox1", "自动打开输出文件夹", 16, 28, true, true);
    bsSkinCheckRadioBox2 = box(bsSkinPanel3, "bsSkinCheckRadioBox2", "自动关闭计算机", 190, 28, true, false);
    bsSkinCheckRadioBox4 = box(bsSkinPanel3, "bsSkinCheckRadioBox4", " 播放提示音乐", 16, 60, true, false);
    bsSkinCheckRadioBox5 = box(bsSkinPanel3, "bsSkinCheckRadioBox5", "不进行任何操作", 190, 60, true, false);

    bsSkinButton6 = Place<TbsSkinButton>(this, this, "bsSkinButton6", 224, 280, 80, 28);
    bsSkinButton6->SetCaption("确定");
    bsSkinButton6->OnClick = [this](TObject* Sender) { bsSkinButton6Click(Sender); };
    bsSkinButton1 = Place<TbsSkinButton>(this, this, "bsSkinButton1", 316, 280, 80, 28);
    bsSkinButton1->SetCaption("取消");
    bsSkinButton1->OnClick = [this](TObject* Sender) { bsSkinButton1Click(Sender); };

    // Bound last: the boxes' first states are the resource's, not a user's change.
    bsSkinCheckRadioBox7->OnClick = [this](TObject* Sender) { bsSkinCheckRadioBox7Click(Sender); };
    bsSkinCheckRadioBox8->OnClick = [this](TObject* Sender) { bsSkinCheckRadioBox8Click(Sender); };
}

void TForm5::FormCreate(TObject*) { Button1Click(this); }

void TForm5::FormShow(TObject*)
{
    FShown.Choices = Choices();
    FShown.MultiThread = bsSkinCheckRadioBox7->Checked();
    FAccepted = false;
}

void TForm5::FormClose(TObject*, TCloseAction&)
{
    // Anything but "确定" changes nothing: the controls go back to their shown state
    // (the preview box with them, which puts the engine's preview switch back).
    if (FAccepted) return;
    bsSkinCheckRadioBox7->SetChecked(FShown.MultiThread);
    ShowChoices(FShown.Choices);
}

void TForm5::Button1Click(TObject*)
{
    // A file missing here gets the defaults written, "0" for the preview among them; the
    // box shows what is stored.
    ShowChoices(ReadConversionOptions());
}

void TForm5::Button2Click(TObject*)
{
    const String threads = bsSkinCheckRadioBox7->Checked() ? bsSkinComboBox2->Text() : String("1");
    WriteConversionOptions(Choices(), threads);
}

void TForm5::bsSkinButton6Click(TObject*)
{
    Button2Click(this);
    FAccepted = true;
    Close();
}

void TForm5::bsSkinButton1Click(TObject*) { Close(); }

void TForm5::bsSkinCheckRadioBox7Click(TObject*) { bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked()); }

void TForm5::bsSkinCheckRadioBox8Click(TObject*)
{
    if (Form1) Form1->EngineSetPreview(bsSkinCheckRadioBox8->Checked());
}

TConversionOptions TForm5::Choices() const
{
    TConversionOptions c;
    c.ThreadCountIndex = bsSkinComboBox2->ItemIndex();
    c.AfterDone = bsSkinCheckRadioBox2->Checked() ? 1 : bsSkinCheckRadioBox4->Checked() ? 2
                  : bsSkinCheckRadioBox5->Checked() ? 3 : 0;
    c.ShowPreview = bsSkinCheckRadioBox8->Checked();
    c.ThreadPriority = bsSkinCheckRadioBox9->Checked() ? 0 : bsSkinCheckRadioBox10->Checked() ? 1
                       : bsSkinCheckRadioBox11->Checked() ? 2 : 3;
    c.OverwriteFile = bsSkinCheckRadioBox3->Checked() ? 0 : 1;
    return c;
}

void TForm5::ShowChoices(const TConversionOptions& C)
{
    bsSkinComboBox2->SetItemIndex(C.ThreadCountIndex);
    TbsSkinCheckRadioBox* const afterDone[] = {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4,
                                               bsSkinCheckRadioBox5};
    afterDone[C.AfterDone]->SetChecked(true);
    TbsSkinCheckRadioBox* const priority[] = {bsSkinCheckRadioBox9, bsSkinCheckRadioBox10, bsSkinCheckRadioBox11,
                                              bsSkinCheckRadioBox12};
    priority[C.ThreadPriority]->SetChecked(true);
    (C.OverwriteFile == 0 ? bsSkinCheckRadioBox3 : bsSkinCheckRadioBox6)->SetChecked(true);
    bsSkinCheckRadioBox8->SetChecked(C.ShowPreview);
}
