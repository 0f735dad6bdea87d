// Desktop services: the command runner (argument vectors, no shell), opening with
// xdg-open, sound and power-off through a recording runner, and the shell namespace
// on a scratch tree.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"
#include "platform/shell/Runner.h"
#include "platform/shell/ShellAPI.h"
#include "platform/shell/ShlObj.h"
#include "platform/system/Paths.h"

namespace {

using TArgv = std::vector<String>;

// Records every command; Start/Run answer from a table by program name.
class TRecordingRunner : public TCommandRunner {
public:
    std::vector<TArgv>* Calls;
    std::vector<String> Missing;   // programs that "cannot be started"
    std::vector<String> Failing;   // programs that start and exit with 1
    explicit TRecordingRunner(std::vector<TArgv>* ACalls) : Calls(ACalls) {}
    bool Start(const TArgv& A) override
    {
        Calls->push_back(A);
        return std::find(Missing.begin(), Missing.end(), A[0]) == Missing.end();
    }
    int Run(const TArgv& A) override
    {
        Calls->push_back(A);
        if (std::find(Missing.begin(), Missing.end(), A[0]) != Missing.end()) return -1;
        return std::find(Failing.begin(), Failing.end(), A[0]) != Failing.end() ? 1 : 0;
    }
};

class ShellServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto R = std::make_unique<TRecordingRunner>(&Calls);
        Runner = R.get();
        SetCommandRunner(std::move(R));
    }
    void TearDown() override { SetCommandRunner(nullptr); }
    std::vector<TArgv> Calls;
    TRecordingRunner* Runner = nullptr;
};

String MakeScratch(const char* Name)
{
    String Dir = TempFolder() + "vc_ctrls_" + Name + "_" + IntToStr(getpid());
    std::system(("rm -rf '" + Dir + "'").c_str());
    ForceDirectories(Dir);
    return Dir;
}

void Touch(const String& Path, size_t Bytes = 0)
{
    std::ofstream F(Path, std::ios::binary);
    F << String(Bytes, 'x');
}

// Permissions do not stop the superuser: checks of unreadable and read-only items run
// in a child process that is not (as "nobody" when the tests run as root).  The child
// answers by its exit status and names the first check that failed.
constexpr uid_t Nobody = 65534;
bool AsUnprivileged(const std::function<const char*()>& Check)
{
    std::fflush(nullptr);
    pid_t P = fork();
    if (P == 0) {
        if (geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0)) _exit(2);
        const char* Failed = Check();
        if (Failed) std::fprintf(stderr, "failed in the unprivileged child: %s\n", Failed);
        _exit(Failed ? 1 : 0);
    }
    int Status = 0;
    waitpid(P, &Status, 0);
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
// Makes Path belong to the user AsUnprivileged runs as.
void GiveAway(const String& Path)
{
    if (geteuid() == 0) EXPECT_EQ(chown(Path.c_str(), Nobody, Nobody), 0) << Path;
}

}  // namespace

TEST(CommandRunner, InertUntilTheProgramInstallsTheSystemRunner)
{
    SetCommandRunner(nullptr);
    EXPECT_TRUE(CommandRunnerInert());
    EXPECT_FALSE(CommandRunner().Start({"true"}));
    EXPECT_EQ(CommandRunner().Run({"true"}), -1);
    // everything that reaches the outside goes through it, so nothing happens
    EXPECT_LE(ShellExecute(nullptr, "open", "/tmp"), 32);
    EXPECT_FALSE(ExitWindowsEx(13, 0));
}

TEST(CommandRunner, SystemRunnerPassesArgumentsLiterallyWithoutAShell)
{
    auto R = MakeSystemRunner();
    EXPECT_EQ(R->Run({"true"}), 0);
    EXPECT_EQ(R->Run({"false"}), 1);
    EXPECT_EQ(R->Run({"vc-no-such-program-here"}), -1);
    EXPECT_FALSE(R->Start({"vc-no-such-program-here"}));
    EXPECT_FALSE(R->Start({}));
    String Dir = MakeScratch("runner");
    // shell syntax in an argument stays part of the file name
    String Name = Dir + "/a;b $(touch x) `y` | z";
    EXPECT_EQ(R->Run({"touch", Name}), 0);
    EXPECT_TRUE(FileExists(Name));
    EXPECT_FALSE(FileExists(Dir + "/x"));
    EXPECT_TRUE(R->Start({"true"}));
    std::system(("rm -rf '" + Dir + "'").c_str());
}

