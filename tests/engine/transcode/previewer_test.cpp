// The conversion preview window on the headless window backend: made on the GUI
// thread at the first picture, captioned with the picture's time, closed for good; and
// the window of a task list's running conversion.
#include "support/convert_support.h"
#include "engine/common/FFUtils.h"
#include "engine/transcode/Previewer.h"
#include "platform/forms/Forms.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"
#include "platform/windows/Messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

// ---------------------------------------------------------------------------------
// The window of a running conversion (a task list converting on a worker thread)

namespace {

// The conversion preview window on the screen, null while there is none.
TForm* ConversionWindow()
{
    for (int I = 0; I < Screen->FormCount(); ++I) {
        auto* F = dynamic_cast<TForm*>(Screen->Forms(I));
        if (F && F->FormStyle() == fsStayOnTop && F->BorderStyle() == bsToolWindow) return F;
    }
    return nullptr;
}

struct TPreviewedConversion {
    converttest::TEvents Events;
    std::unique_ptr<TTaskList> List;
    String Out;
    // The conversion holds at the picture HoldAt until Hold is cleared.
    std::atomic<int> HoldAt{0};
    std::atomic<bool> Hold{false};
    std::atomic<int> Pictures{0};

    explicit TPreviewedConversion(const String& AName)
    {
        List = converttest::NewTaskList(Events);
        // Progress reports on the worker: only the window needs the GUI thread.
        List->SetTriggerEventInMainThread(false);
        Out = enginetest::ScratchFolder() + AName;
        EXPECT_EQ(List->AddTask(converttest::Clip("clip.avi")), 0) << List->LastErrMsg();
        TOutputOptions O = converttest::AviOptions();
        O.CustomHook = true;
        EXPECT_TRUE(List->SetOutputFile(0, Out, &O)) << List->LastErrMsg();
        List->SetPreview(true);
        // Every picture is due for the window.
        List->Task(0)->Clock = converttest::SteppingClock(150000);
        List->OnCustomHook = [this](TObject*, PHookInfo AInfo) {
            AInfo->Update = false;
            Pictures = AInfo->FrameNumber;
            if (AInfo->FrameNumber != HoldAt) return;
            for (int I = 0; I < 60000 && Hold; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
    }
    bool Final() const { return Events.Final(); }
};

}  // namespace

TEST_F(PreviewWindow, ShowsARunningConversionWithoutHoldingItUp)
{
    TPreviewedConversion C("previewed.avi");
    C.HoldAt = 30;
    C.Hold = true;
    C.List->Start(1);
    // The GUI thread serves nothing meanwhile, and the conversion goes on to its
    // thirtieth picture all the same: showing a picture does not wait for the window.
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (C.Pictures < 30 && std::chrono::steady_clock::now() < End)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(C.Pictures, 30);
    EXPECT_EQ(ConversionWindow(), nullptr);
    // Served, the GUI thread shows the newest picture, at the picture's size.
    Pump();
    TForm* Window = ConversionWindow();
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(IsWindowVisible(Window->Handle()));
    EXPECT_EQ(Window->ClientWidth(), 160);
    EXPECT_EQ(Window->ClientHeight(), 120);
    EXPECT_EQ(GetWindowText(Window->Handle()).substr(0, 6), "00:00:");
    C.Hold = false;
    ASSERT_TRUE(converttest::WaitForFinal(C.Events));
    EXPECT_TRUE(C.Events.Terminates.front().Finished) << C.Events.Terminates.front().ExceptionMsg;
    EXPECT_EQ(converttest::CountFrames(C.Out), 50);
    C.List.reset();
    Pump();
    EXPECT_EQ(ConversionWindow(), nullptr);  // it goes with its conversion
}

TEST_F(PreviewWindow, ClosedWhileTheConversionRunsTheConversionGoesOn)
{
    TPreviewedConversion C("closed.avi");
    C.HoldAt = 10;
    C.Hold = true;
    C.List->Start(1);
    // The window comes up with the first pictures while the conversion holds.
    TForm* Window = nullptr;
    ASSERT_TRUE(converttest::WaitUntil([&] {
        Window = ConversionWindow();
        return Window && IsWindowVisible(Window->Handle()) && C.Pictures == 10;
    }));
    HWND Wnd = Window->Handle();
    const String Caption = GetWindowText(Wnd);
    EXPECT_EQ(Caption.substr(0, 6), "00:00:");
    SendMessage(Wnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(Wnd));
    C.Hold = false;
    ASSERT_TRUE(converttest::WaitForFinal(C.Events));
    EXPECT_TRUE(C.Events.Terminates.front().Finished) << C.Events.Terminates.front().ExceptionMsg;
    EXPECT_EQ(converttest::CountFrames(C.Out), 50);
    // The closed window neither came back nor changed; it went with the preview.
    EXPECT_FALSE(C.List->Task(0)->PostHooks().Contains(phPreview));
    Pump();
    EXPECT_FALSE(IsWindow(Wnd) && IsWindowVisible(Wnd));
    EXPECT_EQ(ConversionWindow(), nullptr);
}
