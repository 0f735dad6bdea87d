// BMP files: reading 1, 4, 8, 16, 24 and 32 bits per pixel, writing 1, 24 and 32.
#include <cstring>

#include "platform/graphics/Codecs.h"

namespace {

[[noreturn]] void Bad(const char* Why) { throw EInvalidGraphic(String("Bitmap image is not valid: ") + Why); }

uint32_t U32(const uint8_t* P) { return P[0] | (P[1] << 8) | (P[2] << 16) | (uint32_t(P[3]) << 24); }
uint16_t U16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
int32_t I32(const uint8_t* P) { return int32_t(U32(P)); }

void Put16(std::vector<uint8_t>& V, uint32_t X) { V.push_back(X & 0xFF); V.push_back((X >> 8) & 0xFF); }
void Put32(std::vector<uint8_t>& V, uint32_t X) { Put16(V, X & 0xFFFF); Put16(V, X >> 16); }

// Value of a bit field scaled to 0..255.
struct TField {
    uint32_t Mask = 0;
    int Shift = 0, Bits = 0;
    explicit TField(uint32_t M = 0) : Mask(M)
    {
        if (!M) return;
        while (!((M >> Shift) & 1)) ++Shift;
        while (Shift + Bits < 32 && ((M >> (Shift + Bits)) & 1)) ++Bits;
    }
    uint32_t Get(uint32_t V) const
    {
        if (!Mask) return 0;
        uint32_t X = (V & Mask) >> Shift;
        if (Bits >= 8) return X >> (Bits - 8);
        uint32_t Max = (1u << Bits) - 1;
        return (X * 255 + Max / 2) / Max;
    }
};

}  // namespace

namespace gdi {

std::vector<uint8_t> ReadRest(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphic("No stream to read the picture from");
    int64_t Left = Stream->Size() - Stream->Position();
    if (Left < 0) Left = 0;
    if (Left > (int64_t(1) << 30)) throw EInvalidGraphic("Picture data is too large");
    std::vector<uint8_t> V(static_cast<size_t>(Left));
    if (Left) V.resize(size_t(Stream->Read(V.data(), Left)));
    return V;
}

bool IsPng(const uint8_t* D, size_t N)
{
    static const uint8_t Sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return N >= 8 && std::memcmp(D, Sig, 8) == 0;
}

TBmpImage ReadBmp(const uint8_t* D, size_t N, bool Bare)
{
    size_t Base = 0;
    uint32_t OffBits = 0;
    if (!Bare) {
        if (N < 14 || D[0] != 'B' || D[1] != 'M') Bad("no bitmap file header");
        OffBits = U32(D + 10);
        Base = 14;
    }
    if (N < Base + 12) Bad("truncated header");
    uint32_t HdrSize = U32(D + Base);
    int32_t W, H;
    uint16_t Planes, Bpp;
    uint32_t Compression = BI_RGB, ClrUsed = 0;
    bool Core = HdrSize == 12;
    if (Core) {
        W = U16(D + Base + 4);
        H = int16_t(U16(D + Base + 6));
        Planes = U16(D + Base + 8);
        Bpp = U16(D + Base + 10);
    } else {
        if (HdrSize < 40 || HdrSize > 1024 || N < Base + HdrSize) Bad("truncated header");
        W = I32(D + Base + 4);
        H = I32(D + Base + 8);
        Planes = U16(D + Base + 12);
        Bpp = U16(D + Base + 14);
        Compression = U32(D + Base + 16);
        ClrUsed = U32(D + Base + 32);
    }
    if (Planes != 1) Bad("bad plane count");
    if (W <= 0 || H == 0 || H == INT32_MIN) Bad("bad size");
    bool TopDown = H < 0;
    if (TopDown) H = -H;
    if (int64_t(W) * H > (int64_t(1) << 28)) Bad("image too large");
    if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) Bad("unsupported bit depth");
    if (Compression != BI_RGB && !(Compression == BI_BITFIELDS && (Bpp == 16 || Bpp == 32)))
        Bad("unsupported compression");

