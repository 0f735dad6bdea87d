// The frames of an MDI main form and its children: tiling and cascading in the MDI client
// area, maximizing one child maximizes all (and restoring restores all), a child shown
// meanwhile maximizes itself, minimized children line up at the bottom of the client area.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/frame/bsSkinMDITabsBar.h"
#include "frame/frame_support.h"

namespace {

class FrameMDI : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetFormStyle(fsMDIForm);
        MainFrame = new TbsSkinFormFrame(Main);
        // the default frame: 3 pixels around, a 19-pixel caption: an 800 x 600 client area
        Main->SetBounds(0, 0, 806, 625);
        Main->Show();
        Pump();
    }
    void TearDown() override { DoneForms(); }
    void Pump() { Application->ProcessMessages(); }
    TForm* AddChild(const char* Caption)
    {
        auto* C = new TForm(Application);
        C->SetFormStyle(fsMDIChild);
        C->AfterConstruction();
        new TbsSkinFormFrame(C);
        C->SetCaption(Caption);
        C->SetBounds(50, 50, 200, 150);
        C->Show();
        Pump();
        Children.push_back(C);
        return C;
    }
    TbsSkinFormFrame* FrameOf(TCustomForm* F) { return FindSkinFormComponent(F); }
    TRect InClient(TCustomForm* C)
    {
        TPoint P = MainFrame->ChildPosition(C);
        return TRect(P.X, P.Y, P.X + C->Width(), P.Y + C->Height());
    }

    TForm* Main = nullptr;
    TbsSkinFormFrame* MainFrame = nullptr;
    std::vector<TForm*> Children;
};

TEST_F(FrameMDI, ClientAreaAndChildren)
{
    TRect A;
    MainFrame->GetMDIClientRect(A);
    EXPECT_EQ(A, Rect(0, 0, 800, 600));
    // a control aligned to the top takes its part off the client area
    auto* Bar = new TWinControl(Main);
    Bar->SetParent(Main);
    Bar->SetHeight(30);
    Bar->SetAlign(alTop);
    MainFrame->GetMDIClientRect(A);
    EXPECT_EQ(A, Rect(0, 30, 800, 600));
    TForm* C = AddChild("one");
    EXPECT_EQ(bsMDIChildren(), std::vector<TCustomForm*>{C});
    // the child is a child window of the client window, which covers the client area
    HWND Client = Main->ClientHandle();
    ASSERT_NE(Client, nullptr);
    EXPECT_EQ(GetParent(C->Handle()), Client);
    EXPECT_EQ(GetParent(Client), Main->Handle());
    TRect CR;
    GetWindowRect(Client, CR);
    TPoint O = Main->ClientOrigin();
    EXPECT_EQ(CR, Rect(O.X, O.Y + 30, O.X + 800, O.Y + 600));
    MainFrame->SetChildBounds(C, 10, 20, 100, 80);
    EXPECT_EQ(C->BoundsRect(), Rect(10, 20, 110, 100));
    GetWindowRect(C->Handle(), CR);
    EXPECT_EQ(CR, Rect(O.X + 10, O.Y + 50, O.X + 110, O.Y + 130));
    EXPECT_EQ(InClient(C), Rect(10, 20, 110, 100));
}

TEST_F(FrameMDI, TilingFillsTheClientArea)
{
    struct Case {
        TTileMode Mode;
        int N;
        std::vector<TRect> Expected;
    };
    const Case Cases[] = {
        {tbHorizontal, 4, {Rect(0, 0, 400, 300), Rect(0, 300, 400, 600), Rect(400, 0, 800, 300), Rect(400, 300, 800, 600)}},
        {tbHorizontal, 3, {Rect(0, 0, 800, 200), Rect(0, 200, 800, 400), Rect(0, 400, 800, 600)}},
        {tbVertical, 5,
         {Rect(0, 0, 400, 300), Rect(0, 300, 400, 600), Rect(400, 0, 800, 200), Rect(400, 200, 800, 400),
          Rect(400, 400, 800, 600)}},
    };
    for (const Case& C : Cases) {
        for (TForm* F : Children) delete F;
        Children.clear();
        for (int I = 0; I < C.N; ++I) AddChild("child");
        MainFrame->SetTileMode(C.Mode);
        MainFrame->Tile();
        // in the order of the main form's children (the front one first)
        auto L = bsMDIChildren();
        ASSERT_EQ(int(L.size()), C.N);
        for (int I = 0; I < C.N; ++I) EXPECT_EQ(InClient(L[size_t(I)]), C.Expected[size_t(I)]) << C.N << " " << I;
    }
}

