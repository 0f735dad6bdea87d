// The skinned combo box: selection and its events, the drop-down (a pop-up skinned list that
// follows the pointer, auto-scrolls on window timer 1 and may fade in), the keyboard of the
// fixed style with its incremental search, and the inner edit of the edit style with its
// completion from the list.  Its painting is in bsSkinBoxCtrls_ComboPaint.cpp.
#include "skin/boxes/bsSkinBoxCtrls.h"

namespace {
constexpr uintptr_t ScrollTimerId = 1;

String CharText(char32_t C) { return Utf32ToUtf8(std::u32string(1, C)); }
}  // namespace

// ---- the drop-down window ---------------------------------------------------------------------------------

TbsPopupListBox::TbsPopupListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    FVisible = false;
}

void TbsPopupListBox::CreateParams(TCreateParams& P)
{
    TbsSkinListBox::CreateParams(P);
    P.Style = WS_POPUP | WS_CLIPCHILDREN;
    P.ExStyle = WS_EX_TOOLWINDOW;
    P.WindowClass.style |= CS_SAVEBITS;
    if (OsIsXPOrLater()) P.WindowClass.style |= CS_DROPSHADOW;
    P.WndParent = nullptr;
}

void TbsPopupListBox::Dispatch(TMessage& M)
{
    if (M.Msg == WM_MOUSEACTIVATE) {
        M.Result = MA_NOACTIVATE;
        return;
    }
    TbsSkinListBox::Dispatch(M);
}

void TbsPopupListBox::Hide()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FVisible = false;
}