TEST_F(ShellServices, ShellExecuteOpensWithXdgOpen)
{
    struct TCase { const char* Verb; String File; intptr_t Result; bool Called; };
    const TCase Cases[] = {
        {"open", "/home/user/视频", 33, true},
        {nullptr, "http://www.example.com/?a=1&b=2", 33, true},
        {"OPEN", "mailto:someone@example.com", 33, true},
        {"print", "/tmp/a.txt", SE_ERR_NOASSOC, false},
        {"open", "", SE_ERR_FNF, false},
    };
    for (const TCase& C : Cases) {
        Calls.clear();
        EXPECT_EQ(ShellExecute(nullptr, C.Verb, C.File), C.Result) << C.File;
        if (C.Called) {
            EXPECT_EQ(Calls, (std::vector<TArgv>{{"xdg-open", C.File}}));
        } else {
            EXPECT_TRUE(Calls.empty());
        }
    }
    Calls.clear();
    Runner->Missing = {"xdg-open"};
    EXPECT_EQ(ShellExecute(nullptr, "open", "/tmp"), SE_ERR_NOASSOC);
}

TEST_F(ShellServices, ShellExecuteExOpensTheItemOfAList)
{
    LPITEMIDLIST L = nullptr;
    PShellFolder Desk;
    SHGetDesktopFolder(Desk);
    ASSERT_EQ(Desk->ParseDisplayName(nullptr, nullptr, "/tmp", nullptr, &L, nullptr), S_OK);
    SHELLEXECUTEINFO Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.lpIDList = L;
    Info.nShow = SW_SHOW;
    EXPECT_TRUE(ShellExecuteEx(&Info));
    EXPECT_EQ(Calls, (std::vector<TArgv>{{"xdg-open", "/tmp"}}));
    ILFree(L);
    // Computer has no path: nothing to open
    Calls.clear();
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &L);
    Info.lpIDList = L;
    EXPECT_FALSE(ShellExecuteEx(&Info));
    EXPECT_TRUE(Calls.empty());
    ILFree(L);
}

TEST_F(ShellServices, PlaySoundTriesThePlayersAndSkipsMissingFiles)
{
    String Dir = MakeScratch("sound");
    String Wav = Dir + "/ring001.wav";
    EXPECT_FALSE(PlaySound(Wav, nullptr, SND_ASYNC | SND_FILENAME));
    EXPECT_TRUE(Calls.empty());
    Touch(Wav, 44);
    EXPECT_TRUE(PlaySound(Wav, nullptr, SND_ASYNC | SND_FILENAME));
    EXPECT_EQ(Calls, (std::vector<TArgv>{{"paplay", Wav}}));
    Calls.clear();
    Runner->Missing = {"paplay", "pw-play"};
    EXPECT_TRUE(PlaySound(Wav, nullptr, SND_ASYNC | SND_FILENAME));
    EXPECT_EQ(Calls, (std::vector<TArgv>{{"paplay", Wav}, {"pw-play", Wav}, {"aplay", "-q", Wav}}));
    Runner->Missing = {"paplay", "pw-play", "aplay"};
    EXPECT_FALSE(PlaySound(Wav, nullptr, SND_ASYNC | SND_FILENAME));
    std::system(("rm -rf '" + Dir + "'").c_str());
}

TEST_F(ShellServices, PowerOffThroughSystemctlElseLoginctl)
{
    EXPECT_TRUE(ExitWindowsEx(13, 0));
    EXPECT_EQ(Calls, (std::vector<TArgv>{{"systemctl", "poweroff"}}));
    Calls.clear();
    Runner->Failing = {"systemctl"};
    EXPECT_TRUE(ExitWindowsEx(13, 0));
    EXPECT_EQ(Calls, (std::vector<TArgv>{{"systemctl", "poweroff"}, {"loginctl", "poweroff"}}));
    Calls.clear();
    Runner->Missing = {"loginctl"};
    EXPECT_FALSE(ExitWindowsEx(13, 0));  // silent failure
    Calls.clear();
    EXPECT_FALSE(ExitWindowsEx(EWX_LOGOFF, 0));
    EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_TRUE(Calls.empty());
}

