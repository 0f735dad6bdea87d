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
        FCommand = S->Command;
        RestoreRect = S->RestoreRect;
        RestoreActiveRect = S->RestoreActiveRect;
        RestoreInActiveRect = S->RestoreInActiveRect;
        RestoreDownRect = S->RestoreDownRect;
        FRestoreHint = S->RestoreHint;
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
    switch (FCommand) {
    case cmMaximize: return Parent->FWindowStateInit == wsMaximized;
    case cmMinimize:
        return Parent->FWindowStateInit == wsMinimized && !(Application && Application->MainForm() == Parent->Form());
    case cmRollUp: return Parent->FRollUpState;
    default: return false;
    }
}

bool TbsSkinStdButtonObject::IconMode() { return FCommand == cmSysMenu && Parent->ShowIcon() && FSkinRectInAPicture; }

void TbsSkinStdButtonObject::SetDefaultLook(const String& AIDName, TbsStdCommand ACommand)
{
    FIDName = AIDName;
    FCommand = ACommand;
    FSkinRectInAPicture = true;
    FSkinRect = FActiveSkinRect = FDownRect = TRect(0, 0, 1, 1);
}

void TbsSkinStdButtonObject::SetCommandHints(const String& AHint, const String& ARestoreHint)
{
    FHint = FTempHint = AHint;
    FRestoreHint = ARestoreHint;
}

bool TbsSkinStdButtonObject::PointInMask(int X, int Y)
{
    if (FCommand == cmSysMenu && Parent->ShowIcon() && FSkinSupport && FSkinRectInAPicture) return true;
    return TbsActiveSkinObject::PointInMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer()
{
    if (FCommand == cmSysMenu && Parent->ShowIcon() && FSkinSupport && FSkinRectInAPicture) return;
    TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer()
{
    if (FCommand == cmSysMenu && Parent->ShowIcon() && FSkinSupport && FSkinRectInAPicture) return;
    TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() { return !IconMode() && TbsSkinButtonObject::CanMorphing(); }

void TbsSkinStdButtonObject::MouseEnter()
{
    if (FCommand != cmDefault)
        FHint = !FRestoreHint.empty() && Parent->CommandStateHolds(FCommand) ? FRestoreHint : FTempHint;
    if (!IconMode()) TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseLeave()
{
    if (!IconMode()) TbsSkinButtonObject::MouseLeave();
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button)
{
    if (!FEnabled || Button != mbLeft || FDown) return;
    if (!IconMode()) ChangeDownState(true);
    if (FCommand == cmSysMenu) {
        FMenuItem = Parent->GetSystemMenuItems();
        PopupObjectMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (FCommand == cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (FActive && Button == mbLeft) ExecuteCommand();
        return;
    }
    if (FActive && Button == mbLeft) ExecuteCommand();
    if (!IconMode()) TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick()
{
    if (FCommand == cmSysMenu) Parent->Form()->Close();
}

void TbsSkinStdButtonObject::ExecuteCommand()
{
    // the system menu opens on the press, not here
    if (FCommand != cmSysMenu && FCommand != cmDefault) Parent->RunCaptionCommand(FCommand, [this] { HideLayer(); });
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!FSkinSupport) return DefaultDraw(Cnvs);
    if (SkinEmpty()) return;
    if (Parent->ShowsAppMenuCaption() && FObjectRect.Left < Parent->GetAppMenuCaptionOffset()) return;
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, FObjectRect.Left, FObjectRect.Top);
        SetMorphKf(0);
        return;
    }
    bool Restore = RestoreLook();
    if (!FEnabled || (!Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect) && !Restore))
        return TbsSkinButtonObject::Draw(Cnvs, UpDate);
    if (!Restore || IsEmptyRect(RestoreRect)) {
        if (FDown && !IsEmptyRect(FDownRect) && FCommand == cmSysMenu) return CopyLook(Cnvs, FActivePicture, FDownRect);
        return TbsSkinButtonObject::Draw(Cnvs, UpDate);
    }
    if (!Parent->FormActive() && !IsEmptyRect(RestoreInActiveRect))
        return CopyLook(Cnvs, FActivePicture, RestoreInActiveRect);
    if (FDown && FMouseIn && !IsEmptyRect(RestoreDownRect)) return CopyLook(Cnvs, FActivePicture, RestoreDownRect);
    if (EnableMorphing() && MorphUnderWay())
        return DrawMorph(Cnvs, FActivePicture, RestoreRect, FActivePicture, RestoreActiveRect);
    if (FActive && !IsEmptyRect(RestoreActiveRect)) return CopyLook(Cnvs, FActivePicture, RestoreActiveRect);
    CopyLook(Cnvs, FActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs)
{
    if (FCommand == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, FObjectRect.Left, FObjectRect.Top);
        return;
    }
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bsDrawDefaultFace(C, W, H, FDown && FMouseIn, FMouseIn);
    TColor G = FEnabled ? clBtnText : clBtnShadow;
    int X = W / 2 - 5, Y = H / 2 - 4;
    TWindowState S = Parent->FWindowStateInit;
    switch (FCommand) {
    case cmClose: DrawCloseImage(C, X, Y, G); break;
    case cmMaximize: S == wsMaximized ? DrawRestoreImage(C, X, Y, G) : DrawMaximizeImage(C, X, Y, G); break;
    case cmMinimize: S == wsMinimized ? DrawRestoreImage(C, X, Y, G) : DrawMinimizeImage(C, X, Y, G); break;
    case cmSysMenu: DrawSysMenuImage(C, X, Y, G); break;
    case cmRollUp: Parent->FRollUpState ? DrawRollDownImage(C, X, Y, G) : DrawRollUpImage(C, X, Y, G); break;
    case cmMinimizeToTray: DrawMinimizeToTrayImage(C, X, Y, G); break;
    case cmDefault: break;
    }
    Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
}

void TbsSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap)
{
    if (FCommand == cmSysMenu && Parent->ShowIcon()) {
        int W, H;
        Parent->GetIconSize(W, H);
        if (Parent->IsAlphaIcon()) {
            Parent->DrawFormIcon(Cnvs, FObjectRect.Left, FObjectRect.Top);
            return;
        }
        TbsBitmap B;
        B.SetSize(W, H);
        B.FillRect(TRect(0, 0, W, H), ColorToARGB(RGB(127, 0, 127)));
        Parent->DrawFormIcon(B.Canvas(), 0, 0);
        B.SetTransparent(true);
        B.Draw(Cnvs, FObjectRect.Left, FObjectRect.Top);
        return;
    }
    bool Restore = RestoreLook();
    auto Pick = [Restore](TbsBitmap* R, TbsBitmap* N) { return Restore && R ? R : N; };
    TbsBitmap* Image = nullptr;
    if (Parent->FormActive() || IsEmptyRect(InActiveSkinRect)) {
        if (FDown && !IsEmptyRect(FDownRect) && (FCommand == cmSysMenu || FMouseIn))
            Image = Pick(FAlphaRestoreDownImage, FAlphaDownImage);
        else if (FMouseIn && !IsEmptyRect(FActiveSkinRect))
            Image = Pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
        else
            Image = Pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
    } else {
        Image = Pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
    }
    if (!Image || Image->Empty()) return;
    Image->SetAlphaBlend(true);
    // blended in the skin's own pixel code, straight into the layered image
    if (ABitMap) Image->Draw(ABitMap, FObjectRect, TRect(0, 0, Image->Width(), Image->Height()));
    else Image->Draw(Cnvs, FObjectRect, TRect(0, 0, Image->Width(), Image->Height()));
}
