// Video output: the output frame rate is kept in step with the timestamps by dropping or
// duplicating pictures; pictures are cropped and scaled (or come from the filter graph),
// encoded and written.  Before that, decoded pictures may be deinterlaced and handed to
// the host's custom hook; after encoding, the preview window or the preview-bitmap event
// gets a picture now and then.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"
#include "engine/transcode/Previewer.h"
#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// ---------------------------------------------------------------------------------
// Deinterlacing

namespace {

bool DeinterlaceFormat(int AFormat)
{
    switch (AFormat) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8: return true;
    default: return false;
    }
}

// One plane: even lines are kept, odd lines are (-1 4 2 4 -1)/8 of the five lines around
// them (lines beyond the edges repeat the edge).
void DeinterlacePlane(uint8_t* ADst, int ADstWrap, const uint8_t* ASrc, int ASrcWrap, int AWidth, int AHeight)
{
    auto line = [&](int y) { return ASrc + size_t(std::clamp(y, 0, AHeight - 1)) * ASrcWrap; };
    for (int y = 0; y < AHeight; ++y) {
        uint8_t* d = ADst + size_t(y) * ADstWrap;
        if ((y & 1) == 0) {
            std::memcpy(d, line(y), size_t(AWidth));
            continue;
        }
        const uint8_t *m2 = line(y - 2), *m1 = line(y - 1), *c = line(y), *p1 = line(y + 1), *p2 = line(y + 2);
        for (int x = 0; x < AWidth; ++x) {
            int sum = -m2[x] + 4 * m1[x] + 2 * c[x] + 4 * p1[x] - p2[x];
            d[x] = uint8_t(std::clamp((sum + 4) >> 3, 0, 255));
        }
    }
}

}  // namespace

bool DeinterlacePicture(AVFrame* ADest, const AVFrame* ASource)
{
    if (!DeinterlaceFormat(ASource->format) || (ASource->width & 3) || (ASource->height & 3)) return false;
    const AVPixFmtDescriptor* desc = AV.av_pix_fmt_desc_get(AVPixelFormat(ASource->format));
    if (!desc) return false;
    for (int p = 0; p < (ASource->format == AV_PIX_FMT_GRAY8 ? 1 : 3); ++p) {
        int w = p ? -((-ASource->width) >> desc->log2_chroma_w) : ASource->width;
        int h = p ? -((-ASource->height) >> desc->log2_chroma_h) : ASource->height;
        DeinterlacePlane(ADest->data[p], ADest->linesize[p], ASource->data[p], ASource->linesize[p], w, h);
    }
    return true;
}

// ---------------------------------------------------------------------------------
// Video output

namespace {

// Points AView at the part of APicture inside the bands (no pixels are copied).
bool CropPicture(AVFrame* AView, const AVFrame* APicture, int ATop, int ABottom, int ALeft, int ARight)
{
    const AVPixFmtDescriptor* desc = AV.av_pix_fmt_desc_get(AVPixelFormat(APicture->format));
    if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_PAL))) return false;
    if (ATop + ABottom >= APicture->height || ALeft + ARight >= APicture->width) return false;
    AV.av_frame_unref(AView);
    if (AV.av_frame_ref(AView, APicture) < 0) return false;
    int steps[4] = {};
    for (int c = 0; c < desc->nb_components; ++c)
        steps[desc->comp[c].plane] = std::max(steps[desc->comp[c].plane], desc->comp[c].step);
    for (int p = 0; p < 4 && AView->data[p]; ++p) {
        const bool chroma = p == 1 || p == 2;
        int top = chroma ? ATop >> desc->log2_chroma_h : ATop;
        int left = chroma ? ALeft >> desc->log2_chroma_w : ALeft;
        AView->data[p] += ptrdiff_t(top) * AView->linesize[p] + ptrdiff_t(left) * steps[p];
    }
    AView->width = APicture->width - ALeft - ARight;
    AView->height = APicture->height - ATop - ABottom;
    return true;
}

}  // namespace

