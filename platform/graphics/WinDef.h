// The scalar types and handle conventions that the window and drawing interfaces share.
//
// Handles are typed pointers to opaque objects, so that a handle travels in a
// pointer-sized message parameter and a wrong kind of handle is a compile error where
// the interface names the kind.  Every graphics handle (HDC, HBITMAP, HRGN, HFONT,
// HPEN, HBRUSH, HICON) converts implicitly to HGDIOBJ.
#pragma once

#include <cstdint>

#include "platform/system/Types.h"

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using LONG = int32_t;
using BOOL = int;
using COLORREF = uint32_t;           // 0x00BBGGRR
using WPARAM = uintptr_t;            // pointer-sized
using LPARAM = intptr_t;             // pointer-sized
using LRESULT = intptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handle objects.  Only the kinds are visible here (so that each handle converts to
// HGDIOBJ); what they hold is private to platform/graphics.
struct TGdiObject {
    virtual ~TGdiObject() = default;
    const DWORD Kind;                  // OBJ_PEN, OBJ_BRUSH, OBJ_DC, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
protected:
    explicit TGdiObject(DWORD AKind) : Kind(AKind) {}
};
struct TDeviceContext : TGdiObject { protected: TDeviceContext() : TGdiObject(3) {} };
struct TGdiPen : TGdiObject { protected: TGdiPen() : TGdiObject(1) {} };
struct TGdiBrush : TGdiObject { protected: TGdiBrush() : TGdiObject(2) {} };
struct TGdiFont : TGdiObject { protected: TGdiFont() : TGdiObject(6) {} };
struct TGdiBitmap : TGdiObject { protected: TGdiBitmap() : TGdiObject(7) {} };
struct TGdiRegion : TGdiObject { protected: TGdiRegion() : TGdiObject(8) {} };
struct TGdiIcon : TGdiObject { protected: TGdiIcon() : TGdiObject(0x1000) {} };

using HGDIOBJ = TGdiObject*;
using HDC = TDeviceContext*;
using HBITMAP = TGdiBitmap*;
using HRGN = TGdiRegion*;
using HFONT = TGdiFont*;
using HPEN = TGdiPen*;
using HBRUSH = TGdiBrush*;
using HICON = TGdiIcon*;
using HCURSOR = HICON;

// The record types are the shared value types (fields X/Y, cx/cy, Left/Top/Right/Bottom).
using POINT = TPoint;
using SIZE = TSize;
using RECT = TRect;
