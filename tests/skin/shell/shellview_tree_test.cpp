// The shell tree view on a temporary folder tree: the root node, children on first
// expansion in the shell's order, going to a path, refreshing a subtree while keeping the
// view, a bad root or path, and no watcher without automatic refresh.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/shell/FileSearch.h"
#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"
#include "shell/shell_support.h"
#include "test_files.h"

using namespace skinctl;

namespace {

class ShellTreeTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Root = vctest::ScratchDir("shelltree");
        for (const char* D : {"b", "a", "c", "c/x", "c/y", "c/y/deep"}) MkDir(Root + "/" + D);
        std::ofstream(Root + "/f.txt") << "x";
        Tree = Make<TbsSkinDirTreeView>(Rect(0, 0, 300, 280));
        Pump();
        Tree->SetRoot(Root);
    }
    void TearDown() override
    {
        std::error_code E;
        std::filesystem::remove_all(Root, E);
        SkinCtlTest::TearDown();
    }
    static std::vector<String> Children(TTreeNode* N)
    {
        std::vector<String> R;
        for (int I = 0; I < N->Count(); ++I) R.push_back(N->Item(I)->Text());
        return R;
    }
    TTreeNode* Child(TTreeNode* N, const String& Text)
    {
        for (int I = 0; I < N->Count(); ++I)
            if (N->Item(I)->Text() == Text) return N->Item(I);
        return nullptr;
    }
    String Root;
    TbsSkinDirTreeView* Tree = nullptr;
};

TEST_F(ShellTreeTest, RootNodeIsExpandedWithSortedFoldersOnly)
{
    EXPECT_FALSE(Tree->ShowRoot());
    EXPECT_TRUE(Tree->RightClickSelect());
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    ASSERT_NE(Top, nullptr);
    EXPECT_EQ(Top->GetNextSibling(), nullptr);
    EXPECT_TRUE(Top->Expanded());
    EXPECT_EQ(Tree->Selected(), Top);
    EXPECT_EQ(Tree->Path(), Root);
    EXPECT_EQ(Children(Top), (std::vector<String>{"a", "b", "c"}));
    // children are read only on expansion
    TTreeNode* C = Child(Top, "c");
    EXPECT_TRUE(C->HasChildren());
    EXPECT_EQ(C->Count(), 0);
    EXPECT_FALSE(Child(Top, "a")->HasChildren());
    C->Expand(false);
    EXPECT_EQ(Children(C), (std::vector<String>{"x", "y"}));
    // a folder found empty on expansion loses its expand button
    TTreeNode* X = Child(C, "x");
    X->SetHasChildren(true);
    X->Expand(false);
    EXPECT_FALSE(X->HasChildren());
    EXPECT_FALSE(X->Expanded());
    EXPECT_EQ(Tree->Notifier(), nullptr);
}

TEST_F(ShellTreeTest, PathExpandsTheWayDownAndABadPathRaises)
{
    Tree->SetPath(Root + "/c/y/deep");
    ASSERT_NE(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Selected()->Text(), "deep");
    EXPECT_EQ(Tree->Path(), Root + "/c/y/deep");
    EXPECT_TRUE(Tree->Selected()->Parent()->Expanded());
    EXPECT_TRUE(Tree->Selected()->Parent()->Parent()->Expanded());
    EXPECT_EQ(Tree->SelectedFolder()->PathName(), Root + "/c/y/deep");
    // with automatic refresh off no watcher is made by selecting
    EXPECT_EQ(Tree->Notifier(), nullptr);
    for (const String Bad : {String("not a path"), Root + "/missing"}) {
        try {
            Tree->SetPath(Bad);
            ADD_FAILURE() << Bad;
        } catch (const EInvalidPath& E) {
            EXPECT_NE(E.Message().find(Bad), String::npos) << E.Message();
        }
        EXPECT_EQ(Tree->Path(), Root + "/c/y/deep");
    }
}

