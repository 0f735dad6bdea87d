// The caption's quick buttons (layout, hover, click, repaint on change), the panel over
// an inactive form's client area, the form's system menu and the placement of the form
// on its monitor.
#include "frame_support.h"

#include "platform/forms/Menus.h"
#include "platform/graphics/ImgList.h"

using namespace frametest;

namespace {

class FrameCaption : public FrameSkinTest {
protected:
    void SetUp() override
    {
        FrameSkinTest::SetUp();
        Images = new TImageList(Main, 12, 12);
        TBitmap Img(12, 12);
        Img.Canvas()->Brush()->SetColor(RGB(250, 0, 250));
        Img.Canvas()->FillRect(Rect(0, 0, 12, 12));
        Images->Add(&Img, nullptr);
        Frame->SetQuickImageList(Images);
        Frame->SetSkinData(SD);
    }
    TImageList* Images = nullptr;
};

TEST_F(FrameCaption, QuickButtonItemDefaultsAndAssign)
{
    TbsQuickButtonItem* A = Frame->QuickButtons()->Add();
    EXPECT_EQ(A->ImageIndex(), -1);
    EXPECT_TRUE(A->Hint().empty());
    EXPECT_TRUE(A->Enabled());
    EXPECT_TRUE(A->Visible());
    A->SetImageIndex(3);
    A->SetHint("first");
    A->SetEnabled(false);
    A->OnClick = [](TObject*) {};
    TbsQuickButtonItem* B = Frame->QuickButtons()->Add();
    B->Assign(A);
    EXPECT_EQ(B->ImageIndex(), 3);
    EXPECT_EQ(B->Hint(), "first");
    EXPECT_FALSE(B->Enabled());
    EXPECT_FALSE(bool(B->OnClick));
}

TEST_F(FrameCaption, QuickButtonsStandBeforeTheTextAndClick)
{
    TbsQuickButtonItem* Q = Frame->QuickButtons()->Add();
    Q->SetImageIndex(0);
    int Clicks = 0;
    Q->OnClick = [&](TObject*) { ++Clicks; };
    ShowForm();
    // the caption object (4, 4, 246, 22) draws the button at its left end
    EXPECT_EQ(Q->ItemRect(), Rect(4, 5, 20, 21));
    EXPECT_EQ(WindowPixel(10, 13), RGB(250, 0, 250));
    // a point over the quick button is not caption: the form is not dragged by it
    EXPECT_EQ(HitAt(10, 13), HTOBJECT);
    EXPECT_EQ(HitAt(40, 13), HTCAPTION);
    Move(10, 13);
    Wait(60);
    Click(10, 13);
    EXPECT_EQ(Clicks, 1);
    // pressed, moved off and released elsewhere: no click
    Down(10, 13);
    Move(100, 13);
    Up(100, 13);
    EXPECT_EQ(Clicks, 1);
    // hiding it repaints the caption at once
    Q->SetVisible(false);
    Pump();
    EXPECT_EQ(WindowPixel(10, 13), CaptionColor);
}

TEST_F(FrameCaption, CaptionPaintEventGetsTheRectangleOfItsCanvas)
{
    // an active look makes the caption compose itself in a bitmap of its own size
    auto& Cap = SD->ObjectList.back();
    Cap->ActivePictureIndex = 0;
    Cap->ActiveSkinRect = Rect(0, 0, 16, 16);
    Frame->SetSkinData(SD);
    std::vector<TRect> Seen;
    Frame->OnCaptionPaint = [&](TCanvas* C, TRect R, bool) {
        Seen.push_back(R);
        C->Brush()->SetColor(RGB(0, 250, 0));
        C->FillRect(TRect(R.Left, R.Top, R.Left + 6, R.Top + 6));
    };
    ShowForm();
    SetActiveWindow(H());
    Pump();
    TRect O = Frame->ObjectList[size_t(Frame->GetIndex("caption"))]->ObjectRect();
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), Rect(0, 0, O.Width(), O.Height()));
    // what the event paints at the rectangle's corner shows at the caption's corner
    EXPECT_EQ(WindowPixel(O.Left + 2, O.Top + 2), RGB(0, 250, 0));
    Frame->OnCaptionPaint = nullptr;
}

