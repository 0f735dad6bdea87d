// The windowed bases of the skinned controls: the skin link and lookup, off-screen
// painting, sizing to the skin picture and the window region from its mask.
#include "skin/controls/bsSkinCtrls.h"

void bsNotifyChildrenParentBackground(TWinControl* AParent)
{
    if (!AParent) return;
    for (int I = 0; I < AParent->ControlCount(); ++I) {
        TControl* C = AParent->Controls(I);
        auto* W = dynamic_cast<TWinControl*>(C);
        if (W && W->HandleAllocated())
            SendMessage(W->Handle(), ParentBackgroundChanged, 0, 0);
        else
            C->Perform(ParentBackgroundChanged, 0, 0);
    }
}

void bsFillWithPiece(TCanvas* C, TBitmap* Piece, const TRect& Area, bool Stretch, TbsStretchType Type)
{
    const int PW = Piece->Width(), PH = Piece->Height();
    if (PW <= 0 || PH <= 0) return;
    const int AW = Area.Width(), AH = Area.Height();
    if (Stretch) {
        if (Area.IsEmpty()) return;
        switch (Type) {
        case bsstFull: C->StretchDraw(Area, Piece); break;
        case bsstHorz: {
            TBitmap Strip;
            Strip.SetSize(PW, AH);
            Strip.Canvas()->StretchDraw(Rect(0, 0, PW, AH), Piece);
            for (int I = 0; I < AW / PW + 1; ++I) C->Draw(Area.Left + I * PW, Area.Top, &Strip);
            break;
        }
        case bsstVert: {
            TBitmap Strip;
            Strip.SetSize(AW, PH);
            Strip.Canvas()->StretchDraw(Rect(0, 0, AW, PH), Piece);
            for (int I = 0; I < AH / PH + 1; ++I) C->Draw(Area.Left, Area.Top + I * PH, &Strip);
            break;
        }
        }
        return;
    }
    for (int Y = 0; Y < AH / PH + 1; ++Y)
        for (int X = 0; X < AW / PW + 1; ++X) C->Draw(Area.Left + X * PW, Area.Top + Y * PH, Piece);
}

void bsCopyPicturePart(TBitmap* Dest, TBitmap* Picture, const TRect& R)
{
    Dest->SetSize(R.Width(), R.Height());
    if (Picture && !R.IsEmpty()) Dest->Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), Picture->Canvas(), R);
}

// ---- TbsSkinControl --------------------------------------------------------------------------

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    // a press keeps the mouse until it is released, as on every control of the class library
    FControlStyle.Include(csCaptureMouse);
}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
    if (Value && !Value->Empty && !IsDesigning()) ChangeSkinData();
}

void TbsSkinControl::SetSkinDataName(const String& Value) { FSkinDataName = Value; }

void TbsSkinControl::SetHintImageList(TCustomImageList* Value)
{
    FHintImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinControl::GetSkinData()
{
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsSkinControl::CreateControlDefaultImage(TBitmap*) {}
void TbsSkinControl::CreateControlSkinImage(TBitmap*) {}

void TbsSkinControl::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TbsSkinControl::BeforeChangeSkinData() { FIndex = -1; }

void TbsSkinControl::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&B);
    else
        CreateControlSkinImage(&B);
    Canvas()->Draw(0, 0, &B);
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TbsSkinControl::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PAINT:
        FromWMPaint = true;
        TCustomControl::Dispatch(M);
        FromWMPaint = false;
        return;
    case WM_ERASEBKGND:
        M.Result = 1;
        return;
    case ParentBackgroundChanged:
        CheckParentBackground();
        return;
    }
    TCustomControl::Dispatch(M);
}

// ---- TbsSkinCustomControl --------------------------------------------------------------------

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject* S) { DefaultFontChange(S); };
}

TbsSkinCustomControl::~TbsSkinCustomControl() { FDefaultFont->OnChange = nullptr; }

void TbsSkinCustomControl::DefaultFontChange(TObject*)
{
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
}

