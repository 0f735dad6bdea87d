// The ribbon control: creation, properties, skin lookup, layout, tab selection,
// keyboard, wheel and pointer handling, caption buttons and MDI buttons.
#include "skin/frame/bsRibbon.h"

#include <algorithm>

#include "skin/core/bsUtils.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenus.h"

namespace {

// Point test without the right and bottom edges.
bool Holds(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

int DefaultMeasure(TCanvas* C, const String& S)
{
    TRect R(0, 0, 0, 0);
    if (!S.empty()) DrawWideText(C, S, R, DT_CALCRECT | DT_SINGLELINE);
    return R.Width();
}

}  // namespace

// ---- caption buttons ----------------------------------------------------------------------

TbsRibbonButtonItem::TbsRibbonButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TbsRibbonButtonItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetVisible(bool Value)
{
    FVisible = Value;
    Changed(false);
}

void TbsRibbonButtonItem::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsRibbonButtonItem*>(Source)) {
        FImageIndex = S->FImageIndex;
        FHint = S->FHint;
        FEnabled = S->FEnabled;
        FVisible = S->FVisible;
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsRibbonButtonItems::TbsRibbonButtonItems(TbsRibbon* ARibbon)
    : TCollection(TCollection::ItemClass<TbsRibbonButtonItem>()), Ribbon(ARibbon)
{
}

TPersistent* TbsRibbonButtonItems::GetOwner() { return Ribbon; }

void TbsRibbonButtonItems::Update(TCollectionItem*)
{
    if (Ribbon && !Ribbon->ComponentState().Contains(csLoading)) Ribbon->Invalidate();
}

// ---- creation -----------------------------------------------------------------------------

TbsRibbon::TbsRibbon(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    MeasureCaption = DefaultMeasure;
    CreateAppButton();
    FButtons = new TbsRibbonButtonItems(this);
    FMDIButtons = new TbsRibbonButtonItems(this);
    FTabs = new TbsRibbonTabs(this);
    SetHeight(115);
    SetAlign(alTop);
    FSkinDataName = "officetab";
    SetAppButtonImageIndex(0);
}

TbsRibbon::~TbsRibbon()
{
    // From here on the links to this ribbon (its pages', its application menu's, its
    // frame's) read none: the pages belong to the form and may outlive the ribbon.
    Destroying();
    UnhookAppMessages();
    delete FTabs;
    FTabs = nullptr;
    delete FButtons;
    FButtons = nullptr;
    delete FMDIButtons;
    FMDIButtons = nullptr;
    // the application button goes with the other owned components
}

void TbsRibbon::CreateAppButton()
{
    delete FAppButton;
    FAppButton = new TbsAppButton(this);
    FAppButton->SetCanFocused(true);
    FAppButton->SetTabStop(false);
    FAppButton->Ribbon = this;
    FAppButton->SetBounds(0, 1, FAppButtonWidth, 24);
    FAppButton->SetParent(this);
    FAppButton->SetSkinDataName("officemenubutton");
    FAppButton->OnHideTrackMenu = [this](TObject* Sender) { AppButtonHideTrackMenu(Sender); };
    FLeftOffset = FAppButtonWidth + 3;
}

void TbsRibbon::AppButtonHideTrackMenu(TObject*)
{
    if (OnMenuClose) OnMenuClose(this);
}

void TbsRibbon::CreateParams(TCreateParams& Params)
{
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbon::Loaded()
{
    TbsSkinControl::Loaded();
    for (int I = 0; I < FTabs->Count(); ++I) {
        TbsRibbonPage* P = FTabs->Items(I)->Page();
        if (!P) continue;
        P->Ribbon = this;
        if (I != FTabIndex) P->SetVisible(false);
    }
    if (FAppMenu) FAppMenu->Ribbon = this;
}

void TbsRibbon::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FAppButtonPopupMenu) {
        FAppButtonPopupMenu = nullptr;
        if (FAppButton) FAppButton->SetSkinPopupMenu(nullptr);
    }
    if (AComponent == FAppButtonImageList) {
        FAppButtonImageList = nullptr;
        if (FAppButton) FAppButton->SetImageList(nullptr);
    }
    if (AComponent == FButtonsImageList) FButtonsImageList = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FAppMenu) {
        if (FInAppHook) UnhookAppMessages();
        FAppMenu = nullptr;
    }
    if (AComponent == FAppButton) FAppButton = nullptr;
    // a freed page leaves its tab without a page
    if (FTabs)
        for (int I = 0; I < FTabs->Count(); ++I)
            if (FTabs->Items(I)->FPage == AComponent) FTabs->Items(I)->FPage = nullptr;
}

