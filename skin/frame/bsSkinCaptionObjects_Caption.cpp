// The caption object: the caption picture of the skin (active and inactive, stretched,
// morphed or animated between them), the form's title in the skin's font with light,
// shadow and frame picture, and the frame's quick buttons with their hover, press,
// click, hint and menu.
#include "skin/frame/bsSkinCaptionObjects.h"
#include "skin/frame/bsSkinFormFrame.h"

#include <functional>
#include <memory>

#include "platform/graphics/ImgList.h"
#include "skin/core/bsKernels.h"
#include "skin/core/bsPngImageList.h"
#include "skin/menus/bsSkinHint.h"

// ---- quick buttons ------------------------------------------------------------------------

void TbsQuickButtonItem::Assign(TPersistent* Source)
{
    if (auto* S = dynamic_cast<TbsQuickButtonItem*>(Source)) {
        FImageIndex = S->FImageIndex;
        FHint = S->FHint;
        FEnabled = S->FEnabled;
        FVisible = S->FVisible;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsQuickButtonItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value)
{
    FVisible = Value;
    Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinFormFrame* AForm)
    : TCollection(ItemClass<TbsQuickButtonItem>()), BSF(AForm) {}

void TbsQuickButtonItems::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (!BSF) return;
    TComponentState St = BSF->ComponentState();
    if (St.Contains(csDesigning) || St.Contains(csLoading) || St.Contains(csDestroying)) return;
    BSF->UpDateFormNC();
}

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinFormFrame* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    auto* D = dynamic_cast<TbsDataSkinCaption*>(AData);
    if (!D) return;
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    ShadowColor = D->ShadowColor;
    ActiveShadowColor = D->ActiveShadowColor;
    Shadow = D->Shadow;
    LightColor = D->LightColor;
    ActiveLightColor = D->ActiveLightColor;
    Light = D->Light;
    Alignment = D->Alignment;
    TextRct = D->TextRct;
    FrameRect = D->FrameRect;
    ActiveFrameRect = D->ActiveFrameRect;
    FrameLeftOffset = D->FrameLeftOffset;
    FrameRightOffset = D->FrameRightOffset;
    FrameTextRect = D->FrameTextRect;
    StretchEffect = D->StretchEffect;
    FullFrame = D->FullFrame;
    AnimateSkinRect = D->AnimateSkinRect;
    FrameCount = D->FrameCount;
    AnimateInterval = D->AnimateInterval;
    InActiveAnimation = D->InActiveAnimation;
    FVistaGlowEffect = D->VistaGlowEffect;
    VistaGlowInActiveEffect = D->VistaGlowInActiveEffect;
    FGlowEffect = D->GlowEffect;
    GlowInActiveEffect = D->GlowInActiveEffect;
    FGlowSize = D->GlowSize;
    FGlowColor = D->GlowColor;
    FGlowActiveColor = D->GlowActiveColor;
    GlowOffset = D->GlowOffset;
    FReflectionEffect = D->ReflectionEffect;
    FReflectionColor = D->ReflectionColor;
    FReflectionActiveColor = D->ReflectionActiveColor;
    FReflectionOffset = D->ReflectionOffset;
    FDividerRect = D->DividerRect;
    InActiveDividerRect = D->InActiveDividerRect;
    DividerTransparent = D->DividerTransparent;
    DividerTransparentColor = D->DividerTransparentColor;
    FQuickButtonAlphaMaskPictureIndex = D->QuickButtonAlphaMaskPictureIndex;
}

bool TbsSkinCaptionObject::EnableAnimation()
{
    TbsSkinData* D = Parent->SkinData();
    return D && D->EnableSkinEffects() && !D->Empty && !IsEmptyRect(AnimateSkinRect) && FrameCount > 0;
}

bool TbsSkinCaptionObject::HasQuickButtons()
{
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

String TbsSkinCaptionObject::CaptionText()
{
    return Parent->TitleText();
}

UINT TbsSkinCaptionObject::TextFlags(UINT AFlags)
{
    return Parent->Form()->DrawTextBiDiModeFlagsReadingOnly() | AFlags;
}

void TbsSkinCaptionObject::SetCaptionFont(TCanvas* C, TColor Color)
{
    TFont* F = C->Font();
    if (Parent->UseSkinFontInCaption()) {
        F->SetName(FontName);
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
    } else {
        F->Assign(Parent->DefCaptionFont());
    }
    F->SetColor(Color);
    TbsSkinData* D = Parent->SkinData();
    F->SetCharset(D && D->ResourceStrData() ? D->ResourceStrData()->CharSet() : Parent->DefCaptionFont()->Charset());
}

TRect TbsSkinCaptionObject::TextRect()
{
    TRect T = TextRct;
    if (!IsEmptyRect(TextRct)) {
        if (Parent->ShowsAppMenuCaption()) T.Left = Parent->GetAppMenuCaptionOffset() - FObjectRect.Left;
        else if (HasQuickButtons())
            T.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8) + 5;
        T.Right = FObjectRect.Width() + TextRct.Right - FSkinRect.Width();
    }
    if (!IsEmptyRect(FrameRect)) {
        T.Top += FrameTextRect.Top;
        T.Left += FrameTextRect.Left;
        T.Right += FrameTextRect.Right - FrameRect.Width();
    }
    return T;
}

