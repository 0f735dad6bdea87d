// The window of one open menu level: filling, measuring, placing beside or below the
// rectangle it opens from, the fade-in, painting through one off-screen bitmap, and the
// scroll markers of a level that does not fit.
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

#include <chrono>

namespace {

constexpr UINT MeasureFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT;

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= int(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[size_t(Index)].get();
}

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    FVisible = false;
    auto MakeTimer = [this](UINT Interval, void (TbsSkinPopupWindow::*Tick)()) {
        auto* T = new TTimer(this);
        T->SetEnabled(false);
        T->SetInterval(Interval);
        T->SetOnTimer([this, Tick](TObject*) { (this->*Tick)(); });
        return T;
    };
    MouseTimer = MakeTimer(50, &TbsSkinPopupWindow::MouseTimerTick);
    MorphTimer = MakeTimer(20, &TbsSkinPopupWindow::MorphTimerTick);
    if (AData && AData->WindowPictureIndex != -1) {
        WindowPicture = PictureAt(ParentMenu->SkinData, AData->WindowPictureIndex);
        // a record naming no picture of the skin gives the default look
        if (WindowPicture) {
            PW = AData;
            SD = ParentMenu->SkinData;
            if (AData->MaskPictureIndex != -1) MaskPicture = PictureAt(SD, AData->MaskPictureIndex);
        }
    }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow()
{
    if (HandleAllocated()) KillTimer(Handle(), 1);
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    ItemList.clear();
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (OsIsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
    Params.WndParent = nullptr;
}

void TbsSkinPopupWindow::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_MOUSEACTIVATE: M.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND:
        PaintMenu(HDC(M.WParam));
        M.Result = 1;
        return;
    case WM_TIMER:
        TCustomControl::Dispatch(M);
        ScrollTimerTick();
        return;
    default: TCustomControl::Dispatch(M);
    }
}

// ---- heights and measures ---------------------------------------------------------------------

int TbsSkinPopupWindow::NormalItemHeight() const
{
    if (PW && DSMI && ParentMenu->UseSkinSize()) return HeightOfRect(DSMI->SkinRect);
    return ParentMenu->DefaultMenuItemHeight();
}

int TbsSkinPopupWindow::ItemHeight(int Index) const
{
    if (Item(Index)->IsSeparator()) return PW && DSMI ? HeightOfRect(DSMI->DividerRect) : 4;
    return NormalItemHeight();
}

void TbsSkinPopupWindow::AddItems(TMenuItem* AItem, int From)
{
    for (int I = MaxOf(From, 0); I < AItem->Count(); ++I) {
        TMenuItem* Child = AItem->Items(I);
        if (!Child->Visible()) continue;
        Child->InitiateAction();
        ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, Child, DSMI));
    }
}

void TbsSkinPopupWindow::LoadItems(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool Two)
{
    DSMI = nullptr;
    if (SD && !SD->Empty)
        for (auto& O : SD->ObjectList)
            if (auto* M = dynamic_cast<TbsDataSkinMenuItem*>(O.get())) {
                DSMI = M;
                break;
            }
    // menu-item data without a usable picture: the items take the default look and size
    if (DSMI && !PictureAt(SD, DSMI->ActivePictureIndex)) DSMI = nullptr;
    TFont* F = Canvas()->Font();
    if (PW && DSMI && ParentMenu->UseSkinFont()) {
        F->SetHeight(DSMI->FontHeight);
        F->SetStyle(DSMI->FontStyle);
        F->SetName(DSMI->FontName);
    } else {
        F->Assign(ParentMenu->DefaultMenuItemFont());
    }
    if (ParentMenu->SkinData && ParentMenu->SkinData->ResourceStrData())
        F->SetCharset(ParentMenu->SkinData->ResourceStrData()->CharSet());
    else
        F->SetCharset(ParentMenu->DefaultMenuItemFont()->Charset());
    TMenu* M = AItem->GetParentMenu();
    if (M && M->AutoLineReduction()) M->RethinkLines();
    ImgL = M ? dynamic_cast<TCustomImageList*>(M->Images()) : nullptr;
    AddItems(AItem, StartIndex);
    if (Two && AItem2) AddItems(AItem2, MaxOf(0, StartIndex - AItem->Count()));
    FShownBy2 = Two;
    SetWindowSize();
    CalcGeometry();
    ArrangeItems();
    if (MaskPicture) UpdateWindowRegion();
}

