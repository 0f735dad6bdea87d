// The MDI tabs bar: layout, the looks of the strip and of its tabs, the mouse (hover,
// show, drag to reorder, close buttons, the add button, the child's system menu), the
// list buttons and their menus, and the skin.
#include "skin/frame/bsSkinMDITabsBar.h"

#include <algorithm>

#include "platform/forms/Menus.h"
#include "skin/core/bsUtils.h"

namespace {

const TColor HotTabColor = RGB(193, 212, 243);
const TColor ActiveTabColor = RGB(162, 188, 228);

bool Contains(const TRect& R, int X, int Y) { return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom; }

// The picture rectangle of a button record for a state, with the record's fallbacks.
TRect ButtonLook(TbsDataSkinButtonControl* D, bool Down, bool Hot, TColor& Text)
{
    if (Down) {
        Text = D->DownFontColor;
        if (!IsEmptyRect(D->DownSkinRect)) return D->DownSkinRect;
        Hot = true;
    }
    if (Hot) {
        if (!Down) Text = D->ActiveFontColor;
        if (!IsEmptyRect(D->ActiveSkinRect)) return D->ActiveSkinRect;
    }
    if (!Down && !Hot) Text = D->FontColor;
    return D->SkinRect;
}

// A button record's nine-piece image of W x H in B.
void BuildButtonImage(TBitmap* B, TbsDataSkinButtonControl* D, TBitmap* Pic, const TRect& Src, int W, int H)
{
    B->SetSize(W, H);
    const int DX = W - D->SkinRect.Width(), DY = H - D->SkinRect.Height();
    CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                    TPoint(D->RTPoint.X + DX, D->RTPoint.Y), TPoint(D->LBPoint.X, D->LBPoint.Y + DY),
                    TPoint(D->RBPoint.X + DX, D->RBPoint.Y + DY),
                    TRect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY), B, Pic, Src, W, H,
                    true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                    D->StretchType);
}

TbsSkinFormFrame* FrameOf(TCustomForm* F) { return F ? FindSkinFormComponent(F) : nullptr; }

}  // namespace

// ---- TbsMDITab ------------------------------------------------------------------------------

TbsMDITab::TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild) : TabsBar(AParentBar), Child(AChild) {}

void TbsMDITab::Draw(TCanvas* Cnvs)
{
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0 || !Cnvs) return;
    TbsSkinMDITabsBar* Bar = TabsBar;
    const bool Skinned = Bar->FIndex != -1;
    TBitmap B;
    B.SetSize(W, H);
    if (Skinned && Bar->TabKind() == bstkButton) ButtonDraw(&B);
    else if (!Skinned || !Bar->Picture) DefaultDraw(&B);
    else if (Bar->UseSkinSize()) SkinSizeDraw(&B);
    else ResizeDraw(&B);
    if (B.Width() <= 0 || B.Height() <= 0) return;
    // taller pictures (the active tab) grow upwards from the bottom of the tab's place
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Bottom - B.Height(), &B);
}

void TbsMDITab::DefaultDraw(TBitmap* B)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    const int W = B->Width(), H = B->Height();
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(MouseIn && !Active ? HotTabColor : Active ? ActiveTabColor : clBtnFace);
    C->FillRect(TRect(0, 0, W, H));
    C->Font()->Assign(Bar->DefaultFont());
    TRect R = Bar->ShowCloseButtons() ? TRect(2, 0, W - Bar->FCloseSize - 5, H) : TRect(2, 0, W - 2, H);
    if (Bar->ShowCloseButtons()) DrawCloseButton(C, TRect(R.Right, 0, W, H));
    DrawCaption(B, R, true);
}

void TbsMDITab::SkinSizeDraw(TBitmap* B)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    const int W = B->Width();
    TRect PR = Bar->TabRect;
    TColor Text = Bar->FontColor;
    if (MouseIn && !Active) {
        PR = Bar->MouseInTabRect;
        Text = Bar->MouseInFontColor;
    } else if (Active) {
        PR = Bar->ActiveTabRect;
        Text = Bar->ActiveFontColor;
    }
    const int H = PR.Height();
    B->SetSize(W, std::max(1, H));
    CreateHSkinImage(Bar->TabLeftOffset, Bar->TabRightOffset, B, Bar->Picture, PR, W, H, Bar->TabStretchEffect);
    B->Canvas()->Font()->SetColor(Text);
    TRect R = Bar->ShowCloseButtons() ? TRect(2, 1, W - Bar->FCloseSize - 5, H)
                                      : TRect(Bar->TabLeftOffset, 1, W - Bar->TabRightOffset, H);
    if (Bar->ShowCloseButtons()) DrawCloseButton(B->Canvas(), TRect(R.Right, 1, W, H));
    DrawCaption(B, R, false);
}

