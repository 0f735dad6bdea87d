// The chain of open menu levels of a form frame: opening, the 500 ms wait before a
// submenu opens under a resting pointer, entering and executing items, closing levels and
// telling the opener and the form.
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

namespace {
// Posted to the chain's utility window: free the levels closed meanwhile.
constexpr UINT WM_FREELEVELS = WM_USER + 1;
}  // namespace

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm)
    : TComponent(AOwner), FForm(AForm), FDefaultMenuItemFont(std::make_unique<TFont>())
{
    FDefaultMenuItemFont->SetName("Tahoma");
    FDefaultMenuItemFont->SetHeight(13);
    FDefaultMenuItemFont->SetStyle({});
    WaitTimer = new TTimer(this);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->SetOnTimer([this](TObject*) { WaitTimerTick(); });
    FUtilWindow = AllocateHWnd([this](TMessage& M) {
        if (M.Msg == WM_FREELEVELS) EmptyGarbage();
    });
    if (FForm) FForm->FreeNotification(this);
}

TbsSkinMenu::~TbsSkinMenu()
{
    ClosePopups(0);
    EmptyGarbage();
    if (FUtilWindow) DeallocateHWnd(FUtilWindow);
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == PopupCtrl) PopupCtrl = nullptr;
    if (AComponent == DCtrl) DCtrl = nullptr;
    if (AComponent == FForm) FForm = nullptr;
    if (AComponent == SkinData) {
        // the open levels draw from the skin data's records: they close with it
        SkinData = nullptr;
        if (!FPopupList.empty()) ClosePopups(0);
    }
}

void TbsSkinMenu::SetPopupCtrl(TControl* C)
{
    if (PopupCtrl && PopupCtrl != DCtrl) PopupCtrl->RemoveFreeNotification(this);
    PopupCtrl = C;
    if (C) C->FreeNotification(this);
}

void TbsSkinMenu::SetDCtrl(TControl* C)
{
    if (DCtrl && DCtrl != PopupCtrl) DCtrl->RemoveFreeNotification(this);
    DCtrl = C;
    if (C) C->FreeNotification(this);
}

void TbsSkinMenu::Discard(TbsSkinPopupWindow* W)
{
    W->Hide();
    FGarbage.push_back(W);
    if (FUtilWindow) PostMessage(FUtilWindow, WM_FREELEVELS, 0, 0);
}

void TbsSkinMenu::EmptyGarbage()
{
    std::vector<TbsSkinPopupWindow*> G;
    G.swap(FGarbage);
    for (TbsSkinPopupWindow* W : G) delete W;
}

TRect TbsSkinMenu::GetWorkArea() const
{
    TRect R;
    ::GetWorkArea(true, R);
    if (FForm && FForm->HandleAllocated()) GetMonitorWorkArea(FForm->Handle(), true, R);
    return R;
}

TbsSkinPopupWindow* TbsSkinMenu::AddLevel()
{
    TbsDataSkinPopupWindow* Data = SkinData && !SkinData->Empty ? SkinData->PopupWindow.get() : nullptr;
    auto* W = new TbsSkinPopupWindow(this, this, Data);
    FPopupList.push_back(W);
    return W;
}

// ---- opening ----------------------------------------------------------------------------------

void TbsSkinMenu::Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                        TMenuItem* AItem, bool PopupUp)
{
    FFirst = !FVisible;
    // the chain still open closes first, so that its own opener hears of it
    if (!FPopupList.empty()) ClosePopups(0);
    SetPopupCtrl(APopupCtrl);
    WorkArea = GetWorkArea();
    SkinData = ASkinData;
    if (ASkinData) ASkinData->FreeNotification(this);
    if (AItem && AItem->Count() > 0 && StartIndex >= 0 && StartIndex < AItem->Count()) {
        FVisible = true;
        AddLevel()->Show(R, AItem, StartIndex, false, PopupUp);
        FFirst = false;
    }
}

