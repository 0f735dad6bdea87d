#include "app/forms/Unit2.h"

#include "app/forms/FormBuild.h"
#include "app/forms/FormSkin.h"
#include "app/resources/ProgramAddresses.h"
#include "app/resources/ProgramPictures.h"
#include "app/forms/Unit1.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner)
{
    if (!Form2) Form2 = this;
    BuildControls();
    if (Form1) {
        LinkFormSkin(this, Form1->bsSkinData1);
        for (TbsSkinLinkLabel* link : {bsSkinLinkLabel1, bsSkinLinkLabel2}) link->SetSkinData(Form1->bsSkinData1);
    }
    // With its window made, the skin's frame lies around the client area, which takes
    // its size again.
    HandleNeeded();
    SetClientWidth(368);
    SetClientHeight(238);
}

TForm2::~TForm2()
{
    DestroyComponents();
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::BuildControls()
{
    SetName("Form2");
    SetCaption("关于");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientWidth(368);
    SetClientHeight(238);

    bsSkinFormFrame1 = new TbsSkinFormFrame(this);
    bsSkinFormFrame1->SetName("bsSkinFormFrame1");
    bsSkinFormFrame1->SetBorderIcons({});
    // The frame would still offer its close button: the box closes by "确定" only.
    bsSkinFormFrame1->SetHideCaptionButtons(true);
    bsSkinFormFrame1->SetMagnetic(true);
    bsSkinFormFrame1->SetMagneticSize(10);
    bsSkinFormFrame1->SetClientWidth(368);
    bsSkinFormFrame1->SetClientHeight(238);

    Image1 = Place<TImage>(this, this, "Image1", 30, 18, 87, 83);
    Image1->SetTransparent(true);
    if (auto picture = ProgramBitmap("about", clBtnFace)) Image1->Picture()->SetBitmap(picture.get());

    auto label = [this](const char* AName, const char* ACaption, int ALeft, int ATop, int AWidth, int AHeight) {
        auto* l = Place<TbsSkinStdLabel>(this, this, AName, ALeft, ATop, AWidth, AHeight);
        l->SetSkinDataName("stdlabel");
        l->SetCaption(ACaption);
        return l;
    };
    bsSkinStdLabel3 = label("bsSkinStdLabel3", "澄枫DAT格式转换器", 144, 14, 170, 20);
    bsSkinStdLabel4 = label("bsSkinStdLabel4", "Ver:1.00.102", 160, 50, 132, 19);
    bsSkinStdLabel5 = label("bsSkinStdLabel5", "感谢您使用本软件", 152, 81, 140, 20);
    bsSkinStdLabel1 = label("bsSkinStdLabel1", "了解更多请访问：", 30, 126, 96, 13);
    bsSkinStdLabel2 = label("bsSkinStdLabel2", "联系邮箱：", 202, 124, 60, 13);

    auto link = [this](const char* AName, const String& ACaption, const String& AURL, int ALeft) {
        auto* l = Place<TbsSkinLinkLabel>(this, this, AName, ALeft, 145, 153, 33);
        l->SetAutoSize(false);
        l->SetBounds(ALeft, 145, 153, 33);
        l->SetCaption(ACaption);
        l->SetURL(AURL);
        l->SetCursor(crHandPoint);
        l->SetGlowEffect(true);
        l->SetGlowSize(6);
        l->SetUseUnderLine(true);
        l->SetDefaultActiveFontColor(clBlue);
        l->SetAlignment(taCenter);
        return l;
    };
    bsSkinLinkLabel1 = link("bsSkinLinkLabel1", HomePageText, HomePageAddress, 19);
    bsSkinLinkLabel2 = link("bsSkinLinkLabel2", *SupportMailAddress ? String(SupportMailAddress) : String(SupportMailText),
                            *SupportMailAddress ? String("mailto:") + SupportMailAddress : String(), 186);
    // A link with nothing real behind it is disabled: a click opens nothing.
    bsSkinLinkLabel1->SetEnabled(*HomePageAddress != 0);
    bsSkinLinkLabel2->SetEnabled(*SupportMailAddress != 0);

    bsSkinButton1 = Place<TbsSkinButton>(this, this, "bsSkinButton1", 252, 184, 72, 25);
    bsSkinButton1->SetSkinDataName("button");
    bsSkinButton1->SetCaption("确定");
    bsSkinButton1->OnClick = [this](TObject* Sender) { bsSkinButton1Click(Sender); };
}

void TForm2::bsSkinButton1Click(TObject*)
{
    if (FormState().Contains(fsModal))
        SetModalResult(mrOk);
    else
        Hide();
}
