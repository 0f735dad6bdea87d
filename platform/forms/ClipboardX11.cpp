// The clipboard on an X display: the CLIPBOARD selection with UTF-8 text or a picture.
//
// A connection of its own and a small thread serve it: the thread owns the selection
// while the program has put text or a picture on the clipboard and answers other
// clients' requests at any time, whatever the GUI thread is doing: TARGETS, and
// UTF8_STRING, STRING, TEXT for text, image/png and image/bmp for a picture.  Data
// larger than one request is sent in parts (the INCR transfer of the selection
// conventions).  Reading text another client owns is a request to the thread that
// the GUI thread waits for (at most a second).
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
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
        FPng.reset();
        FBmp.reset();
        FOwned = true;
        FOps.push_back(opOwn);
        WakeLocked();
    }

    void SetPicture(const TClipboardPicture& Picture) override
    {
        std::lock_guard<std::mutex> G(FLock);
        FText.clear();
        FPng = std::make_shared<const TBytes>(Picture.Png);
        FBmp = std::make_shared<const TBytes>(Picture.Bmp);
        FOwned = true;
        FOps.push_back(opOwn);
        WakeLocked();
    }

    bool GetText(String& Text) override
    {
        std::unique_lock<std::mutex> G(FLock);
        if (FOwned) {
            Text = FText;
            return !FPng;
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
        FPng.reset();
        FBmp.reset();
        FOwned = false;
        FOps.push_back(opDisown);
        WakeLocked();
    }

private:
    enum TOp { opOwn, opDisown, opFetch };
    using TBytes = std::vector<uint8_t>;

    // A reply sent in parts: the next part goes when the requestor has deleted the
    // property that held the previous one; an empty part ends it.
    struct TTransfer {
        std::shared_ptr<const TBytes> Data;
        Atom Type = 0;
        size_t Sent = 0;
        bool Ended = false;
        std::chrono::steady_clock::time_point LastStep;
    };

    explicit TX11Clipboard(Display* D) : FDisplay(D)
    {
        FWindow = XCreateSimpleWindow(D, DefaultRootWindow(D), -10, -10, 1, 1, 0, 0, 0);
        FClipboard = XInternAtom(D, "CLIPBOARD", False);
        FUtf8 = XInternAtom(D, "UTF8_STRING", False);
        FTargets = XInternAtom(D, "TARGETS", False);
        FText8 = XInternAtom(D, "TEXT", False);
        FPlain = XInternAtom(D, "text/plain;charset=utf-8", False);
        FProperty = XInternAtom(D, "VC_CLIPBOARD", False);
        FPngType = XInternAtom(D, "image/png", False);
        FBmpType = XInternAtom(D, "image/bmp", False);
        FIncr = XInternAtom(D, "INCR", False);
        // One part of a transfer in parts, within what one request may carry.
        long MaxBytes = std::max(XExtendedMaxRequestSize(D), XMaxRequestSize(D)) * 4 - 1024;
        FPart = size_t(std::clamp(MaxBytes, 4096L, 256L * 1024));
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
                else if (E.type == PropertyNotify) Step(E.xproperty);
                else if (E.type == SelectionClear && XGetSelectionOwner(FDisplay, FClipboard) != FWindow) {
                    // Another client owns the clipboard now (transfers under way keep their
                    // data); a loss the program has since made up for by taking it again
                    // changes nothing.
                    std::lock_guard<std::mutex> G(FLock);
                    FOwned = false;
                    FPng.reset();
                    FBmp.reset();
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
            DropStalled();
            pollfd P[2] = {{XFd, POLLIN, 0}, {FWake, POLLIN, 0}};
            poll(P, 2, Fetching ? 50 : FTransfers.empty() ? 1000 : 250);
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
        std::shared_ptr<const TBytes> Png, Bmp;
        bool Owned;
        {
            std::lock_guard<std::mutex> G(FLock);
            Text = FText;
            Png = FPng;
            Bmp = FBmp;
            Owned = FOwned;
        }
        if (Owned && R.selection == FClipboard) {
            if (R.target == FTargets) {
                std::vector<Atom> List{FTargets};
                if (Png) List.insert(List.end(), {FPngType, FBmpType});
                else List.insert(List.end(), {FUtf8, FPlain, XA_STRING, FText8});
                XChangeProperty(FDisplay, R.requestor, Prop, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(List.data()), int(List.size()));
                N.property = Prop;
            } else if (Png && (R.target == FPngType || R.target == FBmpType)) {
                Send(R.requestor, Prop, R.target, R.target == FPngType ? Png : Bmp);
                N.property = Prop;
            } else if (!Png &&
                       (R.target == FUtf8 || R.target == FPlain || R.target == FText8 || R.target == XA_STRING)) {
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

    // Puts Data into the requestor's property: at once when it fits in one part, else
    // as a transfer in parts that starts with the INCR property giving the size.
    void Send(::Window Requestor, Atom Prop, Atom Type, const std::shared_ptr<const TBytes>& Data)
    {
        if (Data->size() <= FPart) {
            XChangeProperty(FDisplay, Requestor, Prop, Type, 8, PropModeReplace, Data->data(), int(Data->size()));
            return;
        }
        // The deletions of the requestor's properties tell when to send the next part.
        XSelectInput(FDisplay, Requestor, PropertyChangeMask);
        long Size = long(Data->size());
        XChangeProperty(FDisplay, Requestor, Prop, FIncr, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&Size), 1);
        TTransfer& T = FTransfers[{Requestor, Prop}];
        T = TTransfer();
        T.Data = Data;
        T.Type = Type;
        T.LastStep = std::chrono::steady_clock::now();
    }

    void Step(const XPropertyEvent& E)
    {
        if (E.state != PropertyDelete) return;
        auto It = FTransfers.find({E.window, E.atom});
        if (It == FTransfers.end()) return;
        TTransfer& T = It->second;
        if (T.Ended) {
            // the requestor has taken the empty part that ends the transfer
            Finish(It);
            return;
        }
        size_t N = std::min(FPart, T.Data->size() - T.Sent);
        XChangeProperty(FDisplay, E.window, E.atom, T.Type, 8, PropModeReplace, T.Data->data() + T.Sent, int(N));
        T.Sent += N;
        T.Ended = N == 0;
        T.LastStep = std::chrono::steady_clock::now();
        XFlush(FDisplay);
    }

    // A requestor that stops taking parts (or has gone) is given up after a while.
    void DropStalled()
    {
        auto Now = std::chrono::steady_clock::now();
        for (auto It = FTransfers.begin(); It != FTransfers.end();) {
            auto Next = std::next(It);
            if (Now - It->second.LastStep > std::chrono::seconds(10)) Finish(It);
            It = Next;
        }
    }

    void Finish(std::map<std::pair<::Window, Atom>, TTransfer>::iterator It)
    {
        ::Window W = It->first.first;
        FTransfers.erase(It);
        bool Other = false;
        for (auto& [Key, T] : FTransfers) Other = Other || Key.first == W;
        if (!Other) XSelectInput(FDisplay, W, NoEventMask);
        XFlush(FDisplay);
    }

    Display* FDisplay;
    ::Window FWindow = 0;
    Atom FClipboard, FUtf8, FTargets, FText8, FPlain, FProperty, FPngType, FBmpType, FIncr;
    size_t FPart = 0;
    std::map<std::pair<::Window, Atom>, TTransfer> FTransfers;   // by requestor and property
    int FWake = -1;
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FDone;
    std::deque<TOp> FOps;
    String FText, FFetched;
    std::shared_ptr<const TBytes> FPng, FBmp;   // the picture on the clipboard, or none
    bool FOwned = false, FStop = false, FFetchOk = false;
    uint64_t FTicket = 0, FAnswered = 0;
};

}  // namespace

std::unique_ptr<TClipboardProvider> MakeX11ClipboardProvider() { return TX11Clipboard::Open(); }
