// Pictures in general and the bitmap: sizes, pixel formats, canvas, transparency,
// BMP streams and the resource table.
#include <cstring>
#include <mutex>

#include "platform/graphics/Codecs.h"
#include "platform/graphics/GdiInternal.h"

// ---- TGraphic --------------------------------------------------------------------------------

void TGraphic::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of this picture"); }
void TGraphic::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of this picture"); }

void TGraphic::SetTransparent(bool V)
{
    if (V == FTransparent) return;
    FTransparent = V;
    Changed(this);
}

void TGraphic::Changed(TObject*)
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
    TFileStream S(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&S);
}

void TGraphic::SaveToFile(const String& FileName)
{
    // The whole file is made in memory first, so that a failing encoder leaves no
    // partial file behind.
    TMemoryStream M;
    SaveToStream(&M);
    TFileStream S(FileName, fmCreate);
    M.SetPosition(0);
    S.CopyFrom(&M, M.Size());
}

void TGraphic::AssignTo(TPersistent* Dest)
{
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        B->SetSize(0, 0);
        if (Empty()) return;
        B->SetSize(Width(), Height());
        B->Canvas()->Draw(0, 0, this);
        return;
    }
    TPersistent::AssignTo(Dest);
}

// ---- the bitmap's canvas -----------------------------------------------------------------

namespace {

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* B) : FBitmap(B) {}
    ~TBitmapCanvas() override { FreeContext(); }

    // Selects the bitmap's current handle (after a change of handle).
    void Reselect()
    {
        if (!FDC) return;
        SelectObject(FDC, FBitmap->Handle() ? static_cast<HGDIOBJ>(FBitmap->Handle()) : FOldBitmap);
    }
    void FreeContext()
    {
        if (!FDC) return;
        HDC DC = FDC;
        SetHandle(nullptr);
        SelectObject(DC, FOldBitmap);
        DeleteDC(DC);
        FDC = nullptr;
    }

protected:
    void CreateHandle() override
    {
        FDC = CreateCompatibleDC(nullptr);
        FOldBitmap = GetCurrentObject(FDC, OBJ_BITMAP);
        if (FBitmap->Handle()) SelectObject(FDC, FBitmap->Handle());
        SetHandle(FDC);
    }

private:
    TBitmap* FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

PSurface NewDIB(int W, int H, int Bpp, HBITMAP& Handle)
{
    BITMAPINFO Bi{};
    Bi.bmiHeader.biWidth = W;
    Bi.bmiHeader.biHeight = -H;
    Bi.bmiHeader.biBitCount = WORD(Bpp);
    void* Bits = nullptr;
    Handle = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Handle) throw EOutOfResources("Out of system resources");
    return GetBitmapSurface(Handle);
}

int StorageBpp(TPixelFormat F) { return F == pf24bit ? 24 : 32; }

// Copies the overlapping pixels; 24-bit sources give alpha 0 in 32-bit targets.
void CopyPixels(const TSurface& From, TSurface& To)
{
    int W = std::min(From.Width(), To.Width()), H = std::min(From.Height(), To.Height());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t P = From.GetPixel(x, y);
            if (From.BitsPerPixel() == 24) P &= 0xFFFFFF;
            To.SetPixel(x, y, P);
        }
}

std::mutex& ResourceLock()
{
    static std::mutex M;
    return M;
}

TResourceLookup& ResourceLookup()
{
    static auto* L = new TResourceLookup();
    return *L;
}

}  // namespace

void SetResourceLookup(TResourceLookup Lookup)
{
    std::lock_guard<std::mutex> L(ResourceLock());
    ResourceLookup() = std::move(Lookup);
}

bool FindResourceData(const String& Name, std::vector<uint8_t>& Data)
{
    TResourceLookup F;
    {
        std::lock_guard<std::mutex> L(ResourceLock());
        F = ResourceLookup();
    }
    return F && F(Name, Data);
}

// ---- TBitmap ----------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap()
{
    FCanvas.reset();
    if (FHandle) DeleteObject(FHandle);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject* S) { Changed(S); };
    }
    return FCanvas.get();
}

void TBitmap::SetSurface(PSurface S, HBITMAP H)
{
    HBITMAP Old = FHandle;
    FSurface = std::move(S);
    FHandle = H;
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->Reselect();
    if (Old && Old != H) DeleteObject(Old);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (AWidth == Width() && AHeight == Height()) return;
    FWidth = AWidth;
    FHeight = AHeight;
    if (AWidth == 0 || AHeight == 0) {
        SetSurface(nullptr);
    } else {
        HBITMAP H;
        PSurface S = NewDIB(AWidth, AHeight, StorageBpp(FPixelFormat), H);
        if (FSurface) CopyPixels(*FSurface, *S);
        SetSurface(S, H);
    }
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat V)
{
    if (V == FPixelFormat) return;
    TPixelFormat Old = FPixelFormat;
    FPixelFormat = V;
    if (FSurface && StorageBpp(Old) != StorageBpp(V)) {
        HBITMAP H;
        PSurface S = NewDIB(FSurface->Width(), FSurface->Height(), StorageBpp(V), H);
        CopyPixels(*FSurface, *S);
        SetSurface(S, H);
    }
    if (V == pf1bit && FSurface) {
        // Monochrome: each pixel becomes black or white by its brightness.
        for (int y = 0; y < FSurface->Height(); ++y)
            for (int x = 0; x < FSurface->Width(); ++x) {
                uint32_t P = FSurface->GetPixel(x, y);
                int L = (((P >> 16) & 0xFF) * 30 + ((P >> 8) & 0xFF) * 59 + (P & 0xFF) * 11) / 100;
                FSurface->SetPixel(x, y, L >= 128 ? 0x00FFFFFF : 0);
            }
    }
    Changed(this);
}

