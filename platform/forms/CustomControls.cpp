// TCustomControl, TGraphicControl, TTimer, hidden utility windows, and the font and
// canvas links of the controls.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <algorithm>

// ---- fonts ----------------------------------------------------------------------------------------
void TControl::SetFont(TFont* V) { FFont->Assign(V); }

// Any change of the font (by the program or copied from the parent) ends up here.
void TControl::FontChanged()
{
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent) return;
    FFont->Assign(FParent->Font());  // fires FontChanged, which tells our own children
    FParentFont = true;
}

// ---- control canvases --------------------------------------------------------------------------
namespace {
// Canvases holding a DC they took themselves, in the order they took it.
std::vector<TControlCanvas*>& CanvasList()
{
    static std::vector<TControlCanvas*> List;
    return List;
}
}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* AControl)
{
    if (FControl == AControl) return;
    FreeHandle();
    FControl = AControl;
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext) return;
    SetHandle(nullptr);
    auto& L = CanvasList();
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
    HDC DC = FDeviceContext;
    FDeviceContext = nullptr;
    if (IsWindow(FWindowHandle)) ReleaseDC(FWindowHandle, DC);
    else DeleteDC(DC);
    FWindowHandle = nullptr;
}

void TControlCanvas::CreateHandle()
{
    if (!FControl) return;
    TControl* C = FControl;
    HWND Wnd = nullptr;
    TPoint Offset;
    if (C->HasWindow()) {
        Wnd = static_cast<TWinControl*>(C)->Handle();
    } else {
        // a windowless control draws on its nearest windowed parent, at its place
        while (C && !C->HasWindow()) {
            Offset.X += C->Left();
            Offset.Y += C->Top();
            C = C->Parent();
        }
        if (!C) return;
        Wnd = static_cast<TWinControl*>(C)->Handle();
    }
    if (!Wnd) return;
    HDC DC = (FControl->ControlState().Contains(csPaintCopy)) ? GetDCEx(Wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS)
                                                              : GetDC(Wnd);
    if (!DC) return;
    if (!FControl->HasWindow()) {
        SetViewportOrgEx(DC, Offset.X, Offset.Y, nullptr);
        IntersectClipRect(DC, 0, 0, FControl->Width(), FControl->Height());
    }
    FDeviceContext = DC;
    FWindowHandle = Wnd;
    CanvasList().push_back(this);
    SetHandle(DC);
}

void TControlCanvas::PaintOn(HDC DC, HDC& PaintDC, const std::function<void()>& Paint)
{
    FreeHandle();  // a DC taken outside painting goes back first
    Lock();
    SetHandle(DC);
    PaintDC = DC;
    struct TDetach {
        TControlCanvas* C;
        HDC& P;
        ~TDetach()
        {
            P = nullptr;
            C->SetHandle(nullptr);
            C->Unlock();
        }
    } Detach{this, PaintDC};
    Paint();
}

void FreeDeviceContexts(HWND Wnd)
{
    auto L = CanvasList();  // FreeHandle edits the list
    for (TControlCanvas* C : L) {
        auto& Live = CanvasList();
        if (std::find(Live.begin(), Live.end(), C) == Live.end()) continue;
        if (!Wnd || C->WindowHandle() == Wnd) C->FreeHandle();
    }
}

// ---- TCustomControl --------------------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas)
{
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl()
{
    delete FCanvas;
    FCanvas = nullptr;
}

void TCustomControl::PaintWindow(HDC DC) { FCanvas->PaintOn(DC, FPaintDC, [this] { Paint(); }); }

// ---- TGraphicControl --------------------------------------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas)
{
    FControlStyle.Include(csCaptureMouse);
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
    Destroying();
    delete FCanvas;
    FCanvas = nullptr;
    if (FParent) FParent->RemoveControl(this);
}

void TGraphicControl::WMPaint(TMessage& M)
{
    if (M.WParam) FCanvas->PaintOn(reinterpret_cast<HDC>(M.WParam), FPaintDC, [this] { Paint(); });
}

void TGraphicControl::Dispatch(TMessage& M)
{
    if (M.Msg == WM_PAINT) {
        WMPaint(M);
        return;
    }
    TControl::Dispatch(M);
}

// ---- text measuring -----------------------------------------------------------------------------------
TSize MeasureText(TFont* Font, const String& Text, int MaxWidth, UINT Format)
{
    HDC DC = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, Font->Handle());
    TRect R{0, 0, MaxWidth, 0};
    DrawText(DC, Text.c_str(), -1, &R, Format | DT_CALCRECT);
    SelectObject(DC, Old);
    DeleteDC(DC);
    return {R.Width(), R.Height()};
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
