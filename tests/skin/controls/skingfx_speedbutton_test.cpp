// The skinned speed button under real routed mouse input: its looks by state (default
// and skinned), groups, check mode, repeat, clicks, flat and transparent modes, the
// morph and the frame animation.
#include "skingfx_support.h"

#include <vector>

using namespace skingfx;

namespace {

class SpeedButton : public FormTest {
protected:
    TbsSkinSpeedButton* Button(TRect R = TRect(10, 10, 60, 40))
    {
        auto* B = Add<TbsSkinSpeedButton>(R);
        B->OnClick = [this](TObject* S) {
            Clicks.push_back(S);
            ClickTimes.push_back(Headless::Now());
        };
        return B;
    }
    int ClicksOf(TObject* B) { return int(std::count(Clicks.begin(), Clicks.end(), B)); }
    std::vector<TObject*> Clicks;
    std::vector<uint64_t> ClickTimes;
};

}  // namespace

TEST_F(SpeedButton, DefaultLookByState)
{
    auto* B = Button();
    auto* Far = Add<TbsGraphicSkinCustomControl>(TRect(200, 200, 210, 210));
    Show();
    // at rest: a frame darker than the button face, a button-face fill
    EXPECT_EQ(At(10, 10), DarkenColor(clBtnFace, 15));
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
    // hot
    MoveTo(B, 20, 20);
    EXPECT_TRUE(B->MouseIn());
    EXPECT_EQ(At(10, 10), bsDefaultFrameColor);
    EXPECT_EQ(At(12, 12), bsDefaultHotColor);
    // pressed
    Press(B);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(At(10, 10), bsDefaultFrameColor);
    EXPECT_EQ(At(12, 12), bsDefaultDownColor);
    Release(B);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(At(12, 12), bsDefaultHotColor);
    // away again
    MoveTo(Far, 2, 2);
    EXPECT_FALSE(B->MouseIn());
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(ClicksOf(B), 1);
}

TEST_F(SpeedButton, ReleasingOutsideGivesNoClick)
{
    auto* B = Button();
    Show();
    Press(B);
    EXPECT_TRUE(B->Down());
    Release(B, 150, 150);
    EXPECT_FALSE(B->Down());
    EXPECT_TRUE(Clicks.empty());
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButton, DraggingOutAndBackChangesTheLook)
{
    auto* B = Button();
    Show();
    Press(B);
    MoveTo(B, 150, 150);
    EXPECT_FALSE(B->MouseIn());
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));  // down but not under the mouse: up look
    MoveTo(B, 6, 6);
    EXPECT_TRUE(B->MouseIn());
    EXPECT_EQ(At(12, 12), bsDefaultDownColor);
    Release(B, 6, 6);
    EXPECT_EQ(ClicksOf(B), 1);
}

TEST_F(SpeedButton, GroupButtonsRaiseEachOther)
{
    auto* A = Button(TRect(10, 10, 60, 40));
    auto* B = Button(TRect(70, 10, 120, 40));
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    Show();
    ClickOn(A);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(ClicksOf(A), 1);  // a group button clicks on the press
    ClickOn(B);
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down());
    EXPECT_EQ(ClicksOf(B), 1);
    // a down group button stays down, shows pressed even without the mouse, no click
    ClickOn(B);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(ClicksOf(B), 1);
    MoveTo(A, 100, 100);
    EXPECT_EQ(At(72, 12), bsDefaultDownColor);
    // with AllowAllUp the release of a down button raises it and clicks
    B->SetAllowAllUp(true);
    Press(B);
    EXPECT_TRUE(B->Down());
    Release(B);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(ClicksOf(B), 2);
}

TEST_F(SpeedButton, DownByCodeFiresNoClickAndAllowAllUpKeepsOthersDown)
{
    auto* A = Button(TRect(10, 10, 60, 40));
    auto* B = Button(TRect(70, 10, 120, 40));
    A->SetGroupIndex(2);
    B->SetGroupIndex(2);
    A->SetDown(true);
    B->SetDown(true);
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(Clicks.empty());
    A->SetAllowAllUp(true);
    A->SetDown(true);
    EXPECT_TRUE(A->Down());
    EXPECT_TRUE(B->Down());
}

