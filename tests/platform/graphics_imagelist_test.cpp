// Image lists: adding strips, masks and icons, drawing enabled and disabled, the handle calls.
#include <gtest/gtest.h>

#include "platform/graphics/ImgList.h"

namespace {

// A strip of N images of 4 x 4: image k is filled with colour k, with its top-left
// pixel in magenta (the mask colour).
void Strip(TBitmap& B, int N)
{
    static const TColor Colors[] = {clRed, clLime, clBlue, clYellow};
    B.SetPixelFormat(pf24bit);
    B.SetSize(4 * N, 4);
    for (int k = 0; k < N; ++k) {
        B.Canvas()->Brush()->SetColor(Colors[k % 4]);
        B.Canvas()->FillRect(TRect(4 * k, 0, 4 * k + 4, 4));
        B.Canvas()->SetPixels(4 * k, 0, clFuchsia);
    }
}

uint32_t Rgb(TBitmap& B, int X, int Y) { return B.Surface()->GetPixel(X, Y) & 0xFFFFFF; }

}  // namespace

TEST(GraphicsImageList, AddDeleteAndResize)
{
    TImageList L(nullptr, 4, 4);
    EXPECT_EQ(L.Width(), 4);
    TBitmap S;
    Strip(S, 3);
    EXPECT_EQ(L.AddMasked(&S, clFuchsia), 0);
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(ImageList_GetImageCount(L.Handle()), 3);
    int Cx, Cy;
    ASSERT_TRUE(ImageList_GetIconSize(L.Handle(), &Cx, &Cy));
    EXPECT_EQ(Cx, 4);
    L.Delete(1);
    EXPECT_EQ(L.Count(), 2);
    EXPECT_EQ(ImageList_GetImageSurface(L.Handle(), 1)->GetPixel(1, 1) & 0xFFFFFF, 0x0000FFu);   // blue moved down
    EXPECT_THROW(L.Delete(5), EInvalidOperation);
    TBitmap One;
    Strip(One, 1);
    L.Insert(0, &One, nullptr);
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(ImageList_GetImageSurface(L.Handle(), 0)->GetPixel(0, 0), 0xFFFF00FFu);   // no mask: opaque
    int Changes = 0;
    L.OnChange = [&](TObject*) { ++Changes; };
    L.SetSize(16, 16);
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(Changes, 1);
    L.SetSize(16, 16);
    EXPECT_EQ(Changes, 1);
}

TEST(GraphicsImageList, DrawsEnabledDisabledAndWithBackground)
{
    TImageList L(nullptr, 4, 4);
    TBitmap S;
    Strip(S, 1);
    L.AddMasked(&S, clFuchsia);
    TBitmap D;
    D.SetSize(12, 4);
    D.Canvas()->Brush()->SetColor(clWhite);
    D.Canvas()->FillRect(TRect(0, 0, 12, 4));
    L.Draw(D.Canvas(), 0, 0, 0, true);
    EXPECT_EQ(Rgb(D, 0, 0), 0xFFFFFFu);     // the masked pixel shows the background
    EXPECT_EQ(Rgb(D, 1, 1), 0xFF0000u);
    L.Draw(D.Canvas(), 4, 0, 0, false);
    // Red (brightness 76) greyed: 128 + 38.
    EXPECT_EQ(Rgb(D, 5, 1), 0xA6A6A6u);
    EXPECT_EQ(Rgb(D, 4, 0), 0xFFFFFFu);
    L.Draw(D.Canvas(), 8, 0, 7, true);      // out of range: nothing
    EXPECT_EQ(Rgb(D, 9, 1), 0xFFFFFFu);
    // A background colour fills behind masked pixels.
    L.SetBkColor(clBlue);
    L.Draw(D.Canvas(), 8, 0, 0, true);
    EXPECT_EQ(Rgb(D, 8, 0), 0x0000FFu);
    // The handle call with an explicit "no background".
    ImageList_DrawEx(L.Handle(), 0, D.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_NORMAL);
    EXPECT_EQ(Rgb(D, 0, 0), 0xFFFFFFu);
}

TEST(GraphicsImageList, AlphaImagesIconsAndBadHandles)
{
    TImageList L(nullptr, 16, 16);
    TIcon I;
    I.SetHandle(CopyIcon(LoadIcon(0, IDI_ASTERISK)));   // 32 x 32, scaled into the list
    EXPECT_EQ(L.AddIcon(&I), 0);
    TIcon Back;
    L.GetIcon(0, &Back);
    EXPECT_EQ(Back.Width(), 16);
    TBitmap Bm;
    L.GetBitmap(0, &Bm);
    EXPECT_EQ(Bm.PixelFormat(), pf32bit);
    EXPECT_EQ(Bm.Surface()->GetPixel(0, 0) >> 24, 0u);     // a corner of the round icon is clear
    EXPECT_EQ(Bm.Surface()->GetPixel(8, 3) >> 24, 255u);
    // A 32-bit bitmap with alpha keeps it.
    L.Add(&Bm, nullptr);
    EXPECT_EQ(ImageList_GetImageSurface(L.Handle(), 1)->GetPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(ImageList_Draw(nullptr, 0, nullptr, 0, 0, 0), FALSE);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(&L)), 0);
    HIMAGELIST H = ImageList_Create(48, 48, ILC_COLOR32, 1, 1);
    EXPECT_EQ(ImageList_AddIcon(H, LoadIcon(0, IDI_APPLICATION)), 0);
    EXPECT_EQ(ImageList_SetBkColor(H, RGB(1, 2, 3)), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(H), RGB(1, 2, 3));
    EXPECT_TRUE(ImageList_Destroy(H));
    EXPECT_FALSE(ImageList_Destroy(H));
}