void TbsSkinMenu::Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp)
{
    FFirst = !FVisible;
    if (!FPopupList.empty()) ClosePopups(0);
    SetPopupCtrl(APopupCtrl);
    WorkArea = GetWorkArea();
    SkinData = ASkinData;
    if (ASkinData) ASkinData->FreeNotification(this);
    const int Count2 = AItem2 ? AItem2->Count() : 0;
    if (AItem && AItem->Count() > 0 && StartIndex >= 0 && StartIndex < AItem->Count() + Count2) {
        FVisible = true;
        AddLevel()->Show2(R, AItem, AItem2, StartIndex, false, PopupUp);
        FFirst = false;
    }
}

// ---- items ----------------------------------------------------------------------------------------

void TbsSkinMenu::ItemAction(TbsSkinPopupWindow* W, TbsSkinMenuItem* Item, bool Execute, bool ByKeyboard)
{
    const bool Sub = Item->HasSubMenu();
    auto StopWait = [this] {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
    };
    auto CloseDeeper = [this, W] {
        const int L = IndexOfPopup(W);
        if (L < LevelCount() - 1) ClosePopups(L + 1);
    };
    auto Dispatch = [](TMenuItem* MI) {
        TMenu* M = MI->GetParentMenu();
        if (!M || !M->DispatchCommand(MI->Command())) MI->Click();
    };
    if (!Sub && !Execute) {
        StopWait();
        CloseDeeper();
    } else if (!Sub) {
        StopWait();
        TMenuItem* MI = Item->MenuItem;
        Hide();
        Dispatch(MI);
        if (DCtrl) {
            TControl* C = DCtrl;
            SetDCtrl(nullptr);
            bsSendSkinMenuMessage(C, SkinMenuCommandDone);
        }
    } else if (!Execute && !ByKeyboard) {
        StopWait();
        CloseDeeper();
        WItem = Item;
        WaitTimer->SetEnabled(true);
    } else if (Execute) {
        TMenuItem* MI = Item->MenuItem;
        Dispatch(MI);
        StopWait();
        if (IndexOfPopup(W) == LevelCount()) return;  // the click closed the chain
        Item->Down = true;
        Item->ReDraw();
        const TPoint P = W->ClientToScreen(Item->ObjectRect.TopLeft());
        const TRect R(P.X, P.Y, P.X + WidthOfRect(Item->ObjectRect), P.Y + HeightOfRect(Item->ObjectRect));
        AddLevel()->Show(R, MI, 0, true, false);
    }
}

void TbsSkinMenu::WaitTimerTick()
{
    TbsSkinMenuItem* I = WItem;
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (I && IndexOfPopup(I->Parent) < LevelCount()) ItemAction(I->Parent, I, true, false);
}

// ---- closing --------------------------------------------------------------------------------------

int TbsSkinMenu::IndexOfPopup(TbsSkinPopupWindow* W) const
{
    for (size_t I = 0; I < FPopupList.size(); ++I)
        if (FPopupList[I] == W) return int(I);
    return int(FPopupList.size());
}

void TbsSkinMenu::ClosePopups(int Level)
{
    if (Level < 0) Level = 0;
    const bool WasOpen = FVisible || !FPopupList.empty();
    while (int(FPopupList.size()) > Level) {
        TbsSkinPopupWindow* W = FPopupList.back();
        FPopupList.pop_back();
        if (WItem && WItem->Parent == W) {
            WItem = nullptr;
            WaitTimer->SetEnabled(false);
        }
        Discard(W);
    }
    if (Level != 0 || (!WasOpen && !PopupCtrl)) return;
    FVisible = false;
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    TControl* C = PopupCtrl;
    SetDCtrl(C);
    if (C) {
        PopupCtrl = nullptr;
        bsNotifySkinMenuClosed(C);
    }
    if (OnMenuClose) {
        TNotifyEvent E = std::move(OnMenuClose);
        OnMenuClose = nullptr;
        E(this);
    }
}

void TbsSkinMenu::Hide()
{
    ClosePopups(0);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (FForm && FForm->HandleAllocated()) SendMessage(FForm->Handle(), SkinMenuClosed, 0, 0);
    if (PopupCtrl) {
        TControl* C = PopupCtrl;
        SetPopupCtrl(nullptr);
        bsNotifySkinMenuClosed(C);
    }
}
