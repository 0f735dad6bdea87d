// Targets (VCD, SVCD, DVD, DV) and encoder presets (36 built-in x264 presets or files).
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLogger.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// ---------------------------------------------------------------------------------
// Built-in x264 presets.  Each is written as it was tuned for the x264 wrapper of older
// FFmpeg releases (22 lines of "libx264-default", derived presets replacing some of
// them), then translated line by line into the option names and values of the current
// wrapper: "directpred" is "direct-pred", the "flags2" switches are separate private
// options, "partitions" is a list, and "cqp" is "qp".

const char* const DefaultLines[] = {
    "coder=1", "flags=+loop", "cmp=+chroma", "partitions=+parti8x8+parti4x4+partp8x8+partb8x8",
    "me_method=hex", "subq=7", "me_range=16", "g=250", "keyint_min=25", "sc_threshold=40",
    "i_qfactor=0.71", "b_strategy=1", "qcomp=0.6", "qmin=10", "qmax=51", "qdiff=4", "bf=3",
    "refs=3", "directpred=1", "trellis=1", "flags2=+mixed_refs+wpred+dct8x8+fastpskip", "wpredp=2"};

// A preset: either its own lines, or the default lines with some values replaced.
struct TPresetSource {
    const char* Name;
    bool FromDefault;
    const char* Lines;  // comma-free list of "key=value" separated by blanks
};

