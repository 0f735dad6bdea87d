// TCustomTabControl and TPageControl: the native tab control (layout of single-line
// and multi-line strips on four sides, item sizes, display rectangle, selection with
// its notices, keys, mouse, strip scrolling, a plain look) and the pages.
#include <algorithm>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"

namespace {
constexpr int TabPadding = 6;  // on each side of a caption
constexpr int Frame = 4;       // the display area's frame
}  // namespace

// ---- TCustomTabControl --------------------------------------------------------------------------------
TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TNativeControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csDoubleClicks};
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    P.Style |= WS_CLIPCHILDREN;
    if (FMultiLine) P.Style |= TCS_MULTILINE;
    if (FStyle == tsButtons) P.Style |= TCS_BUTTONS;
    if (FStyle == tsFlatButtons) P.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FTabPosition == tpBottom) P.Style |= TCS_BOTTOM;
    if (FTabPosition == tpLeft) P.Style |= TCS_VERTICAL;
    if (FTabPosition == tpRight) P.Style |= TCS_VERTICAL | TCS_RIGHT;
    if (FHotTrack) P.Style |= TCS_HOTTRACK;
    if (FRaggedRight) P.Style |= TCS_RAGGEDRIGHT;
    if (FScrollOpposite) P.Style |= TCS_SCROLLOPPOSITE;
    if (FOwnerDraw) P.Style |= TCS_OWNERDRAWFIXED;
    P.WindowClass.style = CS_DBLCLKS;
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TNativeControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        TabsChanged();
    }
}

void TCustomTabControl::TabsChanged()
{
    FLayoutDirty = true;
    int N = TabCount();
    if (FTabIndex >= N) FTabIndex = N - 1;
    FFirstTab = std::clamp(FFirstTab, 0, std::max(0, N - 1));
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
    Realign();
}

void TCustomTabControl::SetTabIndex(int V) { Perform(TCM_SETCURSEL, WPARAM(V)); }

void TCustomTabControl::SetTabPosition(TTabPosition V)
{
    if (FTabPosition == V) return;
    FTabPosition = V;
    TabsChanged();
}

void TCustomTabControl::SetStyle(TTabStyle V)
{
    FStyle = V;
    TabsChanged();
}

void TCustomTabControl::SetMultiLine(bool V)
{
    if (FMultiLine == V) return;
    FMultiLine = V;
    FFirstTab = 0;
    TabsChanged();
}

