// The settings file "option.ini" and the rules by which the program reads it.
//
// The file lies in the program's folder, or in $XDG_CONFIG_HOME/<program>/ when the
// program's folder cannot be written.  Every read and every write opens the file anew
// (the platform's TIniFile), so a read always sees the file as it stands; writes are
// atomic, UTF-8 with LF line ends.  A missing key reads as "Error".
#pragma once

#include "platform/system/Types.h"

// Sections and keys of the file.
namespace OptionKeys {
inline constexpr const char* OutPath = "OutPath";  // section and key: the output folder
inline constexpr const char* Skin = "Skin";
inline constexpr const char* SetSkin = "SetSkin";
inline constexpr const char* Options = "Options";
inline constexpr const char* ThreadCount = "Thread_Count";
inline constexpr const char* AfterDone = "After_Done";
inline constexpr const char* ShowPreview = "Show_Preview";
inline constexpr const char* ThreadPriority = "Thread_Priority";
inline constexpr const char* OverwriteFile = "Overwrite_File";
inline constexpr const char* SnapShot = "SnapShot";
inline constexpr const char* SnapShotDir = "Dir";
inline constexpr const char* SnapShotPicture = "Picture";
}  // namespace OptionKeys

// What a read of a missing key gives.
inline constexpr const char* OptionMissing = "Error";

// The path of the settings file: beside the program when its folder is writable (or the
// file there already is), else under the user's configuration folder.
String OptionFileName();
bool OptionFileExists();
// The value of a key, "Error" when the file, the section or the key is missing.
String ReadOption(const String& ASection, const String& AKey);
// Writes a key (creating the file and, for the configuration folder, its folder).  False
// when the file could not be written; nothing is lost of what it held.
bool WriteOption(const String& ASection, const String& AKey, const String& AValue);
// A value that counts as not stored: empty or "Error".
bool OptionValueMissing(const String& AValue);

// $HOME/澄枫视频软件/输出 (no trailing "/").
String DefaultOutputFolder();
// $HOME/澄枫视频软件/快照.
String DefaultSnapshotFolder();
// A stored folder the program may take: an absolute path (a Windows path such as "C:\x"
// or a relative name is not one).
bool IsUsableFolderPath(const String& APath);
// Creates a folder with its parents; true when it exists afterwards.
bool MakeFolder(const String& APath);

// The conversion options of the section "Options", as the options dialog shows them.
struct TConversionOptions {
    int ThreadCountIndex = 0;   // item of "1" to "19"; the first for any other stored value
    int AfterDone = 0;          // 0 open the folder, 1 shut down, 2 sound, 3 nothing
    bool ShowPreview = false;
    int ThreadPriority = 3;     // 0 idle, 1 lowest, 2 lower, 3 normal
    int OverwriteFile = 1;      // 0 overwrite, 1 number the new name
};

// Reads the section "Options" by its rules: a missing file gets the five defaults
// (Thread_Count "0", After_Done "0", Show_Preview "0", Thread_Priority "3",
// Overwrite_File "1"); a missing key or a value the program does not know is replaced in
// the file by its default.  Keys are read, and written when missing, in that order.
TConversionOptions ReadConversionOptions();
// Writes the five keys (AThreadCountText is the thread-count box's text).
void WriteConversionOptions(const TConversionOptions& AOptions, const String& AThreadCountText);
