// The clipboard on an X display: the CLIPBOARD selection with UTF-8 text.
//
// A connection of its own and a small thread serve it: the thread owns the selection
// while the program has put text on the clipboard and answers other clients'
// requests (TARGETS, UTF8_STRING, STRING, TEXT) at any time, whatever the GUI thread
// is doing; reading text another client owns is a request to the thread that the GUI
// thread waits for (at most a second).
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/forms/Clipbrd.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

class TX11Clipboard : public TClipboardProvider {
public:
    static std::unique_ptr<TX11Clipboard> Open()
    {
        Display* D = XOpenDisplay(nullptr);
        if (!D) return nullptr;
        return std::unique_ptr<TX11Clipboard>(new TX11Clipboard(D));
    }

    ~TX11Clipboard() override
    {
        {
            std::lock_guard<std::mutex> G(FLock);
            FStop = true;
        }
        Wake();
        if (FThread.joinable()) FThread.join();
        XDestroyWindow(FDisplay, FWindow);
        XCloseDisplay(FDisplay);
        close(FWake);
    }

    void SetText(const String& Text) override
    {
        std::lock_guard<std::mutex> G(FLock);
        FText = Text;
        FOwned = true;
        FOps.push_back(opOwn);
        WakeLocked();
    }

    bool GetText(String& Text) override
    {
        std::unique_lock<std::mutex> G(FLock);
        if (FOwned) {
            Text = FText;
            return true;
        }
        uint64_t Ticket = ++FTicket;
        FOps.push_back(opFetch);
        WakeLocked();
        bool Done = FDone.wait_for(G, std::chrono::milliseconds(1000), [&] { return FAnswered >= Ticket; });
        Text = Done && FFetchOk ? FFetched : String();
        return Done && FFetchOk;
    }

    bool HasText() override
    {
        String T;
        return GetText(T) && !T.empty();
    }

    void Clear() override
    {
        std::lock_guard<std::mutex> G(FLock);
        FText.clear();
        FOwned = false;
        FOps.push_back(opDisown);
        WakeLocked();
    }

private:
    enum TOp { opOwn, opDisown, opFetch };

    explicit TX11Clipboard(Display* D) : FDisplay(D)
    {
        FWindow = XCreateSimpleWindow(D, DefaultRootWindow(D), -10, -10, 1, 1, 0, 0, 0);
        FClipboard = XInternAtom(D, "CLIPBOARD", False);
        FUtf8 = XInternAtom(D, "UTF8_STRING", False);
        FTargets = XInternAtom(D, "TARGETS", False);
        FText8 = XInternAtom(D, "TEXT", False);
        FPlain = XInternAtom(D, "text/plain;charset=utf-8", False);
        FProperty = XInternAtom(D, "VC_CLIPBOARD", False);
        XFlush(D);
        FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        FThread = std::thread([this] { Run(); });
    }

    void WakeLocked()
    {
        uint64_t One = 1;
        (void)!write(FWake, &One, sizeof One);
    }
    void Wake() { WakeLocked(); }

    void Run()
    {
        int XFd = ConnectionNumber(FDisplay);
        bool Fetching = false;
        auto FetchStarted = std::chrono::steady_clock::now();
        Atom FetchTarget = FUtf8;
        for (;;) {
            {
                std::unique_lock<std::mutex> G(FLock);
                if (FStop) return;
                while (!FOps.empty()) {
                    TOp Op = FOps.front();
                    FOps.pop_front();
                    if (Op == opOwn) {
                        XSetSelectionOwner(FDisplay, FClipboard, FWindow, CurrentTime);
                    } else if (Op == opDisown) {
                        if (XGetSelectionOwner(FDisplay, FClipboard) == FWindow)
                            XSetSelectionOwner(FDisplay, FClipboard, None, CurrentTime);
                    } else if (!Fetching) {
                        Fetching = true;
                        FetchTarget = FUtf8;
                        FetchStarted = std::chrono::steady_clock::now();
                        XConvertSelection(FDisplay, FClipboard, FetchTarget, FProperty, FWindow, CurrentTime);
                    }
                }
            }
            XFlush(FDisplay);
            while (XPending(FDisplay)) {
                XEvent E;
                XNextEvent(FDisplay, &E);
                if (E.type == SelectionRequest) Serve(E.xselectionrequest);
                else if (E.type == SelectionClear) {
                    std::lock_guard<std::mutex> G(FLock);
                    FOwned = false;
                } else if (E.type == SelectionNotify && Fetching) {
                    String Got;
                    bool Ok = E.xselection.property != None && ReadProperty(Got);
                    if (!Ok && FetchTarget == FUtf8) {
                        // an owner without UTF-8: ask for plain STRING
                        FetchTarget = XA_STRING;
                        XConvertSelection(FDisplay, FClipboard, FetchTarget, FProperty, FWindow, CurrentTime);
                        XFlush(FDisplay);
                        continue;
                    }
                    Fetching = false;
                    Answer(Ok, Got);
                }
            }
            if (Fetching && std::chrono::steady_clock::now() - FetchStarted > std::chrono::milliseconds(900)) {
                Fetching = false;
                Answer(false, String());
            }
            pollfd P[2] = {{XFd, POLLIN, 0}, {FWake, POLLIN, 0}};
            poll(P, 2, Fetching ? 50 : 1000);
            if (P[1].revents & POLLIN) {
                uint64_t V;
                (void)!read(FWake, &V, sizeof V);
            }
        }
    }

