// The progress report of a conversion (the host's progress event, or a log line) and the
// per-frame video statistics file.
#include "engine/transcode/FFmpeg.h"
#include "engine/libs/FFmpegLoader.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

// printf-style text, for the report lines whose layout follows C's conversions.
String CFormat(const char* AFormat, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, AFormat);
    std::vsnprintf(buf, sizeof buf, AFormat, args);
    va_end(args);
    return buf;
}

double PSNR(double AError) { return -10.0 * std::log10(AError); }

}  // namespace

void TCustomFFmpeg::ReportProgress(bool AIsLast, int AFileIndex)
{
    AVFormatContext* oc = Fnb_output_files > 0 ? Foutput_files[0] : nullptr;
    int64_t total_size = 0;
    if (oc && oc->pb) {
        total_size = AV.avio_size(oc->pb);
        if (total_size <= 0) total_size = AVIOTell(oc->pb);
        if (total_size < 0) total_size = 0;
    }
    String line;
    bool vid = false;
    int frame_number = -1, fps = -1;
    float q = -1;
    double ti1 = 1e10;
    for (auto& p : Fost_table) {
        TAVOutputStream* ost = p.get();
        AVCodecContext* enc = ost->enc;
        const float oq = ost->encoding_needed ? float(ost->coded_quality) / FF_QP2LAMBDA : -1.0f;
        if (ost->Type() == AVMEDIA_TYPE_VIDEO) {
            if (vid) {
                line += CFormat("q=%2.1f ", oq);
            } else if (ost->show_fps) {
                vid = true;
                const double t = double(ClockMicro() - Ftimer_start) / 1000000.0;
                frame_number = ost->frame_number;
                if (frame_number < 1) return;  // nothing to tell before the first picture
                fps = t > 1 ? int(frame_number / t + 0.5) : 0;
                q = oq;
                line += CFormat("frame=%5d fps=%3d q=%3.1f ", frame_number, fps, oq);
                if (AIsLast) line += "L";
                if (Fqp_hist) {
                    int qp = int(std::lrint(oq));
                    if (qp >= 0 && qp < 52) QPHistogram[qp]++;
                    for (int j = 0; j < 32; ++j)
                        line += CFormat("%X", int(std::lrint(std::log2(double(QPHistogram[j].load()) + 1))));
                }
                if (enc && ost->encoding_needed && (enc->flags & AV_CODEC_FLAG_PSNR)) {
                    double error_sum = 0, scale_sum = 0;
                    static const char Planes[] = {'Y', 'U', 'V'};
                    line += "PSNR=";
                    for (int j = 0; j < 3; ++j) {
                        double error, scale;
                        if (AIsLast) {
                            error = double(enc->error[j] ? enc->error[j] : ost->total_error[j]);
                            scale = double(enc->width) * enc->height * 255.0 * 255.0 * frame_number;
                        } else {
                            error = double(ost->coded_error[j]);
                            scale = double(enc->width) * enc->height * 255.0 * 255.0;
                        }
                        if (j) scale /= 4;
                        error_sum += error;
                        scale_sum += scale;
                        line += CFormat("%c:%2.2f ", Planes[j], PSNR(error / scale));
                    }
                    line += CFormat("*:%2.2f ", PSNR(error_sum / scale_sum));
                }
            }
        }
        // The position: the smallest positive time any stream has reached.
        if (ost->cur_dts != AV_NOPTS_VALUE) {
            double t = double(ost->cur_dts) * av_q2d(ost->st->time_base);
            if (t > 0 && t < ti1) ti1 = t;
        }
    }
    if (ti1 < 0.01) ti1 = 0.01;

    if (FOnProgress || Fverbose > 0 || AIsLast) {
        const double bitrate = double(total_size) * 8 / ti1 / 1000.0;
        line += CFormat("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", double(total_size) / 1024.0, ti1, bitrate);
        if (Fnb_frames_dup || Fnb_frames_drop) {
            line += CFormat(" dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
            if (FShowDupOrDrop && Fverbose >= 0 && FOnProgress) {
                Log(llVerbose, line);
                FShowDupOrDrop = false;
            }
        }
        if (FOnProgress)
            FOnProgress(this, AFileIndex, vid ? frame_number : -1, vid ? fps : -1, vid ? q : -1.0f, float(bitrate),
                        total_size, int64_t(ti1 * 1000000.0), FTotalOutputDuration);
        else if (Fverbose >= 0)
            Log(llVerbose, line);
    }
    if (AIsLast && Fverbose >= 0) {
        const int64_t raw = Fvideo_size + Faudio_size + Fextra_size;
        Log(llVerbose, CFormat("video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
                               double(Fvideo_size) / 1024.0, double(Faudio_size) / 1024.0, double(Fextra_size) / 1024.0,
                               raw ? double(total_size - raw) * 100.0 / double(raw) : 0.0));
    }
}

void TCustomFFmpeg::WriteVideoStats(TAVOutputStream* AOst, int AFrameSize)
{
    if (!Fvstats_file) {
        Fvstats_file = std::fopen(Fvstats_filename.c_str(), "w");
        if (!Fvstats_file) throw FFmpegException("fopen fail: " + Fvstats_filename);
    }
    AVCodecContext* enc = AOst->enc;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
    std::fprintf(Fvstats_file, "frame= %5d q= %2.1f ", AOst->packets_written, double(AOst->coded_quality) / FF_QP2LAMBDA);
    if (enc->flags & AV_CODEC_FLAG_PSNR)
        std::fprintf(Fvstats_file, "PSNR= %6.2f ",
                     PSNR(double(AOst->coded_error[0]) / (double(enc->width) * enc->height * 255.0 * 255.0)));
    std::fprintf(Fvstats_file, "f_size= %6d ", AFrameSize);
    double ti1 = double(AOst->sync_opts) * av_q2d(enc->time_base);
    if (ti1 < 0.01) ti1 = 0.01;
    const double bitrate = double(AFrameSize) * 8 / av_q2d(enc->time_base) / 1000.0;
    const double avg_bitrate = double(Fvideo_size) * 8 / ti1 / 1000.0;
    std::fprintf(Fvstats_file, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                 double(Fvideo_size) / 1024, ti1, bitrate, avg_bitrate);
    std::fprintf(Fvstats_file, "type= %c\n", AV.av_get_picture_type_char(AVPictureType(AOst->coded_pict_type)));
}
