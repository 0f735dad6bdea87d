// The buttons a skinned main menu bar shows for a maximized MDI child (system menu, close,
// restore, minimize): their looks and commands, and the bar's handling of them.
#include "skin/frame/bsSkinMenuBar.h"
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/graphics/ImgList.h"
#include "platform/windows/WinPaint.h"

// ---- MDI buttons -----------------------------------------------------------------------------

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData)
{
    if (auto* D = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
        FCommand = D->Command;
        DownRect = D->DownRect;
        FSkinSupport = true;
    }
}

void TbsSkinMainMenuBarButton::SetSlot(const String& AIDName, TbsStdCommand ACommand)
{
    FIDName = AIDName;
    if (!FSkinSupport) FCommand = ACommand;
}

void TbsSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs)
{
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bool Pressed = FDown && FMouseIn;
    bsDrawDefaultFace(C, W, H, Pressed, FMouseIn);
    int X = W / 2 - 5 + (Pressed ? 1 : 0), Y = H / 2 - 4 + (Pressed ? 1 : 0);
    TColor G = FEnabled ? clBtnText : clBtnShadow;
    switch (FCommand) {
    case cmClose: DrawCloseImage(C, X, Y, G); break;
    case cmMaximize: DrawRestoreImage(C, X, Y, G); break;
    case cmMinimize: DrawMinimizeImage(C, X, Y, G); break;
    case cmSysMenu: DrawSysMenuImage(C, X, Y, G); break;
    default: break;
    }
    Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
}

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport || !Picture) return DefaultDraw(Cnvs);
    if (FDown && FMouseIn && !IsEmptyRect(DownRect)) return Cnvs->CopyRect(FObjectRect, Picture->Canvas(), DownRect);
    if (EnableMorphing() && FMorphKf != (FActive ? 1 : 0)) {
        int W = FObjectRect.Width(), H = FObjectRect.Height();
        TBitmap B1(W, H), B2(W, H);
        B1.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
        B2.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), ActiveSkinRect);
        TbsEffectBmp E1(B1.Handle()), E2(B2.Handle());
        bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
        E1.Draw(Cnvs->Handle(), FObjectRect.Left, FObjectRect.Top);
        return;
    }
    Cnvs->CopyRect(FObjectRect, Picture->Canvas(), FActive && !IsEmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
}

void TbsSkinMainMenuBarButton::MouseEnter()
{
    if (FDown && FCommand == cmSysMenu) {
        FMouseIn = FActive = true;
        return;
    }
    if (FDown && EnableMorphing()) {
        FMouseIn = FActive = true;
        Parent->RedrawObject(this);
        return;
    }
    TbsMenuBarObject::MouseEnter();
}