void TbsSkinCaptionObject::PaintText(TCanvas* K, TCanvas* EventCanvas, int OX, int OY, bool A, const TRect& T)
{
    if (Parent->OnCaptionPaint) {
        // the caption's place on the canvas painted: (OX, OY) is its top-left there
        Parent->OnCaptionPaint(EventCanvas, TRect(OX, OY, OX + FObjectRect.Width(), OY + FObjectRect.Height()), A);
        return;
    }
    String Text = CaptionText();
    if (Text.empty() || IsEmptyRect(TextRct)) return;
    CutWideTextToWidth(K, Text, T.Width());
    int W = WideTextWidth(K, Text), H = WideTextHeight(K, Text);
    int Y = T.Top + T.Height() / 2 - H / 2;
    int XC = T.Left + T.Width() / 2 - W / 2;
    int X = XC;
    if (!HasQuickButtons()) {
        if (Alignment == taLeftJustify) X = T.Left;
        else if (Alignment == taRightJustify) X = T.Right - W;
    }
    X += OX;
    Y += OY;
    if (IsOddFontHeight(K)) Y -= 1;
    K->Brush()->SetStyle(bsClear);
    if (!IsEmptyRect(FrameRect) && FActivePicture) {
        TRect Src = A && !IsEmptyRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        int BO = Parent->SkinData()->ButtonsOffset;
        int FW = FullFrame ? FObjectRect.Width() - 2 * BO : FrameRect.Width() + W - FrameTextRect.Width();
        if (FW > 0) {
            TBitmap B;
            CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &B, FActivePicture, Src, FW, FrameRect.Height(), false);
            if (FullFrame) K->Draw(OX + BO, Y - FrameTextRect.Top, &B);
            else K->Draw(X - FrameTextRect.Left, Y - FrameTextRect.Top, &B);
        }
    }
    TColor Main = K->Font()->Color();
    auto Piece = [&](int PX, int PY, TColor C) {
        K->Font()->SetColor(C);
        TRect R(PX, PY, PX, PY);
        DrawWideText(K, Text, R, TextFlags(DT_CALCRECT));
        DrawWideText(K, Text, R, TextFlags(DT_VCENTER));
    };
    if (Light) Piece(X - 1, Y - 1, A ? ActiveLightColor : LightColor);
    if (Shadow) Piece(X + 1, Y + 1, A ? ActiveShadowColor : ShadowColor);
    K->Font()->SetColor(Main);
    TRect R(X, Y, X, Y);
    DrawWideText(K, Text, R, TextFlags(DT_CALCRECT));
    TColor Glow = A ? FGlowActiveColor : FGlowColor;
    const UINT Flags = TextFlags(DT_VCENTER);
    if (FReflectionEffect)
        DrawWideTextWithReflection(K, R, Text, A ? FReflectionActiveColor : FReflectionColor, FReflectionOffset, Flags);
    else if (FVistaGlowEffect && (A || VistaGlowInActiveEffect))
        DrawWideTextWithGlowBox2(K, R, Text, Glow, Flags);
    else if (!FVistaGlowEffect && FGlowEffect && (A || GlowInActiveEffect))
        DrawWideTextWithGlow(K, R, Text, FGlowSize, Glow, GlowOffset, Flags);
    else
        DrawWideText(K, Text, R, Flags);
    K->Brush()->SetStyle(bsSolid);
}

void TbsSkinCaptionObject::BuildPicture(TBitmap* B, TBitmap* P, const TRect& S)
{
    int W = FObjectRect.Width(), H = FObjectRect.Height();
    TbsSkinData* D = Parent->SkinData();
    int L = std::max(0, D->LTPoint.X - FSkinRect.Left);
    int R = std::max(0, FSkinRect.Right - D->RTPoint.X);
    if (L > 0 || R > 0) {
        CreateHSkinImage(L, R, B, P, S, W, H, StretchEffect);
        if (B->Height() != H) B->SetSize(W, H);
    } else {
        B->SetSize(W, H);
        B->Canvas()->CopyRect(TRect(0, 0, W, H), P->Canvas(), S);
    }
}

