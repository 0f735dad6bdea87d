// The skinned slider: range and value rules, the value <-> pixel mapping, dragging,
// jumping towards a press on the ruler, keys, orientation, pictures and the skin.
#include "skingfx_support.h"

#include <vector>

using namespace skingfx;

namespace {

class Slider : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        S = Add<TbsSkinSlider>(TRect(10, 10, 160, 50));
        S->OnChange = [this](TObject*) { Changes.push_back(S->Value()); };
        S->OnChanged = [this](TObject*) { ++Changed; };
    }
    TbsSkinSlider* S = nullptr;
    std::vector<int> Changes;
    int Changed = 0;
};

}  // namespace

TEST_F(Slider, Defaults)
{
    EXPECT_EQ(S->MinValue(), 0);
    EXPECT_EQ(S->MaxValue(), 100);
    EXPECT_EQ(S->Increment(), 10);
    EXPECT_EQ(S->Value(), 0);
    EXPECT_EQ(S->NumThumbStates(), 2);
    EXPECT_EQ(S->EdgeSize(), 2);
    EXPECT_EQ(S->Options(), (TbsSliderOptions{soShowFocus, soShowPoints, soSmooth}));
    EXPECT_TRUE(S->TabStop());
    EXPECT_EQ(S->SkinDataName(), "slider");
    // built-in pictures of the given sizes
    EXPECT_EQ(S->Image(siHThumb)->Width(), 10);
    EXPECT_EQ(S->Image(siHThumb)->Height(), 15);
    EXPECT_EQ(S->Image(siHRuler)->Width(), 10);
    EXPECT_EQ(S->Image(siHRuler)->Height(), 7);
    EXPECT_EQ(S->Image(siVThumb)->Width(), 31);
    EXPECT_EQ(S->Image(siVRuler)->Height(), 10);
    // layout: ruler 12 pixels shorter than the slider, thumb of half the two-state picture
    EXPECT_EQ(S->Ruler()->Width(), 138);
    EXPECT_EQ(S->ThumbRect(), TRect(6, 6, 11, 21));
    EXPECT_EQ(S->RulerOrg(), TPoint(6, 10));
    EXPECT_EQ(S->PointsRect(), TRect(6, 22, 144, 39));
}

TEST_F(Slider, RangeAndValueRules)
{
    S->SetMaxValue(0);
    EXPECT_EQ(S->MaxValue(), 100);
    S->SetMinValue(100);
    EXPECT_EQ(S->MinValue(), 0);
    S->SetValue(150);
    EXPECT_EQ(S->Value(), 100);
    EXPECT_EQ(Changes, std::vector<int>{100});
    S->SetValue(100);
    EXPECT_EQ(Changes.size(), 1u);
    S->SetMaxValue(5);
    EXPECT_EQ(S->Increment(), 5);
    EXPECT_EQ(S->Value(), 5);
    S->SetIncrement(0);
    EXPECT_EQ(S->Increment(), 5);
    EXPECT_EQ(Changed, 0);  // code never raises OnChanged
}

TEST_F(Slider, ValueAndPixelMapping)
{
    // L = 138 - 5 = 133; pixel = Round(133 * v / 100) + 6, ties to even
    struct Case {
        int V, P;
    } Cases[] = {{0, 6}, {10, 19}, {50, 72}, {100, 139}};
    for (const Case& K : Cases) {
        EXPECT_EQ(S->ValueToPixel(K.V), K.P) << K.V;
        EXPECT_EQ(S->PixelToValue(K.P), K.V) << K.P;
    }
    EXPECT_EQ(S->PixelToValue(0), 0);
    EXPECT_EQ(S->PixelToValue(500), 100);
    S->SetValue(50);
    EXPECT_EQ(S->ThumbRect().Left, 72);
}

TEST_F(Slider, DraggingWithoutSmoothSnapsToIncrements)
{
    S->SetOptions({soShowPoints});
    Show();
    Press(S, 8, 12);  // on the thumb
    EXPECT_TRUE(S->Sliding());
    std::vector<int> Lefts;
    for (int X = 10; X <= 80; X += 3) {
        MoveTo(S, X, 12);
        EXPECT_EQ(S->Value() % 10, 0) << X;
        EXPECT_EQ(S->ThumbRect().Left, S->ValueToPixel(S->Value())) << X;
    }
    Release(S, 80, 12);
    EXPECT_FALSE(S->Sliding());
    EXPECT_EQ(S->Value(), 50);  // thumb at 80 - 2 (the grip offset): value 54, snapped to 50
    EXPECT_EQ(Changed, 1);
    EXPECT_FALSE(Changes.empty());
    for (int V : Changes) EXPECT_EQ(V % 10, 0);
}

