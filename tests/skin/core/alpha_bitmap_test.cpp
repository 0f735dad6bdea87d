// TbsBitmap: sizes, the live-bitmap list, pixel operations, the stream and PCX forms, resources.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/shell/ShlObj.h"
#include "skin/core/bsEffects.h"

namespace {

std::vector<TbsColor> Pixels(const TbsBitmap& B)
{
    return B.Bits() ? std::vector<TbsColor>(B.Bits(), B.Bits() + size_t(B.Width()) * B.Height())
                    : std::vector<TbsColor>();
}

// A picture one row high of the given pixels (0xAARRGGBB; the alpha is kept by pf32bit only).
std::unique_ptr<TBitmap> PictureRow(TPixelFormat F, std::initializer_list<uint32_t> Px)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(F);
    b->SetSize(int(Px.size()), 1);
    int x = 0;
    for (uint32_t p : Px) {
        if (F == pf32bit)
            static_cast<uint32_t*>(b->ScanLine(0))[x] = p;
        else
            b->Canvas()->SetPixels(x, 0, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        ++x;
    }
    return b;
}

std::vector<uint8_t> FileImageOf(TBitmap* B)
{
    TMemoryStream m;
    B->SaveToStream(&m);
    const auto* p = static_cast<const uint8_t*>(m.Memory());
    return std::vector<uint8_t>(p, p + m.Size());
}

}  // namespace

TEST(AlphaBitmap, SizesAndTheLiveList)
{
    struct Case {
        int W, H, WantW, WantH;
    };
    const Case cases[] = {{0, 10, 4, 3}, {10, 0, 4, 3}, {-20, -10, 20, 10}, {4, 3, 4, 3}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        TbsBitmap b;
        b.SetSize(4, 3);
        b.SetSize(c.W, c.H);
        EXPECT_EQ(b.Width(), c.WantW);
        EXPECT_EQ(b.Height(), c.WantH);
        EXPECT_FALSE(b.Empty());
        EXPECT_EQ(FindLiveBitmapByDC(b.DC()), &b);
    }
    TbsBitmap fresh;
    EXPECT_TRUE(fresh.Empty());
    EXPECT_EQ(fresh.Bits(), nullptr);
    fresh.SetSize(0, 0);
    EXPECT_TRUE(fresh.Empty());

    HDC dc;
    {
        TbsBitmap b;
        b.SetSize(5, 5);
        b.SetSize(6, 5);
        b.SetSize(7, 5);
        dc = b.DC();
        EXPECT_EQ(FindLiveBitmapByDC(dc), &b);
        // The pixels are the DC's: drawing through the DC reaches them.
        RECT r(0, 0, 1, 1);
        HBRUSH br = CreateSolidBrush(RGB(1, 2, 3));
        ::FillRect(dc, &r, br);
        DeleteObject(br);
        EXPECT_EQ(*b.PixelAddress(0, 0) & 0x00FFFFFF, 0x010203u);
    }
    EXPECT_EQ(FindLiveBitmapByDC(dc), nullptr);
    EXPECT_EQ(FindLiveBitmapByDC(nullptr), nullptr);
}

TEST(AlphaBitmap, HugeSizesFailCleanly)
{
    TbsBitmap b;
    b.SetSize(3, 3);
    EXPECT_THROW(b.SetSize(2000000000, 2000000000), Exception);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    b.Clear(1);  // nothing to clear, no fault
    b.SetAlpha(5);
    b.FlipVert();
    b.SetSize(2, 2);
    EXPECT_FALSE(b.Empty());
}

TEST(AlphaBitmap, AlphaChecksAndKeyColour)
{
    TbsBitmap b;
    b.SetSize(3, 1);
    const TbsColor opaqueAndClear[] = {0xFF000000, 0x00FFFFFF, 0xFF123456};
    std::copy(opaqueAndClear, opaqueAndClear + 3, b.Bits());
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend());
    b.SetPixel(1, 0, 0x80FFFFFF);
    b.CheckingAlphaBlend(Rect(0, 0, 1, 1));
    EXPECT_TRUE(b.AlphaBlend());

    // Five steps from the colour in each channel is near enough; six is not.
    b.SetPixel(0, 0, bsPackARGB(255, 105, 205, 45));
    b.SetPixel(1, 0, bsPackARGB(255, 106, 200, 50));
    b.SetPixel(2, 0, bsPackARGB(9, 95, 195, 55));
    b.CheckingTransparent(bsPackARGB(0, 100, 200, 50));
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(*b.PixelAddress(0, 0), bsTransparentColor);
    EXPECT_EQ(*b.PixelAddress(1, 0), bsPackARGB(255, 106, 200, 50));
    EXPECT_EQ(*b.PixelAddress(2, 0), bsTransparentColor);
}

