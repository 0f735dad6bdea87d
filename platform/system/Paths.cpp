// The program's folder, the home folder and the XDG folders.
#include "platform/system/Paths.h"
#include "platform/system/SysUtils.h"

#include <climits>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

namespace {
std::mutex GPathLock;
String GProgramFolderOverride;
}  // namespace

String ProgramFileName()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return String();
    return String(buf, size_t(n));
}

String ProgramFolder()
{
    {
        std::lock_guard g(GPathLock);
        if (!GProgramFolderOverride.empty()) return GProgramFolderOverride;
    }
    return ExtractFilePath(ProgramFileName());
}

String ProgramName()
{
    String name = ExtractFileName(ProgramFileName());
    return ChangeFileExt(name, "");
}

void SetProgramFolder(const String& AFolder)
{
    std::lock_guard g(GPathLock);
    GProgramFolderOverride = AFolder.empty() ? String() : IncludeTrailingPathDelimiter(AFolder);
}

String HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home) return IncludeTrailingPathDelimiter(home);
    passwd pw, *res = nullptr;
    char buf[4096];
    if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &res) == 0 && res && res->pw_dir)
        return IncludeTrailingPathDelimiter(res->pw_dir);
    return "/";
}

String XdgConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return IncludeTrailingPathDelimiter(xdg);
    return HomeFolder() + ".config/";
}

String TempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && tmp[0] == '/') return IncludeTrailingPathDelimiter(tmp);
    return "/tmp/";
}
