// SPDX-License-Identifier: GPL-3.0-or-later
// The vector loops use AVX2 where the processor has it, chosen once at run time, so the
// program still runs on any x86-64; elsewhere a plain loop gives the same answers.
#include "text/regex/start_scan.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define TESSARO_AVX2 __attribute__((target("avx2")))
#endif

namespace tessaro {

namespace {

bool hasAvx2() {
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}

bool asciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// How common a code unit is in German and English prose, lower is rarer: letters by their
// frequency, digits and capitals rarer than small letters, the space and "e" most common.
int commonness(char16_t c, bool fold) {
    static const char kByFrequency[] = "qxjzyvpkwfbgmcudhlotrsainen ";  // rare to common
    char16_t lower = c;
    if (fold && c >= u'A' && c <= u'Z') lower = char16_t(c + 32);
    if (lower < 128) {
        if (const char* at = std::strchr(kByFrequency, static_cast<char>(lower)); at && lower)
            return 10 + static_cast<int>(at - kByFrequency);
    }
    if (c >= u'A' && c <= u'Z') return 5;
    return 1;  // digits, punctuation and everything beyond ASCII
}

}  // namespace

LiteralScan::LiteralScan(const std::vector<std::u16string>& literals, bool fold)
    : m_literals(literals), m_fold(fold) {
    for (const std::u16string& literal : m_literals) {
        Probe probe{};
        // The first unit, then the two rarest within reach of one vector load.
        const std::size_t reach = std::min<std::size_t>(literal.size(), 16);
        std::vector<std::size_t> order;
        for (std::size_t k = 1; k < reach; ++k) order.push_back(k);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return commonness(literal[a], fold) < commonness(literal[b], fold);
        });
        order.insert(order.begin(), 0);
        probe.count = static_cast<int>(std::min<std::size_t>(order.size(), 3));
        for (int k = 0; k < probe.count; ++k) {
            const char16_t c = literal[order[k]];
            probe.offset[k] = static_cast<std::uint8_t>(order[k]);
            probe.folded[k] = fold && asciiLetter(c);
            probe.unit[k] = probe.folded[k] ? char16_t(c | 0x20) : c;
            m_reach = std::max<std::size_t>(m_reach, order[k] + 1);
        }
        m_probes.push_back(probe);
    }
    // Bit b of an entry: literal b may have a unit with this nibble at this position. A
    // literal shorter than three units accepts anything after its end.
    std::memset(m_teddy, 0, sizeof m_teddy);
    for (std::size_t b = 0; b < m_literals.size(); ++b) {
        const std::uint8_t bit = static_cast<std::uint8_t>(1u << b);
        for (std::size_t k = 0; k < 3; ++k) {
            auto add = [&](unsigned byte) {
                for (int lane = 0; lane < 32; lane += 16) {
                    m_teddy[k][0][lane + (byte & 15)] |= bit;
                    m_teddy[k][1][lane + (byte >> 4)] |= bit;
                }
            };
            if (k >= m_literals[b].size()) {
                for (unsigned byte = 0; byte < 256; byte += 17) add(byte);  // every nibble
                continue;
            }
            const char16_t c = m_literals[b][k];
            add(c < 256 ? c : 0xFF);
            if (fold && asciiLetter(c)) add(c ^ 0x20u);
        }
    }
}

bool LiteralScan::matchesAt(const char16_t* s, std::size_t n, std::size_t at,
                            std::size_t& length) const {
    for (const std::u16string& literal : m_literals) {
        if (literal.size() > n - at) continue;
        bool same = true;
        for (std::size_t k = 0; k < literal.size() && same; ++k) {
            char16_t c = s[at + k];
            if (m_fold && c >= u'A' && c <= u'Z') c = char16_t(c + 32);
            same = c == literal[k];
        }
        if (same) {
            length = literal.size();
            return true;
        }
    }
    return false;
}