TEST(AlphaBitmap, AlphaWritesAndClamps)
{
    TbsBitmap b;
    b.SetSize(4, 3);
    b.Clear(0xFF808080);
    b.SetAlpha(10, Rect(-5, 1, 2, 10));  // cut to columns 0..1, rows 1..2
    EXPECT_EQ(*b.PixelAddress(1, 2), 0x0A808080u);
    EXPECT_EQ(*b.PixelAddress(2, 2), 0xFF808080u);
    EXPECT_EQ(*b.PixelAddress(1, 0), 0xFF808080u);
    b.SetAlpha(0, Rect(1, 1, 1, 5));  // no width: nothing
    EXPECT_EQ(*b.PixelAddress(1, 1), 0x0A808080u);
    b.SetAlpha(0x40);
    EXPECT_EQ(*b.PixelAddress(3, 0), 0x40808080u);

    b.SetPixel(0, 0, 0x40FF2010);
    b.CheckRGBA();
    EXPECT_EQ(*b.PixelAddress(0, 0), 0x40402010u);
    b.SetPixel(0, 0, 0x80FF0102);
    b.CheckRGBA2();  // Round(128 * c / 255)
    EXPECT_EQ(*b.PixelAddress(0, 0), 0x80800101u);
    b.SetPixel(-1, 0, 0);  // outside: nothing
    b.SetPixel(4, 0, 0);
}

TEST(AlphaBitmap, ColourChangesSkipClearPixels)
{
    TbsBitmap b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0x80102030);
    b.SetPixel(1, 0, 0x00102030);
    b.ChangeBitmapBrightness(-20);
    EXPECT_EQ(*b.PixelAddress(0, 0), 0x80000C1Cu);
    EXPECT_EQ(*b.PixelAddress(1, 0), 0x00102030u);

    // Hue 240/255 moved by 30 becomes 15/255.
    b.SetPixel(0, 0, (HSLToARGB(240 / 255.0f, 1, 0.5f) & 0x00FFFFFF) | 0x7F000000);
    b.ChangeBitmapHue(30);
    float h, s, l;
    ARGBToHSL(*b.PixelAddress(0, 0), h, s, l);
    EXPECT_NEAR(h, 15 / 255.0, 2e-3);
    EXPECT_EQ(bsAlphaOf(*b.PixelAddress(0, 0)), 0x7F);
    b.SetBitmapHue(0);
    ARGBToHSL(*b.PixelAddress(0, 0), h, s, l);
    EXPECT_NEAR(h, 0, 2e-3);
    b.ChangeBitmapSat(-255);  // saturation 1 -> 0 wraps to 255/255... one wrap: 255 - 255 = 0
    ARGBToHSL(*b.PixelAddress(0, 0), h, s, l);
    EXPECT_NEAR(s, 0, 2e-3);
    EXPECT_EQ(*b.PixelAddress(1, 0), 0x00102030u);
}

TEST(AlphaBitmap, FlipsAndReflections)
{
    TbsBitmap b;
    b.SetSize(2, 3);
    for (int y = 0; y < 3; ++y) b.SetPixel(0, y, TbsColor(y + 1)), b.SetPixel(1, y, TbsColor(y + 11));
    b.FlipVert();
    EXPECT_EQ(*b.PixelAddress(0, 0), 3u);
    EXPECT_EQ(*b.PixelAddress(1, 2), 11u);

    struct Case {
        void (TbsBitmap::*Fn)();
        int D;
    };
    const Case cases[] = {{&TbsBitmap::Reflection, 3}, {&TbsBitmap::Reflection2, 4}, {&TbsBitmap::Reflection3, 2}};
    for (const auto& c : cases) {
        TbsBitmap r;
        r.SetSize(1, 4);
        r.Clear(0xFD445566);  // alpha 253
        r.SetPixel(0, 0, 0x00112233);
        (r.*c.Fn)();
        // After the flip the clear pixel is the last row.  F = 1, 0.5, 0, -0.5.
        EXPECT_EQ(bsAlphaOf(*r.PixelAddress(0, 0)), 253 / c.D);
        EXPECT_EQ(bsAlphaOf(*r.PixelAddress(0, 1)), 126 / c.D);  // Round(126.5) = 126
        EXPECT_EQ(bsAlphaOf(*r.PixelAddress(0, 2)), 0);
        EXPECT_EQ(*r.PixelAddress(0, 3), 0x00112233u);
        EXPECT_EQ(*r.PixelAddress(0, 1) & 0x00FFFFFF, 0x445566u);
    }
}

