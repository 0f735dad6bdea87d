// Pictures: BMP, PNG, JPEG and GIF round trips, hand-made BMP files of every depth,
// malformed files, the picture container and icons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/graphics/Graphics.h"
#include "test_files.h"

namespace {

// A 7 x 5 picture with distinct colours (odd width exercises row padding).
void Paint(TBitmap& B, TPixelFormat F = pf24bit)
{
    B.SetPixelFormat(F);
    B.SetSize(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) B.Surface()->SetPixel(x, y, 0x80000000u | (x * 36) << 16 | (y * 60) << 8 | (x + y) * 20);
}

std::vector<uint8_t> Bytes(TMemoryStream& M)
{
    std::vector<uint8_t> V(size_t(M.Size()));
    M.SetPosition(0);
    M.ReadBuffer(V.data(), M.Size());
    M.SetPosition(0);
    return V;
}

void Fill(TMemoryStream& M, const std::vector<uint8_t>& V)
{
    if (!V.empty()) M.WriteBuffer(V.data(), int64_t(V.size()));
    M.SetPosition(0);
}

template <class G>
std::vector<uint8_t> Save(G& Pic)
{
    TMemoryStream M;
    Pic.SaveToStream(&M);
    return Bytes(M);
}

template <class G>
void Load(G& Pic, const std::vector<uint8_t>& V)
{
    TMemoryStream M;
    Fill(M, V);
    Pic.LoadFromStream(&M);
}

void Put16(std::vector<uint8_t>& V, uint32_t X) { V.push_back(X & 0xFF); V.push_back((X >> 8) & 0xFF); }
void Put32(std::vector<uint8_t>& V, uint32_t X) { Put16(V, X & 0xFFFF); Put16(V, X >> 16); }

// A BMP file of W x 2 pixels at Bpp bits with the given palette and raw rows (bottom row first).
std::vector<uint8_t> MakeBmp(int W, int Bpp, std::vector<uint32_t> Palette, std::vector<std::vector<uint8_t>> Rows)
{
    std::vector<uint8_t> V = {'B', 'M'};
    uint32_t Off = 14 + 40 + uint32_t(Palette.size() * 4);
    Put32(V, 0);   // bfSize is not trusted; leave it 0
    Put32(V, 0);
    Put32(V, Off);
    Put32(V, 40);
    Put32(V, uint32_t(W));
    Put32(V, uint32_t(Rows.size()));
    Put16(V, 1);
    Put16(V, uint32_t(Bpp));
    Put32(V, 0);
    Put32(V, 0);
    Put32(V, 0);
    Put32(V, 0);
    Put32(V, uint32_t(Palette.size()));
    Put32(V, 0);
    for (uint32_t C : Palette) Put32(V, C);
    for (auto& R : Rows) {
        V.insert(V.end(), R.begin(), R.end());
        while ((V.size() - Off) % 4) V.push_back(0);
    }
    return V;
}

uint32_t Rgb(TBitmap& B, int X, int Y) { return B.Surface()->GetPixel(X, Y) & 0xFFFFFF; }

}  // namespace

TEST(GraphicsBitmap, SizeFormatAndScanLines)
{
    TBitmap B;
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Handle(), nullptr);
    B.SetSize(3, 2);
    EXPECT_FALSE(B.Empty());
    EXPECT_EQ(B.PixelFormat(), pfDevice);
    auto* Row = static_cast<uint32_t*>(B.ScanLine(1));
    EXPECT_EQ(Row[0], 0u);   // black, alpha 0
    Row[2] = 0xFF112233;
    EXPECT_EQ(B.Canvas()->Pixels(2, 1), RGB(0x11, 0x22, 0x33));
    // Growing keeps the pixels; 24 bits pad rows to four bytes.
    B.SetSize(5, 4);
    EXPECT_EQ(B.Surface()->GetPixel(2, 1), 0xFF112233u);
    B.SetPixelFormat(pf24bit);
    EXPECT_EQ(static_cast<uint8_t*>(B.ScanLine(1)) - static_cast<uint8_t*>(B.ScanLine(0)), 16);
    EXPECT_EQ(Rgb(B, 2, 1), 0x112233u);
    EXPECT_THROW(B.ScanLine(4), EInvalidGraphicOperation);
    // The canvas keeps drawing into the pixels after a resize.
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(TRect(0, 0, 1, 1));
    B.SetSize(6, 6);
    B.Canvas()->FillRect(TRect(5, 5, 6, 6));
    EXPECT_EQ(Rgb(B, 5, 5), 0xFF0000u);
    EXPECT_EQ(Rgb(B, 0, 0), 0xFF0000u);
    // The handle is a DIB section whose bits are the scan lines.
    DIBSECTION Ds;
    ASSERT_EQ(GetObject(B.Handle(), sizeof Ds, &Ds), int(sizeof Ds));
    EXPECT_EQ(Ds.dsBm.bmBits, B.ScanLine(0));
    EXPECT_EQ(Ds.dsBmih.biBitCount, 24);
    B.SetSize(0, 5);
    EXPECT_TRUE(B.Empty());
    // Monochrome keeps black and white.
    TBitmap M;
    Paint(M);
    M.SetPixelFormat(pf1bit);
    for (int x = 0; x < 7; ++x) {
        uint32_t P = Rgb(M, x, 4);
        EXPECT_TRUE(P == 0 || P == 0xFFFFFF);
    }
}

