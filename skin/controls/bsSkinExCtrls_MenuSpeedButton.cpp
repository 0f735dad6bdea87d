// The skinned menu speed button: a speed button that drops a skinned popup menu or an
// images menu down under itself, with its four face styles and the drop-down marker.
#include "skin/controls/bsSkinExCtrls.h"

namespace {

constexpr int StripSize = 15;

TRect Moved(const TRect& R, int DX, int DY) { return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

bool IsToolName(const String& N) { return N == "toolbutton" || N == "bigtoolbutton"; }
bool IsResizeName(const String& N) { return N == "resizebutton" || N == "resizetoolbutton"; }

TbsDataSkinButtonControl* ButtonRecord(TbsSkinData* SD, const String& Name)
{
    if (!SD || SD->Empty) return nullptr;
    const int I = SD->GetControlIndex(Name);
    return I < 0 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[size_t(I)].get());
}

}  // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner)
{
    FSkinDataName = "toolmenubutton";
}

TbsSkinMenuSpeedButton::~TbsSkinMenuSpeedButton()
{
    if (FSkinImagesMenu) FSkinImagesMenu->FOnInternalMenuClose = nullptr;
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value)
{
    FTrackButtonMode = Value;
    if (FIndex == -1) Repaint();
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value)
{
    bsSetLink(this, FSkinPopupMenu, Value);
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value)
{
    FNewStyle = Value;
    if (Value) FSkinDataName = "resizetoolbutton";
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value)
{
    FTrackPosition = Value;
    Repaint();
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FSkinImagesMenu && FSkinImagesMenu)
        FSkinImagesMenu->FOnInternalMenuClose = nullptr;
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

bool TbsSkinMenuSpeedButton::IsStyleName() const { return IsToolName(FSkinDataName) || IsResizeName(FSkinDataName); }

void TbsSkinMenuSpeedButton::GetSkinData()
{
    TbsSkinSpeedButton::GetSkinData();
    TrackButtonRect = TRect();
    if (FIndex == -1) return;
    if (auto* R = dynamic_cast<TbsDataSkinMenuButtonControl*>(FSD->CtrlList[size_t(FIndex)].get()))
        TrackButtonRect = R->TrackButtonRect;
}

TRect TbsSkinMenuSpeedButton::StripRect(bool AllowBottom) const
{
    if (AllowBottom && FNewStyle && FTrackPosition == bstpBottom)
        return TRect(0, Height() - StripSize, Width(), Height());
    return TRect(Width() - StripSize, 0, Width(), Height());
}

TRect TbsSkinMenuSpeedButton::ContentRect(bool AllowBottom) const
{
    if (AllowBottom && FNewStyle && FTrackPosition == bstpBottom) return TRect(0, 0, Width(), Height() - StripSize);
    return TRect(0, 0, Width() - StripSize, Height());
}

bool TbsSkinMenuSpeedButton::CanMenuPopup(int X, int Y)
{
    if (!FSkinPopupMenu && !FSkinImagesMenu) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    TRect R;
    if (FIndex != -1 && !IsStyleName()) {
        R = TrackButtonRect;
        if (ResizeMode == 2) R = Moved(R, Width() - SkinRect.Width(), 0);
        else if (ResizeMode == 3) R = Moved(R, 0, Height() - SkinRect.Height());
    } else {
        R = StripRect(true);
    }
    return IsPointInRect(R, TPoint(X, Y));
}

// ---- mouse and menus ----------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FMenuTracked = CanMenuPopup(X, Y);
        FMouseIn = true;
        if (FMenuTracked) {
            if (!FDown) SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FMenuTracked) return;
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::DoMouseEnter()
{
    if (FMenuTracked) {
        FMouseIn = true;
        return;
    }
    TbsSkinSpeedButton::DoMouseEnter();
}

void TbsSkinMenuSpeedButton::DoMouseLeave()
{
    if (FMenuTracked) {
        FMouseIn = false;
        return;
    }
    TbsSkinSpeedButton::DoMouseLeave();
}

void TbsSkinMenuSpeedButton::TrackMenu()
{
    const TPoint P = ClientToScreen(TPoint(0, 0));
    const TRect R(P.X, P.Y, P.X + Width(), P.Y + Height());
    auto Prepare = [this] {
        if (FFlat && !Transparent()) SetTransparentSilent(true);
        if (OnShowTrackMenu) OnShowTrackMenu(this);
    };
    if (FSkinPopupMenu) {
        Prepare();
        FSkinPopupMenu->PopupFromRect2(this, R, false);
    }
    if (FSkinImagesMenu) {
        Prepare();
        FSkinImagesMenu->FOnInternalMenuClose = [this](TObject*) { MenuClosed(); };
        FSkinImagesMenu->PopupFromRect(R);
    }
}

void TbsSkinMenuSpeedButton::MenuClosed()
{
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
}

