// Engine utilities: texts of times, sizes, errors and codecs, option texts, files,
// the option store, and reaching the GUI thread.
#include "support/engine_support.h"

#include "engine/common/FFUtils.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/common/HostUtils.h"
#include "platform/system/Threads.h"
#include "platform/windows/Windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace enginetest;

TEST(EngineTexts, FormatTimestamp)
{
    const struct {
        int64_t Us;
        const char* Text;
    } Cases[] = {{3723456789LL, "01:02:03.456"}, {90000LL * 1000000, "25:00:00.000"}, {0, "00:00:00.000"},
                 {999, "00:00:00.000"},          {1000, "00:00:00.001"},           {AV_NOPTS_VALUE, "N/A"}};
    for (const auto& C : Cases) EXPECT_EQ(FormatTimestamp(C.Us), C.Text) << C.Us;
}

TEST(EngineTexts, FormatFileSize)
{
    const struct {
        int64_t Size;
        const char* Text;
    } Cases[] = {{0, "0 Byte"},          {1024, "1024 Byte"},          {1025, "1.00 KB"},
                 {1048576, "1024.00 KB"}, {1048577, "1.00 MB"},        {1073741824, "1024.00 MB"},
                 {1073741825, "1.00 GB"}, {5LL * 1073741824 / 2, "2.50 GB"}};
    for (const auto& C : Cases) EXPECT_EQ(FormatFileSize(C.Size), C.Text) << C.Size;
}

TEST(EngineTexts, FrameDurationAndSeekFlags)
{
    EXPECT_EQ(FrameDuration({30000, 1001}), 33366);
    EXPECT_EQ(FrameDuration({25, 1}), 40000);
    EXPECT_EQ(FrameDuration({0, 0}), 40000);
    EXPECT_EQ(FrameDuration({25, 0}), 40000);
    EXPECT_EQ(SeekFlagsToAV({}), 0);
    EXPECT_EQ(SeekFlagsToAV({sfBackward}), AVSEEK_FLAG_BACKWARD);
    EXPECT_EQ(SeekFlagsToAV({sfBackward, sfByte, sfAny, sfFrame}), 15);
}

TEST(EngineTexts, SplitHead)
{
    const struct {
        const char* Source;
        const char* Sep;
        bool Remove;
        const char* Head;
        const char* Rest;
    } Cases[] = {{"vb=800k", "=", true, "vb", "800k"},   {"vb", "=", true, "vb", ""},
                 {"vb=800k", "=", false, "vb", "vb=800k"}, {"a=b=c", "=", true, "a", "b=c"},
                 {"=x", "=", true, "", "x"},              {"ab--cd", "--", true, "ab", "cd"}};
    for (const auto& C : Cases) {
        String S = C.Source, H;
        SplitHead(S, C.Sep, C.Remove, H);
        EXPECT_EQ(H, C.Head) << C.Source;
        EXPECT_EQ(S, C.Rest) << C.Source;
    }
}

TEST(EngineTexts, MediaTypeNames)
{
    const char* Names[] = {"Video", "Audio", "Data", "Subtitle", "Attachment"};
    for (int I = 0; I < 5; ++I) EXPECT_EQ(MediaTypeName(I), Names[I]);
    EXPECT_EQ(MediaTypeName(-1), "Unknown");
    EXPECT_EQ(MediaTypeName(5), "Unknown");
}

