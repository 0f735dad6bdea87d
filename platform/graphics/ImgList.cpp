// Image lists and their handle calls.
#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "platform/graphics/GdiInternal.h"
#include "platform/graphics/ImgList.h"

struct TImageListData {
    int Cx = 16, Cy = 16;
    COLORREF Bk = CLR_NONE;
    std::vector<PSurface> Images;
};

namespace {

std::mutex& ListLock()
{
    static std::mutex M;
    return M;
}

std::unordered_set<TImageListData*>& Lists()
{
    static auto* S = new std::unordered_set<TImageListData*>();
    return *S;
}

TImageListData* Live(HIMAGELIST L)
{
    std::lock_guard<std::mutex> G(ListLock());
    return L && Lists().count(L) ? L : nullptr;
}

// Splits a strip into images of the list's size; Alpha decides each pixel's opacity.
template <class AlphaFn>
std::vector<PSurface> Cut(const TImageListData& L, const TSurface& Img, AlphaFn&& Alpha)
{
    std::vector<PSurface> Out;
    int N = std::max(1, Img.Width() / L.Cx);
    for (int k = 0; k < N; ++k) {
        auto S = std::make_shared<TSurface>(L.Cx, L.Cy, 32);
        for (int y = 0; y < L.Cy && y < Img.Height(); ++y)
            for (int x = 0; x < L.Cx && k * L.Cx + x < Img.Width(); ++x) {
                int Sx = k * L.Cx + x;
                uint32_t P = Img.GetPixel(Sx, y) & 0xFFFFFF;
                S->SetPixel(x, y, (uint32_t(Alpha(Sx, y)) << 24) | P);
            }
        Out.push_back(S);
    }
    return Out;
}

bool HasAlpha(const TSurface& S)
{
    if (S.BitsPerPixel() != 32) return false;
    for (int y = 0; y < S.Height(); ++y)
        for (int x = 0; x < S.Width(); ++x)
            if (S.GetPixel(x, y) >> 24) return true;
    return false;
}

int Append(TImageListData* L, std::vector<PSurface> New, int At = -1)
{
    if (New.empty()) return -1;
    int First = At < 0 ? int(L->Images.size()) : At;
    L->Images.insert(L->Images.begin() + First, New.begin(), New.end());
    return First;
}

std::vector<PSurface> FromBitmaps(TImageListData* L, HBITMAP Image, HBITMAP Mask)
{
    PSurface I = GetBitmapSurface(Image);
    if (!I) return {};
    PSurface M = GetBitmapSurface(Mask);
    bool A = !M && HasAlpha(*I);
    return Cut(*L, *I, [&](int x, int y) -> uint32_t {
        if (A) return I->GetPixel(x, y) >> 24;
        if (M) return (M->GetPixel(x, y) & 0xFFFFFF) ? 0 : 255;
        return 255;
    });
}

PSurface Grey(const TSurface& S)
{
    auto G = std::make_shared<TSurface>(S.Width(), S.Height(), 32);
    for (int y = 0; y < S.Height(); ++y)
        for (int x = 0; x < S.Width(); ++x) {
            uint32_t P = S.GetPixel(x, y);
            uint32_t L = (((P >> 16) & 0xFF) * 30 + ((P >> 8) & 0xFF) * 59 + (P & 0xFF) * 11) / 100;
            uint32_t V = 128 + L / 2;
            G->SetPixel(x, y, (P & 0xFF000000u) | (V << 16) | (V << 8) | V);
        }
    return G;
}

BOOL DrawImage(TImageListData* L, const TSurface& Img, HDC DC, int X, int Y, int Dx, int Dy, COLORREF Bk, UINT Style)
{
    if (!IsValidDC(DC)) return FALSE;
    int W = Dx > 0 ? std::min(Dx, L->Cx) : L->Cx, H = Dy > 0 ? std::min(Dy, L->Cy) : L->Cy;
    if (Bk == CLR_DEFAULT) Bk = L->Bk;
    if (Style & ILD_TRANSPARENT) Bk = CLR_NONE;
    if (Bk != CLR_NONE) {
        HBRUSH B = CreateSolidBrush(Bk);
        RECT R{X, Y, X + W, Y + H};
        FillRect(DC, &R, B);
        DeleteObject(B);
    }
    // Premultiplied copy; a 50 % blend halves the alpha.
    auto Pm = std::make_shared<TSurface>(Img.Width(), Img.Height(), 32);
    for (int y = 0; y < Img.Height(); ++y)
        for (int x = 0; x < Img.Width(); ++x) {
            uint32_t P = Img.GetPixel(x, y), A = P >> 24;
            if (Style & ILD_BLEND50) A /= 2;
            auto M = [&](int Sh) { return ((((P >> Sh) & 0xFF) * A + 127) / 255) << Sh; };
            Pm->SetPixel(x, y, (A << 24) | M(16) | M(8) | M(0));
        }
    HDC Src = CreateSurfaceDC(Pm, {0, 0}, TRegion(Pm->Bounds()));
    BLENDFUNCTION Bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL Ok = AlphaBlend(DC, X, Y, W, H, Src, 0, 0, W, H, Bf);
    DeleteDC(Src);
    return Ok;
}

}  // namespace