#if defined(__x86_64__)
// One literal: its first and its rarest unit, two compares per 16 units, two vectors per
// round; a third compare would cost more than the few candidates it rules out.
TESSARO_AVX2 static bool oneLiteralAvx2(const char16_t* s, std::size_t n, std::size_t& i,
                                        std::size_t reach, const LiteralScan::Probe& probe,
                                        const LiteralScan& scan) {
    const int last = std::min(probe.count - 1, 1);
    const __m256i first = _mm256_set1_epi16(static_cast<short>(probe.unit[0]));
    const __m256i other = _mm256_set1_epi16(static_cast<short>(probe.unit[last]));
    const __m256i firstCase = _mm256_set1_epi16(probe.folded[0] ? 0x20 : 0);
    const __m256i otherCase = _mm256_set1_epi16(probe.folded[last] ? 0x20 : 0);
    const std::size_t offset = probe.offset[last];
    for (; i + 32 + reach <= n + 1; i += 32) {
        const char16_t* p = s + i;
        const __m256i a0 = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), firstCase);
        const __m256i a1 = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 16)), firstCase);
        const __m256i b0 = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offset)), otherCase);
        const __m256i b1 = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offset + 16)), otherCase);
        const __m256i h0 =
            _mm256_and_si256(_mm256_cmpeq_epi16(a0, first), _mm256_cmpeq_epi16(b0, other));
        const __m256i h1 =
            _mm256_and_si256(_mm256_cmpeq_epi16(a1, first), _mm256_cmpeq_epi16(b1, other));
        if (_mm256_testz_si256(_mm256_or_si256(h0, h1), _mm256_or_si256(h0, h1))) continue;
        std::uint64_t mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(h0)) |
                             std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(h1)))
                                 << 32;
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctzll(mask)) / 2;
            std::size_t length = 0;
            if (scan.matchesAt(s, n, at, length)) {
                i = at;
                return true;
            }
            mask &= mask - 1;
            mask &= mask - 1;  // two mask bits per code unit
        }
    }
    return false;
}

// 32 units from p as bytes, saturated: units from U+0100 on become 0xFF. The pack works per
// 128-bit lane; the permutation puts the bytes back in order.
TESSARO_AVX2 static inline __m256i packedBytes(const char16_t* p) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 16));
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
}

// Several literals: a fingerprint of their first three units in nibble tables (the
// "Teddy" method of Hyperscan), one bit per literal. Units are packed to bytes first, units
// from U+0100 on all becoming 0xFF, so a hit is only a candidate; the literals decide.
// Returns true with i at a match, or false with i where the plain loop takes over.
TESSARO_AVX2 static bool teddyAvx2(const char16_t* s, std::size_t n, std::size_t& i,
                                   const std::uint8_t (*tables)[2][32], const LiteralScan& scan) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    __m256i low[3], high[3];
    for (int k = 0; k < 3; ++k) {
        low[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tables[k][0]));
        high[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tables[k][1]));
    }
    for (; i + 34 <= n; i += 32) {
        __m256i hit = _mm256_set1_epi8(-1);
        for (int k = 0; k < 3; ++k) {
            const __m256i bytes = packedBytes(s + i + k);
            const __m256i lo = _mm256_and_si256(bytes, nibble);
            const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
            hit = _mm256_and_si256(hit, _mm256_and_si256(_mm256_shuffle_epi8(low[k], lo),
                                                         _mm256_shuffle_epi8(high[k], hi)));
        }
        unsigned mask = ~static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(hit, _mm256_setzero_si256())));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            std::size_t length = 0;
            if (scan.matchesAt(s, n, at, length)) {
                i = at;
                return true;
            }
            mask &= mask - 1;
        }
    }
    return false;
}
#endif

std::size_t LiteralScan::find(const char16_t* s, std::size_t n, std::size_t from) const {
    std::size_t i = from;
#if defined(__x86_64__)
    if (hasAvx2()) {
        const bool found =
            m_probes.size() == 1
                ? oneLiteralAvx2(s, n, i, m_reach, m_probes[0], *this)
                : teddyAvx2(s, n, i, m_teddy, *this);
        if (found) return i;
    }
#endif
    std::size_t length = 0;
    for (; i < n; ++i) {
        if (matchesAt(s, n, i, length)) return i;
    }
    return n;
}

