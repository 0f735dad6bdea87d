// TCustomListBox: the native list box (items, selection, top index, keys, mouse,
// type-ahead, owner drawing) and the class library's properties over its messages.
#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

namespace {
constexpr uintptr_t TrackTimer = 0x1B17;
}  // namespace

// The items of a list box, kept by the control; changes pass its window procedure.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* AList) : FList(AList) {}
    int Count() const override { return FList->Count(); }
    String Strings(int I) const override
    {
        Check(I);
        return FList->FList[size_t(I)].Text;
    }
    TObject* Objects(int I) const override
    {
        Check(I);
        return FList->FList[size_t(I)].Object;
    }
    void SetObjects(int I, TObject* O) override
    {
        Check(I);
        FList->Perform(LB_SETITEMDATA, WPARAM(I), LPARAM(O));
    }
    void SetStrings(int I, const String& S) override
    {
        Check(I);
        TObject* O = Objects(I);
        bool Sel = FList->FList[size_t(I)].Selected;
        int Cur = FList->FCurSel;
        FList->Perform(LB_DELETESTRING, WPARAM(I));
        FList->Perform(LB_INSERTSTRING, WPARAM(I), LPARAM(S.c_str()));
        FList->Perform(LB_SETITEMDATA, WPARAM(I), LPARAM(O));
        FList->FList[size_t(I)].Selected = Sel;
        if (Cur == I) FList->FCurSel = I;
    }
    int Add(const String& S) override
    {
        LRESULT R = FList->Perform(LB_ADDSTRING, 0, LPARAM(S.c_str()));
        if (R < 0) throw EOutOfResources("Out of system resources");
        return int(R);
    }
    void Insert(int I, const String& S) override
    {
        if (I < 0 || I > Count()) Error("List index out of bounds (%d)", I);
        FList->Perform(LB_INSERTSTRING, WPARAM(I), LPARAM(S.c_str()));
    }
    void Delete(int I) override
    {
        Check(I);
        FList->Perform(LB_DELETESTRING, WPARAM(I));
    }
    void Clear() override { FList->Perform(LB_RESETCONTENT); }
    int IndexOf(const String& S) const override
    {
        return int(FList->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str())));
    }

private:
    void Check(int I) const
    {
        if (I < 0 || I >= Count()) Error("List index out of bounds (%d)", I);
    }
    TCustomListBox* FList;
};

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(new TListBoxStrings(this)), FCanvas(new TCanvas)
{
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    P.Style |= WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (FSorted) P.Style |= LBS_SORT;
    if (FMultiSelect) P.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FColumns > 0) P.Style |= LBS_MULTICOLUMN;
    if (FTabWidth > 0) P.Style |= LBS_USETABSTOPS;
    if (FStyle == lbOwnerDrawFixed || FStyle == lbVirtualOwnerDraw) P.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) P.Style |= LBS_OWNERDRAWVARIABLE;
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
    P.WindowClass.style = CS_DBLCLKS;
}

void TCustomListBox::CreateWnd()
{
    TNativeControl::CreateWnd();
    UpdateScroll();
}