TEST_F(Slider, DraggingSmoothFollowsTheMouse)
{
    Show();
    Press(S, 8, 12);
    MoveTo(S, 47, 12);  // thumb left at 45
    EXPECT_EQ(S->ThumbRect().Left, 45);
    EXPECT_EQ(S->Value(), S->PixelToValue(45));
    MoveTo(S, 400, 12);
    EXPECT_EQ(S->Value(), 100);
    EXPECT_EQ(S->ThumbRect().Left, 139);
    Release(S, 400, 12);
    EXPECT_EQ(Changed, 1);
}

TEST_F(Slider, PressingTheRulerJumpsTowardsTheMouseEvery400ms)
{
    S->SetValue(50);
    Changes.clear();
    Show();
    Press(S, 30, 12);
    EXPECT_EQ(S->Value(), 40);  // at once
    Headless::AdvanceTime(399);
    Pump();
    EXPECT_EQ(S->Value(), 40);
    Headless::AdvanceTime(1);
    Pump();
    EXPECT_EQ(S->Value(), 30);
    Wait(2000);
    EXPECT_EQ(S->Value(), 10);  // the thumb has passed the mouse: jumping stops
    EXPECT_EQ(Changes, (std::vector<int>{40, 30, 20, 10}));
    EXPECT_EQ(Changed, 0);
    Release(S, 30, 12);
    EXPECT_EQ(Changed, 1);
    Wait(1000);
    EXPECT_EQ(S->Value(), 10);
}

TEST_F(Slider, PressOutsideTheRulerDoesNothing)
{
    S->SetValue(50);
    Show();
    Press(S, 30, 35);  // below the ruler (ruler 10..17, widened by 3)
    Release(S, 30, 35);
    EXPECT_EQ(S->Value(), 50);
    EXPECT_EQ(Changed, 0);
}

TEST_F(Slider, KeysStepAndRaiseBothEvents)
{
    Show();
    S->SetFocus();
    S->SetValue(42);
    Changes.clear();
    Headless::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(S->Value(), 50);  // Increment * Round(4.2) + Increment
    Headless::Key(VK_LEFT);
    Pump();
    EXPECT_EQ(S->Value(), 40);
    Headless::Key(VK_END);
    Pump();
    EXPECT_EQ(S->Value(), 100);
    Headless::Key(VK_HOME);
    Pump();
    EXPECT_EQ(S->Value(), 0);
    Headless::Key(VK_UP);  // not for a horizontal slider
    Pump();
    EXPECT_EQ(S->Value(), 0);
    EXPECT_EQ(Changes, (std::vector<int>{50, 40, 100, 0}));
    EXPECT_EQ(Changed, 4);
}

TEST_F(Slider, VerticalHasItsMinimumAtTheBottom)
{
    S->SetOrientation(soVertical);
    EXPECT_EQ(S->Width(), 40);
    EXPECT_EQ(S->Height(), 150);
    EXPECT_GT(S->ValueToPixel(0), S->ValueToPixel(100));
    EXPECT_EQ(S->ValueToPixel(100), 6);
    Show();
    S->SetFocus();
    Headless::Key(VK_UP);
    Pump();
    EXPECT_EQ(S->Value(), 10);
    Headless::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(S->Value(), 0);
    // a press above the thumb steps up
    Press(S, 12, 20);
    EXPECT_EQ(S->Value(), 10);
    Release(S, 12, 20);
}

TEST_F(Slider, ReplacedPicturesAndTheirReset)
{
    TBitmap Thumb(20, 9);
    S->SetOptions({soThumbOpaque, soRulerOpaque});
    S->SetImage(siHThumb, &Thumb);
    EXPECT_TRUE(S->UserImages().Contains(siHThumb));
    EXPECT_EQ(S->ThumbRect().Width(), 10);
    EXPECT_EQ(S->ThumbRect().Height(), 9);
    S->SetImage(siHThumb, nullptr);
    EXPECT_FALSE(S->UserImages().Contains(siHThumb));
    EXPECT_EQ(S->Image(siHThumb)->Width(), 10);
    EXPECT_FALSE(S->Options().Contains(soThumbOpaque));
    EXPECT_TRUE(S->Options().Contains(soRulerOpaque));
    // an edge wider than half the ruler picture is refused
    S->SetEdgeSize(5);
    EXPECT_EQ(S->EdgeSize(), 2);
    S->SetEdgeSize(4);
    EXPECT_EQ(S->EdgeSize(), 4);
}

