// The skinned bevel: each shape and style in the system or the skin's colours, and the
// divider mode.
#include "skingfx_support.h"

#include "skin/frame/bsSkinFormFrame.h"

using namespace skingfx;

namespace {

constexpr TColor Back = RGB(0, 128, 128);

class Bevel : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Form->SetColor(Back);
        B = Add<TbsSkinBevel>(TRect(10, 10, 60, 40));
    }
    TColor Light() { return ColorToRGB(clBtnHighlight); }
    TColor Dark() { return ColorToRGB(clBtnShadow); }
    TbsSkinBevel* B = nullptr;
};

}  // namespace

TEST_F(Bevel, RaisedBoxWithoutSkinIsLightTopLeftAndDarkBottomRight)
{
    B->SetStyle(bsRaised);
    Show();
    EXPECT_EQ(At(10, 10), Light());
    EXPECT_EQ(At(30, 10), Light());
    EXPECT_EQ(At(10, 30), Light());
    EXPECT_EQ(At(10, 39), Light());  // the polyline's first point
    EXPECT_EQ(At(59, 10), Dark());
    EXPECT_EQ(At(59, 25), Dark());
    EXPECT_EQ(At(30, 39), Dark());
    EXPECT_EQ(At(30, 25), Back);
    B->SetStyle(bsLowered);
    Pump();
    EXPECT_EQ(At(30, 10), Dark());
    EXPECT_EQ(At(30, 39), Light());
}

TEST_F(Bevel, ShapesDrawTheirLines)
{
    struct Case {
        TBevelShape Shape;
        TPoint P;      // client point
        bool First;    // drawn in the first (top-left) colour, else the second
    } Cases[] = {
        {bsFrame, {5, 1}, false},      {bsFrame, {5, 0}, true},       {bsFrame, {49, 5}, false},
        {bsTopLine, {20, 0}, true},    {bsTopLine, {20, 1}, false},   {bsBottomLine, {20, 28}, true},
        {bsBottomLine, {20, 29}, false}, {bsLeftLine, {0, 15}, true}, {bsLeftLine, {1, 15}, false},
        {bsRightLine, {48, 15}, true}, {bsRightLine, {49, 15}, false},
    };
    Show();
    for (const Case& K : Cases) {
        B->SetShape(K.Shape);
        Pump();
        EXPECT_EQ(At(10 + K.P.X, 10 + K.P.Y), K.First ? Dark() : Light()) << int(K.Shape) << " " << K.P.X << "," << K.P.Y;
    }
    B->SetShape(bsSpacer);
    Pump();
    for (TPoint P : {TPoint(0, 0), TPoint(49, 29), TPoint(25, 0)}) EXPECT_EQ(At(10 + P.X, 10 + P.Y), Back);
}

TEST_F(Bevel, DividerModeDrawsAVerticalDividerInTheMiddle)
{
    B->SetBounds(10, 10, 25, 70);
    B->SetShape(bsLeftLine);
    B->SetDividerMode(true);
    Show();
    for (int Y = 2; Y <= 68; ++Y) {
        EXPECT_EQ(At(10 + 11, 10 + Y), Dark()) << Y;
        if (Y < 68) EXPECT_EQ(At(10 + 12, 10 + Y), Light()) << Y;
    }
    EXPECT_EQ(At(10 + 12, 10 + 68), Light());
    EXPECT_EQ(At(10 + 11, 10 + 1), Back);
    EXPECT_EQ(At(10 + 11, 10 + 69), Back);
    EXPECT_EQ(At(10 + 10, 10 + 30), Back);
    EXPECT_EQ(At(10 + 13, 10 + 30), Back);
    // lines across for top and bottom shapes
    B->SetShape(bsTopLine);
    Pump();
    EXPECT_EQ(At(10 + 5, 10 + 34), Dark());
    EXPECT_EQ(At(10 + 5, 10 + 35), Light());
}

TEST_F(Bevel, SkinColoursAndBackToTheSystemColours)
{
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinBevel>(Skin, "bevel");
    R->LightColor = RGB(255, 255, 0);
    R->DarkColor = RGB(128, 0, 0);
    B->SetSkinData(Skin);
    EXPECT_EQ(B->FIndex, 1);
    Show();
    EXPECT_EQ(At(30, 10), RGB(128, 0, 0));
    EXPECT_EQ(At(30, 39), RGB(255, 255, 0));
    B->SetSkinData(nullptr);
    EXPECT_EQ(B->LightColor, clBtnHighlight);
    EXPECT_EQ(B->DarkColor, clBtnShadow);
    Pump();
    EXPECT_EQ(At(30, 10), Dark());
    // a record of another kind leaves the colours
    B->SetSkinDataName("toolbutton");
    B->SetSkinData(Skin);
    EXPECT_EQ(B->FIndex, 0);
    EXPECT_EQ(B->DarkColor, clBtnShadow);
}

TEST_F(Bevel, TheFormFramesSkinChangeReachesBevelsAndSplitters)
{
    new TbsSkinFormFrame(Form);
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinBevel>(Skin, "bevel");
    R->DarkColor = RGB(128, 0, 0);
    auto* V = AddRecord<TbsDataSkinSplitterControl>(Skin, "vsplitter");
    V->SkinRect = TRect(0, 0, 8, 20);
    B->SetSkinData(Skin);
    auto* S = Add<TbsSkinSplitter>(TRect(200, 0, 203, 100));
    S->SetSkinData(Skin);
    EXPECT_EQ(S->Width(), 8);
    Show();
    R->DarkColor = RGB(0, 128, 0);
    V->SkinRect = TRect(0, 0, 12, 20);
    SendMessage(Form->Handle(), SkinDataChanged, WPARAM(Skin), SkinDataMessageParam);
    EXPECT_EQ(B->DarkColor, RGB(0, 128, 0));
    EXPECT_EQ(S->Width(), 12);
}
