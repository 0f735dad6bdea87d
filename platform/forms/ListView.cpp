// TCustomListView: the native list view (rows in report, list and icon views,
// selection and focus with change notifications, owner data, keys, mouse, label
// editing, scrolling, painting with custom drawing) and its column header window.
#include <algorithm>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"

namespace {
}  // namespace

void RegisterListHeaderClass();

// ---- construction and properties --------------------------------------------------------------------------
TCustomListView::TCustomListView(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(new TListItems(this)), FColumns(new TListColumns(this)), FCanvas(new TCanvas),
      FTempItem(new TListItem(FItems.get()))
{
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 250;
    FHeight = 150;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
}

TCustomListView::~TCustomListView()
{
    Destroying();
    if (FEditor) {
        delete FEditor;
        FEditor = nullptr;
    }
}

void TCustomListView::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    P.Style |= WS_CLIPCHILDREN;
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
    P.WindowClass.style = CS_DBLCLKS;
}

void TCustomListView::CreateWnd()
{
    TNativeControl::CreateWnd();
    RegisterListHeaderClass();
    FHeader = CreateWindowEx(0, "SysHeader32", "", WS_CHILD | (FViewStyle == vsReport && FShowColumnHeaders ? WS_VISIBLE : 0),
                             0, 0, ClientWidth(), 0, FHandle, 0);
    FLayoutDirty = true;
    Layout();
}

void TCustomListView::DestroyWnd()
{
    if (FEditor) {
        delete FEditor;
        FEditor = nullptr;
    }
    FHeader = nullptr;  // destroyed with the list view's window
    TNativeControl::DestroyWnd();
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TNativeControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSmallImages || AComponent == FLargeImages) FLayoutDirty = true;
    if (AComponent == FSmallImages) FSmallImages = nullptr;
    if (AComponent == FLargeImages) FLargeImages = nullptr;
    if (AComponent == FStateImages) FStateImages = nullptr;
    if (AComponent == FEditor) FEditor = nullptr;
}

void TCustomListView::SetViewStyle(TViewStyle V)
{
    if (FViewStyle == V) return;
    FViewStyle = V;
    FTopRow = FScrollX = FScrollY = 0;
    if (FHeader) ShowWindow(FHeader, V == vsReport && FShowColumnHeaders ? SW_SHOWNA : SW_HIDE);
    FLayoutDirty = true;
    Layout();
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
}

void TCustomListView::SetGridLines(bool V)
{
    FGridLines = V;
    FLayoutDirty = true;
    InvalidateNative();
}

void TCustomListView::SetRowSelect(bool V)
{
    FRowSelect = V;
    InvalidateNative();
}

void TCustomListView::SetShowColumnHeaders(bool V)
{
    if (FShowColumnHeaders == V) return;
    FShowColumnHeaders = V;
    if (FHeader) ShowWindow(FHeader, FViewStyle == vsReport && V ? SW_SHOWNA : SW_HIDE);
    FLayoutDirty = true;
    Layout();
    InvalidateNative();
}

void TCustomListView::SetCheckboxes(bool V)
{
    FCheckboxes = V;
    InvalidateNative();
}

void TCustomListView::SetMultiSelect(bool V)
{
    if (FMultiSelect == V) return;
    FMultiSelect = V;
    if (!V) {
        int Keep = ItemIndex();
        for (int R = 0; R < RowCount(); ++R)
            if (R != Keep && (NativeState(R) & LVIS_SELECTED)) ChangeState(R, 0, LVIS_SELECTED);
    }
}

void TCustomListView::SetHideSelection(bool V)
{
    FHideSelection = V;
    InvalidateNative();
}

void TCustomListView::SetOwnerData(bool V)
{
    if (FOwnerData == V) return;
    if (V) FItems->Clear();
    FOwnerData = V;
    FItems->FCount = 0;
    FOwnerStates.clear();
    ItemsCountChanged();
}

void TCustomListView::SetBorderStyle(TBorderStyle V)
{
    if (FBorderStyle == V) return;
    FBorderStyle = V;
    RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* V)
{
    FSmallImages = V;
    if (V) V->FreeNotification(this);
    SetWindowImageList(LVSIL_SMALL, nullptr);
}

void TCustomListView::SetLargeImages(TCustomImageList* V)
{
    FLargeImages = V;
    if (V) V->FreeNotification(this);
    SetWindowImageList(LVSIL_NORMAL, nullptr);
}

void TCustomListView::SetStateImages(TCustomImageList* V)
{
    FStateImages = V;
    if (V) V->FreeNotification(this);
    SetWindowImageList(LVSIL_STATE, nullptr);
}

// ---- image lists ----------------------------------------------------------------------------------------------
HIMAGELIST TCustomListView::ImageListOf(int Kind) const
{
    if (Kind < LVSIL_NORMAL || Kind > LVSIL_STATE) return nullptr;
    const TCustomImageList* C = Kind == LVSIL_NORMAL ? FLargeImages : Kind == LVSIL_SMALL ? FSmallImages : FStateImages;
    return C ? C->Handle() : FWindowImages[Kind];
}

TSize TCustomListView::ImageSizeOf(int Kind) const
{
    int W = 0, H = 0;
    if (HIMAGELIST L = ImageListOf(Kind)) ImageList_GetIconSize(L, &W, &H);
    return {W, H};
}

int TCustomListView::ImageCountOf(int Kind) const
{
    HIMAGELIST L = ImageListOf(Kind);
    return L ? ImageList_GetImageCount(L) : 0;
}

// A new list of a kind changes the rows' geometry (icon cells, row heights).
void TCustomListView::SetWindowImageList(int Kind, HIMAGELIST List)
{
    FWindowImages[Kind] = List;
    FLayoutDirty = true;
    InvalidateNative();
}

// ---- rows ------------------------------------------------------------------------------------------------------
int TCustomListView::RowCount() const { return FItems->Count(); }

TListItem* TCustomListView::RowItem(int Row)
{
    if (Row < 0 || Row >= RowCount()) return nullptr;
    if (!FOwnerData) return FItems->FItems[size_t(Row)];
    if (FTempItem->FIndex != Row || FFetchedRow != Row) {
        FTempItem->FIndex = Row;
        FTempItem->FCaption.clear();
        FTempItem->FSubItems->BeginUpdate();
        FTempItem->FSubItems->Clear();
        FTempItem->FSubItems->EndUpdate();
        FTempItem->FImageIndex = -1;
        FTempItem->FData = nullptr;
        FFetchedRow = Row;
        if (OnData) OnData(this, FTempItem.get());
    }
    FTempItem->FState = NativeState(Row);
    return FTempItem.get();
}

