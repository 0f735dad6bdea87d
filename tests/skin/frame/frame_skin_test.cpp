// The form frame with a skin: geometry at the form's size, the window region from the
// mask, the skinned hit test, painting of the frame picture, the caption buttons and the
// caption text, and the skin change protocol that re-skins the frame and the controls.
#include "frame_support.h"

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace frametest;

namespace {

class FrameSkin : public FrameSkinTest {
protected:
    void SetUp() override
    {
        FrameSkinTest::SetUp();
        Frame->SetSkinData(SD);
    }
    TRect ObjectRect(const char* Name) { return Frame->ObjectList[size_t(Frame->GetIndex(Name))]->ObjectRect(); }
};

TEST_F(FrameSkin, GeometryFollowsTheFormSize)
{
    ShowForm();
    EXPECT_TRUE(Frame->SkinSupport());
    EXPECT_EQ(Frame->NewLTPoint, Point(10, 24));
    EXPECT_EQ(Frame->NewRTPoint, Point(290, 24));
    EXPECT_EQ(Frame->NewRBPoint, Point(290, 196));
    EXPECT_EQ(Frame->NewClRect, Rect(4, 24, 296, 196));
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 292, 172));
    EXPECT_EQ(Form->ClientOrigin(), Point(104, 124));
    // objects: four made, the buttons in a row from the caption's right end
    ASSERT_EQ(Frame->ObjectList.size(), 4u);
    EXPECT_EQ(ObjectRect("closebutton"), Rect(280, 4, 296, 20));
    EXPECT_EQ(ObjectRect("maxbutton"), Rect(263, 4, 279, 20));
    EXPECT_EQ(ObjectRect("minbutton"), Rect(246, 4, 262, 20));
    EXPECT_EQ(ObjectRect("caption"), Rect(4, 4, 246, 22));
    Form->SetBounds(100, 100, 400, 250);
    Pump();
    EXPECT_EQ(Frame->NewClRect, Rect(4, 24, 396, 246));
    EXPECT_EQ(ObjectRect("closebutton"), Rect(380, 4, 396, 20));
}

TEST_F(FrameSkin, MapSkinRectMovesAndStretchesByCorners)
{
    ShowForm();
    struct {
        TRect In, Out;
    } Cases[] = {
        {Rect(1, 1, 5, 5), Rect(1, 1, 5, 5)},            // top-left corner: stays
        {Rect(92, 1, 98, 5), Rect(292, 1, 298, 5)},      // top-right corner: moves right
        {Rect(2, 57, 6, 59), Rect(2, 197, 6, 199)},      // bottom-left: moves down
        {Rect(92, 57, 98, 59), Rect(292, 197, 298, 199)}, // bottom-right: both
        {Rect(4, 4, 92, 22), Rect(4, 4, 292, 22)},       // left to right: stretches
        {Rect(2, 4, 8, 58), Rect(2, 4, 8, 198)},         // top to bottom: stretches
        {Rect(40, 30, 50, 40), Rect(40, 30, 50, 40)},    // in the middle: unchanged
    };
    for (const auto& C : Cases) EXPECT_EQ(Frame->MapSkinRect(C.In), C.Out);
}

TEST_F(FrameSkin, SkinnedHitTest)
{
    ShowForm();
    struct {
        int X, Y, Code;
    } Cases[] = {
        {1, 1, HTTOPLEFT},     {298, 1, HTTOPRIGHT},     {1, 198, HTBOTTOMLEFT}, {298, 198, HTBOTTOMRIGHT},
        {1, 100, HTLEFT},      {298, 100, HTRIGHT},      {150, 1, HTTOP},        {150, 198, HTBOTTOM},
        {150, 100, HTCLIENT},  {100, 12, HTCAPTION},     {288, 12, HTOBJECT},    {250, 21, HTOBJECT},
    };
    for (const auto& C : Cases) EXPECT_EQ(HitAt(C.X, C.Y), C.Code) << C.X << "," << C.Y;
    // not sizeable: no sizing zones
    Frame->SetWindowState(wsMaximized);
    EXPECT_EQ(HitAt(1, 100), HTOBJECT);
    EXPECT_EQ(HitAt(100, 12), HTCAPTION);
}