void TbsSkinCaptionObject::Compose(TBitmap* B, TBitmap* P, const TRect& S, TColor C, bool A, const TRect& T)
{
    if (P) BuildPicture(B, P, S);
    else B->SetSize(FObjectRect.Width(), FObjectRect.Height());
    SetCaptionFont(B->Canvas(), C);
    PaintText(B->Canvas(), B->Canvas(), 0, 0, A, T);
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool)
{
    if (SkinEmpty()) return;
    if (FObjectRect.Width() <= 0 || FObjectRect.Height() <= 0) return;
    TbsSkinData* D = Parent->SkinData();
    TRect T = TextRect();
    SetCaptionFont(Cnvs, FActive ? ActiveFontColor : FontColor);
    bool Drawn = false;
    if (EnableAnimation() && FCurrentFrame >= 1 && FCurrentFrame <= FrameCount && FActivePicture) {
        TRect F = AnimateSkinRect;
        if (FSkinRect.Height() < AnimateSkinRect.Height()) {
            int BH = AnimateSkinRect.Height() / FrameCount;
            F = TRect(F.Left, F.Top + (FCurrentFrame - 1) * BH, F.Right, F.Top + FCurrentFrame * BH);
        } else {
            int BW = AnimateSkinRect.Width() / FrameCount;
            F = TRect(F.Left + (FCurrentFrame - 1) * BW, F.Top, F.Left + FCurrentFrame * BW, F.Bottom);
        }
        TBitmap B;
        Compose(&B, FActivePicture, F, FActive ? FontColor : ActiveFontColor, !FActive, T);
        Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
        Drawn = true;
    } else if (EnableMorphing() && ((FMorphKf > 0 && !FActive) || (FMorphKf < 1 && FActive))) {
        TBitmap B1, B2;
        Compose(&B1, FSkinRectInAPicture ? FActivePicture : Picture, FSkinRect, FontColor, false, T);
        Compose(&B2, FActivePicture, FActiveSkinRect, ActiveFontColor, true, T);
        TbsEffectBmp E1(B1.Handle()), E2(B2.Handle());
        bsMorphEffectBmp(E1, E2, FMorphKf, MorphKind);
        if (Parent->IsAutoRenderingInActive() && !FActive) bsApplyInActiveEffect(E1, D->InActiveEffect);
        E1.Draw(Cnvs->Handle(), FObjectRect.Left, FObjectRect.Top);
        Drawn = true;
    }
    if (!Drawn) {
        if (IsEmptyRect(FActiveSkinRect) ||
            (!FActive && !EnableMorphing() && !StretchEffect && !EnableAnimation())) {
            PaintText(Cnvs, Cnvs, FObjectRect.Left, FObjectRect.Top, FActive, T);
        } else if (!FActive) {
            TBitmap B;
            Compose(&B, FSkinRectInAPicture ? FActivePicture : Picture, FSkinRect, FontColor, false, T);
            if (Parent->IsAutoRenderingInActive()) {
                TbsEffectBmp E(B.Handle());
                bsApplyInActiveEffect(E, D->InActiveEffect);
                E.Draw(Cnvs->Handle(), FObjectRect.Left, FObjectRect.Top);
            } else {
                Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
            }
        } else {
            TBitmap B;
            Compose(&B, FActivePicture, FActiveSkinRect, ActiveFontColor, true, T);
            Cnvs->Draw(FObjectRect.Left, FObjectRect.Top, &B);
        }
    }
    if (!Parent->ShowsAppMenuCaption()) DrawQuickButtons(Cnvs);
}

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs)
{
    if (!HasQuickButtons()) return;
    TCustomImageList* IL = Parent->QuickImageList();
    int IW = IL->Width(), IH = IL->Height();
    TRect Src = FActive || IsEmptyRect(InActiveDividerRect) ? FDividerRect : InActiveDividerRect;
    int X0 = FObjectRect.Left;
    if (!IsEmptyRect(Src) && Parent->QuickButtonsShowDivider() && FActivePicture) {
        TBitmap B(Src.Width(), Src.Height());
        B.Canvas()->CopyRect(TRect(0, 0, Src.Width(), Src.Height()), FActivePicture->Canvas(), Src);
        if (DividerTransparent) {
            B.SetTransparentColor(DividerTransparentColor);
            B.SetTransparent(true);
        }
        Cnvs->Draw(FObjectRect.Left + 3, FObjectRect.Top + FObjectRect.Height() / 2 - Src.Height() / 2, &B);
        X0 = FObjectRect.Left + Src.Width() + 6;
    }
    int Y0 = FObjectRect.Top + FObjectRect.Height() / 2 - IH / 2 - 2;
    for (int I = 0; I < Parent->QuickButtons()->Count(); ++I) {
        TbsQuickButtonItem* Item = Parent->QuickButtons()->Items(I);
        if (!Item->Visible()) continue;
        Item->SetItemRect(TRect(X0, Y0, X0 + IW + 4, Y0 + IH + 4));
        X0 += IW + 8;
        if (Item->ImageIndex() < 0) continue;
        TBitmap B;
        if (Item->Active() && HotBackground(Item, &B)) Cnvs->Draw(Item->ItemRect().Left, Item->ItemRect().Top, &B);
        int L = Item->ItemRect().Left + Item->ItemRect().Width() / 2 - IW / 2;
        int Tp = Item->ItemRect().Top + Item->ItemRect().Height() / 2 - IH / 2;
        IL->Draw(Cnvs, L, Tp, Item->ImageIndex(), Item->Enabled());
    }
}

