// The shell folder model over the platform's namespace on a scratch tree: item lists,
// levels, names, roots, attributes, column texts and renaming.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "platform/system/Paths.h"
#include "skin/shell/bsSkinShellCtrls.h"

namespace {

// A list of the given one-byte-kind items ("Da", "Fb" ...).
LPITEMIDLIST Items(const std::vector<String>& I) { return ILFromItems(I); }

String Scratch()
{
    String Dir = TempFolder() + "vc_shell_model_" + IntToStr(getpid());
    std::system(("rm -rf '" + Dir + "'").c_str());
    ForceDirectories(Dir);
    return Dir;
}

void Touch(const String& Path) { std::ofstream(Path) << "x"; }

LPITEMIDLIST Parse(const String& Path)
{
    LPITEMIDLIST L = nullptr;
    GetDesktopInterface()->ParseDisplayName(nullptr, nullptr, Path, nullptr, &L, nullptr);
    return L;
}

// A folder whose names are scripted, for the name rules.
class TScriptedFolder : public IShellFolder {
public:
    std::vector<String> Names;
    std::vector<DWORD> Asked;
    HRESULT ParseDisplayName(HWND, void*, const String&, ULONG*, LPITEMIDLIST*, ULONG*) override { return E_FAIL; }
    HRESULT EnumObjects(HWND, DWORD, std::unique_ptr<IEnumIDList>&) override { return E_FAIL; }
    HRESULT BindToObject(LPCITEMIDLIST, void*, PShellFolder&) override { return E_FAIL; }
    HRESULT CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return 0; }
    HRESULT GetAttributesOf(UINT, const LPCITEMIDLIST*, ULONG*) override { return E_FAIL; }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST, DWORD Flags, STRRET* Name) override
    {
        size_t I = Asked.size();
        Asked.push_back(Flags);
        Name->uType = STRRET_CSTR;
        std::strncpy(Name->cStr, I < Names.size() ? Names[I].c_str() : "", MAX_PATH - 1);
        return S_OK;
    }
    HRESULT SetNameOf(HWND, LPCITEMIDLIST, const String&, DWORD, LPITEMIDLIST*) override { return E_FAIL; }
};

class ShellModel : public ::testing::Test {
protected:
    void SetUp() override { Dir = Scratch(); }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }
    String Dir;
};

}  // namespace

TEST(ShellItemLists, SizesCopiesJoinsAndAncestors)
{
    EXPECT_EQ(ItemListSize(nullptr), 0u);
    LPITEMIDLIST Empty = Items({});
    EXPECT_EQ(ItemListSize(Empty), 2u);
    LPITEMIDLIST Three = Items({"Da", "Dbb", "Fccc"});
    EXPECT_EQ(ItemListCount(Three), 3);
    EXPECT_EQ(ItemListSize(Three), 2u + 4 + 5 + 6);

    for (LPITEMIDLIST First : {LPITEMIDLIST(nullptr), Empty}) {
        LPITEMIDLIST J = ItemListJoin(First, Three);
        EXPECT_EQ(ILItems(J), ILItems(Three));
        EXPECT_EQ(ItemListSize(J), ItemListSize(Three));
        ShellFree(J);
    }
    LPITEMIDLIST J = ItemListJoin(Three, Three);
    EXPECT_EQ(ItemListCount(J), 6);
    ShellFree(J);

    LPITEMIDLIST Last = ItemListLast(Three);
    EXPECT_EQ(ILItems(Last), (std::vector<String>{"Fccc"}));
    ShellFree(Last);
    Last = ItemListLast(Empty);
    EXPECT_EQ(ItemListSize(Last), 2u);
    ShellFree(Last);

    TList* A = ItemListAncestors(Three);
    ASSERT_EQ(A->Count(), 3);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(ItemListCount(static_cast<LPITEMIDLIST>(A->Items(I))), I);
    EXPECT_EQ(ILItems(static_cast<LPITEMIDLIST>(A->Items(2))), (std::vector<String>{"Da", "Dbb"}));
    FreeItemListAncestors(A);
    A = ItemListAncestors(Empty);
    EXPECT_EQ(A->Count(), 0);
    FreeItemListAncestors(A);
    FreeItemListAncestors(nullptr);

    LPITEMIDLIST One = Items({"Da"});
    ItemListStripLast(One);
    EXPECT_EQ(ItemListSize(One), 2u);
    ItemListStripLast(One);  // an empty list stays empty
    EXPECT_EQ(ItemListSize(One), 2u);
    ItemListStripLast(nullptr);
    ItemListStripLast(Three);
    EXPECT_EQ(ILItems(Three), (std::vector<String>{"Da", "Dbb"}));
    for (LPITEMIDLIST L : {Empty, Three, One}) ShellFree(L);

    auto* Fresh = static_cast<uint8_t*>(ShellAlloc(8));
    EXPECT_EQ(Fresh[7], 0);
    ShellFree(Fresh);
}

