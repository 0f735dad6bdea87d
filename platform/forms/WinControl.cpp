// TWinControl: the window, children and their alignment, focus and tab order,
// keys and dialog keys, painting of the window and its windowless children.
#include <algorithm>
#include <map>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

namespace {
TWinControl* CreationControl = nullptr;
std::map<HWND, TWinControl*>& HandleMap()
{
    static std::map<HWND, TWinControl*> M;
    return M;
}

// Every control class gets a window class whose procedure hands the window to the
// control being created, at the window's very first message.
LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    TWinControl* C = CreationControl;
    if (!C) return DefWindowProc(Wnd, Msg, W, L);
    CreationControl = nullptr;
    C->AttachHandle(Wnd);
    return CallWindowProc(WNDPROC(GetWindowLong(Wnd, GWL_WNDPROC)), Wnd, Msg, W, L);
}
}  // namespace

TWinControl* TWinControl::FindControl(HWND Wnd)
{
    auto It = HandleMap().find(Wnd);
    return It == HandleMap().end() ? nullptr : It->second;
}

void TWinControl::AttachHandle(HWND Wnd)
{
    FHandle = Wnd;
    HandleMap()[Wnd] = this;
    if (!FObjectInstance) FObjectInstance = MakeObjectInstance([this](TMessage& M) { MainWndProc(M); });
    SetWindowLong(Wnd, GWL_WNDPROC, LONG_PTR(FObjectInstance));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
    FColor = clBtnFace;
    FParentColor = false;
}

TWinControl::~TWinControl()
{
    Destroying();
    if (FParent) FParent->RemoveControl(this);
    // children without an owner of their own go with their parent
    while (!FControls.empty() || !FWinControls.empty()) {
        TControl* C = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
        RemoveControl(C);
        if (!C->Owner()) delete C;
    }
    if (FHandle) DestroyHandle();
    if (FObjectInstance) FreeObjectInstance(FObjectInstance);
}

// ---- the window -------------------------------------------------------------------------------
HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    if (!FHandle) CreateHandle();
}

void TWinControl::SetParentWindow(HWND V)
{
    if (FParent || FParentWindow == V) return;
    FParentWindow = V;
    if (FHandle) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& P)
{
    P.Caption = FText;
    P.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FTabStop) P.Style |= WS_TABSTOP;
    if (!FEnabled) P.Style |= WS_DISABLED;
    P.X = FLeft;
    P.Y = FTop;
    P.Width = FWidth;
    P.Height = FHeight;
    P.WndParent = FParent ? FParent->Handle() : FParentWindow;
    P.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    P.WinClassName = ClassName();
}

void TWinControl::CreateWnd()
{
    TCreateParams P;
    CreateParams(P);
    if (!P.WndParent && (P.Style & WS_CHILD)) throw EInvalidOperation(Format("Control '%s' has no parent window", Name()));
    WNDCLASS Existing;
    if (!GetClassInfo(P.WinClassName, Existing)) {
        P.WindowClass.lpszClassName = P.WinClassName;
        P.WindowClass.lpfnWndProc = MakeProcInstance(&InitWndProc);
        RegisterClass(P.WindowClass);
    }
    FDefWndProc = DefWindowProcInstance();
    CreateWindowHandle(P);
    if (!FHandle) throw EInvalidOperation(Format("Error creating window of %s", ClassName()));
    Perform(WM_SETFONT, WPARAM(FFont->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& P)
{
    CreationControl = this;
    HWND H = CreateWindowEx(P.ExStyle, P.WinClassName, P.Caption, P.Style, P.X, P.Y, P.Width, P.Height, P.WndParent, 0,
                            P.Param);
    CreationControl = nullptr;
    if (!H) FHandle = nullptr;
}

void TWinControl::CreateHandle()
{
    if (FHandle) return;
    CreateWnd();
    // z-order of siblings follows the control list: later means in front
    UpdateBounds();
    for (TWinControl* C : FWinControls) C->HandleNeeded();
    if (FVisible && FParent && FHandle)
        SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (FAlignLevel == 0) Realign();
}

void TWinControl::DestroyWnd()
{
    String T = GetText();
    FText = T;
    FreeDeviceContexts(FHandle);
    DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    FControlState.Include(csDestroyingHandle);
    for (TWinControl* C : FWinControls) C->DestroyHandle();
    DestroyWnd();
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    // the focus, on this window or one inside it, comes back to the same control
    HWND F = GetFocus();
    TWinControl* FocusControl = F && (F == FHandle || IsChild(FHandle, F)) ? FindControl(F) : nullptr;
    DestroyHandle();
    HandleNeeded();
    if (FocusControl && FocusControl->CanFocus()) ::SetFocus(FocusControl->Handle());
}

void TWinControl::WMNCDestroy(TMessage& M)
{
    DefaultHandler(M);
    HandleMap().erase(FHandle);
    FHandle = nullptr;
    FShowing = false;
}

// ---- children ----------------------------------------------------------------------------------
TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount()) throw EInvalidOperation("List index out of bounds");
    if (size_t(Index) < FControls.size()) return FControls[size_t(Index)];
    return FWinControls[size_t(Index) - FControls.size()];
}