// The title "H..." reads right to left on a right-to-left form, in the default look and
// in the skin's caption.
TEST_F(FrameCaption, TitleReadsRightToLeftOnARightToLeftForm)
{
    for (bool Skinned : {false, true}) {
        SCOPED_TRACE(Skinned ? "skinned" : "default look");
        Frame->SetSkinData(Skinned ? SD : nullptr);
        Form->SetCaption("H...");
        ShowForm();
        const TRect R = Skinned ? Frame->ObjectList[size_t(Frame->GetIndex("caption"))]->ObjectRect()
                                : Rect(40, 3, 200, 20);
        const TColor Back = Skinned ? CaptionColor : Sys(clBtnFace);
        auto Ink = [&] { return TextInk(R, [&](int X, int Y) { return WindowPixel(X, Y) != Back; }); };
        Form->SetBiDiMode(bdLeftToRight);
        SendMessage(H(), WM_NCPAINT, 0, 0);
        const TTextInk Ltr = Ink();
        Form->SetBiDiMode(bdRightToLeftReadingOnly);
        SendMessage(H(), WM_NCPAINT, 0, 0);
        const TTextInk Rtl = Ink();
        ASSERT_FALSE(Ltr.Box.IsEmpty());
        EXPECT_FALSE(Ltr.DotsFirst);
        EXPECT_TRUE(Rtl.DotsFirst);
        Form->Hide();
        Pump();
    }
}