String TCustomListView::CellText(int Row, int Column)
{
    if (FOwnerData) {
        NMLVDISPINFO D;
        D.item.mask = LVIF_TEXT;
        D.item.iItem = Row;
        D.item.iSubItem = Column;
        NotifyRecord(D.hdr, LVN_GETDISPINFO);
        return D.item.pszText;
    }
    TListItem* I = RowItem(Row);
    if (!I) return String();
    if (Column == 0) return I->Caption();
    return Column - 1 < I->SubItems()->Count() ? I->SubItems()->Strings(Column - 1) : String();
}

int TCustomListView::CellImage(int Row, int Column)
{
    if (FOwnerData) {
        NMLVDISPINFO D;
        D.item.mask = LVIF_IMAGE;
        D.item.iItem = Row;
        D.item.iSubItem = Column;
        NotifyRecord(D.hdr, LVN_GETDISPINFO);
        return D.item.iImage;
    }
    TListItem* I = RowItem(Row);
    if (!I) return -1;
    if (Column == 0) return I->ImageIndex();
    return size_t(Column - 1) < I->FSubItemImages.size() ? I->FSubItemImages[size_t(Column - 1)] : -1;
}

UINT TCustomListView::NativeState(int Row)
{
    if (Row < 0 || Row >= RowCount()) return 0;
    if (FOwnerData) return size_t(Row) < FOwnerStates.size() ? FOwnerStates[size_t(Row)] : 0;
    return FItems->FItems[size_t(Row)]->FState;
}

bool TCustomListView::ChangeState(int Row, UINT State, UINT Mask)
{
    if (Row < 0 || Row >= RowCount()) return false;
    UINT Old = NativeState(Row);
    UINT New = (Old & ~Mask) | (State & Mask);
    if (New == Old) return true;
    NMLISTVIEW N;
    N.iItem = Row;
    N.uChanged = LVIF_STATE;
    N.uOldState = Old;
    N.uNewState = New;
    if (NotifyRecord(N.hdr, LVN_ITEMCHANGING)) return false;
    if (FOwnerData) {
        if (FOwnerStates.size() <= size_t(Row)) FOwnerStates.resize(size_t(RowCount()), 0);
        FOwnerStates[size_t(Row)] = New;
    } else {
        FItems->FItems[size_t(Row)]->FState = New;
    }
    if (New & LVIS_FOCUSED) FFocusRow = Row;
    else if (FFocusRow == Row) FFocusRow = -1;
    InvalidateRow(Row);
    NMLISTVIEW C = N;
    NotifyRecord(C.hdr, LVN_ITEMCHANGED);
    return true;
}

void TCustomListView::SetNativeState(int Row, UINT State, UINT Mask)
{
    if (Row < 0 || Row >= RowCount()) return;
    if ((Mask & LVIS_SELECTED) && (State & LVIS_SELECTED) && !FMultiSelect) {
        // one selected row: the others are deselected first
        for (int R = 0; R < RowCount(); ++R)
            if (R != Row && (NativeState(R) & LVIS_SELECTED)) ChangeState(R, 0, LVIS_SELECTED);
    }
    if ((Mask & LVIS_FOCUSED) && (State & LVIS_FOCUSED) && FFocusRow >= 0 && FFocusRow != Row)
        ChangeState(FFocusRow, 0, LVIS_FOCUSED);
    ChangeState(Row, State, Mask);
}

