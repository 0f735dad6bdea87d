// One entry of a skinned popup menu window: its kind, highlight and execution, the morph
// and frame animation between its inactive and active pictures, and the painters of its
// looks (the built-in default look, the skinned item at the skin's height or resized, the
// separator and the header).  Every state is built whole in an off-screen bitmap and put
// on the target in one copy.
#include "skin/menus/bsSkinMenus.h"
#include "skin/core/bsUtils.h"

namespace {

constexpr UINT CenterFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The flags of centred item text, adjusted for the reading order of the chain's form
// (right-to-left reading added for a form that reads right to left).
UINT ItemTextFlags(TbsSkinMenu* Chain)
{
    TCustomForm* F = Chain ? Chain->Form() : nullptr;
    return F ? F->DrawTextBiDiModeFlags(CenterFlags) : CenterFlags;
}

void MoveDown(TRect& R, int DY)
{
    R.Top += DY;
    R.Bottom += DY;
}

int CharCount(const String& S)
{
    int N = 0;
    for (unsigned char C : S)
        if ((C & 0xC0) != 0x80) ++N;
    return N;
}

bool IsBitmapImage(TMenuItem* M)
{
    auto* B = dynamic_cast<TBitmap*>(M->Bitmap());
    return B && !B->Empty() && B->Width() > 0 && B->Height() > 0;
}

// Font character set of the chain's skin when it has interface strings, else Default's.
TFontCharset MenuCharset(TbsSkinMenu* Chain)
{
    if (Chain->SkinData && Chain->SkinData->ResourceStrData()) return Chain->SkinData->ResourceStrData()->CharSet();
    return Chain->DefaultMenuItemFont()->Charset();
}

void DrawSystemGlyph(int Kind, TCanvas* C, int X, int Y, TColor Color)
{
    switch (Kind) {
    case 1: DrawCloseImage(C, X, Y, Color); break;
    case 2: DrawMinimizeImage(C, X, Y, Color); break;
    case 3: DrawMaximizeImage(C, X, Y, Color); break;
    case 4: DrawRestoreImage(C, X, Y, Color); break;
    case 5: DrawRollUpImage(C, X, Y, Color); break;
    case 6: DrawMinimizeToTrayImage(C, X, Y, Color); break;
    default: break;
    }
}

// The caption without its first and last character.
String HeaderText(const String& Caption)
{
    int N = CharCount(Caption);
    if (N < 2) return String();
    size_t Start = 1;  // the first character is '-'
    size_t End = Caption.size() - 1;
    return Caption.substr(Start, End - Start);
}

}  // namespace

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem)
{
    if (!MI) return;
    TbsSkinData* SD = Parent->SD;
    int Index = MI->ActivePictureIndex;
    if (SD && Index >= 0 && Index < int(SD->FActivePictures.size())) ActivePicture = SD->FActivePictures[size_t(Index)].get();
    // an item without a usable picture is drawn in the default look (the shared skin
    // record is left as it is)
    if (!ActivePicture) MI = nullptr;
}

// ---- kinds --------------------------------------------------------------------------------

bool TbsSkinMenuItem::IsSeparator() const { return MenuItem->Caption() == "-"; }

bool TbsSkinMenuItem::IsHeader() const
{
    const String& C = MenuItem->Caption();
    return !C.empty() && C != "-" && C.front() == '-' && C.back() == '-' && !MenuItem->Enabled();
}

int TbsSkinMenuItem::SystemGlyph() const
{
    static const struct {
        const char* Name;
        int Kind;
    } Table[] = {{"BSF_CLOSE", 1},   {"TRAY_BSF_CLOSE", 1},   {"BSF_MINITEM", 2}, {"BSF_MAXITEM", 3},
                 {"BSF_RESTORE", 4}, {"TRAY_BSF_RESTORE", 4}, {"BSF_ROLLUP", 5},  {"BSF_MINTOTRAY", 6}};
    for (const auto& E : Table)
        if (MenuItem->Name() == E.Name) return E.Kind;
    return 0;
}

// ---- highlight and execution -------------------------------------------------------------

