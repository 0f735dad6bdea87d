// The application menu driven by keys, wheel and pointer, and the application button.
#include "frame/appmenu_support.h"

using namespace appmenutest;

namespace {

class AppMenuKeys : public AppMenuTest {
protected:
    void SetUp() override
    {
        AppMenuTest::SetUp();
        // 0 acting, 1 disabled, 2 hidden, 3 page, 4 page with a first active control, 5 acting
        for (int I = 0; I < 6; ++I) {
            TbsAppMenuItem* It = AddItem(I == 3 || I == 4);
            It->OnClick = [this, I](TObject* Sender) {
                Clicked = I;
                ClickSender = Sender;
            };
        }
        Menu->Items()->Items(1)->SetEnabled(false);
        Menu->Items()->Items(2)->SetVisible(false);
        Edit = new TEdit(Form);
        Edit->SetParent(Menu->Items()->Items(4)->Page());
        Edit->SetBounds(10, 10, 80, 20);
        Menu->Items()->Items(4)->Page()->SetFirstActiveControl(Edit);
        Ribbon->ShowAppMenu();
        Pump();
    }
    int Clicked = -1;
    TObject* ClickSender = nullptr;
    TEdit* Edit = nullptr;
};

TEST_F(AppMenuKeys, ArrowsAndPageKeysSkipDisabledAndHiddenItems)
{
    struct {
        int From, VK, To;
    } Cases[] = {
        {0, VK_DOWN, 3},  {0, VK_RIGHT, 3}, {3, VK_UP, 0},    {3, VK_LEFT, 0}, {0, VK_UP, 0},
        {5, VK_DOWN, 5},  {0, VK_NEXT, 5},  {5, VK_PRIOR, 0}, {3, VK_DOWN, 4}, {4, VK_DOWN, 5},
    };
    for (auto& C : Cases) {
        Menu->SetItemIndex(C.From);
        Key(C.VK);
        EXPECT_EQ(Menu->ItemIndex(), C.To) << C.From << " key " << C.VK;
    }
}

TEST_F(AppMenuKeys, PageKeysSelectNothingWhenNoItemQualifies)
{
    for (int I = 0; I < Menu->Items()->Count(); ++I) Menu->Items()->Items(I)->SetEnabled(false);
    Menu->SetItemIndex(-1);
    Key(VK_NEXT);
    Key(VK_PRIOR);
    Key(VK_DOWN);
    EXPECT_EQ(Menu->ItemIndex(), -1);
}

// Enter and Space on an acting item close the menu and run its OnClick with the ribbon
// as Sender; Tab moves on.
TEST_F(AppMenuKeys, EnterAndSpaceRunAnActingItem)
{
    for (int VK : {VK_RETURN, VK_SPACE}) {
        Clicked = -1;
        Ribbon->ShowAppMenu();
        Pump();
        Menu->SetItemIndex(5);
        Key(VK);
        EXPECT_EQ(Clicked, 5) << VK;
        EXPECT_EQ(ClickSender, Ribbon);
        EXPECT_FALSE(Menu->Visible());
    }
    Ribbon->ShowAppMenu();
    Pump();
    Clicked = -1;
    Menu->SetItemIndex(0);
    Key(VK_TAB);
    EXPECT_EQ(Menu->ItemIndex(), 3);
    EXPECT_EQ(Clicked, -1);
    EXPECT_TRUE(Menu->Visible());
}

// On a page item: the page's first active control takes the focus; without one Enter and
// Space do nothing and Tab moves on.
TEST_F(AppMenuKeys, EnterOnAPageItemFocusesItsFirstActiveControl)
{
    Menu->SetItemIndex(3);
    for (int VK : {VK_RETURN, VK_SPACE}) {
        Key(VK);
        EXPECT_EQ(Menu->ItemIndex(), 3);
        EXPECT_TRUE(Menu->Focused());
        EXPECT_TRUE(Menu->Visible());
    }
    Key(VK_TAB);
    EXPECT_EQ(Menu->ItemIndex(), 4);
    for (int VK : {VK_RETURN, VK_SPACE, VK_TAB}) {
        Menu->SetItemIndex(4);
        Key(VK);
        EXPECT_TRUE(Edit->Focused()) << VK;
        EXPECT_EQ(Menu->ItemIndex(), 4);
    }
    // A first active control that cannot take the focus leaves it where it is.
    Edit->SetVisible(false);
    Menu->SetItemIndex(4);
    Key(VK_RETURN);
    EXPECT_TRUE(Menu->Focused());
    EXPECT_EQ(Clicked, -1);
}

TEST_F(AppMenuKeys, TheWheelMovesTheSelection)
{
    Menu->SetItemIndex(0);
    Menu->SetFocus();
    Pump();
    Headless::Wheel(At(50, 50), -120);
    Pump();
    EXPECT_EQ(Menu->ItemIndex(), 3);
    Headless::Wheel(At(50, 50), 120);
    Pump();
    EXPECT_EQ(Menu->ItemIndex(), 0);
}

TEST_F(AppMenuKeys, AClickRunsAnActingItemAndAClickBesideTheItemsSelectsNone)
{
    Menu->CalcItemRects();
    const TRect P = Menu->Items()->Items(3)->ItemRect;
    Click(P.Left + 20, P.Top + 5);
    EXPECT_EQ(Menu->ItemIndex(), 3);
    EXPECT_EQ(Menu->ActivePage(), Menu->Items()->Items(3)->Page());
    EXPECT_TRUE(Menu->Visible());
    // the disabled item is never hot: a click on it selects none
    const TRect D = Menu->Items()->Items(1)->ItemRect;
    Click(D.Left + 20, D.Top + 5);
    EXPECT_EQ(Menu->ItemIndex(), -1);
    EXPECT_EQ(Clicked, -1);
    // beside every item
    Menu->SetItemIndex(3);
    Click(50, Menu->Height() - 5);
    EXPECT_EQ(Menu->ItemIndex(), -1);
    EXPECT_TRUE(Menu->Visible());
    const TRect A = Menu->Items()->Items(5)->ItemRect;
    Click(A.Left + 20, A.Top + 5);
    EXPECT_EQ(Clicked, 5);
    EXPECT_FALSE(Menu->Visible());
}

// A press on an item and the release on another runs nothing.
TEST_F(AppMenuKeys, AReleaseAwayFromThePressedItemRunsNothing)
{
    Menu->CalcItemRects();
    const TRect A = Menu->Items()->Items(0)->ItemRect, B = Menu->Items()->Items(5)->ItemRect;
    Headless::MouseMove(At(A.Left + 5, A.Top + 5));
    Headless::MouseDown(At(A.Left + 5, A.Top + 5));
    Headless::MouseMove(At(B.Left + 5, B.Top + 5));
    Headless::MouseUp(At(B.Left + 5, B.Top + 5));
    Pump();
    EXPECT_EQ(Clicked, -1);
    EXPECT_TRUE(Menu->Visible());
}

// The application button opens the menu; a second press closes it.
TEST_F(AppMenuKeys, TheApplicationButtonTogglesTheMenu)
{
    Ribbon->HideAppMenu(nullptr);
    Pump();
    TbsAppButton* B = Ribbon->AppButton();
    ASSERT_NE(B, nullptr);
    EXPECT_TRUE(B->CanMenuPopup(0, 0));
    const TPoint P = B->ClientToScreen(Point(5, 5));
    Headless::MouseMove(P);
    Headless::MouseDown(P);
    Headless::MouseUp(P);
    Pump();
    EXPECT_TRUE(Menu->Visible());
    Headless::MouseMove(P);
    Headless::MouseDown(P);
    Headless::MouseUp(P);
    Pump();
    EXPECT_FALSE(Menu->Visible());
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MenuTracked());
}

}  // namespace

