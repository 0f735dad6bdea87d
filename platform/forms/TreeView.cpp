// TCustomTreeView: the native tree view (shown rows, expansion with its notices,
// selection with veto, keys, mouse, label editing, scrolling, painting with custom
// drawing).
#include <algorithm>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"

namespace {

TTreeNode* NodeOf(HTREEITEM H) { return reinterpret_cast<TTreeNode*>(H); }
}  // namespace

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(new TTreeNodes(this)), FCanvas(new TCanvas)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
}

TCustomTreeView::~TCustomTreeView()
{
    Destroying();
    FDestroyingItems = true;
    if (FEditor) {
        delete FEditor;
        FEditor = nullptr;
    }
    FItems->Clear();
}

void TCustomTreeView::CreateParams(TCreateParams& P)
{
    TNativeControl::CreateParams(P);
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
    P.WindowClass.style = CS_DBLCLKS;
}

void TCustomTreeView::CreateWnd()
{
    TNativeControl::CreateWnd();
    UpdateScroll();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TNativeControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FStateImages) FStateImages = nullptr;
    if (AComponent == FEditor) FEditor = nullptr;
}

// ---- properties -------------------------------------------------------------------------------------------
void TCustomTreeView::SetSelected(TTreeNode* V) { SelectNode(V, true); }

TTreeNode* TCustomTreeView::TopItem()
{
    const auto& S = Shown();
    return FTop >= 0 && FTop < int(S.size()) ? S[size_t(FTop)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* V)
{
    int I = ShownIndex(V);
    if (I >= 0) SetScrollPosition(FScrollX, I);
}

void TCustomTreeView::SetIndent(int V)
{
    FIndent = std::max(4, V);
    NodeChanged(nullptr, true);
}

void TCustomTreeView::SetShowRoot(bool V)
{
    FShowRoot = V;
    NodeChanged(nullptr, true);
}

void TCustomTreeView::SetShowLines(bool V)
{
    FShowLines = V;
    InvalidateNative();
}

void TCustomTreeView::SetShowButtons(bool V)
{
    FShowButtons = V;
    InvalidateNative();
}

void TCustomTreeView::SetHideSelection(bool V)
{
    FHideSelection = V;
    InvalidateNative();
}

void TCustomTreeView::SetRowSelect(bool V)
{
    FRowSelect = V;
    InvalidateNative();
}

void TCustomTreeView::SetSortType(TSortType V)
{
    FSortType = V;
    if (V == stText || V == stBoth) AlphaSort(true);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle V)
{
    if (FBorderStyle == V) return;
    FBorderStyle = V;
    RecreateWnd();
}

void TCustomTreeView::SetImages(TCustomImageList* V)
{
    FImages = V;
    if (V) V->FreeNotification(this);
    NodeChanged(nullptr, true);
}

void TCustomTreeView::SetStateImages(TCustomImageList* V)
{
    FStateImages = V;
    if (V) V->FreeNotification(this);
    NodeChanged(nullptr, true);
}

int TCustomTreeView::RowHeight()
{
    int H = LineHeight() + 3;
    if (FImages) H = std::max(H, FImages->Height() + 1);
    if (FStateImages) H = std::max(H, FStateImages->Height() + 1);
    return H;
}

int TCustomTreeView::VisibleCount() { return int(Perform(TVM_GETVISIBLECOUNT)); }

void TCustomTreeView::FullExpand()
{
    FItems->BeginUpdate();
    for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNext()) ExpandNode(N, true);
    FItems->EndUpdate();
}

void TCustomTreeView::FullCollapse()
{
    FItems->BeginUpdate();
    for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNext()) ExpandNode(N, false);
    FItems->EndUpdate();
}

bool TCustomTreeView::AlphaSort(bool Recurse)
{
    return CustomSort([](TTreeNode* A, TTreeNode* B) { return CompareText(A->Text(), B->Text()); }, Recurse);
}

