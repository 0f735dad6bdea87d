// The objects of the skinned main menu bar and its items: measuring, the skinned, tool-bar
// and default looks, morphing and animation, hover and the submenus they open.
#include "skin/frame/bsSkinMenuBar.h"
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/graphics/ImgList.h"
#include "platform/windows/WinPaint.h"

// ---- bar objects ----------------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent)
{
    if (!AData) return;
    FIDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    FObjectRect = AData->SkinRect;
    if (AParent->SkinData()) Picture = AParent->SkinData()->ActivePicture(AData->ActivePictureIndex);
    if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
}

bool TbsMenuBarObject::EnableMorphing()
{
    TbsSkinData* D = Parent->SkinData();
    return Morphing && D && !D->Empty && !(Parent->ToolBarMode() && Parent->ToolBarModeItemTransparent()) &&
           D->EnableSkinEffects();
}

void TbsMenuBarObject::ReDraw()
{
    if (EnableMorphing()) Parent->MorphTimer->SetEnabled(true);
    else Parent->RedrawObject(this);
}

void TbsMenuBarObject::MouseEnter()
{
    FMouseIn = FActive = true;
    ReDraw();
}

void TbsMenuBarObject::MouseLeave()
{
    FMouseIn = FActive = false;
    ReDraw();
}

bool TbsMenuBarObject::CanMorphing()
{
    return (!FDown || IsEmptyRect(DownRect)) && ((FActive && FMorphKf < 1) || (!FActive && FMorphKf > 0));
}

void TbsMenuBarObject::DoMorphing()
{
    FMorphKf = std::clamp(FMorphKf + (FActive ? 0.2 : -0.2), 0.0, 1.0);
    Draw(Parent->Canvas());
}

// ---- items --------------------------------------------------------------------------------

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData)
{
    if (auto* D = dynamic_cast<TbsDataSkinMainMenuItem*>(AData)) {
        FSkinSupport = true;
        FontName = D->FontName;
        FontHeight = D->FontHeight;
        FontStyle = D->FontStyle;
        FontColor = D->FontColor;
        ActiveFontColor = D->ActiveFontColor;
        DownFontColor = D->DownFontColor;
        UnEnabledFontColor = D->UnEnabledFontColor;
        TextRct = D->TextRct;
        ItemDownRect = D->DownRect;
        LO = D->ItemLO;
        RO = D->ItemRO;
        StretchEffect = D->StretchEffect;
        AnimateSkinRect = D->AnimateSkinRect;
        FrameCount = D->FrameCount;
        AnimateInterval = D->AnimateInterval;
        InActiveAnimation = D->InActiveAnimation;
        if (IsEmptyRect(ItemDownRect)) ItemDownRect = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    }
    FOldEnabled = FEnabled;
}

void TbsSkinMainMenuBarItem::SetMenuItem(TMenuItem* Value)
{
    FIDName = Value->Name();
    FEnabled = FOldEnabled = Value->Enabled();
    FMenuItem = Value;
}

bool TbsSkinMainMenuBarItem::AnimationStep()
{
    if (FActive && FCurrentFrame <= FrameCount) ++FCurrentFrame;
    else if (!FActive && FCurrentFrame > 0) --FCurrentFrame;
    else return false;
    return true;
}

bool TbsSkinMainMenuBarItem::EnableAnimation()
{
    TbsSkinData* D = Parent->SkinData();
    return !IsEmptyRect(AnimateSkinRect) && FrameCount > 0 && D && !D->Empty && !Parent->ToolBarMode() &&
           D->EnableSkinEffects();
}

