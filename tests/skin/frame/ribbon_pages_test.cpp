// The ribbon's pages: the scroll range and its steps as the content and the page change
// size, the scroll buttons in the non-client area under real clicks, and the page
// background from the ribbon's skin with its fallbacks.
#include "frame/ribbon_support.h"

using namespace ribbontest;

namespace {

class RibbonPages : public RibbonTest {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        ShowForm();
        Ribbon->SetAlign(alNone);
        // unskinned page area: (1, 26, Width - 2, 86)
        Ribbon->SetBounds(0, 0, 302, 115);
        Page = AddTab("Home")->Page();
        Pump();
        Child = new TCustomControl(Form);
        Child->SetBounds(0, 10, 500, 40);
        Child->SetParent(Page);
        Page->GetScrollInfo();
    }
    int ChildRight() { return Child->Left() + Child->Width(); }
    TbsRibbonPage* Page = nullptr;
    TCustomControl* Child = nullptr;
};

TEST_F(RibbonPages, ContentPastTheViewShowsTheButtonsAndMeasuresTheNarrowedClient)
{
    EXPECT_EQ(Page->Width(), 300);
    EXPECT_TRUE(Page->ButtonsVisible());
    EXPECT_EQ(Page->ClientWidth(), 276);
    EXPECT_EQ(Page->SMax, 499);
    // measured after the buttons took their strips, not before
    EXPECT_EQ(Page->SPage, 276);
}

TEST_F(RibbonPages, TheFirstForwardStepReachesTheContentsEnd)
{
    Page->ScrollStep(true);
    // clamped at SMax - SPage + 1 = 224: the content's end meets the view's right edge
    EXPECT_EQ(Page->SPosition, 224);
    EXPECT_EQ(ChildRight(), Page->ClientWidth());
    Page->ScrollStep(true);  // at the end: nothing moves
    EXPECT_EQ(Page->SPosition, 224);
    Page->ScrollStep(false);
    EXPECT_EQ(Page->SPosition, 0);
    EXPECT_EQ(Child->Left(), 0);
}

TEST_F(RibbonPages, ASmallerStepAndWideningAtTheRightEndShiftsBack)
{
    Page->SetScrollOffset(100);
    Page->ScrollStep(true);
    EXPECT_EQ(Page->SPosition, 100);
    EXPECT_EQ(Child->Left(), -100);
    Page->ScrollStep(true);
    Page->ScrollStep(true);
    EXPECT_EQ(Page->SPosition, 224);
    // the page grows by 100 while scrolled to the end: the content comes back right
    Ribbon->SetBounds(0, 0, 402, 115);
    Page->UpDateSize();
    EXPECT_EQ(Page->Width(), 400);
    EXPECT_EQ(Page->SPosition, 124);
    EXPECT_EQ(Page->SPage, 376);
    EXPECT_EQ(ChildRight(), Page->ClientWidth());
    // everything fits: the content returns home and the buttons go
    Ribbon->SetBounds(0, 0, 602, 115);
    Page->UpDateSize();
    EXPECT_EQ(Child->Left(), 0);
    EXPECT_EQ(Page->SPosition, 0);
    EXPECT_EQ(Page->SMax, 0);
    EXPECT_FALSE(Page->ButtonsVisible());
    EXPECT_EQ(Page->ClientWidth(), 600);
}

TEST_F(RibbonPages, ContentNarrowedWhileScrolledMeetsTheRightEdge)
{
    Page->ScrollStep(true);
    ASSERT_EQ(Page->SPosition, 224);
    Child->SetWidth(400);  // right edge now 176 on a client of 276
    Page->GetScrollInfo();
    EXPECT_EQ(ChildRight(), Page->ClientWidth());
    EXPECT_EQ(Page->SPosition, 124);
    EXPECT_EQ(Page->SMax, 399);
}

TEST_F(RibbonPages, ClicksOnTheScrollButtonsStepOncePerClick)
{
    const int CW = Page->ClientWidth();
    // the right button lies in the non-client strip right of the client area
    const TPoint R = Page->ClientToScreen(Point(CW + 6, 20));
    EXPECT_EQ(SendMessage(Page->Handle(), WM_NCHITTEST, 0, PointToLParam(R)), 120);
    Headless::MouseMove(R);
    Headless::MouseDown(R);
    Headless::MouseUp(R);
    Pump();
    EXPECT_EQ(Page->SPosition, 224);
    EXPECT_FALSE(Page->ScrollTimerRunning());
    const TPoint L = Page->ClientToScreen(Point(-6, 20));
    EXPECT_EQ(SendMessage(Page->Handle(), WM_NCHITTEST, 0, PointToLParam(L)), 119);
    Headless::MouseMove(L);
    Headless::MouseDown(L);
    Headless::MouseUp(L);
    Pump();
    EXPECT_EQ(Page->SPosition, 0);
}

TEST_F(RibbonPages, HoldingAButtonRepeatsUntilTheEnd)
{
    Page->SetScrollOffset(50);
    const TPoint R = Page->ClientToScreen(Point(Page->ClientWidth() + 6, 20));
    Headless::MouseMove(R);
    Headless::MouseDown(R);
    Pump();
    for (int I = 0; I < 10; ++I) Wait(50);
    EXPECT_EQ(Page->SPosition, 224);
    EXPECT_FALSE(Page->ScrollTimerRunning());  // stopped at the end
    Headless::MouseUp(R);
    Pump();
}

// ---- the page background ---------------------------------------------------------------------

class RibbonPageBG : public RibbonTest {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        Data = AddOfficeTab(Skin.SD);
        Page = AddTab("Home")->Page();
    }
    TColor BGPixel(int X, int Y)
    {
        TBitmap B(Page->Width(), Page->Height());
        Page->PaintBG(B.Canvas()->Handle());
        return B.Canvas()->Pixels(X, Y) & 0xFFFFFF;
    }
    skinctl::TestSkin Skin;
    TbsDataSkinTabControl* Data = nullptr;
    TbsRibbonPage* Page = nullptr;
};

TEST_F(RibbonPageBG, FallsBackFromAMissingOrEmptyPictureToTheClientTileThenTheFace)
{
    // unskinned: the button face
    EXPECT_EQ(BGPixel(5, 5), ColorToRGB(clBtnFace));
    Ribbon->SetSkinData(Skin.SD);
    // no background picture: the record's client part, tiled
    EXPECT_EQ(BGPixel(5, 5), ClientPart);
    // a background picture
    const TColor BG = RGB(1, 2, 3);
    Data->BGPictureIndex = Skin.AddPicture(8, 8, BG);
    EXPECT_EQ(BGPixel(5, 5), BG);
    EXPECT_EQ(BGPixel(Page->Width() - 1, Page->Height() - 1), BG);
    // an index outside the pictures, or an empty picture: as if there were none
    Data->BGPictureIndex = 77;
    EXPECT_EQ(BGPixel(5, 5), ClientPart);
    Skin.SD->FActivePictures.push_back(std::make_unique<TBitmap>());
    Data->BGPictureIndex = int(Skin.SD->FActivePictures.size()) - 1;
    EXPECT_EQ(BGPixel(5, 5), ClientPart);
    // a record picture outside the list: the face
    Data->PictureIndex = 55;
    EXPECT_EQ(BGPixel(5, 5), ColorToRGB(clBtnFace));
}

}  // namespace
