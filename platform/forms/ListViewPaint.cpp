// Painting of the list view: report rows with their cells, grid lines and focus, the
// list and icon views, and the custom-draw requests.
#include <algorithm>

#include "platform/forms/ComCtrls.h"

// ---- painting -----------------------------------------------------------------------------------------------------------------
bool TCustomListView::CustomDrawItem(HDC DC, int Row, TRect R, UINT State)
{
    NMLVCUSTOMDRAW D;
    D.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    D.nmcd.hdc = DC;
    D.nmcd.rc = R;
    D.nmcd.dwItemSpec = uintptr_t(Row);
    D.nmcd.uItemState = State;
    LRESULT Res = NotifyRecord(D.nmcd.hdr, NM_CUSTOMDRAW);
    if (Res & CDRF_SKIPDEFAULT) return false;
    if (Res & CDRF_NEWFONT) {
        SetTextColor(DC, D.clrText);
        SetBkColor(DC, D.clrTextBk);
    }
    return true;
}

void TCustomListView::PaintItemCell(HDC DC, int Row, TRect R, bool Icon, bool Large)
{
    const int Kind = Large ? LVSIL_NORMAL : LVSIL_SMALL;
    HIMAGELIST Images = ImageListOf(Kind);
    int Img = CellImage(Row, 0);
    if (Icon && Images && Img >= 0 && Img < ImageCountOf(Kind)) {
        TRect IR = NativeItemRect(Row, drIcon);
        ImageList_Draw(Images, Img, DC, IR.Left, IR.Top + (IR.Height() - ImageSizeOf(Kind).cy) / 2, ILD_TRANSPARENT);
    }
    (void)R;
}