TEST_F(FrameMDI, CascadeStepsByTheCaption)
{
    for (int I = 0; I < 3; ++I) AddChild("child");
    MainFrame->Cascade();
    // the default caption height plus 3: steps of 22; each 800 - 2 x 22 by 600 - 2 x 22;
    // the last of the main form's children first
    auto L = bsMDIChildren();
    EXPECT_EQ(InClient(L[2]), Rect(0, 0, 756, 556));
    EXPECT_EQ(InClient(L[1]), Rect(22, 22, 778, 578));
    EXPECT_EQ(InClient(L[0]), Rect(44, 44, 800, 600));
}

TEST_F(FrameMDI, MaximizingOneMaximizesAllAndRestoringRestoresAll)
{
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    TForm* Fixed = AddChild("fixed");
    FrameOf(Fixed)->SetBorderIcons({TbsBorderIcon::biSystemMenu});
    FrameOf(A)->SetWindowState(wsMaximized);
    Pump();
    EXPECT_TRUE(MainFrame->GetMDIChildMaximized());
    EXPECT_EQ(FrameOf(B)->WindowState(), wsMaximized);
    EXPECT_EQ(FrameOf(Fixed)->WindowState(), wsNormal);
    EXPECT_EQ(InClient(A), Rect(0, 0, 800, 600));
    EXPECT_EQ(A->ClientRect(), Rect(0, 0, 800, 600));  // no frame while maximized
    EXPECT_EQ(SendMessage(Main->Handle(), MDIQueryChildMaximized, 0, 0), 1);
    EXPECT_NE(FindMaximizedChildSkinForm(), nullptr);
    // a child shown meanwhile maximizes itself
    TForm* Late = AddChild("late");
    EXPECT_EQ(FrameOf(Late)->WindowState(), wsMaximized);
    // restoring one restores all
    FrameOf(B)->SetWindowState(wsNormal);
    Pump();
    EXPECT_FALSE(MainFrame->GetMDIChildMaximized());
    for (TForm* F : {A, B, Late}) EXPECT_EQ(FrameOf(F)->WindowState(), wsNormal) << F->Caption();
    EXPECT_EQ(SendMessage(Main->Handle(), MDIQueryChildMaximized, 0, 0), 0);
    EXPECT_EQ(FindMaximizedChildSkinForm(), nullptr);
}

TEST_F(FrameMDI, MinimizedChildrenLineUpAtTheBottom)
{
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    FrameOf(A)->SetWindowState(wsMinimized);
    FrameOf(B)->SetWindowState(wsMinimized);
    Pump();
    // 120 x 25 caption bars from the bottom-left corner of the client area
    EXPECT_EQ(InClient(A), Rect(0, 575, 120, 600));
    EXPECT_EQ(InClient(B), Rect(120, 575, 240, 600));
}

TEST_F(FrameMDI, OtherFormsDoNotArrange)
{
    auto* Plain = new TForm(Application);
    Plain->AfterConstruction();
    auto* F = new TbsSkinFormFrame(Plain);
    TForm* C = AddChild("child");
    TRect Before = C->BoundsRect();
    F->Tile();
    F->Cascade();
    EXPECT_EQ(C->BoundsRect(), Before);
    Plain->Show();
    Pump();
    EXPECT_EQ(SendMessage(Plain->Handle(), MDIQueryChildMaximized, 0, 0), 0);
}

