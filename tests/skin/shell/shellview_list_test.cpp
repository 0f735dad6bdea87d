// The shell list view on a temporary folder tree: the mask, filling and the add-folder veto,
// navigation, the owner-data rows and the incremental find, renaming by label edit, the
// report columns, the column sort and its failures, and the links to a combo box.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "skin/menus/bsSkinMenus.h"
#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"
#include "shell/shell_support.h"
#include "test_files.h"

using namespace skinctl;

namespace {

class ShellListTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Root = vctest::ScratchDir("shelllist");
        List = Make<TbsSkinFileListView>(Rect(0, 0, 380, 280));
        Pump();
    }
    void TearDown() override
    {
        std::error_code E;
        std::filesystem::remove_all(Root, E);
        SkinCtlTest::TearDown();
    }
    void Dir(const String& N) { std::filesystem::create_directories(Root + "/" + N); }
    void File(const String& N, const String& Text = "x") { std::ofstream(Root + "/" + N) << Text; }
    std::vector<String> Rows()
    {
        std::vector<String> R;
        for (int I = 0; I < List->FolderCount(); ++I) R.push_back(List->FolderAt(I)->DisplayName());
        return R;
    }
    String Root;
    TbsSkinFileListView* List = nullptr;
};

TEST(ShellMask, Table)
{
    struct Case {
        const char* Mask;
        const char* Name;
        bool Match;
    } Cases[] = {
        {"*.avi;*.mp4", "a.AVI", true}, {"*.avi;*.mp4", "b.mp4", true}, {"*.avi;*.mp4", "c.mkv", false},
        {"*", "c.mkv", true},           {"*", "noext", true},           {"abc", "abc", false},
        {"", "a.avi", false},           {"*.*|*.*", "c.mkv", true},     {"*.*|*.*", "noext", true},
        {";;*.mkv", "c.mkv", true},     {"[a-", "a.avi", false},        {"*.avi|abc|*.mkv", "c.MKV", true},
    };
    for (const Case& C : Cases) EXPECT_EQ(ShellMaskMatches(C.Mask, C.Name), C.Match) << C.Mask << " " << C.Name;
}

TEST_F(ShellListTest, FillKeepsFoldersWhateverTheMaskAndFilesThatMatch)
{
    for (const char* F : {"a.AVI", "b.mp4", "c.mkv", ".dot.avi"}) File(F);
    Dir("x.avi");
    Dir("视频");
    List->SetPath(Root);
    struct Case {
        const char* Mask;
        std::vector<String> Rows;
    } Cases[] = {
        {"*.avi;*.mp4", {"x.avi", "视频", "a.AVI", "b.mp4"}},
        {"*", {"x.avi", "视频", "a.AVI", "b.mp4", "c.mkv"}},
        {"abc", {"x.avi", "视频"}},
        {"", {"x.avi", "视频"}},
        {"*.*|*.*", {"x.avi", "视频", "a.AVI", "b.mp4", "c.mkv"}},
    };
    for (const Case& C : Cases) {
        List->SetMask(C.Mask);
        EXPECT_EQ(Rows(), C.Rows) << C.Mask;
        EXPECT_EQ(List->Items()->Count(), int(C.Rows.size()));
    }
    // hidden files only with otHidden
    List->SetMask("*");
    List->SetObjectTypes({otFolders, otNonFolders, otHidden});
    EXPECT_EQ(Rows(), (std::vector<String>{"x.avi", "视频", ".dot.avi", "a.AVI", "b.mp4", "c.mkv"}));
}

TEST_F(ShellListTest, AddFolderVetoDropsTheItem)
{
    for (const char* F : {"a.mp4", "b.mp4"}) File(F);
    Dir("d");
    int Asked = 0;
    List->OnAddFolder = [&](TObject* Sender, TbsShellFolder* F, bool& CanAdd) {
        EXPECT_EQ(Sender, List);
        ++Asked;
        if (F->DisplayName() == "a.mp4") CanAdd = false;
    };
    List->SetPath(Root);
    EXPECT_EQ(Asked, 3);
    EXPECT_EQ(Rows(), (std::vector<String>{"d", "b.mp4"}));
}

