// Every preset of the catalogue converts: a short generated clip is added through the add
// road with the preset chosen in the two pickers and its option boxes at their defaults,
// the batch is started (the engine's task rebuilt from the row), and ffprobe reads the
// output back with the container and codecs the preset names: the table's encoder after
// the engine's aliases, the muxer's own where the table names none, the disc target's,
// or the container's own where the container refuses the table's (Substitutions).
#include "forms/add_batch_support.h"

#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOutput.h"
#include "app/presets/PresetParams.h"
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"

#include <map>

using namespace addbatch;

namespace {

namespace fs = std::filesystem;

// A clip of 0.4 s: 320x240 video at 25 fps (mpeg4) with a stereo tone at 44100 Hz (mp2),
// made once and shared by every test process.
String SweepClip()
{
    static const String folder = enginetest::GeneratedFolder(
        fs::read_symlink("/proc/self/exe").parent_path().string() + "/preset_sweep_media/", [](const String& ADir) {
            enginetest::RunFFmpeg("-f lavfi -i testsrc=s=320x240:r=25:d=0.4 -f lavfi -i sine=f=440:d=0.4:r=44100 "
                                  "-ac 2 -c:v mpeg4 -c:a mp2 -shortest",
                                  ADir + "clip.avi");
        });
    return folder + "clip.avi";
}

// The container ffprobe names for an output extension.
const std::map<String, String> ContainerOfExt = {
    {".avi", "avi"},   {".mp4", "mov,mp4,m4a,3gp,3g2,mj2"}, {".mov", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".3gp", "mov,mp4,m4a,3gp,3g2,mj2"}, {".3g2", "mov,mp4,m4a,3gp,3g2,mj2"}, {".m4a", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".mkv", "matroska,webm"}, {".mpg", "mpeg"}, {".mpeg", "mpeg"}, {".vob", "mpeg"},
    {".asf", "asf"},   {".wmv", "asf"},   {".wma", "asf"},   {".rm", "rm"},     {".ra", "rm"},
    {".flv", "flv"},   {".swf", "swf"},   {".mp3", "mp3"},   {".wav", "wav"},   {".aac", "aac"},
    {".ogg", "ogg"},   {".ac3", "ac3"},   {".aiff", "aiff"}, {".mp2", "mp3"},   {".flac", "flac"},
    {".amr", "amr"},
};

// The codecs ffprobe names for what a disc target writes.
const std::map<String, std::pair<String, String>> DiscCodecs = {
    {"vcd", {"mpeg1video", "mp2"}}, {"svcd", {"mpeg2video", "mp2"}}, {"dvd", {"mpeg2video", "ac3"}},
};

// Codecs the container refuses and the container's own codec the engine writes instead:
// MPEG program streams (".mpg", ".vob") carry no AAC, so they get MPEG audio layer 2.
const std::map<std::pair<String, String>, String> Substitutions = {
    {{".mpg", "libfaac"}, "mp2"},
    {{".vob", "libfaac"}, "mp2"},
};

// The codec ffprobe names for an encoder of the table, after the engine's aliases.
String CodecOfEncoder(const String& AEncoder)
{
    const AVCodec* codec = AV.avcodec_find_encoder_by_name(CodecAlias(AEncoder).c_str());
    return codec ? String(AV.avcodec_get_name(codec->id)) : "(no encoder " + AEncoder + ")";
}

// The codec of a kind the muxer of AFileName chooses itself.
String DefaultCodec(const String& AFileName, AVMediaType AType)
{
    const AVOutputFormat* format = AV.av_guess_format(nullptr, AFileName.c_str(), nullptr);
    if (!format) return "(no muxer for " + AFileName + ")";
    return AV.avcodec_get_name(AV.av_guess_codec(format, nullptr, AFileName.c_str(), nullptr, AType));
}

// The expected streams, "video=<codec> audio=<codec>" or "audio=<codec>", for the
// preset's output AOutput with the extension AExt.
String ExpectedStreams(const TPresetParams& P, const String& AOutput, const String& AExt)
{
    String video, audio;
    if (*P.TargetType) {
        std::tie(video, audio) = DiscCodecs.at(P.TargetType);
    } else {
        video = *P.VideoCodec ? CodecOfEncoder(P.VideoCodec) : DefaultCodec(AOutput, AVMEDIA_TYPE_VIDEO);
        audio = *P.AudioCodec ? CodecOfEncoder(P.AudioCodec) : DefaultCodec(AOutput, AVMEDIA_TYPE_AUDIO);
        if (auto s = Substitutions.find({AExt, P.AudioCodec}); s != Substitutions.end()) audio = s->second;
    }
    return P.DisableVideo ? "audio=" + audio : "video=" + video + " audio=" + audio;
}

// The container and streams ffprobe reads from AFile, in the form of ExpectedStreams
// (video before audio, other streams left out).
std::pair<String, String> Probe(const String& AFile)
{
    const String text = enginetest::FFprobe("-show_entries format=format_name:stream=codec_type,codec_name "
                                            "-of default=noprint_wrappers=1",
                                            AFile);
    String container, video, audio, codec, streams;
    std::istringstream lines(text);
    for (String line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq == String::npos) continue;
        const String key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") codec = value;
        else if (key == "codec_type" && value == "video") video += " video=" + codec;
        else if (key == "codec_type" && value == "audio") audio += " audio=" + codec;
        else if (key == "format_name") container = value;
    }
    streams = video + audio;
    return {container, streams.empty() ? streams : streams.substr(1)};
}

std::vector<int> AllCodes()
{
    std::vector<int> codes;
    for (const TPresetParams& p : PresetParamsTable()) codes.push_back(p.Code);
    return codes;
}

class PresetSweep : public AddBatchTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        AddBatchTest::SetUp();
        ASSERT_TRUE(enginetest::LoadLibraries());
    }
};

TEST_P(PresetSweep, AClipConvertsToThePresetsContainerAndCodecs)
{
    const TPresetParams& p = *FindPresetParams(GetParam());
    const String clip = SweepClip();
    ASSERT_TRUE(ChoosePresetCode(p.Code));
    ASSERT_NO_FATAL_FAILURE(ConvertOne(clip));

    // The output is named with the extension the chosen preset shows in its caption.
    const int preset = Form->bsSkinOfficeComboBox1->ItemIndex();
    const String ext = PresetExtFromCaption(Form->bsSkinOfficeComboBox1->Items()->Items(preset)->Caption());
    const String output = Form->FileOutPutPath + "/" + Column(0, jcOutputFile);
    EXPECT_EQ(OutputNamePart(output), "clip" + ext);
    ASSERT_TRUE(fs::exists(output)) << output;
    const auto [container, streams] = Probe(output);
    EXPECT_EQ(container, ContainerOfExt.at(ext));
    EXPECT_EQ(streams, ExpectedStreams(p, output, ext));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, PresetSweep, ::testing::ValuesIn(AllCodes()),
                         [](const ::testing::TestParamInfo<int>& I) { return std::to_string(I.param); });

}  // namespace