TEST_F(Slider, DefaultLookPaintsBackgroundRulerThumbAndScale)
{
    S->SetColor(RGB(10, 200, 10));
    S->SetValue(50);
    Show();
    EXPECT_EQ(At(10 + 4, 10 + 4), RGB(10, 200, 10));
    // the thumb (normal state) in the button face, its border in the shadow colour
    EXPECT_EQ(At(10 + 74, 10 + 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(10 + 72, 10 + 12), ColorToRGB(clBtnShadow));
    // the first and last ticks are 5 pixels long, in the window text colour, under the thumb's middle
    const int X0 = 10 + S->ValueToPixel(0) + 2, X1 = 10 + S->ValueToPixel(100) + 2;
    EXPECT_EQ(At(X0, 10 + 22), ColorToRGB(clWindowText));
    EXPECT_EQ(At(X0, 10 + 26), ColorToRGB(clWindowText));
    EXPECT_EQ(At(X0, 10 + 27), RGB(10, 200, 10));
    EXPECT_EQ(At(X1, 10 + 26), ColorToRGB(clWindowText));
    // a middle tick is 3 pixels long
    const int XM = 10 + S->ValueToPixel(50) + 2;
    EXPECT_EQ(At(XM, 10 + 24), ColorToRGB(clWindowText));
    EXPECT_EQ(At(XM, 10 + 25), RGB(10, 200, 10));
    // the pressed thumb takes the second state
    Press(S, 73, 12);
    EXPECT_EQ(At(10 + 74, 10 + 12), bsDefaultDownColor);
    Release(S, 73, 12);
}

TEST_F(Slider, SkinnedRulerAndThumbComeFromTheRecord)
{
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinSlider>(Skin, "slider");
    R->PictureIndex = 0;
    R->HRulerRect = TRect(0, 0, 30, 20);   // a normal face as the ruler
    R->HThumbRect = TRect(0, 20, 30, 40);  // active face | active face: two states of 15
    R->EdgeSize = 3;
    R->BGColor = RGB(0, 90, 0);
    R->PointsColor = RGB(200, 0, 200);
    S->SetSkinData(Skin);
    S->SetValue(0);
    EXPECT_EQ(S->Ruler()->Height(), 20);
    EXPECT_EQ(S->ThumbRect(), TRect(6, 6, 21, 26));
    Show();
    EXPECT_EQ(At(14, 14), RGB(0, 90, 0));
    EXPECT_EQ(At(10 + 100, 10 + 15), FaceNormal);   // ruler middle
    EXPECT_EQ(At(10 + 12, 10 + 15), FaceActive);    // thumb
    EXPECT_EQ(At(10 + S->ValueToPixel(0) + 7, 10 + 28), RGB(200, 0, 200));  // a tick
    // a skin change re-reads the record
    R->BGColor = RGB(0, 0, 90);
    S->ChangeSkinData();
    Pump();
    EXPECT_EQ(At(14, 14), RGB(0, 0, 90));
    S->SetSkinData(nullptr);
    S->ChangeSkinData();
    EXPECT_EQ(S->ThumbRect().Width(), 5);
}

TEST_F(Slider, FocusShowsADottedRectangle)
{
    S->SetColor(RGB(10, 200, 10));
    Show();
    S->SetFocus();
    Pump();
    EXPECT_EQ(At(10 + 2, 10 + 2), ColorToRGB(S->Font()->Color()));
    S->SetOptions({soShowPoints, soSmooth});
    Pump();
    EXPECT_EQ(At(10 + 2, 10 + 2), RGB(10, 200, 10));
}

TEST_F(Slider, TransparentShowsTheParentsBackground)
{
    Form->SetColor(RGB(0, 100, 200));
    S->SetTransparent(true);
    S->SetOptions({});
    Show();
    EXPECT_EQ(At(10 + 100, 10 + 35), RGB(0, 100, 200));
    S->SetTransparent(false);
    S->SetColor(RGB(1, 2, 3));
    Pump();
    EXPECT_EQ(At(10 + 100, 10 + 35), RGB(1, 2, 3));
}