// ---- handle calls ------------------------------------------------------------------------------

HIMAGELIST ImageList_Create(int Cx, int Cy, UINT, int, int)
{
    if (Cx <= 0 || Cy <= 0 || Cx > 4096 || Cy > 4096) return nullptr;
    auto* L = new TImageListData();
    L->Cx = Cx;
    L->Cy = Cy;
    std::lock_guard<std::mutex> G(ListLock());
    Lists().insert(L);
    return L;
}

BOOL ImageList_Destroy(HIMAGELIST List)
{
    {
        std::lock_guard<std::mutex> G(ListLock());
        if (!List || !Lists().erase(List)) return FALSE;
    }
    delete List;
    return TRUE;
}

int ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask)
{
    TImageListData* L = Live(List);
    return L ? Append(L, FromBitmaps(L, Image, Mask)) : -1;
}

int ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor)
{
    TImageListData* L = Live(List);
    PSurface I = GetBitmapSurface(Image);
    if (!L || !I) return -1;
    uint32_t Key = gdi::PixelOf(MaskColor);
    return Append(L, Cut(*L, *I, [&](int x, int y) -> uint32_t { return (I->GetPixel(x, y) & 0xFFFFFF) == Key ? 0 : 255; }));
}

int ImageList_ReplaceIcon(HIMAGELIST List, int Index, HICON Icon)
{
    TImageListData* L = Live(List);
    PSurface S = GetIconSurface(Icon);
    if (!L || !S || Index < -1 || Index >= int(L->Images.size())) return -1;
    // The icon scaled to the list's size when it differs.
    HICON Sized = CopyImage(Icon, IMAGE_ICON, L->Cx, L->Cy, 0);
    PSurface P = GetIconSurface(Sized);
    auto Copy = std::make_shared<TSurface>(*P);
    DestroyIcon(Sized);
    if (Index < 0) return Append(L, {Copy});
    L->Images[size_t(Index)] = Copy;
    return Index;
}

BOOL ImageList_Remove(HIMAGELIST List, int Index)
{
    TImageListData* L = Live(List);
    if (!L) return FALSE;
    if (Index == -1) {
        L->Images.clear();
        return TRUE;
    }
    if (Index < 0 || Index >= int(L->Images.size())) return FALSE;
    L->Images.erase(L->Images.begin() + Index);
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT)
{
    PSurface S = ImageList_GetImageSurface(List, Index);
    return S ? CreateIconFromSurface(*S) : nullptr;
}

int ImageList_GetImageCount(HIMAGELIST List)
{
    TImageListData* L = Live(List);
    return L ? int(L->Images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy)
{
    TImageListData* L = Live(List);
    if (!L || !Cx || !Cy) return FALSE;
    *Cx = L->Cx;
    *Cy = L->Cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST List, int Cx, int Cy)
{
    TImageListData* L = Live(List);
    if (!L || Cx <= 0 || Cy <= 0 || Cx > 4096 || Cy > 4096) return FALSE;
    L->Cx = Cx;
    L->Cy = Cy;
    L->Images.clear();
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color)
{
    TImageListData* L = Live(List);
    if (!L) return CLR_NONE;
    COLORREF Old = L->Bk;
    L->Bk = Color;
    return Old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST List)
{
    TImageListData* L = Live(List);
    return L ? L->Bk : CLR_NONE;
}

PSurface ImageList_GetImageSurface(HIMAGELIST List, int Index)
{
    TImageListData* L = Live(List);
    if (!L || Index < 0 || Index >= int(L->Images.size())) return nullptr;
    return L->Images[size_t(Index)];
}

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC DC, int X, int Y, int Dx, int Dy, COLORREF Bk, COLORREF, UINT Style)
{
    TImageListData* L = Live(List);
    PSurface S = ImageList_GetImageSurface(List, Index);
    if (!L || !S) return FALSE;
    return DrawImage(L, *S, DC, X, Y, Dx, Dy, Bk, Style);
}

BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC DC, int X, int Y, UINT Style)
{
    return ImageList_DrawEx(List, Index, DC, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, Style);
}

// ---- TCustomImageList --------------------------------------------------------------------------

TCustomImageList::TCustomImageList(TComponent* AOwner) : TCustomImageList(AOwner, 16, 16) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner)
{
    FHandle = ImageList_Create(std::max(1, AWidth), std::max(1, AHeight), ILC_COLOR32 | ILC_MASK, 4, 4);
}

