// Finding files by name: the search of a folder (FindFirst, FindNext, FindClose) with
// attributes, 64-bit sizes and dot-files, the attributes of one path, folders made one
// at a time, and file masks that ignore case.
//
// Paths use "/" only and are taken as they stand (relative ones from the current
// folder, which nothing here changes).  A name starting with "." counts as hidden.
#pragma once

#include <memory>

#include "platform/shell/ShlObj.h"

// ---- attributes ----------------------------------------------------------------------------------
constexpr int faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faVolumeID = 0x08, faDirectory = 0x10,
              faArchive = 0x20, faAnyFile = 0x3F, faSymLink = 0x400;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80, INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD ERROR_NO_MORE_FILES = 18;

// The attribute word of Path (FILE_ATTRIBUTE_: directory, read-only for us, hidden for a
// dot-file, archive for anything else; a symbolic link takes its target's kind), or
// INVALID_FILE_ATTRIBUTES with Error (when given) telling why: ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when it does not exist, ERROR_INVALID_NAME for an empty name, one
// too long or one that passes through a file, ERROR_ACCESS_DENIED when a folder on the
// way may not be searched.
DWORD GetFileAttributes(const String& Path, DWORD* Error = nullptr);
inline DWORD GetFileAttributesW(const String& Path, DWORD* Error = nullptr) { return GetFileAttributes(Path, Error); }
// The same as fa... bits, or -1.
int FileGetAttr(const String& FileName);

// ---- searching a folder ------------------------------------------------------------------------
struct TSearchState;
struct TSearchRec {
    int Time = 0;            // the last change as a DOS date and time (local, 2-second steps)
    int64_t Size = 0;        // bytes (0 for folders)
    int Attr = 0;            // fa... bits
    String Name;             // the name without its folder
    int ExcludeAttr = 0;     // the special kinds the search leaves out
    TDateTime TimeStamp = 0; // the last change, local time
    std::shared_ptr<TSearchState> FindHandle;
};
// Starts a search of Path ("folder/mask"; the mask may hold * and ?, "*.*" and "*" match
// every name, letters match without regard to case).  Entries come sorted by name
// ("." and ".." first, then ignoring case); plain files always, hidden files, folders
// (with "." and ".." except in "/") and others only when Attr names faHidden,
// faDirectory, faSysFile.  0 and the first entry in F, or an error: ERROR_FILE_NOT_FOUND
// when nothing matches, ERROR_PATH_NOT_FOUND when the folder is missing,
// ERROR_ACCESS_DENIED when it cannot be read.
int FindFirst(const String& Path, int Attr, TSearchRec& F);
// 0 and the next entry, or ERROR_NO_MORE_FILES.
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// ---- folders -----------------------------------------------------------------------------------------
// Makes one folder (its parent must exist); false when it cannot.
bool CreateDir(const String& Dir);
// As CreateDir, raising EInOutError with the system's reason on failure.
void MkDir(const String& Dir);

// ---- masks ------------------------------------------------------------------------------------------
// Whether FileName (a name, or a path whose last part is tested) matches Mask: a list of
// patterns separated by ";" (empty ones are skipped) of which one must match; a pattern
// holds "*" (any run), "?" (one character) and "[a-z]"/"[!x]" sets, and compares letters
// without regard to case, so "*.AVI" matches "clip.avi".  "*.*" matches every name.
// Raises EMaskException for a set that is not closed.
bool MatchesMask(const String& FileName, const String& Mask);
class EMaskException : public Exception {
public:
    using Exception::Exception;
};
