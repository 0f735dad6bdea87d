// Finding files: folder searches (order, attributes, dot-files, 64-bit sizes, times,
// errors), the attributes of one path and why they cannot be read, folders, masks.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/shell/FileSearch.h"
#include "platform/system/Paths.h"

namespace {

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = TempFolder() + "vc_files_" + IntToStr(getpid());
        std::system(("rm -rf '" + Dir + "'").c_str());
        ForceDirectories(Dir + "/sub");
        ForceDirectories(Dir + "/.cache");
        for (const char* F : {"b.MP4", "A.avi", "c", ".hidden", "视频.AVI"}) Touch(Dir + "/" + F, 3);
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }
    static void Touch(const String& Path, size_t Bytes)
    {
        std::ofstream F(Path, std::ios::binary);
        F << String(Bytes, 'x');
    }
    std::vector<String> Names(const String& Mask, int Attr, int* Result = nullptr)
    {
        std::vector<String> N;
        TSearchRec F;
        int R = FindFirst(Dir + "/" + Mask, Attr, F);
        if (Result) *Result = R;
        while (R == 0) {
            N.push_back(F.Name);
            R = FindNext(F);
        }
        EXPECT_EQ(R, int(N.empty() ? R : ERROR_NO_MORE_FILES));
        FindClose(F);
        return N;
    }
    String Dir;
};

}  // namespace

TEST_F(FileSearch, EntriesComeSortedByNameAndFilteredByKind)
{
    using V = std::vector<String>;
    // plain files always; hidden ones, folders (with "." and "..") only when asked for
    EXPECT_EQ(Names("*", 0), (V{"A.avi", "b.MP4", "c", "视频.AVI"}));
    EXPECT_EQ(Names("*.*", faHidden), (V{".hidden", "A.avi", "b.MP4", "c", "视频.AVI"}));
    EXPECT_EQ(Names("*", faDirectory), (V{".", "..", "A.avi", "b.MP4", "c", "sub", "视频.AVI"}));
    EXPECT_EQ(Names("*", faAnyFile), (V{".", "..", ".cache", ".hidden", "A.avi", "b.MP4", "c", "sub", "视频.AVI"}));
    // masks ignore case
    EXPECT_EQ(Names("*.avi", faAnyFile), (V{"A.avi", "视频.AVI"}));
    EXPECT_EQ(Names("?", faAnyFile), (V{".", "c"}));
    // the root has no "." and ".."
    TSearchRec F;
    ASSERT_EQ(FindFirst("/*", faDirectory, F), 0);
    EXPECT_NE(F.Name, ".");
    FindClose(F);
}

TEST_F(FileSearch, RecordsCarryAttributesSizesAndTimes)
{
    // a sparse file beyond 4 GB: the size needs 64 bits
    String Big = Dir + "/big.bin";
    FILE* B = std::fopen(Big.c_str(), "wb");
    ASSERT_TRUE(B);
    ASSERT_EQ(ftruncate(fileno(B), int64_t(5) << 30), 0);
    std::fclose(B);
    // a known local time with odd seconds: DOS times keep 2-second steps
    struct tm T = {};
    T.tm_year = 2024 - 1900;
    T.tm_mon = 2;
    T.tm_mday = 9;
    T.tm_hour = 13;
    T.tm_min = 45;
    T.tm_sec = 31;
    T.tm_isdst = -1;
    utimbuf U{mktime(&T), mktime(&T)};
    ASSERT_EQ(utime(Big.c_str(), &U), 0);
    symlink("sub", (Dir + "/link").c_str());

    TSearchRec F;
    ASSERT_EQ(FindFirst(Dir + "/big.bin", faAnyFile, F), 0);
    EXPECT_EQ(F.Size, int64_t(5) << 30);
    EXPECT_EQ(F.Attr & (faDirectory | faHidden), 0);
    EXPECT_TRUE(F.Attr & faArchive);
    EXPECT_EQ(F.Time, int((44u << 25) | (3u << 21) | (9u << 16) | (13u << 11) | (45u << 5) | 15u));
    EXPECT_DOUBLE_EQ(F.TimeStamp, EncodeDate(2024, 3, 9) + EncodeTime(13, 45, 31, 0));
    EXPECT_EQ(FindNext(F), int(ERROR_NO_MORE_FILES));
    FindClose(F);
    ASSERT_EQ(FindFirst(Dir + "/link", faAnyFile, F), 0);
    EXPECT_TRUE(F.Attr & faDirectory);
    EXPECT_TRUE(F.Attr & faSymLink);
    EXPECT_EQ(F.Size, 0);
    ASSERT_EQ(FindFirst(Dir + "/.cache", faAnyFile, F), 0);
    EXPECT_EQ(F.Attr & (faDirectory | faHidden), faDirectory | faHidden);
    FindClose(F);
}

