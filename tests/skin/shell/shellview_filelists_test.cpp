// The folder list, file list and filter box on a temporary folder tree, and the path
// helpers they share: shortening, splitting typed paths, following links.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/shell/FileSearch.h"
#include "skin/shell/bsSkinShellViews.h"
#include "controls/skinctl_support.h"
#include "test_files.h"

using namespace skinctl;

namespace {

// A fresh folder tree under /tmp; the current directory is put back afterwards.
class FileListsTest : public SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Saved = bsGetCurrentDir();
        Root = vctest::ScratchDir("shellview");
        for (const char* D : {"gamma", "alpha", "beta", ".hidden", "视频", "视频/深"}) MkDir(Root + "/" + D);
        for (const char* F : {"a.avi", "b.MP4", "c.txt"}) File(Root + "/" + F);
    }
    void TearDown() override
    {
        (void)!chdir(Saved.c_str());
        std::error_code E;
        std::filesystem::remove_all(Root, E);
        SkinCtlTest::TearDown();
    }
    static void File(const String& P) { std::ofstream(P) << "x"; }
    static std::vector<String> Texts(TStrings* S)
    {
        std::vector<String> R;
        for (int I = 0; I < S->Count(); ++I) R.push_back(S->Strings(I));
        return R;
    }
    String Saved, Root;
};

