// The form frame component: construction and destruction, links to other components,
// the property writers with effects, the small public operations, the form icon and the
// finders of a form's frame.
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/frame/bsRibbon.h"
#include "skin/frame/bsSkinMDITabsBar.h"
#include "skin/frame/bsTrayIcon.h"
#include "skin/menus/bsSkinHint.h"

#include "platform/windows/WinPaint.h"

// ---- finders -------------------------------------------------------------------------------

TbsSkinFormFrame* FindSkinFormComponent(TCustomForm* AForm)
{
    if (!AForm) return nullptr;
    for (int I = 0; I < AForm->ComponentCount(); ++I)
        if (auto* F = dynamic_cast<TbsSkinFormFrame*>(AForm->Components(I))) return F;
    return nullptr;
}


// The skinned menus of a form (and of the frame itself) are shown by the form's frame.
static TbsSkinMenuHost* ResolveFrameHost(TComponent* C)
{
    if (auto* F = dynamic_cast<TbsSkinFormFrame*>(C)) return F;
    if (auto* Form = dynamic_cast<TCustomForm*>(C)) return FindSkinFormComponent(Form);
    return nullptr;
}

// ---- construction ----------------------------------------------------------------------------

TbsSkinFormFrame::TbsSkinFormFrame(TComponent* AOwner) : TComponent(AOwner)
{
    // (again at every frame: a resolver installed meanwhile by someone else is replaced)
    bsSetSkinMenuHostResolver(ResolveFrameHost);

    FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
    FLayerManager = std::make_unique<TbsLayerManager>(nullptr);
    FBorderLayer = new TbsFormLayerBorder(this);
    FMenuLayerManager = std::make_unique<TbsLayerManager>(nullptr);
    FMenuMode.SetEffects(MenuModeEffects());
    FIsW7 = OsIsWindows7() || OsIsWindows8OrLater();
    FIsVistaOs = OsIsVistaOrLater();
    FLogoBitMap = std::make_unique<TBitmap>();
    FDefCaptionFont = std::make_unique<TFont>();
    FDefInActiveCaptionFont = std::make_unique<TFont>();
    FIsLayerEnabled = OsIsWin2000OrLater() && LayeredWindowsAvailable();
    for (TFont* F : {FDefCaptionFont.get(), FDefInActiveCaptionFont.get()}) {
        F->SetName("Tahoma");
        F->SetStyle({fsBold});
        F->SetHeight(13);
    }
    FDefCaptionFont->SetColor(clBtnText);
    FDefInActiveCaptionFont->SetColor(clBtnShadow);
    RMTop = std::make_unique<TBitmap>();
    RMLeft = std::make_unique<TBitmap>();
    RMBottom = std::make_unique<TBitmap>();
    RMRight = std::make_unique<TBitmap>();
    BlackColor = RGB(0, 0, 0);

    auto MakeTimer = [this](UINT Interval, void (TbsSkinFormFrame::*Tick)(TObject*)) {
        auto* T = new TTimer(this);
        T->SetEnabled(false);
        T->SetInterval(Interval);
        T->SetOnTimer([this, Tick](TObject* S) { (this->*Tick)(S); });
        return T;
    };
    MouseTimer = MakeTimer(50, &TbsSkinFormFrame::MouseTimerTick);
    MorphTimer = MakeTimer(25, &TbsSkinFormFrame::MorphTimerTick);
    AnimateTimer = MakeTimer(25, &TbsSkinFormFrame::AnimateTimerTick);

    FForm = dynamic_cast<TCustomForm*>(AOwner);
    if (!FForm) throw EInvalidCast("Invalid class typecast");

    FForm->SetBorderIcons({});
    FForm->OnShortCut = [this](TWMKey& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FForm->SetAutoSize(false);

    SkinMenu = new TbsSkinMenu(this, FForm);
    FSysMenu = new TPopupMenu(this);
    FUseDefaultSysMenu = true;
    FSysTrayMenu = new TbsSkinPopupMenu(this);
    FSysTrayMenu->SetComponentForm(FForm);
    BuildTrayMenu();

    FMagneticSize = 5;
    FBorderIcons = {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                    TbsBorderIcon::biRollUp};

    if (!IsDesigning()) {
        OldWindowProc = FForm->WindowProc;
        FForm->WindowProc = [this](TMessage& M) { FormWindowProc(M); };
        if (FForm->HandleAllocated()) FForm->RecreateWnd();
    }
}

TbsSkinFormFrame::~TbsSkinFormFrame()
{
    Destroying();
    if (FMenuMode.Hooked()) UnhookAppMessages();
    UnhookMDIClient();
    // the icon, the form and the application outlive the frame: take back the handlers
    // that point here
    if (FTrayIcon && FTrayDblClickSet) FTrayIcon->OnDblClick = nullptr;
    if (FForm) FForm->OnShortCut = nullptr;
    if (FAppRestoreSet && Application) Application->OnRestore = nullptr;
    FQuickButtons->SetSkinFormFrame(nullptr);
    FQuickButtons.reset();
    ClearObjects();
    delete FBorderLayer;
    FBorderLayer = nullptr;
    if (!IsDesigning() && FForm && OldWindowProc) FForm->WindowProc = OldWindowProc;
    if (FLayerManager) FLayerManager->Hide();
    if (FMenuLayerManager) FMenuLayerManager->Hide();
    // the timers, the menus and the owned items go with the components
}

void TbsSkinFormFrame::Loaded()
{
    TComponent::Loaded();
    if (FWindowStateInit != FWindowState && !IsDesigning()) SetWindowState(FWindowStateInit);
    if (IsMDIForm() && !IsDesigning()) CreateMDIScrollBars();
}

void TbsSkinFormFrame::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) {
        // the border's layer frame belongs to the skin data going away
        if (FBorderLayer) {
            FBorderLayer->Hide();
            FBorderLayer->InitFrame(nullptr, FForm);
        }
        // the frame goes on without a skin, as when the link is cleared
        if (FSD == FMSD) FMSD = nullptr;
        FSD = nullptr;
        if (!IsDesigning() && !ComponentState().Contains(csDestroying)) ChangeSkinData();
        else FSkinSupport = false;
        if (FSysTrayMenu) FSysTrayMenu->SetSkinData(nullptr);
    }
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FBorderLayer) FBorderLayer = nullptr;
    if (AComponent == FMSD) FMSD = nullptr;
    if (AComponent == FMainMenu) FMainMenu = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (AComponent == reinterpret_cast<TComponent*>(FQuickImageList)) FQuickImageList = nullptr;
    if (AComponent == FSysMenu) FSysMenu = nullptr;
    if (AComponent == FSysTrayMenu) FSysTrayMenu = nullptr;
    if (AComponent == FOpenMenuControl) FOpenMenuControl = nullptr;
    if (AComponent == FInActivePanel) FInActivePanel = nullptr;
    if (AComponent == FMainMenuBar) FMainMenuBar = nullptr;
    if (FMDITabsBar && AComponent == FMDITabsBar) FMDITabsBar = nullptr;
    if (FMDIHScrollBar && AComponent == FMDIHScrollBar) FMDIHScrollBar = nullptr;
    if (FMDIVScrollBar && AComponent == FMDIVScrollBar) FMDIVScrollBar = nullptr;
    if (AComponent == FStatusBar) FStatusBar = nullptr;
    if (AComponent == FTrayIcon) FTrayIcon = nullptr;
}

