#include "engine/common/HostUtils.h"

#include "platform/system/Paths.h"
#include "platform/system/Threads.h"
#include "platform/windows/Windows.h"

#include <sys/stat.h>

String FormatFileSize(int64_t ASize)
{
    if (ASize > 1073741824) return Format("%.2f GB", double(ASize) / 1073741824.0);
    if (ASize > 1048576) return Format("%.2f MB", double(ASize) / 1048576.0);
    if (ASize > 1024) return Format("%.2f KB", double(ASize) / 1024.0);
    return Format("%d Byte", ASize);
}

void SplitHead(String& ASource, const String& ASeparator, bool ARemove, String& AHead)
{
    size_t P = ASeparator.empty() ? String::npos : ASource.find(ASeparator);
    if (P == String::npos) {
        AHead = ASource;
        if (ARemove) ASource.clear();
        return;
    }
    AHead = ASource.substr(0, P);
    if (ARemove) ASource.erase(0, P + ASeparator.size());
}

int64_t FileSizeOf(const String& AFileName)
{
    struct stat St;
    if (AFileName.empty() || stat(AFileName.c_str(), &St) != 0 || S_ISDIR(St.st_mode)) return -1;
    return int64_t(St.st_size);
}

String GetExePath() { return ProgramFolder(); }

TDateTime UnixTimeToLocal(int64_t ASeconds)
{
    return double(ASeconds) / 86400.0 + 25569.0 - double(TimeZoneBias()) / 1440.0;
}

String FormatDateTimeText(const String& AFormat, TDateTime ADateTime) { return FormatDateTime(AFormat, ADateTime); }

void CallInMainThread(const std::function<void()>& AMethod)
{
    if (IsMainThread())
        AMethod();
    else
        TThread::Synchronize(nullptr, AMethod);
}

bool ProcessOneMessage()
{
    if (!IsMainThread()) return false;
    MSG Msg;
    if (PeekMessage(Msg, nullptr, 0, 0, PM_NOREMOVE)) {
        // A quit request stays queued for the program's own loop: an engine wait
        // must not swallow it.
        if (Msg.message != WM_QUIT && PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(Msg);
            DispatchMessage(Msg);
            return true;
        }
    }
    return CheckSynchronize(0);
}

void PumpMessages()
{
    while (ProcessOneMessage()) {
    }
}
