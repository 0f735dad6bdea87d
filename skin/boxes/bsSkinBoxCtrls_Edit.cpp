// The skinned edit: a transparent inner edit whose frame (and optional button) lives in
// the non-client area, painted from the skin record "edit"/"buttonedit" or the default look,
// with two optional image buttons at the ends of the text box.
#include <algorithm>

#include "platform/windows/Caret.h"
#include "skin/boxes/bsSkinBoxCtrls.h"

namespace {

// A canvas over a device context it does not own.
struct TDCCanvas {
    TCanvas C;
    explicit TDCCanvas(HDC DC) { C.SetHandle(DC); }
    ~TDCCanvas() { C.SetHandle(nullptr); }
};

void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetColor(Frame);
    C->FillRect(R);
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner) : TbsCustomEdit(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetAutoSize(false);
    Font()->SetName("Tahoma");
    Font()->SetColor(clBlack);
    Font()->SetStyle({});
    Font()->SetHeight(13);
    SetBorderStyle(bsNone);
    SetHeight(20);
    SetTransparentMode(true);
    FDefaultFont = std::make_unique<TFont>();
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = [this](TObject* S) { DefaultFontChange(S); };
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() = default;

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
    if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TbsSkinCustomEdit::GetSkinData()
{
    Picture = nullptr;
    if (!FSD || FSD->Empty) {
        FIndex = -1;
        return;
    }
    FIndex = FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    auto* D = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!D) return;
    if (D->PictureIndex >= 0 && D->PictureIndex < int(FSD->FActivePictures.size()))
        Picture = FSD->FActivePictures[size_t(D->PictureIndex)].get();
    SkinRect = D->SkinRect;
    ActiveSkinRect = IsEmptyRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    LOffset = D->LTPoint.X;
    ROffset = WidthOfRect(SkinRect) - D->RTPoint.X;
    ClRect = D->ClRect;
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    DisabledFontColor = D->DisabledFontColor;
    ActiveFontColor = D->ActiveFontColor;
    SkinButtonRect = D->ButtonRect;
    ActiveButtonRect = D->ActiveButtonRect;
    DownButtonRect = IsEmptyRect(D->DownButtonRect) ? D->ActiveButtonRect : D->DownButtonRect;
    UnEnabledButtonRect = D->UnEnabledButtonRect;
    StretchEffect = D->StretchEffect;
}

void TbsSkinCustomEdit::ApplyCharset(TFont* F)
{
    if (FSD && FSD->ResourceStrData()) F->SetCharset(FSD->ResourceStrData()->CharSet());
    else F->SetCharset(FDefaultFont->Charset());
}

void TbsSkinCustomEdit::Loaded()
{
    TbsCustomEdit::Loaded();
    if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
}

bool TbsSkinCustomEdit::LooksActive() const { return FMouseIn || const_cast<TbsSkinCustomEdit*>(this)->Focused(); }

void TbsSkinCustomEdit::SetSkinFontColor()
{
    Font()->SetColor(const_cast<TbsSkinCustomEdit*>(this)->Focused() ? ActiveFontColor : FontColor);
}

void TbsSkinCustomEdit::ChangeSkinData()
{
    GetSkinData();
    if (FIndex == -1) {
        Font()->Assign(FDefaultFont.get());
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else if (FUseSkinFont) {
        Font()->SetName(FontName);
        Font()->SetStyle(FontStyle);
        SetHeight(HeightOfRect(SkinRect));
        Font()->SetHeight(FontHeight);
        SetSkinFontColor();
    } else {
        Font()->Assign(FDefaultFont.get());
        SetSkinFontColor();
    }
    ApplyCharset(Font());
    RecreateWnd();
    if (FIndex == -1) Font()->SetColor(FDefaultFont->Color());
    else SetSkinFontColor();
    if (!FUseSkinFont) AdjustEditHeight();
    RefreshFrame();
    if (FImages) {
        CalcImageRects(true);
        Invalidate();
    }
}

// ---- properties --------------------------------------------------------------------------

void TbsSkinCustomEdit::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    if (FIndex == -1) Font()->Assign(Value);
}

void TbsSkinCustomEdit::DefaultFontChange(TObject*)
{
    if (FIndex == -1) Font()->Assign(FDefaultFont.get());
}

