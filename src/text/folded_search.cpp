// SPDX-License-Identifier: GPL-3.0-or-later
// The scan looks at two places of the search at once, the two characters least common in
// ordinary text, sixteen positions at a time with AVX2 or eight with SSE2; at each place it
// accepts every code unit that folds to the search's unit there (k, K and the Kelvin sign).
// Where both places agree, the units between are folded and compared one by one. A unit that
// folds to several (ß to "ss") shifts the places against each other, so the scan also stops
// at such units when their folded form shares a unit with the search, and there folds the
// text around them. Texts are never folded as a whole: a search over many rows reads each
// row once, at about the speed of memchr.
#include "text/folded_search.h"

#include <algorithm>

#include "text/case_folding.h"

#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARO_FOLDED_SIMD 1
#endif

namespace tessaro {
namespace {

// The printable ASCII characters from the most to the least common in texts people copy
// (prose, code, addresses), by rough counts; every other character counts as rarer than
// these. Only the order matters.
constexpr std::u16string_view kCommonFirst =
    u" etaoinsrhldcumfpgwyb.,v-k/_0:1=2x\"'()3>4<;59687jq@z#&?!%*+[]{}|~$^`\\";

int rarity(char16_t unit) {
    const std::size_t rank = kCommonFirst.find(unit);
    return rank == std::u16string_view::npos ? static_cast<int>(kCommonFirst.size()) + 1
                                             : static_cast<int>(rank);
}

char32_t codePoint(char16_t high, char16_t low) {
    return 0x10000 + ((static_cast<char32_t>(high - 0xD800) << 10) | static_cast<char32_t>(low - 0xDC00));
}

char16_t highSurrogateOf(char32_t code) { return static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)); }

// Every code unit that may stand in a text where the folded search has position k: units
// that fold to exactly that unit or, for a surrogate pair, the first units of the code points
// that fold to that pair. Empty when there are more than four.
std::vector<char16_t> unitsFoldingTo(std::u16string_view folded, std::size_t k) {
    std::vector<char16_t> units{folded[k]};
    if (IsHighSurrogate(folded[k])) {
        const char32_t code = codePoint(folded[k], folded[k + 1]);
        for (const CaseFoldEntry& entry : CaseFoldEntries()) {
            if (entry.from > 0xFFFF && FoldedSupplementary(entry.from) == code) {
                units.push_back(highSurrogateOf(entry.from));
            }
        }
    } else {
        for (const CaseFoldEntry& entry : CaseFoldEntries()) {
            if (entry.from <= 0xFFFF && entry.size == 1 && entry.to[0] == folded[k]) {
                units.push_back(static_cast<char16_t>(entry.from));
            }
        }
    }
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
    if (units.size() > 4) units.clear();
    return units;
}

std::array<char16_t, 4> padded(const std::vector<char16_t>& units) {
    std::array<char16_t, 4> result{};
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = units[std::min(i, units.size() - 1)];
    return result;
}

bool oneOf(const std::array<char16_t, 4>& units, char16_t unit) {
    return units[0] == unit || units[1] == unit || units[2] == unit || units[3] == unit;
}

// Whether the search holds a surrogate without its other half.
bool hasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            return true;
        }
    }
    return false;
}

#if TESSARO_FOLDED_SIMD
const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

#define TESSARO_AVX2 __attribute__((target("avx2")))

