// The application button and the application menu: items, layout, the item column's
// scroll bar, selection, keys, pointer, pages and the caption strip of the frame.
#include "skin/frame/bsAppMenu.h"

#include <algorithm>

#include "skin/frame/bsRibbon.h"
#include "skin/frame/bsSkinFormFrame.h"

// ---- TbsAppButton ---------------------------------------------------------------------------

TbsAppButton::TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}

bool TbsAppButton::CanMenuPopup(int X, int Y)
{
    if (Ribbon && Ribbon->AppMenu()) return true;
    return TbsSkinMenuButton::CanMenuPopup(X, Y);
}

void TbsAppButton::TrackMenu()
{
    if (Ribbon && Ribbon->AppMenu()) {
        FDownState = true;
        Ribbon->ShowAppMenu();
        return;
    }
    TbsSkinMenuButton::TrackMenu();
}

void TbsAppButton::ClearMenuTracking()
{
    FMenuTracked = false;
    FDownState = false;
    SetDown(false);
}

void TbsAppButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A second press while the menu is open closes it.
    if (Button == mbLeft && Ribbon && Ribbon->AppMenu() && Ribbon->AppMenu()->Visible()) {
        Ribbon->HideAppMenu(nullptr);
        return;
    }
    TbsSkinMenuButton::MouseDown(Button, Shift, X, Y);
}

void TbsAppButton::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinMenuButton::KeyDown(Key, Shift);
    switch (Key) {
    case VK_DOWN:
    case VK_SPACE: DropDown(); break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
        if (Ribbon && Ribbon->CanFocus()) Ribbon->SetFocus();
        break;
    }
}

void TbsAppButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETDLGCODE: M.Result = DLGC_WANTARROWS; return;
    case WM_KEYUP:
        TbsSkinMenuButton::Dispatch(M);
        if (M.WParam == VK_RETURN) DropDown();
        return;
    }
    TbsSkinMenuButton::Dispatch(M);
}

// ---- items ----------------------------------------------------------------------------------

TbsAppMenuItem::TbsAppMenuItem(TCollection* ACollection) : TCollectionItem(ACollection)
{
    FCaption = "TbsAppMenuItem" + std::to_string(Index());
}

void TbsAppMenuItem::SetPage(TbsAppMenuPage* Value)
{
    if (FPage == Value) return;
    FPage = Value;
    // The menu hears when the page goes away, and forgets it in every item.
    auto* Items = dynamic_cast<TbsAppMenuItems*>(Collection());
    if (FPage && Items && Items->AppMenu) FPage->FreeNotification(Items->AppMenu);
    if (FPage && FPage->AppMenu) FPage->AppMenu->SetActivePage(FPage);
}

void TbsAppMenuItem::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    FVisible = Value;
    Changed(false);
}

void TbsAppMenuItem::SetEnabled(bool Value)
{
    if (FEnabled == Value) return;
    FEnabled = Value;
    Changed(false);
}

void TbsAppMenuItem::SetImageIndex(int Value)
{
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    Changed(false);
}

void TbsAppMenuItem::SetCaption(const String& Value)
{
    if (FCaption == Value) return;
    FCaption = Value;
    Changed(false);
}

void TbsAppMenuItem::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsAppMenuItem*>(Source)) {
        FPage = S->FPage;
        FCaption = S->FCaption;
        FImageIndex = S->FImageIndex;
        FVisible = S->FVisible;
        FEnabled = S->FEnabled;
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsAppMenuItems::TbsAppMenuItems(TbsAppMenu* AAppMenu)
    : TCollection(TCollection::ItemClass<TbsAppMenuItem>()), AppMenu(AAppMenu)
{
}

TPersistent* TbsAppMenuItems::GetOwner() { return AppMenu; }

void TbsAppMenuItems::Update(TCollectionItem* AItem)
{
    TCollection::Update(AItem);
    if (!AppMenu) return;
    if (AppMenu->Visible() || AppMenu->IsDesigning()) AppMenu->UpdateScrollInfo();
    AppMenu->Invalidate();
}

// ---- the menu: creation and skin --------------------------------------------------------------

TbsAppMenu::TbsAppMenu(TComponent* AOwner) : TbsSkinControl(AOwner), FItems(std::make_unique<TbsAppMenuItems>(this))
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    SetBounds(Left(), Top(), 250, 200);
    SetAlign(alNone);
    FSkinDataName = "appmenu";
}