int TWinControl::ControlIndex(TControl* C) const
{
    for (int I = 0; I < ControlCount(); ++I)
        if (Controls(I) == C) return I;
    return -1;
}

bool TWinControl::ContainsControl(TControl* C) const
{
    while (C && C != this) C = C->Parent();
    return C == this;
}

void TWinControl::InsertControl(TControl* C)
{
    C->FParent = this;
    if (auto* W = dynamic_cast<TWinControl*>(C)) {
        FWinControls.push_back(W);
        if (W->FTabStop || true) FTabList.push_back(W);
        if (FHandle) W->HandleNeeded();
    } else {
        FControls.push_back(C);
    }
    if (C->FParentFont) C->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (C->FParentColor) C->ParentColorChanged();
    if (C->FParentBiDiMode) C->ParentBiDiModeChanged();
    if (C->FParentShowHint) C->FShowHint = FShowHint;
    C->UpdateAnchorRules();
    Realign();
    C->Invalidate();
    Perform(CM_CONTROLLISTCHANGE, WPARAM(C), 1);
}

void TWinControl::RemoveControl(TControl* C)
{
    if (C->FParent != this) return;
    if (Application) Application->ControlRemoved(C);
    if (TCustomForm* F = GetParentForm(this)) F->ControlRemoved(C);
    C->Invalidate();
    if (auto* W = dynamic_cast<TWinControl*>(C)) {
        if (W->FHandle) W->DestroyHandle();
        FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), W), FWinControls.end());
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), W), FTabList.end());
    } else {
        FControls.erase(std::remove(FControls.begin(), FControls.end(), C), FControls.end());
    }
    C->FParent = nullptr;
    if (!FComponentState.Contains(csDestroying)) Realign();
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const
{
    auto Hit = [&](TControl* C) {
        if (!C->Visible() || (!AllowDisabled && !C->Enabled())) return false;
        TPoint P{Pos.X - C->Left(), Pos.Y - C->Top()};
        if (!TRect(0, 0, C->Width(), C->Height()).Contains(P)) return false;
        return C->Perform(CM_HITTEST, 0, PointToLParam(P)) != 0;
    };
    if (AllowWinControls)
        for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
            if (Hit(*It)) return *It;
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
        if (Hit(*It)) return *It;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& M)
{
    for (int I = 0; I < ControlCount(); ++I) {
        Controls(I)->WindowProc(M);
        if (M.Result) return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage M;
    M.Msg = Msg;
    Broadcast(M);
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign()
{
    if (--FAlignLevel == 0) Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || FInAlign || FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying))
        return;
    TRect R = ClientRect();
    AlignControls(nullptr, R);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& Rect)
{
    FInAlign = true;
    AdjustClientRect(Rect);
    TRect R = Rect;
    auto Place = [](TControl* C, int L, int T, int W, int H) {
        C->FInSetBounds = true;
        C->SetBounds(L, T, std::max(0, W), std::max(0, H));
        C->FInSetBounds = false;
    };
    auto All = [&](TAlign A) {
        std::vector<TControl*> L;
        for (int I = 0; I < ControlCount(); ++I)
            if (Controls(I)->Visible() && Controls(I)->FAlign == A) L.push_back(Controls(I));
        return L;
    };
    for (TControl* C : All(alTop)) {
        Place(C, R.Left, R.Top, R.Width(), C->Height());
        R.Top += C->Height();
    }
    for (TControl* C : All(alBottom)) {
        Place(C, R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
        R.Bottom -= C->Height();
    }
    for (TControl* C : All(alLeft)) {
        Place(C, R.Left, R.Top, C->Width(), R.Height());
        R.Left += C->Width();
    }
    for (TControl* C : All(alRight)) {
        Place(C, R.Right - C->Width(), R.Top, C->Width(), R.Height());
        R.Right -= C->Width();
    }
    for (TControl* C : All(alClient)) Place(C, R.Left, R.Top, R.Width(), R.Height());
    // anchored controls keep their distances to the edges they are anchored to
    TRect Cl = ClientRect();
    for (TControl* C : All(alNone)) {
        if (!C->FAnchorValid) continue;
        TRect B = C->FAnchorBounds;
        TSize P0 = C->FAnchorParentSize;
        int L = B.Left, W = B.Width(), T = B.Top, H = B.Height();
        bool AL = C->FAnchors.Contains(akLeft), AR = C->FAnchors.Contains(akRight);
        bool AT = C->FAnchors.Contains(akTop), AB = C->FAnchors.Contains(akBottom);
        int Dw = Cl.Width() - P0.cx, Dh = Cl.Height() - P0.cy;
        if (AL && AR) W += Dw;
        else if (AR) L += Dw;
        else if (!AL) L += Dw / 2;
        if (AT && AB) H += Dh;
        else if (AB) T += Dh;
        else if (!AT) T += Dh / 2;
        if (TRect(L, T, L + W, T + H) != C->BoundsRect()) {
            TSize KeepP = C->FAnchorParentSize;
            TRect KeepB = C->FAnchorBounds;
            Place(C, L, T, W, H);
            C->FAnchorParentSize = KeepP;
            C->FAnchorBounds = KeepB;
            C->FAnchorValid = true;
        }
    }
    FInAlign = false;
    if (FAutoSize) AdjustSize();
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (ControlCount() == 0) return false;
    int R = 0, B = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (!C->Visible()) continue;
        R = std::max(R, C->Left() + C->Width());
        B = std::max(B, C->Top() + C->Height());
    }
    TRect Cl = ClientRect();
    NewWidth = FWidth - Cl.Width() + R;
    NewHeight = FHeight - Cl.Height() + B;
    return true;
}

