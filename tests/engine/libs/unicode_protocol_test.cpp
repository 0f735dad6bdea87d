// File names handed to FFmpeg and the engine's own reader/writer for names the
// locale cannot carry.
#include "support/engine_support.h"

#include "engine/probe/AVProbe.h"
#include "engine/common/FFUtils.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/UnicodeProtocol.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>

using namespace enginetest;

namespace {

// Switches the process locale for the test's duration.
class TLocale {
public:
    explicit TLocale(const char* AName) : FOld(setlocale(LC_ALL, nullptr)) { FOk = setlocale(LC_ALL, AName) != nullptr; }
    ~TLocale() { setlocale(LC_ALL, FOld.c_str()); }
    bool Ok() const { return FOk; }

private:
    String FOld;
    bool FOk;
};

}  // namespace

TEST(UnicodeNames, EveryProtocolFFmpegKnowsPassesThrough)
{
    ASSERT_TRUE(LoadLibraries());
    TLocale Ascii("C");
    for (const char* Name : {"https://host/a.mp4", "rtsp://host/live", "ftp://host/a.avi", "file:/tmp/a.avi",
                             "concat:/tmp/a.ts|/tmp/b.ts", "rtmp://host/app", "pipe:0"})
        EXPECT_EQ(FileNameToURL(Name), Name) << Name;
    // A name that only looks like one stays a file.
    EXPECT_EQ(FileNameToURL("nonsense:a.avi"), "file:nonsense:a.avi");
    // The probe opens such names.
    TAVProbe P(nullptr);
    EXPECT_TRUE(P.LoadFile("file:" + Media("grey.avi"))) << P.LastErrMsg();
    EXPECT_TRUE(P.LoadFile("concat:" + Media("grey.avi") + "|" + Media("grey.avi"))) << P.LastErrMsg();
}

