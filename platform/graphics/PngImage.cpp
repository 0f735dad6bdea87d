// PNG pictures through libpng: reading every colour type and bit depth, writing the
// picture's own colour type with its transparency, drawing with alpha.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <map>

#include "platform/graphics/Codecs.h"
#include "platform/graphics/GdiInternal.h"

namespace {

[[noreturn]] void Bad(const String& Why) { throw EInvalidGraphic("PNG image is not valid: " + Why); }

struct TReadState {
    const uint8_t* Data = nullptr;
    size_t Size = 0, Pos = 0;
    char Error[200] = {};
};

void ReadFn(png_structp Png, png_bytep Out, png_size_t N)
{
    auto* St = static_cast<TReadState*>(png_get_io_ptr(Png));
    if (N > St->Size - St->Pos) png_error(Png, "unexpected end of data");
    std::memcpy(Out, St->Data + St->Pos, N);
    St->Pos += N;
}

void ErrorFn(png_structp Png, png_const_charp Msg)
{
    if (auto* St = static_cast<TReadState*>(png_get_error_ptr(Png))) {
        std::strncpy(St->Error, Msg ? Msg : "error", sizeof St->Error - 1);
    }
    png_longjmp(Png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

struct TWriteState {
    std::vector<uint8_t>* Out = nullptr;
    char Error[200] = {};
};

void WriteFn(png_structp Png, png_bytep In, png_size_t N)
{
    auto* St = static_cast<TWriteState*>(png_get_io_ptr(Png));
    St->Out->insert(St->Out->end(), In, In + N);
}

void FlushFn(png_structp) {}

void WriteErrorFn(png_structp Png, png_const_charp Msg)
{
    if (auto* St = static_cast<TWriteState*>(png_get_error_ptr(Png))) {
        std::strncpy(St->Error, Msg ? Msg : "error", sizeof St->Error - 1);
    }
    png_longjmp(Png, 1);
}

// Everything a decode produces, filled by C code between setjmp and longjmp through
// a pointer (so no automatic C++ object changes there).
struct TDecoded {
    int W = 0, H = 0;
    uint8_t ColorType = 0, BitDepth = 8;
    std::vector<uint8_t> Rows;     // decoded rows, Channels bytes per pixel (B, G, R[, A])
    int Channels = 3;
    bool HasKey = false;
    uint32_t Key = 0;              // 0x00RRGGBB
};

bool Decode(TReadState* St, TDecoded* Out)
{
    png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, St, ErrorFn, WarningFn);
    if (!Png) return false;
    png_infop Info = png_create_info_struct(Png);
    if (!Info) {
        png_destroy_read_struct(&Png, nullptr, nullptr);
        return false;
    }
    std::vector<png_bytep>* RowPtrs = new std::vector<png_bytep>();
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_read_struct(&Png, &Info, nullptr);
        delete RowPtrs;
        return false;
    }
    png_set_read_fn(Png, St, ReadFn);
    png_set_user_limits(Png, 65535, 65535);
    png_set_chunk_malloc_max(Png, 64u << 20);
    png_read_info(Png, Info);
    png_uint_32 W, H;
    int Depth, Type, Interlace;
    png_get_IHDR(Png, Info, &W, &H, &Depth, &Type, &Interlace, nullptr, nullptr);
    if (uint64_t(W) * H > (uint64_t(1) << 28)) png_error(Png, "image too large");
    Out->W = int(W);
    Out->H = int(H);
    Out->ColorType = uint8_t(Type);
    Out->BitDepth = uint8_t(Depth);

    bool Alpha = (Type & PNG_COLOR_MASK_ALPHA) != 0;
    if (png_get_valid(Png, Info, PNG_INFO_tRNS)) {
        png_bytep Trans = nullptr;
        int NumTrans = 0;
        png_color_16p TransColor = nullptr;
        png_get_tRNS(Png, Info, &Trans, &NumTrans, &TransColor);
        if (Type == PNG_COLOR_TYPE_PALETTE) {
            // One fully transparent entry and no partial ones: a colour key.
            png_colorp Pal = nullptr;
            int NumPal = 0;
            png_get_PLTE(Png, Info, &Pal, &NumPal);
            int Zero = -1, Zeros = 0, Partial = 0;
            for (int i = 0; i < NumTrans && Trans; ++i) {
                if (Trans[i] == 0) { Zero = i; ++Zeros; }
                else if (Trans[i] != 255) ++Partial;
            }
            if (Zeros == 1 && Partial == 0 && Zero < NumPal && Pal) {
                Out->HasKey = true;
                Out->Key = (uint32_t(Pal[Zero].red) << 16) | (uint32_t(Pal[Zero].green) << 8) | Pal[Zero].blue;
            } else if (Zeros + Partial > 0) {
                png_set_tRNS_to_alpha(Png);
                Alpha = true;
            }
        } else if (TransColor) {
            int Sh = Depth == 16 ? 8 : 0;
            int Scale = Depth < 8 ? 255 / ((1 << Depth) - 1) : 1;
            if (Type == PNG_COLOR_TYPE_GRAY) {
                uint32_t G = uint32_t(((TransColor->gray >> Sh) * Scale) & 0xFF);
                Out->Key = (G << 16) | (G << 8) | G;
            } else {
                Out->Key = (uint32_t((TransColor->red >> Sh) & 0xFF) << 16) |
                           (uint32_t((TransColor->green >> Sh) & 0xFF) << 8) | ((TransColor->blue >> Sh) & 0xFF);
            }
            Out->HasKey = true;
        }
    }
    if (Depth == 16) png_set_strip_16(Png);
    if (Type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(Png);
    if ((Type == PNG_COLOR_TYPE_GRAY || Type == PNG_COLOR_TYPE_GRAY_ALPHA) && Depth < 8)
        png_set_expand_gray_1_2_4_to_8(Png);
    if (Type == PNG_COLOR_TYPE_GRAY || Type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(Png);
    png_set_packing(Png);
    png_set_bgr(Png);
    png_set_interlace_handling(Png);
    png_read_update_info(Png, Info);
    int Channels = png_get_channels(Png, Info);
    if (Channels != 3 && Channels != 4) png_error(Png, "unexpected pixel layout");
    size_t RowBytes = png_get_rowbytes(Png, Info);
    if (RowBytes != size_t(W) * size_t(Channels)) png_error(Png, "unexpected row size");
    Out->Channels = Channels;
    (void)Alpha;
    Out->Rows.assign(RowBytes * H, 0);
    RowPtrs->resize(H);
    for (png_uint_32 y = 0; y < H; ++y) (*RowPtrs)[y] = Out->Rows.data() + y * RowBytes;
    png_read_image(Png, RowPtrs->data());
    png_read_end(Png, nullptr);
    png_destroy_read_struct(&Png, &Info, nullptr);
    delete RowPtrs;
    return true;
}

// A 32-bit memory DC holding the picture's pixels for drawing.
struct TTempDC {
    HDC DC = nullptr;
    HBITMAP Bmp = nullptr;
    HGDIOBJ Old = nullptr;
    PSurface S;
    TTempDC(int W, int H)
    {
        BITMAPINFO Bi{};
        Bi.bmiHeader.biWidth = W;
        Bi.bmiHeader.biHeight = -H;
        Bi.bmiHeader.biBitCount = 32;
        void* Bits;
        Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
        DC = CreateCompatibleDC(nullptr);
        if (Bmp) Old = SelectObject(DC, Bmp);
        S = GetBitmapSurface(Bmp);
    }
    ~TTempDC()
    {
        if (Old) SelectObject(DC, Old);
        DeleteDC(DC);
        if (Bmp) DeleteObject(Bmp);
    }
};

}  // namespace

// ---- TPngImage -----------------------------------------------------------------------------

TPngImage::TPngImage(uint8_t AColorType, int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0 || int64_t(AWidth) * AHeight > (int64_t(1) << 28))
        throw EInvalidGraphic("Invalid PNG image size");
    FWidth = AWidth;
    FHeight = AHeight;
    FColorType = AColorType;
    FPixels.assign(size_t(AWidth) * AHeight * 3, 0);
    if (AColorType & 4) FAlpha.assign(size_t(AWidth) * AHeight, 0xFF);
}

TPNGTransparencyMode TPngImage::TransparencyMode() const
{
    if (!FAlpha.empty()) return ptmPartial;
    return FHasKey ? ptmBit : ptmNone;
}

void TPngImage::SetTransparentColor(TColor C)
{
    FTransparentColor = ColorToRGB(C);
    FHasKey = true;
    FAlpha.clear();
    if (FColorType == COLOR_RGBALPHA) FColorType = COLOR_RGB;
    if (FColorType == COLOR_GRAYSCALEALPHA) FColorType = COLOR_GRAYSCALE;
    Changed(this);
}

void TPngImage::RemoveTransparency()
{
    FHasKey = false;
    FAlpha.clear();
    if (FColorType == COLOR_RGBALPHA) FColorType = COLOR_RGB;
    if (FColorType == COLOR_GRAYSCALEALPHA) FColorType = COLOR_GRAYSCALE;
    Changed(this);
}

void TPngImage::CreateAlpha()
{
    if (!FAlpha.empty() || Empty()) return;
    FAlpha.assign(size_t(FWidth) * FHeight, 0xFF);
    if (FHasKey)
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                if (Pixels(x, y) == FTransparentColor) FAlpha[size_t(y) * FWidth + x] = 0;
    FHasKey = false;
    FColorType = FColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
}

uint8_t* TPngImage::Scanline(int Y)
{
    if (Y < 0 || Y >= FHeight) return nullptr;
    return FPixels.data() + size_t(Y) * FWidth * 3;
}

uint8_t* TPngImage::AlphaScanline(int Y)
{
    if (FAlpha.empty() || Y < 0 || Y >= FHeight) return nullptr;
    return FAlpha.data() + size_t(Y) * FWidth;
}

TColor TPngImage::Pixels(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    const uint8_t* P = FPixels.data() + (size_t(Y) * FWidth + X) * 3;
    return RGB(P[2], P[1], P[0]);
}

void TPngImage::SetPixels(int X, int Y, TColor C)
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
    C = ColorToRGB(C);
    uint8_t* P = FPixels.data() + (size_t(Y) * FWidth + X) * 3;
    P[0] = uint8_t(GetBValue(C));
    P[1] = uint8_t(GetGValue(C));
    P[2] = uint8_t(GetRValue(C));
}

