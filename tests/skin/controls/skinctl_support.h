// Helpers of the skinned control tests: a headless form to put controls on, real routed
// input, pixel read-back, and small skins built in code (records plus pictures).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/controls/bsSkinCtrls.h"

namespace skinctl {

// A skin held in memory: records are added to the control list, pictures to the
// picture list; the skin counts as loaded (not Empty).
class TestSkin {
public:
    TestSkin() : SD(new TbsSkinData(nullptr))
    {
        SD->Empty = false;
        SD->SetEnableSkinEffects(false);
    }
    ~TestSkin() { delete SD; }
    TestSkin(const TestSkin&) = delete;

    // Adds a picture of W x H filled with Fill; returns its index.
    int AddPicture(int W, int H, TColor Fill)
    {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(W, H);
        B->Canvas()->Brush()->SetColor(Fill);
        B->Canvas()->FillRect(Rect(0, 0, W, H));
        SD->FActivePictures.push_back(std::move(B));
        return int(SD->FActivePictures.size()) - 1;
    }
    TBitmap* Picture(int Index) { return SD->FActivePictures[size_t(Index)].get(); }
    // Paints R of picture Index in Color.
    void Paint(int Index, TRect R, TColor Color)
    {
        TCanvas* C = Picture(Index)->Canvas();
        C->Brush()->SetColor(Color);
        C->FillRect(R);
    }
    template <class T>
    T* Add(const String& Name)
    {
        auto R = std::make_unique<T>(Name);
        T* P = R.get();
        SD->CtrlList.push_back(std::move(R));
        return P;
    }
    TbsSkinData* SD;
};

// Fills the nine-piece geometry of a record: SkinRect at the picture's origin of size W x H
// with corners of Border pixels (a point left at 0 turns that direction's resizing off).
inline void NinePiece(TbsDataSkinCustomControl* R, int W, int H, int Border, bool Horz = true, bool Vert = true)
{
    R->PictureIndex = 0;
    R->MaskPictureIndex = -1;
    R->SkinRect = Rect(0, 0, W, H);
    R->LTPoint = Point(Border, Border);
    R->RTPoint = Horz || Vert ? Point(W - Border, Border) : Point(0, 0);
    R->LBPoint = Vert ? Point(Border, H - Border) : Point(0, 0);
    R->RBPoint = Horz && Vert ? Point(W - Border, H - Border) : Point(0, 0);
    if (!Horz) R->RTPoint = Point(0, 0);
    R->ClRect = Rect(Border, Border, W - Border, H - Border);
}

class SkinCtlTest : public ::testing::Test {
protected:
    // The headless backend's options; a fixture changes them to test without a compositor.
    virtual THeadlessOptions HeadlessOptions() { return {}; }
    void SetUp() override
    {
        Headless::Install(HeadlessOptions());
        InitForms();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(50, 50, 400, 300);
        Form->Show();
        Pump();
    }
    void TearDown() override { DoneForms(); }

    template <class T>
    T* Make(TRect R, TWinControl* Parent = nullptr)
    {
        T* C = new T(Form);
        C->SetParent(Parent ? Parent : Form);
        C->SetBoundsRect(R);
        return C;
    }
    void Pump() { Application->ProcessMessages(); }
    // Time passes (timers due meanwhile fire), then pending messages run.
    void Wait(uint64_t Ms)
    {
        Headless::AdvanceTime(Ms);
        Pump();
    }
    TPoint At(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
    void Move(TControl* C, int X, int Y)
    {
        Headless::MouseMove(At(C, X, Y));
        Pump();
    }
    void Down(TControl* C, int X, int Y, int Button = 1)
    {
        Headless::MouseMove(At(C, X, Y));
        Headless::MouseDown(At(C, X, Y), Button);
        Pump();
    }
    void Up(TControl* C, int X, int Y, int Button = 1)
    {
        Headless::MouseMove(At(C, X, Y));
        Headless::MouseUp(At(C, X, Y), Button);
        Pump();
    }
    void Click(TControl* C, int X, int Y)
    {
        Down(C, X, Y);
        Up(C, X, Y);
    }
    void Key(int VK)
    {
        Headless::Key(VK);
        Pump();
    }
    // The colour shown at a client point of a windowed control (after painting).
    TColor PixelOf(TWinControl* C, int X, int Y)
    {
        Pump();
        C->Repaint();
        Pump();
        return Headless::PixelColor(C->Handle(), Point(X, Y));
    }
    TForm* Form = nullptr;
};

inline TColor Sys(TColor C) { return ColorToRGB(C); }

}  // namespace skinctl