int TCustomFFmpeg::VideoOut(TAVOutputStream* AOst, TAVInputStream* AIst, AVFrame* APicture)
{
    AVCodecContext* enc = AOst->enc;
    // 1-2. How many frames this picture makes
    int nb_frames = 1;
    const TAVInputStream* sist = AOst->sync_ist ? AOst->sync_ist : AIst;
    const double sync_ipts = double(sist->pts - Fstart_time) / AV_TIME_BASE / av_q2d(enc->time_base);
    if (Fvideo_sync_method != 0) {
        const double vdelta = sync_ipts - double(AOst->sync_opts);
        if (vdelta < -1.1) {
            nb_frames = 0;
        } else if (VideoSyncMethod(AOst) == 2) {
            if (vdelta <= -0.6) nb_frames = 0;
            else if (vdelta > 0.6) AOst->sync_opts = std::llrint(sync_ipts);
        } else if (vdelta > 1.1) {
            // A picture stands for at most MaxPictureSeconds of frames: a corrupt frame
            // rate or a huge gap in the timestamps would otherwise make one picture
            // millions of frames.  The position then moves on to the picture's time.
            const double limit = std::clamp(MaxPictureSeconds / av_q2d(enc->time_base), 1.0, double(MaxPictureFrames));
            if (vdelta > limit) {
                if (!AOst->dup_limited)
                    Log(llWarning, Format("Output stream #%d.%d: a picture would be repeated %.0f times; it is "
                                          "repeated %d times and the video moves on",
                                          AOst->file_index, AOst->index, vdelta, int(limit)));
                AOst->dup_limited = 1;
                nb_frames = int(limit);
                AOst->sync_opts = std::llrint(sync_ipts) - nb_frames;
            } else {
                nb_frames = int(std::llrint(vdelta));
            }
        }
        if (nb_frames == 0) {
            ++Fnb_frames_drop;
            FShowDupOrDrop = true;
            if (Fverbose > 2) Log(llVerbose, "*** drop!");
        } else if (nb_frames > 1) {
            Fnb_frames_dup += nb_frames - 1;
            FShowDupOrDrop = true;
            if (Fverbose > 2) Log(llVerbose, Format("*** %d dup!", nb_frames - 1));
        }
    } else {
        AOst->sync_opts = std::llrint(sync_ipts);
    }
    // 3. The frame limit
    nb_frames = std::min<int64_t>(nb_frames, int64_t(Fmax_frames[AVMEDIA_TYPE_VIDEO]) - AOst->frame_number);
    if (nb_frames <= 0) return 0;

    AVFrame* final = APicture;
    if (!AIst->input_video_filter) {
        // 5. A change of the decoded size or format: the bands follow the new size and the
        // scaler is made for it (a stream that did not scale begins to).
        const int cw = APicture->width - AOst->leftBand - AOst->rightBand;
        const int ch = APicture->height - AOst->topBand - AOst->bottomBand;
        if (cw != AOst->resample_width || ch != AOst->resample_height || APicture->format != AOst->resample_pix_fmt) {
            const char* name = AV.av_get_pix_fmt_name(AVPixelFormat(APicture->format));
            Log(llQuiet, Format("Input Stream #%d.%d frame size changed to %dx%d, %s", AIst->file_index, AIst->index,
                                APicture->width, APicture->height, String(name ? name : "none")));
            if (AOst->video_crop && AOst->original_width > 0 && AOst->original_height > 0) {
                AOst->topBand = (APicture->height * AOst->original_topBand / AOst->original_height) & ~1;
                AOst->bottomBand = (APicture->height * AOst->original_bottomBand / AOst->original_height) & ~1;
                AOst->leftBand = (APicture->width * AOst->original_leftBand / AOst->original_width) & ~1;
                AOst->rightBand = (APicture->width * AOst->original_rightBand / AOst->original_width) & ~1;
            }
            AOst->resample_width = APicture->width - AOst->leftBand - AOst->rightBand;
            AOst->resample_height = APicture->height - AOst->topBand - AOst->bottomBand;
            AOst->resample_pix_fmt = APicture->format;
            AllocPictTmp(AOst);
            AOst->video_resample = 1;
            if (AOst->img_resample_ctx) AV.sws_freeContext(AOst->img_resample_ctx);
            AOst->img_resample_ctx = AV.sws_getContext(AOst->resample_width, AOst->resample_height,
                                                       AVPixelFormat(APicture->format), enc->width, enc->height,
                                                       enc->pix_fmt, int(ReadSwsFlags()), nullptr, nullptr, nullptr);
            if (!AOst->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
        }
        // 4. Cropping
        if (AOst->video_crop) {
            if (!AOst->crop_frame) AOst->crop_frame = AV.av_frame_alloc();
            if (!AOst->crop_frame || !CropPicture(AOst->crop_frame, APicture, AOst->topBand, AOst->bottomBand,
                                                  AOst->leftBand, AOst->rightBand)) {
                if (Fexit_on_error) throw FFmpegException("error cropping picture");
                Log(llError, "error cropping picture");
                return 0;
            }
            final = AOst->crop_frame;
        }
        // 6. Scaling
        if (AOst->video_resample) {
            // The encoder may still hold the last scaled picture: a new buffer then.
            if (AV.av_frame_make_writable(AOst->pict_tmp) < 0) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
            AV.sws_scale(AOst->img_resample_ctx, final->data, final->linesize, 0, AOst->resample_height,
                         AOst->pict_tmp->data, AOst->pict_tmp->linesize);
            AOst->pict_tmp->interlaced_frame = APicture->interlaced_frame;
            AOst->pict_tmp->top_field_first = APicture->top_field_first;
            final = AOst->pict_tmp;
        }
    }

    // 7. Encoding
    int bytes = 0;
    const bool interlaced = (enc->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME)) != 0;
    // A stop cuts a run of repeated pictures short, but each picture is encoded once: the
    // pictures a frame-threaded decoder still held when the conversion stopped come out of
    // the final flush and keep the video as long as the audio read with it.
    for (int i = 0; i < nb_frames; ++i) {
        if (i > 0) {
            WaitWhilePaused();  // a long run of repeated pictures pauses like the packet loop
            if (FBroken) break;
        }
        final->pts = AOst->sync_opts;
        final->pict_type = Fme_threshold ? APicture->pict_type : AV_PICTURE_TYPE_NONE;
        final->quality = Fsame_quality ? int(AIst->quality) : int(std::lrint(AOst->codec->quality));
        final->interlaced_frame = APicture->interlaced_frame;
        if (interlaced) final->top_field_first = Ftop_field_first == -1 ? APicture->top_field_first : Ftop_field_first;
        if (AOst->last_frame_pts != AV_NOPTS_VALUE && final->pts <= AOst->last_frame_pts) {
            // Without synchronisation two pictures may fall on one position: the encoder
            // takes strictly increasing times only.
            ++Fnb_frames_drop;
            FShowDupOrDrop = true;
            continue;
        }
        if (AV.avcodec_send_frame(enc, final) < 0) throw FFmpegException("Video encoding failed");
        AOst->last_frame_pts = final->pts;
        if (!FPostHooks.Empty()) RunPostHooks(final, AV.av_rescale_q(final->pts, enc->time_base, AV_TIME_BASE_Q));
        bytes += ReceivePackets(AOst);
        AOst->sync_opts++;
        AOst->frame_number++;
    }
    return bytes;
}

