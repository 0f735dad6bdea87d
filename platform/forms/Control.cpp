// TControl: geometry, alignment requests, anchors, constraints, looks, mouse
// messages and the message chain shared by windowed and windowless controls.
#include <algorithm>
#include <cstdlib>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState S;
    if (Keys & MK_SHIFT) S.Include(ssShift);
    if (Keys & MK_CONTROL) S.Include(ssCtrl);
    if (Keys & MK_LBUTTON) S.Include(ssLeft);
    if (Keys & MK_RBUTTON) S.Include(ssRight);
    if (Keys & MK_MBUTTON) S.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
    return S;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState S;
    if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
    if (KeyData & (LPARAM(1) << 29)) S.Include(ssAlt);
    return S;
}

TShiftState KeyboardShiftState()
{
    TShiftState S;
    if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) S.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) S.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) S.Include(ssMiddle);
    return S;
}

HCURSOR CursorHandle(TCursor C)
{
    switch (C) {
    case crIBeam: return LoadCursor(IDC_IBEAM);
    case crCross: return LoadCursor(IDC_CROSS);
    case crSizeNESW: return LoadCursor(IDC_SIZENESW);
    case crSizeNS: case crVSplit: return LoadCursor(IDC_SIZENS);
    case crSizeNWSE: return LoadCursor(IDC_SIZENWSE);
    case crSizeWE: case crHSplit: return LoadCursor(IDC_SIZEWE);
    case crUpArrow: return LoadCursor(IDC_UPARROW);
    case crHourGlass: case crSQLWait: return LoadCursor(IDC_WAIT);
    case crNo: case crNoDrop: return LoadCursor(IDC_NO);
    case crAppStart: return LoadCursor(IDC_APPSTARTING);
    case crHelp: return LoadCursor(IDC_HELP);
    case crHandPoint: return LoadCursor(IDC_HAND);
    case crSizeAll: return LoadCursor(IDC_SIZEALL);
    }
    return LoadCursor(IDC_ARROW);
}

String StripHotkey(const String& Text)
{
    String R;
    for (size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '&') {
            if (I + 1 < Text.size() && Text[I + 1] == '&') { R += '&'; ++I; }
            continue;
        }
        R += Text[I];
    }
    return R;
}

bool IsAccelChar(WORD VK, const String& Str)
{
    for (size_t I = 0; I + 1 < Str.size(); ++I) {
        if (Str[I] != '&') continue;
        if (Str[I + 1] == '&') { ++I; continue; }
        unsigned char C = (unsigned char)Str[I + 1];
        return C < 0x80 && std::toupper(C) == std::toupper(int(VK & 0xFF)) && VK < 0x100;
    }
    return false;
}

TCustomForm* GetParentForm(TControl* Control)
{
    while (Control && Control->Parent()) Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

// ---- TControl -----------------------------------------------------------------------------
TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont)
{
    WindowProc = [this](TMessage& M) { WndProc(M); };
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

// DragDrop.cpp: a freed control is forgotten by the drag going on.
void DragControlDestroyed(TControl* C);

TControl::~TControl()
{
    Destroying();
    DragControlDestroyed(this);
    if (Application) Application->ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    delete FFont;
    FFont = nullptr;
}

void TTouchManager::Assign(TPersistent* ASource)
{
    if (auto* T = dynamic_cast<TTouchManager*>(ASource)) {
        FInteractiveGestures = T->FInteractiveGestures;
        return;
    }
    TPersistent::Assign(ASource);
}

TTouchManager* TControl::Touch()
{
    if (!FTouch) FTouch = std::make_unique<TTouchManager>();
    return FTouch.get();
}

bool TControl::Showing() const
{
    if (!FVisible) return false;
    const TControl* C = this;
    while (C->FParent) {
        C = C->FParent;
        if (!C->FVisible) return false;
    }
    return C->HasWindow() && static_cast<const TWinControl*>(C)->FHandle && IsWindowVisible(static_cast<const TWinControl*>(C)->FHandle);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::ApplyConstraints(int& W, int& H)
{
    int MinW = FConstraints.MinWidth, MinH = FConstraints.MinHeight, MaxW = FConstraints.MaxWidth,
        MaxH = FConstraints.MaxHeight;
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MaxW > 0 && W > MaxW) W = MaxW;
    if (MinW > 0 && W < MinW) W = MinW;
    if (MaxH > 0 && H > MaxH) H = MaxH;
    if (MinH > 0 && H < MinH) H = MinH;
}

void TControl::ConstrainedResize(int&, int&, int&, int&) {}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ApplyConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    InvalidateControl(Visible(), false);
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FParent || !FParent->FInAlign) UpdateAnchorRules();
    Invalidate();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    RequestAlign();
    if (Sized) Resize();
}

