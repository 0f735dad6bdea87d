// The skinned list view: the platform's list view with two external skinned scroll bars,
// colours and font from the skin, its column header subclassed and painted from a button
// record of the skin, and (with DrawSkin) items painted here.
#include <algorithm>

#include "skin/controls/bsSkinCtrls.h"

namespace {

bool PointSet(TPoint P) { return P.X != 0 || P.Y != 0; }

// The nine-piece points of a record of SrcW x SrcH rebuilt at W x H: right points move by the
// width difference, bottom points by the height difference, the client part grows by both.
struct TResized {
    TPoint LT, RT, LB, RB;
    TRect Cl;
};
TResized ResizedPoints(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl, int SrcW, int SrcH, int W, int H)
{
    const int DX = W - SrcW, DY = H - SrcH;
    return {LT, TPoint(RT.X + DX, RT.Y), TPoint(LB.X, LB.Y + DY), TPoint(RB.X + DX, RB.Y + DY),
            TRect(Cl.Left, Cl.Top, Cl.Right + DX, Cl.Bottom + DY)};
}

void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
}

}  // namespace

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner) : TCustomListView(AOwner), FDefaultFont(new TFont)
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    Font()->Assign(FDefaultFont.get());
    FHeaderInstance = MakeObjectInstance([this](TMessage& M) { HeaderWndProc(M); });
}

TbsSkinCustomListView::~TbsSkinCustomListView()
{
    OnCustomDrawItem = nullptr;
    ReleaseHeader();
    FreeObjectInstance(FHeaderInstance);
    FHeaderInstance = nullptr;
}

// Gives a subclassed header its own procedure back and forgets it.
void TbsSkinCustomListView::ReleaseHeader()
{
    if (FHeaderHandle && FDefHeaderProc && IsWindow(FHeaderHandle) &&
        reinterpret_cast<WNDPROC>(GetWindowLong(FHeaderHandle, GWL_WNDPROC)) == FHeaderInstance)
        SetWindowLong(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
    FActiveSection = -1;
    FHeaderDown = FDevDown = false;
}

// ---- properties ----------------------------------------------------------------------------------

void TbsSkinCustomListView::SetSkinData(TbsSkinData* Value)
{
    if (FSD && FSD != Value) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TbsSkinCustomListView::SetHeaderSkinDataName(const String& Value)
{
    FHeaderSkinDataName = Value;
    if (FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, false);
}

void TbsSkinCustomListView::SetDrawSkin(bool Value)
{
    FDrawSkin = Value;
    if (Value && !ComponentState().Contains(csDesigning)) {
        OnCustomDrawItem = [this](TCustomListView* S, TListItem* I, TCustomDrawState St, bool& DD) {
            SkinDrawItem(S, I, St, DD);
        };
        SetFullDrag(false);
    }
    Invalidate();
}

void TbsSkinCustomListView::SetDrawSkinLines(bool Value)
{
    FDrawSkinLines = Value;
    if (Value && ComponentState().Contains(csDesigning)) SetGridLines(false);
    Invalidate();
}

void TbsSkinCustomListView::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    if (FIndex == -1) Font()->Assign(Value);
}

void TbsSkinCustomListView::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) SetColor(Value);
}

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* Value)
{
    bsLinkScrollBar(this, FVScrollBar, Value, [this](TObject* S) { VScrollChange(S); });
    UpDateScrollBars();
}

void TbsSkinCustomListView::SetHScrollBar(TbsSkinScrollBar* Value)
{
    bsLinkScrollBar(this, FHScrollBar, Value, [this](TObject* S) { HScrollChange(S); });
    UpDateScrollBars();
}

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinCustomListView::Loaded()
{
    FInCheckScrollBars = true;
    TCustomListView::Loaded();
    FInCheckScrollBars = false;
    ChangeSkinData();
}

// ---- the skin ---------------------------------------------------------------------------------------

