// TCustomComboBox: items through the window procedure, the current item, the text,
// keys, type-ahead, and a drop-down list in a popup that never takes the focus.
#include <algorithm>

#include "platform/forms/StdCtrls.h"

namespace {
constexpr int ButtonWidth = 17;
}  // namespace

// The items of a combo box; changes pass its window procedure.
class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* ACombo) : FCombo(ACombo) {}
    int Count() const override { return FCombo->FList->Count(); }
    String Strings(int I) const override { return FCombo->FList->Strings(I); }
    TObject* Objects(int I) const override { return FCombo->FList->Objects(I); }
    void SetObjects(int I, TObject* O) override { FCombo->Perform(CB_SETITEMDATA, WPARAM(I), LPARAM(O)); }
    void SetStrings(int I, const String& S) override
    {
        TObject* O = Objects(I);
        int Cur = FCombo->FItemIndex;
        FCombo->Perform(CB_DELETESTRING, WPARAM(I));
        FCombo->Perform(CB_INSERTSTRING, WPARAM(I), LPARAM(S.c_str()));
        FCombo->Perform(CB_SETITEMDATA, WPARAM(I), LPARAM(O));
        if (Cur == I) FCombo->SetItemIndex(I);
    }
    int Add(const String& S) override { return int(FCombo->Perform(CB_ADDSTRING, 0, LPARAM(S.c_str()))); }
    void Insert(int I, const String& S) override
    {
        if (I < 0 || I > Count()) Error("List index out of bounds (%d)", I);
        FCombo->Perform(CB_INSERTSTRING, WPARAM(I), LPARAM(S.c_str()));
    }
    void Delete(int I) override
    {
        if (I < 0 || I >= Count()) Error("List index out of bounds (%d)", I);
        FCombo->Perform(CB_DELETESTRING, WPARAM(I));
    }
    void Clear() override { FCombo->Perform(CB_RESETCONTENT); }
    int IndexOf(const String& S) const override
    {
        return int(FCombo->Perform(CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str())));
    }

protected:
    void SetUpdateState(bool Updating) override
    {
        if (!Updating) FCombo->Invalidate();
    }

private:
    TCustomComboBox* FCombo;
};

// The drop-down: a list box in a popup window of its own, which never takes the focus.
// While it is down it holds the mouse: a release on an item takes that item, a press
// outside it closes it.
class TComboDropList : public TCustomListBox {
public:
    explicit TComboDropList(TCustomComboBox* ACombo) : TCustomListBox(nullptr), FCombo(ACombo)
    {
        SetBorderStyle(bsNone);
        SetTabStop(false);
    }
    void Dispatch(TMessage& M) override
    {
        switch (M.Msg) {
        case WM_MOUSEMOVE: {
            TPoint P = MessageAs<TWMMouse>(M).Pos();
            int I = ItemAtPos(P, true);
            if (I >= 0 && I != ItemIndex()) SetItemIndex(I);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!ClientRect().Contains(MessageAs<TWMMouse>(M).Pos())) FCombo->CloseUp(false);
            return;
        case WM_LBUTTONUP: {
            TPoint P = MessageAs<TWMMouse>(M).Pos();
            if (ClientRect().Contains(P) && ItemAtPos(P, true) >= 0) FCombo->CloseUp(true);
            return;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(M.LParam) != FHandle && Visible()) FCombo->CloseUp(false);
            return;
        }
        TCustomListBox::Dispatch(M);
    }

protected:
    void CreateParams(TCreateParams& P) override
    {
        TCustomListBox::CreateParams(P);
        P.Style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
        P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        P.WndParent = nullptr;
    }

private:
    TCustomComboBox* FCombo;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeControl(AOwner), FList(new TStringList), FItems(new TComboBoxStrings(this))
{
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 145;
    FHeight = 25;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
}

TCustomComboBox::~TCustomComboBox()
{
    Destroying();
    delete FDrop;
    FDrop = nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    P.Style |= FStyle == csDropDownList ? CBS_DROPDOWNLIST : FStyle == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    if (FSorted) P.Style |= CBS_SORT;
    P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::SetItemIndex(int V) { Perform(CB_SETCURSEL, WPARAM(V)); }

void TCustomComboBox::SetStyle(TComboBoxStyle V)
{
    FStyle = V;
    RecreateWnd();
    Invalidate();
}

void TCustomComboBox::SetSorted(bool V)
{
    if (FSorted == V) return;
    String Cur = FItemIndex >= 0 ? FList->Strings(FItemIndex) : String();
    FSorted = V;
    FList->SetSorted(V);
    if (!Cur.empty()) FItemIndex = FList->IndexOf(Cur);
    Invalidate();
}

int TCustomComboBox::ItemHeight() { return LineHeight() + 2; }

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText("");
}

bool TCustomComboBox::DroppedDown() const { return FDrop && FDrop->Visible(); }

void TCustomComboBox::SetDroppedDown(bool V) { Perform(CB_SHOWDROPDOWN, V ? 1 : 0); }

void TCustomComboBox::SetTextValue(const String& V) { Perform(WM_SETTEXT, 0, LPARAM(V.c_str())); }

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
}

