// The graphic skin control bases: record lookup, default and skin looks, sizes that
// follow the skin picture, links to the skin data.
#include "skingfx_support.h"

using namespace skingfx;

namespace {

// Counts the images it is asked for.
class TCounting : public TbsGraphicSkinCustomControl {
public:
    using TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl;
    int DefaultImages = 0, SkinImages = 0, Changes = 0;
    void ChangeSkinData() override
    {
        ++Changes;
        TbsGraphicSkinCustomControl::ChangeSkinData();
    }

protected:
    void CreateControlDefaultImage(TBitmap* B) override
    {
        ++DefaultImages;
        TbsGraphicSkinCustomControl::CreateControlDefaultImage(B);
    }
    void CreateControlSkinImage(TBitmap* B) override
    {
        ++SkinImages;
        TbsGraphicSkinCustomControl::CreateControlSkinImage(B);
    }
};

class GraphicBases : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        FillTestSkin(Skin);
        Panel = AddRecord<TbsDataSkinCustomControl>(Skin, "panel");
        NinePiece(Panel, 0);
        C = Add<TCounting>(TRect(10, 10, 70, 50));
        C->SetSkinDataName("panel");
    }
    TbsDataSkinCustomControl* Panel = nullptr;
    TCounting* C = nullptr;
};

}  // namespace

TEST_F(GraphicBases, DefaultLookFillsWithButtonFace)
{
    Show();
    EXPECT_EQ(C->FIndex, -1);
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(69, 49), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(70, 50), FormColor);
    EXPECT_GT(C->DefaultImages, 0);
    EXPECT_EQ(C->SkinImages, 0);
}

TEST_F(GraphicBases, SkinLookIsBuiltFromNinePiecesAtTheControlsSize)
{
    C->SetSkinData(Skin);
    Show();
    EXPECT_EQ(C->FIndex, 1);
    EXPECT_EQ(C->ResizeMode, 1);
    EXPECT_EQ(At(10, 10), EdgeColor);       // corner copied
    EXPECT_EQ(At(40, 30), FaceNormal);      // centre stretched
    EXPECT_EQ(At(69, 49), EdgeColor);
    EXPECT_EQ(C->RealClientRect(), TRect(3, 3, 57, 37));
    EXPECT_EQ(C->RealClientWidth(), 54);
}

TEST_F(GraphicBases, ZeroSizePaintsNothingAndMakesNoBitmap)
{
    Show();
    const int Before = C->DefaultImages;
    C->SetWidth(0);
    C->Repaint();
    Pump();
    EXPECT_EQ(C->DefaultImages, Before);
}

TEST_F(GraphicBases, MissingRecordGivesDefaultLookAndDefaultSize)
{
    C->SetSkinDataName("nosuchrecord");
    C->SetDefaultWidth(33);
    C->SetDefaultHeight(0);  // not applied
    EXPECT_EQ(C->Width(), 33);
    C->SetSkinData(Skin);
    EXPECT_EQ(C->FIndex, -1);
    EXPECT_EQ(C->Width(), 33);
    EXPECT_EQ(C->Height(), 40);
    Show();
    EXPECT_EQ(At(20, 20), ColorToRGB(clBtnFace));
}

TEST_F(GraphicBases, ResizeModeFollowsTheCornerPoints)
{
    struct Case {
        TPoint RT, LB, RB;
        TRect Skin;
        int Mode;
    } Cases[] = {
        {{27, 3}, {3, 17}, {27, 17}, Band(0), 1},
        {{27, 3}, {0, 0}, {0, 0}, Band(0), 2},
        {{0, 0}, {3, 17}, {0, 0}, Band(0), 3},
        {{0, 0}, {0, 0}, {27, 0}, Band(0), 0},   // one coordinate of RBPt zero: not both ways
        {{0, 0}, {0, 0}, {0, 0}, Band(0), 0},
        {{27, 3}, {3, 17}, {27, 17}, TRect(5, 5, 5, 30), -1},
    };
    C->SetSkinData(Skin);
    for (const Case& K : Cases) {
        Panel->RTPoint = K.RT;
        Panel->LBPoint = K.LB;
        Panel->RBPoint = K.RB;
        Panel->SkinRect = K.Skin;
        C->GetSkinData();
        EXPECT_EQ(C->ResizeMode, K.Mode) << K.RT.X << "," << K.LB.Y << "," << K.RB.X;
    }
}

