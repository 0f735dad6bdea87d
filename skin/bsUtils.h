// Free helpers of the skin: rectangle and number functions, the text codecs of skin ini
// values, image builders and mask regions, text and glyph drawing, layered windows and
// the platform queries the skinned parts make.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"
#include "platform/system/Types.h"

class TCustomIniFile;

// How the client part of a skin picture fills a larger client area when stretched.
enum TbsStretchType { bsstFull, bsstHorz, bsstVert };

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

TColor MixColors(TColor C1, TColor C2);
TColor DarkenColor(TColor C, uint8_t Percent);

// ---- Text forms of skin values -----------------------------------------------------------
// Fields split at commas; only the digits of each field count (so a sign is lost).  A field
// without digits raises EConvertError; fields beyond the fourth (second) are ignored.
void ParseRectText(const String& S, TRect& R);
void ParsePointText(const String& S, TPoint& P);

// Readers: a missing key gives "0,0,0,0", "0,0", false, no styles, taCenter, nothing.
// Writers write exactly what the readers read; rectangle and point values are written
// without sign (the reader would drop it).
void ReadSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TRect& R);
void ReadSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, TPoint& P);
bool ReadSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TFontStyles ReadSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// Appends the list stored as Ident + "count" and the keys "0" .. count-1.
void ReadSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings);
TAlignment ReadSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value);
void WriteSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value);
void WriteSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value);
void WriteSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value);
void WriteSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TStrings* Strings);
void WriteSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value);