void TbsSkinMainMenuBarItem::SetItemFont(TCanvas* C, bool Skinned, const TbsDataSkinButtonControl* Tool)
{
    TFont* F = C->Font();
    if (Skinned && Parent->UseSkinFont()) {
        F->SetName(Tool ? Tool->FontName : FontName);
        F->SetStyle(Tool ? Tool->FontStyle : FontStyle);
        F->SetHeight(Tool ? Tool->FontHeight : FontHeight);
    } else {
        F->Assign(Parent->DefItemFont());
    }
    TbsSkinData* D = Parent->SkinData();
    F->SetCharset(Skinned && D && D->ResourceStrData() ? D->ResourceStrData()->CharSet()
                                                        : Parent->DefItemFont()->Charset());
}

int TbsSkinMainMenuBarItem::GlyphWidth(int* Height)
{
    if (!FMenuItem) return 0;
    auto* IL = dynamic_cast<TCustomImageList*>(FMenuItem->GetParentMenu() ? FMenuItem->GetParentMenu()->Images() : nullptr);
    if (IL && FMenuItem->ImageIndex() >= 0 && FMenuItem->ImageIndex() < IL->Count()) {
        if (Height) *Height = IL->Height();
        return IL->Width();
    }
    if (auto* B = dynamic_cast<TBitmap*>(FMenuItem->Bitmap()); B && !B->Empty()) {
        if (Height) *Height = B->Height();
        return B->Width();
    }
    return 0;
}

void TbsSkinMainMenuBarItem::DrawGlyph(TCanvas* C, int X, int Top, int AreaHeight)
{
    int H = 0;
    if (GlyphWidth(&H) == 0) return;
    auto* IL = dynamic_cast<TCustomImageList*>(FMenuItem->GetParentMenu() ? FMenuItem->GetParentMenu()->Images() : nullptr);
    int Y = Top + AreaHeight / 2 - H / 2;
    if (IL && FMenuItem->ImageIndex() >= 0 && FMenuItem->ImageIndex() < IL->Count())
        IL->Draw(C, X, Y, FMenuItem->ImageIndex(), FMenuItem->Enabled());
    else if (auto* B = dynamic_cast<TBitmap*>(FMenuItem->Bitmap()))
        C->Draw(X, Y, B);
}

bool TbsSkinMainMenuBarItem::Measure(TCanvas* Cnvs, bool Skinned)
{
    int Left = Parent->NewItemsRect.Left;
    for (auto& O : Parent->ObjectList) {
        if (O.get() == this) break;
        if (dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) Left = O->ObjectRect().Right;
    }
    if (Left == 0) Left = Parent->NewItemsRect.Left;
    SetItemFont(Cnvs, Skinned);
    TRect R(0, 0, 0, 0);
    String Caption = FMenuItem ? FMenuItem->Caption() : String();
    DrawWideText(Cnvs, Caption, R, DT_CALCRECT | DT_CENTER);
    int W = R.Width();
    int G = GlyphWidth();
    int Top = Parent->NewItemsRect.Top;
    int Width, Bottom;
    if (Skinned) {
        Width = SkinRect.Width() - TextRct.Width() + W + 2 + (G ? G + 5 : 0);
        Bottom = Parent->UseSkinSize() ? Top + SkinRect.Height() : Parent->NewItemsRect.Bottom;
    } else {
        Width = W + 12 + (G ? G + 5 : 0);
        Bottom = Parent->NewItemsRect.Bottom;
    }
    FObjectRect = TRect(Left, Top, Left + Width, Bottom);
    int Limit = Parent->ScrollMenu() ? Parent->NewItemsRect.Right - 5 : Parent->NewItemsRect.Right;
    if (FObjectRect.Right > Limit) {
        Parent->SetScroll(true);
        if (ItemVisible) {
            FOldEnabled = FEnabled;
            FEnabled = false;
            ItemVisible = false;
        }
        return false;
    }
    if (!ItemVisible) {
        ItemVisible = true;
        FEnabled = FOldEnabled;
    }
    return true;
}

