// Menu items and menus as data; short cut texts.
#include <algorithm>

#include "platform/forms/Menus.h"

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    TShortCut S = TShortCut(Key & 0xFF);
    if (Shift.Contains(ssShift)) S |= scShift;
    if (Shift.Contains(ssCtrl)) S |= scCtrl;
    if (Shift.Contains(ssAlt)) S |= scAlt;
    return S;
}

static String KeyName(WORD K)
{
    if (K >= VK_F1 && K <= VK_F12) return "F" + std::to_string(K - VK_F1 + 1);
    if ((K >= 'A' && K <= 'Z') || (K >= '0' && K <= '9')) return String(1, char(K));
    switch (K) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    }
    return String();
}

String ShortCutToText(TShortCut S)
{
    String Name = KeyName(WORD(S & 0xFF));
    if (Name.empty()) return String();
    String R;
    if (S & scShift) R += "Shift+";
    if (S & scCtrl) R += "Ctrl+";
    if (S & scAlt) R += "Alt+";
    return R + Name;
}

TShortCut TextToShortCut(const String& Text)
{
    String T = Text;
    TShortCut Mods = 0;
    for (;;) {
        if (T.rfind("Shift+", 0) == 0) { Mods |= scShift; T = T.substr(6); }
        else if (T.rfind("Ctrl+", 0) == 0) { Mods |= scCtrl; T = T.substr(5); }
        else if (T.rfind("Alt+", 0) == 0) { Mods |= scAlt; T = T.substr(4); }
        else break;
    }
    for (int K = 1; K < 256; ++K)
        if (!T.empty() && KeyName(WORD(K)) == T) return TShortCut(Mods | K);
    return 0;
}

// ---- TMenuItem ---------------------------------------------------------------------------------
static int NextCommand = 1;

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand++) {}

TMenuItem::~TMenuItem()
{
    Destroying();
    Clear();
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item->FParent) throw EInvalidOperation("Menu inserted twice");
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw EInvalidOperation("Menu index out of range");
    TMenuItem* I = FItems[size_t(Index)];
    FItems.erase(FItems.begin() + Index);
    I->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    int I = IndexOf(Item);
    if (I >= 0) Delete(I);
}

void TMenuItem::Clear()
{
    while (Count()) {
        TMenuItem* I = FItems.back();
        Delete(Count() - 1);
        if (!I->Owner()) delete I;
    }
}

int TMenuItem::IndexOf(TMenuItem* Item) const
{
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* I = this;
    while (I->FParent) I = I->FParent;
    return I->FMenu;
}

void TMenuItem::SetChecked(bool V)
{
    if (FChecked == V) return;
    FChecked = V;
    // checking a radio item unchecks the others of its group
    if (V && FRadioItem && FParent)
        for (TMenuItem* S : FParent->FItems)
            if (S != this && S->FRadioItem && S->FGroupIndex == FGroupIndex) S->FChecked = false;
    Changed();
}

void TMenuItem::Click()
{
    if (!FEnabled) return;
    if (OnClick) OnClick(this);
}

void TMenuItem::Changed()
{
    if (FComponentState.Contains(csDestroying)) return;
    if (TMenu* M = GetParentMenu(); M && M->OnChange) M->OnChange(M);
}

// ---- TMenu ----------------------------------------------------------------------------------------
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu()
{
    Destroying();
    delete FItems;
}

void TMenu::SetImages(TComponent* V)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = V;
    if (V) V->FreeNotification(this);
}

void TMenu::Notification(TComponent* C, TOperation Op)
{
    TComponent::Notification(C, Op);
    if (Op == opRemove && C == FImages) FImages = nullptr;
}

bool TMenu::RethinkLines()
{
    bool Changed = false;
    std::function<void(TMenuItem*)> Walk = [&](TMenuItem* P) {
        bool PrevLine = true;  // a leading line is hidden
        TMenuItem* LastVisibleLine = nullptr;
        for (int I = 0; I < P->Count(); ++I) {
            TMenuItem* It = P->Items(I);
            if (It->IsLine()) {
                bool Show = !PrevLine;
                if (It->Visible() != Show && FAutoLineReduction) { It->FVisible = Show; Changed = true; }
                if (Show) { PrevLine = true; LastVisibleLine = It; }
            } else if (It->Visible()) {
                PrevLine = false;
                LastVisibleLine = nullptr;
                Walk(It);
            }
        }
        if (LastVisibleLine && FAutoLineReduction) { LastVisibleLine->FVisible = false; Changed = true; }
    };
    Walk(FItems);
    return Changed;
}

bool TMenu::IsShortCut(TMessage& Message)
{
    WORD Key = WORD(Message.WParam);
    TShortCut S = ShortCut(Key, KeyDataToShiftState(Message.LParam));
    if (!(S & 0xFF)) return false;
    std::function<TMenuItem*(TMenuItem*)> Find = [&](TMenuItem* P) -> TMenuItem* {
        for (int I = 0; I < P->Count(); ++I) {
            TMenuItem* It = P->Items(I);
            if (It->ShortCut() == S && It->Enabled() && It->Visible()) return It;
            if (TMenuItem* F = Find(It)) return F;
        }
        return nullptr;
    };
    TMenuItem* It = Find(FItems);
    if (!It) return false;
    It->Click();
    return true;
}

TMenuItem* TMenu::FindItem(int Command) const
{
    std::function<TMenuItem*(TMenuItem*)> Find = [&](TMenuItem* P) -> TMenuItem* {
        for (int I = 0; I < P->Count(); ++I) {
            if (P->Items(I)->Command() == Command) return P->Items(I);
            if (TMenuItem* F = Find(P->Items(I))) return F;
        }
        return nullptr;
    };
    return Find(FItems);
}

bool TMenu::DispatchCommand(int Command)
{
    TMenuItem* It = FindItem(Command);
    if (!It) return false;
    It->Click();
    return true;
}

void TPopupMenu::Popup(int X, int Y)
{
    FPopupPoint = {X, Y};
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Notification(TComponent* C, TOperation Op)
{
    TMenu::Notification(C, Op);
    if (Op == opRemove && C == FPopupComponent) FPopupComponent = nullptr;
}