// The positions p in [i, end + 15] at which the scan stops, sixteen at a time: the first
// place's unit at p and the second's at p + distance, or a unit that folds to several at p.
// Returns true at the first candidate that matches; otherwise i ends past the blocks read.
// The caller makes sure that every load stays within the text.
template <FoldedScanUnits::Several kSeveral, typename Candidate>
TESSARO_AVX2 bool scanAvx2(const char16_t* data, std::size_t& i, std::size_t end, const FoldedScanUnits& s,
                           Candidate& candidate) {
    __m256i first[4], second[4], several[4];
    for (std::size_t k = 0; k < 4; ++k) {
        first[k] = _mm256_set1_epi16(static_cast<short>(s.first[k]));
        second[k] = _mm256_set1_epi16(static_cast<short>(s.second[k]));
        several[k] = _mm256_set1_epi16(static_cast<short>(s.several[k]));
    }
    for (; i + 16 <= end; i += 16) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + s.distance));
        const __m256i atFirst = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(a, first[0]), _mm256_cmpeq_epi16(a, first[1])),
                                                _mm256_or_si256(_mm256_cmpeq_epi16(a, first[2]), _mm256_cmpeq_epi16(a, first[3])));
        const __m256i atSecond = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(b, second[0]), _mm256_cmpeq_epi16(b, second[1])),
                                                 _mm256_or_si256(_mm256_cmpeq_epi16(b, second[2]), _mm256_cmpeq_epi16(b, second[3])));
        __m256i hit = _mm256_and_si256(atFirst, atSecond);
        if constexpr (kSeveral == FoldedScanUnits::Several::Units) {
            hit = _mm256_or_si256(hit, _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(a, several[0]), _mm256_cmpeq_epi16(a, several[1])),
                                                       _mm256_or_si256(_mm256_cmpeq_epi16(a, several[2]), _mm256_cmpeq_epi16(a, several[3]))));
        } else if constexpr (kSeveral == FoldedScanUnits::Several::Range) {
            const __m256i clamped = _mm256_min_epu16(_mm256_max_epu16(a, several[0]), several[1]);
            hit = _mm256_or_si256(hit, _mm256_cmpeq_epi16(clamped, a));
        }
        auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(hit));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (candidate(i + bit / 2)) return true;
            mask &= ~(3u << bit);
        }
    }
    return false;
}

// The same, eight positions at a time with SSE2.
template <FoldedScanUnits::Several kSeveral, typename Candidate>
bool scanSse2(const char16_t* data, std::size_t& i, std::size_t end, const FoldedScanUnits& s, Candidate& candidate) {
    __m128i first[4], second[4], several[4];
    for (std::size_t k = 0; k < 4; ++k) {
        first[k] = _mm_set1_epi16(static_cast<short>(s.first[k]));
        second[k] = _mm_set1_epi16(static_cast<short>(s.second[k]));
        // Ranges compare as signed numbers once the top bit is flipped.
        const char16_t unit = kSeveral == FoldedScanUnits::Several::Range ? s.several[k] ^ 0x8000 : s.several[k];
        several[k] = _mm_set1_epi16(static_cast<short>(unit));
    }
    const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
    for (; i + 8 <= end; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + s.distance));
        const __m128i atFirst = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(a, first[0]), _mm_cmpeq_epi16(a, first[1])),
                                             _mm_or_si128(_mm_cmpeq_epi16(a, first[2]), _mm_cmpeq_epi16(a, first[3])));
        const __m128i atSecond = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(b, second[0]), _mm_cmpeq_epi16(b, second[1])),
                                              _mm_or_si128(_mm_cmpeq_epi16(b, second[2]), _mm_cmpeq_epi16(b, second[3])));
        __m128i hit = _mm_and_si128(atFirst, atSecond);
        if constexpr (kSeveral == FoldedScanUnits::Several::Units) {
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(a, several[0]), _mm_cmpeq_epi16(a, several[1])),
                                                 _mm_or_si128(_mm_cmpeq_epi16(a, several[2]), _mm_cmpeq_epi16(a, several[3]))));
        } else if constexpr (kSeveral == FoldedScanUnits::Several::Range) {
            const __m128i signedA = _mm_xor_si128(a, flip);
            const __m128i outside = _mm_or_si128(_mm_cmplt_epi16(signedA, several[0]), _mm_cmpgt_epi16(signedA, several[1]));
            hit = _mm_or_si128(hit, _mm_andnot_si128(outside, _mm_cmpeq_epi16(a, a)));
        }
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (candidate(i + bit / 2)) return true;
            mask &= ~(3u << bit);
        }
    }
    return false;
}