const TPresetSource PresetSources[] = {
    {"libx264-baseline", false, "coder=0 bf=0 flags2=-wpred-dct8x8 wpredp=0"},
    {"libx264-default", true, ""},
    {"libx264-fast", true, "subq=6 refs=2 flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip"},
    {"libx264-fast_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"},
    {"libx264-faster", true, "subq=4 refs=2 flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip wpredp=1"},
    {"libx264-faster_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip wpredp=1"},
    {"libx264-fastfirstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8 me_method=dia subq=2 refs=1 directpred=3 "
     "trellis=0 flags2=-bpyramid-wpred-mixed_refs-dct8x8+fastpskip wpredp=2"},
    {"libx264-hq", true, "me_method=umh subq=8 b_strategy=2 refs=4 directpred=3 flags2=+wpred+mixed_refs+dct8x8+fastpskip"},
    {"libx264-ipod320", false, "coder=0 bf=0 flags2=-wpred-dct8x8 level=13 maxrate=768000 bufsize=3000000 wpredp=0"},
    {"libx264-ipod640", false,
     "coder=0 bf=0 refs=1 flags2=-wpred-dct8x8 level=30 maxrate=10000000 bufsize=10000000 wpredp=0"},
    {"libx264-lossless_fast", false,
     "coder=0 flags=+loop cmp=+chroma partitions=-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8 me_method=hex "
     "subq=3 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 directpred=1 flags2=+fastpskip cqp=0 wpredp=0"},
    {"libx264-lossless_max", false,
     "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 me_method=esa "
     "subq=8 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 refs=16 directpred=1 flags2=+mixed_refs+dct8x8+fastpskip cqp=0 wpredp=2"},
    {"libx264-lossless_medium", false,
     "coder=1 flags=+loop cmp=+chroma partitions=-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 me_method=hex "
     "subq=5 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 directpred=1 flags2=+fastpskip cqp=0 wpredp=2"},
    {"libx264-lossless_slow", false,
     "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 me_method=umh "
     "subq=6 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 refs=2 directpred=1 flags2=+dct8x8+fastpskip cqp=0 wpredp=2"},
    {"libx264-lossless_slower", false,
     "coder=1 flags=+loop cmp=+chroma partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8 me_method=umh "
     "subq=8 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 refs=4 directpred=1 flags2=+mixed_refs+dct8x8+fastpskip cqp=0 wpredp=2"},
    {"libx264-lossless_ultrafast", false,
     "coder=0 flags=+loop cmp=+chroma partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8 me_method=dia "
     "subq=0 me_range=16 g=250 keyint_min=25 sc_threshold=40 i_qfactor=0.71 b_strategy=1 qcomp=0.6 qmin=10 "
     "qmax=51 qdiff=4 directpred=1 flags2=+fastpskip cqp=0"},
    {"libx264-main", false, "flags2=-dct8x8"},
    {"libx264-max", true,
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 me_method=tesa subq=10 me_range=24 b_strategy=2 "
     "refs=16 directpred=3 trellis=2 flags2=+wpred+mixed_refs+dct8x8-fastpskip"},
    {"libx264-medium", true, "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip"},
    {"libx264-medium_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"},
    {"libx264-normal", true, "subq=6 refs=2 directpred=3 trellis=0 flags2=+wpred+dct8x8+fastpskip"},
    {"libx264-placebo", true,
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 me_method=tesa subq=10 me_range=24 b_strategy=2 "
     "bf=16 refs=16 directpred=3 trellis=2 flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip"},
    {"libx264-placebo_firstpass", true,
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 me_method=tesa subq=10 me_range=24 b_strategy=2 "
     "bf=16 refs=16 directpred=3 trellis=2 flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip"},
    {"libx264-slow", true,
     "me_method=umh subq=8 b_strategy=2 refs=5 directpred=3 flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip"},
    {"libx264-slow_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 b_strategy=2 refs=1 directpred=3 "
     "trellis=0 flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"},
    {"libx264-slower", true,
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 me_method=umh subq=9 b_strategy=2 refs=8 "
     "directpred=3 trellis=2 flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip"},
    {"libx264-slower_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 b_strategy=2 refs=1 directpred=3 "
     "trellis=0 flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"},
    {"libx264-slowfirstpass", true, "subq=6 b_strategy=2 refs=1 directpred=3 trellis=0 flags2=+wpred+dct8x8+fastpskip"},
    {"libx264-superfast", true,
     "partitions=+parti8x8+parti4x4-partp8x8-partb8x8 me_method=dia subq=1 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-superfast_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=1 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-ultrafast", true,
     "coder=0 flags=-loop partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=0 sc_threshold=0 "
     "b_strategy=0 bf=0 refs=1 trellis=0 flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-ultrafast_firstpass", true,
     "coder=0 flags=-loop partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=0 sc_threshold=0 "
     "b_strategy=0 bf=0 refs=1 trellis=0 flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-veryfast", true,
     "subq=2 refs=1 trellis=0 flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-veryfast_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 refs=1 trellis=0 "
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree wpredp=0"},
    {"libx264-veryslow", true,
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8 me_method=umh subq=10 me_range=24 b_strategy=2 "
     "bf=8 refs=16 directpred=3 trellis=2 flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip"},
    {"libx264-veryslow_firstpass", true,
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8 me_method=dia subq=2 me_range=24 b_strategy=2 bf=8 "
     "refs=1 directpred=3 trellis=0 flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"},
};

std::vector<String> Words(const char* AText)
{
    std::vector<String> words;
    std::istringstream in(AText);
    for (String w; in >> w;) words.push_back(w);
    return words;
}

// The "+a-b+c" items of a flags value, each with its sign.
std::vector<std::pair<bool, String>> FlagItems(const String& AValue)
{
    std::vector<std::pair<bool, String>> items;
    size_t p = 0;
    while (p < AValue.size()) {
        bool on = AValue[p] != '-';
        if (AValue[p] == '+' || AValue[p] == '-') ++p;
        size_t e = AValue.find_first_of("+-", p);
        if (e == String::npos) e = AValue.size();
        items.emplace_back(on, AValue.substr(p, e - p));
        p = e;
    }
    return items;
}

// One line in older wrapper terms -> lines in current terms.
void TranslateLine(const String& AKey, const String& AValue, String& AOut)
{
    if (AKey == "directpred") {
        AOut += "direct-pred=" + AValue + "\n";
    } else if (AKey == "cqp") {
        AOut += "qp=" + AValue + "\n";
    } else if (AKey == "partitions") {
        static const std::map<String, String> names = {
            {"parti8x8", "i8x8"}, {"parti4x4", "i4x4"}, {"partp8x8", "p8x8"}, {"partp4x4", "p4x4"}, {"partb8x8", "b8x8"}};
        String list;
        for (const auto& [on, item] : FlagItems(AValue))
            if (on) list += (list.empty() ? "" : ",") + names.at(item);
        AOut += "partitions=" + (list.empty() ? String("none") : list) + "\n";
    } else if (AKey == "flags2") {
        static const std::map<String, std::pair<String, String>> names = {
            {"bpyramid", {"b-pyramid", "normal"}}, {"mixed_refs", {"mixed-refs", "1"}},
            {"wpred", {"weightb", "1"}},           {"dct8x8", {"8x8dct", "1"}},
            {"fastpskip", {"fast-pskip", "1"}},    {"mbtree", {"mbtree", "1"}}};
        for (const auto& [on, item] : FlagItems(AValue)) {
            const auto& [name, onValue] = names.at(item);
            AOut += name + "=" + (on ? onValue : name == "b-pyramid" ? String("none") : String("0")) + "\n";
        }
    } else {
        AOut += AKey + "=" + AValue + "\n";
    }
}

std::vector<TOptionsPreset> MakeBuiltinPresets()
{
    std::vector<TOptionsPreset> presets;
    for (const TPresetSource& src : PresetSources) {
        std::vector<std::pair<String, String>> lines;
        auto split = [](const String& line) {
            size_t eq = line.find('=');
            return std::make_pair(line.substr(0, eq), line.substr(eq + 1));
        };
        if (src.FromDefault) {
            for (const char* l : DefaultLines) lines.push_back(split(l));
            for (const String& w : Words(src.Lines)) {
                auto kv = split(w);
                for (auto& line : lines)
                    if (line.first == kv.first) line.second = kv.second;
            }
        } else {
            for (const String& w : Words(src.Lines)) lines.push_back(split(w));
        }
        String value;
        for (const auto& [k, v] : lines) TranslateLine(k, v, value);
        presets.push_back({src.Name, value});
    }
    return presets;
}

}  // namespace