void TbsMDITab::ResizeDraw(TBitmap* B)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    const int W = B->Width();
    const int H = B->Height() + (Active ? Bar->FActiveTabOffset : 0);
    B->SetSize(W, std::max(1, H));
    TRect PR = Bar->TabRect;
    TColor Text = Bar->FontColor;
    if (MouseIn && !Active && !IsEmptyRect(Bar->MouseInTabRect)) {
        PR = Bar->MouseInTabRect;
        Text = Bar->MouseInFontColor;
    } else if (Active) {
        PR = Bar->ActiveTabRect;
        Text = Bar->ActiveFontColor;
    }
    const int Q = Bar->TabRect.Height() / 4;
    CreateStretchSkinImage(B, Bar->Picture, PR,
                           TRect(Bar->TabLeftOffset, Q, PR.Width() - Bar->TabRightOffset, PR.Height() - Q), true);
    B->Canvas()->Font()->SetColor(Text);
    TRect R = Bar->ShowCloseButtons() ? TRect(2, 1, W - Bar->FCloseSize - 5, H) : TRect(2, 1, W - 2, H);
    if (Bar->ShowCloseButtons()) DrawCloseButton(B->Canvas(), TRect(R.Right, 1, W, H));
    DrawCaption(B, R, true);
}

void TbsMDITab::ButtonDraw(TBitmap* B)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    TbsDataSkinButtonControl* D = Bar->ButtonRecord("resizebutton");
    TBitmap* Pic = D && Bar->SkinData() ? Bar->SkinData()->ActivePicture(D->PictureIndex) : nullptr;
    const int W = B->Width(), H = B->Height();
    if (!D || !Pic) {
        B->SetSize(0, 0);
        return;
    }
    TColor Text = D->FontColor;
    TRect Src = ButtonLook(D, Active, MouseIn, Text);
    BuildButtonImage(B, D, Pic, Src, W, H);
    B->Canvas()->Font()->SetColor(Text);
    const int DX = W - D->SkinRect.Width(), DY = H - D->SkinRect.Height();
    TRect R(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY);
    if (Bar->ShowCloseButtons()) {
        R.Right -= Bar->FCloseSize + 3;
        DrawCloseButton(B->Canvas(), TRect(R.Right, 0, R.Right + Bar->FCloseSize + 3, H));
    }
    // an area lower than the text (in the caption's font) is made as high as the text,
    // centred on the tab
    SetCaptionFont(B->Canvas());
    int TH = B->Canvas()->TextHeight("Wg");
    if (R.Height() < TH) {
        R.Top = (H - TH) / 2;
        R.Bottom = R.Top + TH;
    }
    B->Canvas()->Font()->SetColor(Text);
    DrawCaption(B, R, true);
}

void TbsMDITab::SetCaptionFont(TCanvas* C)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    TbsSkinData* SD = Bar->SkinData();
    TColor Color = C->Font()->Color();
    if (Bar->UseSkinFont() && Bar->FIndex != -1 && !Bar->FontName.empty()) {
        C->Font()->SetName(Bar->FontName);
        C->Font()->SetStyle(Bar->FontStyle);
        C->Font()->SetHeight(Bar->FontHeight);
        C->Font()->SetColor(Color);
    } else if (Bar->FIndex != -1) {
        C->Font()->Assign(Bar->DefaultFont());
        C->Font()->SetColor(Color);
    }
    if (SD && SD->ResourceStrData()) C->Font()->SetCharset(SD->ResourceStrData()->CharSet());
}

void TbsMDITab::DrawCaption(TBitmap* B, TRect R, bool FireDrawParams)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    TCanvas* C = B->Canvas();
    SetCaptionFont(C);
    if (Bar->ShowChildIcon()) {
        TRect Slot(R.Left, R.Top, R.Left + 20, R.Bottom);
        DrawChildIcon(C, Slot);
        R.Left = Slot.Right;
    }
    if (R.Width() <= 0 || !Child) return;
    String Caption = Child->Caption();
    CutWideTextToWidth(C, Caption, R.Width());
    if (FireDrawParams && Bar->OnTabGetDrawParamsEvent) Bar->OnTabGetDrawParamsEvent(this, C);
    C->Brush()->SetStyle(bsClear);
    UINT Flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Bar->BiDiMode() != bdLeftToRight) Flags |= DT_RTLREADING;
    DrawWideText(C, Caption, R, Flags);
}

