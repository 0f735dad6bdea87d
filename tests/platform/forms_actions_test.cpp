// Actions and action links: running an action, the links it tells of its changes, a freed
// action or link, the image list an action takes from its list, and the click path of a
// control with a linked action.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ActnList.h"
#include "platform/graphics/ImgList.h"

namespace {

TEST(Actions, ExecuteRunsOnExecuteOnlyWhenEnabled)
{
    TCustomAction A;
    int Runs = 0;
    EXPECT_FALSE(A.Execute());  // no handler
    A.OnExecute = [&](TObject* S) {
        EXPECT_EQ(S, &A);
        ++Runs;
    };
    EXPECT_TRUE(A.Execute());
    A.SetEnabled(false);
    EXPECT_FALSE(A.Execute());
    EXPECT_EQ(Runs, 1);
}

TEST(Actions, ChangesReachEveryLinkUntilItGoes)
{
    TCustomAction A;
    int First = 0, Second = 0;
    TBasicActionLink L1(nullptr);
    auto L2 = std::make_unique<TBasicActionLink>(nullptr);
    L1.OnChange = [&](TBasicAction* S) {
        EXPECT_EQ(S, &A);
        ++First;
    };
    L2->OnChange = [&](TBasicAction*) { ++Second; };
    L1.SetAction(&A);
    L2->SetAction(&A);
    A.SetCaption("Go");
    A.SetCaption("Go");  // unchanged: no notice
    L2.reset();          // a freed link is forgotten by its action
    A.SetChecked(true);
    EXPECT_EQ(First, 2);
    EXPECT_EQ(Second, 1);
}

TEST(Actions, FreedActionLeavesItsLinksEmpty)
{
    auto A = std::make_unique<TCustomAction>();
    TBasicActionLink L(nullptr);
    L.SetAction(A.get());
    A.reset();
    EXPECT_EQ(L.Action(), nullptr);
    EXPECT_FALSE(L.Execute());
}

TEST(Actions, ImagesComeFromTheListWhileTheIndexIsInside)
{
    auto Images = std::make_unique<TCustomImageList>(nullptr, 16, 16);
    TBitmap B;
    B.SetSize(16, 16);
    Images->Add(&B, nullptr);
    Images->Add(&B, nullptr);
    TCustomActionList List;
    TCustomAction A;
    int Changes = 0;
    TBasicActionLink L(nullptr);
    L.OnChange = [&](TBasicAction*) { ++Changes; };
    L.SetAction(&A);
    A.SetActionList(&List);
    List.SetImages(Images.get());
    EXPECT_EQ(Changes, 2);
    struct Case { int Index; bool Found; };
    for (Case C : {Case{-1, false}, Case{0, true}, Case{1, true}, Case{2, false}}) {
        A.SetImageIndex(C.Index);
        EXPECT_EQ(ActionImages(&A), C.Found ? Images.get() : nullptr) << C.Index;
    }
    A.SetImageIndex(0);
    Images.reset();  // the list forgets a freed image list and tells its actions
    EXPECT_EQ(List.Images(), nullptr);
    EXPECT_EQ(ActionImages(&A), nullptr);
    EXPECT_EQ(Changes, 7);
}

TEST(Actions, FreedListOrActionUnlinksTheOther)
{
    auto List = std::make_unique<TCustomActionList>();
    auto A = std::make_unique<TCustomAction>();
    auto B = std::make_unique<TCustomAction>();
    A->SetActionList(List.get());
    B->SetActionList(List.get());
    B.reset();
    ASSERT_EQ(List->ActionCount(), 1);
    EXPECT_EQ(List->Actions(0), A.get());
    List.reset();
    EXPECT_EQ(A->ActionList(), nullptr);
    EXPECT_EQ(A->Images(), nullptr);
}

void FreeHandler(TObject*) {}
void OtherFreeHandler(TObject*) {}

TEST(Actions, SameHandlerComparesFunctionsAndCallableKinds)
{
    auto Lambda = [](TObject*) {};
    TNotifyEvent None;
    EXPECT_TRUE(SameHandler(None, None));
    EXPECT_FALSE(SameHandler(None, FreeHandler));
    EXPECT_TRUE(SameHandler(FreeHandler, FreeHandler));
    EXPECT_FALSE(SameHandler(FreeHandler, OtherFreeHandler));
    EXPECT_TRUE(SameHandler(Lambda, Lambda));
    EXPECT_FALSE(SameHandler(Lambda, [](TObject*) {}));
}

// Which of OnClick and the action a click runs.
TEST(Actions, ClickRunsTheControlsOwnHandlerOrTheAction)
{
    struct Case {
        const char* Name;
        bool HasOnClick, Linked, OnClickIsExecute, Designing;
        int Clicks, Executes;
    };
    const Case Cases[] = {
        {"plain click", true, false, false, false, 1, 0},
        {"action only", false, true, false, false, 0, 1},
        {"own handler wins", true, true, false, false, 1, 0},
        {"handler is the action's", true, true, true, false, 0, 1},
        {"designing: no action", false, true, false, true, 0, 0},
        {"designing: the shared handler runs as the control's", true, true, true, true, 0, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TGraphicControl Ctl(nullptr);
        Ctl.SetDesigning(C.Designing);
        TCustomAction A;
        int Clicks = 0, Executes = 0;
        A.OnExecute = [&Executes](TObject*) { ++Executes; };
        if (C.HasOnClick) {
            if (C.OnClickIsExecute)
                Ctl.OnClick = A.OnExecute;
            else
                Ctl.OnClick = [&Clicks](TObject*) { ++Clicks; };
        }
        TBasicActionLink L(&Ctl);
        if (C.Linked) L.SetAction(&A);
        ClickWithAction(&Ctl, Ctl.OnClick, &L);
        EXPECT_EQ(Clicks, C.Clicks);
        EXPECT_EQ(Executes, C.Executes);
    }
}

TEST(Actions, ControlTakesTheActionsPropertiesAndKeepsItsOwnWithCheckDefaults)
{
    TGraphicControl Ctl(nullptr);
    TCustomAction A;
    A.SetCaption("Open");
    A.SetHint("Opens a file");
    A.SetEnabled(false);
    Ctl.SetCaption("Mine");
    ApplyActionToControl(&Ctl, &A, true);
    EXPECT_EQ(Ctl.Caption(), "Mine");
    EXPECT_EQ(Ctl.Hint(), "Opens a file");
    EXPECT_FALSE(Ctl.Enabled());
    ApplyActionToControl(&Ctl, &A, false);
    EXPECT_EQ(Ctl.Caption(), "Open");

    std::unique_ptr<TControlActionLink> Link;
    std::vector<bool> Calls;
    auto OnChange = [&](TBasicAction*, bool CheckDefaults) { Calls.push_back(CheckDefaults); };
    TControlActionLink::Assign(Link, &Ctl, &A, OnChange);
    ASSERT_TRUE(Link);
    A.SetVisible(false);
    EXPECT_EQ(Calls, (std::vector<bool>{false, false}));
    TControlActionLink::Assign(Link, &Ctl, nullptr, OnChange);
    EXPECT_FALSE(Link);
    A.SetVisible(true);
    EXPECT_EQ(Calls.size(), 2u);
}

}  // namespace