// ---- properties ---------------------------------------------------------------------------

void TbsRibbon::SetTabs(TbsRibbonTabs* Value)
{
    FTabs->Assign(Value);
    Invalidate();
}

void TbsRibbon::SetButtons(TbsRibbonButtonItems* Value)
{
    FButtons->Assign(Value);
    Invalidate();
}

int TbsRibbon::AppButtonSpacing() const { return FAppButton ? FAppButton->Spacing() : 0; }
void TbsRibbon::SetAppButtonSpacing(int Value)
{
    if (FAppButton) FAppButton->SetSpacing(Value);
}
int TbsRibbon::AppButtonMargin() const { return FAppButton ? FAppButton->Margin() : 0; }
void TbsRibbon::SetAppButtonMargin(int Value)
{
    if (FAppButton) FAppButton->SetMargin(Value);
}
String TbsRibbon::AppButtonCaption() const { return FAppButton ? FAppButton->Caption() : String(); }
void TbsRibbon::SetAppButtonCaption(const String& Value)
{
    if (FAppButton) FAppButton->SetCaption(Value);
}

void TbsRibbon::SetAppButtonWidth(int Value)
{
    if (Value == FAppButtonWidth || Value <= 35) return;
    FAppButtonWidth = Value;
    if (FAppButton) FAppButton->SetWidth(Value);
    FLeftOffset = Value + 3;
    Invalidate();
}

void TbsRibbon::SetAppButtonImageList(TCustomImageList* Value)
{
    FAppButtonImageList = Value;
    if (Value) Value->FreeNotification(this);
    if (FAppButton) FAppButton->SetImageList(Value);
    Invalidate();
}

void TbsRibbon::SetAppButtonImageIndex(int Value)
{
    FAppButtonImageIndex = std::max(Value, 0);
    if (FAppButton) {
        FAppButton->SetImageIndex(FAppButtonImageIndex);
        FAppButton->Invalidate();
    }
}

void TbsRibbon::SetAppButtonPopupMenu(TbsSkinPopupMenu* Value)
{
    FAppButtonPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
    if (FAppButton) FAppButton->SetSkinPopupMenu(Value);
}

void TbsRibbon::SetButtonsImageList(TCustomImageList* Value)
{
    FButtonsImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsRibbon::SetSkinHint(TbsSkinHint* Value)
{
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsRibbon::SetTabBoldStyle(bool Value)
{
    if (FTabBoldStyle == Value) return;
    FTabBoldStyle = Value;
    Invalidate();
}

// ---- skin ---------------------------------------------------------------------------------

void TbsRibbon::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    FData = nullptr;
    FDataPicture = nullptr;
    if (FIndex == -1) return;
    FData = dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!FData) {
        FIndex = -1;
        return;
    }
    // a picture index outside the skin's pictures means no picture
    const int P = FData->PictureIndex;
    if (P >= 0 && P < int(FSD->FActivePictures.size())) {
        TBitmap* B = FSD->FActivePictures[size_t(P)].get();
        if (B && !B->Empty() && B->Width() > 0 && B->Height() > 0) FDataPicture = B;
    }
}

void TbsRibbon::SetSkinData(TbsSkinData* Value)
{
    TbsSkinControl::SetSkinData(Value);
    if (FAppButton) FAppButton->SetSkinData(Value);
}

void TbsRibbon::ChangeSkinData()
{
    TbsSkinControl::ChangeSkinData();
    if (TbsRibbonPage* P = ActivePage()) {
        P->SetBounds(P->Left(), P->Top(), P->Width(), P->Height());
        if (FAppButton) FAppButton->SetBounds(0, 1, FAppButton->Width(), FAppButton->Height());
    }
    if (AppMenuVisible()) PlaceAppMenu();
}

// ---- geometry -----------------------------------------------------------------------------

