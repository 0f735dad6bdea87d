#include "engine/libs/OutputTarget.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/UnicodeProtocol.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <dirent.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// At most this many bytes of the target's name go into the temporary name, so that it
// stays within the file system's limit of a name.
constexpr size_t MaxBaseBytes = 180;

String FolderOf(const String& AFileName)
{
    size_t slash = AFileName.rfind('/');
    return slash == String::npos ? String() : AFileName.substr(0, slash + 1);
}

String BaseOf(const String& AFileName)
{
    size_t slash = AFileName.rfind('/');
    String base = slash == String::npos ? AFileName : AFileName.substr(slash + 1);
    if (base.size() > MaxBaseBytes) {
        size_t cut = MaxBaseBytes;
        while (cut > 0 && (uint8_t(base[cut]) & 0xC0) == 0x80) --cut;  // a whole character
        base.resize(cut);
    }
    return base;
}

// The named file itself when it is a symbolic link to an existing file: the link stays
// and its file is replaced.
String ResolveLink(const String& AFileName)
{
    struct stat st;
    if (lstat(AFileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return AFileName;
    char* real = realpath(AFileName.c_str(), nullptr);
    if (!real) return AFileName;
    String result = real;
    std::free(real);
    return result;
}

}  // namespace

String LocalFileOfURL(const String& AURL)
{
    if (IsUnicodeURL(AURL)) return URLToFileName(AURL);
    if (AURL.compare(0, 5, "file:") == 0) return AURL.substr(5);
    const char* protocol = AV.avio_find_protocol_name ? AV.avio_find_protocol_name(AURL.c_str()) : nullptr;
    if (protocol && String(protocol) == "file") return AURL;
    return String();
}

bool SameRegularFile(const String& AName1, const String& AName2)
{
    struct stat a, b;
    if (AName1.empty() || AName2.empty()) return false;
    if (stat(AName1.c_str(), &a) != 0 || stat(AName2.c_str(), &b) != 0) return false;
    return S_ISREG(a.st_mode) && S_ISREG(b.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int PrepareOutputTarget(const String& AFileName, TOutputTarget& ATarget)
{
    ATarget = TOutputTarget();
    const String target = ResolveLink(AFileName);
    // A new file gets the mode the umask gives; a replaced one keeps the earlier file's.
    mode_t mode = 0666;
    bool replacing = false;
    struct stat st;
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return AVERROR(EISDIR);
        if (!S_ISREG(st.st_mode)) {  // a device or a pipe: written as it is
            ATarget.Target = target;
            return 0;
        }
        mode = st.st_mode & 07777;
        replacing = true;
    }
    static std::mt19937_64 random{std::random_device{}()};
    static std::mutex randomLock;
    const String stem = FolderOf(target) + "." + BaseOf(target) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t n;
        {
            std::lock_guard<std::mutex> lock(randomLock);
            n = random();
        }
        char suffix[32];
        snprintf(suffix, sizeof(suffix), "%06llx.part", (unsigned long long)(n & 0xFFFFFF));
        String temp = stem + suffix;
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return AVERROR(errno);
        }
        if (replacing) fchmod(fd, mode);  // the earlier file's permissions, whatever the umask
        // held open and locked while the conversion writes it, so that a clean-up at
        // another program's start can tell it from one a killed program left
        flock(fd, LOCK_EX | LOCK_NB);
        ATarget.Target = target;
        ATarget.Temp = temp;
        ATarget.Lock = fd;
        return 0;
    }
    return AVERROR(EEXIST);
}

namespace {

void Unlock(TOutputTarget& ATarget)
{
    if (ATarget.Lock >= 0) close(ATarget.Lock);
    ATarget.Lock = -1;
}

// ".<name>.<6 hex digits>.part", as PrepareOutputTarget names its temporary files.
bool IsTempName(const char* AName)
{
    const size_t n = strlen(AName);
    if (n < 1 + 1 + 1 + 6 + 5 || AName[0] != '.' || strcmp(AName + n - 5, ".part") != 0) return false;
    const char* hex = AName + n - 5 - 6;
    if (hex[-1] != '.') return false;
    for (int i = 0; i < 6; ++i)
        if (!isdigit((unsigned char)hex[i]) && !(hex[i] >= 'a' && hex[i] <= 'f')) return false;
    return true;
}

// The data reaches the disk before the name does, so that a crash right after the
// rename cannot leave an empty file where the earlier one was.
void SyncFile(const String& AFileName)
{
    int fd = open(AFileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

int CommitOutputTarget(TOutputTarget& ATarget)
{
    TOutputTarget target = ATarget;
    ATarget = TOutputTarget();
    if (target.Temp.empty()) return 0;
    SyncFile(target.Temp);
    Unlock(target);
    if (rename(target.Temp.c_str(), target.Target.c_str()) != 0) {
        int err = errno;
        unlink(target.Temp.c_str());
        return AVERROR(err);
    }
    return 0;
}

int KeepStoppedOutputTarget(TOutputTarget& ATarget)
{
    TOutputTarget target = ATarget;
    ATarget = TOutputTarget();
    if (target.Temp.empty()) return 0;
    SyncFile(target.Temp);
    Unlock(target);
    // The name is taken only if free, in one step, so that a file made meanwhile is not
    // replaced either.  A file system without that rename gets a hard link instead.
    if (renameat2(AT_FDCWD, target.Temp.c_str(), AT_FDCWD, target.Target.c_str(), RENAME_NOREPLACE) == 0) return 0;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        err = link(target.Temp.c_str(), target.Target.c_str()) == 0 ? 0 : errno;
        unlink(target.Temp.c_str());
        return err == 0 || err == EEXIST ? 0 : AVERROR(err);
    }
    unlink(target.Temp.c_str());
    return err == EEXIST ? 0 : AVERROR(err);
}

void DiscardOutputTarget(TOutputTarget& ATarget)
{
    if (!ATarget.Temp.empty()) unlink(ATarget.Temp.c_str());
    Unlock(ATarget);
    ATarget = TOutputTarget();
}

int RemoveStaleOutputTemps(const String& AFolder)
{
    DIR* dir = opendir(AFolder.empty() ? "." : AFolder.c_str());
    if (!dir) return 0;
    const String folder = AFolder.empty() || AFolder.back() == '/' ? AFolder : AFolder + "/";
    int removed = 0;
    while (const dirent* e = readdir(dir)) {
        if (!IsTempName(e->d_name)) continue;
        const String name = folder + e->d_name;
        int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st;
        // a regular file that no writer holds locked
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            unlink(name.c_str()) == 0)
            ++removed;
        close(fd);
    }
    closedir(dir);
    return removed;
}