TRect TCustomComboBox::ButtonRect()
{
    TRect C = ClientRect();
    return {C.Right - ButtonWidth, C.Top, C.Right, C.Bottom};
}

void TCustomComboBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        switch (HIWORD(M.WParam)) {
        case CBN_SELCHANGE:
            Change();
            Select();
            break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp) OnCloseUp(this);
            break;
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FHandle) {
            if (GetFocus() != FHandle && CanFocus()) ::SetFocus(FHandle);
            TPoint P = MessageAs<TWMMouse>(M).Pos();
            if (FStyle == csDropDownList || ButtonRect().Contains(P)) SetDroppedDown(!DroppedDown());
        }
        break;
    }
    TNativeControl::Dispatch(M);
}

void TCustomComboBox::SelectNative(int Index, bool Notify)
{
    int N = FList->Count();
    if (Index < 0 || Index >= N) return;
    if (Index == FItemIndex && FEditText == FList->Strings(Index)) return;
    FItemIndex = Index;
    FEditText = FList->Strings(Index);
    if (FDrop && FDrop->Visible()) FDrop->SetItemIndex(Index);
    InvalidateNative();
    if (Notify) NotifyCommand(CBN_SELCHANGE);
}

void TCustomComboBox::CloseUp(bool Accept)
{
    if (!DroppedDown()) return;
    int I = FDrop->ItemIndex();
    if (GetCapture() == FDrop->Handle()) ReleaseCapture();
    FDrop->Hide();
    if (Accept && I >= 0) SelectNative(I, true);
    NotifyCommand(CBN_CLOSEUP);
}

