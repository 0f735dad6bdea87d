// The inner list of the skinned list box: the platform's list keeps the strings and the
// selection; this class paints every item off screen by its owner's look (default look,
// stretched item pictures or fixed-height item pictures), paints the background itself,
// and hands its mouse, keys, focus and window messages to the owner.
#include "skin/boxes/bsSkinBoxCtrls.h"

int bsTabValue(const String& S)
{
    if (S.empty()) return 0;
    int V = 0;
    for (char C : S) {
        if (C < '0' || C > '9') return 0;
        V = V * 10 + (C - '0');
        if (V > 1000000) return 0;  // no stop lies that far; keeps the sum from overflowing
    }
    return V;
}

void bsDrawTabbedText(TCanvas* C, const String& Text, TStrings* TabWidths, const TRect& R, int Offset)
{
    const int N = MinOf(TabWidths ? TabWidths->Count() : 0, 10);
    int Tabs[10] = {};
    for (int I = 0; I < N; ++I) Tabs[I] = bsTabValue(TabWidths->Strings(I));
    const int TH = C->TextHeight(Text);
    int Y = R.Top + R.Height() / 2 - TH / 2;
    if (IsOddFontHeight(C)) --Y;
    HDC DC = C->Handle();
    SetTextColor(DC, COLORREF(ColorToRGB(C->Font()->Color())));
    if (C->Brush()->Style() == bsClear) SetBkMode(DC, TRANSPARENT);
    TabbedTextOut(DC, R.Left + Offset + 2, Y, Text.c_str(), int(Text.size()), N, Tabs, 0);
}

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner), FItemCanvas(new TCanvas)
{
    SetBorderStyle(bsNone);
    // The native list takes the mouse itself while a button is down; a capture of the
    // control's own would be given up before the native list sees the button go up, so
    // it would end its tracking there and never report the click.
    FControlStyle = {csOpaque, csDoubleClicks};
}

TbsListBox::~TbsListBox() { SkinListBox = nullptr; }

void TbsListBox::CreateParams(TCreateParams& P)
{
    TListBox::CreateParams(P);
    P.Style &= ~WS_BORDER;
    P.ExStyle &= ~WS_EX_CLIENTEDGE;
    P.WindowClass.style = CS_DBLCLKS;
    P.Style |= WS_TABSTOP;
}

void TbsListBox::CreateWnd()
{
    TListBox::CreateWnd();
    if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int OldWidth = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (OldWidth != Width() && FHorizontalExtentValue >= 1) {
        FHorizontalExtentValue = MaxOf(0, FHorizontalExtentValue + OldWidth - Width());
        Repaint();
    }
}

// ---- hand-over of input ---------------------------------------------------------------------------------

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
    TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
            if (Key == VK_LEFT) {
                H->SetPosition(H->Position() - H->SmallChange());
                Key = 0;
            } else if (Key == VK_RIGHT) {
                H->SetPosition(H->Position() + H->SmallChange());
                Key = 0;
            }
        }
    }
    TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyPress(char32_t& Key)
{
    if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
    TListBox::KeyPress(Key);
}

void TbsListBox::Click()
{
    if (SkinListBox) SkinListBox->ListBoxClick();
    TListBox::Click();
}

// ---- messages -------------------------------------------------------------------------------------------

void TbsListBox::WndProc(TMessage& M)
{
    if (SkinListBox) {
        bool Process = true;
        SkinListBox->ListBoxWndProcHook(M, Process);
        if (!Process) return;
    }
    TListBox::WndProc(M);
    if (!SkinListBox) return;
    switch (M.Msg) {
    case WM_ERASEBKGND:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
        SkinListBox->UpDateScrollBar();
        break;
    case WM_LBUTTONDBLCLK:
        SkinListBox->ListBoxDblClick();
        break;
    case WM_MOUSEWHEEL: {
        const int Delta = int16_t(HIWORD(M.WParam));
        if (SkinListBox->ScrollBar) {
            SendMessage(Handle(), WM_VSCROLL, Delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            if (SkinListBox) SkinListBox->UpDateScrollBar();
        } else if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
            H->SetPosition(Delta > 0 ? H->Position() - H->SmallChange() : H->Position() + H->SmallChange());
        }
        break;
    }
    case PaintBackgroundToDCEx:
        if (Count() == 0 && M.LParam == PaintBackgroundToDCExAnswer) {
            if (M.WParam != 0) PaintBackground(HDC(M.WParam));
            M.Result = PaintBackgroundToDCExAnswer;
        }
        break;
    }
}

void TbsListBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case PaintNonClientToDC: M.Result = PaintNonClientToDCAnswer; return;
    case WM_NCCALCSIZE: M.Result = 0; return;
    case WM_NCHITTEST: M.Result = HTCLIENT; return;
    case WM_ERASEBKGND:
        if (Width() > 0 && Height() > 0) PaintBackground(HDC(M.WParam));
        M.Result = 1;
        return;
    case CN_DRAWITEM: CNDrawItemHere(M); return;
    case CM_ENTER:
        if (SkinListBox) SkinListBox->ListBoxEnter();
        break;
    case CM_EXIT:
        if (SkinListBox) SkinListBox->ListBoxExit();
        break;
    }
    TListBox::Dispatch(M);
}

