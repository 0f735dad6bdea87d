// Skinned hints: the hint window measured and painted from the skin's hint window record
// (multi-line text, an optional bold title and image, a region from the skin's mask,
// translucency with a fade-in), and the hint component that puts that window in charge of
// the application's hints and shows timed hints of its own.
#include "skin/menus/bsSkinHint.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/core/bsUtils.h"

namespace {

constexpr UINT TextFlags = DT_LEFT | DT_NOPREFIX;

// The hint components alive now, and the one the application's show-hint event reaches.
std::set<TbsSkinHint*>& LiveHints()
{
    static std::set<TbsSkinHint*> S;
    return S;
}
TbsSkinHint*& AppHintOwner()
{
    static TbsSkinHint* P = nullptr;
    return P;
}

void InstallAppShowHint(TbsSkinHint* H)
{
    AppHintOwner() = H;
    if (!Application) return;
    Application->OnShowHint = [](String& S, bool& CanShow, THintInfo& Info) {
        if (TbsSkinHint* Owner = AppHintOwner()) Owner->AppShowHint(S, CanShow, Info);
    };
}

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= int(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[size_t(Index)].get();
}

// The work area of the active form's monitor, else of the visible main form's, else the
// whole screen.
TRect HintBounds()
{
    HWND Ref = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) Ref = Screen->ActiveForm()->Handle();
    else if (Application && Application->MainForm() && Application->MainForm()->Visible() &&
             Application->MainForm()->HandleAllocated())
        Ref = Application->MainForm()->Handle();
    TRect R(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (Ref) GetMonitorWorkArea(Ref, true, R);
    return R;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The hint window
// ---------------------------------------------------------------------------------------

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

void TbsSkinHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    Params.Style &= ~DWORD(WS_BORDER);
    if (OsIsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(TMessage& M)
{
    if (M.Msg == WM_NCPAINT) return;
    if (M.Msg == WM_ERASEBKGND) {
        M.Result = 1;
        return;
    }
    THintWindow::Dispatch(M);
}

void TbsSkinHintWindow::SetCanvasFont(TCanvas* C)
{
    TFont* F = C->Font();
    if (FSD && FspHint->UseSkinFont) {
        F->SetHeight(FSD->HintWindow->FontHeight);
        F->SetName(FSD->HintWindow->FontName);
        F->SetStyle(FSD->HintWindow->FontStyle);
    } else {
        F->Assign(FspHint->DefaultFont());
    }
    TbsSkinData* SD = FspHint->SkinData();
    F->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : FspHint->DefaultFont()->Charset());
}

TSize TbsSkinHintWindow::MeasureText(TCanvas* C, const String& Text)
{
    if (Text.empty()) return TSize{0, 0};
    TRect R(0, 0, 0, 0);
    DrawWideText(C, Text, R, TextFlags | DT_CALCRECT);
    return TSize{WidthOfRect(R), HeightOfRect(R)};
}

void TbsSkinHintWindow::GrowToSkin(int TW, int TH, int Extra, int& W, int& H)
{
    TbsDataSkinHintWindow* HR = FSD->HintWindow.get();
    TBitmap* Pic = PictureAt(FSD, HR->WindowPictureIndex);
    const int PW = Pic->Width(), PH = Pic->Height();
    W = TW + HR->ClRect.Left + PW - HR->ClRect.Right + Extra;
    H = TH + HR->ClRect.Top + PH - HR->ClRect.Bottom;
    int DX = W - PW, DY = H - PH;
    // the stretched corners never cross: the window grows instead
    if (HR->RTPoint.X + DX < HR->LTPoint.X) {
        W += HR->LTPoint.X - (HR->RTPoint.X + DX);
        DX = W - PW;
    }
    if (HR->RBPoint.X + DX < HR->LBPoint.X) {
        W += HR->LBPoint.X - (HR->RBPoint.X + DX);
        DX = W - PW;
    }
    if (HR->LBPoint.Y + DY < HR->LTPoint.Y) {
        H += HR->LTPoint.Y - (HR->LBPoint.Y + DY);
        DY = H - PH;
    }
    if (HR->RBPoint.Y + DY < HR->RTPoint.Y) {
        H += HR->RTPoint.Y - (HR->RBPoint.Y + DY);
        DY = H - PH;
    }
    NewClRect = TRect(HR->ClRect.Left, HR->ClRect.Top, HR->ClRect.Right + DX, HR->ClRect.Bottom + DY);
    NewLTPoint = HR->LTPoint;
    NewRTPoint = TPoint(HR->RTPoint.X + DX, HR->RTPoint.Y);
    NewLBPoint = TPoint(HR->LBPoint.X, HR->LBPoint.Y + DY);
    NewRBPoint = TPoint(HR->RBPoint.X + DX, HR->RBPoint.Y + DY);
}

void TbsSkinHintWindow::CalcHintSize(int& W, int& H)
{
    const TSize T = MeasureText(Canvas(), FText);
    if (!FSD) {
        W = T.cx + 4;
        H = T.cy + 4;
        return;
    }
    GrowToSkin(T.cx, T.cy, 5, W, H);
}

void TbsSkinHintWindow::CalcHintSizeEx(int& W, int& H)
{
    const TSize T = MeasureText(Canvas(), FText);
    W = T.cx;
    H = T.cy;
    int TitleH = 0;
    if (!FspHint->HintTitle().empty()) {
        const TSize TT = MeasureText(Canvas(), FspHint->HintTitle());
        H += TT.cy + 10;
        W = MaxOf(W, TT.cx);
        TitleH = TT.cy;
    }
    TCustomImageList* IL = FspHint->HintImageList();
    if (IL && FspHint->HintImageIndex() >= 0 && FspHint->HintImageIndex() < IL->Count()) {
        W += IL->Width() + 10;
        H = MaxOf(H, IL->Height() + TitleH + 5);
    }
    if (!FSD) {
        W += 4;
        H += 4;
        return;
    }
    GrowToSkin(W + 10, H, 0, W, H);
}

void TbsSkinHintWindow::UpdateHintRegion()
{
    TbsDataSkinHintWindow* HR = FSD ? FSD->HintWindow.get() : nullptr;
    TBitmap* Mask = HR && HR->MaskPictureIndex != -1 ? PictureAt(FSD, HR->MaskPictureIndex) : nullptr;
    if (Mask) {
        HRGN Rgn = nullptr;
        CreateSkinRegion(Rgn, HR->LTPoint, HR->RTPoint, HR->LBPoint, HR->RBPoint, HR->ClRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewClRect, Mask, Width(), Height());
        SetWindowRgn(Handle(), Rgn, false);
        FRgn = Rgn;
    } else if (FRgn) {
        SetWindowRgn(Handle(), nullptr, false);
        FRgn = nullptr;
    }
}

void TbsSkinHintWindow::Activate(TKind Kind, TRect Rect, const String& AHint, bool ATop)
{
    AExtendedStyle = Kind == TKind::Extended;
    FspHint = TbsSkinHint::FindSkinHint();
    if (!FspHint) return;
    if (Kind == TKind::Plain && (!FspHint->HintTitle().empty() || FspHint->HintImageList())) {
        Kind = TKind::Extended;
        AExtendedStyle = true;
    }
    TbsSkinData* SD = FspHint->SkinData();
    FSD = SD && !SD->Empty && SD->HintWindow && SD->HintWindow->WindowPictureIndex != -1 &&
                  PictureAt(SD, SD->HintWindow->WindowPictureIndex)
              ? SD
              : nullptr;
    HandleNeeded();
    SetCanvasFont(Canvas());
    FText = FspHint->InsertLineBreaks(AHint);
    SetCaption(FText);
    int W = 0, H = 0;
    if (AExtendedStyle) CalcHintSizeEx(W, H);
    else CalcHintSize(W, H);

    TRect R;
    if (Kind == TKind::FromRect)
        R = TRect(Rect.Left + WidthOfRect(Rect) / 2 - W / 2, ATop ? Rect.Top - H : Rect.Bottom, 0, 0);
    else
        R = TRect(Rect.Left, Rect.Top, 0, 0);
    R.Right = R.Left + W;
    R.Bottom = R.Top + H;
    const TRect B = HintBounds();
    if (R.Right > B.Right) {
        R.Left -= W + 2;
        R.Right -= W + 2;
    }
    if (R.Bottom > B.Bottom) {
        R.Top -= H + 2;
        R.Bottom -= H + 2;
    }
    SetBounds(R.Left, R.Top, W, H);

    const bool Alpha = OsIsWin2000OrLater() && FspHint->AlphaBlend;
    const bool Anim = Alpha && FspHint->AlphaBlendAnimation;
    if (OsIsWin2000OrLater()) {
        const LONG_PTR Ex = GetWindowLong(Handle(), GWL_EXSTYLE);
        if (FspHint->AlphaBlend && !FOldAlphaBlend) {
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex | WS_EX_LAYERED);
            // a window made layered again starts opaque: its opacity is applied anew
            FOldAlphaBlendValue = 255;
            SetLayeredAlpha(Handle(), 255);
        } else if (!FspHint->AlphaBlend && FOldAlphaBlend) {
            SetWindowLong(Handle(), GWL_EXSTYLE, Ex & ~LONG_PTR(WS_EX_LAYERED));
        }
        FOldAlphaBlend = FspHint->AlphaBlend;
        if (Anim) {
            SetLayeredAlpha(Handle(), 0);
            FOldAlphaBlendValue = 0;
        }
        if (Alpha && FspHint->AlphaBlendValue != FOldAlphaBlendValue && !Anim) {
            SetLayeredAlpha(Handle(), FspHint->AlphaBlendValue);
            FOldAlphaBlendValue = FspHint->AlphaBlendValue;
        }
    }
    UpdateHintRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FVisible = true;
    Repaint();
    if (Anim) {
        const int Target = FspHint->AlphaBlendValue;
        const int Step = MaxOf(1, Target / 10);
        int A = 0;
        FadeSteps.clear();
        auto Last = std::chrono::steady_clock::now();
        while (A < Target) {
            const auto Now = std::chrono::steady_clock::now();
            if (Now - Last <= std::chrono::milliseconds(3)) continue;
            Last = Now;
            A = MinOf(A + Step, Target);
            Repaint();
            SetLayeredAlpha(Handle(), uint8_t(A));
            FadeSteps.push_back(uint8_t(A));
        }
        FOldAlphaBlendValue = uint8_t(Target);
    }
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const String& AHint) { Activate(TKind::Plain, Rect, AHint, false); }

void TbsSkinHintWindow::ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                                       TCustomImageList* AImageList)
{
    if (TbsSkinHint* H = TbsSkinHint::FindSkinHint()) {
        H->FHintTitle = AHintTitle;
        H->FHintImageIndex = AImageIndex;
        H->FHintImageList = AImageList;
    }
    Activate(TKind::Extended, Rect, AHint, false);
}

