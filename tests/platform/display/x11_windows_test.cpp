// The X11 backend on a real display (the test command runs an Xvfb without a window
// manager): forms open as undecorated windows at the program's place, show their
// pixels, get clicks and keys sent through the XTEST extension, are moved by the
// program's own move loop, shaped by regions; popups never take the focus; a native
// host window takes an embedded client; the answers to its own moves leave a window as put.
#include <dlfcn.h>

#include <vector>

#include "x11_fixture.h"

namespace {

using namespace x11test;
using X11Windows = X11Test;

TEST_F(X11Windows, AFormOpensUndecoratedAtItsPlaceAndShowsItsPixels)
{
    TForm* F = NewForm(Bounds(100, 120, 300, 200), clWhite);
    auto* Red = Add<TBox>(F, Bounds(20, 20, 100, 60), TColor(clRed));
    Add<TBox>(F, Bounds(150, 100, 120, 80), TColor(clBlue));
    F->Show();
    XId W = XWin(F);
    ASSERT_NE(W, 0u);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    Pump();

    EXPECT_EQ(RootGeometry(W), Bounds(100, 120, 300, 200));
    // undecorated (Motif hints: flags, functions, decorations = 0), fixed size at our place
    auto Motif = Property32(W, "_MOTIF_WM_HINTS");
    ASSERT_EQ(Motif.size(), 5u);
    EXPECT_EQ(Motif[2], 0);
    TSizeHints H;
    ASSERT_TRUE(SizeHints(W, H));
    EXPECT_TRUE(H.UserPosition);
    EXPECT_TRUE(H.UserSize);
    EXPECT_EQ(H.MinWidth, 300);
    EXPECT_EQ(H.MaxWidth, 300);
    EXPECT_EQ(H.MinHeight, 200);
    EXPECT_EQ(H.MaxHeight, 200);

    EXPECT_EQ(ScreenPixel({105, 125}), clWhite);
    EXPECT_EQ(ScreenPixel({125, 145}), clRed);
    EXPECT_EQ(ScreenPixel({260, 230}), clBlue);
    SaveScreenshot(Bounds(90, 110, 320, 220), "x11_form.ppm");

    // drawing outside painting shows at once
    Red->Canvas()->Brush()->SetColor(clLime);
    Red->Canvas()->FillRect(TRect(0, 0, 10, 10));
    FreeDeviceContexts();
    Sync();
    EXPECT_EQ(ScreenPixel({122, 142}), clLime);
}

TEST_F(X11Windows, ClicksAndKeysReachTheControlsAndTheFormTakesTheFocus)
{
    TForm* F = NewForm(Bounds(200, 200, 300, 200), clWhite);
    auto* A = Add<TBox>(F, Bounds(10, 10, 100, 50), TColor(clRed));
    auto* B = Add<TBox>(F, Bounds(150, 10, 100, 50), TColor(clBlue));
    A->SetTabStop(true);
    B->SetTabStop(true);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    ASSERT_TRUE(PumpUntil([&] { return FocusedWindow() == W; }));  // no window manager: we focus it

    ClickAt({200 + 150 + 30, 200 + 10 + 20});
    ASSERT_TRUE(PumpUntil([&] { return B->Clicks == 1; }));
    EXPECT_EQ(A->Clicks, 0);
    B->SetFocus();
    KeyTap("h");
    KeyTap("i");
    KeyTap("Return");
    ASSERT_TRUE(PumpUntil([&] { return B->Typed == "hi<enter>"; })) << B->Typed;

    // the pointer position comes from the server
    MoveTo({321, 234});
    EXPECT_EQ(GetCursorPos(), TPoint(321, 234));

    // capture grabs the pointer, so that moves outside every window still come
    EXPECT_FALSE(PointerGrabbedElsewhere());
    SetCapture(B->Handle());
    Pump();
    EXPECT_TRUE(PointerGrabbedElsewhere());
    int Moves = 0;
    B->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) { Moves += X == 1000 - 350 && Y == 900 - 210; };
    MoveTo({1000, 900});
    ASSERT_TRUE(PumpUntil([&] { return Moves == 1; }));
    ReleaseCapture();
    Pump();
    EXPECT_FALSE(PointerGrabbedElsewhere());
}

// A form whose top strip is its caption, its right end a sizing edge.
class TCaptionForm : public TForm {
public:
    using TForm::TForm;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_NCHITTEST) {
            TPoint P = ScreenToClient(LParamToPoint(M.LParam));
            if (P.Y < 20) {
                M.Result = P.X >= Width() - 20 ? HTRIGHT : HTCAPTION;
                return;
            }
        }
        TForm::Dispatch(M);
    }
};

