// The layered border: four layered windows around the form cut from the skin's layer
// frame, following the form's position, size, activation and alpha; resizing the form by
// their border zones; with a full border, the caption buttons and the caption in the top
// window, moving by the caption and the window states by the caption's double click.
#include "frame_support.h"

#include "platform/graphics/ImgList.h"
#include "skin/core/bsPngImageList.h"
#include "skin/menus/bsSkinHint.h"


using namespace frametest;

namespace {

class FrameLayer : public FrameSkinTest {
protected:
    void Apply(bool FullBorder, bool HitTest = true, bool Zones = true)
    {
        FillLayerFrame(SD, FullBorder, HitTest, Zones);
        Frame->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                               TbsBorderIcon::biRollUp});
        Frame->SetSkinData(SD);
        ShowForm();
    }
    TbsFormLayerBorder* B() { return Frame->FBorderLayer; }
    static TRect Bounds(TWinControl* W) { return GetWindowRect(W->Handle()); }
    static bool Shown(TWinControl* W) { return W && W->HandleAllocated() && IsWindowVisible(W->Handle()); }
    uint32_t LayerPixel(TWinControl* W, int X, int Y)
    {
        Pump();
        return Headless::Pixel(W->Handle(), X, Y);
    }
    // Input at screen points (the layer windows lie outside the form).
    void ScreenDrag(TPoint From, TPoint To)
    {
        Headless::MouseMove(From);
        Headless::MouseDown(From);
        Headless::MouseMove(To);
        Headless::MouseUp(To);
        Pump();
    }
    void ScreenClick(TPoint P)
    {
        Headless::MouseMove(P);
        Headless::MouseDown(P);
        Headless::MouseUp(P);
        Pump();
    }
    void ScreenDoubleClick(TPoint P)
    {
        Headless::MouseMove(P);
        for (int I = 0; I < 2; ++I) {
            Headless::MouseDown(P);
            Headless::MouseUp(P);
        }
        Pump();
    }
};

TEST_F(FrameLayer, FourWindowsAroundTheForm)
{
    Apply(false);
    ASSERT_TRUE(Frame->UseLayeredBorder());
    ASSERT_TRUE(B()->FVisible);
    // the form at (100, 100) 300 x 200: the border from (90, 80), 320 x 230
    struct Case {
        TbsFormLayerWindow* W;
        TRect R;
        TbsColor Color;
    };
    const Case Cases[] = {{B()->TopBorder, Rect(90, 80, 410, 100), LayerTop},
                          {B()->BottomBorder, Rect(90, 300, 410, 310), LayerBottom},
                          {B()->LeftBorder, Rect(90, 100, 100, 300), LayerLeft},
                          {B()->RightBorder, Rect(400, 100, 410, 300), LayerRight}};
    for (const Case& C : Cases) {
        ASSERT_TRUE(Shown(C.W));
        EXPECT_EQ(Bounds(C.W), C.R);
        EXPECT_EQ(LayerPixel(C.W, 2, 2), C.Color);
        EXPECT_EQ(C.W->ClassName(), "TbsFormLayerWindow");
        LONG Ex = GetWindowLong(C.W->Handle(), GWL_EXSTYLE);
        EXPECT_TRUE(Ex & WS_EX_LAYERED);
        EXPECT_FALSE(Ex & WS_EX_TRANSPARENT);
        EXPECT_EQ(SendMessage(C.W->Handle(), WM_MOUSEACTIVATE, 0, 0), LRESULT(MA_NOACTIVATE));
    }
    EXPECT_EQ(WindowFromPoint(Point(95, 200)), B()->LeftBorder->Handle());
    // the middle of the top strip is stretched over the width
    EXPECT_EQ(LayerPixel(B()->TopBorder, 200, 10), LayerTop);
    // without a full border the form keeps its own skinned frame
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 292, 172));
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    EXPECT_EQ(B()->LeftSize, 5);
    EXPECT_EQ(B()->HitTopLeftX, 5);
}

