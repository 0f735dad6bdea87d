#include "engine/libs/UnicodeProtocol.h"

#include "engine/libs/FFmpegLoader.h"
#include "engine/libs/OutputTarget.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <mutex>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

std::atomic<int> InputStallLimitMs{15000};

namespace {

// The engine's own protocols, and the ones known when avformat is not loaded.
constexpr const char* KnownProtocols = ":unicode:stream:file:gopher:http:pipe:rtp:rtsp:tcp:udp:";
constexpr int IOBufferSize = 32768;

// Every protocol the loaded avformat knows, for reading or writing, as ":name:name:".
String FFmpegProtocols()
{
    static std::mutex Lock;
    static String Names;
    std::lock_guard<std::mutex> Guard(Lock);
    if (Names.empty() && AV.avio_enum_protocols) {
        String List = ":";
        for (int Output = 0; Output <= 1; ++Output) {
            void* Opaque = nullptr;
            while (const char* Name = AV.avio_enum_protocols(&Opaque, Output)) List += String(Name) + ":";
        }
        Names = List;
    }
    return Names;
}

bool HasKnownProtocol(const String& AName)
{
    size_t P = AName.find(':');
    if (P == String::npos || P == 0) return false;
    String Key = ":" + AName.substr(0, P) + ":";
    if (Key.find('/') != String::npos) return false;  // "dir/a:b" is a file
    if (strstr(KnownProtocols, Key.c_str()) || FFmpegProtocols().find(Key) != String::npos) return true;
    // "scheme://...": an address the demuxers recognise by its name (rtsp, mms, ...).
    if (AName.compare(P, 3, "://") != 0 || !isalpha(uint8_t(AName[0]))) return false;
    for (size_t I = 1; I < P; ++I)
        if (!isalnum(uint8_t(AName[I])) && !strchr("+.-", AName[I])) return false;
    return true;
}

// Converts AText from one character set to another; false when a character cannot be
// represented.
bool Convert(const char* ATo, const char* AFrom, const String& AText, String& AResult)
{
    iconv_t Cd = iconv_open(ATo, AFrom);
    if (Cd == iconv_t(-1)) return false;
    AResult.clear();
    char* In = const_cast<char*>(AText.data());
    size_t InLeft = AText.size();
    char Out[1024];
    bool Ok = true;
    while (InLeft > 0) {
        char* O = Out;
        size_t OutLeft = sizeof(Out);
        size_t R = iconv(Cd, &In, &InLeft, &O, &OutLeft);
        AResult.append(Out, size_t(O - Out));
        if (R == size_t(-1) && errno != E2BIG) {
            Ok = false;
            break;
        }
        if (R != size_t(-1) && R > 0) {  // characters replaced by an approximation
            Ok = false;
            break;
        }
    }
    iconv_close(Cd);
    return Ok;
}

// The engine's own file: a "unicode:utf8:" name, or a named pipe or device read without
// blocking.
struct TUnicodeFile {
    int Fd = -1;
    // A pipe or device: every read waits in short steps, so that it ends soon after the
    // owner of the context asks (Interrupt) and fails once nothing came for a while.
    bool Wait = false;
    AVIOInterruptCB Interrupt{};
};

// Waits until a pipe or device has something to read, or has been closed by its writer.
// 0, AVERROR_EXIT when the context's owner asks to stop, or AVERROR(ETIMEDOUT) when nothing
// came for InputStallLimitMs.
int WaitReadable(const TUnicodeFile* AFile)
{
    constexpr int StepMs = 50;
    const auto Start = std::chrono::steady_clock::now();
    for (;;) {
        if (AFile->Interrupt.callback && AFile->Interrupt.callback(AFile->Interrupt.opaque)) return AVERROR_EXIT;
        pollfd P{AFile->Fd, POLLIN, 0};
        const int R = poll(&P, 1, StepMs);
        if (R > 0) return 0;
        if (R < 0 && errno != EINTR) return AVERROR(errno);
        const auto Waited = std::chrono::steady_clock::now() - Start;
        if (Waited >= std::chrono::milliseconds(InputStallLimitMs.load())) {
            if (AV.av_log)
                AV.av_log(nullptr, AV_LOG_ERROR, "the input delivered nothing for %d s: giving up\n",
                          int(std::chrono::duration_cast<std::chrono::seconds>(Waited).count()));
            return AVERROR(ETIMEDOUT);
        }
    }
}

int UnicodeRead(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    auto* F = static_cast<TUnicodeFile*>(AOpaque);
    for (;;) {
        if (F->Wait) {
            const int R = WaitReadable(F);
            if (R < 0) return R;
        }
        const ssize_t N = read(F->Fd, ABuffer, size_t(ASize));
        if (N > 0) return int(N);
        if (N == 0) return AVERROR_EOF;
        if (errno == EINTR || (F->Wait && errno == EAGAIN)) continue;
        return AVERROR(errno);
    }
}

int UnicodeWrite(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    auto* F = static_cast<TUnicodeFile*>(AOpaque);
    int Done = 0;
    while (Done < ASize) {
        ssize_t N = write(F->Fd, ABuffer + Done, size_t(ASize - Done));
        if (N < 0) {
            if (errno == EINTR) continue;
            return AVERROR(errno);
        }
        Done += int(N);
    }
    return Done;
}

int64_t UnicodeSeek(void* AOpaque, int64_t APosition, int AWhence)
{
    auto* F = static_cast<TUnicodeFile*>(AOpaque);
    if (AWhence & AVSEEK_SIZE) {
        struct stat St;
        if (fstat(F->Fd, &St) != 0) return AVERROR(errno);
        return int64_t(St.st_size);
    }
    off_t R = lseek(F->Fd, off_t(APosition), AWhence & ~AVSEEK_FORCE);
    if (R < 0) return AVERROR(errno);
    return int64_t(R);
}

// A host's TStream behind a "stream:<address>:<private data>" name.  Nothing raised by
// the stream crosses into FFmpeg: a failure is an I/O error.
int StreamRead(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    try {
        int64_t N = static_cast<TStream*>(AOpaque)->Read(ABuffer, ASize);
        if (N < 0) return AVERROR(EIO);
        return N == 0 ? AVERROR_EOF : int(N);
    } catch (...) {
        return AVERROR(EIO);
    }
}

int StreamWrite(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    try {
        auto* Stream = static_cast<TStream*>(AOpaque);
        int Done = 0;
        while (Done < ASize) {
            int64_t N = Stream->Write(ABuffer + Done, ASize - Done);
            if (N <= 0) return AVERROR(EIO);
            Done += int(N);
        }
        return Done;
    } catch (...) {
        return AVERROR(EIO);
    }
}

int64_t StreamSeek(void* AOpaque, int64_t APosition, int AWhence)
{
    try {
        auto* Stream = static_cast<TStream*>(AOpaque);
        if (AWhence & AVSEEK_SIZE) return Stream->Size();
        TSeekOrigin Origin;
        switch (AWhence & ~AVSEEK_FORCE) {
        case SEEK_SET: Origin = soBeginning; break;
        case SEEK_CUR: Origin = soCurrent; break;
        case SEEK_END: Origin = soEnd; break;
        default: return AVERROR(EINVAL);
        }
        int64_t R = Stream->Seek(APosition, Origin);
        return R < 0 ? AVERROR(EIO) : R;
    } catch (...) {
        return AVERROR(EIO);
    }
}

bool IsStreamIO(const AVIOContext* APB) { return APB && APB->seek == StreamSeek; }

// Frees a context made over a host's stream (the stream stays the host's): 0 or the
// error of the last writes.
int StreamIOClose(AVIOContext** APB)
{
    AVIOContext* PB = *APB;
    if (!PB) return 0;
    *APB = nullptr;
    if (PB->write_flag) AV.avio_flush(PB);
    int Result = PB->error < 0 ? PB->error : 0;
    AV.av_freep(&PB->buffer);
    AV.avio_context_free(&PB);
    return Result;
}

}  // namespace