// ---------------------------------------------------------------------------------
// Hooks

namespace {
// The engine's preview window behind the transcoder's preview interface.
class TPreviewWindow : public TPreviewSink {
public:
    bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS) override
    {
        return FPreviewer.PaintFrame(ABitmap, AFrameNumber, APTS);
    }

private:
    TPreviewer FPreviewer;
};
}  // namespace

void TCustomFFmpeg::PreprocessVideoFrame(TAVInputStream* AIst, AVFrame* APicture)
{
    ++FHookFrameNumber;
    const int64_t hookPTS = AIst->pts;
    if (!Fdo_deinterlace && !FOnCustomHook && !Fusing_vhook) return;
    // The working picture, in the decoder's format and size.
    if (!FHookFrame || FHookFrame->format != APicture->format || FHookFrame->width != APicture->width ||
        FHookFrame->height != APicture->height) {
        if (FHookFrame) AV.av_frame_free(&FHookFrame);
        FHookBufSize = 0;
        FHookFrame = AV.av_frame_alloc();
        if (FHookFrame) {
            FHookFrame->format = APicture->format;
            FHookFrame->width = APicture->width;
            FHookFrame->height = APicture->height;
        }
        if (!FHookFrame || AV.av_frame_get_buffer(FHookFrame, 0) < 0) {
            if (FHookFrame) AV.av_frame_free(&FHookFrame);
            Log(llError, "hook buf malloc error.");
            return;
        }
        FHookBufSize = AV.av_image_get_buffer_size(AVPixelFormat(APicture->format), APicture->width, APicture->height, 1);
    } else if (AV.av_frame_make_writable(FHookFrame) < 0) {
        Log(llError, "hook buf malloc error.");
        return;
    }
    AVFrame* work = FHookFrame;
    if (Fdo_deinterlace) {
        if (!DeinterlacePicture(FHookFrame, APicture)) {
            Log(llError, "Deinterlacing failed.");
            if (AV.av_frame_make_writable(APicture) < 0) return;
            work = APicture;
        }
    } else if (AV.av_frame_copy(FHookFrame, APicture) < 0) {
        Log(llError, "hook buf malloc error.");
        return;
    }
    if (FOnCustomHook) {
        RunCustomHook(work, hookPTS);
    } else if (Fusing_vhook) {
        TFrameHookPicture pict{};
        for (int i = 0; i < 4; ++i) {
            pict.data[i] = work->data[i];
            pict.linesize[i] = work->linesize[i];
        }
        RunFrameHooks(FFirstHook, &pict, work->format, work->width, work->height, hookPTS);
    }
    if (work != APicture) {
        AV.av_frame_copy_props(FHookFrame, APicture);
        AV.av_frame_unref(APicture);
        AV.av_frame_ref(APicture, FHookFrame);
    }
}