TEST_F(ShellListTest, NavigationBackRefreshAndPathChanged)
{
    Dir("sub/deeper");
    for (const char* F : {"a.mp4", "b.mp4", "c.mp4"}) File(F);
    int Changes = 0;
    List->OnPathChanged = [&](TObject*) { ++Changes; };
    List->SetPath(Root + "/sub");
    EXPECT_EQ(Changes, 1);
    List->Back();
    EXPECT_EQ(List->Path(), Root);
    EXPECT_EQ(Changes, 2);
    // Refresh reselects the last row
    List->SetItemIndex(3);
    File("b2.mp4");
    std::filesystem::remove(std::string(Root + "/c.mp4"));
    List->Refresh();
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(Rows(), (std::vector<String>{"sub", "a.mp4", "b.mp4", "b2.mp4"}));
    // Back at the desktop changes nothing
    List->SetRoot("rfMyComputer");
    List->SetRoot("rfDesktop");
    const int Before = Changes;
    const String DesktopPath = List->Path();
    List->Back();
    EXPECT_EQ(List->Path(), DesktopPath);
    EXPECT_EQ(Changes, Before);
    // the root text compares without case
    List->SetRoot("RFDESKTOP");
    EXPECT_EQ(List->Root(), "rfDesktop");
}

TEST_F(ShellListTest, DoubleClickEnterAndBackspaceNavigate)
{
    Dir("sub");
    File("sub/in.mp4");
    List->SetPath(Root);
    List->SetFocus();
    List->SetItemIndex(0);
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(List->Path(), Root + "/sub");
    Headless::Key(VK_BACK);
    Pump();
    EXPECT_EQ(List->Path(), Root);
    List->SetAutoNavigate(false);
    List->SetItemIndex(0);
    Headless::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(List->Path(), Root);
}

TEST_F(ShellListTest, OwnerDataRowsAndIncrementalFind)
{
    for (const char* F : {"alpha.mp4", "Beta.mp4", "beta2.mp4", "gamma.mp4"}) File(F);
    List->SetPath(Root);
    EXPECT_EQ(List->Items()->Item(1)->Caption(), "Beta.mp4");
    struct Case {
        const char* Text;
        int Start;
        bool Wrap;
        int Row;
    } Cases[] = {
        {"be", 0, true, 1}, {"BE", 2, true, 2}, {"al", 1, true, 0}, {"al", 1, false, -1},
        {"zz", 0, true, -1}, {"g", -1, true, -1}, {"", 3, true, 3},
    };
    for (const Case& C : Cases) {
        TListItem* Found = List->FindCaption(C.Start, C.Text, true, true, C.Wrap);
        EXPECT_EQ(Found ? Found->Index() : -1, C.Row) << C.Text << " from " << C.Start;
    }
}

TEST_F(ShellListTest, RenameByLabelEditAndACollisionIsReported)
{
    File("a.mp4");
    File("b.mp4");
    List->SetPath(Root);
    String S = "c.mp4";
    List->OnEdited(List, List->Items()->Item(0), S);
    EXPECT_TRUE(FileExists(Root + "/c.mp4"));
    EXPECT_EQ(List->FolderAt(0)->DisplayName(), "c.mp4");
    // a taken name: reported, and the label stays
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, Exception* E) { Errors.push_back(E->Message()); };
    S = "b.mp4";
    List->OnEdited(List, List->Items()->Item(0), S);
    Application->OnException = nullptr;
    EXPECT_EQ(Errors, std::vector<String>{"Rename to b.mp4 failed"});
    EXPECT_EQ(S, List->Items()->Item(0)->Caption());
    EXPECT_TRUE(FileExists(Root + "/c.mp4"));
}

TEST_F(ShellListTest, AVanishedFolderGivesWayToItsNearestAncestor)
{
    // the list shows a/b/c; a/b goes outside the program: F5 lists a, under a's path
    Dir("a/b/c");
    File("a/x.mp4");
    List->SetPath(Root + "/a/b/c");
    ASSERT_EQ(List->Path(), Root + "/a/b/c");
    std::filesystem::remove_all(std::string(Root + "/a/b"));
    List->SetFocus();
    Headless::Key(VK_F5);
    Application->ProcessMessages();
    EXPECT_EQ(List->Path(), Root + "/a");
    ASSERT_EQ(List->Items()->Count(), 1);
    EXPECT_EQ(List->Items()->Item(0)->Caption(), "x.mp4");
}

