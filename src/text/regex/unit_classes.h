// SPDX-License-Identifier: GPL-3.0-or-later
// Code-unit equivalence classes: U+0000..U+FFFF split so that no set of an expression, and
// no set the assertions look at, tells two units of one class apart. A DFA then needs one
// transition per class instead of one per unit.
#pragma once

#include <cstdint>
#include <vector>

#include "text/regex/char_set.h"

namespace tessaro {

class UnitClasses {
public:
    // Partitions the units by every set given; a set appearing twice costs nothing extra.
    explicit UnitClasses(const std::vector<const CharSet*>& sets);

    int count() const { return m_count; }
    std::uint16_t classOf(char16_t c) const { return m_map[c]; }
    const std::uint16_t* map() const { return m_map.data(); }
    // The smallest unit of a class: every unit of the class behaves like it.
    char16_t representative(int cls) const {
        return m_representative[static_cast<std::size_t>(cls)];
    }

private:
    std::vector<std::uint16_t> m_map;  // 65536 entries
    std::vector<char16_t> m_representative;
    int m_count = 0;
};

// The classes a set holds, as a bitmap indexed by class.
class ClassBits {
public:
    ClassBits() = default;
    ClassBits(const UnitClasses& classes, const CharSet& set);
    bool has(int cls) const {
        return (m_words[static_cast<std::size_t>(cls) >> 6] >> (cls & 63)) & 1u;
    }

private:
    std::vector<std::uint64_t> m_words;
};

}  // namespace tessaro
