// The skinned button and menu button: default and skinned looks, clicks by mouse and keys,
// repeat, checked mode, groups, dialog roles, morphing, the glow frame and menu tracking.
#include "skin/menus/bsSkinMenus.h"
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinButton : public SkinCtlTest {
protected:
    TbsSkinButton* Button(TRect R = Rect(10, 10, 110, 40))
    {
        auto* B = Make<TbsSkinButton>(R);
        B->OnClick = [this](TObject*) { ++Clicks; };
        return B;
    }
    // A skin whose "button" record shows normal, hot, pressed and disabled pictures side by side,
    // each 40 x 20 with a 4 pixel frame.
    TbsDataSkinButtonControl* SkinRecord()
    {
        Skin.AddPicture(160, 20, clWhite);
        const TColor Faces[] = {clRed, clLime, clBlue, clGray};
        for (int I = 0; I < 4; ++I) Skin.Paint(0, Rect(I * 40, 0, I * 40 + 40, 20), Faces[I]);
        auto* R = Skin.Add<TbsDataSkinButtonControl>("button");
        NinePiece(R, 40, 20, 4);
        R->ActiveSkinRect = Rect(40, 0, 80, 20);
        R->DownSkinRect = Rect(80, 0, 120, 20);
        R->DisabledSkinRect = Rect(120, 0, 160, 20);
        R->FontColor = clBlack;
        R->DisabledFontColor = clBlack;
        R->GlowLayerPictureIndex = -1;
        return R;
    }
    // A skinned button that cannot take the focus, with the pointer resting on it.
    TbsSkinButton* HoveredButton()
    {
        auto* B = Button();
        B->SetCanFocused(false);
        B->SetSkinData(Skin.SD);
        Move(B, 20, 10);
        Pump();
        return B;
    }
    int Clicks = 0;
    TestSkin Skin;
};

TEST_F(SkinButton, DefaultLooksUseTheFixedColours)
{
    auto* B = Button();
    B->SetCanFocused(false);
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 0, 0), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(B, 2, 2), Sys(clBtnFace));
    Move(B, 50, 15);
    EXPECT_TRUE(B->MouseIn());
    EXPECT_EQ(PixelOf(B, 0, 0), bsDefaultFrameColor);
    EXPECT_EQ(PixelOf(B, 2, 2), bsDefaultHotColor);
    Down(B, 50, 15);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(PixelOf(B, 2, 2), bsDefaultDownColor);
    Up(B, 50, 15);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(B->Down());
}

TEST_F(SkinButton, ReleaseOutsideFiresNothingAndLeavesTheButtonUp)
{
    auto* B = Button();
    Down(B, 50, 15);
    Move(B, 300, 200);
    EXPECT_FALSE(B->MouseIn());
    Up(B, 300, 200);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(B->Down());
}

TEST_F(SkinButton, RepeatModeClicksOnceForAShortPressAndRepeatsWhileHeld)
{
    auto* B = Button();
    B->SetRepeatMode(true);
    B->SetRepeatInterval(100);
    Down(B, 50, 15);
    Wait(400);
    Up(B, 50, 15);
    EXPECT_EQ(Clicks, 1);
    Clicks = 0;
    Down(B, 50, 15);
    Wait(500);  // the first tick only switches to the repeat interval
    EXPECT_EQ(Clicks, 0);
    Wait(100);
    Wait(100);
    Wait(100);
    EXPECT_EQ(Clicks, 3);
    Up(B, 50, 15);
    EXPECT_EQ(Clicks, 4);
    EXPECT_FALSE(B->Repeating());
}

TEST_F(SkinButton, CheckedModeClicksOnPressThenOnRelease)
{
    auto* B = Button();
    B->SetCheckedMode(true);
    EXPECT_EQ(B->GroupIndex(), -1);
    EXPECT_FALSE(B->CanFocused());
    Down(B, 50, 15);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Clicks, 1);
    Up(B, 50, 15);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Clicks, 1);
    Down(B, 50, 15);
    EXPECT_EQ(Clicks, 1);
    Up(B, 50, 15);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Clicks, 2);
    B->SetCheckedMode(false);
    EXPECT_EQ(B->GroupIndex(), 0);
}

