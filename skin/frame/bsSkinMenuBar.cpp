// The skinned main menu bar: the top-level items of a main menu laid out from the skin (or
// in the default look), its background, mouse tracking, menu mode by mouse and keyboard and
// the marker of items that do not fit. Its items are in _Item.cpp, the buttons of a
// maximized MDI child in _Button.cpp.
#include "skin/frame/bsSkinMenuBar.h"
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
    if (AComponent == FChildMenu) {
        // the items of a child menu that goes leave with it
        FChildMenu = nullptr;
        ObjectList.clear();
        ButtonsCount = 0;
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
        if (!ComponentState().Contains(csDestroying)) UpDateItems();
    }
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

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu()
{
    if (FMergeMenu) return FMergeMenu;
    // else the menu of the main form's active MDI child
    TCustomForm* C = bsActiveMDIChild();
    if (!C || C->ComponentState().Contains(csDestroying)) return nullptr;
    for (int I = 0; I < C->ComponentCount(); ++I)
        if (auto* M = dynamic_cast<TMainMenu*>(C->Components(I));
            M && !M->ComponentState().Contains(csDestroying))
            return M;
    return nullptr;
}

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
    if (FChildMenu != Child) {
        if (FChildMenu && FChildMenu != FMainMenu && FChildMenu != FMergeMenu) FChildMenu->RemoveFreeNotification(this);
        FChildMenu = Child;
        if (Child) Child->FreeNotification(this);
    }
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
        It->SetMenuItem(M);
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
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->MenuItem()) I->SetEnabled(I->MenuItem()->Enabled());
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
            B->SetObjectRect(TRect(NewItemsRect.Left, Top, NewItemsRect.Left + W, Top + H));
            NewItemsRect.Left += W + 2;
        } else {
            B->SetObjectRect(TRect(NewItemsRect.Right - W, Top, NewItemsRect.Right, Top + H));
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
    } else if (FToolBarMode) {
        PaintToolBarBackground(&B);
    } else {
        int SH = SkinRect.Height();
        CreateStretchSkinImage(&B, Picture, SkinRect, TRect(ItemsRect.Left, SH / 4, ItemsRect.Right, SH - SH / 4),
                               true);
    }
    CalcItemsRect();
    FScroll = false;
    for (auto& O : ObjectList)
        if (O->Visible) O->Draw(B.Canvas());
    if (FScroll && FScrollMenu) DrawMarker(B.Canvas());
    C->Draw(0, 0, &B);
}

void TbsSkinMainMenuBar::PaintToolBarBackground(TBitmap* B)
{
    // the tool-bar panel's look, else the plain panel's; the bitmap stays as it is without
    // either
    TbsDataSkinCustomControl* R = nullptr;
    for (const char* Name : {"resizetoolpanel", "panel"}) {
        int I = FSD->GetControlIndex(Name);
        if (I != -1) R = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[size_t(I)].get());
        if (R) break;
    }
    TBitmap* Pic = R ? FSD->ActivePicture(R->PictureIndex) : nullptr;
    if (!Pic || IsEmptyRect(R->SkinRect)) return;
    TBitmap Look;
    bsCustomControlImage(&Look, R, Pic, R->SkinRect, B->Width(), B->Height());
    B->Canvas()->Draw(0, 0, &Look);
}

