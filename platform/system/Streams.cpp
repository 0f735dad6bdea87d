// Streams over memory, strings and files, and whole-file reading and atomic writing.
#include "platform/system/Classes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int64_t TStream::Size()
{
    int64_t pos = Seek(0, soCurrent);
    int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::SetSize(int64_t ANewSize)
{
    (void)ANewSize;
    throw EStreamError("The stream cannot change its size");
}

void TStream::ReadBuffer(void* ABuffer, int64_t ACount)
{
    if (ACount < 0 || (ACount > 0 && Read(ABuffer, ACount) != ACount)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* ABuffer, int64_t ACount)
{
    if (ACount < 0 || (ACount > 0 && Write(ABuffer, ACount) != ACount)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* ASource, int64_t ACount)
{
    if (ACount == 0) {
        ASource->SetPosition(0);
        ACount = ASource->Size();
    }
    int64_t result = ACount;
    std::vector<char> buf(size_t(std::min<int64_t>(ACount, 1 << 16)));
    while (ACount > 0) {
        int64_t n = std::min<int64_t>(ACount, int64_t(buf.size()));
        ASource->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        ACount -= n;
    }
    return result;
}

// ---------------------------------------------------------------------------------

static int64_t NewPosition(int64_t ACur, int64_t ASize, int64_t AOffset, TSeekOrigin AOrigin)
{
    int64_t base = AOrigin == soBeginning ? 0 : (AOrigin == soCurrent ? ACur : ASize);
    int64_t pos = base + AOffset;
    if (pos < 0) throw EStreamError("Invalid stream position (%d)", pos);
    return pos;
}

int64_t TMemoryStream::Read(void* ABuffer, int64_t ACount)
{
    if (ACount <= 0 || FPosition >= int64_t(FData.size())) return 0;
    int64_t n = std::min<int64_t>(ACount, int64_t(FData.size()) - FPosition);
    std::memcpy(ABuffer, FData.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* ABuffer, int64_t ACount)
{
    if (ACount <= 0) return 0;
    if (FPosition + ACount > int64_t(FData.size())) FData.resize(size_t(FPosition + ACount));
    std::memcpy(FData.data() + FPosition, ABuffer, size_t(ACount));
    FPosition += ACount;
    return ACount;
}

int64_t TMemoryStream::Seek(int64_t AOffset, TSeekOrigin AOrigin)
{
    FPosition = NewPosition(FPosition, int64_t(FData.size()), AOffset, AOrigin);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t ANewSize)
{
    if (ANewSize < 0) throw EStreamError("Invalid stream size (%d)", ANewSize);
    FData.resize(size_t(ANewSize));
    if (FPosition > ANewSize) FPosition = ANewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* AStream)
{
    AStream->SetPosition(0);
    int64_t n = AStream->Size();
    SetSize(n);
    if (n) AStream->ReadBuffer(FData.data(), n);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& AFileName)
{
    TFileStream f(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToStream(TStream* AStream)
{
    if (!FData.empty()) AStream->WriteBuffer(FData.data(), int64_t(FData.size()));
}

void TMemoryStream::SaveToFile(const String& AFileName)
{
    TFileStream f(AFileName, fmCreate);
    SaveToStream(&f);
}

// ---------------------------------------------------------------------------------

TStringStream::TStringStream(const String& AData)
{
    if (!AData.empty()) WriteBuffer(AData.data(), int64_t(AData.size()));
    SetPosition(0);
}

String TStringStream::DataString() const
{
    return String(FData.begin(), FData.end());
}

// ---------------------------------------------------------------------------------

TFileStream::TFileStream(const String& AFileName, uint16_t AMode) : FFileName(AFileName)
{
    if (AMode == fmCreate || (AMode & 0xFF00) == fmCreate) {
        FHandle = ::open(AFileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0) throw EFCreateError("Cannot create file \"%s\". %s", AFileName, SysErrorMessage(errno));
    } else {
        int access = AMode & 3;
        int flags = access == fmOpenWrite ? O_WRONLY : (access == fmOpenReadWrite ? O_RDWR : O_RDONLY);
        // opened without blocking, so that a FIFO without a writer cannot hold the caller
        // for ever; only regular files are streamed
        FHandle = ::open(AFileName.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
        if (FHandle >= 0) {
            struct stat st;
            const bool Stat = fstat(FHandle, &st) == 0;
            if (!Stat || !S_ISREG(st.st_mode)) {
                const int Err = !Stat ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
                ::close(FHandle);
                FHandle = -1;
                if (Err == 0) throw EFOpenError("Cannot open file \"%s\". Not a regular file", AFileName);
                errno = Err;
            } else {
                ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
            }
        }
        if (FHandle < 0) throw EFOpenError("Cannot open file \"%s\". %s", AFileName, SysErrorMessage(errno));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* ABuffer, int64_t ACount)
{
    int64_t done = 0;
    while (done < ACount) {
        ssize_t r = ::read(FHandle, static_cast<char*>(ABuffer) + done, size_t(std::min<int64_t>(ACount - done, INT_MAX)));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += r;
    }
    return done;
}

int64_t TFileStream::Write(const void* ABuffer, int64_t ACount)
{
    int64_t done = 0;
    while (done < ACount) {
        ssize_t r = ::write(FHandle, static_cast<const char*>(ABuffer) + done, size_t(std::min<int64_t>(ACount - done, INT_MAX)));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += r;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t AOffset, TSeekOrigin AOrigin)
{
    int whence = AOrigin == soBeginning ? SEEK_SET : (AOrigin == soCurrent ? SEEK_CUR : SEEK_END);
    off_t r = ::lseek(FHandle, off_t(AOffset), whence);
    if (r < 0) throw EStreamError("Invalid stream position (%d)", AOffset);
    return int64_t(r);
}

void TFileStream::SetSize(int64_t ANewSize)
{
    if (ANewSize < 0 || ::ftruncate(FHandle, off_t(ANewSize)) != 0)
        throw EStreamError("Cannot set the size of \"%s\". %s", FFileName, SysErrorMessage(errno));
    if (Position() > ANewSize) Seek(ANewSize, soBeginning);
}

// ---------------------------------------------------------------------------------

String ReadFileToString(const String& AFileName)
{
    TFileStream f(AFileName, fmOpenRead | fmShareDenyWrite);
    String data;
    char buf[65536];
    while (true) {
        int64_t n = f.Read(buf, sizeof buf);
        if (n <= 0) break;
        data.append(buf, size_t(n));
    }
    return data;
}

void WriteFileAtomic(const String& AFileName, std::string_view AData)
{
    // Follow a symbolic link so that the link stays and its target is replaced.
    String target = AFileName;
    for (int hops = 0; hops < 16; ++hops) {
        char buf[PATH_MAX];
        ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) break;
        String link(buf, size_t(n));
        target = link[0] == '/' ? link : ExtractFilePath(target) + link;
    }
    String dir = ExtractFilePath(target);
    // The temporary file is created with mode 0666, so that the kernel applies this
    // process's umask as it creates it: reading the umask would mean changing it, which
    // races with every other thread that creates a file meanwhile.
    std::random_device random;
    int fd = -1;
    String tmp;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = dir + "." + ExtractFileName(target) + Format(".%08x", unsigned(random()));
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw EFCreateError("Cannot create file \"%s\". %s", AFileName, SysErrorMessage(errno));

    auto fail = [&](const char* AWhat, int AErr) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EWriteError("%s \"%s\". %s", AWhat, AFileName, SysErrorMessage(AErr));
    };

    // A replaced file keeps its permissions, set on the descriptor.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && ::fchmod(fd, st.st_mode & 07777) != 0) fail("Cannot write file", errno);

    size_t done = 0;
    while (done < AData.size()) {
        ssize_t r = ::write(fd, AData.data() + done, AData.size() - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) fail("Cannot write file", r < 0 ? errno : ENOSPC);
        done += size_t(r);
    }
    if (::fsync(fd) != 0) fail("Cannot write file", errno);
    if (::close(fd) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        throw EWriteError("Cannot write file \"%s\". %s", AFileName, SysErrorMessage(e));
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        throw EWriteError("Cannot replace file \"%s\". %s", AFileName, SysErrorMessage(e));
    }
}
