// The window system on the headless backend: creation and geometry messages, the
// queue and timers, input routing, capture, activation and focus, painting order
// and the move/size loop.
#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <string>
#include <vector>

#include "platform/graphics/Gdi.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/Windows.h"

namespace {

struct TEntry {
    HWND Wnd;
    UINT Msg;
    WPARAM W;
    LPARAM L;
};
std::vector<TEntry> Log;
std::map<HWND, std::string> Names;
std::map<HWND, std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>> Handlers;

LRESULT CALLBACK_Recorder(HWND H, UINT M, WPARAM W, LPARAM L)
{
    Log.push_back({H, M, W, L});
    auto It = Handlers.find(H);
    LRESULT R = 0;
    if (It != Handlers.end() && It->second(M, W, L, R)) return R;
    return DefWindowProc(H, M, W, L);
}

class WindowsRouting : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        WNDCLASS C;
        C.lpszClassName = "TestWnd";
        C.lpfnWndProc = MakeProcInstance(&CALLBACK_Recorder);
        RegisterClass(C);
        C.lpszClassName = "TestDbl";
        C.style = CS_DBLCLKS;
        RegisterClass(C);
        Log.clear();
        Handlers.clear();
    }
    void TearDown() override
    {
        for (HWND H : Made) DestroyWindow(H);
        Headless::ProcessPending();
        Handlers.clear();
    }
    HWND Top(TRect R, DWORD Style = WS_POPUP | WS_VISIBLE, const char* Class = "TestWnd")
    {
        HWND H = CreateWindowEx(0, Class, "top", Style, R.Left, R.Top, R.Width(), R.Height(), nullptr);
        Made.push_back(H);
        return H;
    }
    HWND Child(HWND Parent, TRect R, DWORD Style = WS_CHILD | WS_VISIBLE, const char* Class = "TestWnd")
    {
        return CreateWindowEx(0, Class, "", Style, R.Left, R.Top, R.Width(), R.Height(), Parent);
    }
    std::vector<UINT> MessagesOf(HWND H, std::initializer_list<UINT> Only = {})
    {
        std::vector<UINT> R;
        for (auto& E : Log)
            if (E.Wnd == H && (Only.size() == 0 || std::find(Only.begin(), Only.end(), E.Msg) != Only.end()))
                R.push_back(E.Msg);
        return R;
    }
    std::vector<std::pair<HWND, UINT>> Sequence(std::initializer_list<UINT> Only)
    {
        std::vector<std::pair<HWND, UINT>> R;
        for (auto& E : Log)
            if (std::find(Only.begin(), Only.end(), E.Msg) != Only.end()) R.push_back({E.Wnd, E.Msg});
        return R;
    }
    std::vector<HWND> Made;
};

