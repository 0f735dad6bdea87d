// The form's menus as the frame keeps them: the system menu rebuilt for the current
// state before every showing, the tray menu, the record of the menu that is open, the
// hook that takes the keyboard while a menu is open, the form's shortcuts and closing
// open menus on input elsewhere.
#include "skin/frame/bsSkinFormFrame.h"

#include "skin/menus/bsSkinHint.h"

namespace {

// A menu item of the frame that runs Click when chosen.
TMenuItem* NewItem(TComponent* Owner, const String& Name, const String& Caption, std::function<void()> Click)
{
    auto* I = new TMenuItem(Owner);
    I->SetName(Name);
    I->SetCaption(Caption);
    if (Click) I->OnClick = [Click](TObject*) { Click(); };
    return I;
}

}  // namespace

void TbsSkinFormFrame::BuildTrayMenu()
{
    TMenuItem* Root = FSysTrayMenu->Items();
    TShortCut Close = IsMDIChild() ? ShortCut(VK_F4, {ssCtrl}) : ShortCut(VK_F4, {ssAlt});
    Root->Add(NewItem(this, "TRAY_BSF_RESTORE", "&Restore", [this] { RestoreFromTray(); }));
    Root->Add(NewItem(this, "", "-", nullptr));
    TMenuItem* C = NewItem(this, "TRAY_BSF_CLOSE", "&Close", [this] { FForm->Close(); });
    C->SetShortCut(Close);
    Root->Add(C);
}

TMenuItem* TbsSkinFormFrame::GetSystemMenuItems()
{
    bool Min = FWindowState == wsMinimized, Max = FWindowState == wsMaximized;
    struct TEntry {
        const char* Name;
        const char* Key;
        const char* Text;
        bool Shown;
        std::function<void()> Click;
    };
    TEntry MinItem{"BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize", FBorderIcons.Contains(TbsBorderIcon::biMinimize) && !Min,
                   [this] {
                       if (FAlwaysMinimizeToTray) MinimizeToTray();
                       else SetWindowState(wsMinimized);
                   }};
    TEntry MaxItem{"BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", FBorderIcons.Contains(TbsBorderIcon::biMaximize) && !Max,
                   [this] { SetWindowState(wsMaximized); }};
    TEntry RestoreItem{"BSF_RESTORE", "MI_RESTORECAPTION", "&Restore", FWindowState != wsNormal || FRollUpState,
                       [this] {
                           if (MaxRollUpState || (FRollUpState && FWindowStateInit == wsNormal)) SetRolledUp(false);
                           else SetWindowState(wsNormal);
                       }};
    TEntry RollUpItem{"BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp",
                      FBorderIcons.Contains(TbsBorderIcon::biRollUp) && !FRollUpState && !Min &&
                          !(IsMDIChild() && FWindowState == wsMaximized),
                      [this] { SetRolledUp(true); }};
    TEntry TrayItem{"BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray",
                    FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray), [this] { MinimizeToTray(); }};
    auto Make = [this](const TEntry& E) {
        return NewItem(this, E.Name, ResString(E.Key, E.Text), E.Click);
    };
    auto MakeClose = [&] {
        TMenuItem* C = NewItem(this, "BSF_CLOSE", ResString("MI_CLOSECAPTION", "&Close"), [this] { FForm->Close(); });
        C->SetShortCut(IsMDIChild() ? ShortCut(VK_F4, {ssCtrl}) : ShortCut(VK_F4, {ssAlt}));
        return C;
    };
    if (FSystemMenu) {
        TMenuItem* Root = FSystemMenu->Items();
        if (FUseDefaultSysMenu) {
            static const char* Names[] = {"BSF_MINITEM", "BSF_MAXITEM", "BSF_CLOSE", "BSF_MINTOTRAY", "BSF_ROLLUP",
                                          "BSF_RESTORE"};
            for (bool Found = true; Found;) {
                Found = false;
                for (int I = 0; I < Root->Count() && !Found; ++I)
                    for (const char* N : Names)
                        if (Root->Items(I)->Name() == N) {
                            delete Root->Items(I);
                            Found = true;
                            break;
                        }
            }
            for (const TEntry* E : {&TrayItem, &RollUpItem, &MaxItem, &RestoreItem, &MinItem})
                if (E->Shown) Root->Insert(0, Make(*E));
            Root->Add(MakeClose());
        }
        return Root;
    }
    if (!FSysMenu) return nullptr;
    TMenuItem* Root = FSysMenu->Items();
    while (Root->Count() > 0) delete Root->Items(Root->Count() - 1);
    for (const TEntry* E : {&MinItem, &MaxItem, &RestoreItem, &RollUpItem, &TrayItem})
        if (E->Shown) Root->Add(Make(*E));
    if (Root->Count() > 0) Root->Add(NewItem(this, "", "-", nullptr));
    Root->Add(MakeClose());
    return Root;
}