void TbsSkinCustomListView::ChangeSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    auto* R = FIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinListView*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) {
        FIndex = -1;
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont.get());
        FLineColor = clBtnFace;
    } else {
        if (FUseSkinFont) {
            Font()->SetName(R->FontName);
            Font()->SetStyle(R->FontStyle);
            Font()->SetHeight(R->FontHeight);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        Font()->SetColor(R->FontColor);
        SetColor(R->BGColor);
        FLineColor = MixColors(MixColors(MixColors(R->FontColor, R->BGColor), R->BGColor), R->BGColor);
    }
    if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else Font()->SetCharset(FDefaultFont->Charset());
    UpDateScrollBars();
    for (TbsSkinScrollBar* B : {FVScrollBar, FHScrollBar})
        if (B && B->Align() != alNone && B->Parent()) B->Parent()->Realign();
    if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, false);
    Invalidate();
}

// ---- scroll bars ---------------------------------------------------------------------------------------

int TbsSkinCustomListView::FirstItemHeight()
{
    if (Items()->Count() == 0) return 0;
    return Items()->Item(0)->DisplayRect(drBounds).Height();
}

void TbsSkinCustomListView::UpDateScrollBars()
{
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5 || FInCheckScrollBars) return;
    if (ComponentState().Contains(csLoading)) return;
    const bool OldV = FVScrollBar && FVScrollBar->Visible();
    const bool OldH = FHScrollBar && FHScrollBar->Visible();
    SCROLLINFO V, H;
    V.fMask = H.fMask = SIF_ALL;
    GetScrollInfo(Handle(), SB_VERT, &V);
    GetScrollInfo(Handle(), SB_HORZ, &H);
    switch (ViewStyle()) {
    case vsIcon:
    case vsSmallIcon: {
        const int Step = std::max(1, FirstItemHeight() / 2);
        if (FVScrollBar) {
            const bool Vis = Height() < V.nMax && Visible();
            if (Vis) {
                FVScrollBar->SetSmallChange(Step);
                FVScrollBar->SetLargeChange(Step);
                FVScrollBar->SetRange(V.nMin, V.nMax, Height(), V.nPos);
            }
            FVScrollBar->SetVisible(Vis);
        }
        if (FHScrollBar) {
            const bool Vis = Width() < H.nMax && Visible();
            if (Vis) {
                FHScrollBar->SetSmallChange(Step);
                FHScrollBar->SetLargeChange(Step);
                FHScrollBar->SetRange(H.nMin, H.nMax, Width(), H.nPos);
            }
            FHScrollBar->SetVisible(Vis);
        }
        break;
    }
    case vsList: {
        if (FVScrollBar) FVScrollBar->SetVisible(false);
        if (FHScrollBar) {
            int IW = Items()->Count() ? Items()->Item(0)->DisplayRect(drBounds).Width() : 0;
            if (IW <= 0) IW = 1;
            const int Page = Width() / IW;
            const bool Vis = VisibleRowCount() < Items()->Count() && Visible();
            if (Vis) {
                FHScrollBar->SetRange(H.nMin, H.nMax, Page, H.nPos);
                FHScrollBar->SetSmallChange(1);
                FHScrollBar->SetLargeChange(1);
            }
            FHScrollBar->SetVisible(Vis);
        }
        break;
    }
    case vsReport: {
        const int Count = VisibleRowCount();
        if (FVScrollBar) {
            const bool Vis = Count < V.nMax + 1 && Visible();
            if (Vis) {
                FVScrollBar->SetRange(V.nMin, V.nMax, Count, V.nPos);
                FVScrollBar->SetSmallChange(1);
                FVScrollBar->SetLargeChange(Count > 0 ? Count : 1);
            }
            FVScrollBar->SetVisible(Vis);
        }
        if (FHScrollBar) {
            const bool Vis = Width() < H.nMax && Visible();
            if (Vis) FHScrollBar->SetRange(H.nMin, H.nMax, Width(), H.nPos);
            FHScrollBar->SetVisible(Vis);
        }
        break;
    }
    }
    if (FVScrollBar) FOldVScrollBarPos = FVScrollBar->Position();
    if (FHScrollBar) FOldHScrollBarPos = FHScrollBar->Position();
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    const bool Changed =
        (FVScrollBar && FVScrollBar->Visible() != OldV) || (FHScrollBar && FHScrollBar->Visible() != OldH);
    if (Changed && Align() != alNone && Parent()) {
        FInCheckScrollBars = true;
        Parent()->Realign();
        FInCheckScrollBars = false;
    }
}