void TbsSkinMainMenuBarButton::MouseLeave()
{
    if (FDown && FCommand == cmSysMenu) {
        if (EnableMorphing()) FMorphKf = 1;
        FActive = FMouseIn = false;
        return;
    }
    if (FDown && EnableMorphing()) {
        FActive = FMouseIn = false;
        Parent->RedrawObject(this);
        return;
    }
    TbsMenuBarObject::MouseLeave();
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton Button)
{
    if (!FEnabled || Button != mbLeft || FDown) return;
    FDown = true;
    if (EnableMorphing() && !IsEmptyRect(DownRect)) FMorphKf = 1;
    Parent->RedrawObject(this);
    if (FCommand == cmSysMenu) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, TMouseButton Button)
{
    if (!FEnabled || Button != mbLeft) return;
    if (FCommand != cmSysMenu) {
        FDown = false;
        Parent->RedrawObject(this);
        if (EnableMorphing()) ReDraw();
    }
    if (FActive && FCommand != cmSysMenu) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::DblClick()
{
    TbsSkinFormFrame* Child = FindMaximizedChildSkinForm();
    if (FCommand != cmSysMenu || !Child) return;
    if (TbsSkinFormFrame* F = Parent->SkinFormFrame()) {
        F->CloseSkinMenu();
        F->SkinMenuClose();
    }
    Child->Form()->Close();
}

void TbsSkinMainMenuBarButton::ExecuteCommand()
{
    TbsSkinFormFrame* Child = FindMaximizedChildSkinForm();
    if (!Child) return;
    switch (FCommand) {
    case cmClose: Child->Form()->Close(); break;
    case cmMaximize: Child->SetWindowState(wsNormal); break;
    case cmMinimize: Child->SetWindowState(wsMinimized); break;
    case cmSysMenu:
        if (TbsSkinFormFrame* F = Parent->SkinFormFrame()) {
            Parent->Invalidate();
            TPoint TL = Parent->ClientToScreen(FObjectRect.TopLeft());
            F->SkinMenuOpen();
            F->PopupSkinMenuItem(Child->GetSystemMenuItems(), Parent,
                                 TRect(TL.X, TL.Y, TL.X + FObjectRect.Width(), TL.Y + FObjectRect.Height()),
                                 Parent->PopupToUp());
        }
        break;
    default: break;
    }
}

// ---- MDI buttons ----------------------------------------------------------------------------

void TbsSkinMainMenuBar::CreateMDIButtons()
{
    ButtonsCount = 0;
    bool Skinned = FIndex != -1;
    struct {
        String Name;
        TbsStdCommand Command;
    } Buttons[] = {{Skinned ? MinButton : String("MinButton"), cmMinimize},
                   {Skinned ? MaxButton : String("MaxButton"), cmMaximize},
                   {Skinned ? CloseButton : String("CloseButton"), cmClose},
                   {Skinned ? SysMenuButton : String("SysMenuButton"), cmSysMenu}};
    for (const auto& B : Buttons) {
        TbsDataSkinObject* Data = nullptr;
        if (FSD && !FSD->Empty) {
            int I = FSD->GetIndex(B.Name);
            if (I != -1) Data = FSD->ObjectList[size_t(I)].get();
        }
        auto O = std::make_unique<TbsSkinMainMenuBarButton>(this, Data);
        O->SetSlot(B.Name, B.Command);
        ObjectList.insert(ObjectList.begin(), std::move(O));
        ++ButtonsCount;
    }
}

void TbsSkinMainMenuBar::RemoveMDIButtons()
{
    ObjectList.erase(ObjectList.begin(), ObjectList.begin() + std::min<size_t>(size_t(ButtonsCount), ObjectList.size()));
    ActiveObject = MouseCaptureObject = -1;
    ButtonsCount = 0;
}

void TbsSkinMainMenuBar::EnableMDIButtons(TbsBorderIcons Icons)
{
    for (int I = 0; I < ButtonsCount && I < int(ObjectList.size()); ++I) {
        auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(ObjectList[size_t(I)].get());
        if (!B) continue;
        B->SetEnabled(!(B->Command() == cmMinimize && !Icons.Contains(TbsBorderIcon::biMinimize)) &&
                      !(B->Command() == cmSysMenu && !Icons.Contains(TbsBorderIcon::biSystemMenu)));
    }
}

void TbsSkinMainMenuBar::ShowMDIButtons()
{
    if (FMDIChildMax) return;
    FMDIChildMax = true;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) EnableMDIButtons(C->BorderIcons());
    Invalidate();
}

void TbsSkinMainMenuBar::CheckMDIButtons()
{
    TbsSkinFormFrame* C = FindMaximizedChildSkinForm();
    if (!C && FMDIChildMax) {
        FMDIChildMax = false;
        RemoveMDIButtons();
        Invalidate();
    } else if (C) {
        EnableMDIButtons(C->BorderIcons());
    }
}

void TbsSkinMainMenuBar::ReleaseSysMenuButton()
{
    for (int I = 0; I < int(ObjectList.size()); ++I) {
        auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(ObjectList[size_t(I)].get());
        if (!B || B->Command() != cmSysMenu || !B->Down()) continue;
        if (I != ActiveObject) B->ReleaseMouse();
        B->SetDown(false);
        B->ReDraw();
    }
}
