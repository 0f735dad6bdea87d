// File and folder names and existence tests.
#include "platform/system/SysUtils.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool FileExists(const String& AFileName)
{
    struct stat st;
    return !AFileName.empty() && stat(AFileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& ADirectory)
{
    struct stat st;
    return !ADirectory.empty() && stat(ADirectory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const String& ADirectory)
{
    if (ADirectory.empty()) throw EInOutError(ENOENT, "Unable to create directory");
    String dir = ExcludeTrailingPathDelimiter(ADirectory);
    if (dir.empty() || DirectoryExists(dir)) return true;
    String parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    if (mkdir(dir.c_str(), 0777) == 0) return true;
    return errno == EEXIST && DirectoryExists(dir);
}

String ExtractFilePath(const String& AFileName)
{
    size_t p = AFileName.rfind('/');
    return p == String::npos ? String() : AFileName.substr(0, p + 1);
}

String ExtractFileDir(const String& AFileName)
{
    size_t p = AFileName.rfind('/');
    if (p == String::npos) return String();
    if (p == 0) return "/";
    return AFileName.substr(0, p);
}

String ExtractFileName(const String& AFileName)
{
    size_t p = AFileName.rfind('/');
    return p == String::npos ? AFileName : AFileName.substr(p + 1);
}

String ExtractFileExt(const String& AFileName)
{
    size_t p = AFileName.find_last_of("./");
    if (p == String::npos || AFileName[p] != '.') return String();
    return AFileName.substr(p);
}

String ChangeFileExt(const String& AFileName, const String& AExtension)
{
    size_t p = AFileName.find_last_of("./");
    if (p == String::npos || AFileName[p] != '.') return AFileName + AExtension;
    return AFileName.substr(0, p) + AExtension;
}

String IncludeTrailingPathDelimiter(const String& S)
{
    if (!S.empty() && S.back() == '/') return S;
    return S + "/";
}

String ExcludeTrailingPathDelimiter(const String& S)
{
    if (S.size() > 1 && S.back() == '/') return S.substr(0, S.size() - 1);
    return S;
}
