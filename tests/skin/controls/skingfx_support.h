// Helpers of the windowless skinned control tests, over the skinned control fixture: a
// small skin built in code (one picture of coloured faces and a few records) and pixel
// read-back of the form.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/core/bsSkinData.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skinctl_support.h"

namespace skingfx {

// Face colours of the test picture, one band of 30 x 20 each.
constexpr TColor FaceNormal = RGB(200, 40, 40);
constexpr TColor FaceActive = RGB(40, 200, 40);
constexpr TColor FaceDown = RGB(40, 40, 200);
constexpr TColor FaceDisabled = RGB(120, 120, 120);
constexpr TColor FaceFrame1 = RGB(250, 200, 0);   // animation frame 1
constexpr TColor FaceFrame2 = RGB(0, 200, 250);   // animation frame 2
constexpr TColor EdgeColor = RGB(10, 10, 10);     // one-pixel border of every face
constexpr TColor FormColor = RGB(255, 255, 255);

// Band N (0-based) of the test picture.
inline TRect Band(int N) { return TRect(0, N * 20, 30, N * 20 + 20); }

// A 30 x 120 picture: normal, active, down, disabled and two animation frames, each a
// solid face with a one-pixel dark border.
inline std::unique_ptr<TBitmap> FacesPicture()
{
    auto B = std::make_unique<TBitmap>(30, 120);
    const TColor Faces[] = {FaceNormal, FaceActive, FaceDown, FaceDisabled, FaceFrame1, FaceFrame2};
    for (int I = 0; I < 6; ++I) {
        B->Canvas()->Brush()->SetColor(Faces[I]);
        B->Canvas()->FillRect(Band(I));
        B->Canvas()->Brush()->SetColor(EdgeColor);
        B->Canvas()->FrameRect(Band(I));
    }
    return B;
}

template <class T>
T* AddRecord(TbsSkinData* D, const String& AName)
{
    auto R = std::make_unique<T>(AName);
    T* P = R.get();
    D->CtrlList.push_back(std::move(R));
    return P;
}

// Nine-piece geometry of a 30 x 20 face with a 3-pixel frame.
inline void NinePiece(TbsDataSkinCustomControl* R, int Band0)
{
    R->PictureIndex = 0;
    R->SkinRect = Band(Band0);
    R->LTPoint = TPoint(3, 3);
    R->RTPoint = TPoint(27, 3);
    R->LBPoint = TPoint(3, 17);
    R->RBPoint = TPoint(27, 17);
    R->ClRect = TRect(3, 3, 27, 17);
    R->StretchEffect = true;
    R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
}

// A loaded skin with the faces picture and a button record "toolbutton".
inline void FillTestSkin(TbsSkinData* D)
{
    D->FActivePictures.push_back(FacesPicture());
    auto* B = AddRecord<TbsDataSkinButtonControl>(D, "toolbutton");
    NinePiece(B, 0);
    B->ActiveSkinRect = Band(1);
    B->DownSkinRect = Band(2);
    B->DisabledSkinRect = Band(3);
    B->FontName = "Tahoma";
    B->FontHeight = 13;
    B->FontColor = RGB(1, 2, 3);
    B->ActiveFontColor = RGB(4, 5, 6);
    B->DownFontColor = RGB(7, 8, 9);
    B->DisabledFontColor = RGB(10, 11, 12);
    D->FSkinColors->FcBtnText = RGB(20, 30, 40);
    D->FSkinColors->FcBtnShadow = RGB(90, 90, 90);
    D->FSkinColors->FcBtnHighLight = RGB(230, 230, 230);
    D->Empty = false;
}

// A borderless white form on the headless backend (the skinned control tests' fixture),
// at (100, 100), with a skin data object that it owns.
class FormTest : public skinctl::SkinCtlTest {
protected:
    void SetUp() override
    {
        SkinCtlTest::SetUp();
        Form->SetBounds(100, 100, 320, 240);
        Form->SetColor(FormColor);
        Skin = new TbsSkinData(Form);
    }

    template <class T>
    T* Add(TRect R, TWinControl* Parent = nullptr)
    {
        return Make<T>(R, Parent);
    }
    void Show() { Pump(); }
    // The form's pixel at a client point.
    TColor At(int X, int Y) { return Headless::PixelColor(Form->Handle(), TPoint(X, Y)); }
    void MoveTo(TControl* C, int X, int Y) { Move(C, X, Y); }
    void Press(TControl* C, int X = 5, int Y = 5) { Down(C, X, Y); }
    void Release(TControl* C, int X = 5, int Y = 5) { Up(C, X, Y); }
    void ClickOn(TControl* C, int X = 5, int Y = 5) { Click(C, X, Y); }
    // Whether pixel P is within a small distance of colour C (smoothed text edges).
    static bool Close(TColor P, TColor C)
    {
        return std::abs(GetRValue(P) - GetRValue(C)) + std::abs(GetGValue(P) - GetGValue(C)) +
                   std::abs(GetBValue(P) - GetBValue(C)) <
               100;
    }
    // The box of the form's pixels in R for which Match holds (Right < 0 when none).
    TRect BoxOf(TRect R, const std::function<bool(TColor)>& Match)
    {
        TRect B(100000, 100000, -1, -1);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Match(At(X, Y)))
                    B = TRect(std::min(B.Left, X), std::min(B.Top, Y), std::max(B.Right, X), std::max(B.Bottom, Y));
        return B;
    }
    // The box of the form's pixels near colour C inside R.
    TRect Ink(TRect R, TColor C) { return BoxOf(R, [C](TColor P) { return Close(P, C); }); }
    // Moves the virtual clock in steps of Step ms, running timers on the way.
    void Wait(int Ms, int Step = 10)
    {
        for (int T = 0; T < Ms; T += Step) {
            Headless::AdvanceTime(Step);
            Pump();
        }
    }

    TbsSkinData* Skin = nullptr;
};

}  // namespace skingfx