TEST_F(FrameCaption, InactiveClientPanelCoversTheClientArea)
{
    Frame->SetClientInActiveEffect(true);
    Frame->SetClientInActiveEffectType(bsieBlur);
    ShowForm();
    EXPECT_EQ(Frame->InActivePanel(), nullptr);
    SendMessage(H(), WM_NCACTIVATE, 0, 0);
    ASSERT_NE(Frame->InActivePanel(), nullptr);
    EXPECT_TRUE(Frame->InActivePanel()->Visible());
    EXPECT_EQ(Frame->InActivePanel()->BoundsRect(), Form->ClientRect());
    SendMessage(H(), WM_NCACTIVATE, 0, 0);
    int Panels = 0;
    for (int I = 0; I < Form->ControlCount(); ++I)
        if (dynamic_cast<TbsClientInActivePanel*>(Form->Controls(I))) ++Panels;
    EXPECT_EQ(Panels, 1);
    // the blurred picture of the plain client background is that background
    EXPECT_EQ(WindowPixel(150, 100), ClientColor);
    SendMessage(H(), WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(Frame->InActivePanel(), nullptr);
}

TEST_F(FrameCaption, SemiTransparentPanelDimsUnderTheBackground)
{
    auto* P = new TWinControl(Form);
    P->SetParent(Form);
    P->SetBounds(0, 0, 100, 100);
    P->SetColor(clBlack);
    Frame->SetClientInActiveEffect(true);
    ShowForm();
    SendMessage(H(), WM_NCACTIVATE, 0, 0);
    ASSERT_NE(Frame->InActivePanel(), nullptr);
    // black under the client colour at 170/255
    TColor C = WindowPixel(4 + 50, 24 + 50);
    EXPECT_NEAR(GetRValue(C), 200 * 170 / 255, 2);
    EXPECT_NEAR(GetBValue(C), 190 * 170 / 255, 2);
}

class FrameMenus : public FrameTest {};

std::vector<String> Captions(TMenuItem* Root)
{
    std::vector<String> R;
    for (int I = 0; I < Root->Count(); ++I) R.push_back(Root->Items(I)->Caption());
    return R;
}

TEST_F(FrameMenus, SystemMenuFollowsTheState)
{
    ShowForm();
    Frame->SetBorderIcons({TbsBorderIcon::biMinimize, TbsBorderIcon::biRollUp});
    TMenuItem* Root = Frame->GetSystemMenuItems();
    EXPECT_EQ(Captions(Root), (std::vector<String>{"Mi&nimize", "Ro&llUp", "-", "&Close"}));
    EXPECT_EQ(ShortCutToText(Root->Items(3)->ShortCut()), "Alt+F4");
    Frame->SetRolledUp(true);
    Root = Frame->GetSystemMenuItems();
    EXPECT_EQ(Captions(Root), (std::vector<String>{"Mi&nimize", "&Restore", "-", "&Close"}));
    // choosing Restore rolls the form down
    Root->Items(1)->Click();
    EXPECT_FALSE(Frame->RollUpState());
}

TEST_F(FrameMenus, ApplicationSystemMenuGetsTheDefaultItemsOnce)
{
    auto* Menu = new TPopupMenu(Form);
    for (const char* C : {"One", "Two"}) {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(C);
        Menu->Items()->Add(I);
    }
    Frame->SetSystemMenu(Menu);
    Frame->SetBorderIcons({TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize});
    ShowForm();
    std::vector<String> Want{"Mi&nimize", "Ma&ximize", "One", "Two", "&Close"};
    EXPECT_EQ(Captions(Frame->GetSystemMenuItems()), Want);
    EXPECT_EQ(Captions(Frame->GetSystemMenuItems()), Want);
}

TEST_F(FrameMenus, RightClickOnTheCaptionOpensTheSystemMenu)
{
    ShowForm();
    int Opened = 0, Closed = 0;
    Frame->OnSkinMenuOpen = [&](TObject*) { ++Opened; };
    Frame->OnSkinMenuClose = [&](TObject*) { ++Closed; };
    Headless::MouseMove(At(100, 10));
    Headless::MouseDown(At(100, 10), 2);
    Headless::MouseUp(At(100, 10), 2);
    Pump();
    EXPECT_EQ(Opened, 1);
    ASSERT_NE(Frame->OpenMenuItem(), nullptr);
    EXPECT_EQ(Frame->OpenMenuRect(), Rect(200, 110, 200, 110));
    EXPECT_TRUE(Frame->InMenu());
    // the wheel does nothing and Escape closes the menu
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Closed, 1);
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
    EXPECT_FALSE(Frame->InMenu());
    Frame->SetDisableSystemMenu(true);
    Headless::MouseDown(At(100, 10), 2);
    Headless::MouseUp(At(100, 10), 2);
    Pump();
    EXPECT_EQ(Opened, 1);
}

TEST_F(FrameMenus, AltClosesAndHidesTheOpenPopup)
{
    // the system menu from a right click on the caption; Alt, Escape twice and a click on
    // the form leave no level of it on the screen
    ShowForm();
    Headless::MouseMove(At(100, 10));
    Headless::MouseDown(At(100, 10), 2);
    Headless::MouseUp(At(100, 10), 2);
    Pump();
    ASSERT_EQ(Frame->SkinMenu->LevelCount(), 1);
    HWND Level = Frame->SkinMenu->LastLevel()->Handle();
    ASSERT_TRUE(IsWindowVisible(Level));
    Headless::Key(VK_MENU);
    Pump();
    EXPECT_FALSE(Frame->InMenu());
    EXPECT_FALSE(IsWindow(Level) && IsWindowVisible(Level));
    Headless::Key(VK_ESCAPE);
    Headless::Key(VK_ESCAPE);
    Pump();
    Click(150, 100);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->SkinMenu->LevelCount(), 0);
    EXPECT_FALSE(IsWindow(Level) && IsWindowVisible(Level));
    EXPECT_FALSE(Frame->InAppHook());
}

TEST_F(FrameMenus, PressOutsideClosesTheMenu)
{
    ShowForm();
    Frame->PopupSystemMenuAt(150, 150);
    EXPECT_TRUE(Frame->InMenu());
    Click(150, 100);
    EXPECT_FALSE(Frame->InMenu());
}