void TbsListBox::CNDrawItemHere(TMessage& M)
{
    auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    TOwnerDrawState State;
    if (D->itemState & ODS_SELECTED) State.Include(odSelected);
    if (D->itemState & ODS_FOCUS) State.Include(odFocused);
    FItemCanvas->SetHandle(D->hDC);
    FItemCanvas->Font()->Assign(Font());
    FItemCanvas->Brush()->SetColor(Color());
    DrawItemTo(FItemCanvas.get(), int(D->itemID), D->rcItem, State);
    FItemCanvas->SetHandle(nullptr);
    M.Result = 1;
}

// ---- painting -------------------------------------------------------------------------------------------

TOwnerDrawState TbsListBox::GetItemState(int Index)
{
    TOwnerDrawState S;
    if (Index == ItemIndex()) {
        S.Include(odSelected);
        if (Focused()) S.Include(odFocused);
    } else if (SelCount() >= 1 && Selected(Index))
        S.Include(odSelected);
    return S;
}

void TbsListBox::DrawItemTo(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State)
{
    if (!SkinListBox || Index < 0 || Index >= Count()) return;
    if (SkinListBox->FIndex == -1)
        DrawDefaultItem(C, Index, R, State);
    else if (SkinListBox->FUseSkinItemHeight)
        DrawSkinItemFixedHeight(C, Index, R, State);
    else
        DrawSkinItem(C, Index, R, State);
}

void TbsListBox::PaintWindow(HDC DC)
{
    if (Width() <= 0 || Height() <= 0) return;
    TSaveDC Keep(DC);
    TCanvas C;
    C.SetHandle(DC);
    if (Columns() <= 0)
        PaintList(&C);
    else
        PaintColumns(&C);
    C.SetHandle(nullptr);
}

void TbsListBox::PaintList(TCanvas* C)
{
    const int IH = MaxOf(1, ItemHeight());
    const int Last = MinOf(TopIndex() + Height() / IH, Count() - 1);
    int Bottom = 0;
    for (int I = TopIndex(); I <= Last; ++I) {
        const TRect R = ItemRect(I);
        DrawItemTo(C, I, R, GetItemState(I));
        Bottom = R.Bottom;
    }
    if (Bottom >= Height() || !SkinListBox) return;
    SkinListBox->GetSkinData();
    if (SkinListBox->FIndex == -1) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->FillRect(Rect(0, Bottom, Width(), Height()));
    } else
        DrawTiledBackground(C, Width(), Height() - Bottom, 0, Bottom);
}

void TbsListBox::PaintColumns(TCanvas* C)
{
    const int IH = MaxOf(1, ItemHeight());
    const int Last = MinOf(TopIndex() + (Height() / IH) * Columns(), Count() - 1);
    for (int I = TopIndex(); I <= Last; ++I) DrawItemTo(C, I, ItemRect(I), GetItemState(I));
}

void TbsListBox::PaintBackground(HDC DC)
{
    if (!DC || !SkinListBox) return;
    SkinListBox->GetSkinData();
    TCanvas C;
    C.SetHandle(DC);
    if (SkinListBox->FIndex == -1) {
        C.Brush()->SetColor(clWindow);
        C.FillRect(Rect(0, 0, Width(), Height()));
    } else
        DrawTiledBackground(&C, Width(), Height(), 0, 0);
    C.SetHandle(nullptr);
}

void TbsListBox::DrawTiledBackground(TCanvas* C, int AWidth, int AHeight, int ALeft, int ATop)
{
    if (AWidth <= 0 || AHeight <= 0) return;
    TbsSkinCustomListBox* O = SkinListBox;
    TBitmap B;
    B.SetSize(AWidth, AHeight);
    const int TW = O->ClRect.Width(), TH = O->ClRect.Height();
    if (!O->Picture || TW <= 0 || TH <= 0) {
        // a skin without a client part has nothing to tile: the window colour stands in
        B.Canvas()->Brush()->SetColor(clWindow);
        B.Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    } else {
        const int SX = O->SkinRect.Left + O->ClRect.Left, SY = O->SkinRect.Top + O->ClRect.Top;
        for (int I = 0; I <= AWidth / TW; ++I)
            for (int J = 0; J <= AHeight / TH; ++J) {
                const int X = TW * I, Y = TH * J;
                const int W = MinOf(TW, AWidth - X), H = MinOf(TH, AHeight - Y);
                if (W <= 0 || H <= 0) continue;
                B.Canvas()->CopyRect(Rect(X, Y, X + W, Y + H), O->Picture->Canvas(), Rect(SX, SY, SX + W, SY + H));
            }
    }
    C->Draw(ALeft, ATop, &B);
}

