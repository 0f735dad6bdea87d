// TbsBitmap: life cycle, copies from and to other pictures and resources, the stream and
// PCX forms, and the whole-picture pixel operations.
#include "skin/core/bsEffects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/forms/Clipbrd.h"

// ---- Live-bitmap list ---------------------------------------------------------------------

namespace {
std::vector<TbsBitmap*>& LiveBitmaps()
{
    static std::vector<TbsBitmap*> list;
    return list;
}
}  // namespace

void RegisterLiveBitmap(TbsBitmap* Bitmap)
{
    auto& l = LiveBitmaps();
    if (std::find(l.begin(), l.end(), Bitmap) == l.end()) l.push_back(Bitmap);
}

void UnregisterLiveBitmap(TbsBitmap* Bitmap)
{
    auto& l = LiveBitmaps();
    l.erase(std::remove(l.begin(), l.end(), Bitmap), l.end());
}

TbsBitmap* FindLiveBitmapByDC(HDC DC)
{
    if (!DC) return nullptr;
    for (TbsBitmap* b : LiveBitmaps())
        if (b->DC() == DC) return b;
    return nullptr;
}

void FreeLiveBitmaps() { LiveBitmaps().clear(); }

HBITMAP CreateTopDownDIB(int AWidth, int AHeight, WORD BitCount, BITMAPINFO& Info, void*& Bits)
{
    Info = BITMAPINFO();
    Info.bmiHeader.biSize = 40;
    Info.bmiHeader.biWidth = AWidth;
    Info.bmiHeader.biHeight = -AHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = BitCount;
    Info.bmiHeader.biCompression = BI_RGB;
    Bits = nullptr;
    HBITMAP h = nullptr;
    try {
        h = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    } catch (const std::exception&) {
        h = nullptr;
    }
    if (!h || !Bits) {
        if (h) DeleteObject(h);
        Bits = nullptr;
        throw Exception("Can't allocate the DIB handle");
    }
    return h;
}

// ---- Life cycle ---------------------------------------------------------------------------

TbsBitmap::TbsBitmap()
{
    FBitmapInfo = BITMAPINFO();
    FBitmapInfo.bmiHeader.biBitCount = 32;
}

TbsBitmap::~TbsBitmap()
{
    UnregisterLiveBitmap(this);
    // FreeHandles detaches the canvas from the DC, so the canvas goes after it.
    FreeHandles();
    delete FCanvas;
    FCanvas = nullptr;
}

void TbsBitmap::FreeHandles()
{
    if (FCanvas) FCanvas->SetHandle(nullptr);
    if (FDC) DeleteDC(FDC);
    if (FHandle) DeleteObject(FHandle);
    FDC = nullptr;
    FHandle = nullptr;
    FBits = nullptr;
}

void TbsBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth == INT32_MIN || AHeight == INT32_MIN) throw Exception("Can't allocate the DIB handle");
    AWidth = std::abs(AWidth);
    AHeight = std::abs(AHeight);
    if (AWidth == 0 || AHeight == 0) return;
    if (AWidth == FWidth && AHeight == FHeight && FHandle) return;
    FreeHandles();
    // A failure leaves an empty bitmap that also measures 0 x 0, so that no loop over the
    // old size reaches the missing pixels.
    FWidth = FHeight = 0;
    void* bits = nullptr;
    FHandle = CreateTopDownDIB(AWidth, AHeight, 32, FBitmapInfo, bits);
    FDC = CreateCompatibleDC(nullptr);
    if (!FDC) {
        DeleteObject(FHandle);
        FHandle = nullptr;
        throw Exception("Can't create compatible DC");
    }
    if (!SelectObject(FDC, FHandle)) {
        DeleteDC(FDC);
        DeleteObject(FHandle);
        FDC = nullptr;
        FHandle = nullptr;
        throw Exception("Can't bslect an object into DC");
    }
    FBits = static_cast<TbsColor*>(bits);
    RegisterLiveBitmap(this);
    if (FCanvas) FCanvas->SetHandle(FDC);
    FWidth = AWidth;
    FHeight = AHeight;
}

TCanvas* TbsBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = new TCanvas();
        FCanvas->SetHandle(FDC);
    }
    return FCanvas;
}

void TbsBitmap::Clear(TbsColor Color)
{
    if (FBits) bsKernels.FillLine(FBits, FWidth * FHeight, Color);
}

void TbsBitmap::SetPixel(int X, int Y, TbsColor Value)
{
    if (FBits && X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) *PixelAddress(X, Y) = Value;
}

// ---- Copies -------------------------------------------------------------------------------

