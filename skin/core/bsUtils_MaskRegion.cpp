// Window regions from skin masks: the black pixels of a mask picture, cut into the four
// border strips of a resized control or window.
#include "skin/core/bsEffects.h"
#include "skin/core/bsUtils_Pieces.h"

#include <cstring>

// ---- TbsFBitmap ---------------------------------------------------------------------------

TbsFBitmap::TbsFBitmap(HBITMAP HBmp)
{
    BITMAP bm;
    if (!HBmp || !GetObject(HBmp, int(sizeof(bm)), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
        throw EInvalidGraphic("Invalid mask bitmap");
    Width = bm.bmWidth;
    Height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    void* bits = nullptr;
    Handle = CreateTopDownDIB(Width, Height, 24, bmInfo, bits);
    bmHeader = bmInfo.bmiHeader;
    Bits = static_cast<uint8_t*>(bits);
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    hDC = CreateCompatibleDC(nullptr);
    SelectObject(hDC, Handle);
    HDC screen = CreateScreenDC();
    GetDIBits(screen, HBmp, 0, UINT(Height), Bits, &bmInfo, DIB_RGB_COLORS);
    DeleteDC(screen);
    Pixels.resize(size_t(Height));
    for (int y = 0; y < Height; ++y) Pixels[size_t(y)] = Bits + size_t(y) * RowInc;
}

TbsFBitmap::~TbsFBitmap()
{
    if (hDC) DeleteDC(hDC);
    if (Handle) DeleteObject(Handle);
}

// ---- Regions from masks -------------------------------------------------------------------

int CreateRgnDataFromMask(TBitmap* Mask, int X, int Y, std::vector<uint8_t>& RgnData)
{
    RgnData.clear();
    if (!Mask || Mask->Empty()) return 0;
    TbsFBitmap fb(Mask->Handle());
    // Runs of black pixels, row by row; the list grows as far as the mask needs.
    std::vector<RECT> rects;
    for (int y = 0; y < fb.Height; ++y) {
        const uint8_t* row = fb.Pixels[size_t(y)];
        int x = 0;
        while (x < fb.Width) {
            while (x < fb.Width && (row[x * 3] | row[x * 3 + 1] | row[x * 3 + 2]) != 0) ++x;
            if (x >= fb.Width) break;
            const int x1 = x;
            while (x < fb.Width && (row[x * 3] | row[x * 3 + 1] | row[x * 3 + 2]) == 0) ++x;
            rects.push_back(RECT(x1 + X, y + Y, x + X, y + Y + 1));
        }
    }
    RGNDATAHEADER h;
    h.dwSize = 32;
    h.iType = RDH_RECTANGLES;
    h.nCount = DWORD(rects.size());
    h.nRgnSize = 0;
    h.rcBound = RECT(X, Y, X + Mask->Width(), Y + Mask->Height());
    static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == 16);
    RgnData.assign(32 + 16 * rects.size(), 0);
    std::memcpy(RgnData.data(), static_cast<const void*>(&h), 32);
    if (!rects.empty()) std::memcpy(RgnData.data() + 32, static_cast<const void*>(rects.data()), 16 * rects.size());
    return int(RgnData.size());
}

void CreateRgnFromMask(HRGN& Rgn, TBitmap* Mask)
{
    Rgn = nullptr;
    std::vector<uint8_t> data;
    const int size = CreateRgnDataFromMask(Mask, 0, 0, data);
    if (size == 0) return;
    Rgn = ExtCreateRegion(nullptr, DWORD(size), reinterpret_cast<const RGNDATA*>(data.data()));
}


void CreateSkinBorderMasks(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl, TPoint NewLT, TPoint NewRT,
                           TPoint NewLB, TPoint NewRB, TRect NewCl, TBitmap* Mask, TBitmap* RMTop, TBitmap* RMLeft,
                           TBitmap* RMRight, TBitmap* RMBottom, int NewW, int)
{
    if (!Mask || Mask->Empty()) return;
    const int mw = Mask->Width(), mh = Mask->Height();
    const int sideH = NewCl.Height();
    // Left and right strips: the middle tiled from the top, the pieces above and below the
    // corner points copied over its ends.  A strip without size is emptied (at caption
    // height the sides have none), so that no strip of an earlier size is left behind.
    auto side = [&](TBitmap* S, int Left, int Right, TPoint A, TPoint Bp) {
        const int w = Right - Left;
        if (!S) return;
        if (w <= 0 || sideH <= 0) return S->SetSize(0, 0);
        S->SetSize(w, sideH);
        if (Bp.Y != A.Y) TilePiece(S, TRect(0, 0, w, sideH), Mask, TRect(Left, A.Y, Right, Bp.Y), false);
        CopyPiece(S, TRect(0, 0, w, A.Y - Cl.Top), Mask, TRect(Left, Cl.Top, Right, A.Y));
        CopyPiece(S, TRect(0, sideH - (Cl.Bottom - Bp.Y), w, sideH), Mask, TRect(Left, Bp.Y, Right, Cl.Bottom));
    };
    side(RMLeft, 0, Cl.Left, LT, LB);
    side(RMRight, Cl.Right, mw, RT, RB);
    // Top and bottom strips: the middle tiled from the new left corner, cut at the new
    // right corner; the ends copied.
    auto band = [&](TBitmap* S, int Top, int Bottom, TPoint A, TPoint Bp, TPoint NewA, TPoint NewB) {
        const int h = Bottom - Top;
        if (!S) return;
        if (NewW <= 0 || h <= 0) return S->SetSize(0, 0);
        S->SetSize(NewW, h);
        if (Bp.X != A.X) TilePiece(S, TRect(NewA.X, 0, NewB.X, h), Mask, TRect(A.X, Top, Bp.X, Bottom), true);
        CopyPiece(S, TRect(0, 0, A.X, h), Mask, TRect(0, Top, A.X, Bottom));
        CopyPiece(S, TRect(NewB.X, 0, NewW, h), Mask, TRect(Bp.X, Top, mw, Bottom));
    };
    band(RMTop, 0, Cl.Top, LT, RT, NewLT, NewRT);
    band(RMBottom, Cl.Bottom, mh, LB, RB, NewLB, NewRB);
}

void CreateSkinRegion(HRGN& Rgn, TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl, TPoint NewLT, TPoint NewRT,
                      TPoint NewLB, TPoint NewRB, TRect NewCl, TBitmap* Mask, int NewW, int NewH)
{
    Rgn = nullptr;
    if (NewRT.X < NewLT.X || NewLB.Y < NewLT.Y) return;
    TBitmap top, left, right, bottom;
    CreateSkinBorderMasks(LT, RT, LB, RB, Cl, NewLT, NewRT, NewLB, NewRB, NewCl, Mask, &top, &left, &right, &bottom,
                          NewW, NewH);
    if (NewCl.IsEmpty()) return;
    Rgn = CreateRectRgn(NewCl.Left, NewCl.Top, NewCl.Right, NewCl.Bottom);
    auto add = [&Rgn](TBitmap* Strip, int X, int Y) {
        if (Strip->Empty()) return;
        std::vector<uint8_t> data;
        const int size = CreateRgnDataFromMask(Strip, X, Y, data);
        if (size == 0) return;
        HRGN part = ExtCreateRegion(nullptr, DWORD(size), reinterpret_cast<const RGNDATA*>(data.data()));
        if (!part) return;
        CombineRgn(Rgn, Rgn, part, RGN_OR);
        DeleteObject(part);
    };
    add(&top, 0, 0);
    add(&bottom, 0, NewCl.Bottom);
    add(&left, 0, NewCl.Top);
    add(&right, NewCl.Right, NewCl.Top);
}
