// The standard caption buttons: close, maximize or restore, minimize or restore, roll up
// or down, minimize to tray and the system menu; their restore look, the form icon on
// the system menu button, the images drawn with alpha and the built-in default look.
#include "skin/frame/bsSkinCaptionObjects.h"
#include "skin/frame/bsSkinFormFrame.h"

void bsDrawDefaultFace(TCanvas* C, int W, int H, bool Pressed, bool Hot)
{
    if (Pressed || Hot) {
        C->Brush()->SetColor(bsDefaultFrameColor);
        C->FillRect(TRect(0, 0, W, H));
        C->Brush()->SetColor(Pressed ? bsDefaultDownColor : bsDefaultHotColor);
        C->FillRect(TRect(1, 1, W - 1, H - 1));
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(TRect(0, 0, W, H));
    }
}

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData)
{
    if (auto* B = dynamic_cast<TbsDataSkinButton*>(AData)) {
        AlphaMaskPictureIndex = B->AlphaMaskPictureIndex;
        AlphaMaskActivePictureIndex = B->AlphaMaskActivePictureIndex;
        AlphaMaskInActivePictureIndex = B->AlphaMaskInActivePictureIndex;
        FAlphaNormalImage = B->FAlphaNormalImage.get();
        FAlphaActiveImage = B->FAlphaActiveImage.get();
        FAlphaDownImage = B->FAlphaDownImage.get();
        FAlphaInActiveImage = B->FAlphaInActiveImage.get();
    }
    if (auto* S = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
        Command = S->Command;
        RestoreRect = S->RestoreRect;
        RestoreActiveRect = S->RestoreActiveRect;
        RestoreInActiveRect = S->RestoreInActiveRect;
        RestoreDownRect = S->RestoreDownRect;
        RestoreHint = S->RestoreHint;
        FAlphaRestoreNormalImage = S->FAlphaRestoreNormalImage.get();
        FAlphaRestoreActiveImage = S->FAlphaRestoreActiveImage.get();
        FAlphaRestoreDownImage = S->FAlphaRestoreDownImage.get();
        FAlphaInActiveRestoreImage = S->FAlphaInActiveRestoreImage.get();
        FTempHint = S->Hint;
        FSkinSupport = true;
    }
}

bool TbsSkinStdButtonObject::RestoreLook()
{
    switch (Command) {
    case cmMaximize: return Parent->FWindowStateInit == wsMaximized;
    case cmMinimize:
        return Parent->FWindowStateInit == wsMinimized && !(Application && Application->MainForm() == Parent->Form());
    case cmRollUp: return Parent->FRollUpState;
    default: return false;
    }
}

bool TbsSkinStdButtonObject::IconMode() { return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture; }

