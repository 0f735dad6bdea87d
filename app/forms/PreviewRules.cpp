#include "app/forms/PreviewRules.h"

#include "platform/forms/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

int64_t SeekTargetOfSlider(int64_t ADuration, int AValue, int AMax)
{
    if (AMax <= 0) return 0;
    return ADuration * int64_t(AValue) / int64_t(AMax);
}

int SliderValueOfPosition(int64_t APosition, int64_t ADuration, int AMax)
{
    if (APosition < 0 || ADuration <= 0) return -1;
    // The position can run past the duration the file states: the slider stops at its end.
    if (APosition >= ADuration) return AMax;
    return int(int64_t(AMax) * APosition / ADuration);
}

namespace {

void SelectText(TComboBox* ABox, const String& AText) { ABox->SetItemIndex(ABox->Items()->IndexOf(AText)); }

}  // namespace

void FillStreamLists(const std::vector<TStreamKind>& AStreams, int AVideoStream, int AAudioStream,
                     int ASubtitleStream, TComboBox* AVideo, TComboBox* AAudio, TComboBox* ASubtitle)
{
    for (TComboBox* box : {AVideo, AAudio, ASubtitle}) {
        box->Items()->BeginUpdate();
        box->Items()->Clear();
    }
    for (size_t i = 0; i < AStreams.size(); ++i) {
        const int index = int(i);
        switch (AStreams[i]) {
        case TStreamKind::Video: AVideo->Items()->Add(Format("Video#%d", index)); break;
        case TStreamKind::Audio: AAudio->Items()->Add(Format("Audio#%d", index)); break;
        case TStreamKind::Subtitle: ASubtitle->Items()->Add(Format("Subtitle#%d", index)); break;
        case TStreamKind::Other: break;
        }
    }
    AVideo->SetEnabled(AVideo->Items()->Count() >= 2 && AVideoStream >= 0);
    SelectText(AVideo, Format("Video#%d", AVideoStream));
    AAudio->SetEnabled(AAudio->Items()->Count() >= 2 && AAudioStream >= 0);
    SelectText(AAudio, Format("Audio#%d", AAudioStream));
    ASubtitle->SetEnabled(ASubtitle->Items()->Count() >= 1 && AVideoStream >= 0);
    if (ASubtitle->Enabled()) {
        ASubtitle->Items()->Insert(0, "Subtitle#-1");
        SelectText(ASubtitle, Format("Subtitle#%d", ASubtitleStream));
    }
    for (TComboBox* box : {AVideo, AAudio, ASubtitle}) box->Items()->EndUpdate();
}

bool IsSnapshotFormat(const String& AFormat)
{
    return AFormat == "BMP" || AFormat == "JPG" || AFormat == "GIF" || AFormat == "PNG";
}

String SnapshotExtension(const String& AFormat)
{
    if (AFormat == "JPG") return ".jpg";
    if (AFormat == "GIF") return ".gif";
    if (AFormat == "PNG") return ".png";
    return ".bmp";
}

String SnapshotBaseName(const String& AMovieFileName)
{
    return ChangeFileExt(ExtractFileName(AMovieFileName), "");
}

std::vector<uint8_t> EncodeSnapshot(TBitmap* AFrame, const String& AFormat)
{
    TMemoryStream out;
    if (AFormat == "JPG") {
        TJPEGImage jpeg;
        jpeg.Assign(AFrame);
        jpeg.CompressionQuality = 90;
        jpeg.SaveToStream(&out);
    } else if (AFormat == "GIF") {
        TGIFImage gif;
        gif.Assign(AFrame);
        gif.SaveToStream(&out);
    } else if (AFormat == "PNG") {
        TPngImage png;
        png.Assign(AFrame);
        png.SaveToStream(&out);
    } else {
        AFrame->SaveToStream(&out);
    }
    const auto* data = static_cast<const uint8_t*>(out.Memory());
    return std::vector<uint8_t>(data, data + out.Size());
}

String WriteSnapshotFile(const String& AFolder, const String& ABase, const String& AExtension,
                         const std::vector<uint8_t>& AData)
{
    for (int n = 1; n < INT_MAX; ++n) {
        const String name = IncludeTrailingPathDelimiter(AFolder) + ABase + "_" + IntToStr(n) + AExtension;
        if (FileExists(name) || DirectoryExists(name)) continue;
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);  // the umask decides
        if (fd < 0) {
            if (errno == EEXIST) continue;  // another writer took this number first
            throw EFCreateError(Format("Cannot create file \"%s\". %s", name, SysErrorMessage(errno)));
        }
        size_t done = 0;
        while (done < AData.size()) {
            const ssize_t w = write(fd, AData.data() + done, AData.size() - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                const int error = errno;
                close(fd);
                unlink(name.c_str());
                throw EWriteError(Format("Cannot write file \"%s\". %s", name, SysErrorMessage(error)));
            }
            done += size_t(w);
        }
        if (close(fd) != 0) {
            const int error = errno;
            unlink(name.c_str());
            throw EWriteError(Format("Cannot write file \"%s\". %s", name, SysErrorMessage(error)));
        }
        return name;
    }
    throw EFCreateError(Format("Cannot create file \"%s\". No free number is left", AFolder + "/" + ABase));
}