TbsAppMenu::~TbsAppMenu()
{
    // From here on the pages' links to this menu read none: they belong to the form and
    // may outlive it.
    Destroying();
    // Items first: a page's item must not be read while the menu goes.
    FItems->AppMenu = nullptr;
    FItems.reset();
    HideScrollBarNow();
}

void TbsAppMenu::HideScrollBarNow()
{
    TbsSkinScrollBar* B = FScrollBar;
    FScrollBar = nullptr;
    delete B;
}

void TbsAppMenu::CreateParams(TCreateParams& Params)
{
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsAppMenu::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    FData = nullptr;
    FDataPicture = FDataBGPicture = FDataPageBGPicture = nullptr;
    if (FIndex == -1) return;
    FData = dynamic_cast<TbsDataSkinAppMenu*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!FData) {
        // A record of another kind under our name is no skin for the menu.
        FIndex = -1;
        return;
    }
    // Pictures outside the list, and empty ones, count as none.
    auto Pic = [this](int I) -> TBitmap* {
        TBitmap* B = FSD->ActivePicture(I);
        return B && !B->Empty() && B->Width() > 0 && B->Height() > 0 ? B : nullptr;
    };
    FDataPicture = Pic(FData->PictureIndex);
    FDataBGPicture = Pic(FData->BGPictureIndex);
    FDataPageBGPicture = Pic(FData->BGPagePictureIndex);
}

void TbsAppMenu::SetSkinData(TbsSkinData* Value) { TbsSkinControl::SetSkinData(Value); }
void TbsAppMenu::ChangeSkinData() { TbsSkinControl::ChangeSkinData(); }

void TbsAppMenu::Loaded()
{
    TbsSkinControl::Loaded();
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsAppMenuPage* P = FItems->Items(I)->Page();
        if (!P) continue;
        P->AppMenu = this;
        P->SetVisible(P == FActivePage);
    }
}

void TbsAppMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FActivePage) FActivePage = nullptr;
    if (AComponent == FItemImageList) FItemImageList = nullptr;
    if (AComponent == FItemPageImageList) FItemPageImageList = nullptr;
    if (AComponent == FScrollBar) FScrollBar = nullptr;
    // An item never keeps a page that went away.
    if (FItems)
        for (int I = 0; I < FItems->Count(); ++I)
            if (FItems->Items(I)->Page() == AComponent) FItems->Items(I)->ClearPage();
}

// ---- properties ---------------------------------------------------------------------------------

void TbsAppMenu::SetItemWidth(int Value)
{
    FItemWidth = std::max(100, Value);
    if (FActivePage) FActivePage->UpDateSize();
    Invalidate();
}

void TbsAppMenu::SetItems(TbsAppMenuItems* Value)
{
    FItems->Assign(Value);
    Invalidate();
}

