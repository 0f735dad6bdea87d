// The output file of a preset: the parameter routine's head (reset, table entry, first
// form of the output name), the output path rule ("_N" when the file exists and
// overwriting is off), the copy of the fields into the selected job row, and the copy of
// the fields into a task's output options.
#pragma once

#include "app/presets/PresetControls.h"
#include "app/presets/PresetParams.h"
#include "engine/transcode/TaskOptions.h"

// The file-name part of a path: what follows its last "/".
String OutputNamePart(const String& APath);

// The extension of a file name from its last ".", with the dot; empty without one.
String OutputNameExt(const String& AName);

// The file-name part of APath with its extension (from its last ".") replaced by AExt, or
// AExt appended when it has none.
String ChangeOutputExt(const String& APath, const String& AExt);

// First form of the output name: AFolderText + "/" + the input's file name with AExt.
String ComposeOutputName(const String& AFolderText, const String& AInputFile, const String& AExt);

// True when APath names an entry that is not a folder.  A path that cannot be queried
// for another reason than a missing entry (a folder without search permission) is looked
// up in its folder's listing.  Nothing is created.
bool OutputFileExists(const String& APath);

// The output path rule: the extension and stem come from AName itself; the candidate is
// AFolderText + "/" + stem + extension.  When it exists and AOverwrite is off, the first
// stem + "_" + N + extension (N = 1, 2, ...) that does not exist is taken instead.
String SettleOutputPath(const String& AName, const String& AFolderText, bool AOverwrite);

// The head and the path of the parameter routine ("根据combox添加数据") without the job
// row: resets the fields (keeping the input name), applies the entry of ACode with the
// output name composed from AFields.Video_AddFileName, then settles the output path.  A
// code without an entry leaves the fields reset and the output name empty.
void ApplyPresetCode(int ACode, TPresetFields& AFields, const String& AFolderText, bool AOverwrite);

// Writes the fields into columns 11 to 24 of the selected job row (nothing without one).
void WritePresetColumns(const TPresetFields& AFields, TPresetJobList& AJobList);

// Sets an output record from the fields as a new job's output options take them: texts
// only when not empty, "libx264" with its encoder preset "libx264-default", the disc
// target and norm, the volume, bitrates unless not set, and the no-video switch.
void PresetFieldsToOutputOptions(const TPresetFields& AFields, TOutputOptions& AOptions);
