// A framed form with a ribbon on a real display, in the test skin and in the default look:
// three tabs with pages, two caption buttons and the application button.  The test
// switches tabs, scrolls a page narrower than its content, opens the application menu and
// one of its pages, and resizes the form by the menu's gripper, all with the real pointer;
// each step is photographed (ribbon_<look>_<step>.ppm when screenshots are kept) and checked
// on the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <thread>

#include "frame/frame_support.h"
#include "frame/ribbon_support.h"
#include "frame_display_probe.h"
#include "platform/windows/Backend.h"
#include "skin/frame/bsAppMenu.h"
#include "display_pump.h"

using displaypump::PumpUntil;
using displaypump::Settle;

using namespace frametest;
using namespace ribbontest;

namespace {

constexpr TColor ChildColor = RGB(230, 120, 20);

// A plain coloured box to put on the pages.
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(ChildColor);
        Canvas()->FillRect(ClientRect());
    }
};

class RibbonDisplay : public ::testing::TestWithParam<bool> {
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
        Form = Application->CreateForm<TForm>();
        Form->SetCaption("Ribbon");
        if (Skinned) {
            SD = new TbsSkinData(Form);
            SD->SetShowLayeredBorders(false);
            FillFrameSkin(SD);
            AddOfficeTab(SD);
        }
        Frame = new TbsSkinFormFrame(Form);
        Frame->SetSkinData(SD);
        Form->SetBounds(60, 60, 560, 380);

        Ribbon = new TbsRibbon(Form);
        Ribbon->SetParent(Form);
        Ribbon->SetSkinData(SD);
        Frame->SetSkinRibbon(Ribbon);
        Ribbon->SetAppButtonCaption("File");
        Images = new TCustomImageList(Form, 16, 16);
        for (TColor C : {RGB(200, 0, 0), RGB(0, 0, 200)}) {
            TBitmap B(16, 16);
            B.Canvas()->Brush()->SetColor(C);
            B.Canvas()->FillRect(Rect(0, 0, 16, 16));
            Images->Add(&B, nullptr);
        }
        Ribbon->SetButtonsImageList(Images);
        for (int I = 0; I < 2; ++I) {
            TbsRibbonButtonItem* B = Ribbon->Buttons()->Add();
            B->SetImageIndex(I);
            B->OnClick = [this](TObject*) { ++ButtonClicks; };
        }
        for (const char* C : {"Home", "Insert", "View"}) Ribbon->Tabs()->Add()->Page()->SetCaption(C);
        // the third page holds more than it can show
        for (int I = 0; I < 3; ++I) {
            auto* B = new TBox(Form);
            B->SetBounds(10 + I * 330, 8, 300, 40);
            B->SetParent(Ribbon->Tabs()->Items(2)->Page());
        }
        auto* B = new TBox(Form);
        B->SetBounds(10, 8, 60, 40);
        B->SetParent(Ribbon->Tabs()->Items(0)->Page());
        Ribbon->SetTabIndex(0);

        Menu = new TbsAppMenu(Form);
        Menu->SetSkinData(SD);
        Ribbon->SetAppMenu(Menu);
        TbsAppMenuItem* Open = Menu->Items()->Add();
        Open->SetCaption("Open");
        Recent = Menu->Items()->Add();
        Recent->SetCaption("Recent");
        RecentPage = Menu->CreatePage();
        Recent->SetPage(RecentPage);
        auto* R = new TBox(Form);
        R->SetBounds(10, 10, 80, 30);
        R->SetParent(RecentPage);
        Menu->Items()->Add()->SetCaption("Exit");
        Menu->SetActivePage(nullptr);

        Form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Form->HandleAllocated() && IsWindowVisible(Form->Handle()); }));
        Settle();
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        framedisplay::Close();
    }
    // The screen pixel at a point of control C's client area.
    static TColor At(TControl* C, int X, int Y)
    {
        TPoint P = C->ClientToScreen(Point(X, Y));
        return TColor(framedisplay::ScreenPixel(P.X, P.Y));
    }
    static bool Shows(TControl* C, int X, int Y, TColor Colour)
    {
        return PumpUntil([&] { return At(C, X, Y) == Colour; });
    }
    static void ClickOn(TControl* C, int X, int Y)
    {
        TPoint P = C->ClientToScreen(Point(X, Y));
        framedisplay::MovePointer(P.X, P.Y);
        Settle();
        framedisplay::ClickButton(1);
        Settle();
    }
    void Photograph(const std::string& Step)
    {
        Settle();
        auto Px = framedisplay::ScreenRect(Form->Left(), Form->Top(), Form->Width(), Form->Height());
        ASSERT_EQ(int(Px.size()), Form->Width() * Form->Height());
        framedisplay::SavePixmap(Px, Form->Width(), Form->Height(), "ribbon_" + Look + "_" + Step + ".ppm");
    }
    TColor StripColour() { return Skinned ? TabsBG : ColorToRGB(clBtnShadow); }

    bool Opened = false, Skinned = false;
    std::string Look;
    TForm* Form = nullptr;
    TbsSkinData* SD = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
    TbsRibbon* Ribbon = nullptr;
    TCustomImageList* Images = nullptr;
    TbsAppMenu* Menu = nullptr;
    TbsAppMenuItem* Recent = nullptr;
    TbsAppMenuPage* RecentPage = nullptr;
    int ButtonClicks = 0;
};