void TbsSkinCustomEdit::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0 && FUseSkinFont) SetHeight(Value);
    else AdjustEditHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value)
{
    FButtonMode = Value;
    RecreateWnd();
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        FSkinDataName = Value ? "buttonedit" : "edit";
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    TCustomEdit::SetAlignment(Value);
    RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value)
{
    if (FImages == Value) return;
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    CalcImageRects(true);
    if (!(FIndex != -1 && FUseSkinFont)) AdjustEditHeight();
}

void TbsSkinCustomEdit::SetLeftImageIndex(int Value)
{
    FLeftImageIndex = Value;
    CalcImageRects(true);
}

void TbsSkinCustomEdit::SetRightImageIndex(int Value)
{
    FRightImageIndex = Value;
    CalcImageRects(true);
}

void TbsSkinCustomEdit::SetButtonImageIndex(int Value)
{
    if (FButtonImageIndex == Value) return;
    FButtonImageIndex = Value;
    Invalidate();
}

// ---- geometry ----------------------------------------------------------------------------

void TbsSkinCustomEdit::CreateParams(TCreateParams& P)
{
    TbsCustomEdit::CreateParams(P);
    P.ExStyle &= ~WS_EX_TRANSPARENT;
    P.Style &= ~(WS_BORDER | ES_LEFT | ES_RIGHT | ES_CENTER);
    P.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
}

void TbsSkinCustomEdit::CalcEditRects()
{
    if (FIndex == -1) {
        if (FButtonMode) {
            FButtonRect = Rect(Width() - Height(), 0, Width(), Height());
            FEditRect = Rect(2, 2, FButtonRect.Left - 2, Height() - 2);
        } else {
            FEditRect = Rect(2, 2, Width() - 2, Height() - 2);
        }
        return;
    }
    const int DW = Width() - WidthOfRect(SkinRect);
    FEditRect = ClRect;
    FEditRect.Right += DW;
    FButtonRect = SkinButtonRect;
    if (SkinButtonRect.Left >= WidthOfRect(SkinRect) - ROffset) {
        FButtonRect.Left += DW;
        FButtonRect.Right += DW;
    }
    if (!FUseSkinFont) {
        const int DH = Height() - HeightOfRect(SkinRect);
        FEditRect.Bottom += DH;
        FButtonRect.Bottom += DH;
    }
}

int TbsSkinCustomEdit::CalcEditHeight()
{
    HDC DC = GetDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, Font()->Handle());
    TEXTMETRIC TM{};
    GetTextMetrics(DC, &TM);
    SelectObject(DC, Old);
    ReleaseDC(nullptr, DC);
    int H = TM.tmHeight;
    if (FIndex == -1) {
        H += 2;
        if (FImages && FImages->Height() > H) H = FImages->Height();
        return H + 4;
    }
    if (FImages && FImages->Height() > H) H = FImages->Height();
    return H + HeightOfRect(SkinRect) - HeightOfRect(ClRect);
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    const bool Changed = (AWidth != Width() || AHeight != Height()) && !(FIndex == -1 && FUseSkinFont);
    if (FIndex == -1 && Align() != alClient && Align() != alLeft && Align() != alRight) {
        AHeight = CalcEditHeight();
    } else if (Changed) {
        if (FUseSkinFont && FIndex != -1) AHeight = HeightOfRect(SkinRect);
        else AHeight = CalcEditHeight();
    }
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    RefreshFrame();
}

void TbsSkinCustomEdit::CalcImageRects(bool SetRect)
{
    if (!FImages) return;
    LeftButton.R = TRect();
    RightButton.R = TRect();
    TRect R = ClientRect();
    if (FLeftImageIndex >= 0) {
        LeftButton.R = Rect(R.Left, R.Top, R.Left + FImages->Width(), R.Bottom);
        R.Left += FImages->Width() + 2;
    }
    if (FRightImageIndex >= 0) {
        RightButton.R = Rect(R.Right - FImages->Width(), R.Top, R.Right, R.Bottom);
        R.Right -= FImages->Width() + 2;
    }
    if (SetRect && HandleAllocated()) Perform(EM_SETRECTNP, 0, LPARAM(&R));
}

