// The frames of an MDI main form and its children: tiling and cascading in the MDI client
// area, maximizing one child maximizes all (and restoring restores all), a child shown
// meanwhile maximizes itself, minimized children line up at the bottom of the client area.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Headless.h"
#include "skin/frame/bsSkinFormFrame.h"

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