void TbsSkinCustomListView::VScrollChange(TObject*)
{
    if (!FVScrollBar || !HandleAllocated()) return;
    FromSB = true;
    if (IsEditing()) CancelEdit();
    int D = FVScrollBar->Position() - FOldVScrollBarPos;
    if (ViewStyle() == vsList || ViewStyle() == vsReport) D *= FirstItemHeight();
    Scroll(0, D);
    FOldVScrollBarPos = FVScrollBar->Position();
    FromSB = false;
}

void TbsSkinCustomListView::HScrollChange(TObject*)
{
    if (!FHScrollBar || !HandleAllocated()) return;
    FromSB = true;
    if (IsEditing()) CancelEdit();
    const int P = FHScrollBar->Position();
    if (ViewStyle() == vsList) {
        for (int I = P; I < FOldHScrollBarPos; ++I) SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
        for (int I = FOldHScrollBarPos; I < P; ++I) SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    } else {
        Scroll(P - FOldHScrollBarPos, 0);
    }
    FOldHScrollBarPos = P;
    FromSB = false;
}

// ---- the window ---------------------------------------------------------------------------------------

void TbsSkinCustomListView::CreateParams(TCreateParams& Params)
{
    TCustomListView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomListView::CNNotify(TMessage& Message)
{
    TCustomListView::CNNotify(Message);
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    if (H && H->code == LVN_ITEMCHANGED && !FInCheckScrollBars) UpDateScrollBars();
}

void TbsSkinCustomListView::WndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_NCCALCSIZE: M.Result = 0; return;
    case WM_NCHITTEST: M.Result = HTCLIENT; return;
    case WM_NCPAINT: M.Result = 0; return;
    case PaintNonClientToDC: M.Result = PaintNonClientToDCAnswer; return;
    case PaintHeaderToDC:
        if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(M.WParam));
        M.Result = 0;
        return;
    case WM_PARENTNOTIFY: {
        HWND Child = reinterpret_cast<HWND>(M.LParam);
        if (LOWORD(M.WParam) == WM_CREATE && Child) {
            String Class = GetClassName(Child);
            if (Class.size() > 80) Class.resize(80);
            if (Class == "SysHeader32" && ShowColumnHeaders()) {
                ReleaseHeader();
                FHeaderHandle = Child;
                FDefHeaderProc = reinterpret_cast<WNDPROC>(
                    SetWindowLong(Child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance)));
            }
        } else if (LOWORD(M.WParam) == WM_DESTROY && Child && Child == FHeaderHandle) {
            ReleaseHeader();
        }
        break;
    }
    }
    TCustomListView::WndProc(M);
    switch (M.Msg) {
    case CM_VISIBLECHANGED:
        if (FVScrollBar) FVScrollBar->SetVisible(Visible());
        if (FHScrollBar) FHScrollBar->SetVisible(Visible());
        UpDateScrollBars();
        break;
    case WM_SIZE:
        if (!FInCheckScrollBars && Items()->Count() > 0) UpDateScrollBars();
        if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, false);
        break;
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
        if (ViewStyle() == vsReport && FHeaderHandle && (GridLines() || FDrawSkin) && HandleAllocated()) {
            // the row just below the header, where the grid would show a line
            const int Y = GetWindowRect(FHeaderHandle).Height();
            HDC DC = GetDC(Handle());
            if (DC) {
                FillSolid(DC, TRect(0, Y, ClientWidth(), Y + 1), Color());
                ReleaseDC(Handle(), DC);
            }
        }
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP: UpDateScrollBars(); break;
    }
}