void TbsPopupListBox::Show(TPoint Origin)
{
    HandleNeeded();
    auto* Combo = dynamic_cast<TbsSkinCustomComboBox*>(Owner());
    const bool Layering = OsIsWin2000OrLater() && Combo;
    if (Layering) {
        const LONG_PTR Ex = GetWindowLong(Handle(), GWL_EXSTYLE);
        if (Combo->AlphaBlend() && !FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        else if (!Combo->AlphaBlend() && FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex & ~LONG_PTR(WS_EX_LAYERED));
        FOldAlphaBlend = Combo->AlphaBlend();
        if (Combo->AlphaBlend() && FOldAlphaBlendValue != Combo->AlphaBlendValue()) {
            FOldAlphaBlendValue = Combo->AlphaBlendAnimation() ? 0 : Combo->AlphaBlendValue();
            SetLayeredAlpha(Handle(), FOldAlphaBlendValue);
        }
    }
    SetWindowPos(Handle(), HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FVisible = true;
    if (!Layering || !Combo->AlphaBlendAnimation() || !Combo->AlphaBlend()) return;
    // Every pump may run a handler that closes the list or frees the combo box (and this
    // list with it): the fade stops as soon as the list's window is gone or hidden.
    const HWND Wnd = Handle();
    const int Target = Combo->AlphaBlendValue();
    const int Step = Target / 15 == 0 ? 1 : Target / 15;
    FadeSteps.clear();
    Application->ProcessMessages();
    if (!ControlStillAlive(Wnd, this) || !FVisible) return;
    int Alpha = 0;
    uint64_t Last = 0;
    while (Alpha < Target) {
        const uint64_t Now = GetTickCount64();
        if (Last == 0 || Now - Last > 5) {
            Last = Now;
            Alpha = MinOf(Alpha + Step, Target);
            SetLayeredAlpha(Wnd, uint8_t(Alpha));
            FadeSteps.push_back(uint8_t(Alpha));
        }
        Application->ProcessMessages();
        if (!ControlStillAlive(Wnd, this) || !FVisible) return;
    }
    FOldAlphaBlendValue = uint8_t(Target);
}

// ---- creation -----------------------------------------------------------------------------------------------

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    SetTabStop(true);
    FControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    Font()->SetName("Tahoma");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(13);
    SetWidth(120);
    SetHeight(20);
    FListBox = new TbsPopupListBox(this);
    TbsListBox* Inner = FListBox->ListBox;
    Inner->SetTabStop(false);
    Inner->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { ListBoxMouseMoveHandler(S, Sh, X, Y); };
    FListBoxWindowProc = Inner->WindowProc;
    Inner->WindowProc = [this](TMessage& M) { ListBoxWndProc(M); };
    FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    CalcRects();
    FSkinDataName = "combobox";
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox()
{
    if (FEdit) {
        FEdit->WindowProc = FEditWindowProc;
        TbsCustomEdit* E = FEdit;
        FEdit = nullptr;
        delete E;
    }
    TbsPopupListBox* L = FListBox;
    L->ListBox->WindowProc = FListBoxWindowProc;
    L->ListBox->OnMouseMove = nullptr;
    FListBox = nullptr;
    delete L;
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images()) FListBox->SetImages(nullptr);
}

void TbsSkinCustomComboBox::DefaultFontChanged() { Font()->Assign(FDefaultFont.get()); }

void TbsSkinCustomComboBox::Invalidate()
{
    TbsSkinCustomControl::Invalidate();
    if (FIndex != -1 && FEdit) FEdit->RePaintEdit();
}

// ---- properties -----------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value)
{
    FListBox->SetImages(Value);
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value)
{
    FListBox->SetImageIndex(Value);
    Repaint();
}

void TbsSkinCustomComboBox::SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value)
{
    FOnListBoxDrawItem = Value;
    FListBox->OnDrawItem = Value;
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value)
{
    FCharCase = Value;
    if (FEdit) FEdit->SetCharCase(Value);
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) {
        Repaint();
        if (FEdit) FEdit->SetColor(Value);
    }
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value)
{
    if (FToolButtonStyle == Value) return;
    FToolButtonStyle = Value;
    if (Value) {
        SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value)
{
    if (FStyle == Value && IsDesigning()) return;
    FStyle = Value;
    if (Value == bscbEditStyle) {
        // an existing inner edit stays: there is only ever one
        if (!FEdit) CreateEditControl();
        if (!IsDesigning()) {
            if (TabStop()) {
                SetTabStop(false);
                FEdit->SetTabStop(true);
            } else
                FEdit->SetTabStop(false);
        }
        FEdit->SetText(Text());
        if (Focused()) FEdit->SetFocus();
    } else if (FEdit) {
        FEdit->SetVisible(false);
        FEdit->WindowProc = FEditWindowProc;
        TbsCustomEdit* E = FEdit;
        FEdit = nullptr;
        delete E;
    }
    CalcRects();
    if (HandleAllocated()) RecreateWnd();
    Repaint();
}

BYTE TbsSkinCustomComboBox::InterfaceCharset() const
{
    if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->CharSet();
    return FDefaultFont->Charset();
}

TColor TbsSkinCustomComboBox::DisabledTextColor() const
{
    if (FIndex != -1 && FSD) {
        const int E = FSD->GetControlIndex("edit");
        if (E != -1)
            if (auto* R = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[size_t(E)].get()))
                return R->DisabledFontColor;
    }
    return clGrayText;
}

void TbsSkinCustomComboBox::CreateEditControl()
{
    FEdit = new TbsCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetVisible(true);
    FEdit->SetTransparentMode(false);
    FEdit->OnChange = [this](TObject* S) { EditChange(S); };
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](TMessage& M) { EditWndProc(M); };
    FEdit->OnEditCancelMode = [this](TControl* C) { EditCancelMode(C); };
    FEdit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown) OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](TObject*, char32_t& Key) {
        if (OnKeyPress) OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyUp) OnKeyUp(this, Key, Shift);
    };
    FEdit->SetCharCase(FCharCase);
    TFont* F = FEdit->Font();
    if (FIndex == -1) {
        F->SetName(Font()->Name());
        F->SetStyle(Font()->Style());
        F->SetColor(Font()->Color());
        F->SetHeight(Font()->Height());
    } else {
        F->SetStyle(FontStyle);
        F->SetColor(FontColor);
        F->SetHeight(FontHeight);
        F->SetName(FontName);
    }
    FEdit->SetTransparentMode(FIndex != -1);
    CalcRects();
    PlaceEdit();
}

void TbsSkinCustomComboBox::PlaceEdit()
{
    if (!FEdit) return;
    TBitmap M;
    M.SetSize(1, 1);
    M.Canvas()->Font()->Assign(FEdit->Font());
    TEXTMETRIC TM{};
    GetTextMetrics(M.Canvas()->Handle(), &TM);
    const int H = TM.tmHeight;
    FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + CBItem.R.Height() / 2 - H / 2, CBItem.R.Width(), H);
}

