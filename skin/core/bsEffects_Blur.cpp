// Stack blur of a 32-bit bitmap and alpha channels taken from mask pictures.
#include "skin/core/bsEffects.h"

#include <algorithm>
#include <vector>

namespace {

// Divides weighted sums by S, through a table while the table stays small.
class TDivider {
public:
    explicit TDivider(uint32_t S) : FS(S)
    {
        if (uint64_t(S) * 256 <= (1u << 20)) {
            FTable.resize(size_t(S) * 256);
            for (uint32_t i = 0; i < FTable.size(); ++i) FTable[i] = uint8_t(i / S);
        }
    }
    uint8_t operator()(uint32_t Sum) const { return FTable.empty() ? uint8_t(Sum / FS) : FTable[Sum]; }

private:
    uint32_t FS;
    std::vector<uint8_t> FTable;
};

// One pass over N samples of each of Lines lines: Out = the triangle-weighted sums of the
// samples around each position (edges repeated) divided by S.  Sample k of line j lies at
// In[j * LineStep + k * Step]; results go to the same place of Out.  The sums move along
// the line: S(x+1) = S(x) + In(x) - Out(x), with In the r + 1 samples right of x and Out
// the r + 1 samples from x - r to x.
template <typename Get, typename Put>
void StackBlurLine(int N, int R, const TDivider& Div, Get GetSample, Put PutResult, std::vector<int>& Clamp)
{
    // Clamp[k + R + 1] is the sample index of position k, for k from -R - 1 to N + R.
    uint32_t sum[3] = {0, 0, 0}, sumIn[3] = {0, 0, 0}, sumOut[3] = {0, 0, 0};
    auto at = [&](int K) { return Clamp[size_t(K + R + 1)]; };
    for (int i = -R; i <= R; ++i) {
        uint32_t px[3];
        GetSample(at(i), px);
        const uint32_t w = uint32_t(R + 1 - (i < 0 ? -i : i));
        for (int c = 0; c < 3; ++c) {
            sum[c] += px[c] * w;
            if (i > 0) sumIn[c] += px[c];
            else sumOut[c] += px[c];
        }
    }
    for (int x = 0; x < N; ++x) {
        PutResult(x, Div(sum[0]), Div(sum[1]), Div(sum[2]));
        if (x + 1 == N) break;
        uint32_t enter[3], leave[3], mid[3];
        GetSample(at(x + R + 1), enter);  // joins In(x)
        GetSample(at(x - R), leave);      // leaves Out
        GetSample(at(x + 1), mid);        // moves from In to Out
        for (int c = 0; c < 3; ++c) {
            sumIn[c] += enter[c];
            sum[c] += sumIn[c] - sumOut[c];
            sumIn[c] -= mid[c];
            sumOut[c] += mid[c] - leave[c];
        }
    }
}

}  // namespace

void BlurBitmap(TbsBitmap* Bitmap, int Radius)
{
    if (!Bitmap || Radius <= 0 || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    // Sums of 255 * (r + 1)^2 must fit in 32 bits.
    const int r = std::min(Radius, 4000);
    const TDivider div(uint32_t(r + 1) * uint32_t(r + 1));
    std::vector<uint8_t> planes(size_t(w) * h * 3);
    std::vector<int> clamp;
    auto makeClamp = [&](int N) {
        clamp.resize(size_t(N + 2 * r + 2));
        for (int k = -r - 1; k <= N + r; ++k) clamp[size_t(k + r + 1)] = std::clamp(k, 0, N - 1);
    };

    makeClamp(w);
    for (int y = 0; y < h; ++y) {
        const TbsColor* row = Bitmap->ScanLine(y);
        uint8_t* out = &planes[size_t(y) * w * 3];
        StackBlurLine(
            w, r, div,
            [row](int K, uint32_t* P) {
                const TbsColor c = row[K];
                P[0] = bsRedOf(c), P[1] = bsGreenOf(c), P[2] = bsBlueOf(c);
            },
            [out](int X, uint8_t R, uint8_t G, uint8_t B) {
                out[X * 3] = R, out[X * 3 + 1] = G, out[X * 3 + 2] = B;
            },
            clamp);
    }
    makeClamp(h);
    for (int x = 0; x < w; ++x) {
        const uint8_t* col = &planes[size_t(x) * 3];
        const size_t step = size_t(w) * 3;
        StackBlurLine(
            h, r, div,
            [col, step](int K, uint32_t* P) {
                const uint8_t* p = col + size_t(K) * step;
                P[0] = p[0], P[1] = p[1], P[2] = p[2];
            },
            [Bitmap, x](int Y, uint8_t R, uint8_t G, uint8_t B) {
                *Bitmap->PixelAddress(x, Y) = bsPackARGB(255, R, G, B);
            },
            clamp);
    }
}

void SetAlphaFromMask(TbsBitmap* Bitmap, const TbsBitmap* Mask)
{
    if (!Bitmap || Bitmap->Empty()) return;
    const int mw = Mask && !Mask->Empty() ? Mask->Width() : 0;
    const int mh = Mask && !Mask->Empty() ? Mask->Height() : 0;
    for (int y = 0; y < Bitmap->Height(); ++y) {
        TbsColor* row = Bitmap->ScanLine(y);
        for (int x = 0; x < Bitmap->Width(); ++x) {
            uint32_t a = 0;
            if (x < mw && y < mh) {
                const TbsColor m = *Mask->PixelAddress(x, y);
                a = (uint32_t(bsRedOf(m)) + bsGreenOf(m) + bsBlueOf(m)) / 3;
            }
            row[x] = (row[x] & 0x00FFFFFF) | (a << 24);
        }
    }
}

void SetAlphaFromMaskPremultiplied(TbsBitmap* Bitmap, const TbsBitmap* Mask)
{
    SetAlphaFromMask(Bitmap, Mask);
    if (Bitmap) Bitmap->CheckRGBA2();
}
