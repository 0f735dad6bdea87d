// A skinned form on a real display: the frame picture, the caption with its text, the
// caption buttons and the main menu bar are drawn on the screen, and the pointer over a
// button shows its hot look.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "frame/frame_support.h"
#include "frame_display_probe.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Backend.h"
#include "skin/menus/bsSkinHint.h"
#include "display_pump.h"

using displaypump::PumpUntil;

using namespace frametest;

namespace {

class FrameDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        ASSERT_TRUE(framedisplay::Open());
        InitForms();
        Opened = true;
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 10, 10);
        SD = new TbsSkinData(Main);
        SD->SetShowLayeredBorders(false);
        FillFrameSkin(SD);
        Form = new TForm(Application);
        Form->AfterConstruction();
        Frame = new TbsSkinFormFrame(Form);
        Frame->SetSkinData(SD);
        Form->SetCaption("Frame");
        Form->SetBounds(120, 140, 300, 200);
        Menu = new TbsSkinMainMenu(Form);
        for (const char* C : {"&File", "&Edit"}) {
            auto* I = new TMenuItem(Menu);
            I->SetCaption(C);
            Menu->Items()->Add(I);
        }
        Bar = new TbsSkinMainMenuBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinFormFrame(Frame);
        Frame->SetMainMenuBar(Bar);
        Bar->SetMainMenu(Menu);
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        framedisplay::Close();
    }
    // The screen pixel at a point of the form's window (non-client area included).
    TColor At(int X, int Y) { return TColor(framedisplay::ScreenPixel(Form->Left() + X, Form->Top() + Y)); }
    bool Shows(int X, int Y, TColor C)
    {
        return PumpUntil([&] { return At(X, Y) == C; });
    }

    bool Opened = false;
    TForm* Main = nullptr;
    TForm* Form = nullptr;
    TbsSkinData* SD = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
    TbsSkinMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
};

}  // namespace

TEST_F(FrameDisplay, CaptionButtonsAndMenuBarOnScreen)
{
    Form->Show();
    // the window is undecorated and shaped by the skin's mask: the corner pixel is cut off
    ASSERT_TRUE(Shows(1, 100, BorderColor)) << std::hex << At(1, 100);
    EXPECT_TRUE(Shows(150, 6, CaptionColor)) << std::hex << At(150, 6);
    // the caption buttons stand at the right end of the caption, the close button first
    TRect Close = Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->ObjectRect();
    EXPECT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonNormal)) << std::hex << At(Close.Left + 8, Close.Top + 8);
    // the caption text is white on the caption band
    TRect Cap = Frame->ObjectList[size_t(Frame->GetIndex("caption"))]->ObjectRect();
    EXPECT_TRUE(PumpUntil([&] {
        for (int X = Cap.Left; X < Cap.Left + 60; ++X)
            for (int Y = Cap.Top; Y < Cap.Bottom; ++Y)
                if (At(X, Y) == CaptionText) return true;
        return false;
    }));
    // the menu bar fills the top of the client area in button face, its items' text dark
    TPoint BarAt = Bar->ClientToScreen(Point(0, 0));
    int BX = BarAt.X - Form->Left(), BY = BarAt.Y - Form->Top();
    EXPECT_EQ(BX, 4);
    EXPECT_EQ(BY, 24);
    EXPECT_TRUE(Shows(BX + Bar->Width() - 3, BY + 10, ColorToRGB(clBtnFace)));
    TRect Item = Bar->Item(0)->ObjectRect();
    EXPECT_TRUE(PumpUntil([&] {
        for (int X = Item.Left; X < Item.Right; ++X)
            for (int Y = Item.Top; Y < Item.Bottom; ++Y) {
                TColor C = At(BX + X, BY + Y);
                if (GetRValue(C) < 100 && GetGValue(C) < 100 && GetBValue(C) < 100) return true;
            }
        return false;
    }));
}

TEST_F(FrameDisplay, HoverGivesACaptionButtonItsHotLook)
{
    Form->Show();
    TRect Close = Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->ObjectRect();
    ASSERT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonNormal));
    // the pointer over the button: the frame's hover polling gives it the hot look
    TPoint P(Form->Left() + Close.Left + 8, Form->Top() + Close.Top + 8);
    SetCursorPos(P.X, P.Y);
    EXPECT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonHot)) << std::hex << At(Close.Left + 8, Close.Top + 8);
}

