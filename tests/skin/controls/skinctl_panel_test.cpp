// The skinned panel, paint panel and group box: default and skinned looks, client areas,
// checked and roll-up modes by click and by code, transparent mode.
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class SkinPanel : public SkinCtlTest {
protected:
    // "panel": 40 x 40 picture, red frame of 5 around a green client.
    TbsDataSkinPanelControl* Record(const String& Name = "panel")
    {
        if (Skin.SD->FActivePictures.empty()) {
            Skin.AddPicture(40, 40, clRed);
            Skin.Paint(0, Rect(5, 5, 35, 35), clLime);
        }
        auto* R = Skin.Add<TbsDataSkinPanelControl>(Name);
        NinePiece(R, 40, 40, 5);
        R->BGPictureIndex = -1;
        R->FontColor = clBlack;
        return R;
    }
    TestSkin Skin;
};

TEST_F(SkinPanel, DefaultLookFramesAndFillsTheCaptionBand)
{
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    EXPECT_EQ(P->Width(), 200);
    EXPECT_EQ(PixelOf(P, 0, 0), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(P, 100, 50), Sys(clBtnFace));
    P->SetCaptionMode(true);
    EXPECT_EQ(PixelOf(P, 190, 10), Sys(clBtnShadow));
    EXPECT_EQ(P->SkinClientRect(), Rect(1, 21, 199, 99));
    P->SetRibbonStyle(true);
    EXPECT_EQ(P->SkinClientRect(), Rect(1, 1, 199, 79));
    EXPECT_EQ(PixelOf(P, 190, 90), Sys(clBtnShadow));
}

TEST_F(SkinPanel, CheckedModeTogglesByCaptionClickAndFiresEveryTime)
{
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    auto* Child = Make<TbsSkinButton>(Rect(10, 30, 60, 50), P);
    P->SetCaptionMode(true);
    P->SetCheckedMode(true);
    int Fired = 0;
    P->OnChecked = [&](TObject*) { ++Fired; };
    Click(P, 100, 10);
    EXPECT_TRUE(P->Checked());
    EXPECT_TRUE(Child->Enabled());
    EXPECT_EQ(Fired, 1);
    Click(P, 100, 60);  // outside the band
    EXPECT_TRUE(P->Checked());
    P->SetChecked(false);
    EXPECT_FALSE(Child->Enabled());
    P->SetChecked(false);  // the same value fires again
    EXPECT_EQ(Fired, 3);
}

TEST_F(SkinPanel, RollUpKeepsTheFirstHeightAndRestoresAllChildren)
{
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    auto* A = Make<TbsSkinButton>(Rect(10, 30, 60, 50), P);
    auto* Hidden = Make<TbsSkinButton>(Rect(70, 30, 120, 50), P);
    Hidden->SetVisible(false);
    P->SetCaptionMode(true);
    P->SetRollUpMode(true);
    int Changes = 0;
    P->OnChangeRollUpState = [&](TObject*) { ++Changes; };
    Click(P, 100, 10);
    EXPECT_TRUE(P->RollUpState());
    EXPECT_EQ(P->Height(), 21);
    EXPECT_EQ(P->RealHeight(), 100);
    EXPECT_FALSE(A->Visible());
    P->DoRollUp(true);  // a second roll-up keeps the first height
    EXPECT_EQ(P->RealHeight(), 100);
    Click(P, 100, 10);
    EXPECT_FALSE(P->RollUpState());
    EXPECT_EQ(P->Height(), 100);
    EXPECT_EQ(P->RealHeight(), -1);
    EXPECT_TRUE(A->Visible());
    EXPECT_FALSE(Hidden->Visible());  // hidden by its owner, not by the roll-up
    EXPECT_EQ(Changes, 2);
}

TEST_F(SkinPanel, RollingDownGivesTheSizeLimitsBackEveryTime)
{
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    P->SetCaptionMode(true);
    P->SetRollUpMode(true);
    TSizeConstraints Limits;
    Limits.MinHeight = 60;
    Limits.MaxWidth = 300;
    P->SetConstraints(Limits);
    for (int Round = 0; Round < 2; ++Round) {
        P->SetRollUpState(true);
        EXPECT_EQ(P->Height(), 21) << Round;  // free of the minimum while rolled up
        EXPECT_EQ(P->Constraints().MinHeight, 0) << Round;
        P->SetRollUpState(false);
        EXPECT_EQ(P->Height(), 100) << Round;
        EXPECT_EQ(P->Constraints().MinHeight, 60) << Round;
        EXPECT_EQ(P->Constraints().MaxWidth, 300) << Round;
    }
    // leaving the mode with nothing saved keeps the limits as they are
    P->SetRollUpMode(false);
    P->SetRollUpState(true);
    EXPECT_EQ(P->Constraints().MinHeight, 60);
}

