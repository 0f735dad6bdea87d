// Skinned hints: line breaks, timing of the component's own hints through the message
// loop, sizes in the default and the skinned look, placement at the work area's edges,
// the one active component, titles and images, and the fade-in.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/core/bsUtils.h"

namespace {

class SkinHint : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Headless::MouseMove(Point(600, 600));  // away from the forms and the screen's edges
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(100, 100, 400, 300);
        Main->Show();
        Pump();
        Hint = new TbsSkinHint(Main);
    }
    void TearDown() override
    {
        delete SD;
        DoneForms();
    }
    void Pump() { Application->ProcessMessages(); }
    void Wait(uint64_t Ms)
    {
        Headless::AdvanceTime(Ms);
        Pump();
    }
    TbsSkinHintWindow* W() { return Hint->Window(); }
    bool Shown() { return Hint->IsVisible(); }
    // The text's size as the hint measures it in its default font.
    TSize TextSize(const String& Text)
    {
        TBitmap B(10, 10);
        B.Canvas()->SetFont(Hint->DefaultFont());
        TRect R(0, 0, 0, 0);
        DrawWideText(B.Canvas(), Hint->InsertLineBreaks(Text), R, DT_LEFT | DT_NOPREFIX | DT_CALCRECT);
        return TSize{R.Width(), R.Height()};
    }
    TForm* Main = nullptr;
    TbsSkinHint* Hint = nullptr;
    TbsSkinData* SD = nullptr;
};

TEST_F(SkinHint, SeparatorsBecomeLineBreaksEachOnce)
{
    const struct {
        const char* Sep;
        const char* In;
        const char* Out;
    } Cases[] = {
        {"@", "one@two", "one\n\rtwo"},
        {"@", "plain", "plain"},
        {"@", "@a@@", "\n\ra\n\r\n\r"},
        {"\n", "a\nb", "a\n\rb"},  // a separator that is itself a line feed is not found again
        {"", "a@b", "a@b"},
    };
    for (const auto& C : Cases) {
        Hint->SetLineSeparator(C.Sep);
        EXPECT_EQ(Hint->InsertLineBreaks(C.In), C.Out) << C.In;
    }
}

TEST_F(SkinHint, TimedHintShowsAfterThePauseAndGoesAfterTheHidePause)
{
    Hint->ActivateHint2("first");
    Wait(400);
    Hint->ActivateHint2("second");  // restarts the wait
    Wait(400);
    EXPECT_FALSE(Shown());
    Wait(100);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(W()->Text(), "second");
    // below the cursor: at the cursor plus the cursor's height
    const TPoint C = GetCursorPos();
    EXPECT_EQ(W()->Left(), C.X);
    EXPECT_EQ(W()->Top(), C.Y + Hint->GetCursorHeightMargin());
    Wait(2400);
    EXPECT_TRUE(Shown());
    Wait(100);
    EXPECT_FALSE(Shown());
    // hidden while pending: nothing shows
    Hint->ActivateHint2("third");
    Wait(200);
    Hint->HideHint();
    Wait(1000);
    EXPECT_FALSE(Shown());
}

