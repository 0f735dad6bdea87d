// Window records and the tree: classes, creation and destruction, parents and
// z-order, geometry (SetWindowPos and friends), styles, text and properties.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/windows/Backend.h"
#include "platform/windows/WindowImpl.h"

namespace winimpl {

TState& State()
{
    static TState* S = new TState;  // lives until exit; windows may be destroyed late
    return *S;
}

TWindow* Find(HWND Wnd)
{
    if (!Wnd) return nullptr;
    auto& S = State();
    auto It = S.Windows.find(Wnd);
    return It == S.Windows.end() ? nullptr : It->second;
}

TWindow* TopOf(TWindow* W)
{
    while (W && W->IsChild()) W = W->Parent;
    return W;
}

TPoint WindowOrigin(TWindow* W)
{
    TPoint P;
    while (W && W->IsChild()) {
        P.X += W->Rect.Left + W->Parent->Client.Left;
        P.Y += W->Rect.Top + W->Parent->Client.Top;
        W = W->Parent;
    }
    return P;
}

TPoint ScreenOrigin(TWindow* W)
{
    TWindow* T = TopOf(W);
    TPoint O = WindowOrigin(W);
    return {T->Rect.Left + O.X, T->Rect.Top + O.Y};
}

TPoint ClientScreenOrigin(TWindow* W)
{
    TPoint O = ScreenOrigin(W);
    return {O.X + W->Client.Left, O.Y + W->Client.Top};
}

bool IsVisibleChain(TWindow* W)
{
    for (; W; W = W->IsChild() ? W->Parent : nullptr)
        if (!W->Visible()) return false;
    return true;
}

bool IsEnabledChain(TWindow* W)
{
    for (; W; W = W->IsChild() ? W->Parent : nullptr)
        if (!W->Enabled()) return false;
    return true;
}

// Deferred deletion: a window destroyed inside one of its own messages stays in
// memory until the outermost send returns.
static std::vector<TWindow*> Graveyard;

void CollectGarbage()
{
    if (State().SendDepth > 0) return;
    auto G = std::move(Graveyard);
    Graveyard.clear();
    for (TWindow* W : G) delete W;
}

}  // namespace winimpl

using namespace winimpl;

// ---- backend selection -------------------------------------------------------------
static std::unique_ptr<TWindowBackend>& BackendSlot()
{
    static std::unique_ptr<TWindowBackend> B;
    return B;
}

bool BackendInstalled() { return bool(BackendSlot()); }

void SetBackend(std::unique_ptr<TWindowBackend> B) { BackendSlot() = std::move(B); }

TWindowBackend& Backend()
{
    auto& B = BackendSlot();
    if (!B) {
        if (getenv("DISPLAY") && *getenv("DISPLAY")) B = MakeX11Backend();
        if (!B) B = MakeHeadlessBackend();
    }
    return *B;
}

// ---- classes -------------------------------------------------------------------------
static String Lower(const String& S)
{
    String R = S;
    for (char& C : R) C = char(std::tolower((unsigned char)C));
    return R;
}

ATOM RegisterClass(const WNDCLASS& Class)
{
    auto& S = State();
    String Key = Lower(Class.lpszClassName);
    if (Key.empty() || S.Classes.count(Key)) return 0;
    auto C = std::make_shared<TWindowClass>();
    C->Name = Class.lpszClassName;
    C->Style = Class.style;
    C->Proc = Class.lpfnWndProc ? Class.lpfnWndProc : DefWindowProcInstance();
    C->Cursor = Class.hCursor;
    S.Classes[Key] = C;
    return ATOM(S.Classes.size());
}

bool GetClassInfo(const String& ClassName, WNDCLASS& Class)
{
    auto& S = State();
    auto It = S.Classes.find(Lower(ClassName));
    if (It == S.Classes.end()) return false;
    Class.style = It->second->Style;
    Class.lpfnWndProc = It->second->Proc;
    Class.hCursor = It->second->Cursor;
    Class.lpszClassName = It->second->Name;
    return true;
}

bool UnregisterClass(const String& ClassName) { return State().Classes.erase(Lower(ClassName)) > 0; }

String GetClassName(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    return W ? W->Class->Name : String();
}

int GetClassName(HWND Wnd, String& Name)
{
    Name = GetClassName(Wnd);
    return int(Name.size());
}

ULONG_PTR GetClassLong(HWND Wnd, int Index)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    if (Index == GCL_STYLE) return W->Class->Style;
    if (Index == GCL_WNDPROC) return ULONG_PTR(W->Class->Proc);
    return 0;
}

