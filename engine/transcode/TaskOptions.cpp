#include "engine/transcode/TaskOptions.h"

#include "platform/system/SysUtils.h"

#include <cctype>
#include <cmath>

namespace {

String IntText(int64_t N) { return IntToStr(N); }

// A whole 64-bit integer, or the no-value when the text is none.
int64_t TimeFromText(const String& AText)
{
    int64_t v = 0;
    return TryStrToInt64(AText, v) ? v : NoTimeValue;
}

const char* const CodecLineNames[] = {"acodec", "vcodec", "scodec", "apre", "vpre", "spre", "s", "vfilters", "vf"};

bool IsCodecLineName(const String& AName)
{
    for (const char* n : CodecLineNames)
        if (AName == n) return true;
    return false;
}

}  // namespace

void InitInputOptions(TInputOptions& AOptions) { AOptions = TInputOptions(); }
void InitOutputOptions(TOutputOptions& AOptions) { AOptions = TOutputOptions(); }

std::vector<TOptionLine> SplitOptionLines(const String& AText)
{
    String s = Trim(AText);
    for (const char* lineBreak : {"\r\n", "\r", "<CRLF>"}) s = StringReplace(s, lineBreak, "\n", {rfReplaceAll});
    std::vector<TOptionLine> lines;
    size_t p = 0;
    while (p < s.size()) {
        size_t e = s.find('\n', p);
        if (e == String::npos) e = s.size();
        String line = s.substr(p, e - p);
        p = e + 1;
        size_t eq = line.find('=');
        if (eq == String::npos)
            lines.emplace_back(line, String());
        else
            lines.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return lines;
}

int TCodecDefaults::IndexOfName(const String& AName) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].first == AName) return int(i);
    return -1;
}

String TCodecDefaults::Values(const String& AName) const
{
    int i = IndexOfName(AName);
    return i < 0 ? String() : FItems[i].second;
}

void ApplyExtOptions(TTaskOptionTarget& ATask, const String& AText, bool AInput)
{
    static const char* const Skipped[] = {"newvideo", "newaudio", "newsubtitle", "apre", "vpre", "spre", "vfilters", "vf"};
    for (const auto& [name, value] : SplitOptionLines(AText)) {
        String n = LowerCase(name);
        bool skip = false;
        for (const char* s : Skipped) skip = skip || n == s;
        if (skip) continue;
        // Names are told apart ignoring case, and go on as they were told apart: "AB"
        // sets "ab" (the transcoder's names are lower case).
        if (n == "acodec" || n == "vcodec" || n == "scodec" || n == "s") {
            if (AInput) ATask.SetOption(n, value);
            continue;
        }
        ATask.SetOption(n, value);
    }
}

void ApplyInputOptions(TTaskOptionTarget& ATask, const TInputOptions& AOptions)
{
    ApplyExtOptions(ATask, AOptions.ExtOptions, true);
    if (!AOptions.FileFormat.empty()) ATask.SetFormat(AOptions.FileFormat);
    if (AOptions.TimeStart != NoTimeValue) ATask.SetStartTime(AOptions.TimeStart);
    if (AOptions.ProgramID >= 0) ATask.SetProgramID(AOptions.ProgramID);
}

void BuildCodecDefaults(TCodecDefaults& AList, const TOutputOptions& AOptions)
{
    const std::pair<const char*, const String*> defs[] = {
        {"def_acodec", &AOptions.AudioCodec},  {"def_vcodec", &AOptions.VideoCodec},
        {"def_scodec", &AOptions.SubtitleCodec}, {"def_apre", &AOptions.AudioPreset},
        {"def_vpre", &AOptions.VideoPreset},   {"def_spre", &AOptions.SubtitlePreset},
        {"def_s", &AOptions.FrameSize},        {"def_vf", &AOptions.VideoFilters}};
    for (const auto& [name, field] : defs)
        if (!field->empty()) AList.Add(name, *field);
    for (const auto& [name, value] : SplitOptionLines(AOptions.ExtOptions)) {
        String n = LowerCase(name);
        if (!IsCodecLineName(n) || value.empty()) continue;
        if (n == "vfilters") n = "vf";
        if (AList.IndexOfName("def_" + n) < 0) AList.Add("def_" + n, value);
        AList.Add(n, value);
    }
}

