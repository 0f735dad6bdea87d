// The settings dialog's own preset tables, an older twelve-category copy of the preset
// machinery: its catalogue (12 categories, 109 presets, each with a title and a one-line
// description), its option-list rows (which name the shared value lists) and its
// parameter rows.  A preset is known by its category code, (category index + 1) * 100 +
// preset index, 100 to 1203.
#pragma once

#include "app/presets/PresetOptionLists.h"
#include "app/presets/PresetParams.h"

#include <cstdint>
#include <span>

constexpr int SettingsCategoryCount = 12;
constexpr int SettingsPresetCount = 109;

struct TSettingsPreset {
    const char* Title;        // the format label, shown in bold
    const char* Description;  // one line on the format or device preset
};

struct TSettingsCategory {
    const char* Caption;
    int ImageIndex;  // picture of the category box's image list
    std::span<const TSettingsPreset> Presets;
};

// Category AIndex (0 to 11); nullptr outside.
const TSettingsCategory* SettingsCategory(int AIndex);

// One box of an option-list row: the number (1 first) of one of the shared value lists
// of that box (PresetValueList) and the position selected first.
struct TSettingsOptionCell {
    int8_t List;
    int8_t Default;
};

struct TSettingsOptionRow {
    int Code;
    TSettingsOptionCell Cells[PresetOptionCount];  // indexed by TPresetOption
    bool AudioOnly;
};

// Every row in code order; the row of a code, nullptr for a code without one.
std::span<const TSettingsOptionRow> SettingsOptionRows();
const TSettingsOptionRow* FindSettingsOptionRow(int ACode);

// A bitrate cell that the row does not write.
constexpr int32_t SettingsBitrateNotWritten = INT32_MIN;

// One parameter row.  A string cell that is nullptr is not written (the field keeps
// what it held), "" writes the empty string; a FileExt of "=" writes the row's Ext.
struct TSettingsParams {
    int Code;
    const char* Ext;  // extension of the output name, with its "."
    const char* FileExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameRate;
    const char* FrameAspectRatio;
    const char* FrameSize;
    int32_t VideoBitrate;
    const char* VideoFilters;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    const char* AudioVolume;
    int32_t AudioBitrate;
    const char* NormType;
    const char* CopyTimestamp;
    const char* FileFormat;
    const char* TargetType;
    bool DisableVideo;  // an audio-only preset
};

// Every row in code order; the row of a code, nullptr for a code without one.
std::span<const TSettingsParams> SettingsParamsRows();
const TSettingsParams* FindSettingsParams(int ACode);
