// An MDI main form on a real display, in the test skin and in the default look: a skinned
// caption, a menu bar, the tabs bar and three skinned children inside the client window.
// The children are cascaded, one is maximized (the menu bar shows the child's buttons), a
// tab is dragged to a new place and the client window is scrolled; each step is
// photographed (mdi_<look>_<step>.ppm when screenshots are kept) and checked on the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "frame/frame_support.h"
#include "frame_display_probe.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Backend.h"
#include "skin/frame/bsSkinMDITabsBar.h"
#include "display_pump.h"

using displaypump::PumpUntil;
using displaypump::Settle;

using namespace frametest;

namespace {

class MDIDisplay : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        ASSERT_TRUE(framedisplay::Open());
        InitForms();
        Opened = true;
        Skinned = GetParam();
        Look = Skinned ? "skin" : "default";
        Main = Application->CreateForm<TForm>();
        Main->SetFormStyle(fsMDIForm);
        Main->SetCaption("MDI");
        if (Skinned) {
            SD = new TbsSkinData(Main);
            SD->SetShowLayeredBorders(false);
            FillFrameSkin(SD);
        }
        MainFrame = new TbsSkinFormFrame(Main);
        MainFrame->SetSkinData(SD);
        Main->SetBounds(60, 60, 640, 480);
        Menu = new TbsSkinMainMenu(Main);
        for (const char* C : {"&File", "&Window"}) {
            auto* I = new TMenuItem(Menu);
            I->SetCaption(C);
            Menu->Items()->Add(I);
        }
        MenuBar = new TbsSkinMainMenuBar(Main);
        MenuBar->SetParent(Main);
        MenuBar->SetSkinFormFrame(MainFrame);
        MainFrame->SetMainMenuBar(MenuBar);
        MenuBar->SetMainMenu(Menu);
        Tabs = new TbsSkinMDITabsBar(Main);
        Tabs->SetParent(Main);
        Tabs->SetAlign(alTop);
        Tabs->SetTop(100);
        Tabs->SetSkinFormFrame(MainFrame);
        Tabs->SetShowCloseButtons(true);
        MainFrame->SetMDITabsBar(Tabs);
        Main->Show();
        ASSERT_TRUE(PumpUntil([&] { return Main->HandleAllocated() && IsWindowVisible(Main->Handle()); }));
        for (const char* C : {"one", "two", "three"}) {
            auto* F = new TForm(Application);
            F->SetFormStyle(fsMDIChild);
            F->AfterConstruction();
            auto* Fr = new TbsSkinFormFrame(F);
            Fr->SetSkinData(SD);
            F->SetCaption(C);
            F->SetBounds(20, 20, 220, 160);
            F->Show();
            Children.push_back(F);
        }
        Settle();
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        framedisplay::Close();
    }
    // A screen pixel at a point of the MDI client area.
    TColor InClient(int X, int Y)
    {
        TRect A;
        MainFrame->GetMDIClientRect(A);
        TPoint P = Main->ClientToScreen(TPoint(A.Left + X, A.Top + Y));
        return TColor(framedisplay::ScreenPixel(P.X, P.Y));
    }
    bool ClientShows(int X, int Y, TColor C)
    {
        return PumpUntil([&] { return InClient(X, Y) == C; });
    }
    void Photograph(const std::string& Step)
    {
        Settle();
        auto Px = framedisplay::ScreenRect(Main->Left(), Main->Top(), Main->Width(), Main->Height());
        ASSERT_EQ(int(Px.size()), Main->Width() * Main->Height());
        framedisplay::SavePixmap(Px, Main->Width(), Main->Height(), "mdi_" + Look + "_" + Step + ".ppm");
    }
    TColor Workspace() { return Skinned ? ClientColor : ColorToRGB(clAppWorkSpace); }

    bool Opened = false, Skinned = false;
    std::string Look;
    TForm* Main = nullptr;
    TbsSkinData* SD = nullptr;
    TbsSkinFormFrame* MainFrame = nullptr;
    TbsSkinMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* MenuBar = nullptr;
    TbsSkinMDITabsBar* Tabs = nullptr;
    std::vector<TForm*> Children;
};

