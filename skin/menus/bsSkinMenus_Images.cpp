// The images menu: a drop-down grid of pictures with optional button and header rows.
// Its window is its own (not the frame's menu chain): it captures the mouse while open
// and takes over the application's message filter to see keys and clicks anywhere.
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

#include <chrono>

namespace {

// Posted by the grid to itself: free the window.
constexpr UINT WM_RELEASEGRID = WM_USER + 2;

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= int(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[size_t(Index)].get();
}

template <class T>
T* ControlRecord(TbsSkinData* SD, std::initializer_list<const char*> Names)
{
    if (!SD || SD->Empty) return nullptr;
    for (const char* N : Names) {
        int I = SD->GetControlIndex(N);
        if (I != -1) return dynamic_cast<T*>(SD->CtrlList[size_t(I)].get());
    }
    return nullptr;
}

}  // namespace

// ---- items ------------------------------------------------------------------------------------------

void TbsImagesMenuItem::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsImagesMenuItem*>(Source)) {
        FImageIndex = S->FImageIndex;
        FCaption = S->FCaption;
        FButton = S->FButton;
        FHint = S->FHint;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsImagesMenuItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsImagesMenuItem::SetCaption(const String& Value)
{
    FCaption = Value;
    Changed(false);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AMenu)
    : TCollection(ItemClass<TbsImagesMenuItem>()), FMenu(AMenu) {}

void TbsImagesMenuItems::Update(TCollectionItem* AItem)
{
    TCollection::Update(AItem);
    FMenu->InternalChanged();
}

// ---- the component ------------------------------------------------------------------------------------

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TbsImagesMenuItems>(this)), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TbsSkinImagesMenu::~TbsSkinImagesMenu()
{
    FOnInternalChange = nullptr;
    FOnInternalMenuClose = nullptr;
    if (FPopupWindow) {
        TbsSkinImagesMenuPopupWindow* W = FPopupWindow;
        FPopupWindow = nullptr;
        OnMenuClose = nullptr;
        W->Hide(false);
        delete W;
    }
    FItems.reset();
}

void TbsSkinImagesMenu::InternalChanged()
{
    if (FOnInternalChange) FOnInternalChange(this);
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    InternalChanged();
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value)
{
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetItemIndex(int Value)
{
    if (FItemIndex == Value) return;
    FItemIndex = Value;
    InternalChanged();
}

void TbsSkinImagesMenu::SetColumnsCount(int Value)
{
    if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TbsImagesMenuItem* TbsSkinImagesMenu::SelectedItem() const
{
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return nullptr;
    return FItems->Items(FItemIndex);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        InternalChanged();
    }
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TbsSkinImagesMenu::PopupFromRect(const TRect& R)
{
    if (FPopupWindow) FPopupWindow->Hide(false);
    if (OnMenuPopup) OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0) return;
    FOldItemIndex = FItemIndex;
    FPopupWindow = new TbsSkinImagesMenuPopupWindow(this);
    FPopupWindow->Show(R);
}

void TbsSkinImagesMenu::Hide()
{
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::PopupHidden(bool AProcessEvents)
{
    if (!FPopupWindow) return;
    TbsSkinImagesMenuPopupWindow* W = FPopupWindow;
    FPopupWindow = nullptr;
    // the window may be inside its own mouse or key handling: it goes once that is done
    W->Release();
    if (FOnInternalMenuClose) FOnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents || FItemIndex == -1) return;
    if (TbsImagesMenuItem* Item = SelectedItem())
        if (Item->OnClick) Item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
        InternalChanged();
        if (OnChange) OnChange(this);
    }
}

