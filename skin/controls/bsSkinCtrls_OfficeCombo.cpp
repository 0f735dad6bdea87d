// The office combo box: the closed control shows the selected office item; its drop-down is
// a pop-up office list that opens under it, follows the mouse and may fade in.
#include <chrono>

#include "skin/controls/bsSkinCtrls.h"

namespace {
constexpr uintptr_t ScrollTimerId = 1;
constexpr TColor ComboFrame = 12020539, ComboDown = 14990498, ComboHot = 15979713;
}  // namespace

// ---- the pop-up list's showing (it applies its owner's alpha) -------------------------------------------

void TbsPopupOfficeListBox::Show(TPoint Origin)
{
    HandleNeeded();
    auto* Owner_ = dynamic_cast<TbsSkinCustomOfficeComboBox*>(Owner());
    const bool Layering = OsIsWin2000OrLater() && Owner_;
    if (Layering) {
        LONG_PTR Ex = GetWindowLong(Handle(), GWL_EXSTYLE);
        if (Owner_->AlphaBlend() && !FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        else if (!Owner_->AlphaBlend() && FOldAlphaBlend)
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex & ~LONG_PTR(WS_EX_LAYERED));
        FOldAlphaBlend = Owner_->AlphaBlend();
        if (Owner_->AlphaBlend() && Owner_->AlphaBlendValue() != FOldAlphaBlendValue) {
            FOldAlphaBlendValue = Owner_->AlphaBlendAnimation() ? 0 : Owner_->AlphaBlendValue();
            SetLayeredAlpha(Handle(), FOldAlphaBlendValue);
        }
    }
    SetWindowPos(Handle(), HWND_TOPMOST, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FVisible = true;
    UpdateScrollInfo();
    Invalidate();
    // without a compositor the layered alpha shows nothing, so there is nothing to fade
    if (Layering && LayeredWindowsAvailable() && Owner_->AlphaBlendAnimation() && Owner_->AlphaBlend()) {
        Application->ProcessMessages();
        Owner_->FLBDown = false;
        const int Target = Owner_->AlphaBlendValue();
        const int Step = Target / 15 == 0 ? 1 : Target / 15;
        int Alpha = 0;
        SetLayeredAlpha(Handle(), 0);
        FadeSteps.clear();
        auto Last = std::chrono::steady_clock::now();
        while (Alpha < Target) {
            const auto Now = std::chrono::steady_clock::now();
            if (Now - Last <= std::chrono::milliseconds(5)) continue;
            Last = Now;
            Alpha = MinOf(Alpha + Step, Target);
            SetLayeredAlpha(Handle(), uint8_t(Alpha));
            FadeSteps.push_back(uint8_t(Alpha));
        }
        FOldAlphaBlendValue = uint8_t(Target);
    }
}

// ---- the control -------------------------------------------------------------------------------------

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    FListBox = new TbsPopupOfficeListBox(this);
    FListBoxWindowProc = FListBox->WindowProc;
    FListBox->WindowProc = [this](TMessage& M) { ListWindowProc(M); };
    FListBox->SetMouseMoveChangeIndex(true);
    SetTabStop(true);
    Font()->SetName("Tahoma");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(13);
    SetBounds(FLeft, FTop, 120, 41);
    FSkinDataName = "combobox";
    CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox()
{
    TbsPopupOfficeListBox* L = FListBox;
    FListBox = nullptr;
    L->WindowProc = FListBoxWindowProc;
    delete L;
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images()) FListBox->SetImages(nullptr);
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value)
{
    if (FShowItemTitle == Value) return;
    FShowItemTitle = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value)
{
    if (FShowItemImage == Value) return;
    FShowItemImage = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value)
{
    if (FShowItemText == Value) return;
    FShowItemText = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDropDownCount(int Value)
{
    if (Value >= 0) FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value)
{
    FToolButtonStyle = Value;
    if (Value) FUseSkinSize = false;
    CalcRects();
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetUseSkinSize(bool Value)
{
    FUseSkinSize = Value;
    ChangeSkinData();
}

void TbsSkinCustomOfficeComboBox::DefaultFontChanged() { Font()->Assign(FDefaultFont.get()); }

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value)
{
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (IsDesigning() || ComponentState().Contains(csLoading)) return;
    if (OnClick) OnClick(this);
    Change();
}

void TbsSkinCustomOfficeComboBox::Change()
{
    if (OnChange) OnChange(this);
}

// ---- skin and geometry -------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinComboBox*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) return;
    ActiveSkinRect = R->ActiveSkinRect;
    ActiveFontColor = R->ActiveFontColor;
    FontName = R->FontName;
    FontStyle = R->FontStyle;
    FontHeight = R->FontHeight;
    SItemRect = R->SItemRect;
    FocusItemRect = R->FocusItemRect.IsEmpty() ? R->SItemRect : R->FocusItemRect;
    ActiveItemRect = R->ActiveItemRect;
    ItemLeftOffset = R->ItemLeftOffset;
    ItemRightOffset = R->ItemRightOffset;
    ItemTextRect = R->ItemTextRect;
    FontColor = R->FontColor;
    FocusFontColor = R->FocusFontColor;
    ButtonRect = R->ButtonRect;
    ActiveButtonRect = R->ActiveButtonRect;
    DownButtonRect = R->DownButtonRect;
    UnEnabledButtonRect = R->UnEnabledButtonRect;
    ListBoxName = R->ListBoxName;
    ItemStretchEffect = R->ItemStretchEffect;
    FocusItemStretchEffect = R->FocusItemStretchEffect;
    ShowFocus = R->ShowFocus;
}

