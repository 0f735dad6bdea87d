// Icons: handles over 32-bit pixels with alpha, the standard icons, scaling, drawing,
// and the icon picture class.
#include <cstring>
#include <map>
#include <mutex>

#include "platform/graphics/Codecs.h"
#include "platform/graphics/GdiInternal.h"

namespace {

std::shared_ptr<TIconData> LookupIcon(HICON H) { return Lookup<TIconData>(H, 0x1000); }

// Area-averaged scaling with premultiplied alpha, so that transparent pixels do not
// bleed their colour into the edges.
PSurface Scale(const TSurface& S, int W, int H)
{
    auto D = std::make_shared<TSurface>(W, H, 32);
    int SW = S.Width(), SH = S.Height();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int X0 = x * SW / W, X1 = std::max(X0 + 1, (x + 1) * SW / W);
            int Y0 = y * SH / H, Y1 = std::max(Y0 + 1, (y + 1) * SH / H);
            uint64_t A = 0, R = 0, G = 0, B = 0, N = 0;
            for (int v = Y0; v < Y1; ++v)
                for (int u = X0; u < X1; ++u) {
                    uint32_t P = S.GetPixel(u, v);
                    uint32_t a = P >> 24;
                    A += a;
                    R += ((P >> 16) & 0xFF) * a;
                    G += ((P >> 8) & 0xFF) * a;
                    B += (P & 0xFF) * a;
                    ++N;
                }
            uint32_t Out = 0;
            if (A) {
                uint32_t a = uint32_t((A + N / 2) / N);
                Out = (a << 24) | (uint32_t((R + A / 2) / A) << 16) | (uint32_t((G + A / 2) / A) << 8) | uint32_t((B + A / 2) / A);
            }
            D->SetPixel(x, y, Out);
        }
    return D;
}

// The standard icons, drawn on a 32 x 32 surface.
PSurface DrawStandardIcon(int Id)
{
    const uint32_t Key = 0x00FF00FF;
    auto S = std::make_shared<TSurface>(32, 32, 32);
    S->Fill(Key);
    HDC DC = CreateSurfaceDC(S, {0, 0}, TRegion(S->Bounds()));
    auto Brush = [&](COLORREF C) { return SelectObject(DC, CreateSolidBrush(C)); };
    auto Pen = [&](COLORREF C, int W) { return SelectObject(DC, CreatePen(PS_SOLID, W, C)); };
    HGDIOBJ OldBrush = nullptr, OldPen = nullptr;
    const char* Glyph = nullptr;
    COLORREF GlyphColor = RGB(255, 255, 255);
    switch (Id) {
    case IDI_HAND:
        OldBrush = Brush(RGB(214, 48, 49));
        OldPen = Pen(RGB(160, 30, 30), 1);
        Ellipse(DC, 1, 1, 31, 31);
        DeleteObject(SelectObject(DC, CreatePen(PS_SOLID, 3, RGB(255, 255, 255))));
        MoveToEx(DC, 10, 10, nullptr);
        LineTo(DC, 22, 22);
        MoveToEx(DC, 21, 10, nullptr);
        LineTo(DC, 9, 22);
        break;
    case IDI_EXCLAMATION: {
        OldBrush = Brush(RGB(250, 200, 40));
        OldPen = Pen(RGB(170, 130, 20), 1);
        POINT Tri[] = {{16, 1}, {31, 29}, {1, 29}};
        Polygon(DC, Tri, 3);
        Glyph = "!";
        GlyphColor = RGB(0, 0, 0);
        break;
    }
    case IDI_QUESTION:
    case IDI_ASTERISK:
        OldBrush = Brush(RGB(42, 110, 200));
        OldPen = Pen(RGB(25, 70, 140), 1);
        Ellipse(DC, 1, 1, 31, 31);
        Glyph = Id == IDI_QUESTION ? "?" : "i";
        break;
    default:   // the application: a small window
        OldBrush = Brush(RGB(255, 255, 255));
        OldPen = Pen(RGB(60, 60, 60), 1);
        Rectangle(DC, 2, 4, 30, 28);
        DeleteObject(SelectObject(DC, CreateSolidBrush(RGB(42, 110, 200))));
        Rectangle(DC, 2, 4, 30, 10);
        break;
    }
    if (Glyph) {
        LOGFONT Lf;
        Lf.lfHeight = -22;
        Lf.lfWeight = FW_BOLD;
        std::strcpy(Lf.lfFaceName, "DejaVu Sans");
        HFONT F = CreateFontIndirect(&Lf);
        HGDIOBJ OldFont = SelectObject(DC, F);
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, GlyphColor);
        RECT R{0, Id == IDI_EXCLAMATION ? 6 : 1, 32, 32};
        DrawText(DC, Glyph, -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(DC, OldFont);
        DeleteObject(F);
    }
    DeleteObject(SelectObject(DC, OldBrush));
    DeleteObject(SelectObject(DC, OldPen));
    DeleteDC(DC);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint32_t P = S->GetPixel(x, y) & 0xFFFFFF;
            S->SetPixel(x, y, P == (Key & 0xFFFFFF) ? 0 : (P | 0xFF000000u));
        }
    return S;
}