void TbsSkinMenuSpeedButton::Dispatch(TMessage& M)
{
    if (M.Msg == SkinMenuClosed) {
        MenuClosed();
        return;
    }
    TbsSkinSpeedButton::Dispatch(M);
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::DrawStateFrame(TCanvas* C, const TRect& R, bool AHot, bool APressed)
{
    C->Brush()->SetStyle(bsSolid);
    TColor Frame = DarkenColor(clBtnFace, 15), Fill = clBtnFace;
    if (APressed) Frame = bsDefaultFrameColor, Fill = bsDefaultDownColor;
    else if (AHot) Frame = bsDefaultFrameColor, Fill = bsDefaultHotColor;
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
}

void TbsSkinMenuSpeedButton::DrawMarker(TCanvas* C, const TRect& Strip, bool AActive, bool APressed, TColor TextColor)
{
    if (FDrawStandardArrow) {
        DrawArrowImage(C, Strip, TextColor, FArrowType);
        return;
    }
    if (FIndex != -1 && Picture && !IsEmptyRect(MenuMarkerRect)) {
        const TRect Src =
            APressed || FMenuTracked ? MenuMarkerDownRect : (AActive ? MenuMarkerActiveRect : MenuMarkerRect);
        TBitmap M;
        bsCopyPicturePart(&M, Picture, Src);
        M.SetTransparentColor(MenuMarkerTransparentColor);
        M.SetTransparent(true);
        C->Draw(Strip.Left + Strip.Width() / 2 - M.Width() / 2, Strip.Top + Strip.Height() / 2 - M.Height() / 2, &M);
        return;
    }
    DrawDropDownArrow(C, Strip, FMenuTracked ? DownFontColor : TextColor);
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* C = B->Canvas();
    const TRect All = ClientRect();
    const TRect Strip = StripRect(true), Main = ContentRect(true);
    const bool Pressed = IsPressed(), Hot = FMouseIn;
    if (!FTrackButtonMode) {
        if (Pressed || FMenuTracked || Hot || IsDesigning() || !FFlat) DrawStateFrame(C, All, Hot, Pressed || FMenuTracked);
        else if (!Transparent()) {
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(All);
        }
    } else if (FMenuTracked) {
        DrawStateFrame(C, Main, true, false);
        DrawStateFrame(C, Strip, true, true);
    } else if (Pressed || Hot || IsDesigning() || !FFlat) {
        DrawStateFrame(C, Main, Hot, Pressed);
        DrawStateFrame(C, Strip, Hot, Pressed);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(All);
    }
    C->Font()->Assign(FDefaultFont.get());
    if (!Enabled()) C->Font()->SetColor(clBtnShadow);
    DrawContent(C, Main, Hot, Pressed);
    TRect Arrow = Strip;
    if (Pressed || FMenuTracked) Arrow = Moved(Arrow, 2, 2);
    DrawDropDownArrow(C, Arrow, clBtnText);
}

void TbsSkinMenuSpeedButton::BuildFittedFace(TBitmap* Part, TBitmap* APicture, const TRect& Source,
                                             const TbsDataSkinCustomControl* G, int W, int H)
{
    if (!APicture || !G || W <= 0 || H <= 0) return;
    const int dx = W - G->SkinRect.Width(), dy = H - G->SkinRect.Height();
    const TRect NewCl(G->ClRect.Left, G->ClRect.Top, G->ClRect.Right + dx, G->ClRect.Bottom + dy);
    CreateSkinImage(G->LTPoint, G->RTPoint, G->LBPoint, G->RBPoint, G->ClRect, G->LTPoint,
                    TPoint(G->RTPoint.X + dx, G->RTPoint.Y), TPoint(G->LBPoint.X, G->LBPoint.Y + dy),
                    TPoint(G->RBPoint.X + dx, G->RBPoint.Y + dy), NewCl, Part, APicture, Source, W, H, true,
                    G->LeftStretch, G->TopStretch, G->RightStretch, G->BottomStretch, G->StretchEffect,
                    G->StretchType);
}

void TbsSkinMenuSpeedButton::DrawButtonFace(TBitmap* B, const TRect& Source, bool AActive, bool APressed)
{
    const String& N = FSkinDataName;
    const int W = Width(), H = Height();
    TCanvas* C = B->Canvas();
    const bool Rest = !AActive && !APressed;
    const bool TrackOpen = FMenuTracked && FTrackButtonMode;
    auto Stretched = [&](const TRect& Src, const TRect& Dest) {
        TBitmap Part(Dest.Width(), Dest.Height());
        if (Picture) CreateStretchSkinImage(&Part, Picture, Src, ClRect, true);
        C->Draw(Dest.Left, Dest.Top, &Part);
    };
    if (FNewStyle && N == "resizetoolbutton") {
        // style 1: the "resizetoolbutton" (else "resizebutton") record at the button's size
        auto* R = ButtonRecord(FSD, "resizetoolbutton");
        if (!R) R = ButtonRecord(FSD, "resizebutton");
        if (R) {
            TBitmap* Pic = FSD->ActivePicture(R->PictureIndex);
            const TRect Active = IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
            const TRect DownR = IsEmptyRect(R->DownSkinRect) ? Active : R->DownSkinRect;
            const TRect Src = APressed && AActive && !TrackOpen ? DownR : (AActive ? Active : R->SkinRect);
            auto* Strip = FTrackButtonMode && AActive
                              ? ButtonRecord(FSD, FTrackPosition == bstpBottom ? "htracktoolbutton" : "vtracktoolbutton")
                              : nullptr;
            const TRect Face = FTrackButtonMode && AActive && !Strip ? ContentRect(true) : ClientRect();
            TBitmap Part(Face.Width(), Face.Height());
            BuildFittedFace(&Part, Pic, Src, R, Face.Width(), Face.Height());
            C->Draw(Face.Left, Face.Top, &Part);
            if (Strip) {
                const TRect SR = StripRect(true);
                const TRect SActive = IsEmptyRect(Strip->ActiveSkinRect) ? Strip->SkinRect : Strip->ActiveSkinRect;
                const TRect SDown = IsEmptyRect(Strip->DownSkinRect) ? SActive : Strip->DownSkinRect;
                TBitmap SP(SR.Width(), SR.Height());
                BuildFittedFace(&SP, FSD->ActivePicture(Strip->PictureIndex), FMenuTracked ? SDown : SActive, Strip,
                                SR.Width(), SR.Height());
                C->Draw(SR.Left, SR.Top, &SP);
            }
        }
    } else if (IsToolName(N)) {
        // style 2: stretched faces, in track mode the main part and the strip apart
        if (!(FFlat && Rest)) {
            if (!FTrackButtonMode) {
                Stretched(Source, ClientRect());
            } else {
                Stretched(TrackOpen ? ActiveSkinRect : Source, ContentRect(false));
                Stretched(TrackOpen ? DownSkinRect : Source, StripRect(false));
            }
        }
    } else if (IsResizeName(N)) {
        // style 3: the button's own nine pieces, in track mode fitted to each part
        auto* G = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[size_t(FIndex)].get());
        if (!(FFlat && Rest) && G) {
            if (!FTrackButtonMode) {
                TBitmap Part(W, H);
                BuildFittedFace(&Part, Picture, Source, G, W, H);
                C->Draw(0, 0, &Part);
            } else {
                const TRect Main = ContentRect(false), SR = StripRect(false);
                TBitmap Part(Main.Width(), Main.Height()), SP(SR.Width(), SR.Height());
                BuildFittedFace(&Part, Picture, TrackOpen ? ActiveSkinRect : Source, G, Main.Width(), Main.Height());
                BuildFittedFace(&SP, Picture, TrackOpen ? DownSkinRect : Source, G, SR.Width(), SR.Height());
                C->Draw(Main.Left, Main.Top, &Part);
                C->Draw(SR.Left, SR.Top, &SP);
            }
        }
    } else {
        // style 4: the speed button's face; an open track menu shows the pressed track part
        if (TrackOpen && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(DownSkinRect)) {
            TbsSkinSpeedButton::DrawButtonFace(B, ActiveSkinRect, true, false);
            TRect Dest = TrackButtonRect;
            if (ResizeMode == 2) Dest = Moved(Dest, W - SkinRect.Width(), 0);
            else if (ResizeMode == 3) Dest = Moved(Dest, 0, H - SkinRect.Height());
            TRect Src = TrackButtonRect;
            Src = Moved(Src, DownSkinRect.Left, DownSkinRect.Top);
            if (Picture) C->CopyRect(Dest, Picture->Canvas(), Src);
        } else {
            TbsSkinSpeedButton::DrawButtonFace(B, Source, AActive, APressed);
        }
        DrawMarker(C, StripRect(false), AActive, APressed, C->Font()->Color());
        return;
    }
    DrawFaceContent(C, ContentRect(FNewStyle), AActive, APressed);
    DrawMarker(C, StripRect(FNewStyle), AActive, APressed, C->Font()->Color());
}

