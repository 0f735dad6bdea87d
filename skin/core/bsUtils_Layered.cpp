// Version tests, layered windows, monitor work areas, desktop composition, alpha bitmaps
// for layered windows, and the fading layer window.
#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils.h"

#include <algorithm>

#include "platform/windows/WinPaint.h"

DWORD (*bsGetVersion)() = &GetVersion;

void GetOsVersion(int& Major, int& Minor)
{
    const DWORD v = bsGetVersion();
    Major = int(v & 0xFF);
    Minor = int((v >> 8) & 0xFF);
}

bool OsIsWin2000OrLater()
{
    int major, minor;
    GetOsVersion(major, minor);
    return major > 5 || (major == 5 && minor <= 2);
}

bool OsIsXPOrLater()
{
    int major, minor;
    GetOsVersion(major, minor);
    return major > 5 || (major == 5 && minor == 1);
}

bool OsIsVistaOrLater()
{
    int major, minor;
    GetOsVersion(major, minor);
    return major > 5;
}

bool OsIsWindows7()
{
    int major, minor;
    GetOsVersion(major, minor);
    return major == 6 && minor == 1;
}

bool OsIsWindows8OrLater()
{
    int major, minor;
    GetOsVersion(major, minor);
    return (major == 6 && minor == 2) || major > 6;
}

bool ControlStillAlive(HWND Wnd, const TWinControl* Control)
{
    return Wnd && Control && IsWindow(Wnd) && TWinControl::FindControl(Wnd) == Control;
}

void SetLayeredAlpha(HWND Wnd, uint8_t Alpha)
{
    if (!Wnd || !LayeredWindowsAvailable()) return;
    SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
}

void UpdateLayeredBitmap(TbsBitmap* Bmp, uint8_t Alpha, TWinControl* Control)
{
    if (!Control || !Bmp || Bmp->Empty() || !LayeredWindowsAvailable()) return;
    const TPoint pos(Control->Left(), Control->Top()), origin(0, 0);
    const TSize size{Bmp->Width(), Bmp->Height()};
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = Alpha;
    blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(Control->Handle(), nullptr, &pos, &size, Bmp->DC(), &origin, 0, &blend, ULW_ALPHA);
}

bool (*bsGetScrollBarInfo)(HWND Wnd, LONG ObjectId, SCROLLBARINFO* Info) = &GetScrollBarInfo;

bool SafeGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info)
{
    if (bsGetScrollBarInfo) return bsGetScrollBarInfo(Wnd, ObjectId, &Info);
    Info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return false;
}

bool IsMultiMonitor() { return GetSystemMetrics(SM_CMONITORS) > 1; }

