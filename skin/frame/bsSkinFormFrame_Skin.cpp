// Applying a skin to the form frame: the caption objects built from the skin, the state
// and hints of the caption buttons, the caption's active state, the size limits, the
// switch between a skinnable and a platform-drawn frame, and the walks that make every
// control of the form re-read its skin record.
#include "skin/frame/bsSkinFormFrame.h"

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"

// ---- caption objects ----------------------------------------------------------------------

void TbsSkinFormFrame::ClearObjects()
{
    ObjectList.clear();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinFormFrame::CreateSkinObjects()
{
    ClearObjects();
    if (!FSD) return;
    for (auto& R : FSD->ObjectList) {
        TbsDataSkinObject* D = R.get();
        if (dynamic_cast<TbsDataSkinMainMenuItem*>(D) || dynamic_cast<TbsDataSkinMenuItem*>(D) ||
            dynamic_cast<TbsDataSkinMainMenuBarButton*>(D))
            continue;
        std::unique_ptr<TbsActiveSkinObject> O;
        if (dynamic_cast<TbsDataSkinStdButton*>(D)) O = std::make_unique<TbsSkinStdButtonObject>(this, D);
        else if (dynamic_cast<TbsDataSkinButton*>(D)) O = std::make_unique<TbsSkinButtonObject>(this, D);
        else if (dynamic_cast<TbsDataSkinCaption*>(D)) O = std::make_unique<TbsSkinCaptionObject>(this, D);
        else if (dynamic_cast<TbsDataSkinAnimate*>(D)) O = std::make_unique<TbsSkinAnimateObject>(this, D);
        else if (dynamic_cast<TbsDataUserObject*>(D)) O = std::make_unique<TbsUserObject>(this, D);
        if (O) ObjectList.push_back(std::move(O));
    }
}

void TbsSkinFormFrame::CreateDefaultObjects()
{
    ClearObjects();
    static const struct {
        const char* Name;
        TbsStdCommand Command;
    } Defaults[] = {{"closebutton", cmClose},   {"maxbutton", cmMaximize},      {"minbutton", cmMinimize},
                    {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
    for (const auto& D : Defaults) {
        auto B = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
        B->SetDefaultLook(D.Name, D.Command);
        ObjectList.push_back(std::move(B));
    }
    UpdateCaptionButtons();
}

// ---- caption buttons ---------------------------------------------------------------------------

static bool CommandIcon(TbsStdCommand C, TbsBorderIcon& Icon)
{
    switch (C) {
    case cmMaximize: Icon = TbsBorderIcon::biMaximize; return true;
    case cmMinimize: Icon = TbsBorderIcon::biMinimize; return true;
    case cmRollUp: Icon = TbsBorderIcon::biRollUp; return true;
    case cmMinimizeToTray: Icon = TbsBorderIcon::biMinimizeToTray; return true;
    case cmSysMenu: Icon = TbsBorderIcon::biSystemMenu; return true;
    default: return false;
    }
}

void TbsSkinFormFrame::UpdateCaptionButtons()
{
    if (ObjectList.empty()) return;
    if (FHideCaptionButtons) {
        for (auto& O : ObjectList)
            if (dynamic_cast<TbsSkinAnimateObject*>(O.get()) || dynamic_cast<TbsSkinStdButtonObject*>(O.get())) {
                O->SetEnabled(false);
                O->SetVisible(!O->SkinRectInAPicture());
            }
        UpdateObjectHints();
        return;
    }
    bool DialogIcons = FBorderIcons.Empty() || FBorderIcons == TbsBorderIcons{TbsBorderIcon::biSystemMenu};
    bool HasDialogClose = false;
    for (auto& O : ObjectList)
        if (O->IDName() == "dialogclosebutton") HasDialogClose = true;

    auto ByIcon = [this](TbsActiveSkinObject* O, TbsStdCommand C) {
        TbsBorderIcon Icon;
        if (C == cmDefault) {
            bool ObjectVisible = false;
            if (OnActivateCustomObject) OnActivateCustomObject(O->IDName(), ObjectVisible);
            O->SetVisible(ObjectVisible);
            return;
        }
        if (!CommandIcon(C, Icon)) return;
        O->SetEnabled(FBorderIcons.Contains(Icon));
        if (C == cmSysMenu && FDisableSystemMenu) O->SetEnabled(false);
        O->SetVisible(O->SkinRectInAPicture() ? O->Enabled() : true);
    };
    for (auto& O : ObjectList) {
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
            if (A->ButtonStyle) ByIcon(A, A->Command());
        } else if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get())) {
            if (S->Command() != cmClose) {
                ByIcon(S, S->Command());
            } else if (DialogIcons && HasDialogClose) {
                bool Dialog = S->IDName() == "dialogclosebutton";
                S->SetEnabled(Dialog);
                S->SetVisible(Dialog);
            } else if (S->IDName() == "dialogclosebutton") {
                S->SetEnabled(false);
                S->SetVisible(false);
            }
        }
    }
    UpdateObjectHints();
}

