// The animated caption objects: a strip of frames of the skin stepped on the frame's
// animation timer; as caption buttons they run forwards while hovered and back when the
// mouse leaves, may show a pressed look, run a standard command or open a menu.
#include "skin/frame/bsSkinCaptionObjects.h"
#include "skin/frame/bsSkinFormFrame.h"

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    auto* A = dynamic_cast<TbsDataSkinAnimate*>(AData);
    if (!A) return;
    TimerInterval = std::max(25, A->TimerInterval);
    CountFrames = std::max(1, A->CountFrames);
    Cycle = A->Cycle;
    ButtonStyle = A->ButtonStyle;
    FCommand = A->Command;
    DownSkinRect = A->DownSkinRect;
    RestoreRect = A->RestoreRect;
    RestoreActiveRect = A->RestoreActiveRect;
    RestoreInActiveRect = A->RestoreInActiveRect;
    RestoreDownRect = A->RestoreDownRect;
    FRestoreHint = A->RestoreHint;
    FTempHint = A->Hint;
}

bool TbsSkinAnimateObject::RestoreLook() { return !IsEmptyRect(RestoreRect) && Parent->CommandStateHolds(FCommand); }

void TbsSkinAnimateObject::ResetState()
{
    FMouseIn = false;
    FActive = false;
    FFrame = 1;
}

bool TbsSkinAnimateObject::MenuClosed()
{
    if (!FMenuItem || !FMenuTracking) return false;
    FActive = true;
    FFrame = CountFrames;
    FDown = FMenuTracking = FIncrement = false;
    return true;
}

void TbsSkinAnimateObject::SetCommandHints(const String& AHint, const String& ARestoreHint)
{
    FHint = FTempHint = AHint;
    FRestoreHint = ARestoreHint;
}

TRect TbsSkinAnimateObject::FrameRect(int N)
{
    bool R = RestoreLook();
    TRect Size = R ? RestoreRect : FSkinRect;
    TPoint O = R ? RestoreActiveRect.TopLeft() : FActiveSkinRect.TopLeft();
    int W = Size.Width(), H = Size.Height();
    return TRect(O.X + (N - 1) * W, O.Y, O.X + N * W, O.Y + H);
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool)
{
    if (SkinEmpty()) return;
    bool R = RestoreLook();
    TRect Down = R ? RestoreDownRect : DownSkinRect;
    TRect InActive = R ? RestoreInActiveRect : InActiveSkinRect;
    if (FMenuTracking) {
        if (!IsEmptyRect(Down)) return CopyLook(Cnvs, FActivePicture, Down);
        FFrame = CountFrames;
        return CopyLook(Cnvs, FActivePicture, FrameRect(FFrame));
    }
    if (!Parent->GetFormActive() && !IsEmptyRect(InActive)) return CopyLook(Cnvs, FActivePicture, InActive);
    if (FDown && FMouseIn && !IsEmptyRect(Down)) return CopyLook(Cnvs, FActivePicture, Down);
    CopyLook(Cnvs, FActivePicture, FrameRect(FFrame));
}

void TbsSkinAnimateObject::ShowFrame(int Value)
{
    if (FIncrement) FFrame = Value > CountFrames ? 1 : Value;
    else FFrame = Value <= 0 ? CountFrames : Value;
    Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::ChangeFrame()
{
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (FIncrement) {
        ShowFrame(FFrame + 1);
        if (!Cycle && FFrame == CountFrames) FActive = false;
    } else {
        ShowFrame(FFrame - 1);
        if (FFrame == 1) FActive = false;
    }
    FInc = 25;
}

void TbsSkinAnimateObject::Start()
{
    FInc = 25;
    FFrame = 1;
    FActive = true;
    Parent->AnimateTimer->SetEnabled(true);
}

void TbsSkinAnimateObject::Stop()
{
    ShowFrame(1);
    FActive = false;
    FInc = 25;
}

void TbsSkinAnimateObject::ShowLayer()
{
    ShowGlow(FMenuItem ? Parent->FMenuLayerManager.get() : Parent->FLayerManager.get());
}

void TbsSkinAnimateObject::HideLayer()
{
    HideGlow(FMenuItem ? Parent->FMenuLayerManager.get() : Parent->FLayerManager.get());
}

// The frames run on the timer, unless the object shows its pressed look.
void TbsSkinAnimateObject::RunOrDraw()
{
    if (!FDown || IsEmptyRect(DownSkinRect)) Parent->AnimateTimer->SetEnabled(true);
    else Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::MouseEnter()
{
    if (FCommand != cmDefault)
        FHint = !FRestoreHint.empty() && Parent->CommandStateHolds(FCommand) ? FRestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        FActive = true;
        FIncrement = true;
        RunOrDraw();
    }
    Parent->DoObjectMouseEnter(FIDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave()
{
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        FActive = true;
        FIncrement = false;
        RunOrDraw();
    }
    Parent->DoObjectMouseLeave(FIDName);
    HideLayer();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button)
{
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (!IsEmptyRect(DownSkinRect) && Button == mbLeft) {
        FFrame = CountFrames;
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (FCommand == cmSysMenu && FMouseIn && ButtonStyle && Button == mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button)
{
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking) return;
    if (!IsEmptyRect(DownSkinRect) && Button == mbLeft) {
        FDown = false;
        Parent->DrawSkinObject(this);
        Parent->AnimateTimer->SetEnabled(true);
    }
    if (FCommand != cmSysMenu && FMouseIn && ButtonStyle && Button == mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::DblClick()
{
    if (FCommand == cmSysMenu) Parent->Form()->Close();
}

void TbsSkinAnimateObject::ExecuteCommand()
{
    if (FCommand == cmSysMenu) {
        FMenuItem = Parent->GetSystemMenuItems();
        PopupObjectMenu();
    } else if (FCommand == cmDefault) {
        if (FMenuItem) PopupObjectMenu();
    } else {
        Parent->RunCaptionCommand(FCommand, nullptr);
    }
}

void TbsSkinAnimateObject::PopupObjectMenu()
{
    if (!FMenuItem || FMenuItem->Count() == 0) return;
    TRect R = ScreenRect();
    FMenuTracking = true;
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    TMenu* Menu = FMenuItem->GetParentMenu();
    if (auto* P = dynamic_cast<TbsSkinPopupMenu*>(Menu)) {
        P->PopupFromRect2(nullptr, R, FPopupUp);
        return;
    }
    Parent->SkinMenuOpen();
    Parent->PopupSkinMenuItem(FMenuItem, nullptr, R, FPopupUp, 0, Parent->MenuSkinOf(Menu));
}