void TbsSkinMainMenuBarItem::DrawText(TCanvas* C, TRect R, bool Selected)
{
    if (FMenuItem && FMenuItem->OnDrawItem) {
        FMenuItem->OnDrawItem(FMenuItem, C, R, Selected);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    UINT Flags = Parent->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE |
                                               (Parent->MenuActive() ? 0 : DT_HIDEPREFIX));
    String Caption = FMenuItem ? FMenuItem->Caption() : String();
    DrawWideText(C, Caption, R, Flags);
    C->Brush()->SetStyle(bsSolid);
}

void TbsSkinMainMenuBarItem::SkinnedLook(TBitmap* B, TCanvas* Under, const TRect& S, bool Highlighted)
{
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    B->SetSize(W, H);
    if (!Picture) return;
    if (Parent->ItemTransparent && (S == SkinRect || (!Parent->UseSkinSize() && !Highlighted))) {
        B->Canvas()->CopyRect(TRect(0, 0, W, H), Under, FObjectRect);
    } else if (Parent->UseSkinSize()) {
        CreateHSkinImage(LO, RO, B, Picture, S, W, S.Height(), Highlighted && StretchEffect);
        if (B->Height() != H) B->SetSize(W, H);
    } else {
        int SH = S.Height();
        CreateStretchSkinImage(B, Picture, S, TRect(LO, SH / 4, S.Width() - RO, SH - SH / 4), true);
    }
    TCanvas* C = B->Canvas();
    SetItemFont(C, true);
    bool Enabled0 = !FMenuItem || FMenuItem->Enabled();
    C->Font()->SetColor(FDown ? DownFontColor : Highlighted ? ActiveFontColor : Enabled0 ? FontColor : UnEnabledFontColor);
    TRect T = TextRct;
    if (int G = GlyphWidth()) {
        DrawGlyph(C, T.Left + 2, 0, H);
        T.Left += G + 5;
    }
    TRect M(0, 0, 0, 0);
    DrawWideText(C, FMenuItem ? FMenuItem->Caption() : String(), M, DT_CALCRECT | DT_CENTER);
    T.Right = T.Left + M.Width() + 2;
    T.Bottom = T.Top + M.Height();
    if (!Parent->UseSkinSize()) OffsetRect(T, 0, H / 2 - (T.Top + T.Height() / 2));
    DrawText(C, T, Highlighted);
}

TbsDataSkinButtonControl* TbsSkinMainMenuBar::ToolButtonRecord() const
{
    TbsSkinData* D = SkinData();
    if (!D || D->Empty) return nullptr;
    int I = D->GetControlIndex("resizetoolbutton");
    return I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(D->CtrlList[size_t(I)].get());
}

void TbsSkinMainMenuBarItem::ToolBarLook(TBitmap* B, TCanvas* Under, TbsToolBarLook Look)
{
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    B->SetSize(W, H);
    TbsDataSkinButtonControl* R = Parent->ToolButtonRecord();
    TBitmap* Pic = R ? Parent->SkinData()->ActivePicture(R->PictureIndex) : nullptr;
    TRect Hot = R && !IsEmptyRect(R->ActiveSkinRect) ? R->ActiveSkinRect : R ? R->SkinRect : TRect();
    TRect S = !R                  ? TRect()
              : Look == tblDown   ? (IsEmptyRect(R->DownSkinRect) ? Hot : R->DownSkinRect)
              : Look == tblActive ? Hot
                                  : R->SkinRect;
    // an item at rest on a bar with transparent items, and any item the skin gives no
    // tool button look, shows the bar under it
    if ((Look == tblNormal && Parent->ToolBarModeItemTransparent()) || !Pic || IsEmptyRect(S))
        B->Canvas()->CopyRect(TRect(0, 0, W, H), Under, FObjectRect);
    else
        bsCustomControlImage(B, R, Pic, S, W, H);
    TCanvas* C = B->Canvas();
    SetItemFont(C, R != nullptr, R);
    bool ItemEnabled = !FMenuItem || FMenuItem->Enabled();
    TColor Color = !ItemEnabled ? UnEnabledFontColor
                   : !R         ? Parent->DefItemFont()->Color()
                   : Look == tblDown   ? R->DownFontColor
                   : Look == tblActive ? R->ActiveFontColor
                                       : R->FontColor;
    C->Font()->SetColor(Color);
    // the text area is the record's client rectangle moved with the size
    TRect T = R ? TRect(R->ClRect.Left, R->ClRect.Top, R->ClRect.Right + W - R->SkinRect.Width(),
                        R->ClRect.Bottom + H - R->SkinRect.Height())
                : TRect(0, 0, W, H);
    if (int G = GlyphWidth()) {
        DrawGlyph(C, T.Left + 2, T.Top, T.Height());
        T.Left += G + 5;
    }
    TRect M(0, 0, 0, 0);
    DrawWideText(C, FMenuItem ? FMenuItem->Caption() : String(), M, DT_CALCRECT | DT_CENTER);
    T.Bottom = T.Top + M.Height();
    if (!Parent->UseSkinSize() || !R) OffsetRect(T, 0, H / 2 - (T.Top + T.Height() / 2));
    DrawText(C, T, Look != tblNormal);
}

void TbsSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs)
{
    if (!Measure(Cnvs, false)) return;
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bsDrawDefaultFace(C, W, H, FDown, FActive);
    SetItemFont(C, false);
    TRect T(1, 1, W - 1, H - 1);
    if (int G = GlyphWidth()) {
        DrawGlyph(C, 2, 0, H);
        T.Left = 2 + G + 5;
    }
    DrawText(C, T, FActive);
    Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport) return DefaultDraw(Cnvs);
    // measured even when the skin gives it no look, so that its place stays current
    if (!Measure(Cnvs, true) || IsEmptyRect(SkinRect) || IsEmptyRect(TextRct)) return;
    TBitmap B;
    TRect ActiveLook = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    const bool Tool = Parent->ToolBarMode();
    // the look at rest, highlighted or not: from the tool button record on a tool bar
    auto RestLook = [&](TBitmap* Dst, bool Highlighted) {
        if (Tool) ToolBarLook(Dst, Cnvs, Highlighted ? tblActive : tblNormal);
        else SkinnedLook(Dst, Cnvs, Highlighted ? ActiveLook : SkinRect, Highlighted);
    };
    if (FDown) {
        if (Tool) ToolBarLook(&B, Cnvs, tblDown);
        else SkinnedLook(&B, Cnvs, ItemDownRect, true);
    } else if (EnableAnimation() && FCurrentFrame > 0 && FCurrentFrame <= FrameCount) {
        TRect F = AnimateSkinRect;
        if (AnimateSkinRect.Height() > SkinRect.Height()) {
            int FH = AnimateSkinRect.Height() / FrameCount;
            F = TRect(F.Left, F.Top + FH * (FCurrentFrame - 1), F.Right, F.Top + FH * FCurrentFrame);
        } else {
            int FW = AnimateSkinRect.Width() / FrameCount;
            F = TRect(F.Left + FW * (FCurrentFrame - 1), F.Top, F.Left + FW * FCurrentFrame, F.Bottom);
        }
        SkinnedLook(&B, Cnvs, F, true);
    } else if (!EnableMorphing() || (FActive && FMorphKf == 1) || (!FActive && FMorphKf == 0)) {
        RestLook(&B, FActive);
    } else {
        TBitmap B2;
        RestLook(&B, false);
        RestLook(&B2, true);
        TbsEffectBmp E1(B.Handle()), E2(B2.Handle());
        bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
        E1.Draw(Cnvs->Handle(), FObjectRect.Left, FObjectRect.Top);
        return;
    }
    if (Picture || Tool) Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::ReDraw()
{
    if (EnableAnimation()) {
        Parent->AnimateTimer->SetInterval(UINT(std::max(1, AnimateInterval)));
        Parent->AnimateTimer->SetEnabled(true);
        return;
    }
    TbsMenuBarObject::ReDraw();
}

