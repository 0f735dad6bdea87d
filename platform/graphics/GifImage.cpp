// GIF pictures through giflib: the first frame with its transparent colour, and
// one-frame writing with at most 256 colours.
#include <gif_lib.h>

#include <cstring>
#include <map>

#include "platform/graphics/Codecs.h"
#include "platform/graphics/GdiInternal.h"

namespace {

struct TGifRead {
    const uint8_t* Data;
    size_t Size, Pos;
};

int ReadFn(GifFileType* G, GifByteType* Out, int N)
{
    auto* R = static_cast<TGifRead*>(G->UserData);
    size_t Take = std::min(size_t(N < 0 ? 0 : N), R->Size - R->Pos);
    std::memcpy(Out, R->Data + R->Pos, Take);
    R->Pos += Take;
    return int(Take);
}

int WriteFn(GifFileType* G, const GifByteType* In, int N)
{
    auto* Out = static_cast<std::vector<uint8_t>*>(G->UserData);
    Out->insert(Out->end(), In, In + N);
    return N;
}

[[noreturn]] void Bad(const String& Why) { throw EInvalidGraphic("GIF image is not valid: " + Why); }

}  // namespace

TGIFImage::TGIFImage() : FBitmap(std::make_unique<TBitmap>())
{
    FBitmap->SetPixelFormat(pf32bit);
}

TGIFImage::~TGIFImage() = default;

bool TGIFImage::Empty() const { return FBitmap->Empty(); }
int TGIFImage::Width() const { return FBitmap->Width(); }
int TGIFImage::Height() const { return FBitmap->Height(); }