TEST(ShellNames, StrRetRulesAndClassPaths)
{
    struct TCase { String In, Out; };
    const TCase Cases[] = {{"?1a?b?", "1ab"}, {"?a?b", "?a?b"}, {"?", "?"}, {"a?1", "a?1"}, {"", ""}};
    for (const TCase& C : Cases) {
        STRRET R;
        R.uType = STRRET_CSTR;
        std::strcpy(R.cStr, C.In.c_str());
        EXPECT_EQ(StrRetToText(nullptr, R), C.Out) << C.In;
    }
    // an offset into the item's own bytes (count, kind byte, text)
    LPITEMIDLIST L = ILFromItems({"Fname.txt"});
    STRRET R;
    R.uType = STRRET_OFFSET;
    R.uOffset = 3;
    EXPECT_EQ(StrRetToText(L, R), "name.txt");
    R.uOffset = 200;  // past the item: nothing
    EXPECT_EQ(StrRetToText(L, R), "");
    // a wide text is taken and freed
    R.uType = STRRET_WSTR;
    R.pOleStr = static_cast<char*>(CoTaskMemAlloc(4));
    std::strcpy(R.pOleStr, "视");
    EXPECT_EQ(StrRetToText(L, R), "视");
    EXPECT_EQ(R.pOleStr, nullptr);

    EXPECT_EQ(QueryDisplayName(nullptr, L, 0), "parentfolder = nil");
    auto F = std::make_shared<TScriptedFolder>();
    F->Names = {"::{A}", "::{B}"};
    EXPECT_EQ(QueryDisplayName(F, L, SHGDN_FORPARSING), "::{B}");  // asked once more; the second stands
    EXPECT_EQ(F->Asked, (std::vector<DWORD>{SHGDN_FORPARSING, SHGDN_NORMAL}));
    F->Asked.clear();
    F->Names = {"plain"};
    EXPECT_EQ(QueryDisplayName(F, L, 1), "plain");
    EXPECT_EQ(F->Asked.size(), 1u);
    ILFree(L);
}

TEST(ShellNames, RootTextsAndFlags)
{
    EXPECT_EQ(RootFolderOrdinal("rfDesktop"), 0);
    EXPECT_EQ(RootFolderOrdinal("rfMyComputer"), 1);
    EXPECT_EQ(RootFolderOrdinal("rfTemplates"), 22);
    EXPECT_EQ(RootFolderOrdinal("rfdesktop"), -1);
    EXPECT_EQ(RootFolderOrdinal("/tmp"), -1);
    EXPECT_EQ(RootFolderCSIDL[rfMyComputer], 17);
    EXPECT_EQ(RootFolderCSIDL[rfPersonal], 5);
    EXPECT_EQ(RootFolderCSIDL[rfPrintHood], 27);
    EXPECT_EQ(ContentFlagsOf({}), 0u);
    EXPECT_EQ(ContentFlagsOf({otFolders}), 0x20u);
    EXPECT_EQ(ContentFlagsOf({otFolders, otNonFolders, otHidden}), 0xE0u);
}

