// Helpers of the form frame tests: a main form and a framed test form on the headless
// backend, routed mouse input in window coordinates, pixel read-back of the whole window
// (non-client area included), and a small skin built in code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "platform/windows/WinPaint.h"
#include "skin/core/bsKernels.h"
#include "skin/frame/bsSkinFormFrame.h"

namespace frametest {

inline TColor Sys(TColor C) { return ColorToRGB(C); }

// The key message of Alt held with Key, as the form's shortcut handler hears it.
inline TWMKey AltKey(WORD Key)
{
    TWMKey K{};
    K.Msg = WM_SYSKEYDOWN;
    K.WParam = Key;
    K.LParam = LPARAM(1) << 29;
    return K;
}

// Colours of the test skin.
constexpr TColor CaptionColor = RGB(30, 60, 150);
constexpr TColor BorderColor = RGB(20, 20, 20);
constexpr TColor ClientColor = RGB(200, 200, 190);
constexpr TColor ButtonNormal = RGB(200, 40, 40);
constexpr TColor ButtonHot = RGB(40, 200, 40);
constexpr TColor ButtonDown = RGB(40, 40, 200);
constexpr TColor RestoreNormal = RGB(200, 200, 40);
constexpr TColor CaptionText = RGB(255, 255, 255);

// A skin of a 100 x 60 frame picture: a 4-pixel border, a 20-pixel caption band, the
// client part (4, 24, 96, 56); its mask cuts off the two top corner pixels.  The caption
// buttons stand in a row from the right end of the caption rectangle.  Picture 0 of
// the picture list holds the three looks of the caption buttons (16 x 16 each: normal,
// hot, pressed, restore).  Objects: close, maximize and minimize buttons and the caption.
inline void FillFrameSkin(TbsSkinData* SD, bool WithMask = true)
{
    auto P = std::make_unique<TBitmap>(100, 60);
    TCanvas* C = P->Canvas();
    C->Brush()->SetColor(BorderColor);
    C->FillRect(Rect(0, 0, 100, 60));
    C->Brush()->SetColor(CaptionColor);
    C->FillRect(Rect(4, 4, 96, 24));
    C->Brush()->SetColor(ClientColor);
    C->FillRect(Rect(4, 24, 96, 56));
    SD->FPicture = std::move(P);
    if (WithMask) {
        auto M = std::make_unique<TBitmap>(100, 60);
        M->Canvas()->Brush()->SetColor(clBlack);
        M->Canvas()->FillRect(Rect(0, 0, 100, 60));
        M->Canvas()->SetPixels(0, 0, clWhite);
        M->Canvas()->SetPixels(99, 0, clWhite);
        SD->FMask = std::move(M);
    }
    SD->LTPoint = Point(10, 24);
    SD->RTPoint = Point(90, 24);
    SD->LBPoint = Point(10, 56);
    SD->RBPoint = Point(90, 56);
    SD->ClRect = Rect(4, 24, 96, 56);
    SD->MaskRectArea = Rect(4, 4, 96, 56);
    SD->HitTestLTPoint = Point(10, 10);
    SD->HitTestRTPoint = Point(90, 10);
    SD->HitTestLBPoint = Point(10, 50);
    SD->HitTestRBPoint = Point(90, 50);
    SD->BorderW = 4;
    SD->CaptionRect = Rect(4, 4, 96, 24);
    SD->ButtonsOffset = 1;
    SD->TopStretch = SD->BottomStretch = SD->LeftStretch = SD->RightStretch = true;

    auto Looks = std::make_unique<TBitmap>(64, 16);
    const TColor Faces[] = {ButtonNormal, ButtonHot, ButtonDown, RestoreNormal};
    for (int I = 0; I < 4; ++I) {
        Looks->Canvas()->Brush()->SetColor(Faces[I]);
        Looks->Canvas()->FillRect(Rect(I * 16, 0, I * 16 + 16, 16));
    }
    SD->FActivePictures.push_back(std::move(Looks));

    auto AddButton = [SD](const char* Name, TbsStdCommand Cmd) {
        auto B = std::make_unique<TbsDataSkinStdButton>(Name);
        B->Command = Cmd;
        B->SkinRectInAPicture = true;
        B->ActivePictureIndex = 0;
        B->ActiveMaskPictureIndex = -1;
        B->GlowLayerPictureIndex = -1;
        B->SkinRect = Rect(0, 0, 16, 16);
        B->ActiveSkinRect = Rect(16, 0, 32, 16);
        B->DownRect = Rect(32, 0, 48, 16);
        B->RestoreRect = Rect(48, 0, 64, 16);
        SD->ObjectList.push_back(std::move(B));
    };
    AddButton("closebutton", cmClose);
    AddButton("maxbutton", cmMaximize);
    AddButton("minbutton", cmMinimize);
    auto Cap = std::make_unique<TbsDataSkinCaption>("caption");
    Cap->SkinRect = Rect(4, 4, 92, 22);
    Cap->ActivePictureIndex = -1;
    Cap->ActiveMaskPictureIndex = -1;
    Cap->GlowLayerPictureIndex = -1;
    Cap->TextRct = Rect(2, 0, 50, 18);
    Cap->FontName = "Tahoma";
    Cap->FontHeight = 13;
    Cap->FontColor = CaptionText;
    Cap->ActiveFontColor = CaptionText;
    Cap->Alignment = taLeftJustify;
    SD->ObjectList.push_back(std::move(Cap));
    SD->Empty = false;
    SD->SetEnableSkinEffects(false);
}

// Colours of the layer frame picture (opaque).
constexpr TbsColor LayerTop = bsPackARGB(255, 0, 0, 200);
constexpr TbsColor LayerBottom = bsPackARGB(255, 0, 160, 0);
constexpr TbsColor LayerLeft = bsPackARGB(255, 200, 0, 0);
constexpr TbsColor LayerRight = bsPackARGB(255, 200, 200, 0);

// A 40 x 40 layer frame: the form's place (10, 20, 30, 30), a 20-row top strip, a
// 10-row bottom strip, 10-column sides; resize zones 5 pixels beyond the form.
inline void FillLayerFrame(TbsSkinData* SD, bool FullBorder, bool HitTest = true, bool Zones = true)
{
    auto& L = SD->LayerFrame;
    L->PictureIndex = 0;
    auto P = std::make_unique<TbsBitmap>();
    P->SetSize(40, 40);
    P->FillRect(TRect(0, 0, 40, 20), LayerTop);
    P->FillRect(TRect(0, 30, 40, 40), LayerBottom);
    P->FillRect(TRect(0, 20, 10, 30), LayerLeft);
    P->FillRect(TRect(30, 20, 40, 30), LayerRight);
    L->FSourceBitmap = std::move(P);
    L->LTPoint = Point(10, 20);
    L->RTPoint = Point(30, 20);
    L->LBPoint = Point(10, 30);
    L->RBPoint = Point(30, 30);
    L->ClRect = Rect(10, 20, 30, 30);
    L->AlphaBlendValue = 255;
    L->InActiveAlphaBlendValue = 200;
    L->BorderRect = Zones ? Rect(5, 15, 35, 35) : TRect();
    L->HitTestEnable = HitTest;
    L->HitTestSize = 5;
    L->HitTestLTPoint = Point(10, 20);
    L->HitTestRTPoint = Point(30, 20);
    L->HitTestLBPoint = Point(10, 30);
    L->HitTestRBPoint = Point(30, 30);
    L->FullBorder = FullBorder;
    L->CaptionRect = Rect(10, 2, 30, 18);
    SD->SetShowLayeredBorders(true);
}

// The ink of a text such as "H..." within R (Ink tells an inked pixel): its box, and whether
// its leftmost inked columns are dots sitting on the line (the text read right to left)
// rather than a letter reaching above them.
struct TTextInk {
    TRect Box;
    bool DotsFirst = false;
};
template <class TInk>
TTextInk TextInk(const TRect& R, TInk Ink)
{
    TTextInk C;
    C.Box = TRect(R.Right, R.Bottom, R.Left, R.Top);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (Ink(X, Y))
                C.Box = TRect(std::min(C.Box.Left, X), std::min(C.Box.Top, Y), std::max(C.Box.Right, X + 1),
                              std::max(C.Box.Bottom, Y + 1));
    if (C.Box.IsEmpty()) return C;
    int Top = C.Box.Bottom;
    for (int Y = C.Box.Top; Y < C.Box.Bottom && Top == C.Box.Bottom; ++Y)
        if (Ink(C.Box.Left, Y) || Ink(C.Box.Left + 1, Y)) Top = Y;
    C.DotsFirst = Top > C.Box.Top + C.Box.Height() / 2;
    return C;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Main = Application->CreateForm<TForm>();
        Main->SetBorderStyle(bsNone);
        Main->SetBounds(0, 0, 50, 50);
        Form = new TForm(Application);
        Form->AfterConstruction();
        Frame = new TbsSkinFormFrame(Form);
        Form->SetBounds(100, 100, 300, 200);
    }
    void TearDown() override { DoneForms(); }