// ---- properties ----------------------------------------------------------------------------------------
int TCustomListBox::ItemIndex()
{
    if (Multi()) return int(Perform(LB_GETCARETINDEX));
    return int(Perform(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int V)
{
    if (Multi()) {
        Perform(LB_SETCARETINDEX, WPARAM(V));
        if (V >= 0 && V < Count()) {
            // the item becomes the one selected
            Perform(LB_SETSEL, 0, -1);
            Perform(LB_SETSEL, 1, V);
        }
        return;
    }
    Perform(LB_SETCURSEL, WPARAM(V));
}

bool TCustomListBox::Selected(int Index)
{
    LRESULT R = Perform(LB_GETSEL, WPARAM(Index));
    if (R < 0) throw EListError(Format("List index out of bounds (%d)", Index));
    return R != 0;
}

void TCustomListBox::SetSelected(int Index, bool V)
{
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    if (Multi()) Perform(LB_SETSEL, V ? 1 : 0, Index);
    else if (V) Perform(LB_SETCURSEL, WPARAM(Index));
    else if (FCurSel == Index) Perform(LB_SETCURSEL, WPARAM(-1));
}

int TCustomListBox::SelCount() { return int(Perform(LB_GETSELCOUNT)); }

void TCustomListBox::SetMultiSelect(bool V)
{
    if (FMultiSelect == V) return;
    FMultiSelect = V;
    for (TItem& I : FList) I.Selected = false;
    FCurSel = -1;
    RecreateWnd();
    Invalidate();
}

void TCustomListBox::SetExtendedSelect(bool V)
{
    FExtendedSelect = V;
    RecreateWnd();
}

void TCustomListBox::SetSorted(bool V)
{
    if (FSorted == V) return;
    FSorted = V;
    if (V) {
        std::stable_sort(FList.begin(), FList.end(),
                         [](const TItem& A, const TItem& B) { return CompareText(A.Text, B.Text) < 0; });
        EraseChanged();
    }
    RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle V)
{
    if (FStyle == V) return;
    FStyle = V;
    RecreateWnd();
    Invalidate();
}

int TCustomListBox::ItemHeight() { return int(Perform(LB_GETITEMHEIGHT)); }
void TCustomListBox::SetItemHeight(int V)
{
    if (V >= 1) Perform(LB_SETITEMHEIGHT, 0, V);
}

void TCustomListBox::SetColumns(int V)
{
    V = std::max(0, V);
    if (FColumns == V) return;
    FColumns = V;
    FTop = 0;
    EraseChanged();
}

int TCustomListBox::TopIndex() { return int(Perform(LB_GETTOPINDEX)); }
void TCustomListBox::SetTopIndex(int V) { Perform(LB_SETTOPINDEX, WPARAM(V)); }

void TCustomListBox::SetBorderStyle(TBorderStyle V)
{
    if (FBorderStyle == V) return;
    FBorderStyle = V;
    RecreateWnd();
}

TRect TCustomListBox::ItemRect(int Index)
{
    TRect R;
    if (Perform(LB_GETITEMRECT, WPARAM(Index), LPARAM(&R)) == LB_ERR) return {};
    return R;
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing)
{
    TRect C = ClientRect();
    if (C.Contains(Pos)) {
        LRESULT R = Perform(LB_ITEMFROMPOINT, 0, PointToLParam(Pos));
        if (HIWORD(uintptr_t(R)) == 0) return LOWORD(uintptr_t(R));
    }
    return Existing ? -1 : Count();
}

void TCustomListBox::SelectAll()
{
    if (Multi()) Perform(LB_SETSEL, 1, -1);
}

void TCustomListBox::ClearSelection()
{
    if (Multi()) Perform(LB_SETSEL, 0, -1);
    else Perform(LB_SETCURSEL, WPARAM(-1));
}

// ---- the class library's handlers ------------------------------------------------------------------------
void TCustomListBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND:
        if (HIWORD(M.WParam) == LBN_SELCHANGE) Click();
        return;
    case CN_DRAWITEM: CNDrawItem(M); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        MouseNative(M);
        break;
    }
    TNativeControl::Dispatch(M);
}

void TCustomListBox::CNDrawItem(TMessage& M)
{
    auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    TOwnerDrawState State;
    if (D->itemState & ODS_SELECTED) State.Include(odSelected);
    if (D->itemState & ODS_FOCUS) State.Include(odFocused);
    if (D->itemState & ODS_DISABLED) State.Include(odDisabled);
    FCanvas->SetHandle(D->hDC);
    FCanvas->SetFont(Font());
    FCanvas->Brush()->SetColor(FColor);
    if (int(D->itemID) >= 0 && int(D->itemID) < Count()) {
        DrawItem(int(D->itemID), D->rcItem, State);
        if (State.Contains(odFocused)) ::DrawFocusRect(D->hDC, &D->rcItem);
    } else {
        FCanvas->FillRect(D->rcItem);
    }
    FCanvas->SetHandle(nullptr);
    M.Result = 1;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    if (State.Contains(odSelected)) {
        FCanvas->Brush()->SetColor(clHighlight);
        FCanvas->Font()->SetColor(clHighlightText);
    }
    FCanvas->FillRect(Rect);
    FCanvas->TextRect(Rect, Rect.Left + 2, Rect.Top, FList[size_t(Index)].Text);
}

