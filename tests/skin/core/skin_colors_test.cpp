// Colour arithmetic, rectangle texts, stream strings and bitmap links.
#include <gtest/gtest.h>

#include <cmath>

#include "skin/core/bsEffects.h"

TEST(SkinColors, PackingAndClamping)
{
    EXPECT_EQ(ColorToARGB(clRed, 255), 0xFFFF0000u);
    EXPECT_EQ(ColorToARGB(clRed, 0), 0x00FF0000u);
    EXPECT_EQ(ColorToARGB(RGB(1, 2, 3), 0x80), 0x80010203u);
    EXPECT_EQ(ColorRefToARGB(0x00332211), 0xFF112233u);
    EXPECT_EQ(MakeARGB(300, -5, 128, 255), 0xFFFF0080u);
    EXPECT_EQ(ChangeBrightnessOfColor(0x10FA0A80, 10), 0xFFFF148Au);
    EXPECT_EQ(ChangeBrightnessOfColor(0xFF050505, -10), 0xFF000000u);
}

TEST(SkinColors, HslRoundTripsWithinOneStep)
{
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const TbsColor c = bsPackARGB(255, r, g, b);
                float h, s, l;
                ARGBToHSL(c, h, s, l);
                ASSERT_GE(h, 0.0f);
                ASSERT_LT(h, 1.0f);
                const TbsColor back = HSLToARGB(h, s, l);
                EXPECT_NEAR(bsRedOf(back), r, 1);
                EXPECT_NEAR(bsGreenOf(back), g, 1);
                EXPECT_NEAR(bsBlueOf(back), b, 1);
                EXPECT_EQ(bsAlphaOf(back), 255);
            }
}

TEST(SkinColors, HueAndSaturationWrapOnce)
{
    // Pure red has hue 0, saturation 1, lightness 0.5.
    EXPECT_EQ(ChangeHueOfColor(0xFFFF0000, 256), 0xFFFF0600u);  // hue 1/255
    EXPECT_EQ(ChangeHueOfColor(0xFFFF0000, -10), 0xFFFF003Cu);  // hue 245/255
    EXPECT_EQ(ChangeHueOfColor(0xFFFF0000, 0), 0xFFFF0000u);
    float h, s, l;
    ARGBToHSL(SetHueOfColor(0xFFFF0000, 85), h, s, l);  // a third of the circle: green
    EXPECT_NEAR(h, 85 / 255.0, 1e-3);
    EXPECT_EQ(SetHueOfColor(0xFFFF0000, 999), SetHueOfColor(0xFFFF0000, 255));
    // Saturation 1 + 10 steps wraps to 10/255.
    ARGBToHSL(ChangeSaturationOfColor(0xFFFF0000, 10), h, s, l);
    EXPECT_NEAR(s, 10 / 255.0, 5e-3);
    // Grey has no saturation: -10 wraps to 245/255.
    ARGBToHSL(ChangeSaturationOfColor(0xFF808080, -10), h, s, l);
    EXPECT_NEAR(s, 245 / 255.0, 5e-3);
}

TEST(SkinColors, RectangleTexts)
{
    struct Case {
        const char* Text;
        TRect Want;
    };
    const Case cases[] = {
        {"10, 20, 110, 60", Rect(10, 20, 110, 60)},
        {"10:20;110=60", Rect(10, 20, 110, 60)},
        {"10,20,110,60", Rect(10, 20, 110, 60)},
        {"(10, 20, 110, 60)", Rect(0, 0, 0, 0)},
        {"10, 20, abc, 60", Rect(0, 0, 0, 0)},
        {"10, 20, 110", Rect(0, 0, 0, 0)},
        {"", Rect(0, 0, 0, 0)},
        {"-1,-2,3,4", Rect(-1, -2, 3, 4)},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToRect(c.Text), c.Want) << c.Text;
    String text = "12 = rest ";
    String token;
    NextRectToken(text, token);
    EXPECT_EQ(token, "12");
    EXPECT_EQ(text, "= rest");
    String longText(1000, '7');
    NextRectToken(longText, token);  // no length limit
    EXPECT_EQ(token.size(), 1000u);
}

