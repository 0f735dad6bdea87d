// The tray icon component on the headless backend: the callbacks of its hidden window
// (clicks, double clicks, menus, balloons), the shell calls it makes, the animation over
// an image list, and the main form's moves into the tray and back.  The headless backend
// has no tray, so the shell answers false; what goes to it is read from IconData.
#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/frame/bsTrayIcon.h"

namespace {

// Counts the shell calls.
class TCountingTrayIcon : public TbsTrayIcon {
public:
    using TbsTrayIcon::TbsTrayIcon;
    int Adds = 0, Deletes = 0, Modifies = 0;

protected:
    bool AddIcon() override
    {
        ++Adds;
        return TbsTrayIcon::AddIcon();
    }
    bool DeleteIcon() override
    {
        ++Deletes;
        return TbsTrayIcon::DeleteIcon();
    }
    bool ModifyIcon() override
    {
        ++Modifies;
        return TbsTrayIcon::ModifyIcon();
    }
};

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBounds(10, 10, 300, 200);
        Main->Show();
        Tray = new TCountingTrayIcon(Main);
        Tray->OnClick = [this](TObject*) { Log.push_back("click"); };
        Tray->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
        Tray->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState S, int, int) {
            Log.push_back(String("down") + "LRM"[B]);
            EXPECT_TRUE(S.Contains(B == mbLeft ? ssLeft : B == mbRight ? ssRight : ssMiddle));
        };
        Tray->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState, int, int) {
            Log.push_back(String("up") + "LRM"[B]);
        };
        Tray->OnMouseMove = [this](TObject*, TShiftState, int, int) { Log.push_back("move"); };
    }
    void TearDown() override { DoneForms(); }

    void Mouse(UINT Msg) { SendMessage(Tray->Handle(), TrayIconCallback, 1, LPARAM(Msg)); }
    // Lets the double-click time pass and runs the timers.
    void DoubleClickTimePasses()
    {
        Headless::AdvanceTime(GetDoubleClickTime() + 1);
        Application->ProcessMessages();
    }
    // A popup menu whose showing is logged.
    TbsSkinPopupMenu* Menu()
    {
        auto* M = new TbsSkinPopupMenu(Main);
        M->OnPopup = [this](TObject*) { Log.push_back("menu"); };
        return M;
    }
    TForm* Main = nullptr;
    TCountingTrayIcon* Tray = nullptr;
    std::vector<String> Log;
};

using TLog = std::vector<String>;

}  // namespace

TEST_F(TrayIcon, StartsVisibleWithItsRecordFilled)
{
    EXPECT_TRUE(Tray->Enabled());
    EXPECT_TRUE(Tray->IconVisible());
    EXPECT_TRUE(Tray->ShowHint());
    EXPECT_TRUE(Tray->MinimizeToTray());
    EXPECT_FALSE(Tray->PopupByLeftButton());
    EXPECT_EQ(Tray->IconIndex(), 0);
    const NOTIFYICONDATA& D = Tray->IconData();
    EXPECT_EQ(D.hWnd, Tray->Handle());
    EXPECT_EQ(D.uID, 1u);
    EXPECT_EQ(D.uFlags, 7u);
    EXPECT_EQ(D.uCallbackMessage, 2048u);
    // no tray on this backend: the shell refuses, and nothing else happens
    EXPECT_FALSE(Tray->Refresh());
}

TEST_F(TrayIcon, SingleAndDoubleClicks)
{
    // a click: press and release, the click one double-click time after the press
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(Log, (TLog{"downL", "upL"}));
    DoubleClickTimePasses();
    EXPECT_EQ(Log, (TLog{"downL", "upL", "click"}));

    // released after the double-click time: the click comes with the release
    Log.clear();
    Mouse(WM_LBUTTONDOWN);
    DoubleClickTimePasses();
    EXPECT_EQ(Log, (TLog{"downL"}));
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(Log, (TLog{"downL", "click", "upL"}));

    // a double click reports itself once and no click
    Log.clear();
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    DoubleClickTimePasses();
    EXPECT_EQ(Log, (TLog{"downL", "upL", "dblclick", "upL"}));

    // the shell's own double-click message is taken as well
    Log.clear();
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONUP);
    DoubleClickTimePasses();
    EXPECT_EQ(Log, (TLog{"downL", "upL", "dblclick", "upL"}));

    // the other buttons and moves
    Log.clear();
    for (UINT M : {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEMOVE, WM_RBUTTONUP, WM_KEYDOWN}) Mouse(M);
    EXPECT_EQ(Log, (TLog{"downM", "upM", "move", "upR"}));
}

TEST_F(TrayIcon, DisabledIgnoresEveryCallback)
{
    bool Balloon = false;
    Tray->OnBalloonHintClick = [&](TObject*) { Balloon = true; };
    Tray->SetPopupMenu(Menu());
    Tray->SetEnabled(false);
    for (UINT M : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEMOVE, NIN_BALLOONUSERCLICK})
        Mouse(M);
    DoubleClickTimePasses();
    EXPECT_TRUE(Log.empty());
    EXPECT_FALSE(Balloon);
    Tray->SetEnabled(true);
    Mouse(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(Balloon);
}