TEST(EngineTexts, ErrorTextsOfThisFFmpegGeneration)
{
    const struct {
        int Code;
        const char* Text;
    } Cases[] = {{AVERROR(ENOENT), "f: No such file or directory"},
                 {AVERROR_EOF, "f: End of file"},
                 {AVERROR_INVALIDDATA, "f: Invalid data found when processing input"},
                 {AVERROR(EINVAL), "f: Invalid argument"},
                 {AVERROR(EILSEQ), "f: Invalid or incomplete multibyte or wide character"},
                 {AVERROR_DEMUXER_NOT_FOUND, "f: Unknown format"},
                 {AVERROR_PROTOCOL_NOT_FOUND, "f: Unsupported network protocol"},
                 {AVERROR(EIO), "f: I/O error"},
                 {AVERROR(ENOMEM), "f: Not enough memory"},
                 {AVERROR(EDOM), "f: Numerical argument out of domain"},
                 {AVERROR_PATCHWELCOME, "f: Not yet implemented in FFmpeg"},
                 {AVERROR(EPROTONOSUPPORT), "f: Unsupported network protocol"},
                 // Codes outside the table: the system's own text.
                 {AVERROR(EROFS), "f: Read-only file system"},
                 {AVERROR(EACCES), "f: Permission denied"},
                 {AVERROR(EISDIR), "f: Is a directory"},
                 {AVERROR(ENOSPC), "f: No space left on device"},
                 {AVERROR(ELOOP), "f: Too many levels of symbolic links"},
                 {AVERROR(EBUSY), "f: Device or resource busy"},
                 {AVERROR(ENOPROTOOPT), "f: Protocol not available"}};
    ASSERT_TRUE(LoadLibraries());
    for (const auto& C : Cases) EXPECT_EQ(AVErrorText("f", C.Code), C.Text) << C.Code;
}

TEST(EngineTexts, CodecDisplayNames)
{
    ASSERT_TRUE(LoadLibraries());
    AVCodecParameters* P = AV.avcodec_parameters_alloc();
    P->codec_id = AV_CODEC_ID_MPEG4;
    EXPECT_EQ(CodecDisplayName(P, false), "mpeg4(MPEG-4 part 2)");
    P->codec_id = AV_CODEC_ID_MP2;
    EXPECT_EQ(CodecDisplayName(P, true), "mp2(MP2 (MPEG audio layer 2))");
    P->codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecDisplayName(P, false), "mpeg2ts");
    P->codec_id = AV_CODEC_ID_NONE;
    P->codec_tag = MKTAG('A', 'B', 'C', 'D');
    EXPECT_EQ(CodecDisplayName(P, false), "ABCD / 0x44434241");
    P->codec_tag = 0x0102;
    EXPECT_EQ(CodecDisplayName(P, false), "0x0102");
    AV.avcodec_parameters_free(&P);
}

TEST(EngineTexts, MetadataValue)
{
    ASSERT_TRUE(LoadLibraries());
    AVDictionary* D = nullptr;
    AV.av_dict_set(&D, "title", "标题", 0);
    EXPECT_EQ(MetadataValue(D, "title", "x"), "标题");
    EXPECT_EQ(MetadataValue(D, "album", "none"), "none");
    EXPECT_EQ(MetadataValue(nullptr, "title", "d"), "d");
    AV.av_dict_free(&D);
}

TEST(EngineFiles, FileSizeAndReadingWholeFiles)
{
    ASSERT_TRUE(LoadLibraries());
    String Dir = ScratchFolder();
    String Name = Dir + "data.log";
    std::ofstream(Name) << "pass log";
    EXPECT_EQ(FileSizeOf(Name), 8);
    EXPECT_EQ(FileSizeOf(Dir + "missing"), -1);
    EXPECT_EQ(FileSizeOf(Dir), -1);

    uint8_t* Buf = nullptr;
    int Size = 0;
    ASSERT_EQ(ReadFileToBuffer(Name, Buf, Size), 0);
    EXPECT_EQ(Size, 9);
    EXPECT_STREQ(reinterpret_cast<char*>(Buf), "pass log");
    AV.av_free(Buf);
    EXPECT_EQ(ReadFileToBuffer(Dir + "missing", Buf, Size), -1);
    EXPECT_EQ(Buf, nullptr);
    EXPECT_EQ(GetExePath().back(), '/');
    std::filesystem::remove_all(Dir);
}

TEST(EngineTimes, UnixTimeToLocalUsesTheStandardOffset)
{
    // 2009-02-13 23:31:30 UTC; the local offset is the standard-time bias.
    TDateTime T = UnixTimeToLocal(1234567890);
    TDateTime Utc = EncodeDate(2009, 2, 13) + EncodeTime(23, 31, 30, 0);
    EXPECT_NEAR(T, Utc - TimeZoneBias() / 1440.0, 1e-6);
    EXPECT_EQ(FormatDateTimeText("yyyy-mm-dd", UnixTimeToLocal(0) + TimeZoneBias() / 1440.0), "1970-01-01");
}

