// The column header of the list view: a child window of the class "SysHeader32".
#include <algorithm>

#include "platform/forms/ComCtrls.h"

namespace {
constexpr int DividerSlop = 4;

TCustomListView* ListOfHeader(HWND Header)
{
    return dynamic_cast<TCustomListView*>(TWinControl::FindControl(GetParent(Header)));
}
}  // namespace

// ---- the column header window ----------------------------------------------------------------------------
// A child window of the class "SysHeader32" over the list view's columns.  Its state is
// kept by the list view; its procedure can be replaced with SetWindowLong(GWL_WNDPROC).
class TListHeader {
public:
    static LRESULT Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    static void Register();

private:
    static TRect ItemRect(TCustomListView* V, int Index, HWND Wnd);
    static void HitTest(TCustomListView* V, HWND Wnd, HDHITTESTINFO& Info);
    static void Paint(TCustomListView* V, HWND Wnd, HDC DC);
    static LRESULT Notify(TCustomListView* V, HWND Wnd, int Code, int Item, int Width = 0);
};

void TListHeader::Register()
{
    static bool Done = false;
    if (Done) return;
    WNDCLASS C;
    C.lpszClassName = "SysHeader32";
    C.lpfnWndProc = MakeProcInstance(&TListHeader::Proc);
    C.style = CS_DBLCLKS;
    RegisterClass(C);
    Done = true;
}

TRect TListHeader::ItemRect(TCustomListView* V, int Index, HWND Wnd)
{
    std::vector<int> Order = V->ColumnOrder();
    int X = 0;
    TRect C = GetClientRect(Wnd);
    for (int I : Order) {
        int W = V->Column(I)->Width();
        if (I == Index) return {X, 0, X + W, C.Height()};
        X += W;
    }
    return {};
}

void TListHeader::HitTest(TCustomListView* V, HWND Wnd, HDHITTESTINFO& Info)
{
    Info.flags = 0;
    Info.iItem = -1;
    TRect C = GetClientRect(Wnd);
    TPoint P = Info.pt;
    if (P.Y < 0) Info.flags |= HHT_ABOVE;
    if (P.Y >= C.Height()) Info.flags |= HHT_BELOW;
    if (P.X < 0) Info.flags |= HHT_TOLEFT;
    if (P.X >= C.Width()) Info.flags |= HHT_TORIGHT;
    if (Info.flags) return;
    std::vector<int> Order = V->ColumnOrder();
    // a divider: the right edge of a column near the point; of several columns whose
    // edges meet there (hidden columns), the rightmost one that may be widened
    int X = 0, Divider = -1;
    for (int I : Order) {
        X += V->Column(I)->Width();
        if (std::abs(P.X - X) <= DividerSlop && V->Column(I)->Widenable()) Divider = I;
    }
    if (Divider >= 0) {
        Info.flags = HHT_ONDIVIDER;
        Info.iItem = Divider;
        return;
    }
    X = 0;
    for (int I : Order) {
        int W = V->Column(I)->Width();
        if (P.X >= X && P.X < X + W) {
            Info.flags = HHT_ONHEADER;
            Info.iItem = I;
            return;
        }
        X += W;
    }
    Info.flags = HHT_NOWHERE;
}

LRESULT TListHeader::Notify(TCustomListView* V, HWND Wnd, int Code, int Item, int Width)
{
    NMHEADER N;
    N.hdr.hwndFrom = Wnd;
    N.hdr.idFrom = 0;
    N.hdr.code = Code;
    N.iItem = Item;
    N.cxy = Width;
    return V->Perform(WM_NOTIFY, 0, LPARAM(&N));
}

