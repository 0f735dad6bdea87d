// Free helpers of the skin: rectangle and number functions, the text codecs of skin ini
// values, image builders and mask regions, text and glyph drawing, layered windows and
// the platform queries the skinned parts make.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Types.h"

class TCustomIniFile;

// ---- Rectangles, numbers and colours ----------------------------------------------------
inline int WidthOfRect(const TRect& R) { return R.Right - R.Left; }
inline int HeightOfRect(const TRect& R) { return R.Bottom - R.Top; }
inline bool IsEmptyRect(const TRect& R) { return WidthOfRect(R) <= 0 || HeightOfRect(R) <= 0; }
inline bool SameRects(const TRect& R1, const TRect& R2) { return R1 == R2; }
inline void ClearRect(TRect& R) { R = TRect(0, 0, 0, 0); }
inline bool IsNullPoint(const TPoint& P) { return P.X == 0 || P.Y == 0; }
// Right and bottom edges included.
inline bool IsPointInRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
bool RectInRect(const TRect& R1, const TRect& R2);
bool RectOverlapsRect(const TRect& R1, const TRect& R2);
inline int MaxOf(int A, int B) { return A > B ? A : B; }
inline int MinOf(int A, int B) { return A < B ? A : B; }


// ---- Text forms of skin values -----------------------------------------------------------
// Fields split at commas; only the digits of each field count (so a sign is lost).  A field
// without digits raises EConvertError; fields beyond the fourth (second) are ignored.
void ParseRectText(const String& S, TRect& R);
void ParsePointText(const String& S, TPoint& P);