TEST_F(FrameLayer, FollowsMovesSizesAndHiding)
{
    Apply(false);
    Form->SetBounds(150, 120, 300, 200);
    Pump();
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(140, 100, 460, 120));
    EXPECT_EQ(Bounds(B()->RightBorder), Rect(450, 120, 460, 320));
    Form->SetBounds(150, 120, 400, 250);
    Pump();
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(140, 100, 560, 120));
    EXPECT_EQ(Bounds(B()->BottomBorder), Rect(140, 370, 560, 380));
    EXPECT_EQ(Bounds(B()->LeftBorder), Rect(140, 120, 150, 370));
    Form->Hide();
    Pump();
    EXPECT_FALSE(B()->FVisible);
    EXPECT_EQ(B()->TopBorder, nullptr);
    Form->Show();
    Pump();
    EXPECT_TRUE(B()->FVisible);
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(140, 100, 560, 120));
    // switching the layered borders off hides them; on again shows them
    SD->SetShowLayeredBorders(false);
    Pump();
    EXPECT_FALSE(B()->FVisible);
    SD->SetShowLayeredBorders(true);
    Pump();
    EXPECT_TRUE(B()->FVisible);
    // a skin without a layer frame picture has none
    SD->LayerFrame->PictureIndex = -1;
    SD->SendSkinDataMessage(SkinDataChanging);
    SD->SendSkinDataMessage(SkinDataChanged);
    Pump();
    EXPECT_FALSE(B()->FVisible);
    EXPECT_EQ(B()->FData, nullptr);
}

TEST_F(FrameLayer, SkinDataGoingAwayTakesTheBorder)
{
    Apply(false);
    delete SD;
    SD = nullptr;
    Pump();
    EXPECT_FALSE(B()->FVisible);
    EXPECT_EQ(B()->FData, nullptr);
    Form->SetBounds(10, 10, 300, 200);  // nothing of the old layer frame is touched
    Pump();
}

TEST_F(FrameLayer, AlphaFollowsTheFormAndTheActivation)
{
    Apply(false);
    struct Case {
        int FormAlpha, Active, InActive;
    };
    for (const Case& C : {Case{255, 255, 200}, Case{128, 128, 100}, Case{0, 0, 0}}) {
        B()->CheckFormAlpha(C.FormAlpha, true);
        EXPECT_EQ(B()->CurrentAlphaBlendValue(), C.Active) << C.FormAlpha;
        EXPECT_EQ(B()->FCurrentInActiveAlphaBlendValue, C.InActive) << C.FormAlpha;
    }
    B()->CheckFormAlpha(255, true);
    BYTE A = 0;
    B()->SetActive(false, true);
    GetLayeredWindowAttributes(B()->TopBorder->Handle(), nullptr, &A, nullptr);
    EXPECT_EQ(A, 200);
    B()->SetActive(true, true);
    GetLayeredWindowAttributes(B()->TopBorder->Handle(), nullptr, &A, nullptr);
    EXPECT_EQ(A, 255);
}

TEST_F(FrameLayer, FadeInStepsOnATimerWhileEventsAreServed)
{
    Apply(false);
    B()->SetCurrentAlphaBlendValue(150);
    B()->ShowWithFormAnimation();
    // nothing of the fade has happened yet: the program goes on serving its events
    BYTE A = 255;
    GetLayeredWindowAttributes(B()->TopBorder->Handle(), nullptr, &A, nullptr);
    EXPECT_EQ(A, 0);
    EXPECT_EQ(B()->CurrentAlphaBlendValue(), 0);
    // 15 steps of 10, one per tick
    std::vector<int> Seen;
    for (int I = 0; I < 20 && B()->CurrentAlphaBlendValue() < 150; ++I) {
        Wait(FadeStepInterval);
        Seen.push_back(B()->CurrentAlphaBlendValue());
    }
    ASSERT_EQ(Seen.size(), 15u);
    EXPECT_EQ(Seen.front(), 10);
    EXPECT_EQ(Seen.back(), 150);
    GetLayeredWindowAttributes(B()->TopBorder->Handle(), nullptr, &A, nullptr);
    EXPECT_EQ(A, 150);
    // hiding ends a fade under way at its end value
    B()->ShowWithFormAnimation();
    Wait(FadeStepInterval);
    B()->Hide();
    EXPECT_EQ(B()->CurrentAlphaBlendValue(), 150);
}

