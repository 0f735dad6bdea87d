// The ribbon's tabs and the pages they show: the tab collection (a tab added while the
// ribbon runs gets a page of its own), and the page that scrolls its children sideways
// with two 12-pixel buttons in its non-client area.
#include <algorithm>

#include "skin/core/bsUtils.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsRibbon.h"

// ---- tabs ---------------------------------------------------------------------------------

TbsRibbonTab::TbsRibbonTab(TCollection* ACollection) : TCollectionItem(ACollection) {}

TbsRibbonTab::~TbsRibbonTab() = default;

TbsRibbon* TbsRibbonTab::Ribbon() const
{
    auto* Tabs = dynamic_cast<TbsRibbonTabs*>(Collection());
    return Tabs ? Tabs->Ribbon : nullptr;
}

void TbsRibbonTab::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    FVisible = Value;
    TbsRibbon* R = Ribbon();
    if (!R) return;
    if (!Value && FPage && FPage->Visible()) FPage->Hide();
    const int Me = Index();
    if (!Value && R->TabIndex() == Me) {
        TbsRibbonTabs* Tabs = R->Tabs();
        for (int I = Me + 1; I < Tabs->Count(); ++I)
            if (Tabs->Items(I)->Visible()) {
                R->SetTabIndex(I);
                return;
            }
        for (int I = Me - 1; I >= 0; --I)
            if (Tabs->Items(I)->Visible()) {
                R->SetTabIndex(I);
                return;
            }
    }
    R->Invalidate();
}

void TbsRibbonTab::SetPage(TbsRibbonPage* Value)
{
    if (FPage == Value) return;
    FPage = Value;
    if (Value && Value->Ribbon) Value->Ribbon->SetTabIndex(Index());
}

void TbsRibbonTab::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsRibbonTab*>(Source)) {
        FPage = S->FPage;
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsRibbonTabs::TbsRibbonTabs(TbsRibbon* ARibbon) : TCollection(TCollection::ItemClass<TbsRibbonTab>()), Ribbon(ARibbon)
{
}

TPersistent* TbsRibbonTabs::GetOwner() { return Ribbon; }

void TbsRibbonTabs::Update(TCollectionItem*)
{
    if (Ribbon) Ribbon->Invalidate();
}

static bool RibbonRuns(TbsRibbon* R)
{
    return R && !R->ComponentState().Contains(csDesigning) && !R->ComponentState().Contains(csLoading);
}

TbsRibbonTab* TbsRibbonTabs::Add()
{
    auto* T = static_cast<TbsRibbonTab*>(TCollection::Add());
    if (RibbonRuns(Ribbon)) CreatePage(T);
    return T;
}

TbsRibbonTab* TbsRibbonTabs::Insert(int Index)
{
    auto* T = static_cast<TbsRibbonTab*>(TCollection::Insert(Index));
    if (RibbonRuns(Ribbon)) CreatePage(T);
    return T;
}

void TbsRibbonTabs::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) return;
    TbsRibbonTab* T = Items(Index);
    if (RibbonRuns(Ribbon) && T->FPage) {
        TbsRibbonPage* P = T->FPage;
        T->FPage = nullptr;
        delete P;
    }
    TCollection::Delete(Index);
}

void TbsRibbonTabs::CreatePage(TbsRibbonTab* Tab)
{
    if (!Ribbon) return;
    TCustomForm* Form = GetParentForm(Ribbon);
    auto* P = new TbsRibbonPage(Form ? static_cast<TComponent*>(Form) : Ribbon);
    P->Ribbon = Ribbon;
    P->SetParent(Ribbon);
    int L, T, W, H;
    Ribbon->GetPageBounds(L, T, W, H);
    P->SetBounds(L, T, W, H);
    String Name;
    MakeUniqueName("bsRibbonPage%d", Form, Name);
    P->SetName(Name);
    P->SetCaption(Name);
    Tab->SetPage(P);
    Ribbon->FStopCheckTabIndex = true;
    Ribbon->SetTabIndex(Tab->Index());
    Ribbon->FStopCheckTabIndex = false;
    Ribbon->Invalidate();
}

// ---- the scrolling page -------------------------------------------------------------------

TbsRibbonCustomPage::TbsRibbonCustomPage(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 150, 30);
}

TbsRibbonCustomPage::~TbsRibbonCustomPage() = default;

void TbsRibbonCustomPage::SetScrollOffset(int Value)
{
    if (Value >= 0) FScrollOffset = Value;
}

