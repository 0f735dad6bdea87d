// The skinned tree view: the platform's tree view with two external skinned scroll bars,
// colours and font from the skin, and (with DrawSkin) items painted here.
#include <algorithm>
#include <cmath>

#include "skin/controls/bsSkinCtrls.h"

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner), FExpandImage(new TBitmap), FNoExpandImage(new TBitmap), FDefaultFont(new TFont)
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    Font()->Assign(FDefaultFont.get());
}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView()
{
    // the painter refers to this object: no drawing through it while the base goes away
    OnAdvancedCustomDrawItem = nullptr;
}

// ---- properties ----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::SetSkinData(TbsSkinData* Value)
{
    if (FSD && FSD != Value) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TbsSkinCustomTreeView::SetDrawSkin(bool Value)
{
    FDrawSkin = Value;
    if (Value && !ComponentState().Contains(csDesigning))
        OnAdvancedCustomDrawItem = [this](TCustomTreeView* S, TTreeNode* N, TCustomDrawState St, TCustomDrawStage Sg,
                                          bool& PI, bool& DD) { SkinDrawItem(S, N, St, Sg, PI, DD); };
    Invalidate();
}

void TbsSkinCustomTreeView::SetButtonImageList(TCustomImageList* Value)
{
    if (FButtonImageList && FButtonImageList != Value) FButtonImageList->RemoveFreeNotification(this);
    FButtonImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinCustomTreeView::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    if (FIndex == -1) Font()->Assign(Value);
}

void TbsSkinCustomTreeView::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) SetColor(Value);
}

void TbsSkinCustomTreeView::SetVScrollBar(TbsSkinScrollBar* Value)
{
    bsLinkScrollBar(this, FVScrollBar, Value, [this](TObject* S) { VScrollChange(S); });
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::SetHScrollBar(TbsSkinScrollBar* Value)
{
    bsLinkScrollBar(this, FHScrollBar, Value, [this](TObject* S) { HScrollChange(S); });
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
    if (AComponent == FButtonImageList) FButtonImageList = nullptr;
}

void TbsSkinCustomTreeView::Loaded()
{
    TCustomTreeView::Loaded();
    ChangeSkinData();
}

// ---- the skin ---------------------------------------------------------------------------------------

void TbsSkinCustomTreeView::ChangeSkinData()
{
    if (ComponentState().Contains(csLoading)) return;
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    auto* R = FIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinTreeView*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) {
        // no record, or one of another kind: the default look
        FIndex = -1;
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont.get());
        FLineColor = RGB(128, 128, 128);
        FButtonColor = RGB(128, 128, 128);
        FExpandImage->SetSize(0, 0);
        FNoExpandImage->SetSize(0, 0);
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
        FLineColor = MixColors(MixColors(R->FontColor, R->BGColor), R->BGColor);
        FButtonColor = MixColors(R->FontColor, R->BGColor);
        TBitmap* Pic = FSD->ActivePicture(R->PictureIndex);
        if (IsEmptyRect(R->ExpandImageRect) || IsEmptyRect(R->NoExpandImageRect) || R->PictureIndex == -1 || !Pic) {
            FExpandImage->SetSize(0, 0);
            FNoExpandImage->SetSize(0, 0);
        } else {
            bsCopyPicturePart(FExpandImage.get(), Pic, R->ExpandImageRect);
            bsCopyPicturePart(FNoExpandImage.get(), Pic, R->NoExpandImageRect);
            FExpandImage->SetTransparent(true);
            FNoExpandImage->SetTransparent(true);
        }
    }
    if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else Font()->SetCharset(FDefaultFont->Charset());
    if (Images()) Images()->SetBkColor(Color());
    if (StateImages()) StateImages()->SetBkColor(Color());
    UpDateScrollBars();
    for (TbsSkinScrollBar* B : {FVScrollBar, FHScrollBar})
        if (B && B->Align() != alNone && B->Parent()) B->Parent()->Realign();
    Invalidate();
}

// ---- scroll bars ---------------------------------------------------------------------------------------

void TbsSkinCustomTreeView::UpDateScrollBars()
{
    if (ComponentState().Contains(csLoading) || FInCheckScrollBars || !HandleAllocated()) return;
    bool OldV = FVScrollBar && FVScrollBar->Visible();
    bool OldH = FHScrollBar && FHScrollBar->Visible();
    if (FVScrollBar) {
        SCROLLINFO SI;
        SI.fMask = SIF_ALL;
        GetScrollInfo(Handle(), SB_VERT, &SI);
        int Page = VisibleCount();
        bool Vis = SI.nMax > 0 && SI.nMax >= Page && SI.nMax < Items()->Count() && Visible();
        if (Vis) FVScrollBar->SetRange(SI.nMin, SI.nMax, Page, SI.nPos);
        FVScrollBar->SetVisible(Vis);
    }
    if (FHScrollBar) {
        SCROLLINFO SI;
        SI.fMask = SIF_ALL;
        GetScrollInfo(Handle(), SB_HORZ, &SI);
        bool Vis = Width() < SI.nMax && Visible();
        if (Vis) FHScrollBar->SetRange(SI.nMin, SI.nMax, Width(), SI.nPos);
        FHScrollBar->SetVisible(Vis);
    }
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    bool Changed = (FVScrollBar && FVScrollBar->Visible() != OldV) || (FHScrollBar && FHScrollBar->Visible() != OldH);
    if (Changed && Align() != alNone && Parent()) {
        FInCheckScrollBars = true;
        Parent()->Realign();
        FInCheckScrollBars = false;
    }
}