void TbsBitmap::CopyFromBitmap(TBitmap* Source)
{
    SetSize(Source->Width(), Source->Height());
    if (Empty() || Source->Empty()) return;
    if (Source->PixelFormat() == pf32bit && Source->HandleType() == bmDIB) {
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(ScanLine(y), Source->ScanLine(y), size_t(FWidth) * 4);
        CheckingAlphaBlend();
        return;
    }
    BitBlt(FDC, 0, 0, FWidth, FHeight, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
    SetAlpha(255);
}

void TbsBitmap::LoadFromResource(const String&, const String& ResName)
{
    std::vector<uint8_t> data;
    if (!FindResourceData(ResName, data)) return;
    // Loaded whole first, so that a malformed resource leaves this bitmap as it was.
    TBitmap picture;
    picture.LoadFromResourceName(0, ResName);
    CopyFromBitmap(&picture);
}

void TbsBitmap::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsBitmap*>(Source)) {
        if (src == this) return;
        if (src->Empty()) {
            // Copying an empty picture gives an empty picture.
            UnregisterLiveBitmap(this);
            FreeHandles();
            FWidth = FHeight = 0;
        } else {
            SetSize(src->Width(), src->Height());
            if (FBits) bsKernels.MoveLine(src->Bits(), FBits, FWidth * FHeight);
        }
        FName = src->FName;
        FTransparent = src->FTransparent;
        FAlphaBlend = src->FAlphaBlend;
        return;
    }
    auto fromGraphic = [this](TGraphic* G) {
        SetSize(G->Width(), G->Height());
        if (Empty() || G->Empty()) return;
        DrawGraphic(G, TRect(0, 0, FWidth, FHeight));
        SetAlpha(255);
    };
    if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
        CopyFromBitmap(bmp);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        fromGraphic(g);
        return;
    }
    if (auto* pic = dynamic_cast<TPicture*>(Source)) {
        TGraphic* g = pic->Graphic();
        if (!g) {
            // A picture without a graphic gives an empty bitmap.
            UnregisterLiveBitmap(this);
            FreeHandles();
            FWidth = FHeight = 0;
        } else if (auto* b = dynamic_cast<TBitmap*>(g)) {
            SetSize(b->Width(), b->Height());
            if (!Empty() && !b->Empty()) {
                BitBlt(FDC, 0, 0, FWidth, FHeight, b->Canvas()->Handle(), 0, 0, SRCCOPY);
                SetAlpha(255);
            }
        } else {
            fromGraphic(g);
        }
        return;
    }
    TPersistent::Assign(Source);
}

void TbsBitmap::AssignTo(TPersistent* Dest)
{
    auto drawInto = [this](TBitmap* target) {
        target->SetPixelFormat(pf32bit);
        target->SetSize(FWidth, FHeight);
        if (!Empty()) Draw(target->Canvas(), 0, 0);
    };
    if (auto* clip = dynamic_cast<TClipboard*>(Dest)) {
        // The clipboard takes the picture the way a bitmap would receive it.
        TBitmap picture;
        drawInto(&picture);
        clip->Assign(&picture);
        return;
    }
    TBitmap* target = nullptr;
    if (auto* pic = dynamic_cast<TPicture*>(Dest))
        target = pic->Bitmap();
    else
        target = dynamic_cast<TBitmap*>(Dest);
    if (!target) {
        TPersistent::AssignTo(Dest);
        return;
    }
    drawInto(target);
}

// ---- Stream and PCX forms -----------------------------------------------------------------

void TbsBitmap::SaveToStream(TStream* Stream) const
{
    WriteStreamString(Stream, FName);
    const int32_t w = FWidth, h = FHeight;
    Stream->WriteBuffer(&w, 4);
    Stream->WriteBuffer(&h, 4);
    if (FBits) Stream->WriteBuffer(FBits, int64_t(w) * h * 4);
}

void TbsBitmap::LoadFromStream(TStream* Stream)
{
    const String name = ReadStreamString(Stream);
    int32_t w = 0, h = 0;
    Stream->ReadBuffer(&w, 4);
    Stream->ReadBuffer(&h, 4);
    const bool bottomUp = h <= 0;
    const int64_t aw = std::abs(int64_t(w)), ah = std::abs(int64_t(h));
    const int64_t bytes = aw * ah * 4;
    if (aw > 65535 || ah > 65535 || bytes > Stream->Size() - Stream->Position()) throw EReadError("Stream read error");
    FName = name;
    SetSize(int(aw), int(ah));
    if (FWidth == aw && FHeight == ah && FBits) {
        Stream->ReadBuffer(FBits, bytes);
        if (bottomUp) FlipVert();
    } else {
        Stream->Seek(bytes, soCurrent);  // keep the stream in step with the form
    }
}

