// MDI inside one top-level window: the main form (fsMDIForm) owns a client window, a
// child window of its client area that covers what its aligned controls leave; every
// fsMDIChild form is a child window of that client window, so the children are drawn
// into the main form's back buffer, clipped by it, and moved in its coordinates.  The
// main form keeps its children in creation order and which of them is active.
#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/windows/WinPaint.h"

namespace {

const char* const MDIClientClass = "MDICLIENT";

// The client window's own procedure: an application workspace coloured area; a press
// anywhere in a child (its frame, its client area or one of its controls) activates it.
LRESULT MDIClientProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (Msg == WM_PARENTNOTIFY && LOWORD(W) != WM_CREATE && LOWORD(W) != WM_DESTROY) {
        HWND C = ChildWindowFromPointEx(Wnd, TPoint(int16_t(LOWORD(uintptr_t(L))), int16_t(HIWORD(uintptr_t(L)))),
                                        CWP_SKIPINVISIBLE);
        auto* Child = C && C != Wnd ? dynamic_cast<TCustomForm*>(TWinControl::FindControl(C)) : nullptr;
        auto* Main = dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetParent(Wnd)));
        if (Child && Main && Main->ActiveMDIChild() != Child) Main->MDIActivate(Child);
        return 0;
    }
    if (Msg == WM_ERASEBKGND) {
        TRect R = GetClientRect(Wnd);
        FillRect(reinterpret_cast<HDC>(W), &R, GetSysColorBrush(COLOR_APPWORKSPACE));
        return 1;
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

void RegisterMDIClientClass()
{
    WNDCLASS C;
    if (GetClassInfo(MDIClientClass, C)) return;
    C.lpfnWndProc = MakeProcInstance(MDIClientProc);
    C.lpszClassName = MDIClientClass;
    RegisterClass(C);
}

}  // namespace

TCustomForm* TCustomForm::MDIParentForm() const
{
    if (FFormStyle != fsMDIChild || !Application) return nullptr;
    TCustomForm* M = Application->MainForm();
    if (!M || M == this || M->FFormStyle != fsMDIForm) return nullptr;
    return M;
}

void TCustomForm::CreateMDIClient()
{
    if (FClientHandle && IsWindow(FClientHandle)) return;
    RegisterMDIClientClass();
    FClientHandle = CreateWindowEx(0, MDIClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                                   0, 0, 0, FHandle);
    PlaceMDIClient();
}

TRect TCustomForm::MDIClientRect()
{
    TRect R(0, 0, ClientWidth(), ClientHeight());
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (!C->Visible()) continue;
        switch (C->Align()) {
        case alTop: R.Top = std::max(R.Top, C->Top() + C->Height()); break;
        case alBottom: R.Bottom = std::min(R.Bottom, C->Top()); break;
        case alLeft: R.Left = std::max(R.Left, C->Left() + C->Width()); break;
        case alRight: R.Right = std::min(R.Right, C->Left()); break;
        default: break;
        }
    }
    return R;
}

void TCustomForm::PlaceMDIClient()
{
    if (!FClientHandle || !IsWindow(FClientHandle)) return;
    const TRect R = MDIClientRect();
    // below the form's own controls, so that bars and scroll bars stay on top of it
    SetWindowPos(FClientHandle, HWND_BOTTOM, R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()),
                 SWP_NOACTIVATE);
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    if (FFormStyle == fsMDIForm) PlaceMDIClient();
}

void TCustomForm::DestroyWnd()
{
    if (TCustomForm* M = MDIParentForm()) M->RemoveMDIChild(this);
    if (FClientHandle) {
        // the children's windows go with the client window: they are made again on demand
        for (TCustomForm* C : std::vector<TCustomForm*>(FMDIChildren))
            if (C->HandleAllocated()) C->DestroyHandle();
        if (IsWindow(FClientHandle)) DestroyWindow(FClientHandle);
        FClientHandle = nullptr;
    }
    TWinControl::DestroyWnd();
}

void TCustomForm::AddMDIChild(TCustomForm* Child)
{
    if (std::find(FMDIChildren.begin(), FMDIChildren.end(), Child) == FMDIChildren.end()) FMDIChildren.push_back(Child);
}

void TCustomForm::RemoveMDIChild(TCustomForm* Child)
{
    auto I = std::find(FMDIChildren.begin(), FMDIChildren.end(), Child);
    if (I == FMDIChildren.end()) return;
    FMDIChildren.erase(I);
    if (FActiveMDIChild == Child) {
        FActiveMDIChild = nullptr;
        // the topmost shown child left takes over
        for (auto J = FMDIChildren.rbegin(); J != FMDIChildren.rend(); ++J)
            if ((*J)->Visible() && !(*J)->ComponentState().Contains(csDestroying)) {
                MDIActivate(*J);
                break;
            }
    }
}

void TCustomForm::MDIActivate(TCustomForm* Child)
{
    if (Child && std::find(FMDIChildren.begin(), FMDIChildren.end(), Child) == FMDIChildren.end()) return;
    TCustomForm* Old = FActiveMDIChild;
    if (Old == Child) return;
    FActiveMDIChild = Child;
    if (Old && Old->HandleAllocated()) {
        Old->FActive = false;
        SendMessage(Old->Handle(), WM_NCACTIVATE, 0, 0);
        Old->Deactivate();
    }
    if (!Child || !Child->HandleAllocated() || FActiveMDIChild != Child) return;
    SetWindowPos(Child->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Child->FActive = true;
    SendMessage(Child->Handle(), WM_NCACTIVATE, 1, 0);
    if (FActiveMDIChild != Child) return;
    Child->Activate();
    if (FActive && Child->Visible()) Child->SetWindowFocus();
}

void TCustomForm::Next()
{
    std::vector<TCustomForm*> L;
    for (TCustomForm* C : FMDIChildren)
        if (C->Visible() || C == FActiveMDIChild) L.push_back(C);
    if (L.empty()) {
        MDIActivate(nullptr);
        return;
    }
    auto I = std::find(L.begin(), L.end(), FActiveMDIChild);
    TCustomForm* N = I == L.end() || I + 1 == L.end() ? L.front() : *(I + 1);
    if (!N->Visible()) N = nullptr;
    MDIActivate(N);
}

void TCustomForm::Previous()
{
    std::vector<TCustomForm*> L;
    for (TCustomForm* C : FMDIChildren)
        if (C->Visible() || C == FActiveMDIChild) L.push_back(C);
    if (L.empty()) return;
    auto I = std::find(L.begin(), L.end(), FActiveMDIChild);
    TCustomForm* N = I == L.end() || I == L.begin() ? L.back() : *(I - 1);
    if (N->Visible()) MDIActivate(N);
}