void TbsSkinCustomControl::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    DefaultFontChanged();
}

void TbsSkinCustomControl::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomControl::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

int TbsSkinCustomControl::GetResizeMode(const TRect& SR, TPoint RT, TPoint LB, TPoint RB)
{
    if (SR.Width() <= 0 || SR.Height() <= 0) return -1;
    if (RB.X != 0 && RB.Y != 0) return 1;
    if (RT.X != 0 || RT.Y != 0) return 2;
    if (LB.X != 0 || LB.Y != 0) return 3;
    return 0;
}

void TbsSkinCustomControl::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* R = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[size_t(FIndex)].get());
    if (!R) {
        ResizeMode = 0;
        Picture = nullptr;
        MaskPicture = nullptr;
        return;
    }
    LTPt = R->LTPoint;
    RTPt = R->RTPoint;
    LBPt = R->LBPoint;
    RBPt = R->RBPoint;
    SkinRect = R->SkinRect;
    StretchEffect = R->StretchEffect;
    StretchType = R->StretchType;
    LeftStretch = R->LeftStretch;
    TopStretch = R->TopStretch;
    RightStretch = R->RightStretch;
    BottomStretch = R->BottomStretch;
    ClRect = R->ClRect;
    Picture = R->PictureIndex != -1 ? FSD->ActivePicture(R->PictureIndex) : nullptr;
    MaskPicture = R->MaskPictureIndex != -1 ? FSD->ActivePicture(R->MaskPictureIndex) : nullptr;
    ResizeMode = GetResizeMode(SkinRect, RTPt, LBPt, RBPt);
}

void TbsSkinCustomControl::CalcSize(int& AWidth, int& AHeight)
{
    if (ResizeMode < 1) {
        if (FIndex != -1 && ResizeMode == 0) {
            AWidth = SkinRect.Width();
            AHeight = SkinRect.Height();
            NewClRect = ClRect;
        }
        return;
    }
    const int dx = AWidth - SkinRect.Width();
    const int dy = AHeight - SkinRect.Height();
    NewLTPoint = LTPt;
    switch (ResizeMode) {
    case 1:
        NewRTPoint = Point(RTPt.X + dx, RTPt.Y);
        NewLBPoint = Point(LBPt.X, LBPt.Y + dy);
        NewRBPoint = Point(RBPt.X + dx, RBPt.Y + dy);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy);
        break;
    case 2:
        AHeight = SkinRect.Height();
        NewRTPoint = Point(RTPt.X + dx, RTPt.Y);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom);
        break;
    case 3:
        AWidth = SkinRect.Width();
        NewLBPoint = Point(LBPt.X, LBPt.Y + dy);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dy);
        break;
    }
}

void TbsSkinCustomControl::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(ClientRect());
}

void TbsSkinCustomControl::CreateControlSkinImage(TBitmap* B) { BuildSkinImage(B, Picture, SkinRect); }

void TbsSkinCustomControl::BuildSkinImage(TBitmap* B, TBitmap* APicture, const TRect& R)
{
    if (!APicture) return;
    switch (ResizeMode) {
    case 0: bsCopyPicturePart(B, APicture, R); break;
    case 1:
        if (!FForceBackground)
            CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                            B, APicture, R, Width(), Height(), true, LeftStretch, TopStretch, RightStretch,
                            BottomStretch, StretchEffect, StretchType);
        break;
    case 2:
        CreateHSkinImage(LTPt.X, SkinRect.Width() - RTPt.X, B, APicture, R, Width(), Height(), StretchEffect);
        break;
    case 3:
        CreateVSkinImage(LTPt.Y, SkinRect.Height() - LBPt.Y, B, APicture, R, Width(), Height(), StretchEffect);
        break;
    default: break;
    }
}