namespace {

// Whether the pixels hold at least N that pass Test.
bool Holds(const std::vector<uint32_t>& Px, int N, const std::function<bool(int R, int G, int B)>& Test)
{
    int Count = 0;
    for (uint32_t C : Px)
        if (Test(int((C >> 16) & 0xFF), int((C >> 8) & 0xFF), int(C & 0xFF)) && ++Count >= N) return true;
    return false;
}

// A compositing manager run for the length of one test (xcompmgr, when installed).
class TCompositor {
public:
    bool Start()
    {
        const char* Argv[] = {"xcompmgr", nullptr};
        if (posix_spawnp(&Pid, "xcompmgr", nullptr, nullptr, const_cast<char**>(Argv), environ) != 0) Pid = 0;
        return Pid != 0;
    }
    ~TCompositor()
    {
        if (Pid == 0) return;
        kill(Pid, SIGTERM);
        waitpid(Pid, nullptr, 0);
    }

private:
    pid_t Pid = 0;
};

// Pixels of more than one colour: something is drawn there.
bool Drawn(const std::vector<uint32_t>& Px)
{
    for (uint32_t C : Px)
        if (C != Px.front()) return true;
    return false;
}

}  // namespace

// A form whose whole frame the layered border draws: the caption text with its glow in the
// border's top window, the hint of a caption button and the system menu of a right click
// on the caption, each photographed (frame_layered_*.ppm when screenshots are kept).
TEST_F(FrameDisplay, LayeredCaptionGlowHintAndSystemMenu)
{
    FillLayerFrame(SD, true);
    for (auto& O : SD->ObjectList)
        if (auto* C = dynamic_cast<TbsDataSkinCaption*>(O.get())) {
            C->GlowEffect = true;
            C->GlowSize = 4;
            C->GlowColor = C->GlowActiveColor = RGB(255, 0, 0);
        }
    // layered windows need a compositor: the test runs one for its own length
    TCompositor Compositor;
    if (!Compositor.Start()) GTEST_SKIP() << "no compositor to run";
    ASSERT_TRUE(PumpUntil([] { return LayeredWindowsAvailable(); }));
    Frame->SetIsLayerEnabled(true);
    auto* Hint = new TbsSkinHint(Main);
    Frame->SetSkinHint(Hint);
    Frame->SetShowObjectHint(true);
    Frame->SetSkinData(SD);
    Form->SetCaption("Layered caption");
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Frame->FullLayeredShown(); }));
    TbsFormLayerBorder* B = Frame->FBorderLayer;
    ASSERT_NE(B->TopBorder, nullptr);
    auto Photo = [](const TRect& R, const char* Name) {
        auto Px = framedisplay::ScreenRect(R.Left, R.Top, R.Width(), R.Height());
        framedisplay::SavePixmap(Px, R.Width(), R.Height(), std::string("frame_layered_") + Name + ".ppm");
        return Px;
    };

    // the caption: white text in a red glow over the top window's blue
    TRect TopR = GetWindowRect(B->TopBorder->Handle());
    TRect Cap = Frame->ObjectList[size_t(Frame->GetIndex("caption"))]->ObjectRect();
    TRect CapOnScreen(TopR.Left + Cap.Left, TopR.Top, TopR.Left + Cap.Right, TopR.Bottom);
    std::vector<uint32_t> Px;
    EXPECT_TRUE(PumpUntil([&] {
        Px = framedisplay::ScreenRect(CapOnScreen.Left, CapOnScreen.Top, CapOnScreen.Width(), CapOnScreen.Height());
        return Holds(Px, 10, [](int R, int G, int B) { return R > 200 && G > 200 && B > 200; }) &&
               Holds(Px, 10, [](int R, int G, int) { return R > 120 && G < 100; });
    }));
    Photo(TopR, "caption");

    // a caption button's hint under the pointer
    TRect Close = Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->ObjectRect();
    framedisplay::MovePointer(TopR.Left + (Close.Left + Close.Right) / 2, TopR.Top + (Close.Top + Close.Bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return Hint->IsVisible(); }));
    TRect HintR = GetWindowRect(Hint->Window()->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Drawn(framedisplay::ScreenRect(HintR.Left, HintR.Top, HintR.Width(), HintR.Height())); }));
    Photo(HintR, "hint");

    // a right click on the caption: the system menu at the pointer
    int X = TopR.Left + Cap.Left + Cap.Width() / 2, Y = TopR.Top + (Cap.Top + Cap.Bottom) / 2;
    framedisplay::MovePointer(X, Y);
    PumpUntil([&] { return !Hint->IsVisible() && !Hint->Pending(); });
    framedisplay::ClickButton(3);
    ASSERT_TRUE(PumpUntil([&] { return Frame->SkinMenu->Visible(); }));
    EXPECT_EQ(Frame->OpenMenuRect().TopLeft(), Point(X, Y));
    TbsSkinPopupWindow* W = Frame->SkinMenu->LastLevel();
    ASSERT_NE(W, nullptr);
    TRect MenuR = GetWindowRect(W->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Drawn(framedisplay::ScreenRect(MenuR.Left, MenuR.Top, MenuR.Width(), MenuR.Height())); }));
    Photo(MenuR, "sysmenu");
    Frame->CloseSkinMenu();
    Application->ProcessMessages();
}
