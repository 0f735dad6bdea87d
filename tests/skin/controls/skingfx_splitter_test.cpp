// The skinned splitter: dragging resizes its neighbour, the bar and gripper come from the
// skin and its thickness follows the picture.
#include "skingfx_support.h"

using namespace skingfx;

namespace {

class Splitter : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // the neighbour is windowless too: same-side controls align in the order of the
        // parent's list, which holds windowless controls before windowed ones
        Left = Add<TbsSkinBevel>(TRect(0, 0, 80, 240));
        Left->SetAlign(alLeft);
        S = Add<TbsSkinSplitter>(TRect(100, 0, 106, 240));
        S->SetColor(RGB(0, 0, 160));
        S->OnMoved = [this](TObject*) { ++Moves; };
    }
    TbsDataSkinSplitterControl* Record(const String& Name)
    {
        FillTestSkin(Skin);
        auto* R = AddRecord<TbsDataSkinSplitterControl>(Skin, Name);
        R->PictureIndex = 0;
        R->SkinRect = TRect(0, 0, 8, 20);
        R->LTPoint = TPoint(0, 3);
        R->RTPoint = TPoint(8, 3);
        R->LBPoint = TPoint(0, 17);
        R->StretchEffect = true;
        return R;
    }
    TbsSkinBevel* Left = nullptr;
    TbsSkinSplitter* S = nullptr;
    int Moves = 0;
};

}  // namespace

TEST_F(Splitter, DraggingResizesTheNeighbourWithinTheLimits)
{
    Add<TCustomControl>(TRect(150, 0, 200, 200))->SetAlign(alClient);
    Show();
    EXPECT_EQ(S->Left(), 80);
    EXPECT_EQ(S->Cursor(), crHSplit);
    Press(S, 2, 50);
    MoveTo(S, 32, 50);
    EXPECT_EQ(Left->Width(), 110);
    EXPECT_EQ(S->Left(), 110);
    MoveTo(S, -200, 50);
    EXPECT_EQ(Left->Width(), 30);  // MinSize
    MoveTo(S, 500, 50);
    EXPECT_EQ(Left->Width(), 320 - 30 - S->Width());  // the rest keeps MinSize
    Release(S, 500, 50);
    EXPECT_EQ(Moves, 1);
    MoveTo(S, 2, 50);
    EXPECT_EQ(Left->Width(), 320 - 30 - S->Width());  // released: nothing follows the mouse
}

TEST_F(Splitter, SkinnedBarTakesThePicturesWidthAndGripper)
{
    auto* R = Record("vsplitter");
    S->SetSkinData(Skin);
    EXPECT_EQ(S->Width(), 8);
    Show();
    const int X = S->Left();
    EXPECT_EQ(At(X + 4, 100), FaceNormal);
    EXPECT_EQ(At(X + 0, 100), EdgeColor);
    EXPECT_EQ(At(X + 4, 120), FaceNormal);  // no gripper
    R->GripperRect = TRect(2, 42, 6, 46);   // a piece of the down face
    S->Repaint();
    Pump();
    EXPECT_EQ(At(X + 4, 120), FaceDown);   // centred: 8/2 - 4/2 = 2, 240/2 - 2 = 118
    EXPECT_EQ(At(X + 2, 118), FaceDown);
    EXPECT_EQ(At(X + 1, 118), FaceNormal);
    EXPECT_EQ(At(X + 4, 117), FaceNormal);
}

TEST_F(Splitter, TransparentUsesTheDefaultSizeAndPaintsNothing)
{
    Record("vsplitter");
    S->SetSkinData(Skin);
    S->SetTransparent(true);
    S->ChangeSkinData();
    EXPECT_EQ(S->Width(), 10);
    Show();
    EXPECT_EQ(At(S->Left() + 4, 100), FormColor);
    S->SetSkinData(nullptr);
    EXPECT_EQ(S->Width(), 10);
}

TEST_F(Splitter, ClientOrUnalignedKeepsThePlainLook)
{
    Record("vsplitter");
    S->SetSkinData(Skin);
    S->SetAlign(alNone);
    S->SetBounds(200, 10, 20, 50);
    Show();
    EXPECT_EQ(At(205, 30), RGB(0, 0, 160));
    // aligned top: the "hsplitter" record gives the height
    auto* H = Record("hsplitter");
    H->SkinRect = TRect(0, 0, 30, 6);
    H->RTPoint = TPoint(27, 0);
    S->SetAlign(alTop);
    S->SetSkinDataName("hsplitter");
    S->ChangeSkinData();
    EXPECT_EQ(S->Height(), 6);
    EXPECT_EQ(S->Cursor(), crVSplit);
}
