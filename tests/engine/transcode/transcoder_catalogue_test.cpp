// Every kind of output the application's preset catalogue asks for opens: the output
// record is applied in the task list's order, the output file opens, every encoder opens
// with the stream's settings and the header is written.
#include "support/transcoder_support.h"

using namespace transcodertest;

namespace {

struct TCatalogueCase {
    const char* Ext;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameRate;
    const char* FrameSize;
    const char* Aspect;
    int VideoBitrate;
    const char* AudioCodec;
    int Channels, SampleRate, AudioBitrate;
    TOptionTargetType Target = ttIgnore;
    TOptionNormType Norm = ntAuto;
    bool NoVideo = false;
};

const TCatalogueCase Cases[] = {
    {".avi", "mpeg4", "XVID", "25", "", "", 816000, "libmp3lame", 2, 44100, 128000},
    {".mp4", "mpeg4", "", "25", "", "", 816000, "libmp3lame", 2, 44100, 128000},
    {".avi", "mpeg4", "DX50", "25", "", "", 816000, "libmp3lame", 2, 44100, 128000},
    {".mov", "", "", "25", "", "", 816000, "libfaac", 2, 44100, 128000},
    {".avi", "libxvid", "", "25", "", "", 816000, "libmp3lame", 2, 44100, 128000},
    {".mkv", "mpeg4", "", "25", "", "", 1200000, "libmp3lame", 2, 44100, 128000},
    {".mkv", "mpeg4", "XVID", "25", "", "", 816000, "libmp3lame", 2, 44100, 128000},
    {".mpg", "mpeg1video", "", "25", "", "", 528000, "", 2, 44100, 128000},
    {".mpg", "mpeg2video", "", "25", "", "", 816000, "", 2, 44100, 128000},
    {".asf", "msmpeg4", "", "25", "", "", 816000, "wmav2", 2, 44100, 128000},
    {".3gp", "mpeg4", "", "12", "176*144", "4:3", 128000, "libfaac", 1, 8000, 12000},
    {".wmv", "wmv2", "", "25", "", "", 816000, "wmav2", 2, 44100, 128000},
    {".mp4", "libx264", "", "25", "1280*720", "", 1600000, "libmp3lame", 2, 48000, 256000},
    {".vob", "", "", "25", "1280*720", "", 1600000, "libfaac", 2, 48000, 128000},
    {".mpg", "mpeg2video", "", "25", "1280*720", "", 1600000, "libfaac", 2, 48000, 128000},
    {".mp4", "libx264", "", "25", "320*240", "", 512000, "libfaac", 2, 48000, 128000},
    {".mp4", "libxvid", "", "25", "640*480", "16:9", 1200000, "libfaac", 2, 48000, 128000},
    {".mp4", "mpeg4", "", "29.97", "320*240", "", 600000, "libfaac", 2, 48000, 128000},
    {".3gp", "mpeg4", "", "12", "176*144", "", 128000, "libopencore_amrnb", 1, 8000, 10200},
    {".3gp", "h263", "", "12", "176*144", "", 128000, "libfaac", 2, 16000, 48000},
    {".3g2", "mpeg4", "", "12", "176*144", "", 128000, "libopencore_amrnb", 1, 8000, 10200},
    {".3g2", "mpeg4", "", "12", "176*144", "", 128000, "libfaac", 2, 32000, 48000},
    {".avi", "h263", "", "15", "352*288", "", 256000, "libmp3lame", 2, 44100, 128000},
    {".mpeg", "mpeg2video", "", "25", "1280*720", "", 1200000, "ac3", 2, 48000, 192000},
    {".avi", "wmv2", "", "25", "1280*720", "", 1200000, "libmp3lame", 2, 48000, 128000},
    {".avi", "msmpeg4v2", "", "25", "1280*720", "", 1200000, "libmp3lame", 2, 48000, 128000},
    {".avi", "msmpeg4", "", "25", "1280*720", "", 1200000, "libmp3lame", 2, 48000, 128000},
    {".mp4", "msmpeg4v1", "", "25", "1280*720", "", 1200000, "libmp3lame", 2, 48000, 128000},
    {".flv", "", "", "25", "", "", 1200000, "libmp3lame", 2, 22050, 128000},
    {".swf", "", "", "25", "", "", 528000, "libmp3lame", 2, 22050, 128000},
    {".mp4", "libx264", "", "30", "720*576", "", 1200000, "libfaac", 2, 48000, 128000},
    {".mp4", "mpeg4", "DX50", "25", "640*480", "", 1200000, "libfaac", 2, 24000, 128000},
    {".wmv", "wmv2", "", "30", "1280*720", "", 1600000, "wmav2", 2, 48000, 128000},
    {".asf", "msmpeg4", "", "25", "1024*768", "", 1000000, "wmav2", 2, 44100, 128000},
    {".rm", "rv20", "", "", "320*240", "", -1, "", -1, -1, -1},
    {".vob", "", "", "29.97", "1280*720", "", 1200000, "libfaac", 2, 48000, 128000},
    {".avi", "libx264", "", "30", "1280*720", "", 1600000, "libmp3lame", 2, 48000, 256000},
    {".mkv", "libx264", "", "25", "1280*720", "", 1600000, "libmp3lame", 2, 48000, 256000},
    // Disc targets (bitrates not set), then with bitrates the option boxes may give.
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttDVD, ntPAL},
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttSVCD, ntPAL},
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttVCD, ntPAL},
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttDVD, ntNTSC},
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttSVCD, ntNTSC},
    {".mpg", "", "", "", "", "", -1, "", -1, -1, -1, ttVCD, ntNTSC},
    {".mpg", "", "", "25", "", "", 816000, "", 2, 48000, 128000, ttVCD, ntPAL},
    {".mpg", "", "", "25", "1280*720", "16:9", 1600000, "", 2, 48000, 128000, ttDVD, ntPAL},
    {".mpg", "", "", "25", "", "", 7680000, "", 2, 44100, 384000, ttSVCD, ntAuto},
    // Audio only
    {".mp3", "", "", "", "", "", -1, "libmp3lame", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".wma", "", "", "", "", "", -1, "wmav2", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".wav", "", "", "", "", "", -1, "", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".aac", "", "", "", "", "", -1, "libfaac", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".m4a", "", "", "", "", "", -1, "", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".ogg", "", "", "", "", "", -1, "libvorbis", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".ra", "", "", "", "", "", -1, "", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".ac3", "", "", "", "", "", -1, "ac3", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".aiff", "", "", "", "", "", -1, "", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".mp2", "", "", "", "", "", -1, "", 2, 44100, 128000, ttIgnore, ntAuto, true},
    {".flac", "", "", "", "", "", -1, "flac", 2, 48000, 128000, ttIgnore, ntAuto, true},
    {".amr", "", "", "", "", "", -1, "libopencore_amrnb", 1, 8000, 7400, ttIgnore, ntAuto, true},
    {".flv", "", "", "", "", "", -1, "libmp3lame", 2, 22050, 128000, ttIgnore, ntAuto, true},
    {".swf", "", "", "", "", "", -1, "libmp3lame", 2, 22050, 128000, ttIgnore, ntAuto, true},
};

