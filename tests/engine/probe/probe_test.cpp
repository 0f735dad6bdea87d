// The media probe over generated files, judged against ffprobe where it is the
// honest judge.
#include "support/engine_support.h"

#include "engine/probe/AVProbe.h"
#include "engine/common/HostUtils.h"
#include "engine/libs/UnicodeProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

using namespace enginetest;

namespace {

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadLibraries()) << FFLoader().LastErrMsg(); }

    // The codec types of the streams by index, as ffprobe lists them (streams listed
    // again under their programs are counted once).
    static std::vector<String> ProbeTypes(const String& AFile)
    {
        std::map<int, String> ByIndex;
        std::istringstream In(FFprobe("-show_entries stream=index,codec_type -of csv=p=0", AFile));
        for (String Line; std::getline(In, Line);) {
            size_t C1 = Line.find(',');
            if (C1 == String::npos) continue;
            size_t C2 = Line.find(',', C1 + 1);
            ByIndex[std::stoi(Line.substr(0, C1))] = Line.substr(C1 + 1, C2 == String::npos ? String::npos : C2 - C1 - 1);
        }
        std::vector<String> Types;
        for (auto& [I, T] : ByIndex) Types.push_back(T);
        return Types;
    }
    static int64_t ProbeDurationUs(const String& AFile)
    {
        String D = FFprobe("-show_entries format=duration -of csv=p=0", AFile);
        return int64_t(std::llround(std::stod(D) * 1000000));
    }
    static std::vector<String> Lines(const String& AText)
    {
        std::vector<String> L;
        std::istringstream In(AText);
        for (String Line; std::getline(In, Line);) L.push_back(Line);
        return L;
    }
    static bool HasLine(const std::vector<String>& ALines, const String& APart)
    {
        for (const String& L : ALines)
            if (L.find(APart) != String::npos) return true;
        return false;
    }

    TCustomAVProbe P{nullptr};
};

}  // namespace

TEST_F(ProbeTest, StreamCountsMatchFFprobe)
{
    const struct {
        const char* File;
        int Video, Audio, FirstVideo, FirstAudio, Programs;
    } Cases[] = {{"av.mkv", 1, 2, 0, 1, 0},    {"grey.avi", 1, 0, 0, -1, 0}, {"tone.mp3", 0, 1, -1, 0, 0},
                 {"tone.wav", 0, 1, -1, 0, 0}, {"video.ts", 1, 0, 0, -1, 1}, {"ntsc.mp4", 1, 0, 0, -1, 0}};
    for (const auto& C : Cases) {
        String F = Media(C.File);
        ASSERT_TRUE(P.LoadFile(F)) << C.File << ": " << P.LastErrMsg();
        std::vector<String> Types = ProbeTypes(F);
        EXPECT_EQ(P.StreamCount(), int(Types.size())) << C.File;
        EXPECT_EQ(P.VideoStreamCount(), int(std::count(Types.begin(), Types.end(), "video"))) << C.File;
        EXPECT_EQ(P.AudioStreamCount(), int(std::count(Types.begin(), Types.end(), "audio"))) << C.File;
        EXPECT_EQ(P.VideoStreamCount(), C.Video) << C.File;
        EXPECT_EQ(P.AudioStreamCount(), C.Audio) << C.File;
        EXPECT_EQ(P.SubtitleStreamCount(), 0) << C.File;
        EXPECT_EQ(P.FirstVideoStreamIndex(), C.FirstVideo) << C.File;
        EXPECT_EQ(P.FirstAudioStreamIndex(), C.FirstAudio) << C.File;
        EXPECT_EQ(P.FirstSubtitleStreamIndex(), -1) << C.File;
        EXPECT_EQ(P.ProgramCount(), C.Programs) << C.File;
        EXPECT_EQ(P.FileSize(), int64_t(std::filesystem::file_size(F))) << C.File;
        EXPECT_EQ(P.FileStreamInfo().Duration, ProbeDurationUs(F)) << C.File;
        EXPECT_EQ(P.FileName(), F);
        for (int I = 0; I < P.StreamCount(); ++I) {
            EXPECT_EQ(P.IsVideoStream(I), Types[I] == "video") << C.File << " #" << I;
            EXPECT_EQ(P.IsAudioStream(I), Types[I] == "audio") << C.File << " #" << I;
            EXPECT_FALSE(P.IsSubtitleStream(I));
        }
    }
    P.CloseFile();
    EXPECT_EQ(P.StreamCount(), -1);
    EXPECT_EQ(P.FileSize(), -1);
    EXPECT_EQ(P.FirstAudioStreamIndex(), -1);
}