ULONG_PTR SetClassLong(HWND Wnd, int Index, ULONG_PTR Value)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    ULONG_PTR Old = GetClassLong(Wnd, Index);
    if (Index == GCL_STYLE) W->Class->Style = UINT(Value);
    else if (Index == GCL_WNDPROC) W->Class->Proc = WNDPROC(Value);
    return Old;
}

// ---- creation ----------------------------------------------------------------------
namespace winimpl {

// Sends WM_NCCALCSIZE for the proposed window rectangle (parent coordinates for
// children, screen for top-levels) and stores the client rectangle it answers.
void CalcClient(TWindow* W, const TRect& Proposed, WINDOWPOS* Pos)
{
    NCCALCSIZE_PARAMS P;
    P.rgrc[0] = Proposed;
    P.rgrc[1] = W->Rect;
    P.rgrc[2] = {W->Rect.Left + W->Client.Left, W->Rect.Top + W->Client.Top, W->Rect.Left + W->Client.Right,
                 W->Rect.Top + W->Client.Bottom};
    P.lppos = Pos;
    SendMessage(W->Handle, WM_NCCALCSIZE, 1, LPARAM(&P));
    if (!Find(W->Handle)) return;
    TRect C = P.rgrc[0];
    if (C.Right < C.Left) C.Right = C.Left;
    if (C.Bottom < C.Top) C.Bottom = C.Top;
    W->Client = {C.Left - Proposed.Left, C.Top - Proposed.Top, C.Right - Proposed.Left, C.Bottom - Proposed.Top};
    W->Client.Left = std::clamp(W->Client.Left, 0, std::max(0, Proposed.Width()));
    W->Client.Top = std::clamp(W->Client.Top, 0, std::max(0, Proposed.Height()));
    W->Client.Right = std::clamp(W->Client.Right, W->Client.Left, std::max(W->Client.Left, Proposed.Width()));
    W->Client.Bottom = std::clamp(W->Client.Bottom, W->Client.Top, std::max(W->Client.Top, Proposed.Height()));
    bool Framed = W->Client != TRect(0, 0, Proposed.Width(), Proposed.Height());
    if (W->IsTop() && Framed != W->SelfFramed) {
        W->SelfFramed = Framed;
        if (W->Native) Backend().SetTopStyle(W);
    } else {
        W->SelfFramed = Framed;
    }
}

static void InsertTop(TWindow* W)
{
    auto& Tops = State().Tops;
    Tops.erase(std::remove(Tops.begin(), Tops.end(), W), Tops.end());
    if (W->ExStyle & WS_EX_TOPMOST) {
        Tops.insert(Tops.begin(), W);
    } else {
        auto It = std::find_if(Tops.begin(), Tops.end(), [](TWindow* T) { return !(T->ExStyle & WS_EX_TOPMOST); });
        Tops.insert(It, W);
    }
}

}  // namespace winimpl

