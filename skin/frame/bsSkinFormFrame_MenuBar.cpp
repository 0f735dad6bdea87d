// The skinned main menu bar: the top-level items of a main menu drawn from the skin (or
// in the default look), mouse tracking, menu mode by mouse and keyboard, the marker of
// items that do not fit, and the buttons of a maximized MDI child.
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/graphics/ImgList.h"
#include "platform/windows/WinPaint.h"

// ---- the skinned main menu ------------------------------------------------------------------

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMainMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- bar objects ----------------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent)
{
    if (!AData) return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ObjectRect = AData->SkinRect;
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
    FMouseIn = Active = true;
    ReDraw();
}

void TbsMenuBarObject::MouseLeave()
{
    FMouseIn = Active = false;
    ReDraw();
}

bool TbsMenuBarObject::CanMorphing()
{
    return (!FDown || IsEmptyRect(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

void TbsMenuBarObject::DoMorphing()
{
    FMorphKf = std::clamp(FMorphKf + (Active ? 0.2 : -0.2), 0.0, 1.0);
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
    OldEnabled = Enabled;
}

bool TbsSkinMainMenuBarItem::EnableAnimation()
{
    TbsSkinData* D = Parent->SkinData();
    return !IsEmptyRect(AnimateSkinRect) && FrameCount > 0 && D && !D->Empty && !Parent->ToolBarMode() &&
           D->EnableSkinEffects();
}

void TbsSkinMainMenuBarItem::SetItemFont(TCanvas* C, bool Skinned)
{
    TFont* F = C->Font();
    if (Skinned && Parent->UseSkinFont()) {
        F->SetName(FontName);
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
    } else {
        F->Assign(Parent->DefItemFont());
    }
    TbsSkinData* D = Parent->SkinData();
    F->SetCharset(Skinned && D && D->ResourceStrData() ? D->ResourceStrData()->CharSet()
                                                        : Parent->DefItemFont()->Charset());
}

int TbsSkinMainMenuBarItem::GlyphWidth(int* Height)
{
    if (!MenuItem) return 0;
    auto* IL = dynamic_cast<TCustomImageList*>(MenuItem->GetParentMenu() ? MenuItem->GetParentMenu()->Images() : nullptr);
    if (IL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count()) {
        if (Height) *Height = IL->Height();
        return IL->Width();
    }
    if (auto* B = dynamic_cast<TBitmap*>(MenuItem->Bitmap()); B && !B->Empty()) {
        if (Height) *Height = B->Height();
        return B->Width();
    }
    return 0;
}

void TbsSkinMainMenuBarItem::DrawGlyph(TCanvas* C, int X, int ItemHeight)
{
    int H = 0;
    if (GlyphWidth(&H) == 0) return;
    auto* IL = dynamic_cast<TCustomImageList*>(MenuItem->GetParentMenu() ? MenuItem->GetParentMenu()->Images() : nullptr);
    int Y = ItemHeight / 2 - H / 2;
    if (IL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < IL->Count())
        IL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    else if (auto* B = dynamic_cast<TBitmap*>(MenuItem->Bitmap()))
        C->Draw(X, Y, B);
}

bool TbsSkinMainMenuBarItem::Measure(TCanvas* Cnvs, bool Skinned)
{
    int Left = Parent->NewItemsRect.Left;
    for (auto& O : Parent->ObjectList) {
        if (O.get() == this) break;
        if (dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) Left = O->ObjectRect.Right;
    }
    if (Left == 0) Left = Parent->NewItemsRect.Left;
    SetItemFont(Cnvs, Skinned);
    TRect R(0, 0, 0, 0);
    String Caption = MenuItem ? MenuItem->Caption() : String();
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
    ObjectRect = TRect(Left, Top, Left + Width, Bottom);
    int Limit = Parent->ScrollMenu() ? Parent->NewItemsRect.Right - 5 : Parent->NewItemsRect.Right;
    if (ObjectRect.Right > Limit) {
        Parent->Scroll = true;
        if (ItemVisible) {
            OldEnabled = Enabled;
            Enabled = false;
            ItemVisible = false;
        }
        return false;
    }
    if (!ItemVisible) {
        ItemVisible = true;
        Enabled = OldEnabled;
    }
    return true;
}

void TbsSkinMainMenuBarItem::DrawText(TCanvas* C, TRect R, bool Selected)
{
    if (MenuItem && MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(MenuItem, C, R, Selected);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    UINT Flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (Parent->MenuActive ? 0 : DT_HIDEPREFIX);
    String Caption = MenuItem ? MenuItem->Caption() : String();
    DrawWideText(C, Caption, R, Flags);
    C->Brush()->SetStyle(bsSolid);
}

void TbsSkinMainMenuBarItem::SkinnedLook(TBitmap* B, TCanvas* Under, const TRect& S, bool Highlighted)
{
    int W = ObjectRect.Width(), H = ObjectRect.Height();
    B->SetSize(W, H);
    if (!Picture) return;
    if (Parent->ItemTransparent && (S == SkinRect || (!Parent->UseSkinSize() && !Highlighted))) {
        B->Canvas()->CopyRect(TRect(0, 0, W, H), Under, ObjectRect);
    } else if (Parent->UseSkinSize()) {
        CreateHSkinImage(LO, RO, B, Picture, S, W, S.Height(), Highlighted && StretchEffect);
        if (B->Height() != H) B->SetSize(W, H);
    } else {
        int SH = S.Height();
        CreateStretchSkinImage(B, Picture, S, TRect(LO, SH / 4, S.Width() - RO, SH - SH / 4), true);
    }
    TCanvas* C = B->Canvas();
    SetItemFont(C, true);
    bool Enabled0 = !MenuItem || MenuItem->Enabled();
    C->Font()->SetColor(FDown ? DownFontColor : Highlighted ? ActiveFontColor : Enabled0 ? FontColor : UnEnabledFontColor);
    TRect T = TextRct;
    if (int G = GlyphWidth()) {
        DrawGlyph(C, T.Left + 2, H);
        T.Left += G + 5;
    }
    TRect M(0, 0, 0, 0);
    DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), M, DT_CALCRECT | DT_CENTER);
    T.Right = T.Left + M.Width() + 2;
    T.Bottom = T.Top + M.Height();
    if (!Parent->UseSkinSize()) OffsetRect(T, 0, H / 2 - (T.Top + T.Height() / 2));
    DrawText(C, T, Highlighted);
}

void TbsSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs)
{
    if (!Measure(Cnvs, false)) return;
    int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bsDrawDefaultFace(C, W, H, FDown, Active);
    SetItemFont(C, false);
    TRect T(1, 1, W - 1, H - 1);
    if (int G = GlyphWidth()) {
        DrawGlyph(C, 2, H);
        T.Left = 2 + G + 5;
    }
    DrawText(C, T, Active);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport) return DefaultDraw(Cnvs);
    // measured even when the skin gives it no look, so that its place stays current
    if (!Measure(Cnvs, true) || IsEmptyRect(SkinRect) || IsEmptyRect(TextRct)) return;
    TBitmap B;
    TRect ActiveLook = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (FDown) {
        SkinnedLook(&B, Cnvs, ItemDownRect, true);
    } else if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
        TRect F = AnimateSkinRect;
        if (AnimateSkinRect.Height() > SkinRect.Height()) {
            int FH = AnimateSkinRect.Height() / FrameCount;
            F = TRect(F.Left, F.Top + FH * (CurrentFrame - 1), F.Right, F.Top + FH * CurrentFrame);
        } else {
            int FW = AnimateSkinRect.Width() / FrameCount;
            F = TRect(F.Left + FW * (CurrentFrame - 1), F.Top, F.Left + FW * CurrentFrame, F.Bottom);
        }
        SkinnedLook(&B, Cnvs, F, true);
    } else if (!EnableMorphing() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0)) {
        SkinnedLook(&B, Cnvs, Active ? ActiveLook : SkinRect, Active);
    } else {
        TBitmap B2;
        SkinnedLook(&B, Cnvs, SkinRect, false);
        SkinnedLook(&B2, Cnvs, ActiveLook, true);
        TbsEffectBmp E1(B.Handle()), E2(B2.Handle());
        bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
        E1.Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    if (Picture) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
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
        if (O.get() != this && O->Active && dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) {
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
    // without subitems is only highlighted: its command runs on a press, not also here.
    if (MenuItem && MenuItem->Count() > 0 && ReleaseOtherDownItem()) {
        Active = FMouseIn = true;
        if (EnableMorphing()) FMorphKf = 1;
        if (MenuItem && MenuItem->OnClick) MenuItem->OnClick(Parent);
        SetItemDown(true);
        return;
    }
    DeactivateOtherItem();
    FMouseIn = Active = true;
    ReDraw();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (MenuItem) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave()
{
    Active = FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Draw(Parent->Canvas());
    }
    if (EnableMorphing() && FDown) FMorphKf = 0;
    ReDraw();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton Button)
{
    TbsSkinFormFrame* F = Parent->SkinFormFrame();
    if (!Enabled || !F || Button != mbLeft || !MenuItem) return;
    if (MenuItem->Count() > 0) {
        Parent->MenuActive = true;
        Parent->Invalidate();
        if (MenuItem->OnClick) MenuItem->OnClick(Parent);
        SetItemDown(true);
        return;
    }
    if (F->InMainMenu) F->EndMainMenu();
    F->InMenu = false;
    if (EnableMorphing()) ReDraw();
    else Parent->RedrawObject(this);
    TMenuItem* Item = MenuItem;
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
        if (F && !F->InMainMenu && F->OnMainMenuEnter) F->OnMainMenuEnter(Parent);
        PopupItemMenu();
        return;
    }
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            ReDraw();
            return;
        }
        CurrentFrame = 0;
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
    TPoint TL = Parent->ClientToScreen(ObjectRect.TopLeft());
    TRect R(TL.X, TL.Y, TL.X + ObjectRect.Width(), TL.Y + ObjectRect.Height());
    F->SkinMenuOpen();
    F->InMainMenu = true;
    F->PopupSkinMenuItem(MenuItem, nullptr, R, Parent->PopupToUp(), 0, Parent->SkinData());
}