// The power-off's preparation: the shutdown privilege of the process's token is known,
// can be enabled and disabled, and nothing else is.
TEST(Privileges, TheShutdownPrivilegeCanBeEnabledAndDisabled)
{
    HANDLE Token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &Token));
    LUID Id;
    ASSERT_TRUE(LookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &Id));
    LUID Unknown;
    EXPECT_FALSE(LookupPrivilegeValue(nullptr, "SeNoSuchPrivilege", &Unknown));
    EXPECT_FALSE(LookupPrivilegeValue("otherhost", SE_SHUTDOWN_NAME, &Unknown));
    TOKEN_PRIVILEGES New, Old;
    New.PrivilegeCount = 1;
    New.Privileges[0] = {Id, SE_PRIVILEGE_ENABLED};
    DWORD Len = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(Token, false, &New, sizeof New, &Old, &Len));
    EXPECT_TRUE(TokenPrivilegeEnabled(Token, Id));
    EXPECT_EQ(Old.PrivilegeCount, 1u);
    EXPECT_EQ(Old.Privileges[0].Attributes, 0u);  // it was off before
    New.Privileges[0].Attributes = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(Token, false, &New, 0, nullptr, nullptr));
    EXPECT_FALSE(TokenPrivilegeEnabled(Token, Id));
    New.Privileges[0].Luid = LUID{12345, 0};
    EXPECT_FALSE(AdjustTokenPrivileges(Token, false, &New, 0, nullptr, nullptr));
    EXPECT_TRUE(CloseHandle(Token));
    EXPECT_FALSE(CloseHandle(Token));
    EXPECT_FALSE(AdjustTokenPrivileges(Token, false, &New, 0, nullptr, nullptr));  // closed
    // a token only for querying cannot be adjusted; only this process has tokens
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &Token));
    New.Privileges[0] = {Id, SE_PRIVILEGE_ENABLED};
    EXPECT_FALSE(AdjustTokenPrivileges(Token, false, &New, 0, nullptr, nullptr));
    EXPECT_TRUE(CloseHandle(Token));
    EXPECT_FALSE(OpenProcessToken(reinterpret_cast<HANDLE>(intptr_t(42)), TOKEN_QUERY, &Token));
}

// ---- the namespace ----------------------------------------------------------------------------

TEST(ShellItemLists, ByteFormatHelpers)
{
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    LPITEMIDLIST Empty = ILFromItems({});
    EXPECT_EQ(ILGetSize(Empty), 2u);
    EXPECT_EQ(ILGetCount(Empty), 0);
    LPITEMIDLIST Two = ILFromItems({"Vcomputer", "P/"});
    EXPECT_EQ(ILGetSize(Two), 2u + 11u + 4u);
    EXPECT_EQ(ILGetCount(Two), 2);
    LPITEMIDLIST J = ILCombine(Two, ILGetNext(ILGetNext(Two)));
    EXPECT_EQ(ILItems(J), (std::vector<String>{"Vcomputer", "P/"}));
    LPITEMIDLIST J2 = ILCombine(nullptr, Two);
    EXPECT_EQ(ILItems(J2), ILItems(Two));
    LPITEMIDLIST C = ILClone(Two);
    EXPECT_EQ(memcmp(C, Two, ILGetSize(Two)), 0);
    for (LPITEMIDLIST L : {Empty, Two, J, J2, C}) ILFree(L);
    IMalloc* M = nullptr;
    ASSERT_EQ(SHGetMalloc(&M), S_OK);
    auto* B = static_cast<uint8_t*>(M->Alloc(10));
    EXPECT_EQ(M->GetSize(B), 10u);
    EXPECT_EQ(B[9], 0);  // zero-filled
    M->Free(B);
}

TEST(ShellItemLists, UserMountsFromTheMountTable)
{
    String Table =
        "proc /proc proc rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sdb1 /media/user/U\\040Disk vfat rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sdc1 /mnt/data ext4 rw 0 0\n"
        "/dev/sdd1 /run/media/user/CAM vfat rw 0 0\n"
        "/dev/sde1 /boot ext4 rw 0 0\n"
        "tmpfs /media tmpfs rw 0 0\n";
    EXPECT_EQ(UserMountsFromTable(Table),
              (std::vector<String>{"/", "/media/user/U Disk", "/mnt/data", "/run/media/user/CAM"}));
    EXPECT_EQ(UserMountsFromTable(""), (std::vector<String>{"/"}));
}