TEST_F(ShellModel, LevelsCountTheParentsAncestors)
{
    ASSERT_NE(ShellDesktopFolder, nullptr);
    EXPECT_EQ(ShellDesktopFolder->Level(), 0);
    EXPECT_EQ(ShellDesktopFolder->Parent(), nullptr);
    EXPECT_EQ(ItemListSize(ShellDesktopFolder->AbsoluteID()), 2u);

    LPITEMIDLIST Computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Computer), S_OK);
    PShellFolder CF = BindShellFolder(GetDesktopInterface(), Computer, nullptr);
    ASSERT_TRUE(CF);
    TbsShellFolder A(ShellDesktopFolder, Computer, CF);
    EXPECT_EQ(A.Level(), 0);
    EXPECT_EQ(A.Parent(), ShellDesktopFolder);
    // the children of Computer: the drives
    std::unique_ptr<IEnumIDList> E;
    ASSERT_EQ(CF->EnumObjects(nullptr, SHCONTF_FOLDERS, E), S_OK);
    LPITEMIDLIST Drive = nullptr;
    ULONG N = 0;
    ASSERT_EQ(E->Next(1, &Drive, &N), S_OK);
    TbsShellFolder B(&A, Drive, BindShellFolder(CF, Drive, nullptr));
    EXPECT_EQ(B.Level(), 1);
    LPITEMIDLIST Joined = ItemListJoin(Computer, Drive);
    EXPECT_EQ(ILItems(B.AbsoluteID()), ILItems(Joined));
    ShellFree(Joined);
    TbsShellFolder C(&B, Drive, nullptr);
    EXPECT_EQ(C.Level(), 2);
    // made without a parent: the desktop's child
    TbsShellFolder D(nullptr, Computer, CF);
    EXPECT_EQ(D.Parent(), ShellDesktopFolder);
    EXPECT_EQ(D.Level(), 0);

    LPITEMIDLIST Deep = Parse(Dir);
    ASSERT_NE(Deep, nullptr);
    std::unique_ptr<TbsShellFolder> F(FolderFromAbsoluteList(Deep));
    EXPECT_EQ(F->Level(), 0);
    EXPECT_GT(ItemListCount(F->RelativeID()), 2);
    EXPECT_EQ(F->PathName(), Dir);
    EXPECT_EQ(F->FullObjectName(), Dir);
    EXPECT_EQ(F->DisplayName(), ExtractFileName(Dir));
    EXPECT_TRUE(SameItemLists(F->AbsoluteID(), Deep));
    for (LPITEMIDLIST L : {Computer, Drive, Deep}) ShellFree(L);
}

