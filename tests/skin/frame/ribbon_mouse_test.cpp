// The ribbon under the mouse: tabs chosen by a press, caption buttons that click only on
// a press and release on the same button, a popup button that stays down until its menu
// closes, the MDI buttons of a maximized child, and the ribbon's and the frame's message
// filters coming and going in any order.
#include "frame/ribbon_support.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/menus/bsSkinMenus.h"

using namespace ribbontest;

namespace {

class RibbonMouse : public RibbonTest {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        ShowForm();
        Images = new TCustomImageList(Form, 16, 16);
        Ribbon->SetButtonsImageList(Images);
        AddTab("Home");
        AddTab("View");
        for (int I = 0; I < 2; ++I) {
            TbsRibbonButtonItem* B = Ribbon->Buttons()->Add();
            B->OnClick = [this, I](TObject* S) {
                EXPECT_EQ(S, Ribbon);
                Clicks.push_back(I);
            };
        }
        Pump();
        Layout();
    }
    TPoint Centre(TbsRibbonButtonItem* B) { return Mid(B->ItemRect); }

    TCustomImageList* Images = nullptr;
    std::vector<int> Clicks;
};

TEST_F(RibbonMouse, PressAndReleaseOnAButtonClicksIt)
{
    const TPoint P = Centre(Ribbon->Buttons()->Items(1));
    RMove(P.X, P.Y);
    EXPECT_TRUE(Ribbon->Buttons()->Items(1)->Active);
    RDown(P.X, P.Y);
    EXPECT_TRUE(Ribbon->Buttons()->Items(1)->Down);
    RUp(P.X, P.Y);
    EXPECT_EQ(Clicks, std::vector<int>{1});
    EXPECT_FALSE(Ribbon->Buttons()->Items(1)->Down);
}

TEST_F(RibbonMouse, PressMoveOffAndReleaseRunsNoClick)
{
    const TPoint P = Centre(Ribbon->Buttons()->Items(0));
    RDown(P.X, P.Y);
    RMove(P.X, 80);
    RUp(P.X, 80);
    EXPECT_TRUE(Clicks.empty());
    EXPECT_FALSE(Ribbon->Buttons()->Items(0)->Down);
    EXPECT_FALSE(Ribbon->Buttons()->Items(0)->Active);
    // pressed on one, released on the other: no click either
    const TPoint Q = Centre(Ribbon->Buttons()->Items(1));
    RDown(P.X, P.Y);
    RUp(Q.X, Q.Y);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(RibbonMouse, ADisabledButtonIsNeitherHotNorClicked)
{
    Ribbon->Buttons()->Items(0)->SetEnabled(false);
    const TPoint P = Centre(Ribbon->Buttons()->Items(0));
    RMove(P.X, P.Y);
    EXPECT_FALSE(Ribbon->Buttons()->Items(0)->Active);
    RDown(P.X, P.Y);
    RUp(P.X, P.Y);
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(RibbonMouse, APressOnATabSelectsItAndFocusesTheRibbon)
{
    Ribbon->SetTabIndex(0);
    const TPoint P = Mid(Ribbon->Tabs()->Items(1)->ItemRect);
    RDown(P.X, P.Y);
    RUp(P.X, P.Y);
    EXPECT_EQ(Ribbon->TabIndex(), 1);
    EXPECT_TRUE(Ribbon->Focused());
}

TEST_F(RibbonMouse, APopupButtonStaysDownUntilItsMenuCloses)
{
    auto* Menu = new TbsSkinPopupMenu(Form);
    auto* Item = new TMenuItem(Menu);
    Item->SetCaption("One");
    Menu->Items()->Add(Item);
    Ribbon->Buttons()->Items(0)->SetPopupMenu(Menu);
    const TPoint P = Centre(Ribbon->Buttons()->Items(0));
    RDown(P.X, P.Y);
    RUp(P.X, P.Y);
    EXPECT_TRUE(Ribbon->Buttons()->Items(0)->Down);
    EXPECT_EQ(Ribbon->FPopupButton, 0);
    SendMessage(Ribbon->Handle(), SkinMenuClosed, 0, 0);
    EXPECT_FALSE(Ribbon->Buttons()->Items(0)->Down);
    EXPECT_EQ(Ribbon->FPopupButton, -1);
}

TEST_F(RibbonMouse, NoTabsMeansNoButtonHighlightOrClick)
{
    Ribbon->Tabs()->Clear();
    const TPoint P = Centre(Ribbon->Buttons()->Items(1));
    RMove(P.X, P.Y);
    EXPECT_FALSE(Ribbon->Buttons()->Items(1)->Active);
    RDown(P.X, P.Y);
    RUp(P.X, P.Y);
    EXPECT_TRUE(Clicks.empty());
}

// ---- MDI buttons ----------------------------------------------------------------------------

class RibbonMDI : public frametest::FrameTest {};

TEST_F(RibbonMDI, ThreeButtonsWhileAChildIsMaximized)
{
    Main->SetFormStyle(fsMDIForm);
    auto* MainFrame = new TbsSkinFormFrame(Main);
    Main->SetBounds(0, 0, 500, 400);
    auto* R = new TbsRibbon(Main);
    R->SetParent(Main);
    MainFrame->SetSkinRibbon(R);
    EXPECT_EQ(R->BSF, MainFrame);
    R->Tabs()->Add();  // a ribbon without tabs tracks no buttons
    Main->Show();
    Pump();
    auto* Child = new TForm(Application);
    Child->SetFormStyle(fsMDIChild);
    auto* ChildFrame = new TbsSkinFormFrame(Child);
    Child->AfterConstruction();
    Child->SetBounds(10, 10, 200, 150);
    Child->Show();
    Pump();
    ChildFrame->SetWindowState(wsMaximized);
    Pump();
    ASSERT_EQ(R->MDIButtons()->Count(), 3);
    EXPECT_EQ(R->MDIButtons()->Items(0)->Code, 1);
    EXPECT_EQ(R->MDIButtons()->Items(1)->Code, 2);
    EXPECT_EQ(R->MDIButtons()->Items(2)->Code, 3);
    R->MDIChildMaximize();
    EXPECT_EQ(R->MDIButtons()->Count(), 3);
    // restore through the ribbon's button: the child is restored and the buttons go
    TBitmap B(1, 1);
    R->CalcLayout(B.Canvas());
    const TPoint P = R->ClientToScreen(Mid(R->MDIButtons()->Items(1)->ItemRect));
    Headless::MouseMove(P);
    Headless::MouseDown(P);
    Headless::MouseUp(P);
    Pump();
    EXPECT_EQ(ChildFrame->WindowState(), wsNormal);
    EXPECT_EQ(R->MDIButtons()->Count(), 0);
    MainFrame->SetSkinRibbon(nullptr);
}

// ---- message filters ------------------------------------------------------------------------

class RibbonHooks : public RibbonTest {
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        Menu = new TbsAppMenu(Form);
        Ribbon->SetAppMenu(Menu);
        AddTab("Home");
        ShowForm();
        Keys = 0;
        Form->SetKeyPreview(true);
        Form->OnKeyDown = [this](TObject*, WORD&, TShiftState) { ++Keys; };
    }
    int Keys = 0;
    TbsAppMenu* Menu = nullptr;
};

TEST_F(RibbonHooks, EscClosesTheApplicationMenuOnlyWhileTheFormIsActive)
{
    Ribbon->ShowAppMenu();
    Pump();
    ASSERT_TRUE(Menu->Visible());
    EXPECT_TRUE(Application->HasMessageFilter(Ribbon));
    int Closed = 0;
    Ribbon->OnMenuClose = [&](TObject*) { ++Closed; };
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Menu->Visible());
    EXPECT_EQ(Closed, 1);
    EXPECT_FALSE(Application->HasMessageFilter(Ribbon));
    EXPECT_EQ(Keys, 0);  // the key never reached the focused control
}