TEST_F(FrameSkin, WindowRegionFromTheMaskFollowsResize)
{
    ShowForm();
    EXPECT_FALSE(InShape(0, 0));
    EXPECT_FALSE(InShape(299, 0));
    EXPECT_TRUE(InShape(1, 0));
    EXPECT_TRUE(InShape(298, 0));
    EXPECT_TRUE(InShape(0, 199));
    EXPECT_TRUE(InShape(150, 100));
    Form->SetBounds(100, 100, 400, 250);
    Pump();
    EXPECT_FALSE(InShape(399, 0));
    EXPECT_TRUE(InShape(299, 0));
    EXPECT_TRUE(InShape(399, 249));
    EXPECT_FALSE(InShape(400, 100));
}

TEST_F(FrameSkin, CutBottomCornersStayCutAtCaptionHeight)
{
    // the mask cuts the bottom corner pixels as well and its sides run beside the client
    // part only; rolled up and minimized the window is as high as the caption and the
    // bottom border (the sides have no height), and its bottom corners stay outside its shape
    SD->MaskRectArea = Rect(4, 24, 96, 56);
    SD->FMask->Canvas()->SetPixels(0, 59, clWhite);
    SD->FMask->Canvas()->SetPixels(99, 59, clWhite);
    Frame->SetSkinData(SD);
    ShowForm();
    ASSERT_FALSE(InShape(0, 199));
    for (int Step = 0; Step < 2; ++Step) {
        if (Step == 0) Frame->SetRolledUp(true);
        else {
            Frame->SetRolledUp(false);
            Frame->SetWindowState(wsMinimized);
        }
        Pump();
        const int W = Frame->FFormWidth, Ht = Frame->FFormHeight;
        SCOPED_TRACE(Step == 0 ? "rolled up" : "minimized");
        ASSERT_LT(Ht, 200);
        EXPECT_FALSE(InShape(0, Ht - 1));
        EXPECT_FALSE(InShape(W - 1, Ht - 1));
        EXPECT_TRUE(InShape(1, Ht - 1));
        EXPECT_TRUE(InShape(W / 2, Ht / 2));
    }
}

TEST_F(FrameSkin, SkinWithoutMaskHasARectangularRegion)
{
    SD->FMask.reset();
    Frame->SetSkinData(SD);
    ShowForm();
    EXPECT_TRUE(InShape(0, 0));
    EXPECT_TRUE(InShape(299, 199));
    // sizeable within BorderW of the window's edge
    EXPECT_EQ(HitAt(3, 100), HTLEFT);
    EXPECT_EQ(HitAt(4, 100), HTCLIENT);
}

TEST_F(FrameSkin, PaintsFramePictureButtonsAndBackground)
{
    Form->SetCaption("");
    ShowForm();
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    EXPECT_EQ(WindowPixel(298, 100), BorderColor);
    EXPECT_EQ(WindowPixel(150, 198), BorderColor);
    EXPECT_EQ(WindowPixel(150, 10), CaptionColor);
    EXPECT_EQ(WindowPixel(288, 12), ButtonNormal);
    EXPECT_EQ(WindowPixel(270, 12), ButtonNormal);
    // the client background is the client part of the frame picture
    EXPECT_EQ(WindowPixel(150, 100), ClientColor);
}

TEST_F(FrameSkin, CaptionTextInTheSkinFont)
{
    Form->SetCaption("");
    ShowForm();
    auto TextPixels = [this] {
        int N = 0;
        for (int X = 4; X < 246; ++X)
            for (int Y = 4; Y < 22; ++Y)
                if (WindowPixel(X, Y) != CaptionColor) ++N;
        return N;
    };
    EXPECT_EQ(TextPixels(), 0);
    Form->SetCaption("Skinned caption");
    Pump();
    EXPECT_GT(TextPixels(), 20);
    // the text starts at the left of its rectangle and ends long before the buttons
    int MinX = 1000, MaxX = 0;
    for (int X = 4; X < 246; ++X)
        for (int Y = 4; Y < 22; ++Y)
            if (WindowPixel(X, Y) != CaptionColor) MinX = std::min(MinX, X), MaxX = std::max(MaxX, X);
    EXPECT_GE(MinX, 6);
    EXPECT_LT(MinX, 9);
    EXPECT_LT(MaxX, 208);
}

TEST_F(FrameSkin, ButtonLooksByRoutedInput)
{
    ShowForm();
    Move(288, 12);
    Wait(60);  // the hover tracking runs on while the skin is applied
    EXPECT_EQ(WindowPixel(288, 12), ButtonHot);
    Down(288, 12);
    EXPECT_EQ(WindowPixel(288, 12), ButtonDown);
    Move(150, 100);
    Wait(60);
    EXPECT_EQ(WindowPixel(288, 12), ButtonNormal);
    Up(150, 100);
    EXPECT_TRUE(Form->Visible());
}

