// The windowed skin control bases: skin lookup, default and skinned painting, sizing to
// the skin record, the window region from the mask, the skin-change protocol.
#include "skinctl_support.h"

using namespace skinctl;

namespace {

class TCountingControl : public TbsSkinCustomControl {
public:
    using TbsSkinCustomControl::TbsSkinCustomControl;
    int DefaultImages = 0, SkinImages = 0, FontChanges = 0;
    void CreateControlDefaultImage(TBitmap* B) override
    {
        ++DefaultImages;
        TbsSkinCustomControl::CreateControlDefaultImage(B);
    }
    void CreateControlSkinImage(TBitmap* B) override
    {
        ++SkinImages;
        TbsSkinCustomControl::CreateControlSkinImage(B);
    }
    void DefaultFontChanged() override { ++FontChanges; }
    using TbsSkinCustomControl::BuildControlRegion;
};

class SkinBase : public SkinCtlTest {
protected:
    // A 40 x 20 picture: red frame of 4 pixels around a green client.
    TbsDataSkinCustomControl* Record(bool Horz, bool Vert)
    {
        Skin.AddPicture(40, 20, clRed);
        Skin.Paint(0, Rect(4, 4, 36, 16), clLime);
        auto* R = Skin.Add<TbsDataSkinCustomControl>("thing");
        NinePiece(R, 40, 20, 4, Horz, Vert);
        return R;
    }
    TestSkin Skin;
};

TEST_F(SkinBase, UnskinnedPaintsTheButtonFaceAndKeepsItsSize)
{
    auto* C = Make<TCountingControl>(Rect(10, 10, 110, 40));
    C->SetSkinDataName("thing");
    EXPECT_EQ(PixelOf(C, 50, 15), Sys(clBtnFace));
    EXPECT_GT(C->DefaultImages, 0);
    EXPECT_EQ(C->SkinImages, 0);
    EXPECT_EQ(C->FIndex, -1);
    // a skin without the record: still the default look, and DefaultWidth/Height apply
    Record(true, true);
    C->SetSkinDataName("other");
    C->SetDefaultWidth(77);
    C->SetDefaultHeight(33);
    C->SetSkinData(Skin.SD);
    EXPECT_EQ(C->FIndex, -1);
    EXPECT_EQ(C->Width(), 77);
    EXPECT_EQ(C->Height(), 33);
}

TEST_F(SkinBase, ResizableRecordBuildsANinePieceImage)
{
    Record(true, true);
    auto* C = Make<TCountingControl>(Rect(10, 10, 110, 50));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    EXPECT_EQ(C->ResizeMode, 1);
    EXPECT_EQ(C->Width(), 100);
    EXPECT_EQ(C->Height(), 40);
    EXPECT_EQ(C->RealClientRect(), Rect(4, 4, 96, 36));
    EXPECT_EQ(PixelOf(C, 1, 1), clRed);
    EXPECT_EQ(PixelOf(C, 98, 38), clRed);
    EXPECT_EQ(PixelOf(C, 50, 20), clLime);
    EXPECT_EQ(PixelOf(C, 95, 35), clLime);
}

TEST_F(SkinBase, ResizeModesFollowTheCornerPoints)
{
    struct Case {
        bool Horz, Vert;
        int Mode, W, H;
    } Cases[] = {
        {true, false, 2, 100, 20},   // horizontal only: the height of SkinRect
        {false, true, 3, 40, 60},    // vertical only: the width of SkinRect
        {false, false, 0, 40, 20},   // no point: the size of SkinRect
    };
    for (const Case& K : Cases) {
        TestSkin S;
        S.AddPicture(40, 20, clRed);
        auto* R = S.Add<TbsDataSkinCustomControl>("thing");
        NinePiece(R, 40, 20, 4, K.Horz, K.Vert);
        if (!K.Horz && !K.Vert) R->LBPoint = R->RTPoint = R->RBPoint = Point(0, 0);
        auto* C = Make<TCountingControl>(Rect(0, 0, 100, 60));
        C->SetSkinDataName("thing");
        C->SetSkinData(S.SD);
        EXPECT_EQ(C->ResizeMode, K.Mode);
        EXPECT_EQ(C->Width(), K.W) << K.Mode;
        EXPECT_EQ(C->Height(), K.H) << K.Mode;
        C->SetBounds(0, 0, 120, 70);  // requests are corrected the same way
        if (K.Mode == 2) EXPECT_EQ(C->Height(), 20);
        if (K.Mode == 3) EXPECT_EQ(C->Width(), 40);
        if (K.Mode == 0) EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 40, 20));
        delete C;
    }
}