String TbsSkinFormFrame::ResString(const String& Key, const String& BuiltIn)
{
    if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->GetResStr(Key);
    return BuiltIn;
}

void TbsSkinFormFrame::UpdateObjectHints()
{
    if (!FUseDefaultObjectHint || !FSD) return;
    auto HintOf = [this](TbsStdCommand C, String& H) {
        switch (C) {
        case cmClose: H = ResString("CLOSEBUTTON_HINT", "Close"); break;
        case cmMaximize: H = ResString("MAXBUTTON_HINT", "Maximize"); break;
        case cmMinimize: H = ResString("MINBUTTON_HINT", "Minimize"); break;
        case cmSysMenu: H = ResString("MENUBUTTON_HINT", "System menu"); break;
        case cmRollUp: H = ResString("ROLLUPBUTTON_HINT", "Roll Up"); break;
        case cmMinimizeToTray: H = ResString("TRAYBUTTON_HINT", "Minimize to Tray"); break;
        case cmDefault: break;
        }
    };
    String Restore = ResString("RESTORE_HINT", "Restore");
    for (auto& O : ObjectList) {
        if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get())) {
            String H = S->Hint();
            HintOf(S->Command(), H);
            S->SetCommandHints(H, Restore);
        } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get())) {
            String H = A->Hint();
            HintOf(A->Command(), H);
            A->SetCommandHints(H, Restore);
        }
    }
}

void TbsSkinFormFrame::ApplyFormBorderIcons()
{
    TBorderIcons Icons;
    if (!FHideCaptionButtons && !FSkinnableForm) Icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize)) Icons.Include(biMinimize);
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize)) Icons.Include(biMaximize);
    if (!(FForm->BorderIcons() == Icons)) FForm->SetBorderIcons(Icons);
}

