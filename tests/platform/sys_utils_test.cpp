// Dates, UTF-8, file names, folders, ticks, random numbers, assertions and paths.
#include "platform/system/Classes.h"
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>
#include "test_files.h"

namespace {

TEST(DateTime, EncodeDecodeAndFormat)
{
    TDateTime d = EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 42);
    EXPECT_EQ(45351.0, std::floor(d));
    EXPECT_EQ(25569.0, EncodeDate(1970, 1, 1));
    int y, m, dd, h, n, s, ms;
    DecodeDate(d, y, m, dd);
    DecodeTime(d, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{2024, 2, 29, 13, 5, 9, 42}), (std::vector<int>{y, m, dd, h, n, s, ms}));
    struct Case {
        const char* Fmt;
        const char* Expected;
    };
    const Case cases[] = {
        {"hhnnss", "130509"},
        {"yyyy-mm-dd hh:nn:ss", "2024-02-29 13:05:09"},
        {"yy/m/d h:n:s.zzz", "24/2/29 13:5:9.042"},
        {"hh:mm", "13:05"},  // "mm" after an hour is minutes
        {"ddd mmm", "Thu Feb"},
        {"h:nn am/pm", "1:05 PM"},
        {"'yyyy' yyyy", "yyyy 2024"},
        {"\"快照\"yyyymmdd", "快照20240229"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.Expected, FormatDateTime(c.Fmt, d)) << c.Fmt;
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_EQ(std::floor(now), Date());
}

TEST(DateTime, TimeZoneBiasIgnoresDaylightSaving)
{
    const char* old = std::getenv("TZ");
    String saved = old ? old : "";
    struct Case {
        const char* Zone;
        int Bias;
    };
    for (const Case& c : {Case{"Asia/Shanghai", -480}, Case{"UTC", 0}, Case{"America/New_York", 300},
                          Case{"Europe/Berlin", -60}}) {
        setenv("TZ", c.Zone, 1);
        if (access((String("/usr/share/zoneinfo/") + c.Zone).c_str(), R_OK) != 0) continue;
        EXPECT_EQ(c.Bias, TimeZoneBias()) << c.Zone;
    }
    if (old) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
}

TEST(Utf8, CountsIndexesAndConverts)
{
    const String s = "a中b😀c";
    EXPECT_EQ(5, Utf8Length(s));
    EXPECT_EQ(4u, Utf8ByteOffset(s, 2));
    EXPECT_EQ(s.size(), Utf8ByteOffset(s, 99));
    EXPECT_EQ("中b", Utf8Copy(s, 2, 2));
    EXPECT_EQ("😀c", Utf8Copy(s, 4, 10));
    EXPECT_EQ("", Utf8Copy(s, 9, 1));
    EXPECT_EQ("", Utf8Copy(s, 1, 0));
    std::u16string u = Utf8ToUtf16(s);
    EXPECT_EQ(6u, u.size());  // the emoji is a surrogate pair
    EXPECT_EQ(s, Utf16ToUtf8(u));
    EXPECT_EQ(U"a中b😀c", Utf8ToUtf32(s));
    EXPECT_EQ(s, Utf32ToUtf8(U"a中b😀c"));
    // Invalid input: each bad byte is one U+FFFD; lone surrogates become U+FFFD.
    EXPECT_EQ(3, Utf8Length("\xFF" "a\xC0"));
    EXPECT_EQ(u"\uFFFD\uFFFDa", Utf8ToUtf16("\xE4\xB8" "a"));
    EXPECT_EQ("\xEF\xBF\xBD", Utf16ToUtf8(std::u16string(1, char16_t(0xD800))));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));  // overlong
    EXPECT_TRUE(IsValidUtf8(s));
}

TEST(Files, NamePartsAndFolders)
{
    struct Case {
        const char* Name;
        const char* Path;
        const char* File;
        const char* Ext;
        const char* Changed;
    };
    const Case cases[] = {
        {"/a/b/c.txt", "/a/b/", "c.txt", ".txt", "/a/b/c.ini"},
        {"c", "", "c", "", "c.ini"},
        {"/a.b/c", "/a.b/", "c", "", "/a.b/c.ini"},
        {"/a/b.tar.gz", "/a/", "b.tar.gz", ".gz", "/a/b.tar.ini"},
        {"/a/b/", "/a/b/", "", "", "/a/b/.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Path, ExtractFilePath(c.Name));
        EXPECT_EQ(c.File, ExtractFileName(c.Name));
        EXPECT_EQ(c.Ext, ExtractFileExt(c.Name));
        EXPECT_EQ(c.Changed, ChangeFileExt(c.Name, ".ini"));
    }
    EXPECT_EQ("/a/b", ExtractFileDir("/a/b/c"));
    EXPECT_EQ("/a/", IncludeTrailingPathDelimiter("/a"));
    EXPECT_EQ("/a/", IncludeTrailingPathDelimiter("/a/"));
    EXPECT_EQ("/a", ExcludeTrailingPathDelimiter("/a/"));

    const vctest::TScratch scratch("files_");
    String root = scratch.Path + "/";
    String deep = root + "输出/x/y/";
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));  // already there
    EXPECT_FALSE(FileExists(deep));
    WriteFileAtomic(deep + "f", "x");
    EXPECT_TRUE(FileExists(deep + "f"));
    EXPECT_FALSE(DirectoryExists(deep + "f"));
    EXPECT_FALSE(ForceDirectories(deep + "f/g"));  // a file is in the way
    EXPECT_THROW(ForceDirectories(""), EInOutError);
}

