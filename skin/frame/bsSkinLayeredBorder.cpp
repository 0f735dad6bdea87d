// The layered border: the skin's 32-bit layer frame cut into four images for the form's
// size (top, bottom, left, right) and shown in four layered windows around the form.  It
// follows the form's position, size, activation and alpha; with a full border the top
// image also carries the caption buttons and the caption text, drawn with alpha.
#include "skin/frame/bsSkinLayeredBorder.h"
#include "skin/frame/bsSkinFormFrame.h"

#include <cmath>

#include "platform/windows/WinPaint.h"


namespace {

// Copies the source columns [SL, SR) of the rows Rows of Src into Dst at [DL, DR) (stretched).
void CopyColumns(TbsBitmap* Dst, int DL, int DR, int DTop, int DBottom, const TbsBitmap* Src, int SL, int SR,
                 int STop, int SBottom)
{
    if (DR <= DL || DBottom <= DTop || SR <= SL || SBottom <= STop) return;
    TRect D(DL, DTop, DR, DBottom);
    BitmapStretchCopy(Dst, D, D, TRect(SL, STop, SR, SBottom), Src);
}

// A strip of Src (rows STop..SBottom) cut into a fixed left part [0, LX), a fixed right
// part [RX, SW) and a stretched middle, made W wide and DH high at row DTop of Dst.
void CopyStrip(TbsBitmap* Dst, int W, int DTop, int DH, const TbsBitmap* Src, int LX, int RX, int STop, int SBottom)
{
    int SW = Src->Width();
    LX = std::clamp(LX, 0, SW);
    RX = std::clamp(RX, LX, SW);
    int RightW = SW - RX;
    CopyColumns(Dst, 0, LX, DTop, DTop + DH, Src, 0, LX, STop, SBottom);
    CopyColumns(Dst, W - RightW, W, DTop, DTop + DH, Src, RX, SW, STop, SBottom);
    CopyColumns(Dst, LX, W - RightW, DTop, DTop + DH, Src, LX, RX, STop, SBottom);
}

// A side image: the source columns [SL, SR) between rows STop and SBottom made LH high,
// stretched or tiled downwards (whole tiles from the top, the last one cut).  A source of
// no height leaves the image transparent.
std::unique_ptr<TbsBitmap> SideImage(const TbsBitmap* Src, int SL, int SR, int STop, int SBottom, int LH, bool Stretch)
{
    auto B = std::make_unique<TbsBitmap>();
    int W = SR - SL;
    if (LH <= 0 || W <= 0) return B;
    B->SetSize(W, LH);
    B->Clear(0);
    int SH = SBottom - STop;
    if (SH <= 0) return B;
    if (Stretch) {
        CopyColumns(B.get(), 0, W, 0, LH, Src, SL, SR, STop, SBottom);
        return B;
    }
    for (int Y = 0; Y < LH; Y += SH) {
        int H = std::min(SH, LH - Y);
        CopyColumns(B.get(), 0, W, Y, Y + H, Src, SL, SR, STop, STop + H);
    }
    return B;
}

int ImageWidth(const std::unique_ptr<TbsBitmap>& B) { return B && !B->Empty() ? B->Width() : 0; }
int ImageHeight(const std::unique_ptr<TbsBitmap>& B) { return B && !B->Empty() ? B->Height() : 0; }

void DeleteRgn(HRGN& R)
{
    if (R) DeleteObject(R);
    R = nullptr;
}

}  // namespace

TbsFormLayerBorder::TbsFormLayerBorder(TComponent* AOwner) : TComponent(AOwner)
{
    BSF = dynamic_cast<TbsSkinFormFrame*>(AOwner);
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(500);
    MouseTimer->SetOnTimer([this](TObject* S) { MouseTimerTick(S); });
    FadeTimer = new TTimer(this);
    FadeTimer->SetEnabled(false);
    FadeTimer->SetInterval(FadeStepInterval);
    FadeTimer->SetOnTimer([this](TObject* S) { FadeTimerTick(S); });
}