void TbsRibbonCustomPage::SetScrollTimerInterval(int Value)
{
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsRibbonCustomPage::SetPosition(int Value)
{
    if (Value == SPosition) return;
    SPosition = Value;
    GetScrollInfo();
}

void TbsRibbonCustomPage::UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }

void TbsRibbonCustomPage::GetScrollInfo()
{
    if (FCanScroll) CalcScrollRange();
}

void TbsRibbonCustomPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int OldWidth = Width();
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FHSizeOffset = OldWidth != 0 && Width() > OldWidth ? Width() - OldWidth : 0;
    if (FCanScroll) GetScrollInfo();
}

void TbsRibbonCustomPage::AdjustClientRect(TRect& Rect)
{
    if (FCanScroll) Rect = Bounds(-SPosition, 0, std::max(SMax, ClientWidth()), ClientHeight());
    TCustomControl::AdjustClientRect(Rect);
}

void TbsRibbonCustomPage::CalcScrollRange()
{
    int CW = ClientWidth();
    const int P = SPosition;
    int A = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->Visible()) A = std::max(A, C->Left() + C->Width());
    }
    if (A != 0) {
        if (A + P > CW) {
            if (!ButtonsVisible()) {
                SetButtonsVisible(true);
                // the buttons took their strips off the client area: measure it again,
                // or the first range would stop short of the content's end
                CW = ClientWidth();
            }
            const int M = P + A - 1;
            if (P > 0 && A < CW && FHSizeOffset > 0) {
                FHSizeOffset = std::min(FHSizeOffset, P);
                SMax = M;
                SPosition = P - FHSizeOffset;
                SPage = CW;
                ScrollContent(-FHSizeOffset);
            } else if (FHSizeOffset != 0 || M >= SMax || P <= 0 || A >= CW) {
                SMax = M;
                SPage = CW;
                FHSizeOffset = 0;
            } else {
                SMax = M;
                SPosition = P + A - CW;
                SPage = CW;
                ScrollContent(A - CW);
                FHSizeOffset = 0;
            }
            SOldPosition = SPosition;
            return;
        }
        if (P > 0) ScrollContent(-P);
        FHSizeOffset = SMax = SPosition = SPage = 0;
        SOldPosition = 0;
    }
    if (ButtonsVisible()) SetButtonsVisible(false);
}

void TbsRibbonCustomPage::ScrollContent(int D)
{
    if (D == 0) return;
    ScrollBy(-D, 0);
    if (Ribbon && Ribbon->FIndex != -1 && Ribbon->FData && Ribbon->FData->StretchEffect) Invalidate();
}

void TbsRibbonCustomPage::ScrollStep(bool Forward)
{
    const int Step = FScrollOffset ? FScrollOffset : ClientWidth();
    if (Forward) SPosition = std::min(SPosition + Step, SMax - SPage + 1);
    else SPosition = std::max(SPosition - Step, 0);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    ScrollContent(SPosition - SOldPosition);
    SOldPosition = SPosition;
    CalcScrollRange();
}

void TbsRibbonCustomPage::SetButtonsVisible(bool Value)
{
    if (Buttons[0].Visible == Value) return;
    Buttons[0].Visible = Buttons[1].Visible = Value;
    if (!Value) Buttons[0].MouseIn = Buttons[1].MouseIn = Buttons[0].Down = Buttons[1].Down = false;
    FMouseIn = false;
    // The non-client strips appear or vanish: the frame is computed again in place (the
    // window, its children and the focus stay as they are).
    if (HandleAllocated()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Buttons[0].R = TRect(0, 0, ScrollButtonSize, Height());
        Buttons[1].R = TRect(Width() - ScrollButtonSize, 0, Width(), Height());
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
}

void TbsRibbonCustomPage::StartScrollTimer()
{
    if (!HandleAllocated()) return;
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, UINT(FScrollTimerInterval), nullptr);
    FScrollTimer = true;
}

void TbsRibbonCustomPage::StopScrollTimer()
{
    if (FScrollTimer && HandleAllocated()) KillTimer(Handle(), 1);
    FScrollTimer = false;
    TimerMode = 0;
}

void TbsRibbonCustomPage::ButtonDown(int Index)
{
    TimerMode = Index + 1;
    StartScrollTimer();
}

void TbsRibbonCustomPage::ButtonUp(int Index)
{
    StopScrollTimer();
    ScrollStep(Index == 1);
}

void TbsRibbonCustomPage::ClearHotButton()
{
    for (int I = 0; I < 2; ++I)
        if (Buttons[I].Visible && Buttons[I].MouseIn) {
            if (FScrollTimer) StopScrollTimer();
            Buttons[I].MouseIn = false;
            PaintScrollButtons(nullptr);
            return;
        }
}