void TbsMDITab::DrawChildIcon(TCanvas* Cnvs, TRect& Slot)
{
    HICON Icon = nullptr, Loaded = nullptr;
    if (auto* I = Child ? dynamic_cast<TIcon*>(Child->Icon()) : nullptr; I && I->Handle()) Icon = I->Handle();
    if (!Icon && Application)
        if (auto* I = dynamic_cast<TIcon*>(Application->Icon()); I && I->Handle()) Icon = I->Handle();
    if (!Icon) Icon = Loaded = LoadIcon(0, IDI_APPLICATION);
    if (!Icon) return;
    int W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
    if (W <= 0 || H <= 0) {
        W = GetSystemMetrics(SM_CXSIZE);
        H = GetSystemMetrics(SM_CYSIZE);
    }
    // a slot narrower than the icon takes the icon's width
    if (Slot.Width() < W) Slot.Right = Slot.Left + W;
    DrawIconEx(Cnvs->Handle(), Slot.Left + (Slot.Width() - W) / 2, Slot.Top + (Slot.Height() - H) / 2, Icon, W, H, 0, nullptr,
               DI_NORMAL);
    if (Loaded) DestroyIcon(Loaded);
}

void TbsMDITab::DrawCloseButton(TCanvas* Cnvs, TRect R)
{
    TbsSkinMDITabsBar* Bar = TabsBar;
    const bool Skinned = Bar->FIndex != -1;
    const int S = Bar->FCloseSize;
    const int Top = R.Top + (R.Height() - S) / 2;
    ButtonRect = TRect(R.Left, Top, R.Left + S, Top + S);
    if (!Skinned) {
        TRect Box(R.Left, R.Top + (R.Height() - 14) / 2, R.Left + 14, R.Top + (R.Height() - 14) / 2 + 14);
        ButtonRect = Box;
        DrawCloseImage(Cnvs, Box.Left + 2, Box.Top + 2, ButtonMouseIn ? clWhite : clBlack);
        return;
    }
    if (!IsEmptyRect(Bar->CloseButtonRect) && Bar->Picture) {
        TRect Src = ButtonMouseIn && ButtonMouseDown ? Bar->CloseButtonDownRect
                    : ButtonMouseIn                  ? Bar->ClosebuttonActiveRect
                                                     : Bar->CloseButtonRect;
        TBitmap P;
        bsCopyPicturePart(&P, Bar->Picture, Src);
        ButtonRect = TRect(R.Left, R.Top + (R.Height() - P.Height()) / 2, R.Left + P.Width(),
                           R.Top + (R.Height() - P.Height()) / 2 + P.Height());
        if (Bar->ButtonTransparent) {
            P.SetTransparentColor(Bar->ButtonTransparentColor);
            P.SetTransparent(true);
        }
        Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &P);
        return;
    }
    TbsDataSkinButtonControl* D = Bar->ButtonRecord("resizetoolbutton");
    TBitmap* Pic = D && Bar->SkinData() ? Bar->SkinData()->ActivePicture(D->PictureIndex) : nullptr;
    if (!D || !Pic || S <= 0) return;
    TColor Text = D->FontColor;
    TRect Src = ButtonLook(D, ButtonMouseIn && ButtonMouseDown, ButtonMouseIn, Text);
    TBitmap P;
    BuildButtonImage(&P, D, Pic, Src, S, S);
    DrawCloseImage(P.Canvas(), S / 2 - 5, S / 2 - 5, Text);
    Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &P);
}

// ---- TbsSkinMDITabsBar: construction and properties ------------------------------------------

TbsSkinMDITabsBar::TbsSkinMDITabsBar(TComponent* AOwner) : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    FSkinDataName = "tab";
    SetBounds(0, 0, 150, 21);
    FListMenu = new TbsSkinPopupMenu(this);
    FHideListMenu = new TbsSkinPopupMenu(this);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar()
{
    Destroying();
    if (BSF && BSF->MDITabsBar() == this) BSF->SetMDITabsBar(nullptr);
    ObjectList.clear();
    RemoveHideListButton();
    RemoveListButton();
}

void TbsSkinMDITabsBar::SetShowAddButton(bool Value)
{
    if (FShowAddButton == Value) return;
    FShowAddButton = Value;
    Invalidate();
}

void TbsSkinMDITabsBar::SetShowCloseButtons(bool V)
{
    if (FShowCloseButtons == V) return;
    FShowCloseButtons = V;
    Invalidate();
}

void TbsSkinMDITabsBar::SetMinTabWidth(int V)
{
    FMinTabWidth = std::max(0, V);
    Invalidate();
}

void TbsSkinMDITabsBar::SetDefaultTabWidth(int V)
{
    // a tab is never narrower than one pixel: the shared width is capped by this one
    FDefaultTabWidth = std::max(1, V);
    Invalidate();
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value)
{
    if (FTabKind == Value) return;
    FTabKind = Value;
    if (FIndex != -1) ChangeSkinData();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMDITabsBar::SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

void TbsSkinMDITabsBar::SetShowChildIcon(bool Value)
{
    if (FShowChildIcon == Value) return;
    FShowChildIcon = Value;
    Invalidate();
}

void TbsSkinMDITabsBar::SetSkinFormFrame(TbsSkinFormFrame* Value)
{
    BSF = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == BSF) BSF = nullptr;
    if (AComponent == FListButton) FListButton = nullptr;
    if (AComponent == FHideListButton) FHideListButton = nullptr;
    if (AComponent == FListMenu) FListMenu = nullptr;
    if (AComponent == FHideListMenu) FHideListMenu = nullptr;
    // a child form going away takes its tab with it
    for (size_t I = 0; I < ObjectList.size(); ++I)
        if (ObjectList[I]->Child == AComponent) {
            ObjectList.erase(ObjectList.begin() + long(I));
            ActiveTabIndex = OldTabIndex = DragIndex = -1;
            IsDrag = FDown = false;
            break;
        }
}