TEST_F(X11Windows, TheProgramsMoveLoopMovesAndSizesTheRealWindow)
{
    auto* F = Application->CreateForm<TCaptionForm>();
    F->SetBorderStyle(bsNone);
    F->SetBoundsRect(Bounds(300, 300, 200, 150));
    F->SetColor(clYellow);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));

    // press on the caption, drag by (+60, +40), release: all sent before the loop runs
    MoveTo({350, 310});
    Button(true);
    MoveTo({380, 330});
    MoveTo({410, 350});
    Button(false);
    ASSERT_TRUE(PumpUntil([&] { return F->Left() == 360 && F->Top() == 340; })) << F->Left() << "," << F->Top();
    ASSERT_TRUE(PumpUntil([&] { return RootGeometry(W) == Bounds(360, 340, 200, 150); }));
    EXPECT_EQ(GetCapture(), nullptr);

    // the right end of the strip sizes it; the fixed-size hints follow the new size
    MoveTo({360 + 190, 345});
    Button(true);
    MoveTo({360 + 240, 345});
    Button(false);
    ASSERT_TRUE(PumpUntil([&] { return F->Width() == 250; })) << F->Width();
    ASSERT_TRUE(PumpUntil([&] { return RootGeometry(W).Width() == 250; }));
    TSizeHints H;
    ASSERT_TRUE(SizeHints(W, H));
    EXPECT_EQ(H.MinWidth, 250);
    EXPECT_EQ(H.MaxWidth, 250);
}

TEST_F(X11Windows, LateEchoesOfTheProgramsOwnMovesLeaveTheWindowAsPut)
{
    TForm* F = NewForm(Bounds(100, 500, 200, 100), clWhite);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    std::vector<TRect> Sizes;  // what the window system was told after the moves
    const TWndMethod Old = F->WindowProc;
    F->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_WINDOWPOSCHANGED) Sizes.push_back(F->BoundsRect());
        Old(M);
    };
    // five moves and sizes in a row; the server's answers are read only afterwards
    for (int I = 1; I <= 5; ++I) F->SetBounds(100 + 10 * I, 500 + 5 * I, 200 + 20 * I, 100 + 10 * I);
    const size_t Asked = Sizes.size();
    for (int I = 0; I < 10; ++I) Pump();
    EXPECT_EQ(Sizes.size(), Asked) << "moved again by the answers to its own moves";
    EXPECT_EQ(F->BoundsRect(), Bounds(150, 525, 300, 150));
    EXPECT_EQ(RootGeometry(W), Bounds(150, 525, 300, 150));
    F->WindowProc = Old;
}

TEST_F(X11Windows, ARegionShapesTheWindowAndItsInputAlsoAfterAResize)
{
    TForm* Under = NewForm(Bounds(400, 100, 300, 300), clGreen);
    auto* Below = Add<TBox>(Under, Bounds(0, 0, 300, 300), TColor(clGreen));
    Under->Show();
    TForm* F = NewForm(Bounds(450, 150, 200, 200), clWhite);
    auto* Box = Add<TBox>(F, Bounds(0, 0, 200, 200), TColor(clRed));
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W) && Viewable(XWin(Under)); }));
    // a window with a hole in its middle
    HRGN R = CreateRectRgn(0, 0, 200, 200);
    HRGN Hole = CreateRectRgn(50, 50, 150, 150);
    CombineRgn(R, R, Hole, RGN_DIFF);
    DeleteObject(Hole);
    SetWindowRgn(F->Handle(), R, true);
    Pump();

    EXPECT_EQ(ShapeRects(W, false).size(), 4u);
    EXPECT_EQ(ShapeRects(W, true).size(), 4u);
    EXPECT_EQ(ScreenPixel({460, 160}), clRed);
    EXPECT_EQ(ScreenPixel({550, 250}), clGreen);  // through the hole

    // a click in the hole reaches the window underneath
    ClickAt({550, 250});
    ASSERT_TRUE(PumpUntil([&] { return Below->Clicks == 1; }));
    EXPECT_EQ(Box->Clicks, 0);
    ClickAt({460, 160});
    ASSERT_TRUE(PumpUntil([&] { return Box->Clicks == 1; }));

    // the shape is set again after a resize
    F->SetBounds(450, 150, 250, 250);
    Pump();
    TRegion Got;
    for (const TRect& Rc : ShapeRects(W, false)) Got |= TRegion(Rc);
    EXPECT_EQ(Got.Bounds(), TRect(0, 0, 200, 200));
    EXPECT_FALSE(Got.Contains({100, 100}));
}

