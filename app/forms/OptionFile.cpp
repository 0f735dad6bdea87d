#include "app/forms/OptionFile.h"

#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"

#include <unistd.h>

namespace {

constexpr const char* FileName = "option.ini";

String ConfigFolder() { return XdgConfigFolder() + ProgramName() + "/"; }

// The value's index in AKnown, or -1.
int KnownIndex(const String& AValue, std::initializer_list<const char*> AKnown)
{
    int i = 0;
    for (const char* k : AKnown) {
        if (AValue == k) return i;
        ++i;
    }
    return -1;
}

// One key of "Options": its value's index among AKnown; a missing or unknown value is
// replaced in the file by ADefault, whose index is returned.
int ReadChoice(const char* AKey, std::initializer_list<const char*> AKnown, int ADefault)
{
    const String value = ReadOption(OptionKeys::Options, AKey);
    if (!OptionValueMissing(value)) {
        int index = KnownIndex(value, AKnown);
        if (index >= 0) return index;
    }
    WriteOption(OptionKeys::Options, AKey, std::data(AKnown)[ADefault]);
    return ADefault;
}

}  // namespace

String OptionFileName()
{
    const String beside = ProgramFolder() + FileName;
    if (access(ProgramFolder().c_str(), W_OK) == 0) return beside;
    if (FileExists(beside) && access(beside.c_str(), W_OK) == 0) return beside;
    return ConfigFolder() + FileName;
}

bool OptionFileExists() { return FileExists(OptionFileName()); }

String ReadOption(const String& ASection, const String& AKey)
{
    TIniFile ini(OptionFileName());
    return ini.ReadString(ASection, AKey, OptionMissing);
}

bool WriteOption(const String& ASection, const String& AKey, const String& AValue)
{
    const String name = OptionFileName();
    try {
        if (name.rfind(ProgramFolder(), 0) != 0) ForceDirectories(ConfigFolder());
        TIniFile ini(name);
        ini.WriteString(ASection, AKey, AValue);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool OptionValueMissing(const String& AValue) { return AValue.empty() || AValue == OptionMissing; }

String DefaultOutputFolder() { return HomeFolder() + "澄枫视频软件/输出"; }

String DefaultSnapshotFolder() { return HomeFolder() + "澄枫视频软件/快照"; }

bool IsUsableFolderPath(const String& APath) { return !APath.empty() && APath[0] == '/'; }

bool MakeFolder(const String& APath)
{
    if (DirectoryExists(APath)) return true;
    try {
        ForceDirectories(APath);
    } catch (const Exception&) {
    }
    return DirectoryExists(APath);
}

TConversionOptions ReadConversionOptions()
{
    using namespace OptionKeys;
    TConversionOptions result;
    if (!OptionFileExists()) {
        // A missing file gets the defaults, written in the table's order; the controls
        // show what is written.
        WriteOption(Options, ThreadCount, "0");
        WriteOption(Options, AfterDone, "0");
        WriteOption(Options, ShowPreview, "0");
        WriteOption(Options, ThreadPriority, "3");
        WriteOption(Options, OverwriteFile, "1");
        return result;
    }
    // The stored thread count "1" to "19" selects its item; "0" (the first start's value)
    // or anything else shows the first item and stays in the file until the next "确定".
    const String threads = ReadOption(Options, ThreadCount);
    if (OptionValueMissing(threads)) WriteOption(Options, ThreadCount, "0");
    else {
        const int count = StrToIntDef(threads, 0);
        if (count >= 1 && count <= 19 && IntToStr(count) == threads) result.ThreadCountIndex = count - 1;
    }
    result.AfterDone = ReadChoice(AfterDone, {"0", "1", "2", "3"}, 0);
    result.ShowPreview = ReadChoice(ShowPreview, {"0", "1"}, 0) == 1;
    result.ThreadPriority = ReadChoice(ThreadPriority, {"0", "1", "2", "3"}, 3);
    result.OverwriteFile = ReadChoice(OverwriteFile, {"0", "1"}, 1);
    return result;
}

void WriteConversionOptions(const TConversionOptions& AOptions, const String& AThreadCountText)
{
    using namespace OptionKeys;
    WriteOption(Options, ThreadCount, AThreadCountText);
    WriteOption(Options, AfterDone, IntToStr(AOptions.AfterDone));
    WriteOption(Options, ShowPreview, AOptions.ShowPreview ? "1" : "0");
    WriteOption(Options, ThreadPriority, IntToStr(AOptions.ThreadPriority));
    WriteOption(Options, OverwriteFile, IntToStr(AOptions.OverwriteFile));
}