TEST(Misc, TicksSleepRandomAndAssert)
{
    uint64_t t0 = GetTickCount64();
    Sleep(2);
    EXPECT_GE(GetTickCount64(), t0 + 2);

    SetRandSeed(1234);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(Random(100));
    SetRandSeed(1234);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(first[i], Random(100));
    for (int i = 0; i < 1000; ++i) {
        int r = Random(7);
        ASSERT_TRUE(r >= 0 && r < 7);
        double f = Random();
        ASSERT_TRUE(f >= 0 && f < 1);
    }
    EXPECT_EQ(0, Random(0));

    Assert(true, "fine");
    try {
        Assert(1 + 1 == 3, "Arithmetic");
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_NE(String::npos, e.Message().find("Arithmetic (")) << e.Message();
        EXPECT_NE(String::npos, e.Message().find("sys_utils_test.cpp, line ")) << e.Message();
    }
    EXPECT_THROW(Abort(), EAbort);
    EXPECT_EQ("Cannot add while working.", Exception("Cannot %s while working.", "add").Message());
    EXPECT_EQ("x 5", EInOutError::CreateFmt("x %d", 5).Message());
    EXPECT_EQ(28, EInOutError(28, "disk full").ErrorCode());
}

TEST(Paths, ProgramHomeAndConfigFolders)
{
    String folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ('/', folder.back());
    EXPECT_TRUE(FileExists(ProgramFileName()));
    EXPECT_EQ(folder, ExtractFilePath(ProgramFileName()));
    EXPECT_EQ("platform_tests", ProgramName());
    SetProgramFolder("/tmp/elsewhere");
    EXPECT_EQ("/tmp/elsewhere/", ProgramFolder());
    SetProgramFolder("");
    EXPECT_EQ(folder, ProgramFolder());

    const char* oldHome = std::getenv("HOME");
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    String savedHome = oldHome ? oldHome : "", savedXdg = oldXdg ? oldXdg : "";
    setenv("HOME", "/home/someone", 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ("/home/someone/", HomeFolder());
    EXPECT_EQ("/home/someone/.config/", XdgConfigFolder());
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ("/home/someone/.config/", XdgConfigFolder());
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ("/cfg/", XdgConfigFolder());
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
    else unsetenv("HOME");
    if (oldXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace

// Comparisons in the user's locale: case folded for every script, a consistent order.
TEST(Locale, CompareTextIgnoresCaseBeyondAscii)
{
    EXPECT_EQ(AnsiCompareText("ÉCOLE", "école"), 0);
    EXPECT_TRUE(AnsiSameText("Straße", "STRAßE"));
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_GT(AnsiCompareText("banana", "Apple"), 0);
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
    EXPECT_EQ(AnsiCompareStr("视频", "视频"), 0);
    const String Names[] = {"b", "B", "a", "é", "É", "z", "视频", ""};
    for (const String& X : Names)
        for (const String& Y : Names) EXPECT_EQ(AnsiCompareText(X, Y), -AnsiCompareText(Y, X)) << X << " " << Y;
    char Sep = TimeSeparator();
    EXPECT_TRUE(Sep == ':' || Sep == '.') << Sep;
}

// The sort key of a text orders as AnsiCompareText does, ties included.
TEST(Locale, TextSortKeysOrderAsTheComparison)
{
    const String Names[] = {"b", "B", "a", "ab", "a b", "a-b", "é", "É", "e", "ÉCOLE", "école",
                            "z", "Z10", "z9", "视频", "视", "", "clip100.dat", "Clip100.DAT", "clip10.dat"};
    auto Sign = [](int V) { return V < 0 ? -1 : V > 0 ? 1 : 0; };
    for (const String& X : Names)
        for (const String& Y : Names)
            EXPECT_EQ(Sign(AnsiTextSortKey(X).compare(AnsiTextSortKey(Y))), AnsiCompareText(X, Y)) << X << " " << Y;
}