void TbsSkinHintWindow::ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop)
{
    Activate(TKind::FromRect, ARect, AHint, ATop);
}

void TbsSkinHintWindow::Paint()
{
    // settings of a component gone meanwhile are not used
    if (FspHint && !LiveHints().count(FspHint)) FspHint = TbsSkinHint::FindSkinHint();
    if (!FspHint) return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    TBitmap DrawBuffer(W, H);
    TCanvas* C = DrawBuffer.Canvas();
    if (FSD) {
        TbsDataSkinHintWindow* HR = FSD->HintWindow.get();
        TBitmap* Pic = PictureAt(FSD, HR->WindowPictureIndex);
        CreateSkinImage2(HR->LTPoint, HR->RTPoint, HR->LBPoint, HR->RBPoint, HR->ClRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewClRect, &DrawBuffer, Pic, TRect(0, 0, Pic->Width(), Pic->Height()),
                         W, H, true, HR->LeftStretch, HR->TopStretch, HR->RightStretch, HR->BottomStretch,
                         HR->StretchEffect, HR->StretchType);
        C->Brush()->SetStyle(bsClear);
        SetCanvasFont(C);
        C->Font()->SetColor(HR->FontColor);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clInfoBk);
        C->FillRect(TRect(0, 0, W, H));
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(TRect(0, 0, W, H));
        C->Font()->Assign(FspHint->DefaultFont());
        TbsSkinData* SD = FspHint->SkinData();
        C->Font()->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet()
                                                          : FspHint->DefaultFont()->Charset());
        C->Font()->SetColor(clInfoText);
        C->Brush()->SetStyle(bsClear);
    }
    if (AExtendedStyle) {
        PaintEx(C);
    } else if (FSD) {
        const TSize T = MeasureText(C, FText);
        TRect R(NewClRect.Left + WidthOfRect(NewClRect) / 2 - T.cx / 2,
                NewClRect.Top + HeightOfRect(NewClRect) / 2 - T.cy / 2, 0, 0);
        R.Right = R.Left + T.cx;
        R.Bottom = R.Top + T.cy;
        DrawWideText(C, FText, R, TextFlags);
    } else {
        TRect R(2, 2, W - 2, H - 2);
        DrawWideText(C, FText, R, TextFlags);
    }
    Canvas()->Draw(0, 0, &DrawBuffer);
}