void TbsRibbonCustomPage::MouseEnterPage()
{
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = true;
    if (ButtonsVisible() && HandleAllocated()) {
        KillTimer(Handle(), 2);
        SetTimer(Handle(), 2, 100, nullptr);
    }
}

void TbsRibbonCustomPage::MouseLeavePage()
{
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = false;
    if (FCanScroll && HandleAllocated() && WindowFromPoint(GetCursorPos()) != Handle()) ClearHotButton();
}

void TbsRibbonCustomPage::PaintScrollButtons(HDC DC)
{
    if (!FCanScroll || !ButtonsVisible()) return;
    HDC Own = nullptr;
    if (!DC) {
        if (!HandleAllocated()) return;
        Own = DC = GetWindowDC(Handle());
        if (!DC) return;
    }
    TCanvas C;
    C.SetHandle(DC);
    for (int I = 0; I < 2; ++I)
        if (Buttons[I].Visible) DrawScrollButton(&C, I);
    C.SetHandle(nullptr);
    if (Own) ReleaseDC(Handle(), Own);
}

void TbsRibbonCustomPage::DrawScrollButton(TCanvas* C, int Index)
{
    const TScrollButton& Bt = Buttons[Index];
    // the skin's "resizetoolbutton" record while the ribbon is skinned
    const TbsDataSkinButtonControl* D = nullptr;
    TBitmap* Pic = nullptr;
    if (Ribbon) {
        Ribbon->GetSkinData();
        if (TbsSkinData* SD = Ribbon->SkinData(); SD && Ribbon->FIndex != -1) {
            const int I = SD->GetControlIndex("resizetoolbutton");
            if (I != -1) D = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[size_t(I)].get());
            if (D) Pic = SD->ActivePicture(D->PictureIndex);
        }
    }
    bsDrawScrollButton(C, Bt.R, Bt.MouseIn, Bt.MouseIn && (Bt.Down || FHotScroll), D, Pic, Index == 0 ? 1 : 2);
}

void TbsRibbonCustomPage::WndProc(TMessage& M)
{
    if (!FCanScroll) {
        TCustomControl::WndProc(M);
        return;
    }
    switch (M.Msg) {
    case WM_WINDOWPOSCHANGING:
        if (HandleAllocated() && Align() == alNone) GetScrollInfo();
        break;
    case WM_NCHITTEST: {
        if (ComponentState().Contains(csDesigning)) break;
        if (!FMouseIn) MouseEnterPage();
        const TPoint P = ScreenToClient(LParamToPoint(M.LParam));
        if (P.X < 0 && Buttons[0].Visible) {
            M.Result = HTSCROLLLEFT;
            return;
        }
        if (P.X >= ClientWidth() && Buttons[1].Visible) {
            M.Result = HTSCROLLRIGHT;
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I >= 0 && !Buttons[I].MouseIn) {
            Buttons[I].MouseIn = true;
            Buttons[1 - I].MouseIn = false;
            PaintScrollButtons(nullptr);
            if (FHotScroll) {
                TimerMode = I + 1;
                StartScrollTimer();
            }
        }
        break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I < 0) break;
        Buttons[I].Down = true;
        PaintScrollButtons(nullptr);
        ButtonDown(I);
        break;
    }
    case WM_NCLBUTTONUP: {
        const int Hit = int(M.WParam);
        const int I = Hit == HTSCROLLLEFT ? 0 : Hit == HTSCROLLRIGHT ? 1 : -1;
        if (I < 0) break;
        Buttons[I].Down = false;
        PaintScrollButtons(nullptr);
        ButtonUp(I);
        break;
    }
    case WM_MOUSEMOVE: ClearHotButton(); break;
    default: break;
    }
    TCustomControl::WndProc(M);
}

