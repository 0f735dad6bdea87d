// The 32-bit images that caption-button records and the layer frame build from the
// skin's pictures and masks.
#include "skindata_support.h"

#include "skin/core/bsEffects.h"

using namespace skintest;

namespace {

// Picture 0: colour (10x, 10y, 50); picture 1: white; picture 2: black; picture 3: a
// small grey mask (100, 101, 101) of 2 x 2; picture 4: left half white, right half black.
class SkinDataAlpha : public ::testing::Test {
protected:
    void SetUp() override
    {
        D.FActivePictures.push_back(Picture(BmpBytesOf(20, 20, [](int X, int Y) { return uint32_t(X * 10) << 16 | uint32_t(Y * 10) << 8 | 50; })));
        D.FActivePictures.push_back(Picture(BmpBytesOf(20, 20, [](int, int) { return 0xFFFFFFu; })));
        D.FActivePictures.push_back(Picture(BmpBytesOf(20, 20, [](int, int) { return 0u; })));
        D.FActivePictures.push_back(Picture(BmpBytesOf(2, 2, [](int, int) { return 0x646565u; })));
        D.FActivePictures.push_back(Picture(BmpBytesOf(20, 20, [](int X, int) { return X < 10 ? 0xFFFFFFu : 0u; })));
        D.LayerFrame->PictureIndex = 1;
        D.LayerFrame->FullBorder = true;
        B.ActivePictureIndex = 0;
        B.SkinRect = TRect(2, 3, 6, 5);
        B.ActiveSkinRect = TRect(0, 0, 4, 4);
    }
    static uint32_t Pixel(TbsBitmap* I, int X, int Y) { return *I->PixelAddress(X, Y); }

    TbsSkinData D{nullptr};
    TbsDataSkinButton B{"b"};
};

TEST_F(SkinDataAlpha, ButtonImagesNeedALayerFramePictureWithAFullBorder)
{
    struct Case {
        int LayerPicture;
        bool FullBorder;
        int ActivePicture;
        bool Built;
    } Cases[] = {{1, true, 0, true}, {-1, true, 0, false}, {1, false, 0, false}, {1, true, -1, false},
                 {1, true, 5, false}};
    for (const Case& C : Cases) {
        D.LayerFrame->PictureIndex = C.LayerPicture;
        D.LayerFrame->FullBorder = C.FullBorder;
        B.ActivePictureIndex = C.ActivePicture;
        B.InitAlphaImages(&D);
        EXPECT_EQ(B.FAlphaNormalImage != nullptr, C.Built) << C.LayerPicture << C.FullBorder << C.ActivePicture;
        EXPECT_EQ(B.FAlphaActiveImage != nullptr, C.Built);
        EXPECT_EQ(B.FAlphaDownImage, nullptr);  // empty rectangle
    }
}

TEST_F(SkinDataAlpha, WithoutAMaskTheImageIsOpaque)
{
    B.InitAlphaImages(&D);
    TbsBitmap* I = B.FAlphaNormalImage.get();
    ASSERT_NE(I, nullptr);
    ASSERT_EQ(I->Width(), 4);
    ASSERT_EQ(I->Height(), 2);
    EXPECT_TRUE(I->AlphaBlend());
    EXPECT_EQ(Pixel(I, 0, 0), 0xFF141E32u);  // picture pixel (2, 3)
    EXPECT_EQ(Pixel(I, 3, 1), 0xFF322832u);  // picture pixel (5, 4)
}

TEST_F(SkinDataAlpha, MasksGivePremultipliedAlpha)
{
    struct Case {
        int Mask;
        uint32_t At00, At30;
    } Cases[] = {
        {1, 0xFF141E32u, 0xFF321E32u},  // white: colours kept, opaque
        {2, 0x00000000u, 0x00000000u},  // black: transparent, colours 0
        {4, 0xFF141E32u, 0xFF321E32u},  // left half white (the mask's x 0..3 lie there)
        {3, 0x64080C14u, 0x00000000u},  // 2 x 2 mask: alpha 100 inside, 0 where it does not reach
    };
    for (const Case& C : Cases) {
        B.AlphaMaskPictureIndex = C.Mask;
        B.InitAlphaImages(&D);
        ASSERT_NE(B.FAlphaNormalImage, nullptr);
        EXPECT_EQ(Pixel(B.FAlphaNormalImage.get(), 0, 0), C.At00) << "mask " << C.Mask;
        EXPECT_EQ(Pixel(B.FAlphaNormalImage.get(), 3, 0), C.At30) << "mask " << C.Mask;
    }
}

TEST_F(SkinDataAlpha, StandardButtonsBuildTheirRestoreImages)
{
    TbsDataSkinStdButton S("s");
    S.ActivePictureIndex = 0;
    S.SkinRect = TRect(0, 0, 2, 2);
    S.RestoreRect = TRect(1, 1, 4, 4);
    S.InitAlphaImages(&D);
    EXPECT_NE(S.FAlphaNormalImage, nullptr);
    ASSERT_NE(S.FAlphaRestoreNormalImage, nullptr);
    EXPECT_EQ(S.FAlphaRestoreNormalImage->Width(), 3);
    EXPECT_EQ(S.FAlphaRestoreActiveImage, nullptr);
    D.LayerFrame->FullBorder = false;
    S.InitAlphaImages(&D);
    EXPECT_EQ(S.FAlphaNormalImage, nullptr);
    EXPECT_EQ(S.FAlphaRestoreNormalImage, nullptr);
}

TEST_F(SkinDataAlpha, LayerFrameImages)
{
    TbsDataSkinLayerFrame* F = D.LayerFrame.get();
    struct Case {
        int Picture, Mask, InActivePicture, InActiveMask;
        bool Active, InActive;
    } Cases[] = {
        {0, -1, -1, -1, false, false}, {0, 5, 0, 1, false, true}, {0, 1, -1, 1, true, false},
        {5, 1, 0, 2, false, true},
    };
    for (const Case& C : Cases) {
        F->PictureIndex = C.Picture;
        F->MaskPictureIndex = C.Mask;
        F->InActivePictureIndex = C.InActivePicture;
        F->InActiveMaskPictureIndex = C.InActiveMask;
        F->InitAlphaImages(&D);
        EXPECT_EQ(F->FSourceBitmap != nullptr, C.Active) << C.Picture << " " << C.Mask;
        EXPECT_EQ(F->FSourceInActiveBitMap != nullptr, C.InActive) << C.InActivePicture << " " << C.InActiveMask;
    }
    // Alpha from the mask's grey level, colours kept; beyond a small mask, transparent.
    F->PictureIndex = 0;
    F->MaskPictureIndex = 3;
    F->InitAlphaImages(&D);
    ASSERT_NE(F->FSourceBitmap, nullptr);
    EXPECT_EQ(F->FSourceBitmap->Width(), 20);
    EXPECT_EQ(Pixel(F->FSourceBitmap.get(), 1, 1), 0x640A0A32u);
    EXPECT_EQ(Pixel(F->FSourceBitmap.get(), 5, 5) >> 24, 0u);
    EXPECT_TRUE(F->FSourceBitmap->AlphaBlend());
    // Clearing the skin frees them.
    D.ClearObjects();
    EXPECT_EQ(F->FSourceBitmap, nullptr);
}

} // namespace