// ---- hover, focus and frame refresh ------------------------------------------------------

bool TbsSkinCustomEdit::NeedsMouseTimer() const
{
    if (FIndex == -1) return FButtonMode || FImages;
    return FButtonMode || FImages || !IsEmptyRect(ActiveSkinRect) || FontColor != ActiveFontColor;
}

void TbsSkinCustomEdit::RefreshFrame()
{
    if (!Parent() || !HandleAllocated()) return;
    SendMessage(FHandle, WM_NCPAINT, 0, 0);
    RePaintEdit();
}

void TbsSkinCustomEdit::DoMouseEnter()
{
    FMouseIn = true;
    if (!Focused() && FIndex != -1) {
        Font()->SetColor(ActiveFontColor);
        if (FImages) CalcImageRects(true);
        RefreshFrame();
    }
    if (OnSkinMouseEnter) OnSkinMouseEnter(this);
    if (NeedsMouseTimer() && HandleAllocated()) {
        KillTimer(FHandle, 1);
        SetTimer(FHandle, 1, 100, nullptr);
    }
}

void TbsSkinCustomEdit::DoMouseLeave()
{
    FMouseIn = false;
    if (!Focused() && FIndex != -1) {
        Font()->SetColor(FontColor);
        if (FImages) CalcImageRects(true);
        RefreshFrame();
    }
    if (FButtonDown || FButtonActive) {
        FButtonDown = false;
        FButtonActive = false;
        RefreshFrame();
    }
    if (FImages) {
        for (TbsCBButtonX* B : {&LeftButton, &RightButton})
            if (B->MouseIn) {
                B->MouseIn = false;
                RePaintEdit();
            }
    }
    if (OnSkinMouseLeave) OnSkinMouseLeave(this);
}

// ---- non-client area ---------------------------------------------------------------------

void TbsSkinCustomEdit::WMNCHitTest(TMessage& M)
{
    if (!FMouseIn) DoMouseEnter();
    TPoint Screen(int16_t(LOWORD(M.LParam)), int16_t(HIWORD(M.LParam)));
    TPoint P = ScreenToClient(Screen);
    if (FImages) {
        if (FLeftImageIndex >= 0 && LeftButton.R.Contains(P)) {
            M.Result = HTEDITLEFTIMAGE;
            if (!LeftButton.MouseIn) {
                LeftButton.MouseIn = true;
                Invalidate();
            }
            return;
        }
        if (FRightImageIndex >= 0 && RightButton.R.Contains(P)) {
            M.Result = HTEDITRIGHTIMAGE;
            if (!RightButton.MouseIn) {
                RightButton.MouseIn = true;
                Invalidate();
            }
            return;
        }
        for (TbsCBButtonX* B : {&LeftButton, &RightButton})
            if (B->MouseIn) {
                B->MouseIn = false;
                Invalidate();
            }
    }
    if (FButtonMode) {
        TPoint W = FIndex == -1 ? Point(P.X + 2, P.Y + 2) : Point(P.X + ClRect.Left, P.Y + ClRect.Top);
        CalcEditRects();
        if (FButtonRect.Contains(W)) {
            M.Result = HTHSCROLL;
            return;
        }
        if (!FEditRect.Contains(W)) {
            M.Result = HTVSCROLL;
            return;
        }
    }
    TbsCustomEdit::Dispatch(M);
}