TEST_F(SpeedButton, CheckModeClicksOnPressThenOnRelease)
{
    auto* B = Button();
    B->SetCheckedMode(true);
    EXPECT_EQ(B->GroupIndex(), -1);
    Show();
    Press(B);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(ClicksOf(B), 1);
    Release(B);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(ClicksOf(B), 1);
    Press(B);
    EXPECT_EQ(ClicksOf(B), 1);
    Release(B);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(ClicksOf(B), 2);
    B->SetCheckedMode(false);
    EXPECT_EQ(B->GroupIndex(), 0);
}

TEST_F(SpeedButton, RepeatClicksEveryIntervalAfterHalfASecond)
{
    auto* B = Button();
    B->SetRepeatMode(true);
    B->SetRepeatInterval(100);
    Show();
    const uint64_t Start = Headless::Now();
    Press(B);
    EXPECT_TRUE(Clicks.empty());
    Wait(1000, 5);
    ASSERT_EQ(Clicks.size(), 5u);
    for (size_t I = 0; I < 5; ++I) {
        const int64_t At = int64_t(ClickTimes[I] - Start);
        EXPECT_NEAR(At, 600 + 100 * int(I), 10) << I;
    }
    Release(B);
    EXPECT_EQ(Clicks.size(), 6u);
    Wait(500);
    EXPECT_EQ(Clicks.size(), 6u);
}

TEST_F(SpeedButton, RepeatStopsWhileTheMouseIsOutside)
{
    auto* B = Button();
    B->SetRepeatMode(true);
    Show();
    Press(B);
    Wait(700);
    const size_t N = Clicks.size();
    EXPECT_GT(N, 0u);
    MoveTo(B, 200, 200);
    Wait(500);
    EXPECT_EQ(Clicks.size(), N);
    MoveTo(B, 5, 5);  // back: the repeat starts again with its first delay
    Wait(450);
    EXPECT_EQ(Clicks.size(), N);
    Wait(150);
    EXPECT_GT(Clicks.size(), N);
    Release(B);
}

TEST_F(SpeedButton, FlatTransparentButtonShowsOnlyItsContentUntilHovered)
{
    auto* B = Button();
    B->SetFlat(true);
    EXPECT_TRUE(B->Transparent());
    Show();
    EXPECT_EQ(At(12, 12), FormColor);
    EXPECT_EQ(At(10, 10), FormColor);
    MoveTo(B, 20, 20);
    EXPECT_FALSE(B->Transparent());
    EXPECT_EQ(At(10, 10), bsDefaultFrameColor);
    EXPECT_EQ(At(12, 12), bsDefaultHotColor);
    MoveTo(B, 200, 200);
    EXPECT_TRUE(B->Transparent());
    EXPECT_EQ(At(12, 12), FormColor);
}

TEST_F(SpeedButton, FlatOpaqueAtRestFillsWithButtonFaceWithoutFrame)
{
    auto* B = Button();
    B->SetFlat(true);
    B->SetTransparent(false);
    Show();
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButton, SkinnedFacesByState)
{
    FillTestSkin(Skin);
    auto* B = Button();
    auto* Far = Add<TbsGraphicSkinCustomControl>(TRect(200, 200, 210, 210));
    B->SetSkinData(Skin);
    Show();
    EXPECT_EQ(B->FIndex, 0);
    EXPECT_EQ(At(30, 25), FaceNormal);
    EXPECT_EQ(At(10, 10), EdgeColor);
    MoveTo(B, 20, 20);
    EXPECT_EQ(At(30, 25), FaceActive);
    Press(B);
    EXPECT_EQ(At(30, 25), FaceDown);
    Release(B);
    EXPECT_EQ(At(30, 25), FaceActive);
    MoveTo(Far, 1, 1);
    EXPECT_EQ(At(30, 25), FaceNormal);
    B->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(30, 25), FaceDisabled);
}