void TCustomTabControl::SetTabHeight(int V)
{
    FTabHeight = std::max(0, V);
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TCustomTabControl::SetTabWidth(int V)
{
    FTabWidth = std::max(0, V);
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TCustomTabControl::SetRaggedRight(bool V)
{
    FRaggedRight = V;
    TabsChanged();
}

void TCustomTabControl::SetScrollOpposite(bool V)
{
    FScrollOpposite = V;
    TabsChanged();
}

void TCustomTabControl::SetImages(TCustomImageList* V)
{
    FImages = V;
    if (V) V->FreeNotification(this);
    TabsChanged();
}

bool TCustomTabControl::CanChange()
{
    bool Allow = true;
    if (OnChanging) OnChanging(this, Allow);
    return Allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

TRect TCustomTabControl::DisplayRect()
{
    TRect R = ClientRect();
    Perform(TCM_ADJUSTRECT, 0, LPARAM(&R));
    if (FTabPosition == tpTop) R.Top += 2;
    return R;
}

int TCustomTabControl::RowCount() { return int(Perform(TCM_GETROWCOUNT)); }

int TCustomTabControl::IndexOfTabAt(int X, int Y)
{
    TCHITTESTINFO Info;
    Info.pt = {X, Y};
    return int(Perform(TCM_HITTEST, 0, LPARAM(&Info)));
}

TRect TCustomTabControl::TabRect(int Index)
{
    TRect R;
    if (!Perform(TCM_GETITEMRECT, WPARAM(Index), LPARAM(&R))) return {};
    return R;
}

void TCustomTabControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_NOTIFY: {
        auto* H = reinterpret_cast<NMHDR*>(M.LParam);
        if (H && H->code == TCN_SELCHANGING) M.Result = CanChange() ? 0 : 1;
        else if (H && H->code == TCN_SELCHANGE) Change();
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // the native press selects first, then the library's handlers run
        int Tab = IndexOfTabAt(MessageAs<TWMMouse>(M).XPos(), MessageAs<TWMMouse>(M).YPos());
        if (Tab >= 0 && TabEnabled(Tab)) {
            if (FHandle && FTabStop && GetFocus() != FHandle && CanFocus()) ::SetFocus(FHandle);
            SelectByUser(Tab);
        }
        break;
    }
    }
    TNativeControl::Dispatch(M);
}

bool TCustomTabControl::SelectByUser(int Tab)
{
    if (Tab < 0 || Tab >= TabCount() || Tab == FTabIndex) return false;
    NMHDR H;
    if (NotifyRecord(H, TCN_SELCHANGING)) return false;
    Perform(TCM_SETCURSEL, WPARAM(Tab));
    NMHDR C;
    NotifyRecord(C, TCN_SELCHANGE);
    return true;
}

// ---- the native layout ------------------------------------------------------------------------------------
int TCustomTabControl::ItemHeight() { return FItemHeight > 0 ? FItemHeight : LineHeight() + 6; }

const TCustomTabControl::TTabLayout& TCustomTabControl::Layout()
{
    if (!FLayoutDirty) return FLayout;
    FLayoutDirty = false;
    FLayout = TTabLayout{};
    int N = TabCount();
    if (N == 0) {
        FLayout.Rows = 0;
        return FLayout;
    }
    bool Vertical = FTabPosition == tpLeft || FTabPosition == tpRight;
    TRect C = ClientRect();
    int H = ItemHeight();
    int Avail = std::max(1, (Vertical ? C.Height() : C.Width()) - 4);
    std::vector<int> Len(static_cast<size_t>(N));
    for (int I = 0; I < N; ++I) {
        int L = FItemWidth > 0 ? FItemWidth : TextSize(TabCaption(I)).cx + 2 * TabPadding;
        if (FItemWidth <= 0 && FImages && TabImage(I) >= 0) L += (Vertical ? FImages->Height() : FImages->Width()) + 3;
        Len[size_t(I)] = L;
    }
    // rows: the tabs in order, a new row when the next one no longer fits
    std::vector<std::vector<int>> Rows(1);
    int Used = 0;
    for (int I = 0; I < N; ++I) {
        if (FMultiLine && !Rows.back().empty() && Used + Len[size_t(I)] > Avail) {
            Rows.emplace_back();
            Used = 0;
        }
        Rows.back().push_back(I);
        Used += Len[size_t(I)];
    }
    // the row of the selected tab lies next to the display area
    int SelRow = 0;
    for (size_t R = 0; R < Rows.size(); ++R)
        if (std::find(Rows[R].begin(), Rows[R].end(), FTabIndex) != Rows[R].end()) SelRow = int(R);
    if (Rows.size() > 1 && SelRow != int(Rows.size()) - 1) {
        std::vector<int> Sel = Rows[size_t(SelRow)];
        Rows.erase(Rows.begin() + SelRow);
        Rows.push_back(Sel);
    }
    FLayout.Rows = int(Rows.size());
    FLayout.StripExtent = FLayout.Rows * H;
    FLayout.Rects.assign(size_t(N), TRect());
    for (size_t R = 0; R < Rows.size(); ++R) {
        int Total = 0;
        for (int I : Rows[R]) Total += Len[size_t(I)];
        // full rows are stretched to the width unless ragged
        int Extra = Rows.size() > 1 && !FRaggedRight ? std::max(0, Avail - Total) : 0;
        int A = 2;
        for (size_t K = 0; K < Rows[R].size(); ++K) {
            int I = Rows[R][K];
            int L = Len[size_t(I)] + (Extra ? Extra / int(Rows[R].size()) + (int(K) < Extra % int(Rows[R].size()) ? 1 : 0) : 0);
            int Across = int(R) * H;
            TRect T;
            switch (FTabPosition) {
            case tpTop: T = {A, 2 + Across, A + L, 2 + Across + H}; break;
            case tpBottom: T = {A, C.Height() - 2 - Across - H, A + L, C.Height() - 2 - Across}; break;
            case tpLeft: T = {2 + Across, A, 2 + Across + H, A + L}; break;
            case tpRight: T = {C.Width() - 2 - Across - H, A, C.Width() - 2 - Across, A + L}; break;
            }
            FLayout.Rects[size_t(I)] = T;
            A += L;
        }
    }
    return FLayout;
}

int TCustomTabControl::ScrollOffset()
{
    if (FMultiLine || FFirstTab <= 0) return 0;
    const TTabLayout& L = Layout();
    if (FFirstTab >= int(L.Rects.size())) return 0;
    bool Vertical = FTabPosition == tpLeft || FTabPosition == tpRight;
    return (Vertical ? L.Rects[size_t(FFirstTab)].Top : L.Rects[size_t(FFirstTab)].Left) - 2;
}

// Window rectangle -> display rectangle (Larger: the other way).
TRect TCustomTabControl::Adjust(TRect R, bool Larger)
{
    int Strip = TabCount() ? Layout().StripExtent + 2 : 0;
    int S = Larger ? -1 : 1;
    R.Left += S * Frame;
    R.Top += S * Frame;
    R.Right -= S * Frame;
    R.Bottom -= S * Frame;
    switch (FTabPosition) {
    case tpTop: R.Top += S * Strip; break;
    case tpBottom: R.Bottom -= S * Strip; break;
    case tpLeft: R.Left += S * Strip; break;
    case tpRight: R.Right -= S * Strip; break;
    }
    return R;
}

bool TCustomTabControl::NativeProc(TMessage& M)
{
    int N = TabCount();
    switch (M.Msg) {
    case TCM_GETITEMCOUNT: M.Result = N; return true;
    case TCM_GETCURSEL: M.Result = FTabIndex; return true;
    case TCM_SETCURSEL: {
        int I = int(intptr_t(M.WParam));
        int Old = FTabIndex;
        FTabIndex = I >= 0 && I < N ? I : -1;
        M.Result = Old;
        if (FTabIndex != Old) {
            FLayoutDirty = true;
            // a single-line strip brings the selected tab into view
            if (!FMultiLine && FTabIndex >= 0) {
                const TTabLayout& L = Layout();
                bool Vertical = FTabPosition == tpLeft || FTabPosition == tpRight;
                int Limit = (Vertical ? ClientRect().Height() : ClientRect().Width()) - 2;
                if (FTabIndex < FFirstTab) FFirstTab = FTabIndex;
                while (FFirstTab < FTabIndex) {
                    TRect T = L.Rects[size_t(FTabIndex)];
                    if ((Vertical ? T.Bottom : T.Right) - ScrollOffset() <= Limit) break;
                    ++FFirstTab;
                }
            }
            if (FHandle) InvalidateRect(FHandle, nullptr, true);
            Realign();
        }
        return true;
    }
    case TCM_SETITEMSIZE: {
        int OldW = FItemWidth, OldH = FItemHeight;
        FItemWidth = LOWORD(uintptr_t(M.LParam));
        FItemHeight = HIWORD(uintptr_t(M.LParam));
        M.Result = MAKELPARAM(OldW, OldH);
        TabsChanged();
        return true;
    }
    case TCM_GETITEMRECT: {
        int I = int(intptr_t(M.WParam));
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (I < 0 || I >= N || !R) {
            M.Result = 0;
            return true;
        }
        TRect T = Layout().Rects[size_t(I)];
        int Off = ScrollOffset();
        if (FTabPosition == tpLeft || FTabPosition == tpRight) T = {T.Left, T.Top - Off, T.Right, T.Bottom - Off};
        else T = {T.Left - Off, T.Top, T.Right - Off, T.Bottom};
        *R = T;
        M.Result = 1;
        return true;
    }
    case TCM_ADJUSTRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (R) *R = Adjust(*R, M.WParam != 0);
        return true;
    }
    case TCM_GETROWCOUNT: M.Result = N ? Layout().Rows : 0; return true;
    case TCM_HITTEST: {
        auto* Info = reinterpret_cast<TCHITTESTINFO*>(M.LParam);
        M.Result = -1;
        if (!Info) return true;
        Info->flags = TCHT_NOWHERE;
        for (int I = 0; I < N; ++I) {
            TRect R;
            Perform(TCM_GETITEMRECT, WPARAM(I), LPARAM(&R));
            if (R.Contains(Info->pt)) {
                Info->flags = TCHT_ONITEM;
                M.Result = I;
                break;
            }
        }
        return true;
    }
    case TCM_SETIMAGELIST:
    case TCM_GETIMAGELIST:
        M.Result = 0;  // image lists are set through Images
        return true;
    case WM_HSCROLL:
        if (!FMultiLine && LOWORD(M.WParam) == SB_THUMBPOSITION) {
            FFirstTab = std::clamp(int(HIWORD(M.WParam)), 0, std::max(0, N - 1));
            if (FHandle) InvalidateRect(FHandle, nullptr, true);
        }
        return true;
    case WM_KEYDOWN: {
        bool Vertical = FTabPosition == tpLeft || FTabPosition == tpRight;
        int T = FTabIndex;
        switch (M.WParam) {
        case VK_LEFT: if (!Vertical) --T; break;
        case VK_RIGHT: if (!Vertical) ++T; break;
        case VK_UP: if (Vertical) --T; break;
        case VK_DOWN: if (Vertical) ++T; break;
        case VK_HOME: T = 0; break;
        case VK_END: T = N - 1; break;
        }
        if (T != FTabIndex && T >= 0 && T < N) SelectByUser(T);
        return true;
    }
    case WM_SIZE:
        FLayoutDirty = true;
        if (FHandle) InvalidateRect(FHandle, nullptr, true);
        return true;
    case WM_SETFONT:
        TNativeControl::NativeProc(M);
        TabsChanged();
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateNative();
        return true;
    }
    return TNativeControl::NativeProc(M);
}