TEST_F(FrameLayer, StayOnTopFormsComeForwardWithoutTheirBorderWindows)
{
    Form->SetFormStyle(fsStayOnTop);
    Apply(false);
    ASSERT_TRUE(Shown(B()->TopBorder));
    ASSERT_EQ(B()->TopBorder->FormStyle(), fsStayOnTop);
    // (shown as forms, as a border shown by Show would be)
    for (TbsFormLayerWindow* W : {B()->LeftBorder, B()->TopBorder, B()->RightBorder, B()->BottomBorder})
        if (W) W->SetVisible(true);
    SetActiveWindow(H());
    Pump();
    // a border window never takes the activation: activating one would hand it back to
    // the form, which would lose it in between
    int Losses = 0;
    TWndMethod Inner = Form->WindowProc;
    Form->WindowProc = [&Losses, Inner](TMessage& M) {
        if (M.Msg == WM_ACTIVATE && (M.WParam & 0xFFFF) == WA_INACTIVE) ++Losses;
        Inner(M);
    };
    Frame->ForegroundStayOnTopForms();
    Pump();
    Form->WindowProc = Inner;
    EXPECT_EQ(Losses, 0);
    EXPECT_EQ(GetForegroundWindow(), H());
}

TEST_F(FrameLayer, MagneticEdgesSnapTheOuterFrame)
{
    Frame->SetMagnetic(true);
    Frame->SetMagneticSize(5);
    Apply(false);
    ASSERT_EQ(B()->LeftSize, 5);
    ASSERT_EQ(B()->TopSize, 5);
    ASSERT_EQ(B()->RightSize, 5);
    TRect A(0, 0, Screen->Width(), Screen->Height());
    GetMonitorWorkArea(H(), true, A);
    // the border's outer left and top edges dragged to 3 and 2 pixels from the area's edges
    // snap to them: the form stands inside by the border's size
    int DX = A.Left + 3 - (Form->Left() - 5), DY = A.Top + 2 - (Form->Top() - 5);
    Drag(150, 10, 150 + DX, 10 + DY);
    EXPECT_EQ(Form->Left(), A.Left + 5);
    EXPECT_EQ(Form->Top(), A.Top + 5);
    // far from every edge the form follows the cursor
    Drag(150, 10, 350, 210);
    EXPECT_EQ(Form->Left(), A.Left + 205);
    EXPECT_EQ(Form->Top(), A.Top + 205);
    // the outer right edge 2 pixels short of the area's right edge snaps to it
    DX = A.Right - 2 - (Form->Left() + Form->Width() + 5);
    Drag(150, 10, 150 + DX, 10);
    EXPECT_EQ(Form->Left() + Form->Width() + 5, A.Right);
}

TEST_F(FrameLayer, ShortBorderHasNoSides)
{
    Apply(false);
    B()->Show(0, 0, 100, 25);
    EXPECT_EQ(B()->TopImage->Height(), 20);
    EXPECT_EQ(B()->BottomImage->Height(), 5);
    EXPECT_TRUE(B()->LeftImage->Empty());
    EXPECT_FALSE(Shown(B()->LeftBorder));
    EXPECT_FALSE(Shown(B()->RightBorder));
    // drawing onto a canvas puts the pieces where the windows would be
    TbsBitmap Out;
    Out.SetSize(100, 40);
    Out.Clear(0);
    B()->Draw(Out.Canvas(), 0, 0, 100, 40);
    EXPECT_EQ(*Out.PixelAddress(50, 5), LayerTop);
    EXPECT_EQ(*Out.PixelAddress(50, 35), LayerBottom);
    EXPECT_EQ(*Out.PixelAddress(2, 25), LayerLeft);
}

TEST_F(FrameLayer, BorderZonesResizeTheForm)
{
    Apply(false);
    // the right window, right of the form: widens by the drag
    ScreenDrag(Point(402, 200), Point(422, 200));
    EXPECT_EQ(Form->Width(), 320);
    EXPECT_EQ(Form->Left(), 100);
    EXPECT_EQ(Bounds(B()->RightBorder).Left, 420);
    // the bottom window: lower
    ScreenDrag(Point(200, 302), Point(200, 312));
    EXPECT_EQ(Form->Height(), 210);
    // the left window: the left edge moves, the right edge stays
    ScreenDrag(Point(96, 200), Point(86, 200));
    EXPECT_EQ(Form->Left(), 90);
    EXPECT_EQ(Form->Width(), 330);
    // the top-left corner zone of the top window
    ScreenDrag(Point(86, 96), Point(76, 86));
    EXPECT_EQ(Form->BoundsRect(), Rect(80, 90, 420, 310));
}