TEST_F(ShellTreeTest, RefreshKeepsExpandedSelectedAndTopNodes)
{
    Tree->SetPath(Root + "/c/y");
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    TTreeNode* C = Child(Top, "c");
    Child(C, "y")->Expand(false);
    TTreeNode* TopBefore = Tree->TopItem();
    const String TopText = TopBefore ? TopBefore->Text() : String();
    std::filesystem::remove(std::filesystem::path(Root + "/c/x"));
    MkDir(Root + "/c/z");
    Tree->Refresh(C);
    C = Child(Top, "c");
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(Children(C), (std::vector<String>{"y", "z"}));
    EXPECT_TRUE(C->Expanded());
    EXPECT_TRUE(Child(C, "y")->Expanded());
    EXPECT_EQ(Children(Child(C, "y")), (std::vector<String>{"deep"}));
    ASSERT_NE(Tree->Selected(), nullptr);
    EXPECT_EQ(Tree->Path(), Root + "/c/y");
    ASSERT_NE(Tree->TopItem(), nullptr);
    EXPECT_EQ(Tree->TopItem()->Text(), TopText);
    EXPECT_EQ(Children(Top), (std::vector<String>{"a", "b", "c"}));
}

TEST_F(ShellTreeTest, BadRootRaisesAndKeepsTheOldRoot)
{
    EXPECT_THROW(Tree->SetRoot(Root + "/missing"), Exception);
    EXPECT_EQ(Tree->Root(), Root);
    ASSERT_NE(Tree->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(Tree->RootFolder()->PathName(), Root);
    EXPECT_EQ(Children(Tree->Items()->GetFirstNode()), (std::vector<String>{"a", "b", "c"}));
    // folders and files when asked for
    Tree->SetObjectTypes(TShellObjectTypes{otFolders, otNonFolders});
    EXPECT_EQ(Children(Tree->Items()->GetFirstNode()), (std::vector<String>{"a", "b", "c", "f.txt"}));
    // a vetoed folder is left out
    Tree->OnAddFolder = [](TObject*, TbsShellFolder* F, bool& CanAdd) { CanAdd = F->DisplayName() != "b"; };
    Tree->SetObjectTypes(TShellObjectTypes{otFolders});
    EXPECT_EQ(Children(Tree->Items()->GetFirstNode()), (std::vector<String>{"a", "c"}));
}

TEST_F(ShellTreeTest, AutomaticRefreshWatchesTheSelectedFolderOnly)
{
    Tree->SetAutoRefresh(true);
    ASSERT_NE(Tree->Notifier(), nullptr);
    EXPECT_EQ(Tree->Notifier()->Root(), Root);
    Tree->SetPath(Root + "/c");
    ASSERT_NE(Tree->Notifier(), nullptr);
    EXPECT_EQ(Tree->Notifier()->Root(), Root + "/c");
    EXPECT_FALSE(Tree->Notifier()->WatchSubTree());
    // a selection by the user moves the watch along
    Tree->Items()->GetFirstNode()->Item(0)->SetSelected(true);
    EXPECT_EQ(Tree->Notifier()->Root(), Root + "/a");
    Tree->SetAutoRefresh(false);
    EXPECT_EQ(Tree->Notifier(), nullptr);
}

TEST_F(ShellTreeTest, ContextRequestShowsTheShellMenuUnlessSwitchedOff)
{
    int Raised = 0;
    Tree->OnContextPopup = [&](TObject*, TPoint, bool&) { ++Raised; };
    const LPARAM At = PointToLParam(Tree->ClientToScreen(Point(20, 10)));
    EXPECT_EQ(Tree->Perform(WM_CONTEXTMENU, 0, At), 1);
    EXPECT_EQ(Raised, 0);
    Tree->SetAutoContextMenus(false);
    Tree->Perform(WM_CONTEXTMENU, 0, At);
    EXPECT_EQ(Raised, 1);
}

} // namespace

// A tree placed on a form that has no window yet builds its root when its object types
// change; expanding the root makes the window on the way, and the nodes being built stay.
TEST_F(ShellTreeTest, ObjectTypesSetBeforeTheWindowKeepTheRootBeingBuilt)
{
    std::unique_ptr<TForm> Off(new TForm(nullptr));
    auto* T = new TbsSkinDirTreeView(Off.get());
    T->SetParent(Off.get());
    T->SetRoot(Root);
    TShellObjectTypes Types = T->ObjectTypes();
    Types.Include(otHidden);
    T->SetObjectTypes(Types);
    TTreeNode* Top = T->Items()->GetFirstNode();
    ASSERT_NE(Top, nullptr);
    EXPECT_EQ(Children(Top), (std::vector<String>{"a", "b", "c"}));
    T->SetPath(Root + "/c/y");
    EXPECT_EQ(T->Path(), Root + "/c/y");
}