void TCustomListView::PaintReport(HDC DC)
{
    TRect C = ClientRect();
    int H = RowHeight(), Top = HeaderHeight();
    bool Focus = FHandle && GetFocus() == FHandle;
    std::vector<int> Order = ColumnOrder();
    int Total = TotalWidth();
    int Last = std::min(RowCount() - 1, FTopRow + (C.Height() - Top) / H);
    for (int Row = FTopRow; Row <= Last; ++Row) {
        UINT St = NativeState(Row);
        TRect B = NativeItemRect(Row, drBounds);
        bool Sel = (St & LVIS_SELECTED) && (Focus || !FHideSelection);
        UINT CdState = ((St & LVIS_SELECTED) ? CDIS_SELECTED : 0) | ((St & LVIS_FOCUSED) && Focus ? CDIS_FOCUS : 0);
        if (!FOwnerData && FItems->FItems[size_t(Row)]->Checked()) CdState |= CDIS_CHECKED;
        TSaveDC KeepRow(DC);
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
        SetBkColor(DC, COLORREF(ColorToRGB(FColor)));
        if (!CustomDrawItem(DC, Row, B, CdState)) continue;
        TColor RowBk = TColor(GetBkColor(DC));
        TColor RowFg = TColor(GetTextColor(DC));
        FillSolid(DC, {0, B.Top, std::max(C.Right, B.Right), B.Bottom}, RowBk);
        TColor SelBk = Focus ? clHighlight : clBtnFace, SelFg = Focus ? clHighlightText : clBtnText;
        if (Sel && FRowSelect) FillSolid(DC, B, SelBk);
        SetBkMode(DC, TRANSPARENT);
        for (int Col : Order) {
            TRect Cell = GetSubItemRect(Row, Col);
            if (Cell.IsEmpty() || Cell.Right < 0 || Cell.Left > C.Right) continue;
            TSaveDC KeepCell(DC);
            IntersectClipRect(DC, Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
            TRect T = Cell;
            if (Col == 0) {
                if (FCheckboxes) {
                    bool Checked = !FOwnerData && FItems->FItems[size_t(Row)]->Checked();
                    TRect Box = Bounds(Cell.Left + 2, Cell.Top + (Cell.Height() - 13) / 2, 13, 13);
                    FillSolid(DC, Box, clWindow);
                    DrawEdgeFrame(DC, Box, true, 1);
                    if (Checked) FillSolid(DC, {Box.Left + 3, Box.Top + 3, Box.Right - 3, Box.Bottom - 3}, clWindowText);
                }
                PaintItemCell(DC, Row, Cell, true, false);
                T = NativeItemRect(Row, drLabel);
                if (Sel && !FRowSelect) FillSolid(DC, T, SelBk);
            } else {
                int Img = CellImage(Row, Col);
                HIMAGELIST Small = ImageListOf(LVSIL_SMALL);
                if (Small && Img >= 0 && Img < ImageCountOf(LVSIL_SMALL)) {
                    const TSize Size = ImageSizeOf(LVSIL_SMALL);
                    ImageList_Draw(Small, Img, DC, T.Left + 2, T.Top + (T.Height() - Size.cy) / 2, ILD_TRANSPARENT);
                    T.Left += Size.cx + 2;
                }
            }
            SetTextColor(DC, Sel && (FRowSelect || Col == 0) ? COLORREF(ColorToRGB(SelFg)) : COLORREF(RowFg));
            TAlignment A = FColumns->Count() ? FColumns->Items(Col)->Alignment() : taLeftJustify;
            TRect TT{T.Left + 4, T.Top, T.Right - 4, T.Bottom};
            DrawItemText(DC, CellText(Row, Col), TT,
                         A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : DT_LEFT);
        }
        if ((St & LVIS_FOCUSED) && Focus) {
            TRect F = FRowSelect ? B : NativeItemRect(Row, drLabel);
            ::DrawFocusRect(DC, &F);
        }
    }
    if (FGridLines) {
        TSaveDC Keep(DC);
        int X = -FScrollX;
        int Bottom = C.Bottom;
        for (int Col : Order) {
            X += FColumns->Items(Col)->Width();
            if (FColumns->Items(Col)->Width() > 0) FillSolid(DC, {X - 1, Top, X, Bottom}, clBtnFace);
        }
        for (int Y = Top + H - 1; Y < Bottom; Y += H) FillSolid(DC, {-FScrollX, Y, Total - FScrollX, Y + 1}, clBtnFace);
    }
}

void TCustomListView::PaintOther(HDC DC)
{
    TRect C = ClientRect();
    bool Focus = FHandle && GetFocus() == FHandle;
    bool Large = FViewStyle == vsIcon;
    // only the rows that can be on screen: the list's visible columns, the icon rows
    // between the scroll position and the bottom
    int First = 0, Last = RowCount() - 1;
    if (FViewStyle == vsList) {
        const int Rows = ItemsPerColumn(), Cols = C.Width() / std::max(1, ListColumnWidth()) + 1;
        First = FTopRow / Rows * Rows;
        Last = std::min<int64_t>(Last, int64_t(First) + int64_t(Cols) * Rows - 1);
    } else {
        const int PerRow = ItemsPerIconRow(), CellH = std::max(1, int(IconCell().cy));
        First = std::max(0, FScrollY / CellH) * PerRow;
        Last = std::min<int64_t>(Last, (int64_t(FScrollY + C.Height()) / CellH + 1) * PerRow - 1);
    }
    for (int Row = First; Row <= Last; ++Row) {
        TRect B = NativeItemRect(Row, drBounds);
        if (B.Bottom <= 0 || B.Right <= 0) continue;
        if (B.Top >= C.Bottom || B.Left >= C.Right) {
            if (FViewStyle == vsList || B.Top >= C.Bottom) continue;
        }
        UINT St = NativeState(Row);
        TSaveDC Keep(DC);
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
        SetBkColor(DC, COLORREF(ColorToRGB(FColor)));
        UINT CdState = ((St & LVIS_SELECTED) ? CDIS_SELECTED : 0) | ((St & LVIS_FOCUSED) && Focus ? CDIS_FOCUS : 0);
        if (!CustomDrawItem(DC, Row, B, CdState)) continue;
        FillSolid(DC, B, TColor(GetBkColor(DC)));
        PaintItemCell(DC, Row, B, true, Large);
        TRect L = NativeItemRect(Row, drLabel);
        bool Sel = (St & LVIS_SELECTED) && (Focus || !FHideSelection);
        String Text = CellText(Row, 0);
        if (Sel) {
            TRect S = L;
            if (!Large) S.Right = std::min(L.Right, L.Left + TextSize(Text).cx + 6);
            FillSolid(DC, S, Focus ? clHighlight : clBtnFace);
            SetTextColor(DC, GetSysColor(Focus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        }
        SetBkMode(DC, TRANSPARENT);
        TRect T{L.Left + 3, L.Top, L.Right - 2, L.Bottom};
        if (Large) {
            DrawText(DC, Text.c_str(), int(Text.size()), &T, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
        } else {
            DrawItemText(DC, Text, T);
        }
        if ((St & LVIS_FOCUSED) && Focus) ::DrawFocusRect(DC, &L);
    }
}

void TCustomListView::NativePaint(HDC DC)
{
    if (FLayoutDirty) Layout();
    FFetchedRow = -1;
    TSaveDC Keep(DC);
    SelectObject(DC, NativeFont());
    NMLVCUSTOMDRAW Pre;
    Pre.nmcd.dwDrawStage = CDDS_PREPAINT;
    Pre.nmcd.hdc = DC;
    Pre.nmcd.rc = ClientRect();
    NotifyRecord(Pre.nmcd.hdr, NM_CUSTOMDRAW);
    if (FViewStyle == vsReport) PaintReport(DC);
    else PaintOther(DC);
}
