// The tray icon component on a display with a stand-in tray manager: the icon is docked
// while visible, clicks on it come back as the component's events, and freeing the
// component takes it away.  Without a manager there is no icon and no error.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "skin/frame/bsTrayIcon.h"
#include "tray_manager.h"
#include "display_pump.h"

using displaypump::PumpUntil;

namespace {

class TrayDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        Main = Application->CreateForm<TForm>();
        Opened = true;
    }
    void TearDown() override
    {
        if (!Opened) return;
        traymanager::Stop();
        DoneForms();
    }
    TForm* Main = nullptr;
    bool Opened = false;
};

}  // namespace

TEST_F(TrayDisplay, NoManagerNoIcon)
{
    auto* T = new TbsTrayIcon(Main);
    EXPECT_TRUE(T->IconVisible());
    EXPECT_FALSE(T->Refresh());
    delete T;
}

TEST_F(TrayDisplay, DockedIconReportsClicks)
{
    ASSERT_TRUE(traymanager::Start());
    auto* T = new TbsTrayIcon(Main);
    std::vector<TMouseButton> Down, Up;
    T->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int, int) { Down.push_back(B); };
    T->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, int, int) { Up.push_back(B); };
    T->SetIconVisible(false);
    T->SetIconVisible(true);  // now with a manager: docked
    unsigned long Icon = 0;
    ASSERT_TRUE(PumpUntil([&] { return (Icon = traymanager::DockedWindow()) != 0; }));
    EXPECT_TRUE(T->Refresh());
    traymanager::ClickWindow(Icon, 1);
    traymanager::ClickWindow(Icon, 3);
    ASSERT_TRUE(PumpUntil([&] { return Up.size() >= 2; }));
    EXPECT_EQ(Down, (std::vector<TMouseButton>{mbLeft, mbRight}));
    EXPECT_EQ(Up, (std::vector<TMouseButton>{mbLeft, mbRight}));
    delete T;  // the icon leaves the tray
}