// A folder whose name ends in ".zip" is a folder to browse, and expanding the node of an
// item that is no folder lists nothing and starts nothing.
TEST_F(ShellTreeTest, ExpandingNeverStartsAnItemAndZipFoldersAreFolders)
{
    std::vector<std::vector<String>> Seen;
    auto Old = SetCommandRunner(std::make_unique<shelltest::TRecordingRunner>(&Seen));
    MkDir(Root + "/x.zip");
    MkDir(Root + "/x.zip/inner");
    Tree->SetObjectTypes({otFolders, otNonFolders});
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    TTreeNode* Zip = Child(Top, "x.zip");
    ASSERT_NE(Zip, nullptr);
    EXPECT_TRUE(Tree->NodeFolder(Zip)->IsFolder());
    Zip->Expand(false);
    EXPECT_EQ(Children(Zip), (std::vector<String>{"inner"}));
    TTreeNode* File = Child(Top, "f.txt");
    ASSERT_NE(File, nullptr);
    File->SetHasChildren(true);
    File->Expand(false);
    EXPECT_EQ(File->Count(), 0);
    EXPECT_FALSE(File->HasChildren());
    EXPECT_TRUE(Seen.empty());
    SetCommandRunner(std::move(Old));
}

namespace {

// Edits the label of Node as the user does: the editor opens, gets the text, Enter ends it.
void EditLabel(TbsSkinDirTreeView* Tree, TTreeNode* Node, const String& Text)
{
    ASSERT_TRUE(Node->EditText());
    auto* Editor = dynamic_cast<TCustomEdit*>(TWinControl::FindControl(GetFocus()));
    ASSERT_NE(Editor, nullptr);
    Editor->SetText(Text);
    Tree->EndEdit(true);
    Application->ProcessMessages();
}

TEST_F(ShellTreeTest, LabelEditRenamesTheFolderAndAFailureKeepsTheLabel)
{
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    String Seen;
    Tree->OnEdited = [&](TObject*, TTreeNode*, String& S) { Seen = S; };
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    EditLabel(Tree, Child(Top, "b"), "新");
    EXPECT_EQ(Seen, "新");
    EXPECT_TRUE(IsExistingFolder(Root + "/新"));
    EXPECT_FALSE(IsExistingFolder(Root + "/b"));
    // the parent's subtree is read again, in the shell's order
    Top = Tree->Items()->GetFirstNode();
    EXPECT_EQ(Children(Top), (std::vector<String>{"a", "c", "新"}));
    EXPECT_TRUE(Errors.empty());
    // a name that is taken: the error is reported, folder and label stay as they were
    EditLabel(Tree, Child(Top, "a"), "c");
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], "Rename to c failed");
    Top = Tree->Items()->GetFirstNode();
    EXPECT_EQ(Children(Top), (std::vector<String>{"a", "c", "新"}));
    EXPECT_TRUE(IsExistingFolder(Root + "/a"));
    // and the next edit works again
    EditLabel(Tree, Child(Top, "a"), "d");
    EXPECT_TRUE(IsExistingFolder(Root + "/d"));
    EXPECT_EQ(Children(Tree->Items()->GetFirstNode()), (std::vector<String>{"c", "d", "新"}));
    Application->OnException = nullptr;
}