TEST(GraphicsBitmap, TransparentDrawLeavesOutTheKey)
{
    TBitmap Glyph;
    Glyph.SetSize(2, 2);
    Glyph.Canvas()->Brush()->SetColor(RGB(255, 0, 255));
    Glyph.Canvas()->FillRect(TRect(0, 0, 2, 2));
    Glyph.Canvas()->SetPixels(1, 0, clBlue);
    Glyph.SetTransparent(true);
    EXPECT_EQ(Glyph.TransparentMode(), tmAuto);
    EXPECT_EQ(Glyph.TransparentColor(), RGB(255, 0, 255));   // the bottom-left pixel
    TBitmap Dst;
    Dst.SetSize(2, 2);
    Dst.Canvas()->Draw(0, 0, &Glyph);
    EXPECT_EQ(Rgb(Dst, 0, 0), 0u);
    EXPECT_EQ(Rgb(Dst, 1, 0), 0x0000FFu);
    // A fixed colour takes over.
    Glyph.SetTransparentColor(clBlue);
    EXPECT_EQ(Glyph.TransparentMode(), tmFixed);
    TBitmap D2;
    D2.SetSize(2, 2);
    D2.Canvas()->Draw(0, 0, &Glyph);
    EXPECT_EQ(Rgb(D2, 0, 0), 0xFF00FFu);
    EXPECT_EQ(Rgb(D2, 1, 0), 0u);
    // Stretch drawing and assignment.
    TBitmap Big;
    Big.SetSize(4, 4);
    Glyph.SetTransparent(false);
    Big.Canvas()->StretchDraw(TRect(0, 0, 4, 4), &Glyph);
    EXPECT_EQ(Rgb(Big, 3, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(Big, 0, 3), 0xFF00FFu);
    TBitmap Copy;
    Copy.Assign(&Big);
    EXPECT_EQ(Rgb(Copy, 3, 0), 0x0000FFu);
    EXPECT_NE(Copy.Handle(), Big.Handle());
}

TEST(GraphicsBitmap, BmpRoundTrips)
{
    for (TPixelFormat F : {pf24bit, pf32bit}) {
        TBitmap A, B;
        Paint(A, F);
        std::vector<uint8_t> File = Save(A);
        // The header's file size is the real size.
        ASSERT_GE(File.size(), 54u);
        EXPECT_EQ(File[2] | (File[3] << 8) | (File[4] << 16) | (File[5] << 24), int(File.size()));
        Load(B, File);
        ASSERT_EQ(B.Width(), 7);
        ASSERT_EQ(B.Height(), 5);
        EXPECT_EQ(B.PixelFormat(), F);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(B.Surface()->GetPixel(x, y) | (F == pf24bit ? 0xFF000000u : 0),
                          A.Surface()->GetPixel(x, y) | (F == pf24bit ? 0xFF000000u : 0));
    }
    // The stream is left right after the bitmap.
    TBitmap A;
    Paint(A);
    TMemoryStream M;
    A.SaveToStream(&M);
    M.WriteBuffer("tail", 4);
    M.SetPosition(0);
    TBitmap B;
    B.LoadFromStream(&M);
    char Tail[4];
    M.ReadBuffer(Tail, 4);
    EXPECT_EQ(std::memcmp(Tail, "tail", 4), 0);
}

TEST(GraphicsBitmap, BmpFilesOfEveryDepth)
{
    const uint32_t Red = 0xFF0000, Green = 0x00FF00;
    struct TCase {
        const char* Name;
        int Bpp;
        std::vector<uint32_t> Palette;
        std::vector<std::vector<uint8_t>> Rows;   // bottom row first
    } Cases[] = {
        {"1 bit", 1, {Red, Green}, {{0x40}, {0x80}}},
        {"4 bits", 4, {Red, Green}, {{0x01}, {0x10}}},
        {"8 bits", 8, {Red, Green}, {{0, 1}, {1, 0}}},
        {"16 bits", 16, {}, {{0x00, 0x7C, 0xE0, 0x03}, {0xE0, 0x03, 0x00, 0x7C}}},
        {"24 bits", 24, {}, {{0, 0, 255, 0, 255, 0}, {0, 255, 0, 0, 0, 255}}},
        {"32 bits", 32, {}, {{0, 0, 255, 9, 0, 255, 0, 9}, {0, 255, 0, 9, 0, 0, 255, 9}}},
    };
    for (auto& C : Cases) {
        TBitmap B;
        Load(B, MakeBmp(2, C.Bpp, C.Palette, C.Rows));
        ASSERT_EQ(B.Width(), 2) << C.Name;
        EXPECT_EQ(Rgb(B, 0, 1), Red) << C.Name;     // bottom row, left pixel
        EXPECT_EQ(Rgb(B, 1, 1), Green) << C.Name;
        EXPECT_EQ(Rgb(B, 0, 0), Green) << C.Name;   // top row
        EXPECT_EQ(Rgb(B, 1, 0), Red) << C.Name;
        if (C.Bpp == 32) {
            EXPECT_EQ(B.Surface()->GetPixel(0, 0) >> 24, 9u);   // alpha kept
        }
    }
}

TEST(GraphicsBitmap, MalformedBmpFilesRaise)
{
    std::vector<uint8_t> Good = MakeBmp(2, 24, {}, {{0, 0, 255, 0, 255, 0}, {0, 255, 0, 0, 0, 255}});
    auto With = [&](size_t At, std::vector<uint8_t> Bytes) {
        std::vector<uint8_t> V = Good;
        for (size_t i = 0; i < Bytes.size(); ++i) V[At + i] = Bytes[i];
        return V;
    };
    struct { const char* Name; std::vector<uint8_t> Data; } Cases[] = {
        {"empty", {}},
        {"signature only", {'B', 'M'}},
        {"wrong signature", With(0, {'X', 'Y'})},
        {"truncated header", std::vector<uint8_t>(Good.begin(), Good.begin() + 30)},
        {"truncated pixels", std::vector<uint8_t>(Good.begin(), Good.end() - 3)},
        {"zero width", With(18, {0, 0, 0, 0})},
        {"negative width", With(18, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"huge height", With(22, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"bad depth", With(28, {7, 0})},
        {"bad planes", With(26, {2, 0})},
        {"rle", With(30, {1, 0, 0, 0})},
        {"header size too big", With(14, {0xFF, 0xFF, 0, 0})},
        {"palette beyond the end", MakeBmp(2, 8, {0, 0}, {{0, 1}, {1, 0}}).size() ?
             [] { auto V = MakeBmp(2, 8, {0, 0}, {{0, 1}, {1, 0}}); V[46] = 0xFF; V.resize(60); return V; }() : Good},
    };
    for (auto& C : Cases) {
        TBitmap B;
        Paint(B);
        EXPECT_THROW(Load(B, C.Data), EInvalidGraphic) << C.Name;
        EXPECT_EQ(B.Width(), 7) << C.Name;   // unchanged
    }
}

TEST(GraphicsPng, RoundTripsKeepColourTypeAndTransparency)
{
    // True colour without alpha.
    TBitmap Src;
    Paint(Src);
    TPngImage A;
    A.Assign(&Src);
    EXPECT_EQ(A.ColorType(), COLOR_RGB);
    TPngImage B;
    Load(B, Save(A));
    EXPECT_EQ(B.ColorType(), COLOR_RGB);
    EXPECT_EQ(B.TransparencyMode(), ptmNone);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(B.Pixels(x, y), A.Pixels(x, y));

    // With an alpha plane.
    A.CreateAlpha();
    EXPECT_EQ(A.ColorType(), COLOR_RGBALPHA);
    A.AlphaScanline(2)[3] = 77;
    TPngImage C;
    Load(C, Save(A));
    EXPECT_EQ(C.ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(C.TransparencyMode(), ptmPartial);
    EXPECT_EQ(C.AlphaScanline(2)[3], 77);
    EXPECT_EQ(C.AlphaScanline(0)[0], 255);
    EXPECT_EQ(C.Pixels(3, 2), A.Pixels(3, 2));

    // A colour key.
    TPngImage K;
    K.Assign(&Src);
    K.SetTransparentColor(K.Pixels(1, 1));
    TPngImage K2;
    Load(K2, Save(K));
    EXPECT_EQ(K2.TransparencyMode(), ptmBit);
    EXPECT_EQ(K2.TransparentColor(), K.Pixels(1, 1));
    EXPECT_EQ(K2.AlphaScanline(0), nullptr);

    // Grey and palette pictures stay grey and palette.
    TPngImage G(COLOR_GRAYSCALE, 3, 2);
    G.SetPixels(1, 1, RGB(90, 90, 90));
    TPngImage G2;
    Load(G2, Save(G));
    EXPECT_EQ(G2.ColorType(), COLOR_GRAYSCALE);
    EXPECT_EQ(G2.Pixels(1, 1), RGB(90, 90, 90));
    TPngImage P(COLOR_PALETTE, 3, 2);
    P.SetPixels(0, 0, clRed);
    P.SetPixels(2, 1, clBlue);
    P.SetTransparentColor(clBlue);
    TPngImage P2;
    Load(P2, Save(P));
    EXPECT_EQ(P2.ColorType(), COLOR_PALETTE);
    EXPECT_EQ(P2.Pixels(0, 0), clRed);
    EXPECT_EQ(P2.TransparencyMode(), ptmBit);
    EXPECT_EQ(P2.TransparentColor(), clBlue);
}

TEST(GraphicsPng, DrawsWithAlphaAndToBitmaps)
{
    TPngImage A(COLOR_RGBALPHA, 2, 1);
    A.SetPixels(0, 0, clRed);
    A.SetPixels(1, 0, clRed);
    A.AlphaScanline(0)[0] = 255;
    A.AlphaScanline(0)[1] = 0;
    TBitmap Dst;
    Dst.SetSize(2, 1);
    Dst.Canvas()->Brush()->SetColor(clBlue);
    Dst.Canvas()->FillRect(TRect(0, 0, 2, 1));
    Dst.Canvas()->Draw(0, 0, &A);
    EXPECT_EQ(Rgb(Dst, 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(Dst, 1, 0), 0x0000FFu);
    // Assigned to a bitmap: 32 bits with the alpha kept.
    TBitmap B;
    B.Assign(&A);
    EXPECT_EQ(B.PixelFormat(), pf32bit);
    EXPECT_EQ(B.Surface()->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(B.Surface()->GetPixel(1, 0) >> 24, 0u);
}

TEST(GraphicsJpeg, RoundTripWithinTolerance)
{
    TBitmap Src;
    Src.SetPixelFormat(pf24bit);
    Src.SetSize(32, 16);
    Src.Canvas()->Brush()->SetColor(RGB(200, 40, 40));
    Src.Canvas()->FillRect(TRect(0, 0, 16, 16));
    Src.Canvas()->Brush()->SetColor(RGB(30, 160, 220));
    Src.Canvas()->FillRect(TRect(16, 0, 32, 16));
    TJPEGImage J;
    J.Assign(&Src);
    EXPECT_EQ(J.CompressionQuality, 90);
    std::vector<uint8_t> File = Save(J);
    ASSERT_GT(File.size(), 100u);
    EXPECT_EQ(File[0], 0xFF);
    EXPECT_EQ(File[1], 0xD8);
    TJPEGImage K;
    Load(K, File);
    ASSERT_EQ(K.Width(), 32);
    ASSERT_EQ(K.Height(), 16);
    TBitmap Out;
    Out.Assign(&K);
    for (auto [X, Y, C] : {std::tuple{4, 8, 0xC82828u}, std::tuple{28, 8, 0x1EA0DCu}}) {
        uint32_t P = Rgb(Out, X, Y);
        for (int Sh : {0, 8, 16}) EXPECT_NEAR(int((P >> Sh) & 0xFF), int((C >> Sh) & 0xFF), 6) << X;
    }
}

TEST(GraphicsGif, RoundTripsAndColourReduction)
{
    // Few colours: exact, with a transparent colour.
    TBitmap Src;
    Src.SetSize(4, 4);
    Src.Canvas()->Brush()->SetColor(clLime);
    Src.Canvas()->FillRect(TRect(0, 0, 4, 4));
    Src.Canvas()->SetPixels(1, 1, clRed);
    Src.Canvas()->SetPixels(3, 0, clBlue);
    Src.SetTransparent(true);
    Src.SetTransparentColor(clBlue);
    TGIFImage G;
    G.Assign(&Src);
    TGIFImage H;
    Load(H, Save(G));
    ASSERT_EQ(H.Width(), 4);
    EXPECT_TRUE(H.Transparent());
    EXPECT_EQ(H.Bitmap()->Surface()->GetPixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(H.Bitmap()->Surface()->GetPixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    TBitmap Dst;
    Dst.SetSize(4, 4);
    Dst.Canvas()->Brush()->SetColor(clWhite);
    Dst.Canvas()->FillRect(TRect(0, 0, 4, 4));
    Dst.Canvas()->Draw(0, 0, &H);
    EXPECT_EQ(Rgb(Dst, 3, 0), 0xFFFFFFu);   // transparent: the background shows
    EXPECT_EQ(Rgb(Dst, 1, 1), 0xFF0000u);

    // Many colours: reduced to a palette, close to the original.
    TBitmap Ramp;
    Ramp.SetPixelFormat(pf24bit);
    Ramp.SetSize(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) Ramp.Surface()->SetPixel(x, y, (x * 4) << 16 | (y * 4) << 8 | 128);
    TGIFImage R;
    R.Assign(&Ramp);
    TGIFImage R2;
    Load(R2, Save(R));
    long Err = 0;
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 7) {
            uint32_t A = Ramp.Surface()->GetPixel(x, y), B = R2.Bitmap()->Surface()->GetPixel(x, y);
            for (int Sh : {0, 8, 16}) Err += std::abs(int((A >> Sh) & 0xFF) - int((B >> Sh) & 0xFF));
        }
    EXPECT_LT(Err / (10 * 10 * 3), 12);
}

TEST(GraphicsPicture, MalformedFilesOfEveryKindRaise)
{
    std::vector<uint8_t> Png, Jpeg, Gif;
    {
        TBitmap B;
        Paint(B);
        TPngImage P;
        P.Assign(&B);
        Png = Save(P);
        TJPEGImage J;
        J.Assign(&B);
        Jpeg = Save(J);
        TGIFImage G;
        G.Assign(&B);
        Gif = Save(G);
    }
    auto Cut = [](const std::vector<uint8_t>& V, size_t N) { return std::vector<uint8_t>(V.begin(), V.begin() + std::min(N, V.size())); };
    auto Flip = [](std::vector<uint8_t> V, size_t At) { V[At] ^= 0xFF; return V; };
    auto Junk = [](std::vector<uint8_t> V, size_t From) { for (size_t i = From; i < V.size(); ++i) V[i] = uint8_t(i * 7); return V; };
    struct { const char* Name; int Kind; std::vector<uint8_t> Data; } Cases[] = {
        {"png empty", 0, {}},
        {"png signature only", 0, Cut(Png, 8)},
        {"png truncated", 0, Cut(Png, Png.size() / 2)},
        {"png bad header crc", 0, Flip(Png, 29)},
        {"png junk data", 0, Junk(Png, 40)},
        {"png huge size", 0, [&] { auto V = Png; V[16] = 0x7F; return V; }()},
        {"jpeg empty", 1, {}},
        {"jpeg marker only", 1, Cut(Jpeg, 2)},
        {"jpeg truncated", 1, Cut(Jpeg, Jpeg.size() / 2)},
        {"jpeg junk", 1, Junk(Jpeg, 20)},
        {"gif empty", 2, {}},
        {"gif header only", 2, Cut(Gif, 6)},
        {"gif truncated", 2, Cut(Gif, Gif.size() / 2)},
        {"gif junk", 2, Junk(Gif, 13)},
        {"not a gif", 2, Png},
    };
    for (auto& C : Cases) {
        std::unique_ptr<TGraphic> G;
        if (C.Kind == 0) G = std::make_unique<TPngImage>();
        else if (C.Kind == 1) G = std::make_unique<TJPEGImage>();
        else G = std::make_unique<TGIFImage>();
        TMemoryStream M;
        Fill(M, C.Data);
        EXPECT_THROW(G->LoadFromStream(&M), EInvalidGraphic) << C.Name;
        EXPECT_TRUE(G->Empty()) << C.Name;
    }
}

TEST(GraphicsPicture, LoadsByExtension)
{
    const vctest::TScratch Scratch("vc_gfx_pic_");
    const std::filesystem::path Dir = Scratch.Path;
    TBitmap B;
    Paint(B);
    TPngImage P;
    P.Assign(&B);
    P.SaveToFile((Dir / "a.png").string());
    B.SaveToFile((Dir / "a.bmp").string());
    TJPEGImage J;
    J.Assign(&B);
    J.SaveToFile((Dir / "a.jpg").string());
    TGIFImage G;
    G.Assign(&B);
    G.SaveToFile((Dir / "a.gif").string());
    TPicture Pic;
    for (auto [Name, Check] : std::vector<std::pair<const char*, std::function<bool(TGraphic*)>>>{
             {"a.png", [](TGraphic* X) { return dynamic_cast<TPngImage*>(X) != nullptr; }},
             {"a.bmp", [](TGraphic* X) { return dynamic_cast<TBitmap*>(X) != nullptr; }},
             {"a.jpg", [](TGraphic* X) { return dynamic_cast<TJPEGImage*>(X) != nullptr; }},
             {"a.gif", [](TGraphic* X) { return dynamic_cast<TGIFImage*>(X) != nullptr; }}}) {
        Pic.LoadFromFile((Dir / Name).string());
        EXPECT_TRUE(Check(Pic.Graphic())) << Name;
        EXPECT_EQ(Pic.Width(), 7) << Name;
    }
    // Unknown or unsupported kinds, and a picture file with the wrong contents.
    std::filesystem::copy_file(Dir / "a.png", Dir / "b.emf");
    std::filesystem::copy_file(Dir / "a.png", Dir / "c.jpg");
    for (const char* Name : {"b.emf", "c.jpg", "a.wmf", "a.txt"})
        EXPECT_THROW(Pic.LoadFromFile((Dir / Name).string()), Exception) << Name;
    EXPECT_TRUE(dynamic_cast<TGIFImage*>(Pic.Graphic()));   // the last good picture stays
    // The picture's bitmap replaces another kind.
    TBitmap* Bm = Pic.Bitmap();
    EXPECT_TRUE(Bm->Empty());
    TPicture Copy;
    Copy.Assign(&P);
    EXPECT_TRUE(dynamic_cast<TPngImage*>(Copy.Graphic()));
}

TEST(GraphicsIcon, StandardIconsScaleAndDrawWithAlpha)
{
    HICON I = LoadIcon(0, IDI_APPLICATION);
    ASSERT_NE(I, nullptr);
    EXPECT_EQ(LoadIcon(0, IDI_APPLICATION), I);
    for (int Id : {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) EXPECT_NE(LoadIcon(0, Id), nullptr);
    EXPECT_EQ(LoadIcon(0, 1), nullptr);
    HICON Small = CopyImage(I, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE);
    ASSERT_NE(Small, nullptr);
    EXPECT_EQ(GetIconSurface(Small)->Width(), 16);
    TIcon Ic;
    Ic.SetHandle(Small);
    EXPECT_EQ(Ic.Width(), 16);
    TBitmap Dst;
    Dst.SetSize(20, 20);
    Dst.Canvas()->Brush()->SetColor(RGB(0, 255, 0));
    Dst.Canvas()->FillRect(TRect(0, 0, 20, 20));
    Dst.Canvas()->Draw(2, 2, &Ic);
    EXPECT_EQ(Rgb(Dst, 0, 0), 0x00FF00u);
    int Changed = 0;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 18; ++x) Changed += Rgb(Dst, x, y) != 0x00FF00u;
    EXPECT_GT(Changed, 100);
    // Icon info gives a colour bitmap and a mask; an icon made from them matches.
    ICONINFO Info;
    ASSERT_TRUE(GetIconInfo(Ic.Handle(), &Info));
    HICON Back = CreateIconIndirect(&Info);
    EXPECT_EQ(GetIconSurface(Back)->GetPixel(8, 8), GetIconSurface(Ic.Handle())->GetPixel(8, 8));
    DeleteObject(Info.hbmColor);
    DeleteObject(Info.hbmMask);
    DestroyIcon(Back);
    // Icons save and load as PNG.
    TIcon Re;
    Load(Re, Save(Ic));
    EXPECT_EQ(GetIconSurface(Re.Handle())->GetPixel(8, 8), GetIconSurface(Ic.Handle())->GetPixel(8, 8));
    EXPECT_FALSE(DestroyIcon(nullptr));
}