bool TCustomTreeView::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& Compare, bool Recurse)
{
    auto Cmp = [&](TTreeNode* A, TTreeNode* B) {
        if (OnCompare) {
            int C = 0;
            OnCompare(this, A, B, 0, C);
            return C;
        }
        return Compare(A, B);
    };
    std::function<void(std::vector<TTreeNode*>&)> Sort = [&](std::vector<TTreeNode*>& L) {
        std::stable_sort(L.begin(), L.end(), [&](TTreeNode* A, TTreeNode* B) { return Cmp(A, B) < 0; });
        if (Recurse)
            for (TTreeNode* N : L) Sort(N->FChildren);
    };
    Sort(FItems->FRoots);
    NodeChanged(nullptr, true);
    return true;
}

// ---- the shown rows ------------------------------------------------------------------------------------------
const std::vector<TTreeNode*>& TCustomTreeView::Shown()
{
    if (!FShownDirty) return FShown;
    FShown.clear();
    std::function<void(const std::vector<TTreeNode*>&)> Walk = [&](const std::vector<TTreeNode*>& L) {
        for (TTreeNode* N : L) {
            FShown.push_back(N);
            if (N->FExpanded) Walk(N->FChildren);
        }
    };
    Walk(FItems->FRoots);
    FShownDirty = false;
    return FShown;
}

int TCustomTreeView::ShownIndex(const TTreeNode* Node)
{
    if (!Node) return -1;
    const auto& S = Shown();
    auto It = std::find(S.begin(), S.end(), Node);
    return It == S.end() ? -1 : int(It - S.begin());
}

// The left edge of a node's icons and text, in client coordinates.
int TCustomTreeView::NodeLeft(const TTreeNode* Node)
{
    int Levels = Node->Level() + (FShowRoot ? 1 : 0);
    return Levels * FIndent - FScrollX + 2;
}

TRect TCustomTreeView::NodeRect(const TTreeNode* Node, bool TextOnly)
{
    int I = ShownIndex(Node);
    if (I < 0) return {};
    int H = RowHeight();
    int Y = (I - FTop) * H;
    if (!TextOnly) return {0, Y, ClientWidth(), Y + H};
    int X = NodeLeft(Node);
    if (FStateImages && Node->FStateIndex >= 0) X += FStateImages->Width();
    if (FImages) X += FImages->Width() + 3;
    return {X, Y, X + TextSize(Node->Text()).cx + 4, Y + H};
}

int TCustomTreeView::ContentWidth()
{
    int W = 0;
    for (TTreeNode* N : Shown()) W = std::max(W, NodeRect(N, true).Right + FScrollX);
    return W;
}

void TCustomTreeView::UpdateScroll()
{
    int N = int(Shown().size());
    int H = RowHeight();
    TRect C = ClientRect();
    int Page = std::max(1, C.Height() / H);
    FTop = std::clamp(FTop, 0, std::max(0, N - Page));
    int W = ContentWidth();
    FScrollX = std::clamp(FScrollX, 0, std::max(0, W - C.Width()));
    SetScrollState(SB_VERT, 0, std::max(0, N - 1), UINT(Page), FTop);
    SetScrollState(SB_HORZ, 0, std::max(0, W - 1), UINT(C.Width()), FScrollX);
}

void TCustomTreeView::SetScrollPosition(int X, int Top)
{
    int OldTop = FTop, OldX = FScrollX;
    FTop = Top;
    FScrollX = X;
    UpdateScroll();
    if (FTop == OldTop && FScrollX == OldX) return;
    if (FEditor) EndEdit(true);
    if (FHandle) InvalidateRect(FHandle, nullptr, true);
}

void TCustomTreeView::EnsureVisible(TTreeNode* Node)
{
    int I = ShownIndex(Node);
    if (I < 0) return;
    int Page = std::max(1, ClientRect().Height() / RowHeight());
    if (I < FTop) SetScrollPosition(FScrollX, I);
    else if (I >= FTop + Page) SetScrollPosition(FScrollX, I - Page + 1);
}

void TCustomTreeView::InvalidateNode(TTreeNode* Node)
{
    if (!FHandle || !Node) return;
    TRect R = NodeRect(Node, false);
    if (!R.IsEmpty()) InvalidateRect(FHandle, &R, false);
}

