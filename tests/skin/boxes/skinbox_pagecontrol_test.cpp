// The skinned page control and tab sheets: tab and display rectangles, centring, hiding the
// tabs, the skinned scroller, close buttons, the default look of the tabs, the sheets'
// backgrounds, and the bitmap turning routines.
#include "platform/graphics/ImgList.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class PageTest : public SkinCtlTest {
protected:
    TbsSkinPageControl* Pages(int N, TRect R = Rect(10, 10, 310, 210), int TabWidth = 0)
    {
        auto* PC = Make<TbsSkinPageControl>(R);
        PC->SetTabWidth(TabWidth);
        for (int I = 0; I < N; ++I) {
            auto* S = new TbsSkinTabSheet(Form);
            S->SetCaption("Page " + std::to_string(I));
            S->SetPageControl(PC);
            Sheets.push_back(S);
        }
        PC->UpDateTabs();
        Pump();
        return PC;
    }
    std::vector<TbsSkinTabSheet*> Sheets;
};

TEST(TabBitmaps, TurningAndMirroring)
{
    TBitmap B;
    B.SetSize(3, 2);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 3, 2));
    B.Canvas()->SetPixels(0, 0, clRed);  // top-left
    TBitmap L, R, F;
    L.Assign(&B);
    RotateBitmapLeft(&L);  // (x, y) -> (y, width - 1 - x)
    ASSERT_EQ(L.Width(), 2);
    ASSERT_EQ(L.Height(), 3);
    EXPECT_EQ(L.Canvas()->Pixels(0, 2), TColor(clRed));
    R.Assign(&B);
    RotateBitmapRight(&R);  // (x, y) -> (height - 1 - y, x)
    EXPECT_EQ(R.Canvas()->Pixels(1, 0), TColor(clRed));
    F.Assign(&B);
    FlipBitmapVert(&F);
    EXPECT_EQ(F.Canvas()->Pixels(0, 1), TColor(clRed));
    EXPECT_EQ(F.Canvas()->Pixels(0, 0), TColor(clWhite));
}

TEST_F(PageTest, CentringNeedsAFixedTabWidthAndMovesTheTabs)
{
    auto* PC = Pages(5, Rect(0, 0, 600, 200));
    PC->SetTabsInCenter(true);
    EXPECT_FALSE(PC->TabsInCenter());
    EXPECT_FALSE(PC->TabsBGTransparent());
    PC->SetTabWidth(80);
    PC->SetTabPosition(tpBottom);
    const TRect Before = PC->GetItemRect(0);
    PC->SetTabsInCenter(true);
    EXPECT_TRUE(PC->TabsInCenter());
    EXPECT_EQ(PC->TabPosition(), tpTop);
    EXPECT_TRUE(PC->TabsBGTransparent());
    EXPECT_EQ(PC->GetTabsOffset(), 100);
    const TRect After = PC->GetItemRect(0);
    EXPECT_EQ(After.Width(), 80);
    EXPECT_EQ(After.Left, Before.Left + 100);
    // a click on a moved tab selects it
    const TRect T2 = PC->GetItemRect(2);
    Click(PC, T2.Left + 10, T2.Top + 5);
    EXPECT_EQ(PC->TabIndex(), 2);
    PC->SetWidth(300);
    EXPECT_EQ(PC->GetTabsOffset(), 0);
}

TEST_F(PageTest, HideTabsTwiceThenShowRestoresTheFirstState)
{
    auto* PC = Pages(3);
    PC->SetTabPosition(tpLeft);
    PC->SetMultiLine(true);
    PC->SetTabHeight(25);
    PC->HideTabs();
    EXPECT_TRUE(PC->TabsHidden());
    EXPECT_EQ(PC->TabPosition(), tpTop);
    EXPECT_EQ(PC->TabHeight(), 1);
    PC->HideTabs();
    PC->ShowTabs();
    EXPECT_FALSE(PC->TabsHidden());
    EXPECT_EQ(PC->TabPosition(), tpLeft);
    EXPECT_TRUE(PC->MultiLine());
    EXPECT_EQ(PC->TabHeight(), 25);
    // nothing to hide when no page shows a tab
    for (auto* S : Sheets) S->SetTabVisible(false);
    PC->HideTabs();
    EXPECT_FALSE(PC->TabsHidden());
}