void bsCustomControlImage(TBitmap* B, const TbsDataSkinCustomControl* R, TBitmap* Pic, const TRect& S, int W, int H)
{
    const int DX = W - R->SkinRect.Width(), DY = H - R->SkinRect.Height();
    CreateSkinImage(R->LTPoint, R->RTPoint, R->LBPoint, R->RBPoint, R->ClRect, R->LTPoint,
                    TPoint(R->RTPoint.X + DX, R->RTPoint.Y), TPoint(R->LBPoint.X, R->LBPoint.Y + DY),
                    TPoint(R->RBPoint.X + DX, R->RBPoint.Y + DY),
                    TRect(R->ClRect.Left, R->ClRect.Top, R->ClRect.Right + DX, R->ClRect.Bottom + DY), B, Pic, S, W, H,
                    true, R->LeftStretch, R->TopStretch, R->RightStretch, R->BottomStretch, R->StretchEffect,
                    R->StretchType);
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
        if (ObjectList[I]->Enabled() && ObjectList[I]->ObjectRect().Contains(TPoint(X, Y))) {
            Found = int(I);
            break;
        }
    if (Found == -1 && OldActiveObject != -1 && FMenuActive && Item(OldActiveObject)) {
        ActiveObject = OldActiveObject;
    } else {
        ActiveObject = Found;
    }
    if (MouseCaptureObject != -1 && ActiveObject != -1 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
    int N = int(ObjectList.size());
    if (ActiveObject >= N) ActiveObject = -1;
    if (OldActiveObject >= N) OldActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && ObjectList[size_t(OldActiveObject)]->Enabled())
            ObjectList[size_t(OldActiveObject)]->MouseLeave();
        if (ActiveObject != -1 && ObjectList[size_t(ActiveObject)]->Enabled())
            ObjectList[size_t(ActiveObject)]->MouseEnter();
    }
    if (FScroll && FScrollMenu) {
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
    } else if (FScroll && FScrollMenu && GetMarkerRect().Contains(TPoint(X, Y))) {
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
    // out the menu's invisible items, so the start is the hidden item's place in the menu;
    // with a child menu merged the menu lists the main menu's items, then the child's
    TMainMenu* Child = BSF->Form()->FormStyle() == fsMDIForm || FMergeMenu ? GetChildMainMenu() : nullptr;
    int Start = -1;
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && !I->ItemVisible && I->MenuItem()) {
            Start = FMainMenu->Items()->IndexOf(I->MenuItem());
            if (Start < 0 && Child) {
                int J = Child->Items()->IndexOf(I->MenuItem());
                if (J >= 0) Start = FMainMenu->Items()->Count() + J;
            }
            break;
        }
    if (Start < 0) return;
    TRect M = GetMarkerRect();
    TPoint TL = ClientToScreen(M.TopLeft());
    BSF->SkinMenuOpen();
    BSF->PopupSkinMenuItem(FMainMenu->Items(), nullptr, TRect(TL.X, TL.Y, TL.X + M.Width(), TL.Y + M.Height()), false,
                           Start, FSD, Child ? Child->Items() : nullptr);
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
        if (I->AnimationStep()) {
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
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->Enabled() && I->ItemVisible) R.push_back(I);
    return R;
}

void TbsSkinMainMenuBar::EnterMenuMode()
{
    FMenuActive = true;
    Invalidate();
    TbsSkinMainMenuBarItem* First = nullptr;
    for (auto& O : ObjectList)
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get())) {
            if (I->Active()) {
                First = I;
                break;
            }
            if (!First) First = I;
        }
    if (!First) return;
    First->MouseEnter();
    if (BSF) BSF->MenuMode().EnterMainMenu();
}

void TbsSkinMainMenuBar::LeaveMenuMode()
{
    FMenuActive = false;
    Invalidate();
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !(I->Down() || I->Active())) continue;
        I->ReleaseMouse();
        I->SetDown(false);
        if (I->EnableAnimation() && !I->InActiveAnimation) {
            I->ResetAnimation();
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
        if (auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get()); I && I->Down()) {
            I->SetDown(false);
            I->SetActive(true);
            RedrawObject(I);
            return;
        }
}

bool TbsSkinMainMenuBar::PressAccelItem(WORD Key)
{
    if (!BSF || ObjectList.empty() || !BSF->Form()->Visible()) return false;
    for (auto& O : ObjectList) {
        auto* I = dynamic_cast<TbsSkinMainMenuBarItem*>(O.get());
        if (!I || !I->Enabled() || !I->ItemVisible || !I->MenuItem() || !IsAccelChar(Key, I->MenuItem()->Caption())) continue;
        I->MouseEnter();
        if (!BSF->InMenu() || I->MenuItem()->Count() == 0) I->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::SelectNextItem()
{
    std::vector<TbsSkinMainMenuBarItem*> S = ShownItems();
    if (S.empty()) return;
    for (size_t I = 0; I < S.size(); ++I)
        if (S[I]->Active() || S[I]->Down()) {
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
        if (S[I]->Active() || S[I]->Down()) {
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
        if (!I || !I->MenuItem()) continue;
        if ((I->Down() && I->MenuItem()->Count() == 0) || (I->Active() && !BSF->InMenu())) {
            I->SetActive(false);
            I->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}
