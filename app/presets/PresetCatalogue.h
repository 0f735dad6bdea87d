// The preset catalogue: 24 categories of output presets, 222 presets in all, and the
// routine that fills a preset box with the presets of one category.
//
// A preset is known by its category code, (category index + 1) * 100 + preset index,
// 100 to 2414; the option-list table and the parameter table are keyed by it.
#pragma once

#include "app/presets/PresetControls.h"
#include "platform/system/Types.h"

#include <span>

constexpr int PresetCategoryCount = 24;
constexpr int PresetTotalCount = 222;

struct TPresetCategory {
    const char* Caption;
    std::span<const char* const> Presets;  // captions in catalogue order
};

// Category AIndex (0 to 23); nullptr outside.
const TPresetCategory* PresetCategory(int AIndex);
// Number of presets of a category (0 outside 0 to 23).
int PresetCount(int ACategoryIndex);

// (category index + 1) * 100 + preset index.
constexpr int CategoryCode(int ACategoryIndex, int APresetIndex) { return (ACategoryIndex + 1) * 100 + APresetIndex; }
constexpr int CategoryIndexOfCode(int ACode) { return ACode / 100 - 1; }
constexpr int PresetIndexOfCode(int ACode) { return ACode % 100; }
// True for the 222 codes of the catalogue.
bool IsPresetCode(int ACode);
// The caption of a preset; empty for a code outside the catalogue.
String PresetCaption(int ACode);

// The output extension a caption names at its end: the four characters before the
// caption's last one, "*.rm"/"*.ra" giving ".rm"/".ra" and "flac"/"aiff" ".flac"/".aiff".
String PresetExtFromCaption(const String& ACaption);

// The catalogue routine ("添加combox"): replaces the entries of APresetBox by the presets
// of category ACategoryIndex, captions as listed, picture index alternating 0 and 1, then
// selects entry 0 (which runs the preset box's change handler).  For an index outside 0
// to 23 the box is left empty and nothing is selected.
void FillPresetCatalogue(TPresetChoiceBox& APresetBox, int ACategoryIndex);
