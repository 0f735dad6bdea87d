// Every preset of the catalogue opens in the engine: its parameters, applied as an added
// file's are (table entry, then the option boxes' defaults over six of them), become an
// output record; the transcoder opens the output, starts every encoder and writes the
// header.  No conversion runs.
#include "app/presets/PresetOutput.h"
#include "app/presets/PresetOptionLists.h"
#include "support/transcoder_support.h"

using namespace transcodertest;

namespace {

// The fields an add gives a file: the table's entry, then the option defaults' texts
// over frame size, frame rate, video bitrate, sample rate, audio bitrate and aspect.
TPresetFields AddedFields(int ACode, bool AWithOptionDefaults)
{
    TPresetFields f;
    ApplyPresetParams(*FindPresetParams(ACode), f);
    if (AWithOptionDefaults) {
        const TPresetOptionEntry& e = *FindPresetOptionLists(ACode);
        auto text = [&](TPresetOption o) { return String(e.Options[o].Items[size_t(e.Options[o].Default)]); };
        f.Video_FrameSize = FrameSizeFromText(text(poResolution));
        f.Video_FrameRate = FrameRateFromText(text(poFrameRate));
        f.Video_VideoBitrate = VideoBitrateFromText(text(poVideoBitrate));
        f.Video_AudioSampleRate = SampleRateFromText(text(poSampleRate));
        f.Video_AudioBitrate = AudioBitrateFromText(text(poAudioBitrate));
        f.Video_FrameAspectRatio = AspectFromText(text(poAspect), f.Video_FrameAspectRatio);
    }
    return f;
}

void OpenPreset(int ACode, bool AWithOptionDefaults)
{
    const TPresetParams& p = *FindPresetParams(ACode);
    TOutputOptions o;
    PresetFieldsToOutputOptions(AddedFields(ACode, AWithOptionDefaults), o);
    o.FileName = enginetest::ScratchFolder() + "out" + p.OutputExt;
    ExpectOutputOpens(o, p.DisableVideo ? 1u : 2u);
}

std::vector<int> AllCodes()
{
    std::vector<int> codes;
    for (const TPresetParams& p : PresetParamsTable()) codes.push_back(p.Code);
    return codes;
}

}  // namespace

class PresetsEngine : public ::testing::TestWithParam<int> {};

TEST_P(PresetsEngine, TableValuesOpen) { OpenPreset(GetParam(), false); }
TEST_P(PresetsEngine, OptionDefaultsOpen) { OpenPreset(GetParam(), true); }

INSTANTIATE_TEST_SUITE_P(Catalogue, PresetsEngine, ::testing::ValuesIn(AllCodes()),
                         [](const ::testing::TestParamInfo<int>& I) { return std::to_string(I.param); });
