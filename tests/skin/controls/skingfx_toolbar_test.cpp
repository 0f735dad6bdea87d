// Windowless skinned controls on a skinned tool bar: centred in the bar, and speed buttons
// drawing the bar's images (hot, normal, disabled).
#include "skingfx_support.h"

using namespace skingfx;

namespace {

class OnToolBar : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Bar = Add<TbsSkinToolBar>(TRect(0, 0, 300, 40));
    }
    // An image list of 16 x 16 images of one colour each.
    TImageList* Images(TColor C)
    {
        auto* L = new TImageList(Form);
        L->SetSize(16, 16);
        TBitmap B(16, 16);
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect(TRect(0, 0, 16, 16));
        L->Add(&B, nullptr);
        return L;
    }
    TbsSkinToolBar* Bar = nullptr;
};

}  // namespace

TEST_F(OnToolBar, ControlsStayCentredVertically)
{
    const TRect R = Bar->SkinClientRect();
    auto* Bevel = Add<TbsSkinBevel>(TRect(10, 0, 12, 20), Bar);
    const int Centred = R.Top + R.Height() / 2 - 10;
    EXPECT_EQ(Bevel->Top(), Centred);
    Bevel->SetTop(3);
    EXPECT_EQ(Bevel->Top(), Centred);
    auto* B = Add<TbsSkinSpeedButton>(TRect(20, 0, 45, 25), Bar);
    EXPECT_EQ(B->Top(), R.Top + R.Height() / 2 - 12);
    Bar->SetAdjustControls(false);
    Bevel->SetTop(3);
    EXPECT_EQ(Bevel->Top(), 3);
}

TEST_F(OnToolBar, SpeedButtonsDrawTheBarsImages)
{
    Bar->SetImages(Images(RGB(255, 0, 0)));
    Bar->SetHotImages(Images(RGB(0, 255, 0)));
    Bar->SetDisabledImages(Images(RGB(0, 0, 255)));
    auto* B = Add<TbsSkinSpeedButton>(TRect(20, 0, 50, 30), Bar);
    auto* Far = Add<TbsSkinBevel>(TRect(200, 0, 210, 10), Bar);
    B->SetImageIndex(0);
    Show();
    const TPoint Mid = B->ClientToScreen(TPoint(15, 15));
    const TPoint F = Form->ClientToScreen(TPoint(0, 0));
    auto Centre = [&] { return At(Mid.X - F.X, Mid.Y - F.Y); };
    EXPECT_EQ(Centre(), RGB(255, 0, 0));
    MoveTo(B, 5, 5);
    EXPECT_EQ(Centre(), RGB(0, 255, 0));
    MoveTo(Far, 1, 1);
    B->SetEnabled(false);
    Pump();
    EXPECT_EQ(Centre(), RGB(0, 0, 255));  // drawn as enabled, not greyed
    // a glyph takes precedence over the bar's images
    TBitmap G(8, 8);
    G.Canvas()->Brush()->SetColor(RGB(9, 9, 9));
    G.Canvas()->FillRect(TRect(0, 0, 8, 8));
    G.Canvas()->SetPixels(0, 7, RGB(1, 1, 1));
    B->SetEnabled(true);
    B->SetGlyph(&G);
    Pump();
    EXPECT_EQ(Centre(), RGB(9, 9, 9));
}