void* TBitmap::ScanLine(int Y)
{
    if (!FSurface || Y < 0 || Y >= FSurface->Height()) throw EInvalidGraphicOperation("Scan line index out of range");
    if (FPixelFormat != pf24bit && FPixelFormat != pf32bit && FPixelFormat != pfDevice)
        throw EInvalidGraphicOperation("Scan lines of this pixel format are not available");
    return FSurface->Row(Y);
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value == FHandle) return;
    PSurface S = Value ? GetBitmapSurface(Value) : nullptr;
    if (Value && !S) throw EInvalidGraphic("Invalid bitmap handle");
    FPixelFormat = S && S->BitsPerPixel() == 24 ? pf24bit : S ? pf32bit : FPixelFormat;
    FWidth = S ? S->Width() : 0;
    FHeight = S ? S->Height() : 0;
    SetSurface(S, Value);
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    HBITMAP H = FHandle;
    FHandle = nullptr;
    FSurface.reset();
    FWidth = FHeight = 0;
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->Reselect();
    return H;
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (!FSurface) return clDefault;
    return gdi::ColorRefOf(FSurface->GetPixel(0, FSurface->Height() - 1) & 0xFFFFFF);
}

void TBitmap::SetTransparentColor(TColor V)
{
    FTransparentColor = V;
    FTransparentMode = V == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode V)
{
    if (V == FTransparentMode) return;
    if (V == tmAuto) FTransparentColor = clDefault;
    else FTransparentColor = TransparentColor();
    FTransparentMode = V;
    Changed(this);
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        SetSize(0, 0);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        if (B == this) return;
        FPixelFormat = B->FPixelFormat;
        FTransparent = B->FTransparent;
        FTransparentColor = B->FTransparentColor;
        FTransparentMode = B->FTransparentMode;
        FWidth = B->FWidth;
        FHeight = B->FHeight;
        if (B->FSurface) {
            HBITMAP H;
            PSurface S = NewDIB(B->FSurface->Width(), B->FSurface->Height(), B->FSurface->BitsPerPixel(), H);
            std::memcpy(S->Bits(), B->FSurface->Bits(), S->SizeBytes());
            SetSurface(S, H);
        } else {
            SetSurface(nullptr);
        }
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::Changed(TObject* Sender) { TGraphic::Changed(Sender); }

void TBitmap::Draw(TCanvas* Canvas, const TRect& R)
{
    if (!FSurface) return;
    HDC Src = this->Canvas()->Handle();
    HDC Dst = Canvas->Handle();
    int W = FSurface->Width(), H = FSurface->Height();
    if (FTransparent) {
        TransparentBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, 0, 0, W, H,
                       UINT(ColorToRGB(TransparentColor())));
    } else {
        StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, 0, 0, W, H, Canvas->CopyMode());
    }
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    int64_t Start = Stream ? Stream->Position() : 0;
    std::vector<uint8_t> Data = gdi::ReadRest(Stream);
    gdi::TBmpImage Img = gdi::ReadBmp(Data.data(), Data.size());
    Stream->SetPosition(Start + int64_t(Img.Consumed));
    TakeImage(*Img.Surface, Img.Format);
}

void TBitmap::TakeImage(const TSurface& Img, TPixelFormat Format)
{
    HBITMAP H;
    PSurface S = NewDIB(Img.Width(), Img.Height(), Img.BitsPerPixel(), H);
    std::memcpy(S->Bits(), Img.Bits(), S->SizeBytes());
    FPixelFormat = Format;
    FWidth = S->Width();
    FHeight = S->Height();
    SetSurface(S, H);
    Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphic("No stream to write the picture to");
    if (!FSurface) return;   // an empty bitmap writes nothing
    std::vector<uint8_t> V = gdi::WriteBmp(*FSurface, FPixelFormat);
    Stream->WriteBuffer(V.data(), int64_t(V.size()));
}

void TBitmap::LoadFromResourceName(uintptr_t, const String& ResName)
{
    std::vector<uint8_t> Data;
    if (!FindResourceData(ResName, Data)) throw EResNotFound("Resource " + ResName + " not found");
    if (gdi::IsPng(Data.data(), Data.size())) {
        TPngImage Png;
        TMemoryStream M;
        M.WriteBuffer(Data.data(), int64_t(Data.size()));
        M.SetPosition(0);
        Png.LoadFromStream(&M);
        Assign(&Png);
        return;
    }
    bool Bare = !(Data.size() >= 2 && Data[0] == 'B' && Data[1] == 'M');
    gdi::TBmpImage Img = gdi::ReadBmp(Data.data(), Data.size(), Bare);
    TakeImage(*Img.Surface, Img.Format);
}
