// The skinned scroll box: ranges of its linked bars from its children, keeping the content in
// place when it shrinks or the box grows while scrolled, scrolling, the frame, focus on click.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class ScrollBoxTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Box = Make<TbsSkinScrollBox>(Rect(10, 10, 160, 160));
        VBar = Make<TbsSkinScrollBar>(Rect(170, 10, 189, 160));
        VBar->SetKind(sbVertical);
        HBar = Make<TbsSkinScrollBar>(Rect(10, 170, 160, 189));
        Child = Make<TbsSkinPanel>(Rect(0, 0, 100, 100), Box);
        Box->SetVScrollBar(VBar);
        Box->SetHScrollBar(HBar);
        Pump();
    }
    void ChildHeight(int H)
    {
        Child->SetHeight(H);
        Box->UpDateScrollRange();
    }
    TbsSkinScrollBox* Box = nullptr;
    TbsSkinScrollBar *VBar = nullptr, *HBar = nullptr;
    TbsSkinPanel* Child = nullptr;
};

TEST_F(ScrollBoxTest, BarsAppearWhenAChildNoLongerFits)
{
    EXPECT_EQ(Box->ClientHeight(), 148);  // the default frame is one pixel wide
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
    EXPECT_EQ(VBar->Max(), 0);
    EXPECT_EQ(VBar->PageSize(), 0);
    ChildHeight(300);
    EXPECT_TRUE(VBar->Visible());
    EXPECT_EQ(VBar->Max(), 299);
    EXPECT_EQ(VBar->PageSize(), 148);
    EXPECT_FALSE(HBar->Both());  // follows at the next computation
    Box->UpDateScrollRange();
    EXPECT_TRUE(HBar->Both());
    // moving the bar moves the children
    VBar->SetPosition(30);
    EXPECT_EQ(Child->Top(), -30);
    Box->VScroll(1000);
    EXPECT_EQ(VBar->Position(), 299 - 148);
    EXPECT_EQ(Child->Top(), -(299 - 148));
}

TEST_F(ScrollBoxTest, ShrinkingContentWhileScrolledMovesItBack)
{
    ChildHeight(300);
    VBar->SetPosition(50);
    ASSERT_EQ(Child->Top(), -50);
    ChildHeight(168);  // its bottom now lies 30 pixels above the client's bottom
    EXPECT_EQ(Child->Top(), -20);
    EXPECT_EQ(VBar->Position(), 20);
    EXPECT_TRUE(VBar->Visible());
    // content that fits goes back to the origin and the bar goes
    ChildHeight(100);
    EXPECT_EQ(Child->Top(), 0);
    EXPECT_FALSE(VBar->Visible());
    EXPECT_EQ(VBar->Position(), 0);
}

TEST_F(ScrollBoxTest, AnAlignedBoxThatGrowsWhileScrolledShowsItsContentFromTheTop)
{
    Box->SetAlign(alTop);
    Box->SetHeight(150);
    ChildHeight(200);
    VBar->SetPosition(25);
    ASSERT_EQ(Child->Top(), -25);
    Box->SetHeight(190);
    EXPECT_EQ(Child->Top(), 0);
    EXPECT_EQ(VBar->Position(), 0);
    EXPECT_TRUE(VBar->Visible());
    EXPECT_EQ(VBar->Max(), 199);
}

TEST_F(ScrollBoxTest, VScrollStopsAtTheLastPage)
{
    ChildHeight(501);
    Box->VScroll(1000);
    EXPECT_EQ(VBar->Position(), 500 - 148);
    Box->SetVScrollBar(nullptr);
    Box->VScroll(10);  // no bar: nothing
    EXPECT_EQ(VBar->Position(), 500 - 148);
}

TEST_F(ScrollBoxTest, FrameStylesAndTheNonClientAnswers)
{
    EXPECT_EQ(SendMessage(Box->Handle(), PaintNonClientToDC, 0, 0), 0);
    TBitmap B;
    B.SetSize(150, 150);
    EXPECT_EQ(SendMessage(Box->Handle(), PaintNonClientToDC, WPARAM(B.Canvas()->Handle()), 0),
              PaintNonClientToDCAnswer);
    EXPECT_EQ(B.Canvas()->Pixels(0, 0), Sys(clBtnShadow));
    Box->SetBorderStyle(bvRaised);
    SendMessage(Box->Handle(), PaintNonClientToDC, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(B.Canvas()->Pixels(149, 149), Sys(clBtnHighlight));
    EXPECT_EQ(B.Canvas()->Pixels(0, 5), Sys(clBtnShadow));
    Box->SetBorderStyle(bvNone);
    Pump();
    EXPECT_EQ(Box->ClientHeight(), 150);
    EXPECT_EQ(SendMessage(Box->Handle(), PaintNonClientToDC, WPARAM(B.Canvas()->Handle()), 0), 0);
    EXPECT_EQ(SendMessage(Box->Handle(), PaintNonClientToDCEx, WPARAM(B.Canvas()->Handle()), 16802), 16802);
}

TEST_F(ScrollBoxTest, ACanFocusedBoxTakesTheFocusOnClick)
{
    Click(Box, 120, 120);
    EXPECT_FALSE(Box->Focused());
    Box->SetCanFocused(true);
    Click(Box, 120, 120);
    EXPECT_TRUE(Box->Focused());
}

TEST_F(ScrollBoxTest, SkinnedFrameAndTiledBackground)
{
    TestSkin Skin;
    Skin.AddPicture(40, 40, clGray);
    Skin.Paint(0, Rect(3, 3, 37, 37), clBlue);
    auto* R = Skin.Add<TbsDataSkinScrollBoxControl>("scrollbox");
    NinePiece(R, 40, 40, 3);
    R->BGPictureIndex = -1;
    Box->SetSkinData(Skin.SD);
    Pump();
    EXPECT_EQ(Box->ClientHeight(), 150 - 6);
    EXPECT_EQ(PixelOf(Box, 100, 100), TColor(clBlue));
    // a background picture: no frame
    Skin.AddPicture(10, 10, clLime);
    R->BGPictureIndex = 1;
    Box->ChangeSkinData();
    Pump();
    EXPECT_EQ(Box->ClientHeight(), 150);
    EXPECT_EQ(PixelOf(Box, 100, 100), TColor(clLime));
    // a picture the skin does not hold counts as none
    R->BGPictureIndex = 7;
    Box->ChangeSkinData();
    Pump();
    EXPECT_EQ(Box->BGPictureIndex, -1);
    EXPECT_EQ(PixelOf(Box, 100, 100), TColor(clBlue));
}

}  // namespace

TEST_F(ScrollBoxTest, AGrowthIsSpentOnceWhenTheContentLaterShrinks)
{
    Child->SetWidth(200);
    Box->UpDateScrollRange();
    HBar->SetPosition(50);
    ASSERT_EQ(Child->Left(), -50);
    Box->SetWidth(180);  // 30 more: the content moves back by as much
    EXPECT_EQ(Child->Left(), -20);
    EXPECT_EQ(HBar->Position(), 20);
    // narrower content later moves back only by the room it leaves, as vertically
    Child->SetWidth(190);
    Box->UpDateScrollRange();
    EXPECT_EQ(Child->Left(), -12);
    EXPECT_EQ(HBar->Position(), 12);
}