void TCustomTabControl::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    SelectObject(DC, NativeFont());
    int N = TabCount();
    TRect C = ClientRect();
    if (N > 0) {
        TRect D = Adjust(C, false);
        TRect F{D.Left - 2, D.Top - 2, D.Right + 2, D.Bottom + 2};
        if (FStyle == tsTabs) DrawEdgeFrame(DC, F, false, 2);
    }
    SetBkMode(DC, TRANSPARENT);
    bool Focus = FHandle && GetFocus() == FHandle;
    for (int I = 0; I < N; ++I) {
        TRect R = TabRect(I);
        if (R.IsEmpty() || R.Right <= 0 || R.Left >= C.Right) continue;
        bool Sel = I == FTabIndex;
        TSaveDC KeepTab(DC);
        IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
        FillSolid(DC, R, Sel && FStyle != tsTabs ? cl3DLight : FColor);
        if (FStyle != tsFlatButtons || Sel) DrawEdgeFrame(DC, R, Sel && FStyle != tsTabs, 1);
        TRect T{R.Left + TabPadding, R.Top, R.Right - TabPadding, R.Bottom};
        if (FImages && TabImage(I) >= 0) {
            ImageList_Draw(FImages->Handle(), TabImage(I), DC, T.Left, T.Top + (T.Height() - FImages->Height()) / 2,
                           ILD_TRANSPARENT);
            T.Left += FImages->Width() + 3;
        }
        SetTextColor(DC, GetSysColor(TabEnabled(I) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawItemText(DC, TabCaption(I), T, DT_CENTER);
        if (Sel && Focus) {
            TRect F{R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3};
            ::DrawFocusRect(DC, &F);
        }
    }
}

// ---- TTabSheet ---------------------------------------------------------------------------------------------
TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = {csAcceptsControls};
    FAlign = alClient;
    FVisible = false;
}

