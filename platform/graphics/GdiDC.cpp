// Device contexts: creation, selected objects, saved states, origins and clipping.
#include <algorithm>
#include <cctype>
#include <mutex>
#include <string>

#include "platform/graphics/GdiInternal.h"

namespace {

std::shared_ptr<TDCData> NewDC(TDCData::TType Type)
{
    auto D = std::make_shared<TDCData>();
    D->Type = Type;
    D->S.Pen = StockPen(BLACK_PEN);
    D->S.Brush = StockBrush(WHITE_BRUSH);
    D->S.Font = StockFont();
    return D;
}

std::mutex& ScreenLock()
{
    static std::mutex M;
    return M;
}

std::function<PSurface()>& ScreenProvider()
{
    static auto* P = new std::function<PSurface()>();
    return *P;
}

// Region in device coordinates of a logical rectangle.
TRegion DeviceRectRegion(const TDCData& D, int L, int T, int R, int B)
{
    TPoint A = D.LogicalToDevice(L, T), Z = D.LogicalToDevice(R, B);
    return TRegion(TRect(std::min(A.X, Z.X), std::min(A.Y, Z.Y), std::max(A.X, Z.X), std::max(A.Y, Z.Y)));
}

int RegionKind(const TRegion& R)
{
    return R.IsEmpty() ? NULLREGION : R.IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

// The whole device area, used when a clip call starts from "no clip".
TRegion DeviceArea(TDCData& D)
{
    PSurface S = D.Surface();
    TRegion All = S ? TRegion(S->Bounds()) : TRegion();
    if (D.Visible) All &= *D.Visible;
    All.Offset(-D.Origin.X, -D.Origin.Y);
    return All;
}

// The memory DC's default bitmap: a 1 x 1 placeholder without pixels.
const std::shared_ptr<TBitmapData>& DefaultBitmap()
{
    static auto Default = [] {
        auto B = std::make_shared<TBitmapData>();
        B->ReportedBpp = 1;
        RegisterStockObject(B);
        return B;
    }();
    return Default;
}

}  // namespace

PSurface TDCData::Surface() const
{
    if (Type != TType::Memory) return FixedSurface;
    return S.Bitmap ? S.Bitmap->Surface : nullptr;
}

const TRegion& TDCData::Clip()
{
    if (!ClipDirty) return ClipCache;
    PSurface Sf = Surface();
    TRegion C = Sf ? TRegion(Sf->Bounds()) : TRegion();
    if (Visible) C &= *Visible;
    if (S.ClipRgn) C &= S.ClipRgn->Offsetted(Origin.X, Origin.Y);
    ClipCache = std::move(C);
    ClipDirty = false;
    return ClipCache;
}

// ---- creation ------------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC)
{
    return static_cast<HDC>(RegisterGdiObject(NewDC(TDCData::TType::Memory)));
}

HDC CreateSurfaceDC(PSurface Surface, TPoint Origin, const TRegion& Visible, TSize DeviceSize)
{
    auto D = NewDC(TDCData::TType::Surface);
    D->FixedSurface = std::move(Surface);
    D->Origin = Origin;
    D->Visible = Visible;
    D->DeviceSize = DeviceSize;
    return static_cast<HDC>(RegisterGdiObject(D));
}

void SetScreenSurfaceProvider(std::function<PSurface()> Provider)
{
    std::lock_guard<std::mutex> L(ScreenLock());
    ScreenProvider() = std::move(Provider);
}

HDC CreateScreenDC()
{
    auto D = NewDC(TDCData::TType::Screen);
    {
        std::lock_guard<std::mutex> L(ScreenLock());
        if (ScreenProvider()) D->FixedSurface = ScreenProvider()();
    }
    return static_cast<HDC>(RegisterGdiObject(D));
}

HDC CreateDC(const char* Driver, const char*, const char*, const void*)
{
    if (!Driver) return nullptr;
    std::string N = Driver;
    for (char& c : N) c = char(toupper((unsigned char)c));
    if (N != "DISPLAY") return nullptr;
    return CreateScreenDC();
}

BOOL DeleteDC(HDC DC)
{
    if (!LookupDC(DC)) return FALSE;
    return UnregisterGdiObject(DC) ? TRUE : FALSE;
}

bool IsValidDC(HDC DC) { return LookupDC(DC) != nullptr; }

void SetSurfaceDCOrigin(HDC DC, TPoint Origin)
{
    if (auto D = LookupDC(DC)) {
        D->Origin = Origin;
        D->InvalidateClip();
    }
}

void SetSurfaceDCVisible(HDC DC, const TRegion& Visible)
{
    if (auto D = LookupDC(DC)) {
        D->Visible = Visible;
        D->InvalidateClip();
    }
}

PSurface GetDCSurface(HDC DC)
{
    auto D = LookupDC(DC);
    return D ? D->Surface() : nullptr;
}

TPoint GetDCSurfaceOrigin(HDC DC)
{
    auto D = LookupDC(DC);
    return D ? D->Origin : TPoint();
}

TRegion GetDCEffectiveClip(HDC DC)
{
    auto D = LookupDC(DC);
    return D ? D->Clip() : TRegion();
}

TPoint DCLogicalToDevice(HDC DC, TPoint P)
{
    auto D = LookupDC(DC);
    return D ? D->LogicalToDevice(P.X, P.Y) : P;
}

void SetDCUserData(HDC DC, void* Data)
{
    if (auto D = LookupDC(DC)) D->UserData = Data;
}

void* GetDCUserData(HDC DC)
{
    auto D = LookupDC(DC);
    return D ? D->UserData : nullptr;
}

int GetDeviceCaps(HDC DC, int Index)
{
    auto D = LookupDC(DC);
    if (!D) return 0;
    switch (Index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX: case LOGPIXELSY: return ScreenDPI;
    case HORZRES: { PSurface S = D->Surface(); return S ? S->Width() : 0; }
    case VERTRES: { PSurface S = D->Surface(); return S ? S->Height() : 0; }
    default: return 0;
    }
}

// ---- selected objects -------------------------------------------------------------------

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj)
{
    auto D = LookupDC(DC);
    PGdiObject O = LookupGdiObject(Obj);
    if (!D || !O) return nullptr;
    switch (O->Kind) {
    case OBJ_PEN: {
        HGDIOBJ Old = D->S.Pen.get();
        D->S.Pen = std::static_pointer_cast<TPenData>(O);
        return Old;
    }
    case OBJ_BRUSH: {
        HGDIOBJ Old = D->S.Brush.get();
        D->S.Brush = std::static_pointer_cast<TBrushData>(O);
        return Old;
    }
    case OBJ_FONT: {
        HGDIOBJ Old = D->S.Font.get();
        D->S.Font = std::static_pointer_cast<TFontData>(O);
        return Old;
    }
    case OBJ_BITMAP: {
        if (D->Type != TDCData::TType::Memory) return nullptr;
        HGDIOBJ Old = D->S.Bitmap ? static_cast<HGDIOBJ>(D->S.Bitmap.get()) : DefaultBitmap().get();
        auto B = std::static_pointer_cast<TBitmapData>(O);
        D->S.Bitmap = B->Surface ? B : nullptr;
        // Selecting a bitmap resets the clip to the new bitmap, as a memory DC's clip follows it.
        D->S.ClipRgn.reset();
        for (auto& St : D->Saved) St.Bitmap = D->S.Bitmap;
        D->InvalidateClip();
        return Old;
    }
    case OBJ_REGION: {
        int K = SelectClipRgn(DC, static_cast<HRGN>(Obj));
        return reinterpret_cast<HGDIOBJ>(intptr_t(K));
    }
    default:
        return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC DC, UINT Kind)
{
    auto D = LookupDC(DC);
    if (!D) return nullptr;
    switch (Kind) {
    case OBJ_PEN: return D->S.Pen.get();
    case OBJ_BRUSH: return D->S.Brush.get();
    case OBJ_FONT: return D->S.Font.get();
    case OBJ_BITMAP: return D->S.Bitmap ? D->S.Bitmap.get() : DefaultBitmap().get();
    default: return nullptr;
    }
}

// ---- saved states -------------------------------------------------------------------------

int SaveDC(HDC DC)
{
    auto D = LookupDC(DC);
    if (!D) return 0;
    D->Saved.push_back(D->S);
    return int(D->Saved.size());
}

BOOL RestoreDC(HDC DC, int Saved)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    int N = int(D->Saved.size());
    int Level = Saved < 0 ? N + 1 + Saved : Saved;
    if (Level < 1 || Level > N) return FALSE;
    D->S = D->Saved[Level - 1];
    D->Saved.resize(Level - 1);
    D->InvalidateClip();
    return TRUE;
}

