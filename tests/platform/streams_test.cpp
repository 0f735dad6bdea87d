// Streams and whole-file reading and writing.
#include "platform/system/Classes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include "test_files.h"

// Every umask call of this program is counted on its way to the C library's.
static std::atomic<int> UmaskCalls{0};
extern "C" mode_t umask(mode_t AMask) noexcept
{
    static auto* Real = reinterpret_cast<mode_t (*)(mode_t)>(dlsym(RTLD_NEXT, "umask"));
    ++UmaskCalls;
    return Real(AMask);
}

namespace {

// A file in the test's own folder, removed with the folder when the test's process ends.
String Scratch(const String& AName)
{
    static const vctest::TScratch dir("streams_");
    return dir.Path + "/" + AName;
}

TEST(Stream, MemoryStreamReadsWritesAndSeeks)
{
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(5, m.Size());
    EXPECT_EQ(5, m.Position());
    m.Seek(-2, soEnd);
    char buf[8] = {};
    EXPECT_EQ(2, m.Read(buf, 8));
    EXPECT_STREQ("lo", buf);
    m.SetPosition(10);  // past the end: writing there fills the gap with zeros
    m.WriteBuffer("!", 1);
    EXPECT_EQ(11, m.Size());
    EXPECT_EQ(0, static_cast<const char*>(m.Memory())[7]);
    EXPECT_THROW(m.Seek(-1, soBeginning), EStreamError);
    m.SetSize(3);
    EXPECT_EQ(3, m.Position());
}

TEST(Stream, ShortTransfersRaise)
{
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    m.SetPosition(1);
    char buf[4];
    try {
        m.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ("Stream read error", e.Message());
    }
    String name = Scratch("ro.bin");
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("x", 1);
    }
    TFileStream ro(name, fmOpenRead);
    EXPECT_THROW(ro.WriteBuffer("y", 1), EWriteError);
}

TEST(Stream, CopyFromWholeAndPart)
{
    TStringStream src("0123456789");
    TMemoryStream dst;
    src.SetPosition(7);
    EXPECT_EQ(10, dst.CopyFrom(&src, 0));  // 0 = all of it, from the start
    src.SetPosition(2);
    EXPECT_EQ(3, dst.CopyFrom(&src, 3));
    EXPECT_EQ("0123456789234", String(static_cast<const char*>(dst.Memory()), size_t(dst.Size())));
    src.SetPosition(8);
    EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);
}

TEST(Stream, FileStreamModesAndUtf8Names)
{
    String name = Scratch("文件 name.bin");
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("abcdef", 6);
    }
    {
        TFileStream f(name, fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(6, f.Size());
        f.Seek(2, soBeginning);
        f.WriteBuffer("XY", 2);
        f.SetSize(5);
    }
    EXPECT_EQ("abXYe", ReadFileToString(name));
    {
        TFileStream f(name, fmOpenWrite);
        f.Seek(0, soEnd);
        f.WriteBuffer("!", 1);
    }
    EXPECT_EQ("abXYe!", ReadFileToString(name));
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(6, m.Size());
    EXPECT_EQ(0, m.Position());
}

TEST(Stream, OpenFailuresExplainThemselves)
{
    String missing = Scratch("missing.bin");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ("Cannot open file \"" + missing + "\". No such file or directory", e.Message());
    }
    EXPECT_THROW(TFileStream(Scratch(""), fmOpenRead), EFOpenError);  // a folder
    EXPECT_THROW(TFileStream(Scratch("no/such/dir/x"), fmCreate), EFCreateError);
}

TEST(Stream, APipeIsRefusedAtOnceInsteadOfWaitingForAWriter)
{
    String pipe = Scratch("waiting.pipe");
    unlink(pipe.c_str());
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    for (uint16_t mode : {uint16_t(fmOpenRead), uint16_t(fmOpenReadWrite)}) {
        try {
            TFileStream f(pipe, mode);
            ADD_FAILURE() << "a pipe was opened";
        } catch (const EFOpenError& e) {
            EXPECT_NE(e.Message().find("Not a regular file"), String::npos) << e.Message();
        }
    }
    EXPECT_THROW(ReadFileToString(pipe), EFOpenError);
    unlink(pipe.c_str());
}

TEST(AtomicWrite, ReplacesContentKeepsModeAndFollowsLinks)
{
    String name = Scratch("atomic.txt");
    WriteFileAtomic(name, "one");
    chmod(name.c_str(), 0640);
    WriteFileAtomic(name, "two");
    EXPECT_EQ("two", ReadFileToString(name));
    struct stat st;
    stat(name.c_str(), &st);
    EXPECT_EQ(0640u, st.st_mode & 0777);

    String link = Scratch("atomic.link");
    unlink(link.c_str());
    ASSERT_EQ(0, symlink("atomic.txt", link.c_str()));
    WriteFileAtomic(link, "three");
    EXPECT_EQ("three", ReadFileToString(name));
    struct stat lst;
    lstat(link.c_str(), &lst);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
}

TEST(AtomicWrite, FailureLeavesTheOldFile)
{
    String dir = Scratch("target_is_dir");
    ForceDirectories(dir);
    EXPECT_THROW(WriteFileAtomic(dir, "x"), EWriteError);
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_THROW(WriteFileAtomic(Scratch("nodir/x.txt"), "x"), EFCreateError);
}

TEST(AtomicWrite, NewFilesFollowTheUmaskWhichTheWriterNeverChanges)
{
    // changing the umask, even for a moment, would create other threads' files meanwhile
    // with the wrong mode: the writer leaves it alone and lets the kernel apply it
    const mode_t old = umask(027);
    UmaskCalls = 0;
    const String name = Scratch("fresh.txt");
    unlink(name.c_str());
    WriteFileAtomic(name, "x");
    EXPECT_EQ(UmaskCalls, 0);
    struct stat st;
    stat(name.c_str(), &st);
    EXPECT_EQ(0640u, st.st_mode & 0777);
    umask(old);
}

}  // namespace
