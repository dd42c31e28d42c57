// SPDX-License-Identifier: GPL-3.0-or-later
// Vectorised scans over UTF-16 text: finding one of one or two code units, and a literal
// string, eight code units per step where SSE2 is available.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaro::text_scan {

// The index of the first c in s[from, n), or n.
inline std::size_t findChar(const char16_t* s, std::size_t n, std::size_t from, char16_t c) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= n; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(block, needle));
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    }
#endif
    for (; i < n; ++i) {
        if (s[i] == c) return i;
    }
    return n;
}

// The index of the first a or b in s[from, n), or n.
inline std::size_t findEither(const char16_t* s, std::size_t n, std::size_t from, char16_t a,
                              char16_t b) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(a));
    const __m128i second = _mm_set1_epi16(static_cast<short>(b));
    for (; i + 8 <= n; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i hit =
            _mm_or_si128(_mm_cmpeq_epi16(block, first), _mm_cmpeq_epi16(block, second));
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    }
#endif
    for (; i < n; ++i) {
        if (s[i] == a || s[i] == b) return i;
    }
    return n;
}

// The index of the last c in s[from, to), or -1 when there is none.
inline std::ptrdiff_t findLastChar(const char16_t* s, std::ptrdiff_t from, std::ptrdiff_t to,
                                   char16_t c) {
    std::ptrdiff_t i = to;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    for (; i - 8 >= from; i -= 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i - 8));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(block, needle));
        if (mask) return i - 8 + (31 - __builtin_clz(static_cast<unsigned>(mask))) / 2;
    }
#endif
    while (i > from) {
        if (s[--i] == c) return i;
    }
    return -1;
}

// A closed range of code units.
struct UnitRange {
    char16_t first;
    char16_t last;
};

// The index of the first code unit in s[from, n) inside one of ranges[0, count), or n.
// count is 1 to 8.
inline std::size_t findInRanges(const char16_t* s, std::size_t n, std::size_t from,
                                const UnitRange* ranges, std::size_t count) {
    std::size_t i = from;
#if defined(__SSE2__)
    // x in [first, last] exactly when (x - first) <= (last - first), unsigned: the
    // saturating difference to the width is then zero.
    __m128i bases[8];
    __m128i widths[8];
    for (std::size_t k = 0; k < count; ++k) {
        bases[k] = _mm_set1_epi16(static_cast<short>(ranges[k].first));
        widths[k] = _mm_set1_epi16(static_cast<short>(ranges[k].last - ranges[k].first));
    }
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i hit = zero;
        for (std::size_t k = 0; k < count; ++k) {
            const __m128i offset = _mm_sub_epi16(block, bases[k]);
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(_mm_subs_epu16(offset, widths[k]), zero));
        }
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    }
#endif
    for (; i < n; ++i) {
        for (std::size_t k = 0; k < count; ++k) {
            if (s[i] >= ranges[k].first && s[i] <= ranges[k].last) return i;
        }
    }
    return n;
}

// The index of the first occurrence of literal[0, m) in s[from, n), or n. m >= 1.
inline std::size_t findString(const char16_t* s, std::size_t n, std::size_t from,
                              const char16_t* literal, std::size_t m) {
    if (m == 1) return findChar(s, n, from, literal[0]);
    if (n < m || from > n - m) return n;
    const std::size_t last = n - m;  // the last possible start
    std::size_t i = from;
#if defined(__SSE2__)
    // Compare the first two code units at once, then the rest.
    const __m128i c0 = _mm_set1_epi16(static_cast<short>(literal[0]));
    const __m128i c1 = _mm_set1_epi16(static_cast<short>(literal[1]));
    for (; i + 8 <= last + 1; i += 8) {
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
        int mask =
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(b0, c0), _mm_cmpeq_epi16(b1, c1)));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
            if (std::memcmp(s + at + 2, literal + 2, (m - 2) * sizeof(char16_t)) == 0) return at;
            mask &= mask - 1;
            mask &= mask - 1;  // two mask bits per code unit
        }
    }
#endif
    for (; i <= last; ++i) {
        if (s[i] == literal[0] &&
            std::memcmp(s + i + 1, literal + 1, (m - 1) * sizeof(char16_t)) == 0)
            return i;
    }
    return n;
}

}  // namespace tessaro::text_scan
