// The plain controls on the headless backend: combo box, buttons, check boxes, radio
// buttons and groups, labels, bevels, images, panels, progress and track bars.
#include "ctrls_support.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"

namespace {

class PlainTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        Form->Show();
        Pump();
    }
};

TColor PixelAt(TControl* C, int X, int Y)
{
    TPoint P = C->ClientToScreen({X, Y});
    HWND Top = GetAncestor(C->Parent()->Handle(), GA_ROOT);
    ScreenToClient(Top, P);
    return Headless::PixelColor(Top, P);
}

}  // namespace

TEST_F(PlainTest, ComboBoxItemsSelectionTextAndDropDown)
{
    auto* Combo = Add<TComboBox>({10, 10, 160, 35});
    int Changes = 0;
    Combo->OnChange = [&](TObject*) { ++Changes; };
    Combo->Items()->BeginUpdate();
    for (const char* S : {"320x240", "640x480", "720x576"}) Combo->Items()->Add(S);
    Combo->Items()->EndUpdate();
    Combo->Items()->Insert(0, "原始");
    EXPECT_EQ(Combo->Items()->IndexOf("640X480"), 2);
    EXPECT_EQ(Combo->ItemIndex(), -1);
    Combo->SetItemIndex(2);  // from the program: no event
    EXPECT_EQ(Combo->Text(), "640x480");
    EXPECT_EQ(Changes, 0);
    Combo->SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(Changes, 1);
    Key(VK_DOWN);  // the last stays
    EXPECT_EQ(Changes, 1);
    Combo->SetText("320x240");
    EXPECT_EQ(Combo->ItemIndex(), 1);
    // the drop-down: a popup that never takes the focus; a click takes an item
    Key(VK_F4);
    ASSERT_TRUE(Combo->DroppedDown());
    EXPECT_TRUE(Combo->Focused());
    TRect W = GetWindowRect(Combo->Handle());
    int Row = Combo->ItemHeight();
    TPoint Third{W.Left + 10, W.Bottom + 1 + 2 * Row + Row / 2};
    Headless::MouseMove(Third);
    Headless::Click(Third);
    Pump();
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Changes, 2);
    EXPECT_TRUE(Combo->Focused());
    // a press outside closes it and keeps the item
    Key(VK_F4);
    ASSERT_TRUE(Combo->DroppedDown());
    Headless::AdvanceTime(1000);
    Headless::Click(At(Form, {350, 250}));
    Pump();
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 2);
    // a list-style box takes type-ahead
    Combo->SetStyle(csDropDownList);
    Combo->SetFocus();
    Type("7");
    EXPECT_EQ(Combo->Text(), "720x576");
    Combo->Items()->Clear();
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Combo->Text(), "");
}

TEST_F(PlainTest, HiddenSteeringBoxesAreReachedByTab)
{
    auto* Panel = Add<TPanel>({0, 500, 200, 560});  // beyond the client area
    auto* Combo = Add<TComboBox>({10, 10, 150, 35}, Panel);
    auto* Edit = Add<TEdit>({10, 10, 100, 35});
    for (const char* S : {"a", "b"}) Combo->Items()->Add(S);
    Combo->SetItemIndex(0);
    Edit->SetFocus();
    Key(VK_TAB);
    EXPECT_TRUE(Combo->Focused());
    Key(VK_DOWN);
    EXPECT_EQ(Combo->ItemIndex(), 1);
}

