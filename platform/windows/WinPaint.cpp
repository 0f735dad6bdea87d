// The painting model: update regions per window, the paint order (parents before
// children, WM_NCPAINT then WM_ERASEBKGND then WM_PAINT), device contexts over the
// top-level back buffer clipped by the window tree, window regions and presenting.
#include <algorithm>
#include <cstring>

#include "platform/graphics/DeviceContext.h"
#include "platform/windows/Backend.h"
#include "platform/windows/WinPaint.h"
#include "platform/windows/WindowImpl.h"

using namespace winimpl;

namespace winimpl {

static TRect WindowRectInTop(TWindow* W)
{
    TPoint O = WindowOrigin(W);
    return Bounds(O.X, O.Y, W->Width(), W->Height());
}

static TRect ClientRectInTop(TWindow* W)
{
    TPoint O = WindowOrigin(W);
    return {O.X + W->Client.Left, O.Y + W->Client.Top, O.X + W->Client.Right, O.Y + W->Client.Bottom};
}

// The window's own shape (its rectangle cut by its region) in top-level coordinates.
static TRegion ShapeInTop(TWindow* W)
{
    TRect R = WindowRectInTop(W);
    TRegion Rg(R);
    if (W->Shape)
        if (const TRegion* S = GetRegionOf(W->Shape)) Rg &= S->Offsetted(R.Left, R.Top);
    return Rg;
}

TRegion VisibleRegion(TWindow* W, bool ClientOnly, bool ClipChildren)
{
    if (!IsVisibleChain(W)) return TRegion();
    TRegion V = ShapeInTop(W);
    if (ClientOnly) V &= TRegion(ClientRectInTop(W));
    if (ClipChildren)
        for (TWindow* C : W->Children)
            if (C->Visible()) {
                // a child shows only inside its parent's client area: its part over the
                // frame (a child reaching past the client edge) leaves the frame alone
                TRegion S = ShapeInTop(C);
                S &= TRegion(ClientRectInTop(W));
                V -= S;
            }
    for (TWindow* X = W; X->IsChild(); X = X->Parent) {
        TWindow* P = X->Parent;
        V &= TRegion(ClientRectInTop(P));
        V &= ShapeInTop(P);
        for (TWindow* S : P->Children) {
            if (S == X) break;  // siblings in front of X come first
            if (S->Visible()) V -= ShapeInTop(S);
        }
    }
    TWindow* T = TopOf(W);
    if (T->Buffer) V &= TRegion(T->Buffer->Bounds());
    return V;
}

static void MarkDirty(TWindow* T, const TRect& R)
{
    if (R.IsEmpty()) return;
    if (T->Dirty.IsEmpty()) T->Dirty = R;
    else
        T->Dirty = {std::min(T->Dirty.Left, R.Left), std::min(T->Dirty.Top, R.Top), std::max(T->Dirty.Right, R.Right),
                    std::max(T->Dirty.Bottom, R.Bottom)};
}

static void Present(TWindow* T)
{
    // a window waiting for its first frame shows nothing until FlushAll puts it whole
    if (T->Dirty.IsEmpty() || !T->Native || T->ShowPending) return;
    TRect D = T->Dirty;
    T->Dirty = {};
    Backend().Present(T, D);
}

// Runs when the messages waiting have been handled: what changed in the windows is shown,
// and the windows shown since go on the display, painted whole, once no paint waits: from
// the back to the front, each put in its place among those already there.
void FlushAll()
{
    auto Tops = State().Tops;  // front first
    if (!HasPendingPaint())
        for (auto It = Tops.rbegin(); It != Tops.rend(); ++It) {
            TWindow* T = *It;
            if (!T->ShowPending || !T->Visible()) continue;
            const bool Activate = T->ShowActivate;
            T->ShowPending = T->ShowActivate = false;
            Backend().ShowTop(T, true, Activate);
            Backend().RestackTop(T);
        }
    for (TWindow* T : Tops)
        if (T->Visible()) Present(T);
}

// Adds R (window coordinates) to what W must paint; the part outside the client area
// marks the non-client area.  Children under R follow unless W clips its children.
void InvalidateWindowArea(TWindow* W, const TRect& R, bool Erase, bool Children)
{
    if (!W->Visible() || R.IsEmpty()) return;
    TRect Full{0, 0, W->Width(), W->Height()};
    TRect A{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Full.Right), std::min(R.Bottom, Full.Bottom)};
    if (A.IsEmpty()) return;
    if (!(A.Left >= W->Client.Left && A.Top >= W->Client.Top && A.Right <= W->Client.Right &&
          A.Bottom <= W->Client.Bottom))
        if (W->Client != Full) W->NCInvalid = true;
    TRegion C = TRegion(A) & TRegion(W->Client);
    if (!C.IsEmpty()) {
        W->Update |= C;
        if (Erase) W->EraseNeeded = true;
    }
    if (!Children) return;
    for (TWindow* K : W->Children) {
        if (!K->Visible()) continue;
        int Ox = W->Client.Left + K->Rect.Left, Oy = W->Client.Top + K->Rect.Top;
        TRect KR{A.Left - Ox, A.Top - Oy, A.Right - Ox, A.Bottom - Oy};
        InvalidateWindowArea(K, KR, Erase, true);
    }
}