// ---- MDI buttons -----------------------------------------------------------------------------

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData)
{
    if (auto* D = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
        Command = D->Command;
        DownRect = D->DownRect;
        FSkinSupport = true;
    }
}

void TbsSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs)
{
    int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    bool Pressed = FDown && FMouseIn;
    bsDrawDefaultFace(C, W, H, Pressed, FMouseIn);
    int X = W / 2 - 5 + (Pressed ? 1 : 0), Y = H / 2 - 4 + (Pressed ? 1 : 0);
    TColor G = Enabled ? clBtnText : clBtnShadow;
    switch (Command) {
    case cmClose: DrawCloseImage(C, X, Y, G); break;
    case cmMaximize: DrawRestoreImage(C, X, Y, G); break;
    case cmMinimize: DrawMinimizeImage(C, X, Y, G); break;
    case cmSysMenu: DrawSysMenuImage(C, X, Y, G); break;
    default: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport || !Picture) return DefaultDraw(Cnvs);
    if (FDown && FMouseIn && !IsEmptyRect(DownRect)) return Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
    if (EnableMorphing() && FMorphKf != (Active ? 1 : 0)) {
        int W = ObjectRect.Width(), H = ObjectRect.Height();
        TBitmap B1(W, H), B2(W, H);
        B1.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), SkinRect);
        B2.Canvas()->CopyRect(TRect(0, 0, W, H), Picture->Canvas(), ActiveSkinRect);
        TbsEffectBmp E1(B1.Handle()), E2(B2.Handle());
        bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
        E1.Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), Active && !IsEmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
}