TEST_F(ShellModel, RootsFromTextsAndTheirFailures)
{
    String Root = "rfMyComputer";
    std::unique_ptr<TbsShellFolder> F(FolderFromRoot(nullptr, "", Root));
    EXPECT_EQ(F->PathName(), "Computer");  // a virtual folder has its label for a name
    EXPECT_TRUE(F->FullObjectName().empty());

    // a path; the old item is freed on success
    String Path = Dir;
    TbsShellFolder* G = FolderFromRoot(F.release(), "rfMyComputer", Path);
    EXPECT_EQ(G->FullObjectName(), Dir);

    struct TCase { String Text, Message; };
    const TCase Bad[] = {{"", "Error setting path: \"\""},
                         {Dir + "/missing", "Error setting path: \"" + Dir + "/missing\""},
                         {"C:", "Error setting path: \"C:\""},
                         {"relative/path", "Error setting path: \"relative/path\""}};
    for (const TCase& C : Bad) {
        String NewRoot = C.Text;
        try {
            FolderFromRoot(G, Dir, NewRoot);
            ADD_FAILURE() << C.Text;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
        EXPECT_EQ(NewRoot, Dir);  // the old root text again
        EXPECT_EQ(G->FullObjectName(), Dir);  // the old item is alive
    }
    delete G;
}

TEST_F(ShellModel, AttributesOfFilesFoldersAndArchives)
{
    ForceDirectories(Dir + "/sub/inner");
    ForceDirectories(Dir + "/pack.zip");
    Touch(Dir + "/a.txt");
    struct TCase { String Name; bool IsFolder, SubFolders; };
    // a folder named like an archive is a folder, browsed like any other
    const TCase Cases[] = {{"sub", true, true}, {"pack.zip", true, false}, {"a.txt", false, false}};
    for (const TCase& C : Cases) {
        LPITEMIDLIST L = Parse(Dir + "/" + C.Name);
        ASSERT_NE(L, nullptr) << C.Name;
        std::unique_ptr<TbsShellFolder> F(FolderFromAbsoluteList(L));
        EXPECT_EQ(F->IsFolder(), C.IsFolder) << C.Name;
        EXPECT_EQ(F->SubFolders(), C.SubFolders) << C.Name;
        EXPECT_TRUE(F->Properties().Contains(fpFileSystem)) << C.Name;
        EXPECT_GE(F->ImageIndex(false), 0);
        ShellFree(L);
    }
    // a zip folder still is a folder to the shell
    LPITEMIDLIST Z = Parse(Dir + "/pack.zip");
    EXPECT_TRUE(QueryIsFolder(GetDesktopInterface(), Z));
    ShellFree(Z);
    // a folder with items, an empty one
    LPITEMIDLIST S = Parse(Dir + "/sub"), I = Parse(Dir + "/sub/inner");
    EXPECT_TRUE(FolderHasItems(BindShellFolder(GetDesktopInterface(), S, nullptr), SHCONTF_FOLDERS));
    EXPECT_FALSE(FolderHasItems(BindShellFolder(GetDesktopInterface(), I, nullptr), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    EXPECT_FALSE(FolderHasItems(nullptr, SHCONTF_FOLDERS));
    ShellFree(S);
    ShellFree(I);
}

TEST_F(ShellModel, RenameJoinsTheParentsListAndKeepsTheItemOnFailure)
{
    Touch(Dir + "/a.txt");
    Touch(Dir + "/taken.txt");
    LPITEMIDLIST DL = Parse(Dir), FL = Parse(Dir + "/a.txt");
    std::unique_ptr<TbsShellFolder> Folder(FolderFromAbsoluteList(DL));
    LPITEMIDLIST Rel = ItemListLast(FL);
    TbsShellFolder Item(Folder.get(), Rel, nullptr);
    EXPECT_TRUE(Item.Capabilities().Contains(fcCanRename));

    try {
        Item.Rename("taken.txt");
        ADD_FAILURE();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Rename to taken.txt failed");
    }
    EXPECT_EQ(Item.FullObjectName(), Dir + "/a.txt");

    EXPECT_TRUE(Item.Rename("b.txt"));
    EXPECT_TRUE(FileExists(Dir + "/b.txt"));
    EXPECT_FALSE(FileExists(Dir + "/a.txt"));
    LPITEMIDLIST Want = ItemListJoin(Folder->AbsoluteID(), Item.RelativeID());
    EXPECT_EQ(ILItems(Item.AbsoluteID()), ILItems(Want));
    EXPECT_EQ(Item.FullObjectName(), Dir + "/b.txt");
    EXPECT_EQ(Item.DisplayName(), "b.txt");
    for (LPITEMIDLIST L : {DL, FL, Rel, Want}) ShellFree(L);

    // the desktop's virtual children cannot be renamed
    LPITEMIDLIST Computer = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Computer);
    TbsShellFolder C(ShellDesktopFolder, Computer, nullptr);
    EXPECT_FALSE(C.Rename("x"));
    ShellFree(Computer);
}

TEST_F(ShellModel, ColumnTextsComeFromTheFindData)
{
    Touch(Dir + "/clip.mp4");
    LPITEMIDLIST DL = Parse(Dir), FL = Parse(Dir + "/clip.mp4");
    std::unique_ptr<TbsShellFolder> Folder(FolderFromAbsoluteList(DL));
    LPITEMIDLIST Rel = ItemListLast(FL);
    TbsShellFolder Item(Folder.get(), Rel, nullptr);
    try {
        Item.ColumnDetail(1);
        ADD_FAILURE();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "clip.mp4: Missing call to LoadColumnDetails");
    }
    // the namespace offers no detail interfaces: the file-system road
    EXPECT_FALSE(Folder->ShellFolder2());
    EXPECT_FALSE(Folder->ShellDetails());
    Item.LoadColumnDetails(Folder.get(), nullptr, 4);
    ASSERT_EQ(Item.DetailCount(), 4);
    EXPECT_EQ(Item.ColumnDetail(1), "1");
    EXPECT_EQ(Item.ColumnDetail(2), ".mp4");
    EXPECT_EQ(Item.ColumnDetail(3).size(), 19u);
    EXPECT_EQ(Item.ColumnDetail(4), IntToStr(int64_t(FILE_ATTRIBUTE_ARCHIVE)));
    EXPECT_THROW(Item.ColumnDetail(5), EListError);
    // fewer columns asked for: nothing is read again
    std::remove((Dir + "/clip.mp4").c_str());
    Item.LoadColumnDetails(Folder.get(), nullptr, 2);
    EXPECT_EQ(Item.DetailCount(), 4);
    // more: read again, and a missing file fails with the error
    try {
        Item.LoadColumnDetails(Folder.get(), nullptr, 6);
        ADD_FAILURE();
    } catch (const EInvalidPath& E) {
        EXPECT_EQ(E.Message(), "Unable to retrieve folder details for \"clip.mp4\". Error code $2");
    }
    EXPECT_EQ(Item.DetailCount(), 0);
    for (LPITEMIDLIST L : {DL, FL, Rel}) ShellFree(L);

    TShellFindData Big;
    Big.FileName = "movie.mkv";
    Big.Size = int64_t(5) << 30;
    EXPECT_EQ(FindDataSize(Big), 5368709120);
    EXPECT_EQ(FindDataDetail(Big, 1), "5368709120");
    EXPECT_EQ(FindDataDetail(Big, 9), "");
    TShellFindData Folder2;
    Folder2.IsFolder = true;
    EXPECT_EQ(FindDataSize(Folder2), -1);
}

TEST_F(ShellModel, AFolderHasAnEmptySizeAndItsOwnTime)
{
    // a folder changed at 2020-05-06 07:08:10 local time
    const String Sub = Dir + "/sub";
    ASSERT_EQ(mkdir(Sub.c_str(), 0755), 0);
    struct tm Lt {};
    Lt.tm_year = 120;
    Lt.tm_mon = 4;
    Lt.tm_mday = 6;
    Lt.tm_hour = 7;
    Lt.tm_min = 8;
    Lt.tm_sec = 10;
    Lt.tm_isdst = -1;
    struct timeval Times[2] = {{mktime(&Lt), 0}, {mktime(&Lt), 0}};
    ASSERT_EQ(utimes(Sub.c_str(), Times), 0);
    LPITEMIDLIST DL = Parse(Dir), SL = Parse(Sub);
    std::unique_ptr<TbsShellFolder> Folder(FolderFromAbsoluteList(DL));
    LPITEMIDLIST Rel = ItemListLast(SL);
    TbsShellFolder Item(Folder.get(), Rel, nullptr);
    Item.LoadColumnDetails(Folder.get(), nullptr, 4);
    ASSERT_EQ(Item.DetailCount(), 4);
    EXPECT_EQ(Item.ColumnDetail(1), "");
    EXPECT_EQ(Item.ColumnDetail(3), "2020-05-06 07:08:10");
    for (LPITEMIDLIST L : {DL, SL, Rel}) ShellFree(L);
    rmdir(Sub.c_str());
}

TEST_F(ShellModel, ContextMenusNeedAMenuObject)
{
    // no item, and an item whose folder offers no context menu: nothing happens
    ShowItemContextMenu(nullptr, nullptr, 0, 0);
    InvokeItemVerb(nullptr, "properties");
    LPITEMIDLIST DL = Parse(Dir);
    std::unique_ptr<TbsShellFolder> F(FolderFromAbsoluteList(DL));
    ShowItemContextMenu(nullptr, F.get(), 1, 1);
    InvokeItemVerb(F.get(), "properties");
    ShellFree(DL);
}