void TbsSkinCustomControl::ChangeSkinData()
{
    GetSkinData();
    bool Changed = false;
    if (FIndex == -1) {
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else {
        int W = Width(), H = Height();
        CalcSize(W, H);
        if (W != Width() || H != Height()) {
            Changed = true;
            if (W != Width()) SetWidth(W);
            if (H != Height()) SetHeight(H);
        }
    }
    if (!Changed) {
        SetControlRegion();
        Repaint();
    }
}

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    const bool Changed = FIndex != -1 && (AWidth != Width() || AHeight != Height());
    if (Changed) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    CenterInToolBar(ATop, AHeight);
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Changed) {
        SetControlRegion();
        Repaint();
    }
    if (FIndex != -1 && StretchEffect) NotifyChildrenParentBackground();
}

void TbsSkinCustomControl::CreateWnd()
{
    TbsSkinControl::CreateWnd();
    if (FIndex != -1 && MaskPicture) BuildControlRegion();
}

void TbsSkinCustomControl::SetControlRegion()
{
    if (!Parent()) return;
    if (!MaskPicture || FIndex == -1) {
        if (FRgn) {
            if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, true);
            FRgn = nullptr;
        }
        return;
    }
    BuildControlRegion();
}

void TbsSkinCustomControl::BuildControlRegion()
{
    if (!HandleAllocated() || !MaskPicture) return;
    int W = Width(), H = Height();
    CalcSize(W, H);
    HRGN Rgn = nullptr;
    switch (ResizeMode) {
    case 0: CreateRgnFromMask(Rgn, MaskPicture); break;
    case 1:
        CreateSkinRegion(Rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                         NewClRect, MaskPicture, Width(), Height());
        break;
    case 2: {
        const TPoint NewRT(RTPt.X + Width() - SkinRect.Width(), RTPt.Y);
        CreateSkinRegion(Rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, NewRT, LTPt, NewRT, NewClRect, MaskPicture,
                         Width(), Height());
        break;
    }
    case 3: {
        const TPoint NewLB(LBPt.X, LBPt.Y + Height() - SkinRect.Height());
        CreateSkinRegion(Rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, NewLB, NewLB, NewClRect, MaskPicture,
                         Width(), Height());
        break;
    }
    default: break;
    }
    // The window owns the region from now on; a region given before is freed by it.
    FRgn = Rgn;
    SetWindowRgn(Handle(), Rgn, true);
}

void TbsSkinCustomControl::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    int W = Width(), H = Height();
    CalcSize(W, H);
    if (FIndex == -1 || !FForceBackground || ResizeMode != 1) {
        TbsSkinControl::Paint();
        return;
    }
    PaintForcedBackground();
}

void TbsSkinCustomControl::PaintForcedBackground()
{
    if (!Picture) return;
    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                           &LeftB, &TopB, &RightB, &BottomB, Picture, SkinRect, Width(), Height(), LeftStretch,
                           TopStretch, RightStretch, BottomStretch);
    CreateControlSkinImage(&TopB);
    TCanvas* C = Canvas();
    if (FDrawbackground) {
        TBitmap Piece;
        TRect Src = ClRect;
        Src.Left += SkinRect.Left;
        Src.Right += SkinRect.Left;
        Src.Top += SkinRect.Top;
        Src.Bottom += SkinRect.Top;
        bsCopyPicturePart(&Piece, Picture, Src);
        HDC DC = C->Handle();
        const int Saved = SaveDC(DC);
        IntersectClipRect(DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
        if (!StretchEffect || !NewClRect.IsEmpty()) bsFillWithPiece(C, &Piece, NewClRect, StretchEffect, StretchType);
        RestoreDC(DC, Saved);
    }
    C->Draw(0, 0, &TopB);
    C->Draw(0, TopB.Height(), &LeftB);
    C->Draw(Width() - RightB.Width(), TopB.Height(), &RightB);
    C->Draw(0, Height() - BottomB.Height(), &BottomB);
}