void TbsSkinMainMenuBarButton::MouseEnter()
{
    if (FDown && Command == cmSysMenu) {
        FMouseIn = Active = true;
        return;
    }
    if (FDown && EnableMorphing()) {
        FMouseIn = Active = true;
        Parent->RedrawObject(this);
        return;
    }
    TbsMenuBarObject::MouseEnter();
}

void TbsSkinMainMenuBarButton::MouseLeave()
{
    if (FDown && Command == cmSysMenu) {
        if (EnableMorphing()) FMorphKf = 1;
        Active = FMouseIn = false;
        return;
    }
    if (FDown && EnableMorphing()) {
        Active = FMouseIn = false;
        Parent->RedrawObject(this);
        return;
    }
    TbsMenuBarObject::MouseLeave();
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || FDown) return;
    FDown = true;
    if (EnableMorphing() && !IsEmptyRect(DownRect)) FMorphKf = 1;
    Parent->RedrawObject(this);
    if (Command == cmSysMenu) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft) return;
    if (Command != cmSysMenu) {
        FDown = false;
        Parent->RedrawObject(this);
        if (EnableMorphing()) ReDraw();
    }
    if (Active && Command != cmSysMenu) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::DblClick()
{
    TbsSkinFormFrame* Child = FindMaximizedChildSkinForm();
    if (Command != cmSysMenu || !Child) return;
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
    switch (Command) {
    case cmClose: Child->Form()->Close(); break;
    case cmMaximize: Child->SetWindowState(wsNormal); break;
    case cmMinimize: Child->SetWindowState(wsMinimized); break;
    case cmSysMenu:
        if (TbsSkinFormFrame* F = Parent->SkinFormFrame()) {
            Parent->Invalidate();
            TPoint TL = Parent->ClientToScreen(ObjectRect.TopLeft());
            F->SkinMenuOpen();
            F->PopupSkinMenuItem(Child->GetSystemMenuItems(), Parent,
                                 TRect(TL.X, TL.Y, TL.X + ObjectRect.Width(), TL.Y + ObjectRect.Height()),
                                 Parent->PopupToUp());
        }
        break;
    default: break;
    }
}

