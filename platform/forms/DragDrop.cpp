// Drag and drop inside the program: a control's drag from BeginDrag to its end.
//
// While a drag waits for its threshold, a message filter of the application watches the
// pointer; the pressed control keeps its capture and its own tracking meanwhile, and a
// release before the threshold is an ordinary click.  Once started, the drag holds the
// capture in a hidden window of its own, so the moves and the release reach the drag and
// not the source; the filter takes Escape.  One drag at a time, on the GUI thread.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class TDragSession {
public:
    static void Begin(TControl* Source, bool Immediate, int Threshold);
    static void Finish(bool Drop);
    static void ControlDestroyed(TControl* C);
    static bool IsSource(const TControl* C) { return Current && Current->Source == C; }
    static TDragObject* Object() { return Current && Current->Started ? Current->Obj : nullptr; }

private:
    TControl* Source = nullptr;
    TDragObject* Obj = nullptr;
    std::unique_ptr<TDragObject> OwnObj;  // the object made here when OnStartDrag gave none
    TPoint StartPos, Pos;
    int Threshold = DefaultDragThreshold;
    bool Started = false;
    TControl* Target = nullptr;
    bool Accepted = false;
    HWND Wnd = nullptr;

    static TDragSession* Current;
    // Sessions whose end is being told to their source and target: a control freed by
    // one of those handlers is forgotten there too.
    static std::vector<TDragSession*> Ending;

    static const void* FilterKey() { return &Current; }
    static void Filter(TMsg& Msg, bool& Handled);
    static LRESULT WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    static void Start(TDragSession* S);
    static void MoveTo(TDragSession* S, TPoint P);
    static bool AskTarget(TDragSession* S, TControl* T, TDragState State);
    TObject* SourceObject() const;
};

TDragSession* TDragSession::Current = nullptr;
std::vector<TDragSession*> TDragSession::Ending;

// ---- the drag objects -------------------------------------------------------------------------------
TCursor TDragObject::GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }

TCursor TDragControlObject::GetDragCursor(bool Accepted, int X, int Y)
{
    return Accepted && FControl ? FControl->DragCursor() : TDragObject::GetDragCursor(Accepted, X, Y);
}

void CancelDrag() { TDragSession::Finish(false); }

TDragObject* DragObject() { return TDragSession::Object(); }

// ---- the session -----------------------------------------------------------------------------------
TObject* TDragSession::SourceObject() const
{
    // the targets are handed the control itself unless OnStartDrag gave something else
    if (auto* C = dynamic_cast<TDragControlObject*>(Obj)) return C->Control();
    if (Obj) return Obj;
    return Source;
}

void TDragSession::Begin(TControl* Source, bool Immediate, int Threshold)
{
    if (Current || !Application || !Source || Source->DragKind() != dkDrag) return;
    auto* S = new TDragSession;
    S->Source = Source;
    S->StartPos = S->Pos = GetCursorPos();
    S->Threshold = Threshold < 0 ? DefaultDragThreshold : Threshold;
    Current = S;
    Application->AddMessageFilter(FilterKey(), [](TMsg& Msg, bool& Handled) { Filter(Msg, Handled); });
    if (Immediate) Start(S);
}

void TDragSession::Filter(TMsg& Msg, bool& Handled)
{
    TDragSession* S = Current;
    if (!S) return;
    try {
        if (S->Started) {
            if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE) {
                Handled = true;
                Finish(false);
            }
            return;
        }
        switch (Msg.message) {
        case WM_MOUSEMOVE:
            if (std::abs(Msg.pt.X - S->StartPos.X) >= S->Threshold || std::abs(Msg.pt.Y - S->StartPos.Y) >= S->Threshold) {
                // the move that starts the drag is the drag's, not the pressed control's
                Handled = true;
                Start(S);
                if (Current == S) MoveTo(S, Msg.pt);
            }
            break;
        case WM_LBUTTONUP:
            // released before the threshold: a click, which the control gets as usual
            Finish(false);
            break;
        }
    } catch (Exception& E) {
        if (Current == S) Finish(false);
        Application->HandleException(nullptr, &E);
    }
}

void TDragSession::Start(TDragSession* S)
{
    static bool Registered = false;
    if (!Registered) {
        WNDCLASS C;
        C.lpszClassName = "TDragWindow";
        C.lpfnWndProc = MakeProcInstance(&WindowProc);
        RegisterClass(C);
        Registered = true;
    }
    S->Started = true;
    // the pressed control lets go of the pointer (and stops its own tracking); the drag's
    // window takes it, so the release will not click the source
    Application->SetCaptureControl(nullptr);
    S->Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, "TDragWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (S->Wnd) SetCapture(S->Wnd);
    S->Source->FControlState.Exclude(csClicked);
    TDragObject* Obj = nullptr;
    S->Source->DoStartDrag(Obj);
    if (Current != S) return;  // cancelled by the handler
    if (!Obj) {
        S->OwnObj = std::make_unique<TDragControlObject>(S->Source);
        Obj = S->OwnObj.get();
    }
    S->Obj = Obj;
    Obj->FDragPos = S->Pos;
}

