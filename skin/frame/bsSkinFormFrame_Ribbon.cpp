// The form frame's side of the ribbon: the link, the application menu's caption strip in
// the frame's caption, the keyboard menu command and the ribbon's shortcuts.
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsRibbon.h"
#include "skin/frame/bsSkinFormFrame.h"

void TbsSkinFormFrame::SetSkinRibbon(TbsRibbon* Value)
{
    if (FSkinRibbon == Value) return;
    // the ribbon let go no longer reaches this frame
    if (FSkinRibbon && FSkinRibbon->BSF == this) FSkinRibbon->BSF = nullptr;
    FSkinRibbon = Value;
    if (Value) Value->BSF = this;
}

bool TbsSkinFormFrame::ShowsAppMenuCaption()
{
    if (!FSkinRibbon || !FSkinRibbon->AppMenu()) return false;
    if (UseLayeredBorder() && FSD && FSD->LayerFrame && FSD->LayerFrame->FullBorder) return false;
    TbsAppMenu* M = FSkinRibbon->AppMenu();
    return M->Visible() && M->CanDrawAppMenuCaption();
}

int TbsSkinFormFrame::GetAppMenuCaptionOffset()
{
    if (!FSkinRibbon || !FSkinRibbon->AppMenu()) return 0;
    return FSkinRibbon->AppMenu()->GetAppMenuCaptionOffset();
}

void TbsSkinFormFrame::PaintAppMenuCaption(TCanvas* Cnvs, const TRect& R)
{
    if (FSkinRibbon && FSkinRibbon->AppMenu()) FSkinRibbon->AppMenu()->DrawAppMenuCaption(Cnvs, R);
}

int TbsSkinFormFrame::AppMenuCaptionWidth()
{
    return FSkinRibbon && FSkinRibbon->AppMenu() ? FSkinRibbon->AppMenu()->ItemWidth() : 0;
}

void TbsSkinFormFrame::RibbonMDIChildMaximized()
{
    if (FSkinRibbon) FSkinRibbon->MDIChildMaximize();
}

void TbsSkinFormFrame::RibbonMDIChildRestored()
{
    if (FSkinRibbon) FSkinRibbon->MDIChildRestore();
}

void TbsSkinFormFrame::RibbonKeyMenu()
{
    if (!FSkinRibbon) return;
    if (FSkinRibbon->AppMenuVisible()) FSkinRibbon->HideAppMenu(nullptr);
    if (SkinMenu && SkinMenu->Visible()) SkinMenu->Hide();
    else SkinMenuClose();
    if (FSkinRibbon->CanFocus()) FSkinRibbon->SetFocus();
}

void TbsSkinFormFrame::RibbonShortCut(TWMKey& Msg, bool& Handled)
{
    if (!FSkinRibbon || Msg.CharCode() == 0) return;
    if (TbsSkinPopupMenu* P = FSkinRibbon->AppButtonPopupMenu(); P && !FInShortCut) {
        FInShortCut = P->IsShortCut(Msg);
        if (FInShortCut) Handled = true;
    }
    if (FInShortCut || GetKeyState(VK_MENU) >= 0) return;
    TbsRibbonTabs* Tabs = FSkinRibbon->Tabs();
    for (int I = 0; I < Tabs->Count(); ++I) {
        TbsRibbonPage* Page = Tabs->Items(I)->Page();
        if (Page && IsAccelChar(Msg.CharCode(), Page->Caption())) {
            FSkinRibbon->SetActivePage(Page);
            return;
        }
    }
}