TbsFormLayerBorder::~TbsFormLayerBorder()
{
    FreeWindows();
    for (HRGN* R : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4, &TopRgn, &BottomRgn, &RightRgn, &LeftRgn}) DeleteRgn(*R);
}

void TbsFormLayerBorder::FreeWindows()
{
    for (TbsFormLayerWindow** W : {&LeftBorder, &RightBorder, &TopBorder, &BottomBorder}) {
        delete *W;
        *W = nullptr;
    }
}

int TbsFormLayerBorder::TopHeight() const { return FData ? std::max(FData->LTPoint.Y, FData->RTPoint.Y) : 0; }

bool TbsFormLayerBorder::BlurApplies()
{
    return FData && FIsAeroEnabled && FSD && FSD->AeroBlurEnabled() && BSF && !BSF->AlphaBlend();
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm)
{
    FForm = AForm;
    FSD = ASkinData;
    FData = nullptr;
    FadeTimer->SetEnabled(false);
    if (ASkinData && !ASkinData->Empty && ASkinData->LayerFrame && ASkinData->LayerFrame->PictureIndex != -1 &&
        ASkinData->LayerFrame->FSourceBitmap && !ASkinData->LayerFrame->FSourceBitmap->Empty())
        FData = ASkinData->LayerFrame.get();
    if (FData) {
        FIsAeroEnabled = OsIsVistaOrLater() && IsDwmCompositionOn() && !OsIsWindows8OrLater();
        FCurrentAlphaBlendValue = FData->AlphaBlendValue;
        FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
        const TRect& B = FData->BorderRect;
        const TRect& C = FData->ClRect;
        if (IsEmptyRect(B)) {
            LeftSize = TopSize = RightSize = BottomSize = 0;
            HitTopLeftX = HitTopLeftY = HitTopRightX = HitTopRightY = 0;
            HitBottomLeftX = HitBottomLeftY = HitBottomRightX = HitBottomRightY = 0;
        } else {
            LeftSize = C.Left - B.Left;
            TopSize = C.Top - B.Top;
            RightSize = B.Right - C.Right;
            BottomSize = B.Bottom - C.Bottom;
            HitTopLeftX = FData->HitTestLTPoint.X - B.Left;
            HitTopLeftY = FData->HitTestLTPoint.Y - B.Top;
            HitTopRightX = B.Right - FData->HitTestRTPoint.X;
            HitTopRightY = FData->HitTestRTPoint.Y - B.Top;
            HitBottomLeftX = FData->HitTestLBPoint.X - B.Left;
            HitBottomLeftY = B.Bottom - FData->HitTestLBPoint.Y;
            HitBottomRightX = B.Right - FData->HitTestRBPoint.X;
            HitBottomRightY = B.Bottom - FData->HitTestRBPoint.Y;
        }
        if (FData->FullBorder) {
            if (BSF) BSF->UpdateAlphaIcon();
            OldActiveObject = FActiveObject = FMouseCaptureObject = -1;
        }
    }
    BuildBlurMaskRegions();
}

TRect TbsFormLayerBorder::BorderBounds(int L, int T, int W, int H, bool RollUpHeight)
{
    if (!FData) return TRect();
    const TRect& C = FData->ClRect;
    int SW = FData->FSourceBitmap->Width(), SH = FData->FSourceBitmap->Height();
    int X = L + FData->LeftOffset - C.Left;
    int Y = T + FData->TopOffset - C.Top;
    int BW = W + FData->WidthOffset + SW - C.Width();
    int FH = RollUpHeight && BSF && BSF->LayeredRollUpActive() ? FData->RollUpFormHeight : H + FData->HeightOffset;
    int BH = FH + SH - C.Height();
    return TRect(X, Y, X + BW, Y + BH);
}

// ---- images ------------------------------------------------------------------------------------