bool TCustomComboBox::NativeProc(TMessage& M)
{
    auto Text = [&]() { return String(M.LParam ? reinterpret_cast<const char*>(M.LParam) : ""); };
    int N = FList->Count();
    int I = int(intptr_t(M.WParam));
    switch (M.Msg) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        int At;
        if (M.Msg == CB_ADDSTRING || FSorted) {
            At = FList->Add(Text());
        } else {
            At = I < 0 || I > N ? N : I;
            FList->Insert(At, Text());
        }
        if (FItemIndex >= At) ++FItemIndex;
        M.Result = At;
        InvalidateNative();
        return true;
    }
    case CB_DELETESTRING:
        if (I < 0 || I >= N) {
            M.Result = CB_ERR;
            return true;
        }
        FList->Delete(I);
        if (FItemIndex == I) {
            FItemIndex = -1;
            if (FStyle == csDropDownList) FEditText.clear();
        } else if (FItemIndex > I) {
            --FItemIndex;
        }
        M.Result = FList->Count();
        InvalidateNative();
        return true;
    case CB_RESETCONTENT:
        FList->Clear();
        FItemIndex = -1;
        if (FStyle == csDropDownList) FEditText.clear();
        InvalidateNative();
        return true;
    case CB_GETCOUNT: M.Result = N; return true;
    case CB_GETCURSEL: M.Result = FItemIndex; return true;
    case CB_SETCURSEL:
        if (I < 0 || I >= N) {
            FItemIndex = -1;
            FEditText.clear();
            M.Result = CB_ERR;
        } else {
            FItemIndex = I;
            FEditText = FList->Strings(I);
            M.Result = I;
        }
        InvalidateNative();
        return true;
    case CB_GETLBTEXT:
        if (I < 0 || I >= N) {
            M.Result = CB_ERR;
            return true;
        }
        if (M.LParam) {
            String S = FList->Strings(I);
            std::copy(S.begin(), S.end(), reinterpret_cast<char*>(M.LParam));
            reinterpret_cast<char*>(M.LParam)[S.size()] = 0;
        }
        M.Result = LRESULT(FList->Strings(I).size());
        return true;
    case CB_GETLBTEXTLEN: M.Result = I < 0 || I >= N ? CB_ERR : LRESULT(FList->Strings(I).size()); return true;
    case CB_GETITEMDATA: M.Result = I < 0 || I >= N ? CB_ERR : LRESULT(FList->Objects(I)); return true;
    case CB_SETITEMDATA:
        if (I >= 0 && I < N) FList->SetObjects(I, reinterpret_cast<TObject*>(M.LParam));
        else M.Result = CB_ERR;
        return true;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
        String P = LowerText(Text());
        M.Result = CB_ERR;
        int From = I < 0 || I >= N ? 0 : I + 1;
        for (int K = 0; K < N; ++K) {
            int J = (From + K) % N;
            String T = LowerText(FList->Strings(J));
            if (M.Msg == CB_FINDSTRINGEXACT ? T == P : T.compare(0, P.size(), P) == 0) {
                M.Result = J;
                break;
            }
        }
        if (M.Msg == CB_SELECTSTRING && M.Result >= 0) Perform(CB_SETCURSEL, WPARAM(M.Result));
        return true;
    }
    case CB_LIMITTEXT: FMaxLength = int(M.WParam); M.Result = 1; return true;
    case CB_GETDROPPEDSTATE: M.Result = DroppedDown(); return true;
    case CB_SHOWDROPDOWN:
        if (M.WParam && !DroppedDown() && FHandle) {
            NotifyCommand(CBN_DROPDOWN);
            if (!FDrop) FDrop = new TComboDropList(this);
            FDrop->Font()->Assign(Font());
            FDrop->SetItemHeight(ItemHeight());
            FDrop->Items()->Assign(FList.get());
            int Rows = std::clamp(FList->Count(), 1, FDropDownCount);
            TPoint P = ClientToScreen({0, 0});
            TRect W = GetWindowRect(FHandle);
            FDrop->SetBounds(W.Left, W.Bottom, W.Width(), Rows * ItemHeight() + 2);
            FDrop->HandleNeeded();
            FDrop->SetItemIndex(FItemIndex);
            SetWindowPos(FDrop->Handle(), HWND_TOPMOST, W.Left, W.Bottom, W.Width(), Rows * ItemHeight() + 2,
                         SWP_NOACTIVATE | SWP_SHOWWINDOW);
            FDrop->SetVisible(true);
            SetCapture(FDrop->Handle());
            (void)P;
        } else if (!M.WParam) {
            CloseUp(false);
        }
        M.Result = 1;
        return true;
    case WM_SETTEXT: {
        FEditText = Text();
        int Found = int(Perform(CB_FINDSTRINGEXACT, WPARAM(-1), M.LParam));
        if (FStyle == csDropDownList) {
            FItemIndex = Found;
            FEditText = Found >= 0 ? FList->Strings(Found) : String();
        } else {
            FItemIndex = Found;
        }
        InvalidateNative();
        M.Result = 1;
        return true;
    }
    case WM_GETTEXT: {
        if (!M.WParam || !M.LParam) return true;
        size_t Len = std::min(FEditText.size(), size_t(M.WParam) - 1);
        std::copy_n(FEditText.data(), Len, reinterpret_cast<char*>(M.LParam));
        reinterpret_cast<char*>(M.LParam)[Len] = 0;
        M.Result = LRESULT(Len);
        return true;
    }
    case WM_GETTEXTLENGTH: M.Result = LRESULT(FEditText.size()); return true;
    case WM_KEYDOWN: {
        bool Alt = GetKeyState(VK_MENU) < 0;
        int T = FItemIndex;
        switch (M.WParam) {
        case VK_F4: SetDroppedDown(!DroppedDown()); return true;
        case VK_RETURN: CloseUp(true); return true;
        case VK_ESCAPE: CloseUp(false); return true;
        case VK_UP: if (Alt) { SetDroppedDown(!DroppedDown()); return true; } --T; break;
        case VK_DOWN: if (Alt) { SetDroppedDown(!DroppedDown()); return true; } ++T; break;
        case VK_PRIOR: T -= FDropDownCount; break;
        case VK_NEXT: T += FDropDownCount; break;
        case VK_HOME: if (FStyle != csDropDownList) return true; T = 0; break;
        case VK_END: if (FStyle != csDropDownList) return true; T = N - 1; break;
        default: return true;
        }
        if (N) SelectNative(std::clamp(T, 0, N - 1), true);
        return true;
    }
    case WM_SYSKEYDOWN:
        if (M.WParam == VK_DOWN || M.WParam == VK_UP) {
            SetDroppedDown(!DroppedDown());
            return true;
        }
        break;
    case WM_CHAR: {
        char32_t C = char32_t(M.WParam);
        if (FStyle == csDropDownList) {
            if (C < 32) return true;
            int F = int(Perform(CB_FINDSTRING, WPARAM(FItemIndex), LPARAM(Utf32ToUtf8(std::u32string(1, C)).c_str())));
            if (F >= 0) SelectNative(F, true);
            return true;
        }
        // the edit part: typing at the end, Backspace
        std::u32string T = Utf8ToUtf32(FEditText);
        if (C == 8) {
            if (T.empty()) return true;
            T.pop_back();
        } else if (C >= 32) {
            if (FMaxLength > 0 && int(T.size()) >= FMaxLength) return true;
            T += C;
        } else {
            return true;
        }
        FEditText = Utf32ToUtf8(T);
        FItemIndex = int(Perform(CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(FEditText.c_str())));
        InvalidateNative();
        NotifyCommand(CBN_EDITCHANGE);
        return true;
    }
    case WM_KILLFOCUS:
        CloseUp(false);
        InvalidateNative();
        return true;
    case WM_SETFOCUS:
        InvalidateNative();
        return true;
    case WM_GETDLGCODE:
        M.Result = DroppedDown() ? DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS : NativeDlgCode();
        return true;
    }
    return TNativeControl::NativeProc(M);
}