void TbsAppMenu::SetSkinHint(TbsSkinHint* Value)
{
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsAppMenu::SetItemImageList(TCustomImageList* Value)
{
    FItemImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsAppMenu::SetItemPageImageList(TCustomImageList* Value)
{
    FItemPageImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsAppMenu::SetActivePage(TbsAppMenuPage* Value)
{
    TbsAppMenuPage* Old = FActivePage;
    if (Old && Old != Value) {
        Old->SetVisible(false);
        Old->FStopScroll = true;
    }
    FActivePage = Value;
    const bool Loading = ComponentState().Contains(csLoading);
    if (Value && !Loading) {
        Value->FreeNotification(this);
        Value->SetVisible(false);
        Value->SetParent(this);
        Value->AppMenu = this;
        Value->UpDateSize();
        Value->SetVisible(true);
        Value->BringToFront();
        Value->FStopScroll = !Visible();
        if (Value->CanScroll()) Value->GetScrollInfo();
    }
    if (Value != Old && !Loading && OnChangePage) OnChangePage(this);
    Invalidate();
}

TbsAppMenuItem* TbsAppMenu::SelectedItem() const { return ValidIndex(FItemIndex) ? FItems->Items(FItemIndex) : nullptr; }

void TbsAppMenu::SetItemIndex(int Value)
{
    FItemIndex = Value;
    if (TbsAppMenuItem* It = SelectedItem())
        if (It->Page() && It->Page() != FActivePage) SetActivePage(It->Page());
    if (FScrollBar) ScrollToItem(FItemIndex);
    Invalidate();
}

// ---- pages --------------------------------------------------------------------------------------

void TbsAppMenu::GetPageBounds(TRect& Bounds)
{
    GetSkinData();
    const int Offset = FData ? FData->PageOffset : 0;
    Bounds = ::Bounds(FItemWidth + Offset, 25, Width() - 25 - FItemWidth - Offset, Height() - 50);
}

int TbsAppMenu::PageToItemIndex(TbsAppMenuPage* Page) const
{
    if (!Page) return -1;
    for (int I = 0; I < FItems->Count(); ++I)
        if (FItems->Items(I)->Page() == Page) return I;
    return -1;
}

void MakeUniqueName(const String& Pattern, TComponent* Form, String& Name)
{
    const size_t At = Pattern.find("%d");
    auto Make = [&](int N) {
        return At == String::npos ? Pattern + std::to_string(N)
                                  : Pattern.substr(0, At) + std::to_string(N) + Pattern.substr(At + 2);
    };
    int N = 1;
    if (Form)
        while (Form->FindComponent(Make(N))) ++N;
    Name = Make(N);
}

TbsAppMenuPage* TbsAppMenu::CreatePage()
{
    TCustomForm* Form = GetParentForm(this);
    TComponent* Owner = Form ? static_cast<TComponent*>(Form) : this->Owner();
    auto* P = new TbsAppMenuPage(Owner);
    P->SetParent(this);
    P->AppMenu = this;
    TRect B;
    GetPageBounds(B);
    P->SetBounds(B.Left, B.Top, B.Width(), B.Height());
    String N;
    MakeUniqueName("bsAppMenuPage%d", Form, N);
    P->SetName(N);
    SetActivePage(P);
    Invalidate();
    return P;
}

TRect TbsAppMenu::GetActivePageRect() const
{
    if (!FActivePage) return TRect();
    return ::Bounds(FActivePage->Left(), FActivePage->Top(), FActivePage->Width(), FActivePage->Height());
}

// ---- layout -------------------------------------------------------------------------------------

namespace {
struct TItemMetrics {
    int IH, PH, A;
    bool S;
};
}  // namespace

static TItemMetrics MetricsOf(const TbsDataSkinAppMenu* D)
{
    if (!D) return {28, 35, 0, false};
    return {D->ItemRect.Height(), D->PageItemRect.Height(),
            D->BackButtonRect.IsEmpty() ? 0 : D->BackButtonRect.Height() + 5, SameRects(D->PageItemRect, D->ItemRect)};
}

int TbsAppMenu::WalkColumn(int Offset, bool SetRects)
{
    const TItemMetrics M = MetricsOf(FIndex != -1 ? FData : nullptr);
    int Y = M.A - Offset + 7;
    bool First = true, PrevPage = false;
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsAppMenuItem* It = FItems->Items(I);
        if (!It->Visible()) continue;  // hidden items keep their old rectangle
        const bool HasPage = It->Page() != nullptr;
        if (HasPage && !M.S) {
            if (First)
                Y = 30 - Offset;
            else if (!PrevPage)
                Y += 8;
        }
        if (HasPage) {
            if (SetRects) It->ItemRect = Rect(0, Y, FItemWidth, Y + M.PH);
            Y += M.PH + (M.S ? 0 : 8);
        } else {
            if (SetRects) It->ItemRect = M.S ? Rect(0, Y, FItemWidth, Y + M.IH) : Rect(8, Y, FItemWidth - 8, Y + M.IH);
            Y += M.IH;
        }
        First = false;
        PrevPage = HasPage;
    }
    return Y;
}

void TbsAppMenu::CalcItemRects()
{
    FBackButtonRect = TRect();
    if (FIndex != -1 && FData && !FData->BackButtonRect.IsEmpty()) {
        const int BW = FData->BackButtonRect.Width(), BH = FData->BackButtonRect.Height();
        FBackButtonRect = CanDrawAppMenuCaption() ? Rect(23, 0, 23 + BW, BH) : Rect(23, 3, 23 + BW, BH + 3);
    }
    WalkColumn(FScrollOffset, true);
}

void TbsAppMenu::CalcScrollInfo(int& AMin, int& AMax, int& APage)
{
    GetSkinData();
    int A = WalkColumn(0, false);
    if (FItems->Count() > 0 && FItems->Items(FItems->Count() - 1)->Page()) A += 25;
    AMin = 0;
    AMax = A + 1;
    APage = Height();
}

// ---- the scroll bar -----------------------------------------------------------------------------

void TbsAppMenu::ApplyScrollRange(int AMax, int APage)
{
    if (APage < AMax) {
        if (!FScrollBar) ShowScrollBar();
        if (FScrollBar) {
            FScrollBar->SetRange(0, AMax, APage, FScrollOffset);
            FScrollBar->SetLargeChange(APage);
        }
    } else {
        // Everything fits: the column goes home, or it would stay shifted with no bar
        // left to bring it back.
        FScrollOffset = 0;
        if (FScrollBar) HideScrollBar();
    }
}

void TbsAppMenu::UpdateScrollInfo()
{
    int Min, Max, Page;
    CalcScrollInfo(Min, Max, Page);
    ApplyScrollRange(Max, Page);
}

void TbsAppMenu::ShowScrollBar()
{
    FScrollBar = new TbsSkinScrollBar(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->SetDefaultHeight(0);
    FScrollBar->SetDefaultWidth(19);
    FScrollBar->SetSmallChange(28);
    FScrollBar->SetLargeChange(28);
    FScrollBar->SetSkinDataName("vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->OnChange = [this](TObject* S) { ScrollBarChange(S); };
    AdjustScrollBar();
    FScrollBar->SetVisible(true);
    Invalidate();
}

void TbsAppMenu::HideScrollBar()
{
    if (!FScrollBar) return;
    FScrollBar->SetVisible(false);
    HideScrollBarNow();
    Invalidate();
}

void TbsAppMenu::AdjustScrollBar()
{
    if (!FScrollBar) return;
    TRect R = Rect(0, 0, Width(), Height());
    if (CanShowGripper()) R.Bottom -= 20;
    FScrollBar->SetBounds(R.Right - FScrollBar->Width(), R.Top, FScrollBar->Width(), R.Height());
}

void TbsAppMenu::ScrollBarChange(TObject*)
{
    if (!FScrollBar) return;
    FScrollOffset = FScrollBar->Position();
    Invalidate();
}

void TbsAppMenu::WMSize()
{
    if (FActivePage) FActivePage->UpDateSize();
    if (FOldHeight != -1 && FOldHeight != Height()) {
        int Min, Max, Page;
        CalcScrollInfo(Min, Max, Page);
        if (FScrollOffset > 0) FScrollOffset = std::max(0, FScrollOffset + FOldHeight - Height());
        ApplyScrollRange(Max, Page);
    }
    AdjustScrollBar();
    Invalidate();
    FOldHeight = Height();
}

void TbsAppMenu::ScrollToItem(int Index)
{
    // Any index outside the items names none.
    if (!ValidIndex(Index) || !FScrollBar) return;
    TbsAppMenuItem* It = FItems->Items(Index);
    const bool Last = Index == FItems->Count() - 1;
    auto Move = [this](int P) {
        if (FScrollBar && FScrollBar->Position() != P) FScrollBar->SetPosition(P);
    };
    CalcItemRects();
    int T = It->ItemRect.Top, B = It->ItemRect.Bottom;
    if (FScrollBar->Visible() && (T < 0 || B > Height())) {
        const int D = (T < 0 ? T : B) - FScrollOffset;
        Move(Last ? FScrollBar->Max() : FScrollBar->Position() + D);
    } else if (FScrollBar->Visible()) {
        if (Last)
            Move(FScrollBar->Max());
        else if (Index == 0)
            Move(FScrollBar->Min());
    }
    if (!It->Page() || !FScrollBar) return;
    CalcItemRects();
    T = It->ItemRect.Top;
    B = It->ItemRect.Bottom;
    if (T < 30)
        Move(FScrollBar->Position() - (30 - T));
    else if (B > Height() - 30)
        Move(FScrollBar->Position() + B - (Height() - 30));
}

// ---- selection ----------------------------------------------------------------------------------

static bool Selectable(TbsAppMenuItem* It) { return It->Visible() && It->Enabled(); }

void TbsAppMenu::FindNextItem()
{
    if (!ValidIndex(FItemIndex) || FItemIndex == FItems->Count() - 1) return;
    for (int I = FItemIndex + 1; I < FItems->Count(); ++I)
        if (Selectable(FItems->Items(I))) {
            SetItemIndex(I);
            return;
        }
}

void TbsAppMenu::FindPriorItem()
{
    if (!ValidIndex(FItemIndex) || FItemIndex == 0) return;
    for (int I = FItemIndex - 1; I >= 0; --I)
        if (Selectable(FItems->Items(I))) {
            SetItemIndex(I);
            return;
        }
}

void TbsAppMenu::FindFirstItem()
{
    for (int I = 0; I < FItems->Count(); ++I)
        if (Selectable(FItems->Items(I))) {
            SetItemIndex(I);
            return;
        }
}

void TbsAppMenu::FindLastItem()
{
    for (int I = FItems->Count() - 1; I >= 0; --I)
        if (Selectable(FItems->Items(I))) {
            SetItemIndex(I);
            return;
        }
}

// ---- keys ---------------------------------------------------------------------------------------

void TbsAppMenu::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_TAB: {
        TbsAppMenuItem* It = SelectedItem();
        if (!It) return;
        if (!It->Page()) {
            if (!Ribbon) return;
            if (Key == VK_TAB)
                FindNextItem();
            else
                Ribbon->HideAppMenu(It);
            return;
        }
        TWinControl* C = It->Page()->FirstActiveControl();
        if (C && C->Parent() == It->Page() && C->Visible() && C->CanFocus())
            C->SetFocus();
        else if (Key == VK_TAB)
            FindNextItem();
        return;
    }
    case VK_PRIOR: FindFirstItem(); return;
    case VK_NEXT: FindLastItem(); return;
    case VK_LEFT:
    case VK_UP: FindPriorItem(); return;
    case VK_RIGHT:
    case VK_DOWN: FindNextItem(); return;
    }
}

void TbsAppMenu::WMMouseWheel(TMessage& M)
{
    if (!Focused() || !HandleAllocated()) return;
    if (WindowFromPoint(LParamToPoint(M.LParam)) != Handle()) return;
    if (int16_t(HIWORD(M.WParam)) < 0)
        FindNextItem();
    else
        FindPriorItem();
}

// ---- pointer ------------------------------------------------------------------------------------

int TbsAppMenu::ItemAtPoint(TPoint P) const
{
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsAppMenuItem* It = FItems->Items(I);
        if (It->Visible() && It->Page() && It->ItemRect.Contains(P)) return I;
    }
    return -1;
}

void TbsAppMenu::TestActive(int X, int Y)
{
    if (FItems->Count() == 0) return;
    const TPoint P = Point(X, Y);
    const bool Back = !FBackButtonRect.IsEmpty() && FBackButtonRect.Contains(P);
    if (Back != FBackButtonActive) {
        FBackButtonActive = Back;
        Invalidate();
    }
    FOldItemActive = FItemActive;
    FItemActive = -1;
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsAppMenuItem* It = FItems->Items(I);
        if (Selectable(It) && It->ItemRect.Contains(P)) {
            FItemActive = I;
            break;
        }
    }
    if (FItemActive == FOldItemActive) return;
    if (ValidIndex(FOldItemActive)) FItems->Items(FOldItemActive)->Active = false;
    if (ValidIndex(FItemActive)) FItems->Items(FItemActive)->Active = true;
    Invalidate();
}

