// Rectangle copies and tiling on bitmaps, shared by the skin image builders and the mask
// strip builders.
#pragma once

#include "skin/core/bsUtils.h"

// Copies S of SB into D of B (stretching when the sizes differ); nothing when either is empty.
void CopyPiece(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S);
// Tiles S along D from D's left (Horizontal) or top, the last tile cut at D's end and
// taking correspondingly less of S; across, each tile fills D (stretched when S differs).
// A strip of no length draws nothing.
void TilePiece(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S, bool Horizontal);
// Tiles S over D both ways from D's top-left corner, tiles cut at D's right and bottom.
void TileArea(TBitmap* B, const TRect& D, TBitmap* SB, const TRect& S);