int TbsSkinPopupWindow::CalcWindowWidth()
{
    int T = 0;
    for (auto& I : ItemList) {
        String Text = I->MenuItem->Caption();
        if (I->MenuItem->ShortCut() != 0) Text += "  " + ShortCutToText(I->MenuItem->ShortCut());
        TRect R(0, 0, 0, 0);
        DrawWideText(Canvas(), Text, R, MeasureFlags);
        T = MaxOf(T, WidthOfRect(R) + 2);
    }
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    int W = T + 19 + GlyphWidth;
    if (!PW) return W + 10;
    if (DSMI) W += DSMI->TextRct.Left + (WidthOfRect(DSMI->SkinRect) - DSMI->TextRct.Right);
    return W + PW->ItemsRect.Left + (WindowPicture->Width() - PW->ItemsRect.Right);
}

void TbsSkinPopupWindow::SetWindowSize()
{
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = Scroll2 = false;
    const int W = CalcWindowWidth();
    const int Margin = PW ? WindowPicture->Height() - PW->ItemsRect.Bottom + PW->ItemsRect.Top : FShownBy2 ? 6 : 4;
    const int Max = ParentMenu->MaxMenuItemsInWindow;
    int H;
    if (Max > 0 && Max < ItemCount()) {
        H = NormalItemHeight() * Max + Margin + 20;
        Scroll = Scroll2 = true;
    } else {
        H = Margin;
        for (int I = 0; I < ItemCount(); ++I) H += ItemHeight(I);
    }
    if (HeightOfRect(ParentMenu->WorkArea) < H) {
        H = HeightOfRect(ParentMenu->WorkArea);
        Scroll = true;
    }
    SetBounds(Left(), Top(), W, H);
}

void TbsSkinPopupWindow::CalcGeometry()
{
    const int W = Width(), H = Height();
    if (!PW) {
        NewItemsRect = TRect(2, 2, W - 2, H - 2);
        return;
    }
    const int PWd = WindowPicture->Width(), PH = WindowPicture->Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint(W - (PWd - PW->RTPoint.X), PW->RTPoint.Y);
    NewLBPoint = TPoint(PW->LBPoint.X, H - (PH - PW->LBPoint.Y));
    NewRBPoint = TPoint(W - (PWd - PW->RBPoint.X), H - (PH - PW->RBPoint.Y));
    NewItemsRect = TRect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PWd - PW->ItemsRect.Right),
                         H - (PH - PW->ItemsRect.Bottom));
}

void TbsSkinPopupWindow::ArrangeItems()
{
    int Top = NewItemsRect.Top, Bottom = NewItemsRect.Bottom;
    if (Scroll) {
        Top += 10;
        Bottom -= 10;
    }
    VisibleCount = 0;
    for (int I = VisibleStartIndex; I < ItemCount(); ++I) {
        const int H = ItemHeight(I);
        Item(I)->ObjectRect = TRect(NewItemsRect.Left, Top, NewItemsRect.Right, Top + H);
        if (Top + H > Bottom) break;
        Item(I)->FVisible = true;
        ++VisibleCount;
        Top += H;
    }
    if (Scroll)
        for (int I = 0; I < ItemCount(); ++I)
            if (I < VisibleStartIndex || I >= VisibleStartIndex + VisibleCount) Item(I)->FVisible = false;
}

void TbsSkinPopupWindow::UpdateWindowRegion()
{
    if (!PW || !HandleAllocated()) return;
    HRGN Rgn = nullptr;
    CreateSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    SetWindowRgn(Handle(), Rgn, true);
    FRgn = Rgn;
}

// ---- placement and showing ------------------------------------------------------------------------

