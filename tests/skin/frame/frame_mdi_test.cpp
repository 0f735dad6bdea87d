// The frames of an MDI main form and its children: tiling and cascading in the MDI client
// area, maximizing one child maximizes all (and restoring restores all), a child shown
// meanwhile maximizes itself, minimized children line up at the bottom of the client area.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
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
        BeforeShow();
        Main->Show();
        Pump();
    }
    void TearDown() override { DoneForms(); }
    virtual void BeforeShow() {}
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

// A main form whose frame does not skin it at its first show still takes its client window
// over, so that children moved past its edges get scroll bars.
class FrameMDIUnskinned : public FrameMDI {
protected:
    void BeforeShow() override { MainFrame->SetSkinnableForm(false); }
};

TEST_F(FrameMDIUnskinned, ClientWindowIsHookedOnShow)
{
    ASSERT_FALSE(MainFrame->GetSkinnableForm());
    TbsSkinScrollBar* HB = MainFrame->MDIHScrollBar();
    ASSERT_NE(HB, nullptr);
    TForm* A = AddChild("alpha");
    MainFrame->SetChildBounds(A, 700, 10, 200, 150);
    Pump();
    EXPECT_TRUE(HB->Visible());
    EXPECT_EQ(HB->Max(), 900 - 1);
}

// The default look's title names the maximized child, as the skin's caption does.
TEST_F(FrameMDI, DefaultTitleNamesTheMaximizedChild)
{
    Main->SetCaption("Main");
    TForm* A = AddChild("alpha");
    auto TitleInk = [&] {
        Pump();
        SendMessage(Main->Handle(), WM_NCPAINT, 0, 0);
        const TColor Face = ColorToRGB(clBtnFace);
        return frametest::TextInk(Rect(100, 3, 650, 20), [&](int X, int Y) {
            uint32_t P = Headless::Pixel(Main->Handle(), X, Y);
            return RGB(int((P >> 16) & 0xFF), int((P >> 8) & 0xFF), int(P & 0xFF)) != Face;
        });
    };
    const frametest::TTextInk Plain = TitleInk();
    ASSERT_FALSE(Plain.Box.IsEmpty());
    FrameOf(A)->SetWindowState(wsMaximized);
    const frametest::TTextInk Named = TitleInk();
    // " - [alpha]" widens the centred title on both sides
    EXPECT_LT(Named.Box.Left, Plain.Box.Left - 20);
    EXPECT_GT(Named.Box.Right, Plain.Box.Right + 20);
    FrameOf(A)->SetWindowState(wsNormal);
    EXPECT_EQ(TitleInk().Box, Plain.Box);
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

namespace {

// A top-level item of M with the caption and group given.
TMenuItem* AddTop(TMainMenu* M, const char* Caption, int Group)
{
    auto* I = new TMenuItem(M);
    I->SetCaption(Caption);
    I->SetGroupIndex(Group);
    M->Items()->Add(I);
    return I;
}

class FrameMDIMenus : public FrameMDI {
protected:
    void SetUp() override
    {
        FrameMDI::SetUp();
        Menu = new TMainMenu(Main);
        AddTop(Menu, "&File", 0);
        AddTop(Menu, "&Edit", 1);
        AddTop(Menu, "&Window", 9);
        Bar = new TbsSkinMainMenuBar(Main);
        Bar->SetParent(Main);
        Bar->SetSkinFormFrame(MainFrame);
        MainFrame->SetMainMenuBar(Bar);
        Bar->SetMainMenu(Menu);
        Pump();
    }
    std::vector<String> BarCaptions()
    {
        std::vector<String> L;
        for (auto& O : Bar->ObjectList)
            if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) L.push_back(I->MenuItem()->Caption());
        return L;
    }
    TMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
};

using Captions = std::vector<String>;

TEST_F(FrameMDIMenus, ActiveChildsMenuMergesIntoTheBar)
{
    TForm* A = AddChild("alpha");
    auto* AMenu = new TMainMenu(A);
    AddTop(AMenu, "&Text", 1);
    AddTop(AMenu, "F&ormat", 2);
    TForm* B = AddChild("beta");
    TForm* C = AddChild("gamma");
    AddTop(new TMainMenu(C), "&View", 3);
    // the active child's items join the bar by group: its group 1 replaces the main one's
    Main->MDIActivate(A);
    Pump();
    EXPECT_EQ(BarCaptions(), (Captions{"&File", "&Text", "F&ormat", "&Window"}));
    EXPECT_EQ(Bar->GetChildMainMenu(), AMenu);
    Main->MDIActivate(C);
    EXPECT_EQ(BarCaptions(), (Captions{"&File", "&Edit", "&View", "&Window"}));
    // a child without a menu leaves the main menu alone
    Main->MDIActivate(B);
    EXPECT_EQ(BarCaptions(), (Captions{"&File", "&Edit", "&Window"}));
    EXPECT_FALSE(Bar->ChildMenuIn);
    // the child's menu going takes its items off the bar at once
    Main->MDIActivate(A);
    EXPECT_EQ(BarCaptions().size(), 4u);
    delete AMenu;
    EXPECT_EQ(BarCaptions(), (Captions{"&File", "&Edit", "&Window"}));
    Bar->Repaint();
    Pump();
    // a closed child hands the bar to the next active one
    Main->MDIActivate(C);
    EXPECT_EQ(BarCaptions().size(), 4u);
    delete C;
    Children.pop_back();
    Pump();
    EXPECT_NE(Main->ActiveMDIChild(), C);
    EXPECT_EQ(BarCaptions(), (Captions{"&File", "&Edit", "&Window"}));
    Bar->Repaint();
    Pump();
}

TEST_F(FrameMDIMenus, ChildMenuShortCutsReachTheMainFrame)
{
    TForm* A = AddChild("alpha");
    auto* AMenu = new TMainMenu(A);
    TMenuItem* Text = AddTop(AMenu, "&Save", 1);
    auto* Bold = new TMenuItem(AMenu);
    Bold->SetCaption("Bold");
    Bold->SetShortCut(ShortCut('B', {ssCtrl}));
    int Clicks = 0;
    Bold->OnClick = [&](TObject*) { ++Clicks; };
    Text->Add(Bold);
    Main->MDIActivate(nullptr);
    Main->MDIActivate(A);
    Pump();
    // Ctrl+B typed in the child runs the child menu's item through the main form's frame
    Headless::KeyDown(VK_CONTROL);
    Headless::Key('B');
    Headless::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clicks, 1);
    // Alt+F4 shares its key code with the letter S: it never presses the "&Save" item
    TWMKey K = frametest::AltKey(VK_F4);
    bool Handled = false;
    MainFrame->FormShortCut(K, Handled);
    EXPECT_FALSE(Handled);
    EXPECT_FALSE(MainFrame->InMenu());
    EXPECT_FALSE(MainFrame->SkinMenu->Visible());
    // Alt+S does
    K.WParam = 'S';
    MainFrame->FormShortCut(K, Handled);
    EXPECT_TRUE(Handled);
    EXPECT_TRUE(MainFrame->SkinMenu->Visible());
    MainFrame->CloseSkinMenu();
    Pump();
}