// ---- the bar ----------------------------------------------------------------------------------

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    FDefItemFont = std::make_unique<TFont>();
    FDefItemFont->SetName("Tahoma");
    FDefItemFont->SetHeight(13);
    FDefItemFont->SetColor(clBtnText);
    FSkinDataName = "mainmenubar";
    SetAlign(alTop);
    SetBounds(FLeft, FTop, FWidth, 22);
    auto MakeTimer = [this](UINT Interval, void (TbsSkinMainMenuBar::*Tick)(TObject*)) {
        auto* T = new TTimer(this);
        T->SetEnabled(false);
        T->SetInterval(Interval);
        T->SetOnTimer([this, Tick](TObject* S) { (this->*Tick)(S); });
        return T;
    };
    MouseTimer = MakeTimer(50, &TbsSkinMainMenuBar::MouseTimerTick);
    MorphTimer = MakeTimer(25, &TbsSkinMainMenuBar::MorphTimerTick);
    AnimateTimer = MakeTimer(25, &TbsSkinMainMenuBar::AnimateTimerTick);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar()
{
    if (BSF && BSF->MainMenuBar() == this) BSF->SetMainMenuBar(nullptr);
    ObjectList.clear();
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        ObjectList.clear();
        ButtonsCount = 0;
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    }
    if (AComponent == BSF) BSF = nullptr;
    if (AComponent == FMergeMenu) FMergeMenu = nullptr;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::Item(int Index) const
{
    if (Index < 0 || Index >= int(ObjectList.size())) return nullptr;
    return dynamic_cast<TbsSkinMainMenuBarItem*>(ObjectList[size_t(Index)].get());
}

void TbsSkinMainMenuBar::SetToolBarMode(bool V)
{
    FToolBarMode = V;
    Invalidate();
}

void TbsSkinMainMenuBar::SetScrollMenu(bool V)
{
    FScrollMenu = V;
    Invalidate();
}

void TbsSkinMainMenuBar::SetUseSkinSize(bool V)
{
    FUseSkinSize = V;
    SetBounds(Left(), Top(), Width(), Height());
}