HBITMAP SurfaceBitmap(const TSurface& S)
{
    BITMAPINFO Bi{};
    Bi.bmiHeader.biWidth = S.Width();
    Bi.bmiHeader.biHeight = -S.Height();
    Bi.bmiHeader.biBitCount = 32;
    void* Bits;
    HBITMAP B = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (B) std::memcpy(Bits, S.Bits(), S.SizeBytes());
    return B;
}

}  // namespace

HICON CreateIconFromSurface(const TSurface& Pixels, bool Cursor, TPoint Hotspot)
{
    auto I = std::make_shared<TIconData>();
    I->Pixels = std::make_shared<TSurface>(Pixels.Width(), Pixels.Height(), 32);
    for (int y = 0; y < Pixels.Height(); ++y)
        for (int x = 0; x < Pixels.Width(); ++x) I->Pixels->SetPixel(x, y, Pixels.GetPixel(x, y));
    I->Cursor = Cursor;
    I->Hotspot = Hotspot;
    return static_cast<HICON>(RegisterGdiObject(I));
}

PSurface GetIconSurface(HICON Icon)
{
    auto I = LookupIcon(Icon);
    return I ? I->Pixels : nullptr;
}

HICON LoadIcon(uintptr_t Instance, int Id)
{
    if (Instance != 0 || Id < IDI_APPLICATION || Id > IDI_INFORMATION) return nullptr;
    // Standard icons are shared and live for ever, as the system's do.
    static std::mutex M;
    static std::map<int, HICON> Loaded;
    std::lock_guard<std::mutex> L(M);
    HICON& H = Loaded[Id];
    if (!H) {
        PSurface S;
        std::vector<uint8_t> Data;
        if (FindResourceData("IDI_" + std::to_string(Id), Data) && gdi::IsPng(Data.data(), Data.size())) {
            try {
                TPngImage Png;
                TMemoryStream Ms;
                Ms.WriteBuffer(Data.data(), int64_t(Data.size()));
                Ms.SetPosition(0);
                Png.LoadFromStream(&Ms);
                TBitmap B;
                B.Assign(&Png);
                B.SetPixelFormat(pf32bit);
                S = B.Surface();
            } catch (const Exception&) {
                S = nullptr;
            }
        }
        if (!S) S = DrawStandardIcon(Id);
        auto I = std::make_shared<TIconData>();
        I->Pixels = S;
        H = static_cast<HICON>(RegisterStockObject(I));
    }
    return H;
}

HICON CopyIcon(HICON Icon)
{
    auto I = LookupIcon(Icon);
    return I ? CreateIconFromSurface(*I->Pixels, I->Cursor, I->Hotspot) : nullptr;
}

HICON CopyImage(HICON Image, UINT Type, int Cx, int Cy, UINT Flags)
{
    auto I = LookupIcon(Image);
    if (!I || (Type != IMAGE_ICON && Type != IMAGE_CURSOR) || Cx < 0 || Cy < 0) return nullptr;
    int W = Cx ? Cx : I->Pixels->Width(), H = Cy ? Cy : I->Pixels->Height();
    PSurface S = (W == I->Pixels->Width() && H == I->Pixels->Height()) ? I->Pixels : Scale(*I->Pixels, W, H);
    HICON R = CreateIconFromSurface(*S, I->Cursor, I->Hotspot);
    if (Flags & LR_COPYDELETEORG) DestroyIcon(Image);
    return R;
}