TEST_F(PlainTest, ButtonsClickByMouseKeysAndCode)
{
    auto* Ok = Add<TButton>({10, 10, 85, 35});
    auto* Cancel = Add<TButton>({100, 10, 175, 35});
    auto* Edit = Add<TEdit>({10, 50, 150, 75});
    Ok->SetCaption("确定");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Cancel->SetCancel(true);
    int OkClicks = 0, CancelClicks = 0;
    Ok->OnClick = [&](TObject*) { ++OkClicks; };
    Cancel->OnClick = [&](TObject*) { ++CancelClicks; };
    Click(Ok, {20, 10});
    EXPECT_EQ(OkClicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    // a press released outside is no click
    Headless::AdvanceTime(1000);
    Headless::MouseDown(At(Ok, {20, 10}));
    Headless::MouseUp(At(Form, {300, 200}));
    Pump();
    EXPECT_EQ(OkClicks, 1);
    // Enter clicks the default button, Escape the cancel button, Space the focused one
    Edit->SetFocus();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(OkClicks, 2);
    EXPECT_EQ(CancelClicks, 1);
    Cancel->SetFocus();
    Key(VK_SPACE);
    EXPECT_EQ(CancelClicks, 2);
    // code clicks even a hidden or disabled button
    Ok->SetEnabled(false);
    Ok->Hide();
    Ok->Click();
    EXPECT_EQ(OkClicks, 3);
    Edit->SetFocus();
    Key(VK_RETURN);  // but keys do not
    EXPECT_EQ(OkClicks, 3);
}

TEST_F(PlainTest, CheckBoxesAndRadioButtons)
{
    auto* Check = Add<TCheckBox>({10, 10, 150, 27});
    int Clicks = 0;
    Check->OnClick = [&](TObject*) { ++Clicks; };
    Click(Check, {5, 8});
    EXPECT_TRUE(Check->Checked());
    EXPECT_EQ(Clicks, 1);
    Check->SetChecked(false);  // writing the state clicks too
    EXPECT_EQ(Clicks, 2);
    Check->SetAllowGrayed(true);
    std::vector<TCheckBoxState> Cycle;
    Check->SetFocus();
    for (int I = 0; I < 3; ++I) {
        Key(VK_SPACE);
        Cycle.push_back(Check->State());
    }
    EXPECT_EQ(Cycle, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));

    auto* Group = Add<TRadioGroup>({10, 40, 200, 140});
    Group->SetCaption("音频");
    for (const char* S : {"mp3", "aac", "ac3"}) Group->Items()->Add(S);
    int GroupClicks = 0;
    Group->OnClick = [&](TObject*) { ++GroupClicks; };
    Group->SetItemIndex(0);
    EXPECT_TRUE(Group->Buttons(0)->Checked());
    EXPECT_EQ(GroupClicks, 0);
    Click(Group->Buttons(1), {4, 6});
    EXPECT_EQ(Group->ItemIndex(), 1);
    EXPECT_FALSE(Group->Buttons(0)->Checked());
    EXPECT_EQ(GroupClicks, 1);
    Group->Buttons(2)->SetChecked(true);
    EXPECT_FALSE(Group->Buttons(1)->Checked());
    EXPECT_EQ(Group->ItemIndex(), 2);
}

TEST_F(PlainTest, LabelsMeasureAlignAndFocusTheirControl)
{
    auto* Label = Add<TLabel>({10, 10, 20, 15});
    Label->SetCaption("&Name 名称");
    HDC DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, Label->Font()->Handle());
    TRect M{0, 0, 0, 0};
    DrawText(DC, "&Name 名称", -1, &M, DT_CALCRECT);
    DeleteDC(DC);
    EXPECT_EQ(Label->Width(), M.Width());  // AutoSize
    EXPECT_EQ(Label->Height(), M.Height());
    // right alignment keeps the right edge
    int Right = Label->Left() + Label->Width();
    Label->SetAlignment(taRightJustify);
    Label->SetCaption("N");
    EXPECT_EQ(Label->Left() + Label->Width(), Right);
    // word wrap stays within the width and grows down
    Label->SetAutoSize(false);
    Label->SetWidth(80);
    Label->SetWordWrap(true);
    Label->SetCaption("several words that wrap");
    Label->SetAutoSize(true);
    EXPECT_LE(Label->Width(), 80);
    EXPECT_GT(Label->Height(), M.Height());
    EXPECT_FALSE(Label->Transparent());
    Label->SetTransparent(true);
    EXPECT_FALSE(Label->ControlStyle().Contains(csOpaque));
    // the accelerator focuses the linked control
    auto* Edit = Add<TEdit>({100, 100, 200, 125});
    auto* Other = Add<TEdit>({100, 140, 200, 165});
    Label->SetCaption("&Name");
    Label->SetFocusControl(Edit);
    Other->SetFocus();
    Form->Perform(CM_DIALOGCHAR, 'n');
    EXPECT_TRUE(Edit->Focused());
}

