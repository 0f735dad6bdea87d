// The non-client area of the form frame: the skinned painter (the frame cut out of the
// skin's frame picture with the caption objects drawn on it off-screen), the default
// painter (a plain frame in system colours with a caption bar and buttons), the layout
// of the caption objects, the two hit tests and the hover tracking of the objects.
#include "skin/frame/bsSkinFormFrame.h"

#include "skin/menus/bsSkinHint.h"

#include "platform/windows/WinPaint.h"

namespace {

// A canvas on a device context, taken from the form's window when none is given.
class TNCTarget {
public:
    TNCTarget(HWND Wnd, HDC DC, bool External) : FWnd(Wnd), FOwn(!External)
    {
        FDC = External ? DC : GetWindowDC(Wnd);
        C.SetHandle(FDC);
    }
    ~TNCTarget()
    {
        C.SetHandle(nullptr);
        if (FOwn && FDC) ReleaseDC(FWnd, FDC);
    }
    HDC DC() const { return FDC; }
    TCanvas C;

private:
    HWND FWnd;
    HDC FDC;
    bool FOwn;
};


}  // namespace

// ---- measures of the default frame ------------------------------------------------------------

int TbsSkinFormFrame::GetDefCaptionHeight() const
{
    TFormBorderStyle B = FForm->BorderStyle();
    return B == bsToolWindow || B == bsSizeToolWin ? 15 : 19;
}

int TbsSkinFormFrame::GetDefButtonSize() const
{
    TFormBorderStyle B = FForm->BorderStyle();
    return B == bsToolWindow || B == bsSizeToolWin ? 13 : 17;
}

bool TbsSkinFormFrame::IsSizeable() const
{
    TFormBorderStyle B = FForm->BorderStyle();
    return FAlwaysResize || B == bsSizeable || B == bsSizeToolWin;
}

bool TbsSkinFormFrame::IsAutoRenderingInActive() { return FSD && !FSD->Empty && FSD->AutoRenderingInActiveImage; }

// ---- skinned painting ----------------------------------------------------------------------------

void TbsSkinFormFrame::PaintNCSkin(HDC DC, bool AUseExternalDC)
{
    if (!FSD || FSD->Empty || !FSD->FPicture) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (FFormWidth < GetMinWidth() || FFormHeight < GetMinHeight()) return;
    if (!AUseExternalDC && !FForm->HandleAllocated()) return;
    CalcSkinRects();
    ArrangeObjects();
    TNCTarget T(AUseExternalDC ? nullptr : FForm->Handle(), DC, AUseExternalDC);
    if (!T.DC()) return;
    bool Active = GetFormActive();
    TBitmap* Pic = FSD->FPicture.get();
    if (!Active && FSD->FInActivePicture && !FSD->FInActivePicture->Empty()) Pic = FSD->FInActivePicture.get();

    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, NewLTPoint,
                           NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, &LeftB, &TopB, &RightB, &BottomB, Pic,
                           TRect(0, 0, Pic->Width(), Pic->Height()), FFormWidth, FFormHeight, FSD->LeftStretch,
                           FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);
    for (auto& O : ObjectList) {
        if (!O->Visible()) continue;
        if (O->ObjectRect().Bottom <= NewClRect.Top) {
            if (!TopB.Empty()) O->Draw(TopB.Canvas(), false);
        } else if (!BottomB.Empty()) {
            TRect Saved = O->ObjectRect();
            O->OffsetObjectRect(0, -NewClRect.Bottom);
            O->Draw(BottomB.Canvas(), false);
            O->SetObjectRect(Saved);
        }
    }
    if (ShowsAppMenuCaption() && !TopB.Empty())
        PaintAppMenuCaption(TopB.Canvas(), TRect(0, 0, AppMenuCaptionWidth(), TopB.Height()));
    if (NewClRect.Bottom > NewClRect.Top)
        ExcludeClipRect(T.DC(), NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    int TopH = TopB.Empty() ? 0 : TopB.Height();
    const TPoint Places[4] = {TPoint(0, 0), TPoint(0, TopH), TPoint(FFormWidth - RightB.Width(), TopH),
                              TPoint(0, FFormHeight - BottomB.Height())};
    TBitmap* Strips[4] = {&TopB, &LeftB, &RightB, &BottomB};
    bool Effect = !Active && IsAutoRenderingInActive();
    for (int I = 0; I < 4; ++I) {
        if (Strips[I]->Empty() || Strips[I]->Width() <= 0 || Strips[I]->Height() <= 0) continue;
        if (Effect) {
            TbsEffectBmp E(Strips[I]->Handle());
            bsApplyInActiveEffect(E, FSD->InActiveEffect);
            E.Draw(T.DC(), Places[I].X, Places[I].Y);
        } else {
            T.C.Draw(Places[I].X, Places[I].Y, Strips[I]);
        }
    }
}