// ---- opening menus -----------------------------------------------------------------------------

void TbsSkinFormFrame::OpenMenu(TMenuItem* Item, TControl* ACtrl, const TRect& R, bool APopupUp, int StartIndex,
                                   TbsSkinData* ASkinData, TMenuItem* Item2)
{
    // the chain shows Item's subitems (and Item2's after them) against R; the frame keeps
    // what is open until the chain closes (ACtrl hears of that from the chain)
    const int Count = Item ? Item->Count() + (Item2 ? Item2->Count() : 0) : 0;
    if (Item && Item->Count() > 0 && StartIndex < Count) {
        FOpenMenuStart = StartIndex;
        FMenuMode.Shown(Item);
        if (FOpenMenuControl) FOpenMenuControl->RemoveFreeNotification(this);
        FOpenMenuControl = nullptr;
        FOpenMenuRect = R;
        FOpenMenuUp = APopupUp;
        SkinMenu->AlphaBlend = FMenusAlphaBlend;
        SkinMenu->AlphaBlendValue = FMenusAlphaBlendValue;
        SkinMenu->AlphaBlendAnimation = FMenusAlphaBlendAnimation;
        SkinMenu->MaxMenuItemsInWindow = FMaxMenuItemsInWindow;
        if (Item2) SkinMenu->Popup2(ACtrl, ASkinData ? ASkinData : MenuSkin(), StartIndex, R, Item, Item2, APopupUp);
        else SkinMenu->Popup(ACtrl, ASkinData ? ASkinData : MenuSkin(), StartIndex, R, Item, APopupUp);
    }
    // the openers enter the menu state first: a menu that shows nothing leaves none behind
    // (the key hook would stay and take every key)
    if (!SkinMenu->Visible() && (FMenuMode.InMenu() || FMenuMode.Hooked())) SkinMenuClose();
}

void TbsSkinFormFrame::PopupSkinMenuItem(TMenuItem* Item, TControl* ACtrl, const TRect& R, bool APopupUp,
                                            int StartIndex, TbsSkinData* ASkinData, TMenuItem* Item2)
{
    OpenMenu(Item, ACtrl, R, APopupUp, StartIndex, ASkinData, Item2);
}

TbsSkinData* TbsSkinFormFrame::MenuSkinOf(TMenu* AMenu) const
{
    if (auto* M = dynamic_cast<TbsSkinMainMenu*>(AMenu); M && M->SkinData()) return M->SkinData();
    return MenuSkin();
}

void TbsSkinFormFrame::PopupSystemMenuAt(int X, int Y) { PopupSystemMenuInRect(TRect(X, Y, X, Y)); }

void TbsSkinFormFrame::PopupSystemMenuInRect(const TRect& R)
{
    // an MDI child's menu is shown by the main form's frame, which then keeps the menu
    // state (the chain's closing reaches the main form); without that frame none opens
    TbsSkinFormFrame* Host = this;
    if (IsMDIChild()) {
        Host = Application && Application->MainForm() ? FindSkinFormComponent(Application->MainForm()) : nullptr;
        if (!Host || Host == this) return;
    }
    TMenuItem* Items = GetSystemMenuItems();
    Host->SkinMenuOpen();
    Host->OpenMenu(Items, nullptr, R, false, 0, Host->MenuSkin());
}

