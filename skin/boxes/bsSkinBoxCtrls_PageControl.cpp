// The skinned page control: the platform's tab control lays out and selects the tabs; this
// class amends its tab and display rectangles, sizes the tabs through a reserve image list,
// replaces the strip's scrolling by a skinned up-down, tracks the tab under the pointer,
// closes pages by their close buttons, centres or offsets the strip and hides tabs and
// border.  The skinned tab sheet is here too; the painting is in bsSkinBoxCtrls_TabPaint.cpp.
#include "skin/boxes/bsSkinBoxCtrls.h"

// ---- the tab sheet ----------------------------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner), FWallPaper(new TBitmap)
{
    SetAlign(alClient);
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    SetVisible(false);
}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() { SetPageControl(nullptr); }

void TbsSkinCustomTabSheet::CreateParams(TCreateParams& P)
{
    TTabSheet::CreateParams(P);
    P.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomTabSheet::SetWallPaper(TBitmap* Value)
{
    FWallPaper->Assign(Value);
    if (ComponentState().Contains(csDesigning)) Repaint();
}

void TbsSkinCustomTabSheet::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND:
        PaintBG(HDC(M.WParam));
        M.Result = 1;
        return;
    case PaintNonClientToDC: M.Result = PaintNonClientToDCAnswer; return;
    case WM_SIZE: {
        TTabSheet::Dispatch(M);
        Repaint();
        auto* PC = dynamic_cast<TbsSkinPageControl*>(Parent());
        if (PC && PC->SkinData() && !PC->SkinData()->Empty && PC->StretchEffect) {
            for (int I = 0; I < ControlCount(); ++I)
                if (auto* W = dynamic_cast<TWinControl*>(Controls(I)))
                    if (W->HandleAllocated()) SendMessage(W->Handle(), ParentBackgroundChanged, 0, 0);
        }
        return;
    }
    }
    TTabSheet::Dispatch(M);
}

namespace {
// Piece repeated from the origin over W x H of C.
void TileOver(TCanvas* C, TBitmap* Piece, int W, int H)
{
    const int PW = Piece->Width(), PH = Piece->Height();
    if (PW <= 0 || PH <= 0) return;
    for (int I = 0; I <= W / PW; ++I)
        for (int J = 0; J <= H / PH; ++J) C->Draw(I * PW, J * PH, Piece);
}

// Piece stretched by Type over the area of AW x AH from the origin (the tab sheet and page
// control backgrounds).
void StretchOver(TCanvas* C, TBitmap* Piece, int AW, int AH, TbsStretchType Type)
{
    const int PW = Piece->Width(), PH = Piece->Height();
    if (PW <= 0 || PH <= 0 || AW <= 0 || AH <= 0) return;
    switch (Type) {
    case bsstFull: C->StretchDraw(Rect(0, 0, AW, AH), Piece); break;
    case bsstHorz:
        for (int I = 0; I <= AW / PW; ++I) C->StretchDraw(Rect(I * PW, 0, I * PW + PW, AH), Piece);
        break;
    case bsstVert:
        for (int J = 0; J <= AH / PH; ++J) C->StretchDraw(Rect(0, J * PH, AW, J * PH + PH), Piece);
        break;
    }
}
}  // namespace