void TCustomFFmpeg::RunCustomHook(AVFrame* APicture, int64_t APTS)
{
    auto stopHooking = [this] {
        FOnCustomHook = nullptr;
        Fusing_vhook = false;
    };
    TRGBConvertContext& ctx = FHookContext.Context;
    const auto fmt = AVPixelFormat(APicture->format);
    const int w = APicture->width, h = APicture->height;
    if (!PictureToBitmap(ctx, APicture->data, APicture->linesize, fmt, h, w)) {
        Log(llError, "Cannot initialize the toRGB conversion context");
        stopHooking();
        return;
    }
    bool update = true, stop = false;
    try {
        FOnCustomHook(this, ctx.Bitmap.get(), FHookFrameNumber, APTS, update, stop);
    } catch (const Exception& E) {
        Log(llError, "Error occurs OnCustomHook: " + E.Message());
        update = false;
    } catch (const std::exception& E) {
        Log(llError, String("Error occurs OnCustomHook: ") + E.what());
        update = false;
    }
    if (update) {
        TBitmap* bmp = ctx.Bitmap.get();
        const size_t rowBytes = size_t(w) * 3;
        if (fmt == ctx.RGBPixFmt) {
            for (int y = 0; y < h; ++y)
                std::memcpy(APicture->data[0] + size_t(y) * APicture->linesize[0], bmp->ScanLine(y), rowBytes);
        } else {
            if (!ctx.RGBBuf) {
                ctx.RGBBufSize = AV.av_image_get_buffer_size(ctx.RGBPixFmt, w, h, 1);
                ctx.RGBBuf = static_cast<uint8_t*>(AV.av_malloc(size_t(ctx.RGBBufSize)));
                if (!ctx.RGBBuf) {
                    stopHooking();
                    return;
                }
                AV.av_image_fill_arrays(ctx.RGBData, ctx.RGBLinesize, ctx.RGBBuf, ctx.RGBPixFmt, w, h, 1);
            }
            for (int y = 0; y < h; ++y)
                std::memcpy(ctx.RGBData[0] + size_t(y) * ctx.RGBLinesize[0], bmp->ScanLine(y), rowBytes);
            FHookContext.fromRGB_convert_ctx = AV.sws_getCachedContext(FHookContext.fromRGB_convert_ctx, w, h,
                                                                       ctx.RGBPixFmt, w, h, fmt, SWS_BICUBIC,
                                                                       nullptr, nullptr, nullptr);
            if (!FHookContext.fromRGB_convert_ctx) {
                Log(llError, "Cannot initialize the fromRGB conversion context");
                stopHooking();
                return;
            }
            AV.sws_scale(FHookContext.fromRGB_convert_ctx, ctx.RGBData, ctx.RGBLinesize, 0, h, APicture->data,
                         APicture->linesize);
        }
    }
    if (stop) stopHooking();
}