// ---- the column header ---------------------------------------------------------------------------------

void TbsSkinCustomListView::HeaderWndProc(TMessage& M)
{
    HWND H = FHeaderHandle;
    if (!H) return;
    switch (M.Msg) {
    case WM_WINDOWPOSCHANGING: {
        // the header reaches past the list's right edge, so that no end of it ever shows
        auto* P = reinterpret_cast<WINDOWPOS*>(M.LParam);
        if (P && !(P->flags & SWP_NOSIZE)) P->cx += 25;
        M.Result = 0;
        return;
    }
    case WM_PAINT: {
        HDC DC = reinterpret_cast<HDC>(M.WParam);
        PAINTSTRUCT PS;
        if (!DC) DC = BeginPaint(H, &PS);
        if (DC) PaintHeader(DC);
        if (!M.WParam) EndPaint(H, &PS);
        M.Result = 0;
        break;
    }
    case WM_ERASEBKGND: M.Result = 1; return;
    default: M.Result = CallWindowProc(FDefHeaderProc, H, M.Msg, M.WParam, M.LParam); break;
    }
    if (FHeaderHandle != H) return;  // the header went away meanwhile
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const TPoint P(int(int16_t(LOWORD(M.LParam))), int(int16_t(HIWORD(M.LParam))));
        FActiveSection = -1;
        for (int I = 0; I < Columns()->Count(); ++I)
            if (SectionRect(I).Contains(P)) {
                FActiveSection = I;
                break;
            }
        HDHITTESTINFO Info;
        Info.pt = P;
        SendMessage(H, HDM_HITTEST, 0, LPARAM(&Info));
        if (Info.flags & HHT_ONDIVIDER) {
            FDevDown = true;
            FHeaderDown = false;
        } else {
            FHeaderDown = true;
            FDevDown = false;
        }
        RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    }
    case WM_LBUTTONUP:
        FHeaderDown = FDevDown = false;
        FActiveSection = -1;
        RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    case WM_MOUSEMOVE:
        if (FDevDown) RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    }
}

TRect TbsSkinCustomListView::SectionRect(int Index)
{
    TRect R;
    if (!FHeaderHandle) return R;
    int Item = Index;
    if (FullDrag()) {
        std::vector<int> Order(size_t(std::max(0, Columns()->Count())));
        if (!Order.empty() && SendMessage(FHeaderHandle, HDM_GETORDERARRAY, WPARAM(Order.size()), LPARAM(Order.data())))
            if (Index >= 0 && size_t(Index) < Order.size()) Item = Order[size_t(Index)];
    }
    SendMessage(FHeaderHandle, HDM_GETITEMRECT, WPARAM(Item), LPARAM(&R));
    return R;
}

void TbsSkinCustomListView::GetHeaderSkinData()
{
    FHIndex = -1;
    HPicture = nullptr;
    if (!FSD || FSD->Empty) return;
    int I = FSD->GetControlIndex(FHeaderSkinDataName);
    if (I == -1) I = FSD->GetControlIndex("resizetoolbutton");
    if (I == -1) return;
    // a record of another kind gives no picture: the header keeps the default look
    auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get());
    if (!R) return;
    HLTPt = R->LTPoint;
    HRTPt = R->RTPoint;
    HLBPt = R->LBPoint;
    HRBPt = R->RBPoint;
    HSkinRect = R->SkinRect;
    HClRect = R->ClRect;
    HStretchEffect = R->StretchEffect;
    HLeftStretch = R->LeftStretch;
    HTopStretch = R->TopStretch;
    HRightStretch = R->RightStretch;
    HBottomStretch = R->BottomStretch;
    HStretchType = R->StretchType;
    HPicture = FSD->ActivePicture(R->PictureIndex);
    HFontColor = R->FontColor;
    HActiveFontColor = R->ActiveFontColor;
    HDownFontColor = R->DownFontColor;
    HActiveSkinRect = R->ActiveSkinRect;
    HDownSkinRect = R->DownSkinRect;
    if (IsEmptyRect(HActiveSkinRect)) HActiveSkinRect = HSkinRect;
    if (IsEmptyRect(HDownSkinRect)) HDownSkinRect = HActiveSkinRect;
    if (HPicture && !IsEmptyRect(HSkinRect)) FHIndex = I;
}