void OnTopLevelCreated(TWindow* W)
{
    W->Buffer = std::make_shared<TSurface>(std::max(1, W->Width()), std::max(1, W->Height()));
}

void OnTopLevelResized(TWindow* W)
{
    auto Old = W->Buffer;
    W->Buffer = std::make_shared<TSurface>(std::max(1, W->Width()), std::max(1, W->Height()));
    if (Old) {
        int Wd = std::min(Old->Width(), W->Buffer->Width()), Ht = std::min(Old->Height(), W->Buffer->Height());
        for (int Y = 0; Y < Ht; ++Y) std::memcpy(W->Buffer->Row32(Y), Old->Row32(Y), size_t(Wd) * 4);
    }
    if (W->Native) Backend().SetTopShape(W);
}

void OnWindowMovedOrSized(TWindow* W, const TRect& OldRect, bool)
{
    if (!W->IsChild()) return;
    TWindow* P = W->Parent;
    TRect R{OldRect.Left + P->Client.Left, OldRect.Top + P->Client.Top, OldRect.Right + P->Client.Left,
            OldRect.Bottom + P->Client.Top};
    // what lay under the old place shows again: the parent and the siblings there
    InvalidateWindowArea(P, R, true, false);
    for (TWindow* S : P->Children) {
        if (S == W || !S->Visible()) continue;
        TRect SR{OldRect.Left - S->Rect.Left, OldRect.Top - S->Rect.Top, OldRect.Right - S->Rect.Left,
                 OldRect.Bottom - S->Rect.Top};
        InvalidateWindowArea(S, SR, true, true);
    }
}

void OnWindowDestroyed(TWindow* W)
{
    if (W->IsChild() && W->Visible() && IsVisibleChain(W->Parent)) OnWindowMovedOrSized(W, W->Rect, false);
    if (W->Shape) DeleteObject(W->Shape);
    W->Shape = nullptr;
    if (W->NativeChild) {
        Backend().DestroyNativeChild(W);
        W->NativeChild = 0;
        --NativeChildCount;
    }
}

static TWindow* FindPaintable(TWindow* W, HWND Filter, bool& NCOnly)
{
    if (!W->Visible() || !W->Redraw) return nullptr;
    if (W->IsTop() && W->Minimized) return nullptr;
    // a per-pixel window shows the picture UpdateLayeredWindow gave it, never painted
    if (W->IsTop() && W->PerPixelLayered) return nullptr;
    bool Wanted = !Filter || W->Handle == Filter || IsChild(Filter, W->Handle);
    if (Wanted && (W->NCInvalid || !W->Update.IsEmpty())) {
        NCOnly = W->Update.IsEmpty();
        return W;
    }
    for (TWindow* C : W->Children)
        if (TWindow* F = FindPaintable(C, Filter, NCOnly)) return F;
    return nullptr;
}

bool HasPendingPaint()
{
    bool NC;
    for (TWindow* T : State().Tops)
        if (FindPaintable(T, nullptr, NC)) return true;
    return false;
}

static void SendNCPaint(TWindow* W)
{
    W->NCInvalid = false;
    if (W->Client == TRect(0, 0, W->Width(), W->Height())) return;  // no frame: nothing to paint
    SendMessage(W->Handle, WM_NCPAINT, 1, 0);
}