void TbsSkinFormFrame::UpdateCaptionActive(bool Animate)
{
    bool A = GetFormActive();
    if (!A)
        for (int I = 0; I < FQuickButtons->Count(); ++I) {
            FQuickButtons->Items(I)->SetDown(false);
            FQuickButtons->Items(I)->SetActive(false);
        }
    for (auto& O : ObjectList) {
        auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
        if (!C || C->Active() == A) continue;
        C->SetActive(A);
        if (Animate) {
            if (C->EnableAnimation()) {
                C->RestartAnimation();
                AnimateTimer->SetEnabled(true);
            }
            if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
            if (C->EnableMorphing()) MorphTimer->SetEnabled(true);
        } else if (C->EnableMorphing()) {
            C->SetMorphKf(A ? 1.0 : 0.0);
        }
        break;
    }
    if (A) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

// ---- size limits ---------------------------------------------------------------------------------

static int PictureWidth(TbsSkinData* SD) { return SD && SD->FPicture ? SD->FPicture->Width() : 0; }
static int PictureHeight(TbsSkinData* SD) { return SD && SD->FPicture ? SD->FPicture->Height() : 0; }

int TbsSkinFormFrame::GetMinWidth()
{
    if (!FSkinSupport) return FMinWidth > 0 ? FMinWidth : 120;
    bool Minimized = FWindowState == wsMinimized;
    if (PictureWidth(FSD) < FMinWidth && !Minimized) return FMinWidth;
    if (FSD->FormMinWidth > 0) return FSD->FormMinWidth >= FMinWidth || Minimized ? FSD->FormMinWidth : FMinWidth;
    return PictureWidth(FSD);
}

int TbsSkinFormFrame::GetMinHeight()
{
    bool Small = FRollUpState || FWindowState == wsMinimized;
    if (!FSkinSupport) {
        int H = GetDefCaptionHeight() + 6;
        return H >= FMinHeight || Small ? H : FMinHeight;
    }
    int FrameHeight = PictureHeight(FSD) - HeightOfRect(FSD->ClRect);
    if (UseLayeredBorder() && FSD->LayerFrame && FSD->LayerFrame->FullBorder)
        return FrameHeight >= FMinHeight || Small ? 10 : FMinHeight;
    if (FSD->FormMinHeight != 0) return FSD->FormMinHeight >= FMinHeight || Small ? FSD->FormMinHeight : FMinHeight;
    return FrameHeight >= FMinHeight || Small ? FrameHeight : FMinHeight;
}

int TbsSkinFormFrame::GetMaxWidth()
{
    if (FMaxWidth != 0) return FMaxWidth;
    TRect R(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, R);
    return R.Width();
}

int TbsSkinFormFrame::GetMaxHeight()
{
    if (FMaxHeight != 0) return FMaxHeight;
    TRect R(0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, R);
    return R.Height();
}

void TbsSkinFormFrame::NudgeWidth()
{
    int W = FForm->Width();
    if (W - 1 < GetMinWidth()) {
        FForm->SetWidth(W + 1);
        FForm->SetWidth(W);
    } else {
        FForm->SetWidth(W - 1);
        FForm->SetWidth(W);
    }
}

// ---- skin application ------------------------------------------------------------------------

void TbsSkinFormFrame::ChangeSkinData()
{
    if (FUseRibbon) FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = FSD && !FSD->Empty;
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    if (FBorderLayer->FVisible) FBorderLayer->Hide();
    if (FSkinSupport && FSkinnableForm) {
        CreateSkinObjects();
        UpdateCaptionButtons();
        if (!FPreviewMode) FBorderLayer->InitFrame(FSD, FForm);
    } else {
        // the border keeps no layer frame of a skin that is not in force
        FBorderLayer->InitFrame(nullptr, FForm);
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        UpdateFormRegion(true);
    }
    if (FSkinnableForm) {
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons({});
    } else {
        ApplyFormBorderIcons();
    }
    FInChangeSkinData = true;
    int MinW = GetMinWidth(), MinH = GetMinHeight();
    if (FForm->Width() < MinW && FForm->Height() < MinH) FForm->SetBounds(FForm->Left(), FForm->Top(), MinW, MinH);
    else if (FForm->Height() < MinH) FForm->SetHeight(MinH);
    else if (FForm->Width() < MinW) FForm->SetWidth(MinW);
    else if (FForm->HandleAllocated()) NudgeWidth();
    if (FRollUpState || FWindowState == wsMinimized) {
        if (FForm->Height() != GetMinHeight()) FForm->SetHeight(GetMinHeight());
        if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
    }
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (IsMDIForm()) {
        if (FMDIVScrollBar) FMDIVScrollBar->SetSkinData(FSD);
        if (FMDIHScrollBar) FMDIHScrollBar->SetSkinData(FSD);
    }
    if (FSkinSupport) UpdateSkinFrame(true);
    if (IsMDIForm()) {
        // the client window's background follows the skin; maximized children refit
        if (FForm->ClientHandle()) RedrawWindow(FForm->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
        NotifyChildrenFitClient();
    } else if (FForm->HandleAllocated()) {
        FForm->Invalidate();
    }
    UpdateCaptionActive(!(IsMDIChild() && FWindowStateInit == wsMaximized));
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
    if (UseLayeredBorder() && FForm->Visible()) {
        FBorderLayer->ShowWithForm();
        FForm->Show();
        FBorderLayer->SetBoundsWithForm();
    }
    RestoreOldBounds();
    if (!FRollUpState) {
        if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
}

void TbsSkinFormFrame::SetSkinnableForm(bool Value)
{
    if (FUseRibbon) Value = false;
    FFormActive = GetFormActive();
    // an MDI main form keeps its frame mode while it holds children
    if (IsDesigning() || (IsMDIForm() && FForm->MDIChildCount() > 0)) return;
    bool RestoreMax = false;
    if (FWindowStateInit == wsMaximized && FSkinnableForm) {
        FForm->Hide();
        SetWindowState(wsNormal);
        RestoreMax = true;
    } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(wsNormal);
        FForm->Hide();
        RestoreMax = true;
    }
    FSkinnableForm = Value;
    ChangeSkinData();
    ChangeControls(nullptr, FForm);
    FForm->WindowProc = [this](TMessage& M) { FormWindowProc(M); };
    // the client area changes with the frame's mode
    if (FForm->HandleAllocated())
        SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // the MDI client window gets the frame's procedure anew
    if (IsMDIForm() && FHookedClient) {
        UnhookMDIClient();
        HookMDIClient();
    }
    if (RestoreMax) {
        if (!FSkinnableForm) FForm->SetWindowState(wsMaximized);
        else SetWindowState(wsMaximized);
        FForm->Show();
    }
}

// ---- the control walks -----------------------------------------------------------------------

void TbsSkinFormFrame::BeforeChangeControlSkinData(TbsSkinData* ASkinData, TControl* C)
{
    if (auto* S = dynamic_cast<TbsSkinControl*>(C); S && (!ASkinData || S->SkinData() == ASkinData))
        S->BeforeChangeSkinData();
}

// When C is a T, re-reads its skin if it links to ASkinData (any link for none); true when
// C is a T, so that the first class that fits decides.
template <class T>
static bool ChangeAs(TControl* C, TbsSkinData* ASkinData)
{
    auto* X = dynamic_cast<T*>(C);
    if (!X) return false;
    if (!ASkinData || X->SkinData() == ASkinData) X->ChangeSkinData();
    return true;
}

void TbsSkinFormFrame::ChangeControlSkinData(TbsSkinData* ASkinData, TControl* C)
{
    // the windowed skinned controls (the input boxes and the menu bar among them) and the
    // windowless ones, then those over the platform's own controls: edits, labels, views,
    // bevels and splitters
    ChangeAs<TbsSkinControl>(C, ASkinData) || ChangeAs<TbsGraphicSkinControl>(C, ASkinData) ||
        ChangeAs<TbsSkinCustomEdit>(C, ASkinData) || ChangeAs<TbsSkinStdLabel>(C, ASkinData) ||
        ChangeAs<TbsSkinLinkLabel>(C, ASkinData) || ChangeAs<TbsSkinTextLabel>(C, ASkinData) ||
        ChangeAs<TbsSkinCustomTreeView>(C, ASkinData) || ChangeAs<TbsSkinBevel>(C, ASkinData) ||
        ChangeAs<TbsSkinCustomListView>(C, ASkinData) || ChangeAs<TbsSkinSplitter>(C, ASkinData) ||
        ChangeAs<TbsSkinPageControl>(C, ASkinData);
}

// Handles AControl, then each of its controls in index order, windowed ones with their
// own controls inside.
static void WalkControls(TControl* AControl, const std::function<void(TControl*)>& Handle)
{
    if (!AControl) return;
    Handle(AControl);
    if (auto* W = dynamic_cast<TWinControl*>(AControl))
        for (int I = 0; I < W->ControlCount(); ++I) WalkControls(W->Controls(I), Handle);
}

void TbsSkinFormFrame::BeforeChangeControls(TbsSkinData* ASkinData, TControl* AControl)
{
    WalkControls(AControl, [&](TControl* C) { BeforeChangeControlSkinData(ASkinData, C); });
}

void TbsSkinFormFrame::ChangeControls(TbsSkinData* ASkinData, TControl* AControl)
{
    WalkControls(AControl, [&](TControl* C) { ChangeControlSkinData(ASkinData, C); });
}
