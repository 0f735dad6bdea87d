// Ini files: case, defaults, numbers, sections, erasing, layout kept, atomic writes.
#include "platform/system/IniFiles.h"

#include <csignal>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

namespace {

class IniTest : public testing::Test {
protected:
    void SetUp() override
    {
        FDir = testing::TempDir() + "ini_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        ForceDirectories(FDir);
        FName = FDir + "option.ini";
    }
    void TearDown() override
    {
        std::error_code E;
        std::filesystem::remove_all(FDir, E);
    }
    void Put(const String& AText) { WriteFileAtomic(FName, AText); }
    String Get() { return ReadFileToString(FName); }
    // the files of the folder besides the lock file
    int FilesInDir()
    {
        int n = 0;
        DIR* d = opendir(FDir.c_str());
        // the writers' lock file stays beside the file
        while (dirent* e = readdir(d))
            n += String(e->d_name) != "." && String(e->d_name) != ".." && String(e->d_name) != "option.ini.lock";
        closedir(d);
        return n;
    }
    String FDir, FName;
};

const char* const Sample =
    "; settings\n"
    "[OutPath]\n"
    "Path=/home/u/输出\n"
    "\n"
    "[Options]\n"
    "Threads = 4 \n"
    "Hex=0x1F\n"
    "Dollar=$10\n"
    "Bad=abc\n"
    "On=1\n"
    "Off=0\n"
    "Rate=29.97\n"
    "Empty=\n"
    "\n"
    "[Empty]\n"
    "; nothing but a comment\n";

TEST_F(IniTest, ReadsIgnoringCaseWithDefaultsForMissingKeys)
{
    Put(Sample);
    for (int kind = 0; kind < 2; ++kind) {
        std::unique_ptr<TCustomIniFile> ini;
        if (kind == 0) ini = std::make_unique<TIniFile>(FName);
        else ini = std::make_unique<TMemIniFile>(FName);
        EXPECT_EQ("/home/u/输出", ini->ReadString("outpath", "PATH", "Error"));
        EXPECT_EQ("Error", ini->ReadString("OutPath", "Missing", "Error"));
        EXPECT_EQ("Error", ini->ReadString("NoSection", "Path", "Error"));
        EXPECT_EQ("", ini->ReadString("Options", "Empty", "Error"));
        EXPECT_EQ(4, ini->ReadInteger("OPTIONS", "threads", 1));
        EXPECT_EQ(31, ini->ReadInteger("Options", "Hex", 0));
        EXPECT_EQ(16, ini->ReadInteger("Options", "Dollar", 0));
        EXPECT_EQ(7, ini->ReadInteger("Options", "Bad", 7));
        EXPECT_EQ(7, ini->ReadInteger("Options", "Empty", 7));
        EXPECT_TRUE(ini->ReadBool("Options", "On", false));
        EXPECT_FALSE(ini->ReadBool("Options", "Off", true));
        EXPECT_TRUE(ini->ReadBool("Options", "Missing", true));
        EXPECT_DOUBLE_EQ(29.97, ini->ReadFloat("Options", "Rate", 0));
        EXPECT_TRUE(ini->SectionExists("options"));
        EXPECT_FALSE(ini->SectionExists("Empty"));  // a section with no key
        EXPECT_FALSE(ini->SectionExists("Nope"));
        EXPECT_TRUE(ini->ValueExists("Options", "RATE"));
        TStringList keys;
        ini->ReadSection("Options", &keys);
        EXPECT_EQ("Threads,Hex,Dollar,Bad,On,Off,Rate,Empty", keys.CommaText());
        ini->ReadSections(&keys);
        EXPECT_EQ("OutPath,Options,Empty", keys.CommaText());
        ini->ReadSectionValues("OutPath", &keys);
        EXPECT_EQ("/home/u/输出", keys.Values("path"));
    }
}

TEST_F(IniTest, ToleratesCrLfAndByteOrderMark)
{
    Put("\xEF\xBB\xBF[Skin]\r\nName=默认\r\nIndex=2\r\n");
    TIniFile ini(FName);
    EXPECT_EQ("默认", ini.ReadString("Skin", "Name", ""));
    EXPECT_EQ(2, ini.ReadInteger("skin", "index", 0));
    TMemIniFile mem(FName);
    TStringList sections;
    mem.ReadSections(&sections);
    EXPECT_EQ(1, sections.Count());
}

TEST_F(IniTest, WritesKeepEverythingElseAndAppendNewKeysToTheirSection)
{
    Put(Sample);
    TIniFile ini(FName);
    ini.WriteString("options", "threads", "8");
    ini.WriteInteger("OutPath", "Count", 3);
    ini.WriteBool("SnapShot", "Auto", true);
    String expected = String(Sample);
    expected.replace(expected.find("Threads = 4 "), 12, "Threads=8");
    expected.replace(expected.find("Path=/home/u/输出\n") + 20, 0, "Count=3\n");
    expected += "\n[SnapShot]\nAuto=1\n\n";
    EXPECT_EQ(expected, Get());
}

TEST_F(IniTest, EraseSectionAndDeleteKey)
{
    Put(Sample);
    TIniFile ini(FName);
    ini.EraseSection("OPTIONS");
    ini.DeleteKey("outpath", "path");
    EXPECT_EQ("; settings\n[OutPath]\n\n[Empty]\n; nothing but a comment\n", Get());
    EXPECT_FALSE(ini.SectionExists("OutPath"));
    EXPECT_EQ("d", ini.ReadString("Options", "Rate", "d"));
    ini.DeleteKey("Nope", "x");  // nothing to do, no error
}

TEST_F(IniTest, IniFileSeesTheCurrentFileOnEveryCall)
{
    Put("[A]\nk=1\n");
    TIniFile reader(FName), writer(FName);
    EXPECT_EQ("1", reader.ReadString("A", "k", ""));
    writer.WriteString("A", "k", "2");
    EXPECT_EQ("2", reader.ReadString("A", "k", ""));
    Put("[A]\nk=3\n");  // changed behind its back, same size
    EXPECT_EQ("3", reader.ReadString("A", "k", ""));
    unlink(FName.c_str());
    EXPECT_EQ("gone", reader.ReadString("A", "k", "gone"));
    reader.WriteString("B", "x", "y");
    EXPECT_EQ("[B]\nx=y\n\n", Get());
}

TEST_F(IniTest, MemIniFileWritesOnlyOnUpdateFile)
{
    Put("[A]\nk=1\n");
    TMemIniFile mem(FName);
    mem.WriteString("A", "k", "2");
    mem.WriteString("a", "New", "v");
    EXPECT_EQ("[A]\nk=1\n", Get());
    EXPECT_TRUE(mem.Modified());
    mem.UpdateFile();
    EXPECT_EQ("[A]\nk=2\nNew=v\n", Get());

    TStringList lines;
    mem.GetStrings(&lines);
    EXPECT_EQ("[A],k=2,New=v", lines.CommaText());
    lines.SetText("[X]\ny=z\n");
    mem.SetStrings(&lines);
    EXPECT_EQ("z", mem.ReadString("x", "Y", ""));
    EXPECT_EQ("", mem.ReadString("A", "k", ""));

    TMemIniFile fresh("");
    fresh.WriteString("B", "x", "1");
    fresh.WriteString("A", "y", "2");
    fresh.WriteString("b", "z", "3");
    fresh.GetStrings(&lines);
    // Sections in the order first written, each followed by an empty line.
    EXPECT_EQ("[B]\r\nx=1\r\nz=3\r\n\r\n[A]\r\ny=2\r\n\r\n", lines.Text());

    TMemIniFile noFile("");
    noFile.WriteString("S", "k", "v");
    noFile.UpdateFile();  // nothing to write to, no error
    EXPECT_EQ("v", noFile.ReadString("s", "K", ""));
}

TEST_F(IniTest, BadNamesAndValuesAreRefusedWithoutTouchingTheFile)
{
    Put("[A]\nk=1\n");
    TIniFile ini(FName);
    EXPECT_THROW(ini.WriteString("", "k", "v"), EInvalidArgument);
    EXPECT_THROW(ini.WriteString("A", "", "v"), EInvalidArgument);
    EXPECT_THROW(ini.WriteString("A", "a=b", "v"), EInvalidArgument);
    EXPECT_THROW(ini.WriteString("A]", "k", "v"), EInvalidArgument);
    EXPECT_THROW(ini.WriteString("A", "k", "two\nlines"), EInvalidArgument);
    EXPECT_EQ("[A]\nk=1\n", Get());
}

TEST_F(IniTest, FailedWriteLeavesTheOldFileIntact)
{
    const String old = "[A]\nk=1\n[B]\nother=keep\n";
    Put(old);
    TIniFile ini(FName);
    // Let the process write no file larger than the old one: the write of the
    // temporary file fails part-way, as on a full disk.
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = old.size();
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ini.WriteString("A", "k", String(100, 'x')), EWriteError);
    TMemIniFile mem(FName);
    mem.WriteString("A", "k", String(100, 'y'));
    EXPECT_THROW(mem.UpdateFile(), EWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(old, Get());
    EXPECT_EQ(1, FilesInDir()) << "the temporary file was left behind";
    EXPECT_EQ("1", ini.ReadString("A", "k", ""));
    // The folder vanished: the write fails with an error, nothing is created.
    TIniFile elsewhere(FDir + "missing/option.ini");
    EXPECT_THROW(elsewhere.WriteString("A", "k", "v"), EFCreateError);
}

TEST_F(IniTest, SomethingThatIsNotAFileIsNeitherReadNorReplaced)
{
    ASSERT_EQ(0, mkfifo(FName.c_str(), 0600));  // reading it would block for ever
    TIniFile ini(FName);
    EXPECT_EQ("d", ini.ReadString("A", "k", "d"));
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_THROW(ini.WriteString("A", "x", "y"), EFOpenError);
    EXPECT_THROW(TMemIniFile mem(FName), EFOpenError);
    struct stat st;
    stat(FName.c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    unlink(FName.c_str());
}

TEST_F(IniTest, UnreadableFileIsNeverOverwritten)
{
    Put("[A]\nk=1\n");
    chmod(FName.c_str(), 0);
    if (access(FName.c_str(), R_OK) == 0) GTEST_SKIP() << "running with rights that ignore file modes";
    TIniFile ini(FName);
    EXPECT_EQ("d", ini.ReadString("A", "k", "d"));
    EXPECT_THROW(ini.WriteString("A", "x", "y"), EFOpenError);
    EXPECT_THROW(TMemIniFile mem(FName), EFOpenError);
    chmod(FName.c_str(), 0644);
    EXPECT_EQ("[A]\nk=1\n", Get());
}

TEST_F(IniTest, TwoObjectsWritingOneFileFromTwoThreadsKeepEveryKey)
{
    auto writer = [this](const char* ASection) {
        TIniFile ini(FName);
        for (int i = 0; i < 150; ++i) ini.WriteInteger(ASection, "k" + std::to_string(i), i);
    };
    std::thread a(writer, "A"), b(writer, "B");
    a.join();
    b.join();
    TMemIniFile check(FName);
    for (const char* section : {"A", "B"})
        for (int i = 0; i < 150; ++i)
            EXPECT_EQ(check.ReadInteger(section, "k" + std::to_string(i), -1), i) << section << i;
}

TEST_F(IniTest, TwoProcessesWritingOneFileKeepEveryKey)
{
    std::vector<pid_t> children;
    for (const char* section : {"A", "B"}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TIniFile ini(FName);
            for (int i = 0; i < 150; ++i) ini.WriteInteger(section, "k" + std::to_string(i), i);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TMemIniFile check(FName);
    for (const char* section : {"A", "B"})
        for (int i = 0; i < 150; ++i)
            EXPECT_EQ(check.ReadInteger(section, "k" + std::to_string(i), -1), i) << section << i;
}

TEST_F(IniTest, ManySectionsAreFoundByNameAfterEveryChange)
{
    TMemIniFile ini("");
    for (int i = 0; i < 2000; ++i) ini.WriteString("s" + std::to_string(i), "v", std::to_string(i));
    EXPECT_EQ(ini.ReadString("S1999", "v", ""), "1999");
    ini.EraseSection("s5");
    EXPECT_EQ(ini.ReadString("s5", "v", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("s6", "v", ""), "6");
    ini.WriteString("s5", "v", "back");
    EXPECT_EQ(ini.ReadString("S5", "v", ""), "back");
    TStringList text;
    ini.GetStrings(&text);
    ini.SetStrings(&text);
    EXPECT_EQ(ini.ReadString("s1000", "v", ""), "1000");
}

TEST_F(IniTest, MalformedTextNeverCrashes)
{
    const String inputs[] = {
        "[",       "]",         "=",          "[]\n=\n",        "[A\nk=v\n",        "k=v\n[A]\n",
        "[A]\n==\n", "[A]\n=v\n", String("[A]\nk\0=v\n", 9), "\xFF\xFE\x00[", String(5000, '['),
        "[A]\nk=v=w\n[A]\nk=second\n", "\r\r\n\n[A]\r k = v \r",
    };
    for (const String& in : inputs) {
        Put(in);
        TMemIniFile mem(FName);
        TStringList l;
        mem.ReadSections(&l);
        for (int i = 0; i < l.Count(); ++i) {
            TStringList keys;
            mem.ReadSectionValues(l[i], &keys);
        }
        TIniFile ini(FName);
        ini.ReadString("A", "k", "");
        ini.WriteString("A", "k", "v");
        EXPECT_EQ("v", ini.ReadString("A", "k", ""));
    }
    Put("[A]\nk=v=w\n[A]\nk=second\n");
    TIniFile ini(FName);
    EXPECT_EQ("v=w", ini.ReadString("A", "k", ""));  // the first section and key win
}

}  // namespace