bool TakePaintMessage(MSG& Msg, HWND Filter)
{
    for (;;) {
        TWindow* W = nullptr;
        bool NCOnly = false;
        auto Tops = State().Tops;
        // back to front: what is in front is painted last
        for (auto It = Tops.rbegin(); It != Tops.rend() && !W; ++It) W = FindPaintable(*It, Filter, NCOnly);
        if (!W) return false;
        if (W->NCInvalid) {
            HWND H = W->Handle;
            SendNCPaint(W);
            if (!Find(H)) continue;
            if (W->Update.IsEmpty()) continue;
        }
        Msg = MSG{};
        Msg.hwnd = W->Handle;
        Msg.message = WM_PAINT;
        Msg.pt = State().CursorPos;
        return true;
    }
}

void DefaultPaint(HWND Wnd)
{
    PAINTSTRUCT PS;
    if (BeginPaint(Wnd, &PS)) EndPaint(Wnd, &PS);
}

}  // namespace winimpl

void ValidateAfterPaint(HWND Wnd)
{
    if (TWindow* W = Find(Wnd)) {
        W->Update = TRegion();
        W->EraseNeeded = false;
    }
}

// ---- device contexts ----------------------------------------------------------------------------
static HDC MakeDC(TWindow* W, bool WholeWindow, const TRegion* Extra)
{
    TWindow* T = TopOf(W);
    if (!T->Buffer) OnTopLevelCreated(T);
    TPoint O = WindowOrigin(W);
    TRegion V = VisibleRegion(W, !WholeWindow, true);
    if (Extra) V &= *Extra;
    TPoint Org = WholeWindow ? O : TPoint{O.X + W->Client.Left, O.Y + W->Client.Top};
    TSize Size = WholeWindow ? TSize{W->Width(), W->Height()} : TSize{W->Client.Width(), W->Client.Height()};
    HDC DC = CreateSurfaceDC(T->Buffer, Org, V, Size);
    SetDCUserData(DC, W->Handle);
    return DC;
}

HDC GetDC(HWND Wnd)
{
    if (!Wnd) return CreateScreenDC();
    TWindow* W = Find(Wnd);
    return W ? MakeDC(W, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND Wnd)
{
    if (!Wnd) return CreateScreenDC();
    TWindow* W = Find(Wnd);
    return W ? MakeDC(W, true, nullptr) : nullptr;
}

HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags)
{
    TWindow* W = Find(Wnd);
    if (!W) return Wnd ? nullptr : CreateScreenDC();
    const TRegion* R = Clip ? GetRegionOf(Clip) : nullptr;
    TRegion Extra;
    if (R && (Flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        TPoint O = WindowOrigin(W);
        TRegion Rr = R->Offsetted(O.X, O.Y);  // given in window coordinates
        if (Flags & DCX_INTERSECTRGN) Extra = Rr;
        else Extra = TRegion(TRect(-100000, -100000, 100000, 100000)) - Rr;
        return MakeDC(W, Flags & DCX_WINDOW, &Extra);
    }
    return MakeDC(W, Flags & DCX_WINDOW, nullptr);
}

HWND WindowFromDC(HDC DC)
{
    if (!IsValidDC(DC)) return nullptr;
    HWND H = static_cast<HWND>(GetDCUserData(DC));
    return Find(H) ? H : nullptr;
}

int ReleaseDC(HWND Wnd, HDC DC)
{
    if (!IsValidDC(DC)) return 0;
    TWindow* W = Find(WindowFromDC(DC));
    (void)Wnd;
    if (W) {
        TWindow* T = TopOf(W);
        MarkDirty(T, GetDCEffectiveClip(DC).Bounds());
        Present(T);  // drawing outside a paint shows at once
    }
    DeleteDC(DC);
    return 1;
}

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint)
{
    TWindow* W = Find(Wnd);
    if (!W || !Paint) return nullptr;
    TRegion Upd = W->Update;
    bool Erase = W->EraseNeeded;
    W->Update = TRegion();
    W->EraseNeeded = false;
    TPoint O = WindowOrigin(W);
    TRegion InTop = Upd.Offsetted(O.X, O.Y);
    HDC DC = MakeDC(W, false, &InTop);
    Paint->hdc = DC;
    TRect B = Upd.Bounds();
    Paint->rcPaint = {B.Left - W->Client.Left, B.Top - W->Client.Top, B.Right - W->Client.Left, B.Bottom - W->Client.Top};
    Paint->fErase = FALSE;
    if (Erase) Paint->fErase = SendMessage(Wnd, WM_ERASEBKGND, WPARAM(DC), 0) == 0;
    return DC;
}