TEST_F(PageTest, DisplayRectangleOfTheDefaultLookAndHiddenBorder)
{
    auto* PC = Pages(2);
    const int TabH = PC->GetItemRect(0).Height();
    EXPECT_EQ(TabH, 20);
    TRect D = PC->DisplayRect();
    EXPECT_EQ(D.Left, 1);
    EXPECT_EQ(D.Right, 299);
    EXPECT_EQ(D.Bottom, 199);
    PC->HideBorderAndTabs();
    EXPECT_EQ(PC->DisplayRect(), Rect(0, 0, 300, 200));
    PC->ShowBorderAndTabs();
    EXPECT_EQ(PC->DisplayRect(), D);
}

TEST_F(PageTest, OverflowingStripGetsASkinnedScrollerThatScrollsTheTabs)
{
    auto* PC = Pages(8, Rect(10, 10, 410, 150));
    PC->SetWidth(200);
    Pump();
    ASSERT_NE(PC->Scroller(), nullptr);
    EXPECT_EQ(PC->Scroller()->Left(), 200 - 40);
    EXPECT_GT(PC->Scroller()->Max(), 0);
    PC->Scroller()->SetPosition(2);
    EXPECT_EQ(PC->GetScrolledTabCount(), 2);
    PC->Scroller()->SetPosition(0);
    EXPECT_EQ(PC->GetScrolledTabCount(), 0);
    PC->SetWidth(1000);
    Pump();
    EXPECT_EQ(PC->Scroller(), nullptr);
}

TEST_F(PageTest, CloseButtonClosesThePageAndAskFirst)
{
    auto* PC = Pages(3);
    PC->SetShowCloseButtons(true);
    EXPECT_EQ(PC->TempImages()->Width(), 1 + 14);
    std::vector<std::string> Log;
    bool Allow = false;
    PC->OnClose = [&](TObject* S, bool& CanClose) {
        Log.push_back("close " + static_cast<TTabSheet*>(S)->Caption());
        CanClose = Allow;
    };
    PC->OnAfterClose = [&](TObject* S) { Log.push_back(S == PC ? "after" : "?"); };
    Pump();
    PC->Repaint();
    Pump();
    const TRect T = PC->GetItemRect(0);
    const TRect B = Sheets[0]->ButtonRect;
    ASSERT_FALSE(B.IsEmpty());
    const TPoint P(T.Left + B.Left + 3, T.Top + B.Top + 3);
    Click(PC, P.X, P.Y);
    EXPECT_EQ(Log, (std::vector<std::string>{"close Page 0"}));
    EXPECT_TRUE(Sheets[0]->TabVisible());
    Allow = true;
    Click(PC, P.X, P.Y);
    EXPECT_FALSE(Sheets[0]->TabVisible());
    EXPECT_EQ(Log.back(), "after");
    // freed on close
    PC->SetFreeOnClose(true);
    PC->Repaint();
    Pump();
    EXPECT_EQ(PC->ActivePage(), Sheets[1]);
    const TRect T1 = PC->GetItemRect(0);
    const TRect B1 = Sheets[1]->ButtonRect;
    Click(PC, T1.Left + B1.Left + 3, T1.Top + B1.Top + 3);
    EXPECT_EQ(PC->PageCount(), 2);
}

TEST_F(PageTest, OnlyAPressAndReleaseOnOneCloseButtonCloseItsPage)
{
    auto* PC = Pages(3);
    PC->SetShowCloseButtons(true);
    std::vector<std::string> Log;
    PC->OnClose = [&](TObject* S, bool&) { Log.push_back(static_cast<TTabSheet*>(S)->Caption()); };
    PC->Repaint();
    Pump();
    auto ButtonPoint = [&](int I) {
        const TRect T = PC->GetItemRect(I), B = Sheets[size_t(I)]->ButtonRect;
        return Point(T.Left + B.Left + 3, T.Top + B.Top + 3);
    };
    const TPoint B0 = ButtonPoint(0);
    const TRect T1 = PC->GetItemRect(1);
    // pressed on tab 1 (not its button), released on tab 0's button
    Down(PC, T1.Left + 4, T1.Top + 4);
    Move(PC, B0.X, B0.Y);
    Up(PC, B0.X, B0.Y);
    // pressed on the page below the tabs, released on tab 0's button
    Down(PC, 100, 150);
    Move(PC, B0.X, B0.Y);
    Up(PC, B0.X, B0.Y);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Sheets[0]->TabVisible());
    EXPECT_TRUE(Sheets[1]->TabVisible());
    // a click on tab 2's button closes page 2
    const TPoint B2 = ButtonPoint(2);
    Click(PC, B2.X, B2.Y);
    EXPECT_EQ(Log, (std::vector<std::string>{"Page 2"}));
    EXPECT_FALSE(Sheets[2]->TabVisible());
    EXPECT_TRUE(Sheets[0]->TabVisible() && Sheets[1]->TabVisible());
}

