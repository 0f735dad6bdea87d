// TCustomControl, TGraphicControl, TTimer, hidden utility windows, and the font and
// canvas links of the controls.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

// ---- fonts and canvases ------------------------------------------------------------------------
// The font and canvas objects come from the graphics library; until a control asks
// for them they are not made.
TFont* TControl::Font() { return FFont; }
void TControl::SetFont(TFont*) { FontChanged(); }
void TControl::FontChanged() { Perform(CM_FONTCHANGED, 0, 0); }
void TControl::ParentFontChanged()
{
    if (FParentFont && FParent) Perform(CM_FONTCHANGED, 0, 0);
}
void TControl::DestroyOwnedFont() { FFont = nullptr; }

// ---- TCustomControl --------------------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() = default;
TCanvas* TCustomControl::Canvas() { return FCanvas; }

void TCustomControl::PaintWindow(HDC DC)
{
    FPaintDC = DC;
    Paint();
    FPaintDC = nullptr;
}

// ---- TGraphicControl --------------------------------------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    FControlStyle.Include(csCaptureMouse);
}

TGraphicControl::~TGraphicControl()
{
    Destroying();
    if (FParent) FParent->RemoveControl(this);
}

TCanvas* TGraphicControl::Canvas() { return FCanvas; }

void TGraphicControl::WMPaint(TMessage& M)
{
    if (!M.WParam) return;
    FPaintDC = reinterpret_cast<HDC>(M.WParam);
    Paint();
    FPaintDC = nullptr;
}

void TGraphicControl::Dispatch(TMessage& M)
{
    if (M.Msg == WM_PAINT) {
        WMPaint(M);
        return;
    }
    TControl::Dispatch(M);
}

// ---- utility windows ----------------------------------------------------------------------------------
namespace {
LRESULT UtilProc(HWND H, UINT M, WPARAM W, LPARAM L) { return DefWindowProc(H, M, W, L); }
}  // namespace

HWND AllocateHWnd(TWndMethod Method)
{
    static bool Registered = false;
    if (!Registered) {
        WNDCLASS C;
        C.lpszClassName = "TPUtilWindow";
        C.lpfnWndProc = MakeProcInstance(&UtilProc);
        RegisterClass(C);
        Registered = true;
    }
    HWND H = CreateWindowEx(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (H && Method) SetWindowLong(H, GWL_WNDPROC, LONG_PTR(MakeObjectInstance(std::move(Method))));
    return H;
}

void DeallocateHWnd(HWND Wnd)
{
    WNDPROC P = WNDPROC(GetWindowLong(Wnd, GWL_WNDPROC));
    DestroyWindow(Wnd);
    if (P != DefWindowProcInstance()) FreeObjectInstance(P);
}

// ---- TTimer --------------------------------------------------------------------------------------------
TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FWindow = AllocateHWnd([this](TMessage& M) {
        if (M.Msg == WM_TIMER) {
            try {
                Timer();
            } catch (Exception& E) {
                if (Application) Application->HandleException(this, &E);
            }
        }
    });
}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindow);
}

void TTimer::UpdateTimer()
{
    KillTimer(FWindow, 1);
    if (FEnabled && FInterval > 0 && OnTimer) SetTimer(FWindow, 1, FInterval, nullptr);
}

void TTimer::SetEnabled(bool V)
{
    if (FEnabled == V) return;
    FEnabled = V;
    UpdateTimer();
}

void TTimer::SetInterval(UINT V)
{
    if (FInterval == V) return;
    FInterval = V;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent E)
{
    OnTimer = std::move(E);
    UpdateTimer();
}

void TTimer::Timer()
{
    if (OnTimer) OnTimer(this);
}