// ---- the tabs --------------------------------------------------------------------------------

void TbsSkinMDITabsBar::AddTab(TCustomForm* Child)
{
    if (!Child) return;
    ObjectList.push_back(std::make_unique<TbsMDITab>(this, Child));
    Child->FreeNotification(this);
    if (!FListButton) ShowListButton();
    Invalidate();
}

void TbsSkinMDITabsBar::DeleteTab(TCustomForm* Child)
{
    if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() && ObjectList[size_t(ActiveTabIndex)]->Child == Child) {
        if (OnTabMouseLeave) OnTabMouseLeave(ObjectList[size_t(ActiveTabIndex)].get());
        ActiveTabIndex = OldTabIndex = -1;
    }
    for (size_t I = 0; I < ObjectList.size(); ++I)
        if (ObjectList[I]->Child == Child) {
            // a drag of this or a later tab would point elsewhere now: it ends
            if (DragIndex >= int(I)) {
                DragIndex = -1;
                IsDrag = FDown = false;
                TabDX = 0;
            }
            ObjectList.erase(ObjectList.begin() + long(I));
            break;
        }
    if (ObjectList.empty()) RemoveListButton();
    Invalidate();
}

void TbsSkinMDITabsBar::UpdateActiveTab()
{
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    TCustomForm* A = Main ? Main->ActiveMDIChild() : nullptr;
    if (!A) return;
    for (auto& T : ObjectList) T->Active = T->Child == A;
    Invalidate();
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) const
{
    for (size_t I = 0; I < ObjectList.size(); ++I)
        if (ObjectList[I]->Visible && Contains(ObjectList[I]->ObjectRect, X, Y)) return int(I);
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) const
{
    int I = GetTabIndex(X, Y);
    return I == -1 ? nullptr : ObjectList[size_t(I)].get();
}

int TbsSkinMDITabsBar::GetCloseSize() const
{
    if (FIndex == -1 || IsEmptyRect(CloseButtonRect)) return 14;
    return CloseButtonRect.Width();
}

TbsDataSkinButtonControl* TbsSkinMDITabsBar::ButtonRecord(const String& Name) const
{
    if (!FSD || FSD->Empty) return nullptr;
    int I = FSD->GetControlIndex(Name);
    if (I < 0 || I >= int(FSD->CtrlList.size())) return nullptr;
    return dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get());
}

// ---- layout -------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::CalcTabRects()
{
    const int H = Height();
    if (ObjectList.empty()) {
        FInVisibleCount = 0;
        FAddButtonRect = TRect(2, H / 2 - 8, 16, H / 2 + 6);
        return;
    }
    FInVisibleCount = 0;
    const int W = Width() - (FShowAddButton ? 19 : 0);
    const int TH = FTabKind == bstkButton ? H : H - FBottomOffset;
    const int N = int(ObjectList.size());
    const int B = std::max(0, std::min((W - 15) / N, FDefaultTabWidth));
    int X = 15;
    int LastRight = -1;
    if (FMinTabWidth != 0 && B < FMinTabWidth) {
        const int Shown = std::max(0, (W - 30) / FMinTabWidth);
        for (int I = 0; I < N; ++I) {
            TbsMDITab* T = ObjectList[size_t(I)].get();
            if (I < Shown) {
                T->ObjectRect = TRect(X, 0, X + FMinTabWidth, TH);
                T->Visible = true;
                X += FMinTabWidth;
                LastRight = T->ObjectRect.Right;
            } else {
                T->ObjectRect = TRect();
                T->Visible = false;
                ++FInVisibleCount;
            }
        }
        FDragLimit = W - 15;
    } else {
        for (int I = 0; I < N; ++I) {
            TbsMDITab* T = ObjectList[size_t(I)].get();
            T->ObjectRect = TRect(X, 0, X + B, TH);
            T->Visible = true;
            X += B;
        }
        // the last tab takes what the division left over
        if (B < FDefaultTabWidth) ObjectList.back()->ObjectRect.Right = W;
        LastRight = ObjectList.back()->ObjectRect.Right;
        FDragLimit = W;
    }
    const int AX = LastRight < 0 ? 2 : LastRight + 2;
    FAddButtonRect = TRect(AX, H / 2 - 8, AX + 14, H / 2 + 6);
    if (IsDrag && DragIndex >= 0 && DragIndex < N) {
        TRect& R = ObjectList[size_t(DragIndex)]->ObjectRect;
        OffsetRect(R, TabDX, 0);
        if (R.Right > FDragLimit) OffsetRect(R, FDragLimit - R.Right, 0);
        if (R.Left < 0) OffsetRect(R, -R.Left, 0);
    }
}

