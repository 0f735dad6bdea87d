// Office items and the office list box: layout by pixels, its skinned scroll bar, selection
// by mouse and keys, skinned and default item drawing, and the pop-up form of the list.
#include "skin/controls/bsSkinCtrls.h"

// ---- items -------------------------------------------------------------------------------------------

TbsSkinOfficeItem::TbsSkinOfficeItem(TCollection* ACollection) : TCollectionItem(ACollection)
{
    auto* Items = dynamic_cast<TbsSkinOfficeItems*>(ACollection);
    if (Items && Items->OfficeListBox && Index() == Items->OfficeListBox->ItemIndex()) Active = true;
}

void TbsSkinOfficeItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetTitle(const String& Value)
{
    FTitle = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetCaption(const String& Value)
{
    FCaption = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetHeader(bool Value)
{
    FHeader = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetChecked(bool Value)
{
    FChecked = Value;
    Changed(false);
}

void TbsSkinOfficeItem::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsSkinOfficeItem*>(Source)) {
        FImageIndex = S->FImageIndex;
        FCaption = S->FCaption;
        FTitle = S->FTitle;
        FEnabled = S->FEnabled;
        FChecked = S->FChecked;
        FHeader = S->FHeader;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : TCollection(ItemClass<TbsSkinOfficeItem>()), OfficeListBox(AListBox) {}

TbsSkinOfficeItem* TbsSkinOfficeItems::Add() { return static_cast<TbsSkinOfficeItem*>(TCollection::Add()); }

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(int Index)
{
    return static_cast<TbsSkinOfficeItem*>(TCollection::Insert(Index));
}

TPersistent* TbsSkinOfficeItems::GetOwner() { return OfficeListBox; }

// A new item joins the collection from its base constructor, before its own fields exist,
// so the list repaints and re-reads its scroll range a moment later (a posted message).
void TbsSkinOfficeItems::Update(TCollectionItem* AItem)
{
    TCollection::Update(AItem);
    if (!OfficeListBox || OfficeListBox->ComponentState().Contains(csDestroying)) return;
    OfficeListBox->ItemsChanged();
}

// ---- the list ----------------------------------------------------------------------------------------

TbsSkinOfficeListBox::TbsSkinOfficeListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FItems(std::make_unique<TbsSkinOfficeItems>(this))
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csReplicatable);
    FSkinDataName = "listbox";
    SetBounds(FLeft, FTop, 150, 150);
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox()
{
    Destroying();
    FItems.reset();
}

void TbsSkinOfficeListBox::ItemsChanged()
{
    Invalidate();
    if (FUpdatePosted || !HandleAllocated()) return;
    FUpdatePosted = PostMessage(Handle(), OfficeItemsChanged, 0, 0);
}

void TbsSkinOfficeListBox::SetItems(TbsSkinOfficeItems* Value)
{
    FItems->Assign(Value);
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinOfficeListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

#define BS_OFFICE_SETTER(Name, Field, Type)              \
    void TbsSkinOfficeListBox::Set##Name(Type Value)     \
    {                                                    \
        if (Field == Value) return;                      \
        Field = Value;                                   \
        Repaint();                                       \
    }
BS_OFFICE_SETTER(ShowCheckBoxes, FShowCheckBoxes, bool)
BS_OFFICE_SETTER(ShowLines, FShowLines, bool)
BS_OFFICE_SETTER(ShowItemTitles, FShowItemTitles, bool)
BS_OFFICE_SETTER(ItemHeight, FItemHeight, int)
BS_OFFICE_SETTER(HeaderHeight, FHeaderHeight, int)
BS_OFFICE_SETTER(HeaderLeftAlignment, FHeaderLeftAlignment, bool)
#undef BS_OFFICE_SETTER

void TbsSkinOfficeListBox::BeginUpdateItems()
{
    FInUpdateItems = true;
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TbsSkinOfficeListBox::EndUpdateItems()
{
    FInUpdateItems = false;
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 1, 0);
    Repaint();
    UpdateScrollInfo();
}

TRect TbsSkinOfficeListBox::ItemsArea()
{
    GetSkinData();
    if (FIndex == -1) return Rect(2, 2, Width() - 2, Height() - 2);
    int W = Width(), H = Height();
    CalcSize(W, H);
    return NewClRect;
}

int TbsSkinOfficeListBox::CalcHeight(int AItemCount)
{
    const int Count = MinOf(AItemCount, FItems->Count());
    const TRect Area = ItemsArea();
    if (FIndex == -1) return Count * FItemHeight + 5;
    return Count * FItemHeight + (Height() - Area.Height()) + 1;
}

void TbsSkinOfficeListBox::CalcItemRects()
{
    FRealMax = 0;
    FItemsRect = ItemsArea();
    if (FScrollBar) FItemsRect.Right -= FScrollBar->Width() - 1;
    const TRect& A = FItemsRect;
    int Top = A.Top;
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        const int H = It->Header() ? FHeaderHeight : FItemHeight;
        TRect R(A.Left, Top - FScrollOffset, A.Left + A.Width(), Top + H - FScrollOffset);
        It->ItemRect = R;
        It->IsVisible = IsPointInRect(A, Point(R.Left + 1, R.Top + 1)) ||
                        IsPointInRect(A, Point(R.Right - 1, R.Bottom - 1)) || (R.Top < A.Top && R.Bottom > A.Bottom);
        if (It->IsVisible) FRealMax = R.Bottom;
        Top += H;
    }
    FMax = Top;
}

void TbsSkinOfficeListBox::Scroll(int AScrollOffset)
{
    FScrollOffset = AScrollOffset;
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition)
{
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = FItemsRect.Height();
    if (APage >= AMax) APage = AMax = 0;
    APosition = FScrollOffset;
}

void TbsSkinOfficeListBox::UpdateScrollInfo()
{
    if (!HandleAllocated() || FInUpdateItems) return;
    int Min, Max, Page, Pos;
    GetScrollInfo(Min, Max, Page, Pos);
    if (Max > 0) {
        if (!FScrollBar) ShowScrollbar();
        FScrollBar->SetRange(Min, Max, Page, Pos);
        FScrollBar->SetLargeChange(Page);
    } else if (FScrollBar)
        HideScrollBar();
}

void TbsSkinOfficeListBox::ShowScrollbar()
{
    FScrollBar = new TbsSkinScrollBar(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->SetDefaultHeight(0);
    FScrollBar->SetDefaultWidth(19);
    FScrollBar->SetSmallChange(FItemHeight);
    FScrollBar->SetLargeChange(FItemHeight);
    FScrollBar->SetSkinDataName("vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->OnChange = [this](TObject* S) { SBChange(S); };
    AdjustScrollBar();
    FScrollBar->SetVisible(true);
    Repaint();
}

void TbsSkinOfficeListBox::HideScrollBar()
{
    if (!FScrollBar) return;
    FScrollBar->SetVisible(false);
    TbsSkinScrollBar* B = FScrollBar;
    FScrollBar = nullptr;
    delete B;
    Repaint();
}

void TbsSkinOfficeListBox::AdjustScrollBar()
{
    if (!FScrollBar) return;
    const TRect R = FIndex == -1 ? Rect(1, 1, Width() - 1, Height() - 1) : ItemsArea();
    FScrollBar->SetBounds(R.Right - FScrollBar->Width(), R.Top, FScrollBar->Width(), R.Height());
}

void TbsSkinOfficeListBox::SBChange(TObject*) { Scroll(FScrollBar->Position()); }

void TbsSkinOfficeListBox::ScrollToItem(int Index)
{
    CalcItemRects();
    TbsSkinOfficeItem* It = FItems->Items(Index);  // an index outside the items raises
    const TRect R = It->ItemRect;
    const int Old = FScrollOffset;
    if (R.Top <= FItemsRect.Top) {
        if (Index == 1 && FItems->Items(0)->Header())
            FScrollOffset = 0;
        else
            FScrollOffset = R.Top + FScrollOffset - FItemsRect.Top;
    } else if (R.Bottom >= FItemsRect.Bottom)
        FScrollOffset = R.Bottom + FScrollOffset + FItemsRect.Top - Height() + 1;
    if (FScrollOffset != Old) {
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y)
{
    CalcItemRects();
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        if (It->Enabled() && It->ItemRect.Contains(Point(X, Y))) return I;
    }
    return -1;
}

// ---- selection ---------------------------------------------------------------------------------------

void TbsSkinOfficeListBox::SetItemActive(int Index)
{
    FItemIndex = Index;
    for (int I = 0; I < FItems->Count(); ++I) FItems->Items(I)->Active = I == Index;
    Repaint();
    if (Index >= 0) ScrollToItem(Index);
}

void TbsSkinOfficeListBox::SetItemIndex(int Value)
{
    // an index that names no item selects nothing and clears every highlight; the item's and
    // the list's click events belong to a real item only
    const bool Valid = Value >= 0 && Value < FItems->Count();
    FItemIndex = Valid ? Value : -1;
    for (int I = 0; I < FItems->Count(); ++I) FItems->Items(I)->Active = I == FItemIndex;
    Repaint();
    if (!Valid) return;
    ScrollToItem(Value);
    if (!IsDesigning() && !ComponentState().Contains(csLoading)) {
        TbsSkinOfficeItem* It = FItems->Items(Value);
        if (It->OnClick) It->OnClick(this);
        if (OnItemClick) OnItemClick(this);
    }
}

int TbsSkinOfficeListBox::SelectableFrom(int Start, int Step, int Stop)
{
    for (int I = Start; Step < 0 ? I >= Stop : I <= Stop; I += Step) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        if (It->Enabled() && !It->Header()) return I;
    }
    return -1;
}

void TbsSkinOfficeListBox::MoveHighlight(int ADir)
{
    int I = -1;
    if (ADir < 0) {
        if (FItemIndex >= 1) I = SelectableFrom(FItemIndex - 1, -1, 0);
    } else {
        const int Start = FItemIndex < 0 ? 0 : FItemIndex + 1;
        if (Start < FItems->Count()) I = SelectableFrom(Start, 1, FItems->Count() - 1);
    }
    if (I != -1) SetItemActive(I);
}

void TbsSkinOfficeListBox::FindUp()
{
    if (FItemIndex < 1) return;
    const int I = SelectableFrom(FItemIndex - 1, -1, 0);
    if (I != -1) SetItemIndex(I);
}

void TbsSkinOfficeListBox::FindDown()
{
    const int Start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (Start >= FItems->Count()) return;
    const int I = SelectableFrom(Start, 1, FItems->Count() - 1);
    if (I != -1) SetItemIndex(I);
}

void TbsSkinOfficeListBox::FindPageUp()
{
    CalcItemRects();
    const int Page = MaxOf(1, FItemHeight > 0 ? FItemsRect.Height() / FItemHeight : 1);
    const int Start = FItemIndex - 1;
    if (Start < 0) return;
    const int Stop = MaxOf(0, Start - Page);
    bool PassedHeader = false;
    int Found = -1;
    for (int I = Start; I >= Stop; --I) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        if (It->Header()) {
            PassedHeader = true;
            continue;
        }
        if (!It->Enabled()) continue;
        Found = I;
        if (PassedHeader) break;
    }
    if (Found != -1) SetItemIndex(Found);
}

void TbsSkinOfficeListBox::FindPageDown()
{
    CalcItemRects();
    const int Page = MaxOf(1, FItemHeight > 0 ? FItemsRect.Height() / FItemHeight : 1);
    const int Start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (Start >= FItems->Count()) return;
    const int Stop = MinOf(FItems->Count() - 1, Start + Page);
    bool PassedHeader = false;
    int Found = -1;
    for (int I = Start; I <= Stop; ++I) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        if (It->Header()) {
            PassedHeader = true;
            continue;
        }
        if (!It->Enabled()) continue;
        Found = I;
        if (PassedHeader) break;
    }
    if (Found != -1) SetItemIndex(Found);
}

// ---- mouse and keys ----------------------------------------------------------------------------------

void TbsSkinOfficeListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int I = ItemAtPos(X, Y);
    if (I == -1 || FItems->Items(I)->Header()) return;
    SetItemActive(I);
    FMouseDown = true;
    FMouseActive = I;
}

void TbsSkinOfficeListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    const int I = ItemAtPos(X, Y);
    if (I == -1 || FItems->Items(I)->Header() || I == FMouseActive) return;
    if (FMouseDown || FMouseMoveChangeIndex) {
        SetItemActive(I);
        FMouseActive = I;
    }
}

void TbsSkinOfficeListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    if (Button != mbLeft) return;
    const int I = ItemAtPos(X, Y);
    if (I == -1 || FItems->Items(I)->Header()) return;
    SetItemIndex(I);
    if (FShowCheckBoxes && FItemIndex == I && X < FItems->Items(I)->ItemRect.Left + FCheckOffset) {
        TbsSkinOfficeItem* It = FItems->Items(I);
        It->SetChecked(!It->Checked());
        if (OnItemCheckClick) OnItemCheckClick(this);
    }
}

void TbsSkinOfficeListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_PRIOR: FindPageUp(); break;
    case VK_NEXT: FindPageDown(); break;
    case VK_LEFT:
    case VK_UP: FindUp(); break;
    case VK_RIGHT:
    case VK_DOWN: FindDown(); break;
    }
}

void TbsSkinOfficeListBox::KeyUp(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FShowCheckBoxes && FItemIndex >= 0 && FItemIndex < FItems->Count()) {
        TbsSkinOfficeItem* It = FItems->Items(FItemIndex);
        It->SetChecked(!It->Checked());
        if (OnItemCheckClick) OnItemCheckClick(this);
    }
}

void TbsSkinOfficeListBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case OfficeItemsChanged:
        FUpdatePosted = false;
        Repaint();
        UpdateScrollInfo();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (CanFocus() && !FocusBeforeClick()) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case WM_GETDLGCODE:
        M.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case WM_MOUSEWHEEL:
        if (FScrollBar) {
            const int Delta = int16_t(HIWORD(M.WParam));
            if (Delta < 0)
                FScrollBar->SetPosition(FScrollBar->Position() + FScrollBar->SmallChange());
            else
                FScrollBar->SetPosition(FScrollBar->Position() - FScrollBar->SmallChange());
        }
        M.Result = 1;
        return;
    case WM_SIZE: {
        TbsSkinCustomControl::Dispatch(M);
        if (Height() != FOldHeight) {
            CalcItemRects();
            if (FScrollOffset > 0 && FItemsRect.Bottom >= FRealMax) {
                FScrollOffset = MaxOf(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
                CalcItemRects();
                Invalidate();
            }
        }
        AdjustScrollBar();
        UpdateScrollInfo();
        FOldHeight = Height();
        return;
    }
    }
    TbsSkinCustomControl::Dispatch(M);
}

void TbsSkinOfficeListBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    if (FSD) {
        const int E = FSD->GetControlIndex("edit");
        auto* Edit = E != -1 ? dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[size_t(E)].get()) : nullptr;
        if (Edit)
            FDisabledFontColor = Edit->DisabledFontColor;
        else if (FSD->FSkinColors)
            FDisabledFontColor = FSD->FSkinColors->FcBtnShadow;
    }
    if (FScrollBar) {
        FScrollBar->SetSkinData(FSD);
        AdjustScrollBar();
    }
    CalcItemRects();
    Repaint();
}