void TbsSkinMenuSpeedButton::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (IsPressed() || FMouseIn || FMenuTracked || !Transparent()) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    // transparent at rest: the content and the marker straight on the parent's canvas
    const bool Other = FIndex != -1 && !IsStyleName();
    const TRect Content = Other ? NewClRect : ContentRect(FNewStyle);
    DrawTransparentContent(Content);
    TCanvas* C = Canvas();
    TRect Strip = Other ? TRect(NewClRect.Right, 0, Width(), Height()) : StripRect(FNewStyle);
    const int Shift = ResizeMode == 1 ? 0 : 2;
    if (FIndex == -1) {
        DrawDropDownArrow(C, Strip, clBtnText);
    } else if (Picture && !IsEmptyRect(MenuMarkerFlatRect)) {
        TBitmap M;
        bsCopyPicturePart(&M, Picture, MenuMarkerFlatRect);
        M.SetTransparentColor(MenuMarkerTransparentColor);
        M.SetTransparent(true);
        C->Draw(Strip.Left + Strip.Width() / 2 - M.Width() / 2 - Shift, Strip.Top + Strip.Height() / 2 - M.Height() / 2,
                &M);
    } else {
        Strip = Moved(Strip, -Shift, 0);
        DrawDropDownArrow(C, Strip, FSD->FSkinColors->FcBtnText);
    }
}