TEST_F(FrameLayer, ResizeStepsThatWouldBreakTheLimitsAreSkipped)
{
    Apply(false);
    Frame->SetMinWidth(297);
    // narrowing by 20 would go below the minimum: the step is skipped whole
    ScreenDrag(Point(96, 200), Point(116, 200));
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
    // widening while the cursor is already right of the grip zone counts for nothing
    Headless::MouseMove(Point(96, 200));
    Headless::MouseDown(Point(96, 200));
    Headless::MouseMove(Point(99, 200));   // narrows by three, to the minimum
    Headless::MouseMove(Point(106, 200));  // below the minimum: skipped, the cursor passes the edge
    Headless::MouseMove(Point(105, 200));  // widening right of the zone (x > 103 - 5 + 5): skipped
    Headless::MouseUp(Point(105, 200));
    Pump();
    EXPECT_EQ(Form->Left(), 103);
    EXPECT_EQ(Form->Width(), 297);
    // a rolled-up form is not resized
    Frame->SetBorderIcons({TbsBorderIcon::biRollUp});
    Frame->SetRollUpState(true);
    int H0 = Form->Height();
    ScreenDrag(Point(Form->Left() + 200, Form->Top() + H0 + 2), Point(Form->Left() + 200, Form->Top() + H0 + 30));
    EXPECT_EQ(Form->Height(), H0);
}

TEST_F(FrameLayer, WithoutHitTestTheBorderOnlyShows)
{
    Apply(false, false);
    ScreenDrag(Point(402, 200), Point(422, 200));
    EXPECT_EQ(Form->Width(), 300);
    EXPECT_EQ(SendMessage(B()->RightBorder->Handle(), WM_MOUSEACTIVATE, 0, 0), LRESULT(MA_NOACTIVATE));
}

TEST_F(FrameLayer, WithoutZonesClicksPassThrough)
{
    Main->SetBounds(0, 0, 500, 500);
    Main->Show();
    Apply(false, true, false);
    EXPECT_EQ(B()->LeftSize, 0);
    EXPECT_EQ(B()->HitBottomRightY, 0);
    EXPECT_TRUE(GetWindowLong(B()->TopBorder->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    // what lies below the border window (the main form here) takes the point
    EXPECT_EQ(WindowFromPoint(Point(95, 200)), Main->Handle());
}

// ---- full border ------------------------------------------------------------------------------

class FrameFullLayer : public FrameLayer {
protected:
    void SetUp() override
    {
        FrameLayer::SetUp();
        Apply(true);
    }
    // A point of the top window's image on the screen (the window stands at (90, 80)).
    TPoint Top(int X, int Y) { return Point(90 + X, 80 + Y); }
    TbsActiveSkinObject* Object(const char* Name) { return Frame->ObjectList[size_t(Frame->GetIndex(Name))].get(); }
};

TEST_F(FrameFullLayer, TheFormIsAllClientAndTheTopWindowCarriesTheCaption)
{
    ASSERT_TRUE(Frame->FullLayeredShown());
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 300, 200));
    EXPECT_EQ(SendMessage(H(), WM_NCHITTEST, 0, PointToLParam(At(1, 1))), HTCLIENT);
    EXPECT_TRUE(InShape(0, 0));
    EXPECT_EQ(Frame->GetMinHeight(), 10);
    // the buttons stand from the right end of the grown caption area, the caption before them
    EXPECT_EQ(Object("closebutton")->ObjectRect(), Rect(294, 2, 310, 18));
    EXPECT_EQ(Object("maxbutton")->ObjectRect(), Rect(277, 2, 293, 18));
    EXPECT_EQ(Object("minbutton")->ObjectRect(), Rect(260, 2, 276, 18));
    EXPECT_EQ(Object("caption")->ObjectRect(), Rect(10, 2, 258, 18));
    EXPECT_FALSE(Object("closebutton")->EnableMorphing());
    // the caption text is drawn in white into the top image, opaque
    auto Bright = [this] {
        int N = 0;
        for (int X = 10; X < 258; ++X)
            for (int Y = 2; Y < 18; ++Y) {
                TbsColor C = *B()->TopImage->PixelAddress(X, Y);
                N += (C >> 24) == 255 && ((C >> 8) & 0xFF) > 200;
            }
        return N;
    };
    EXPECT_EQ(Bright(), 0);
    Form->SetCaption("XXXXXXXX");
    Pump();
    EXPECT_GT(Bright(), 20);
    EXPECT_EQ(Object("closebutton")->ScreenRect(), Rect(384, 82, 400, 98));
}