class ShellNamespace : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = MakeScratch("ns");
        for (const char* D : {"home", "home/Desktop", "home/Desktop/sub", "media", "media/usb", "tree", "tree/a_dir",
                              "tree/B_dir", "tree/B_dir/inner", "tree/.hidden_dir"})
            ForceDirectories(Root + "/" + D);
        Touch(Root + "/home/Desktop/note.txt");
        Touch(Root + "/tree/c.txt", 3);
        Touch(Root + "/tree/A.mp4", 7);
        Touch(Root + "/tree/b.MKV");
        Touch(Root + "/tree/.dot");
        symlink("c.txt", (Root + "/tree/link").c_str());
        TShellEnvironment E;
        E.Home = Root + "/home";
        E.Desktop = Root + "/home/Desktop";
        E.Documents = Root + "/home/Documents";  // missing: documents fall back to home
        E.Templates = Root + "/home/Templates";
        E.AppData = Root + "/home";
        E.Mounts = {"/", Root + "/media/usb"};
        E.RemovableRoots = {Root + "/media/"};
        SetShellEnvironment(E);
        SHGetDesktopFolder(Desktop);
    }
    void TearDown() override
    {
        ResetShellEnvironment();
        std::system(("chmod -R u+rwx '" + Root + "' 2>/dev/null; rm -rf '" + Root + "'").c_str());
    }
    LPITEMIDLIST Parse(const String& Path)
    {
        LPITEMIDLIST L = nullptr;
        EXPECT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, Path, nullptr, &L, nullptr), S_OK) << Path;
        return L;
    }
    PShellFolder Bind(const String& Path)
    {
        LPITEMIDLIST L = Parse(Path);
        PShellFolder F;
        EXPECT_EQ(Desktop->BindToObject(L, nullptr, F), S_OK);
        ILFree(L);
        return F;
    }
    String Name(IShellFolder* F, LPCITEMIDLIST L, DWORD Flags)
    {
        STRRET R;
        F->GetDisplayNameOf(L, Flags, &R);
        return StrRetToString(R, L);
    }
    // The names of a folder's items, sorted with CompareIDs.
    std::vector<String> Sorted(IShellFolder* F, DWORD Flags)
    {
        std::unique_ptr<IEnumIDList> E;
        EXPECT_EQ(F->EnumObjects(nullptr, Flags, E), S_OK);
        std::vector<LPITEMIDLIST> Items;
        LPITEMIDLIST L;
        ULONG N;
        while (E->Next(1, &L, &N) == S_OK) Items.push_back(L);
        std::sort(Items.begin(), Items.end(), [&](LPITEMIDLIST A, LPITEMIDLIST B) {
            return HRESULT_CODE_SHORT(F->CompareIDs(0, A, B)) < 0;
        });
        std::vector<String> Names;
        for (LPITEMIDLIST I : Items) {
            Names.push_back(Name(F, I, SHGDN_INFOLDER));
            ILFree(I);
        }
        return Names;
    }
    ULONG Attributes(IShellFolder* F, const String& Item, ULONG Ask)
    {
        LPITEMIDLIST L = ILFromItems({Item});
        LPCITEMIDLIST C = L;
        ULONG A = Ask;
        EXPECT_EQ(F->GetAttributesOf(1, &C, &A), S_OK) << Item;
        ILFree(L);
        return A;
    }
    String Root;
    PShellFolder Desktop;
};

TEST_F(ShellNamespace, DesktopHoldsComputerHomeAndDesktopEntries)
{
    EXPECT_EQ(Sorted(Desktop.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (std::vector<String>{"Computer", "home", "sub", "note.txt"}));
    LPITEMIDLIST L;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &L), S_OK);
    PShellFolder Computer;
    ASSERT_EQ(Desktop->BindToObject(L, nullptr, Computer), S_OK);
    EXPECT_EQ(Name(Desktop.get(), L, SHGDN_FORPARSING), "::{Computer}");
    EXPECT_EQ(Name(Desktop.get(), L, SHGDN_NORMAL), "Computer");
    String P;
    EXPECT_FALSE(SHGetPathFromIDList(L, P));
    ILFree(L);
    EXPECT_EQ(Sorted(Computer.get(), SHCONTF_FOLDERS), (std::vector<String>{"/", "usb"}));
}

TEST_F(ShellNamespace, SpecialFolders)
{
    struct TCase { int Csidl; HRESULT Result; String Path; };
    const TCase Cases[] = {
        {CSIDL_PERSONAL, S_OK, Root + "/home"},  // no documents folder: home
        {CSIDL_DESKTOPDIRECTORY, S_OK, Root + "/home/Desktop"},
        {CSIDL_APPDATA, S_OK, Root + "/home"},
        {CSIDL_TEMPLATES, E_FAIL, ""},  // missing
        {CSIDL_PRINTERS, E_FAIL, ""},
        {CSIDL_BITBUCKET, E_FAIL, ""},
        {CSIDL_CONTROLS, E_FAIL, ""},
    };
    for (const TCase& C : Cases) {
        LPITEMIDLIST L = nullptr;
        EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, C.Csidl, &L), C.Result) << C.Csidl;
        String P;
        if (L) {
            EXPECT_TRUE(SHGetPathFromIDList(L, P));
        }
        EXPECT_EQ(P, C.Path);
        ILFree(L);
    }
    LPITEMIDLIST D;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &D), S_OK);
    EXPECT_EQ(ILGetSize(D), 2u);
    ILFree(D);
}

