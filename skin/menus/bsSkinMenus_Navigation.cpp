// How an open menu level follows the pointer (polled every 50 ms; the window never
// captures the mouse), scrolls a list that does not fit, and answers the keys that its
// form frame passes on while the menu is open.
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

#include <cctype>

namespace {

// The character after the first single ampersand of a caption, upper-cased; 0 for none.
int AccelOf(const String& Caption)
{
    for (size_t I = 0; I + 1 < Caption.size(); ++I)
        if (Caption[I] == '&') {
            if (Caption[I + 1] == '&') {
                ++I;
                continue;
            }
            unsigned char C = static_cast<unsigned char>(Caption[I + 1]);
            return C < 0x80 ? std::toupper(C) : 0;
        }
    return 0;
}

}  // namespace

// ---- the pointer ---------------------------------------------------------------------------------

bool TbsSkinPopupWindow::CursorInWindow(TPoint P) const
{
    return HandleAllocated() && WindowFromPoint(P) == const_cast<TbsSkinPopupWindow*>(this)->Handle();
}

void TbsSkinPopupWindow::MouseTimerTick()
{
    if (!FVisible) return;
    const TPoint P = GetCursorPos();
    const TPoint C = ScreenToClient(P);
    if (C.X != OMX || C.Y != OMY) {
        OMX = C.X;
        OMY = C.Y;
        if (CursorInWindow(P)) {
            TestActive(C.X, C.Y);
        } else if (Scroll) {
            ScrollCode = 0;
            RedrawMarkers();
        }
    }
}

bool TbsSkinPopupWindow::PointOnItem(int X, int Y) const
{
    for (auto& I : ItemList)
        if (I->FVisible && I->ObjectRect.Contains(TPoint(X, Y))) return true;
    return false;
}

void TbsSkinPopupWindow::TestActive(int X, int Y)
{
    const TPoint P(X, Y);
    if (Scroll) {
        const TRect U(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10);
        const TRect D(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
        if (U.Contains(P) && ScrollCode == 0 && CanScroll(1)) {
            ScrollCode = 1;
            RedrawMarkers();
            StartScroll();
        } else if (D.Contains(P) && ScrollCode == 0 && CanScroll(2)) {
            ScrollCode = 2;
            RedrawMarkers();
            StartScroll();
        } else if (ScrollCode != 0 && !U.Contains(P) && !D.Contains(P)) {
            StopScroll();
        }
    }
    if (ItemList.empty()) return;
    OldActiveItem = ActiveItem;
    for (int I = 0; I < ItemCount(); ++I)
        if (Item(I)->FVisible && Item(I)->ObjectRect.Contains(P)) {
            ActiveItem = I;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (OldActiveItem >= ItemCount()) OldActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem != -1 && Item(ActiveItem)->WaitCommand) {
            TbsSkinMenuItem* I = Item(ActiveItem);
            I->WaitCommand = false;
            if (I->HasSubMenu()) I->MouseEnter(false);
        }
        return;
    }
    if (OldActiveItem != -1 && Item(OldActiveItem)->Usable()) Item(OldActiveItem)->MouseLeave();
    if (ActiveItem != -1 && Item(ActiveItem)->Usable()) Item(ActiveItem)->MouseEnter(false);
}

void TbsSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FVisible) return;
    TestActive(X, Y);
    if (ActiveItem != -1 && Button == mbLeft && PointOnItem(X, Y) && !Item(ActiveItem)->IsSeparator())
        Item(ActiveItem)->MouseDown(X, Y);
}

// ---- scrolling ---------------------------------------------------------------------------------

bool TbsSkinPopupWindow::CanScroll(int Code) const
{
    if (Code == 1) return VisibleStartIndex > 0;
    if (Code == 2) return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
    return false;
}