bool EndPaint(HWND Wnd, const PAINTSTRUCT* Paint)
{
    if (!Paint || !IsValidDC(Paint->hdc)) return false;
    TWindow* W = Find(Wnd);
    if (W) MarkDirty(TopOf(W), GetDCEffectiveClip(Paint->hdc).Bounds());
    DeleteDC(Paint->hdc);
    return true;
}

// ---- invalidation ---------------------------------------------------------------------------------
static TRect ClientToWindowRect(TWindow* W, const TRect* R)
{
    if (!R) return W->Client;
    return {R->Left + W->Client.Left, R->Top + W->Client.Top, R->Right + W->Client.Left, R->Bottom + W->Client.Top};
}

bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase)
{
    if (!Wnd) {
        for (TWindow* T : State().Tops) InvalidateWindowArea(T, {0, 0, T->Width(), T->Height()}, Erase, true);
        return true;
    }
    TWindow* W = Find(Wnd);
    if (!W) return false;
    TRect A = ClientToWindowRect(W, R);
    A = {std::max(A.Left, W->Client.Left), std::max(A.Top, W->Client.Top), std::min(A.Right, W->Client.Right),
         std::min(A.Bottom, W->Client.Bottom)};
    InvalidateWindowArea(W, A, Erase, !(W->Style & WS_CLIPCHILDREN));
    return true;
}

bool InvalidateRgn(HWND Wnd, HRGN Rgn, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    const TRegion* R = Rgn ? GetRegionOf(Rgn) : nullptr;
    if (!R) return InvalidateRect(Wnd, nullptr, Erase);
    for (const TRect& Rc : R->Rects()) InvalidateRect(Wnd, &Rc, Erase);
    return true;
}

bool ValidateRect(HWND Wnd, const TRect* R)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    if (!R) {
        W->Update = TRegion();
        W->EraseNeeded = false;
        W->NCInvalid = false;
    } else {
        W->Update -= TRegion(ClientToWindowRect(W, R));
    }
    return true;
}

bool ValidateRgn(HWND Wnd, HRGN Rgn)
{
    const TRegion* R = Rgn ? GetRegionOf(Rgn) : nullptr;
    if (!R) return ValidateRect(Wnd, nullptr);
    for (const TRect& Rc : R->Rects()) ValidateRect(Wnd, &Rc);
    return true;
}

bool GetUpdateRect(HWND Wnd, TRect* R, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    TRect B = W->Update.Bounds();
    if (R) {
        if (W->Update.IsEmpty()) *R = {};
        else *R = {B.Left - W->Client.Left, B.Top - W->Client.Top, B.Right - W->Client.Left, B.Bottom - W->Client.Top};
    }
    if (Erase && W->EraseNeeded && !W->Update.IsEmpty()) UpdateWindow(Wnd);
    return !W->Update.IsEmpty();
}

int GetUpdateRgn(HWND Wnd, HRGN Rgn, bool)
{
    TWindow* W = Find(Wnd);
    if (!W || !Rgn) return 0;
    HRGN Tmp = CreateRegionHandle(W->Update.Offsetted(-W->Client.Left, -W->Client.Top));
    int R = CombineRgn(Rgn, Tmp, nullptr, RGN_COPY);
    DeleteObject(Tmp);
    return R;
}

static void PaintNow(TWindow* W, bool Children)
{
    HWND H = W->Handle;
    if (!W->Visible() || !W->Redraw) return;
    if (W->NCInvalid) {
        SendNCPaint(W);
        if (!Find(H)) return;
    }
    if (!W->Update.IsEmpty()) {
        SendMessage(H, WM_PAINT, 0, 0);
        if (!Find(H)) return;
        ValidateAfterPaint(H);
    }
    if (Children) {
        auto Kids = W->Children;
        for (auto It = Kids.rbegin(); It != Kids.rend(); ++It)
            if (Find((*It)->Handle)) PaintNow(*It, true);
    }
}

bool UpdateWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    if (!IsVisibleChain(W)) return true;
    PaintNow(W, false);
    if (Find(Wnd)) {
        TWindow* T = TopOf(W);
        Present(T);
    }
    return true;
}

