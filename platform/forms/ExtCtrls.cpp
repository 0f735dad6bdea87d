// TBevel, TImage, TCustomPanel and TCustomRadioGroup.
#include "platform/forms/ExtCtrls.h"

#include <algorithm>

// ---- TBevel -------------------------------------------------------------------------------------
TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csReplicatable);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape V)
{
    if (FShape == V) return;
    FShape = V;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle V)
{
    if (FStyle == V) return;
    FStyle = V;
    Invalidate();
}

void TBevel::Paint()
{
    HDC DC = FPaintDC;
    TColor A = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor B = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    int W = FWidth, H = FHeight;
    auto HLine = [&](int Y, TColor C1, TColor C2) {
        FillSolid(DC, {0, Y, W, Y + 1}, C1);
        FillSolid(DC, {0, Y + 1, W, Y + 2}, C2);
    };
    auto VLine = [&](int X, TColor C1, TColor C2) {
        FillSolid(DC, {X, 0, X + 1, H}, C1);
        FillSolid(DC, {X + 1, 0, X + 2, H}, C2);
    };
    switch (FShape) {
    case bsBox:
        DrawEdgeFrame(DC, {0, 0, W, H}, FStyle == bsLowered, 1);
        break;
    case bsFrame: {
        // two offset rectangles: the groove (lowered) or the ridge (raised)
        HBRUSH Ba = CreateSolidBrush(COLORREF(ColorToRGB(A))), Bb = CreateSolidBrush(COLORREF(ColorToRGB(B)));
        TRect R1{0, 0, W - 1, H - 1}, R2{1, 1, W, H};
        FrameRect(DC, &R2, Bb);
        FrameRect(DC, &R1, Ba);
        DeleteObject(Ba);
        DeleteObject(Bb);
        break;
    }
    case bsTopLine: HLine(0, A, B); break;
    case bsBottomLine: HLine(H - 2, A, B); break;
    case bsLeftLine: VLine(0, A, B); break;
    case bsRightLine: VLine(W - 2, A, B); break;
    case bsSpacer: break;
    }
}

// ---- TImage -------------------------------------------------------------------------------------
TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture)
{
    FControlStyle.Include(csReplicatable);
    FPicture->OnChange = [this](TObject* S) { PictureChanged(S); };
    FWidth = 105;
    FHeight = 105;
}

TImage::~TImage()
{
    FPicture->OnChange = nullptr;
}

void TImage::PictureChanged(TObject*)
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0) SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
    if (TGraphic* G = FPicture->Graphic()) {
        if (FTransparent != G->Transparent()) G->SetTransparent(FTransparent);
        if (G->Transparent()) FControlStyle.Exclude(csOpaque);
        else FControlStyle.Include(csOpaque);
    }
    Invalidate();
}

void TImage::SetStretch(bool V)
{
    FStretch = V;
    Invalidate();
}

void TImage::SetCenter(bool V)
{
    FCenter = V;
    Invalidate();
}

void TImage::SetProportional(bool V)
{
    FProportional = V;
    Invalidate();
}

void TImage::SetTransparent(bool V)
{
    FTransparent = V;
    if (TGraphic* G = FPicture->Graphic()) G->SetTransparent(V);
    if (V) FControlStyle.Exclude(csOpaque);
    Invalidate();
}

void TImage::SetAutoSize(bool V)
{
    TGraphicControl::SetAutoSize(V);
    PictureChanged(nullptr);
}

TRect TImage::DestRect() const
{
    int W = FPicture->Width(), H = FPicture->Height(), CW = FWidth, CH = FHeight;
    if (FStretch || (FProportional && (W > CW || H > CH))) {
        if (FProportional && W > 0 && H > 0) {
            double S = std::min(double(CW) / W, double(CH) / H);
            W = int(W * S);
            H = int(H * S);
        } else {
            W = CW;
            H = CH;
        }
    }
    int X = 0, Y = 0;
    if (FCenter) {
        X = (CW - W) / 2;
        Y = (CH - H) / 2;
    }
    return Bounds(X, Y, W, H);
}

void TImage::Paint()
{
    if (TGraphic* G = FPicture->Graphic(); G && !G->Empty()) Canvas()->StretchDraw(DestRect(), G);
}

// ---- TCustomPanel -------------------------------------------------------------------------------
TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable};
    FWidth = 185;
    FHeight = 41;
    FColor = clBtnFace;
}