TCustomImageList::~TCustomImageList() { ImageList_Destroy(FHandle); }

int TCustomImageList::Width() const { return FHandle->Cx; }
int TCustomImageList::Height() const { return FHandle->Cy; }
int TCustomImageList::Count() const { return int(FHandle->Images.size()); }

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation("Invalid image size");
    if (AWidth == Width() && AHeight == Height()) return;
    ImageList_SetIconSize(FHandle, AWidth, AHeight);
    Change();
}

void TCustomImageList::SetWidth(int V) { SetSize(V, Height()); }
void TCustomImageList::SetHeight(int V) { SetSize(Width(), V); }

void TCustomImageList::SetBkColor(TColor V)
{
    FBkColor = V;
    ImageList_SetBkColor(FHandle, V == clNone ? CLR_NONE : COLORREF(ColorToRGB(V)));
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle V)
{
    FDrawingStyle = V;
    Change();
}

void TCustomImageList::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomImageList::CheckIndex(int Index, bool AllowEnd) const
{
    if (Index < 0 || Index > Count() || (!AllowEnd && Index == Count()))
        throw EInvalidOperation("Invalid image list index " + std::to_string(Index));
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image) return -1;
    int R = Append(FHandle, FromBitmaps(FHandle, Image->Handle(), Mask ? Mask->Handle() : nullptr));
    Change();
    return R;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image) return -1;
    if (MaskColor == clDefault) MaskColor = Image->TransparentColor();
    int R = ImageList_AddMasked(FHandle, Image->Handle(), COLORREF(ColorToRGB(MaskColor)));
    Change();
    return R;
}

int TCustomImageList::AddIcon(TIcon* Icon)
{
    if (!Icon || Icon->Empty()) return -1;
    int R = ImageList_AddIcon(FHandle, Icon->Handle());
    Change();
    return R;
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index, true);
    if (!Image) return;
    Append(FHandle, FromBitmaps(FHandle, Image->Handle(), Mask ? Mask->Handle() : nullptr), Index);
    Change();
}

void TCustomImageList::InsertIcon(int Index, TIcon* Icon)
{
    CheckIndex(Index, true);
    if (!Icon || Icon->Empty()) return;
    int At = ImageList_AddIcon(FHandle, Icon->Handle());
    if (At >= 0) Move(At, Index);
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!Image) return;
    std::vector<PSurface> New = FromBitmaps(FHandle, Image->Handle(), Mask ? Mask->Handle() : nullptr);
    if (!New.empty()) FHandle->Images[size_t(Index)] = New.front();
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    ImageList_Remove(FHandle, Index);
    Change();
}

void TCustomImageList::Clear()
{
    ImageList_Remove(FHandle, -1);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    PSurface S = FHandle->Images[size_t(CurIndex)];
    FHandle->Images.erase(FHandle->Images.begin() + CurIndex);
    FHandle->Images.insert(FHandle->Images.begin() + NewIndex, S);
    Change();
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image) return;
    PSurface S = ImageList_GetImageSurface(FHandle, Index);
    if (!S) return;
    Image->SetSize(0, 0);
    Image->SetPixelFormat(pf32bit);
    Image->SetSize(S->Width(), S->Height());
    std::copy(S->Bits(), S->Bits() + S->SizeBytes(), Image->Surface()->Bits());
}

void TCustomImageList::GetIcon(int Index, TIcon* Icon)
{
    if (!Icon) return;
    Icon->SetHandle(ImageList_GetIcon(FHandle, Index, ILD_NORMAL));
}

void TCustomImageList::Assign(TPersistent* Source)
{
    if (auto* L = dynamic_cast<TCustomImageList*>(Source)) {
        if (L == this) return;
        FHandle->Cx = L->FHandle->Cx;
        FHandle->Cy = L->FHandle->Cy;
        FHandle->Bk = L->FHandle->Bk;
        FHandle->Images = L->FHandle->Images;   // images are never changed in place
        FBkColor = L->FBkColor;
        FMasked = L->FMasked;
        FDrawingStyle = L->FDrawingStyle;
        Change();
        return;
    }
    TComponent::Assign(Source);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, FDrawingStyle, itImage, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, TImageType, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count()) return;
    UINT S = Style == dsTransparent ? ILD_TRANSPARENT : Style == dsSelected || Style == dsFocus ? ILD_BLEND50 : ILD_NORMAL;
    DoDraw(Index, Canvas, X, Y, S, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled)
{
    PSurface S = ImageList_GetImageSurface(FHandle, Index);
    if (!S) return;
    HDC DC = Canvas->Handle();
    if (Enabled) DrawImage(FHandle, *S, DC, X, Y, 0, 0, CLR_DEFAULT, Style);
    else DrawImage(FHandle, *Grey(*S), DC, X, Y, 0, 0, CLR_DEFAULT, Style);
}
