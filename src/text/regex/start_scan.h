// SPDX-License-Identifier: GPL-3.0-or-later
// Finding where a match can begin, many code units per instruction: the positions of a few
// literals (each checked at its rarest characters), or of the members of a character set
// below U+0100 through a table lookup in vector registers. Both only ever name candidates;
// the matcher decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaro {

class LiteralScan {
public:
    // Up to kMaxLiterals non-empty literals; with fold they are in lower case and match
    // ASCII letters of either case.
    static constexpr std::size_t kMaxLiterals = 8;
    LiteralScan(const std::vector<std::u16string>& literals, bool fold);

    // The first position at or after from where one of the literals occurs whole, or n.
    std::size_t find(const char16_t* s, std::size_t n, std::size_t from) const;
    // Whether a literal occurs at at; length is then the first one's length.
    bool matchesAt(const char16_t* s, std::size_t n, std::size_t at, std::size_t& length) const;

    // The characters of one literal compared first: its first and its two rarest.
    struct Probe {
        std::uint8_t offset[3];
        char16_t unit[3];
        bool folded[3];  // compare the unit with the ASCII case bit set
        int count;
    };

private:
    std::vector<std::u16string> m_literals;
    std::vector<Probe> m_probes;
    std::size_t m_reach = 0;  // the largest probe offset + 1
    std::uint8_t m_teddy[3][2][32];  // per position: low and high nibble tables, two lanes
    bool m_fold;
};

class ByteSetScan {
public:
    // members: 256 bits of the set below U+0100; high: whether units from U+0100 on can be
    // members (they are then all candidates).
    ByteSetScan(const std::uint64_t* members, bool high);

    // The first position at or after from that holds a candidate, or n.
    std::size_t find(const char16_t* s, std::size_t n, std::size_t from) const;
    // Whether every candidate is a member: nothing from U+00FF on can be one.
    bool exact() const { return !((m_bits[3] >> 63) & 1u); }
    // Bit k set when s[k] is a candidate, for the 32 units from s.
    std::uint32_t mask32(const char16_t* s) const;

private:
    alignas(32) std::uint8_t m_lowRows[32];   // per low nibble: bits for high nibbles 0-7
    alignas(32) std::uint8_t m_highRows[32];  // per low nibble: bits for high nibbles 8-15
    std::uint64_t m_bits[4];
    bool m_high;
};

}  // namespace tessaro