int TbsRibbon::GetTabsHeight()
{
    if (FIndex != -1 && FData) return HeightOfRect(FData->TabRect) + 1;
    return 24;
}

void TbsRibbon::GetPageBounds(int& L, int& T, int& W, int& H)
{
    GetSkinData();
    const int TH = GetTabsHeight();
    if (FIndex != -1 && FData) {
        L = FData->ClRect.Left;
        T = TH + FData->ClRect.Top;
        W = Width() - (WidthOfRect(FData->SkinRect) - WidthOfRect(FData->ClRect));
        H = Height() - (HeightOfRect(FData->SkinRect) - HeightOfRect(FData->ClRect)) - TH;
    } else {
        L = 1;
        T = TH + 2;
        W = Width() - 2;
        H = Height() - TH - 5;
    }
}

TRect TbsRibbon::GetPageRect()
{
    int L, T, W, H;
    GetPageBounds(L, T, W, H);
    return TRect(L, T, L + W, T + H);
}

void TbsRibbon::GetMDIButtonSize(int& W, int& H)
{
    if (FIndex != -1 && FData && !IsEmptyRect(FData->MDICloseRect)) {
        W = WidthOfRect(FData->MDICloseRect);
        H = HeightOfRect(FData->MDICloseRect);
    } else {
        W = 22;
        H = 22;
    }
}

void TbsRibbon::CalcLayout(TCanvas* C)
{
    const int TH = GetTabsHeight();
    // caption buttons, right to left
    if (FButtons->Count() > 0 && FButtonsImageList) {
        const int Step = FButtonsImageList->Width() + 6;
        const int BH = TH - 2;
        int X = Width() - 2;
        for (int I = FButtons->Count() - 1; I >= 0; --I) {
            TbsRibbonButtonItem* B = FButtons->Items(I);
            if (!B->Visible()) continue;
            B->ItemRect = TRect(X - Step, 1, X, BH + 1);
            X -= Step;
        }
        FRightOffset = Width() - X + 2;
    } else {
        FRightOffset = 5;
    }
    // MDI buttons: close rightmost
    if (FMDIButtons->Count() > 0) {
        int W, H;
        GetMDIButtonSize(W, H);
        int X = Width() - FRightOffset;
        for (int I = 0; I < FMDIButtons->Count(); ++I) {
            FMDIButtons->Items(I)->ItemRect = TRect(X - W, 1, X, H + 1);
            X -= W;
        }
        FRightOffset = Width() - X + 2;
    }
    // tabs: a visible tab without a page takes no room
    const int Available = Width() - FLeftOffset - FRightOffset;
    int Sum = 0;
    for (int I = 0; I < FTabs->Count(); ++I) {
        TbsRibbonTab* T = FTabs->Items(I);
        if (!T->Visible() || !T->Page()) {
            T->Width = 0;
            T->ItemRect = TRect();
            continue;
        }
        T->Width = MeasureCaption(C, T->Page()->Caption()) + 30;
        Sum += T->Width;
    }
    FShowDivider = Sum > Available;
    if (FShowDivider) {
        for (int I = 0; I < FTabs->Count(); ++I) {
            TbsRibbonTab* T = FTabs->Items(I);
            if (!T->Visible() || !T->Page()) continue;
            T->Width = std::max(int(double(Available) * T->Width / Sum), 15);
        }
    }
    const int Bottom = FIndex != -1 && FData ? HeightOfRect(FData->TabRect) + 1 : 24;
    int X = FLeftOffset;
    for (int I = 0; I < FTabs->Count(); ++I) {
        TbsRibbonTab* T = FTabs->Items(I);
        if (!T->Visible() || !T->Page()) continue;
        T->ItemRect = TRect(X, 1, X + T->Width, Bottom);
        X += T->Width;
    }
}

// ---- selection ----------------------------------------------------------------------------

bool TbsRibbon::HasVisibleTabs() const
{
    for (int I = 0; I < FTabs->Count(); ++I)
        if (FTabs->Items(I)->Visible()) return true;
    return false;
}

int TbsRibbon::PageToTabIndex(TbsRibbonPage* Page) const
{
    for (int I = 0; I < FTabs->Count(); ++I)
        if (FTabs->Items(I)->Page() == Page) return I;
    return -1;
}

