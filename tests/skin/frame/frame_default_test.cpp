// The form frame without a skin: the default frame (3-pixel border, 19-pixel caption bar,
// built-in caption buttons), its hit test, its buttons clicked by routed input, window
// states and the component's own operations.
#include "frame_support.h"

using namespace frametest;

namespace {

class FrameDefault : public FrameTest {};

TEST_F(FrameDefault, TakesOverTheWindowAndFramesTheClientArea)
{
    ShowForm();
    EXPECT_TRUE(Form->BorderIcons().Empty());
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 294, 175));
    EXPECT_EQ(Form->ClientOrigin(), Point(103, 122));
    EXPECT_EQ(FindSkinFormComponent(Form), Frame);
    EXPECT_EQ(FindSkinFormComponent(nullptr), nullptr);
    EXPECT_EQ(Frame->GetProductVersion(), "10.10");
    // six default buttons, four of them shown for the default border icons
    ASSERT_EQ(Frame->ObjectList.size(), 6u);
    EXPECT_FALSE(Frame->ObjectList[Frame->GetIndex("traybutton")]->Visible());
    EXPECT_TRUE(Frame->ObjectList[Frame->GetIndex("closebutton")]->Visible());
}

TEST_F(FrameDefault, NonFormOwnerIsRefused)
{
    TComponent Owner(nullptr);
    EXPECT_THROW(TbsSkinFormFrame F(&Owner), EInvalidCast);
}

TEST_F(FrameDefault, HitTestCodes)
{
    ShowForm();
    struct {
        int X, Y, Code;
    } Cases[] = {
        {0, 0, HTTOPLEFT},      {299, 0, HTTOPRIGHT},     {0, 199, HTBOTTOMLEFT}, {299, 199, HTBOTTOMRIGHT},
        {2, 100, HTLEFT},       {3, 100, HTCLIENT},       {150, 2, HTTOP},        {298, 100, HTRIGHT},
        {150, 198, HTBOTTOM},   {150, 100, HTCLIENT},     {100, 10, HTCAPTION},   {288, 12, HTOBJECT},
    };
    for (const auto& C : Cases) EXPECT_EQ(HitAt(C.X, C.Y), C.Code) << C.X << "," << C.Y;
}

TEST_F(FrameDefault, ToolWindowHasSmallerCaptionAndButtons)
{
    Form->SetBorderStyle(bsToolWindow);
    ShowForm();
    EXPECT_EQ(Frame->GetDefCaptionHeight(), 15);
    EXPECT_EQ(Form->ClientRect().Height(), 200 - 15 - 6);
    auto& Close = Frame->ObjectList[Frame->GetIndex("closebutton")];
    EXPECT_EQ(Close->ObjectRect(), Rect(300 - 3 - 13, 4, 297, 17));
    // not sizeable: the border is no sizing zone
    EXPECT_EQ(HitAt(0, 100), HTOBJECT);
}

TEST_F(FrameDefault, PaintsBorderCaptionAndButtons)
{
    Form->SetCaption("");
    ShowForm();
    EXPECT_EQ(WindowPixel(0, 0), Sys(cl3DDkShadow));
    EXPECT_EQ(WindowPixel(299, 100), Sys(cl3DDkShadow));
    EXPECT_EQ(WindowPixel(1, 100), Sys(clBtnFace));
    EXPECT_EQ(WindowPixel(2, 100), Sys(clBtnFace));
    EXPECT_EQ(WindowPixel(100, 10), Sys(clBtnFace));
    // the close glyph is drawn in button text colour in the button's middle
    auto& Close = Frame->ObjectList[Frame->GetIndex("closebutton")];
    TRect R = Close->ObjectRect();
    int Dark = 0;
    for (int X = R.Left; X < R.Right; ++X)
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            if (WindowPixel(X, Y) == Sys(clBtnText)) ++Dark;
    EXPECT_GT(Dark, 8);
}

TEST_F(FrameDefault, CaptionTextDrawnAndCutToWidth)
{
    Form->SetCaption("");
    ShowForm();
    auto Count = [this] {
        int N = 0;
        for (int X = 30; X < 220; ++X)
            for (int Y = 4; Y < 20; ++Y)
                if (WindowPixel(X, Y) != Sys(clBtnFace)) ++N;
        return N;
    };
    EXPECT_EQ(Count(), 0);
    Form->SetCaption("Frame caption");
    Pump();
    EXPECT_GT(Count(), 20);
    String Seen;
    Frame->OnCaptionPaint = [&](TCanvas*, TRect R, bool Active) {
        Seen = Active ? "active" : "inactive";
        EXPECT_GT(R.Width(), 0);
    };
    Frame->UpDateFormNC();
    EXPECT_EQ(Seen, "active");
}