ByteSetScan::ByteSetScan(const std::uint64_t* members, bool high) : m_high(high) {
    std::memcpy(m_bits, members, sizeof m_bits);
    // Units from U+0100 on saturate to 0xFF in the vector loop.
    if (high) m_bits[3] |= 1ull << 63;
    std::memset(m_lowRows, 0, sizeof m_lowRows);
    std::memset(m_highRows, 0, sizeof m_highRows);
    for (unsigned b = 0; b < 256; ++b) {
        if (!((m_bits[b >> 6] >> (b & 63)) & 1u)) continue;
        const unsigned low = b & 15, highNibble = b >> 4;
        std::uint8_t* rows = highNibble < 8 ? m_lowRows : m_highRows;
        rows[low] |= static_cast<std::uint8_t>(1u << (highNibble & 7));
        rows[low + 16] = rows[low];  // both lanes of the 256-bit register
    }
}

#if defined(__x86_64__)
// Bit k set when s[k] is a candidate, for 32 units: a table row per low nibble, a bit per
// high nibble, so 256 members are one lookup of each.
TESSARO_AVX2 static inline std::uint32_t byteSetMaskAvx2(const char16_t* s,
                                                         const std::uint8_t* lowRows,
                                                         const std::uint8_t* highRows) {
    const __m256i lowTable = _mm256_load_si256(reinterpret_cast<const __m256i*>(lowRows));
    const __m256i highTable = _mm256_load_si256(reinterpret_cast<const __m256i*>(highRows));
    const __m256i bitOf = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64,
                                           -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16,
                                           32, 64, -128);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i bytes = packedBytes(s);
    const __m256i low = _mm256_and_si256(bytes, nibble);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
    const __m256i row = _mm256_blendv_epi8(_mm256_shuffle_epi8(lowTable, low),
                                           _mm256_shuffle_epi8(highTable, low), bytes);
    const __m256i hit = _mm256_and_si256(row, _mm256_shuffle_epi8(bitOf, high));
    return ~static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(hit, _mm256_setzero_si256())));
}

// As literalScanAvx2: true with i at a candidate, or false with i where the plain loop goes on.
TESSARO_AVX2 static bool byteSetScanAvx2(const char16_t* s, std::size_t n, std::size_t& i,
                                         const std::uint8_t* lowRows,
                                         const std::uint8_t* highRows) {
    for (; i + 32 <= n; i += 32) {
        const std::uint32_t hits = byteSetMaskAvx2(s + i, lowRows, highRows);
        if (hits) {
            i += static_cast<std::size_t>(__builtin_ctz(hits));
            return true;
        }
    }
    return false;
}
#endif


std::uint32_t ByteSetScan::mask32(const char16_t* s) const {
#if defined(__x86_64__)
    if (hasAvx2()) return byteSetMaskAvx2(s, m_lowRows, m_highRows);
#endif
    std::uint32_t mask = 0;
    for (unsigned k = 0; k < 32; ++k) {
        const char16_t c = s[k];
        if (c >= 256 ? m_high : ((m_bits[c >> 6] >> (c & 63)) & 1u)) mask |= 1u << k;
    }
    return mask;
}

std::size_t ByteSetScan::find(const char16_t* s, std::size_t n, std::size_t from) const {
    std::size_t i = from;
#if defined(__x86_64__)
    if (hasAvx2() && byteSetScanAvx2(s, n, i, m_lowRows, m_highRows)) return i;
#endif
    for (; i < n; ++i) {
        const char16_t c = s[i];
        if (c >= 256 ? m_high : ((m_bits[c >> 6] >> (c & 63)) & 1u)) return i;
    }
    return n;
}

}  // namespace tessaro