TEST(SkinColors, StreamStringsKeepTheWholeText)
{
    TMemoryStream s;
    WriteStreamString(&s, "按钮 glyph");
    WriteStreamString(&s, "");
    s.SetPosition(0);
    EXPECT_EQ(ReadStreamString(&s), "按钮 glyph");
    EXPECT_EQ(ReadStreamString(&s), "");
    // A count beyond the stream is refused before anything is allocated.
    TMemoryStream bad;
    const int32_t huge = 0x7FFFFFF0, negative = -4;
    bad.WriteBuffer(&huge, 4);
    bad.SetPosition(0);
    EXPECT_THROW(ReadStreamString(&bad), EReadError);
    TMemoryStream neg;
    neg.WriteBuffer(&negative, 4);
    neg.SetPosition(0);
    EXPECT_THROW(ReadStreamString(&neg), EReadError);
}

namespace {

// A 200 x 100 opaque picture with a chosen transparent pixel.
struct LinkFixture {
    TbsBitmap Image;
    LinkFixture()
    {
        Image.SetSize(200, 100);
        Image.Clear(0xFF336699);
        Image.SetName("frame");
    }
};

}  // namespace

TEST(BitmapLink, MaskedParts)
{
    struct Case {
        TPoint Pixel;  // image point made transparent, or (-1, -1) for none
        TbsColor Value;
        TRect Margin;
        bool Masked, Border, Angles;
    };
    const TRect m5(5, 5, 5, 5), none(0, 0, 0, 0);
    const Case cases[] = {
        {{-1, -1}, 0, none, false, false, false},
        {{120, 60}, 0xFE000000, none, true, false, false},  // alpha 254
        {{120, 60}, 0x33333333, none, false, false, false},  // never transparent
        {{101, 51}, 0x007F007F, m5, false, false, true},      // corner
        {{120, 51}, 0x00000000, m5, false, true, false},      // top edge
        {{139, 79}, 0x00000000, m5, false, false, true},      // bottom-right corner
        {{120, 60}, 0x00000000, m5, true, false, false},      // centre
        {{99, 60}, 0x00000000, m5, false, false, false},      // outside the part
    };
    for (const auto& c : cases) {
        LinkFixture f;
        if (c.Pixel.X >= 0) f.Image.SetPixel(c.Pixel.X, c.Pixel.Y, c.Value);
        std::unique_ptr<TbsBitmapLink> link(f.Image.GetBitmapLink(Rect(100, 50, 140, 80)));
        EXPECT_EQ(link->Name(), "frame");
        EXPECT_TRUE(link->Assigned());
        link->CheckingMasked(c.Margin);
        EXPECT_EQ(link->Masked(), c.Masked) << c.Pixel.X << "," << c.Pixel.Y;
        EXPECT_EQ(link->MaskedBorder(), c.Border) << c.Pixel.X << "," << c.Pixel.Y;
        EXPECT_EQ(link->MaskedAngles(), c.Angles) << c.Pixel.X << "," << c.Pixel.Y;
    }
}

TEST(BitmapLink, OutsideTheImageCountsAsTransparent)
{
    LinkFixture f;
    std::unique_ptr<TbsBitmapLink> link(f.Image.GetBitmapLink("190, 90, 210, 110"));
    EXPECT_EQ(link->Rect(), Rect(190, 90, 210, 110));
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked());
    TbsBitmapLink empty;
    EXPECT_FALSE(empty.Assigned());
    empty.CheckingMasked();
    EXPECT_FALSE(empty.Masked());  // no pixels to visit
}

TEST(BitmapLink, StreamAssignAndDraw)
{
    LinkFixture f;
    std::unique_ptr<TbsBitmapLink> link(f.Image.GetBitmapLink(Rect(1, 2, 3, 4)));
    link->SetName("边框");
    TMemoryStream s;
    link->SaveToStream(&s);
    EXPECT_EQ(s.Size(), 4 + int64_t(String("边框").size()) + 16);
    s.SetPosition(0);
    TbsBitmapLink back;
    back.LoadFromStream(&s);
    EXPECT_EQ(back.Name(), "边框");
    EXPECT_EQ(back.Rect(), Rect(1, 2, 3, 4));
    EXPECT_EQ(back.Image(), nullptr);
    TbsBitmapLink copy;
    copy.Assign(link.get());
    EXPECT_EQ(copy.Image(), &f.Image);
    EXPECT_THROW(copy.Assign(&f.Image), EConvertError);

    TbsBitmap target;
    target.SetSize(4, 4);
    target.Clear(0);
    f.Image.SetPixel(1, 2, 0xFFABCDEF);
    link->Draw(&target, 1, 1);
    EXPECT_EQ(*target.PixelAddress(1, 1), 0xFFABCDEFu);
    EXPECT_EQ(*target.PixelAddress(3, 3), 0u);
    back.Draw(&target, 0, 0);  // no image: nothing
}