void TbsListBox::SetItemFont(TCanvas* C, bool Skinned)
{
    TbsSkinCustomListBox* O = SkinListBox;
    if (Skinned && O->FUseSkinFont) {
        C->Font()->SetName(O->FontName);
        C->Font()->SetStyle(O->FontStyle);
        C->Font()->SetHeight(O->FontHeight);
    } else if (Skinned)
        C->Font()->Assign(O->DefaultFont());
    else {
        C->Font()->SetName(O->Font()->Name());
        C->Font()->SetStyle(O->Font()->Style());
        C->Font()->SetHeight(O->Font()->Height());
    }
    if (O->SkinData() && O->SkinData()->ResourceStrData())
        C->Font()->SetCharset(O->SkinData()->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(O->DefaultFont()->Charset());
}

void TbsListBox::DrawItemContent(TCanvas* C, int Index, int W, int H, TRect TR, TOwnerDrawState State,
                                 bool Skinned)
{
    TbsSkinCustomListBox* O = SkinListBox;
    if (O->OnDrawItem) {
        O->OnDrawItem(C, Index, W, H, TR, State);
        return;
    }
    if (Skinned && State.Contains(odFocused) && O->ShowFocus) DrawDottedFocusRect(C, Rect(0, 0, W, H));
    int Offset = 0;
    if (TCustomImageList* IL = O->FImages) {
        const int II = O->FImageIndex < 0 ? Index : O->FImageIndex;
        if (II < IL->Count())
            IL->Draw(C, TR.Left - FHorizontalExtentValue, TR.Top + TR.Height() / 2 - IL->Height() / 2, II, true);
        Offset = IL->Width() + 2;
    }
    const String Text = Items()->Strings(Index);
    if (O->FTabWidths->Count() > 0 && Columns() == 0)
        bsDrawTabbedText(C, Text, O->FTabWidths.get(), TR, Offset);
    else
        DrawClippedTextIndent(C, Text, TR, Offset - FHorizontalExtentValue);
}

void TbsListBox::DrawDefaultItem(TCanvas* Cnvs, int Index, const TRect& R, TOwnerDrawState State)
{
    const int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    SetItemFont(C, false);
    if (State.Contains(odSelected)) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    } else {
        C->Brush()->SetColor(clWindow);
        C->Font()->SetColor(SkinListBox->Font()->Color());
    }
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, Index, W, H, Rect(2, 0, W - 2, H), State, false);
    if (State.Contains(odFocused)) {
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(Rect(0, 0, W, H));
    }
    Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsListBox::DrawSkinItem(TCanvas* Cnvs, int Index, const TRect& R, TOwnerDrawState State)
{
    TbsSkinCustomListBox* O = SkinListBox;
    const int W = R.Width(), H = R.Height();
    if (!O->Picture || W <= 0 || H <= 0) return;
    TBitmap B;
    B.SetSize(W, H);
    const bool Foc = State.Contains(odFocused), Sel = State.Contains(odSelected);
    const TRect Src = Foc ? O->FocusItemRect : Sel ? O->ActiveItemRect : O->SItemRect;
    const TRect Centre(O->ItemTextRect.Left + 1, O->ItemTextRect.Top + 1, O->ItemTextRect.Right - 1,
                       O->ItemTextRect.Bottom - 1);
    CreateStretchSkinImage(&B, O->Picture, Src, Centre, true);
    TRect TR = O->ItemTextRect;
    TR.Right += W - O->SItemRect.Width();
    TR.Bottom += H - O->SItemRect.Height();
    TCanvas* C = B.Canvas();
    SetItemFont(C, true);
    C->Font()->SetColor(Foc ? O->FocusFontColor : Sel ? O->ActiveFontColor : O->FontColor);
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, Index, W, H, TR, State, true);
    Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsListBox::DrawSkinItemFixedHeight(TCanvas* Cnvs, int Index, const TRect& R, TOwnerDrawState State)
{
    TbsSkinCustomListBox* O = SkinListBox;
    const int W = R.Width();
    if (!O->Picture || W <= 0 || O->SItemRect.Height() <= 0) return;
    TBitmap B;
    const bool Foc = State.Contains(odFocused), Sel = State.Contains(odSelected);
    TRect Src = O->SItemRect;
    bool Stretch = O->StretchEffect;
    TColor Col = O->FontColor;
    if (Foc && Sel) {
        Src = O->FocusItemRect;
        Col = O->FocusFontColor;
    } else if (Sel) {
        Src = O->ActiveItemRect;
        Col = O->ActiveFontColor;
    } else if (!Foc)
        Stretch = false;
    CreateHSkinImage(O->ItemLeftOffset, O->ItemRightOffset, &B, O->Picture, Src, W, O->SItemRect.Height(), Stretch);
    TCanvas* C = B.Canvas();
    SetItemFont(C, true);
    C->Font()->SetColor(Col);
    C->Brush()->SetStyle(bsClear);
    if (Foc && !Sel) DrawDottedFocusRect(C, Rect(0, 0, B.Width(), B.Height()));
    TRect TR = O->ItemTextRect;
    TR.Right += B.Width() - O->SItemRect.Width();
    DrawItemContent(C, Index, B.Width(), B.Height(), TR, State, true);
    Cnvs->Draw(R.Left, R.Top, &B);
}