HWND CreateWindowEx(DWORD ExStyle, const String& ClassName, const String& WindowName, DWORD Style, int X, int Y,
                    int Width, int Height, HWND Parent, intptr_t Id, void* Param)
{
    auto& S = State();
    auto It = S.Classes.find(Lower(ClassName));
    if (It == S.Classes.end()) return nullptr;
    TWindow* ParentW = Find(Parent);
    if ((Style & WS_CHILD) && !ParentW) return nullptr;

    auto* W = new TWindow;
    W->Handle = reinterpret_cast<HWND>(S.NextHandle);
    S.NextHandle += 4;
    W->Class = It->second;
    W->Proc = W->Class->Proc;
    W->Style = Style & ~WS_VISIBLE;
    W->ExStyle = ExStyle;
    W->Id = Id;
    W->Text = WindowName;
    if (X == CW_USEDEFAULT) X = 0;
    if (Y == CW_USEDEFAULT) Y = 0;
    if (Width == CW_USEDEFAULT) Width = 300;
    if (Height == CW_USEDEFAULT) Height = 200;
    W->Rect = Bounds(X, Y, std::max(0, Width), std::max(0, Height));
    W->Client = {0, 0, W->Rect.Width(), W->Rect.Height()};
    S.Windows[W->Handle] = W;
    if (Style & WS_CHILD) {
        W->Parent = ParentW;
        ParentW->Children.insert(ParentW->Children.begin(), W);
    } else {
        W->Owner = ParentW ? TopOf(ParentW) : nullptr;
        InsertTop(W);
    }

    CREATESTRUCT CS;
    CS.lpCreateParams = Param;
    CS.hwndParent = Parent;
    CS.x = X;
    CS.y = Y;
    CS.cx = Width;
    CS.cy = Height;
    CS.style = Style;
    CS.dwExStyle = ExStyle;
    CS.lpszName = WindowName;
    CS.lpszClass = ClassName;
    HWND H = W->Handle;
    if (W->IsTop()) {
        MINMAXINFO MMI{};
        MMI.ptMaxTrackSize = {GetSystemMetrics(SM_CXVIRTUALSCREEN) + 16, GetSystemMetrics(SM_CYVIRTUALSCREEN) + 16};
        SendMessage(H, WM_GETMINMAXINFO, 0, LPARAM(&MMI));
        if (!Find(H)) return nullptr;
    }
    if (!SendMessage(H, WM_NCCREATE, 0, LPARAM(&CS))) {
        DestroyWindow(H);
        return nullptr;
    }
    if (!Find(H)) return nullptr;
    CalcClient(W, W->Rect, nullptr);
    if (!Find(H)) return nullptr;
    if (W->IsTop()) {
        Backend().CreateTop(W);
        OnTopLevelCreated(W);
    }
    if (SendMessage(H, WM_CREATE, 0, LPARAM(&CS)) == -1) {
        DestroyWindow(H);
        return nullptr;
    }
    if (!Find(H)) return nullptr;
    W->Created = true;
    if (W->IsChild()) SendMessage(Parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(Id)), LPARAM(H));
    if (!Find(H)) return nullptr;
    SendMessage(H, WM_SIZE, SIZE_RESTORED, MAKELPARAM(W->Client.Width(), W->Client.Height()));
    if (!Find(H)) return nullptr;
    SendMessage(H, WM_MOVE, 0, MAKELPARAM(W->Rect.Left + W->Client.Left, W->Rect.Top + W->Client.Top));
    if (!Find(H)) return nullptr;
    if (Style & WS_VISIBLE) ShowWindow(H, SW_SHOW);
    return Find(H) ? H : nullptr;
}


static void SendDestroy(TWindow* W)
{
    HWND H = W->Handle;
    SendMessage(H, WM_DESTROY, 0, 0);
    if (!Find(H)) return;
    auto Kids = W->Children;
    for (TWindow* C : Kids)
        if (Find(C->Handle) && !C->Destroying) {
            C->Destroying = true;
            SendDestroy(C);
        }
}

static void Unlink(TWindow* W)
{
    auto& S = State();
    auto Kids = W->Children;
    for (TWindow* C : Kids) Unlink(C);
    SendMessage(W->Handle, WM_NCDESTROY, 0, 0);
    KillWindowTimers(W->Handle);
    ForgetWindowInQueue(W->Handle);
    OnWindowDestroyed(W);
    if (S.Focus == W->Handle) S.Focus = nullptr;
    if (S.Capture == W->Handle) S.Capture = nullptr;
    if (S.Active == W->Handle) S.Active = nullptr;
    if (S.Foreground == W->Handle) S.Foreground = nullptr;
    if (S.MouseWindow == W->Handle) S.MouseWindow = nullptr;
    if (S.LastDownWnd == W->Handle) S.LastDownWnd = nullptr;
    if (W->Parent) {
        auto& V = W->Parent->Children;
        V.erase(std::remove(V.begin(), V.end(), W), V.end());
    } else {
        S.Tops.erase(std::remove(S.Tops.begin(), S.Tops.end(), W), S.Tops.end());
        for (TWindow* T : S.Tops)
            if (T->Owner == W) T->Owner = nullptr;
        if (W->Native) Backend().DestroyTop(W);
    }
    S.Windows.erase(W->Handle);
    Graveyard.push_back(W);
}

bool DestroyWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W || W->Destroying) return false;
    auto& S = State();
    // owned top-levels go first
    std::vector<HWND> Owned;
    for (TWindow* T : S.Tops)
        if (T->Owner == W) Owned.push_back(T->Handle);
    for (HWND O : Owned) DestroyWindow(O);
    if (!Find(Wnd)) return true;
    if (W->Visible()) SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Find(Wnd)) return true;
    W->Destroying = true;
    FocusLostByDestroy(W);
    if (S.Capture && (S.Capture == Wnd || IsChild(Wnd, S.Capture))) ReleaseCapture();
    SendDestroy(W);
    if (W->IsChild() && W->Parent && Find(W->Parent->Handle))
        SendMessage(W->Parent->Handle, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(W->Id)), LPARAM(Wnd));
    Unlink(W);
    CollectGarbage();
    return true;
}

bool IsWindow(HWND Wnd) { return Find(Wnd) != nullptr; }