TEST_F(ShellListTest, BuildColumnsGivesTheBuiltInColumns)
{
    List->SetPath(Root);
    List->SetViewStyle(vsReport);
    ASSERT_EQ(List->Columns()->Count(), 4);
    const int X = TextWidthInFont(List->Font(), "X");
    const char* Captions[] = {"Name", "Size", "Type", "Modified"};
    const int Widths[] = {25, 10, 10, 14};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(List->Column(I)->Caption(), Captions[I]);
        EXPECT_EQ(List->Column(I)->Width(), Widths[I] * X);
    }
    EXPECT_EQ(List->Column(1)->Alignment(), taRightJustify);
    // a virtual folder gets the name column alone
    List->SetRoot("rfMyComputer");
    ASSERT_EQ(List->Columns()->Count(), 1);
    EXPECT_EQ(List->Column(0)->Caption(), "Name");
    // a skin with interface strings but no key: an empty caption
    TestSkin Skin;
    auto* Strings = new TbsResourceStrData(Skin.SD);
    Strings->ResStrings()->Clear();
    Strings->ResStrings()->Add("FLV_SIZE=大小");
    Skin.SD->SetResourceStrData(Strings);
    List->SetSkinData(Skin.SD);
    List->BuildColumns();
    EXPECT_EQ(List->Column(0)->Caption(), "");
    List->SetSkinData(nullptr);
}

TEST_F(ShellListTest, ColumnSortFoldersFirstBothWaysAndSizesPast4GiB)
{
    Dir("zdir");
    Dir("adir");
    File("small.bin", String(1 << 20, 'x'));
    File("mid.bin", String(2000, 'x'));
    {
        std::ofstream(Root + "/huge.bin");
        ASSERT_EQ(truncate((Root + "/huge.bin").c_str(), (int64_t(5) << 30)), 0);
    }
    List->SetPath(Root);
    List->SetViewStyle(vsReport);
    List->ColumnClickSort(1);
    EXPECT_FALSE(List->SortDirection());
    EXPECT_EQ(Rows(), (std::vector<String>{"adir", "zdir", "mid.bin", "small.bin", "huge.bin"}));
    List->ColumnClickSort(1);
    EXPECT_TRUE(List->SortDirection());
    EXPECT_EQ(Rows(), (std::vector<String>{"zdir", "adir", "huge.bin", "small.bin", "mid.bin"}));
    List->ColumnClickSort(0);
    EXPECT_FALSE(List->SortDirection());
    EXPECT_EQ(Rows(), (std::vector<String>{"adir", "zdir", "huge.bin", "mid.bin", "small.bin"}));
    EXPECT_EQ(ShellSortCells.ListedFolder, nullptr);
    EXPECT_FALSE(ShellSortCells.ColumnSort);

    // the comparison itself: folders first in both directions
    TbsShellFolder* Folder = List->FolderAt(0);
    TbsShellFolder* Huge = List->FolderAt(2);
    TbsShellFolder* Small = List->FolderAt(4);
    for (bool Desc : {false, true})
        for (int Col = 0; Col <= 4; ++Col) {
            ShellSortCells = TShellSortCells{List->RootFolder(), nullptr, Col, Desc, true};
            EXPECT_LT(CompareShellItems(Folder, Huge), 0) << Col << Desc;
            EXPECT_GT(CompareShellItems(Huge, Folder), 0) << Col << Desc;
            EXPECT_EQ(CompareShellItems(Huge, Huge), 0);
        }
    ShellSortCells = TShellSortCells{List->RootFolder(), nullptr, 1, false, true};
    EXPECT_GT(CompareShellItems(Huge, Small), 0);
    ShellSortCells = TShellSortCells{List->RootFolder(), nullptr, 1, true, true};
    EXPECT_LT(CompareShellItems(Huge, Small), 0);
    ShellSortCells = TShellSortCells{};
    EXPECT_EQ(CompareShellItems(nullptr, Huge), 0);
}

TEST_F(ShellListTest, ColumnClickNeedsFourColumnsExceptForTheFirst)
{
    File("b.mp4");
    File("a.mp4");
    List->SetPath(Root);
    List->SetViewStyle(vsList);
    List->ColumnClickSort(1);
    EXPECT_EQ(List->SortColumn(), -1);
    List->ColumnClickSort(0);
    EXPECT_EQ(List->SortColumn(), 0);
}

TEST_F(ShellListTest, SortFailureRaisesAndLeavesRowsAndCells)
{
    std::vector<String> Names;
    for (int I = 0; I < 1000; ++I) {
        const String N = "f" + IntToStr((I * 7919) % 1000) + ".bin";
        File(N, String(size_t(I % 37), 'x'));
        Names.push_back(N);
    }
    List->SetPath(Root);
    List->SetViewStyle(vsReport);
    const std::vector<String> Before = Rows();
    std::filesystem::remove(std::string(Root + "/f500.bin"));
    EXPECT_THROW(List->ColumnClickSort(1), EInvalidPath);
    EXPECT_EQ(Rows(), Before);
    EXPECT_EQ(ShellSortCells.ListedFolder, nullptr);
    EXPECT_FALSE(ShellSortCells.ColumnSort);
}