const std::vector<TOptionsPreset>& BuiltinPresets()
{
    static const std::vector<TOptionsPreset> presets = MakeBuiltinPresets();
    return presets;
}

String FindBuiltinPreset(const String& AName)
{
    for (const TOptionsPreset& p : BuiltinPresets())
        if (SameText(p.Name, AName)) return p.Value;
    return String();
}

// ---------------------------------------------------------------------------------
// Targets

namespace {
enum { PAL, NTSC, FILM };
const char* const NormFrameRates[] = {"25", "30000/1001", "24000/1001"};

// 25000 gives PAL, 29970 and 23976 NTSC, anything else leaves the norm undecided.
bool NormFromRate(int64_t ARate, int& ANorm)
{
    if (ARate == 25000) ANorm = PAL;
    else if (ARate == 29970 || ARate == 23976) ANorm = NTSC;
    else return false;
    return true;
}
}  // namespace

void TCustomFFmpeg::ChooseNorm(const String& ANorm, const String& ADefaultNorm, int& ANormKind)
{
    if (ANorm == "pal") { ANormKind = PAL; return; }
    if (ANorm == "ntsc") { ANormKind = NTSC; return; }
    if (ANorm == "film") { ANormKind = FILM; return; }
    if (Fframe_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
    bool decided = NormFromRate(std::llround(double(Fframe_rate.num) * 1000.0 / Fframe_rate.den), ANormKind);
    // The inputs' video streams: their frame rate tells the norm.
    for (int i = 0; i < Fnb_input_files && !decided; ++i) {
        AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; j < ic->nb_streams && !decided; ++j) {
            AVStream* st = ic->streams[j];
            if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
            AVRational r = st->avg_frame_rate.num && st->avg_frame_rate.den ? st->avg_frame_rate : st->r_frame_rate;
            if (r.num > 0 && r.den > 0) decided = NormFromRate(std::llround(double(r.num) * 1000.0 / r.den), ANormKind);
        }
    }
    if (!decided) ANormKind = ADefaultNorm == "film" ? FILM : ADefaultNorm == "ntsc" ? NTSC : PAL;
    if (Fverbose > 0) Log(llVerbose, Format("Assuming %s for target.", ANormKind == PAL ? "PAL" : "NTSC"));
}