// ---- the grid window --------------------------------------------------------------------------------

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TComponent* AOwner)
    : TCustomControl(AOwner), ImagesMenu(static_cast<TbsSkinImagesMenu*>(AOwner))
{
    FVisible = false;
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow()
{
    if (FHooked && Application) {
        Application->RemoveMessageFilter(this);
        FHooked = false;
    }
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TbsSkinImagesMenuPopupWindow::Release()
{
    FReleased = true;
    HandleNeeded();
    PostMessage(Handle(), WM_RELEASEGRID, 0, 0);
}

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (OsIsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
    Params.WndParent = nullptr;
}

void TbsSkinImagesMenuPopupWindow::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_MOUSEACTIVATE: M.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND: M.Result = 1; return;
    case CM_MOUSEENTER: return;
    case CM_MOUSELEAVE:
        HideHint();
        MouseInItem = -1;
        if (OldMouseInItem != -1) {
            OldMouseInItem = -1;
            Invalidate();
        }
        return;
    case WM_RELEASEGRID: delete this; return;
    default: break;
    }
    TCustomControl::Dispatch(M);
    if ((M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) && !FReleased && FVisible &&
        GetCapture() == Handle() && WindowFromPoint(GetCursorPos()) != Handle())
        Hide(false);
}

bool TbsSkinImagesMenuPopupWindow::CheckSkin()
{
    TbsSkinData* SD = ImagesMenu->SkinData();
    FSkinSupport = SD && !SD->Empty && SD->PopupWindow && SD->PopupWindow->WindowPictureIndex != -1 &&
                   PictureAt(SD, SD->PopupWindow->WindowPictureIndex);
    return FSkinSupport;
}

void TbsSkinImagesMenuPopupWindow::CalcItemRects()
{
    TCustomImageList* IL = ImagesMenu->Images();
    const int CW = (IL ? IL->Width() : 0) + 10, CH = (IL ? IL->Height() : 0) + 10;
    const int RW = ImagesMenu->ColumnsCount() * CW;
    TbsSkinData* SD = ImagesMenu->SkinData();
    const int L = FSkinSupport ? SD->PopupWindow->ItemsRect.Left : 5;
    const int T = FSkinSupport ? SD->PopupWindow->ItemsRect.Top : 5;
    int HH = CH;
    if (auto* Lab = ControlRecord<TbsDataSkinLabelControl>(SD, {"label"})) HH = HeightOfRect(Lab->SkinRect);
    int X = L, Y = T;
    TbsImagesMenuItems* Items = ImagesMenu->Items();
    for (int I = 0; I < Items->Count(); ++I) {
        TbsImagesMenuItem* It = Items->Items(I);
        if (It->Header() || It->Button()) {
            if (X != L) Y += CH + 1;
            const int H = It->Header() ? HH : CH;
            It->ItemRect = TRect(L, Y, L + RW, Y + H);
            Y += H + 1;
            X = L;
        } else {
            It->ItemRect = TRect(X, Y, X + CW, Y + CH);
            X += CW;
            if (X + CW > L + RW) {
                X = L;
                Y += CH + 1;
            }
        }
    }
}