TEST_F(FrameDefault, HoverAndPressLooksOfAButton)
{
    ShowForm();
    auto& Close = Frame->ObjectList[Frame->GetIndex("closebutton")];
    TRect R = Close->ObjectRect();
    int CX = (R.Left + R.Right) / 2, CY = R.Top + 1;
    EXPECT_EQ(WindowPixel(R.Left, CY), Sys(clBtnFace));
    Move(CX, CY);
    EXPECT_EQ(Frame->ActiveObject, Frame->GetIndex("closebutton"));
    EXPECT_EQ(WindowPixel(R.Left, CY), RGB(59, 107, 183));
    EXPECT_EQ(WindowPixel(R.Left + 1, CY + 1), RGB(193, 212, 243));
    // leaving the button: the mouse timer notices and the button is plain again
    Move(150, 100);
    Wait(60);
    EXPECT_EQ(Frame->ActiveObject, -1);
    EXPECT_EQ(WindowPixel(R.Left, CY), Sys(clBtnFace));
}

TEST_F(FrameDefault, CloseButtonClosesOnRelease)
{
    ShowForm();
    bool Closed = false;
    Form->OnClose = [&](TObject*, TCloseAction&) { Closed = true; };
    TRect R = Frame->ObjectList[Frame->GetIndex("closebutton")]->ObjectRect();
    Down(R.Left + 5, R.Top + 5);
    EXPECT_FALSE(Closed);
    // moved off the button (the hover tracking notices) and released there: no command
    Move(150, 100);
    Wait(60);
    Up(150, 100);
    EXPECT_FALSE(Closed);
    Click(R.Left + 5, R.Top + 5);
    EXPECT_TRUE(Closed);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(FrameDefault, MaximizeAndRestoreByButton)
{
    ShowForm();
    auto Button = [this](const char* Name) { return Frame->ObjectList[Frame->GetIndex(Name)]->ObjectRect(); };
    TRect R = Button("maxbutton");
    Click(R.Left + 5, R.Top + 5);
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1280, 994));  // the work area
    // a maximized form is no longer sized by its border
    EXPECT_EQ(HitAt(0, 100), HTOBJECT);
    R = Button("maxbutton");
    Click(R.Left + 5, R.Top + 5);
    EXPECT_EQ(Frame->WindowState(), wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

TEST_F(FrameDefault, MaximizedFormHidesTheStatusBarGrip)
{
    auto* Bar = new TbsSkinStatusBar(Form);
    Bar->SetParent(Form);
    Bar->SetSizeGrip(true);
    Frame->SetStatusBar(Bar);
    ShowForm();
    Frame->SetWindowState(wsMaximized);
    EXPECT_FALSE(Bar->ShowGrip());
    Frame->SetWindowState(wsNormal);
    EXPECT_TRUE(Bar->ShowGrip());
    delete Bar;
    EXPECT_EQ(Frame->StatusBar(), nullptr);
}

TEST_F(FrameDefault, MaximizeWithoutTaskBarLeavesAPixelFree)
{
    Headless::Install({{{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, true}}, true});
    ShowForm();
    Frame->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(1, 1, 1279, 1023));
    Frame->SetWindowState(wsNormal);
    Frame->SetMaximizeOnFullScreen(true);
    Frame->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1280, 1024));
}

TEST_F(FrameDefault, MinimizeMakesACaptionBarAtTheBottomLeft)
{
    ShowForm();
    TRect R = Frame->ObjectList[Frame->GetIndex("minbutton")]->ObjectRect();
    int Minimized = 0;
    Frame->OnMinimize = [&](TObject*) { ++Minimized; };
    Click(R.Left + 5, R.Top + 5);
    EXPECT_EQ(Minimized, 1);
    EXPECT_EQ(Frame->WindowState(), wsMinimized);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 994 - 25, 120, 994));
    // a second minimized form takes the next place to the right
    auto* Other = new TForm(Application);
    Other->AfterConstruction();
    auto* F2 = new TbsSkinFormFrame(Other);
    Other->SetBounds(200, 200, 200, 150);
    Other->Show();
    Pump();
    F2->SetWindowState(wsMinimized);
    EXPECT_EQ(Other->BoundsRect(), Rect(120, 994 - 25, 240, 994));
    Frame->SetWindowState(wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

TEST_F(FrameDefault, MainFormMinimizesTheApplication)
{
    auto* F = new TbsSkinFormFrame(Main);
    Main->SetBorderStyle(bsSizeable);
    Main->SetBounds(10, 10, 200, 150);
    Main->Show();
    Pump();
    F->SetWindowState(wsMinimized);
    EXPECT_EQ(F->WindowState(), wsNormal);
    EXPECT_TRUE(IsIconic(Main->Handle()));
}

TEST_F(FrameDefault, CaptionDoubleClickMaximizesAndRollsUp)
{
    ShowForm();
    DoubleClick(100, 10);
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    Frame->SetWindowState(wsNormal);
    // a dialog that cannot be sized rolls up and down
    Form->SetBorderStyle(bsDialog);
    Pump();
    Frame->SetRolledUp(true);
    EXPECT_TRUE(Frame->RollUpState());
    EXPECT_EQ(Form->Height(), 25);
    EXPECT_EQ(HitAt(100, 10), HTCAPTION);
    Frame->SetRolledUp(false);
    EXPECT_EQ(Form->Height(), 200);
}

TEST_F(FrameDefault, RollUpNeedsItsIcon)
{
    ShowForm();
    Frame->SetBorderIcons({TbsBorderIcon::biSystemMenu});
    Frame->SetRolledUp(true);
    EXPECT_FALSE(Frame->RollUpState());
    EXPECT_EQ(Form->Height(), 200);
}

TEST_F(FrameDefault, DragByCaptionAndSizeByBorder)
{
    ShowForm();
    Drag(100, 10, 130, 30);
    EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 430, 320));
    Drag(299, 100, 339, 100);
    EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 470, 320));
    EXPECT_EQ(Form->ClientRect().Width(), 334);
    // the size limits stop the border at the minimum width
    Drag(339, 100, 0, 100);
    EXPECT_EQ(Form->Width(), 120);
}