void ApplyTarget(TTaskOptionTarget& ATask, const TOutputOptions& AOptions)
{
    const char* target;
    switch (AOptions.TargetType) {
    case ttVCD: target = "vcd"; break;
    case ttSVCD: target = "svcd"; break;
    case ttDVD: target = "dvd"; break;
    default: return;
    }
    const char* norm = AOptions.NormType == ntPAL ? "pal" : AOptions.NormType == ntNTSC ? "ntsc" : "auto";
    ATask.SetTarget(target, norm, AOptions.NormDefault == ntPAL ? "pal" : "ntsc");
}

void ApplyOutputOptions(TTaskOptionTarget& ATask, const TOutputOptions& O)
{
    // 1-3: container and muxer
    if (!O.FileFormat.empty()) ATask.SetFormat(O.FileFormat);
    if (O.PacketSize > 0) ATask.SetOption("packetsize", IntText(O.PacketSize));
    if (O.MuxRate > 0) ATask.SetOption("muxrate", IntText(O.MuxRate));
    if (O.MuxDelay > 0) ATask.SetMuxMaxDelay(O.MuxDelay);
    if (O.MuxPreload > 0) ATask.SetMuxPreload(O.MuxPreload);
    // 4-7: audio
    if (O.DisableAudio) ATask.SetAudioDisable(true);
    if (O.AudioVolume >= 0) ATask.SetAudioVolume(O.AudioVolume);
    if (O.AudioChannels > 0) ATask.SetAudioChannels(O.AudioChannels);
    if (O.AudioSampleRate > 0) ATask.SetAudioSampleRate(O.AudioSampleRate);
    if (O.AudioBitrate > 0) ATask.SetOption("ab", IntText(O.AudioBitrate));
    if (O.AudioBitRateTolerance > 0) ATask.SetOption("abt", IntText(O.AudioBitRateTolerance));
    ATask.SetAudioLanguage(O.AudioLanguage);
    ATask.SetAudioSyncMethod(O.AudioSyncMethod);
    if (!O.AudioTag.empty()) ATask.SetAudioTag(O.AudioTag);
    // 8-11: video
    if (O.DisableVideo) ATask.SetVideoDisable(true);
    if (!O.FrameRate.empty()) ATask.SetFrameRate(O.FrameRate);
    if (!O.FrameAspectRatio.empty()) ATask.SetAspectRatio(O.FrameAspectRatio);
    if (O.CropTop > 0) ATask.SetCropTop(O.CropTop);
    if (O.CropBottom > 0) ATask.SetCropBottom(O.CropBottom);
    if (O.CropLeft > 0) ATask.SetCropLeft(O.CropLeft);
    if (O.CropRight > 0) ATask.SetCropRight(O.CropRight);
    const std::pair<const char*, int32_t> rates[] = {
        {"g", O.GroupPictureSize}, {"vb", O.VideoBitrate},          {"maxrate", O.VideoMaxRate},
        {"minrate", O.VideoMinRate}, {"bt", O.VideoBitRateTolerance}, {"bufsize", O.VideoBufSize}};
    for (const auto& [name, v] : rates)
        if (v > 0) ATask.SetOption(name, IntText(v));
    ATask.SetVideoSyncMethod(O.VideoSyncMethod);
    if (!O.VideoTag.empty()) ATask.SetVideoTag(O.VideoTag);
    ATask.SetVideoLanguage(O.VideoLanguage);
    // 12-14: subtitles, synchronisation, times
    if (O.DisableSubtitle) ATask.SetSubtitleDisable(true);
    ATask.SetSubtitleLanguage(O.SubtitleLanguage);
    ATask.SetInputSync(O.InputSync);
    if (O.CopyTimestamp) ATask.SetCopyTimestamp(true);
    if (O.TimeStart != NoTimeValue) ATask.SetStartTime(O.TimeStart);
    if (O.TimeLength != NoTimeValue) ATask.SetRecordingTime(O.TimeLength);
    // 15-16: timestamp and tags
    if (O.Info.TimeStamp == 0)
        ATask.SetRecordingTimestamp(LocalToUnixTime(LocalNow()));
    else if (O.Info.TimeStamp > 0)
        ATask.SetRecordingTimestamp(LocalToUnixTime(O.Info.TimeStamp));
    if (O.Info.Year > 0) ATask.AddMetadataPair("year", IntText(O.Info.Year));
    if (O.Info.Track > 0) ATask.AddMetadataPair("track", IntText(O.Info.Track));
    const std::pair<const char*, const String*> tags[] = {
        {"title", &O.Info.Title},     {"author", &O.Info.Author}, {"copyright", &O.Info.Copyright},
        {"comment", &O.Info.Comment}, {"album", &O.Info.Album},   {"genre", &O.Info.Genre}};
    for (const auto& [key, value] : tags)
        if (!value->empty()) ATask.AddMetadataPair(key, *value);
}

