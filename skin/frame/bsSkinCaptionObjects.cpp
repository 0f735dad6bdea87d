// The caption skin objects: what every object of the frame shares (hit mask, looks,
// morphing between the normal and the hot look, glow layer, mouse events), the objects
// the application paints, the caption buttons that may open a menu, and the animated
// objects.
#include "skin/frame/bsSkinCaptionObjects.h"
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"

void bsMorphEffectBmp(TbsEffectBmp& E, const TbsEffectBmp& Other, double Kf, TbsMorphKind Kind)
{
    switch (Kind) {
    case mkDefault: E.Morph(&Other, Kf); break;
    case mkGradient: E.MorphGrad(&Other, Kf); break;
    case mkLeftGradient: E.MorphLeftGrad(&Other, Kf); break;
    case mkRightGradient: E.MorphRightGrad(&Other, Kf); break;
    case mkLeftSlide: E.MorphLeftSlide(&Other, Kf); break;
    case mkRightSlide: E.MorphRightSlide(&Other, Kf); break;
    case mkPush: E.MorphPush(&Other, Kf); break;
    }
}

void bsApplyInActiveEffect(TbsEffectBmp& E, TbsInActiveEffect Effect)
{
    switch (Effect) {
    case ieBrightness: E.ChangeBrightness(0.5); break;
    case ieDarkness: E.ChangeDarkness(0.3); break;
    case ieGrayScale: E.GrayScale(); break;
    case ieNoise: E.AddMonoNoise(50); break;
    case ieSplitBlur: E.SplitBlur(1); break;
    case ieInvert: E.Invert(); break;
    }
}

// ---- the common object ----------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData)
    : Parent(AParent), SD(AParent->SkinData())
{
    if (!AData) return;
    FIDName = AData->IDName;
    FHint = AData->Hint;
    FSkinRectInAPicture = AData->SkinRectInAPicture;
    FSkinRect = AData->SkinRect;
    FActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    if (SD) {
        FActivePicture = SD->ActivePicture(AData->ActivePictureIndex);
        ActiveMaskPicture = SD->ActivePicture(AData->ActiveMaskPictureIndex);
        Picture = SD->FPicture.get();
    }
    if (!FActivePicture) FActiveSkinRect = TRect();
    if (IsEmptyRect(FActiveSkinRect)) Morphing = false;
    FObjectRect = FSkinRect;
}

bool TbsActiveSkinObject::SkinEmpty() const { return !Parent->SkinData() || Parent->SkinData()->Empty; }

bool TbsActiveSkinObject::PointInMask(int X, int Y)
{
    if (SkinEmpty() || !ActiveMaskPicture) return true;
    if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height()) return false;
    return (ActiveMaskPicture->Canvas()->Pixels(X, Y) & 0xFFFFFF) == 0;
}

bool TbsActiveSkinObject::EnableMorphing()
{
    TbsSkinData* D = Parent->SkinData();
    return Morphing && D && !D->Empty && D->EnableSkinEffects() && !Parent->FullLayeredInUse();
}

bool TbsActiveSkinObject::CanMorphing() { return (FActive && FMorphKf < 1) || (!FActive && FMorphKf > 0); }

bool TbsActiveSkinObject::MorphUnderWay() const { return (FActive && FMorphKf != 1) || (!FActive && FMorphKf != 0); }

void TbsActiveSkinObject::BeginMorph()
{
    if (EnableMorphing()) Parent->MorphTimer->SetEnabled(true);
    else Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::DoMorphing()
{
    SetMorphKf(FMorphKf + (FActive ? 0.2 : -0.2));
    Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* APicture, const TRect& R)
{
    if (!APicture || APicture->Empty() || IsEmptyRect(R)) return;
    Cnvs->CopyRect(FObjectRect, APicture->Canvas(), R);
}

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* P1, const TRect& R1, TBitmap* P2, const TRect& R2)
{
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    if (W <= 0 || H <= 0 || !P1 || !P2) return;
    TBitmap B1(W, H), B2(W, H);
    B1.Canvas()->CopyRect(TRect(0, 0, W, H), P1->Canvas(), R1);
    B2.Canvas()->CopyRect(TRect(0, 0, W, H), P2->Canvas(), R2);
    TbsEffectBmp E1(B1.Handle()), E2(B2.Handle());
    bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
    E1.Draw(Cnvs->Handle(), FObjectRect.Left, FObjectRect.Top);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (SkinEmpty()) return;
    if (FEnabled && !Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect)) {
        CopyLook(Cnvs, FActivePicture, InActiveSkinRect);
        return;
    }
    if (EnableMorphing() && MorphUnderWay()) {
        DrawMorph(Cnvs, FSkinRectInAPicture ? FActivePicture : Picture, FSkinRect, FActivePicture, FActiveSkinRect);
        return;
    }
    if (FActive && !IsEmptyRect(FActiveSkinRect)) {
        CopyLook(Cnvs, FActivePicture, FActiveSkinRect);
        return;
    }
    if (!UpDate && !FSkinRectInAPicture) return;
    CopyLook(Cnvs, FSkinRectInAPicture ? FActivePicture : Picture, FSkinRect);
}

void TbsActiveSkinObject::ResetState()
{
    FActive = false;
    FMouseIn = false;
    SetMorphKf(0);
}