TTabSheet::~TTabSheet()
{
    Destroying();
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* V)
{
    if (FPageControl == V) return;
    if (FPageControl) FPageControl->RemovePage(this);
    if (V) V->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl) return -1;
    for (int I = 0; I < FPageControl->PageCount(); ++I)
        if (FPageControl->Pages(I) == this) return I;
    return -1;
}

void TTabSheet::SetPageIndex(int V)
{
    if (FPageControl) FPageControl->MovePage(this, V);
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible) return -1;
    int T = 0;
    for (int I = 0; I < FPageControl->PageCount(); ++I) {
        if (FPageControl->Pages(I) == this) return T;
        if (FPageControl->Pages(I)->FTabVisible) ++T;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool V)
{
    if (FTabVisible == V) return;
    FTabVisible = V;
    if (FPageControl) FPageControl->PageChanged();
}

void TTabSheet::SetImageIndex(int V)
{
    FImageIndex = V;
    if (FPageControl) FPageControl->PageChanged();
}

void TTabSheet::Dispatch(TMessage& M)
{
    if (M.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->PageChanged();
    TWinControl::Dispatch(M);
}

// ---- TPageControl --------------------------------------------------------------------------------------------
TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
    Destroying();
    for (TTabSheet* P : FPages) P->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int I) const
{
    if (I < 0 || I >= PageCount()) throw EListError(Format("List index out of bounds (%d)", I));
    return FPages[size_t(I)];
}