void TbsSkinCustomTabSheet::PaintBG(HDC DC)
{
    if (!DC || Width() < 1 || Height() < 1 || !Parent()) return;
    auto* PC = dynamic_cast<TbsSkinPageControl*>(Parent());
    if (PC) PC->GetSkinData();
    TCanvas C;
    C.SetHandle(DC);
    const int W = Width(), H = Height();
    if (!FWallPaper->Empty())
        TileOver(&C, FWallPaper.get(), W, H);
    else if (!PC || PC->FIndex == -1) {
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(Rect(0, 0, W, H));
    } else if (PC->BGPictureIndex != -1 && PC->SkinData() && !PC->SkinData()->Empty &&
               PC->SkinData()->ActivePicture(PC->BGPictureIndex)) {
        TBitmap* P = PC->SkinData()->ActivePicture(PC->BGPictureIndex);
        if (PC->StretchEffect)
            StretchOver(&C, P, W, H, PC->StretchType);
        else
            TileOver(&C, P, W, H);
    } else if (PC->Picture && !IsEmptyRect(PC->ClRect)) {
        TBitmap Tile;
        TRect Src = PC->ClRect;
        Src = Rect(Src.Left + PC->SkinRect.Left, Src.Top + PC->SkinRect.Top, Src.Right + PC->SkinRect.Left,
                   Src.Bottom + PC->SkinRect.Top);
        bsCopyPicturePart(&Tile, PC->Picture, Src);
        if (PC->StretchEffect && PC->Width() > 0 && PC->Height() > 0)
            StretchOver(&C, &Tile, PC->Width(), PC->Height(), PC->StretchType);
        else
            TileOver(&C, &Tile, W, H);
    } else {
        // a skin without a client part has nothing to show: the button face stands in
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(Rect(0, 0, W, H));
    }
    C.SetHandle(nullptr);
}

// ---- the page control: creation and properties --------------------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner) : TPageControl(AOwner), FDefaultFont(new TFont)
{
    FTempImages = new TImageList(this);
    FTempImages->SetWidth(1);
    FTempImages->SetHeight(1);
    TPageControl::SetImages(FTempImages);
    Font()->SetName("Tahoma");
    Font()->SetStyle({});
    Font()->SetColor(clBtnText);
    Font()->SetHeight(13);
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetColor(clBtnText);
    FDefaultFont->SetHeight(13);
}

TbsSkinPageControl::~TbsSkinPageControl()
{
    delete FSkinUpDown;
    FSkinUpDown = nullptr;
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TPageControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
}

TbsSkinCustomTabSheet* TbsSkinPageControl::SheetOf(int PageIndex) const
{
    if (PageIndex < 0 || PageIndex >= PageCount()) return nullptr;
    return dynamic_cast<TbsSkinCustomTabSheet*>(Pages(PageIndex));
}

bool TbsSkinPageControl::HasVisibleTabs() const
{
    for (int I = 0; I < PageCount(); ++I)
        if (Pages(I)->TabVisible()) return true;
    return false;
}

void TbsSkinPageControl::ChangeTempImages(int Delta)
{
    if (Vertical())
        FTempImages->SetHeight(MaxOf(1, FTempImages->Height() + Delta));
    else
        FTempImages->SetWidth(MaxOf(1, FTempImages->Width() + Delta));
    TabsChanged();
}

void TbsSkinPageControl::SetTabMargin(int Value)
{
    if (Value == FTabMargin || Value < -1) return;
    FTabMargin = Value;
    Repaint();
}