TEST_F(FrameFullLayer, ButtonsInTheTopWindowRunTheirCommands)
{
    ScreenClick(Top(285, 10));
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    // maximized inside the work area less the border
    EXPECT_EQ(Form->BoundsRect(), Rect(5, 5, 1275, 989));
    EXPECT_EQ(Bounds(B()->TopBorder), Rect(-5, -15, 1285, 5));
    Frame->SetWindowState(wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

TEST_F(FrameFullLayer, CaptionDoubleClickAndDrag)
{
    ScreenDoubleClick(Top(100, 10));
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    Frame->SetWindowState(wsNormal);
    Pump();
    // without the maximize icon the double click rolls the form up, and down again
    Frame->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biRollUp});
    ScreenDoubleClick(Top(100, 10));
    EXPECT_TRUE(Frame->RollUpState());
    ScreenDoubleClick(Top(100, 10));
    EXPECT_FALSE(Frame->RollUpState());
    EXPECT_EQ(Form->Height(), 200);
    // a drag by the caption moves the form and its border
    ScreenDrag(Top(100, 10), Top(130, 30));
    EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 430, 320));
    EXPECT_EQ(Bounds(B()->TopBorder).TopLeft(), Point(120, 100));
}

TEST_F(FrameFullLayer, CaptionTextEffectsInTheTopImage)
{
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(Object("caption"));
    ASSERT_NE(C, nullptr);
    // pixels of the caption area in the glow's red
    auto Reddish = [this] {
        int N = 0;
        for (int X = 10; X < 258; ++X)
            for (int Y = 0; Y < 20; ++Y) {
                TbsColor P = *B()->TopImage->PixelAddress(X, Y);
                N += (P >> 24) > 0 && ((P >> 16) & 0xFF) > 120 && ((P >> 8) & 0xFF) < 100;
            }
        return N;
    };
    Form->SetCaption("XXXXXXXX");
    Pump();
    EXPECT_EQ(Reddish(), 0);
    auto Bright = [this] {
        int N = 0;
        for (int X = 10; X < 258; ++X)
            for (int Y = 2; Y < 18; ++Y) {
                TbsColor P = *B()->TopImage->PixelAddress(X, Y);
                N += (P >> 24) == 255 && ((P >> 8) & 0xFF) > 200;
            }
        return N;
    };
    // the reflection falls below the text, out of this short top image: the text itself
    // still comes through its painter
    C->SetReflectionEffect(true);
    Form->SetCaption("XXXXXXXX ");
    Pump();
    EXPECT_GT(Bright(), 20);
    struct Case {
        const char* Name;
        bool Glow, GlowBox;
    };
    for (const Case& K : {Case{"glow", true, false}, Case{"glow box", false, true}}) {
        C->SetGlowEffect(K.Glow);
        C->SetVistaGlowEffect(K.GlowBox);
        C->SetReflectionEffect(false);
        C->SetGlowSize(4);
        C->SetGlowColor(RGB(255, 0, 0));
        C->SetGlowActiveColor(RGB(255, 0, 0));
        C->SetReflectionColor(RGB(255, 0, 0));
        C->SetReflectionActiveColor(RGB(255, 0, 0));
        C->SetReflectionOffset(0);
        Form->SetCaption(String("X ") + K.Name);
        Pump();
        EXPECT_GT(Reddish(), 10) << K.Name;
    }
}