void TCustomTreeView::NodeChanged(TTreeNode* Node, bool Layout)
{
    if (FDestroyingItems) return;
    if (Layout) FShownDirty = true;
    if (FItems->UpdateCount() > 0) return;
    if (Layout) {
        UpdateScroll();
        if (FHandle) InvalidateRect(FHandle, nullptr, true);
    } else {
        InvalidateNode(Node);
    }
}

void TCustomTreeView::NodeDeleting(TTreeNode* Node)
{
    if (FEditNode == Node || (FEditNode && FEditNode->HasAsParent(Node))) EndEdit(false);
    if (!FComponentState.Contains(csDestroying)) {
        NMTREEVIEW N;
        N.itemOld = Node->ItemId();
        NotifyRecord(N.hdr, TVN_DELETEITEM);
    }
    if (FSelected == Node) FSelected = nullptr;
    FShownDirty = true;
}

LRESULT TCustomTreeView::NotifyNode(int Code, TTreeNode* Old, TTreeNode* New, UINT Action)
{
    NMTREEVIEW N;
    N.action = Action;
    N.itemOld = Old ? Old->ItemId() : nullptr;
    N.itemNew = New ? New->ItemId() : nullptr;
    return NotifyRecord(N.hdr, Code);
}

bool TCustomTreeView::SelectNode(TTreeNode* Node, bool Notify)
{
    if (Node == FSelected) return true;
    if (Notify && NotifyNode(TVN_SELCHANGING, FSelected, Node)) return false;
    TTreeNode* Old = FSelected;
    FSelected = Node;
    InvalidateNode(Old);
    InvalidateNode(Node);
    if (Node) {
        for (TTreeNode* P = Node->FParent; P; P = P->FParent)
            if (!P->FExpanded) ExpandNode(P, true);
        EnsureVisible(Node);
    }
    if (Notify) NotifyNode(TVN_SELCHANGED, Old, Node);
    return true;
}

bool TCustomTreeView::ExpandNode(TTreeNode* Node, bool Expand)
{
    if (!Node || Node->FExpanded == Expand) return true;
    if (Expand && !Node->HasChildren()) return false;
    if (NotifyNode(TVN_ITEMEXPANDING, nullptr, Node, Expand ? TVE_EXPAND : TVE_COLLAPSE)) return false;
    // a node that turned out to have no children stays collapsed
    Node->FExpanded = Expand && !Node->FChildren.empty();
    if (!Expand && FSelected && FSelected->HasAsParent(Node)) SelectNode(Node, true);
    FShownDirty = true;
    if (FItems->UpdateCount() == 0) {
        UpdateScroll();
        if (FHandle) InvalidateRect(FHandle, nullptr, true);
    }
    NotifyNode(TVN_ITEMEXPANDED, nullptr, Node, Expand ? TVE_EXPAND : TVE_COLLAPSE);
    return true;
}

// ---- hit testing ----------------------------------------------------------------------------------------------
THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y)
{
    TVHITTESTINFO Info;
    Info.pt = {X, Y};
    Perform(TVM_HITTEST, 0, LPARAM(&Info));
    THitTests T;
    static const std::pair<UINT, THitTestItem> Map[] = {
        {TVHT_ABOVE, htAbove}, {TVHT_BELOW, htBelow}, {TVHT_NOWHERE, htNowhere}, {TVHT_ONITEMBUTTON, htOnButton},
        {TVHT_ONITEMICON, htOnIcon}, {TVHT_ONITEMINDENT, htOnIndent}, {TVHT_ONITEMLABEL, htOnLabel},
        {TVHT_ONITEMRIGHT, htOnRight}, {TVHT_ONITEMSTATEICON, htOnStateIcon}, {TVHT_TOLEFT, htToLeft},
        {TVHT_TORIGHT, htToRight}};
    for (auto [F, H] : Map)
        if (Info.flags & F) T.Include(H);
    if (Info.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)) T.Include(htOnItem);
    return T;
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y)
{
    TVHITTESTINFO Info;
    Info.pt = {X, Y};
    Perform(TVM_HITTEST, 0, LPARAM(&Info));
    return (Info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)) ? NodeOf(Info.hItem)
                                                                                                  : nullptr;
}

