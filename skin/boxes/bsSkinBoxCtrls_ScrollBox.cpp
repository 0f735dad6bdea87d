// The skinned scroll box: ranges of its two linked scroll bars from the extent of its visible
// children (keeping the content in place when the box grows or the content shrinks while
// scrolled), scrolling of the children, a frame in the non-client area (four strips of the
// "scrollbox" record or a one-pixel line) and a tiled or stretched background.
#include "skin/boxes/bsSkinBoxCtrls.h"

TbsSkinScrollBox::TbsSkinScrollBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FSkinDataName = "scrollbox";
    SetWidth(150);
    SetHeight(150);
}

TbsSkinScrollBox::~TbsSkinScrollBox()
{
    if (FVScrollBar) FVScrollBar->OnChange = FVScrollBar->OnLastChange = nullptr;
    if (FHScrollBar) FHScrollBar->OnChange = FHScrollBar->OnLastChange = nullptr;
}

void TbsSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinScrollBox::CreateParams(TCreateParams& P)
{
    TbsSkinCustomControl::CreateParams(P);
    P.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- the bars -------------------------------------------------------------------------------------------------

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value)
{
    if (FVScrollBar && FVScrollBar != Value) FVScrollBar->OnLastChange = nullptr;
    bsLinkScrollBar(this, FVScrollBar, Value, [this](TObject*) {
        if (!FVScrollBar) return;
        VScrollControls(FVScrollBar->Position() - FOldVScrollBarPos);
        FOldVScrollBarPos = FVScrollBar->Position();
    });
    if (Value) {
        Value->SetCanFocused(false);
        Value->OnLastChange = [this](TObject*) { Invalidate(); };
    }
    GetVRange();
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value)
{
    if (FHScrollBar && FHScrollBar != Value) FHScrollBar->OnLastChange = nullptr;
    bsLinkScrollBar(this, FHScrollBar, Value, [this](TObject*) {
        if (!FHScrollBar) return;
        HScrollControls(FHScrollBar->Position() - FOldHScrollBarPos);
        FOldHScrollBarPos = FHScrollBar->Position();
    });
    if (Value) {
        Value->SetCanFocused(false);
        Value->OnLastChange = [this](TObject*) { Invalidate(); };
    }
    GetHRange();
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value)
{
    FBorderStyle = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinScrollBox::UpDateScrollRange()
{
    GetHRange();
    GetVRange();
}

void TbsSkinScrollBox::VScrollControls(int D)
{
    ScrollBy(0, -D);
    if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::HScrollControls(int D)
{
    ScrollBy(-D, 0);
    if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::SetBarVisible(TbsSkinScrollBar* Bar, bool Value)
{
    FInCheckScrollBars = true;
    Bar->SetVisible(Value);
    FInCheckScrollBars = false;
    if (Align() != alNone && Parent()) {
        FInCheckScrollBars = true;
        Parent()->Realign();
        Realign();
        FInCheckScrollBars = false;
    }
}

bool TbsSkinScrollBox::AxisRange(TbsSkinScrollBar* Bar, int Client, int Content, int& SizeOffset, int& OldPos,
                                  void (TbsSkinScrollBox::*ScrollControls)(int))
{
    // Content: the far edge of the visible children as they now lie (scrolled by P)
    const int P = Bar->Position();
    const int T = P + Content;
    if (T <= Client) {
        if (P > 0) (this->*ScrollControls)(-P);
        SizeOffset = 0;
        OldPos = 0;
        Bar->SetRange(0, 0, 0, 0);
        return false;
    }
    if (P > 0 && Content < Client && SizeOffset > 0) {
        // the box grew while scrolled: the content moves back by the growth
        SizeOffset = MinOf(SizeOffset, P);
        Bar->SetRange(0, T - 1, Client, P - SizeOffset);
        (this->*ScrollControls)(-SizeOffset);
    } else if (SizeOffset == 0 && T - 1 < Bar->Max() && P > 0 && Content < Client) {
        // the content shrank while scrolled: it moves back by the room it leaves
        const int D = MinOf(Client - Content, P);
        (this->*ScrollControls)(-D);
        Bar->SetRange(0, T - 1, Client, P - D);
    } else
        Bar->SetRange(0, T - 1, Client, P);
    // the growth is spent once: a later range computation must not scroll by it again
    SizeOffset = 0;
    OldPos = Bar->Position();
    return true;
}

void TbsSkinScrollBox::GetVRange()
{
    if (!FVScrollBar || FInCheckScrollBars || !Parent()) return;
    int B = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->Visible()) B = MaxOf(B, C->Top() + C->Height());
    }
    const bool Show = AxisRange(FVScrollBar, ClientHeight(), B, FVSizeOffset, FOldVScrollBarPos,
                                &TbsSkinScrollBox::VScrollControls);
    if (FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible()) FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (Show != FVScrollBar->Visible()) SetBarVisible(FVScrollBar, Show);
}

void TbsSkinScrollBox::GetHRange()
{
    if (!FHScrollBar || FInCheckScrollBars || !Parent()) return;
    int B = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->Visible()) B = MaxOf(B, C->Left() + C->Width());
    }
    const bool Show = AxisRange(FHScrollBar, ClientWidth(), B, FHSizeOffset, FOldHScrollBarPos,
                                &TbsSkinScrollBox::HScrollControls);
    if (FVScrollBar && FHScrollBar->Both() != FVScrollBar->Visible()) FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (Show != FHScrollBar->Visible()) SetBarVisible(FHScrollBar, Show);
}

