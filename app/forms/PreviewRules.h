// The preview panel's arithmetic and the snapshot files, apart from the window: the seek
// slider's mapping to and from the file's time, the stream lists, and the naming,
// encoding and writing of snapshot pictures.
#pragma once

#include "platform/system/Types.h"

#include <cstdint>
#include <vector>

class TBitmap;
class TComboBox;

// The time (microseconds) a slider value stands for: ADuration * AValue div AMax in 64
// bits, truncated; 0 when the slider has no range.
int64_t SeekTargetOfSlider(int64_t ADuration, int AValue, int AMax);
// The slider value of a play position: AMax * APosition div ADuration, never past AMax;
// -1 (leave the slider alone) for a negative position or a duration that is not positive.
int SliderValueOfPosition(int64_t APosition, int64_t ADuration, int AMax);

// The kind of each stream of a file, in stream order.
enum class TStreamKind { Video, Audio, Subtitle, Other };
// Fills the three stream lists from the file's streams: "Video#N", "Audio#N" and
// "Subtitle#N" by stream index.  The video and audio lists are enabled only with a choice
// to make (two or more streams) and a stream playing, and select the stream playing; the
// subtitle list is enabled when it has a stream and video plays, and then offers
// "Subtitle#-1" (none) first and selects the subtitle stream playing.
void FillStreamLists(const std::vector<TStreamKind>& AStreams, int AVideoStream, int AAudioStream,
                     int ASubtitleStream, TComboBox* AVideo, TComboBox* AAudio, TComboBox* ASubtitle);

// Snapshot formats as stored ("BMP", "JPG", "GIF", "PNG", case as given); true for one of them.
bool IsSnapshotFormat(const String& AFormat);
// ".bmp", ".jpg", ".gif" or ".png"; ".bmp" for anything else.
String SnapshotExtension(const String& AFormat);
// The previewed file's name without its folder and its last extension ("a.b.c.avi" -> "a.b.c").
String SnapshotBaseName(const String& AMovieFileName);
// The picture as a file of the format: BMP as it is, JPEG at quality 90 (baseline,
// colour), GIF reduced to at most 256 colours, PNG with the picture class's defaults.
std::vector<uint8_t> EncodeSnapshot(TBitmap* AFrame, const String& AFormat);
// Writes AData as AFolder/ABase_N.AExt with N the first number from 1 whose file does not
// exist.  The file is created exclusively, so no file is ever replaced: when another
// writer takes a name first, the next number is tried.  Returns the file written; raises
// EFCreateError (or EWriteError, the partial file removed) when it cannot be written.
String WriteSnapshotFile(const String& AFolder, const String& ABase, const String& AExtension,
                         const std::vector<uint8_t>& AData);