TEST(EngineThreads, CallInMainThreadRunsOnTheGuiThread)
{
    ASSERT_TRUE(IsMainThread());
    bool Direct = false;
    CallInMainThread([&] { Direct = IsMainThread(); });
    EXPECT_TRUE(Direct);

    std::atomic<bool> RanOnMain{false}, Done{false};
    std::thread Worker([&] {
        CallInMainThread([&] { RanOnMain = IsMainThread(); });
        Done = true;  // only after the GUI thread ran it
    });
    while (!Done) {
        PumpMessages();
        std::this_thread::yield();
    }
    Worker.join();
    EXPECT_TRUE(RanOnMain);
    EXPECT_FALSE(ProcessOneMessage());
}

TEST(EngineThreads, PumpMessagesDispatchesQueuedMessagesButKeepsQuit)
{
    ASSERT_TRUE(IsMainThread());
    PostMessage(nullptr, WM_USER + 7, 1, 2);
    PostMessage(nullptr, WM_USER + 8, 3, 4);
    PumpMessages();
    MSG Msg;
    EXPECT_FALSE(PeekMessage(Msg, nullptr, 0, 0, PM_NOREMOVE));

    PostQuitMessage(5);
    bool Ran = false;
    std::thread Worker([&] { TThread::Queue(nullptr, [&] { Ran = true; }); });
    Worker.join();
    PumpMessages();
    EXPECT_TRUE(Ran);  // calls for the GUI thread still run behind a quit request
    ASSERT_TRUE(PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(Msg.message, WM_QUIT);
    EXPECT_EQ(Msg.wParam, 5u);
}

// ---------------------------------------------------------------------------------
// Option store

class OptionStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLibraries());
        ClearOptionStore(S);
        CreateOptionStore(S, SWS_BICUBIC);
    }
    void TearDown() override { FreeOptionStore(S); }
    static String Get(AVDictionary* D, const char* Key)
    {
        const AVDictionaryEntry* E = AV.av_dict_get(D, Key, nullptr, 0);
        return E ? E->value : "<none>";
    }
    TFFOptions S;
};

TEST_F(OptionStoreTest, AudioOnlyOptionReachesOnlyAudioAmongTheMediaTypes)
{
    // "ar" (sample rate) is an audio option of the codec contexts.
    ASSERT_TRUE(StoreOption(S, "ar", "22050"));
    EXPECT_EQ(S.avcodec_opts[AVMEDIA_TYPE_AUDIO]->sample_rate, 22050);
    EXPECT_EQ(S.avcodec_opts[AVMEDIA_TYPE_VIDEO]->sample_rate, 0);
    EXPECT_EQ(S.avcodec_opts[AVMEDIA_TYPE_SUBTITLE]->sample_rate, 0);
    EXPECT_EQ(Get(S.codec_dict[AVMEDIA_TYPE_AUDIO], "ar"), "22050");
    EXPECT_EQ(Get(S.codec_dict[AVMEDIA_TYPE_VIDEO], "ar"), "<none>");
    ASSERT_EQ(S.opt_name_count(), 1);
    EXPECT_EQ(S.opt_names[0], "ar");
}

TEST_F(OptionStoreTest, TypePrefixNamesTheOptionOfOneMediaType)
{
    // "vb" is no option name; without its "v" it is the video bit rate "b".
    ASSERT_TRUE(StoreOption(S, "vb", "800k"));
    EXPECT_EQ(S.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 800000);
    EXPECT_NE(S.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 800000);
    EXPECT_EQ(Get(S.codec_dict[AVMEDIA_TYPE_VIDEO], "b"), "800k");
    EXPECT_EQ(S.opt_names.back(), "b");
    // "ab" still is an option of its own.
    ASSERT_TRUE(StoreOption(S, "ab", "64k"));
    EXPECT_EQ(S.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 64000);
}