void TbsSkinCustomOfficeComboBox::CalcSize(int& AWidth, int& AHeight)
{
    if (FUseSkinSize || FIndex == -1) {
        TbsSkinCustomControl::CalcSize(AWidth, AHeight);
        return;
    }
    const int dw = AWidth - SkinRect.Width();
    NewLTPoint = LTPt;
    NewRTPoint = Point(RTPt.X + dw, RTPt.Y);
    NewLBPoint = LBPt;
    NewRBPoint = Point(RBPt.X + dw, RBPt.Y);
    NewClRect = ClRect;
    NewClRect.Right += dw;
}

void TbsSkinCustomOfficeComboBox::SetControlRegion()
{
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomOfficeComboBox::CalcRects()
{
    const int W = Width(), H = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        FButton.R = Rect(W - 19, 0, W, H);
        FCBItem.R = Rect(2, 2, FButton.R.Left - 1, H - 2);
        return;
    }
    FButton.R = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
        FButton.R.Left += W - SkinRect.Width();
        FButton.R.Right += W - SkinRect.Width();
    }
    FCBItem.R = ClRect;
    FCBItem.R.Right = W + ClRect.Right - SkinRect.Width();
    if (!FUseSkinSize) {
        FButton.R.Bottom += H - SkinRect.Height();
        FCBItem.R.Bottom += H - SkinRect.Height();
    }
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    if (FIndex == -1) FListBox->SetSkinDataName("");
    FListBox->SetSkinData(FSD);
    CalcRects();
}