BOOL DestroyIcon(HICON Icon)
{
    if (!LookupIcon(Icon)) return FALSE;
    UnregisterGdiObject(Icon);   // stock icons stay
    return TRUE;
}

BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int Cx, int Cy, UINT, HBRUSH Flicker, UINT Flags)
{
    auto I = LookupIcon(Icon);
    if (!I || !IsValidDC(DC)) return FALSE;
    const TSurface& P = *I->Pixels;
    int W = Cx > 0 ? Cx : P.Width(), H = Cy > 0 ? Cy : P.Height();
    if (Flicker) {
        RECT R{X, Y, X + W, Y + H};
        FillRect(DC, &R, Flicker);
    }
    // Premultiplied copy for the blend.
    auto Pm = std::make_shared<TSurface>(P.Width(), P.Height(), 32);
    for (int y = 0; y < P.Height(); ++y)
        for (int x = 0; x < P.Width(); ++x) {
            uint32_t C = P.GetPixel(x, y), A = C >> 24;
            if ((Flags & DI_NORMAL) == DI_IMAGE) A = 255;   // the image without its mask
            auto M = [&](int Sh) { return ((((C >> Sh) & 0xFF) * A + 127) / 255) << Sh; };
            Pm->SetPixel(x, y, (A << 24) | M(16) | M(8) | M(0));
        }
    HDC Src = CreateSurfaceDC(Pm, {0, 0}, TRegion(Pm->Bounds()));
    BLENDFUNCTION Bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL Ok = AlphaBlend(DC, X, Y, W, H, Src, 0, 0, P.Width(), P.Height(), Bf);
    DeleteDC(Src);
    return Ok;
}

