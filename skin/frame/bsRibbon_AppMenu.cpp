// The ribbon's link to its application menu: showing the menu over the form's client
// area, hiding it (running the chosen item), and the Esc filter while it is shown.
#include "skin/frame/bsRibbon.h"

#include "skin/core/bsUtils.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsSkinFormFrame.h"

bool TbsRibbon::AppMenuVisible() const { return FAppMenu && FAppMenu->Visible(); }

void TbsRibbon::SetAppMenu(TbsAppMenu* Value)
{
    if (FAppMenu == Value) return;
    if (FInAppHook) UnhookAppMessages();
    // the menu let go no longer reaches this ribbon
    if (FAppMenu && FAppMenu->Ribbon == this) FAppMenu->Ribbon = nullptr;
    FAppMenu = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetVisible(false);
        Value->Ribbon = this;
    }
}

void TbsRibbon::PlaceAppMenu()
{
    TCustomForm* Form = GetParentForm(this);
    if (!FAppMenu || !Form || !FAppButton) return;
    int Top = FAppButton->Top() + this->Top() + FAppButton->Height();
    int H = Form->ClientHeight() - this->Top() + FAppButton->Top() - FAppButton->Height();
    GetSkinData();
    if (FIndex != -1 && FData) {
        FAppMenu->GetSkinData();
        if (FAppMenu->FData && !IsEmptyRect(FAppMenu->FData->BackButtonRect)) {
            Top = 0;
            H = Form->ClientHeight();
        }
    }
    FAppMenu->SetBounds(0, Top, Form->ClientWidth(), H);
    FAppMenu->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TbsRibbon::ShowAppMenu()
{
    if (!FAppMenu) return;
    if (FAppMenu->OnShowingMenu) FAppMenu->OnShowingMenu(this);
    HookAppMessages();
    TCustomForm* Form = GetParentForm(this);
    if (Form && FAppMenu->Parent() != Form) FAppMenu->SetParent(Form);
    PlaceAppMenu();
    if (TbsAppMenuPage* P = FAppMenu->ActivePage()) FAppMenu->SetItemIndex(FAppMenu->PageToItemIndex(P));
    else FAppMenu->SetItemIndex(0);
    FAppMenu->Show();
    FAppMenu->BringToFront();
    if (FAppMenu->CanFocus()) FAppMenu->SetFocus();
    // the current item, when it names one, must be one that can be chosen
    const int I = FAppMenu->ItemIndex();
    if (I >= 0 && I < FAppMenu->Items()->Count()) {
        TbsAppMenuItem* Item = FAppMenu->Items()->Items(I);
        if (!Item->Visible() || !Item->Enabled()) FAppMenu->FindNextItem();
    }
    if (TbsAppMenuPage* P = FAppMenu->ActivePage()) {
        P->FStopScroll = false;
        P->SetBounds(P->Left(), P->Top(), P->Width(), P->Height());
        if (P->CanScroll()) P->GetScrollInfo();
    }
    Invalidate();
    if (BSF) BSF->UpDateFormNC();
    if (FAppMenu->OnShowMenu) FAppMenu->OnShowMenu(this);
}

void TbsRibbon::HideAppMenu(TbsAppMenuItem* Item)
{
    if (!FAppMenu) return;
    UnhookAppMessages();
    if (FAppMenu->OnHidingMenu) FAppMenu->OnHidingMenu(this);
    FAppMenu->SetAnchors(TAnchors{});
    FAppMenu->Hide();
    Invalidate();
    if (FAppButton) FAppButton->ClearMenuTracking();
    // the menu disappears before a long action of the chosen item
    if (Application) Application->ProcessMessages();
    if (Item && Item->OnClick) Item->OnClick(this);
    if (OnMenuClose) OnMenuClose(this);
    if (BSF) BSF->UpDateFormNC();
    if (FAppMenu && FAppMenu->OnHideMenu) FAppMenu->OnHideMenu(this);
}

// The Esc filter is the ribbon's own entry in the application's filter list, so the
// frame's menu filter and the ribbon's come and go in any order without undoing each
// other.
void TbsRibbon::HookAppMessages()
{
    if (FInAppHook || !Application) return;
    FInAppHook = true;
    Application->AddMessageFilter(this, [this](TMsg& Msg, bool& Handled) { AppMessageHook(Msg, Handled); });
}

void TbsRibbon::UnhookAppMessages()
{
    if (!FInAppHook) return;
    FInAppHook = false;
    if (Application) Application->RemoveMessageFilter(this);
}

void TbsRibbon::AppMessageHook(TMsg& Msg, bool& Handled)
{
    if (Msg.message != WM_KEYDOWN || Msg.wParam != VK_ESCAPE) return;
    if (!AppMenuVisible() || !BSF || !BSF->GetFormActive()) return;
    HideAppMenu(nullptr);
    Msg.message = 0;
    Handled = true;
}