void TWinControl::ScrollBy(int Dx, int Dy)
{
    for (TControl* C : FControls) {
        C->FLeft += Dx;
        C->FTop += Dy;
    }
    if (FHandle) {
        ScrollWindow(FHandle, Dx, Dy, nullptr, nullptr);
        for (TWinControl* C : FWinControls) C->UpdateBounds();
    } else {
        for (TWinControl* C : FWinControls) C->SetBounds(C->Left() + Dx, C->Top() + Dy, C->Width(), C->Height());
    }
    // scrolled children keep their new places when the parent realigns
    for (int I = 0; I < ControlCount(); ++I) Controls(I)->UpdateAnchorRules();
}

// ---- geometry ------------------------------------------------------------------------------------
TRect TWinControl::ClientRect() const
{
    if (FHandle) return GetClientRect(FHandle);
    return {0, 0, FWidth, FHeight};
}

TPoint TWinControl::ClientOrigin() const
{
    if (FHandle) {
        TPoint P{0, 0};
        ::ClientToScreen(FHandle, P);
        return P;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ApplyConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        FLeft = ALeft;
        FTop = ATop;
        FWidth = AWidth;
        FHeight = AHeight;
        if (Sized) {
            Realign();
            Resize();
        }
    }
    if (!FInSetBounds && (!FParent || !FParent->FInAlign)) UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::UpdateBounds()
{
    if (!FHandle) return;
    TRect R = GetWindowRect(FHandle);
    if (HWND P = GetParent(FHandle); P && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) {
        TPoint O{R.Left, R.Top};
        ::ScreenToClient(P, O);
        R = Bounds(O.X, O.Y, R.Width(), R.Height());
    }
    bool Sized = R.Width() != FWidth || R.Height() != FHeight;
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
    if (Sized) {
        Realign();
        Resize();
    }
}

void TWinControl::BringToFront()
{
    if (FParent) {
        auto& L = FParent->FWinControls;
        L.erase(std::remove(L.begin(), L.end(), this), L.end());
        L.push_back(this);
    }
    if (FHandle) SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack()
{
    if (FParent) {
        auto& L = FParent->FWinControls;
        L.erase(std::remove(L.begin(), L.end(), this), L.end());
        L.insert(L.begin(), this);
    }
    if (FHandle) SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- painting ---------------------------------------------------------------------------------------
void TWinControl::Invalidate()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC DC)
{
    TMessage M;
    M.Msg = WM_PAINT;
    M.WParam = WPARAM(DC);
    DefaultHandler(M);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    size_t I = 0;
    if (First) {
        auto It = std::find(FControls.begin(), FControls.end(), First);
        if (It == FControls.end()) return;
        I = size_t(It - FControls.begin());
    }
    for (; I < FControls.size(); ++I) {
        TControl* C = FControls[I];
        if (!C->Visible() || C->Width() <= 0 || C->Height() <= 0) continue;
        TRect Clip;
        GetClipBox(DC, &Clip);
        TRect B = C->BoundsRect();
        if (Clip.Right <= B.Left || Clip.Left >= B.Right || Clip.Bottom <= B.Top || Clip.Top >= B.Bottom) continue;
        int Saved = SaveDC(DC);
        TPoint Org;
        GetViewportOrgEx(DC, &Org);
        SetViewportOrgEx(DC, Org.X + B.Left, Org.Y + B.Top, nullptr);
        IntersectClipRect(DC, 0, 0, B.Width(), B.Height());
        C->Perform(WM_PAINT, WPARAM(DC), 0);
        RestoreDC(DC, Saved);
    }
}

void TWinControl::PaintHandler(TMessage& M)
{
    HDC DC = reinterpret_cast<HDC>(M.WParam);
    PAINTSTRUCT PS;
    if (!DC) DC = BeginPaint(FHandle, &PS);
    if (DC) {
        PaintWindow(DC);
        PaintControls(DC, nullptr);
    }
    if (!M.WParam && DC) EndPaint(FHandle, &PS);
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
    int Saved = SaveDC(DC);
    TPoint Org;
    GetViewportOrgEx(DC, &Org);
    SetViewportOrgEx(DC, Org.X + X, Org.Y + Y, nullptr);
    IntersectClipRect(DC, 0, 0, FWidth, FHeight);
    Perform(WM_ERASEBKGND, WPARAM(DC), 0);
    Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, Saved);
    for (TWinControl* C : FWinControls)
        if (C->Visible()) C->PaintTo(DC, X + C->Left(), Y + C->Top());
}

void TWinControl::WMPaint(TMessage& M)
{
    FControlState.Include(csCustomPaint);
    PaintHandler(M);
    FControlState.Exclude(csCustomPaint);
}

void TWinControl::WMEraseBkgnd(TMessage& M)
{
    HDC DC = reinterpret_cast<HDC>(M.WParam);
    if (!DC) return;
    TRect R = ClientRect();
    HBRUSH B = CreateSolidBrush(COLORREF(ColorToRGB(FColor)));
    FillRect(DC, &R, B);
    DeleteObject(B);
    M.Result = 1;
}

// ---- the message chain --------------------------------------------------------------------------------
void TWinControl::MainWndProc(TMessage& M)
{
    struct TFreeDCs {
        ~TFreeDCs() { FreeDeviceContexts(); }
    } FreeAfter;  // DCs that canvases took while handling the message go back (and show)
    try {
        WindowProc(M);
    } catch (Exception& E) {
        if (Application) Application->HandleException(this, &E);
        else throw;
    } catch (std::exception& E) {
        Exception X(E.what());
        if (Application) Application->HandleException(this, &X);
        else throw;
    }
}

bool TWinControl::IsControlMouseMsg(TMessage& M)
{
    TControl* C = nullptr;
    TControl* Cap = Application ? Application->CaptureControl() : nullptr;
    TWMMouse& W = MessageAs<TWMMouse>(M);
    if (Cap && Cap->Parent() == this) C = Cap;
    else if (!Cap) C = ControlAtPos(W.Pos(), false);
    if (!C || C->HasWindow()) return false;
    TMessage Copy = M;
    Copy.LParam = MAKELPARAM(W.XPos() - C->Left(), W.YPos() - C->Top());
    C->Perform(M.Msg, Copy.WParam, Copy.LParam);
    M.Result = 1;
    return true;
}

void TWinControl::WndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFOCUS: {
        // the window hears of its focus first, then the form's bookkeeping runs
        TControl::WndProc(M);
        TCustomForm* F = GetParentForm(this);
        if (F && F != this) F->SetFocusedControl(this);
        return;
    }
    case WM_KILLFOCUS:
        if (FComponentState.Contains(csDestroying)) return;
        break;
    case WM_NCHITTEST:
        break;
    default:
        if ((M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST && M.Msg != WM_MOUSEWHEEL)) {
            if (IsControlMouseMsg(M)) {
                if (Application) Application->HintMouseMessage(this, M);
                return;
            }
        } else if (M.Msg >= WM_KEYFIRST && M.Msg <= WM_KEYLAST) {
            if (FControlState.Contains(csDestroyingHandle)) return;
        }
    }
    TControl::WndProc(M);
}

void TWinControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PAINT: WMPaint(M); return;
    case WM_ERASEBKGND: WMEraseBkgnd(M); return;
    case WM_SIZE: WMSize(M); return;
    case WM_MOVE: WMMove(M); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(M); return;
    case WM_SETCURSOR: WMSetCursor(M); return;
    case WM_SETFOCUS: WMSetFocus(M); return;
    case WM_KILLFOCUS: WMKillFocus(M); return;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(M); return;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(M); return;
    case WM_CHAR: WMChar(M); return;
    case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(M); return;
    case CN_CHAR: case CN_SYSCHAR: CNChar(M); return;
    case WM_MOUSEWHEEL: WMMouseWheel(M); return;
    case WM_NCDESTROY: WMNCDestroy(M); return;
    case CM_ENTER: CMEnter(M); return;
    case CM_EXIT: CMExit(M); return;
    case CM_DIALOGKEY: CMDialogKey(M); return;
    case CM_DIALOGCHAR: CMDialogChar(M); return;
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORLISTBOX: case WM_HSCROLL: case WM_VSCROLL:
        WMCommandLike(M);
        return;
    case CM_VISIBLECHANGED:
        if (FHandle && FParent) ShowWindow(FHandle, FVisible ? SW_SHOWNA : SW_HIDE);
        return;
    case CM_ENABLEDCHANGED:
        if (FHandle) EnableWindow(FHandle, FEnabled);
        return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        if (M.Msg == CM_FONTCHANGED && FHandle) Perform(WM_SETFONT, WPARAM(FFont->Handle()), 0);
        Invalidate();
        {
            TMessage N;
            N.Msg = M.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED : CM_PARENTFONTCHANGED;
            for (int I = 0; I < ControlCount(); ++I) Controls(I)->WindowProc(N);
        }
        return;
    case CM_BIDIMODECHANGED: {
        Invalidate();
        TMessage N;
        N.Msg = CM_PARENTBIDIMODECHANGED;
        for (int I = 0; I < ControlCount(); ++I) Controls(I)->WindowProc(N);
        return;
    }
    case CM_SHOWHINTCHANGED: {
        TMessage N;
        N.Msg = CM_PARENTSHOWHINTCHANGED;
        for (int I = 0; I < ControlCount(); ++I) Controls(I)->WindowProc(N);
        return;
    }
    case CM_TEXTCHANGED: return;
    case CM_INVALIDATE:  // posted by code that wants a repaint later
        if (FHandle && M.WParam == 0) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
        return;
    case WM_GETDLGCODE: DefaultHandler(M); return;
    }
    TControl::Dispatch(M);
}