void TbsSkinImagesMenuPopupWindow::CalcSize()
{
    CheckSkin();
    CalcItemRects();
    TbsImagesMenuItems* Items = ImagesMenu->Items();
    TCustomImageList* IL = ImagesMenu->Images();
    const int RW = ImagesMenu->ColumnsCount() * ((IL ? IL->Width() : 0) + 10);
    // a menu without items shows its empty frame, as high as one cell
    const int H = Items->Count() > 0 ? Items->Items(Items->Count() - 1)->ItemRect.Bottom - Items->Items(0)->ItemRect.Top
                                     : (IL ? IL->Height() : 0) + 10;
    int W, Hh;
    if (FSkinSupport) {
        TbsDataSkinPopupWindow* PW = ImagesMenu->SkinData()->PopupWindow.get();
        TbsSkinData* SD = ImagesMenu->SkinData();
        WindowPicture = PictureAt(SD, PW->WindowPictureIndex);
        MaskPicture = PW->MaskPictureIndex == -1 ? nullptr : PictureAt(SD, PW->MaskPictureIndex);
        const int PWd = WindowPicture->Width(), PH = WindowPicture->Height();
        W = PWd - WidthOfRect(PW->ItemsRect) + RW;
        Hh = PH - HeightOfRect(PW->ItemsRect) + H;
        NewLTPoint = PW->LTPoint;
        NewRTPoint = TPoint(W - (PWd - PW->RTPoint.X), PW->RTPoint.Y);
        NewLBPoint = TPoint(PW->LBPoint.X, Hh - (PH - PW->LBPoint.Y));
        NewRBPoint = TPoint(W - (PWd - PW->RBPoint.X), Hh - (PH - PW->RBPoint.Y));
        NewItemsRect = TRect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PWd - PW->ItemsRect.Right),
                             Hh - (PH - PW->ItemsRect.Bottom));
        SetBounds(Left(), Top(), W, Hh);
        if (MaskPicture) {
            HRGN Rgn = nullptr;
            CreateSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                             NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, W, Hh);
            SetWindowRgn(Handle(), Rgn, true);
            FRgn = Rgn;
        }
    } else {
        W = RW + 10;
        Hh = H + 10;
        SetBounds(Left(), Top(), W, Hh);
    }
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect)
{
    HandleNeeded();
    CalcSize();
    int X = PopupRect.Left, Y = PopupRect.Bottom;
    TRect WA;
    GetWorkArea(true, WA);
    HWND Ref = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) Ref = Screen->ActiveForm()->Handle();
    else if (Application && Application->MainForm() && Application->MainForm()->Visible() &&
             Application->MainForm()->HandleAllocated())
        Ref = Application->MainForm()->Handle();
    else if (auto* O = dynamic_cast<TWinControl*>(ImagesMenu->Owner()); O && O->HandleAllocated())
        Ref = O->Handle();
    if (Ref) GetMonitorWorkArea(Ref, true, WA);
    if (Y + Height() > WA.Bottom) Y = Y - Height() - HeightOfRect(PopupRect);
    if (X + Width() > WA.Right) X -= X + Width() - WA.Right;
    X = MaxOf(X, WA.Left);
    Y = MaxOf(Y, WA.Top);
    const bool Layered = OsIsWin2000OrLater() && ImagesMenu->AlphaBlend;
    const bool Fade = Layered && ImagesMenu->AlphaBlendAnimation;
    if (Layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        FAppliedAlpha = Fade ? 0 : ImagesMenu->AlphaBlendValue;
        SetLayeredAlpha(Handle(), FAppliedAlpha);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, X, Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    FVisible = true;
    if (Fade) {
        // a close during the pump releases the grid, and the release message may free it
        // in the same pump: the window handle tells without touching freed memory
        const HWND Wnd = Handle();
        if (Application) Application->ProcessMessages();
        if (!ControlStillAlive(Wnd, this) || FReleased) return;
        const int Target = ImagesMenu->AlphaBlendValue;
        int Alpha = 0;
        FadeSteps.clear();
        auto Last = std::chrono::steady_clock::now();
        while (Alpha < Target) {
            const auto Now = std::chrono::steady_clock::now();
            if (Now - Last <= std::chrono::milliseconds(5)) continue;
            Last = Now;
            Alpha = MinOf(Alpha + 10, Target);
            FAppliedAlpha = uint8_t(Alpha);
            SetLayeredAlpha(Handle(), FAppliedAlpha);
            FadeSteps.push_back(FAppliedAlpha);
        }
    }
    if (Application) {
        Application->AddMessageFilter(this, [this](TMsg& Msg, bool& Handled) { NewAppMessage(Msg, Handled); });
        FHooked = true;
    }
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents)
{
    if (FClosing) return;
    FClosing = true;
    HideHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FVisible = false;
    if (FHooked && Application) {
        Application->RemoveMessageFilter(this);
        FHooked = false;
    }
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    ImagesMenu->PopupHidden(AProcessEvents);
}