void TbsSkinFormFrame::PopupSystemMenuFromButton()
{
    for (auto& O : ObjectList) {
        auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get());
        if ((S && S->Command() == cmSysMenu && S->Enabled()) || (A && A->Command() == cmSysMenu && A->Enabled())) {
            PopupSystemMenuInRect(O->ScreenRect());
            return;
        }
    }
}

void TbsSkinFormFrame::PopupSkinMenu(TMenu* Menu, TPoint P)
{
    if (!Menu) return;
    SkinMenuOpen();
    OpenMenu(Menu->Items(), nullptr, TRect(P.X, P.Y, P.X, P.Y), false);
}

void TbsSkinFormFrame::PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp)
{
    if (!Menu) return;
    SkinMenuOpen();
    OpenMenu(Menu->Items(), nullptr, R, PopupUp, 0, MenuSkinOf(Menu));
}

void TbsSkinFormFrame::PopupSkinMenu(TbsSkinPopupMenu* AMenu, TControl* ACtrl, const TRect& R, bool APopupUp,
                                        TbsSkinData* ASkinData)
{
    if (!AMenu) return;
    if (SkinMenu->Visible()) SkinMenuClose();
    SkinMenuOpen();
    OpenMenu(AMenu->Items(), ACtrl, R, APopupUp, 0, ASkinData);
}

void TbsSkinFormFrame::CloseSkinMenu()
{
    // an open chain tells its opener and the form (which resets the menu state here)
    if (SkinMenu && SkinMenu->Visible()) {
        SkinMenu->Hide();
        return;
    }
    if (!FMenuMode.OpenItem() && !FMenuMode.InMenu()) return;
    TControl* Ctrl = FOpenMenuControl;
    FMenuMode.Forget(FMenuMode.OpenItem());
    FOpenMenuControl = nullptr;
    if (Ctrl) {
        Ctrl->RemoveFreeNotification(this);
        bsNotifySkinMenuClosed(Ctrl);
    }
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), SkinMenuClosed, 0, 0);
    else SkinMenuClose();
}

// ---- the menu state --------------------------------------------------------------------------

void TbsFrameMenuMode::SetHook(bool On)
{
    if (FHooked == On) return;
    FHooked = On;
    if (FEffects.Hook) FEffects.Hook(On);
}

void TbsFrameMenuMode::Open()
{
    SetHook(true);
    if (!FInMenu) {
        FInMenu = true;
        Fire(TbsMenuModeEvent::MenuOpen);
    }
}

void TbsFrameMenuMode::Shown(TMenuItem* Root) { FOpenItem = Root; }

void TbsFrameMenuMode::Close()
{
    // hiding the chain may tell its opener, which may close the menus again
    if (FClosing) return;
    FClosing = true;
    if (FEffects.HideChain) FEffects.HideChain();
    FClosing = false;
    FInMenu = false;
    FOpenItem = nullptr;
    SetHook(false);
    Fire(TbsMenuModeEvent::MenuClose);
    if (FInMainMenu) {
        FInMainMenu = false;
        if (FEffects.BarLeave) FEffects.BarLeave();
        Fire(TbsMenuModeEvent::MainMenuExit);
    }
}

void TbsFrameMenuMode::EnterMainMenu()
{
    SetHook(true);
    if (FInMainMenu) return;
    FInMainMenu = true;
    Fire(TbsMenuModeEvent::MainMenuEnter);
}

void TbsFrameMenuMode::LeaveMainMenu()
{
    const bool Was = FInMainMenu;
    FInMainMenu = false;
    if (FInMenu || FOpenItem) {
        if (FEffects.HideChain) FEffects.HideChain();
        FInMenu = false;
        FOpenItem = nullptr;
        Fire(TbsMenuModeEvent::MenuClose);
    }
    if (FEffects.BarLeave) FEffects.BarLeave();
    SetHook(false);
    if (Was) Fire(TbsMenuModeEvent::MainMenuExit);
}