bool IsStreamURL(const String& AURL) { return AURL.compare(0, 7, "stream:") == 0; }

int StreamIOOpen(AVIOContext** APB, const String& AURL, int AFlags)
{
    *APB = nullptr;
    if (!IsStreamURL(AURL)) return AVERROR(EINVAL);
    // "stream:" + the stream's address in decimal + ":" + the host's private data.
    const size_t End = AURL.find(':', 7);
    const String Number = AURL.substr(7, End == String::npos ? String::npos : End - 7);
    if (Number.empty() || Number.size() > 20) return AVERROR(EINVAL);
    char* Rest = nullptr;
    errno = 0;
    const long long Address = strtoll(Number.c_str(), &Rest, 10);
    if (errno != 0 || !Rest || *Rest != 0 || Address == 0) return AVERROR(EINVAL);
    auto* Stream = reinterpret_cast<TStream*>(intptr_t(Address));
    auto* Buffer = static_cast<unsigned char*>(AV.av_malloc(IOBufferSize));
    AVIOContext* PB = Buffer ? AV.avio_alloc_context(Buffer, IOBufferSize, (AFlags & AVIO_FLAG_WRITE) ? 1 : 0, Stream,
                                                      StreamRead, StreamWrite, StreamSeek)
                             : nullptr;
    if (!PB) {
        AV.av_free(Buffer);
        return AVERROR(ENOMEM);
    }
    *APB = PB;
    return 0;
}