TEST_F(SkinBase, EmptySkinRectDrawsNothingAndKeepsTheSize)
{
    Skin.AddPicture(40, 20, clRed);
    auto* R = Skin.Add<TbsDataSkinCustomControl>("thing");
    NinePiece(R, 40, 20, 4);
    R->SkinRect = Rect(0, 0, 0, 20);
    auto* C = Make<TCountingControl>(Rect(0, 0, 90, 30));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    EXPECT_EQ(C->ResizeMode, -1);
    EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 90, 30));
    PixelOf(C, 1, 1);
    EXPECT_GT(C->SkinImages, 0);
}

TEST_F(SkinBase, RecordOfAnotherClassIsAFixedControlWithoutPicture)
{
    auto* R = Skin.Add<TbsDataSkinControl>("thing");
    R->SkinRect = Rect(0, 0, 30, 30);
    auto* C = Make<TCountingControl>(Rect(0, 0, 90, 30));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    EXPECT_EQ(C->FIndex, 0);
    EXPECT_EQ(C->ResizeMode, 0);
    EXPECT_EQ(C->Picture, nullptr);
}

TEST_F(SkinBase, LinkIsStoredWithoutReadingAnEmptySkinAndClearedWhenTheSkinGoes)
{
    Record(true, true);
    Skin.SD->Empty = true;
    auto* C = Make<TCountingControl>(Rect(0, 0, 90, 30));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    EXPECT_EQ(C->SkinData(), Skin.SD);
    EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 90, 30));
    Skin.SD->Empty = false;
    C->ChangeSkinData();
    EXPECT_EQ(C->FIndex, 0);
    auto* Other = new TbsSkinData(nullptr);
    C->SetSkinData(Other);
    delete Other;
    EXPECT_EQ(C->SkinData(), nullptr);
    PixelOf(C, 1, 1);
    EXPECT_EQ(C->FIndex, -1);
}

TEST_F(SkinBase, ZeroSizeControlPaintsNothing)
{
    auto* C = Make<TCountingControl>(Rect(0, 0, 0, 30));
    C->Repaint();
    Pump();
    EXPECT_EQ(C->DefaultImages, 0);
}

TEST_F(SkinBase, SkinChangeReReadsTheRecordAndBeforeChangeUnskins)
{
    auto* R = Record(true, true);
    auto* C = Make<TCountingControl>(Rect(0, 0, 100, 40));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    C->BeforeChangeSkinData();
    EXPECT_EQ(C->FIndex, -1);
    R->ClRect = Rect(2, 2, 38, 18);
    Skin.Paint(0, Rect(0, 0, 40, 20), clBlue);
    C->ChangeSkinData();
    EXPECT_EQ(C->FIndex, 0);
    EXPECT_EQ(C->RealClientRect(), Rect(2, 2, 98, 38));
    EXPECT_EQ(PixelOf(C, 50, 20), clBlue);
}

