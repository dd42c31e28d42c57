// SPDX-License-Identifier: GPL-3.0-or-later
// Character sets of classes and escapes: built from members and ranges, then merged once.
#include "text/regex/char_set.h"

#include <algorithm>

namespace tessaro {

void CharSet::addRange(char16_t first, char16_t last) {
    if (first > last) std::swap(first, last);
    m_ranges.emplace_back(first, last);
}

void CharSet::addAll(std::u16string_view members) {
    for (char16_t c : members) add(c);
}

void CharSet::addSet(const CharSet& other) {
    m_ranges.insert(m_ranges.end(), other.m_ranges.begin(), other.m_ranges.end());
}

void CharSet::foldAsciiCase() {
    const std::size_t count = m_ranges.size();
    for (std::size_t k = 0; k < count; ++k) {
        const auto [first, last] = m_ranges[k];
        const char16_t upperFrom = std::max<char16_t>(first, u'A');
        const char16_t upperTo = std::min<char16_t>(last, u'Z');
        if (upperFrom <= upperTo) m_ranges.emplace_back(upperFrom + 32, upperTo + 32);
        const char16_t lowerFrom = std::max<char16_t>(first, u'a');
        const char16_t lowerTo = std::min<char16_t>(last, u'z');
        if (lowerFrom <= lowerTo) m_ranges.emplace_back(lowerFrom - 32, lowerTo - 32);
    }
}

void CharSet::invert() {
    finish();
    std::vector<std::pair<char16_t, char16_t>> complement;
    std::uint32_t next = 0;
    for (const auto& [first, last] : m_ranges) {
        if (first > next) complement.emplace_back(char16_t(next), char16_t(first - 1));
        next = std::uint32_t(last) + 1;
    }
    if (next <= 0xFFFF) complement.emplace_back(char16_t(next), char16_t(0xFFFF));
    m_ranges = std::move(complement);
}

void CharSet::finish() {
    std::sort(m_ranges.begin(), m_ranges.end());
    std::vector<std::pair<char16_t, char16_t>> merged;
    for (const auto& range : m_ranges) {
        if (!merged.empty() &&
            std::uint32_t(range.first) <= std::uint32_t(merged.back().second) + 1) {
            merged.back().second = std::max(merged.back().second, range.second);
        } else {
            merged.push_back(range);
        }
    }
    m_ranges = std::move(merged);
    std::fill(std::begin(m_low), std::end(m_low), 0);
    m_highStart = m_ranges.size();
    for (std::size_t k = 0; k < m_ranges.size(); ++k) {
        const auto [first, last] = m_ranges[k];
        for (std::uint32_t c = first; c <= last && c < 256; ++c) m_low[c >> 6] |= 1ull << (c & 63);
        if (last >= 256 && m_highStart == m_ranges.size()) m_highStart = k;
    }
}

bool CharSet::full() const {
    return m_ranges.size() == 1 && m_ranges[0].first == 0 && m_ranges[0].second == 0xFFFF;
}

bool CharSet::containsHigh(char16_t c) const {
    auto begin = m_ranges.begin() + static_cast<std::ptrdiff_t>(m_highStart);
    auto it = std::upper_bound(begin, m_ranges.end(), c, [](char16_t value, const auto& range) {
        return value < range.first;
    });
    if (it == begin) return false;
    --it;
    return c <= it->second;
}

}  // namespace tessaro
