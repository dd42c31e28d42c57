// SPDX-License-Identifier: GPL-3.0-or-later
// The scan looks for the first and the last code unit of the search together, sixteen
// positions at a time with AVX2 or eight with SSE2, and compares the rest only at candidates.
#include "text/wide_replace.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "text/upper_case_table.h"

#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace tessaro {
namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

// The code units that may stand at one position of the search: one for an exact search,
// up to four (every code unit with the same upper case) when case is ignored. Unused
// places repeat the first unit.
template <std::size_t N>
struct UnitSet {
    std::array<char16_t, N> units{};

    bool contains(char16_t unit) const {
        for (char16_t u : units) {
            if (u == unit) return true;
        }
        return false;
    }
    // The first M units; callers know that the others repeat them.
    template <std::size_t M>
    UnitSet<M> narrowed() const {
        UnitSet<M> set;
        for (std::size_t i = 0; i < M; ++i) set.units[i] = units[i];
        return set;
    }
};

const std::array<char16_t, 0x10000>& upperCaseTable() {
    static const std::array<char16_t, 0x10000> table = [] {
        std::array<char16_t, 0x10000> built{};
        for (std::size_t i = 0; i < built.size(); ++i) built[i] = static_cast<char16_t>(i);
        for (const UpperCasePair& pair : UpperCasePairs()) built[pair.from] = pair.to;
        return built;
    }();
    return table;
}

// Every code unit whose upper case is upper; raises `most` to their number.
UnitSet<4> sameUpperCase(char16_t upper, std::size_t& most) {
    UnitSet<4> set;
    std::size_t count = 0;
    const auto add = [&](char16_t unit) {
        if (count < set.units.size()) set.units[count++] = unit;
    };
    if (UpperCaseUnit(upper) == upper) add(upper);
    for (const UpperCasePair& pair : UpperCasePairs()) {
        if (pair.to == upper) add(pair.from);
    }
    // upper is the upper case of a code unit of the search, so count >= 1; the generated
    // table has at most four code units per upper case (the tests hold it to that).
    for (std::size_t i = count; i < set.units.size(); ++i) set.units[i] = set.units[0];
    most = std::max(most, count);
    return set;
}

#if defined(__SSE2__) && defined(__GNUC__)
const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

// The 16-unit blocks of the scan below, where the processor has AVX2: returns a hit, or
// kNone with i moved past the blocks it looked at.
template <std::size_t N, typename Matches>
__attribute__((target("avx2"))) std::size_t scanAvx2(const char16_t* data, std::size_t& i,
                                                     std::size_t end, std::size_t n,
                                                     const UnitSet<N>& first,
                                                     const UnitSet<N>& last, Matches& matches) {
    __m256i firstUnits[N];
    __m256i lastUnits[N];
    for (std::size_t k = 0; k < N; ++k) {
        firstUnits[k] = _mm256_set1_epi16(static_cast<short>(first.units[k]));
        lastUnits[k] = _mm256_set1_epi16(static_cast<short>(last.units[k]));
    }
    for (; i + 16 <= end; i += 16) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n - 1));
        __m256i hitA = _mm256_cmpeq_epi16(a, firstUnits[0]);
        __m256i hitB = _mm256_cmpeq_epi16(b, lastUnits[0]);
        for (std::size_t k = 1; k < N; ++k) {
            hitA = _mm256_or_si256(hitA, _mm256_cmpeq_epi16(a, firstUnits[k]));
            hitB = _mm256_or_si256(hitB, _mm256_cmpeq_epi16(b, lastUnits[k]));
        }
        auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB)));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            const std::size_t position = i + bit / 2;
            if (matches(position)) return position;
            mask &= ~(3u << bit);
        }
    }
    return kNone;
}
#endif

// The first position p >= from at which text[p] is in first, text[p + n - 1] is in last and
// matches(p) holds; kNone if there is none. n >= 1 and n <= text.size().
template <std::size_t N, typename Matches>
std::size_t scan(std::u16string_view text, std::size_t from, std::size_t n, const UnitSet<N>& first,
                 const UnitSet<N>& last, Matches matches) {
    const char16_t* data = text.data();
    const std::size_t end = text.size() - n + 1;  // candidate positions are below end
    std::size_t i = from;
#if defined(__SSE2__) && defined(__GNUC__)
    if (kHasAvx2) {
        const std::size_t found = scanAvx2(data, i, end, n, first, last, matches);
        if (found != kNone) return found;
    }
    __m128i firstUnits[N];
    __m128i lastUnits[N];
    for (std::size_t k = 0; k < N; ++k) {
        firstUnits[k] = _mm_set1_epi16(static_cast<short>(first.units[k]));
        lastUnits[k] = _mm_set1_epi16(static_cast<short>(last.units[k]));
    }
    for (; i + 8 <= end; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
        __m128i hitA = _mm_cmpeq_epi16(a, firstUnits[0]);
        __m128i hitB = _mm_cmpeq_epi16(b, lastUnits[0]);
        for (std::size_t k = 1; k < N; ++k) {
            hitA = _mm_or_si128(hitA, _mm_cmpeq_epi16(a, firstUnits[k]));
            hitB = _mm_or_si128(hitB, _mm_cmpeq_epi16(b, lastUnits[k]));
        }
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hitA, hitB)));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            const std::size_t position = i + bit / 2;
            if (matches(position)) return position;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i < end; ++i) {
        if (first.contains(data[i]) && last.contains(data[i + n - 1]) && matches(i)) return i;
    }
    return kNone;
}