void TbsSkinCustomTreeView::VScrollChange(TObject*)
{
    if (!FVScrollBar || !HandleAllocated()) return;
    SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FVScrollBar->Position()), 0);
}

void TbsSkinCustomTreeView::HScrollChange(TObject*)
{
    if (!FHScrollBar || !HandleAllocated()) return;
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FHScrollBar->Position()), 0);
}

// ---- the window ---------------------------------------------------------------------------------------

void TbsSkinCustomTreeView::CreateParams(TCreateParams& Params)
{
    TCustomTreeView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomTreeView::CNNotify(TMessage& Message)
{
    TCustomTreeView::CNNotify(Message);
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    if (H && H->code == TVN_SELCHANGED) UpDateScrollBars();
}

void TbsSkinCustomTreeView::WndProc(TMessage& M)
{
    // no non-client area: the client area is the whole window
    switch (M.Msg) {
    case WM_NCCALCSIZE: M.Result = 0; return;
    case WM_NCHITTEST: M.Result = HTCLIENT; return;
    case WM_NCPAINT: M.Result = 0; return;
    case PaintNonClientToDC: M.Result = PaintNonClientToDCAnswer; return;
    }
    TCustomTreeView::WndProc(M);
    switch (M.Msg) {
    case CM_VISIBLECHANGED:
        if (FVScrollBar) FVScrollBar->SetVisible(Visible());
        if (FHScrollBar) FHScrollBar->SetVisible(Visible());
        UpDateScrollBars();
        break;
    case WM_SIZE:
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP: UpDateScrollBars(); break;
    }
}

// ---- item painting ---------------------------------------------------------------------------------------

int TbsSkinCustomTreeView::ButtonSize() const
{
    if (FButtonImageList) return std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
    if (FExpandImage->Width() > 0 && FNoExpandImage->Width() > 0) return FExpandImage->Width() / 2 - 2;
    return 5;
}

void TbsSkinCustomTreeView::DrawFadedLine(TCanvas* C, int X1, int X2, int Y, TColor Color)
{
    const int L = std::abs(X2 - X1);
    if (L == 0) return;
    TbsBitmap B;
    B.SetSize(L, 1);
    const int Half = L / 2;
    // a line of one pixel has no second half to fade: it stays opaque
    const int Step = Half > 0 ? int(std::nearbyint(255.0 / Half)) : 0;
    int Alpha = 255;
    for (int X = 0; X < L; ++X) {
        if (X > Half) Alpha = std::max(0, Alpha - Step);
        B.SetPixel(X, 0, ColorToARGB(Color, uint8_t(X < Half ? 255 : Alpha)));
    }
    B.SetAlphaBlend(true);
    B.Draw(C, X1, Y);
}

// The left edge of the node's lines column: one indent left of where its icons start.
int TbsSkinCustomTreeView::LevelLeft(TTreeNode* Node, int ScrollX)
{
    int Level = Node->Level() - (ShowRoot() ? 0 : 1);
    return Level * Indent() - ScrollX;
}

void TbsSkinCustomTreeView::DrawLinesAndButton(TCanvas* C, TTreeNode* Node, const TRect& R)
{
    const int Size = ButtonSize();
    const int Cy = (R.Top + R.Bottom) / 2;
    const int Bx = R.Left + Indent() / 2;
    const int Lx = Bx - 1;
    const bool HasKids = Node->HasChildren();
    C->Pen()->SetColor(FLineColor);
    if (ShowLines()) {
        if (HasKids) DrawFadedLine(C, Bx + Size - 1, R.Left + Indent() + Size - 5, Cy - 1, FLineColor);
        else DrawFadedLine(C, Lx, R.Left + Indent(), Cy - 1, FLineColor);
        if (Node != Items()->GetFirstNode()) {
            C->MoveTo(Lx, Cy - 1);
            C->LineTo(Lx, R.Top - 1);
        }
        TTreeNode* Next = Node->GetNextVisible();
        if ((Next && Next->Level() == Node->Level()) || Node->GetNextSibling()) {
            C->MoveTo(Lx, Cy);
            C->LineTo(Lx, R.Bottom + 1);
        }
        const int ScrollX = GetScrollPos(Handle(), SB_HORZ);
        for (TTreeNode* P = Node->Parent(); P; P = P->Parent()) {
            if (!P->GetNextSibling()) continue;
            const int PX = LevelLeft(P, ScrollX) + Indent() / 2 - 1;
            C->MoveTo(PX, R.Top);
            C->LineTo(PX, R.Bottom + 1);
        }
    }
    if (!HasKids || !ShowButtons()) return;
    const TRect Square(Bx - Size, Cy - Size, Bx + Size, Cy + Size);
    if (FButtonImageList) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Square);
        C->Brush()->SetStyle(bsClear);
        const int I = Node->Expanded() ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
        if (I >= 0 && I < FButtonImageList->Count()) FButtonImageList->Draw(C, Square.Left, Square.Top, I);
        return;
    }
    if (FExpandImage->Width() > 0 && FNoExpandImage->Width() > 0) {
        TRect F = Square;
        OffsetRect(F, -2, -2);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(F);
        C->Brush()->SetStyle(bsClear);
        C->Draw(Bx - Size - 3, Cy - Size - 3, Node->Expanded() ? FExpandImage.get() : FNoExpandImage.get());
        return;
    }
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(FButtonColor);
    C->Rectangle(Bx - Size, Cy - Size, Bx + Size - 1, Cy + Size - 1);
    C->Pen()->SetColor(Font()->Color());
    C->MoveTo(Bx - Size + 2, Cy - 1);
    C->LineTo(Bx + Size - 3, Cy - 1);
    if (!Node->Expanded()) {
        C->MoveTo(Lx, Cy - Size + 2);
        C->LineTo(Lx, Cy + Size - 3);
    }
}