void TbsSkinCustomListView::PaintHeader(HDC DC)
{
    if (!DC || !FHeaderHandle) return;
    ++FHeaderPaints;
    TCanvas C;
    C.SetHandle(DC);
    int Right = 0;
    for (int I = 0; I < Columns()->Count(); ++I) {
        const TRect R = SectionRect(I);
        DrawSection(&C, I, R, I == FActiveSection && FHeaderDown, false);
        Right = std::max(Right, R.Right);
    }
    const TRect HC = GetClientRect(FHeaderHandle);
    const TRect Rest(Right, 0, HC.Width() + 1, HC.Height());
    GetHeaderSkinData();
    if (!IsEmptyRect(Rest)) {
        if (FHIndex == -1) {
            FrameAndFill(&C, Rest, clBtnShadow, clBtnFace);
        } else {
            const int W = Rest.Width(), H = Rest.Height();
            TBitmap B;
            B.SetSize(W, H);
            if (PointSet(HLBPt)) {
                TResized N = ResizedPoints(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HSkinRect.Width(), HSkinRect.Height(), W, H);
                CreateSkinImage3(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, N.LT, N.RT, N.LB, N.RB, N.Cl, &B, HPicture,
                                 HSkinRect, W, H, true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch,
                                 HStretchEffect, HStretchType);
            } else {
                TBitmap Strip;
                CreateHSkinImage2(HLTPt.X, HSkinRect.Width() - HRTPt.X, &Strip, HPicture, HSkinRect, W,
                                  HSkinRect.Height(), HStretchEffect);
                B.Canvas()->StretchDraw(TRect(0, 0, W, H), &Strip);
            }
            C.Draw(Rest.Left, Rest.Top, &B);
        }
    }
    C.SetHandle(nullptr);
}