TEST_F(ShellNamespace, ParsingGoesThroughComputerAndTheDrive)
{
    LPITEMIDLIST L = Parse(Root + "/tree/./B_dir/../c.txt");
    std::vector<String> Items = ILItems(L);
    ASSERT_GE(Items.size(), 3u);
    EXPECT_EQ(Items[0], "Vcomputer");
    EXPECT_EQ(Items[1], "P/");
    EXPECT_EQ(Items.back(), "Fc.txt");
    String P;
    EXPECT_TRUE(SHGetPathFromIDList(L, P));
    EXPECT_EQ(P, Root + "/tree/c.txt");
    EXPECT_EQ(Name(Desktop.get(), L, SHGDN_FORPARSING), Root + "/tree/c.txt");
    EXPECT_EQ(Name(Desktop.get(), L, SHGDN_INFOLDER), "c.txt");
    ILFree(L);
    // a path on a mounted drive starts at that drive
    L = Parse(Root + "/media/usb");
    EXPECT_EQ(ILItems(L), (std::vector<String>{"Vcomputer", "P" + Root + "/media/usb"}));
    ILFree(L);
    // refusals
    LPITEMIDLIST Bad = nullptr;
    EXPECT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, "tree/c.txt", nullptr, &Bad, nullptr), E_INVALIDARG);
    EXPECT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, "", nullptr, &Bad, nullptr), E_INVALIDARG);
    EXPECT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, Root + "/nothing", nullptr, &Bad, nullptr),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Bad, nullptr);
    PShellFolder Tree = Bind(Root + "/tree");
    EXPECT_EQ(Tree->ParseDisplayName(nullptr, nullptr, Root, nullptr, &Bad, nullptr), E_INVALIDARG);
}