void TGIFImage::Assign(TPersistent* Source)
{
    if (!Source) {
        FBitmap->SetSize(0, 0);
        FMask.clear();
        Changed(this);
        return;
    }
    if (auto* G = dynamic_cast<TGIFImage*>(Source)) {
        if (G == this) return;
        FBitmap->Assign(G->FBitmap.get());
        FMask = G->FMask;
        FTransparent = G->FTransparent;
        Changed(this);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        // The bitmap's colours; its transparent colour (when it is transparent) stays out.
        auto N = std::make_unique<TBitmap>();
        N->SetPixelFormat(pf32bit);
        N->SetSize(B->Width(), B->Height());
        FMask.assign(size_t(B->Width()) * B->Height(), 0);
        uint32_t Key = B->Transparent() ? gdi::PixelOf(COLORREF(ColorToRGB(B->TransparentColor()))) : 0xFFFFFFFF;
        if (PSurface S = B->Surface())
            for (int y = 0; y < B->Height(); ++y)
                for (int x = 0; x < B->Width(); ++x) {
                    uint32_t P = S->GetPixel(x, y) & 0xFFFFFF;
                    N->Surface()->SetPixel(x, y, P | 0xFF000000u);
                    if (P == Key) FMask[size_t(y) * B->Width() + x] = 1;
                }
        FBitmap = std::move(N);
        FTransparent = B->Transparent();
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TGIFImage::AssignTo(TPersistent* Dest)
{
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        B->Assign(FBitmap.get());
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TGIFImage::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> Data = gdi::ReadRest(Stream);
    if (Data.size() < 6 || std::memcmp(Data.data(), "GIF", 3) != 0) Bad("no GIF signature");
    TGifRead R{Data.data(), Data.size(), 0};
    int Err = 0;
    GifFileType* G = DGifOpen(&R, ReadFn, &Err);
    if (!G) Bad(GifErrorString(Err) ? GifErrorString(Err) : "cannot open");
    struct TCloser {
        GifFileType* G;
        ~TCloser() { int E; DGifCloseFile(G, &E); }
    } Closer{G};
    if (G->SWidth <= 0 || G->SHeight <= 0 || int64_t(G->SWidth) * G->SHeight > (int64_t(1) << 26)) Bad("bad size");
    if (DGifSlurp(G) != GIF_OK && G->ImageCount == 0) Bad(GifErrorString(G->Error) ? GifErrorString(G->Error) : "cannot read");
    if (G->ImageCount < 1 || !G->SavedImages[0].RasterBits) Bad("no image");
    const SavedImage& F = G->SavedImages[0];
    const ColorMapObject* Map = F.ImageDesc.ColorMap ? F.ImageDesc.ColorMap : G->SColorMap;
    if (!Map || !Map->Colors || Map->ColorCount <= 0) Bad("no colour table");
    GraphicsControlBlock Gcb;
    Gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(G, 0, &Gcb);
    int W = G->SWidth, H = G->SHeight;
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf32bit);
    B->SetSize(W, H);
    std::vector<uint8_t> Mask(size_t(W) * H, 1);   // outside the frame: transparent
    const GifImageDesc& D = F.ImageDesc;
    bool AnyTransparent = false;
    for (int y = 0; y < D.Height; ++y)
        for (int x = 0; x < D.Width; ++x) {
            int X = D.Left + x, Y = D.Top + y;
            if (X < 0 || Y < 0 || X >= W || Y >= H) continue;
            int I = F.RasterBits[size_t(y) * D.Width + x];
            if (I == Gcb.TransparentColor || I >= Map->ColorCount) continue;
            const GifColorType& C = Map->Colors[I];
            B->Surface()->SetPixel(X, Y, 0xFF000000u | (uint32_t(C.Red) << 16) | (uint32_t(C.Green) << 8) | C.Blue);
            Mask[size_t(Y) * W + X] = 0;
        }
    for (uint8_t M : Mask) AnyTransparent |= M != 0;
    FBitmap = std::move(B);
    FMask = std::move(Mask);
    FTransparent = AnyTransparent;
    Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphic("No stream to write the picture to");
    if (Empty()) throw EInvalidGraphic("Cannot save an empty GIF image");
    int W = Width(), H = Height();
    size_t N = size_t(W) * H;
    PSurface S = FBitmap->Surface();
    bool HasMask = FTransparent && FMask.size() == N;
    // Exact colours when they fit (one entry kept for transparency), else reduced.
    std::vector<GifByteType> Index(N);
    std::vector<GifColorType> Colors;
    std::map<uint32_t, int> Seen;
    size_t Limit = HasMask ? 255 : 256;
    bool Exact = true;
    for (size_t i = 0; i < N && Exact; ++i) {
        if (HasMask && FMask[i]) continue;
        uint32_t P = S->GetPixel(int(i % W), int(i / W)) & 0xFFFFFF;
        auto It = Seen.find(P);
        if (It == Seen.end()) {
            if (Seen.size() == Limit) { Exact = false; break; }
            It = Seen.emplace(P, int(Colors.size())).first;
            Colors.push_back({GifByteType(P >> 16), GifByteType(P >> 8), GifByteType(P)});
        }
        Index[i] = GifByteType(It->second);
    }
    if (!Exact) {
        std::vector<GifByteType> Rr(N), Gg(N), Bb(N);
        for (size_t i = 0; i < N; ++i) {
            uint32_t P = S->GetPixel(int(i % W), int(i / W));
            Rr[i] = GifByteType(P >> 16);
            Gg[i] = GifByteType(P >> 8);
            Bb[i] = GifByteType(P);
        }
        int Size = int(Limit);
        Colors.assign(256, GifColorType{0, 0, 0});
        if (GifQuantizeBuffer(unsigned(W), unsigned(H), &Size, Rr.data(), Gg.data(), Bb.data(), Index.data(),
                              Colors.data()) != GIF_OK)
            throw EInvalidGraphic("Cannot reduce the colours of the GIF image");
        Colors.resize(size_t(std::clamp(Size, 1, int(Limit))));
        for (GifByteType& I : Index) I = GifByteType(std::min<int>(I, int(Colors.size()) - 1));
    }
    int Transparent = -1;
    if (HasMask) {
        Transparent = int(Colors.size());
        Colors.push_back({0, 0, 0});
        for (size_t i = 0; i < N; ++i)
            if (FMask[i]) Index[i] = GifByteType(Transparent);
    }
    int MapSize = 2;
    while (MapSize < int(Colors.size())) MapSize *= 2;
    Colors.resize(size_t(MapSize), GifColorType{0, 0, 0});

    std::vector<uint8_t> Out;
    int Err = 0;
    GifFileType* G = EGifOpen(&Out, WriteFn, &Err);
    if (!G) throw EInvalidGraphic("Cannot write GIF image");
    ColorMapObject* Map = GifMakeMapObject(MapSize, Colors.data());
    bool Ok = Map != nullptr;
    if (Ok) {
        EGifSetGifVersion(G, true);
        Ok = EGifPutScreenDesc(G, W, H, 8, 0, Map) == GIF_OK;
        if (Ok && Transparent >= 0) {
            GraphicsControlBlock Gcb;
            Gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
            Gcb.UserInputFlag = false;
            Gcb.DelayTime = 0;
            Gcb.TransparentColor = Transparent;
            GifByteType Ext[4];
            size_t Len = EGifGCBToExtension(&Gcb, Ext);
            Ok = EGifPutExtension(G, GRAPHICS_EXT_FUNC_CODE, int(Len), Ext) == GIF_OK;
        }
        Ok = Ok && EGifPutImageDesc(G, 0, 0, W, H, false, nullptr) == GIF_OK;
        for (int y = 0; Ok && y < H; ++y) Ok = EGifPutLine(G, Index.data() + size_t(y) * W, W) == GIF_OK;
    }
    int CloseErr = 0;
    if (EGifCloseFile(G, &CloseErr) != GIF_OK) Ok = false;
    if (Map) GifFreeMapObject(Map);
    if (!Ok) throw EInvalidGraphic("Cannot write GIF image");
    Stream->WriteBuffer(Out.data(), int64_t(Out.size()));
}

void TGIFImage::Draw(TCanvas* Canvas, const TRect& R)
{
    if (Empty()) return;
    if (!FTransparent || FMask.empty()) {
        Canvas->StretchDraw(R, FBitmap.get());
        return;
    }
    // Transparent pixels are left out through a colour key that no visible pixel uses.
    TBitmap Tmp;
    Tmp.Assign(FBitmap.get());
    uint32_t Key = 0xFF00FF;
    std::vector<bool> Used(1u << 15, false);
    PSurface S = Tmp.Surface();
    int W = Width();
    for (size_t i = 0; i < FMask.size(); ++i)
        if (!FMask[i]) {
            uint32_t P = S->GetPixel(int(i % W), int(i / W));
            Used[((P >> 9) & 0x7C00) | ((P >> 6) & 0x3E0) | ((P >> 3) & 0x1F)] = true;
        }
    for (uint32_t k = 0; k < (1u << 15); ++k)
        if (!Used[k]) {
            Key = ((k & 0x7C00) << 9) | ((k & 0x3E0) << 6) | ((k & 0x1F) << 3);
            break;
        }
    for (size_t i = 0; i < FMask.size(); ++i)
        if (FMask[i]) S->SetPixel(int(i % W), int(i / W), Key);
    Tmp.SetTransparentColor(TColor(((Key & 0xFF) << 16) | (Key & 0xFF00) | ((Key >> 16) & 0xFF)));
    Tmp.SetTransparent(true);
    Canvas->StretchDraw(R, &Tmp);
}