TEST_F(SpeedButton, SkinRecordFallbacksAndFontColours)
{
    FillTestSkin(Skin);
    auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get());
    R->ActiveSkinRect = TRect();
    R->DownSkinRect = TRect();
    R->DisabledFontColor = R->FontColor;
    R->MenuMarkerRect = TRect(1, 1, 5, 5);
    R->MenuMarkerDownRect = TRect(6, 6, 9, 9);
    auto* B = Button();
    B->SetSkinData(Skin);
    B->GetSkinData();
    EXPECT_EQ(B->ActiveSkinRect, Band(0));
    EXPECT_EQ(B->DownSkinRect, Band(0));
    EXPECT_EQ(B->DisabledFontColor, RGB(128, 128, 128));
    EXPECT_EQ(B->MenuMarkerActiveRect, TRect(1, 1, 5, 5));
    EXPECT_EQ(B->MenuMarkerDownRect, TRect(6, 6, 9, 9));
    EXPECT_EQ(B->MenuMarkerFlatRect, TRect(1, 1, 5, 5));
    B->SetSkinData(nullptr);
    B->GetSkinData();
    EXPECT_TRUE(IsEmptyRect(B->ActiveSkinRect));
}

TEST_F(SpeedButton, CaptionIsDrawnInTheStatesFontColour)
{
    FillTestSkin(Skin);
    auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get());
    R->FontColor = RGB(0, 0, 0);
    R->DownFontColor = RGB(255, 255, 0);
    auto* B = Button(TRect(10, 10, 110, 50));
    B->SetCaption("WWWW");
    B->SetSkinData(Skin);
    Show();
    // pixels of the (smoothed) text close to colour C
    auto Count = [&](TColor C) {
        int N = 0;
        for (int Y = 12; Y < 48; ++Y)
            for (int X = 12; X < 108; ++X) {
                const TColor P = At(X, Y);
                N += std::abs(GetRValue(P) - GetRValue(C)) + std::abs(GetGValue(P) - GetGValue(C)) +
                         std::abs(GetBValue(P) - GetBValue(C)) < 90;
            }
        return N;
    };
    EXPECT_GT(Count(RGB(0, 0, 0)), 10);
    Press(B);
    EXPECT_GT(Count(RGB(255, 255, 0)), 10);
    EXPECT_EQ(Count(RGB(0, 0, 0)), 0);
    Release(B);
}

TEST_F(SpeedButton, MorphCrossFadesTowardsTheHotLook)
{
    FillTestSkin(Skin);
    dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get())->Morphing = true;
    auto* B = Button();
    B->SetSkinData(Skin);
    Show();
    MoveTo(B, 20, 20);
    EXPECT_EQ(B->MorphKf(), 0);
    Headless::AdvanceTime(20);
    Pump();
    EXPECT_NEAR(B->MorphKf(), 0.2, 1e-9);
    const TColor Mid = At(30, 25);
    EXPECT_GT(GetRValue(Mid), GetRValue(FaceActive));
    EXPECT_LT(GetRValue(Mid), GetRValue(FaceNormal));
    EXPECT_GT(GetGValue(Mid), GetGValue(FaceNormal));
    Wait(200);
    EXPECT_EQ(B->MorphKf(), 1);
    EXPECT_EQ(At(30, 25), FaceActive);
    MoveTo(B, 200, 200);
    Wait(200);
    EXPECT_EQ(B->MorphKf(), 0);
    EXPECT_EQ(At(30, 25), FaceNormal);
    // without skin effects there is no morph
    Skin->SetEnableSkinEffects(false);
    MoveTo(B, 20, 20);
    EXPECT_EQ(At(30, 25), FaceActive);
}

TEST_F(SpeedButton, FrameAnimationShowsTheFramesInTurn)
{
    FillTestSkin(Skin);
    auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get());
    R->AnimateSkinRect = TRect(0, 80, 30, 120);  // two stacked frames
    R->FrameCount = 2;
    R->AnimateInterval = 50;
    auto* B = Button();
    B->SetSkinData(Skin);
    Show();
    MoveTo(B, 20, 20);
    EXPECT_EQ(B->CurrentFrame, 1);
    EXPECT_EQ(At(30, 25), FaceFrame1);
    Headless::AdvanceTime(50);
    Pump();
    EXPECT_EQ(B->CurrentFrame, 2);
    EXPECT_EQ(At(30, 25), FaceFrame2);
    Wait(200);
    EXPECT_EQ(B->CurrentFrame, 0);
    EXPECT_EQ(At(30, 25), FaceActive);
}