void TbsSkinHintWindow::PaintEx(TCanvas* C)
{
    const String& Title = FspHint->HintTitle();
    TCustomImageList* IL = FspHint->HintImageList();
    const int Index = FspHint->HintImageIndex();
    const bool HasImage = IL && Index >= 0 && Index < IL->Count();
    const TRect Area = FSD ? NewClRect : TRect(2, 2, Width() - 2, Height() - 2);
    const int Indent = FSD ? 5 : 0;
    int T = 0;
    if (!Title.empty()) {
        const TFontStyles Old = C->Font()->Style();
        TFontStyles Bold = Old;
        Bold.Include(fsBold);
        C->Font()->SetStyle(Bold);
        const TSize TS = MeasureText(C, Title);
        TRect R(Area.Left + Indent, Area.Top, Area.Left + Indent + TS.cx, Area.Top + TS.cy);
        DrawWideText(C, Title, R, TextFlags);
        C->Font()->SetStyle(Old);
        T = TS.cy + 5;
    }
    int X = Area.Left + Indent;
    if (HasImage) {
        const int Y = !Title.empty() ? Area.Top + T : Area.Top + HeightOfRect(Area) / 2 - IL->Height() / 2;
        IL->Draw(C, Area.Left + Indent, Y, Index, true);
        X = Area.Left + Indent + IL->Width() + 5;
    }
    const TSize TS = MeasureText(C, FText);
    const int Y = !Title.empty() ? Area.Top + T : Area.Top + HeightOfRect(Area) / 2 - TS.cy / 2;
    TRect R(X, Y, X + TS.cx, Y + TS.cy);
    DrawWideText(C, FText, R, TextFlags);
}