TEST_F(FrameSkin, MaximizeShowsTheRestoreLookAndClientFollows)
{
    ShowForm();
    Click(271, 12);
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1280, 994));
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 1272, 966));
    TRect Max = ObjectRect("maxbutton");
    EXPECT_EQ(Max, Rect(1243, 4, 1259, 20));
    Move(150, 500);
    Wait(60);
    EXPECT_EQ(WindowPixel(Max.Left + 3, Max.Top + 3), RestoreNormal);
    Click(Max.Left + 3, Max.Top + 3);
    EXPECT_EQ(Frame->WindowState(), wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

TEST_F(FrameSkin, MinimizedBarHasTheSkinsFrameSize)
{
    ShowForm();
    Frame->SetWindowState(wsMinimized);
    // the frame picture's width by its height less the client part's
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 994 - 28, 100, 994));
    EXPECT_EQ(HitAt(20, 10), HTCAPTION);
    EXPECT_EQ(HitAt(50, 26), HTOBJECT);
    Frame->SetWindowState(wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

TEST_F(FrameSkin, SkinLimitsTheSize)
{
    EXPECT_EQ(Frame->GetMinWidth(), 100);
    EXPECT_EQ(Frame->GetMinHeight(), 28);
    Frame->SetMinWidth(150);
    EXPECT_EQ(Frame->GetMinWidth(), 150);
    // a wider limit of the skin counts only when the picture is not narrower than MinWidth
    SD->FormMinWidth = 180;
    EXPECT_EQ(Frame->GetMinWidth(), 150);
    Frame->SetMinWidth(0);
    EXPECT_EQ(Frame->GetMinWidth(), 180);
    SD->FormMinHeight = 40;
    EXPECT_EQ(Frame->GetMinHeight(), 40);
    // a form smaller than the limits grows when the skin is applied
    Form->SetBounds(100, 100, 50, 30);
    Frame->SetSkinData(SD);
    EXPECT_EQ(Form->Width(), 180);
    EXPECT_EQ(Form->Height(), 40);
}

TEST_F(FrameSkin, ClientSizeAppliedWithTheSkin)
{
    Frame->SetClientWidth(350);
    Frame->SetClientHeight(230);
    Frame->SetSkinData(SD);
    EXPECT_EQ(Form->ClientWidth(), 350);
    EXPECT_EQ(Form->ClientHeight(), 230);
    EXPECT_EQ(Form->Width(), 358);
    EXPECT_EQ(Form->Height(), 258);
}

TEST_F(FrameSkin, DialogCloseButtonReplacesCloseWithoutIcons)
{
    auto B = std::make_unique<TbsDataSkinStdButton>("dialogclosebutton");
    B->Command = cmClose;
    B->SkinRectInAPicture = true;
    B->ActivePictureIndex = 0;
    B->ActiveMaskPictureIndex = B->GlowLayerPictureIndex = -1;
    B->SkinRect = Rect(0, 0, 16, 16);
    SD->ObjectList.push_back(std::move(B));
    Frame->SetSkinData(SD);
    auto Obj = [this](const char* N) { return Frame->ObjectList[size_t(Frame->GetIndex(N))].get(); };
    EXPECT_FALSE(Obj("dialogclosebutton")->Visible());
    EXPECT_TRUE(Obj("closebutton")->Visible());
    Frame->SetBorderIcons({});
    EXPECT_TRUE(Obj("dialogclosebutton")->Visible());
    EXPECT_FALSE(Obj("closebutton")->Visible());
    EXPECT_FALSE(Obj("maxbutton")->Visible());
    Frame->SetHideCaptionButtons(true);
    Frame->SetBorderIcons({TbsBorderIcon::biMinimize});
    EXPECT_FALSE(Obj("minbutton")->Enabled());
}

TEST_F(FrameSkin, HintsFromTheInterfaceStrings)
{
    auto* Strings = new TbsResourceStrData(Main);
    SD->SetResourceStrData(Strings);
    Frame->SetSkinData(SD);
    auto* Close = dynamic_cast<TbsSkinStdButtonObject*>(Frame->ObjectList[size_t(Frame->GetIndex("closebutton"))].get());
    ASSERT_NE(Close, nullptr);
    EXPECT_EQ(Close->Hint(), Strings->GetResStr("CLOSEBUTTON_HINT"));
    SD->SetResourceStrData(nullptr);
    Frame->UpdateObjectHints();
    EXPECT_EQ(Close->Hint(), "Close");
    EXPECT_EQ(Close->RestoreHint(), "Restore");
}

// A windowed skinned control that counts the frame's calls.
class TCountingControl : public TbsSkinControl {
public:
    using TbsSkinControl::TbsSkinControl;
    void ChangeSkinData() override
    {
        ++Changes;
        TbsSkinControl::ChangeSkinData();
    }
    void BeforeChangeSkinData() override
    {
        ++Befores;
        TbsSkinControl::BeforeChangeSkinData();
    }
    int Changes = 0, Befores = 0;
};

class TCountingGraphic : public TbsGraphicSkinControl {
public:
    using TbsGraphicSkinControl::TbsGraphicSkinControl;
    void ChangeSkinData() override
    {
        ++Changes;
        TbsGraphicSkinControl::ChangeSkinData();
    }
    int Changes = 0;
};

TEST_F(FrameSkin, SkinChangeReappliesTheFrameAndReskinsControls)
{
    // the form starts unskinned and gets the skin by the skin data's messages
    SD->Empty = true;
    Frame->SetSkinData(SD);
    ShowForm();
    EXPECT_FALSE(Frame->SkinSupport());
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 294, 175));
    auto* Panel = new TWinControl(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 100, 80);
    auto* Inner = new TCountingControl(Form);
    Inner->SetParent(Panel);
    Inner->SetSkinData(SD);
    auto* Graphic = new TCountingGraphic(Form);
    Graphic->SetParent(Form);
    Graphic->SetSkinData(SD);
    auto* Label = new TbsSkinStdLabel(Form);
    Label->SetParent(Panel);
    Label->SetSkinData(SD);
    Label->SetSkinDataName("stdlabel");
    auto LabelRecord = std::make_unique<TbsDataSkinStdLabelControl>("stdlabel");
    LabelRecord->FontColor = RGB(1, 2, 3);
    SD->CtrlList.push_back(std::move(LabelRecord));
    auto* Other = new TCountingControl(Form);
    Other->SetParent(Form);
    auto* SD2 = new TbsSkinData(Main);
    Other->SetSkinData(SD2);
    int Before = 0, Changed = 0, After = 0;
    Frame->OnBeforeChangeSkinData = [&](TObject*) { ++Before; };
    Frame->OnChangeSkinData = [&](TObject*) { ++Changed; };
    Frame->OnAfterChangeSkinData = [&](TObject*) { ++After; };
    Inner->Changes = Graphic->Changes = Other->Changes = 0;

    SD->SendSkinDataMessage(SkinDataChanging);
    EXPECT_EQ(Inner->Befores, 1);
    EXPECT_EQ(Other->Befores, 0);
    SD->Empty = false;
    SD->SendSkinDataMessage(SkinDataChanged);
    SD->SendSkinDataMessage(SkinDataApplied);
    Pump();
    EXPECT_EQ(Before, 1);
    EXPECT_EQ(Changed, 1);
    EXPECT_EQ(After, 1);
    EXPECT_EQ(Inner->Changes, 1);
    EXPECT_EQ(Graphic->Changes, 1);
    EXPECT_EQ(Other->Changes, 0);
    EXPECT_TRUE(Frame->SkinSupport());
    // the label inside the panel re-read its record
    EXPECT_NE(Label->FIndex, -1);
    EXPECT_EQ(Label->FontColor, RGB(1, 2, 3));
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 292, 172));
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    EXPECT_FALSE(InShape(0, 0));

    // a change of another skin data object re-skins only what links to it
    SD2->SendSkinDataMessage(SkinDataChanged);
    EXPECT_EQ(Other->Changes, 1);
    EXPECT_EQ(Inner->Changes, 1);
    EXPECT_EQ(Changed, 1);
}

