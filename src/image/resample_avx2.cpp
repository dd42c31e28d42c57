// SPDX-License-Identifier: GPL-3.0-or-later
// The resampling passes with AVX2: 16-bit multiply-adds over pairs of taps. They compute
// exactly the integers of the portable passes; only this file is built for AVX2, and it is
// used only after the processor has said it has it.
#include <cstring>
#include <optional>

#include "image/resample_passes.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace tessaro {
namespace {

#define TESSARO_AVX2 __attribute__((target("avx2")))

// Two neighbouring 16-bit weights read as one 32-bit word: repeated in every lane, they
// weigh the pairs that _mm256_madd_epi16 adds.
TESSARO_AVX2 __m256i weightPair(const std::int16_t* weights) {
    std::int32_t pair;
    std::memcpy(&pair, weights, sizeof pair);
    return _mm256_set1_epi32(pair);
}

// Bytes i .. i + 31 of the line.
TESSARO_AVX2 void verticalBlock(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
                                std::int16_t* line, std::size_t i) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i rounding = _mm256_set1_epi32(1 << (kLineShift - 1));
    // Bytes a of one row and b of the next, interleaved and widened, make the pairs (a, b)
    // that one multiply-add weighs. Within each 128-bit lane the four sums hold bytes 0-3,
    // 4-7, 8-11 and 12-15 of that lane.
    __m256i sum0 = rounding, sum1 = rounding, sum2 = rounding, sum3 = rounding;
    for (int k = 0; k < count; k += 2) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + i));
        const __m256i w = weightPair(weights + k);
        const __m256i low = _mm256_unpacklo_epi8(a, b);
        const __m256i high = _mm256_unpackhi_epi8(a, b);
        sum0 = _mm256_add_epi32(sum0, _mm256_madd_epi16(_mm256_unpacklo_epi8(low, zero), w));
        sum1 = _mm256_add_epi32(sum1, _mm256_madd_epi16(_mm256_unpackhi_epi8(low, zero), w));
        sum2 = _mm256_add_epi32(sum2, _mm256_madd_epi16(_mm256_unpacklo_epi8(high, zero), w));
        sum3 = _mm256_add_epi32(sum3, _mm256_madd_epi16(_mm256_unpackhi_epi8(high, zero), w));
    }
    const __m256i q0 = _mm256_packs_epi32(_mm256_srai_epi32(sum0, kLineShift), _mm256_srai_epi32(sum1, kLineShift));
    const __m256i q1 = _mm256_packs_epi32(_mm256_srai_epi32(sum2, kLineShift), _mm256_srai_epi32(sum3, kLineShift));
    // q0 holds bytes 0-7 and 16-23, q1 bytes 8-15 and 24-31: put the lanes in order.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + i), _mm256_permute2x128_si256(q0, q1, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + i + 16), _mm256_permute2x128_si256(q0, q1, 0x31));
}

TESSARO_AVX2 void vertical(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
                           std::int16_t* line, std::size_t n) {
    if (n < 32) {
        PortablePasses().vertical(rows, weights, count, line, n);
        return;
    }
    for (std::size_t i = 0; i + 32 <= n; i += 32) verticalBlock(rows, weights, count, line, i);
    // The last block ends at the end of the line; the bytes it shares with the one before
    // come out the same.
    if (n % 32 != 0) verticalBlock(rows, weights, count, line, n - 32);
}

TESSARO_AVX2 void horizontal(const std::int16_t* line, const TapTable& columns, std::uint8_t* out) {
    const std::size_t count = std::size_t(columns.count);
    // Two RGB pixels of 16-bit samples (r g b r' g' b') become the pairs (r r') (g g') (b b').
    const __m256i pairUp = _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -128, -128, -128, -128,
                                            0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -128, -128, -128, -128);
    // Four weights w0 w1 w2 w3 become (w0 w1) in every word of the low lane, (w2 w3) in the
    // high lane, to match the pixels of taps 0, 1 and of taps 2, 3.
    const __m256i spreadWeights = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
    const __m128i rounding = _mm_set1_epi32(1 << (kFinalShift - 1));
    for (std::size_t x = 0; x < columns.first.size(); ++x) {
        const std::int16_t* p = line + 3 * std::size_t(columns.first[x]);
        const std::int16_t* w = columns.weight.data() + x * count;
        __m256i sum = _mm256_setzero_si256();
        for (std::size_t k = 0; k < count; k += 4, p += 12, w += 4) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 6));
            const __m256i pixels = _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
            const __m256i weights = _mm256_permutevar8x32_epi32(
                _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w))), spreadWeights);
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, pairUp), weights));
        }
        __m128i rgb = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
        rgb = _mm_srai_epi32(_mm_add_epi32(rgb, rounding), kFinalShift);
        rgb = _mm_packus_epi16(_mm_packs_epi32(rgb, rgb), rgb);
        const std::uint32_t bytes = std::uint32_t(_mm_cvtsi128_si32(rgb));
        std::memcpy(out + 3 * x, &bytes, 3);
    }
}

}  // namespace

std::optional<ResamplePasses> Avx2Passes() {
    if (!__builtin_cpu_supports("avx2")) return std::nullopt;
    return ResamplePasses{vertical, horizontal};
}

}  // namespace tessaro

#else

namespace tessaro {
std::optional<ResamplePasses> Avx2Passes() { return std::nullopt; }
}  // namespace tessaro

#endif
