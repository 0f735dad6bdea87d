// The directory change notifier: an inotify worker that wakes on changes or on a wake
// descriptor (new options, stop) and tells the GUI thread through a posted message.
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <dirent.h>
#include <unistd.h>

#include <cerrno>

#include "skin/shell/bsSkinShellCtrls.h"

namespace {

constexpr UINT WM_SHELLCHANGE = WM_USER + 0x2A0;
// Directories watched at most by one worker when subfolders are watched too: a root
// high in the tree must not take every inotify watch of the user.
constexpr size_t MaxWatches = 4096;
constexpr int MaxDepth = 64;

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x1, FILE_NOTIFY_CHANGE_DIR_NAME = 0x2,
                FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4, FILE_NOTIFY_CHANGE_SIZE = 0x8,
                FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10, FILE_NOTIFY_CHANGE_SECURITY = 0x100;

constexpr uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

// The inotify events that a change-notification mask asks for.
uint32_t InotifyMask(DWORD Flags)
{
    uint32_t M = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    if (Flags & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) M |= NameEvents;
    if (Flags & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) M |= IN_ATTRIB;
    if (Flags & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) M |= IN_MODIFY | IN_CLOSE_WRITE;
    return M;
}

void Wake(int Fd)
{
    uint64_t One = 1;
    (void)!write(Fd, &One, sizeof One);
}

}  // namespace

DWORD NotifyFlagsOf(TNotifyFilters Filters)
{
    const DWORD Bits[] = {FILE_NOTIFY_CHANGE_FILE_NAME, FILE_NOTIFY_CHANGE_DIR_NAME, FILE_NOTIFY_CHANGE_ATTRIBUTES,
                          FILE_NOTIFY_CHANGE_SIZE, FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};
    DWORD F = 0;
    for (int I = 0; I <= int(nfSecurityChange); ++I)
        if (Filters.Contains(TNotifyFilter(I))) F |= Bits[I];
    return F;
}

// ---- worker -----------------------------------------------------------------------------------

TbsShellChangeThread::TbsShellChangeThread(std::function<void()> APost) : TThread(true), FPost(std::move(APost))
{
    FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

TbsShellChangeThread::~TbsShellChangeThread()
{
    Stop();
    CloseWatch();
    if (FWake >= 0) close(FWake);
}

void TbsShellChangeThread::SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags)
{
    {
        TCriticalSectionGuard G(*ShellChangeLock);
        FDirectory = Directory;
        FWatchSubTree = WatchSubTree;
        FNotifyOptionFlags = NotifyOptionFlags;
        FWaitChanged = true;
    }
    if (FWake >= 0) Wake(FWake);
}

void TbsShellChangeThread::Stop()
{
    Terminate();
    if (FWake >= 0) Wake(FWake);
    if (Started()) WaitFor();
}

void TbsShellChangeThread::CloseWatch()
{
    if (FNotify >= 0) close(FNotify);
    FNotify = -1;
    FWatches.clear();
    FWatching = false;
}

void TbsShellChangeThread::AddWatches(const String& Dir, int Depth)
{
    if (FWatches.size() >= MaxWatches) return;
    int Wd = inotify_add_watch(FNotify, Dir.c_str(), InotifyMask(FActiveFlags));
    if (Wd < 0) return;
    FWatches.emplace_back(Wd, Dir);
    if (!FActiveSubTree || Depth >= MaxDepth) return;
    DIR* D = opendir(Dir.c_str());
    if (!D) return;
    while (dirent* E = readdir(D)) {
        String Name = E->d_name;
        if (Name == "." || Name == "..") continue;
        String Sub = Dir + (Dir.size() && Dir.back() == '/' ? "" : "/") + Name;
        struct stat St;
        // symbolic links are not followed: a link to an ancestor would loop
        if (lstat(Sub.c_str(), &St) == 0 && S_ISDIR(St.st_mode)) AddWatches(Sub, Depth + 1);
    }
    closedir(D);
}