bool NeedsUnicodeProtocol(const String& AFileName)
{
    if (HasKnownProtocol(AFileName)) return false;
    const char* Codeset = nl_langinfo(CODESET);
    if (!Codeset || !*Codeset) Codeset = "ANSI_X3.4-1968";
    if (strcmp(Codeset, "UTF-8") == 0) return !IsValidUtf8(AFileName);
    String Local, Back;
    if (!Convert(Codeset, "UTF-8", AFileName, Local)) return true;
    if (!Convert("UTF-8", Codeset, Local, Back)) return true;
    return Back != AFileName;
}

String FileNameToURL(const String& AFileName)
{
    if (NeedsUnicodeProtocol(AFileName)) return UnicodeURLPrefix + AFileName;
    if (HasKnownProtocol(AFileName)) return AFileName;
    size_t Colon = AFileName.find(':');
    if (Colon != String::npos && AFileName.find('/') > Colon) return "file:" + AFileName;
    return AFileName;
}

bool IsUnicodeURL(const String& AURL)
{
    return AURL.size() >= 14 && AURL.compare(0, 13, UnicodeURLPrefix) == 0;
}

String URLToFileName(const String& AURL)
{
    String S = AURL;
    for (int I = 0; I < 2; ++I) {
        size_t P = S.find(':');
        if (P == String::npos) break;
        S.erase(0, P + 1);
    }
    return S;
}

String DecodeURL(const String& AURL)
{
    if (IsUnicodeURL(AURL)) return URLToFileName(AURL);
    if (AURL.compare(0, 5, "file:") == 0) return AURL.substr(5);
    return AURL;
}

void RegisterUnicodeProtocol()
{
    Assert(AV.avio_alloc_context && AV.avio_context_free && AV.av_malloc,
           "avio_alloc_context not bound (UnicodeProtocol)");
}