void TbsSkinMenuItem::MouseEnter(bool Kb)
{
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (auto& I : Parent->ItemList)
        if (I.get() != this && I->Down) {
            I->Down = false;
            I->ReDraw();
        }
    TbsSkinMenu* Chain = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        ReDraw();
    } else if (Down) {
        int Level = Chain->IndexOfPopup(Parent);
        if (Level + 2 < Chain->LevelCount()) Chain->Level(Level + 1)->CloseChildLevels();
    } else {
        ReDraw();
        Chain->ItemAction(Parent, this, false, Kb);
    }
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMenuItem::MouseLeave()
{
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down) ReDraw();
    TbsSkinMenu* Chain = Parent->ParentMenu;
    if (Chain->WItem == this) {
        Chain->WaitTimer->SetEnabled(false);
        Chain->WItem = nullptr;
    }
}

void TbsSkinMenuItem::MouseDown(int, int)
{
    WaitCommand = false;
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->ItemAction(Parent, this, true, false);
}

// ---- effects --------------------------------------------------------------------------------

bool TbsSkinMenuItem::EnableAnimation() const
{
    TbsSkinData* SD = Parent->SD;
    return MI && !IsEmptyRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && SD && !SD->Empty &&
           SD->EnableSkinEffects();
}

bool TbsSkinMenuItem::EnableMorphing() const
{
    TbsSkinData* SD = Parent->SD;
    return MI && MI->Morphing && SD && !SD->Empty && SD->EnableSkinEffects();
}

void TbsSkinMenuItem::ReDraw()
{
    TTimer* T = Parent->MorphTimer;
    if (MI && EnableAnimation()) {
        if (int(T->Interval()) != MI->AnimateInterval && MI->AnimateInterval > 0) T->SetInterval(UINT(MI->AnimateInterval));
        if (!MI->InActiveAnimation && !Active) {
            CurrentFrame = 0;
            Draw(Parent->Canvas());
        } else {
            T->SetEnabled(true);
        }
    } else if (MI && EnableMorphing()) {
        if (T->Interval() != 20) T->SetInterval(20);
        T->SetEnabled(true);
    } else {
        Draw(Parent->Canvas());
    }
}

bool TbsSkinMenuItem::CanMorphing()
{
    if (!FVisible && FMorphKf != 0) {
        Active = Down = false;
        FMorphKf = 0;
    }
    bool S = Active || Down;
    return FVisible && ((S && FMorphKf < 1) || (!S && FMorphKf > 0));
}