void TWinControl::DefaultHandler(TMessage& M)
{
    if (!FHandle) return;
    if (M.Msg == WM_CONTEXTMENU && FParent) {
        M.Result = FParent->Perform(M.Msg, M.WParam, M.LParam);
        if (M.Result) return;
    }
    M.Result = CallWindowProc(FDefWndProc, FHandle, M.Msg, M.WParam, M.LParam);
}

void TWinControl::WMCommandLike(TMessage& M)
{
    HWND Child = nullptr;
    if (M.Msg == WM_COMMAND || M.Msg == WM_HSCROLL || M.Msg == WM_VSCROLL || M.Msg == WM_CTLCOLOREDIT ||
        M.Msg == WM_CTLCOLORSTATIC || M.Msg == WM_CTLCOLORLISTBOX)
        Child = reinterpret_cast<HWND>(M.LParam);
    else if (M.Msg == WM_NOTIFY && M.LParam)
        Child = *reinterpret_cast<HWND*>(M.LParam);  // NMHDR starts with the sender
    else if (M.Msg == WM_DRAWITEM || M.Msg == WM_MEASUREITEM)
        Child = GetDlgItemWindow(this, int(M.WParam));
    if (TWinControl* C = FindControl(Child); C && C != this) {
        M.Result = C->Perform(CN_BASE + M.Msg, M.WParam, M.LParam);
        return;
    }
    DefaultHandler(M);
}