// ---- default geometry and painting -------------------------------------------------------------

void TbsSkinFormFrame::CalcDefRects()
{
    if (ObjectList.empty()) return;
    int X = FFormWidth - 3;
    int B = GetDefButtonSize();
    NewDefCaptionRect = TRect(3, 3, FFormWidth - 3, GetDefCaptionHeight());
    auto FirstButton = [this](TbsStdCommand C) -> TbsSkinStdButtonObject* {
        for (auto& O : ObjectList)
            if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
                S && S->Visible() && S->SkinRectInAPicture() && S->Command() == C)
                return S;
        return nullptr;
    };
    for (TbsStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (auto* S = FirstButton(C)) {
            S->SetObjectRect(TRect(X - B, 4, X, 4 + B));
            X -= B;
        }
    NewDefCaptionRect.Right = X;
    X = NewDefCaptionRect.Left;
    if (auto* S = FirstButton(cmSysMenu)) {
        int W = B, H = B;
        if (FShowIcon) GetIconSize(W, H);
        S->SetObjectRect(TRect(X, 4, X + W, 4 + H));
        NewDefCaptionRect.Left = X + W;
    }
}

void TbsSkinFormFrame::GetDefCaptionRect(TRect& R)
{
    CalcDefRects();
    R = NewDefCaptionRect;
}

String TbsSkinFormFrame::TitleText()
{
    String S = FForm->Caption();
    if (IsMDIForm() && FMDIChildMaximized)
        if (TbsSkinFormFrame* C = FindMaximizedChildSkinForm()) S += " - [" + C->Form()->Caption() + "]";
    return S;
}

