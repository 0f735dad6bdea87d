// A skinned form on a real display: the frame picture, the caption with its text, the
// caption buttons and the main menu bar are drawn on the screen, and the pointer over a
// button shows its hot look.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "frame/frame_support.h"
#include "frame_display_probe.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Backend.h"

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
    static bool PumpUntil(const std::function<bool()>& Done)
    {
        for (int I = 0; I < 400; ++I) {
            Application->ProcessMessages();
            if (Done()) return true;
            usleep(5000);
        }
        return false;
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
    TRect Close = Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->ObjectRect;
    EXPECT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonNormal)) << std::hex << At(Close.Left + 8, Close.Top + 8);
    // the caption text is white on the caption band
    TRect Cap = Frame->ObjectList[size_t(Frame->GetIndex("caption"))]->ObjectRect;
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
    TRect Item = Bar->Item(0)->ObjectRect;
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
    TRect Close = Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))]->ObjectRect;
    ASSERT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonNormal));
    // the pointer over the button: the frame's hover polling gives it the hot look
    TPoint P(Form->Left() + Close.Left + 8, Form->Top() + Close.Top + 8);
    SetCursorPos(P.X, P.Y);
    EXPECT_TRUE(Shows(Close.Left + 8, Close.Top + 8, ButtonHot)) << std::hex << At(Close.Left + 8, Close.Top + 8);
}
