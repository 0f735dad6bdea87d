// The skinned menu button: a button that drops down a skinned popup menu and/or an images
// menu under itself and stays pressed until the menu reports that it closed.
#include "skin/controls/bsSkinCtrls.h"

namespace {
bool IsMenuFaceName(const String& N)
{
    return N == "resizebutton" || N == "resizetoolbutton" || N == "toolbutton" || N == "bigtoolbutton";
}
}  // namespace

TbsSkinMenuButton::TbsSkinMenuButton(TComponent* AOwner) : TbsSkinButton(AOwner)
{
    FSkinDataName = "toolmenubutton";
    FDownState = false;
    FSpaceSupport = false;
}

void TbsSkinMenuButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value)
{
    FSkinPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMenuButton::SetTrackButtonMode(bool Value)
{
    FTrackButtonMode = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TbsSkinMenuButton::GetSkinData()
{
    TbsSkinButton::GetSkinData();
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinMenuButtonControl*>(FSD->CtrlList[size_t(FIndex)].get()))
        TrackButtonRect = R->TrackButtonRect;
}

TRect TbsSkinMenuButton::GetTrackButtonRect() const
{
    if (FIndex != -1 && !IsMenuFaceName(FSkinDataName)) {
        TRect R = TrackButtonRect;
        if (ResizeMode == 2) {
            const int D = Width() - SkinRect.Width();
            R.Left += D;
            R.Right += D;
        } else if (ResizeMode == 3) {
            const int D = Height() - SkinRect.Height();
            R.Top += D;
            R.Bottom += D;
        }
        return R;
    }
    return Rect(Width() - 15, 0, Width(), Height());
}

bool TbsSkinMenuButton::CanMenuPopup(int X, int Y)
{
    if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
    if (!FTrackButtonMode) return true;
    return IsPointInRect(GetTrackButtonRect(), Point(X, Y));
}

void TbsSkinMenuButton::TrackMenu()
{
    const TPoint P = ClientToScreen(Point(0, 0));
    const TRect R = Bounds(P.X, P.Y, Width(), Height());
    if (FSkinPopupMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        FSkinPopupMenu->PopupFromRect2(this, R, false);
    }
    if (FSkinImagesMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        FSkinImagesMenu->FOnInternalMenuClose = [this](TObject*) { MenuClosed(false); };
        FSkinImagesMenu->PopupFromRect(R);
    }
}

void TbsSkinMenuButton::DropDown()
{
    if (FIndex != -1 && !AnimateSkinRect.IsEmpty()) StopAnimate();
    if (!FDown) SetDown(true);
    FMenuTracked = true;
    TrackMenu();
}

void TbsSkinMenuButton::MenuClosed(bool FromPopupMenu)
{
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = HandleAllocated() && WindowFromPoint(GetCursorPos()) == Handle();
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    if (FLayerManager->IsVisible && !FMouseIn) FLayerManager->Hide();
    if (FromPopupMenu)
        Repaint();
    else
        DoMorph();
}

void TbsSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft) {
        TbsSkinButton::MouseDown(Button, Shift, X, Y);
        return;
    }
    FMenuTracked = CanMenuPopup(X, Y);
    FMouseIn = true;
    if (FIndex != -1 && !AnimateSkinRect.IsEmpty()) StopAnimate();
    if (FMenuTracked) {
        if (!FDown) SetDown(true);
        TrackMenu();
        return;
    }
    TbsSkinButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FMenuTracked) return;
    TbsSkinButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuButton::DoMouseEnter()
{
    if (IsDesigning()) return;
    if (FMenuTracked)
        FMouseIn = true;
    else
        TbsSkinButton::DoMouseEnter();
}

void TbsSkinMenuButton::DoMouseLeave()
{
    if (IsDesigning()) return;
    if (FMenuTracked)
        FMouseIn = false;
    else
        TbsSkinButton::DoMouseLeave();
}

void TbsSkinMenuButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case SkinMenuClosed: MenuClosed(true); return;
    case WM_KEYDOWN:
        if (FCanFocused && FSkinPopupMenu && M.WParam == VK_SPACE) {
            if (!FTrackButtonMode && CanMenuPopup(0, 0)) {
                FMenuTracked = true;
                SetDown(true);
                TrackMenu();
            }
            return;
        }
        break;
    case WM_KEYUP:
        if (FCanFocused && FSkinPopupMenu) {
            if (M.WParam == VK_SPACE) {
                if (!FMenuTracked) {
                    SetDown(false);
                    if (OnClick) OnClick(this);
                }
                return;
            }
            if (M.WParam == VK_RETURN && !FMenuTracked && OnClick) OnClick(this);
        }
        break;
    case CM_DIALOGCHAR:
        if (FTrackButtonMode || (!FSkinPopupMenu && !FSkinImagesMenu)) break;
        if (IsAccel(WORD(M.WParam), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            FMenuTracked = true;
            SetDown(true);
            TrackMenu();
            M.Result = 1;
            return;
        }
        break;
    }
    TbsSkinButton::Dispatch(M);
}

// ---- looks -----------------------------------------------------------------------------------------

