// Folder searches, path attributes, folders and file masks over the file system.
#include "platform/shell/FileSearch.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <cwctype>
#include <vector>

struct TSearchState {
    std::vector<TSearchRec> Entries;
    size_t Next = 0;
};

namespace {

std::u32string Folded(const String& S)
{
    std::u32string U = Utf8ToUtf32(S);
    for (char32_t& C : U) C = char32_t(towlower(wint_t(C)));
    return U;
}

// One pattern against a name, both folded.
bool MatchOne(const std::u32string& P, size_t Pi, const std::u32string& N, size_t Ni)
{
    while (Pi < P.size()) {
        char32_t C = P[Pi];
        if (C == '*') {
            while (Pi < P.size() && P[Pi] == '*') ++Pi;
            if (Pi == P.size()) return true;
            for (size_t K = Ni; K <= N.size(); ++K)
                if (MatchOne(P, Pi, N, K)) return true;
            return false;
        }
        if (Ni >= N.size()) return false;
        if (C == '?') {
            ++Pi;
            ++Ni;
            continue;
        }
        if (C == '[') {
            size_t E = P.find(']', Pi + 1);
            if (E == std::u32string::npos) throw EMaskException("Invalid mask");
            size_t I = Pi + 1;
            bool Negate = I < E && P[I] == '!';
            if (Negate) ++I;
            bool In = false;
            for (; I < E; ++I) {
                if (I + 2 < E && P[I + 1] == '-') {
                    In = In || (N[Ni] >= P[I] && N[Ni] <= P[I + 2]);
                    I += 2;
                } else {
                    In = In || N[Ni] == P[I];
                }
            }
            if (In == Negate) return false;
            Pi = E + 1;
            ++Ni;
            continue;
        }
        if (C != N[Ni]) return false;
        ++Pi;
        ++Ni;
    }
    return Ni == N.size();
}

bool MatchPattern(const String& Pattern, const String& Name)
{
    if (Pattern == "*" || Pattern == "*.*") return true;
    return MatchOne(Folded(Pattern), 0, Folded(Name), 0);
}

int DosDateTime(const struct tm& T)
{
    if (T.tm_year < 80) return 0;
    return int(unsigned(T.tm_year - 80) << 25 | unsigned(T.tm_mon + 1) << 21 | unsigned(T.tm_mday) << 16 |
               unsigned(T.tm_hour) << 11 | unsigned(T.tm_min) << 5 | unsigned(T.tm_sec / 2));
}

// The attributes and times of one entry; false when it vanished.
bool Describe(const String& Path, const String& Name, TSearchRec& R)
{
    struct stat St, LSt;
    bool HasL = lstat(Path.c_str(), &LSt) == 0;
    if (stat(Path.c_str(), &St) != 0) {
        if (!HasL) return false;
        St = LSt;  // a link to nothing: the link itself
    }
    R = TSearchRec{};
    R.Name = Name;
    bool Dir = S_ISDIR(St.st_mode);
    R.Attr = Dir ? faDirectory : faArchive;
    if (!S_ISDIR(St.st_mode) && !S_ISREG(St.st_mode)) R.Attr |= faSysFile;  // devices, pipes, sockets
    if (HasL && S_ISLNK(LSt.st_mode)) R.Attr |= faSymLink;
    if (!Name.empty() && Name[0] == '.' && Name != "." && Name != "..") R.Attr |= faHidden;
    if (access(Path.c_str(), W_OK) != 0) R.Attr |= faReadOnly;
    R.Size = Dir ? 0 : int64_t(St.st_size);
    time_t T = St.st_mtime;
    struct tm Lt;
    if (localtime_r(&T, &Lt)) {
        R.Time = DosDateTime(Lt);
        R.TimeStamp = EncodeDate(Lt.tm_year + 1900, Lt.tm_mon + 1, Lt.tm_mday) +
                      EncodeTime(Lt.tm_hour, Lt.tm_min, std::min(Lt.tm_sec, 59), 0);
    }
    return true;
}

int Rank(const String& N) { return N == "." ? 0 : N == ".." ? 1 : 2; }

bool NameBefore(const TSearchRec& A, const TSearchRec& B)
{
    int Ra = Rank(A.Name), Rb = Rank(B.Name);
    if (Ra != Rb) return Ra < Rb;
    std::u32string Fa = Folded(A.Name), Fb = Folded(B.Name);
    if (Fa != Fb) return Fa < Fb;
    return A.Name < B.Name;
}

}  // namespace