// The non-client mouse messages of the buttons; false: take the default path.
bool TbsSkinCustomEdit::WMNCMouse(TMessage& M)
{
    const int Hit = int(M.WParam);
    switch (M.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (FImages && (Hit == HTEDITLEFTIMAGE || Hit == HTEDITRIGHTIMAGE)) {
            (Hit == HTEDITLEFTIMAGE ? LeftButton : RightButton).Down = true;
            if (!Focused()) SetFocus();
            Invalidate();
            return true;
        }
        if (FButtonMode && Hit == HTHSCROLL) {
            FButtonDown = true;
            RefreshFrame();
            return true;
        }
        return false;
    case WM_NCLBUTTONUP:
        if (FImages && Hit == HTEDITLEFTIMAGE && LeftButton.Down) {
            LeftButton.Down = false;
            Invalidate();
            if (OnLeftButtonClick) OnLeftButtonClick(this);
            return true;
        }
        if (FImages && Hit == HTEDITRIGHTIMAGE && RightButton.Down) {
            RightButton.Down = false;
            Invalidate();
            if (OnRightButtonClick) OnRightButtonClick(this);
            return true;
        }
        if (FButtonMode && Hit == HTHSCROLL) {
            FButtonDown = false;
            RefreshFrame();
            if (!Focused()) SetFocus();
            if (OnButtonClick) OnButtonClick(this);
            return true;
        }
        return false;
    case WM_NCMOUSEMOVE:
        if (!FButtonMode) return false;
        if (Hit == HTHSCROLL) {
            if (!FButtonActive) {
                FButtonActive = true;
                RefreshFrame();
                Invalidate();
            }
            return true;
        }
        if (FButtonActive) {
            FButtonActive = false;
            RefreshFrame();
            Invalidate();
        }
        return false;
    }
    return false;
}

// ---- painting ----------------------------------------------------------------------------

void TbsSkinCustomEdit::DrawButtonImage(TCanvas* C)
{
    if (!FImages || FButtonImageIndex < 0 || FButtonImageIndex >= FImages->Count()) return;
    const int X = FButtonRect.Left + WidthOfRect(FButtonRect) / 2 - FImages->Width() / 2;
    const int Y = FButtonRect.Top + HeightOfRect(FButtonRect) / 2 - FImages->Height() / 2;
    FImages->Draw(C, X, Y, FButtonImageIndex, Enabled());
}

void TbsSkinCustomEdit::PaintFrame(TCanvas* C)
{
    TBitmap B;
    B.SetSize(Width(), Height());
    TCanvas* BC = B.Canvas();
    CalcEditRects();
    if (FIndex == -1) {
        const int W = FButtonMode ? Width() - FButtonRect.Left - 1 : 0;
        TRect R = Rect(0, 0, Width() - W, Height());
        BC->Brush()->SetColor(clBtnShadow);
        BC->FillRect(R);
        BC->Brush()->SetColor(Color());
        BC->FillRect(Rect(1, 1, R.Right - 1, R.Bottom - 1));
        BC->Brush()->SetColor(FDefaultColor);
        BC->FillRect(Rect(2, 2, R.Right - 2, R.Bottom - 2));
        if (FButtonMode) {
            if (FButtonDown && FButtonActive) FrameAndFill(BC, FButtonRect, bsDefaultFrameColor, bsDefaultDownColor);
            else if (FButtonActive) FrameAndFill(BC, FButtonRect, bsDefaultFrameColor, bsDefaultHotColor);
            else FrameAndFill(BC, FButtonRect, clBtnShadow, clBtnFace);
            DrawButtonImage(BC);
        }
    } else {
        TBitmap Strip;
        CreateHSkinImage(LOffset, ROffset, &Strip, Picture, LooksActive() ? ActiveSkinRect : SkinRect, Width(),
                         Height(), StretchEffect);
        BC->Draw(0, 0, &Strip);
        if (FButtonMode) {
            TRect Part;
            if (!Enabled() && !IsEmptyRect(UnEnabledButtonRect)) Part = UnEnabledButtonRect;
            else if (FButtonDown && FButtonActive) Part = DownButtonRect;
            else if (FButtonActive) Part = ActiveButtonRect;
            if (Picture && !IsEmptyRect(Part)) BC->CopyRect(FButtonRect, Picture->Canvas(), Part);
            DrawButtonImage(BC);
        }
    }
    C->Draw(0, 0, &B);
}