namespace {
// An AVIOContext over the local file AName, opened by the engine itself.  AWait: a pipe
// or device read without blocking (see TUnicodeFile), which cannot seek.
int OpenOwnFile(AVIOContext** APB, const String& AName, int AFlags, bool AWait, const AVIOInterruptCB& AInterrupt)
{
    *APB = nullptr;
    int Mode;
    if ((AFlags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE)
        Mode = O_RDWR | O_CREAT | O_TRUNC;
    else if (AFlags & AVIO_FLAG_WRITE)
        Mode = O_WRONLY | O_CREAT | O_TRUNC;
    else
        Mode = O_RDONLY;
    // A named pipe opened without O_NONBLOCK waits for its writer inside open().
    if (AWait) Mode |= O_NONBLOCK;
    int Fd = open(AName.c_str(), Mode | O_CLOEXEC, 0666);
    if (Fd < 0) return AVERROR(errno);
    auto* Buffer = static_cast<unsigned char*>(AV.av_malloc(IOBufferSize));
    auto* File = new TUnicodeFile{Fd, AWait, AInterrupt};
    AVIOContext* PB = Buffer ? AV.avio_alloc_context(Buffer, IOBufferSize, (AFlags & AVIO_FLAG_WRITE) ? 1 : 0, File,
                                                      UnicodeRead, UnicodeWrite, UnicodeSeek)
                             : nullptr;
    if (!PB) {
        AV.av_free(Buffer);
        close(Fd);
        delete File;
        return AVERROR(ENOMEM);
    }
    if (AWait) PB->seekable = 0;
    *APB = PB;
    return 0;
}

// The named pipe or device (anything but a regular file or a folder) behind a local name;
// empty for any other name.
String LocalPipeOrDevice(const String& ALocal)
{
    struct stat St;
    if (ALocal.empty() || stat(ALocal.c_str(), &St) != 0) return String();
    return S_ISREG(St.st_mode) || S_ISDIR(St.st_mode) ? String() : ALocal;
}
}  // namespace

int UnicodeIOOpen(AVIOContext** APB, const String& AURL, int AFlags)
{
    *APB = nullptr;
    if (!IsUnicodeURL(AURL)) return AVERROR(EINVAL);
    return OpenOwnFile(APB, URLToFileName(AURL), AFlags, false, AVIOInterruptCB{});
}

bool IsUnicodeIO(const AVIOContext* APB) { return APB && APB->seek == UnicodeSeek; }

int UnicodeIOClose(AVIOContext** APB)
{
    AVIOContext* PB = *APB;
    if (!PB) return 0;
    *APB = nullptr;
    if (PB->write_flag) AV.avio_flush(PB);
    int Result = PB->error < 0 ? PB->error : 0;
    auto* File = static_cast<TUnicodeFile*>(PB->opaque);
    AV.av_freep(&PB->buffer);
    AV.avio_context_free(&PB);
    if (File) {
        if (close(File->Fd) != 0 && Result == 0) Result = AVERROR(errno);
        delete File;
    }
    return Result;
}

namespace {
// Closes a context made by the engine itself (a unicode file or a host's stream).
int CloseOwnIO(AVIOContext** APB) { return IsStreamIO(*APB) ? StreamIOClose(APB) : UnicodeIOClose(APB); }
}  // namespace

int OpenInputURL(AVFormatContext** AContext, const String& AURL, const AVInputFormat* AFormat, AVDictionary** AOptions)
{
    const bool Stream = IsStreamURL(AURL);
    // A named pipe or device is read by the engine, so that no read can block for ever
    // (a demuxer that opens its device itself is left to do so).
    String Pipe;
    if (!Stream && !(AFormat && (AFormat->flags & AVFMT_NOFILE)))
        Pipe = LocalPipeOrDevice(IsUnicodeURL(AURL) ? URLToFileName(AURL) : LocalFileOfURL(AURL));
    if (!IsUnicodeURL(AURL) && !Stream && Pipe.empty())
        return AV.avformat_open_input(AContext, AURL.c_str(), AFormat, AOptions);
    AVIOContext* PB = nullptr;
    int R;
    if (Stream)
        R = StreamIOOpen(&PB, AURL, AVIO_FLAG_READ);
    else if (!Pipe.empty())
        R = OpenOwnFile(&PB, Pipe, AVIO_FLAG_READ, true, *AContext ? (*AContext)->interrupt_callback : AVIOInterruptCB{});
    else
        R = UnicodeIOOpen(&PB, AURL, AVIO_FLAG_READ);
    if (R < 0) {
        if (*AContext) AV.avformat_free_context(*AContext);
        *AContext = nullptr;
        return R;
    }
    if (!*AContext) *AContext = AV.avformat_alloc_context();
    if (!*AContext) {
        CloseOwnIO(&PB);
        return AVERROR(ENOMEM);
    }
    (*AContext)->pb = PB;
    (*AContext)->flags |= AVFMT_FLAG_CUSTOM_IO;
    R = AV.avformat_open_input(AContext, AURL.c_str(), AFormat, AOptions);
    if (R < 0) CloseOwnIO(&PB);  // the context is gone, the reader is still ours
    return R;
}

void CloseInputURL(AVFormatContext** AContext)
{
    if (!*AContext) return;
    AVIOContext* PB = (*AContext)->pb;
    bool Own = (IsUnicodeIO(PB) || IsStreamIO(PB)) && ((*AContext)->flags & AVFMT_FLAG_CUSTOM_IO);
    AV.avformat_close_input(AContext);
    if (Own) CloseOwnIO(&PB);
}

int OpenOutputIO(AVIOContext** APB, const String& AURL, int AFlags, const AVIOInterruptCB* AInterrupt,
                 AVDictionary** AOptions)
{
    if (IsUnicodeURL(AURL)) return UnicodeIOOpen(APB, AURL, AFlags);
    if (IsStreamURL(AURL)) return StreamIOOpen(APB, AURL, AFlags);
    return AV.avio_open2(APB, AURL.c_str(), AFlags, AInterrupt, AOptions);
}

int CloseOutputIO(AVIOContext** APB)
{
    if (IsUnicodeIO(*APB) || IsStreamIO(*APB)) return CloseOwnIO(APB);
    return AV.avio_closep(APB);
}