    void Answer(bool Ok, const String& Text)
    {
        std::lock_guard<std::mutex> G(FLock);
        FFetchOk = Ok;
        FFetched = Text;
        FAnswered = FTicket;
        FDone.notify_all();
    }

    bool ReadProperty(String& Out)
    {
        Atom Type;
        int Format;
        unsigned long Count, After;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(FDisplay, FWindow, FProperty, 0, 1 << 22, True, AnyPropertyType, &Type, &Format, &Count,
                               &After, &Data) != Success)
            return false;
        bool Ok = Data && Format == 8 && (Type == FUtf8 || Type == XA_STRING || Type == FText8 || Type == FPlain);
        if (Ok) {
            Out.assign(reinterpret_cast<char*>(Data), Count);
            if (Type == XA_STRING) {
                // Latin-1 to UTF-8
                String U;
                for (unsigned char C : Out) {
                    if (C < 0x80) U += char(C);
                    else {
                        U += char(0xC0 | (C >> 6));
                        U += char(0x80 | (C & 0x3F));
                    }
                }
                Out = U;
            }
        }
        if (Data) XFree(Data);
        return Ok;
    }

    void Serve(const XSelectionRequestEvent& R)
    {
        XSelectionEvent N{};
        N.type = SelectionNotify;
        N.display = R.display;
        N.requestor = R.requestor;
        N.selection = R.selection;
        N.target = R.target;
        N.time = R.time;
        N.property = None;
        Atom Prop = R.property != None ? R.property : R.target;
        String Text;
        bool Owned;
        {
            std::lock_guard<std::mutex> G(FLock);
            Text = FText;
            Owned = FOwned;
        }
        if (Owned && R.selection == FClipboard) {
            if (R.target == FTargets) {
                Atom List[] = {FTargets, FUtf8, FPlain, XA_STRING, FText8};
                XChangeProperty(FDisplay, R.requestor, Prop, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(List), 5);
                N.property = Prop;
            } else if (R.target == FUtf8 || R.target == FPlain || R.target == FText8 || R.target == XA_STRING) {
                String Data = Text;
                if (R.target == XA_STRING) {
                    // UTF-8 to Latin-1, other characters as "?"
                    std::u32string U = Utf8ToUtf32(Text);
                    Data.clear();
                    for (char32_t C : U) Data += C < 0x100 ? char(C) : '?';
                }
                Atom Type = R.target == XA_STRING ? XA_STRING : R.target == FText8 ? FUtf8 : R.target;
                XChangeProperty(FDisplay, R.requestor, Prop, Type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(Data.data()), int(Data.size()));
                N.property = Prop;
            }
        }
        XSendEvent(FDisplay, R.requestor, False, 0, reinterpret_cast<XEvent*>(&N));
        XFlush(FDisplay);
    }

    Display* FDisplay;
    ::Window FWindow = 0;
    Atom FClipboard, FUtf8, FTargets, FText8, FPlain, FProperty;
    int FWake = -1;
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FDone;
    std::deque<TOp> FOps;
    String FText, FFetched;
    bool FOwned = false, FStop = false, FFetchOk = false;
    uint64_t FTicket = 0, FAnswered = 0;
};

}  // namespace

std::unique_ptr<TClipboardProvider> MakeX11ClipboardProvider() { return TX11Clipboard::Open(); }