void TbsFormLayerBorder::CreateBorderImages(int BW, int BH)
{
    TbsBitmap* Src = FActive || !FData->FSourceInActiveBitMap || FData->FSourceInActiveBitMap->Empty()
                         ? FData->FSourceBitmap.get()
                         : FData->FSourceInActiveBitMap.get();
    TopImage.reset();
    BottomImage.reset();
    LeftImage.reset();
    RightImage.reset();
    TopImage = std::make_unique<TbsBitmap>();
    BottomImage = std::make_unique<TbsBitmap>();
    LeftImage = std::make_unique<TbsBitmap>();
    RightImage = std::make_unique<TbsBitmap>();
    if (BW <= 0 || BH <= 0) return;
    int SW = Src->Width(), SH = Src->Height();
    const TbsDataSkinLayerFrame& D = *FData;

    int TH = std::min(TopHeight(), BH);
    if (TH > 0) {
        TopImage->SetSize(BW, TH);
        TopImage->Clear(0);
        CopyStrip(TopImage.get(), BW, 0, TH, Src, D.LTPoint.X, D.RTPoint.X, 0, TH);
        TopImage->CheckingAlphaBlend();
        if (D.FullBorder && BSF) {
            PlaceObjects();
            for (auto& O : BSF->ObjectList)
                if (O->Visible()) O->DrawAlpha(TopImage->Canvas(), TopImage.get());
        }
    }

    int BH2Full = std::clamp(SH - std::min(D.LBPoint.Y, D.RBPoint.Y), 0, SH);
    int BH2 = std::min(BH2Full, std::max(0, BH - TH));
    if (BH2 > 0) {
        // a shortened bottom keeps the picture's lowest rows (the outer edge)
        BottomImage->SetSize(BW, BH2);
        BottomImage->Clear(0);
        CopyStrip(BottomImage.get(), BW, 0, BH2, Src, D.LBPoint.X, D.RBPoint.X, SH - BH2, SH);
    }

    int LH = BH - TH - BH2;
    LeftImage = SideImage(Src, 0, D.ClRect.Left, TH, SH - BH2, LH, D.FullStretch);
    RightImage = SideImage(Src, D.ClRect.Right, SW, TH, SH - BH2, LH, D.FullStretch);

    for (auto* I : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()})
        if (!I->Empty()) I->CheckRGBA();
    if (BlurApplies()) BuildBlurRegions();
}

void TbsFormLayerBorder::PlaceObjects()
{
    if (!FData || !BSF || !TopImage) return;
    const TbsDataSkinLayerFrame& D = *FData;
    int Offset = FSD ? FSD->ButtonsOffset : 0;
    int Grow = TopImage->Width() - FData->FSourceBitmap->Width();
    TRect C = D.CaptionRect;
    C.Right += Grow;
    int X, Y;
    if (IsEmptyRect(D.ButtonsRect)) {
        X = C.Right;
        Y = D.ButtonsTopOffset != 0 ? D.ButtonsTopOffset : C.Top;
    } else {
        X = D.ButtonsRect.Right + Grow;
        Y = D.ButtonsRect.Top;
    }
    // The first standard button of a command; an animated object of that command met
    // first stands in its place and is not laid out here.
    auto FindButton = [this](TbsStdCommand Cmd) -> TbsSkinStdButtonObject* {
        for (auto& O : BSF->ObjectList) {
            if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get()); A && A->ButtonStyle && A->Command() == Cmd)
                return nullptr;
            if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
                S && S->Command() == Cmd && S->Visible() && S->SkinRectInAPicture())
                return S;
        }
        return nullptr;
    };
    for (TbsStdCommand Cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
        TbsSkinStdButtonObject* B = FindButton(Cmd);
        if (!B) continue;
        int W = B->SkinRect().Width(), H = B->SkinRect().Height();
        B->SetObjectRect(TRect(X - W, Y, X, Y + H));
        X -= Offset + W;
    }
    TbsSkinCaptionObject* Cap = nullptr;
    for (auto& O : BSF->ObjectList)
        if ((Cap = dynamic_cast<TbsSkinCaptionObject*>(O.get()))) break;
    if (Cap) Cap->SetObjectRect(TRect(C.Left, C.Top, X - Offset, C.Bottom));
    if (TbsSkinStdButtonObject* S = FindButton(cmSysMenu)) {
        int W = S->SkinRect().Width(), H = S->SkinRect().Height();
        if (BSF->ShowIcon()) BSF->GetIconSize(W, H);
        if (IsEmptyRect(D.SysMenuButtonRect)) {
            int SX = C.Left;
            int Top = BSF->ShowIcon() || D.SysButtonTopOffset == 0 ? C.Top + C.Height() / 2 - H / 2 : D.SysButtonTopOffset;
            S->SetObjectRect(TRect(SX, Top, SX + W, Top + H));
            if (Cap) {
                TRect CR = Cap->ObjectRect();
                CR.Left = SX + Offset + W;
                Cap->SetObjectRect(CR);
            }
        } else {
            const TRect& R = D.SysMenuButtonRect;
            int Top = R.Top + R.Height() / 2 - H / 2;
            S->SetObjectRect(TRect(R.Left, Top, R.Left + W, Top + H));
        }
    }
}