// The skinned edits stand on the platform's edit, not on the skinned control base: the
// walk reaches them by a row of their own, nested ones included.
TEST_F(FrameSkin, SkinChangeReachesSkinnedEdits)
{
    ShowForm();
    auto* Panel = new TWinControl(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 200, 100);
    auto* Edit = new TbsSkinEdit(Form);
    Edit->SetParent(Panel);
    Edit->SetSkinDataName("edit");
    Edit->SetSkinData(SD);
    auto* Other = new TbsSkinEdit(Form);
    Other->SetParent(Form);
    Other->SetSkinDataName("edit");
    auto* SD2 = new TbsSkinData(Main);
    Other->SetSkinData(SD2);
    auto* UpDown = new TbsSkinUpDown(Form);
    UpDown->SetParent(Panel);
    UpDown->SetSkinDataName("edit");
    UpDown->SetSkinData(SD);
    EXPECT_FALSE(Edit->Skinned());
    EXPECT_FALSE(Other->Skinned());

    // the skin gains an "edit" record: only what links to the changing skin data re-reads
    SD->CtrlList.push_back(std::make_unique<TbsDataSkinEditControl>("edit"));
    SD2->CtrlList.push_back(std::make_unique<TbsDataSkinEditControl>("edit"));
    SD->SendSkinDataMessage(SkinDataChanging);
    SD->SendSkinDataMessage(SkinDataChanged);
    SD->SendSkinDataMessage(SkinDataApplied);
    Pump();
    EXPECT_TRUE(Edit->Skinned());
    EXPECT_FALSE(Other->Skinned());

    // another skin data object's change reaches the edit linked to it, though the frame
    // itself uses the first
    SD2->Empty = false;
    SD2->SendSkinDataMessage(SkinDataChanged);
    EXPECT_TRUE(Other->Skinned());
}