TEST_F(SkinPanel, AFreeSizeCaptionPanelWithoutAPanelRecordShowsTheButtonFace)
{
    Record("groupbox");
    auto* G = Make<TbsSkinGroupBox>(Rect(10, 10, 210, 110));
    G->SetUseSkinSize(false);
    G->SetSkinData(Skin.SD);
    ASSERT_NE(G->FIndex, -1);
    EXPECT_EQ(PixelOf(G, 100, 60), Sys(clBtnFace));
}

TEST_F(SkinPanel, SkinnedPanelDrawsItsFrameAndGivesChildrenTheSkinClientArea)
{
    Record();
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    P->SetSkinData(Skin.SD);
    EXPECT_EQ(PixelOf(P, 1, 1), clRed);
    EXPECT_EQ(PixelOf(P, 100, 50), clLime);
    EXPECT_EQ(PixelOf(P, 198, 98), clRed);
    EXPECT_EQ(P->SkinClientRect(), Rect(5, 5, 195, 95));
    auto* C = Make<TbsSkinPanel>(Rect(0, 0, 10, 10), P);
    C->SetAlign(alClient);
    EXPECT_EQ(C->BoundsRect(), Rect(5, 5, 195, 95));
}

TEST_F(SkinPanel, BorderlessSkinnedPanelTilesItsClientPiece)
{
    Record();
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    P->SetBorderStyle(bvNone);
    P->SetSkinData(Skin.SD);
    EXPECT_EQ(PixelOf(P, 1, 1), clLime);
    EXPECT_EQ(PixelOf(P, 198, 98), clLime);
}

TEST_F(SkinPanel, TransparentModeShowsTheParentAndAnOutline)
{
    Record();
    Form->SetColor(clYellow);
    Skin.SD->FSkinColors->FcBtnShadow = clNavy;
    auto* P = Make<TbsSkinPanel>(Rect(10, 10, 210, 110));
    P->SetSkinData(Skin.SD);
    P->SetTransparentMode(true);
    EXPECT_EQ(PixelOf(P, 100, 50), clYellow);
    EXPECT_EQ(PixelOf(P, 0, 50), clNavy);  // the skin's button shadow
}

TEST_F(SkinPanel, GroupBoxTakesItsRecordAndCaption)
{
    auto* R = Record("groupbox");
    R->CaptionRect = Rect(5, 0, 35, 5);
    auto* G = Make<TbsSkinGroupBox>(Rect(10, 10, 210, 110));
    EXPECT_TRUE(G->CaptionMode());
    EXPECT_EQ(G->SkinDataName(), "groupbox");
    G->SetSkinData(Skin.SD);
    EXPECT_EQ(G->FIndex, 0);
    EXPECT_TRUE(G->ForceBackground());
    R->ClRect = Rect(5, 10, 35, 35);
    R->CaptionRect = Rect(5, 36, 35, 39);  // client area above the caption
    G->ChangeSkinData();
    EXPECT_FALSE(G->ForceBackground());
    R->CaptionRect = Rect(5, 0, 35, 5);  // the next skin has it below again
    G->ChangeSkinData();
    EXPECT_TRUE(G->ForceBackground());
}

TEST_F(SkinPanel, PaintPanelLetsItsOwnerPaintTheClientArea)
{
    auto* P = Make<TbsSkinPaintPanel>(Rect(10, 10, 110, 60));
    TRect Got;
    P->OnPanelPaint = [&](TCanvas* C, TRect R) {
        Got = R;
        C->Brush()->SetColor(clFuchsia);
        C->FillRect(R);
    };
    EXPECT_EQ(PixelOf(P, 50, 25), clFuchsia);
    EXPECT_EQ(Got, Rect(1, 1, 99, 49));
}

}  // namespace