HWND GetDlgItemWindow(TWinControl* Parent, int Id)
{
    for (int I = 0; I < Parent->ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(Parent->Controls(I)); W && W->HandleAllocated())
            if (GetWindowLong(W->Handle(), GWL_ID) == Id) return W->Handle();
    return nullptr;
}

void TWinControl::WMSize(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
}

void TWinControl::WMMove(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
}

void TWinControl::WMWindowPosChanged(TMessage& M)
{
    DefaultHandler(M);  // sends WM_MOVE and WM_SIZE
    UpdateBounds();
}

void TWinControl::WMSetCursor(TMessage& M)
{
    if (int16_t(M.LParam & 0xFFFF) == HTCLIENT) {
        TCursor C = Screen ? Screen->Cursor() : crDefault;
        if (C == crDefault) {
            TPoint P = ScreenToClient(GetCursorPos());
            TControl* Under = ControlAtPos(P, false);
            C = Under ? Under->Cursor() : crDefault;
            if (C == crDefault) C = FCursor;
        }
        if (C != crDefault) {
            ::SetCursor(CursorHandle(C));
            M.Result = 1;
            return;
        }
    }
    DefaultHandler(M);
}

// ---- focus ---------------------------------------------------------------------------------------------
bool TWinControl::CanFocus() const
{
    TCustomForm* F = GetParentForm(const_cast<TWinControl*>(this));
    if (!F) return false;
    for (const TControl* C = this; C; C = C->Parent())
        if (!C->Visible() || !C->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    TCustomForm* F = GetParentForm(this);
    if (F) {
        F->FocusControl(this);
    } else if (FParentWindow) {
        ::SetFocus(Handle());
    } else {
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    }
}

void TWinControl::WMSetFocus(TMessage& M) { DefaultHandler(M); }

void TWinControl::WMKillFocus(TMessage& M) { DefaultHandler(M); }

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

int TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    auto& L = FParent->FTabList;
    auto It = std::find(L.begin(), L.end(), this);
    return It == L.end() ? -1 : int(It - L.begin());
}

void TWinControl::SetTabOrder(int V)
{
    if (!FParent) return;
    auto& L = FParent->FTabList;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
    V = std::clamp(V, 0, int(L.size()));
    L.insert(L.begin() + V, this);
}