// ---- drop-down ---------------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::StopAutoScroll()
{
    if (TimerMode != 0 && HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
    TimerMode = 0;
}

void TbsSkinCustomOfficeComboBox::DropDown()
{
    if (Items()->Count() == 0) return;
    WasInLB = false;
    StopAutoScroll();
    if (OnDropDown) OnDropDown(this);
    const int LW = FListBoxWidth > 0 ? FListBoxWidth : Width();
    FListBox->SetWidth(LW);
    FListBox->OnDrawItem = OnDrawItem;
    FListBox->SetSkinData(FSD);
    // the list gets its height first, so that the very first drop-down chooses above or
    // below by the height it will have
    if (FListBoxHeight > 0)
        FListBox->SetHeight(FListBoxHeight);
    else if (FListBox->CalcHeight(FDropDownCount) > 0)
        FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
    const TPoint P = ClientToScreen(Point(Width(), Height()));
    TPoint Origin(P.X - LW, P.Y);
    TRect Work(0, 0, 0, 0);
    GetMonitorWorkArea(Handle(), true, Work);
    if (Work.Bottom < Origin.Y + FListBox->Height()) Origin.Y = Origin.Y - Height() - FListBox->Height();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->Show(Origin);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Value)
{
    StopAutoScroll();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const int I = FListBox->ItemIndex();
    if (Value && I >= 0 && I < Items()->Count()) {
        FOldItemIndex = I;
        Repaint();
        if (OnClick) OnClick(this);
        Change();
    } else
        FListBox->SetItemIndex(FOldItemIndex);
    FDropDown = false;
    Repaint();
    if (Value && OnCloseUp) OnCloseUp(this);
}

bool TbsSkinCustomOfficeComboBox::CanCancelDropDown()
{
    return FListBox->Visible() && !FMouseIn;
}

// ---- mouse, keys, messages ---------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::ListWindowProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_LBUTTONDOWN:
        FLBDown = true;
        WasInLB = true;
        SetMouseCapture(true);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    case WM_MOUSEACTIVATE:
        FListBoxWindowProc(M);
        M.Result = MA_NOACTIVATE;
        return;
    }
    FListBoxWindowProc(M);
}

void TbsSkinCustomOfficeComboBox::TrackPointer(int X, int Y)
{
    const TPoint P = FListBox->ScreenToClient(ClientToScreen(Point(X, Y)));
    int Mode = 0;
    if (P.Y < 0 && FListBox->ScrollBar() && WasInLB) Mode = 1;
    if (P.Y > FListBox->Height() && FListBox->ScrollBar() && WasInLB) Mode = 2;
    if (Mode != 0) {
        if (Mode != TimerMode) {
            TimerMode = Mode;
            SetTimer(Handle(), ScrollTimerId, 25);
        }
        return;
    }
    if (P.Y >= 0 && P.Y <= FListBox->Height()) {
        StopAutoScroll();
        FListBox->Perform(WM_MOUSEMOVE, 0, PointToLParam(P));
        WasInLB = true;
        if (!FLBDown) {
            FLBDown = true;
            WasInLB = false;
        }
    }
}

void TbsSkinCustomOfficeComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!Focused() && CanFocus()) SetFocus();
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (FButton.R.Contains(Point(X, Y)) || FCBItem.R.Contains(Point(X, Y)) || FToolButtonStyle) {
        FButton.Down = true;
        Repaint();
        if (!FListBox->Visible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else
            CloseUp(false);
    } else if (FListBox->Visible())
        CloseUp(false);
}

void TbsSkinCustomOfficeComboBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FListBox->Visible()) TrackPointer(X, Y);
    const bool In = FButton.R.Contains(Point(X, Y));
    if (In != FButton.MouseIn) {
        FButton.MouseIn = In;
        Repaint();
    }
}

void TbsSkinCustomOfficeComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (FLBDown && WasInLB) {
        SetMouseCapture(false);
        FLBDown = false;
        const HWND Under = WindowFromPoint(ClientToScreen(Point(X, Y)));
        CloseUp(FListBox->HandleAllocated() && Under == FListBox->Handle());
    } else
        FLBDown = false;
    FButton.Down = false;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool Alt = Shift.Contains(ssAlt);
    const bool Open = FListBox->Visible();
    switch (Key) {
    case VK_RETURN:
        if (Open) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (Open) CloseUp(false);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (Key == VK_PRIOR)
            FListBox->FindPageUp();
        else
            FListBox->FindPageDown();
        SetItemIndex(FListBox->ItemIndex());
        break;
    case VK_LEFT:
    case VK_UP:
        if (Alt) {
            if (Open) CloseUp(false);
        } else {
            FListBox->FindUp();
            SetItemIndex(FListBox->ItemIndex());
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (Alt) {
            if (!Open) DropDown();
        } else {
            FListBox->FindDown();
            SetItemIndex(FListBox->ItemIndex());
        }
        break;
    }
}

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint) PaintControlTo(HDC(M.WParam));
        M.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case CM_CANCELMODE: {
        auto* Sender = reinterpret_cast<TControl*>(M.LParam);
        if (Sender != this && Sender != FListBox && Sender != FListBox->ScrollBar()) CloseUp(false);
        return;
    }
    case CM_WANTSPECIALKEY:
        if (M.WParam == VK_LEFT || M.WParam == VK_RIGHT || M.WParam == VK_UP || M.WParam == VK_DOWN ||
            ((M.WParam == VK_RETURN || M.WParam == VK_ESCAPE) && FListBox->Visible())) {
            M.Result = 1;
            return;
        }
        break;
    case WM_TIMER:
        if (M.WParam == ScrollTimerId) {
            if (TimerMode == 1) FListBox->MoveHighlight(-1);
            if (TimerMode == 2) FListBox->MoveHighlight(1);
            return;
        }
        break;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(M);
        CalcRects();
        return;
    case WM_MOUSEWHEEL: {
        const int Delta = int16_t(HIWORD(M.WParam));
        if (FListBox->Visible())
            FListBox->MoveHighlight(Delta < 0 ? -1 : 1);
        else {
            if (Delta < 0)
                FListBox->FindUp();
            else
                FListBox->FindDown();
            SetItemIndex(FListBox->ItemIndex());
        }
        M.Result = 1;
        return;
    }
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(M);
        CloseUp(false);
        Repaint();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(M);
        if (IsDesigning() || !(M.LParam == 0 || M.LParam == LPARAM(this))) return;
        FMouseIn = M.Msg == CM_MOUSEENTER;
        if (!FMouseIn && FButton.MouseIn) {
            FButton.MouseIn = false;
            Repaint();
        }
        if ((FIndex != -1 && !ActiveSkinRect.IsEmpty()) || FToolButtonStyle) Invalidate();
        return;
    }
    TbsSkinCustomControl::Dispatch(M);
}

// ---- painting ----------------------------------------------------------------------------------------

int TbsSkinCustomOfficeComboBox::ShownIndex() const
{
    const int I = FListBox->Visible() ? FOldItemIndex : FListBox->ItemIndex();
    return I >= 0 && I < Items()->Count() ? I : -1;
}

void TbsSkinCustomOfficeComboBox::DrawShownItem(TCanvas* C, TRect R, int Index)
{
    if (Index < 0) return;
    if (OnDrawItem) {
        OnDrawItem(C, Index, R);
        return;
    }
    TbsSkinOfficeItem* It = Items()->Items(Index);
    C->Brush()->SetStyle(bsClear);
    if (FShowItemText && FShowItemTitle && !It->Title().empty()) {
        const TFontStyles Old = C->Font()->Style();
        C->Font()->SetStyle(Old + TFontStyles{fsBold});
        const int TH = C->TextHeight(It->Title());
        DrawSingleLineText(C, It->Title(), Rect(R.Left, R.Top, R.Right, R.Top + TH));
        C->Font()->SetStyle(Old);
        R.Top += TH - 2;
    }
    if (FShowItemText && !FShowItemImage)
        DrawClippedText(C, It->Caption(), R);
    else if (FShowItemImage)
        DrawImageAndText2(C, R, -1, 2, blGlyphLeft, FShowItemText ? It->Caption() : String(), It->ImageIndex(),
                          Images(), false, It->Enabled(), false, 0);
}