TEST_F(FrameMenus, FirstShowCentresOnTheWorkArea)
{
    Frame->SetPositionInMonitor(bspDesktopCenter);
    ShowForm();
    EXPECT_EQ(Form->BoundsRect(), Rect(490, 397, 790, 597));
    // only once: moved afterwards, it stays
    Form->SetBounds(10, 10, 300, 200);
    Form->Hide();
    Form->Show();
    Pump();
    EXPECT_EQ(Form->Left(), 10);
}

TEST_F(FrameMenus, MagneticEdgesSnapWhileDragging)
{
    Frame->SetMagnetic(true);
    Frame->SetMagneticSize(10);
    ShowForm();
    // the form's left edge dragged to 9 pixels from the work area's edge snaps to it
    Drag(100, 10, 9, 10);
    EXPECT_EQ(Form->Left(), 0);
    // far from every edge it follows the cursor
    Drag(100, 10, 300, 110);
    EXPECT_EQ(Form->Left(), 200);
    EXPECT_EQ(Form->Top(), 200);
}

}  // namespace

namespace {

class FrameActivation : public FrameSkinTest {
protected:
    void Deactivate()
    {
        Main->Show();
        SetActiveWindow(Main->Handle());
        Pump();
    }
    void Activate()
    {
        SetActiveWindow(H());
        Pump();
    }
};

constexpr TColor Frame1 = RGB(250, 150, 0), Frame2 = RGB(0, 150, 250), ActiveLook = RGB(150, 0, 250);

TEST_F(FrameActivation, CaptionAnimationPlaysOnActivation)
{
    // picture 1: two animation frames and the active look, 88 x 18 each
    auto P = std::make_unique<TBitmap>(264, 18);
    const TColor Bands[] = {Frame1, Frame2, ActiveLook};
    for (int I = 0; I < 3; ++I) {
        P->Canvas()->Brush()->SetColor(Bands[I]);
        P->Canvas()->FillRect(Rect(I * 88, 0, I * 88 + 88, 18));
    }
    SD->FActivePictures.push_back(std::move(P));
    auto* Cap = dynamic_cast<TbsDataSkinCaption*>(SD->ObjectList.back().get());
    ASSERT_NE(Cap, nullptr);
    Cap->ActivePictureIndex = 1;
    Cap->ActiveSkinRect = Rect(176, 0, 264, 18);
    Cap->AnimateSkinRect = Rect(0, 0, 176, 18);
    Cap->FrameCount = 2;
    Cap->AnimateInterval = 50;
    SD->SetEnableSkinEffects(true);
    Form->SetCaption("");
    Frame->SetSkinData(SD);
    ShowForm();
    // the timer fires once per wait: 25 ms a tick, a frame every second tick
    auto Ticks = [this](int N) {
        for (int I = 0; I < N; ++I) Wait(25);
    };
    Activate();
    Ticks(8);
    EXPECT_EQ(WindowPixel(200, 10), ActiveLook);
    Deactivate();
    EXPECT_EQ(WindowPixel(200, 10), CaptionColor);  // without InActiveAnimation at once
    Activate();
    EXPECT_EQ(WindowPixel(200, 10), Frame1);
    Ticks(2);
    EXPECT_EQ(WindowPixel(200, 10), Frame2);
    Ticks(2);
    EXPECT_EQ(WindowPixel(200, 10), ActiveLook);
    Ticks(2);
    EXPECT_FALSE(Frame->AnimateTimer->Enabled());
}

TEST_F(FrameActivation, InactiveFrameRenderedByTheSkinsEffect)
{
    SD->AutoRenderingInActiveImage = true;
    SD->InActiveEffect = ieInvert;
    Frame->SetSkinData(SD);
    int Activations = 0, Deactivations = 0;
    Frame->OnActivate = [&](TObject*) { ++Activations; };
    Frame->OnDeActivate = [&](TObject*) { ++Deactivations; };
    ShowForm();
    Activate();
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    Deactivate();
    EXPECT_EQ(WindowPixel(1, 100), RGB(235, 235, 235));
    EXPECT_GE(Deactivations, 1);
    Activate();
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    EXPECT_GE(Activations, 1);
}

TEST_F(FrameActivation, SystemMenuButtonAndAltSpace)
{
    ShowForm();
    Activate();
    TbsActiveSkinObject* Sys = Frame->ObjectList[size_t(Frame->GetIndex("sysmenubutton"))].get();
    EXPECT_EQ(Sys->ObjectRect(), Rect(3, 4, 20, 21));
    Click(8, 10);
    EXPECT_TRUE(Frame->InMenu());
    ASSERT_NE(Frame->OpenMenuItem(), nullptr);
    EXPECT_EQ(Frame->OpenMenuItem()->Items(Frame->OpenMenuItem()->Count() - 1)->Caption(), "&Close");
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Frame->InMenu());
    // Alt+Space opens it under the button
    TWMKey K = AltKey(VK_SPACE);
    bool Handled = false;
    Frame->FormShortCut(K, Handled);
    EXPECT_TRUE(Handled);
    EXPECT_EQ(Frame->OpenMenuRect(), Rect(103, 104, 120, 121));
}

}  // namespace