void TbsFormLayerBorder::BuildBlurMaskRegions()
{
    for (HRGN* R : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4}) DeleteRgn(*R);
    if (!FData || FData->BlurMaskPictureIndex == -1 || !FSD) return;
    TBitmap* Mask = FSD->ActivePicture(FData->BlurMaskPictureIndex);
    if (!Mask || Mask->Empty()) return;
    int MW = Mask->Width(), MH = Mask->Height();
    const TbsDataSkinLayerFrame& D = *FData;
    auto Corner = [Mask](const TRect& R, HRGN& Rgn, int DX) {
        if (R.Width() <= 0 || R.Height() <= 0) return;
        TBitmap B(R.Width(), R.Height());
        B.Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), Mask->Canvas(), R);
        CreateRgnFromMask(Rgn, &B);
        if (Rgn && DX) OffsetRgn(Rgn, DX, 0);
    };
    Corner(TRect(0, 0, D.LTPoint.X, D.LTPoint.Y), DataRgn1, 0);
    Corner(TRect(D.RTPoint.X, 0, MW, D.RTPoint.Y), DataRgn2, D.RTPoint.X);
    Corner(TRect(0, D.LBPoint.Y, D.LBPoint.X, MH), DataRgn3, 0);
    Corner(TRect(D.RBPoint.X, D.RBPoint.Y, MW, MH), DataRgn4, D.RBPoint.X);
}

void TbsFormLayerBorder::BuildBlurRegions()
{
    if (!FData || FData->BlurMaskPictureIndex == -1) return;
    for (HRGN* R : {&TopRgn, &BottomRgn, &LeftRgn, &RightRgn}) DeleteRgn(*R);
    const TbsDataSkinLayerFrame& D = *FData;
    int Grow = ImageWidth(TopImage) - FData->FSourceBitmap->Width();
    auto Unite = [](HRGN Into, HRGN Part, int DX) {
        if (!Part) return;
        HRGN T = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(T, Part, nullptr, RGN_COPY);
        OffsetRgn(T, DX, 0);
        CombineRgn(Into, Into, T, RGN_OR);
        DeleteObject(T);
    };
    TopRgn = CreateRectRgn(D.LTPoint.X, D.IntersectBlurMaskRect.Top, D.RTPoint.X + Grow, D.ExcludeBlurMaskRect.Top);
    Unite(TopRgn, DataRgn1, 0);
    Unite(TopRgn, DataRgn2, Grow);
    BottomRgn = CreateRectRgn(D.LBPoint.X, D.ExcludeBlurMaskRect.Bottom - D.LBPoint.Y, D.RBPoint.X + Grow,
                              D.IntersectBlurMaskRect.Bottom - D.LBPoint.Y);
    Unite(BottomRgn, DataRgn3, 0);
    Unite(BottomRgn, DataRgn4, Grow);
    if (ImageHeight(LeftImage) > 0)
        LeftRgn = CreateRectRgn(D.IntersectBlurMaskRect.Left, 0, D.ExcludeBlurMaskRect.Left, ImageHeight(LeftImage));
    if (ImageHeight(RightImage) > 0)
        RightRgn = CreateRectRgn(D.ExcludeBlurMaskRect.Right - D.ClRect.Right, 0,
                                 D.IntersectBlurMaskRect.Right - D.ClRect.Right, ImageHeight(RightImage));
}