void TbsSkinPopupWindow::StartScroll()
{
    const int Level = ParentMenu->IndexOfPopup(this);
    if (Level + 1 < ParentMenu->LevelCount()) ParentMenu->ClosePopups(Level + 1);
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll()
{
    ScrollCode = 0;
    RedrawMarkers();
    if (HandleAllocated()) KillTimer(Handle(), 1);
}

void TbsSkinPopupWindow::ScrollTimerTick()
{
    if (ScrollCode == 1) {
        if (CanScroll(1)) ScrollUp(false);
        else StopScroll();
    } else if (ScrollCode == 2) {
        if (CanScroll(2)) ScrollDown(false);
        else StopScroll();
    }
}

int TbsSkinPopupWindow::LastPageStart() const
{
    int Space = NewItemsRect.Bottom - 10;
    int N = 0;
    for (int I = ItemCount() - 1; I >= 0; --I) {
        Space -= ItemHeight(I);
        if (Space < 10) break;
        ++N;
    }
    return ItemCount() - N;
}

void TbsSkinPopupWindow::ScrollUp(bool Wrap)
{
    int Old = VisibleStartIndex;
    if (VisibleStartIndex > 0) --VisibleStartIndex;
    else if (Wrap) VisibleStartIndex = LastPageStart();
    if (VisibleStartIndex == Old) return;
    ArrangeItems();
    Repaint();
}

void TbsSkinPopupWindow::ScrollDown(bool Wrap)
{
    int Old = VisibleStartIndex;
    if (VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1) ++VisibleStartIndex;
    else if (Wrap) VisibleStartIndex = 0;
    if (VisibleStartIndex == Old) return;
    ArrangeItems();
    Repaint();
}

// ---- keys -------------------------------------------------------------------------------------------

bool TbsSkinPopupWindow::SelectByAccel(int CharCode)
{
    if (!Enabled()) return false;
    const int Key = CharCode < 0x80 ? std::toupper(CharCode) : CharCode;
    for (int I = 0; I < ItemCount(); ++I) {
        if (AccelOf(Item(I)->MenuItem->Caption()) != Key || Key == 0) continue;
        TbsSkinMenuItem* It = Item(I);
        It->MouseEnter(false);
        OldActiveItem = ActiveItem;
        ActiveItem = I;
        if (OldActiveItem != -1 && OldActiveItem != I && OldActiveItem < ItemCount()) Item(OldActiveItem)->MouseLeave();
        It->MouseDown(0, 0);
        return true;
    }
    return false;
}

void TbsSkinPopupWindow::NextItem()
{
    auto LastInView = [this] { return VisibleStartIndex + VisibleCount - 1; };
    if (Scroll && ScrollCode == 0 && ActiveItem == LastInView()) ScrollDown(true);
    const int Old = ActiveItem;
    int Start = ActiveItem + 1;
    if (Start >= ItemCount()) Start = 0;
    int New = Old;
    for (int I = Start; I < ItemCount(); ++I) {
        if (Item(I)->Usable()) {
            New = I;
            break;
        }
        if (Scroll && ScrollCode == 0 && I == LastInView()) ScrollDown(true);
    }
    if (New == Old) return;
    OldActiveItem = Old;
    ActiveItem = New;
    Item(New)->MouseEnter(true);
    if (Old != -1) Item(Old)->MouseLeave();
}

void TbsSkinPopupWindow::PrevItem()
{
    if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
    const int Old = ActiveItem;
    int Start = ActiveItem - 1;
    if (ActiveItem == -1 || Start < 0) Start = ItemCount() - 1;
    int New = Old;
    for (int I = Start; I >= 0; --I) {
        if (Item(I)->Usable()) {
            New = I;
            break;
        }
        if (Scroll && ScrollCode == 0 && I == VisibleStartIndex) ScrollUp(true);
    }
    if (New == Old) return;
    OldActiveItem = Old;
    ActiveItem = New;
    Item(New)->MouseEnter(true);
    if (Old != -1) Item(Old)->MouseLeave();
}

void TbsSkinPopupWindow::PopupKeyDown(int CharCode)
{
    if (!FVisible) return;
    if (SelectByAccel(CharCode)) return;
    TbsSkinMenu* Chain = ParentMenu;
    switch (CharCode) {
    case VK_RETURN:
        if (ActiveItem != -1) Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_LEFT:
        if (Chain->LevelCount() < 2) break;
        [[fallthrough]];
    case VK_ESCAPE: {
        const int Count = Chain->LevelCount();
        if (Count >= 2) {
            TbsSkinPopupWindow* Prev = Chain->Level(Count - 2);
            if (Prev->ActiveItem != -1 && Prev->ActiveItem < Prev->ItemCount()) {
                TbsSkinMenuItem* I = Prev->Item(Prev->ActiveItem);
                I->Down = false;
                I->ReDraw();
            }
        }
        Chain->ClosePopups(Count - 1);
        break;
    }
    case VK_UP: PrevItem(); break;
    case VK_RIGHT:
        if (ActiveItem != -1 && Item(ActiveItem)->HasSubMenu()) Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_DOWN: NextItem(); break;
    default: break;
    }
}