void TbsSkinPopupWindow::CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp)
{
    const TRect WA = ParentMenu->WorkArea;
    const int W = Width(), H = Height();
    const int Mid = WA.Top + HeightOfRect(WA) / 2;
    bool Shifted = false;
    const bool Cut = Scroll && !Scroll2;
    if (Cut) {
        ShowY = WA.Top;
    } else if (PopupByItem) {
        if (R.Top + H - NewItemsRect.Top <= WA.Bottom) ShowY = R.Top - NewItemsRect.Top;
        else if (R.Top < Mid) ShowY = WA.Bottom - H;
        else ShowY = MaxOf(WA.Top, R.Bottom - H + NewItemsRect.Top);
    } else if (PopupUp) {
        if (R.Top - H >= WA.Top) {
            ShowY = R.Top - H;
        } else if (R.Top < Mid) {
            if (R.Bottom + H <= WA.Bottom) {
                ShowY = R.Bottom;
            } else {
                ShowY = WA.Bottom - H;
                Shifted = true;
            }
        } else {
            ShowY = WA.Top;
            Shifted = true;
        }
    } else {
        if (R.Bottom + H <= WA.Bottom) {
            ShowY = R.Bottom;
        } else if (R.Top < Mid) {
            ShowY = WA.Bottom - H;
            Shifted = true;
        } else if (R.Top - H >= WA.Top) {
            ShowY = R.Top - H;
        } else {
            ShowY = WA.Top;
            Shifted = true;
        }
    }
    if (PopupByItem || Cut || Shifted) {
        ShowX = R.Right + W + 1 <= WA.Right ? R.Right + 1 : R.Left - W - 1;
    } else if (R.Left + W > WA.Right) {
        ShowX = WA.Right - W;
    } else if (R.Left < WA.Left) {
        ShowX = WA.Left;
    } else {
        ShowX = R.Left;
    }
}

void TbsSkinPopupWindow::DoShow(const TRect& R, bool PopupByItem, bool PopupUp, const std::function<void()>& Fill)
{
    TbsSkinMenu* Chain = ParentMenu;
    const bool Layered = OsIsWin2000OrLater() && Chain->AlphaBlend;
    const bool Fade = Layered && Chain->AlphaBlendAnimation && Chain->First();
    if (Fade && Application) {
        Application->ProcessMessages();
        // the chain may have closed this level meanwhile: it stays hidden
        if (Chain->IndexOfPopup(this) == Chain->LevelCount()) return;
    }
    HandleNeeded();
    Fill();
    CalcShowPosition(R, PopupByItem, PopupUp);
    if (Layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        FAppliedAlpha = Fade ? 0 : Chain->AlphaBlendValue;
        SetLayeredAlpha(Handle(), FAppliedAlpha);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FVisible = true;
    if (Fade) {
        // a short busy fade on the GUI thread, one step each time more than 5 ms passed
        const int Target = Chain->AlphaBlendValue;
        const int Step = MaxOf(1, Target / 15);
        int Alpha = 0;
        FadeSteps.clear();
        auto Last = std::chrono::steady_clock::now() - std::chrono::milliseconds(10);
        while (Alpha < Target) {
            const auto Now = std::chrono::steady_clock::now();
            if (Now - Last <= std::chrono::milliseconds(5)) continue;
            Last = Now;
            Alpha = MinOf(Alpha + Step, Target);
            FAppliedAlpha = uint8_t(Alpha);
            SetLayeredAlpha(Handle(), FAppliedAlpha);
            FadeSteps.push_back(FAppliedAlpha);
        }
    }
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (int I = 0; I < ItemCount(); ++I)
        if (Item(I)->Usable()) {
            Item(I)->WaitCommand = true;
            ActiveItem = I;
            Item(I)->MouseEnter(true);
            break;
        }
}

void TbsSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp)
{
    DoShow(R, PopupByItem, PopupUp, [&] { LoadItems(AItem, nullptr, StartIndex, false); });
}

void TbsSkinPopupWindow::Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem,
                               bool PopupUp)
{
    DoShow(R, PopupByItem, PopupUp, [&] { LoadItems(AItem, AItem2, StartIndex, true); });
}

void TbsSkinPopupWindow::Hide()
{
    if (HandleAllocated()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        KillTimer(Handle(), 1);
    }
    MorphTimer->SetEnabled(false);
    MouseTimer->SetEnabled(false);
    FVisible = false;
}

void TbsSkinPopupWindow::CloseChildLevels()
{
    const int Level = ParentMenu->IndexOfPopup(this);
    if (Level + 1 < ParentMenu->LevelCount()) ParentMenu->ClosePopups(Level + 1);
    for (auto& I : ItemList)
        if (I->Down) {
            I->Down = false;
            if (I->EnableAnimation() && !I->MI->InActiveAnimation) {
                I->CurrentFrame = 0;
                I->Draw(Canvas());
            } else {
                I->ReDraw();
            }
        }
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinPopupWindow::CreateWindowImage(TBitmap* B, bool AFillItemsArea)
{
    const int W = Width(), H = Height();
    if (PW) {
        CreateSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture,
                         TRect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, AFillItemsArea,
                         PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect,
                         PW->StretchType);
        return;
    }
    B->SetSize(W, H);
    TCanvas* C = B->Canvas();
    const int Col = ImgL ? GlyphWidth + 2 : 21;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, Col, H));
    C->Brush()->SetColor(clWindow);
    C->FillRect(TRect(Col, 0, W, H));
    DrawFrame3D(C, TRect(0, 0, W, H), clBtnShadow, clBtnShadow);
    DrawFrame3D(C, TRect(1, 1, W - 1, H - 1), clWindow, clWindow);
}