// ---- origins --------------------------------------------------------------------------------

BOOL SetViewportOrgEx(HDC DC, int X, int Y, POINT* Old) { return SetDCPoint(DC, &TDCState::ViewportOrg, {X, Y}, Old); }
BOOL GetViewportOrgEx(HDC DC, POINT* P) { return GetDCPoint(DC, &TDCState::ViewportOrg, P); }

BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, POINT* Old)
{
    POINT Cur;
    if (!GetViewportOrgEx(DC, &Cur)) return FALSE;
    return SetViewportOrgEx(DC, Cur.X + DX, Cur.Y + DY, Old);
}

BOOL SetWindowOrgEx(HDC DC, int X, int Y, POINT* Old) { return SetDCPoint(DC, &TDCState::WindowOrg, {X, Y}, Old); }
BOOL GetWindowOrgEx(HDC DC, POINT* P) { return GetDCPoint(DC, &TDCState::WindowOrg, P); }

// ---- clipping --------------------------------------------------------------------------------

int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    auto D = LookupDC(DC);
    if (!D) return RGN_ERROR;
    TRegion R = DeviceRectRegion(*D, Left, Top, Right, Bottom);
    D->S.ClipRgn = D->S.ClipRgn ? (*D->S.ClipRgn & R) : R;
    D->InvalidateClip();
    return RegionKind(D->Clip());
}

