// The client backgrounds of a skinned form: the client part of the frame picture, or a
// picture of the skin, stretched or tiled over the client area; button face without a
// skin; the logo picture in the middle.
#include "skin/frame/bsSkinFormFrame.h"

namespace {

// A canvas on a device context for the length of one painting.
class TDCCanvas {
public:
    explicit TDCCanvas(HDC DC) { C.SetHandle(DC); }
    ~TDCCanvas() { C.SetHandle(nullptr); }
    TCanvas C;
};

}  // namespace

void TbsSkinFormFrame::DrawLogo(TCanvas* Canvas)
{
    if (FLogoBitMap->Empty()) return;
    int X = std::max(0, FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2);
    int Y = std::max(0, FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2);
    if (FLogoBitMap->Transparent() != FLogoBitMapTransparent) FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
    Canvas->Draw(X, Y, FLogoBitMap.get());
}

void TbsSkinFormFrame::PaintBGDefault(HDC DC)
{
    if (!DC) return;
    TDCCanvas K(DC);
    K.C.Brush()->SetColor(clBtnFace);
    K.C.FillRect(FForm->ClientRect());
    DrawLogo(&K.C);
}

// Fills the client area with B: stretched by the stretch type, or tiled from (0, 0).
static void FillClient(TbsSkinFormFrame* F, TCanvas* C, TBitmap* B, bool Stretch, TbsStretchType Type)
{
    int CW = F->Form()->ClientWidth(), CH = F->Form()->ClientHeight();
    if (CW <= 0 || CH <= 0 || !B || B->Empty()) return;
    if (Stretch) {
        switch (Type) {
        case bsstFull: C->StretchDraw(TRect(0, 0, CW, CH), B); break;
        case bsstHorz: {
            TBitmap S(B->Width(), std::max(1, F->FFormHeight));
            S.Canvas()->StretchDraw(TRect(0, 0, S.Width(), S.Height()), B);
            for (int I = 0; I <= F->FFormWidth / S.Width(); ++I) C->Draw(I * S.Width(), 0, &S);
            break;
        }
        case bsstVert: {
            TBitmap S(std::max(1, F->FFormWidth), B->Height());
            S.Canvas()->StretchDraw(TRect(0, 0, S.Width(), S.Height()), B);
            for (int I = 0; I <= F->FFormHeight / S.Height(); ++I) C->Draw(0, I * S.Height(), &S);
            break;
        }
        }
        return;
    }
    for (int X = 0; X <= CW / B->Width(); ++X)
        for (int Y = 0; Y <= CH / B->Height(); ++Y) C->Draw(X * B->Width(), Y * B->Height(), B);
}

void TbsSkinFormFrame::PaintBG(HDC DC)
{
    if (!DC || !FSD || FSD->Empty) return;
    TDCCanvas K(DC);
    if (IsEmptyRect(FSD->ClRect) || !FSD->FPicture) {
        K.C.Brush()->SetColor(clBtnFace);
        K.C.FillRect(FForm->ClientRect());
        return;
    }
    TBitmap B(FSD->ClRect.Width(), FSD->ClRect.Height());
    B.Canvas()->CopyRect(TRect(0, 0, B.Width(), B.Height()), FSD->FPicture->Canvas(), FSD->ClRect);
    FillClient(this, &K.C, &B, FSD->StretchEffect, FSD->StretchType);
    DrawLogo(&K.C);
}

void TbsSkinFormFrame::PaintBG2(HDC DC)
{
    if (!DC || !FSD || FSD->Empty) return;
    // an index that names no picture paints as if the skin named none
    TBitmap* P = FSD->ActivePicture(FSD->BGPictureIndex);
    if (!P || P->Empty()) return PaintBG(DC);
    TDCCanvas K(DC);
    FillClient(this, &K.C, P, FSD->StretchEffect, FSD->StretchType);
    DrawLogo(&K.C);
}

void TbsSkinFormFrame::PaintBG3(HDC DC)
{
    if (!DC || !FSD || FSD->Empty) return;
    TBitmap* P = FSD->ActivePicture(FSD->MDIBGPictureIndex);
    if (!P || P->Empty()) return PaintBG(DC);
    TDCCanvas K(DC);
    FillClient(this, &K.C, P, FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
    DrawLogo(&K.C);
}