void TCustomComboBox::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    TRect C = ClientRect();
    HBRUSH B = QueryColors(DC, Enabled() ? CN_CTLCOLOREDIT : CN_CTLCOLORSTATIC);
    if (B && B != HBRUSH(GetStockObject(NULL_BRUSH))) FillRect(DC, &C, B);
    SelectObject(DC, NativeFont());
    TRect Btn = ButtonRect();
    FillSolid(DC, Btn, clBtnFace);
    DrawEdgeFrame(DC, Btn, DroppedDown(), 2);
    int Mx = Btn.Left + Btn.Width() / 2, My = Btn.Top + Btn.Height() / 2 - 1;
    for (int K = 0; K < 4; ++K) FillSolid(DC, {Mx - 3 + K, My + K - 1, Mx + 4 - K, My + K}, clBtnText);
    TRect T{C.Left + 2, C.Top + 1, Btn.Left - 1, C.Bottom - 1};
    bool Focus = FHandle && GetFocus() == FHandle;
    if (Focus && FStyle == csDropDownList) {
        FillSolid(DC, T, clHighlight);
        SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!Enabled()) {
        SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(DC, TRANSPARENT);
    DrawItemText(DC, FEditText, {T.Left + 1, T.Top, T.Right, T.Bottom});
    if (Focus && FStyle == csDropDownList) ::DrawFocusRect(DC, &T);
}
