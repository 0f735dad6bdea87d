// The scroll-state calls over CM_SCROLLSTATE.
#include "platform/windows/ScrollInfo.h"

#include <algorithm>

int TScrollAxis::MaxPos() const
{
    int M = Page > 0 ? Max - int(Page) + 1 : Max;
    return std::max(Min, M);
}

void TScrollAxis::Set(const SCROLLINFO& Info)
{
    if (Info.fMask & SIF_RANGE) {
        Min = Info.nMin;
        Max = Info.nMax;
    }
    if (Info.fMask & SIF_PAGE) Page = Info.nPage;
    if (Info.fMask & SIF_POS) Pos = Info.nPos;
    Pos = std::clamp(Pos, Min, MaxPos());
}

void TScrollAxis::Get(SCROLLINFO& Info) const
{
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = Min;
        Info.nMax = Max;
    }
    if (Info.fMask & SIF_PAGE) Info.nPage = Page;
    if (Info.fMask & SIF_POS) Info.nPos = Pos;
    if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = Pos;
}

bool HandleScrollStateMessage(TMessage& M, TScrollAxis Axes[2])
{
    if (M.Msg != CM_SCROLLSTATE) return false;
    int Bar = int(M.WParam & 0xFFFF);
    auto* Info = reinterpret_cast<SCROLLINFO*>(M.LParam);
    if ((Bar != SB_HORZ && Bar != SB_VERT) || !Info) {
        M.Result = 0;
        return true;
    }
    if (M.WParam & CM_SCROLLSTATE_SET) {
        Axes[Bar].Set(*Info);
        M.Result = Axes[Bar].Pos + 1;
    } else {
        Axes[Bar].Get(*Info);
        M.Result = 1;
    }
    return true;
}

bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info)
{
    if (!Info || !IsWindow(Wnd)) return false;
    return SendMessage(Wnd, CM_SCROLLSTATE, WPARAM(Bar), LPARAM(Info)) != 0;
}

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, bool)
{
    if (!Info || !IsWindow(Wnd)) return 0;
    SCROLLINFO Copy = *Info;
    LRESULT R = SendMessage(Wnd, CM_SCROLLSTATE, WPARAM(Bar) | CM_SCROLLSTATE_SET, LPARAM(&Copy));
    return R ? int(R - 1) : 0;
}

int GetScrollPos(HWND Wnd, int Bar)
{
    SCROLLINFO I;
    I.fMask = SIF_POS;
    return GetScrollInfo(Wnd, Bar, &I) ? I.nPos : 0;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw)
{
    int Old = GetScrollPos(Wnd, Bar);
    SCROLLINFO I;
    I.fMask = SIF_POS;
    I.nPos = Pos;
    SetScrollInfo(Wnd, Bar, &I, Redraw);
    return Old;
}

bool GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max)
{
    SCROLLINFO I;
    I.fMask = SIF_RANGE;
    bool Ok = GetScrollInfo(Wnd, Bar, &I);
    if (Min) *Min = Ok ? I.nMin : 0;
    if (Max) *Max = Ok ? I.nMax : 0;
    return Ok;
}

bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw)
{
    SCROLLINFO I;
    I.fMask = SIF_RANGE;
    I.nMin = Min;
    I.nMax = Max;
    if (!IsWindow(Wnd)) return false;
    SetScrollInfo(Wnd, Bar, &I, Redraw);
    return true;
}

bool GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info)
{
    if (!Info || !IsWindow(Wnd) || (Object != OBJID_HSCROLL && Object != OBJID_VSCROLL)) return false;
    *Info = SCROLLBARINFO{};
    for (DWORD& S : Info->rgstate) S = STATE_SYSTEM_INVISIBLE;
    return true;
}

bool ShowScrollBar(HWND Wnd, int, bool) { return IsWindow(Wnd); }
