// Path helpers of the file-system controls: joining, shortening a path to a width, and
// splitting a typed path into folder and file parts against the current directory.
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "platform/shell/FileSearch.h"
#include "platform/system/SysUtils.h"
#include "skin/shell/bsSkinShellViews.h"

bool IsExistingFolder(const String& Path)
{
    const DWORD A = GetFileAttributes(Path);
    return A != INVALID_FILE_ATTRIBUTES && (A & faDirectory) != 0;
}

String JoinPathName(const String& Folder, const String& Name)
{
    if (!Folder.empty() && Folder.back() == '/') return Folder + Name;
    return Folder + "/" + Name;
}

int BackslashCount(const String& Text)
{
    int N = 0;
    for (char C : Text)
        if (C == '/') ++N;
    return N;
}

String CutFirstFolder(String S)
{
    if (S == "/") return String();
    bool Lead = false;
    if (!S.empty() && S[0] == '/') {
        Lead = true;
        S.erase(0, 1);
    }
    // ".../" left by an earlier cut
    if (!S.empty() && S[0] == '.') S.erase(0, std::min<size_t>(4, S.size()));
    const size_t P = S.find('/');
    if (P != String::npos)
        S = ".../" + S.substr(P + 1);
    else
        S.clear();
    if (Lead) S = "/" + S;
    return S;
}

String FitPathToWidth(const String& FileName, TCanvas* Canvas, int MaxLen)
{
    String Result = FileName;
    const size_t Slash = FileName.rfind('/');
    String Dir = Slash == String::npos ? String() : FileName.substr(0, Slash + 1);
    const String Name = Slash == String::npos ? FileName : FileName.substr(Slash + 1);
    // There are no drive letters here; a path is shortened from its first folder down.
    while (!Dir.empty() && Canvas->TextWidth(Result) > MaxLen) {
        if (Dir == "/.../")
            Dir = ".../";
        else
            Dir = CutFirstFolder(Dir);
        Result = Dir + Name;
    }
    return Result;
}

String bsGetCurrentDir()
{
    char Buf[4096];
    if (!getcwd(Buf, sizeof Buf)) return String();
    return Buf;
}

void bsChDir(const String& Dir)
{
    if (Dir.empty() || chdir(Dir.c_str()) != 0) {
        const int E = Dir.empty() ? ENOENT : errno;
        throw EInOutError(E, "Cannot enter folder \"" + Dir + "\": " + std::strerror(E));
    }
}

namespace {
// Puts the current directory back when it still exists, however the split ends.
struct TRestoreDir {
    String Saved;
    ~TRestoreDir()
    {
        if (!Saved.empty() && IsExistingFolder(Saved)) (void)!chdir(Saved.c_str());
    }
};
bool HasWildcards(const String& S) { return S.find_first_of("*?") != String::npos; }
} // namespace

void SplitTypedPath(const String& EditText, String& DirPart, String& FilePart)
{
    TRestoreDir Restore{bsGetCurrentDir()};
    DirPart = EditText;
    FilePart.clear();
    if (DirPart.size() >= 2 && DirPart.front() == '[' && DirPart.back() == ']')
        DirPart = DirPart.substr(1, DirPart.size() - 2);
    const size_t Slash = DirPart.rfind('/');
    FilePart = Slash == String::npos ? DirPart : DirPart.substr(Slash + 1);
    if (DirPart.size() == FilePart.size() + 1)
        DirPart = "/";
    else if (DirPart.size() > FilePart.size() + 1)
        DirPart.erase(DirPart.size() - FilePart.size() - 1);
    else {
        DirPart = bsGetCurrentDir();
        if (DirPart.empty()) DirPart = "/";
    }
    if (!DirPart.empty()) bsChDir(DirPart);
    if (!FilePart.empty() && !HasWildcards(FilePart) && !FileExists(FilePart)) {
        // not a file of this folder: a folder to go into
        bsChDir(FilePart);
        DirPart = DirPart.size() == 1 ? "/" + FilePart : DirPart + "/" + FilePart;
        FilePart.clear();
    }
}