int TbsSkinMDITabsBar::GetDropIndex() const
{
    const int N = TabCount();
    if (N == 0 || TabDX == 0 || DragIndex < 0 || DragIndex >= N) return -1;
    const TRect& D = ObjectList[size_t(DragIndex)]->ObjectRect;
    if (TabDX > 0) {
        int Found = -1;
        for (int I = DragIndex + 1; I < N; ++I) {
            const TbsMDITab* T = ObjectList[size_t(I)].get();
            if (T->Visible && T->ObjectRect.Left + T->ObjectRect.Width() / 2 < D.Right) Found = I;
        }
        return Found;
    }
    for (int I = 0; I < DragIndex; ++I) {
        const TbsMDITab* T = ObjectList[size_t(I)].get();
        if (T->Visible && T->ObjectRect.Left + T->ObjectRect.Width() / 2 > D.Left) return I;
    }
    return -1;
}

// ---- painting ---------------------------------------------------------------------------------

void TbsSkinMDITabsBar::AdjustClientRect(TRect& Rect)
{
    TbsSkinControl::AdjustClientRect(Rect);
    if (FTabKind == bstkTab && FIndex != -1) Rect.Bottom -= FBottomOffset;
}

void TbsSkinMDITabsBar::Paint()
{
    TbsSkinControl::Paint();
    if (FInVisibleCount > 0 && !FHideListButton) ShowHideListButton();
    else if (FInVisibleCount == 0 && FHideListButton) RemoveHideListButton();
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, B->Width(), B->Height()));
    CalcTabRects();
    DrawAddButton(C);
    DrawTabs(C);
}

void TbsSkinMDITabsBar::CreateControlSkinImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const int W = B->Width(), H = B->Height();
    const int StripH = FTabKind == bstkButton ? H : H - FBottomOffset;
    const int CW = TabsBGRect.Width();
    if (FSD && FSD->MDITabsTransparent) {
        DrawParentBackground(this, C);
    } else if (CW <= 0 || TabsBGRect.Height() <= 0 || !Picture) {
        // the skin gives no strip cells: a plain face
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(TRect(0, 0, W, H));
    } else {
        TBitmap Cell;
        int PW = TabRect.Width() > 0 ? TabRect.Width() : CW, PH = TabRect.Height() > 0 ? TabRect.Height() : TabsBGRect.Height();
        Cell.SetSize(PW, PH);
        Cell.Canvas()->CopyRect(TRect(0, 0, PW, PH), Picture->Canvas(), TabsBGRect);
        for (int K = 0; K <= W / CW; ++K) C->StretchDraw(TRect(K * CW, 0, K * CW + CW, StripH), &Cell);
    }
    if (FTabKind == bstkTab && !IsEmptyRect(SkinRect) && FBottomOffset > 0 && Picture) {
        // the record's frame between its corner points, FBottomOffset rows high
        const int LO = LTPoint.X, RO = SkinRect.Width() - RTPoint.X;
        TRect Src(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X, SkinRect.Top + FBottomOffset);
        if (LO >= 0 && RO >= 0 && Src.Width() > 0) {
            TBitmap Strip;
            Strip.SetSize(W, FBottomOffset);
            CreateHSkinImage(LO, RO, &Strip, Picture, Src, W, FBottomOffset, TopStretch);
            C->Draw(0, H - FBottomOffset, &Strip);
        }
    }
    CalcTabRects();
    DrawAddButton(C);
    DrawTabs(C);
}

void TbsSkinMDITabsBar::DrawTabs(TCanvas* C)
{
    const bool Dragging = IsDrag && DragIndex >= 0 && DragIndex < TabCount();
    for (int I = 0; I < TabCount(); ++I) {
        TbsMDITab* T = ObjectList[size_t(I)].get();
        if (!T->Visible || (Dragging && I == DragIndex)) continue;
        T->Draw(C);
    }
    if (!Dragging) return;
    ObjectList[size_t(DragIndex)]->Draw(C);
    DrawDropMarker(C);
}