// ---- drawing -----------------------------------------------------------------------------------------

void TbsSkinOfficeListBox::DrawItems(TCanvas* C)
{
    CalcItemRects();
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, FItemsRect.Left, FItemsRect.Top, FItemsRect.Right, FItemsRect.Bottom);
    for (int I = 0; I < FItems->Count(); ++I)
        if (FItems->Items(I)->IsVisible) DrawItem(I, C);
    RestoreDC(DC, Saved);
}

void TbsSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(0, 0, Width(), Height()));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, Width(), Height()));
    DrawItems(C);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    DrawItems(B->Canvas());
}

void TbsSkinOfficeListBox::DrawItem(int Index, TCanvas* Cnvs)
{
    if (FIndex == -1)
        DefaultDrawItem(Index, Cnvs);
    else
        SkinDrawItem(Index, Cnvs);
}

// The content of an item in R: check box column, bold title, image or wrapped caption.
void TbsSkinOfficeListBox::DrawItemContent(TCanvas* C, int Index, TRect R, bool Highlighted, TColor MarkColor,
                                           int CheckOffset)
{
    TbsSkinOfficeItem* It = FItems->Items(Index);
    if (FShowCheckBoxes) {
        if (CheckOffset == 14) {
            if (It->Checked()) DrawCheckMark(C, R.Left + 2, R.Top + R.Height() / 2 - 5, MarkColor);
        }
        R.Left += CheckOffset;
    }
    (void)Highlighted;
    C->Brush()->SetStyle(bsClear);
    if (!It->Title().empty() && FShowItemTitles) {
        const TFontStyles Old = C->Font()->Style();
        C->Font()->SetStyle(Old + TFontStyles{fsBold});
        const int TH = C->TextHeight(It->Title());
        TRect T(R.Left, R.Top, R.Right, R.Top + TH);
        DrawSingleLineText(C, It->Title(), T);
        C->Font()->SetStyle(Old);
        R.Top += TH;
    }
    if (FImages && It->ImageIndex() >= 0 && It->ImageIndex() < FImages->Count()) {
        DrawImageAndText2(C, R, -1, 2, blGlyphLeft, It->Caption(), It->ImageIndex(), FImages, false, It->Enabled(),
                          false, 0);
        return;
    }
    if (FShowItemTitles) R.Left += 10;
    const String& Text = It->Caption();
    if (Text.empty()) return;
    TRect M(R.Left, 0, R.Right, 0);
    DrawTextW(C->Handle(), Text.data(), int(Text.size()), &M, DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT);
    const int TH = M.Height();
    int Top = R.Top + R.Height() / 2 - TH / 2;
    if (Top < R.Top) Top = R.Top;
    TRect D(R.Left, Top, R.Right, Top + TH);
    DrawTextW(C->Handle(), Text.data(), int(Text.size()), &D, DT_WORDBREAK | DT_EXPANDTABS);
}