void TbsSkinScrollBox::VScroll(int APosition)
{
    if (!FVScrollBar || FVScrollBar->PageSize() == 0) return;
    FVScrollBar->SetPosition(MinOf(APosition, FVScrollBar->Max() - FVScrollBar->PageSize()));
}

void TbsSkinScrollBox::HScroll(int APosition)
{
    if (!FHScrollBar || FHScrollBar->PageSize() == 0) return;
    FHScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::ScrollToControl(TControl* C)
{
    if (!C || C->Parent() != this) return;
    if (FHScrollBar && FHScrollBar->Visible()) {
        if (C->Left() < 0)
            HScroll(FHScrollBar->Position() + C->Left());
        else if (C->Left() + C->Width() > ClientWidth())
            HScroll(FHScrollBar->Position() + C->Left() + C->Width() - ClientWidth());
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        if (C->Top() < 0)
            VScroll(FVScrollBar->Position() + C->Top());
        else if (C->Top() + C->Height() > ClientHeight())
            VScroll(FVScrollBar->Position() + C->Top() + C->Height() - ClientHeight());
    }
}

// ---- size -----------------------------------------------------------------------------------------------------

void TbsSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int OldW = Width(), OldH = Height();
    // the ranges follow once the growth is known: a computation from inside the size change
    // (the parent aligning the box again) would clamp the bar without moving the content
    const bool Was = FInCheckScrollBars;
    FInCheckScrollBars = true;
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FInCheckScrollBars = Was;
    FHSizeOffset = Width() > OldW && OldW != 0 ? Width() - OldW : 0;
    GetHRange();
    FVSizeOffset = Height() > OldH && OldH != 0 ? Height() - OldH : 0;
    GetVRange();
}

void TbsSkinScrollBox::AdjustClientRect(TRect& R)
{
    int L = 0, T = 0, W = ClientWidth(), H = ClientHeight();
    if (FHScrollBar && FHScrollBar->Visible()) {
        L = -FHScrollBar->Position();
        W = MaxOf(FHScrollBar->Max(), ClientWidth());
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        T = -FVScrollBar->Position();
        H = MaxOf(FVScrollBar->Max(), ClientHeight());
    }
    R = Rect(L, T, L + W, T + H);
    TbsSkinCustomControl::AdjustClientRect(R);
}

// ---- skin -----------------------------------------------------------------------------------------------------

void TbsSkinScrollBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinScrollBoxControl*>(FSD->CtrlList[size_t(FIndex)].get())) {
        BGPictureIndex = R->BGPictureIndex;
        // a picture the skin does not hold counts as none
        if (BGPictureIndex != -1 && !FSD->ActivePicture(BGPictureIndex)) BGPictureIndex = -1;
    }
}

void TbsSkinScrollBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    for (TbsSkinScrollBar* B : {FVScrollBar, FHScrollBar})
        if (B && B->Parent()) B->Parent()->Realign();
    Invalidate();
}

void TbsSkinScrollBox::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(Color());
    B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

// ---- frame ----------------------------------------------------------------------------------------------------

void TbsSkinScrollBox::PaintBorder(TCanvas* C)
{
    GetSkinData();
    const int W = Width(), H = Height();
    if (FIndex == -1) {
        switch (FBorderStyle) {
        case bvNone: return;
        case bvFrame: DrawFrame3D(C, Rect(0, 0, W, H), clBtnShadow, clBtnShadow); break;
        case bvRaised: DrawFrame3D(C, Rect(0, 0, W, H), clBtnShadow, clBtnHighlight); break;
        case bvLowered: DrawFrame3D(C, Rect(0, 0, W, H), clBtnHighlight, clBtnShadow); break;
        }
        return;
    }
    if (!Picture) return;
    const int dw = W - SkinRect.Width(), dh = H - SkinRect.Height();
    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, Point(RTPt.X + dw, RTPt.Y), Point(LBPt.X, LBPt.Y + dh),
                           Point(RBPt.X + dw, RBPt.Y + dh),
                           Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh), &LeftB, &TopB,
                           &RightB, &BottomB, Picture, SkinRect, W, H, LeftStretch, TopStretch, RightStretch,
                           BottomStretch);
    C->Draw(0, 0, &TopB);
    C->Draw(0, TopB.Height(), &LeftB);
    C->Draw(W - RightB.Width(), TopB.Height(), &RightB);
    C->Draw(0, H - BottomB.Height(), &BottomB);
}

