// The skinned text label: auto size, alignment and layout, fonts and colours with and
// without a skin, the disabled look and accelerator ampersands.
#include "skingfx_support.h"

using namespace skingfx;

namespace {

// The size DrawText gives Text (one paragraph) in Font.
TSize Measure(TFont* Font, const String& Text)
{
    TBitmap B(1, 1);
    B.Canvas()->Font()->Assign(Font);
    RECT R(0, 0, 0, 0);
    DrawText(B.Canvas()->Handle(), Text.data(), int(Text.size()), &R, DT_CALCRECT | DT_EXPANDTABS);
    return TSize{R.Width(), R.Height()};
}

class TextLabel : public FormTest {
protected:
    // How many pixels of the form in R are near colour C.
    int Near(TRect R, TColor C)
    {
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) N += Close(At(X, Y), C);
        return N;
    }
    TbsSkinTextLabel* Label(const String& Text, TRect R = TRect(10, 10, 75, 75))
    {
        auto* L = Add<TbsSkinTextLabel>(R);
        L->Lines()->SetText(Text);
        return L;
    }
};

}  // namespace

TEST_F(TextLabel, AutoSizeMeasuresOneLineWithoutTheTrailingBreak)
{
    auto* L = Label("Hello");
    const TSize S = Measure(L->DefaultFont(), "Hello");
    EXPECT_EQ(L->Width(), S.cx);
    EXPECT_EQ(L->Height(), S.cy);
    L->Lines()->Add("second line, longer");
    const TSize S2 = Measure(L->DefaultFont(), "second line, longer");
    EXPECT_EQ(L->Width(), S2.cx);
    EXPECT_EQ(L->Height(), 2 * S.cy);
    L->SetAutoSize(false);
    L->Lines()->SetText("x");
    EXPECT_EQ(L->Width(), S2.cx);
}

TEST_F(TextLabel, RightAlignedAutoSizeKeepsTheRightEdge)
{
    auto* L = Label("");
    L->SetAlignment(taRightJustify);
    L->Lines()->SetText("A rather long text");
    const int Right = L->Left() + L->Width();
    L->Lines()->SetText("Short");
    EXPECT_EQ(L->Left() + L->Width(), Right);
    EXPECT_EQ(L->Width(), Measure(L->DefaultFont(), "Short").cx);
}

TEST_F(TextLabel, UnskinnedUsesDefaultFontNotFont)
{
    auto* L = Label("WWWW");
    L->Font()->SetHeight(-40);
    L->Font()->SetColor(RGB(0, 0, 255));
    L->DefaultFont()->SetColor(RGB(255, 0, 0));
    L->SetUseSkinColor(false);  // no effect without a skin
    EXPECT_EQ(L->Height(), Measure(L->DefaultFont(), "W").cy);
    Show();
    const TRect R = L->BoundsRect();
    EXPECT_GT(Near(R, RGB(255, 0, 0)), 5);
    EXPECT_EQ(Near(R, RGB(0, 0, 255)), 0);
    // UseSkinFont off: the label's Font
    L->SetUseSkinFont(false);
    L->Lines()->Add("");
    L->Lines()->Delete(1);
    EXPECT_EQ(L->Height(), Measure(L->Font(), "W").cy);
}

TEST_F(TextLabel, SkinnedTakesTheRecordsFontAndColour)
{
    FillTestSkin(Skin);
    auto* R = AddRecord<TbsDataSkinStdLabelControl>(Skin, "stdlabel");
    R->FontName = "Tahoma";
    R->FontHeight = 30;
    R->FontColor = RGB(0, 160, 0);
    auto* L = Label("WWWW");
    L->Font()->SetColor(RGB(0, 0, 255));
    L->SetSkinData(Skin);
    EXPECT_EQ(L->FIndex, 1);
    TFont Big;
    Big.SetName("Tahoma");
    Big.SetHeight(30);
    EXPECT_EQ(L->Height(), Measure(&Big, "W").cy);
    Show();
    EXPECT_GT(Near(L->BoundsRect(), RGB(0, 160, 0)), 5);
    L->SetUseSkinColor(false);
    L->Repaint();
    Pump();
    EXPECT_EQ(Near(L->BoundsRect(), RGB(0, 160, 0)), 0);
    EXPECT_GT(Near(L->BoundsRect(), RGB(0, 0, 255)), 5);
    // a skin change re-reads the record and re-measures
    R->FontHeight = 16;
    L->ChangeSkinData();
    Big.SetHeight(16);
    EXPECT_EQ(L->Height(), Measure(&Big, "W").cy);
}

