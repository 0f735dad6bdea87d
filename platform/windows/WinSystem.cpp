// The GUI thread's share of thread synchronisation, monitors and system settings.
#include <algorithm>

#include "platform/system/Threads.h"
#include "platform/windows/Backend.h"
#include "platform/windows/WindowImpl.h"

using namespace winimpl;

void winimpl::RunSynchronized()
{
    // The loop's share of the calls of other threads; the rest wake it again.
    if (IsMainThread()) CheckSynchronizeTurn();
}

int winimpl::SynchronizeWakeFd() { return SyncWakeFd(); }

// Tells every top-level window that the screen changed (WParam bits per pixel, LParam
// the primary monitor's size).
void winimpl::NotifyDisplayChange(int BitsPerPixel)
{
    LPARAM Size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    for (TWindow* T : State().Tops) PostMessage(T->Handle, WM_DISPLAYCHANGE, WPARAM(BitsPerPixel), Size);
}

// ---- monitors ---------------------------------------------------------------------------
static std::vector<TMonitorInfo> AllMonitors()
{
    auto M = Backend().Monitors();
    if (M.empty()) M.push_back({{0, 0, 1024, 768}, {0, 0, 1024, 768}, true});
    return M;
}

static HMONITOR HandleOf(size_t Index) { return reinterpret_cast<HMONITOR>(uintptr_t(Index + 1)); }

static long Distance2(const TRect& R, TPoint P)
{
    long Dx = P.X < R.Left ? R.Left - P.X : P.X >= R.Right ? P.X - R.Right + 1 : 0;
    long Dy = P.Y < R.Top ? R.Top - P.Y : P.Y >= R.Bottom ? P.Y - R.Bottom + 1 : 0;
    return Dx * Dx + Dy * Dy;
}

HMONITOR MonitorFromPoint(TPoint P, DWORD Flags)
{
    auto M = AllMonitors();
    size_t Best = 0;
    long BestD = -1;
    for (size_t I = 0; I < M.size(); ++I) {
        if (M[I].Bounds.Contains(P)) return HandleOf(I);
        long D = Distance2(M[I].Bounds, P);
        if (BestD < 0 || D < BestD) BestD = D, Best = I;
    }
    if (Flags == MONITOR_DEFAULTTONULL) return nullptr;
    if (Flags == MONITOR_DEFAULTTOPRIMARY)
        for (size_t I = 0; I < M.size(); ++I)
            if (M[I].Primary) return HandleOf(I);
    return HandleOf(Best);
}

HMONITOR MonitorFromRect(const TRect& R, DWORD Flags)
{
    auto M = AllMonitors();
    long BestArea = 0;
    size_t Best = 0;
    bool Any = false;
    for (size_t I = 0; I < M.size(); ++I) {
        const TRect& B = M[I].Bounds;
        long W = std::min(R.Right, B.Right) - std::max(R.Left, B.Left);
        long H = std::min(R.Bottom, B.Bottom) - std::max(R.Top, B.Top);
        if (W > 0 && H > 0 && W * H > BestArea) BestArea = W * H, Best = I, Any = true;
    }
    if (Any) return HandleOf(Best);
    return MonitorFromPoint({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}, Flags);
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags)
{
    TRect R;
    if (!GetWindowRect(Wnd, R)) return Flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return MonitorFromRect(R, Flags);
}

bool GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info)
{
    auto M = AllMonitors();
    size_t I = size_t(reinterpret_cast<uintptr_t>(Monitor));
    if (!Info || I < 1 || I > M.size()) return false;
    Info->rcMonitor = M[I - 1].Bounds;
    Info->rcWork = M[I - 1].Work;
    Info->dwFlags = M[I - 1].Primary ? MONITORINFOF_PRIMARY : 0;
    return true;
}

static const TMonitorInfo& Primary(const std::vector<TMonitorInfo>& M)
{
    for (auto& X : M)
        if (X.Primary) return X;
    return M.front();
}

int GetSystemMetrics(int Index)
{
    auto M = AllMonitors();
    const TMonitorInfo& P = Primary(M);
    TRect V = M.front().Bounds;
    for (auto& X : M)
        V = {std::min(V.Left, X.Bounds.Left), std::min(V.Top, X.Bounds.Top), std::max(V.Right, X.Bounds.Right),
             std::max(V.Bottom, X.Bounds.Bottom)};
    switch (Index) {
    case SM_CXSCREEN: return P.Bounds.Width();
    case SM_CYSCREEN: return P.Bounds.Height();
    case SM_CXVIRTUALSCREEN: return V.Width();
    case SM_CYVIRTUALSCREEN: return V.Height();
    case SM_CMONITORS: return int(M.size());
    case SM_CXFULLSCREEN: return P.Work.Width();
    case SM_CYFULLSCREEN: return P.Work.Height() - 19;
    case SM_CXMAXIMIZED: return P.Work.Width() + 8;
    case SM_CYMAXIMIZED: return P.Work.Height() + 8;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    }
    return 0;
}

bool SystemParametersInfo(UINT Action, UINT, void* Value, UINT)
{
    switch (Action) {
    case SPI_GETWORKAREA:
        if (!Value) return false;
        *static_cast<TRect*>(Value) = Primary(AllMonitors()).Work;
        return true;
    case SPI_GETDRAGFULLWINDOWS:
        if (!Value) return false;
        *static_cast<BOOL*>(Value) = TRUE;
        return true;
    }
    return false;
}