// ---- tree ------------------------------------------------------------------------------
HWND GetParent(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W) return nullptr;
    if (W->IsChild()) return W->Parent->Handle;
    return W->Owner ? W->Owner->Handle : nullptr;
}

HWND GetDesktopWindow() { return nullptr; }

bool IsChild(HWND Parent, HWND Wnd)
{
    TWindow* W = Find(Wnd);
    while (W && W->IsChild()) {
        W = W->Parent;
        if (W->Handle == Parent) return true;
    }
    return false;
}

static std::vector<TWindow*>& SiblingList(TWindow* W)
{
    return W->IsChild() ? W->Parent->Children : State().Tops;
}

HWND GetWindow(HWND Wnd, UINT Cmd)
{
    TWindow* W = Find(Wnd);
    if (!W) return nullptr;
    if (Cmd == GW_CHILD) return W->Children.empty() ? nullptr : W->Children.front()->Handle;
    if (Cmd == GW_OWNER) return W->Owner ? W->Owner->Handle : nullptr;
    auto& L = SiblingList(W);
    auto It = std::find(L.begin(), L.end(), W);
    switch (Cmd) {
    case GW_HWNDFIRST: return L.front()->Handle;
    case GW_HWNDLAST: return L.back()->Handle;
    case GW_HWNDNEXT: return (It + 1) != L.end() ? (*(It + 1))->Handle : nullptr;
    case GW_HWNDPREV: return It != L.begin() ? (*(It - 1))->Handle : nullptr;
    }
    return nullptr;
}

HWND GetTopWindow(HWND Wnd)
{
    if (!Wnd) return State().Tops.empty() ? nullptr : State().Tops.front()->Handle;
    return GetWindow(Wnd, GW_CHILD);
}

HWND GetAncestor(HWND Wnd, UINT Flags)
{
    TWindow* W = Find(Wnd);
    if (!W) return nullptr;
    if (Flags == GA_PARENT) return W->IsChild() ? W->Parent->Handle : nullptr;
    TWindow* T = TopOf(W);
    if (Flags == GA_ROOTOWNER)
        while (T->Owner) T = T->Owner;
    return T->Handle;
}

static bool EnumRec(TWindow* W, const std::function<bool(HWND)>& Fn)
{
    auto Kids = W->Children;
    for (TWindow* C : Kids) {
        if (!Find(C->Handle)) continue;
        if (!Fn(C->Handle)) return false;
        if (Find(C->Handle) && !EnumRec(C, Fn)) return false;
    }
    return true;
}

bool EnumChildWindows(HWND Parent, const std::function<bool(HWND)>& Fn)
{
    TWindow* W = Find(Parent);
    return W ? EnumRec(W, Fn) : false;
}

bool EnumWindows(const std::function<bool(HWND)>& Fn)
{
    auto Tops = State().Tops;
    for (TWindow* T : Tops)
        if (Find(T->Handle) && !Fn(T->Handle)) return false;
    return true;
}

HWND SetParent(HWND Child, HWND NewParent)
{
    TWindow* W = Find(Child);
    TWindow* P = Find(NewParent);
    if (!W || (NewParent && !P) || W == P || (P && IsChild(Child, NewParent))) return nullptr;
    HWND Old = GetParent(Child);
    bool WasVisible = W->Visible() && IsVisibleChain(W);
    TRect OldRect = W->Rect;
    if (WasVisible && W->IsChild()) OnWindowMovedOrSized(W, OldRect, false);  // expose old place
    auto& S = State();
    if (W->IsChild()) {
        auto& V = W->Parent->Children;
        V.erase(std::remove(V.begin(), V.end(), W), V.end());
    } else {
        S.Tops.erase(std::remove(S.Tops.begin(), S.Tops.end(), W), S.Tops.end());
        if (W->Native) Backend().DestroyTop(W);
        W->Native.reset();
    }
    if (P && (W->Style & WS_CHILD)) {
        W->Parent = P;
        W->Owner = nullptr;
        P->Children.insert(P->Children.begin(), W);
    } else {
        W->Parent = nullptr;
        W->Style &= ~WS_CHILD;
        W->Owner = P ? TopOf(P) : nullptr;
        InsertTop(W);
        Backend().CreateTop(W);
        OnTopLevelCreated(W);
        if (W->Visible()) Backend().ShowTop(W, true, false);
    }
    if (W->Visible()) InvalidateWindowArea(W, {0, 0, W->Width(), W->Height()}, true, true);
    UpdateNativeChildren(W);
    return Old;
}