void TbsSkinMainMenuBar::SetDefItemFont(TFont* Value)
{
    FDefItemFont->Assign(Value);
    if (FIndex == -1) Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMainMenuBar::SetSkinFormFrame(TbsSkinFormFrame* Value)
{
    BSF = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value)
{
    FMainMenu = Value;
    if (Value) Value->FreeNotification(this);
    CreateMenu();
    Invalidate();
}

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() { return FMergeMenu; }

void TbsSkinMainMenuBar::CreateMenu()
{
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    if (!FMainMenu) return;
    TMainMenu* Child = BSF && (BSF->Form()->FormStyle() == fsMDIForm || FMergeMenu) ? GetChildMainMenu() : nullptr;
    TbsDataSkinObject* Data = nullptr;
    if (FSD && !FSD->Empty) {
        int I = FSD->GetIndex(MenuBarItem);
        if (I != -1) Data = FSD->ObjectList[size_t(I)].get();
    }
    ChildMenuIn = Child != nullptr;
    std::vector<TMenuItem*> Items;
    if (Child) {
        FScrollMenu = false;
        auto InChild = [Child](int Group) {
            for (int I = 0; I < Child->Items()->Count(); ++I)
                if (Child->Items()->Items(I)->GroupIndex() == Group) return true;
            return false;
        };
        for (int I = 0; I < FMainMenu->Items()->Count(); ++I)
            if (!InChild(FMainMenu->Items()->Items(I)->GroupIndex())) Items.push_back(FMainMenu->Items()->Items(I));
        for (int I = 0; I < Child->Items()->Count(); ++I) Items.push_back(Child->Items()->Items(I));
        std::stable_sort(Items.begin(), Items.end(),
                         [](TMenuItem* A, TMenuItem* B) { return A->GroupIndex() < B->GroupIndex(); });
    } else {
        for (int I = 0; I < FMainMenu->Items()->Count(); ++I) Items.push_back(FMainMenu->Items()->Items(I));
    }
    for (TMenuItem* M : Items) {
        if (!M->Visible()) continue;
        auto It = std::make_unique<TbsSkinMainMenuBarItem>(this, Data);
        It->IDName = M->Name();
        It->Enabled = It->OldEnabled = M->Enabled();
        It->MenuItem = M;
        ObjectList.push_back(std::move(It));
    }
    if (FMDIChildMax) {
        CreateMDIButtons();
        if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) EnableMDIButtons(C->BorderIcons());
    }
}

void TbsSkinMainMenuBar::UpDateItems()
{
    CreateMenu();
    Invalidate();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems()
{
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->MenuItem) I->Enabled = I->MenuItem->Enabled();
    Invalidate();
}

void TbsSkinMainMenuBar::Merge(TMainMenu* Menu)
{
    FMergeMenu = Menu;
    if (Menu) Menu->FreeNotification(this);
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge()
{
    FMergeMenu = nullptr;
    UpDateItems();
}

// ---- skin and size --------------------------------------------------------------------------------

void TbsSkinMainMenuBar::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinMainMenuBar*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) return;
    SkinRect = R->SkinRect;
    ItemsRect = R->ItemsRect;
    MenuBarItem = R->MenuBarItem;
    CloseButton = R->CloseButton;
    MaxButton = R->MaxButton;
    MinButton = R->MinButton;
    SysMenuButton = R->SysMenuButton;
    TrackMarkColor = R->TrackMarkColor;
    TrackMarkActiveColor = R->TrackMarkActiveColor;
    StretchEffect = R->StretchEffect;
    ItemTransparent = R->ItemTransparent;
    Picture = FSD->ActivePicture(R->PictureIndex);
}