// ---- property writers ---------------------------------------------------------------------------

void TbsSkinFormFrame::SetSkinData(TbsSkinData* Value)
{
    if (FSD && FSD != FMSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !IsMDIChild()) FSkinnableForm = FSD->SkinnableForm();
    if (!IsDesigning()) ChangeSkinData();
    if (FSysTrayMenu) FSysTrayMenu->SetSkinData(Value);
}

void TbsSkinFormFrame::SetStatusBar(TbsSkinStatusBar* Value)
{
    FStatusBar = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormFrame::SetMainMenuBar(TbsSkinMainMenuBar* Value)
{
    FMainMenuBar = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormFrame::SetMenusSkinData(TbsSkinData* Value)
{
    if (FMSD && FMSD != FSD) FMSD->RemoveFreeNotification(this);
    FMSD = Value;
    if (FMSD) FMSD->FreeNotification(this);
}

void TbsSkinFormFrame::SetQuickButtons(TbsQuickButtonItems* Value) { FQuickButtons->Assign(Value); }

void TbsSkinFormFrame::SetQuickImageList(TCustomImageList* Value)
{
    FQuickImageList = Value;
    if (auto* C = dynamic_cast<TComponent*>(reinterpret_cast<TObject*>(Value))) C->FreeNotification(this);
}

void TbsSkinFormFrame::SetMaxMenuItemsInWindow(int Value)
{
    if (Value < 0) return;
    FMaxMenuItemsInWindow = Value;
    SkinMenu->MaxMenuItemsInWindow = Value;
}

void TbsSkinFormFrame::SetDefMenuItemHeight(int Value)
{
    if (Value > 0) SkinMenu->SetDefaultMenuItemHeight(Value);
}

void TbsSkinFormFrame::SetSkinHint(TbsSkinHint* Value)
{
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormFrame::SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }

void TbsSkinFormFrame::SetShowIcon(bool Value)
{
    FShowIcon = Value;
    if (!IsDesigning() && !IsLoading()) UpDateFormNC();
}

void TbsSkinFormFrame::SetDefCaptionFont(TFont* Value)
{
    FDefCaptionFont->Assign(Value);
    if (!IsDesigning() && !IsLoading() && !FSkinSupport && FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinFormFrame::SetDefInActiveCaptionFont(TFont* Value)
{
    FDefInActiveCaptionFont->Assign(Value);
    if (!IsDesigning() && !IsLoading() && !FSkinSupport && FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinFormFrame::SetSystemMenu(TPopupMenu* Value)
{
    FSystemMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormFrame::SetAlphaBlend(bool Value)
{
    if (FAlphaBlend == Value) return;
    FAlphaBlend = Value;
    if (!ComponentState().Empty() || !OsIsWin2000OrLater()) return;
    HWND H = FForm->Handle();
    LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
    if (Value) {
        if (!(Ex & WS_EX_LAYERED)) SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        SetLayeredAlpha(H, FAlphaBlendValue);
    } else if (Ex & WS_EX_LAYERED) {
        SetWindowLong(H, GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
    }
}

void TbsSkinFormFrame::SetAlphaBlendValue(uint8_t Value)
{
    if (FAlphaBlendValue == Value) return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend && ComponentState().Empty() && OsIsWin2000OrLater()) SetLayeredAlpha(FForm->Handle(), Value);
}

void TbsSkinFormFrame::SetBorderIcons(TbsBorderIcons Value)
{
    FBorderIcons = Value;
    if (IsDesigning() || IsLoading()) return;
    UpdateCaptionButtons();
    UpDateFormNC();
}

void TbsSkinFormFrame::SetWindowState(TWindowState Value)
{
    FWindowStateInit = Value;
    if (IsDesigning() || IsLoading()) return;
    ChangeWindowState(Value);
    FWindowStateInit = FWindowState;
}

void TbsSkinFormFrame::SetUseRibbon(bool Value)
{
    FUseRibbon = Value;
    if (!IsDesigning() && Value) SetSkinnableForm(false);
}

// ---- queries ------------------------------------------------------------------------------------

bool TbsSkinFormFrame::IsMDIChild() const { return FForm && FForm->FormStyle() == fsMDIChild; }
bool TbsSkinFormFrame::IsMDIForm() const { return FForm && FForm->FormStyle() == fsMDIForm; }
bool TbsSkinFormFrame::IsMainForm() const { return Application && Application->MainForm() == FForm; }

bool TbsSkinFormFrame::HasFrame() const
{
    return FForm->BorderStyle() != bsNone && !(IsMDIChild() && FWindowStateInit == wsMaximized);
}

bool TbsSkinFormFrame::GetFormActive()
{
    if (FPreviewMode) return true;
    if (IsMDIChild() || IsMDIForm()) return FFormActive;
    return FForm->Active();
}

bool TbsSkinFormFrame::ShownOrTrayRestoring() const { return FForm->Visible() || FForm->Tag() == TrayRestoreTag; }

bool TbsSkinFormFrame::UseLayeredBorder()
{
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame && FSD->LayerFrame->PictureIndex != -1 &&
           FIsLayerEnabled && FSkinnableForm && !AlwaysDisableLayeredFrames && !FPreviewMode &&
           FForm->BorderStyle() != bsNone && !IsMDIChild() && !FSmartEffectsShow;
}

bool TbsSkinFormFrame::FullLayeredInUse()
{
    return UseLayeredBorder() && FBorderLayer->FData && FBorderLayer->FData->FullBorder;
}

bool TbsSkinFormFrame::FullLayeredShown() const
{
    return FBorderLayer && FBorderLayer->FVisible && FBorderLayer->FData && FBorderLayer->FData->FullBorder;
}

bool TbsSkinFormFrame::UseLayeredShowTimer()
{
    return OsIsVistaOrLater() && UseLayeredBorder() && !FAlphaBlend && !FAlphaBlendAnimation &&
           (!FSD || !FSD->AnimationForAllWindows());
}

// Move and SetBounds take the outer rectangle as the user sees it: a layered border
// with resize zones or the whole frame lies around the form's own window.
void TbsSkinFormFrame::Move(int AX, int AY)
{
    TbsFormLayerBorder* B = FBorderLayer;
    if (UseLayeredBorder() && B->FVisible && B->FData && (!IsEmptyRect(B->FData->BorderRect) || B->FData->FullBorder)) {
        AX += B->LeftSize;
        AY += B->TopSize;
    }
    FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TbsSkinFormFrame::SetBounds(int AX, int AY, int AWidth, int AHeight)
{
    TbsFormLayerBorder* B = FBorderLayer;
    if (UseLayeredBorder() && B->FVisible && B->FData && (!IsEmptyRect(B->FData->BorderRect) || B->FData->FullBorder)) {
        AX += B->LeftSize;
        AY += B->TopSize;
        AWidth -= B->LeftSize + B->RightSize;
        AHeight -= B->TopSize + B->BottomSize;
    }
    FForm->SetBounds(AX, AY, AWidth, AHeight);
}

// FOldFormBounds holds left, top, width and height.
void TbsSkinFormFrame::SaveOldBounds()
{
    TbsFormLayerBorder* B = FBorderLayer;
    if (FullLayeredShown()) {
        FOldFormBounds = TRect(FForm->Left() - B->LeftSize, FForm->Top() - B->TopSize,
                               FForm->Width() + B->LeftSize + B->RightSize, FForm->Height() + B->TopSize + B->BottomSize);
        FOldFullBorder = 1;
    } else {
        FOldFormBounds = TRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
        FOldFullBorder = 0;
    }
}

void TbsSkinFormFrame::RestoreOldBounds()
{
    TbsFormLayerBorder* B = FBorderLayer;
    const TRect& O = FOldFormBounds;
    if (UseLayeredBorder() && FullLayeredShown() && FOldFullBorder != -1) {
        FForm->SetBounds(O.Left + B->LeftSize, O.Top + B->TopSize, O.Right - B->LeftSize - B->RightSize,
                         O.Bottom - B->TopSize - B->BottomSize);
        return;
    }
    if (FOldFullBorder != 1) return;
    int H = FRollUpState ? GetMinHeight() : O.Bottom;
    FForm->SetBounds(O.Left, O.Top, O.Right, H);
}

void TbsSkinFormFrame::ForegroundStayOnTopForms()
{
    if (!Screen) return;
    for (int I = 0; I < Screen->FormCount(); ++I) {
        TCustomForm* F = Screen->Forms(I);
        // the border windows of layered borders never take the foreground
        if (F->Visible() && F->FormStyle() == fsStayOnTop && !dynamic_cast<TbsFormLayerWindow*>(F))
            SetForegroundWindow(F->Handle());
    }
}

void TbsSkinFormFrame::CheckAppLayeredBorders()
{
    // only a form drawn through the layered border has other forms to bring back with it
    if (!IsMainForm() || !FSD || !FSD->ShowLayeredBorders() || !UseLayeredBorder() || !Screen) return;
    std::vector<TCustomForm*> Others;
    for (int I = 0; I < Screen->FormCount(); ++I) {
        TCustomForm* F = Screen->Forms(I);
        if (F != FForm && F->Visible() && !dynamic_cast<TbsFormLayerWindow*>(F) && F->FormStyle() != fsStayOnTop &&
            F->FormStyle() != fsMDIChild)
            Others.push_back(F);
    }
    if (Others.empty()) return;
    for (TCustomForm* F : Others) F->Show();
    if (FForm->Visible()) FForm->Show();
}

void TbsSkinFormFrame::AppRestore(TObject*) { CheckAppLayeredBorders(); }

// ---- caption objects by name -----------------------------------------------------------------

int TbsSkinFormFrame::GetIndex(const String& AIDName) const
{
    for (size_t I = 0; I < ObjectList.size(); ++I)
        if (ObjectList[I]->IDName() == AIDName) return int(I);
    return -1;
}

void TbsSkinFormFrame::SetEnabled(const String& AIDName, bool Value)
{
    int I = GetIndex(AIDName);
    if (I != -1) ObjectList[size_t(I)]->SetEnabled(Value);
}

void TbsSkinFormFrame::UserObjectDraw(const String& AIDName)
{
    int I = GetIndex(AIDName);
    if (I == -1) return;
    auto* U = dynamic_cast<TbsUserObject*>(ObjectList[size_t(I)].get());
    if (!U || !FForm->HandleAllocated()) return;
    HDC DC = GetWindowDC(FForm->Handle());
    TCanvas C;
    C.SetHandle(DC);
    U->Draw(&C, true);
    C.SetHandle(nullptr);
    ReleaseDC(FForm->Handle(), DC);
}

void TbsSkinFormFrame::LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp)
{
    int I = GetIndex(AIDName);
    if (I == -1) return;
    TbsActiveSkinObject* O = ObjectList[size_t(I)].get();
    if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O)) {
        B->SetMenuItem(AMenu ? AMenu->Items() : nullptr, APopupUp);
    } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) {
        if (A->ButtonStyle) A->SetMenuItem(AMenu ? AMenu->Items() : nullptr, APopupUp);
    }
}

void TbsSkinFormFrame::EnableShadow(bool AShowShadow, bool AHideFormBefore)
{
    if (!OsIsWin2000OrLater() || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    bool WasVisible = FForm->Visible();
    if (AHideFormBefore) FForm->Hide();
    constexpr LONG CS_DROPSHADOW = 0x20000;
    if (FForm->HandleAllocated()) {
        LONG S = GetClassLong(FForm->Handle(), GCL_STYLE);
        SetClassLong(FForm->Handle(), GCL_STYLE, AShowShadow ? S | CS_DROPSHADOW : S & ~CS_DROPSHADOW);
    }
    if (AHideFormBefore && WasVisible) FForm->Show();
}

void TbsSkinFormFrame::SetFormBorderStyle(TFormBorderStyle BS)
{
    FForm->SetBorderStyle(BS);
    ChangeControls(nullptr, FForm);
}

void TbsSkinFormFrame::SetFormStyle(TFormStyle FS)
{
    if (FS != fsNormal && FS != fsStayOnTop) return;
    FForm->SetFormStyle(FS);
    ChangeControls(nullptr, FForm);
}

// ---- the form icon ----------------------------------------------------------------------------

void TbsSkinFormFrame::GetIconSize(int& W, int& H)
{
    W = GetSystemMetrics(SM_CXSMICON);
    H = GetSystemMetrics(SM_CYSMICON);
    if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
    if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TbsSkinFormFrame::PrepareIcon()
{
    if (FIcon) return;
    HICON Source = nullptr;
    if (auto* I = dynamic_cast<TIcon*>(FForm->Icon()); I && !I->Empty()) Source = I->Handle();
    else if (auto* A = Application ? dynamic_cast<TIcon*>(Application->Icon()) : nullptr; A && !A->Empty())
        Source = A->Handle();
    FIcon = std::make_unique<TIcon>();
    FIcon->SetHandle(Source ? CopyIcon(Source) : LoadIcon(0, IDI_APPLICATION));
}

void TbsSkinFormFrame::DrawFormIcon(TCanvas* Canvas, int X, int Y)
{
    PrepareIcon();
    int W, H;
    GetIconSize(W, H);
    if (FIcon && FIcon->Handle()) DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), W, H, 0, nullptr, DI_NORMAL);
}

bool TbsSkinFormFrame::CheckIconAlpha()
{
    int W, H;
    GetIconSize(W, H);
    if (W == 0 || H == 0) return false;
    TbsBitmap B;
    B.SetSize(W, H);
    B.SetAlpha(0);
    PrepareIcon();
    if (FIcon && FIcon->Handle()) DrawIconEx(B.DC(), 0, 0, FIcon->Handle(), W, H, 0, nullptr, DI_NORMAL);
    for (int X = 0; X < W; ++X)
        for (int Y = 0; Y < H; ++Y)
            if ((*B.PixelAddress(X, Y) >> 24) != 0) return true;
    return false;
}

// ---- menus on request -------------------------------------------------------------------------

void TbsSkinFormFrame::DoPopupMenu(TPopupMenu* Menu, int X, int Y)
{
    if (!Menu) return;
    if (Menu->OnPopup) Menu->OnPopup(this);
    SkinMenuClose();
    SkinMenuOpen();
    OpenMenu(Menu->Items(), nullptr, TRect(X, Y, X, Y), false);
}
