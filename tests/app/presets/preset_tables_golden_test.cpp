// Every row of the preset tables against a committed text dump (presets/golden/preset_tables.txt):
// the shared value lists, the catalogue, the option-list table, the parameter table and
// the settings dialog's catalogue, option rows and parameter rows.  A change to any cell
// shows as a differing line; with VC_UPDATE_GOLDEN set the test writes the dump instead,
// so that a deliberate change shows as a diff of the file.
#include "app/presets/PresetCatalogue.h"
#include "app/presets/PresetOptionLists.h"
#include "app/presets/PresetParams.h"
#include "app/presets/Unit6Tables.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const OptionNames[PresetOptionCount] = {"resolution",    "video-bitrate", "frame-rate",
                                                    "audio-bitrate", "sample-rate",   "aspect"};

// A text cell: quoted, or null for a cell that holds no text.
std::string Q(const char* AText)
{
    if (!AText) return "null";
    std::string s = "\"";
    for (const char* p = AText; *p; ++p) {
        if (*p == '"' || *p == '\\') s += '\\';
        s += *p;
    }
    return s + "\"";
}

std::string Bitrate(int32_t AValue) { return AValue == SettingsBitrateNotWritten ? "unwritten" : std::to_string(AValue); }

// The number of the shared value list that AItems is (0 for a list of its own).
int ListNumber(TPresetOption AOption, std::span<const char* const> AItems)
{
    for (int n = 1; !PresetValueList(AOption, n).empty(); ++n) {
        const auto list = PresetValueList(AOption, n);
        if (list.data() == AItems.data() && list.size() == AItems.size()) return n;
    }
    return 0;
}

// One option cell: list number, selected index and the text it selects.
std::string OptionCell(TPresetOption AOption, int AList, std::span<const char* const> AItems, int ADefault)
{
    std::ostringstream s;
    s << OptionNames[AOption] << '=';
    if (AList > 0) s << AList;
    else {
        s << '{';
        for (size_t i = 0; i < AItems.size(); ++i) s << (i ? "," : "") << Q(AItems[i]);
        s << '}';
    }
    s << '[' << ADefault;
    if (ADefault >= 0 && size_t(ADefault) < AItems.size()) s << ' ' << Q(AItems[size_t(ADefault)]);
    s << ']';
    return s.str();
}