// ---- the windows -------------------------------------------------------------------------------

void TbsFormLayerBorder::PushImages(bool Blur)
{
    auto A = uint8_t(std::clamp(CurrentAlpha(), 0, 255));
    struct Side {
        TbsBitmap* Image;
        TbsFormLayerWindow* Window;
        HRGN Rgn;
        bool Side;
    };
    const Side Sides[] = {{TopImage.get(), TopBorder, TopRgn, false},
                          {BottomImage.get(), BottomBorder, BottomRgn, false},
                          {LeftImage.get(), LeftBorder, LeftRgn, true},
                          {RightImage.get(), RightBorder, RightRgn, true}};
    for (const Side& S : Sides) {
        if (!S.Window || !S.Image || S.Image->Empty()) continue;
        UpdateLayeredBitmap(S.Image, A, S.Window);
        if (Blur && S.Rgn) EnableBlurBehind(S.Window->Handle(), true, S.Rgn);
    }
}

void TbsFormLayerBorder::PlaceWindows(int X, int Y, int BW, int BH, UINT ExtraFlags, bool HideEmptySides)
{
    int TH = ImageHeight(TopImage);
    const UINT Flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | ExtraFlags;
    auto Place = [&](TbsFormLayerWindow* W, int PX, int PY, bool Shown) {
        if (!W) return;
        if (Shown) SetWindowPos(W->Handle(), nullptr, PX, PY, 0, 0, Flags);
        else if (HideEmptySides && W->HandleAllocated()) ShowWindow(W->Handle(), SW_HIDE);
    };
    Place(TopBorder, X, Y, ImageHeight(TopImage) > 0);
    Place(BottomBorder, X, Y + BH - ImageHeight(BottomImage), ImageHeight(BottomImage) > 0);
    Place(LeftBorder, X, Y + TH, ImageHeight(LeftImage) >= 1);
    Place(RightBorder, X + BW - ImageWidth(RightImage), Y + TH, ImageHeight(RightImage) >= 1);
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight)
{
    if (!FData || !FForm) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    CreateBorderImages(AWidth, AHeight);
    FreeWindows();
    auto Make = [this](TbsFormLayerBorderType T) {
        auto* W = new TbsFormLayerWindow(this, FForm);
        W->SetBorderType(T);
        return W;
    };
    LeftBorder = Make(bsflLeft);
    RightBorder = Make(bsflRight);
    TopBorder = Make(bsflTop);
    BottomBorder = Make(bsflBottom);
    PushImages(BlurApplies());
    PlaceWindows(X, Y, AWidth, AHeight, 0, true);
}

void TbsFormLayerBorder::ShowWithForm()
{
    if (!FData || !FForm) return;
    TRect B = BorderBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Show(B.Left, B.Top, B.Width(), B.Height());
}

void TbsFormLayerBorder::ShowWithFormAnimation()
{
    if (!FData || !FForm) return;
    // a fade already under way goes to the same end
    int T = FadeTimer->Enabled() ? FFadeTarget : FCurrentAlphaBlendValue;
    FadeTimer->SetEnabled(false);
    FCurrentAlphaBlendValue = 0;
    TRect B = BorderBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), false);
    Show(B.Left, B.Top, B.Width(), B.Height());
    // the fade goes up in 15 steps, one per tick, while the program serves its events
    FFadeTarget = T;
    FFadeStep = std::max(1, T / 15);
    if (T > 0) FadeTimer->SetEnabled(true);
    else FCurrentAlphaBlendValue = T;
}

