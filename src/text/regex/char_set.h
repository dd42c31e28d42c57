// SPDX-License-Identifier: GPL-3.0-or-later
// A set of UTF-16 code units for character classes: a bitmap for the first 256 codes and
// sorted ranges above, so that the common Latin case is one bit test.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaro {

class CharSet {
public:
    void add(char16_t c) { addRange(c, c); }
    void addRange(char16_t first, char16_t last);
    void addAll(std::u16string_view members);
    void addSet(const CharSet& other);
    // Adds the ASCII case counterpart of every ASCII letter in the set.
    void foldAsciiCase();
    // Replaces the set by its complement within U+0000..U+FFFF.
    void invert();
    // Builds the lookup form; call after the last change and before contains().
    void finish();

    bool contains(char16_t c) const {
        if (c < 256) return (m_low[c >> 6] >> (c & 63)) & 1u;
        return containsHigh(c);
    }
    bool empty() const { return m_ranges.empty(); }
    bool full() const;
    // Members in order as closed ranges (valid after finish()).
    const std::vector<std::pair<char16_t, char16_t>>& ranges() const { return m_ranges; }

private:
    bool containsHigh(char16_t c) const;

    std::vector<std::pair<char16_t, char16_t>> m_ranges;  // merged and sorted after finish()
    std::uint64_t m_low[4] = {0, 0, 0, 0};
    std::size_t m_highStart = 0;  // first range that reaches 256 or above
};

}  // namespace tessaro