TEST_F(OptionStoreTest, FormatScalerAndPrivateOptionsAreReached)
{
    ASSERT_TRUE(StoreOption(S, "probesize", "5000000"));
    EXPECT_EQ(S.avformat_opts->probesize, 5000000);
    EXPECT_EQ(Get(S.format_dict, "probesize"), "5000000");
    // A muxer's private option and an encoder's private option.
    ASSERT_TRUE(StoreOption(S, "muxrate", "10080000"));
    EXPECT_EQ(Get(S.format_dict, "muxrate"), "10080000");
    ASSERT_TRUE(StoreOption(S, "scan_offset", "1"));
    EXPECT_EQ(Get(S.codec_dict[AVMEDIA_TYPE_VIDEO], "scan_offset"), "1");
    // The scaler's own option.
    ASSERT_TRUE(StoreOption(S, "sws_flags", "bilinear"));
    EXPECT_EQ(Get(S.sws_dict, "sws_flags"), "bilinear");
    int64_t Flags = 0;
    AV.av_opt_get_int(S.sws_opts, "sws_flags", 0, &Flags);
    EXPECT_EQ(Flags, SWS_BILINEAR);

    // Only what an mpeg2video encoder takes is handed to it.
    AVDictionary* D = StoredCodecOptions(S, AVMEDIA_TYPE_VIDEO, AV.avcodec_find_encoder_by_name("mpeg2video"), true);
    EXPECT_EQ(Get(D, "scan_offset"), "1");
    AV.av_dict_free(&D);
    D = StoredCodecOptions(S, AVMEDIA_TYPE_VIDEO, AV.avcodec_find_encoder_by_name("mpeg4"), true);
    EXPECT_EQ(Get(D, "scan_offset"), "<none>");
    AV.av_dict_free(&D);
}

TEST_F(OptionStoreTest, RefusesBlankUnknownAndInvalid)
{
    TLogCapture Log;
    EXPECT_FALSE(StoreOption(S, "", "1"));
    EXPECT_FALSE(StoreOption(S, "b", "  "));
    EXPECT_FALSE(StoreOption(S, "no_such_option_anywhere", "1"));
    EXPECT_TRUE(Log.Lines().empty());
    EXPECT_FALSE(StoreOption(S, "ar", "abc"));
    EXPECT_TRUE(Log.Contains("Invalid value \"abc\" for option \"ar\"")) << Log.Lines().size();
    EXPECT_EQ(S.opt_name_count(), 0);
}

TEST_F(OptionStoreTest, PrivateCodecOptionsTakeOnlyValuesSomeCodecTakes)
{
    const struct {
        const char* Name;
        const char* Value;
        bool Taken;
    } Cases[] = {
        {"scan_offset", "1", true},          // mpeg2video's
        {"scan_offset", "nonsense", false},
        {"deadline", "good", true},          // libvpx's named values
        {"deadline", "nonsense", false},
        {"crf", "23", true},
        {"crf", "nonsense", false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(String(C.Name) + "=" + C.Value);
        TLogCapture Log;
        const int Before = S.opt_name_count();
        EXPECT_EQ(StoreOption(S, C.Name, C.Value), C.Taken);
        const String Invalid = Format("Invalid value \"%s\" for option \"%s\"", C.Value, C.Name);
        EXPECT_EQ(Log.Contains(Invalid), !C.Taken);
        EXPECT_EQ(S.opt_name_count(), Before + (C.Taken ? 1 : 0));
        if (C.Taken) {
            EXPECT_EQ(Get(S.codec_dict[AVMEDIA_TYPE_VIDEO], C.Name), C.Value);
        }
    }
}

TEST_F(OptionStoreTest, CopyStoredOptionsCopiesWhatTheFlagsAllow)
{
    ASSERT_TRUE(StoreOption(S, "g", "12"));      // video encoding
    ASSERT_TRUE(StoreOption(S, "ar", "8000"));   // audio
    AVCodecContext* Target = AV.avcodec_alloc_context3(nullptr);
    CopyStoredOptions(S, Target, S.avcodec_opts[AVMEDIA_TYPE_VIDEO], AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(Target->gop_size, 12);
    EXPECT_EQ(Target->sample_rate, 0);
    AV.avcodec_free_context(&Target);
}