// ---- native child windows ------------------------------------------------------------------------
namespace winimpl {
int NativeChildCount = 0;

static void CollectNative(TWindow* W, std::vector<HWND>& Out)
{
    if (W->NativeChild) Out.push_back(W->Handle);
    for (TWindow* C : W->Children) CollectNative(C, Out);
}

std::vector<HWND> NativeChildrenOf(TWindow* W)
{
    std::vector<HWND> R;
    if (NativeChildCount) CollectNative(W, R);
    return R;
}

void UpdateNativeChildren(TWindow* W)
{
    for (HWND H : NativeChildrenOf(W))
        if (TWindow* C = Find(H)) Backend().UpdateNativeChild(C);
}
}  // namespace winimpl

uintptr_t CreateNativeWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsChild()) return 0;
    if (!W->NativeChild && Backend().CreateNativeChild(W)) ++NativeChildCount;
    return W->NativeChild;
}

uintptr_t GetNativeWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    return W->IsTop() ? Backend().NativeTopId(W) : W->NativeChild;
}

// ---- text and properties ----------------------------------------------------------------
bool SetWindowText(HWND Wnd, const String& Text)
{
    if (!Find(Wnd)) return false;
    return SendMessage(Wnd, WM_SETTEXT, 0, LPARAM(Text.c_str())) != 0;
}

String GetWindowText(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W) return String();
    String Buf;
    LRESULT Len = SendMessage(Wnd, WM_GETTEXTLENGTH, 0, 0);
    if (Len < 0) return String();
    Buf.resize(size_t(Len) + 1);
    LRESULT N = SendMessage(Wnd, WM_GETTEXT, WPARAM(Buf.size()), LPARAM(Buf.data()));
    Buf.resize(size_t(std::clamp<LRESULT>(N, 0, Len)));
    return Buf;
}

int GetWindowTextLength(HWND Wnd) { return Find(Wnd) ? int(SendMessage(Wnd, WM_GETTEXTLENGTH, 0, 0)) : 0; }

bool SetProp(HWND Wnd, const String& Name, intptr_t Value)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    W->Props[Name] = Value;
    return true;
}

intptr_t GetProp(HWND Wnd, const String& Name)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    auto It = W->Props.find(Name);
    return It == W->Props.end() ? 0 : It->second;
}

intptr_t RemoveProp(HWND Wnd, const String& Name)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    auto It = W->Props.find(Name);
    if (It == W->Props.end()) return 0;
    intptr_t V = It->second;
    W->Props.erase(It);
    return V;
}

// ---- styles ---------------------------------------------------------------------------------
LONG_PTR GetWindowLong(HWND Wnd, int Index)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    switch (Index) {
    case GWL_STYLE: return LONG_PTR(W->Style);
    case GWL_EXSTYLE: return LONG_PTR(W->ExStyle);
    case GWL_WNDPROC: return LONG_PTR(W->Proc);
    case GWL_ID: return W->Id;
    case GWL_USERDATA: return W->UserData;
    case GWL_HWNDPARENT: return LONG_PTR(W->Owner ? W->Owner->Handle : nullptr);
    }
    return 0;
}

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    LONG_PTR Old = GetWindowLong(Wnd, Index);
    switch (Index) {
    case GWL_STYLE: {
        DWORD NewStyle = DWORD(Value);
        DWORD Changed = (W->Style ^ NewStyle);
        // visibility and the child bit are not switched through the style word
        W->Style = (NewStyle & ~(WS_VISIBLE | WS_CHILD)) | (W->Style & (WS_VISIBLE | WS_CHILD));
        if (Changed & WS_DISABLED) EnableWindow(Wnd, !(NewStyle & WS_DISABLED));
        if (W->IsTop() && W->Native && (Changed & (WS_CAPTION | WS_THICKFRAME | WS_POPUP)))
            Backend().SetTopStyle(W);
        break;
    }
    case GWL_EXSTYLE: {
        DWORD Changed = W->ExStyle ^ DWORD(Value);
        W->ExStyle = DWORD(Value);
        if (W->IsTop() && W->Native) {
            if (Changed & WS_EX_LAYERED) {
                if (!(W->ExStyle & WS_EX_LAYERED)) {
                    W->LayeredAlpha = 255;
                    W->LayeredFlags = 0;
                    W->PerPixelLayered = false;
                }
                Backend().SetTopOpacity(W);
            }
            if (Changed & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW)) Backend().SetTopStyle(W);
            if (Changed & WS_EX_TOPMOST) {
                InsertTop(W);
                Backend().RestackTop(W);
            }
        }
        break;
    }
    case GWL_WNDPROC: W->Proc = Value ? WNDPROC(Value) : DefWindowProcInstance(); break;
    case GWL_ID: W->Id = Value; break;
    case GWL_USERDATA: W->UserData = Value; break;
    case GWL_HWNDPARENT: {
        TWindow* O = Find(HWND(Value));
        if (W->IsTop()) W->Owner = O ? TopOf(O) : nullptr;
        if (W->Native) Backend().SetTopStyle(W);
        break;
    }
    }
    return Old;
}