TEST_F(TrayIcon, MenusAtTheCursorAndDefaultItems)
{
    TbsSkinPopupMenu* M = Menu();
    Tray->SetPopupMenu(M);
    Mouse(WM_RBUTTONDOWN);
    EXPECT_EQ(Log, (TLog{"downR", "menu"}));
    EXPECT_EQ(M->PopupComponent(), Tray);
    Log.clear();
    Mouse(WM_LBUTTONDOWN);  // the left button opens nothing
    EXPECT_EQ(Log, (TLog{"downL"}));
    Mouse(WM_LBUTTONUP);
    DoubleClickTimePasses();

    // a double click clicks the first default item in menu order
    int First = 0, Second = 0;
    auto Add = [&](bool Default, int* Counter) {
        auto* I = new TMenuItem(M);
        I->SetDefault(Default);
        I->OnClick = [Counter](TObject*) { if (Counter) ++*Counter; };
        M->Items()->Add(I);
    };
    Add(false, nullptr);
    Add(true, &First);
    Add(true, &Second);
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(First, 1);
    EXPECT_EQ(Second, 0);

    // with the left button opening the menu: a press shows it, a double click clicks nothing
    DoubleClickTimePasses();
    Log.clear();
    Tray->SetPopupByLeftButton(true);
    Mouse(WM_LBUTTONDOWN);
    EXPECT_EQ(Log, (TLog{"downL", "menu"}));
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(First, 1);

    // a menu without automatic popup does not show; a freed menu is forgotten
    DoubleClickTimePasses();
    Log.clear();
    M->SetAutoPopup(false);
    Mouse(WM_RBUTTONDOWN);
    EXPECT_EQ(Log, (TLog{"downR"}));
    delete M;
    EXPECT_EQ(Tray->PopupMenu(), nullptr);
    Mouse(WM_RBUTTONDOWN);
}

TEST_F(TrayIcon, TipsAndBalloonsAreCutByCharacters)
{
    String Tip;
    for (int I = 0; I < 130; ++I) Tip += "视";
    Tray->SetHint(Tip);
    EXPECT_EQ(Utf8Length(Tray->IconData().szTip), 127);
    Tray->SetShowHint(false);
    EXPECT_TRUE(Tray->IconData().szTip.empty());

    String Text, Title;
    for (int I = 0; I < 300; ++I) Text += "频";
    for (int I = 0; I < 100; ++I) Title += "t";
    Tray->ShowBalloonHint(Title, Text, bsbitWarning);
    EXPECT_EQ(Utf8Length(Tray->IconData().szInfo), 255);
    EXPECT_EQ(Tray->IconData().szInfoTitle.size(), 63u);
    EXPECT_EQ(Tray->IconData().dwInfoFlags, 2u);
    EXPECT_EQ(Tray->IconData().uFlags, 7u);  // back to message, icon and tip
    Tray->HideBalloonHint();
    EXPECT_TRUE(Tray->IconData().szInfo.empty());
    EXPECT_EQ(Tray->IconData().uFlags, 7u | NIF_INFO);  // kept until the next balloon
}