// ---- the class library over the native tree ------------------------------------------------------------------
void TCustomTreeView::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_NOTIFY: CNNotify(M); return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseNative(M);
        break;
    case WM_MOUSEWHEEL: WheelNative(M); return;
    case CM_RELEASEEDITOR: ReleaseInplaceEditor(FEditor); return;
    }
    TNativeControl::Dispatch(M);
}

void TCustomTreeView::CNNotify(TMessage& M)
{
    auto* H = reinterpret_cast<NMHDR*>(M.LParam);
    if (!H) return;
    auto* N = reinterpret_cast<NMTREEVIEW*>(M.LParam);
    switch (H->code) {
    case TVN_SELCHANGING: {
        bool Allow = true;
        if (OnChanging) OnChanging(this, NodeOf(N->itemNew), Allow);
        M.Result = Allow ? 0 : 1;
        return;
    }
    case TVN_SELCHANGED:
        if (OnChange) OnChange(this, NodeOf(N->itemNew));
        return;
    case TVN_ITEMEXPANDING: {
        bool Allow = true;
        if (N->action == TVE_EXPAND) {
            if (OnExpanding) OnExpanding(this, NodeOf(N->itemNew), Allow);
        } else if (OnCollapsing) {
            OnCollapsing(this, NodeOf(N->itemNew), Allow);
        }
        M.Result = Allow ? 0 : 1;
        return;
    }
    case TVN_ITEMEXPANDED:
        if (N->action == TVE_EXPAND) {
            if (OnExpanded) OnExpanded(this, NodeOf(N->itemNew));
        } else if (OnCollapsed) {
            OnCollapsed(this, NodeOf(N->itemNew));
        }
        return;
    case TVN_DELETEITEM:
        if (OnDeletion) OnDeletion(this, NodeOf(N->itemOld));
        return;
    case NM_CUSTOMDRAW: {
        auto* D = reinterpret_cast<NMTVCUSTOMDRAW*>(M.LParam);
        if (D->nmcd.dwDrawStage == CDDS_PREPAINT) {
            M.Result = OnAdvancedCustomDrawItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return;
        }
        if (D->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && OnAdvancedCustomDrawItem) {
            TCustomDrawState S;
            if (D->nmcd.uItemState & CDIS_SELECTED) S.Include(cdsSelected);
            if (D->nmcd.uItemState & CDIS_FOCUS) S.Include(cdsFocused);
            FCanvas->SetHandle(D->nmcd.hdc);
            FCanvas->SetFont(Font());
            FCanvas->Brush()->SetColor(FColor);
            bool PaintImages = true, Default = true;
            OnAdvancedCustomDrawItem(this, reinterpret_cast<TTreeNode*>(D->nmcd.dwItemSpec), S, cdPrePaint, PaintImages,
                                     Default);
            D->clrText = COLORREF(ColorToRGB(FCanvas->Font()->Color()));
            D->clrTextBk = COLORREF(ColorToRGB(FCanvas->Brush()->Color()));
            FCanvas->SetHandle(nullptr);
            M.Result = Default ? CDRF_NEWFONT : CDRF_SKIPDEFAULT;
            return;
        }
        M.Result = CDRF_DODEFAULT;
        return;
    }
    }
}

// ---- input -------------------------------------------------------------------------------------------------------
void TCustomTreeView::MouseNative(TMessage& M)
{
    if (!FHandle) return;
    TPoint P = MessageAs<TWMMouse>(M).Pos();
    if (FEditor) EndEdit(true);
    if (M.Msg != WM_RBUTTONDOWN && GetFocus() != FHandle) ::SetFocus(FHandle);
    TVHITTESTINFO Info;
    Info.pt = P;
    Perform(TVM_HITTEST, 0, LPARAM(&Info));
    TTreeNode* Node = NodeOf(Info.hItem);
    if (!Node) return;
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
        if (Info.flags & TVHT_ONITEMBUTTON) ExpandNode(Node, !Node->FExpanded);
        else if ((Info.flags & TVHT_ONITEM) || (FRowSelect && (Info.flags & TVHT_ONITEMRIGHT))) SelectNode(Node, true);
        break;
    case WM_LBUTTONDBLCLK:
        if (Info.flags & TVHT_ONITEM) ExpandNode(Node, !Node->FExpanded);
        else if (Info.flags & TVHT_ONITEMBUTTON) ExpandNode(Node, !Node->FExpanded);
        break;
    case WM_RBUTTONDOWN:
        if (FRightClickSelect && (Info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT))) SelectNode(Node, true);
        break;
    }
}