void TbsSkinMainMenuBar::BeforeChangeSkinData()
{
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinMainMenuBar::ChangeSkinData()
{
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport && FUseSkinSize) SetHeight(SkinRect.Height());
    else if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    Invalidate();
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    if (FIndex != -1 && FUseSkinSize && !IsEmptyRect(SkinRect)) AHeight = SkinRect.Height();
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

// ---- painting --------------------------------------------------------------------------------

void TbsSkinMainMenuBar::CalcItemsRect()
{
    if (FSkinSupport)
        NewItemsRect = TRect(ItemsRect.Left, ItemsRect.Top, Width() + ItemsRect.Right - SkinRect.Width(),
                             FUseSkinSize ? ItemsRect.Bottom : Height() + ItemsRect.Bottom - SkinRect.Height());
    else
        NewItemsRect = TRect(2, 2, Width() - 2, Height() - 2);
    if (!FMDIChildMax || ButtonsCount != 4) return;
    for (int I = 0; I < 4; ++I) {
        TbsMenuBarObject* B = ObjectList[size_t(I)].get();
        auto* MB = dynamic_cast<TbsSkinMainMenuBarButton*>(B);
        int W, H, Top;
        if (MB && MB->FSkinSupport) {
            W = B->SkinRect.Width();
            H = B->SkinRect.Height();
            Top = NewItemsRect.Top + NewItemsRect.Height() / 2 - H / 2;
        } else {
            W = H = NewItemsRect.Height();
            Top = NewItemsRect.Top;
        }
        if (I == 0) {
            B->ObjectRect = TRect(NewItemsRect.Left, Top, NewItemsRect.Left + W, Top + H);
            NewItemsRect.Left += W + 2;
        } else {
            B->ObjectRect = TRect(NewItemsRect.Right - W, Top, NewItemsRect.Right, Top + H);
            NewItemsRect.Right -= W + 2;
        }
    }
}

TRect TbsSkinMainMenuBar::GetMarkerRect() const
{
    return TRect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TbsSkinMainMenuBar::DrawMarker(TCanvas* C)
{
    TColor Color = FIndex != -1 ? (MarkerActive ? TrackMarkActiveColor : TrackMarkColor)
                                : (MarkerActive ? clBtnText : clBtnShadow);
    DrawArrowImage(C, GetMarkerRect(), Color, 2);
}

void TbsSkinMainMenuBar::PaintBar(TCanvas* C)
{
    GetSkinData();
    int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* K = B.Canvas();
    if (FIndex == -1 || !Picture) {
        K->Brush()->SetColor(clBtnFace);
        K->FillRect(TRect(0, 0, W, H));
    } else if (FSD->MainMenuBarTransparent) {
        DrawParentBackground(this, K);
    } else if (FUseSkinSize) {
        CreateHSkinImage(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, &B, Picture, SkinRect, W,
                         SkinRect.Height(), StretchEffect);
        if (B.Width() != W || B.Height() != H) B.SetSize(W, H);
    } else {
        int SH = SkinRect.Height();
        CreateStretchSkinImage(&B, Picture, SkinRect, TRect(ItemsRect.Left, SH / 4, ItemsRect.Right, SH - SH / 4),
                               true);
    }
    CalcItemsRect();
    Scroll = false;
    for (auto& O : ObjectList)
        if (O->Visible) O->Draw(B.Canvas());
    if (Scroll && FScrollMenu) DrawMarker(B.Canvas());
    C->Draw(0, 0, &B);
}

void TbsSkinMainMenuBar::RedrawObject(TbsMenuBarObject* Obj)
{
    if (!HandleAllocated()) return;
    if (dynamic_cast<TbsSkinMainMenuBarItem*>(Obj) && FSkinSupport &&
        (ItemTransparent || (FToolBarMode && FToolBarModeItemTransparent))) {
        Invalidate();
        return;
    }
    if (Obj->Visible) Obj->Draw(Canvas());
}

void TbsSkinMainMenuBar::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND: {
        if (M.WParam) {
            TCanvas C;
            C.SetHandle(reinterpret_cast<HDC>(M.WParam));
            PaintBar(&C);
            C.SetHandle(nullptr);
        }
        M.Result = 1;
        return;
    }
    case WM_SIZE:
        TbsSkinControl::Dispatch(M);
        CalcItemsRect();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(M);
        if (FSkinSupport && FSD && FSD->MainMenuBarTransparent && Align() == alNone) Invalidate();
        return;
    case ParentBackgroundChanged:
        if (FSkinSupport && FSD && FSD->MainMenuBarTransparent) Invalidate();
        return;
    case SkinMenuClosed:
        ReleaseSysMenuButton();
        return;
    case CM_MOUSEENTER:
        TbsSkinControl::Dispatch(M);
        if (!IsDesigning()) MouseTimer->SetEnabled(true);
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(M);
        if (!IsDesigning()) {
            MouseTimer->SetEnabled(false);
            TrackMouse(-1, -1);
        }
        return;
    }
    TbsSkinControl::Dispatch(M);
}

