// The tree view on the headless backend: expansion with its notices and lazy
// children, selection with veto, keys and mouse, scroll state, hit testing,
// deletion notices and label editing.
#include "ctrls_support.h"
#include "platform/forms/ComCtrls.h"

namespace {

class TreeViewTest : public CtrlsTest {
protected:
    void SetUp() override
    {
        CtrlsTest::SetUp();
        Tree = Add<TTreeView>({10, 10, 210, 160});
        Form->Show();
        Pump();
        // a
        //   a1 (lazy: children come on expansion)
        //   a2
        // b
        A = Tree->Items()->Add(nullptr, "a");
        A1 = Tree->Items()->AddChild(A, "a1");
        A1->SetHasChildren(true);
        A2 = Tree->Items()->AddChild(A, "a2");
        B = Tree->Items()->Add(nullptr, "b");
        Tree->OnExpanding = [this](TObject*, TTreeNode* N, bool& Allow) {
            Log.push_back("expanding " + N->Text());
            if (N == A1 && N->Count() == 0) {
                Tree->Items()->AddChild(N, "x");
                Tree->Items()->AddChild(N, "y");
            }
            Allow = !Veto;
        };
        Tree->OnExpanded = [this](TObject*, TTreeNode* N) { Log.push_back("expanded " + N->Text()); };
        Tree->OnCollapsed = [this](TObject*, TTreeNode* N) { Log.push_back("collapsed " + N->Text()); };
        Tree->OnChange = [this](TObject*, TTreeNode* N) { Log.push_back("change " + (N ? N->Text() : String("-"))); };
    }
    TPoint TextPoint(TTreeNode* N)
    {
        TRect R = N->DisplayRect(true);
        return At(Tree, {R.Left + 3, R.Top + R.Height() / 2});
    }
    TTreeView* Tree = nullptr;
    TTreeNode *A = nullptr, *A1 = nullptr, *A2 = nullptr, *B = nullptr;
    std::vector<String> Log;
    bool Veto = false;
};

}  // namespace

TEST_F(TreeViewTest, ExpansionAsksFirstLoadsLazilyAndCanBeRefused)
{
    EXPECT_TRUE(A->DisplayRect(false).Top == 0);
    EXPECT_TRUE(A1->DisplayRect(false).IsEmpty());  // a parent is collapsed
    A->Expand(false);
    EXPECT_EQ(Log, (std::vector<String>{"expanding a", "expanded a"}));
    EXPECT_FALSE(A1->DisplayRect(false).IsEmpty());
    Log.clear();
    Veto = true;
    A1->Expand(false);
    EXPECT_FALSE(A1->Expanded());
    EXPECT_EQ(Log, (std::vector<String>{"expanding a1"}));
    Veto = false;
    A1->Expand(false);
    EXPECT_TRUE(A1->Expanded());
    EXPECT_EQ(A1->Count(), 2);
    // a node that has no children (and claims none) does not expand
    Log.clear();
    A2->Expand(false);
    EXPECT_FALSE(A2->Expanded());
    EXPECT_TRUE(Log.empty());
    // collapsing a parent of the selection selects the parent
    A1->Item(1)->SetSelected(true);
    Log.clear();
    A->Collapse(false);
    EXPECT_EQ(Tree->Selected(), A);
    EXPECT_EQ(Log, (std::vector<String>{"change a", "collapsed a"}));
    EXPECT_EQ(Tree->Items()->Count(), 6);
    EXPECT_EQ(Tree->Items()->Item(3)->Text(), "y");
    EXPECT_EQ(A1->Item(1)->Level(), 2);
    EXPECT_EQ(A1->Item(1)->AbsoluteIndex(), 3);
}

TEST_F(TreeViewTest, MouseButtonsToggleAndLabelsSelect)
{
    TRect R = A->DisplayRect(false);
    TRect T = A->DisplayRect(true);
    int ButtonX = T.Left - Tree->Indent() / 2 - 4;
    EXPECT_TRUE(Tree->GetHitTestInfoAt(ButtonX, R.Top + R.Height() / 2).Contains(htOnButton));
    Click(Tree, {ButtonX, R.Top + R.Height() / 2});
    EXPECT_TRUE(A->Expanded());
    EXPECT_EQ(Tree->Selected(), nullptr);
    Headless::AdvanceTime(1000);
    Headless::Click(TextPoint(A2));
    Pump();
    EXPECT_EQ(Tree->Selected(), A2);
    EXPECT_TRUE(Tree->Focused());
    EXPECT_EQ(Tree->GetNodeAt(T.Left + 3, T.Top + 2), A);
    EXPECT_TRUE(Tree->GetHitTestInfoAt(T.Left + 3, T.Top + 2).Contains(htOnLabel));
    EXPECT_TRUE(Tree->GetHitTestInfoAt(T.Right + 20, T.Top + 2).Contains(htOnRight));
    // the right button selects only when asked to
    Headless::AdvanceTime(1000);
    Headless::Click(TextPoint(B), 2);
    Pump();
    EXPECT_EQ(Tree->Selected(), A2);
    Tree->SetRightClickSelect(true);
    Headless::AdvanceTime(1000);
    Headless::Click(TextPoint(B), 2);
    Pump();
    EXPECT_EQ(Tree->Selected(), B);
    // a double click on a label toggles
    Headless::AdvanceTime(1000);
    Headless::Click(TextPoint(A));
    Headless::Click(TextPoint(A));
    Pump();
    EXPECT_FALSE(A->Expanded());
}