// ---- geometry --------------------------------------------------------------------------------------------
int TCustomListBox::RowsPerColumn() { return std::max(1, ClientRect().Height() / std::max(1, ItemHeight())); }

int TCustomListBox::ItemsPerPage()
{
    int Rows = RowsPerColumn();
    return FColumns > 0 ? Rows * FColumns : Rows;
}

int TCustomListBox::MaxTopIndex()
{
    if (FColumns > 0) {
        int Rows = RowsPerColumn();
        int Cols = (Count() + Rows - 1) / Rows;
        return std::max(0, Cols - FColumns) * Rows;
    }
    return std::max(0, Count() - ItemsPerPage());
}

void TCustomListBox::UpdateScroll()
{
    if (FColumns > 0) {
        int Rows = RowsPerColumn();
        int Cols = (Count() + Rows - 1) / Rows;
        SetScrollState(SB_HORZ, 0, std::max(0, Cols - 1), UINT(FColumns), FTop / Rows);
        SetScrollState(SB_VERT, 0, 0, 0, 0);
    } else {
        SetScrollState(SB_VERT, 0, std::max(0, Count() - 1), UINT(ItemsPerPage()), FTop);
        SetScrollState(SB_HORZ, 0, 0, 0, 0);
    }
}

void TCustomListBox::EraseChanged()
{
    UpdateScroll();
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
}

void TCustomListBox::InvalidateItem(int Index)
{
    if (!FHandle || Index < 0 || Index >= Count()) return;
    TRect R = ItemRect(Index);
    if (!R.IsEmpty()) InvalidateRect(FHandle, &R, false);
}

int TCustomListBox::SetTop(int V)
{
    if (FColumns > 0) V -= V % RowsPerColumn();
    V = std::clamp(V, 0, MaxTopIndex());
    if (V != FTop) {
        FTop = V;
        EraseChanged();
    }
    return FTop;
}

void TCustomListBox::EnsureVisible(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    int Page = ItemsPerPage();
    if (Index < FTop) SetTop(Index);
    else if (Index >= FTop + Page) SetTop(FColumns > 0 ? Index - Page + RowsPerColumn() : Index - Page + 1);
}

// ---- selection -------------------------------------------------------------------------------------------
void TCustomListBox::SelectNative(int Index, bool Notify)
{
    if (Index < 0 || Index >= Count()) return;
    if (Multi()) {
        for (int I = 0; I < Count(); ++I) {
            bool S = I == Index;
            if (FList[size_t(I)].Selected != S) {
                FList[size_t(I)].Selected = S;
                InvalidateItem(I);
            }
        }
    } else if (FCurSel != Index) {
        InvalidateItem(FCurSel);
        FCurSel = Index;
        InvalidateItem(Index);
    }
    InvalidateItem(FCaretIndex);
    FCaretIndex = Index;
    FAnchorIndex = Index;
    EnsureVisible(Index);
    if (Notify) NotifyCommand(LBN_SELCHANGE);
}

void TCustomListBox::SelectRange(int From, int To)
{
    if (From < 0) From = To;
    int A = std::min(From, To), B = std::max(From, To);
    for (int I = 0; I < Count(); ++I) {
        bool S = I >= A && I <= B;
        if (FList[size_t(I)].Selected != S) {
            FList[size_t(I)].Selected = S;
            InvalidateItem(I);
        }
    }
    InvalidateItem(FCaretIndex);
    FCaretIndex = To;
    EnsureVisible(To);
}

int TCustomListBox::FindPrefix(int Start, const String& Prefix, bool Exact)
{
    int N = Count();
    if (N == 0) return LB_ERR;
    String P = LowerText(Prefix);
    int From = Start < 0 || Start >= N ? 0 : Start + 1;
    for (int K = 0; K < N; ++K) {
        int I = (From + K) % N;
        String T = LowerText(FList[size_t(I)].Text);
        if (Exact ? T == P : T.compare(0, P.size(), P) == 0) return I;
    }
    return LB_ERR;
}

