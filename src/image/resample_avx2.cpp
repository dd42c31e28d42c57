// The resampling passes with AVX2: 16-bit multiply-adds over pairs of taps. They compute
// exactly the integers of the portable passes; only this file is built for AVX2, and it is
// used only after the processor has said it has it.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "image/resample_passes.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace tessaro {
namespace {

#define TESSARO_AVX2 __attribute__((target("avx2")))

// Two taps' weights side by side in a 32-bit word; repeated in every lane, they weigh the
// pairs that _mm256_madd_epi16 adds.
int weightPair(std::int16_t first, std::int16_t second) {
    return int(std::uint16_t(first) | (std::uint32_t(std::uint16_t(second)) << 16));
}

TESSARO_AVX2 void vertical(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
                           std::int16_t* line, std::size_t n) {
    std::vector<int> pairs;
    pairs.reserve(std::size_t(count / 2));
    for (int k = 0; k < count; k += 2) pairs.push_back(weightPair(weights[k], weights[k + 1]));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i rounding = _mm256_set1_epi32(1 << (kLineShift - 1));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        // Bytes a of one row and b of the next, interleaved and widened, make the pairs
        // (a, b) that one multiply-add weighs. Within each 128-bit lane the four sums hold
        // bytes 0-3, 4-7, 8-11 and 12-15 of that lane.
        __m256i sum0 = rounding, sum1 = rounding, sum2 = rounding, sum3 = rounding;
        for (int k = 0; k < count; k += 2) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + i));
            const __m256i w = _mm256_set1_epi32(pairs[std::size_t(k / 2)]);
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
    if (i < n) {
        std::vector<const std::uint8_t*> rest(rows, rows + count);
        for (const std::uint8_t*& row : rest) row += i;
        PortablePasses().vertical(rest.data(), weights, count, line + i, n - i);
    }
}

TESSARO_AVX2 void horizontal(const std::int16_t* line, const TapTable& columns, std::uint8_t* out) {
    const std::size_t groups = std::size_t(columns.count / 4);
    const std::size_t outputs = columns.first.size();
    // Per output and group of four taps: the weights of taps 0 and 1 in the low lane, of
    // taps 2 and 3 in the high lane, each pair repeated for the three channels.
    std::vector<int> weights(outputs * groups * 8);
    for (std::size_t x = 0; x < outputs; ++x) {
        const std::int16_t* w = columns.weight.data() + x * std::size_t(columns.count);
        for (std::size_t g = 0; g < groups; ++g) {
            int* lanes = weights.data() + 8 * (x * groups + g);
            std::fill(lanes, lanes + 4, weightPair(w[4 * g], w[4 * g + 1]));
            std::fill(lanes + 4, lanes + 8, weightPair(w[4 * g + 2], w[4 * g + 3]));
        }
    }
    // Two RGB pixels of 16-bit samples (r g b r' g' b') become the pairs (r r') (g g') (b b').
    const __m256i pairUp = _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -128, -128, -128, -128,
                                            0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -128, -128, -128, -128);
    const __m128i rounding = _mm_set1_epi32(1 << (kFinalShift - 1));
    for (std::size_t x = 0; x < outputs; ++x) {
        const std::int16_t* p = line + 3 * std::size_t(columns.first[x]);
        const int* w = weights.data() + 8 * x * groups;
        __m256i sum = _mm256_setzero_si256();
        for (std::size_t g = 0; g < groups; ++g, p += 12, w += 8) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 6));
            const __m256i pixels = _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, pairUp),
                                                                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w))));
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
