// TAVProbe: the current frame as a platform bitmap.
#include "engine/probe/AVProbe.h"

#include "platform/graphics/Graphics.h"

bool TAVProbe::CopyToBitmap(TBitmap* ABitmap)
{
    if (!FPicture.Ready) {
        ReportError(llError, "picture not ready, please decode first");
        return false;
    }
    bool Ok = PictureToBitmap(FRGBContext, FPicture.Data, FPicture.Linesize, AVPixelFormat(FPicture.PixFmt),
                              FPicture.Height, FPicture.Width);
    if (!ABitmap) return Ok;
    if (Ok) {
        ABitmap->Assign(FRGBContext.Bitmap.get());
    } else {
        ABitmap->SetPixelFormat(pf24bit);
        ABitmap->SetSize(FPicture.Width, FPicture.Height);
        ABitmap->Canvas()->Brush()->SetColor(clBlack);
        ABitmap->Canvas()->FillRect(Rect(0, 0, FPicture.Width, FPicture.Height));
        AV.av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    }
    return Ok;
}
