// TApplication (the message loop, key and hint preprocessing, mouse enter/leave,
// exceptions), TScreen, THintWindow and the platform message box.
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/shell/ShlObj.h"
#include "platform/system/Paths.h"
#include "platform/system/Threads.h"
#include "platform/windows/Headless.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void InitForms()
{
    InstallShellResources();
    if (!Screen) Screen = new TScreen(nullptr);
    if (!Application) Application = new TApplication(nullptr);
}

void DoneForms()
{
    if (Application) {
        TApplication* A = Application;
        A->DestroyComponents();
        Application = nullptr;
        delete A;
    }
    while (Screen && Screen->FormCount()) delete Screen->Forms(0);
    delete Screen;
    Screen = nullptr;
}

// ---- TApplication ------------------------------------------------------------------------------------
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    SetMouseMoveHook([this](HWND Under, TPoint P) { MouseMoved(Under, P); });
    FHintWindowClass = [](TComponent* O) { return new THintWindow(O); };
}

TApplication::~TApplication()
{
    SetMouseMoveHook(nullptr);
    delete FHintWindow;
    if (FHandle) DeallocateHWnd(FHandle);
    if (Application == this) Application = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    // the hint window is one of our components: freed with them, it is gone for us too
    if (AOperation == opRemove && AComponent == FHintWindow) FHintWindow = nullptr;
}

HWND TApplication::Handle()
{
    if (!FHandle)
        FHandle = AllocateHWnd([this](TMessage& M) {
            if (M.Msg == WM_TIMER && M.WParam == 1) {
                KillTimer(FHandle, 1);
                HintTimerTick();
            }
        });
    return FHandle;
}

void TApplication::Initialize() {}

String TApplication::ExeName() const
{
    char Buf[4096];
    ssize_t N = readlink("/proc/self/exe", Buf, sizeof Buf - 1);
    return N > 0 ? String(Buf, size_t(N)) : String();
}