TEST_F(X11Windows, PopupsAreUnmanagedAndNeverTakeTheFocus)
{
    TForm* F = NewForm(Bounds(100, 500, 300, 200), clWhite);
    auto* Edit = Add<TBox>(F, Bounds(10, 10, 100, 30), TColor(clLtGray));
    Edit->SetTabStop(true);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    Edit->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return FocusedWindow() == W; }));

    auto* P = new TPopup(F, TColor(clFuchsia));
    P->SetVisible(false);
    P->HandleNeeded();
    SetWindowPos(P->Handle(), HWND_TOPMOST, 150, 520, 120, 80, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    XId PW = XWin(P);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(PW); }));
    EXPECT_TRUE(OverrideRedirect(PW));
    Pump();
    EXPECT_EQ(ScreenPixel({200, 560}), clFuchsia);  // above the form

    ClickAt({200, 560});
    ASSERT_TRUE(PumpUntil([&] { return P->Clicks == 1; }));
    Pump();
    EXPECT_EQ(FocusedWindow(), W);
    EXPECT_EQ(GetActiveWindow(), F->Handle());
    EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(X11Windows, OwnedFormsAreDialogsOfTheMainFormKeptOffTheTaskBar)
{
    TForm* Main = NewForm(Bounds(100, 100, 300, 200), clWhite);
    Main->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Main)); }));
    TForm* Dialog = NewForm(Bounds(150, 150, 200, 100), clWhite);
    Dialog->SetBorderStyle(bsDialog);
    Dialog->Show();
    XId D = XWin(Dialog);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(D); }));
    auto Transient = Property32(D, "WM_TRANSIENT_FOR");
    ASSERT_EQ(Transient.size(), 1u);
    EXPECT_EQ(XId(Transient[0]), XWin(Main));
    EXPECT_TRUE(HasAtom(D, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG"));
    EXPECT_TRUE(HasAtom(D, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(HasAtom(XWin(Main), "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL"));
    EXPECT_FALSE(HasAtom(XWin(Main), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"));
    // a form with a caption of its own keeps the window manager's decorations
    auto Motif = Property32(D, "_MOTIF_WM_HINTS");
    ASSERT_EQ(Motif.size(), 5u);
    EXPECT_EQ(Motif[2], 1);
}

TEST_F(X11Windows, StayOnTopIsAWindowStateThatCanBeSwitched)
{
    TForm* F = NewForm(Bounds(600, 500, 200, 100), clWhite);
    F->SetFormStyle(fsStayOnTop);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    EXPECT_TRUE(HasAtom(W, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE"));
    SetWindowPos(F->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump();
    EXPECT_FALSE(HasAtom(W, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE"));
}

TEST_F(X11Windows, MinimizeTakesTheWindowOffTheScreenAndRestoreBringsItBack)
{
    TForm* F = NewForm(Bounds(700, 100, 200, 100), clWhite);
    F->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    ShowWindow(F->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return !Viewable(W); }));
    EXPECT_TRUE(IsIconic(F->Handle()));
    ShowWindow(F->Handle(), SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W); }));
    EXPECT_FALSE(IsIconic(F->Handle()));
}

TEST_F(X11Windows, AWindowGivenBackByTheWindowManagerIsRestored)
{
    TForm* F = NewForm(Bounds(700, 300, 200, 100), clWhite);
    TForm* Other = NewForm(Bounds(700, 450, 200, 100), clWhite);
    F->Show();
    Other->Show();
    XId W = XWin(F);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(W) && Viewable(XWin(Other)); }));
    int Restored = 0, Shown = 0;
    Application->OnRestore = [&](TObject*) { ++Restored; };
    F->WindowProc = [&, Old = F->WindowProc](TMessage& M) {
        if (M.Msg == WM_SHOWWINDOW && M.WParam && M.LParam == SW_PARENTOPENING) ++Shown;
        Old(M);
    };
    Application->Minimize();  // every window of the program leaves the screen
    ASSERT_TRUE(PumpUntil([&] { return !Viewable(W) && !Viewable(XWin(Other)); }));
    MapWindow(W);  // the user picks it from the task bar
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(F->Handle()); }));
    EXPECT_EQ(Restored, 1);
    EXPECT_EQ(Shown, 1);
    EXPECT_FALSE(IsIconic(Other->Handle()));  // the main form brings the others back
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Other)); }));
}

TEST_F(X11Windows, TheWindowManagersCloseRequestClosesTheForm)
{
    TForm* F = NewForm(Bounds(100, 300, 200, 100), clWhite);
    TForm* Dialog = NewForm(Bounds(350, 300, 200, 100), clWhite);
    F->Show();
    Dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Dialog)); }));
    bool Asked = false;
    Dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { Asked = CanClose = true; };
    RequestClose(XWin(Dialog));
    ASSERT_TRUE(PumpUntil([&] { return !Dialog->Visible(); }));
    EXPECT_TRUE(Asked);
}