TEST_F(FrameSkin, RemovingTheSkinDataClearsBothLinks)
{
    Frame->SetMenusSkinData(SD);
    ShowForm();
    delete SD;
    SD = nullptr;
    EXPECT_EQ(Frame->SkinData(), nullptr);
    EXPECT_EQ(Frame->MenusSkinData(), nullptr);
    Frame->SetSkinData(nullptr);
    EXPECT_FALSE(Frame->SkinSupport());
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 294, 175));
    EXPECT_EQ(WindowPixel(0, 0), Sys(cl3DDkShadow));
}

TEST_F(FrameSkin, BackgroundIndexWithoutAPictureFallsBackToTheClientPart)
{
    SD->BGPictureIndex = 7;
    ShowForm();
    Form->Invalidate();
    Form->Repaint();
    EXPECT_EQ(WindowPixel(150, 100), ClientColor);
}

TEST_F(FrameSkin, NotSkinnableLeavesTheFrameToThePlatform)
{
    ShowForm();
    Frame->SetSkinnableForm(false);
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 300, 200));
    EXPECT_TRUE(InShape(0, 0));
    EXPECT_EQ(SendMessage(H(), SkinFrameQuery, 0, 0), SkinFrameQuerySkinFrame);
    EXPECT_TRUE(Form->BorderIcons().Contains(biMinimize));
    Frame->SetSkinnableForm(true);
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 292, 172));
    EXPECT_FALSE(InShape(0, 0));
}

TEST_F(FrameSkin, InactivePictureWhenTheFormIsInactive)
{
    auto In = std::make_unique<TBitmap>(100, 60);
    In->Canvas()->Brush()->SetColor(RGB(90, 90, 90));
    In->Canvas()->FillRect(Rect(0, 0, 100, 60));
    SD->FInActivePicture = std::move(In);
    ShowForm();
    EXPECT_EQ(WindowPixel(1, 100), BorderColor);
    Main->Show();
    SetActiveWindow(Main->Handle());
    Pump();
    EXPECT_FALSE(Form->Active());
    EXPECT_EQ(WindowPixel(1, 100), RGB(90, 90, 90));
}