int TPageControl::TabCount() const
{
    return int(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* P) { return P->FTabVisible; }));
}

TTabSheet* TPageControl::PageOfTab(int Tab) const
{
    int T = 0;
    for (TTabSheet* P : FPages)
        if (P->FTabVisible && T++ == Tab) return P;
    return nullptr;
}

String TPageControl::TabCaption(int Tab) const
{
    TTabSheet* P = PageOfTab(Tab);
    return P ? P->Caption() : String();
}

int TPageControl::TabImage(int Tab) const
{
    TTabSheet* P = PageOfTab(Tab);
    return P ? P->FImageIndex : -1;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    Page->SetParent(this);
    TabsChanged();
    if (!FActivePage && Page->FTabVisible) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto It = std::find(FPages.begin(), FPages.end(), Page);
    if (It == FPages.end()) return;
    TTabSheet* Next = Page == FActivePage ? FindNextPage(Page, true, true) : FActivePage;
    if (Next == Page) Next = nullptr;
    FPages.erase(It);
    Page->FPageControl = nullptr;
    if (!FComponentState.Contains(csDestroying) && Page->Parent() == this && !Page->ComponentState().Contains(csDestroying))
        Page->SetParent(nullptr);
    if (Page == FActivePage) FActivePage = nullptr;
    TabsChanged();
    if (!FComponentState.Contains(csDestroying)) SetActivePage(Next);
}

void TPageControl::MovePage(TTabSheet* Page, int Index)
{
    auto It = std::find(FPages.begin(), FPages.end(), Page);
    if (It == FPages.end()) return;
    FPages.erase(It);
    Index = std::clamp(Index, 0, int(FPages.size()));
    FPages.insert(FPages.begin() + Index, Page);
    TabsChanged();
    FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
}

void TPageControl::PageChanged()
{
    if (FActivePage && !FActivePage->FTabVisible) {
        TTabSheet* Next = FindNextPage(FActivePage, true, true);
        TabsChanged();
        SetActivePage(Next && Next->FTabVisible ? Next : nullptr);
        return;
    }
    TabsChanged();
    FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int V)
{
    SetActivePage(V >= 0 && V < PageCount() ? FPages[size_t(V)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* V)
{
    if (V && V->FPageControl != this) return;
    Perform(TCM_SETCURSEL, WPARAM(V ? V->TabIndex() : -1));
    FActivePage = V;
    ShowActive();
}

void TPageControl::ShowActive()
{
    for (TTabSheet* P : FPages)
        if (P != FActivePage && P->Visible()) P->SetVisible(false);
    if (FActivePage) {
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
    Realign();
}

void TPageControl::Change()
{
    FActivePage = PageOfTab(FTabIndex);
    ShowActive();
    TCustomTabControl::Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Cur, bool GoForward, bool CheckTabVisible)
{
    int N = PageCount();
    if (N == 0) return nullptr;
    int Start = -1;
    for (int I = 0; I < N; ++I)
        if (FPages[size_t(I)] == Cur) Start = I;
    if (Start < 0) Start = GoForward ? N - 1 : 0;
    int I = Start;
    for (int K = 0; K < N; ++K) {
        I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
        TTabSheet* P = FPages[size_t(I)];
        if (!CheckTabVisible || P->FTabVisible) return P;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet* P = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (P && P != FActivePage && P->TabIndex() >= 0) SelectByUser(P->TabIndex());
}

void TPageControl::AdjustClientRect(TRect& Rect)
{
    Rect = DisplayRect();
}

void TPageControl::Dispatch(TMessage& M)
{
    if (M.Msg == CM_DIALOGKEY && M.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && FHandle) {
        HWND F = GetFocus();
        if (F == FHandle || IsChild(FHandle, F)) {
            SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            M.Result = 1;
            return;
        }
    }
    TCustomTabControl::Dispatch(M);
}