TEST_F(ShellTreeTest, PicturesComeFromImagesElseTheShellElseNone)
{
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    ASSERT_NE(Tree->DrawnImages(), nullptr);
    EXPECT_EQ(Tree->Images(), nullptr);
    EXPECT_EQ(Tree->DrawnImages()->Count(), int(siCount));
    EXPECT_EQ(Tree->DrawnImages()->Width(), 16);
    EXPECT_EQ(Child(Top, "a")->ImageIndex(), int(siFolder));
    EXPECT_EQ(Child(Top, "a")->SelectedIndex(), int(siFolderOpen));
    Tree->SetUseShellImages(false);
    EXPECT_EQ(Tree->DrawnImages(), nullptr);
    Tree->SetUseShellImages(true);
    EXPECT_NE(Tree->DrawnImages(), nullptr);
    // a list of the user's own: drawn, and nodes made from then on carry no shell indexes
    auto* Own = new TImageList(Form, 20, 20);
    Tree->SetImages(Own);
    EXPECT_EQ(Tree->Images(), Own);
    EXPECT_EQ(Tree->DrawnImages(), Own);
    TTreeNode* C = Child(Top, "c");
    C->Expand(false);
    ASSERT_NE(Child(C, "x"), nullptr);
    EXPECT_EQ(Child(C, "x")->ImageIndex(), -1);
    // a list that goes leaves the shell's pictures
    delete Own;
    EXPECT_EQ(Tree->Images(), nullptr);
    ASSERT_NE(Tree->DrawnImages(), nullptr);
    EXPECT_EQ(Tree->DrawnImages()->Count(), int(siCount));
}

// A linked list view takes the tree's root and shows the folder the tree goes to.
TEST_F(ShellTreeTest, LinkedListViewTakesTheRootAndFollowsTheTree)
{
    auto* List = Make<TbsSkinFileListView>(Rect(0, 290, 300, 480));
    Pump();
    Tree->SetShellListView(List);
    Tree->SetRoot(Root + "/c");
    EXPECT_EQ(List->Root(), Root + "/c");
    EXPECT_EQ(List->Path(), Root + "/c");
    Tree->SetPath(Root + "/c/y/deep");
    EXPECT_EQ(Tree->Path(), Root + "/c/y/deep");
    EXPECT_EQ(List->Path(), Root + "/c/y/deep");
    // going to an item list takes the list view along as well
    LPITEMIDLIST L = nullptr;
    ASSERT_EQ(GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, Root + "/c/x", nullptr, &L, nullptr), S_OK);
    Tree->GoToPIDL(L);
    ShellFree(L);
    EXPECT_EQ(Tree->Path(), Root + "/c/x");
    EXPECT_EQ(List->Path(), Root + "/c/x");
}

// With a list of the user's own the tree asks its handlers for each node's pictures before
// drawing them; with the shell's pictures it asks nothing.
TEST_F(ShellTreeTest, ImageQuestionsReachTheHandlersOnlyWithImages)
{
    std::vector<String> Asked, AskedSelected;
    Tree->OnGetImageIndex = [&](TObject*, TTreeNode* N) {
        Asked.push_back(N->Text());
        if (N->Text() == "b" && N->ImageIndex() != 1) N->SetImageIndex(1);
    };
    Tree->OnGetSelectedIndex = [&](TObject*, TTreeNode* N) { AskedSelected.push_back(N->Text()); };
    Tree->Invalidate();
    Pump();
    EXPECT_TRUE(Asked.empty());
    EXPECT_TRUE(AskedSelected.empty());
    auto* Own = new TImageList(Form, 16, 16);
    for (TColor C : {RGB(250, 0, 0), RGB(0, 0, 250)}) {
        TBitmap B(16, 16);
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Own->Add(&B, nullptr);
    }
    Tree->SetImages(Own);
    Tree->Invalidate();
    Pump();
    TTreeNode* Top = Tree->Items()->GetFirstNode();
    EXPECT_NE(std::find(Asked.begin(), Asked.end(), "b"), Asked.end());
    EXPECT_NE(std::find(AskedSelected.begin(), AskedSelected.end(), Top->Text()), AskedSelected.end());
    // the answer shows: node "b" carries the second picture
    TTreeNode* B = Child(Top, "b");
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->ImageIndex(), 1);
    const TRect R = B->DisplayRect(true);
    bool Blue = false;
    for (int X = std::max(0, R.Left - 40); X < R.Left && !Blue; ++X)
        Blue = PixelOf(Tree, X, (R.Top + R.Bottom) / 2) == RGB(0, 0, 250);
    EXPECT_TRUE(Blue);
    Tree->OnGetImageIndex = nullptr;
    Tree->OnGetSelectedIndex = nullptr;
}

} // namespace
