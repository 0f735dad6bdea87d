// The preset parameter table: for each preset of the catalogue, the output extension and
// the encoder parameters of a conversion with it; and the preset parameter fields that
// the main window keeps for the file being added or the selected preset.
#pragma once

#include "platform/system/Types.h"

#include <cstdint>
#include <span>

// A bitrate that is not set (video bitrate of a disc target or of no video).
constexpr int32_t PresetBitrateNotSet = -1000;

// The main window's preset parameter fields.  An empty text is not set; the reset leaves
// the texts empty except the volume ("256", unchanged), both bitrates -1 and no video off.
struct TPresetFields {
    String Video_AddFileName;     // full path of the input being added (kept by the reset)
    String Video_OutPutFileName;  // output path of the input being added
    String Video_FileExt;
    String Video_VideoCodec;
    String Video_AudioCodec;
    String Video_AudioChannels;
    String Video_VideoTag;
    String Video_FrameSize;       // width "*" height
    String Video_FrameRate;
    String Video_AudioSampleRate;
    String Video_FrameAspectRatio;
    String Video_TargetType;      // "dvd", "svcd", "vcd"
    String Video_NormType;        // "PAL"
    String Video_VideoFilters;
    String Video_AudioVolume = "256";
    String Video_CopyTimestamp;
    String Video_FileFormat;
    int32_t Video_VideoBitrate = -1;  // bits per second
    int32_t Video_AudioBitrate = -1;
    int32_t Video_TimeStart = -1;
    int32_t Video_TimeLength = -1;
    bool Video_DisableVideo = false;  // the output is audio only

    // The reset ("初始化数据"): every field as above except Video_AddFileName.
    void Reset();
};

// One entry of the parameter table.
struct TPresetParams {
    int Code;
    const char* OutputExt;  // extension of the output name, with its "."
    const char* FileExt;    // Video_FileExt
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameRate;
    const char* FrameSize;
    const char* FrameAspectRatio;
    int32_t VideoBitrate;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int32_t AudioBitrate;
    const char* TargetType;
    const char* NormType;
    bool DisableVideo;
};

// The entry of a category code; nullptr for a code outside the catalogue.
const TPresetParams* FindPresetParams(int ACode);
// Every entry, in code order.
std::span<const TPresetParams> PresetParamsTable();

// Writes an entry's values into the fields (every preset parameter field; the volume
// "256", filters, timestamps and file format empty).  The output name, the input name and
// the times are left alone.
void ApplyPresetParams(const TPresetParams& AParams, TPresetFields& AFields);
