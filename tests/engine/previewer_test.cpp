// The conversion preview window on the headless window backend: made on the GUI
// thread at the first picture, captioned with the picture's time, closed for good.
#include "engine/FFUtils.h"
#include "engine/Previewer.h"
#include "platform/forms/Forms.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"
#include "platform/windows/Messages.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class PreviewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
    }
    void TearDown() override { DoneForms(); }
};

// A 24-bit bitmap of one colour.
std::unique_ptr<TBitmap> Solid(int AWidth, int AHeight, TColor AColor)
{
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(AWidth, AHeight);
    B->Canvas()->Brush()->SetColor(AColor);
    B->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    return B;
}

// PaintFrame called on a conversion thread of its own.
bool PaintFromThread(TPreviewer& APreviewer, TBitmap* ABitmap, int AFrame, int64_t APTS)
{
    bool Result = false;
    std::thread T([&] { Result = APreviewer.PaintFrame(ABitmap, AFrame, APTS); });
    T.join();  // never waits for the GUI thread
    return Result;
}

// The program's loop: synchronised calls, then the queued messages through the
// application object (and its message hook).
void Pump()
{
    while (CheckSynchronize(0)) {
    }
    Application->ProcessMessages();
}

}  // namespace

TEST_F(PreviewWindow, ShowsPicturesInAWindowOfTheFirstPicturesSize)
{
    TPreviewer P;
    auto Red = Solid(40, 30, clRed);
    EXPECT_TRUE(PaintFromThread(P, Red.get(), 1, 1500000));
    EXPECT_EQ(P.Form(), nullptr);  // made by the GUI thread, not the caller
    Pump();
    ASSERT_NE(P.Form(), nullptr);
    HWND Wnd = P.FormHandle();
    EXPECT_EQ(P.Form()->ClientWidth(), 40);
    EXPECT_EQ(P.Form()->ClientHeight(), 30);
    EXPECT_EQ(P.Form()->FormStyle(), fsStayOnTop);
    EXPECT_EQ(P.Form()->BorderStyle(), bsToolWindow);
    EXPECT_TRUE(IsWindowVisible(Wnd));
    EXPECT_EQ(GetWindowText(Wnd), FormatTimestamp(1500000));
    EXPECT_EQ(Headless::PixelColor(Wnd, TPoint{20, 15}), clRed);

    // A larger picture is drawn clipped to the first size; the caption follows.
    auto Blue = Solid(80, 60, clBlue);
    EXPECT_TRUE(PaintFromThread(P, Blue.get(), 2, 3723456789LL));
    Blue.reset();  // the window keeps its own copy
    Pump();
    EXPECT_EQ(P.Form()->ClientWidth(), 40);
    EXPECT_EQ(GetWindowText(Wnd), "01:02:03.456");
    EXPECT_EQ(Headless::PixelColor(Wnd, TPoint{39, 29}), clBlue);
    // Redrawn from its copy when the window is painted again.
    InvalidateRect(Wnd, nullptr, true);
    Pump();
    EXPECT_EQ(Headless::PixelColor(Wnd, TPoint{5, 5}), clBlue);
}

TEST_F(PreviewWindow, OnlyTheNewestWaitingPictureIsShown)
{
    TPreviewer P;
    auto Red = Solid(20, 20, clRed), Green = Solid(20, 20, clLime);
    PaintFromThread(P, Red.get(), 1, 0);
    PaintFromThread(P, Green.get(), 2, 40000);
    Pump();
    EXPECT_EQ(GetWindowText(P.FormHandle()), FormatTimestamp(40000));
    EXPECT_EQ(Headless::PixelColor(P.FormHandle(), TPoint{10, 10}), clLime);
}

TEST_F(PreviewWindow, ClosedForGood)
{
    TPreviewer P;
    auto Red = Solid(20, 20, clRed);
    PaintFromThread(P, Red.get(), 1, 0);
    Pump();
    HWND Wnd = P.FormHandle();
    SendMessage(Wnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(P.Closed());
    EXPECT_FALSE(IsWindowVisible(Wnd));
    EXPECT_FALSE(PaintFromThread(P, Red.get(), 2, 40000));
    Pump();
    EXPECT_FALSE(IsWindowVisible(Wnd));
    EXPECT_EQ(GetWindowText(Wnd), FormatTimestamp(0));
}

TEST_F(PreviewWindow, FreedFromAnotherThreadWithoutWaiting)
{
    auto* P = new TPreviewer;
    auto Red = Solid(20, 20, clRed);
    PaintFromThread(*P, Red.get(), 1, 0);
    Pump();
    HWND Wnd = P->FormHandle();
    ASSERT_TRUE(IsWindow(Wnd));
    // A picture still waiting when the previewer goes is not shown.
    PaintFromThread(*P, Red.get(), 2, 0);
    std::thread T([&] { delete P; });
    T.join();
    EXPECT_TRUE(IsWindow(Wnd));  // the window goes on the GUI thread
    Pump();
    EXPECT_FALSE(IsWindow(Wnd));
}

TEST_F(PreviewWindow, DraggedByAnyPointAndTheMessageHookRestored)
{
    bool Saved = false;
    Application->OnMessage = [&](TMsg&, bool&) { Saved = true; };
    auto* A = new TPreviewer;
    auto* B = new TPreviewer;
    auto Red = Solid(40, 30, clRed);
    PaintFromThread(*A, Red.get(), 1, 0);
    PaintFromThread(*B, Red.get(), 1, 0);
    Pump();
    HWND Wnd = B->FormHandle();  // both are centred; the later is on top
    TRect Before;
    GetWindowRect(Wnd, Before);
    TPoint Start = Headless::ScreenPoint(Wnd, TPoint{20, 15});
    Headless::MouseDown(Start);
    Headless::MouseMove(TPoint{Start.X + 30, Start.Y + 20});
    Headless::MouseUp(TPoint{Start.X + 30, Start.Y + 20});
    Pump();
    TRect After;
    GetWindowRect(Wnd, After);
    EXPECT_EQ(After.Left - Before.Left, 30);
    EXPECT_EQ(After.Top - Before.Top, 20);
    // Messages for other windows still reach the hook the application had.
    Saved = false;
    PostMessage(Application->Handle(), WM_USER, 0, 0);
    Pump();
    EXPECT_TRUE(Saved);
    // The windows go in any order; the application's hook is back afterwards.
    delete A;
    delete B;
    Saved = false;
    TMsg M;
    bool Handled = false;
    ASSERT_TRUE(bool(Application->OnMessage));
    Application->OnMessage(M, Handled);
    EXPECT_TRUE(Saved);
}