TEST_F(ProbeTest, StreamAndFileInfos)
{
    ASSERT_TRUE(P.LoadFile(Media("av.mkv")));
    EXPECT_EQ(P.FormatName(), "matroska,webm");
    TFileStreamInfo F = P.FileStreamInfo();
    EXPECT_EQ(F.Title, "Test Title");
    EXPECT_EQ(F.StartTime, 0);
    EXPECT_GT(F.BitRate, 0);

    TVideoStreamInfo V = P.FirstVideoStreamInfo();
    EXPECT_EQ(V.Width, 64);
    EXPECT_EQ(V.Height, 48);
    EXPECT_NEAR(V.AspectRatio, 64.0 / 48.0, 1e-5);
    EXPECT_EQ(V.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(V.FrameRate.num, 25);
    EXPECT_EQ(V.FrameRate.den, 1);
    EXPECT_EQ(V.CodecName, "mpeg4(MPEG-4 part 2)");

    TAudioStreamInfo A = P.FirstAudioStreamInfo();
    EXPECT_EQ(A.Language, "eng");
    EXPECT_EQ(A.SampleRate, 44100);
    EXPECT_EQ(A.Channels, 1);
    EXPECT_EQ(A.CodecName, "mp2(MP2 (MPEG audio layer 2))");
    EXPECT_EQ(A.StartTimeScaled, 0);
    TAudioStreamInfo A2;
    ASSERT_TRUE(P.AudioStreamInfo(2, A2));
    EXPECT_EQ(A2.Language, "chi");

    // Fillers by index report the wrong kind and bad indexes.
    EXPECT_FALSE(P.AudioStreamInfo(0, A2));
    EXPECT_EQ(P.LastErrMsg(), "stream #0 is not audio stream.");
    EXPECT_EQ(A2.SampleRate, -1);
    EXPECT_FALSE(P.VideoStreamInfo(1, V));
    EXPECT_EQ(P.LastErrMsg(), "stream #1 is not video stream.");
    EXPECT_FALSE(P.AudioStreamInfo(7, A2));
    EXPECT_EQ(P.LastErrMsg(), "stream index #7 is invalid.");
    TSubtitleStreamInfo S = P.FirstSubtitleStreamInfo();
    EXPECT_EQ(P.LastErrMsg(), "no subtitle stream.");
    EXPECT_EQ(S.CodecName, "");
}

TEST_F(ProbeTest, UnknownSampleAspectGivesNoAspectRatio)
{
    ASSERT_TRUE(P.LoadFile(Media("grey.avi")));
    AVCodecParameters* Par = P.FileHandle()->streams[0]->codecpar;
    const AVRational Unknown[] = {{0, 1}, {1, 0}, {0, 0}};
    for (AVRational Sar : Unknown) {
        Par->sample_aspect_ratio = Sar;
        TVideoStreamInfo V = P.FirstVideoStreamInfo();
        EXPECT_EQ(V.AspectRatio, -1.0f) << Sar.num << "/" << Sar.den;
        EXPECT_EQ(V.Width, 64);
    }
    Par->sample_aspect_ratio = {4, 3};
    EXPECT_NEAR(P.FirstVideoStreamInfo().AspectRatio, 64.0 * 4 / 3 / 48, 1e-5);
}

TEST_F(ProbeTest, AudioTagsAndMissingVideo)
{
    ASSERT_TRUE(P.LoadFile(Media("tone.mp3")));
    TFileStreamInfo F = P.FileStreamInfo();
    EXPECT_EQ(F.Title, "Song");
    EXPECT_EQ(F.Author, "Singer");  // this FFmpeg names it "artist"
    EXPECT_EQ(F.Album, "Album");
    EXPECT_EQ(F.Genre, "");
    EXPECT_EQ(F.Year, 0);
    TVideoStreamInfo V = P.FirstVideoStreamInfo();
    EXPECT_EQ(P.LastErrMsg(), "no video stream.");
    EXPECT_EQ(V.Width, -1);
    EXPECT_EQ(V.AspectRatio, -1.0f);
    EXPECT_EQ(P.FirstAudioStreamInfo().SampleRate, 44100);
}

TEST_F(ProbeTest, CreationTimeBecomesTheTimeStamp)
{
    ASSERT_TRUE(P.LoadFile(Media("ntsc.mp4")));
    TFileStreamInfo F = P.FileStreamInfo();
    EXPECT_EQ(F.TimeStamp, 1577934245);  // 2020-01-02T03:04:05Z
    auto L = Lines(P.FileInfoText());
    EXPECT_TRUE(HasLine(L, "Time Stamp: " + FormatDateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocal(1577934245))));
}