TEST_F(TrayIcon, TheTraysRestartBringsAVisibleIconBack)
{
    Tray->Adds = 0;
    SendMessage(Application->Handle(), TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(Tray->Adds, 1);
    Tray->SetIconVisible(false);
    EXPECT_FALSE(Tray->IconVisible());
    SendMessage(Application->Handle(), TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(Tray->Adds, 1);
    // the application window still answers its other messages after the icon is gone
    delete Tray;
    SendMessage(Application->Handle(), TaskbarCreatedMessage(), 0, 0);
    SendMessage(Application->Handle(), WM_NULL, 0, 0);
}

TEST_F(TrayIcon, IconListIndexAndAnimation)
{
    TImageList List(nullptr);
    List.SetSize(16, 16);
    const TColor Colors[] = {clRed, clLime, clBlue};
    for (TColor C : Colors) {
        TBitmap B(16, 16);
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect(Rect(0, 0, 16, 16));
        List.AddMasked(&B, clFuchsia);
    }
    Tray->SetIconList(&List);
    Tray->SetIconIndex(7);
    EXPECT_EQ(Tray->IconIndex(), 2);
    EXPECT_FALSE(Tray->Icon()->Empty());
    std::vector<int> Next;
    Tray->OnCycle = [&](TObject*, int N) { Next.push_back(N); };
    Tray->SetAnimateTimerInterval(100);
    Tray->SetCycleIcons(true);
    EXPECT_EQ(Tray->IconIndex(), 0);
    for (int I = 0; I < 3; ++I) {
        Headless::AdvanceTime(101);
        Application->ProcessMessages();
    }
    EXPECT_EQ(Next, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(Tray->IconIndex(), 0);
    Tray->SetCycleIcons(false);
    // without a list the index stays 0
    Tray->SetIconList(nullptr);
    Tray->SetIconIndex(2);
    EXPECT_EQ(Tray->IconIndex(), 0);
}

TEST_F(TrayIcon, TheApplicationsIconIsCopiedNotShared)
{
    auto* AppIcon = new TIcon;
    AppIcon->SetHandle(LoadIcon(0, IDI_INFORMATION));
    Application->SetIcon(AppIcon);
    auto* T = new TbsTrayIcon(Main);
    ASSERT_FALSE(T->Icon()->Empty());
    EXPECT_NE(T->Icon()->Handle(), AppIcon->Handle());
    delete T;
    EXPECT_FALSE(AppIcon->Empty());
    EXPECT_GT(AppIcon->Width(), 0);
    Application->SetIcon(nullptr);
    delete AppIcon;
}

TEST_F(TrayIcon, MainFormIntoTheTrayAndBack)
{
    auto* Frame = new TbsSkinFormFrame(Main);
    (void)Frame;
    Tray->HideMainForm();
    EXPECT_FALSE(Main->Visible());
    EXPECT_EQ(Main->Tag(), TrayRestoreTag);
    Tray->ShowMainForm();
    EXPECT_TRUE(Main->Visible());
    EXPECT_NE(Main->WindowState(), wsMinimized);
    EXPECT_EQ(Main->Tag(), TrayRestoreTag);
    Application->ProcessMessages();  // the frame answers RestoredFromTray
    EXPECT_EQ(Main->Tag(), 0);

    // minimizing goes to the tray while MinimizeToTray is on
    Tray->SetIconVisible(false);
    Tray->Adds = 0;
    ShowWindow(Main->Handle(), SW_MINIMIZE);
    Application->ProcessMessages();
    EXPECT_FALSE(Main->Visible());
    EXPECT_TRUE(Tray->IconVisible());
    EXPECT_EQ(Tray->Adds, 1);
    Tray->ShowMainForm();
    Application->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
    EXPECT_EQ(Main->WindowState(), wsNormal);

    // a disabled icon answers no click: minimizing leaves the form where it can come back
    Tray->SetIconVisible(false);
    Tray->SetEnabled(false);
    ShowWindow(Main->Handle(), SW_MINIMIZE);
    Application->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
    EXPECT_FALSE(Tray->IconVisible());
    ShowWindow(Main->Handle(), SW_RESTORE);
    Application->ProcessMessages();
    Tray->SetEnabled(true);

    Tray->SetMinimizeToTray(false);
    ShowWindow(Main->Handle(), SW_MINIMIZE);
    Application->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
}

TEST_F(TrayIcon, TheFormFrameMinimizesToItsLinkedIconAndBack)
{
    auto* Frame = new TbsSkinFormFrame(Main);
    Main->Hide();  // shown again with the frame on its window
    Main->Show();
    Application->ProcessMessages();
    ASSERT_TRUE(IsWindowVisible(Main->Handle()));
    std::vector<String> Events;
    Frame->OnMinimizeToTray = [&](TObject*) { Events.push_back("to tray"); };
    Frame->OnRestoreFromTray = [&](TObject*) { Events.push_back("from tray"); };
    Frame->MinimizeToTray();  // no icon linked: nothing happens
    Application->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
    EXPECT_TRUE(Events.empty());

    Tray->OnDblClick = nullptr;
    Tray->SetIconVisible(true);
    Frame->SetTrayIcon(Tray);
    EXPECT_FALSE(Tray->IconVisible());
    EXPECT_NE(Tray->PopupMenu(), nullptr);  // the frame's tray menu
    ASSERT_TRUE(bool(Tray->OnDblClick));

    Frame->MinimizeToTray();
    Application->ProcessMessages();
    EXPECT_FALSE(Main->Visible());
    EXPECT_TRUE(Tray->IconVisible());
    EXPECT_TRUE(Tray->MinimizeToTray());

    Tray->OnDblClick(Tray);  // back from the tray
    Application->ProcessMessages();
    EXPECT_TRUE(Main->Visible());
    EXPECT_NE(Main->WindowState(), wsMinimized);
    EXPECT_FALSE(Tray->IconVisible());
    EXPECT_FALSE(Tray->MinimizeToTray());
    EXPECT_EQ(Events, (std::vector<String>{"to tray", "from tray"}));

    // the icon kept after the frame goes no longer calls it
    delete Frame;
    EXPECT_FALSE(bool(Tray->OnDblClick));
}

TEST(TrayIconOwners, WithoutAWindowedOwnerTheMainFormStays)
{
    Headless::Install();
    InitForms();
    auto* Main = Application->CreateForm<TForm>();
    Main->Show();
    auto* T = new TbsTrayIcon(nullptr);
    T->HideMainForm();
    T->ShowMainForm();
    EXPECT_TRUE(Main->Visible());
    EXPECT_EQ(Main->Tag(), 0);
    delete T;
    DoneForms();
}
