// Where a conversion writes a local file.  A regular file (or a name not yet taken) is
// never written in place: the conversion writes a temporary file beside it, which is
// renamed over the named file only when the conversion has succeeded, so a failed or
// stopped conversion leaves any earlier file as it was and no partial file behind.  A
// stopped conversion's ended output takes the name only where no file has it yet.
// Other files (devices, pipes) are written directly and never removed.
#pragma once

#include "platform/system/Types.h"

struct TOutputTarget {
    String Target;  // the file the user named (a symbolic link resolved to its file)
    String Temp;    // the temporary file written instead; empty when written directly
    int Lock = -1;  // an open descriptor of Temp holding a lock on it while it is written
};

// The local file behind a name made by FileNameToURL; empty for a name of another
// protocol ("http:", "pipe:", ...).
String LocalFileOfURL(const String& AURL);

// True when both names designate one existing regular file (same device and inode,
// however the names are spelt).
bool SameRegularFile(const String& AName1, const String& AName2);

// Prepares writing the local file AFileName: makes the temporary file beside it when it
// is a regular file or does not exist yet.  0, or a negative FFmpeg error code (the
// folder cannot be written, ...).
int PrepareOutputTarget(const String& AFileName, TOutputTarget& ATarget);

// The name to open for writing: the temporary file, else the target itself.
inline const String& OutputTargetWriteName(const TOutputTarget& ATarget)
{
    return ATarget.Temp.empty() ? ATarget.Target : ATarget.Temp;
}

// Renames the temporary file over the target.  0, or a negative FFmpeg error code (the
// temporary file is then removed).  Clears ATarget either way.
int CommitOutputTarget(TOutputTarget& ATarget);

// For a stopped conversion: gives the ended temporary file the target's name only where
// no file has that name, so that an earlier file is never replaced by a partial output;
// otherwise removes the temporary file.  0, or a negative FFmpeg error code (the
// temporary file is then removed).  Clears ATarget either way.
int KeepStoppedOutputTarget(TOutputTarget& ATarget);

// Removes from AFolder the temporary files of this program that no running conversion
// writes: hidden ".<name>.<6 hex digits>.part" files left by a program that was killed.
// A temporary file being written is locked by its writer and stays.  The number removed.
int RemoveStaleOutputTemps(const String& AFolder);

// Removes the temporary file, leaving the target untouched; clears ATarget.
void DiscardOutputTarget(TOutputTarget& ATarget);