TEST_F(ProbeTest, FileInfoTextReportsFileAndStreams)
{
    String F = Media("grey.avi");
    ASSERT_TRUE(P.LoadFile(F));
    auto L = Lines(P.FileInfoText());
    ASSERT_GE(L.size(), 7u);
    EXPECT_EQ(L[0], "File Name: " + F);
    EXPECT_EQ(L[1], "Format Name: avi");
    EXPECT_EQ(L[2], "Format Long Name: AVI (Audio Video Interleaved)");
    EXPECT_EQ(L[3], "File Size: " + FormatFileSize(int64_t(std::filesystem::file_size(F))));
    EXPECT_EQ(L[4], "Duration: 00:00:01.000");
    EXPECT_EQ(L[5], "StartTime: 0.000000");
    EXPECT_EQ(L[6], Format("Bit Rate: %d kb/s", P.FileHandle()->bit_rate / 1000));
    String Stream = L.back();
    EXPECT_EQ(Stream.rfind("Stream #0, 1/25: Video: mpeg4", 0), 0u) << Stream;
    EXPECT_NE(Stream.find(", 25 fps, 25 tbr, 25 tbn"), String::npos) << Stream;
    EXPECT_NE(Stream.find(", Duration: 00:00:01.000"), String::npos) << Stream;

    ASSERT_TRUE(P.LoadFile(Media("ntsc.mp4")));
    String Text = P.FileInfoText();
    EXPECT_NE(Text.find(", 29.97 fps, 29.97 tbr, 30k tbn"), String::npos) << Text;

    // A transport stream: its program, stream ids and the 90 kHz time base.
    ASSERT_TRUE(P.LoadFile(Media("video.ts")));
    L = Lines(P.FileInfoText());
    EXPECT_TRUE(HasLine(L, "StartTime: 1.4")) << P.FileInfoText();
    EXPECT_TRUE(HasLine(L, "Program 1 FFmpeg@Service01")) << P.FileInfoText();
    EXPECT_TRUE(HasLine(L, "Stream #0[0x100], 1/90000: Video: mpeg2video")) << P.FileInfoText();
    EXPECT_TRUE(HasLine(L, ", 25 fps, 25 tbr, 90k tbn")) << P.FileInfoText();
    EXPECT_EQ(std::count_if(L.begin(), L.end(), [](const String& S) { return S.rfind("Stream #", 0) == 0; }), 1);
}

TEST_F(ProbeTest, MetadataBlocksSkipLanguage)
{
    ASSERT_TRUE(P.LoadFile(Media("av.mkv")));
    auto L = Lines(P.FileInfoText());
    auto It = std::find(L.begin(), L.end(), "Metadata:");
    ASSERT_NE(It, L.end()) << P.FileInfoText();
    EXPECT_EQ(*(It + 1), "  title           : Test Title");
    EXPECT_TRUE(HasLine(L, "Stream #1(eng), 1/1000: Audio: mp2"));
    EXPECT_FALSE(HasLine(L, ": eng")) << P.FileInfoText();  // language is shown in the stream line only

    // A stream whose only tag is its language prints no block.
    ASSERT_TRUE(P.LoadFile(Media("lang.ts")));
    L = Lines(P.FileInfoText());
    auto S = std::find_if(L.begin(), L.end(), [](const String& X) { return X.rfind("Stream #0", 0) == 0; });
    ASSERT_NE(S, L.end());
    EXPECT_NE(S->find("(eng)"), String::npos);
    EXPECT_TRUE(S + 1 == L.end()) << *(S + 1);
}

TEST_F(ProbeTest, BadFilesFailWithClearErrors)
{
    TLogCapture Log;
    String Missing = MediaFolder() + "missing.avi";
    EXPECT_FALSE(P.LoadFile(Missing));
    EXPECT_EQ(P.LastErrMsg(), Missing + ": No such file or directory");
    EXPECT_TRUE(Log.Contains(Missing + ": No such file or directory"));
    EXPECT_EQ(P.FileHandle(), nullptr);
    EXPECT_EQ(P.StreamCount(), -1);

    for (const char* Name : {"notmedia.txt", "truncated.avi"}) {
        String F = Media(Name);
        EXPECT_FALSE(P.LoadFile(F)) << Name;
        EXPECT_EQ(P.LastErrMsg().rfind(F + ": ", 0), 0u) << P.LastErrMsg();
        EXPECT_EQ(P.FileHandle(), nullptr) << Name;
    }
    // A transport stream cut short still opens with what it holds.
    if (P.LoadFile(Media("truncated.ts"))) {
        EXPECT_EQ(P.StreamCount(), int(ProbeTypes(Media("truncated.ts")).size()));
        EXPECT_FALSE(P.FileInfoText().empty());
    }

    // A forced format that FFmpeg does not know: not logged, nothing loaded.
    size_t Before = Log.Lines().size();
    ASSERT_TRUE(P.LoadFile(Media("grey.avi")));
    EXPECT_FALSE(P.LoadFile(Media("grey.avi"), "nosuchformat"));
    EXPECT_EQ(P.LastErrMsg(), "Unknown input format: nosuchformat");
    EXPECT_EQ(P.FileHandle(), nullptr);
    EXPECT_EQ(Log.Lines().size(), Before);

    // A name far too long for the file system.
    String Long = MediaFolder() + String(5000, 'a') + ".avi";
    EXPECT_FALSE(P.LoadFile(Long));
    EXPECT_EQ(P.LastErrMsg().rfind(Long + ": ", 0), 0u);
}

