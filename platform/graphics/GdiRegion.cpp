// Region handles.
#include <algorithm>
#include <cstring>

#include "platform/graphics/GdiInternal.h"

namespace {

int KindOf(const TRegion& R) { return R.IsEmpty() ? NULLREGION : R.IsRect() ? SIMPLEREGION : COMPLEXREGION; }

TRect Normalised(int L, int T, int R, int B)
{
    return {std::min(L, R), std::min(T, B), std::max(L, R), std::max(T, B)};
}

}  // namespace

HRGN CreateRegionHandle(const TRegion& R)
{
    auto D = std::make_shared<TRegionData>();
    D->Region = R;
    return static_cast<HRGN>(RegisterGdiObject(D));
}

const TRegion* GetRegionOf(HRGN Rgn)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    // The handle table keeps the object alive while the handle is live.
    return R ? &R->Region : nullptr;
}

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    return CreateRegionHandle(TRegion(Normalised(Left, Top, Right, Bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* R)
{
    return R ? CreateRectRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN ExtCreateRegion(const XFORM* Transform, DWORD Size, const RGNDATA* Data)
{
    if (Transform || !Data || Size < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER H;
    std::memcpy(static_cast<void*>(&H), static_cast<const void*>(Data), sizeof H);
    if (H.dwSize != sizeof(RGNDATAHEADER) || H.iType != RDH_RECTANGLES) return nullptr;
    // Any count is accepted, as long as the rectangles lie within the given size.
    if (uint64_t(H.nCount) * sizeof(RECT) > uint64_t(Size) - sizeof(RGNDATAHEADER)) return nullptr;
    std::vector<TRect> Rects(H.nCount);
    if (H.nCount) std::memcpy(Rects.data(), reinterpret_cast<const char*>(Data) + sizeof(RGNDATAHEADER), H.nCount * sizeof(RECT));
    for (TRect& R : Rects) R = Normalised(R.Left, R.Top, R.Right, R.Bottom);
    return CreateRegionHandle(TRegion::FromRects(Rects));
}

BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!R) return FALSE;
    R->Region = TRegion(Normalised(Left, Top, Right, Bottom));
    return TRUE;
}

int CombineRgn(HRGN Dst, HRGN Src1, HRGN Src2, int Mode)
{
    auto D = Lookup<TRegionData>(Dst, OBJ_REGION);
    auto A = Lookup<TRegionData>(Src1, OBJ_REGION);
    if (!D || !A) return RGN_ERROR;
    if (Mode == RGN_COPY) {
        D->Region = A->Region;
        return KindOf(D->Region);
    }
    auto B = Lookup<TRegionData>(Src2, OBJ_REGION);
    if (!B) return RGN_ERROR;
    TRegion::TOp Op;
    switch (Mode) {
    case RGN_AND: Op = TRegion::TOp::And; break;
    case RGN_OR: Op = TRegion::TOp::Or; break;
    case RGN_XOR: Op = TRegion::TOp::Xor; break;
    case RGN_DIFF: Op = TRegion::TOp::Diff; break;
    default: return RGN_ERROR;
    }
    D->Region = TRegion::Combine(A->Region, B->Region, Op);
    return KindOf(D->Region);
}

int OffsetRgn(HRGN Rgn, int DX, int DY)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!R) return RGN_ERROR;
    R->Region.Offset(DX, DY);
    return KindOf(R->Region);
}

BOOL PtInRegion(HRGN Rgn, int X, int Y)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    return R && R->Region.Contains(X, Y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN Rgn, const RECT* Q)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!R || !Q) return FALSE;
    return R->Region.Intersects(Normalised(Q->Left, Q->Top, Q->Right, Q->Bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN A, HRGN B)
{
    auto Ra = Lookup<TRegionData>(A, OBJ_REGION);
    auto Rb = Lookup<TRegionData>(B, OBJ_REGION);
    if (!Ra || !Rb) return FALSE;
    return Ra->Region == Rb->Region ? TRUE : FALSE;
}

int GetRgnBox(HRGN Rgn, RECT* Box)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!R || !Box) return RGN_ERROR;
    *Box = R->Region.Bounds();
    return KindOf(R->Region);
}

DWORD GetRegionData(HRGN Rgn, DWORD Size, RGNDATA* Data)
{
    auto R = Lookup<TRegionData>(Rgn, OBJ_REGION);
    if (!R) return 0;
    const auto& Rects = R->Region.Rects();
    DWORD Need = DWORD(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(RECT));
    if (!Data || Size < Need) return Need;
    RGNDATAHEADER H;
    H.nCount = DWORD(Rects.size());
    H.nRgnSize = DWORD(Rects.size() * sizeof(RECT));
    H.rcBound = R->Region.Bounds();
    std::memcpy(static_cast<void*>(Data), static_cast<const void*>(&H), sizeof H);
    if (!Rects.empty()) std::memcpy(reinterpret_cast<char*>(Data) + sizeof H, Rects.data(), Rects.size() * sizeof(RECT));
    return Need;
}