// ---- input -----------------------------------------------------------------------------------------------
void TCustomListBox::KeyNative(WORD Key)
{
    int N = Count();
    if (N == 0) return;
    int Cur = Multi() ? FCaretIndex : FCurSel;
    int Page = std::max(1, ItemsPerPage() - (FColumns > 0 ? 0 : 1));
    int Rows = RowsPerColumn();
    int T = Cur;
    switch (Key) {
    case VK_UP: T = Cur - 1; break;
    case VK_DOWN: T = Cur + 1; break;
    case VK_LEFT: T = FColumns > 0 ? Cur - Rows : Cur - 1; break;
    case VK_RIGHT: T = FColumns > 0 ? Cur + Rows : Cur + 1; break;
    case VK_PRIOR: T = Cur - Page; break;
    case VK_NEXT: T = Cur + Page; break;
    case VK_HOME: T = 0; break;
    case VK_END: T = N - 1; break;
    case VK_SPACE:
        if (Multi() && FCaretIndex >= 0 && FCaretIndex < N) {
            FList[size_t(FCaretIndex)].Selected = !FList[size_t(FCaretIndex)].Selected;
            InvalidateItem(FCaretIndex);
            NotifyCommand(LBN_SELCHANGE);
        }
        return;
    default: return;
    }
    if (Cur < 0) T = 0;
    T = std::clamp(T, 0, N - 1);
    if (Multi() && FExtendedSelect && KeyHeld(VK_SHIFT)) {
        SelectRange(FAnchorIndex, T);
        NotifyCommand(LBN_SELCHANGE);
    } else if (FMultiSelect && !FExtendedSelect) {
        InvalidateItem(FCaretIndex);
        FCaretIndex = T;
        InvalidateItem(T);
        EnsureVisible(T);
    } else {
        SelectNative(T, true);
    }
}

void TCustomListBox::CharNative(char32_t C)
{
    if (C < 32 || !FAutoComplete) return;
    bool Again;
    String Text = FTypeAhead.Add(C, GetMessageTime(), Again);
    int Cur = Multi() ? FCaretIndex : FCurSel;
    // a longer prefix is first tried at the current item itself
    int Found = FindPrefix(Again ? Cur - 1 : Cur, Text, false);
    if (Found >= 0) SelectNative(Found, true);
}

void TCustomListBox::MouseNative(TMessage& M)
{
    if (!FHandle) return;
    TPoint P = MessageAs<TWMMouse>(M).Pos();
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        HWND Root = GetAncestor(FHandle, GA_ROOT);
        bool Popup = Root && (GetWindowLong(Root, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
        if (!Popup && GetFocus() != FHandle) ::SetFocus(FHandle);
        int I = ItemAtPos(P, true);
        FPressedOnItem = I >= 0;
        if (I >= 0) {
            if (Multi() && FExtendedSelect && (M.WParam & MK_SHIFT)) {
                SelectRange(FAnchorIndex, I);
            } else if ((FMultiSelect && !FExtendedSelect) || (Multi() && (M.WParam & MK_CONTROL))) {
                FList[size_t(I)].Selected = !FList[size_t(I)].Selected;
                InvalidateItem(I);
                InvalidateItem(FCaretIndex);
                FCaretIndex = FAnchorIndex = I;
            } else {
                SelectNative(I, false);
            }
        }
        FTracking = true;
        FLastMouse = P;
        SetCapture(FHandle);
        if (M.Msg == WM_LBUTTONDBLCLK && I >= 0) NotifyCommand(LBN_DBLCLK);
        break;
    }
    case WM_MOUSEMOVE: {
        if (!FTracking) break;
        FLastMouse = P;
        TRect C = ClientRect();
        if (P.Y < C.Top || P.Y >= C.Bottom || (FColumns > 0 && (P.X < C.Left || P.X >= C.Right))) {
            SetTimer(FHandle, TrackTimer, 50);
            break;
        }
        KillTimer(FHandle, TrackTimer);
        int I = ItemAtPos(P, true);
        if (I < 0) break;
        FPressedOnItem = true;
        if (FMultiSelect && !FExtendedSelect) break;
        if (Multi()) SelectRange(FAnchorIndex, I);
        else SelectNative(I, false);
        break;
    }
    case WM_LBUTTONUP:
        if (!FTracking) break;
        FTracking = false;
        KillTimer(FHandle, TrackTimer);
        if (GetCapture() == FHandle) ReleaseCapture();
        if (FPressedOnItem) NotifyCommand(LBN_SELCHANGE);
        FPressedOnItem = false;
        break;
    }
}