void TCustomListView::SelectOnly(int Row, bool)
{
    if (Row < 0 || Row >= RowCount()) return;
    // the deselections come first, each with the loss of the focus it held
    for (int R = 0; R < RowCount(); ++R) {
        if (R == Row) continue;
        UINT S = NativeState(R);
        if (S & LVIS_SELECTED) ChangeState(R, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (FFocusRow >= 0 && FFocusRow != Row) ChangeState(FFocusRow, 0, LVIS_FOCUSED);
    ChangeState(Row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FAnchorRow = Row;
    EnsureVisible(Row, false);
}

void TCustomListView::SelectRange(int From, int To)
{
    if (From < 0) From = To;
    int A = std::min(From, To), B = std::max(From, To);
    for (int R = 0; R < RowCount(); ++R)
        if ((R < A || R > B) && (NativeState(R) & LVIS_SELECTED)) ChangeState(R, 0, LVIS_SELECTED);
    for (int R = A; R <= B; ++R) ChangeState(R, LVIS_SELECTED, LVIS_SELECTED);
    SetFocusRow(To);
}

void TCustomListView::SetFocusRow(int Row)
{
    if (FFocusRow >= 0 && FFocusRow != Row) ChangeState(FFocusRow, 0, LVIS_FOCUSED);
    ChangeState(Row, LVIS_FOCUSED, LVIS_FOCUSED);
    EnsureVisible(Row, false);
}

void TCustomListView::ItemChanged(TListItem* Item, TItemChange Change)
{
    int Row = Item->Index();
    if (Item == FTempItem.get()) return;
    InvalidateRow(Row);
    if (Change == ctText && FViewStyle != vsReport) FLayoutDirty = true;
    if (OnChange && FItems->UpdateCount() == 0) OnChange(this, Item, Change);
}

void TCustomListView::ItemsCountChanged()
{
    FFetchedRow = -1;
    if (FOwnerData) FOwnerStates.resize(size_t(RowCount()), 0);
    if (FFocusRow >= RowCount()) FFocusRow = -1;
    if (FAnchorRow >= RowCount()) FAnchorRow = -1;
    if (FItems->UpdateCount() > 0) return;
    FLayoutDirty = true;
    Layout();
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
}

void TCustomListView::ColumnsChanged()
{
    // called while a column is still being built: only mark the layout as stale
    FLayoutDirty = true;
    InvalidateNative();
    if (FHeader) InvalidateRect(FHeader, nullptr, false);
}

std::vector<int> TCustomListView::ColumnOrder() const
{
    int N = FColumns->Count();
    if (int(FOrder.size()) == N) return FOrder;
    std::vector<int> O(static_cast<size_t>(N));
    for (int I = 0; I < N; ++I) O[size_t(I)] = I;
    return O;
}

int TCustomListView::ColumnLeft(int Column)
{
    int X = 0;
    for (int I : ColumnOrder()) {
        if (I == Column) return X;
        X += FColumns->Items(I)->Width();
    }
    return X;
}

int TCustomListView::TotalWidth()
{
    int X = 0;
    for (int I = 0; I < FColumns->Count(); ++I) X += FColumns->Items(I)->Width();
    return X;
}

int TCustomListView::HeaderHeight()
{
    if (FViewStyle != vsReport || !FShowColumnHeaders || !FHeader) return 0;
    return GetWindowRect(FHeader).Height();
}

int TCustomListView::RowHeight()
{
    int H = LineHeight() + 3;
    if (ImageListOf(LVSIL_SMALL)) H = std::max(H, ImageSizeOf(LVSIL_SMALL).cy + 1);
    if (FCheckboxes) H = std::max(H, 16);
    if (FGridLines && FViewStyle == vsReport) ++H;
    return H;
}

int TCustomListView::ListColumnWidth()
{
    // every row's place depends on it: measured once per layout, not once per row
    if (FListColumnWidth >= 0 && !FLayoutDirty) return FListColumnWidth;
    int W = 60;
    int Icon = ImageListOf(LVSIL_SMALL) ? ImageSizeOf(LVSIL_SMALL).cx + 4 : 0;
    int N = std::min(RowCount(), 500);
    for (int R = 0; R < N; ++R) W = std::max(W, std::min(300, TextSize(CellText(R, 0)).cx + Icon + 12));
    FListColumnWidth = W;
    return W;
}

int TCustomListView::ItemsPerColumn()
{
    return std::max(1, ClientRect().Height() / RowHeight());
}

TSize TCustomListView::IconCell()
{
    if (FViewStyle == vsIcon) {
        const bool Large = ImageListOf(LVSIL_NORMAL) != nullptr;
        const TSize Size = ImageSizeOf(LVSIL_NORMAL);
        int Img = Large ? Size.cy : 32;
        return {std::max(76, Large ? Size.cx + 20 : 0), Img + 8 + 2 * LineHeight()};
    }
    int Img = ImageListOf(LVSIL_SMALL) ? ImageSizeOf(LVSIL_SMALL).cx + 4 : 0;
    return {std::max(120, Img + 100), RowHeight()};
}

int TCustomListView::ItemsPerIconRow() { return std::max(1, ClientRect().Width() / std::max(1, IconCell().cx)); }

int TCustomListView::VisibleRowCount()
{
    if (FLayoutDirty) Layout();
    switch (FViewStyle) {
    case vsReport: return std::max(0, (ClientRect().Height() - HeaderHeight()) / RowHeight());
    case vsList: {
        int Cols = std::max(1, ClientRect().Width() / ListColumnWidth());
        return Cols * ItemsPerColumn();
    }
    default: return RowCount();
    }
}

void TCustomListView::Layout()
{
    FLayoutDirty = false;
    FListColumnWidth = -1;
    if (FHandle && FHeader) {
        int H = LineHeight() + 6;
        if (FViewStyle == vsReport && FShowColumnHeaders)
            SetWindowPos(FHeader, nullptr, -FScrollX, 0, ClientWidth() + FScrollX, H, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateScroll();
}

void TCustomListView::UpdateScroll()
{
    TRect C = ClientRect();
    int N = RowCount();
    switch (FViewStyle) {
    case vsReport: {
        int Page = std::max(1, (C.Height() - HeaderHeight()) / RowHeight());
        FTopRow = std::clamp(FTopRow, 0, std::max(0, N - Page));
        int Total = TotalWidth();
        FScrollX = std::clamp(FScrollX, 0, std::max(0, Total - C.Width()));
        SetScrollState(SB_VERT, 0, std::max(0, N - 1), UINT(Page), FTopRow);
        SetScrollState(SB_HORZ, 0, std::max(0, Total - 1), UINT(C.Width()), FScrollX);
        break;
    }
    case vsList: {
        int Rows = ItemsPerColumn();
        int Cols = (N + Rows - 1) / Rows;
        int Visible = std::max(1, C.Width() / ListColumnWidth());
        int TopCol = std::clamp(FTopRow / Rows, 0, std::max(0, Cols - Visible));
        FTopRow = TopCol * Rows;
        SetScrollState(SB_HORZ, 0, std::max(0, Cols - 1), UINT(Visible), TopCol);
        SetScrollState(SB_VERT, 0, 0, 0, 0);
        break;
    }
    default: {
        TSize Cell = IconCell();
        int PerRow = ItemsPerIconRow();
        int Height = ((N + PerRow - 1) / PerRow) * Cell.cy;
        FScrollY = std::clamp(FScrollY, 0, std::max(0, Height - C.Height()));
        SetScrollState(SB_VERT, 0, std::max(0, Height - 1), UINT(C.Height()), FScrollY);
        SetScrollState(SB_HORZ, 0, 0, 0, 0);
        break;
    }
    }
}

TRect TCustomListView::NativeItemRect(int Row, TDisplayCode Code)
{
    if (FLayoutDirty) Layout();
    if (Row < 0 || Row >= RowCount()) return {};
    int Icon = 0, Check = FCheckboxes ? 16 : 0;
    TRect B;
    switch (FViewStyle) {
    case vsReport: {
        int H = RowHeight();
        int Y = HeaderHeight() + (Row - FTopRow) * H;
        B = {-FScrollX, Y, TotalWidth() - FScrollX, Y + H};
        Icon = ImageSizeOf(LVSIL_SMALL).cx;
        if (Code == drBounds) return B;
        int W0 = FColumns->Count() ? FColumns->Items(0)->Width() : TotalWidth();
        int X0 = FColumns->Count() ? ColumnLeft(0) - FScrollX : -FScrollX;
        TRect IconR{X0 + 2 + Check, Y, X0 + 2 + Check + Icon, Y + H};
        TRect Lab{IconR.Right + (Icon ? 2 : 0), Y, std::max(IconR.Right, X0 + W0), Y + H};
        if (Code == drIcon) return IconR;
        if (Code == drLabel) return Lab;
        return FRowSelect ? B : TRect{IconR.Left, Y, Lab.Right, Y + H};
    }
    case vsList: {
        int Rows = ItemsPerColumn(), W = ListColumnWidth(), H = RowHeight();
        int Col = Row / Rows - FTopRow / Rows;
        B = Bounds(Col * W, (Row % Rows) * H, W, H);
        Icon = ImageSizeOf(LVSIL_SMALL).cx;
        break;
    }
    default: {
        TSize Cell = IconCell();
        int PerRow = ItemsPerIconRow();
        B = Bounds((Row % PerRow) * Cell.cx, (Row / PerRow) * Cell.cy - FScrollY, Cell.cx, Cell.cy);
        if (FViewStyle == vsIcon) {
            const bool Large = ImageListOf(LVSIL_NORMAL) != nullptr;
            const TSize Size = ImageSizeOf(LVSIL_NORMAL);
            int ImgW = Large ? Size.cx : 32, ImgH = Large ? Size.cy : 32;
            TRect IconR = Bounds(B.Left + (Cell.cx - ImgW) / 2, B.Top + 2, ImgW, ImgH);
            TRect Lab{B.Left + 2, IconR.Bottom + 2, B.Right - 2, B.Bottom};
            if (Code == drIcon) return IconR;
            if (Code == drLabel) return Lab;
            return B;
        }
        Icon = ImageSizeOf(LVSIL_SMALL).cx;
        break;
    }
    }
    if (Code == drBounds) return B;
    TRect IconR{B.Left + 2 + Check, B.Top, B.Left + 2 + Check + Icon, B.Bottom};
    TRect Lab{IconR.Right + (Icon ? 2 : 0), B.Top, B.Right, B.Bottom};
    if (Code == drIcon) return IconR;
    if (Code == drLabel) return Lab;
    return {IconR.Left, B.Top, Lab.Right, B.Bottom};
}

TRect TCustomListView::GetSubItemRect(int Row, int SubItem)
{
    TRect B = NativeItemRect(Row, drBounds);
    if (FViewStyle != vsReport || SubItem < 0 || SubItem >= FColumns->Count()) return B;
    int X = ColumnLeft(SubItem) - FScrollX;
    return {X, B.Top, X + FColumns->Items(SubItem)->Width(), B.Bottom};
}

void TCustomListView::InvalidateRow(int Row)
{
    if (!FHandle || Row < 0) return;
    TRect R = NativeItemRect(Row, drBounds);
    R.Left = 0;
    R.Right = std::max(R.Right, ClientWidth());
    if (!R.IsEmpty()) InvalidateRect(FHandle, &R, false);
}

void TCustomListView::UpdateItems(int First, int Last)
{
    FFetchedRow = -1;
    for (int R = First; R <= Last; ++R) InvalidateRow(R);
}

void TCustomListView::EnsureVisible(int Row, bool PartialOK)
{
    if (FLayoutDirty) Layout();
    if (Row < 0 || Row >= RowCount()) return;
    TRect C = ClientRect();
    switch (FViewStyle) {
    case vsReport: {
        int Page = std::max(1, (C.Height() - HeaderHeight()) / RowHeight());
        if (Row < FTopRow) SetScrollPosition(FScrollX, Row);
        else if (Row >= FTopRow + Page) SetScrollPosition(FScrollX, PartialOK && Row == FTopRow + Page ? FTopRow : Row - Page + 1);
        break;
    }
    case vsList: {
        int Rows = ItemsPerColumn();
        int Visible = std::max(1, C.Width() / ListColumnWidth());
        int Col = Row / Rows, Top = FTopRow / Rows;
        if (Col < Top) SetScrollPosition(Col, 0);
        else if (Col >= Top + Visible) SetScrollPosition(Col - Visible + 1, 0);
        break;
    }
    default: {
        TRect B = NativeItemRect(Row, drBounds);
        if (B.Top < 0) SetScrollPosition(0, FScrollY + B.Top);
        else if (B.Bottom > C.Height()) SetScrollPosition(0, FScrollY + B.Bottom - C.Height());
        break;
    }
    }
}

// X, Y: report view pixels and rows; list view columns; icon views pixels.
void TCustomListView::SetScrollPosition(int X, int Y)
{
    int OldTop = FTopRow, OldX = FScrollX, OldY = FScrollY;
    switch (FViewStyle) {
    case vsReport:
        FTopRow = Y;
        FScrollX = X;
        break;
    case vsList: FTopRow = X * ItemsPerColumn(); break;
    default: FScrollY = Y; break;
    }
    UpdateScroll();
    if (FTopRow == OldTop && FScrollX == OldX && FScrollY == OldY) return;
    if (FEditor) EndEdit(true);
    if (FScrollX != OldX) Layout();
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
}

void TCustomListView::Scroll(int DX, int DY) { Perform(LVM_SCROLL, WPARAM(DX), LPARAM(DY)); }

// ---- hit testing ------------------------------------------------------------------------------------------------------
int TCustomListView::HitTest(TPoint P, UINT* Flags, int* SubItem)
{
    if (FLayoutDirty) Layout();
    UINT F = LVHT_NOWHERE;
    int Found = -1, Sub = 0;
    int First = 0, Last = RowCount() - 1;
    if (FViewStyle == vsReport) {
        int H = RowHeight();
        int Row = P.Y < HeaderHeight() ? -1 : FTopRow + (P.Y - HeaderHeight()) / H;
        First = Last = Row;
    }
    for (int R = std::max(0, First); R <= Last && R < RowCount(); ++R) {
        TRect B = NativeItemRect(R, drBounds);
        if (!B.Contains(P)) continue;
        Found = R;
        if (NativeItemRect(R, drIcon).Contains(P)) F = LVHT_ONITEMICON;
        else if (FCheckboxes && P.X < NativeItemRect(R, drIcon).Left) F = LVHT_ONITEMSTATEICON;
        else if (NativeItemRect(R, drLabel).Contains(P)) F = LVHT_ONITEMLABEL;
        else F = FRowSelect || FViewStyle != vsReport ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
        if (FViewStyle == vsReport)
            for (int C = 0; C < FColumns->Count(); ++C)
                if (GetSubItemRect(R, C).Contains(P)) Sub = C;
        break;
    }
    if (F == LVHT_NOWHERE && FViewStyle == vsReport && Found >= 0 && !FRowSelect) Found = -1;
    if (Flags) *Flags = F;
    if (SubItem) *SubItem = Sub;
    return Found;
}

TListItem* TCustomListView::GetItemAt(int X, int Y)
{
    UINT F;
    int R = HitTest({X, Y}, &F, nullptr);
    return R >= 0 && (F & LVHT_ONITEM) ? FItems->Item(R) : nullptr;
}

// ---- the class library over the native list view ------------------------------------------------------------------
TListItem* TCustomListView::Selected()
{
    int R = int(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    return R >= 0 ? FItems->Item(R) : nullptr;
}

void TCustomListView::SetSelected(TListItem* V)
{
    if (!V) {
        ClearSelection();
        return;
    }
    int R = V->Index();
    if (!FMultiSelect) SetNativeState(R, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    else {
        ClearSelection();
        SetNativeState(R, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    FAnchorRow = R;
}

int TCustomListView::SelCount() { return int(Perform(LVM_GETSELECTEDCOUNT)); }

TListItem* TCustomListView::ItemFocused()
{
    int R = int(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    return R >= 0 ? FItems->Item(R) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* V)
{
    if (V) SetNativeState(V->Index(), LVIS_FOCUSED, LVIS_FOCUSED);
    else if (FFocusRow >= 0) ChangeState(FFocusRow, 0, LVIS_FOCUSED);
}

int TCustomListView::ItemIndex() { return int(Perform(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }

void TCustomListView::SetItemIndex(int V)
{
    if (V < 0 || V >= RowCount()) ClearSelection();
    else SetSelected(FItems->Item(V));
}

TListItem* TCustomListView::TopItem()
{
    int R = int(Perform(LVM_GETTOPINDEX));
    return R >= 0 && R < RowCount() ? FItems->Item(R) : nullptr;
}

void TCustomListView::ClearSelection()
{
    for (int R = 0; R < RowCount(); ++R)
        if (NativeState(R) & LVIS_SELECTED) ChangeState(R, 0, LVIS_SELECTED);
}

void TCustomListView::SelectAll()
{
    if (!FMultiSelect) return;
    for (int R = 0; R < RowCount(); ++R) ChangeState(R, LVIS_SELECTED, LVIS_SELECTED);
}

TListItem* TCustomListView::GetNextItem(TListItem* Start, TSearchDirection Direction, TItemStates States)
{
    UINT Flags = 0;
    if (States.Contains(isSelected)) Flags |= LVNI_SELECTED;
    if (States.Contains(isFocused)) Flags |= LVNI_FOCUSED;
    if (Direction == sdAbove) Flags |= LVNI_ABOVE;
    if (Direction == sdBelow) Flags |= LVNI_BELOW;
    int R = int(Perform(LVM_GETNEXTITEM, WPARAM(Start ? Start->Index() : -1), LPARAM(Flags)));
    return R >= 0 ? FItems->Item(R) : nullptr;
}

TListItem* TCustomListView::FindCaption(int StartIndex, const String& Value, bool Partial, bool Inclusive, bool Wrap)
{
    LVFINDINFO F;
    F.flags = LVFI_STRING | (Partial ? LVFI_PARTIAL : 0) | (Wrap ? LVFI_WRAP : 0);
    F.psz = Value;
    int Start = Inclusive ? StartIndex - 1 : StartIndex;
    int R = int(Perform(LVM_FINDITEM, WPARAM(Start), LPARAM(&F)));
    return R >= 0 ? FItems->Item(R) : nullptr;
}

bool TCustomListView::AlphaSort()
{
    return CustomSort([](TListItem* A, TListItem* B) { return CompareText(A->Caption(), B->Caption()); });
}

bool TCustomListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& Compare)
{
    if (FOwnerData) return false;
    auto& L = FItems->FItems;
    std::stable_sort(L.begin(), L.end(), [&](TListItem* A, TListItem* B) {
        if (OnCompare) {
            int C = 0;
            OnCompare(this, A, B, 0, C);
            return C < 0;
        }
        return Compare(A, B) < 0;
    });
    FFocusRow = -1;
    for (int R = 0; R < int(L.size()); ++R)
        if (L[size_t(R)]->FState & LVIS_FOCUSED) FFocusRow = R;
    InvalidateNative();
    return true;
}

void TCustomListView::DoSelectItem(TListItem* Item, bool Sel)
{
    if (OnSelectItem) OnSelectItem(this, Item, Sel);
}

void TCustomListView::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_NOTIFY: CNNotify(M); return;
    case WM_NOTIFY: {
        // the header's notifications
        auto* H = reinterpret_cast<NMHDR*>(M.LParam);
        if (H && H->hwndFrom == FHeader && H->hwndFrom) {
            auto* N = reinterpret_cast<NMHEADER*>(M.LParam);
            if (H->code == HDN_ITEMCLICK && FColumnClick) {
                NMLISTVIEW L;
                L.iSubItem = N->iItem;
                NotifyRecord(L.hdr, LVN_COLUMNCLICK);
            }
            M.Result = 0;
            return;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        MouseNative(M);
        break;
    case WM_MOUSEWHEEL: WheelNative(M); return;
    case CM_RELEASEEDITOR: ReleaseInplaceEditor(FEditor); return;
    }
    TNativeControl::Dispatch(M);
}

void TCustomListView::CNNotify(TMessage& M)
{
    auto* H = reinterpret_cast<NMHDR*>(M.LParam);
    if (!H) return;
    switch (H->code) {
    case LVN_ITEMCHANGING: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        bool Allow = true;
        if (OnChanging && FItems->UpdateCount() == 0) OnChanging(this, FItems->Item(N->iItem), ctState, Allow);
        M.Result = Allow ? 0 : 1;
        return;
    }
    case LVN_ITEMCHANGED: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        if (!(N->uChanged & LVIF_STATE)) return;
        TListItem* Item = FItems->Item(N->iItem);
        if ((N->uOldState ^ N->uNewState) & LVIS_SELECTED) DoSelectItem(Item, (N->uNewState & LVIS_SELECTED) != 0);
        if (OnChange && FItems->UpdateCount() == 0) OnChange(this, Item, ctState);
        return;
    }
    case LVN_GETDISPINFO: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(M.LParam);
        TListItem* I = RowItem(D->item.iItem);
        if (!I) return;
        int C = D->item.iSubItem;
        if (D->item.mask & LVIF_TEXT)
            D->item.pszText = C == 0 ? I->Caption() : (C - 1 < I->SubItems()->Count() ? I->SubItems()->Strings(C - 1) : "");
        if (D->item.mask & LVIF_IMAGE)
            D->item.iImage = C == 0 ? I->ImageIndex()
                                    : (size_t(C - 1) < I->FSubItemImages.size() ? I->FSubItemImages[size_t(C - 1)] : -1);
        return;
    }
    case LVN_ODFINDITEM: {
        auto* F = reinterpret_cast<NMLVFINDITEM*>(M.LParam);
        int Index = -1;
        if (OnDataFind) {
            TItemFind Find = (F->lvfi.flags & LVFI_PARTIAL) ? ifPartialString
                             : (F->lvfi.flags & LVFI_STRING) ? ifExactString
                             : (F->lvfi.flags & LVFI_PARAM)  ? ifData
                                                             : ifNearest;
            OnDataFind(this, Find, F->lvfi.psz, F->lvfi.pt, reinterpret_cast<void*>(F->lvfi.lParam), F->iStart, sdAll,
                       (F->lvfi.flags & LVFI_WRAP) != 0, Index);
        }
        M.Result = Index;
        return;
    }
    case LVN_COLUMNCLICK: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        if (OnColumnClick && N->iSubItem >= 0 && N->iSubItem < FColumns->Count())
            OnColumnClick(this, FColumns->Items(N->iSubItem));
        return;
    }
    case NM_CUSTOMDRAW: {
        auto* D = reinterpret_cast<NMLVCUSTOMDRAW*>(M.LParam);
        if (D->nmcd.dwDrawStage == CDDS_PREPAINT) {
            M.Result = OnCustomDrawItem || OnCustomDrawSubItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return;
        }
        if (D->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && OnCustomDrawItem) {
            TCustomDrawState S;
            if (D->nmcd.uItemState & CDIS_SELECTED) S.Include(cdsSelected);
            if (D->nmcd.uItemState & CDIS_FOCUS) S.Include(cdsFocused);
            if (D->nmcd.uItemState & CDIS_CHECKED) S.Include(cdsChecked);
            FCanvas->SetHandle(D->nmcd.hdc);
            FCanvas->SetFont(Font());
            FCanvas->Brush()->SetColor(FColor);
            bool Default = true;
            OnCustomDrawItem(this, FItems->Item(int(D->nmcd.dwItemSpec)), S, Default);
            D->clrText = COLORREF(ColorToRGB(FCanvas->Font()->Color()));
            D->clrTextBk = COLORREF(ColorToRGB(FCanvas->Brush()->Color()));
            FCanvas->SetHandle(nullptr);
            M.Result = Default ? CDRF_NEWFONT : CDRF_SKIPDEFAULT;
            return;
        }
        M.Result = CDRF_DODEFAULT;
        return;
    }
    case LVN_BEGINLABELEDIT: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(M.LParam);
        bool Allow = !FReadOnly;
        if (Allow && OnEditing) OnEditing(this, FItems->Item(D->item.iItem), Allow);
        M.Result = Allow ? 0 : 1;
        return;
    }
    case LVN_ENDLABELEDIT: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(M.LParam);
        TListItem* I = FItems->Item(D->item.iItem);
        String S = D->item.pszText;
        if (OnEdited) OnEdited(this, I, S);
        if (!FOwnerData) I->SetCaption(S);
        M.Result = 1;
        return;
    }
    }
}

// ---- input --------------------------------------------------------------------------------------------------------------
void TCustomListView::MouseNative(TMessage& M)
{
    if (!FHandle) return;
    TPoint P = MessageAs<TWMMouse>(M).Pos();
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (FEditor) EndEdit(true);
        if (GetFocus() != FHandle) ::SetFocus(FHandle);
        UINT Flags;
        int Row = HitTest(P, &Flags, nullptr);
        if (Row < 0) {
            if (M.Msg != WM_RBUTTONDOWN && !(M.WParam & (MK_CONTROL | MK_SHIFT))) ClearSelection();
            break;
        }
        if (M.Msg == WM_LBUTTONDOWN && (Flags & LVHT_ONITEMSTATEICON) && FCheckboxes) {
            TListItem* I = FItems->Item(Row);
            I->SetChecked(!I->Checked());
        }
        if (M.Msg == WM_RBUTTONDOWN && (NativeState(Row) & LVIS_SELECTED)) {
            SetFocusRow(Row);
            break;
        }
        if (FMultiSelect && (M.WParam & MK_SHIFT)) SelectRange(FAnchorRow, Row);
        else if (FMultiSelect && (M.WParam & MK_CONTROL)) {
            ChangeState(Row, (NativeState(Row) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
            SetFocusRow(Row);
            FAnchorRow = Row;
        } else {
            SelectOnly(Row);
        }
        break;
    }
    default: break;
    }
}

void TCustomListView::WheelNative(TMessage& M)
{
    TWMMouseWheel& W = MessageAs<TWMMouseWheel>(M);
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, KeysToShiftState(WPARAM(W.Keys())), W.WheelDelta(), {W.XPos(), W.YPos()}, Handled);
    if (!Handled) {
        int Lines = -W.WheelDelta() * 3 / WHEEL_DELTA;
        if (FViewStyle == vsReport) SetScrollPosition(FScrollX, FTopRow + Lines);
        else if (FViewStyle == vsList) SetScrollPosition(FTopRow / ItemsPerColumn() + (Lines > 0 ? 1 : -1), 0);
        else SetScrollPosition(0, FScrollY + Lines * RowHeight());
    }
    M.Result = 1;
}

void TCustomListView::KeyNative(WORD Key)
{
    int N = RowCount();
    if (N == 0) return;
    int Cur = FFocusRow >= 0 ? FFocusRow : -1;
    int Page = std::max(1, VisibleRowCount() - 1);
    int PerRow = FViewStyle == vsIcon || FViewStyle == vsSmallIcon ? ItemsPerIconRow() : 1;
    int Rows = FViewStyle == vsList ? ItemsPerColumn() : 1;
    int T;
    switch (Key) {
    case VK_UP: T = Cur - PerRow; break;
    case VK_DOWN: T = Cur + PerRow; break;
    case VK_LEFT:
        if (FViewStyle == vsReport) {
            SetScrollPosition(FScrollX - 10, FTopRow);
            return;
        }
        T = Cur - (FViewStyle == vsList ? Rows : 1);
        break;
    case VK_RIGHT:
        if (FViewStyle == vsReport) {
            SetScrollPosition(FScrollX + 10, FTopRow);
            return;
        }
        T = Cur + (FViewStyle == vsList ? Rows : 1);
        break;
    case VK_PRIOR: T = Cur - Page; break;
    case VK_NEXT: T = Cur + Page; break;
    case VK_HOME: T = 0; break;
    case VK_END: T = N - 1; break;
    case VK_SPACE:
        if (Cur >= 0 && FCheckboxes) {
            TListItem* I = FItems->Item(Cur);
            I->SetChecked(!I->Checked());
        } else if (Cur >= 0 && FMultiSelect && KeyHeld(VK_CONTROL)) {
            ChangeState(Cur, (NativeState(Cur) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        }
        return;
    case VK_F2:
        if (Cur >= 0) StartEdit(Cur);
        return;
    default: return;
    }
    if (Cur < 0) T = 0;
    T = std::clamp(T, 0, N - 1);
    if (FMultiSelect && KeyHeld(VK_SHIFT)) SelectRange(FAnchorRow, T);
    else if (FMultiSelect && KeyHeld(VK_CONTROL)) SetFocusRow(T);
    else SelectOnly(T);
}

void TCustomListView::CharNative(char32_t C)
{
    if (C < 32) return;
    bool Again;
    LVFINDINFO F;
    F.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    F.psz = FTypeAhead.Add(C, GetMessageTime(), Again);
    int Start = Again ? FFocusRow - 1 : FFocusRow;  // a longer prefix may still fit the current row
    int R = int(Perform(LVM_FINDITEM, WPARAM(Start), LPARAM(&F)));
    if (R >= 0) SelectOnly(R);
}

int TCustomListView::FindNative(int Start, const LVFINDINFO& Find)
{
    int N = RowCount();
    if (N == 0) return -1;
    if (FOwnerData) {
        NMLVFINDITEM F;
        F.iStart = Start + 1;
        F.lvfi = Find;
        return int(NotifyRecord(F.hdr, LVN_ODFINDITEM));
    }
    String P = LowerText(Find.psz);
    int From = std::clamp(Start + 1, 0, N);
    int Limit = (Find.flags & LVFI_WRAP) ? N : N - From;
    for (int K = 0; K < Limit; ++K) {
        int R = (From + K) % N;
        TListItem* I = FItems->FItems[size_t(R)];
        if (Find.flags & LVFI_PARAM) {
            if (I->Data() == reinterpret_cast<void*>(Find.lParam)) return R;
            continue;
        }
        String T = LowerText(I->Caption());
        if ((Find.flags & LVFI_PARTIAL) ? T.compare(0, P.size(), P) == 0 : T == P) return R;
    }
    return -1;
}

// ---- label editing ---------------------------------------------------------------------------------------------------------
bool TCustomListView::StartEdit(int Row)
{
    if (!FHandle || Row < 0 || Row >= RowCount() || FReadOnly) return false;
    if (FEditor) EndEdit(true);
    NMLVDISPINFO D;
    D.item.iItem = Row;
    if (NotifyRecord(D.hdr, LVN_BEGINLABELEDIT)) return false;
    EnsureVisible(Row, false);
    TRect L = NativeItemRect(Row, drLabel);
    FEditRow = Row;
    FEditor = CreateInplaceEditor(this, Bounds(L.Left, L.Top, std::max(40, L.Width()), L.Height()), CellText(Row, 0),
                                  [this](bool Accept) { EndEdit(Accept); });
    return true;
}

void TCustomListView::EndEdit(bool Accept)
{
    if (!FEditor || FInEnd || !FEditor->Visible()) return;
    // The edit ends in every case, also when a handler refuses the label by throwing: the
    // editor goes once its own messages are done.
    struct TEnd {
        TCustomListView* V;
        ~TEnd()
        {
            V->FInEnd = false;
            if (V->FHandle) PostMessage(V->FHandle, CM_RELEASEEDITOR, 0, 0);
        }
    } End{this};
    FInEnd = true;
    TCustomEdit* E = FEditor;
    String S = E->Text();
    int Row = FEditRow;
    E->Hide();
    // a view being destroyed tells no one
    if (ComponentState().Contains(csDestroying)) return;
    if (FHandle && GetFocus() != FHandle && (GetFocus() == nullptr || GetFocus() == E->Handle())) ::SetFocus(FHandle);
    if (Accept && Row >= 0 && Row < RowCount()) {
        NMLVDISPINFO D;
        D.item.iItem = Row;
        D.item.pszText = S;
        NotifyRecord(D.hdr, LVN_ENDLABELEDIT);
    }
}

void TCustomListView::CancelEdit() { EndEdit(false); }

// ---- the native list view's messages ------------------------------------------------------------------------------------------
bool TCustomListView::NativeProc(TMessage& M)
{
    if (FLayoutDirty && FHandle && M.Msg != WM_NCDESTROY && M.Msg != WM_DESTROY) Layout();
    int N = RowCount();
    switch (M.Msg) {
    case LVM_GETITEMCOUNT: M.Result = N; return true;
    case LVM_SETITEMCOUNT:
        FItems->SetCount(int(M.WParam));
        return true;
    case LVM_GETNEXTITEM: {
        int Start = int(intptr_t(M.WParam));
        UINT F = UINT(M.LParam);
        UINT Want = F & (LVNI_SELECTED | LVNI_FOCUSED);
        int Step = (F & LVNI_ABOVE) ? -1 : 1;
        for (int R = Start + Step; R >= 0 && R < N; R += Step)
            if ((NativeState(R) & Want) == Want) {
                M.Result = R;
                return true;
            }
        M.Result = -1;
        return true;
    }
    case LVM_GETSELECTEDCOUNT: {
        int C = 0;
        for (int R = 0; R < N; ++R) C += (NativeState(R) & LVIS_SELECTED) ? 1 : 0;
        M.Result = C;
        return true;
    }
    case LVM_GETITEMSTATE: M.Result = NativeState(int(M.WParam)) & UINT(M.LParam); return true;
    case LVM_SETITEMSTATE: {
        auto* I = reinterpret_cast<LVITEM*>(M.LParam);
        int Row = int(intptr_t(M.WParam));
        if (Row == -1) {
            for (int R = 0; R < N; ++R) ChangeState(R, I->state, I->stateMask);
        } else {
            SetNativeState(Row, I->state, I->stateMask);
        }
        M.Result = 1;
        return true;
    }
    case LVM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        int Row = int(M.WParam);
        if (!R || Row < 0 || Row >= N) {
            M.Result = 0;
            return true;
        }
        *R = NativeItemRect(Row, TDisplayCode(R->Left));
        M.Result = 1;
        return true;
    }
    case LVM_GETSUBITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (!R) return true;
        *R = GetSubItemRect(int(M.WParam), R->Top);
        M.Result = 1;
        return true;
    }
    case LVM_HITTEST: {
        auto* H = reinterpret_cast<LVHITTESTINFO*>(M.LParam);
        if (!H) return true;
        H->iItem = HitTest(H->pt, &H->flags, &H->iSubItem);
        M.Result = H->iItem;
        return true;
    }
    case LVM_ENSUREVISIBLE: EnsureVisible(int(M.WParam), M.LParam != 0); M.Result = 1; return true;
    case LVM_SCROLL: {
        int DX = int(intptr_t(M.WParam)), DY = int(M.LParam);
        if (FViewStyle == vsReport) {
            int H = RowHeight();
            int Rows = DY >= 0 ? (DY + H - 1) / H : -((-DY + H - 1) / H);
            SetScrollPosition(FScrollX + DX, FTopRow + Rows);
        } else if (FViewStyle == vsList) {
            int W = ListColumnWidth();
            int Cols = DX >= 0 ? (DX + W - 1) / W : -((-DX + W - 1) / W);
            SetScrollPosition(FTopRow / ItemsPerColumn() + Cols, 0);
        } else {
            SetScrollPosition(0, FScrollY + DY);
        }
        M.Result = 1;
        return true;
    }
    case LVM_GETTOPINDEX:
        M.Result = FViewStyle == vsReport || FViewStyle == vsList ? FTopRow : 0;
        return true;
    case LVM_GETCOUNTPERPAGE: M.Result = VisibleRowCount(); return true;
    case LVM_GETHEADER: M.Result = LRESULT(FHeader); return true;
    case LVM_GETCOLUMNWIDTH:
        M.Result = int(M.WParam) >= 0 && int(M.WParam) < FColumns->Count() ? FColumns->Items(int(M.WParam))->Width() : 0;
        return true;
    case LVM_SETCOLUMNWIDTH:
        if (int(M.WParam) >= 0 && int(M.WParam) < FColumns->Count()) FColumns->Items(int(M.WParam))->SetWidth(int(M.LParam));
        M.Result = 1;
        return true;
    case LVM_GETCOLUMNORDERARRAY:
    case LVM_SETCOLUMNORDERARRAY:
        M.Result = FHeader ? SendMessage(FHeader, M.Msg == LVM_GETCOLUMNORDERARRAY ? HDM_GETORDERARRAY : HDM_SETORDERARRAY,
                                         M.WParam, M.LParam)
                           : 0;
        return true;
    case LVM_FINDITEM: {
        auto* F = reinterpret_cast<LVFINDINFO*>(M.LParam);
        M.Result = F ? FindNative(int(intptr_t(M.WParam)), *F) : -1;
        return true;
    }
    case LVM_REDRAWITEMS:
        UpdateItems(int(M.WParam), int(M.LParam));
        return true;
    case LVM_EDITLABEL:
        M.Result = StartEdit(int(intptr_t(M.WParam))) && FEditor ? LRESULT(FEditor->Handle()) : 0;
        return true;
    case LVM_GETSELECTIONMARK: M.Result = FAnchorRow; return true;
    case LVM_GETIMAGELIST: M.Result = LRESULT(ImageListOf(int(M.WParam))); return true;
    case LVM_SETIMAGELIST: {
        const int Kind = int(M.WParam);
        M.Result = LRESULT(ImageListOf(Kind));
        if (Kind >= LVSIL_NORMAL && Kind <= LVSIL_STATE) SetWindowImageList(Kind, reinterpret_cast<HIMAGELIST>(M.LParam));
        return true;
    }
    case WM_KEYDOWN: KeyNative(WORD(M.WParam)); return true;
    case WM_CHAR: CharNative(char32_t(M.WParam)); return true;
    case WM_VSCROLL: {
        int Code = LOWORD(M.WParam), Pos = HIWORD(M.WParam);
        if (FViewStyle == vsReport) {
            int Page = std::max(1, VisibleRowCount());
            int T = FTopRow;
            switch (Code) {
            case SB_LINEUP: --T; break;
            case SB_LINEDOWN: ++T; break;
            case SB_PAGEUP: T -= Page; break;
            case SB_PAGEDOWN: T += Page; break;
            case SB_THUMBPOSITION: case SB_THUMBTRACK: T = Pos; break;
            case SB_TOP: T = 0; break;
            case SB_BOTTOM: T = N; break;
            }
            SetScrollPosition(FScrollX, T);
        } else if (FViewStyle != vsList) {
            int Y = FScrollY, Ch = ClientHeight();
            switch (Code) {
            case SB_LINEUP: Y -= RowHeight(); break;
            case SB_LINEDOWN: Y += RowHeight(); break;
            case SB_PAGEUP: Y -= Ch; break;
            case SB_PAGEDOWN: Y += Ch; break;
            case SB_THUMBPOSITION: case SB_THUMBTRACK: Y = Pos; break;
            }
            SetScrollPosition(0, Y);
        }
        return true;
    }
    case WM_HSCROLL: {
        int Code = LOWORD(M.WParam), Pos = HIWORD(M.WParam);
        if (FViewStyle == vsReport) {
            int X = FScrollX, W = ClientWidth();
            switch (Code) {
            case SB_LINELEFT: X -= 10; break;
            case SB_LINERIGHT: X += 10; break;
            case SB_PAGELEFT: X -= W; break;
            case SB_PAGERIGHT: X += W; break;
            case SB_THUMBPOSITION: case SB_THUMBTRACK: X = Pos; break;
            }
            SetScrollPosition(X, FTopRow);
        } else if (FViewStyle == vsList) {
            int C = FTopRow / ItemsPerColumn();
            switch (Code) {
            case SB_LINELEFT: case SB_PAGELEFT: --C; break;
            case SB_LINERIGHT: case SB_PAGERIGHT: ++C; break;
            case SB_THUMBPOSITION: case SB_THUMBTRACK: C = Pos; break;
            }
            SetScrollPosition(C, 0);
        }
        return true;
    }
    case WM_SIZE:
        FLayoutDirty = true;
        Layout();
        if (FHandle) InvalidateRect(FHandle, nullptr, true);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateNative();
        return true;
    case WM_SETFONT:
        TNativeControl::NativeProc(M);
        FLayoutDirty = true;
        Layout();
        return true;
    case WM_ERASEBKGND: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (DC) FillSolid(DC, ClientRect(), FColor);
        M.Result = 1;
        return true;
    }
    }
    return TNativeControl::NativeProc(M);
}