void TCustomFFmpeg::SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm)
{
    int norm = PAL;
    ChooseNorm(ANorm, ADefaultNorm, norm);
    const bool pal = norm == PAL;
    auto setDefault = [this](const char* AName, const char* AValue) { SetDefaultOption(AName, AValue); };
    auto aspectDefault = [this](bool AWide) {
        if (Fframe_aspect_ratio != 0) return;
        Log(llInfo, AWide ? "Assuming 16:9 for aspect ratio" : "Assuming 4:3 for aspect ratio");
        SetAspectRatio(AWide ? "16:9" : "4:3");
    };
    if (ATarget == "vcd") {
        SetVideoCodec("mpeg1video");
        SetAudioCodec("mp2");
        SetFormat("vcd");
        SetFrameSize(pal ? "352x288" : "352x240");
        SetFrameRate(NormFrameRates[norm]);
        setDefault("g", pal ? "15" : "18");
        setDefault("b", "1150000");
        setDefault("maxrate", "1150000");
        setDefault("minrate", "1150000");
        setDefault("bufsize", "327680");
        setDefault("ab", "224000");
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        setDefault("packetsize", "2324");
        setDefault("muxrate", "1411200");
        Fmux_preload = 0.44f;
        aspectDefault(false);
    } else if (ATarget == "svcd") {
        SetVideoCodec("mpeg2video");
        SetAudioCodec("mp2");
        SetFormat("svcd");
        SetFrameSize(pal ? "480x576" : "480x480");
        SetFrameRate(NormFrameRates[norm]);
        setDefault("g", pal ? "15" : "18");
        setDefault("b", "2040000");
        setDefault("maxrate", "2516000");
        setDefault("minrate", "0");
        setDefault("bufsize", "1835008");
        setDefault("ab", "224000");
        Faudio_sample_rate = 44100;
        if (Faudio_channels == 1) Faudio_channels = 2;
        setDefault("scan_offset", "1");  // mpeg2video's own option; once a codec flag
        setDefault("packetsize", "2324");
        aspectDefault(false);
    } else if (ATarget == "dvd") {
        SetVideoCodec("mpeg2video");
        SetAudioCodec("ac3");
        SetFormat("dvd");
        SetFrameSize(pal ? "720x576" : "720x480");
        SetFrameRate(NormFrameRates[norm]);
        setDefault("g", pal ? "15" : "18");
        setDefault("b", "6000000");
        setDefault("maxrate", "9000000");
        setDefault("minrate", "0");
        setDefault("bufsize", "1835008");
        setDefault("ab", "448000");
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1) Faudio_channels = 2;
        setDefault("packetsize", "2048");
        setDefault("muxrate", "10080000");
        aspectDefault(true);
    } else if (ATarget == "dv" || ATarget == "dv50") {
        SetFormat("dv");
        SetFrameSize(pal ? "720x576" : "720x480");
        SetPixelFormat(ATarget == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        SetFrameRate(NormFrameRates[norm]);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    } else {
        throw FFmpegException("Unknown target type");
    }
}

void TCustomFFmpeg::SetTargetOption(const String& AValue)
{
    String target = Trim(AValue), norm = "auto";
    for (const char* prefix : {"pal-", "ntsc-", "film-"}) {
        if (target.rfind(prefix, 0) == 0) {
            norm = String(prefix, strlen(prefix) - 1);
            target = target.substr(strlen(prefix));
            break;
        }
    }
    SetTarget(target, norm, "ntsc");
}

// ---------------------------------------------------------------------------------
// Presets

void TCustomFFmpeg::LoadPreset(const String& AOption, const String& AName)
{
    if (AOption.empty() || AName.empty()) return;
    String name = AName, text;
    bool found = false;
    if (AOption[0] != 'f') {
        text = FindBuiltinPreset(name);
        found = !text.empty();
        if (!found) {
            String codec;
            if (AOption[0] == 'v' && !Fvideo_codec_name.empty()) codec = Fvideo_codec_name;
            else if (AOption[0] == 'a' && !Faudio_codec_name.empty()) codec = Faudio_codec_name;
            else if (!Fsubtitle_codec_name.empty()) codec = Fsubtitle_codec_name;
            if (!codec.empty()) {
                String prefixed = codec + "-" + AName;
                text = FindBuiltinPreset(prefixed);
                if (!text.empty()) {
                    found = true;
                    name = prefixed;
                }
            }
        }
    }
    if (!found) {
        if (!FileExists(AName)) throw FFmpegException(Format("Preset \"%s\" not found", AName));
        std::ifstream in(AName, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        text = all.str();
    }
    ApplyPresetText(name, text);
}

void TCustomFFmpeg::ApplyPresetText(const String& APresetName, const String& AText)
{
    String text = StringReplace(StringReplace(Trim(AText), "\r\n", "\n", {rfReplaceAll}), "\r", "\n", {rfReplaceAll});
    size_t p = 0;
    while (p <= text.size()) {
        size_t e = text.find('\n', p);
        if (e == String::npos) e = text.size();
        String line = Trim(text.substr(p, e - p));
        p = e + 1;
        if (line.empty()) continue;
        size_t eq = line.find('=');
        String key = eq == String::npos ? line : line.substr(0, eq);
        String value = eq == String::npos ? String() : line.substr(eq + 1);
        if (key.empty() || value.empty())
            throw FFmpegException(Format("%s: Invalid syntax: \"%s\"", APresetName, line));
        String lower = LowerCase(key);
        if (lower == "acodec")
            SetAudioCodec(value);
        else if (lower == "vcodec")
            SetVideoCodec(value);
        else if (lower == "scodec")
            SetSubtitleCodec(value);
        else if (!SetDefaultOption(key, value))
            throw FFmpegException(Format("%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                         APresetName, line, key, value));
    }
}