TEST(AlphaBitmap, StreamForm)
{
    TbsBitmap b;
    b.SetSize(2, 3);
    for (int i = 0; i < 6; ++i) b.Bits()[i] = 0x01010101u * TbsColor(i + 1);
    b.SetName("图");
    TMemoryStream s;
    b.SaveToStream(&s);
    EXPECT_EQ(s.Size(), 4 + 3 + 8 + 24);
    s.SetPosition(0);
    TbsBitmap back;
    back.SetAlphaBlend(true);
    back.LoadFromStream(&s);
    EXPECT_EQ(back.Name(), "图");
    EXPECT_EQ(Pixels(back), Pixels(b));
    EXPECT_TRUE(back.AlphaBlend());  // flags are not stored

    // A negative height means bottom-up rows.
    TMemoryStream up;
    WriteStreamString(&up, "");
    const int32_t w = 1, h = -3;
    const TbsColor rows[] = {7, 8, 9};
    up.WriteBuffer(&w, 4);
    up.WriteBuffer(&h, 4);
    up.WriteBuffer(rows, 12);
    up.SetPosition(0);
    back.LoadFromStream(&up);
    EXPECT_EQ(back.Height(), 3);
    EXPECT_EQ(Pixels(back), (std::vector<TbsColor>{9, 8, 7}));

    // Sizes beyond the stream are refused.
    TMemoryStream bad;
    WriteStreamString(&bad, "x");
    const int32_t big = 50000;
    bad.WriteBuffer(&big, 4);
    bad.WriteBuffer(&big, 4);
    bad.SetPosition(0);
    EXPECT_THROW(back.LoadFromStream(&bad), EReadError);
}

namespace {

// A PCX file: 128-byte header, the data, then a marker and a 256-colour palette.
std::vector<uint8_t> Pcx(int W, int H, int BytesPerLine, uint8_t Encoding, const std::vector<uint8_t>& Data,
                         uint8_t Version = 5, bool Palette = true)
{
    std::vector<uint8_t> f(128, 0);
    f[0] = 10;
    f[1] = Version;
    f[2] = Encoding;
    f[3] = 8;
    f[8] = uint8_t(W - 1), f[9] = uint8_t((W - 1) >> 8);
    f[10] = uint8_t(H - 1), f[11] = uint8_t((H - 1) >> 8);
    f[65] = 1;
    f[66] = uint8_t(BytesPerLine), f[67] = uint8_t(BytesPerLine >> 8);
    f.insert(f.end(), Data.begin(), Data.end());
    if (Palette) {
        f.push_back(12);
        for (int i = 0; i < 256; ++i) f.push_back(uint8_t(i)), f.push_back(uint8_t(255 - i)), f.push_back(7);
    }
    return f;
}

void LoadPcx(TbsBitmap& B, const std::vector<uint8_t>& File)
{
    TMemoryStream s;
    s.WriteBuffer(File.data(), int64_t(File.size()));
    s.SetPosition(0);
    B.LoadFromPcxStream(&s);
}

}  // namespace

