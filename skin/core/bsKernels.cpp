// Pixel kernels: the blend variants and the run routines behind bsKernels.
#include "skin/core/bsKernels.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

// One channel of the MMX formula: exact in 32 bits, always within 0..65535 before the shift.
inline uint32_t MmxChannel(uint32_t F, uint32_t B, uint32_t A)
{
    return uint32_t((int32_t(F) - int32_t(B)) * int32_t(A) + int32_t(B << 8)) >> 8;
}

inline TbsColor PlainMix(TbsColor Fg, TbsColor Bg, uint32_t A)
{
    // Red and blue together under 0x00FF00FF, green alone: the sums stay below 2^16 per lane.
    uint32_t na = 255 - A;
    uint32_t rb = (((Fg & 0x00FF00FF) * A + (Bg & 0x00FF00FF) * na) >> 8) & 0x00FF00FF;
    uint32_t g = (((Fg & 0x0000FF00) >> 8) * A + ((Bg & 0x0000FF00) >> 8) * na) >> 8;
    return 0xFF000000u | rb | (g << 8);
}

inline TbsColor MmxMix(TbsColor Fg, TbsColor Bg, uint32_t A)
{
    return (MmxChannel(Fg >> 24, Bg >> 24, A) << 24) | (MmxChannel((Fg >> 16) & 0xFF, (Bg >> 16) & 0xFF, A) << 16) |
           (MmxChannel((Fg >> 8) & 0xFF, (Bg >> 8) & 0xFF, A) << 8) | MmxChannel(Fg & 0xFF, Bg & 0xFF, A);
}

#if defined(__SSE2__)
// Alpha of each of the four pixels spread over the four 16-bit lanes of that pixel.
inline __m128i SpreadAlpha(__m128i Px16)
{
    __m128i a = _mm_shufflelo_epi16(Px16, _MM_SHUFFLE(3, 3, 3, 3));
    return _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
}
#endif

void CopyLineKeyedImpl(const TbsColor* Src, TbsColor* Dst, int Count)
{
    for (int i = 0; i < Count; ++i) {
        TbsColor s = Src[i];
        if ((s & 0x00FFFFFF) != bsTransparentColor) Dst[i] = s | 0xFF000000u;
    }
}

void MoveLineImpl(const TbsColor* Src, TbsColor* Dst, int Count)
{
    if (Count <= 0 || Src == Dst) return;
    std::memmove(Dst, Src, size_t(Count) * sizeof(TbsColor));
}

void FillLineImpl(TbsColor* Dst, int Count, TbsColor Value)
{
    for (int i = 0; i < Count; ++i) Dst[i] = Value;
}

void FillRectPixelsImpl(TbsColor* Bits, int Stride, int, int Left, int Top, int Right, int Bottom, TbsColor Value)
{
    if (Right < Left || Bottom < Top) return;
    for (int y = Top; y <= Bottom; ++y) FillLineImpl(Bits + std::ptrdiff_t(y) * Stride + Left, Right - Left + 1, Value);
}

void SetAlphaLineImpl(TbsColor* Dst, int Count, uint8_t Alpha)
{
    const TbsColor a = TbsColor(Alpha) << 24;
    for (int i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0x00FFFFFF) | a;
}

void SetAlphaRectImpl(TbsColor* Bits, int Stride, int, int Left, int Top, int Right, int Bottom, uint8_t Alpha)
{
    if (Right < Left || Bottom < Top) return;
    for (int y = Top; y <= Bottom; ++y) SetAlphaLineImpl(Bits + std::ptrdiff_t(y) * Stride + Left, Right - Left + 1, Alpha);
}

void ClearAlphaOfColorImpl(TbsColor* Dst, int Count, TbsColor Color)
{
    for (int i = 0; i < Count; ++i)
        if ((Dst[i] & 0x00FFFFFF) == (Color & 0x00FFFFFF)) Dst[i] &= 0x00FFFFFF;
}

}  // namespace

TbsColor BlendPixelPlain(TbsColor Fg, TbsColor Bg)
{
    uint32_t a = Fg >> 24;
    if (a == 255) return Fg;
    if (a == 0) return Bg;
    return PlainMix(Fg, Bg, a);
}

TbsColor BlendPixelMMX(TbsColor Fg, TbsColor Bg) { return MmxMix(Fg, Bg, Fg >> 24); }

void BlendLinePlain(const TbsColor* Src, TbsColor* Dst, int Count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    for (; i + 4 <= Count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i sa = _mm_srli_epi32(s, 24);
        __m128i is0 = _mm_cmpeq_epi32(sa, zero);
        if (_mm_movemask_epi8(is0) == 0xFFFF) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        __m128i is255 = _mm_cmpeq_epi32(sa, _mm_set1_epi32(255));
        __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
        __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
        __m128i alo = SpreadAlpha(slo), ahi = SpreadAlpha(shi);
        __m128i rlo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(slo, alo), _mm_mullo_epi16(dlo, _mm_sub_epi16(c255, alo))), 8);
        __m128i rhi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(shi, ahi), _mm_mullo_epi16(dhi, _mm_sub_epi16(c255, ahi))), 8);
        __m128i r = _mm_or_si128(_mm_packus_epi16(rlo, rhi), opaque);
        r = _mm_or_si128(_mm_and_si128(is255, s), _mm_andnot_si128(is255, r));
        r = _mm_or_si128(_mm_and_si128(is0, d), _mm_andnot_si128(is0, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), r);
    }
#endif
    for (; i < Count; ++i) {
        TbsColor s = Src[i];
        uint32_t a = s >> 24;
        if (a == 0) continue;
        Dst[i] = a == 255 ? s : PlainMix(s, Dst[i], a);
    }
}

