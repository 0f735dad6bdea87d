// The MDI main form's client window as the frame sees it: its procedure (background from
// the skin, no frame of its own, the children fitted after a size change), the two
// skinned scroll bars shown while children reach past it, and the links to the tabs bar.
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/frame/bsSkinMDITabsBar.h"

namespace {

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

TbsSkinFormFrame* MainFrame()
{
    TCustomForm* M = MainForm();
    return M ? FindSkinFormComponent(M) : nullptr;
}

// A scroll step of the buttons, in pixels.
constexpr int MDIScrollStep = 10;

}  // namespace

// ---- the tabs bar ---------------------------------------------------------------------------

void TbsSkinFormFrame::SetMDITabsBar(TbsSkinMDITabsBar* Value)
{
    FMDITabsBar = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormFrame::AddChildToBar(TCustomForm* Child)
{
    TbsSkinFormFrame* M = MainFrame();
    if (!Child || !M || !M->FMDITabsBar) return;
    bool Accept = true;
    if (TbsSkinFormFrame* C = FindSkinFormComponent(Child); C && C->OnAcceptToMDITabsBar) C->OnAcceptToMDITabsBar(Accept);
    if (!Accept || !M->FMDITabsBar) return;
    // a child shown again without being hidden keeps its one tab
    for (int I = 0; I < M->FMDITabsBar->TabCount(); ++I)
        if (M->FMDITabsBar->Tabs(I)->Child == Child) return;
    M->FMDITabsBar->AddTab(Child);
}

void TbsSkinFormFrame::DeleteChildFromBar(TCustomForm* Child)
{
    if (TbsSkinFormFrame* M = MainFrame(); M && M->FMDITabsBar) M->FMDITabsBar->DeleteTab(Child);
}

void TbsSkinFormFrame::RefreshMDIBarTab(TCustomForm* Child)
{
    TbsSkinFormFrame* M = MainFrame();
    if (!M || !M->FMDITabsBar) return;
    for (int I = 0; I < M->FMDITabsBar->TabCount(); ++I)
        if (M->FMDITabsBar->Tabs(I)->Child == Child) M->FMDITabsBar->Invalidate();
}

void TbsSkinFormFrame::RefreshMDITabsBar()
{
    if (TbsSkinFormFrame* M = MainFrame(); M && M->FMDITabsBar) M->FMDITabsBar->UpdateActiveTab();
}

void TbsSkinFormFrame::RefreshMainMenuBar()
{
    TbsSkinFormFrame* M = MainFrame();
    TbsSkinMainMenuBar* Bar = M ? M->FMainMenuBar : nullptr;
    if (Bar && (Bar->GetChildMainMenu() || Bar->ChildMenuIn)) Bar->UpDateItems();
}

void TbsSkinFormFrame::PopupMenuItems(TMenuItem* Items, TControl* ACtrl, const TRect& R)
{
    if (!Items) return;
    SkinMenuOpen();
    OpenMenu(Items, ACtrl, R, false, 0, FMSD ? FMSD : FSD);
}

// ---- the client window -------------------------------------------------------------------------

void TbsSkinFormFrame::PaintMDIBGDefault(HDC DC)
{
    if (!DC) return;
    TCanvas C;
    C.SetHandle(DC);
    C.Brush()->SetColor(clAppWorkSpace);
    C.FillRect(FForm->ClientRect());
    DrawLogo(&C);
    C.SetHandle(nullptr);
}

void TbsSkinFormFrame::HookMDIClient()
{
    if (!IsMDIForm() || IsDesigning()) return;
    HWND C = FForm->ClientHandle();
    if (FHookedClient && FHookedClient == C && IsWindow(C)) return;
    UnhookMDIClient();
    if (!C) return;
    FClientInstance = MakeObjectInstance([this](TMessage& M) { ClientWindowProc(M); });
    FPrevClientProc = reinterpret_cast<WNDPROC>(SetWindowLong(C, GWL_WNDPROC, LONG_PTR(FClientInstance)));
    FHookedClient = C;
    CreateMDIScrollBars();
    NudgeWidth();
    UpdateMDIScrollBars(true);
}

void TbsSkinFormFrame::UnhookMDIClient()
{
    if (FHookedClient && IsWindow(FHookedClient) &&
        reinterpret_cast<WNDPROC>(GetWindowLong(FHookedClient, GWL_WNDPROC)) == FClientInstance)
        SetWindowLong(FHookedClient, GWL_WNDPROC, LONG_PTR(FPrevClientProc));
    if (FClientInstance) FreeObjectInstance(FClientInstance);
    FClientInstance = FPrevClientProc = nullptr;
    FHookedClient = nullptr;
}

void TbsSkinFormFrame::ClientWindowProc(TMessage& M)
{
    auto Prev = [&] { M.Result = CallWindowProc(FPrevClientProc, FHookedClient, M.Msg, M.WParam, M.LParam); };
    switch (M.Msg) {
    case WM_SIZE: {
        Prev();
        NotifyChildrenFitClient();
        const bool Redraw = !FLogoBitMap->Empty() ||
                            (FSD && !FSD->Empty &&
                             ((FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                              (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1)));
        if (Redraw) {
            TRect R(0, 0, FForm->ClientWidth(), FForm->ClientHeight());
            RedrawWindow(FHookedClient, &R, nullptr, RDW_INVALIDATE | RDW_ERASE);
        }
        UpdateMDIScrollBars(true);
        return;
    }
    case WM_ERASEBKGND: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        if (!FSD || FSD->Empty) PaintMDIBGDefault(DC);
        else if (FSD->MDIBGPictureIndex != -1) PaintBG3(DC);
        else if (FSD->BGPictureIndex == -1) PaintBG(DC);
        else PaintBG2(DC);
        M.Result = 1;
        return;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        M.Result = 0;
        return;
    case WM_NCACTIVATE:
        M.Result = 1;
        return;
    }
    Prev();
}

// ---- the scroll bars -------------------------------------------------------------------------

void TbsSkinFormFrame::SetShowMDIScrollBars(bool Value)
{
    if (FShowMDIScrollBars == Value) return;
    FShowMDIScrollBars = Value;
    UpdateMDIScrollBars(true);
}

void TbsSkinFormFrame::CreateMDIScrollBars()
{
    if (FMDIHScrollBar || FMDIVScrollBar || !IsMDIForm() || IsDesigning()) return;
    // one bar: buttons step by a few pixels, paging and the thumb's release sync the children
    auto Make = [this](TScrollBarKind Kind, const char* Record, std::function<void()> Sync) {
        auto* B = new TbsSkinScrollBar(this);
        B->SetKind(Kind);
        if (Kind == sbHorizontal) B->SetHeight(17);
        else B->SetWidth(17);
        B->SetSkinDataName(Record);
        B->SetSkinData(FSD);
        B->SetVisible(false);
        B->SetParent(FForm);
        B->OnUpButtonClick = [B, Sync](TObject*) {
            B->SetPosition(B->Position() + MDIScrollStep);
            Sync();
        };
        B->OnDownButtonClick = [B, Sync](TObject*) {
            B->SetPosition(B->Position() - MDIScrollStep);
            Sync();
        };
        B->OnPageUp = B->OnPageDown = B->OnLastChange = [Sync](TObject*) { Sync(); };
        return B;
    };
    FMDIHScrollBar = Make(sbHorizontal, "hscrollbar", [this] { SyncHScroll(); });
    FMDIVScrollBar = Make(sbVertical, "vscrollbar", [this] { SyncVScroll(); });
    FOldHSrollBarPosition = FOldVSrollBarPosition = 0;
}

void TbsSkinFormFrame::SyncHScroll()
{
    if (!FMDIHScrollBar) return;
    if (FMDIHScrollBar->Position() != FOldHSrollBarPosition)
        ShiftChildrenH(FOldHSrollBarPosition - FMDIHScrollBar->Position());
    if (FMDIHScrollBar) FOldHSrollBarPosition = FMDIHScrollBar->Position();
}

void TbsSkinFormFrame::SyncVScroll()
{
    if (!FMDIVScrollBar) return;
    if (FMDIVScrollBar->Position() != FOldVSrollBarPosition)
        ShiftChildrenV(FOldVSrollBarPosition - FMDIVScrollBar->Position());
    if (FMDIVScrollBar) FOldVSrollBarPosition = FMDIVScrollBar->Position();
}

void TbsSkinFormFrame::ShiftChildrenH(int Delta)
{
    FStopCheckChildMove = true;
    for (TCustomForm* C : bsMDIChildren())
        if (C->Visible()) C->SetLeft(C->Left() + Delta);
    FStopCheckChildMove = false;
    UpdateMDIScrollBars(false);
}

void TbsSkinFormFrame::ShiftChildrenV(int Delta)
{
    FStopCheckChildMove = true;
    for (TCustomForm* C : bsMDIChildren())
        if (C->Visible()) C->SetTop(C->Top() + Delta);
    FStopCheckChildMove = false;
    UpdateMDIScrollBars(false);
}

void TbsSkinFormFrame::AlignMDIScrollBars()
{
    if (!IsMDIForm() || !FMDIHScrollBar || !FMDIVScrollBar) return;
    const bool HV = FMDIHScrollBar->Visible(), VV = FMDIVScrollBar->Visible();
    if (!HV && !VV) return;
    TRect A;
    GetMDIClientRect(A);
    if (HV) {
        FMDIHScrollBar->SetBoth(VV);
        const int H = FMDIHScrollBar->Height();
        FMDIHScrollBar->SetBounds(A.Left, A.Bottom - H, A.Width(), H);
    }
    if (VV) {
        const int W = FMDIVScrollBar->Width();
        FMDIVScrollBar->SetBounds(A.Right - W, A.Top, W, A.Height() - (HV ? FMDIHScrollBar->Height() : 0));
    }
}

void TbsSkinFormFrame::UpdateMDIScrollBars(bool AUpdateRange)
{
    // the second pass finds the needs of the first and changes nothing more
    for (int Pass = 0; Pass < 2; ++Pass) {
        if (!FMDIHScrollBar || !FMDIVScrollBar) return;
        if (FMDIChildMaximized || !FShowMDIScrollBars) {
            FMDIHScrollBar->SetVisible(false);
            FMDIVScrollBar->SetVisible(false);
            return;
        }
        TRect A;
        GetMDIClientRect(A);
        const int AW = A.Width(), AH = A.Height();
        int MinL = 100000, MinT = 100000, MaxR = -100000, MaxB = -100000;
        for (TCustomForm* C : bsMDIChildren()) {
            if (!C->Visible()) continue;
            if (ChangeVisibleChildHanle && C->HandleAllocated() && C->Handle() == ChangeVisibleChildHanle) continue;
            MinL = std::min(MinL, C->Left());
            MinT = std::min(MinT, C->Top());
            MaxR = std::max(MaxR, C->Left() + C->Width());
            MaxB = std::max(MaxB, C->Top() + C->Height());
        }
        bool NeedH = MinL < 0 || AW < MaxR;
        bool NeedV = MinT < 0 || AH < MaxB;
        if (NeedV && !NeedH) NeedH = MinL < 0 || AW - FMDIVScrollBar->Width() < MaxR;
        if (NeedH && !NeedV) NeedV = MinT < 0 || AH - FMDIHScrollBar->Height() < MaxB;
        bool Changed = false;
        if (NeedH && !FMDIHScrollBar->Visible()) {
            FMDIHScrollBar->SetBounds(A.Left, A.Bottom - FMDIHScrollBar->Height(), AW, FMDIHScrollBar->Height());
            FMDIHScrollBar->SetVisible(true);
            FMDIHScrollBar->BringToFront();
            Changed = true;
        } else if (!NeedH && FMDIHScrollBar->Visible()) {
            FMDIHScrollBar->SetVisible(false);
            Changed = true;
        }
        if (NeedV && !FMDIVScrollBar->Visible()) {
            FMDIVScrollBar->SetBounds(A.Right - FMDIVScrollBar->Width(), A.Top, FMDIVScrollBar->Width(),
                                      AH - (NeedH ? FMDIHScrollBar->Height() : 0));
            FMDIVScrollBar->SetVisible(true);
            FMDIVScrollBar->BringToFront();
            Changed = true;
        } else if (!NeedV && FMDIVScrollBar->Visible()) {
            FMDIVScrollBar->SetVisible(false);
            Changed = true;
        }
        AlignMDIScrollBars();
        const bool HV = FMDIHScrollBar->Visible(), VV = FMDIVScrollBar->Visible();
        if (HV) {
            MinL = std::min(MinL, 0);
            MaxR = std::max(MaxR, AW);
            if (AUpdateRange) {
                FMDIHScrollBar->SetRange(0, MaxR - MinL - 1, AW - (VV ? FMDIVScrollBar->Width() : 0), -MinL);
                FOldHSrollBarPosition = FMDIHScrollBar->Position();
            }
            FMDIHScrollBar->SetLargeChange(FMDIHScrollBar->PageSize());
        }
        if (VV) {
            MinT = std::min(MinT, 0);
            MaxB = std::max(MaxB, AH);
            if (AUpdateRange) {
                FMDIVScrollBar->SetRange(0, MaxB - MinT - 1, AH - (HV ? FMDIHScrollBar->Height() : 0), -MinT);
                FOldVSrollBarPosition = FMDIVScrollBar->Position();
            }
            FMDIVScrollBar->SetLargeChange(FMDIVScrollBar->PageSize());
        }
        if (!HV && !VV) return;
        if (!Changed) return;
    }
}