TEST_F(SkinButton, GroupButtonsReleaseEachOther)
{
    auto* A = Button(Rect(10, 10, 60, 40));
    auto* B = Button(Rect(70, 10, 120, 40));
    auto* Other = Button(Rect(130, 10, 180, 40));
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    Other->SetGroupIndex(2);
    Other->SetDown(true);  // by code: no click
    EXPECT_EQ(Clicks, 0);
    Click(A, 5, 5);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(Clicks, 1);  // a group button clicks on press
    Click(B, 5, 5);
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(Other->Down());
    Click(B, 5, 5);  // pressed while down: stays down
    EXPECT_TRUE(B->Down());
    B->SetAllowAllUp(true);
    Click(B, 5, 5);
    EXPECT_FALSE(B->Down());
    A->SetAllowAllUp(true);
    B->SetDown(true);
    A->SetDown(true);  // with AllowAllUp the others stay as they are
    EXPECT_TRUE(B->Down());
}

TEST_F(SkinButton, ModalResultGoesToTheFormOnlyFromFocusableButtons)
{
    auto* A = Button(Rect(10, 10, 60, 40));
    auto* G = Button(Rect(70, 10, 120, 40));
    G->SetGroupIndex(1);
    G->SetModalResult(mrCancel);
    Form->SetModalResult(mrYes);
    Click(G, 5, 5);
    EXPECT_EQ(Form->ModalResult(), mrYes);
    Click(A, 5, 5);  // ModalResult 0 is given too
    EXPECT_EQ(Form->ModalResult(), mrNone);
    A->SetModalResult(mrOk);
    Click(A, 5, 5);
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(SkinButton, DialogKeysClickTheDefaultAndTheCancelButton)
{
    auto* Ok = Button(Rect(10, 10, 60, 40));
    auto* No = Make<TbsSkinButton>(Rect(70, 10, 120, 40));
    auto* Box = Make<TCustomControl>(Rect(130, 10, 180, 40));
    Box->SetTabStop(true);
    int Cancels = 0;
    No->OnClick = [&](TObject*) { ++Cancels; };
    Ok->SetDefault(true);
    No->SetCancel(true);
    EXPECT_EQ(Clicks, 0);
    Box->SetFocus();
    Pump();
    EXPECT_TRUE(Ok->Active());
    EXPECT_TRUE(Ok->MouseIn());  // the Default button looks hot while a non-button has the focus
    Key(VK_RETURN);
    EXPECT_EQ(Clicks, 1);
    Key(VK_ESCAPE);
    EXPECT_EQ(Cancels, 1);
    Headless::KeyDown(VK_SHIFT);
    Key(VK_ESCAPE);
    Headless::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Cancels, 1);
    Ok->SetEnabled(false);
    Key(VK_RETURN);
    EXPECT_EQ(Clicks, 1);
    // the focused button is the one Enter presses
    Ok->SetEnabled(true);
    No->SetFocus();
    Pump();
    EXPECT_FALSE(Ok->Active());
    Key(VK_RETURN);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Cancels, 2);
}

TEST_F(SkinButton, SpaceKeyPressesAndClicksOnRelease)
{
    auto* B = Button();
    B->SetFocus();
    Pump();
    Headless::KeyDown(VK_SPACE, " ");
    Pump();
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Clicks, 0);
    Headless::KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Clicks, 1);
}

TEST_F(SkinButton, SkinnedLooksFollowTheStates)
{
    SkinRecord();
    auto* B = Button();
    B->SetCanFocused(false);
    B->SetSkinData(Skin.SD);
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 50, 10), clRed);
    Move(B, 50, 10);
    EXPECT_EQ(PixelOf(B, 50, 10), clLime);
    Down(B, 50, 10);
    EXPECT_EQ(PixelOf(B, 50, 10), clBlue);
    Up(B, 50, 10);
    B->SetEnabled(false);
    EXPECT_EQ(PixelOf(B, 50, 10), clGray);
    EXPECT_EQ(B->DisabledFontColor, TColor(0x808080));  // the same as FontColor: grey
}

TEST_F(SkinButton, TransparentButtonShowsItsParentWhileIdle)
{
    SkinRecord();
    Form->SetColor(clYellow);
    auto* B = Button();
    B->SetCanFocused(false);
    B->SetSkinData(Skin.SD);
    B->SetTransparent(true);
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 50, 10), clYellow);
    Move(B, 50, 10);
    EXPECT_EQ(PixelOf(B, 50, 10), clLime);
}