void TbsSkinCustomEdit::DrawEditButton(TCanvas* C, const TRect& R)
{
    if (!FSD) return;
    TbsDataSkinButtonControl* D = nullptr;
    for (const char* Name : {"editbutton", "combobutton", "resizebutton"}) {
        int I = FSD->GetControlIndex(Name);
        if (I == -1) continue;
        D = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[size_t(I)].get());
        break;  // a record of another kind under the first name found draws no button
    }
    if (!D || IsEmptyRect(R)) return;
    TRect Active = IsEmptyRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    TRect Down = IsEmptyRect(D->DownSkinRect) ? Active : D->DownSkinRect;
    TRect Part = FButtonDown && FButtonActive ? Down : FButtonActive ? Active : D->SkinRect;
    TBitmap* Pic = D->PictureIndex >= 0 && D->PictureIndex < int(FSD->FActivePictures.size())
                       ? FSD->FActivePictures[size_t(D->PictureIndex)].get()
                       : nullptr;
    const int DX = WidthOfRect(R) - WidthOfRect(D->SkinRect), DY = HeightOfRect(R) - HeightOfRect(D->SkinRect);
    TRect NewCl = D->ClRect;
    NewCl.Right += DX;
    NewCl.Bottom += DY;
    TBitmap B;
    CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                    Point(D->RTPoint.X + DX, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DY),
                    Point(D->RBPoint.X + DX, D->RBPoint.Y + DY), NewCl, &B, Pic, Part, WidthOfRect(R),
                    HeightOfRect(R), true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                    D->StretchEffect, D->StretchType);
    if (FImages && FButtonImageIndex >= 0 && FButtonImageIndex < FImages->Count())
        FImages->Draw(B.Canvas(), WidthOfRect(R) / 2 - FImages->Width() / 2, HeightOfRect(R) / 2 - FImages->Height() / 2,
                      FButtonImageIndex, Enabled());
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomEdit::PaintStretchedFrame(TCanvas* C)
{
    TBitmap B;
    B.SetSize(Width(), Height());
    CalcEditRects();
    CreateStretchSkinImage(&B, Picture, LooksActive() ? ActiveSkinRect : SkinRect, ClRect, false);
    if (FButtonMode) DrawEditButton(B.Canvas(), FButtonRect);
    C->Draw(0, 0, &B);
}

void TbsSkinCustomEdit::PaintFrameTo(TCanvas* C)
{
    if (FIndex == -1 || FUseSkinFont) PaintFrame(C);
    else PaintStretchedFrame(C);
}

void TbsSkinCustomEdit::PaintEditBackground(TCanvas* C)
{
    if (IsEmptyRect(FEditRect)) return;
    TBitmap B;
    B.SetSize(WidthOfRect(FEditRect), HeightOfRect(FEditRect));
    if (FIndex == -1) {
        B.Canvas()->Brush()->SetColor(FDefaultColor);
        B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
        C->Draw(0, 0, &B);
        return;
    }
    TRect Src = LooksActive() ? ActiveSkinRect : SkinRect;
    Src = Rect(Src.Left + ClRect.Left, Src.Top + ClRect.Top, Src.Left + ClRect.Right, Src.Top + ClRect.Bottom);
    const int LO = std::max(0, LOffset - ClRect.Left);
    const int RO = std::max(0, ClRect.Right - (WidthOfRect(SkinRect) - ROffset));
    TBitmap Strip;
    CreateHSkinImage(LO, RO, &Strip, Picture, Src, WidthOfRect(FEditRect), HeightOfRect(Src), StretchEffect);
    if (FUseSkinFont) C->Draw(0, 0, &Strip);
    else C->StretchDraw(Rect(0, 0, B.Width(), B.Height()), &Strip);
}