void TbsRibbonCustomPage::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SETCURSOR:
        if (FCanScroll) {
            const int Hit = int(int16_t(LOWORD(M.LParam)));
            if (Hit == HTSCROLLLEFT || Hit == HTSCROLLRIGHT) M.LParam = (M.LParam & ~LPARAM(0xFFFF)) | HTCLIENT;
        }
        break;
    case WM_DESTROY:
        if (HandleAllocated()) {
            KillTimer(Handle(), 1);
            KillTimer(Handle(), 2);
        }
        FScrollTimer = false;
        FMouseIn = false;
        break;
    case WM_TIMER:
        TCustomControl::Dispatch(M);
        if (M.WParam == 1) {
            if (TimerMode == 1) ScrollStep(false);
            else if (TimerMode == 2) ScrollStep(true);
        } else if (M.WParam == 2) {
            if (WindowFromPoint(GetCursorPos()) != Handle()) {
                KillTimer(Handle(), 2);
                MouseLeavePage();
            }
        }
        return;
    case WM_NCCALCSIZE: {
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (R) {
            if (Buttons[0].Visible) R->Left += ScrollButtonSize;
            if (Buttons[1].Visible) R->Right -= ScrollButtonSize;
        }
        M.Result = 0;
        return;
    }
    case WM_NCPAINT:
        if (FCanScroll && ButtonsVisible()) PaintScrollButtons(nullptr);
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(M);
        if (FCanScroll && Buttons[0].Visible) {
            Buttons[0].R = TRect(0, 0, ScrollButtonSize, Height());
            Buttons[1].R = TRect(Width() - ScrollButtonSize, 0, Width(), Height());
            PaintScrollButtons(nullptr);
        }
        return;
    case 0xB1C9:  // paint the non-client area into the DC in WParam
        if (M.WParam && ButtonsVisible()) {
            PaintScrollButtons(HDC(M.WParam));
            M.Result = 12851;
        } else {
            M.Result = 0;
        }
        return;
    case 0xBC4B:
        if (M.LParam == 16802) {
            if (M.WParam && ButtonsVisible()) PaintScrollButtons(HDC(M.WParam));
            M.Result = 16802;
            return;
        }
        break;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

// ---- the ribbon's page --------------------------------------------------------------------

TbsRibbonPage::TbsRibbonPage(TComponent* AOwner) : TbsRibbonCustomPage(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

TbsRibbonPage::~TbsRibbonPage()
{
    // the ribbon's tab no longer shows this page
    if (Ribbon && Ribbon->Tabs()) {
        TbsRibbonTabs* Tabs = Ribbon->Tabs();
        for (int I = 0; I < Tabs->Count(); ++I)
            if (Tabs->Items(I)->FPage == this) Tabs->Items(I)->FPage = nullptr;
        Ribbon->Invalidate();
    }
}

void TbsRibbonPage::SetCaption(const String& Value)
{
    FCaption = Value;
    if (Ribbon) Ribbon->Invalidate();
}

void TbsRibbonPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (Parent() && Ribbon) Ribbon->GetPageBounds(ALeft, ATop, AWidth, AHeight);
    TbsRibbonCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsRibbonPage::PaintBG(HDC DC)
{
    if (!Ribbon || Width() <= 0 || Height() <= 0 || !DC) return;
    Ribbon->GetSkinData();
    TCanvas C;
    C.SetHandle(DC);
    const TRect Area(0, 0, Width(), Height());
    TbsDataSkinTabControl* D = Ribbon->FIndex != -1 ? Ribbon->FData : nullptr;
    TBitmap* BG = nullptr;
    if (D && D->BGPictureIndex != -1) BG = Ribbon->SkinData()->ActivePicture(D->BGPictureIndex);
    // an empty picture (or one outside the skin's list) counts as none
    if (BG && (BG->Empty() || BG->Width() <= 0 || BG->Height() <= 0)) BG = nullptr;
    if (BG) {
        bsFillWithPiece(&C, BG, Area, D->StretchEffect, D->StretchType);
    } else if (D && Ribbon->FDataPicture) {
        TRect R = D->ClRect;
        R = TRect(R.Left + D->SkinRect.Left, R.Top + D->SkinRect.Top, R.Right + D->SkinRect.Left,
                  R.Bottom + D->SkinRect.Top);
        TBitmap Tile;
        bsCopyPicturePart(&Tile, Ribbon->FDataPicture, R);
        if (!Tile.Empty() && Tile.Width() > 0 && Tile.Height() > 0)
            bsFillWithPiece(&C, &Tile, Area, D->StretchEffect, D->StretchType);
        else
            D = nullptr;
    } else {
        D = nullptr;
    }
    if (!BG && !D) {
        C.Brush()->SetStyle(bsSolid);
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(Area);
    }
    C.SetHandle(nullptr);
}

void TbsRibbonPage::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND:
        if (M.WParam) PaintBG(HDC(M.WParam));
        M.Result = 1;
        return;
    case WM_SIZE:
        TbsRibbonCustomPage::Dispatch(M);
        Invalidate();
        return;
    default: break;
    }
    TbsRibbonCustomPage::Dispatch(M);
}