void TbsSkinPageControl::SetTabSpacing(int Value)
{
    if (Value == FTabSpacing) return;
    FTabSpacing = Value;
    Repaint();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value)
{
    if (Value == FTabLayout) return;
    FTabLayout = Value;
    Repaint();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value)
{
    FTextInHorizontal = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value)
{
    FTabExtendedDraw = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value)
{
    if (FTabsBGTransparent == Value) return;
    FTabsBGTransparent = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsInCenter(bool Value)
{
    if (TabWidth() == 0) {
        FTabsInCenter = false;
        return;
    }
    FTabsInCenter = Value;
    if (Value) {
        if (TabPosition() != tpTop) SetTabPosition(tpTop);
        if (MultiLine()) SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(int Value)
{
    FTabsOffset = Value;
    if (Value > 0) {
        if (TabPosition() != tpTop) SetTabPosition(tpTop);
        if (MultiLine()) SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value)
{
    if (FShowCloseButtons != Value) {
        FShowCloseButtons = Value;
        ChangeTempImages(Value ? FCloseSize : -FCloseSize);
    }
    Invalidate();
}

void TbsSkinPageControl::SetImages(TCustomImageList* Value)
{
    if (FImages) ChangeTempImages(-(Vertical() ? FImages->Height() : FImages->Width()));
    FImages = Value;
    if (FImages) {
        FImages->FreeNotification(this);
        ChangeTempImages(Vertical() ? FImages->Height() : FImages->Width());
    }
    Invalidate();
}

void TbsSkinPageControl::SetDefaultItemHeight(int Value)
{
    FDefaultItemHeight = Value;
    if (FIndex == -1) {
        SetItemSize(TabWidth(), Value);
        SyncScroller();
        Realign();
    }
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

// ---- skin --------------------------------------------------------------------------------------------------

void TbsSkinPageControl::GetSkinData()
{
    BGPictureIndex = -1;
    if (!FSD) {
        FIndex = -1;
        return;
    }
    FIndex = FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) {
        FIndex = -1;
        return;
    }
    Picture = R->PictureIndex >= 0 ? FSD->ActivePicture(R->PictureIndex) : nullptr;
    SkinRect = R->SkinRect;
    ClRect = R->ClRect;
    TabRect = R->TabRect;
    ActiveTabRect = IsEmptyRect(R->ActiveTabRect) ? R->TabRect : R->ActiveTabRect;
    FocusTabRect = IsEmptyRect(R->FocusTabRect) ? R->ActiveTabRect : R->FocusTabRect;
    MouseInTabRect = R->MouseInTabRect;
    TabsBGRect = R->TabsBGRect;
    LTPoint = R->LTPoint;
    RTPoint = R->RTPoint;
    LBPoint = R->LBPoint;
    RBPoint = R->RBPoint;
    TabLeftOffset = R->TabLeftOffset;
    TabRightOffset = R->TabRightOffset;
    FontName = R->FontName;
    FontStyle = R->FontStyle;
    FontHeight = R->FontHeight;
    FontColor = R->FontColor;
    ActiveFontColor = R->ActiveFontColor;
    FocusFontColor = R->FocusFontColor;
    MouseInFontColor = R->MouseInFontColor;
    UpDown = R->UpDown;
    BGPictureIndex = R->BGPictureIndex;
    TabStretchEffect = R->TabStretchEffect;
    ShowFocus = R->ShowFocus;
    FocusOffsetX = R->FocusOffsetX;
    FocusOffsetY = R->FocusOffsetY;
    LeftStretch = R->LeftStretch;
    TopStretch = R->TopStretch;
    RightStretch = R->RightStretch;
    BottomStretch = R->BottomStretch;
    StretchEffect = R->StretchEffect;
    StretchType = R->StretchType;
    CloseButtonRect = R->CloseButtonRect;
    ClosebuttonActiveRect = IsEmptyRect(R->CloseButtonActiveRect) ? CloseButtonRect : R->CloseButtonActiveRect;
    CloseButtonDownRect = IsEmptyRect(R->CloseButtonDownRect) ? ClosebuttonActiveRect : R->CloseButtonDownRect;
    ButtonTransparent = R->ButtonTransparent;
    ButtonTransparentColor = R->ButtonTransparentColor;
    TabLeftBottomActiveRect = R->TabLeftBottomActiveRect;
    TabLeftBottomFocusRect =
        IsEmptyRect(R->TabLeftBottomFocusRect) ? R->TabLeftBottomActiveRect : R->TabLeftBottomFocusRect;
}

int TbsSkinPageControl::GetCloseSize() const
{
    return FIndex != -1 && !IsEmptyRect(CloseButtonRect) ? CloseButtonRect.Width() : 14;
}

void TbsSkinPageControl::ApplyCharset(TFont* F)
{
    if (FSD && FSD->ResourceStrData())
        F->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        F->SetCharset(FDefaultFont->Charset());
}

void TbsSkinPageControl::ChangeSkinData()
{
    GetSkinData();
    if (FShowCloseButtons) {
        ChangeTempImages(-FCloseSize);
        FCloseSize = GetCloseSize();
        ChangeTempImages(FCloseSize);
    }
    int H;
    if (FIndex == -1) {
        Font()->Assign(FDefaultFont.get());
        ApplyCharset(Font());
        H = TabHeight() > 0 ? TabHeight() : FDefaultItemHeight;
    } else {
        if (FUseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetHeight(FontHeight);
            Font()->SetStyle(FontStyle);
        } else
            Font()->Assign(FDefaultFont.get());
        ApplyCharset(Font());
        Font()->SetColor(FontColor);
        H = TabHeight() > 0 ? TabHeight() : TabRect.Height();
    }
    SetItemSize(TabWidth(), H);
    SyncScroller();
    Realign();
    if (FSkinUpDown) {
        RemoveScroller();
        CheckScroller();
    }
    if (ActivePage()) ActivePage()->Repaint();
    Invalidate();
}

void TbsSkinPageControl::UpDateTabs()
{
    int H = TabHeight();
    if (H <= 0) H = FIndex == -1 ? FDefaultItemHeight : TabRect.Height();
    SetItemSize(TabWidth(), H);
    if (MultiLine()) RemoveScroller();
    Realign();
}

void TbsSkinPageControl::Loaded()
{
    TPageControl::Loaded();
    if (FIndex != -1) return;
    SetItemSize(TabWidth(), TabHeight() > 0 ? TabHeight() : FDefaultItemHeight);
    SyncScroller();
    Realign();
}

// ---- tabs: size, rectangles, offset -------------------------------------------------------------------------

void TbsSkinPageControl::SetItemSize(int AWidth, int AHeight)
{
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(AWidth, AHeight));
}

TRect TbsSkinPageControl::GetItemRect(int Index)
{
    TRect R;
    if (!Perform(TCM_GETITEMRECT, WPARAM(Index), LPARAM(&R))) return TRect();
    return R;
}

int TbsSkinPageControl::GetTabsOffset()
{
    if (FTabsOffset > 0) return FTabsOffset;
    if (TabWidth() == 0) return 0;
    int N = 0;
    for (int I = 0; I < PageCount(); ++I)
        if (Pages(I)->TabVisible()) ++N;
    return MaxOf(0, Width() / 2 - (N * TabWidth()) / 2);
}

int TbsSkinPageControl::GetHiddenTabCount()
{
    int N = 0;
    int Tab = 0;
    for (int I = 0; I < PageCount(); ++I) {
        if (!Pages(I)->TabVisible()) continue;
        const TRect R = GetItemRect(Tab++);
        if (R.Right > Width() - 3 || R.Right <= 0) ++N;
    }
    return N;
}

int TbsSkinPageControl::GetScrolledTabCount()
{
    int N = 0;
    int Tab = 0;
    for (int I = 0; I < PageCount(); ++I) {
        if (!Pages(I)->TabVisible()) continue;
        if (GetItemRect(Tab++).Right <= 0) ++N;
    }
    return N;
}

// ---- hiding and showing -------------------------------------------------------------------------------------

void TbsSkinPageControl::HideTabs()
{
    if (FOldTabHeight != -1 || !HasVisibleTabs()) return;
    FHideTabs = true;
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    if (Vertical()) SetTabPosition(tpTop);
    SetMultiLine(false);
    FOldTabHeight = TabHeight();
    SetTabHeight(1);
    RemoveScroller();
}

void TbsSkinPageControl::ShowTabs()
{
    if (FOldTabHeight == -1) return;
    SetTabPosition(FOLdTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(FOldTabHeight);
    if (FOldTabHeight <= 0 && FIndex != -1) SetItemSize(TabWidth(), TabRect.Height());
    else if (FOldTabHeight <= 0) SetItemSize(TabWidth(), FDefaultItemHeight);
    FOldTabHeight = -1;
    if (!MultiLine()) CheckScroller();
}

void TbsSkinPageControl::HideBorderAndTabs()
{
    if (TabPosition() != tpTop) SetTabPosition(tpTop);
    FHideTabs = true;
    FHideBorder = true;
    RemoveScroller();
    Realign();
}

void TbsSkinPageControl::ShowBorderAndTabs()
{
    FHideTabs = false;
    FHideBorder = false;
    ShowTabs();
    Realign();
}

// ---- the scroller -------------------------------------------------------------------------------------------

void TbsSkinPageControl::RemoveScroller()
{
    if (!FSkinUpDown) return;
    TbsSkinUpDown* U = FSkinUpDown;
    FSkinUpDown = nullptr;
    delete U;
}

void TbsSkinPageControl::CreateScroller()
{
    if (FHideTabs) return;
    auto* U = new TbsSkinUpDown(this);
    FSkinUpDown = U;
    U->SetParent(this);
    U->SetBounds(0, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
    U->SetMin(0);
    U->SetMax(GetHiddenTabCount());
    U->SetPosition(GetScrolledTabCount());
    U->SetIncrement(1);
    U->OnChange = [this](TObject*) { UpDownChange(); };
    U->SetLeft(Width() - U->Width());
    U->SetSkinDataName(UpDown);
    U->SetSkinData(FSD);
    int Top;
    const TRect D = DisplayRect();
    if (TabPosition() == tpTop)
        Top = FIndex == -1 ? 0 : MaxOf(0, D.Top - ClRect.Top - U->Height());
    else
        Top = FIndex == -1 ? Height() - U->Height()
                           : MinOf(SkinRect.Height() + D.Bottom - ClRect.Bottom, Height() - U->Height());
    U->SetTop(Top);
    U->SetVisible(true);
}

void TbsSkinPageControl::CheckScroller()
{
    // the platform's strip never makes arrows of its own; a foreign "msctls_updown32" child would go here
    const int N = GetHiddenTabCount();
    if (N == 0 || MultiLine()) {
        RemoveScroller();
        return;
    }
    if (!FSkinUpDown) CreateScroller();
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(N);
    FSkinUpDown->SetLeft(Width() - FSkinUpDown->Width());
}

void TbsSkinPageControl::SyncScroller()
{
    if (FSkinUpDown) FSkinUpDown->SetPosition(GetScrolledTabCount());
    Invalidate();
}

void TbsSkinPageControl::UpDownChange()
{
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(GetHiddenTabCount());
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(FSkinUpDown->Position())), 0);
}

void TbsSkinPageControl::Change()
{
    if (FSkinUpDown) FSkinUpDown->SetPosition(GetScrolledTabCount());
    TPageControl::Change();
    Invalidate();
    if (ActivePage()) ActivePage()->Invalidate();
}

// ---- pointer, close buttons, wheel --------------------------------------------------------------------------

void TbsSkinPageControl::TestActive(int X, int Y)
{
    if (FHideTabs) return;
    FOldActiveTab = FActiveTab;
    FOldActiveTabIndex = FActiveTabIndex;
    FActiveTab = -1;
    FActiveTabIndex = -1;
    int Tab = 0, Page = 0;
    for (; Page < PageCount(); ++Page) {
        if (!Pages(Page)->TabVisible()) continue;
        if (GetItemRect(Tab).Contains(Point(X, Y))) {
            FActiveTabIndex = Tab;
            break;
        }
        ++Tab;
    }
    FActiveTab = Page;
    if (FActiveTabIndex != FOldActiveTabIndex) {
        if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != TabIndex() && FOldActiveTab < PageCount()) {
            if (auto* S = SheetOf(FOldActiveTab)) S->ButtonMouseIn = S->ButtonMouseDown = false;
            RepaintTabs();
        }
        if (FActiveTabIndex != -1 && FActiveTabIndex != TabIndex() && FActiveTab < PageCount()) RepaintTabs();
    }
    if (FShowCloseButtons && FActiveTabIndex != -1)
        if (auto* S = SheetOf(FActiveTab)) {
            const TRect TR = GetItemRect(FActiveTabIndex);
            TRect B = S->ButtonRect;
            B = Rect(B.Left + TR.Left, B.Top + TR.Top, B.Right + TR.Left, B.Bottom + TR.Top);
            const bool In = B.Contains(Point(X, Y));
            if (In && !S->ButtonMouseIn) {
                S->ButtonMouseIn = true;
                RepaintTabs();
            } else if (!In && S->ButtonMouseIn) {
                S->ButtonMouseIn = S->ButtonMouseDown = false;
                RepaintTabs();
            }
        }
}

void TbsSkinPageControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TPageControl::MouseMove(Shift, X, Y);
    if (!ComponentState().Contains(csDesigning)) TestActive(X, Y);
}

void TbsSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPageControl::MouseDown(Button, Shift, X, Y);
    if (FHideTabs) return;
    if (Button == mbLeft && !Centred() && !ComponentState().Contains(csDesigning)) TestActive(X, Y);
    if (Button != mbLeft || !FShowCloseButtons || FActiveTabIndex == -1) return;
    auto* S = SheetOf(FActiveTab);
    if (!S) return;
    // while the strip is moved, X and the tab rectangle are both unmoved here
    const TRect TR = GetItemRect(FActiveTabIndex);
    const TRect B(S->ButtonRect.Left + TR.Left, S->ButtonRect.Top + TR.Top, S->ButtonRect.Right + TR.Left,
                  S->ButtonRect.Bottom + TR.Top);
    if (B.Contains(Point(X, Y))) {
        S->ButtonMouseIn = S->ButtonMouseDown = true;
        RepaintTabs();
    } else
        S->ButtonMouseIn = S->ButtonMouseDown = false;
}

void TbsSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPageControl::MouseUp(Button, Shift, X, Y);
    if (FHideTabs) return;
    if (Button == mbLeft && !Centred() && !ComponentState().Contains(csDesigning)) TestActive(X, Y);
    if (Button != mbLeft || !FShowCloseButtons || FActiveTabIndex == -1) return;
    auto* S = SheetOf(FActiveTab);
    if (!S) return;
    // while the strip is moved, X and the tab rectangle are both unmoved here
    const TRect TR = GetItemRect(FActiveTabIndex);
    const TRect B(S->ButtonRect.Left + TR.Left, S->ButtonRect.Top + TR.Top, S->ButtonRect.Right + TR.Left,
                  S->ButtonRect.Bottom + TR.Top);
    // only a press and a release on one and the same button close, and they close its page
    const bool Pressed = S->ButtonMouseDown;
    if (B.Contains(Point(X, Y))) {
        S->ButtonMouseIn = true;
        S->ButtonMouseDown = false;
        RepaintTabs();
        if (Pressed) ClosePage(S);
    } else
        S->ButtonMouseIn = S->ButtonMouseDown = false;
}

void TbsSkinPageControl::ClosePage(TTabSheet* P)
{
    if (!P) return;
    bool CanClose = true;
    if (OnClose) OnClose(P, CanClose);
    if (CanClose) {
        P->SetTabVisible(false);
        if (FFreeOnClose) delete P;
        if (OnAfterClose) OnAfterClose(this);
    } else if (WindowFromPoint(GetCursorPos()) != Handle()) {
        if (auto* S = dynamic_cast<TbsSkinCustomTabSheet*>(P)) S->ButtonMouseIn = S->ButtonMouseDown = false;
        RepaintTabs();
    }
}

