#include "support/transcoder_support.h"

#include "engine/libs/FFmpegLoader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace transcodertest {

const String& Folder()
{
    // Made once beside the engine's shared media: in a scratch folder renamed into place,
    // so that test processes running at once never see a half-made folder.
    static const String folder = enginetest::GeneratedFolder(enginetest::MediaFolder() + "transcoder/", [](const String& dir) {
        const String v = "-f lavfi -i testsrc=size=";
        struct {
            const char* Name;
            String Args;
        } files[] = {
            {"av.avi", v + "320x240:rate=25:duration=0.4 -f lavfi -i sine=f=440:sample_rate=44100:d=0.4 "
                           "-ac 2 -c:v mpeg4 -c:a mp2"},
            {"vga.nut", v + "640x480:rate=25:duration=0.2 -c:v mpeg4"},
            {"slow.nut", v + "160x120:rate=15:duration=0.4 -c:v mpeg4"},
            {"tone.wav", "-f lavfi -i sine=f=440:sample_rate=44100:d=0.3 -ac 2"},
            {"late.nut", v + "160x120:rate=25:duration=0.4 -c:v mpeg4 -output_ts_offset 1.4"},
            {"prog.ts", v + "160x120:rate=25:duration=0.2 -c:v mpeg2video -mpegts_service_id 1"},
        };
        for (const auto& f : files) enginetest::RunFFmpeg(f.Args, dir + f.Name);
    });
    return folder;
}

String Media(const String& AName) { return Folder() + AName; }

std::unique_ptr<TCustomFFmpeg> NewTranscoder(int AMaxFiles)
{
    if (!enginetest::LoadLibraries()) throw std::runtime_error("the FFmpeg libraries do not load");
    auto t = std::make_unique<TCustomFFmpeg>(AMaxFiles);
    t->Reset();
    return t;
}

void ExpectOutputOpens(const TOutputOptions& AOptions, unsigned AStreams)
{
    auto t = NewTranscoder();
    ASSERT_TRUE(t->OpenInputFile(Media("av.avi"))) << t->LastErrMsg();
    TCodecDefaults list;
    ASSERT_NO_THROW(ApplyOutputRecord(*t, AOptions, list));
    ASSERT_GE(t->OpenOutputFile(AOptions.FileName, AOptions.Join), 1) << t->LastErrMsg();
    ApplyNewStreams(*t, AOptions.ExtOptions, list);

    AVFormatContext* oc = t->Foutput_files[0];
    ASSERT_EQ(oc->nb_streams, AStreams);
    std::vector<AVCodecContext*> opened;
    for (unsigned i = 0; i < oc->nb_streams; ++i) {
        AVCodecContext* enc = t->Foutput_streams[0][i].enc;
        ASSERT_NE(enc, nullptr);
        const AVCodec* codec = enc->codec ? enc->codec : AV.avcodec_find_encoder(enc->codec_id);
        ASSERT_NE(codec, nullptr) << "stream " << i << " codec id " << enc->codec_id;
        TCriticalSectionGuard lock(CodecLock);
        int err = AV.avcodec_open2(enc, codec, nullptr);
        ASSERT_GE(err, 0) << AVErrorText(codec->name, err);
        opened.push_back(enc);
        ASSERT_GE(AV.avcodec_parameters_from_context(oc->streams[i]->codecpar, enc), 0);
    }
    int err = AV.avformat_write_header(oc, nullptr);
    EXPECT_GE(err, 0) << AVErrorText(AOptions.FileName, err);
    if (err >= 0) {
        EXPECT_GE(AV.av_write_trailer(oc), 0);
    }
    for (AVCodecContext* enc : opened) {
        TCriticalSectionGuard lock(CodecLock);
        AV.avcodec_close(enc);
    }
}

}  // namespace transcodertest
