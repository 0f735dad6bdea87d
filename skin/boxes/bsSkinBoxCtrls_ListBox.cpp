// The skinned list box: frame, scroll bars made on demand from the inner list's scroll
// state, layout of the inner list, caption strip with up, down and check buttons (with a
// press-and-hold repeat on window timer 1), skin reading.
#include "skin/boxes/bsSkinBoxCtrls.h"

namespace {
constexpr uintptr_t RepeatTimerId = 1;

// A scroll bar of the list box; the list box sets its corner-sharing flag without the
// property's own switching of record names.
class TbsListScrollBar : public TbsSkinScrollBar {
public:
    using TbsSkinScrollBar::TbsSkinScrollBar;
    void SetBothField(bool Value) { FBoth = Value; }
};

void SetBothField(TbsSkinScrollBar* B, bool Value)
{
    if (auto* L = dynamic_cast<TbsListScrollBar*>(B)) L->SetBothField(Value);
}
}  // namespace

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FTabWidths(new TStringList), FGlyph(new TBitmap), FDefaultCaptionFont(new TFont)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable};
    FForceBackground = true;
    FDrawbackground = false;
    FDefaultCaptionFont->SetName("Tahoma");
    FDefaultCaptionFont->SetHeight(13);
    FDefaultCaptionFont->OnChange = [this](TObject*) {
        if (FIndex == -1 && FCaptionMode) Invalidate();
    };
    Font()->SetName("Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    ListBox = new TbsListBox(this);
    ListBox->SkinListBox = this;
    ListBox->SetStyle(lbOwnerDrawFixed);
    ListBox->SetItemHeight(20);
    ListBox->SetParent(this);
    ListBox->SetVisible(true);
    SetHeight(120);
    SetWidth(120);
    FSkinDataName = "listbox";
}

TbsSkinCustomListBox::~TbsSkinCustomListBox()
{
    FDefaultCaptionFont->OnChange = nullptr;
    delete HScrollBar;
    HScrollBar = nullptr;
    delete ScrollBar;
    ScrollBar = nullptr;
    TbsListBox* L = ListBox;
    L->SkinListBox = nullptr;
    ListBox = nullptr;
    delete L;
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& P)
{
    TbsSkinCustomControl::CreateParams(P);
    P.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == ScrollBar) ScrollBar = nullptr;
    if (AComponent == HScrollBar) HScrollBar = nullptr;
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

void TbsSkinCustomListBox::DefaultFontChanged()
{
    if (FIndex == -1) Font()->Assign(FDefaultFont.get());
}

