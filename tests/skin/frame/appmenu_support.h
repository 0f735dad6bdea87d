// Helpers of the application menu tests: a borderless form on the headless backend holding
// a ribbon and its application menu, keys and clicks routed to the menu, pixels of the
// menu read back, and a small "appmenu" skin built in code.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/windows/Headless.h"
#include "skin/frame/bsAppMenu.h"
#include "skin/frame/bsRibbon.h"
#include "skin/frame/bsSkinFormFrame.h"

namespace appmenutest {

// Colours of the test skin's picture.
constexpr TColor PlainColor = RGB(10, 20, 30);
constexpr TColor PageColor = RGB(40, 50, 60);
constexpr TColor ActiveFont = RGB(250, 250, 0);
constexpr TColor ActivePageFont = RGB(0, 250, 250);
constexpr TColor DisabledFont = RGB(128, 0, 0);
constexpr TColor ItemFace = RGB(200, 30, 30);
constexpr TColor PageItemFace = RGB(30, 200, 30);
constexpr TColor PageItemActiveFace = RGB(30, 30, 200);
constexpr TColor BackFace = RGB(220, 120, 20);
constexpr TColor ColumnBG = RGB(90, 90, 90);
constexpr TColor PageBG = RGB(160, 160, 160);
constexpr TColor FrameColor = RGB(5, 5, 5);
constexpr TColor PageClient = RGB(240, 230, 220);

// A 200 x 100 picture: an item face (0, 0, 60, 20), a page item face (0, 20, 60, 50), an
// active page item face (0, 50, 60, 80), a back button (60, 0, 90, 16); the page frame
// (100, 0, 140, 40) with a 4-pixel border around its client (4, 4, 36, 36).  Pictures 1
// and 2 are the item column and page area backgrounds (8 x 8 each).
inline TbsDataSkinAppMenu* AddAppMenuSkin(TbsSkinData* SD, bool BackButton)
{
    auto P = std::make_unique<TBitmap>(200, 100);
    TCanvas* C = P->Canvas();
    auto Fill = [C](TRect R, TColor Col) {
        C->Brush()->SetColor(Col);
        C->FillRect(R);
    };
    Fill(Rect(0, 0, 200, 100), clBlack);
    Fill(Rect(0, 0, 60, 20), ItemFace);
    Fill(Rect(0, 20, 60, 50), PageItemFace);
    Fill(Rect(0, 50, 60, 80), PageItemActiveFace);
    Fill(Rect(60, 0, 90, 16), BackFace);
    Fill(Rect(100, 0, 140, 40), FrameColor);
    Fill(Rect(104, 4, 136, 36), PageClient);
    SD->FActivePictures.push_back(std::move(P));
    for (TColor Col : {ColumnBG, PageBG}) {
        auto B = std::make_unique<TBitmap>(8, 8);
        B->Canvas()->Brush()->SetColor(Col);
        B->Canvas()->FillRect(Rect(0, 0, 8, 8));
        SD->FActivePictures.push_back(std::move(B));
    }
    auto R = std::make_unique<TbsDataSkinAppMenu>("appmenu");
    R->PictureIndex = int(SD->FActivePictures.size()) - 3;
    R->BGPictureIndex = R->PictureIndex + 1;
    R->BGPagePictureIndex = R->PictureIndex + 2;
    R->MaskPictureIndex = -1;
    R->SkinRect = Rect(100, 0, 140, 40);
    R->ClRect = Rect(4, 4, 36, 36);
    R->LTPoint = Point(4, 4);
    R->RTPoint = Point(36, 4);
    R->LBPoint = Point(4, 36);
    R->RBPoint = Point(36, 36);
    R->ItemRect = Rect(0, 0, 60, 20);
    R->PageItemRect = Rect(0, 20, 60, 50);
    R->PageItemActiveRect = Rect(0, 50, 60, 80);
    R->ItemOffset1 = R->ItemOffset2 = R->PageItemOffset1 = R->PageItemOffset2 = 2;
    R->FontName = "Tahoma";
    R->FontHeight = 13;
    R->FontPageHeight = 14;
    R->FontColor = PlainColor;
    R->FontPageColor = PageColor;
    R->DisabledFontColor = DisabledFont;
    R->ActiveFontColor = ActiveFont;
    R->ActiveFontPageColor = ActivePageFont;
    if (BackButton) R->BackButtonRect = Rect(60, 0, 90, 16);
    auto* Raw = R.get();
    SD->CtrlList.push_back(std::move(R));
    SD->Empty = false;
    return Raw;
}

class AppMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 500, 400);
        Ribbon = new TbsRibbon(Form);
        Ribbon->SetParent(Form);
        Menu = new TbsAppMenu(Form);
        Menu->SetParent(Form);
        Menu->SetBounds(0, 0, 400, 300);
        Ribbon->SetAppMenu(Menu);
        Menu->Ribbon = Ribbon;
        Form->Show();
        Pump();
    }
    void TearDown() override { DoneForms(); }

    void Pump() { Application->ProcessMessages(); }
    TbsAppMenuItem* AddItem(bool WithPage = false, const String& Caption = "")
    {
        TbsAppMenuItem* It = Menu->Items()->Add();
        if (!Caption.empty()) It->SetCaption(Caption);
        if (WithPage) It->SetPage(Menu->CreatePage());
        return It;
    }
    // Shows the menu as the ribbon does, so that its scroll bar and pages follow.
    void ShowMenu()
    {
        Menu->SetVisible(true);
        Menu->BringToFront();
        Menu->UpdateScrollInfo();
        Pump();
    }
    void Key(int VK)
    {
        if (!Menu->Focused()) Menu->SetFocus();
        Pump();
        Headless::Key(VK);
        Pump();
    }
    TPoint At(int X, int Y) { return Menu->ClientToScreen(Point(X, Y)); }
    void Click(int X, int Y)
    {
        Headless::MouseMove(At(X, Y));
        Headless::MouseDown(At(X, Y));
        Headless::MouseUp(At(X, Y));
        Pump();
    }
    // The colour of a pixel of the menu (its client coordinates).
    TColor MenuPixel(int X, int Y)
    {
        Menu->Invalidate();
        Pump();
        return Headless::PixelColor(Menu->Handle(), Point(X, Y));
    }

    TForm* Form = nullptr;
    TbsRibbon* Ribbon = nullptr;
    TbsAppMenu* Menu = nullptr;
};

}  // namespace appmenutest
