// The chain of menu levels and the skinned popup menu: who hears what and in which order
// when a chain opens and closes, and how a popup menu finds the form frame that shows it.
#include "menus_support.h"
#include "skin/frame/bsSkinFormFrame.h"

using namespace menustest;

namespace {

class MenuChain : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        Opener = new TOpener(Form);
        Opener->SetParent(Form);
        Opener->SetBounds(10, 10, 40, 20);
        Opener->Log = &Log;
        Second = new TOpener(Form);
        Second->SetParent(Form);
        Second->SetBounds(60, 10, 40, 20);
        Second->Log = &Log2;
        // the form logs the close notices it receives
        OldProc = Form->WindowProc;
        Form->WindowProc = [this](TMessage& M) {
            if (M.Msg == SkinMenuClosed) Log.push_back("form");
            OldProc(M);
        };
    }
    void TearDown() override
    {
        Form->WindowProc = OldProc;
        MenuTest::TearDown();
    }
    std::vector<std::string> Log, Log2;
    TOpener* Opener = nullptr;
    TOpener* Second = nullptr;
    TWndMethod OldProc;
};

TEST_F(MenuChain, ChoosingALeafClosesTellsAndThenRunsTheCommand)
{
    Add("Run")->OnClick = [&](TObject*) { Log.push_back("click"); };
    Chain->Popup(Opener, nullptr, 0, Rect(120, 120, 120, 120), Menu->Items(), false);
    Chain->OnMenuClose = [&](TObject*) { Log.push_back("menuclose"); };
    ASSERT_TRUE(Chain->Visible());
    ClickAt(AtItem(Level(0), 0));
    EXPECT_EQ(Log, (std::vector<std::string>{"closed", "menuclose", "form", "click", "done"}));
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->LevelCount(), 0);
    EXPECT_EQ(Chain->OnMenuClose, nullptr);
}

TEST_F(MenuChain, ASecondOpeningTellsTheFirstOpenerAndDoesNotFade)
{
    Add("A");
    Chain->AlphaBlend = Chain->AlphaBlendAnimation = true;
    Chain->Popup(Opener, nullptr, 0, Rect(120, 120, 120, 120), Menu->Items(), false);
    EXPECT_FALSE(Level(0)->FadeSteps.empty());
    int Closes = 0;
    Chain->OnMenuClose = [&](TObject*) { ++Closes; };
    Chain->Popup(Second, nullptr, 0, Rect(200, 120, 200, 120), Menu->Items(), false);
    EXPECT_EQ(Log, std::vector<std::string>{"closed"});
    EXPECT_TRUE(Log2.empty());
    EXPECT_EQ(Closes, 1);
    ASSERT_EQ(Chain->LevelCount(), 1);
    EXPECT_TRUE(Level(0)->FadeSteps.empty());
    EXPECT_EQ(Chain->PopupCtrl, Second);
    // closing at level 0 tells the opener but not the form; Hide tells the form too
    Chain->ClosePopups(0);
    EXPECT_EQ(Log2, std::vector<std::string>{"closed"});
    EXPECT_EQ(Log, std::vector<std::string>{"closed"});
    Chain->Popup(Second, nullptr, 0, Rect(200, 120, 200, 120), Menu->Items(), false);
    Chain->Hide();
    EXPECT_EQ(Log, (std::vector<std::string>{"closed", "form"}));
}

TEST_F(MenuChain, NothingOpensForAnItemWithoutChildrenOrAStartBeyondThem)
{
    Chain->Popup(Opener, nullptr, 0, Rect(120, 120, 120, 120), Menu->Items(), false);
    EXPECT_FALSE(Chain->Visible());
    Add("A");
    Chain->Popup(Opener, nullptr, 1, Rect(120, 120, 120, 120), Menu->Items(), false);
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->LevelCount(), 0);
}

TEST_F(MenuChain, ARemovedOpenerIsForgotten)
{
    Add("A");
    Chain->Popup(Opener, nullptr, 0, Rect(120, 120, 120, 120), Menu->Items(), false);
    delete Opener;
    EXPECT_EQ(Chain->PopupCtrl, nullptr);
    Chain->Hide();
    EXPECT_EQ(Log, std::vector<std::string>{"form"});
}

TEST_F(MenuChain, SkinDataGoingAwayClosesTheLevelsDrawnFromIt)
{
    Add("A");
    auto* S = new TbsSkinData(nullptr);
    FillMenuSkin(S);
    Chain->Popup(Opener, S, 0, Rect(120, 120, 120, 120), Menu->Items(), false);
    ASSERT_NE(Level(0)->PW, nullptr);
    delete S;
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->SkinData, nullptr);
    EXPECT_EQ(Log, std::vector<std::string>{"closed"});
}

// ---- the popup menu component through a form frame ----------------------------------------------

class SkinPopupMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(100, 100, 300, 200);
        Frame = new TbsSkinFormFrame(Main);
        Main->Show();
        Pump();
        Menu = new TbsSkinPopupMenu(Main);
    }
    void TearDown() override { DoneForms(); }
    void Pump() { Application->ProcessMessages(); }
    TMenuItem* Add(const String& Caption)
    {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(Caption);
        Menu->Items()->Add(I);
        return I;
    }
    TForm* Main = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
    TbsSkinPopupMenu* Menu = nullptr;
};