void BlendLineMMX(const TbsColor* Src, TbsColor* Dst, int Count)
{
    int i = 0;
#if defined(__SSE2__)
    // Alpha 0 gives the destination exactly through the formula; alpha 255 must copy the
    // source, which the formula does when it multiplies by 256 instead of 255.
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    for (; i + 4 <= Count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        __m128i sa = _mm_srli_epi32(s, 24);
        const int m0 = _mm_movemask_epi8(_mm_cmpeq_epi32(sa, zero));
        if (m0 == 0xFFFF) continue;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sa, _mm_set1_epi32(255))) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), s);
            continue;
        }
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
        __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
        __m128i alo = SpreadAlpha(slo), ahi = SpreadAlpha(shi);
        alo = _mm_sub_epi16(alo, _mm_cmpeq_epi16(alo, c255));
        ahi = _mm_sub_epi16(ahi, _mm_cmpeq_epi16(ahi, c255));
        // 16-bit lanes wrap exactly as the processor's do; the true value lies in 0..65535.
        __m128i rlo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(slo, dlo), alo), _mm_slli_epi16(dlo, 8)), 8);
        __m128i rhi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(shi, dhi), ahi), _mm_slli_epi16(dhi, 8)), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), _mm_packus_epi16(rlo, rhi));
    }
#endif
    for (; i < Count; ++i) {
        TbsColor s = Src[i];
        uint32_t a = s >> 24;
        if (a == 0) continue;
        Dst[i] = a == 255 ? s : MmxMix(s, Dst[i], a);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
// The same two blends eight pixels at a time, for processors with AVX2 (chosen at start-up).
__attribute__((target("avx2"))) static void BlendLineMMX_AVX2(const TbsColor* Src, TbsColor* Dst, int Count)
{
    int i = 0;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i a255 = _mm256_set1_epi32(255);
    for (; i + 8 <= Count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i sa = _mm256_srli_epi32(s, 24);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, zero)) == -1) continue;
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, a255)) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), s);
            continue;
        }
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
        __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        __m256i alo = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(slo, 0xFF), 0xFF);
        __m256i ahi = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(shi, 0xFF), 0xFF);
        alo = _mm256_sub_epi16(alo, _mm256_cmpeq_epi16(alo, c255));
        ahi = _mm256_sub_epi16(ahi, _mm256_cmpeq_epi16(ahi, c255));
        __m256i rlo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(slo, dlo), alo), _mm256_slli_epi16(dlo, 8)), 8);
        __m256i rhi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(shi, dhi), ahi), _mm256_slli_epi16(dhi, 8)), 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), _mm256_packus_epi16(rlo, rhi));
    }
    if (i < Count) BlendLineMMX(Src + i, Dst + i, Count - i);
}

__attribute__((target("avx2"))) static void BlendLinePlain_AVX2(const TbsColor* Src, TbsColor* Dst, int Count)
{
    int i = 0;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i a255 = _mm256_set1_epi32(255);
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    for (; i + 8 <= Count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        __m256i sa = _mm256_srli_epi32(s, 24);
        __m256i is0 = _mm256_cmpeq_epi32(sa, zero);
        if (_mm256_movemask_epi8(is0) == -1) continue;
        __m256i is255 = _mm256_cmpeq_epi32(sa, a255);
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
        __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        __m256i alo = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(slo, 0xFF), 0xFF);
        __m256i ahi = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(shi, 0xFF), 0xFF);
        __m256i rlo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(slo, alo), _mm256_mullo_epi16(dlo, _mm256_sub_epi16(c255, alo))), 8);
        __m256i rhi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(shi, ahi), _mm256_mullo_epi16(dhi, _mm256_sub_epi16(c255, ahi))), 8);
        __m256i r = _mm256_or_si256(_mm256_packus_epi16(rlo, rhi), opaque);
        r = _mm256_blendv_epi8(r, s, is255);
        r = _mm256_blendv_epi8(r, d, is0);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), r);
    }
    if (i < Count) BlendLinePlain(Src + i, Dst + i, Count - i);
}

static bool HasAvx2() { return __builtin_cpu_supports("avx2"); }
#else
static bool HasAvx2() { return false; }
#endif

bool IsMMXPresent()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    unsigned family = (eax >> 8) & 0xF;
    return family >= 5 && (edx & (1u << 23)) != 0;
#else
    return false;
#endif
}

TbsPixelKernels bsKernels = {BlendPixelPlain,    BlendLinePlain,   CopyLineKeyedImpl,
                             MoveLineImpl,       FillLineImpl,     FillRectPixelsImpl,
                             SetAlphaLineImpl,   SetAlphaRectImpl, ClearAlphaOfColorImpl};

void InitPixelKernels(bool UseMMX)
{
    bsKernels.BlendPixel = UseMMX ? BlendPixelMMX : BlendPixelPlain;
    bsKernels.BlendLine = BlendLineVariant(UseMMX);
}

BlendLineFn BlendLineVariant(bool UseMMX)
{
    // The wider registers give the same results, eight pixels at a time.
#if defined(__x86_64__) && defined(__GNUC__)
    if (HasAvx2()) return UseMMX ? BlendLineMMX_AVX2 : BlendLinePlain_AVX2;
#endif
    return UseMMX ? BlendLineMMX : BlendLinePlain;
}

namespace {
// Start-up choice of the blend variant, before any form exists.
struct KernelInit {
    KernelInit() { InitPixelKernels(); }
} kernelInit;
}  // namespace