void TbsSkinCustomListView::DrawSection(TCanvas* C, int Index, TRect R, bool Pressed, bool Hot)
{
    if (IsEmptyRect(R) || Index < 0 || Index >= Columns()->Count()) return;
    const int W = R.Width(), H = R.Height();
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* BC = B.Canvas();
    GetHeaderSkinData();
    if (FHIndex == -1) {
        const TRect All(0, 0, W, H);
        if (Pressed) FrameAndFill(BC, All, bsDefaultFrameColor, bsDefaultDownColor);
        else if (Hot) FrameAndFill(BC, All, bsDefaultFrameColor, bsDefaultHotColor);
        else FrameAndFill(BC, All, clBtnShadow, clBtnFace);
        BC->Brush()->SetStyle(bsClear);
        BC->Font()->Assign(Font());
        BC->Font()->SetColor(clBtnText);
    } else {
        BC->Font()->Assign(Font());
        const TRect Src = Pressed ? HDownSkinRect : HSkinRect;
        BC->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
        if (PointSet(HLBPt)) {
            TResized N = ResizedPoints(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, Src.Width(), Src.Height(), W, H);
            CreateSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, N.LT, N.RT, N.LB, N.RB, N.Cl, &B, HPicture, Src, W, H,
                            true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch, HStretchEffect,
                            HStretchType);
        } else {
            TBitmap Strip;
            CreateHSkinImage(HLTPt.X, Src.Width() - HRTPt.X, &Strip, HPicture, Src, W, Src.Height(), HStretchEffect);
            BC->StretchDraw(TRect(0, 0, W, H), &Strip);
        }
    }
    TListColumn* Column = Columns()->Items(Index);
    if (OnDrawHeaderSection) OnDrawHeaderSection(BC, Column, Pressed, TRect(0, 0, W, H));
    else DrawSectionContent(BC, Column, TRect(0, 0, W, H));
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomListView::DrawSectionContent(TCanvas* C, TListColumn* Column, TRect R)
{
    C->Brush()->SetStyle(bsClear);
    R.Left += 5;
    R.Right -= 5;
    String S = Column->Caption();
    const int TH = C->TextHeight("Wg");
    int Y = R.Top + (R.Height() - TH) / 2;
    if (IsOddFontHeight(C)) --Y;
    TCustomImageList* IL = SmallImages();
    const int Img = Column->ImageIndex();
    if (IL && Img >= 0 && Img < IL->Count()) {
        const int IW = IL->Width();
        const String Full = S;
        CutTextToWidth(C, S, R.Width() - IW - 10);
        const int TW = C->TextWidth(S);
        int X = R.Left;
        if (S == Full) {
            if (Column->Alignment() == taRightJustify) X = R.Right - TW - IW - 10;
            else if (Column->Alignment() == taCenter) X = R.Left + (R.Width() - (TW + IW + 10)) / 2;
        }
        IL->Draw(C, X, R.Top + (R.Height() - IL->Height()) / 2, Img);
        C->TextRect(TRect(X + IW + 10, R.Top, R.Right, R.Bottom), X + IW + 10, Y, S);
        return;
    }
    CutTextToWidth(C, S, R.Width());
    const int TW = C->TextWidth(S);
    int X = R.Left;
    if (Column->Alignment() == taRightJustify) X = R.Right - TW;
    else if (Column->Alignment() == taCenter) X = R.Left + (R.Width() - TW) / 2;
    C->TextRect(R, X, Y, S);
}

// ---- item painting ----------------------------------------------------------------------------------------