void TbsSkinFormFrame::PaintNCDefault(HDC DC, bool AUseExternalDC)
{
    if (FSD && FSD->ChangeSkinDataProcess) return;
    if (!AUseExternalDC && !FForm->HandleAllocated()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (ObjectList.empty() && !FSkinSupport) CreateDefaultObjects();
    CalcDefRects();
    TNCTarget T(AUseExternalDC ? nullptr : FForm->Handle(), DC, AUseExternalDC);
    if (!T.DC()) return;
    int CapH = GetDefCaptionHeight();
    int BW = FFormWidth - 6;
    if (BW <= 0) return;
    TBitmap Bmp(BW, CapH);
    TCanvas* K = Bmp.Canvas();
    K->Brush()->SetColor(clBtnFace);
    K->FillRect(TRect(0, 0, BW, CapH));
    int ML = NewDefCaptionRect.Left - 3;
    int MR = BW - NewDefCaptionRect.Right;
    bool Active = GetFormActive();
    K->Font()->Assign(Active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
    if (FSD && FSD->ResourceStrData()) K->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    String Text = TitleText();
    if (OnCaptionPaint) {
        OnCaptionPaint(K, TRect(ML, 0, NewDefCaptionRect.Right - 3, CapH), Active);
    } else if (!Text.empty()) {
        CutWideTextToWidth(K, Text, BW - ML - MR);
        int X = ML + (BW - ML - MR) / 2 - (WideTextWidth(K, Text) + 5) / 2;
        int Y = CapH / 2 - WideTextHeight(K, Text) / 2;
        TRect R(X, Y, X, Y);
        DrawWideText(K, Text, R, DT_CALCRECT);
        K->Brush()->SetColor(clBtnFace);
        K->FillRect(TRect(R.Left - 2, R.Top - 2, R.Right + 2, R.Bottom + 2));
        K->Brush()->SetStyle(bsClear);
        DrawWideText(K, Text, R, FForm->DrawTextBiDiModeFlags(DT_VCENTER));
        K->Brush()->SetStyle(bsSolid);
    }
    for (auto& O : ObjectList) {
        if (!O->Visible()) continue;
        O->OffsetObjectRect(-3, -3);
        O->Draw(K, true);
        O->OffsetObjectRect(3, 3);
    }
    ExcludeClipRect(T.DC(), 3, CapH + 3, FFormWidth - 3, FFormHeight - 3);
    T.C.Draw(3, 3, &Bmp);
    TRect R(0, 0, FFormWidth, FFormHeight);
    for (TColor C : {cl3DDkShadow, clBtnFace, clBtnFace}) {
        T.C.Brush()->SetColor(C);
        T.C.FrameRect(R);
        InflateRect(R, -1, -1);
    }
}

// ---- repainting -----------------------------------------------------------------------------------

void TbsSkinFormFrame::UpDateFormNC()
{
    if (UseLayeredBorder() && FullLayeredShown()) FBorderLayer->UpdateBorder();
    else if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinFormFrame::DrawSkinObject(TbsActiveSkinObject* AObject)
{
    if (UseLayeredBorder() && FullLayeredShown()) {
        FBorderLayer->UpdateBorder();
        return;
    }
    if ((IsMDIChild() && FWindowState == wsMaximized) || FForm->BorderStyle() == bsNone) return;
    if (!AObject || !FForm->HandleAllocated()) return;
    TNCTarget T(FForm->Handle(), nullptr, false);
    if (!T.DC()) return;
    AObject->Draw(&T.C, true);
}

// ---- caption object layout --------------------------------------------------------------------

TRect TbsSkinFormFrame::MapSkinRect(const TRect& R)
{
    if (!FSD || !FSD->FPicture) return R;
    int PW = FSD->FPicture->Width(), PH = FSD->FPicture->Height();
    TRect LT(0, 0, FSD->LTPoint.X, FSD->LTPoint.Y), RT(FSD->RTPoint.X, 0, PW, FSD->RTPoint.Y),
        LB(0, FSD->LBPoint.Y, FSD->LBPoint.X, PH), RB(FSD->RBPoint.X, FSD->RBPoint.Y, PW, PH);
    int DX = NewRBPoint.X - FSD->RBPoint.X, DY = NewRBPoint.Y - FSD->RBPoint.Y;
    TRect Out = R;
    if (RectInRect(R, LT)) return Out;
    if (RectInRect(R, RT)) return OffsetRect(Out, DX, 0), Out;
    if (RectInRect(R, LB)) return OffsetRect(Out, 0, DY), Out;
    if (RectInRect(R, RB)) return OffsetRect(Out, DX, DY), Out;
    TPoint TL(R.Left, R.Top), BR(R.Right, R.Bottom);
    if (LT.Contains(TL) && RB.Contains(BR)) {
        Out.Right += DX;
        Out.Bottom += DY;
    } else if (LT.Contains(TL) && RT.Contains(BR)) {
        Out.Right += DX;
    } else if (LB.Contains(TL) && RB.Contains(BR)) {
        Out.Right += DX;
        OffsetRect(Out, 0, DY);
    } else if (LT.Contains(TL) && LB.Contains(BR)) {
        Out.Bottom += DY;
    } else if (RT.Contains(TL) && RB.Contains(BR)) {
        OffsetRect(Out, DX, 0);
        Out.Bottom += DY;
    }
    return Out;
}

void TbsSkinFormFrame::ArrangeObjects()
{
    if (UseLayeredBorder() && FullLayeredShown()) return;
    for (auto& O : ObjectList)
        if (!O->SkinRectInAPicture()) O->SetObjectRect(MapSkinRect(O->SkinRect()));
    TRect Base;
    if (!IsEmptyRect(NewButtonsRect)) Base = NewButtonsRect;
    else if (!IsEmptyRect(NewCaptionRect)) Base = NewCaptionRect;
    else return;

    auto CommandOf = [](TbsActiveSkinObject* O, TbsStdCommand& C) {
        if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O)) return C = S->Command(), true;
        if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) return C = A->Command(), true;
        return false;
    };
    auto RowMember = [&](TbsActiveSkinObject* O, TbsStdCommand Want) {
        TbsStdCommand C;
        return O->Visible() && O->SkinRectInAPicture() && CommandOf(O, C) && C == Want;
    };
    std::vector<TbsActiveSkinObject*> Row;
    for (TbsStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        for (auto& O : ObjectList)
            if (RowMember(O.get(), C)) {
                Row.push_back(O.get());
                break;
            }
    for (auto& O : ObjectList)
        if (RowMember(O.get(), cmDefault)) Row.push_back(O.get());
    TbsActiveSkinObject* SysButton = nullptr;
    for (auto& O : ObjectList)
        if (RowMember(O.get(), cmSysMenu)) {
            SysButton = O.get();
            break;
        }
    TbsSkinCaptionObject* Caption = nullptr;
    for (auto& O : ObjectList)
        if ((Caption = dynamic_cast<TbsSkinCaptionObject*>(O.get()))) break;

    auto SizeOf = [this](TbsActiveSkinObject* O, int& W, int& H) {
        W = O->SkinRect().Width();
        H = O->SkinRect().Height();
        auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O);
        if (S && S->Command() == cmSysMenu && FShowIcon) GetIconSize(W, H);
    };
    int X, Y = Base.Top, W, H;
    auto PlaceLeft = [&](TbsActiveSkinObject* O) {
        SizeOf(O, W, H);
        O->SetObjectRect(TRect(X - W, Y, X, Y + H));
        X = X - NewButtonsOffset - W;
    };
    auto PlaceRight = [&](TbsActiveSkinObject* O) {
        SizeOf(O, W, H);
        O->SetObjectRect(TRect(X, Y, X + W, Y + H));
        X = X + NewButtonsOffset + W;
    };
    if (!NewButtonsInLeft) {
        X = Base.Right;
        for (auto* O : Row) PlaceLeft(O);
        if (IsEmptyRect(NewButtonsRect) && Caption) {
            TRect C = Caption->ObjectRect();
            C.Right = X + NewButtonsOffset;
            Caption->SetObjectRect(C);
        }
        if (SysButton) {
            X = NewCaptionRect.Left;
            Y = NewCaptionRect.Top;
            PlaceRight(SysButton);
            TRect S = SysButton->ObjectRect();
            S.Top = HeightOfRect(NewCaptionRect) / 2 + NewCaptionRect.Top - H / 2;
            S.Bottom = S.Top + H;
            SysButton->SetObjectRect(S);
            if (Caption) {
                TRect C = Caption->ObjectRect();
                C.Left = X - NewButtonsOffset;
                Caption->SetObjectRect(C);
            }
        }
    } else {
        X = Base.Left;
        for (auto* O : Row) PlaceRight(O);
        if (IsEmptyRect(NewButtonsRect) && SysButton) PlaceRight(SysButton);
        if (IsEmptyRect(NewButtonsRect) && Caption) {
            TRect C = Caption->ObjectRect();
            C.Left = X + NewButtonsOffset;
            Caption->SetObjectRect(C);
        }
    }
}