TEST_F(ShellListTest, LinkedComboBoxAndListFollowEachOther)
{
    Dir("a/b");
    auto* Combo = Make<TbsSkinShellComboBox>(Rect(0, 0, 300, 22));
    Pump();
    List->SetShellComboBox(Combo);
    EXPECT_EQ(Combo->ShellListView(), List);
    int Changes = 0;
    List->OnPathChanged = [&](TObject*) { ++Changes; };
    List->SetPath(Root + "/a/b");
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Combo->Path(), Root + "/a/b");
    // a choice in the box: the item of folder "a" in the chain shown
    int IndexA = -1;
    for (int I = 0; I < Combo->ItemsEx()->Count(); ++I)
        if (Combo->ItemFolder(I) && Combo->ItemFolder(I)->PathName() == Root + "/a") IndexA = I;
    ASSERT_GE(IndexA, 0);
    Combo->SetItemIndex(IndexA);
    Combo->Change();
    EXPECT_EQ(List->Path(), Root + "/a");
    EXPECT_EQ(Combo->Path(), Root + "/a");
    EXPECT_EQ(Changes, 2);
    delete Combo;
    EXPECT_EQ(List->ShellComboBox(), nullptr);
}

}  // namespace

namespace {

using shelltest::TRecordingRunner;

TEST_F(ShellListTest, RowsNameTheShellsSmallAndLargeIcons)
{
    File("a.mp4");
    Dir("d");
    List->SetPath(Root);
    // the shell's icons are the window's own lists, not the control's image components
    EXPECT_EQ(List->SmallImages(), nullptr);
    EXPECT_EQ(List->LargeImages(), nullptr);
    auto Own = [&](int Kind) {
        return reinterpret_cast<HIMAGELIST>(SendMessage(List->Handle(), LVM_GETIMAGELIST, WPARAM(Kind), 0));
    };
    ASSERT_NE(Own(LVSIL_SMALL), nullptr);
    ASSERT_NE(Own(LVSIL_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(Own(LVSIL_SMALL)), int(siCount));
    int W = 0, H = 0;
    ImageList_GetIconSize(Own(LVSIL_SMALL), &W, &H);
    EXPECT_EQ(W, 16);
    ImageList_GetIconSize(Own(LVSIL_NORMAL), &W, &H);
    EXPECT_EQ(W, 32);
    EXPECT_EQ(List->Items()->Item(0)->ImageIndex(), int(siFolder));
    EXPECT_EQ(List->Items()->Item(1)->ImageIndex(), int(siVideo));
}

// The item menu offers "open" and "rename"; "open" goes to the desktop's opener with the
// item's path, "rename" to the list's label editing, each followed by the completion.
TEST_F(ShellListTest, ItemMenuOpensAndRenamesThroughTheCommandHandler)
{
    std::vector<std::vector<String>> Seen;
    auto Old = SetCommandRunner(std::make_unique<TRecordingRunner>(&Seen));
    File("a.mp4");
    List->SetPath(Root);
    List->SetItemIndex(0);
    ShowItemContextMenu(List, List->SelectedFolder(), 5, 5);
    TbsSkinPopupMenu* Menu = nullptr;
    for (int I = 0; I < List->ComponentCount(); ++I)
        if (auto* M = dynamic_cast<TbsSkinPopupMenu*>(List->Components(I))) Menu = M;
    ASSERT_NE(Menu, nullptr);
    ASSERT_EQ(Menu->Items()->Count(), 2);
    EXPECT_EQ(ItemContextVerbs(), (std::vector<String>{"open", "rename"}));
    Menu->Items()->Items(0)->Click();
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], (std::vector<String>{"xdg-open", Root + "/a.mp4"}));
    EXPECT_FALSE(List->IsEditing());
    Menu->Items()->Items(1)->Click();
    EXPECT_TRUE(List->IsEditing());
    EXPECT_EQ(Seen.size(), 1u);
    // a second menu reuses the first
    ShowItemContextMenu(List, List->SelectedFolder(), -1, -1);
    int Menus = 0;
    for (int I = 0; I < List->ComponentCount(); ++I) Menus += dynamic_cast<TbsSkinPopupMenu*>(List->Components(I)) != nullptr;
    EXPECT_EQ(Menus, 1);
    // the properties of an item (Alt+Enter) start nothing
    InvokeItemVerb(List->SelectedFolder(), "properties");
    EXPECT_EQ(Seen.size(), 1u);
    SetCommandRunner(std::move(Old));
}

} // namespace