TRect TbsActiveSkinObject::ScreenRect()
{
    TRect R = FObjectRect;
    TCustomForm* F = Parent->Form();
    if (F->FormStyle() == fsMDIChild) {
        TPoint O = F->ClientToScreen(Parent->SkinSupport() ? TPoint(-Parent->NewClRect.Left, -Parent->NewClRect.Top)
                                                          : TPoint(-3, -Parent->GetDefCaptionHeight() - 3));
        OffsetRect(R, O.X, O.Y);
        return R;
    }
    TbsFormLayerBorder* B = Parent->FBorderLayer;
    if (Parent->UseLayeredBorder() && B->FVisible && B->FData && B->FData->FullBorder && B->TopBorder) {
        // the object is painted in the layered border's top window
        OffsetRect(R, B->TopBorder->Left(), B->TopBorder->Top());
        return R;
    }
    OffsetRect(R, F->Left(), F->Top());
    return R;
}

void TbsActiveSkinObject::ShowGlow(TbsLayerManager* L)
{
    TbsSkinData* D = Parent->SkinData();
    if (!D || D->Empty || GlowLayerPictureIndex == -1 || !OsIsWin2000OrLater() || !D->ShowCaptionButtonGlowFrames())
        return;
    TBitmap* Image = D->ActivePicture(GlowLayerPictureIndex);
    if (!Image) return;
    TRect R = ScreenRect();
    L->Show(R.Left - GlowLayerOffsetX, R.Top - GlowLayerOffsetY, Image, D->ActivePicture(GlowLayerMaskPictureIndex),
            GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideGlow(TbsLayerManager* L)
{
    TbsSkinData* D = Parent->SkinData();
    if (!D || D->Empty || GlowLayerPictureIndex == -1 || !OsIsWin2000OrLater() || !D->ShowCaptionButtonGlowFrames())
        return;
    L->Hide();
}

void TbsActiveSkinObject::ShowLayer() { ShowGlow(Parent->FLayerManager.get()); }

void TbsActiveSkinObject::HideLayer() { HideGlow(Parent->FLayerManager.get()); }

void TbsActiveSkinObject::MouseEnter()
{
    FMouseIn = true;
    FActive = true;
    if (!IsEmptyRect(FActiveSkinRect)) BeginMorph();
    Parent->DoObjectMouseEnter(FIDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave()
{
    FMouseIn = false;
    FActive = false;
    if (!IsEmptyRect(FActiveSkinRect)) BeginMorph();
    Parent->DoObjectMouseLeave(FIDName);
    HideLayer();
}

void TbsActiveSkinObject::MouseDown(int X, int Y, TMouseButton Button)
{
    Parent->DoObjectMouseDown(FIDName, X, Y, FObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (FMouseIn) Parent->DoObjectMouseUp(FIDName, X, Y, FObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) { Parent->DoObjectMouseMove(FIDName, X, Y, FObjectRect); }

// ---- user object ------------------------------------------------------------------------------

void TbsUserObject::Draw(TCanvas* Cnvs, bool) { Parent->DoObjectPaint(FIDName, Cnvs, FObjectRect); }

// ---- button object -----------------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    if (auto* B = dynamic_cast<TbsDataSkinButton*>(AData)) {
        FDownRect = B->DownRect;
        DisableSkinRect = B->DisableSkinRect;
    }
}

void TbsSkinButtonObject::ShowLayer()
{
    ShowGlow(FMenuItem ? Parent->FMenuLayerManager.get() : Parent->FLayerManager.get());
}

void TbsSkinButtonObject::HideLayer()
{
    HideGlow(FMenuItem ? Parent->FMenuLayerManager.get() : Parent->FLayerManager.get());
}

bool TbsSkinButtonObject::CanMorphing()
{
    if (FMenuItem && FDown) return false;
    return TbsActiveSkinObject::CanMorphing();
}

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (SkinEmpty()) return;
    if (!FEnabled && !IsEmptyRect(DisableSkinRect)) return CopyLook(Cnvs, FActivePicture, DisableSkinRect);
    if (FDown && FMouseIn && !IsEmptyRect(FDownRect)) return CopyLook(Cnvs, FActivePicture, FDownRect);
    TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::ChangeDownState(bool Value)
{
    FDown = Value;
    if (EnableMorphing() && FActive) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown) BeginMorph();
}

void TbsSkinButtonObject::MouseDown(int X, int Y, TMouseButton Button)
{
    if (!FEnabled) return;
    if (Button == mbLeft && !FDown) {
        ChangeDownState(true);
        PopupObjectMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (!FEnabled) return;
    if (Button == mbLeft && !FMenuItem && FDown) ChangeDownState(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter()
{
    FMouseIn = true;
    FActive = true;
    if (IsEmptyRect(FDownRect) || !FDown) {
        if (!IsEmptyRect(FActiveSkinRect)) BeginMorph();
        if (FMenuItem) ShowLayer();
    } else {
        if (EnableMorphing()) SetMorphKf(1);
        Parent->DrawSkinObject(this);
    }
    Parent->DoObjectMouseEnter(FIDName);
    if (!FMenuItem) ShowLayer();
}

void TbsSkinButtonObject::MouseLeave()
{
    FMouseIn = false;
    FActive = false;
    if (!FMenuItem || !FDown) {
        if (FMenuItem) HideLayer();
        Parent->DrawSkinObject(this);
        BeginMorph();
    }
    Parent->DoObjectMouseLeave(FIDName);
    if (!FMenuItem) HideLayer();
}

void TbsSkinButtonObject::PopupObjectMenu()
{
    if (!FMenuItem || FMenuItem->Count() == 0) return;
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    TRect R = ScreenRect();
    TMenu* Menu = FMenuItem->GetParentMenu();
    if (auto* P = dynamic_cast<TbsSkinPopupMenu*>(Menu)) {
        P->PopupFromRect2(nullptr, R, FPopupUp);
        return;
    }
    Parent->PopupSkinMenu1(Menu, R, FPopupUp);
}