int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    auto D = LookupDC(DC);
    if (!D) return RGN_ERROR;
    TRegion R = DeviceRectRegion(*D, Left, Top, Right, Bottom);
    D->S.ClipRgn = (D->S.ClipRgn ? *D->S.ClipRgn : DeviceArea(*D)) - R;
    D->InvalidateClip();
    return RegionKind(D->Clip());
}

int ExtSelectClipRgn(HDC DC, HRGN Rgn, int Mode)
{
    auto D = LookupDC(DC);
    if (!D) return RGN_ERROR;
    const TRegion* R = GetRegionOf(Rgn);
    if (!R) {
        if (Mode != RGN_COPY) return RGN_ERROR;
        D->S.ClipRgn.reset();
    } else {
        TRegion Cur = D->S.ClipRgn ? *D->S.ClipRgn : DeviceArea(*D);
        switch (Mode) {
        case RGN_COPY: D->S.ClipRgn = *R; break;
        case RGN_AND: D->S.ClipRgn = Cur & *R; break;
        case RGN_OR: D->S.ClipRgn = Cur | *R; break;
        case RGN_XOR: D->S.ClipRgn = Cur ^ *R; break;
        case RGN_DIFF: D->S.ClipRgn = Cur - *R; break;
        default: return RGN_ERROR;
        }
    }
    D->InvalidateClip();
    return RegionKind(D->Clip());
}

int SelectClipRgn(HDC DC, HRGN Rgn) { return ExtSelectClipRgn(DC, Rgn, RGN_COPY); }

int GetClipBox(HDC DC, RECT* R)
{
    auto D = LookupDC(DC);
    if (!D || !R) return RGN_ERROR;
    TRegion C = D->Clip();
    if (D->Type == TDCData::TType::Surface && D->DeviceSize.cx > 0 && D->DeviceSize.cy > 0)
        C &= TRegion(Bounds(D->Origin.X, D->Origin.Y, D->DeviceSize.cx, D->DeviceSize.cy));
    TRect B = C.Bounds();
    TPoint Shift = D->SurfaceShift();
    if (C.IsEmpty()) *R = TRect();
    else *R = TRect(B.Left - Shift.X, B.Top - Shift.Y, B.Right - Shift.X, B.Bottom - Shift.Y);
    return RegionKind(C);
}

int GetClipRgn(HDC DC, HRGN Rgn)
{
    auto D = LookupDC(DC);
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!D || !R) return -1;
    if (!D->S.ClipRgn) return 0;
    R->Region = *D->S.ClipRgn;
    return 1;
}

BOOL PtVisible(HDC DC, int X, int Y)
{
    auto D = LookupDC(DC);
    if (!D) return FALSE;
    return D->Clip().Contains(D->ToSurface(X, Y)) ? TRUE : FALSE;
}

// ---- colours and modes --------------------------------------------------------------------

#define DC_FIELD_ACCESS(SetName, GetName, Type, Field, Fail)  \
    Type SetName(HDC DC, Type V)                              \
    {                                                         \
        auto D = LookupDC(DC);                                \
        if (!D) return Fail;                                  \
        Type Old = D->S.Field;                                \
        D->S.Field = V;                                       \
        return Old;                                           \
    }                                                         \
    Type GetName(HDC DC)                                      \
    {                                                         \
        auto D = LookupDC(DC);                                \
        return D ? D->S.Field : Fail;                         \
    }

DC_FIELD_ACCESS(SetTextColor, GetTextColor, COLORREF, TextColor, CLR_INVALID)
DC_FIELD_ACCESS(SetBkColor, GetBkColor, COLORREF, BkColor, CLR_INVALID)
#undef DC_FIELD_ACCESS

namespace {

// Sets one integer mode of a DC when Valid accepts it; returns the old mode, 0 on failure.
template <class V>
int SetMode(HDC DC, int TDCState::*Field, int Mode, V&& Valid)
{
    auto D = LookupDC(DC);
    if (!D || !Valid(Mode)) return 0;
    int Old = D->S.*Field;
    D->S.*Field = Mode;
    return Old;
}

int GetMode(HDC DC, int TDCState::*Field)
{
    auto D = LookupDC(DC);
    return D ? D->S.*Field : 0;
}

}  // namespace

int SetBkMode(HDC DC, int Mode)
{
    return SetMode(DC, &TDCState::BkMode, Mode, [](int M) { return M == TRANSPARENT || M == OPAQUE; });
}

int GetBkMode(HDC DC) { return GetMode(DC, &TDCState::BkMode); }

int SetStretchBltMode(HDC DC, int Mode)
{
    return SetMode(DC, &TDCState::StretchMode, Mode, [](int M) { return M >= BLACKONWHITE && M <= HALFTONE; });
}

int GetStretchBltMode(HDC DC) { return GetMode(DC, &TDCState::StretchMode); }

int SetROP2(HDC DC, int Mode)
{
    return SetMode(DC, &TDCState::Rop2, Mode, [](int M) { return M == R2_COPYPEN || M == R2_NOT; });
}

int GetROP2(HDC DC) { return GetMode(DC, &TDCState::Rop2); }
