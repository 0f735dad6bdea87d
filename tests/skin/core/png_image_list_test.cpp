// PNG image list: items and placeholders, sizes, and the disabled look.
#include <gtest/gtest.h>

#include "skin/core/bsPngImageList.h"
#include "skin/core/bsUtils.h"

namespace {

std::unique_ptr<TbsPngImage> Png(uint8_t Type, int W, int H, TColor C, uint8_t Alpha = 255)
{
    auto p = std::make_unique<TbsPngImage>(Type, W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) p->SetPixels(x, y, C);
    if (uint8_t* a = p->AlphaScanline(0))
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) p->AlphaScanline(y)[x] = Alpha;
    return p;
}

}  // namespace

TEST(PngImageList, ItemsKeepTheListInStep)
{
    TbsPngImageList list;
    list.SetPngWidth(8);
    list.SetPngHeight(6);
    EXPECT_EQ(list.Width(), 8);
    for (int i = 0; i < 3; ++i) list.PngImages()->Add();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.PngImages()->Items(0)->Name(), "PngImage0");
    EXPECT_EQ(list.PngImages()->Items(2)->Name(), "PngImage2");
    EXPECT_EQ(list.PngImages()->Items(1)->DisplayName(), "PngImage1");
    list.PngImages()->Delete(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.PngImages()->Items(1)->Name(), "PngImage2");
    list.PngImages()->Items(0)->SetName("");
    EXPECT_FALSE(list.PngImages()->Items(0)->DisplayName().empty());

    auto pic = Png(COLOR_RGB, 8, 6, clRed);
    list.PngImages()->Items(0)->SetPngImage(pic.get());
    EXPECT_EQ(list.PngImages()->Items(0)->PngImage()->Pixels(3, 3), clRed);
    TbsPngImageItems copy(nullptr);
    copy.Assign(list.PngImages());
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(0)->PngImage()->Pixels(1, 1), clRed);
}

TEST(PngImageList, NewSizesEmptyTheListExceptWhileLoading)
{
    TbsPngImageList list;
    list.SetPngWidth(16);
    list.PngImages()->Add();
    list.PngImages()->Add();
    list.SetPngWidth(16);  // unchanged: nothing happens
    EXPECT_EQ(list.PngImages()->Count(), 2);
    list.SetPngHeight(20);
    EXPECT_EQ(list.PngImages()->Count(), 0);
    EXPECT_EQ(list.Count(), 0);

    TbsPngImageList loading;
    loading.PngImages()->Add();
    loading.Loading();
    loading.PngImages()->Add();
    loading.SetPngWidth(32);
    loading.SetPngHeight(24);
    EXPECT_EQ(loading.PngImages()->Count(), 2);
    EXPECT_EQ(loading.Count(), 2);  // every item keeps its place in the underlying list
    loading.Loaded();
    loading.PngImages()->Delete(1);
    EXPECT_EQ(loading.Count(), 1);
}

TEST(PngImageList, DisabledAlphaByColourType)
{
    struct Case {
        const char* Name;
        std::unique_ptr<TbsPngImage> Pic;
        int WantAlpha;
    };
    auto keyed = Png(COLOR_RGB, 2, 2, clLime);
    keyed->SetTransparentColor(clLime);
    auto grey = Png(COLOR_GRAYSCALE, 2, 2, RGB(90, 90, 90));
    Case cases[] = {
        {"opaque rgb", Png(COLOR_RGB, 2, 2, clBlue), 128},
        {"rgba 200", Png(COLOR_RGBALPHA, 2, 2, clBlue, 200), 100},
        {"rgba 255", Png(COLOR_RGBALPHA, 2, 2, clBlue, 255), 128},
        {"rgba 0", Png(COLOR_RGBALPHA, 2, 2, clBlue, 0), 0},
        {"grey", std::move(grey), 127},
        {"keyed rgb", std::move(keyed), 0},
    };
    for (auto& c : cases) {
        FadePngImage(c.Pic.get(), 127);
        ASSERT_NE(c.Pic->AlphaScanline(1), nullptr) << c.Name;
        EXPECT_EQ(c.Pic->AlphaScanline(1)[1], c.WantAlpha) << c.Name;
    }
    // A palette picture with a bit-transparency colour: 127, and 0 at that colour.
    TbsPngImage pal(COLOR_PALETTE, 2, 1);
    pal.SetPixels(0, 0, clRed);
    pal.SetPixels(1, 0, clWhite);
    pal.SetTransparentColor(clWhite);
    FadePngImage(&pal, 127);
    ASSERT_NE(pal.AlphaScanline(0), nullptr);
    EXPECT_EQ(pal.AlphaScanline(0)[0], 127);
    EXPECT_EQ(pal.AlphaScanline(0)[1], 0);
    EXPECT_EQ(pal.Pixels(0, 0), clRed);
}

TEST(PngImageList, DrawsEnabledAndDisabled)
{
    TbsPngImageList list;
    list.SetPngWidth(4);
    list.SetPngHeight(4);
    auto item = static_cast<TbsPngImageItem*>(list.PngImages()->Add());
    auto pic = Png(COLOR_RGBALPHA, 4, 4, clBlue, 255);
    item->SetPngImage(pic.get());
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(10, 10);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect(0, 0, 10, 10));
    list.Draw(target.Canvas(), 1, 1, 0, true);
    list.Draw(target.Canvas(), 5, 5, 0, false);
    auto px = [&](int X, int Y) { return static_cast<uint32_t*>(target.ScanLine(Y))[X] & 0x00FFFFFF; };
    EXPECT_EQ(px(2, 2), 0x0000FFu);
    EXPECT_EQ(px(0, 0), 0xFFFFFFu);
    const uint32_t half = px(6, 6);  // blue at alpha 128 over white
    EXPECT_EQ(half & 0xFF, 0xFFu);
    EXPECT_GT((half >> 16) & 0xFF, 100u);
    EXPECT_LT((half >> 16) & 0xFF, 150u);
    list.Draw(target.Canvas(), 0, 0, 5, true);  // beyond the list: nothing

    // An image and a caption from the list; an index beyond it draws the caption alone.
    TBitmap sheet;
    sheet.SetPixelFormat(pf32bit);
    sheet.SetSize(40, 20);
    sheet.Canvas()->Brush()->SetColor(clWhite);
    sheet.Canvas()->FillRect(TRect(0, 0, 40, 20));
    DrawImageAndText(sheet.Canvas(), Rect(0, 0, 40, 20), -1, 0, blGlyphLeft, "", 0, &list, false, true, false, 0);
    EXPECT_EQ(static_cast<uint32_t*>(sheet.ScanLine(9))[19] & 0x00FFFFFF, 0x0000FFu);  // centred at (18, 8)
    DrawImageAndText(sheet.Canvas(), Rect(0, 0, 40, 20), -1, 0, blGlyphLeft, "", 3, &list, false, true, true, clRed);
    EXPECT_EQ(static_cast<uint32_t*>(sheet.ScanLine(4))[4] & 0x00FFFFFF, 0xFF0000u);  // the bare marker
}