TEST_F(SkinButton, FreeSizeButtonStretchesItsImage)
{
    auto* R = SkinRecord();
    R->LTPoint = R->RTPoint = R->LBPoint = R->RBPoint = Point(0, 0);  // a fixed-size record
    auto* B = Button(Rect(10, 10, 110, 50));
    B->SetUseSkinSize(false);
    B->SetSkinData(Skin.SD);
    EXPECT_EQ(B->BoundsRect(), Rect(10, 10, 110, 50));
    EXPECT_EQ(PixelOf(B, 90, 35), clRed);
    auto* Fixed = Button(Rect(10, 60, 110, 100));
    Fixed->SetSkinData(Skin.SD);
    EXPECT_EQ(Fixed->Width(), 40);
    EXPECT_EQ(Fixed->Height(), 20);
}

TEST_F(SkinButton, MorphFadesToTheHotLookInFiveSteps)
{
    auto* R = SkinRecord();
    R->Morphing = true;
    Skin.SD->SetEnableSkinEffects(true);
    auto* B = Button();
    B->SetCanFocused(false);
    B->SetSkinData(Skin.SD);
    Move(B, 50, 10);
    EXPECT_TRUE(B->MorphRunning());
    EXPECT_EQ(B->MorphKf(), 0);
    Wait(20);
    EXPECT_NEAR(B->MorphKf(), 0.2, 1e-9);
    const TColor Mid = PixelOf(B, 50, 10);
    EXPECT_NE(Mid, clRed);
    EXPECT_NE(Mid, clLime);
    for (int I = 0; I < 6; ++I) Wait(20);
    EXPECT_EQ(B->MorphKf(), 1);
    EXPECT_FALSE(B->MorphRunning());
    EXPECT_EQ(PixelOf(B, 50, 10), clLime);
    Move(Form, 300, 250);
    for (int I = 0; I < 7; ++I) Wait(20);
    EXPECT_EQ(B->MorphKf(), 0);
    EXPECT_EQ(PixelOf(B, 50, 10), clRed);
}

TEST_F(SkinButton, GlowFrameShowsOnEnterAndHidesOnLeave)
{
    auto* R = SkinRecord();
    R->GlowLayerPictureIndex = Skin.AddPicture(48, 28, clAqua);
    R->GlowLayerMaskPictureIndex = Skin.AddPicture(48, 28, clWhite);
    R->GlowLayerAlphaBlendValue = 200;
    R->LTPoint = R->RTPoint = R->LBPoint = R->RBPoint = Point(0, 0);
    auto* B = HoveredButton();
    EXPECT_TRUE(B->LayerManager()->IsVisible);
    Move(Form, 300, 250);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible);
    Skin.SD->SetShowButtonGlowFrames(false);
    Move(B, 20, 10);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible);
}

TEST_F(SkinButton, GlowFrameWithoutAMaskShowsThePicturesOwnAlpha)
{
    // A glow picture with no mask picture: a 32-bit picture keeps its alpha, at the skin's
    // size and resized with the button; one without alpha (another format, or alpha 0
    // everywhere) shows opaque.
    struct {
        TPixelFormat Format;
        uint32_t Fill;  // 0xAARRGGBB
        bool Resized;
        TbsColor Want;
    } Cases[] = {
        {pf24bit, 0x0000FFFF, false, 0xFF00FFFF}, {pf32bit, 0x80404040, false, 0x80404040},
        {pf32bit, 0x00404040, false, 0xFF404040}, {pf32bit, 0x80404040, true, 0x80404040},
        {pf24bit, 0x0000FFFF, true, 0xFF00FFFF},
    };
    for (auto& C : Cases) {
        SCOPED_TRACE(int(&C - Cases));
        Skin.SD->FActivePictures.clear();
        Skin.SD->CtrlList.clear();
        auto* R = SkinRecord();
        if (!C.Resized) R->LTPoint = R->RTPoint = R->LBPoint = R->RBPoint = Point(0, 0);
        R->GlowLayerPictureIndex = Skin.AddPicture(48, 28, clBlack);
        R->GlowLayerMaskPictureIndex = -1;
        R->GlowLayerOffsetLeft = R->GlowLayerOffsetTop = R->GlowLayerOffsetRight = R->GlowLayerOffsetBottom = 4;
        R->GlowLayerAlphaBlendValue = 200;
        TBitmap* Pic = Skin.Picture(R->GlowLayerPictureIndex);
        Pic->SetPixelFormat(C.Format);
        if (C.Format == pf32bit) {
            for (int Y = 0; Y < Pic->Height(); ++Y)
                std::fill_n(static_cast<uint32_t*>(Pic->ScanLine(Y)), Pic->Width(), C.Fill);
        } else {
            Pic->Canvas()->Brush()->SetColor(RGB((C.Fill >> 16) & 0xFF, (C.Fill >> 8) & 0xFF, C.Fill & 0xFF));
            Pic->Canvas()->FillRect(Rect(0, 0, Pic->Width(), Pic->Height()));
        }
        auto* B = HoveredButton();
        ASSERT_TRUE(B->LayerManager()->IsVisible);
        TbsBitmap* Glow = B->LayerManager()->Bmp.get();
        ASSERT_TRUE(Glow && !Glow->Empty());
        EXPECT_EQ(Glow->Width(), C.Resized ? 48 + B->Width() - 40 : 48);
        EXPECT_EQ(*Glow->PixelAddress(Glow->Width() / 2, Glow->Height() / 2), C.Want);
        Move(Form, 300, 250);
        Pump();
        delete B;
    }
}