TEST_F(FrameMDI, WindowMenuListsTheShownChildren)
{
    auto* Menu = new TMainMenu(Main);
    auto* Window = new TMenuItem(Menu);
    Window->SetCaption("Window");
    Menu->Items()->Add(Window);
    Main->SetWindowMenu(Window);
    auto* C = new TForm(Application);
    C->SetName("Child1");
    C->SetFormStyle(fsMDIChild);
    C->AfterConstruction();
    new TbsSkinFormFrame(C);
    C->SetCaption("first");
    C->Show();
    Pump();
    ASSERT_EQ(Window->Count(), 1);
    TMenuItem* E = Window->Items(0);
    EXPECT_EQ(E->Name(), "Child1_BSFCHILDITEM");
    EXPECT_EQ(E->Caption(), "first");
    C->SetCaption("renamed");
    EXPECT_EQ(E->Caption(), "renamed");
    SendMessage(C->Handle(), WM_NCACTIVATE, 1, 0);
    EXPECT_TRUE(E->Checked());
    // the entry of a minimized child brings it back
    FrameOf(C)->SetWindowState(wsMinimized);
    E->Click();
    Pump();
    EXPECT_EQ(FrameOf(C)->WindowState(), wsNormal);
    // hidden: no entry
    C->Hide();
    Pump();
    EXPECT_EQ(Window->Count(), 0);
    C->Show();
    Pump();
    EXPECT_EQ(Window->Count(), 1);
}

}  // namespace

namespace {

TEST_F(FrameMDI, ScrollBarsFollowChildrenPastTheClientWindow)
{
    TbsSkinScrollBar* HB = MainFrame->MDIHScrollBar();
    TbsSkinScrollBar* VB = MainFrame->MDIVScrollBar();
    ASSERT_NE(HB, nullptr);
    ASSERT_NE(VB, nullptr);
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    MainFrame->SetChildBounds(A, 10, 10, 200, 150);
    MainFrame->SetChildBounds(B, 300, 200, 200, 150);
    Pump();
    EXPECT_FALSE(HB->Visible());
    EXPECT_FALSE(VB->Visible());
    // past the right edge: the horizontal bar at the bottom of the client area
    B->SetLeft(700);
    Pump();
    EXPECT_TRUE(HB->Visible());
    EXPECT_FALSE(VB->Visible());
    EXPECT_EQ(HB->BoundsRect(), Rect(0, 600 - 17, 800, 600));
    EXPECT_EQ(HB->Max(), 900 - 1);
    EXPECT_EQ(HB->Position(), 0);
    // past the bottom as well: both, the vertical one above the horizontal one
    B->SetTop(550);
    Pump();
    EXPECT_TRUE(VB->Visible());
    EXPECT_TRUE(HB->Both());
    EXPECT_EQ(VB->BoundsRect(), Rect(800 - 17, 0, 800, 600 - 17));
    // back inside: both go
    MainFrame->SetChildBounds(B, 300, 200, 200, 150);
    Pump();
    EXPECT_FALSE(HB->Visible());
    EXPECT_FALSE(VB->Visible());
    // sticking out at the left: the position is the distance it sticks out; scrolling
    // moves every child, and the bar goes once every child fits
    A->SetLeft(-40);
    Pump();
    ASSERT_TRUE(HB->Visible());
    EXPECT_EQ(HB->Position(), 40);
    HB->SetPosition(0);
    MainFrame->SyncHScroll();
    Pump();
    EXPECT_EQ(A->Left(), 0);
    EXPECT_EQ(B->Left(), 340);
    EXPECT_FALSE(HB->Visible());
    // a maximized child hides the bars
    A->SetLeft(-40);
    Pump();
    EXPECT_TRUE(HB->Visible());
    FindSkinFormComponent(A)->SetWindowState(wsMaximized);
    Pump();
    EXPECT_FALSE(HB->Visible());
    EXPECT_FALSE(VB->Visible());
}

TEST_F(FrameMDI, ClientWindowPaintsTheWorkspace)
{
    TForm* A = AddChild("alpha");
    MainFrame->SetChildBounds(A, 0, 0, 100, 80);
    Pump();
    TPoint O = Main->ClientOrigin();
    auto Pixel = [&](int X, int Y) {
        Pump();
        uint32_t P = Headless::Pixel(Main->Handle(), O.X - Main->Left() + X, O.Y - Main->Top() + Y);
        return RGB(int((P >> 16) & 0xFF), int((P >> 8) & 0xFF), int(P & 0xFF));
    };
    // no skin: the application workspace colour around the child
    EXPECT_EQ(Pixel(400, 300), ColorToRGB(clAppWorkSpace));
    // a skin whose background picture is missing paints the client part of its frame
    auto* SD = new TbsSkinData(Main);
    SD->SetShowLayeredBorders(false);
    frametest::FillFrameSkin(SD);
    SD->MDIBGPictureIndex = 5;
    MainFrame->SetSkinData(SD);
    RedrawWindow(Main->ClientHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    O = Main->ClientOrigin();
    EXPECT_EQ(Pixel(400, 300), frametest::ClientColor);
}

TEST_F(FrameMDI, ActivationMovesBetweenChildren)
{
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    EXPECT_EQ(Main->ActiveMDIChild(), B);
    EXPECT_TRUE(FindSkinFormComponent(B)->GetFormActive());
    EXPECT_FALSE(FindSkinFormComponent(A)->GetFormActive());
    Main->Next();
    EXPECT_EQ(Main->ActiveMDIChild(), A);
    // a click into a child makes it the active one
    MainFrame->SetChildBounds(A, 0, 0, 200, 150);
    MainFrame->SetChildBounds(B, 300, 0, 200, 150);
    TPoint P = B->ClientToScreen(TPoint(20, 20));
    Headless::Click(P);
    Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), B);
    // a hidden or freed child hands the activation on
    B->Hide();
    Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), A);
    delete A;
    Children.erase(Children.begin());
    EXPECT_EQ(Main->ActiveMDIChild(), nullptr);
    EXPECT_EQ(Main->MDIChildCount(), 1);
}

