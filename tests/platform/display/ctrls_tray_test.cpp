// The notification-area icon on a display: none without a tray manager (and no
// error), docked by a manager when there is one, with mouse events as callback
// messages.
#include "fake_tray.h"
#include "x11_fixture.h"
#include "platform/shell/ShellAPI.h"

namespace {

using namespace x11test;
using TrayDisplay = X11Test;

constexpr UINT TrayCallback = WM_USER + 1024;

TEST_F(TrayDisplay, NoTrayManagerMeansNoIconAndNoError)
{
    NOTIFYICONDATA D;
    D.hWnd = AllocateHWnd(nullptr);
    D.uID = 1;
    D.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    D.uCallbackMessage = TrayCallback;
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &D));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &D));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &D));
    DeallocateHWnd(D.hWnd);
}

TEST_F(TrayDisplay, AManagerDocksTheIconAndClicksComeBack)
{
    ASSERT_TRUE(faketray::Start());
    std::vector<LPARAM> Mouse;
    HWND Wnd = AllocateHWnd([&](TMessage& M) {
        if (M.Msg == TrayCallback && M.WParam == 7) Mouse.push_back(M.LParam);
    });
    NOTIFYICONDATA D;
    D.hWnd = Wnd;
    D.uID = 7;
    D.uFlags = NIF_MESSAGE | NIF_TIP;
    D.uCallbackMessage = TrayCallback;
    D.szTip = "视频转换";
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &D));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &D));  // the same icon twice
    unsigned long Icon = 0;
    ASSERT_TRUE(PumpUntil([&] { return (Icon = faketray::DockedWindow()) != 0; }));
    faketray::ClickWindow(Icon);
    ASSERT_TRUE(PumpUntil([&] { return Mouse.size() >= 2; }));
    EXPECT_EQ(Mouse[0], LPARAM(WM_LBUTTONDOWN));
    EXPECT_EQ(Mouse[1], LPARAM(WM_LBUTTONUP));
    D.uFlags = NIF_INFO;
    D.szInfo = "done";
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &D));  // no balloons
    D.uFlags = NIF_TIP;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &D));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &D));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &D));
    faketray::Stop();
    DeallocateHWnd(Wnd);
}

}  // namespace
