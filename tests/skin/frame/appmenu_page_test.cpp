// The application menu page's vertical scrolling: the range, the steps, the two scroll
// buttons in its non-client area, and its background.
#include "frame/appmenu_support.h"

using namespace appmenutest;

namespace {

class AppMenuPageTest : public AppMenuTest {
protected:
    void SetUp() override
    {
        AppMenuTest::SetUp();
        Page = new TbsAppMenuCustomPage(Form);
        Page->SetParent(Form);
        Page->SetBounds(10, 10, 150, 200);
        Page->SetCanScroll(true);
        Page->FStopScroll = false;
        Child = new TEdit(Form);
        Child->SetParent(Page);
        Child->SetBounds(0, 200, 50, 60);  // reaches to 260
        Pump();
    }
    int ChildTop() { return Child->Top(); }

    TbsAppMenuCustomPage* Page = nullptr;
    TEdit* Child = nullptr;
};

// Children below the client area show both buttons; the range is measured on the client
// area the buttons leave, so the first forward step reaches the very end.
TEST_F(AppMenuPageTest, ContentBelowTheClientShowsTheButtonsAndTheFirstStepReachesTheEnd)
{
    Page->GetScrollInfo();
    EXPECT_TRUE(Page->Buttons[0].Visible);
    EXPECT_TRUE(Page->Buttons[1].Visible);
    EXPECT_EQ(Page->ClientHeight(), 176);
    const int Top0 = ChildTop();
    EXPECT_EQ(Page->SMax, Top0 + 60 - 1);
    EXPECT_EQ(Page->SPage, 176);
    Page->ScrollStep(true);  // ScrollOffset 0: a step of the client height, clamped
    EXPECT_EQ(Page->SPosition, Page->SMax - Page->SPage + 1);
    EXPECT_EQ(ChildTop() + Child->Height(), Page->ClientHeight());  // the last row shows
    Page->ScrollStep(true);  // at the end: nothing moves
    EXPECT_EQ(ChildTop() + Child->Height(), Page->ClientHeight());
    Page->ScrollStep(false);
    EXPECT_EQ(Page->SPosition, 0);
    EXPECT_EQ(ChildTop(), Top0);
}

TEST_F(AppMenuPageTest, StepsOfTheScrollOffset)
{
    Page->SetScrollOffset(20);
    Page->SetScrollOffset(-4);  // refused
    EXPECT_EQ(Page->ScrollOffset(), 20);
    Page->GetScrollInfo();
    const int Top0 = ChildTop();
    struct {
        bool Down;
        int Position;
    } Steps[] = {{true, 20}, {true, 40}, {false, 20}, {false, 0}, {false, 0}};
    for (auto& S : Steps) {
        Page->ScrollStep(S.Down);
        EXPECT_EQ(Page->SPosition, S.Position);
        EXPECT_EQ(ChildTop(), Top0 - S.Position);
    }
}

// Enlarging a scrolled page moves its children down by the growth and lowers the position.
TEST_F(AppMenuPageTest, EnlargingAScrolledPageShiftsTheChildrenBack)
{
    Page->GetScrollInfo();
    Page->ScrollStep(true);  // to the end: the last row at the client's bottom
    ASSERT_EQ(Page->SPosition, 84);
    const int Top = ChildTop();
    Page->SetBounds(10, 10, 150, 230);
    Pump();
    EXPECT_EQ(Page->SPosition, 54);
    EXPECT_EQ(Page->SMax, 259);
    EXPECT_EQ(ChildTop(), Top + 30);
    EXPECT_TRUE(Page->Buttons[0].Visible);
}

// When everything fits again the children go home and the buttons away.
TEST_F(AppMenuPageTest, EverythingFittingResetsTheRange)
{
    Page->SetScrollOffset(40);
    Page->GetScrollInfo();
    Page->ScrollStep(true);
    Child->SetBounds(Child->Left(), Child->Top() - 180, 50, 10);  // home at 20 .. 30
    Page->GetScrollInfo();
    EXPECT_EQ(Page->SPosition, 0);
    EXPECT_EQ(Page->SMax, 0);
    EXPECT_FALSE(Page->Buttons[0].Visible);
    EXPECT_EQ(Page->ClientHeight(), 200);
    EXPECT_EQ(ChildTop(), 20);
}

TEST_F(AppMenuPageTest, ASuspendedPageMeasuresNothing)
{
    Page->FStopScroll = true;
    Page->GetScrollInfo();
    EXPECT_FALSE(Page->Buttons[0].Visible);
    EXPECT_EQ(Page->SMax, 0);
}

// The buttons answer their own hit codes; a press and release on the lower one scrolls
// one step; holding it repeats on the timer until the end.
TEST_F(AppMenuPageTest, TheLowerButtonScrollsByPressAndByHolding)
{
    Page->AppMenu = Menu;  // the buttons' rectangles follow the size only in a menu
    Page->SetScrollOffset(10);
    Page->GetScrollInfo();
    Page->UpDateSize();
    Pump();
    const TPoint Low = Page->ClientToScreen(Point(20, Page->ClientHeight() + 5));
    const TPoint High = Page->ClientToScreen(Point(20, -5));
    EXPECT_EQ(SendMessage(Page->Handle(), WM_NCHITTEST, 0, PointToLParam(Low)), HTAPPMENUSCROLLDOWN);
    EXPECT_EQ(SendMessage(Page->Handle(), WM_NCHITTEST, 0, PointToLParam(High)), HTAPPMENUSCROLLUP);
    // the buttons in the default look: a shadow frame around a face with a dark arrow
    auto Shown = [&](TPoint Client) {
        Pump();
        const TPoint S = Page->ClientToScreen(Client);
        const TPoint O = Form->ClientToScreen(Point(0, 0));
        return Headless::PixelColor(Form->Handle(), Point(S.X - O.X, S.Y - O.Y));
    };
    EXPECT_EQ(Shown(Point(0, -6)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Shown(Point(3, -6)), ColorToRGB(clBtnFace));
    EXPECT_EQ(Shown(Point(3, Page->ClientHeight() + 6)), ColorToRGB(clBtnFace));
    int Arrow = 0;
    for (int X = 0; X < Page->Width(); ++X) Arrow += Shown(Point(X, -6)) == ColorToRGB(clBtnText);
    EXPECT_GT(Arrow, 0);
    Headless::MouseMove(Low);
    Headless::MouseDown(Low);
    Headless::MouseUp(Low);
    Pump();
    EXPECT_EQ(Page->SPosition, 10);
    Headless::MouseMove(Low);
    Headless::MouseDown(Low);
    Pump();
    for (int I = 0; I < 20; ++I) {
        Headless::AdvanceTime(50);
        Pump();
    }
    Headless::MouseUp(Low);
    Pump();
    EXPECT_EQ(Page->SPosition, Page->SMax - Page->SPage + 1);
    EXPECT_EQ(Page->TimerMode, 0);
}

// The page of a skinned menu paints the record's client part; without a skin the window
// colour.
TEST_F(AppMenuTest, APageBackgroundComesFromTheMenuSkin)
{
    ShowMenu();
    TbsAppMenuItem* It = AddItem(true);
    Menu->SetItemIndex(0);
    Pump();
    TbsAppMenuPage* P = It->Page();
    const TPoint Mid = Point(P->Width() / 2, P->Height() / 2);
    EXPECT_EQ(Headless::PixelColor(P->Handle(), Mid), ColorToRGB(clWindow));
    auto* SD = new TbsSkinData(Form);
    AddAppMenuSkin(SD, false);
    Menu->SetSkinData(SD);
    P->Invalidate();
    Pump();
    EXPECT_EQ(Headless::PixelColor(P->Handle(), Mid), PageClient);
}

}  // namespace