// Opens a watch for the stored options; false when the directory cannot be watched.
bool TbsShellChangeThread::OpenWatch()
{
    CloseWatch();
    FNotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (FNotify < 0) return false;
    struct stat St;
    if (stat(FActiveDirectory.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) {
        CloseWatch();
        return false;
    }
    AddWatches(FActiveDirectory, 0);
    if (FWatches.empty()) {
        CloseWatch();
        return false;
    }
    FWatching = true;
    return true;
}

bool TbsShellChangeThread::Matches(uint32_t Mask) const
{
    if (Mask & NameEvents) {
        bool Dir = Mask & IN_ISDIR;
        if (Dir ? (FActiveFlags & FILE_NOTIFY_CHANGE_DIR_NAME) : (FActiveFlags & FILE_NOTIFY_CHANGE_FILE_NAME))
            return true;
    }
    if ((Mask & IN_ATTRIB) && (FActiveFlags & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)))
        return true;
    if ((Mask & (IN_MODIFY | IN_CLOSE_WRITE)) &&
        (FActiveFlags & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
        return true;
    return false;
}

void TbsShellChangeThread::Execute()
{
    {
        TCriticalSectionGuard G(*ShellChangeLock);
        FActiveDirectory = FDirectory;
        FActiveSubTree = FWatchSubTree;
        FActiveFlags = FNotifyOptionFlags;
        FWaitChanged = false;
    }
    // a directory that cannot be watched ends the worker at once
    if (!OpenWatch()) return;
    alignas(inotify_event) char Buf[16384];
    while (!Terminated()) {
        pollfd P[2] = {{FWake, POLLIN, 0}, {FNotify, POLLIN, 0}};
        int N = poll(P, FNotify >= 0 ? 2 : 1, -1);
        if (N < 0) {
            if (errno == EINTR) continue;
            break;  // the wait failed
        }
        if (P[0].revents & POLLIN) {
            uint64_t V;
            (void)!read(FWake, &V, sizeof V);
        }
        if (FNotify >= 0 && (P[1].revents & POLLIN)) {
            bool Changed = false;
            for (;;) {
                ssize_t Len = read(FNotify, Buf, sizeof Buf);
                if (Len <= 0) break;
                for (char* Q = Buf; Q < Buf + Len;) {
                    auto* E = reinterpret_cast<inotify_event*>(Q);
                    Q += sizeof(inotify_event) + E->len;
                    if (E->mask & IN_Q_OVERFLOW) {
                        Changed = true;
                        continue;
                    }
                    if (Matches(E->mask)) Changed = true;
                    // a new subfolder is watched as well
                    if (FActiveSubTree && (E->mask & (IN_CREATE | IN_MOVED_TO)) && (E->mask & IN_ISDIR) && E->len) {
                        for (auto& W : FWatches)
                            if (W.first == E->wd) {
                                String Sub = W.second + (W.second.back() == '/' ? "" : "/") + E->name;
                                AddWatches(Sub, 1);
                                break;
                            }
                    }
                }
            }
            if (Changed && !Terminated() && FPost) FPost();
        }
        // new options are taken up here, after the wait, by the worker itself
        bool Reopen = false;
        {
            TCriticalSectionGuard G(*ShellChangeLock);
            if (FWaitChanged) {
                FActiveDirectory = FDirectory;
                FActiveSubTree = FWatchSubTree;
                FActiveFlags = FNotifyOptionFlags;
                FWaitChanged = false;
                Reopen = true;
            }
        }
        // a directory that cannot be watched any more reports nothing until the stop
        if (Reopen && !OpenWatch()) CloseWatch();
    }
    CloseWatch();
}

// ---- notifier ----------------------------------------------------------------------------------

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner)
    : TComponent(AOwner), FPending(std::make_shared<std::atomic<bool>>(false))
{
    StartWatcher();
}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier()
{
    StopWatcher();
    if (FWindow) DeallocateHWnd(FWindow);
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value)
{
    FFilters = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value)
{
    FWatchSubTree = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetRoot(const String& Value)
{
    // paths are case-sensitive: "/Media" and "/media" are two folders
    if (Value == FRoot) return;
    FRoot = Value;
    ApplyWatchOptions();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod Value)
{
    FOnChange = std::move(Value);
    // the event is read on the GUI thread only, so the worker never sees half of it
    if (!FOnChange) StopWatcher();
    else if (!FThread || FThread->Finished()) StartWatcher();
}

void TbsCustomShellChangeNotifier::ApplyWatchOptions()
{
    if (FThread && !FThread->Finished()) FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFlagsOf(FFilters));
}

void TbsCustomShellChangeNotifier::StartWatcher()
{
    if (!FOnChange) return;
    StopWatcher();
    if (!FWindow) FWindow = AllocateHWnd([this](TMessage& M) { WndProc(M); });
    FPending->store(false);
    HWND Wnd = FWindow;
    std::shared_ptr<std::atomic<bool>> Pending = FPending;
    FThread = std::make_unique<TbsShellChangeThread>([Wnd, Pending] {
        if (!Pending->exchange(true)) PostMessage(Wnd, WM_SHELLCHANGE, 0, 0);
    });
    FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFlagsOf(FFilters));
    FThread->Start();
}

void TbsCustomShellChangeNotifier::StopWatcher()
{
    if (!FThread) return;
    FThread->Stop();
    FThread.reset();
    FPending->store(false);
}

void TbsCustomShellChangeNotifier::WndProc(TMessage& M)
{
    if (M.Msg != WM_SHELLCHANGE) {
        M.Result = DefWindowProc(FWindow, M.Msg, M.WParam, M.LParam);
        return;
    }
    // a message that arrives after a stop belongs to a worker that is gone
    if (!FThread || !FPending->exchange(false)) return;
    if (FOnChange) FOnChange();
}