void TWinControl::SetTabStop(bool V)
{
    if (FTabStop == V) return;
    FTabStop = V;
    if (FHandle) {
        LONG_PTR S = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, V ? (S | WS_TABSTOP) : (S & ~LONG_PTR(WS_TABSTOP)));
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List)
{
    for (TWinControl* C : FTabList) {
        List.push_back(C);
        C->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* Cur, bool GoForward, bool CheckTabStop, bool CheckParent)
{
    std::vector<TWinControl*> L;
    GetTabOrderList(L);
    if (L.empty()) return nullptr;
    int N = int(L.size());
    int Start = -1;
    for (int I = 0; I < N; ++I)
        if (L[size_t(I)] == Cur) Start = I;
    if (Start < 0) Start = GoForward ? N - 1 : 0;
    int I = Start;
    for (int Step = 0; Step < N; ++Step) {
        I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
        TWinControl* C = L[size_t(I)];
        if (C == Cur) break;
        // a control beyond its parent's client area is still reachable
        if ((!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this) && C->CanFocus()) return C;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* Cur, bool GoForward, bool CheckTabStop)
{
    TWinControl* C = FindNextControl(Cur, GoForward, CheckTabStop, !CheckTabStop);
    if (C) C->SetFocus();
}

// ---- keys -------------------------------------------------------------------------------------------------
void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& M)
{
    TCustomForm* F = GetParentForm(this);
    if (F && F != this && F->KeyPreview() && F->DoKeyDown(M)) return true;
    WORD Key = WORD(M.WParam);
    KeyDown(Key, KeyDataToShiftState(M.LParam));
    M.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& M)
{
    TCustomForm* F = GetParentForm(this);
    if (F && F != this && F->KeyPreview() && F->DoKeyUp(M)) return true;
    WORD Key = WORD(M.WParam);
    KeyUp(Key, KeyDataToShiftState(M.LParam));
    M.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& M)
{
    TCustomForm* F = GetParentForm(this);
    if (F && F != this && F->KeyPreview() && F->DoKeyPress(M)) return true;
    char32_t Key = char32_t(M.WParam);
    KeyPress(Key);
    M.WParam = Key;
    return Key == 0;
}

void TWinControl::WMKeyDown(TMessage& M)
{
    if (!DoKeyDown(M)) DefaultHandler(M);
}

void TWinControl::WMKeyUp(TMessage& M)
{
    if (!DoKeyUp(M)) DefaultHandler(M);
}

void TWinControl::WMChar(TMessage& M)
{
    if (!DoKeyPress(M)) DefaultHandler(M);
}

void TWinControl::CNKeyDown(TMessage& M)
{
    M.Result = 1;
    // the form's short cuts and menu come first
    TCustomForm* F = GetParentForm(this);
    if (F && F->IsShortCut(M)) return;
    if (M.Msg != CN_SYSKEYDOWN) {
        LRESULT Mask = 0;
        switch (M.WParam) {
        case VK_TAB: Mask = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_DOWN: case VK_UP: Mask = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
        }
        if (Mask && !Perform(CM_WANTSPECIALKEY, M.WParam, M.LParam) && !(Perform(WM_GETDLGCODE, 0, 0) & Mask) && F &&
            F->Perform(CM_DIALOGKEY, M.WParam, M.LParam))
            return;
    }
    M.Result = 0;
}

void TWinControl::CNChar(TMessage& M)
{
    M.Result = 0;
    if (M.Msg == CN_SYSCHAR || (M.WParam < 0x80 && GetKeyState(VK_MENU) < 0)) {
        TCustomForm* F = GetParentForm(this);
        if (F && F->Perform(CM_DIALOGCHAR, M.WParam, M.LParam)) M.Result = 1;
    }
}

void TWinControl::WMMouseWheel(TMessage& M)
{
    // the focused control and its parents see it as CM_MOUSEWHEEL; not handled, it ends here
    M.Result = 0;
    MouseWheelHandler(M);
}

void TWinControl::SetTextValue(const String& V)
{
    FText = V;
    if (FHandle) ::SetWindowText(FHandle, V);
}

String TWinControl::GetText() const
{
    if (FHandle) return ::GetWindowText(FHandle);
    return FText;
}