TEST_F(SkinPopupMenu, OpensThroughTheFramesChainAndHandsOverItsCloseEvent)
{
    Add("A");
    int Popups = 0, Closes = 0;
    Menu->OnPopup = [&](TObject*) { ++Popups; };
    Menu->OnMenuClose = [&](TObject*) { ++Closes; };
    Menu->Popup(150, 160);
    EXPECT_EQ(Popups, 1);
    ASSERT_TRUE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(Frame->SkinMenu->Level(0)->Left(), 150);
    EXPECT_EQ(Frame->SkinMenu->Level(0)->Top(), 160);
    EXPECT_EQ(Menu->PopupPoint(), Point(150, 160));
    EXPECT_TRUE(Frame->InMenu());
    Frame->SkinMenu->Level(0)->PopupKeyDown(VK_ESCAPE);
    EXPECT_EQ(Closes, 1);
    // each opening hands the handler over again
    Menu->Popup(150, 160);
    Frame->SkinMenu->Hide();
    EXPECT_EQ(Closes, 2);
    EXPECT_FALSE(Frame->InMenu());
}

TEST_F(SkinPopupMenu, AnEmptyMenuOpensNothingButLeavesItsCloseHandler)
{
    int Popups = 0, Closes = 0;
    Menu->OnPopup = [&](TObject*) { ++Popups; };
    Menu->OnMenuClose = [&](TObject*) { ++Closes; };
    Menu->PopupFromRect(Rect(10, 10, 20, 20), false);
    EXPECT_EQ(Popups, 1);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    // the next chain to close fires it
    auto* Other = new TbsSkinPopupMenu(Main);
    auto* I = new TMenuItem(Other);
    I->SetCaption("X");
    Other->Items()->Add(I);
    Other->Popup(10, 10);
    Frame->SkinMenu->Hide();
    EXPECT_EQ(Closes, 1);
}

TEST_F(SkinPopupMenu, Popup2NeedsSkinDataAndTakesTheFramesOnce)
{
    Add("A");
    Menu->Popup2(Main, 10, 10);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    TbsSkinData SD(nullptr);
    Frame->SetSkinData(&SD);
    Menu->Popup2(Main, 10, 10);
    EXPECT_TRUE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Menu->SkinData(), &SD);
    EXPECT_EQ(Frame->SkinMenu->PopupCtrl, Main);
    Frame->SkinMenu->Hide();
    Frame->SetSkinData(nullptr);
}

TEST_F(SkinPopupMenu, WithoutAFrameNothingShows)
{
    auto* Plain = new TForm(Application);
    Plain->AfterConstruction();
    auto* M = new TbsSkinPopupMenu(Plain);
    auto* I = new TMenuItem(M);
    I->SetCaption("A");
    M->Items()->Add(I);
    int Popups = 0;
    M->OnPopup = [&](TObject*) { ++Popups; };
    M->Popup(10, 10);
    EXPECT_EQ(Popups, 1);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    // named by its component form, the main form's frame shows it
    M->SetComponentForm(Main);
    M->Popup(10, 10);
    EXPECT_TRUE(Frame->SkinMenu->Visible());
}

TEST_F(SkinPopupMenu, AnMdiChildsMenusOpenThroughTheMainFormsFrameUnlessNamedByForm)
{
    auto* Child = new TForm(Application);
    Child->AfterConstruction();
    Child->SetFormStyle(fsMDIChild);
    auto* ChildFrame = new TbsSkinFormFrame(Child);
    auto* M = new TbsSkinPopupMenu(Child);
    auto* I = new TMenuItem(M);
    I->SetCaption("A");
    M->Items()->Add(I);
    M->Popup(10, 10);
    EXPECT_TRUE(Frame->SkinMenu->Visible());
    EXPECT_FALSE(ChildFrame->SkinMenu->Visible());
    Frame->SkinMenu->Hide();
    M->SetComponentForm(Child);
    M->Popup(10, 10);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_TRUE(ChildFrame->SkinMenu->Visible());
    ChildFrame->SkinMenu->Hide();
}

TEST_F(SkinPopupMenu, DestroyingTheFrameWithAChainOpenTellsTheOpener)
{
    Add("A");
    auto* Opener = new TOpener(Main);
    std::vector<std::string> Log;
    Opener->Log = &Log;
    Opener->SetParent(Main);
    Menu->PopupFromRect2(Opener, Rect(10, 10, 20, 20), false);
    ASSERT_TRUE(Frame->SkinMenu->Visible());
    delete Frame;
    EXPECT_EQ(Log, std::vector<std::string>{"closed"});
}

TEST_F(SkinPopupMenu, KeysReachTheDeepestLevelThroughTheFrame)
{
    int Runs = 0;
    Add("A");
    Add("B")->OnClick = [&](TObject*) { ++Runs; };
    Menu->Popup(150, 160);
    ASSERT_TRUE(Frame->SkinMenu->Visible());
    Headless::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(Frame->SkinMenu->Level(0)->ActiveItem, 1);
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Runs, 1);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_FALSE(Frame->InMenu());
    // Escape on the only level closes the menu and the frame's menu state
    Menu->Popup(150, 160);
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_FALSE(Frame->InMenu());
}

}  // namespace