void TListHeader::Paint(TCustomListView* V, HWND Wnd, HDC DC)
{
    TSaveDC Keep(DC);
    TRect C = GetClientRect(Wnd);
    SelectObject(DC, V->NativeFont());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
    int Right = 0;
    for (int I : V->ColumnOrder()) {
        TRect R = ItemRect(V, I, Wnd);
        Right = std::max(Right, R.Right);
        if (R.IsEmpty()) continue;
        bool Pressed = V->FHeaderPressed == I && V->FHeaderPressedIn;
        FillSolid(DC, R, clBtnFace);
        DrawEdgeFrame(DC, R, Pressed, 1);
        TRect T{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
        if (Pressed) T = {T.Left + 1, T.Top + 1, T.Right + 1, T.Bottom + 1};
        TAlignment A = V->Column(I)->Alignment();
        DrawItemText(DC, V->Column(I)->Caption(), T, A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : DT_LEFT);
    }
    if (Right < C.Right) {
        TRect Rest{Right, 0, C.Right, C.Bottom};
        FillSolid(DC, Rest, clBtnFace);
        DrawEdgeFrame(DC, Rest, false, 1);
    }
}

LRESULT TListHeader::Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    TCustomListView* V = ListOfHeader(Wnd);
    if (!V) return DefWindowProc(Wnd, Msg, W, L);
    int Count = V->Columns()->Count();
    switch (Msg) {
    case HDM_GETITEMCOUNT: return Count;
    case HDM_GETITEMRECT:
        if (int(W) < 0 || int(W) >= Count || !L) return 0;
        *reinterpret_cast<TRect*>(L) = ItemRect(V, int(W), Wnd);
        return 1;
    case HDM_HITTEST:
        if (!L) return -1;
        HitTest(V, Wnd, *reinterpret_cast<HDHITTESTINFO*>(L));
        return reinterpret_cast<HDHITTESTINFO*>(L)->iItem;
    case HDM_GETORDERARRAY: {
        std::vector<int> O = V->ColumnOrder();
        if (int(W) < int(O.size()) || !L) return 0;
        std::copy(O.begin(), O.end(), reinterpret_cast<int*>(L));
        return 1;
    }
    case HDM_SETORDERARRAY: {
        if (int(W) != Count || !L) return 0;
        std::vector<int> O(reinterpret_cast<int*>(L), reinterpret_cast<int*>(L) + Count);
        std::vector<int> S = O;
        std::sort(S.begin(), S.end());
        for (int I = 0; I < Count; ++I)
            if (S[size_t(I)] != I) return 0;
        V->FOrder = O;
        V->ColumnsChanged();
        return 1;
    }
    case HDM_ORDERTOINDEX: {
        std::vector<int> O = V->ColumnOrder();
        return int(W) >= 0 && size_t(W) < O.size() ? O[size_t(W)] : int(W);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        HDC DC = reinterpret_cast<HDC>(W);
        PAINTSTRUCT PS;
        if (!DC) DC = BeginPaint(Wnd, &PS);
        if (DC) Paint(V, Wnd, DC);
        if (!W) EndPaint(Wnd, &PS);
        return 0;
    }
    case WM_SETCURSOR: {
        TPoint P = GetCursorPos();
        ScreenToClient(Wnd, P);
        HDHITTESTINFO Info;
        Info.pt = P;
        HitTest(V, Wnd, Info);
        if (Info.flags & HHT_ONDIVIDER) {
            SetCursor(LoadCursor(IDC_SIZEWE));
            return 1;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        HDHITTESTINFO Info;
        Info.pt = LParamToPoint(L);
        HitTest(V, Wnd, Info);
        if (Info.flags & HHT_ONDIVIDER) {
            if (Notify(V, Wnd, HDN_BEGINTRACK, Info.iItem)) return 0;
            V->FHeaderTrack = Info.iItem;
            V->FHeaderTrackX = Info.pt.X;
            V->FHeaderTrackW = V->Column(Info.iItem)->Width();
            SetCapture(Wnd);
        } else if (Info.flags & HHT_ONHEADER) {
            V->FHeaderPressed = Info.iItem;
            V->FHeaderPressedIn = true;
            SetCapture(Wnd);
            InvalidateRect(Wnd, nullptr, false);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        TPoint P = LParamToPoint(L);
        if (V->FHeaderTrack >= 0) {
            TListColumn* Col = V->Column(V->FHeaderTrack);
            int NewW = std::max(0, V->FHeaderTrackW + P.X - V->FHeaderTrackX);
            if (Col->MinWidth() > 0) NewW = std::max(NewW, Col->MinWidth());
            if (Col->MaxWidth() > 0) NewW = std::min(NewW, Col->MaxWidth());
            if (!Notify(V, Wnd, HDN_TRACK, V->FHeaderTrack, NewW)) Col->SetWidth(NewW);
            return 0;
        }
        if (V->FHeaderPressed >= 0) {
            bool In = ItemRect(V, V->FHeaderPressed, Wnd).Contains(P);
            if (In != V->FHeaderPressedIn) {
                V->FHeaderPressedIn = In;
                InvalidateRect(Wnd, nullptr, false);
            }
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        int Track = V->FHeaderTrack, Pressed = V->FHeaderPressed;
        bool In = V->FHeaderPressedIn;
        V->FHeaderTrack = V->FHeaderPressed = -1;
        V->FHeaderPressedIn = false;
        if (GetCapture() == Wnd) ReleaseCapture();
        if (Track >= 0) Notify(V, Wnd, HDN_ENDTRACK, Track, V->Column(Track)->Width());
        if (Pressed >= 0) {
            InvalidateRect(Wnd, nullptr, false);
            if (In) Notify(V, Wnd, HDN_ITEMCLICK, Pressed);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(L) != Wnd && (V->FHeaderTrack >= 0 || V->FHeaderPressed >= 0)) {
            V->FHeaderTrack = V->FHeaderPressed = -1;
            V->FHeaderPressedIn = false;
            InvalidateRect(Wnd, nullptr, false);
        }
        return 0;
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

void RegisterListHeaderClass() { TListHeader::Register(); }