// ---- the native list box's messages -------------------------------------------------------------------
bool TCustomListBox::NativeProc(TMessage& M)
{
    auto Text = [&]() { return String(M.LParam ? reinterpret_cast<const char*>(M.LParam) : ""); };
    int N = Count();
    int I = int(intptr_t(M.WParam));
    switch (M.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        int At = N;
        if (M.Msg == LB_INSERTSTRING) {
            At = I < 0 || I > N ? N : I;
        } else if (FSorted) {
            String S = Text();
            At = int(std::upper_bound(FList.begin(), FList.end(), S,
                                      [](const String& A, const TItem& B) { return CompareText(A, B.Text) < 0; }) -
                     FList.begin());
        }
        FList.insert(FList.begin() + At, TItem{Text(), nullptr, false});
        if (FCurSel >= At) ++FCurSel;
        if (FCaretIndex >= At && N > 0) ++FCaretIndex;
        if (FAnchorIndex >= At) ++FAnchorIndex;
        EraseChanged();
        M.Result = At;
        return true;
    }
    case LB_DELETESTRING:
        if (I < 0 || I >= N) {
            M.Result = LB_ERR;
            return true;
        }
        FList.erase(FList.begin() + I);
        if (FCurSel == I) FCurSel = -1;
        else if (FCurSel > I) --FCurSel;
        if (FCaretIndex > I || FCaretIndex >= Count()) FCaretIndex = std::max(0, FCaretIndex - 1);
        if (FAnchorIndex >= I) FAnchorIndex = std::max(-1, FAnchorIndex - 1);
        FTop = std::clamp(FTop, 0, MaxTopIndex());
        EraseChanged();
        M.Result = Count();
        return true;
    case LB_RESETCONTENT:
        FList.clear();
        FCurSel = -1;
        FCaretIndex = 0;
        FAnchorIndex = -1;
        FTop = 0;
        EraseChanged();
        return true;
    case LB_GETCOUNT: M.Result = N; return true;
    case LB_GETTEXT:
        if (I < 0 || I >= N) {
            M.Result = LB_ERR;
            return true;
        }
        if (M.LParam) {
            const String& S = FList[size_t(I)].Text;
            std::copy(S.begin(), S.end(), reinterpret_cast<char*>(M.LParam));
            reinterpret_cast<char*>(M.LParam)[S.size()] = 0;
        }
        M.Result = LRESULT(FList[size_t(I)].Text.size());
        return true;
    case LB_GETTEXTLEN: M.Result = I < 0 || I >= N ? LB_ERR : LRESULT(FList[size_t(I)].Text.size()); return true;
    case LB_GETITEMDATA: M.Result = I < 0 || I >= N ? LB_ERR : LRESULT(FList[size_t(I)].Object); return true;
    case LB_SETITEMDATA:
        if (I < 0 || I >= N) {
            M.Result = LB_ERR;
            return true;
        }
        FList[size_t(I)].Object = reinterpret_cast<TObject*>(M.LParam);
        return true;
    case LB_SETCURSEL:
        if (Multi()) {
            M.Result = LB_ERR;
            return true;
        }
        InvalidateItem(FCurSel);
        if (I < 0 || I >= N) {
            FCurSel = -1;
            M.Result = I == -1 ? 0 : LB_ERR;
            return true;
        }
        FCurSel = I;
        FCaretIndex = FAnchorIndex = I;
        InvalidateItem(I);
        EnsureVisible(I);
        M.Result = I;
        return true;
    case LB_GETCURSEL: M.Result = Multi() ? FCaretIndex : FCurSel; return true;
    case LB_SETSEL: {
        if (!Multi()) {
            M.Result = LB_ERR;
            return true;
        }
        int Item = int(M.LParam);
        for (int K = 0; K < N; ++K)
            if (Item == -1 || K == Item) {
                FList[size_t(K)].Selected = M.WParam != 0;
                InvalidateItem(K);
            }
        if (Item >= 0 && Item < N && M.WParam) {
            InvalidateItem(FCaretIndex);
            FCaretIndex = FAnchorIndex = Item;
            EnsureVisible(Item);
        }
        return true;
    }
    case LB_GETSEL:
        if (I < 0 || I >= N) M.Result = LB_ERR;
        else M.Result = Multi() ? FList[size_t(I)].Selected : I == FCurSel;
        return true;
    case LB_GETSELCOUNT:
        M.Result = Multi() ? LRESULT(std::count_if(FList.begin(), FList.end(), [](const TItem& X) { return X.Selected; }))
                           : LB_ERR;
        return true;
    case LB_SETCARETINDEX:
        if (I < 0 || I >= N) {
            M.Result = LB_ERR;
            return true;
        }
        InvalidateItem(FCaretIndex);
        FCaretIndex = I;
        InvalidateItem(I);
        EnsureVisible(I);
        return true;
    case LB_GETCARETINDEX: M.Result = N ? FCaretIndex : -1; return true;
    case LB_GETTOPINDEX: M.Result = FTop; return true;
    case LB_SETTOPINDEX:
        if (I < 0 || (I >= N && N > 0)) {
            // beyond the items: the last full page
            SetTop(MaxTopIndex());
            M.Result = I < 0 ? LB_ERR : 0;
            return true;
        }
        SetTop(I);
        return true;
    case LB_GETITEMHEIGHT:
        M.Result = FItemHeight > 0 ? FItemHeight : LineHeight() + 1;
        return true;
    case LB_SETITEMHEIGHT: {
        int H = int(LOWORD(uintptr_t(M.LParam)));
        if (H >= 1 && H != FItemHeight) {
            FItemHeight = H;
            FTop = std::clamp(FTop, 0, MaxTopIndex());
            EraseChanged();
        }
        return true;
    }
    case LB_GETITEMRECT: {
        if (I < 0 || (I >= N && !(N == 0 && I == 0))) {
            M.Result = LB_ERR;
            return true;
        }
        int H = ItemHeight();
        TRect C = ClientRect();
        TRect R;
        if (FColumns > 0) {
            int Rows = RowsPerColumn();
            int ColW = C.Width() / FColumns;
            int Rel = I - FTop;
            int Col = Rel >= 0 ? Rel / Rows : -((-Rel + Rows - 1) / Rows);
            int Row = ((I % Rows) + Rows) % Rows;
            R = Bounds(Col * ColW, Row * H, ColW, H);
        } else {
            R = Bounds(0, (I - FTop) * H, C.Width(), H);
        }
        if (M.LParam) *reinterpret_cast<TRect*>(M.LParam) = R;
        return true;
    }
    case LB_ITEMFROMPOINT: {
        TPoint P = LParamToPoint(M.LParam);
        int H = std::max(1, ItemHeight());
        TRect C = ClientRect();
        int Item;
        bool Outside = !C.Contains(P);
        if (FColumns > 0) {
            int ColW = std::max(1, C.Width() / FColumns);
            Item = FTop + std::max(0, P.X) / ColW * RowsPerColumn() + std::clamp(P.Y / H, 0, RowsPerColumn() - 1);
        } else {
            Item = FTop + (P.Y < 0 ? -1 : P.Y / H);
        }
        if (Item >= N) {
            Item = std::max(0, N - 1);
            Outside = true;
        }
        if (Item < 0) {
            Item = 0;
            Outside = true;
        }
        M.Result = MAKELPARAM(Item, Outside ? 1 : 0);
        return true;
    }
    case LB_FINDSTRING: M.Result = FindPrefix(I, Text(), false); return true;
    case LB_FINDSTRINGEXACT: M.Result = FindPrefix(I, Text(), true); return true;
    case LB_SELECTSTRING: {
        int F = FindPrefix(I, Text(), false);
        if (F >= 0) {
            if (Multi()) Perform(LB_SETSEL, 1, F);
            else Perform(LB_SETCURSEL, WPARAM(F));
        }
        M.Result = F;
        return true;
    }
    case LB_SETCOLUMNWIDTH:
    case LB_SETTABSTOPS:
        M.Result = 1;
        return true;
    case WM_KEYDOWN: KeyNative(WORD(M.WParam)); return true;
    case WM_CHAR: CharNative(char32_t(M.WParam)); return true;
    case WM_VSCROLL:
    case WM_HSCROLL: {
        bool Horz = M.Msg == WM_HSCROLL;
        if (Horz != (FColumns > 0)) return true;
        int Step = Horz ? RowsPerColumn() : 1;
        int Page = Horz ? ItemsPerPage() : std::max(1, ItemsPerPage() - 1);
        switch (LOWORD(M.WParam)) {
        case SB_LINEUP: SetTop(FTop - Step); break;
        case SB_LINEDOWN: SetTop(FTop + Step); break;
        case SB_PAGEUP: SetTop(FTop - Page); break;
        case SB_PAGEDOWN: SetTop(FTop + Page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetTop(int(HIWORD(M.WParam)) * Step); break;
        case SB_TOP: SetTop(0); break;
        case SB_BOTTOM: SetTop(MaxTopIndex()); break;
        }
        return true;
    }
    case WM_MOUSEWHEEL:
        // the list does not scroll itself on the wheel; its owner decides
        return true;
    case WM_TIMER:
        if (M.WParam == TrackTimer) {
            if (!FTracking) {
                KillTimer(FHandle, TrackTimer);
                return true;
            }
            TRect C = ClientRect();
            int Cur = Multi() ? FCaretIndex : FCurSel;
            int Step = FColumns > 0 ? RowsPerColumn() : 1;
            bool Back = FColumns > 0 ? FLastMouse.X < C.Left : FLastMouse.Y < C.Top;
            int T = std::clamp(Cur + (Back ? -Step : Step), 0, std::max(0, Count() - 1));
            if (Count()) {
                if (Multi()) SelectRange(FAnchorIndex, T);
                else SelectNative(T, false);
                FPressedOnItem = true;
            }
            return true;
        }
        break;
    case WM_CAPTURECHANGED:
        if (FTracking && reinterpret_cast<HWND>(M.LParam) != FHandle) {
            FTracking = false;
            KillTimer(FHandle, TrackTimer);
        }
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateItem(FCaretIndex);
        NotifyCommand(M.Msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return true;
    case WM_SIZE:
        FTop = std::clamp(FTop, 0, MaxTopIndex());
        EraseChanged();
        return true;
    case WM_SETFONT:
        TNativeControl::NativeProc(M);
        EraseChanged();
        return true;
    }
    return TNativeControl::NativeProc(M);
}

// ---- painting --------------------------------------------------------------------------------------------
void TCustomListBox::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    HBRUSH Brush = QueryColors(DC, CN_CTLCOLORLISTBOX);
    TRect C = ClientRect();
    SelectObject(DC, NativeFont());
    bool Focus = FHandle && GetFocus() == FHandle;
    bool OwnerDraw = FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw;
    int Last = std::min(Count() - 1, FTop + ItemsPerPage() + (FColumns > 0 ? 0 : 1) - 1);
    TRegion Drawn;
    for (int I = FTop; I <= Last; ++I) {
        TRect R = ItemRect(I);
        if (R.Top >= C.Bottom) break;
        UINT State = 0;
        bool Sel = Multi() ? FList[size_t(I)].Selected : I == FCurSel;
        if (Sel) State |= ODS_SELECTED;
        if (Focus && I == FCaretIndex) State |= ODS_FOCUS;
        if (!Enabled()) State |= ODS_DISABLED;
        if (OwnerDraw) {
            DRAWITEMSTRUCT D;
            D.CtlType = ODT_LISTBOX;
            D.CtlID = UINT(ControlId());
            D.itemID = UINT(I);
            D.itemAction = ODA_DRAWENTIRE;
            D.itemState = State;
            D.hwndItem = FHandle;
            D.hDC = DC;
            D.rcItem = R;
            D.itemData = uintptr_t(FList[size_t(I)].Object);
            Perform(CN_DRAWITEM, WPARAM(D.CtlID), LPARAM(&D));
        } else {
            TSaveDC KeepItem(DC);
            IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
            if (Sel) {
                FillSolid(DC, R, clHighlight);
                SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else if (Brush) {
                FillRect(DC, &R, Brush);
            }
            SetBkMode(DC, TRANSPARENT);
            TRect T = R;
            T.Left += 2;
            DrawItemText(DC, FList[size_t(I)].Text, T);
            if (State & ODS_FOCUS) ::DrawFocusRect(DC, &R);
        }
        Drawn |= TRegion(R);
    }
    // the rest of the client area
    TRegion Rest = TRegion(C) - Drawn;
    if (Brush)
        for (const TRect& R : Rest.Rects()) FillRect(DC, &R, Brush);
}
