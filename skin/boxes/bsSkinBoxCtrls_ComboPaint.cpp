// The face of the skinned combo box: default look, skinned look (from "combobox", with the
// drop-down button from the record or from a button record when the face is stretched), the
// tool-button looks, the shown item, and PaintSkinTo.
#include "skin/boxes/bsSkinBoxCtrls.h"

namespace {
void FrameFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Frame);
    C->FillRect(R);
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

// The nine-piece image of a button record grown to W x H from the part Src.
void GrownButton(TBitmap* B, TBitmap* Pic, TbsDataSkinButtonControl* R, const TRect& Src, int W, int H)
{
    const int dw = W - R->SkinRect.Width(), dh = H - R->SkinRect.Height();
    CreateSkinImage(R->LTPoint, R->RTPoint, R->LBPoint, R->RBPoint, R->ClRect, R->LTPoint,
                    Point(R->RTPoint.X + dw, R->RTPoint.Y), Point(R->LBPoint.X, R->LBPoint.Y + dh),
                    Point(R->RBPoint.X + dw, R->RBPoint.Y + dh),
                    Rect(R->ClRect.Left, R->ClRect.Top, R->ClRect.Right + dw, R->ClRect.Bottom + dh), B, Pic, Src, W,
                    H, true, R->LeftStretch, R->TopStretch, R->RightStretch, R->BottomStretch, R->StretchEffect,
                    R->StretchType);
}

TRect ActivePart(TbsDataSkinButtonControl* R)
{
    return IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
}
TRect DownPart(TbsDataSkinButtonControl* R)
{
    return IsEmptyRect(R->DownSkinRect) ? ActivePart(R) : R->DownSkinRect;
}
}  // namespace

int TbsSkinCustomComboBox::ShownIndex() const
{
    const int I = FListBox->Visible() ? FOldItemIndex : FListBox->ItemIndex();
    return I >= 0 && I < Items()->Count() ? I : -1;
}

bool TbsSkinCustomComboBox::LooksActive()
{
    return !IsEmptyRect(ActiveSkinRect) && (FMouseIn || (FEdit && FEdit->Focused()) || Focused());
}

TbsDataSkinButtonControl* TbsSkinCustomComboBox::FindButtonRecord(std::initializer_list<const char*> Names) const
{
    if (!FSD) return nullptr;
    for (const char* N : Names) {
        const int I = FSD->GetControlIndex(N);
        if (I == -1) continue;
        if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get())) return R;
    }
    return nullptr;
}

void TbsSkinCustomComboBox::DrawItemText(TCanvas* C, const String& Text, const TRect& R)
{
    C->Brush()->SetStyle(bsClear);
    if (TabWidths()->Count() > 0)
        bsDrawTabbedText(C, Text, TabWidths(), R, 0);
    else
        DrawClippedText(C, Text, R);
}

// Owner drawing, images and text of the shown item (or AText) in TR of an item bitmap W x H.
void TbsSkinCustomComboBox::DrawItemContent(TCanvas* C, TRect TR, int W, int H, bool Skin, const String* AText)
{
    const int Index = ShownIndex();
    if (Index >= 0 && OnComboBoxDrawItem) {
        OnComboBoxDrawItem(C, Index, W, H, TR, CBItemState);
        return;
    }
    if (Skin && Focused() && ShowFocus) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FSD && FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        DrawDottedFocusRect(C, Rect(0, 0, W, H));
        C->Brush()->SetStyle(bsClear);
    }
    if (!AText && Index < 0) return;
    if (TCustomImageList* IL = Images()) {
        const int II = ImageIndex() >= 0 ? ImageIndex() : Index;
        if (II >= 0 && II < IL->Count()) IL->Draw(C, TR.Left, TR.Top + TR.Height() / 2 - IL->Height() / 2, II, true);
        TR.Left += IL->Width() + 2;
    }
    DrawItemText(C, AText ? *AText : Items()->Strings(Index), TR);
}

// ---- default look -----------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawDefaultFrame(TCanvas* C)
{
    const TRect R(0, 0, Width(), Height());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FDefaultColor);
    C->FillRect(R);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(R);
}

