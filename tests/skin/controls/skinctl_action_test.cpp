// Actions linked to the skinned button, check box and speed button: a click runs the
// action, a change of the action updates the control, a freed action leaves it unlinked.
#include "skinctl_support.h"

#include "platform/forms/ActnList.h"
#include "skin/controls/bsSkinExCtrls.h"

using namespace skinctl;

namespace {

class SkinAction : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Action = new TCustomAction(Form);
        Action->OnExecute = [this](TObject* S) {
            EXPECT_EQ(S, Action);
            ++Executes;
        };
    }
    // Each kind of control under test, linked to Action.
    template <class T>
    T* Linked(TRect R = Rect(10, 10, 110, 40))
    {
        auto* C = Make<T>(R);
        C->SetAction(Action);
        return C;
    }
    std::vector<TControl*> AllKinds()
    {
        return {Linked<TbsSkinButton>(Rect(10, 10, 110, 40)), Linked<TbsSkinCheckRadioBox>(Rect(10, 50, 160, 75)),
                Linked<TbsSkinSpeedButton>(Rect(10, 90, 60, 120))};
    }
    static TBasicAction* ActionOf(TControl* C)
    {
        if (auto* B = dynamic_cast<TbsSkinButton*>(C)) return B->Action();
        if (auto* B = dynamic_cast<TbsSkinCheckRadioBox*>(C)) return B->Action();
        return static_cast<TbsSkinSpeedButton*>(C)->Action();
    }
    TCustomAction* Action = nullptr;
    int Executes = 0;
};

TEST_F(SkinAction, ClickRunsTheActionUnlessTheControlHasItsOwnHandler)
{
    for (TControl* C : AllKinds()) {
        SCOPED_TRACE(C->ClassName());
        Executes = 0;
        Click(C, 10, 12);
        EXPECT_EQ(Executes, 1);
        int Own = 0;
        C->OnClick = [&Own](TObject*) { ++Own; };
        Click(C, 10, 12);
        EXPECT_EQ(Executes, 1);
        EXPECT_EQ(Own, 1);
        C->OnClick = nullptr;
        Action->SetEnabled(false);  // the control follows; a disabled action never runs
        EXPECT_FALSE(C->Enabled());
        Click(C, 10, 12);
        EXPECT_EQ(Executes, 1);
        Action->SetEnabled(true);
    }
}

TEST_F(SkinAction, LinkingAndChangingTheActionUpdateTheControls)
{
    Action->SetCaption("转换");
    const auto Kinds = AllKinds();
    for (TControl* C : Kinds) EXPECT_EQ(C->Caption(), "转换") << C->ClassName();
    Action->SetCaption("停止");
    Action->SetHint("Stops the batch");
    Action->SetVisible(false);
    for (TControl* C : Kinds) {
        SCOPED_TRACE(C->ClassName());
        EXPECT_EQ(C->Caption(), "停止");
        EXPECT_EQ(C->Hint(), "Stops the batch");
        EXPECT_FALSE(C->Visible());
    }
    auto* Box = static_cast<TbsSkinCheckRadioBox*>(Kinds[1]);
    Action->SetChecked(true);
    EXPECT_TRUE(Box->Checked());
    Action->SetChecked(false);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Executes, 0);  // the action setting Checked does not run the action
}

TEST_F(SkinAction, ButtonsTakeTheActionsImageOnlyWithoutAGlyph)
{
    auto* Images = new TCustomImageList(Form, 16, 16);
    TBitmap Pic;
    Pic.SetSize(16, 16);
    for (int I = 0; I < 3; ++I) Images->Add(&Pic, nullptr);
    auto* List = new TCustomActionList(Form);
    List->SetImages(Images);
    Action->SetActionList(List);
    auto* Button = Linked<TbsSkinButton>();
    auto* Speed = Linked<TbsSkinSpeedButton>(Rect(10, 90, 60, 120));
    auto* WithGlyph = Make<TbsSkinButton>(Rect(120, 10, 220, 40));
    WithGlyph->Glyph()->SetSize(8, 8);
    WithGlyph->SetAction(Action);

    Action->SetImageIndex(3);  // outside the list: nothing taken
    EXPECT_EQ(Button->ImageList(), nullptr);
    EXPECT_EQ(Speed->ImageList(), nullptr);
    Action->SetImageIndex(2);
    EXPECT_EQ(Button->ImageList(), Images);
    EXPECT_EQ(Button->ImageIndex(), 2);
    EXPECT_EQ(Speed->ImageList(), Images);
    EXPECT_EQ(Speed->ImageIndex(), 2);
    EXPECT_EQ(WithGlyph->ImageList(), nullptr);
}

TEST_F(SkinAction, FreedActionLeavesTheControlsUnlinkedAndClickable)
{
    const auto Kinds = AllKinds();
    delete Action;
    Action = nullptr;
    for (TControl* C : Kinds) {
        SCOPED_TRACE(C->ClassName());
        EXPECT_EQ(ActionOf(C), nullptr);
        int Own = 0;
        C->OnClick = [&Own](TObject*) { ++Own; };
        Click(C, 10, 12);
        EXPECT_EQ(Own, 1);
    }
}

// An action whose handler flips its own Checked (a toggle command) runs once per click; the
// box follows it without running it again.
TEST_F(SkinAction, ToggleActionOnACheckBoxRunsOncePerClick)
{
    auto* Box = Linked<TbsSkinCheckRadioBox>(Rect(10, 50, 160, 75));
    Action->OnExecute = [this](TObject*) {
        ++Executes;
        Action->SetChecked(!Action->Checked());
    };
    Click(Box, 10, 12);
    EXPECT_EQ(Executes, 1);
    EXPECT_TRUE(Action->Checked());
    EXPECT_TRUE(Box->Checked());
    Click(Box, 10, 12);
    EXPECT_EQ(Executes, 2);
    EXPECT_FALSE(Box->Checked());
}

}  // namespace