TRect TControl::ClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(int V) { SetWidth(FWidth - ClientWidth() + V); }
void TControl::SetClientHeight(int V) { SetHeight(FHeight - ClientHeight() + V); }

TPoint TControl::ClientOrigin() const
{
    if (!FParent) return {FLeft, FTop};
    TPoint P = FParent->ClientOrigin();
    return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    TPoint O = ClientOrigin();
    return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    TPoint O = ClientOrigin();
    return {P.X - O.X, P.Y - O.Y};
}

void TControl::SetAlign(TAlign V)
{
    if (FAlign == V) return;
    TAlign Old = FAlign;
    FAlign = V;
    FAnchors = TAnchors{akLeft, akTop};
    if (Old == alNone || V == alNone) UpdateAnchorRules();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors V)
{
    FAnchors = V;
    UpdateAnchorRules();
}

void TControl::SetConstraints(const TSizeConstraints& C)
{
    FConstraints = C;
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetAutoSize(bool V)
{
    if (FAutoSize == V) return;
    FAutoSize = V;
    if (V) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return false; }

void TControl::AdjustSize()
{
    if (!FAutoSize || (FComponentState.Contains(csLoading))) return;
    int W = FWidth, H = FHeight;
    if (CanAutoSize(W, H)) SetBounds(FLeft, FTop, W, H);
}

void TControl::UpdateAnchorRules()
{
    if (!FParent) {
        FAnchorValid = false;
        return;
    }
    TRect C = FParent->ClientRect();
    FAnchorParentSize = {C.Width(), C.Height()};
    FAnchorBounds = BoundsRect();
    FAnchorValid = true;
}

void TControl::RequestAlign()
{
    if (FParent && !FParent->FInAlign) FParent->Realign();
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::SetVisible(bool V)
{
    if (FVisible == V) return;
    VisibleChanging();
    FVisible = V;
    Perform(CM_VISIBLECHANGED, V ? 1 : 0, 0);
    RequestAlign();
    if (!V && Application) Application->UpdateMouseControl();
}

void TControl::SetEnabled(bool V)
{
    if (FEnabled == V) return;
    FEnabled = V;
    Perform(CM_ENABLEDCHANGED, 0, 0);
    if (!V && Application) Application->UpdateMouseControl();
}

void TControl::SetColor(TColor V)
{
    if (FColor == V && !FParentColor) return;
    FColor = V;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool V)
{
    if (FParentColor == V) return;
    FParentColor = V;
    if (V && FParent) ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        FParentColor = true;
        Perform(CM_COLORCHANGED, 0, 0);
        FParentColor = true;
    }
}

void TControl::SetBiDiMode(TBiDiMode V)
{
    FParentBiDiMode = false;
    if (FBiDiMode == V) return;
    FBiDiMode = V;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool V)
{
    if (FParentBiDiMode == V) return;
    FParentBiDiMode = V;
    if (V) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged()
{
    if (!FParentBiDiMode || !FParent) return;
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const
{
    if (UseRightToLeftAlignment()) {
        if (Flags & DT_RIGHT) Flags &= ~UINT(DT_RIGHT);
        else if (!(Flags & DT_CENTER)) Flags |= DT_RIGHT;
    }
    return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

void TControl::SetParentFont(bool V)
{
    if (FParentFont == V) return;
    FParentFont = V;
    if (V && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetText(const String& V)
{
    if (GetText() == V) return;
    SetTextValue(V);
    Perform(CM_TEXTCHANGED, 0, 0);
}

String TControl::GetText() const { return FText; }
void TControl::SetTextValue(const String& V) { FText = V; }

void TControl::SetShowHint(bool V)
{
    FShowHint = V;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool V)
{
    FParentShowHint = V;
    if (V && FParent) FShowHint = FParent->ShowHint();
}

void TControl::SetCursor(TCursor V)
{
    if (FCursor == V) return;
    FCursor = V;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* V)
{
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = V;
    if (V) V->FreeNotification(this);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FAutoSize) AdjustSize();
    RequestAlign();
}

bool TControl::IsAccel(WORD VK, const String& Str) const { return IsAccelChar(VK, Str); }

bool TControl::MouseCapture() const { return Application && Application->CaptureControl() == this; }

void TControl::SetMouseCapture(bool V)
{
    if (!Application || MouseCapture() == V) return;
    Application->SetCaptureControl(V ? this : nullptr);
}

void TControl::SendCancelMode(TControl* Sender)
{
    TCustomForm* F = GetParentForm(this);
    if (F && F->ActiveControl()) F->ActiveControl()->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}

// ---- messages ---------------------------------------------------------------------------------
LRESULT TControl::Perform(UINT Msg, WPARAM W, LPARAM L)
{
    TMessage M;
    M.Msg = Msg;
    M.WParam = W;
    M.LParam = L;
    WindowProc(M);
    return M.Result;
}

void TControl::WndProc(TMessage& M)
{
    if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST && M.Msg != WM_MOUSEWHEEL) {
        if (Application) Application->HintMouseMessage(this, M);
        if (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) {
            if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
        } else if (M.Msg == WM_LBUTTONUP) {
            if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        }
    }
    Dispatch(M);
    // an automatic drag waits for the pressed pointer to move; the press itself has done
    // what it does (a list selects the item under it, which is then what is dragged)
    if ((M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) && FDragMode == dmAutomatic) BeginAutoDrag();
}

void TControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(M); return;
    case WM_RBUTTONDOWN: WMRButtonDown(M); return;
    case WM_MBUTTONDOWN: WMMButtonDown(M); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(M); return;
    case WM_RBUTTONDBLCLK: WMRButtonDown(M); return;
    case WM_MBUTTONDBLCLK: WMMButtonDown(M); return;
    case WM_LBUTTONUP: WMLButtonUp(M); return;
    case WM_RBUTTONUP: WMRButtonUp(M); return;
    case WM_MBUTTONUP: WMMButtonUp(M); return;
    case WM_MOUSEMOVE: WMMouseMove(M); return;
    case WM_CONTEXTMENU: WMContextMenu(M); return;
    case CM_MOUSEENTER: CMMouseEnter(M); return;
    case CM_MOUSELEAVE: CMMouseLeave(M); return;
    case CM_HITTEST: CMHitTest(M); return;
    case CM_MOUSEWHEEL: CMMouseWheel(M); return;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
        if (!HasWindow()) Invalidate();
        return;
    case CM_FONTCHANGED:
        if (!HasWindow()) Invalidate();
        return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case CM_PARENTBIDIMODECHANGED: ParentBiDiModeChanged(); return;
    case CM_BIDIMODECHANGED:
        if (!HasWindow()) Invalidate();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
        return;
    }
    DefaultHandler(M);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift)
{
    TWMMouse& W = MessageAs<TWMMouse>(M);
    MouseDown(Button, KeysToShiftState(W.Keys()) + Shift, W.XPos(), W.YPos());
}

void TControl::DoMouseUp(TMessage& M, TMouseButton Button)
{
    TWMMouse& W = MessageAs<TWMMouse>(M);
    MouseUp(Button, KeysToShiftState(W.Keys()), W.XPos(), W.YPos());
}

void TControl::WMLButtonDown(TMessage& M)
{
    SendCancelMode(this);
    DoMouseDown(M, mbLeft, {});
}

void TControl::WMRButtonDown(TMessage& M) { DoMouseDown(M, mbRight, {}); }
void TControl::WMMButtonDown(TMessage& M) { DoMouseDown(M, mbMiddle, {}); }

void TControl::WMLButtonDblClk(TMessage& M)
{
    SendCancelMode(this);
    if (FControlStyle.Contains(csDoubleClicks)) {
        DblClick();
        DoMouseDown(M, mbLeft, {ssDouble});
    } else {
        DoMouseDown(M, mbLeft, {});
    }
}

void TControl::WMLButtonUp(TMessage& M)
{
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        TWMMouse& W = MessageAs<TWMMouse>(M);
        if (ClientRect().Contains(W.Pos())) Click();
    }
    DoMouseUp(M, mbLeft);
}

void TControl::WMRButtonUp(TMessage& M)
{
    DoMouseUp(M, mbRight);
    if (!HasWindow() && FParent) {
        // a windowless control asks for its context menu itself
        TWMMouse& W = MessageAs<TWMMouse>(M);
        TPoint P = ClientToScreen(W.Pos());
        Perform(WM_CONTEXTMENU, 0, PointToLParam(P));
    } else {
        DefaultHandler(M);
    }
}

void TControl::WMMButtonUp(TMessage& M) { DoMouseUp(M, mbMiddle); }

void TControl::WMMouseMove(TMessage& M)
{
    TWMMouse& W = MessageAs<TWMMouse>(M);
    MouseMove(KeysToShiftState(W.Keys()), W.XPos(), W.YPos());
}

void TControl::WMContextMenu(TMessage& M)
{
    if (M.Result) return;
    TPoint P = LParamToPoint(M.LParam);
    if (M.LParam == -1) P = {-1, -1};
    if (DoContextPopup(P)) {
        M.Result = 1;
        return;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (P.X == -1 && P.Y == -1) P = ClientToScreen({0, 0});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(P.X, P.Y);
        M.Result = 1;
        return;
    }
    DefaultHandler(M);
}

bool TControl::DoContextPopup(TPoint MousePos)
{
    bool Handled = false;
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
    return Handled;
}

void TControl::CMMouseEnter(TMessage& M)
{
    if (M.LParam == LPARAM(this) || M.LParam == 0)
        if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& M)
{
    if (M.LParam == LPARAM(this) || M.LParam == 0)
        if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

// ---- painting -------------------------------------------------------------------------------------
void TControl::InvalidateControl(bool IsVisible, bool IsOpaque)
{
    if (!FParent || !FParent->HandleAllocated() || !IsVisible) return;
    TRect R = BoundsRect();
    InvalidateRect(FParent->FHandle, &R, !IsOpaque);
}

void TControl::Invalidate() { InvalidateControl(Visible(), FControlStyle.Contains(csOpaque)); }

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    if (!Visible() || !FParent || !FParent->HandleAllocated()) return;
    if (FControlStyle.Contains(csOpaque)) {
        // paint straight onto the parent's window
        HDC DC = GetDC(FParent->FHandle);
        FParent->PaintControls(DC, this);
        ReleaseDC(FParent->FHandle, DC);
    } else {
        Invalidate();
        Update();
    }
}

void TControl::BringToFront()
{
    if (!FParent) return;
    auto& L = FParent->FControls;
    auto It = std::find(L.begin(), L.end(), this);
    if (It == L.end()) return;
    L.erase(It);
    L.push_back(this);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent) return;
    auto& L = FParent->FControls;
    auto It = std::find(L.begin(), L.end(), this);
    if (It == L.end()) return;
    L.erase(It);
    L.insert(L.begin(), this);
    Invalidate();
}

// ---- the mouse wheel -----------------------------------------------------------------------------
void TControl::MouseWheelHandler(TMessage& M)
{
    TCustomForm* F = GetParentForm(this);
    if (F && F != this) F->MouseWheelHandler(M);
    else M.Result = Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
}

void TControl::CMMouseWheel(TMessage& M)
{
    TWMMouseWheel& W = MessageAs<TWMMouseWheel>(M);
    M.Result = 0;
    if (DoMouseWheel(KeysToShiftState(WPARAM(W.Keys())), W.WheelDelta(), {W.XPos(), W.YPos()})) M.Result = 1;
    else if (FParent) M.Result = FParent->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (Handled) return true;
    FWheelAccumulator += WheelDelta;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        bool Down = FWheelAccumulator < 0;
        FWheelAccumulator += Down ? WHEEL_DELTA : -WHEEL_DELTA;
        Handled = Down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool Handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}
