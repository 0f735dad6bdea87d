// A skin that loads but cannot be painted, on a real display: loading it raises once, no
// error is reported paint by paint, and the form keeps showing the skin it had.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "display_pump.h"
#include "frame/frame_support.h"
#include "frame_display_probe.h"
#include "platform/windows/Backend.h"
#include "test_files.h"

using displaypump::PumpUntil;
using displaypump::Settle;

using namespace frametest;

namespace {

// Paints the skin's "panel" record strictly: the record's rectangle cut out of its picture,
// and an error when the picture does not hold the rectangle.  A skin whose panel lies
// outside its picture therefore loads but cannot be painted.
class TStrictSkinPanel : public TCustomControl {
public:
    TStrictSkinPanel(TComponent* AOwner, TbsSkinData* ASkinData) : TCustomControl(AOwner), SD(ASkinData) {}

protected:
    void Paint() override
    {
        const int I = SD->GetControlIndex("panel");
        if (I < 0) return;
        const TbsDataSkinControl* R = SD->CtrlList[size_t(I)].get();
        TBitmap* P = SD->ActivePicture(R->PictureIndex);
        const TRect& S = R->SkinRect;
        if (!P || S.Left < 0 || S.Top < 0 || S.Right > P->Width() || S.Bottom > P->Height())
            throw EInvalidGraphic("The panel's rectangle lies outside its picture");
        Canvas()->CopyRect(ClientRect(), P->Canvas(), S);
    }

private:
    TbsSkinData* SD;
};

constexpr TColor OtherCaption = RGB(40, 160, 60);

class UnpaintableSkinDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        ASSERT_TRUE(framedisplay::Open());
        InitForms();
        Opened = true;
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 10, 10);
        SD = new TbsSkinData(Main);
        SD->SetShowLayeredBorders(false);

        // the good skin: the frame skin with a panel record inside its button picture; the
        // broken one: another caption colour and the panel far outside that picture
        FillFrameSkin(SD);
        SD->FPictureName = "frame.bmp";
        SD->FMaskName = "mask.bmp";
        SD->FActivePicturesNames->Add("looks.bmp");
        auto Panel = std::make_unique<TbsDataSkinPanelControl>("panel");
        Panel->PictureIndex = 0;
        Panel->SkinRect = Rect(0, 0, 16, 16);
        SD->CtrlList.push_back(std::move(Panel));
        std::filesystem::create_directories(std::string(Dir.Path + "/good"));
        std::filesystem::create_directories(std::string(Dir.Path + "/broken"));
        SD->StoreToDisk(Good);
        SD->FPicture->Canvas()->Brush()->SetColor(OtherCaption);
        SD->FPicture->Canvas()->FillRect(Rect(4, 4, 96, 24));
        SD->CtrlList.back()->SkinRect = Rect(0, 0, 400, 400);
        SD->StoreToDisk(Broken);
        SD->LoadFromFile(Good);

        Form = new TForm(Application);
        Form->AfterConstruction();
        Frame = new TbsSkinFormFrame(Form);
        Frame->SetSkinData(SD);
        Form->SetCaption("Skin");
        Form->SetBounds(120, 140, 300, 200);
        auto* Strict = new TStrictSkinPanel(Form, SD);
        Strict->SetParent(Form);
        Strict->SetBounds(20, 20, 40, 40);
        Application->OnException = [this](TObject*, Exception* E) {
            ++Reported;
            LastReport = E ? E->Message() : String();
        };
    }
    void TearDown() override
    {
        if (!Opened) return;
        Application->OnException = nullptr;
        DoneForms();
        framedisplay::Close();
    }
    TColor At(int X, int Y) { return TColor(framedisplay::ScreenPixel(Form->Left() + X, Form->Top() + Y)); }

    const vctest::TScratch Dir{"skinpaint"};
    const String Good = Dir.Path + "/good/skin.ini", Broken = Dir.Path + "/broken/skin.ini";
    bool Opened = false;
    TForm* Main = nullptr;
    TForm* Form = nullptr;
    TbsSkinData* SD = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
    int Reported = 0;
    String LastReport;
};

TEST_F(UnpaintableSkinDisplay, LoadRaisesOnceAndTheFormKeepsItsSkin)
{
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return At(150, 6) == CaptionColor; })) << std::hex << At(150, 6);
    ASSERT_EQ(Reported, 0) << LastReport;

    String Raised;
    try {
        SD->LoadFromFile(Broken);
    } catch (const Exception& E) {
        Raised = E.Message();
    }
    EXPECT_NE(Raised.find("The panel's rectangle lies outside its picture"), String::npos) << "raised: " << Raised;
    // repaints come and go: none of them fails, and the caption is the first skin's
    Form->Invalidate();
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    Settle();
    EXPECT_EQ(Reported, 0) << "errors reported by painting, the last: " << LastReport;
    EXPECT_TRUE(PumpUntil([&] { return At(150, 6) == CaptionColor; })) << std::hex << At(150, 6);
    EXPECT_EQ(SD->CtrlList.at(size_t(SD->GetControlIndex("panel")))->SkinRect, Rect(0, 0, 16, 16));
    EXPECT_FALSE(SD->Empty);

    // the good skin loads again as it did
    SD->LoadFromFile(Good);
    Settle();
    EXPECT_EQ(Reported, 0) << LastReport;
}

}  // namespace