// Copies text into out with a replacement at every hit that find(from) reports.
template <typename Find>
bool replaceHits(std::u16string_view text, std::size_t searchSize, std::u16string_view replacement,
                 std::u16string& out, Find find) {
    std::size_t hit = find(0);
    if (hit == kNone) return false;
    std::size_t size = text.size();
    if (replacement.size() > searchSize) {
        // The result is allocated once: at its largest possible size when that is at most
        // twice the text, else at its exact size after counting the hits.
        const std::size_t growth = replacement.size() - searchSize;
        const std::size_t mostHits = text.size() / searchSize;
        if (mostHits <= text.size() / growth) {
            size += mostHits * growth;
        } else {
            std::size_t hits = 0;
            for (std::size_t h = hit; h != kNone; h = find(h + searchSize)) ++hits;
            size += hits * growth;
        }
    }
    out.clear();
    out.reserve(size);
    std::size_t from = 0;
    for (; hit != kNone; hit = find(from)) {
        out.append(text.substr(from, hit - from));
        out.append(replacement);
        from = hit + searchSize;
    }
    out.append(text.substr(from));
    return true;
}

}  // namespace

char16_t UpperCaseUnit(char16_t unit) { return upperCaseTable()[unit]; }

bool WideReplaceAllInto(std::u16string_view text, std::u16string_view search,
                        std::u16string_view replacement, std::u16string& out) {
    if (text.empty() || search.empty() || search == replacement || search.size() > text.size()) {
        return false;
    }
    const std::size_t n = search.size();
    const UnitSet<1> first{{search.front()}};
    const UnitSet<1> last{{search.back()}};
    const auto matches = [&](std::size_t p) {
        return n <= 2 ||
               std::memcmp(text.data() + p + 1, search.data() + 1, (n - 2) * sizeof(char16_t)) == 0;
    };
    return replaceHits(text, n, replacement, out,
                       [&](std::size_t from) { return scan(text, from, n, first, last, matches); });
}

bool WideReplaceAllIgnoreCaseInto(std::u16string_view text, std::u16string_view search,
                                  std::u16string_view replacement, std::u16string& out) {
    if (text.empty() || search.empty() || search.size() > text.size()) return false;
    const std::size_t n = search.size();
    std::u16string upper(search);
    for (char16_t& unit : upper) unit = upperCaseTable()[unit];
    std::size_t candidates = 0;
    const UnitSet<4> first = sameUpperCase(upper.front(), candidates);
    const UnitSet<4> last = sameUpperCase(upper.back(), candidates);
    const char16_t* table = upperCaseTable().data();
    const auto matches = [&](std::size_t p) {
        for (std::size_t j = 1; j + 1 < n; ++j) {
            if (table[text[p + j]] != upper[j]) return false;
        }
        return true;
    };
    // As few comparisons per position as the letters need: two for most.
    const auto replaceWith = [&]<std::size_t N>() {
        const UnitSet<N> f = first.narrowed<N>();
        const UnitSet<N> l = last.narrowed<N>();
        return replaceHits(text, n, replacement, out,
                           [&](std::size_t from) { return scan(text, from, n, f, l, matches); });
    };
    switch (candidates) {
        case 1:
            return replaceWith.template operator()<1>();
        case 2:
            return replaceWith.template operator()<2>();
        case 3:
            return replaceWith.template operator()<3>();
        default:
            return replaceWith.template operator()<4>();
    }
}

std::u16string WideReplaceAll(std::u16string_view text, std::u16string_view search,
                              std::u16string_view replacement) {
    std::u16string out;
    if (!WideReplaceAllInto(text, search, replacement, out)) return std::u16string(text);
    return out;
}

std::u16string WideReplaceAllIgnoreCase(std::u16string_view text, std::u16string_view search,
                                        std::u16string_view replacement) {
    std::u16string out;
    if (!WideReplaceAllIgnoreCaseInto(text, search, replacement, out)) return std::u16string(text);
    return out;
}

}  // namespace tessaro