// ---- hit testing --------------------------------------------------------------------------------

void TbsSkinFormFrame::ScreenToWindowPoint(TPoint& P)
{
    if (IsMDIChild()) {
        P = FForm->ScreenToClient(P);
        P.X += FSkinSupport ? NewClRect.Left : 3;
        P.Y += FSkinSupport ? NewClRect.Top : GetDefCaptionHeight() + 3;
        return;
    }
    P.X -= FForm->Left();
    P.Y -= FForm->Top();
}

bool TbsSkinFormFrame::PointInFormMask(TPoint P)
{
    if (NewMaskRectArea.Contains(P)) return true;
    auto Black = [this](TBitmap* B, int X, int Y) {
        if (!B || B->Empty() || X < 0 || Y < 0 || X >= B->Width() || Y >= B->Height()) return false;
        return (B->Canvas()->Pixels(X, Y) & 0xFFFFFF) == BlackColor;
    };
    if (P.Y <= NewMaskRectArea.Top) return Black(RMTop.get(), P.X, P.Y);
    if (P.Y >= NewMaskRectArea.Bottom) return Black(RMBottom.get(), P.X, P.Y - NewMaskRectArea.Bottom);
    if (P.X <= NewMaskRectArea.Left) return Black(RMLeft.get(), P.X, P.Y - NewMaskRectArea.Top);
    return Black(RMRight.get(), P.X - NewMaskRectArea.Right, P.Y - NewMaskRectArea.Top);
}