TbsDataSkinButtonControl* TbsSkinCaptionObject::QuickButtonRecord(TBitmap** Picture)
{
    TbsSkinData* D = Parent->SkinData();
    if (!D || D->Empty) return nullptr;
    int Index = D->GetControlIndex("officequickbutton");
    if (Index == -1) Index = D->GetControlIndex("resizetoolbutton");
    auto* BC = Index == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(D->CtrlList[size_t(Index)].get());
    TBitmap* P = BC ? D->ActivePicture(BC->PictureIndex) : nullptr;
    if (Picture) *Picture = P;
    return P ? BC : nullptr;
}

bool TbsSkinCaptionObject::HotBackground(TbsQuickButtonItem* Item, TBitmap* B)
{
    TBitmap* P = nullptr;
    TbsDataSkinButtonControl* BC = QuickButtonRecord(&P);
    TRect S = BC ? (Item->Down() ? BC->DownSkinRect : BC->ActiveSkinRect) : TRect();
    if (!BC || IsEmptyRect(S) || Item->ItemRect().Width() <= 0 || Item->ItemRect().Height() <= 0) return false;
    B->SetSize(Item->ItemRect().Width(), Item->ItemRect().Height());
    CreateStretchSkinImage(B, P, S, BC->ClRect, true);
    return true;
}

// ---- the caption in the layered border's top image -------------------------------------------