TEST_F(WindowsRouting, CreationAndDestructionSendTheirMessagesInOrder)
{
    HWND P = Top({10, 10, 210, 110}, WS_POPUP);
    HWND C = Child(P, {5, 5, 50, 50});
    EXPECT_EQ(MessagesOf(P), (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE,
                                                WM_MOVE, WM_PARENTNOTIFY}));
    EXPECT_EQ(MessagesOf(C, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                             WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                 WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    Log.clear();
    DestroyWindow(P);
    EXPECT_EQ(Sequence({WM_DESTROY, WM_NCDESTROY}),
              (std::vector<std::pair<HWND, UINT>>{{P, WM_DESTROY}, {C, WM_DESTROY}, {C, WM_NCDESTROY}, {P, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(P));
    EXPECT_FALSE(IsWindow(C));
}

TEST_F(WindowsRouting, SetWindowPosIsSynchronousAndChangingMayAlterTheSize)
{
    HWND P = Top({0, 0, 300, 200});
    HWND C = Child(P, {0, 0, 40, 20});
    Handlers[C] = [](UINT M, WPARAM, LPARAM L, LRESULT&) {
        if (M == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(L)->cx += 25;
        return false;
    };
    Log.clear();
    SetWindowPos(C, nullptr, 10, 12, 50, 30, SWP_NOZORDER);
    EXPECT_EQ(MessagesOf(C), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    EXPECT_EQ(GetClientRect(C), TRect(0, 0, 75, 30));
    TRect R = GetWindowRect(C);
    EXPECT_EQ(R, Bounds(10, 12, 75, 30));
}

TEST_F(WindowsRouting, PostedMessagesRunAfterTheCurrentHandlerInOrder)
{
    HWND P = Top({0, 0, 100, 100});
    std::vector<int> Order;
    Handlers[P] = [&](UINT M, WPARAM, LPARAM, LRESULT&) {
        if (M == WM_USER) {
            PostMessage(P, 1424, 0, 0);
            PostMessage(P, 1425, 0, 0);
            Order.push_back(0);
        }
        if (M == 1424 || M == 1425) Order.push_back(int(M));
        return false;
    };
    SendMessage(P, WM_USER, 0, 0);
    EXPECT_EQ(Order, (std::vector<int>{0}));
    Headless::ProcessPending();
    EXPECT_EQ(Order, (std::vector<int>{0, 1424, 1425}));
}

TEST_F(WindowsRouting, TimersFireOnTheVirtualClockAndReArmingReplaces)
{
    HWND P = Top({0, 0, 100, 100});
    std::vector<uint64_t> Ticks;
    Handlers[P] = [&](UINT M, WPARAM W, LPARAM, LRESULT&) {
        if (M != WM_TIMER || W != 7) return false;
        Ticks.push_back(Headless::Now());
        if (Ticks.size() == 3) KillTimer(P, 7), PostQuitMessage(0);
        return false;
    };
    uint64_t T0 = Headless::Now();
    SetTimer(P, 7, 50);
    SetTimer(P, 7, 100);  // replaces the first
    MSG M;
    while (GetMessage(M, nullptr, 0, 0)) DispatchMessage(M);
    ASSERT_EQ(Ticks.size(), 3u);
    EXPECT_EQ(Ticks[0], T0 + 100);
    EXPECT_EQ(Ticks[2], T0 + 300);
}

TEST_F(WindowsRouting, MousePressesGoToTheDeepestEnabledWindowHonouringRegions)
{
    HWND P = Top({100, 100, 400, 300});
    HWND A = Child(P, {10, 10, 110, 110});
    HWND B = Child(A, {20, 20, 60, 60});
    HWND D = Child(P, {200, 10, 260, 60});
    EnableWindow(D, false);
    SetWindowRgn(A, CreateRectRgn(0, 0, 50, 100), true);  // the right half of A is a hole
    struct TCase {
        TPoint Screen;
        HWND Target;
        TPoint Client;
    } Cases[] = {
        {{100 + 10 + 25, 100 + 10 + 25}, B, {5, 5}},   // inside the grandchild
        {{100 + 10 + 5, 100 + 10 + 5}, A, {5, 5}},     // the child around it
        {{100 + 10 + 80, 100 + 10 + 5}, P, {90, 15}},  // the region's hole shows the parent
        {{100 + 210, 100 + 20}, P, {210, 20}},         // a disabled child passes to its parent
    };
    for (auto& C : Cases) {
        Log.clear();
        Headless::MouseDown(C.Screen);
        Headless::MouseUp(C.Screen);
        Headless::ProcessPending();
        bool Found = false;
        for (auto& E : Log)
            if (E.Msg == WM_LBUTTONDOWN) {
                EXPECT_EQ(E.Wnd, C.Target);
                EXPECT_EQ(LParamToPoint(E.L), C.Client);
                Found = true;
            }
        EXPECT_TRUE(Found);
    }
    EXPECT_EQ(WindowFromPoint({100 + 210, 100 + 20}), P);
}

TEST_F(WindowsRouting, APressNotifiesParentsThenActivatesThenDelivers)
{
    HWND Other = Top({500, 0, 600, 100});
    HWND P = Top({0, 0, 300, 200});
    HWND C = Child(P, {10, 10, 100, 100});
    SetActiveWindow(Other);
    Log.clear();
    Headless::MouseDown({20, 20});
    Headless::ProcessPending();
    auto S = Sequence({WM_PARENTNOTIFY, WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN});
    ASSERT_GE(S.size(), 4u);
    EXPECT_EQ(S[0], std::make_pair(P, WM_PARENTNOTIFY));
    EXPECT_EQ(S[1], std::make_pair(C, WM_MOUSEACTIVATE));
    EXPECT_EQ(S.back(), std::make_pair(C, WM_LBUTTONDOWN));
    EXPECT_EQ(GetActiveWindow(), P);
    Headless::MouseUp({20, 20});
    Headless::ProcessPending();
}

TEST_F(WindowsRouting, MouseActivateNoActivateKeepsTheActiveWindow)
{
    HWND Main = Top({0, 0, 300, 200});
    HWND Popup = Top({400, 0, 500, 100});
    Handlers[Popup] = [](UINT M, WPARAM, LPARAM, LRESULT& R) {
        if (M == WM_MOUSEACTIVATE) { R = MA_NOACTIVATE; return true; }
        return false;
    };
    SetActiveWindow(Main);
    Headless::Click({410, 10});
    Headless::ProcessPending();
    EXPECT_EQ(GetActiveWindow(), Main);
    EXPECT_FALSE(MessagesOf(Popup, {WM_LBUTTONDOWN}).empty());
}

TEST_F(WindowsRouting, NonClientHitCodesGiveNonClientMessagesAndCursor)
{
    HWND P = Top({0, 0, 300, 200});
    Handlers[P] = [](UINT M, WPARAM, LPARAM L, LRESULT& R) {
        if (M == WM_NCHITTEST) {
            TPoint Pt = LParamToPoint(L);
            R = Pt.Y < 20 ? HTCAPTION : Pt.X > 290 ? HTRIGHT : HTCLIENT;
            return true;
        }
        if (M == WM_NCLBUTTONDOWN) return true;  // no move loop here
        return false;
    };
    Headless::MouseMove({295, 100});
    Headless::ProcessPending();
    EXPECT_EQ(CursorShape(GetCursor()), IDC_SIZEWE);
    Headless::MouseDown({50, 5});
    Headless::ProcessPending();
    auto S = MessagesOf(P, {WM_NCMOUSEMOVE, WM_SETCURSOR, WM_NCLBUTTONDOWN, WM_MOUSEMOVE});
    EXPECT_EQ(S, (std::vector<UINT>{WM_SETCURSOR, WM_NCMOUSEMOVE, WM_SETCURSOR, WM_NCLBUTTONDOWN}));
    for (auto& E : Log) {
        if (E.Msg == WM_NCLBUTTONDOWN) EXPECT_EQ(E.W, WPARAM(HTCAPTION));
    }
    Headless::MouseUp({50, 5});
    Headless::ProcessPending();
}

TEST_F(WindowsRouting, CaptureTurnsEveryMouseEventIntoAClientMessageOfTheCapturer)
{
    HWND P = Top({0, 0, 300, 200});
    HWND C = Child(P, {10, 10, 60, 60});
    HWND Other = Top({400, 0, 500, 100});
    SetCapture(C);
    EXPECT_TRUE(Headless::TopInfo(P).Grabbed);
    Log.clear();
    Headless::MouseMove({450, 50});  // over another of our windows
    Headless::MouseMove({900, 900}); // outside every window
    Headless::ProcessPending();
    auto S = Sequence({WM_MOUSEMOVE});
    ASSERT_EQ(S.size(), 2u);
    EXPECT_EQ(S[0].first, C);
    for (auto It = Log.rbegin(); It != Log.rend(); ++It)
        if (It->Msg == WM_MOUSEMOVE) {
            EXPECT_EQ(LParamToPoint(It->L), TPoint(890, 890));
            break;
        }
    EXPECT_TRUE(MessagesOf(Other, {WM_MOUSEMOVE}).empty());
    ReleaseCapture();
    EXPECT_FALSE(Headless::TopInfo(P).Grabbed);
    EXPECT_EQ(MessagesOf(C, {WM_CAPTURECHANGED}).size(), 1u);
}

TEST_F(WindowsRouting, DoubleClicksNeedTheClassStyleTimeAndDistance)
{
    HWND P = Top({0, 0, 300, 200});
    HWND Plain = Child(P, {0, 0, 100, 100});
    HWND Dbl = Child(P, {100, 0, 200, 100}, WS_CHILD | WS_VISIBLE, "TestDbl");
    auto Clicks = [&](TPoint A, TPoint B, uint64_t Gap) {
        Log.clear();
        Headless::Click(A);
        Headless::ProcessPending();
        Headless::AdvanceTime(Gap);
        Headless::Click(B);
        Headless::ProcessPending();
        Headless::AdvanceTime(1000);
        return Sequence({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
    };
    EXPECT_EQ(Clicks({10, 10}, {10, 10}, 100).back().second, WM_LBUTTONDOWN);
    EXPECT_EQ(Clicks({110, 10}, {112, 12}, 100).back(), std::make_pair(Dbl, WM_LBUTTONDBLCLK));
    EXPECT_EQ(Clicks({110, 10}, {110, 10}, 600).back().second, WM_LBUTTONDOWN);
    EXPECT_EQ(Clicks({110, 10}, {120, 10}, 100).back().second, WM_LBUTTONDOWN);
    (void)Plain;
}

TEST_F(WindowsRouting, ShowActivatesAndFocusesInOrderHideReportsHiding)
{
    HWND P = Top({0, 0, 100, 100}, WS_POPUP | WS_CAPTION);
    Log.clear();
    ShowWindow(P, SW_SHOWNORMAL);
    EXPECT_EQ(MessagesOf(P, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(GetFocus(), P);
    EXPECT_TRUE(Headless::TopInfo(P).Focused);
    Log.clear();
    UINT Flags = 0;
    Handlers[P] = [&](UINT M, WPARAM, LPARAM L, LRESULT&) {
        if (M == WM_WINDOWPOSCHANGED) Flags = reinterpret_cast<WINDOWPOS*>(L)->flags;
        return false;
    };
    ShowWindow(P, SW_HIDE);
    EXPECT_EQ(MessagesOf(P, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}));
    EXPECT_TRUE(Flags & SWP_HIDEWINDOW);
}

TEST_F(WindowsRouting, FocusMovesWithKillBeforeSetAndKeysReachTheFocus)
{
    HWND P = Top({0, 0, 100, 100});
    HWND A = Child(P, {0, 0, 50, 50});
    HWND B = Child(P, {50, 0, 100, 50});
    SetFocus(A);
    Log.clear();
    SetFocus(B);
    EXPECT_EQ(Sequence({WM_KILLFOCUS, WM_SETFOCUS}),
              (std::vector<std::pair<HWND, UINT>>{{A, WM_KILLFOCUS}, {B, WM_SETFOCUS}}));
    Log.clear();
    Headless::Key('A');
    Headless::ProcessPending();
    EXPECT_EQ(MessagesOf(B, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    for (auto& E : Log) {
        if (E.Msg == WM_CHAR) EXPECT_EQ(E.W, WPARAM('a'));
    }
    EnableWindow(B, false);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(B), nullptr);
}

TEST_F(WindowsRouting, AltAloneAndF10SendKeyMenuToTheTopLevel)
{
    HWND P = Top({0, 0, 100, 100});
    HWND A = Child(P, {0, 0, 50, 50});
    SetFocus(A);
    Log.clear();
    Headless::Key(VK_MENU);
    Headless::Key(VK_F10);
    Headless::KeyDown(VK_MENU);
    Headless::Key('X');  // Alt+X is not Alt alone
    Headless::KeyUp(VK_MENU);
    Headless::ProcessPending();
    int KeyMenus = 0;
    for (auto& E : Log)
        if (E.Msg == WM_SYSCOMMAND && E.W == SC_KEYMENU) {
            EXPECT_EQ(E.Wnd, P);
            ++KeyMenus;
        }
    EXPECT_EQ(KeyMenus, 2);
}

TEST_F(WindowsRouting, CommittedTextArrivesAsCharacters)
{
    HWND P = Top({0, 0, 100, 100});
    SetFocus(P);
    Log.clear();
    Headless::Type("中文");
    Headless::ProcessPending();
    std::vector<WPARAM> Chars;
    for (auto& E : Log)
        if (E.Msg == WM_CHAR) Chars.push_back(E.W);
    EXPECT_EQ(Chars, (std::vector<WPARAM>{0x4E2D, 0x6587}));
}

TEST_F(WindowsRouting, ParentsPaintBeforeChildrenAndChildrenAreClippedOut)
{
    HWND P = Top({0, 0, 100, 100});
    HWND C = Child(P, {20, 20, 60, 60});
    auto Filler = [](HWND H, COLORREF Color) {
        return [H, Color](UINT M, WPARAM, LPARAM, LRESULT&) {
            if (M != WM_PAINT) return false;
            PAINTSTRUCT PS;
            HDC DC = BeginPaint(H, &PS);
            HBRUSH B = CreateSolidBrush(Color);
            TRect R = GetClientRect(H);
            FillRect(DC, &R, B);
            DeleteObject(B);
            EndPaint(H, &PS);
            return true;
        };
    };
    Handlers[P] = Filler(P, RGB(255, 0, 0));
    Handlers[C] = Filler(C, RGB(0, 0, 255));
    Log.clear();
    Headless::ProcessPending();
    EXPECT_EQ(Sequence({WM_PAINT}), (std::vector<std::pair<HWND, UINT>>{{P, WM_PAINT}, {C, WM_PAINT}}));
    EXPECT_EQ(Headless::PixelColor(P, {5, 5}), RGB(255, 0, 0));
    EXPECT_EQ(Headless::PixelColor(P, {30, 30}), RGB(0, 0, 255));
    // repainting the parent alone leaves the child's pixels alone
    Log.clear();
    RedrawWindow(P, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    EXPECT_EQ(Sequence({WM_PAINT}), (std::vector<std::pair<HWND, UINT>>{{P, WM_PAINT}}));
    EXPECT_EQ(Headless::PixelColor(P, {30, 30}), RGB(0, 0, 255));
    // a region on the child lets the parent show through its hole
    SetWindowRgn(C, CreateRectRgn(0, 0, 10, 40), true);
    Headless::ProcessPending();
    EXPECT_EQ(Headless::PixelColor(P, {25, 30}), RGB(0, 0, 255));
    EXPECT_EQ(Headless::PixelColor(P, {50, 30}), RGB(255, 0, 0));
}

TEST_F(WindowsRouting, NonClientPaintComesBeforeEraseAndPaint)
{
    HWND P = Top({0, 0, 100, 100}, WS_POPUP);
    Handlers[P] = [](UINT M, WPARAM, LPARAM L, LRESULT&) {
        if (M == WM_NCCALCSIZE) {
            auto* NC = reinterpret_cast<NCCALCSIZE_PARAMS*>(L);
            NC->rgrc[0].Left += 3; NC->rgrc[0].Top += 20; NC->rgrc[0].Right -= 3; NC->rgrc[0].Bottom -= 3;
            return true;
        }
        return false;
    };
    SetWindowPos(P, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    Log.clear();
    Headless::ProcessPending();
    EXPECT_EQ(MessagesOf(P, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
              (std::vector<UINT>{WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}));  // erase runs inside BeginPaint
    EXPECT_EQ(GetClientRect(P), TRect(0, 0, 94, 77));
    TPoint Pt{0, 0};
    ClientToScreen(P, Pt);
    EXPECT_EQ(Pt, TPoint(3, 20));
}

TEST_F(WindowsRouting, TheMoveSizeLoopClampsToTheTrackSizes)
{
    HWND P = Top({100, 100, 300, 250});
    std::vector<UINT> Seen;
    Handlers[P] = [&](UINT M, WPARAM, LPARAM L, LRESULT&) {
        if (M == WM_GETMINMAXINFO) {
            auto* I = reinterpret_cast<MINMAXINFO*>(L);
            I->ptMinTrackSize = {150, 100};
            I->ptMaxTrackSize = {400, 300};
        }
        if (M == WM_ENTERSIZEMOVE || M == WM_SIZING || M == WM_MOVING || M == WM_EXITSIZEMOVE) Seen.push_back(M);
        return false;
    };
    // drag the bottom-right corner far beyond the maximum, then back below the minimum
    Headless::MouseMove({299, 249});
    Headless::ProcessPending();
    Headless::MouseMove({900, 900});
    Headless::MouseMove({120, 120});
    Headless::MouseUp({120, 120});
    SendMessage(P, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, PointToLParam({299, 249}));
    EXPECT_EQ(GetWindowRect(P), Bounds(100, 100, 150, 100));
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(Seen.front(), WM_ENTERSIZEMOVE);
    EXPECT_EQ(Seen.back(), WM_EXITSIZEMOVE);
    EXPECT_EQ(GetCapture(), nullptr);
    // a caption drag moves it by the pointer's way
    Headless::MouseMove({150, 105});
    Headless::ProcessPending();
    Headless::MouseMove({170, 125});
    Headless::MouseUp({170, 125});
    SendMessage(P, WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam({150, 105}));
    EXPECT_EQ(GetWindowRect(P), Bounds(120, 120, 150, 100));
}

TEST_F(WindowsRouting, SubclassingChainsThroughTheSavedProcedure)
{
    HWND P = Top({0, 0, 100, 100});
    std::vector<std::string> Order;
    WNDPROC Old = nullptr;
    WNDPROC Sub = MakeObjectInstance([&](TMessage& M) {
        if (M.Msg == WM_USER + 1) Order.push_back("sub");
        M.Result = CallWindowProc(Old, P, M.Msg, M.WParam, M.LParam);
    });
    Old = WNDPROC(SetWindowLong(P, GWL_WNDPROC, LONG_PTR(Sub)));
    Handlers[P] = [&](UINT M, WPARAM, LPARAM, LRESULT& R) {
        if (M == WM_USER + 1) { Order.push_back("old"); R = 42; return true; }
        return false;
    };
    EXPECT_EQ(SendMessage(P, WM_USER + 1), 42);
    EXPECT_EQ(Order, (std::vector<std::string>{"sub", "old"}));
    SetWindowLong(P, GWL_WNDPROC, LONG_PTR(Old));
    FreeObjectInstance(Sub);
}

TEST_F(WindowsRouting, MonitorsComeFromTheBackend)
{
    THeadlessOptions O;
    O.Monitors = {{{0, 0, 1000, 800}, {0, 0, 1000, 760}, true}, {{1000, 0, 1800, 600}, {1000, 0, 1800, 600}, false}};
    Headless::Install(O);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1000);
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    EXPECT_EQ(Work, TRect(0, 0, 1000, 760));
    MONITORINFO MI;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({1500, 700}, MONITOR_DEFAULTTONEAREST), &MI));
    EXPECT_EQ(MI.rcMonitor.Left, 1000);
}

TEST_F(WindowsRouting, AChangeOfMonitorsIsPostedToEveryTopLevel)
{
    HWND A = Top({0, 0, 100, 100});
    HWND B = Top({200, 0, 300, 100});
    Headless::SetMonitors({{{0, 0, 1600, 900}, {0, 0, 1600, 860}, true}});
    EXPECT_TRUE(MessagesOf(A, {WM_DISPLAYCHANGE}).empty());  // posted, not sent
    Headless::ProcessPending();
    for (HWND H : {A, B}) {
        auto It = std::find_if(Log.begin(), Log.end(), [&](auto& E) { return E.Wnd == H && E.Msg == WM_DISPLAYCHANGE; });
        ASSERT_NE(It, Log.end());
        EXPECT_EQ(It->W, 32u);
        EXPECT_EQ(LOWORD(uintptr_t(It->L)), 1600);
        EXPECT_EQ(HIWORD(uintptr_t(It->L)), 900);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1600);
}

// Other threads hand work to the GUI thread (Synchronize blocks them, Queue and
// PostMessage do not) while the GUI thread sleeps in its message loop: every piece
// wakes it, nothing is lost, and each thread's pieces of one kind run in order.
TEST_F(WindowsRouting, WorkFromManyThreadsWakesTheLoopAndKeepsEachThreadsOrder)
{
    HWND P = Top({0, 0, 100, 100});
    constexpr int Threads = 6, Each = 60;
    // per thread and kind (0 Synchronize, 1 Queue, 2 PostMessage): the numbers seen
    std::vector<std::vector<int>> Seen(Threads * 3);
    int Total = 0;
    auto Note = [&](int T, int I) {
        Seen[size_t(T * 3 + I % 3)].push_back(I);
        if (++Total == Threads * Each) PostMessage(P, WM_NULL);  // the last piece may run inside the wait
    };
    Handlers[P] = [&](UINT M, WPARAM W, LPARAM L, LRESULT&) {
        if (M == WM_APP) Note(int(W), int(L));
        return false;
    };
    std::vector<std::thread> Pool;
    for (int T = 0; T < Threads; ++T)
        Pool.emplace_back([&, T] {
            for (int I = 0; I < Each; ++I) {
                switch (I % 3) {
                case 0: TThread::Synchronize(nullptr, [&, T, I] { Note(T, I); }); break;
                case 1: TThread::Queue(nullptr, [&, T, I] { Note(T, I); }); break;
                default: PostMessage(P, WM_APP, WPARAM(T), LPARAM(I)); break;
                }
            }
        });
    // the GUI thread waits in its loop: no idle handler, so only the threads can wake it
    try {
        MSG M;
        while (Total < Threads * Each && GetMessage(M, nullptr, 0, 0)) {
            TranslateMessage(M);
            DispatchMessage(M);
        }
    } catch (std::exception& E) {
        ADD_FAILURE() << E.what();
    }
    for (auto& Th : Pool) Th.join();
    EXPECT_EQ(Total, Threads * Each);
    for (int T = 0; T < Threads; ++T)
        for (int K = 0; K < 3; ++K) {
            std::vector<int> Expected;
            for (int I = K; I < Each; I += 3) Expected.push_back(I);
            EXPECT_EQ(Seen[size_t(T * 3 + K)], Expected) << "thread " << T << ", kind " << K;
        }
}

}  // namespace
