// Helpers of the ribbon tests: a framed form holding a ribbon whose tab captions are
// measured by a stand-in (10 pixels a character), routed mouse input in ribbon
// coordinates, pixel read-back, and a small "officetab" skin built in code.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "controls/skinctl_support.h"
#include "frame/frame_support.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsRibbon.h"

namespace ribbontest {

constexpr TColor TabsBG = RGB(10, 20, 30);
constexpr TColor FrameColor = RGB(90, 0, 90);
constexpr TColor ClientPart = RGB(0, 120, 120);
constexpr TColor ActiveTab = RGB(200, 100, 0);
constexpr TColor FocusTab = RGB(0, 200, 100);
constexpr TColor HotTab = RGB(100, 0, 200);
constexpr TColor PlainText = RGB(250, 250, 0);
constexpr TColor HotText = RGB(0, 250, 250);
constexpr TColor MDINormal = RGB(240, 0, 0);
constexpr TColor MDIActive = RGB(0, 240, 0);

// An "officetab" record over a new picture of 100 x 100: the frame SkinRect (0, 0, 60, 40)
// with a 4-pixel border around its client part (4, 4, 56, 36); tab faces of 40 x 20 at
// y 50: normal (0), active (40), focused at y 70 (0), hot at y 70 (40); the tab-area
// background (60, 0, 100, 20); MDI buttons of 10 x 10 at (80, 50) normal, (90, 50) hot.
inline TbsDataSkinTabControl* AddOfficeTab(TbsSkinData* SD)
{
    auto Pic = std::make_unique<TBitmap>(100, 100);
    TCanvas* C = Pic->Canvas();
    auto Fill = [C](TRect R, TColor Colour) {
        C->Brush()->SetColor(Colour);
        C->FillRect(R);
    };
    Fill(Rect(0, 0, 100, 100), FrameColor);
    Fill(Rect(4, 4, 56, 36), ClientPart);
    Fill(Rect(40, 50, 80, 70), ActiveTab);
    Fill(Rect(0, 70, 40, 90), FocusTab);
    Fill(Rect(40, 70, 80, 90), HotTab);
    Fill(Rect(60, 0, 100, 20), TabsBG);
    Fill(Rect(80, 50, 90, 60), MDINormal);
    Fill(Rect(90, 50, 100, 60), MDIActive);
    SD->FActivePictures.push_back(std::move(Pic));
    const int P = int(SD->FActivePictures.size()) - 1;
    auto Rec = std::make_unique<TbsDataSkinTabControl>("officetab");
    TbsDataSkinTabControl* D = Rec.get();
    SD->CtrlList.push_back(std::move(Rec));
    D->PictureIndex = P;
    D->SkinRect = Rect(0, 0, 60, 40);
    D->ClRect = Rect(4, 4, 56, 36);
    D->LTPoint = Point(4, 4);
    D->RTPoint = Point(56, 4);
    D->LBPoint = Point(4, 36);
    D->RBPoint = Point(56, 36);
    D->TabRect = Rect(0, 50, 40, 70);
    D->ActiveTabRect = Rect(40, 50, 80, 70);
    D->FocusTabRect = Rect(0, 70, 40, 90);
    D->MouseInTabRect = Rect(40, 70, 80, 90);
    D->TabsBGRect = Rect(60, 0, 100, 20);
    D->TabLeftOffset = D->TabRightOffset = 2;
    D->FontName = "Tahoma";
    D->FontHeight = 13;
    D->FontColor = PlainText;
    D->MouseInFontColor = HotText;
    D->ActiveFontColor = D->FocusFontColor = clBlack;
    D->BGPictureIndex = -1;
    D->MDICloseRect = D->MDIRestoreRect = D->MDIMinRect = Rect(80, 50, 90, 60);
    D->MDICloseActiveRect = Rect(90, 50, 100, 60);
    return D;
}

inline TPoint Mid(const TRect& R) { return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

class RibbonTest : public frametest::FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        Form->SetBounds(100, 100, 420, 300);
        Ribbon = new TbsRibbon(Form);
        Ribbon->MeasureCaption = [](TCanvas*, const String& S) { return int(S.size()) * 10; };
        Ribbon->SetParent(Form);
        Frame->SetSkinRibbon(Ribbon);
    }
    // A tab with its page captioned Caption.
    TbsRibbonTab* AddTab(const String& Caption)
    {
        TbsRibbonTab* T = Ribbon->Tabs()->Add();
        T->Page()->SetCaption(Caption);
        return T;
    }
    // Lays the ribbon out on a canvas of its own (the stand-in measures the captions).
    void Layout()
    {
        TBitmap B(1, 1);
        Ribbon->CalcLayout(B.Canvas());
    }
    // Ribbon coordinates to the screen.
    TPoint RAt(int X, int Y) { return Ribbon->ClientToScreen(Point(X, Y)); }
    void RMove(int X, int Y)
    {
        Headless::MouseMove(RAt(X, Y));
        Pump();
    }
    void RDown(int X, int Y)
    {
        Headless::MouseMove(RAt(X, Y));
        Headless::MouseDown(RAt(X, Y));
        Pump();
    }
    void RUp(int X, int Y)
    {
        Headless::MouseMove(RAt(X, Y));
        Headless::MouseUp(RAt(X, Y));
        Pump();
    }
    // The ribbon painted alone into a bitmap of its size.
    std::unique_ptr<TBitmap> Paint()
    {
        auto B = std::make_unique<TBitmap>(Ribbon->Width(), Ribbon->Height());
        Ribbon->PaintRibbon(B->Canvas());
        return B;
    }
    static TColor PixelOf(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y) & 0xFFFFFF; }

    TbsRibbon* Ribbon = nullptr;
};

}  // namespace ribbontest