// ---- messages -----------------------------------------------------------------------------------------------

void TbsSkinPageControl::WndProc(TMessage& M)
{
    const bool Shifted = Centred() && !FHideTabs;
    switch (M.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TPageControl::WndProc(M);
        Invalidate();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCHITTEST:
        if (Shifted) {
            const int X = int16_t(LOWORD(M.LParam)) - GetTabsOffset();
            M.LParam = MAKELPARAM(WORD(X), HIWORD(M.LParam));
            FMouseShifted = true;
            TPageControl::WndProc(M);
            FMouseShifted = false;
            return;
        }
        break;
    }
    TPageControl::WndProc(M);
    switch (M.Msg) {
    case TCM_ADJUSTRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (!R) break;
        if (FHideBorder) {
            *R = Rect(0, -2, Width(), Height());
            break;
        }
        GetSkinData();
        const TRect C = ClientRect();
        const int CW = C.Width(), CH = C.Height();
        const bool Sk = FIndex != -1;
        const int L = ClRect.Left, T = ClRect.Top, Rm = SkinRect.Width() - ClRect.Right,
                  Bm = SkinRect.Height() - ClRect.Bottom;
        switch (TabPosition()) {
        case tpTop:
            if (!Sk) *R = Rect(1, R->Top - 5, CW - 1, CH - 1);
            else *R = Rect(L, R->Top - 6 + T, CW - Rm, CH - Bm);
            if (FHideTabs) R->Top -= 1;
            break;
        case tpBottom:
            if (!Sk) *R = Rect(1, 1, CW - 1, R->Bottom + 3);
            else {
                *R = Rect(L, R->Top - 4 + T, CW - Rm, R->Bottom + 4 - Bm);
                if (FHideTabs) R->Bottom += 1;
            }
            break;
        case tpLeft:
            if (!Sk) *R = Rect(R->Left - 3, R->Top - 5, CW - 1, CH - 1);
            else *R = Rect(R->Left + L - 4, R->Top - 4 + T, CW - Rm, CH - Bm);
            if (FHideTabs) R->Left -= 1;
            break;
        case tpRight:
            if (!Sk) *R = Rect(R->Left - 3, R->Top - 5, R->Right + 3, CH - 1);
            else *R = Rect(L, R->Top - 4 + T, R->Right - Rm + 4, CH - Bm);
            if (FHideTabs) R->Right += 1;
            break;
        }
        break;
    }
    case TCM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(M.LParam);
        if (!R || M.Result == 0 || Style() != tsTabs) break;
        auto Move = [R](int DX, int DY) { *R = Rect(R->Left + DX, R->Top + DY, R->Right + DX, R->Bottom + DY); };
        switch (TabPosition()) {
        case tpTop:
            Move(MultiLine() ? 0 : -2, -2);
            if (Centred() && !FMouseShifted) Move(GetTabsOffset(), 0);
            break;
        case tpBottom: Move(MultiLine() ? 0 : -2, 2); break;
        case tpLeft: Move(-2, 0); break;
        case tpRight: Move(2, 0); break;
        }
        break;
    }
    case WM_SIZE:
        if (!MultiLine() && !ComponentState().Contains(csDesigning)) CheckScroller();
        break;
    }
}

void TbsSkinPageControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case TCM_SETCURSEL:
        TPageControl::Dispatch(M);
        if (!ComponentState().Contains(csLoading)) Invalidate();
        return;
    case WM_MOUSEWHEEL: {
        TPageControl::Dispatch(M);
        if (!FMouseWheelSupport || !Focused() || !ActivePage()) return;
        const int Delta = int16_t(HIWORD(M.WParam));
        const int From = ActivePage()->PageIndex();
        const int Step = Delta < 0 ? 1 : -1;
        for (int I = From + Step; I >= 0 && I < PageCount(); I += Step)
            if (Pages(I)->TabVisible()) {
                SetActivePage(Pages(I));
                break;
            }
        return;
    }
    case WM_ERASEBKGND: {
        if (PageCount() > 0 && HasVisibleTabs()) {
            M.Result = 1;
            return;
        }
        GetSkinData();
        if (FIndex == -1) {
            TPageControl::Dispatch(M);
            return;
        }
        TCanvas C;
        C.SetHandle(HDC(M.WParam));
        DrawSkinBackground(&C);
        C.SetHandle(nullptr);
        M.Result = 1;
        return;
    }
    case WM_HSCROLL:
        TPageControl::Dispatch(M);
        Repaint();
        return;
    case WM_SIZE:
        GetSkinData();
        break;
    case CM_MOUSELEAVE:
        TPageControl::Dispatch(M);
        if (FHideTabs) return;
        TestActive(-1, -1);
        for (int* P : {&FOldActiveTabIndex, &FActiveTabIndex})
            if (*P != -1 && *P != TabIndex() && *P < PageCount()) {
                *P = -1;
                RepaintTabs();
            }
        return;
    case ParentBackgroundChanged:
        if (FTabsBGTransparent) Repaint();
        return;
    case PaintNonClientToDC: M.Result = PaintNonClientToDCAnswer; return;
    }
    TPageControl::Dispatch(M);
}