TEST_F(TreeViewTest, KeysWalkTheShownNodesAndChangingCanVeto)
{
    Tree->SetFocus();
    Tree->SetSelected(A);
    Key(VK_RIGHT);  // expands
    EXPECT_TRUE(A->Expanded());
    Key(VK_RIGHT);  // first child
    EXPECT_EQ(Tree->Selected(), A1);
    Key(VK_DOWN);
    EXPECT_EQ(Tree->Selected(), A2);
    Key(VK_LEFT);  // parent
    EXPECT_EQ(Tree->Selected(), A);
    Key(VK_LEFT);  // collapses
    EXPECT_FALSE(A->Expanded());
    Key(VK_END);
    EXPECT_EQ(Tree->Selected(), B);
    Tree->OnChanging = [](TObject*, TTreeNode*, bool& Allow) { Allow = false; };
    Key(VK_HOME);
    EXPECT_EQ(Tree->Selected(), B);
    Tree->OnChanging = nullptr;
    Type("a");
    EXPECT_EQ(Tree->Selected(), A);
}

TEST_F(TreeViewTest, ScrollStateFollowsTheShownRows)
{
    Tree->Items()->BeginUpdate();
    for (int I = 0; I < 40; ++I) Tree->Items()->AddChild(B, "child " + IntToStr(I));
    Tree->Items()->EndUpdate();
    B->Expand(false);
    int Shown = 2 + 40;
    SCROLLINFO I;
    I.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Tree->Handle(), SB_VERT, &I));
    EXPECT_EQ(I.nMin, 0);
    EXPECT_EQ(I.nMax, Shown - 1);
    EXPECT_EQ(int(I.nPage), Tree->VisibleCount());
    Tree->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10));
    EXPECT_EQ(Tree->TopItem()->Text(), "child 8");
    EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_VERT), 10);
    Tree->Perform(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_VERT), 9);
    Tree->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500));
    EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_VERT), Shown - Tree->VisibleCount());
    B->Collapse(false);
    EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_VERT), 0);
    // a long text gives horizontal pixels
    B->SetText(String(80, 'W'));
    ASSERT_TRUE(GetScrollInfo(Tree->Handle(), SB_HORZ, &I));
    EXPECT_GT(I.nMax, Tree->ClientWidth());
    Tree->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30));
    EXPECT_EQ(GetScrollPos(Tree->Handle(), SB_HORZ), 30);
}

TEST_F(TreeViewTest, DeletionAnnouncesChildrenFirst)
{
    A1->Expand(false);
    A1->Item(0)->SetSelected(true);
    std::vector<String> Deleted;
    Tree->OnDeletion = [&](TObject*, TTreeNode* N) { Deleted.push_back(N->Text()); };
    A->Delete();
    EXPECT_EQ(Deleted, (std::vector<String>{"a2", "y", "x", "a1", "a"}));
    EXPECT_EQ(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Items()->Count(), 1);
}

TEST_F(TreeViewTest, LabelEditing)
{
    String Seen;
    Tree->OnEdited = [&](TObject*, TTreeNode*, String& S) { Seen = S; };
    ASSERT_TRUE(B->EditText());
    EXPECT_TRUE(Tree->IsEditing());
    Type("renamed");
    Key(VK_RETURN);
    EXPECT_EQ(Seen, "renamed");
    EXPECT_EQ(B->Text(), "renamed");
    ASSERT_TRUE(A->EditText());
    Type("zz");
    Key(VK_ESCAPE);
    EXPECT_EQ(A->Text(), "a");
    Tree->SetReadOnly(true);
    EXPECT_FALSE(A->EditText());
}

TEST_F(TreeViewTest, ARefusedLabelEndsTheEditAllTheSame)
{
    // the handler refuses the first label by throwing: the edit ends, the node keeps its
    // text, the next edit works; a tree being destroyed tells no one of an open edit
    int Calls = 0;
    Tree->OnEdited = [&](TObject*, TTreeNode*, String&) {
        if (++Calls == 1) throw Exception("taken");
    };
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    ASSERT_TRUE(B->EditText());
    Type("renamed");
    Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Errors.size(), 1u);
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(B->Text(), "b");
    ASSERT_TRUE(B->EditText());
    Type("again");
    Key(VK_RETURN);
    Pump();
    EXPECT_FALSE(Tree->IsEditing());
    EXPECT_EQ(B->Text(), "again");
    ASSERT_TRUE(A->EditText());
    Type("gone");
    delete Tree;
    Tree = nullptr;
    Pump();
    EXPECT_EQ(Calls, 2);
    Application->OnException = nullptr;
}