// ---- selection and its events -------------------------------------------------------------------------------

void TbsSkinCustomComboBox::SetItemIndex(int Value)
{
    FListBox->SetItemIndex(Value);
    const int I = FListBox->ItemIndex();
    if (Items()->Count() > 0 && I != -1) SetText(Items()->Strings(I));
    FOldItemIndex = FListBox->ItemIndex();
    if (!FEdit) Repaint();
    if (IsDesigning() || ComponentState().Contains(csLoading)) return;
    if (OnClick) OnClick(this);
    Change();
}

void TbsSkinCustomComboBox::EditChange(TObject*)
{
    FromEdit = true;
    const String T = FEdit->Text();
    if (!T.empty()) {
        TbsListBox* Inner = FListBox->ListBox;
        const int I = int(Inner->Perform(LB_FINDSTRING, WPARAM(-1), LPARAM(T.c_str())));
        if (I >= 0) {
            if (FAutoComplete)
                Inner->SetItemIndex(I);
            else
                Inner->SetTopIndex(I);
        }
    }
    SetText(T);
    FromEdit = false;
}

int TbsSkinCustomComboBox::FindItem(const String& Text)
{
    if (Text.empty()) return -1;
    const WPARAM Start = Utf8Length(Text) == 1 ? WPARAM(FListBox->ItemIndex()) : WPARAM(-1);
    const LRESULT R = FListBox->ListBox->Perform(LB_FINDSTRING, Start, LPARAM(Text.c_str()));
    return R < 0 ? -1 : int(R);
}

// ---- drop-down ------------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::StartTimer(int Mode)
{
    if (Mode == TimerMode) return;
    TimerMode = Mode;
    if (!HandleAllocated()) return;
    KillTimer(FHandle, ScrollTimerId);
    SetTimer(FHandle, ScrollTimerId, 25, nullptr);
}

void TbsSkinCustomComboBox::StopTimer()
{
    if (HandleAllocated()) KillTimer(FHandle, ScrollTimerId);
    TimerMode = 0;
}

void TbsSkinCustomComboBox::DropDown()
{
    if (Items()->Count() == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) OnDropDown(this);
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->SetRowCount(MinOf(Items()->Count(), FDropDownCount));
    TPoint P = ClientToScreen(Point(0, Height()));
    TRect Work(0, 0, 0, 0);
    GetMonitorWorkArea(Handle(), true, Work);
    if (P.Y + FListBox->Height() > Work.Bottom) P.Y = P.Y - Height() - FListBox->Height();
    if (FEdit) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->SetSkinData(FSD);
    FListBox->Show(P);
}

void TbsSkinCustomComboBox::CloseUp(bool Value)
{
    StopTimer();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const int I = FListBox->ItemIndex();
    if (Value && I >= 0 && I < Items()->Count()) {
        if (FEdit) {
            FEdit->SetText(Items()->Strings(I));
            FEdit->SelectAll();
        } else {
            SetText(Items()->Strings(I));
            Repaint();
        }
        if (OnClick) OnClick(this);
        Change();
    } else
        FListBox->SetItemIndex(FOldItemIndex);
    FDropDown = false;
    Repaint();
    if (OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::ListBoxWndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
        FLBDown = true;
        WasInLB = true;
        SetMouseCapture(true);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    case WM_MOUSEACTIVATE:
        FListBoxWindowProc(M);
        M.Result = MA_NOACTIVATE;
        return;
    }
    FListBoxWindowProc(M);
}

void TbsSkinCustomComboBox::ListBoxMouseMoveHandler(TObject*, TShiftState, int X, int Y)
{
    const int I = FListBox->ItemAtPos(Point(X, Y), true);
    if (I >= 0 && I < Items()->Count()) FListBox->SetItemIndex(I);
}

void TbsSkinCustomComboBox::TrackPointer()
{
    TbsListBox* Inner = FListBox->ListBox;
    const int Y = Inner->ScreenToClient(GetCursorPos()).Y;
    const bool Bar = FListBox->ScrollBar != nullptr;
    if (Y < 0 && Bar && WasInLB)
        StartTimer(1);
    else if (Y > Inner->Height() && Bar && WasInLB)
        StartTimer(2);
    else if (Y >= 0 && Y <= Inner->Height()) {
        StopTimer();
        Inner->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, Y));
        WasInLB = true;
    }
}