bool TbsSkinStdButtonObject::PointInMask(int X, int Y)
{
    if (Command == cmSysMenu && Parent->ShowIcon() && FSkinSupport && SkinRectInAPicture) return true;
    return TbsActiveSkinObject::PointInMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer()
{
    if (Command == cmSysMenu && Parent->ShowIcon() && FSkinSupport && SkinRectInAPicture) return;
    TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer()
{
    if (Command == cmSysMenu && Parent->ShowIcon() && FSkinSupport && SkinRectInAPicture) return;
    TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() { return !IconMode() && TbsSkinButtonObject::CanMorphing(); }

void TbsSkinStdButtonObject::MouseEnter()
{
    if (Command != cmDefault) Hint = !RestoreHint.empty() && Parent->CommandStateHolds(Command) ? RestoreHint : FTempHint;
    if (!IconMode()) TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseLeave()
{
    if (!IconMode()) TbsSkinButtonObject::MouseLeave();
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || FDown) return;
    if (!IconMode()) ChangeDownState(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSystemMenuItems();
        PopupObjectMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (Command == cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (Active && Button == mbLeft) ExecuteCommand();
        return;
    }
    if (Active && Button == mbLeft) ExecuteCommand();
    if (!IconMode()) TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick()
{
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TbsSkinStdButtonObject::ExecuteCommand()
{
    // the system menu opens on the press, not here
    if (Command != cmSysMenu && Command != cmDefault) Parent->RunCaptionCommand(Command, [this] { HideLayer(); });
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!FSkinSupport) return DefaultDraw(Cnvs);
    if (SkinEmpty()) return;
    if (Parent->ShowsAppMenuCaption() && ObjectRect.Left < Parent->GetAppMenuCaptionOffset()) return;
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        SetMorphKf(0);
        return;
    }
    bool Restore = RestoreLook();
    if (!Enabled || (!Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect) && !Restore))
        return TbsSkinButtonObject::Draw(Cnvs, UpDate);
    if (!Restore || IsEmptyRect(RestoreRect)) {
        if (FDown && !IsEmptyRect(DownRect) && Command == cmSysMenu) return CopyLook(Cnvs, ActivePicture, DownRect);
        return TbsSkinButtonObject::Draw(Cnvs, UpDate);
    }
    if (!Parent->FFormActive && !IsEmptyRect(RestoreInActiveRect)) return CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
    if (FDown && FMouseIn && !IsEmptyRect(RestoreDownRect)) return CopyLook(Cnvs, ActivePicture, RestoreDownRect);
    if (EnableMorphing() && MorphUnderWay())
        return DrawMorph(Cnvs, ActivePicture, RestoreRect, ActivePicture, RestoreActiveRect);
    if (Active && !IsEmptyRect(RestoreActiveRect)) return CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
    CopyLook(Cnvs, ActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs)
{
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bsDrawDefaultFace(C, W, H, FDown && FMouseIn, FMouseIn);
    TColor G = Enabled ? clBtnText : clBtnShadow;
    int X = W / 2 - 5, Y = H / 2 - 4;
    TWindowState S = Parent->FWindowStateInit;
    switch (Command) {
    case cmClose: DrawCloseImage(C, X, Y, G); break;
    case cmMaximize: S == wsMaximized ? DrawRestoreImage(C, X, Y, G) : DrawMaximizeImage(C, X, Y, G); break;
    case cmMinimize: S == wsMinimized ? DrawRestoreImage(C, X, Y, G) : DrawMinimizeImage(C, X, Y, G); break;
    case cmSysMenu: DrawSysMenuImage(C, X, Y, G); break;
    case cmRollUp: Parent->FRollUpState ? DrawRollDownImage(C, X, Y, G) : DrawRollUpImage(C, X, Y, G); break;
    case cmMinimizeToTray: DrawMinimizeToTrayImage(C, X, Y, G); break;
    case cmDefault: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap)
{
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        int W, H;
        Parent->GetIconSize(W, H);
        if (Parent->IsAlphaIcon()) {
            Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
            return;
        }
        TbsBitmap B;
        B.SetSize(W, H);
        B.FillRect(TRect(0, 0, W, H), ColorToARGB(RGB(127, 0, 127)));
        Parent->DrawFormIcon(B.Canvas(), 0, 0);
        B.SetTransparent(true);
        B.Draw(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    bool Restore = RestoreLook();
    auto Pick = [Restore](TbsBitmap* R, TbsBitmap* N) { return Restore && R ? R : N; };
    TbsBitmap* Image = nullptr;
    if (Parent->FFormActive || IsEmptyRect(InActiveSkinRect)) {
        if (FDown && !IsEmptyRect(DownRect) && (Command == cmSysMenu || FMouseIn))
            Image = Pick(FAlphaRestoreDownImage, FAlphaDownImage);
        else if (FMouseIn && !IsEmptyRect(ActiveSkinRect))
            Image = Pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
        else
            Image = Pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
    } else {
        Image = Pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
    }
    if (!Image || Image->Empty()) return;
    Image->SetAlphaBlend(true);
    // blended in the skin's own pixel code, straight into the layered image
    if (ABitMap) Image->Draw(ABitMap, ObjectRect, TRect(0, 0, Image->Width(), Image->Height()));
    else Image->Draw(Cnvs, ObjectRect, TRect(0, 0, Image->Width(), Image->Height()));
}