void TbsFrameMenuMode::CloseChain()
{
    if (!FInMenu && !FOpenItem) return;
    if (FEffects.HideChain) FEffects.HideChain();
    FInMenu = false;
    FOpenItem = nullptr;
    if (FEffects.BarRelease) FEffects.BarRelease();
    Fire(TbsMenuModeEvent::MenuClose);
    if (!FInMainMenu) SetHook(false);
}

TbsFrameMenuMode::TEffects TbsSkinFormFrame::MenuModeEffects()
{
    TbsFrameMenuMode::TEffects E;
    E.Hook = [this](bool On) {
        if (On) HookAppMessages();
        else UnhookAppMessages();
    };
    E.HideChain = [this] {
        if (SkinMenu && (SkinMenu->Visible() || SkinMenu->LevelCount() > 0)) SkinMenu->ClosePopups(0);
        if (FMenuLayerManager && FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    };
    E.BarLeave = [this] {
        if (FMainMenuBar) FMainMenuBar->LeaveMenuMode();
    };
    E.BarRelease = [this] {
        if (FMainMenuBar) FMainMenuBar->ReleaseDownItem();
    };
    E.Event = [this](TbsMenuModeEvent Ev) {
        switch (Ev) {
        case TbsMenuModeEvent::MenuOpen:
            if (OnSkinMenuOpen) OnSkinMenuOpen(this);
            break;
        case TbsMenuModeEvent::MenuClose:
            if (OnSkinMenuClose) OnSkinMenuClose(this);
            break;
        case TbsMenuModeEvent::MainMenuEnter:
            if (OnMainMenuEnter) OnMainMenuEnter(FMainMenuBar ? static_cast<TObject*>(FMainMenuBar) : this);
            break;
        case TbsMenuModeEvent::MainMenuExit:
            if (OnMainMenuExit) OnMainMenuExit(this);
            break;
        }
    };
    return E;
}

void TbsSkinFormFrame::SkinMenuOpen() { FMenuMode.Open(); }

void TbsSkinFormFrame::SkinMenuClose()
{
    // the caption's and the buttons' looks of the menu that was open go back first
    for (auto& O : ObjectList) {
        if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get())) {
            C->QuickButtonMenuClosed();
        } else if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O.get())) {
            if (B->MenuItem() && B->Down()) {
                B->ChangeDownState(false);
                break;
            }
        } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
            if (A->MenuClosed()) {
                AnimateTimer->SetEnabled(true);
                break;
            }
        }
    }
    FMenuMode.Close();
}

void TbsSkinFormFrame::EndMainMenu() { FMenuMode.LeaveMainMenu(); }

bool TbsSkinFormFrame::MenuBarAccelerator(WORD Key) { return FMainMenuBar && FMainMenuBar->PressAccelItem(Key); }

bool TbsSkinFormFrame::MenuBarPressSelected() { return FMainMenuBar && FMainMenuBar->PressSelectedItem(); }

void TbsSkinFormFrame::MenuKeyDown(WORD Key)
{
    // a menu the main form's frame shows for an MDI child takes the child's keys
    if (IsMDIChild() && Application && Application->MainForm())
        if (TbsSkinFormFrame* M = FindSkinFormComponent(Application->MainForm());
            M && M != this && (M->InMenu() || M->InMainMenu() || M->SkinMenu->Visible()))
            return M->MenuKeyDown(Key);
    bool Mode = FMenuMode.InMainMenu() && FMainMenuBar;
    if (Mode && MenuBarAccelerator(Key)) return;
    if (Key == VK_ESCAPE && Mode && !FMenuMode.InMenu()) return EndMainMenu();
    TbsSkinPopupWindow* Last = SkinMenu->Visible() ? SkinMenu->LastLevel() : nullptr;
    // the bar moves its highlight while the open menu has one level, or when the highlighted
    // item of the deepest level has no submenu
    if (Key == VK_LEFT && Mode && SkinMenu->LevelCount() < 2) return FMainMenuBar->SelectPriorItem();
    if (Key == VK_RIGHT && Mode &&
        (!Last || Last->ActiveItem < 0 || Last->ActiveItem >= Last->ItemCount() ||
         !Last->Item(Last->ActiveItem)->HasSubMenu()))
        return FMainMenuBar->SelectNextItem();
    if ((Key == VK_RETURN || Key == VK_DOWN) && Mode && MenuBarPressSelected()) return;
    if (Last) Last->PopupKeyDown(Key);
    if (Key == VK_ESCAPE && SkinMenu->LevelCount() == 0 && (FMenuMode.OpenItem() || FMenuMode.InMenu())) {
        if (Mode) {
            FMenuMode.CloseChain();
        } else {
            SkinMenuClose();
        }
    }
}