TEST(UnicodeNames, WhichNamesNeedTheEnginesOwnReader)
{
    TLocale Ascii("C");
    const struct {
        const char* Name;
        bool Needs;
        const char* URL;
    } Cases[] = {
        {"/tmp/clip.avi", false, "/tmp/clip.avi"},
        {"clip.avi", false, "clip.avi"},
        {"/tmp/测试.avi", true, "unicode:utf8:/tmp/测试.avi"},
        {"udp:x", false, "udp:x"},
        {"stream:1:a", false, "stream:1:a"},
        {"http://host/a.mp4", false, "http://host/a.mp4"},
        // No protocol is taken from a relative name with a colon, nor from an absolute path.
        {"a:b.avi", false, "file:a:b.avi"},
        {"C:/video/a.avi", false, "file:C:/video/a.avi"},
        {"/tmp/a:b.avi", false, "/tmp/a:b.avi"},
        {"dir/a:b.avi", false, "dir/a:b.avi"},
        // The protocol names compare with case.
        {"UDP:x", false, "file:UDP:x"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(NeedsUnicodeProtocol(C.Name), C.Needs) << C.Name;
        EXPECT_EQ(FileNameToURL(C.Name), C.URL) << C.Name;
        EXPECT_EQ(DecodeURL(FileNameToURL(C.Name)), C.Name) << C.Name;
    }
}

TEST(UnicodeNames, AUtf8LocaleCarriesEveryName)
{
    TLocale Utf8("C.UTF-8");
    ASSERT_TRUE(Utf8.Ok());
    EXPECT_FALSE(NeedsUnicodeProtocol("/tmp/测试.avi"));
    EXPECT_EQ(FileNameToURL("/tmp/测试.avi"), "/tmp/测试.avi");
    // Bytes that are no UTF-8 at all cannot be carried as text.
    EXPECT_TRUE(NeedsUnicodeProtocol("/tmp/\xff\xfe.avi"));
}

TEST(UnicodeNames, UrlForms)
{
    EXPECT_FALSE(IsUnicodeURL("unicode:utf8:"));
    EXPECT_TRUE(IsUnicodeURL("unicode:utf8:a"));
    EXPECT_FALSE(IsUnicodeURL("unicode:utf16:abc"));
    EXPECT_EQ(URLToFileName("unicode:utf8:/tmp/视频:1.avi"), "/tmp/视频:1.avi");
    EXPECT_EQ(DecodeURL("unicode:utf8:/tmp/视频.avi"), "/tmp/视频.avi");
    EXPECT_EQ(DecodeURL("/tmp/plain.avi"), "/tmp/plain.avi");
    // Every call gets its own text.
    String A = FileNameToURL("/a.avi"), B = FileNameToURL("/b.avi");
    EXPECT_EQ(A, "/a.avi");
    EXPECT_EQ(B, "/b.avi");
}

TEST(UnicodeIO, WritesTruncatesReadsAndAnswersTheSize)
{
    ASSERT_TRUE(LoadLibraries());
    String Dir = ScratchFolder();
    String URL = String(UnicodeURLPrefix) + Dir + "输出.bin";
    AVIOContext* PB = nullptr;

    ASSERT_EQ(OpenOutputIO(&PB, URL, AVIO_FLAG_WRITE, nullptr, nullptr), 0);
    ASSERT_TRUE(IsUnicodeIO(PB));
    AV.avio_write(PB, reinterpret_cast<const unsigned char*>("0123456789"), 10);
    CloseOutputIO(&PB);
    EXPECT_EQ(PB, nullptr);
    EXPECT_EQ(std::filesystem::file_size(Dir + "输出.bin"), 10u);

    // Opening for writing again truncates.
    ASSERT_EQ(UnicodeIOOpen(&PB, URL, AVIO_FLAG_WRITE), 0);
    AV.avio_write(PB, reinterpret_cast<const unsigned char*>("abc"), 3);
    UnicodeIOClose(&PB);
    EXPECT_EQ(std::filesystem::file_size(Dir + "输出.bin"), 3u);

    ASSERT_EQ(UnicodeIOOpen(&PB, URL, AVIO_FLAG_READ), 0);
    unsigned char Buf[16] = {};
    EXPECT_EQ(AV.avio_read(PB, Buf, 2), 2);
    EXPECT_EQ(AVIOTell(PB), 2);
    EXPECT_EQ(AV.avio_size(PB), 3);  // the size query leaves the position alone
    EXPECT_EQ(AVIOTell(PB), 2);
    EXPECT_EQ(AV.avio_read(PB, Buf + 2, 10), 1);
    EXPECT_EQ(String(reinterpret_cast<char*>(Buf)), "abc");
    EXPECT_EQ(AV.avio_read(PB, Buf, 10), AVERROR_EOF);
    EXPECT_TRUE(AV.avio_feof(PB));
    UnicodeIOClose(&PB);

    // A missing file for reading.
    EXPECT_EQ(UnicodeIOOpen(&PB, String(UnicodeURLPrefix) + Dir + "无.bin", AVIO_FLAG_READ), AVERROR(ENOENT));
    EXPECT_EQ(PB, nullptr);
    std::filesystem::remove_all(Dir);
}

TEST(UnicodeNames, MalformedNamesNeverCrashAndRoundTrip)
{
    TLocale Ascii("C");
    // ("unicode:utf8:..." itself names the protocol: it is passed on, not a file name.)
    const std::vector<String> Names = {"", ":", "::", "unicode:", "unicode:utf8:", ":x", "x:",
                                       "\xff", "a\xc3", "/\xe4\xb8", String(3000, 'n')};
    for (const String& N : Names) {
        String URL = FileNameToURL(N);
        EXPECT_EQ(DecodeURL(URL), N) << N;
    }
    // "file:" names FFmpeg's file protocol: passed on, the file behind it is the rest.
    EXPECT_EQ(FileNameToURL("file:x"), "file:x");
    EXPECT_EQ(DecodeURL(FileNameToURL("file:x")), "x");
    // Opening such names as media fails with a clear message.
    ASSERT_TRUE(LoadLibraries());
    AVFormatContext* Ctx = nullptr;
    for (const char* N : {"", ":", "unicode:utf8:", "/no/such/dir/\xff.avi"}) {
        EXPECT_LT(OpenInputURL(&Ctx, FileNameToURL(N), nullptr, nullptr), 0) << N;
        EXPECT_EQ(Ctx, nullptr);
    }
}