TEST_F(TextLabel, SkinWithoutTheRecordLeavesTheLabelUnskinned)
{
    FillTestSkin(Skin);
    auto* L = Label("Text");
    L->SetSkinData(Skin);
    EXPECT_EQ(L->FIndex, -1);
    EXPECT_EQ(L->Height(), Measure(L->DefaultFont(), "Text").cy);
    delete Skin;
    Skin = nullptr;
    EXPECT_EQ(L->SkinData(), nullptr);
}

TEST_F(TextLabel, DisabledTextIsDrawnTwiceLightUnderDark)
{
    FillTestSkin(Skin);
    AddRecord<TbsDataSkinStdLabelControl>(Skin, "stdlabel")->FontHeight = 20;
    Skin->FSkinColors->FcBtnHighLight = RGB(250, 0, 0);
    Skin->FSkinColors->FcBtnShadow = RGB(0, 0, 250);
    auto* L = Label("IIII");
    L->SetSkinData(Skin);
    L->SetEnabled(false);
    Show();
    const TRect R(L->Left(), L->Top(), L->Left() + L->Width() + 2, L->Top() + L->Height() + 2);
    const TRect Light = Ink(R, RGB(250, 0, 0)), Dark = Ink(R, RGB(0, 0, 250));
    ASSERT_GE(Dark.Right, 0);
    ASSERT_GE(Light.Right, 0);
    EXPECT_EQ(Light.Right, Dark.Right + 1);
    EXPECT_EQ(Light.Bottom, Dark.Bottom + 1);
}

TEST_F(TextLabel, AmpersandsUnderlineAndDoubleAmpersandsShowOne)
{
    auto* A = Label("A&B");
    auto* B = Label("A&&B", TRect(10, 100, 75, 165));
    EXPECT_EQ(A->Width(), Measure(A->DefaultFont(), "AB").cx);
    TBitmap Probe(1, 1);
    Probe.Canvas()->Font()->Assign(B->DefaultFont());
    EXPECT_EQ(B->Width(), Probe.Canvas()->TextWidth("A&B"));
}

TEST_F(TextLabel, LayoutPlacesTheTextInTheHeight)
{
    auto* L = Label("Mx", TRect(10, 10, 110, 110));
    L->SetAutoSize(false);
    L->SetBounds(10, 10, 100, 100);
    L->DefaultFont()->SetColor(RGB(255, 0, 0));
    Show();
    const TRect Top = Ink(L->BoundsRect(), RGB(255, 0, 0));
    L->SetLayout(tlBottom);
    Pump();
    const TRect Bottom = Ink(L->BoundsRect(), RGB(255, 0, 0));
    L->SetLayout(tlCenter);
    Pump();
    const TRect Centre = Ink(L->BoundsRect(), RGB(255, 0, 0));
    const int Line = Measure(L->DefaultFont(), "Mx").cy;
    EXPECT_EQ(Bottom.Top - Top.Top, 100 - Line);
    EXPECT_EQ(Centre.Top - Top.Top, (100 - Line) / 2);
    // alignment
    L->SetLayout(tlTop);
    L->SetAlignment(taRightJustify);
    Pump();
    const TRect Right = Ink(L->BoundsRect(), RGB(255, 0, 0));
    EXPECT_EQ(Right.Right, Top.Right + 100 - Measure(L->DefaultFont(), "Mx").cx);
}