void TCustomTreeView::WheelNative(TMessage& M)
{
    TWMMouseWheel& W = MessageAs<TWMMouseWheel>(M);
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, KeysToShiftState(WPARAM(W.Keys())), W.WheelDelta(), {W.XPos(), W.YPos()}, Handled);
    if (!Handled) SetScrollPosition(FScrollX, FTop - W.WheelDelta() * 3 / WHEEL_DELTA);
    M.Result = 1;
}

void TCustomTreeView::KeyNative(WORD Key)
{
    const auto& S = Shown();
    if (S.empty()) return;
    int Cur = ShownIndex(FSelected);
    int Page = std::max(1, ClientRect().Height() / RowHeight() - 1);
    TTreeNode* Target = nullptr;
    switch (Key) {
    case VK_UP: Target = S[size_t(std::max(0, Cur - 1))]; break;
    case VK_DOWN: Target = S[size_t(std::min(int(S.size()) - 1, Cur + 1))]; break;
    case VK_PRIOR: Target = S[size_t(std::max(0, Cur - Page))]; break;
    case VK_NEXT: Target = S[size_t(std::min(int(S.size()) - 1, Cur + Page))]; break;
    case VK_HOME: Target = S.front(); break;
    case VK_END: Target = S.back(); break;
    case VK_LEFT:
        if (!FSelected) break;
        if (FSelected->FExpanded) ExpandNode(FSelected, false);
        else Target = FSelected->FParent;
        break;
    case VK_RIGHT:
        if (!FSelected) break;
        if (!FSelected->FExpanded && FSelected->HasChildren()) ExpandNode(FSelected, true);
        else Target = FSelected->GetFirstChild();
        break;
    case VK_ADD:
        if (FSelected) ExpandNode(FSelected, true);
        break;
    case VK_SUBTRACT:
        if (FSelected) ExpandNode(FSelected, false);
        break;
    case VK_MULTIPLY:
        if (FSelected) FSelected->Expand(true);
        break;
    case VK_F2:
        if (FSelected) StartEdit(FSelected);
        break;
    }
    if (Cur < 0 && !Target && Key != VK_F2) Target = S.front();
    if (Target) SelectNode(Target, true);
}

void TCustomTreeView::CharNative(char32_t C)
{
    if (C < 32) return;
    bool Again;
    String Next = LowerText(FTypeAhead.Add(C, GetMessageTime(), Again));
    const auto& S = Shown();
    int N = int(S.size());
    if (!N) return;
    int Start = ShownIndex(FSelected) + (Again ? 0 : 1);
    for (int K = 0; K < N; ++K) {
        TTreeNode* Node = S[size_t(((Start + K) % N + N) % N)];
        if (LowerText(Node->Text()).compare(0, Next.size(), Next) == 0) {
            SelectNode(Node, true);
            return;
        }
    }
}

// ---- label editing ---------------------------------------------------------------------------------------------------
bool TCustomTreeView::StartEdit(TTreeNode* Node)
{
    if (!FHandle || !Node || FReadOnly) return false;
    if (FEditor) EndEdit(true);
    bool Allow = true;
    if (OnEditing) OnEditing(this, Node, Allow);
    if (!Allow) return false;
    Node->MakeVisible();
    TRect R = NodeRect(Node, true);
    FEditNode = Node;
    FEditor = CreateInplaceEditor(this, Bounds(R.Left, R.Top, std::max(60, R.Width() + 20), R.Height()), Node->Text(),
                                  [this](bool Accept) { EndEdit(Accept); });
    return true;
}