void TApplication::Run()
{
    if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
    while (!FTerminated) {
        HandleMessage();
        if (FMainForm && !FMainForm->Visible() && !FTerminated && FMainForm->HandleAllocated() &&
            !IsIconic(FMainForm->Handle()))
            FTerminated = true;
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(TMsg& Msg)
{
    if (!PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool Handled = RunMessageFilters(Msg);
    if (!Handled && OnMessage) OnMessage(Msg, Handled);
    if (Msg.message == 0) Handled = true;  // a filter or OnMessage cancelled it
    if (!Handled && !IsHintMsg(Msg) && !IsKeyMsg(Msg)) {
        TranslateMessage(Msg);
        DispatchMessage(Msg);
    }
    return true;
}

void TApplication::AddMessageFilter(const void* Owner, TMessageEvent Filter)
{
    auto P = std::make_shared<TMessageEvent>(std::move(Filter));
    for (auto& E : FMessageFilters)
        if (E.Owner == Owner) {
            E.Filter = std::move(P);
            return;
        }
    FMessageFilters.push_back({Owner, std::move(P)});
}

void TApplication::RemoveMessageFilter(const void* Owner)
{
    for (auto It = FMessageFilters.begin(); It != FMessageFilters.end(); ++It)
        if (It->Owner == Owner) {
            FMessageFilters.erase(It);
            return;
        }
}

bool TApplication::HasMessageFilter(const void* Owner) const
{
    for (const auto& E : FMessageFilters)
        if (E.Owner == Owner) return true;
    return false;
}

bool TApplication::RunMessageFilters(TMsg& Msg)
{
    if (FMessageFilters.empty()) return false;
    // A filter may add or remove filters (its own included) while it runs: walk a copy,
    // and skip an entry that has been removed meanwhile.  The copy keeps the running
    // filter's function alive.
    const std::vector<TMessageFilterEntry> Snapshot = FMessageFilters;
    for (auto It = Snapshot.rbegin(); It != Snapshot.rend(); ++It) {
        bool Present = false;
        for (const auto& E : FMessageFilters)
            if (E.Filter == It->Filter) {
                Present = true;
                break;
            }
        if (!Present) continue;
        bool Handled = false;
        (*It->Filter)(Msg, Handled);
        if (Handled || Msg.message == 0) return true;
    }
    return false;
}

void TApplication::ProcessMessages()
{
    // One turn's share of the calls from other threads, then every window message waiting:
    // a burst of calls is spread over several turns instead of holding the windows up.
    if (IsMainThread()) CheckSynchronizeTurn();
    TMsg Msg;
    while (ProcessMessage(Msg)) {
    }
    FlushWindows();
}

void TApplication::HandleMessage()
{
    if (IsMainThread()) CheckSynchronizeTurn();
    TMsg Msg;
    if (!ProcessMessage(Msg)) {
        FlushWindows();  // every message and paint handled: what they drew goes on the display
        if (OnIdle) OnIdle(this);
        if (!FTerminated) WaitMessage();
    }
}

bool TApplication::IsKeyMsg(TMsg& Msg)
{
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
    HWND Wnd = Msg.hwnd;
    TWinControl* C = TWinControl::FindControl(Wnd);
    if (!C) return false;
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN || Msg.message == WM_CHAR || Msg.message == WM_SYSCHAR)
        return SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
    return false;
}

bool TApplication::IsHintMsg(TMsg& Msg)
{
    if ((Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) || Msg.message == WM_LBUTTONDOWN ||
        Msg.message == WM_RBUTTONDOWN || Msg.message == WM_MBUTTONDOWN || Msg.message == WM_NCLBUTTONDOWN ||
        Msg.message == WM_ACTIVATE)
        if (FHintActive) CancelHint();
    return false;
}

void TApplication::Minimize()
{
    EnumWindows([](HWND H) {
        if (IsWindowVisible(H) && !(GetWindowLong(H, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) ShowWindow(H, SW_MINIMIZE);
        return true;
    });
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore()
{
    EnumWindows([](HWND H) {
        if (IsIconic(H)) ShowWindow(H, SW_RESTORE);
        return true;
    });
    if (OnRestore) OnRestore(this);
}

void TApplication::HandleException(TObject* Sender, Exception* E)
{
    if (FHandleExceptionDepth > 0) return;  // no storm of boxes
    ++FHandleExceptionDepth;
    try {
        if (OnException && E) OnException(Sender, E);
        else if (E) ShowException(E);
    } catch (...) {
    }
    --FHandleExceptionDepth;
}

void TApplication::ShowException(Exception* E)
{
    String Msg = E ? E->Message() : String("Error");
    if (!Msg.empty() && Msg.back() != '.') Msg += '.';
    MessageBox(nullptr, Msg, FTitle, MB_OK | MB_ICONHAND);
}

// ---- mouse enter/leave and capture -----------------------------------------------------------------------
TControl* FindControlAtWindow(HWND Wnd, TPoint Screen)
{
    TWinControl* W = TWinControl::FindControl(Wnd);
    if (!W) return nullptr;
    TControl* C = W->ControlAtPos(W->ScreenToClient(Screen), false);
    return C ? C : W;
}

TControl* FindDragTarget(TPoint Pos, bool)
{
    return FindControlAtWindow(WindowFromPoint(Pos), Pos);
}

void TApplication::SetMouseControl(TControl* C)
{
    if (C == FMouseControl) return;
    TControl* Old = FMouseControl;
    FMouseControl = C;
    if (Old) Old->Perform(CM_MOUSELEAVE, 0, LPARAM(Old));
    if (FMouseControl == C && C) C->Perform(CM_MOUSEENTER, 0, LPARAM(C));
    if (FHintActive && FHintControl != C) CancelHint();
}

void TApplication::MouseMoved(HWND Under, TPoint Screen)
{
    SetMouseControl(Under ? FindControlAtWindow(Under, Screen) : nullptr);
}

void TApplication::UpdateMouseControl()
{
    TPoint P = GetCursorPos();
    HWND W = WindowFromPoint(P);
    TControl* C = W ? FindControlAtWindow(W, P) : nullptr;
    if (C && !C->Showing()) C = nullptr;
    SetMouseControl(C);
}

void TApplication::ControlDestroyed(TControl* C)
{
    if (FMouseControl == C) FMouseControl = nullptr;
    if (FCaptureControl == C) FCaptureControl = nullptr;
    if (FHintControl == C) FHintControl = nullptr;
}

void TApplication::ControlRemoved(TControl* C)
{
    if (FCaptureControl == C) SetCaptureControl(nullptr);
    ControlDestroyed(C);
}

void TApplication::SetCaptureControl(TControl* C)
{
    FCaptureControl = nullptr;
    ReleaseCapture();
    if (!C) return;
    // a windowless control's parent window holds the capture for it
    TControl* W = C;
    while (W && !W->HasWindow()) W = W->Parent();
    if (W) SetCapture(static_cast<TWinControl*>(W)->Handle());
    FCaptureControl = C;
}

void TApplication::FormDestroyed(TCustomForm* F)
{
    if (FMainForm == F) FMainForm = nullptr;
    if (FMouseControl && (FMouseControl == F || F->ContainsControl(FMouseControl))) FMouseControl = nullptr;
    if (FCaptureControl && (FCaptureControl == F || F->ContainsControl(FCaptureControl))) FCaptureControl = nullptr;
    if (FHintControl && (FHintControl == F || F->ContainsControl(FHintControl))) FHintControl = nullptr;
}

// ---- hints -------------------------------------------------------------------------------------------
void TApplication::SetHintWindowClass(THintWindowClass C)
{
    FHintWindowClass = C ? std::move(C) : THintWindowClass([](TComponent* O) { return new THintWindow(O); });
    delete FHintWindow;
    FHintWindow = nullptr;
}

void TApplication::SetShowHint(bool V)
{
    FShowHint = V;
    if (!V) CancelHint();
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& M)
{
    if (M.Msg != WM_MOUSEMOVE || !FShowHint) return;
    TControl* C = FMouseControl ? FMouseControl : Control;
    if (C != FHintControl) {
        FHintControl = C;
        if (FHintActive) HideHint();
        if (C && C->ShowHint() && !C->Hint().empty())
            SetTimer(Handle(), 1, UINT(HintPause), nullptr);
    }
}

void TApplication::ActivateHint(TPoint CursorPos)
{
    TControl* C = FHintControl;
    if (!C || !C->ShowHint() || C->Hint().empty()) return;
    THintInfo Info;
    Info.HintControl = C;
    Info.CursorPos = C->ScreenToClient(CursorPos);
    Info.HintPos = {CursorPos.X, CursorPos.Y + 20};
    Info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    Info.HintColor = HintColor;
    Info.CursorRect = C->ClientRect();
    Info.HideTimeout = HintHidePause;
    String Str = C->Hint();
    size_t Bar = Str.find('|');
    if (Bar != String::npos) Str = Str.substr(0, Bar);
    Info.HintStr = Str;
    bool CanShow = true;
    if (OnShowHint) OnShowHint(Str, CanShow, Info);
    if (!CanShow || Str.empty()) return;
    if (!FHintWindow) FHintWindow = FHintWindowClass(this);
    FHintWindow->SetColor(Info.HintColor);
    TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Str, nullptr);
    R = Bounds(Info.HintPos.X, Info.HintPos.Y, R.Width(), R.Height());
    FHintWindow->ActivateHint(R, Str);
    FHintActive = true;
}

void TApplication::HideHint()
{
    if (FHintWindow && FHintWindow->HandleAllocated()) ShowWindow(FHintWindow->Handle(), SW_HIDE);
    FHintActive = false;
}

void TApplication::CancelHint()
{
    HideHint();
    if (FHandle) KillTimer(FHandle, 1);
}

void TApplication::HintTimerTick() { ActivateHint(GetCursorPos()); }

// ---- THintWindow --------------------------------------------------------------------------------------
THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    FColor = clInfoBk;
    FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& P)
{
    TCustomControl::CreateParams(P);
    P.Style = WS_POPUP | WS_BORDER;
    P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    P.WndParent = nullptr;
}

// The text is measured wrapped at MaxWidth; the window adds a one-pixel border and
// two pixels of room on the left and right, one above and below.
TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*)
{
    TSize T = MeasureText(Font(), AHint, std::max(1, MaxWidth - 6), DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return {0, 0, T.cx + 6, T.cy + 4};
}

void THintWindow::ActivateHint(TRect R, const String& AHint)
{
    SetCaption(AHint);
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FVisible = true;
    Invalidate();
}

void THintWindow::Paint()
{
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    C->Font()->Assign(Font());
    C->Font()->SetColor(clInfoText);
    C->Brush()->SetStyle(bsClear);
    TRect T{R.Left + 3, R.Top + 2, R.Right - 3, R.Bottom - 2};
    String Text = Caption();
    DrawText(C->Handle(), Text.c_str(), -1, &T, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---- TScreen --------------------------------------------------------------------------------------------
TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

void TScreen::SetCursor(TCursor V)
{
    if (FCursor == V) return;
    FCursor = V;
    ::SetCursor(CursorHandle(V == crDefault ? crArrow : V));
}

TRect TScreen::WorkAreaRect() const
{
    TRect R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

void TScreen::AddForm(TCustomForm* F) { FForms.push_back(F); }

void TScreen::RemoveForm(TCustomForm* F)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), F), FForms.end());
    if (FActiveForm == F) FActiveForm = nullptr;
    if (FActiveControl && F->ContainsControl(FActiveControl)) FActiveControl = nullptr;
}

void TScreen::FormToFront(TCustomForm* F)
{
    auto It = std::find(FForms.begin(), FForms.end(), F);
    if (It == FForms.end()) return;
    FForms.erase(It);
    FForms.insert(FForms.begin(), F);
}

void TScreen::SetActiveForm(TCustomForm* F)
{
    if (F) FormToFront(F);
    if (FActiveForm == F) return;
    FActiveForm = F;
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* C)
{
    if (FActiveControl == C) return;
    FActiveControl = C;
    if (OnActiveControlChange) OnActiveControlChange(this);
}