TEST_F(FrameMDIMenus, OverflowMenuListsTheChildMenuAfterTheMain)
{
    TForm* A = AddChild("alpha");
    auto* AMenu = new TMainMenu(A);
    AddTop(AMenu, "&Text", 1);
    AddTop(AMenu, "F&ormat", 2);
    for (TMenuItem* Top : {Menu->Items()->Items(0), AMenu->Items()->Items(1)}) {
        auto* S = new TMenuItem(Top->Owner());
        S->SetCaption("sub");
        Top->Add(S);
    }
    Main->MDIActivate(nullptr);
    Main->MDIActivate(A);
    // a narrow bar with its marker: "F&ormat" and "&Window" do not fit
    Bar->SetScrollMenu(true);
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 0, 110, 22);
    Bar->Repaint();
    Pump();
    ASSERT_TRUE(Bar->Scroll());
    Bar->PopupHiddenItems();
    ASSERT_TRUE(MainFrame->SkinMenu->Visible());
    // the menu lists the main menu's items, then the child's, from the first hidden one on
    TbsSkinPopupWindow* W = MainFrame->SkinMenu->LastLevel();
    ASSERT_NE(W, nullptr);
    std::vector<String> Shown;
    for (int I = 0; I < W->ItemCount(); ++I) Shown.push_back(W->Item(I)->MenuItem->Caption());
    EXPECT_EQ(Shown.back(), "F&ormat");
    MainFrame->CloseSkinMenu();
    Pump();
}

