// Task option records: how a host describes the inputs and outputs of one conversion task,
// and the order in which their fields and free-text lines become transcoder settings.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/system/Types.h"

// A 64-bit time in microseconds that is not set (FFmpeg's no-PTS value).
constexpr int64_t NoTimeValue = INT64_MIN;

struct TInputOptions {
    String FileName;            // the input's file name
    String FileFormat;          // forced input format (option "f")
    int64_t TimeStart = NoTimeValue;  // start position in microseconds (option "ss")
    int32_t ProgramID = -1;     // program to read (option "programid")
    String ExtOptions;          // further options, name=value lines
    int32_t Tag = 0;            // free for the host
    void* Data = nullptr;       // free for the host
};
using PInputOptions = TInputOptions*;

// Tags of an output.  TimeStamp is a date-time counting days since 1899-12-30.
struct TStreamInfo {
    double TimeStamp = -1.0;
    int32_t Year = -1;
    int32_t Track = -1;
    String Title, Author, Copyright, Comment, Album, Genre;
};

enum TOptionTargetType : int32_t { ttIgnore = 0, ttVCD = 1, ttSVCD = 2, ttDVD = 3 };
enum TOptionNormType : int32_t { ntAuto = 0, ntPAL = 1, ntNTSC = 2 };
using TOptionNormDefault = TOptionNormType;  // ntPAL or ntNTSC

struct TOutputOptions {
    String FileName;
    String FileExt;             // free for the host
    String FileFormat;          // "f"
    int32_t PacketSize = -1;    // "packetsize"
    int32_t MuxRate = -1;       // "muxrate"
    float MuxDelay = -1.0f;     // seconds, "muxdelay"
    float MuxPreload = -1.0f;   // seconds, "muxpreload"
    String AudioCodec;          // "acodec"
    String AudioPreset;         // "apre"
    bool DisableAudio = false;  // "an"
    int32_t AudioVolume = -1;   // "vol"
    int32_t AudioChannels = -1; // "ac"
    int32_t AudioSampleRate = -1;  // "ar"
    int32_t AudioBitrate = -1;     // "ab"
    int32_t AudioBitRateTolerance = -1;  // "abt"
    String AudioLanguage;       // "alang"
    int32_t AudioSyncMethod = 0;  // "async"
    String AudioTag;            // "atag"
    String VideoCodec;          // "vcodec"
    String VideoPreset;         // "vpre"
    bool DisableVideo = false;  // "vn"
    String FrameRate;           // "r"
    String FrameSize;           // "s"
    String FrameAspectRatio;    // "aspect"
    int32_t CropTop = -1, CropBottom = -1, CropLeft = -1, CropRight = -1;
    int32_t GroupPictureSize = -1;  // "g"
    int32_t VideoBitrate = -1;      // "vb"
    int32_t VideoMaxRate = -1;      // "maxrate"
    int32_t VideoMinRate = -1;      // "minrate"
    int32_t VideoBitRateTolerance = -1;  // "bt"
    int32_t VideoBufSize = -1;      // "bufsize"
    int32_t VideoSyncMethod = -1;   // "vsync"
    String VideoTag;            // "vtag"
    String VideoFilters;        // "vf"
    String VideoLanguage;       // "vlang"
    String SubtitleCodec;       // "scodec"
    String SubtitlePreset;      // "spre"
    bool DisableSubtitle = false;  // "sn"
    String SubtitleLanguage;    // "slang"
    bool InputSync = false;     // "isync"
    bool CopyTimestamp = false; // "copyts"
    int64_t TimeStart = NoTimeValue;
    int64_t TimeLength = NoTimeValue;  // "t"
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;
    bool Join = false;
    String ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void InitInputOptions(TInputOptions& AOptions);
void InitOutputOptions(TOutputOptions& AOptions);

// What the option records need of a transcoder: its option dispatcher, target and preset
// setters, and the direct setters behind the options the records feed.  The transcoder
// implements it; tests put a recorder in its place.
class TTaskOptionTarget {
public:
    virtual ~TTaskOptionTarget() = default;
    virtual void SetOption(const String& AName, const String& AValue) = 0;
    virtual void SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm) = 0;
    virtual void LoadPreset(const String& AOption, const String& AName) = 0;
    virtual void SetFormat(const String& AValue) = 0;
    virtual void SetFrameRate(const String& AValue) = 0;
    virtual void SetAspectRatio(const String& AValue) = 0;
    virtual void SetCropTop(int ACrop) = 0;
    virtual void SetCropBottom(int ACrop) = 0;
    virtual void SetCropLeft(int ACrop) = 0;
    virtual void SetCropRight(int ACrop) = 0;
    virtual void SetAudioTag(const String& AValue) = 0;
    virtual void SetVideoTag(const String& AValue) = 0;
    virtual void SetAudioVolume(int AVolume) = 0;
    virtual void SetAudioChannels(int AChannels) = 0;
    virtual void SetAudioSampleRate(int ARate) = 0;
    virtual void SetAudioSyncMethod(int AMethod) = 0;
    virtual void SetVideoSyncMethod(int AMethod) = 0;
    virtual void SetMuxMaxDelay(double ASeconds) = 0;
    virtual void SetMuxPreload(double ASeconds) = 0;
    virtual void SetRecordingTime(int64_t ATime) = 0;
    virtual void SetStartTime(int64_t ATime) = 0;
    virtual void SetProgramID(int AProgramID) = 0;
    virtual void SetAudioDisable(bool ADisable) = 0;
    virtual void SetVideoDisable(bool ADisable) = 0;
    virtual void SetSubtitleDisable(bool ADisable) = 0;
    virtual void SetAudioLanguage(const String& AValue) = 0;
    virtual void SetVideoLanguage(const String& AValue) = 0;
    virtual void SetSubtitleLanguage(const String& AValue) = 0;
    virtual void SetInputSync(bool AValue) = 0;
    virtual void SetCopyTimestamp(bool AValue) = 0;
    virtual void SetRecordingTimestamp(int64_t ASeconds) = 0;
    virtual void AddMetadataPair(const String& AKey, const String& AValue) = 0;
};