void GetWorkArea(bool WorkArea, TRect& R)
{
    if (WorkArea)
        SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    else
        R = TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void GetMonitorWorkArea(HWND Wnd, bool WorkArea, TRect& R)
{
    if (!IsMultiMonitor()) {
        GetWorkArea(WorkArea, R);
        return;
    }
    HMONITOR m = MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info;
    if (m && GetMonitorInfo(m, &info)) R = WorkArea ? info.rcWork : info.rcMonitor;
}

bool LoadDwmApi() { return false; }
bool IsDwmCompositionOn() { return false; }
void SetDwmTransitions(HWND, bool) {}
bool EnableBlurBehind(HWND, bool, HRGN) { return false; }

void CreateAlphaBitmap(TBitmap* Image, TBitmap* Mask, TbsBitmap* Dest)
{
    if (!Dest || !Image) return;
    Dest->Assign(Image);
    if (Mask && !Mask->Empty()) {
        TbsBitmap mask;
        mask.Assign(Mask);
        SetAlphaFromMask(Dest, &mask);
    } else if (Dest->Bits()) {
        // No mask: the picture's own alpha (a 32-bit picture's; others are opaque).  A
        // picture whose alpha is 0 everywhere carries none and is shown opaque too.
        const TbsColor* p = Dest->Bits();
        const TbsColor* end = p + size_t(Dest->Width()) * Dest->Height();
        if (std::all_of(p, end, [](TbsColor c) { return bsAlphaOf(c) == 0; })) Dest->SetAlpha(255);
    }
    Dest->CheckRGBA();
}

void PngImageToBitmap(TbsBitmap* Dest, TPngImage* Png)
{
    if (!Dest || !Png || Png->Empty()) return;
    Dest->SetSize(Png->Width(), Png->Height());
    const bool keyed = Png->TransparencyMode() == ptmBit;
    const TColor key = Png->TransparentColor();
    for (int y = 0; y < Png->Height(); ++y) {
        const uint8_t* alpha = Png->AlphaScanline(y);
        TbsColor* row = Dest->ScanLine(y);
        for (int x = 0; x < Png->Width(); ++x) {
            const TColor c = Png->Pixels(x, y);
            const uint8_t a = alpha ? alpha[x] : keyed && c == key ? 0 : 255;
            row[x] = bsPackARGB(a, GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    Dest->CheckingAlphaBlend();
}

// ---- TbsLayerWindow -------------------------------------------------------------------------

TbsLayerWindow::TbsLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TbsLayerWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        return;
    }
    // The picture is the layered image alone: painting adds nothing to it.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- TbsLayerManager ------------------------------------------------------------------------

TbsLayerManager::TbsLayerManager(TComponent* AOwner) : TComponent(AOwner)
{
    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(25);
    Timer->SetOnTimer([this](TObject*) { FadeStep(); });
}

TbsLayerManager::~TbsLayerManager()
{
    delete Timer;
    Timer = nullptr;
    delete LayerWindow;
    LayerWindow = nullptr;
    Bmp.reset();
}

void TbsLayerManager::Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue)
{
    // without a compositor a layered window would show as an opaque box: none is shown
    if (!OsIsWin2000OrLater() || !AImage || !LayeredWindowsAvailable()) return;
    if (LayerWindow) Hide();
    IsVisible = true;
    LayerWindow = new TbsLayerWindow(this);
    LayerWindow->SetVisible(false);
    LayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
    HWND wnd = LayerWindow->Handle();
    SetWindowLong(wnd, GWL_EXSTYLE, GetWindowLong(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    Bmp = std::make_unique<TbsBitmap>();
    CreateAlphaBitmap(AImage, AImageMask, Bmp.get());
    UpdateLayeredBitmap(Bmp.get(), 0, LayerWindow);
    SetWindowPos(wnd, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EndAlphaBlendValue = AAlphaBlendValue;
    // At least one step, so that small targets are still reached.
    StepAlphaBlendValue = std::max(1, AAlphaBlendValue / 10);
    StartTimer();
}

void TbsLayerManager::FadeStep()
{
    if (!Bmp || !LayerWindow) return;
    BeginAlphaBlendValue = std::min(BeginAlphaBlendValue + StepAlphaBlendValue, EndAlphaBlendValue);
    UpdateLayeredBitmap(Bmp.get(), uint8_t(std::clamp(BeginAlphaBlendValue, 0, 255)), LayerWindow);
    if (BeginAlphaBlendValue == EndAlphaBlendValue) StopTimer();
}

void TbsLayerManager::Hide()
{
    if (!OsIsWin2000OrLater()) return;
    StopTimer();
    Bmp.reset();
    IsVisible = false;
    if (LayerWindow) {
        if (LayerWindow->HandleAllocated())
            SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        delete LayerWindow;
        LayerWindow = nullptr;
    }
}

void TbsLayerManager::Update()
{
    if (!IsVisible || !LayerWindow) return;
    SetWindowPos(LayerWindow->Handle(), TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, LayerWindow->Left(),
                 LayerWindow->Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TbsLayerManager::StartTimer()
{
    BeginAlphaBlendValue = 0;
    Timer->SetEnabled(true);
}

void TbsLayerManager::StopTimer()
{
    if (Timer) Timer->SetEnabled(false);
}