void PrintTo(const TCatalogueCase& C, std::ostream* AOut)
{
    *AOut << C.Ext << " " << C.VideoCodec << "/" << C.AudioCodec << " target " << int(C.Target);
}

TOutputOptions RecordOf(const TCatalogueCase& C, const String& AName)
{
    TOutputOptions o;
    o.FileName = AName;
    o.VideoCodec = C.VideoCodec;
    o.VideoTag = C.VideoTag;
    o.FrameRate = C.FrameRate;
    o.FrameSize = C.FrameSize;
    o.FrameAspectRatio = C.Aspect;
    o.VideoBitrate = C.VideoBitrate;
    o.AudioCodec = C.AudioCodec;
    o.AudioChannels = C.Channels;
    o.AudioSampleRate = C.SampleRate;
    o.AudioBitrate = C.AudioBitrate;
    o.AudioVolume = 256;
    o.TargetType = C.Target;
    o.NormType = C.Norm;
    o.DisableVideo = C.NoVideo;
    if (o.VideoCodec == "libx264") o.VideoPreset = "libx264-default";
    return o;
}

}  // namespace

class TranscoderCatalogue : public ::testing::TestWithParam<TCatalogueCase> {};

TEST_P(TranscoderCatalogue, OutputOpensAndItsEncodersStart)
{
    const TCatalogueCase& c = GetParam();
    ExpectOutputOpens(RecordOf(c, enginetest::ScratchFolder() + "out" + c.Ext), c.NoVideo ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(Presets, TranscoderCatalogue, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TCatalogueCase>& I) {
                             return std::to_string(I.index) + "_" + String(I.param.Ext + 1);
                         });
