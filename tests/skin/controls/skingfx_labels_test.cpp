// The skinned standard label and the link label: fonts and colours with and without a
// skin, the disabled look, auto size, painting onto another canvas, hovering, the glow,
// the underline and the click that opens the address.
#include "skingfx_support.h"

#include "platform/shell/Runner.h"

#include <vector>

using namespace skingfx;

namespace {

// Counts the label's text drawing (measuring and drawing).
template <class Base>
class TCountingLabel : public Base {
public:
    using Base::Base;
    int Draws = 0;

protected:
    void DoDrawText(TRect& R, UINT Flags) override
    {
        ++Draws;
        Base::DoDrawText(R, Flags);
    }
};

class TRecordingRunner : public TCommandRunner {
public:
    explicit TRecordingRunner(std::vector<std::vector<String>>* ACalls) : Calls(ACalls) {}
    bool Start(const std::vector<String>& Argv) override
    {
        Calls->push_back(Argv);
        return true;
    }
    int Run(const std::vector<String>& Argv) override
    {
        Calls->push_back(Argv);
        return 0;
    }
    std::vector<std::vector<String>>* Calls;
};

class Labels : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        SetCommandRunner(std::make_unique<TRecordingRunner>(&Calls));
    }
    void TearDown() override
    {
        SetCommandRunner(nullptr);
        FormTest::TearDown();
    }
    // The box of the form's pixels in R that are not the form's colour.
    TRect Drawn(TRect R) { return BoxOf(R, [](TColor P) { return P != FormColor; }); }
    TRect Around(TControl* L) { return TRect(L->Left(), L->Top(), L->Left() + L->Width() + 2, L->Top() + L->Height() + 2); }
    TbsDataSkinStdLabelControl* StdLabelRecord()
    {
        FillTestSkin(Skin);
        auto* R = AddRecord<TbsDataSkinStdLabelControl>(Skin, "stdlabel");
        R->FontName = "Tahoma";
        R->FontHeight = 24;
        R->FontColor = RGB(0, 150, 0);
        R->ActiveFontColor = RGB(200, 0, 200);
        return R;
    }
    std::vector<std::vector<String>> Calls;
};

TSize TextSize(TFont* F, const String& Text)
{
    TBitmap B(1, 1);
    B.Canvas()->Font()->Assign(F);
    RECT R(0, 0, 0, 0);
    DrawText(B.Canvas()->Handle(), Text.data(), int(Text.size()), &R, DT_CALCRECT | DT_EXPANDTABS);
    return TSize{R.Width(), R.Height()};
}

}  // namespace

// ---- standard label ------------------------------------------------------------------------------

TEST_F(Labels, StdLabelsDefaultFontIsTheOneOfTheControlsBesideIt)
{
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    TbsSkinButton Sibling(nullptr);
    EXPECT_EQ(L->DefaultFont()->Name(), Sibling.DefaultFont()->Name());
    EXPECT_EQ(L->DefaultFont()->Height(), Sibling.DefaultFont()->Height());
    EXPECT_EQ(L->DefaultFont()->Style(), Sibling.DefaultFont()->Style());
}

TEST_F(Labels, StdLabelWithoutRecordUsesDefaultFontOrFont)
{
    FillTestSkin(Skin);  // no "stdlabel" record
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    L->DefaultFont()->SetHeight(-12);
    L->DefaultFont()->SetColor(RGB(220, 0, 0));
    L->Font()->SetHeight(-30);
    L->Font()->SetColor(RGB(0, 0, 220));
    L->SetSkinData(Skin);
    L->SetCaption("WWW");
    EXPECT_EQ(L->FIndex, -1);
    EXPECT_TRUE(L->Transparent());
    EXPECT_EQ(L->Height(), TextSize(L->DefaultFont(), "WWW").cy);
    Show();
    EXPECT_GE(Ink(Around(L), RGB(220, 0, 0)).Right, 0);
    EXPECT_LT(Ink(Around(L), RGB(0, 0, 220)).Right, 0);
    L->SetUseSkinFont(false);
    L->SetCaption("WW");
    EXPECT_EQ(L->Height(), TextSize(L->Font(), "WW").cy);
    Pump();
    EXPECT_GE(Ink(Around(L), RGB(0, 0, 220)).Right, 0);
}