// One name=value line of an options text.
using TOptionLine = std::pair<String, String>;

// Splits an options text: trimmed, line breaks and "<CRLF>" as line feeds, each line cut at
// its first "=" (a line without one is all name).
std::vector<TOptionLine> SplitOptionLines(const String& AText);

// The ordered list of codec defaults ("def_acodec" ...) and queued codec lines of one output.
class TCodecDefaults {
public:
    void Add(const String& AName, const String& AValue) { FItems.emplace_back(AName, AValue); }
    int IndexOfName(const String& AName) const;
    String Values(const String& AName) const;  // empty when absent
    void Delete(int AIndex) { FItems.erase(FItems.begin() + AIndex); }
    int Count() const { return int(FItems.size()); }
    const TOptionLine& operator[](int AIndex) const { return FItems[AIndex]; }
    void Clear() { FItems.clear(); }

private:
    std::vector<TOptionLine> FItems;
};

void ApplyExtOptions(TTaskOptionTarget& ATask, const String& AText, bool AInput);
void ApplyInputOptions(TTaskOptionTarget& ATask, const TInputOptions& AOptions);
void BuildCodecDefaults(TCodecDefaults& AList, const TOutputOptions& AOptions);
void ApplyTarget(TTaskOptionTarget& ATask, const TOutputOptions& AOptions);
void ApplyOutputOptions(TTaskOptionTarget& ATask, const TOutputOptions& AOptions);
void TakeCodecOption(TTaskOptionTarget& ATask, TCodecDefaults& AList, const String& AName);
void ApplyNewStreams(TTaskOptionTarget& ATask, const String& AText, TCodecDefaults& AList);

// The settings of an output record before its file is opened, in the task list's order:
// codec defaults, target, default codecs, presets, text lines, record fields, frame size
// and filters.  AList receives the codec defaults that ApplyNewStreams consumes later.
void ApplyOutputRecord(TTaskOptionTarget& ATask, const TOutputOptions& AOptions, TCodecDefaults& AList);

// The text forms of the records: name=value lines; see InitInputOptions/InitOutputOptions.
TInputOptions InputOptionsFromText(const String& AText);
TOutputOptions OutputOptionsFromText(const String& AText);

// Seconds since 1970 of a local date-time, by the standard (non-daylight) time-zone offset.
int64_t LocalToUnixTime(double ADateTime);
// The current local date-time, counting days since 1899-12-30.
double LocalNow();