namespace {

// The gripper in the menu's bottom-right corner answers HTBOTTOMRIGHT while the ribbon has
// a frame and the form can be sized; dragging it sizes the form.
TEST_F(AppMenuTest, TheGripperSizesTheForm)
{
    auto* Frame = new TbsSkinFormFrame(Form);
    // the frame takes over a shown form's window: show it again
    Form->Hide();
    Form->Show();
    Pump();
    Ribbon->BSF = Frame;
    Ribbon->ShowAppMenu();
    Pump();
    ASSERT_TRUE(Menu->Visible());
    ASSERT_TRUE(Menu->CanShowGripper());
    const int W = Form->Width(), H = Form->Height();
    const TPoint G = At(Menu->Width() - 3, Menu->Height() - 3);
    EXPECT_EQ(SendMessage(Menu->Handle(), WM_NCHITTEST, 0, PointToLParam(G)), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessage(Menu->Handle(), WM_NCHITTEST, 0, PointToLParam(At(Menu->Width() - 12, Menu->Height() - 3))),
              HTCLIENT);
    Headless::MouseMove(G);
    Headless::MouseDown(G);
    Headless::MouseMove(Point(G.X + 40, G.Y + 30));
    Headless::MouseUp(Point(G.X + 40, G.Y + 30));
    Pump();
    EXPECT_EQ(Form->Width(), W + 40);
    EXPECT_EQ(Form->Height(), H + 30);
    // The menu follows the client area (anchored on all sides).
    EXPECT_EQ(Menu->Left() + Menu->Width(), Form->ClientWidth());

    Form->SetBorderStyle(bsSingle);
    EXPECT_FALSE(Menu->CanShowGripper());
    EXPECT_NE(SendMessage(Menu->Handle(), WM_NCHITTEST, 0, PointToLParam(At(Menu->Width() - 3, Menu->Height() - 3))),
              HTBOTTOMRIGHT);
    Ribbon->BSF = nullptr;
}

}  // namespace