void TbsSkinMenuButton::DrawMenuMarker(TCanvas* C, const TRect& Area, bool AMouseIn, bool APressed)
{
    const TRect Src = APressed ? MenuMarkerDownRect : AMouseIn ? MenuMarkerActiveRect : MenuMarkerRect;
    if (Src.IsEmpty() || !Picture) return;
    TBitmap Img;
    bsCopyPicturePart(&Img, Picture, Src);
    Img.SetTransparentColor(MenuMarkerTransparentColor);
    Img.SetTransparent(true);
    C->Draw(Area.Left + Area.Width() / 2 - Img.Width() / 2, Area.Top + Area.Height() / 2 - Img.Height() / 2, &Img);
}

void TbsSkinMenuButton::DrawMenuFace(TBitmap* B, bool Resizable, bool ADown, bool AMouseIn)
{
    const bool Pressed = ADown && AMouseIn;
    const TRect Normal = SkinRect, Hot = ActiveSkinRect, Down = DownSkinRect;
    TRect MainSrc, ArrowSrc;
    if (FMenuTracked) {
        MainSrc = Hot;
        ArrowSrc = Down;
    } else if (Pressed)
        MainSrc = ArrowSrc = Down;
    else if (!AMouseIn)
        MainSrc = ArrowSrc = Normal;
    else
        MainSrc = ArrowSrc = Hot;
    const int W = Width(), H = Height();
    B->SetSize(W, H);
    auto Build = [&](TBitmap* Dest, const TRect& Src, int PW, bool WholeControl) {
        if (!Picture) {
            Dest->SetSize(PW, H);
            return;
        }
        if (!Resizable) {
            Dest->SetSize(PW, H);
            CreateStretchSkinImage(Dest, Picture, Src, ClRect, true);
            return;
        }
        if (WholeControl) {
            CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                            Dest, Picture, Src, PW, H, true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                            StretchEffect, StretchType);
            return;
        }
        const int dx = PW - SkinRect.Width(), dy = H - SkinRect.Height();
        const TPoint NRT(RTPt.X + dx, RTPt.Y), NLB(LBPt.X, LBPt.Y + dy), NRB(RBPt.X + dx, RBPt.Y + dy);
        const TRect NCl(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy);
        CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, NRT, NLB, NRB, NCl, Dest, Picture, Src, PW, H, true,
                        LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
    };
    if (!FTrackButtonMode)
        Build(B, MainSrc, W, true);
    else {
        TBitmap Main, Arrow;
        Build(&Main, MainSrc, W - 15, false);
        Build(&Arrow, ArrowSrc, 15, false);
        B->Canvas()->Draw(0, 0, &Main);
        B->Canvas()->Draw(W - 15, 0, &Arrow);
    }
    TCanvas* C = B->Canvas();
    ApplySkinTextStyle(C, Pressed, AMouseIn, NewClRect);
    // the content keeps to the face's client rectangle, less the arrow's 15 pixels
    const TRect Client = Resizable ? NewClRect
                                   : Rect(ClRect.Left, ClRect.Top, ClRect.Right + W - SkinRect.Width(),
                                          ClRect.Bottom + H - SkinRect.Height());
    DrawButtonContent(C, Rect(Client.Left, Client.Top, Client.Right - 15, Client.Bottom), ADown, AMouseIn);
    const TRect Area(W - 15, 0, W, H);
    if (!MenuMarkerRect.IsEmpty())
        DrawMenuMarker(C, Area, AMouseIn, Pressed || FMenuTracked);
    else
        DrawDropDownArrow(C, Area, FMenuTracked ? DownFontColor : C->Font()->Color());
}

void TbsSkinMenuButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (FSkinDataName == "resizebutton" || FSkinDataName == "resizetoolbutton") {
        DrawMenuFace(B, true, ADown, AMouseIn);
        return;
    }
    if (FSkinDataName == "toolbutton" || FSkinDataName == "bigtoolbutton") {
        DrawMenuFace(B, false, ADown, AMouseIn);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !TrackButtonRect.IsEmpty() && !DownSkinRect.IsEmpty()) {
        TbsSkinButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        TRect Src = TrackButtonRect;
        Src.Left += DownSkinRect.Left;
        Src.Right += DownSkinRect.Left;
        Src.Top += DownSkinRect.Top;
        Src.Bottom += DownSkinRect.Top;
        if (Picture) B->Canvas()->CopyRect(GetTrackButtonRect(), Picture->Canvas(), Src);
        return;
    }
    TbsSkinButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TbsSkinMenuButton::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    const bool Pressed = FDown && FMouseIn;
    const bool Hot = FMouseIn || IsFocused();
    if (FTrackButtonMode) {
        int MainLook, ArrowLook;
        if (FMenuTracked) {
            MainLook = 1;
            ArrowLook = 2;
        } else if (Pressed)
            MainLook = ArrowLook = 2;
        else if (Hot)
            MainLook = ArrowLook = 1;
        else
            MainLook = ArrowLook = 0;
        FrameAndFill(C, Rect(0, 0, W - 15, H), MainLook);
        FrameAndFill(C, Rect(W - 15, 0, W, H), ArrowLook);
    } else
        FrameAndFill(C, Rect(0, 0, W, H), Pressed ? 2 : Hot ? 1 : 0);
    ApplyDefaultFont(C);
    DrawButtonContent(C, Rect(0, 0, W - 15, H), FDown, FMouseIn);
    TRect Area(W - 15, 0, W, H);
    if (Pressed || FMenuTracked) Area = Rect(W - 13, 2, W + 2, H + 2);
    DrawDropDownArrow(C, Area, clBtnText);
}
