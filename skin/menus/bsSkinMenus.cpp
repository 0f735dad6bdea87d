// The skinned popup menu component, its host lookup, the close-notice delivery and the
// small glyphs and message test that the menu windows share.
#include "skin/menus/bsSkinMenus.h"

#include "platform/forms/Forms.h"
#include "skin/core/bsSkinData.h"

namespace {
TbsSkinMenuHostResolver& Resolver()
{
    static TbsSkinMenuHostResolver R;
    return R;
}
}  // namespace

void bsSendSkinMenuMessage(TControl* ACtrl, unsigned Msg)
{
    if (!ACtrl) return;
    if (auto* W = dynamic_cast<TWinControl*>(ACtrl); W && W->HandleAllocated())
        SendMessage(W->Handle(), Msg, 0, 0);
    else
        ACtrl->Perform(Msg, 0, 0);
}

bool IsMenuCloseMessage(UINT Msg)
{
    switch (Msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: case WM_PARENTNOTIFY: return true;
    default: return false;
    }
}

// ---- glyphs ---------------------------------------------------------------------------------

void DrawMenuCheckMark(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int I = 0; I < 3; ++I)
        Canvas->Polyline({TPoint(X, Y + 5 - I), TPoint(X + 2, Y + 7 - I), TPoint(X + 7, Y + 2 - I)});
}

void DrawMenuSubArrow(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (int I = 0; I < 4; ++I) {
        Canvas->MoveTo(X + I, Y + I);
        Canvas->LineTo(X + I, Y + 7 - I);
    }
}

void DrawMenuRadioDot(TCanvas* Canvas, int X, int Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

// ---- hosts ----------------------------------------------------------------------------------

void bsSetSkinMenuHostResolver(TbsSkinMenuHostResolver AResolver) { Resolver() = std::move(AResolver); }

TbsSkinMenuHost* bsFindSkinMenuHost(TComponent* AComponent)
{
    if (!AComponent || !Resolver()) return nullptr;
    return Resolver()(AComponent);
}

// ---- TbsSkinPopupMenu ---------------------------------------------------------------------

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetSkinComponent(TComponent* Value)
{
    FSkinComponent = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::SetComponentForm(TCustomForm* Value)
{
    FComponentForm = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FSkinComponent) FSkinComponent = nullptr;
    if (AComponent == FComponentForm) FComponentForm = nullptr;
}

TbsSkinMenuHost* TbsSkinPopupMenu::FindHost() const
{
    if (FSkinComponent) return bsFindSkinMenuHost(FSkinComponent);
    if (FComponentForm) return bsFindSkinMenuHost(FComponentForm);
    // the owner form, or the owner's owner form (a menu owned by a frame or a control); the
    // frame of an MDI child hands its menus to the main form's frame
    TComponent* O = Owner();
    TCustomForm* F = dynamic_cast<TCustomForm*>(O);
    if (!F && O) F = dynamic_cast<TCustomForm*>(O->Owner());
    if (!F) return nullptr;
    if (F->FormStyle() == fsMDIChild && Application && Application->MainForm())
        F = Application->MainForm();
    return bsFindSkinMenuHost(F);
}

void TbsSkinPopupMenu::Open(TControl* ACtrl, const TRect& R, bool APopupUp, bool ANeedSkinData)
{
    if (OnPopup) OnPopup(this);
    TbsSkinMenuHost* Host = FindHost();
    if (!Host) return;
    if (!FSD) SetSkinData(Host->MenuSkinData());
    if (ANeedSkinData && !FSD) return;
    // a host with a chain closes what is open itself, as the new chain opens
    if (!Host->HostSkinMenu()) Host->CloseSkinMenu();
    FPopupPoint = TPoint(R.Left, R.Top);
    Host->PopupSkinMenu(this, ACtrl, R, APopupUp, FSD);
    if (OnMenuClose)
        if (TbsSkinMenu* Chain = Host->HostSkinMenu()) Chain->OnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(int X, int Y) { Open(nullptr, TRect(X, Y, X, Y), false, false); }

void TbsSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) { Open(nullptr, R, APopupUp, false); }

void TbsSkinPopupMenu::Popup2(TControl* ACtrl, int X, int Y) { Open(ACtrl, TRect(X, Y, X, Y), false, true); }

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp)
{
    Open(ACtrl, R, APopupUp, false);
}
