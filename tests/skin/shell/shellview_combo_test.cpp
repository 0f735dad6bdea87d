// The shell combo box on a temporary folder tree: the root with its children, the chain
// down to a folder shown, a bad path, and the hand-over with a linked tree view.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/shell/FileSearch.h"
#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"
#include "test_files.h"

using namespace skinctl;

namespace {

class ShellComboTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Root = vctest::ScratchDir("shellcombo");
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

// A linked list view takes the box's root.
TEST_F(ShellComboTest, LinkedListViewTakesTheRoot)
{
    auto* List = Make<TbsSkinFileListView>(Rect(0, 30, 250, 280));
    Pump();
    Box->SetShellListView(List);
    Box->SetRoot(Root + "/c");
    EXPECT_EQ(List->Root(), Root + "/c");
    EXPECT_EQ(List->Path(), Root + "/c");
}

} // namespace

namespace {

// The box with its item painters within reach.
struct TPaintedBox : TbsSkinShellComboBox {
    using TbsSkinShellComboBox::TbsSkinShellComboBox;
    using TbsCustomShellComboBox::DrawEditItem;
    using TbsCustomShellComboBox::DrawListItem;
};

// The columns of a 200 x 20 white picture that an item painter drew on.
std::vector<int> PaintedColumns(const std::function<void(TCanvas*)>& Paint)
{
    TBitmap B;
    B.SetSize(200, 20);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 200, 20));
    B.Canvas()->Font()->SetColor(clWhite);  // the text leaves no trace: only the icon counts
    Paint(B.Canvas());
    std::vector<int> Columns;
    for (int X = 0; X < 200; ++X)
        for (int Y = 0; Y < 20; ++Y)
            if (B.Canvas()->Pixels(X, Y) != clWhite) {
                Columns.push_back(X);
                break;
            }
    return Columns;
}

TEST_F(ShellComboTest, ItemsDrawTheirShellIconAtTheirIndent)
{
    auto* P = Make<TPaintedBox>(Rect(0, 30, 250, 52));
    Pump();
    P->SetRoot(Root);
    P->SetPath(Root + "/c/y");
    EXPECT_TRUE(P->UseShellImages());
    EXPECT_EQ(P->ImageWidth(), 16);
    EXPECT_EQ(P->ImageHeight(), 16);
    const int Sel = P->ItemIndex();
    const TbsItemEx& Item = P->ItemsEx()->Item(Sel);
    ASSERT_GE(Item.Indent, 1);
    EXPECT_EQ(Item.ImageIndex, int(siFolder));
    const int Left = Item.Indent * 16 / 2;
    std::vector<int> Cols = PaintedColumns([&](TCanvas* C) { P->DrawListItem(C, Sel, 200, 20, Rect(0, 0, 200, 20), {}); });
    ASSERT_FALSE(Cols.empty());
    EXPECT_GE(Cols.front(), Left);
    EXPECT_LT(Cols.back(), Left + 16);
    // the box itself draws the icon without the indent
    Cols = PaintedColumns([&](TCanvas* C) { P->DrawEditItem(C, Sel, 200, 20, Rect(0, 0, 200, 20), {}); });
    ASSERT_FALSE(Cols.empty());
    EXPECT_LT(Cols.back(), 16);
    // without shell images the icon size falls back to 16 x 16 and new items carry none
    P->ApplyShellImages(false);
    EXPECT_FALSE(P->UseShellImages());
    EXPECT_EQ(P->ImageWidth(), 16);
}

} // namespace