void TbsRibbon::SetTabIndex(int Value)
{
    if ((FTabs->Count() == 0 || !HasVisibleTabs()) && !FStopCheckTabIndex) {
        FTabIndex = -1;
        Invalidate();
        return;
    }
    if (Value < 0 || Value >= FTabs->Count()) return;
    TbsRibbonTab* Tab = FTabs->Items(Value);
    if (!Tab->Visible()) Tab->FVisible = true;
    if (Value != FTabIndex) {
        if (OnChangingPage) OnChangingPage(this);
        const int Old = FTabIndex;
        FTabIndex = Value;
        if (TbsRibbonPage* P = Tab->Page()) {
            P->SetParent(this);
            P->Show();
            P->BringToFront();
        }
        if (Old >= 0 && Old < FTabs->Count())
            if (TbsRibbonPage* P = FTabs->Items(Old)->Page())
                if (P != Tab->Page()) P->Hide();
        if (OnChangePage) OnChangePage(this);
    } else if (TbsRibbonPage* P = Tab->Page()) {
        if (!P->Visible()) P->Show();
    }
    Invalidate();
}

TbsRibbonPage* TbsRibbon::ActivePage() const
{
    if (FTabIndex < 0 || FTabIndex >= FTabs->Count()) return nullptr;
    return FTabs->Items(FTabIndex)->Page();
}

void TbsRibbon::SetActivePage(TbsRibbonPage* Value)
{
    if (!Value || !HasVisibleTabs()) return;
    const int I = PageToTabIndex(Value);
    if (I >= 0 && !FTabs->Items(I)->Visible()) FTabs->Items(I)->FVisible = true;
    SetTabIndex(I);
}

void TbsRibbon::SelectFirstTab()
{
    for (int I = 0; I < FTabs->Count(); ++I)
        if (FTabs->Items(I)->Visible()) {
            SetTabIndex(I);
            return;
        }
}

void TbsRibbon::SelectLastTab()
{
    for (int I = FTabs->Count() - 1; I >= 0; --I)
        if (FTabs->Items(I)->Visible()) {
            SetTabIndex(I);
            return;
        }
}

void TbsRibbon::SelectNextTab()
{
    if (FTabIndex == -1 || FTabIndex >= FTabs->Count() - 1) return;
    for (int I = FTabIndex + 1; I < FTabs->Count(); ++I)
        if (FTabs->Items(I)->Visible()) {
            SetTabIndex(I);
            return;
        }
}

void TbsRibbon::SelectPriorTab(bool FocusAppButton)
{
    if (FTabIndex == 0 && FocusAppButton && FAppButton) {
        if (FAppButton->CanFocus()) FAppButton->SetFocus();
    }
    if (FTabIndex <= 0) return;
    for (int I = std::min(FTabIndex, FTabs->Count()) - 1; I >= 0; --I)
        if (FTabs->Items(I)->Visible()) {
            SetTabIndex(I);
            return;
        }
}

int TbsRibbon::TabAtPoint(TPoint P)
{
    for (int I = 0; I < FTabs->Count(); ++I) {
        TbsRibbonTab* T = FTabs->Items(I);
        if (T->Visible() && T->Page() && Holds(T->ItemRect, P.X, P.Y)) return I;
    }
    return -1;
}

// ---- keyboard and wheel -------------------------------------------------------------------

void TbsRibbon::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_NEXT: SelectLastTab(); break;
    case VK_PRIOR: SelectFirstTab(); break;
    case VK_LEFT:
    case VK_UP: SelectPriorTab(true); break;
    case VK_RIGHT:
    case VK_DOWN: SelectNextTab(); break;
    default: break;
    }
}

// ---- pointer ------------------------------------------------------------------------------