// ---- mouse ------------------------------------------------------------------------------------

void TbsSkinMainMenuBar::TrackMouse(int X, int Y)
{
    if (ObjectList.empty()) return;
    OldActiveObject = ActiveObject;
    int Found = -1;
    for (size_t I = 0; I < ObjectList.size(); ++I)
        if (ObjectList[I]->Enabled && ObjectList[I]->ObjectRect.Contains(TPoint(X, Y))) {
            Found = int(I);
            break;
        }
    if (Found == -1 && OldActiveObject != -1 && MenuActive && Item(OldActiveObject)) {
        ActiveObject = OldActiveObject;
    } else {
        ActiveObject = Found;
    }
    if (MouseCaptureObject != -1 && ActiveObject != -1 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
    int N = int(ObjectList.size());
    if (ActiveObject >= N) ActiveObject = -1;
    if (OldActiveObject >= N) OldActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && ObjectList[size_t(OldActiveObject)]->Enabled)
            ObjectList[size_t(OldActiveObject)]->MouseLeave();
        if (ActiveObject != -1 && ObjectList[size_t(ActiveObject)]->Enabled)
            ObjectList[size_t(ActiveObject)]->MouseEnter();
    }
    if (Scroll && FScrollMenu) {
        bool In = GetMarkerRect().Contains(TPoint(X, Y));
        if (In != MarkerActive) {
            MarkerActive = In;
            if (HandleAllocated()) DrawMarker(Canvas());
        }
    }
}

void TbsSkinMainMenuBar::MouseTimerTick(TObject*)
{
    if (!HandleAllocated()) return;
    TPoint P = ScreenToClient(GetCursorPos());
    if (P.X < 0 || P.Y < 0 || P.X > Width() || P.Y > Height()) {
        if (!MouseTimer->Enabled()) return;
        MouseTimer->SetEnabled(false);
        TrackMouse(-1, -1);
        return;
    }
    TrackMouse(P.X, P.Y);
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!MouseTimer->Enabled()) MouseTimer->SetEnabled(true);
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TrackMouse(X, Y);
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        TbsMenuBarObject* O = ObjectList[size_t(ActiveObject)].get();
        O->MouseDown(X, Y, Button);
        if (Shift.Contains(ssDouble)) O->DblClick();
    } else if (Scroll && FScrollMenu && GetMarkerRect().Contains(TPoint(X, Y))) {
        PopupHiddenItems();
    }
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (MouseCaptureObject >= 0 && MouseCaptureObject < int(ObjectList.size()))
        ObjectList[size_t(MouseCaptureObject)]->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::PopupHiddenItems()
{
    if (!BSF || !FMainMenu || !HandleAllocated()) return;
    // the menu of the items from the first hidden one on, beside the marker; the bar leaves
    // out the menu's invisible items, so the start is the hidden item's place in the menu
    int Start = -1;
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && !I->ItemVisible && I->MenuItem) {
            Start = FMainMenu->Items()->IndexOf(I->MenuItem);
            break;
        }
    if (Start < 0) return;
    TRect M = GetMarkerRect();
    TPoint TL = ClientToScreen(M.TopLeft());
    BSF->SkinMenuOpen();
    BSF->PopupSkinMenuItem(FMainMenu->Items(), nullptr, TRect(TL.X, TL.Y, TL.X + M.Width(), TL.Y + M.Height()), false,
                           Start, FSD);
}

void TbsSkinMainMenuBar::MorphTimerTick(TObject*)
{
    bool Any = false;
    for (auto& O : ObjectList)
        if (O->EnableMorphing() && O->CanMorphing()) {
            O->DoMorphing();
            Any = true;
        }
    if (!Any) MorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerTick(TObject*)
{
    bool Any = false;
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !I->EnableAnimation()) continue;
        if (I->Active && I->CurrentFrame <= I->FrameCount) {
            ++I->CurrentFrame;
            I->Draw(Canvas());
            Any = true;
        } else if (!I->Active && I->CurrentFrame > 0) {
            --I->CurrentFrame;
            I->Draw(Canvas());
            Any = true;
        }
    }
    if (!Any) AnimateTimer->SetEnabled(false);
}