void TbsSkinCustomComboBox::DrawDefaultButton(TCanvas* C)
{
    const bool Pressed = Button.Down && Button.MouseIn;
    if (Pressed)
        FrameFill(C, Button.R, bsDefaultFrameColor, bsDefaultDownColor);
    else if (Button.MouseIn)
        FrameFill(C, Button.R, bsDefaultFrameColor, bsDefaultHotColor);
    else
        FrameFill(C, Button.R, clBtnShadow, clBtnFace);
    DrawArrowImage(C, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
}

void TbsSkinCustomComboBox::DrawDefaultItem(TCanvas* Cnvs)
{
    const TRect R = CBItem.R;
    if (R.Width() <= 0 || R.Height() <= 0) return;
    TBitmap B;
    B.SetSize(R.Width(), R.Height());
    TCanvas* C = B.Canvas();
    CBItemState = {};
    const bool Foc = Focused();
    if (Foc) CBItemState.Include(odFocused);
    C->Brush()->SetColor(Foc ? clHighlight : FDefaultColor);
    C->FillRect(Rect(0, 0, R.Width(), R.Height()));
    C->Font()->SetName(Font()->Name());
    C->Font()->SetStyle(Font()->Style());
    C->Font()->SetHeight(Font()->Height());
    C->Font()->SetCharset(InterfaceCharset());
    C->Font()->SetColor(Foc ? clHighlightText : FDefaultFont->Color());
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, Rect(2, 0, R.Width() - 2, R.Height()), R.Width(), R.Height(), false, nullptr);
    Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomComboBox::DrawDefaultToolButton(TCanvas* C, const String* AText)
{
    const int W = Width(), H = Height();
    if (FDropDown)
        FrameFill(C, Rect(0, 0, W, H), bsDefaultFrameColor, bsDefaultDownColor);
    else if (FMouseIn || Focused())
        FrameFill(C, Rect(0, 0, W, H), bsDefaultFrameColor, bsDefaultHotColor);
    else
        FrameFill(C, Rect(0, 0, W, H), clBtnShadow, clBtnFace);
    TRect TR(2, 2, W - 17, H - 2);
    TRect AR(W - 15, 0, W, H);
    if (FDropDown) {
        TR = Rect(TR.Left + 2, TR.Top + 2, TR.Right + 2, TR.Bottom + 2);
        AR = Rect(AR.Left + 2, AR.Top + 2, AR.Right + 2, AR.Bottom + 2);
    }
    C->Font()->Assign(FDefaultFont.get());
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, TR, W, H, false, AText);
    DrawDropDownArrow(C, AR, C->Font()->Color());
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B)
{
    CalcRects();
    TCanvas* C = B->Canvas();
    if (FToolButtonStyle) {
        DrawDefaultToolButton(C, nullptr);
        return;
    }
    DrawDefaultFrame(C);
    DrawDefaultButton(C);
    if (!FEdit) DrawDefaultItem(C);
}

