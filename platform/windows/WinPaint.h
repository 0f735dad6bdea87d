// Painting windows: device contexts over the top-level back buffer, update regions,
// WM_NCPAINT/WM_ERASEBKGND/WM_PAINT, window regions and layered windows.
//
// Each top-level window owns one 32-bit back buffer covering the whole window.  A
// window's DC draws into that buffer at the window's (or its client area's) place,
// clipped to what of the window is visible: inside every parent's client area, not
// under a sibling above it, inside its own and its parents' window regions, and (for
// client DCs) not under its own child windows.  Drawing is shown on the screen when
// the message loop goes idle, or at once for a DC from GetDC/GetWindowDC.
#pragma once

#include "platform/graphics/Gdi.h"
#include "platform/windows/Windows.h"

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;  // true when WM_ERASEBKGND did not erase
    TRect rcPaint;        // client coordinates
};

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint);
bool EndPaint(HWND Wnd, const PAINTSTRUCT* Paint);
HDC GetDC(HWND Wnd);        // the client area
HDC GetWindowDC(HWND Wnd);  // the whole window, non-client area included
constexpr DWORD DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_CLIPCHILDREN = 0x8, DCX_CLIPSIBLINGS = 0x10,
                DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80;
HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags);
int ReleaseDC(HWND Wnd, HDC DC);
HWND WindowFromDC(HDC DC);

bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase);  // R in client coordinates; nullptr = all
bool InvalidateRgn(HWND Wnd, HRGN Rgn, bool Erase);
bool ValidateRect(HWND Wnd, const TRect* R);
bool ValidateRgn(HWND Wnd, HRGN Rgn);
bool GetUpdateRect(HWND Wnd, TRect* R, bool Erase);
int GetUpdateRgn(HWND Wnd, HRGN Rgn, bool Erase);
bool UpdateWindow(HWND Wnd);  // paints now what is invalid (WM_NCPAINT, WM_ERASEBKGND, WM_PAINT)
constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008,
               RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020, RDW_NOCHILDREN = 0x0040,
               RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100, RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400,
               RDW_NOFRAME = 0x0800;
bool RedrawWindow(HWND Wnd, const TRect* R, HRGN Rgn, UINT Flags);
constexpr UINT SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004;
int ScrollWindowEx(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip, HRGN Update, TRect* UpdateRect,
                   UINT Flags);
bool ScrollWindow(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip);

// The window region (window coordinates).  The window owns Rgn from then on; 0 removes it.
int SetWindowRgn(HWND Wnd, HRGN Rgn, bool Redraw);
int GetWindowRgn(HWND Wnd, HRGN Rgn);  // copies it into Rgn; the region type, or ERROR (0) without one

// A per-pixel alpha window: Src's pixels (premultiplied B,G,R,A) at SrcPoint become the
// window's picture; Dst position and Size move it.  Flags: ULW_ALPHA, ULW_OPAQUE.
bool UpdateLayeredWindow(HWND Wnd, HDC DstScreen, const TPoint* Dst, const TSize* Size, HDC Src,
                         const TPoint* SrcPoint, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags);

// The back buffer of a top-level window (tests read pixels from it).
PSurface GetWindowBackBuffer(HWND TopLevel);
// Shows on the screen everything drawn into back buffers so far.
void FlushWindows();