TEST_F(SkinBase, WindowRegionComesFromTheMask)
{
    Record(true, true);
    // mask: black everywhere except the top-left corner pixel
    int M = Skin.AddPicture(40, 20, clBlack);
    Skin.Paint(M, Rect(0, 0, 2, 2), clWhite);
    Skin.SD->CtrlList[0]->MaskPictureIndex = M;
    auto* C = Make<TCountingControl>(Rect(0, 0, 100, 40));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(C->Handle(), Rgn), 0);
    EXPECT_FALSE(PtInRegion(Rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(Rgn, 5, 5));
    EXPECT_TRUE(PtInRegion(Rgn, 99, 39));
    EXPECT_TRUE(PtInRegion(Rgn, 50, 20));
    // the skin loses its mask: the region goes
    Skin.SD->CtrlList[0]->MaskPictureIndex = -1;
    C->ChangeSkinData();
    EXPECT_EQ(GetWindowRgn(C->Handle(), Rgn), 0);
    EXPECT_EQ(C->WindowRegion(), nullptr);
    DeleteObject(Rgn);
}

TEST_F(SkinBase, DefaultFontChangesRunTheHookAndRepaintWhenUnskinned)
{
    auto* C = Make<TCountingControl>(Rect(0, 0, 100, 40));
    EXPECT_EQ(C->DefaultFont()->Name(), "Tahoma");
    EXPECT_EQ(C->DefaultFont()->Height(), 13);
    C->DefaultFont()->SetHeight(15);
    EXPECT_EQ(C->FontChanges, 1);
    TFont F;
    F.SetName("Arial");
    C->SetDefaultFont(&F);
    EXPECT_GE(C->FontChanges, 2);
    EXPECT_EQ(C->DefaultFont()->Name(), "Arial");
}

TEST_F(SkinBase, TranslateSkinRectMapsTheCornersToTheNewSize)
{
    Record(true, true);  // 40 x 20, corners of 4
    auto* C = Make<TCountingControl>(Rect(0, 0, 100, 50));
    C->SetSkinDataName("thing");
    C->SetSkinData(Skin.SD);
    ASSERT_EQ(C->ResizeMode, 1);
    struct Case {
        TRect In, Out;
    } Cases[] = {
        {{0, 0, 3, 3}, {0, 0, 3, 3}},          // left-top corner: unchanged
        {{37, 0, 39, 3}, {97, 0, 99, 3}},      // right-top: moved right
        {{0, 17, 3, 19}, {0, 47, 3, 49}},      // left-bottom: moved down
        {{37, 17, 39, 19}, {97, 47, 99, 49}},  // right-bottom: moved both ways
        {{1, 1, 38, 3}, {1, 1, 98, 3}},        // left-top to right-top: wider
        {{1, 1, 3, 18}, {1, 1, 3, 48}},        // left-top to left-bottom: taller
        {{1, 1, 38, 18}, {1, 1, 98, 48}},      // across: both
        {{10, 10, 20, 12}, {10, 10, 20, 12}},  // in the middle: unchanged
    };
    for (const Case& K : Cases) EXPECT_EQ(C->TranslateSkinRect(K.In), K.Out);
}

TEST_F(SkinBase, NotifyChildrenParentBackgroundReachesWindowedAndGraphicChildren)
{
    struct TProbe : TbsSkinControl {
        using TbsSkinControl::TbsSkinControl;
        int Checks = 0;
        void CheckParentBackground() override { ++Checks; }
    };
    struct TShape : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        int Seen = 0;
        void Dispatch(TMessage& M) override
        {
            if (M.Msg == ParentBackgroundChanged) ++Seen;
            TGraphicControl::Dispatch(M);
        }
    };
    auto* Parent = Make<TCountingControl>(Rect(0, 0, 200, 100));
    auto* A = Make<TProbe>(Rect(0, 0, 20, 20), Parent);
    auto* G = Make<TShape>(Rect(30, 0, 50, 20), Parent);
    Parent->NotifyChildrenParentBackground();
    EXPECT_EQ(A->Checks, 1);
    EXPECT_EQ(G->Seen, 1);
}

}  // namespace