// The quick buttons in the top image keep the image's alpha: over a half-transparent
// caption band the divider takes the band's alpha, a PNG image merges its own alpha with
// it (a disabled one is grey and keeps the band's), and the hot background is laid over
// it with the alpha of the skin's mask picture.
TEST_F(FrameFullLayer, QuickButtonsKeepTheAlphaOfTheTopImage)
{
    SD->LayerFrame->FSourceBitmap->FillRect(TRect(0, 0, 40, 20), bsPackARGB(128, 0, 0, 200));
    auto* C = dynamic_cast<TbsSkinCaptionObject*>(Object("caption"));
    ASSERT_NE(C, nullptr);
    C->SetActivePicture(SD->ActivePicture(0));
    C->SetDividerRect(Rect(0, 0, 4, 16));  // in the button normal colour
    // hot background 12 x 12 in green, its mask a plain mid grey
    const TColor Hot = RGB(0, 200, 0);
    for (TColor Colour : {Hot, RGB(128, 128, 128)}) {
        auto P = std::make_unique<TBitmap>(12, 12);
        P->Canvas()->Brush()->SetColor(Colour);
        P->Canvas()->FillRect(Rect(0, 0, 12, 12));
        SD->FActivePictures.push_back(std::move(P));
    }
    auto R = std::make_unique<TbsDataSkinButtonControl>("resizetoolbutton");
    R->PictureIndex = int(SD->FActivePictures.size()) - 2;
    R->SkinRect = R->ActiveSkinRect = R->DownSkinRect = Rect(0, 0, 12, 12);
    R->ClRect = Rect(3, 3, 9, 9);
    SD->CtrlList.push_back(std::move(R));
    C->SetQuickButtonAlphaMaskPictureIndex(int(SD->FActivePictures.size()) - 1);
    // 8 x 8 PNG images: red, the left half opaque, the right half transparent and one
    // column at half alpha
    auto* Images = new TbsPngImageList(Main);
    Images->SetPngWidth(8);
    Images->SetPngHeight(8);
    TbsPngImage Png(COLOR_RGBALPHA, 8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            Png.SetPixels(X, Y, RGB(250, 0, 0));
            Png.AlphaScanline(Y)[X] = X < 4 ? 255 : X == 4 ? 128 : 0;
        }
    for (int I = 0; I < 2; ++I) {
        Images->PngImages()->Add();
        Images->PngImages()->Items(I)->SetPngImage(&Png);
    }
    Frame->SetQuickImageList(Images);
    for (int I = 0; I < 2; ++I) Frame->QuickButtons()->Add()->SetImageIndex(I);
    Frame->QuickButtons()->Items(1)->SetEnabled(false);
    Form->SetCaption("Q");
    Pump();
    auto Px = [this](int X, int Y) { return *B()->TopImage->PixelAddress(X, Y); };
    auto Alpha = [&](int X, int Y) { return int(Px(X, Y) >> 24); };
    // divider at (13, 2), the buttons (20, 4, 32, 16) and (32, 4, 44, 16), images at their middle
    ASSERT_EQ(Frame->QuickButtons()->Items(0)->ItemRect(), Rect(20, 4, 32, 16));
    EXPECT_EQ(Alpha(14, 8), 128);
    EXPECT_GT(int(bsRedOf(Px(14, 8))), 100);  // the divider's red, not the band's blue
    EXPECT_EQ(Alpha(22, 9), 255);             // opaque image pixel
    EXPECT_GT(int(bsRedOf(Px(22, 9))), 200);
    EXPECT_NEAR(Alpha(26, 9), 191, 1);  // half alpha over half alpha
    EXPECT_EQ(Px(28, 9), Px(18, 9));    // transparent: the band as it was
    // the disabled image: grey over the band, whose alpha stays
    EXPECT_EQ(Alpha(34, 9), 128);
    TbsColor G = Px(34, 9);
    EXPECT_EQ(bsRedOf(G), bsGreenOf(G));
    // hovering the first button lays the hot background under its image, at the mask's alpha
    EXPECT_EQ(Alpha(20, 4), 128);
    Headless::MouseMove(Top(26, 8));
    Wait(60);
    ASSERT_TRUE(Frame->QuickButtons()->Items(0)->Active());
    EXPECT_NEAR(Alpha(20, 4), 191, 1);
    EXPECT_GT(int(bsGreenOf(Px(20, 4))), int(bsBlueOf(Px(20, 4))));
    EXPECT_EQ(Alpha(22, 9), 255);
}