namespace {

// A button-style animation of five frames (16 x 16 each, side by side in picture 1).
class FrameAnimate : public FrameSkinTest {
protected:
    void SetUp() override
    {
        FrameSkinTest::SetUp();
        auto P = std::make_unique<TBitmap>(80, 16);
        for (int I = 0; I < 5; ++I) {
            P->Canvas()->Brush()->SetColor(Colors[I]);
            P->Canvas()->FillRect(Rect(I * 16, 0, I * 16 + 16, 16));
        }
        SD->FActivePictures.push_back(std::move(P));
        auto A = std::make_unique<TbsDataSkinAnimate>("animbutton");
        A->SkinRectInAPicture = true;
        A->ActivePictureIndex = 1;
        A->ActiveMaskPictureIndex = A->GlowLayerPictureIndex = -1;
        A->SkinRect = A->ActiveSkinRect = Rect(0, 0, 16, 16);
        A->CountFrames = 5;
        A->ButtonStyle = true;
        A->Command = cmDefault;
        Data = A.get();
        SD->ObjectList.push_back(std::move(A));
    }
    TbsSkinAnimateObject* Anim() { return dynamic_cast<TbsSkinAnimateObject*>(Frame->ObjectList[size_t(Frame->GetIndex("animbutton"))].get()); }
    int ShownFrame()
    {
        TColor C = WindowPixel(237, 12);
        for (int I = 0; I < 5; ++I)
            if (C == Colors[I]) return I + 1;
        return 0;
    }
    const TColor Colors[5] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0), RGB(0, 255, 255)};
    TbsDataSkinAnimate* Data = nullptr;
};

TEST_F(FrameAnimate, HoverRunsTheFramesForwardAndLeavingBack)
{
    Data->TimerInterval = 10;
    // an object without a command shows when the application says so
    Frame->OnActivateCustomObject = [](const String& Name, bool& Visible) { Visible = Name == "animbutton"; };
    Frame->SetSkinData(SD);
    ShowForm();
    SetActiveWindow(H());
    Pump();
    ASSERT_NE(Anim(), nullptr);
    EXPECT_EQ(Anim()->TimerInterval, 25);
    EXPECT_EQ(Anim()->ObjectRect(), Rect(229, 4, 245, 20));
    EXPECT_EQ(ShownFrame(), 1);
    Move(237, 12);
    Wait(50);  // the hover tracking finds it and starts the run
    std::vector<int> Seen{ShownFrame()};
    for (int I = 0; I < 5; ++I) {
        Wait(25);
        Seen.push_back(ShownFrame());
    }
    EXPECT_EQ(Seen, (std::vector<int>{1, 2, 3, 4, 5, 5}));
    Move(150, 100);
    Wait(50);
    Seen = {ShownFrame()};
    for (int I = 0; I < 4; ++I) {
        Wait(25);
        Seen.push_back(ShownFrame());
    }
    EXPECT_EQ(Seen, (std::vector<int>{5, 4, 3, 2, 1}));
}

