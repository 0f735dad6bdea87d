// The media probe: opens a media file with FFmpeg's demuxer (or adopts a context that
// another component opened), answers questions about its streams and writes a text
// report; TAVProbe adds random access to its video frames.
#pragma once

#include "engine/libs/FFBaseComponent.h"
#include "engine/common/FFUtils.h"
#include "engine/libs/FFmpegLogger.h"

#include <cstdint>

class TBitmap;

// File-level data of a probed file; -1 and empty texts while no file is loaded.
struct TFileStreamInfo {
    int64_t StartTime = -1;  // microseconds; -1 when FFmpeg has none
    int64_t Duration = -1;   // microseconds; -1 when none
    int32_t BitRate = -1;    // bits per second
    int64_t TimeStamp = -1;  // seconds since 1970 ("creation_time"); 0 when none
    int32_t Year = -1;       // "date"/"year"; 0 when none
    int32_t Track = -1;      // "track"; 0 when none
    String Title, Author, Copyright, Comment, Album, Genre;
};

struct TAudioStreamInfo {
    String Language;
    String CodecName;
    int64_t StartTime = -1;        // stream time base units
    int64_t StartTimeScaled = -1;  // microseconds
    int64_t Duration = -1;
    int64_t DurationScaled = -1;
    int32_t BitRate = -1;
    int32_t Channels = -1;
    int32_t SampleRate = -1;
    int32_t SampleFormat = -1;  // AVSampleFormat
};

struct TVideoStreamInfo {
    String Language;
    String CodecName;
    int64_t StartTime = -1;
    int64_t StartTimeScaled = -1;
    int64_t Duration = -1;
    int64_t DurationScaled = -1;
    int32_t BitRate = -1;
    int32_t Height = -1;
    int32_t Width = -1;
    float AspectRatio = -1.0f;  // display width / height; -1 when the sample aspect is not known
    int32_t PixFmt = -1;        // AVPixelFormat
    AVRational FrameRate = {-1, -1};
};

struct TSubtitleStreamInfo {
    String Language;
    String CodecName;
};

class TCustomAVProbe : public TFFBaseComponent {
public:
    explicit TCustomAVProbe(TComponent* AOwner = nullptr);
    ~TCustomAVProbe() override;

    // Opens and probes a file (AFormatName forces an input format).  False with
    // LastErrMsg on failure; raises Exception when the libraries are not loaded.
    bool LoadFile(const String& AFileName, const String& AFormatName = "");
    virtual void CloseFile();

    AVFormatContext* FileHandle() const { return FFileHandle; }
    // Adopts a context another component opened; the probe never closes it.
    virtual void SetFileHandle(AVFormatContext* AValue);

    bool IsAudioStream(int AStreamIndex);
    bool IsVideoStream(int AStreamIndex);
    bool IsSubtitleStream(int AStreamIndex);

    String FileName();
    String FormatName();
    String FormatLongName();
    int64_t FileSize() const { return FFileSize; }
    const String& ForceFormat() const { return FForceFormat; }
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }

    TFileStreamInfo FileStreamInfo();
    TAudioStreamInfo FirstAudioStreamInfo();
    TVideoStreamInfo FirstVideoStreamInfo();
    TSubtitleStreamInfo FirstSubtitleStreamInfo();
    // The same for a given stream; false (and the record left at -1) on failure.
    bool AudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo);
    bool VideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo);
    bool SubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo);

    // A multi-line report of the file and its programs and streams.
    String FileInfoText();

protected:
    // Recomputes the size and stream counts from the context.
    virtual void UpdateFileInfo();
    // Logs AText at ALevel with the probe as sender and keeps it in LastErrMsg.
    void ReportError(TLogLevel ALevel, const String& AText);
    // Raises Exception naming the first of the probe's libraries that is not loaded.
    void CheckLibraries();
    // A stream of the loaded file, checked; null with a report otherwise.
    AVStream* CheckedStream(int AStreamIndex);

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    String FForceFormat;
    int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;

private:
    bool HasFile(bool AReport = true);
    bool IsStreamOfType(int AStreamIndex, AVMediaType AType);
    // The stream if it is of AType, else null with a report.
    AVStream* StreamOfType(int AStreamIndex, AVMediaType AType);
    template <class TInfo>
    TInfo FirstStreamInfo(int AStreamIndex, AVMediaType AType, bool (TCustomAVProbe::*AFill)(int, TInfo&));
};

enum TPictureType : uint8_t { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

// The frame a probe holds.
struct TFrameInfo {
    int32_t PixFmt = -1;
    int32_t Width = -1;
    int32_t Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    int64_t PTS = AV_NOPTS_VALUE;  // microseconds from the stream's start
    int64_t OriginalDTS = AV_NOPTS_VALUE;
    int64_t OriginalPTS = AV_NOPTS_VALUE;
    int32_t StreamIndex = -1;
    int64_t Position = -1;  // reader's byte position when the read for this frame began
    bool Ready = false;
    uint8_t* Data[4] = {};  // planes over Buffer
    int Linesize[4] = {};
    uint8_t* Buffer = nullptr;  // owned (av_malloc)
    int32_t Size = 0;
};

class TAVProbe : public TCustomAVProbe {
public:
    explicit TAVProbe(TComponent* AOwner = nullptr);
    ~TAVProbe() override;

    void CloseFile() override;

    // APTS in microseconds (a byte position with sfByte).
    bool Seek(int64_t APTS, TSeekFlags ASeekFlags = {});
    // Decodes the next frame of the stream: AStreamIndex -1 means the stream decoded
    // last, else the first video stream.
    bool Decode(int AStreamIndex = -1);
    bool DecodeNextKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousFrame(int AStreamIndex = -1);
    bool DecodePreviousKeyFrame(int AStreamIndex = -1);
    // Copies the current frame into ABitmap (24 bits per pixel).
    bool CopyToBitmap(TBitmap* ABitmap);

    // The end of the file was reached (EOF is a C macro, hence the name).
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    // The reader's byte position; -1 with a report when there is none.
    int64_t Position();

protected:
    void UpdateFileInfo() override;

private:
    bool CheckOwnFile();
    int SelectDecodeStream(int AStreamIndex);
    bool OpenDecoder(int AStreamIndex);
    void CloseDecoder();
    void ClearFrame();
    void StoreFrame(const AVFrame* AFrame, const AVPacket* APacket, int64_t APosition);
    bool IsImage2();
    int64_t ReaderPosition();

    AVCodecContext* FCodec = nullptr;
    int FCodecStream = -1;  // the stream FCodec decodes
    bool FDraining = false;  // the end of input was sent to the decoder
    int FReadError = 0;      // the reader's error that ended the input early
    TRGBConvertContext FRGBContext;
    int FSeekIndex = -1;
    int64_t FStartTime = -1;
    int FDecodeIndex = -1;
    bool FEOF = false;
    TFrameInfo FPicture;
    int64_t FLastPTS = AV_NOPTS_VALUE;
    int64_t FLastPos = -1;
};