TEST_F(ProbeTest, ForcedFormatIsKept)
{
    ASSERT_TRUE(P.LoadFile(Media("still.png"), "image2"));
    EXPECT_EQ(P.ForceFormat(), "image2");
    EXPECT_EQ(P.FormatName(), "image2");
    EXPECT_EQ(P.VideoStreamCount(), 1);
    P.CloseFile();
    EXPECT_EQ(P.ForceFormat(), "");
}

TEST_F(ProbeTest, QueriesWithoutAFileReportIt)
{
    TLogCapture Log;
    EXPECT_EQ(P.FileInfoText(), "");
    EXPECT_EQ(P.LastErrMsg(), "file not loaded.");
    TFileStreamInfo F = P.FileStreamInfo();
    EXPECT_EQ(F.Duration, -1);
    EXPECT_EQ(F.BitRate, -1);
    EXPECT_EQ(F.Title, "");
    EXPECT_FALSE(P.IsVideoStream(0));
    EXPECT_EQ(P.FileName(), "");
    EXPECT_EQ(P.FormatName(), "");
    EXPECT_TRUE(Log.Contains("file not loaded."));

    ASSERT_TRUE(P.LoadFile(Media("grey.avi")));
    EXPECT_FALSE(P.IsVideoStream(-1));
    EXPECT_EQ(P.LastErrMsg(), "stream index #-1 is invalid.");
    EXPECT_TRUE(Log.Contains("stream index #-1 is invalid."));
    EXPECT_FALSE(P.IsAudioStream(1));
}

TEST_F(ProbeTest, ChineseFileNameOpensThroughTheEnginesReader)
{
    // The tests run in the "C" locale, which cannot carry the name as text.
    String F = Media("测试视频.avi");
    ASSERT_TRUE(IsUnicodeURL(FileNameToURL(F)));
    ASSERT_TRUE(P.LoadFile(F)) << P.LastErrMsg();
    EXPECT_EQ(P.FileName(), F);
    EXPECT_EQ(P.FileSize(), int64_t(std::filesystem::file_size(F)));
    EXPECT_EQ(P.VideoStreamCount(), 1);
    EXPECT_NE(P.FileInfoText().find("File Name: " + F), String::npos);
    P.CloseFile();
}

TEST_F(ProbeTest, AdoptedContextIsNeverClosedByTheProbe)
{
    AVFormatContext* Ctx = nullptr;
    ASSERT_EQ(AV.avformat_open_input(&Ctx, Media("av.mkv").c_str(), nullptr, nullptr), 0);
    ASSERT_GE(AV.avformat_find_stream_info(Ctx, nullptr), 0);
    P.SetFileHandle(Ctx);
    EXPECT_EQ(P.FileHandle(), Ctx);
    EXPECT_EQ(P.AudioStreamCount(), 2);
    P.CloseFile();
    EXPECT_EQ(P.FileHandle(), nullptr);
    EXPECT_EQ(Ctx->nb_streams, 3u);  // still open
    {
        TCustomAVProbe Other(nullptr);
        Other.SetFileHandle(Ctx);
    }  // destroyed with the context adopted
    AV.avformat_close_input(&Ctx);
}

TEST_F(ProbeTest, MissingLibrariesAreNamed)
{
    FFLoader().Unload(swScale);
    EXPECT_THROW(
        {
            try {
                P.LoadFile(Media("grey.avi"));
            } catch (const Exception& E) {
                EXPECT_EQ(E.Message(), "LibSwScale not loaded.");
                throw;
            }
        },
        Exception);
    ASSERT_TRUE(FFLoader().Load(swScale));
    ASSERT_TRUE(P.LoadFile(Media("grey.avi")));
}