template <FoldedScanUnits::Several kSeveral, typename Candidate>
bool scanBlocks(const char16_t* data, std::size_t& i, std::size_t end, const FoldedScanUnits& s,
                Candidate& candidate) {
    if (kHasAvx2 && scanAvx2<kSeveral>(data, i, end, s, candidate)) return true;
    return scanSse2<kSeveral>(data, i, end, s, candidate);
}
#endif

}  // namespace

FoldedFinder::FoldedFinder(std::u16string_view search) : m_folded(FoldCase(search)) {
    if (m_folded.empty() || hasLoneSurrogate(m_folded)) return;
    // The two places: the rarest units of the search, each with at most four units that
    // fold to it (every unit so far, by the Unicode data).
    std::size_t best[2] = {std::u16string::npos, std::u16string::npos};
    std::vector<char16_t> units[2];
    for (std::size_t k = 0; k < m_folded.size(); ++k) {
        if (IsLowSurrogate(m_folded[k])) continue;
        std::vector<char16_t> here = unitsFoldingTo(m_folded, k);
        if (here.empty()) continue;
        const int r = rarity(m_folded[k]);
        if (best[0] == std::u16string::npos || r > rarity(m_folded[best[0]])) {
            best[1] = best[0];
            units[1] = std::move(units[0]);
            best[0] = k;
            units[0] = std::move(here);
        } else if (best[1] == std::u16string::npos || r > rarity(m_folded[best[1]])) {
            best[1] = k;
            units[1] = std::move(here);
        }
    }
    if (best[0] == std::u16string::npos) return;
    if (best[1] == std::u16string::npos) {
        best[1] = best[0];
        units[1] = units[0];
    }
    m_scan = true;
    m_anchor = best[0];
    m_units.first = padded(units[0]);
    m_units.second = padded(units[1]);
    m_units.distance = static_cast<std::ptrdiff_t>(best[1]) - static_cast<std::ptrdiff_t>(best[0]);
    // Units of the Basic Multilingual Plane that fold to several units of which one is in the
    // search (supplementary code points fold to one each).
    for (const CaseFoldEntry& entry : CaseFoldEntries()) {
        if (entry.from > 0xFFFF || entry.size < 2) continue;
        for (std::size_t j = 0; j < entry.size; ++j) {
            if (m_folded.find(entry.to[j]) != std::u16string::npos) {
                m_several.push_back(static_cast<char16_t>(entry.from));
                break;
            }
        }
    }
    if (m_several.empty()) return;
    if (m_several.size() <= m_units.several.size()) {
        m_units.severalKind = FoldedScanUnits::Several::Units;
        m_units.several = padded(m_several);
    } else {
        // Many (a search with the Greek iota): the scan stops within their range, and the
        // list decides.
        m_units.severalKind = FoldedScanUnits::Several::Range;
        m_units.several = {m_several.front(), m_several.back(), m_several.back(), m_several.back()};
    }
}

bool FoldedFinder::isSeveral(char16_t unit) const {
    return !m_several.empty() && std::binary_search(m_several.begin(), m_several.end(), unit);
}

bool FoldedFinder::sameFoldedAt(std::u16string_view text, std::size_t start) const {
    const std::size_t m = m_folded.size();
    std::size_t i = start;
    for (std::size_t k = 0; k < m;) {
        if (i >= text.size()) return false;
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t folded = FoldedSupplementary(codePoint(unit, text[i + 1])) - 0x10000;
            if (k + 1 >= m || m_folded[k] != static_cast<char16_t>(0xD800 + (folded >> 10)) ||
                m_folded[k + 1] != static_cast<char16_t>(0xDC00 + (folded & 0x3FF))) {
                return false;
            }
            i += 2;
            k += 2;
            continue;
        }
        if (FoldsToSeveral(unit) || FoldedUnit(unit) != m_folded[k]) return false;
        ++i;
        ++k;
    }
    return true;
}