// ---- skinned look -----------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawSkinFace(TCanvas*, TBitmap* B, bool StretchFromSkinRect)
{
    if (!Picture) return;
    const bool Active = !StretchFromSkinRect && LooksActive();
    if (FUseSkinSize) {
        if (Active)
            CreateHSkinImage(LTPt.X, ActiveSkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, Width(), Height(),
                             StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
        return;
    }
    B->SetSize(Width(), Height());
    const TRect Centre(ClRect.Left + 3, ClRect.Top + 1, ClRect.Right - 3, ClRect.Bottom - 1);
    CreateStretchSkinImage(B, Picture, Active ? ActiveSkinRect : SkinRect, Centre, true);
}

void TbsSkinCustomComboBox::DrawSkinButton(TCanvas* C)
{
    TRect Part;
    if (!Enabled() && !IsEmptyRect(UnEnabledButtonRect))
        Part = UnEnabledButtonRect;
    else if (Button.Down && Button.MouseIn)
        Part = DownButtonRect;
    else if (Button.MouseIn)
        Part = ActiveButtonRect;
    if (!IsEmptyRect(Part) && Picture) C->CopyRect(Button.R, Picture->Canvas(), Part);
}

void TbsSkinCustomComboBox::DrawStretchSkinButton(TCanvas* C)
{
    TbsDataSkinButtonControl* R = FindButtonRecord({"combobutton", "editbutton", "resizebutton"});
    const TRect BR = Button.R;
    if (!R || BR.Width() <= 0 || BR.Height() <= 0) return;
    TBitmap* Pic = FSD->ActivePicture(R->PictureIndex);
    const bool Pressed = Button.Down && Button.MouseIn;
    const TRect Src = Pressed ? DownPart(R) : Button.MouseIn ? ActivePart(R) : R->SkinRect;
    TBitmap B;
    B.SetSize(BR.Width(), BR.Height());
    if (Pic) GrownButton(&B, Pic, R, Src, BR.Width(), BR.Height());
    if (IsEmptyRect(R->MenuMarkerRect)) {
        if (Enabled())
            DrawArrowImage(B.Canvas(), Rect(0, Pressed ? 2 : 0, B.Width(), B.Height()),
                           Pressed ? R->DownFontColor : Button.MouseIn ? R->ActiveFontColor : R->FontColor, 4);
    } else if (Picture) {
        TRect M;
        if (Pressed && !IsEmptyRect(R->MenuMarkerDownRect))
            M = R->MenuMarkerDownRect;
        else if (!Button.MouseIn)
            M = R->MenuMarkerRect;
        else
            M = IsEmptyRect(R->MenuMarkerActiveRect) ? R->MenuMarkerRect : R->MenuMarkerActiveRect;
        TBitmap Marker;
        bsCopyPicturePart(&Marker, Picture, M);
        Marker.SetTransparentColor(R->MenuMarkerTransparentColor);
        Marker.SetTransparent(true);
        B.Canvas()->Draw(B.Width() / 2 - Marker.Width() / 2, B.Height() / 2 - Marker.Height() / 2 + (Pressed ? 1 : 0),
                         &Marker);
    }
    C->Draw(BR.Left, BR.Top, &B);
}

void TbsSkinCustomComboBox::DrawSkinItem(TCanvas* Cnvs, bool Stretched)
{
    const TRect R = CBItem.R;
    if (R.Width() <= 0 || R.Height() <= 0) return;
    const bool Foc = Focused();
    const bool Hot = FMouseIn && !IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect);
    TBitmap B;
    const int W = R.Width();
    int H = SItemRect.Height();
    if (H == 0) H = FocusItemRect.Height();
    if (H == 0) H = R.Height();
    if (Stretched) H = R.Height();
    auto FaceCopy = [&] {
        B.SetSize(W, H);
        B.Canvas()->CopyRect(Rect(0, 0, W, H), Cnvs, Rect(R.Left, R.Top, R.Left + W, R.Top + H));
    };
    if (!Picture)
        FaceCopy();
    else if (!Stretched) {
        if (Foc) {
            if (IsEmptyRect(FocusItemRect))
                FaceCopy();
            else
                CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, Picture, FocusItemRect, W, H,
                                 FocusItemStretchEffect);
        } else if (Hot)
            CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, Picture, ActiveItemRect, W, H, ItemStretchEffect);
        else if (IsEmptyRect(SItemRect))
            FaceCopy();
        else
            CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, Picture, SItemRect, W, H, ItemStretchEffect);
    } else {
        B.SetSize(W, H);
        auto Corrected = [&](TRect Centre, const TRect& Part) {
            const int DW = SItemRect.Width() - Part.Width(), DH = SItemRect.Height() - Part.Height();
            if (DW > 0) Centre.Right -= DW;
            if (DH > 0) Centre.Top -= DH;
            return Centre;
        };
        if (Foc) {
            if (IsEmptyRect(FocusItemRect))
                FaceCopy();
            else
                CreateStretchSkinImage(&B, Picture, FocusItemRect,
                                       Corrected(Rect(ItemTextRect.Left + 1, ItemTextRect.Top + 1,
                                                      ItemTextRect.Right - 1, ItemTextRect.Bottom - 1),
                                                 FocusItemRect),
                                       true);
        } else if (Hot)
            CreateStretchSkinImage(&B, Picture, ActiveItemRect, Corrected(ItemTextRect, ActiveItemRect), true);
        else if (IsEmptyRect(SItemRect))
            FaceCopy();
        else
            CreateStretchSkinImage(&B, Picture, SItemRect, ItemTextRect, true);
    }
    TRect TR = ItemTextRect;
    if (IsEmptyRect(SItemRect)) {
        TR = ClRect;
        TR.Right += R.Width() - ClRect.Width();
    } else
        TR.Right += R.Width() - SItemRect.Width();
    if (Stretched) TR.Bottom += Height() - SkinRect.Height();
    TCanvas* C = B.Canvas();
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
    } else
        C->Font()->Assign(FDefaultFont.get());
    C->Font()->SetCharset(InterfaceCharset());
    TColor Col = Foc ? FocusFontColor : (FMouseIn && !IsEmptyRect(ActiveSkinRect)) ? ActiveFontColor : FontColor;
    if (!Enabled() && !Stretched) Col = DisabledTextColor();
    C->Font()->SetColor(Col);
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, TR, B.Width(), B.Height(), true, nullptr);
    Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomComboBox::DrawSkinToolButton(TCanvas* C, TBitmap* B, const String* AText)
{
    TbsDataSkinButtonControl* R = FindButtonRecord({"resizetoolbutton", "resizebutton"});
    if (!R) return;
    const int W = Width(), H = Height();
    const bool Hot = FMouseIn || Focused();
    TRect Src = FDropDown ? R->DownSkinRect : Hot ? R->ActiveSkinRect : R->SkinRect;
    if (IsEmptyRect(Src)) Src = R->SkinRect;
    if (TBitmap* Pic = FSD->ActivePicture(R->PictureIndex)) GrownButton(B, Pic, R, Src, W, H);
    C = B->Canvas();
    if (FUseSkinFont) {
        C->Font()->SetName(R->FontName);
        C->Font()->SetStyle(R->FontStyle);
        C->Font()->SetHeight(R->FontHeight);
    } else
        C->Font()->Assign(FDefaultFont.get());
    C->Font()->SetCharset(InterfaceCharset());
    C->Font()->SetColor(FDropDown ? R->DownFontColor
                        : Hot     ? R->ActiveFontColor
                        : Enabled() ? R->FontColor
                                    : R->DisabledFontColor);
    C->Brush()->SetStyle(bsClear);
    DrawItemContent(C, Rect(2, 2, W - 17, H - 2), W, H, false, AText);
    const TRect AR(W - 15, 0, W, H);
    if (!IsEmptyRect(R->MenuMarkerRect) && Picture) {
        TRect M = R->MenuMarkerRect;
        if (FDropDown && !IsEmptyRect(R->MenuMarkerDownRect))
            M = R->MenuMarkerDownRect;
        else if (FDropDown && !IsEmptyRect(R->MenuMarkerActiveRect))
            M = R->MenuMarkerActiveRect;
        else if (Hot && !IsEmptyRect(R->MenuMarkerActiveRect))
            M = R->MenuMarkerActiveRect;
        TBitmap Marker;
        bsCopyPicturePart(&Marker, Picture, M);
        Marker.SetTransparentColor(R->MenuMarkerTransparentColor);
        Marker.SetTransparent(true);
        C->Draw(AR.Left + AR.Width() / 2 - Marker.Width() / 2, AR.Top + AR.Height() / 2 - Marker.Height() / 2,
                &Marker);
    } else
        DrawDropDownArrow(C, AR, FDropDown ? R->DownFontColor : C->Font()->Color());
}