TEST_F(ShellNamespace, EnumerationFiltersAndOrdersFoldersFirst)
{
    PShellFolder Tree = Bind(Root + "/tree");
    EXPECT_EQ(Sorted(Tree.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (std::vector<String>{"a_dir", "B_dir", "A.mp4", "b.MKV", "c.txt", "link"}));
    EXPECT_EQ(Sorted(Tree.get(), SHCONTF_FOLDERS), (std::vector<String>{"a_dir", "B_dir"}));
    EXPECT_EQ(Sorted(Tree.get(), SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
              (std::vector<String>{".dot", "A.mp4", "b.MKV", "c.txt", "link"}));
    EXPECT_EQ(Sorted(Tree.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN),
              (std::vector<String>{".hidden_dir", "a_dir", "B_dir"}));
}

TEST_F(ShellNamespace, OrderIsConsistentForNamesThatDifferOnlyInCase)
{
    PShellFolder Tree = Bind(Root + "/tree");
    const String Names[] = {"Fx", "FX", "Fx2", "Dx", "Fé", "FÉ", "Fa", "DA", "Da", "Vcomputer", "P/", "P/a/Zed",
                            "P/b/zed", "P/b/Zed"};
    for (const String& A : Names)
        for (const String& B : Names) {
            LPITEMIDLIST LA = ILFromItems({A}), LB = ILFromItems({B});
            int AB = HRESULT_CODE_SHORT(Tree->CompareIDs(0, LA, LB));
            int BA = HRESULT_CODE_SHORT(Tree->CompareIDs(0, LB, LA));
            EXPECT_EQ(AB, -BA) << A << " " << B;
            EXPECT_EQ(AB == 0, A == B) << A << " " << B;
            EXPECT_TRUE(AB == -1 || AB == 0 || AB == 1);
            // the items' sort keys order them as the comparison does
            const int Keys = ShellItemSortKey(Tree, LA).compare(ShellItemSortKey(Tree, LB));
            EXPECT_EQ(Keys < 0 ? -1 : Keys > 0 ? 1 : 0, AB) << A << " " << B;
            ILFree(LA);
            ILFree(LB);
        }
    // longer lists after their own prefix
    LPITEMIDLIST One = ILFromItems({"Dx"}), Two = ILFromItems({"Dx", "Fa"});
    EXPECT_EQ(HRESULT_CODE_SHORT(Tree->CompareIDs(0, One, Two)), -1);
    ILFree(One);
    ILFree(Two);
}

TEST_F(ShellNamespace, Attributes)
{
    PShellFolder Tree = Bind(Root + "/tree");
    ULONG Dir = Attributes(Tree.get(), "DB_dir", SFGAO_HASSUBFOLDER);
    EXPECT_TRUE(Dir & SFGAO_FOLDER);
    EXPECT_TRUE(Dir & SFGAO_HASSUBFOLDER);
    EXPECT_TRUE(Dir & SFGAO_FILESYSTEM);
    EXPECT_TRUE(Dir & SFGAO_CANRENAME);
    EXPECT_FALSE(Attributes(Tree.get(), "Da_dir", SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER);
    // the costly scan only when asked for
    EXPECT_FALSE(Attributes(Tree.get(), "DB_dir", 0) & SFGAO_HASSUBFOLDER);
    ULONG File = Attributes(Tree.get(), "Fc.txt", 0);
    EXPECT_FALSE(File & SFGAO_FOLDER);
    EXPECT_TRUE(File & SFGAO_FILESYSTEM);
    EXPECT_FALSE(File & SFGAO_LINK);
    EXPECT_TRUE(Attributes(Tree.get(), "Flink", 0) & SFGAO_LINK);
    EXPECT_TRUE(Attributes(Tree.get(), "F.dot", 0) & SFGAO_HIDDEN);
    LPITEMIDLIST Usb = Parse(Root + "/media/usb");
    LPCITEMIDLIST C = Usb;
    ULONG A = 0;
    EXPECT_EQ(Desktop->GetAttributesOf(1, &C, &A), S_OK);
    EXPECT_TRUE(A & SFGAO_REMOVABLE);
    EXPECT_FALSE(A & SFGAO_CANRENAME);  // a drive is not renamed
    ILFree(Usb);
    // read-only and renaming by permissions (the superuser may write anything: the
    // checks run as another user)
    ForceDirectories(Root + "/tree/mine");
    Touch(Root + "/tree/mine/w.txt");
    Touch(Root + "/tree/mine/r.txt");
    chmod((Root + "/tree/mine/r.txt").c_str(), 0444);
    for (const char* P : {"/tree/mine", "/tree/mine/w.txt", "/tree/mine/r.txt"}) GiveAway(Root + P);
    EXPECT_TRUE(AsUnprivileged([&]() -> const char* {
        PShellFolder Mine = Bind(Root + "/tree/mine");
        if (Attributes(Mine.get(), "Fw.txt", 0) & SFGAO_READONLY) return "a writable file is read-only";
        if (!(Attributes(Mine.get(), "Fr.txt", 0) & SFGAO_READONLY)) return "a mode 0444 file is writable";
        if (!(Attributes(Mine.get(), "Fr.txt", 0) & SFGAO_CANRENAME)) return "no renaming in a writable folder";
        TShellFindData D;
        int E = 0;
        if (!ShellGetFindData(Root + "/tree/mine/r.txt", D, E) || !(D.Attributes & FILE_ATTRIBUTE_READONLY))
            return "the find data of a read-only file";
        if (geteuid() != 0 && getuid() == Nobody) {
            // the scratch tree's own folders belong to the superuser: nothing renames there
            if (Attributes(Tree.get(), "Fc.txt", 0) & SFGAO_CANRENAME) return "renaming in a foreign folder";
        }
        return nullptr;
    }));
    // two items: what they share
    LPITEMIDLIST L1 = ILFromItems({"DB_dir"}), L2 = ILFromItems({"Fc.txt"});
    LPCITEMIDLIST Both[] = {L1, L2};
    A = 0;
    EXPECT_EQ(Tree->GetAttributesOf(2, Both, &A), S_OK);
    EXPECT_FALSE(A & SFGAO_FOLDER);
    EXPECT_TRUE(A & SFGAO_FILESYSTEM);
    ILFree(L1);
    ILFree(L2);
}

TEST_F(ShellNamespace, RenameRefusesAnExistingTargetAndBadNames)
{
    PShellFolder Tree = Bind(Root + "/tree");
    LPITEMIDLIST L = ILFromItems({"Fc.txt"});
    LPITEMIDLIST New = nullptr;
    EXPECT_EQ(Tree->SetNameOf(nullptr, L, "A.mp4", 0, &New), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(New, nullptr);
    EXPECT_TRUE(FileExists(Root + "/tree/c.txt"));
    for (const char* Bad : {"", ".", "..", "x/y"})
        EXPECT_EQ(Tree->SetNameOf(nullptr, L, Bad, 0, &New), HRESULT_FROM_WIN32(ERROR_INVALID_NAME)) << Bad;
    EXPECT_EQ(Tree->SetNameOf(nullptr, L, "新名字.txt", 0, &New), S_OK);
    EXPECT_EQ(ILItems(New), (std::vector<String>{"F新名字.txt"}));
    EXPECT_TRUE(FileExists(Root + "/tree/新名字.txt"));
    EXPECT_FALSE(FileExists(Root + "/tree/c.txt"));
    ILFree(New);
    // a missing item
    EXPECT_FALSE(SUCCEEDED(Tree->SetNameOf(nullptr, L, "d.txt", 0, &New)));
    ILFree(L);
    // folders keep their kind
    L = ILFromItems({"Da_dir"});
    EXPECT_EQ(Tree->SetNameOf(nullptr, L, "z_dir", 0, &New), S_OK);
    EXPECT_EQ(ILItems(New), (std::vector<String>{"Dz_dir"}));
    ILFree(New);
    ILFree(L);
}

TEST_F(ShellNamespace, UnreadableOrVanishedFoldersGiveNoItems)
{
    PShellFolder Gone = Bind(Root + "/tree/a_dir");
    rmdir((Root + "/tree/a_dir").c_str());
    std::unique_ptr<IEnumIDList> E;
    EXPECT_TRUE(FAILED(Gone->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, E)));
    // a folder nobody may read (checked as another user: the superuser reads anything)
    PShellFolder Locked = Bind(Root + "/tree/B_dir");
    Touch(Root + "/tree/B_dir/inside.txt");
    chmod((Root + "/tree/B_dir").c_str(), 0);
    EXPECT_TRUE(AsUnprivileged([&]() -> const char* {
        std::unique_ptr<IEnumIDList> L;
        if (Locked->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, L) != E_ACCESSDENIED)
            return "an unreadable folder was listed";
        // its parent still lists it, as a folder without known subfolders
        PShellFolder Tree = Bind(Root + "/tree");
        std::vector<String> Names = Sorted(Tree.get(), SHCONTF_FOLDERS);
        if (std::find(Names.begin(), Names.end(), "B_dir") == Names.end()) return "the locked folder is gone";
        if (Attributes(Tree.get(), "DB_dir", SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER)
            return "subfolders seen in an unreadable folder";
        TShellFindData D;
        int Error = 0;
        if (ShellGetFindData(Root + "/tree/B_dir/inside.txt", D, Error) || Error != EACCES)
            return "the find data of a file behind a locked folder";
        LPITEMIDLIST Behind = nullptr;
        if (SUCCEEDED(Desktop->ParseDisplayName(nullptr, nullptr, Root + "/tree/B_dir/inside.txt", nullptr, &Behind,
                                                nullptr)))
            return "a path behind a locked folder parsed";
        return nullptr;
    }));
    // binding to a file is refused
    LPITEMIDLIST F = Parse(Root + "/tree/A.mp4");
    PShellFolder X;
    EXPECT_FALSE(SUCCEEDED(Desktop->BindToObject(F, nullptr, X)));
    ILFree(F);
}

TEST_F(ShellNamespace, IconsAndDetails)
{
    struct TCase { String Path; bool Open; int Icon; };
    const TCase Cases[] = {
        {Root + "/tree/A.mp4", false, siVideo}, {Root + "/tree/b.MKV", false, siVideo},
        {Root + "/tree/c.txt", false, siText},  {Root + "/tree/.dot", false, siFile},
        {Root + "/tree/a_dir", false, siFolder}, {Root + "/tree/a_dir", true, siFolderOpen},
        {Root + "/home", false, siHome},       {Root + "/media/usb", false, siDrive},
    };
    for (const TCase& C : Cases) {
        LPITEMIDLIST L = Parse(C.Path);
        SHFILEINFO Info;
        UINT Flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (C.Open ? SHGFI_OPENICON : 0);
        EXPECT_NE(SHGetFileInfo("", 0, &Info, Flags, L), 0u);
        // home is reached through Computer here, so it is an ordinary folder then
        if (C.Icon != siHome) {
            EXPECT_EQ(Info.iIcon, C.Icon) << C.Path;
        }
        ILFree(L);
    }
    SHFILEINFO Info;
    LPITEMIDLIST Home = ILFromItems({"P" + Root + "/home"});
    SHGetFileInfo("", 0, &Info, SHGFI_PIDL | SHGFI_SYSICONINDEX, Home);
    EXPECT_EQ(Info.iIcon, siHome);
    ILFree(Home);
    LPITEMIDLIST D;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &D);
    SHGetFileInfo("", 0, &Info, SHGFI_PIDL | SHGFI_SYSICONINDEX, D);
    EXPECT_EQ(Info.iIcon, siDesktop);
    ILFree(D);

    TShellFindData Data;
    int Error = 0;
    ASSERT_TRUE(ShellGetFindData(Root + "/tree/A.mp4", Data, Error));
    EXPECT_EQ(Data.Size, 7);
    EXPECT_EQ(Data.Attributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_GT(Data.Modified, 40000.0);
    double Seconds = Data.Modified * 86400.0;
    EXPECT_NEAR(std::fmod(std::round(Seconds), 2.0), 0.0, 1e-6);  // 2-second resolution
    ASSERT_TRUE(ShellGetFindData(Root + "/tree/a_dir", Data, Error));
    EXPECT_EQ(Data.Size, -1);
    EXPECT_GT(Data.Modified, 40000.0);  // a folder has its own time too
    EXPECT_TRUE(Data.Attributes & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(ShellGetFindData(Root + "/tree/.dot", Data, Error));
    EXPECT_TRUE(Data.Attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(ShellGetFindData(Root + "/tree/none", Data, Error));
    EXPECT_EQ(Error, ENOENT);
    // sizes beyond 32 bits (a sparse file)
    String Big = Root + "/tree/big.bin";
    ASSERT_EQ(truncate((Touch(Big), Big.c_str()), int64_t(5) << 30), 0);
    ASSERT_TRUE(ShellGetFindData(Big, Data, Error));
    EXPECT_EQ(Data.Size, int64_t(5) << 30);
}

TEST(ShellImages, OneSystemListPerSizeWithEveryIcon)
{
    for (bool Small : {true, false}) {
        HIMAGELIST L = ShellSystemImageList(Small);
        ASSERT_NE(L, nullptr);
        EXPECT_EQ(L, ShellSystemImageList(Small));  // one list, kept
        int Cx = 0, Cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(L, &Cx, &Cy));
        EXPECT_EQ(Cx, Small ? 16 : 32);
        EXPECT_EQ(Cy, Cx);
        EXPECT_EQ(ImageList_GetImageCount(L), int(siCount));
        // every icon has opaque and transparent pixels, and no two are alike
        for (int I = 0; I < siCount; ++I) {
            PSurface S = ImageList_GetImageSurface(L, I);
            ASSERT_TRUE(S);
            int Opaque = 0, Clear = 0;
            for (int Y = 0; Y < Cy; ++Y)
                for (int X = 0; X < Cx; ++X) (S->GetPixel(X, Y) >> 24 ? Opaque : Clear)++;
            EXPECT_GT(Opaque, Cx * Cy / 5) << I;
            EXPECT_GT(Clear, 0) << I;
            for (int J = 0; J < I; ++J) {
                PSurface T = ImageList_GetImageSurface(L, J);
                bool Same = true;
                for (int Y = 0; Y < Cy && Same; ++Y)
                    for (int X = 0; X < Cx && Same; ++X) Same = S->GetPixel(X, Y) == T->GetPixel(X, Y);
                EXPECT_FALSE(Same) << I << " " << J;
            }
        }
    }
    SHFILEINFO Info;
    LPITEMIDLIST D = ILFromItems({});
    EXPECT_EQ(SHGetFileInfo("", 0, &Info, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON, D),
              uintptr_t(ShellSystemImageList(true)));
    EXPECT_EQ(SHGetFileInfo("", 0, &Info, SHGFI_PIDL | SHGFI_SYSICONINDEX, D), uintptr_t(ShellSystemImageList(false)));
    ILFree(D);
}

// The program's named pictures come through the resource lookup that InitForms installs:
// bitmaps on their key colour (the bottom-left pixel), PNG pictures with alpha, each
// one drawn (not empty) and each one different.
TEST(ShellResources, EveryNamedPictureLoadsAndIsDrawn)
{
    InstallShellResources();
    std::vector<String> Names = ShellResourceNames();
    EXPECT_EQ(Names.size(), 13u);
    std::vector<std::vector<TColor>> Seen;
    for (const String& N : Names) {
        std::vector<TColor> Px;
        int Drawn = 0;
        if (EndsText("_PNG", N)) {
            std::vector<uint8_t> Data;
            ASSERT_TRUE(FindResourceData(N, Data)) << N;
            TPngImage P;
            TMemoryStream Ms;
            Ms.WriteBuffer(Data.data(), int64_t(Data.size()));
            Ms.SetPosition(0);
            P.LoadFromStream(&Ms);
            ASSERT_EQ(P.Width(), 16);
            ASSERT_EQ(P.Height(), 16);
            EXPECT_EQ(P.TransparencyMode(), ptmPartial) << N;
            EXPECT_EQ(P.AlphaScanline(0)[0], 0) << N << ": the corner is clear";
            for (int Y = 0; Y < 16; ++Y)
                for (int X = 0; X < 16; ++X) {
                    Drawn += P.AlphaScanline(Y)[X] == 255;
                    Px.push_back(P.Pixels(X, Y));
                }
        } else {
            TBitmap B;
            B.LoadFromResourceName(0, N);
            ASSERT_EQ(B.Width(), 16) << N;
            ASSERT_EQ(B.Height(), 16) << N;
            TColor K = B.Canvas()->Pixels(0, 15);
            EXPECT_EQ(K, clFuchsia) << N;
            for (int Y = 0; Y < 16; ++Y)
                for (int X = 0; X < 16; ++X) {
                    Drawn += B.Canvas()->Pixels(X, Y) != K;
                    Px.push_back(B.Canvas()->Pixels(X, Y));
                }
        }
        EXPECT_GT(Drawn, 30) << N;
        EXPECT_EQ(std::count(Seen.begin(), Seen.end(), Px), 0) << N << " looks like another picture";
        Seen.push_back(Px);
    }
    std::vector<uint8_t> None;
    EXPECT_FALSE(FindResourceData("BS_NO_SUCH_PICTURE", None));
    EXPECT_THROW(TBitmap().LoadFromResourceName(0, "BS_NO_SUCH_PICTURE"), Exception);
}