// ---- background -----------------------------------------------------------------------------------------------

void TbsSkinScrollBox::Paint()
{
    GetSkinData();
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    const int CW = ClientWidth(), CH = ClientHeight();
    if (CW < 1 || CH < 1) return;
    TCanvas* C = Canvas();
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, 0, 0, CW, CH);
    TBitmap Tile;
    TBitmap* P = nullptr;
    if (BGPictureIndex == -1) {
        if (Picture && ClRect.Width() > 0 && ClRect.Height() > 0) {
            bsCopyPicturePart(&Tile, Picture,
                              Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                                   SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom));
            P = &Tile;
        }
    } else
        P = FSD->ActivePicture(BGPictureIndex);
    if (!P || P->Width() <= 0 || P->Height() <= 0) {
        // nothing to tile: the box's colour stands in
        C->Brush()->SetColor(Color());
        C->FillRect(Rect(0, 0, CW, CH));
    } else if (StretchEffect) {
        const int W = Width(), H = Height();
        switch (StretchType) {
        case bsstFull: C->StretchDraw(Rect(0, 0, W, H), P); break;
        case bsstHorz:
            for (int I = 0; I <= W / P->Width(); ++I)
                C->StretchDraw(Rect(I * P->Width(), 0, (I + 1) * P->Width(), H), P);
            break;
        case bsstVert:
            for (int J = 0; J <= H / P->Height(); ++J)
                C->StretchDraw(Rect(0, J * P->Height(), W, (J + 1) * P->Height()), P);
            break;
        }
    } else {
        const int LW = BGPictureIndex == -1 ? CW : Width(), LH = BGPictureIndex == -1 ? CH : Height();
        for (int I = 0; I <= LW / P->Width(); ++I)
            for (int J = 0; J <= LH / P->Height(); ++J) C->Draw(I * P->Width(), J * P->Height(), P);
    }
    RestoreDC(DC, Saved);
}

// ---- messages -------------------------------------------------------------------------------------------------

void TbsSkinScrollBox::WndProc(TMessage& M)
{
    if ((M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) && FCanFocused && !IsDesigning() && !Focused()) {
        FClicksDisabled = true;
        if (CanFocus()) SetFocus();
        FClicksDisabled = false;
        if (!Focused()) return;
    }
    if (M.Msg == CN_COMMAND && FClicksDisabled) return;
    TbsSkinCustomControl::WndProc(M);
}

void TbsSkinScrollBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_VISIBLECHANGED:
        TbsSkinCustomControl::Dispatch(M);
        // the bars follow the box; shown again, they show only where the content needs them
        if (!Visible()) {
            if (FVScrollBar) FVScrollBar->SetVisible(false);
            if (FHScrollBar) FHScrollBar->SetVisible(false);
        } else
            UpDateScrollRange();
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(M);
        if (HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
        return;
    case WM_NCCALCSIZE: {
        GetSkinData();
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (!R) return;
        if (FIndex != -1 && BGPictureIndex == -1 && FBorderStyle != bvNone)
            *R = Rect(R->Left + ClRect.Left, R->Top + ClRect.Top, R->Right - (SkinRect.Width() - ClRect.Right),
                      R->Bottom - (SkinRect.Height() - ClRect.Bottom));
        else if (FIndex == -1 && FBorderStyle != bvNone)
            *R = Rect(R->Left + 1, R->Top + 1, R->Right - 1, R->Bottom - 1);
        M.Result = 0;
        return;
    }
    case WM_NCHITTEST: M.Result = HTCLIENT; return;
    case WM_NCPAINT: {
        if (!HandleAllocated() || !HasFrame()) return;
        HDC DC = GetWindowDC(Handle());
        TCanvas C;
        C.SetHandle(DC);
        PaintBorder(&C);
        C.SetHandle(nullptr);
        ReleaseDC(Handle(), DC);
        return;
    }
    case PaintNonClientToDC:
        if (M.WParam && HasFrame()) {
            TCanvas C;
            C.SetHandle(HDC(M.WParam));
            PaintBorder(&C);
            C.SetHandle(nullptr);
            M.Result = PaintNonClientToDCAnswer;
        } else
            M.Result = 0;
        return;
    case PaintNonClientToDCEx:
        if (M.LParam != PaintBackgroundToDCExAnswer) break;
        if (M.WParam && HasFrame()) {
            TCanvas C;
            C.SetHandle(HDC(M.WParam));
            PaintBorder(&C);
            C.SetHandle(nullptr);
        }
        M.Result = PaintBackgroundToDCExAnswer;
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