void TbsSkinMenuItem::DoMorphing()
{
    SetMorphKf(Active || Down ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Draw(Parent->Canvas());
}

void TbsSkinMenuItem::SetMorphKf(double Value)
{
    FMorphKf = Value < 0 ? 0 : Value > 1 ? 1 : Value;
    // five steps of 0.2 must land on the ends exactly
    if (FMorphKf > 0.999) FMorphKf = 1;
    if (FMorphKf < 0.001) FMorphKf = 0;
}

TRect TbsSkinMenuItem::FrameRect(int K) const
{
    const TRect& A = MI->AnimateSkinRect;
    if (HeightOfRect(A) > HeightOfRect(MI->SkinRect)) {
        int Step = HeightOfRect(A) / MI->FrameCount;
        return TRect(A.Left, A.Top + Step * (K - 1), A.Right, A.Top + Step * K);
    }
    int Step = WidthOfRect(A) / MI->FrameCount;
    return TRect(A.Left + Step * (K - 1), A.Top, A.Left + Step * K, A.Bottom);
}

// ---- choice of look ---------------------------------------------------------------------------

void TbsSkinMenuItem::Draw(TCanvas* Cnvs)
{
    if (!FVisible) return;
    if (!MI) return DefaultDraw(Cnvs);
    if (!Parent->ParentMenu->UseSkinSize()) return ResizeDraw(Cnvs);
    DrawOn(Cnvs, false);
}

void TbsSkinMenuItem::ResizeDraw(TCanvas* Cnvs)
{
    if (!FVisible) return;
    if (!MI) return DefaultDraw(Cnvs);
    DrawOn(Cnvs, true);
}

void TbsSkinMenuItem::DrawOn(TCanvas* Cnvs, bool AResized)
{
    auto B = std::make_unique<TBitmap>();
    if (IsSeparator()) {
        CreateDividerImage(B.get());
    } else {
        bool S = Active || Down;
        if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= MI->FrameCount) {
            CreateItemImage(B.get(), S, true, AResized);
        } else if (EnableMorphing()) {
            if (S && FMorphKf >= 1) {
                CreateItemImage(B.get(), true, false, AResized);
            } else if (S || FMorphKf != 0) {
                CreateItemImage(B.get(), false, false, AResized);
                TBitmap B2;
                CreateItemImage(&B2, true, false, AResized);
                if (B2.Width() == B->Width() && B2.Height() == B->Height() && B->Width() > 0 && B->Height() > 0)
                    bsMorphBitmaps(B.get(), &B2, FMorphKf, MI->MorphKind, B->Canvas());
            } else {
                CreateItemImage(B.get(), false, false, AResized);
            }
        } else {
            CreateItemImage(B.get(), S, false, AResized);
        }
    }
    if (B->Width() > 0 && B->Height() > 0) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

// ---- the default look --------------------------------------------------------------------------

void TbsSkinMenuItem::DefaultDraw(TCanvas* Cnvs)
{
    if (!FVisible) return;
    const int W = WidthOfRect(ObjectRect), H = HeightOfRect(ObjectRect);
    if (W <= 0 || H <= 0) return;
    TBitmap B(W, H);
    TCanvas* C = B.Canvas();
    TbsSkinMenu* Chain = Parent->ParentMenu;
    TCustomImageList* ImgL = Parent->ImgL;
    const int G = ImgL ? Parent->GlyphWidth : 19;
    const TRect R(2, 2, W - 2, H - 2);
    C->SetFont(Chain->DefaultMenuItemFont());
    C->Font()->SetCharset(MenuCharset(Chain));
    C->Brush()->SetStyle(bsSolid);
    const bool Sep = IsSeparator();
    TColor FC;
    if ((Active || Down) && !Sep) {
        C->Brush()->SetColor(RGB(193, 212, 243));
        C->FillRect(TRect(0, 0, W, H));
        FC = clWindowText;
    } else {
        C->Brush()->SetColor(clWindow);
        C->FillRect(TRect(0, 0, G, H));
        C->FillRect(TRect(G, 0, W, H));
        FC = MenuItem->Enabled() ? clWindowText : clBtnShadow;
    }
    C->Font()->SetColor(FC);
    if (Sep) {
        DrawFrame3D(C, TRect(0, H / 2, W, H / 2 + 1), clBtnShadow, clBtnShadow);
    } else if (IsHeader()) {
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(TRect(0, 0, W, H));
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(clBtnHighlight);
        TRect T = R;
        DrawWideText(C, HeaderText(MenuItem->Caption()), T, ItemTextFlags(Chain));
    } else {
        C->Brush()->SetStyle(bsClear);
        TRect T(R.Left + G, 0, R.Right - 19, 0);
        DrawWideText(C, MenuItem->Caption(), T, CenterFlags | DT_CALCRECT);
        MoveDown(T, HeightOfRect(R) / 2 + R.Top - T.Bottom / 2);
        T.Right += 2;
        DrawWideText(C, MenuItem->Caption(), T, ItemTextFlags(Chain));
        if (MenuItem->ShortCut() != 0) {
            String S = ShortCutToText(MenuItem->ShortCut());
            TRect M(0, 0, 0, 0);
            DrawWideText(C, S, M, CenterFlags | DT_CALCRECT);
            TRect K(R.Right - 19 - WidthOfRect(M), T.Top, R.Right - 19, T.Bottom);
            DrawWideText(C, S, K, ItemTextFlags(Chain));
        }
        if (HasSubMenu()) DrawMenuSubArrow(C, R.Right - 7, HeightOfRect(R) / 2 + R.Top - 4, FC);
        const bool HasBitmap = IsBitmapImage(MenuItem);
        const bool HasListImage =
            ImgL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < ImgL->Count();
        if (HasBitmap || HasListImage) {
            auto* Bmp = HasBitmap ? static_cast<TBitmap*>(MenuItem->Bitmap()) : nullptr;
            const int IW = Bmp ? Bmp->Width() : ImgL->Width(), IH = Bmp ? Bmp->Height() : ImgL->Height();
            const int X = R.Left + 2, Y = HeightOfRect(R) / 2 + R.Top - IH / 2;
            if (MenuItem->Checked()) {
                C->Brush()->SetStyle(bsClear);
                C->Pen()->SetColor(FC);
                C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
            }
            if (Bmp) C->Draw(X, Y, Bmp);
            else ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
        } else {
            const int X = R.Left + 2, Y = HeightOfRect(R) / 2 + R.Top - 4;
            if (int K = SystemGlyph()) DrawSystemGlyph(K, C, X, Y, FC);
            else if (MenuItem->Checked()) {
                if (MenuItem->RadioItem()) DrawMenuRadioDot(C, R.Left + 3, Y, FC);
                else DrawMenuCheckMark(C, R.Left + 3, Y, FC);
            }
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

// ---- the skinned looks -----------------------------------------------------------------------------

void TbsSkinMenuItem::CreateDividerImage(TBitmap* B)
{
    CreateHSkinImage(MI->DividerLO, MI->DividerRO, B, ActivePicture, MI->DividerRect, WidthOfRect(ObjectRect),
                     HeightOfRect(MI->DividerRect), MI->DividerStretchEffect);
}

void TbsSkinMenuItem::DrawSkinGlyph(TCanvas* C, const TRect& Src, const TRect& Dest)
{
    const int GW = WidthOfRect(Src), GH = HeightOfRect(Src);
    if (GW <= 0 || GH <= 0) return;
    TBitmap G(GW, GH);
    G.Canvas()->CopyRect(TRect(0, 0, GW, GH), ActivePicture->Canvas(), Src);
    G.SetTransparent(true);
    const int X = MaxOf(Dest.Left, WidthOfRect(Dest) / 2 + Dest.Left - GW / 2);
    const int Y = MaxOf(Dest.Top, HeightOfRect(Dest) / 2 + Dest.Top - GH / 2);
    C->Draw(X, Y, &G);
}

void TbsSkinMenuItem::CreateItemImage(TBitmap* B, bool S, bool AFrame, bool AResized)
{
    TbsSkinMenu* Chain = Parent->ParentMenu;
    TRect Src = S ? MI->ActiveSkinRect : MI->SkinRect;
    if (IsEmptyRect(Src)) Src = MI->SkinRect;
    if (AFrame) Src = FrameRect(CurrentFrame);
    const int W = WidthOfRect(ObjectRect), H = HeightOfRect(ObjectRect);
    bool Stretch;
    if (AResized) Stretch = true;
    else if (S) Stretch = MI->StretchEffect;
    else Stretch = MI->InActiveStretchEffect || (MI->StretchEffect && AFrame);

    if (!S && MI->InActiveTransparent && Parent->FPaintBuffer) {
        B->SetSize(W, H);
        B->Canvas()->CopyRect(TRect(0, 0, W, H), Parent->FPaintBuffer->Canvas(), ObjectRect);
    } else if (!AResized) {
        CreateHSkinImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, Src, W, HeightOfRect(Src), Stretch);
    } else {
        B->SetSize(W, H);
        const int SW = WidthOfRect(Src), SH = HeightOfRect(Src);
        CreateStretchSkinImage(B, ActivePicture, Src, TRect(MI->ItemLO, SH / 4, SW - MI->ItemRO, SH - SH / 4), true);
    }
    if (B->Width() <= 0 || B->Height() <= 0) return;

    TRect TR = MI->TextRct;
    TR.Right = B->Width() - (WidthOfRect(MI->SkinRect) - MI->TextRct.Right);
    TRect IR = MI->ImageRct;
    if (AResized) {
        TR.Bottom = B->Height() - (HeightOfRect(MI->SkinRect) - MI->TextRct.Bottom);
        if (!IsEmptyRect(IR)) IR.Bottom = B->Height() - (HeightOfRect(MI->SkinRect) - MI->ImageRct.Bottom);
    }
    TCustomImageList* ImgL = Parent->ImgL;
    int G = ImgL ? Parent->GlyphWidth : 16;
    if (!IsEmptyRect(MI->ImageRct)) G = 0;

    TCanvas* C = B->Canvas();
    C->Brush()->SetStyle(bsClear);
    if (Chain->UseSkinFont()) {
        C->Font()->SetName(MI->FontName);
        C->Font()->SetStyle(MI->FontStyle);
        C->Font()->SetHeight(MI->FontHeight);
    } else {
        C->SetFont(Chain->DefaultMenuItemFont());
    }
    C->Font()->SetCharset(MenuCharset(Chain));
    TColor FC = S ? MI->ActiveFontColor : MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor;
    C->Font()->SetColor(FC);

    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, TR, S);
        return;
    }
    if (IsHeader()) {
        DrawMenuHeader(C, TRect(0, 0, B->Width(), B->Height()), AResized);
        return;
    }
    const bool Odd = IsOddFontHeight(C);
    TRect T(TR.Left + G, 0, TR.Right - 16, 0);
    DrawWideText(C, MenuItem->Caption(), T, CenterFlags | DT_CALCRECT);
    MoveDown(T, HeightOfRect(TR) / 2 + TR.Top - T.Bottom / 2);
    T.Right += 2;
    if (Odd) T.Top -= 1;
    DrawWideText(C, MenuItem->Caption(), T, ItemTextFlags(Chain));
    if (MenuItem->ShortCut() != 0) {
        String SC = ShortCutToText(MenuItem->ShortCut());
        TRect M(0, 0, 0, 0);
        DrawWideText(C, SC, M, CenterFlags | DT_CALCRECT);
        TRect K(TR.Right - 16 - WidthOfRect(M), T.Top, TR.Right - 16, T.Bottom);
        if (Odd) K.Top -= 1;
        DrawWideText(C, SC, K, ItemTextFlags(Chain));
    }
    if (HasSubMenu()) {
        if (IsEmptyRect(MI->ArrowImageRect))
            DrawMenuSubArrow(C, TR.Right - 7, HeightOfRect(TR) / 2 + TR.Top - 4, FC);
        else
            DrawSkinGlyph(C, S ? MI->ActiveArrowImageRect : MI->ArrowImageRect,
                          TRect(TR.Right - WidthOfRect(MI->ArrowImageRect) - 5, TR.Top, TR.Right, TR.Bottom));
    }
    const bool HasBitmap = IsBitmapImage(MenuItem);
    const bool HasListImage = ImgL && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < ImgL->Count();
    if (MI->UseImageColor) FC = S ? MI->ActiveImageColor : MI->ImageColor;
    if (HasBitmap || HasListImage) {
        auto* Bmp = HasBitmap ? static_cast<TBitmap*>(MenuItem->Bitmap()) : nullptr;
        const int IW = Bmp ? Bmp->Width() : ImgL->Width(), IH = Bmp ? Bmp->Height() : ImgL->Height();
        int X, Y;
        if (IsEmptyRect(IR)) {
            X = TR.Left + 2;
            Y = HeightOfRect(TR) / 2 + TR.Top - IH / 2;
        } else {
            X = WidthOfRect(IR) / 2 + IR.Left - IW / 2;
            Y = HeightOfRect(IR) / 2 + IR.Top - IH / 2;
        }
        if (MenuItem->Checked()) {
            C->Brush()->SetStyle(bsClear);
            C->Pen()->SetColor(FC);
            C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
        }
        if (Bmp) C->Draw(X, Y, Bmp);
        else ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
        return;
    }
    TPoint P = IsEmptyRect(IR) ? TPoint(TR.Left + 2, HeightOfRect(TR) / 2 + TR.Top - 4)
                               : TPoint(WidthOfRect(IR) / 2 + IR.Left - 4, HeightOfRect(IR) / 2 + IR.Top - 4);
    TRect M = IsEmptyRect(IR) ? TRect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16, MI->TextRct.Bottom)
                              : IR;
    if (int K = SystemGlyph()) {
        DrawSystemGlyph(K, C, P.X, P.Y, FC);
    } else if (MenuItem->Checked() && MenuItem->RadioItem()) {
        if (IsEmptyRect(MI->RadioImageRect)) DrawMenuRadioDot(C, P.X, P.Y + 1, FC);
        else DrawSkinGlyph(C, S ? MI->ActiveRadioImageRect : MI->RadioImageRect, M);
    } else if (MenuItem->Checked()) {
        if (IsEmptyRect(MI->CheckImageRect)) DrawMenuCheckMark(C, P.X, P.Y, FC);
        else DrawSkinGlyph(C, S ? MI->ActiveCheckImageRect : MI->CheckImageRect, M);
    }
}