void TbsRibbon::TestActive(int X, int Y)
{
    if (FTabs->Count() == 0) return;
    // tabs
    FOldTabActive = FTabActive;
    FTabActive = TabAtPoint(TPoint(X, Y));
    if (FTabActive != FOldTabActive) {
        if (FOldTabActive >= 0 && FOldTabActive < FTabs->Count()) FTabs->Items(FOldTabActive)->Active = false;
        if (FTabActive >= 0) FTabs->Items(FTabActive)->Active = true;
        Invalidate();
    }
    // MDI buttons
    if (FMDIButtons->Count() > 0) {
        FMDIOldActiveButton = FMDIActiveButton;
        FMDIActiveButton = -1;
        for (int I = 0; I < FMDIButtons->Count(); ++I)
            if (Holds(FMDIButtons->Items(I)->ItemRect, X, Y)) {
                FMDIActiveButton = I;
                break;
            }
        bool Changed = FMDIActiveButton != FMDIOldActiveButton;
        for (int I = 0; I < FMDIButtons->Count(); ++I) {
            TbsRibbonButtonItem* B = FMDIButtons->Items(I);
            const bool A = I == FMDIActiveButton;
            if (B->Active != A) Changed = true;
            B->Active = A;
        }
        if (Changed) Invalidate();
    }
    // caption buttons
    if (FButtons->Count() > 0) {
        FOldActiveButton = FActiveButton;
        FActiveButton = -1;
        for (int I = 0; I < FButtons->Count(); ++I) {
            TbsRibbonButtonItem* B = FButtons->Items(I);
            if (B->Enabled() && B->Visible() && Holds(B->ItemRect, X, Y)) {
                FActiveButton = I;
                break;
            }
        }
        bool Changed = FActiveButton != FOldActiveButton;
        for (int I = 0; I < FButtons->Count(); ++I) {
            TbsRibbonButtonItem* B = FButtons->Items(I);
            const bool A = I == FActiveButton;
            if (B->Active != A) Changed = true;
            B->Active = A;
        }
        if (Changed) Invalidate();
        if (FActiveButton != FOldActiveButton && FActiveButton >= 0 && FSkinHint && FButtonsShowHint &&
            !FButtons->Items(FActiveButton)->Hint().empty())
            FSkinHint->ActivateHint2(FButtons->Items(FActiveButton)->Hint());
        if (Changed && FButtonsShowHint && FActiveButton == -1 && FSkinHint) FSkinHint->HideHint();
    }
}

void TbsRibbon::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsRibbon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    FMouseCaptureButton = -1;
    FMouseCaptureMDIButton = -1;
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FTabActive != -1) {
        if (AppMenuVisible()) HideAppMenu(nullptr);
        if (FTabActive != FTabIndex) SetTabIndex(FTabActive);
        if (!Focused() && CanFocus()) SetFocus();
    }
    if (FMDIActiveButton != -1) {
        FMouseCaptureMDIButton = FMDIActiveButton;
        for (int I = 0; I < FMDIButtons->Count(); ++I) {
            TbsRibbonButtonItem* B = FMDIButtons->Items(I);
            B->Down = I == FMDIActiveButton;
            if (I != FMDIActiveButton) B->Active = false;
        }
        Invalidate();
    }
    if (FActiveButton != -1) {
        FMouseCaptureButton = FActiveButton;
        for (int I = 0; I < FButtons->Count(); ++I) {
            TbsRibbonButtonItem* B = FButtons->Items(I);
            B->Down = I == FActiveButton;
            if (I != FActiveButton) B->Active = false;
        }
        TbsRibbonButtonItem* B = FButtons->Items(FActiveButton);
        if (B->PopupMenu()) {
            FPopupButton = FActiveButton;
            PopupButtonMenu(B->ItemRect, B->PopupMenu());
        }
        Invalidate();
    }
    if (FButtonsShowHint && FSkinHint) FSkinHint->HideHint();
}