TEST_P(RibbonDisplay, TabsScrollingApplicationMenuAndGripper)
{
    // the strip right of the tabs, the first page's box, the caption buttons' images
    const int StripY = Ribbon->GetTabsHeight() / 2;
    EXPECT_TRUE(Shows(Ribbon, Ribbon->Width() / 2 + 40, StripY, StripColour())) << std::hex << At(Ribbon, Ribbon->Width() / 2 + 40, StripY);
    TbsRibbonPage* Home = Ribbon->Tabs()->Items(0)->Page();
    EXPECT_TRUE(Shows(Home, 20, 20, ChildColor));
    const TRect B1 = Ribbon->Buttons()->Items(1)->ItemRect;
    EXPECT_TRUE(Shows(Ribbon, Mid(B1).X, Mid(B1).Y, RGB(0, 0, 200))) << std::hex << At(Ribbon, Mid(B1).X, Mid(B1).Y);
    Photograph("start");

    // a caption button clicks
    ClickOn(Ribbon, Mid(B1).X, Mid(B1).Y);
    EXPECT_EQ(ButtonClicks, 1);

    // the second tab by the pointer
    const TRect T1 = Ribbon->Tabs()->Items(1)->ItemRect;
    ClickOn(Ribbon, Mid(T1).X, Mid(T1).Y);
    EXPECT_EQ(Ribbon->TabIndex(), 1);
    EXPECT_TRUE(Ribbon->Tabs()->Items(1)->Page()->Visible());
    EXPECT_FALSE(Home->Visible());
    if (Skinned) {
        // the selected tab shows the skin's active (focused) face at its left edge
        EXPECT_TRUE(PumpUntil([&] {
            const TColor C = At(Ribbon, T1.Left + 1, T1.Top + 2);
            return C == ActiveTab || C == FocusTab;
        })) << std::hex << At(Ribbon, T1.Left + 1, T1.Top + 2);
    } else {
        EXPECT_TRUE(Shows(Ribbon, T1.Left + 1, T1.Top + 2, ColorToRGB(clBtnFace)));
    }
    Photograph("tabs");

    // the third page is narrower than its content: its right scroll button steps it
    const TRect T2 = Ribbon->Tabs()->Items(2)->ItemRect;
    ClickOn(Ribbon, Mid(T2).X, Mid(T2).Y);
    TbsRibbonPage* View = Ribbon->Tabs()->Items(2)->Page();
    ASSERT_TRUE(PumpUntil([&] { return View->Visible() && View->ButtonsVisible(); }));
    const int Before = View->SPosition;
    ClickOn(View, View->ClientWidth() + 6, View->ClientHeight() / 2);
    EXPECT_TRUE(PumpUntil([&] { return View->SPosition > Before; }));
    Photograph("scrolled");

    // the application button opens the menu over the client area
    TbsAppButton* AB = Ribbon->AppButton();
    ClickOn(AB, AB->Width() / 2, AB->Height() / 2);
    ASSERT_TRUE(PumpUntil([&] { return Menu->Visible(); }));
    EXPECT_EQ(Menu->Width(), Form->ClientWidth());
    Photograph("appmenu");

    // one of its pages
    ClickOn(Menu, Mid(Recent->ItemRect).X, Mid(Recent->ItemRect).Y);
    EXPECT_TRUE(PumpUntil([&] { return Menu->ActivePage() == RecentPage && RecentPage->Visible(); }));
    EXPECT_TRUE(Shows(RecentPage, 20, 20, ChildColor)) << std::hex << At(RecentPage, 20, 20);
    Photograph("appmenu_page");

    // the gripper at the menu's bottom-right corner sizes the form
    const int W0 = Form->Width(), H0 = Form->Height();
    TPoint G = Menu->ClientToScreen(Point(Menu->Width() - 4, Menu->Height() - 4));
    framedisplay::MovePointer(G.X, G.Y);
    Settle();
    // The press starts the platform's sizing loop on this thread: the moves and the
    // release come from another one (through the probe's own connection) meanwhile.
    framedisplay::PressButton(1, true);
    std::thread Mover([G] {
        for (int Step = 1; Step <= 4; ++Step) {
            usleep(40000);
            framedisplay::MovePointer(G.X + Step * 15, G.Y + Step * 10);
        }
        usleep(40000);
        framedisplay::PressButton(1, false);
    });
    PumpUntil([&] { return Form->Width() >= W0 + 60; });
    Mover.join();
    Settle();
    EXPECT_TRUE(PumpUntil([&] { return Form->Width() > W0 && Form->Height() > H0; }))
        << Form->Width() << "x" << Form->Height();
    // the menu follows the form's client area
    EXPECT_TRUE(PumpUntil([&] { return Menu->Width() == Form->ClientWidth(); }));
    Photograph("resized");

    // closed again
    Ribbon->HideAppMenu(nullptr);
    EXPECT_FALSE(Menu->Visible());
}

INSTANTIATE_TEST_SUITE_P(Looks, RibbonDisplay, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& I) { return I.param ? "Skin" : "Default"; });

}  // namespace
