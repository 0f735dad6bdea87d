// Helpers of the skinned menu tests: a headless form with a menu chain, menus built in
// code, a small menu skin (a window picture and an item picture of flat coloured bands),
// the pointer moved in screen coordinates and pixels of the open levels.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"
#include "skin/core/bsSkinData.h"
#include "skin/menus/bsSkinMenus.h"

namespace menustest {

inline TColor Sys(TColor C) { return ColorToRGB(C); }

// Colours of the test skin.
constexpr TColor WindowFrame = RGB(20, 20, 90);     // the window picture outside its items area
constexpr TColor WindowInside = RGB(230, 230, 240); // the items area of the window picture
constexpr TColor ItemFace = RGB(200, 40, 40);       // inactive item
constexpr TColor ItemActiveFace = RGB(40, 200, 40); // active item
constexpr TColor DividerFace = RGB(40, 40, 200);
constexpr TColor ItemText = RGB(1, 2, 3);
constexpr TColor ItemActiveText = RGB(250, 250, 250);
constexpr TColor ItemDisabledText = RGB(128, 0, 128);

// Heights of the test skin's items.
constexpr int SkinItemH = 22, SkinDividerH = 6;

// A menu skin: picture 0 is the 40 x 40 window picture with a 4-pixel frame around the
// items area (4, 4, 36, 36); picture 1 holds the item pictures, 60 wide: inactive
// (0, 0)-(60, 22), active (0, 22)-(60, 44), divider (0, 44)-(60, 50).
inline TbsDataSkinMenuItem* FillMenuSkin(TbsSkinData* SD)
{
    auto W = std::make_unique<TBitmap>(40, 40);
    W->Canvas()->Brush()->SetColor(WindowFrame);
    W->Canvas()->FillRect(Rect(0, 0, 40, 40));
    W->Canvas()->Brush()->SetColor(WindowInside);
    W->Canvas()->FillRect(Rect(4, 4, 36, 36));
    SD->FActivePictures.push_back(std::move(W));
    auto I = std::make_unique<TBitmap>(60, 50);
    const struct {
        TRect R;
        TColor C;
    } Bands[] = {{Rect(0, 0, 60, 22), ItemFace}, {Rect(0, 22, 60, 44), ItemActiveFace}, {Rect(0, 44, 60, 50), DividerFace}};
    for (auto& B : Bands) {
        I->Canvas()->Brush()->SetColor(B.C);
        I->Canvas()->FillRect(B.R);
    }
    SD->FActivePictures.push_back(std::move(I));
    TbsDataSkinPopupWindow* P = SD->PopupWindow.get();
    P->WindowPictureIndex = 0;
    P->MaskPictureIndex = -1;
    P->LTPoint = Point(4, 4);
    P->RTPoint = Point(36, 4);
    P->LBPoint = Point(4, 36);
    P->RBPoint = Point(36, 36);
    P->ItemsRect = Rect(4, 4, 36, 36);
    P->LeftStretch = P->TopStretch = P->RightStretch = P->BottomStretch = true;
    P->StretchEffect = true;
    P->ScrollMarkerColor = RGB(0, 0, 0);
    P->ScrollMarkerActiveColor = RGB(255, 0, 0);
    auto MI = std::make_unique<TbsDataSkinMenuItem>("menuitem");
    TbsDataSkinMenuItem* M = MI.get();
    M->ActivePictureIndex = 1;
    M->ActiveMaskPictureIndex = -1;
    M->GlowLayerPictureIndex = -1;
    M->SkinRect = Rect(0, 0, 60, SkinItemH);
    M->ActiveSkinRect = Rect(0, 22, 60, 22 + SkinItemH);
    M->DividerRect = Rect(0, 44, 60, 44 + SkinDividerH);
    M->ItemLO = M->ItemRO = 2;
    M->DividerLO = M->DividerRO = 2;
    M->TextRct = Rect(4, 0, 56, SkinItemH);
    M->ImageRct = Rect(0, 0, 0, 0);
    M->FontName = "Tahoma";
    M->FontHeight = 14;
    M->FontColor = ItemText;
    M->ActiveFontColor = ItemActiveText;
    M->UnEnabledFontColor = ItemDisabledText;
    M->StretchEffect = M->InActiveStretchEffect = M->DividerStretchEffect = true;
    SD->ObjectList.push_back(std::move(MI));
    SD->Empty = false;
    SD->SetEnableSkinEffects(false);
    return M;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        // the pointer starts away from every window the tests open
        Headless::MouseMove(Point(1200, 950));
        Form = Application->CreateForm<TForm>();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Pump();
        Chain = new TbsSkinMenu(Form, Form);
        Menu = new TPopupMenu(Form);
    }
    void TearDown() override
    {
        delete SD;
        DoneForms();
    }
    void Pump() { Application->ProcessMessages(); }
    void Wait(uint64_t Ms)
    {
        Headless::AdvanceTime(Ms);
        Pump();
    }
    // A child of Parent (the menu's root by default).
    TMenuItem* Add(const String& Caption, TMenuItem* Parent = nullptr)
    {
        auto* I = new TMenuItem(Menu);
        I->SetCaption(Caption);
        (Parent ? Parent : Menu->Items())->Add(I);
        return I;
    }
    // A loaded menu skin (kept by the fixture).
    TbsSkinData* Skin()
    {
        if (!SD) {
            SD = new TbsSkinData(nullptr);
            SkinItem = FillMenuSkin(SD);
        }
        return SD;
    }
    void Open(TRect R = Rect(120, 120, 120, 120), TbsSkinData* S = nullptr, bool Up = false)
    {
        Chain->Popup(nullptr, S, 0, R, Menu->Items(), Up);
        Pump();
    }
    TbsSkinPopupWindow* Level(int I) { return Chain->Level(I); }
    // The screen point of a client point of a level.
    TPoint At(TbsSkinPopupWindow* W, int X, int Y) { return W->ClientToScreen(Point(X, Y)); }
    TPoint AtItem(TbsSkinPopupWindow* W, int I)
    {
        TRect R = W->Item(I)->ObjectRect;
        return At(W, R.Left + 5, (R.Top + R.Bottom) / 2);
    }
    // The pointer moves there and rests for one cursor poll.
    void PointTo(TPoint P)
    {
        Headless::MouseMove(P);
        Pump();
        Wait(50);
    }
    void ClickAt(TPoint P)
    {
        Headless::MouseMove(P);
        Headless::MouseDown(P);
        Headless::MouseUp(P);
        Pump();
    }
    TColor PixelOf(TbsSkinPopupWindow* W, int X, int Y)
    {
        Pump();
        return Headless::PixelColor(W->Handle(), Point(X, Y));
    }
    TForm* Form = nullptr;
    TbsSkinMenu* Chain = nullptr;
    TPopupMenu* Menu = nullptr;
    TbsSkinData* SD = nullptr;
    TbsDataSkinMenuItem* SkinItem = nullptr;
};

// A control that logs the chain's notices.
class TOpener : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == SkinMenuClosed) Log->push_back("closed");
        if (M.Msg == SkinMenuCommandDone) Log->push_back("done");
        TCustomControl::Dispatch(M);
    }
    std::vector<std::string>* Log = nullptr;
};

}  // namespace menustest