TEST_F(FrameMDI, TabsBarHoldsATabPerShownChild)
{
    auto* Bar = new TbsSkinMDITabsBar(Main);
    Bar->SetParent(Main);
    Bar->SetAlign(alTop);
    Bar->SetSkinFormFrame(MainFrame);
    MainFrame->SetMDITabsBar(Bar);
    Bar->SetShowCloseButtons(true);
    TRect A0;
    MainFrame->GetMDIClientRect(A0);
    EXPECT_EQ(A0.Top, Bar->Height());
    TForm* A = AddChild("alpha");
    TForm* B = AddChild("beta");
    TForm* C = AddChild("gamma");
    ASSERT_EQ(Bar->TabCount(), 3);
    EXPECT_EQ(Bar->Tabs(0)->Child, A);
    EXPECT_EQ(Bar->Tabs(2)->Child, C);
    // the active child's tab is the active one
    EXPECT_TRUE(Bar->Tabs(2)->Active);
    Main->MDIActivate(A);
    Pump();
    EXPECT_TRUE(Bar->Tabs(0)->Active);
    EXPECT_FALSE(Bar->Tabs(2)->Active);
    // a click on a tab activates its child, and restores it when minimized
    FindSkinFormComponent(B)->SetWindowState(wsMinimized);
    Pump();
    Bar->Repaint();
    Pump();
    TRect T = Bar->Tabs(1)->ObjectRect;
    Headless::Click(Bar->ClientToScreen(TPoint(T.Left + 5, T.Top + 5)));
    Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), B);
    EXPECT_EQ(FindSkinFormComponent(B)->WindowState(), wsNormal);
    EXPECT_TRUE(Bar->Tabs(1)->Active);
    // a new caption reaches the tab; hiding removes it, showing adds it at the end
    B->SetCaption("renamed");
    EXPECT_EQ(Bar->Tabs(1)->Child->Caption(), "renamed");
    A->Hide();
    Pump();
    ASSERT_EQ(Bar->TabCount(), 2);
    A->Show();
    Pump();
    ASSERT_EQ(Bar->TabCount(), 3);
    EXPECT_EQ(Bar->Tabs(2)->Child, A);
    // a child may refuse its tab
    auto* D = new TForm(Application);
    D->SetFormStyle(fsMDIChild);
    D->AfterConstruction();
    (new TbsSkinFormFrame(D))->OnAcceptToMDITabsBar = [](bool& Accept) { Accept = false; };
    D->Show();
    Pump();
    EXPECT_EQ(Bar->TabCount(), 3);
    // the close button of a tab closes its child
    Bar->Repaint();
    Pump();
    TbsMDITab* TC = Bar->Tabs(1);
    ASSERT_EQ(TC->Child, C);
    TPoint P = Bar->ClientToScreen(
        TPoint(TC->ObjectRect.Left + TC->ButtonRect.Left + 4, TC->ObjectRect.Top + TC->ButtonRect.Top + 4));
    Headless::MouseMove(P);
    Headless::Click(P);
    Pump();
    EXPECT_FALSE(C->Visible());
    EXPECT_EQ(Bar->TabCount(), 2);
}

}  // namespace