TEST_F(SkinHint, DefaultLookSizeAndLines)
{
    Hint->ActivateHint(Point(200, 200), "one line");
    ASSERT_TRUE(Shown());
    const TSize One = TextSize("one line");
    EXPECT_EQ(W()->Width(), One.cx + 4);
    EXPECT_EQ(W()->Height(), One.cy + 4);
    EXPECT_EQ(W()->Left(), 200);
    EXPECT_EQ(W()->Top(), 200);
    EXPECT_EQ(Headless::PixelColor(W()->Handle(), Point(0, 0)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Headless::PixelColor(W()->Handle(), Point(1, W()->Height() - 2)), ColorToRGB(clInfoBk));
    Hint->ActivateHint(Point(200, 200), "one@two");
    EXPECT_GT(W()->Height(), One.cy + 4);
    EXPECT_EQ(W()->Height(), TextSize("one@two").cy + 4);
}

TEST_F(SkinHint, AHintPastTheEdgesFlipsToTheOtherSideOfItsPoint)
{
    Hint->ActivateHint(Point(1275, 990), "edge");
    const int Wd = W()->Width(), H = W()->Height();
    EXPECT_EQ(W()->Left(), 1275 - (Wd + 2));
    EXPECT_EQ(W()->Top(), 990 - (H + 2));
    // centred below a rectangle after the pause
    Hint->ActivateHint3(Rect(300, 300, 400, 320), "below", false);
    Wait(500);
    EXPECT_EQ(W()->Left(), 300 + 50 - W()->Width() / 2);
    EXPECT_EQ(W()->Top(), 320);
    Hint->ActivateHint3(Rect(300, 300, 400, 320), "above", true);
    Wait(500);
    EXPECT_EQ(W()->Top(), 300 - W()->Height());
}

TEST_F(SkinHint, OneActiveComponentGivesTheSettings)
{
    auto* Other = new TbsSkinHint(Main);
    EXPECT_EQ(TbsSkinHint::FindSkinHint(), Hint);  // the first active one in component order
    Other->SetActive(true);
    EXPECT_FALSE(Hint->Active());
    EXPECT_EQ(TbsSkinHint::FindSkinHint(), Other);
    // the window shows with the active component's settings, whoever asks
    Hint->ActivateHint(Point(200, 200), "x");
    EXPECT_EQ(W()->SettingsComponent(), Other);
    // with no active component no hint shows
    Other->SetActive(false);
    Hint->HideHint();
    Hint->ActivateHint(Point(200, 200), "y");
    EXPECT_FALSE(Shown());
}

TEST_F(SkinHint, TitleAndImageWidenTheHint)
{
    auto* IL = new TImageList(Main);
    IL->SetSize(16, 16);
    TBitmap B(16, 16);
    IL->Add(&B, nullptr);
    Hint->ActivateHintEx(Point(200, 200), "A rather long title", "text", 0, IL);
    ASSERT_TRUE(Shown());
    EXPECT_TRUE(W()->ExtendedStyle());
    const TSize T = TextSize("text"), TT = TextSize("A rather long title");
    EXPECT_EQ(W()->Width(), std::max(T.cx, TT.cx) + 16 + 10 + 4);
    EXPECT_EQ(W()->Height(), std::max(T.cy + TT.cy + 10, 16 + TT.cy + 5) + 4);
    // an index outside the list leaves no room for an image
    Hint->ActivateHintEx(Point(200, 200), "", "text", 5, IL);
    EXPECT_EQ(W()->Width(), T.cx + 4);
}

TEST_F(SkinHint, SkinnedCornersNeverCrossForAShortText)
{
    SD = new TbsSkinData(nullptr);
    auto P = std::make_unique<TBitmap>(40, 20);
    P->Canvas()->Brush()->SetColor(RGB(10, 100, 10));
    P->Canvas()->FillRect(Rect(0, 0, 40, 20));
    SD->FActivePictures.push_back(std::move(P));
    TbsDataSkinHintWindow* R = SD->HintWindow.get();
    R->WindowPictureIndex = 0;
    R->MaskPictureIndex = -1;
    R->LTPoint = Point(15, 3);
    R->RTPoint = Point(25, 3);
    R->LBPoint = Point(15, 17);
    R->RBPoint = Point(25, 17);
    R->ClRect = Rect(2, 2, 38, 18);
    R->FontName = "Tahoma";
    R->FontHeight = 13;
    SD->Empty = false;
    Hint->SetSkinData(SD);
    Hint->ActivateHint(Point(200, 200), "");
    ASSERT_TRUE(Shown());
    EXPECT_EQ(W()->Width(), 30);
    EXPECT_EQ(W()->Height(), 6);
    EXPECT_EQ(W()->NewRTPoint, Point(15, 3));
    EXPECT_EQ(W()->NewLBPoint, Point(15, 3));
    EXPECT_EQ(Headless::PixelColor(W()->Handle(), Point(1, 1)), RGB(10, 100, 10));
}

TEST_F(SkinHint, FadeInRisesByATenthOfTheValue)
{
    Hint->AlphaBlend = true;
    Hint->AlphaBlendAnimation = true;
    Hint->AlphaBlendValue = 200;
    Hint->ActivateHint(Point(200, 200), "fade");
    ASSERT_EQ(W()->FadeSteps.size(), 10u);
    EXPECT_EQ(W()->FadeSteps.front(), 20);
    EXPECT_EQ(W()->FadeSteps.back(), 200);
    EXPECT_TRUE(W()->Layered());
    // without the animation the value is applied at once; off again, the window is opaque
    Hint->AlphaBlendAnimation = false;
    Hint->AlphaBlendValue = 120;
    Hint->ActivateHint(Point(200, 200), "fade");
    EXPECT_EQ(W()->AppliedAlpha(), 120);
    Hint->AlphaBlend = false;
    Hint->ActivateHint(Point(200, 200), "fade");
    EXPECT_FALSE(W()->Layered());
}

TEST_F(SkinHint, ApplicationHintsTakeTheControlsTitle)
{
    auto* Panel = new TbsSkinPanel(Main);
    Panel->SetParent(Main);
    Panel->SetBounds(10, 10, 100, 50);
    Panel->SetHint("panel hint");
    Panel->SetShowHint(true);
    Panel->SetHintTitle("Title");
    Headless::MouseMove(Panel->ClientToScreen(Point(20, 20)));
    Pump();
    Wait(Application->HintPause);
    auto* HW = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(HW, nullptr);
    EXPECT_TRUE(HW->ExtendedStyle());
    EXPECT_EQ(Hint->HintTitle(), "Title");
    EXPECT_EQ(HW->Text(), "panel hint");
    // a destroyed component hears of no further hint
    delete Hint;
    Hint = nullptr;
    Headless::MouseMove(Point(600, 600));
    Pump();
    Headless::MouseMove(Panel->ClientToScreen(Point(30, 30)));
    Pump();
    Wait(Application->HintPause);
}

}  // namespace