void TbsSkinCustomComboBox::CreateControlSkinImage(TBitmap* B)
{
    CalcRects();
    if (FToolButtonStyle) {
        DrawSkinToolButton(B->Canvas(), B, nullptr);
        return;
    }
    DrawSkinFace(B->Canvas(), B, false);
    TCanvas* C = B->Canvas();
    if (FUseSkinSize)
        DrawSkinButton(C);
    else
        DrawStretchSkinButton(C);
    if (!FEdit) DrawSkinItem(C, !FUseSkinSize);
}

// ---- PaintSkinTo ------------------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::PaintSkinTo(TCanvas* Target, int X, int Y, const String& AText)
{
    TBitmap B;
    B.SetSize(Width(), Height());
    GetSkinData();
    CalcRects();
    // every painter below is handed AText, so the control's own text stays as it is: setting
    // it would fire OnChange twice and rewrite the inner edit and its selection
    TCanvas* C = B.Canvas();
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolButton(C, &AText);
        else
            DrawSkinToolButton(C, &B, &AText);
    } else {
        if (FIndex == -1) {
            DrawDefaultFrame(C);
            DrawDefaultButton(C);
            C->Font()->Assign(FDefaultFont.get());
        } else {
            DrawSkinFace(C, &B, true);
            C = B.Canvas();
            if (FUseSkinSize)
                DrawSkinButton(C);
            else
                DrawStretchSkinButton(C);
            C->Font()->SetName(FontName);
            C->Font()->SetStyle(FontStyle);
            C->Font()->SetHeight(FontHeight);
            C->Font()->SetColor(FontColor);
        }
        DrawItemText(C, AText, CBItem.R);
    }
    Target->Draw(X, Y, &B);
}
