// The shell combo box on a temporary folder tree: the root with its children, the chain
// down to a folder shown, a bad path, and the hand-over with a linked tree view.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/shell/FileSearch.h"
#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

class ShellComboTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        char T[] = "/tmp/shellcomboXXXXXX";
        Root = mkdtemp(T);
        for (const char* D : {"b", "a", "c", "c/x", "c/y", "c/y/deep"}) MkDir(Root + "/" + D);
        std::ofstream(Root + "/f.txt") << "x";
        Box = Make<TbsSkinShellComboBox>(Rect(0, 0, 250, 22));
        Pump();
        Box->SetRoot(Root);
    }
    void TearDown() override
    {
        std::error_code E;
        std::filesystem::remove_all(Root, E);
        SkinCtlTest::TearDown();
    }
    std::vector<String> Captions()
    {
        std::vector<String> R;
        for (int I = 0; I < Box->ItemsEx()->Count(); ++I) R.push_back(Box->ItemsEx()->Item(I).Caption);
        return R;
    }
    std::vector<int> Indents()
    {
        std::vector<int> R;
        for (int I = 0; I < Box->ItemsEx()->Count(); ++I) R.push_back(Box->ItemsEx()->Item(I).Indent);
        return R;
    }
    String Root;
    TbsSkinShellComboBox* Box = nullptr;
};

TEST_F(ShellComboTest, RootAndItsChildrenInTheShellsOrder)
{
    const String Name = ExtractFileName(Root);
    EXPECT_EQ(Captions(), (std::vector<String>{Name, "a", "b", "c"}));
    EXPECT_EQ(Indents(), (std::vector<int>{0, 1, 1, 1}));
    EXPECT_EQ(Box->Items()->Count(), 4);
    EXPECT_EQ(Box->Items()->Strings(3), "c");
    EXPECT_EQ(Box->ItemIndex(), 0);
    EXPECT_EQ(Box->Path(), Root);
    EXPECT_EQ(Box->ItemFolder(99)->PathName(), Root + "/c");
}

TEST_F(ShellComboTest, ShowingAFolderAddsOneChainOfItems)
{
    Box->SetPath(Root + "/c/y/deep");
    const String Name = ExtractFileName(Root);
    EXPECT_EQ(Captions(), (std::vector<String>{Name, "a", "b", "c", "y", "deep"}));
    EXPECT_EQ(Indents(), (std::vector<int>{0, 1, 1, 1, 2, 3}));
    EXPECT_EQ(Box->ItemIndex(), 5);
    EXPECT_EQ(Box->Path(), Root + "/c/y/deep");
    EXPECT_EQ(Box->Text(), "deep");
    // another folder replaces the chain
    Box->SetPath(Root + "/a");
    EXPECT_EQ(Captions(), (std::vector<String>{Name, "a", "b", "c"}));
    EXPECT_EQ(Box->ItemIndex(), 1);
    for (const String Bad : {String("no path"), Root + "/missing"}) {
        EXPECT_THROW(Box->SetPath(Bad), EInvalidPath) << Bad;
        EXPECT_EQ(Box->Path(), Root + "/a");
    }
}

TEST_F(ShellComboTest, LinkedTreeAndBoxFollowEachOther)
{
    auto* Tree = Make<TbsSkinDirTreeView>(Rect(0, 30, 250, 280));
    Pump();
    Box->SetShellTreeView(Tree);
    EXPECT_EQ(Tree->ShellComboBox(), Box);
    EXPECT_EQ(Tree->Root(), Root);
    Tree->SetPath(Root + "/c/y");
    EXPECT_EQ(Box->Path(), Root + "/c/y");
    // a node chosen in the tree
    Tree->Items()->GetFirstNode()->Item(1)->SetSelected(true);
    EXPECT_EQ(Box->Path(), Root + "/b");
    // an item chosen in the box
    Box->SetItemIndex(1);
    EXPECT_EQ(Tree->Path(), Root + "/a");
    EXPECT_EQ(Box->Path(), Root + "/a");
    delete Tree;
    EXPECT_EQ(Box->ShellTreeView(), nullptr);
}

} // namespace