void TbsSkinMDITabsBar::DrawDropMarker(TCanvas* C)
{
    int I = GetDropIndex();
    if (I == -1) return;
    const TRect& R = ObjectList[size_t(I)]->ObjectRect;
    const int X = TabDX < 1 ? R.Left : R.Right;
    const int H = Height(), M = H / 2;
    TPenMode Old = C->Pen()->Mode();
    C->Pen()->SetMode(pmNot);
    for (int DXL = -1; DXL <= 1; ++DXL) {
        C->MoveTo(X + DXL, 0);
        C->LineTo(X + DXL, H);
    }
    C->Polyline({TPoint(X + 2, M), TPoint(X + 5, M - 3), TPoint(X + 5, M + 3), TPoint(X + 2, M)});
    C->Polyline({TPoint(X - 2, M), TPoint(X - 5, M - 3), TPoint(X - 5, M + 3), TPoint(X - 2, M)});
    C->Pen()->SetMode(Old);
}

void TbsSkinMDITabsBar::DrawAddButton(TCanvas* C)
{
    if (!FShowAddButton || IsEmptyRect(FAddButtonRect)) return;
    const TRect& R = FAddButtonRect;
    if (FIndex == -1) {
        C->Brush()->SetColor(FAddButtonActive ? HotTabColor : clBtnFace);
        C->FillRect(R);
        DrawArrowImage(C, R, clBtnText, 5);
        return;
    }
    TbsDataSkinButtonControl* D = ButtonRecord("resizetoolbutton");
    TBitmap* Pic = D && FSD ? FSD->ActivePicture(D->PictureIndex) : nullptr;
    if (!D || !Pic) return;
    TColor Text = D->FontColor;
    TRect Src = ButtonLook(D, FAddButtonDown && FAddButtonActive, FAddButtonActive, Text);
    TBitmap B;
    BuildButtonImage(&B, D, Pic, Src, R.Width(), R.Height());
    DrawArrowImage(B.Canvas(), TRect(0, 0, R.Width(), R.Height()),
                   FAddButtonActive || FAddButtonDown ? D->DownFontColor : D->FontColor, 5);
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinMDITabsBar::DrawTabOnBar(TbsMDITab* T)
{
    if (!T || !HandleAllocated()) return;
    // the tab is composed over the strip again with the next paint of the bar
    Invalidate();
}

// ---- mouse --------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::TrackTabs(int X, int Y)
{
    ActiveTabIndex = GetTabIndex(X, Y);
    const bool Changed = ActiveTabIndex != OldTabIndex;
    if (Changed) {
        if (OldTabIndex >= 0 && OldTabIndex < TabCount() && ObjectList[size_t(OldTabIndex)]->Visible) {
            TbsMDITab* T = ObjectList[size_t(OldTabIndex)].get();
            T->MouseIn = false;
            DrawTabOnBar(T);
            if (OnTabMouseLeave) OnTabMouseLeave(T);
        }
        if (ActiveTabIndex >= 0 && ObjectList[size_t(ActiveTabIndex)]->Visible) {
            TbsMDITab* T = ObjectList[size_t(ActiveTabIndex)].get();
            T->MouseIn = true;
            DrawTabOnBar(T);
            if (OnTabMouseEnter) OnTabMouseEnter(T);
        }
        OldTabIndex = ActiveTabIndex;
    }
    if (FShowCloseButtons) {
        if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount()) {
            TbsMDITab* T = ObjectList[size_t(ActiveTabIndex)].get();
            TRect BR = T->ButtonRect;
            OffsetRect(BR, T->ObjectRect.Left, T->ObjectRect.Top);
            const bool In = BR.Contains(TPoint(X, Y));
            if (In && !T->ButtonMouseIn) {
                T->ButtonMouseIn = true;
                DrawTabOnBar(T);
            } else if (!In && T->ButtonMouseIn) {
                T->ButtonMouseIn = T->ButtonMouseDown = false;
                DrawTabOnBar(T);
            }
        }
        if (Changed) {
            bool Repaint0 = false;
            for (int I = 0; I < TabCount(); ++I) {
                if (I == ActiveTabIndex) continue;
                TbsMDITab* T = ObjectList[size_t(I)].get();
                if (T->ButtonMouseIn || T->ButtonMouseDown) Repaint0 = true;
                T->ButtonMouseIn = T->ButtonMouseDown = false;
            }
            if (Repaint0) Invalidate();
        }
    }
    if (FShowAddButton) {
        const bool In = FAddButtonRect.Contains(TPoint(X, Y));
        if (In != FAddButtonActive) {
            FAddButtonActive = In;
            Invalidate();
        }
    }
}