bool TbsSkinFormFrame::CaptionTest(TPoint P)
{
    for (auto& O : ObjectList) {
        auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
        if (!C || !C->ObjectRect().Contains(P)) continue;
        if (FQuickButtons->Count() > 0 && FQuickImageList && !ShowsAppMenuCaption()) {
            TRect R = C->ObjectRect();
            R.Left += FQuickButtons->Count() * (FQuickImageList->Width() + 8) + 7;
            return R.Contains(P);
        }
        return true;
    }
    return false;
}

int TbsSkinFormFrame::SkinHitTest(TPoint P)
{
    bool C = CaptionTest(P);
    if (FRollUpState || FWindowState == wsMinimized) return C ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !C && !NewClRect.Contains(P) && !FSizeMove) return HTOBJECT;
    auto Plain = [&] { return NewClRect.Contains(P) ? HTCLIENT : C ? HTCAPTION : HTOBJECT; };
    if (FWindowState == wsMaximized || !IsSizeable()) return Plain();
    int W = FFormWidth ? FFormWidth : FForm->Width(), H = FFormHeight ? FFormHeight : FForm->Height();
    int BW = FSD->BorderW;
    const TPoint Probes[4] = {TPoint(P.X - BW, P.Y), TPoint(P.X, P.Y - BW), TPoint(P.X + BW, P.Y),
                              TPoint(P.X, P.Y + BW)};
    bool Edge = false;
    bool NoMask = !FSD->FMask || FSD->FMask->Empty();
    if (NoMask) {
        for (const TPoint& Q : Probes)
            if (!TRect(0, 0, W, H).Contains(Q)) Edge = true;
    } else if (!NewMaskRectArea.Contains(P)) {
        for (const TPoint& Q : Probes)
            if (!PointInFormMask(Q)) Edge = true;
    }
    if (!Edge) return Plain();
    int X = P.X, Y = P.Y;
    if (X <= NewHitTestLTPoint.X && Y <= NewHitTestLTPoint.Y) return HTTOPLEFT;
    if (X >= NewHitTestRTPoint.X && Y <= NewHitTestRTPoint.Y) return HTTOPRIGHT;
    if (X <= NewHitTestLBPoint.X && Y >= NewHitTestLBPoint.Y) return HTBOTTOMLEFT;
    if (X >= NewHitTestRBPoint.X && Y >= NewHitTestRBPoint.Y) return HTBOTTOMRIGHT;
    if (TRect(NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top).Contains(P)) return HTTOP;
    if (TRect(NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, H).Contains(P)) return HTBOTTOM;
    if (TRect(0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y).Contains(P)) return HTLEFT;
    if (TRect(NewClRect.Right, NewHitTestRTPoint.Y, W, NewHitTestRBPoint.Y).Contains(P)) return HTRIGHT;
    if (NewClRect.Contains(P)) return HTCLIENT;
    return C ? HTCAPTION : HTOBJECT;
}

int TbsSkinFormFrame::DefHitTest(TPoint P)
{
    int W = FForm->Width(), H = FForm->Height();
    int CapH = GetDefCaptionHeight();
    auto Plain = [&] {
        TRect Cap;
        GetDefCaptionRect(Cap);
        if (Cap.Contains(P)) return HTCAPTION;
        return TRect(3, CapH + 3, W - 3, H - 3).Contains(P) ? HTCLIENT : HTOBJECT;
    };
    if (FWindowState == wsMaximized || FWindowState == wsMinimized || FRollUpState || !IsSizeable()) return Plain();
    if (ActiveObject != -1) return HTOBJECT;
    int X = P.X, Y = P.Y;
    if (X <= 2 && Y <= 2) return HTTOPLEFT;
    if (X >= W - 2 && Y <= 2) return HTTOPRIGHT;
    if (X <= 2 && Y >= H - 2) return HTBOTTOMLEFT;
    if (X >= W - 2 && Y >= H - 2) return HTBOTTOMRIGHT;
    if (X <= 2) return HTLEFT;
    if (Y <= 2) return HTTOP;
    if (X >= W - 2) return HTRIGHT;
    if (Y >= H - 2) return HTBOTTOM;
    return Plain();
}