TEST_F(Labels, StdLabelSkinnedFontAndColourSwitches)
{
    auto* R = StdLabelRecord();
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("WWW");
    L->Font()->SetHeight(-12);
    L->Font()->SetColor(RGB(0, 0, 220));
    L->SetSkinData(Skin);
    TFont Skinned;
    Skinned.SetName("Tahoma");
    Skinned.SetHeight(24);
    EXPECT_EQ(L->Height(), TextSize(&Skinned, "WWW").cy);
    Show();
    EXPECT_GE(Ink(Around(L), RGB(0, 150, 0)).Right, 0);
    // keeps its own font, takes the skin's colour (the about box's labels)
    L->SetUseSkinFont(false);
    L->ChangeSkinData();
    Pump();
    EXPECT_EQ(L->Height(), TextSize(L->Font(), "WWW").cy);
    EXPECT_GE(Ink(Around(L), RGB(0, 150, 0)).Right, 0);
    EXPECT_LT(Ink(Around(L), RGB(0, 0, 220)).Right, 0);
    L->SetUseSkinColor(false);
    L->Repaint();
    Pump();
    EXPECT_GE(Ink(Around(L), RGB(0, 0, 220)).Right, 0);
    // an auto-sized label is measured again on every skin change
    L->SetUseSkinFont(true);
    R->FontHeight = 40;
    L->ChangeSkinData();
    Skinned.SetHeight(40);
    EXPECT_EQ(L->Height(), TextSize(&Skinned, "WWW").cy);
}

TEST_F(Labels, StdLabelDisabledDrawsTwiceOnePixelApart)
{
    StdLabelRecord();
    Skin->FSkinColors->FcBtnHighLight = RGB(250, 0, 0);
    Skin->FSkinColors->FcBtnShadow = RGB(0, 0, 250);
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("IIII");
    L->SetSkinData(Skin);
    L->SetEnabled(false);
    Show();
    const TRect Light = Ink(Around(L), RGB(250, 0, 0)), Dark = Ink(Around(L), RGB(0, 0, 250));
    ASSERT_GE(Dark.Right, 0);
    ASSERT_GE(Light.Right, 0);
    EXPECT_EQ(Light.Right, Dark.Right + 1);
    EXPECT_EQ(Light.Bottom, Dark.Bottom + 1);
}

TEST_F(Labels, StdLabelDefaultFontWriterDoesNotRepaint)
{
    auto* L = Add<TCountingLabel<TbsSkinStdLabel>>(TRect(10, 10, 100, 40));
    L->SetCaption("Text");
    Show();
    const int Before = L->Draws;
    TFont F;
    F.SetHeight(-20);
    L->SetDefaultFont(&F);
    Pump();
    EXPECT_EQ(L->Draws, Before);
    EXPECT_EQ(L->DefaultFont()->Height(), -20);
    L->SetEllipsType(bsetEndEllips);
    Pump();
    EXPECT_GT(L->Draws, Before);
}

TEST_F(Labels, StdLabelPaintsOntoAnotherCanvas)
{
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("MMM");
    L->DefaultFont()->SetColor(RGB(255, 0, 0));
    L->SetAutoSize(false);
    L->SetBounds(10, 10, 60, 30);
    L->SetTransparent(false);
    L->SetColor(RGB(0, 255, 0));
    TBitmap B(200, 100);
    L->PaintSkinTo(B.Canvas(), 100, 50, "MMM");
    EXPECT_EQ(B.Canvas()->Pixels(100, 50), RGB(0, 255, 0));
    EXPECT_EQ(B.Canvas()->Pixels(159, 79), RGB(0, 255, 0));
    EXPECT_EQ(B.Canvas()->Pixels(99, 50), RGB(0, 0, 0));
    int Red = 0;
    for (int Y = 50; Y < 80; ++Y)
        for (int X = 100; X < 160; ++X) Red += Close(B.Canvas()->Pixels(X, Y), RGB(255, 0, 0));
    EXPECT_GT(Red, 5);
}

TEST_F(Labels, StdLabelAcceleratorFocusesItsControl)
{
    auto* Edit = Add<TCustomControl>(TRect(10, 60, 100, 80));
    Edit->SetTabStop(true);
    auto* L = Add<TbsSkinStdLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("&Name");
    L->SetFocusControl(Edit);
    Show();
    EXPECT_EQ(L->Width(), TextSize(L->DefaultFont(), "Name").cx);
    EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_TRUE(Edit->Focused());
    delete Edit;
    EXPECT_EQ(L->FocusControl(), nullptr);
    EXPECT_EQ(L->Perform(CM_DIALOGCHAR, 'N', 0), 0);
}

// ---- link label --------------------------------------------------------------------------------------