void TbsSkinCustomTreeView::DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R)
{
    const int Cy = (R.Top + R.Bottom) / 2;
    const int X = R.Left - ButtonSize();
    if (Images()) {
        GetImageIndex(Node);
        if (Node == Selected()) GetSelectedIndex(Node);
    }
    const int Index = Node->ImageIndex();
    if (Images()) {
        if (Index >= 0 && Index < Images()->Count()) Images()->Draw(C, X, Cy - Images()->Height() / 2, Index);
        return;
    }
    // the tree window's own image list (the system list of a shell tree)
    FThirdImages = reinterpret_cast<HIMAGELIST>(SendMessage(Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    if (!FThirdImages) return;
    ImageList_GetIconSize(FThirdImages, &FThirdImageWidth, &FThirdImageHeight);
    FThirdImagesCount = ImageList_GetImageCount(FThirdImages);
    if (Index >= 0 && Index < FThirdImagesCount)
        ImageList_Draw(FThirdImages, Index, C->Handle(), X, Cy - FThirdImageHeight / 2, ILD_NORMAL);
}

void TbsSkinCustomTreeView::SkinDrawItem(TCustomTreeView*, TTreeNode* Node, TCustomDrawState State,
                                         TCustomDrawStage, bool&, bool& DefaultDraw)
{
    // switched off (the painter stays installed) or nothing usable in the skin: the
    // platform draws the item
    if (!FDrawSkin || !Node || !FSD || FSD->Empty) return;
    const int ItemIndex = FSD->GetControlIndex(FItemSkinDataName);
    if (ItemIndex == -1) return;
    auto* Rec = dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[size_t(ItemIndex)].get());
    if (!Rec) return;
    DefaultDraw = false;
    TCanvas* C = Canvas();
    const int ScrollX = GetScrollPos(Handle(), SB_HORZ);
    TRect Row = Node->DisplayRect(false);
    const TRect Text = Node->DisplayRect(true);
    OffsetRect(Row, -ScrollX, 0);
    Row.Right = std::max(Row.Right, ClientWidth());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Row);
    C->FillRect(Text);
    C->Brush()->SetStyle(bsClear);
    TRect R = Row;
    R.Left = LevelLeft(Node, ScrollX);
    DrawLinesAndButton(C, Node, R);
    R.Left += Indent() + ButtonSize();
    DrawNodeImage(C, Node, R);
    C->Font()->Assign(Font());
    const bool Selected = State.Contains(cdsSelected);
    if (!Selected) {
        DrawSingleLineText(C, Node->Text(), TRect(Text.Left + 2, Text.Top + 1, Text.Right, Text.Bottom));
        return;
    }
    if (Text.Width() < 1) return;
    const bool Focus = Focused();
    TBitmap B;
    B.SetSize(Text.Width(), Text.Height());
    TBitmap* Pic = FSD->ActivePicture(Rec->PictureIndex);
    const TRect Src = Focus ? Rec->FocusItemRect : Rec->ActiveItemRect;
    if (Pic && !IsEmptyRect(Src)) {
        CreateStretchSkinImage(&B, Pic, Src, Rec->ItemTextRect, true);
    } else {
        B.Canvas()->Brush()->SetColor(Color());
        B.Canvas()->FillRect(TRect(0, 0, B.Width(), B.Height()));
    }
    TCanvas* BC = B.Canvas();
    BC->Font()->Assign(Font());
    BC->Font()->SetColor(Focus ? Rec->FocusFontColor : Rec->ActiveFontColor);
    BC->Brush()->SetStyle(bsClear);
    DrawSingleLineText(BC, Node->Text(), TRect(2, 1, B.Width(), B.Height()));
    C->Draw(Text.Left, Text.Top, &B);
}