DWORD GetFileAttributes(const String& Path, DWORD* Error)
{
    auto Fail = [&](DWORD E) {
        if (Error) *Error = E;
        return INVALID_FILE_ATTRIBUTES;
    };
    if (Path.empty() || Path.find('\0') != String::npos) return Fail(ERROR_INVALID_NAME);
    struct stat St;
    if (stat(Path.c_str(), &St) != 0) {
        switch (errno) {
        case ENOENT: {
            // missing itself, or a folder on the way missing
            String Dir = ExtractFileDir(ExcludeTrailingPathDelimiter(Path));
            struct stat D;
            bool Parent = Dir.empty() || (stat(Dir.c_str(), &D) == 0 && S_ISDIR(D.st_mode));
            return Fail(Parent ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        }
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return Fail(ERROR_INVALID_NAME);
        case EACCES: return Fail(ERROR_ACCESS_DENIED);
        default: return Fail(DWORD(errno));
        }
    }
    TSearchRec R;
    if (!Describe(Path, ExtractFileName(ExcludeTrailingPathDelimiter(Path)), R)) return Fail(ERROR_FILE_NOT_FOUND);
    DWORD A = 0;
    if (R.Attr & faDirectory) A |= FILE_ATTRIBUTE_DIRECTORY;
    if (R.Attr & faArchive) A |= FILE_ATTRIBUTE_ARCHIVE;
    if (R.Attr & faReadOnly) A |= FILE_ATTRIBUTE_READONLY;
    if (R.Attr & faHidden) A |= FILE_ATTRIBUTE_HIDDEN;
    if (Error) *Error = 0;
    return A;
}

int FileGetAttr(const String& FileName)
{
    if (FileName.empty()) return -1;
    TSearchRec R;
    struct stat St;
    if (lstat(FileName.c_str(), &St) != 0) return -1;
    if (!Describe(FileName, ExtractFileName(ExcludeTrailingPathDelimiter(FileName)), R)) return -1;
    return R.Attr;
}

int FindFirst(const String& Path, int Attr, TSearchRec& F)
{
    FindClose(F);
    size_t Slash = Path.rfind('/');
    String Dir = Slash == String::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
    String Mask = Slash == String::npos ? Path : Path.substr(Slash + 1);
    if (Mask.empty()) return int(ERROR_FILE_NOT_FOUND);
    DIR* D = opendir(Dir.c_str());
    if (!D) {
        int E = errno;
        return int(E == EACCES ? ERROR_ACCESS_DENIED : E == ENOENT || E == ENOTDIR ? ERROR_PATH_NOT_FOUND : DWORD(E));
    }
    auto State = std::make_shared<TSearchState>();
    int Exclude = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    bool Root = Dir == "/";
    while (dirent* E = readdir(D)) {
        String Name = E->d_name;
        if (Root && (Name == "." || Name == "..")) continue;
        try {
            if (!MatchPattern(Mask, Name)) continue;
        } catch (const EMaskException&) {
            closedir(D);
            return int(ERROR_INVALID_NAME);
        }
        TSearchRec R;
        if (!Describe(Dir == "/" ? "/" + Name : Dir + "/" + Name, Name, R)) continue;
        if (R.Attr & Exclude) continue;
        R.ExcludeAttr = Exclude;
        State->Entries.push_back(std::move(R));
    }
    closedir(D);
    if (State->Entries.empty()) return int(ERROR_FILE_NOT_FOUND);
    std::sort(State->Entries.begin(), State->Entries.end(), NameBefore);
    F.FindHandle = State;
    return FindNext(F);
}

int FindNext(TSearchRec& F)
{
    std::shared_ptr<TSearchState> S = F.FindHandle;
    if (!S || S->Next >= S->Entries.size()) return int(ERROR_NO_MORE_FILES);
    TSearchRec R = S->Entries[S->Next++];
    R.FindHandle = S;
    F = std::move(R);
    return 0;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

bool CreateDir(const String& Dir) { return !Dir.empty() && mkdir(Dir.c_str(), 0777) == 0; }

void MkDir(const String& Dir)
{
    if (Dir.empty()) throw EInOutError(int(ERROR_INVALID_NAME), "Cannot create a folder without a name");
    if (mkdir(Dir.c_str(), 0777) != 0) {
        int E = errno;
        throw EInOutError(E, "Cannot create folder \"" + Dir + "\": " + std::strerror(E));
    }
}

bool MatchesMask(const String& FileName, const String& Mask)
{
    String Name = FileName;
    size_t Slash = Name.rfind('/');
    if (Slash != String::npos) Name = Name.substr(Slash + 1);
    size_t P = 0;
    while (P <= Mask.size()) {
        size_t E = Mask.find(';', P);
        if (E == String::npos) E = Mask.size();
        String One = Trim(Mask.substr(P, E - P));
        if (!One.empty() && MatchPattern(One, Name)) return true;
        P = E + 1;
    }
    return false;
}
