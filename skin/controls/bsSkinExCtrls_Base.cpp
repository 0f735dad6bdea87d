// The graphic skin control bases: the record lookup, the off-screen paint, and the
// control whose size follows its nine-piece skin picture.
#include "skin/controls/bsSkinExCtrls.h"

#include "platform/graphics/ImgList.h"

// ---- TbsGraphicSkinControl ------------------------------------------------------------------

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value)
{
    bsSetLink(this, FSD, Value);
    if (Value && !Value->Empty && !IsDesigning()) ChangeSkinData();
}

void TbsGraphicSkinControl::SetHintImageList(TCustomImageList* Value)
{
    bsSetLink(this, FHintImageList, Value);
}

void TbsGraphicSkinControl::GetSkinData()
{
    if (!FSD || FSD->Empty) FIndex = -1;
    else FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsGraphicSkinControl::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TbsGraphicSkinControl::BeforeChangeSkinData() { FIndex = -1; }

TbsSkinColors* TbsGraphicSkinControl::SkinColors() const
{
    return FIndex != -1 && FSD ? FSD->FSkinColors.get() : nullptr;
}

bool TbsGraphicSkinControl::SkinEffectsOn() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

void TbsGraphicSkinControl::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TBitmap B(Width(), Height());
    if (FIndex == -1) CreateControlDefaultImage(&B);
    else CreateControlSkinImage(&B);
    Canvas()->Draw(0, 0, &B);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

// ---- TbsGraphicSkinCustomControl ------------------------------------------------------------

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    FDefaultFont->OnChange = [this](TObject*) {
        DefaultFontChanged();
        if (FIndex == -1) Repaint();
    };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    DefaultFontChanged();
}

void TbsGraphicSkinCustomControl::GetSkinData()
{
    TbsGraphicSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[FIndex].get());
    if (!R) {
        ResizeMode = 0;
        Picture = nullptr;
        return;
    }
    LTPt = R->LTPoint;
    RTPt = R->RTPoint;
    LBPt = R->LBPoint;
    RBPt = R->RBPoint;
    SkinRect = R->SkinRect;
    ClRect = R->ClRect;
    StretchEffect = R->StretchEffect;
    StretchType = R->StretchType;
    LeftStretch = R->LeftStretch;
    TopStretch = R->TopStretch;
    RightStretch = R->RightStretch;
    BottomStretch = R->BottomStretch;
    Picture = FSD->ActivePicture(R->PictureIndex);
    if (IsEmptyRect(SkinRect)) ResizeMode = -1;
    else if (RBPt.X != 0 && RBPt.Y != 0) ResizeMode = 1;
    else if (RTPt.X != 0 || RTPt.Y != 0) ResizeMode = 2;
    else if (LBPt.X != 0 || LBPt.Y != 0) ResizeMode = 3;
    else ResizeMode = 0;
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(ClientRect());
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) { CreateSkinImageOf(B, SkinRect); }

void TbsGraphicSkinCustomControl::CreateSkinImageOf(TBitmap* B, const TRect& Source)
{
    if (!Picture || Picture->Empty()) return;
    switch (ResizeMode) {
    case 0: bsCopyPicturePart(B, Picture, Source); break;
    case 1:
        CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B,
                        Picture, Source, Width(), Height(), true, LeftStretch, TopStretch, RightStretch,
                        BottomStretch, StretchEffect, StretchType);
        break;
    case 2:
        CreateHSkinImage(LTPt.X, Source.Width() - RTPt.X, B, Picture, Source, Width(), Height(), StretchEffect);
        break;
    case 3:
        CreateVSkinImage(LTPt.Y, Source.Height() - LBPt.Y, B, Picture, Source, Width(), Height(), StretchEffect);
        break;
    default: break;
    }
}

void TbsGraphicSkinCustomControl::CalcSize(int& AWidth, int& AHeight)
{
    if (FIndex == -1 || ResizeMode == -1) return;
    if (ResizeMode == 0) {
        AWidth = SkinRect.Width();
        AHeight = SkinRect.Height();
        NewClRect = ClRect;
        return;
    }
    const int dx = AWidth - SkinRect.Width(), dy = AHeight - SkinRect.Height();
    NewLTPoint = LTPt;
    switch (ResizeMode) {
    case 1:
        NewRTPoint = TPoint(RTPt.X + dx, RTPt.Y);
        NewLBPoint = TPoint(LBPt.X, LBPt.Y + dy);
        NewRBPoint = TPoint(RBPt.X + dx, RBPt.Y + dy);
        NewClRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy);
        break;
    case 2:
        AHeight = SkinRect.Height();
        NewRTPoint = TPoint(RTPt.X + dx, RTPt.Y);
        NewClRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom);
        break;
    case 3:
        AWidth = SkinRect.Width();
        NewLBPoint = TPoint(LBPt.X, LBPt.Y + dy);
        NewClRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dy);
        break;
    }
}

void TbsGraphicSkinCustomControl::ChangeSkinData()
{
    GetSkinData();
    if (FIndex == -1) {
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
        Repaint();
        return;
    }
    int W = Width(), H = Height();
    CalcSize(W, H);
    const bool Sized = W != Width() || H != Height();
    if (W != Width()) SetWidth(W);
    if (H != Height()) SetHeight(H);
    if (!Sized) Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    const bool Sized = FIndex != -1 && (AWidth != Width() || AHeight != Height());
    if (Sized) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    bsCenterInToolBar(this, ATop, AHeight);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Sized) Repaint();
}

void bsCenterInToolBar(TControl* Control, int& ATop, int AHeight)
{
    auto* TB = dynamic_cast<TbsSkinToolBar*>(Control->Parent());
    if (!TB || !TB->AdjustControls()) return;
    const TRect R = TB->SkinClientRect();
    ATop = R.Top + R.Height() / 2 - AHeight / 2;
}