TbsDataSkinButtonControl* TbsSkinCustomOfficeComboBox::FindButtonRecord(std::initializer_list<const char*> Names) const
{
    if (!FSD) return nullptr;
    for (const char* N : Names) {
        const int I = FSD->GetControlIndex(N);
        if (I == -1) continue;
        if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get())) return R;
    }
    return nullptr;
}

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(TBitmap* B)
{
    CalcRects();
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    if (FToolButtonStyle) {
        const bool Hot = FMouseIn || Focused();
        C->Brush()->SetColor(FDropDown || Hot ? ComboFrame : clBtnShadow);
        C->FrameRect(Rect(0, 0, W, H));
        C->Brush()->SetColor(FDropDown ? ComboDown : Hot ? ComboHot : clBtnFace);
        C->FillRect(Rect(1, 1, W - 1, H - 1));
        ApplyDefaultFont(C);
        DrawDropDownArrow(C, Rect(W - 15, 0, W, H), C->Font()->Color());
        DrawShownItem(C, Rect(2, 2, W - 17, H - 2), ShownIndex());
        return;
    }
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(FDefaultColor);
    C->FrameRect(Rect(1, 1, W - 1, H - 1));
    C->FillRect(Rect(2, 2, W - 2, H - 2));
    const TRect BR = FButton.R;
    const bool Pressed = FButton.Down && FButton.MouseIn;
    C->Brush()->SetColor(Pressed || FButton.MouseIn ? ComboFrame : clBtnShadow);
    C->FrameRect(BR);
    C->Brush()->SetColor(Pressed ? ComboDown : FButton.MouseIn ? ComboHot : clBtnFace);
    C->FillRect(Rect(BR.Left + 1, BR.Top + 1, BR.Right - 1, BR.Bottom - 1));
    DrawArrowImage(C, BR, Enabled() ? clBlack : clBtnShadow, 4);
    const TRect IR = FCBItem.R;
    if (IR.IsEmpty()) return;
    TBitmap Item;
    Item.SetSize(IR.Width(), IR.Height());
    TCanvas* IC = Item.Canvas();
    const bool Foc = Focused() && !FListBox->Visible();
    FCBItem.Focused = Foc;
    IC->Brush()->SetColor(Foc ? clHighlight : FDefaultColor);
    IC->FillRect(Rect(0, 0, IR.Width(), IR.Height()));
    IC->Font()->SetName(Font()->Name());
    IC->Font()->SetStyle(Font()->Style());
    IC->Font()->SetHeight(Font()->Height());
    ApplyCharset(IC);
    IC->Font()->SetColor(Foc ? clHighlightText : FDefaultFont->Color());
    DrawShownItem(IC, Rect(2, 0, IR.Width() - 2, IR.Height()), ShownIndex());
    C->Draw(IR.Left, IR.Top, &Item);
}