// ---------------------------------------------------------------------------------------
// The hint component
// ---------------------------------------------------------------------------------------

TbsSkinHint::TbsSkinHint(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    LiveHints().insert(this);
    HW = new TbsSkinHintWindow(this);
    HintTimer = new TTimer(this);
    HintTimer->SetEnabled(false);
    HintTimer->SetOnTimer([this](TObject*) { TimerTick(); });
    if (ComponentState().Contains(csDesigning) || !Application) return;
    Application->SetHintWindowClass([](TComponent* O) { return new TbsSkinHintWindow(O); });
    Application->SetShowHint(!Application->ShowHint());
    Application->SetShowHint(!Application->ShowHint());
    InstallAppShowHint(this);
    Application->HintShortPause = 100;
}

TbsSkinHint::~TbsSkinHint()
{
    HintTimer->SetEnabled(false);
    LiveHints().erase(this);
    if (AppHintOwner() == this) AppHintOwner() = nullptr;
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinHint::SetActive(bool Value)
{
    FActive = Value;
    if (Value && Application && Application->MainForm()) {
        TCustomForm* F = Application->MainForm();
        for (int I = 0; I < F->ComponentCount(); ++I)
            if (auto* H = dynamic_cast<TbsSkinHint*>(F->Components(I)); H && H != this && H->FActive) H->FActive = false;
    }
    if (!ComponentState().Contains(csDesigning) && Value) InstallAppShowHint(this);
}

TbsSkinHint* TbsSkinHint::FindSkinHint()
{
    if (!Application || !Application->MainForm()) return nullptr;
    TCustomForm* F = Application->MainForm();
    for (int I = 0; I < F->ComponentCount(); ++I)
        if (auto* H = dynamic_cast<TbsSkinHint*>(F->Components(I)); H && H->FActive) return H;
    return nullptr;
}

void TbsSkinHint::AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    if (auto* C = dynamic_cast<TbsSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = C->HintTitle();
        FHintImageIndex = C->HintImageIndex();
        FHintImageList = C->HintImageList();
    } else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = G->HintTitle();
        FHintImageIndex = G->HintImageIndex();
        FHintImageList = G->HintImageList();
    }
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