BOOL DrawIcon(HDC DC, int X, int Y, HICON Icon) { return DrawIconEx(DC, X, Y, Icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL GetIconInfo(HICON Icon, ICONINFO* Info)
{
    auto I = LookupIcon(Icon);
    if (!I || !Info) return FALSE;
    const TSurface& P = *I->Pixels;
    Info->fIcon = !I->Cursor;
    Info->xHotspot = DWORD(I->Cursor ? I->Hotspot.X : P.Width() / 2);
    Info->yHotspot = DWORD(I->Cursor ? I->Hotspot.Y : P.Height() / 2);
    Info->hbmColor = SurfaceBitmap(P);
    std::vector<uint8_t> Mask(size_t((P.Width() + 15) / 16 * 2) * P.Height(), 0);
    int Bpr = (P.Width() + 15) / 16 * 2;
    for (int y = 0; y < P.Height(); ++y)
        for (int x = 0; x < P.Width(); ++x)
            if ((P.GetPixel(x, y) >> 24) < 128) Mask[size_t(y) * Bpr + x / 8] |= uint8_t(0x80 >> (x % 8));
    Info->hbmMask = CreateBitmap(P.Width(), P.Height(), 1, 1, Mask.data());
    return Info->hbmColor && Info->hbmMask;
}

HICON CreateIconIndirect(const ICONINFO* Info)
{
    if (!Info) return nullptr;
    PSurface C = GetBitmapSurface(Info->hbmColor), M = GetBitmapSurface(Info->hbmMask);
    if (!C && !M) return nullptr;
    const TSurface& Base = C ? *C : *M;
    TSurface Out(Base.Width(), Base.Height(), 32);
    bool AnyAlpha = false;
    if (C && C->BitsPerPixel() == 32)
        for (int y = 0; y < C->Height() && !AnyAlpha; ++y)
            for (int x = 0; x < C->Width(); ++x)
                if (C->GetPixel(x, y) >> 24) { AnyAlpha = true; break; }
    for (int y = 0; y < Out.Height(); ++y)
        for (int x = 0; x < Out.Width(); ++x) {
            uint32_t P = C ? C->GetPixel(x, y) : 0;
            uint32_t A;
            if (AnyAlpha) A = P >> 24;
            else A = (M && (M->GetPixel(x, y) & 0xFFFFFF)) ? 0 : 255;
            Out.SetPixel(x, y, (A << 24) | (P & 0xFFFFFF));
        }
    return CreateIconFromSurface(Out, !Info->fIcon, {int(Info->xHotspot), int(Info->yHotspot)});
}

// ---- TIcon ----------------------------------------------------------------------------------

TIcon::~TIcon()
{
    if (FHandle) DestroyIcon(FHandle);
}

int TIcon::Width() const
{
    PSurface S = GetIconSurface(FHandle);
    return S ? S->Width() : 0;
}

int TIcon::Height() const
{
    PSurface S = GetIconSurface(FHandle);
    return S ? S->Height() : 0;
}

void TIcon::SetHandle(HICON H)
{
    if (H == FHandle) return;
    if (FHandle) DestroyIcon(FHandle);
    FHandle = H;
    Changed(this);
}

HICON TIcon::ReleaseHandle()
{
    HICON H = FHandle;
    FHandle = nullptr;
    return H;
}

void TIcon::Assign(TPersistent* Source)
{
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    if (auto* I = dynamic_cast<TIcon*>(Source)) {
        if (I != this) SetHandle(I->FHandle ? CopyIcon(I->FHandle) : nullptr);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        if (B->Empty()) {
            SetHandle(nullptr);
            return;
        }
        TBitmap C;
        C.Assign(B);
        C.SetPixelFormat(pf32bit);
        bool AnyAlpha = false;
        PSurface S = C.Surface();
        for (int y = 0; y < S->Height() && !AnyAlpha; ++y)
            for (int x = 0; x < S->Width(); ++x) AnyAlpha |= (S->GetPixel(x, y) >> 24) != 0;
        uint32_t Key = B->Transparent() ? gdi::PixelOf(COLORREF(ColorToRGB(B->TransparentColor()))) : 0xFFFFFFFF;
        for (int y = 0; y < S->Height(); ++y)
            for (int x = 0; x < S->Width(); ++x) {
                uint32_t P = S->GetPixel(x, y);
                if (!AnyAlpha) P |= 0xFF000000u;
                if ((P & 0xFFFFFF) == Key) P = 0;
                S->SetPixel(x, y, P);
            }
        SetHandle(CreateIconFromSurface(*S));
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::LoadFromStream(TStream* Stream)
{
    TPngImage Png;
    Png.LoadFromStream(Stream);
    TBitmap B;
    B.Assign(&Png);
    B.SetPixelFormat(pf32bit);
    PSurface S = B.Surface();
    if (Png.TransparencyMode() != ptmPartial)
        for (int y = 0; y < S->Height(); ++y)
            for (int x = 0; x < S->Width(); ++x) {
                uint32_t P = S->GetPixel(x, y) & 0xFFFFFF;
                bool Clear = Png.TransparencyMode() == ptmBit && P == gdi::PixelOf(COLORREF(Png.TransparentColor()));
                S->SetPixel(x, y, Clear ? 0 : P | 0xFF000000u);
            }
    SetHandle(CreateIconFromSurface(*S));
}

void TIcon::SaveToStream(TStream* Stream)
{
    PSurface S = GetIconSurface(FHandle);
    if (!S) throw EInvalidGraphic("Cannot save an empty icon");
    TPngImage Png(COLOR_RGBALPHA, S->Width(), S->Height());
    for (int y = 0; y < S->Height(); ++y)
        for (int x = 0; x < S->Width(); ++x) {
            uint32_t P = S->GetPixel(x, y);
            Png.SetPixels(x, y, TColor(gdi::ColorRefOf(P & 0xFFFFFF)));
            Png.AlphaScanline(y)[x] = uint8_t(P >> 24);
        }
    Png.SaveToStream(Stream);
}

void TIcon::Draw(TCanvas* Canvas, const TRect& R)
{
    if (!FHandle) return;
    DrawIconEx(Canvas->Handle(), R.Left, R.Top, FHandle, R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
}
