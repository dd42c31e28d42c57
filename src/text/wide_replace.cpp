// The scan looks for the first and the last code unit of the search together, eight
// positions at a time where SSE2 is available, and compares the rest only at candidates.
#include "text/wide_replace.h"

#include <array>
#include <cstring>

#include "text/upper_case_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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
};

// Every code unit whose upper case is upper.
UnitSet<4> sameUpperCase(char16_t upper) {
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
    return set;
}

// The first position p >= from at which text[p] is in first, text[p + n - 1] is in last and
// matches(p) holds; kNone if there is none. n >= 1 and n <= text.size().
template <std::size_t N, typename Matches>
std::size_t scan(std::u16string_view text, std::size_t from, std::size_t n, const UnitSet<N>& first,
                 const UnitSet<N>& last, Matches matches) {
    const char16_t* data = text.data();
    const std::size_t end = text.size() - n + 1;  // candidate positions are below end
    std::size_t i = from;
#if defined(__SSE2__)
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
        // Count first, so that the result is allocated once at its final size.
        std::size_t hits = 0;
        for (std::size_t h = hit; h != kNone; h = find(h + searchSize)) ++hits;
        size += hits * (replacement.size() - searchSize);
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

char16_t UpperCaseUnit(char16_t unit) {
    static const std::array<char16_t, 0x10000> table = [] {
        std::array<char16_t, 0x10000> built{};
        for (std::size_t i = 0; i < built.size(); ++i) built[i] = static_cast<char16_t>(i);
        for (const UpperCasePair& pair : UpperCasePairs()) built[pair.from] = pair.to;
        return built;
    }();
    return table[unit];
}

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
    return replaceHits(text, n, replacement, out, [&](std::size_t from) {
        return scan(text, from, n, first, last, matches);
    });
}

bool WideReplaceAllIgnoreCaseInto(std::u16string_view text, std::u16string_view search,
                                  std::u16string_view replacement, std::u16string& out) {
    if (text.empty() || search.empty() || search.size() > text.size()) return false;
    const std::size_t n = search.size();
    std::u16string upper(search);
    for (char16_t& unit : upper) unit = UpperCaseUnit(unit);
    const UnitSet<4> first = sameUpperCase(upper.front());
    const UnitSet<4> last = sameUpperCase(upper.back());
    const auto matches = [&](std::size_t p) {
        for (std::size_t j = 1; j + 1 < n; ++j) {
            if (UpperCaseUnit(text[p + j]) != upper[j]) return false;
        }
        return true;
    };
    return replaceHits(text, n, replacement, out, [&](std::size_t from) {
        return scan(text, from, n, first, last, matches);
    });
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