void TbsSkinMenuItem::DrawMenuHeader(TCanvas* C, TRect HR, bool AResized)
{
    TbsSkinData* SD = Parent->SD;
    if (!Parent->PW || !SD) return;
    int Index = SD->GetControlIndex("menuheader");
    if (Index == -1) Index = SD->GetControlIndex("label");
    if (Index == -1) return;
    auto* L = dynamic_cast<TbsDataSkinLabelControl*>(SD->CtrlList[size_t(Index)].get());
    if (!L || L->PictureIndex < 0 || L->PictureIndex >= int(SD->FActivePictures.size())) return;
    TBitmap* Pic = SD->FActivePictures[size_t(L->PictureIndex)].get();
    const String Text = HeaderText(MenuItem->Caption());
    const int SW = WidthOfRect(L->SkinRect), SH = HeightOfRect(L->SkinRect);
    TBitmap HB;
    TRect TR;
    if (!AResized) {
        CreateHSkinImage(L->LTPoint.X, SW - L->RTPoint.X, &HB, Pic, L->SkinRect, WidthOfRect(HR), SH, L->StretchEffect);
        TCanvas* HC = HB.Canvas();
        HC->Font()->SetName(L->FontName);
        HC->Font()->SetHeight(L->FontHeight);
        HC->Font()->SetStyle(L->FontStyle);
        HC->Font()->SetColor(L->FontColor);
        HC->Font()->SetCharset(C->Font()->Charset());
        TR = TRect(L->ClRect.Left, L->ClRect.Top, HB.Width() - (SW - L->ClRect.Right), HB.Height());
        if (IsOddFontHeight(HC)) TR.Top -= 1;
    } else {
        HB.SetSize(WidthOfRect(ObjectRect), HeightOfRect(ObjectRect));
        CreateStretchSkinImage(&HB, Pic, L->SkinRect, TRect(L->LTPoint.X, SH / 4, L->RTPoint.X, SH - SH / 4), true);
        TCanvas* HC = HB.Canvas();
        HC->SetFont(Parent->ParentMenu->DefaultMenuItemFont());
        HC->Font()->SetColor(L->FontColor);
        TR = TRect(L->ClRect.Left, L->ClRect.Top, HB.Width() - (SW - L->ClRect.Right),
                   HB.Height() - (SH - L->ClRect.Bottom));
        if (IsOddFontHeight(HC)) TR.Top -= 1;
        TRect M(0, 0, 0, 0);
        DrawWideText(HC, Text, M, CenterFlags | DT_CALCRECT);
        const int TH = HeightOfRect(M);
        TR.Top = HeightOfRect(TR) / 2 + TR.Top - TH / 2;
        TR.Bottom = TR.Top + TH;
    }
    if (HB.Width() <= 0 || HB.Height() <= 0) return;
    HB.Canvas()->Brush()->SetStyle(bsClear);
    DrawWideText(HB.Canvas(), Text, TR, ItemTextFlags(Parent->ParentMenu));
    if (!AResized) C->Draw(HR.Left, HeightOfRect(HR) / 2 + HR.Top - HB.Height() / 2, &HB);
    else C->Draw(HR.Left, HR.Top, &HB);
}
