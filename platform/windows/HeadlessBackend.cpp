// The headless backend and its test interface.
#include <poll.h>
#include <unistd.h>

#include <map>
#include <stdexcept>

#include "platform/graphics/Region.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/WindowImpl.h"

using namespace winimpl;

namespace {
struct THeadlessTop final : TNativeTop {
    Headless::TTopInfo Info;
};
Headless::TTopInfo& InfoOf(TWindow* W) { return static_cast<THeadlessTop*>(W->Native.get())->Info; }
}  // namespace

namespace {

uint64_t VirtualNow = 1000;
std::function<bool()> IdleHandler;
bool Installed = false;

class THeadlessBackend final : public TWindowBackend {
public:
    explicit THeadlessBackend(const THeadlessOptions& O) : Options(O) {}
    const char* Name() const override { return "headless"; }

    void CreateTop(TWindow* W) override
    {
        W->Native = std::make_unique<THeadlessTop>();
        InfoOf(W).Title = W->Text;
    }
    void DestroyTop(TWindow* W) override
    {
        if (Grabbed == W) Grabbed = nullptr;
        W->Native.reset();
    }
    void ShowTop(TWindow* W, bool Show, bool Activate) override
    {
        InfoOf(W).Shown = Show;
        if (Show && Activate && !W->IsPopup())
            FocusTop(W);
        if (!Show) InfoOf(W).Focused = false;
    }
    void MoveTop(TWindow*) override {}
    void RestackTop(TWindow*) override {}
    void SetTopTitle(TWindow* W) override { InfoOf(W).Title = W->Text; }
    void SetTopShape(TWindow* W) override
    {
        const TRegion* R = W->Shape ? GetRegionOf(W->Shape) : nullptr;
        InfoOf(W).Shape = R ? int(R->Rects().size()) : 0;
    }
    void IconifyTop(TWindow* W, bool Iconify) override { InfoOf(W).Iconified = Iconify; }
    void FocusTop(TWindow* W) override
    {
        for (TWindow* T : State().Tops)
            if (T->Native) InfoOf(T).Focused = T == W;
    }
    void Present(TWindow*, const TRect&) override {}
    void GrabPointer(TWindow* W) override
    {
        if (Grabbed && Grabbed->Native) InfoOf(Grabbed).Grabbed = false;
        Grabbed = W;
        InfoOf(W).Grabbed = true;
    }
    void UngrabPointer() override
    {
        if (Grabbed && Find(Grabbed->Handle) && Grabbed->Native) InfoOf(Grabbed).Grabbed = false;
        Grabbed = nullptr;
    }
    void SetCursorShape(TWindow* W, HCURSOR C) override { InfoOf(W).Cursor = CursorShape(C); }
    std::vector<TMonitorInfo> Monitors() override { return Options.Monitors; }
    bool Compositing() override { return Options.Compositing; }

    void Wait(int TimeoutMs, const std::vector<int>& Fds) override
    {
        std::vector<pollfd> P;
        for (int Fd : Fds) P.push_back({Fd, POLLIN, 0});
        if (poll(P.data(), nfds_t(P.size()), 0) > 0) return;
        if (TimeoutMs >= 0) {
            VirtualNow += uint64_t(TimeoutMs);
            return;
        }
        if (IdleHandler) {
            if (IdleHandler()) return;
            throw std::runtime_error("headless window loop: the idle handler ended the wait");
        }
        // only another thread can end this wait: give it a few real seconds
        if (poll(P.data(), nfds_t(P.size()), 5000) > 0) return;
        throw std::runtime_error("headless window loop: waiting for ever with nothing to wait for");
    }

    THeadlessOptions Options;
    TWindow* Grabbed = nullptr;
};

TWindowBackend* Current()
{
    return BackendInstalled() ? &Backend() : nullptr;
}

void Queue(TInputKind Kind, TPoint P, int Button = 0, int Delta = 0)
{
    TInputEvent E;
    E.Kind = Kind;
    E.Screen = P;
    E.Button = Button;
    E.Delta = Delta;
    E.Time = DWORD(NowMs());
    QueueInput(E);
}

}  // namespace