namespace {

// The 16-colour system palette as RGB triples.
constexpr uint8_t SystemPalette16[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

inline int ReadLE16(const uint8_t* P) { return P[0] | (P[1] << 8); }

}  // namespace

void TbsBitmap::LoadFromPcxStream(TStream* Stream)
{
    const int64_t start = Stream->Position();
    const int64_t available = Stream->Size() - start;
    uint8_t hdr[128];
    if (available < 128) throw EReadError("Invalid PCX image: no header");
    Stream->ReadBuffer(hdr, 128);
    if (hdr[0] != 10 && hdr[0] != 205) {
        Stream->SetPosition(start);
        return;
    }
    uint8_t palette[256][3] = {};
    if (hdr[1] == 3) {
        std::memcpy(palette, SystemPalette16, sizeof(SystemPalette16));
    } else {
        // The palette is the last 768 bytes, after a marker byte.
        if (available < 128 + 769) throw EReadError("Invalid PCX image: no palette");
        const int64_t pos = Stream->Position();
        Stream->Seek(-769, soEnd);
        uint8_t marker;
        Stream->ReadBuffer(&marker, 1);
        Stream->ReadBuffer(palette, 768);
        Stream->SetPosition(pos);
    }
    const int width = ReadLE16(hdr + 8) - ReadLE16(hdr + 4) + 1;
    const int height = ReadLE16(hdr + 10) - ReadLE16(hdr + 6) + 1;
    const int rowBytes = int(hdr[65]) * ReadLE16(hdr + 66);
    if (width <= 0 || height <= 0 || rowBytes < width)
        throw EReadError("Invalid PCX image: bad dimensions");
    const int64_t dataLen = Stream->Size() - Stream->Position();
    const int64_t total = int64_t(rowBytes) * height;
    // Run-length data expands at most 63 times; anything larger cannot be filled.
    if (total > 64 * (dataLen + 1) || total > (int64_t(1) << 28)) throw EReadError("Invalid PCX image: bad dimensions");
    std::vector<uint8_t> data(static_cast<size_t>(dataLen));
    if (dataLen > 0) Stream->ReadBuffer(data.data(), dataLen);
    std::vector<uint8_t> decoded(size_t(total), 0);
    if (hdr[2] == 1) {
        size_t in = 0, out = 0;
        while (out < decoded.size() && in < data.size()) {
            const uint8_t b = data[in++];
            if (b < 192) {
                decoded[out++] = b;
                continue;
            }
            if (in >= data.size()) break;
            const uint8_t v = data[in++];
            const size_t n = std::min<size_t>(b & 0x3F, decoded.size() - out);
            std::memset(&decoded[out], v, n);
            out += n;
        }
    } else {
        std::memcpy(decoded.data(), data.data(), std::min(decoded.size(), data.size()));
    }
    SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = &decoded[size_t(y) * rowBytes];
        TbsColor* dst = ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* c = palette[src[x]];
            dst[x] = bsPackARGB(255, c[0], c[1], c[2]);
        }
    }
}

TbsBitmapLink* TbsBitmap::GetBitmapLink(const TRect& Rect)
{
    auto* link = new TbsBitmapLink();
    link->SetImage(this);
    link->SetName(FName);
    link->SetRect(Rect);
    return link;
}

TbsBitmapLink* TbsBitmap::GetBitmapLink(const String& RectText) { return GetBitmapLink(TextToRect(RectText)); }

// ---- Pixel operations ---------------------------------------------------------------------

void TbsBitmap::CheckingAlphaBlend()
{
    FAlphaBlend = false;
    if (!FBits) return;
    const size_t n = size_t(FWidth) * FHeight;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t a = bsAlphaOf(FBits[i]);
        if (a != 0 && a != 255) {
            FAlphaBlend = true;
            return;
        }
    }
}

void TbsBitmap::CheckingAlphaBlend(const TRect&) { CheckingAlphaBlend(); }

void TbsBitmap::CheckingTransparent(TbsColor Color)
{
    FTransparent = false;
    if (FBits) {
        const int r = bsRedOf(Color), g = bsGreenOf(Color), b = bsBlueOf(Color);
        const size_t n = size_t(FWidth) * FHeight;
        for (size_t i = 0; i < n; ++i) {
            const TbsColor c = FBits[i];
            if (std::abs(bsRedOf(c) - r) <= 5 && std::abs(bsGreenOf(c) - g) <= 5 && std::abs(bsBlueOf(c) - b) <= 5)
                FBits[i] = bsTransparentColor;
        }
    }
    FTransparent = true;
}