String TbsSkinHint::InsertLineBreaks(const String& Text) const
{
    if (FLineSeparator.empty()) return Text;
    String Out;
    size_t From = 0;
    for (size_t P; (P = Text.find(FLineSeparator, From)) != String::npos; From = P + FLineSeparator.size()) {
        Out.append(Text, From, P - From);
        Out += "\n\r";
    }
    Out.append(Text, From, String::npos);
    return Out;
}

int TbsSkinHint::GetCursorHeightMargin() const
{
    // the platform's cursors are shapes without a readable mask picture: a hint placed
    // at the cursor position plus the system cursor height starts below any of them
    return GetSystemMetrics(SM_CYCURSOR);
}

bool TbsSkinHint::IsVisible() const { return HW->HandleAllocated() && IsWindowVisible(HW->Handle()); }

void TbsSkinHint::StartTimer(TPending Kind)
{
    FPendingKind = Kind;
    FPhase = 1;
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(UINT(Application ? Application->HintPause : 500));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::TimerTick()
{
    if (FPhase == 2) {
        HideHint();
        return;
    }
    if (FPhase != 1) {
        HintTimer->SetEnabled(false);
        return;
    }
    TPoint P = GetCursorPos();
    P.Y += GetCursorHeightMargin();
    switch (FPendingKind) {
    case TPending::Plain: HW->ActivateHint(TRect(P.X, P.Y, P.X, P.Y), HintText); break;
    case TPending::Extended:
        HW->ActivateHintEx(TRect(P.X, P.Y, P.X, P.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
        break;
    case TPending::FromRect: HW->ActivateHintFromRect(FromRect, HintText, Top); break;
    }
    FPhase = 2;
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(UINT(Application ? Application->HintHidePause : 2500));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint2(const String& AHint)
{
    HintTimer->SetEnabled(false);
    HintText = AHint;
    FHintTitle.clear();
    FHintImageList = nullptr;
    FHintImageIndex = 0;
    StartTimer(TPending::Plain);
}

void TbsSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, int AImageIndex,
                                  TCustomImageList* AImageList)
{
    HintTimer->SetEnabled(false);
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    if (AImageList) AImageList->FreeNotification(this);
    HintText = AHint;
    StartTimer(TPending::Extended);
}

void TbsSkinHint::ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop)
{
    FromRect = AFromRect;
    Top = ATop;
    HintTimer->SetEnabled(false);
    HintText = AHint;
    FHintTitle.clear();
    FHintImageList = nullptr;
    FHintImageIndex = 0;
    StartTimer(TPending::FromRect);
}

void TbsSkinHint::ActivateHint(TPoint P, const String& AHint)
{
    FHintTitle.clear();
    FHintImageList = nullptr;
    FHintImageIndex = 0;
    HW->ActivateHint(TRect(P.X, P.Y, P.X, P.Y), AHint);
}

void TbsSkinHint::ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                                 TCustomImageList* AImageList)
{
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    if (AImageList) AImageList->FreeNotification(this);
    HW->ActivateHintEx(TRect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TbsSkinHint::HideHint()
{
    HintTimer->SetEnabled(false);
    FPhase = 0;
    if (!IsVisible()) return;
    SetWindowPos(HW->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FHintTitle.clear();
    FHintImageList = nullptr;
    FHintImageIndex = 0;
}