TEST_F(SkinButton, SkinChangeReReadsTheRecord)
{
    auto* R = SkinRecord();
    auto* B = Button();
    B->SetCanFocused(false);
    B->SetSkinData(Skin.SD);
    Move(Form, 300, 250);
    EXPECT_EQ(PixelOf(B, 50, 10), clRed);
    B->BeforeChangeSkinData();
    R->SkinRect = Rect(80, 0, 120, 20);
    B->ChangeSkinData();
    EXPECT_EQ(PixelOf(B, 50, 10), clBlue);
}

// ---- menu button ----------------------------------------------------------------------------------

struct RecordingHost : TbsSkinMenuHost {
    int Popups = 0;
    TControl* Opener = nullptr;
    TbsSkinData* MenuSkinData() override { return nullptr; }
    void CloseSkinMenu() override {}
    void PopupSkinMenu(TbsSkinPopupMenu*, TControl* C, const TRect&, bool, TbsSkinData*) override
    {
        ++Popups;
        Opener = C;
    }
};

class SkinMenuButton : public SkinButton {
protected:
    void SetUp() override
    {
        SkinButton::SetUp();
        bsSetSkinMenuHostResolver([this](TComponent* C) -> TbsSkinMenuHost* { return C == Form ? &Host : nullptr; });
        Menu = new TbsSkinPopupMenu(Form);
        MB = Make<TbsSkinMenuButton>(Rect(10, 10, 110, 40));
        MB->OnClick = [this](TObject*) { ++Clicks; };
        MB->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++MouseDowns; };
        MB->OnShowTrackMenu = [this](TObject*) { ++Shows; };
        MB->OnHideTrackMenu = [this](TObject*) { ++Hides; };
    }
    void TearDown() override
    {
        bsSetSkinMenuHostResolver(nullptr);
        SkinButton::TearDown();
    }
    RecordingHost Host;
    TbsSkinPopupMenu* Menu = nullptr;
    TbsSkinMenuButton* MB = nullptr;
    int MouseDowns = 0, Shows = 0, Hides = 0;
};

TEST_F(SkinMenuButton, PressOpensTheMenuAndTheCloseNoticeReleasesTheButton)
{
    MB->SetSkinPopupMenu(Menu);
    Down(MB, 20, 15);
    EXPECT_EQ(Host.Popups, 1);
    EXPECT_EQ(Host.Opener, MB);
    EXPECT_TRUE(MB->MenuTracked());
    EXPECT_TRUE(MB->Down());
    EXPECT_EQ(MouseDowns, 0);
    Up(MB, 20, 15);  // ignored while tracked
    EXPECT_TRUE(MB->Down());
    EXPECT_EQ(Clicks, 0);
    Move(Form, 300, 250);
    bsNotifySkinMenuClosed(MB);
    EXPECT_FALSE(MB->MenuTracked());
    EXPECT_FALSE(MB->Down());
    EXPECT_FALSE(MB->MouseIn());
    EXPECT_EQ(Hides, 1);
}

TEST_F(SkinMenuButton, TrackStripOpensAndTheRestClicks)
{
    MB->SetSkinPopupMenu(Menu);
    MB->SetTrackButtonMode(true);
    Down(MB, 100 - 16, 15);
    EXPECT_EQ(Host.Popups, 0);
    EXPECT_EQ(MouseDowns, 1);
    Up(MB, 100 - 16, 15);
    EXPECT_EQ(Clicks, 1);
    Down(MB, 100 - 15, 15);
    EXPECT_EQ(Host.Popups, 1);
    EXPECT_EQ(MouseDowns, 1);
}