void TbsSkinMainMenuBarItem::DeactivateOtherItem()
{
    for (auto& O : Parent->ObjectList)
        if (O.get() != this && O->Active() && dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) {
            O->MouseLeave();
            return;
        }
}

bool TbsSkinMainMenuBarItem::ReleaseOtherDownItem()
{
    for (auto& O : Parent->ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        // told apart by the object itself: menu items built in code often have no names
        if (I && I != this && I->FDown) {
            I->SetItemDown(false);
            return true;
        }
    }
    return false;
}

void TbsSkinMainMenuBarItem::MouseEnter()
{
    // Entering an item while another one is pressed moves the open submenu here.  An item
    // without subitems is only highlighted: its command runs on a press, not also here;
    // the submenu that was open closes and the bar stays in menu mode.
    if (FMenuItem && FMenuItem->Count() > 0 && ReleaseOtherDownItem()) {
        FActive = FMouseIn = true;
        if (EnableMorphing()) FMorphKf = 1;
        if (FMenuItem && FMenuItem->OnClick) FMenuItem->OnClick(Parent);
        SetItemDown(true);
        return;
    }
    if (TbsSkinFormFrame* F = Parent->SkinFormFrame(); F && ReleaseOtherDownItem()) F->MenuMode().CloseChain();
    DeactivateOtherItem();
    FMouseIn = FActive = true;
    ReDraw();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(FMenuItem);
    if (FMenuItem) Parent->SetHint(FMenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave()
{
    FActive = FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        FCurrentFrame = 0;
        Draw(Parent->Canvas());
    }
    if (EnableMorphing() && FDown) FMorphKf = 0;
    ReDraw();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(FMenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton Button)
{
    TbsSkinFormFrame* F = Parent->SkinFormFrame();
    if (!FEnabled || !F || Button != mbLeft || !FMenuItem) return;
    if (FMenuItem->Count() > 0) {
        Parent->SetMenuActive(true);
        Parent->Invalidate();
        if (FMenuItem->OnClick) FMenuItem->OnClick(Parent);
        SetItemDown(true);
        return;
    }
    if (F->InMainMenu()) F->EndMainMenu();
    if (EnableMorphing()) ReDraw();
    else Parent->RedrawObject(this);
    TMenuItem* Item = FMenuItem;
    if (TMenu* M = Item->GetParentMenu(); M && Item->Command() != 0) M->DispatchCommand(Item->Command());
    else Item->Click();
}

void TbsSkinMainMenuBarItem::SetItemDown(bool Value)
{
    FDown = Value;
    TbsSkinFormFrame* F = Parent->SkinFormFrame();
    if (Value) {
        FMorphKf = 1;
        Parent->RedrawObject(this);
        if (F) F->MenuMode().EnterMainMenu();
        PopupItemMenu();
        return;
    }
    FActive = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            FCurrentFrame = FrameCount + 1;
            ReDraw();
            return;
        }
        FCurrentFrame = 0;
    } else if (EnableMorphing()) {
        FMorphKf = 1;
        ReDraw();
        return;
    }
    Parent->RedrawObject(this);
}

void TbsSkinMainMenuBarItem::PopupItemMenu()
{
    TbsSkinFormFrame* F = Parent->SkinFormFrame();
    if (!F || !Parent->HandleAllocated()) return;
    TPoint TL = Parent->ClientToScreen(FObjectRect.TopLeft());
    TRect R(TL.X, TL.Y, TL.X + FObjectRect.Width(), TL.Y + FObjectRect.Height());
    F->MenuMode().Open();
    F->MenuMode().EnterMainMenu();
    F->PopupSkinMenuItem(FMenuItem, nullptr, R, Parent->PopupToUp(), 0, Parent->SkinData());
}