void TCustomFFmpeg::RunPostHooks(const AVFrame* APicture, int64_t APTS)
{
    // The set and the window are taken under the lock; the picture is shown outside it,
    // so that the task list can change the set while a handler waits for the GUI thread.
    TPostHooks hooks;
    {
        TCriticalSectionGuard guard(PreviewHookLock);
        hooks = FPostHooks;
    }
    TPostHooks removed;
    const int64_t now = ClockMicro();
    const bool due = FPostContext.first || now - FPostContext.preview_last_time > PreviewInterval;
    if (hooks.Contains(phBitmap) && FOnPreviewBitmap) {
        if (due) {
            if (PictureToBitmap(FPostContext.Context, APicture->data, APicture->linesize,
                                AVPixelFormat(APicture->format), APicture->height, APicture->width))
                FOnPreviewBitmap(this, FPostContext.Context.Bitmap.get(), FHookFrameNumber, APTS);
            else {
                Log(llError, "Cannot initialize the toRGB conversion context");
                removed.Include(phBitmap);
            }
            FPostContext.preview_last_time = now;
            FPostContext.first = false;
        }
    } else if (hooks.Contains(phPreview)) {
        if (due) {
            std::shared_ptr<TPreviewSink> previewer;
            {
                TCriticalSectionGuard guard(PreviewHookLock);
                if (!FPostContext.Previewer)
                    FPostContext.Previewer =
                        PreviewWindowFactory ? PreviewWindowFactory() : std::make_shared<TPreviewWindow>();
                previewer = FPostContext.Previewer;
            }
            bool ok = previewer && PictureToBitmap(FPostContext.Context, APicture->data, APicture->linesize,
                                                   AVPixelFormat(APicture->format), APicture->height, APicture->width);
            if (!ok || !previewer->PaintFrame(FPostContext.Context.Bitmap.get(), FHookFrameNumber, APTS))
                removed.Include(phPreview);
            FPostContext.preview_last_time = now;
            FPostContext.first = false;
        }
    }
    if (removed.Empty()) return;
    std::shared_ptr<TPreviewSink> previewer;
    {
        TCriticalSectionGuard guard(PreviewHookLock);
        if (removed.Contains(phPreview) && FPostHooks.Contains(phPreview)) previewer = std::move(FPostContext.Previewer);
        FPostHooks -= removed;
    }
    previewer.reset();
}