TEST_F(SkinMenuButton, BothMenusOpenTogether)
{
    auto* IM = new TbsSkinImagesMenu(Form);
    auto* IL = new TImageList(Form);
    TBitmap B(16, 16);
    IL->Add(&B, nullptr);
    IM->SetImages(IL);
    MB->SetSkinPopupMenu(Menu);
    MB->SetSkinImagesMenu(IM);
    Down(MB, 20, 15);
    EXPECT_EQ(Shows, 2);
    EXPECT_TRUE(IM->GridVisible());
    IM->Hide();
    EXPECT_FALSE(MB->MenuTracked());
    EXPECT_EQ(Hides, 1);
}

TEST_F(SkinMenuButton, AFreedButtonHearsNothingFromTheImagesMenusItOpened)
{
    auto* IL = new TImageList(Form);
    TBitmap B(16, 16);
    IL->Add(&B, nullptr);
    auto* IM = new TbsSkinImagesMenu(Form);
    auto* Other = new TbsSkinImagesMenu(Form);
    IM->SetImages(IL);
    Other->SetImages(IL);
    // one button freed while linked, another after moving to a second menu
    auto* Moved = Make<TbsSkinMenuButton>(Rect(10, 50, 110, 80));
    for (TbsSkinMenuButton* Button : {MB, Moved}) {
        Button->SetSkinImagesMenu(IM);
        Down(Button, 20, 15);
        ASSERT_TRUE(IM->GridVisible());
        IM->Hide();
        Pump();
    }
    Moved->SetSkinImagesMenu(Other);
    EXPECT_EQ(Hides, 1);  // the counting handler belongs to MB only
    delete MB;
    MB = nullptr;
    delete Moved;
    int Closes = 0;
    for (TbsSkinImagesMenu* M : {IM, Other}) {
        M->OnMenuClose = [&](TObject*) { ++Closes; };
        M->PopupFromRect(Rect(100, 100, 140, 120));
        ASSERT_TRUE(M->GridVisible());
        M->Hide();
        Pump();
    }
    EXPECT_EQ(Closes, 2);
    EXPECT_EQ(Hides, 1);
}

TEST_F(SkinMenuButton, WithoutMenusItIsAPlainButtonAndKeysDoNothing)
{
    Click(MB, 20, 15);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(MouseDowns, 1);
    MB->SetFocus();
    Pump();
    Key(VK_SPACE);
    EXPECT_EQ(Clicks, 1);
    // with a popup menu, space opens it
    MB->SetSkinPopupMenu(Menu);
    Headless::KeyDown(VK_SPACE, " ");
    Pump();
    EXPECT_EQ(Host.Popups, 1);
    EXPECT_TRUE(MB->MenuTracked());
}

TEST_F(SkinMenuButton, SkinnedContentKeepsToTheClientRectangleLessTheArrow)
{
    // the resizable face: a frame of 4 pixels, so the client rectangle is (4, 4, 96, 26)
    SkinRecord();
    auto* R = Skin.Add<TbsDataSkinButtonControl>("resizebutton");
    NinePiece(R, 40, 20, 4);
    R->FontColor = clBlack;
    R->GlowLayerPictureIndex = -1;
    MB->SetSkinDataName("resizebutton");
    MB->SetSkinData(Skin.SD);
    MB->SetMargin(0);
    MB->Glyph()->SetSize(10, 10);
    MB->Glyph()->Canvas()->Brush()->SetColor(clYellow);
    MB->Glyph()->Canvas()->FillRect(Rect(0, 0, 10, 10));
    MB->Glyph()->Canvas()->SetPixels(0, 9, clBlack);  // the transparent colour
    MB->Repaint();
    EXPECT_EQ(PixelOf(MB, 1, 15), clRed);     // the face's frame stays
    EXPECT_EQ(PixelOf(MB, 6, 12), clYellow);  // the glyph starts at the client's left
}

TEST_F(SkinMenuButton, DefaultLookDrawsTheTwoPartsInTrackMode)
{
    MB->SetSkinPopupMenu(Menu);
    MB->SetTrackButtonMode(true);
    MB->SetCanFocused(false);
    Move(MB, 20, 15);
    EXPECT_EQ(PixelOf(MB, 2, 2), bsDefaultHotColor);
    Down(MB, 95, 15);
    EXPECT_EQ(PixelOf(MB, 2, 2), bsDefaultHotColor);      // tracked: main part hot
    EXPECT_EQ(PixelOf(MB, 87, 2), bsDefaultDownColor);    // arrow part pressed
}

}  // namespace