void TCustomPanel::SetBevelInner(TPanelBevel V)
{
    FBevelInner = V;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel V)
{
    FBevelOuter = V;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(TBevelWidth V)
{
    FBevelWidth = std::max(1, V);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int V)
{
    FBorderWidth = std::max(0, V);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle V)
{
    FBorderStyle = V;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment V)
{
    FAlignment = V;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool V)
{
    FShowCaption = V;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& R)
{
    int B = FBorderWidth + (FBorderStyle == bsSingle ? 1 : 0);
    if (FBevelOuter != TPanelBevel::bvNone) B += FBevelWidth;
    if (FBevelInner != TPanelBevel::bvNone) B += FBevelWidth;
    R = {R.Left + B, R.Top + B, std::max(R.Left + B, R.Right - B), std::max(R.Top + B, R.Bottom - B)};
}

void TCustomPanel::Paint()
{
    HDC DC = FPaintDC;
    TRect R = ClientRect();
    FillSolid(DC, R, FColor);
    if (FBorderStyle == bsSingle) {
        HBRUSH B = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(DC, &R, B);
        DeleteObject(B);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
    auto Bevel = [&](TPanelBevel V) {
        if (V == TPanelBevel::bvNone) return;
        if (V != TPanelBevel::bvSpace)
            for (int I = 0; I < FBevelWidth; ++I) {
                DrawEdgeFrame(DC, R, V == TPanelBevel::bvLowered, 1);
                R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
            }
        else R = {R.Left + FBevelWidth, R.Top + FBevelWidth, R.Right - FBevelWidth, R.Bottom - FBevelWidth};
    };
    Bevel(FBevelOuter);
    R = {R.Left + FBorderWidth, R.Top + FBorderWidth, R.Right - FBorderWidth, R.Bottom - FBorderWidth};
    Bevel(FBevelInner);
    if (FShowCaption && !Caption().empty()) {
        int Saved = SaveDC(DC);
        SelectObject(DC, Font()->Handle());
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
        DrawItemText(DC, Caption(), R, FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT);
        RestoreDC(DC, Saved);
    }
}

void TCustomPanel::Dispatch(TMessage& M)
{
    if (M.Msg == CM_TEXTCHANGED) Invalidate();
    TCustomControl::Dispatch(M);
}

// ---- TCustomRadioGroup --------------------------------------------------------------------------
TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomControl(AOwner), FItems(new TStringList)
{
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    FWidth = 185;
    FHeight = 105;
    FItems->OnChange = [this](TObject*) {
        if (!FUpdating) UpdateButtons();
    };
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    FItems->OnChange = nullptr;
    DestroyComponents();
}

void TCustomRadioGroup::SetItemIndex(int V)
{
    if (V < -1 || V >= int(FButtons.size())) V = -1;
    if (V == FItemIndex) return;
    FUpdating = true;
    if (V < 0) {
        for (TRadioButton* B : FButtons) B->SetChecked(false);
    } else {
        FButtons[size_t(V)]->SetChecked(true);
    }
    FUpdating = false;
    FItemIndex = V;
}

void TCustomRadioGroup::SetColumns(int V)
{
    FColumns = std::clamp(V, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::ButtonClick(TObject* Sender)
{
    if (FUpdating) return;
    auto It = std::find(FButtons.begin(), FButtons.end(), Sender);
    if (It == FButtons.end() || !(*It)->Checked()) return;
    FItemIndex = int(It - FButtons.begin());
    Click();
}

void TCustomRadioGroup::UpdateButtons()
{
    FUpdating = true;
    while (int(FButtons.size()) > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (int(FButtons.size()) < FItems->Count()) {
        auto* B = new TRadioButton(this);
        B->OnClick = [this](TObject* S) { ButtonClick(S); };
        B->SetParent(this);
        FButtons.push_back(B);
    }
    for (int I = 0; I < FItems->Count(); ++I) {
        FButtons[size_t(I)]->SetCaption(FItems->Strings(I));
        FButtons[size_t(I)]->SetChecked(I == FItemIndex);
    }
    if (FItemIndex >= int(FButtons.size())) FItemIndex = -1;
    FUpdating = false;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons()
{
    int N = int(FButtons.size());
    if (!N) return;
    int Rows = (N + FColumns - 1) / FColumns;
    int Top = 16, W = std::max(1, (FWidth - 16) / FColumns), H = std::max(1, (FHeight - Top - 4) / Rows);
    for (int I = 0; I < N; ++I)
        FButtons[size_t(I)]->SetBounds(8 + (I / Rows) * W, Top + (I % Rows) * H, W, std::min(H, 20));
}

void TCustomRadioGroup::Paint()
{
    HDC DC = FPaintDC;
    FillSolid(DC, ClientRect(), FColor);
    int Saved = SaveDC(DC);
    SelectObject(DC, Font()->Handle());
    TSize S;
    String C = Caption();
    GetTextExtentPoint32(DC, C.c_str(), int(C.size()), &S);
    int Y = S.cy / 2;
    TRect Frame{0, Y, FWidth, FHeight};
    DrawEdgeFrame(DC, Frame, true, 1);
    DrawEdgeFrame(DC, {Frame.Left + 1, Frame.Top + 1, Frame.Right, Frame.Bottom}, false, 1);
    if (!C.empty()) {
        FillSolid(DC, {6, 0, 6 + S.cx + 4, S.cy}, FColor);
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
        TextOut(DC, 8, 0, C.c_str(), int(C.size()));
    }
    RestoreDC(DC, Saved);
}

void TCustomRadioGroup::Dispatch(TMessage& M)
{
    if (M.Msg == CM_TEXTCHANGED) Invalidate();
    TCustomControl::Dispatch(M);
    if (M.Msg == WM_SIZE) ArrangeButtons();
}
