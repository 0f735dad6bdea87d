// The about box "关于": the product picture, name and version, a notice line, the
// maker's web site and support mail as links, and "确定".  Created at start-up after the
// main window, drawn with the main window's skin, shown modally and hidden again.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"

class TbsSkinFormFrame;
class TbsSkinStdLabel;
class TbsSkinLinkLabel;
class TbsSkinButton;

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);
    ~TForm2() override;

    TbsSkinFormFrame* bsSkinFormFrame1;
    TImage* Image1;                     // the product picture
    TbsSkinStdLabel* bsSkinStdLabel3;   // "澄枫DAT格式转换器"
    TbsSkinStdLabel* bsSkinStdLabel4;   // "Ver:1.00.102"
    TbsSkinStdLabel* bsSkinStdLabel5;   // the notice line
    TbsSkinStdLabel* bsSkinStdLabel1;   // "了解更多请访问："
    TbsSkinLinkLabel* bsSkinLinkLabel1; // the web site
    TbsSkinStdLabel* bsSkinStdLabel2;   // "联系邮箱："
    TbsSkinLinkLabel* bsSkinLinkLabel2; // the support mail
    TbsSkinButton* bsSkinButton1;       // "确定"

    void bsSkinButton1Click(TObject* Sender);

private:
    void BuildControls();
};

extern TForm2* Form2;