void TbsSkinPopupWindow::DrawItemBackground(TCanvas* C, const TRect& R)
{
    if (!PW || !SD || IsEmptyRect(R)) return;
    int Index = SD->GetIndex("menuitem");
    if (Index == -1) Index = SD->GetIndex("MENUITEM");
    if (Index == -1) return;
    auto* O = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[size_t(Index)].get());
    TBitmap* Pic = O ? PictureAt(SD, O->ActivePictureIndex) : nullptr;
    TBitmap B;
    if (DSMI && DSMI->InActiveTransparent && FPaintBuffer) {
        B.SetSize(WidthOfRect(R), HeightOfRect(R));
        B.Canvas()->CopyRect(TRect(0, 0, WidthOfRect(R), HeightOfRect(R)), FPaintBuffer->Canvas(), R);
    } else {
        // an object naming no picture leaves the area as it is
        if (!Pic) return;
        CreateHSkinImage(O->ItemLO, O->ItemRO, &B, Pic, O->SkinRect, WidthOfRect(R), HeightOfRect(O->SkinRect),
                         O->InActiveStretchEffect);
        B.SetHeight(HeightOfRect(R));
    }
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinPopupWindow::DrawUpMarker(TCanvas* C)
{
    TRect R = PW ? TRect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10)
                 : TRect(3, 3, Width() - 3, 13);
    if (PW) DrawItemBackground(C, R);
    TColor Color = PW ? (ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor)
                      : (ScrollCode == 1 ? clBtnText : clBtnShadow);
    DrawArrowImage(C, R, Color, 3);
}

void TbsSkinPopupWindow::DrawDownMarker(TCanvas* C)
{
    TRect R = PW ? TRect(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom)
                 : TRect(3, Height() - 10, Width() - 3, Height() - 3);
    if (PW) DrawItemBackground(C, R);
    TColor Color = PW ? (ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor)
                      : (ScrollCode == 2 ? clBtnText : clBtnShadow);
    DrawArrowImage(C, R, Color, 4);
}

void TbsSkinPopupWindow::RedrawMarkers()
{
    if (!HandleAllocated() || !FVisible) return;
    DrawUpMarker(Canvas());
    DrawDownMarker(Canvas());
}

void TbsSkinPopupWindow::PaintMenu(HDC DC)
{
    if (!DC || Width() <= 0 || Height() <= 0) return;
    TBitmap B;
    CreateWindowImage(&B, Scroll);
    if (PW && DSMI && DSMI->InActiveTransparent) {
        FPaintBuffer = std::make_unique<TBitmap>();
        CreateWindowImage(FPaintBuffer.get(), true);
    }
    int LastBottom = -1;
    for (int I = VisibleStartIndex; I < VisibleStartIndex + VisibleCount && I < ItemCount(); ++I) {
        Item(I)->Draw(B.Canvas());
        LastBottom = Item(I)->ObjectRect.Bottom;
    }
    if (Scroll) {
        DrawUpMarker(B.Canvas());
        DrawDownMarker(B.Canvas());
        if (PW && LastBottom != -1 && LastBottom < NewItemsRect.Bottom - 10)
            DrawItemBackground(B.Canvas(),
                               TRect(NewItemsRect.Left, LastBottom, NewItemsRect.Right, NewItemsRect.Bottom - 10));
    }
    BitBlt(DC, 0, 0, B.Width(), B.Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- item effects ------------------------------------------------------------------------------

void TbsSkinPopupWindow::MorphTimerTick()
{
    if (!PW) {
        MorphTimer->SetEnabled(false);
        return;
    }
    bool Changed = false;
    for (auto& I : ItemList) {
        if (I->EnableMorphing() && I->CanMorphing()) {
            I->DoMorphing();
            Changed = true;
        } else if (I->EnableAnimation()) {
            if (I->Active && I->CurrentFrame <= I->MI->FrameCount) {
                ++I->CurrentFrame;
                I->Draw(Canvas());
                Changed = true;
            } else if (!I->Active && I->CurrentFrame > 0) {
                --I->CurrentFrame;
                I->Draw(Canvas());
                Changed = true;
            }
        }
    }
    if (!Changed) MorphTimer->SetEnabled(false);
}
