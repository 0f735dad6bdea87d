// The conversion run of a transcoder whose inputs and outputs are open.
#include "engine/FFmpeg.h"

void TCustomFFmpeg::Transcode()
{
    // The packet loop is not part of this build: a started conversion ends at once with
    // this message, after which its files are closed and its termination reported.
    throw FFmpegException("Transcoding is not available");
}