void TbsSkinMDITabsBar::ShowChild(TCustomForm* Child)
{
    if (!Child) return;
    Child->Show();
    if (TbsSkinFormFrame* F = FrameOf(Child); F && F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
}

void TbsSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    const int I = GetTabIndex(X, Y);
    TbsMDITab* T = I == -1 ? nullptr : ObjectList[size_t(I)].get();
    if (Button == mbLeft && T) {
        TCustomForm* Child = T->Child;
        ShowChild(Child);
        // showing the child may have changed the tabs: find the tab again
        if (GetTab(X, Y) != T) return;
        FDown = true;
        DragIndex = FMoveTabs ? I : -1;
        DX = X;
        TabDX = 0;
        if (Shift.Contains(ssDouble) && FDblClickChildMove)
            if (TbsSkinFormFrame* F = FrameOf(Child); F && F->WindowState() == wsNormal)
                Child->SetBounds(0, 0, Child->Width(), Child->Height());
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, T);
        if (GetTab(X, Y) != T) return;
        if (FShowCloseButtons) {
            TRect BR = T->ButtonRect;
            OffsetRect(BR, T->ObjectRect.Left, T->ObjectRect.Top);
            if (BR.Contains(TPoint(X, Y))) {
                FDown = false;
                DragIndex = -1;
                T->ButtonMouseIn = T->ButtonMouseDown = true;
            } else {
                T->ButtonMouseIn = T->ButtonMouseDown = false;
            }
            DrawTabOnBar(T);
        }
    } else if (Button == mbLeft && FShowAddButton && FAddButtonActive && FAddButtonRect.Contains(TPoint(X, Y))) {
        FAddButtonDown = true;
        Invalidate();
    } else if (Button == mbRight && T) {
        TbsSkinFormFrame* ChildFrame = FrameOf(T->Child);
        if (FSupportChildMenus && ChildFrame && BSF) {
            TPoint P = ClientToScreen(TPoint(X, Y));
            BSF->PopupMenuItems(ChildFrame->GetSystemMenuItems(), Parent(), TRect(P.X, P.Y, P.X, P.Y));
        }
        if (GetTab(X, Y) == T && OnTabMouseDown) OnTabMouseDown(Button, Shift, T);
    }
}

void TbsSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1 && X != DX) IsDrag = true;
    if (IsDrag) {
        TabDX = X - DX;
        Invalidate();
    } else {
        TrackTabs(X, Y);
    }
}

void TbsSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        // the dragged tab's place at the release, for the drop target
        TabDX = X - DX;
        CalcTabRects();
        int To = GetDropIndex();
        IsDrag = false;
        if (To != -1 && To != DragIndex && DragIndex >= 0 && DragIndex < TabCount()) {
            auto Tab = std::move(ObjectList[size_t(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + To, std::move(Tab));
        }
        DragIndex = -1;
        DX = TabDX = 0;
        Invalidate();
        return;
    }
    DragIndex = -1;
    const int I = GetTabIndex(X, Y);
    TbsMDITab* T = I == -1 ? nullptr : ObjectList[size_t(I)].get();
    if (T && OnTabMouseUp) {
        OnTabMouseUp(Button, Shift, T);
        if (GetTab(X, Y) != T) T = nullptr;
    }
    if (FAddButtonDown) {
        FAddButtonDown = false;
        Invalidate();
        if (FAddButtonRect.Contains(TPoint(X, Y)) && OnAddButtonClick) OnAddButtonClick(this);
        return;
    }
    if (!FShowCloseButtons || !T || Button != mbLeft) return;
    TRect BR = T->ButtonRect;
    OffsetRect(BR, T->ObjectRect.Left, T->ObjectRect.Top);
    // only a press that began on this tab's close button closes its child
    if (BR.Contains(TPoint(X, Y)) && T->ButtonMouseDown) {
        T->ButtonMouseIn = true;
        T->ButtonMouseDown = false;
        DrawTabOnBar(T);
        CloseTab(T);
    } else {
        T->ButtonMouseIn = BR.Contains(TPoint(X, Y));
        T->ButtonMouseDown = false;
        DrawTabOnBar(T);
    }
}

void TbsSkinMDITabsBar::CloseTab(TbsMDITab* T)
{
    if (T && T->Child) T->Child->Close();
}

void TbsSkinMDITabsBar::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(M);
        if (!IsDrag) TrackTabs(-1, -1);
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(M);
        if (Align() == alNone && FIndex != -1 && FSD && FSD->MDITabsTransparent) Invalidate();
        return;
    case ParentBackgroundChanged:
        if (FIndex != -1 && FSD && FSD->MDITabsTransparent) Invalidate();
        return;
    }
    TbsSkinControl::Dispatch(M);
}

// ---- list buttons and menus ---------------------------------------------------------------

TbsSkinMenuSpeedButton* TbsSkinMDITabsBar::MakeListButton(TAlign Align, int ArrowKind, TbsSkinPopupMenu* Menu,
                                                          TNotifyEvent OnShow)
{
    auto* B = new TbsSkinMenuSpeedButton(this);
    B->SetAlign(Align);
    B->SetSkinDataName("resizetoolbutton");
    B->SetSkinData(FSD);
    B->SetWidth(15);
    B->FDrawStandardArrow = true;
    B->FArrowType = ArrowKind;
    B->SetSkinPopupMenu(Menu);
    B->OnShowTrackMenu = std::move(OnShow);
    B->SetParent(this);
    return B;
}