TEST_F(X11Windows, ANativeHostTakesAnEmbeddedClientAndFollowsItsControl)
{
    TForm* F = NewForm(Bounds(100, 700, 300, 200), clWhite);
    auto* Host = Add<TBox>(F, Bounds(20, 30, 160, 120), TColor(clBlue));
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)); }));
    XId HW = XId(CreateNativeWindow(Host->Handle()));
    ASSERT_NE(HW, 0u);
    EXPECT_EQ(XWin(Host), HW);
    EXPECT_EQ(XId(CreateNativeWindow(Host->Handle())), HW);  // one per window

    // another client draws into it, as a video overlay does
    XId Client = CreateClient(HW, Bounds(0, 0, 160, 120));
    const TColor Orange = RGB(0xFF, 0x80, 0x00);
    ASSERT_TRUE(PumpUntil([&] {
        FillClient(Client, Orange);
        return ScreenPixel({100 + 20 + 80, 700 + 30 + 60}) == Orange;
    }));
    EXPECT_EQ(RootGeometry(HW), Bounds(120, 730, 160, 120));

    // it follows the control's place and visibility
    Host->SetBounds(40, 50, 100, 80);
    Pump();
    EXPECT_EQ(RootGeometry(HW), Bounds(140, 750, 100, 80));
    Host->SetVisible(false);
    Pump();
    EXPECT_FALSE(Viewable(HW));
}

// The preview player's video: SDL 1.2 draws into the host's native window through
// SDL_WINDOWID on its own connection.  It must not take the presses on that window
// (only one client may), so that a press there still reaches the program.
TEST_F(X11Windows, SdlDrawsIntoTheNativeHostAndLeavesThePressesToTheProgram)
{
    void* Sdl = dlopen("libSDL-1.2.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!Sdl) GTEST_SKIP() << "SDL 1.2 is not installed";
    auto Init = reinterpret_cast<int (*)(uint32_t)>(dlsym(Sdl, "SDL_Init"));
    auto SetVideoMode = reinterpret_cast<void* (*)(int, int, int, uint32_t)>(dlsym(Sdl, "SDL_SetVideoMode"));
    auto Quit = reinterpret_cast<void (*)()>(dlsym(Sdl, "SDL_Quit"));
    ASSERT_TRUE(Init && SetVideoMode && Quit);

    TForm* F = NewForm(Bounds(400, 600, 300, 200), clWhite);
    auto* Host = Add<TBox>(F, Bounds(20, 20, 200, 150), TColor(clBlack));
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)); }));
    XId HW = XId(CreateNativeWindow(Host->Handle()));
    ASSERT_NE(HW, 0u);
    setenv("SDL_WINDOWID", std::to_string(HW).c_str(), 1);
    ASSERT_EQ(Init(0x20 /* video */ | 0x100000 /* no signal handlers */), 0);
    EXPECT_NE(SetVideoMode(200, 150, 0, 0), nullptr);
    EXPECT_FALSE(MasksHavePress(AllEventMasks(HW)));

    int Presses = 0;
    Host->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Presses; };
    ClickAt({400 + 20 + 100, 600 + 20 + 75});
    EXPECT_TRUE(PumpUntil([&] { return Presses == 1; }));
    Quit();
    unsetenv("SDL_WINDOWID");
    dlclose(Sdl);
}

TEST_F(X11Windows, TheMessageBoxOpensAsADialogAndEnterClosesIt)
{
    TForm* F = NewForm(Bounds(0, 0, 200, 100), clWhite);
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)); }));
    // once the box is on the screen: keep a picture of it and press Enter
    bool Seen = false;
    HWND Timer = AllocateHWnd([&](TMessage& M) {
        if (M.Msg != WM_TIMER || Seen) return;
        HWND Box = GetActiveWindow();
        if (!Box || Box == F->Handle() || !Viewable(XId(GetNativeWindow(Box)))) return;
        Seen = true;
        SaveScreenshot(GetWindowRect(Box), "x11_message_box.ppm");
        KeyTap("Return");
    });
    SetTimer(Timer, 1, 50);
    int R = MessageBox(F->Handle(), "转换失败: the output folder does not exist.", "Video Converter",
                       MB_OK | MB_ICONWARNING);
    KillTimer(Timer, 1);
    DeallocateHWnd(Timer);
    EXPECT_TRUE(Seen);
    EXPECT_EQ(R, IDOK);
}

TEST_F(X11Windows, MonitorsComeFromTheServer)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight());
    EXPECT_GE(GetSystemMetrics(SM_CMONITORS), 1);
    TRect Work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
    EXPECT_EQ(Work, TRect(0, 0, ScreenWidth(), ScreenHeight()));
    // without a compositing manager layered windows are not available
    EXPECT_FALSE(LayeredWindowsAvailable());
}

}  // namespace