namespace {

// Draws one text piece into the region R of the layered image Dst so that its pixels
// become opaque and the rest keep their alpha: one copy of the region takes the text in
// Color, a grey copy of the region's alpha takes it in white, and the first takes its
// alpha from the second before it goes back.  Paint draws the piece on a canvas whose
// font is set (in Color, or white for the alpha), at T in the region's coordinates;
// Effect is the colour of its effect (glow), white for the alpha.
void AlphaTextPiece(TbsBitmap* Dst, TCanvas* FontSource, TRect R, TColor Color, TColor Effect,
                    const std::function<void(TCanvas* C, const TRect& T, TColor Effect)>& Paint)
{
    const TRect Whole = R;
    R.Left = std::max(R.Left, 0);
    R.Top = std::max(R.Top, 0);
    R.Right = std::min(R.Right, Dst->Width());
    R.Bottom = std::min(R.Bottom, Dst->Height());
    int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap Image, Mask;
    for (TBitmap* B : {&Image, &Mask}) {
        B->SetPixelFormat(pf32bit);
        B->SetSize(W, H);
    }
    for (int Y = 0; Y < H; ++Y) {
        const TbsColor* S = Dst->PixelAddress(R.Left, R.Top + Y);
        auto* I = static_cast<uint32_t*>(Image.ScanLine(Y));
        auto* M = static_cast<uint32_t*>(Mask.ScanLine(Y));
        for (int X = 0; X < W; ++X) {
            I[X] = S[X] | 0xFF000000u;
            uint8_t A = uint8_t(S[X] >> 24);
            M[X] = bsPackARGB(255, A, A, A);
        }
    }
    // the piece keeps its place when the region is cut at the image's edges
    TRect T(Whole.Left - R.Left, Whole.Top - R.Top, Whole.Right - R.Left, Whole.Bottom - R.Top);
    for (TBitmap* B : {&Image, &Mask}) {
        TCanvas* C = B->Canvas();
        C->Font()->Assign(FontSource->Font());
        C->Font()->SetColor(B == &Image ? Color : clWhite);
        C->Brush()->SetStyle(bsClear);
        Paint(C, T, B == &Image ? Effect : clWhite);
    }
    for (int Y = 0; Y < H; ++Y) {
        TbsColor* D = Dst->PixelAddress(R.Left, R.Top + Y);
        const auto* I = static_cast<const uint32_t*>(Image.ScanLine(Y));
        const auto* M = static_cast<const uint32_t*>(Mask.ScanLine(Y));
        for (int X = 0; X < W; ++X) {
            // the alpha from the mask's grey; colour channels kept at or below alpha, as
            // the layered image holds them
            auto A = uint8_t(((M[X] >> 16 & 0xFF) + (M[X] >> 8 & 0xFF) + (M[X] & 0xFF)) / 3);
            auto Ch = [&](int Shift) { return uint8_t(std::min<uint32_t>(A, (I[X] >> Shift) & 0xFF)); };
            D[X] = bsPackARGB(A, Ch(16), Ch(8), Ch(0));
        }
    }
}

// The layered image holds straight (not premultiplied) colours until the border lowers
// them to their alpha; these lay pixels over it in the same terms.
TbsColor OverPixel(TbsColor D, TbsColor C, uint32_t A)
{
    const uint32_t DA = bsAlphaOf(D), OA = A + DA * (255 - A) / 255;
    if (OA == 0) return 0;
    auto Ch = [&](uint32_t S, uint32_t T) { return (S * A * 255 + T * DA * (255 - A)) / (OA * 255); };
    return bsPackARGB(OA, Ch(bsRedOf(C), bsRedOf(D)), Ch(bsGreenOf(C), bsGreenOf(D)), Ch(bsBlueOf(C), bsBlueOf(D)));
}

// Calls Fn(layered pixel, x, y) for the pixels of a W x H area at (X, Y) inside Dst.
template <typename F>
void ForEachPixel(TbsBitmap* Dst, int X, int Y, int W, int H, F Fn)
{
    for (int YY = std::max(0, -Y); YY < H && Y + YY < Dst->Height(); ++YY)
        for (int XX = std::max(0, -X); XX < W && X + XX < Dst->Width(); ++XX) Fn(*Dst->PixelAddress(X + XX, Y + YY), XX, YY);
}

// The pixels of a picture as 32-bit colours (alpha left opaque).
std::unique_ptr<TbsBitmap> Pixels32(TBitmap* B)
{
    auto A = std::make_unique<TbsBitmap>();
    A->Assign(B);
    A->SetAlpha(255);
    return A;
}

// Draws B at (X, Y), each pixel taking the alpha of the layered pixel under it; with
// Keyed, pixels of the Key colour are left out.
void DrawKeepingAlpha(TbsBitmap* Dst, TBitmap* B, int X, int Y, bool Keyed, TColor Key)
{
    auto A = Pixels32(B);
    const TbsColor K = ColorToARGB(Key) & 0xFFFFFFu;
    ForEachPixel(Dst, X, Y, A->Width(), A->Height(), [&](TbsColor& D, int XX, int YY) {
        TbsColor C = *A->PixelAddress(XX, YY) & 0xFFFFFFu;
        if (!(Keyed && C == K)) D = (D & 0xFF000000u) | C;
    });
}

// Lays B at (X, Y) over the layered image, opaque or, with Mask (of B's size), with the
// mask's grey as its alpha.
void DrawOver(TbsBitmap* Dst, TBitmap* B, TBitmap* Mask, int X, int Y)
{
    auto A = Pixels32(B);
    auto M = Mask ? Pixels32(Mask) : nullptr;
    ForEachPixel(Dst, X, Y, A->Width(), A->Height(), [&](TbsColor& D, int XX, int YY) {
        uint32_t Alpha = 255;
        if (M && XX < M->Width() && YY < M->Height()) {
            TbsColor G = *M->PixelAddress(XX, YY);
            Alpha = (bsRedOf(G) + bsGreenOf(G) + bsBlueOf(G)) / 3;
        }
        D = OverPixel(D, *A->PixelAddress(XX, YY), Alpha);
    });
}

// Draws Png (scaled to W x H) at (X, Y): enabled, its alpha merged with the alpha there;
// disabled, in grey over the colours there, the alpha left as it is.
void DrawPngOver(TbsBitmap* Dst, TbsPngImage* Png, int X, int Y, int W, int H, bool Enabled)
{
    if (!Png || Png->Empty() || W <= 0 || H <= 0) return;
    const bool Keyed = Png->TransparencyMode() == ptmBit;
    ForEachPixel(Dst, X, Y, W, H, [&](TbsColor& D, int XX, int YY) {
        int PX = XX * Png->Width() / W, PY = YY * Png->Height() / H;
        TColor C = Png->Pixels(PX, PY);
        const uint8_t* AL = Png->AlphaScanline(PY);
        uint32_t A = AL ? AL[PX] : Keyed && C == Png->TransparentColor() ? 0 : 255;
        TbsColor P = ColorToARGB(C);
        if (Enabled) {
            D = OverPixel(D, P, A);
        } else {
            uint32_t G = (bsRedOf(P) * 30 + bsGreenOf(P) * 59 + bsBlueOf(P) * 11) / 100;
            D = (D & 0xFF000000u) | (OverPixel(D | 0xFF000000u, bsPackARGB(255, G, G, G), A) & 0xFFFFFFu);
        }
    });
}

}  // namespace

void TbsSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap)
{
    if (!ABitMap || ABitMap->Empty() || FObjectRect.Width() <= 0 || FObjectRect.Height() <= 0) return;
    TRect T(0, 0, FObjectRect.Width(), FObjectRect.Height());
    if (HasQuickButtons()) {
        TCustomImageList* IL = Parent->QuickImageList();
        int Count = Parent->QuickButtons()->Count(), IW = IL->Width(), IH = IL->Height();
        TRect Src = Parent->FormActive() || IsEmptyRect(InActiveDividerRect) ? FDividerRect : InActiveDividerRect;
        int X0 = FObjectRect.Left + 5;
        if (IsEmptyRect(FDividerRect)) {
            T.Left += Count * (IW + 8) + 5;
        } else {
            // the divider takes the alpha of the caption under it
            if (FActivePicture && !IsEmptyRect(Src)) {
                TBitmap B(Src.Width(), Src.Height());
                B.Canvas()->CopyRect(TRect(0, 0, Src.Width(), Src.Height()), FActivePicture->Canvas(), Src);
                DrawKeepingAlpha(ABitMap, &B, FObjectRect.Left + 3,
                                 FObjectRect.Top + FObjectRect.Height() / 2 - Src.Height() / 2, DividerTransparent,
                                 DividerTransparentColor);
            }
            T.Left += FDividerRect.Width() + Count * (IW + 8) + 6;
            X0 = FObjectRect.Left + FDividerRect.Width() + 6;
        }
        int Y0 = FObjectRect.Top + FObjectRect.Height() / 2 - IH / 2 - 2;
        TbsSkinData* D = Parent->SkinData();
        TBitmap* MaskPicture =
            FQuickButtonAlphaMaskPictureIndex != -1 && D ? D->ActivePicture(FQuickButtonAlphaMaskPictureIndex) : nullptr;
        for (int I = 0; I < Count; ++I) {
            TbsQuickButtonItem* Item = Parent->QuickButtons()->Items(I);
            if (!Item->Visible()) continue;
            Item->SetItemRect(TRect(X0, Y0, X0 + IW + 4, Y0 + IH + 4));
            X0 += IW + 8;
            if (Item->ImageIndex() < 0) continue;
            TBitmap Back;
            if (Item->Active() && HotBackground(Item, &Back)) {
                // the mask picture, stretched the same nine-part way, gives the background
                // its alpha; its client part keeps the record's margins
                TBitmap Mask;
                TbsDataSkinButtonControl* BC = QuickButtonRecord(nullptr);
                if (MaskPicture && !MaskPicture->Empty()) {
                    const TRect S = Item->Down() ? BC->DownSkinRect : BC->ActiveSkinRect;
                    const int MW = MaskPicture->Width(), MH = MaskPicture->Height();
                    TRect Cl(BC->ClRect.Left, BC->ClRect.Top, MW - (S.Width() - BC->ClRect.Right),
                             MH - (S.Height() - BC->ClRect.Bottom));
                    Mask.SetSize(Back.Width(), Back.Height());
                    CreateStretchSkinImage(&Mask, MaskPicture, TRect(0, 0, MW, MH), Cl, true);
                }
                DrawOver(ABitMap, &Back, Mask.Empty() ? nullptr : &Mask, Item->ItemRect().Left, Item->ItemRect().Top);
            }
            if (Item->ImageIndex() >= IL->Count()) continue;
            const int IX = Item->ItemRect().Left + Item->ItemRect().Width() / 2 - IW / 2;
            const int IY = Item->ItemRect().Top + Item->ItemRect().Height() / 2 - IH / 2;
            if (auto* Png = dynamic_cast<TbsPngImageList*>(IL)) {
                DrawPngOver(ABitMap, Png->PngImages()->Items(Item->ImageIndex())->PngImage(), IX, IY, IW, IH,
                            Item->Enabled());
                continue;
            }
            // other lists: the image over the key colour, which then becomes transparent
            TBitmap B(IW, IH);
            B.Canvas()->Brush()->SetColor(RGB(127, 0, 127));
            B.Canvas()->FillRect(TRect(0, 0, IW, IH));
            IL->Draw(B.Canvas(), 0, 0, Item->ImageIndex(), Item->Enabled());
            TbsBitmap A;
            A.Assign(&B);
            A.SetAlpha(255);
            A.CheckingTransparent(ColorToARGB(RGB(127, 0, 127)));
            A.SetTransparent(true);
            A.Draw(ABitMap, IX, IY);
        }
    }
    if (FVistaGlowEffect) InflateRect(T, -6, 0);
    else if (FGlowEffect) InflateRect(T, -3, 0);
    FActive = Parent->FormActive();
    SetCaptionFont(Cnvs, FActive ? ActiveFontColor : FontColor);
    String Text = CaptionText();
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Cnvs, FObjectRect, FActive);
        return;
    }
    if (Text.empty() || T.Width() <= 0) return;
    CutWideTextToWidth(Cnvs, Text, T.Width());
    int W = WideTextWidth(Cnvs, Text), H = WideTextHeight(Cnvs, Text);
    int Y = T.Top + T.Height() / 2 - H / 2;
    int X = T.Left + T.Width() / 2 - W / 2;
    if (!HasQuickButtons()) {
        if (Alignment == taLeftJustify) X = T.Left;
        else if (Alignment == taRightJustify) X = T.Right - W;
    }
    X += FObjectRect.Left;
    Y += FObjectRect.Top;
    if (IsOddFontHeight(Cnvs)) Y -= 1;
    const UINT Flags = TextFlags(DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    auto Plain = [&](TCanvas* C, const TRect& T, TColor) {
        TRect R = T;
        DrawWideText(C, Text, R, Flags);
    };
    auto Piece = [&](int PX, int PY, TColor C) {
        AlphaTextPiece(ABitMap, Cnvs, TRect(PX, PY, PX + W, PY + H), C, C, Plain);
    };
    if (Light) Piece(X - 1, Y - 1, FActive ? ActiveLightColor : LightColor);
    if (Shadow) Piece(X + 1, Y + 1, FActive ? ActiveShadowColor : ShadowColor);
    const TColor Main = FActive ? ActiveFontColor : FontColor, Glow = FActive ? FGlowActiveColor : FGlowColor;
    // the effects spread 6 pixels around the text; the glow shows whether or not the form
    // is active
    const TRect E(X - 6, Y - 6, X + W + 6, Y + H + 6);
    auto Inner = [](const TRect& T) { return TRect(T.Left + 6, T.Top + 6, T.Right - 6, T.Bottom - 6); };
    if (FReflectionEffect) {
        TColor Reflection = FActive ? FReflectionActiveColor : FReflectionColor;
        AlphaTextPiece(ABitMap, Cnvs, E, Main, Reflection, [&](TCanvas* C, const TRect& T, TColor Effect) {
            DrawWideTextWithReflection(C, Inner(T), Text, Effect, FReflectionOffset, Flags);
        });
    } else if (FVistaGlowEffect) {
        AlphaTextPiece(ABitMap, Cnvs, E, Main, Glow, [&](TCanvas* C, const TRect& T, TColor Effect) {
            DrawWideTextWithGlowBox(C, Inner(T), Text, Effect, Flags);
        });
    } else if (FGlowEffect) {
        AlphaTextPiece(ABitMap, Cnvs, E, Main, Glow, [&](TCanvas* C, const TRect& T, TColor Effect) {
            DrawWideTextWithGlow(C, Inner(T), Text, FGlowSize, Effect, GlowOffset, Flags);
        });
    } else {
        Piece(X, Y, Main);
    }
}