void TbsFormLayerBorder::FadeTimerTick(TObject*)
{
    FCurrentAlphaBlendValue = std::min(FCurrentAlphaBlendValue + FFadeStep, FFadeTarget);
    if (FCurrentAlphaBlendValue >= FFadeTarget) FadeTimer->SetEnabled(false);
    if (FVisible) SetAlphaBlend();
}

// Ends a fade under way at its end value.
void TbsFormLayerBorder::StopFade()
{
    if (!FadeTimer->Enabled()) return;
    FadeTimer->SetEnabled(false);
    FCurrentAlphaBlendValue = FFadeTarget;
}

void TbsFormLayerBorder::Hide()
{
    StopFade();
    FVisible = false;
    MouseTimer->SetEnabled(false);
    TopImage.reset();
    BottomImage.reset();
    LeftImage.reset();
    RightImage.reset();
    FreeWindows();
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight)
{
    if (!FData || !FVisible) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    PushImages(BlurApplies());
    PlaceWindows(X, Y, AWidth, AHeight, SWP_NOOWNERZORDER, true);
}

void TbsFormLayerBorder::SetBoundsWithForm()
{
    if (!FForm) return;
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH)
{
    if (!FForm) return;
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH)
{
    if (!FData || !FVisible) return;
    TRect B = BorderBounds(ALeft, ATop, AW, AH);
    SetBounds(B.Left, B.Top, B.Width(), B.Height());
}

void TbsFormLayerBorder::Update(int, int, int AWidth, int AHeight)
{
    if (!FData || !FVisible) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    PushImages(BlurApplies());
    for (TbsFormLayerWindow* W : {TopBorder, BottomBorder, LeftBorder, RightBorder})
        if (W && W->HandleAllocated()) UpdateWindow(W->Handle());
}

void TbsFormLayerBorder::UpdateBorder()
{
    if (!FData || !FVisible || !FForm) return;
    TRect B = BorderBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Update(B.Left, B.Top, B.Width(), B.Height());
}

void TbsFormLayerBorder::MoveWithForm()
{
    if (!FForm) return;
    MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop)
{
    if (!FData || !FVisible || !FForm) return;
    TRect B = BorderBounds(ALeft, ATop, FForm->Width(), FForm->Height());
    int X = B.Left, Y = B.Top, TH = ImageHeight(TopImage);
    const UINT Flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    auto Move = [Flags](TbsFormLayerWindow* W, int PX, int PY) {
        if (W && W->HandleAllocated()) SetWindowPos(W->Handle(), nullptr, PX, PY, 0, 0, Flags);
    };
    Move(TopBorder, X, Y);
    Move(BottomBorder, X, Y + FHeight - ImageHeight(BottomImage));
    if (LeftBorder && LeftBorder->HandleAllocated() && IsWindowVisible(LeftBorder->Handle())) Move(LeftBorder, X, Y + TH);
    if (RightBorder && RightBorder->HandleAllocated() && IsWindowVisible(RightBorder->Handle()))
        Move(RightBorder, X + FWidth - ImageWidth(RightImage), Y + TH);
}

void TbsFormLayerBorder::SetAlphaBlend()
{
    if (!FData || !FVisible) return;
    auto A = uint8_t(std::clamp(CurrentAlpha(), 0, 255));
    auto Push = [A](TbsBitmap* I, TbsFormLayerWindow* W, bool OnlyVisible) {
        if (!I || I->Empty() || !W) return;
        if (OnlyVisible && !(W->HandleAllocated() && IsWindowVisible(W->Handle()))) return;
        UpdateLayeredBitmap(I, A, W);
    };
    Push(TopImage.get(), TopBorder, false);
    Push(BottomImage.get(), BottomBorder, false);
    Push(LeftImage.get(), LeftBorder, true);
    Push(RightImage.get(), RightBorder, true);
}