void TCustomTreeView::EndEdit(bool Accept)
{
    if (!FEditor || FInEnd || !FEditor->Visible()) return;
    // The edit ends in every case, also when a handler refuses the label by throwing: the
    // editor goes once its own messages are done.
    struct TEnd {
        TCustomTreeView* V;
        ~TEnd()
        {
            V->FInEnd = false;
            if (V->FHandle) PostMessage(V->FHandle, CM_RELEASEEDITOR, 0, 0);
        }
    } End{this};
    FInEnd = true;
    TCustomEdit* E = FEditor;
    String S = E->Text();
    TTreeNode* Node = FEditNode;
    FEditNode = nullptr;
    E->Hide();
    // a view being destroyed tells no one
    if (ComponentState().Contains(csDestroying)) return;
    if (FHandle && (GetFocus() == nullptr || GetFocus() == E->Handle())) ::SetFocus(FHandle);
    if (Accept && Node) {
        if (OnEdited) OnEdited(this, Node, S);
        Node->SetText(S);
    }
}

// ---- the native tree's messages -----------------------------------------------------------------------------------
bool TCustomTreeView::NativeProc(TMessage& M)
{
    switch (M.Msg) {
    case TVM_EXPAND: {
        TTreeNode* N = NodeOf(reinterpret_cast<HTREEITEM>(M.LParam));
        UINT Code = UINT(M.WParam) & 0x3;
        if (N) M.Result = ExpandNode(N, Code == TVE_TOGGLE ? !N->FExpanded : Code == TVE_EXPAND);
        return true;
    }
    case TVM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (!R) return true;
        TTreeNode* N = *reinterpret_cast<TTreeNode**>(M.LParam);
        TRect Rc = NodeRect(N, M.WParam != 0);
        M.Result = Rc.IsEmpty() ? 0 : 1;
        *R = Rc;
        return true;
    }
    case TVM_GETCOUNT: M.Result = FItems->Count(); return true;
    case TVM_GETINDENT: M.Result = FIndent; return true;
    case TVM_SETINDENT: SetIndent(int(M.WParam)); return true;
    case TVM_GETVISIBLECOUNT: M.Result = std::max(0, ClientRect().Height() / RowHeight()); return true;
    case TVM_GETITEMHEIGHT: M.Result = RowHeight(); return true;
    case TVM_SELECTITEM:
        if (M.WParam == TVGN_CARET) M.Result = SelectNode(NodeOf(reinterpret_cast<HTREEITEM>(M.LParam)), true);
        else if (M.WParam == TVGN_FIRSTVISIBLE) SetTopItem(NodeOf(reinterpret_cast<HTREEITEM>(M.LParam)));
        return true;
    case TVM_ENSUREVISIBLE:
        if (TTreeNode* N = NodeOf(reinterpret_cast<HTREEITEM>(M.LParam))) N->MakeVisible();
        return true;
    case TVM_GETNEXTITEM: {
        TTreeNode* N = NodeOf(reinterpret_cast<HTREEITEM>(M.LParam));
        TTreeNode* R = nullptr;
        switch (M.WParam) {
        case TVGN_ROOT: R = FItems->GetFirstNode(); break;
        case TVGN_NEXT: R = N ? N->GetNextSibling() : nullptr; break;
        case TVGN_PREVIOUS: R = N ? N->GetPrevSibling() : nullptr; break;
        case TVGN_PARENT: R = N ? N->Parent() : nullptr; break;
        case TVGN_CHILD: R = N ? N->GetFirstChild() : FItems->GetFirstNode(); break;
        case TVGN_FIRSTVISIBLE: R = TopItem(); break;
        case TVGN_NEXTVISIBLE: R = N ? N->GetNextVisible() : nullptr; break;
        case TVGN_PREVIOUSVISIBLE: R = N ? N->GetPrevVisible() : nullptr; break;
        case TVGN_CARET: R = FSelected; break;
        case TVGN_LASTVISIBLE: R = Shown().empty() ? nullptr : Shown().back(); break;
        }
        M.Result = LRESULT(R);
        return true;
    }
    case TVM_HITTEST: {
        auto* Info = reinterpret_cast<TVHITTESTINFO*>(M.LParam);
        if (!Info) return true;
        Info->flags = 0;
        Info->hItem = nullptr;
        TRect C = ClientRect();
        TPoint P = Info->pt;
        if (P.Y < 0) Info->flags |= TVHT_ABOVE;
        if (P.Y >= C.Height()) Info->flags |= TVHT_BELOW;
        if (P.X < 0) Info->flags |= TVHT_TOLEFT;
        if (P.X >= C.Width()) Info->flags |= TVHT_TORIGHT;
        if (Info->flags) return true;
        int Row = FTop + P.Y / RowHeight();
        const auto& S = Shown();
        if (Row >= int(S.size())) {
            Info->flags = TVHT_NOWHERE;
            return true;
        }
        TTreeNode* N = S[size_t(Row)];
        Info->hItem = N->ItemId();
        int L = NodeLeft(N);
        TRect Text = NodeRect(N, true);
        int IconsRight = Text.Left;
        if (P.X < L) {
            bool Button = FShowButtons && N->HasChildren() && (FShowRoot || N->Level() > 0) && P.X >= L - FIndent;
            Info->flags = Button ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
        } else if (P.X < IconsRight) {
            bool State = FStateImages && N->FStateIndex >= 0 && P.X < L + FStateImages->Width();
            Info->flags = State ? TVHT_ONITEMSTATEICON : TVHT_ONITEMICON;
        } else if (P.X < Text.Right) {
            Info->flags = TVHT_ONITEMLABEL;
        } else {
            Info->flags = TVHT_ONITEMRIGHT;
        }
        M.Result = LRESULT(Info->hItem);
        return true;
    }
    case TVM_SETIMAGELIST:
    case TVM_GETIMAGELIST:
        // image lists are set through Images and StateImages
        M.Result = 0;
        return true;
    case WM_KEYDOWN: KeyNative(WORD(M.WParam)); return true;
    case WM_CHAR: CharNative(char32_t(M.WParam)); return true;
    case WM_VSCROLL: {
        int Code = LOWORD(M.WParam), Pos = HIWORD(M.WParam);
        int Page = std::max(1, ClientRect().Height() / RowHeight());
        int T = FTop;
        switch (Code) {
        case SB_LINEUP: --T; break;
        case SB_LINEDOWN: ++T; break;
        case SB_PAGEUP: T -= Page; break;
        case SB_PAGEDOWN: T += Page; break;
        case SB_THUMBPOSITION: case SB_THUMBTRACK: T = Pos; break;
        case SB_TOP: T = 0; break;
        case SB_BOTTOM: T = int(Shown().size()); break;
        }
        SetScrollPosition(FScrollX, T);
        return true;
    }
    case WM_HSCROLL: {
        int Code = LOWORD(M.WParam), Pos = HIWORD(M.WParam);
        int X = FScrollX, W = ClientWidth();
        switch (Code) {
        case SB_LINELEFT: X -= 10; break;
        case SB_LINERIGHT: X += 10; break;
        case SB_PAGELEFT: X -= W; break;
        case SB_PAGERIGHT: X += W; break;
        case SB_THUMBPOSITION: case SB_THUMBTRACK: X = Pos; break;
        }
        SetScrollPosition(X, FTop);
        return true;
    }
    case WM_SIZE:
        UpdateScroll();
        if (FHandle) InvalidateRect(FHandle, nullptr, true);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateNode(FSelected);
        return true;
    case WM_SETFONT:
        TNativeControl::NativeProc(M);
        UpdateScroll();
        return true;
    }
    return TNativeControl::NativeProc(M);
}