void TbsSkinCustomEdit::DrawImages(TCanvas* C)
{
    if (!FImages) return;
    CalcImageRects(false);
    auto Draw = [&](TbsCBButtonX& Btn, int Normal, int Hot, int Down) {
        if (Normal < 0 || Normal >= FImages->Count()) return;
        auto Valid = [&](int I) { return I >= 0 && I < FImages->Count(); };
        int I = Normal;
        if (Btn.Down && Btn.MouseIn && Valid(Down)) I = Down;
        else if (Btn.MouseIn && Valid(Hot)) I = Hot;
        const int Y = std::max(Btn.R.Top, Btn.R.Top + HeightOfRect(Btn.R) / 2 - FImages->Height() / 2);
        FImages->Draw(C, Btn.R.Left, Y, I, Enabled());
    };
    Draw(LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
    Draw(RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
}

void TbsSkinCustomEdit::EraseForPicture(HDC DC)
{
    TDCCanvas C(DC);
    PaintEditBackground(&C.C);
    DrawImages(&C.C);
}

void TbsSkinCustomEdit::RePaintEdit()
{
    if (!HandleAllocated()) return;
    FStopDraw = true;
    HideCaret(FHandle);
    HDC DC = GetDC(FHandle);
    struct Restore {
        TbsSkinCustomEdit* E;
        HDC DC;
        ~Restore()
        {
            ReleaseDC(E->FHandle, DC);
            ShowCaret(E->FHandle);
            E->FStopDraw = false;
        }
    } R{this, DC};
    CalcEditRects();
    PaintThrough(DC, ClientWidth(), ClientHeight());
}

void TbsSkinCustomEdit::DrawTextInto(TCanvas* C, TRect R, const String& Text)
{
    C->Brush()->SetStyle(bsClear);
    const int TW = C->TextWidth(Text);
    int X = R.Left + 2;
    if (FAlignment == taRightJustify) X = R.Right - TW;
    else if (FAlignment == taCenter) X = R.Left + 2 + WidthOfRect(R) / 2 - TW / 2;
    C->TextRect(R, X, R.Top, Text);
}

void TbsSkinCustomEdit::PaintDisabledText(HDC DC)
{
    TDCCanvas DCC(DC);
    TCanvas* C = &DCC.C;
    PaintEditBackground(C);
    if (FIndex != -1 && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetColor(DisabledFontColor);
    } else {
        C->Font()->Assign(FDefaultFont.get());
        C->Font()->SetColor(FIndex != -1 ? DisabledFontColor : clGrayText);
    }
    ApplyCharset(C->Font());
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(0, 0, WidthOfRect(FEditRect), HeightOfRect(FEditRect));
    const String T = Text();
    const int TW = C->TextWidth(T);
    int X = 2;
    if (FAlignment == taRightJustify) X = R.Right - 1 - TW;
    else if (FAlignment == taCenter) X = WidthOfRect(R) / 2 + 1 - TW / 2;
    C->TextRect(R, X, 0, T);
}

void TbsSkinCustomEdit::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    CalcEditRects();
    TBitmap B;
    B.SetSize(Width(), Height());
    TCanvas* BC = B.Canvas();
    if (FIndex == -1) {
        TRect R = Rect(0, 0, FButtonMode ? FButtonRect.Left : Width(), Height());
        BC->Brush()->SetColor(clBtnShadow);
        BC->FillRect(R);
        BC->Brush()->SetColor(clBtnFace);
        BC->FillRect(Rect(1, 1, R.Right - 1, R.Bottom - 1));
        BC->Brush()->SetColor(FDefaultColor);
        BC->FillRect(Rect(2, 2, R.Right - 2, R.Bottom - 2));
        if (FButtonMode) {
            FrameAndFill(BC, FButtonRect, clBtnShadow, clBtnFace);
            DrawButtonImage(BC);
        }
    } else if (FUseSkinFont) {
        TBitmap Strip;
        CreateHSkinImage(LOffset, ROffset, &Strip, Picture, SkinRect, Width(), Height(), StretchEffect);
        BC->Draw(0, 0, &Strip);
    } else {
        CreateStretchSkinImage(&B, Picture, SkinRect, ClRect, false);
        if (FButtonMode) DrawEditButton(BC, FButtonRect);
    }
    if (FIndex != -1 && FUseSkinFont) {
        BC->Font()->SetName(FontName);
        BC->Font()->SetHeight(FontHeight);
        BC->Font()->SetStyle(FontStyle);
        BC->Font()->SetColor(FontColor);
    } else {
        BC->Font()->Assign(FDefaultFont.get());
    }
    ApplyCharset(BC->Font());
    TRect R = FEditRect;
    if (FImages && FLeftImageIndex >= 0) R.Left += FImages->Width() + 2;
    if (FImages && FRightImageIndex >= 0) R.Right -= FImages->Width() + 2;
    DrawTextInto(BC, R, AText);
    C->Draw(X, Y, &B);
}

// ---- messages ----------------------------------------------------------------------------

void TbsSkinCustomEdit::Dispatch(TMessage& M)
{
    const bool Designing = ComponentState().Contains(csDesigning);
    switch (M.Msg) {
    case WM_NCCALCSIZE: {
        GetSkinData();
        TRect* R = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                            : reinterpret_cast<TRect*>(M.LParam);
        if (R) {
            if (FIndex == -1) {
                const int H = R->Height();
                R->Left += 2;
                R->Top += 2;
                R->Bottom -= 2;
                R->Right -= FButtonMode ? H + 2 : 2;
            } else {
                R->Left += ClRect.Left;
                R->Top += ClRect.Top;
                R->Right -= WidthOfRect(SkinRect) - ClRect.Right;
                R->Bottom -= HeightOfRect(SkinRect) - ClRect.Bottom;
            }
            R->Right = std::max(R->Left, R->Right);
            R->Bottom = std::max(R->Top, R->Bottom);
        }
        M.Result = 0;
        return;
    }
    case WM_NCPAINT: {
        if (!HandleAllocated()) return;
        GetSkinData();
        CalcEditRects();
        HDC DC = GetWindowDC(FHandle);
        {
            TDCCanvas C(DC);
            ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
            PaintFrameTo(&C.C);
        }
        ReleaseDC(FHandle, DC);
        if (!Designing) RePaintEdit();
        return;
    }
    case PaintNonClientToDC:
        if (M.WParam) {
            GetSkinData();
            TDCCanvas C(reinterpret_cast<HDC>(M.WParam));
            PaintFrameTo(&C.C);
            M.Result = PaintNonClientToDCAnswer;
        }
        return;
    case PaintNonClientToDCEx:
        if (M.LParam != PaintNonClientToDCExParam) break;
        if (M.WParam) {
            GetSkinData();
            CalcEditRects();
            HDC DC = reinterpret_cast<HDC>(M.WParam);
            TSaveDC Keep(DC);
            ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
            TDCCanvas C(DC);
            PaintFrameTo(&C.C);
        }
        M.Result = PaintNonClientToDCExParam;
        return;
    case WM_NCHITTEST:
        if (Designing) break;
        WMNCHitTest(M);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        if (!Designing && WMNCMouse(M)) return;
        break;
    case WM_MOUSEMOVE:
        TbsCustomEdit::Dispatch(M);
        if (FButtonMode && FButtonActive) {
            FButtonActive = false;
            RefreshFrame();
        }
        return;
    case WM_TIMER:
        TbsCustomEdit::Dispatch(M);
        if (M.WParam == 1 && HandleAllocated() && WindowFromPoint(GetCursorPos()) != FHandle) {
            KillTimer(FHandle, 1);
            DoMouseLeave();
        }
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsCustomEdit::Dispatch(M);
        RefreshFrame();
        if (!FMouseIn && FIndex != -1) Font()->SetColor(M.Msg == WM_SETFOCUS ? ActiveFontColor : FontColor);
        if (FImages) CalcImageRects(true);
        Invalidate();
        return;
    case WM_SIZE:
        TbsCustomEdit::Dispatch(M);
        CalcImageRects(true);
        RefreshFrame();
        return;
    case WM_DESTROY:
        if (HandleAllocated()) KillTimer(FHandle, 1);
        FMouseIn = false;
        break;
    case CM_FONTCHANGED:
        TbsCustomEdit::Dispatch(M);
        if (!FUseSkinFont && !(Designing && ComponentState().Contains(csLoading))) {
            AdjustEditHeight();
            if (FIndex == -1) RecreateWnd();
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsCustomEdit::Dispatch(M);
        Invalidate();
        return;
    case WM_ERASEBKGND:
        if (Designing) {
            TbsCustomEdit::Dispatch(M);
            if (FImages) {
                TDCCanvas C(reinterpret_cast<HDC>(M.WParam));
                DrawImages(&C.C);
            }
            return;
        }
        CalcEditRects();
        if (FStopDraw) EraseForPicture(reinterpret_cast<HDC>(M.WParam));
        else RePaintEdit();
        M.Result = 1;
        return;
    case WM_PAINT:
        if (Designing || Enabled()) break;
        {
            CalcEditRects();
            HDC DC = reinterpret_cast<HDC>(M.WParam);
            PAINTSTRUCT PS;
            bool Began = false;
            if (!DC && HandleAllocated()) {
                DC = BeginPaint(FHandle, &PS);
                Began = true;
            }
            if (DC) PaintDisabledText(DC);
            if (Began) EndPaint(FHandle, &PS);
        }
        M.Result = 0;
        return;
    }
    TbsCustomEdit::Dispatch(M);
}