TEST_F(PageTest, LeftTabsGrowTallerForCloseButtons)
{
    auto* PC = Pages(2);
    PC->SetTabPosition(tpLeft);
    const int H = PC->GetItemRect(0).Height();
    const int W = PC->GetItemRect(0).Width();
    PC->SetShowCloseButtons(true);
    EXPECT_EQ(PC->GetItemRect(0).Height(), H + 14);
    EXPECT_EQ(PC->GetItemRect(0).Width(), W);
    EXPECT_EQ(PC->TempImages()->Height(), 1 + 14);
}

TEST_F(PageTest, DefaultLookOfTheTabs)
{
    auto* PC = Pages(3);
    const TRect T0 = PC->GetItemRect(0), T1 = PC->GetItemRect(1);
    // selected without the focus: dark frame, light fill
    EXPECT_EQ(PixelOf(PC, T0.Left, T0.Top + 5), bsDefaultFrameColor);
    EXPECT_EQ(PixelOf(PC, T0.Left + 2, T0.Top + 2), bsDefaultHotColor);
    EXPECT_EQ(PixelOf(PC, T1.Left + 2, T1.Top + 2), Sys(clBtnFace));
    Move(PC, T1.Left + 5, T1.Top + 5);
    EXPECT_EQ(PC->ActiveTabIndex(), 1);
    EXPECT_EQ(PixelOf(PC, T1.Left, T1.Top + 2), bsDefaultHotColor);  // no frame
    PC->SetFocus();
    Pump();
    EXPECT_EQ(PixelOf(PC, T0.Left + 2, T0.Top + 2), bsDefaultDownColor);
    Headless::MouseMove(Point(2, 2));
    Pump();
    EXPECT_EQ(PC->ActiveTabIndex(), -1);
}

TEST_F(PageTest, OwnerDrawnTabsStillGetTheirPicture)
{
    auto* PC = Pages(2);
    std::vector<int> Drawn;
    PC->OnDrawSkinTab = [&](int I, const TRect& R, bool, bool, TCanvas* C) {
        Drawn.push_back(I);
        EXPECT_EQ(R.Left, 0);
    };
    PC->Repaint();
    Pump();
    EXPECT_EQ(Drawn.size(), 2u);
}

TEST_F(PageTest, SheetBackgroundWallpaperOrButtonFace)
{
    auto* PC = Pages(1);
    TbsSkinTabSheet* S = Sheets[0];
    Pump();
    EXPECT_EQ(PixelOf(S, 20, 20), Sys(clBtnFace));
    TBitmap W;
    W.SetSize(10, 10);
    W.Canvas()->Brush()->SetColor(clLime);
    W.Canvas()->FillRect(Rect(0, 0, 10, 10));
    W.Canvas()->SetPixels(0, 0, clRed);
    S->SetWallPaper(&W);
    S->Invalidate();
    EXPECT_EQ(PixelOf(S, 20, 20), TColor(clRed));
    EXPECT_EQ(PixelOf(S, 25, 25), TColor(clLime));
    EXPECT_EQ(SendMessage(S->Handle(), PaintNonClientToDC, 0, 0), PaintNonClientToDCAnswer);
    (void)PC;
}

// A skinned "tab" record: blue client part, stretched backgrounds.
class SkinnedPages : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        Skin.AddPicture(100, 100, clGray);
        Skin.Paint(0, Rect(4, 4, 46, 46), clBlue);
        Skin.Paint(0, Rect(4, 4, 6, 6), clRed);  // the client part's top-left corner
        Skin.Paint(0, Rect(50, 0, 90, 20), clYellow);   // tab
        Skin.Paint(0, Rect(50, 30, 90, 50), clFuchsia);  // active tab
        R = Skin.Add<TbsDataSkinTabControl>("tab");
        R->PictureIndex = 0;
        R->SkinRect = Rect(0, 0, 50, 50);
        R->ClRect = Rect(4, 4, 46, 46);
        R->LTPoint = Point(4, 4);
        R->RTPoint = Point(46, 4);
        R->LBPoint = Point(4, 46);
        R->RBPoint = Point(46, 46);
        R->TabRect = Rect(50, 0, 90, 20);
        R->ActiveTabRect = Rect(50, 30, 90, 50);
        R->TabLeftOffset = R->TabRightOffset = 3;
        R->FontName = "Tahoma";
        R->FontHeight = 13;
        R->BGPictureIndex = -1;
        R->StretchEffect = true;
        R->StretchType = bsstFull;
    }
    TestSkin Skin;
    TbsDataSkinTabControl* R = nullptr;
};