void TbsAppMenu::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsAppMenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FItemActive != FItemIndex) SetItemIndex(FItemActive);
    if (!Focused() && CanFocus()) SetFocus();
}

void TbsAppMenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FBackButtonActive) {
        if (Ribbon) Ribbon->HideAppMenu(nullptr);
        return;
    }
    TbsAppMenuItem* It = SelectedItem();
    if (It && !It->Page() && FItemIndex == FItemActive && Ribbon) Ribbon->HideAppMenu(It);
}

bool TbsAppMenu::CanShowGripper()
{
    if (!Ribbon || !Ribbon->BSF) return false;
    TbsSkinFormFrame* F = Ribbon->BSF;
    if (F->WindowState() == wsMaximized || F->RollUpState()) return false;
    TCustomForm* Form = F->Form();
    return !Form || Form->BorderStyle() != bsSingle;
}

TRect TbsAppMenu::GetGripperRect() const { return Rect(Width() - 10, Height() - 10, Width(), Height()); }

// ---- caption strip ------------------------------------------------------------------------------

bool TbsAppMenu::CanDrawAppMenuCaption()
{
    GetSkinData();
    return FIndex != -1 && FData && !FData->CaptionRect.IsEmpty();
}

int TbsAppMenu::GetAppMenuCaptionOffset()
{
    GetSkinData();
    return FIndex != -1 && FData ? FData->CaptionLeftOffset + FItemWidth : FItemWidth;
}

