// The notification-area icon on an X display (the system tray protocol).
//
// Each icon is a small window on a connection of its own, served by a thread: it asks
// the tray manager (the owner of the selection _NET_SYSTEM_TRAY_S<screen>) to dock it,
// draws the icon's pixels, posts mouse events to the program's window, and docks again
// when a new manager announces itself (MANAGER on the root window).
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/graphics/Gdi.h"
#include "platform/shell/ShellAPI.h"
#include "platform/windows/Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>


namespace {

constexpr long SYSTEM_TRAY_REQUEST_DOCK = 0;
constexpr int IconSize = 22;

class TTrayIcon {
public:
    static std::unique_ptr<TTrayIcon> Create(const NOTIFYICONDATA& D)
    {
        Display* Dpy = XOpenDisplay(nullptr);
        if (!Dpy) return nullptr;
        std::unique_ptr<TTrayIcon> T(new TTrayIcon(Dpy, D));
        if (!T->Dock()) return nullptr;
        T->FThread = std::thread([P = T.get()] { P->Run(); });
        return T;
    }

    ~TTrayIcon()
    {
        FStop = true;
        uint64_t One = 1;
        (void)!write(FWake, &One, sizeof One);
        if (FThread.joinable()) FThread.join();
        XDestroyWindow(FDpy, FWin);
        XCloseDisplay(FDpy);
        close(FWake);
    }

    void Update(const NOTIFYICONDATA& D)
    {
        std::lock_guard<std::mutex> G(FLock);
        if (D.uFlags & NIF_MESSAGE) FCallback = D.uCallbackMessage;
        if (D.uFlags & NIF_ICON) TakeIcon(D.hIcon);
        FDirty = true;
        uint64_t One = 1;
        (void)!write(FWake, &One, sizeof One);
    }

private:
    TTrayIcon(Display* D, const NOTIFYICONDATA& Data) : FDpy(D), FWnd(Data.hWnd), FId(Data.uID)
    {
        FCallback = Data.uCallbackMessage;
        TakeIcon(Data.hIcon);
        int Scr = DefaultScreen(D);
        FSelection = XInternAtom(D, ("_NET_SYSTEM_TRAY_S" + std::to_string(Scr)).c_str(), False);
        FOpcode = XInternAtom(D, "_NET_SYSTEM_TRAY_OPCODE", False);
        FManager = XInternAtom(D, "MANAGER", False);
        XSetWindowAttributes A{};
        A.background_pixel = WhitePixel(D, Scr);
        A.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask;
        FWin = XCreateWindow(D, RootWindow(D, Scr), 0, 0, IconSize, IconSize, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWBackPixel | CWEventMask, &A);
        XSelectInput(D, RootWindow(D, Scr), StructureNotifyMask);
        FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    }

    void TakeIcon(HICON Icon)
    {
        FPixels.clear();
        PSurface S = Icon ? GetIconSurface(Icon) : nullptr;
        if (!S) return;
        FPixels.resize(IconSize * IconSize);
        for (int Y = 0; Y < IconSize; ++Y)
            for (int X = 0; X < IconSize; ++X)
                FPixels[size_t(Y * IconSize + X)] = S->GetPixel(X * S->Width() / IconSize, Y * S->Height() / IconSize);
    }

    // Asks the tray manager to take the window; false when there is none.
    bool Dock()
    {
        ::Window Owner = XGetSelectionOwner(FDpy, FSelection);
        if (Owner == None) return false;
        XEvent E{};
        E.xclient.type = ClientMessage;
        E.xclient.window = Owner;
        E.xclient.message_type = FOpcode;
        E.xclient.format = 32;
        E.xclient.data.l[0] = CurrentTime;
        E.xclient.data.l[1] = SYSTEM_TRAY_REQUEST_DOCK;
        E.xclient.data.l[2] = long(FWin);
        XSendEvent(FDpy, Owner, False, NoEventMask, &E);
        XFlush(FDpy);
        return true;
    }