TEST(AlphaBitmap, PcxPictures)
{
    TbsBitmap b;
    // 3 x 2, rows of 4 bytes: a run of three 5s and a padding byte, then 1, 2, 3 and padding.
    LoadPcx(b, Pcx(3, 2, 4, 1, {0xC3, 5, 0, 1, 2, 3, 0}));
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(*b.PixelAddress(0, 0), bsPackARGB(255, 5, 250, 7));
    EXPECT_EQ(*b.PixelAddress(2, 0), bsPackARGB(255, 5, 250, 7));
    EXPECT_EQ(*b.PixelAddress(1, 1), bsPackARGB(255, 2, 253, 7));
    // Version 3 uses the 16-colour system palette; raw data when not run-length coded.
    LoadPcx(b, Pcx(2, 1, 2, 0, {12, 15}, 3, false));
    EXPECT_EQ(*b.PixelAddress(0, 0), 0xFF0000FFu);  // blue
    EXPECT_EQ(*b.PixelAddress(1, 0), 0xFFFFFFFFu);  // white
    // A run that would overrun the buffer stops at its end; data that ends early leaves 0.
    LoadPcx(b, Pcx(2, 2, 2, 1, {0xFF, 9}));
    EXPECT_EQ(*b.PixelAddress(1, 1), bsPackARGB(255, 9, 246, 7));
    LoadPcx(b, Pcx(2, 2, 2, 1, {4}, 3, false));
    EXPECT_EQ(*b.PixelAddress(0, 0), 0xFF000080u);  // index 4 of the system palette: navy
    EXPECT_EQ(*b.PixelAddress(1, 1), 0xFF000000u);
    // The decoder runs on into the palette bytes when the data is short, as the format's
    // readers do; the result is still within the picture.
    LoadPcx(b, Pcx(2, 2, 2, 1, {4}));
    EXPECT_EQ(b.Width(), 2);

    // Another first byte: nothing changes.
    std::vector<uint8_t> other = Pcx(1, 1, 1, 0, {1});
    other[0] = 9;
    LoadPcx(b, other);
    EXPECT_EQ(b.Width(), 2);

    const std::vector<std::vector<uint8_t>> bad = {
        {10, 5},                                         // no header
        Pcx(4, 1, 2, 1, {1, 2}),                         // wider than its rows
        Pcx(1, 1, 1, 0, {1}, 5, false),                  // no room for the palette
        Pcx(60000, 60000, 60000, 1, {0xC1, 1}),          // far more pixels than data
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        TbsBitmap t;
        t.SetSize(2, 2);
        EXPECT_THROW(LoadPcx(t, bad[i]), EReadError) << i;
        EXPECT_EQ(t.Width(), 2) << i;
    }
}

TEST(AlphaBitmap, CopiesFromPictures)
{
    const auto bitmap = PictureRow;
    TbsBitmap t;
    auto opaqueOrClear = bitmap(pf32bit, {0x00102030, 0xFF405060});
    t.Assign(opaqueOrClear.get());
    EXPECT_EQ(Pixels(t), (std::vector<TbsColor>{0x00102030, 0xFF405060}));
    EXPECT_FALSE(t.AlphaBlend());
    auto partial = bitmap(pf32bit, {0x80102030, 0xFF405060});
    t.Assign(partial.get());
    EXPECT_TRUE(t.AlphaBlend());
    EXPECT_EQ(*t.PixelAddress(0, 0), 0x80102030u);
    auto rgb = bitmap(pf24bit, {0x102030, 0x405060, 0x708090});
    t.Assign(rgb.get());
    EXPECT_EQ(Pixels(t), (std::vector<TbsColor>{0xFF102030, 0xFF405060, 0xFF708090}));

    TPicture pic;
    pic.SetGraphic(rgb.get());
    t.Assign(&pic);
    EXPECT_EQ(Pixels(t), (std::vector<TbsColor>{0xFF102030, 0xFF405060, 0xFF708090}));
    // Another kind of picture is drawn in; its magenta pixels are left out.
    TPngImage png(COLOR_RGB, 2, 1);
    png.SetPixels(0, 0, RGB(255, 0, 255));
    png.SetPixels(1, 0, RGB(1, 2, 3));
    t.Assign(&png);
    ASSERT_EQ(t.Width(), 2);
    EXPECT_EQ(*t.PixelAddress(0, 0), 0xFF000000u);
    EXPECT_EQ(*t.PixelAddress(1, 0), 0xFF010203u);
    TPicture none;
    t.Assign(&none);
    EXPECT_TRUE(t.Empty());

    TbsBitmap src;
    src.SetSize(1, 1);
    src.Clear(0x11223344);
    src.SetName("n");
    src.SetTransparent(true);
    t.Assign(&src);
    EXPECT_EQ(Pixels(t), (std::vector<TbsColor>{0x11223344}));
    EXPECT_EQ(t.Name(), "n");
    EXPECT_TRUE(t.Transparent());
    TbsBitmap empty;
    t.Assign(&empty);
    EXPECT_TRUE(t.Empty());
    EXPECT_EQ(t.Width(), 0);
    TStringList unrelated;
    EXPECT_THROW(t.Assign(&unrelated), EConvertError);
}