void TbsAppMenu::DrawAppMenuCaption(TCanvas* Cnvs, TRect R)
{
    GetSkinData();
    if (FIndex == -1 || !FData || !FDataPicture || FData->CaptionRect.IsEmpty()) return;
    R.Left += FData->CaptionLeftOffset;
    R.Right += FData->CaptionLeftOffset;
    R.Top = FData->CaptionTopOffset;
    if (R.IsEmpty()) return;
    Cnvs->CopyRect(R, FDataPicture->Canvas(), FData->CaptionRect);
}

// ---- messages -----------------------------------------------------------------------------------

void TbsAppMenu::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinControl::Dispatch(M);
        Invalidate();
        return;
    case WM_GETDLGCODE: M.Result = DLGC_WANTARROWS | DLGC_WANTTAB; return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(M);
        return;
    case WM_ERASEBKGND: M.Result = 1; return;
    case WM_SIZE:
        TbsSkinControl::Dispatch(M);
        WMSize();
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(M);
        TestActive(-1, -1);
        return;
    case WM_NCHITTEST: {
        const TPoint P = ScreenToClient(LParamToPoint(M.LParam));
        const TRect G = GetGripperRect();
        if (P.X >= G.Left && P.X <= G.Right && P.Y >= G.Top && P.Y <= G.Bottom && CanShowGripper()) {
            M.Result = HTBOTTOMRIGHT;
            return;
        }
        break;
    }
    }
    TbsSkinControl::Dispatch(M);
}