// The client background of every form: the skin's client part (PaintBG), its background
// picture (PaintBG2) or its MDI background picture (PaintBG3), tiled from the top-left
// corner or stretched in full, across or down; and the logo in the middle over it.  The
// pictures are four coloured quadrants.
TEST_F(FrameSkin, BackgroundsTileOrStretchAndCarryTheLogo)
{
    const TColor Q[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    auto Quadrants = [&](TCanvas* C, TRect R) {
        const int MX = (R.Left + R.Right) / 2, MY = (R.Top + R.Bottom) / 2;
        const TRect Parts[4] = {Rect(R.Left, R.Top, MX, MY), Rect(MX, R.Top, R.Right, MY), Rect(R.Left, MY, MX, R.Bottom),
                                Rect(MX, MY, R.Right, R.Bottom)};
        for (int I = 0; I < 4; ++I) {
            C->Brush()->SetColor(Q[I]);
            C->FillRect(Parts[I]);
        }
    };
    // the client part of the frame picture (92 x 32) and a 40 x 20 background picture
    Quadrants(SD->FPicture->Canvas(), SD->ClRect);
    auto BG = std::make_unique<TBitmap>(40, 20);
    Quadrants(BG->Canvas(), Rect(0, 0, 40, 20));
    SD->FActivePictures.push_back(std::move(BG));
    const int BGIndex = int(SD->FActivePictures.size()) - 1;
    Frame->SetSkinData(SD);
    ShowForm();
    const int CW = Form->ClientWidth(), CH = Form->ClientHeight();
    ASSERT_GT(CW, 200);
    ASSERT_GT(CH, 100);
    // client pixels as the painter leaves them, on a picture of the client's size
    enum TPainter { pBG, pBG2, pBG3 };
    auto Paint = [&](TPainter APainter) {
        auto B = std::make_unique<TBitmap>(CW, CH);
        HDC DC = B->Canvas()->Handle();
        if (APainter == pBG) Frame->PaintBG(DC);
        else if (APainter == pBG2) Frame->PaintBG2(DC);
        else Frame->PaintBG3(DC);
        return B;
    };
    struct TCase {
        const char* Name;
        TPainter Painter;
        bool Stretch;
        TbsStretchType Type;
        int X, Y;  // the point, in quarters of the client's width and height, or pixels
        bool Quarters;
        int Quadrant;
    };
    const TCase Cases[] = {
        // tiled from (0, 0): the picture's own pixels repeat
        {"client part tiled", pBG, false, bsstFull, 1, 1, false, 0},
        {"client part tiled, right half", pBG, false, bsstFull, 46 + 1, 1, false, 1},
        {"client part tiled, next row", pBG, false, bsstFull, 1, 32 + 17, false, 2},
        {"picture tiled", pBG2, false, bsstFull, 40 + 21, 20 + 11, false, 3},
        {"MDI picture tiled", pBG3, false, bsstFull, 40 + 1, 11, false, 2},
        // stretched in full: the quadrants cover the client's quarters
        {"client part stretched", pBG, true, bsstFull, 3, 1, true, 1},
        {"picture stretched", pBG2, true, bsstFull, 1, 3, true, 2},
        {"MDI picture stretched", pBG3, true, bsstFull, 3, 3, true, 3},
        // stretched across the form's height and tiled across its width
        {"picture stretched down, tiled across", pBG2, true, bsstHorz, 40 + 21, 3, true, 3},
        // stretched across the form's width and tiled down its height
        {"picture stretched across, tiled down", pBG2, true, bsstVert, 3, 20 + 1, true, 1},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        SD->StretchEffect = SD->MDIBGStretchEffect = C.Stretch;
        SD->StretchType = SD->MDIBGStretchType = C.Type;
        SD->BGPictureIndex = C.Painter == pBG2 ? BGIndex : -1;
        SD->MDIBGPictureIndex = C.Painter == pBG3 ? BGIndex : -1;
        auto B = Paint(C.Painter);
        const int X = C.Quarters && C.Type != bsstHorz ? CW * C.X / 4 : C.X;
        const int Y = C.Quarters && C.Type != bsstVert ? CH * C.Y / 4 : C.Y;
        EXPECT_EQ(B->Canvas()->Pixels(X, Y), Q[C.Quadrant]) << X << "," << Y;
    }
    // the logo lies in the middle of the client area, over any background
    auto Logo = std::make_unique<TBitmap>(10, 10);
    Logo->Canvas()->Brush()->SetColor(RGB(10, 10, 10));
    Logo->Canvas()->FillRect(Rect(0, 0, 10, 10));
    Frame->SetLogoBitMap(Logo.get());
    SD->StretchEffect = false;
    for (TPainter P : {pBG, pBG2, pBG3}) {
        SD->BGPictureIndex = P == pBG2 ? BGIndex : -1;
        SD->MDIBGPictureIndex = P == pBG3 ? BGIndex : -1;
        auto B = Paint(P);
        EXPECT_EQ(B->Canvas()->Pixels(CW / 2, CH / 2), RGB(10, 10, 10)) << int(P);
        EXPECT_NE(B->Canvas()->Pixels(CW / 2 - 6, CH / 2), RGB(10, 10, 10)) << int(P);
    }
}

}  // namespace
