// The preset option-list table: for each preset, the values offered by the six option
// boxes (resolution, video bitrate, frame rate, audio bitrate, sample rate, aspect) with
// the default of each, and the audio-only flag; the routine that fills the boxes; and the
// rules that turn a box's text into a preset parameter.
#pragma once

#include "app/presets/PresetControls.h"
#include "app/presets/PresetParams.h"
#include "platform/system/Types.h"

#include <cstdint>
#include <span>

// The option boxes, in the order in which the fill applies them (also the order of their
// job-row columns 16 to 21).
enum TPresetOption : int { poResolution, poVideoBitrate, poFrameRate, poAudioBitrate, poSampleRate, poAspect };
constexpr int PresetOptionCount = 6;

// One box's offer: its value list and the index selected first.
struct TPresetOptionList {
    std::span<const char* const> Items;
    int Default;
};

struct TPresetOptionEntry {
    int Code;
    TPresetOptionList Options[PresetOptionCount];  // indexed by TPresetOption
    bool AudioOnly;  // resolution, video bitrate, frame rate and aspect offer no video
};

// The entry of a category code; nullptr for a code outside the catalogue.
const TPresetOptionEntry* FindPresetOptionLists(int ACode);
// Value list ANumber (1 first) of an option box's lists, as the entries use them
// (resolution 1 to 20, video bitrate 1 to 12, frame rate 1 to 8, audio bitrate 1 to 6,
// sample rate 1 to 6, aspect 1 to 3); empty for a number without a list.
std::span<const char* const> PresetValueList(TPresetOption AOption, int ANumber);
// Every entry, in code order.
std::span<const TPresetOptionEntry> PresetOptionTable();

// The six option boxes of a window.
struct TPresetOptionBoxes {
    TPresetOptionBox* Resolution;    // bsSkinComboBox1
    TPresetOptionBox* VideoBitrate;  // bsSkinComboBox2
    TPresetOptionBox* AudioBitrate;  // bsSkinComboBox3
    TPresetOptionBox* Aspect;        // bsSkinComboBox4
    TPresetOptionBox* FrameRate;     // bsSkinComboBox9
    TPresetOptionBox* SampleRate;    // bsSkinComboBox10

    TPresetOptionBox* Box(TPresetOption AOption) const;
};

// The fill ("根据combox添加预设选项"): clears and enables the six boxes, then, when ACode
// has an entry, fills them in fill order, each with its list and then its default (which
// runs the box's change handler when its shown text changes), and disables the four
// video boxes of an audio-only entry.  A code without an entry leaves them empty.
void FillPresetOptions(const TPresetOptionBoxes& ABoxes, int ACode);
// The same fill over a given entry (nullptr: the boxes are left empty and enabled).
void FillPresetOptions(const TPresetOptionBoxes& ABoxes, const TPresetOptionEntry* AEntry);

// The text rules shared by the option handlers and the option overrides.
String FrameSizeFromText(const String& AText);     // "保持原分辨率"/"该格式无视频": empty
String FrameRateFromText(const String& AText);     // "保持原帧速率"/"无视频": empty
int32_t VideoBitrateFromText(const String& AText);  // "无视频": -1000; "816 kbps": 816000
// "128 kbps": 128000; "4.75 kbps": 4750 (read with "." whatever the locale); "自动音频比特率": -1000
int32_t AudioBitrateFromText(const String& AText);
String SampleRateFromText(const String& AText);    // the text itself; "自动音频采样率": "AUTO"
// The aspect of a mode text; a text that names no mode leaves ACurrent.
String AspectFromText(const String& AText, const String& ACurrent);
// Sets AOption's preset parameter field from a box's text by the rules above and returns
// the field as its job-row column shows it (bitrates in decimal).
String ApplyOptionText(TPresetOption AOption, const String& AText, TPresetFields& AFields);
// The job-row column that stores AOption's parameter (16 to 21).
TJobColumn OptionColumn(TPresetOption AOption);

// A disc target keeps its standard: when AFields carry a VCD, SVCD or DVD target, the
// frame size, frame rate, video bitrate, audio bitrate and sample rate boxes showing the
// default item of AEntry's list (the item the fill selected) leave the target's own value,
// so those parameters are not set; an item the user chose instead is applied as it stands.
// Aspect and every option of a preset without a target follow ApplyOptionText alone.
bool KeepsTargetStandard(const TPresetOptionEntry* AEntry, const TPresetFields& AFields, TPresetOption AOption,
                         int AIndex);
// ApplyOptionText for item AIndex showing AText, or, where the target keeps its standard,
// the parameter left not set; returns the field as its job-row column shows it.
String ApplyOptionChoice(const TPresetOptionEntry* AEntry, TPresetOption AOption, int AIndex, const String& AText,
                         TPresetFields& AFields);

// The option code of a job row: six two-digit item indices in the order resolution,
// video bitrate, audio bitrate, aspect, frame rate, sample rate.
String BuildOptionCode(const TPresetOptionBoxes& ABoxes);
// Character position (0-based) of an option's two digits in the option code.
int OptionCodePosition(TPresetOption AOption);
// AIndex as two digits ("0" before 0 to 9), limited to 0 to 99.
String OptionDigits(int AIndex);
// AOldCode (made twelve characters, "0" filling) with AOption's digits replaced.
String SetOptionCodeDigits(const String& AOldCode, TPresetOption AOption, int AIndex);