TEST(ShellPaths, JoinCountAndCut)
{
    EXPECT_EQ(JoinPathName("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPathName("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPathName("/", "b"), "/b");
    EXPECT_EQ(BackslashCount("/a/b/c"), 3);
    EXPECT_EQ(BackslashCount("abc"), 0);
    struct {
        const char* In;
        const char* Out;
    } Cuts[] = {{"/", ""},
                {"/a/b/c/", "/.../b/c/"},
                {"/.../b/c/", "/.../c/"},
                {"/.../c/", "/.../"},
                {".../", ""},
                {"a/b/", ".../b/"},
                {"a/", ".../"}};
    for (auto& C : Cuts) EXPECT_EQ(CutFirstFolder(C.In), C.Out) << C.In;
}

TEST_F(FileListsTest, FitPathDropsFoldersOneByOneAndKeepsTheName)
{
    TBitmap B;
    B.SetSize(10, 10);
    TCanvas* C = B.Canvas();
    const String P = "/Program Files/Common/Tools/file.txt";
    EXPECT_EQ(FitPathToWidth(P, C, C->TextWidth(P)), P);
    EXPECT_EQ(FitPathToWidth(P, C, 100000), P);
    for (const char* Step : {"/.../Common/Tools/file.txt", "/.../Tools/file.txt", "/.../file.txt", ".../file.txt", "file.txt"})
        EXPECT_EQ(FitPathToWidth(P, C, C->TextWidth(Step)), Step);
    EXPECT_EQ(FitPathToWidth(P, C, 0), "file.txt");
    EXPECT_TRUE(IsExistingFolder(Root));
    EXPECT_FALSE(IsExistingFolder(Root + "/a.avi"));
    EXPECT_FALSE(IsExistingFolder(Root + "/none"));
}

TEST_F(FileListsTest, SplitTypedPathTakesFoldersAndKeepsFilesAndMasks)
{
    bsChDir(Root);
    struct {
        String In, Dir, File;
    } Cases[] = {
        {"[" + Root + "/alpha]", Root + "/alpha", ""},
        {Root + "/alpha", Root + "/alpha", ""},
        {"alpha", Root + "/alpha", ""},
        {"*.avi", Root, "*.avi"},
        {Root + "/*.avi", Root, "*.avi"},
        {"a.avi", Root, "a.avi"},
        {Root + "/视频/深", Root + "/视频/深", ""},
        {"/", "/", ""},
    };
    for (auto& C : Cases) {
        String D, F;
        SplitTypedPath(C.In, D, F);
        EXPECT_EQ(D, C.Dir) << C.In;
        EXPECT_EQ(F, C.File) << C.In;
        EXPECT_EQ(bsGetCurrentDir(), Root) << "current directory moved by " << C.In;
    }
    String D, F;
    EXPECT_THROW(SplitTypedPath(Root + "/missing/x", D, F), EInOutError);
    EXPECT_THROW(SplitTypedPath("missing", D, F), EInOutError);
    EXPECT_EQ(bsGetCurrentDir(), Root);
}

TEST_F(FileListsTest, DirectoryListShowsTheWayDownAndSortedSubfolders)
{
    bsChDir(Root);
    auto* D = Make<TbsSkinDirectoryListBox>(Rect(0, 0, 200, 250));
    Pump();
    EXPECT_EQ(D->Directory(), Root);
    const int Depth = BackslashCount(Root); // "/", then each folder on the way
    auto T = Texts(D->Items());
    ASSERT_EQ(int(T.size()), Depth + 1 + 4);
    EXPECT_EQ(T[0], "/");
    EXPECT_EQ(D->Items()->Objects(0), D->OpenedBMP());
    EXPECT_EQ(D->Items()->Objects(Depth), D->CurrentBMP());
    EXPECT_EQ(D->ItemIndex(), Depth);
    EXPECT_EQ(std::vector<String>(T.begin() + Depth + 1, T.end()), (std::vector<String>{"alpha", "beta", "gamma", "视频"}));
    EXPECT_EQ(D->Items()->Objects(Depth + 1), D->ClosedBMP());
    EXPECT_EQ(D->ItemIndent(Depth + 1), Depth * 4 + 6);
    EXPECT_EQ(D->ItemIndent(1), 6);
    EXPECT_EQ(D->GetItemPath(0), "/");
    EXPECT_EQ(D->GetItemPath(Depth), Root);
    EXPECT_EQ(D->GetItemPath(Depth - 1), ExtractFileDir(Root));
    EXPECT_EQ(D->GetItemPath(Depth + 2), Root + "/beta");
    EXPECT_EQ(D->GetItemPath(99), "");

    // down into a folder with a non-ASCII name and its path items
    D->SetDirectory(Root + "/视频/深");
    EXPECT_EQ(D->Directory(), Root + "/视频/深");
    EXPECT_EQ(D->GetItemPath(Depth + 1), Root + "/视频");
    EXPECT_EQ(D->Items()->Strings(Depth + 1), "视频");
    EXPECT_EQ(D->ItemIndex(), Depth + 2);
    // the root alone is the current folder
    D->SetDirectory("/");
    EXPECT_EQ(D->Items()->Strings(0), "/");
    EXPECT_EQ(D->Items()->Objects(0), D->CurrentBMP());
    EXPECT_EQ(D->ItemIndex(), 0);
}

TEST_F(FileListsTest, ChainFollowsTheFolderAndAMissingFolderRaises)
{
    bsChDir(Root);
    auto* D = Make<TbsSkinDirectoryListBox>(Rect(0, 0, 200, 250));
    auto* F = Make<TbsSkinFileListBox>(Rect(200, 0, 390, 250));
    auto* L = Make<TbsSkinStdLabel>(Rect(0, 260, 100, 280));
    L->SetAutoSize(false);
    Pump();
    D->SetFileList(F);
    D->SetDirLabel(L);
    EXPECT_EQ(F->DirList(), D);
    int Changes = 0;
    D->OnChange = [&](TObject*) { ++Changes; };
    EXPECT_EQ(Texts(F->Items()), (std::vector<String>{"a.avi", "b.MP4", "c.txt"}));
    // choosing a subfolder and opening it
    D->SetItemIndex(D->Items()->IndexOf("alpha"));
    D->OpenCurrent();
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(D->Directory(), Root + "/alpha");
    EXPECT_EQ(F->Directory(), Root + "/alpha");
    EXPECT_EQ(F->Items()->Count(), 0);
    EXPECT_EQ(L->Caption(), FitPathToWidth(Root + "/alpha", L->Canvas(), 100));
    EXPECT_EQ(bsGetCurrentDir(), Root + "/alpha");
    // a folder that cannot be entered raises and leaves the lists where they were
    EXPECT_THROW(D->SetDirectory(Root + "/missing/deeper"), EInOutError);
    EXPECT_EQ(D->Directory(), Root + "/alpha");
    EXPECT_EQ(F->Directory(), Root + "/alpha");
    // a path typed into the file list goes up to the folder list and down again
    F->SetFileName(Root + "/a.avi");
    EXPECT_EQ(D->Directory(), Root);
    EXPECT_EQ(F->Directory(), Root);
    EXPECT_EQ(F->FileName(), Root + "/a.avi");
    // freeing a partner clears the links
    delete D;
    EXPECT_EQ(F->DirList(), nullptr);
}

TEST_F(FileListsTest, FilterChoosesTheMaskOfTheFileList)
{
    bsChDir(Root);
    auto* F = Make<TbsSkinFileListBox>(Rect(0, 0, 190, 250));
    auto* C = Make<TbsSkinFilterComboBox>(Rect(200, 0, 390, 22));
    Pump();
    C->SetFileList(F);
    C->SetFilter("Video (*.avi;*.mp4)|*.avi;*.mp4|All files|*.*");
    EXPECT_EQ(Texts(C->Items()), (std::vector<String>{"Video (*.avi;*.mp4)", "All files"}));
    EXPECT_EQ(C->ItemIndex(), 0);
    EXPECT_EQ(F->Mask(), "*.avi;*.mp4");
    EXPECT_EQ(Texts(F->Items()), (std::vector<String>{"a.avi", "b.MP4"}));
    C->SetItemIndex(1);
    EXPECT_EQ(F->Mask(), "*.*");
    EXPECT_EQ(F->Items()->Count(), 3);
    // folders are listed in brackets when asked for
    F->SetFileType(TbsFileType{bsftNormal, bsftDirectory});
    EXPECT_NE(F->Items()->IndexOf("[alpha]"), -1);
    EXPECT_EQ(F->Items()->IndexOf("[.hidden]"), -1);
    // malformed filters give an empty box whose mask is "*.*"
    for (const char* Bad : {"", "no bar at all"}) {
        C->SetFilter(Bad);
        EXPECT_EQ(C->Items()->Count(), 0) << Bad;
        EXPECT_EQ(C->Mask(), "*.*") << Bad;
    }
    C->SetFilter("Text|*.txt|dangling");
    EXPECT_EQ(C->Items()->Count(), 1);
    EXPECT_EQ(C->Mask(), "*.txt");
    delete F;
    EXPECT_EQ(C->FileList(), nullptr);
}

TEST_F(FileListsTest, TypedNamesSelectFilesOrSetTheMask)
{
    bsChDir(Root);
    auto* F = Make<TbsSkinFileListBox>(Rect(0, 0, 190, 250));
    auto* E = Make<TbsSkinEdit>(Rect(200, 0, 390, 22));
    Pump();
    F->SetFileEdit(E);
    EXPECT_EQ(E->Text(), "*.*");
    int Changes = 0;
    F->OnChange = [&](TObject*) { ++Changes; };
    F->SetFileName("*.txt");
    EXPECT_EQ(F->Mask(), "*.txt");
    EXPECT_EQ(Texts(F->Items()), (std::vector<String>{"c.txt"}));
    F->SetFileName(Root + "/a.avi");
    // not shown by the mask: the mask becomes the name and it is selected
    EXPECT_EQ(F->Mask(), "a.avi");
    EXPECT_EQ(F->SelectedName(), "a.avi");
    EXPECT_EQ(E->Text(), "a.avi");
    EXPECT_GT(Changes, 0);
    F->SetMask("*.*");
    F->SetFileName("b.MP4");
    EXPECT_EQ(F->SelectedName(), "b.MP4");
    EXPECT_EQ(F->FileName(), Root + "/b.MP4");
}

TEST_F(FileListsTest, LongListingShowsTheHourglassUntilItEnds)
{
    for (int I = 0; I < 120; ++I) File(Root + "/alpha/f" + std::to_string(1000 + I));
    Screen->SetCursor(crDefault);
    bsChDir(Root);
    auto* F = Make<TbsSkinFileListBox>(Rect(0, 0, 190, 250));
    Pump();
    TCursor During = crDefault;
    F->OnChange = [&](TObject*) { During = Screen->Cursor(); };
    F->EnterFolder(Root + "/alpha");
    EXPECT_EQ(F->Items()->Count(), 120);
    EXPECT_EQ(During, crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // a short listing leaves the cursor alone
    F->EnterFolder(Root);
    EXPECT_EQ(During, crDefault);
}

} // namespace