int TbsSkinImagesMenuPopupWindow::ItemAtPos(int X, int Y) const
{
    TbsImagesMenuItems* Items = ImagesMenu->Items();
    for (int I = 0; I < Items->Count(); ++I) {
        TbsImagesMenuItem* It = Items->Items(I);
        if (!It->Header() && IsPointInRect(It->ItemRect, TPoint(X, Y))) return I;
    }
    return -1;
}

// ---- pointer ---------------------------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::HideHint()
{
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FReleased) return;
    MouseInItem = ItemAtPos(X, Y);
    if (MouseInItem == -1 && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
    if (MouseInItem == OldMouseInItem) return;
    OldMouseInItem = MouseInItem;
    Invalidate();
    TbsSkinHint* H = ImagesMenu->SkinHint();
    if (ImagesMenu->ShowHints && MouseInItem != -1 && H) {
        H->HideHint();
        const String& Hint = ImagesMenu->Items()->Items(MouseInItem)->Hint();
        if (!Hint.empty()) H->ActivateHint2(Hint);
    }
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (FReleased || !TRect(0, 0, Width(), Height()).Contains(TPoint(X, Y))) return;
    HideHint();
    FDown = true;
    FItemDown = ItemAtPos(X, Y) != -1;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FReleased) return;
    const int I = ItemAtPos(X, Y);
    if (FDown && I != -1) {
        ImagesMenu->FItemIndex = I;
        Hide(true);
        return;
    }
    // the release of the click that opened the grid chooses nothing: the grid stays open
    ReleaseCapture();
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::SetHot(int Index)
{
    if (Index == MouseInItem) return;
    MouseInItem = OldMouseInItem = Index;
    Invalidate();
}

// ---- keys and the message filter --------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::ProcessKey(int Key)
{
    TbsImagesMenuItems* Items = ImagesMenu->Items();
    const int N = Items->Count();
    auto IsHeader = [&](int I) { return Items->Items(I)->Header(); };
    // the first and last items that can be chosen (headers cannot); -1 when there are none
    auto FirstItem = [&] {
        for (int I = 0; I < N; ++I)
            if (!IsHeader(I)) return I;
        return -1;
    };
    auto LastItem = [&] {
        for (int I = N - 1; I >= 0; --I)
            if (!IsHeader(I)) return I;
        return -1;
    };
    const int Hot = MouseInItem;
    switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
        if (Hot != -1) ImagesMenu->FItemIndex = Hot;
        Hide(true);
        return;
    case VK_ESCAPE: Hide(false); return;
    case VK_LEFT:
        if (FirstItem() == -1) return;
        if (Hot == -1 || Hot <= FirstItem()) {
            SetHot(LastItem());
        } else {
            for (int I = Hot - 1; I >= 0; --I)
                if (!IsHeader(I)) {
                    SetHot(I);
                    break;
                }
        }
        return;
    case VK_RIGHT:
        if (FirstItem() == -1) return;
        if (Hot == -1 || Hot >= LastItem()) {
            SetHot(FirstItem());
        } else {
            for (int I = Hot + 1; I < N; ++I)
                if (!IsHeader(I)) {
                    SetHot(I);
                    break;
                }
        }
        return;
    case VK_UP:
        if (FirstItem() == -1) return;
        if (Hot == -1) {
            SetHot(LastItem());
            return;
        }
        for (int I = Hot - 1; I >= 0; --I) {
            TbsImagesMenuItem* It = Items->Items(I);
            const TRect& HR = Items->Items(Hot)->ItemRect;
            if (!It->Header() && It->ItemRect.Top < HR.Top && (It->Button() || It->ItemRect.Left == HR.Left)) {
                SetHot(I);
                break;
            }
        }
        return;
    case VK_DOWN:
        if (FirstItem() == -1) return;
        if (Hot == -1) {
            SetHot(FirstItem());
            return;
        }
        for (int I = Hot + 1; I < N; ++I) {
            TbsImagesMenuItem* It = Items->Items(I);
            const TRect& HR = Items->Items(Hot)->ItemRect;
            if (!It->Header() && It->ItemRect.Top > HR.Top && (It->Button() || It->ItemRect.Left == HR.Left)) {
                SetHot(I);
                break;
            }
        }
        return;
    default: return;
    }
}