// ---- hover tracking --------------------------------------------------------------------------------

int TbsSkinFormFrame::ObjectAt(int X, int Y) const
{
    for (size_t I = 0; I < ObjectList.size(); ++I) {
        TbsActiveSkinObject* O = ObjectList[I].get();
        if (O->Enabled() && O->Visible() && O->ObjectRect().Contains(TPoint(X, Y)) &&
            O->PointInMask(X - O->ObjectRect().Left, Y - O->ObjectRect().Top))
            return int(I);
    }
    return -1;
}

void TbsSkinFormFrame::MoveObjectHover(int Hit, int& Active, int& OldActive, int Capture)
{
    int N = int(ObjectList.size());
    OldActive = Active;
    Active = Hit;
    // while an object holds the mouse no other one lights up
    if (Capture != -1 && Active != -1 && Active != Capture) Active = -1;
    if (OldActive >= N) OldActive = -1;
    if (Active >= N) Active = -1;
    if (OldActive == Active) return;
    const bool Hints = FShowObjectHint && FSkinHint;
    if (OldActive != -1) {
        TbsActiveSkinObject* O = ObjectList[size_t(OldActive)].get();
        if (O->Enabled() && O->Visible()) {
            O->MouseLeave();
            if (Hints && !O->Hint().empty()) FSkinHint->HideHint();
        }
    }
    if (Active != -1) {
        TbsActiveSkinObject* O = ObjectList[size_t(Active)].get();
        if (O->Enabled() && O->Visible()) {
            // (entering may choose the hint: a button's restore hint)
            O->MouseEnter();
            if (Hints && !O->Hint().empty()) FSkinHint->ActivateHint2(O->Hint());
        }
    }
}

void TbsSkinFormFrame::UpdateActiveObject(int X, int Y, bool AllowActive)
{
    if (ObjectList.empty() || !GetFormActive() || FSizeMove || FBorderLayerChangeSize || FPreviewMode) return;
    if ((IsMDIChild() && FWindowState == wsMaximized) || FForm->BorderStyle() == bsNone) return;
    if (FullLayeredShown()) return;
    MoveObjectHover(AllowActive ? ObjectAt(X, Y) : -1, ActiveObject, OldActiveObject, MouseCaptureObject);
}

void TbsSkinFormFrame::MouseTimerTick(TObject*)
{
    if (!GetFormActive() || !FForm->HandleAllocated()) return;
    TPoint C = GetCursorPos();
    if (WindowFromPoint(C) != FForm->Handle()) {
        MouseTimer->SetEnabled(false);
        UpdateActiveObject(-1, -1, false);
        return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
        MouseTimer->SetEnabled(false);
        return;
    }
    TPoint P = C;
    ScreenToWindowPoint(P);
    TRect Client = FSkinSupport ? NewClRect
                                : TRect(3, GetDefCaptionHeight() + 3, FForm->Width() - 3, FForm->Height() - 3);
    if (!Client.Contains(P)) UpdateActiveObject(P.X, P.Y, true);
    else if (ActiveObject != -1) UpdateActiveObject(-1, -1, true);
}

void TbsSkinFormFrame::ResetObjectStates()
{
    for (auto& O : ObjectList) O->ResetState();
}

// ---- object event relays -----------------------------------------------------------------------

void TbsSkinFormFrame::DoObjectPaint(const String& IDName, TCanvas* Canvas, TRect ObjectRect)
{
    if (OnPaintEvent) OnPaintEvent(IDName, Canvas, ObjectRect);
}

void TbsSkinFormFrame::DoObjectMouseUp(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)
{
    if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinFormFrame::DoObjectMouseDown(const String& IDName, int X, int Y, TRect ObjectRect, TMouseButton Button)
{
    if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinFormFrame::DoObjectMouseMove(const String& IDName, int X, int Y, TRect ObjectRect)
{
    if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsSkinFormFrame::DoObjectMouseEnter(const String& IDName)
{
    if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}

void TbsSkinFormFrame::DoObjectMouseLeave(const String& IDName)
{
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}