// ---- painting ----------------------------------------------------------------------------------------------------------
void TCustomTreeView::PaintNode(HDC DC, TTreeNode* Node, int Row)
{
    int H = RowHeight();
    int Y = (Row - FTop) * H;
    int L = NodeLeft(Node);
    bool Focus = FHandle && GetFocus() == FHandle;
    bool Sel = Node == FSelected && (Focus || !FHideSelection);
    TSaveDC Keep(DC);
    SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
    SetBkColor(DC, COLORREF(ColorToRGB(FColor)));
    NMTVCUSTOMDRAW D;
    D.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    D.nmcd.hdc = DC;
    D.nmcd.rc = {0, Y, ClientWidth(), Y + H};
    D.nmcd.dwItemSpec = uintptr_t(Node);
    D.nmcd.uItemState = (Node == FSelected ? CDIS_SELECTED : 0) | (Node == FSelected && Focus ? CDIS_FOCUS : 0);
    D.iLevel = Node->Level();
    LRESULT Res = NotifyRecord(D.nmcd.hdr, NM_CUSTOMDRAW);
    if (Res & CDRF_SKIPDEFAULT) return;
    COLORREF Fg = (Res & CDRF_NEWFONT) ? D.clrText : GetTextColor(DC);
    FillSolid(DC, D.nmcd.rc, (Res & CDRF_NEWFONT) ? TColor(D.clrTextBk) : FColor);
    // lines and button
    int Mid = Y + H / 2;
    if (FShowRoot || Node->Level() > 0) {
        int BX = L - FIndent / 2 - 2;
        if (FShowLines) {
            TColor LineC = clGray;
            FillSolid(DC, {BX, Mid, L - 2, Mid + 1}, LineC);
            bool First = !Node->GetPrevSibling() && !Node->Parent();
            FillSolid(DC, {BX, First ? Mid : Y, BX + 1, Node->GetNextSibling() ? Y + H : Mid + 1}, LineC);
            for (TTreeNode* P = Node->Parent(); P && (FShowRoot || P->Level() > 0); P = P->Parent())
                if (P->GetNextSibling()) {
                    int PX = NodeLeft(P) - FIndent / 2 - 2;
                    FillSolid(DC, {PX, Y, PX + 1, Y + H}, LineC);
                }
        }
        if (FShowButtons && Node->HasChildren()) {
            TRect B = Bounds(BX - 4, Mid - 4, 9, 9);
            FillSolid(DC, B, FColor);
            HBRUSH Frame = CreateSolidBrush(COLORREF(ColorToRGB(clGray)));
            FrameRect(DC, &B, Frame);
            DeleteObject(Frame);
            FillSolid(DC, {B.Left + 2, Mid, B.Right - 2, Mid + 1}, clWindowText);
            if (!Node->FExpanded) FillSolid(DC, {BX, B.Top + 2, BX + 1, B.Bottom - 2}, clWindowText);
        }
    }
    int X = L;
    if (FStateImages && Node->FStateIndex >= 0) {
        ImageList_Draw(FStateImages->Handle(), Node->FStateIndex, DC, X, Y + (H - FStateImages->Height()) / 2, ILD_TRANSPARENT);
        X += FStateImages->Width();
    }
    if (FImages) {
        GetImageIndex(Node);
        if (Node == FSelected) GetSelectedIndex(Node);
        int Img = Node == FSelected && Node->FSelectedIndex >= 0 ? Node->FSelectedIndex : Node->FImageIndex;
        if (Img >= 0) ImageList_Draw(FImages->Handle(), Img, DC, X, Y + (H - FImages->Height()) / 2, ILD_TRANSPARENT);
    }
    TRect T = NodeRect(Node, true);
    if (Sel) {
        FillSolid(DC, FRowSelect ? TRect{0, Y, ClientWidth(), Y + H} : T, Focus ? clHighlight : clBtnFace);
        Fg = GetSysColor(Focus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    SetTextColor(DC, Fg);
    SetBkMode(DC, TRANSPARENT);
    DrawItemText(DC, Node->Text(), {T.Left + 2, T.Top, T.Right, T.Bottom});
    if (Node == FSelected && Focus) ::DrawFocusRect(DC, &T);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node)
{
    if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node)
{
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::NativePaint(HDC DC)
{
    TSaveDC Keep(DC);
    SelectObject(DC, NativeFont());
    NMTVCUSTOMDRAW Pre;
    Pre.nmcd.dwDrawStage = CDDS_PREPAINT;
    Pre.nmcd.hdc = DC;
    NotifyRecord(Pre.nmcd.hdr, NM_CUSTOMDRAW);
    const auto& S = Shown();
    int H = RowHeight();
    TRect C = ClientRect();
    int Last = std::min(int(S.size()) - 1, FTop + C.Height() / H);
    for (int Row = FTop; Row <= Last; ++Row) PaintNode(DC, S[size_t(Row)], Row);
}