void TbsSkinCaptionObject::RestartAnimation()
{
    FIncTime = 25;
    FCurrentFrame = FActive ? 1 : InActiveAnimation ? FrameCount : 0;
}

bool TbsSkinCaptionObject::AnimationTick(bool& FrameChanged)
{
    FrameChanged = false;
    if (FIncTime < AnimateInterval) {
        FIncTime += 25;
        return true;
    }
    if (FActive && FCurrentFrame <= FrameCount) ++FCurrentFrame;
    else if (!FActive && FCurrentFrame > 0) --FCurrentFrame;
    else return false;
    FIncTime = 25;
    FrameChanged = true;
    return true;
}

void TbsSkinCaptionObject::QuickButtonMenuClosed()
{
    if (FPopupMenuQuickButton == -1) return;
    TbsQuickButtonItems* Q = Parent->QuickButtons();
    if (FPopupMenuQuickButton < Q->Count()) {
        Q->Items(FPopupMenuQuickButton)->SetDown(false);
        Q->Items(FPopupMenuQuickButton)->SetActive(false);
    }
    FPopupMenuQuickButton = -1;
    RedrawCaption();
}

void TbsSkinCaptionObject::RedrawCaption()
{
    if (Parent->FullLayeredShown() && Parent->UseLayeredBorder()) {
        BeginMorph();
        return;
    }
    if (Parent->Form()->HandleAllocated()) SendMessage(Parent->Form()->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinCaptionObject::HoverQuickButtons(int X, int Y)
{
    TbsQuickButtonItems* Q = Parent->QuickButtons();
    if (Q->Count() == 0) return;
    if (Parent->ShowsAppMenuCaption()) {
        ActiveQuickButton = -1;
        return;
    }
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (int I = 0; I < Q->Count(); ++I) {
        TbsQuickButtonItem* It = Q->Items(I);
        if (It->Enabled() && It->Visible() && It->ItemRect().Contains(TPoint(X, Y))) {
            ActiveQuickButton = I;
            break;
        }
    }
    bool Changed = false;
    for (int I = 0; I < Q->Count(); ++I) {
        if (I == FPopupMenuQuickButton) continue;
        bool A = I == ActiveQuickButton;
        if (Q->Items(I)->Active() != A) Changed = true;
        Q->Items(I)->SetActive(A);
    }
    if (ActiveQuickButton != OldActiveQuickButton || Changed) RedrawCaption();
    TbsSkinHint* H = Parent->QuickButtonsShowHint() ? Parent->SkinHint() : nullptr;
    if (!H) return;
    if (ActiveQuickButton != -1 && ActiveQuickButton != OldActiveQuickButton &&
        !Q->Items(ActiveQuickButton)->Hint().empty())
        H->ActivateHint2(Q->Items(ActiveQuickButton)->Hint());
    else if (Changed && ActiveQuickButton == -1)
        H->HideHint();
}

void TbsSkinCaptionObject::MouseMove(int X, int Y)
{
    TbsActiveSkinObject::MouseMove(X, Y);
    if (HasQuickButtons()) HoverQuickButtons(X, Y);
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button)
{
    Parent->DoObjectMouseDown(FIDName, X, Y, FObjectRect, Button);
    if (!HasQuickButtons()) return;
    if (Button == mbLeft) PressQuickButtons(X, Y);
    // a press of any button takes the hint away
    if (Parent->QuickButtonsShowHint() && Parent->SkinHint()) Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::PressQuickButtons(int X, int Y)
{
    FDown = true;
    HoverQuickButtons(X, Y);
    TbsQuickButtonItems* Q = Parent->QuickButtons();
    if (ActiveQuickButton != -1) {
        for (int I = 0; I < Q->Count(); ++I) {
            TbsQuickButtonItem* It = Q->Items(I);
            if (I == ActiveQuickButton) {
                It->SetDown(true);
                if (It->PopupMenu() && FPopupMenuQuickButton != I) {
                    RedrawCaption();
                    FPopupMenuQuickButton = I;
                    MouseCaptureQuickButton = -1;
                    PopupQuickButtonMenu(It->ItemRect(), It->PopupMenu());
                } else {
                    MouseCaptureQuickButton = I;
                }
            } else {
                It->SetDown(false);
                It->SetActive(false);
            }
        }
    }
    RedrawCaption();
}

void TbsSkinCaptionObject::PopupQuickButtonMenu(const TRect& AItemRect, TbsSkinPopupMenu* AMenu)
{
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    TRect Saved = FObjectRect;
    FObjectRect = AItemRect;
    TRect R = ScreenRect();
    FObjectRect = Saved;
    AMenu->PopupFromRect2(nullptr, R, false);
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button)
{
    Parent->DoObjectMouseUp(FIDName, X, Y, FObjectRect, Button);
    FDown = false;
    TbsQuickButtonItems* Q = Parent->QuickButtons();
    if (HasQuickButtons()) HoverQuickButtons(X, Y);
    else ActiveQuickButton = -1;
    if (ActiveQuickButton == -1 && MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Q->Count()) {
        Q->Items(MouseCaptureQuickButton)->SetDown(false);
        Q->Items(MouseCaptureQuickButton)->SetActive(false);
    }
    MouseCaptureQuickButton = -1;
    if (ActiveQuickButton == -1 || Button != mbLeft) {
        // in a frame drawn by the layered border the caption's right click is the
        // platform's caption right click: the system menu at the cursor
        if (Button == mbRight && Parent->FullLayeredShown() && Parent->UseLayeredBorder()) {
            Parent->FBorderLayer->ReleaseMouseCapture();
            if (!Parent->DisableSystemMenu() && ActiveQuickButton == -1) {
                TPoint C = GetCursorPos();
                Parent->PopupSystemMenuAt(C.X, C.Y);
            }
        }
        return;
    }
    TbsQuickButtonItem* Item = Q->Items(ActiveQuickButton);
    bool WasDown = Item->Down();
    for (int I = 0; I < Q->Count(); ++I)
        if (!(I == ActiveQuickButton && I == FPopupMenuQuickButton)) Q->Items(I)->SetDown(false);
    RedrawCaption();
    if (WasDown && Item->OnClick) Item->OnClick(this);
}

void TbsSkinCaptionObject::MouseEnter()
{
    FMouseIn = true;
    Parent->DoObjectMouseEnter(FIDName);
}

void TbsSkinCaptionObject::MouseLeave()
{
    FMouseIn = false;
    Parent->DoObjectMouseLeave(FIDName);
    if (!HasQuickButtons()) return;
    ActiveQuickButton = OldActiveQuickButton = -1;
    HoverQuickButtons(-1, -1);
    if (FDown) {
        FDown = false;
        Parent->ReleaseMouseCapture();
        TbsQuickButtonItems* Q = Parent->QuickButtons();
        if (MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Q->Count())
            Q->Items(MouseCaptureQuickButton)->SetDown(false);
        MouseCaptureQuickButton = -1;
    }
}