TEST_F(SpeedButton, SkinChangeReReadsTheRecord)
{
    FillTestSkin(Skin);
    auto* B = Button();
    B->SetSkinData(Skin);
    Show();
    EXPECT_EQ(At(30, 25), FaceNormal);
    B->BeforeChangeSkinData();
    dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get())->SkinRect = Band(3);
    B->ChangeSkinData();
    Pump();
    EXPECT_EQ(At(30, 25), FaceDisabled);
}

TEST_F(SpeedButton, FixedSizeSkinRecordSetsTheButtonsSize)
{
    FillTestSkin(Skin);
    auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Skin->CtrlList[0].get());
    R->RTPoint = R->LBPoint = R->RBPoint = TPoint(0, 0);
    auto* B = Button(TRect(10, 10, 90, 70));
    B->SetSkinData(Skin);
    EXPECT_EQ(B->Width(), 30);
    EXPECT_EQ(B->Height(), 20);
    // without UseSkinSize the size stays and the face is stretched
    B->SetUseSkinSize(false);
    B->SetBounds(10, 10, 80, 60);
    EXPECT_EQ(B->Width(), 80);
    Show();
    EXPECT_EQ(At(50, 40), FaceNormal);
}

TEST_F(SpeedButton, ShowCaptionSwitchesBetweenTheTwoWidths)
{
    auto* B = Button();
    B->SetWidthWithCaption(70);
    B->SetWidthWithoutCaption(30);
    B->SetShowCaption(false);
    EXPECT_EQ(B->Width(), 30);
    B->SetShowCaption(true);
    EXPECT_EQ(B->Width(), 70);
}

TEST_F(SpeedButton, RefreshButtonReturnsToRest)
{
    auto* B = Button();
    Show();
    Press(B);
    B->RefreshButton();
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MouseIn());
    Pump();
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
    Release(B);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(SpeedButton, AcceleratorClicks)
{
    auto* B = Button();
    B->SetCaption("&Go");
    Show();
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'G', 0), 1);
    EXPECT_EQ(ClicksOf(B), 1);
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'X', 0), 0);
    B->SetEnabled(false);
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'G', 0), 0);
    EXPECT_EQ(ClicksOf(B), 1);
}

TEST_F(SpeedButton, DisabledButtonIgnoresHover)
{
    auto* B = Button();
    B->SetEnabled(false);
    Show();
    MoveTo(B, 20, 20);
    EXPECT_FALSE(B->MouseIn());
    EXPECT_EQ(At(12, 12), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButton, MarginBelowMinusOneIsIgnored)
{
    auto* B = Button();
    B->SetMargin(4);
    B->SetMargin(-2);
    EXPECT_EQ(B->Margin(), 4);
    B->SetNumGlyphs(9);
    EXPECT_EQ(B->NumGlyphs(), 4);
}

TEST_F(SpeedButton, GlyphOfTheStripFollowsTheState)
{
    // four 10 x 10 glyphs: normal, disabled, pressed, hot
    const TColor G[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255)};
    TBitmap Strip(40, 10);
    for (int I = 0; I < 4; ++I) {
        Strip.Canvas()->Brush()->SetColor(G[I]);
        Strip.Canvas()->FillRect(TRect(I * 10, 0, I * 10 + 10, 10));
    }
    for (int I = 0; I < 4; ++I) Strip.Canvas()->SetPixels(I * 10, 9, RGB(1, 1, 1));  // transparent colour
    auto* B = Button();
    auto* Far = Add<TbsGraphicSkinCustomControl>(TRect(200, 200, 210, 210));
    B->SetGlyph(&Strip);
    B->SetNumGlyphs(4);
    Show();
    EXPECT_EQ(At(35, 25), G[0]);
    MoveTo(B, 5, 5);
    EXPECT_EQ(At(35, 25), G[3]);
    Press(B);
    EXPECT_EQ(At(35, 25), G[2]);
    Release(B);
    MoveTo(Far, 1, 1);
    B->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(35, 25), G[1]);
    B->SetNumGlyphs(1);  // the whole strip is one glyph, centred
    Pump();
    EXPECT_EQ(At(35, 25), G[2]);
}