// ---- mouse on the face ----------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!Focused() && !FEdit && CanFocus()) SetFocus();
    if (Btn != mbLeft) return;
    const TPoint P(X, Y);
    if (Button.MouseIn || Button.R.Contains(P) || (!FEdit && CBItem.R.Contains(P)) || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (!FListBox->Visible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else
            CloseUp(false);
    } else if (FListBox->Visible())
        CloseUp(false);
}

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FLBDown) {
        if (FListBox->Visible()) TrackPointer();
        return;
    }
    const bool In = Button.R.Contains(Point(X, Y));
    if (In != Button.MouseIn) {
        Button.MouseIn = In;
        Repaint();
    }
}

void TbsSkinCustomComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y)
{
    if (FLBDown && WasInLB) {
        SetMouseCapture(false);
        FLBDown = false;
        TbsListBox* Inner = FListBox->ListBox;
        const HWND Under = WindowFromPoint(GetCursorPos());
        CloseUp(Inner->HandleAllocated() && Under == Inner->Handle());
    } else
        FLBDown = false;
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

// ---- keyboard of the fixed style ------------------------------------------------------------------------------

void TbsSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const bool Open = FListBox->Visible();
    const bool Alt = Shift.Contains(ssAlt);
    const int I = ItemIndex(), Last = Items()->Count() - 1;
    switch (Key) {
    case VK_RETURN:
        if (Open) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (Open) CloseUp(false);
        break;
    case VK_PRIOR: SetItemIndex(MaxOf(0, I - FDropDownCount - 1)); break;
    case VK_NEXT: SetItemIndex(MinOf(Last, I + FDropDownCount - 1)); break;
    case VK_LEFT:
    case VK_UP:
        if (Alt) {
            if (Open) CloseUp(false);
        } else if (I > 0)
            SetItemIndex(I - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (Alt) {
            if (!Open) DropDown();
        } else if (I < Last)
            SetItemIndex(I + 1);
        break;
    }
}

void TbsSkinCustomComboBox::KeyPress(char32_t& Key)
{
    TbsSkinCustomControl::KeyPress(Key);
    // a handler that swallowed the key, and control characters, search nothing
    if (Key < 32 || !FListBox->ListBox) return;
    String S;
    if (FAutoComplete) {
        const DWORD Now = GetMessageTime();
        if (DWORD(Now - FLastTime) >= 500) FFilter.clear();
        FLastTime = Now;
        FFilter += CharText(Key);
        S = FFilter;
    } else
        S = CharText(Key);
    const int I = FindItem(S);
    if (I != -1) SetItemIndex(I);
}

// ---- the inner edit -------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::EditUpStep(bool Extras)
{
    const int I = ItemIndex();
    if (I <= 0) return;
    SetItemIndex(I - 1);
    if (!Extras) return;
    SetText(Items()->Strings(I - 1));
    FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::EditDownStep(bool Extras)
{
    const int I = ItemIndex();
    if (I >= Items()->Count() - 1) return;
    FListBox->SetItemIndex(I + 1);
    if (!Extras) return;
    SetText(Items()->Strings(I + 1));
    FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::CompleteFromList()
{
    const DWORD Now = GetMessageTime();
    if (DWORD(Now - FLastTime) <= 200) return;
    FLastTime = Now;
    const String T = Text();
    const int I = FindItem(T);
    if (I == -1) return;
    const int L = Utf8Length(T);
    SetItemIndex(I);
    FEdit->SetSelStart(L);
    FEdit->SetSelLength(Utf8Length(Items()->Strings(I)) - L);
}

void TbsSkinCustomComboBox::EditWndProc(TMessage& M)
{
    const bool Open = FListBox->Visible();
    const bool ActiveLook = FIndex != -1 && !IsEmptyRect(ActiveSkinRect);
    switch (M.Msg) {
    case WM_SETFOCUS:
        if (ActiveLook) {
            FEdit->Font()->SetColor(ActiveFontColor);
            Invalidate();
        }
        break;
    case WM_KILLFOCUS:
        if (Open) CloseUp(false);
        if (ActiveLook) {
            FEdit->Font()->SetColor(FontColor);
            Invalidate();
        }
        break;
    case WM_KEYDOWN:
        switch (M.WParam) {
        case VK_RETURN:
            if (Open) CloseUp(true);
            break;
        case VK_ESCAPE:
            if (Open) CloseUp(false);
            break;
        case VK_PRIOR:
            if (Open) FListBox->SetItemIndex(MaxOf(0, ItemIndex() - FDropDownCount - 1));
            break;
        case VK_NEXT:
            if (Open) FListBox->SetItemIndex(MinOf(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
            break;
        case VK_UP: EditUpStep(true); return;
        case VK_DOWN: EditDownStep(true); return;
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const BYTE CS = InterfaceCharset();
        const bool Cjk = CS == SHIFTJIS_CHARSET || CS == GB2312_CHARSET || CS == CHINESEBIG5_CHARSET;
        const WPARAM K = M.WParam;
        // Completion follows typing, which leaves no selection; a key released over the
        // user's own selection (Shift with arrows, Ctrl+A) keeps it as it is.
        const bool Typed = FEdit->SelLength() == 0;
        if (Cjk && (M.Msg == WM_SYSKEYUP || (K != VK_DELETE && K != VK_BACK))) {
            FEditWindowProc(M);
            if (FAutoComplete && Typed) CompleteFromList();
            return;
        }
        if (M.Msg == WM_KEYUP && !Cjk && K > 47) {
            FEditWindowProc(M);
            if (FAutoComplete && Typed) CompleteFromList();
            return;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (Open) CloseUp(false);
        break;
    case WM_MOUSEWHEEL: {
        const int Delta = int16_t(HIWORD(M.WParam));
        if (Delta < 1)
            EditDownStep(!Open);
        else
            EditUpStep(!Open);
        return;
    }
    }
    FEditWindowProc(M);
}

void TbsSkinCustomComboBox::EditCancelMode(TControl* C) { CheckCancelMode(C); }

void TbsSkinCustomComboBox::CheckCancelMode(TControl* Sender)
{
    if (Sender && (Sender == this || Sender == FListBox || Sender == FListBox->ScrollBar ||
                   Sender == FListBox->HScrollBar || Sender == FListBox->ListBox))
        return;
    CloseUp(false);
}

void TbsSkinCustomComboBox::ApplyEditFont()
{
    if (!FEdit) return;
    TFont* F = FEdit->Font();
    if (FIndex != -1 && FUseSkinFont) {
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
        F->SetName(FontName);
        F->SetColor(FontColor);
    } else {
        F->Assign(FDefaultFont.get());
        if (FIndex != -1) F->SetColor(FontColor);
    }
    if (!IsEmptyRect(ActiveSkinRect) && FIndex != -1 && (FEdit->Focused() || FMouseIn))
        F->SetColor(ActiveFontColor);
    F->SetCharset(InterfaceCharset());
    FEdit->SetTransparentMode(FIndex != -1);
    if (!Enabled()) F->SetColor(DisabledTextColor());
}

// ---- skin -----------------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinComboBox*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) return;
    ActiveSkinRect = R->ActiveSkinRect;
    ActiveFontColor = R->ActiveFontColor;
    SItemRect = R->SItemRect;
    ActiveItemRect = R->ActiveItemRect;
    FocusItemRect = IsEmptyRect(R->FocusItemRect) ? R->SItemRect : R->FocusItemRect;
    ItemLeftOffset = R->ItemLeftOffset;
    ItemRightOffset = R->ItemRightOffset;
    ItemTextRect = R->ItemTextRect;
    FontName = R->FontName;
    FontStyle = R->FontStyle;
    FontHeight = R->FontHeight;
    FontColor = R->FontColor;
    FocusFontColor = R->FocusFontColor;
    ButtonRect = R->ButtonRect;
    ActiveButtonRect = R->ActiveButtonRect;
    DownButtonRect = R->DownButtonRect;
    UnEnabledButtonRect = R->UnEnabledButtonRect;
    ListBoxName = R->ListBoxName;
    ItemStretchEffect = R->ItemStretchEffect;
    FocusItemStretchEffect = R->FocusItemStretchEffect;
    ShowFocus = R->ShowFocus;
}

void TbsSkinCustomComboBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    const int D = AWidth - SkinRect.Width();
    NewLTPoint = LTPt;
    NewRTPoint = Point(RTPt.X + D, RTPt.Y);
    NewClRect = ClRect;
    NewClRect.Right += D;
}

void TbsSkinCustomComboBox::SetControlRegion()
{
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomComboBox::CalcRects()
{
    const int W = Width(), H = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = Rect(W - 19, 0, W, H);
        CBItem.R = Rect(2, 2, Button.R.Left - 1, H - 2);
        return;
    }
    Button.R = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
        Button.R.Left += W - SkinRect.Width();
        Button.R.Right += W - SkinRect.Width();
    }
    CBItem.R = ClRect;
    CBItem.R.Right += W - SkinRect.Width();
    if (!FUseSkinSize) {
        Button.R.Bottom += H - SkinRect.Height();
        CBItem.R.Bottom += H - SkinRect.Height();
    }
}

void TbsSkinCustomComboBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    ApplyEditFont();
    Repaint();
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : String());
    FListBox->SetSkinData(FSD);
    FListBox->UpDateScrollBar();
    CalcRects();
    PlaceEdit();
    if (FEdit && FIndex != -1) {
        int W = Width(), H = Height();
        CalcSize(W, H);
        if (W != Width()) SetWidth(W);
        if (H != Height()) SetHeight(H);
    }
}

// ---- messages -------------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::Dispatch(TMessage& M)
{
    const bool ActiveLook = FIndex != -1 && !IsEmptyRect(ActiveSkinRect);
    switch (M.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        if (FEdit && !FromEdit) FEdit->SetText(Text());
        if (OnChange) OnChange(this);
        if (FromEdit) Change();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        if (FEdit) {
            if (!Enabled())
                FEdit->Font()->SetColor(DisabledTextColor());
            else
                FEdit->Font()->SetColor(FIndex == -1 ? FDefaultFont->Color() : FontColor);
        }
        Repaint();
        return;
    case CM_CANCELMODE:
        TbsSkinCustomControl::Dispatch(M);
        CheckCancelMode(reinterpret_cast<TControl*>(M.LParam));
        return;
    case CM_WANTSPECIALKEY:
        TbsSkinCustomControl::Dispatch(M);
        if (M.WParam >= VK_LEFT && M.WParam <= VK_DOWN) M.Result = 1;
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(M);
        if (M.WParam != ScrollTimerId) return;
        if (TimerMode == 1 && FListBox->ItemIndex() > 0) FListBox->SetItemIndex(FListBox->ItemIndex() - 1);
        if (TimerMode == 2 && FListBox->ItemIndex() < Items()->Count() - 1)
            FListBox->SetItemIndex(FListBox->ItemIndex() + 1);
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(M);
        CalcRects();
        PlaceEdit();
        return;
    case WM_MOUSEWHEEL: {
        M.Result = 1;
        if (FEdit) return;
        const int Delta = int16_t(HIWORD(M.WParam));
        const int I = ItemIndex();
        const int Target = Delta > 0 ? I - 1 : I + 1;
        if (Target < 0 || Target >= Items()->Count()) return;
        if (FListBox->Visible())
            FListBox->SetItemIndex(Target);
        else
            SetItemIndex(Target);
        return;
    }
    case WM_SETFOCUS:
        if (FEdit) {
            FEdit->SetFocus();
            if (ActiveLook) {
                FEdit->Font()->SetColor(ActiveFontColor);
                Invalidate();
            }
            return;
        }
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        if (FListBox->Visible() && !FEdit) CloseUp(false);
        Repaint();
        if (ActiveLook && FEdit) {
            FEdit->Font()->SetColor(FontColor);
            Invalidate();
        }
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if (IsDesigning() || !(M.LParam == 0 || M.LParam == LPARAM(this))) return;
        FMouseIn = M.Msg == CM_MOUSEENTER;
        if (!FMouseIn && Button.MouseIn) {
            Button.MouseIn = false;
            Repaint();
        }
        if (ActiveLook && FEdit && !FEdit->Focused()) FEdit->Font()->SetColor(FMouseIn ? ActiveFontColor : FontColor);
        if (ActiveLook || FToolButtonStyle) Invalidate();
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