// ---- geometry ----------------------------------------------------------------------------------
bool GetWindowRect(HWND Wnd, TRect& R)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    TPoint O = ScreenOrigin(W);
    R = Bounds(O.X, O.Y, W->Width(), W->Height());
    return true;
}

bool GetClientRect(HWND Wnd, TRect& R)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    R = {0, 0, W->Client.Width(), W->Client.Height()};
    return true;
}

TRect GetWindowRect(HWND Wnd)
{
    TRect R;
    GetWindowRect(Wnd, R);
    return R;
}

TRect GetClientRect(HWND Wnd)
{
    TRect R;
    GetClientRect(Wnd, R);
    return R;
}

bool ClientToScreen(HWND Wnd, TPoint& P)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    TPoint O = ClientScreenOrigin(W);
    P.X += O.X;
    P.Y += O.Y;
    return true;
}

bool ScreenToClient(HWND Wnd, TPoint& P)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    TPoint O = ClientScreenOrigin(W);
    P.X -= O.X;
    P.Y -= O.Y;
    return true;
}

int MapWindowPoints(HWND From, HWND To, TPoint* Points, int Count)
{
    TPoint A, B;
    if (From) { TWindow* W = Find(From); if (!W) return 0; A = ClientScreenOrigin(W); }
    if (To) { TWindow* W = Find(To); if (!W) return 0; B = ClientScreenOrigin(W); }
    int Dx = A.X - B.X, Dy = A.Y - B.Y;
    for (int I = 0; I < Count; ++I) {
        Points[I].X += Dx;
        Points[I].Y += Dy;
    }
    return MAKELPARAM(Dx, Dy);
}

namespace winimpl {

bool PointInShape(TWindow* W, TPoint WP)
{
    if (WP.X < 0 || WP.Y < 0 || WP.X >= W->Width() || WP.Y >= W->Height()) return false;
    return !W->Shape || PtInRegion(W->Shape, WP.X, WP.Y);
}

// The deepest visible window under the screen point inside top-level T (disabled
// windows included when WithDisabled).
TWindow* ChildAt(TWindow* W, TPoint Screen, bool WithDisabled)
{
    for (TWindow* C : W->Children) {
        if (!C->Visible() || (!WithDisabled && !C->Enabled())) continue;
        TPoint O = ScreenOrigin(C);
        TPoint WP{Screen.X - O.X, Screen.Y - O.Y};
        if (!PointInShape(C, WP)) continue;
        // only inside the parent's client area
        TPoint PC = ClientScreenOrigin(W);
        if (!TRect(PC.X, PC.Y, PC.X + W->Client.Width(), PC.Y + W->Client.Height()).Contains(Screen)) continue;
        return ChildAt(C, Screen, WithDisabled);
    }
    return W;
}

TWindow* TopAt(TPoint Screen)
{
    for (TWindow* T : State().Tops) {
        if (!T->Visible() || T->Minimized) continue;
        // a layered window marked transparent lets the mouse through to what lies below
        if ((T->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT)) continue;
        TPoint WP{Screen.X - T->Rect.Left, Screen.Y - T->Rect.Top};
        if (PointInShape(T, WP)) return T;
    }
    return nullptr;
}

}  // namespace winimpl

HWND WindowFromPoint(TPoint ScreenPoint)
{
    TWindow* T = TopAt(ScreenPoint);
    if (!T || !T->Enabled()) return T && T->Enabled() ? T->Handle : nullptr;
    return ChildAt(T, ScreenPoint, false)->Handle;
}

HWND ChildWindowFromPointEx(HWND Parent, TPoint ClientPoint, UINT Flags)
{
    TWindow* W = Find(Parent);
    if (!W) return nullptr;
    if (!TRect(0, 0, W->Client.Width(), W->Client.Height()).Contains(ClientPoint)) return nullptr;
    for (TWindow* C : W->Children) {
        if ((Flags & CWP_SKIPINVISIBLE) && !C->Visible()) continue;
        if ((Flags & CWP_SKIPDISABLED) && !C->Enabled()) continue;
        if ((Flags & CWP_SKIPTRANSPARENT) && (C->ExStyle & WS_EX_TRANSPARENT)) continue;
        if (PointInShape(C, {ClientPoint.X - C->Rect.Left, ClientPoint.Y - C->Rect.Top})) return C->Handle;
    }
    return Parent;
}


bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    if (Flags & SWP_SHOWWINDOW && W->Visible()) Flags &= ~SWP_SHOWWINDOW;
    if (Flags & SWP_HIDEWINDOW && !W->Visible()) Flags &= ~SWP_HIDEWINDOW;
    WINDOWPOS Pos;
    Pos.hwnd = Wnd;
    Pos.hwndInsertAfter = InsertAfter;
    Pos.x = (Flags & SWP_NOMOVE) ? W->Rect.Left : X;
    Pos.y = (Flags & SWP_NOMOVE) ? W->Rect.Top : Y;
    Pos.cx = (Flags & SWP_NOSIZE) ? W->Width() : std::max(0, Cx);
    Pos.cy = (Flags & SWP_NOSIZE) ? W->Height() : std::max(0, Cy);
    Pos.flags = Flags;
    if (!(Flags & SWP_NOSENDCHANGING)) {
        SendMessage(Wnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&Pos));
        if (!Find(Wnd)) return false;
        Pos.cx = std::max(0, Pos.cx);
        Pos.cy = std::max(0, Pos.cy);
    }
    Flags = Pos.flags;
    TRect OldRect = W->Rect;
    TRect NewRect = Bounds(Pos.x, Pos.y, Pos.cx, Pos.cy);
    bool Moved = NewRect.TopLeft() != OldRect.TopLeft();
    bool Sized = NewRect.Width() != OldRect.Width() || NewRect.Height() != OldRect.Height();
    if (!Moved) Pos.flags |= SWP_NOMOVE;
    if (!Sized) Pos.flags |= SWP_NOSIZE;
    TRect OldClient = W->Client;
    if (Sized || (Flags & SWP_FRAMECHANGED)) {
        CalcClient(W, NewRect, &Pos);
        if (!Find(Wnd)) return false;
    }
    bool ClientChanged = W->Client != OldClient;
    bool WasShown = IsVisibleChain(W);
    W->Rect = NewRect;

    // z-order
    bool Restacked = false;
    if (!(Flags & SWP_NOZORDER)) {
        auto& L = SiblingList(W);
        if (W->IsTop()) {
            if (InsertAfter == HWND_TOPMOST) W->ExStyle |= WS_EX_TOPMOST;
            else if (InsertAfter == HWND_NOTOPMOST) W->ExStyle &= ~WS_EX_TOPMOST;
        }
        L.erase(std::remove(L.begin(), L.end(), W), L.end());
        size_t At = 0;
        if (InsertAfter == HWND_BOTTOM) At = L.size();
        else if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST) At = 0;
        else {
            TWindow* A = Find(InsertAfter);
            auto It = std::find(L.begin(), L.end(), A);
            At = It == L.end() ? 0 : size_t(It - L.begin()) + 1;
        }
        if (W->IsTop()) {
            // topmost windows stay above the others
            size_t FirstNormal = size_t(std::find_if(L.begin(), L.end(), [](TWindow* T) {
                                            return !(T->ExStyle & WS_EX_TOPMOST); }) - L.begin());
            if (W->ExStyle & WS_EX_TOPMOST) At = std::min(At, FirstNormal);
            else At = std::max(At, FirstNormal);
        }
        L.insert(L.begin() + long(std::min(At, L.size())), W);
        Restacked = true;
    }

    if (Flags & SWP_SHOWWINDOW) W->Style |= WS_VISIBLE;
    if (Flags & SWP_HIDEWINDOW) W->Style &= ~WS_VISIBLE;
    bool NowShown = IsVisibleChain(W);

    if (W->IsTop() && W->Native) {
        if (Moved || Sized) Backend().MoveTop(W);
        if (Sized) OnTopLevelResized(W);
        if (Restacked) Backend().RestackTop(W);
        if (Flags & SWP_SHOWWINDOW) {
            if (Backend().ShowsPaintedFrames()) {
                W->ShowPending = true;  // FlushAll shows it once it has painted
                W->ShowActivate = W->ShowActivate || !(Flags & SWP_NOACTIVATE);
            } else {
                Backend().ShowTop(W, true, !(Flags & SWP_NOACTIVATE));
            }
        }
        if (Flags & SWP_HIDEWINDOW) {
            W->ShowPending = W->ShowActivate = false;
            Backend().ShowTop(W, false, false);
        }
    }
    if (W->IsChild()) {
        if (WasShown && (Moved || Sized || !NowShown || Restacked)) OnWindowMovedOrSized(W, OldRect, Sized);
        if (NowShown && (!WasShown || Moved || Sized || Restacked))
            InvalidateWindowArea(W, {0, 0, W->Width(), W->Height()}, true, true);
    } else if (NowShown && (!WasShown || Sized || ClientChanged || (Flags & SWP_FRAMECHANGED))) {
        InvalidateWindowArea(W, {0, 0, W->Width(), W->Height()}, true, true);
    }
    if (!NowShown && WasShown) OnWindowHiddenOrDisabled(W);
    if (W->IsChild()) UpdateNativeChildren(W);
    if ((Flags & SWP_FRAMECHANGED) && NowShown) W->NCInvalid = true;

    if (W->IsTop() && (Flags & SWP_HIDEWINDOW)) DeactivateIfActive(W);

    SendMessage(Wnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&Pos));
    if (!Find(Wnd)) return true;
    if (W->IsTop() && (Flags & SWP_SHOWWINDOW) && !(Flags & SWP_NOACTIVATE) && !(W->ExStyle & WS_EX_NOACTIVATE))
        ActivateWindow(W, WA_ACTIVE, false);
    return true;
}

bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint)
{
    return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND Wnd) { return SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

bool ShowWindow(HWND Wnd, int Cmd)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    bool Was = W->Visible();
    switch (Cmd) {
    case SW_HIDE:
        if (!Was) return false;
        SendMessage(Wnd, WM_SHOWWINDOW, 0, 0);
        if (!Find(Wnd)) return Was;
        SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return Was;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (W->IsTop()) {
            W->Minimized = true;
            W->Style |= WS_MINIMIZE;
            if (!Was) {
                SendMessage(Wnd, WM_SHOWWINDOW, 1, 0);
                W->Style |= WS_VISIBLE;
            }
            if (W->Native) Backend().IconifyTop(W, true);
            DeactivateIfActive(W);
            SendMessage(Wnd, WM_SIZE, SIZE_MINIMIZED, 0);
        }
        return Was;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWMAXIMIZED: {
        bool WasMin = W->Minimized;
        if (W->Minimized && (Cmd == SW_RESTORE || Cmd == SW_SHOWNORMAL)) {
            W->Minimized = false;
            W->Style &= ~WS_MINIMIZE;
            if (W->Native) Backend().IconifyTop(W, false);
        }
        bool NoActivate = Cmd == SW_SHOWNA || Cmd == SW_SHOWNOACTIVATE || (W->ExStyle & WS_EX_NOACTIVATE) ||
                          W->IsChild();
        if (!Was) {
            SendMessage(Wnd, WM_SHOWWINDOW, 1, 0);
            if (!Find(Wnd)) return Was;
            SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | (W->IsChild() ? SWP_NOZORDER : 0) |
                             (NoActivate ? SWP_NOACTIVATE : 0));
        } else if (WasMin) {
            SendMessage(Wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(W->Client.Width(), W->Client.Height()));
            if (Find(Wnd) && !NoActivate) ActivateWindow(W, WA_ACTIVE, false);
        } else if (W->IsTop() && !NoActivate && State().Active != Wnd) {
            ActivateWindow(W, WA_ACTIVE, false);
        }
        return Was;
    }
    }
    return Was;
}

bool IsWindowVisible(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    return W && IsVisibleChain(W);
}

bool IsIconic(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    return W && W->Minimized;
}

bool IsZoomed(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    return W && W->Maximized;
}

bool EnableWindow(HWND Wnd, bool Enable)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    bool WasDisabled = !W->Enabled();
    if (WasDisabled == !Enable) return WasDisabled;
    if (Enable) W->Style &= ~WS_DISABLED;
    else {
        W->Style |= WS_DISABLED;
        auto& S = State();
        if (S.Capture && (S.Capture == Wnd || IsChild(Wnd, S.Capture))) {
            SendMessage(Wnd, WM_CANCELMODE, 0, 0);
            if (S.Capture) ReleaseCapture();
        }
        if (S.Focus && (S.Focus == Wnd || IsChild(Wnd, S.Focus))) SetFocus(nullptr);
        OnWindowHiddenOrDisabled(W);
    }
    if (Find(Wnd)) SendMessage(Wnd, WM_ENABLE, Enable ? 1 : 0, 0);
    return WasDisabled;
}

bool IsWindowEnabled(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    return W && W->Enabled();
}

DWORD GetVersion() { return 0x0A280105; }  // 5.1, build 2600
