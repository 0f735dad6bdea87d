// Layered windows on a real display, with and without a compositing manager (the
// test starts xcompmgr on the test server): constant alpha for forms and popups,
// per-pixel alpha through UpdateLayeredWindow, and the fallbacks without one.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "x11_fixture.h"
#include "platform/graphics/Graphics.h"

extern char** environ;

namespace {

using namespace x11test;

class X11Layered : public X11Test {
protected:
    void TearDown() override
    {
        StopCompositor();
        X11Test::TearDown();
    }
    bool StartCompositor()
    {
        char Name[] = "xcompmgr";
        char* Args[] = {Name, nullptr};
        if (posix_spawnp(&Compositor, Name, nullptr, nullptr, Args, environ) != 0) return false;
        return PumpUntil([] { return LayeredWindowsAvailable(); });
    }
    void StopCompositor()
    {
        if (!Compositor) return;
        kill(Compositor, SIGTERM);
        waitpid(Compositor, nullptr, 0);
        Compositor = 0;
        PumpUntil([] { return !LayeredWindowsAvailable(); });
    }
    TPopup* NewPopup(TWinControl* Owner, TRect R, TColor C)
    {
        auto* P = new TPopup(Owner, C);
        P->SetVisible(false);
        P->HandleNeeded();
        SetWindowLong(P->Handle(), GWL_EXSTYLE, GetWindowLong(P->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowPos(P->Handle(), HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
        return P;
    }
    // A per-pixel window at (300, 300), 100 x 50: its left half opaque blue, its right
    // half transparent.
    TPopup* HalfBluePerPixelWindow(TWinControl* Owner)
    {
        auto* Glow = new TPopup(Owner, clBlack);
        Glow->SetVisible(false);
        Glow->HandleNeeded();
        SetWindowLong(Glow->Handle(), GWL_EXSTYLE, GetWindowLong(Glow->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        TBitmap Pic(100, 50);
        Pic.SetPixelFormat(pf32bit);
        for (int Y = 0; Y < 50; ++Y) {
            auto* Row = static_cast<uint32_t*>(Pic.ScanLine(Y));
            for (int X = 0; X < 100; ++X) Row[X] = X < 50 ? 0xFF0000FFu : 0u;
        }
        TPoint Dst{300, 300}, Src{0, 0};
        TSize Size{100, 50};
        BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ShowWindow(Glow->Handle(), SW_SHOWNA);
        EXPECT_TRUE(UpdateLayeredWindow(Glow->Handle(), nullptr, &Dst, &Size, Pic.Canvas()->Handle(), &Src, 0, &Blend,
                                        ULW_ALPHA));
        return Glow;
    }
    static bool Near(TColor A, TColor B, int Tolerance = 6)
    {
        return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
               std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
    }
    pid_t Compositor = 0;
};

TEST_F(X11Layered, WithACompositorAlphaBlendsWithWhatLiesBelow)
{
    TForm* Back = NewForm(Bounds(100, 100, 400, 300), clWhite);
    Back->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Back)); }));
    if (!StartCompositor()) GTEST_SKIP() << "no compositing manager could be started";

    // a popup with constant alpha: made anew with the 32-bit visual
    TPopup* P = NewPopup(Back, Bounds(120, 120, 100, 80), clRed);
    ASSERT_TRUE(SetLayeredWindowAttributes(P->Handle(), 0, 128, LWA_ALPHA));
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(P)); }));
    EXPECT_EQ(WindowDepth(XWin(P)), 32);
    ASSERT_TRUE(PumpUntil([&] { return Near(ScreenPixel({170, 160}), RGB(255, 127, 127)); }))
        << std::hex << ScreenPixel({170, 160});

    // a per-pixel window: left half opaque blue, right half transparent
    TPopup* Glow = HalfBluePerPixelWindow(Back);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Glow)); }));
    EXPECT_EQ(WindowDepth(XWin(Glow)), 32);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel({320, 320}) == clBlue; })) << std::hex << ScreenPixel({320, 320});
    EXPECT_EQ(ScreenPixel({380, 320}), clWhite);  // the transparent half shows the form

    // a managed form fades through the compositor's opacity property
    TForm* F = NewForm(Bounds(600, 100, 100, 100), clBlack);
    F->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(F)); }));
    SetWindowLong(F->Handle(), GWL_EXSTYLE, GetWindowLong(F->Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(F->Handle(), 0, 51, LWA_ALPHA);
    Pump();
    auto Op = Property32(XWin(F), "_NET_WM_WINDOW_OPACITY");
    ASSERT_EQ(Op.size(), 1u);
    EXPECT_EQ((unsigned long)Op[0] & 0xFFFFFFFFul, 0x33333333ul);
    // taking the style away makes it opaque again
    SetWindowLong(F->Handle(), GWL_EXSTYLE, GetWindowLong(F->Handle(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
    Pump();
    EXPECT_TRUE(Property32(XWin(F), "_NET_WM_WINDOW_OPACITY").empty());
}

TEST_F(X11Layered, WithoutACompositorLayeredWindowsStayOpaqueAndPerPixelOnesAreShaped)
{
    ASSERT_FALSE(LayeredWindowsAvailable());
    TForm* Back = NewForm(Bounds(100, 100, 400, 300), clWhite);
    Back->Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Back)); }));
    TPopup* P = NewPopup(Back, Bounds(120, 120, 100, 80), clRed);
    SetLayeredWindowAttributes(P->Handle(), 0, 128, LWA_ALPHA);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(P)); }));
    EXPECT_NE(WindowDepth(XWin(P)), 32);
    Pump();
    EXPECT_EQ(ScreenPixel({170, 160}), clRed);  // opaque

    // the pixels with alpha make the shape of a per-pixel window
    TPopup* Glow = HalfBluePerPixelWindow(Back);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(XWin(Glow)); }));
    TRegion Shape;
    for (const TRect& R : ShapeRects(XWin(Glow), false)) Shape |= TRegion(R);
    EXPECT_EQ(Shape.Bounds(), TRect(0, 0, 50, 50));
    Pump();
    EXPECT_EQ(ScreenPixel({320, 320}), clBlue);
    EXPECT_EQ(ScreenPixel({380, 320}), clWhite);
}

}  // namespace
