// TAVProbe: seeking and decoding the video frames of a probed file.
#include "engine/probe/AVProbe.h"

#include "platform/system/SysUtils.h"
#include "platform/system/Threads.h"

namespace {

constexpr const char* EofText = "stream eof reached.";
constexpr const char* ReadOnlyText = "file cannot be seeked, handle is readonly.";

// Owns the frame and packet of one decode call.
struct TDecodeBuffers {
    AVFrame* Frame = AV.av_frame_alloc();
    AVPacket* Packet = AV.av_packet_alloc();
    ~TDecodeBuffers()
    {
        AV.av_frame_free(&Frame);
        AV.av_packet_free(&Packet);
    }
};

}  // namespace

TAVProbe::TAVProbe(TComponent* AOwner) : TCustomAVProbe(AOwner) { TAVProbe::UpdateFileInfo(); }

TAVProbe::~TAVProbe()
{
    TAVProbe::CloseFile();
    if (FPicture.Buffer) AV.av_free(FPicture.Buffer);
    FPicture.Buffer = nullptr;
    ResetRGBContext(FRGBContext);
}

void TAVProbe::UpdateFileInfo()
{
    TCustomAVProbe::UpdateFileInfo();
    FSeekIndex = -1;
    FStartTime = -1;
    if (!FFileHandle) return;
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    int64_t Start = FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
    FStartTime = Start == AV_NOPTS_VALUE ? 0 : Start;
}