void TbsFormLayerBorder::SetAlphaBlend2()
{
    if (!FData || !FVisible || !FForm) return;
    SetAlphaBlend();
    TRect B = BorderBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    PlaceWindows(B.Left, B.Top, B.Width(), B.Height(), 0, true);
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate)
{
    if (!FData) return;
    FadeTimer->SetEnabled(false);
    double F = AFormAlpha / 255.0;
    FCurrentAlphaBlendValue = int(std::nearbyint(FData->AlphaBlendValue * F));
    FCurrentInActiveAlphaBlendValue = int(std::nearbyint(FData->InActiveAlphaBlendValue * F));
    if (AUpdate) SetAlphaBlend();
}

void TbsFormLayerBorder::ReleaseStdButtons()
{
    if (!BSF) return;
    for (auto& O : BSF->ObjectList)
        if (auto* S = dynamic_cast<TbsSkinStdButtonObject*>(O.get())) S->ReleaseMouse();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate)
{
    FActive = AValue;
    if (!AValue && BSF) {
        int N = int(BSF->ObjectList.size());
        if (FActiveObject >= 0 && FActiveObject < N)
            if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(BSF->ObjectList[size_t(FActiveObject)].get());
                C && C->ActiveQuickButton >= 0 && C->ActiveQuickButton < BSF->QuickButtons()->Count()) {
                TbsQuickButtonItem* Q = BSF->QuickButtons()->Items(C->ActiveQuickButton);
                Q->SetDown(false);
                Q->SetActive(false);
            }
        ReleaseStdButtons();
        FMouseCaptureObject = -1;
        HoverObjects(-1, -1);
        FActiveObject = -1;
    }
    if (!FData || !FVisible) return;
    if (FData->FullBorder || (FData->FSourceInActiveBitMap && !FData->FSourceInActiveBitMap->Empty()))
        SetBoundsWithForm();
    if (AUpdate) SetAlphaBlend2();
}

void TbsFormLayerBorder::Draw(TCanvas* C, int X, int Y, int AWidth, int AHeight)
{
    if (!FData || !C) return;
    CreateBorderImages(AWidth, AHeight);
    int TH = ImageHeight(TopImage);
    auto Put = [C](const std::unique_ptr<TbsBitmap>& I, int PX, int PY) {
        if (!I || I->Empty()) return;
        I->SetAlphaBlend(true);
        I->Draw(C, PX, PY);
    };
    Put(TopImage, X, Y);
    Put(BottomImage, X, Y + AHeight - ImageHeight(BottomImage));
    Put(LeftImage, X, Y + TH);
    Put(RightImage, X + AWidth - ImageWidth(RightImage), Y + TH);
}

// ---- hover over the caption objects in the top window -------------------------------------------

void TbsFormLayerBorder::HoverObjects(int X, int Y)
{
    if (!BSF || BSF->ObjectList.empty() || !BSF->FormActive() || BSF->FSizeMove || BSF->BorderLayerChangeSize() ||
        BSF->PreviewMode())
        return;
    TCustomForm* F = BSF->Form();
    if ((F->FormStyle() == fsMDIChild && BSF->FWindowState == wsMaximized) || F->BorderStyle() == bsNone) return;
    if (FData && !FData->FullBorder) return;
    BSF->MoveObjectHover(BSF->ObjectAt(X, Y), FActiveObject, OldActiveObject, FMouseCaptureObject);
}

void TbsFormLayerBorder::MouseTimerTick(TObject*)
{
    if (FData && !FData->FullBorder) {
        MouseTimer->SetEnabled(false);
        return;
    }
    if (TopBorder && TopBorder->HandleAllocated() && WindowFromPoint(GetCursorPos()) != TopBorder->Handle()) {
        MouseTimer->SetEnabled(false);
        FMouseCaptureObject = -1;
        HoverObjects(-1, -1);
    }
}