bool FoldedFinder::windowAt(std::u16string_view text, std::size_t p, std::u16string& scratch) const {
    // Every unit folds to at least one, so a match through p starts at most m - 1 units
    // before it and ends at most m - 1 units after it.
    const std::size_t reach = m_folded.size() - 1;
    std::size_t from = p > reach ? p - reach : 0;
    std::size_t to = std::min(text.size(), p + 1 + reach);
    if (from > 0 && IsLowSurrogate(text[from]) && IsHighSurrogate(text[from - 1])) --from;
    if (to < text.size() && IsHighSurrogate(text[to - 1]) && IsLowSurrogate(text[to])) ++to;
    scratch.clear();
    AppendFoldedCase(text.substr(from, to - from), scratch);
    return scratch.find(m_folded) != std::u16string::npos;
}

bool FoldedFinder::candidateAt(std::u16string_view text, std::size_t p, std::u16string& scratch) const {
    const char16_t unit = text[p];
    if (p >= m_anchor && oneOf(m_units.first, unit)) {
        const std::ptrdiff_t q = static_cast<std::ptrdiff_t>(p) + m_units.distance;
        if (q >= 0 && static_cast<std::size_t>(q) < text.size() &&
            oneOf(m_units.second, text[static_cast<std::size_t>(q)]) && sameFoldedAt(text, p - m_anchor)) {
            return true;
        }
    }
    return isSeveral(unit) && windowAt(text, p, scratch);
}

bool FoldedFinder::foldedContains(std::u16string_view text) const {
    constexpr std::size_t kPiece = 4096;
    const std::size_t keep = m_folded.size() - 1;
    std::u16string folded;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = std::min(text.size(), i + kPiece);
        if (end < text.size() && IsHighSurrogate(text[end - 1]) && IsLowSurrogate(text[end])) ++end;
        // The end of the last piece, where a match may begin.
        if (folded.size() > keep) folded.erase(0, folded.size() - keep);
        AppendFoldedCase(text.substr(i, end - i), folded);
        if (folded.find(m_folded) != std::u16string::npos) return true;
        i = end;
    }
    return false;
}

bool FoldedFinder::foundIn(std::u16string_view text) const {
    if (m_folded.empty()) return true;
    if (text.size() * 3 < m_folded.size()) return false;  // no unit folds to more than three
    if (!m_scan) return foldedContains(text);
    std::u16string scratch;
    auto candidate = [&](std::size_t p) { return candidateAt(text, p, scratch); };
    const auto scalar = [&](std::size_t from, std::size_t to) {
        for (std::size_t p = from; p < to; ++p) {
            const char16_t unit = text[p];
            if ((oneOf(m_units.first, unit) || isSeveral(unit)) && candidate(p)) return true;
        }
        return false;
    };
    const std::size_t n = text.size();
    std::size_t i = 0;
#if TESSARO_FOLDED_SIMD
    // Blocks start where the second place's load begins within the text and end where both
    // loads still do.
    const std::ptrdiff_t d = m_units.distance;
    const std::size_t low = std::min(n, static_cast<std::size_t>(d < 0 ? -d : 0));
    const std::size_t high = d > 0 ? n - std::min(n, static_cast<std::size_t>(d)) : n;
    if (scalar(0, low)) return true;
    i = low;
    if (i < high) {
        const char16_t* data = text.data();
        bool found = false;
        switch (m_units.severalKind) {
            case FoldedScanUnits::Several::None:
                found = scanBlocks<FoldedScanUnits::Several::None>(data, i, high, m_units, candidate);
                break;
            case FoldedScanUnits::Several::Units:
                found = scanBlocks<FoldedScanUnits::Several::Units>(data, i, high, m_units, candidate);
                break;
            case FoldedScanUnits::Several::Range:
                found = scanBlocks<FoldedScanUnits::Several::Range>(data, i, high, m_units, candidate);
                break;
        }
        if (found) return true;
    }
#endif
    return scalar(i, n);
}

}  // namespace tessaro