bool TDragSession::AskTarget(TDragSession* S, TControl* T, TDragState State)
{
    TPoint C = T->ScreenToClient(S->Pos);
    bool Accept = false;
    T->DragOver(S->SourceObject(), C.X, C.Y, State, Accept);
    return Accept;
}

void TDragSession::MoveTo(TDragSession* S, TPoint P)
{
    S->Pos = P;
    if (S->Obj) S->Obj->FDragPos = P;
    TControl* T = FindDragTarget(P, false);
    bool Accepted = false;
    if (T != S->Target) {
        TControl* Old = S->Target;
        S->Target = nullptr;
        S->Accepted = false;
        if (S->Obj) S->Obj->FDragTarget = nullptr;
        if (Old) {
            AskTarget(S, Old, dsDragLeave);
            if (Current != S) return;
        }
        S->Target = T;
        if (S->Obj) S->Obj->FDragTarget = T;
        if (T) Accepted = AskTarget(S, T, dsDragEnter);
    } else if (T) {
        Accepted = AskTarget(S, T, dsDragMove);
    }
    if (Current != S) return;
    S->Accepted = S->Target && Accepted;
    TPoint C = S->Target ? S->Target->ScreenToClient(P) : P;
    TCursor Cursor = S->Obj ? S->Obj->GetDragCursor(S->Accepted, C.X, C.Y) : (S->Accepted ? S->Source->DragCursor() : crNoDrop);
    SetCursor(CursorHandle(Cursor));
}

LRESULT TDragSession::WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    TDragSession* S = Current;
    if (!S || S->Wnd != Wnd) return DefWindowProc(Wnd, Msg, W, L);
    try {
        TPoint P{int16_t(LOWORD(uintptr_t(L))), int16_t(HIWORD(uintptr_t(L)))};
        switch (Msg) {
        case WM_MOUSEMOVE:
            ClientToScreen(Wnd, P);
            MoveTo(S, P);
            return 0;
        case WM_LBUTTONUP:
            ClientToScreen(Wnd, P);
            if (P != S->Pos) MoveTo(S, P);
            if (Current == S) Finish(true);
            return 0;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            // a modal loop or another window took the pointer
            Finish(false);
            return 0;
        }
    } catch (Exception& E) {
        if (Current == S) Finish(false);
        Application->HandleException(nullptr, &E);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

void TDragSession::Finish(bool Drop)
{
    TDragSession* S = Current;
    if (!S) return;
    Current = nullptr;
    std::unique_ptr<TDragSession> Hold(S);
    if (Application) Application->RemoveMessageFilter(FilterKey());
    if (HWND W = S->Wnd) {
        S->Wnd = nullptr;
        if (GetCapture() == W) ReleaseCapture();
        DestroyWindow(W);
    }
    if (!S->Started) return;  // it never began: nobody heard of it
    // the window under the pointer shows its own cursor again
    if (HWND Under = WindowFromPoint(S->Pos))
        SendMessage(Under, WM_SETCURSOR, WPARAM(Under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    else
        SetCursor(CursorHandle(crDefault));

    const bool Dropped = Drop && S->Target && S->Accepted;
    if (S->Obj) {
        S->Obj->FDropped = Dropped;
        S->Obj->FCancelling = !Drop;
    }
    TObject* Source = S->SourceObject();
    Ending.push_back(S);
    struct TPop {
        TDragSession* S;
        ~TPop() { Ending.erase(std::remove(Ending.begin(), Ending.end(), S), Ending.end()); }
    } Pop{S};
    TPoint C = S->Target ? S->Target->ScreenToClient(S->Pos) : TPoint{0, 0};
    if (Dropped) {
        S->Target->DragDrop(Source, C.X, C.Y);
    } else if (S->Target) {
        AskTarget(S, S->Target, dsDragLeave);
        S->Target = nullptr;
    }
    if (!Dropped) C = {0, 0};
    if (S->Source) S->Source->DoEndDrag(S->Target, C.X, C.Y);
}

void TDragSession::ControlDestroyed(TControl* C)
{
    auto Forget = [C](TDragSession* S) {
        if (S->Target == C) {
            S->Target = nullptr;
            S->Accepted = false;
            if (S->Obj) S->Obj->FDragTarget = nullptr;
        }
        if (S->Source == C) S->Source = nullptr;
    };
    for (TDragSession* S : Ending) Forget(S);
    if (Current && Current->Source == C) {
        // the source is gone: the drag ends without anybody to tell
        Current->Source = nullptr;
        Current->Target = nullptr;
        Current->Started = false;
        Finish(false);
    } else if (Current) {
        Forget(Current);
    }
}

// ---- the control's side ---------------------------------------------------------------------------------
void TControl::BeginDrag(bool Immediate, int Threshold) { TDragSession::Begin(this, Immediate, Threshold); }

void TControl::EndDrag(bool Drop)
{
    if (Dragging()) TDragSession::Finish(Drop);
}

bool TControl::Dragging() const { return TDragSession::IsSource(this); }

void TControl::BeginAutoDrag() { BeginDrag(false, DefaultDragThreshold); }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = bool(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void DragControlDestroyed(TControl* C) { TDragSession::ControlDestroyed(C); }
