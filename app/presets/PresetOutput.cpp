#include "app/presets/PresetOutput.h"

#include "platform/system/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

String OutputNamePart(const String& APath)
{
    size_t slash = APath.rfind('/');
    return slash == String::npos ? APath : APath.substr(slash + 1);
}

String OutputNameExt(const String& AName)
{
    const size_t dot = AName.rfind('.');
    return dot == String::npos ? String() : AName.substr(dot);
}

String ChangeOutputExt(const String& APath, const String& AExt)
{
    String name = OutputNamePart(APath);
    size_t dot = name.rfind('.');
    if (dot != String::npos) name.erase(dot);
    return name + AExt;
}

String ComposeOutputName(const String& AFolderText, const String& AInputFile, const String& AExt)
{
    return AFolderText + "/" + ChangeOutputExt(AInputFile, AExt);
}

namespace {

// The folder listing decides for a path that cannot be queried directly.
bool ListedAsFile(const String& APath)
{
    String name = OutputNamePart(APath);
    if (name.empty()) return false;
    String dir = APath.substr(0, APath.size() - name.size());
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = readdir(d)) {
        if (name == e->d_name) {
            found = e->d_type != DT_DIR;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

bool OutputFileExists(const String& APath)
{
    if (APath.empty()) return false;
    struct stat st;
    if (stat(APath.c_str(), &st) == 0) return !S_ISDIR(st.st_mode);
    int err = errno;
    if (err == ENOENT) return lstat(APath.c_str(), &st) == 0;  // a dangling link is still an entry
    if (err == ENOTDIR || err == ENAMETOOLONG || err == EINVAL) return false;
    return ListedAsFile(APath);
}

String SettleOutputPath(const String& AName, const String& AFolderText, bool AOverwrite)
{
    size_t mark = AName.find_last_of("./");
    String ext = mark != String::npos && AName[mark] == '.' ? AName.substr(mark) : String();
    String namePart = OutputNamePart(AName);
    String stem = namePart.substr(0, namePart.size() - std::min(ext.size(), namePart.size()));
    String base = AFolderText + "/" + stem;
    String candidate = base + ext;
    if (!OutputFileExists(candidate) || AOverwrite) return candidate;
    for (int64_t n = 1;; ++n) {
        String numbered = base + "_" + IntToStr(n) + ext;
        if (!OutputFileExists(numbered)) return numbered;
    }
}

void ApplyPresetCode(int ACode, TPresetFields& AFields, const String& AFolderText, bool AOverwrite)
{
    AFields.Reset();
    AFields.Video_DisableVideo = false;
    const TPresetParams* params = FindPresetParams(ACode);
    if (!params) return;
    AFields.Video_OutPutFileName = ComposeOutputName(AFolderText, AFields.Video_AddFileName, params->OutputExt);
    ApplyPresetParams(*params, AFields);
    AFields.Video_OutPutFileName = SettleOutputPath(AFields.Video_OutPutFileName, AFolderText, AOverwrite);
}

void WritePresetColumns(const TPresetFields& F, TPresetJobList& AJobList)
{
    if (!AJobList.HasSelection()) return;
    const std::pair<TJobColumn, String> columns[] = {
        {jcVideoCodec, F.Video_VideoCodec},
        {jcAudioCodec, F.Video_AudioCodec},
        {jcAudioChannels, F.Video_AudioChannels},
        {jcVideoTag, F.Video_VideoTag},
        {jcFileExt, F.Video_FileExt},
        {jcFrameSize, F.Video_FrameSize},
        {jcVideoBitrate, IntToStr(F.Video_VideoBitrate)},
        {jcFrameRate, F.Video_FrameRate},
        {jcAudioBitrate, IntToStr(F.Video_AudioBitrate)},
        {jcAudioSampleRate, F.Video_AudioSampleRate},
        {jcAspect, F.Video_FrameAspectRatio},
        {jcDisableVideo, F.Video_DisableVideo ? "True" : "False"},
        {jcTargetType, F.Video_TargetType},
        {jcNormType, F.Video_NormType},
    };
    for (const auto& [column, text] : columns) AJobList.SetColumn(column, text);
}

void PresetFieldsToOutputOptions(const TPresetFields& F, TOutputOptions& O)
{
    if (!F.Video_VideoCodec.empty()) {
        O.VideoCodec = F.Video_VideoCodec;
        O.VideoPreset = F.Video_VideoCodec == "libx264" ? "libx264-default" : "";
    }
    if (!F.Video_AudioCodec.empty() && F.Video_AudioCodec != "AUTO") O.AudioCodec = F.Video_AudioCodec;
    if (!F.Video_FrameRate.empty()) O.FrameRate = F.Video_FrameRate;
    O.DisableVideo = F.Video_DisableVideo;
    if (!F.Video_AudioChannels.empty()) O.AudioChannels = StrToIntDef(F.Video_AudioChannels, -1);
    if (!F.Video_AudioSampleRate.empty() && F.Video_AudioSampleRate != "AUTO")
        O.AudioSampleRate = StrToIntDef(F.Video_AudioSampleRate, -1);
    if (!F.Video_FrameSize.empty()) O.FrameSize = F.Video_FrameSize;
    if (!F.Video_TargetType.empty()) {
        const String& t = F.Video_TargetType;
        O.TargetType = t == "vcd" ? ttVCD : t == "svcd" ? ttSVCD : t == "dvd" ? ttDVD : ttIgnore;
    }
    O.NormType = F.Video_NormType == "PAL" ? ntPAL : F.Video_NormType == "NTSC" ? ntNTSC : ntAuto;
    O.AudioVolume = F.Video_AudioVolume == "256" ? 256 : StrToIntDef(F.Video_AudioVolume, -1);
    if (!F.Video_FrameAspectRatio.empty()) O.FrameAspectRatio = F.Video_FrameAspectRatio;
    if (F.Video_AudioBitrate != PresetBitrateNotSet && F.Video_AudioBitrate != -2000) O.AudioBitrate = F.Video_AudioBitrate;
    if (!F.Video_FileFormat.empty()) O.FileFormat = F.Video_FileFormat;
    if (!F.Video_VideoFilters.empty()) O.VideoFilters = F.Video_VideoFilters;
    if (!F.Video_VideoTag.empty()) O.VideoTag = F.Video_VideoTag;
    if (F.Video_VideoBitrate != PresetBitrateNotSet) O.VideoBitrate = F.Video_VideoBitrate;
}