bool RedrawWindow(HWND Wnd, const TRect* R, HRGN Rgn, UINT Flags)
{
    TWindow* W = Find(Wnd);
    if (!W) return false;
    bool Kids = (Flags & RDW_ALLCHILDREN) || (!(Flags & RDW_NOCHILDREN) && !(W->Style & WS_CLIPCHILDREN));
    if (Flags & RDW_INVALIDATE) {
        if (Rgn && GetRegionOf(Rgn)) {
            for (const TRect& Rc : GetRegionOf(Rgn)->Rects())
                InvalidateWindowArea(W, ClientToWindowRect(W, &Rc), Flags & RDW_ERASE, Kids);
        } else {
            TRect A = R ? ClientToWindowRect(W, R) : ((Flags & RDW_FRAME) ? TRect{0, 0, W->Width(), W->Height()} : W->Client);
            InvalidateWindowArea(W, A, Flags & RDW_ERASE, Kids);
        }
        if (Flags & RDW_FRAME) W->NCInvalid = W->Client != TRect(0, 0, W->Width(), W->Height());
    }
    if (Flags & RDW_VALIDATE) {
        ValidateRect(Wnd, R);
        if (Flags & RDW_NOFRAME) W->NCInvalid = false;
    }
    if (Flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        PaintNow(W, Kids);
        if (Find(Wnd)) Present(TopOf(W));
    }
    return true;
}

int ScrollWindowEx(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip, HRGN Update, TRect* UpdateRect,
                   UINT Flags)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    TRect Area = Scroll ? ClientToWindowRect(W, Scroll) : W->Client;
    if (Clip) {
        TRect C = ClientToWindowRect(W, Clip);
        Area = {std::max(Area.Left, C.Left), std::max(Area.Top, C.Top), std::min(Area.Right, C.Right),
                std::min(Area.Bottom, C.Bottom)};
    }
    if ((Flags & SW_SCROLLCHILDREN) || !Scroll) {
        auto Kids = W->Children;
        for (TWindow* C : Kids)
            if (Find(C->Handle))
                SetWindowPos(C->Handle, nullptr, C->Rect.Left + Dx, C->Rect.Top + Dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!Find(Wnd)) return 0;
    // move the pixels that stay visible; everything else is repainted
    TWindow* T = TopOf(W);
    TPoint O = WindowOrigin(W);
    TRegion Vis = VisibleRegion(W, true, true) & TRegion(Bounds(O.X + Area.Left, O.Y + Area.Top, Area.Width(), Area.Height()));
    TRegion Moved = Vis.Offsetted(Dx, Dy) & Vis;
    TRegion Exposed = TRegion(Bounds(O.X + Area.Left, O.Y + Area.Top, Area.Width(), Area.Height())) - Moved;
    if (T->Buffer && !Moved.IsEmpty() && Vis.IsRect()) {
        TRect M = Moved.Bounds();
        auto& B = *T->Buffer;
        int RowBytes = M.Width() * 4;
        if (Dy > 0)
            for (int Y = M.Bottom - 1; Y >= M.Top; --Y) std::memmove(B.Row32(Y) + M.Left, B.Row32(Y - Dy) + M.Left - Dx, size_t(RowBytes));
        else
            for (int Y = M.Top; Y < M.Bottom; ++Y) std::memmove(B.Row32(Y) + M.Left, B.Row32(Y - Dy) + M.Left - Dx, size_t(RowBytes));
        MarkDirty(T, M);
    } else {
        Exposed = TRegion(Bounds(O.X + Area.Left, O.Y + Area.Top, Area.Width(), Area.Height()));
    }
    // anything already waiting to be painted moves with the pixels
    W->Update = W->Update.Offsetted(Dx, Dy) & TRegion(W->Client);
    TRegion ExpW = Exposed.Offsetted(-O.X, -O.Y);
    if (Flags & SW_INVALIDATE || !Scroll)
        for (const TRect& R : ExpW.Rects()) InvalidateWindowArea(W, R, Flags & SW_ERASE, false);
    TRegion ExpC = ExpW.Offsetted(-W->Client.Left, -W->Client.Top);
    if (Update) {
        HRGN Tmp = CreateRegionHandle(ExpC);
        CombineRgn(Update, Tmp, nullptr, RGN_COPY);
        DeleteObject(Tmp);
    }
    if (UpdateRect) *UpdateRect = ExpC.Bounds();
    return ExpC.IsEmpty() ? NULLREGION : COMPLEXREGION;
}