std::string DumpPresetTables()
{
    std::ostringstream out;
    out << "# Preset tables, one line per list or row.  Texts stand in double quotes, null is no text.\n";

    out << "\n## value lists (option list-number: items)\n";
    int lists = 0;
    for (int o = 0; o < PresetOptionCount; ++o)
        for (int n = 1; !PresetValueList(TPresetOption(o), n).empty(); ++n, ++lists) {
            out << "list " << OptionNames[o] << ' ' << n << ':';
            for (const char* item : PresetValueList(TPresetOption(o), n)) out << ' ' << Q(item);
            out << '\n';
        }
    out << "lists: " << lists << '\n';

    out << "\n## catalogue (category index caption, then code caption)\n";
    int presets = 0;
    for (int c = 0; c < PresetCategoryCount; ++c) {
        const TPresetCategory* cat = PresetCategory(c);
        out << "category " << c << ' ' << Q(cat->Caption) << '\n';
        for (size_t p = 0; p < cat->Presets.size(); ++p, ++presets)
            out << "preset " << CategoryCode(c, int(p)) << ' ' << Q(cat->Presets[p]) << '\n';
    }
    out << "presets: " << presets << '\n';

    out << "\n## option rows (code: option=list[default \"text\"] ..., audio-only)\n";
    for (const TPresetOptionEntry& e : PresetOptionTable()) {
        out << "options " << e.Code << ':';
        for (int o = 0; o < PresetOptionCount; ++o) {
            const TPresetOptionList& l = e.Options[o];
            out << ' ' << OptionCell(TPresetOption(o), ListNumber(TPresetOption(o), l.Items), l.Items, l.Default);
        }
        out << " audio-only=" << (e.AudioOnly ? "yes" : "no") << '\n';
    }
    out << "option rows: " << PresetOptionTable().size() << '\n';

    out << "\n## parameter rows\n";
    for (const TPresetParams& p : PresetParamsTable())
        out << "params " << p.Code << ": ext=" << Q(p.OutputExt) << " file-ext=" << Q(p.FileExt)
            << " video-codec=" << Q(p.VideoCodec) << " tag=" << Q(p.VideoTag) << " rate=" << Q(p.FrameRate)
            << " size=" << Q(p.FrameSize) << " aspect=" << Q(p.FrameAspectRatio) << " video-bitrate=" << p.VideoBitrate
            << " audio-codec=" << Q(p.AudioCodec) << " channels=" << Q(p.AudioChannels)
            << " sample-rate=" << Q(p.AudioSampleRate) << " audio-bitrate=" << p.AudioBitrate
            << " target=" << Q(p.TargetType) << " norm=" << Q(p.NormType)
            << " no-video=" << (p.DisableVideo ? "yes" : "no") << '\n';
    out << "parameter rows: " << PresetParamsTable().size() << '\n';

    out << "\n## settings dialog catalogue (category index caption image, then code title description)\n";
    int settingsPresets = 0;
    for (int c = 0; c < SettingsCategoryCount; ++c) {
        const TSettingsCategory* cat = SettingsCategory(c);
        out << "settings category " << c << ' ' << Q(cat->Caption) << " image=" << cat->ImageIndex << '\n';
        for (size_t p = 0; p < cat->Presets.size(); ++p, ++settingsPresets)
            out << "settings preset " << CategoryCode(c, int(p)) << ' ' << Q(cat->Presets[p].Title) << ' '
                << Q(cat->Presets[p].Description) << '\n';
    }
    out << "settings presets: " << settingsPresets << '\n';

    out << "\n## settings dialog option rows\n";
    for (const TSettingsOptionRow& r : SettingsOptionRows()) {
        out << "settings options " << r.Code << ':';
        for (int o = 0; o < PresetOptionCount; ++o) {
            const TSettingsOptionCell& c = r.Cells[o];
            out << ' ' << OptionCell(TPresetOption(o), c.List, PresetValueList(TPresetOption(o), c.List), c.Default);
        }
        out << " audio-only=" << (r.AudioOnly ? "yes" : "no") << '\n';
    }
    out << "settings option rows: " << SettingsOptionRows().size() << '\n';

    out << "\n## settings dialog parameter rows (null: not written; bitrates: unwritten)\n";
    for (const TSettingsParams& p : SettingsParamsRows())
        out << "settings params " << p.Code << ": ext=" << Q(p.Ext) << " file-ext=" << Q(p.FileExt)
            << " video-codec=" << Q(p.VideoCodec) << " tag=" << Q(p.VideoTag) << " rate=" << Q(p.FrameRate)
            << " aspect=" << Q(p.FrameAspectRatio) << " size=" << Q(p.FrameSize)
            << " video-bitrate=" << Bitrate(p.VideoBitrate) << " filters=" << Q(p.VideoFilters)
            << " audio-codec=" << Q(p.AudioCodec) << " channels=" << Q(p.AudioChannels)
            << " sample-rate=" << Q(p.AudioSampleRate) << " volume=" << Q(p.AudioVolume)
            << " audio-bitrate=" << Bitrate(p.AudioBitrate) << " norm=" << Q(p.NormType)
            << " copy-timestamp=" << Q(p.CopyTimestamp) << " file-format=" << Q(p.FileFormat)
            << " target=" << Q(p.TargetType) << " no-video=" << (p.DisableVideo ? "yes" : "no") << '\n';
    out << "settings parameter rows: " << SettingsParamsRows().size() << '\n';
    return out.str();
}

std::vector<std::string> Lines(const std::string& AText)
{
    std::vector<std::string> lines;
    std::istringstream in(AText);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(PresetTablesGolden, EveryRowMatchesTheDump)
{
    const std::filesystem::path path = std::filesystem::path(VC_SOURCE_DIR) / "tests/app/presets/golden/preset_tables.txt";
    const std::string dump = DumpPresetTables();
    if (std::getenv("VC_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << dump;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no dump " << path << " (write it with VC_UPDATE_GOLDEN=1)";
    const std::string golden{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (golden == dump) return;
    const auto want = Lines(golden), have = Lines(dump);
    size_t i = 0;
    while (i < want.size() && i < have.size() && want[i] == have[i]) ++i;
    ADD_FAILURE() << "the tables differ from " << path << " at line " << i + 1 << "\n  file: "
                  << (i < want.size() ? want[i] : "(end of file)") << "\n  code: "
                  << (i < have.size() ? have[i] : "(end of tables)")
                  << "\n(rewrite the file with VC_UPDATE_GOLDEN=1 when the change is meant)";
}

// The dump covers every list and row the tables have.
TEST(PresetTablesGolden, DumpHoldsEveryTable)
{
    const std::string dump = DumpPresetTables();
    for (const char* count : {"\nlists: 55\n", "\npresets: 222\n", "\noption rows: 222\n", "\nparameter rows: 222\n",
                              "\nsettings presets: 109\n"})
        EXPECT_NE(dump.find(count), std::string::npos) << count;
}

}  // namespace