    size_t Pos = Base + HdrSize;
    // Channel masks.
    uint32_t Masks[4] = {0, 0, 0, 0};
    if (Compression == BI_BITFIELDS) {
        if (HdrSize >= 52) {
            for (int i = 0; i < 3; ++i) Masks[i] = U32(D + Base + 40 + 4 * i);
            if (HdrSize >= 56) Masks[3] = U32(D + Base + 52);
        } else {
            if (N < Pos + 12) Bad("truncated bit fields");
            for (int i = 0; i < 3; ++i) Masks[i] = U32(D + Pos + 4 * i);
            Pos += 12;
        }
    } else if (Bpp == 16) {
        Masks[0] = 0x7C00; Masks[1] = 0x03E0; Masks[2] = 0x001F;
    }
    // Palette.
    std::vector<uint32_t> Palette;
    if (Bpp <= 8) {
        uint32_t Max = 1u << Bpp;
        uint32_t Count = ClrUsed ? ClrUsed : Max;
        if (Count > Max) Count = Max;
        size_t Entry = Core ? 3 : 4;
        if (N < Pos + Count * Entry) Bad("truncated palette");
        for (uint32_t i = 0; i < Count; ++i) {
            const uint8_t* P = D + Pos + i * Entry;
            Palette.push_back(P[0] | (P[1] << 8) | (uint32_t(P[2]) << 16));
        }
        Pos += Count * Entry;
        Palette.resize(Max, 0);
    }
    if (!Bare && OffBits >= Pos && OffBits < N) Pos = OffBits;
    size_t Stride = size_t(TSurface::StrideFor(W, Bpp));
    if (Stride * size_t(H) > N - std::min(N, Pos)) Bad("truncated pixel data");

    TBmpImage Img;
    Img.Format = Bpp == 32 ? pf32bit : pf24bit;
    Img.Surface = std::make_shared<TSurface>(W, H, Bpp == 32 ? 32 : 24);
    TField R(Masks[0]), G(Masks[1]), B(Masks[2]), A(Masks[3]);
    for (int y = 0; y < H; ++y) {
        const uint8_t* Row = D + Pos + size_t(TopDown ? y : H - 1 - y) * Stride;
        for (int x = 0; x < W; ++x) {
            uint32_t Px;
            switch (Bpp) {
            case 1: Px = Palette[(Row[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: Px = Palette[(Row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
            case 8: Px = Palette[Row[x]]; break;
            case 16: {
                uint32_t V = U16(Row + 2 * x);
                Px = B.Get(V) | (G.Get(V) << 8) | (R.Get(V) << 16);
                break;
            }
            case 24: Px = Row[3 * x] | (Row[3 * x + 1] << 8) | (uint32_t(Row[3 * x + 2]) << 16); break;
            default: {
                uint32_t V = U32(Row + 4 * x);
                Px = Compression == BI_BITFIELDS ? (B.Get(V) | (G.Get(V) << 8) | (R.Get(V) << 16) | (A.Get(V) << 24)) : V;
            }
            }
            Img.Surface->SetPixel(x, y, Px);
        }
    }
    Img.Consumed = Pos + Stride * size_t(H);
    return Img;
}

std::vector<uint8_t> WriteBmp(const TSurface& S, TPixelFormat Format)
{
    int Bpp = Format == pf1bit ? 1 : S.BitsPerPixel();
    int W = S.Width(), H = S.Height();
    size_t Stride = size_t(TSurface::StrideFor(W, Bpp));
    uint32_t PalBytes = Bpp == 1 ? 8 : 0;
    uint32_t Off = 14 + 40 + PalBytes;
    uint32_t Image = uint32_t(Stride * size_t(H));
    std::vector<uint8_t> V;
    V.reserve(Off + Image);
    V.push_back('B');
    V.push_back('M');
    Put32(V, Off + Image);
    Put32(V, 0);
    Put32(V, Off);
    Put32(V, 40);
    Put32(V, uint32_t(W));
    Put32(V, uint32_t(H));   // bottom-up rows
    Put16(V, 1);
    Put16(V, uint32_t(Bpp));
    Put32(V, BI_RGB);
    Put32(V, Image);
    Put32(V, 3780);          // 96 dots per inch
    Put32(V, 3780);
    Put32(V, Bpp == 1 ? 2 : 0);
    Put32(V, 0);
    if (Bpp == 1) {
        Put32(V, 0x00000000);
        Put32(V, 0x00FFFFFF);
    }
    std::vector<uint8_t> Row(Stride);
    for (int y = H - 1; y >= 0; --y) {
        std::fill(Row.begin(), Row.end(), 0);
        for (int x = 0; x < W; ++x) {
            uint32_t P = S.GetPixel(x, y);
            if (Bpp == 1) {
                if (P & 0xFFFFFF) Row[size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
            } else if (Bpp == 24) {
                Row[size_t(3 * x)] = P & 0xFF;
                Row[size_t(3 * x + 1)] = (P >> 8) & 0xFF;
                Row[size_t(3 * x + 2)] = (P >> 16) & 0xFF;
            } else {
                std::memcpy(&Row[size_t(4 * x)], &P, 4);
            }
        }
        V.insert(V.end(), Row.begin(), Row.end());
    }
    return V;
}

}  // namespace gdi