bool ScrollWindow(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip)
{
    return ScrollWindowEx(Wnd, Dx, Dy, Scroll, Clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE) != 0;
}

// ---- window regions -----------------------------------------------------------------------------------
int SetWindowRgn(HWND Wnd, HRGN Rgn, bool Redraw)
{
    TWindow* W = Find(Wnd);
    if (!W) return 0;
    bool Shown = IsVisibleChain(W);
    if (Shown && W->IsChild()) OnWindowMovedOrSized(W, W->Rect, false);
    if (W->Shape && W->Shape != Rgn) DeleteObject(W->Shape);
    W->Shape = Rgn;
    if (W->IsTop() && W->Native) Backend().SetTopShape(W);
    if (Shown && Redraw) InvalidateWindowArea(W, {0, 0, W->Width(), W->Height()}, true, true);
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Rgn)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->Shape || !Rgn) return 0;
    return CombineRgn(Rgn, W->Shape, nullptr, RGN_COPY);
}

// ---- layered windows ---------------------------------------------------------------------------------------
bool SetLayeredWindowAttributes(HWND Wnd, TColor Key, BYTE Alpha, DWORD Flags)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsTop() || !(W->ExStyle & WS_EX_LAYERED)) return false;
    W->LayeredKey = Key;
    W->LayeredAlpha = (Flags & LWA_ALPHA) ? Alpha : 255;
    W->LayeredFlags = Flags;
    W->PerPixelLayered = false;
    if (W->Native) Backend().SetTopOpacity(W);
    return true;
}

bool GetLayeredWindowAttributes(HWND Wnd, TColor* Key, BYTE* Alpha, DWORD* Flags)
{
    TWindow* W = Find(Wnd);
    if (!W || !(W->ExStyle & WS_EX_LAYERED)) return false;
    if (Key) *Key = W->LayeredKey;
    if (Alpha) *Alpha = W->LayeredAlpha;
    if (Flags) *Flags = W->LayeredFlags;
    return true;
}

bool LayeredWindowsAvailable() { return Backend().Compositing(); }

bool UpdateLayeredWindow(HWND Wnd, HDC, const TPoint* Dst, const TSize* Size, HDC Src, const TPoint* SrcPoint,
                         COLORREF, const BLENDFUNCTION* Blend, DWORD Flags)
{
    TWindow* W = Find(Wnd);
    if (!W || !W->IsTop() || !(W->ExStyle & WS_EX_LAYERED)) return false;
    int X = Dst ? Dst->X : W->Rect.Left, Y = Dst ? Dst->Y : W->Rect.Top;
    int Cx = Size ? Size->cx : W->Width(), Cy = Size ? Size->cy : W->Height();
    if (Dst || Size) SetWindowPos(Wnd, nullptr, X, Y, Cx, Cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Find(Wnd)) return false;
    W->PerPixelLayered = true;
    W->LayeredFlags = Flags;
    W->LayeredAlpha = Blend ? Blend->SourceConstantAlpha : 255;
    if (Src && W->Buffer) {
        PSurface S = GetDCSurface(Src);
        TPoint SO = GetDCSurfaceOrigin(Src);
        int Sx = SO.X + (SrcPoint ? SrcPoint->X : 0), Sy = SO.Y + (SrcPoint ? SrcPoint->Y : 0);
        auto& B = *W->Buffer;
        for (int Yy = 0; Yy < B.Height(); ++Yy)
            for (int Xx = 0; Xx < B.Width(); ++Xx) {
                uint32_t P = S ? S->GetPixel(Sx + Xx, Sy + Yy) : 0;
                if (Flags & ULW_OPAQUE) P |= 0xFF000000u;
                B.Row32(Yy)[Xx] = P;
            }
    }
    if (W->Native) {
        Backend().SetTopOpacity(W);
        MarkDirty(W, {0, 0, W->Width(), W->Height()});
        Present(W);
    }
    return true;
}

PSurface GetWindowBackBuffer(HWND TopLevel)
{
    TWindow* W = Find(TopLevel);
    if (!W) return nullptr;
    W = TopOf(W);
    if (!W->Buffer) OnTopLevelCreated(W);
    return W->Buffer;
}

void FlushWindows() { FlushAll(); }