TEST_F(Labels, LinkLabelClickOpensTheAddress)
{
    auto* L = Add<TbsSkinLinkLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("Home page");
    int Clicks = 0;
    L->OnClick = [&](TObject*) { ++Clicks; };
    EXPECT_EQ(L->Cursor(), crHandPoint);
    Show();
    ClickOn(L, 3, 3);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Calls.empty());
    L->SetURL("http://www.example.com/a b");
    ClickOn(L, 3, 3);
    EXPECT_EQ(Clicks, 2);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0], (std::vector<String>{"xdg-open", "http://www.example.com/a b"}));
}

TEST_F(Labels, LinkLabelChangesColourWhileHovered)
{
    auto* L = Add<TbsSkinLinkLabel>(TRect(10, 10, 100, 40));
    auto* Far = Add<TbsSkinLinkLabel>(TRect(200, 200, 220, 220));
    L->SetCaption("WWW");
    L->DefaultFont()->SetColor(RGB(0, 0, 0));
    L->SetDefaultActiveFontColor(RGB(255, 0, 0));
    Show();
    EXPECT_LT(Ink(Around(L), RGB(255, 0, 0)).Right, 0);
    MoveTo(L, 3, 3);
    EXPECT_TRUE(L->MouseIn());
    EXPECT_GE(Ink(Around(L), RGB(255, 0, 0)).Right, 0);
    MoveTo(Far, 1, 1);
    EXPECT_FALSE(L->MouseIn());
    EXPECT_LT(Ink(Around(L), RGB(255, 0, 0)).Right, 0);
}

TEST_F(Labels, LinkLabelGlowShiftsTheTextAndKeepsTheSkinColour)
{
    StdLabelRecord();
    auto* L = Add<TbsSkinLinkLabel>(TRect(10, 10, 150, 80));
    auto* Far = Add<TbsSkinLinkLabel>(TRect(200, 200, 220, 220));
    L->SetSkinData(Skin);
    L->SetCaption("WWW");
    Show();
    const TRect Plain = Ink(Around(L), RGB(0, 150, 0));
    const int PlainHeight = L->Height();
    L->SetGlowEffect(true);
    L->SetGlowSize(7);
    L->SetCaption("WWWW");
    L->SetCaption("WWW");
    Pump();
    EXPECT_EQ(L->Height(), PlainHeight + 7);
    const TRect Glowing = Ink(Around(L), RGB(0, 150, 0));
    EXPECT_EQ(Glowing.Top, Plain.Top + 7);
    MoveTo(L, 3, 3);
    const TRect Hovered = Ink(Around(L), RGB(0, 150, 0));
    EXPECT_EQ(Hovered.Top, Plain.Top + 7);  // still FontColor in front of the glow
    MoveTo(Far, 1, 1);
}

TEST_F(Labels, LinkLabelUnderlineFollowsUseUnderLineWhenEnabled)
{
    auto* L = Add<TbsSkinLinkLabel>(TRect(10, 10, 100, 40));
    L->SetCaption("mmm");
    L->DefaultFont()->SetColor(RGB(0, 0, 0));
    Show();
    const TRect Under = Drawn(Around(L));
    L->SetUseUnderLine(false);
    Pump();
    const TRect Plain = Drawn(Around(L));
    EXPECT_GT(Under.Bottom, Plain.Bottom);
    // a disabled label without a skin stays underlined (its light copy is white on white)
    L->SetEnabled(false);
    Pump();
    const TRect Disabled = Drawn(Around(L));
    EXPECT_GE(Disabled.Bottom, Under.Bottom);
    EXPECT_GT(Disabled.Bottom, Plain.Bottom);
}

TEST_F(Labels, LinkLabelDefaultFontWriterAndSkinWithoutRecord)
{
    FillTestSkin(Skin);
    auto* L = Add<TCountingLabel<TbsSkinLinkLabel>>(TRect(10, 10, 100, 40));
    L->SetCaption("Mail");
    L->SetSkinData(Skin);
    EXPECT_EQ(L->FIndex, -1);
    EXPECT_TRUE(L->DefaultFont()->Style().Contains(fsUnderline));
    EXPECT_EQ(L->DefaultFont()->Height(), 13);
    Show();
    const int Before = L->Draws;
    TFont F;
    L->SetDefaultFont(&F);
    Pump();
    EXPECT_EQ(L->Draws, Before);
    delete Skin;
    Skin = nullptr;
    EXPECT_EQ(L->SkinData(), nullptr);
}