void TbsSkinMDITabsBar::FreeListButton(TbsSkinMenuSpeedButton*& Button)
{
    if (!Button) return;
    TbsSkinMenuSpeedButton* B = Button;
    Button = nullptr;
    B->SetVisible(false);
    delete B;
}

void TbsSkinMDITabsBar::ShowListButton()
{
    if (!FListButton) FListButton = MakeListButton(alLeft, 4, FListMenu, [this](TObject* S) { FillListMenu(S); });
}

void TbsSkinMDITabsBar::RemoveListButton() { FreeListButton(FListButton); }

void TbsSkinMDITabsBar::ShowHideListButton()
{
    if (FHideListButton) return;
    FHideListButton = MakeListButton(alRight, 2, FHideListMenu, [this](TObject* S) { FillHideListMenu(S); });
    FHideListButton->Repaint();
}

void TbsSkinMDITabsBar::RemoveHideListButton() { FreeListButton(FHideListButton); }

void TbsSkinMDITabsBar::FillTabsMenu(TbsSkinPopupMenu* Menu, bool HiddenOnly)
{
    // The items are the menu's own, without names (the children may have none, and the
    // menu is filled again at every opening): each one knows its child and the click
    // looks for it among the tabs, so a child closed meanwhile is not touched.
    if (!Menu) return;
    Menu->Items()->Clear();
    for (auto& T : ObjectList) {
        if ((HiddenOnly && T->Visible) || !T->Child) continue;
        auto* Item = new TMenuItem(nullptr);
        Item->SetCaption(T->Child->Caption());
        Item->SetRadioItem(true);
        Item->SetGroupIndex(0);
        Item->SetChecked(T->Active);
        TCustomForm* Child = T->Child;
        Item->OnClick = [this, Child](TObject*) { ListMenuItemClick(Child); };
        Menu->Items()->Add(Item);
    }
}

void TbsSkinMDITabsBar::FillListMenu(TObject*) { FillTabsMenu(FListMenu, false); }

void TbsSkinMDITabsBar::FillHideListMenu(TObject*) { FillTabsMenu(FHideListMenu, true); }

void TbsSkinMDITabsBar::ListMenuItemClick(TCustomForm* Child)
{
    for (auto& T : ObjectList)
        if (T->Child == Child) return ShowChild(Child);
}

// ---- skin ---------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    auto* D = FIndex != -1 && FIndex < int(FSD->CtrlList.size())
                  ? dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[size_t(FIndex)].get())
                  : nullptr;
    if (!D) {
        // no "tab" record of its kind: the default look
        FIndex = -1;
        Picture = nullptr;
        FBottomOffset = FActiveTabOffset = 0;
        return;
    }
    Picture = FSD->ActivePicture(D->PictureIndex);
    TabRect = D->TabRect;
    ActiveTabRect = IsEmptyRect(D->ActiveTabRect) ? D->TabRect : D->ActiveTabRect;
    MouseInTabRect = IsEmptyRect(D->MouseInTabRect) ? D->TabRect : D->MouseInTabRect;
    TabsBGRect = D->TabsBGRect;
    TabLeftOffset = D->TabLeftOffset;
    TabRightOffset = D->TabRightOffset;
    FontName = D->FontName;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    MouseInFontColor = D->MouseInFontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    TabStretchEffect = D->TabStretchEffect;
    CloseButtonRect = D->CloseButtonRect;
    ClosebuttonActiveRect = IsEmptyRect(D->CloseButtonActiveRect) ? CloseButtonRect : D->CloseButtonActiveRect;
    CloseButtonDownRect = IsEmptyRect(D->CloseButtonDownRect) ? ClosebuttonActiveRect : D->CloseButtonDownRect;
    ButtonTransparent = D->ButtonTransparent;
    ButtonTransparentColor = D->ButtonTransparentColor;
    LTPoint = D->LTPoint;
    RTPoint = D->RTPoint;
    ClRect = D->ClRect;
    SkinRect = D->SkinRect;
    TopStretch = D->TopStretch;
    FBottomOffset = std::max(0, ClRect.Top);
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData()
{
    TbsSkinControl::ChangeSkinData();
    FCloseSize = GetCloseSize();
    if (FIndex != -1 && FUseSkinSize) {
        int H = TabRect.Height() + (FTabKind == bstkTab ? FBottomOffset : 0);
        if (H > 0) SetHeight(H);
    } else if (FDefaultHeight > 0) {
        SetHeight(FDefaultHeight);
    }
    if (FListButton) FListButton->SetSkinData(FSD);
    if (FHideListButton) FHideListButton->SetSkinData(FSD);
    if (FShowCloseButtons) Invalidate();
    Realign();
}