TEST_F(GraphicBases, SizesFollowTheSkinPicture)
{
    C->SetSkinData(Skin);
    // horizontally only: any height becomes the picture's
    Panel->LBPoint = Panel->RBPoint = TPoint(0, 0);
    C->ChangeSkinData();
    EXPECT_EQ(C->Height(), 20);
    C->SetBounds(10, 10, 90, 77);
    EXPECT_EQ(C->Width(), 90);
    EXPECT_EQ(C->Height(), 20);
    EXPECT_EQ(C->NewRTPoint, TPoint(87, 3));
    EXPECT_EQ(C->RealClientRect(), TRect(3, 3, 87, 17));
    // vertically only
    Panel->RTPoint = TPoint(0, 0);
    Panel->LBPoint = TPoint(3, 17);
    C->ChangeSkinData();
    EXPECT_EQ(C->Width(), 30);
    C->SetBounds(10, 10, 50, 64);
    EXPECT_EQ(C->Width(), 30);
    EXPECT_EQ(C->Height(), 64);
    EXPECT_EQ(C->NewLBPoint, TPoint(3, 61));
    // fixed size
    Panel->LBPoint = TPoint(0, 0);
    C->ChangeSkinData();
    EXPECT_EQ(C->Width(), 30);
    EXPECT_EQ(C->Height(), 20);
    EXPECT_EQ(C->RealClientRect(), Panel->ClRect);
}

TEST_F(GraphicBases, OtherRecordClassGivesFixedSizeWithoutPicture)
{
    AddRecord<TbsDataSkinStdLabelControl>(Skin, "label");
    C->SetSkinDataName("label");
    C->SetSkinData(Skin);
    EXPECT_EQ(C->FIndex, 2);
    EXPECT_EQ(C->ResizeMode, 0);
    EXPECT_EQ(C->Picture, nullptr);
}

TEST_F(GraphicBases, PictureIndexOutsideTheListGivesNoPicture)
{
    for (int Index : {-1, 1, 7}) {
        Panel->PictureIndex = Index;
        C->SetSkinData(Skin);
        EXPECT_EQ(C->Picture, nullptr) << Index;
    }
    Panel->PictureIndex = 0;
    C->GetSkinData();
    EXPECT_NE(C->Picture, nullptr);
}

TEST_F(GraphicBases, EmptySkinRectPaintsNothingIntoTheBitmap)
{
    Panel->SkinRect = TRect(0, 0, 0, 20);
    C->SetSkinData(Skin);
    Show();
    EXPECT_EQ(C->ResizeMode, -1);
    EXPECT_GT(C->SkinImages, 0);
    EXPECT_EQ(At(40, 30), RGB(0, 0, 0));  // the bitmap as made: black
}

TEST_F(GraphicBases, RemovingTheSkinDataClearsTheLink)
{
    C->SetSkinData(Skin);
    Show();
    EXPECT_EQ(At(40, 30), FaceNormal);
    delete Skin;
    Skin = nullptr;
    EXPECT_EQ(C->SkinData(), nullptr);
    C->Repaint();
    Pump();
    EXPECT_EQ(C->FIndex, -1);
    EXPECT_EQ(At(40, 30), ColorToRGB(clBtnFace));
}

TEST_F(GraphicBases, SettingSkinDataWhileDesigningDoesNotReadTheSkin)
{
    C->SetDesigning(true);
    C->SetSkinData(Skin);
    EXPECT_EQ(C->SkinData(), Skin);
    EXPECT_EQ(C->Changes, 0);
    EXPECT_EQ(C->FIndex, -1);
}

TEST_F(GraphicBases, EmptySkinIsNotReadAndGivesTheDefaultLook)
{
    Skin->Empty = true;
    C->SetSkinData(Skin);
    EXPECT_EQ(C->Changes, 0);
    C->GetSkinData();
    EXPECT_EQ(C->FIndex, -1);
}

TEST_F(GraphicBases, SkinChangeReReadsTheRecord)
{
    C->SetSkinData(Skin);
    Show();
    C->BeforeChangeSkinData();
    EXPECT_EQ(C->FIndex, -1);
    Panel->SkinRect = Band(2);
    C->ChangeSkinData();
    Pump();
    EXPECT_EQ(C->FIndex, 1);
    EXPECT_EQ(At(40, 30), FaceDown);
}

TEST_F(GraphicBases, DefaultFontChangesRepaintOnlyWhenUnskinned)
{
    EXPECT_EQ(C->DefaultFont()->Name(), "Tahoma");
    EXPECT_EQ(C->DefaultFont()->Height(), 13);
    Show();
    int Before = C->DefaultImages;
    C->DefaultFont()->SetColor(clRed);
    EXPECT_GT(C->DefaultImages, Before);
    C->SetSkinData(Skin);
    Before = C->DefaultImages;
    const int Skinned = C->SkinImages;
    C->DefaultFont()->SetColor(clBlue);
    EXPECT_EQ(C->DefaultImages, Before);
    EXPECT_EQ(C->SkinImages, Skinned);
}