    void ShowForm()
    {
        Form->Show();
        Pump();
    }
    void Pump() { Application->ProcessMessages(); }
    void Wait(uint64_t Ms)
    {
        Headless::AdvanceTime(Ms);
        Pump();
    }
    HWND H() { return Form->Handle(); }
    // A point of the form's window (non-client area included) on the screen.
    TPoint At(int X, int Y) { return Point(Form->Left() + X, Form->Top() + Y); }
    int HitAt(int X, int Y) { return int(SendMessage(H(), WM_NCHITTEST, 0, PointToLParam(At(X, Y)))); }
    void Move(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Pump();
    }
    void Down(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Headless::MouseDown(At(X, Y));
        Pump();
    }
    void Up(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Headless::MouseUp(At(X, Y));
        Pump();
    }
    // A press at (X1, Y1), a move to (X2, Y2) and the release there, queued together (a
    // press on the caption or a border starts the move loop, which takes the rest).
    void Drag(int X1, int Y1, int X2, int Y2)
    {
        Headless::MouseMove(At(X1, Y1));
        Headless::MouseDown(At(X1, Y1));
        Headless::MouseMove(At(X2, Y2));
        Headless::MouseUp(At(X2, Y2));
        Pump();
    }
    void DoubleClick(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        for (int I = 0; I < 2; ++I) {
            Headless::MouseDown(At(X, Y));
            Headless::MouseUp(At(X, Y));
        }
        Pump();
    }
    void Click(int X, int Y)
    {
        Down(X, Y);
        Up(X, Y);
    }
    // The colour of a pixel of the form's window, non-client area included.
    TColor WindowPixel(int X, int Y)
    {
        Pump();
        uint32_t P = Headless::Pixel(H(), X, Y);
        return RGB(int((P >> 16) & 0xFF), int((P >> 8) & 0xFF), int(P & 0xFF));
    }
    bool InShape(int X, int Y)
    {
        HRGN R = CreateRectRgn(0, 0, 0, 0);
        bool In = GetWindowRgn(H(), R) == 0 || PtInRegion(R, X, Y);
        DeleteObject(R);
        return In;
    }

    TForm* Main = nullptr;
    TForm* Form = nullptr;
    TbsSkinFormFrame* Frame = nullptr;
};

// The test form with the frame skin applied (the skin data belongs to the main form).
class FrameSkinTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        SD = new TbsSkinData(Main);
        SD->SetShowLayeredBorders(false);
        FillFrameSkin(SD);
    }
    TbsSkinData* SD = nullptr;
};

}  // namespace frametest