TEST(AlphaBitmap, CopiesToPictures)
{
    TbsBitmap src;
    src.SetSize(2, 2);
    src.Clear(0x80405060);
    TBitmap out;
    out.Assign(&src);
    ASSERT_EQ(out.Width(), 2);
    EXPECT_EQ(out.PixelFormat(), pf32bit);
    EXPECT_EQ(static_cast<uint32_t*>(out.ScanLine(1))[1], 0x80405060u);
    TPicture pic;
    pic.Assign(&src);
    ASSERT_NE(pic.Graphic(), nullptr);
    EXPECT_EQ(pic.Width(), 2);
    TStringList unrelated;
    EXPECT_THROW(unrelated.Assign(&src), EConvertError);
}

// A clipboard that keeps what it is given.
class TRecordingClipboard : public TClipboardProvider {
public:
    TClipboardPicture* Picture;
    bool* Cleared;
    TRecordingClipboard(TClipboardPicture* P, bool* C) : Picture(P), Cleared(C) {}
    void SetText(const String&) override {}
    void SetPicture(const TClipboardPicture& P) override { *Picture = P; }
    bool GetText(String&) override { return false; }
    bool HasText() override { return false; }
    void Clear() override { *Cleared = true; }
};

// The colours (0x00RRGGBB) of a picture file read by the given picture class.
template <typename G>
std::vector<uint32_t> ColoursOfFile(const std::vector<uint8_t>& File)
{
    TMemoryStream m;
    m.WriteBuffer(File.data(), int64_t(File.size()));
    m.Seek(0, soBeginning);
    G g;
    g.LoadFromStream(&m);
    TBitmap b;
    b.Assign(&g);
    std::vector<uint32_t> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(b.Surface()->GetPixel(x, y) & 0xFFFFFF);
    return v;
}

TEST(AlphaBitmap, CopiesToTheClipboardAsPngAndBmp)
{
    TClipboardPicture got;
    bool cleared = false;
    auto before = SetClipboardProvider(std::make_unique<TRecordingClipboard>(&got, &cleared));
    TbsBitmap src;
    src.SetSize(3, 2);
    const std::vector<TbsColor> px{0xFF102030, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    std::copy(px.begin(), px.end(), src.Bits());
    Clipboard()->Assign(&src);
    const std::vector<uint32_t> want{0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000};
    ASSERT_FALSE(got.Png.empty());
    ASSERT_FALSE(got.Bmp.empty());
    EXPECT_EQ(ColoursOfFile<TPngImage>(got.Png), want);
    EXPECT_EQ(ColoursOfFile<TBitmap>(got.Bmp), want);
    // an empty bitmap leaves the clipboard empty
    TbsBitmap empty;
    Clipboard()->Assign(&empty);
    EXPECT_TRUE(cleared);
    SetClipboardProvider(std::move(before));
}

TEST(AlphaBitmap, LoadsBitmapResourcesOfTheProgramsTable)
{
    std::map<String, std::vector<uint8_t>> table;
    table["GLOW"] = FileImageOf(PictureRow(pf32bit, {0x80102030, 0xFF405060}).get());
    table["PLAIN"] = FileImageOf(PictureRow(pf24bit, {0x102030, 0x405060, 0x708090}).get());
    table["BROKEN"] = {'B', 'M', 1, 2, 3};
    SetResourceLookup([&table](const String& Name, std::vector<uint8_t>& Data) {
        auto it = table.find(Name);
        if (it == table.end()) return false;
        Data = it->second;
        return true;
    });
    const std::vector<TbsColor> before{0x11111111, 0x22222222};
    auto fresh = [&before] {
        auto b = std::make_unique<TbsBitmap>();
        b->SetSize(2, 1);
        std::copy(before.begin(), before.end(), b->Bits());
        return b;
    };
    struct Case {
        const char* Module;
        const char* Name;
        std::vector<TbsColor> Want;
        bool AlphaBlend, Raises;
    } cases[] = {
        {"", "GLOW", {0x80102030, 0xFF405060}, true, false},  // 32 bits keep their alpha
        {"other.dll", "PLAIN", {0xFF102030, 0xFF405060, 0xFF708090}, false, false},  // others are opaque
        {"", "MISSING", before, false, false},                // nothing changes
        {"", "BROKEN", before, false, true},                  // raises, nothing changes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto b = fresh();
        if (c.Raises)
            EXPECT_ANY_THROW(b->LoadFromResource(c.Module, c.Name));
        else
            b->LoadFromResource(c.Module, c.Name);
        EXPECT_EQ(Pixels(*b), c.Want);
        EXPECT_EQ(b->AlphaBlend(), c.AlphaBlend);
    }
    InstallShellResources();  // the table the forms install
}