void TbsRibbon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    // MDI buttons
    if (FMDIActiveButton != -1) {
        TbsRibbonButtonItem* B = FMDIButtons->Items(FMDIActiveButton);
        const bool WasDown = B->Down;
        for (int I = 0; I < FMDIButtons->Count(); ++I) FMDIButtons->Items(I)->Down = false;
        Invalidate();
        if (WasDown && B->OnClick) B->OnClick(this);
    } else if (FMouseCaptureMDIButton >= 0 && FMouseCaptureMDIButton < FMDIButtons->Count()) {
        FMDIButtons->Items(FMouseCaptureMDIButton)->Down = false;
        FMDIButtons->Items(FMouseCaptureMDIButton)->Active = false;
        Invalidate();
    }
    // caption buttons (the MDI click may have cleared the collections: re-check indices)
    if (FActiveButton >= 0 && FActiveButton < FButtons->Count()) {
        TbsRibbonButtonItem* B = FButtons->Items(FActiveButton);
        const bool WasDown = B->Down;
        for (int I = 0; I < FButtons->Count(); ++I)
            if (I != FPopupButton) FButtons->Items(I)->Down = false;
        Invalidate();
        if (WasDown && B->OnClick) B->OnClick(this);
    } else if (FMouseCaptureButton >= 0 && FMouseCaptureButton < FButtons->Count()) {
        FButtons->Items(FMouseCaptureButton)->Down = false;
        FButtons->Items(FMouseCaptureButton)->Active = false;
        Invalidate();
    }
    FMouseCaptureButton = -1;
    FMouseCaptureMDIButton = -1;
}

void TbsRibbon::PopupButtonMenu(const TRect& R, TbsSkinPopupMenu* Menu)
{
    const TPoint P = ClientToScreen(TPoint(R.Left, R.Top));
    const TRect S(P.X, P.Y, P.X + R.Width(), P.Y + R.Height() + 1);
    Menu->PopupFromRect2(this, S, false);
}

// ---- MDI buttons --------------------------------------------------------------------------

void TbsRibbon::MDIChildMaximize()
{
    if (FMDIButtons->Count() == 0) CreateMDIButtons();
}

void TbsRibbon::MDIChildRestore()
{
    if (!FindMaximizedChildSkinForm() && FMDIButtons->Count() > 0) ClearMDIButtons();
}

void TbsRibbon::CreateMDIButtons()
{
    FMDIButtons->Clear();
    TbsRibbonButtonItem* B = FMDIButtons->Add();
    B->Code = 1;
    B->OnClick = [this](TObject* S) { MDICloseClick(S); };
    B = FMDIButtons->Add();
    B->Code = 2;
    B->OnClick = [this](TObject* S) { MDIRestoreClick(S); };
    B = FMDIButtons->Add();
    B->Code = 3;
    B->OnClick = [this](TObject* S) { MDIMinimizeClick(S); };
    FMDIActiveButton = FMDIOldActiveButton = FMouseCaptureMDIButton = -1;
    Invalidate();
}

void TbsRibbon::ClearMDIButtons()
{
    FMDIButtons->Clear();
    FMDIActiveButton = FMDIOldActiveButton = FMouseCaptureMDIButton = -1;
    Invalidate();
}

void TbsRibbon::MDICloseClick(TObject*)
{
    if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) C->Form()->Close();
}

void TbsRibbon::MDIRestoreClick(TObject*)
{
    if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) C->SetWindowState(wsNormal);
}

void TbsRibbon::MDIMinimizeClick(TObject*)
{
    if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) C->SetWindowState(wsMinimized);
}

// ---- messages -----------------------------------------------------------------------------

void TbsRibbon::Paint()
{
    if (WMEraseReady) {
        WMEraseReady = false;
        return;
    }
    PaintRibbon(Canvas());
}

void TbsRibbon::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND: {
        if (M.WParam) {
            TCanvas C;
            C.SetHandle(HDC(M.WParam));
            PaintRibbon(&C);
            C.SetHandle(nullptr);
            WMEraseReady = true;
        }
        M.Result = 1;
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinControl::Dispatch(M);
        Invalidate();
        return;
    case SkinMenuClosed:
        if (FPopupButton >= 0 && FPopupButton < FButtons->Count()) {
            FButtons->Items(FPopupButton)->Down = false;
            FPopupButton = -1;
            Repaint();
        } else {
            FPopupButton = -1;
        }
        return;
    case WM_GETDLGCODE: M.Result = DLGC_WANTARROWS; return;
    case WM_MOUSEWHEEL: {
        TbsSkinControl::Dispatch(M);
        if (Focused()) {
            if (short(HIWORD(M.WParam)) < 0) SelectNextTab();
            else SelectPriorTab(false);
        }
        return;
    }
    case WM_SIZE:
        TbsSkinControl::Dispatch(M);
        Invalidate();
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(M);
        TestActive(-1, -1);
        return;
    default: break;
    }
    TbsSkinControl::Dispatch(M);
}