// A press of the right button on a quick button takes its hint away, as the left does.
TEST_F(FrameFullLayer, AnyPressOnAQuickButtonHidesItsHint)
{
    auto* Hint = new TbsSkinHint(Main);
    Frame->SetSkinHint(Hint);
    Frame->SetQuickButtonsShowHint(true);
    auto* Images = new TImageList(Main, 8, 8);
    TBitmap Img(8, 8);
    Images->Add(&Img, nullptr);
    Frame->SetQuickImageList(Images);
    TbsQuickButtonItem* Q = Frame->QuickButtons()->Add();
    Q->SetImageIndex(0);
    Q->SetHint("open a file");
    Form->SetCaption("Q");
    Pump();
    const TPoint P = Top((Q->ItemRect().Left + Q->ItemRect().Right) / 2, (Q->ItemRect().Top + Q->ItemRect().Bottom) / 2);
    Headless::MouseMove(P);
    Wait(60);
    ASSERT_TRUE(Hint->Pending() || Hint->IsVisible());
    Headless::MouseDown(P, 2);
    Pump();
    EXPECT_FALSE(Hint->Pending() || Hint->IsVisible());
    Headless::MouseUp(P, 2);
    Pump();
    Frame->CloseSkinMenu();
    Pump();
}

// The title in the top image reads right to left on a right-to-left form.
TEST_F(FrameFullLayer, TitleReadsRightToLeftOnARightToLeftForm)
{
    Form->SetCaption("H...");
    auto Ink = [this](TBiDiMode Mode) {
        Form->SetBiDiMode(Mode);
        Form->SetCaption(Mode == bdLeftToRight ? "H..." : "H... ");
        Form->SetCaption("H...");
        Pump();
        return TextInk(Rect(10, 2, 258, 18), [this](int X, int Y) {
            TbsColor C = *B()->TopImage->PixelAddress(X, Y);
            return (C >> 24) == 255 && ((C >> 8) & 0xFF) > 200;
        });
    };
    const TTextInk Ltr = Ink(bdLeftToRight), Rtl = Ink(bdRightToLeftReadingOnly);
    ASSERT_FALSE(Ltr.Box.IsEmpty());
    EXPECT_FALSE(Ltr.DotsFirst);
    EXPECT_TRUE(Rtl.DotsFirst);
}

TEST_F(FrameFullLayer, RightClickOnTheCaptionOpensTheSystemMenu)
{
    auto RightClick = [this](TPoint P) {
        Headless::MouseMove(P);
        Headless::MouseDown(P, 2);
        Headless::MouseUp(P, 2);
        Pump();
    };
    Frame->SetDisableSystemMenu(true);
    RightClick(Top(100, 10));
    EXPECT_FALSE(Frame->SkinMenu->Visible());
    EXPECT_EQ(B()->MouseCaptureObject(), -1);
    Frame->SetDisableSystemMenu(false);
    RightClick(Top(100, 10));
    ASSERT_TRUE(Frame->SkinMenu->Visible());
    EXPECT_EQ(Frame->OpenMenuRect().TopLeft(), Top(100, 10));
    EXPECT_EQ(B()->MouseCaptureObject(), -1);
    Frame->CloseSkinMenu();
    Pump();
}

TEST_F(FrameFullLayer, DeactivationReleasesAPressedButton)
{
    Headless::MouseMove(Top(300, 10));
    Headless::MouseDown(Top(300, 10));
    Pump();
    auto* Close = dynamic_cast<TbsSkinStdButtonObject*>(Object("closebutton"));
    ASSERT_TRUE(Close->Down());
    B()->SetActive(false, true);
    EXPECT_FALSE(Close->Down());
    EXPECT_EQ(B()->ActiveObject(), -1);
    EXPECT_EQ(B()->MouseCaptureObject(), -1);
    Headless::MouseUp(Top(300, 10));
    Pump();
    EXPECT_TRUE(Form->Visible());
}

TEST_F(FrameFullLayer, MoveAndSetBoundsTakeTheOuterRectangle)
{
    Frame->Move(0, 0);
    EXPECT_EQ(Form->BoundsRect().TopLeft(), Point(5, 5));
    Frame->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(Form->BoundsRect(), Rect(5, 5, 395, 295));
}

}  // namespace