void TbsBitmap::CheckingTransparent(const TRect&, TbsColor Color) { CheckingTransparent(Color); }

void TbsBitmap::SetAlpha(uint8_t Alpha)
{
    if (FBits) bsKernels.SetAlphaLine(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::SetAlpha(uint8_t Alpha, const TRect& Rect)
{
    if (Rect.Width() == 0 || Rect.Height() == 0 || !FBits) return;
    const int l = std::max(Rect.Left, 0), t = std::max(Rect.Top, 0);
    const int r = std::min(Rect.Right, FWidth), b = std::min(Rect.Bottom, FHeight);
    if (r <= l || b <= t) return;
    bsKernels.SetAlphaRect(FBits, FWidth, FHeight, l, t, r - 1, b - 1, Alpha);
}

void TbsBitmap::CheckRGBA()
{
    if (!FBits) return;
    const size_t n = size_t(FWidth) * FHeight;
    for (size_t i = 0; i < n; ++i) {
        const TbsColor c = FBits[i];
        const uint32_t a = bsAlphaOf(c);
        FBits[i] = bsPackARGB(a, std::min<uint32_t>(bsRedOf(c), a), std::min<uint32_t>(bsGreenOf(c), a),
                              std::min<uint32_t>(bsBlueOf(c), a));
    }
}

void TbsBitmap::CheckRGBA2()
{
    if (!FBits) return;
    const size_t n = size_t(FWidth) * FHeight;
    for (size_t i = 0; i < n; ++i) {
        const TbsColor c = FBits[i];
        const uint32_t a = bsAlphaOf(c);
        auto pm = [a](uint32_t v) { return uint32_t(Round(double(a) * v / 255)); };
        FBits[i] = bsPackARGB(a, pm(bsRedOf(c)), pm(bsGreenOf(c)), pm(bsBlueOf(c)));
    }
}

template <typename F>
void TbsBitmap::ForEachVisiblePixel(F Fn)
{
    if (!FBits) return;
    const size_t n = size_t(FWidth) * FHeight;
    for (size_t i = 0; i < n; ++i) {
        const TbsColor c = FBits[i];
        if (bsAlphaOf(c) == 0) continue;
        FBits[i] = (Fn(c) & 0x00FFFFFF) | (c & 0xFF000000);
    }
}

void TbsBitmap::ChangeBitmapBrightness(int DeltaBrightness)
{
    if (DeltaBrightness == 0) return;
    ForEachVisiblePixel([DeltaBrightness](TbsColor c) { return ChangeBrightnessOfColor(c, DeltaBrightness); });
}

void TbsBitmap::SetBitmapHue(int Hue)
{
    ForEachVisiblePixel([Hue](TbsColor c) { return SetHueOfColor(c, Hue); });
}

void TbsBitmap::ChangeBitmapSat(int DeltaSat)
{
    if (DeltaSat == 0) return;
    ForEachVisiblePixel([DeltaSat](TbsColor c) { return ChangeSaturationOfColor(c, DeltaSat); });
}

void TbsBitmap::ChangeBitmapHue(int DeltaHue)
{
    if (DeltaHue == 0) return;
    ForEachVisiblePixel([DeltaHue](TbsColor c) { return ChangeHueOfColor(c, DeltaHue); });
}

void TbsBitmap::FlipVert()
{
    if (!FBits) return;
    std::vector<TbsColor> row(static_cast<size_t>(FWidth));
    for (int y = 0; y < FHeight / 2; ++y) {
        TbsColor* a = ScanLine(y);
        TbsColor* b = ScanLine(FHeight - 1 - y);
        bsKernels.MoveLine(a, row.data(), FWidth);
        bsKernels.MoveLine(b, a, FWidth);
        bsKernels.MoveLine(row.data(), b, FWidth);
    }
}

void TbsBitmap::ReflectionFade(int Divisor)
{
    FlipVert();
    if (!FBits) return;
    double f = 1;
    const double step = 2.0 / FHeight;
    for (int y = 0; y < FHeight; ++y, f -= step) {
        TbsColor* row = ScanLine(y);
        for (int x = 0; x < FWidth; ++x) {
            const TbsColor c = row[x];
            const uint32_t a = bsAlphaOf(c);
            if (a == 0) continue;
            const int64_t na = std::max<int64_t>(0, Round(f * a) / Divisor);
            row[x] = (c & 0x00FFFFFF) | (uint32_t(na) << 24);
        }
    }
}

void TbsBitmap::Reflection() { ReflectionFade(3); }
void TbsBitmap::Reflection2() { ReflectionFade(4); }
void TbsBitmap::Reflection3() { ReflectionFade(2); }
