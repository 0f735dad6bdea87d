// A skinned popup menu on a real display: its level is an override-redirect window at the
// place the chain computed, shows the highlighted first item, leaves the keyboard focus
// where it was, and goes away when the chain closes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "menus_xwindows.h"
#include "platform/forms/Forms.h"
#include "platform/windows/Backend.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"
#include "display_pump.h"

using displaypump::PumpUntil;

namespace {

class MenuDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        ASSERT_TRUE(menusx::Open());
        Opened = true;
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        menusx::Close();
    }
    bool Opened = false;
};

TEST_F(MenuDisplay, LevelIsAnOverrideRedirectWindowThatTakesNoFocus)
{
    auto* Main = Application->CreateForm<TForm>();
    Main->SetBounds(50, 50, 300, 200);
    auto* Frame = new TbsSkinFormFrame(Main);
    Main->Show();
    // on the display and given the focus it asked for
    ASSERT_TRUE(PumpUntil([&] {
        menusx::TWinInfo I;
        return menusx::Info(GetNativeWindow(Main->Handle()), I) && I.Viewable &&
               menusx::Focus() == GetNativeWindow(Main->Handle());
    }));
    const unsigned long FocusBefore = menusx::Focus();
    auto* Menu = new TbsSkinPopupMenu(Main);
    for (const char* C : {"Open", "Save", "Quit"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        Menu->Items()->Add(I);
    }
    Menu->Popup(120, 130);
    ASSERT_EQ(Frame->SkinMenu->LevelCount(), 1);
    TbsSkinPopupWindow* W = Frame->SkinMenu->Level(0);
    const unsigned long XW = GetNativeWindow(W->Handle());
    ASSERT_NE(XW, 0u);
    menusx::TWinInfo I;
    ASSERT_TRUE(PumpUntil([&] { return menusx::Info(XW, I) && I.Viewable; }));
    EXPECT_TRUE(I.OverrideRedirect);
    EXPECT_EQ(I.X, 120);
    EXPECT_EQ(I.Y, 130);
    EXPECT_EQ(I.Width, W->Width());
    EXPECT_EQ(I.Height, W->Height());
    // the first item is highlighted on the screen
    EXPECT_TRUE(PumpUntil([&] { return menusx::PixelAt(120 + 4, 130 + 4) == RGB(193, 212, 243); }));
    EXPECT_EQ(menusx::Focus(), FocusBefore);
    Frame->SkinMenu->Hide();
    EXPECT_TRUE(PumpUntil([&] { return menusx::Info(XW, I) ? !I.Viewable : true; }));
}

}  // namespace