void TbsSkinImagesMenuPopupWindow::NewAppMessage(TMsg& Msg, bool& Handled)
{
    switch (Msg.message) {
    case WM_KEYDOWN: {
        const int Key = int(Msg.wParam);
        Msg.message = 0;
        Handled = true;
        ProcessKey(Key);
        return;
    }
    case WM_MOUSEWHEEL:
        Msg.message = 0;
        Handled = true;
        return;
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_SYSKEYDOWN: case WM_SYSCHAR:
    case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
        Hide(false);
        return;
    default: return;
    }
}

// ---- painting -----------------------------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::DrawCellFrame(TCanvas* C, const TRect& R, bool Pressed)
{
    const int W = WidthOfRect(R), H = HeightOfRect(R);
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TbsSkinData* SD = ImagesMenu->SkinData();
    auto* BR = FSkinSupport ? ControlRecord<TbsDataSkinButtonControl>(SD, {"menuitembutton", "resizebutton"}) : nullptr;
    TBitmap* Pic = BR ? PictureAt(SD, BR->PictureIndex) : nullptr;
    if (BR && Pic) {
        TRect Src = Pressed && !IsEmptyRect(BR->DownSkinRect) ? BR->DownSkinRect : BR->ActiveSkinRect;
        if (IsEmptyRect(Src)) Src = BR->SkinRect;
        const int DX = W - WidthOfRect(BR->SkinRect), DY = H - HeightOfRect(BR->SkinRect);
        CreateSkinImage(BR->LTPoint, BR->RTPoint, BR->LBPoint, BR->RBPoint, BR->ClRect, BR->LTPoint,
                        TPoint(BR->RTPoint.X + DX, BR->RTPoint.Y), TPoint(BR->LBPoint.X, BR->LBPoint.Y + DY),
                        TPoint(BR->RBPoint.X + DX, BR->RBPoint.Y + DY),
                        TRect(BR->ClRect.Left, BR->ClRect.Top, BR->ClRect.Right + DX, BR->ClRect.Bottom + DY), &B, Pic,
                        Src, W, H, true, BR->LeftStretch, BR->TopStretch, BR->RightStretch, BR->BottomStretch,
                        BR->StretchEffect, BR->StretchType);
    } else {
        TCanvas* BC = B.Canvas();
        BC->Brush()->SetStyle(bsSolid);
        BC->Brush()->SetColor(Pressed ? RGB(162, 188, 228) : RGB(193, 212, 243));
        BC->FillRect(TRect(0, 0, W, H));
        BC->Brush()->SetColor(RGB(59, 107, 183));
        BC->FrameRect(TRect(0, 0, W, H));
    }
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawButtonCaption(TCanvas* C, const String& Text, TRect R, int State)
{
    TbsSkinData* SD = ImagesMenu->SkinData();
    TbsDataSkinMenuItem* MI = nullptr;
    if (FSkinSupport) {
        int I = SD->GetIndex("menuitem");
        if (I == -1) I = SD->GetIndex("MENUITEM");
        if (I != -1) MI = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[size_t(I)].get());
    }
    auto* BR = FSkinSupport ? ControlRecord<TbsDataSkinButtonControl>(SD, {"menuitembutton", "resizebutton"}) : nullptr;
    TFont* F = C->Font();
    if (MI && BR) {
        if (ImagesMenu->UseSkinFont) {
            F->SetName(BR->FontName);
            F->SetHeight(BR->FontHeight);
            F->SetStyle(BR->FontStyle);
        } else {
            F->Assign(ImagesMenu->DefaultFont());
        }
        F->SetCharset(SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : ImagesMenu->DefaultFont()->Charset());
        F->SetColor(State == 2 ? BR->DownFontColor : State == 1 ? BR->ActiveFontColor : MI->FontColor);
    } else {
        F->Assign(ImagesMenu->DefaultFont());
        F->SetColor(clWindowText);
    }
    C->Brush()->SetStyle(bsClear);
    TRect M(0, 0, 0, 0);
    DrawWideText(C, Text, M, DT_SINGLELINE | DT_CALCRECT);
    const UINT Align = WidthOfRect(M) > WidthOfRect(R) ? DT_LEFT : DT_CENTER;
    DrawWideText(C, Text, R, Align | DT_VCENTER | DT_SINGLELINE);
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& R, const String& Text)
{
    TbsSkinData* SD = ImagesMenu->SkinData();
    auto* L = ControlRecord<TbsDataSkinLabelControl>(SD, {"label"});
    TBitmap* Pic = L ? PictureAt(SD, L->PictureIndex) : nullptr;
    if (!L || !Pic) {
        C->Brush()->SetStyle(bsClear);
        TRect T = R;
        DrawWideText(C, Text, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const int SW = WidthOfRect(L->SkinRect);
    TBitmap B;
    CreateHSkinImage(L->LTPoint.X, SW - L->RTPoint.X, &B, Pic, L->SkinRect, WidthOfRect(R), HeightOfRect(L->SkinRect),
                     L->StretchEffect);
    if (B.Width() <= 0 || B.Height() <= 0) return;
    TCanvas* BC = B.Canvas();
    BC->Font()->SetName(L->FontName);
    BC->Font()->SetHeight(L->FontHeight);
    BC->Font()->SetStyle(L->FontStyle);
    BC->Font()->SetColor(L->FontColor);
    BC->Font()->SetCharset(C->Font()->Charset());
    BC->Brush()->SetStyle(bsClear);
    TRect T(L->ClRect.Left, L->ClRect.Top, B.Width() - (SW - L->ClRect.Right), B.Height());
    DrawWideText(BC, Text, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Draw(R.Left, R.Top, &B);
}

void TbsSkinImagesMenuPopupWindow::Paint()
{
    CheckSkin();
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    const int S = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex() : -1;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    if (FSkinSupport && WindowPicture) {
        TbsDataSkinPopupWindow* PW = ImagesMenu->SkinData()->PopupWindow.get();
        CreateSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewItemsRect, &B, WindowPicture,
                         TRect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, true, PW->LeftStretch,
                         PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect, PW->StretchType);
    } else {
        C->Pen()->SetColor(clBtnShadow);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->Rectangle(0, 0, W, H);
    }
    TCustomImageList* IL = ImagesMenu->Images();
    TbsImagesMenuItems* Items = ImagesMenu->Items();
    for (int I = 0; I < Items->Count(); ++I) {
        TbsImagesMenuItem* It = Items->Items(I);
        TRect R = It->ItemRect;
        if (It->Header()) {
            DrawHeader(C, R, It->Caption());
            continue;
        }
        if (I == S && !FItemDown) DrawCellFrame(C, R, true);
        else if (I == MouseInItem) DrawCellFrame(C, R, FItemDown);
        if (IL && It->ImageIndex() >= 0 && It->ImageIndex() < IL->Count()) {
            IL->Draw(C, R.Left + 5, R.Top + 5, It->ImageIndex(), true);
            R.Left += IL->Width() + 5;
        }
        if (It->Button() && !It->Caption().empty()) {
            int State = 0;
            if ((I == S && !FItemDown) || (I == MouseInItem && FItemDown)) State = 2;
            else if (I == MouseInItem) State = 1;
            DrawButtonCaption(C, It->Caption(), R, State);
        }
    }
    Canvas()->Draw(0, 0, &B);
}