void TAVProbe::CloseFile()
{
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ClearFrame();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    CloseDecoder();
    ResetRGBContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::CloseDecoder()
{
    if (!FCodec) return;
    TCriticalSectionGuard Guard(CodecLock);
    AV.avcodec_free_context(&FCodec);
    FCodecStream = -1;
    FDraining = false;
    FReadError = 0;
}

void TAVProbe::ClearFrame()
{
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.PixFmt = FPicture.Width = FPicture.Height = -1;
    FPicture.IsKeyFrame = false;
    FPicture.PictureType = ptUnknown;
    FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = AV_NOPTS_VALUE;
    FPicture.StreamIndex = -1;
    FPicture.Position = -1;
    FPicture.Ready = false;
}

int64_t TAVProbe::ReaderPosition() { return FFileHandle && FFileHandle->pb ? AVIOTell(FFileHandle->pb) : -1; }

int64_t TAVProbe::Position()
{
    if (!FFileHandle) {
        ReportError(llWarning, "file not loaded.");
        return -1;
    }
    if (!FFileHandle->pb) {
        ReportError(llWarning, "cannot get position");
        return -1;
    }
    return AVIOTell(FFileHandle->pb);
}

bool TAVProbe::IsImage2()
{
    return FFileHandle && FFileHandle->iformat && SameText(FFileHandle->iformat->name, "image2");
}

bool TAVProbe::CheckOwnFile()
{
    if (!FFileHandle) {
        ReportError(llWarning, "file not loaded.");
        return false;
    }
    if (!FOwnHandle) {
        ReportError(llWarning, ReadOnlyText);
        throw Exception(ReadOnlyText);
    }
    return true;
}

int TAVProbe::SelectDecodeStream(int AStreamIndex)
{
    if (!CheckOwnFile()) return -1;
    int S = AStreamIndex;
    if (S < 0) S = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
    if (S < 0) {
        ReportError(llError, "no video stream.");
        return -1;
    }
    if (S >= FStreamCount) {
        ReportError(llError, Format("stream index #%d is invalid.", S));
        return -1;
    }
    if (FFileHandle->streams[S]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        ReportError(llError, Format("stream #%d is not video stream.", S));
        return -1;
    }
    if (S != FDecodeIndex) ClearFrame();
    FDecodeIndex = S;
    return S;
}

bool TAVProbe::OpenDecoder(int AStreamIndex)
{
    AVStream* St = FFileHandle->streams[AStreamIndex];
    if (St->codecpar->width == 0 || St->codecpar->height == 0) {
        ReportError(llError, "frame size of codec is invalid.");
        return false;
    }
    if (FCodec && FCodecStream == AStreamIndex) return true;
    CloseDecoder();
    const AVCodec* Decoder = AV.avcodec_find_decoder(St->codecpar->codec_id);
    if (!Decoder) {
        ReportError(llError, Format("Unsupported codec (id=%d) for input file stream #%d", int(St->codecpar->codec_id),
                                    AStreamIndex));
        return false;
    }
    AVCodecContext* Ctx = AV.avcodec_alloc_context3(Decoder);
    int R = Ctx ? AV.avcodec_parameters_to_context(Ctx, St->codecpar) : AVERROR(ENOMEM);
    if (R >= 0) {
        Ctx->pkt_timebase = St->time_base;
        TCriticalSectionGuard Guard(CodecLock);
        R = AV.avcodec_open2(Ctx, Decoder, nullptr);
    }
    if (R < 0) {
        {
            TCriticalSectionGuard Guard(CodecLock);
            AV.avcodec_free_context(&Ctx);
        }
        ReportError(llError, Format("Error while opening codec for input file stream #%d", AStreamIndex));
        return false;
    }
    FCodec = Ctx;
    FCodecStream = AStreamIndex;
    FDraining = false;
    FReadError = 0;
    return true;
}

void TAVProbe::StoreFrame(const AVFrame* AFrame, const AVPacket* APacket, int64_t APosition)
{
    AVPixelFormat Fmt = AVPixelFormat(AFrame->format);
    int Size = AV.av_image_get_buffer_size(Fmt, AFrame->width, AFrame->height, 1);
    if (Size < 0) Size = 0;
    if (FPicture.Size < Size) {
        AV.av_free(FPicture.Buffer);
        FPicture.Buffer = static_cast<uint8_t*>(AV.av_malloc(size_t(Size)));
        FPicture.Size = FPicture.Buffer ? Size : 0;
    }
    FPicture.PixFmt = Fmt;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame != 0;
    int Type = AFrame->pict_type;
    FPicture.PictureType = Type >= 0 && Type <= 7 ? TPictureType(Type) : ptUnknown;

    int64_t Best = AFrame->pkt_dts != AV_NOPTS_VALUE ? AFrame->pkt_dts
                   : AFrame->pts != AV_NOPTS_VALUE   ? AFrame->pts
                                                     : APacket->pts;
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    AVStream* St = FFileHandle->streams[FDecodeIndex];
    if (Best == AV_NOPTS_VALUE) {
        FPicture.PTS = AV_NOPTS_VALUE;
    } else {
        if (St->start_time != AV_NOPTS_VALUE) Best -= St->start_time;
        FPicture.PTS = AV.av_rescale_q(Best, St->time_base, AVRational{1, AV_TIME_BASE});
        AV.av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", double(FPicture.PTS) / AV_TIME_BASE);
    }
    FPicture.OriginalDTS = AFrame->pkt_dts;
    FPicture.OriginalPTS = AFrame->pts;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.Position = APosition;
    if (FPicture.Buffer) {
        AV.av_image_fill_arrays(FPicture.Data, FPicture.Linesize, FPicture.Buffer, Fmt, AFrame->width, AFrame->height, 1);
        AV.av_image_copy(FPicture.Data, FPicture.Linesize, const_cast<const uint8_t**>(AFrame->data), AFrame->linesize,
                         Fmt, AFrame->width, AFrame->height);
        FPicture.Ready = true;
    }
}

bool TAVProbe::Decode(int AStreamIndex)
{
    int S = SelectDecodeStream(AStreamIndex);
    if (S < 0) return false;
    if (FPicture.Ready && IsImage2()) return true;  // a still image has one frame
    // The end of the input, or the reader's error that ended it early.
    auto ReportEnd = [this] {
        if (FReadError < 0)
            ReportError(llError, AVErrorText(FileName(), FReadError));
        else
            ReportError(llInfo, EofText);
    };
    if (FEOF) {
        ReportEnd();
        return false;
    }
    if (!OpenDecoder(S)) return false;

    int64_t Pos = ReaderPosition();
    TDecodeBuffers B;
    if (!B.Frame || !B.Packet) {
        ReportError(llError, AVErrorText("decode", AVERROR(ENOMEM)));
        return false;
    }
    // The packet that was last sent, for the log and as the last resort for the time.
    AVPacket Last{};
    Last.pts = Last.dts = AV_NOPTS_VALUE;
    for (;;) {
        int R = AV.avcodec_receive_frame(FCodec, B.Frame);
        if (R >= 0) {
            GlobalLogger()->Log(this, llDebug, "pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d",
                                Last.stream_index, Last.dts, Last.pts, Last.flags, int(B.Frame->pict_type));
            StoreFrame(B.Frame, &Last, Pos);
            AV.av_frame_unref(B.Frame);
            return true;
        }
        if (R != AVERROR(EAGAIN) && R != AVERROR_EOF) {
            // The decoder failed in the middle of the stream: that is no end, and the
            // next call goes on with the packets after it.
            ReportError(llError, AVErrorText("decoding failed", R));
            return false;
        }
        if (R == AVERROR_EOF || FDraining) break;  // drained
        R = AV.av_read_frame(FFileHandle, B.Packet);
        if (R == AVERROR(EAGAIN)) {
            AV.av_usleep(1000);
            continue;
        }
        if (R < 0) {
            // A demuxer ends quietly where its reader failed: the reader's error tells.
            if (R != AVERROR_EOF) FReadError = R;
            else if (FFileHandle->pb && FFileHandle->pb->error < 0) FReadError = FFileHandle->pb->error;
            // End of input: let the decoder give up the frames it still holds.
            AV.avcodec_send_packet(FCodec, nullptr);
            FDraining = true;
            continue;
        }
        if (B.Packet->stream_index == S) {
            Last.stream_index = B.Packet->stream_index;
            Last.pts = B.Packet->pts;
            Last.dts = B.Packet->dts;
            Last.flags = B.Packet->flags;
            AV.avcodec_send_packet(FCodec, B.Packet);  // a damaged packet is skipped
        }
        AV.av_packet_unref(B.Packet);
    }
    FEOF = true;
    ReportEnd();
    return false;
}

bool TAVProbe::Seek(int64_t APTS, TSeekFlags ASeekFlags)
{
    if (!CheckOwnFile()) return false;
    if (IsImage2()) {
        ReportError(llInfo, "\"image2\" format cannot to be seeked.");
        return false;
    }
    if (FFileHandle->pb) GlobalLogger()->Log(this, llDebug, "currunt position %d bytes", ReaderPosition());
    int64_t Target = APTS < 0 ? 0 : APTS;
    if (!ASeekFlags.Contains(sfByte)) {
        if (FSeekIndex >= 0)
            Target = AV.av_rescale_q(Target, AVRational{1, AV_TIME_BASE}, FFileHandle->streams[FSeekIndex]->time_base);
        if (FStartTime > 0) Target += FStartTime;
    }
    if (FCodec) AV.avcodec_flush_buffers(FCodec);
    FDraining = false;
    FReadError = 0;
    FEOF = false;
    ClearFrame();

    int R;
    int Flags = SeekFlagsToAV(ASeekFlags);
    if (APTS > 0) {
        R = AV.av_seek_frame(FFileHandle, FSeekIndex, Target, Flags);
    } else {
        R = AV.av_seek_frame(FFileHandle, FSeekIndex, Target, Flags | AVSEEK_FLAG_BACKWARD);
        if (R < 0) R = AV.av_seek_frame(FFileHandle, FSeekIndex, Target, Flags & ~AVSEEK_FLAG_BACKWARD);
    }
    if (R < 0) {
        if (ASeekFlags.Contains(sfByte))
            ReportError(llError, Format("could not seek to position %d bytes", APTS));
        else
            ReportError(llError, Format("could not seek to position %0.3f seconds", double(APTS) / 1000000.0));
    }
    if (FFileHandle->pb) {
        GlobalLogger()->Log(this, llDebug, "seek to position %d bytes", ReaderPosition());
        if (AV.avio_feof(FFileHandle->pb)) {
            if (R >= 0) ReportError(llInfo, EofText);
            FEOF = true;
            return false;
        }
    }
    return R >= 0;
}

bool TAVProbe::DecodeNextKeyFrame(int AStreamIndex)
{
    int S = SelectDecodeStream(AStreamIndex);
    if (S < 0) return false;
    int64_t D = FrameDuration(FFileHandle->streams[S]->r_frame_rate);
    int64_t Target = FPicture.PTS != AV_NOPTS_VALUE && FPicture.PTS > 0 ? FPicture.PTS + D : D;
    if (!Seek(Target, {})) return false;
    return Decode(S);
}

namespace {
// The step back of the backward searches: one frame, or a default frame's length where
// the rate is so high (or corrupt) that a frame lasts under a microsecond.
int64_t SearchStep(AVRational ARate)
{
    int64_t D = FrameDuration(ARate);
    return D > 0 ? D : FrameDuration(AVRational{0, 1});
}
}  // namespace

bool TAVProbe::DecodePreviousKeyFrame(int AStreamIndex)
{
    int S = SelectDecodeStream(AStreamIndex);
    if (S < 0) return false;
    int64_t D = SearchStep(FFileHandle->streams[S]->r_frame_rate);
    int64_t R = FPicture.PTS != AV_NOPTS_VALUE ? FPicture.PTS
                : FLastPTS != AV_NOPTS_VALUE   ? FLastPTS
                : FFileHandle->duration != AV_NOPTS_VALUE ? FFileHandle->duration
                                                          : 0;
    int64_t P = FPicture.Position >= 0 ? FPicture.Position : FLastPos;
    for (int64_t H = 1;; ++H) {
        int64_t Target = R - H * D;
        Seek(Target, {sfBackward});
        int64_t Pos = ReaderPosition();
        bool NotBack = Pos >= P && P > 0 && R >= H * D;
        if (!NotBack) {
            if (Decode(S)) {
                if (FPicture.PTS < R || FPicture.PTS <= 0) return true;
            } else if (R < H * D) {
                break;
            }
        }
        // Once the start of the stream has been tried there is nothing earlier to find.
        if (Target <= 0) break;
    }
    FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
    return false;
}

bool TAVProbe::DecodePreviousFrame(int AStreamIndex)
{
    int S = SelectDecodeStream(AStreamIndex);
    if (S < 0) return false;
    int64_t D = SearchStep(FFileHandle->streams[S]->r_frame_rate);
    int64_t Current = FPicture.PTS != AV_NOPTS_VALUE ? FPicture.PTS : FLastPTS != AV_NOPTS_VALUE ? FLastPTS : 0;
    int64_t Target = Current - 2 * D;
    if (!DecodePreviousKeyFrame(S)) return false;
    while (FPicture.PTS <= Target)
        if (!Decode(S)) return false;
    return true;
}