void TbsSkinCustomListView::SkinDrawItem(TCustomListView*, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)
{
    if (!FDrawSkin || !Item || ComponentState().Contains(csDesigning) || !FSD || FSD->Empty) return;
    const int ItemIndex = FSD->GetControlIndex(FItemSkinDataName);
    if (ItemIndex == -1) return;
    auto* Rec = dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[size_t(ItemIndex)].get());
    if (!Rec) return;
    DefaultDraw = false;
    TCanvas* C = Canvas();
    const TViewStyle VS = ViewStyle();
    TakeThirdImages();
    TCustomImageList* IL = VS == vsIcon ? LargeImages() : SmallImages();
    const int Row = Item->Index();
    TRect L = NativeItemRect(Row, drLabel);
    TRect I = NativeItemRect(Row, drIcon);
    const TRect B = NativeItemRect(Row, drBounds);
    const TRect SelectBounds = NativeItemRect(Row, drSelectBounds);
    // Measuring rows of an owner-data list fetches them into the one item the list lends
    // out, so the row to draw is fetched again before its texts and pictures are read.
    if (OwnerData()) Item = Items()->Item(Row);
    if (!Item) return;
    const String Caption = Item->Caption();
    if (VS == vsList) L.Right = L.Left + C->TextWidth(Caption) + 2;
    if (VS == vsIcon) OffsetRect(L, 2, 0);
    TRect S;
    switch (VS) {
    case vsList:
        S = L;
        S.Right += 4;
        if (Caption.empty()) S.Right += 16;
        break;
    case vsSmallIcon:
    case vsReport:
        S = SelectBounds;
        S.Left = L.Left;
        break;
    default: S = L; break;
    }
    S.Bottom -= 1;
    const int Cut = VS == vsList ? 0 : VS == vsReport ? 3 : 2;
    const int TextOffset = VS == vsReport ? 3 : 2;
    const bool Selected = State.Contains(cdsSelected);
    if (Selected && S.Width() > 0) {
        const bool Focus = Focused();
        TBitmap Bar;
        Bar.SetSize(S.Width(), std::max(1, S.Height()));
        TBitmap* Pic = FSD->ActivePicture(Rec->PictureIndex);
        const TRect Src = Focus ? Rec->FocusItemRect : Rec->ActiveItemRect;
        if (Pic && !IsEmptyRect(Src)) {
            CreateStretchSkinImage(&Bar, Pic, Src, Rec->ItemTextRect, true);
        } else {
            Bar.Canvas()->Brush()->SetColor(Color());
            Bar.Canvas()->FillRect(TRect(0, 0, Bar.Width(), Bar.Height()));
        }
        TCanvas* BC = Bar.Canvas();
        BC->Font()->Assign(Font());
        BC->Font()->SetColor(Focus ? Rec->FocusFontColor : Rec->ActiveFontColor);
        BC->Brush()->SetStyle(bsClear);
        String T = Caption;
        CutTextToWidth(C, T, L.Width() - Cut);
        TRect LB = L;
        OffsetRect(LB, -S.Left, -S.Top);
        if (VS == vsIcon) DrawWrappedText(BC, Caption, TRect(LB.Left, LB.Top, LB.Right - 4, LB.Bottom), true);
        else DrawSingleLineText(BC, T, TRect(LB.Left + TextOffset, LB.Top, LB.Right, LB.Bottom));
        if (VS == vsReport && RowSelect()) {
            TRect BB = B;
            OffsetRect(BB, -S.Left, -S.Top);
            DrawSubItems(BC, Item, BB, State);
        }
        C->Draw(S.Left, S.Top, &Bar);
    } else {
        TRect F = B;
        F.Bottom -= 1;
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(F);
        C->Brush()->SetStyle(bsClear);
        C->Font()->Assign(Font());
        String T = Caption;
        CutTextToWidth(C, T, L.Width() - (VS == vsReport ? 3 : 2));
        if (VS == vsIcon) DrawWrappedText(C, Caption, TRect(L.Left, L.Top, L.Right - 4, L.Bottom), false);
        else DrawSingleLineText(C, T, TRect(L.Left + TextOffset, L.Top, L.Right, L.Bottom));
    }
    // the item's image: from the window's own list over its cleared icon rectangle, else
    // from the control's list
    const int Img = Item->ImageIndex();
    auto ImageAt = [&](int W) {
        TPoint P(I.Left, I.Top);
        if (VS == vsIcon) {
            P = TPoint(I.Left + (I.Width() - W) / 2, I.Top + 2);
            if (Checkboxes()) I.Left = P.X;
        }
        return P;
    };
    if (FThirdImages) {
        if (Img >= 0 && Img < FThirdImagesCount) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(Color());
            C->FillRect(I);
            const TPoint P = ImageAt(FThirdImageWidth);
            ImageList_Draw(FThirdImages, Img, C->Handle(), P.X, P.Y, ILD_TRANSPARENT);
        }
    } else if (IL && Img >= 0 && Img < IL->Count()) {
        const TPoint P = ImageAt(IL->Width());
        IL->Draw(C, P.X, P.Y, Img);
    }
    DrawCheck(C, Item, I, B);
    if (VS == vsReport && !(Selected && RowSelect() && S.Width() > 0)) {
        C->Brush()->SetColor(Color());
        C->Font()->Assign(Font());
        DrawSubItems(C, Item, B, State);
    }
    if (FDrawSkinLines && VS == vsReport) DrawSkinLinesOf(C, Item, B);
    C->Brush()->SetColor(Color());
}