TEST_F(FrameAnimate, AltSpaceOpensOnlyUnderTheSystemMenuObject)
{
    // the animation carries another command: Alt+Space finds no system menu object
    Frame->SetSkinData(SD);
    ShowForm();
    SetActiveWindow(H());
    Pump();
    TWMKey K = AltKey(VK_SPACE);
    bool Handled = false;
    Frame->FormShortCut(K, Handled);
    EXPECT_TRUE(Handled);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
    // a disabled system menu animation opens nothing either
    Anim()->SetCommand(cmSysMenu);
    Anim()->SetEnabled(false);
    Frame->FormShortCut(K, Handled);
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    // an enabled one does
    Anim()->SetEnabled(true);
    Frame->FormShortCut(K, Handled);
    EXPECT_TRUE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->OpenMenuRect(), Anim()->ScreenRect());
    Frame->CloseSkinMenu();
    Pump();
}

TEST_F(FrameAnimate, TimerIntervalGivesTheTicksPerFrame)
{
    Data->TimerInterval = 60;
    Data->ButtonStyle = false;
    Frame->SetSkinData(SD);
    ShowForm();
    Anim()->Start();
    std::vector<int> Seen;
    for (int I = 0; I < 6; ++I) {
        Wait(25);
        Seen.push_back(Anim()->Frame());
    }
    EXPECT_EQ(Seen, (std::vector<int>{1, 1, 2, 2, 2, 3}));
    Anim()->Stop();
    EXPECT_EQ(Anim()->Frame(), 1);
}

TEST_F(FrameAnimate, SystemMenuAnimationOpensOnPressAndClosesOnDoubleClick)
{
    Data->Command = cmSysMenu;
    Frame->SetSkinData(SD);
    ShowForm();
    SetActiveWindow(H());
    Pump();
    bool Closed = false;
    Form->OnClose = [&](TObject*, TCloseAction&) { Closed = true; };
    TRect R = Anim()->ObjectRect();
    Move(R.Left + 4, R.Top + 4);
    Wait(50);
    Down(R.Left + 4, R.Top + 4);
    EXPECT_TRUE(Frame->InMenu());
    EXPECT_TRUE(Anim()->MenuTracking());
    Up(R.Left + 4, R.Top + 4);
    Headless::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Frame->InMenu());
    EXPECT_FALSE(Anim()->MenuTracking());
    Anim()->DblClick();
    EXPECT_TRUE(Closed);
}

}  // namespace

namespace {

// A control that counts the close notices of the menus it opened.
class TMenuOpener : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == SkinMenuClosed) ++Closed;
        TCustomControl::Dispatch(M);
    }
    int Closed = 0;
};

class FrameHost : public FrameTest {};

TEST_F(FrameHost, SkinnedPopupMenusOfTheFormGoThroughItsFrame)
{
    ShowForm();
    auto* Opener = new TMenuOpener(Form);
    Opener->SetParent(Form);
    Opener->SetBounds(10, 10, 50, 20);
    auto* Menu = new TbsSkinPopupMenu(Form);
    auto* Item = new TMenuItem(Menu);
    Item->SetCaption("Item");
    Menu->Items()->Add(Item);
    int Popups = 0;
    Menu->OnPopup = [&](TObject*) { ++Popups; };
    Menu->PopupFromRect2(Opener, Rect(5, 6, 7, 8), true);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Frame->OpenMenuItem(), Menu->Items());
    EXPECT_EQ(Frame->OpenMenuRect(), Rect(5, 6, 7, 8));
    EXPECT_TRUE(Frame->OpenMenuUp());
    EXPECT_TRUE(Frame->InMenu());
    // a press elsewhere closes it and tells the opener
    Click(150, 150);
    EXPECT_EQ(Opener->Closed, 1);
    EXPECT_FALSE(Frame->InMenu());
    EXPECT_EQ(Frame->OpenMenuItem(), nullptr);
}

}  // namespace