void TbsSkinCustomOfficeComboBox::DrawButtonPart(TCanvas* C)
{
    const bool Pressed = FButton.Down && FButton.MouseIn;
    if (FUseSkinSize) {
        TRect Src;
        if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
            Src = UnEnabledButtonRect;
        else if (Pressed)
            Src = DownButtonRect;
        else if (FButton.MouseIn)
            Src = ActiveButtonRect;
        if (!Src.IsEmpty() && Picture) C->CopyRect(FButton.R, Picture->Canvas(), Src);
        return;
    }
    TbsDataSkinButtonControl* BR = FindButtonRecord({"combobutton", "editbutton", "resizebutton"});
    if (!BR) return;
    TBitmap* Pic = FSD->ActivePicture(BR->PictureIndex);
    TRect Src = Pressed ? BR->DownSkinRect : FButton.MouseIn ? BR->ActiveSkinRect : BR->SkinRect;
    if (Src.IsEmpty()) Src = BR->SkinRect.IsEmpty() ? BR->ActiveSkinRect : BR->SkinRect;
    const TRect R = FButton.R;
    if (Pic && !Src.IsEmpty() && !R.IsEmpty()) {
        TBitmap Img;
        const int dw = R.Width() - BR->SkinRect.Width(), dh = R.Height() - BR->SkinRect.Height();
        CreateSkinImage(BR->LTPoint, BR->RTPoint, BR->LBPoint, BR->RBPoint, BR->ClRect, BR->LTPoint,
                        Point(BR->RTPoint.X + dw, BR->RTPoint.Y), Point(BR->LBPoint.X, BR->LBPoint.Y + dh),
                        Point(BR->RBPoint.X + dw, BR->RBPoint.Y + dh),
                        Rect(BR->ClRect.Left, BR->ClRect.Top, BR->ClRect.Right + dw, BR->ClRect.Bottom + dh), &Img,
                        Pic, Src, R.Width(), R.Height(), true, BR->LeftStretch, BR->TopStretch, BR->RightStretch,
                        BR->BottomStretch, BR->StretchEffect, BR->StretchType);
        C->Draw(R.Left, R.Top, &Img);
    }
    if (!BR->MenuMarkerRect.IsEmpty() && Pic) {
        TRect M = BR->MenuMarkerRect;
        if (Pressed && !BR->MenuMarkerDownRect.IsEmpty())
            M = BR->MenuMarkerDownRect;
        else if (FButton.MouseIn && !BR->MenuMarkerActiveRect.IsEmpty())
            M = BR->MenuMarkerActiveRect;
        TBitmap Img;
        bsCopyPicturePart(&Img, Pic, M);
        Img.SetTransparentColor(BR->MenuMarkerTransparentColor);
        Img.SetTransparent(true);
        C->Draw(R.Left + R.Width() / 2 - Img.Width() / 2, R.Top + R.Height() / 2 - Img.Height() / 2 + (Pressed ? 1 : 0),
                &Img);
    } else if (Enabled()) {
        TRect A = R;
        if (Pressed) A.Top += 2;
        DrawArrowImage(C, A, Pressed ? BR->DownFontColor : FButton.MouseIn ? BR->ActiveFontColor : BR->FontColor, 4);
    }
}

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(TBitmap* B)
{
    CalcRects();
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    const bool Hot = FMouseIn || Focused();
    if (FToolButtonStyle) {
        TbsDataSkinButtonControl* BR = FindButtonRecord({"resizetoolbutton", "resizebutton"});
        TColor TextColor = FDefaultFont->Color();
        if (BR) {
            TBitmap* Pic = FSD->ActivePicture(BR->PictureIndex);
            TRect Src = FDropDown ? BR->DownSkinRect : Hot ? BR->ActiveSkinRect : BR->SkinRect;
            if (Src.IsEmpty()) Src = BR->SkinRect;
            const int dw = W - BR->SkinRect.Width(), dh = H - BR->SkinRect.Height();
            if (Pic)
                CreateSkinImage(BR->LTPoint, BR->RTPoint, BR->LBPoint, BR->RBPoint, BR->ClRect, BR->LTPoint,
                                Point(BR->RTPoint.X + dw, BR->RTPoint.Y), Point(BR->LBPoint.X, BR->LBPoint.Y + dh),
                                Point(BR->RBPoint.X + dw, BR->RBPoint.Y + dh),
                                Rect(BR->ClRect.Left, BR->ClRect.Top, BR->ClRect.Right + dw, BR->ClRect.Bottom + dh),
                                B, Pic, Src, W, H, true, BR->LeftStretch, BR->TopStretch, BR->RightStretch,
                                BR->BottomStretch, BR->StretchEffect, BR->StretchType);
            TextColor = !Enabled() ? BR->DisabledFontColor
                        : FDropDown ? BR->DownFontColor
                        : Hot       ? BR->ActiveFontColor
                                    : BR->FontColor;
            if (FUseSkinFont) {
                C->Font()->SetName(BR->FontName);
                C->Font()->SetHeight(BR->FontHeight);
                C->Font()->SetStyle(BR->FontStyle);
                ApplyCharset(C);
            } else
                ApplyDefaultFont(C);
        } else
            ApplyDefaultFont(C);
        C->Font()->SetColor(TextColor);
        DrawDropDownArrow(C, Rect(W - 15, 0, W, H), FDropDown && BR ? BR->DownFontColor : TextColor);
        DrawShownItem(C, Rect(3, 2, W - 17, H - 2), ShownIndex());
        return;
    }
    // background
    if (FUseSkinSize) {
        if (!ActiveSkinRect.IsEmpty() && Hot && Picture)
            CreateHSkinImage(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, W, H, StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
    } else if (Picture) {
        B->SetSize(W, H);
        CreateStretchSkinImage(B, Picture, !ActiveSkinRect.IsEmpty() && Hot ? ActiveSkinRect : SkinRect, ClRect, true);
    }
    DrawButtonPart(C);
    // the item area
    const TRect IR = FCBItem.R;
    if (IR.IsEmpty()) return;
    TBitmap Item;
    Item.SetSize(IR.Width(), IR.Height());
    TCanvas* IC = Item.Canvas();
    const bool Foc = Focused() && !FListBox->Visible();
    FCBItem.Focused = Foc;
    const TRect ItemSrc = Foc ? FocusItemRect
                          : (FMouseIn && !ActiveItemRect.IsEmpty() && ActiveSkinRect.IsEmpty()) ? ActiveItemRect
                                                                                                  : SItemRect;
    if (!ItemSrc.IsEmpty() && Picture) {
        if (FUseSkinSize)
            CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &Item, Picture, ItemSrc, IR.Width(), ItemSrc.Height(),
                             Foc ? FocusItemStretchEffect : ItemStretchEffect);
        else
            CreateStretchSkinImage(&Item, Picture, ItemSrc,
                                   Rect(ItemTextRect.Left + 1, ItemTextRect.Top + 1, ItemTextRect.Right - 1,
                                        ItemTextRect.Bottom - 1),
                                   true);
    } else
        IC->CopyRect(Rect(0, 0, IR.Width(), IR.Height()), C, IR);
    const TRect Base = SItemRect.IsEmpty() ? ClRect : SItemRect;
    TRect TR = ItemTextRect;
    TR.Right += IR.Width() - Base.Width();
    TR.Bottom += IR.Height() - Base.Height();
    TR.Left += 1;
    if (FUseSkinFont) {
        IC->Font()->SetName(FontName);
        IC->Font()->SetHeight(FontHeight);
        IC->Font()->SetStyle(FontStyle);
        ApplyCharset(IC);
    } else
        ApplyDefaultFont(IC);
    TColor Col = Foc ? FocusFontColor : (FMouseIn && ActiveSkinRect.IsEmpty()) ? ActiveFontColor : FontColor;
    if (!Enabled() && FUseSkinSize) {
        Col = clGrayText;
        const int E = FSD->GetControlIndex("edit");
        if (E != -1)
            if (auto* Ed = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[size_t(E)].get()))
                Col = Ed->DisabledFontColor;
    }
    IC->Font()->SetColor(Col);
    if (Foc && ShowFocus) {
        IC->Brush()->SetStyle(bsSolid);
        IC->Brush()->SetColor(FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        DrawDottedFocusRect(IC, Rect(0, 0, IR.Width(), IR.Height()));
    }
    const bool SavedTitle = FShowItemTitle;
    if (FUseSkinSize) FShowItemTitle = false;
    DrawShownItem(IC, TR, ShownIndex());
    FShowItemTitle = SavedTitle;
    C->Draw(IR.Left, IR.Top, &Item);
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    TBitmap B;
    B.SetSize(Width(), Height());
    GetSkinData();
    const int Saved = FListBox->ItemIndex();
    FListBox->SetItemActive(-1);
    if (FIndex == -1)
        CreateControlDefaultImage(&B);
    else
        CreateControlSkinImage(&B);
    FListBox->SetItemActive(Saved);
    TCanvas* BC = B.Canvas();
    if (FIndex == -1) {
        BC->Font()->Assign(FDefaultFont.get());
    } else {
        BC->Font()->SetName(FontName);
        BC->Font()->SetHeight(FontHeight);
        BC->Font()->SetStyle(FontStyle);
        BC->Font()->SetColor(FontColor);
    }
    BC->Brush()->SetStyle(bsClear);
    DrawClippedText(BC, AText, FToolButtonStyle ? Rect(3, 2, Width() - 17, Height() - 2) : FCBItem.R);
    C->Draw(X, Y, &B);
}