TEST_F(FrameDefault, SizeLimits)
{
    EXPECT_EQ(Frame->GetMinWidth(), 120);
    Frame->SetMinWidth(200);
    EXPECT_EQ(Frame->GetMinWidth(), 200);
    EXPECT_EQ(Frame->GetMinHeight(), 25);
    Form->SetBorderStyle(bsSizeToolWin);
    EXPECT_EQ(Frame->GetMinHeight(), 21);
    EXPECT_EQ(Frame->GetMaxWidth(), 1280);
    EXPECT_EQ(Frame->GetMaxHeight(), 994);
    Frame->SetMaximizeOnFullScreen(true);
    EXPECT_EQ(Frame->GetMaxHeight(), 1024);
}

TEST_F(FrameDefault, WindowRegionIsTheWholeWindow)
{
    ShowForm();
    EXPECT_TRUE(InShape(0, 0));
    EXPECT_TRUE(InShape(299, 199));
    Form->SetBounds(100, 100, 250, 180);
    Pump();
    EXPECT_TRUE(InShape(249, 179));
}

TEST_F(FrameDefault, QueriesAnsweredByTheFrame)
{
    ShowForm();
    EXPECT_EQ(SendMessage(H(), SkinFrameQuery, 0, 0), SkinFrameQuerySkinFrame);
    EXPECT_EQ(SendMessage(H(), MDIQueryChildMaximized, 0, 0), 0);
    EXPECT_EQ(SendMessage(H(), PaintNonClientToDCEx, 0, PaintNonClientToDCExParam), PaintNonClientToDCExParam);
    EXPECT_EQ(SendMessage(H(), WM_NCACTIVATE, 1, 0), 1);
    // painting the frame into a given device context
    TBitmap B(300, 200);
    EXPECT_EQ(SendMessage(H(), PaintNonClientToDC, WPARAM(B.Canvas()->Handle()), 0), 12851);
    EXPECT_EQ(ColorToRGB(B.Canvas()->Pixels(0, 0)), Sys(cl3DDkShadow));
    EXPECT_EQ(SendMessage(H(), PaintNonClientToDC, 0, 0), 0);
    Form->SetTag(TrayRestoreTag);
    SendMessage(H(), RestoredFromTray, 0, 0);
    EXPECT_EQ(Form->Tag(), 0);
}

TEST_F(FrameDefault, PropertyWriters)
{
    ShowForm();
    Frame->SetMaxMenuItemsInWindow(-3);
    EXPECT_EQ(Frame->MaxMenuItemsInWindow(), 0);
    Frame->SetFormStyle(fsMDIChild);
    EXPECT_EQ(Form->FormStyle(), fsNormal);
    Frame->SetFormStyle(fsStayOnTop);
    EXPECT_EQ(Form->FormStyle(), fsStayOnTop);
    Frame->SetAlphaBlend(true);
    EXPECT_TRUE(GetWindowLong(H(), GWL_EXSTYLE) & WS_EX_LAYERED);
    Frame->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLong(H(), GWL_EXSTYLE) & WS_EX_LAYERED);
    // names no object has change nothing
    Frame->LinkMenu("nothing", nullptr, false);
    Frame->SetEnabled("nothing", false);
    Frame->SetEnabled("closebutton", false);
    EXPECT_FALSE(Frame->ObjectList[Frame->GetIndex("closebutton")]->Enabled());
}

TEST_F(FrameDefault, BorderIconsChooseTheButtons)
{
    ShowForm();
    Frame->SetBorderIcons({TbsBorderIcon::biMinimize});
    auto Shown = [this](const char* Name) { return Frame->ObjectList[Frame->GetIndex(Name)]->Visible(); };
    EXPECT_TRUE(Shown("closebutton"));
    EXPECT_TRUE(Shown("minbutton"));
    EXPECT_FALSE(Shown("maxbutton"));
    EXPECT_FALSE(Shown("rollupbutton"));
    // the caption runs up to the buttons that are shown
    TRect Cap;
    Frame->GetDefCaptionRect(Cap);
    EXPECT_EQ(Cap.Right, 300 - 3 - 2 * 17);
}

TEST_F(FrameDefault, AlphaBlendFadesInOnShow)
{
    Frame->SetAlphaBlendAnimation(true);
    ShowForm();
    EXPECT_TRUE(GetWindowLong(H(), GWL_EXSTYLE) & WS_EX_LAYERED);
    for (int I = 0; I < 20; ++I) Wait(6);
    EXPECT_FALSE(GetWindowLong(H(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
