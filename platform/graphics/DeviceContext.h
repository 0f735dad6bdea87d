// Device contexts over pixel surfaces: the interface the window layer builds on.
//
// Every HDC draws into one TSurface (or into nothing, for a memory DC that holds no
// bitmap yet).  A DC made here maps its device point (0, 0) to Origin on the surface
// and never draws outside its visible region, given in surface coordinates.  The
// window layer makes one such DC per GetDC/GetWindowDC/BeginPaint: the surface is the
// top-level window's back buffer, Origin the window's (or its client area's) place in
// it, and the visible region the part of the window that is not covered by siblings
// or cut away by the window's and its parents' regions.  Everything the program then
// does through the DC (viewport and window origins, SaveDC/RestoreDC, clip calls,
// selected objects) works on top of that, as on any other DC.
//
// Such a DC is freed with DeleteDC (or ReleaseDC/EndPaint in the window layer, which
// call DeleteDC).  Reading from it (BitBlt with it as source) reads what the back
// buffer holds, not limited by the visible region.
#pragma once

#include <functional>

#include "platform/graphics/Region.h"
#include "platform/graphics/Surface.h"
#include "platform/graphics/WinDef.h"

// A new DC drawing into Surface with its device (0, 0) at Origin, clipped to Visible
// (surface coordinates; the surface bounds always clip as well).  DeviceSize is the
// size GetClipBox reports when no clip is set (the window's or client area's size);
// {0, 0} means "as far as the visible region reaches".
HDC CreateSurfaceDC(PSurface Surface, TPoint Origin, const TRegion& Visible, TSize DeviceSize = {});

// Changes where the DC draws (for a DC kept across moves) and what it may touch.
void SetSurfaceDCOrigin(HDC DC, TPoint Origin);
void SetSurfaceDCVisible(HDC DC, const TRegion& Visible);

// The surface a DC draws into (a memory DC's selected bitmap included), or null.
PSurface GetDCSurface(HDC DC);
// Where the DC's device (0, 0) lies on its surface.
TPoint GetDCSurfaceOrigin(HDC DC);

// The part of the surface a drawing call would change right now, in surface
// coordinates: visible region, clip region and surface bounds together.
TRegion GetDCEffectiveClip(HDC DC);

// Converts a logical point of the DC to device coordinates (viewport and window origins).
TPoint DCLogicalToDevice(HDC DC, TPoint P);

// One pointer-sized value the window layer may attach to a DC (its window, say).
void SetDCUserData(HDC DC, void* Data);
void* GetDCUserData(HDC DC);

// True when DC is a live device context handle.
bool IsValidDC(HDC DC);

// The screen: GetDC(0) and CreateDC("DISPLAY") give a DC over the surface the provider
// returns (the window layer installs one that gives the desktop's contents); without a
// provider the screen DC measures text and reports the screen's properties but draws
// nothing and reads black.
void SetScreenSurfaceProvider(std::function<PSurface()> Provider);
HDC CreateScreenDC();