void TakeCodecOption(TTaskOptionTarget& ATask, TCodecDefaults& AList, const String& AName)
{
    int i = AList.IndexOfName(AName);
    if (i >= 0) {
        String value = AList[i].second;
        AList.Delete(i);
        ATask.SetOption(AName, value);
    } else {
        ATask.SetOption(AName, AList.Values("def_" + AName));
    }
}

void ApplyNewStreams(TTaskOptionTarget& ATask, const String& AText, TCodecDefaults& AList)
{
    for (const auto& [name, value] : SplitOptionLines(AText)) {
        String n = LowerCase(name);
        if (n == "newaudio") {
            TakeCodecOption(ATask, AList, "acodec");
            TakeCodecOption(ATask, AList, "apre");
            ATask.SetOption("newaudio", value);
        } else if (n == "newvideo") {
            TakeCodecOption(ATask, AList, "vcodec");
            TakeCodecOption(ATask, AList, "vpre");
            TakeCodecOption(ATask, AList, "s");
            TakeCodecOption(ATask, AList, "vf");
            ATask.SetOption("newvideo", value);
        } else if (n == "newsubtitle") {
            TakeCodecOption(ATask, AList, "scodec");
            TakeCodecOption(ATask, AList, "spre");
            ATask.SetOption("newsubtitle", value);
        }
    }
}

void ApplyOutputRecord(TTaskOptionTarget& ATask, const TOutputOptions& AOptions, TCodecDefaults& AList)
{
    BuildCodecDefaults(AList, AOptions);
    ApplyTarget(ATask, AOptions);
    ATask.SetOption("acodec", AList.Values("def_acodec"));
    ATask.SetOption("vcodec", AList.Values("def_vcodec"));
    ATask.SetOption("scodec", AList.Values("def_scodec"));
    ATask.LoadPreset("apre", AList.Values("def_apre"));
    ATask.LoadPreset("vpre", AList.Values("def_vpre"));
    ATask.LoadPreset("spre", AList.Values("def_spre"));
    ApplyExtOptions(ATask, AOptions.ExtOptions, false);
    ApplyOutputOptions(ATask, AOptions);
    ATask.SetOption("s", AList.Values("def_s"));
    ATask.SetOption("vf", AList.Values("def_vf"));
}

TInputOptions InputOptionsFromText(const String& AText)
{
    TInputOptions o;
    for (const auto& [name, value] : SplitOptionLines(AText)) {
        if (LowerCase(name) == "timestart")
            o.TimeStart = TimeFromText(value);
        else
            o.ExtOptions += name + "=" + value + "\n";
    }
    return o;
}

TOutputOptions OutputOptionsFromText(const String& AText)
{
    TOutputOptions o;
    for (const auto& [name, value] : SplitOptionLines(AText)) {
        String n = LowerCase(name);
        if (n == "hook" || n == "customhook")
            o.CustomHook = true;
        else if (n == "join")
            o.Join = true;
        else if (n == "timestart")
            o.TimeStart = TimeFromText(value);
        else if (n == "timelength")
            o.TimeLength = TimeFromText(value);
        else
            o.ExtOptions += name + "=" + value + "\n";
    }
    return o;
}

int64_t LocalToUnixTime(double ADateTime)
{
    // The local time zone's offset in days, daylight saving not applied.
    double offset = -double(TimeZoneBias()) / 1440.0;
    return int64_t(std::nearbyint((ADateTime - 25569.0 - offset) * 86400.0));
}

double LocalNow() { return Now(); }