TEST_P(MDIDisplay, CascadeMaximizeDragAndScroll)
{
    TRect A;
    MainFrame->GetMDIClientRect(A);
    ASSERT_GT(A.Top, 0);  // under the menu bar and the tabs bar
    ASSERT_EQ(Tabs->TabCount(), 3);

    // cascaded: the children step down from the top-left corner; the top-right corner of
    // the client area is left to the workspace
    MainFrame->Cascade();
    Settle();
    EXPECT_TRUE(ClientShows(A.Width() - 6, 4, Workspace())) << std::hex << InClient(A.Width() - 6, 4);
    if (Skinned) {
        // the front child (the last, cascaded to the corner) has the skin's caption band
        TForm* Front = Children.back();
        TPoint P = Front->ClientToScreen(TPoint(0, 0));
        EXPECT_TRUE(PumpUntil([&] { return TColor(framedisplay::ScreenPixel(P.X + 60, P.Y - 10)) == CaptionColor; }))
            << std::hex << framedisplay::ScreenPixel(P.X + 60, P.Y - 10);
    }
    // the active child's tab is the active one
    EXPECT_TRUE(Tabs->Tabs(2)->Active);
    Photograph("cascade");

    // one maximized: every child fills the client area, the menu bar shows its buttons and
    // the main caption names the child
    FindSkinFormComponent(Children[1])->SetWindowState(wsMaximized);
    Settle();
    EXPECT_TRUE(MainFrame->GetMDIChildMaximized());
    EXPECT_TRUE(MenuBar->FMDIChildMax);
    EXPECT_GE(MenuBar->ButtonsCount, 3);
    EXPECT_EQ(Children[1]->BoundsRect(), Rect(0, 0, A.Width(), A.Height()));
    // (the skin paints the child's client as the workspace; the default look tells them apart)
    if (!Skinned) EXPECT_TRUE(ClientShows(A.Width() - 6, 4, ColorToRGB(clBtnFace)));
    Photograph("maximized");
    FindSkinFormComponent(Children[1])->SetWindowState(wsNormal);
    Settle();
    EXPECT_FALSE(MainFrame->GetMDIChildMaximized());

    // the first tab dragged past the middle of the next two by the real pointer
    Tabs->Repaint();
    Settle();
    TRect T0 = Tabs->Tabs(0)->ObjectRect;
    TPoint From = Tabs->ClientToScreen(TPoint(T0.Left + 10, T0.Top + T0.Height() / 2));
    framedisplay::MovePointer(From.X, From.Y);
    Settle();
    TCustomForm* First = Tabs->Tabs(0)->Child;
    framedisplay::PressButton(1, true);
    Settle();
    for (int Step = 1; Step <= 4; ++Step) {
        framedisplay::MovePointer(From.X + Step * (2 * T0.Width() + 10) / 4, From.Y);
        Settle();
    }
    EXPECT_TRUE(Tabs->IsDrag);
    framedisplay::PressButton(1, false);
    Settle();
    EXPECT_TRUE(PumpUntil([&] { return Tabs->Tabs(2)->Child == First; }));
    Photograph("dragged");

    // a child moved past the right and bottom edges: both scroll bars; scrolling moves the
    // children back
    Children[0]->SetBounds(A.Width() - 60, A.Height() - 60, 220, 160);
    Settle();
    ASSERT_TRUE(MainFrame->MDIHScrollBar()->Visible());
    ASSERT_TRUE(MainFrame->MDIVScrollBar()->Visible());
    Photograph("scrollbars");
    const int Left0 = Children[0]->Left();
    TbsSkinScrollBar* HB = MainFrame->MDIHScrollBar();
    HB->SetPosition(HB->Max() - HB->PageSize() + 1);
    MainFrame->SyncHScroll();
    Settle();
    EXPECT_LT(Children[0]->Left(), Left0);
    EXPECT_LE(Children[0]->Left() + Children[0]->Width(), A.Width());
    Photograph("scrolled");
}

INSTANTIATE_TEST_SUITE_P(Looks, MDIDisplay, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& I) { return I.param ? "Skin" : "Default"; });

}  // namespace