TEST_F(PlainTest, BevelsPanelsAndImagesPaint)
{
    struct TCase { TBevelShape Shape; TPoint Shadow, Light; };
    const TCase Cases[] = {
        {bsTopLine, {10, 0}, {10, 1}}, {bsBottomLine, {10, 18}, {10, 19}},
        {bsLeftLine, {0, 10}, {1, 10}}, {bsRightLine, {38, 10}, {39, 10}},
        {bsBox, {0, 10}, {39, 10}},
    };
    auto* Bevel = Add<TBevel>({20, 20, 60, 40});
    for (const TCase& C : Cases) {
        Bevel->SetShape(C.Shape);
        Bevel->Repaint();
        Pump();
        EXPECT_EQ(PixelAt(Bevel, C.Shadow.X, C.Shadow.Y), ColorToRGB(clBtnShadow)) << int(C.Shape);
        EXPECT_EQ(PixelAt(Bevel, C.Light.X, C.Light.Y), ColorToRGB(clBtnHighlight)) << int(C.Shape);
    }
    Bevel->SetStyle(bsRaised);
    Bevel->SetShape(bsTopLine);
    Bevel->Repaint();
    Pump();
    EXPECT_EQ(PixelAt(Bevel, 10, 0), ColorToRGB(clBtnHighlight));

    auto* Panel = Add<TPanel>({100, 20, 200, 80});
    Panel->SetBevelOuter(TPanelBevel::bvLowered);
    Panel->SetBevelWidth(2);
    TRect R = Panel->ClientRect();
    Panel->AdjustClientRect(R);
    EXPECT_EQ(R, TRect(2, 2, 98, 58));
    auto* Inner = Add<TPanel>({0, 0, 10, 10}, Panel);
    Inner->SetAlign(alClient);
    EXPECT_EQ(Inner->BoundsRect(), TRect(2, 2, 98, 58));

    auto* Image = Add<TImage>({220, 20, 280, 80});
    TBitmap B(10, 10);
    B.Canvas()->Brush()->SetColor(clLime);
    B.Canvas()->FillRect({0, 0, 10, 10});
    Image->Picture()->SetBitmap(&B);
    Image->SetStretch(true);
    Pump();
    EXPECT_EQ(Image->DestRect(), TRect(0, 0, 60, 60));
    EXPECT_EQ(PixelAt(Image, 55, 55), clLime);
    Image->SetStretch(false);
    Image->SetCenter(true);
    EXPECT_EQ(Image->DestRect(), TRect(25, 25, 35, 35));
    Image->SetAutoSize(true);
    EXPECT_EQ(Image->Width(), 10);
}

TEST_F(PlainTest, ProgressBarKeepsItsPositionInRange)
{
    auto* Bar = Add<TProgressBar>({10, 10, 210, 26});
    Bar->SetPosition(150);
    EXPECT_EQ(Bar->Position(), 100);
    Bar->SetPosition(-5);
    EXPECT_EQ(Bar->Position(), 0);
    Bar->SetStep(40);
    Bar->StepIt();
    Bar->StepIt();
    Bar->StepIt();  // past the end it starts again
    EXPECT_EQ(Bar->Position(), 20);
    Bar->SetRange(10, 20);
    EXPECT_EQ(Bar->Position(), 20);
    EXPECT_EQ(Bar->Perform(PBM_GETRANGE, 1), 10);
    Bar->SetPosition(15);
    Pump();
    EXPECT_EQ(PixelAt(Bar, 5, 8), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(Bar, 190, 8), ColorToRGB(clBtnFace));
}

TEST_F(PlainTest, TrackBarMovesByLinesPagesAndTheMouse)
{
    auto* Bar = Add<TTrackBar>({10, 10, 210, 55});
    Bar->SetMax(128);
    Bar->SetPageSize(10);
    Bar->SetFrequency(20);
    Bar->SetTickMarks(tmBoth);
    std::vector<int> Seen;
    Bar->OnChange = [&](TObject*) { Seen.push_back(Bar->Position()); };
    Bar->SetPosition(128);
    Bar->SetPosition(500);  // kept at the end: no change
    EXPECT_EQ(Seen, (std::vector<int>{128}));
    Bar->SetFocus();
    Key(VK_LEFT);
    Key(VK_PRIOR);
    Key(VK_HOME);
    Key(VK_HOME);
    EXPECT_EQ(Seen, (std::vector<int>{128, 127, 117, 0}));
    // a press beside the thumb pages toward the pointer; dragging the thumb follows it
    TRect T = Bar->ThumbRect();
    Click(Bar, {T.Right + 40, (T.Top + T.Bottom) / 2});
    EXPECT_EQ(Bar->Position(), 10);
    T = Bar->ThumbRect();
    Headless::AdvanceTime(1000);
    Headless::MouseDown(At(Bar, {T.Left + 5, (T.Top + T.Bottom) / 2}));
    Headless::MouseMove(At(Bar, {Bar->ClientWidth() + 50, (T.Top + T.Bottom) / 2}));
    Headless::MouseUp(At(Bar, {Bar->ClientWidth() + 50, (T.Top + T.Bottom) / 2}));
    Pump();
    EXPECT_EQ(Bar->Position(), 128);
}