// ---- menu mode ------------------------------------------------------------------------------

std::vector<TbsSkinMainMenuBarItem*> TbsSkinMainMenuBar::ShownItems() const
{
    std::vector<TbsSkinMainMenuBarItem*> R;
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->Enabled && I->ItemVisible) R.push_back(I);
    return R;
}

void TbsSkinMainMenuBar::EnterMenuMode()
{
    MenuActive = true;
    Invalidate();
    TbsSkinMainMenuBarItem* First = nullptr;
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) {
            if (I->Active) {
                First = I;
                break;
            }
            if (!First) First = I;
        }
    if (!First) return;
    First->MouseEnter();
    if (BSF) {
        BSF->HookAppMessages();
        BSF->InMainMenu = true;
        if (BSF->OnMainMenuEnter) BSF->OnMainMenuEnter(this);
    }
}

void TbsSkinMainMenuBar::LeaveMenuMode()
{
    MenuActive = false;
    Invalidate();
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !(I->FDown || I->Active)) continue;
        I->Active = I->FMouseIn = I->FDown = false;
        if (I->EnableAnimation() && !I->InActiveAnimation) {
            I->CurrentFrame = 0;
            RedrawObject(I);
        } else {
            I->ReDraw();
        }
        break;
    }
    ActiveObject = OldActiveObject = -1;
}

void TbsSkinMainMenuBar::ReleaseDownItem()
{
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->FDown) {
            I->FDown = false;
            I->Active = true;
            RedrawObject(I);
            return;
        }
}

bool TbsSkinMainMenuBar::PressAccelItem(WORD Key)
{
    if (!BSF || ObjectList.empty() || !BSF->Form()->Visible()) return false;
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !I->Enabled || !I->ItemVisible || !I->MenuItem || !IsAccelChar(Key, I->MenuItem->Caption())) continue;
        I->MouseEnter();
        if (!BSF->InMenu || I->MenuItem->Count() == 0) I->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::SelectNextItem()
{
    std::vector<TbsSkinMainMenuBarItem*> S = ShownItems();
    if (S.empty()) return;
    for (size_t I = 0; I < S.size(); ++I)
        if (S[I]->Active || S[I]->FDown) {
            S[I]->MouseLeave();
            S[I + 1 < S.size() ? I + 1 : 0]->MouseEnter();
            return;
        }
    S.front()->MouseEnter();
}

void TbsSkinMainMenuBar::SelectPriorItem()
{
    std::vector<TbsSkinMainMenuBarItem*> S = ShownItems();
    if (S.empty()) return;
    for (size_t I = 0; I < S.size(); ++I)
        if (S[I]->Active || S[I]->FDown) {
            S[I]->MouseLeave();
            S[I > 0 ? I - 1 : S.size() - 1]->MouseEnter();
            return;
        }
    S.back()->MouseEnter();
}

bool TbsSkinMainMenuBar::PressSelectedItem()
{
    if (!BSF) return false;
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !I->MenuItem) continue;
        if ((I->FDown && I->MenuItem->Count() == 0) || (I->Active && !BSF->InMenu)) {
            I->Active = false;
            I->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
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
        O->IDName = B.Name;
        // a button the skin does not describe runs its slot's command
        if (!O->FSkinSupport) O->Command = B.Command;
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
        B->Enabled = !(B->Command == cmMinimize && !Icons.Contains(TbsBorderIcon::biMinimize)) &&
                     !(B->Command == cmSysMenu && !Icons.Contains(TbsBorderIcon::biSystemMenu));
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
        if (!B || B->Command != cmSysMenu || !B->FDown) continue;
        if (I != ActiveObject) B->Active = B->FMouseIn = false;
        B->FDown = false;
        B->ReDraw();
    }
}