// The frame's filter is its own entry in the application's filter list: other
// components (the ribbon, the images menu) hooking and unhooking in any order leave it
// alone, and removing it never brings back a filter that is gone.
void TbsSkinFormFrame::HookAppMessages()
{
    if (!Application) return;
    Application->AddMessageFilter(this, [this](TMsg& Msg, bool& Handled) { AppMessageHook(Msg, Handled); });
}

void TbsSkinFormFrame::UnhookAppMessages()
{
    if (Application) Application->RemoveMessageFilter(this);
}

void TbsSkinFormFrame::AppMessageHook(TMsg& Msg, bool& Handled)
{
    if (Msg.message == WM_KEYDOWN) {
        // the open menu (or the menu bar in menu mode) takes every key
        MenuKeyDown(WORD(Msg.wParam));
        Msg.message = 0;
        Handled = true;
    } else if (Msg.message == WM_MOUSEWHEEL) {
        Msg.message = 0;
        Handled = true;
    }
}

void TbsSkinFormFrame::FormShortCut(TWMKey& Msg, bool& Handled)
{
    if (OnShortCut) {
        OnShortCut(Msg, Handled);
        if (Handled) return;
    }
    bool AltOnly = KeyDataToShiftState(Msg.KeyData()) == TShiftState{ssAlt};
    if (AltOnly && Msg.CharCode() == VK_SPACE) {
        PopupSystemMenuFromButton();
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    TMainMenu* Menu = FMainMenuBar && FMainMenuBar->MainMenu() ? FMainMenuBar->MainMenu() : FMainMenu;
    if (Menu) {
        if (AltOnly && Msg.CharCode() != VK_F4 && MenuBarAccelerator(Msg.CharCode())) {
            Handled = true;
            return;
        }
        FInShortCut = Menu->IsShortCut(Msg);
        Handled = FInShortCut;
    }
    // the active MDI child's menu merged into the bar: its accelerators and shortcuts;
    // Alt+F4 is no accelerator here either (F4's key code reads as the letter S)
    if (TMainMenu* Child = FMainMenuBar ? FMainMenuBar->GetChildMainMenu() : nullptr; Child && !FInShortCut) {
        if (AltOnly && Msg.CharCode() != VK_F4 && MenuBarAccelerator(Msg.CharCode())) {
            Handled = true;
            return;
        }
        FInShortCut = Child->IsShortCut(Msg);
        Handled = FInShortCut;
    }
    RibbonShortCut(Msg, Handled);
    if (!FInShortCut && FSystemMenu && Msg.CharCode() != 0) {
        FInShortCut = FSystemMenu->IsShortCut(Msg);
        if (FInShortCut) Handled = true;
    }
}

void TbsSkinFormFrame::CloseMenusOnInput(UINT Msg)
{
    if (!IsMenuCloseMessage(Msg)) return;
    if (FShowObjectHint && FSkinHint) FSkinHint->HideHint();
    if (FMenuMode.InMainMenu() && !FMenuMode.InMenu()) {
        EndMainMenu();
    } else if (FMenuMode.OpenItem() || FMenuMode.InMenu()) {
        CloseSkinMenu();
    } else if (IsMDIForm() && FForm->Visible()) {
        // input on the main form closes the menus its active child has open
        if (TbsSkinFormFrame* C = FindActiveChildSkinForm(); C && C != this) C->CloseMenusOnInput(Msg);
    }
    CancelControlModes();
}