TEST_F(FrameMDI, ChildSystemMenuGoesThroughTheMainFrame)
{
    TForm* A = AddChild("alpha");
    TbsSkinFormFrame* F = FrameOf(A);
    F->PopupSystemMenuAt(100, 100);
    EXPECT_TRUE(MainFrame->SkinMenu->Visible());
    EXPECT_FALSE(F->SkinMenu->Visible());
    EXPECT_TRUE(MainFrame->InMenu());
    EXPECT_FALSE(F->InMenu());
    // keys the child's frame hears go to the open menu: Escape closes it and the menu state
    F->MenuKeyDown(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(MainFrame->SkinMenu->Visible());
    EXPECT_FALSE(MainFrame->InMenu());
    EXPECT_FALSE(MainFrame->InAppHook());
    EXPECT_FALSE(F->InAppHook());
    // opened again and driven by real keys: down to "Maximize" and Enter
    F->PopupSystemMenuAt(100, 100);
    EXPECT_TRUE(MainFrame->InAppHook());
    TbsSkinPopupWindow* W = MainFrame->SkinMenu->LastLevel();
    ASSERT_NE(W, nullptr);
    auto Highlighted = [W] {
        return W->ActiveItem >= 0 && W->ActiveItem < W->ItemCount() ? W->Item(W->ActiveItem)->MenuItem->Caption()
                                                                     : String();
    };
    for (int I = 0; I < W->ItemCount() && Highlighted() != "Ma&ximize"; ++I) {
        Headless::Key(VK_DOWN);
        Pump();
    }
    ASSERT_EQ(Highlighted(), "Ma&ximize");
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(F->WindowState(), wsMaximized);
    EXPECT_FALSE(MainFrame->InAppHook());
}

TEST_F(FrameMDI, InputOnTheMainFormClosesTheChildsMenusAndControlModes)
{
    TForm* A = AddChild("alpha");
    TbsSkinFormFrame* F = FrameOf(A);
    auto* Popup = new TPopupMenu(A);
    auto* Item = new TMenuItem(Popup);
    Item->SetCaption("one");
    Popup->Items()->Add(Item);
    F->PopupSkinMenu(Popup, Point(200, 200));
    ASSERT_TRUE(F->SkinMenu->Visible());
    // a skinned edit of the main form drops its mode as well
    auto* Edit = new TbsSkinEdit(Main);
    Edit->SetParent(Main);
    Edit->SetBounds(0, 0, 100, 20);
    Edit->HandleNeeded();
    int Cancels = 0;
    Edit->OnEditCancelMode = [&](TControl*) { ++Cancels; };
    SendMessage(Main->Handle(), WM_CANCELMODE, 0, 0);
    Pump();
    EXPECT_FALSE(F->SkinMenu->Visible());
    EXPECT_FALSE(F->InMenu());
    EXPECT_FALSE(F->InAppHook());
    EXPECT_EQ(Cancels, 1);
}

TEST_F(FrameMDI, ChildrenSnapToTheClientAreasEdges)
{
    TForm* A = AddChild("alpha");
    TbsSkinFormFrame* F = FrameOf(A);
    F->SetMagnetic(true);
    F->SetMagneticSize(10);
    struct Case {
        int ToLeft, ToTop;
        TPoint Expected;
    };
    // 200 x 150 in an 800 x 600 client area
    const Case Cases[] = {
        {594, 100, Point(600, 100)},  // right edge 6 pixels short of the area's
        {300, 446, Point(300, 450)},  // bottom edge 4 short
        {7, 300, Point(0, 300)},      // left edge 7 in
        {300, 200, Point(300, 200)},  // far from every edge
    };
    for (const Case& C : Cases) {
        MainFrame->SetChildBounds(A, 300, 200, 200, 150);
        Headless::AdvanceTime(1000);  // no double click on the caption
        Pump();
        TRect W;
        GetWindowRect(A->Handle(), W);
        TPoint P(W.Left + 40, W.Top + 10);  // on the caption
        TPoint Q(P.X + C.ToLeft - 300, P.Y + C.ToTop - 200);
        Headless::MouseMove(P);
        Headless::MouseDown(P);
        Headless::MouseMove(Q);
        Headless::MouseUp(Q);
        Pump();
        EXPECT_EQ(MainFrame->ChildPosition(A), C.Expected) << C.ToLeft << "," << C.ToTop;
    }
}

TEST_F(FrameMDI, SkinAppliedRefitsMaximizedChildren)
{
    auto* SD = new TbsSkinData(Main);
    SD->SetShowLayeredBorders(false);
    frametest::FillFrameSkin(SD);
    MainFrame->SetSkinData(SD);
    Pump();
    EXPECT_EQ(MainFrame->MDIHScrollBar()->SkinData(), SD);
    EXPECT_EQ(MainFrame->MDIVScrollBar()->SkinData(), SD);
    TForm* A = AddChild("alpha");
    FrameOf(A)->SetWindowState(wsMaximized);
    Pump();
    TRect Area;
    MainFrame->GetMDIClientRect(Area);
    auto* Other = new TbsSkinData(Main);
    for (TbsSkinData* Applied : {Other, SD}) {
        A->SetBounds(5, 5, 50, 50);
        SendMessage(Main->Handle(), SkinDataApplied, WPARAM(Applied), 0);
        // only the main form's own skin data refits the children
        if (Applied == SD) EXPECT_EQ(A->BoundsRect(), Rect(0, 0, Area.Width(), Area.Height()));
        else EXPECT_EQ(A->BoundsRect(), Rect(5, 5, 55, 55));
    }
}

TEST_F(FrameMDI, MainFormKeepsItsFrameModeWhileItHoldsChildren)
{
    TForm* A = AddChild("alpha");
    MainFrame->SetSkinnableForm(false);
    EXPECT_TRUE(MainFrame->GetSkinnableForm());
    delete A;
    Children.clear();
    MainFrame->SetSkinnableForm(false);
    EXPECT_FALSE(MainFrame->GetSkinnableForm());
    // the client window keeps the frame's procedure
    EXPECT_EQ(SendMessage(Main->ClientHandle(), WM_NCACTIVATE, 0, 0), 1);
}

TEST_F(FrameMDI, PressIntoTheActiveChildLightsItsCaption)
{
    TForm* A = AddChild("alpha");
    TbsSkinFormFrame* F = FrameOf(A);
    ASSERT_EQ(Main->ActiveMDIChild(), A);
    F->SetFormActive(false);
    SendMessage(A->Handle(), WM_MOUSEACTIVATE, WPARAM(Main->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_TRUE(F->FormActive());
    EXPECT_TRUE(F->GetFormActive());
}

}  // namespace