TRect TbsSkinCustomControl::TranslateSkinRect(const TRect& R) const
{
    const int dw = Width() - SkinRect.Width();
    const int dh = Height() - SkinRect.Height();
    TRect Res = R;
    auto Move = [](TRect& X, int DX, int DY) {
        X.Left += DX;
        X.Right += DX;
        X.Top += DY;
        X.Bottom += DY;
    };
    switch (ResizeMode) {
    case 1: {
        const int SW = SkinRect.Width(), SH = SkinRect.Height();
        const TRect LT(0, 0, LTPt.X, LTPt.Y), LB(0, LBPt.Y, LBPt.X, SH), RT(RTPt.X, 0, SW, RTPt.Y),
            RB(RBPt.X, RBPt.Y, SW, SH);
        // inside: both corners in the area, right and bottom edges excluded
        auto In = [&R](const TRect& A) { return A.Contains(R.TopLeft()) && A.Contains(R.BottomRight()); };
        auto At = [](const TRect& A, TPoint P) { return IsPointInRect(A, P); };
        const TPoint TL = R.TopLeft(), BR = R.BottomRight();
        if (In(LT)) {
        } else if (In(RT)) {
            Move(Res, dw, 0);
        } else if (In(LB)) {
            Move(Res, 0, dh);
        } else if (In(RB)) {
            Move(Res, dw, dh);
        } else if (At(LT, TL) && At(RB, BR)) {
            Res.Right += dw;
            Res.Bottom += dh;
        } else if (At(LT, TL) && At(RT, BR)) {
            Res.Right += dw;
        } else if (At(LB, TL) && At(RB, BR)) {
            Res.Right += dw;
            Move(Res, 0, dh);
        } else if (At(LT, TL) && At(LB, BR)) {
            Res.Bottom += dh;
        } else if (At(RT, TL) && At(RB, BR)) {
            Move(Res, dw, 0);
            Res.Bottom += dh;
        }
        break;
    }
    case 2:
        if (R.Left <= LTPt.X && R.Right >= RTPt.X)
            Res.Right += dw;
        else if (R.Left >= RTPt.X && !R.IsEmpty())
            Move(Res, dw, 0);
        break;
    case 3:
        if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
            Res.Bottom += dh;
        else if (R.Top >= LBPt.Y && !R.IsEmpty())
            Move(Res, 0, dh);
        break;
    default: break;
    }
    return Res;
}

void TbsSkinCustomControl::ApplyCharset(TCanvas* C)
{
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(FDefaultFont->Charset());
}

void TbsSkinCustomControl::ApplyDefaultFont(TCanvas* C)
{
    C->Font()->Assign(FDefaultFont.get());
    ApplyCharset(C);
}

bool TbsSkinCustomControl::CanSkinEffects() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }


void TbsSkinControl::PaintControlTo(HDC DC)
{
    if (!DC) return;
    FCanvas->PaintOn(DC, FPaintDC, [this] { Paint(); });
}

bool TbsSkinControl::FocusBeforeClick()
{
    if (Focused() || IsDesigning()) return true;
    FClicksDisabled = true;
    if (CanFocus()) SetFocus();
    FClicksDisabled = false;
    return Focused();
}

// ---- TbsTicker ---------------------------------------------------------------------------------

TbsTicker::TbsTicker(TComponent*, std::function<void()> AOnTick)
    : FTimer(new TTimer(nullptr)), FOnTick(std::move(AOnTick))
{
    FTimer->SetEnabled(false);
    FTimer->SetOnTimer([this](TObject*) {
        if (FTimer->Enabled() && FOnTick) FOnTick();
    });
}

TbsTicker::~TbsTicker() { delete FTimer; }

void TbsTicker::Start(unsigned Interval)
{
    FTimer->SetEnabled(false);
    FTimer->SetInterval(Interval);
    FTimer->SetEnabled(true);
}

void TbsTicker::SetInterval(unsigned Interval) { FTimer->SetInterval(Interval); }
void TbsTicker::Stop() { FTimer->SetEnabled(false); }
bool TbsTicker::Running() const { return FTimer->Enabled(); }