void TPngImage::Assign(TPersistent* Source)
{
    if (!Source) {
        FWidth = FHeight = 0;
        FColorType = COLOR_RGB;
        FBitDepth = 8;
        FPixels.clear();
        FAlpha.clear();
        FHasKey = false;
        Changed(this);
        return;
    }
    if (auto* P = dynamic_cast<TPngImage*>(Source)) {
        if (P == this) return;
        FWidth = P->FWidth;
        FHeight = P->FHeight;
        FColorType = P->FColorType;
        FBitDepth = P->FBitDepth;
        FPixels = P->FPixels;
        FAlpha = P->FAlpha;
        FHasKey = P->FHasKey;
        FTransparentColor = P->FTransparentColor;
        FTransparent = P->FTransparent;
        CompressionLevel = P->CompressionLevel;
        Changed(this);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        // A true-colour picture of the bitmap's colours.
        FWidth = B->Width();
        FHeight = B->Height();
        FColorType = COLOR_RGB;
        FBitDepth = 8;
        FAlpha.clear();
        FHasKey = false;
        FPixels.assign(size_t(FWidth) * FHeight * 3, 0);
        if (PSurface S = B->Surface())
            for (int y = 0; y < FHeight; ++y)
                for (int x = 0; x < FWidth; ++x) {
                    uint32_t P = S->GetPixel(x, y);
                    uint8_t* D = FPixels.data() + (size_t(y) * FWidth + x) * 3;
                    D[0] = P & 0xFF;
                    D[1] = (P >> 8) & 0xFF;
                    D[2] = (P >> 16) & 0xFF;
                }
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TPngImage::AssignTo(TPersistent* Dest)
{
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        // With an alpha plane: a 32-bit bitmap that keeps it; with a colour key: a
        // transparent bitmap; otherwise 24 bits.
        B->SetSize(0, 0);
        B->SetPixelFormat(FAlpha.empty() ? pf24bit : pf32bit);
        B->SetSize(FWidth, FHeight);
        if (PSurface S = B->Surface())
            for (int y = 0; y < FHeight; ++y)
                for (int x = 0; x < FWidth; ++x) {
                    const uint8_t* P = FPixels.data() + (size_t(y) * FWidth + x) * 3;
                    uint32_t A = FAlpha.empty() ? 0 : FAlpha[size_t(y) * FWidth + x];
                    S->SetPixel(x, y, (A << 24) | (uint32_t(P[2]) << 16) | (uint32_t(P[1]) << 8) | P[0]);
                }
        if (FHasKey) {
            B->SetTransparentColor(FTransparentColor);
            B->SetTransparent(true);
        }
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TPngImage::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> Data = gdi::ReadRest(Stream);
    if (!gdi::IsPng(Data.data(), Data.size())) Bad("no PNG signature");
    auto St = std::make_unique<TReadState>();
    St->Data = Data.data();
    St->Size = Data.size();
    auto Out = std::make_unique<TDecoded>();
    if (!Decode(St.get(), Out.get())) Bad(St->Error[0] ? St->Error : "cannot decode");
    Stream->Seek(-int64_t(Data.size() - St->Pos), soCurrent);
    FWidth = Out->W;
    FHeight = Out->H;
    FColorType = Out->ColorType;
    FBitDepth = Out->BitDepth;
    FHasKey = Out->HasKey;
    FTransparentColor = FHasKey ? TColor(gdi::ColorRefOf(Out->Key)) : 0;
    size_t N = size_t(FWidth) * FHeight;
    if (Out->Channels == 3) {
        FPixels = std::move(Out->Rows);
        FAlpha.clear();
    } else if (Out->HasKey) {
        // A palette's single transparent entry stays a colour key (the expansion to
        // true colour made it an alpha channel).
        FPixels.resize(N * 3);
        FAlpha.clear();
        for (size_t i = 0; i < N; ++i) std::memcpy(&FPixels[i * 3], &Out->Rows[i * 4], 3);
    } else {
        FPixels.resize(N * 3);
        FAlpha.resize(N);
        for (size_t i = 0; i < N; ++i) {
            std::memcpy(&FPixels[i * 3], &Out->Rows[i * 4], 3);
            FAlpha[i] = Out->Rows[i * 4 + 3];
        }
    }
    Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphic("No stream to write the picture to");
    if (Empty()) throw EInvalidGraphic("Cannot save an empty PNG image");
    bool Alpha = !FAlpha.empty();
    size_t N = size_t(FWidth) * FHeight;
    // The colour type to write: grey stays grey, a palette stays a palette when the
    // colours fit in one.
    int Type = Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    if (FColorType == COLOR_GRAYSCALE || FColorType == COLOR_GRAYSCALEALPHA)
        Type = Alpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY;
    std::vector<uint32_t> Palette;   // 0xAARRGGBB
    std::vector<uint8_t> Index;
    if (FColorType == COLOR_PALETTE) {
        std::map<uint32_t, uint8_t> Seen;
        Index.resize(N);
        for (size_t i = 0; i < N && Palette.size() <= 256; ++i) {
            const uint8_t* P = &FPixels[i * 3];
            uint32_t A = Alpha ? FAlpha[i] : 0xFF;
            uint32_t C = (A << 24) | (uint32_t(P[2]) << 16) | (uint32_t(P[1]) << 8) | P[0];
            if (FHasKey && (C & 0xFFFFFF) == gdi::PixelOf(COLORREF(FTransparentColor))) C &= 0xFFFFFF;
            auto It = Seen.find(C);
            if (It == Seen.end()) {
                if (Palette.size() == 256) { Palette.push_back(0); break; }
                It = Seen.emplace(C, uint8_t(Palette.size())).first;
                Palette.push_back(C);
            }
            Index[i] = It->second;
        }
        if (Palette.size() <= 256) Type = PNG_COLOR_TYPE_PALETTE;
    }
    int Channels = Type == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : Type == PNG_COLOR_TYPE_RGB ? 3
                   : Type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    std::vector<uint8_t> Rows(N * size_t(Channels));
    for (size_t i = 0; i < N; ++i) {
        const uint8_t* P = &FPixels[i * 3];
        uint8_t* D = &Rows[i * size_t(Channels)];
        switch (Type) {
        case PNG_COLOR_TYPE_PALETTE: D[0] = Index[i]; break;
        case PNG_COLOR_TYPE_GRAY: D[0] = P[1]; break;
        case PNG_COLOR_TYPE_GRAY_ALPHA: D[0] = P[1]; D[1] = FAlpha[i]; break;
        case PNG_COLOR_TYPE_RGB: D[0] = P[2]; D[1] = P[1]; D[2] = P[0]; break;
        default: D[0] = P[2]; D[1] = P[1]; D[2] = P[0]; D[3] = FAlpha[i]; break;
        }
    }
    std::vector<uint8_t> Out;
    std::vector<png_bytep> Ptrs(static_cast<size_t>(FHeight));
    for (int y = 0; y < FHeight; ++y) Ptrs[size_t(y)] = Rows.data() + size_t(y) * FWidth * Channels;
    std::vector<png_color> Plte;
    std::vector<png_byte> Trans;
    for (uint32_t C : Palette) {
        Plte.push_back({png_byte(C >> 16), png_byte(C >> 8), png_byte(C)});
        Trans.push_back(png_byte(C >> 24));
    }
    while (!Trans.empty() && Trans.back() == 255) Trans.pop_back();
    png_color_16 Key{};
    COLORREF K = COLORREF(FTransparentColor);
    Key.red = png_uint_16(GetRValue(K));
    Key.green = png_uint_16(GetGValue(K));
    Key.blue = png_uint_16(GetBValue(K));
    Key.gray = png_uint_16(GetGValue(K));

    auto St = std::make_unique<TWriteState>();
    St->Out = &Out;
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, St.get(), WriteErrorFn, WarningFn);
    png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
    volatile bool Ok = false;
    if (Png && Info && !setjmp(png_jmpbuf(Png))) {
        png_set_write_fn(Png, St.get(), WriteFn, FlushFn);
        png_set_compression_level(Png, std::clamp(CompressionLevel, 0, 9));
        png_set_IHDR(Png, Info, png_uint_32(FWidth), png_uint_32(FHeight), 8, Type, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (Type == PNG_COLOR_TYPE_PALETTE) {
            png_set_PLTE(Png, Info, Plte.data(), int(Plte.size()));
            if (!Trans.empty()) png_set_tRNS(Png, Info, Trans.data(), int(Trans.size()), nullptr);
        } else if (FHasKey && !Alpha) {
            png_set_tRNS(Png, Info, nullptr, 0, &Key);
        }
        png_write_info(Png, Info);
        png_write_image(Png, Ptrs.data());
        png_write_end(Png, nullptr);
        Ok = true;
    }
    png_destroy_write_struct(&Png, &Info);
    if (!Ok) throw EInvalidGraphic(String("Cannot write PNG image: ") + St->Error);
    Stream->WriteBuffer(Out.data(), int64_t(Out.size()));
}

void TPngImage::Draw(TCanvas* Canvas, const TRect& R)
{
    if (Empty()) return;
    TTempDC T(FWidth, FHeight);
    if (!T.S) return;
    bool Alpha = !FAlpha.empty();
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            size_t i = size_t(y) * FWidth + x;
            const uint8_t* P = &FPixels[i * 3];
            uint32_t A = Alpha ? FAlpha[i] : 0xFF;
            // Premultiplied for the blend.
            auto M = [&](uint32_t C) { return Alpha ? (C * A + 127) / 255 : C; };
            T.S->SetPixel(x, y, (A << 24) | (M(P[2]) << 16) | (M(P[1]) << 8) | M(P[0]));
        }
    HDC Dst = Canvas->Handle();
    if (Alpha) {
        BLENDFUNCTION Bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(Dst, R.Left, R.Top, R.Width(), R.Height(), T.DC, 0, 0, FWidth, FHeight, Bf);
    } else if (FHasKey) {
        TransparentBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), T.DC, 0, 0, FWidth, FHeight,
                       UINT(FTransparentColor));
    } else {
        StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), T.DC, 0, 0, FWidth, FHeight, SRCCOPY);
    }
}