// The frame's menu filter and the ribbon's Esc filter removed in the order that used to
// restore the frame's filter for good (a frame menu opened while the application menu
// shows, the application menu closed first): the keys must reach the form again.
TEST_F(RibbonHooks, FiltersRemovedOutOfOrderLeaveNoneBehind)
{
    Ribbon->ShowAppMenu();
    Pump();
    Frame->HookAppMessages();    // a frame menu opens while the application menu shows
    Ribbon->HideAppMenu(nullptr);  // the application menu closes first
    Frame->UnhookAppMessages();  // then the frame's menu
    EXPECT_FALSE(Application->HasMessageFilter(Frame));
    EXPECT_FALSE(Application->HasMessageFilter(Ribbon));
    SetFocus(H());
    Headless::Key('A');
    Pump();
    EXPECT_GE(Keys, 1);
    // and the other way round
    Keys = 0;
    Frame->HookAppMessages();
    Ribbon->ShowAppMenu();
    Pump();
    Frame->UnhookAppMessages();
    Ribbon->HideAppMenu(nullptr);
    SetFocus(H());
    Headless::Key('A');
    Pump();
    EXPECT_GE(Keys, 1);
}

TEST_F(RibbonHooks, TheKeyboardMenuCommandClosesTheMenuAndFocusesTheRibbon)
{
    Ribbon->ShowAppMenu();
    Pump();
    ASSERT_TRUE(Menu->Visible());
    SendMessage(H(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
    EXPECT_FALSE(Menu->Visible());
    EXPECT_TRUE(Ribbon->Focused());
}

TEST_F(RibbonHooks, AltWithATabsAcceleratorSelectsItsPage)
{
    AddTab("&View");
    Ribbon->SetTabIndex(0);
    Ribbon->SetFocus();
    Pump();
    Headless::KeyDown(VK_MENU);
    Headless::Key('V');
    Headless::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(Ribbon->TabIndex(), 1);
}

TEST_F(RibbonHooks, TheRibbonGoingAwayClearsTheFramesLink)
{
    EXPECT_EQ(Frame->SkinRibbon(), Ribbon);
    Ribbon->ShowAppMenu();
    Pump();
    const void* Was = Ribbon;
    delete Ribbon;
    Ribbon = nullptr;
    EXPECT_EQ(Frame->SkinRibbon(), nullptr);
    EXPECT_FALSE(Frame->ShowsAppMenuCaption());
    EXPECT_EQ(Frame->GetAppMenuCaptionOffset(), 0);
    EXPECT_FALSE(Application->HasMessageFilter(Was));
}

}  // namespace