TEST_F(SkinnedPages, SkinnedTabsAndSheetsStretchedOverTheWholeControl)
{
    auto* PC = Pages(2);
    PC->SetSkinData(Skin.SD);
    Pump();
    EXPECT_EQ(PC->FIndex, 0);
    EXPECT_EQ(PC->GetItemRect(0).Height(), 20);
    const TRect T1 = PC->GetItemRect(1);
    EXPECT_EQ(PixelOf(PC, T1.Left + 4, T1.Top + 3), TColor(clYellow));
    const TRect T0 = PC->GetItemRect(0);
    EXPECT_EQ(PixelOf(PC, T0.Left + 4, T0.Top + 3), TColor(clFuchsia));
    // the sheet shows the top-left of the client part scaled to the page control's size
    TbsSkinTabSheet* S = Sheets[0];
    S->Invalidate();
    EXPECT_EQ(PixelOf(S, 5, 5), TColor(clRed));
    EXPECT_EQ(PixelOf(S, 40, 40), TColor(clBlue));
}

TEST_F(SkinnedPages, ResizingASheetWithAStretchedSkinTellsItsChildren)
{
    auto* PC = Pages(1);
    PC->SetSkinData(Skin.SD);
    auto* Child = Make<TbsSkinListBox>(Rect(5, 5, 60, 60), Sheets[0]);
    Pump();
    int Told = 0;
    Child->WindowProc = [Child, &Told, Old = Child->WindowProc](TMessage& M) {
        if (M.Msg == ParentBackgroundChanged) ++Told;
        Old(M);
    };
    PC->SetWidth(PC->Width() + 20);
    Pump();
    EXPECT_EQ(Told, 1);
    R->StretchEffect = false;
    PC->ChangeSkinData();
    PC->SetWidth(PC->Width() + 20);
    Pump();
    EXPECT_EQ(Told, 1);
    (void)Child;
}

TEST_F(SkinnedPages, BottomTabsAreMirroredAndTheSelectedOneStandsOut)
{
    Skin.Paint(0, Rect(50, 0, 90, 10), clYellow);   // the tab's outer half
    Skin.Paint(0, Rect(50, 10, 90, 20), clOlive);   // its inner half
    Skin.Paint(0, Rect(50, 30, 90, 53), clFuchsia);
    R->ActiveTabRect = Rect(50, 30, 90, 53);  // 3 pixels higher than the tab
    auto* PC = Pages(2);
    PC->SetTabPosition(tpBottom);
    PC->SetSkinData(Skin.SD);
    Pump();
    const TRect T1 = PC->GetItemRect(1);
    EXPECT_EQ(PixelOf(PC, T1.Left + 4, T1.Bottom - 2), TColor(clYellow));
    EXPECT_EQ(PixelOf(PC, T1.Left + 4, T1.Top + 2), TColor(clOlive));
    const TRect T0 = PC->GetItemRect(0);
    EXPECT_EQ(PixelOf(PC, T0.Left + 4, T0.Top - 2), TColor(clFuchsia));
}

TEST_F(SkinnedPages, TheFormFramesSkinWalkReachesThePageControl)
{
    auto* PC = Pages(1);
    PC->SetSkinDataName("tab");
    auto* Frame = new TbsSkinFormFrame(Form);
    // the link is set without the writer: only the walk reads the skin
    EXPECT_EQ(PC->FIndex, -1);
    PC->SetSkinData(nullptr);
    Skin.SD->Empty = true;
    PC->SetSkinData(Skin.SD);
    Skin.SD->Empty = false;
    EXPECT_EQ(PC->FIndex, -1);
    Frame->ChangeControls(Skin.SD, Form);
    EXPECT_EQ(PC->FIndex, 0);
    EXPECT_EQ(PC->GetItemRect(0).Height(), 20);
}

}  // namespace