std::unique_ptr<TWindowBackend> MakeHeadlessBackend() { return std::make_unique<THeadlessBackend>(THeadlessOptions{}); }

namespace Headless {

void Install(const THeadlessOptions& Options)
{
    for (TWindow* T : State().Tops) T->Native.reset();
    SetBackend(std::make_unique<THeadlessBackend>(Options));
    for (TWindow* T : State().Tops) {
        Backend().CreateTop(T);
        InfoOf(T).Shown = T->Visible();
    }
    VirtualNow = 1000;
    IdleHandler = nullptr;
    SetWindowClock([] { return VirtualNow; });
    Installed = true;
}

bool Active() { return Installed && Current() && std::string(Current()->Name()) == "headless"; }

uint64_t Now() { return VirtualNow; }
void AdvanceTime(uint64_t Ms) { VirtualNow += Ms; }

void SetMonitors(const std::vector<TMonitorInfo>& Monitors)
{
    if (!Active()) return;
    static_cast<THeadlessBackend&>(Backend()).Options.Monitors = Monitors;
    NotifyDisplayChange(32);
}
void SetIdleHandler(std::function<bool()> Handler) { IdleHandler = std::move(Handler); }

void MouseMove(TPoint P) { Queue(TInputKind::MouseMove, P); }
void MouseDown(TPoint P, int Button) { Queue(TInputKind::ButtonDown, P, Button); }
void MouseUp(TPoint P, int Button) { Queue(TInputKind::ButtonUp, P, Button); }
void Click(TPoint P, int Button)
{
    MouseMove(P);
    MouseDown(P, Button);
    MouseUp(P, Button);
}
void Wheel(TPoint P, int Delta) { Queue(TInputKind::Wheel, P, 0, Delta); }
void PointerLeft() { Queue(TInputKind::PointerLeft, State().CursorPos); }

void KeyDown(int Vk, const String& Text)
{
    TInputEvent E;
    E.Kind = TInputKind::KeyDown;
    E.Key = Vk;
    E.Text = Text;  // "\x01": worked out when the key is routed, with the shift state then
    E.Time = DWORD(NowMs());
    E.Screen = State().CursorPos;
    QueueInput(E);
}

void KeyUp(int Vk)
{
    TInputEvent E;
    E.Kind = TInputKind::KeyUp;
    E.Key = Vk;
    E.Time = DWORD(NowMs());
    QueueInput(E);
}

void Key(int Vk)
{
    KeyDown(Vk);
    KeyUp(Vk);
}

void Type(const String& Text)
{
    TInputEvent E;
    E.Kind = TInputKind::Chars;
    E.Text = Text;
    E.Time = DWORD(NowMs());
    QueueInput(E);
}

TPoint ScreenPoint(HWND Wnd, TPoint Client)
{
    ClientToScreen(Wnd, Client);
    return Client;
}

void ProcessPending()
{
    MSG M;
    while (PeekMessage(M, nullptr, 0, 0, PM_REMOVE)) {
        if (M.message == WM_QUIT) {
            PostQuitMessage(int(M.wParam));
            break;
        }
        TranslateMessage(M);
        DispatchMessage(M);
    }
    FlushWindows();
}

uint32_t Pixel(HWND Top, int X, int Y)
{
    PSurface S = GetWindowBackBuffer(Top);
    return S ? S->GetPixel(X, Y) : 0;
}

TColor PixelColor(HWND Wnd, TPoint Client)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    TPoint O = WindowOrigin(W);
    uint32_t P = Pixel(TopOf(W)->Handle, O.X + W->Client.Left + Client.X, O.Y + W->Client.Top + Client.Y);
    return RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
}

TTopInfo TopInfo(HWND Top)
{
    TWindow* W = Find(Top);
    if (!W || !W->Native || !Active()) return {};
    return InfoOf(W);
}

}  // namespace Headless