TEST_F(FileSearch, FailuresSayWhy)
{
    TSearchRec F;
    EXPECT_EQ(FindFirst(Dir + "/*.mkv", faAnyFile, F), int(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirst(Dir + "/missing/*", faAnyFile, F), int(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(FindFirst(Dir + "/c/*", faAnyFile, F), int(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(FindFirst(Dir + "/", faAnyFile, F), int(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindNext(F), int(ERROR_NO_MORE_FILES));

    struct TCase { String Path; DWORD Attr; DWORD Error; };
    const TCase Cases[] = {
        {Dir + "/A.avi", FILE_ATTRIBUTE_ARCHIVE, 0},
        {Dir + "/sub", FILE_ATTRIBUTE_DIRECTORY, 0},
        {Dir + "/sub/", FILE_ATTRIBUTE_DIRECTORY, 0},
        {Dir + "/.hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0},
        {Dir + "/nothing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {Dir + "/no/thing.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {Dir + "/c/x", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
        {"", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
        {Dir + "/" + String(300, 'n'), INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
    };
    for (const TCase& C : Cases) {
        DWORD E = 12345;
        EXPECT_EQ(GetFileAttributes(C.Path, &E), C.Attr) << C.Path;
        EXPECT_EQ(E, C.Error) << C.Path;
    }
    EXPECT_EQ(FileGetAttr(Dir + "/sub"), faDirectory);
    EXPECT_EQ(FileGetAttr(Dir + "/nothing"), -1);
}

TEST_F(FileSearch, FoldersAreMadeOneAtATime)
{
    EXPECT_TRUE(CreateDir(Dir + "/new"));
    EXPECT_TRUE(DirectoryExists(Dir + "/new"));
    EXPECT_FALSE(CreateDir(Dir + "/new"));        // exists
    EXPECT_FALSE(CreateDir(Dir + "/a/b"));        // no parent
    EXPECT_FALSE(CreateDir(""));
    EXPECT_NO_THROW(MkDir(Dir + "/新文件夹"));
    EXPECT_THROW(MkDir(Dir + "/x/y"), EInOutError);
    EXPECT_THROW(MkDir(""), EInOutError);
}

TEST(FileMasks, MatchIgnoringCase)
{
    struct TCase { const char* Name; const char* Mask; bool Match; };
    const TCase Cases[] = {
        {"clip.avi", "*.AVI", true},         {"CLIP.AVI", "*.avi", true},
        {"clip.avi.txt", "*.AVI", false},    {"视频.Mp4", "*.MP4", true},
        {"/home/u/Clip.Avi", "*.avi", true}, {"a.b", "*.AVI;*.B", true},
        {"a.b", "*.AVI; *.c;", false},       {"noext", "*.*", true},
        {"ab", "a?", true},                  {"abc", "a?", false},
        {"b5", "[a-c]5", true},              {"d5", "[!a-c]5", true},
        {"B5", "[a-c]5", true},              {"a", "", false},
        {"a", ";;", false},                  {"a.rmvb", "*.RM", false},
    };
    for (const TCase& C : Cases) EXPECT_EQ(MatchesMask(C.Name, C.Mask), C.Match) << C.Name << " / " << C.Mask;
    EXPECT_THROW(MatchesMask("a", "[ab"), EMaskException);
}