    void Draw()
    {
        std::lock_guard<std::mutex> G(FLock);
        FDirty = false;
        if (FPixels.empty()) {
            XClearWindow(FDpy, FWin);
            return;
        }
        GC Gc = XCreateGC(FDpy, FWin, 0, nullptr);
        for (int Y = 0; Y < IconSize; ++Y)
            for (int X = 0; X < IconSize; ++X) {
                uint32_t P = FPixels[size_t(Y * IconSize + X)];
                uint32_t A = P >> 24;
                // over a white background
                auto Ch = [&](int S) { return ((((P >> S) & 0xFF) * A) + 255 * (255 - A)) / 255; };
                XSetForeground(FDpy, Gc, (Ch(16) << 16) | (Ch(8) << 8) | Ch(0));
                XDrawPoint(FDpy, FWin, Gc, X, Y);
            }
        XFreeGC(FDpy, Gc);
        XFlush(FDpy);
    }

    void Post(UINT Mouse)
    {
        UINT Msg;
        {
            std::lock_guard<std::mutex> G(FLock);
            Msg = FCallback;
        }
        if (Msg && IsWindow(FWnd)) PostMessage(FWnd, Msg, WPARAM(FId), LPARAM(Mouse));
    }

    void Run()
    {
        int Fd = ConnectionNumber(FDpy);
        while (!FStop) {
            while (XPending(FDpy)) {
                XEvent E;
                XNextEvent(FDpy, &E);
                switch (E.type) {
                case Expose: Draw(); break;
                case ButtonPress:
                case ButtonRelease: {
                    bool Down = E.type == ButtonPress;
                    unsigned B = E.xbutton.button;
                    if (B == 1) Post(Down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
                    else if (B == 3) Post(Down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
                    else if (B == 2) Post(Down ? WM_MBUTTONDOWN : WM_MBUTTONUP);
                    break;
                }
                case MotionNotify: Post(WM_MOUSEMOVE); break;
                case ClientMessage:
                    // a new tray manager: dock again
                    if (E.xclient.message_type == FManager && Atom(E.xclient.data.l[1]) == FSelection) Dock();
                    break;
                }
            }
            if (FDirty) Draw();
            pollfd P[2] = {{Fd, POLLIN, 0}, {FWake, POLLIN, 0}};
            poll(P, 2, 500);
            if (P[1].revents & POLLIN) {
                uint64_t V;
                (void)!read(FWake, &V, sizeof V);
            }
        }
    }

    Display* FDpy;
    HWND FWnd;
    UINT FId;
    UINT FCallback = 0;
    ::Window FWin = 0;
    Atom FSelection, FOpcode, FManager;
    int FWake = -1;
    std::thread FThread;
    std::mutex FLock;
    std::vector<uint32_t> FPixels;
    std::atomic<bool> FStop{false}, FDirty{true};
};

std::map<std::pair<HWND, UINT>, std::unique_ptr<TTrayIcon>>& Icons()
{
    static std::map<std::pair<HWND, UINT>, std::unique_ptr<TTrayIcon>> M;
    return M;
}

bool OnDisplay() { return BackendInstalled() && std::strcmp(Backend().Name(), "x11") == 0; }

}  // namespace

bool Shell_NotifyIcon(DWORD Message, NOTIFYICONDATA* Data)
{
    if (!Data) return false;
    auto Key = std::make_pair(Data->hWnd, Data->uID);
    auto& M = Icons();
    switch (Message) {
    case NIM_ADD: {
        if (!OnDisplay() || M.count(Key)) return false;
        auto Icon = TTrayIcon::Create(*Data);
        if (!Icon) return false;
        M[Key] = std::move(Icon);
        return true;
    }
    case NIM_MODIFY: {
        auto It = M.find(Key);
        if (It == M.end()) return false;
        if ((Data->uFlags & NIF_INFO) && !Data->szInfo.empty()) return false;  // no balloons
        It->second->Update(*Data);
        return true;
    }
    case NIM_DELETE: return M.erase(Key) > 0;
    }
    return false;
}