// ---- properties -----------------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetItems(TStrings* Value)
{
    ListBox->Items()->Assign(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value)
{
    if (ScrollBar) HideScrollBar();
    ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetColumns(int Value)
{
    ListBox->SetColumns(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value)
{
    FHorizontalExtent = Value;
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int Value)
{
    FRowCount = Value;
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int Value)
{
    FDefaultItemHeight = Value;
    if (FIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(Value);
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value)
{
    FTabWidths->Assign(Value);
    if (FTabWidths->Count() > 0) ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    ListBox->Repaint();
}

void TbsSkinCustomListBox::SetImageIndex(int Value)
{
    FImageIndex = Value;
    ListBox->Repaint();
}

void TbsSkinCustomListBox::SetCaptionMode(bool Value)
{
    FCaptionMode = Value;
    if (FIndex == -1) {
        CalcListRects();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetCaption(const String& Value)
{
    if (GetText() == Value) return;
    SetText(Value);
    if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int Value)
{
    FDefaultCaptionHeight = Value;
    if (FIndex == -1 && FCaptionMode) {
        CalcListRects();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value)
{
    if (FShowCaptionButtons == Value) return;
    FShowCaptionButtons = Value;
    Repaint();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(int Value)
{
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinCustomListBox::SetSpacing(int Value)
{
    FSpacing = Value;
    Repaint();
}

void TbsSkinCustomListBox::Clear()
{
    ListBox->Clear();
    UpDateScrollBar();
}

// ---- the hand-over of the inner list's events -------------------------------------------------------------

int TbsSkinCustomListBox::GetItemTextWidth(int Index, TCanvas* C) { return C->TextWidth(Items()->Strings(Index)); }

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick()
{
    if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick()
{
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(WORD& Key, TShiftState Shift)
{
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(WORD& Key, TShiftState Shift)
{
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(char32_t& Key)
{
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

// ---- layout -------------------------------------------------------------------------------------------------

void TbsSkinCustomListBox::CalcListRects()
{
    if (!ListBox) return;
    const bool Skinned = FIndex != -1;
    int C = 1;
    if (!Skinned)
        C = FCaptionMode ? FDefaultCaptionHeight : 1;
    else {
        NewClRect = ClRect;
        NewClRect.Right += Width() - SkinRect.Width();
        NewClRect.Bottom += Height() - SkinRect.Height();
    }
    int H = 0;
    if (Columns() == 0 && HScrollBar && HScrollBar->Visible()) {
        if (!Skinned) {
            HScrollBar->SetBounds(1, Height() - 20, Width() - 2, 19);
            H = HScrollBar->Height() - 1;
        } else {
            HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - HScrollBar->Height(), NewClRect.Width(),
                                  HScrollBar->Height());
            H = HScrollBar->Height();
        }
    }
    if (ScrollBar && ScrollBar->Visible()) {
        if (!Skinned) {
            if (Columns() <= 0) {
                ScrollBar->SetBounds(Width() - 20, C, 19, Height() - C - H - 1);
                ListRect = Rect(2, C + 1, ScrollBar->Left(), Height() - H - 2);
            } else {
                ScrollBar->SetBounds(1, Height() - 20, Width() - 2, 19);
                ListRect = Rect(2, C + 1, Width() - 2, ScrollBar->Top());
            }
        } else if (Columns() <= 0) {
            ScrollBar->SetBounds(NewClRect.Right - ScrollBar->Width(), NewClRect.Top, ScrollBar->Width(),
                                 NewClRect.Height() - H);
            ListRect = NewClRect;
            ListRect.Right -= ScrollBar->Width();
            ListRect.Bottom -= H;
        } else {
            ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - ScrollBar->Height(), NewClRect.Width(),
                                 ScrollBar->Height());
            ListRect = NewClRect;
            ListRect.Bottom -= ScrollBar->Height();
        }
    } else if (!Skinned)
        ListRect = Rect(2, C + 1, Width() - 2, Height() - H - 2);
    else {
        ListRect = NewClRect;
        ListRect.Bottom -= H;
    }
    ListBox->SetBoundsRect(ListRect);
}

int TbsSkinCustomListBox::CalcHeight(int AItemsCount)
{
    int H;
    if (FIndex == -1) {
        H = AItemsCount * ListBox->ItemHeight() + 4;
        if (FCaptionMode) H += FDefaultCaptionHeight;
    } else
        H = SkinRect.Height() + AItemsCount * ListBox->ItemHeight() + ClRect.Top - ClRect.Bottom;
    if (HScrollBar) H += HScrollBar->Height();
    return H;
}

// ---- scroll bars --------------------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetScrollBarNames()
{
    if (!ScrollBar) return;
    if (FIndex == -1)
        ScrollBar->SetSkinDataName("");
    else
        ScrollBar->SetSkinDataName(Columns() > 0 ? HScrollBarName : VScrollBarName);
}

void TbsSkinCustomListBox::SetHScrollBarNames()
{
    if (!HScrollBar) return;
    if (FIndex == -1) {
        HScrollBar->SetSkinDataName("");
        if (ScrollBar) {
            SetBothField(HScrollBar, true);
            HScrollBar->SetBothMarkerWidth(19);
        }
    } else if (ScrollBar) {
        HScrollBar->SetBothSkinDataName(BothScrollBarName);
        HScrollBar->SetSkinDataName(BothScrollBarName);
        SetBothField(HScrollBar, true);
    } else {
        HScrollBar->SetBothSkinDataName(HScrollBarName);
        HScrollBar->SetSkinDataName(HScrollBarName);
        SetBothField(HScrollBar, false);
    }
}

void TbsSkinCustomListBox::ShowScrollBar()
{
    auto* B = new TbsListScrollBar(this);
    ScrollBar = B;
    B->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
    B->SetBounds(0, 0, 20, 100);
    B->SetRange(0, B->Max(), 0, 0);
    B->OnChange = [this](TObject*) {
        if (!ListBox || !ScrollBar) return;
        const WPARAM W = MAKEWPARAM(SB_THUMBPOSITION, WORD(ScrollBar->Position()));
        SendMessage(ListBox->Handle(), Columns() > 0 ? WM_HSCROLL : WM_VSCROLL, W, 0);
    };
    SetScrollBarNames();
    B->SetSkinData(FSD);
    if (HScrollBar) {
        SetHScrollBarNames();
        HScrollBar->SetSkinData(FSD);
    }
    B->SetParent(this);
    CalcListRects();
    B->SetVisible(true);
    Repaint();
}

void TbsSkinCustomListBox::HideScrollBar()
{
    if (!ScrollBar) return;
    ScrollBar->SetVisible(false);
    TbsSkinScrollBar* B = ScrollBar;
    ScrollBar = nullptr;
    delete B;
    CalcListRects();
}

void TbsSkinCustomListBox::ShowHScrollBar()
{
    auto* B = new TbsListScrollBar(this);
    HScrollBar = B;
    B->SetKind(sbHorizontal);
    B->SetBounds(0, 0, 100, 20);
    B->SetRange(0, B->Max(), 0, 0);
    B->OnChange = [this](TObject*) {
        if (!ListBox || !HScrollBar) return;
        ListBox->FHorizontalExtentValue = HScrollBar->Position();
        ListBox->Repaint();
    };
    SetHScrollBarNames();
    B->SetSkinData(FSD);
    B->SetParent(this);
    B->SetVisible(true);
    CalcListRects();
    Repaint();
}

void TbsSkinCustomListBox::HideHScrollBar()
{
    if (!HScrollBar) return;
    ListBox->FHorizontalExtentValue = 0;
    HScrollBar->SetVisible(false);
    TbsSkinScrollBar* B = HScrollBar;
    HScrollBar = nullptr;
    delete B;
    CalcListRects();
    ListBox->Repaint();
}

void TbsSkinCustomListBox::UpDateScrollBar()
{
    if (!ListBox) return;
    const int Count = ListBox->Count();
    const int IH = MaxOf(1, ListBox->ItemHeight());
    if (Columns() < 1) {
        // the horizontal extent
        if (!FHorizontalExtent || FStopUpDateHScrollBar) {
            if (HScrollBar && HScrollBar->Visible()) HideHScrollBar();
        } else {
            TBitmap Measure;
            Measure.SetSize(1, 1);
            TCanvas* C = Measure.Canvas();
            if (FIndex != -1 && FUseSkinFont) {
                C->Font()->SetName(FontName);
                C->Font()->SetStyle(FontStyle);
                C->Font()->SetHeight(FontHeight);
            } else
                C->Font()->Assign(ListBox->Font());
            int M = 0;
            for (int I = 0; I < Count; ++I) M = MaxOf(M, GetItemTextWidth(I, C));
            int P = FIndex == -1 ? ListBox->Width() - 4
                                 : ListBox->Width() + ItemTextRect.Width() - SItemRect.Width();
            if (FImages) P -= FImages->Width() + 4;
            if (P < M) {
                if (!HScrollBar) ShowHScrollBar();
                HScrollBar->SetRange(0, M, P, HScrollBar->Position());
                const int Step = C->TextWidth("0");
                HScrollBar->SetSmallChange(Step);
                HScrollBar->SetLargeChange(Step);
            } else if (HScrollBar && HScrollBar->Visible())
                HideHScrollBar();
        }
        // vertical
        if (FRowCount == 0 || FRowCount != Count) {
            SCROLLINFO SI;
            SI.fMask = SIF_ALL;
            int Min = 0, Max = 0, Pos = 0;
            if (GetScrollInfo(ListBox->Handle(), SB_VERT, &SI)) {
                Min = SI.nMin;
                Max = SI.nMax;
                Pos = SI.nPos;
            }
            const int Page = ListBox->Height() / IH;
            if (Max > Min && Pos <= Max && Page < Count) {
                if (!ScrollBar) ShowScrollBar();
                ScrollBar->SetRange(Min, Max, Page, Pos);
                ScrollBar->SetLargeChange(Page);
                return;
            }
        }
    } else {
        SCROLLINFO SI;
        SI.fMask = SIF_ALL;
        int Min = 0, Max = 0, Pos = 0;
        if (GetScrollInfo(ListBox->Handle(), SB_HORZ, &SI)) {
            Min = SI.nMin;
            Max = SI.nMax;
            Pos = SI.nPos;
        }
        const int Page = Columns();
        if (Max > Min && Pos <= Max && Page <= Max && (ListBox->Height() / IH) * Columns() < Count) {
            if (!ScrollBar) ShowScrollBar();
            ScrollBar->SetRange(Min, Max, Page, Pos);
            return;
        }
    }
    if (ScrollBar && ScrollBar->Visible()) HideScrollBar();
}

// ---- skin ---------------------------------------------------------------------------------------------------

void TbsSkinCustomListBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) return;
    FontName = R->FontName;
    FontStyle = R->FontStyle;
    FontHeight = R->FontHeight;
    SItemRect = R->SItemRect;
    ActiveItemRect = IsEmptyRect(R->ActiveItemRect) ? R->SItemRect : R->ActiveItemRect;
    FocusItemRect = IsEmptyRect(R->FocusItemRect) ? R->SItemRect : R->FocusItemRect;
    ItemLeftOffset = R->ItemLeftOffset;
    ItemRightOffset = R->ItemRightOffset;
    ItemTextRect = R->ItemTextRect;
    FontColor = R->FontColor;
    ActiveFontColor = R->ActiveFontColor;
    FocusFontColor = R->FocusFontColor;
    CaptionRect = R->CaptionRect;
    CaptionFontName = R->CaptionFontName;
    CaptionFontStyle = R->CaptionFontStyle;
    CaptionFontHeight = R->CaptionFontHeight;
    CaptionFontColor = R->CaptionFontColor;
    UpButtonRect = R->UpButtonRect;
    ActiveUpButtonRect = R->ActiveUpButtonRect;
    DownUpButtonRect = IsEmptyRect(R->DownUpButtonRect) ? ActiveUpButtonRect : R->DownUpButtonRect;
    DownButtonRect = R->DownButtonRect;
    ActiveDownButtonRect = R->ActiveDownButtonRect;
    DownDownButtonRect = IsEmptyRect(R->DownDownButtonRect) ? ActiveDownButtonRect : R->DownDownButtonRect;
    CheckButtonRect = R->CheckButtonRect;
    ActiveCheckButtonRect = R->ActiveCheckButtonRect;
    DownCheckButtonRect = IsEmptyRect(R->DownCheckButtonRect) ? ActiveCheckButtonRect : R->DownCheckButtonRect;
    VScrollBarName = R->VScrollBarName;
    HScrollBarName = R->HScrollBarName;
    BothScrollBarName = R->BothScrollBarName;
    ShowFocus = R->ShowFocus;
    DisabledButtonsRect = R->DisabledButtonsRect;
    ButtonsArea = R->ButtonsArea;
}

void TbsSkinCustomListBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        ListBox->SetItemHeight(FDefaultItemHeight);
        ListBox->Font()->Assign(FDefaultFont.get());
    } else if (FUseSkinItemHeight && SItemRect.Height() > 0)
        ListBox->SetItemHeight(SItemRect.Height());
    if (ScrollBar) {
        SetScrollBarNames();
        ScrollBar->SetSkinData(FSD);
    }
    if (HScrollBar) {
        SetHScrollBarNames();
        HScrollBar->SetSkinData(FSD);
    }
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    CalcListRects();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    ListBox->Repaint();
}

// ---- caption buttons ----------------------------------------------------------------------------------------

void TbsSkinCustomListBox::CalcButtonRects()
{
    if (FIndex == -1) {
        const int A = MinOf(17, FDefaultCaptionHeight - 3);
        Buttons[bsLBCheckButton].R = Rect(Width() - A - 2, 2, Width() - 2, A + 1);
        Buttons[bsLBDownButton].R = Rect(Width() - 2 * A - 2, 2, Width() - A - 2, A + 1);
        Buttons[bsLBUpButton].R = Rect(Width() - 3 * A - 2, 2, Width() - 2 * A - 2, A + 1);
        return;
    }
    const TRect Places[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    for (int I = 0; I < 3; ++I) {
        TRect R = Places[I];
        if (!FShowCaptionButtons) {
            Buttons[I].R = TRect();
            continue;
        }
        int CornerX;
        if (R.Top > LTPt.Y) {
            R.Top += Height() - SkinRect.Height();
            R.Bottom += Height() - SkinRect.Height();
            CornerX = RBPt.X;
        } else
            CornerX = RTPt.X;
        if (CornerX < R.Left) {
            R.Left += Width() - SkinRect.Width();
            R.Right += Width() - SkinRect.Width();
        }
        Buttons[I].R = R;
    }
}

void TbsSkinCustomListBox::TestActive(int X, int Y)
{
    if ((FIndex != -1 && IsEmptyRect(UpButtonRect) && IsEmptyRect(DownButtonRect)) || !FShowCaptionButtons ||
        !FCaptionMode)
        return;
    CalcButtonRects();
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int I = 0; I < 3; ++I)
        if (Buttons[I].R.Contains(Point(X, Y))) {
            ActiveButton = I;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        RepaintButton(OldActiveButton);
        if (TimerMode != 0 && Buttons[OldActiveButton].Down && HandleAllocated()) KillTimer(FHandle, RepeatTimerId);
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        RepaintButton(ActiveButton);
        if (TimerMode != 0 && Buttons[ActiveButton].Down) StartTimer(50);
    }
}

void TbsSkinCustomListBox::StartTimer(unsigned Interval)
{
    if (!HandleAllocated()) return;
    KillTimer(FHandle, RepeatTimerId);
    SetTimer(FHandle, RepeatTimerId, Interval, nullptr);
}

void TbsSkinCustomListBox::StopTimer()
{
    if (HandleAllocated()) KillTimer(FHandle, RepeatTimerId);
    TimerMode = 0;
}

void TbsSkinCustomListBox::ButtonAction(int I)
{
    const int Index = ItemIndex();
    switch (I) {
    case bsLBUpButton:
        if (Index > 0) SetItemIndex(Index - 1);
        break;
    case bsLBDownButton:
        if (Index < Items()->Count() - 1) SetItemIndex(Index + 1);
        break;
    case bsLBCheckButton: ListBox->Click(); break;
    }
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TestActive(X, Y);
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        TbsCBButtonX& B = Buttons[ActiveButton];
        B.MouseIn = true;
        B.Down = true;
        RepaintButton(ActiveButton);
        const TNotifyEvent& E = ActiveButton == bsLBUpButton     ? OnUpButtonClick
                                : ActiveButton == bsLBDownButton ? OnDownButtonClick
                                                                 : OnCheckButtonClick;
        if (!E && ActiveButton != bsLBCheckButton) {
            TimerMode = ActiveButton == bsLBUpButton ? 1 : 2;
            WaitMode = true;
            StartTimer(500);
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TestActive(X, Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int I = CaptureButton;
    if (I != -1) {
        TbsCBButtonX& B = Buttons[I];
        B.Down = false;
        if (I != ActiveButton) B.MouseIn = false;
        RepaintButton(I);
        const TNotifyEvent E = I == bsLBUpButton     ? OnUpButtonClick
                               : I == bsLBDownButton ? OnDownButtonClick
                                                     : OnCheckButtonClick;
        if (B.MouseIn && E)
            E(this);
        else
            ButtonAction(I);
        if (TimerMode != 0) StopTimer();
        CaptureButton = -1;
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::RepaintButton(int I)
{
    if (!HandleAllocated() || !Visible()) return;
    CalcButtonRects();
    DrawButton(Canvas(), I);
}

void TbsSkinCustomListBox::DrawButton(TCanvas* C, int I)
{
    const TbsCBButtonX& B = Buttons[I];
    const bool Pressed = B.Down && B.MouseIn;
    if (FIndex == -1) {
        if (B.R.IsEmpty()) return;
        if (Pressed || B.MouseIn) {
            C->Brush()->SetColor(bsDefaultFrameColor);
            C->FillRect(B.R);
            C->Brush()->SetColor(Pressed ? bsDefaultDownColor : bsDefaultHotColor);
            C->FillRect(Rect(B.R.Left + 1, B.R.Top + 1, B.R.Right - 1, B.R.Bottom - 1));
        } else {
            C->Brush()->SetColor(clBtnShadow);
            C->FillRect(B.R);
        }
        if (I == bsLBCheckButton)
            DrawCheckMark(C, B.R.Left + 4, B.R.Top + 4, clBlack);
        else
            DrawArrowImage(C, B.R, clBlack, I == bsLBUpButton ? 3 : 4);
        return;
    }
    if (IsEmptyRect(B.R) || !Picture) return;
    const TRect Normal[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    const TRect Active[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
    const TRect Down[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
    TRect Src;
    if (Pressed)
        Src = Down[I];
    else if (B.MouseIn)
        Src = Active[I];
    if (IsEmptyRect(Src)) {
        Src = Normal[I];
        Src.Left += SkinRect.Left;
        Src.Right += SkinRect.Left;
        Src.Top += SkinRect.Top;
        Src.Bottom += SkinRect.Top;
    }
    C->CopyRect(B.R, Picture->Canvas(), Src);
}

// ---- painting -----------------------------------------------------------------------------------------------

void TbsSkinCustomListBox::DrawCaption(TCanvas* C, const TRect& R, bool Skinned)
{
    const String Text = GetText();
    const bool HasGlyph = !FGlyph->Empty();
    const int NG = FNumGlyphs <= 0 ? 1 : FNumGlyphs;
    const int GW = HasGlyph ? FGlyph->Width() / NG : 0;
    int W = C->TextWidth(Text);
    if (HasGlyph) W += GW + FSpacing;
    const int Pad = Skinned ? 2 : 0;
    int X = R.Left + Pad;
    if (FAlignment == taRightJustify) X = R.Right - W - Pad;
    else if (FAlignment == taCenter) X = R.Left + Pad + R.Width() / 2 - W / 2;
    const int TH = C->TextHeight(Text);
    int Y, GY;
    if (Skinned) {
        Y = R.Top + R.Height() / 2 - TH / 2;
        GY = R.Top + R.Height() / 2 - FGlyph->Height() / 2;
    } else {
        Y = (FDefaultCaptionHeight - 2) / 2 - TH / 2;
        GY = R.Top + R.Height() / 2 - FGlyph->Height() / 2 - 1;
    }
    if (HasGlyph) {
        DrawGlyph(C, X, GY, FGlyph.get(), NG, !Enabled() && NG == 2 ? 2 : 1);
        X += GW + FSpacing;
    }
    C->Brush()->SetStyle(bsClear);
    C->TextRect(R, X, Y, Text);
}

void TbsSkinCustomListBox::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(ListBox->Color());
    C->FrameRect(Rect(1, 1, W - 1, H - 1));
    if (!FCaptionMode) return;
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(Rect(0, 0, W, FDefaultCaptionHeight));
    const int A = MinOf(17, FDefaultCaptionHeight - 3);
    const TRect TR = FShowCaptionButtons ? Rect(3, 2, W - 3 * A - 3, FDefaultCaptionHeight - 2)
                                         : Rect(3, 2, W - 2, FDefaultCaptionHeight - 2);
    C->Font()->Assign(FDefaultCaptionFont.get());
    if (FSD && FSD->ResourceStrData()) C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    DrawCaption(C, TR, false);
    if (FShowCaptionButtons) {
        CalcButtonRects();
        C->Brush()->SetStyle(bsSolid);
        for (int I = 0; I < 3; ++I) DrawButton(C, I);
    }
}

void TbsSkinCustomListBox::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    TCanvas* C = B->Canvas();
    if (!FShowCaptionButtons && !IsEmptyRect(UpButtonRect) && Picture) {
        if (IsEmptyRect(DisabledButtonsRect)) {
            const TRect Src(NewLTPoint.X, 0, NewRTPoint.X, NewClRect.Top - 1);
            const TRect Dst(NewLTPoint.X, 0, Width() + UpButtonRect.Right - SkinRect.Width(), NewClRect.Top - 1);
            if (!Src.IsEmpty() && !Dst.IsEmpty()) {
                TBitmap Strip;
                Strip.SetSize(Src.Width(), Src.Height());
                Strip.Canvas()->CopyRect(Rect(0, 0, Src.Width(), Src.Height()), C, Src);
                C->StretchDraw(Dst, &Strip);
            }
        } else {
            TRect Dst = ButtonsArea;
            Dst.Left += Width() - SkinRect.Width();
            Dst.Right += Width() - SkinRect.Width();
            C->CopyRect(Rect(Dst.Left, Dst.Top, Dst.Left + DisabledButtonsRect.Width(),
                             Dst.Top + DisabledButtonsRect.Height()),
                        Picture->Canvas(), DisabledButtonsRect);
        }
    }
    NewClRect = ClRect;
    NewClRect.Right += Width() - SkinRect.Width();
    NewClRect.Bottom += Height() - SkinRect.Height();
    if (FCaptionMode) {
        NewCaptionRect = CaptionRect;
        if (FShowCaptionButtons) {
            if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += Width() - SkinRect.Width();
            CalcButtonRects();
        } else
            NewCaptionRect.Right = Width() - CaptionRect.Left;
    }
    if (!IsEmptyRect(CaptionRect) && !IsEmptyRect(NewCaptionRect)) {
        C->Font()->SetName(CaptionFontName);
        C->Font()->SetHeight(CaptionFontHeight);
        C->Font()->SetColor(CaptionFontColor);
        C->Font()->SetStyle(CaptionFontStyle);
        if (FSD && FSD->ResourceStrData())
            C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
        else
            C->Font()->SetCharset(FDefaultCaptionFont->Charset());
        DrawCaption(C, NewCaptionRect, true);
    }
    if (FShowCaptionButtons)
        for (int I = 0; I < 3; ++I) DrawButton(C, I);
}

// ---- messages -----------------------------------------------------------------------------------------------

void TbsSkinCustomListBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(M);
        CalcListRects();
        UpDateScrollBar();
        if (ScrollBar) ScrollBar->Repaint();
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(M);
        if (M.WParam != RepeatTimerId) return;
        if (WaitMode) {
            WaitMode = false;
            StartTimer(100);
            return;
        }
        if (TimerMode == 1 && ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
        if (TimerMode == 2 && ItemIndex() < Items()->Count() - 1) SetItemIndex(ItemIndex() + 1);
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(M);
        TestActive(-1, -1);
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if (FCaptionMode && FShowCaptionButtons) {
            ActiveButton = -1;
            for (int I = 0; I < 3; ++I)
                if (Buttons[I].MouseIn) {
                    Buttons[I].MouseIn = false;
                    RepaintButton(I);
                }
        }
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}