// Without SmallImages and LargeImages the items' pictures come from the window's own image
// list: the normal one in icon view, the small one in the others.
void TbsSkinCustomListView::TakeThirdImages()
{
    FThirdImages = nullptr;
    FThirdImageWidth = FThirdImageHeight = FThirdImagesCount = 0;
    if (SmallImages() || LargeImages()) return;
    const int Kind = ViewStyle() == vsIcon ? LVSIL_NORMAL : LVSIL_SMALL;
    FThirdImages = reinterpret_cast<HIMAGELIST>(Perform(LVM_GETIMAGELIST, WPARAM(Kind), 0));
    if (!FThirdImages) return;
    ImageList_GetIconSize(FThirdImages, &FThirdImageWidth, &FThirdImageHeight);
    FThirdImagesCount = ImageList_GetImageCount(FThirdImages);
}

void TbsSkinCustomListView::DrawCheck(TCanvas* C, TListItem* Item, const TRect& I, const TRect& B)
{
    if (!Checkboxes()) return;
    const int CI = FSD->GetControlIndex(FCheckSkinDataName);
    if (CI == -1) return;
    auto* Rec = dynamic_cast<TbsDataSkinCheckRadioControl*>(FSD->CtrlList[size_t(CI)].get());
    TBitmap* Pic = Rec ? FSD->ActivePicture(Rec->PictureIndex) : nullptr;
    if (!Pic) return;
    const TRect Src = Item->Checked() ? Rec->CheckImageRect : Rec->UnCheckImageRect;
    if (IsEmptyRect(Src)) return;
    TBitmap Box;
    bsCopyPicturePart(&Box, Pic, Src);
    Box.SetTransparent(true);
    const int X = I.Left - 1 - Box.Width();
    int Y = ViewStyle() == vsIcon ? I.Bottom - Box.Height() - 1 : B.Top + I.Height() / 2 - Box.Height() / 2 - 1;
    if (ViewStyle() != vsIcon) Y = std::max(Y, B.Top);
    C->Draw(X, Y, &Box);
}

void TbsSkinCustomListView::DrawSubItems(TCanvas* C, TListItem* Item, const TRect& B, TCustomDrawState State)
{
    // column 0 is the caption's: the sub-items start after it
    int X = B.Left + (Columns()->Count() ? Columns()->Items(0)->Width() : 0);
    const bool OnBar = State.Contains(cdsSelected) && RowSelect();
    for (int I = 0; I < Item->SubItems()->Count() && I + 1 < Columns()->Count(); ++I) {
        TListColumn* Col = Columns()->Items(I + 1);
        TRect R(X, B.Top, X + Col->Width(), B.Bottom);
        X = R.Right;
        if (!OnBar) {
            C->Brush()->SetStyle(bsSolid);
            C->FillRect(R);
        }
        C->Brush()->SetStyle(bsClear);
        R.Left += 3;
        R.Right -= 3;
        if (OnDrawSkinSubItem) {
            OnDrawSkinSubItem(this, Item, I, State, C, R);
            continue;
        }
        const int Img = Item->SubItemImages(I);
        if (SmallImages() && Img >= 0 && Img < SmallImages()->Count()) {
            SmallImages()->Draw(C, R.Left, R.Top + (R.Height() - SmallImages()->Height()) / 2, Img);
            R.Left += SmallImages()->Width() + 3;
        }
        String T = Item->SubItems()->Strings(I);
        CutTextToWidth(C, T, R.Width());
        DrawAlignedText(C, T, R, Col->Alignment());
    }
}

void TbsSkinCustomListView::DrawSkinLinesOf(TCanvas* C, TListItem* Item, const TRect& B)
{
    C->Pen()->SetColor(FLineColor);
    int X = B.Left;
    for (int I = 0; I < Columns()->Count(); ++I) {
        X += Columns()->Items(I)->Width();
        C->MoveTo(X - 1, B.Top);
        C->LineTo(X - 1, B.Bottom);
    }
    C->MoveTo(B.Left, B.Bottom - 1);
    C->LineTo(Width(), B.Bottom - 1);
    if (Item->Index() == 0) {
        C->MoveTo(B.Left, B.Top - 1);
        C->LineTo(Width(), B.Top - 1);
    }
}