void TbsSkinOfficeListBox::DefaultDrawItem(int Index, TCanvas* C)
{
    TbsSkinOfficeItem* It = FItems->Items(Index);
    const TRect R = It->ItemRect;
    TColor Back = clWindow, Text = It->Enabled() ? clWindowText : TColor(0x808080);
    if (It->Header()) {
        Back = clBtnShadow;
        Text = clBtnHighlight;
    } else if (It->Active && It->Enabled()) {
        Back = clHighlight;
        Text = clHighlightText;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Back);
    C->FillRect(R);
    ApplyDefaultFont(C);
    C->Font()->SetColor(Text);
    C->Brush()->SetStyle(bsClear);
    if (It->Header()) {
        if (FHeaderLeftAlignment)
            DrawSingleLineText(C, It->Caption(), Rect(R.Left + 2, R.Top, R.Right, R.Bottom));
        else
            DrawAlignedText(C, It->Caption(), R, taCenter);
        return;
    }
    if (OnDrawItem)
        OnDrawItem(C, Index, R);
    else {
        FCheckOffset = FShowCheckBoxes ? 14 : 0;
        DrawItemContent(C, Index, R, It->Active, Text, FCheckOffset);
    }
    if (FShowLines) {
        C->Pen()->SetColor(clBtnFace);
        C->MoveTo(R.Left, R.Bottom - 1);
        C->LineTo(R.Right, R.Bottom - 1);
    }
    if (It->Active && Focused()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Back);
        C->Font()->SetColor(Text);
        C->DrawFocusRect(R);
    }
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(int Index, TCanvas* C)
{
    TbsSkinOfficeItem* It = FItems->Items(Index);
    int I = FSD->GetControlIndex(FHeaderSkinDataName);
    if (I == -1) I = FSD->GetControlIndex("label");
    if (I == -1) return;
    auto* Rec = dynamic_cast<TbsDataSkinLabelControl*>(FSD->CtrlList[size_t(I)].get());
    if (!Rec) return;
    TBitmap* Pic = FSD->ActivePicture(Rec->PictureIndex);
    const TRect R = It->ItemRect;
    TBitmap B;
    B.SetSize(R.Width(), R.Height());
    if (Pic) CreateStretchSkinImage(&B, Pic, Rec->SkinRect, Rec->ClRect, true);
    TRect T(1, 1, R.Width() - 1, R.Height() - 1);
    if (FHeaderLeftAlignment) T.Left = Rec->ClRect.Left;
    TCanvas* BC = B.Canvas();
    BC->Font()->SetName(Rec->FontName);
    BC->Font()->SetColor(Rec->FontColor);
    BC->Font()->SetHeight(Rec->FontHeight);
    BC->Font()->SetStyle(Rec->FontStyle);
    BC->Brush()->SetStyle(bsClear);
    DrawAlignedText(BC, It->Caption(), T, FHeaderLeftAlignment ? taLeftJustify : taCenter);
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinOfficeListBox::SkinDrawItem(int Index, TCanvas* C)
{
    TbsSkinOfficeItem* It = FItems->Items(Index);
    if (It->Header()) {
        SkinDrawHeaderItem(Index, C);
        return;
    }
    const int LI = FSD->GetControlIndex(FItemSkinDataName);
    auto* Rec = LI != -1 ? dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[size_t(LI)].get()) : nullptr;
    if (!Rec) return;
    TbsDataSkinCheckListBox* Check = nullptr;
    if (FShowCheckBoxes) {
        const int CI = FSD->GetControlIndex("checklistbox");
        if (CI != -1) Check = dynamic_cast<TbsDataSkinCheckListBox*>(FSD->CtrlList[size_t(CI)].get());
    }
    if (Rec->FontColor == FDisabledFontColor && FDisabledFontColor == 0) FDisabledFontColor = 0x808080;
    auto Font = [&](TCanvas* X) {
        if (FUseSkinFont) {
            X->Font()->SetName(Rec->FontName);
            X->Font()->SetHeight(Rec->FontHeight);
            X->Font()->SetStyle(Rec->FontStyle);
            ApplyCharset(X);
        } else
            ApplyDefaultFont(X);
        const bool OwnColor = FSkinDataName == "listbox" || FSkinDataName == "memo" || FSkinDataName == "menupagepanel";
        TColor Col = OwnColor ? Rec->FontColor : (FSD->FSkinColors ? FSD->FSkinColors->FcBtnText : clBtnText);
        if (!It->Enabled()) Col = FDisabledFontColor;
        X->Font()->SetColor(Col);
    };
    TBitmap* Pic = FSD->ActivePicture(Rec->PictureIndex);
    const TRect R = It->ItemRect;
    const bool Highlighted = It->Active && It->Enabled();
    auto Content = [&](TCanvas* X, TRect CR, TColor Mark) {
        if (OnDrawItem) {
            X->Brush()->SetStyle(bsClear);
            OnDrawItem(X, Index, CR);
            return;
        }
        int Offset = 0;
        if (FShowCheckBoxes) {
            if (Check && Pic) {
                TBitmap Img;
                bsCopyPicturePart(&Img, Pic, It->Checked() ? Check->CheckImageRect : Check->UnCheckImageRect);
                Img.SetTransparent(true);
                X->Draw(CR.Left, CR.Top + CR.Height() / 2 - Img.Height() / 2, &Img);
                Offset = Img.Width() + 5;
                CR.Left += Offset;
                FCheckOffset = Offset;
                TbsSkinOfficeItem* Saved = It;
                (void)Saved;
                const bool SavedCheck = FShowCheckBoxes;
                FShowCheckBoxes = false;
                DrawItemContent(X, Index, CR, Highlighted, Mark, 0);
                FShowCheckBoxes = SavedCheck;
                return;
            }
            FCheckOffset = 14;
            Offset = 14;
        }
        DrawItemContent(X, Index, CR, Highlighted, Mark, Offset);
    };
    TRect Work(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    if (Highlighted) {
        TBitmap B;
        B.SetSize(R.Width(), R.Height());
        const TRect Src = Focused() ? Rec->FocusItemRect : Rec->ActiveItemRect;
        if (Pic && !Src.IsEmpty()) CreateStretchSkinImage(&B, Pic, Src, Rec->ItemTextRect, true);
        Font(B.Canvas());
        B.Canvas()->Font()->SetColor(Focused() ? Rec->FocusFontColor : Rec->ActiveFontColor);
        Content(B.Canvas(), Rect(2, 2, R.Width() - 2, R.Height() - 2), Rec->ActiveFontColor);
        C->Draw(R.Left, R.Top, &B);
        return;
    }
    HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    Font(C);
    Content(C, Work, FSD->FSkinColors ? FSD->FSkinColors->FcWindowText : clWindowText);
    if (FShowLines) {
        C->Pen()->SetColor(FSD->FSkinColors ? FSD->FSkinColors->FcBtnShadow : clBtnShadow);
        C->MoveTo(R.Left, R.Bottom - 1);
        C->LineTo(R.Right, R.Bottom - 1);
    }
    RestoreDC(DC, Saved);
}

// ---- the pop-up list ---------------------------------------------------------------------------------

TbsPopupOfficeListBox::TbsPopupOfficeListBox(TComponent* AOwner) : TbsSkinOfficeListBox(AOwner)
{
    FControlStyle.Include(csNoDesignVisible);
    FVisible = false;
}

void TbsPopupOfficeListBox::CreateParams(TCreateParams& Params)
{
    TbsSkinOfficeListBox::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (OsIsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
    Params.WndParent = nullptr;
}

void TbsPopupOfficeListBox::Hide()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FVisible = false;
}

void TbsPopupOfficeListBox::Dispatch(TMessage& M)
{
    if (M.Msg == WM_MOUSEACTIVATE) {
        M.Result = MA_NOACTIVATE;
        return;
    }
    TbsSkinOfficeListBox::Dispatch(M);
}
